// Tests of the memo dialog opened from the published grid's memo cells: editing a memo field and
// posting it, the question before typed text is dropped, the read-only window of a grid that
// cannot edit, and the grid that opens no dialog.
#include "DBGridTestSupport.h"

#include "Field.h"
#include "Qvintl.h"
#include "Qvmemo.h"

namespace {

class DBGridMemoDialog : public DBGridFormTest {
 public:
  // The grid is about to show its memo window: the work to do in it runs inside the window's loop.
  void MemoOpening(TObject*, TqvMemoDialog*) {
    ++Opened;
    std::function<void(TqvMemoDlg*)> Work = Pending;
    Later([this, Work] {
      ASSERT_TRUE(WaitFor("the memo window", [] { return MemoWindow() != nullptr && MemoWindow()->Showing(); }));
      TqvMemoDlg* Window = MemoWindow();
      ASSERT_TRUE(Painted(Window));
      ++Shown;
      if (Work) Work(Window);
      EndModalIfStillOpen(Window);
    });
  }

 protected:
  void SetUp() override {
    DBGridFormTest::SetUp();
    DB->OnMemoOpen = TqvMemoOpenEvent(static_cast<DBGridMemoDialog*>(this), &DBGridMemoDialog::MemoOpening);
  }
  // The memo window while it is shown.
  static TqvMemoDlg* MemoWindow() { return dynamic_cast<TqvMemoDlg*>(Screen->ActiveForm()); }
  // What the test does in the next memo window.
  void WhenShown(std::function<void(TqvMemoDlg*)> Work) { Pending = std::move(Work); }
  // Makes the NOTE column of record Code current.
  void GoToNote(int Code) {
    ASSERT_TRUE(Data->Locate("CODE", Code, {}));
    DB->SelectColumnOfField("NOTE");
    PumpPending();
    ASSERT_EQ(DB->SelectedField()->FieldName(), "NOTE");
  }
  std::function<void(TqvMemoDlg*)> Pending;
  int Opened = 0;
  int Shown = 0;
};

TEST_F(DBGridMemoDialog, F2EditsTheMemoAndTheRecordIsPosted) {
  ShowGrid();
  GoToNote(3);
  String Caption;
  bool OKEnabledAtFirst = true;
  WhenShown([&](TqvMemoDlg* Window) {
    Caption = Window->Caption();
    OKEnabledAtFirst = Window->OKBtn->Enabled();
    ASSERT_TRUE(GiveFocus(Window->Memo));
    TypeText("Marais salé"_a);
    PressCombo(VK_CONTROL, VK_RETURN);
  });
  Press(VK_F2);
  ASSERT_EQ(Shown, 1);
  EXPECT_EQ(Caption, "NOTE");
  EXPECT_FALSE(OKEnabledAtFirst);
  // The memo is written into the record, which stays in edit state until posted.
  EXPECT_EQ(Data->State(), dsEdit);
  EXPECT_EQ(Text("NOTE"), "Marais salé"_a);
  Data->Post();
  ASSERT_TRUE(Data->Locate("CODE", 4, {}));
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  EXPECT_EQ(Text("NOTE"), "Marais salé"_a);
  // The window is gone with its dialog component.
  EXPECT_EQ(MemoWindow(), nullptr);
  EXPECT_EQ(Screen->ActiveForm(), Form.get());
}

TEST_F(DBGridMemoDialog, EscapeAsksBeforeTypedTextIsDropped) {
  ShowGrid();
  GoToNote(2);
  String KeptText;
  bool KeptOpen = true;
  WhenShown([&](TqvMemoDlg* Window) {
    ASSERT_TRUE(GiveFocus(Window->Memo));
    TypeText("brouillon");
    // No: the window stays, with the text.
    Script.Push(mrNo);
    bool CanClose = true;
    Window->FormCloseQuery(Window, CanClose);
    KeptOpen = !CanClose;
    KeptText = Window->Memo->Text();
    // Escape, then Yes: the text is dropped.
    Script.Push(mrYes);
    Press(VK_ESCAPE);
  });
  Press(VK_F2);
  ASSERT_EQ(Shown, 1);
  ASSERT_EQ(Script.Asked.size(), 2u);
  EXPECT_EQ(Script.Asked[0].Text, qvIntl->UserMessages()->MemoChangesWarning);
  EXPECT_TRUE(KeptOpen);
  EXPECT_EQ(KeptText, "brouillon");
  EXPECT_EQ(Data->State(), dsBrowse);
  EXPECT_EQ(Text("NOTE"), "");
}

TEST_F(DBGridMemoDialog, UnchangedTextConfirmedByF2IsWrittenBackUnchanged) {
  ASSERT_TRUE(Data->Locate("CODE", 5, {}));
  Data->Edit();
  Data->FieldByName("NOTE")->SetAsString("ligne 1\r\nligne 2");
  Data->Post();
  ShowGrid();
  GoToNote(5);
  WhenShown([&](TqvMemoDlg* Window) {
    ASSERT_TRUE(GiveFocus(Window->Memo));
    PressKey(VK_F2);
  });
  Press(VK_F2);
  ASSERT_EQ(Shown, 1);
  EXPECT_EQ(Data->State(), dsEdit);
  EXPECT_EQ(Text("NOTE"), "ligne 1\r\nligne 2");
}

TEST_F(DBGridMemoDialog, AGridThatCannotEditOpensTheMemoReadOnlyByDoubleClick) {
  DB->ReadOnly = true;
  ShowGrid();
  GoToNote(4);
  bool CancelShown = true, MemoReadOnly = false;
  int OKLeft = 0, Centred = -1;
  WhenShown([&](TqvMemoDlg* Window) {
    CancelShown = Window->CancelBtn->Visible();
    MemoReadOnly = Window->Memo->ReadOnly();
    OKLeft = Window->OKBtn->Left();
    Centred = Window->Memo->Width() / 2 + Window->Memo->Left() - Window->CancelBtn->Width() / 2;
    ClickControl(Window->OKBtn);
  });
  TPoint P = CellPoint("NOTE", RowOfCode(4));
  AwaitNoDoubleClick(P);
  MouseButton(true, P);
  MouseButton(false, P);
  MouseButton(true, P);
  MouseButton(false, P);
  ASSERT_TRUE(WaitFor("the memo window to come and go", [&] { return Shown == 1 && MemoWindow() == nullptr; }));
  EXPECT_FALSE(CancelShown);
  EXPECT_TRUE(MemoReadOnly);
  EXPECT_EQ(OKLeft, Centred);
  EXPECT_EQ(Data->State(), dsBrowse);
}

TEST_F(DBGridMemoDialog, DisableDialogOpensNothing) {
  DB->SetMemoAttributes({mSizeable, mWordWrap, mDisableDialog});
  ShowGrid();
  GoToNote(2);
  // Were a window to open all the same, the work would close it.
  WhenShown([](TqvMemoDlg* Window) { Window->SetModalResult(mrCancel); });
  Press(VK_F2);
  PumpPending();
  EXPECT_EQ(Opened, 0);
  EXPECT_EQ(MemoWindow(), nullptr);
  EXPECT_EQ(Data->State(), dsBrowse);
}

}  // namespace
