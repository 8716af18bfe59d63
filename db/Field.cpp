// This file implements TField, the base of the field classes, with TLookupList, TFields, the
// boolean field and the field class made for each field type.
#include "Field.h"

#include <cstring>

#include "DataSet.h"
#include "Filer.h"
#include "Format.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Strings.h"
#include "TextOrder.h"

namespace {

bool IsNullKey(const Variant& Key) {
  if (VarIsNull(Key) || VarIsEmpty(Key)) return true;
  if (!VarIsArray(Key)) return false;
  for (int i = VarArrayLowBound(Key, 1); i <= VarArrayHighBound(Key, 1); ++i)
    if (IsNullKey(Key.GetElement(i))) return true;
  return false;
}

// Keys compare as Variants, element by element for several fields; values that cannot be compared
// (a text that is no number against a number) are different.
bool SameKey(const Variant& A, const Variant& B) {
  if (VarIsArray(A) || VarIsArray(B)) {
    if (!VarIsArray(A) || !VarIsArray(B)) return false;
    int Low = VarArrayLowBound(A, 1), High = VarArrayHighBound(A, 1);
    if (High - Low != VarArrayHighBound(B, 1) - VarArrayLowBound(B, 1)) return false;
    for (int i = 0; i <= High - Low; ++i)
      if (!SameKey(A.GetElement(Low + i), B.GetElement(VarArrayLowBound(B, 1) + i))) return false;
    return true;
  }
  try {
    return A == B;
  } catch (EVariantError&) {
    return false;
  }
}

bool IsWriteState(TDataSetState State) {
  switch (State) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
      return true;
    default:
      return false;
  }
}

}  // namespace

// --- TLookupList ---------------------------------------------------------------------------------

Variant TLookupList::ValueOfKey(const Variant& AKey) const {
  if (IsNullKey(AKey)) return Variant::Null();
  for (const auto& Entry : FList)
    if (SameKey(Entry.first, AKey)) return Entry.second;
  return Variant::Null();
}

// --- TField --------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TField)
VELBOR_PUBLISHED(TField,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taLeftJustify),
  Prop("Calculated", &Self::Calculated, &Self::SetCalculated).Default(false).Stored(false),
  Prop("DefaultExpression", &Self::DefaultExpression),
  Prop("DisplayLabel", &Self::DisplayLabel, &Self::SetDisplayLabel).Stored(&Self::IsDisplayLabelStored),
  Prop("DisplayWidth", &Self::DisplayWidth, &Self::SetDisplayWidth).Stored(&Self::IsDisplayWidthStored),
  Prop("EditMask", &Self::EditMask, &Self::SetEditMask),
  Prop("FieldKind", &Self::FieldKind, &Self::SetFieldKind).Default(fkData),
  Prop("FieldName", &Self::FieldName, &Self::SetFieldName),
  Prop("Index", &Self::Index, &Self::SetIndex).Stored(false),
  Prop("KeyFields", &Self::KeyFields, &Self::SetKeyFields),
  Prop("Lookup", &Self::Lookup, &Self::SetLookup).Default(false).Stored(false),
  Prop("LookupCache", &Self::LookupCache, &Self::SetLookupCache).Default(false),
  Prop("LookupDataSet", &Self::LookupDataSet, &Self::SetLookupDataSet),
  Prop("LookupKeyFields", &Self::LookupKeyFields, &Self::SetLookupKeyFields),
  Prop("LookupResultField", &Self::LookupResultField, &Self::SetLookupResultField),
  Prop("Origin", &Self::Origin),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("Required", &Self::Required, &Self::SetRequired).Default(false),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true),
  Prop("OnChange", &Self::OnChange),
  Prop("OnGetText", &Self::OnGetText),
  Prop("OnSetText", &Self::OnSetText),
  Prop("OnValidate", &Self::OnValidate))

TField::TField(TComponent* AOwner) : TComponent(AOwner) { FValidChars.set(); }

TField::~TField() {
  if (FDataSet == nullptr) return;
  // A dataset cannot stay open with a field missing from its record layout.
  if (FDataSet->Active() && !FDataSet->ComponentState().Contains(csDestroying)) {
    try {
      FDataSet->Close();
    } catch (...) {
      // A destructor cannot report; the field leaves the list all the same.
    }
  }
  if (FDataSet->Fields() != nullptr) FDataSet->Fields()->Remove(this);
}

void TField::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  if (Value != nullptr) {
    Value->CheckInactive();
    Value->Fields()->CheckFieldName(FFieldName);
  }
  if (FDataSet != nullptr) FDataSet->Fields()->Remove(this);
  if (Value != nullptr) Value->Fields()->Add(this);
}

void TField::SetFieldName(const String& Value) {
  if (FDataSet != nullptr && !AnsiSameText(Value, FFieldName)) FDataSet->Fields()->CheckFieldName(Value);
  FFieldName = Value;
  if (FDisplayLabel == Value) FDisplayLabel.clear();
}

void TField::SetFieldKind(TFieldKind Value) {
  if (Value == FFieldKind) return;
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  FFieldKind = Value;
}

void TField::SetCalculated(bool Value) {
  if (Value) SetFieldKind(fkCalculated);
  else if (FFieldKind == fkCalculated) SetFieldKind(fkData);
}

void TField::SetLookup(bool Value) {
  if (Value) SetFieldKind(fkLookup);
  else if (FFieldKind == fkLookup) SetFieldKind(fkData);
}

void TField::SetSize(int Value) {
  if (Value == FSize) return;
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  CheckTypeSize(Value);
  FSize = Value;
}

void TField::CheckTypeSize(int Value) {
  if (Value != 0) DatabaseError(FieldConsts::SInvalidFieldSize);
}

int TField::Index() const { return FDataSet != nullptr ? FDataSet->Fields()->IndexOf(this) : -1; }

void TField::SetIndex(int Value) {
  if (FDataSet != nullptr) FDataSet->Fields()->SetFieldIndex(this, Value);
}

bool TField::IsIndexField() const { return FDataSet != nullptr && FDataSet->GetIsIndexField(const_cast<TField*>(this)); }

void TField::SetDisplayLabel(const String& Value) {
  String NewLabel = Value == FFieldName ? String() : Value;
  if (NewLabel == FDisplayLabel) return;
  FDisplayLabel = NewLabel;
  PropertyChanged(true);
}

void TField::SetDisplayWidth(int Value) {
  if (Value == FDisplayWidth) return;
  FDisplayWidth = Value;
  PropertyChanged(true);
}

void TField::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  PropertyChanged(false);
}

void TField::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  PropertyChanged(true);
}

void TField::SetEditMask(const String& Value) {
  FEditMask = Value;
  PropertyChanged(false);
}

void TField::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  PropertyChanged(true);
}

bool TField::IsValidChar(char InputChar) const { return FValidChars.test(static_cast<unsigned char>(InputChar)); }

void TField::PropertyChanged(bool LayoutAffected) {
  if (FDataSet != nullptr && FDataSet->Active()) FDataSet->DataEvent(LayoutAffected ? deLayoutChange : deDataSetChange, 0);
}

// --- Lookup ---

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == FLookupDataSet) return;
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  if (Value != nullptr && Value == FDataSet) DatabaseError(FieldConsts::SCircularDataLink, this);
  if (FLookupDataSet != nullptr) FLookupDataSet->RemoveFreeNotification(this);
  FLookupDataSet = Value;
  if (FLookupDataSet != nullptr) FLookupDataSet->FreeNotification(this);
}

void TField::SetKeyFields(const String& Value) {
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  FKeyFields = Value;
}

void TField::SetLookupKeyFields(const String& Value) {
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  FLookupKeyFields = Value;
}

void TField::SetLookupResultField(const String& Value) {
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  FLookupResultField = Value;
}

void TField::SetLookupCache(bool Value) {
  if (Value == FLookupCache) return;
  if (FDataSet != nullptr) FDataSet->CheckInactive();
  FLookupCache = Value;
  if (!Value) FLookupList.Clear();
}

void TField::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLookupDataSet) {
    FLookupDataSet = nullptr;
    FLookupList.Clear();
  }
}

void TField::ValidateLookupInfo() {
  if (FLookupDataSet == nullptr || FKeyFields.empty() || FLookupKeyFields.empty() || FLookupResultField.empty())
    DatabaseErrorFmt(FieldConsts::SLookupInfoError, {DisplayName()});
  std::vector<TField*> Check;
  if (FDataSet != nullptr) FDataSet->GetFieldList(Check, FKeyFields);
  FLookupDataSet->Open();
  FLookupDataSet->GetFieldList(Check, FLookupKeyFields);
  FLookupDataSet->FieldByName(FLookupResultField);
}

void TField::RefreshLookupList() {
  ValidateLookupInfo();
  FLookupList.Clear();
  TDataSet* Source = FLookupDataSet;
  Source->DisableControls();
  TBookmark Saved = Source->GetBookmark();
  TScopeGuard enableControls([&] {
    Source->GotoBookmark(Saved);
    Source->EnableControls();
  });
  for (Source->First(); !Source->Eof(); Source->Next())
    FLookupList.Add(Source->FieldValues(FLookupKeyFields), Source->FieldValues(FLookupResultField));
}

void TField::CalcLookupValue() {
  if (FDataSet == nullptr) return;
  Variant Key = FDataSet->FieldValues(FKeyFields);
  // A record without a key shows nothing, rather than the lookup row whose key is empty too.
  if (IsNullKey(Key)) {
    Clear();
  } else if (FLookupCache) {
    SetAsVariant(FLookupList.ValueOfKey(Key));
  } else if (FLookupDataSet != nullptr && FLookupDataSet->Active()) {
    SetAsVariant(FLookupDataSet->Lookup(FLookupKeyFields, Key, FLookupResultField));
  }
}

void TField::Bind(bool Binding) {
  if (FFieldKind != fkLookup || !Binding) return;
  if (FLookupCache) RefreshLookupList();
  else ValidateLookupInfo();
}

// --- Values ---

void TField::AccessError(const char* TypeName) {
  DatabaseErrorFmt(FieldConsts::SFieldAccessError, {DisplayName(), String(TypeName)});
}

String TField::AsString() {
  // The base has no text form: blobs and bytes show their kind.
  return ClassDesc();
}
void TField::SetAsString(const String&) { AccessError("String"); }
int TField::AsInteger() { AccessError("Integer"); }
void TField::SetAsInteger(int) { AccessError("Integer"); }
long long TField::AsLargeInt() { AccessError("LargeInt"); }
void TField::SetAsLargeInt(long long) { AccessError("LargeInt"); }
double TField::AsFloat() { AccessError("Float"); }
void TField::SetAsFloat(double) { AccessError("Float"); }
bool TField::AsBoolean() { AccessError("Boolean"); }
void TField::SetAsBoolean(bool) { AccessError("Boolean"); }
TDateTime TField::AsDateTime() { AccessError("DateTime"); }
void TField::SetAsDateTime(TDateTime) { AccessError("DateTime"); }
Variant TField::AsVariant() { AccessError("Variant"); }
void TField::SetVarValue(const Variant&) { AccessError("Variant"); }

void TField::SetAsVariant(const Variant& Value) {
  if (VarIsNull(Value) || VarIsEmpty(Value)) Clear();
  else SetVarValue(Value);
}

String TField::ClassDesc() {
  String Name = ClassName();
  std::size_t Start = !Name.empty() && Name[0] == 'T' ? 1 : 0;
  std::size_t End = Name.size();
  if (End - Start >= 5 && SameText(Name.substr(End - 5), "Field")) End -= 5;
  String Result = "(" + Name.substr(Start, End - Start) + ")";
  return IsNull() ? Result : AnsiUpperCase(Result);
}

void TField::GetText(String& Text, bool) { Text = AsString(); }

String TField::Text() {
  String Result;
  if (OnGetText) OnGetText(this, Result, false);
  else GetText(Result, false);
  return Result;
}

void TField::SetText(const String& Value) {
  if (OnSetText) OnSetText(this, Value);
  else SetAsString(Value);
}

String TField::DisplayText() {
  String Result;
  if (OnGetText) OnGetText(this, Result, true);
  else GetText(Result, true);
  return Result;
}

bool TField::IsNull() { return !GetData(nullptr); }

void TField::Clear() { SetData(nullptr); }

Variant TField::OldValue() {
  if (FDataSet == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {DisplayName()});
  return FDataSet->GetStateFieldValue(dsOldValue, this);
}

Variant TField::NewValue() {
  if (FDataSet == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {DisplayName()});
  return FDataSet->GetStateFieldValue(dsNewValue, this);
}

void TField::SetNewValue(const Variant& Value) {
  if (FDataSet == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {DisplayName()});
  FDataSet->SetStateFieldValue(dsNewValue, this, Value);
}

bool TField::CanModify() {
  if (FDataSet == nullptr || FFieldNo <= 0) return false;
  if (FDataSet->State() == dsSetKey) return IsIndexField();
  return !FReadOnly && FDataSet->CanModify();
}

void TField::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
  } else if (auto* Field = dynamic_cast<TField*>(Source)) {
    SetAsVariant(Field->AsVariant());
  } else {
    inherited::Assign(Source);
  }
}

bool TField::GetData(void* Buffer) {
  if (FDataSet == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {DisplayName()});
  if (FValidating) {
    if (FValueBuffer == nullptr) return false;
    if (Buffer != nullptr) std::memcpy(Buffer, FValueBuffer, std::size_t(DataSize()));
    return true;
  }
  return FDataSet->GetFieldData(this, Buffer);
}

bool TField::BeginWrite() {
  if (FDataSet == nullptr) DatabaseErrorFmt(FieldConsts::SDataSetMissing, {DisplayName()});
  TDataSetState State = FDataSet->State();
  if (!IsWriteState(State)) DatabaseError(DBConsts::SNotEditing, FDataSet);
  bool DataKind = FFieldKind == fkData;
  if (DataKind && State == dsCalcFields) DatabaseError(DBConsts::SNotEditing, FDataSet);
  if (DataKind && FReadOnly && State != dsSetKey && State != dsFilter)
    DatabaseErrorFmt(FieldConsts::SFieldReadOnly, {DisplayName()});
  return State != dsCalcFields && State != dsInternalCalc && State != dsFilter && State != dsNewValue;
}

void TField::EndWrite(bool Tell) {
  if (!Tell) return;
  FDataSet->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(this));
  Change();
}

void TField::SetData(const void* Buffer) {
  bool Tell = BeginWrite();
  TDataSetState State = FDataSet->State();
  if (State == dsEdit || State == dsInsert || State == dsNewValue) Validate(Buffer);
  FSettingData = true;
  {
    TScopeGuard restore([&] { FSettingData = false; });
    FDataSet->SetFieldData(this, Buffer);
  }
  EndWrite(Tell);
}

void TField::Validate(const void* Buffer) {
  if (!OnValidate || FSettingData || FValidating) return;
  FValueBuffer = Buffer;
  FValidating = true;
  TScopeGuard restore([&] {
    FValidating = false;
    FValueBuffer = nullptr;
  });
  OnValidate(this);
}

void TField::Change() {
  if (OnChange) OnChange(this);
}

void TField::FocusControl() {
  if (FDataSet == nullptr || !FDataSet->Active()) return;
  // The links receive the address of the field: the control that takes the focus clears it.
  TField* Field = this;
  FDataSet->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&Field));
}

void TField::InitFieldDefsOf(TDataSet* DataSet) { DataSet->InitFieldDefs(); }

// --- Streaming ---

TComponent* TField::GetParentComponent() const { return FDataSet; }

void TField::SetParentComponent(TComponent* AParent) {
  if (FComponentState.Contains(csLoading)) return;
  SetDataSet(dynamic_cast<TDataSet*>(AParent));
}

void TField::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* Parent = dynamic_cast<TDataSet*>(Reader->Parent())) SetDataSet(Parent);
}

// --- TBooleanField -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TBooleanField)
VELBOR_PUBLISHED(TBooleanField, Prop("DisplayValues", &Self::DisplayValues, &Self::SetDisplayValues))

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftBoolean);
  SetDisplayValues(String());
}

void TBooleanField::SetDisplayValues(const String& Value) {
  FDisplayValues = Value;
  if (Value.empty()) {
    FTrueText = FieldConsts::STextTrue;
    FFalseText = FieldConsts::STextFalse;
  } else {
    std::size_t Semicolon = Value.find(';');
    FTrueText = Value.substr(0, Semicolon);
    FFalseText = Semicolon == String::npos ? String() : Value.substr(Semicolon + 1);
  }
  PropertyChanged(true);
}

int TBooleanField::GetDefaultWidth() const { return int(std::max(FTrueText.size(), FFalseText.size())); }

bool TBooleanField::AsBoolean() {
  short Value = 0;
  return GetData(&Value) && Value != 0;
}

void TBooleanField::SetAsBoolean(bool Value) {
  short Native = Value ? -1 : 0;
  SetData(&Native);
}

String TBooleanField::AsString() {
  short Value = 0;
  if (!GetData(&Value)) return String();
  return Value != 0 ? FTrueText : FFalseText;
}

void TBooleanField::SetAsString(const String& Value) {
  if (Value.empty()) {
    // A texts pair with an empty side reads the empty entry as that side.
    if (FFalseText.empty()) SetAsBoolean(false);
    else if (FTrueText.empty()) SetAsBoolean(true);
    else Clear();
    return;
  }
  if (AnsiSameText(Value, FFalseText.substr(0, Value.size()))) SetAsBoolean(false);
  else if (AnsiSameText(Value, FTrueText.substr(0, Value.size()))) SetAsBoolean(true);
  else DatabaseErrorFmt(FieldConsts::SInvalidBoolValue, {Value, DisplayName()});
}

int TBooleanField::AsInteger() { return AsBoolean() ? 1 : 0; }

Variant TBooleanField::AsVariant() {
  short Value = 0;
  if (!GetData(&Value)) return Variant::Null();
  return Variant(Value != 0);
}

void TBooleanField::SetVarValue(const Variant& Value) { SetAsBoolean(Value.AsBoolean()); }

// --- TFields -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TFields)

TFields::~TFields() { Clear(); }

TField* TFields::Fields(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format(FieldConsts::SListIndexError, {Index}));
  return FList[std::size_t(Index)];
}

TField* TFields::FindField(const String& FieldName) const {
  for (TField* Field : FList)
    if (AnsiSameText(Field->FieldName(), FieldName)) return Field;
  return nullptr;
}

TField* TFields::FieldByName(const String& FieldName) const {
  TField* Field = FindField(FieldName);
  if (Field == nullptr) DatabaseErrorFmt(DBConsts::SFieldNotFound, {FieldName}, FDataSet);
  return Field;
}

TField* TFields::FieldByNumber(int FieldNo) const {
  for (TField* Field : FList)
    if (Field->FieldNo() == FieldNo) return Field;
  return nullptr;
}

int TFields::IndexOf(const TField* Field) const {
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (FList[i] == Field) return int(i);
  return -1;
}

void TFields::GetFieldNames(TStrings* List) const {
  List->BeginUpdate();
  TScopeGuard endUpdate([&] { List->EndUpdate(); });
  List->Clear();
  for (TField* Field : FList) List->Add(Field->FieldName());
}

void TFields::CheckFieldName(const String& FieldName) const {
  if (FieldName.empty()) DatabaseError(FieldConsts::SFieldNameMissing, FDataSet);
  if (FindField(FieldName) != nullptr) DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {FieldName}, FDataSet);
}

void TFields::CheckFieldNames(const String& FieldNames) const {
  std::size_t Start = 0;
  while (Start <= FieldNames.size()) {
    std::size_t End = FieldNames.find(';', Start);
    if (End == String::npos) End = FieldNames.size();
    String Name = Trim(FieldNames.substr(Start, End - Start));
    if (!Name.empty()) FieldByName(Name);
    Start = End + 1;
  }
}

void TFields::Add(TField* Field) {
  FList.push_back(Field);
  Field->FDataSet = FDataSet;
  Changed();
}

void TFields::Remove(TField* Field) {
  int Index = IndexOf(Field);
  if (Index < 0) return;
  FList.erase(FList.begin() + Index);
  Field->FDataSet = nullptr;
  Changed();
}

void TFields::Clear() {
  while (!FList.empty()) {
    TField* Field = FList.back();
    FList.pop_back();
    Field->FDataSet = nullptr;
    delete Field;
  }
  Changed();
}

void TFields::SetFieldIndex(TField* Field, int Value) {
  int Current = IndexOf(Field);
  if (Current < 0) return;
  if (Value < 0) Value = 0;
  if (Value >= Count()) Value = Count() - 1;
  if (Value == Current) return;
  FList.erase(FList.begin() + Current);
  FList.insert(FList.begin() + Value, Field);
  Field->PropertyChanged(true);
  Changed();
}

void TFields::Changed() {
  if (FDataSet != nullptr && !FDataSet->ComponentState().Contains(csDestroying))
    FDataSet->DataEvent(deFieldListChange, 0);
}

// --- Field classes -------------------------------------------------------------------------------

TFieldClass DefaultFieldClasses(TFieldType FieldType) {
  switch (FieldType) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
      return TStringField::StaticClass();
    case ftWideString:
      return TWideStringField::StaticClass();
    case ftSmallint:
      return TSmallintField::StaticClass();
    case ftInteger:
      return TIntegerField::StaticClass();
    case ftWord:
      return TWordField::StaticClass();
    case ftAutoInc:
      return TAutoIncField::StaticClass();
    case ftLargeint:
      return TLargeintField::StaticClass();
    case ftBoolean:
      return TBooleanField::StaticClass();
    case ftFloat:
      return TFloatField::StaticClass();
    case ftCurrency:
      return TCurrencyField::StaticClass();
    case ftBCD:
    case ftFMTBcd:
      return TBCDField::StaticClass();
    case ftDate:
      return TDateField::StaticClass();
    case ftTime:
      return TTimeField::StaticClass();
    case ftDateTime:
    case ftTimeStamp:
      return TDateTimeField::StaticClass();
    case ftBytes:
      return TBytesField::StaticClass();
    case ftVarBytes:
      return TVarBytesField::StaticClass();
    case ftBlob:
    case ftTypedBinary:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftOraBlob:
      return TBlobField::StaticClass();
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
      return TMemoField::StaticClass();
    case ftGraphic:
      return TGraphicField::StaticClass();
    default:
      return nullptr;
  }
}

String FieldTypeName(TFieldType Type) {
  const char* Name = EnumTypeInfo(static_cast<TFieldType*>(nullptr)).Ident(Type);
  return Name != nullptr ? String(Name + 2) : String("Unknown");
}

namespace {

// Form descriptions create fields by class name.
struct TFieldClassRegistration {
  TFieldClassRegistration() {
    for (TClass Class : {TStringField::StaticClass(), TWideStringField::StaticClass(), TSmallintField::StaticClass(),
                         TIntegerField::StaticClass(), TWordField::StaticClass(), TAutoIncField::StaticClass(),
                         TLargeintField::StaticClass(), TFloatField::StaticClass(), TCurrencyField::StaticClass(),
                         TBCDField::StaticClass(), TBooleanField::StaticClass(), TDateTimeField::StaticClass(),
                         TDateField::StaticClass(), TTimeField::StaticClass(), TBytesField::StaticClass(),
                         TVarBytesField::StaticClass(), TBlobField::StaticClass(), TMemoField::StaticClass(),
                         TGraphicField::StaticClass()})
      RegisterClass(Class);
  }
} FieldClassRegistration;

}  // namespace
