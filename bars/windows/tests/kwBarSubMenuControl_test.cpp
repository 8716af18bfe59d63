// Tests of the sub-menu window: where it opens near the edges of the work area, a menu taller
// than the screen scrolling under the pointer, and a menu that shows its recently used entries
// until it is expanded.
#include "BarWindowsTestSupport.h"
#include "StrUtils.h"
#include "kwBarUtils.h"

namespace {

class SubMenus : public BarWindowsTest {
 protected:
  void SetUp() override {
    BarWindowsTest::SetUp();
    Item = AddSubItem("&Fichier");
    ShowForm();
  }
  void TearDown() override {
    if (TkwBarSubMenuControl* menu = MenuOf(Item)) menu->CloseAndFree();
    BarWindowsTest::TearDown();
  }
  void AddEntries(int Count) {
    for (int i = 0; i < Count; ++i) Link(Item->ItemLinks(), AddButton("Entrée "_a + IntToStr(i + 1)));
  }
  // Opens the menu asked for at a screen point, with the size of its owner item along which it
  // may flip.
  TkwBarSubMenuControl* OpenAt(TPoint Point, int OwnerWidth, int OwnerHeight) {
    Item->ItemLinks()->CreateBarControl();
    TkwBarSubMenuControl* menu = MenuOf(Item);
    if (!menu) return nullptr;
    menu->OwnerWidth = OwnerWidth;
    menu->OwnerHeight = OwnerHeight;
    menu->SetBounds(Point.X, Point.Y, 0, 0);
    menu->Show();
    return menu;
  }
  TkwBarSubItem* Item = nullptr;
};

TRect BoundsOf(TkwBarSubMenuControl* Menu) {
  RECT r;
  GetWindowRect(Menu->Handle(), &r);
  return r;
}

TEST_F(SubMenus, OpensBesideOrAboveItsItemWhenTheEdgeLeavesNoRoom) {
  AddEntries(4);
  TRect area = GetMonitorWorkArea(TPoint(100, 100));
  struct Case {
    const char* What;
    TPoint At;
    int OwnerWidth, OwnerHeight;
    // Where the menu's edges end up, from the requested point (or the area's edge).
    bool FlipsLeft, FlipsUp, ClampedRight;
  } cases[] = {
      {"room everywhere", TPoint(300, 200), 60, 0, false, false, false},
      {"at the right edge beside an item", TPoint(area.Right - 20, 200), 60, 0, true, false, false},
      {"at the right edge without an item", TPoint(area.Right - 20, 200), 0, 0, false, false, true},
      {"at the bottom below an item", TPoint(300, area.Bottom - 10), 0, 20, false, true, false},
  };
  for (const Case& c : cases) {
    TkwBarSubMenuControl* menu = OpenAt(c.At, c.OwnerWidth, c.OwnerHeight);
    ASSERT_NE(menu, nullptr) << c.What;
    TRect r = BoundsOf(menu);
    if (c.FlipsLeft)
      EXPECT_EQ(r.Right, c.At.X - c.OwnerWidth) << c.What;
    else if (c.ClampedRight)
      EXPECT_EQ(r.Right, area.Right) << c.What;
    else
      EXPECT_EQ(r.Left, c.At.X) << c.What;
    if (c.FlipsUp)
      EXPECT_EQ(r.Bottom, c.At.Y - c.OwnerHeight) << c.What;
    else
      EXPECT_EQ(r.Top, c.At.Y) << c.What;
    EXPECT_GE(r.Left, area.Left) << c.What;
    EXPECT_LE(r.Right, area.Right) << c.What;
    EXPECT_LE(r.Bottom, area.Bottom) << c.What;
    menu->CloseAndFree();
    ASSERT_EQ(MenuOf(Item), nullptr);
  }
}

TEST_F(SubMenus, AMenuTallerThanTheScreenScrollsUnderThePointer) {
  AddEntries(90);
  TRect area = GetMonitorWorkArea(TPoint(100, 100));
  TkwBarSubMenuControl* menu = OpenAt(TPoint(300, area.Top + 40), 0, 20);
  ASSERT_NE(menu, nullptr);
  TRect r = BoundsOf(menu);
  EXPECT_EQ(r.Bottom, area.Bottom) << "cut at the work area";
  EXPECT_FALSE(menu->CanScrollUp());
  ASSERT_TRUE(menu->CanScrollDown());
  ASSERT_TRUE(Painted(menu));
  SaveScreenshot(menu->Handle(), "submenu-scrolling");
  TRect down = menu->GetScrollArrowRect(false);
  TPoint arrow((down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2);
  ClientToScreen(menu->Handle(), AsPOINT(&arrow));
  MoveMouseTo(arrow);
  ASSERT_TRUE(WaitFor("the last entry shown", [&] { return !menu->CanScrollDown(); }, 30000));
  EXPECT_TRUE(menu->CanScrollUp());
  TkwBarItemLinks* links = Item->ItemLinks();
  EXPECT_FALSE(links->GetShownItem(links->GetShownItemCount() - 1)->ItemRect.IsEmpty());
  EXPECT_TRUE(links->GetShownItem(0)->ItemRect.IsEmpty());
  MoveMouseTo(TPoint(Form->Left() + 20, Form->Top() + 60));
}

class CollapsedMenus : public BarWindowsTest {
 protected:
  void SetUp() override {
    BarWindowsTest::SetUp();
    Manager->SetShowFullMenusAfterDelay(false);
    Bar = AddBar("Menu", true);
    File = AddSubItem("&Fichier");
    Link(Bar, File);
    for (int i = 0; i < 6; ++i) {
      TkwBarItemLink* link = Link(File->ItemLinks(), AddButton("Entrée &"_a + IntToStr(i + 1)));
      // The first three are recently used, the others not.
      if (i >= 3) link->SetMostRecentlyUsed(false);
    }
    Bar->SetVisible(true);
    ShowForm();
  }
  TkwBarSubMenuControl* Shown() const {
    TkwBarSubMenuControl* menu = MenuOf(File);
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->Handle()) ? menu : nullptr;
  }
  TkwBar* Bar = nullptr;
  TkwBarSubItem* File = nullptr;
};

TEST_F(CollapsedMenus, ShowTheUsedEntriesUntilExpandedWithCtrlDown) {
  PressCombo(VK_MENU, 'F');
  ASSERT_TRUE(WaitFor("the menu", [&] { return Shown() != nullptr; }));
  TkwBarSubMenuControl* menu = Shown();
  TkwBarItemLinks* links = File->ItemLinks();
  EXPECT_EQ(links->GetShownItemCount(), 3);
  EXPECT_TRUE(menu->MarkExists()) << "the expand arrow shows";
  int collapsedHeight = BoundsOf(menu).Height();
  ASSERT_TRUE(Painted(menu));
  SaveScreenshot(menu->Handle(), "submenu-collapsed");
  PressCombo(VK_CONTROL, VK_DOWN);
  ASSERT_TRUE(WaitFor("the menu expanded", [&] { return links->GetShownItemCount() == 6 && Shown(); }));
  menu = Shown();
  EXPECT_TRUE(MenuChainExpanded());
  EXPECT_FALSE(menu->MarkExists());
  EXPECT_GT(BoundsOf(menu).Height(), collapsedHeight);
  for (int i = 0; i < 6; ++i) {
    TkwBarItemControl* control = links->GetShownItem(i)->Control();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->ExpandedOnly, i >= 3) << i;
    EXPECT_EQ(control->RecentBlockEdge, i == 3) << i;
  }
  ASSERT_TRUE(Painted(menu));
  SaveScreenshot(menu->Handle(), "submenu-expanded");
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("menu mode left", [&] { return !GetActiveBarControl(); }));
  EXPECT_FALSE(MenuChainExpanded() && GetActiveBarControl());
}

TEST_F(CollapsedMenus, TheExpandArrowLightsUnderThePointerAndExpandsOnAClick) {
  ClickAt(CentreOf(Bar->ItemLinks()->Items(0)));
  ASSERT_TRUE(WaitFor("the menu", [&] { return Shown() != nullptr; }));
  TkwBarSubMenuControl* menu = Shown();
  TRect arrow = menu->GetExpandArrowRect();
  TPoint at((arrow.Left + arrow.Right) / 2, (arrow.Top + arrow.Bottom) / 2);
  ClientToScreen(menu->Handle(), AsPOINT(&at));
  MoveMouseTo(at);
  ASSERT_TRUE(WaitFor("the arrow lit", [&] { return menu->MarkState() == msHot; }));
  ClickAt(at);
  ASSERT_TRUE(WaitFor("the menu expanded", [&] { return File->ItemLinks()->GetShownItemCount() == 6; }));
}

}  // namespace
