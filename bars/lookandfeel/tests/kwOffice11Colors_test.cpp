// Tests of the Office-2003 colours: the table for two classic colour schemes and for the three
// schemes of the visual style, the shared brushes' lifetime, and the banded and mid-tone
// gradients, the gripper, the arrows and the tinting read back from bitmaps.
#include "BarTestSupport.h"
#include "kwOffice11Colors.h"

namespace {

struct TSlot {
  int Slot;
  COLORREF Expected;
};

struct TScheme {
  const char* Name;
  std::map<int, COLORREF> System;
  std::vector<TSlot> Slots;
};

// Without a visual style the colours are mixed from the classic system colours.
TEST(Office11Colors, FallBackOnMixesOfTheSystemColours) {
  const TScheme schemes[] = {
      {"classic grey",
       {{COLOR_BTNFACE, RGB(212, 208, 200)}, {COLOR_WINDOW, RGB(255, 255, 255)}, {COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {COLOR_HIGHLIGHT, RGB(10, 36, 106)}, {COLOR_BTNTEXT, RGB(0, 0, 0)}, {COLOR_GRAYTEXT, RGB(128, 128, 128)}},
       {{0, RGB(246, 245, 243)}, {1, RGB(214, 210, 202)}, {5, RGB(161, 161, 161)}, {10, RGB(218, 215, 208)},
        {20, RGB(183, 191, 212)}, {28, RGB(136, 147, 177)}, {8, RGB(210, 211, 216)}, {9, RGB(210, 211, 216)},
        {13, RGB(255, 255, 255)}, {21, RGB(10, 36, 106)}, {30, RGB(0, 0, 0)}, {31, RGB(128, 128, 128)}}},
      {"sand",
       {{COLOR_BTNFACE, RGB(236, 233, 216)}, {COLOR_WINDOW, RGB(255, 255, 255)}, {COLOR_BTNSHADOW, RGB(172, 168, 153)},
        {COLOR_HIGHLIGHT, RGB(49, 106, 197)}, {COLOR_BTNTEXT, RGB(0, 0, 64)}, {COLOR_GRAYTEXT, RGB(100, 100, 100)}},
       {{0, RGB(251, 250, 247)}, {1, RGB(237, 234, 217)}, {5, RGB(193, 190, 179)}, {10, RGB(239, 236, 222)},
        {20, RGB(194, 211, 239)}, {28, RGB(157, 182, 219)}, {8, RGB(224, 230, 233)}, {17, RGB(237, 234, 217)},
        {21, RGB(49, 106, 197)}, {30, RGB(0, 0, 64)}, {31, RGB(100, 100, 100)}}},
  };
  TFakeVisualStyle classic(u"", u"", false);
  for (const TScheme& scheme : schemes) {
    SCOPED_TRACE(scheme.Name);
    TSystemColors colors(scheme.System);
    InitOffice11Colors();
    const TkwOffice11ColorTable& table = Office11Colors();
    EXPECT_EQ(table.Scheme, o11None);
    EXPECT_EQ(table.MidTonePercent, 75);
    for (const TSlot& slot : scheme.Slots) EXPECT_EQ(table.Colors[slot.Slot], slot.Expected) << "slot " << slot.Slot;
    EXPECT_EQ(table.CaptionText, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

TEST(Office11Colors, ALightMixOfAWhiteFaceIsTheHighlight) {
  TSystemColors colors({{COLOR_BTNFACE, RGB(255, 255, 255)}, {COLOR_HIGHLIGHT, RGB(0, 120, 215)}});
  EXPECT_EQ(SystemLightColor(-2, 30, 72), RGB(0, 120, 215));
  EXPECT_EQ(SystemLightColor(14, 44, 40), RGB(0, 120, 215));
}

TEST(Office11Colors, BlendsWeighTheFirstColour) {
  EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 100), RGB(10, 20, 30));
  EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 50), 0), RGB(200, 100, 50));
  EXPECT_EQ(BlendColors(RGB(0, 0, 0), RGB(255, 255, 255), 50), RGB(128, 128, 128));
}

// The three colours of the style detected from the theme file and colour name.
TEST(Office11Colors, TakeTheBuiltInTableOfTheSchemeInForce) {
  struct Case {
    const char16_t* File;
    const char16_t* Color;
    TkwOffice11Scheme Scheme;
    int MidTone;
    COLORREF Slot0;
    COLORREF Slot21;
  } cases[] = {
      {u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", u"NormalColor", o11Blue, 41, 0xFEECDD, 0x800000},
      {u"C:\\Themes\\LUNA.MSSTYLES", u"HomeStead", o11Olive, 125, 0xDEF7F4, 0x385D3F},
      {u"c:\\themes\\luna.msstyles", u"metallic", o11Silver, 40, 0xFAF4F3, 0x6F4B4B},
  };
  for (const Case& c : cases) {
    TFakeVisualStyle style(c.File, c.Color);
    InitOffice11Colors();
    EXPECT_EQ(Office11Colors().Scheme, c.Scheme);
    EXPECT_EQ(Office11Colors().MidTonePercent, c.MidTone);
    EXPECT_EQ(Office11Colors().Colors[0], c.Slot0);
    EXPECT_EQ(Office11Colors().Colors[21], c.Slot21);
    EXPECT_EQ(Office11Colors().CaptionText, 0xFFFFFFu);
  }
}

TEST(Office11Colors, AnotherStyleOrColourNameFallsBack) {
  for (auto [file, color] : {std::pair{u"C:\\Themes\\Royale.msstyles", u"NormalColor"},
                             std::pair{u"C:\\Themes\\Luna.msstyles", u"Autumn"}}) {
    TFakeVisualStyle style(file, color);
    InitOffice11Colors();
    EXPECT_EQ(Office11Colors().Scheme, o11None);
    EXPECT_EQ(Office11Colors().MidTonePercent, 75);
  }
}

TEST(Office11Colors, TheFirstHolderBuildsTheSharedBrushesAndTheLastFreesThem) {
  ASSERT_EQ(Office11ColorsRefCount(), 0);
  AddOffice11ColorsRef();
  HBRUSH brush = Office11Brush(19);
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(Office11Brush(3), nullptr);
  ASSERT_NE(Office11SubMenuExpandBitmap(), nullptr);
  EXPECT_EQ(Office11SubMenuExpandBitmap()->Width(), 16);
  AddOffice11ColorsRef();
  EXPECT_EQ(Office11Brush(19), brush);
  ReleaseOffice11ColorsRef();
  EXPECT_EQ(Office11Brush(19), brush);
  ReleaseOffice11ColorsRef();
  EXPECT_EQ(Office11Brush(19), nullptr);
  EXPECT_EQ(Office11SubMenuExpandBitmap(), nullptr);
  // Nobody holds the colours: a refresh fills the table only.
  RefreshOffice11Colors();
  EXPECT_EQ(Office11Brush(19), nullptr);
}

// --- Drawing, read back from bitmaps -----------------------------------------------------------------

class Office11Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(300, 1000);
    Clear(clWhite);
  }
  void Clear(TColor Color) {
    Bitmap.Canvas()->Brush()->SetColor(Color);
    Bitmap.Canvas()->FillRect(TRect(0, 0, Bitmap.Width(), Bitmap.Height()));
  }
  HDC DC() { return Bitmap.Canvas()->Handle(); }
  COLORREF At(int X, int Y) { return ColorToRGB(Bitmap.Canvas()->Pixels(X, Y)); }
  // The runs of equal colour down column X from Top to Bottom.
  std::vector<int> Runs(int X, int Top, int Bottom) {
    std::vector<int> runs;
    for (int y = Top; y < Bottom; ++y) {
      if (y == Top || At(X, y) != At(X, y - 1))
        runs.push_back(1);
      else
        ++runs.back();
    }
    return runs;
  }
  TBitmap Bitmap;
};

TEST_F(Office11Drawing, AGradientOfTenPixelsHasTenBandsFromTheFirstColourToTheSecond) {
  TRect r(0, 0, 20, 10);
  FillGradientRect(DC(), r, TColor(RGB(0, 0, 0)), false, TColor(RGB(90, 180, 27)));
  EXPECT_EQ(Runs(5, 0, 10), std::vector<int>(10, 1));
  EXPECT_EQ(At(5, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(5, 9), RGB(90, 180, 27));
  EXPECT_EQ(At(5, 10), RGB(255, 255, 255));
  for (int y = 0; y < 10; ++y)
    EXPECT_EQ(GradientColorAt(r, y, TColor(RGB(0, 0, 0)), false, TColor(RGB(90, 180, 27))), At(5, y)) << y;
}

TEST_F(Office11Drawing, ATallGradientDrawsAtMost256BandsOfThreeOrFourPixels) {
  TRect r(0, 0, 10, 1000);
  FillGradientRect(DC(), r, TColor(RGB(0, 0, 0)), false, TColor(RGB(255, 0, 255)));
  std::vector<int> runs = Runs(3, 0, 1000);
  EXPECT_EQ(runs.size(), 256u);
  for (int run : runs) EXPECT_TRUE(run == 3 || run == 4) << run;
  SaveBitmapPng(&Bitmap, "office11-gradient");
}

TEST_F(Office11Drawing, EqualColoursFillOnceAndEmptyRectanglesDrawNothing) {
  FillGradientRect(DC(), TRect(0, 0, 10, 10), TColor(RGB(1, 2, 3)), true, TColor(RGB(1, 2, 3)));
  EXPECT_EQ(Runs(5, 0, 10), std::vector<int>{10});
  FillGradientRect(DC(), TRect(50, 50, 50, 60), clBlack, true, clRed);
  FillGradientRect(DC(), TRect(60, 60, 50, 70), clBlack, false, clRed);
  FillMidToneGradientRect(DC(), TRect(70, 70, 70, 80), clBlack, true, clRed);
  EXPECT_EQ(At(50, 55), RGB(255, 255, 255));
  EXPECT_EQ(At(55, 65), RGB(255, 255, 255));
  // An empty extent has no band: its colour is the first one.
  EXPECT_EQ(GradientColorAt(TRect(0, 0, 0, 10), 0, TColor(RGB(9, 9, 9)), true, clRed), RGB(9, 9, 9));
}

TEST_F(Office11Drawing, AMidToneGradientRunsThroughTheMiddleToneAtItsHalf) {
  TFakeVisualStyle classic(u"", u"", false);
  InitOffice11Colors();
  ASSERT_EQ(Office11Colors().MidTonePercent, 75);
  TRect r(0, 0, 10, 100);
  COLORREF light = RGB(200, 200, 200), dark = RGB(0, 100, 40);
  FillMidToneGradientRect(DC(), r, TColor(light), false, TColor(dark));
  // c1 - (c1 - c2) x 75 / 200 per channel.
  COLORREF middle = RGB(200 - MulDiv(200, 75, 200), 200 - MulDiv(100, 75, 200), 200 - MulDiv(160, 75, 200));
  EXPECT_EQ(At(5, 0), light);
  EXPECT_EQ(At(5, 50), middle);
  EXPECT_EQ(At(5, 99), dark);
  // Every band lies between its neighbours: no wrap-around of a channel.
  for (int y = 1; y < 100; ++y) EXPECT_LE(GetRValue(At(5, y)), GetRValue(At(5, y - 1))) << y;
  SaveBitmapPng(&Bitmap, "office11-midtone-gradient");
}

// Taller than 256 pixels, the bands are wider than a pixel: the middle tone still falls at the
// half of the height and the last band still has the second colour.
TEST_F(Office11Drawing, AMidToneGradientTallerThanItsBandsStillRunsToTheSecondColour) {
  TFakeVisualStyle classic(u"", u"", false);
  InitOffice11Colors();
  TRect r(0, 0, 10, 1000);
  COLORREF light = RGB(240, 220, 200), dark = RGB(20, 60, 100);
  FillMidToneGradientRect(DC(), r, TColor(light), false, TColor(dark));
  auto mid = [](int a, int b) { return a - MulDiv(a - b, 75, 200); };
  COLORREF middle = RGB(mid(240, 20), mid(220, 60), mid(200, 100));
  EXPECT_EQ(At(5, 0), light);
  EXPECT_EQ(At(5, 999), dark);
  // The band that holds the half is the middle tone, give or take a step of the gradient.
  COLORREF half = At(5, 500);
  EXPECT_NEAR(GetRValue(half), GetRValue(middle), 1);
  EXPECT_NEAR(GetGValue(half), GetGValue(middle), 1);
  EXPECT_NEAR(GetBValue(half), GetBValue(middle), 1);
  std::vector<int> runs = Runs(5, 0, 1000);
  EXPECT_LE(runs.size(), 256u);
  for (int y = 1; y < 1000; ++y) EXPECT_LE(GetRValue(At(5, y)), GetRValue(At(5, y - 1))) << y;
}

TEST_F(Office11Drawing, AMidToneGradientOfOneOrTwoPixelsDrawsTheirColours) {
  FillMidToneGradientRect(DC(), TRect(0, 0, 1, 1), TColor(RGB(10, 20, 30)), true, TColor(RGB(200, 0, 0)));
  EXPECT_EQ(At(0, 0), RGB(10, 20, 30));
  FillMidToneGradientRect(DC(), TRect(0, 5, 2, 6), TColor(RGB(10, 20, 30)), true, TColor(RGB(200, 0, 0)));
  EXPECT_EQ(At(0, 5), RGB(10, 20, 30));
  EXPECT_EQ(At(1, 5), RGB(200, 0, 0));
}

TEST_F(Office11Drawing, AGripperOfFourteenPixelsStartsOneDownWithThreeDots) {
  TFakeVisualStyle classic(u"", u"", false);
  InitOffice11Colors();
  Clear(clRed);
  DrawDottedGripper(DC(), TRect(10, 10, 14, 24), true);
  COLORREF light = Office11Colors().Colors[13];
  COLORREF dark = Office11Colors().Colors[12];
  // Cells from y = 11, every 4 pixels: a 2 x 2 light dot at (11, cell + 1) with a dark one drawn
  // over it one pixel up and left, so the light shows at its right and bottom edges.
  for (int cell : {11, 15, 19}) {
    EXPECT_EQ(At(10, cell), dark) << cell;
    EXPECT_EQ(At(11, cell + 1), dark) << cell;
    EXPECT_EQ(At(12, cell + 1), light) << cell;
    EXPECT_EQ(At(11, cell + 2), light) << cell;
    EXPECT_EQ(At(12, cell + 2), light) << cell;
    EXPECT_EQ(At(13, cell + 1), RGB(255, 0, 0)) << cell;
  }
  EXPECT_EQ(At(13, 26), RGB(255, 0, 0));
  EXPECT_EQ(At(11, 10), RGB(255, 0, 0));
}

TEST_F(Office11Drawing, ArrowsAreSizedFromTheirRectangle) {
  struct Case {
    int Height;
    int Size;
  } cases[] = {{16, 4}, {17, 6}, {9, 3}};
  for (const Case& c : cases) EXPECT_EQ(Office11ArrowSize(TRect(0, 0, 20, c.Height), false), c.Size) << c.Height;
  EXPECT_EQ(Office11ArrowSize(TRect(0, 0, 20, 5), true), 5);
  TFakeVisualStyle classic(u"", u"", false);
  InitOffice11Colors();
  DrawOffice11Arrow(DC(), TRect(0, 0, 20, 16), false, true);
  // Size 4 pointing right: x0 = (20 - 4) / 2 = 8, y0 = (16 - 7) / 2 = 4, apex (11, 7).
  EXPECT_EQ(At(8, 4), Office11Colors().Colors[30]);
  EXPECT_EQ(At(8, 10), Office11Colors().Colors[30]);
  EXPECT_EQ(At(11, 7), Office11Colors().Colors[30]);
  EXPECT_EQ(At(12, 7), RGB(255, 255, 255));
  EXPECT_EQ(At(9, 4), RGB(255, 255, 255));
  DrawOffice11Arrow(DC(), TRect(0, 20, 20, 36), false, false);
  EXPECT_EQ(At(11, 27), Office11Colors().Colors[31]);
}

TEST_F(Office11Drawing, TheExpandGlyphIsTintedByTheRedOfItsShades) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(4, 1);
  glyph.Canvas()->SetPixels(0, 0, clFuchsia);              // background: the first pixel
  glyph.Canvas()->SetPixels(1, 0, TColor(RGB(0, 0, 0)));    // black stays
  glyph.Canvas()->SetPixels(2, 0, TColor(RGB(250, 250, 250)));
  glyph.Canvas()->SetPixels(3, 0, TColor(RGB(50, 50, 50)));
  TintSubMenuExpandBitmap(&glyph, RGB(255, 255, 200), RGB(0, 0, 100));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(0, 0)), RGB(255, 0, 255));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(1, 0)), RGB(0, 0, 0));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(2, 0)), RGB(255, 255, 200));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(3, 0)), RGB(0, 0, 100));
}

TEST_F(Office11Drawing, ShadesThatAreAllAlikeTakeTheMiddleOfTheTwoColours) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(3, 1);
  glyph.Canvas()->SetPixels(0, 0, clFuchsia);
  glyph.Canvas()->SetPixels(1, 0, TColor(RGB(120, 120, 120)));
  glyph.Canvas()->SetPixels(2, 0, TColor(RGB(120, 10, 10)));
  TintSubMenuExpandBitmap(&glyph, RGB(200, 200, 200), RGB(0, 0, 0));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(1, 0)), RGB(100, 100, 100));
  EXPECT_EQ(ColorToRGB(glyph.Canvas()->Pixels(2, 0)), RGB(100, 100, 100));
}

}  // namespace
