// Tests of TJPEGImage: decoding small JPEG files made by libjpeg, in colour and gray, at the
// reduced scales and in 256 colours; encoding from a bitmap; errors; drawing; form data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "Filer.h"
#include "Jpeg.h"
#include "JpegTestFiles.h"
#include "Streams.h"

namespace {

struct Rgb {
  int R, G, B;
};

// 16x16 in four 8x8 quadrants: red, green (top), blue, white (bottom).
const Rgb Quadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

std::string QuadrantJpeg(int Size = 16) {
  std::vector<std::uint8_t> px;
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      const Rgb& c = Quadrants[(y >= Size / 2 ? 2 : 0) + (x >= Size / 2 ? 1 : 0)];
      px.push_back(std::uint8_t(c.R));
      px.push_back(std::uint8_t(c.G));
      px.push_back(std::uint8_t(c.B));
    }
  return EncodeTestJpeg(Size, Size, 3, px);
}

void Load(TJPEGImage& J, const std::string& Data) {
  TStringStream s(Data);
  J.LoadFromStream(&s);
}

// Lossy: each channel within Tolerance.
::testing::AssertionResult Near(TColor Actual, Rgb Expected, int Tolerance = 24) {
  int r = Actual & 0xFF, g = (Actual >> 8) & 0xFF, b = (Actual >> 16) & 0xFF;
  if (std::abs(r - Expected.R) <= Tolerance && std::abs(g - Expected.G) <= Tolerance &&
      std::abs(b - Expected.B) <= Tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << r << "," << g << "," << b << ") expected (" << Expected.R << ","
                                       << Expected.G << "," << Expected.B << ")";
}

}  // namespace

TEST(Jpeg, DecodesColoursIntoA24BitBitmap) {
  TJPEGImage j;
  Load(j, QuadrantJpeg());
  EXPECT_EQ(j.Width(), 16);
  EXPECT_EQ(j.Height(), 16);
  TBitmap* b = j.Bitmap();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->PixelFormat(), pf24bit);
  EXPECT_TRUE(Near(b->Canvas()->Pixels(3, 3), Quadrants[0]));
  EXPECT_TRUE(Near(b->Canvas()->Pixels(12, 3), Quadrants[1]));
  EXPECT_TRUE(Near(b->Canvas()->Pixels(3, 12), Quadrants[2]));
  EXPECT_TRUE(Near(b->Canvas()->Pixels(12, 12), Quadrants[3]));
  // The scan line holds blue, green, red bytes.
  const auto* row = static_cast<const std::uint8_t*>(b->ScanLine(3));
  EXPECT_GT(row[3 * 3 + 2], 200);
  EXPECT_LT(row[3 * 3 + 0], 60);
}

TEST(Jpeg, GrayscaleDecodesToGraysAndBack) {
  TJPEGImage j;
  Load(j, QuadrantJpeg());
  j.SetGrayscale(true);
  TBitmap* b = j.Bitmap();
  EXPECT_EQ(b->PixelFormat(), pf8bit);
  std::vector<TColor> table = b->ColorTable();
  ASSERT_EQ(table.size(), 256u);
  EXPECT_EQ(table[0], clBlack);
  EXPECT_EQ(table[128], RGBToColor(128, 128, 128));
  // Luminance: red about 76, green about 150, blue about 29, white 255.
  const auto* top = static_cast<const std::uint8_t*>(b->ScanLine(3));
  const auto* bottom = static_cast<const std::uint8_t*>(b->ScanLine(12));
  EXPECT_NEAR(top[3], 76, 12);
  EXPECT_NEAR(top[12], 150, 12);
  EXPECT_NEAR(bottom[3], 29, 12);
  EXPECT_NEAR(bottom[12], 255, 6);

  j.SetGrayscale(false);
  EXPECT_EQ(j.Bitmap()->PixelFormat(), pf24bit) << "the flag restored decodes in colour again";
  EXPECT_TRUE(Near(j.Bitmap()->Canvas()->Pixels(3, 3), Quadrants[0]));
}

TEST(Jpeg, ScalesDivideTheSizeRoundingUp) {
  struct Case {
    TJPEGScale Scale;
    int Width, Height;
  };
  const Case cases[] = {{jsFullSize, 17, 9}, {jsHalf, 9, 5}, {jsQuarter, 5, 3}, {jsEighth, 3, 2}};
  std::vector<std::uint8_t> px(17 * 9, 128);
  std::string data = EncodeTestJpeg(17, 9, 1, px);
  for (const Case& c : cases) {
    TJPEGImage j;
    Load(j, data);
    j.SetScale(c.Scale);
    EXPECT_EQ(j.Width(), c.Width) << c.Scale;
    EXPECT_EQ(j.Height(), c.Height) << c.Scale;
    EXPECT_EQ(j.Bitmap()->Width(), c.Width) << c.Scale;
    EXPECT_EQ(j.Bitmap()->Height(), c.Height) << c.Scale;
  }

  TJPEGImage half;
  Load(half, QuadrantJpeg());
  half.SetScale(jsHalf);
  TBitmap* b = half.Bitmap();
  EXPECT_EQ(b->Width(), 8);
  EXPECT_TRUE(Near(b->Canvas()->Pixels(1, 1), Quadrants[0]));
  EXPECT_TRUE(Near(b->Canvas()->Pixels(6, 6), Quadrants[3]));
}

TEST(Jpeg, EightBitOutputHasAColourTable) {
  TJPEGImage j;
  Load(j, QuadrantJpeg());
  j.SetPixelFormat(jf8Bit);
  TBitmap* b = j.Bitmap();
  EXPECT_EQ(b->PixelFormat(), pf8bit);
  EXPECT_TRUE(Near(b->Canvas()->Pixels(3, 3), Quadrants[0], 40));
  EXPECT_TRUE(Near(b->Canvas()->Pixels(3, 12), Quadrants[2], 40));
}

TEST(Jpeg, InvalidDataIsRefused) {
  std::string good = QuadrantJpeg();
  const std::string cases[] = {std::string(), std::string("\xFF\xD8\xFF\xE0", 4), std::string(50, 'x')};
  for (const std::string& data : cases) {
    TJPEGImage j;
    EXPECT_THROW(Load(j, data), EJPEG) << data.size();
    EXPECT_TRUE(j.Empty());
  }
  TJPEGImage j;
  EXPECT_THROW(j.SetWidth(3), EInvalidGraphicOperation);
}

TEST(Jpeg, EncodesABitmapItWasAssigned) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(16, 16);
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  b.Canvas()->Brush()->SetColor(clYellow);
  b.Canvas()->FillRect(Rect(8, 0, 16, 16));
  TJPEGImage j;
  j.Assign(&b);
  EXPECT_EQ(j.Width(), 16);
  TMemoryStream s;
  j.SaveToStream(&s);
  ASSERT_GT(s.Size(), 4);
  EXPECT_EQ(std::memcmp(s.Memory(), "\xFF\xD8\xFF", 3), 0);

  s.SetPosition(0);
  TJPEGImage k;
  k.LoadFromStream(&s);
  EXPECT_TRUE(Near(k.Bitmap()->Canvas()->Pixels(2, 8), {0, 0, 255}));
  EXPECT_TRUE(Near(k.Bitmap()->Canvas()->Pixels(13, 8), {255, 255, 0}));

  // And back to a bitmap.
  TBitmap out;
  out.Assign(&k);
  EXPECT_EQ(out.Width(), 16);
  EXPECT_TRUE(Near(out.Canvas()->Pixels(13, 8), {255, 255, 0}));
}

TEST(Jpeg, DrawsOnACanvasAndIsFoundByItsSignature) {
  TStringStream s(QuadrantJpeg());
  TPicture p;
  p.LoadFromStream(&s);
  ASSERT_NE(dynamic_cast<TJPEGImage*>(p.Graphic()), nullptr);
  TBitmap dest;
  dest.SetPixelFormat(pf24bit);
  dest.SetSize(40, 40);
  dest.Canvas()->StretchDraw(Rect(0, 0, 32, 32), p.Graphic());
  EXPECT_TRUE(Near(dest.Canvas()->Pixels(5, 5), Quadrants[0]));
  EXPECT_TRUE(Near(dest.Canvas()->Pixels(26, 26), Quadrants[3]));
  EXPECT_EQ(dest.Canvas()->Pixels(35, 35), clWhite);
}

namespace {

class TBackdrop : public TComponent {
  VELBOR_DECLARE_CLASS(TBackdrop, TComponent)
 public:
  explicit TBackdrop(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBackdrop() override { delete FPicture; }
  TPicture* GetPicture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }

 private:
  TPicture* FPicture = new TPicture();
};
VELBOR_IMPLEMENT_CLASS(TBackdrop)
VELBOR_PUBLISHED(TBackdrop, Prop("Picture", &Self::GetPicture, &Self::SetPicture))

}  // namespace

TEST(Jpeg, PictureDataHoldsTheSizeThenTheJpegFile) {
  std::string jpeg = QuadrantJpeg();
  TBackdrop a(nullptr);
  a.SetName("Backdrop1");
  TStringStream s(jpeg);
  a.GetPicture()->LoadFromStream(&s);

  TWriter writer;
  TFormObject tree = writer.WriteRootComponent(&a, nullptr);
  ASSERT_EQ(tree.Properties.size(), 1u);
  EXPECT_EQ(tree.Properties[0].Name, "Picture.Data");
  const std::string& bytes = tree.Properties[0].Value.Binary;
  std::string expected = std::string("\x0ATJPEGImage");
  std::uint32_t size = std::uint32_t(jpeg.size());
  expected.append(reinterpret_cast<const char*>(&size), 4);
  expected += jpeg;
  EXPECT_EQ(bytes, expected);

  TBackdrop b(nullptr);
  ReadComponentFromText(&b, WriteComponentToText(&a), "test");
  auto* j = dynamic_cast<TJPEGImage*>(b.GetPicture()->Graphic());
  ASSERT_NE(j, nullptr);
  EXPECT_EQ(j->Data(), jpeg);
  EXPECT_TRUE(Near(j->Bitmap()->Canvas()->Pixels(12, 3), Quadrants[1]));
}
