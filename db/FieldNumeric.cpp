// This file implements the number fields: TNumericField with its formats, the integer fields
// (TIntegerField, TSmallintField, TWordField, TAutoIncField, TLargeintField) and the real ones
// (TFloatField, TCurrencyField, TBCDField).
#include <climits>
#include <cmath>
#include <cstdint>

#include "DataSet.h"
#include "Field.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "StrUtils.h"

namespace {

// "12 n'est pas une valeur correcte pour le champ 'X'. Les valeurs autorisées vont de 0 à 10".
[[noreturn]] void RangeError(TField* Field, double Value, double Min, double Max) {
  DatabaseErrorFmt(FieldConsts::SFieldRangeError,
                   {FloatToStr(Value), Field->DisplayName(), FloatToStr(Min), FloatToStr(Max)});
}

// The platform's Round: to the nearest integer, halves to the even one.
double RoundHalfEven(double Value) { return std::nearbyint(Value); }

}  // namespace

// --- TNumericField -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TNumericField)
VELBOR_PUBLISHED(TNumericField,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taRightJustify),
  Prop("DisplayFormat", &Self::DisplayFormat, &Self::SetDisplayFormat),
  Prop("EditFormat", &Self::EditFormat, &Self::SetEditFormat))

TNumericField::TNumericField(TComponent* AOwner) : TField(AOwner) {
  FAlignment = taRightJustify;
  FValidChars.reset();
  for (char c : String("+-0123456789")) FValidChars.set(static_cast<unsigned char>(c));
}

void TNumericField::SetDisplayFormat(const String& Value) {
  FDisplayFormat = Value;
  PropertyChanged(false);
}

void TNumericField::SetEditFormat(const String& Value) {
  FEditFormat = Value;
  PropertyChanged(false);
}

const String& TNumericField::FormatFor(bool DisplayText) const {
  return DisplayText || FEditFormat.empty() ? FDisplayFormat : FEditFormat;
}

// --- TIntegerField -------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TIntegerField)
VELBOR_PUBLISHED(TIntegerField,
  Prop("MaxValue", &Self::MaxValue, &Self::SetMaxValue).Default(0),
  Prop("MinValue", &Self::MinValue, &Self::SetMinValue).Default(0))

TIntegerField::TIntegerField(TComponent* AOwner) : TNumericField(AOwner), FMinRange(INT_MIN), FMaxRange(INT_MAX) {
  SetDataType(ftInteger);
}

void TIntegerField::SetMinValue(int Value) {
  FMinValue = Value;
  PropertyChanged(false);
}

void TIntegerField::SetMaxValue(int Value) {
  FMaxValue = Value;
  PropertyChanged(false);
}

bool TIntegerField::ReadValue(int& Value) {
  std::int32_t Native = 0;
  if (!GetData(&Native)) return false;
  Value = Native;
  return true;
}

void TIntegerField::WriteValue(int Value) {
  std::int32_t Native = Value;
  SetData(&Native);
}

int TIntegerField::AsInteger() {
  int Value = 0;
  return ReadValue(Value) ? Value : 0;
}

void TIntegerField::SetAsInteger(int Value) {
  if (FMinValue != 0 || FMaxValue != 0) {
    if (Value < FMinValue || Value > FMaxValue) RangeError(this, Value, FMinValue, FMaxValue);
  } else if (Value < FMinRange || Value > FMaxRange) {
    RangeError(this, Value, FMinRange, FMaxRange);
  }
  WriteValue(Value);
}

void TIntegerField::SetAsLargeInt(long long Value) {
  if (Value < INT_MIN || Value > INT_MAX) RangeError(this, double(Value), FMinRange, FMaxRange);
  SetAsInteger(int(Value));
}

void TIntegerField::SetAsFloat(double Value) {
  double Rounded = RoundHalfEven(Value);
  if (!(Rounded >= INT_MIN && Rounded <= INT_MAX)) RangeError(this, Value, FMinRange, FMaxRange);
  SetAsInteger(int(Rounded));
}

String TIntegerField::AsString() {
  int Value = 0;
  return ReadValue(Value) ? IntToStr(Value) : String();
}

void TIntegerField::SetAsString(const String& Value) {
  if (Value.empty()) {
    Clear();
    return;
  }
  long long Number = 0;
  if (!TryStrToInt64(Value, Number)) DatabaseErrorFmt(FieldConsts::SInvalidIntegerValue, {Value, DisplayName()});
  SetAsLargeInt(Number);
}

void TIntegerField::GetText(String& Text, bool DisplayText) {
  int Value = 0;
  if (!ReadValue(Value)) {
    Text.clear();
    return;
  }
  const String& Pattern = FormatFor(DisplayText);
  Text = Pattern.empty() ? IntToStr(Value) : FormatFloat(Pattern, Value);
}

Variant TIntegerField::AsVariant() {
  int Value = 0;
  if (!ReadValue(Value)) return Variant::Null();
  return Variant(Value);
}

void TIntegerField::SetVarValue(const Variant& Value) { SetAsLargeInt(Value.AsInt64()); }

// --- TSmallintField, TWordField, TAutoIncField ---------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TSmallintField)

TSmallintField::TSmallintField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftSmallint);
  FMinRange = -32768;
  FMaxRange = 32767;
}

bool TSmallintField::ReadValue(int& Value) {
  std::int16_t Native = 0;
  if (!GetData(&Native)) return false;
  Value = Native;
  return true;
}

void TSmallintField::WriteValue(int Value) {
  std::int16_t Native = std::int16_t(Value);
  SetData(&Native);
}

VELBOR_IMPLEMENT_CLASS(TWordField)

TWordField::TWordField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftWord);
  FMinRange = 0;
  FMaxRange = 65535;
}

bool TWordField::ReadValue(int& Value) {
  std::uint16_t Native = 0;
  if (!GetData(&Native)) return false;
  Value = Native;
  return true;
}

void TWordField::WriteValue(int Value) {
  std::uint16_t Native = std::uint16_t(Value);
  SetData(&Native);
}

VELBOR_IMPLEMENT_CLASS(TAutoIncField)

TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner) { SetDataType(ftAutoInc); }

// --- TLargeintField ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TLargeintField)
VELBOR_PUBLISHED(TLargeintField,
  Prop("MaxValue", &Self::MaxValue, &Self::SetMaxValue).Default(0),
  Prop("MinValue", &Self::MinValue, &Self::SetMinValue).Default(0))

TLargeintField::TLargeintField(TComponent* AOwner) : TNumericField(AOwner) { SetDataType(ftLargeint); }

long long TLargeintField::AsLargeInt() {
  std::int64_t Native = 0;
  return GetData(&Native) ? Native : 0;
}

void TLargeintField::SetAsLargeInt(long long Value) {
  if ((FMinValue != 0 || FMaxValue != 0) && (Value < FMinValue || Value > FMaxValue))
    RangeError(this, double(Value), double(FMinValue), double(FMaxValue));
  std::int64_t Native = Value;
  SetData(&Native);
}

int TLargeintField::AsInteger() {
  long long Value = AsLargeInt();
  if (Value < INT_MIN || Value > INT_MAX) RangeError(this, double(Value), INT_MIN, INT_MAX);
  return int(Value);
}

void TLargeintField::SetAsFloat(double Value) {
  double Rounded = RoundHalfEven(Value);
  // 2^63 is the first double above the range.
  if (!(Rounded >= -9223372036854775808.0 && Rounded < 9223372036854775808.0))
    RangeError(this, Value, -9223372036854775808.0, 9223372036854775807.0);
  SetAsLargeInt(static_cast<long long>(Rounded));
}

String TLargeintField::AsString() {
  std::int64_t Native = 0;
  return GetData(&Native) ? IntToStr(Native) : String();
}

void TLargeintField::SetAsString(const String& Value) {
  if (Value.empty()) {
    Clear();
    return;
  }
  long long Number = 0;
  if (!TryStrToInt64(Value, Number)) DatabaseErrorFmt(FieldConsts::SInvalidIntegerValue, {Value, DisplayName()});
  SetAsLargeInt(Number);
}

void TLargeintField::GetText(String& Text, bool DisplayText) {
  std::int64_t Native = 0;
  if (!GetData(&Native)) {
    Text.clear();
    return;
  }
  const String& Pattern = FormatFor(DisplayText);
  Text = Pattern.empty() ? IntToStr(Native) : FormatFloat(Pattern, double(Native));
}

Variant TLargeintField::AsVariant() {
  std::int64_t Native = 0;
  if (!GetData(&Native)) return Variant::Null();
  return Variant(static_cast<long long>(Native));
}

void TLargeintField::SetVarValue(const Variant& Value) { SetAsLargeInt(Value.AsInt64()); }

// --- TFloatField ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TFloatField)
VELBOR_PUBLISHED(TFloatField,
  Prop("Currency", &Self::Currency, &Self::SetCurrency).Default(false),
  Prop("MaxValue", &Self::MaxValue, &Self::SetMaxValue),
  Prop("MinValue", &Self::MinValue, &Self::SetMinValue),
  Prop("Precision", &Self::Precision, &Self::SetPrecision).Default(15))

TFloatField::TFloatField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftFloat);
  for (char c : {'E', 'e', FormatSettings.DecimalSeparator}) FValidChars.set(static_cast<unsigned char>(c));
}

void TFloatField::SetCurrency(bool Value) {
  if (Value == FCurrency) return;
  FCurrency = Value;
  PropertyChanged(false);
}

void TFloatField::SetPrecision(int Value) {
  // A double holds 15 significant digits; a fixed-point column counts the digits it stores.
  bool Fixed = DataType() == ftBCD || DataType() == ftFMTBcd;
  int Low = Fixed ? 0 : 2, High = Fixed ? 32 : 15;
  Value = std::max(Low, std::min(High, Value));
  if (Value == FPrecision) return;
  FPrecision = Value;
  PropertyChanged(false);
}

double TFloatField::AsFloat() {
  double Value = 0;
  return GetData(&Value) ? Value : 0;
}

void TFloatField::SetAsFloat(double Value) {
  if ((FMinValue != 0 || FMaxValue != 0) && (Value < FMinValue || Value > FMaxValue))
    RangeError(this, Value, FMinValue, FMaxValue);
  SetData(&Value);
}

int TFloatField::AsInteger() {
  double Rounded = RoundHalfEven(AsFloat());
  if (!(Rounded >= INT_MIN && Rounded <= INT_MAX)) RangeError(this, Rounded, INT_MIN, INT_MAX);
  return int(Rounded);
}

long long TFloatField::AsLargeInt() {
  double Rounded = RoundHalfEven(AsFloat());
  if (!(Rounded >= -9223372036854775808.0 && Rounded < 9223372036854775808.0))
    RangeError(this, Rounded, -9223372036854775808.0, 9223372036854775807.0);
  return static_cast<long long>(Rounded);
}

String TFloatField::AsString() {
  double Value = 0;
  return GetData(&Value) ? FloatToStr(Value) : String();
}

void TFloatField::SetAsString(const String& Value) {
  if (Value.empty()) {
    Clear();
    return;
  }
  double Number = 0;
  if (!TryStrToFloat(Value, Number)) DatabaseErrorFmt(FieldConsts::SInvalidFloatValue, {Value, DisplayName()});
  SetAsFloat(Number);
}

void TFloatField::GetText(String& Text, bool DisplayText) {
  double Value = 0;
  if (!GetData(&Value)) {
    Text.clear();
    return;
  }
  const String& Pattern = FormatFor(DisplayText);
  if (!Pattern.empty()) {
    Text = FormatFloat(Pattern, Value);
    return;
  }
  int Digits = FPrecision > 0 && FPrecision <= 15 ? FPrecision : 15;
  if (FCurrency) {
    Text = FloatToStrF(Value, DisplayText ? ffCurrency : ffFixed, Digits, FormatSettings.CurrencyDecimals);
  } else {
    Text = FloatToStrF(Value, ffGeneral, Digits, 0);
  }
}

Variant TFloatField::AsVariant() {
  double Value = 0;
  if (!GetData(&Value)) return Variant::Null();
  return Variant(Value);
}

void TFloatField::SetVarValue(const Variant& Value) { SetAsFloat(Value.AsDouble()); }

// --- TCurrencyField, TBCDField -------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TCurrencyField)
VELBOR_PUBLISHED(TCurrencyField, Prop("Currency", &Self::Currency, &Self::SetCurrency).Default(true))

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner) {
  SetDataType(ftCurrency);
  FCurrency = true;
}

VELBOR_IMPLEMENT_CLASS(TBCDField)
VELBOR_PUBLISHED(TBCDField,
  Prop("Precision", &Self::Precision, &Self::SetPrecision).Default(0),
  Prop("Size", &Self::Size, &Self::SetSize).Default(4))

TBCDField::TBCDField(TComponent* AOwner) : TFloatField(AOwner) {
  SetDataType(ftBCD);
  FSize = 4;
  FPrecision = 0;
}

void TBCDField::CheckTypeSize(int Value) {
  if (Value < 0 || Value > 32) DatabaseError(FieldConsts::SInvalidFieldSize);
}

void TBCDField::SetAsFloat(double Value) {
  // The column keeps Size decimals; the rest is rounded away here, halves to even.
  TFloatField::SetAsFloat(RoundTo(Value, -Size()));
}

Variant TBCDField::AsVariant() {
  double Value = 0;
  if (!GetData(&Value)) return Variant::Null();
  return Variant::FromCurrency(Value);
}
