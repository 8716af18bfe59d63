// This file tests the string helpers: conversions, 1-based pieces, searching, replacing, quoting.
#include <gtest/gtest.h>

#include <climits>

#include "Exceptions.h"
#include "StrUtils.h"

namespace {

TEST(StrUtilsIntegers, ReadsTheFormsThePlatformAccepts) {
  struct Case {
    const char* Text;
    int Expected;
  };
  const Case cases[] = {
      {"0", 0},           {"42", 42},          {"   42", 42},      {"-17", -17},
      {"+5", 5},          {"007", 7},          {"$FF", 255},      {"$ff", 255},
      {"0x1f", 31},       {"0X10", 16},        {"-$10", -16},     {"$FFFFFFFF", -1},
      {"$80000000", INT_MIN},                  {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    int v = 0;
    EXPECT_TRUE(TryStrToInt(c.Text, v));
    EXPECT_EQ(v, c.Expected);
    EXPECT_EQ(StrToInt(c.Text), c.Expected);
    EXPECT_EQ(StrToInt64(c.Text), c.Text[0] == '$' && c.Expected < 0 ? (long long)(unsigned)c.Expected : c.Expected);
  }
}

TEST(StrUtilsIntegers, RefusesEverythingElseWithTheFrenchMessage) {
  const char* bad[] = {"", " ", "12 ", "1a", "a1", "1.5", "1,5", "- 1", "--1", "+", "-", "$", "0x",
                       "$G", "2147483648", "-2147483649", "$100000000", "99999999999999999999"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    int v = 1234;
    EXPECT_FALSE(TryStrToInt(text, v));
    EXPECT_EQ(v, 1234);  // untouched on failure
    EXPECT_EQ(StrToIntDef(text, -7), -7);
    try {
      StrToInt(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + String(text) + "' n'est pas une valeur entière correcte"_a);
    }
  }
}

TEST(StrUtilsIntegers, SixtyFourBitsHaveTheirOwnRange) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), LLONG_MIN);
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64Def("9223372036854775808", 3), 3);
  EXPECT_EQ(StrToInt64Def("$10000000000000000", 3), 3);
  EXPECT_THROW(StrToInt64("1e3"), EConvertError);
  long long v = 0;
  EXPECT_FALSE(TryStrToInt64("-9223372036854775809", v));
}

TEST(StrUtilsIntegers, WritesDecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x1A2B, 2), "1A2B");  // Digits is a minimum
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(StrToInt("$" + IntToHex(48879, 1)), 48879);
}

TEST(StrUtilsBooleans, ReadsWordsAndNumbers) {
  struct Case {
    const char* Text;
    bool Expected;
  };
  const Case cases[] = {{"True", true}, {"true", true}, {"FALSE", false}, {"0", false},
                        {"-1", true},   {"7", true},    {" 0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(StrToBool(c.Text), c.Expected);
    EXPECT_EQ(StrToBoolDef(c.Text, !c.Expected), c.Expected);
  }
  for (const char* text : {"", "yes", "Vrai", "True "}) {
    SCOPED_TRACE(text);
    bool b = true;
    EXPECT_FALSE(TryStrToBool(text, b));
    EXPECT_TRUE(StrToBoolDef(text, true));
    try {
      StrToBool(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + String(text) + "' n'est pas une valeur booléenne correcte"_a);
    }
  }
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
}

TEST(StrUtilsText, TrimsBlanksAndControlsButNotNoBreakSpace) {
  const String s = "\t a b \r\n";
  EXPECT_EQ(Trim(s), "a b");
  EXPECT_EQ(TrimLeft(s), "a b \r\n");
  EXPECT_EQ(TrimRight(s), "\t a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(StrUtilsText, CaseChangesAsciiOrEvery1252Letter) {
  EXPECT_EQ(UpperCase("déjà vu"_a), "DéJà VU"_a);
  EXPECT_EQ(LowerCase("ÉTÉ"_a), "ÉtÉ"_a);
  EXPECT_EQ(AnsiUpperCase("déjà œuvre ÿ ß"_a), "DÉJÀ ŒUVRE Ÿ ß"_a);
  EXPECT_EQ(AnsiLowerCase("ÉTÉ ŒUF Ÿ"_a), "été œuf ÿ"_a);
}

TEST(StrUtilsPositions, CopyClampsLikeThePlatform) {
  struct Case {
    int Index, Count;
    const char* Expected;
  };
  const Case cases[] = {
      {1, 3, "abc"}, {2, 2, "bc"}, {4, 10, "de"}, {0, 2, "ab"}, {-5, 2, "ab"}, {5, 1, "e"},
      {6, 1, ""},    {2, 0, ""},   {2, -1, ""},   {1, INT_MAX, "abcde"},        {INT_MAX, INT_MAX, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Index << "," << c.Count);
    EXPECT_EQ(Copy("abcde", c.Index, c.Count), c.Expected);
    EXPECT_EQ(MidStr("abcde", c.Index, c.Count), c.Expected);
  }
}

TEST(StrUtilsPositions, DeleteOutOfRangeDoesNothing) {
  struct Case {
    int Index, Count;
    const char* Expected;
  };
  const Case cases[] = {{1, 2, "cde"}, {2, 2, "ade"}, {4, 99, "abc"}, {1, INT_MAX, ""}, {0, 2, "abcde"},
                        {-1, 2, "abcde"}, {6, 1, "abcde"}, {2, 0, "abcde"}, {2, -3, "abcde"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Index << "," << c.Count);
    String s = "abcde";
    Delete(s, c.Index, c.Count);
    EXPECT_EQ(s, c.Expected);
  }
}

TEST(StrUtilsPositions, InsertClampsToBothEnds) {
  struct Case {
    int Index;
    const char* Expected;
  };
  const Case cases[] = {{1, "XYabc"}, {2, "aXYbc"}, {4, "abcXY"}, {99, "abcXY"}, {0, "XYabc"}, {-3, "XYabc"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Index);
    String s = "abc";
    Insert("XY", s, c.Index);
    EXPECT_EQ(s, c.Expected);
  }
}

TEST(StrUtilsPositions, PosFindsOneBasedPositions) {
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(AnsiPos("é"_a, "café"_a), 4);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
  EXPECT_EQ(Pos("B", "abc"), 0);  // case counts
  struct Case {
    int Offset, Expected;
  };
  const Case cases[] = {{1, 2}, {2, 2}, {3, 4}, {5, 0}, {0, 0}, {-1, 0}, {99, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Offset);
    EXPECT_EQ(PosEx("b", "abcb", c.Offset), c.Expected);
  }
}

TEST(StrUtilsPositions, DelimitersAreFoundByPosition) {
  const String path = "c:\\dir.d\\file.txt";
  EXPECT_EQ(LastDelimiter("\\.:", path), 14);
  EXPECT_EQ(LastDelimiter("\\:", path), 9);
  EXPECT_EQ(LastDelimiter("/", path), 0);
  EXPECT_TRUE(IsDelimiter("\\.", path, 3));
  EXPECT_FALSE(IsDelimiter("\\.", path, 4));
  EXPECT_FALSE(IsDelimiter("\\.", path, 0));
  EXPECT_FALSE(IsDelimiter("\\.", path, 18));
}

TEST(StrUtilsPieces, TakeAndRepeat) {
  EXPECT_EQ(LeftStr("abc", 2), "ab");
  EXPECT_EQ(LeftStr("abc", 9), "abc");
  EXPECT_EQ(LeftStr("abc", -1), "");
  EXPECT_EQ(RightStr("abc", 2), "bc");
  EXPECT_EQ(RightStr("abc", 9), "abc");
  EXPECT_EQ(RightStr("abc", 0), "");
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -2), "");
  EXPECT_EQ(DupeString("ab", 3), "ababab");
  EXPECT_EQ(DupeString("ab", 0), "");
  EXPECT_EQ(ReverseString("été!"_a), "!été"_a);
}

TEST(StrUtilsSearch, TextFormsIgnore1252CaseAndStrFormsDoNot) {
  EXPECT_TRUE(StartsText("ÉCO"_a, "école"_a));
  EXPECT_FALSE(StartsStr("ÉCO"_a, "école"_a));
  EXPECT_TRUE(StartsStr("éco"_a, "école"_a));
  EXPECT_FALSE(StartsText("eco", "école"_a));  // accents still count
  EXPECT_TRUE(EndsText("ŒUF"_a, "un œuf"_a));
  EXPECT_FALSE(EndsStr("ŒUF"_a, "un œuf"_a));
  EXPECT_TRUE(EndsStr("uf", "un œuf"_a));
  EXPECT_FALSE(StartsText("longer", "long"));
  EXPECT_FALSE(EndsText("longer", "er"));
  EXPECT_TRUE(StartsText("", "x"));
  EXPECT_TRUE(ContainsText("Zone Humide", "HUM"));
  EXPECT_TRUE(ContainsText("Forêt"_a, "FORÊT"_a));
  EXPECT_FALSE(ContainsText("Foret", "FORÊT"_a));
  EXPECT_TRUE(ContainsStr("Zone Humide", "Hum"));
  EXPECT_FALSE(ContainsStr("Zone Humide", "HUM"));
}

TEST(StrUtilsReplace, HonoursTheFlags) {
  struct Case {
    const char* S;
    const char* Old;
    const char* New;
    TReplaceFlags Flags;
    const char* Expected;
  };
  const Case cases[] = {
      {"a-b-c", "-", "+", 0, "a+b-c"},
      {"a-b-c", "-", "+", rfReplaceAll, "a+b+c"},
      {"aXbxc", "x", "_", rfReplaceAll, "aXb_c"},
      {"aXbxc", "x", "_", rfReplaceAll | rfIgnoreCase, "a_b_c"},
      {"aXbxc", "x", "_", rfIgnoreCase, "a_bxc"},
      {"\xC9t\xE9", "\xE9", "e", rfReplaceAll | rfIgnoreCase, "ete"},  // É and é
      {"aaa", "a", "aa", rfReplaceAll, "aaaaaa"},                     // no rescan of the new text
      {"aaaa", "aa", "b", rfReplaceAll, "bb"},
      {"abc", "", "x", rfReplaceAll, "abc"},
      {"abc", "abc", "", 0, ""},
      {"", "a", "b", rfReplaceAll, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.S << " " << c.Old << " " << c.Flags);
    EXPECT_EQ(StringReplace(c.S, c.Old, c.New, c.Flags), c.Expected);
  }
}

TEST(StrUtilsQuotes, QuoteAndUnquote) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");

  const char* text = "'it''s' rest";
  const char* p = text;
  EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "it's");
  EXPECT_EQ(p, text + 7);  // just after the closing quote
  const char* open = "'never closed";
  p = open;
  EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "never closed");
  EXPECT_EQ(*p, '\0');
  const char* bare = "bare";
  p = bare;
  EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), "");
  EXPECT_EQ(p, bare);

  struct Case {
    const char* S;
    const char* Expected;
  };
  const Case cases[] = {{"'abc'", "abc"}, {"'a''b'", "a'b"}, {"abc", "abc"},   {"'abc", "'abc"},
                        {"''", ""},       {"", ""},          {"'ab'cd", "ab"}, {"\"x\"", "\"x\""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.S);
    EXPECT_EQ(AnsiDequotedStr(c.S, '\''), c.Expected);
  }
  EXPECT_EQ(AnsiDequotedStr(AnsiQuotedStr("a\"b", '"'), '"'), "a\"b");
}

TEST(StrUtilsLines, EveryBreakBecomesCrLf) {
  struct Case {
    const char* S;
    const char* Expected;
  };
  const Case cases[] = {{"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd"}, {"\n\r", "\r\n\r\n"}, {"\r\r\n", "\r\n\r\n"},
                        {"\r\n\r\n", "\r\n\r\n"},            {"end\r", "end\r\n"}, {"none", "none"},
                        {"a\n\nb", "a\r\n\r\nb"}};
  for (const Case& c : cases) {
    EXPECT_EQ(AdjustLineBreaks(c.S), c.Expected);
  }
}

}  // namespace
