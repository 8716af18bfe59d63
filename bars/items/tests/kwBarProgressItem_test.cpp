// Tests of the progress item: its range keeps Min, Max and Position in order, and on a tool bar it
// draws a bar of the position's length in its colour, 150 pixels long without a width of its own,
// and a new position repaints only the bar.
#include "ItemsTestSupport.h"
#include "kwBarExtItems.h"

namespace {

TEST_F(BarItemsTest, AProgressItemsRangeKeepsMinMaxAndPositionInOrder) {
  auto* item = AddItem<TkwBarProgressItem>("Progression");
  EXPECT_EQ(item->BorderStyle(), sbsLowered);
  enum TOperation { opMin, opMax, opPosition };
  struct Step {
    TOperation Operation;
    int Value, Min, Max, Position;
  };
  const Step steps[] = {
      {opPosition, 150, 0, 100, 100},  // beyond Max: Max
      {opPosition, -5, 0, 100, 0},     // below Min: Min
      {opPosition, 60, 0, 100, 60},
      {opMax, 40, 0, 40, 40},          // the position follows the range
      {opMax, -10, -10, -10, -10},     // a Max below Min takes Min with it
      {opMin, 20, 20, 20, 20},         // a Min above Max takes Max with it
      {opMax, 50, 20, 50, 20},
      {opPosition, 35, 20, 50, 35},
      {opMin, 0, 0, 50, 35},           // inside the new range the position stays
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "operation " << s.Operation << " with " << s.Value);
    switch (s.Operation) {
      case opMin: item->SetMin(s.Value); break;
      case opMax: item->SetMax(s.Value); break;
      case opPosition: item->SetPosition(s.Value); break;
    }
    EXPECT_EQ(item->Min(), s.Min);
    EXPECT_EQ(item->Max(), s.Max);
    EXPECT_EQ(item->Position(), s.Position);
  }
}

class ProgressItems : public BarItemsTest {
 protected:
  void SetUp() override {
    BarItemsTest::SetUp();
    Bar = AddBar("État"_a, false);
    Item = AddItem<TkwBarProgressItem>("Progression");
    Item->SetShowCaption(false);
    Item->SetSmooth(true);
    Item->SetColor(clRed);
    Item->SetPosition(50);
    Link(Bar, Item);
    Bar->SetVisible(true);
    ShowForm();
    ASSERT_TRUE(Painted());
  }
  TkwBarProgressControl* Control() const { return dynamic_cast<TkwBarProgressControl*>(Item->GetLink(0)->Control()); }
  // The bar's rectangle on screen.
  TRect ScreenBar() const {
    TRect r = Control()->ProgressRect();
    MapWindowPoints(Control()->Window()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // Whether the columns of the bar's middle row from From to To (screen) are all red, or none.
  bool Columns(int From, int To, bool Red) const {
    TRect bar = ScreenBar();
    int y = (bar.Top + bar.Bottom) / 2;
    for (int x = From; x < To; ++x)
      if ((ScreenPixel(TPoint(x, y)) == RGB(255, 0, 0)) != Red) return false;
    return true;
  }
  TkwBar* Bar = nullptr;
  TkwBarProgressItem* Item = nullptr;
};

TEST_F(ProgressItems, WithoutAWidthTheBarIs150PixelsLongAndFilledToItsPosition) {
  ASSERT_NE(Control(), nullptr);
  TRect link = Item->GetLink(0)->ItemRect;
  TRect bar = Control()->ProgressRect();
  EXPECT_EQ(bar.Width(), 150);
  EXPECT_TRUE(link.Contains(TPoint(bar.Left, bar.Top)) && bar.Right < link.Right && bar.Bottom < link.Bottom)
      << "the bar lies inside its link";
  EXPECT_EQ(bar.Top - link.Top, link.Bottom - bar.Bottom) << "centred across the bar";
  TRect screen = ScreenBar();
  EXPECT_TRUE(Columns(screen.Left, screen.Left + 75, true)) << "half the bar is filled";
  EXPECT_TRUE(Columns(screen.Left + 75, screen.Right, false));
  TRect shot = ScreenRectOf(Item->GetLink(0));
  InflateBy(shot, 4, 4);
  SaveScreenArea(shot, "progress-item");
}

TEST_F(ProgressItems, ANewPositionRepaintsOnlyTheBar) {
  HWND window = Control()->Window()->Handle();
  Item->SetPosition(80);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_EQ(TRect(update.left, update.top, update.right, update.bottom), Control()->ProgressRect());
  ASSERT_TRUE(Painted());
  TRect screen = ScreenBar();
  EXPECT_TRUE(Columns(screen.Left, screen.Left + 120, true));
  EXPECT_TRUE(Columns(screen.Left + 120, screen.Right, false));
  Item->SetPosition(80);
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "the same position repaints nothing";
}

}  // namespace
