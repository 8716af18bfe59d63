// Tests of the thread hooks of the bar library: installed by the first manager and removed by the
// last, with the shared hint window; keys from any focused control reaching the bars: shortcuts,
// Alt and F10 opening the main menu, keys going to an open menu and never to the control.
#include "BarTestSupport.h"
#include "kwBarHint.h"
#include "kwBarHooks.h"
#include "kwBarUtils.h"

namespace {

TEST(BarHooks, AreInstalledByTheFirstManagerAndRemovedByTheLast) {
  InstallTestBarClasses();
  ASSERT_EQ(BarManagerCount(), 0);
  EXPECT_FALSE(BarHooksInstalled());
  EXPECT_EQ(BarHintWindow(), nullptr);
  TFormPtr<TForm> first(CreateForm<TForm>(nullptr));
  new TkwBarManager(first.get());
  HHOOK keyboard = BarKeyboardHook(), mouse = BarMouseHook(), procedure = BarCallWndProcHook();
  TkwBarHintWindow* hint = BarHintWindow();
  ASSERT_NE(keyboard, nullptr);
  ASSERT_NE(mouse, nullptr);
  ASSERT_NE(procedure, nullptr);
  ASSERT_NE(hint, nullptr);
  TFormPtr<TForm> second(CreateForm<TForm>(nullptr));
  new TkwBarManager(second.get());
  EXPECT_EQ(BarKeyboardHook(), keyboard);
  EXPECT_EQ(BarMouseHook(), mouse);
  EXPECT_EQ(BarCallWndProcHook(), procedure);
  EXPECT_EQ(BarHintWindow(), hint);
  first.reset();
  EXPECT_EQ(BarKeyboardHook(), keyboard);
  EXPECT_EQ(BarMouseHook(), mouse);
  EXPECT_EQ(BarCallWndProcHook(), procedure);
  EXPECT_EQ(BarHintWindow(), hint);
  second.reset();
  EXPECT_FALSE(BarHooksInstalled());
  EXPECT_EQ(BarMouseHook(), nullptr);
  EXPECT_EQ(BarCallWndProcHook(), nullptr);
  EXPECT_EQ(BarHintWindow(), nullptr);
}

class BarKeys : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Edit = new TTestEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 80, 160, 24);
    MainMenu = AddBar("MainMenu", true);
    for (const char* caption : {"&Fichier", "&Edition", "&Outils"}) Link(MainMenu, AddButton(caption));
    MainMenu->SetVisible(true);
    ShowForm();
    Edit->SetFocus();
    ASSERT_EQ(GetFocus(), Edit->Handle());
  }
  TTestBarWindow* MainWindow() { return WindowOf(MainMenu); }
  TTestBarButton* ItemOf(int Index) { return static_cast<TTestBarButton*>(MainMenu->ItemLinks()->Items(Index)->Item()); }
  TTestEdit* Edit = nullptr;
  TkwBar* MainMenu = nullptr;
};

// With two managers alive the hook runs once: the command runs once.
TEST_F(BarKeys, AShortcutTypedInAnEditRunsItsItemOnceWhateverTheManagers) {
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  new TkwBarManager(other.get());
  ItemOf(1)->SetShortCut(TShortCut(0x4000 | 'S'));
  TMessageRecorder recorder(Edit, {WM_KEYDOWN, WM_CHAR});
  PressCombo(VK_CONTROL, 'S');
  EXPECT_EQ(ItemOf(1)->Clicks, 1);
  EXPECT_EQ(ItemOf(0)->Clicks + ItemOf(2)->Clicks, 0);
  // The edit saw Ctrl go down, never the S it ran.
  EXPECT_EQ(recorder.Seen, std::vector<UINT>{WM_KEYDOWN});
  // A disabled item's shortcut does nothing and the key goes on.
  ItemOf(1)->SetEnabled(false);
  PressCombo(VK_CONTROL, 'S');
  EXPECT_EQ(ItemOf(1)->Clicks, 1);
}

TEST_F(BarKeys, AltPressedAndReleasedAloneOpensTheMainMenuAndAltWithAnotherKeyDoesNot) {
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return MainWindow()->MenuModeEntries == 1; }));
  EXPECT_EQ(MainWindow()->SelectedControl(), MainMenu->ItemLinks()->Items(0)->Control());
  EXPECT_EQ(Manager->MenuModeBarControl(), MainWindow());
  EXPECT_EQ(GetFocus(), Edit->Handle());
  Press(VK_ESCAPE);
  ASSERT_FALSE(MainWindow()->IsActive());
  // Alt with a key that is no accelerator: released, Alt opens nothing.
  SendKeys({KeyInput(VK_MENU, false), KeyInput('Z', false), KeyInput('Z', true), KeyInput(VK_MENU, true)}, VK_MENU);
  EXPECT_EQ(MainWindow()->MenuModeEntries, 1);
}

// (Without UseF10ForMenu, or with Shift and no popup menu, the key is the system's: it opens the
// window menu.)
TEST_F(BarKeys, F10OpensTheMainMenu) {
  Press(VK_F10);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return MainWindow()->MenuModeEntries == 1; }));
  EXPECT_EQ(MainWindow()->SelectedControl(), MainMenu->ItemLinks()->Items(0)->Control());
  Press(VK_ESCAPE);
  EXPECT_FALSE(MainWindow()->IsActive());
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(BarKeys, AltWithAnAcceleratorSelectsItsEntry) {
  PressCombo(VK_MENU, 'O');
  ASSERT_TRUE(WaitFor("menu mode", [&] { return MainWindow()->MenuModeEntries == 1; }));
  // The only match clicks its entry.
  EXPECT_EQ(ItemOf(2)->Clicks, 1);
  EXPECT_EQ(ItemOf(0)->Clicks + ItemOf(1)->Clicks, 0);
}

// Keys go to the open menu: the selection moves, and neither press nor release reaches the edit.
TEST_F(BarKeys, KeysGoToTheOpenMenuAndNeverToTheFocusedControl) {
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return MainWindow()->IsActive(); }));
  TMessageRecorder recorder(Edit, {WM_KEYDOWN, WM_KEYUP, WM_CHAR});
  Press(VK_RIGHT);
  EXPECT_EQ(MainWindow()->SelectedControl(), MainMenu->ItemLinks()->Items(1)->Control());
  EXPECT_TRUE(recorder.Seen.empty());
  // The release of the key that closed the menu does not reach the edit either.
  Press(VK_ESCAPE);
  EXPECT_FALSE(MainWindow()->IsActive());
  EXPECT_TRUE(recorder.Seen.empty());
  Press(VK_RIGHT);
  EXPECT_EQ(recorder.Seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(BarKeys, ABlockedKeyboardReachesNothing) {
  ItemOf(0)->SetShortCut(TShortCut(0x4000 | 'N'));
  TMessageRecorder recorder(Edit, {WM_KEYDOWN, WM_CHAR});
  BarKeyboardBlocked = true;
  PressCombo(VK_CONTROL, 'N');
  BarKeyboardBlocked = false;
  EXPECT_EQ(ItemOf(0)->Clicks, 0);
  EXPECT_TRUE(recorder.Seen.empty());
}

}  // namespace
