// This file implements the Office-2003 colours.
#include "kwOffice11Colors.h"

#include <algorithm>
#include <memory>

#include "FileUtils.h"
#include "Resources.h"
#include "StrUtils.h"
#include "kjSystemGlyphs.h"
#include "kwThemes.h"

namespace {
// The built-in colours of the blue, olive and silver schemes, by slot.
constexpr COLORREF SchemeColors[3][32] = {
    {0xFEECDD, 0xE2A981, 0xF5BE9E, 0xF9DAC3, 0x913500, 0xF1A675, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE, 0x9C613B,
     0xE0A47B, 0x764127, 0xFFFFFF, 0xCB8C6A, 0xFFF9F1, 0xC9662A, 0xF9DBC4, 0x962D00, 0xF6F6F6, 0xC2EEFF, 0x800000,
     0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xFCE1CB, 0x6FC0FF, 0x3E80FE, 0xF0C7A9, 0x000000, 0x8D8D8D},
    {0xDEF7F4, 0x91C6B7, 0xA7D9D9, 0xE4F0F2, 0x6B7760, 0x8CC2B0, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE, 0x588060,
     0x8FC4B5, 0x335E51, 0xFFFFFF, 0x588060, 0xDEF7F4, 0x5E8674, 0xADDEE1, 0x5E8D75, 0xEEF4F4, 0xC2EEFF, 0x385D3F,
     0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xB6E3D8, 0x6FC0FF, 0x3E80FE, 0x9FD4C5, 0x000000, 0x8D8D8D},
    {0xFAF4F3, 0xB59799, 0xE5D7D7, 0xF7F3F3, 0x927476, 0xC8B2B3, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE, 0x947C7C,
     0xB09193, 0x755454, 0xFFFFFF, 0x8F6D6E, 0xFFFFFF, 0x99797A, 0xE4DADB, 0x947C7C, 0xFFFAFD, 0xC2EEFF, 0x6F4B4B,
     0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xE7D3D6, 0x6FC0FF, 0x3E80FE, 0xD3C0C0, 0x000000, 0x8D8D8D}};
constexpr int SchemeMidTone[4] = {75, 41, 125, 40};
constexpr int BrushSlots[] = {12, 13, 14, 15, 18, 19, 20, 21, 26, 27, 28, 29};

TkwOffice11ColorTable Table;
int RefCount = 0;
TOwnedBrush Brushes[32];
TOwnedBrush InPlaceSubItemBrush;
std::unique_ptr<TBitmap> ExpandBitmap;

int R(COLORREF C) { return GetRValue(C); }
int G(COLORREF C) { return GetGValue(C); }
int B(COLORREF C) { return GetBValue(C); }
int Clamp(int V, int Low, int High) { return std::max(Low, std::min(High, V)); }


void FillBand(HDC DC, const TRect& Band, COLORREF Color) {
  if (Band.IsEmpty()) return;
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, AsRECT(Band), brush);
}

// The band [Start, End) of the extent, across the other side of Rect.
TRect BandOf(const TRect& Rect, bool Horizontal, int Start, int End) {
  return Horizontal ? TRect(Start, Rect.Top, End, Rect.Bottom) : TRect(Rect.Left, Start, Rect.Right, End);
}

// Channel c1 + i (c2 - c1) / (n - 1), taken modulo 256 as the drawing routines do.
COLORREF StepColor(COLORREF C1, COLORREF C2, int I, int N) {
  if (N <= 1) return C1;
  auto channel = [&](int a, int b) { return (a + MulDiv(I, b - a, N - 1)) & 0xFF; };
  return RGB(channel(R(C1), R(C2)), channel(G(C1), G(C2)), channel(B(C1), B(C2)));
}

// Fills at most 256 bands across the extent of Rect, band i in Colour(i, bands); stops once a band
// reaches the far edge.
template <class F>
void FillBands(HDC DC, const TRect& Rect, bool Horizontal, F Colour) {
  int start = Horizontal ? Rect.Left : Rect.Top;
  int extent = Horizontal ? Rect.Width() : Rect.Height();
  int bands = std::min(extent, 256);
  int previous = start;
  for (int i = 0; i < bands; ++i) {
    int end = start + MulDiv(i + 1, extent, bands);
    FillBand(DC, BandOf(Rect, Horizontal, previous, end), Colour(i, bands, extent));
    previous = end;
    if (end >= start + extent) break;
  }
}

void ReleaseBrushes() {
  ExpandBitmap.reset();
  for (TOwnedBrush& brush : Brushes) brush.Reset();
  InPlaceSubItemBrush.Reset();
}

void BuildBrushes() {
  for (int slot : BrushSlots) Brushes[slot].Reset(CreateSolidBrush(Table.Colors[slot]));
  InPlaceSubItemBrush.Reset(CreateSolidBrush(BlendColors(TColor(Table.Colors[4]), TColor(Table.Colors[11]), 50)));
  // A program without the picture still draws its menus, only without this glyph.
  if (ResourceExists("KWBARSUBMENUEXPAND", RT_BITMAP)) {
    ExpandBitmap = std::make_unique<TBitmap>();
    ExpandBitmap->LoadFromResourceName(MainInstance(), "KWBARSUBMENUEXPAND");
    TintSubMenuExpandBitmap(ExpandBitmap.get(), Table.Colors[0], Table.Colors[1]);
  }
}
}  // namespace

const TkwOffice11ColorTable& Office11Colors() { return Table; }

TkwOffice11Scheme DetectOffice11Scheme() {
  if (!AreThemesUsable()) return o11None;
  std::vector<WCHAR> file(1024), color(1024), size(1024);
  if (FAILED(ThemeGetCurrentName(file.data(), 1024, color.data(), 1024, size.data(), 1024))) return o11None;
  auto toAnsi = [](const std::vector<WCHAR>& text) {
    const auto* p = reinterpret_cast<const char16_t*>(text.data());
    return AnsiUpperCase(WideToAnsi(WideString(p)));
  };
  if (ExtractFileName(toAnsi(file)) != "LUNA.MSSTYLES") return o11None;
  String name = toAnsi(color);
  if (name == "NORMALCOLOR") return o11Blue;
  if (name == "HOMESTEAD") return o11Olive;
  if (name == "METALLIC") return o11Silver;
  return o11None;
}

void InitOffice11Colors() {
  TkwOffice11Scheme scheme = DetectOffice11Scheme();
  Table.Scheme = scheme;
  COLORREF* c = Table.Colors;
  if (scheme != o11None) {
    std::copy(std::begin(SchemeColors[scheme - 1]), std::end(SchemeColors[scheme - 1]), c);
    Table.MarkGlyphDark = 0;
    Table.MarkGlyphLight = 0xFFFFFF;
    Table.CaptionText = 0xFFFFFF;
    Table.MarkGlyphHot = 0;
    Table.MarkGlyphPressed = 0;
  } else {
    auto nearest = [](TColor color) { return NearestScreenColor(color); };
    c[0] = BlendColors(clBtnFace, clWindow, 22);
    c[1] = BlendColors(clBtnFace, clWindow, 96);
    c[2] = nearest(clBtnFace);
    c[3] = BlendColors(clBtnFace, clWindow, 20);
    c[4] = nearest(clBtnShadow);
    c[5] = BlendColors(clBtnShadow, clWindow, 74);
    c[6] = nearest(TColor(SystemLightColor(-15, 29, 86)));
    c[7] = c[6];
    c[8] = nearest(TColor(SystemLightColor(42, 11, 47)));
    c[9] = c[8];
    c[10] = BlendColors(clBtnFace, clWindow, 85);
    c[11] = nearest(clBtnFace);
    c[12] = BlendColors(clBtnShadow, clWindow, 76);
    c[13] = nearest(clWindow);
    c[14] = BlendColors(clBtnShadow, clWindow, 70);
    c[15] = nearest(clWhite);
    c[16] = nearest(clBtnShadow);
    c[17] = c[1];
    c[18] = nearest(clBtnShadow);
    c[19] = nearest(clWindow);
    c[20] = nearest(TColor(SystemLightColor(-2, 30, 72)));
    c[21] = nearest(clHighlight);
    c[22] = c[20];
    c[23] = c[20];
    c[27] = nearest(TColor(SystemLightColor(11, 9, 73)));
    c[28] = nearest(TColor(SystemLightColor(14, 44, 40)));
    c[24] = c[28];
    c[25] = c[28];
    c[26] = c[1];
    c[29] = c[1];
    c[30] = nearest(clBtnText);
    c[31] = nearest(clGrayText);
    Table.MarkGlyphDark = ColorToRGB(clBtnText);
    Table.MarkGlyphLight = ColorToRGB(clWindow);
    Table.CaptionText = ColorToRGB(clBtnHighlight);
    Table.MarkGlyphHot = ColorToRGB(clBtnText);
    Table.MarkGlyphPressed = ColorToRGB(clBtnText);
  }
  Table.MidTonePercent = SchemeMidTone[scheme];
  for (int k = 0; k < 3; ++k) {
    Table.MarkFarEnd[k] = BlendColors(TColor(c[4 + 2 * k]), TColor(c[11]), 50);
    Table.MarkCorner[k] = scheme != o11None ? BlendColors(TColor(c[5 + 2 * k]), TColor(c[0]), 90)
                                            : BlendColors(TColor(c[4 + 2 * k]), clWindow, 50);
  }
  Table.RarelyUsedColumn[0] = BlendColors(TColor(c[0]), clBlack, 92);
  Table.RarelyUsedColumn[1] = BlendColors(TColor(c[1]), clBlack, 92);
}

void AddOffice11ColorsRef() {
  if (RefCount == 0) {
    InitOffice11Colors();
    BuildBrushes();
  }
  ++RefCount;
}

void RefreshOffice11Colors() {
  InitOffice11Colors();
  if (RefCount > 0) {
    ReleaseBrushes();
    BuildBrushes();
  }
}

void ReleaseOffice11ColorsRef() {
  if (RefCount <= 0) return;
  if (--RefCount == 0) ReleaseBrushes();
}

int Office11ColorsRefCount() { return RefCount; }
HBRUSH Office11Brush(int Slot) { return Slot >= 0 && Slot < 32 ? Brushes[Slot].Get() : nullptr; }
HBRUSH Office11InPlaceSubItemBrush() { return InPlaceSubItemBrush; }
TBitmap* Office11SubMenuExpandBitmap() { return ExpandBitmap.get(); }

// --- Colour arithmetic -------------------------------------------------------------------------

COLORREF NearestScreenColor(TColor Color) {
  TWindowDC screen;
  return GetNearestColor(screen, ColorToRGB(Color));
}

COLORREF BlendColors(TColor Color1, TColor Color2, int Percent) {
  COLORREF c1 = ColorToRGB(Color1);
  COLORREF c2 = ColorToRGB(Color2);
  auto channel = [&](int a, int b) { return std::min(255, MulDiv(b, 100 - Percent, 100) + MulDiv(a, Percent, 100)); };
  return NearestScreenColor(TColor(RGB(channel(R(c1), R(c2)), channel(G(c1), G(c2)), channel(B(c1), B(c2)))));
}

COLORREF SystemLightColor(int FacePercent, int HighlightPercent, int WindowPercent) {
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  COLORREF window = GetSysColor(COLOR_WINDOW);
  if (face == 0 || face == 0xFFFFFF) return highlight;
  auto channel = [&](int f, int h, int w) {
    return Clamp(MulDiv(f, FacePercent, 100) + MulDiv(h, HighlightPercent, 100) + MulDiv(w, WindowPercent, 100), 0,
                 255);
  };
  return RGB(channel(R(face), R(highlight), R(window)), channel(G(face), G(highlight), G(window)),
             channel(B(face), B(highlight), B(window)));
}

void FillRectWithColor(HDC DC, const TRect& Rect, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, AsRECT(Rect), brush);
}

void FrameRectWithColor(HDC DC, const TRect& Rect, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FrameRect(DC, AsRECT(Rect), brush);
}

void FrameRectOffice11Selected(HDC DC, const TRect& Rect) {
  if (HBRUSH brush = Office11Brush(21)) {
    FrameRect(DC, AsRECT(Rect), brush);
  } else {
    FrameRectWithColor(DC, Rect, TColor(Table.Colors[21]));
  }
}

void FillGradientRect(HDC DC, const TRect& Rect, TColor Color1, bool Horizontal, TColor Color2) {
  COLORREF c1 = ColorToRGB(Color1);
  COLORREF c2 = ColorToRGB(Color2);
  if (c1 == c2) {
    FillBand(DC, Rect, c1);
    return;
  }
  FillBands(DC, Rect, Horizontal, [&](int Band, int Bands, int) { return StepColor(c1, c2, Band, Bands); });
}

COLORREF GradientColorAt(const TRect& Rect, int Position, TColor Color1, bool Horizontal, TColor Color2) {
  COLORREF c1 = ColorToRGB(Color1);
  COLORREF c2 = ColorToRGB(Color2);
  int start = Horizontal ? Rect.Left : Rect.Top;
  int extent = Horizontal ? Rect.Width() : Rect.Height();
  int bands = std::min(extent, 256);
  // An empty extent has no bands to divide among: the first colour.
  if (bands < 1) return c1;
  int band = Clamp(MulDiv(Position - start + 1, bands, extent) - 1, 0, bands - 1);
  return StepColor(c1, c2, band, bands);
}

void FillMidToneGradientRect(HDC DC, const TRect& Rect, TColor Color1, bool Horizontal, TColor Color2) {
  COLORREF c1 = ColorToRGB(Color1);
  COLORREF c2 = ColorToRGB(Color2);
  if (c1 == c2) {
    FillBand(DC, Rect, c1);
    return;
  }
  int extent = Horizontal ? Rect.Width() : Rect.Height();
  int half = extent / 2;
  int percent = Table.MidTonePercent;
  auto mid = [&](int a, int b) { return Clamp(a - MulDiv(a - b, percent, 200), 0, 255); };
  COLORREF middle = RGB(mid(R(c1), R(c2)), mid(G(c1), G(c2)), mid(B(c1), B(c2)));
  // Band i stands for the pixel at i (extent - 1) / (bands - 1): from Color1 at the first pixel to
  // the middle tone at the half, and from there to Color2 at the last pixel.
  auto lerp = [](COLORREF From, COLORREF To, int Num, int Den) {
    auto channel = [&](int a, int b) { return Clamp(a + MulDiv(b - a, Num, Den), 0, 255); };
    return RGB(channel(R(From), R(To)), channel(G(From), G(To)), channel(B(From), B(To)));
  };
  auto colourAt = [&](int Pixel) -> COLORREF {
    if (Pixel < half) return lerp(c1, middle, Pixel, half);
    int rest = extent - 1 - half;
    return rest <= 0 ? c2 : lerp(middle, c2, Pixel - half, rest);
  };
  FillBands(DC, Rect, Horizontal, [&](int Band, int Bands, int Extent) {
    return Bands == 1 ? c1 : colourAt(MulDiv(Band, Extent - 1, Bands - 1));
  });
}

void DrawDottedGripper(HDC DC, const TRect& Rect, bool Vertical) {
  int length = Vertical ? Rect.Height() : Rect.Width();
  int offset = length % 4;
  if (offset > 1) offset /= 2;
  TRect cell = Bounds(Rect.Left, Rect.Top, 4, 4);
  if (Vertical)
    cell = Bounds(cell.Left, cell.Top + offset, 4, 4);
  else
    cell = Bounds(cell.Left + offset, cell.Top, 4, 4);
  HBRUSH light = Office11Brush(13);
  HBRUSH dark = Office11Brush(12);
  TOwnedBrush tempLight(CreateSolidBrush(Table.Colors[13]));
  TOwnedBrush tempDark(CreateSolidBrush(Table.Colors[12]));
  if (!light) light = tempLight;
  if (!dark) dark = tempDark;
  do {
    TRect dot(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1);
    FillRect(DC, AsRECT(dot), light);
    TRect shadow(dot.Left - 1, dot.Top - 1, dot.Right - 1, dot.Bottom - 1);
    FillRect(DC, AsRECT(shadow), dark);
    if (Vertical)
      cell = Bounds(cell.Left, cell.Top + 4, 4, 4);
    else
      cell = Bounds(cell.Left + 4, cell.Top, 4, 4);
  } while ((Vertical ? cell.Bottom : cell.Right) <= (Vertical ? Rect.Bottom : Rect.Right));
}

int Office11ArrowSize(const TRect& Rect, bool Down) {
  int n = Down ? Rect.Width() - 8 : Rect.Height() - 6;
  int size = (n - 1) / 2 + ((n % 2 != 0) ? 1 : 0);
  return std::max(size, 3);
}

void DrawOffice11Arrow(HDC DC, const TRect& Rect, bool Down, bool Enabled) {
  DrawOffice11ArrowShape(DC, Rect, Down, Enabled, Office11ArrowSize(Rect, Down));
}

void DrawOffice11ArrowShape(HDC DC, const TRect& Rect, bool Down, bool Enabled, int Size) {
  COLORREF color = Table.Colors[Enabled ? 30 : 31];
  POINT points[3];
  if (!Down) {
    int x0 = (Rect.Left + Rect.Right - Size) / 2;
    int y0 = (Rect.Top + Rect.Bottom - (2 * Size - 1)) / 2;
    points[0] = {x0, y0};
    points[1] = {x0, y0 + 2 * Size - 2};
    points[2] = {x0 + Size - 1, y0 + Size - 1};
  } else {
    int x0 = (Rect.Left + Rect.Right - (2 * Size - 1)) / 2;
    int y0 = (Rect.Top + Rect.Bottom - Size) / 2;
    points[0] = {x0, y0};
    points[1] = {x0 + 2 * Size - 2, y0};
    points[2] = {x0 + Size - 1, y0 + Size - 1};
  }
  FillPolygonWithColor(DC, points, 3, color);
}

void TintSubMenuExpandBitmap(TBitmap* Bitmap, COLORREF Light, COLORREF Dark) {
  if (!Bitmap || Bitmap->Empty()) return;
  Bitmap->SetPixelFormat(pf32bit);
  TCanvas* canvas = Bitmap->Canvas();
  int width = Bitmap->Width();
  int height = Bitmap->Height();
  COLORREF background = ColorToRGB(canvas->Pixels(0, 0));
  auto isShade = [&](COLORREF c) { return c != background && c != 0; };
  int smallest = 255;
  int largest = 1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = ColorToRGB(canvas->Pixels(x, y));
      if (!isShade(c)) continue;
      smallest = std::min(smallest, R(c));
      largest = std::max(largest, R(c));
    }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = ColorToRGB(canvas->Pixels(x, y));
      if (!isShade(c)) continue;
      // Shades that are all alike (or all darker than the start value) have no range to spread
      // over: they take the middle of the two colours.
      int percent = largest > smallest ? MulDiv(R(c) - smallest, 100, largest - smallest) : 50;
      canvas->SetPixels(x, y, TColor(BlendColors(TColor(Light), TColor(Dark), percent)));
    }
}
