// Tests of the graphics: canvas drawing read back from bitmaps, the drawing tools' notifications
// and copies, colours and their names, BMP files in several formats, pictures found by signature
// and extension and kept in form descriptions, icons and metafiles.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "Filer.h"
#include "Graphics.h"
#include "Jpeg.h"
#include "Streams.h"
#include "UiTestSupport.h"

namespace {

// A component publishing the graphic properties a form holds.
class TSwatch : public TComponent {
  VELBOR_DECLARE_CLASS(TSwatch, TComponent)
 public:
  explicit TSwatch(TComponent* AOwner) : TComponent(AOwner) {}
  ~TSwatch() override {
    delete FFont;
    delete FPicture;
  }
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  TColor Color = clBtnFace;

 private:
  TFont* FFont = new TFont();
  TPicture* FPicture = new TPicture();
};
VELBOR_IMPLEMENT_CLASS(TSwatch)
VELBOR_PUBLISHED(TSwatch,
  Prop("Color", &Self::Color).Default(clWindow).Idents(ColorIdents),
  Prop("Font", &Self::GetFont, &Self::SetFont),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture))

std::unique_ptr<TBitmap> WhiteBitmap(int W, int H, TPixelFormat Format = pf24bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(W, H);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, W, H));
  return b;
}

// Counts OnChange calls of a tool, a graphic or a canvas.
class TCounter : public TObject {
 public:
  int Count = 0;
  TObject* LastSender = nullptr;
  void Changed(TObject* Sender) {
    ++Count;
    LastSender = Sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TCounter::Changed); }
};

String StreamBytes(TStream& S) { return String(static_cast<const char*>(static_cast<TMemoryStream&>(S).Memory()), std::size_t(S.Size())); }

}  // namespace

// --- Canvas ---------------------------------------------------------------------------------

TEST(Canvas, LinesIncludeTheStartAndExcludeTheEnd) {
  auto b = WhiteBitmap(20, 10);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clRed);
  c->MoveTo(2, 5);
  c->LineTo(15, 5);
  EXPECT_EQ(c->Pixels(2, 5), clRed);
  EXPECT_EQ(c->Pixels(14, 5), clRed);
  EXPECT_EQ(c->Pixels(15, 5), clWhite);
  EXPECT_EQ(c->Pixels(8, 4), clWhite);
  EXPECT_EQ(c->PenPos(), Point(15, 5));
  // The same pixel through the scan line: blue, green, red bytes.
  const auto* row = static_cast<const std::uint8_t*>(b->ScanLine(5));
  EXPECT_EQ(row[3 * 8 + 0], 0);
  EXPECT_EQ(row[3 * 8 + 1], 0);
  EXPECT_EQ(row[3 * 8 + 2], 255);
}

TEST(Canvas, FiguresUsePenForTheOutlineAndBrushForTheInside) {
  auto b = WhiteBitmap(30, 30);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlue);
  c->Rectangle(2, 2, 12, 12);
  EXPECT_EQ(c->Pixels(2, 2), clBlack);
  EXPECT_EQ(c->Pixels(11, 11), clBlack);
  EXPECT_EQ(c->Pixels(12, 12), clWhite);
  EXPECT_EQ(c->Pixels(6, 6), clBlue);

  c->Brush()->SetStyle(bsClear);
  c->Rectangle(15, 15, 25, 25);
  EXPECT_EQ(c->Pixels(15, 20), clBlack);
  EXPECT_EQ(c->Pixels(20, 20), clWhite) << "a clear brush leaves the inside";

  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clLime);  // a colour makes a clear brush solid again
  EXPECT_EQ(c->Brush()->Style(), bsSolid);
  c->Ellipse(0, 14, 14, 28);
  EXPECT_EQ(c->Pixels(7, 21), clLime);
  EXPECT_EQ(c->Pixels(0, 14), clWhite) << "outside the ellipse";
}

TEST(Canvas, FillFrameAndPatternBrushes) {
  auto b = WhiteBitmap(16, 16);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->FrameRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(c->Pixels(0, 4), clRed);
  EXPECT_EQ(c->Pixels(7, 4), clRed);
  EXPECT_EQ(c->Pixels(4, 4), clWhite);

  // A 2x2 checker as the brush pattern: neighbouring pixels alternate.
  TBitmap pattern;
  pattern.SetPixelFormat(pf24bit);
  pattern.SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.Canvas()->SetPixels(x, y, (x + y) % 2 ? clBlack : clYellow);
  c->Brush()->SetBitmap(&pattern);
  c->FillRect(Rect(8, 8, 16, 16));
  EXPECT_NE(c->Pixels(8, 8), c->Pixels(9, 8));
  EXPECT_EQ(c->Pixels(8, 8), c->Pixels(9, 9));
  EXPECT_TRUE(c->Pixels(10, 10) == clBlack || c->Pixels(10, 10) == clYellow);

  // A hatch paints its lines in the brush colour and leaves the rest.
  c->Brush()->SetBitmap(nullptr);
  c->Brush()->SetColor(clBlue);
  c->Brush()->SetStyle(bsHorizontal);
  c->FillRect(Rect(8, 0, 16, 8));
  int blue = 0, white = 0;
  for (int y = 0; y < 8; ++y) {
    TColor p = c->Pixels(12, y);
    blue += p == clBlue;
    white += p == clWhite;
  }
  EXPECT_GT(blue, 0);
  EXPECT_GT(white, 0);
  EXPECT_EQ(blue + white, 8);
}

TEST(Canvas, PenModeXorDrawnTwiceRestores) {
  auto b = WhiteBitmap(10, 10);
  TCanvas* c = b->Canvas();
  c->SetPixels(3, 3, clYellow);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 3);
  c->LineTo(10, 3);
  EXPECT_EQ(c->Pixels(3, 3), clBlue);
  EXPECT_EQ(c->Pixels(5, 3), clBlack);
  c->MoveTo(0, 3);
  c->LineTo(10, 3);
  EXPECT_EQ(c->Pixels(3, 3), clYellow);
  EXPECT_EQ(c->Pixels(5, 3), clWhite);
}

TEST(Canvas, TextIsDrawnInTheFontColourAndMeasured) {
  auto b = WhiteBitmap(120, 40);
  TCanvas* c = b->Canvas();
  c->Font()->SetName("Tahoma");
  c->Font()->SetHeight(-16);
  c->Font()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  TSize extent = c->TextExtent("Wetland");
  EXPECT_GT(extent.cx, 20);
  EXPECT_GE(extent.cy, 16);
  EXPECT_EQ(c->TextWidth("Wetland"), extent.cx);
  EXPECT_LT(c->TextWidth("Wet"), extent.cx);
  c->TextOut(4, 4, "Wetland");
  EXPECT_EQ(c->PenPos(), Point(4 + extent.cx, 4));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      if (c->Pixels(x, y) != clWhite) {
        EXPECT_TRUE(x >= 4 && x < 4 + extent.cx && y >= 4 && y < 4 + extent.cy) << x << "," << y;
      }
    }
  // The pixels are those the font draws in red.
  EXPECT_TRUE(ShowsText(c->Handle(), Rect(0, 0, 120, 40), "Wetland", c->Font(), clRed, clWhite));

  // A bigger font measures wider: the canvas picked up the change.
  c->Font()->SetHeight(-32);
  EXPECT_GT(c->TextWidth("Wetland"), extent.cx);
}

TEST(Canvas, TextRectClipsAndFillsWithTheBrush) {
  auto b = WhiteBitmap(60, 20);
  TCanvas* c = b->Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clYellow);
  c->TextRect(Rect(10, 0, 30, 20), 10, 2, "MMMMMMMMMMMM");
  EXPECT_EQ(c->Pixels(29, 19), clYellow);
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(c->Pixels(30, y), clWhite) << "clipped at the right edge, row " << y;
    EXPECT_EQ(c->Pixels(9, y), clWhite);
  }
}

TEST(Canvas, DrawStretchDrawCopyRectAndTransparency) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(4, 4);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(Rect(0, 0, 4, 4));
  src.Canvas()->SetPixels(1, 1, clGreen);

  auto dest = WhiteBitmap(20, 20);
  TCanvas* c = dest->Canvas();
  c->Draw(0, 0, &src);
  EXPECT_EQ(c->Pixels(0, 0), clFuchsia);
  EXPECT_EQ(c->Pixels(1, 1), clGreen);
  EXPECT_EQ(c->Pixels(4, 4), clWhite);

  c->StretchDraw(Rect(8, 8, 16, 16), &src);  // twice the size
  EXPECT_EQ(c->Pixels(10, 10), clGreen);
  EXPECT_EQ(c->Pixels(11, 11), clGreen);
  EXPECT_EQ(c->Pixels(12, 12), clFuchsia);

  // Transparent: the bottom-left pixel's colour (tmAuto) lets the destination through.
  src.SetTransparent(true);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);
  c->Draw(0, 10, &src);
  EXPECT_EQ(c->Pixels(0, 10), clWhite);
  EXPECT_EQ(c->Pixels(1, 11), clGreen);

  // A fixed transparent colour: green is left out now, fuchsia drawn.
  src.SetTransparentColor(clGreen);
  EXPECT_EQ(src.TransparentMode(), tmFixed);
  c->Draw(16, 0, &src);
  EXPECT_EQ(c->Pixels(16, 0), clFuchsia);
  EXPECT_EQ(c->Pixels(17, 1), clWhite);
  src.SetTransparentMode(tmAuto);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);

  c->CopyRect(Rect(0, 16, 2, 18), src.Canvas(), Rect(1, 1, 3, 3));
  EXPECT_EQ(c->Pixels(0, 16), clGreen);
  EXPECT_EQ(c->Pixels(1, 16), clFuchsia);
}

TEST(Canvas, BrushCopyReplacesOneColourByTheBrush) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(3, 1);
  src.Canvas()->SetPixels(0, 0, clRed);
  src.Canvas()->SetPixels(1, 0, clBlue);
  src.Canvas()->SetPixels(2, 0, clRed);
  auto dest = WhiteBitmap(3, 1);
  dest->Canvas()->Brush()->SetColor(clYellow);
  dest->Canvas()->BrushCopy(Rect(0, 0, 3, 1), &src, Rect(0, 0, 3, 1), clRed);
  EXPECT_EQ(dest->Canvas()->Pixels(0, 0), clYellow);
  EXPECT_EQ(dest->Canvas()->Pixels(1, 0), clBlue);
  EXPECT_EQ(dest->Canvas()->Pixels(2, 0), clYellow);
}

TEST(Canvas, StateLockAndClipping) {
  TCanvas bare;
  EXPECT_THROW(bare.Handle(), EInvalidOperation) << "a canvas with no device context cannot draw";
  EXPECT_THROW(bare.LineTo(1, 1), EInvalidOperation);

  auto b = WhiteBitmap(33, 17);
  EXPECT_EQ(b->Canvas()->ClipRect(), Rect(0, 0, 33, 17));
  b->Canvas()->Lock();
  b->Canvas()->Lock();
  EXPECT_EQ(b->Canvas()->LockCount(), 2);
  EXPECT_TRUE(b->Canvas()->TryLock());
  b->Canvas()->Unlock();
  b->Canvas()->Unlock();
  b->Canvas()->Unlock();
  EXPECT_EQ(b->Canvas()->LockCount(), 0);

  // Drawing fires the canvas's and then the bitmap's notifications.
  TCounter canvasChanges, bitmapChanges;
  b->OnChange = bitmapChanges.Event();
  b->Canvas()->OnChanging = canvasChanges.Event();
  b->Canvas()->Rectangle(0, 0, 5, 5);
  EXPECT_EQ(canvasChanges.Count, 1);
  EXPECT_EQ(bitmapChanges.Count, 1);
  EXPECT_EQ(bitmapChanges.LastSender, b.get());
}

// --- Tools ----------------------------------------------------------------------------------

TEST(Font, ChangesNotifyOnceAndOnlyForNewValues) {
  TFont f;
  TCounter n;
  f.OnChange = n.Event();
  f.SetName("Arial");
  f.SetName("Arial");
  f.SetStyle({fsBold});
  f.SetStyle({fsBold});
  f.SetColor(clRed);
  f.SetHeight(-20);
  f.SetCharset(ANSI_CHARSET);
  f.SetOrientation(900);
  EXPECT_EQ(n.Count, 6);
  EXPECT_EQ(n.LastSender, &f);
}

TEST(Font, SizeAndHeightConvertAtTheResolution) {
  TFont f;
  f.PixelsPerInch = 96;
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(-13);
  EXPECT_EQ(f.Size(), 10);
  f.PixelsPerInch = 120;
  EXPECT_EQ(f.Size(), 8);
}

namespace {

// Asks its tool for the handle on every change, as a canvas or a control given the tool does.
template <class TTool>
class THandleTaker : public TObject {
 public:
  explicit THandleTaker(TTool* Tool) : FTool(Tool) {}
  decltype(std::declval<TTool&>().Handle()) Taken{};
  void Changed(TObject*) { Taken = FTool->Handle(); }

 private:
  TTool* FTool;
};

// A handle given to the tool is the one its listeners get, and it stays alive; the handle the
// tool had made before is freed.
template <class TTool, class THandle>
void ExpectAdoptedHandleReachesTheListeners(THandle Given) {
  TTool tool;
  THandle madeBefore = tool.Handle();
  THandleTaker<TTool> taker(&tool);
  tool.OnChange = TNotifyEvent(&taker, &THandleTaker<TTool>::Changed);
  tool.SetHandle(Given);
  EXPECT_EQ(taker.Taken, Given) << "the listener was given another handle";
  EXPECT_EQ(tool.Handle(), Given);
  EXPECT_NE(::GetObjectType(Given), 0u) << "the adopted handle was deleted";
  EXPECT_EQ(::GetObjectType(madeBefore), 0u) << "the handle made before was kept";
  tool.SetHandle(Given);
  EXPECT_EQ(taker.Taken, Given);
  EXPECT_NE(::GetObjectType(Given), 0u) << "adopting the handle held deleted it";
}

}  // namespace

TEST(Tools, AnAdoptedHandleIsTheOneTheListenersGetAndStaysAlive) {
  ExpectAdoptedHandleReachesTheListeners<TFont>(::CreateFontA(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
  ExpectAdoptedHandleReachesTheListeners<TPen>(::CreatePen(PS_DASH, 1, RGB(255, 0, 0)));
  ExpectAdoptedHandleReachesTheListeners<TBrush>(::CreateSolidBrush(RGB(0, 0, 255)));
}

TEST(Font, AssignCopiesEveryPropertyWithOneNotification) {
  TFont a, b;
  a.SetName("Courier New");
  a.SetHeight(-20);
  a.SetStyle({fsItalic, fsUnderline});
  a.SetColor(clNavy);
  a.SetCharset(EASTEUROPE_CHARSET);
  a.SetPitch(fpFixed);
  TCounter n;
  b.OnChange = n.Event();
  b.Assign(&a);
  EXPECT_EQ(n.Count, 1);
  EXPECT_EQ(b.Name(), "Courier New");
  EXPECT_EQ(b.Height(), -20);
  EXPECT_EQ(b.Style(), (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(b.Color(), clNavy);
  EXPECT_EQ(b.Charset(), EASTEUROPE_CHARSET);
  EXPECT_EQ(b.Pitch(), fpFixed);

  // From another resolution the point size is kept.
  TFont c;
  c.PixelsPerInch = 144;
  c.SetSize(10);
  b.PixelsPerInch = 96;
  b.Assign(&c);
  EXPECT_EQ(b.Size(), 10);

  // The handle made reflects the properties.
  LOGFONTA lf = {};
  ASSERT_EQ(::GetObjectA(a.Handle(), sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfCharSet, EASTEUROPE_CHARSET);

  TPen pen;
  EXPECT_THROW(pen.Assign(&a), EConvertError);
}

// A font given the values it already has stays as it is: no notification, the same handle, and a
// canvas keeps it selected (a printer's driver would otherwise set the font up for every object).
TEST(Font, AssignOfTheValuesAlreadyHeldChangesNothing) {
  TFont source;
  source.SetName("Courier New");
  source.SetHeight(-20);
  source.SetStyle({fsBold});
  source.SetColor(clNavy);
  source.SetCharset(ANSI_CHARSET);
  source.SetPitch(fpFixed);
  source.SetOrientation(900);

  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  TFont* font = bitmap.Canvas()->Font();
  font->Assign(&source);
  bitmap.Canvas()->TextWidth("x");
  HDC dc = bitmap.Canvas()->Handle();
  HGDIOBJ selected = ::GetCurrentObject(dc, OBJ_FONT);
  ASSERT_EQ(selected, HGDIOBJ(font->Handle()));
  font->Assign(&source);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), selected);
  EXPECT_EQ(HGDIOBJ(font->Handle()), selected);

  // The same point size from another resolution is no change either.
  TFont plain;
  plain.Assign(&source);
  TFont finer;
  finer.Assign(&source);
  finer.PixelsPerInch = plain.PixelsPerInch * 2;
  finer.SetHeight(source.Height() * 2);
  TCounter n;
  plain.OnChange = n.Event();
  plain.Assign(&finer);
  EXPECT_EQ(n.Count, 0);
  EXPECT_EQ(plain.Height(), -20);

  // Any one value that differs is a change.
  struct Case {
    const char* What;
    void (*Alter)(TFont&);
  };
  const Case cases[] = {
      {"name", [](TFont& F) { F.SetName("Arial"); }},
      {"height", [](TFont& F) { F.SetHeight(-21); }},
      {"style", [](TFont& F) { F.SetStyle({fsBold, fsItalic}); }},
      {"colour", [](TFont& F) { F.SetColor(clRed); }},
      {"character set", [](TFont& F) { F.SetCharset(EASTEUROPE_CHARSET); }},
      {"pitch", [](TFont& F) { F.SetPitch(fpVariable); }},
      {"orientation", [](TFont& F) { F.SetOrientation(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TFont target;
    target.Assign(&source);
    TFont other;
    other.Assign(&source);
    c.Alter(other);
    TCounter changes;
    target.OnChange = changes.Event();
    target.Assign(&other);
    EXPECT_EQ(changes.Count, 1);
  }
}

// The faces the reports ask for by name are pinned in the prefix (scripts/wine-env.sh) to free
// faces drawn to the same widths, so that the reports look and measure alike on every machine. At
// a height of 2048 pixels a character's width is its advance in the font's own units, which are
// those of the face asked for: a machine where the name falls back to another face fails here.
struct PinnedFaceCase {
  const char* Asked;
  const char* Family;
  int SpaceWidth, AWidth, WWidth;
};

TEST(Font, CommonFacesResolveToTheirPinnedStandInsOfTheSameWidths) {
  const PinnedFaceCase cases[] = {
      {"Arial", "Liberation Sans", 569, 1139, 1933},
      {"Times New Roman", "Liberation Serif", 512, 909, 1933},
      {"Courier New", "Liberation Mono", 1229, 1229, 1229},
  };
  auto b = WhiteBitmap(8, 8);
  TCanvas* c = b->Canvas();
  for (const PinnedFaceCase& k : cases) {
    SCOPED_TRACE(k.Asked);
    c->Font()->SetName(k.Asked);
    c->Font()->SetHeight(-2048);
    HDC dc = c->Handle();
    UINT size = ::GetOutlineTextMetricsA(dc, 0, nullptr);
    ASSERT_GT(size, 0u) << "not an outline face";
    std::vector<char> data(size);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(data.data());
    ASSERT_NE(::GetOutlineTextMetricsA(dc, size, metrics), 0u);
    EXPECT_STREQ(data.data() + reinterpret_cast<size_t>(metrics->otmpFamilyName), k.Family);
    const std::pair<char, int> widths[] = {{' ', k.SpaceWidth}, {'a', k.AWidth}, {'W', k.WWidth}};
    for (const auto& [ch, expected] : widths) {
      INT width = 0;
      ASSERT_TRUE(::GetCharWidth32A(dc, UINT(ch), UINT(ch), &width));
      EXPECT_EQ(width, expected) << "'" << ch << "'";
    }
  }
}

TEST(PenAndBrush, AssignAndNotify) {
  TPen p1, p2;
  p1.SetColor(clGreen);
  p1.SetWidth(3);
  p1.SetStyle(psDot);
  p1.SetMode(pmNotXor);
  TCounter n;
  p2.OnChange = n.Event();
  p2.Assign(&p1);
  EXPECT_EQ(n.Count, 1);
  EXPECT_EQ(p2.Color(), clGreen);
  EXPECT_EQ(p2.Width(), 3);
  EXPECT_EQ(p2.Style(), psDot);
  EXPECT_EQ(p2.Mode(), pmNotXor);

  TBrush b1, b2;
  b1.SetColor(clAqua);
  b1.SetStyle(bsDiagCross);
  b2.Assign(&b1);
  EXPECT_EQ(b2.Color(), clAqua);
  EXPECT_EQ(b2.Style(), bsDiagCross);
  LOGBRUSH lb = {};
  ASSERT_EQ(::GetObjectA(b2.Handle(), sizeof(lb), &lb), int(sizeof(lb)));
  EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_DIAGCROSS));
  EXPECT_EQ(lb.lbColor, COLORREF(0xFFFF00));
}

TEST(Font, PublishedPropertiesReadAndWriteIdentifiers) {
  TSwatch s(nullptr);
  s.SetName("Swatch1");
  s.GetFont()->SetName("Arial");
  s.GetFont()->SetStyle({fsBold});
  s.GetFont()->SetColor(clBtnText);
  s.Color = clBtnFace;
  String text = WriteComponentToText(&s);
  EXPECT_NE(text.find("Color = clBtnFace"), String::npos) << text;
  EXPECT_NE(text.find("Font.Color = clBtnText"), String::npos) << text;
  EXPECT_NE(text.find("Font.Name = 'Arial'"), String::npos) << text;
  EXPECT_NE(text.find("Font.Style = [fsBold]"), String::npos) << text;
  EXPECT_EQ(text.find("Font.Size"), String::npos) << "Size is not stored: Height is";
  EXPECT_EQ(text.find("Font.Charset"), String::npos) << "default charset";

  TSwatch t(nullptr);
  ReadComponentFromText(&t,
                        "object Swatch1: TSwatch\n"
                        "  Color = clInfoBk\n"
                        "  Font.Charset = ANSI_CHARSET\n"
                        "  Font.Color = $00123456\n"
                        "  Font.Height = -15\n"
                        "  Font.Name = 'Verdana'\n"
                        "  Font.Style = [fsItalic, fsStrikeOut]\n"
                        "end\n",
                        "test");
  EXPECT_EQ(t.Color, clInfoBk);
  EXPECT_EQ(t.GetFont()->Charset(), ANSI_CHARSET);
  EXPECT_EQ(t.GetFont()->Color(), 0x123456);
  EXPECT_EQ(t.GetFont()->Height(), -15);
  EXPECT_EQ(t.GetFont()->Name(), "Verdana");
  EXPECT_EQ(t.GetFont()->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
}

// --- Colours --------------------------------------------------------------------------------

TEST(Colors, NamesAndNumbers) {
  struct Case {
    TColor Color;
    const char* Text;
  };
  const Case cases[] = {
      {clBlack, "clBlack"},       {clWhite, "clWhite"},           {clBtnFace, "clBtnFace"},
      {clInfoBk, "clInfoBk"},     {clNone, "clNone"},             {clDefault, "clDefault"},
      {clSilver, "clSilver"},     {0x00123456, "$00123456"},      {clMoneyGreen, "clMoneyGreen"},
      {cl3DDkShadow, "cl3DDkShadow"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorToString(c.Color), c.Text);
    EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;
  }
  EXPECT_EQ(clBtnFace, TColor(0xFF00000F));
  EXPECT_EQ(StringToColor("clltgray"), clSilver) << "identifiers read without case; clLtGray is clSilver";
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("$FF000005"), clWindow);
  EXPECT_THROW(StringToColor("clPlum"), EConvertError);
  int value = 0;
  EXPECT_FALSE(IdentToColor("Red", value));
}

TEST(Colors, ColorToRGBResolvesSystemColours) {
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(0x00ABCDEF), 0xABCDEFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clHighlight), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToRGB(clWindowText), ::GetSysColor(COLOR_WINDOWTEXT));
}

// --- Bitmaps --------------------------------------------------------------------------------

namespace {

// Fills every byte of every scan line with a pattern that depends on the row and column, so
// that a row or byte in the wrong place shows.
void FillPattern(TBitmap& B) {
  int bytes = (B.Width() * B.BitsPerPixel() + 7) / 8;
  for (int y = 0; y < B.Height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(B.ScanLine(y));
    for (int i = 0; i < bytes; ++i) row[i] = std::uint8_t(y * 31 + i * 7 + 1);
    // The unused bits of the last byte of a 1- or 4-bit row are not part of the image.
    int usedBits = (B.Width() * B.BitsPerPixel()) % 8;
    if (usedBits) row[bytes - 1] &= std::uint8_t(0xFF << (8 - usedBits));
  }
}

bool SamePixels(TBitmap& A, TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height() || A.BitsPerPixel() != B.BitsPerPixel()) return false;
  int bytes = (A.Width() * A.BitsPerPixel() + 7) / 8;
  for (int y = 0; y < A.Height(); ++y)
    if (std::memcmp(A.ScanLine(y), B.ScanLine(y), std::size_t(bytes)) != 0) return false;
  return true;
}

}  // namespace

struct BmpCase {
  TPixelFormat Format;
  int Bits;
  int TableSize;
};

class BmpRoundTrip : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpRoundTrip, SavesAndLoadsTheSamePixelsAndTable) {
  const BmpCase& p = GetParam();
  TBitmap a;
  a.SetPixelFormat(p.Format);
  a.SetSize(13, 5);  // an odd width: rows are padded to 4 bytes
  if (p.TableSize) {
    std::vector<TColor> table;
    for (int i = 0; i < p.TableSize; ++i) table.push_back(RGBToColor(i * 3 % 256, 255 - i % 256, i * 7 % 256));
    a.SetColorTable(table);
  }
  FillPattern(a);

  TMemoryStream file;
  a.SaveToStream(&file);
  String bytes = StreamBytes(file);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  BITMAPFILEHEADER fh;
  BITMAPINFOHEADER ih;
  std::memcpy(&fh, bytes.data(), sizeof(fh));
  std::memcpy(&ih, bytes.data() + sizeof(fh), sizeof(ih));
  EXPECT_EQ(fh.bfSize, bytes.size());
  EXPECT_EQ(ih.biBitCount, p.Bits);
  EXPECT_EQ(ih.biWidth, 13);
  EXPECT_EQ(ih.biHeight, 5);
  int stride = ((13 * p.Bits + 31) / 32) * 4;
  EXPECT_EQ(fh.bfOffBits, 14u + 40u + std::uint32_t(p.TableSize) * 4u + (p.Format == pf16bit ? 12u : 0u));
  EXPECT_EQ(bytes.size(), fh.bfOffBits + std::size_t(stride) * 5);

  file.SetPosition(0);
  TBitmap b;
  b.LoadFromStream(&file);
  EXPECT_EQ(b.PixelFormat(), p.Format);
  EXPECT_EQ(b.Width(), 13);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(b.ColorTable(), a.ColorTable());
  EXPECT_TRUE(SamePixels(a, b));
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpRoundTrip,
                         ::testing::Values(BmpCase{pf1bit, 1, 2}, BmpCase{pf4bit, 4, 16}, BmpCase{pf8bit, 8, 256},
                                           BmpCase{pf16bit, 16, 0}, BmpCase{pf24bit, 24, 0},
                                           BmpCase{pf32bit, 32, 0}));

namespace {

// A BMP file written by hand: 8 bits, a short colour table, optional RLE8 and top-down rows.
String HandMadeBmp(int Width, int Height, DWORD Compression, const std::vector<RGBQUAD>& Table, const String& Bits) {
  BITMAPINFOHEADER ih = {};
  ih.biSize = 40;
  ih.biWidth = Width;
  ih.biHeight = Height;
  ih.biPlanes = 1;
  ih.biBitCount = 8;
  ih.biCompression = Compression;
  ih.biSizeImage = DWORD(Bits.size());
  ih.biClrUsed = DWORD(Table.size());
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = DWORD(14 + 40 + 4 * Table.size());
  fh.bfSize = fh.bfOffBits + DWORD(Bits.size());
  String out(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
  out.append(reinterpret_cast<const char*>(Table.data()), Table.size() * sizeof(RGBQUAD));
  return out + Bits;
}

const std::vector<RGBQUAD> ThreeColours = {{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}};  // black, red, blue

}  // namespace

TEST(BitmapFiles, TopDownAndRunLengthFilesReadTheRightWayUp) {
  // Top-down (negative height): the first row in the file is the top row.
  String topDown = HandMadeBmp(2, -2, BI_RGB, ThreeColours, String("\x01\x02\0\0\x02\x01\0\0", 8));
  TStringStream s1(topDown);
  TBitmap a;
  a.LoadFromStream(&s1);
  EXPECT_EQ(a.Height(), 2);
  EXPECT_EQ(a.PixelFormat(), pf8bit);
  EXPECT_EQ(a.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(a.Canvas()->Pixels(1, 0), clBlue);
  EXPECT_EQ(a.Canvas()->Pixels(0, 1), clBlue);

  // RLE8, bottom-up: row 0 (bottom) is 4 red, row 1 (top) is 2 blue and 2 black.
  String rle("\x04\x01\x00\x00\x02\x02\x02\x00\x00\x01", 10);
  TStringStream s2(HandMadeBmp(4, 2, BI_RLE8, ThreeColours, rle));
  TBitmap b;
  b.LoadFromStream(&s2);
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(3, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(3, 0), clBlack);
}

TEST(BitmapFiles, InvalidDataIsRefused) {
  const String cases[] = {
      String("BM"),                                          // truncated header
      String("XY") + String(60, '\0'),                       // not a bitmap
      HandMadeBmp(4, 4, BI_RGB, ThreeColours, String(4, '\0')),  // too few pixel bytes
      HandMadeBmp(4, 4, 77, ThreeColours, String(16, '\0')),     // unknown compression
  };
  for (const String& data : cases) {
    TStringStream s(data);
    TBitmap b;
    EXPECT_ANY_THROW(b.LoadFromStream(&s)) << data.size();
  }
  TStringStream bad(HandMadeBmp(4, 4, 77, ThreeColours, String(16, '\0')));
  TBitmap b;
  EXPECT_THROW(b.LoadFromStream(&bad), EInvalidGraphic);
}

TEST(Bitmap, PixelFormatsConvertThroughColourMatching) {
  auto b = WhiteBitmap(4, 1);
  EXPECT_EQ(b->PixelFormat(), pf24bit);
  b->Canvas()->SetPixels(0, 0, clRed);
  b->Canvas()->SetPixels(1, 0, clBlack);
  b->SetPixelFormat(pf8bit);
  EXPECT_EQ(b->ColorTable().size(), 256u);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed) << "pure colours are in the default table";
  EXPECT_EQ(b->Canvas()->Pixels(2, 0), clWhite);
  b->SetMonochrome(true);
  EXPECT_EQ(b->PixelFormat(), pf1bit);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlack) << "every colour but white turns black";
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clBlack);
  EXPECT_EQ(b->Canvas()->Pixels(3, 0), clWhite);
  EXPECT_EQ(b->TransparentColor(), clWhite);

  TBitmap fresh;
  EXPECT_EQ(fresh.PixelFormat(), pfDevice);
  EXPECT_EQ(fresh.HandleType(), bmDDB);
  EXPECT_TRUE(fresh.Empty());
  EXPECT_EQ(fresh.Handle(), nullptr);
}

TEST(Bitmap, ResizingKeepsTheImageAtTheTopLeft) {
  auto b = WhiteBitmap(2, 2);
  b->Canvas()->SetPixels(1, 1, clBlue);
  b->SetSize(4, 3);
  EXPECT_EQ(b->Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(b->Canvas()->Pixels(3, 2), clWhite);
  b->SetWidth(1);
  EXPECT_EQ(b->Width(), 1);
  EXPECT_EQ(b->Height(), 3);
  EXPECT_THROW(b->ScanLine(3), ERangeError);
  EXPECT_THROW(b->ScanLine(-1), ERangeError);
  b->SetSize(0, 0);
  EXPECT_TRUE(b->Empty());
}

TEST(Bitmap, MaskAndAssign) {
  auto b = WhiteBitmap(3, 1);
  b->Canvas()->SetPixels(1, 0, clGreen);
  TBitmap copy;
  copy.Assign(b.get());
  EXPECT_TRUE(SamePixels(*b, copy));
  copy.Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clWhite) << "the copy is independent";

  b->Mask(clGreen);
  EXPECT_EQ(b->PixelFormat(), pf1bit);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clWhite);

  // Handles leave and come back: the bitmap keeps a copy of what it gave away.
  HBITMAP h = copy.ReleaseHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clRed);
  TBitmap adopted;
  adopted.SetHandle(h);
  EXPECT_EQ(adopted.Width(), 3);
  EXPECT_EQ(adopted.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(adopted.Canvas()->Pixels(1, 0), clGreen);
}

// --- Pictures -------------------------------------------------------------------------------

namespace {

String BitmapFile() {
  auto b = WhiteBitmap(3, 2);
  b->Canvas()->SetPixels(0, 0, clRed);
  TMemoryStream s;
  b->SaveToStream(&s);
  return StreamBytes(s);
}

String MetafileBytes() {
  TMetafile m;
  {
    TMetafileCanvas c(&m, nullptr);
    c.Brush()->SetColor(clRed);
    c.Pen()->SetColor(clRed);
    c.Rectangle(0, 0, 40, 40);
  }
  TMemoryStream s;
  m.SaveToStream(&s);
  return StreamBytes(s);
}

// A 16x16 24-bit icon: the left half red and opaque, the right half transparent.
String IconFile() {
  BITMAPINFOHEADER ih = {};
  ih.biSize = 40;
  ih.biWidth = 16;
  ih.biHeight = 32;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  String colour, mask;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) colour += x < 8 ? String("\x00\x00\xFF", 3) : String(3, '\0');
    mask += String("\x00\xFF\x00\x00", 4);  // 1 = transparent, rows padded to 4 bytes
  }
  String image = String(reinterpret_cast<const char*>(&ih), sizeof(ih)) + colour + mask;
  String out("\0\0\1\0\1\0", 6);
  out += String("\x10\x10\0\0\1\0\x18\0", 8);
  std::uint32_t size = std::uint32_t(image.size()), offset = 22;
  out.append(reinterpret_cast<const char*>(&size), 4);
  out.append(reinterpret_cast<const char*>(&offset), 4);
  return out + image;
}

}  // namespace

TEST(Picture, RecognisesGraphicsByTheirFirstBytes) {
  struct Case {
    String Data;
    TClass Class;
  };
  const Case cases[] = {
      {BitmapFile(), TBitmap::StaticClass()},
      {IconFile(), TIcon::StaticClass()},
      {MetafileBytes(), TMetafile::StaticClass()},
  };
  for (const Case& c : cases) {
    TStringStream s(c.Data);
    TPicture p;
    TCounter n;
    p.OnChange = n.Event();
    p.LoadFromStream(&s);
    ASSERT_NE(p.Graphic(), nullptr);
    EXPECT_EQ(p.Graphic()->ClassType(), c.Class);
    EXPECT_GT(p.Width(), 0);
    EXPECT_EQ(n.Count, 1);
  }
  TStringStream junk(String(100, 'x'));
  TPicture p;
  EXPECT_THROW(p.LoadFromStream(&junk), EInvalidGraphic);
  EXPECT_EQ(p.Graphic(), nullptr);
}

TEST(Picture, FilesByExtension) {
  EXPECT_EQ(TPicture::FindGraphicClassByExtension(".BMP"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension("jpeg"), TJPEGImage::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension(".ico"), TIcon::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension(".emf"), TMetafile::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClassByExtension(".gif"), nullptr);

  char dir[MAX_PATH];
  ::GetTempPathA(MAX_PATH, dir);
  String name = String(dir) + "graphics_test_picture.BMP";
  {
    TStringStream s(BitmapFile());
    TPicture p;
    p.LoadFromStream(&s);
    p.SaveToFile(name);
  }
  TPicture q;
  q.LoadFromFile(name);
  ::DeleteFileA(name.c_str());
  ASSERT_NE(dynamic_cast<TBitmap*>(q.Graphic()), nullptr);
  EXPECT_EQ(q.Bitmap()->Canvas()->Pixels(0, 0), clRed);
  EXPECT_THROW(q.LoadFromFile(String(dir) + "picture.xyz"), EInvalidGraphic);
  EXPECT_NE(q.Graphic(), nullptr) << "a failed load keeps the picture";
}

TEST(Picture, TypedAccessReplacesAnotherKind) {
  TPicture p;
  TStringStream s(IconFile());
  p.LoadFromStream(&s);
  ASSERT_NE(dynamic_cast<TIcon*>(p.Graphic()), nullptr);
  TBitmap* b = p.Bitmap();
  EXPECT_EQ(p.Graphic(), b);
  EXPECT_TRUE(b->Empty());

  // Assigning copies: the source stays the caller's.
  auto source = WhiteBitmap(5, 6);
  p.SetBitmap(source.get());
  EXPECT_NE(p.Graphic(), source.get());
  EXPECT_EQ(p.Width(), 5);
  TBitmap out;
  out.Assign(&p);
  EXPECT_EQ(out.Height(), 6);
}

namespace {

const TFormValue* FindDefined(const TFormObject& Node, const String& Name) {
  for (const TFormProperty& p : Node.Properties)
    if (p.Name == Name) return &p.Value;
  return nullptr;
}

}  // namespace

TEST(Picture, DataInFormDescriptionsNamesTheClassThenItsData) {
  TSwatch s(nullptr);
  s.SetName("Swatch1");
  auto b = WhiteBitmap(3, 2);
  b->Canvas()->SetPixels(2, 1, clBlue);
  s.GetPicture()->SetBitmap(b.get());

  TWriter writer;
  TFormObject tree = writer.WriteRootComponent(&s, nullptr);
  const TFormValue* data = FindDefined(tree, "Picture.Data");
  ASSERT_NE(data, nullptr);
  const std::string& bytes = data->Binary;
  ASSERT_GT(bytes.size(), 12u);
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(bytes.substr(1, 7), "TBitmap");
  std::uint32_t size;
  std::memcpy(&size, bytes.data() + 8, 4);
  EXPECT_EQ(size, bytes.size() - 12);
  EXPECT_EQ(bytes.substr(12, 2), "BM");

  String text = WriteComponentToText(&s);
  TSwatch t(nullptr);
  ReadComponentFromText(&t, text, "test");
  TBitmap* read = dynamic_cast<TBitmap*>(t.GetPicture()->Graphic());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Width(), 3);
  EXPECT_EQ(read->Canvas()->Pixels(2, 1), clBlue);
  EXPECT_EQ(read->Canvas()->Pixels(0, 0), clWhite);

  // An empty picture writes nothing.
  TSwatch empty(nullptr);
  empty.SetName("Swatch2");
  EXPECT_EQ(WriteComponentToText(&empty).find("Picture"), String::npos);

  // An unknown class name is an error of the description.
  TSwatch u(nullptr);
  EXPECT_THROW(ReadComponentFromText(&u,
                                     "object Swatch1: TSwatch\n"
                                     "  Picture.Data = {\n"
                                     "    0454476966}\n"
                                     "end\n",
                                     "test"),
               EReadError);
}

// --- Icons and metafiles --------------------------------------------------------------------

TEST(Icon, LoadsAnIcoFileAndDrawsThroughItsMask) {
  TIcon icon;
  TStringStream s(IconFile());
  icon.LoadFromStream(&s);
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_TRUE(icon.Transparent());
  auto b = WhiteBitmap(16, 16);
  b->Canvas()->Draw(0, 0, &icon);
  EXPECT_EQ(b->Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(b->Canvas()->Pixels(12, 12), clWhite);
  EXPECT_THROW(icon.SetWidth(32), EInvalidGraphicOperation);

  TMemoryStream out;
  icon.SaveToStream(&out);
  EXPECT_EQ(StreamBytes(out), IconFile()) << "the file read is written back";

  TIcon copy;
  copy.Assign(&icon);
  auto c = WhiteBitmap(16, 16);
  c->Canvas()->Draw(0, 0, &copy);
  EXPECT_EQ(c->Canvas()->Pixels(2, 2), clRed);

  const String bad[] = {String("\0\0\1\0\0\0", 6), String("\0\0\2\0\1\0", 6), IconFile().substr(0, 30)};
  for (const String& data : bad) {
    TStringStream in(data);
    TIcon i;
    EXPECT_THROW(i.LoadFromStream(&in), EInvalidGraphic);
  }
}

TEST(Icon, AnIconMadeFromAHandleIsSavedAsAnIcoFile) {
  TIcon original;
  TStringStream s(IconFile());
  original.LoadFromStream(&s);
  TIcon fromHandle;
  fromHandle.SetHandle(::CopyIcon(original.Handle()));
  TMemoryStream out;
  fromHandle.SaveToStream(&out);
  out.SetPosition(0);
  TIcon reread;
  reread.LoadFromStream(&out);
  auto b = WhiteBitmap(16, 16);
  b->Canvas()->Draw(0, 0, &reread);
  EXPECT_EQ(b->Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(b->Canvas()->Pixels(12, 12), clWhite);
}

TEST(Metafile, RecordsAndPlaysBackScaled) {
  TMetafile m;
  {
    TMetafileCanvas c(&m, nullptr);
    c.Brush()->SetColor(clRed);
    c.Pen()->SetColor(clRed);
    c.Rectangle(0, 0, 40, 40);
    c.Brush()->SetColor(clBlue);
    c.Pen()->SetColor(clBlue);
    c.Rectangle(20, 20, 40, 40);
  }
  ASSERT_FALSE(m.Empty());
  EXPECT_NEAR(m.Width(), 40, 2);
  EXPECT_NEAR(m.Height(), 40, 2);

  auto b = WhiteBitmap(100, 100);
  b->Canvas()->StretchDraw(Rect(0, 0, 80, 80), &m);
  EXPECT_EQ(b->Canvas()->Pixels(10, 10), clRed);
  EXPECT_EQ(b->Canvas()->Pixels(60, 60), clBlue) << "the blue quarter, scaled twice";
  EXPECT_EQ(b->Canvas()->Pixels(90, 90), clWhite);

  // Saved, read back and copied, it plays the same.
  TMemoryStream s;
  m.SaveToStream(&s);
  s.SetPosition(0);
  TMetafile n;
  n.LoadFromStream(&s);
  TMetafile copy;
  copy.Assign(&n);
  EXPECT_TRUE(copy.Equals(&m));
  auto c = WhiteBitmap(40, 40);
  c->Canvas()->Draw(0, 0, &copy);
  EXPECT_EQ(c->Canvas()->Pixels(5, 5), clRed);
  EXPECT_EQ(c->Canvas()->Pixels(30, 30), clBlue);

  TStringStream junk(String(200, '\0'));
  EXPECT_THROW(n.LoadFromStream(&junk), EInvalidGraphic);
}
