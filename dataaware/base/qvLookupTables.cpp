// This file implements the lookup tables of the library's dataset classes (see qvLookupTables.h).
#include "qvLookupTables.h"

#include <algorithm>
#include <memory>

#include "DataSet.h"
#include "Dialogs.h"
#include "Field.h"
#include "Params.h"
#include "StrUtils.h"
#include "Streams.h"
#include "Strings.h"
#include "Qvtypes.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvRecordSearch.h"
#include "qvStrUtils.h"

String qvLookupTableClassName = "TqvTable";

namespace {

std::vector<String> Split(const String& Line) {
  TqvLineParts Parts(Line, ';');
  std::vector<String> Result;
  for (int i = 0; i < Parts.Count(); ++i) Result.push_back(Parts.Part(i));
  return Result;
}

String Part(const std::vector<String>& Parts, std::size_t Index) {
  return Index < Parts.size() ? Parts[Index] : String();
}

String LineOf(TStrings* List, int Index) {
  return List != nullptr && Index >= 0 && Index < List->Count() ? List->Strings(Index) : String();
}

String BeforeDot(const String& Name) {
  std::size_t Dot = Name.find('.');
  return Dot == String::npos ? Name : Name.substr(0, Dot);
}

// A line of six parts or more ending with "N" names its table without the extension.
String LineTableName(const std::vector<String>& Parts) {
  String Name = Part(Parts, 2);
  if (Parts.size() >= 6 && Parts.back() == "N") Name = BeforeDot(Name);
  return Name;
}

// The index fields of a line of six parts or more: parts 5 to n-2.
String IndexFieldsOf(const std::vector<String>& Parts) {
  String Fields;
  for (std::size_t i = 5; i + 1 < Parts.size(); ++i) Fields += (Fields.empty() ? "" : ";") + Parts[i];
  return Fields;
}

// The first master field (an even part) the dataset lacks; empty when it has them all.
String MissingLinkField(TDataSet* Set, const std::vector<String>& Links) {
  for (std::size_t i = 0; i < Links.size(); i += 2)
    if (!qvDataSetHasField(Set, Links[i])) return Links[i].empty() ? String("?") : Links[i];
  return String();
}

void HideField(TDataSet* Set, const String& Name) {
  if (TField* Field = Set->FindField(Name)) Field->SetVisible(false);
}

// Opens a table that is closed; a failure is reported the first time only.
bool EnsureOpen(IqvLookupTable* Table) {
  TDataSet* Data = Table->LookupDataSet();
  if (Data->Active()) return true;
  try {
    Data->Open();
    Table->OpenFailed = false;
    return true;
  } catch (Exception& E) {
    if (!Table->OpenFailed) {
      Table->OpenFailed = true;
      MessageDlg("Lookup table " + Table->TableName() + " cannot be opened: " + E.Message, mtWarning,
                 TMsgDlgButtons{mbOK}, 0);
    }
    return false;
  }
}

// A table of the registered class for a line, owned by the dataset; null when the class is not
// there (reported once).
IqvLookupTable* MakeTable(TDataSet* Set, const std::vector<String>& Parts) {
  TClass Class = GetClass(qvLookupTableClassName);
  TObject* Made = Class != nullptr && Class->Factory != nullptr ? Class->Create(Set) : nullptr;
  auto* Table = dynamic_cast<IqvLookupTable*>(Made);
  if (Table == nullptr) {
    delete Made;
    static bool Reported = false;
    if (!Reported) {
      Reported = true;
      MessageDlg("No lookup table class " + qvLookupTableClassName, mtWarning, TMsgDlgButtons{mbOK}, 0);
    }
    return nullptr;
  }
  Table->SetDatabaseName(Part(Parts, 1));
  Table->SetTableName(LineTableName(Parts));
  if (Parts.size() < 6) Table->SetIndexName(Part(Parts, 4));
  else Table->SetIndexName(Table->IndexForFieldsAnyCase(IndexFieldsOf(Parts)));
  Table->SetReadOnly(true);
  return Table;
}

}  // namespace

TqvLookupTableList* qvGetLookupTableList(TDataSet* DataSet) {
  auto* Owner = dynamic_cast<IqvLookupTableOwner*>(DataSet);
  return Owner != nullptr ? &Owner->LookupTableList() : nullptr;
}

bool qvLookupTableMatches(IqvLookupTable* Table, const std::vector<String>& Parts) {
  return Table->DatabaseName() == Part(Parts, 1) && Table->TableName() == LineTableName(Parts);
}

void qvCalcLookupFields(TDataSet* Set, TStrings* LookupFields, TStrings* LookupLinks, TqvLookupTableList& Tables) {
  for (IqvLookupTable* Table : Tables) Table->PassPositioned = false;
  for (int i = 0; LookupFields != nullptr && i < LookupFields->Count(); ++i) {
    std::vector<String> Parts = Split(LookupFields->Strings(i));
    String LinksLine = LineOf(LookupLinks, i);
    IqvLookupTable* Table = nullptr;
    for (IqvLookupTable* Candidate : Tables) {
      if (qvLookupTableMatches(Candidate, Parts) && qvSameText(Candidate->LookupLinksKey, LinksLine)) {
        Table = Candidate;
        break;
      }
    }
    if (Table == nullptr) {
      // Made once, listed even when it cannot be opened: the next passes try it again.
      Table = MakeTable(Set, Parts);
      if (Table == nullptr) continue;
      Table->LookupLinksKey = LinksLine;
      Tables.push_back(Table);
    }
    if (!EnsureOpen(Table)) continue;
    std::vector<String> Links = Split(LinksLine);
    if (!MissingLinkField(Set, Links).empty()) {
      HideField(Set, Part(Parts, 0));
      return;
    }
    bool Found;
    if (!Table->PassPositioned) {
      Table->InLookupLink = true;
      try {
        Found = qvPositionLookupTable(Table, Set, Links);
      } catch (...) {
        Table->InLookupLink = false;
        throw;
      }
      Table->InLookupLink = false;
      Table->PassFound = Found;
    } else {
      Found = Table->PassFound;
    }
    if (TField* LookupField = Set->FindField(Part(Parts, 0))) {
      String Value;
      if (Found) {
        if (TField* Result = Table->LookupDataSet()->FindField(Part(Parts, 3)))
          Value = dynamic_cast<TBlobField*>(Result) ? Result->AsString() : Result->Text();
      }
      LookupField->SetText(Value);
    }
    Table->PassPositioned = true;
  }
}

bool qvPositionLookupTable(IqvLookupTable* Table, TDataSet* Master, const std::vector<String>& Links) {
  TDataSet* Data = Table->LookupDataSet();
  if (Table->IndexFieldCount() == 0) {
    TField* Key = Master->FindField(Part(Links, 0));
    if (Key == nullptr) return false;
    return qvLocateFieldValue(Data, Key->AsString(), Part(Links, 1), mtExactMatch, false);
  }
  if (Links.size() < 2 || Links.size() > 12 || Links.size() % 2 != 0) return false;
  std::vector<String> Values;
  for (std::size_t i = 0; i < Links.size(); i += 2) {
    TField* Key = Master->FindField(Links[i]);
    if (Key == nullptr) return false;
    Values.push_back(Key->AsString());
  }
  return Table->FindKey(Values);
}

bool qvSyncLookupTable(TDataSet* Set, IqvLookupTable* Table, const String& FieldName, String& FirstLinkField) {
  TStrings* LookupFields = qvGetLookupFields(Set);
  TStrings* LookupLinks = qvGetLookupLinks(Set);
  qvPurgeFieldLists(Set, LookupFields, LookupLinks, qvGetControlTypeList(Set));
  int Line = -1;
  for (int i = 0; LookupFields != nullptr && i < LookupFields->Count(); ++i) {
    if (qvSameText(TqvLineParts(LookupFields->Strings(i), ';').Part(0), FieldName)) {
      Line = i;
      break;
    }
  }
  if (Line < 0) return false;
  std::vector<String> Parts = Split(LookupFields->Strings(Line));
  if (UpperCase(BeforeDot(Table->TableName())) == UpperCase(BeforeDot(Part(Parts, 2)))) {
    if (Parts.size() < 6) {
      if (Table->IndexName() != Part(Parts, 4)) Table->SetIndexName(Part(Parts, 4));
    } else {
      Table->IgnoreMasterLink = true;
      try {
        Table->SelectIndexForFields(IndexFieldsOf(Parts));
      } catch (...) {
        Table->IgnoreMasterLink = false;
        throw;
      }
      Table->IgnoreMasterLink = false;
    }
  }
  std::vector<String> Links = Split(LineOf(LookupLinks, Line));
  if (!MissingLinkField(Set, Links).empty()) {
    HideField(Set, FieldName);
    return false;
  }
  FirstLinkField = Part(Links, 0);
  return qvPositionLookupTable(Table, Set, Links);
}

bool qvFindLookupRecord(TField* Field, String& LinkValue, TField*& ResultField) {
  ResultField = Field;
  TDataSet* Set = Field->DataSet();
  TqvLookupTableList* Tables = qvGetLookupTableList(Set);
  if (Tables == nullptr) return false;
  String Database, TableName, Links, Result;
  qvGetFieldLookupInfo(Field, Database, TableName, Links, Result);
  for (IqvLookupTable* Table : *Tables) {
    if (Table->DatabaseName() != Database || Table->TableName() != TableName ||
        !qvSameText(Table->LookupLinksKey, Links))
      continue;
    if (TField* Found = Table->LookupDataSet()->FindField(Result)) ResultField = Found;
    TField* Link = Set->FindField(Part(Split(Links), 0));
    LinkValue = Link != nullptr ? Link->AsString() : String();
    return Table->FindKey({LinkValue});
  }
  return false;
}

namespace {

// Set while a lookup value is resolved: the positioning may filter again.
bool Resolving = false;

}  // namespace

TField* qvResolveLookupValue(TDataSet* Set, TField* Field, TqvParamCallback ParamCallback) {
  if (Field->Calculated()) {
    TqvLookupTableList* Tables = qvGetLookupTableList(Set);
    if (Resolving || Tables == nullptr) return nullptr;
    std::vector<String> Links = Split(qvGetFieldLookupLinks(Set, Field->FieldName()));
    TStrings* LookupFields = qvGetLookupFields(Set);
    TStrings* LookupLinks = qvGetLookupLinks(Set);
    for (int i = 0; LookupFields != nullptr && i < LookupFields->Count(); ++i) {
      std::vector<String> Parts = Split(LookupFields->Strings(i));
      if (!qvSameText(Part(Parts, 0), Field->FieldName())) continue;
      for (IqvLookupTable* Table : *Tables) {
        if (!qvLookupTableMatches(Table, Parts) || !qvSameText(Table->LookupLinksKey, LineOf(LookupLinks, i))) continue;
        Resolving = true;
        bool Positioned;
        try {
          Positioned = qvPositionLookupTableByParams(Set, Table->LookupDataSet(), Links, ParamCallback);
        } catch (...) {
          Resolving = false;
          throw;
        }
        Resolving = false;
        if (Positioned) return Table->LookupDataSet()->FindField(qvGetFieldLookupField(Set, Field->FieldName()));
        return nullptr;
      }
    }
    return nullptr;
  }
  if (Field->Lookup() && Field->LookupDataSet() != nullptr) {
    std::vector<String> Pairs;
    int KeyPos = 1, LookupPos = 1;
    while (KeyPos > 0 && LookupPos > 0) {
      String Key, LookupKey;
      qvGetToken(Field->KeyFields(), ";", KeyPos, Key);
      qvGetToken(Field->LookupKeyFields(), ";", LookupPos, LookupKey);
      if (Key.empty() || LookupKey.empty()) break;
      Pairs.push_back(Key);
      Pairs.push_back(LookupKey);
    }
    if (qvPositionLookupTableByParams(Set, Field->LookupDataSet(), Pairs, ParamCallback))
      return Field->LookupDataSet()->FindField(Field->LookupResultField());
  }
  return nullptr;
}

bool qvPositionLookupTableByParams(TDataSet* Set, TDataSet* Table, const std::vector<String>& Pairs,
                                   TqvParamCallback ParamCallback) {
  if (auto* Lookup = dynamic_cast<IqvLookupTable*>(Table)) {
    if (Pairs.size() < 2 || Pairs.size() > 12 || Pairs.size() % 2 != 0) return false;
    std::vector<String> Values;
    for (std::size_t i = 0; i < Pairs.size(); i += 2) {
      if (ParamCallback) {
        TParam* Param = ParamCallback(Pairs[i]);
        Values.push_back(Param != nullptr ? Param->AsString() : String());
      } else {
        TField* Own = Set->FindField(Pairs[i]);
        Values.push_back(Own != nullptr ? Own->AsString() : String());
      }
    }
    return Lookup->FindKey(Values);
  }
  if (Pairs.size() < 2) return false;
  TField* Own = Set->FindField(Pairs[0]);
  if (Own == nullptr) return false;
  Variant Value;
  if (ParamCallback) {
    TParam* Param = ParamCallback(Pairs[0]);
    if (Param == nullptr) return false;
    Value = Own->IsNull() ? Param->Value() : Variant(Param->AsString());
  } else {
    Value = Own->IsNull() ? Own->AsVariant() : Variant(Own->AsString());
  }
  return Table->Locate(Pairs[1], Value, TLocateOptions{});
}

void qvFieldToParamData(TField* Field, TParam* Param) {
  if (Field == nullptr) {
    Param->SetAsString(String());
    return;
  }
  switch (Field->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
      // The whole text: nothing cuts it to a buffer's size.
      Param->SetAsString(Field->AsString());
      break;
    case ftSmallint: Param->SetAsSmallInt(Field->AsInteger()); break;
    case ftWord: Param->SetAsWord(Field->AsInteger()); break;
    case ftInteger:
    case ftAutoInc: Param->SetAsInteger(Field->AsInteger()); break;
    case ftBoolean: Param->SetAsBoolean(Field->AsBoolean()); break;
    case ftFloat: Param->SetAsFloat(Field->AsFloat()); break;
    case ftCurrency: Param->SetAsCurrency(Field->AsFloat()); break;
    case ftBCD:
    case ftFMTBcd: Param->SetAsBCD(Field->AsFloat()); break;
    case ftDate: Param->SetAsDate(Field->AsDateTime()); break;
    case ftTime: Param->SetAsTime(Field->AsDateTime()); break;
    case ftDateTime:
    case ftTimeStamp: Param->SetAsDateTime(Field->AsDateTime()); break;
    default: break;
  }
}

String qvReadBlobText(TDataSet* Set, TField* Field, int MaxLength) {
  if (MaxLength <= 0 || Field == nullptr) return String();
  std::unique_ptr<TStream> Stream(Set->CreateBlobStream(Field, bmRead));
  if (!Stream) return String();
  std::size_t Limit = std::size_t(std::min(MaxLength, qvFilterMemoSize()));
  String Text(Limit, '\0');
  long long Read = Stream->Read(Text.data(), (long long)Limit);
  Text.resize(Read > 0 ? std::size_t(Read) : 0);
  return Text;
}
