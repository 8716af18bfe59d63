// Tests of the picture-mask validator: every picture character, groups, alternatives,
// repetitions, optional parts, auto-fill and malformed pictures.
#include <gtest/gtest.h>

#include "qvPictureValidator.h"

namespace {

struct TMatchCase {
  const char* Name;
  String Picture;
  String Text;
  bool Fill;
  int Result;
  String After;  // the text once matched
};

class MatchTest : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(MatchTest, ResultAndText) {
  const TMatchCase& C = GetParam();
  TqvPictureValidator Validator(C.Picture, false);
  String Text = C.Text;
  EXPECT_EQ(Validator.MatchPicture(Text, C.Fill), C.Result);
  EXPECT_EQ(Text, C.After);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, MatchTest,
    ::testing::Values(
        TMatchCase{"DigitAccepted", "#", "7", false, prComplete, "7"},
        TMatchCase{"DigitRefusesLetter", "#", "a", false, prError, "a"},
        TMatchCase{"EmptyText", "#", "", false, prEmpty, ""},
        TMatchCase{"LetterAsTyped", "??", "aB", false, prComplete, "aB"},
        TMatchCase{"LetterAbove128", "?", "\xE9", false, prComplete, "\xE9"},
        TMatchCase{"LetterRefusesDigit", "?", "1", false, prError, "1"},
        TMatchCase{"UpperLetters", "&&", "ab", false, prComplete, "AB"},
        TMatchCase{"UpperAccentedLetter", "&", "\xE9", false, prComplete, "\xC9"},
        TMatchCase{"LowerLetters", "~~", "AB", false, prComplete, "ab"},
        TMatchCase{"AnyUpper", "!!!", "a1-", false, prComplete, "A1-"},
        TMatchCase{"AnyAsTyped", "@@@", "a 1", false, prComplete, "a 1"},
        TMatchCase{"LiteralStoredInThePicturesCase", "AB#", "ab1", false, prComplete, "AB1"},
        TMatchCase{"LiteralMismatch", "AB#", "ac", false, prError, "Ac"},
        TMatchCase{"EscapedPictureCharacterIsALiteral", ";##", "#5", false, prComplete, "#5"},
        TMatchCase{"EscapedLiteralRefusesADigit", ";#", "5", false, prError, "5"},
        TMatchCase{"CharactersLeftOver", "##", "123", false, prError, "123"},
        TMatchCase{"IncompleteWithoutFill", "##/##", "12", false, prIncomplete, "12"}),
    [](const auto& Info) { return Info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Structure, MatchTest,
    ::testing::Values(
        TMatchCase{"CountedRepetition", "*3#", "123", false, prComplete, "123"},
        TMatchCase{"CountedRepetitionShort", "*3#", "12", false, prIncomplete, "12"},
        TMatchCase{"CountedRepetitionLong", "*3#", "1234", false, prError, "1234"},
        TMatchCase{"OpenRepetition", "*#", "12345", false, prComplete, "12345"},
        TMatchCase{"OpenRepetitionStopsAtALetter", "*#", "12a", false, prError, "12a"},
        TMatchCase{"RepeatedGroup", "*2{#-}", "1-2-", false, prComplete, "1-2-"},
        TMatchCase{"GroupAlternativeA", "{A,B}#", "a1", false, prComplete, "A1"},
        TMatchCase{"GroupAlternativeB", "{A,B}#", "b2", false, prComplete, "B2"},
        TMatchCase{"GroupNoAlternative", "{A,B}#", "c3", false, prError, "c3"},
        TMatchCase{"TopLevelAlternatives", "##,&&", "ab", false, prComplete, "AB"},
        TMatchCase{"TopLevelAlternativesMixed", "##,&&", "1a", false, prError, "1a"},
        TMatchCase{"OptionalRestIsComplete", "##[-##]", "12", false, prComplete, "12"},
        TMatchCase{"InsideTheOptionalPart", "##[-##]", "12-3", false, prIncomplete, "12-3"},
        TMatchCase{"OptionalPartFilled", "##[-##]", "12-34", false, prComplete, "12-34"},
        TMatchCase{"OptionalPartRefused", "##[-##]", "12x", false, prError, "12x"},
        TMatchCase{"NestedOptionalOuter", "#[-#[-#]]", "1", false, prComplete, "1"},
        TMatchCase{"NestedOptionalMiddle", "#[-#[-#]]", "1-2", false, prComplete, "1-2"},
        TMatchCase{"NestedOptionalInner", "#[-#[-#]]", "1-2-3", false, prComplete, "1-2-3"},
        TMatchCase{"NestedOptionalOpen", "#[-#[-#]]", "1-2-", false, prIncomplete, "1-2-"},
        TMatchCase{"OptionalCountedRepetitionOfAGroup", "#*2[#]", "1", false, prComplete, "1"},
        TMatchCase{"CountedRepetitionIsNotOptional", "#*2#", "1", false, prIncomplete, "1"},
        TMatchCase{"OpenRepetitionIsOptional", "#*#", "1", false, prComplete, "1"},
        TMatchCase{"GroupWithAnOptionalAlternative", "#{a,[b]}", "1", false, prComplete, "1"},
        TMatchCase{"GroupWithoutOptionalAlternative", "#{a,b}", "1", false, prIncomplete, "1"}),
    [](const auto& Info) { return Info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Fill, MatchTest,
    ::testing::Values(
        TMatchCase{"SlashAppended", "##/##", "12", true, prIncomplete, "12/"},
        TMatchCase{"SeveralLiteralsAppended", "(###) ###", "(123", true, prIncomplete, "(123) "},
        TMatchCase{"EscapedLiteralAppended", "##;*", "12", true, prComplete, "12*"},
        TMatchCase{"NothingToAppend", "###", "12", true, prIncomplete, "12"},
        TMatchCase{"FinalBlankBecomesTheLiteral", "##/##", "12 ", false, prIncomplete, "12/"},
        TMatchCase{"FinalBlankInAGroup", "{#/}", "1 ", false, prComplete, "1/"},
        // The first alternative matched the final blank against a blank: the second may not
        // turn that blank into its own literal.
        TMatchCase{"FinalBlankOnlyOncePerLevel", "{# x,#/}", "1 ", false, prIncomplete, "1 "},
        TMatchCase{"InnerBlankIsNotReplaced", "##/##", "1 2", false, prError, "1 2"}),
    [](const auto& Info) { return Info.param.Name; });

TEST(PictureSyntax, MalformedPicturesGiveSyntax) {
  for (const String& Picture : {String(), String("##;"), String("[#"), String("#]"), String("{#"), String("#*"),
                                String("#}{")}) {
    TqvPictureValidator Validator(Picture, false);
    String Text = "1";
    EXPECT_EQ(Validator.MatchPicture(Text, false), prSyntax) << Picture;
    EXPECT_EQ(Validator.Status, 1) << Picture;
  }
  for (const String& Picture : {String("#;*"), String(";[#"), String("*#"), String("[#]{#}")}) {
    TqvPictureValidator Validator(Picture, false);
    EXPECT_EQ(Validator.Status, 0) << Picture;
  }
}

TEST(PictureValidator, EmptyPictureAcceptsInputButNothingIsValid) {
  TqvPictureValidator Validator("", true);
  EXPECT_EQ(Validator.Status, 1);
  String Text = "abc";
  EXPECT_TRUE(Validator.IsValidInput(Text, false));
  EXPECT_FALSE(Validator.IsValid("abc"));
  EXPECT_FALSE(Validator.IsValid(""));
}

TEST(PictureValidator, InputFillsAsTheOptionsSay) {
  TqvPictureValidator Filling("##/##", true);
  EXPECT_EQ(Filling.Options, 5);
  String Text = "12";
  EXPECT_TRUE(Filling.IsValidInput(Text, false));
  EXPECT_EQ(Text, "12/");
  Text = "12";
  EXPECT_TRUE(Filling.IsValidInput(Text, true));
  EXPECT_EQ(Text, "12");
  Text = "1a";
  EXPECT_FALSE(Filling.IsValidInput(Text, false));

  TqvPictureValidator Plain("##/##", false);
  EXPECT_EQ(Plain.Options, 4);
  Text = "12";
  EXPECT_TRUE(Plain.IsValidInput(Text, false));
  EXPECT_EQ(Text, "12");
}

TEST(PictureValidator, IsValidWantsACompleteOrEmptyText) {
  TqvPictureValidator Validator("##/##", true);
  EXPECT_TRUE(Validator.IsValid("12/34"));
  EXPECT_TRUE(Validator.IsValid(""));
  EXPECT_FALSE(Validator.IsValid("12"));
  EXPECT_FALSE(Validator.IsValid("12/345"));
}

}  // namespace
