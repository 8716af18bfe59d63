// This file implements Variant, the value that carries any of the platform's simple types (empty,
// null, integers, real numbers, currency, dates, booleans, 1252 text) or a one-dimensional array of
// them, with the platform's conversions, comparisons and arithmetic between mixed types.
//
// Conversions are named methods (AsInteger, AsString, ...) rather than conversion operators, so that
// an expression such as v + 1 or v == "x" always means a Variant operation and never a silent
// conversion to int or String. Construction from the plain types is implicit for the same reason.
#pragma once

#include <initializer_list>
#include <vector>

#include "AnsiString.h"
#include "DateTime.h"
#include "Exceptions.h"

// The platform's type codes: the code of a value is what VarType returns.
using TVarType = unsigned short;
inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;  // element type of an array of variants only
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;

// Conversion failures that are not a type mismatch, and misuse of arrays.
VELBOR_EXCEPTION(EVariantOverflowError, EVariantError)
VELBOR_EXCEPTION(EVariantInvalidOpError, EVariantError)
VELBOR_EXCEPTION(EVariantBadVarTypeError, EVariantError)
VELBOR_EXCEPTION(EVariantBadIndexError, EVariantError)
VELBOR_EXCEPTION(EVariantNotAnArrayError, EVariantError)
VELBOR_EXCEPTION(EVariantArrayCreateError, EVariantError)

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
 public:
  Variant() = default;  // unassigned (varEmpty)
  Variant(int Value);
  Variant(unsigned Value);            // varInt64: the value may not fit an Integer
  Variant(long Value);                // varInt64
  Variant(unsigned long Value);       // varInt64, or varDouble above the Int64 range
  Variant(long long Value);           // varInt64
  Variant(unsigned long long Value);  // varInt64, or varDouble above the Int64 range
  Variant(double Value);
  Variant(bool Value);
  Variant(const char* Value);  // varString; a null pointer is the empty text
  Variant(char* Value) : Variant(static_cast<const char*>(Value)) {}
  Variant(const String& Value);
  Variant(String&& Value);
  // Any other pointer would silently become a boolean.
  template <class T>
  Variant(T*) = delete;

  static Variant Null();
  static Variant FromDate(TDateTime Value);
  // The amount rounded to 4 decimals (half to even); EVariantOverflowError beyond the Currency range.
  static Variant FromCurrency(double Value);
  // The amount given in ten-thousandths, as Currency stores it.
  static Variant FromCurrencyScaled(long long Value);
  static Variant FromSmallint(short Value);
  static Variant FromByte(unsigned char Value);
  static Variant FromSingle(float Value);

  TVarType Type() const { return FType; }

  // Conversions. Null converts to nothing (EVariantTypeCastError); Empty converts to 0, False, "".
  // Real numbers, dates and currency round half to even to reach an integer; a value outside the
  // target's range raises EVariantOverflowError. Text goes through the locale settings.
  int AsInteger() const;
  long long AsInt64() const;
  double AsDouble() const;
  double AsCurrency() const;            // the Currency value, rounded to 4 decimals
  long long AsCurrencyScaled() const;   // the same in ten-thousandths
  bool AsBoolean() const;               // text: "True"/"False" in any case, or a number
  String AsString() const;              // Boolean gives "True"/"False"; a date DateTimeToStr
  TDateTime AsDate() const;             // text: a date and time, or a number of days

  // Elements of an array, by index between its bounds; EVariantBadIndexError outside them and
  // EVariantNotAnArrayError when the value is not an array. A typed array converts what it is given
  // to its element type.
  Variant GetElement(int Index) const;
  void PutElement(int Index, const Variant& Value);

 private:
  friend Variant VarArrayCreate(int LowBound, int HighBound, TVarType ElementType);
  friend Variant VarArrayOf(std::initializer_list<Variant> Values);
  friend int VarArrayLowBound(const Variant& Value, int Dim);
  friend int VarArrayHighBound(const Variant& Value, int Dim);
  friend void VarArrayRedim(Variant& Value, int HighBound);
  friend struct VariantAccess;
  void CheckArray() const;

  TVarType FType = varEmpty;
  long long FInteger = 0;  // integer types, Boolean (0/1), Currency in ten-thousandths
  double FFloat = 0;       // Single, Double, Date
  String FString;
  int FLowBound = 0;               // arrays only
  std::vector<Variant> FElements;  // arrays only; copying a Variant copies its array
};

// Type tests.
TVarType VarType(const Variant& Value);
bool VarIsEmpty(const Variant& Value);
bool VarIsNull(const Variant& Value);
bool VarIsClear(const Variant& Value);  // unassigned: the same as VarIsEmpty here
bool VarIsArray(const Variant& Value);
bool VarIsNumeric(const Variant& Value);  // integer or real types, Currency; not Date or Boolean
bool VarIsStr(const Variant& Value);
bool VarIsType(const Variant& Value, TVarType Type);
// "Integer", "String", "Array Variant"...: the names used in conversion errors.
String VarTypeAsText(TVarType Type);

// Text of a value: Null gives "" (VarToStr) or the default (VarToStrDef); otherwise AsString.
String VarToStr(const Variant& Value);
String VarToStrDef(const Variant& Value, const String& Default);
// The value converted to a simple type; varEmpty and varNull give those values whatever the source.
// EVariantBadVarTypeError for a code that is not one of the simple types above.
Variant VarAsType(const Variant& Value, TVarType Type);

// Arrays of one dimension (Dim must be 1). VarArrayCreate makes High - Low + 1 elements of the
// element type (Empty for varVariant, else that type's zero; EVariantArrayCreateError when High is
// below Low - 1); VarArrayOf numbers its values from 0.
Variant VarArrayCreate(int LowBound, int HighBound, TVarType ElementType);
Variant VarArrayOf(std::initializer_list<Variant> Values);
int VarArrayDimCount(const Variant& Value);  // 0 when not an array
int VarArrayLowBound(const Variant& Value, int Dim);
int VarArrayHighBound(const Variant& Value, int Dim);
// Changes the high bound, keeping the elements that remain and adding fresh ones.
void VarArrayRedim(Variant& Value, int HighBound);
Variant VarArrayGet(const Variant& Value, int Index);
void VarArrayPut(Variant& Value, const Variant& Element, int Index);

// Comparison. Two texts compare with AnsiCompareStr (case counts); a text against a number is read
// as a number, against a date as a date, against a Boolean as a Boolean; other pairs compare as
// numbers. Null equals Null and is vrNotEqual to anything else, so every ordering test involving
// one Null is false. Arrays cannot be compared (EVariantInvalidOpError).
TVariantRelationship VarCompareValue(const Variant& A, const Variant& B);
bool operator==(const Variant& A, const Variant& B);
bool operator<(const Variant& A, const Variant& B);
bool operator<=(const Variant& A, const Variant& B);
bool operator>(const Variant& A, const Variant& B);
bool operator>=(const Variant& A, const Variant& B);

// Arithmetic. Null in gives Null out. '+' joins two texts; otherwise text is read as a real number.
// Results widen Integer -> Int64 -> Double on overflow; Currency stays Currency; a date plus or minus
// a number stays a date, and date minus date is a Double. '/' always gives a Double (EZeroDivide for
// a zero divisor, EInvalidOp for 0/0); VarIntDiv and VarMod work on integers (EDivByZero).
Variant operator+(const Variant& A, const Variant& B);
Variant operator-(const Variant& A, const Variant& B);
Variant operator*(const Variant& A, const Variant& B);
Variant operator/(const Variant& A, const Variant& B);
Variant operator-(const Variant& A);
Variant& operator+=(Variant& A, const Variant& B);
Variant& operator-=(Variant& A, const Variant& B);
Variant& operator*=(Variant& A, const Variant& B);
Variant& operator/=(Variant& A, const Variant& B);
Variant VarNeg(const Variant& A);
Variant VarIntDiv(const Variant& A, const Variant& B);
Variant VarMod(const Variant& A, const Variant& B);

// Logic: on two Booleans (or a Boolean and a text read as a Boolean) the result is a Boolean;
// otherwise the operands are read as integers (True is -1) and combined bit by bit.
Variant VarAnd(const Variant& A, const Variant& B);
Variant VarOr(const Variant& A, const Variant& B);
Variant VarXor(const Variant& A, const Variant& B);
Variant VarNot(const Variant& A);
