// This file tests the French text order (AnsiCompareText and its kin) and the SQLite collation.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

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
}

TEST(TextOrder, IdentifierComparisonsFoldAsciiOnly) {
  EXPECT_EQ(CompareText("TForm1", "tform1"), 0);
  EXPECT_TRUE(SameText("Name", "NAME"));
  EXPECT_FALSE(SameText("é"_a, "É"_a));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_NE(CompareStr("a", "A"), 0);
}

}  // namespace
