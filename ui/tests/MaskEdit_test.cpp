// Tests of the edit masks: the mask language on its own (parsing, character classes, Text against
// EditText, completeness), and the masked edit on the virtual desktop (typing through each mask
// construct, deleting, pasting, Escape, and ValidateEdit refusing an incomplete entry).
#include "StdCtrlsTestSupport.h"

#include "FormatSettings.h"
#include "Mask.h"

namespace {

// --- The mask language ------------------------------------------------------------------------

TEST(MaskUtilsTest, FieldsOfAMask) {
  EXPECT_EQ(MaskGetFldSeparator("!99/99/0000;1;_"), 11);
  EXPECT_EQ(MaskGetFldSeparator("00\\;00"), -1);  // an escaped ";" is part of the mask
  EXPECT_EQ(MaskGetFldSeparator("000"), -1);
  EXPECT_TRUE(MaskGetMaskSave("000"));
  EXPECT_TRUE(MaskGetMaskSave("000;1;_"));
  EXPECT_FALSE(MaskGetMaskSave("000;0;_"));
  EXPECT_EQ(MaskGetMaskBlank("000;0;*"), '*');
  EXPECT_EQ(MaskGetMaskBlank("000;0"), '_');
}

struct CharTypeCase {
  const char* Mask;
  int Offset;
  TMaskCharType Expected;
};

TEST(MaskUtilsTest, CharacterClassesOfMaskPositions) {
  const CharTypeCase cases[] = {
      {"0", 0, mcMask},        {"9", 0, mcMaskOpt},      {"#", 0, mcMaskOpt},     {"L", 0, mcMask},
      {"l", 0, mcMaskOpt},     {"A", 0, mcMask},         {"a", 0, mcMaskOpt},     {"C", 0, mcMask},
      {"c", 0, mcMaskOpt},     {"/", 0, mcIntlLiteral},  {":", 0, mcIntlLiteral}, {"!", 0, mcDirective},
      {">", 0, mcDirective},   {"<", 0, mcDirective},    {"\\0", 0, mcDirective}, {"\\0", 1, mcLiteral},
      {"-", 0, mcLiteral},     {"0;1;_", 1, mcFieldSeparator}, {"0;1;_", 2, mcField}, {"0", 1, mcNone},
  };
  for (const CharTypeCase& c : cases) {
    EXPECT_EQ(MaskGetCharType(c.Mask, c.Offset), c.Expected) << c.Mask << " @" << c.Offset;
  }
  EXPECT_EQ(MaskGetCurrentDirectives(">L<L", 1), msUpper | msMask);
  EXPECT_EQ(MaskGetCurrentDirectives(">L<L", 3), msLower | msMask);
  EXPECT_EQ(MaskGetCurrentDirectives(">L<>L", 4), msMask);
}

struct TextCase {
  const char* Mask;
  const char* Text;      // what the program sets
  const char* EditText;  // what shows
  const char* ReadBack;  // Text read back
};

// Literals saved or not, blanks, reversal and separators from the locale.
const TextCase TextCases[] = {
    {"(999)000-0000;1;_", "(555)123-4567", "(555)123-4567", "(555)123-4567"},
    {"(999)000-0000;0;_", "5551234567", "(555)123-4567", "5551234567"},
    {"(999)000-0000;0;_", "55512", "(555)12_-____", "55512"},
    {"(999)000-0000;1;_", "", "(___)___-____", "(   )   -    "},
    {"!999;0;_", "12", "_12", "12"},
    {"00/00/0000;1;*", "01/02/2003", "01/02/2003", "01/02/2003"},
    {"00:00;0; ", "1230", "12:30", "1230"},
    {">LL<ll;0;_", "abCD", "ABcd", "ABcd"},
    {"\\A\\B00;0;_", "12", "AB12", "12"},
    {"0_0;1;_", "1 2", "1 2", "1 2"},
};

TEST(MaskUtilsTest, TextAndEditTextConvertThroughTheMask) {
  for (const TextCase& c : TextCases) {
    TEditMaskInfo mask = ParseEditMask(c.Mask);
    String edit = MaskTextToEditText(mask, c.Text);
    EXPECT_EQ(edit, c.EditText) << c.Mask << " <- " << c.Text;
    EXPECT_EQ(MaskEditTextToText(mask, edit), c.ReadBack) << c.Mask;
  }
}

TEST(MaskUtilsTest, SeparatorsComeFromTheLocaleAtParseTime) {
  FormatSettings.DateSeparator = '.';
  FormatSettings.TimeSeparator = 'h';
  EXPECT_EQ(ParseEditMask("00/00 00:00").EmptyEditText(), "__.__ __h__");
  FormatSettings = TFormatSettings::French();
  EXPECT_EQ(ParseEditMask("00/00 00:00").EmptyEditText(), "__/__ __:__");
}

TEST(MaskUtilsTest, CompletenessAndEmptiness) {
  TEditMaskInfo mask = ParseEditMask("00-99;1;_");
  EXPECT_EQ(MaskFirstInvalidPosition(mask, "12-__"), -1);  // optional positions may stay blank
  EXPECT_EQ(MaskFirstInvalidPosition(mask, "1_-34"), 1);
  EXPECT_EQ(MaskFirstInvalidPosition(mask, "1x-34"), 1);
  EXPECT_TRUE(MaskIsEmptyEditText(mask, "__-__"));
  EXPECT_FALSE(MaskIsEmptyEditText(mask, "__-_4"));
  EXPECT_EQ(FormatMaskText("(000)000;0;_", "123456"), "(123)456");
  EXPECT_EQ(FormatMaskText("(000)000;1;_", "(12"), "(12 )   ");
  EXPECT_EQ(MaskDoFormatText("00-00", "12", '*'), "12-**");
  EXPECT_EQ(PadInputLiterals("00-00", "1", '_'), "1_-__");
}

TEST(MaskUtilsTest, CharactersEachMaskPositionAccepts) {
  struct Accepts {
    char Mask;
    const char* Good;
    const char* Bad;
  };
  const Accepts cases[] = {
      {'0', "059", "a -"}, {'9', "09 ", "a-"},        {'#', "0+- ", "a."},
      {'L', "aZé", "1 _"}, {'l', "aé ", "1_"},       {'A', "a1É", " -"},
      {'a', "a1 ", "-."},  {'C', "a1 -é", "\t"},     {'c', "a -", "\n"},
  };
  for (const Accepts& c : cases) {
    for (char g : Utf8ToAnsi(c.Good)) EXPECT_TRUE(MaskCharIsValid(c.Mask, g)) << c.Mask << " '" << g << "'";
    for (char b : Utf8ToAnsi(c.Bad)) EXPECT_FALSE(MaskCharIsValid(c.Mask, b)) << c.Mask << " '" << b << "'";
  }
}

// --- The masked edit --------------------------------------------------------------------------

class MaskEditTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Edit = Add<TMaskEdit>(10, 10, 200);
    Next = Add<TEdit>(10, 60, 200);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Edit));
  }
  TMaskEdit* Edit = nullptr;
  TEdit* Next = nullptr;
};

struct TypingCase {
  const char* Name;
  const char* Mask;
  const char* Typed;
  const char* EditText;
  const char* Text;
};

// Each construct with keys typed from the start of the empty edit.
const TypingCase TypingCases[] = {
    {"DigitsSkipLiterals", "(000)000;0;_", "123456", "(123)456", "123456"},
    {"LettersRefuseDigits", "LL-LL;1;_", "a1bcd", "ab-cd", "ab-cd"},
    {"OptionalDigitTakesBlankAndUnknownLiteralIsRefused", "99-99;0;_", "1 -34", "1_-34", "1 34"},
    {"SignInHash", "#00;0;_", "-12", "-12", "-12"},
    {"AlphaNumeric", "AAA;0;_", "a-1b", "a1b", "a1b"},
    {"AnyCharacter", "CCC;0;_", "a-é"_a, "a-é"_a, "a-é"_a},
    {"UpperAndLowerCase", ">L<L;0;_", "aB", "Ab", "Ab"},
    {"DateSeparatorFromLocale", "00/00;1;_", "1231", "12/31", "12/31"},
    {"TypedLiteralStepsOver", "00/00;1;_", "1/2", "1_/2_", "1 /2 "},
    {"EscapedLiteral", "\\L00;0;_", "7", "L7_", "7"},
    {"FullMaskRefusesMore", "00;0;_", "1234", "12", "12"},
    {"BlankCharacterOfTheMask", "000;0;*", "1", "1**", "1"},
};

class MaskTypingTest : public MaskEditTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(MaskTypingTest, TypedKeysGiveEditTextAndText) {
  const TypingCase& c = GetParam();
  Edit->SetEditMask(c.Mask);
  Edit->SetSelStart(0);
  TypeText(c.Typed);
  EXPECT_EQ(Edit->EditText(), c.EditText);
  EXPECT_EQ(Edit->Text(), c.Text);
  EXPECT_TRUE(Edit->Modified());
}

INSTANTIATE_TEST_SUITE_P(Mask, MaskTypingTest, ::testing::ValuesIn(TypingCases),
                         [](const ::testing::TestParamInfo<TypingCase>& Info) { return Info.param.Name; });

TEST_F(MaskEditTest, BackspaceAndDeleteBlankPositionsInPlace) {
  Edit->SetEditMask("00-00;1;_");
  Edit->SetText("12-34");
  Edit->SetSelStart(5);
  Press(VK_BACK);
  EXPECT_EQ(Edit->EditText(), "12-3_");
  Press(VK_BACK);
  Press(VK_BACK);  // steps back over the literal
  EXPECT_EQ(Edit->EditText(), "1_-__");
  EXPECT_EQ(Edit->SelStart(), 1);
  Edit->SetSelStart(0);
  Press(VK_DELETE);
  EXPECT_EQ(Edit->EditText(), "__-__");
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_EQ(Edit->Text(), "  -  ");
}

TEST_F(MaskEditTest, TypingOverASelectionBlanksItFirst) {
  Edit->SetEditMask("0000;0;_");
  Edit->SetText("1234");
  Edit->SetSelStart(1);
  Edit->SetSelLength(2);
  TypeText("9");
  EXPECT_EQ(Edit->EditText(), "19_4");
}

TEST_F(MaskEditTest, PasteTypesTheClipboardThroughTheMask) {
  Next->SetText("12a34");
  Next->SelectAll();
  Next->CopyToClipboard();
  Edit->SetEditMask("00-00;0;_");
  Edit->SetSelStart(0);
  PressCombo(VK_CONTROL, 'V');
  EXPECT_EQ(Edit->EditText(), "12-34");
  EXPECT_EQ(Edit->Text(), "1234");
  // Cut blanks the positions it takes away.
  Edit->SetSelStart(0);
  Edit->SetSelLength(2);
  Edit->CutToClipboard();
  EXPECT_EQ(Edit->EditText(), "__-34");
}

TEST_F(MaskEditTest, EscapePutsBackTheTextOfEntry) {
  Edit->SetEditMask("000;0;_");
  Edit->SetText("123");
  Next->SetFocus();
  ASSERT_TRUE(GiveFocus(Edit));
  Edit->SetSelStart(0);
  TypeText("9");
  EXPECT_EQ(Edit->Text(), "923");
  Press(VK_ESCAPE);
  EXPECT_EQ(Edit->Text(), "123");
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(MaskEditTest, ValidateEditRefusesAnIncompleteEntry) {
  Edit->SetEditMask("00/00/0000;1;_");
  Edit->SetSelStart(0);
  TypeText("1203");
  try {
    Edit->ValidateEdit();
    FAIL() << "an incomplete date passed";
  } catch (const EDBEditError& e) {
    EXPECT_EQ(e.Message, "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"_a);
  }
  // The caret waits on the first missing position.
  EXPECT_EQ(Edit->SelStart(), 6);
  // Leaving by Tab is refused: the message is shown and the focus stays.
  Press(VK_TAB);
  EXPECT_TRUE(Edit->Focused());
  // The application's exception display ends the message with a full stop.
  ASSERT_EQ(Script.Unexpected.size(), 1u);
  EXPECT_EQ(Script.Unexpected[0].Text,
            "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications."_a);
  Script.Unexpected.clear();
  TypeText("2024");
  Edit->ValidateEdit();
  Press(VK_TAB);
  EXPECT_TRUE(Next->Focused());
  EXPECT_EQ(Edit->Text(), "12/03/2024");
}

TEST_F(MaskEditTest, UnchangedOrUnmaskedTextsAreNotValidated) {
  Edit->SetEditMask("000;0;_");
  Edit->SetModified(false);
  EXPECT_NO_THROW(Edit->ValidateEdit());
  Edit->SetEditMask("");
  TypeText("libre");
  EXPECT_EQ(Edit->Text(), "libre");
  EXPECT_NO_THROW(Edit->ValidateEdit());
  // Setting a mask keeps the program's text.
  Edit->SetEditMask(">LLLLL;0;_");
  EXPECT_EQ(Edit->EditText(), "LIBRE");
  EXPECT_EQ(Edit->MaxLength(), 5);
}

TEST_F(MaskEditTest, ReadOnlyMaskedEditRefusesKeys) {
  Edit->SetEditMask("000;0;_");
  Edit->SetReadOnly(true);
  Edit->SetSelStart(0);
  TypeText("12");
  Press(VK_DELETE);
  EXPECT_EQ(Edit->EditText(), "___");
  EXPECT_FALSE(Edit->Modified());
}

}  // namespace
