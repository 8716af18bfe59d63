// Tests of the item hints: shown after the delay for the item under the mouse with its shortcut,
// at once within the grace period after one went, never for a disabled item when the manager says
// so, above the cursor near the bottom of the screen, and not at all for an item without text.
#include "BarTestSupport.h"
#include "Menus.h"
#include "kwBarHint.h"
#include "kwBarUtils.h"

namespace {

class ItemHints : public BarFormTest {
 protected:
  void SetUp() override {
    BarFormTest::SetUp();
    Bar = AddBar("Standard", false);
    Save = AddButton("&Enregistrer");
    Save->SetHint("Enregistrer|Enregistre la fiche");
    Save->SetShortCut(TShortCut(0x4000 | 'S'));
    Open = AddButton("&Ouvrir");
    Blank = AddButton("Vide");
    Blank->SetHint("");
    for (TkwBarItem* item : std::initializer_list<TkwBarItem*>{Save, Open, Blank}) Link(Bar, item);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_NE(BarHintWindow(), nullptr);
  }
  TkwBarItemControl* ControlOf(TkwBarItem* Item) { return Item->GetLink(0)->Control(); }
  // The mouse rests on the item, which is selected, and its hint is asked for.
  void HoverAndAsk(TkwBarItem* Item) {
    TkwBarItemControl* control = ControlOf(Item);
    const TRect& r = Item->GetLink(0)->ItemRect;
    MoveMouseTo(WindowOf(Bar)->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
    WindowOf(Bar)->SelectItemIfFree(control);
    Manager->UpdateHint(true, String());
  }
  bool HintShows() {
    TkwBarHintWindow* hint = BarHintWindow();
    return hint && hint->HandleAllocated() && IsWindowVisible(hint->Handle());
  }
  String HintText() { return BarHintWindow()->Text(); }
  TkwBar* Bar = nullptr;
  TTestBarButton* Save = nullptr;
  TTestBarButton* Open = nullptr;
  TTestBarButton* Blank = nullptr;
};

TEST_F(ItemHints, ShowAfterTheDelayWithTheShortHintAndTheShortcut) {
  DWORD asked = GetTickCount();
  HoverAndAsk(Save);
  EXPECT_FALSE(HintShows());
  ASSERT_TRUE(WaitFor("the hint", [&] { return HintShows(); }));
  EXPECT_GE(GetTickCount() - asked, DWORD(kwHintShowDelay - 100));
  String expected = "Enregistrer (" + ShortCutToText(Save->ShortCut()) + ")";
  EXPECT_EQ(HintText(), expected);
  POINT cursor;
  GetCursorPos(&cursor);
  RECT r;
  GetWindowRect(BarHintWindow()->Handle(), &r);
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_EQ(r.top, cursor.y + 20);
  EXPECT_TRUE(GetWindowLongA(BarHintWindow()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetActiveWindow(), BarHintWindow()->Handle());
  // The hint shows its text as its font draws it, inside its raised edge.
  ASSERT_TRUE(Painted(BarHintWindow()));
  TRect inside = BarHintWindow()->ClientRect();
  inside = TRect(inside.Left + 2, inside.Top + 2, inside.Right - 2, inside.Bottom - 2);
  EXPECT_TRUE(ShowsText(BarHintWindow(), inside, expected, BarHintWindow()->Font(), Screen->HintFont()->Color(),
                        Application->HintColor));
  SaveScreenshot(BarHintWindow()->Handle(), "item-hint");
  Manager->UpdateHint(false, String());
  EXPECT_FALSE(HintShows());
}

// Leaving an item with a hint opens a grace period: the next item's hint shows at once.
TEST_F(ItemHints, TheNextHintShowsAtOnceRightAfterOneWent) {
  HoverAndAsk(Save);
  ASSERT_TRUE(WaitFor("the first hint", [&] { return HintShows(); }));
  WindowOf(Bar)->SelectItemIfFree(nullptr);
  Manager->UpdateHint(true, String());
  EXPECT_FALSE(HintShows());
  EXPECT_TRUE(BarHintInGrace());
  HoverAndAsk(Open);
  EXPECT_TRUE(HintShows());
  EXPECT_EQ(HintText().substr(0, 6), "Ouvrir");
  // The grace ends by itself.
  Manager->UpdateHint(false, String());
  ASSERT_TRUE(WaitFor("the grace to end", [&] { return !BarHintInGrace(); }));
}

TEST_F(ItemHints, ADisabledItemShowsNoneWhenTheManagerSaysSo) {
  Save->SetEnabled(false);
  struct Case {
    bool ForDisabled;
    bool Shown;
  } cases[] = {{false, false}, {true, true}};
  for (const Case& c : cases) {
    Manager->ShowHintForDisabledItems = c.ForDisabled;
    HoverAndAsk(Save);
    Manager->ShowHintNow();
    EXPECT_EQ(HintShows(), c.Shown) << c.ForDisabled;
    Manager->UpdateHint(false, String());
  }
}

TEST_F(ItemHints, AnItemWithoutHintShowsNoneAndHidesThePreviousOne) {
  HoverAndAsk(Save);
  ASSERT_TRUE(WaitFor("the first hint", [&] { return HintShows(); }));
  HoverAndAsk(Blank);
  EXPECT_FALSE(HintShows());
}

TEST_F(ItemHints, ATextHintNearTheBottomOfTheScreenShowsAboveTheCursor) {
  TRect work = GetMonitorWorkArea(TPoint(300, 300));
  TPoint low(300, work.Bottom - 4);
  MoveMouseTo(low);
  Manager->UpdateHint(true, "Texte d'aide");
  ASSERT_TRUE(WaitFor("the hint", [&] { return HintShows(); }));
  RECT r;
  GetWindowRect(BarHintWindow()->Handle(), &r);
  EXPECT_LE(r.bottom, low.Y);
  EXPECT_LE(r.bottom, work.Bottom);
  EXPECT_EQ(HintText(), "Texte d'aide");
}

// Nothing is even asked for then: no hint waits for its delay.
TEST_F(ItemHints, AreNotAskedForWhenTheManagerShowsNoneOrWhileCustomizing) {
  Manager->SetShowHint(false);
  HoverAndAsk(Save);
  EXPECT_EQ(BarHintManager(), nullptr);
  Manager->SetShowHint(true);
  Manager->SetCustomizing(true);
  Manager->UpdateHint(true, "Texte");
  EXPECT_EQ(BarHintManager(), nullptr);
  Manager->SetCustomizing(false);
  Manager->UpdateHint(true, "Texte");
  EXPECT_EQ(BarHintManager(), Manager);
  Manager->UpdateHint(false, String());
}

}  // namespace
