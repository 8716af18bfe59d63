// Tests of Format: each directive type with width and precision, arguments taken by "*" and by
// index, the locale settings read at call time, and the errors of bad directives and arguments.
#include <gtest/gtest.h>

#include <climits>

#include "Exceptions.h"
#include "Format.h"
#include "FormatSettings.h"

namespace {

class FormatTest : public ::testing::Test {
 protected:
  void TearDown() override { FormatSettings = TFormatSettings::French(); }
};

struct TOneArgCase {
  const char* Fmt;
  TVarRec Arg;
  const char* Expected;
};

TEST_F(FormatTest, IntegersWithWidthPrecisionAndHex) {
  const TOneArgCase cases[] = {
      {"%d", 42, "42"},
      {"%d", -42, "-42"},
      {"%D", 7, "7"},
      {"[%5d]", 42, "[   42]"},
      {"[%-5d]", 42, "[42   ]"},
      {"[%1d]", 12345, "[12345]"},  // a width never cuts
      {"%.5d", -42, "-00042"},      // precision counts digits, the sign goes first
      {"[%5.3d]", 7, "[  007]"},
      {"%d", 1LL << 40, "1099511627776"},
      {"%d", 4000000000u, "4000000000"},
      {"%d", ULLONG_MAX, "18446744073709551615"},
      {"%u", -1, "4294967295"},
      {"%u", 42u, "42"},
      {"%x", 255, "FF"},
      {"%X", 48879, "BEEF"},
      {"%.4x", 255, "00FF"},
      {"[%2.2x]", 10, "[0A]"},
      {"%x", -1, "FFFFFFFF"},
      {"%x", -1LL, "FFFFFFFFFFFFFFFF"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.Fmt, {c.Arg}), c.Expected) << c.Fmt;
}

TEST_F(FormatTest, FloatsUseTheLocalSeparatorsAndCurrency) {
  const TOneArgCase cases[] = {
      {"%f", 1.5, "1,50"},
      {"%.3f", 2.0 / 3, "0,667"},
      {"%.0f", 2.5, "3"},
      {"%.2f", 2.675, "2,68"},
      {"%.2f", -0.001, "0,00"},
      {"[%8.2f]", 3.14159, "[    3,14]"},
      {"[%-8.2f]", -3.14159, "[-3,14   ]"},
      {"%f", 1e17, "100000000000000000,00"},
      {"%e", 1000.0, "1,00000000000000E+003"},
      {"%.3e", -1234.5, "-1,23E+003"},
      {"%e", 0.0, "0,00000000000000E+000"},
      {"%.2e", 1.5e-10, "1,5E-010"},
      {"%g", 1.5, "1,5"},
      {"%g", 0.1 + 0.2, "0,3"},
      {"%.3g", 1234.5, "1,23E3"},
      {"%g", 1e-7, "1E-7"},
      {"%n", 1234567.891, "1\xA0" "234\xA0" "567,89"},
      {"%.0n", -1234.5, "-1\xA0" "235"},
      {"%m", -1234.5, "-1\xA0" "234,50 \x80"},
      {"%.1m", 2.25, "2,3 \x80"},
      {"%f", 1.5L, "1,50"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.Fmt, {c.Arg}), c.Expected) << c.Fmt;
}

TEST_F(FormatTest, FloatsReadTheSettingsAtCallTime) {
  FormatSettings.DecimalSeparator = '.';
  FormatSettings.ThousandSeparator = ',';
  FormatSettings.CurrencyString = "$";
  FormatSettings.CurrencyFormat = 0;
  FormatSettings.CurrencyDecimals = 3;
  EXPECT_EQ(Format("%n|%m|%f", {1234567.891, 1.5, 0.25}), "1,234,567.89|$1.500|0.25");
}

TEST_F(FormatTest, TextCharactersAndPointers) {
  const String accented = "déjà"_a;
  const char* none = nullptr;
  // The table points into its arguments: they must outlive it.
  const String abcdef("abcdef");
  const TOneArgCase cases[] = {
      {"%s", "abc", "abc"},
      {"%s", accented, "déjà"_a},
      {"[%5s]", "ab", "[   ab]"},
      {"[%-5s]", "ab", "[ab   ]"},
      {"%.2s", "abcdef", "ab"},
      {"[%5.2s]", abcdef, "[   ab]"},
      {"%.0s", "abc", ""},
      {"%s", 'c', "c"},
      {"[%s]", none, "[]"},
      {"%p", reinterpret_cast<const void*>(0x1234), "00001234"},
      {"%p", static_cast<const void*>(nullptr), "00000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.Fmt, {c.Arg}), c.Expected) << c.Fmt;
}

TEST_F(FormatTest, PercentSignsAndPlainText) {
  EXPECT_EQ(Format("", {}), "");
  EXPECT_EQ(Format("no directive", {}), "no directive");
  EXPECT_EQ(Format("%d%%", {75}), "75%");
  EXPECT_EQ(Format("%%d", {}), "%d");
  EXPECT_EQ(Format("%d", {1, 2}), "1");  // extra arguments are ignored
}

TEST_F(FormatTest, StarTakesWidthAndPrecisionFromTheArguments) {
  EXPECT_EQ(Format("%*s%s", {8, "#", " "}), "       # ");
  EXPECT_EQ(Format("[%-*s]", {4, "ab"}), "[ab  ]");
  EXPECT_EQ(Format("%.*f", {3, 1.0}), "1,000");
  EXPECT_EQ(Format("[%*.*f]", {8, 2, 3.14159}), "[    3,14]");
  EXPECT_EQ(Format("[%*d]", {-3, 5}), "[5]");  // a negative width pads nothing
}

TEST_F(FormatTest, IndexSelectsTheArgumentAndTheFollowingOnesContinueFromIt) {
  EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
  EXPECT_EQ(Format("%1:s %s %0:s %s", {"a", "b", "c"}), "b c a b");
  EXPECT_EQ(Format("%0:s-%0:s", {"x"}), "x-x");
  EXPECT_EQ(Format("[%0:-4d]", {7}), "[7   ]");
  EXPECT_EQ(Format("%*:s", {1, "y"}), "y");  // index from the arguments: 1 names "y"
}

// Up to two arguments; Count says how many the call passes.
struct TBadCase {
  const char* Fmt;
  int Count;
  TVarRec First = 0;
  TVarRec Second = 0;
};

String FormatCase(const TBadCase& c) {
  if (c.Count == 0) return Format(c.Fmt, {});
  if (c.Count == 1) return Format(c.Fmt, {c.First});
  return Format(c.Fmt, {c.First, c.Second});
}

TEST_F(FormatTest, BadDirectivesAndMismatchedArgumentsRaiseConvertError) {
  const TBadCase cases[] = {
      {"%d", 1, 1.5},     {"%d", 1, "12"},    {"%d", 1, true},      {"%x", 1, 2.0},
      {"%f", 1, 1},       {"%e", 1, "1"},     {"%m", 1, '1'},       {"%s", 1, 1},
      {"%s", 1, 2.5},     {"%s", 1, false},   {"%p", 1, 1},         {"%s", 0},
      {"%d %d", 1, 1},    {"%2:d", 2, 1, 2},  {"%*d", 2, "x", 1},   {"%.*f", 2, 1.5, 1.0},
      {"%", 1, 1},        {"abc%", 0},        {"%5", 1, 1},         {"%z", 1, 1},
      {"%-", 1, 1},
  };
  for (const auto& c : cases) EXPECT_THROW(FormatCase(c), EConvertError) << c.Fmt;
  try {
    Format("%d", {"x"});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Format '%d' incorrect ou incompatible avec l'argument");
  }
}

}  // namespace
