// Tests of the bar manager on a form: its main-menu bar, items and links shown in order,
// accelerators, links removed while shown, style resolution, metrics and form descriptions.
#include "BarTestSupport.h"
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
