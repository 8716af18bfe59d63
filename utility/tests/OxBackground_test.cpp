// Tests of the background picture: the colour conversions behind the gray map, the tile following
// the picture, the scaled copy of a stretched picture kept for its size and its pixels, a picture stretched over
// an MDI client area and tiled behind a plain form read back from the screen, tiles in step with scrolled content, transparent parts of a gray-mapped picture,
// links added, taken over and removed, a linked form freed first, and the information record read
// from and written to a description.
#include <gtest/gtest.h>

#include <cstdint>

#include "Filer.h"
#include "Forms.h"
#include "Jpeg.h"
#include "OxBackground.h"
#include "OxComponentInfo.h"
#include "UiTestSupport.h"

namespace {

COLORREF WindowPixel(HWND Wnd, int X, int Y) {
  return GetPixel(TWindowDC(Wnd), X, Y);
}

// A 20 x 10 bitmap: left half red, right half blue.
void TwoColours(TBitmap* B) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(20, 10);
  B->Canvas()->Brush()->SetColor(clRed);
  B->Canvas()->FillRect(Rect(0, 0, 10, 10));
  B->Canvas()->Brush()->SetColor(clBlue);
  B->Canvas()->FillRect(Rect(10, 0, 20, 10));
}

TEST(OxBackgroundColours, HLSConversionsAndGrayMap) {
  struct Case {
    COLORREF Rgb;
    THLS Hls;
  };
  const Case cases[] = {
      {RGB(255, 0, 0), {0, 120, 240}},   {RGB(0, 255, 0), {80, 120, 240}}, {RGB(0, 0, 255), {160, 120, 240}},
      {RGB(0, 0, 0), {160, 0, 0}},       {RGB(255, 255, 255), {160, 240, 0}},
      {RGB(128, 128, 128), {160, 120, 0}},
  };
  for (const Case& c : cases) {
    THLS h = RGBToHLS(c.Rgb);
    EXPECT_EQ(h.H, c.Hls.H) << std::hex << c.Rgb;
    EXPECT_EQ(h.L, c.Hls.L) << std::hex << c.Rgb;
    EXPECT_EQ(h.S, c.Hls.S) << std::hex << c.Rgb;
    if (c.Rgb != RGB(128, 128, 128)) {
      EXPECT_EQ(HLSToRGB(c.Hls), c.Rgb) << std::hex << c.Rgb;
    }
  }
  // Black stays black, 192 is the button face, white the highlight (within the scale's rounding).
  EXPECT_EQ(GrayMapEntry(0), RGB(0, 0, 0));
  auto close = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 2;
  };
  EXPECT_TRUE(close(GrayMapEntry(192), ColorToRGB(clBtnFace)));
  EXPECT_TRUE(close(GrayMapEntry(255), ColorToRGB(clBtnHighlight)));
}

TEST(OxBackgroundImage, TileFollowsThePictureAndShiftDropsZigzag) {
  TBackgroundImage image;
  TBitmap b;
  TwoColours(&b);
  image.Picture()->SetGraphic(&b);
  EXPECT_TRUE(image.HasPicture());
  EXPECT_EQ(image.TileWidth(), 20);
  EXPECT_EQ(image.TileHeight(), 10);
  image.SetAutoSizeTile(false);
  image.SetTileWidth(5);  // below the picture: raised to it
  EXPECT_EQ(image.TileWidth(), 20);
  image.SetTileWidth(30);  // a wider tile centres the picture in a prepared bitmap
  ASSERT_NE(image.Prepared(), nullptr);
  EXPECT_EQ(image.Prepared()->Width(), 30);
  image.SetZigzag(true);
  image.SetShift(3);
  EXPECT_FALSE(image.Zigzag());
  // Stretched, with nothing to prepare, the picture is drawn as it is.
  image.SetMode(bmStretch);
  EXPECT_EQ(image.Prepared(), nullptr);
}

// A form to paint for, and a bitmap standing for its device context.
class OxBackgroundPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = CreateForm<TForm>(nullptr);
    Form->SetBounds(60, 60, 200, 120);
    Form->SetColor(clLime);
    Form->HandleNeeded();
    Target.SetPixelFormat(pf24bit);
    Target.SetSize(100, 40);
    TwoColours(&Picture);
    Image.Picture()->SetGraphic(&Picture);
  }
  void TearDown() override { Form->Free(); }
  COLORREF Pixel(int X, int Y) { return GetPixel(Target.Canvas()->Handle(), X, Y); }

  TForm* Form = nullptr;
  TBitmap Target;
  TBitmap Picture;
  TBackgroundImage Image;
};

// The tiles keep step with the scrolled content: 30 pixels scrolled in 20-pixel tiles puts the
// blue half of a tile at the left edge.
TEST_F(OxBackgroundPaint, TilesFollowTheScrolledContent) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
  si.nMin = 0;
  si.nMax = 399;
  si.nPage = 100;
  si.nPos = 30;
  SetScrollInfo(Form->Handle(), SB_HORZ, &si, FALSE);
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(Pixel(2, 5), ColorToRGB(clBlue));
  EXPECT_EQ(Pixel(12, 5), ColorToRGB(clRed));
  EXPECT_EQ(Pixel(22, 5), ColorToRGB(clBlue));
}

// Gray-mapped and transparent: the parts in the transparent colour (the bottom-left pixel, red)
// show the form's brush, the rest is recoloured in the button tones.
TEST_F(OxBackgroundPaint, GrayMappedTransparentPartsShowTheBrush) {
  Image.SetMode(bmTopLeft);
  Image.SetTransparent(true);
  Image.SetGrayMapped(true);
  ASSERT_NE(Image.Prepared(), nullptr);
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(Pixel(5, 5), ColorToRGB(clLime));
  COLORREF shown = Pixel(15, 5);
  EXPECT_NE(shown, ColorToRGB(clLime));
  EXPECT_NE(shown, ColorToRGB(clBlue));
  bool inGrayMap = false;
  for (int i = 0; i < 256 && !inGrayMap; ++i) inGrayMap = GrayMapEntry(i) == shown;
  EXPECT_TRUE(inGrayMap) << std::hex << shown;
  EXPECT_EQ(Pixel(40, 20), ColorToRGB(clLime));  // outside the picture: the brush
}

// A 7 x 5 picture whose every pixel has a colour of its own, so that any other scaling shows.
void Mosaic(TBitmap* B, int Blue) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(7, 5);
  for (int x = 0; x < 7; ++x) {
    for (int y = 0; y < 5; ++y) SetPixel(B->Canvas()->Handle(), x, y, RGB(x * 36, y * 60, Blue));
  }
}

// The pixels of Target that differ from what stretching Picture over Area draws on the form's
// colour, as "x,y" texts (empty when the two agree everywhere).
String DifferencesFromStretch(TBitmap& Target, TGraphic* Picture, const TRect& Area, TColor Color) {
  TBitmap expected;
  expected.SetPixelFormat(pf24bit);
  expected.SetSize(Target.Width(), Target.Height());
  expected.Canvas()->Brush()->SetColor(Color);
  expected.Canvas()->FillRect(Rect(0, 0, expected.Width(), expected.Height()));
  expected.Canvas()->StretchDraw(Area, Picture);
  String out;
  for (int y = 0; y < Target.Height(); ++y) {
    for (int x = 0; x < Target.Width(); ++x) {
      if (GetPixel(Target.Canvas()->Handle(), x, y) != GetPixel(expected.Canvas()->Handle(), x, y)) {
        if (out.size() < 200) out += std::to_string(x) + "," + std::to_string(y) + " ";
      }
    }
  }
  return out;
}

// Stretched, the picture is scaled once for the client size and copied at later paints; what
// shows is what stretching it at every paint drew. A new size, picture or brush makes it again.
TEST_F(OxBackgroundPaint, AStretchedPictureIsScaledOnceForTheClientSize) {
  TBitmap mosaic;
  Mosaic(&mosaic, 100);
  Image.Picture()->SetGraphic(&mosaic);
  Image.SetMode(bmStretch);
  Target.SetSize(260, 160);
  // What the paint leaves outside the client area keeps the form's colour.
  auto ClearTarget = [this] {
    Target.Canvas()->Brush()->SetColor(clLime);
    Target.Canvas()->FillRect(Rect(0, 0, Target.Width(), Target.Height()));
  };
  ClearTarget();
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  TRect area = Form->ClientRect();
  EXPECT_EQ(DifferencesFromStretch(Target, &mosaic, area, clLime), "");
  ASSERT_NE(Image.Scaled(), nullptr);
  EXPECT_EQ(Image.Scaled()->Width(), area.Width());
  EXPECT_EQ(Image.Scaled()->Height(), area.Height());

  // At the same size the kept copy is what is painted: a mark put in it shows.
  SetPixel(Image.Scaled()->Canvas()->Handle(), 3, 3, RGB(1, 2, 3));
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(Pixel(3, 3), RGB(1, 2, 3));

  // Resized, it is scaled again for the new size: the mark is gone.
  Form->SetBounds(60, 60, 150, 100);
  ClearTarget();
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  TRect smaller = Form->ClientRect();
  ASSERT_NE(smaller.Width(), area.Width());
  EXPECT_EQ(DifferencesFromStretch(Target, &mosaic, smaller, clLime), "");
  EXPECT_EQ(Image.Scaled()->Width(), smaller.Width());

  // Another picture at the same size: scaled again.
  TBitmap other;
  Mosaic(&other, 220);
  Image.Picture()->SetGraphic(&other);
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(DifferencesFromStretch(Target, &other, smaller, clLime), "");

  // Transparent, the parts in the transparent colour (the bottom-left pixel's) show the form's
  // brush: another brush colour is scaled again.
  Image.Picture()->SetGraphic(&Picture);
  Image.SetTransparent(true);
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(Pixel(smaller.Width() / 4, smaller.Height() / 2), ColorToRGB(clLime));
  EXPECT_EQ(Pixel(smaller.Width() * 3 / 4, smaller.Height() / 2), ColorToRGB(clBlue));
  Form->SetColor(clYellow);
  ASSERT_TRUE(Image.PaintOn(Form, Target.Canvas()->Handle()));
  EXPECT_EQ(Pixel(smaller.Width() / 4, smaller.Height() / 2), ColorToRGB(clYellow));
  EXPECT_EQ(Pixel(smaller.Width() * 3 / 4, smaller.Height() / 2), ColorToRGB(clBlue));
}

// A picture of pixels whose colours follow no pattern (the same at every run): a pixel taken from
// a neighbouring place shows.
void Noise(TBitmap* B, TPixelFormat Format, int Width, int Height) {
  B->SetPixelFormat(Format);
  B->SetSize(Width, Height);
  const int rowBytes = Width * (Format == pf32bit ? 4 : 3);
  std::uint32_t seed = 2024;
  for (int y = 0; y < Height; ++y) {
    auto* row = static_cast<std::uint8_t*>(B->ScanLine(y));
    for (int i = 0; i < rowBytes; ++i) {
      seed = seed * 1103515245u + 12345u;
      row[i] = std::uint8_t(seed >> 16);
    }
  }
}

// How many pixels of two 32-bit bitmaps of one size differ in colour, with the first few places.
String ColourDifferences(TBitmap& Painted, TBitmap& Expected) {
  int count = 0;
  String first;
  for (int y = 0; y < Painted.Height(); ++y) {
    const auto* a = static_cast<const std::uint32_t*>(Painted.ScanLine(y));
    const auto* b = static_cast<const std::uint32_t*>(Expected.ScanLine(y));
    for (int x = 0; x < Painted.Width(); ++x) {
      if (((a[x] ^ b[x]) & 0x00FFFFFF) == 0) continue;
      if (++count <= 5) first += " " + std::to_string(x) + "," + std::to_string(y);
    }
  }
  return count == 0 ? String() : std::to_string(count) + " pixels, at" + first;
}

// Whatever the sizes, the scaled copy holds the pixels a stretch by the system draws: enlarged,
// reduced, enlarged one way and reduced the other, from 24- and 32-bit pictures and from a JPEG
// picture's decoded image.
TEST_F(OxBackgroundPaint, AScaledPictureHasThePixelsOfAStretchByTheSystem) {
  struct TCase {
    const char* What;
    TPixelFormat Format;
    int PictureWidth, PictureHeight, FormWidth, FormHeight;
    bool Jpeg;
  };
  const TCase cases[] = {
      {"24 bits, enlarged to about the screen", pf24bit, 859, 563, 1280, 1000, false},
      {"24 bits, reduced", pf24bit, 640, 480, 301, 203, false},
      {"32 bits, wider and lower", pf32bit, 97, 301, 703, 157, false},
      {"32 bits, a few pixels enlarged", pf32bit, 3, 2, 641, 479, false},
      {"JPEG, enlarged", pf24bit, 430, 282, 900, 700, true},
  };
  Image.SetMode(bmStretch);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TBitmap noise;
    Noise(&noise, c.Format, c.PictureWidth, c.PictureHeight);
    if (c.Jpeg) {
      TJPEGImage jpeg;
      jpeg.Assign(&noise);
      jpeg.JPEGNeeded();
      Image.Picture()->SetGraphic(&jpeg);
    } else {
      Image.Picture()->SetGraphic(&noise);
    }
    Form->SetBounds(0, 0, c.FormWidth, c.FormHeight);
    const TRect area = Form->ClientRect();
    TBitmap painted, expected;
    for (TBitmap* b : {&painted, &expected}) {
      b->SetPixelFormat(pf32bit);
      b->SetSize(area.Width(), area.Height());
    }
    ASSERT_TRUE(Image.PaintOn(Form, painted.Canvas()->Handle()));
    ASSERT_NE(Image.Scaled(), nullptr);
    ASSERT_EQ(Image.Scaled()->Width(), area.Width());
    expected.Canvas()->StretchDraw(area, Image.Picture()->Graphic());
    EXPECT_EQ(ColourDifferences(painted, expected), "");
  }
}

TEST(OxBackgroundForms, StretchedOverMdiClientAndTiledBehindAPlainForm) {
  RegisterOxBackground();
  TForm* frame = CreateForm<TForm>(nullptr);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(40, 40, 400, 300);
  auto* background = new TqzBackground(frame);
  background->SetName("Background");
  TBitmap b;
  TwoColours(&b);
  background->Image()->Picture()->SetGraphic(&b);
  background->Image()->SetMode(bmStretch);
  background->Clients()->AddClient(frame);
  frame->Show();
  ASSERT_TRUE(Painted(frame));
  TClientLink* link = background->Clients()->Links(0);
  EXPECT_TRUE(link->IsMDI());
  ASSERT_EQ(link->HookedWindow(), frame->ClientHandle());
  RECT r;
  GetClientRect(frame->ClientHandle(), &r);
  // Stretched: the left half red, the right half blue, over the whole client area.
  EXPECT_EQ(WindowPixel(frame->ClientHandle(), r.right / 4, r.bottom / 2), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixel(frame->ClientHandle(), r.right * 3 / 4, r.bottom / 2), ColorToRGB(clBlue));
  // Widened, the whole picture is stretched again: a point once in the blue half is now red.
  const int x = r.right * 2 / 3;
  frame->SetBounds(40, 40, 700, 300);
  ASSERT_TRUE(Painted(frame));
  GetClientRect(frame->ClientHandle(), &r);
  ASSERT_LT(x, r.right / 2);
  EXPECT_EQ(WindowPixel(frame->ClientHandle(), x, r.bottom / 2), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixel(frame->ClientHandle(), r.right * 3 / 4, r.bottom / 2), ColorToRGB(clBlue));

  // A plain form, tiled; linking it to a second background takes it from the first.
  TForm* plain = CreateForm<TForm>(nullptr);
  plain->SetBounds(100, 100, 200, 120);
  plain->Show();
  background->Clients()->AddClient(plain);
  auto* other = new TqzBackground(frame);
  other->Image()->Picture()->SetGraphic(&b);
  other->Clients()->AddClient(plain);
  PumpPending();
  ASSERT_TRUE(Painted(plain));
  EXPECT_EQ(background->Clients()->Count(), 1);
  EXPECT_EQ(TqzBackground::FindLinking(plain), other);
  EXPECT_EQ(WindowPixel(plain->Handle(), 5, 5), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixel(plain->Handle(), 15, 5), ColorToRGB(clBlue));
  EXPECT_EQ(WindowPixel(plain->Handle(), 25, 15), ColorToRGB(clRed));  // the next tile

  // A recreated window is hooked again once the posted request arrives.
  plain->SetBorderStyle(bsDialog);
  PumpPending();
  TClientLink* plainLink = other->Clients()->Find(plain);
  ASSERT_NE(plainLink, nullptr);
  EXPECT_EQ(plainLink->HookedWindow(), plain->Handle());
  EXPECT_EQ(WNDPROC(GetWindowLongPtrA(plain->Handle(), GWLP_WNDPROC)) != nullptr, true);

  // The linked form freed first: its link goes, nothing points at it any more.
  plain->Free();
  PumpPending();
  EXPECT_EQ(other->Clients()->Count(), 0);
  EXPECT_EQ(TqzBackground::FindLinking(plain), nullptr);
  other->Image()->SetMode(bmCenter);  // invalidates every client: none left
  // Removing the frame's link puts its client window's procedure back.
  WNDPROC hooked = WNDPROC(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC));
  background->Clients()->RemoveClient(frame);
  EXPECT_NE(WNDPROC(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC)), hooked);
  PumpPending();
  frame->Free();
  PumpPending();
}

// The background "Background" of the window frmMain, read from a description holding Properties.
TqzBackground* ReadBackground(TForm* Form, const String& Properties) {
  ReadComponentFromText(Form, "object frmMain: TForm\n  object Background: TqzBackground\n" + Properties + "  end\nend\n",
                        "background");
  return dynamic_cast<TqzBackground*>(Form->FindComponent("Background"));
}

TEST(OxBackgroundForms, ClientsListStopsAtAMissingName) {
  RegisterOxBackground();
  TForm* form = CreateForm<TForm>(nullptr);
  form->SetName("frmMain");
  auto* second = CreateForm<TForm>(form);
  second->SetName("Other");
  auto* background = ReadBackground(form,
                                    "    Clients = ('frmMain' 'Missing' 'Other')\n"
                                    "    Image.Mode = bmStretch\n");
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->Image()->Mode(), bmStretch);
  ASSERT_EQ(background->Clients()->Count(), 1);
  EXPECT_EQ(background->Clients()->Links(0)->Client(), form);
  String text = WriteComponentToText(form);
  EXPECT_NE(text.find("'frmMain'"), String::npos) << text;
  form->Free();
  PumpPending();
}

// The main window's description carries the background's information record: it is read without
// error, the record keeps the component's own values and notes the version it was written with.
TEST(OxBackgroundForms, TheInformationRecordIsReadAndWrittenWithTheBackground) {
  RegisterOxBackground();
  TForm* form = CreateForm<TForm>(nullptr);
  form->SetName("frmMain");
  auto* background = ReadBackground(form,
                                    "    Info.CopyrightOwner = 'Autre'\n"
                                    "    Info.Misc = 'Autre texte'\n"
                                    "    Info.Version = '0.9'\n"
                                    "    Image.Mode = bmStretch\n");
  ASSERT_NE(background, nullptr);
  TqzComponentInfo* info = background->Info();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Owner(), background);
  EXPECT_EQ(info->FileImageVersion(), "0.9");
  EXPECT_EQ(info->CopyrightOwner(), "Velbor");
  EXPECT_NE(info->Version(), "0.9");
  EXPECT_FALSE(info->Version().empty());
  String text = WriteComponentToText(form);
  EXPECT_NE(text.find("Info.Version = '" + info->Version() + "'"), String::npos) << text;
  EXPECT_NE(text.find("Info.FileImageVersion = '0.9'"), String::npos) << text;
  form->Free();
}

}  // namespace
