// Tests of TqvBitmap: the row layout, new and empty images, the pixel effects' arithmetic, the
// bilinear stretch, transparent drawing through the mask, the dormant copy and assignment to and
// from platform bitmaps; and of TqvGridPaintOptions: which blended images it builds.
#include <gtest/gtest.h>

#include <memory>

#include "qvbitmap.h"
#include "qvpaintoptions.h"

namespace {

// The blue, green and red bytes of a pixel.
struct TBgr {
  int B, G, R;
  bool operator==(const TBgr&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const TBgr& P) { return Out << "(b" << P.B << " g" << P.G << " r" << P.R << ")"; }

TBgr At(const TqvBitmap& Image, int X, int Y) {
  const std::uint8_t* P = Image.ScanLine(Y) + 3 * X;
  return TBgr{P[0], P[1], P[2]};
}

void Put(TqvBitmap& Image, int X, int Y, TBgr Value) {
  std::uint8_t* P = Image.ScanLine(Y) + 3 * X;
  P[0] = std::uint8_t(Value.B);
  P[1] = std::uint8_t(Value.G);
  P[2] = std::uint8_t(Value.R);
}

// A one-pixel image of that value.
std::unique_ptr<TqvBitmap> Pixel(TBgr Value) {
  auto Image = std::make_unique<TqvBitmap>();
  Image->CreateImage(1, 1);
  Put(*Image, 0, 0, Value);
  return Image;
}

}  // namespace

TEST(QvBitmapLayout, RowsArePaddedToFourBytesAndTopRowFirst) {
  struct TCase {
    int Width, Gap, Pitch;
  };
  for (TCase Case : {TCase{5, 1, 16}, TCase{4, 0, 12}, TCase{1, 1, 4}, TCase{3, 3, 12}}) {
    SCOPED_TRACE(Case.Width);
    TqvBitmap Image;
    Image.CreateImage(Case.Width, 3);
    EXPECT_EQ(Image.RowGap(), Case.Gap);
    EXPECT_EQ(Image.Pitch(), Case.Pitch);
    EXPECT_EQ(Image.ImageSize(), Case.Pitch * 3);
    EXPECT_EQ(Image.ScanLine(1) - Image.ScanLine(0), Case.Pitch);
  }
  // Row 0 is the top row on the device too.
  TqvBitmap Image;
  Image.CreateImage(2, 2);
  Put(Image, 0, 0, {0, 0, 255});
  GdiFlush();
  EXPECT_EQ(GetPixel(Image.DC(), 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Image.DC(), 0, 1), RGB(255, 255, 255));
}

TEST(QvBitmapLayout, NewImagesAreWhiteAndAZeroSizeLeavesItEmpty) {
  TqvBitmap Image;
  Image.CreateImage(3, 2);
  EXPECT_FALSE(Image.Empty());
  EXPECT_EQ(At(Image, 2, 1), (TBgr{255, 255, 255}));
  Image.CreateImage(0, 5);
  EXPECT_TRUE(Image.Empty());
  Image.CreateImage(5, 0);
  EXPECT_TRUE(Image.Empty());
  EXPECT_THROW(Image.ScanLine(0), ERangeError);
}

TEST(QvBitmapEffects, ChannelArithmetic) {
  struct TCase {
    const char* Name;
    TBgr Before;
    void (*Apply)(TqvBitmap&);
    TBgr After;
  };
  const TCase Cases[] = {
      // i + a * (255 - i) div 256 for a > 0; i - i * |a| div 256 below.
      {"lightness up", {100, 0, 255}, [](TqvBitmap& I) { I.Lightness(128); }, {100 + 128 * 155 / 256, 127, 255}},
      {"lightness down", {100, 0, 255}, [](TqvBitmap& I) { I.Lightness(-64); }, {100 - 100 * 64 / 256, 0, 255 - 255 * 64 / 256}},
      // Below 127 away from 128 downwards, from 127 upwards.
      {"contrast", {100, 127, 200}, [](TqvBitmap& I) { I.Contrast(256); }, {72, 128, 255}},
      {"grey scale", {30, 60, 90}, [](TqvBitmap& I) { I.GrayScale(); }, {60, 60, 60}},
      {"invert", {0, 100, 255}, [](TqvBitmap& I) { I.Invert(); }, {255, 155, 0}},
      {"add colour, clamped", {250, 10, 100}, [](TqvBitmap& I) { I.AddColor(10, -20, 10); }, {255, 0, 110}},
      // Tint: each channel plus half the component (rounded to even) minus 128.
      {"tint white", {10, 20, 30}, [](TqvBitmap& I) { I.Tint(255, 255, 255); }, {10 - 0, 20 - 0, 30 - 0}},
      {"tint black", {200, 20, 128}, [](TqvBitmap& I) { I.Tint(0, 0, 0); }, {72, 0, 0}},
      {"saturation 0 is grey", {30, 60, 90}, [](TqvBitmap& I) { I.Saturation(0); }, {60, 60, 60}},
      {"mask of colour", {1, 2, 3}, [](TqvBitmap& I) { I.MaskOfColor(TColor(RGB(3, 2, 1))); }, {0, 0, 0}},
      {"mask of another colour", {1, 2, 4}, [](TqvBitmap& I) { I.MaskOfColor(TColor(RGB(3, 2, 1))); }, {255, 255, 255}},
      {"replace colour", {1, 2, 3}, [](TqvBitmap& I) { I.ReplaceColor(clRed, TColor(RGB(3, 2, 1))); }, {0, 0, 255}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto Image = Pixel(Case.Before);
    Case.Apply(*Image);
    EXPECT_EQ(At(*Image, 0, 0), Case.After);
  }
}

TEST(QvBitmapEffects, TintSparesTheTransparentKeyColour) {
  TqvBitmap Image;
  Image.CreateImage(2, 1);
  Put(Image, 0, 0, {0, 255, 0});
  Put(Image, 1, 0, {0, 254, 0});
  Image.SetTransparentKey(clLime);
  Image.Tint(0, 0, 0);
  EXPECT_EQ(At(Image, 0, 0), (TBgr{0, 255, 0}));
  EXPECT_EQ(At(Image, 1, 0), (TBgr{0, 126, 0}));
}

TEST(QvBitmapEffects, FlipsMirrorRowsOrColumns) {
  TqvBitmap Image;
  Image.CreateImage(3, 2);
  Put(Image, 0, 0, {1, 1, 1});
  Put(Image, 2, 1, {2, 2, 2});
  Image.Flip(true);
  EXPECT_EQ(At(Image, 2, 0), (TBgr{1, 1, 1}));
  EXPECT_EQ(At(Image, 0, 1), (TBgr{2, 2, 2}));
  Image.Flip(false);
  EXPECT_EQ(At(Image, 2, 1), (TBgr{1, 1, 1}));
  EXPECT_EQ(At(Image, 0, 0), (TBgr{2, 2, 2}));
}

TEST(QvBitmapEffects, RotateByNinetyDegreesTurnsThePicture) {
  // A red pixel at the top-right of a 4 x 4 image, turned a quarter about the middle: to the
  // bottom-right; what comes from outside takes the top-left pixel's colour (white).
  TqvBitmap Image;
  Image.CreateImage(4, 4);
  Put(Image, 3, 0, {0, 0, 255});
  Image.Rotate(-1, -1, 90);
  EXPECT_EQ(At(Image, 3, 3), (TBgr{0, 0, 255}));
  EXPECT_EQ(At(Image, 3, 0), (TBgr{255, 255, 255}));
  // A centre off the image: every pixel comes from outside.
  Put(Image, 0, 0, {1, 2, 3});
  Image.Rotate(100, 100, 90);
  EXPECT_EQ(At(Image, 2, 2), (TBgr{1, 2, 3}));
}

TEST(QvBitmapStretch, BilinearStretchFollowsTheFixedPointFormula) {
  // A gradient 0 .. 255 across two pixels, stretched to four: the steps are ((2 - 1) * 32768)
  // div 4 = 8192, so the columns take 0, 1/4, 2/4 and 3/4 of the way.
  TqvBitmap Source;
  Source.CreateImage(2, 1);
  Put(Source, 0, 0, {0, 0, 0});
  Put(Source, 1, 0, {255, 255, 255});
  TqvBitmap Target;
  Target.CreateImage(4, 1);
  TCanvas* Canvas = Target.Canvas();
  Source.SmoothStretchDraw(Canvas, Rect(0, 0, 4, 1));
  GdiFlush();
  EXPECT_EQ(At(Target, 0, 0).B, 0);
  EXPECT_EQ(At(Target, 1, 0).B, 255 * 8192 / 32768);
  EXPECT_EQ(At(Target, 2, 0).B, 255 * 16384 / 32768);
  EXPECT_EQ(At(Target, 3, 0).B, 255 * 24576 / 32768);
}

TEST(QvBitmapDrawing, TransparentDrawingLeavesTheKeyColourOut) {
  TqvBitmap Image;
  Image.CreateImage(2, 1);
  Put(Image, 0, 0, {255, 0, 255});  // magenta: the key
  Put(Image, 1, 0, {0, 0, 255});    // red
  Image.SetTransparentKey(clFuchsia);
  Image.SetTransparent(true);
  TqvBitmap Target;
  Target.CreateImage(2, 1);
  Put(Target, 0, 0, {0, 255, 0});
  Put(Target, 1, 0, {0, 255, 0});
  GdiFlush();
  Image.Draw(Target.Canvas(), Rect(0, 0, 2, 1));
  GdiFlush();
  EXPECT_EQ(At(Target, 0, 0), (TBgr{0, 255, 0}));
  EXPECT_EQ(At(Target, 1, 0), (TBgr{0, 0, 255}));
  EXPECT_TRUE(Image.HasMask());
}

TEST(QvBitmapMemory, TheDormantCopyGivesTheImageBack) {
  TqvBitmap Image;
  Image.CreateImage(3, 2);
  Put(Image, 2, 1, {7, 8, 9});
  Image.SaveToMemoryImage();
  EXPECT_TRUE(Image.Empty());
  EXPECT_TRUE(Image.HasMemoryImage());
  Image.RestoreMemoryImage();
  EXPECT_FALSE(Image.HasMemoryImage());
  ASSERT_EQ(Image.Width(), 3);
  EXPECT_EQ(At(Image, 2, 1), (TBgr{7, 8, 9}));
}

TEST(QvBitmapAssign, ToAndFromPlatformBitmapsAndImages) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetSize(3, 2);
  Platform.Canvas()->SetPixels(1, 1, clBlue);
  TqvBitmap Image;
  Image.Assign(&Platform);
  ASSERT_EQ(Image.Width(), 3);
  ASSERT_EQ(Image.Height(), 2);
  EXPECT_EQ(At(Image, 1, 1), (TBgr{255, 0, 0}));
  // Image to image: pixels and settings.
  Image.StretchSmoothly = true;
  TqvBitmap Copy;
  Copy.Assign(&Image);
  EXPECT_EQ(At(Copy, 1, 1), (TBgr{255, 0, 0}));
  EXPECT_TRUE(Copy.StretchSmoothly);
  // And back to a platform bitmap.
  TBitmap Back;
  Back.Assign(&Copy);
  EXPECT_EQ(ColorToRGB(Back.Canvas()->Pixels(1, 1)), ColorToRGB(clBlue));
  // An empty platform bitmap empties the image.
  TBitmap Empty;
  Copy.Assign(&Empty);
  EXPECT_TRUE(Copy.Empty());
}

TEST(QvBitmapLinks, ChangesReachTheLinksUnlessMuted) {
  TqvBitmap Image;
  struct TCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } Counter;
  TqvBitmapLink Link;
  Link.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  Image.AddLink(&Link);
  Image.CreateImage(2, 2);
  EXPECT_EQ(Counter.Count, 1);
  Image.MuteChanges = true;
  Image.Invert();
  EXPECT_EQ(Counter.Count, 1);
  Image.MuteChanges = false;
  Image.Invert();
  EXPECT_EQ(Counter.Count, 2);
  Image.RemoveLink(&Link);
}

TEST(QvGridPaintOptions, BlendedImagesFollowTheOptions) {
  TBitmap Paint;
  TqvGridPaintOptions Options(nullptr, &Paint);
  Paint.SetSize(20, 10);
  TBitmap Picture;
  Picture.SetSize(4, 4);
  Picture.Canvas()->Brush()->SetColor(clGray);
  Picture.Canvas()->FillRect(Rect(0, 0, 4, 4));
  TPicture Holder;
  Holder.SetGraphic(&Picture);
  Options.SetBackgroundBitmap(&Holder);
  Options.SetAlternatingRowColor(clYellow);
  Options.SetBackgroundOptions({coFillDataCells, coBlendAlternatingRow});
  Options.PrepareImages(true);
  EXPECT_FALSE(Options.RebuildImages());
  ASSERT_NE(Options.BackgroundImage(), nullptr);
  EXPECT_TRUE(Options.HasDataCellBackground());
  ASSERT_NE(Options.AlternatingRowImage(), nullptr);
  EXPECT_EQ(Options.ActiveRecordImage(), nullptr);
  EXPECT_EQ(Options.FixedColumnImage(), nullptr);
  // The picture was tiled over the paint bitmap, and the alternating image is it tinted yellow:
  // grey 128 plus (255 * 0.5 rounded to even) - 128 for red and green, minus 128 for blue.
  EXPECT_EQ(ColorToRGB(Paint.Canvas()->Pixels(19, 9)), ColorToRGB(clGray));
  EXPECT_EQ(Options.AlternatingRowImage()->PixelColor(5, 5), TColor(RGB(128, 128, 0)));
  // A colour change asks for a rebuild; without the blending option the image goes.
  Options.SetAlternatingRowColor(clAqua);
  EXPECT_TRUE(Options.RebuildImages());
  Options.SetBackgroundOptions({coFillDataCells});
  Options.PrepareImages(false);
  EXPECT_EQ(Options.AlternatingRowImage(), nullptr);
  // A region change repaints without asking for a rebuild.
  Options.SetAlternatingRowRegions({arrDataColumns});
  EXPECT_FALSE(Options.RebuildImages());
}
