// This file tests the French text order (AnsiCompareText and its kin) and the SQLite collation.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "OsPort.h"
#include "Streams.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

std::vector<String> Shuffled(std::vector<String> v) {
  std::mt19937 rng(12345);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

// Words in the order a French reader expects; no two of them are equal.
const std::vector<String>& FrenchWords() {
  // Through an array: clang 14 crashes on a braced list of Strings that holds _a literals.
  static const char* const texts[] = {
      "",
      " a",
      "(a)",
      "10 rue",
      "2 rue",
      "a",
      "à"_a,
      "abbé"_a,
      "Abbesse",
      "cote",
      "coté"_a,
      "côte"_a,
      "côté"_a,
      "eclair",
      "ecole",
      "École"_a,
      "ecole2",
      "élève"_a,
      "elfe",
      "fleuve",
      "l eau",
      "l'eau",
      "l’eau"_a,
      "l-eau",
      "la",
      "Lac",
      "oeuf",
      "œuf"_a,
      "oeuvre",
      "Œuvre"_a,
      "ogre",
      "péché"_a,
      "pêche"_a,
      "pécher"_a,
      "pêcher"_a,
      "strasse",
      "Straße"_a,
      "strasser",
      "Zoé"_a,
      "zone",
  };
  static const std::vector<String> words(std::begin(texts), std::end(texts));
  return words;
}

TEST(TextOrder, SortsFrenchWordsAsReadersExpect) {
  std::vector<String> v = Shuffled(FrenchWords());
  std::sort(v.begin(), v.end(), [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
  EXPECT_EQ(v, FrenchWords());
}

TEST(TextOrder, PairsCompareAsExpected) {
  struct Case {
    String A, B;
    int Expected;
  };
  const Case cases[] = {
      {"Ecole", "ecole", 0},                // case alone never counts
      {"ÉCOLE"_a, "école"_a, 0},
      {"ŒUF"_a, "œuf"_a, 0},
      {"Ÿ"_a, "ÿ"_a, 0},
      {"ŠŽ"_a, "šž"_a, 0},
      {"école"_a, "ecole", 1},              // the accent counts after the letters
      {"école"_a, "fleuve", -1},            // ... but only after them
      {"éa"_a, "eb", -1},
      {"é"_a, "è"_a, -1},                   // aigu, grave, circonflexe, tréma
      {"è"_a, "ê"_a, -1},
      {"ê"_a, "ë"_a, -1},
      {"ss", "ß"_a, -1},                    // a ligature sorts with its letters, after them
      {"ß"_a, "st", -1},
      {"ae", "æ"_a, -1},
      {"æ"_a, "af", -1},
      {"Œ"_a, "oe", 1},
      {"9", "a", -1},                       // digits before letters
      {"~", "0", -1},                       // signs before digits
      {" ", "!", -1},                       // blanks before signs
      {"\x01", " ", -1},                    // controls first
      {"a b", "a\xA0" "b", -1},             // no-break space right after space
      {"a\xA0" "b", "a!b", -1},
      {"a\xA0" "b", "a c", -1},             // ... and weighs as a space before the next letter
      {"l’a"_a, "l'b", -1},                 // so does the typographic apostrophe
      {"", "a", -1},
      {"abc", "ab", 1},
      {String(1, '\0') + "a", "a", -1},     // the zero byte is a character like any other
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.A + "' vs '" + c.B + "'");
    EXPECT_EQ(Sign(AnsiCompareText(c.A, c.B)), c.Expected);
    EXPECT_EQ(Sign(AnsiCompareText(c.B, c.A)), -c.Expected);
    EXPECT_EQ(AnsiSameText(c.A, c.B), c.Expected == 0);
  }
}

TEST(TextOrder, SingleCharactersAreEqualOnlyToTheirOtherCase) {
  for (int c = 0; c < 256; ++c) {
    for (int d = 0; d < 256; ++d) {
      String a(1, char(c)), b(1, char(d));
      bool sameLetter = AnsiLowerChar(char(c)) == AnsiLowerChar(char(d));
      int cmp = AnsiCompareText(a, b);
      ASSERT_EQ(cmp == 0, sameLetter) << c << " vs " << d;
      ASSERT_EQ(Sign(cmp), -Sign(AnsiCompareText(b, a))) << c << " vs " << d;
    }
  }
}

TEST(TextOrder, ClassesOfCharactersComeInOrder) {
  // Controls < blanks < signs < digits < letters, whatever the byte values.
  const std::vector<std::vector<int>> classes = {
      {0x01, 0x09, 0x1F, 0x7F, 0x81, 0x9D},
      {' ', 0xA0},
      {'!', '-', '/', ':', '@', '_', '~', 0x80, 0x85, 0x92, 0xA9, 0xBF, 0xD7, 0xF7},
      {'0', '9', 0xB2, 0xB9},
      {'a', 'Z', 0x83, 0x9C, 0xAA, 0xB5, 0xC0, 0xDF, 0xE9, 0xFE, 0xFF},
  };
  for (std::size_t lower = 0; lower + 1 < classes.size(); ++lower) {
    for (std::size_t upper = lower + 1; upper < classes.size(); ++upper) {
      for (int a : classes[lower]) {
        for (int b : classes[upper]) {
          EXPECT_LT(AnsiCompareText(String(1, char(a)), String(1, char(b))), 0) << a << " vs " << b;
        }
      }
    }
  }
}

// A sample of short texts over the characters that stress the order: case pairs, accents,
// ligatures and the letters they expand to, variants of signs.
std::vector<String> RandomSample(std::size_t Count) {
  const String alphabet = "aAeEoOsSt 1'-" "éÉèêœŒßæÆ’\u00A0¹"_a;
  std::mt19937 rng(2024);
  std::uniform_int_distribution<std::size_t> length(0, 5), pick(0, alphabet.size() - 1);
  std::vector<String> out;
  for (std::size_t i = 0; i < Count; ++i) {
    String s;
    for (std::size_t n = length(rng); n > 0; --n) s += alphabet[pick(rng)];
    out.push_back(s);
  }
  // Texts that expand to the same letters as others of the sample.
  for (const char* s : {"oe", "OE", "\x9C", "ss", "\xDF", "ae", "\xE6", "sse", "\xDF" "e", "soe", "s\x9C"}) out.push_back(s);
  return out;
}

TEST(TextOrder, IsAStrictWeakOrderConsistentWithCaseFolding) {
  const std::vector<String> sample = RandomSample(160);
  const std::size_t n = sample.size();
  std::vector<int> cmp(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) cmp[i * n + j] = Sign(AnsiCompareText(sample[i], sample[j]));
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      ASSERT_EQ(cmp[i * n + j], -cmp[j * n + i]) << "'" << sample[i] << "' '" << sample[j] << "'";
      ASSERT_EQ(cmp[i * n + j] == 0, AnsiSameText(sample[i], sample[j]));
      for (std::size_t k = 0; k < n; ++k) {
        // a <= b and b <= c give a <= c, strictly when either step is strict.
        int ab = cmp[i * n + j], bc = cmp[j * n + k];
        if (ab <= 0 && bc <= 0) {
          ASSERT_EQ(cmp[i * n + k], std::min(ab, bc)) << i << " " << j << " " << k;
        }
      }
    }
  }
}

TEST(TextOrder, CaseSensitiveOrderPutsSmallLettersFirstAfterEverythingElse) {
  const char* const texts[] = {"ecole", "eCole", "Ecole", "ECOLE", "école"_a, "École"_a, "ÉCOLE"_a, "ecoles"};
  const std::vector<String> expected(std::begin(texts), std::end(texts));  // an array first, as above
  std::vector<String> v = Shuffled(expected);
  std::sort(v.begin(), v.end(), [](const String& a, const String& b) { return AnsiCompareStr(a, b) < 0; });
  EXPECT_EQ(v, expected);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    for (std::size_t j = 0; j < expected.size(); ++j) {
      EXPECT_EQ(AnsiSameStr(expected[i], expected[j]), i == j);
      EXPECT_EQ(AnsiCompareStr(expected[i], expected[j]) == 0, i == j);
    }
  }
}

int CompareUtf8(const std::string& A, const std::string& B) {
  return CompareUtf8Text(int(A.size()), A.data(), int(B.size()), B.data());
}

TEST(TextOrder, Utf8CollationAgreesWithTheTextOrder) {
  std::vector<std::string> utf8;
  for (const String& w : Shuffled(FrenchWords())) utf8.push_back(AnsiToUtf8(w));
  std::sort(utf8.begin(), utf8.end(), [](const std::string& a, const std::string& b) { return CompareUtf8(a, b) < 0; });
  std::vector<String> back;
  for (const std::string& w : utf8) back.push_back(Utf8ToAnsi(w));
  EXPECT_EQ(back, FrenchWords());

  EXPECT_EQ(CompareUtf8(AnsiToUtf8("ÉCOLE"_a), AnsiToUtf8("école"_a)), 0);
  EXPECT_GT(CompareUtf8(AnsiToUtf8("école"_a), "ecole"), 0);
}

TEST(TextOrder, Utf8CollationReadsOnlyTheGivenLengths) {
  // SQLite hands texts that are not zero-terminated; the bytes after the length must not count.
  const char a[] = "ecoleZZZ";
  const char b[] = "ECOLEaaa";
  EXPECT_EQ(CompareUtf8Text(5, a, 5, b), 0);
  EXPECT_GT(CompareUtf8Text(6, a, 5, b), 0);
  EXPECT_EQ(CompareUtf8Text(0, nullptr, 0, ""), 0);
  EXPECT_LT(CompareUtf8Text(0, nullptr, 1, b), 0);
  // A sequence cut by the length is read as the bytes before the cut.
  const char cut[] = "\xC3\xA9";
  EXPECT_EQ(CompareUtf8Text(1, cut, 1, "\xC3"), 0);
  EXPECT_GT(CompareUtf8Text(2, cut, 1, cut), 0);
}

// The collation as it was first written: both texts converted to 1252, then compared. The
// collation reads UTF-8 in place and must give exactly this order.
int ConvertingCompareUtf8(const std::string& A, const std::string& B) {
  return Sign(AnsiCompareText(Utf8ToAnsi(A), Utf8ToAnsi(B)));
}

TEST(TextOrder, Utf8CollationMatchesConvertingFirst) {
  struct Case {
    std::string A, B;
    int Expected;
  };
  const Case cases[] = {
      {"Saint-\xC3\x89tienne", "Saint-\xC3\xA9tienne", 0},           // case only, inside a sequence
      {"Saint-\xC3\x89tienne", "Saint-Etienne", 1},                   // the accent after the letters
      {"Saint-\xC3\x89tienne", "Saint-Fons", -1},
      {"Saint-\xC3\xA8ve", "Saint-\xC3\xA9va", 1},                    // common bytes end inside a character
      {"\xC5\x93uf", "oeuf", 1},                                       // œ: a 2-byte ligature
      {"\xC5\x92UVRE", "\xC5\x93uvre", 0},
      {"l\xE2\x80\x99" "eau", "l'eau", 1},                              // ’ after '
      {"l\xE2\x80\x99" "eau", "l-eau", -1},
      {"\xE2\x82\xAC", "\x80", 0},                                    // € as UTF-8 and as its 1252 byte
      {"\xE4\xB8\xAD", "?", 0},                                        // outside 1252: read as '?'
      {"\xE4\xB8\xAD", "\xE4\xB8\xAE", 0},
      {"\xC2\x81", "\x81", 0},                                         // U+0081, undefined in 1252
      {"\xC2\x80", "?", 0},                                            // U+0080 has no 1252 byte
      {"caf\xE9", "caf\xC3\xA9", 0},                                   // a stray 1252 byte reads as itself
      {"caf\xC3", "caf\xC3\xA9", -1},                                   // a cut sequence
      {"\xC0\xAF", "\xC3\x80\xC2\xAF", 0},                              // an overlong form: two 1252 bytes
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", 0},              // a surrogate: three 1252 bytes
      {"\xA9" "a", "\xC2\xA9" "b", -1},                                    // a lone continuation byte
      {std::string("a\0b", 3), "a", 1},                                // the zero byte counts
      {"STRASSE", "stra\xC3\x9F" "e", -1},                              // ß expands to ss
      {"c\xC3\xB4t\xC3\xA9", "c\xC3\xB4te", 1},                        // côté after côte
      {"cot\xC3\xA9", "c\xC3\xB4te", -1},                               // the first accent apart decides
      {"l\xE2\x80\x99" "eau", "l\xE2\x80\x98" "eau", 1},                 // ’ after ‘: apart in a third byte
      {"a\xC2\xA0" "b", "a b", 1},                                      // no-break space after space
      {"\xC2\xB9", "1", 1},                                            // superscript one after one
      {"\xC3\x86" "on", "AEON", 1},                                     // Æ: the ligature after its letters
      {"Zo\xC3\xAB", "ZOE", 1},
      {"\xF0\x9F\x98\x80", "?", 0},                                     // four bytes, outside 1252
      {"\xF0\x9F\x98", "\xC3\xB0\xC5\xB8\xCB\x9C", 0},                  // a cut 4-byte sequence: three 1252 bytes
      {"\xFF", "\xC3\xBF", 0},                                          // a byte never in UTF-8 reads as itself
      {"", "", 0},
      {"", "\xC3\xA9", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.A + "' vs '" + c.B + "'");
    EXPECT_EQ(Sign(CompareUtf8(c.A, c.B)), c.Expected);
    EXPECT_EQ(Sign(CompareUtf8(c.B, c.A)), -c.Expected);
    EXPECT_EQ(ConvertingCompareUtf8(c.A, c.B), c.Expected);
  }
}

// The commune names of the starting database, as UTF-8.
std::vector<std::string> CommuneNames() {
  TFileStream file(OsPort::WindowsPath(VELBOR_COMMUNES_CSV), OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  std::string text(std::size_t(file.Size()), '\0');
  file.ReadBuffer(text.data(), std::int64_t(text.size()));
  std::vector<std::string> names;
  std::size_t line = text.find('\n') + 1;  // after the header
  while (line < text.size()) {
    std::size_t end = text.find('\n', line);
    if (end == std::string::npos) end = text.size();
    std::size_t first = text.find(';', line);
    std::size_t second = text.find(';', first + 1);
    if (first < end && second < end) names.push_back(text.substr(first + 1, second - first - 1));
    line = end + 1;
  }
  return names;
}

// Texts that stress the collation: words over case pairs, accents, ligatures, signs and their
// variants, characters outside 1252 and malformed bytes, with the commune names changed in case
// and accents, so that many pairs share long leading runs or differ in case alone.
std::vector<std::string> CollationSample(const std::vector<std::string>& Communes, std::mt19937& Rng) {
  const char* const pieces[] = {"a", "A", "e", "E", "o", "s", "S", "t", " ", "'", "-", "1",
                                "\xC3\xA9", "\xC3\x89", "\xC3\xA8", "\xC3\xAA", "\xC3\xA0", "\xC3\xA7",
                                "\xC5\x93", "\xC5\x92", "\xC3\x9F", "\xC3\xA6", "\xC3\x86", "\xE2\x80\x99",
                                "\xC2\xA0", "\xC2\xB9", "\xE2\x82\xAC", "\xE4\xB8\xAD", "\xC3", "\xA9", "\xE9",
                                "\xE2\x80\x98", "\xE2\x82", "\xF0\x9F\x98\x80", "\xF0\x9F\x98", "\xC0\xAF",
                                "\xED\xA0\x80", "\xFF", "\xC3\xB4", "\xC3\x94"};
  std::uniform_int_distribution<std::size_t> length(0, 6), piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<std::size_t> commune(0, Communes.size() - 1);
  std::vector<std::string> out;
  for (int i = 0; i < 3000; ++i) {
    std::string s;
    for (std::size_t n = length(Rng); n > 0; --n) s += pieces[piece(Rng)];
    out.push_back(s);
  }
  for (int i = 0; i < 3000; ++i) {
    String name = Utf8ToAnsi(Communes[commune(Rng)]);
    switch (i % 3) {
      case 0: name = AnsiUpperCase(name); break;
      case 1: std::replace_if(name.begin(), name.end(), [](char c) { return c == '\xE9' || c == '\xE8'; }, 'e'); break;
      default: name += pieces[piece(Rng)][0]; break;
    }
    out.push_back(AnsiToUtf8(name));
  }
  return out;
}

TEST(TextOrder, Utf8CollationMatchesConvertingFirstOnCommunesAndRandomWords) {
  std::vector<std::string> texts = CommuneNames();
  ASSERT_GT(texts.size(), 30000u);
  std::mt19937 rng(39);
  std::vector<std::string> sample = CollationSample(texts, rng);
  texts.insert(texts.end(), sample.begin(), sample.end());

  // Neighbours in the converting order are the pairs with the longest common runs.
  std::vector<std::string> sorted = texts;
  std::sort(sorted.begin(), sorted.end(),
            [](const std::string& a, const std::string& b) { return ConvertingCompareUtf8(a, b) < 0; });
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
    ASSERT_EQ(Sign(CompareUtf8(sorted[i], sorted[i + 1])), ConvertingCompareUtf8(sorted[i], sorted[i + 1]))
        << "'" << sorted[i] << "' '" << sorted[i + 1] << "'";
    ASSERT_EQ(Sign(CompareUtf8(sorted[i + 1], sorted[i])), ConvertingCompareUtf8(sorted[i + 1], sorted[i]));
  }
  std::uniform_int_distribution<std::size_t> pick(0, texts.size() - 1);
  for (int i = 0; i < 200000; ++i) {
    const std::string& a = texts[pick(rng)];
    const std::string& b = texts[pick(rng)];
    ASSERT_EQ(Sign(CompareUtf8(a, b)), ConvertingCompareUtf8(a, b)) << "'" << a << "' '" << b << "'";
  }
}

TEST(TextOrder, IdentifierComparisonsFoldAsciiOnly) {
  EXPECT_EQ(CompareText("TForm1", "tform1"), 0);
  EXPECT_TRUE(SameText("Name", "NAME"));
  EXPECT_FALSE(SameText("é"_a, "É"_a));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_NE(CompareStr("a", "A"), 0);
}

}  // namespace
