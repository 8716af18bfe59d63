// This file implements Variant: construction, conversions, arrays, comparison and arithmetic.
#include "Variant.h"

#include <cfloat>
#include <climits>
#include <cmath>

#include "DateTimeFormat.h"
#include "FloatFormat.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

constexpr long long kCurrencyScale = 10000;
// 2^63 as a double: the first real number outside the Int64 range.
constexpr double kInt64Limit = 9223372036854775808.0;

[[noreturn]] void CastError(TVarType From, TVarType To) {
  throw EVariantTypeCastError("Impossible de convertir un variant de type (" + VarTypeAsText(From) +
                              ") en type (" + VarTypeAsText(To) + ")");
}

[[noreturn]] void OverflowError(TVarType From, TVarType To) {
  throw EVariantOverflowError(String("Débordement lors de la conversion du variant de type ("_a) +
                              VarTypeAsText(From) + ") en type (" + VarTypeAsText(To) + ")");
}

[[noreturn]] void InvalidOp() { throw EVariantInvalidOpError("Opération variant incorrecte"_a); }

[[noreturn]] void FloatOverflow() { throw EOverflow("Débordement en virgule flottante"_a); }

bool IsIntegerType(TVarType Type) {
  return Type == varSmallint || Type == varInteger || Type == varByte || Type == varInt64;
}

bool IsSimpleType(TVarType Type) {
  switch (Type) {
    case varSmallint: case varInteger: case varSingle: case varDouble: case varCurrency:
    case varDate: case varBoolean: case varByte: case varInt64: case varString:
      return true;
    default:
      return false;
  }
}

// Half to even, as the platform's Round; the caller checks the range.
double RoundEven(double Value) { return std::nearbyint(Value); }

long long RealToInt64(double Value, TVarType From, TVarType To) {
  double r = RoundEven(Value);
  if (!(r >= -kInt64Limit && r < kInt64Limit)) OverflowError(From, To);
  return static_cast<long long>(r);
}

long long RealToCurrencyScaled(long double Value, TVarType From) {
  long double r = std::nearbyint(Value * kCurrencyScale);
  if (!(r >= -static_cast<long double>(kInt64Limit) && r < static_cast<long double>(kInt64Limit)))
    OverflowError(From, varCurrency);
  return static_cast<long long>(r);
}

// Quotient of a ten-thousandths product, rounded half to even.
long long DivideRoundEven(__int128 Value, long long Divisor) {
  __int128 q = Value / Divisor;
  __int128 r = Value % Divisor;
  __int128 twice = (r < 0 ? -r : r) * 2;
  if (twice > Divisor || (twice == Divisor && (q % 2) != 0)) q += Value < 0 ? -1 : 1;
  if (q > LLONG_MAX || q < LLONG_MIN) FloatOverflow();
  return static_cast<long long>(q);
}

bool IsTrueText(const String& Text) { return SameText(Text, "True"); }
bool IsFalseText(const String& Text) { return SameText(Text, "False"); }

}  // namespace

// The numeric reading of a value, used by comparison and arithmetic.
struct VariantAccess {
  enum Kind { kInt32, kInt64, kCurrency, kDouble, kDate };
  struct Number {
    Kind K;
    long long I;  // kInt32, kInt64; kCurrency in ten-thousandths
    double D;     // kDouble, kDate
  };

  static bool IsArray(const Variant& V) { return (V.FType & varArray) != 0; }

  // Empty is 0 and True is -1, as the platform's numbers; text is read as a real number.
  static Number ToNumber(const Variant& V) {
    switch (V.FType) {
      case varEmpty: return {kInt32, 0, 0};
      case varBoolean: return {kInt32, V.FInteger ? -1 : 0, 0};
      case varSmallint: case varInteger: case varByte: return {kInt32, V.FInteger, 0};
      case varInt64: return {kInt64, V.FInteger, 0};
      case varCurrency: return {kCurrency, V.FInteger, 0};
      case varSingle: case varDouble: return {kDouble, 0, V.FFloat};
      case varDate: return {kDate, 0, V.FFloat};
      default: return {kDouble, 0, V.AsDouble()};
    }
  }

  static long double Real(const Number& N) {
    switch (N.K) {
      case kInt32: case kInt64: return static_cast<long double>(N.I);
      case kCurrency: return static_cast<long double>(N.I) / kCurrencyScale;
      default: return N.D;
    }
  }

  static bool IsExact(const Number& N) { return N.K == kInt32 || N.K == kInt64 || N.K == kCurrency; }

  static __int128 Scaled(const Number& N) {
    return N.K == kCurrency ? __int128(N.I) : __int128(N.I) * kCurrencyScale;
  }

  static TVariantRelationship Order(long double A, long double B) {
    if (A == B) return vrEqual;
    if (A < B) return vrLessThan;
    if (A > B) return vrGreaterThan;
    return vrNotEqual;  // NaN
  }

  static TVariantRelationship CompareNumbers(const Number& A, const Number& B) {
    if ((A.K == kInt32 || A.K == kInt64) && (B.K == kInt32 || B.K == kInt64))
      return A.I == B.I ? vrEqual : A.I < B.I ? vrLessThan : vrGreaterThan;
    if (IsExact(A) && IsExact(B)) {
      __int128 a = Scaled(A), b = Scaled(B);
      return a == b ? vrEqual : a < b ? vrLessThan : vrGreaterThan;
    }
    return Order(Real(A), Real(B));
  }

  static Variant MakeInteger(long long Value, bool Wide) {
    if (!Wide && Value >= INT_MIN && Value <= INT_MAX) return Variant(static_cast<int>(Value));
    return Variant(Value);
  }

  static Variant MakeReal(long double Value, Kind K, bool InputsFinite) {
    if (InputsFinite && std::isinf(Value)) FloatOverflow();
    return K == kDate ? Variant::FromDate(static_cast<double>(Value))
                      : Variant(static_cast<double>(Value));
  }

  enum Op { kAdd, kSub, kMul };

  static Variant Arithmetic(const Variant& A, const Variant& B, Op O) {
    if (IsArray(A) || IsArray(B)) InvalidOp();
    if (A.FType == varNull || B.FType == varNull) return Variant::Null();
    if (O == kAdd) {
      bool textA = A.FType == varString, textB = B.FType == varString;
      if ((textA && (textB || B.FType == varEmpty)) || (textB && A.FType == varEmpty))
        return Variant(A.AsString() + B.AsString());
    }
    Number a = ToNumber(A), b = ToNumber(B);
    if (a.K == kDate || b.K == kDate) {
      Kind k = kDouble;
      if (O == kAdd) k = kDate;
      if (O == kSub) k = (a.K == kDate && b.K == kDate) ? kDouble : kDate;
      return Real(a, b, O, k);
    }
    if (a.K == kCurrency || b.K == kCurrency) {
      if (a.K == kDouble || b.K == kDouble) {
        long double r = std::nearbyint(Apply(Real(a), Real(b), O) * kCurrencyScale);
        if (!(std::fabs(r) < static_cast<long double>(kInt64Limit))) FloatOverflow();
        return Variant::FromCurrencyScaled(static_cast<long long>(r));
      }
      __int128 x = Scaled(a), y = Scaled(b);
      if (O == kMul) {
        // One side in whole units needs no rescaling.
        if (a.K != kCurrency) return Variant::FromCurrencyScaled(Checked(__int128(a.I) * y));
        if (b.K != kCurrency) return Variant::FromCurrencyScaled(Checked(x * __int128(b.I)));
        return Variant::FromCurrencyScaled(DivideRoundEven(x * y, kCurrencyScale));
      }
      return Variant::FromCurrencyScaled(Checked(O == kAdd ? x + y : x - y));
    }
    if (a.K == kDouble || b.K == kDouble) return Real(a, b, O, kDouble);
    // Integers: widen to Int64, then to Double, rather than overflow.
    __int128 r = O == kAdd ? __int128(a.I) + b.I : O == kSub ? __int128(a.I) - b.I : __int128(a.I) * b.I;
    bool wide = a.K == kInt64 || b.K == kInt64;
    if (r >= LLONG_MIN && r <= LLONG_MAX) return MakeInteger(static_cast<long long>(r), wide);
    return Variant(static_cast<double>(r));
  }

  static long double Apply(long double X, long double Y, Op O) {
    return O == kAdd ? X + Y : O == kSub ? X - Y : X * Y;
  }

  static Variant Real(const Number& A, const Number& B, Op O, Kind K) {
    long double x = Real(A), y = Real(B);
    double r = static_cast<double>(Apply(x, y, O));
    return MakeReal(r, K, std::isfinite(x) && std::isfinite(y));
  }

  static long long Checked(__int128 Value) {
    if (Value > LLONG_MAX || Value < LLONG_MIN) FloatOverflow();
    return static_cast<long long>(Value);
  }

  // The integer reading used by div, mod and the bitwise operations.
  static long long ToInteger(const Variant& V) { return ConvertToInt64(V, varInt64); }

  static long long ConvertToInt64(const Variant& V, TVarType Target) {
    switch (V.FType) {
      case varEmpty: return 0;
      case varBoolean: return V.FInteger ? -1 : 0;
      case varSmallint: case varInteger: case varByte: case varInt64: return V.FInteger;
      case varSingle: case varDouble: case varDate: return RealToInt64(V.FFloat, V.FType, Target);
      case varCurrency: return DivideRoundEven(V.FInteger, kCurrencyScale);
      case varString: {
        long long i;
        if (TryStrToInt64(V.FString, i)) return i;
        double d;
        if (TryStrToFloat(V.FString, d)) return RealToInt64(d, varString, Target);
        break;
      }
      default: break;
    }
    CastError(V.FType, Target);
  }

  static long long RangeChecked(const Variant& V, TVarType Target, long long Low, long long High) {
    long long i = ConvertToInt64(V, Target);
    if (i < Low || i > High) OverflowError(V.FType, Target);
    return i;
  }

  static bool WideInteger(const Variant& A, const Variant& B) {
    return A.FType == varInt64 || B.FType == varInt64;
  }

  static void CheckOperands(const Variant& A, const Variant& B) {
    if (IsArray(A) || IsArray(B)) InvalidOp();
  }

  enum LogicOp { kAnd, kOr, kXor };

  static Variant Logic(const Variant& A, const Variant& B, LogicOp O) {
    CheckOperands(A, B);
    if (A.FType == varNull || B.FType == varNull) return Variant::Null();
    bool logical = (A.FType == varBoolean && (B.FType == varBoolean || B.FType == varString)) ||
                   (B.FType == varBoolean && A.FType == varString);
    if (logical) {
      bool x = A.AsBoolean(), y = B.AsBoolean();
      return Variant(O == kAnd ? (x && y) : O == kOr ? (x || y) : (x != y));
    }
    long long x = ToInteger(A), y = ToInteger(B);
    return MakeInteger(O == kAnd ? (x & y) : O == kOr ? (x | y) : (x ^ y), WideInteger(A, B));
  }
};

// ---- construction

Variant::Variant(int Value) : FType(varInteger), FInteger(Value) {}
Variant::Variant(unsigned Value) : FType(varInt64), FInteger(Value) {}
Variant::Variant(long Value) : FType(varInt64), FInteger(Value) {}
Variant::Variant(long long Value) : FType(varInt64), FInteger(Value) {}
Variant::Variant(unsigned long Value) : Variant(static_cast<unsigned long long>(Value)) {}
Variant::Variant(unsigned long long Value) {
  if (Value <= static_cast<unsigned long long>(LLONG_MAX)) {
    FType = varInt64;
    FInteger = static_cast<long long>(Value);
  } else {
    FType = varDouble;
    FFloat = static_cast<double>(Value);
  }
}
Variant::Variant(double Value) : FType(varDouble), FFloat(Value) {}
Variant::Variant(bool Value) : FType(varBoolean), FInteger(Value ? 1 : 0) {}
Variant::Variant(const char* Value) : FType(varString), FString(Value ? Value : "") {}
Variant::Variant(const String& Value) : FType(varString), FString(Value) {}
Variant::Variant(String&& Value) : FType(varString), FString(std::move(Value)) {}

Variant Variant::Null() {
  Variant v;
  v.FType = varNull;
  return v;
}

Variant Variant::FromDate(TDateTime Value) {
  Variant v(Value);
  v.FType = varDate;
  return v;
}

Variant Variant::FromCurrency(double Value) {
  if (!std::isfinite(Value)) OverflowError(varDouble, varCurrency);
  return FromCurrencyScaled(RealToCurrencyScaled(Value, varDouble));
}

Variant Variant::FromCurrencyScaled(long long Value) {
  Variant v;
  v.FType = varCurrency;
  v.FInteger = Value;
  return v;
}

Variant Variant::FromSmallint(short Value) {
  Variant v(static_cast<int>(Value));
  v.FType = varSmallint;
  return v;
}

Variant Variant::FromByte(unsigned char Value) {
  Variant v(static_cast<int>(Value));
  v.FType = varByte;
  return v;
}

Variant Variant::FromSingle(float Value) {
  Variant v(static_cast<double>(Value));
  v.FType = varSingle;
  return v;
}

// ---- conversions

int Variant::AsInteger() const {
  return static_cast<int>(VariantAccess::RangeChecked(*this, varInteger, INT_MIN, INT_MAX));
}

long long Variant::AsInt64() const { return VariantAccess::ConvertToInt64(*this, varInt64); }

double Variant::AsDouble() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInteger ? -1 : 0;
    case varSmallint: case varInteger: case varByte: case varInt64:
      return static_cast<double>(FInteger);
    case varSingle: case varDouble: case varDate: return FFloat;
    case varCurrency: return static_cast<double>(static_cast<long double>(FInteger) / kCurrencyScale);
    case varString: {
      double d;
      if (TryStrToFloat(FString, d)) return d;
      break;
    }
    default: break;
  }
  CastError(FType, varDouble);
}

long long Variant::AsCurrencyScaled() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInteger ? -kCurrencyScale : 0;
    case varSmallint: case varInteger: case varByte: case varInt64:
      if (FInteger > LLONG_MAX / kCurrencyScale || FInteger < LLONG_MIN / kCurrencyScale)
        OverflowError(FType, varCurrency);
      return FInteger * kCurrencyScale;
    case varSingle: case varDouble: case varDate:
      if (!std::isfinite(FFloat)) OverflowError(FType, varCurrency);
      return RealToCurrencyScaled(FFloat, FType);
    case varCurrency: return FInteger;
    case varString: {
      double d;
      if (TryStrToFloat(FString, d)) return RealToCurrencyScaled(d, varString);
      break;
    }
    default: break;
  }
  CastError(FType, varCurrency);
}

double Variant::AsCurrency() const {
  return static_cast<double>(static_cast<long double>(AsCurrencyScaled()) / kCurrencyScale);
}

bool Variant::AsBoolean() const {
  switch (FType) {
    case varEmpty: return false;
    case varBoolean: case varSmallint: case varInteger: case varByte: case varInt64:
    case varCurrency:
      return FInteger != 0;
    case varSingle: case varDouble: case varDate: return FFloat != 0;
    case varString: {
      if (IsTrueText(FString)) return true;
      if (IsFalseText(FString)) return false;
      double d;
      if (TryStrToFloat(FString, d)) return d != 0;
      break;
    }
    default: break;
  }
  CastError(FType, varBoolean);
}

String Variant::AsString() const {
  switch (FType) {
    case varEmpty: return String();
    case varBoolean: return FInteger ? "True" : "False";
    case varSmallint: case varInteger: case varByte: case varInt64: return IntToStr(FInteger);
    case varSingle: return FloatToStrF(FFloat, ffGeneral, 7, 0);
    case varDouble: return FloatToStr(FFloat);
    case varCurrency: return CurrToStr(AsCurrency());
    case varDate: return DateTimeToStr(FFloat);
    case varString: return FString;
    default: break;
  }
  CastError(FType, varString);
}

TDateTime Variant::AsDate() const {
  switch (FType) {
    case varDate: return FFloat;
    case varString: {
      TDateTime d;
      if (TryStrToDateTime(FString, d)) return d;
      double n;
      if (TryStrToFloat(FString, n)) return n;
      break;
    }
    case varNull: break;
    default:
      if (!(FType & varArray)) return AsDouble();
      break;
  }
  CastError(FType, varDate);
}

// ---- type tests

TVarType VarType(const Variant& Value) { return Value.Type(); }
bool VarIsEmpty(const Variant& Value) { return Value.Type() == varEmpty; }
bool VarIsNull(const Variant& Value) { return Value.Type() == varNull; }
bool VarIsClear(const Variant& Value) { return Value.Type() == varEmpty; }
bool VarIsArray(const Variant& Value) { return (Value.Type() & varArray) != 0; }
bool VarIsStr(const Variant& Value) { return Value.Type() == varString; }
bool VarIsType(const Variant& Value, TVarType Type) { return Value.Type() == Type; }

bool VarIsNumeric(const Variant& Value) {
  TVarType t = Value.Type();
  return IsIntegerType(t) || t == varSingle || t == varDouble || t == varCurrency;
}

String VarTypeAsText(TVarType Type) {
  String prefix = (Type & varArray) ? "Array " : "";
  switch (Type & varTypeMask) {
    case varEmpty: return prefix + "Empty";
    case varNull: return prefix + "Null";
    case varSmallint: return prefix + "Smallint";
    case varInteger: return prefix + "Integer";
    case varSingle: return prefix + "Single";
    case varDouble: return prefix + "Double";
    case varCurrency: return prefix + "Currency";
    case varDate: return prefix + "Date";
    case varBoolean: return prefix + "Boolean";
    case varVariant: return prefix + "Variant";
    case varByte: return prefix + "Byte";
    case varInt64: return prefix + "Int64";
    case varString: return prefix + "String";
    default: return prefix + "$" + IntToHex(Type & varTypeMask, 4);
  }
}

String VarToStr(const Variant& Value) { return VarIsNull(Value) ? String() : Value.AsString(); }

String VarToStrDef(const Variant& Value, const String& Default) {
  return VarIsNull(Value) ? Default : Value.AsString();
}

Variant VarAsType(const Variant& Value, TVarType Type) {
  if (Type == varEmpty) return Variant();
  if (Type == varNull) return Variant::Null();
  if (Type == varVariant) return Value;
  if (!IsSimpleType(Type)) throw EVariantBadVarTypeError("Type variant incorrect");
  if (Value.Type() == Type) return Value;
  if (VarIsNull(Value) || VarIsArray(Value)) CastError(Value.Type(), Type);
  switch (Type) {
    case varSmallint:
      return Variant::FromSmallint(
          static_cast<short>(VariantAccess::RangeChecked(Value, varSmallint, SHRT_MIN, SHRT_MAX)));
    case varByte:
      return Variant::FromByte(
          static_cast<unsigned char>(VariantAccess::RangeChecked(Value, varByte, 0, 255)));
    case varInteger: return Variant(Value.AsInteger());
    case varInt64: return Variant(Value.AsInt64());
    case varSingle: {
      double d = Value.AsDouble();
      if (std::isfinite(d) && std::fabs(d) > FLT_MAX) OverflowError(Value.Type(), varSingle);
      return Variant::FromSingle(static_cast<float>(d));
    }
    case varDouble: return Variant(Value.AsDouble());
    case varCurrency: return Variant::FromCurrencyScaled(Value.AsCurrencyScaled());
    case varDate: return Variant::FromDate(Value.AsDate());
    case varBoolean: return Variant(Value.AsBoolean());
    default: return Variant(Value.AsString());
  }
}

// ---- arrays

void Variant::CheckArray() const {
  if (!(FType & varArray)) throw EVariantNotAnArrayError("Le variant n'est pas un tableau");
}

namespace {
// The initial element of a new array: Empty in an array of variants, else the type's zero.
Variant ZeroOf(TVarType ElementType) {
  if (ElementType == varVariant) return Variant();
  if (ElementType == varString) return Variant(String());
  return VarAsType(Variant(0), ElementType);
}
}  // namespace

Variant VarArrayCreate(int LowBound, int HighBound, TVarType ElementType) {
  if (ElementType != varVariant && !IsSimpleType(ElementType))
    throw EVariantBadVarTypeError("Type variant incorrect");
  long long count = static_cast<long long>(HighBound) - LowBound + 1;
  if (count < 0) throw EVariantArrayCreateError("Erreur lors de la création du tableau variant"_a);
  Variant v;
  v.FType = varArray | ElementType;
  v.FLowBound = LowBound;
  Variant zero = ZeroOf(ElementType);
  v.FElements.assign(static_cast<std::size_t>(count), zero);
  return v;
}

Variant VarArrayOf(std::initializer_list<Variant> Values) {
  Variant v;
  v.FType = varArray | varVariant;
  v.FElements.assign(Values.begin(), Values.end());
  return v;
}

int VarArrayDimCount(const Variant& Value) { return VarIsArray(Value) ? 1 : 0; }

namespace {
void CheckDim(int Dim) {
  if (Dim != 1) throw EVariantBadIndexError("Indice de variant ou de tableau hors limites");
}
}  // namespace

int VarArrayLowBound(const Variant& Value, int Dim) {
  Value.CheckArray();
  CheckDim(Dim);
  return Value.FLowBound;
}

int VarArrayHighBound(const Variant& Value, int Dim) {
  Value.CheckArray();
  CheckDim(Dim);
  return static_cast<int>(Value.FLowBound + static_cast<long long>(Value.FElements.size()) - 1);
}

void VarArrayRedim(Variant& Value, int HighBound) {
  Value.CheckArray();
  long long count = static_cast<long long>(HighBound) - Value.FLowBound + 1;
  if (count < 0) throw EVariantArrayCreateError("Erreur lors de la création du tableau variant"_a);
  TVarType element = Value.FType & varTypeMask;
  Value.FElements.resize(static_cast<std::size_t>(count), ZeroOf(element));
}

Variant Variant::GetElement(int Index) const {
  CheckArray();
  long long i = static_cast<long long>(Index) - FLowBound;
  if (i < 0 || i >= static_cast<long long>(FElements.size()))
    throw EVariantBadIndexError("Indice de variant ou de tableau hors limites");
  return FElements[static_cast<std::size_t>(i)];
}

void Variant::PutElement(int Index, const Variant& Value) {
  CheckArray();
  long long i = static_cast<long long>(Index) - FLowBound;
  if (i < 0 || i >= static_cast<long long>(FElements.size()))
    throw EVariantBadIndexError("Indice de variant ou de tableau hors limites");
  TVarType element = FType & varTypeMask;
  FElements[static_cast<std::size_t>(i)] = element == varVariant ? Value : VarAsType(Value, element);
}

Variant VarArrayGet(const Variant& Value, int Index) { return Value.GetElement(Index); }
void VarArrayPut(Variant& Value, const Variant& Element, int Index) {
  Value.PutElement(Index, Element);
}

// ---- comparison

TVariantRelationship VarCompareValue(const Variant& A, const Variant& B) {
  VariantAccess::CheckOperands(A, B);
  TVarType ta = A.Type(), tb = B.Type();
  if (ta == varNull || tb == varNull) return ta == tb ? vrEqual : vrNotEqual;
  if (ta == varEmpty && tb == varEmpty) return vrEqual;
  bool textA = ta == varString, textB = tb == varString;
  if ((textA && (textB || tb == varEmpty)) || (textB && ta == varEmpty)) {
    int c = AnsiCompareStr(A.AsString(), B.AsString());
    return c == 0 ? vrEqual : c < 0 ? vrLessThan : vrGreaterThan;
  }
  if ((textA || textB) && (ta == varDate || tb == varDate))
    return VariantAccess::Order(A.AsDate(), B.AsDate());
  if ((ta == varBoolean && (tb == varBoolean || textB)) || (tb == varBoolean && textA)) {
    bool x = A.AsBoolean(), y = B.AsBoolean();
    return x == y ? vrEqual : !x ? vrLessThan : vrGreaterThan;
  }
  return VariantAccess::CompareNumbers(VariantAccess::ToNumber(A), VariantAccess::ToNumber(B));
}

bool operator==(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrEqual; }
bool operator<(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrLessThan; }
bool operator>(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrGreaterThan; }

bool operator<=(const Variant& A, const Variant& B) {
  TVariantRelationship r = VarCompareValue(A, B);
  return r == vrLessThan || r == vrEqual;
}

bool operator>=(const Variant& A, const Variant& B) {
  TVariantRelationship r = VarCompareValue(A, B);
  return r == vrGreaterThan || r == vrEqual;
}

// ---- arithmetic

Variant operator+(const Variant& A, const Variant& B) {
  return VariantAccess::Arithmetic(A, B, VariantAccess::kAdd);
}

Variant operator-(const Variant& A, const Variant& B) {
  return VariantAccess::Arithmetic(A, B, VariantAccess::kSub);
}

Variant operator*(const Variant& A, const Variant& B) {
  return VariantAccess::Arithmetic(A, B, VariantAccess::kMul);
}

Variant operator/(const Variant& A, const Variant& B) {
  VariantAccess::CheckOperands(A, B);
  if (VarIsNull(A) || VarIsNull(B)) return Variant::Null();
  double x = A.AsDate(), y = B.AsDate();  // a date divides as its number of days
  if (y == 0) {
    if (x == 0 || std::isnan(x)) throw EInvalidOp("Opération en virgule flottante incorrecte"_a);
    throw EZeroDivide("Division en virgule flottante par zéro"_a);
  }
  double r = x / y;
  if (std::isinf(r) && std::isfinite(x)) FloatOverflow();
  return Variant(r);
}

Variant& operator+=(Variant& A, const Variant& B) { return A = A + B; }
Variant& operator-=(Variant& A, const Variant& B) { return A = A - B; }
Variant& operator*=(Variant& A, const Variant& B) { return A = A * B; }
Variant& operator/=(Variant& A, const Variant& B) { return A = A / B; }

Variant VarNeg(const Variant& A) {
  if (VarIsArray(A)) InvalidOp();
  if (VarIsNull(A)) return Variant::Null();
  VariantAccess::Number n = VariantAccess::ToNumber(A);
  switch (n.K) {
    case VariantAccess::kInt32: case VariantAccess::kInt64:
      if (n.I == LLONG_MIN) return Variant(-static_cast<double>(n.I));
      return VariantAccess::MakeInteger(-n.I, n.K == VariantAccess::kInt64);
    case VariantAccess::kCurrency:
      if (n.I == LLONG_MIN) FloatOverflow();
      return Variant::FromCurrencyScaled(-n.I);
    case VariantAccess::kDate: return Variant::FromDate(-n.D);
    default: return Variant(-n.D);
  }
}

Variant operator-(const Variant& A) { return VarNeg(A); }

Variant VarIntDiv(const Variant& A, const Variant& B) {
  VariantAccess::CheckOperands(A, B);
  if (VarIsNull(A) || VarIsNull(B)) return Variant::Null();
  long long x = VariantAccess::ToInteger(A), y = VariantAccess::ToInteger(B);
  if (y == 0) throw EDivByZero("Division par zéro"_a);
  if (x == LLONG_MIN && y == -1) throw EIntOverflow("Débordement d'entier"_a);
  return VariantAccess::MakeInteger(x / y, VariantAccess::WideInteger(A, B));
}

Variant VarMod(const Variant& A, const Variant& B) {
  VariantAccess::CheckOperands(A, B);
  if (VarIsNull(A) || VarIsNull(B)) return Variant::Null();
  long long x = VariantAccess::ToInteger(A), y = VariantAccess::ToInteger(B);
  if (y == 0) throw EDivByZero("Division par zéro"_a);
  // The remainder takes the dividend's sign; -1 is special-cased because LLONG_MIN % -1 traps.
  return VariantAccess::MakeInteger(y == -1 ? 0 : x % y, VariantAccess::WideInteger(A, B));
}

// ---- logic

Variant VarAnd(const Variant& A, const Variant& B) {
  return VariantAccess::Logic(A, B, VariantAccess::kAnd);
}

Variant VarOr(const Variant& A, const Variant& B) {
  return VariantAccess::Logic(A, B, VariantAccess::kOr);
}

Variant VarXor(const Variant& A, const Variant& B) {
  return VariantAccess::Logic(A, B, VariantAccess::kXor);
}

Variant VarNot(const Variant& A) {
  if (VarIsArray(A)) InvalidOp();
  switch (A.Type()) {
    case varNull: return Variant::Null();
    case varBoolean: return Variant(!A.AsBoolean());
    case varString:
      if (IsTrueText(A.AsString()) || IsFalseText(A.AsString())) return Variant(!A.AsBoolean());
      break;
    default: break;
  }
  return VariantAccess::MakeInteger(~VariantAccess::ToInteger(A), A.Type() == varInt64);
}
