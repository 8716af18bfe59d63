// Tests of Variant: type codes, conversions and their errors, comparison across types, arithmetic
// with type promotion and Null propagation, logical against bitwise operations, and arrays.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <ostream>

#include "DateTime.h"
#include "FormatSettings.h"
#include "Variant.h"

// Readable failure messages: the type name and the text of the value.
static void PrintTo(const Variant& V, std::ostream* Out) {
  *Out << VarTypeAsText(VarType(V));
  if (!VarIsNull(V) && !VarIsArray(V)) *Out << " " << AnsiToUtf8(V.AsString());
}

namespace {

// Every test runs under the French settings and leaves them so.
class VariantTest : public ::testing::Test {
 protected:
  void SetUp() override { FormatSettings = TFormatSettings::French(); }
  void TearDown() override { FormatSettings = TFormatSettings::French(); }
};

void ExpectVariant(const Variant& Actual, TVarType Type, const Variant& Value) {
  EXPECT_EQ(VarTypeAsText(VarType(Actual)), VarTypeAsText(Type));
  EXPECT_TRUE(Actual == Value) << "got " << ::testing::PrintToString(Actual) << ", expected "
                               << ::testing::PrintToString(Value);
}

// The class name and message of what Action raises; "" when it raises nothing.
struct Raised {
  String Kind;
  String Message;
};
Raised RaisedBy(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const Exception& e) {
    return {e.ClassName(), e.Message};
  }
  return {};
}

const TDateTime kNewYearsEve = EncodeDate(2004, 12, 31);

TEST_F(VariantTest, ConstructorsGiveThePlatformTypeCodes) {
  struct Case {
    const char* Name;
    Variant Value;
    TVarType Type;
  } cases[] = {
      {"unassigned", Variant(), varEmpty},
      {"null", Variant::Null(), varNull},
      {"int", Variant(7), varInteger},
      {"long long", Variant(7LL), varInt64},
      {"unsigned", Variant(7u), varInt64},
      {"huge unsigned", Variant(ULLONG_MAX), varDouble},
      {"double", Variant(2.5), varDouble},
      {"bool", Variant(true), varBoolean},
      {"literal", Variant("abc"), varString},
      {"String", Variant(String("abc")), varString},
      {"null char pointer", Variant(static_cast<const char*>(nullptr)), varString},
      {"date", Variant::FromDate(kNewYearsEve), varDate},
      {"currency", Variant::FromCurrency(1.5), varCurrency},
      {"smallint", Variant::FromSmallint(-3), varSmallint},
      {"byte", Variant::FromByte(200), varByte},
      {"single", Variant::FromSingle(1.5f), varSingle},
      {"array", VarArrayOf({1, 2}), TVarType(varArray | varVariant)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(VarType(c.Value), c.Type);
  }
  EXPECT_TRUE(VarIsEmpty(Variant()) && VarIsClear(Variant()));
  EXPECT_TRUE(VarIsNull(Variant::Null()));
  EXPECT_FALSE(VarIsEmpty(Variant::Null()) || VarIsNull(Variant()));
  EXPECT_EQ(Variant(static_cast<const char*>(nullptr)).AsString(), "");
  EXPECT_TRUE(VarIsNumeric(Variant::FromCurrency(1)) && VarIsNumeric(Variant(1.0)));
  EXPECT_FALSE(VarIsNumeric(Variant::FromDate(1)) || VarIsNumeric(Variant(true)) ||
               VarIsNumeric(Variant("1")));
}

TEST_F(VariantTest, ConversionsToNumbersRoundHalfToEvenAndReadTextWithTheDecimalComma) {
  struct Case {
    const char* Name;
    Variant Value;
    long long Integer;
    double Real;
  } cases[] = {
      {"empty", Variant(), 0, 0},
      {"true is -1", Variant(true), -1, -1},
      {"false", Variant(false), 0, 0},
      {"2.5 rounds down to even", Variant(2.5), 2, 2.5},
      {"3.5 rounds up to even", Variant(3.5), 4, 3.5},
      {"-2.5", Variant(-2.5), -2, -2.5},
      {"integer text", Variant("42"), 42, 42},
      {"decimal comma text", Variant("2,5"), 2, 2.5},
      {"negative text", Variant("-7,5"), -8, -7.5},
      {"currency", Variant::FromCurrency(1.5), 2, 1.5},
      {"currency four decimals", Variant::FromCurrency(-1.2345), -1, -1.2345},
      {"date and time", Variant::FromDate(kNewYearsEve + 0.75), 38353, kNewYearsEve + 0.75},
      {"int64 beyond double precision", Variant(9007199254740993LL), 9007199254740993LL,
       9007199254740992.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Value.AsInt64(), c.Integer);
    EXPECT_DOUBLE_EQ(c.Value.AsDouble(), c.Real);
    if (c.Integer >= INT_MIN && c.Integer <= INT_MAX) {
      EXPECT_EQ(c.Value.AsInteger(), c.Integer);
    }
  }
}

TEST_F(VariantTest, CurrencyKeepsFourDecimals) {
  EXPECT_EQ(Variant::FromCurrency(1.23456).AsCurrencyScaled(), 12346);
  EXPECT_EQ(Variant::FromCurrency(-1.23454).AsCurrencyScaled(), -12345);
  EXPECT_DOUBLE_EQ(Variant::FromCurrency(1.23456).AsCurrency(), 1.2346);
  EXPECT_EQ(Variant(3).AsCurrencyScaled(), 30000);
  EXPECT_EQ(Variant("0,125").AsCurrencyScaled(), 1250);
  EXPECT_EQ(Variant::FromCurrencyScaled(12345).AsString(), "1,2345");
}

TEST_F(VariantTest, ConversionsToText) {
  struct Case {
    const char* Name;
    Variant Value;
    String Text;
  } cases[] = {
      {"empty", Variant(), ""},
      {"integer", Variant(-42), "-42"},
      {"int64", Variant(1234567890123LL), "1234567890123"},
      {"double uses the decimal comma", Variant(2.5), "2,5"},
      {"whole double", Variant(3.0), "3"},
      {"currency", Variant::FromCurrency(1.5), "1,5"},
      {"true", Variant(true), "True"},
      {"false", Variant(false), "False"},
      {"date alone", Variant::FromDate(kNewYearsEve), "31/12/2004"},
      {"date and time", Variant::FromDate(kNewYearsEve + 0.4375), "31/12/2004 10:30:00"},
      {"text", Variant("déjà"_a), "déjà"_a},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Value.AsString(), c.Text);
    EXPECT_EQ(VarToStr(c.Value), c.Text);
  }
  EXPECT_EQ(VarToStr(Variant::Null()), "");
  EXPECT_EQ(VarToStrDef(Variant::Null(), "n/a"), "n/a");
  EXPECT_EQ(VarToStrDef(Variant(5), "n/a"), "5");
}

TEST_F(VariantTest, ConversionsToBooleanAndDate) {
  struct BoolCase {
    Variant Value;
    bool Expected;
  } bools[] = {
      {Variant("true"), true}, {Variant("FALSE"), false}, {Variant("0"), false},
      {Variant("0,5"), true},  {Variant(0), false},       {Variant(-3), true},
      {Variant(0.0), false},   {Variant(), false},        {Variant::FromCurrencyScaled(1), true},
  };
  for (const BoolCase& c : bools) {
    SCOPED_TRACE(::testing::PrintToString(c.Value));
    EXPECT_EQ(c.Value.AsBoolean(), c.Expected);
  }
  EXPECT_DOUBLE_EQ(Variant("31/12/2004").AsDate(), kNewYearsEve);
  EXPECT_DOUBLE_EQ(Variant("31/12/2004 10:30").AsDate(), kNewYearsEve + 0.4375);
  EXPECT_DOUBLE_EQ(Variant("38352,5").AsDate(), 38352.5);
  EXPECT_DOUBLE_EQ(Variant(38352).AsDate(), 38352.0);
}

TEST_F(VariantTest, TextFollowsTheDecimalSeparatorInForce) {
  FormatSettings.DecimalSeparator = '.';
  EXPECT_EQ(Variant(2.5).AsString(), "2.5");
  EXPECT_DOUBLE_EQ(Variant("2.5").AsDouble(), 2.5);
  EXPECT_THROW(Variant("2,5").AsDouble(), EVariantTypeCastError);
}

TEST_F(VariantTest, ImpossibleConversionsRaiseWithBothTypeNames) {
  struct Case {
    const char* Name;
    std::function<void()> Action;
    const char* Kind;
    String Message;
  } cases[] = {
      {"null to integer", [] { (void)Variant::Null().AsInteger(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (Null) en type (Integer)"},
      {"null to text", [] { (void)Variant::Null().AsString(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (Null) en type (String)"},
      {"null to boolean", [] { (void)Variant::Null().AsBoolean(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (Null) en type (Boolean)"},
      {"word to double", [] { (void)Variant("abc").AsDouble(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (String) en type (Double)"},
      {"word to int64", [] { (void)Variant("12x").AsInt64(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (String) en type (Int64)"},
      {"word to boolean", [] { (void)Variant("yes").AsBoolean(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (String) en type (Boolean)"},
      {"word to date", [] { (void)Variant("hier").AsDate(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (String) en type (Date)"},
      {"array to text", [] { (void)VarArrayOf({1}).AsString(); }, "EVariantTypeCastError",
       "Impossible de convertir un variant de type (Array Variant) en type (String)"},
      {"null through VarAsType", [] { (void)VarAsType(Variant::Null(), varCurrency); },
       "EVariantTypeCastError",
       "Impossible de convertir un variant de type (Null) en type (Currency)"},
      {"double beyond Integer", [] { (void)Variant(3e9).AsInteger(); }, "EVariantOverflowError",
       "Débordement lors de la conversion du variant de type (Double) en type (Integer)"_a},
      {"int64 beyond Integer", [] { (void)Variant(1LL << 40).AsInteger(); },
       "EVariantOverflowError",
       "Débordement lors de la conversion du variant de type (Int64) en type (Integer)"_a},
      {"byte range", [] { (void)VarAsType(Variant(256), varByte); }, "EVariantOverflowError",
       "Débordement lors de la conversion du variant de type (Integer) en type (Byte)"_a},
      {"smallint range", [] { (void)VarAsType(Variant("40000"), varSmallint); },
       "EVariantOverflowError",
       "Débordement lors de la conversion du variant de type (String) en type (Smallint)"_a},
      {"currency range", [] { (void)Variant(1e300).AsCurrency(); }, "EVariantOverflowError",
       "Débordement lors de la conversion du variant de type (Double) en type (Currency)"_a},
      {"not a simple type", [] { (void)VarAsType(Variant(1), 0x0009); },
       "EVariantBadVarTypeError", "Type variant incorrect"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Raised r = RaisedBy(c.Action);
    EXPECT_EQ(r.Kind, c.Kind);
    EXPECT_EQ(r.Message, c.Message);
  }
}

TEST_F(VariantTest, VarAsTypeConvertsToEachSimpleType) {
  struct Case {
    const char* Name;
    Variant Value;
    TVarType Type;
    Variant Expected;
  } cases[] = {
      {"text to integer", Variant("12"), varInteger, Variant(12)},
      {"double to int64", Variant(2.5), varInt64, Variant(2LL)},
      {"integer to text", Variant(12), varString, Variant("12")},
      {"double to currency", Variant(2.34567), varCurrency, Variant::FromCurrency(2.3457)},
      {"text to date", Variant("31/12/2004"), varDate, Variant::FromDate(kNewYearsEve)},
      {"integer to boolean", Variant(1), varBoolean, Variant(true)},
      {"text to smallint", Variant("-300"), varSmallint, Variant(-300)},
      {"double to byte", Variant(254.6), varByte, Variant(255)},
      {"double to single", Variant(0.1), varSingle, Variant(static_cast<double>(0.1f))},
      {"anything to empty", Variant("x"), varEmpty, Variant()},
      {"anything to null", Variant(1), varNull, Variant::Null()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectVariant(VarAsType(c.Value, c.Type), c.Type, c.Expected);
  }
}

TEST_F(VariantTest, ComparisonAcrossTypes) {
  struct Case {
    const char* Name;
    Variant A, B;
    TVariantRelationship Expected;
  } cases[] = {
      {"integer and double", Variant(1), Variant(1.0), vrEqual},
      {"integers", Variant(2), Variant(10), vrLessThan},
      {"numeric text against a number", Variant("2"), Variant(10), vrLessThan},
      {"number against numeric text", Variant(10), Variant("2,5"), vrGreaterThan},
      {"two texts compare as text", Variant("2"), Variant("10"), vrGreaterThan},
      {"text order", Variant("abc"), Variant("abd"), vrLessThan},
      {"case counts, lower first", Variant("a"), Variant("A"), vrLessThan},
      {"accents after letters", Variant("école"_a), Variant("fleuve"), vrLessThan},
      {"null and null", Variant::Null(), Variant::Null(), vrEqual},
      {"null and a number", Variant::Null(), Variant(1), vrNotEqual},
      {"null and empty", Variant(), Variant::Null(), vrNotEqual},
      {"empty and empty", Variant(), Variant(), vrEqual},
      {"empty is zero", Variant(), Variant(0), vrEqual},
      {"empty is the empty text", Variant(), Variant(""), vrEqual},
      {"empty before text", Variant(), Variant("a"), vrLessThan},
      {"false before true", Variant(true), Variant(false), vrGreaterThan},
      {"boolean against its text", Variant(true), Variant("True"), vrEqual},
      {"true is -1 among numbers", Variant(true), Variant(-1), vrEqual},
      {"date against its text", Variant::FromDate(kNewYearsEve), Variant("31/12/2004"), vrEqual},
      {"date against a number", Variant::FromDate(kNewYearsEve), Variant(38353), vrLessThan},
      {"currency against double", Variant::FromCurrency(1.5), Variant(1.5), vrEqual},
      {"currency against integer", Variant::FromCurrency(2.0001), Variant(2), vrGreaterThan},
      {"int64 beyond double precision", Variant(9007199254740993LL),
       Variant(9007199254740992LL), vrGreaterThan},
      {"not a number", Variant(std::nan("")), Variant(1), vrNotEqual},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TVariantRelationship r = VarCompareValue(c.A, c.B);
    EXPECT_EQ(r, c.Expected);
    EXPECT_EQ(c.A == c.B, c.Expected == vrEqual);
    EXPECT_EQ(c.A != c.B, c.Expected != vrEqual);
    EXPECT_EQ(c.A < c.B, c.Expected == vrLessThan);
    EXPECT_EQ(c.A <= c.B, c.Expected == vrLessThan || c.Expected == vrEqual);
    EXPECT_EQ(c.A > c.B, c.Expected == vrGreaterThan);
    EXPECT_EQ(c.A >= c.B, c.Expected == vrGreaterThan || c.Expected == vrEqual);
  }
  EXPECT_THROW((void)(Variant("abc") == Variant(1)), EVariantTypeCastError);
  EXPECT_THROW((void)(VarArrayOf({1}) == VarArrayOf({1})), EVariantInvalidOpError);
}

TEST_F(VariantTest, ArithmeticPromotesTypes) {
  const Variant date = Variant::FromDate(kNewYearsEve);
  struct Case {
    const char* Name;
    Variant Result;
    TVarType Type;
    Variant Expected;
  } cases[] = {
      {"integer sum", Variant(2) + Variant(3), varInteger, Variant(5)},
      {"integer difference", Variant(2) - Variant(3), varInteger, Variant(-1)},
      {"integer overflow widens to Int64", Variant(INT_MAX) + Variant(1), varInt64,
       Variant(2147483648LL)},
      {"integer product widens", Variant(65536) * Variant(65536), varInt64,
       Variant(4294967296LL)},
      {"Int64 stays Int64", Variant(5LL) + Variant(1), varInt64, Variant(6LL)},
      {"Int64 overflow widens to Double", Variant(LLONG_MAX) + Variant(1), varDouble,
       Variant(9223372036854775808.0)},
      {"integer and double", Variant(2) * Variant(2.5), varDouble, Variant(5.0)},
      {"two texts join", Variant("ab") + Variant("cd"), varString, Variant("abcd")},
      {"numeric texts join too", Variant("1") + Variant("2"), varString, Variant("12")},
      {"empty and text join", Variant() + Variant("x"), varString, Variant("x")},
      {"text plus number adds", Variant("2,5") + Variant(1), varDouble, Variant(3.5)},
      {"texts multiply as numbers", Variant("2") * Variant("3"), varDouble, Variant(6.0)},
      {"empty is zero", Variant() + Variant(1), varInteger, Variant(1)},
      {"true is -1", Variant(true) + Variant(1), varInteger, Variant(0)},
      {"currency and integer", Variant::FromCurrency(1.5) + Variant(1), varCurrency,
       Variant::FromCurrency(2.5)},
      {"currency and double", Variant::FromCurrency(1.5) * Variant(2.5), varCurrency,
       Variant::FromCurrency(3.75)},
      {"currency product rounds half to even, down",
       Variant::FromCurrencyScaled(5) * Variant::FromCurrencyScaled(5000), varCurrency,
       Variant::FromCurrencyScaled(2)},
      {"currency product rounds half to even, up",
       Variant::FromCurrencyScaled(15) * Variant::FromCurrencyScaled(5000), varCurrency,
       Variant::FromCurrencyScaled(8)},
      {"date plus days", date + Variant(1), varDate, Variant::FromDate(kNewYearsEve + 1)},
      {"days plus date", Variant(0.5) + date, varDate, Variant::FromDate(kNewYearsEve + 0.5)},
      {"date minus days", date - Variant(0.5), varDate, Variant::FromDate(kNewYearsEve - 0.5)},
      {"date minus date", date - Variant::FromDate(kNewYearsEve - 3), varDouble, Variant(3.0)},
      {"date times number", date * Variant(2), varDouble, Variant(2 * kNewYearsEve)},
      {"division is real", Variant(7) / Variant(2), varDouble, Variant(3.5)},
      {"exact division is still real", Variant(6) / Variant(3), varDouble, Variant(2.0)},
      {"integer division truncates", VarIntDiv(Variant(-7), Variant(2)), varInteger, Variant(-3)},
      {"integer division rounds reals first", VarIntDiv(Variant(7.5), Variant(2)), varInteger,
       Variant(4)},
      {"integer division of Int64", VarIntDiv(Variant(1LL << 40), Variant(2)), varInt64,
       Variant(1LL << 39)},
      {"mod", VarMod(Variant(7), Variant(3)), varInteger, Variant(1)},
      {"mod keeps the dividend's sign", VarMod(Variant(-7), Variant(3)), varInteger, Variant(-1)},
      {"mod of a negative divisor", VarMod(Variant(7), Variant(-3)), varInteger, Variant(1)},
      {"negation", -Variant(5), varInteger, Variant(-5)},
      {"negating the smallest Integer widens", -Variant(INT_MIN), varInt64,
       Variant(2147483648LL)},
      {"negated currency", -Variant::FromCurrency(1.5), varCurrency, Variant::FromCurrency(-1.5)},
      {"negated text", -Variant("2,5"), varDouble, Variant(-2.5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectVariant(c.Result, c.Type, c.Expected);
  }
}

TEST_F(VariantTest, CompoundAssignmentAccumulates) {
  Variant total = 0;
  for (int i = 1; i <= 4; ++i) total += Variant(i);
  ExpectVariant(total, varInteger, Variant(10));
  total /= Variant(4);
  ExpectVariant(total, varDouble, Variant(2.5));
  Variant text = "a";
  text += Variant("b");
  ExpectVariant(text, varString, Variant("ab"));
}

TEST_F(VariantTest, NullPropagatesThroughOperations) {
  const Variant null = Variant::Null();
  struct Case {
    const char* Name;
    std::function<Variant()> Operation;
  } cases[] = {
      {"null + 1", [&] { return null + Variant(1); }},
      {"text + null", [&] { return Variant("a") + null; }},
      {"1 - null", [&] { return Variant(1) - null; }},
      {"null * text", [&] { return null * Variant("x"); }},
      {"null / 0 does not divide", [&] { return null / Variant(0); }},
      {"div by zero with null", [&] { return VarIntDiv(Variant(1), null); }},
      {"null mod 0", [&] { return VarMod(null, Variant(0)); }},
      {"null and true", [&] { return VarAnd(null, Variant(true)); }},
      {"false or null", [&] { return VarOr(Variant(false), null); }},
      {"null xor 1", [&] { return VarXor(null, Variant(1)); }},
      {"not null", [&] { return VarNot(null); }},
      {"minus null", [&] { return -null; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_TRUE(VarIsNull(c.Operation()));
  }
}

TEST_F(VariantTest, ArithmeticErrors) {
  struct Case {
    const char* Name;
    std::function<void()> Action;
    const char* Kind;
  } cases[] = {
      {"real division by zero", [] { (void)(Variant(1) / Variant(0)); }, "EZeroDivide"},
      {"zero by zero", [] { (void)(Variant(0.0) / Variant(0)); }, "EInvalidOp"},
      {"integer division by zero", [] { (void)VarIntDiv(Variant(1), Variant(0)); }, "EDivByZero"},
      {"mod by zero", [] { (void)VarMod(Variant(1), Variant(0.2)); }, "EDivByZero"},
      {"word plus number", [] { (void)(Variant("abc") + Variant(1)); }, "EVariantTypeCastError"},
      {"word in div", [] { (void)VarIntDiv(Variant("abc"), Variant(1)); },
       "EVariantTypeCastError"},
      {"array plus number", [] { (void)(VarArrayOf({1}) + Variant(1)); },
       "EVariantInvalidOpError"},
      {"real overflow", [] { (void)(Variant(1e308) * Variant(10)); }, "EOverflow"},
      {"currency overflow",
       [] { (void)(Variant::FromCurrencyScaled(LLONG_MAX) + Variant::FromCurrency(1)); },
       "EOverflow"},
      {"smallest Int64 div -1", [] { (void)VarIntDiv(Variant(LLONG_MIN), Variant(-1)); },
       "EIntOverflow"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(RaisedBy(c.Action).Kind, c.Kind);
  }
  EXPECT_EQ(RaisedBy([] { (void)VarIntDiv(Variant(1), Variant(0)); }).Message,
            "Division par zéro"_a);
  ExpectVariant(VarMod(Variant(LLONG_MIN), Variant(-1)), varInt64, Variant(0LL));
}

TEST_F(VariantTest, LogicIsLogicalOnBooleansAndBitwiseOnIntegers) {
  struct Case {
    const char* Name;
    Variant Result;
    TVarType Type;
    Variant Expected;
  } cases[] = {
      {"true and false", VarAnd(Variant(true), Variant(false)), varBoolean, Variant(false)},
      {"true or false", VarOr(Variant(true), Variant(false)), varBoolean, Variant(true)},
      {"true xor true", VarXor(Variant(true), Variant(true)), varBoolean, Variant(false)},
      {"boolean and its text", VarAnd(Variant(true), Variant("False")), varBoolean,
       Variant(false)},
      {"12 and 10", VarAnd(Variant(12), Variant(10)), varInteger, Variant(8)},
      {"12 or 10", VarOr(Variant(12), Variant(10)), varInteger, Variant(14)},
      {"12 xor 10", VarXor(Variant(12), Variant(10)), varInteger, Variant(6)},
      {"true is all bits", VarAnd(Variant(true), Variant(6)), varInteger, Variant(6)},
      {"numeric texts are integers", VarOr(Variant("1"), Variant("2")), varInteger, Variant(3)},
      {"Int64 stays Int64", VarAnd(Variant((1LL << 40) | 1), Variant(3)), varInt64,
       Variant(1LL)},
      {"not true", VarNot(Variant(true)), varBoolean, Variant(false)},
      {"not of boolean text", VarNot(Variant("true")), varBoolean, Variant(false)},
      {"not zero is all bits", VarNot(Variant(0)), varInteger, Variant(-1)},
      {"not of Int64", VarNot(Variant(5LL)), varInt64, Variant(-6LL)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ExpectVariant(c.Result, c.Type, c.Expected);
  }
}

TEST_F(VariantTest, ArraysOfVariants) {
  Variant a = VarArrayCreate(1, 3, varVariant);
  ASSERT_TRUE(VarIsArray(a));
  EXPECT_EQ(VarType(a), varArray | varVariant);
  EXPECT_EQ(VarArrayDimCount(a), 1);
  EXPECT_EQ(VarArrayLowBound(a, 1), 1);
  EXPECT_EQ(VarArrayHighBound(a, 1), 3);
  EXPECT_TRUE(VarIsEmpty(a.GetElement(1)) && VarIsEmpty(a.GetElement(3)));

  a.PutElement(1, Variant("un"));
  VarArrayPut(a, Variant(2.5), 3);
  ExpectVariant(VarArrayGet(a, 1), varString, Variant("un"));
  ExpectVariant(a.GetElement(3), varDouble, Variant(2.5));
  EXPECT_THROW(a.GetElement(0), EVariantBadIndexError);
  EXPECT_THROW(a.PutElement(4, Variant(1)), EVariantBadIndexError);
  EXPECT_THROW(VarArrayHighBound(a, 2), EVariantBadIndexError);

  // Copying a variant copies its array.
  Variant copy = a;
  copy.PutElement(1, Variant("autre"));
  EXPECT_EQ(a.GetElement(1).AsString(), "un");

  VarArrayRedim(a, 4);
  EXPECT_EQ(VarArrayHighBound(a, 1), 4);
  EXPECT_EQ(a.GetElement(1).AsString(), "un");
  EXPECT_TRUE(VarIsEmpty(a.GetElement(4)));
  VarArrayRedim(a, 1);
  EXPECT_EQ(VarArrayHighBound(a, 1), 1);

  Variant empty = VarArrayCreate(5, 4, varVariant);
  EXPECT_EQ(VarArrayHighBound(empty, 1) - VarArrayLowBound(empty, 1) + 1, 0);
  EXPECT_THROW(VarArrayCreate(5, 3, varVariant), EVariantArrayCreateError);
}

TEST_F(VariantTest, ArrayOfValuesAndTypedArrays) {
  Variant list = VarArrayOf({1, "deux", 3.5, VarArrayOf({4})});
  EXPECT_EQ(VarArrayLowBound(list, 1), 0);
  EXPECT_EQ(VarArrayHighBound(list, 1), 3);
  ExpectVariant(list.GetElement(1), varString, Variant("deux"));
  ExpectVariant(list.GetElement(3).GetElement(0), varInteger, Variant(4));

  // A typed array starts at the type's zero and converts what it is given.
  Variant numbers = VarArrayCreate(0, 1, varInteger);
  EXPECT_EQ(VarType(numbers), varArray | varInteger);
  ExpectVariant(numbers.GetElement(0), varInteger, Variant(0));
  numbers.PutElement(1, Variant("12"));
  ExpectVariant(numbers.GetElement(1), varInteger, Variant(12));
  EXPECT_THROW(numbers.PutElement(0, Variant("douze")), EVariantTypeCastError);
  EXPECT_THROW(numbers.PutElement(0, Variant::Null()), EVariantTypeCastError);
  ExpectVariant(VarArrayCreate(0, 0, varString).GetElement(0), varString, Variant(""));

  EXPECT_THROW(Variant(1).GetElement(0), EVariantNotAnArrayError);
  EXPECT_THROW(VarArrayLowBound(Variant("x"), 1), EVariantNotAnArrayError);
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
  EXPECT_THROW(VarArrayCreate(0, 1, varNull), EVariantBadVarTypeError);
}

}  // namespace
