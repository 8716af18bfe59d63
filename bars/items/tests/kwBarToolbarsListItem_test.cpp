// Tests of the toolbars list (its menu of the closable bars, built afresh at each opening, whose
// entries show and hide the bars) and of the registration of the item classes with the
// resources they share.
#include "CommonDialogs.h"
#include "Dialogs.h"
#include "ItemsTestSupport.h"
#include "StrUtils.h"
#include "kwBarColorCombo.h"
#include "kwBarToolbarsListItem.h"
#include "kwBarUtils.h"

namespace {

class ToolbarsLists : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Menu = AddBar("Menu", true);
    View = AddItem<TkwBarSubItem>("&Affichage");
    Link(Menu, View);
    Toolbars = AddItem<TkwBarToolbarsListItem>("&Barres d'outils");
    Link(View->ItemLinks(), AddItem<TkwBarButton>("&Zoom"));
    Link(View->ItemLinks(), Toolbars);
    Standard = AddBar("Standard", false);
    Link(Standard, AddItem<TkwBarButton>("Ouvrir"));
    Drawing = AddBar("Dessin", false);
    Link(Drawing, AddItem<TkwBarButton>("Trait"));
    Hidden = AddBar("Cachée"_a, false);
    Hidden->SetHidden(true);
    Fixed = AddBar("Fixe", false);
    Fixed->SetAllowClose(false);
    Link(Fixed, AddItem<TkwBarButton>("Cadre"));
    for (TkwBar* bar : {Menu, Standard, Fixed}) bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  // Opens "Affichage", then the toolbars list's own menu from its entry.
  [[nodiscard]] testing::AssertionResult OpenList() {
    if (auto r = OpenMenu(Menu->ItemLinks()->Items(0), View); !r) return r;
    TkwBarItemLink* entry = nullptr;
    for (int i = 0; i < View->ItemLinks()->Count(); ++i)
      if (View->ItemLinks()->Items(i)->Item() == Toolbars) entry = View->ItemLinks()->Items(i);
    if (!entry) return testing::AssertionFailure() << "no entry of the toolbars list";
    return OpenMenu(entry, Toolbars);
  }
  struct TEntry {
    String Caption;
    bool Checked;
    bool operator==(const TEntry&) const = default;
  };
  friend std::ostream& operator<<(std::ostream& Out, const TEntry& E) {
    return Out << E.Caption << (E.Checked ? " (checked)" : "");
  }
  std::vector<TEntry> Entries() const {
    std::vector<TEntry> entries;
    TkwBarItemLinks* links = Toolbars->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) {
      auto* button = dynamic_cast<TkwBarButton*>(links->Items(i)->Item());
      entries.push_back({links->Items(i)->Item()->Caption(), button && button->Down()});
    }
    return entries;
  }
  TkwBar* Menu = nullptr;
  TkwBar* Standard = nullptr;
  TkwBar* Drawing = nullptr;
  TkwBar* Hidden = nullptr;
  TkwBar* Fixed = nullptr;
  TkwBarSubItem* View = nullptr;
  TkwBarToolbarsListItem* Toolbars = nullptr;
};

// The menu bar, a hidden bar and a bar that cannot be closed have no entry; a bar shown is
// checked; the entry that starts customizing comes last.
TEST_F(ToolbarsLists, TheMenuListsTheClosableBarsCheckedWhenShown) {
  EXPECT_EQ(Toolbars->ItemLinks()->Count(), 0) << "nothing is designed into the list";
  ASSERT_TRUE(OpenList());
  EXPECT_EQ(Entries(), (std::vector<TEntry>{{"Standard", true}, {"Dessin", false}, {"&Customize...", false}}));
  EXPECT_TRUE(Toolbars->ItemLinks()->Items(2)->BeginGroup());
  EXPECT_FALSE(Toolbars->ItemLinks()->IsDesignContent()) << "its links are not part of the form's design";
  RECT r;
  GetWindowRect(MenuOf(Toolbars)->Handle(), &r);
  RECT view;
  GetWindowRect(MenuOf(View)->Handle(), &view);
  SaveScreenArea(TRect(view.left, view.top, r.right, std::max(r.bottom, view.bottom)), "toolbars-list");
}

// An entry shows or hides its bar; the next opening shows the bars as they are then, with no
// entry twice and the temporary items of the previous opening freed.
TEST_F(ToolbarsLists, AnEntryShowsOrHidesItsBarAndTheListFollows) {
  ASSERT_TRUE(OpenList());
  int temporaries = TemporaryItemCount();
  ClickAt(CentreOf(Toolbars->ItemLinks()->Items(1)));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return !MenuOf(View) && !MenuOf(Toolbars); }));
  EXPECT_TRUE(Drawing->Visible());
  ASSERT_TRUE(WaitFor("the bar shown", [&] { return WindowOf(Drawing) && IsWindowVisible(WindowOf(Drawing)->Handle()); }));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(OpenList()) << round;
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"Standard", true}, {"Dessin", true}, {"&Customize...", false}})) << round;
    EXPECT_EQ(TemporaryItemCount(), temporaries) << "the items of the last opening went";
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the menus closed", [&] { return !MenuOf(View) && !MenuOf(Toolbars); }));
  }
  ASSERT_TRUE(OpenList());
  ClickAt(CentreOf(Toolbars->ItemLinks()->Items(0)));
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return !MenuOf(View) && !MenuOf(Toolbars); }));
  EXPECT_FALSE(Standard->Visible());
}

// While customizing the entry opens no list.
TEST_F(ToolbarsLists, NoListOpensWhileCustomizing) {
  Manager->SetCustomizing(true);
  ASSERT_TRUE(OpenMenu(Menu->ItemLinks()->Items(0), View));
  TkwBarItemLink* entry = View->ItemLinks()->Items(1);
  ClickAt(CentreOf(entry));
  PumpPending();
  EXPECT_EQ(MenuOf(Toolbars), nullptr);
  EXPECT_EQ(Toolbars->ItemLinks()->Count(), 0);
  Manager->SetCustomizing(false);
}

// Each item class is known by name to the form reader and shown by its own control class.
TEST(BarItemsRegistration, EveryItemClassHasItsControl) {
  RegisterBarItems();
  struct TCase {
    const char* Item;
    const char* Control;
    bool Listed;
  };
  const TCase cases[] = {
      {"TkwBarButton", "TkwBarButtonControl", true},
      {"TkwBarEdit", "TkwBarEditControl", true},
      {"TkwBarSubItem", "TkwBarSubItemControl", true},
      {"TkwBarListItem", "TkwBarContainerItemControl", true},
      {"TkwBarContainerItem", "TkwBarContainerItemControl", true},
      {"TkwBarCombo", "TkwBarComboControl", true},
      {"TkwBarStatic", "TkwBarStaticControl", true},
      {"TkwBarLargeButton", "TkwBarLargeButtonControl", true},
      {"TkwBarColorCombo", "TkwBarColorComboControl", true},
      {"TkwBarFontNameCombo", "TkwBarComboControl", true},
      {"TkwBarDateCombo", "TkwBarDateComboControl", true},
      {"TkwBarTreeViewCombo", "TkwBarTreeViewComboControl", true},
      {"TkwBarImageCombo", "TkwBarImageComboControl", true},
      {"TkwBarToolbarsListItem", "TkwBarToolbarsListItemControl", true},
      {"TkwBarSpinEdit", "TkwBarSpinEditControl", true},
      {"TkwBarControlContainerItem", "TkwBarControlContainerControl", true},
      {"TkwBarProgressItem", "TkwBarProgressControl", true},
      {"TkwBarMRUListItem", "TkwBarContainerItemControl", true},
      {"TkwBarInPlaceSubItem", "TkwBarInPlaceSubItemControl", true},
  };
  std::vector<TClass> listed;
  for (int i = 0; i < GetListedItemClassCount(); ++i) listed.push_back(GetListedItemClass(i));
  for (const TCase& c : cases) {
    TClass item = GetClass(c.Item);
    ASSERT_NE(item, nullptr) << c.Item;
    TClass control = GetItemControlClass(item);
    ASSERT_NE(control, nullptr) << c.Item;
    EXPECT_EQ(String(control->Name), String(c.Control)) << c.Item;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), item), c.Listed ? 1 : 0) << c.Item;
  }
}

// Unregistering takes the classes away from the reader and the bars and frees the shared
// dialogs; registering again brings everything back.
TEST(BarItemsRegistration, UnregisteringUndoesTheRegistration) {
  RegisterBarItems();
  int listed = GetListedItemClassCount();
  TColorDialog* colours = BarItemsColorDialog();
  colours->CustomColors()->Add("ColorA=102030");
  UnregisterBarItems();
  EXPECT_EQ(GetClass("TkwBarSpinEdit"), nullptr);
  EXPECT_EQ(GetItemControlClass(TkwBarToolbarsListItem::StaticClass()), nullptr);
  EXPECT_EQ(GetListedItemClassCount(), listed - 19);
  EXPECT_EQ(MDISystemMenuItemClass(), nullptr);
  RegisterBarItems();
  EXPECT_EQ(GetListedItemClassCount(), listed);
  EXPECT_NE(GetClass("TkwBarSpinEdit"), nullptr);
  EXPECT_NE(MDISystemMenuItemClass(), nullptr);
  EXPECT_EQ(BarItemsColorDialog()->CustomColors()->IndexOf("ColorA=102030"), -1) << "a new dialog";
}

// Every colour combo opens the same colour dialog, so the custom colours a user made in one are
// offered by the next; the font-name combos share one font dialog likewise.
TEST_F(BarItemsTest, TheCombosShareOneColourAndOneFontDialog) {
  auto* first = AddItem<TkwBarColorCombo>("Trait");
  auto* second = AddItem<TkwBarColorCombo>("Fond");
  BarItemsColorDialog()->CustomColors()->Clear();
  TModalScript script;
  script.Push(1, IntToStr(RGB(10, 120, 200)));
  first->Click();
  ASSERT_EQ(script.Asked.size(), 1u);
  EXPECT_EQ(first->Color(), TColor(RGB(10, 120, 200)));
  BarItemsColorDialog()->CustomColors()->Add("ColorA=C87810");
  second->SetColor(clRed);
  script.Push(0);
  second->Click();
  ASSERT_EQ(script.Asked.size(), 2u);
  EXPECT_EQ(script.Asked[1].Value, IntToStr(clRed)) << "the dialog starts from the combo's colour";
  EXPECT_EQ(BarItemsColorDialog()->CustomColors()->IndexOf("ColorA=C87810"), 0) << "kept between combos";
  EXPECT_EQ(second->Color(), clRed);

  auto* font = AddItem<TkwBarFontNameCombo>("Police");
  font->SetText("Tahoma");
  script.Push(1, "Arial");
  font->Click();
  ASSERT_EQ(script.Asked.size(), 3u);
  EXPECT_EQ(script.Asked[2].Name, "FontDialog");
  EXPECT_EQ(BarItemsFontDialog()->Font()->Name(), "Arial") << "the shared dialog was the one asked";
  EXPECT_TRUE(script.Unexpected.empty());
}

}  // namespace
