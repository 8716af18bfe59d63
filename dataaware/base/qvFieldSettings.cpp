// This file implements the per-field settings lines of the data-aware library.
#include "qvFieldSettings.h"

#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"
#include "StrUtils.h"
#include "Strings.h"
#include "TextOrder.h"
#include "qvDataSetUtils.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

namespace {

const char Tab = '\t';

String TF(bool Value) { return Value ? "T" : "F"; }

// The line of a companion list at Index, empty when the list is absent or shorter.
String CompanionLine(TStrings* List, int Index) {
  return List != nullptr && Index >= 0 && Index < List->Count() ? List->Strings(Index) : String();
}

// The first line whose first part is FieldName; -1 when none.
int FindLine(TStrings* List, const String& FieldName, char Delimiter, bool CaseSensitive) {
  if (List == nullptr) return -1;
  for (int i = 0; i < List->Count(); ++i) {
    String Name = TqvLineParts(List->Strings(i), Delimiter).Part(0);
    if (CaseSensitive ? Name == FieldName : SameText(Name, FieldName)) return i;
  }
  return -1;
}

// Gives the controls back however the block is left.
class TControlsDisabled {
 public:
  explicit TControlsDisabled(TDataSet* DataSet) : FDataSet(DataSet) { FDataSet->DisableControls(); }
  ~TControlsDisabled() { FDataSet->EnableControls(); }
  TControlsDisabled(const TControlsDisabled&) = delete;
  TControlsDisabled& operator=(const TControlsDisabled&) = delete;

 private:
  TDataSet* FDataSet;
};

TObject* SettingsSource(TObject* Control, TDataSet* DataSet, bool FromDataSet, TStrings* (*ListOf)(TObject*)) {
  if (DataSet == nullptr) {
    TDataSource* Source = qvGetControlDataSource(Control);
    DataSet = Source != nullptr ? Source->DataSet() : nullptr;
  }
  if (FromDataSet && DataSet != nullptr && ListOf(DataSet) != nullptr) return DataSet;
  return Control;
}

}  // namespace

TqvLineParts::TqvLineParts(const String& Line, char Delimiter) {
  std::size_t Start = 0;
  for (;;) {
    std::size_t At = Line.find(Delimiter, Start);
    if (At == String::npos) {
      FParts.push_back(Line.substr(Start));
      return;
    }
    FParts.push_back(Line.substr(Start, At - Start));
    Start = At + 1;
  }
}

String TqvLineParts::Part(int Index) const {
  return Index >= 0 && Index < Count() ? FParts[std::size_t(Index)] : String();
}

void qvApplySelectedToFields(TDataSet* DataSet, TStrings* List) {
  TControlsDisabled Guard(DataSet);
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) Fields->Fields(i)->SetVisible(false);
  if (List == nullptr) return;
  for (int i = 0; i < List->Count(); ++i) {
    TqvLineParts Parts(List->Strings(i), Tab);
    // A line naming no field still uses up its index.
    if (!qvDataSetHasField(DataSet, Parts.Part(0))) continue;
    TField* Field = DataSet->FieldByName(Parts.Part(0));
    Field->SetDisplayWidth(StrToInt(Parts.Part(1)));
    Field->SetDisplayLabel(Parts.Part(2));
    Field->SetIndex(i);
    Field->SetVisible(true);
  }
}

void qvGetSelectedFromFields(TDataSet* DataSet, TStrings* List) {
  List->Clear();
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* Field = Fields->Fields(i);
    if (Field->Visible())
      List->Add(Field->FieldName() + Tab + IntToStr(Field->DisplayWidth()) + Tab + Field->DisplayLabel());
  }
}

bool qvFindSelectedField(TStrings* List, const String& FieldName, int& Index) {
  int Found = FindLine(List, FieldName, Tab, false);
  if (Found < 0) return false;
  Index = Found;
  return true;
}

bool qvDataSetHasField(TObject* DataSet, const String& FieldName) {
  auto* Set = dynamic_cast<TDataSet*>(DataSet);
  if (Set == nullptr) return false;
  String Wanted = UpperCase(FieldName);
  TFields* Fields = Set->Fields();
  for (int i = 0; i < Fields->Count(); ++i)
    if (UpperCase(Fields->Fields(i)->FieldName()) == Wanted) return true;
  return false;
}

void qvGetPictureMaskInfo(TObject* Component, const String& FieldName, bool UseTableMask, String& Mask,
                          bool& AutoFill, bool& UseMask) {
  Mask.clear();
  AutoFill = true;
  UseMask = true;
  TStrings* List = qvGetPictureMasks(Component);
  int Line = FindLine(List, FieldName, Tab, false);
  if (Line >= 0) {
    TqvLineParts Parts(List->Strings(Line), Tab);
    Mask = Parts.Part(1);
    AutoFill = Parts.Part(2) == "T";
    UseMask = Parts.Part(3) == "T";
  }
  if (!UseTableMask) return;
  String TablePicture = qvGetTableFieldPicture(dynamic_cast<TDataSet*>(Component), FieldName);
  if (TablePicture.empty()) return;
  if (Line >= 0 && !Mask.empty())
    qvSetPictureMaskInfo(Component, FieldName, TablePicture, AutoFill, UseMask, true, true, false);
  Mask = TablePicture;
}

void qvSetPictureMaskInfo(TObject* Component, const String& FieldName, const String& Mask, bool AutoFill,
                          bool UseMask, bool SetMask, bool SetAutoFill, bool SetUseMask) {
  TStrings* List = qvGetPictureMasks(Component);
  if (List == nullptr) return;
  String NewMask = Mask;
  String TablePicture = qvGetTableFieldPicture(dynamic_cast<TDataSet*>(Component), FieldName);
  if (!TablePicture.empty()) NewMask = TablePicture;
  int Line = FindLine(List, FieldName, Tab, false);
  if (Line >= 0) {
    TqvLineParts Stored(List->Strings(Line), Tab);
    if (!SetMask) NewMask = Stored.Part(1);
    if (!SetAutoFill) AutoFill = Stored.Part(2) == "T";
    if (!SetUseMask) UseMask = Stored.Part(3) == "T";
    if (NewMask.empty())
      List->Delete(Line);
    else
      List->Put(Line, FieldName + Tab + NewMask + Tab + TF(AutoFill) + Tab + TF(UseMask));
  } else if (!NewMask.empty()) {
    List->Add(FieldName + Tab + NewMask + Tab + TF(AutoFill) + Tab + TF(UseMask));
  }
}

void qvGetControlType(TObject* Component, const String& FieldName, String& Kind, String& Params) {
  Kind.clear();
  Params.clear();
  TStrings* List = qvGetControlTypeList(Component);
  if (List == nullptr) return;
  for (int i = 0; i < List->Count(); ++i) {
    String Line = List->Strings(i);
    TqvLineParts Parts(Line, ';');
    if (Parts.Part(0) != FieldName) continue;
    // A later line overrides an earlier one.
    Kind = Parts.Part(1);
    std::size_t First = Line.find(';');
    std::size_t Second = First == String::npos ? String::npos : Line.find(';', First + 1);
    Params = Second == String::npos ? String() : Line.substr(Second + 1, 255);
  }
}

String qvGetFieldLookupLinks(TDataSet* DataSet, const String& FieldName) {
  int Line = FindLine(qvGetLookupFields(DataSet), FieldName, ';', true);
  return Line < 0 ? String() : CompanionLine(qvGetLookupLinks(DataSet), Line);
}

String qvGetFieldLookupField(TDataSet* DataSet, const String& FieldName) {
  TStrings* List = qvGetLookupFields(DataSet);
  int Line = FindLine(List, FieldName, ';', true);
  return Line < 0 ? String() : TqvLineParts(List->Strings(Line), ';').Part(3);
}

void qvGetFieldLookupInfo(TField* Field, String& Database, String& Table, String& Links, String& ResultField) {
  TDataSet* DataSet = Field != nullptr ? Field->DataSet() : nullptr;
  if (DataSet == nullptr) return;
  TStrings* List = qvGetLookupFields(DataSet);
  for (int i = 0; List != nullptr && i < List->Count(); ++i) {
    TqvLineParts Parts(List->Strings(i), ';');
    if (Parts.Part(0) != Field->FieldName() || Parts.Count() <= 4) continue;
    Database = Parts.Part(1);
    Table = Parts.Part(2);
    ResultField = Parts.Part(3);
    Links = CompanionLine(qvGetLookupLinks(DataSet), i);
    return;
  }
  Database = qvGetDatabaseName(DataSet);
  Table.clear();
  Links.clear();
  ResultField.clear();
}

void qvPurgeFieldLists(TDataSet* DataSet, TStrings* LookupFields, TStrings* LookupLinks, TStrings* ControlType) {
  if (LookupFields != nullptr) {
    for (int i = LookupFields->Count() - 1; i >= 0; --i) {
      if (qvDataSetHasField(DataSet, TqvLineParts(LookupFields->Strings(i), ';').Part(0))) continue;
      LookupFields->Delete(i);
      // The links line of the same index goes too, when the links list has one.
      if (LookupLinks != nullptr && i < LookupLinks->Count()) LookupLinks->Delete(i);
    }
  }
  if (ControlType != nullptr) {
    for (int i = ControlType->Count() - 1; i >= 0; --i)
      if (!qvDataSetHasField(DataSet, TqvLineParts(ControlType->Strings(i), ';').Part(0))) ControlType->Delete(i);
  }
}

TObject* qvGetPictureMaskSource(TObject* Control, TDataSet* DataSet) {
  return SettingsSource(Control, DataSet, qvGetPictureMaskFromDataSet(Control), qvGetPictureMasks);
}

TObject* qvGetControlInfoSource(TObject* Control, TDataSet* DataSet) {
  return SettingsSource(Control, DataSet, qvGetControlInfoInDataSet(Control), qvGetControlTypeList);
}
