// This file implements TFieldDef and TFieldDefs, the column definitions of a dataset.
#include "FieldDefs.h"

#include "DataSet.h"
#include "Field.h"
#include "ScopeGuard.h"
#include "TextOrder.h"

namespace {

// The types whose definition's Size is the field's Size (characters, bytes, decimals).
bool UsesSize(TFieldType Type) {
  switch (Type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftBytes:
    case ftVarBytes:
    case ftBCD:
    case ftFMTBcd:
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftTypedBinary:
      return true;
    default:
      return false;
  }
}

}  // namespace

// --- TFieldDef -----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TFieldDef)
VELBOR_PUBLISHED(TFieldDef,
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("DataType", &Self::DataType, &Self::SetDataType).Default(ftUnknown),
  Prop("Precision", &Self::Precision, &Self::SetPrecision).Default(0),
  Prop("Size", &Self::Size, &Self::SetSize).Default(0))

TFieldDef::TFieldDef(TCollection* ACollection) : TCollectionItem(ACollection) {}

TFieldDef::TFieldDef(TFieldDefs* Owner, const String& AName, TFieldType ADataType, int ASize, bool ARequired,
                     int AFieldNo)
    : TCollectionItem(Owner) {
  SetName(AName);
  FDataType = ADataType;
  FSize = ASize;
  if (ARequired) FAttributes.Include(faRequired);
  FFieldNo = AFieldNo;
}

TFieldDefs* TFieldDef::FieldDefs() const { return dynamic_cast<TFieldDefs*>(Collection()); }

void TFieldDef::SetName(const String& Value) {
  if (Value == FName) return;
  if (TFieldDefs* Defs = FieldDefs()) {
    TFieldDef* Other = Defs->FindDef(Value);
    if (Other != nullptr && Other != this) DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {Value}, Defs->DataSet());
  }
  FName = Value;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType Value) {
  FDataType = Value;
  Changed(false);
}

void TFieldDef::SetSize(int Value) {
  FSize = Value;
  Changed(false);
}

void TFieldDef::SetPrecision(int Value) {
  FPrecision = Value;
  Changed(false);
}

void TFieldDef::SetAttributes(TFieldAttributes Value) {
  FAttributes = Value;
  Changed(false);
}

void TFieldDef::SetRequired(bool Value) {
  if (Value) FAttributes.Include(faRequired);
  else FAttributes.Exclude(faRequired);
  Changed(false);
}

TClass TFieldDef::FieldClass() const {
  TFieldDefs* Defs = FieldDefs();
  if (Defs != nullptr && Defs->DataSet() != nullptr) return Defs->DataSet()->GetFieldClass(FDataType);
  return DefaultFieldClasses(FDataType);
}

TField* TFieldDef::CreateField(TComponent* Owner, const String& FieldName) {
  TClass Class = FieldClass();
  if (Class == nullptr) DatabaseErrorFmt(DBConsts::SNoFieldType, {FName});
  TField* Field = static_cast<TField*>(Class->Create(Owner));
  try {
    if (UsesSize(FDataType)) Field->SetSize(FSize);
    Field->SetFieldName(FieldName.empty() ? FName : FieldName);
    Field->SetRequired(Required());
    Field->SetReadOnly(FAttributes.Contains(faReadonly));
    Field->SetVisible(!FAttributes.Contains(faHiddenCol));
    Field->SetDataType(FDataType);
    if (auto* Text = dynamic_cast<TStringField*>(Field)) Text->FixedChar = FDataType == ftFixedChar;
    if (auto* Real = dynamic_cast<TFloatField*>(Field); Real != nullptr && FPrecision > 0) Real->SetPrecision(FPrecision);
    if (FInternalCalcField) Field->SetFieldKind(fkInternalCalc);
    TFieldDefs* Defs = FieldDefs();
    if (Defs != nullptr && Defs->DataSet() != nullptr) Field->SetDataSet(Defs->DataSet());
  } catch (...) {
    delete Field;
    throw;
  }
  return Field;
}

void TFieldDef::Assign(TPersistent* Source) {
  auto* Def = dynamic_cast<TFieldDef*>(Source);
  if (Def == nullptr) {
    inherited::Assign(Source);
    return;
  }
  SetName(Def->FName);
  FDataType = Def->FDataType;
  FSize = Def->FSize;
  FPrecision = Def->FPrecision;
  FAttributes = Def->FAttributes;
  FFieldNo = Def->FFieldNo;
  FInternalCalcField = Def->FInternalCalcField;
  Changed(false);
}

// --- TFieldDefs ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TFieldDefs)

TFieldDefs::TFieldDefs(TDataSet* AOwner) : TOwnedCollection(AOwner, TFieldDef::StaticClass()), FDataSet(AOwner) {}

TFieldDef* TFieldDefs::AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }

void TFieldDefs::Add(const String& Name, TFieldType DataType, int Size, bool Required) {
  if (Name.empty()) DatabaseError(FieldConsts::SFieldNameMissing, FDataSet);
  if (IndexOf(Name) >= 0) DatabaseErrorFmt(DBConsts::SDuplicateFieldName, {Name}, FDataSet);
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  TFieldDef* Def = AddFieldDef();
  Def->SetName(Name);
  Def->SetDataType(DataType);
  Def->SetSize(Size);
  Def->SetRequired(Required);
}

int TFieldDefs::IndexOf(const String& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(Items(i)->Name(), Name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::FindDef(const String& Name) const {
  int Index = IndexOf(Name);
  return Index >= 0 ? Items(Index) : nullptr;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  TFieldDef* Def = FindDef(Name);
  if (Def == nullptr) DatabaseErrorFmt(DBConsts::SFieldNotFound, {Name}, FDataSet);
  return Def;
}

void TFieldDefs::Update() {
  Updated = false;
  if (FDataSet != nullptr) TField::InitFieldDefsOf(FDataSet);
}

void TFieldDefs::Update(TCollectionItem*) { Updated = false; }
