// Tests of the environment the scripts make for the program and its tests: the faces Wine gives
// the fonts the forms are laid out in, no font smoothing, and the screen (size, depth, resolution).
// Every measure and pixel of the other GUI tests depends on these.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "Graphics.h"

namespace {

// The face and the kind of font the screen gives for a request.
struct TGivenFont {
  std::string Face;
  bool TrueType = false;
};

TGivenFont GivenFont(HFONT Font) {
  TWindowDC dc;
  TSelectedObject selected(dc, Font);
  char face[LF_FACESIZE] = "";
  GetTextFaceA(dc, sizeof(face), face);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return {face, (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0};
}

TEST(Environment, TheFormsFontsAreWinesOwn) {
  // The forms' "MS Sans Serif" at 8 points must be the bitmap face, not a smoothed stand-in: a
  // stand-in measures differently and draws other pixels.
  struct Case {
    const char* Requested;
    int Height;
    const char* Face;
    bool TrueType;
  } cases[] = {
      {"MS Sans Serif", -11, "MS Sans Serif", false},
      {"MS Sans Serif", -13, "MS Sans Serif", false},
      {"Tahoma", -11, "Tahoma", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Requested) + " " + std::to_string(c.Height));
    TOwnedFont font(CreateFontA(c.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, c.Requested));
    TGivenFont given = GivenFont(font);
    EXPECT_EQ(given.Face, c.Face);
    EXPECT_EQ(given.TrueType, c.TrueType);
  }
  // The class library's default font is that face too.
  TFont standard;
  EXPECT_EQ(GivenFont(standard.Handle()).Face, "MS Sans Serif");
  // The system font is Wine's bitmap "System".
  TGivenFont system = GivenFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  EXPECT_EQ(system.Face, "System");
  EXPECT_FALSE(system.TrueType);
}

TEST(Environment, TextIsDrawnWithoutSmoothing) {
  BOOL smoothing = TRUE;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0));
  EXPECT_FALSE(smoothing);
  // A TrueType face drawn black on white leaves no other colour.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 120;
  info.bmiHeader.biHeight = -30;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::uint32_t* bits = nullptr;
  TOwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
  TBitmapDC dc(bitmap);
  RECT all{0, 0, 120, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  TOwnedFont font(CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
  TSelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, 4, 4, "Wetland sow", 11);
  GdiFlush();
  std::set<std::uint32_t> colours;
  for (int i = 0; i < 120 * 30; ++i) colours.insert(bits[i] & 0xFFFFFF);
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x000000, 0xFFFFFF}));
}

TEST(Environment, TheScreenIsTheTestDisplay) {
  TWindowDC dc;
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  // A 24-bit display: Wine draws in 32 bits a pixel.
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  // The virtual desktop of the tests' prefix.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
}

}  // namespace
