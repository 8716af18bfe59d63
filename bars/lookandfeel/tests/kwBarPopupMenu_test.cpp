// Tests of the popup menus and of the links of controls to them: a menu opened at a point, an item
// chosen in it by key and by click before PopupAt returns, the messages of other windows during
// the menu, the end of the menu's loop, a menu freed by its own command; menus opened by a right
// click and by Shift+F10 at the caret, and shortcuts of the focused control's menu.
#include "BarTestSupport.h"
#include "kwBarHooks.h"
#include "kwBarPopupMenu.h"
#include "kwBarUtils.h"

namespace {

class PopupMenu : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Panel = new TTestPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(20, 40, 200, 120);
    Edit = new TTestEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(240, 40, 200, 24);
    ShowForm();
    Menu = new TkwBarPopupMenu(Form.get());
    for (const char* caption : {"&Copier", "C&oller", "&Supprimer"}) {
      Items.push_back(AddButton(caption));
      Menu->ItemLinks()->Add()->SetItem(Items.back());
    }
  }
  TTestMenuWindow* MenuWindow() const {
    return Menu ? dynamic_cast<TTestMenuWindow*>(Menu->ItemLinks()->BarControl()) : nullptr;
  }
  bool MenuShows() const {
    TTestMenuWindow* window = MenuWindow();
    return Menu && Menu->IsShown() && window && window->HandleAllocated() && IsWindowVisible(window->Handle());
  }
  TTestPanel* Panel = nullptr;
  TTestEdit* Edit = nullptr;
  TkwBarPopupMenu* Menu = nullptr;
  std::vector<TTestBarButton*> Items;
};

TEST_F(PopupMenu, OpensAtThePointAndRunsTheItemChosenByKeyBeforeReturning) {
  RECT shown{};
  bool showedInLoop = false;
  Later([&] {
    showedInLoop = MenuShows();
    if (MenuWindow()) GetWindowRect(MenuWindow()->Handle(), &shown);
    PressKey('O');
  });
  Menu->PopupAt(300, 200);
  EXPECT_TRUE(showedInLoop);
  EXPECT_EQ(shown.left, 300);
  EXPECT_EQ(shown.top, 200);
  EXPECT_EQ(Items[1]->Clicks, 1);
  EXPECT_EQ(Items[0]->Clicks + Items[2]->Clicks, 0);
  EXPECT_FALSE(Menu->IsShown());
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  // The menu window goes once the message that closed it is over.
  EXPECT_TRUE(WaitFor("the menu window freed", [] { return TTestMenuWindow::Live == 0; }));
}

TEST_F(PopupMenu, RunsTheItemChosenByClickBeforeReturning) {
  bool clicked = false;
  WhenReady([&] { return MenuShows(); },
            [&] {
              ClickAt(MenuWindow()->LinkCentre(2));
              clicked = true;
            });
  Menu->PopupAt(200, 160);
  EXPECT_TRUE(clicked);
  EXPECT_EQ(Items[2]->Clicks, 1);
  EXPECT_EQ(Items[0]->Clicks + Items[1]->Clicks, 0);
  EXPECT_FALSE(Menu->IsShown());
}

// A command posted to another window while the menu shows reaches it then, not after.
TEST_F(PopupMenu, PassesTheMessagesOfOtherWindowsOnWhileItShows) {
  TMessageRecorder recorder(Panel, {WM_COMMAND});
  bool seenWhileShown = false;
  Later([&] {
    PostMessageA(Panel->Handle(), WM_COMMAND, 4242, 0);
    Later([&] {
      seenWhileShown = recorder.Seen.size() == 1 && MenuShows();
      PressKey(VK_ESCAPE);
    });
  });
  Menu->PopupAt(200, 160);
  EXPECT_TRUE(seenWhileShown);
  EXPECT_EQ(recorder.Seen, std::vector<UINT>{WM_COMMAND});
  for (TTestBarButton* item : Items) EXPECT_EQ(item->Clicks, 0);
}

// The loop ends when the menu closes, however it closes: it takes nothing out of the queue for
// itself, so messages posted as the menu closes arrive in their order.
TEST_F(PopupMenu, EndsItsLoopAsTheMenuClosesLeavingLaterMessagesInOrder) {
  constexpr UINT First = WM_APP + 10, Second = WM_APP + 11;
  struct TClose : TObject {
    HWND Target;
    void CloseUp(TObject*) {
      PostMessageA(Target, First, 0, 0);
      PostMessageA(Target, Second, 0, 0);
    }
  } close;
  close.Target = Panel->Handle();
  Menu->OnCloseUp = TNotifyEvent(&close, &TClose::CloseUp);
  struct Case {
    const char* Name;
    bool ByKey;
  } cases[] = {{"closed by Escape", true}, {"closed by a click on an item", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TMessageRecorder recorder(Panel, {First, Second});
    WhenReady([&] { return MenuShows(); },
              [&] {
                if (c.ByKey)
                  PressKey(VK_ESCAPE);
                else
                  ClickAt(MenuWindow()->LinkCentre(0));
              });
    Menu->PopupAt(200, 160);
    EXPECT_FALSE(Menu->IsShown());
    ASSERT_TRUE(WaitFor("both messages", [&] { return recorder.Seen.size() == 2; }));
    EXPECT_EQ(recorder.Seen, (std::vector<UINT>{First, Second}));
    ASSERT_TRUE(WaitFor("the menu window freed", [] { return TTestMenuWindow::Live == 0; }));
  }
  EXPECT_EQ(Items[0]->Clicks, 1);
}

TEST_F(PopupMenu, ACommandThatFreesTheMenuEndsItsLoopWithoutTouchingIt) {
  struct TFree : TObject {
    TkwBarPopupMenu** Menu;
    void Click(TObject*) {
      delete *Menu;
      *Menu = nullptr;
    }
  } freeing;
  freeing.Menu = &Menu;
  Items[0]->OnClick = TNotifyEvent(&freeing, &TFree::Click);
  Later([] { PressKey('C'); });
  TkwBarPopupMenu* menu = Menu;
  menu->PopupAt(200, 160);
  EXPECT_EQ(Menu, nullptr);
  EXPECT_EQ(Items[0]->Clicks, 1);
  EXPECT_EQ(Manager->PopupMenuCount(), 0);
  EXPECT_TRUE(WaitFor("the menu window freed", [] { return TTestMenuWindow::Live == 0; }));
}

TEST_F(PopupMenu, ShowsOneMenuWhenAskedTwice) {
  int popups = 0;
  struct TCount : TObject {
    int* Count;
    void Popup(TObject*) { ++*Count; }
  } count;
  count.Count = &popups;
  Menu->OnPopup = TNotifyEvent(&count, &TCount::Popup);
  Later([&] {
    Menu->PopupAt(50, 50);
    EXPECT_EQ(TTestMenuWindow::Live, 1);
    PressKey(VK_ESCAPE);
  });
  Menu->PopupAt(200, 160);
  EXPECT_EQ(popups, 1);
}

TEST_F(PopupMenu, NonModalReturnsWithTheMenuShown) {
  Menu->NonModal = true;
  Menu->PopupAt(200, 160);
  EXPECT_TRUE(MenuShows());
  EXPECT_EQ(GetActiveBarControl(), MenuWindow());
  Manager->HideAllMenus();
  EXPECT_FALSE(Menu->IsShown());
}

// A click outside an open menu closes it; the right button's release there is swallowed.
TEST_F(PopupMenu, ARightClickOutsideClosesItAndIsSwallowed) {
  Menu->NonModal = true;
  Menu->PopupAt(400, 300);
  ASSERT_TRUE(MenuShows());
  TMessageRecorder recorder(Panel, {WM_RBUTTONDOWN, WM_RBUTTONUP});
  TPoint at = CentreOf(Panel);
  MoveMouseTo(at);
  MouseEventAt(at, MOUSEEVENTF_RIGHTDOWN);
  MouseEventAt(at, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitFor("the press to reach the panel", [&] { return !recorder.Seen.empty(); }));
  EXPECT_FALSE(Menu->IsShown());
  PumpPending();
  EXPECT_EQ(recorder.Seen, std::vector<UINT>{WM_RBUTTONDOWN});
}

// The command of a shortcut runs from the keyboard hook: a menu it opens there works as anywhere.
TEST_F(PopupMenu, ACommandRunByItsShortcutMayWaitForAMenu) {
  TkwBar* bar = AddBar("MainMenu", true);
  TTestBarButton* command = AddButton("&Menu");
  command->SetShortCut(TShortCut(0x4000 | 'M'));
  Link(bar, command);
  bar->SetVisible(true);
  struct TOpen : TObject {
    TkwBarPopupMenu* Menu;
    bool Returned = false;
    void Click(TObject*) {
      Menu->PopupAt(200, 160);
      Returned = true;
    }
  } open;
  open.Menu = Menu;
  command->OnClick = TNotifyEvent(&open, &TOpen::Click);
  WhenReady([&] { return MenuShows(); }, [] { PressKey('S'); });
  Edit->SetFocus();
  PressCombo(VK_CONTROL, 'M');
  ASSERT_TRUE(WaitFor("the menu's command", [&] { return open.Returned; }));
  EXPECT_EQ(command->Clicks, 1);
  EXPECT_EQ(Items[2]->Clicks, 1);
  // The keyboard still works afterwards.
  command->OnClick = nullptr;
  PressCombo(VK_CONTROL, 'M');
  EXPECT_EQ(command->Clicks, 2);
}

TEST(PopupMenuManager, IsTheFormsOrTheFirstOneMadeAndThereMustBeOne) {
  InstallTestBarClasses();
  ASSERT_EQ(BarManagerCount(), 0);
  try {
    TkwBarPopupMenu menu(nullptr);
    FAIL() << "a popup menu without manager";
  } catch (EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "There are no TkwBarManagers available");
  }
  TFormPtr<TForm> first(CreateForm<TForm>(nullptr));
  auto* manager = new TkwBarManager(first.get());
  TFormPtr<TForm> bare(CreateForm<TForm>(nullptr));
  auto* menu = new TkwBarPopupMenu(bare.get());
  EXPECT_EQ(menu->BarManager(), manager);
  EXPECT_EQ(manager->PopupMenuCount(), 1);
  // The manager frees the menus that use it.
  first.reset();
  EXPECT_EQ(bare->ComponentCount(), 0);
}

// --- Links of controls to popup menus -------------------------------------------------------------

class PopupMenuLinks : public PopupMenu {
 protected:
  void SetUp() override {
    PopupMenu::SetUp();
    for (TWinControl* control : std::initializer_list<TWinControl*>{Panel, Edit}) {
      TkwBarPopupMenuLink* link = Manager->PopupMenuLinks()->Add();
      link->SetControl(control);
      link->SetPopupMenu(Menu);
    }
  }
  // Closes the menu once it shows, noting where it showed.
  void CloseWhenShown(RECT& Where) {
    WhenReady([&] { return MenuShows(); },
              [&] {
                if (MenuWindow()) GetWindowRect(MenuWindow()->Handle(), &Where);
                PressKey(VK_ESCAPE);
              });
  }
};

TEST_F(PopupMenuLinks, ARightClickOnTheControlOpensItsMenuAtTheMouse) {
  RECT shown{};
  CloseWhenShown(shown);
  TPoint at = OnScreen(Panel, 30, 25);
  MoveMouseTo(at);
  MouseEventAt(at, MOUSEEVENTF_RIGHTDOWN);
  MouseEventAt(at, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitFor("the menu shown and closed", [&] { return shown.right > 0 && !Menu->IsShown(); }));
  EXPECT_EQ(shown.left, at.X);
  EXPECT_EQ(shown.top, at.Y);
}

TEST_F(PopupMenuLinks, ShiftF10InAnEditOpensItsMenuAtTheCaret) {
  Edit->SetFocus();
  TypeText("abc");
  POINT caret{};
  GetCaretPos(&caret);
  ClientToScreen(Edit->Handle(), &caret);
  ASSERT_GT(caret.x, OnScreen(Edit, 0, 0).X);
  RECT shown{};
  CloseWhenShown(shown);
  PressCombo(VK_SHIFT, VK_F10);
  ASSERT_TRUE(WaitFor("the menu shown and closed", [&] { return shown.right > 0 && !Menu->IsShown(); }));
  EXPECT_EQ(shown.left, caret.x);
  EXPECT_EQ(shown.top, caret.y);
}

TEST_F(PopupMenuLinks, TheActionMayMoveTheMenuOrRefuseIt) {
  struct TAction : TObject {
    bool Allow = true;
    void Action(TObject*, int& X, int& Y, bool, bool& AllowPopup) {
      X += 7;
      Y += 3;
      AllowPopup = Allow;
    }
  } action;
  TkwBarPopupMenuLink* link = Manager->PopupMenuLinks()->Items(0);
  link->OnAction = TkwBarPopupMenuLinkActionEvent(&action, &TAction::Action);
  RECT shown{};
  CloseWhenShown(shown);
  TPoint at = OnScreen(Panel, 10, 10);
  EXPECT_TRUE(Manager->PopupMenuLinks()->ShowPopupFor(Panel, Panel->Handle(), at));
  EXPECT_EQ(shown.left, at.X + 7);
  EXPECT_EQ(shown.top, at.Y + 3);
  // The closed menu goes once the keys that closed it are handled.
  ASSERT_TRUE(WaitFor("the first menu freed", [] { return TTestMenuWindow::Live == 0; }));
  action.Allow = false;
  EXPECT_FALSE(Manager->PopupMenuLinks()->ShowPopupFor(Panel, Panel->Handle(), at));
  EXPECT_EQ(TTestMenuWindow::Live, 0);
}

TEST_F(PopupMenuLinks, AControlOfAnotherFormIsNeverLinked) {
  TFormPtr<TForm> other(CreateForm<TForm>(nullptr));
  auto* stranger = new TTestPanel(other.get());
  stranger->SetParent(other.get());
  TkwBarPopupMenuLink* link = Manager->PopupMenuLinks()->Add();
  link->SetControl(stranger);
  link->SetPopupMenu(Menu);
  EXPECT_EQ(link->Control(), nullptr);
  EXPECT_FALSE(Manager->PopupMenuLinks()->ShowPopupFor(stranger, stranger->Handle(), TPoint(-1, -1)));
}

TEST_F(PopupMenuLinks, AFreedControlOrMenuIsForgotten) {
  delete Panel;
  Panel = nullptr;
  EXPECT_EQ(Manager->PopupMenuLinks()->Items(0)->Control(), nullptr);
  delete Menu;
  Menu = nullptr;
  EXPECT_EQ(Manager->PopupMenuLinks()->Items(1)->PopupMenu(), nullptr);
}

// A shortcut of the focused control's popup menu comes before the same one of the main menu.
TEST_F(PopupMenuLinks, TheFocusedControlsMenuRunsAShortcutFirst) {
  TkwBar* bar = AddBar("MainMenu", true);
  TTestBarButton* main = AddButton("&Rechercher");
  Link(bar, main);
  bar->SetVisible(true);
  TShortCut ctrlK = TShortCut(0x4000 | 'K');
  main->SetShortCut(ctrlK);
  Items[2]->SetShortCut(ctrlK);
  Edit->SetFocus();
  PressCombo(VK_CONTROL, 'K');
  EXPECT_EQ(Items[2]->Clicks, 1);
  EXPECT_EQ(main->Clicks, 0);
  // Elsewhere the main menu has it.
  auto* other = new TTestEdit(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(240, 80, 100, 24);
  other->SetFocus();
  PressCombo(VK_CONTROL, 'K');
  EXPECT_EQ(Items[2]->Clicks, 1);
  EXPECT_EQ(main->Clicks, 1);
}

}  // namespace
