// Tests of the paint canvas and the look-and-feel painters, drawn on bitmaps and read back:
// bands and 3-D edges, aligned and disabled text against the same font drawn directly, button
// faces and captions by kind and state, radio buttons across a system-colour change, row
// indicators.
#include "BarTestSupport.h"
#include "kjLookAndFeelPainters.h"
#include "Resources.h"
#include "kjPaintCanvas.h"

namespace {

class PaintCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    for (TBitmap* b : {&Bitmap, &Expected}) {
      b->SetPixelFormat(pf24bit);
      b->SetSize(120, 60);
      b->Canvas()->Brush()->SetColor(clWhite);
      b->Canvas()->FillRect(TRect(0, 0, 120, 60));
      b->Canvas()->Font()->SetName("MS Sans Serif");
      b->Canvas()->Font()->SetHeight(-11);
    }
  }
  COLORREF At(int X, int Y) { return ColorToRGB(Bitmap.Canvas()->Pixels(X, Y)); }
  bool Same() {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        if (Bitmap.Canvas()->Pixels(x, y) != Expected.Canvas()->Pixels(x, y)) return false;
    return true;
  }
  TBitmap Bitmap;
  TBitmap Expected;
};

TEST_F(PaintCanvas, TextFlagsBecomeDrawTextFormats) {
  struct Case {
    TkjTextFlags Flags;
    UINT Format;
  } cases[] = {
      {0, DT_NOPREFIX},
      {kjtRight | kjtBottom, DT_NOPREFIX | DT_RIGHT | DT_BOTTOM},
      {kjtCenterX | kjtCenterY | kjtSingleLine, DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {kjtShowPrefix, 0},
      {kjtWordBreak | kjtShowEndEllipsis, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS},
      {kjtDontClip | kjtExpandTabs | kjtCalcRect | kjtShowPathEllipsis,
       DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_CALCRECT | DT_PATH_ELLIPSIS},
  };
  for (const Case& c : cases) EXPECT_EQ(TextFlagsToDrawTextFormat(c.Flags), c.Format) << c.Flags;
}

TEST_F(PaintCanvas, BandsFillTheChosenSidesAndTheDefaultKeepsTheBrush) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  canvas.Brush()->SetColor(clRed);
  canvas.FillSides(TRect(10, 10, 50, 40), kjDefaultColor, kjsLeft | kjsBottom, 3);
  EXPECT_EQ(At(10, 20), RGB(255, 0, 0));
  EXPECT_EQ(At(12, 20), RGB(255, 0, 0));
  EXPECT_EQ(At(13, 20), RGB(255, 255, 255));
  EXPECT_EQ(At(30, 37), RGB(255, 0, 0));
  EXPECT_EQ(At(30, 36), RGB(255, 255, 255));
  EXPECT_EQ(At(49, 20), RGB(255, 255, 255));
  EXPECT_EQ(At(30, 10), RGB(255, 255, 255));
  canvas.FrameSides(TRect(60, 10, 100, 40), clBlue, 1, kjsAll, clLime);
  EXPECT_EQ(At(60, 20), RGB(0, 0, 255));
  EXPECT_EQ(At(80, 10), RGB(0, 0, 255));
  EXPECT_EQ(At(99, 20), RGB(0, 255, 0));
  EXPECT_EQ(At(80, 39), RGB(0, 255, 0));
}

TEST_F(PaintCanvas, EdgesTakeThePairsOfTheirKind) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  struct Case {
    bool Sunken, Inner;
    int TopLeft, BottomRight;
  } cases[] = {{false, false, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
               {true, false, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
               {false, true, COLOR_3DLIGHT, COLOR_3DDKSHADOW},
               {true, true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
  for (const Case& c : cases) {
    canvas.DrawEdge3D(TRect(10, 10, 30, 30), c.Sunken, kjsAll, c.Inner);
    EXPECT_EQ(At(10, 20), GetSysColor(c.TopLeft));
    EXPECT_EQ(At(29, 20), GetSysColor(c.BottomRight));
  }
}

TEST_F(PaintCanvas, RightAlignedDisabledTextKeepsItsHighlightInsideTheRect) {
  TRect r(10, 10, 110, 40);
  TkjPaintCanvas canvas(Bitmap.Canvas());
  canvas.Brush()->SetStyle(bsClear);
  canvas.DrawTextWithFlags("Annuler", r, false, kjtRight | kjtCenterY | kjtSingleLine);
  // The same text drawn directly: the highlight copy one pixel right and down of the shadow text,
  // which ends one pixel before the right edge.
  TCanvas* e = Expected.Canvas();
  e->Brush()->SetStyle(bsClear);
  TSize size = e->TextExtent("Annuler");
  int x = r.Right - size.cx - 1;
  int y = (r.Top + r.Bottom - size.cy) / 2;
  e->Font()->SetColor(clBtnHighlight);
  e->TextOut(x + 1, y + 1, "Annuler");
  e->Font()->SetColor(clBtnShadow);
  e->TextOut(x, y, "Annuler");
  EXPECT_TRUE(Same());
  SaveBitmapPng(&Bitmap, "paint-canvas-disabled-text");
}

TEST_F(PaintCanvas, TextThatDoesNotFitIsClippedToTheRect) {
  TRect r(10, 10, 40, 30);
  TkjPaintCanvas canvas(Bitmap.Canvas());
  canvas.Brush()->SetStyle(bsClear);
  canvas.DrawTextWithFlags("Bassin versant de surface", r, true, kjtLeft | kjtTop | kjtSingleLine);
  bool inside = false;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x) {
      bool ink = At(x, y) != RGB(255, 255, 255);
      if (ink && !r.Contains(TPoint(x, y))) FAIL() << "ink outside the rect at " << x << "," << y;
      inside = inside || ink;
    }
  EXPECT_TRUE(inside);
}

// A 6 x 6 glyph: a black 2 x 2 square on fuchsia, its transparent colour.
TEST_F(PaintCanvas, GlyphsShowTheirBackgroundWhereTransparentAndDisabledOnesAreEmbossed) {
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(6, 6);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect(0, 0, 6, 6));
  glyph.Canvas()->Brush()->SetColor(clBlack);
  glyph.Canvas()->FillRect(TRect(2, 2, 4, 4));
  glyph.SetTransparentColor(clFuchsia);
  TkjPaintCanvas canvas(Bitmap.Canvas());
  canvas.Brush()->SetColor(clBlue);
  canvas.DrawGlyph(10, 10, clYellow, true, &glyph);
  EXPECT_EQ(At(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(At(10, 10), RGB(255, 255, 0));
  EXPECT_EQ(At(15, 15), RGB(255, 255, 0));
  EXPECT_EQ(At(16, 16), RGB(255, 255, 255));
  // The canvas keeps its brush.
  EXPECT_EQ(canvas.Brush()->Color(), clBlue);
  EXPECT_EQ(canvas.Brush()->Style(), bsSolid);
  // No background: what was there shows through.
  canvas.DrawGlyph(30, 10, kjNoColor, true, &glyph);
  EXPECT_EQ(At(32, 12), RGB(0, 0, 0));
  EXPECT_EQ(At(30, 10), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Brush()->Style(), bsSolid);
  // Disabled, over the background colour: the square is no longer black, the rest is the
  // background.
  canvas.DrawGlyph(50, 10, clYellow, false, &glyph);
  EXPECT_NE(At(52, 12), RGB(0, 0, 0));
  EXPECT_NE(At(52, 12), RGB(255, 255, 0));
  EXPECT_EQ(At(50, 10), RGB(255, 255, 0));
  EXPECT_EQ(At(55, 10), RGB(255, 255, 0));
}

// --- Painters ---------------------------------------------------------------------------------

class Painters : public PaintCanvas {
 protected:
  // The first row of the caption's ink inside Rect (the face being uniform).
  int CaptionTop(const TRect& Rect) {
    COLORREF face = At(Rect.Left + 3, Rect.Top + 3);
    for (int y = Rect.Top + 2; y < Rect.Bottom - 2; ++y)
      for (int x = Rect.Left + 3; x < Rect.Right - 3; ++x)
        if (At(x, y) != face) return y - Rect.Top;
    return -1;
  }
};

TEST_F(Painters, EachKindAnswersItsOwnKindAndTheBaseStandard) {
  EXPECT_EQ(CustomLookAndFeelPainter()->GetLookAndFeelKind(), lfStandard);
  for (TkjLookAndFeelKind kind : {lfFlat, lfStandard, lfUltraFlat})
    EXPECT_EQ(LookAndFeelPainter(kind)->GetLookAndFeelKind(), kind);
}

TEST_F(Painters, UltraFlatButtonFacesLightUpWhenHotAndPressed) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  struct Case {
    TkjLookAndFeelKind Kind;
    TkjButtonState State;
    COLORREF Face;
  } cases[] = {
      {lfUltraFlat, kjbsNormal, GetSysColor(COLOR_BTNFACE)},  {lfUltraFlat, kjbsHot, HotLightColor()},
      {lfUltraFlat, kjbsPressed, PressedLightColor()},         {lfStandard, kjbsHot, GetSysColor(COLOR_BTNFACE)},
      {lfFlat, kjbsPressed, GetSysColor(COLOR_BTNFACE)},
  };
  for (const Case& c : cases) {
    LookAndFeelPainter(c.Kind)->PaintButton(&canvas, TRect(10, 10, 60, 40), kjDefaultColor, kjDefaultColor, true,
                                            c.State, String());
    EXPECT_EQ(At(35, 25), c.Face) << "kind " << c.Kind << " state " << c.State;
  }
}

// The borders of buttons by kind and state: the outer pixel on the left and on the right, and
// the next one in on the left.
TEST_F(Painters, ButtonBordersTakeTheEdgesOfTheirKindAndState) {
  const COLORREF black = RGB(0, 0, 0);
  auto sys = [](int Index) { return GetSysColor(Index); };
  struct Case {
    TkjLookAndFeelKind Kind;
    TkjButtonState State;
    int Width;  // GetButtonBorderWidth
    COLORREF Left, Right, SecondLeft;
  } cases[] = {
      {lfStandard, kjbsNormal, 2, sys(COLOR_BTNHIGHLIGHT), sys(COLOR_3DDKSHADOW), sys(COLOR_3DLIGHT)},
      {lfStandard, kjbsDefault, 3, black, black, sys(COLOR_BTNHIGHLIGHT)},
      {lfStandard, kjbsPressed, 2, black, black, sys(COLOR_BTNSHADOW)},
      {lfFlat, kjbsNormal, 1, sys(COLOR_BTNHIGHLIGHT), sys(COLOR_BTNSHADOW), sys(COLOR_BTNFACE)},
      {lfFlat, kjbsDefault, 2, black, black, sys(COLOR_BTNHIGHLIGHT)},
      {lfFlat, kjbsPressed, 1, sys(COLOR_BTNSHADOW), sys(COLOR_BTNHIGHLIGHT), sys(COLOR_BTNFACE)},
      {lfUltraFlat, kjbsNormal, 1, sys(COLOR_BTNTEXT), sys(COLOR_BTNTEXT), sys(COLOR_BTNFACE)},
      {lfUltraFlat, kjbsDefault, 2, sys(COLOR_WINDOWFRAME), sys(COLOR_WINDOWFRAME), sys(COLOR_WINDOWFRAME)},
      {lfUltraFlat, kjbsHot, 1, sys(COLOR_HIGHLIGHT), sys(COLOR_HIGHLIGHT), HotLightColor()},
      {lfUltraFlat, kjbsPressed, 1, sys(COLOR_HIGHLIGHT), sys(COLOR_HIGHLIGHT), PressedLightColor()},
      {lfUltraFlat, kjbsDisabled, 1, sys(COLOR_HIGHLIGHT), sys(COLOR_HIGHLIGHT), sys(COLOR_BTNFACE)},
  };
  TkjPaintCanvas canvas(Bitmap.Canvas());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.Kind << " state " << c.State);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(TRect(0, 0, 120, 60));
    const TkjCustomLookAndFeelPainter* painter = LookAndFeelPainter(c.Kind);
    EXPECT_EQ(painter->GetButtonBorderWidth(c.State), c.Width);
    painter->PaintButton(&canvas, TRect(10, 10, 70, 40), kjDefaultColor, kjDefaultColor, true, c.State, String());
    EXPECT_EQ(At(10, 25), c.Left);
    EXPECT_EQ(At(69, 25), c.Right);
    EXPECT_EQ(At(11, 25), c.SecondLeft);
    EXPECT_EQ(At(9, 25), RGB(255, 0, 0));
    EXPECT_EQ(At(70, 25), RGB(255, 0, 0));
  }
}

TEST_F(Painters, ALowButtonTakesItsCaptionOnePixelHigher) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  const TkjCustomLookAndFeelPainter* painter = LookAndFeelPainter(lfStandard);
  TRect low(5, 5, 55, 26);     // 17 inside the borders, made 16
  TRect high(60, 5, 110, 29);  // 20 inside the borders
  painter->PaintButton(&canvas, low, kjDefaultColor, kjDefaultColor, true, kjbsNormal, "Ok");
  painter->PaintButton(&canvas, high, kjDefaultColor, kjDefaultColor, true, kjbsNormal, "Ok");
  // Four pixels of height move a centred caption by two; the low one goes a pixel further up.
  ASSERT_GE(CaptionTop(low), 0);
  EXPECT_EQ(CaptionTop(high) - CaptionTop(low), 3);
  SaveBitmapPng(&Bitmap, "painter-buttons");
}

TEST_F(Painters, RowIndicatorsDrawTheirPicture) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  ASSERT_EQ(LookAndFeelIndicatorImages()->Count(), 5);
  LookAndFeelPainter(lfUltraFlat)->PaintIndicatorItem(&canvas, TRect(0, 0, 15, 19), clBtnFace, kjikArrow);
  // The arrow picture: its tip column at the centre, black rows widening to 4 pixels.
  TBitmap arrow;
  arrow.LoadFromResourceName(MainInstance(), "KJ_ARROWBITMAP");
  int x0 = (15 - arrow.Width()) / 2, y0 = (19 - arrow.Height()) / 2;
  for (int y = 0; y < arrow.Height(); ++y)
    for (int x = 0; x < arrow.Width(); ++x) {
      if (ColorToRGB(arrow.Canvas()->Pixels(x, y)) == 0) {
        EXPECT_EQ(At(x0 + x, y0 + y), 0u) << x << "," << y;
      }
    }
}

TEST_F(Painters, RadioButtonsTakeTheNewColoursAfterASystemColourChange) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  const TkjCustomLookAndFeelPainter* painter = LookAndFeelPainter(lfStandard);
  painter->PaintRadioButton(&canvas, 10, 10, false, false, kjbsNormal, kjNoColor);
  ASSERT_GT(RadioButtonImageCount(), 0);
  EXPECT_EQ(At(16, 16), GetSysColor(COLOR_WINDOW));
  COLORREF pale = RGB(250, 240, 200);
  {
    TSystemColors colors({{COLOR_WINDOW, pale}});
    EXPECT_TRUE(WaitFor("the radio images to be dropped", [] { return RadioButtonImageCount() == 0; }));
    painter->PaintRadioButton(&canvas, 40, 10, false, false, kjbsNormal, kjNoColor);
    EXPECT_EQ(At(46, 16), pale);
    SaveBitmapPng(&Bitmap, "painter-radio-buttons");
  }
  EXPECT_TRUE(WaitFor("the radio images to be dropped again", [] { return RadioButtonImageCount() == 0; }));
}

TEST_F(Painters, ATickedRadioButtonHasItsDotInButtonText) {
  TkjPaintCanvas canvas(Bitmap.Canvas());
  LookAndFeelPainter(lfUltraFlat)->PaintRadioButton(&canvas, 10, 10, true, false, kjbsNormal, clBtnFace);
  LookAndFeelPainter(lfUltraFlat)->PaintRadioButton(&canvas, 40, 10, true, false, kjbsDisabled, clBtnFace);
  EXPECT_EQ(At(16, 16), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(At(46, 16), GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace
