// This file tests the 1252 string foundation: the _a literal, the conversions to and from UTF-8 and
// UTF-16, and 1252 case mapping.
#include <gtest/gtest.h>

#include <vector>

#include "AnsiString.h"

namespace {

// Checked while compiling too: the literal is a compile-time conversion.
static_assert("é"_a[0] == '\xE9' && "é"_a[1] == '\0');

TEST(AnsiLiteral, ConvertsUtf8SourceTo1252Bytes) {
  struct Case {
    const char* Literal;
    String Bytes;
  };
  const Case cases[] = {
      {"é"_a, "\xE9"},
      {"€"_a, "\x80"},
      {"œ"_a, "\x9C"},
      {"Ÿ"_a, "\x9F"},
      {"’"_a, "\x92"},
      {"\u00A0"_a, "\xA0"},
      {"déjà"_a, "d\xE9j\xE0"},
      {"plain"_a, "plain"},
      {""_a, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(String(c.Literal), c.Bytes);
}

String AllBytes() {
  String s;
  for (int b = 0; b < 256; ++b) s += char(b);
  return s;
}

TEST(AnsiConversions, EveryByteSurvivesTheRoundTrips) {
  const String all = AllBytes();
  const std::string utf8 = AnsiToUtf8(all);
  const WideString wide = AnsiToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(Utf8ToAnsi(utf8), all);
  EXPECT_EQ(WideToAnsi(wide), all);
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(AnsiConversions, BytesMapToTheirCodePoints) {
  struct Case {
    unsigned char Byte;
    char16_t Unicode;
    const char* Utf8;
  };
  const Case cases[] = {
      {0x41, u'A', "A"},
      {0x80, u'\u20AC', "\xE2\x82\xAC"},
      {0x81, u'\u0081', "\xC2\x81"},  // undefined in 1252: kept as the C1 control
      {0x92, u'\u2019', "\xE2\x80\x99"},
      {0x9C, u'\u0153', "\xC5\x93"},
      {0x9F, u'\u0178', "\xC5\xB8"},
      {0xA0, u'\u00A0', "\xC2\xA0"},
      {0xE9, u'\u00E9', "\xC3\xA9"},
      {0xFF, u'\u00FF', "\xC3\xBF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Byte));
    const String s(1, char(c.Byte));
    EXPECT_EQ(AnsiToWide(s), WideString(1, c.Unicode));
    EXPECT_EQ(AnsiToUtf8(s), c.Utf8);
  }
}

TEST(AnsiConversions, CharactersOutside1252BecomeOneQuestionMark) {
  EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD" "b"), "a?b");          // U+4E2D
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");              // U+1F600, four bytes
  EXPECT_EQ(WideToAnsi(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(WideToAnsi(u"\U0001F600"), "?");                   // a surrogate pair is one character
  EXPECT_EQ(WideToAnsi(u"\u0080"), "?");                       // the C1 control that € displaced
  EXPECT_EQ(WideToAnsi(WideString(1, char16_t(0xD800)) + u"x"), "?x");  // lone surrogate
}

TEST(AnsiConversions, MalformedUtf8IsKeptAs1252Text) {
  struct Case {
    std::string Input;
    String Expected;
  };
  const Case cases[] = {
      {"\xE9t\xE9", "\xE9t\xE9"},                 // "été" saved in 1252
      {"caf\xC3\xA9 \xE9", "caf\xE9 \xE9"},       // UTF-8 and 1252 mixed
      {"\xC3", "\xC3"},                           // truncated at the end
      {"\xC3(", "\xC3("},                         // missing continuation byte
      {"\xA9", "\xA9"},                           // stray continuation byte
      {"\xC0\xAF", "\xC0\xAF"},                   // overlong '/': the 1252 text "À¯"
      {"\xE0\x80\xAF", "\xE0\x80\xAF"},           // overlong, three bytes
      {"\xED\xA0\x80", "\xED\xA0\x80"},           // an encoded surrogate
      {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},   // beyond U+10FFFF
      {"\xF8\x88\x80\x80\x80", "\xF8\x88\x80\x80\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Input);
    EXPECT_EQ(Utf8ToAnsi(c.Input), c.Expected);
    EXPECT_EQ(Utf8ToWide(c.Input), AnsiToWide(c.Expected));
  }
}

TEST(AnsiConversions, IntoABufferAsUtf8ToAnsiDoesWithinItsSize) {
  // Non-ASCII characters at every place around the eight-byte runs read at once.
  std::vector<std::string> texts = {"", "abcdefgh", "abcdefghijklmnop", "caf\xC3\xA9", "\xE9t\xE9 en 1252 \xE9t\xE9"};
  for (std::size_t at = 0; at < 18; ++at) {
    std::string text(20, 'x');
    text.insert(at, "\xC5\x93");  // U+0153, one 1252 byte
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const String whole = Utf8ToAnsi(text);
    for (std::size_t max : {std::size_t(0), std::size_t(1), std::size_t(7), std::size_t(8), std::size_t(9), whole.size(),
                            whole.size() + 5}) {
      String out(max + 1, '#');
      std::size_t written = Utf8ToAnsiInto(text, out.data(), max);
      EXPECT_EQ(written, std::min(max, whole.size())) << max;
      EXPECT_EQ(out.substr(0, written), whole.substr(0, written)) << max;
      EXPECT_EQ(out[max], '#') << "written past the size " << max;
    }
  }
}

TEST(AnsiConversions, WideTextAlwaysGivesValidUtf8) {
  EXPECT_EQ(WideToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), u"\U0001F600");
  // A lone surrogate has no UTF-8 form; it must not leak out as invalid bytes.
  EXPECT_EQ(WideToUtf8(WideString(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(AnsiCase, AccentedLettersHaveTheirCapitals) {
  const char* pairs[][2] = {{"a"_a, "A"_a}, {"é"_a, "É"_a}, {"à"_a, "À"_a}, {"ç"_a, "Ç"_a}, {"ø"_a, "Ø"_a},
                            {"þ"_a, "Þ"_a}, {"œ"_a, "Œ"_a}, {"š"_a, "Š"_a}, {"ž"_a, "Ž"_a}, {"ÿ"_a, "Ÿ"_a}};
  for (const auto& p : pairs) {
    SCOPED_TRACE(p[0]);
    EXPECT_EQ(AnsiUpperChar(p[0][0]), p[1][0]);
    EXPECT_EQ(AnsiLowerChar(p[1][0]), p[0][0]);
    EXPECT_EQ(AnsiUpperChar(p[1][0]), p[1][0]);
    EXPECT_EQ(AnsiLowerChar(p[0][0]), p[0][0]);
    EXPECT_TRUE(IsAnsiLetter(p[0][0]));
    EXPECT_TRUE(IsAnsiLetter(p[1][0]));
  }
  // No single-byte capital, or not a letter at all: unchanged both ways.
  for (const char* c : {"ß"_a, "µ"_a, "×"_a, "÷"_a, "ª"_a, "1", "@", "[", "€"_a}) {
    SCOPED_TRACE(c);
    EXPECT_EQ(AnsiUpperChar(c[0]), c[0]);
    EXPECT_EQ(AnsiLowerChar(c[0]), c[0]);
  }
  for (const char* c : {"×"_a, "÷"_a, "1", "@", "[", "`", "{", "€"_a, "\xA0"}) {
    SCOPED_TRACE(c);
    EXPECT_FALSE(IsAnsiLetter(c[0]));
  }
}

TEST(AnsiCase, MappingIsAPairingOfBytes) {
  // Upper then lower gives back every small letter, and the reverse; no two bytes share a capital.
  for (int b = 0; b < 256; ++b) {
    char c = char(b);
    char up = AnsiUpperChar(c), low = AnsiLowerChar(c);
    if (up != c) {
      EXPECT_EQ(AnsiLowerChar(up), c) << b;
    }
    if (low != c) {
      EXPECT_EQ(AnsiUpperChar(low), c) << b;
    }
    EXPECT_FALSE(up != c && low != c) << b;
  }
}

}  // namespace
