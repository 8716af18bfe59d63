// This file implements TParam and TParams, the parameters of queries and commands, with the
// scanner that finds ":NAME" parameters in an SQL text.
#include "Params.h"

#include "DataSet.h"
#include "Field.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

// The Variant type a parameter of this field type holds; varEmpty when it keeps what it is given.
TVarType VarTypeOfField(TFieldType Type) {
  switch (Type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftMemo:
    case ftFmtMemo:
    case ftBlob:
    case ftGraphic:
      return varString;
    case ftSmallint:
      return varSmallint;
    case ftInteger:
    case ftAutoInc:
    case ftWord:
      return varInteger;
    case ftLargeint:
      return varInt64;
    case ftBoolean:
      return varBoolean;
    case ftFloat:
      return varDouble;
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return varCurrency;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return varDate;
    default:
      return varEmpty;
  }
}

TFieldType FieldTypeOfVar(TVarType Type) {
  switch (Type) {
    case varSmallint:
    case varByte:
      return ftSmallint;
    case varInteger:
      return ftInteger;
    case varInt64:
      return ftLargeint;
    case varSingle:
    case varDouble:
      return ftFloat;
    case varCurrency:
      return ftBCD;
    case varDate:
      return ftDateTime;
    case varBoolean:
      return ftBoolean;
    case varString:
      return ftString;
    default:
      return ftUnknown;
  }
}

bool SameValue(const Variant& A, const Variant& B) {
  bool NullA = VarIsNull(A) || VarIsEmpty(A), NullB = VarIsNull(B) || VarIsEmpty(B);
  if (NullA || NullB) return NullA && NullB && VarType(A) == VarType(B);
  try {
    return VarCompareValue(A, B) == vrEqual;
  } catch (EVariantError&) {
    return false;
  }
}

bool IsNameChar(char C) {
  unsigned char U = static_cast<unsigned char>(C);
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_' ||
         (U >= 0x80 && IsAnsiLetter(C));
}

std::vector<String> SplitNames(const String& Names) {
  std::vector<String> List;
  std::size_t Start = 0;
  while (Start <= Names.size()) {
    std::size_t End = Names.find(';', Start);
    if (End == String::npos) End = Names.size();
    String Name = Trim(Names.substr(Start, End - Start));
    if (!Name.empty()) List.push_back(Name);
    Start = End + 1;
  }
  return List;
}

}  // namespace

// --- TParam --------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TParam)
VELBOR_PUBLISHED(TParam,
  Prop("DataType", &Self::DataType, &Self::SetDataType).Default(ftUnknown),
  Prop("Name", &Self::Name, &Self::SetName),
  Prop("NumericScale", &Self::NumericScale).Default(0),
  Prop("ParamType", &Self::ParamType).Default(ptUnknown),
  Prop("Precision", &Self::Precision).Default(0),
  Prop("Size", &Self::Size).Default(0))

TParam::TParam(TCollection* ACollection) : TCollectionItem(ACollection) {}

TParam::TParam(TParams* AParams, TParamType AParamType) : TCollectionItem(AParams), ParamType(AParamType) {}

void TParam::SetDataType(TFieldType Value) {
  FDataType = Value;
  TVarType Target = VarTypeOfField(Value);
  if (Target == varEmpty || VarIsNull(FData) || VarIsEmpty(FData) || VarType(FData) == Target) return;
  try {
    FData = VarAsType(FData, Target);
  } catch (Exception&) {
    // A value the new type cannot hold is dropped, as the platform does.
    Clear();
  }
}

void TParam::SetValue(const Variant& Value) {
  Bound = !VarIsEmpty(Value);
  if (FDataType == ftUnknown) FDataType = FieldTypeOfVar(VarType(Value));
  FData = Value;
}

void TParam::Clear() { FData = Variant::Null(); }

String TParam::AsString() const { return IsNull() ? String() : FData.AsString(); }
int TParam::AsInteger() const { return IsNull() ? 0 : FData.AsInteger(); }
long long TParam::AsLargeInt() const { return IsNull() ? 0 : FData.AsInt64(); }
double TParam::AsFloat() const { return IsNull() ? 0 : FData.AsDouble(); }
double TParam::AsCurrency() const { return IsNull() ? 0 : FData.AsCurrency(); }
bool TParam::AsBoolean() const { return IsNull() ? false : FData.AsBoolean(); }
TDateTime TParam::AsDateTime() const { return IsNull() ? 0 : FData.AsDate(); }

void TParam::SetAsString(const String& Value) {
  if (FDataType != ftFixedChar && FDataType != ftWideString) FDataType = ftString;
  SetValue(Value);
}

void TParam::SetAsInteger(int Value) {
  FDataType = ftInteger;
  SetValue(Value);
}

void TParam::SetAsSmallInt(int Value) {
  FDataType = ftSmallint;
  SetValue(Variant::FromSmallint(short(Value)));
}

void TParam::SetAsWord(int Value) {
  FDataType = ftWord;
  SetValue(Value);
}

void TParam::SetAsLargeInt(long long Value) {
  FDataType = ftLargeint;
  SetValue(Value);
}

void TParam::SetAsFloat(double Value) {
  FDataType = ftFloat;
  SetValue(Value);
}

void TParam::SetAsCurrency(double Value) {
  FDataType = ftCurrency;
  SetValue(Variant::FromCurrency(Value));
}

void TParam::SetAsBCD(double Value) {
  FDataType = ftBCD;
  SetValue(Variant::FromCurrency(Value));
}

void TParam::SetAsBoolean(bool Value) {
  FDataType = ftBoolean;
  SetValue(Value);
}

void TParam::SetAsDateTime(TDateTime Value) {
  FDataType = ftDateTime;
  SetValue(Variant::FromDate(Value));
}

void TParam::SetAsDate(TDateTime Value) {
  FDataType = ftDate;
  SetValue(Variant::FromDate(Value));
}

void TParam::SetAsTime(TDateTime Value) {
  FDataType = ftTime;
  SetValue(Variant::FromDate(Value));
}

void TParam::SetAsMemo(const String& Value) {
  FDataType = ftMemo;
  SetValue(Value);
}

void TParam::SetAsBlob(const String& Value) {
  FDataType = ftBlob;
  SetValue(Value);
}

void TParam::SetText(const String& Value) { SetValue(Value); }

void TParam::AssignFieldValue(TField* Field, const Variant& Value) {
  if (Field == nullptr) return;
  auto* Text = dynamic_cast<TStringField*>(Field);
  FDataType = Text != nullptr && Text->FixedChar && Field->DataType() == ftString ? ftFixedChar : Field->DataType();
  if (VarIsNull(Value) || VarIsEmpty(Value)) Clear();
  else FData = Value;
  Bound = true;
}

void TParam::AssignField(TField* Field) {
  if (Field == nullptr) return;
  AssignFieldValue(Field, Field->AsVariant());
  FName = Field->FieldName();
}

void TParam::Assign(TPersistent* Source) {
  if (auto* Param = dynamic_cast<TParam*>(Source)) {
    FDataType = Param->FDataType;
    FData = Param->FData;
    Bound = Param->Bound;
    FName = Param->FName;
    if (ParamType == ptUnknown) ParamType = Param->ParamType;
    Size = Param->Size;
    Precision = Param->Precision;
    NumericScale = Param->NumericScale;
  } else if (auto* Field = dynamic_cast<TField*>(Source)) {
    AssignField(Field);
  } else {
    inherited::Assign(Source);
  }
}

bool TParam::IsEqual(const TParam* Value) const {
  return Value != nullptr && AnsiSameText(FName, Value->FName) && FDataType == Value->FDataType &&
         ParamType == Value->ParamType && Bound == Value->Bound && SameValue(FData, Value->FData);
}

// --- TParams -------------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TParams)

TParams::TParams(TPersistent* AOwner) : TCollection(TParam::StaticClass()), FOwner(AOwner) {}

TParam* TParams::FindParam(const String& Value) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(Items(i)->Name(), Value)) return Items(i);
  return nullptr;
}

TParam* TParams::ParamByName(const String& Value) const {
  TParam* Param = FindParam(Value);
  if (Param == nullptr) DatabaseErrorFmt(FieldConsts::SParameterNotFound, {Value}, dynamic_cast<TComponent*>(FOwner));
  return Param;
}

TParam* TParams::CreateParam(TFieldType FldType, const String& ParamName, TParamType ParamType) {
  auto* Param = static_cast<TParam*>(Add());
  Param->SetName(ParamName);
  Param->SetDataType(FldType);
  Param->ParamType = ParamType;
  return Param;
}

void TParams::AddParam(TParam* Value) { Value->SetCollection(this); }

void TParams::RemoveParam(TParam* Value) {
  if (Value->Collection() == this) Value->SetCollection(nullptr);
}

void TParams::GetParamList(std::vector<TParam*>& List, const String& ParamNames) const {
  for (const String& Name : SplitNames(ParamNames)) List.push_back(ParamByName(Name));
}

Variant TParams::ParamValues(const String& ParamName) const {
  std::vector<TParam*> List;
  GetParamList(List, ParamName);
  if (List.size() == 1) return List[0]->Value();
  Variant Result = VarArrayCreate(0, int(List.size()) - 1, varVariant);
  for (std::size_t i = 0; i < List.size(); ++i) Result.PutElement(int(i), List[i]->Value());
  return Result;
}

void TParams::SetParamValues(const String& ParamName, const Variant& Value) {
  std::vector<TParam*> List;
  GetParamList(List, ParamName);
  if (List.size() == 1 && !VarIsArray(Value)) {
    List[0]->SetValue(Value);
    return;
  }
  int Low = VarArrayLowBound(Value, 1);
  for (std::size_t i = 0; i < List.size(); ++i) List[i]->SetValue(Value.GetElement(Low + int(i)));
}

void TParams::AssignValues(TParams* Value) {
  for (int i = 0; i < Value->Count(); ++i)
    if (TParam* Param = FindParam(Value->Items(i)->Name())) Param->Assign(Value->Items(i));
}

bool TParams::IsEqual(const TParams* Value) const {
  if (Value == nullptr || Value->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!Items(i)->IsEqual(Value->Items(i))) return false;
  return true;
}

String TParams::ParseSQL(const String& SQL, bool DoCreate, std::vector<String>* Occurrences) {
  if (DoCreate) Clear();
  if (Occurrences != nullptr) Occurrences->clear();
  String Result;
  Result.reserve(SQL.size());
  std::size_t i = 0, n = SQL.size();
  while (i < n) {
    char C = SQL[i];
    // Literals and bracketed names are copied whole: a ':' inside them is text.
    if (C == '\'' || C == '"' || C == '`' || C == '[') {
      char Close = C == '[' ? ']' : C;
      std::size_t End = SQL.find(Close, i + 1);
      End = End == String::npos ? n : End + 1;
      Result.append(SQL, i, End - i);
      i = End;
      continue;
    }
    if (C != ':') {
      Result.push_back(C);
      ++i;
      continue;
    }
    if (i + 1 < n && SQL[i + 1] == ':') {
      Result.push_back(':');
      i += 2;
      continue;
    }
    String Name;
    std::size_t End = i + 1;
    if (End < n && SQL[End] == '"') {
      std::size_t Close = SQL.find('"', End + 1);
      if (Close != String::npos) {
        Name = SQL.substr(End + 1, Close - End - 1);
        End = Close + 1;
      }
    } else {
      while (End < n && IsNameChar(SQL[End])) ++End;
      Name = SQL.substr(i + 1, End - i - 1);
    }
    if (Name.empty()) {
      Result.push_back(':');
      ++i;
      continue;
    }
    Result.push_back('?');
    if (Occurrences != nullptr) Occurrences->push_back(Name);
    if (DoCreate && FindParam(Name) == nullptr) CreateParam(ftUnknown, Name, ptInput);
    i = End;
  }
  return Result;
}
