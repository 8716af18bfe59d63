// Tests of the bar manager on a form: its main-menu bar, items and links shown in order,
// accelerators, links removed while shown, style resolution, metrics and form descriptions.
#include "BarTestSupport.h"
#include "Filer.h"
#include "kwBarPainter.h"
#include "kwBarUtils.h"

namespace {

class MainMenuBar : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Bar = AddBar("MainMenu", true);
    for (const char* caption : {"&Fichier", "&Edition", "&Outils", "&Gestion des fiches", "?"})
      Items.push_back(AddButton(caption));
    for (TTestBarButton* item : Items) Link(Bar, item);
    Bar->SetVisible(true);
    ShowForm();
  }
  std::vector<String> ShownCaptions() const {
    std::vector<String> captions;
    for (int i = 0; i < Bar->ItemLinks()->GetShownItemCount(); ++i)
      captions.push_back(Bar->ItemLinks()->GetShownItem(i)->GetCaption());
    return captions;
  }
  TkwBar* Bar = nullptr;
  std::vector<TTestBarButton*> Items;
};

TEST_F(MainMenuBar, IsDockedAtTheTopWithItsLinksShownInOrder) {
  TTestBarWindow* window = WindowOf(Bar);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  TkwDockSite* top = Manager->Bars()->EdgeDockSite(dsTop);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(window->DockSite(), top);
  EXPECT_EQ(window->Parent(), top);
  EXPECT_EQ(Manager->MainMenuBar(), Bar);
  EXPECT_TRUE(Bar->MultiLine());
  EXPECT_TRUE(Bar->WholeRow());
  EXPECT_EQ(ShownCaptions(), (std::vector<String>{"&Fichier", "&Edition", "&Outils", "&Gestion des fiches", "?"}));
  // Every shown link has its control, and the controls lie left to right.
  int right = 0;
  for (int i = 0; i < Bar->ItemLinks()->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = Bar->ItemLinks()->GetShownItem(i);
    ASSERT_NE(link->Control(), nullptr) << link->GetCaption();
    EXPECT_EQ(link->Control()->BarWindow(), window);
    EXPECT_GE(link->ItemRect.Left, right);
    right = link->ItemRect.Right;
  }
  RedrawNow(Form->Handle());
  SaveScreenshot(Form->Handle(), "main-menu-bar");
}

TEST_F(MainMenuBar, FindsAcceleratorsFromTheLinkAfterTheStart) {
  TkwBarItemLinks* links = Bar->ItemLinks();
  struct Case {
    WORD Key;
    int Shift;
    int After;     // index of the start link, -1 for none
    int Expected;  // index of the link found, -1 for none
  } cases[] = {
      {'F', 0, -1, 0},  {'E', 0, -1, 1}, {'O', 0, -1, 2},  {'G', 0, 0, 3},
      {'E', 2, -1, 1},   // Alt is ignored
      {'E', 1, -1, 1},   // an upper-case accelerator answers with or without Shift
      {'F', 0, 0, -1},   // the only match is the start: nothing else matches
      {'Z', 0, -1, -1},  // no match at all, from no start
      {'Z', 0, 2, -1},   // no match at all, from a start
      {'1', 0, -1, -1},
  };
  for (const Case& c : cases) {
    TkwBarItemLink* after = c.After >= 0 ? links->GetShownItem(c.After) : nullptr;
    TkwBarItemLink* found = links->FindByAccelerator(c.Key, c.Shift, after);
    TkwBarItemLink* expected = c.Expected >= 0 ? links->GetShownItem(c.Expected) : nullptr;
    EXPECT_EQ(found, expected) << "key " << char(c.Key) << " shift " << c.Shift << " after " << c.After;
  }
}

TEST_F(MainMenuBar, AcceleratorsSkipDisabledItemsAndWrapRound) {
  TTestBarButton* second = AddButton("&Fenêtre"_a);
  Link(Bar, second);
  TkwBarItemLinks* links = Bar->ItemLinks();
  TkwBarItemLink* fichier = links->GetShownItem(0);
  TkwBarItemLink* fenetre = links->GetShownItem(5);
  EXPECT_EQ(links->FindByAccelerator('F', 0, fichier), fenetre);
  EXPECT_EQ(links->FindByAccelerator('F', 0, fenetre), fichier);
  Items[0]->SetEnabled(false);
  EXPECT_EQ(links->FindByAccelerator('F', 0, nullptr), fenetre);
  EXPECT_EQ(links->FindByAccelerator('F', 0, fenetre), nullptr);
}

// A sub-menu's links are searched among its visible links, whether a window shows them or not.
TEST_F(MainMenuBar, FindsAcceleratorsInASubMenuAndEndsWhenNoneMatches) {
  auto* fichier = new TTestSubItem(Form.get());
  fichier->SetCategory(0);
  TkwBarItemLinks* menu = fichier->ItemLinks();
  for (const char* caption : {"&Nouveau", "&Ouvrir...", "&1 Zones humides", "Cac&he", "&Quitter"})
    menu->Add()->SetItem(AddButton(caption));
  menu->Items(3)->SetVisible(false);
  struct Case {
    WORD Key;
    int Shift;
    int After;
    int Expected;
  } cases[] = {
      {'O', 0, -1, 1}, {'Q', 0, 1, 4}, {'N', 0, 4, 0},  // round past the end
      {'1', 0, -1, 2},                                   // a digit, without Shift
      {'1', 1, -1, -1},                                  // a digit with Shift is another key
      {'Z', 0, -1, -1}, {'Z', 0, 2, -1},                 // no match, from no start and from one
      {'O', 0, 1, -1},                                   // the only match is the start
  };
  for (const Case& c : cases) {
    TkwBarItemLink* after = c.After >= 0 ? menu->Items(c.After) : nullptr;
    TkwBarItemLink* expected = c.Expected >= 0 ? menu->Items(c.Expected) : nullptr;
    EXPECT_EQ(menu->FindByAccelerator(c.Key, c.Shift, after), expected)
        << "key " << char(c.Key) << " shift " << c.Shift << " after " << c.After;
  }
  // The hidden link is never found, even by its own key.
  EXPECT_EQ(menu->FindByAccelerator('H', 0, nullptr), nullptr);
}

TEST_F(MainMenuBar, AHiddenToolbarAnswersNoAccelerator) {
  Bar->GetControl()->Hide();
  EXPECT_EQ(Bar->ItemLinks()->FindByAccelerator('F', 0, nullptr), nullptr);
}

TEST_F(MainMenuBar, ALinkRemovedWhileShownLeavesItsWindowAndItsItem) {
  TTestBarWindow* window = WindowOf(Bar);
  TkwBarItemLink* outils = Bar->ItemLinks()->GetShownItem(2);
  TkwBarItemControl* control = outils->Control();
  window->SelectItemIfFree(control);
  ASSERT_EQ(window->SelectedControl(), control);
  ASSERT_EQ(Manager->SelectedItemControl(), control);
  int rebuilds = window->RebuildCount;
  delete outils;
  EXPECT_EQ(ShownCaptions(), (std::vector<String>{"&Fichier", "&Edition", "&Gestion des fiches", "?"}));
  EXPECT_EQ(Items[2]->GetLinkCount(), 0);
  EXPECT_EQ(window->SelectedControl(), nullptr);
  EXPECT_EQ(Manager->SelectedItemControl(), nullptr);
  EXPECT_GT(window->RebuildCount, rebuilds);
  EXPECT_EQ(WindowOf(Bar), window);
  for (int i = 0; i < Bar->ItemLinks()->GetShownItemCount(); ++i)
    EXPECT_NE(Bar->ItemLinks()->GetShownItem(i)->Control(), nullptr);
  // The item itself lives on and can be linked again.
  Link(Bar, Items[2]);
  EXPECT_EQ(ShownCaptions().back(), "&Outils");
  RedrawNow(Form->Handle());
  SaveScreenshot(Form->Handle(), "main-menu-bar-link-moved");
}

TEST_F(MainMenuBar, AnItemFreedWhileShownTakesItsLinksAlong) {
  delete Items[1];
  Items.erase(Items.begin() + 1);
  EXPECT_EQ(ShownCaptions(), (std::vector<String>{"&Fichier", "&Outils", "&Gestion des fiches", "?"}));
  EXPECT_EQ(Bar->ItemLinks()->Count(), 4);
  EXPECT_EQ(Manager->GetItemCount(), 4);
}

TEST_F(MainMenuBar, ALinkLosingItsItemStaysInItsCollectionUnavailable) {
  TkwBarItemLink* edition = Bar->ItemLinks()->GetShownItem(1);
  edition->SetItem(nullptr);
  EXPECT_EQ(Bar->ItemLinks()->Count(), 5);
  EXPECT_EQ(edition->Item(), nullptr);
  EXPECT_EQ(edition->Control(), nullptr);
  EXPECT_EQ(Bar->ItemLinks()->IndexOfAvailable(edition), -1);
  EXPECT_EQ(Items[1]->GetLinkCount(), 0);
  EXPECT_EQ(ShownCaptions(), (std::vector<String>{"&Fichier", "&Outils", "&Gestion des fiches", "?"}));
}

TEST_F(MainMenuBar, HidingAnItemHidesItsLinkAndShowingItBringsItBack) {
  Items[3]->SetVisible(ivNever);
  EXPECT_EQ(ShownCaptions(), (std::vector<String>{"&Fichier", "&Edition", "&Outils", "?"}));
  EXPECT_EQ(Bar->ItemLinks()->Items(3)->Control(), nullptr);
  Items[3]->SetVisible(ivAlways);
  EXPECT_EQ(ShownCaptions().size(), 5u);
  EXPECT_NE(Bar->ItemLinks()->Items(3)->Control(), nullptr);
}

TEST_F(MainMenuBar, HidingTheBarFreesItsWindowAndShowingMakesANewOne) {
  Bar->SetVisible(false);
  EXPECT_EQ(Bar->GetControl(), nullptr);
  EXPECT_EQ(static_cast<TTestDockSite*>(Manager->Bars()->EdgeDockSite(dsTop))->WindowCount(), 0);
  for (int i = 0; i < Bar->ItemLinks()->Count(); ++i) EXPECT_EQ(Bar->ItemLinks()->Items(i)->Control(), nullptr);
  Bar->SetVisible(true);
  ASSERT_NE(WindowOf(Bar), nullptr);
  EXPECT_TRUE(IsWindowVisible(WindowOf(Bar)->Handle()));
}

TEST_F(MainMenuBar, ClickingAControlClicksItsItemOnce) {
  TkwBarItemControl* control = Bar->ItemLinks()->GetShownItem(1)->Control();
  control->ControlClick(true);
  EXPECT_EQ(Items[1]->Clicks, 1);
  EXPECT_EQ(Items[0]->Clicks, 0);
  Items[1]->SetEnabled(false);
  Bar->ItemLinks()->GetShownItem(1)->Control()->ControlClick(true);
  EXPECT_EQ(Items[1]->Clicks, 1);
}

}  // namespace

namespace {

// --- The manager itself -------------------------------------------------------------------------------

TEST(BarManagerOwner, MustBeAFormWithoutAManager) {
  InstallTestBarClasses();
  ASSERT_EQ(Application->MainForm(), nullptr);
  try {
    TkwBarManager manager(nullptr);
    FAIL() << "a manager without owner";
  } catch (EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "TkwBarManager should have as its Owner - TForm (TCustomForm)");
  }
  TComponent component(nullptr);
  EXPECT_THROW(TkwBarManager manager(&component), EInvalidOperation);
  TFormPtr<TForm> form(CreateForm<TForm>(nullptr));
  auto* first = new TkwBarManager(form.get());
  try {
    new TkwBarManager(form.get());
    FAIL() << "a second manager";
  } catch (EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "A Form should contain only a single TkwBarManager");
  }
  EXPECT_EQ(FindManagerOfForm(form.get()), first);
  EXPECT_EQ(form->ComponentCount(), 1);
}

TEST(BarManagerOwner, IsTheMainFormWhenNoneIsGiven) {
  InstallTestBarClasses();
  TForm* main = nullptr;
  Application->CreateForm(main);
  TFormPtr<TForm> owner(main);
  ASSERT_EQ(Application->MainForm(), main);
  auto* manager = new TkwBarManager(nullptr);
  EXPECT_EQ(manager->Owner(), main);
  EXPECT_EQ(manager->OwnerForm(), main);
  EXPECT_EQ(FindManagerOfForm(main), manager);
  owner.reset();
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(BarManagerCount(), 0);
}

TEST(BarManagerRecentThreshold, FollowsThePercentageOfRecentItems) {
  struct Case {
    int Percents;
    int Threshold;
  } cases[] = {{100, 0}, {99, 100}, {95, 20}, {90, 10}, {50, 2}, {0, 1}};
  for (const Case& c : cases) EXPECT_EQ(RecentThresholdOf(c.Percents), c.Threshold) << c.Percents;
}

class BarManager : public BarFormTest {};

TEST_F(BarManager, StartsWithTheDefaultsOfItsProperties) {
  EXPECT_EQ(Manager->Style(), bmsEnhanced);
  EXPECT_TRUE(Manager->UseSystemFont());
  EXPECT_EQ(Manager->Categories()->Count(), 1);
  EXPECT_EQ(Manager->Categories()->Strings(0), "Default");
  EXPECT_EQ(Manager->RecentThreshold(), 20);
  EXPECT_EQ(Manager->MenuAnimations(), maNone);
  EXPECT_EQ(Manager->ButtonArrowWidth(), 11);
  EXPECT_EQ(Manager->ImageListBkColor(), clFuchsia);
  EXPECT_EQ(Manager->GlyphSize(), 16);
  EXPECT_EQ(Manager->ButtonSize(), 23);
  EXPECT_EQ(Manager->ButtonWidth(), 22);
  EXPECT_EQ(Manager->ArrowWidth(), 11);
  for (TkwBarDockingStyle style : {dsLeft, dsTop, dsRight, dsBottom})
    EXPECT_NE(Manager->Bars()->EdgeDockSite(style), nullptr) << style;
  EXPECT_EQ(Manager->DockControlCount(), 4);
}

TEST_F(BarManager, RefusesOutOfRangeValues) {
  Manager->SetButtonArrowWidth(1);
  Manager->SetLargeButtonArrowWidth(0);
  Manager->SetWaitForDockingTime(-5);
  EXPECT_EQ(Manager->ButtonArrowWidth(), 11);
  EXPECT_EQ(Manager->LargeButtonArrowWidth(), 13);
  EXPECT_EQ(Manager->WaitForDockingTime(), 21);
  Manager->SetMostRecentItemsPercents(150);
  EXPECT_EQ(Manager->MostRecentItemsPercents(), 100);
  EXPECT_EQ(Manager->RecentThreshold(), 0);
  // The arrow width is made odd, and doubled with large icons.
  Manager->SetButtonArrowWidth(12);
  EXPECT_EQ(Manager->ArrowWidth(), 13);
  Manager->SetButtonArrowWidth(11);
  Manager->SetLargeIcons(true);
  EXPECT_EQ(Manager->ArrowWidth(), 23);
  EXPECT_EQ(Manager->GlyphSize(), 32);
}

TEST_F(BarManager, AFontSetFromOutsideEndsTheSystemFontButItsOwnDoesNot) {
  Manager->ApplySystemFont();
  EXPECT_TRUE(Manager->UseSystemFont());
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-11);
  Manager->SetFont(&font);
  EXPECT_FALSE(Manager->UseSystemFont());
  EXPECT_NE(Manager->MenuFont(), nullptr);
  Manager->SetUseSystemFont(true);
  EXPECT_TRUE(Manager->UseSystemFont());
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  EXPECT_EQ(Manager->Font()->Height(), metrics.lfMenuFont.lfHeight);
}

TEST_F(BarManager, ABarWithoutItsOwnFontFollowsTheManagers) {
  // Not scaled: the manager's font keeps the height it is given.
  Manager->SetScaled(false);
  TkwBar* bar = AddBar("Outils", false);
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-15);
  Manager->SetFont(&font);
  EXPECT_EQ(bar->Font()->Height(), -15);
  EXPECT_FALSE(bar->UseOwnFont());
  font.SetHeight(-20);
  bar->SetFont(&font);
  EXPECT_TRUE(bar->UseOwnFont());
  EXPECT_NE(bar->OwnFontHandle(), nullptr);
  font.SetHeight(-9);
  Manager->SetFont(&font);
  EXPECT_EQ(bar->Font()->Height(), -20);
  bar->SetUseOwnFont(false);
  EXPECT_EQ(bar->Font()->Height(), -9);
  EXPECT_EQ(bar->OwnFontHandle(), nullptr);
}

TEST_F(BarManager, DocksByTheBarsAndTheManagersRules) {
  TkwBar* bar = AddBar("Outils", false);
  TTestDockSite freeSite(Manager, dsNone);
  bool refuse = false;
  struct Case {
    const char* Name;
    TkwBarDockingStyle Style;
    TkwDockSite* Site;
    bool Expected;
  } cases[] = {{"an edge", dsTop, nullptr, true},
               {"an edge the bar refuses", dsLeft, nullptr, false},
               {"an edge the manager refuses", dsBottom, nullptr, false},
               {"a free site", dsTop, &freeSite, true}};
  bar->NotDocking = {dsLeft};
  Manager->NotDocking = {dsBottom};
  for (const Case& c : cases) EXPECT_EQ(Manager->CanDock(bar, c.Style, c.Site), c.Expected) << c.Name;
  freeSite.AllowDocking = false;
  EXPECT_FALSE(Manager->CanDock(bar, dsTop, &freeSite));
  // The event has the last word.
  struct THandler : TObject {
    bool* Refuse;
    void Docking(TkwBar*, TkwBarDockingStyle, TkwDockSite*, bool& CanDocking) { CanDocking = !*Refuse; }
  } handler;
  handler.Refuse = &refuse;
  Manager->OnDocking = TkwBarDockingEvent(&handler, &THandler::Docking);
  refuse = true;
  EXPECT_FALSE(Manager->CanDock(bar, dsTop, nullptr));
  Manager->OnDocking = nullptr;
}

TEST_F(BarManager, RenamingItInDesignRenamesTheItemsNamedAfterIt) {
  Form.reset();
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetDesigning(true);
  Manager = new TkwBarManager(Form.get());
  Manager->SetName("kwBarManager1");
  AddButton("Ouvrir")->SetName("KWBARMANAGER1Open");
  AddButton("Gestion")->SetName("kwBarManager");
  AddButton("Autre")->SetName("Fermer");
  Manager->SetName("Menus");
  EXPECT_NE(Form->FindComponent("MenusOpen"), nullptr);
  EXPECT_NE(Form->FindComponent("kwBarManager"), nullptr);
  EXPECT_NE(Form->FindComponent("Fermer"), nullptr);
  // Outside design nothing follows.
  Form->SetDesigning(false);
}

TEST_F(BarManager, HidesABarLeftEmptyByItsCategoryAndShowsItAgain) {
  Manager->SetAutoHideEmptyBars(true);
  Manager->Categories()->Add("Etats");
  TkwBar* bar = AddBar("Etats", false);
  TTestBarButton* item = AddButton("Liste");
  item->SetCategory(1);
  Link(bar, item);
  bar->SetVisible(true);
  Manager->SetCategoryItemsVisible(1, ivNever);
  EXPECT_EQ(item->Visible(), ivNever);
  EXPECT_FALSE(bar->Visible());
  EXPECT_TRUE(bar->HiddenBecauseEmpty);
  Manager->SetCategoryItemsVisible(1, ivAlways);
  EXPECT_TRUE(bar->Visible());
  EXPECT_FALSE(bar->HiddenBecauseEmpty);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(1), ivAlways);
  EXPECT_EQ(Manager->GetCategoryItemsVisible(7), ivNever);
}

TEST_F(BarManager, EveryItemWithACategoryIsEnabledWhileCustomizing) {
  TTestBarButton* item = AddButton("Quitter");
  item->SetEnabled(false);
  auto* temporary = new TTestBarButton(Form.get());
  temporary->SetEnabled(false);
  Manager->SetCustomizing(true);
  EXPECT_TRUE(item->Enabled());
  EXPECT_FALSE(temporary->Enabled());
  Manager->SetCustomizing(false);
  EXPECT_FALSE(item->Enabled());
}

// The edge sizes go out and come back in the order left, right, top, bottom.
TEST_F(BarManager, WritesAndReadsTheEdgeDockSizesInTheirOrder) {
  Form->SetName("frmDocks");
  Manager->SetName("kwBarManager1");
  const TkwBarDockingStyle order[4] = {dsLeft, dsRight, dsTop, dsBottom};
  const int sizes[4] = {5, 7, 23, 11};
  for (int i = 0; i < 4; ++i) Manager->Bars()->EdgeDockSite(order[i])->SetDockSize(sizes[i]);
  String text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("DockControlHeights = (\r\n      5\r\n      7\r\n      23\r\n      11)"), String::npos)
      << text;
  // Read into another form: each site is given its size while the manager is read (the layout
  // at the end of loading then fits the sites to their bars).
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  Form.reset();
  Manager = nullptr;
  ReadComponentFromText(copy.get(), text, "copy");
  auto* manager = dynamic_cast<TkwBarManager*>(copy->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  for (int i = 0; i < 4; ++i) {
    auto* site = static_cast<TTestDockSite*>(manager->Bars()->EdgeDockSite(order[i]));
    EXPECT_EQ(site->SizesGivenWhileLoading, std::vector<int>{sizes[i]}) << order[i];
  }
}

// A form that inherits its design reads its manager from two descriptions: its bars cannot be
// reset to one design.
TEST_F(BarManager, CannotResetWhenReadFromAnAncestorAndADescendant) {
  Form.reset();
  Manager = nullptr;
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetName("frmBase");
  ReadComponentFromText(Form.get(),
                        "object frmBase: TForm\n"
                        "  object kwBarManager1: TkwBarManager\n"
                        "    Categories = (\n"
                        "      'Default')\n"
                        "  end\n"
                        "end\n",
                        "base");
  auto* manager = dynamic_cast<TkwBarManager*>(Form->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->AllowReset());
  EXPECT_TRUE(manager->CanReset());
  ReadComponentFromText(Form.get(),
                        "inherited frmBase: TForm\n"
                        "  inherited kwBarManager1: TkwBarManager\n"
                        "    ShowHint = False\n"
                        "  end\n"
                        "end\n",
                        "descendant");
  EXPECT_FALSE(manager->ShowHint());
  EXPECT_TRUE(manager->AllowReset());
  EXPECT_FALSE(manager->CanReset());
}

// The program's path: the main window's manager read from its form description.
TEST_F(BarManager, IsReadWithItsMainMenuBarFromAFormDescription) {
  Form.reset();
  Form.reset(CreateForm<TForm>(nullptr));
  Form->SetName("frmMenus");
  ReadComponentFromText(Form.get(),
                        "object frmMenus: TForm\n"
                        "  Left = 60\n"
                        "  Top = 60\n"
                        "  Width = 480\n"
                        "  Height = 240\n"
                        "  Caption = 'Inventaire'\n"
                        "  object kwBarManager1: TkwBarManager\n"
                        "    AllowReset = False\n"
                        "    Scaled = False\n"
                        "    Font.Name = 'Tahoma'\n"
                        "    Font.Height = -11\n"
                        "    Bars = <\n"
                        "      item\n"
                        "        Caption = 'MainMenu'\n"
                        "        DockedDockingStyle = dsTop\n"
                        "        DockingStyle = dsTop\n"
                        "        IsMainMenu = True\n"
                        "        ItemLinks = <\n"
                        "          item\n"
                        "            Item = mnuFichier\n"
                        "            Visible = True\n"
                        "          end\n"
                        "          item\n"
                        "            BeginGroup = True\n"
                        "            Item = mnuOutils\n"
                        "            Visible = True\n"
                        "          end\n"
                        "          item\n"
                        "            Item = mnuCache\n"
                        "            Visible = False\n"
                        "          end>\n"
                        "        MultiLine = True\n"
                        "        Name = 'MainMenu'\n"
                        "        OneOnRow = True\n"
                        "        ShowMark = False\n"
                        "        Visible = True\n"
                        "        WholeRow = True\n"
                        "      end>\n"
                        "    Categories = (\n"
                        "      'Default')\n"
                        "    Style = bmsUseLookAndFeel\n"
                        "    UseSystemFont = True\n"
                        "    DockControlHeights = (\n"
                        "      0\n"
                        "      0\n"
                        "      23\n"
                        "      0)\n"
                        "    object mnuFichier: TTestBarButton\n"
                        "      Caption = '&Fichier'\n"
                        "      Category = 0\n"
                        "      Visible = ivAlways\n"
                        "    end\n"
                        "    object mnuOutils: TTestBarButton\n"
                        "      Caption = '&Outils'\n"
                        "      Category = 0\n"
                        "    end\n"
                        "    object mnuCache: TTestBarButton\n"
                        "      Caption = 'Cach\xE9'\n"
                        "      Category = 0\n"
                        "    end\n"
                        "  end\n"
                        "end\n",
                        "frmMenus");
  Manager = dynamic_cast<TkwBarManager*>(Form->FindComponent("kwBarManager1"));
  ASSERT_NE(Manager, nullptr);
  EXPECT_EQ(Manager->GetEffectiveStyle(), bmsFlat);
  EXPECT_FALSE(Manager->AllowReset());
  EXPECT_FALSE(Manager->CanReset());
  EXPECT_FALSE(Manager->Scaled());
  EXPECT_TRUE(Manager->UseSystemFont());
  EXPECT_EQ(Manager->MenuAnimations(), maNone);
  EXPECT_EQ(Manager->GetItemCount(), 3);
  ASSERT_EQ(Manager->Bars()->Count(), 1);
  TkwBar* bar = Manager->Bars()->Items(0);
  EXPECT_EQ(Manager->MainMenuBar(), bar);
  EXPECT_TRUE(bar->Visible());
  EXPECT_TRUE(bar->FromResource);
  EXPECT_TRUE(bar->OneOnRow);
  EXPECT_FALSE(bar->ShowMark());
  ShowForm();
  TTestBarWindow* window = WindowOf(bar);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->DockSite(), Manager->Bars()->EdgeDockSite(dsTop));
  TkwBarItemLinks* links = bar->ItemLinks();
  ASSERT_EQ(links->GetShownItemCount(), 2);
  EXPECT_EQ(links->GetShownItem(0)->GetCaption(), "&Fichier");
  EXPECT_EQ(links->GetShownItem(1)->GetCaption(), "&Outils");
  EXPECT_TRUE(links->GetShownItem(1)->BeginGroup());
  EXPECT_EQ(links->FindByAccelerator('O', 0, nullptr), links->GetShownItem(1));
  RedrawNow(Form->Handle());
  SaveScreenshot(Form->Handle(), "main-menu-bar-from-description");
  // Written back, the links name their items.
  String text = WriteComponentToText(Form.get());
  EXPECT_NE(text.find("Item = mnuOutils"), String::npos) << text;
  EXPECT_NE(text.find("IsMainMenu = True"), String::npos);
  EXPECT_NE(text.find("DockControlHeights"), String::npos);
  // And read again into another form, the bar shows the same links.
  TFormPtr<TForm> copy(CreateForm<TForm>(nullptr));
  Form.reset();
  ReadComponentFromText(copy.get(), text, "copy");
  auto* manager = dynamic_cast<TkwBarManager*>(copy->FindComponent("kwBarManager1"));
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(manager->Bars()->Count(), 1);
  TkwBarItemLinks* copied = manager->Bars()->Items(0)->ItemLinks();
  ASSERT_EQ(copied->GetShownItemCount(), 2);
  EXPECT_EQ(copied->GetShownItem(1)->GetCaption(), "&Outils");
  EXPECT_TRUE(copied->GetShownItem(1)->BeginGroup());
  EXPECT_EQ(copied->GetShownItem(0)->Item()->Category(), 0);
  EXPECT_EQ(manager->GetEffectiveStyle(), bmsFlat);
  Manager = nullptr;
}

}  // namespace
