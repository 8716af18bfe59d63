// This file implements the dataset and field services of the data-aware library.
#include "qvDataSetUtils.h"

#include <cstring>
#include <functional>
#include <vector>

#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "Field.h"
#include "FloatFormat.h"
#include "StrUtils.h"
#include "Table.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "TextOrder.h"
#include "qvDateScan.h"
#include "qvFieldSettings.h"
#include "qvPictureValidator.h"
#include "qvStrUtils.h"

namespace {

bool IsWordChar(char C) {
  return C == '$' || C == '.' || C == '_' || (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z');
}

// The active index of a table sorts this field downward.
bool SortsDownward(TTable* Table, const String& FieldName) {
  for (const TIndexDef& Def : Table->IndexDefs()) {
    if (!AnsiSameText(Def.Name, Table->IndexName())) continue;
    String Fields = ";" + AnsiUpperCase(Def.DescFields) + ";";
    return Fields.find(";" + AnsiUpperCase(FieldName) + ";") != String::npos;
  }
  return false;
}

// The index orders text by its letters first and by its accents only among equal letters, so the
// nearest key to a text may be an accented variant of it ("écouché" for "ecou") while a later key
// begins with the text as typed ("Ecouis"). From the nearest row, the rows whose index field
// begins with the text's letters are read until one begins with the text itself (case ignored).
bool ReadOnToText(TTable* Table, TField* Field, const String& Text, int Position) {
  String Lower = AnsiLowerCase(Text);
  return qvReadOnThroughSameLetters(Table, Position, Text, true, [&] {
    return AnsiLowerCase(Field->AsString()).compare(0, Lower.size(), Lower) == 0;
  });
}

}  // namespace

bool qvReadOnThroughSameLetters(TTable* Table, int Position, const String& Text, bool Partial,
                                const std::function<bool()>& Holds) {
  if (Holds()) return true;
  TField* Field = Position < Table->IndexFieldCount() ? Table->IndexField(Position) : nullptr;
  if (Field == nullptr || Table->Eof() || SortsDownward(Table, Field->FieldName())) return false;
  std::vector<String> Leading;
  for (int i = 0; i < Position; ++i) Leading.push_back(Table->IndexField(i)->AsString());
  // The text followed by the lowest character sorts after every text whose letters are the text's,
  // whatever their accents and case, and before every text whose letters come later.
  String Bound = Text + '\0';
  TBookmark Start = Table->GetBookmark();
  Table->DisableControls();
  TScopeGuard Enable([&] { Table->EnableControls(); });
  for (Table->Next(); !Table->Eof(); Table->Next()) {
    bool SameLeading = true;
    for (int i = 0; i < Position && SameLeading; ++i)
      SameLeading = AnsiSameText(Table->IndexField(i)->AsString(), Leading[std::size_t(i)]);
    if (!SameLeading) break;
    String Key = Field->AsString();
    if (AnsiCompareText(Partial ? Key.substr(0, Text.size()) : Key, Bound) > 0) break;
    if (Holds()) return true;
  }
  Table->GotoBookmark(Start);
  return false;
}

bool qvIsValidTextForType(TFieldType DataType, const String& Text) {
  switch (DataType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return qvIsValidIntegerText(Text);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return qvIsValidFloatText(Text);
    case ftDate:
      return qvIsValidDateText(Text);
    case ftTime:
      return qvIsValidTimeText(Text);
    case ftDateTime:
    case ftTimeStamp:
      return qvIsValidDateTimeText(Text) || qvIsValidDateText(Text);
    default:
      return true;
  }
}

bool qvIsValidTextForField(TField* Field, const String& Text) { return qvIsValidTextForType(Field->DataType(), Text); }

bool qvIsValidSearchText(TField* Field, const String& Text) {
  if (Field == nullptr) return false;
  if (Text.empty()) {
    TFieldType Type = Field->DataType();
    if (qvIsNumericFieldType(Type)) return false;
    switch (Type) {
      case ftBCD:
      case ftDate:
      case ftTime:
      case ftDateTime:
      case ftTimeStamp:
      case ftFMTBcd:
        return false;
      default:
        break;
    }
  }
  return qvIsValidTextForField(Field, Text);
}

bool qvIsNumericFieldType(TFieldType DataType) {
  switch (DataType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftAutoInc:
      return true;
    default:
      return false;
  }
}

bool qvIsSearchableFieldType(TFieldType DataType) {
  return DataType != ftBytes && DataType != ftVarBytes && DataType != ftBlob && DataType != ftGraphic;
}

bool qvIsCalcOrLookupField(TField* Field) { return Field->Calculated() || Field->Lookup(); }

bool qvNeedsRecordScan(TField* Field) {
  if (qvIsCalcOrLookupField(Field)) return true;
  TDataSet* DataSet = Field->DataSet();
  return DataSet == nullptr || !DataSet->InheritsFrom("TDBDataSet");
}

bool qvIsCompatibleDataSet(TDataSet* DataSet) { return DataSet != nullptr; }

int qvCompareBookmarks(TDataSet* DataSet, const TBookmark& A, const TBookmark& B) {
  return DataSet->CompareBookmarks(A, B);
}

bool qvFindNearestInIndex(TDataSet* DataSet, const String& Text, int Position) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (Table == nullptr) return false;
  if (Table->IndexFieldCount() == 0) {
    MessageDlg("Table " + Table->TableName() + ": Table index not found", mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  if (Position < 0 || Position >= Table->IndexFieldCount()) return false;
  TField* Field = Table->IndexField(Position);
  TFieldType Type = Field->DataType();
  // A text the field's type cannot hold moves nothing.
  if (!Text.empty() && Type != ftString && Type != ftFixedChar && Type != ftWideString && Type != ftMemo &&
      !qvIsValidTextForType(Type, Text))
    return false;
  if (Position > 3) return false;
  std::vector<Variant> Values;
  for (int i = 0; i < Position; ++i) Values.push_back(Variant(Table->IndexField(i)->AsString()));
  if (Text.empty()) {
    Table->First();
  } else {
    Variant Value(Text);
    double Number;
    TDateTime Moment;
    if ((qvIsNumericFieldType(Type) || Type == ftBCD) && TryStrToFloat(Text, Number)) Value = Variant(Number);
    else if ((Type == ftDate || Type == ftDateTime || Type == ftTimeStamp) && TryStrToDateTime(Text, Moment)) Value = Variant(Moment);
    else if (Type == ftTime && TryStrToTime(Text, Moment)) Value = Variant(Moment);
    Values.push_back(Value);
    Table->FindNearest(Values);
  }
  // Whether index field Position now holds the text.
  if (Type == ftFloat || Type == ftCurrency) {
    if (Text.empty()) return Field->AsString().empty();
    double Number;
    return TryStrToFloat(Text, Number) && !Field->IsNull() && Field->AsFloat() == Number;
  }
  if (qvIsNumericFieldType(Type)) return Field->AsString() == Text;
  bool IsText = Type == ftString || Type == ftFixedChar || Type == ftWideString || Type == ftMemo;
  if (IsText && !Text.empty()) return ReadOnToText(Table, Field, Text, Position);
  return AnsiLowerCase(Field->AsString()).compare(0, Text.size(), AnsiLowerCase(Text)) == 0;
}

void qvSwitchTableIndex(TDataSet* DataSet, const String& IndexName) {
  if (auto* Table = dynamic_cast<TTable*>(DataSet)) Table->SetIndexName(IndexName);
}

void qvSetIndexForFields(TDataSet* DataSet, const String& Fields) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (Table == nullptr || Fields.empty()) return;
  Table->UpdateIndexDefs();
  // The index whose fields begin with the list (at a ";" boundary), case-sensitive first.
  String Wanted = AnsiUpperCase(Fields);
  for (bool CaseInsensitive : {false, true}) {
    for (const TIndexDef& Def : Table->IndexDefs()) {
      String Have = AnsiUpperCase(Def.Fields);
      if (Def.CaseInsensitive != CaseInsensitive || Have.compare(0, Wanted.size(), Wanted) != 0) continue;
      if (Have.size() > Wanted.size() && Have[Wanted.size()] != ';') continue;
      if (!AnsiSameText(Table->IndexName(), Def.Name)) Table->SetIndexName(Def.Name);
      return;
    }
  }
}

bool qvTableHasIndex(TDataSet* DataSet) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  return Table != nullptr && Table->IndexFieldCount() > 0;
}

bool qvTableHasQuery(TDataSet* DataSet) {
  if (DataSet == nullptr || !DataSet->InheritsFrom("TqvTable")) return false;
  auto* Query = dynamic_cast<TStrings*>(GetPropInfo(DataSet, "Query") ? GetObjectProp(DataSet, "Query") : nullptr);
  return Query != nullptr && Query->Count() > 0;
}

String qvGetTableFieldPicture(TDataSet*, const String&) {
  // Pictures stored with a table's validity checks have no counterpart in an SQLite file: the
  // tables over it store none, and every field answers empty.
  return String();
}

String qvGetAliasPath(const String&) {
  // The engine's configuration holds the aliases; without it every alias is unknown.
  return String();
}

bool qvTextMatchesPicture(const String& Mask, const String& Text) {
  if (Text.empty()) return true;
  TqvPictureValidator Validator(Mask, false);
  String Copy = Text;
  return Validator.MatchPicture(Copy, false) == prComplete;
}

void qvValidateDataSetPictures(TDataSet* DataSet, TqvInvalidValueEvent OnInvalidValue) {
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* Field = Fields->Fields(i);
    String Mask;
    bool AutoFill, UseMask;
    qvGetPictureMaskInfo(DataSet, Field->FieldName(), true, Mask, AutoFill, UseMask);
    if (Mask.empty() || Field->ReadOnly() || qvTextMatchesPicture(Mask, Field->Text())) continue;
    Field->FocusControl();
    if (OnInvalidValue) OnInvalidValue(DataSet, Field);
    throw EDatabaseError(qvIntl->UserMessages()->PictureValidateError + Field->DisplayName());
  }
}

TqvOnFilterOptions qvGetFilterOptions(TDataSet* DataSet) {
  const TPropInfo* Prop = GetPropInfo(DataSet, "OnFilterOptions");
  if (Prop != nullptr && Prop->Kind == tkSet) return TqvOnFilterOptions::FromBits(unsigned(GetOrdProp(DataSet, Prop)));
  return DataSet->Filtered() ? TqvOnFilterOptions{ofoEnabled} : TqvOnFilterOptions{};
}

void qvSetFilterEnabled(TDataSet* DataSet, bool On) {
  const TPropInfo* Prop = GetPropInfo(DataSet, "OnFilterOptions");
  if (Prop == nullptr || Prop->Kind != tkSet || !Prop->IsWritable()) return;
  auto Options = TqvOnFilterOptions::FromBits(unsigned(GetOrdProp(DataSet, Prop)));
  Options = On ? Options << ofoEnabled : Options >> ofoEnabled;
  SetOrdProp(DataSet, Prop, Options.Bits());
}

String qvFieldNameFromDisplayLabel(TDataSet* DataSet, const String& Label) {
  String Wanted = qvReplaceChar(Label, '~', ' ');
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* Field = Fields->Fields(i);
    if (AnsiSameText(qvReplaceChar(Field->DisplayLabel(), '~', ' '), Wanted)) return Field->FieldName();
  }
  return String();
}

int qvIndexOfText(TStrings* List, const String& Text) {
  for (int i = 0; i < List->Count(); ++i)
    if (AnsiSameText(List->Strings(i), Text)) return i;
  return -1;
}

std::unique_ptr<char[]> qvStringsToText(TStrings* List, bool BlankSeparated) {
  String Joined;
  for (int i = 0; i < List->Count(); ++i) {
    if (i > 0) Joined += BlankSeparated ? " " : "\r\n";
    Joined += List->Strings(i);
  }
  std::unique_ptr<char[]> Buffer(new char[Joined.size() + 1]);
  std::memcpy(Buffer.get(), Joined.c_str(), Joined.size() + 1);
  return Buffer;
}

void qvGetSqlToken(const String& Text, int& Pos, String& Token) {
  Token.clear();
  int Length = int(Text.size());
  if (Pos <= 0 || Pos > Length) return;
  while (Pos <= Length && (Text[std::size_t(Pos - 1)] == ' ' || Text[std::size_t(Pos - 1)] == '\t')) ++Pos;
  if (Pos > Length) return;
  char First = Text[std::size_t(Pos - 1)];
  if (First == '"' || First == '\'') {
    std::size_t Close = Text.find(First, std::size_t(Pos));
    if (Close == String::npos) return;
    Token = Text.substr(std::size_t(Pos - 1), Close - std::size_t(Pos - 1) + 1);
    Pos = int(Close) + 2;
    return;
  }
  int End = Pos;
  while (End <= Length && IsWordChar(Text[std::size_t(End - 1)])) ++End;
  if (End == Pos) {
    Token = String(1, First);
    Pos = Pos + 1;
    return;
  }
  Token = Text.substr(std::size_t(Pos - 1), std::size_t(End - Pos));
  // A one-character word also passes over the character after it, as the parser expects.
  Pos = Token.size() >= 2 ? End : End + 1;
}

bool qvIsRichTextField(TField* Field, bool CheckData) {
  auto* Blob = dynamic_cast<TBlobField*>(Field);
  if (Blob == nullptr) return false;
  if (TStrings* Lines = qvGetControlTypeList(Field->DataSet())) {
    String Prefix = Field->FieldName() + ";RichEdit";
    for (int i = 0; i < Lines->Count(); ++i)
      if (Lines->Strings(i).compare(0, Prefix.size(), Prefix) == 0) return true;
  }
  return CheckData && Blob->AsString().compare(0, 5, "{\\rtf") == 0;
}
