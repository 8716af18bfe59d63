// This file implements the by-name property access of the data-aware library.
#include "qvPropAccess.h"

#include "DataSet.h"
#include "DataSource.h"
#include "List.h"
#include "Params.h"
#include "Strings.h"

namespace {

const TPropInfo* Find(TObject* Instance, std::string_view Name) {
  return Instance == nullptr ? nullptr : GetPropInfo(Instance, Name);
}

bool IsWindowed(TObject* Instance) { return Instance != nullptr && Instance->InheritsFrom("TWinControl"); }

bool ReadOrd(TObject* Instance, std::string_view Name, long long& Value) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || !Prop->IsOrdinal()) return false;
  Value = GetOrdProp(Instance, Prop);
  return true;
}

long long OrdOr(TObject* Instance, std::string_view Name, long long Default) {
  long long Value;
  return ReadOrd(Instance, Name, Value) ? Value : Default;
}

bool WriteOrd(TObject* Instance, std::string_view Name, long long Value) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || !Prop->IsOrdinal() || !Prop->IsWritable()) return false;
  SetOrdProp(Instance, Prop, Value);
  return true;
}

bool IsStringKind(TTypeKind Kind) { return Kind == tkLString || Kind == tkString || Kind == tkWString; }

String ReadStr(TObject* Instance, std::string_view Name) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || !IsStringKind(Prop->Kind)) return String();
  return GetStrProp(Instance, Prop);
}

// StringOnly: a long string only (every text property is one here).
bool WriteStr(TObject* Instance, std::string_view Name, const String& Value, bool StringOnly) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || !Prop->IsWritable()) return false;
  if (StringOnly ? Prop->Kind != tkLString : !IsStringKind(Prop->Kind)) return false;
  SetStrProp(Instance, Prop, Value);
  return true;
}

TObject* ReadObj(TObject* Instance, std::string_view Name) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || Prop->Kind != tkClass) return nullptr;
  return GetObjectProp(Instance, Prop);
}

// Only a class property can take an object; a value of another class is refused too.
bool WriteObj(TObject* Instance, std::string_view Name, TObject* Value) {
  const TPropInfo* Prop = Find(Instance, Name);
  if (Prop == nullptr || Prop->Kind != tkClass || !Prop->IsWritable()) return false;
  if (Value != nullptr && Prop->PropClass != nullptr && !Value->InheritsFrom(Prop->PropClass)) return false;
  SetObjectProp(Instance, Prop, Value);
  return true;
}

TMethod ReadMethod(TObject* Instance, std::string_view Name, bool& Present) {
  const TPropInfo* Prop = Find(Instance, Name);
  Present = Prop != nullptr && Prop->Kind == tkMethod;
  return Present ? GetMethodProp(Instance, Prop) : TMethod{};
}

}  // namespace

TqvInvalidValueEvent qvGetInvalidValueEvent(TObject* DataSet) {
  const TPropInfo* Prop = Find(DataSet, "OnInvalidValue");
  if (Prop == nullptr || Prop->Kind != tkMethod || Prop->Signature != TqvInvalidValueEvent::Signature()) return {};
  TMethod Value = GetMethodProp(DataSet, Prop);
  return Value.Assigned() ? TqvInvalidValueEvent::FromMethod(Value) : TqvInvalidValueEvent();
}

TMethod qvGetPerformCustomSearchEvent(TObject* Component) {
  bool Present;
  TMethod Value = ReadMethod(Component, "OnPerformCustomSearch", Present);
  return Value.Assigned() ? Value : TMethod{};
}

void qvGetCalcCellColorsEvent(TObject* Control, TMethod& Event) {
  bool Present;
  TMethod Value = ReadMethod(Control, "OnCalcCellColors", Present);
  if (Present) Event = Value;
}

TStrings* qvGetPictureMasks(TObject* Component) { return dynamic_cast<TStrings*>(ReadObj(Component, "PictureMasks")); }
TStrings* qvGetControlTypeList(TObject* Component) { return dynamic_cast<TStrings*>(ReadObj(Component, "ControlType")); }
TStrings* qvGetLookupFields(TObject* DataSet) { return dynamic_cast<TStrings*>(ReadObj(DataSet, "LookupFields")); }
TStrings* qvGetLookupLinks(TObject* DataSet) { return dynamic_cast<TStrings*>(ReadObj(DataSet, "LookupLinks")); }

int qvGetCursorLocation(TObject* DataSet) { return int(OrdOr(DataSet, "CursorLocation", 0)); }
bool qvSetCursorLocation(TObject* DataSet, int Value) { return WriteOrd(DataSet, "CursorLocation", Value); }
bool qvSetMaxRecords(TObject* DataSet, int Value) { return WriteOrd(DataSet, "MaxRecords", Value); }
bool qvGetControlInfoInDataSet(TObject* Control) { return OrdOr(Control, "ControlInfoInDataSet", 1) != 0; }
bool qvGetPictureMaskFromDataSet(TObject* Control) { return OrdOr(Control, "PictureMaskFromDataSet", 1) != 0; }

String qvGetDatabaseName(TObject* DataSet) { return ReadStr(DataSet, "DatabaseName"); }
bool qvSetDatabaseName(TObject* DataSet, const String& Value) { return WriteStr(DataSet, "DatabaseName", Value, true); }
TObject* qvGetConnection(TObject* DataSet) { return ReadObj(DataSet, "Connection"); }
bool qvSetConnection(TObject* DataSet, TObject* Value) { return WriteObj(DataSet, "Connection", Value); }
String qvGetConnectionString(TObject* DataSet) { return ReadStr(DataSet, "ConnectionString"); }
bool qvSetConnectionString(TObject* DataSet, const String& Value) {
  return WriteStr(DataSet, "ConnectionString", Value, false);
}
TObject* qvGetDatabaseObject(TObject* DataSet) { return ReadObj(DataSet, "DataBase"); }
bool qvSetDatabaseObject(TObject* DataSet, TObject* Value) { return WriteObj(DataSet, "Database", Value); }
String qvGetTableName(TObject* DataSet) { return ReadStr(DataSet, "TableName"); }
String qvGetSessionName(TObject* DataSet) { return ReadStr(DataSet, "SessionName"); }
bool qvSetSessionName(TObject* DataSet, const String& Value) { return WriteStr(DataSet, "SessionName", Value, true); }
TDataSource* qvGetMasterSource(TObject* DataSet) { return dynamic_cast<TDataSource*>(ReadObj(DataSet, "MasterSource")); }
TDataSet* qvGetDataSetProperty(TObject* Component) { return dynamic_cast<TDataSet*>(ReadObj(Component, "DataSet")); }
TParams* qvGetParams(TObject* DataSet) { return dynamic_cast<TParams*>(ReadObj(DataSet, "Params")); }

bool qvSetParams(TObject* DataSet, TParams* Value) {
  TParams* Own = qvGetParams(DataSet);
  if (Own == nullptr || Value == nullptr) return false;
  Own->Assign(Value);
  return true;
}

bool qvGetTransparent(TObject* Control) {
  long long Value;
  if (ReadOrd(Control, "AlwaysTransparent", Value)) return Value != 0;
  return OrdOr(Control, "Transparent", 0) != 0;
}

TDataSource* qvGetControlDataSource(TObject* Control) {
  return dynamic_cast<TDataSource*>(ReadObj(Control, "DataSource"));
}

bool qvSetControlDataSource(TObject* Control, TDataSource* Value) {
  return IsWindowed(Control) && WriteObj(Control, "DataSource", Value);
}

String qvGetControlDataField(TObject* Control) { return IsWindowed(Control) ? ReadStr(Control, "DataField") : String(); }

bool qvSetControlDataField(TObject* Control, const String& Value) {
  return IsWindowed(Control) && WriteStr(Control, "DataField", Value, true);
}

bool qvSetControlBorderStyle(TObject* Control, bool Single) { return WriteOrd(Control, "BorderStyle", Single ? 1 : 0); }
bool qvHasBorder(TObject* Control) { return OrdOr(Control, "BorderStyle", 0) != 0; }
bool qvGetWantReturns(TObject* Control) { return OrdOr(Control, "WantReturns", 0) != 0; }
bool qvGetEditCalculated(TObject* Control) { return OrdOr(Control, "EditCalculated", 0) != 0; }
long long qvGetOrdPropByName(TObject* Component, const String& Name) { return OrdOr(Component, Name, 0); }
TList* qvGetControlList(TObject* Controller) { return dynamic_cast<TList*>(ReadObj(Controller, "ControlList")); }

bool qvSetStringsProperty(TObject* DataSet, TStrings* List, const String& Name) {
  if (DataSet != nullptr && DataSet->InheritsFrom("TSimpleDataSet")) DataSet = qvGetDataSetProperty(DataSet);
  const TPropInfo* Prop = Find(DataSet, Name);
  if (Prop == nullptr || List == nullptr || !Prop->IsWritable()) return false;
  TStringList Copy;
  Copy.Assign(List);
  if (Prop->Kind == tkClass) {
    if (!Copy.InheritsFrom(Prop->PropClass)) return false;
    SetObjectProp(DataSet, Prop, &Copy);
    return true;
  }
  if (IsStringKind(Prop->Kind)) {
    String Joined;
    for (int i = 0; i < Copy.Count(); ++i) {
      if (i > 0) Joined += "\r\n";
      Joined += Copy.Strings(i);
    }
    SetStrProp(DataSet, Prop, Joined);
  }
  return false;
}
