// Tests of the MDI child's system-menu entry: a menu of the system turned into bar items, and in a
// frame's main menu the entry of a maximized child opening the child's menu and sending the
// chosen command to the child.
#include "ItemsTestSupport.h"
#include "Menus.h"
#include "kwBarSystemMenuItem.h"
#include "kwBarUtils.h"

namespace {

void AddEntry(HMENU Menu, UINT Id, const char* Text, HBITMAP Picture = nullptr, UINT State = 0, HMENU Sub = nullptr) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (Picture ? MIIM_BITMAP : 0) | (Sub ? MIIM_SUBMENU : 0);
  info.wID = Id;
  info.dwTypeData = const_cast<char*>(Text);
  info.fState = State;
  info.hbmpItem = Picture;
  info.hSubMenu = Sub;
  InsertMenuItemA(Menu, GetMenuItemCount(Menu), TRUE, &info);
}

TEST_F(BarItemsTest, ASystemMenuBecomesBarItemsWithItsCaptionsShortcutsAndStates) {
  HMENU more = CreatePopupMenu();
  AddEntry(more, 300, "Suite");
  HMENU menu = CreatePopupMenu();
  AddEntry(menu, SC_RESTORE, "&Restaurer", HBMMENU_POPUP_RESTORE);
  AddEntry(menu, SC_MOVE, "&Déplacer"_a, nullptr, MFS_GRAYED);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AddEntry(menu, SC_CLOSE, "&Fermer\tCtrl+F4", HBMMENU_POPUP_CLOSE);
  AddEntry(menu, 200, "Option", nullptr, MFS_CHECKED);
  AddEntry(menu, 0, "Plus", nullptr, 0, more);

  TSystemMenuSubItem item(nullptr);
  int before = TemporaryItemCount();
  item.BuildFromSystemMenu(&item, menu);
  DestroyMenu(menu);
  TkwBarItemLinks* links = item.ItemLinks();
  ASSERT_EQ(links->Count(), 5);
  EXPECT_EQ(TemporaryItemCount(), before + 6) << "every item made is a temporary one";
  struct Expected {
    const char* Caption;
    int Tag;
    bool Enabled, BeginGroup, Glyph;
    TShortCut Key;
  };
  const Expected expected[] = {
      {"&Restaurer", SC_RESTORE, true, false, true, 0},
      {"&Déplacer"_a, SC_MOVE, false, false, false, 0},
      {"&Fermer", SC_CLOSE, true, true, true, ShortCut(VK_F4, TShiftState{ssCtrl})},
      {"Option", 200, true, false, false, 0},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(expected[i].Caption);
    auto* button = dynamic_cast<TkwBarButton*>(links->Items(i)->Item());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), expected[i].Caption);
    EXPECT_EQ(button->Tag, expected[i].Tag);
    EXPECT_EQ(button->Enabled(), expected[i].Enabled);
    EXPECT_EQ(links->Items(i)->BeginGroup(), expected[i].BeginGroup);
    EXPECT_EQ(!button->Glyph()->Empty(), expected[i].Glyph);
    EXPECT_EQ(button->ShortCut(), expected[i].Key);
  }
  auto* option = dynamic_cast<TkwBarButton*>(links->Items(3)->Item());
  EXPECT_EQ(option->ButtonStyle(), bsChecked);
  EXPECT_TRUE(option->Down());
  auto* sub = dynamic_cast<TkwBarSubItem*>(links->Items(4)->Item());
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(sub->ItemLinks()->Count(), 1);
  EXPECT_EQ(sub->ItemLinks()->Items(0)->Item()->Caption(), "Suite");
  item.ItemLinks()->Clear();
  sub->ItemLinks()->Clear();
  FreeUnlinkedTemporaryItems();
  EXPECT_EQ(TemporaryItemCount(), before);
}

// An MDI frame; made the application's main form, so that MDI children can be made in it.
class TSystemMenuFrame : public TForm {
  VELBOR_DECLARE_CLASS(TSystemMenuFrame, TForm)
 public:
  explicit TSystemMenuFrame(TComponent* AOwner) : TForm(AOwner, true) { SetFormStyle(fsMDIForm); }
};
VELBOR_IMPLEMENT_CLASS(TSystemMenuFrame)

class SystemMenuItems : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Form.reset();
    ASSERT_EQ(Application->MainForm(), nullptr);
    TSystemMenuFrame* frame = nullptr;
    Application->CreateForm(frame);
    Form.reset(frame);
    Form->SetBounds(60, 60, 520, 300);
    Manager = new TkwBarManager(Form.get());
    Manager->SetStyle(bmsFlat);
    Menu = AddBar("Menu", true);
    Link(Menu, AddItem<TkwBarSubItem>("&Fichier"));
    Menu->SetVisible(true);
    ShowForm();
    Child = new TForm(Form.get());
    Child->SetFormStyle(fsMDIChild);
    Child->SetCaption("Fiche");
    Child->SetBounds(10, 10, 200, 120);
    Child->Show();
    Child->SetWindowState(wsMaximized);
    ASSERT_TRUE(WaitFor("the system entry first in the menu", [&] {
      return Menu->ItemLinks()->Count() > 0 && dynamic_cast<TSystemMenuSubItem*>(Menu->ItemLinks()->Items(0)->Item());
    }));
    ASSERT_TRUE(Painted());
  }
  TSystemMenuSubItem* Entry() const { return dynamic_cast<TSystemMenuSubItem*>(Menu->ItemLinks()->Items(0)->Item()); }
  // The link of the entry sending a command, in the open system menu.
  TkwBarItemLink* CommandLink(int Command) const {
    TkwBarItemLinks* links = Entry()->ItemLinks();
    for (int i = 0; i < links->Count(); ++i)
      if (links->Items(i)->Item()->Tag == Command) return links->Items(i);
    return nullptr;
  }
  TkwBar* Menu = nullptr;
  TForm* Child = nullptr;
};

TEST_F(SystemMenuItems, TheEntryOfAMaximizedChildSendsTheChosenCommandToTheChild) {
  TSystemMenuSubItem* entry = Entry();
  TkwBarItemLink* link = Menu->ItemLinks()->Items(0);
  EXPECT_EQ(entry->GetChildWindow(), Child->Handle());
  EXPECT_EQ(link->ItemRect.Width(), GetSystemMetrics(SM_CXSMICON));
  TRect bar = ScreenRectOf(link);
  SaveScreenArea(TRect(bar.Left - 2, bar.Top - 2, bar.Left + 200, bar.Bottom + 2), "system-menu-entry");
  ASSERT_TRUE(OpenMenu(link, entry));
  ASSERT_NE(CommandLink(SC_CLOSE), nullptr);
  // A standard child's Close shows the close picture and the shortcut written after its tab.
  EXPECT_FALSE(CommandLink(SC_CLOSE)->Item()->Glyph()->Empty());
  EXPECT_EQ(CommandLink(SC_CLOSE)->Item()->ShortCut(), ShortCut(VK_F4, TShiftState{ssCtrl}));
  int items = TemporaryItemCount();
  // Opened again, the entries are made anew, not added to the last ones.
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(entry); }));
  ASSERT_TRUE(OpenMenu(link, entry));
  EXPECT_EQ(TemporaryItemCount(), items);
  TkwBarItemLink* restore = CommandLink(SC_RESTORE);
  ASSERT_NE(restore, nullptr);
  TRect menuRect;
  {
    RECT r;
    GetWindowRect(MenuOf(entry)->Handle(), &r);
    menuRect = TRect(r.left, r.top, r.right, r.bottom);
  }
  SaveScreenArea(menuRect, "system-menu-open");
  ClickAt(CentreOf(restore));
  ASSERT_TRUE(WaitFor("the child restored", [&] { return !IsZoomed(Child->Handle()); }));
  EXPECT_TRUE(IsZoomed(Form->Handle()) == FALSE) << "the frame is left as it was";
  ASSERT_TRUE(WaitFor("the system entry gone", [&] { return !dynamic_cast<TSystemMenuSubItem*>(Menu->ItemLinks()->Items(0)->Item()); }));
}

}  // namespace
