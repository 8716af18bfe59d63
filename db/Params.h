// This file implements the parameters of queries and commands: TParam, one named value with its
// field type, and TParams, the collection a query fills from its SQL text (ParseSQL) and binds
// when it runs.
#pragma once

#include <vector>

#include "Collection.h"
#include "DBConsts.h"
#include "Variant.h"

class TField;
class TParams;

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };
VELBOR_ENUM(TParamType, "ptUnknown", "ptInput", "ptOutput", "ptInputOutput", "ptResult")

class TParam : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TParam, TCollectionItem)
 public:
  explicit TParam(TCollection* ACollection);
  TParam(TParams* AParams, TParamType AParamType);

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TFieldType DataType() const { return FDataType; }
  // Converts a value already held to the new type; a value that does not convert is cleared.
  void SetDataType(TFieldType Value);
  TParamType ParamType = ptUnknown;
  int Size = 0;
  int Precision = 0;
  int NumericScale = 0;
  // True once a value (even Null) has been given.
  bool Bound = false;

  // An unassigned parameter gives an unassigned Variant. Setting a value on a parameter of
  // unknown type takes the type from the value (Integer: ftInteger, Double: ftFloat, String:
  // ftString, Date: ftDateTime...).
  const Variant& Value() const { return FData; }
  void SetValue(const Variant& Value);
  bool IsNull() const { return VarIsNull(FData) || VarIsEmpty(FData); }
  // The value becomes Null (Bound unchanged).
  void Clear();

  // Each setter also sets DataType; a null value reads as "", 0, false.
  String AsString() const;
  void SetAsString(const String& Value);
  int AsInteger() const;
  void SetAsInteger(int Value);
  int AsSmallInt() const { return AsInteger(); }
  void SetAsSmallInt(int Value);
  int AsWord() const { return AsInteger(); }
  void SetAsWord(int Value);
  long long AsLargeInt() const;
  void SetAsLargeInt(long long Value);
  double AsFloat() const;
  void SetAsFloat(double Value);
  double AsCurrency() const;
  void SetAsCurrency(double Value);
  double AsBCD() const { return AsCurrency(); }
  void SetAsBCD(double Value);
  bool AsBoolean() const;
  void SetAsBoolean(bool Value);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime Value);
  TDateTime AsDate() const { return AsDateTime(); }
  void SetAsDate(TDateTime Value);
  TDateTime AsTime() const { return AsDateTime(); }
  void SetAsTime(TDateTime Value);
  String AsMemo() const { return AsString(); }
  void SetAsMemo(const String& Value);
  String AsBlob() const { return AsString(); }
  void SetAsBlob(const String& Value);
  // The value as text, and a text entry that keeps the type (unknown type: ftString).
  String Text() const { return AsString(); }
  void SetText(const String& Value);

  // Name, type and value of Field (Null when the field is null).
  void AssignField(TField* Field);
  // Field's type and the given value.
  void AssignFieldValue(TField* Field, const Variant& Value);
  // From another TParam (type, value, name, sizes) or a TField (AssignField).
  void Assign(TPersistent* Source) override;
  bool IsEqual(const TParam* Value) const;

  String DisplayName() const override { return FName.empty() ? TCollectionItem::DisplayName() : FName; }
  void SetDisplayName(const String& Value) override { FName = Value; }

 private:
  String FName;
  TFieldType FDataType = ftUnknown;
  Variant FData;
};

class TParams : public TCollection {
  VELBOR_DECLARE_CLASS(TParams, TCollection)
 public:
  // Owner (a dataset, usually) names itself in the messages.
  explicit TParams(TPersistent* AOwner = nullptr);

  TParam* Items(int Index) const { return static_cast<TParam*>(TCollection::Items(Index)); }
  TParam* operator[](int Index) const { return Items(Index); }
  TPersistent* GetOwner() override { return FOwner; }

  // Case-insensitive; ParamByName raises EDatabaseError "Paramètre '%s' non trouvé".
  TParam* FindParam(const String& Value) const;
  TParam* ParamByName(const String& Value) const;
  TParam* CreateParam(TFieldType FldType, const String& ParamName, TParamType ParamType);
  void AddParam(TParam* Value);
  void RemoveParam(TParam* Value);
  // The parameters named in a ';'-separated list, in its order (ParamByName's error for one
  // missing).
  void GetParamList(std::vector<TParam*>& List, const String& ParamNames) const;
  // The value of one parameter, or a variant array for several ';'-separated names.
  Variant ParamValues(const String& ParamName) const;
  void SetParamValues(const String& ParamName, const Variant& Value);
  // Copies the values (and types) of Value's parameters into those of the same name here;
  // the others are left alone.
  void AssignValues(TParams* Value);
  bool IsEqual(const TParams* Value) const;

  // Finds the ":NAME" parameters of an SQL text and answers the text with each replaced by "?".
  // A name is letters, digits, '_' and accented letters, or any text in double quotes
  // (:"Nom du champ"). Quoted literals ('...', "..." and `...`) and bracketed names ([...]) are
  // passed over, "::" stands for one ':' and is not a parameter, and a ':' followed by no name is
  // left as it is. With DoCreate the
  // list is emptied and then holds one parameter per distinct name, in the order of first use.
  // Occurrences, when given, receives the name of each "?" in order, repeats included.
  String ParseSQL(const String& SQL, bool DoCreate, std::vector<String>* Occurrences = nullptr);

 private:
  TPersistent* FOwner;
};
