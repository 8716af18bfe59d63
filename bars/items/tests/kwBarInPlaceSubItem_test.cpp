// Tests of the in-place sub-item: its links shown below its entry in the same menu while
// expanded (by a click or by Right and Left), the entry kept selected, the events once per
// toggle, the separator kept after the block, an entry of the block clicked, and the item on a
// tool bar opening an ordinary sub-menu.
#include "ItemsTestSupport.h"
#include "kwBarInPlaceSubItem.h"
#include "kwBarUtils.h"

namespace {

class InPlaceSubItems : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Menu = AddBar("Menu", true);
    File = AddItem<TkwBarSubItem>("&Fichier");
    Link(Menu, File);
    Link(File->ItemLinks(), AddItem<TkwBarButton>("&Ouvrir"));
    InPlace = AddItem<TkwBarInPlaceSubItem>("&Derniers");
    InPlace->OnAfterExpand = TkwInPlaceSubItemEvent(this, &InPlaceSubItems::AfterExpand);
    InPlace->OnBeforeCollapse = TkwInPlaceSubItemEvent(this, &InPlaceSubItems::BeforeCollapse);
    Marsh = AddItem<TkwBarButton>("Marais");
    Marsh->OnClick = Counting();
    Link(InPlace->ItemLinks(), Marsh);
    Link(InPlace->ItemLinks(), AddItem<TkwBarButton>("Tourbière"_a));
    Link(File->ItemLinks(), InPlace);
    Link(File->ItemLinks(), AddItem<TkwBarButton>("&Quitter"));
    Menu->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  void AfterExpand(TkwBarInPlaceSubItem*, TkwBarItemLink* Link) { Events.push_back("expand " + Link->Item()->Caption()); }
  void BeforeCollapse(TkwBarInPlaceSubItem*, TkwBarItemLink* Link) {
    Events.push_back("collapse " + Link->Item()->Caption());
  }
  // The captions of the menu's entries, in order.
  std::vector<String> Entries() const {
    std::vector<String> captions;
    TkwBarItemLinks* links = File->ItemLinks();
    for (int i = 0; i < links->GetShownItemCount(); ++i) captions.push_back(links->GetShownItem(i)->Item()->Caption());
    return captions;
  }
  TkwBarItemLink* EntryOf(TkwBarItem* Item) const {
    TkwBarItemLinks* links = File->ItemLinks();
    for (int i = 0; i < links->GetShownItemCount(); ++i)
      if (links->GetShownItem(i)->Item() == Item) return links->GetShownItem(i);
    return nullptr;
  }
  TkwBarItem* SelectedItem() const {
    TkwBarSubMenuControl* menu = MenuOf(File);
    TkwBarItemControl* selected = menu ? menu->SelectedControl() : nullptr;
    return selected ? selected->GetItem() : nullptr;
  }
  [[nodiscard]] testing::AssertionResult MenuPainted() {
    return WaitFor("the menu painted", [&] {
      TkwBarSubMenuControl* menu = MenuOf(File);
      return menu && IsWindowVisible(menu->Handle()) && !GetUpdateRect(menu->Handle(), nullptr, FALSE);
    });
  }
  TkwBar* Menu = nullptr;
  TkwBarSubItem* File = nullptr;
  TkwBarInPlaceSubItem* InPlace = nullptr;
  TkwBarButton* Marsh = nullptr;
  std::vector<String> Events;
};

const std::vector<String> Collapsed{"&Ouvrir", "&Derniers", "&Quitter"};
const std::vector<String> Expanded{"&Ouvrir", "&Derniers", "Marais", "Tourbière"_a, "&Quitter"};

TEST_F(InPlaceSubItems, AClickShowsTheLinksBelowTheEntryInTheSameMenu) {
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), File));
  EXPECT_EQ(Entries(), Collapsed);
  TkwBarSubMenuControl* menu = MenuOf(File);
  RECT before;
  GetWindowRect(menu->Handle(), &before);
  ClickAt(CentreOf(EntryOf(InPlace)));
  ASSERT_TRUE(WaitFor("expanded", [&] { return InPlace->Expanded(); }));
  ASSERT_TRUE(MenuPainted());
  EXPECT_EQ(MenuOf(File), menu) << "the same menu, no sub-menu";
  EXPECT_EQ(MenuOf(InPlace), nullptr);
  EXPECT_EQ(Entries(), Expanded);
  EXPECT_EQ(SelectedItem(), InPlace) << "the entry stays selected";
  EXPECT_EQ(Events, (std::vector<String>{"expand &Derniers"}));
  RECT after;
  GetWindowRect(menu->Handle(), &after);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
  SaveScreenArea(TRect(after.left, after.top, after.right, after.bottom), "in-place-sub-item");

  ClickAt(CentreOf(EntryOf(InPlace)));
  ASSERT_TRUE(WaitFor("collapsed", [&] { return !InPlace->Expanded(); }));
  ASSERT_TRUE(MenuPainted());
  EXPECT_EQ(Entries(), Collapsed);
  EXPECT_EQ(SelectedItem(), InPlace);
  EXPECT_EQ(Events, (std::vector<String>{"expand &Derniers", "collapse &Derniers"}));
}

TEST_F(InPlaceSubItems, RightExpandsAndLeftCollapses) {
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), File));
  Press(VK_DOWN);
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the entry selected", [&] { return SelectedItem() == InPlace; }));
  Press(VK_RIGHT);
  ASSERT_TRUE(WaitFor("expanded", [&] { return InPlace->Expanded(); }));
  EXPECT_EQ(Entries(), Expanded);
  EXPECT_EQ(SelectedItem(), InPlace);
  Press(VK_LEFT);
  ASSERT_TRUE(WaitFor("collapsed", [&] { return !InPlace->Expanded(); }));
  EXPECT_EQ(Entries(), Collapsed);
  ASSERT_NE(MenuOf(File), nullptr) << "the menu stays open";
  EXPECT_EQ(SelectedItem(), InPlace);
}

TEST_F(InPlaceSubItems, AnEntryOfTheBlockIsClickedOnce) {
  InPlace->SetExpanded(true);
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), File));
  EXPECT_EQ(Entries(), Expanded) << "an item expanded before shows its block at once";
  ClickAt(CentreOf(EntryOf(Marsh)));
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(File); }));
  EXPECT_EQ(Clicks[Marsh], 1);
  EXPECT_EQ(File->ItemLinks()->Count(), 3) << "the block leaves the designed links";
}

TEST_F(InPlaceSubItems, TheEntryAfterTheBlockKeepsASeparatorWhileExpanded) {
  InPlace->KeepBeginGroupWhileExpanded = true;
  TkwBarItemLink* quit = File->ItemLinks()->Items(2);
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), File));
  EXPECT_FALSE(quit->BeginGroup());
  InPlace->SetExpanded(true);
  ASSERT_TRUE(MenuPainted());
  EXPECT_EQ(Entries(), Expanded);
  EXPECT_TRUE(quit->BeginGroup());
  InPlace->SetExpanded(false);
  ASSERT_TRUE(MenuPainted());
  EXPECT_EQ(Entries(), Collapsed);
  EXPECT_FALSE(quit->BeginGroup());
  // With the menu closed there is no block: the entry right after the item is the one.
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the menu closed", [&] { return !MenuOf(File); }));
  InPlace->SetExpanded(true);
  EXPECT_TRUE(quit->BeginGroup());
  InPlace->SetExpanded(false);
  EXPECT_FALSE(quit->BeginGroup());
}

TEST_F(BarItemsTest, OnAToolBarTheInPlaceSubItemOpensASubMenu) {
  TkwBar* bar = AddBar("Outils", false);
  auto* inPlace = AddItem<TkwBarInPlaceSubItem>("Derniers");
  Link(inPlace->ItemLinks(), AddItem<TkwBarButton>("Marais"));
  Link(inPlace->ItemLinks(), AddItem<TkwBarButton>("Tourbière"_a));
  Link(bar, inPlace);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(bar->ItemLinks()->Items(0), inPlace));
  EXPECT_EQ(MenuOf(inPlace)->ItemLinks()->GetShownItemCount(), 2);
  EXPECT_FALSE(inPlace->Expanded());
}

// A container item freed with its form while its menu is open: the menu, freed with the item's
// links, must not call the half-freed container back.
TEST_F(BarItemsTest, AContainerGoesWithItsFormWhileItsMenuIsOpen) {
  TkwBar* bar = AddBar("Outils", false);
  auto* container = AddItem<TkwBarContainerItem>("Derniers");
  Link(container->ItemLinks(), AddItem<TkwBarButton>("Marais"));
  Link(bar, container);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(bar->ItemLinks()->Items(0), container));
  TkwBarSubMenuControl* menu = MenuOf(container);
  Form.reset();
  EXPECT_FALSE(IsLiveBarControl(menu));
}
}  // namespace
