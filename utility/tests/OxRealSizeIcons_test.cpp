// Tests of icons drawn at their stored size: the image chosen for the display, the size of the icon
// made from it, its drawing in a row's box, a damaged icon file refused, and icons through the
// clipboard in the format registered for them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "Clipbrd.h"
#include "OxLookupCombo.h"
#include "OxRealSizeIcons.h"
#include "Streams.h"

namespace {

struct TIconImage {
  int Size;       // width and height
  int Bits;       // 4 or 32
  COLORREF Color; // every pixel
};

void Put16(std::vector<std::uint8_t>& B, std::size_t At, unsigned V) {
  B[At] = std::uint8_t(V);
  B[At + 1] = std::uint8_t(V >> 8);
}
void Put32(std::vector<std::uint8_t>& B, std::size_t At, unsigned V) {
  for (int i = 0; i < 4; ++i) B[At + std::size_t(i)] = std::uint8_t(V >> (8 * i));
}

// The bytes of an icon file holding the images in order, each one colour, fully opaque.
std::vector<std::uint8_t> IconFile(const std::vector<TIconImage>& Images) {
  std::vector<std::uint8_t> file(6 + 16 * Images.size());
  Put16(file, 2, 1);
  Put16(file, 4, unsigned(Images.size()));
  for (std::size_t i = 0; i < Images.size(); ++i) {
    const TIconImage& image = Images[i];
    int tableEntries = image.Bits == 4 ? 16 : 0;
    std::size_t colorBytes = std::size_t(ScanLineBytes(image.Size * image.Bits) * image.Size);
    std::size_t maskBytes = std::size_t(ScanLineBytes(image.Size) * image.Size);
    std::vector<std::uint8_t> dib(40 + 4 * std::size_t(tableEntries) + colorBytes + maskBytes);
    Put32(dib, 0, 40);
    Put32(dib, 4, unsigned(image.Size));
    Put32(dib, 8, unsigned(2 * image.Size));
    Put16(dib, 12, 1);
    Put16(dib, 14, unsigned(image.Bits));
    std::size_t bits = 40 + 4 * std::size_t(tableEntries);
    if (image.Bits == 4) {
      // Index 1 is the colour; every pixel uses it.
      dib[40 + 4] = GetBValue(image.Color);
      dib[40 + 5] = GetGValue(image.Color);
      dib[40 + 6] = GetRValue(image.Color);
      std::memset(dib.data() + bits, 0x11, colorBytes);
    } else {
      for (std::size_t p = 0; p < colorBytes; p += 4) {
        dib[bits + p] = GetBValue(image.Color);
        dib[bits + p + 1] = GetGValue(image.Color);
        dib[bits + p + 2] = GetRValue(image.Color);
        dib[bits + p + 3] = 0xFF;
      }
    }
    std::size_t entry = 6 + 16 * i;
    file[entry] = std::uint8_t(image.Size);
    file[entry + 1] = std::uint8_t(image.Size);
    file[entry + 2] = std::uint8_t(image.Bits == 4 ? 16 : 0);
    Put16(file, entry + 4, 1);
    Put16(file, entry + 6, unsigned(image.Bits));
    Put32(file, entry + 8, unsigned(dib.size()));
    Put32(file, entry + 12, unsigned(file.size()));
    file.insert(file.end(), dib.begin(), dib.end());
  }
  return file;
}

std::unique_ptr<TIcon> LoadIcon(const std::vector<std::uint8_t>& File) {
  TMemoryStream stream;
  stream.WriteBuffer(File.data(), std::int64_t(File.size()));
  stream.SetPosition(0);
  auto icon = std::make_unique<TIcon>();
  icon->LoadFromStream(&stream);
  return icon;
}

bool ScreenIs32Bits() {
  TWindowDC dc;
  return GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL) == 32;
}

TEST(OxRealSizeIcons, TheImageChosenForTheDisplay) {
  struct Case {
    std::vector<std::uint16_t> Words;
    int Display;
    int Chosen;
  };
  const Case cases[] = {
      {{16, 0}, 1, 1},        // the true-colour image on a 32-bit display
      {{0, 16}, 1, 1},        // ... unless a later image has a larger word
      {{16, 256}, 16, 0},     // an image made for the display wins at once
      {{256, 16, 2}, 16, 1},
      {{256, 256}, 16, 0},    // nothing fits: the first
      {{2, 16, 0}, 256, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PickIconImage(c.Words.data(), int(c.Words.size()), c.Display), c.Chosen)
        << "display " << c.Display << ", first word " << c.Words[0];
  }
}

TEST(OxRealSizeIcons, AnIconIsMadeAndDrawnAtItsStoredSize) {
  if (!ScreenIs32Bits()) GTEST_SKIP() << "the image choice below is the one of a 32-bit display";
  struct Case {
    std::vector<TIconImage> Images;
    int Size;
  };
  const Case cases[] = {
      {{{48, 32, RGB(255, 0, 0)}}, 48},
      {{{16, 4, RGB(0, 0, 255)}, {24, 32, RGB(255, 0, 0)}}, 24},
      {{{24, 32, RGB(255, 0, 0)}, {16, 4, RGB(255, 0, 0)}}, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Size);
    std::unique_ptr<TIcon> icon = LoadIcon(IconFile(c.Images));
    HICON real = IconAtStoredSize(icon.get());
    ASSERT_NE(real, nullptr);
    int width = 0, height = 0;
    MeasureIcon(real, width, height);
    DestroyIcon(real);
    EXPECT_EQ(width, c.Size);
    EXPECT_EQ(height, c.Size);

    // Drawn centred in a row's box at that size, whatever the system's icon size.
    TBitmap box;
    box.SetSize(100, 100);
    box.Canvas()->Brush()->SetColor(clWhite);
    box.Canvas()->FillRect(TRect(0, 0, 100, 100));
    DrawRowImage(box.Canvas(), TRect(0, 0, 100, 100), icon.get());
    int first = (100 - c.Size) / 2, last = first + c.Size - 1;
    EXPECT_EQ(ColorToRGB(box.Canvas()->Pixels(first, 50)), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(box.Canvas()->Pixels(last, last)), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(box.Canvas()->Pixels(first - 1, 50)), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(box.Canvas()->Pixels(last + 1, 50)), RGB(255, 255, 255));
  }
}

TEST(OxRealSizeIcons, ADamagedIconIsRefusedAndAnUnreadableOneMeasuresAsTheSystemIcon) {
  std::vector<std::uint8_t> file = IconFile({{32, 32, RGB(0, 255, 0)}});
  // The directory says the image lies past the end of the file.
  Put32(file, 6 + 12, unsigned(file.size()));
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), std::int64_t(file.size()));
  stream.SetPosition(6);
  HICON icon = reinterpret_cast<HICON>(1);
  EXPECT_THROW(ReadIconImage(&stream, icon, 1, 6), EInvalidGraphic);
  EXPECT_EQ(icon, nullptr);

  int width = 0, height = 0;
  MeasureIcon(nullptr, width, height);
  EXPECT_EQ(width, GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(height, GetSystemMetrics(SM_CYICON));
}

// The lookup controls' registration brings the icon clipboard format: an icon copied under it is
// pasted back into a picture as an icon of its own size.
TEST(OxRealSizeIcons, IconsGoThroughTheClipboardInTheirOwnFormat) {
  RegisterOxLookupControls();
  UINT format = RegisterClipboardFormatA(OxIconClipboardFormatName);
  ASSERT_NE(format, 0u);
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(format));
  EXPECT_EQ(OxIconClipboardFormat(), format);
  auto icon = LoadIcon(IconFile({{48, 32, RGB(10, 200, 30)}}));
  Clipboard()->Assign(icon.get());
  EXPECT_TRUE(Clipboard()->HasFormat(format));
  TPicture picture;
  picture.Assign(Clipboard());
  auto* pasted = dynamic_cast<TIcon*>(picture.Graphic());
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->Width(), 48);
  EXPECT_EQ(pasted->Height(), 48);
}

}  // namespace
