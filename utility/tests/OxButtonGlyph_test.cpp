// Tests of the button face painter: the state images cut from a glyph and read back from pixels,
// the images derived for missing states, the image lists shared by size, the placing of glyph and
// caption, the shortened caption, the drop-down mark and the 3-D borders.
#include <gtest/gtest.h>

#include "OxButtonGlyph.h"

namespace {

const TColor SliceColors[] = {RGBToColor(200, 30, 30), RGBToColor(30, 160, 40), RGBToColor(20, 40, 190),
                              RGBToColor(220, 200, 20), RGBToColor(0, 160, 160)};

// Count glyphs of 16x16 side by side on clFuchsia, each with an 8x8 square of its slice colour
// at (4, 4).
void MakeGlyph(TBitmap& Bitmap, int Count, const TColor* Colors = SliceColors) {
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(16 * Count, 16);
  TCanvas* c = Bitmap.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, 16 * Count, 16));
  for (int i = 0; i < Count; ++i) {
    c->Brush()->SetColor(Colors[i]);
    c->FillRect(Bounds(16 * i + 4, 4, 8, 8));
  }
}

// A surface of a colour no system colour has, to paint on.
const TColor Back = RGBToColor(90, 250, 120);
void MakeSurface(TBitmap& Surface, int Width = 40, int Height = 40, TColor Color = Back) {
  Surface.SetPixelFormat(pf24bit);
  Surface.SetSize(Width, Height);
  Surface.Canvas()->Brush()->SetColor(Color);
  Surface.Canvas()->FillRect(Rect(0, 0, Width, Height));
}

TColor Gray(TColor C) {
  int l = (77 * (C & 0xFF) + 150 * ((C >> 8) & 0xFF) + 29 * ((C >> 16) & 0xFF)) >> 8;
  return RGBToColor(l, l, l);
}

TColor Rgb(TColor C) { return TColor(ColorToRGB(C)); }

TEST(OxButtonGlyph, NumberOfGlyphsFollowsTheBitmapsProportions) {
  struct Case {
    int Width, Height, Expected;
  } cases[] = {{80, 16, 5}, {32, 16, 2}, {96, 16, 1}, {50, 16, 3}, {16, 16, 1}};
  for (const Case& c : cases) {
    TOxButtonGlyph painter;
    painter.SetNumGlyphs(3);
    TBitmap b;
    b.SetSize(c.Width, c.Height);
    painter.SetGlyph(&b);
    // 50 x 16 is no whole number of squares: the count set before stays.
    EXPECT_EQ(painter.NumGlyphs(), c.Expected) << c.Width << "x" << c.Height;
  }
  TOxButtonGlyph painter;
  painter.SetNumGlyphs(0);
  EXPECT_EQ(painter.NumGlyphs(), 1);
  EXPECT_EQ(painter.StateImageIndex(obsUp), -1);  // no glyph, no image
}

TEST(OxButtonGlyph, EachStateShowsItsSliceOrTheImageMadeForIt) {
  TBitmap glyph;
  MakeGlyph(glyph, 4);
  TOxButtonGlyph painter;
  painter.SetGlyph(&glyph);
  ASSERT_EQ(painter.NumGlyphs(), 4);
  EXPECT_EQ(Rgb(painter.TransparentColor()), Rgb(clFuchsia));
  struct Case {
    TOxButtonState State;
    TColor Centre;
  } cases[] = {{obsUp, SliceColors[0]},
               {obsDisabled, SliceColors[1]},
               {obsDown, SliceColors[2]},
               {obsExclusive, SliceColors[3]},
               // Fewer than five glyphs: the inactive image is the up image in gray.
               {obsInactive, Gray(SliceColors[0])}};
  for (const Case& c : cases) {
    TBitmap surface;
    MakeSurface(surface);
    TPoint size = painter.PaintStateImage(surface.Canvas(), 10, 10, c.State);
    EXPECT_EQ(size, TPoint(16, 16));
    EXPECT_EQ(surface.Canvas()->Pixels(18, 18), c.Centre) << int(c.State);
    // The transparent colour lets the surface show through.
    EXPECT_EQ(surface.Canvas()->Pixels(11, 11), Back) << int(c.State);
    EXPECT_EQ(surface.Canvas()->Pixels(25, 25), Back) << int(c.State);
  }
  // Built once: asking again gives the same image.
  EXPECT_EQ(painter.StateImageIndex(obsDown), painter.StateImageIndex(obsDown));

  // Five glyphs: the inactive image is the fifth slice as drawn.
  TBitmap five;
  MakeGlyph(five, 5);
  painter.SetGlyph(&five);
  TBitmap surface;
  MakeSurface(surface);
  painter.PaintStateImage(surface.Canvas(), 0, 0, obsInactive);
  EXPECT_EQ(surface.Canvas()->Pixels(8, 8), SliceColors[4]);
}

TEST(OxButtonGlyph, OneGlyphLendsTheUpImageAndDerivesTheDisabledOne) {
  TBitmap glyph;
  MakeGlyph(glyph, 1);
  TOxButtonGlyph painter;
  painter.SetGlyph(&glyph);
  for (TOxButtonState state : {obsUp, obsDown, obsExclusive}) {
    TBitmap surface;
    MakeSurface(surface);
    painter.PaintStateImage(surface.Canvas(), 0, 0, state);
    EXPECT_EQ(surface.Canvas()->Pixels(8, 8), SliceColors[0]) << int(state);
  }
  // Pressed without its own image: the very image of the up state.
  EXPECT_EQ(painter.StateImageIndex(obsDown), painter.StateImageIndex(obsUp));

  // Embossed (the default): the drawn pixels in the shadow colour, a highlight one pixel lower
  // right, the rest transparent.
  TBitmap surface;
  MakeSurface(surface);
  painter.PaintStateImage(surface.Canvas(), 0, 0, obsDisabled);
  EXPECT_EQ(surface.Canvas()->Pixels(8, 8), Rgb(clBtnShadow));
  EXPECT_EQ(surface.Canvas()->Pixels(12, 12), Rgb(clBtnHighlight));
  EXPECT_EQ(surface.Canvas()->Pixels(1, 1), Back);

  // The outline style takes the black pixels only.
  TColor black[] = {clBlack};
  TBitmap outlined;
  MakeGlyph(outlined, 1, black);
  painter.SetGrayNewStyle(false);
  painter.SetGlyph(&outlined);
  MakeSurface(surface);
  painter.PaintStateImage(surface.Canvas(), 0, 0, obsDisabled);
  EXPECT_EQ(surface.Canvas()->Pixels(8, 8), Rgb(clBtnShadow));
  EXPECT_EQ(surface.Canvas()->Pixels(12, 12), Rgb(clBtnHighlight));
  EXPECT_EQ(surface.Canvas()->Pixels(1, 1), Back);
}

TEST(OxButtonGlyph, GrayPixelKeepsTransparentAndFaceColours) {
  TOxButtonGlyph painter;
  struct Case {
    TColor In, Out;
  } cases[] = {{clFuchsia, clFuchsia},
               {Rgb(clBtnFace), Rgb(clBtnFace)},
               {RGBToColor(200, 100, 50), RGBToColor(124, 124, 124)},
               {clWhite, RGBToColor(255, 255, 255)},
               {clBlack, clBlack}};
  for (const Case& c : cases) EXPECT_EQ(painter.GrayPixel(c.In), c.Out) << std::hex << c.In;
}

TEST(OxButtonGlyph, PaintersOfOneSizeShareAListAndFreedSlotsAreReused) {
  TBitmap sixteen, twenty;
  MakeGlyph(sixteen, 1);
  twenty.SetSize(20, 20);
  {
    TOxButtonGlyph a, b, c;
    a.SetGlyph(&sixteen);
    b.SetGlyph(&sixteen);
    c.SetGlyph(&twenty);
    a.StateImageIndex(obsUp);
    b.StateImageIndex(obsUp);
    c.StateImageIndex(obsUp);
    ASSERT_NE(a.GlyphList(), nullptr);
    EXPECT_EQ(a.GlyphList(), b.GlyphList());
    EXPECT_NE(a.GlyphList(), c.GlyphList());
    ASSERT_NE(OxGlyphCache(), nullptr);
    EXPECT_EQ(OxGlyphCache()->ListCount(), 2);
    TOxGlyphList* shared = a.GlyphList();
    EXPECT_EQ(shared->UsedCount(), 2);
    EXPECT_EQ(shared->Count(), 2);
    // A's slot is given back and taken by the next image: the list does not grow.
    a.ReleaseImages();
    EXPECT_EQ(a.GlyphList(), nullptr);
    EXPECT_EQ(shared->UsedCount(), 1);
    b.StateImageIndex(obsInactive);
    EXPECT_EQ(shared->Count(), 2);
    EXPECT_EQ(shared->UsedCount(), 2);
    // The last user of a list lets it go.
    c.ReleaseImages();
    EXPECT_EQ(OxGlyphCache()->ListCount(), 1);
  }
  // The last painter took the cache with it.
  EXPECT_EQ(OxGlyphCache(), nullptr);
}

class GlyphLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeSurface(Surface, 200, 100);
    Canvas = Surface.Canvas();
    TBitmap glyph;
    MakeGlyph(glyph, 1);
    Painter.SetGlyph(&glyph);
    TextW = Canvas->TextWidth("Ab");
    TextH = Canvas->TextHeight("Ab");
  }
  TBitmap Surface;
  TCanvas* Canvas = nullptr;
  TOxButtonGlyph Painter;
  int TextW = 0;
  int TextH = 0;
};

// A 100 x 40 face at (10, 20), a 16 x 16 glyph and the caption "Ab".
TEST_F(GlyphLayout, GlyphAndCaptionFollowLayoutMarginAndSpacing) {
  const TRect client = Bounds(10, 20, 100, 40);
  struct Case {
    TButtonLayout Layout;
    int Margin, Spacing;
    bool Mark;
    TPoint Glyph;
    TPoint Text;
  };
  int gap = (100 - 16 - TextW) / 3;
  int markGap = (100 - 16 - (TextW + 9)) / 3;
  const Case cases[] = {
      // Both -1: three equal gaps.
      {blGlyphLeft, -1, -1, false, TPoint(10 + gap, 32), TPoint(10 + 2 * gap + 16, 20 + 20 - TextH / 2)},
      // The mark's room counts with the caption.
      {blGlyphLeft, -1, -1, true, TPoint(10 + markGap, 32), TPoint(10 + 2 * markGap + 16, 20 + 20 - TextH / 2)},
      // Margin -1: the pair is centred.
      {blGlyphLeft, -1, 4, false, TPoint(10 + 50 - (20 + TextW) / 2, 32),
       TPoint(10 + 50 - (20 + TextW) / 2 + 20, 20 + 20 - TextH / 2)},
      // Spacing -1: the caption centred in the room the glyph leaves.
      {blGlyphLeft, 5, -1, false, TPoint(15, 32), TPoint(15 + 16 + (79 / 2 - TextW / 2), 20 + 20 - TextH / 2)},
      {blGlyphRight, 5, 4, false, TPoint(89, 32), TPoint(89 - 4 - TextW, 20 + 20 - TextH / 2)},
      {blGlyphTop, -1, 1, false, TPoint(52, 20 + 20 - (17 + TextH) / 2),
       TPoint(60 - TextW / 2, 20 + 20 - (17 + TextH) / 2 + 17)},
      {blGlyphBottom, 2, 2, false, TPoint(52, 42), TPoint(60 - TextW / 2, 42 - 2 - TextH)},
  };
  for (const Case& c : cases) {
    TRect text;
    TPoint glyph;
    String caption = "Ab";
    Painter.ComputeLayout(Canvas, client, DT_CENTER, text, glyph, c.Mark, c.Spacing, c.Margin, c.Layout, caption);
    EXPECT_EQ(glyph, c.Glyph) << int(c.Layout) << " " << c.Margin << " " << c.Spacing << " " << c.Mark;
    EXPECT_EQ(text, Bounds(c.Text.X, c.Text.Y, TextW, TextH))
        << int(c.Layout) << " " << c.Margin << " " << c.Spacing << " " << c.Mark;
  }
}

TEST_F(GlyphLayout, ACaptionTooWideIsShortenedLineByLineUnlessWrapped) {
  String caption = "Premier mot\r\nSecond";
  String fitted = Painter.FitCaption(Canvas, caption, Canvas->TextWidth("Prem..."));
  std::size_t br = fitted.find("\r\n");
  ASSERT_NE(br, String::npos) << fitted;
  String first = fitted.substr(0, br), second = fitted.substr(br + 2);
  EXPECT_LT(first.size(), String("Premier mot").size());
  EXPECT_EQ(first.substr(first.size() - 3), "...");
  EXPECT_LE(Canvas->TextWidth(first), Canvas->TextWidth("Prem..."));
  EXPECT_LE(Canvas->TextWidth(second), Canvas->TextWidth("Prem..."));
  // Trailing blanks and line breaks go.
  EXPECT_EQ(Painter.FitCaption(Canvas, "OK  \r\n", 100), "OK");
  Painter.WordWrap = true;
  EXPECT_EQ(Painter.FitCaption(Canvas, caption, 10), caption);
}

TEST(OxButtonGlyph, ArrowMarkIsATriangleOfSinglePixels) {
  TOxButtonGlyph painter;
  TBitmap surface;
  MakeSurface(surface, 20, 20);
  painter.PaintArrowMark(surface.Canvas(), 5, 5, obsUp);
  TCanvas* c = surface.Canvas();
  // Rows of 7, 5, 3 and 1 pixels from y = 4, each centred on x = 8.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      int row = y - 4;
      bool inside = row >= 0 && row < 4 && x >= 5 + row && x <= 11 - row;
      EXPECT_EQ(c->Pixels(x, y) == Rgb(clBtnText), inside) << x << "," << y;
    }
  }
  // Disabled: a highlight copy one pixel lower right, the shadow one over it.
  MakeSurface(surface, 20, 20);
  painter.PaintArrowMark(c, 5, 5, obsDisabled);
  EXPECT_EQ(c->Pixels(5, 4), Rgb(clBtnShadow));
  EXPECT_EQ(c->Pixels(12, 5), Rgb(clBtnHighlight));
  EXPECT_EQ(c->Pixels(9, 8), Rgb(clBtnHighlight));
}

TEST(OxButtonGlyph, BordersByStateStyleAndFlatness) {
  struct Case {
    bool Down;
    TButtonStyle Style;
    bool Flat;
    TColor OuterTopLeft, OuterBottomRight;
    TColor InnerTopLeft, InnerBottomRight;  // clLime: untouched
    int Inset;
  } cases[] = {
      {false, bsNew, false, clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow, 3},
      {false, bsAutoDetect, false, clBtnHighlight, clWindowFrame, clBtnFace, clBtnShadow, 3},
      {false, bsNew, true, clBtnHighlight, clBtnShadow, clLime, clLime, 2},
      {true, bsNew, false, clWindowFrame, clBtnHighlight, clBtnShadow, clBtnFace, 3},
      {true, bsNew, true, clBtnShadow, clBtnHighlight, clLime, clLime, 2},
      {false, bsWin31, false, clWindowFrame, clWindowFrame, clBtnHighlight, clBtnShadow, 3},
      {false, bsWin31, true, clBtnHighlight, clWindowFrame, clLime, clLime, 2},
      {true, bsWin31, false, clWindowFrame, clWindowFrame, clBtnShadow, clLime, 2},
      {true, bsWin31, true, clWindowFrame, clBtnHighlight, clLime, clLime, 2},
  };
  for (const Case& c : cases) {
    TBitmap surface;
    MakeSurface(surface, 20, 20, clLime);
    TCanvas* canvas = surface.Canvas();
    TRect inside = PaintButtonBorder(canvas, Rect(0, 0, 20, 20), c.Down, c.Style, c.Flat);
    String what = String(c.Down ? "down " : "up ") + std::to_string(int(c.Style)) + (c.Flat ? " flat" : "");
    EXPECT_EQ(canvas->Pixels(0, 0), Rgb(c.OuterTopLeft)) << what;
    EXPECT_EQ(canvas->Pixels(19, 19), Rgb(c.OuterBottomRight)) << what;
    EXPECT_EQ(canvas->Pixels(1, 1), Rgb(c.InnerTopLeft)) << what;
    EXPECT_EQ(canvas->Pixels(18, 18), Rgb(c.InnerBottomRight)) << what;
    EXPECT_EQ(inside, Rect(c.Inset, c.Inset, 20 - c.Inset, 20 - c.Inset)) << what;
  }
}

}  // namespace
