// Tests of the bar shadow: which parts a window and the item it adjoins cast, their alpha images,
// and clicks falling through them.
#include "BarWindowsTestSupport.h"
#include "kwBarShadow.h"

namespace {

struct TPartSeen {
  TRect Bounds;
  int Kind;
  int Corners;
  bool operator==(const TPartSeen&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TPartSeen& P) {
  return Out << "(" << P.Bounds.Left << "," << P.Bounds.Top << "," << P.Bounds.Right << "," << P.Bounds.Bottom
             << ") kind " << P.Kind << " corners " << P.Corners;
}

class Shadows : public BarWindowsTest {
 protected:
  void SetUp() override {
    BarWindowsTest::SetUp();
    Bar = AddBar("Outils", false);
    Link(Bar, AddButton("Un"));
    // A floating bar: the windows that cast shadows are popups.
    Bar->SetDockingStyle(dsNone);
    Bar->SetFloatLeft(Form->Left() + 100);
    Bar->SetFloatTop(Form->Top() + 100);
    ShowForm();
    Bar->SetVisible(true);
    ASSERT_TRUE(WaitFor("the bar shown", [&] { return IsWindowVisible(WindowOf(Bar)->Handle()); }));
    Shadow = std::make_unique<TkwBarShadow>(WindowOf(Bar));
  }
  std::vector<TPartSeen> Parts() const {
    std::vector<TPartSeen> seen;
    for (int i = 0; i < 5; ++i)
      if (TkwBarShadowPart* part = Shadow->Part(i)) seen.push_back({part->BoundsRect(), part->Kind(), part->Corners()});
    return seen;
  }
  TkwBar* Bar = nullptr;
  std::unique_ptr<TkwBarShadow> Shadow;
};

TEST_F(Shadows, PartsForAWindowAndTheItemItAdjoins) {
  ASSERT_TRUE(TkwBarShadow::GetTransparent()) << "the scene expects the blended 4-pixel shadow";
  const int L = kwscLeft, R = kwscRight, T = kwscTop;
  const TRect W(100, 100, 200, 200);
  struct Case {
    const char* What;
    TRect Owner;
    std::vector<TPartSeen> Parts;
  } cases[] = {
      {"no owner item", TRect(),
       {{TRect(104, 200, 204, 204), 0, L | R}, {TRect(200, 104, 204, 200), 1, T}}},
      {"a narrower item above",
       TRect(100, 80, 150, 100),
       {{TRect(150, 84, 154, 100), 1, T}, {TRect(104, 200, 204, 204), 0, L | R}, {TRect(200, 104, 204, 200), 1, T}}},
      {"a wider item above, on both sides of the menu",
       TRect(60, 80, 260, 100),
       {{TRect(260, 84, 264, 100), 1, T},
        {TRect(104, 200, 204, 204), 0, L | R},
        {TRect(64, 100, 100, 104), 0, L},
        {TRect(200, 100, 264, 104), 0, R},
        {TRect(200, 100, 204, 200), 1, 0}}},
      {"an item to the left",
       TRect(50, 100, 100, 120),
       {{TRect(200, 104, 204, 200), 1, T}, {TRect(54, 120, 100, 124), 0, L}, {TRect(104, 200, 204, 204), 0, L | R}}},
      // The window above becomes the first rectangle, the item below the second.
      {"an item below",
       TRect(100, 200, 150, 220),
       {{TRect(200, 104, 204, 200), 1, T},
        {TRect(104, 220, 154, 224), 0, L | R},
        {TRect(150, 200, 204, 204), 0, R},
        {TRect(150, 200, 154, 220), 1, 0}}},
  };
  for (const Case& c : cases) {
    Shadow->SetBounds(c.Owner, W);
    EXPECT_EQ(Parts(), c.Parts) << c.What;
  }
}

TEST_F(Shadows, PartsTooSmallForTheirFadedEndsAreNotMade) {
  // The item is 2 pixels high: the strip right of it (2 high, top end faded) is left out.
  Shadow->SetBounds(TRect(100, 98, 150, 100), TRect(100, 100, 200, 200));
  for (const TPartSeen& part : Parts()) EXPECT_NE(part.Bounds, TRect(150, 102, 154, 100));
  EXPECT_EQ(Parts().size(), 2u);
}

TEST_F(Shadows, TheAlphaFallsWithTheDistanceAndFadesAtTheEnds) {
  Shadow->SetBounds(TRect(), TRect(100, 100, 200, 200));
  TkwBarShadowPart* below = nullptr;
  TkwBarShadowPart* right = nullptr;
  for (int i = 0; i < 5; ++i)
    if (TkwBarShadowPart* part = Shadow->Part(i)) (part->Kind() == 0 ? below : right) = part;
  ASSERT_NE(below, nullptr);
  ASSERT_NE(right, nullptr);
  // Rows of the strip below, away from the window: 60, 45, 30, 15.
  for (int d = 0; d < 4; ++d) EXPECT_EQ(below->AlphaAt(50, d), 15 * (4 - d)) << d;
  // The left end fades over 4 pixels: times 1/5, 2/5, 3/5, 4/5.
  for (int k = 0; k < 4; ++k) EXPECT_EQ(below->AlphaAt(k, 0), MulDiv(60, k + 1, 5)) << k;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(below->AlphaAt(99 - k, 0), MulDiv(60, k + 1, 5)) << k;
  // The strip at the right: columns away from the window, its top end faded.
  for (int d = 0; d < 4; ++d) EXPECT_EQ(right->AlphaAt(d, 50), 15 * (4 - d)) << d;
  EXPECT_EQ(right->AlphaAt(0, 0), MulDiv(60, 1, 5));
}

TEST_F(Shadows, ClicksFallThroughAShownPart) {
  Shadow->SetBounds(TRect(), TRect(100, 100, 200, 200));
  Shadow->SetVisible(true);
  TkwBarShadowPart* part = Shadow->Part(0);
  ASSERT_NE(part, nullptr);
  ASSERT_TRUE(part->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(part->Handle()));
  EXPECT_EQ(SendMessageA(part->Handle(), WM_NCHITTEST, 0, MAKELPARAM(150, 201)), HTTRANSPARENT);
  Shadow->SetVisible(false);
  EXPECT_FALSE(part->HandleAllocated());
}

}  // namespace
