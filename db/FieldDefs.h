// This file implements the field definitions of a dataset: TFieldDef, the description of one
// column (name, type, size, precision, required), and TFieldDefs, the collection the dataset
// fills when it opens and makes its default fields from.
#pragma once

#include "Collection.h"
#include "DBConsts.h"

class TComponent;
class TDataSet;
class TField;
class TFieldDefs;

class TFieldDef : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TFieldDef, TCollectionItem)
 public:
  explicit TFieldDef(TCollection* ACollection);
  // Adds itself to Owner with these values (FieldNo: its position from 1 when 0).
  TFieldDef(TFieldDefs* Owner, const String& AName, TFieldType ADataType, int ASize, bool ARequired,
            int AFieldNo);

  TFieldDefs* FieldDefs() const;
  const String& Name() const { return FName; }
  // Names are unique in their collection, without regard to case: "Nom de champ '%s' en double".
  void SetName(const String& Value);
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value);
  int Size() const { return FSize; }
  void SetSize(int Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  TFieldAttributes Attributes() const { return FAttributes; }
  void SetAttributes(TFieldAttributes Value);
  bool Required() const { return FAttributes.Contains(faRequired); }
  void SetRequired(bool Value);
  // The column's number from 1: set by the dataset, else the definition's position.
  int FieldNo() const { return FFieldNo > 0 ? FFieldNo : Index() + 1; }
  void SetFieldNo(int Value) { FFieldNo = Value; }
  bool InternalCalcField() const { return FInternalCalcField; }
  void SetInternalCalcField(bool Value) { FInternalCalcField = Value; }
  // The class the dataset makes for this type (TDataSet::GetFieldClass); null when none.
  TClass FieldClass() const;

  // Makes the field of this definition, owned by Owner, in the collection's dataset. FieldName
  // replaces the definition's name when not empty. "Le type du champ '%s' n'est pas géré" for a
  // type without a field class.
  TField* CreateField(TComponent* Owner, const String& FieldName = String());

  String DisplayName() const override { return FName; }
  void SetDisplayName(const String& Value) override { SetName(Value); }
  void Assign(TPersistent* Source) override;

 private:
  String FName;
  TFieldType FDataType = ftUnknown;
  int FSize = 0;
  int FPrecision = 0;
  TFieldAttributes FAttributes;
  int FFieldNo = 0;
  bool FInternalCalcField = false;
};

class TFieldDefs : public TOwnedCollection {
  VELBOR_DECLARE_CLASS(TFieldDefs, TOwnedCollection)
 public:
  explicit TFieldDefs(TDataSet* AOwner);

  TDataSet* DataSet() const { return FDataSet; }
  TFieldDef* Items(int Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }
  TFieldDef* operator[](int Index) const { return Items(Index); }
  // False once a definition changes; the dataset sets it when it has read its definitions.
  bool Updated = false;

  TFieldDef* AddFieldDef();
  // An empty name raises "Nom de champ manquant"; a name already there, "Nom de champ '%s' en
  // double".
  void Add(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
  // Case-insensitive; -1 (IndexOf), nullptr (FindDef) or "Champ '%s' non trouvé" (Find).
  int IndexOf(const String& Name) const;
  TFieldDef* FindDef(const String& Name) const;
  TFieldDef* Find(const String& Name) const;
  // Asks the dataset to read its definitions again.
  void Update();

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TDataSet* FDataSet;
};
