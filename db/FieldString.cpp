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

namespace {

// The native bytes of one value, zeroed: on the stack up to the size of most fields, so that
// reading a text allocates nothing but the text returned.
class TNativeBuffer {
 public:
  explicit TNativeBuffer(std::size_t Size) {
    if (Size > sizeof FSmall) {
      FLarge.resize(Size);
      FData = FLarge.data();
    }
    std::memset(FData, 0, Size);
  }
  TNativeBuffer(const TNativeBuffer&) = delete;
  TNativeBuffer& operator=(const TNativeBuffer&) = delete;

  char* Data() { return FData; }

 private:
  char FSmall[256];
  std::vector<char> FLarge;
  char* FData = FSmall;
};

}  // namespace

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
  TNativeBuffer Buffer{std::size_t(DataSize())};
  if (!GetData(Buffer.Data())) return false;
  Value.assign(Buffer.Data(), strnlen(Buffer.Data(), std::size_t(Size())));
  if (FixedChar) Value = TrimRight(Value);
  return true;
}

String TStringField::AsString() {
  String Value;  // stays empty when null
  GetValue(Value);
  return Value;
}

void TStringField::SetAsString(const String& Value) {
  // A longer text is cut to the column's size, as the platform does without a word.
  TNativeBuffer Buffer{std::size_t(DataSize())};
  std::memcpy(Buffer.Data(), Value.data(), std::min(Value.size(), std::size_t(Size())));
  SetData(Buffer.Data());
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
  TNativeBuffer Buffer{std::size_t(DataSize())};
  if (!GetData(Buffer.Data())) return WideString();
  std::uint32_t Bytes = 0;
  std::memcpy(&Bytes, Buffer.Data(), sizeof Bytes);
  std::size_t Units = std::min<std::size_t>(Bytes / 2, std::size_t(Size()));
  WideString Value(Units, u'\0');
  std::memcpy(Value.data(), Buffer.Data() + 4, Units * 2);
  return Value;
}

bool TWideStringField::GetValue(String& Value) {
  if (IsNull()) return false;
  Value = WideToAnsi(AsWideString());
  if (FixedChar) Value = TrimRight(Value);
  return true;
}

void TWideStringField::SetAsWideString(const WideString& Value) {
  TNativeBuffer Buffer{std::size_t(DataSize())};
  std::size_t Units = std::min(Value.size(), std::size_t(Size()));
  std::uint32_t Bytes = std::uint32_t(Units * 2);
  std::memcpy(Buffer.Data(), &Bytes, sizeof Bytes);
  std::memcpy(Buffer.Data() + 4, Value.data(), Units * 2);
  SetData(Buffer.Data());
}
