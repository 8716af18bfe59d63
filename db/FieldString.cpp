// This file implements the text fields: TStringField (1252 text of a fixed size) and
// TWideStringField (UTF-16 in the record, 1252 through AsString).
#include <cstdint>
#include <cstring>
#include <vector>

#include "DataSet.h"
#include "DateTimeFormat.h"
#include "Field.h"
#include "FloatFormat.h"
#include "StrUtils.h"

// --- TStringField --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TStringField)
VELBOR_PUBLISHED(TStringField,
  Prop("FixedChar", &Self::FixedChar).Default(false),
  Prop("Size", &Self::Size, &Self::SetSize).Default(20),
  Prop("Transliterate", &Self::Transliterate).Default(true))

TStringField::TStringField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftString);
  FSize = 20;
}

void TStringField::CheckTypeSize(int Value) {
  // The largest text a record holds, as the platform allows.
  if (Value < 0 || Value > 8192) DatabaseError(FieldConsts::SInvalidFieldSize);
}

String TStringField::IntToText(long long Value) { return IntToStr(Value); }

bool TStringField::GetValue(String& Value) {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  if (!GetData(Buffer.data())) return false;
  Value.assign(Buffer.data(), strnlen(Buffer.data(), std::size_t(Size())));
  if (FixedChar) Value = TrimRight(Value);
  return true;
}

String TStringField::AsString() {
  String Value;
  return GetValue(Value) ? Value : String();
}

void TStringField::SetAsString(const String& Value) {
  // A longer text is cut to the column's size, as the platform does without a word.
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  std::memcpy(Buffer.data(), Value.data(), std::min(Value.size(), std::size_t(Size())));
  SetData(Buffer.data());
}

int TStringField::AsInteger() { return StrToInt(AsString()); }
long long TStringField::AsLargeInt() { return StrToInt64(AsString()); }
double TStringField::AsFloat() { return StrToFloat(AsString()); }
void TStringField::SetAsFloat(double Value) { SetAsString(FloatToStr(Value)); }

bool TStringField::AsBoolean() {
  String Value = AsString();
  return !Value.empty() && (Value[0] == 'T' || Value[0] == 't' || Value[0] == 'Y' || Value[0] == 'y');
}

void TStringField::SetAsBoolean(bool Value) { SetAsString(Value ? "T" : "F"); }

TDateTime TStringField::AsDateTime() { return StrToDateTime(AsString()); }
void TStringField::SetAsDateTime(TDateTime Value) { SetAsString(DateTimeToStr(Value)); }

Variant TStringField::AsVariant() {
  String Value;
  if (!GetValue(Value)) return Variant::Null();
  return Variant(std::move(Value));
}

// --- TWideStringField ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TWideStringField)

TWideStringField::TWideStringField(TComponent* AOwner) : TStringField(AOwner) { SetDataType(ftWideString); }

WideString TWideStringField::AsWideString() {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  if (!GetData(Buffer.data())) return WideString();
  std::uint32_t Bytes = 0;
  std::memcpy(&Bytes, Buffer.data(), sizeof Bytes);
  std::size_t Units = std::min<std::size_t>(Bytes / 2, std::size_t(Size()));
  WideString Value(Units, u'\0');
  std::memcpy(Value.data(), Buffer.data() + 4, Units * 2);
  return Value;
}

bool TWideStringField::GetValue(String& Value) {
  if (IsNull()) return false;
  Value = WideToAnsi(AsWideString());
  if (FixedChar) Value = TrimRight(Value);
  return true;
}

void TWideStringField::SetAsWideString(const WideString& Value) {
  std::vector<char> Buffer(std::size_t(DataSize()), '\0');
  std::size_t Units = std::min(Value.size(), std::size_t(Size()));
  std::uint32_t Bytes = std::uint32_t(Units * 2);
  std::memcpy(Buffer.data(), &Bytes, sizeof Bytes);
  std::memcpy(Buffer.data() + 4, Value.data(), Units * 2);
  SetData(Buffer.data());
}
