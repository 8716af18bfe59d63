// Tests of the text services and stacks: tokens, splits, words, trimming, replacing, the stacks.
#include <gtest/gtest.h>

#include <vector>

#include "Strings.h"
#include "qvStrUtils.h"

namespace {

struct TTokenStep {
  String Token;
  int Pos;
};

struct TTokenCase {
  const char* Name;
  String Text;
  String Delimiter;
  int Start;
  std::vector<TTokenStep> Steps;
};

class TokenTest : public ::testing::TestWithParam<TTokenCase> {};

TEST_P(TokenTest, ReadsTokensAndPositionsInTurn) {
  const TTokenCase& C = GetParam();
  int Pos = C.Start;
  for (std::size_t i = 0; i < C.Steps.size(); ++i) {
    String Token = "junk";
    qvGetToken(C.Text, C.Delimiter, Pos, Token);
    EXPECT_EQ(Token, C.Steps[i].Token) << "step " << i;
    EXPECT_EQ(Pos, C.Steps[i].Pos) << "step " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TokenTest,
    ::testing::Values(
        TTokenCase{"Semicolons", "a;b", ";", 1, {{"a", 3}, {"b", -1}, {"", -1}}},
        TTokenCase{"TrailingDelimiterGivesEmptyLastToken", "a;", ";", 1, {{"a", 3}, {"", -1}}},
        TTokenCase{"EmptyMiddleToken", "a;;b", ";", 1, {{"a", 3}, {"", 4}, {"b", -1}}},
        TTokenCase{"OneCharacterDelimiterIsCaseSensitive", "aXbxc", "x", 1, {{"aXb", 5}, {"c", -1}}},
        TTokenCase{"WordDelimiterAnyCase", "x AND y and z", "and", 1, {{"x", 7}, {"y", 13}, {"z", -1}}},
        TTokenCase{"WordDelimiterNotInsideAWord", "band and c", "and", 1, {{"band", 10}, {"c", -1}}},
        TTokenCase{"ZeroPositionLeftAlone", "a;b", ";", 0, {{"", 0}}},
        TTokenCase{"BeyondTheEnd", "a;b", ";", 4, {{"", -1}}},
        TTokenCase{"TabDelimiter", "NOM\t12\tLabel", "\t", 1, {{"NOM", 5}, {"12", 8}, {"Label", -1}}}),
    [](const auto& Info) { return Info.param.Name; });

std::vector<String> Lines(TStrings* List) {
  std::vector<String> Result;
  for (int i = 0; i < List->Count(); ++i) Result.push_back(List->Strings(i));
  return Result;
}

TEST(SplitString, KeepsEmptyPartsAndClearsTheList) {
  TStringList List;
  List.Add("old");
  qvSplitString("a;;b", ';', &List);
  EXPECT_EQ(Lines(&List), (std::vector<String>{"a", "", "b"}));
  qvSplitString("", ';', &List);
  EXPECT_EQ(Lines(&List), (std::vector<String>{""}));
  qvSplitString("x;", ';', &List);
  EXPECT_EQ(Lines(&List), (std::vector<String>{"x", ""}));
}

struct TWordCase {
  const char* Name;
  String Text;
  int Flags;
  String Stop;
  std::vector<TTokenStep> Steps;
};

class WordTest : public ::testing::TestWithParam<TWordCase> {};

TEST_P(WordTest, ReadsWordsInTurn) {
  const TWordCase& C = GetParam();
  int Pos = 1;
  TqvCharSet Stop = qvCharSet(C.Stop);
  for (std::size_t i = 0; i < C.Steps.size(); ++i) {
    String Word = "junk";
    qvGetWord(C.Text, Pos, C.Flags, Word, Stop);
    EXPECT_EQ(Word, C.Steps[i].Token) << "step " << i;
    EXPECT_EQ(Pos, C.Steps[i].Pos) << "step " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordTest,
    ::testing::Values(
        // A one-character word passes over the stop character after it.
        TWordCase{"OneLetterSkipsTheStop", "x=1", gwSkipBlanks, "=", {{"x", 3}, {"1", 5}, {"", 5}}},
        TWordCase{"LongerWordStopsAtTheStop", "ab=1", gwSkipBlanks, "=", {{"ab", 3}, {"=", 4}, {"1", 6}}},
        TWordCase{"BlanksSkipped", "  name  = 'v'", gwSkipBlanks, "=", {{"name", 7}, {"=", 10}, {"'v'", 14}}},
        TWordCase{"BlankEndsAWordWithoutFlag8", "ab cd", 0, "", {{"ab", 3}, {" ", 4}, {"cd", 6}}},
        TWordCase{"BlanksInsideWithFlag8", "ab cd=1", gwAllowBlanks, "=", {{"ab cd", 6}, {"=", 7}}},
        TWordCase{"QuotedWordKeepsQuotes", "\"a b\" c", gwSkipBlanks | gwQuotedWords, "",
                  {{"\"a b\"", 6}, {"c", 9}}},
        TWordCase{"QuotedWordWithoutQuotes", "\"a b\" c", gwSkipBlanks | gwQuotedWords | gwRemoveQuotes, "",
                  {{"a b", 6}, {"c", 9}}},
        TWordCase{"UnterminatedQuoteTakesTheRest", "\"abc def", gwQuotedWords | gwRemoveQuotes, "",
                  {{"abc def", 9}, {"", 9}}},
        TWordCase{"QuoteIgnoredWithoutFlag2", "\"a b\"", 0, "", {{"\"a", 3}}}),
    [](const auto& Info) { return Info.param.Name; });

TEST(TrimAndReplace, TableOfResults) {
  String Text = " \t ab c\t ";
  qvTrimBlanks(Text);
  EXPECT_EQ(Text, "ab c");

  String Zeros = "00120";
  qvTrimLeftChars(Zeros, qvCharSet("0"));
  EXPECT_EQ(Zeros, "120");
  String Tail = "1,500";
  qvTrimRightChars(Tail, qvCharSet("0,"));
  EXPECT_EQ(Tail, "1,5");
  String All = "000";
  qvTrimRightChars(All, qvCharSet("0"));
  EXPECT_EQ(All, "");

  EXPECT_EQ(qvRemoveChar("a~b~~c", '~'), "abc");
  EXPECT_EQ(qvReplaceChar("a~b~c", '~', ' '), "a b c");
  // A replacement holding the character itself must not loop.
  EXPECT_EQ(qvReplaceCharByStr("a'b'", '\'', "''"), "a''b''");
  EXPECT_EQ(qvReplaceCharByStr("a;b", ';', ""), "ab");
  EXPECT_EQ(qvCountChar("a;b;c", ';'), 2);
}

TEST(CharacterSplits, AfterAndBeforeAreEmptyWithoutTheCharacter) {
  EXPECT_EQ(qvStrAfterChar("key=value=x", '='), "value=x");
  EXPECT_EQ(qvStrBeforeChar("key=value=x", '='), "key");
  EXPECT_EQ(qvStrAfterChar("novalue", '='), "");
  EXPECT_EQ(qvStrBeforeChar("novalue", '='), "");
}

TEST(Comparisons, SameTextFoldsAsciiOnly) {
  EXPECT_TRUE(qvSameText("Nom_Champ", "NOM_CHAMP"));
  EXPECT_FALSE(qvSameText("Nom", "Noms"));
  // Accented letters are not folded: "é" and "É" differ.
  EXPECT_FALSE(qvSameText("\xE9", "\xC9"));
  EXPECT_EQ(qvMaxInt(-3, 2), 2);
  EXPECT_EQ(qvMin(-3, 2), -3);
}

TEST(FileBaseName, CutsFolderAndEverythingFromTheFirstDot) {
  EXPECT_EQ(qvExtractFileBaseName("c:\\velbor\\velbor.exe.so"), "velbor");
  EXPECT_EQ(qvExtractFileBaseName("Z:/prog/app.exe"), "app");
  EXPECT_EQ(qvExtractFileBaseName("c:\\velbor\\readme"), "readme");
}

TEST(Stacks, PopInReverseOrderAndEmptyValuesWhenEmpty) {
  TStackStr Texts;
  Texts.Push("a");
  Texts.Push("b");
  EXPECT_EQ(Texts.Count(), 2);
  EXPECT_EQ(Texts.Pop(), "b");
  EXPECT_EQ(Texts.Pop(), "a");
  EXPECT_EQ(Texts.Pop(), "");
  EXPECT_EQ(Texts.Count(), 0);

  TStackPtr Pointers;
  int A = 1, B = 2;
  EXPECT_EQ(Pointers.Push(&A), 0);
  EXPECT_EQ(Pointers.Push(&B), 1);
  EXPECT_EQ(Pointers.Pop(), &B);
  EXPECT_EQ(Pointers.Pop(), &A);
  EXPECT_EQ(Pointers.Pop(), nullptr);
}

}  // namespace
