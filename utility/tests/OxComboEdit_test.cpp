// Tests of the combo edit under real keys and mouse: the button placed inside the edit, the key
// that clicks it, the read-only and direct-input rules with the clipboard commands, the glyph
// kinds, the disabled look, Enter and Escape, the popup protocol a descendant plugs into, and the
// change told for text set by the program.
#include "StdCtrlsTestSupport.h"

#include "Clipbrd.h"
#include "Menus.h"
#include "OxComboEdit.h"
#include "OxFilenameEdit.h"
#include "Variant.h"

namespace {

// A combo edit with a popup standing in for a descendant's: it records what it was given and
// where it was shown, and hands back PopupValue.
class TPopupComboEdit : public TOxCustomComboEdit {
 public:
  explicit TPopupComboEdit(TComponent* AOwner) : TOxCustomComboEdit(AOwner) {
    FPopup = new TWinControl(this);
    FPopup->SetBounds(0, 0, 150, 100);
    FPopup->SetVisible(false);
  }
  String PopupValue = "choisi";
  String Offered;
  TPoint ShownAt;
  int Completions = 0;

 protected:
  void PutPopupValue(const Variant& Value) override { Offered = VarIsNull(Value) ? "<null>" : VarToStr(Value); }
  Variant TakePopupValue() override { return Variant(PopupValue); }
  void ShowPopupAt(TPoint ScreenPoint) override {
    ShownAt = ScreenPoint;
    TOxCustomComboEdit::ShowPopupAt(ScreenPoint);
  }
  void CompleteTypedText() override { ++Completions; }
};

class ComboEdits : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Edit = Add<TOxComboEdit>(10, 10, 160);
    Edit->OnButtonClick = TNotifyEvent(this, &ComboEdits::ButtonClicked);
    Edit->OnChange = TNotifyEvent(this, &ComboEdits::Changed);
    Other = Add<TOxComboEdit>(10, 60, 160);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Edit));
  }
  void TearDown() override {
    // The clipboard object is freed here, not by the library's exit-time destructor: destroying
    // its window while the process exits loses the program's exit status under Wine.
    delete SetClipboard(nullptr);
    StdFormTest::TearDown();
  }
  void ButtonClicked(TObject*) { ++ButtonClicks; }
  void Changed(TObject*) { ++Changes; }
  TOxComboEdit* Edit = nullptr;
  TOxComboEdit* Other = nullptr;
  int ButtonClicks = 0;
  int Changes = 0;
};

TEST_F(ComboEdits, ButtonSitsInsideTheRightEdgeAndTheTextStopsBeforeIt) {
  struct Case {
    bool Ctl3D;
    TBorderStyle Border;
  } cases[] = {{true, bsSingle}, {false, bsSingle}, {true, bsNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Ctl3D) + " " + std::to_string(int(c.Border)));
    Edit->SetCtl3D(c.Ctl3D);
    Edit->SetBorderStyle(c.Border);
    PumpPending();
    TControl* holder = Edit->Button()->Parent();
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->Parent(), Edit);
    EXPECT_EQ(holder->Width(), 21);
    EXPECT_EQ(Edit->Button()->BoundsRect(), Rect(0, 0, 21, holder->Height()));
    TRect expected;
    if (c.Ctl3D && c.Border == bsSingle) expected = Bounds(Edit->Width() - 25, 0, 21, Edit->Height() - 4);
    else if (OxThemes::Active()) expected = Bounds(Edit->Width() - 22, 1, 21, Edit->Height() - 2);
    else if (c.Border == bsNone) expected = Bounds(Edit->Width() - 21, 0, 21, Edit->Height());
    else expected = Bounds(Edit->Width() - 23, 2, 21, Edit->Height() - 4);
    EXPECT_EQ(holder->BoundsRect(), expected);
    // The holder lies within the edit's client area.
    EXPECT_LE(holder->BoundsRect().Right, Edit->ClientWidth());
    EXPECT_LE(holder->BoundsRect().Bottom, Edit->ClientHeight());
    RECT format{};
    SendMessageA(Edit->Handle(), EM_GETRECT, 0, LPARAM(&format));
    EXPECT_LE(format.right, Edit->ClientWidth() - 21);
  }
  // The height follows the font: the text height and the border.
  TEXTMETRICA tm = Edit->Font()->TextMetrics();
  Edit->SetCtl3D(true);
  Edit->SetBorderStyle(bsSingle);
  EXPECT_EQ(Edit->Height(), tm.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER));
}

// The edit window is multi-line, which reports no text set by the program: the change is told
// all the same, once, for the combo edit and for the file-name edit built on it.
TEST_F(ComboEdits, TextSetByTheProgramIsOneChange) {
  Edit->SetText("un");
  EXPECT_EQ(Changes, 1);
  Edit->SetText("un");
  EXPECT_EQ(Changes, 1);
  Edit->Clear();
  EXPECT_EQ(Changes, 2);

  auto* files = Add<TOxFilenameEdit>(10, 110, 200);
  int fileChanges = 0;
  struct TCounter : TObject {
    int* Count;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &fileChanges;
  files->OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  files->SetFileName("c:\\un.csv");
  EXPECT_EQ(files->Text(), "c:\\un.csv");
  EXPECT_EQ(fileChanges, 1);
}

TEST_F(ComboEdits, AltDownClicksTheButtonUnlessItHasNoWidth) {
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(ButtonClicks, 1);
  // Clicking the button itself does the same.
  ClickAt(CentreOf(Edit->Button()));
  EXPECT_EQ(ButtonClicks, 2);
  // Another click key.
  Edit->SetClickKey(ShortCut(VK_F4, {}));
  Press(VK_F4);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(ButtonClicks, 3);
  Edit->SetClickKey(ShortCut(VK_DOWN, {ssAlt}));
  Edit->SetButtonWidth(0);
  EXPECT_FALSE(Edit->Button()->Parent()->Visible());
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(ButtonClicks, 3);
  // Without the button the text runs to the edge.
  RECT format{};
  SendMessageA(Edit->Handle(), EM_GETRECT, 0, LPARAM(&format));
  EXPECT_GE(format.right, Edit->ClientWidth() - 1);
}

TEST_F(ComboEdits, ReadOnlyRefusesTypingPasteCutAndTheButton) {
  Edit->SetText("abc");
  Clipboard()->SetAsText("xyz");
  Edit->SetReadOnly(true);
  Edit->SelectAll();
  TypeText("q");
  PressCombo(VK_CONTROL, 'V');
  PressCombo(VK_CONTROL, 'X');
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  SendMessageA(Edit->Handle(), WM_CUT, 0, 0);
  PumpPending();
  EXPECT_EQ(Edit->Text(), "abc");
  PressCombo(VK_MENU, VK_DOWN);
  ClickAt(CentreOf(Edit->Button()));
  EXPECT_EQ(ButtonClicks, 0);
  // Copy still works.
  Clipboard()->SetAsText("");
  Edit->SelectAll();
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard()->AsText(), "abc");
  // Back to writable: paste and cut work again.
  Edit->SetReadOnly(false);
  Clipboard()->SetAsText("xyz");
  Edit->SelectAll();
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(Edit->Text(), "xyz");
}

TEST_F(ComboEdits, WithoutDirectInputTypingIsRefusedButTheButtonWorks) {
  Edit->SetText("abc");
  Edit->SetDirectInput(false);
  EXPECT_FALSE(Edit->ReadOnly());
  Edit->SelectAll();
  TypeText("qq");
  Clipboard()->SetAsText("xyz");
  SendMessageA(Edit->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(Edit->Text(), "abc");
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(ButtonClicks, 1);
  Edit->SetDirectInput(true);
  Edit->SelectAll();
  TypeText("qq");
  EXPECT_EQ(Edit->Text(), "qq");
}

TEST_F(ComboEdits, ClipboardCommandsFilterCopyUndoAndMakeCopyOnlyReadOnly) {
  Edit->SetText("abc");
  Edit->SetClipboardCommands({caCut, caPaste, caUndo});
  EXPECT_FALSE(Edit->ReadOnly());
  Clipboard()->SetAsText("avant");
  Edit->SelectAll();
  SendMessageA(Edit->Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard()->AsText(), "avant");
  // Undo only with caUndo.
  Edit->SelectAll();
  TypeText("z");
  ASSERT_EQ(Edit->Text(), "z");
  Edit->SetClipboardCommands({caCopy, caCut, caPaste});
  SendMessageA(Edit->Handle(), WM_UNDO, 0, 0);
  EXPECT_EQ(Edit->Text(), "z");
  Edit->SetClipboardCommands({caCopy, caCut, caPaste, caUndo});
  SendMessageA(Edit->Handle(), WM_UNDO, 0, 0);
  EXPECT_EQ(Edit->Text(), "abc");
  // Copy alone (or nothing) leaves the edit read-only.
  Edit->SetClipboardCommands({caCopy});
  EXPECT_TRUE(Edit->ReadOnly());
  Edit->SetClipboardCommands({});
  EXPECT_TRUE(Edit->ReadOnly());
  Edit->SetClipboardCommands({caCopy, caPaste});
  EXPECT_FALSE(Edit->ReadOnly());
}

TEST_F(ComboEdits, GlyphKindsGiveTheButtonItsPictureAndWidth) {
  Edit->SetGlyphKind(gkEllipsis);
  TBitmap* dots = Edit->Glyph();
  ASSERT_EQ(dots->Width(), 15);  // button width 21 - 6
  ASSERT_EQ(dots->Height(), 4);
  // Three 2 x 2 dots at y = 1: the gap (15 - 6) / 2 limited to 3, the first at x = 1.
  for (int x = 0; x < 15; ++x) {
    bool dot = x == 1 || x == 2 || x == 6 || x == 7 || x == 11 || x == 12;
    for (int y = 0; y < 4; ++y) {
      EXPECT_EQ(dots->Canvas()->Pixels(x, y) == clBlack, dot && (y == 1 || y == 2)) << x << "," << y;
    }
  }
  Edit->SetNumGlyphs(3);
  EXPECT_EQ(Edit->NumGlyphs(), 1);
  Edit->SetGlyphKind(gkDropDown);
  EXPECT_EQ(Edit->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
  // A glyph of one's own makes the kind custom.
  TBitmap own;
  own.SetSize(10, 10);
  Edit->SetGlyph(&own);
  EXPECT_EQ(Edit->GlyphKind(), gkCustom);
  EXPECT_EQ(Edit->Glyph()->Width(), 10);
  // A width as wide as the edit is refused.
  int width = Edit->ButtonWidth();
  Edit->SetButtonWidth(Edit->ClientWidth() + 5);
  EXPECT_EQ(Edit->ButtonWidth(), width);
}

TEST_F(ComboEdits, DisabledEditPaintsItsTextInItsOwnColours) {
  const TColor back = RGBToColor(250, 240, 100), ink = RGBToColor(200, 20, 20);
  Edit->SetText("MMMM");
  Edit->SetDisabledColor(back);
  Edit->SetDisabledTextColor(ink);
  Edit->SetEnabled(false);
  Edit->Repaint();
  ASSERT_TRUE(Painted(Edit));
  EXPECT_EQ(PixelOf(Edit, Edit->ClientWidth() - 30, Edit->ClientHeight() / 2), ColorToRGB(back));
  // The text as the edit's font draws it in the ink, on the back colour left of the button.
  EXPECT_TRUE(ShowsText(Edit, Rect(0, 0, Edit->ClientWidth() - 25, Edit->ClientHeight()), "MMMM", Edit->Font(), ink, back));
  // Enabled again: the window's own painting, no trace of the disabled colours.
  Edit->SetEnabled(true);
  Edit->Repaint();
  ASSERT_TRUE(Painted(Edit));
  EXPECT_EQ(PixelOf(Edit, Edit->ClientWidth() - 30, Edit->ClientHeight() / 2), ColorToRGB(clWindow));
}

TEST_F(ComboEdits, EnterGoesToTheFormWithoutBreakingTheLineAndTabMovesOn) {
  int dialogKeys = 0;
  struct TKeys : TObject {
    int* Count;
    void KeyDown(TObject*, WORD& Key, TShiftState) {
      if (Key == VK_RETURN) ++*Count;
    }
  } keys;
  keys.Count = &dialogKeys;
  Edit->SetText("ligne");
  Edit->SelStart();
  Press(VK_END);
  Press(VK_RETURN);
  EXPECT_EQ(Edit->Text(), "ligne");
  EXPECT_EQ(SendMessageA(Edit->Handle(), EM_GETLINECOUNT, 0, 0), 1);
  // Ctrl+Enter reaches the form's key handling.
  Form->OnKeyDown = TKeyEvent(&keys, &TKeys::KeyDown);
  PressCombo(VK_CONTROL, VK_RETURN);
  EXPECT_EQ(dialogKeys, 1);
  EXPECT_EQ(Edit->Text(), "ligne");
  Press(VK_TAB);
  EXPECT_TRUE(Other->Focused());
}

class PopupComboEdits : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Edit = Add<TPopupComboEdit>(10, 10, 121);
    Edit->OnButtonClick = TNotifyEvent(this, &PopupComboEdits::ButtonClicked);
    Edit->OnChange = TNotifyEvent(this, &PopupComboEdits::Changed);
    ShowForm();
    ASSERT_TRUE(GiveFocus(Edit));
  }
  void ButtonClicked(TObject*) { ++ButtonClicks; }
  void Changed(TObject*) { ++Changes; }
  TPoint Origin() const { return Form->ClientToScreen(TPoint(Edit->Left(), Edit->Top())); }
  TPopupComboEdit* Edit = nullptr;
  int ButtonClicks = 0;
  int Changes = 0;
};

TEST_F(PopupComboEdits, ThePopupOpensUnderTheEditRightAlignedAndTakesItsValueOnEnter) {
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(Edit->PopupVisible());
  EXPECT_EQ(ButtonClicks, 1);
  EXPECT_EQ(Edit->Offered, "<null>");  // an empty text is offered as null
  // Right edges aligned, 150 wide against 121.
  EXPECT_EQ(Edit->ShownAt, TPoint(Origin().X + 121 - 150, Origin().Y + Edit->Height()));
  // Typing is held back meanwhile.
  TypeText("x");
  EXPECT_EQ(Edit->Text(), "");
  Press(VK_RETURN);
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(Edit->Text(), "choisi");
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Changes, 1);
  // Writable again.
  Edit->SelectAll();
  TypeText("y");
  EXPECT_EQ(Edit->Text(), "y");
}

TEST_F(PopupComboEdits, EscapeClosesWithoutTheValueAndTheButtonClosesTakingIt) {
  Edit->SetText("avant");
  Changes = 0;
  Edit->PopupValue = "nouveau";
  ClickAt(CentreOf(Edit->Button()));
  ASSERT_TRUE(Edit->PopupVisible());
  EXPECT_EQ(Edit->Offered, "avant");
  Press(VK_ESCAPE);
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(Edit->Text(), "avant");
  EXPECT_EQ(Changes, 0);
  // A press on the button while the popup shows closes it taking the value, and is no click.
  ClickAt(CentreOf(Edit->Button()));
  ASSERT_TRUE(Edit->PopupVisible());
  EXPECT_EQ(ButtonClicks, 2);
  ClickAt(CentreOf(Edit->Button()));
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(Edit->Text(), "nouveau");
  EXPECT_EQ(ButtonClicks, 2);
  // Losing the focus closes it without the value.
  Edit->PopupValue = "perdu";
  Edit->OpenPopup(true);
  ASSERT_TRUE(Edit->PopupVisible());
  auto* other = Add<TOxComboEdit>(10, 100, 100);
  ASSERT_TRUE(GiveFocus(other));
  EXPECT_FALSE(Edit->PopupVisible());
  EXPECT_EQ(Edit->Text(), "nouveau");
  // Read-only: the popup does not open.
  Edit->SetReadOnly(true);
  Edit->OpenPopup(true);
  EXPECT_FALSE(Edit->PopupVisible());
}

TEST_F(PopupComboEdits, NearTheScreenEdgesThePopupStaysOnScreen) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // Places the form so that the edit's top-left lands at P (screen).
  auto placeEditAt = [&](TPoint P) {
    TPoint client = Form->ClientToScreen(TPoint(0, 0));
    Form->SetBounds(Form->Left() + P.X - client.X - 10, Form->Top() + P.Y - client.Y - 10, 420, 300);
    PumpPending();
    ASSERT_EQ(Origin(), P);
  };
  // Near the bottom: above the edit, right edges aligned.
  placeEditAt(TPoint(200, screenHeight - 60));
  Edit->OpenPopup(false);
  EXPECT_EQ(Edit->ShownAt, TPoint(200 + 121 - 150, screenHeight - 60 - 100));
  Edit->ClosePopup(Edit->Popup(), false);
  // Left-aligned near the right edge: shifted left so that the right edges meet.
  Edit->PopupAlign = epaLeft;
  placeEditAt(TPoint(screenWidth - 140, 200));
  Edit->OpenPopup(false);
  EXPECT_EQ(Edit->ShownAt, TPoint(screenWidth - 140 + 121 - 150, 200 + Edit->Height()));
  Edit->ClosePopup(Edit->Popup(), false);
  // Left-aligned with room: under the edit's left.
  placeEditAt(TPoint(300, 200));
  Edit->OpenPopup(false);
  EXPECT_EQ(Edit->ShownAt, TPoint(300, 200 + Edit->Height()));
  Edit->ClosePopup(Edit->Popup(), false);
  // Right-aligned at the left edge: it would start left of the screen, so under the edit's left.
  Edit->PopupAlign = epaRight;
  placeEditAt(TPoint(5, 200));
  Edit->OpenPopup(false);
  EXPECT_EQ(Edit->ShownAt, TPoint(5, 200 + Edit->Height()));
  Edit->ClosePopup(Edit->Popup(), false);
}

}  // namespace
