// Tests of the bars and item links: recently used links and the shown view, availability,
// group marks, recursive sub-items, main-menu flags, captions and names, docking moves,
// non-client sizes and the status-bar size grip.
#include "BarTestSupport.h"
#include "kwBarPainter.h"
#include "kwBarUtils.h"

namespace {

class Bars : public BarFormTest {
 protected:
  // A tool bar of links to items captioned A, B, C... (not shown).
  TkwBar* BarOf(int Count) {
    TkwBar* bar = AddBar("Outils", false);
    for (int i = 0; i < Count; ++i) Link(bar, AddButton(String(1, char('A' + i))));
    return bar;
  }
  std::vector<String> Shown(TkwBar* Bar) {
    std::vector<String> captions;
    for (int i = 0; i < Bar->ItemLinks()->GetShownItemCount(); ++i)
      captions.push_back(Bar->ItemLinks()->GetShownItem(i)->GetCaption());
    return captions;
  }
};

TEST_F(Bars, ShowTheRecentlyUsedLinksAboveTheThresholdInTheirOrder) {
  TkwBar* bar = BarOf(4);
  TkwBarItemLinks* links = bar->ItemLinks();
  // Use counts A 0, B 0, C 20, D 40; recent order D, C, A, B.
  int counts[4] = {0, 0, 20, 40};
  for (int i = 0; i < 4; ++i) links->Items(i)->UseCount = counts[i];
  links->Items(3)->SetRecentIndex(0);
  links->Items(2)->SetRecentIndex(1);
  ASSERT_EQ(links->GetRecentItem(0), links->Items(3));
  ASSERT_EQ(links->GetRecentItem(1), links->Items(2));
  // Threshold 0 + 40 x 5 / 100 = 2: from index 3 down, C (20) is the first: two links.
  EXPECT_EQ(links->CalcRecentItemCount(), 2);
  links->SetRecentItemCount(2);
  EXPECT_EQ(Shown(bar), (std::vector<String>{"C", "D"}));
  links->RestoreRecentItemCount();
  EXPECT_EQ(Shown(bar).size(), 4u);
}

TEST_F(Bars, EqualUseCountsShowEveryLink) {
  TkwBar* bar = BarOf(3);
  EXPECT_EQ(bar->ItemLinks()->CalcRecentItemCount(), -1);
}

TEST_F(Bars, TheStandardStyleUsesNoRecentView) {
  Manager->SetStyle(bmsStandard);
  TkwBar* bar = BarOf(3);
  bar->ItemLinks()->SetRecentItemCount(5);
  EXPECT_EQ(bar->ItemLinks()->RecentItemCount(), -1);
  EXPECT_EQ(bar->ItemLinks()->CalcRecentItemCount(), -1);
}

TEST_F(Bars, ALinkToAHiddenItemIsNotAvailableAndItsUseChangesNothing) {
  TkwBar* bar = BarOf(3);
  TkwBarItemLinks* links = bar->ItemLinks();
  TkwBarItemLink* b = links->Items(1);
  b->Item()->SetVisible(ivNever);
  EXPECT_FALSE(b->IsAvailable());
  EXPECT_EQ(links->IndexOfAvailable(b), -1);
  int index = b->GetRecentIndex();
  int count = b->UseCount;
  b->MarkUsed(true);
  EXPECT_EQ(b->GetRecentIndex(), index);
  EXPECT_EQ(b->UseCount, count);
  links->Items(2)->MarkUsed(true);
  EXPECT_EQ(links->GetRecentItem(0), links->Items(2));
  EXPECT_EQ(links->Items(2)->UseCount, Manager->RecentThreshold() + 1);
}

TEST_F(Bars, ALinkUsedWhileHiddenBehindTheRecentViewAsksItsDockedBarToReLayOut) {
  TkwBar* bar = BarOf(3);
  bar->SetVisible(true);
  ShowForm();
  TkwBarItemLinks* links = bar->ItemLinks();
  links->Items(0)->UseCount = 50;
  links->Items(0)->SetRecentIndex(0);
  links->SetRecentItemCount(1);
  ASSERT_EQ(Shown(bar), std::vector<String>{"A"});
  TTestBarWindow* window = WindowOf(bar);
  int before = window->RelayoutMessages;
  links->Items(2)->MarkUsed(true);
  ASSERT_TRUE(WaitFor("the bar to re-lay out", [&] { return window->RelayoutMessages > before; }));
  EXPECT_EQ(window->RelayoutMessages, before + 1);
}

TEST_F(Bars, AGroupMarkMovesToTheNextShownLinkAndNeverStartsTheBar) {
  TkwBar* bar = BarOf(4);
  TkwBarItemLinks* links = bar->ItemLinks();
  links->Items(0)->SetBeginGroup(true);
  links->Items(2)->SetBeginGroup(true);
  EXPECT_FALSE(links->Items(0)->BeginGroup());
  EXPECT_TRUE(links->Items(2)->BeginGroup());
  // C's link hidden (its item still available): its mark shows on D.
  links->Items(2)->SetVisible(false);
  EXPECT_TRUE(links->Items(3)->BeginGroup());
  EXPECT_FALSE(links->Items(1)->BeginGroup());
  // C's item gone altogether: the mark goes with it.
  links->Items(2)->Item()->SetVisible(ivNever);
  EXPECT_FALSE(links->Items(3)->BeginGroup());
}

TEST_F(Bars, ADraggedFirstLinkTakesTheNextLinksGroupStartAlong) {
  TkwBar* bar = BarOf(3);
  TkwBarItemLinks* links = bar->ItemLinks();
  links->Items(1)->SetBeginGroup(true);
  Manager->DragLink = links->Items(0);
  delete links->Items(0);
  Manager->DragLink = nullptr;
  EXPECT_FALSE(links->Items(0)->BeginGroup());
  EXPECT_EQ(links->Items(0)->GetCaption(), "B");
}

TEST_F(Bars, ASubItemCannotContainItself) {
  auto* outer = new TTestSubItem(Form.get());
  auto* inner = new TTestSubItem(Form.get());
  outer->ItemLinks()->Add()->SetItem(inner);
  TkwBarItemLink* back = inner->ItemLinks()->Add();
  try {
    back->SetItem(outer);
    FAIL() << "a recursive sub-item";
  } catch (Exception& e) {
    EXPECT_EQ(e.Message, "You cannot create recursive subitems");
  }
  EXPECT_EQ(back->Item(), nullptr);
  EXPECT_EQ(outer->GetLinkCount(), 0);
  EXPECT_THROW(outer->ItemLinks()->Add()->SetItem(outer), Exception);
  EXPECT_TRUE(outer->ItemLinks()->HasItem(inner));
  EXPECT_FALSE(inner->ItemLinks()->HasItem(outer));
}

TEST_F(Bars, TheMainMenuKeepsItsLinesAndLosesThemWithTheFlag) {
  TkwBar* bar = AddBar("MainMenu", true);
  bar->SetMultiLine(false);
  EXPECT_TRUE(bar->MultiLine());
  TkwBar* other = AddBar("Autre", false);
  other->SetIsMainMenu(true);
  EXPECT_FALSE(bar->IsMainMenu());
  EXPECT_EQ(Manager->MainMenuBar(), other);
  other->SetIsMainMenu(false);
  EXPECT_FALSE(other->MultiLine());
  EXPECT_FALSE(other->WholeRow());
  EXPECT_EQ(Manager->MainMenuBar(), nullptr);
  other->SetIsMainMenu(true);
  EXPECT_FALSE(other->IsClosable());
}

TEST_F(Bars, CaptionsAreUniqueAndNameTheBarsThatHaveNoName) {
  TkwBar* first = AddBar("Outils", false);
  EXPECT_EQ(first->Name(), "Outils");
  TkwBar* second = Manager->Bars()->Add();
  second->SetCaption("Outils");
  EXPECT_EQ(second->Caption(), "");
  second->SetName("Edition1");
  TkwBar* third = Manager->Bars()->Add();
  third->SetName("Outils");
  TkwBar* fourth = Manager->Bars()->Add();
  fourth->SetCaption("Edition");
  EXPECT_EQ(fourth->Name(), "Edition");
  EXPECT_EQ(Manager->Bars()->MakeUniqueName("Edition"), "Edition2");
  EXPECT_EQ(Manager->FindBarByCaption("Edition"), fourth);
  EXPECT_EQ(Manager->FindBarByCaption("edition"), nullptr);
}

TEST_F(Bars, MoveBetweenEdgeDockSites) {
  TkwBar* bar = BarOf(2);
  bar->SetVisible(true);
  ShowForm();
  auto* top = static_cast<TTestDockSite*>(Manager->Bars()->EdgeDockSite(dsTop));
  auto* bottom = static_cast<TTestDockSite*>(Manager->Bars()->EdgeDockSite(dsBottom));
  EXPECT_EQ(top->WindowCount(), 1);
  int changes = 0;
  struct THandler : TObject {
    int* Count;
    void Changed(TkwBarManager*, TkwBar*) { ++*Count; }
  } handler;
  handler.Count = &changes;
  Manager->OnBarDockingStyleChange = TkwBarManagerBarEvent(&handler, &THandler::Changed);
  bar->SetDockingStyle(dsBottom);
  EXPECT_EQ(bar->DockingStyle(), dsBottom);
  EXPECT_EQ(top->WindowCount(), 0);
  EXPECT_EQ(bottom->WindowCount(), 1);
  ASSERT_NE(WindowOf(bar), nullptr);
  EXPECT_EQ(WindowOf(bar)->Parent(), bottom);
  EXPECT_EQ(Shown(bar), (std::vector<String>{"A", "B"}));
  EXPECT_EQ(changes, 1);
  Manager->OnBarDockingStyleChange = nullptr;
  RedrawNow(Form->Handle());
  SaveScreenshot(Form->Handle(), "bar-docked-at-the-bottom");
}

TEST_F(Bars, NonClientSizesComeFromThePainterAndTheDocking) {
  TkwBar* bar = BarOf(1);
  const TkwBarPainter* painter = Manager->Painter();
  EXPECT_EQ(bar->GetNonClientWidth(dsNone), 2 * painter->GetSizingBorderWidth() + 2 * painter->GetBorderWidth());
  EXPECT_EQ(bar->GetNonClientHeight(dsNone), 2 * painter->GetSizingBorderHeight() + 2 * painter->GetBorderWidth() +
                                                 painter->GetFloatingCaptionHeight());
  TRect borders = painter->GetDockedBorderRect();
  EXPECT_EQ(bar->GetNonClientWidth(dsTop), borders.Left + borders.Right + Manager->GripSize());
  EXPECT_EQ(bar->GetNonClientHeight(dsTop), borders.Top + borders.Bottom);
  bar->SetBorderStyle(bbsNone);
  EXPECT_EQ(bar->GetNonClientWidth(dsTop), 0);
}

TEST_F(Bars, AStatusBarShowsItsSizeGripUnlessTheFormIsMaximized) {
  TkwBar* bar = BarOf(1);
  bar->SetBorderStyle(bbsNone);
  bar->SetDockingStyle(dsBottom);
  bar->SetWholeRow(true);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(bar->IsStatusBarStyle());
  EXPECT_TRUE(bar->ShowsSizeGrip());
  bar->SetSizeGrip(false);
  EXPECT_FALSE(bar->ShowsSizeGrip());
  bar->SetSizeGrip(true);
  Form->SetWindowState(wsMaximized);
  EXPECT_FALSE(bar->ShowsSizeGrip());
}

TEST_F(Bars, ExecuteTheShortCutOfAnEnabledItemThroughSubItems) {
  TkwBar* bar = AddBar("MainMenu", true);
  auto* sub = new TTestSubItem(Form.get());
  sub->SetCategory(0);
  Link(bar, sub);
  TTestBarButton* save = AddButton("&Enregistrer");
  save->SetShortCut(scCtrl | 'S');
  sub->ItemLinks()->Add()->SetItem(save);
  EXPECT_TRUE(bar->ItemLinks()->ExecuteShortCut(scCtrl | 'S'));
  EXPECT_EQ(save->Clicks, 1);
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(scCtrl | 'T'));
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(0));
  save->SetEnabled(false);
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(scCtrl | 'S'));
  EXPECT_EQ(save->Clicks, 1);
}

TEST_F(Bars, TheHintFollowsTheCaptionUntilItIsItsOwn) {
  TTestBarButton* item = AddButton("&Ouvrir...");
  EXPECT_EQ(item->Hint(), "Ouvrir");
  item->SetHint("Ouvrir|Ouvrir une fiche");
  item->SetCaption("&Fermer...");
  EXPECT_EQ(item->Hint(), "Fermer|Ouvrir une fiche");
  item->SetHint("Autre chose");
  item->SetCaption("&Quitter");
  EXPECT_EQ(item->Hint(), "Autre chose");
  auto* sub = new TTestSubItem(Form.get());
  sub->SetCaption("&Fichier");
  EXPECT_EQ(sub->Hint(), "");
}

}  // namespace
