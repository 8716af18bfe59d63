// Tests of a control's Action (the link it makes, the action going away, the shortcut added to the
// hint shown by the application) and of Alt+letter accelerators from a control that takes plain
// characters.
#include "StdCtrlsTestSupport.h"

#include "ActnList.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "Timer.h"

namespace {

class ControlActionTest : public StdFormTest {
 protected:
  static void SetUpTestSuite() { Application->Initialize(); }
  void SetUp() override {
    StdFormTest::SetUp();
    Button = Add<TButton>(10, 10, 120);
    Button->SetShowHint(true);
    Action = new TAction(Form.get());
    Action->SetCaption("Nouveau");
    Action->SetHint("Nouveau|Ajouter une zone humide");
    Action->SetShortCut(TextToShortCut("Ctrl+N"));
  }
  void TearDown() override {
    Application->CancelHint();
    Application->HintShortCuts = true;
    StdFormTest::TearDown();
  }
  // Makes the button the hint control, as the mouse over it does, and shows its hint now.
  String ShownHint() {
    TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0};
    Application->HintMouseMessage(Button, move);
    EXPECT_EQ(Application->HintControl(), Button);
    Application->ActivateHint(TPoint(150, 150));
    HWND wnd = Application->HintWindow();
    if (!wnd || !IsWindowVisible(wnd)) return "<none>";
    char text[256] = {};
    GetWindowTextA(wnd, text, sizeof(text));
    return text;
  }
  TButton* Button = nullptr;
  TAction* Action = nullptr;
};

TEST_F(ControlActionTest, SettingTheActionLinksTheControlToIt) {
  Button->SetAction(Action);
  EXPECT_EQ(Button->Action(), Action);
  ASSERT_NE(Button->ActionLink(), nullptr);
  EXPECT_EQ(Button->Caption(), "Nouveau");
  EXPECT_EQ(Button->Hint, "Nouveau|Ajouter une zone humide");
  // The link follows later changes of the action.
  Action->SetEnabled(false);
  EXPECT_FALSE(Button->Enabled());
  // Cleared, the control keeps its values and no longer follows.
  Button->SetAction(nullptr);
  EXPECT_EQ(Button->ActionLink(), nullptr);
  Action->SetEnabled(true);
  EXPECT_FALSE(Button->Enabled());
  EXPECT_EQ(Button->Caption(), "Nouveau");
}

TEST_F(ControlActionTest, AnActionThatGoesAwayIsCleared) {
  Button->SetAction(Action);
  delete Action;
  Action = nullptr;
  EXPECT_EQ(Button->Action(), nullptr);
  EXPECT_EQ(Button->ActionLink(), nullptr);
  // A component that is not an action is held without a link.
  TTimer timer(nullptr);
  Button->SetAction(&timer);
  EXPECT_EQ(Button->ActionLink(), nullptr);
  Button->SetAction(nullptr);
}

TEST_F(ControlActionTest, TheShownHintCarriesTheActionShortCutWhenAsked) {
  ShowForm();
  Button->SetAction(Action);
  // What the control is told in CM_HINTSHOW, and what the hint window then shows.
  std::vector<String> seen;
  TWndMethod old = Button->WindowProc;
  struct Spy : TObject {
    TWndMethod Next;
    std::vector<String>* Seen;
    void Proc(TMessage& M) {
      Next(M);
      if (M.Msg == CM_HINTSHOW) Seen->push_back(reinterpret_cast<THintInfo*>(M.LParam)->HintStr);
    }
  } spy;
  spy.Next = old;
  spy.Seen = &seen;
  Button->WindowProc = TWndMethod(&spy, &Spy::Proc);

  EXPECT_EQ(ShownHint(), "Nouveau (Ctrl+N)");
  Application->CancelHint();
  Application->HintShortCuts = false;
  EXPECT_EQ(ShownHint(), "Nouveau");
  Application->CancelHint();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Nouveau (Ctrl+N)");
  EXPECT_EQ(seen[1], "Nouveau");

  // The action's OnHint may refuse the hint: no window shows.
  struct NoHint : TObject {
    void Hint(String&, bool& CanShow) { CanShow = false; }
  } noHint;
  Action->OnHint = THintEvent(&noHint, &NoHint::Hint);
  EXPECT_EQ(ShownHint(), "<none>");
  Button->WindowProc = old;
}

TEST_F(ControlActionTest, WithoutAnActionTheHintIsTheControlsOwn) {
  ShowForm();
  Button->Hint = "Enregistrer|Enregistrer la fiche";
  EXPECT_EQ(ShownHint(), "Enregistrer");
}

// A windowed control that asks for every plain character.
class TCharTaker : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  String Typed;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTCHARS;
      return;
    }
    if (Message.Msg == WM_CHAR) Typed += char(Message.WParam);
    TCustomControl::Dispatch(Message);
  }
};

TEST_F(StdFormTest, AltLetterFromAControlTakingCharactersReachesTheForm) {
  auto* taker = Add<TCharTaker>(10, 10, 100, 40);
  auto* b = Add<TButton>(10, 60);
  b->SetCaption("&Valider");
  int clicks = 0;
  struct Counter : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } counter;
  counter.N = &clicks;
  b->OnClick = TNotifyEvent(&counter, &Counter::Click);
  ShowForm();
  ASSERT_TRUE(GiveFocus(taker));
  ASSERT_TRUE(taker->Focused());
  // The plain letter is the control's; with Alt it is the button's accelerator.
  TypeText("v");
  EXPECT_EQ(taker->Typed, "v");
  EXPECT_EQ(clicks, 0);
  PressCombo(VK_MENU, 'V');
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(taker->Typed, "v");
}

}  // namespace
