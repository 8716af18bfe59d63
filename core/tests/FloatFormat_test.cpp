// Tests of the float conversions: general and fixed forms, the picture language, scanning and
// decimal rounding, under the French settings and under changed ones.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Exceptions.h"
#include "FloatFormat.h"
#include "FormatSettings.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
// The French thousand separator (no-break space, byte 0xA0), spliced into expected texts.
#define NBSP "\xA0"

// Every test may change the settings; they are restored afterwards.
class FloatFormatTest : public ::testing::Test {
 protected:
  void TearDown() override { FormatSettings = TFormatSettings::French(); }
  static void UseEnglishSeparators() {
    FormatSettings.DecimalSeparator = '.';
    FormatSettings.ThousandSeparator = ',';
  }
};

struct TToStrCase {
  double Value;
  const char* Expected;
};

TEST_F(FloatFormatTest, FloatToStrUsesFifteenDigitsAndSwitchesToExponentOutsideItsRange) {
  const TToStrCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-1.5, "-1,5"},
      {1234.5, "1234,5"},
      {0.1, "0,1"},
      {0.1 + 0.2, "0,3"},
      {1.0 / 3, "0,333333333333333"},
      {2.0 / 3, "0,666666666666667"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {123456789012345678.0, "1,23456789012346E17"},
      {1.5e20, "1,5E20"},
      {0.00001, "0,00001"},
      {0.0000123, "0,0000123"},
      {0.000001, "1E-6"},
      {1e-7, "1E-7"},
      {-1.5e-7, "-1,5E-7"},
      {9.9999999999999999e22, "1E23"},
      {std::numeric_limits<double>::denorm_min(), "4,94065645841247E-324"},
      {kNaN, "NAN"},
      {kInf, "INF"},
      {-kInf, "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.Value), c.Expected) << c.Value;
}

TEST_F(FloatFormatTest, FloatToStrReadsTheDecimalSeparatorAtCallTime) {
  UseEnglishSeparators();
  EXPECT_EQ(FloatToStr(-1234.5), "-1234.5");
  EXPECT_EQ(FloatToStr(2.5e-7), "2.5E-7");
}

struct TToStrFCase {
  double Value;
  TFloatFormat Format;
  int Precision;
  int Digits;
  const char* Expected;
};

TEST_F(FloatFormatTest, FloatToStrFFormsRoundHalfAwayFromZeroAtTheirDigits) {
  const TToStrFCase cases[] = {
      {1234.5, ffFixed, 15, 2, "1234,50"},
      {1234.5, ffNumber, 15, 2, "1" NBSP "234,50"},
      {1234567.891, ffNumber, 15, 2, "1" NBSP "234" NBSP "567,89"},
      {123.0, ffNumber, 15, 0, "123"},
      {-1234.5, ffNumber, 15, 0, "-1" NBSP "235"},
      {2.675, ffFixed, 15, 2, "2,68"},  // a double just below 2.675, read at 15 digits
      {-2.675, ffFixed, 15, 2, "-2,68"},
      {0.125, ffFixed, 15, 2, "0,13"},
      {999.96, ffFixed, 15, 1, "1000,0"},
      {-0.001, ffFixed, 15, 2, "0,00"},  // a negative value shown as zero has no sign
      {1.23456, ffFixed, 3, 4, "1,2300"},  // three significant digits, then zeros
      {0.5, ffFixed, 15, 0, "1"},
      {1e20, ffFixed, 15, 2, "1E20"},  // more integer digits than the precision
      {1e17, ffFixed, 18, 2, "100000000000000000,00"},
      {1234.5, ffExponent, 4, 2, "1,235E+03"},
      {1000.0, ffExponent, 15, 3, "1,00000000000000E+003"},
      {0.00012345, ffExponent, 3, 0, "1,23E-4"},
      {-9.99, ffExponent, 2, 1, "-1,0E+1"},
      {0.0, ffExponent, 3, 2, "0,00E+00"},
      {123456.0, ffGeneral, 3, 0, "1,23E5"},
      {9.9999, ffGeneral, 3, 0, "10"},
      {1e-7, ffGeneral, 15, 2, "1E-07"},
      {1.5e20, ffGeneral, 15, 3, "1,5E020"},
      {1234.5, ffCurrency, 15, 2, "1" NBSP "234,50 \x80"},
      {-1234.5, ffCurrency, 15, 2, "-1" NBSP "234,50 \x80"},
      {-0.004, ffCurrency, 15, 2, "0,00 \x80"},
      {kNaN, ffFixed, 15, 2, "NAN"},
      {-kInf, ffCurrency, 15, 2, "-INF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected)
        << c.Value << " format " << c.Format << " " << c.Precision << "/" << c.Digits;
}

struct TCurrencyCase {
  int Layout;
  const char* Expected;
};

TEST_F(FloatFormatTest, CurrencyFollowsTheSettingsLayouts) {
  UseEnglishSeparators();
  FormatSettings.CurrencyString = "$";
  const TCurrencyCase positive[] = {{0, "$1,234.50"}, {1, "1,234.50$"}, {2, "$ 1,234.50"},
                                    {3, "1,234.50 $"}};
  for (const auto& c : positive) {
    FormatSettings.CurrencyFormat = c.Layout;
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), c.Expected) << c.Layout;
  }
  const TCurrencyCase negative[] = {
      {0, "($1.50)"},  {1, "-$1.50"},  {2, "$-1.50"},   {3, "$1.50-"},
      {4, "(1.50$)"},  {5, "-1.50$"},  {6, "1.50-$"},   {7, "1.50$-"},
      {8, "-1.50 $"},  {9, "-$ 1.50"}, {10, "1.50 $-"}, {11, "$ 1.50-"},
      {12, "$ -1.50"}, {13, "1.50- $"}, {14, "($ 1.50)"}, {15, "(1.50 $)"},
  };
  for (const auto& c : negative) {
    FormatSettings.NegCurrFormat = c.Layout;
    EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2), c.Expected) << c.Layout;
  }
}

struct TPictureCase {
  const char* Pattern;
  double Value;
  const char* Expected;
};

TEST_F(FloatFormatTest, FormatFloatFillsDigitPlaceholders) {
  const TPictureCase cases[] = {
      {"0.00", 2.675, "2,68"},
      {"0.00", 1.005, "1,01"},
      {"0", 0.5, "1"},
      {"0", 2.5, "3"},  // half away from zero, not to even
      {"0", -2.5, "-3"},
      {"#,##0.00", 1234567.891, "1" NBSP "234" NBSP "567,89"},
      {"#,##0.00", -1234567.891, "-1" NBSP "234" NBSP "567,89"},
      {"#,##0.00", 0.0, "0,00"},
      {"#,##0", 999.5, "1" NBSP "000"},
      {"#,##0", 12.0, "12"},
      {"0.##", 1.5, "1,5"},
      {"0.##", 1.0, "1"},
      {"0.##", 1.999, "2"},
      {"0.0#", 1.0, "1,0"},
      {"#.##", 0.5, ",5"},
      {"#", 0.0, ""},
      {"000", 7.0, "007"},
      {"00-00", 1234.0, "12-34"},
      {"00-00", 123456.0, "1234-56"},
      {".00", 12.5, "12,50"},
      {"0.0", -0.0, "0,0"},
      {"0", 1e17, "100000000000000000"},
      {"0", 1e20, "1E20"},  // more integer digits than a double stands for
      {"", 1.5, "1,5"},
      {"0.00", kNaN, "NAN"},
      {"0.00", -kInf, "-INF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.Pattern, c.Value), c.Expected) << c.Pattern << " " << c.Value;
}

TEST_F(FloatFormatTest, FormatFloatExponentAndLiteralText) {
  const TPictureCase cases[] = {
      {"0.00E+00", 1234.5, "1,23E+03"},
      {"0.00E-00", 1234.5, "1,23E03"},
      {"0.00E-00", 0.0012345, "1,23E-03"},
      {"0.00E+00", -0.0012355, "-1,24E-03"},
      {"00.0E+0", 1234.5, "12,3E+2"},
      {"0.0e+000", 0.0, "0,0e+000"},
      {"0.00E+00", 9.999, "1,00E+01"},
      {"0.0E", 5.0, "5,0E"},  // E without a sign and zeros is plain text
      {"'Total : '0.00", 5.0, "Total : 5,00"},
      {"0.00\" kg\"", 5.0, "5,00 kg"},
      {"0.0 %", 12.34, "12,3 %"},
      {"'0.#,;'0", 5.0, "0.#,;5"},  // placeholders, marks and ';' inside quotes are text
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.Pattern, c.Value), c.Expected) << c.Pattern << " " << c.Value;
}

TEST_F(FloatFormatTest, FormatFloatChoosesAmongPositiveNegativeAndZeroSections) {
  const TPictureCase cases[] = {
      {"0.00;(0.00)", 5.0, "5,00"},
      {"0.00;(0.00)", -5.0, "(5,00)"},  // the negative section shows no sign of its own
      {"0.00;(0.00);'zéro'"_a, 0.0, "zéro"_a},
      {"0.00;(0.00);'zéro'"_a, 0.001, "zéro"_a},  // rounds to zero at the picture's decimals
      {"0.00;(0.00);'zéro'"_a, -0.001, "zéro"_a},
      {"0.00;(0.00);'zéro'"_a, -0.005, "(0,01)"},
      {"0.00;(0.00)", -0.001, "0,00"},  // no zero section: the first one, unsigned
      {"0;-0;'nul'", 0.4, "nul"},
      {"0.00;;'nul'", -5.0, "-5,00"},  // an empty section falls back to the first, signed
      {"#,##0.00;[#,##0.00];-", 0.0, "-"},
      {"0.0;0.00;0.000", 0.0, "0,000"},  // the zero section formats the zero itself
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.Pattern, c.Value), c.Expected) << c.Pattern << " " << c.Value;
}

TEST_F(FloatFormatTest, FormatFloatReadsTheSeparatorsAtCallTime) {
  UseEnglishSeparators();
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
  FormatSettings.ThousandSeparator = ' ';
  EXPECT_EQ(FormatFloat("#,##0.00", -1234567.0), "-1 234 567.00");
}

struct TScanCase {
  const char* Text;
  double Expected;
};

TEST_F(FloatFormatTest, StrToFloatAcceptsTheLocalNotation) {
  const TScanCase cases[] = {
      {"1,5", 1.5},       {"  -1,5  ", -1.5}, {"+2", 2.0},         {"0", 0.0},
      {"1E3", 1000.0},    {"1,5e-3", 0.0015}, {"2,5E+2", 250.0},   {",5", 0.5},
      {"1,", 1.0},        {"2,675", 2.675},   {"0,1", 0.1},        {"007", 7.0},
      {"123456789012345678", 123456789012345678.0},
      {"1,7976931348623157E308", std::numeric_limits<double>::max()},
      {"1E-400", 0.0},  // below the smallest double: zero
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_TRUE(TryStrToFloat(c.Text, v)) << c.Text;
    EXPECT_EQ(v, c.Expected) << c.Text;  // exact: the nearest double
    EXPECT_EQ(StrToFloat(c.Text), c.Expected) << c.Text;
  }
}

TEST_F(FloatFormatTest, StrToFloatRejectsOtherNotations) {
  const char* bad[] = {"", "   ", "1.5", "1" NBSP "000", "1 000", "abc", "1E", "1E+", ",", "-", "+",
                       "1,5,5", "1e5x", "--1", "1E400", "-1E400", "INF", "NAN", "0x10", "\t1"};
  for (const char* text : bad) {
    double v = 42;
    EXPECT_FALSE(TryStrToFloat(text, v)) << text;
    EXPECT_EQ(v, 42) << "left unchanged on failure: " << text;
    EXPECT_EQ(StrToFloatDef(text, -7.5), -7.5) << text;
    EXPECT_THROW(StrToFloat(text), EConvertError) << text;
  }
  try {
    StrToFloat("12a");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'12a' n'est pas une valeur en virgule flottante correcte");
  }
}

TEST_F(FloatFormatTest, StrToFloatFollowsTheDecimalSeparatorSetting) {
  UseEnglishSeparators();
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  double v = 0;
  EXPECT_FALSE(TryStrToFloat("1,5", v));
}

TEST_F(FloatFormatTest, FloatToStrAndStrToFloatRoundTripAtFifteenDigits) {
  const double values[] = {0.1, -2.675, 1.0 / 3, 123456.789, 1e-7, 6.02214076e23, -1e15, 4.9e-324};
  for (double v : values) {
    String text = FloatToStr(v);
    EXPECT_EQ(FloatToStr(StrToFloat(text)), text) << text;
  }
}

struct TRoundCase {
  double Value;
  int Digit;
  double Expected;
};

TEST_F(FloatFormatTest, RoundToRoundsHalfToEvenAtAPowerOfTen) {
  const TRoundCase cases[] = {
      {1.235, -2, 1.24},  {1.245, -2, 1.24},  // both stored a hair above the half
      {-1.245, -2, -1.24}, {1.2450000001, -2, 1.25},
      {2.5, 0, 2.0},      {3.5, 0, 4.0},      {-2.5, 0, -2.0},   {0.5, 0, 0.0},
      {1234567.0, 3, 1235000.0}, {1234500.0, 3, 1234000.0}, {1235500.0, 3, 1236000.0},
      {0.1 + 0.2, -2, 0.3},  // the result is the double nearest the decimal
      {99.995, -2, 100.0},   {0.004999, -2, 0.0},
      {12.3456789, -4, 12.3457}, {1234.5678, 0, 1235.0}, {-1234.5678, -1, -1234.6},
      {1e20, -2, 1e20},      {0.0, -2, 0.0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RoundTo(c.Value, c.Digit), c.Expected) << c.Value << " at 1E" << c.Digit;
  EXPECT_FALSE(std::signbit(RoundTo(-0.001, -2)));
  EXPECT_TRUE(std::isnan(RoundTo(kNaN, -2)));
}

TEST_F(FloatFormatTest, RoundingTwiceChangesNothing) {
  // Field handlers store the rounded value only when it differs from the value: a second pass
  // must find nothing to change.
  const double values[] = {1.245, 2.675, 0.1 + 0.2, 12.34565, 1234.5678, -0.00005, 99999.99995,
                           1e-10, 123456789.123456};
  for (double v : values) {
    for (int digit : {-4, -3, -2, 0, 2}) {
      double once = RoundTo(v, digit);
      EXPECT_EQ(RoundTo(once, digit), once) << v << " at 1E" << digit;
      double simple = SimpleRoundTo(v, digit);
      EXPECT_EQ(SimpleRoundTo(simple, digit), simple) << v << " at 1E" << digit;
    }
  }
}

TEST_F(FloatFormatTest, SimpleRoundToRoundsHalfAwayFromZero) {
  const TRoundCase cases[] = {
      {2.5, 0, 3.0},    {-2.5, 0, -3.0},   {1.245, -2, 1.25}, {-1.245, -2, -1.25},
      {1.235, -2, 1.24}, {1.234, -2, 1.23}, {1250.0, 2, 1300.0}, {0.1 + 0.2, -1, 0.3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SimpleRoundTo(c.Value, c.Digit), c.Expected) << c.Value << " at 1E" << c.Digit;
  EXPECT_EQ(SimpleRoundTo(1.005), 1.01);  // hundredths by default
}

TEST_F(FloatFormatTest, CurrToStrKeepsFourDecimals) {
  const TToStrCase cases[] = {
      {1.23456, "1,2346"}, {1.5, "1,5"},  {-3.0, "-3"},     {1.00005, "1"},  // half to even
      {1.00015, "1,0002"}, {0.0, "0"},    {1234567.12345, "1234567,1234"},
  };
  for (const auto& c : cases) EXPECT_EQ(CurrToStr(c.Value), c.Expected) << c.Value;
}

}  // namespace
