// Tests of what every item control shares, on real windows: double clicks reach only the controls
// that want them (for the others a double click is a second press), a control whose window is gone
// clicks nothing, and the menu-only state it hands its window (the expanded-only flag while the
// background is drawn, the glyph scale).
#include "ItemsTestSupport.h"
#include "kwBarUtils.h"

// A button whose control takes double clicks for itself.
class TTestDblClickButton : public TkwBarButton {
  VELBOR_DECLARE_CLASS(TTestDblClickButton, TkwBarButton)
 public:
  explicit TTestDblClickButton(TComponent* AOwner) : TkwBarButton(AOwner) {}
  int DblClicks = 0;
};

class TTestDblClickButtonControl : public TkwBarButtonControl {
  VELBOR_DECLARE_CLASS(TTestDblClickButtonControl, TkwBarButtonControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TTestDblClickButtonControl(TkwBarItemLink* ALink) : TkwBarButtonControl(ALink) {}
  bool WantsDblClick() const override { return true; }
  void DblClick() override {
    if (auto* item = dynamic_cast<TTestDblClickButton*>(GetItem())) ++item->DblClicks;
  }
};

VELBOR_IMPLEMENT_CLASS(TTestDblClickButton)
VELBOR_IMPLEMENT_CLASS(TTestDblClickButtonControl)

namespace {

class ItemControls : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    if (!GetItemControlClass(TTestDblClickButton::StaticClass()))
      RegisterBarItemClass(TTestDblClickButton::StaticClass(), TTestDblClickButtonControl::StaticClass(), false);
  }
  // Two presses and releases at the same point, quick enough to make a double click.
  void DoubleClickAt(TPoint Point) {
    AwaitNoDoubleClick(Point);
    PressButton(Point);
    ReleaseButton(Point);
    PressButton(Point);
    ReleaseButton(Point);
  }
};

TEST_F(ItemControls, ADoubleClickReachesOnlyAControlThatWantsIt) {
  TkwBar* bar = AddBar("Outils", false);
  auto* plain = AddItem<TkwBarButton>("Simple");
  auto* wanting = AddItem<TTestDblClickButton>("Double");
  plain->OnClick = Counting();
  wanting->OnClick = Counting();
  Link(bar, plain);
  Link(bar, wanting);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_NE(dynamic_cast<TTestDblClickButtonControl*>(wanting->GetLink(0)->Control()), nullptr);

  DoubleClickAt(CentreOf(plain->GetLink(0)));
  ASSERT_TRUE(WaitFor("the second press clicked", [&] { return Clicks[plain] == 2; }));

  DoubleClickAt(CentreOf(wanting->GetLink(0)));
  ASSERT_TRUE(WaitFor("the double click handled", [&] { return wanting->DblClicks == 1; }));
  PumpPending();
  EXPECT_EQ(Clicks[wanting], 1) << "the double click is no second press";
  EXPECT_EQ(Clicks[plain], 2);
}

// A control made for a link that is not shown has no window: clicking it runs nothing.
TEST_F(ItemControls, AControlWithoutItsWindowClicksNothing) {
  TkwBar* bar = AddBar("Cachée"_a, false);
  auto* button = AddItem<TkwBarButton>("Ouvrir");
  button->OnClick = Counting();
  TkwBarItemLink* link = Link(bar, button);
  ShowForm();
  ASSERT_EQ(link->GetBarControl(), nullptr);
  TkwBarButtonControl control(link);
  control.Click(true);
  control.ControlClick(true);
  EXPECT_EQ(Clicks[button], 0);
}

// In a menu the control hands its expanded-only flag to the window around the background's
// drawing, and reads the menu's glyph scale; a tool bar has neither.
TEST_F(ItemControls, MenuStateGoesThroughTheControl) {
  TkwBar* bar = AddBar("Menu", true);
  auto* sub = AddItem<TkwBarSubItem>("&Fichier");
  auto* inBar = AddItem<TkwBarButton>("Seul");
  auto* inMenu = AddItem<TkwBarButton>("Ouvrir");
  Link(bar, sub);
  Link(bar, inBar);
  Link(sub->ItemLinks(), inMenu);
  bar->SetVisible(true);
  ShowForm();
  ASSERT_TRUE(Painted());
  ASSERT_TRUE(OpenMenu(sub->GetLink(0), sub));
  TkwBarSubMenuControl* menu = MenuOf(sub);
  TkwBarItemControl* menuControl = inMenu->GetLink(0)->Control();
  TkwBarItemControl* barControl = inBar->GetLink(0)->Control();
  ASSERT_NE(menuControl, nullptr);
  ASSERT_NE(barControl, nullptr);

  EXPECT_GT(menuControl->GetGlyphScaleBase(), 0);
  EXPECT_EQ(menuControl->GetGlyphScaleBase(), menu->GlyphScaleBase());
  EXPECT_EQ(barControl->GetGlyphScaleBase(), 0);

  for (bool expandedOnly : {true, false}) {
    menuControl->ExpandedOnly = expandedOnly;
    menuControl->BeginMenuBackgroundPaint();
    EXPECT_EQ(menu->ExpandedOnlyPaint, expandedOnly);
    menuControl->EndMenuBackgroundPaint();
    EXPECT_FALSE(menu->ExpandedOnlyPaint);
  }
  menuControl->ExpandedOnly = false;
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
}

}  // namespace
