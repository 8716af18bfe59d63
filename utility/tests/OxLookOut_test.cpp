// Tests of the side bar: how pages are stacked when one is expanded, pages expanded by a real click
// on their title band (before their OnClick) and a disabled page ignoring it, button groups
// released by clicks and by SetDown, the buttons parked above and below a scrolled page, and the
// colours the record window sets read back from the screen.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Forms.h"
#include "OxLookOut.h"
#include "UiTestSupport.h"

namespace {

// A real left click at a point of the screen.
void RealClick(TPoint P) {
  ClickAt(P);
  Pump(150);
}

void ClickMiddle(TControl* C, int Y = -1) {
  RealClick(C->ClientToScreen(TPoint(C->Width() / 2, Y < 0 ? C->Height() / 2 : Y)));
}

// A shown form holding a flat bar 120 x 400 with five pages.
class LookOutTest : public ::testing::Test, public TObject {
 protected:
  void SetUp() override {
    RegisterOxLookOut();
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(50, 50, 320, 460);
    Bar = new TOxLookOut(Form);
    Bar->SetParent(Form);
    Bar->SetFlatButtons(true);
    Bar->SetBounds(0, 0, 120, 400);
    for (int i = 0; i < 5; ++i) {
      auto* page = new TOxLookOutPage(Form);
      page->SetCaption("Page " + std::to_string(i + 1));
      page->SetParent(Bar);
      page->OnClick = TNotifyEvent(this, &LookOutTest::PageClicked);
      Pages.push_back(page);
    }
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Pump(100);
  }
  void TearDown() override {
    Form->Free();
    Pump(20);
  }
 public:
  void PageClicked(TObject* Sender) {
    Clicks.push_back(Sender);
    ActiveAtClick.push_back(Bar->GetActivePage());
  }
 protected:
  COLORREF ScreenPixel(TControl* C, int X, int Y) {
    TPoint p = C->ClientToScreen(TPoint(X, Y));
    return GetPixel(TWindowDC(), p.X, p.Y);
  }
  TForm* Form = nullptr;
  TOxLookOut* Bar = nullptr;
  std::vector<TOxLookOutPage*> Pages;
  std::vector<TObject*> Clicks;
  std::vector<TOxLookOutPage*> ActiveAtClick;
};

std::vector<int> Tops(const std::vector<TOxLookOutPage*>& Pages) {
  std::vector<int> tops;
  for (auto* p : Pages) tops.push_back(p->Top());
  return tops;
}

TEST_F(LookOutTest, ExpandedPageStacksEarlierPagesOnTopAndLaterOnesAtTheBottom) {
  Bar->SetActivePage(Pages[2]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[2]);
  EXPECT_EQ(Tops(Pages), (std::vector<int>{0, 20, 40, 359, 379}));
  for (auto* p : Pages) EXPECT_EQ(p->Height(), 320);
  // The list of pages keeps the order they joined; outside it is an error.
  EXPECT_EQ(Bar->GetPageCount(), 5);
  EXPECT_EQ(Bar->GetPage(4), Pages[4]);
  EXPECT_THROW(Bar->GetPage(5), EListError);
  EXPECT_THROW(Bar->GetPage(-1), EListError);

  // An invisible page does not count: the pages after it take its place.
  Pages[1]->SetVisible(false);
  Bar->SetActivePage(Pages[3]);
  EXPECT_EQ(Pages[0]->Top(), 0);
  EXPECT_EQ(Pages[2]->Top(), 20);
  EXPECT_EQ(Pages[3]->Top(), 40);
  EXPECT_EQ(Pages[4]->Top(), 400 - 20 - 2 + 1);
  EXPECT_EQ(Pages[3]->Height(), 400 - 3 * 20);

  // A page that cannot be shown falls back to the last visible one.
  Bar->SetActivePage(Pages[1]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[4]);
  Bar->SetActivePage(nullptr);
  EXPECT_EQ(Bar->GetActivePage(), Pages[4]);
}

TEST_F(LookOutTest, TooManyPagesForTheHeightLeaveThePagesWhereTheyAre) {
  Bar->SetActivePage(Pages[0]);
  std::vector<int> before = Tops(Pages);
  Bar->SetHeight(5 * 19 + 65);  // exactly the limit: nothing fits
  Bar->SetActivePage(Pages[3]);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);  // it is the active page all the same
  EXPECT_EQ(Tops(Pages), before);
}

TEST_F(LookOutTest, ClickOnTitleBandExpandsThePageBeforeItsOnClick) {
  Bar->SetActivePage(Pages[0]);
  Pump(50);
  ClickMiddle(Pages[3], 9);
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], Pages[3]);
  EXPECT_EQ(ActiveAtClick[0], Pages[3]);  // already expanded when OnClick ran
  EXPECT_EQ(Pages[3]->Top(), 60);
  EXPECT_EQ(Pages[4]->Top(), 379);

  // A click below the band does not expand.
  ClickMiddle(Pages[3], 150);
  EXPECT_EQ(Clicks.size(), 1u);

  // A disabled page ignores the click.
  Pages[1]->SetEnabled(false);
  ClickMiddle(Pages[1], 9);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);
  // So does its click from code.
  Pages[1]->Click();
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Bar->GetActivePage(), Pages[3]);
}

TEST_F(LookOutTest, PageColourAndButtonFillReadBackFromTheScreen) {
  Bar->SetActivePage(Pages[0]);
  auto* b = new TOxExpressButton(Form);
  b->SetParent(Pages[0]);
  b->SetCaption("Fiche");
  Pump(100);
  Bar->GetActivePage()->SetColor(clSkyBlue);
  Pump(100);
  EXPECT_EQ(ScreenPixel(Pages[0], 5, 250), ColorToRGB(clSkyBlue));
  // The band keeps the face colour.
  EXPECT_EQ(ScreenPixel(Pages[0], 5, 10), ColorToRGB(clBtnFace));

  // A down button is filled with its fill colour; an up one shows the page.
  ASSERT_EQ(b->Top(), 26);
  EXPECT_EQ(ScreenPixel(b, 5, 5), ColorToRGB(clSkyBlue));
  b->SetDown(true);
  b->SetFillColor(clRed);
  Pump(100);
  EXPECT_EQ(ScreenPixel(b, 5, 5), ColorToRGB(clRed));
  // The light border: highlight at the top-left, shadow at the bottom-right once pushed.
  EXPECT_EQ(ScreenPixel(b, 0, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ScreenPixel(b, b->Width() - 1, 5), ColorToRGB(clBtnHighlight));
}

// Three grouped buttons on the first page, as the record window has them.
class LookOutButtonsTest : public LookOutTest {
 protected:
  void SetUp() override {
    LookOutTest::SetUp();
    Bar->SetActivePage(Pages[0]);
    for (int i = 0; i < 3; ++i) {
      auto* b = new TOxExpressButton(Form);
      b->SetBounds(0, 200 - i * 60, 60, 50);  // joined bottom first: the list sorts by Top
      b->SetGroupIndex(10);
      b->SetOffset(0);
      b->SetParent(Pages[0]);
      b->OnClick = TNotifyEvent(static_cast<LookOutTest*>(this), &LookOutTest::PageClicked);
      Buttons.push_back(b);
    }
    Pump(150);
  }
  std::vector<bool> DownStates() {
    std::vector<bool> d;
    for (int i = 0; i < Pages[0]->GetButtonCount(); ++i) d.push_back(Pages[0]->GetButton(i)->Down());
    return d;
  }
  std::vector<TOxExpressButton*> Buttons;
};

TEST_F(LookOutButtonsTest, ButtonsAreStackedInTopOrderFrom26) {
  ASSERT_EQ(Pages[0]->GetButtonCount(), 3);
  EXPECT_EQ(Pages[0]->GetButton(0), Buttons[2]);
  EXPECT_EQ(Pages[0]->GetButton(2), Buttons[0]);
  EXPECT_EQ(Buttons[2]->Top(), 26);
  EXPECT_EQ(Buttons[1]->Top(), 76);
  EXPECT_EQ(Buttons[0]->Top(), 126);
  EXPECT_THROW(Pages[0]->GetButton(3), EListError);
  // A freed button leaves the list.
  delete Buttons[1];
  EXPECT_EQ(Pages[0]->GetButtonCount(), 2);
  EXPECT_EQ(Pages[0]->GetButton(1), Buttons[0]);
}

TEST_F(LookOutButtonsTest, ClicksToggleTheGroupAndSetDownReleasesTheOthers) {
  TOxCustomLookOutButton* first = Pages[0]->GetButton(0);
  TOxCustomLookOutButton* second = Pages[0]->GetButton(1);
  TOxCustomLookOutButton* third = Pages[0]->GetButton(2);
  ClickMiddle(first);
  EXPECT_EQ(DownStates(), (std::vector<bool>{true, false, false}));
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], first);
  ClickMiddle(second);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, true, false}));
  ClickMiddle(second);  // a click on the down button brings it up
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Clicks.size(), 3u);

  second->SetDown(true);
  third->SetDown(true);
  EXPECT_EQ(DownStates(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(third->Hot());
  EXPECT_TRUE(third->Pushed());
  // Another group is left alone.
  first->SetGroupIndex(11);
  first->SetDown(true);
  EXPECT_EQ(DownStates(), (std::vector<bool>{true, false, true}));
}

TEST_F(LookOutButtonsTest, ScrolledPageParksButtonsAboveAndBelow) {
  TOxLookOutPage* page = Pages[0];
  for (int i = 0; i < 2; ++i) {
    auto* b = new TOxExpressButton(Form);
    b->SetBounds(0, 300 + i * 60, 60, 50);
    b->SetParent(page);
  }
  for (int i = 0; i < 5; ++i) page->GetButton(i)->SetHeight(70);
  Pump(100);
  ASSERT_EQ(page->GetButtonCount(), 5);
  ASSERT_EQ(page->ControlCount(), 7);  // and the two arrows
  // 5 buttons of 70 from 26 reach past the page's 320 pixels: the down arrow shows.
  EXPECT_TRUE(page->DownArrow()->Visible());
  EXPECT_FALSE(page->UpArrow()->Visible());

  page->ShowLaterButtons();
  page->ShowLaterButtons();
  EXPECT_EQ(page->TopButtonIndex(), 2);
  page->ArrangeButtons(26);
  EXPECT_EQ(page->GetButton(0)->Top(), -(70 + 1) * 5);
  EXPECT_EQ(page->GetButton(1)->Top(), -(70 + 1) * 4);
  EXPECT_EQ(page->GetButton(2)->Top(), 26);
  EXPECT_EQ(page->GetButton(3)->Top(), 96);
  // Scrolling stops at the child count minus 3.
  for (int i = 0; i < 5; ++i) page->ShowLaterButtons();
  EXPECT_EQ(page->TopButtonIndex(), 4);
  for (int i = 0; i < 6; ++i) page->ShowEarlierButtons();
  EXPECT_EQ(page->TopButtonIndex(), 0);

  // A start position beyond the page (a margin over 26 wraps it) parks every button below.
  page->SetMargin(30);
  page->ArrangeButtons(static_cast<unsigned short>(26 - 30));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(page->GetButton(i)->Top(), (page->Height() + 1) * (i + 1)) << i;
}

TEST_F(LookOutButtonsTest, DownArrowClickScrollsOneButton) {
  TOxLookOutPage* page = Pages[0];
  for (int i = 0; i < 3; ++i) {
    auto* b = new TOxExpressButton(Form);
    b->SetBounds(0, 300 + i * 60, 60, 50);
    b->SetParent(page);
  }
  Pump(150);
  ASSERT_TRUE(page->DownArrow()->Visible());
  TOxCustomLookOutButton* second = page->GetButton(1);
  ClickMiddle(page->DownArrow());
  Pump(100);
  EXPECT_EQ(page->TopButtonIndex(), 1);
  EXPECT_EQ(second->Top(), 26);
  EXPECT_TRUE(page->UpArrow()->Visible());
  ClickMiddle(page->UpArrow());
  Pump(100);
  EXPECT_EQ(page->TopButtonIndex(), 0);
}

}  // namespace
