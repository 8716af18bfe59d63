// Tests of menus with real keys and clicks: the main menu entered with Alt, walked with the
// arrows, opened with an accelerator or the mouse, cascading menus, clicks on entries, and
// Escape; the focused control never sees the keys the menus take.
#include "BarWindowsTestSupport.h"
#include "kwBarUtils.h"

namespace {

class Menus : public BarWindowsTest {
 protected:
  void SetUp() override {
    BarWindowsTest::SetUp();
    Edit = new TTestEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 120, 160, 22);
    Bar = AddBar("Menu", true);
    File = AddSubItem("&Fichier");
    EditMenu = AddSubItem("&Edition");
    Tools = AddSubItem("&Outils");
    for (TkwBarSubItem* item : {File, EditMenu, Tools}) Link(Bar, item);
    Open = AddButton("&Ouvrir");
    Save = AddButton("&Enregistrer");
    Quit = AddButton("&Quitter");
    Link(File->ItemLinks(), Open);
    Link(File->ItemLinks(), Save);
    Link(File->ItemLinks(), Quit, true);
    Copy = AddButton("&Copier");
    Paste = AddButton("&Coller");
    Link(EditMenu->ItemLinks(), Copy);
    Link(EditMenu->ItemLinks(), Paste);
    Options = AddSubItem("O&ptions");
    Link(Tools->ItemLinks(), Options);
    Link(Tools->ItemLinks(), AddButton("&Rechercher"));
    First = AddButton("Premier");
    Link(Options->ItemLinks(), First);
    Link(Options->ItemLinks(), AddButton("Second"));
    Bar->SetVisible(true);
    ShowForm();
    Edit->SetFocus();
    ASSERT_TRUE(WaitFor("the edit focused", [&] { return GetFocus() == Edit->Handle(); }));
  }
  TkwBarControl* Window() const { return WindowOf(Bar); }
  TkwBarItemControl* EntryControl(int Index) const { return Bar->ItemLinks()->Items(Index)->Control(); }
  TkwBarItemControl* ControlOf(TkwBarItem* Item) const {
    return Item->GetLinkCount() > 0 ? Item->GetLink(0)->Control() : nullptr;
  }
  // The menu open from a sub-item (nullptr when closed).
  TkwBarSubMenuControl* Shown(TkwBarSubItem* Item) const {
    TkwBarSubMenuControl* menu = MenuOf(Item);
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->Handle()) ? menu : nullptr;
  }
  bool Selected(TkwBarSubMenuControl* Menu, TkwBarItem* Item) const {
    return Menu && ControlOf(Item) && Menu->SelectedControl() == ControlOf(Item);
  }
  bool NoMenuMode() const { return !GetActiveBarControl() && !Manager->MenuModeBarControl(); }

  TTestEdit* Edit = nullptr;
  TkwBar* Bar = nullptr;
  TkwBarSubItem *File = nullptr, *EditMenu = nullptr, *Tools = nullptr, *Options = nullptr;
  TkwBarButton *Open = nullptr, *Save = nullptr, *Quit = nullptr, *Copy = nullptr, *Paste = nullptr;
  TkwBarButton* First = nullptr;
};

TEST_F(Menus, AltAloneEntersMenuModeOnTheFirstEntryAndEscapeLeavesIt) {
  TMessageRecorder keys(Edit, {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYUP});
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return GetActiveBarControl() == Window(); }));
  EXPECT_EQ(Manager->MenuModeBarControl(), Window());
  EXPECT_EQ(Window()->SelectedControl(), EntryControl(0));
  EXPECT_EQ(Shown(File), nullptr);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("menu mode left", [&] { return NoMenuMode(); }));
  EXPECT_EQ(Window()->SelectedControl(), nullptr);
  EXPECT_EQ(GetFocus(), Edit->Handle());
  // The edit saw neither the Escape nor Alt's release.
  for (UINT message : keys.Seen) EXPECT_NE(message, UINT(WM_KEYUP)) << "a key reached the edit";
}

TEST_F(Menus, ArrowsWalkTheMainMenuAndItsMenus) {
  TMessageRecorder keys(Edit, {WM_KEYDOWN});
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return GetActiveBarControl() == Window(); }));
  Press(VK_RIGHT);
  EXPECT_EQ(Window()->SelectedControl(), EntryControl(1));
  EXPECT_EQ(Shown(EditMenu), nullptr) << "moving along the bar opens nothing yet";
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("Edition's menu", [&] { return Shown(EditMenu) != nullptr; }));
  EXPECT_TRUE(Selected(Shown(EditMenu), Copy)) << "a menu opened by the keyboard selects its first entry";
  Press(VK_DOWN);
  EXPECT_TRUE(Selected(Shown(EditMenu), Paste));
  Press(VK_DOWN);
  EXPECT_TRUE(Selected(Shown(EditMenu), Copy)) << "the walk wraps";
  // Right moves to the next main-menu entry and opens its menu at once.
  Press(VK_RIGHT);
  ASSERT_TRUE(WaitFor("Outils' menu", [&] { return Shown(Tools) != nullptr; }));
  EXPECT_EQ(Shown(EditMenu), nullptr);
  EXPECT_EQ(Window()->SelectedControl(), EntryControl(2));
  EXPECT_TRUE(Selected(Shown(Tools), Options));
  // Right on a cascading entry opens its menu with its first entry selected.
  Press(VK_RIGHT);
  ASSERT_TRUE(WaitFor("the cascading menu", [&] { return Shown(Options) != nullptr; }));
  EXPECT_TRUE(Selected(Shown(Options), First));
  // Left closes the cascading menu, then moves back along the bar.
  Press(VK_LEFT);
  ASSERT_TRUE(WaitFor("the cascading menu closed", [&] { return Shown(Options) == nullptr; }));
  EXPECT_NE(Shown(Tools), nullptr);
  Press(VK_LEFT);
  ASSERT_TRUE(WaitFor("Edition's menu again", [&] { return Shown(EditMenu) != nullptr; }));
  EXPECT_EQ(Shown(Tools), nullptr);
  // Escape closes the menu and keeps the entry selected; a second one leaves menu mode.
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return Shown(EditMenu) == nullptr; }));
  EXPECT_EQ(GetActiveBarControl(), Window());
  EXPECT_EQ(Window()->SelectedControl(), EntryControl(1));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("menu mode left", [&] { return NoMenuMode(); }));
  EXPECT_TRUE(keys.Seen.empty()) << "the menus' keys reached the edit";
  EXPECT_EQ(Copy->Clicks + Paste->Clicks + First->Clicks, 0);
}

TEST_F(Menus, AnAcceleratorOpensItsMenuAndAnEntrysLetterClicksIt) {
  PressCombo(VK_MENU, 'F');
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  EXPECT_TRUE(Selected(Shown(File), Open));
  Press('Q');
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return NoMenuMode() && !MenuOf(File); }));
  EXPECT_EQ(Quit->Clicks, 1);
  EXPECT_EQ(Open->Clicks, 0);
}

TEST_F(Menus, ALetterTwoEntriesShareMovesBetweenThemWithoutClicking) {
  PressCombo(VK_MENU, 'E');
  ASSERT_TRUE(WaitFor("Edition's menu", [&] { return Shown(EditMenu) != nullptr; }));
  ASSERT_TRUE(Selected(Shown(EditMenu), Copy));
  Press('C');
  EXPECT_TRUE(Selected(Shown(EditMenu), Paste));
  Press('C');
  EXPECT_TRUE(Selected(Shown(EditMenu), Copy));
  EXPECT_EQ(Copy->Clicks + Paste->Clicks, 0);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return NoMenuMode(); }));
  EXPECT_EQ(Copy->Clicks, 1);
}

TEST_F(Menus, TheMouseOpensMenusWithoutSelectionAndClicksAnEntryOnce) {
  ClickAt(CentreOf(Bar->ItemLinks()->Items(0)));
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  EXPECT_EQ(Shown(File)->SelectedControl(), nullptr) << "a menu opened by the mouse selects nothing";
  // Moving along the bar opens the neighbouring menu at once.
  MoveMouseTo(CentreOf(Bar->ItemLinks()->Items(1)));
  ASSERT_TRUE(WaitFor("Edition's menu", [&] { return Shown(EditMenu) != nullptr && !MenuOf(File); }));
  ClickAt(CentreOf(Paste->GetLink(0)));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return NoMenuMode() && !MenuOf(EditMenu); }));
  EXPECT_EQ(Paste->Clicks, 1);
  EXPECT_EQ(Copy->Clicks, 0);
}

TEST_F(Menus, ASecondClickOnAnOpenEntryClosesItsMenu) {
  TPoint entry = CentreOf(Bar->ItemLinks()->Items(0));
  ClickAt(entry);
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  ClickAt(entry);
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(File) && NoMenuMode(); }));
}

TEST_F(Menus, AClickOutsideClosesTheMenus) {
  ClickAt(CentreOf(Bar->ItemLinks()->Items(0)));
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  ClickAt(OnScreen(Form.get(), 400, 200));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return !MenuOf(File) && NoMenuMode(); }));
  EXPECT_EQ(Open->Clicks + Save->Clicks + Quit->Clicks, 0);
}

TEST_F(Menus, HoveringACascadingEntryOpensItsMenuAfterTheDelay) {
  ClickAt(CentreOf(Bar->ItemLinks()->Items(2)));
  ASSERT_TRUE(WaitFor("Outils' menu", [&] { return Shown(Tools) != nullptr; }));
  DWORD start = GetTickCount();
  MoveMouseTo(CentreOf(Options->GetLink(0)));
  ASSERT_TRUE(WaitFor("the cascading menu", [&] { return Shown(Options) != nullptr; }));
  EXPECT_GE(GetTickCount() - start, 300u) << "it opens after its delay, not at once";
  EXPECT_EQ(Shown(Options)->SelectedControl(), nullptr);
  // Its owner entry stays selected while the pointer is over the cascading menu.
  MoveMouseTo(CentreOf(First->GetLink(0)));
  ASSERT_TRUE(WaitFor("the entry selected", [&] { return Selected(Shown(Options), First); }));
  EXPECT_TRUE(Selected(Shown(Tools), Options));
}

TEST_F(Menus, ADisabledEntryReachedByTheKeyboardIsSelectedButNotUnderTheMouse) {
  Save->SetEnabled(false);
  PressCombo(VK_MENU, 'F');
  ASSERT_TRUE(WaitFor("Fichier's menu", [&] { return Shown(File) != nullptr; }));
  Press(VK_DOWN);
  EXPECT_TRUE(ControlOf(Save)->IsSelected());
  Press(VK_RETURN);
  EXPECT_EQ(Save->Clicks, 0);
  EXPECT_NE(Shown(File), nullptr) << "Enter on a disabled entry does nothing";
  MoveMouseTo(CentreOf(Quit->GetLink(0)));
  MoveMouseTo(CentreOf(Save->GetLink(0)));
  ASSERT_TRUE(WaitFor("the disabled entry under the mouse",
                      [&] { return Shown(File)->SelectedControl() == ControlOf(Save); }));
  EXPECT_FALSE(ControlOf(Save)->IsSelected());
  Press(VK_ESCAPE);
}

}  // namespace
