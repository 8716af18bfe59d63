// Tests of the edit with a dialog button, with real clicks and keys: the button, F4 and Alt+Down
// fire OnCustomDlg with the dataset in edit state and the edit dropped down meanwhile; nothing
// happens without a handler; a failing handler still closes; a combo that takes no typing opens
// its dialog from a click on its text; the button's width and the text rectangle beside it.
#include "ControlsTestSupport.h"

#include "Qvdotdot.h"

namespace {

class ComboDlgTest : public ControlsFormTest {
 protected:
  void SetUp() override {
    ControlsFormTest::SetUp();
    Combo = Bound<TqvDBComboDlg>("LIB", 20, 180);
  }
  // The handler: counts, notes what it saw, and picks a text.
  void Dialog(TObject* Sender) {
    ++Calls;
    EXPECT_EQ(Sender, Combo);
    DroppedDuring = Combo->IsDroppedDown();
    StateDuring = DataSet->State();
    if (Fail) throw EInvalidOperation("Choix impossible");
    if (!Pick.empty()) Combo->SetText(Pick);
  }
  void Handle() { Combo->OnCustomDlg = TNotifyEvent(this, &ComboDlgTest::Dialog); }

  TqvDBComboDlg* Combo = nullptr;
  int Calls = 0;
  bool DroppedDuring = false;
  TDataSetState StateDuring = dsInactive;
  bool Fail = false;
  String Pick;
};

TEST_F(ComboDlgTest, TheButtonOpensTheDialogWithTheDatasetEditingAndThePickIsWritten) {
  Handle();
  Pick = "Roselière"_a;
  ShowForm();
  ClickControl(Combo->Button());
  ASSERT_TRUE(WaitFor("the dialog", [&] { return Calls == 1; }));
  EXPECT_TRUE(Combo->Focused());
  EXPECT_TRUE(DroppedDuring);
  EXPECT_EQ(StateDuring, dsEdit);
  EXPECT_FALSE(Combo->IsDroppedDown());
  EXPECT_EQ(Combo->Text(), "Roselière"_a);
  Other();
  Press(VK_TAB);
  PumpPending();
  EXPECT_EQ(FieldOf("LIB")->AsString(), "Roselière"_a);
}

TEST_F(ComboDlgTest, F4AndAltDownOpenTheDialog) {
  Handle();
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_F4);
  EXPECT_EQ(Calls, 1);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_EQ(Calls, 2);
  PressCombo(VK_MENU, VK_UP);
  EXPECT_EQ(Calls, 3);
  // A plain arrow is no drop-down key.
  Press(VK_DOWN);
  EXPECT_EQ(Calls, 3);
}

TEST_F(ComboDlgTest, WithoutAHandlerNothingDropsDown) {
  ShowForm();
  ClickControl(Combo->Button());
  EXPECT_TRUE(Combo->Focused());
  Press(VK_F4);
  PressCombo(VK_MENU, VK_DOWN);
  EXPECT_FALSE(Combo->IsDroppedDown());
  EXPECT_EQ(Combo->Text(), "Marais");
}

TEST_F(ComboDlgTest, AFailingDialogStillCloses) {
  Handle();
  Fail = true;
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Script.Push(IDOK);
  Press(VK_F4);
  PumpPending();
  EXPECT_EQ(Calls, 1);
  EXPECT_TRUE(DroppedDuring);
  EXPECT_FALSE(Combo->IsDroppedDown());
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Choix impossible.");
}

TEST_F(ComboDlgTest, AListStyleOpensFromAClickOnTheTextAndTakesNoTyping) {
  Handle();
  Combo->SetStyle(csDropDownList);
  ShowForm();
  ClickAt(OnScreen(Combo, 10, Combo->ClientHeight() / 2));
  ASSERT_TRUE(WaitFor("the dialog", [&] { return Calls == 1; }));
  EXPECT_TRUE(Combo->Focused());
  TypeText("xyz");
  EXPECT_EQ(Combo->Text(), "Marais");
  EXPECT_EQ(DataSet->State(), dsEdit);
}

// Borderless, the edit reports its text rectangle as it was set (a client edge would take a
// pixel off each side).
TEST_F(ComboDlgTest, TheButtonWidthAndTheTextRectangleBesideIt) {
  Combo->SetBorderStyle(bsNone);
  ShowForm();
  int Default = std::max(GetSystemMetrics(SM_CXVSCROLL), 15);
  EXPECT_EQ(Combo->ButtonHolder()->Width(), Default);
  EXPECT_EQ(Combo->ButtonHolder()->Left() + Default, Combo->ClientWidth());
  Combo->SetButtonWidth(25);
  EXPECT_EQ(Combo->Button()->Width(), 25);
  EXPECT_EQ(Combo->ButtonHolder()->Width(), 25);
  EXPECT_EQ(Combo->ButtonHolder()->Left(), Combo->ClientWidth() - 25);
  RECT Format{};
  SendMessageA(Combo->Handle(), EM_GETRECT, 0, LPARAM(&Format));
  EXPECT_EQ(Format.right, Combo->ButtonHolder()->Left() - 2);
  // Hidden, the button leaves the whole width to the text.
  Combo->SetShowButton(false);
  SendMessageA(Combo->Handle(), EM_GETRECT, 0, LPARAM(&Format));
  EXPECT_EQ(Format.right, Combo->ClientWidth() - 2);
}

TEST_F(ComboDlgTest, ASingleLineEditKeepsItsTextClearOfTheButton) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Combo->SelectAll();
  TypeText("Une végétation de bordure très longue"_a);
  Press(VK_END);
  ASSERT_TRUE(Painted(Form.get()));
  // The caret stops before the button.
  POINT Caret{};
  GetCaretPos(&Caret);
  EXPECT_LT(Caret.x, Combo->ButtonHolder()->Left());
  WritePng(CaptureArea(Form.get(), Bounds(10, 10, 210, 40)), BuildPicturePath("qvdotdot_combodlg.png"));
}

}  // namespace
