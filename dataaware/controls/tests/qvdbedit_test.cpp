// Tests of the masked data-aware edit with real keys: typing against picture masks, a refused
// exit and a refused commit, a text that is no number, pasting without touching the clipboard,
// date completion on Space, display text against edit text, the length of the bound field,
// Escape, and the frame's borders on screen.
#include "ControlsTestSupport.h"

#include "Clipbrd.h"
#include "DateTime.h"
#include "ScopeGuard.h"
#include "qvdbedit.h"

namespace {

const char* const PictureMessage = "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"_a;

bool Asked(const TModalScript& Script, const String& Text) {
  for (const TModalQuestion& Q : Script.Asked)
    if (Q.Text.find(Text) != String::npos) return true;
  return false;
}

class EditTest : public ControlsFormTest {
 protected:
  TqvDBEdit* Unbound(int Top = 20) { return Add<TqvDBEdit>(20, Top, 160); }
};

// --- Typing against a picture ---------------------------------------------------------------------

struct TPictureCase {
  const char* Name;
  const char* Picture;
  bool AutoFill;
  const char* Typed;
  const char* Text;
};

class PictureTypingTest : public EditTest, public ::testing::WithParamInterface<TPictureCase> {};

TEST_P(PictureTypingTest, TheTextIsWhatThePictureLetThrough) {
  const TPictureCase& C = GetParam();
  TqvDBEdit* Edit = Unbound();
  Edit->Picture()->SetPictureMask(C.Picture);
  Edit->Picture()->SetAutoFill(C.AutoFill);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText(C.Typed);
  EXPECT_EQ(Edit->Text(), C.Text);
  EXPECT_EQ(Edit->SelStart(), int(Edit->Text().size()));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureTypingTest,
    ::testing::Values(TPictureCase{"HyphenFilledIn", "###-####", true, "1234567", "123-4567"},
                      TPictureCase{"EighthDigitRefused", "###-####", true, "12345678", "123-4567"},
                      TPictureCase{"WithoutFillTheHyphenMustBeTyped", "###-####", false, "1234567", "123"},
                      TPictureCase{"HyphenTypedWithoutFill", "###-####", false, "123-4567", "123-4567"},
                      TPictureCase{"SlashesFilledIn", "##/##/####", true, "15032024", "15/03/2024"},
                      TPictureCase{"UpperCaseLetters", "&&&", true, "abc", "ABC"},
                      TPictureCase{"LetterRefusedByDigits", "###", true, "1a2", "12"},
                      TPictureCase{"OptionalPartTaken", "##[-##]", true, "12-34", "12-34"}),
    [](const auto& Info) { return Info.param.Name; });

// --- Refusals -------------------------------------------------------------------------------------

// The bound dataset's picture for CODE: two digits, a hyphen, two digits.
class BoundPictureTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    DataSet->PictureMasks()->Add("CODE\t##-##\tT\tT");
    Edit = Bound<TqvDBEdit>("CODE", 20);
    ShowForm();
  }
  TqvDBEdit* Edit = nullptr;
};

TEST_F(BoundPictureTest, AnIncompleteTextKeepsTheUserInTheEditWithTheMessage) {
  EXPECT_EQ(Edit->Picture()->PictureMask(), "##-##");
  EXPECT_FALSE(Edit->Picture()->AllowInvalidExit());
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("12");
  EXPECT_EQ(Edit->Text(), "12-");
  Script.Push(IDOK);
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_TRUE(Asked(Script, PictureMessage)) << AskedTexts(Script);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_EQ(Edit->SelLength(), 3);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(FieldOf("CODE")->AsString(), "01A");
  // Completed, the text leaves with the focus.
  Press(VK_END);
  TypeText("34");
  Press(VK_TAB);
  PumpPending();
  EXPECT_FALSE(Edit->Focused());
  EXPECT_EQ(FieldOf("CODE")->AsString(), "12-34");
}

TEST_F(BoundPictureTest, ARefusedCommitSelectsTheTextKeepsTheFocusAndTheModifiedFlag) {
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("7");
  ASSERT_EQ(Edit->Text(), "7");
  ASSERT_EQ(Edit->SelStart(), 1);
  bool Raised = false;
  try {
    Edit->CommitToRecord();
  } catch (EInvalidOperation& E) {
    Raised = true;
    EXPECT_EQ(E.Message, PictureMessage);
  }
  EXPECT_TRUE(Raised);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_EQ(Edit->SelLength(), 1);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(FieldOf("CODE")->AsString(), "01A");
  // Posting asks the edit too: the record is not written.
  EXPECT_THROW(DataSet->Post(), EInvalidOperation);
  EXPECT_EQ(DataSet->State(), dsEdit);
  DataSet->Cancel();
}

TEST_F(EditTest, AnUnboundPictureRefusesTheExitWithoutAMessage) {
  TqvDBEdit* Edit = Unbound();
  Edit->Picture()->SetPictureMask("##-##");
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("1");
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_TRUE(Edit->Focused());
  EXPECT_TRUE(Edit->ExitRefused());
  EXPECT_TRUE(Script.Asked.empty()) << AskedTexts(Script);
  // Allowed, the same text leaves.
  Edit->Picture()->SetAllowInvalidExit(true);
  Press(VK_TAB);
  PumpPending();
  EXPECT_FALSE(Edit->Focused());
  EXPECT_EQ(Edit->Text(), "1");
}

// A number shown through a display format is read back through it; a text that is no number is
// refused with the conversion message, the user stays in the edit and the field keeps its value.
TEST_F(EditTest, ATextThatIsNoNumberIsRefusedWithTheConversionMessage) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("SURFACE", 20);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  EXPECT_EQ(Edit->SelLength(), int(Edit->Text().size()));
  TypeText("1,2,3");
  Other();
  Script.Push(IDOK);
  Press(VK_TAB);
  PumpPending();
  EXPECT_TRUE(Asked(Script, "'1,2,3' n'est pas une valeur en virgule flottante correcte")) << AskedTexts(Script);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelLength(), 5);
  EXPECT_DOUBLE_EQ(FieldOf("SURFACE")->AsFloat(), 1234.5);
  TypeText("42,5");
  Press(VK_TAB);
  PumpPending();
  EXPECT_FALSE(Edit->Focused());
  EXPECT_DOUBLE_EQ(FieldOf("SURFACE")->AsFloat(), 42.5);
}

TEST_F(EditTest, LettersAreRefusedInANumberWithADisplayFormat) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("SURFACE", 20);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("7a;8");
  EXPECT_EQ(Edit->Text(), "78");
}

// --- Clipboard ------------------------------------------------------------------------------------

TEST_F(EditTest, PastingTwoLinesIntoABorderlessEditTakesTheFirstAndLeavesTheClipboardAlone) {
  TqvDBEdit* Edit = Unbound();
  Edit->SetBorderStyle(bsNone);
  ShowForm();
  const String Copied = "première ligne\r\nseconde"_a;
  Clipboard()->SetAsText(Copied);
  DWORD Sequence = GetClipboardSequenceNumber();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("<");
  PressCombo(VK_CONTROL, 'V');
  TypeText(">");
  EXPECT_EQ(Edit->Text(), "<première ligne>"_a);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Clipboard()->AsText(), Copied);
  EXPECT_EQ(GetClipboardSequenceNumber(), Sequence);
}

TEST_F(EditTest, PastingIntoABorderedEditTakesTheWholeText) {
  TqvDBEdit* Edit = Unbound();
  ShowForm();
  Clipboard()->SetAsText("abc");
  ASSERT_TRUE(GiveFocus(Edit));
  PressCombo(VK_CONTROL, 'V');
  EXPECT_EQ(Edit->Text(), "abc");
  EXPECT_EQ(Clipboard()->AsText(), "abc");
}

// --- Dates ----------------------------------------------------------------------------------------

TEST_F(EditTest, SpaceCompletesTheDayTheMonthAndTheYearFromToday) {
  TFixedClock Clock(EncodeDate(2024, 3, 7) + 0.5);
  SetClock(&Clock);
  TScopeGuard Restore([] { SetClock(nullptr); });
  DataSet->Next();
  TqvDBEdit* Edit = Bound<TqvDBEdit>("DATE_OBS", 20);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  EXPECT_EQ(Edit->Text(), "");
  const char* const Steps[] = {"07/", "07/03/", "07/03/2024"};
  for (const char* Step : Steps) {
    Press(VK_SPACE);
    EXPECT_EQ(Edit->Text(), Step);
  }
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_EQ(FieldOf("DATE_OBS")->AsDateTime(), EncodeDate(2024, 3, 7));
}

TEST_F(EditTest, SpaceAfterATypedDayOnlyAddsTheSeparator) {
  TFixedClock Clock(EncodeDate(2024, 3, 7));
  SetClock(&Clock);
  TScopeGuard Restore([] { SetClock(nullptr); });
  TqvDBEdit* Edit = Unbound();
  Edit->SetUnboundDataType(qvEdtDate);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("21");
  Press(VK_SPACE);
  EXPECT_EQ(Edit->Text(), "21/");
  Press(VK_SPACE);
  EXPECT_EQ(Edit->Text(), "21/03/");
  // Ctrl+Space is a plain blank.
  Edit->SetText(String());
  PressCombo(VK_CONTROL, VK_SPACE);
  EXPECT_EQ(Edit->Text(), " ");
}

// --- Display and edit texts -----------------------------------------------------------------------

TEST_F(EditTest, ANumberShowsItsDisplayTextRightAlignedUntilTheEditHasTheFocus) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("SURFACE", 20, 200);
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  String Display = FieldOf("SURFACE")->DisplayText();
  EXPECT_EQ(Display, "1\xA0" "234,50");
  EXPECT_EQ(Edit->Text(), Display);
  TRect Client = Edit->ClientRect();
  TRect RightHalf(Client.Right / 2, 0, Client.Right, Client.Bottom);
  TRect LeftHalf(0, 0, Client.Right / 2, Client.Bottom);
  EXPECT_TRUE(ShowsText(Edit, RightHalf, Display, Edit->Font(), clWindowText, clWindow));
  ASSERT_TRUE(GiveFocus(Edit));
  EXPECT_EQ(Edit->Text(), FieldOf("SURFACE")->EditText());
  Press(VK_END);
  // The blinking caret is no part of the text.
  HideCaret(Edit->Handle());
  ASSERT_TRUE(Painted(Form.get()));
  EXPECT_TRUE(ShowsText(Edit, LeftHalf, Edit->Text(), Edit->Font(), clWindowText, clWindow));
}

TEST_F(EditTest, ADisabledEditWritesItsOwnTextInTheGreyTextColour) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("SURFACE", 20, 200);
  Edit->SetEnabled(false);
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  TRect Client = Edit->ClientRect();
  EXPECT_TRUE(ShowsText(Edit, TRect(Client.Right / 2, 0, Client.Right, Client.Bottom), FieldOf("SURFACE")->DisplayText(),
                        Edit->Font(), clGrayText, clWindow));
}

TEST_F(EditTest, APasswordEditShowsOneMarkPerCharacterAlsoUnfocused) {
  TqvDBEdit* Edit = Unbound();
  Edit->SetPasswordChar('*');
  Edit->Frame()->SetEnabled(true);
  Edit->SetText("secret");
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  TRect Inside(0, 0, Edit->ClientWidth(), Edit->ClientHeight() - 2);
  EXPECT_TRUE(ShowsText(Edit, Inside, "******", Edit->Font(), clWindowText, clWindow));
}

TEST_F(EditTest, ChangingTheFieldLetsTheNewFieldsSizeLimitTheText) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("CODE", 20);
  ShowForm();
  EXPECT_EQ(Edit->MaxLength(), 10);
  Edit->SetDataField("LIB");
  EXPECT_EQ(Edit->MaxLength(), 20);
  EXPECT_EQ(Edit->Text(), "Marais");
  // A length of its own stays.
  Edit->SetMaxLength(4);
  Edit->SetDataField("CODE");
  EXPECT_EQ(Edit->MaxLength(), 4);
}

TEST_F(EditTest, EscapePutsTheFieldsTextBack) {
  TqvDBEdit* Edit = Bound<TqvDBEdit>("LIB", 20);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("Lac");
  EXPECT_EQ(Edit->Text(), "Lac");
  EXPECT_EQ(DataSet->State(), dsEdit);
  Press(VK_ESCAPE);
  EXPECT_EQ(Edit->Text(), "Marais");
  EXPECT_FALSE(Edit->Modified());
  EXPECT_EQ(Edit->SelLength(), 6);
}

TEST_F(EditTest, TypingIntoASourceThatCannotAutoEditIsDropped) {
  Source->AutoEdit = false;
  TqvDBEdit* Edit = Bound<TqvDBEdit>("LIB", 20);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Edit));
  TypeText("xy");
  EXPECT_EQ(Edit->Text(), "Marais");
  EXPECT_EQ(DataSet->State(), dsBrowse);
}

// --- The frame ------------------------------------------------------------------------------------

// The pixel in the middle of each side of the client area.
struct TSides {
  unsigned Left, Top, Right, Bottom;
};
TSides SidesOf(TWinControl* Control) {
  TRect C = Control->ClientRect();
  TPixelArea P = CaptureArea(Control, C);
  int MidX = C.Right / 2, MidY = C.Bottom / 2;
  return {P.At(0, MidY), P.At(MidX, 0), P.At(C.Right - 1, MidY), P.At(MidX, C.Bottom - 1)};
}

TEST_F(EditTest, TheFrameDrawsABottomLineUnfocusedAndABoxFocused) {
  TqvDBEdit* Edit = Unbound();
  Edit->SetText("Étang"_a);
  Edit->Frame()->SetEnabled(true);
  EXPECT_EQ(Edit->BorderStyle(), bsNone);
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  unsigned Line = PixelValue(clWindowFrame), Back = PixelValue(clWindow);
  TSides Unfocused = SidesOf(Edit);
  EXPECT_EQ(Unfocused.Bottom, Line);
  EXPECT_EQ(Unfocused.Top, Back);
  EXPECT_EQ(Unfocused.Left, Back);
  EXPECT_EQ(Unfocused.Right, Back);
  WritePng(CaptureArea(Form.get(), Bounds(10, 10, 190, 40)), BuildPicturePath("qvdbedit_frame_unfocused.png"));
  ASSERT_TRUE(GiveFocus(Edit));
  Press(VK_END);
  HideCaret(Edit->Handle());
  ASSERT_TRUE(Painted(Form.get()));
  TSides Focused = SidesOf(Edit);
  EXPECT_EQ(Focused.Bottom, Line);
  EXPECT_EQ(Focused.Top, Line);
  EXPECT_EQ(Focused.Left, Line);
  EXPECT_EQ(Focused.Right, Line);
  WritePng(CaptureArea(Form.get(), Bounds(10, 10, 190, 40)), BuildPicturePath("qvdbedit_frame_focused.png"));
  // The text itself stays readable on the window colour.
  EXPECT_TRUE(ShowsText(Edit, TRect(1, 1, Edit->ClientWidth() - 1, Edit->ClientHeight() - 1), "Étang"_a, Edit->Font(),
                        clWindowText, clWindow));
}

TEST_F(EditTest, AnUnfocusedFrameFillsWithItsColourAndWritesInItsFontColour) {
  TqvDBEdit* Edit = Unbound();
  Edit->SetText("Saulaie");
  Edit->Frame()->SetEnabled(true);
  Edit->Frame()->NonFocusColor = RGBToColor(255, 255, 200);
  Edit->Frame()->NonFocusFontColor = RGBToColor(0, 0, 160);
  ShowUnfocused();
  ASSERT_TRUE(Painted(Form.get()));
  // Above the frame's two lines (the inner one is the window colour, as a mono edge draws it).
  TRect Inside(0, 0, Edit->ClientWidth(), Edit->ClientHeight() - 2);
  WritePng(CaptureArea(Form.get(), Bounds(10, 10, 190, 40)), BuildPicturePath("qvdbedit_frame_colours.png"));
  EXPECT_TRUE(ShowsText(Edit, Inside, "Saulaie", Edit->Font(), RGBToColor(0, 0, 160), RGBToColor(255, 255, 200)));
}

}  // namespace
