// Tests of the gradient: bands read back from the pixels of the painted control in each shape,
// the number of bands against the size, when the picture is rendered again, empty areas.
#include <gtest/gtest.h>

#include <memory>

#include "OxGradient.h"

namespace {

class OxGradientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Grad = std::make_unique<TOxGradient>(nullptr);
    Grad->SetAlign(alNone);
    Grad->SetStartColor(clBlack);
    Grad->SetEndColor(RGBToColor(0, 0, 100));
  }
  // The control painted as the screen would get it.
  std::unique_ptr<TBitmap> Painted() {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(std::max(Grad->Width(), 1), std::max(Grad->Height(), 1));
    result->Canvas()->Brush()->SetColor(clWhite);
    result->Canvas()->FillRect(Rect(0, 0, result->Width(), result->Height()));
    Grad->Perform(WM_PAINT, WPARAM(result->Canvas()->Handle()));
    return result;
  }
  static int Blue(TBitmap* B, int X, int Y) { return GetBValue(COLORREF(B->Canvas()->Pixels(X, Y))); }
  std::unique_ptr<TOxGradient> Grad;
};

TEST_F(OxGradientTest, DefaultsFromTheConstructor) {
  TOxGradient g(nullptr);
  EXPECT_EQ(g.Align(), alClient);
  EXPECT_EQ(g.Style(), grHorizontal);
  EXPECT_EQ(g.StartColor(), clBlue);
  EXPECT_EQ(g.EndColor(), clBlack);
  EXPECT_EQ(g.Steps(), 100);
}

TEST_F(OxGradientTest, StripesAlongTheWidthOrTheHeight) {
  struct Case {
    TOxGradStyle Style;
    int Width, Height, Steps;
    // Blue of the pixel at each position along the gradient's direction.
    std::vector<std::pair<int, int>> Bands;
  } const cases[] = {
      // 50 pixels, 100 steps: lowered to 50 bands of one pixel, blue 2 per band.
      {grHorizontal, 50, 10, 100, {{0, 0}, {1, 2}, {25, 50}, {49, 98}}},
      // 5 bands of 10 pixels: 0, 20, 40, 60, 80 (the sixth, 100, lies past the area).
      {grHorizontal, 50, 10, 5, {{0, 0}, {9, 0}, {10, 20}, {35, 60}, {49, 80}}},
      // 3 bands over 10 pixels: edges at 3.33 and 6.67 round to 3 and 7; 33.3 and 66.7 round too.
      {grVertical, 8, 10, 3, {{0, 0}, {2, 0}, {3, 33}, {6, 33}, {7, 67}, {9, 67}}},
      // Steps 0 behaves as 1: the area in the start colour (the end band lies outside).
      {grHorizontal, 20, 10, 0, {{0, 0}, {19, 0}}},
  };
  for (const Case& c : cases) {
    Grad->SetStyle(c.Style);
    Grad->SetBounds(0, 0, c.Width, c.Height);
    Grad->SetSteps(WORD(c.Steps));
    auto picture = Painted();
    for (auto [at, blue] : c.Bands) {
      int x = c.Style == grHorizontal ? at : c.Width / 2;
      int y = c.Style == grHorizontal ? c.Height / 2 : at;
      EXPECT_EQ(Blue(picture.get(), x, y), blue) << int(c.Style) << " steps " << c.Steps << " at " << at;
      // The whole band across the other direction.
      EXPECT_EQ(Blue(picture.get(), c.Style == grHorizontal ? at : 0, c.Style == grHorizontal ? 0 : at), blue);
    }
  }
}

TEST_F(OxGradientTest, ShapesShrinkTowardsTheCentre) {
  // 40 x 20 with 4 steps: n lowered to 4 (20 div 2 = 10 allows it); xs = 5, ys = 2.5, so the
  // shapes are inset by (0,0) (5,2) (10,5) (15,8) (20,10): blue 0, 25, 50, 75, 100.
  Grad->SetBounds(0, 0, 40, 20);
  Grad->SetSteps(4);
  Grad->SetStyle(grPyramid);
  auto picture = Painted();
  struct Probe {
    int X, Y, Blue;
  } const pyramid[] = {{0, 0, 0}, {39, 19, 0}, {5, 2, 25}, {34, 17, 25}, {10, 5, 50}, {15, 8, 75}, {19, 9, 75}};
  for (const Probe& p : pyramid) EXPECT_EQ(Blue(picture.get(), p.X, p.Y), p.Blue) << p.X << "," << p.Y;

  Grad->SetStyle(grEllipse);
  picture = Painted();
  EXPECT_EQ(Blue(picture.get(), 0, 0), 0);    // the corners keep the start colour
  EXPECT_EQ(Blue(picture.get(), 39, 0), 0);
  EXPECT_EQ(Blue(picture.get(), 1, 10), 0);   // the outer ellipse itself
  EXPECT_EQ(Blue(picture.get(), 16, 10), 75);
  EXPECT_EQ(Blue(picture.get(), 5, 2), 0);    // inside the inset box but outside its ellipse

  Grad->SetStyle(grMount);
  picture = Painted();
  EXPECT_EQ(Blue(picture.get(), 0, 0), 0);
  EXPECT_EQ(Blue(picture.get(), 20, 0), 0);
  EXPECT_EQ(Blue(picture.get(), 20, 3), 25);  // the second shape's top edge at its middle
  EXPECT_EQ(Blue(picture.get(), 5, 2), 0);    // its rounded corner leaves the start colour

  Grad->SetStyle(grFilled);
  picture = Painted();
  for (auto [x, y] : {std::pair{0, 0}, {20, 10}, {39, 19}}) EXPECT_EQ(Blue(picture.get(), x, y), 0);
}

TEST_F(OxGradientTest, RendersAgainOnEverySetterAndOnResize) {
  Grad->SetBounds(0, 0, 30, 10);
  Painted();
  auto mark = [&] { Grad->Buffer()->Canvas()->SetPixels(3, 3, clRed); };
  auto marked = [&] { return COLORREF(Grad->Buffer()->Canvas()->Pixels(3, 3)) == ColorToRGB(clRed); };
  mark();
  Painted();
  EXPECT_TRUE(marked());  // same size, no change: the picture is reused
  Grad->SetStartColor(Grad->StartColor());
  Painted();
  EXPECT_FALSE(marked());
  for (auto change : {+[](TOxGradient* g) { g->SetEndColor(g->EndColor()); },
                      +[](TOxGradient* g) { g->SetSteps(g->Steps()); },
                      +[](TOxGradient* g) { g->SetStyle(g->Style()); },
                      +[](TOxGradient* g) { g->SetWidth(31); }}) {
    mark();
    change(Grad.get());
    Painted();
    EXPECT_FALSE(marked());
  }
}

TEST_F(OxGradientTest, AnEmptyAreaDrawsNothing) {
  for (auto [w, h] : {std::pair{0, 10}, {10, 0}}) {
    Grad->SetBounds(0, 0, w, h);
    auto picture = Painted();
    EXPECT_EQ(COLORREF(picture->Canvas()->Pixels(0, 0)), ColorToRGB(clWhite)) << w << "x" << h;
    EXPECT_EQ(Grad->DrawnWidth(), w);
    EXPECT_EQ(Grad->DrawnHeight(), h);
  }
}

}  // namespace
