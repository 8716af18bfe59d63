// This file implements the drawing primitives of the bar library.
#include "kwBarDrawing.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kjSystemGlyphs.h"
#include "kwBarUtils.h"
#include "kwOffice11Colors.h"
#include "kwThemes.h"

void SaveClipRegion(HDC DC, HRGN& Region, bool& Existed) {
  Region = CreateRectRgn(0, 0, 0, 0);
  Existed = GetClipRgn(DC, Region) == 1;
}

void RestoreClipRegion(HDC DC, HRGN& Region, bool Existed) {
  SelectClipRgn(DC, Existed ? Region : nullptr);
  if (Region) DeleteObject(Region);
  Region = nullptr;
}

void AddRectToClipRegion(HDC DC, const TRect& Rect) {
  TOwnedRegion rect(CreateRectRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom));
  ExtSelectClipRgn(DC, rect, RGN_OR);
}

void ExcludeRectFromRegion(HRGN& Region, const TRect& Rect) {
  TOwnedRegion rect(CreateRectRgn(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom));
  CombineRgn(Region, Region, rect, RGN_DIFF);
}

void FrameRectHighlight(HDC DC, const TRect& Rect) { FrameRect(DC, AsRECT(Rect), GetSysColorBrush(COLOR_HIGHLIGHT)); }

void FillRectOrBitmap(HDC DC, const TRect& Rect, const TRect& OriginRect, TBitmap* Bitmap, TColor Color,
                      HBRUSH Brush) {
  if (Bitmap && !Bitmap->Empty()) {
    TileBitmap(DC, Rect, OriginRect, Bitmap);
  } else if (Brush) {
    FillRect(DC, AsRECT(Rect), Brush);
  } else {
    FillRectWithColor(DC, Rect, Color);
  }
}

void TileBitmap(HDC DC, const TRect& Rect, const TRect& OriginRect, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty() || OriginRect.IsEmpty()) return;
  int w = Bitmap->Width();
  int h = Bitmap->Height();
  HRGN saved;
  bool existed;
  SaveClipRegion(DC, saved, existed);
  IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  HDC source = Bitmap->Canvas()->Handle();
  // The tiles lie on the grid of the DC's coordinates; those that cover OriginRect are drawn.
  for (int row = OriginRect.Top / h; row <= (OriginRect.Bottom - 1) / h; ++row)
    for (int col = OriginRect.Left / w; col <= (OriginRect.Right - 1) / w; ++col)
      BitBlt(DC, col * w, row * h, w, h, source, 0, 0, SRCCOPY);
  RestoreClipRegion(DC, saved, existed);
}

void FillVerticalGradient(TCanvas* Canvas, const TRect& Rect, int R1, int G1, int B1, int R2, int G2, int B2) {
  int height = Rect.Height();
  int previous = Rect.Top;
  HDC dc = Canvas->Handle();
  for (int i = 0; i < 256; ++i) {
    int bottom = Rect.Top + MulDiv(i + 1, height, 256);
    COLORREF color = RGB(R1 + MulDiv(i, R2 - R1, 255), G1 + MulDiv(i, G2 - G1, 255), B1 + MulDiv(i, B2 - B1, 255));
    TRect band(Rect.Left, previous, Rect.Right, bottom);
    TOwnedBrush brush(CreateSolidBrush(color));
    FillRect(dc, AsRECT(band), brush);
    previous = bottom;
  }
}

int CenteredArrowSize(const TRect& Rect, bool Horizontal) {
  int e = Horizontal ? Rect.Width() - 8 : Rect.Height() - 6;
  int size = (e % 2 != 0) ? (e + 1) / 2 : e / 2 - 1;
  return std::max(size, 3);
}

void DrawArrowShape(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Enabled, bool Selected, int Size) {
  int colorIndex = !Enabled ? COLOR_BTNSHADOW : Selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
  auto triangle = [&](int dx, int dy, int Index) {
    POINT p[3];
    if (Horizontal) {
      int x = (Rect.Left + Rect.Right - (2 * Size - 1)) / 2 + dx;
      int y = (Rect.Top + Rect.Bottom - Size) / 2 + dy;
      p[0] = {x, y};
      p[1] = {x + 2 * Size - 2, y};
      p[2] = {x + Size - 1, y + Size - 1};
    } else {
      int x = (Rect.Left + Rect.Right - Size) / 2 + dx;
      int y = (Rect.Top + Rect.Bottom - (2 * Size - 1)) / 2 + dy;
      p[0] = {x, y};
      p[1] = {x, y + 2 * Size - 2};
      p[2] = {x + Size - 1, y + Size - 1};
    }
    FillPolygonWithColor(DC, p, 3, GetSysColor(Index));
  };
  // A disabled arrow that is not flat is embossed: its highlight copy one pixel right and down.
  if (!Enabled && !Flat) triangle(1, 1, COLOR_BTNHIGHLIGHT);
  triangle(0, 0, colorIndex);
}

void DrawCenteredArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Selected, bool Enabled) {
  DrawArrowShape(DC, Rect, Horizontal, Flat, Enabled, Selected, CenteredArrowSize(Rect, Horizontal));
}

void DrawTransparentSizeGrip(HDC DC, const TRect& Rect) {
  int w = Rect.Width();
  int h = Rect.Height();
  if (w <= 0 || h <= 0) return;
  TOwnedBitmap glyph(CreateCompatibleBitmap(DC, w, h));
  TBitmapDC memory(glyph, DC);
  RECT r = {0, 0, w, h};
  FillRect(memory, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawFrameControl(memory, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The mask: white where the glyph is button face (the background shows there).
  TOwnedBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  TBitmapDC maskDC(mask, DC);
  SetBkColor(memory, GetSysColor(COLOR_BTNFACE));
  BitBlt(maskDC, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  // The glyph's face pixels turned black, so that ORing leaves the background there.
  SetBkColor(memory, RGB(255, 255, 255));
  SetTextColor(memory, RGB(0, 0, 0));
  BitBlt(memory, 0, 0, w, h, maskDC, 0, 0, 0x00220326);  // DSna: glyph AND NOT mask
  TSavedDC saved(DC);
  SetBkColor(DC, RGB(255, 255, 255));
  SetTextColor(DC, RGB(0, 0, 0));
  BitBlt(DC, Rect.Left, Rect.Top, w, h, maskDC, 0, 0, SRCAND);
  BitBlt(DC, Rect.Left, Rect.Top, w, h, memory, 0, 0, SRCPAINT);
}

TSize GetThemedCloseButtonSize() {
  TSize size{GetSystemMetrics(SM_CXSMSIZE), GetSystemMetrics(SM_CYSMSIZE)};
  if (HTHEME theme = GetThemeHandleForKind(tkWindow)) {
    SIZE s;
    if (SUCCEEDED(ThemeGetPartSize(theme, nullptr, 19, 1, nullptr, TS_TRUE, &s))) size = TSize{s.cx, s.cy};
  }
  return size;
}

void DrawThemedCloseButton(HDC DC, const TRect& Rect, bool Hot, int GripCorner, bool Pushed) {
  TSize size = GetThemedCloseButtonSize();
  FillRect(DC, AsRECT(Rect), GetSysColorBrush(COLOR_BTNFACE));
  int left = (GripCorner == 1 || GripCorner == 3) ? Rect.Left : Rect.Right - size.cx;
  int top = (Rect.Top + Rect.Bottom - size.cy) / 2;
  TRect button = Bounds(left, top, size.cx, size.cy);
  HTHEME theme = GetThemeHandleForKind(tkWindow);
  if (theme) {
    ThemeDrawBackground(theme, DC, 19, Pushed ? 3 : Hot ? 2 : 1, AsRECT(button), nullptr);
  } else {
    DrawSystemButton(DC, button, kjsgClose, Pushed, false, false);
  }
}

TSize GetThemedSizeGripSize() {
  TSize size{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  if (HTHEME theme = GetThemeHandleForKind(tkScrollBar)) {
    SIZE s;
    if (SUCCEEDED(ThemeGetPartSize(theme, nullptr, 10, 1, nullptr, TS_TRUE, &s))) size = TSize{s.cx, s.cy};
  }
  return TSize{size.cx + 2, size.cy + 2};
}

void DrawThemedSizeGrip(HDC DC, const TRect& Rect, int Corner) {
  TSize size = GetThemedSizeGripSize();
  bool left = Corner == 0 || Corner == 2;
  bool top = Corner == 0 || Corner == 1;
  TRect cell = Bounds(left ? Rect.Left : Rect.Right - size.cx, top ? Rect.Top : Rect.Bottom - size.cy, size.cx,
                      size.cy);
  FillRect(DC, AsRECT(cell), GetSysColorBrush(COLOR_BTNFACE));
  DrawTurnedGlyph(DC, cell, left, top, [](HDC Memory, const RECT& R) {
    RECT r = R;
    if (HTHEME theme = GetThemeHandleForKind(tkScrollBar))
      ThemeDrawBackground(theme, Memory, 10, 1, &r, nullptr);
    else
      DrawFrameControl(Memory, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  });
}

// --- DrawItemGlyph ------------------------------------------------------------------------------

namespace {
// A 32-bit picture in memory, top row first, 0x00RRGGBB per pixel.
struct TPixels {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Data;
  std::uint32_t& At(int X, int Y) { return Data[std::size_t(Y * Width + X)]; }
};

// A 32-bit surface kept from one glyph to the next: a toolbar draws dozens of glyphs per paint,
// and a new bitmap for each of them costs more than the drawing itself.
class TScratchSurface {
 public:
  ~TScratchSurface() {
    if (FDC) {
      SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  // A memory DC over a surface of at least Width x Height; its pixels stay as they were.
  HDC Prepare(int Width, int Height) {
    if (!FDC) FDC = CreateCompatibleDC(nullptr);
    if (Width > FWidth || Height > FHeight) {
      int w = std::max(Width, FWidth), h = std::max(Height, FHeight);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = w;
      info.bmiHeader.biHeight = -h;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      if (!bitmap) return nullptr;
      HGDIOBJ previous = SelectObject(FDC, bitmap);
      if (FBitmap) DeleteObject(FBitmap);
      else FOld = previous;
      FBitmap = bitmap;
      FBits = static_cast<std::uint32_t*>(bits);
      FWidth = w;
      FHeight = h;
    }
    return FDC;
  }
  // The pixels of the top-left Width x Height, once GDI has finished drawing there.
  TPixels Read(int Width, int Height) const {
    GdiFlush();
    TPixels p;
    p.Width = Width;
    p.Height = Height;
    p.Data.resize(std::size_t(Width * Height));
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) p.Data[std::size_t(y * Width + x)] = FBits[std::size_t(y * FWidth + x)] & 0xFFFFFF;
    return p;
  }

 private:
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  std::uint32_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

thread_local TScratchSurface BackgroundScratch;
thread_local TScratchSurface GlyphScratch;

void WritePixels(HDC DC, int X, int Y, const TPixels& P) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = P.Width;
  info.bmiHeader.biHeight = -P.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(DC, X, Y, DWORD(P.Width), DWORD(P.Height), 0, 0, 0, UINT(P.Height), P.Data.data(), &info,
                    DIB_RGB_COLORS);
}

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
std::uint32_t FromColorRef(COLORREF C) { return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C); }
int Red(std::uint32_t P) { return int((P >> 16) & 0xFF); }
int Green(std::uint32_t P) { return int((P >> 8) & 0xFF); }
int Blue(std::uint32_t P) { return int(P & 0xFF); }
std::uint32_t Pack(int R, int G, int B) { return std::uint32_t((R << 16) | (G << 8) | B); }

// The glyph as pixels, and its transparent colour (the bottom-left pixel).
TPixels GlyphPixels(const TkwGlyphDrawing& How, int ImageIndex, TCustomImageList* Images, TBitmap* Bitmap) {
  int w, h;
  HDC picture;
  if (Bitmap && !Bitmap->Empty()) {
    w = Bitmap->Width();
    h = Bitmap->Height();
    if (!(picture = GlyphScratch.Prepare(w, h))) return TPixels();
    BitBlt(picture, 0, 0, w, h, Bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  } else {
    w = Images->Width();
    h = Images->Height();
    if (!(picture = GlyphScratch.Prepare(w, h))) return TPixels();
    TOwnedBrush background(CreateSolidBrush(ColorToRGB(How.BackgroundColor)));
    RECT all = {0, 0, w, h};
    FillRect(picture, &all, background);
    ImageList_Draw(Images->Handle(), ImageIndex, picture, 0, 0, ILD_TRANSPARENT);
  }
  return GlyphScratch.Read(w, h);
}

// Stretches Source to Width x Height (nearest pixel), keeping the transparent colour exact.
TPixels Stretch(const TPixels& Source, int Width, int Height) {
  if (Source.Width == Width && Source.Height == Height) return Source;
  TPixels p;
  p.Width = Width;
  p.Height = Height;
  p.Data.resize(std::size_t(std::max(0, Width * Height)));
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      p.Data[std::size_t(y * Width + x)] =
          Source.Data[std::size_t((y * Source.Height / Height) * Source.Width + x * Source.Width / Width)];
  return p;
}
}  // namespace

void DrawItemGlyph(HDC DC, const TRect& TargetRect, const TRect& GlyphRect, const TkwGlyphDrawing& How,
                   int ImageIndex, TCustomImageList* Images, TBitmap* Bitmap) {
  int tw = TargetRect.Width();
  int th = TargetRect.Height();
  if (tw <= 0 || th <= 0) return;
  bool fromBitmap = Bitmap && !Bitmap->Empty();
  if (!fromBitmap && (!Images || ImageIndex < 0 || ImageIndex >= Images->Count())) return;
  // The off-screen picture: what is under the target, or the background brush (white without one).
  HDC off = BackgroundScratch.Prepare(tw, th);
  if (!off) return;
  RECT all = {0, 0, tw, th};
  if (How.CopyBackground)
    BitBlt(off, 0, 0, tw, th, DC, TargetRect.Left, TargetRect.Top, SRCCOPY);
  else
    FillRect(off, &all, How.BackgroundBrush ? How.BackgroundBrush : HBRUSH(GetStockObject(WHITE_BRUSH)));
  TPixels back = BackgroundScratch.Read(tw, th);
  TPixels glyph = GlyphPixels(How, ImageIndex, Images, Bitmap);
  if (glyph.Width <= 0 || glyph.Height <= 0) return;
  std::uint32_t transparent = glyph.At(0, glyph.Height - 1);
  int gx = GlyphRect.Left - TargetRect.Left;
  int gy = GlyphRect.Top - TargetRect.Top;
  TPixels shape = Stretch(glyph, GlyphRect.Width(), GlyphRect.Height());
  auto plot = [&](int X, int Y, std::uint32_t Color) {
    if (X >= 0 && Y >= 0 && X < tw && Y < th) back.At(X, Y) = Color;
  };

  if (How.Enabled || How.TintDisabled) {
    bool tint = !How.Enabled && How.TintDisabled;
    bool fade = How.FadeNormal && GlyphBlending && ScreenColorDepth() > 8 && !How.DownState && !How.Hot && !How.Grayed;
    COLORREF tintColor = Office11Colors().Colors[5];
    if (Office11ColorsRefCount() == 0 && Office11Colors().Scheme == o11None)
      tintColor = BlendColors(clBtnShadow, clWindow, 74);
    for (std::uint32_t& p : shape.Data) {
      if (p == transparent) continue;
      int r = Red(p), g = Green(p), b = Blue(p);
      if (tint) {
        int lum = (77 * r + 151 * g + 28 * b) >> 8;
        int e = ((lum * 192 + 16320) >> 8) * 64;
        r = (e + GetRValue(tintColor) * 192) >> 8;
        g = (e + GetGValue(tintColor) * 192) >> 8;
        b = (e + GetBValue(tintColor) * 192) >> 8;
        r = std::min(r, 255), g = std::min(g, 255), b = std::min(b, 255);
      } else if (How.Grayed) {
        r = g = b = (r + g + b) / 3;
      }
      if (fade) {
        r += MulDiv(255 - r, 3, 10);
        g += MulDiv(255 - g, 3, 10);
        b += MulDiv(255 - b, 3, 10);
      }
      std::uint32_t packed = Pack(r, g, b);
      // The transparent colour is reserved: a recoloured pixel that falls on it moves by one.
      p = packed == transparent ? (packed ^ 1) : packed;
    }
    int ox = gx, oy = gy;
    if (How.FadeNormal && How.RaiseHot && How.Hot && !How.Pressed) {
      std::uint32_t shadow = FromColorRef(GetSysColor(COLOR_BTNSHADOW));
      --ox;
      --oy;
      for (int y = 0; y < shape.Height; ++y)
        for (int x = 0; x < shape.Width; ++x)
          if (shape.At(x, y) != transparent) plot(ox + 2 + x, oy + 2 + y, shadow);
    }
    for (int y = 0; y < shape.Height; ++y)
      for (int x = 0; x < shape.Width; ++x)
        if (shape.At(x, y) != transparent) plot(ox + x, oy + y, shape.At(x, y));
  } else {
    // Disabled without tint: every pixel of the glyph that is not transparent is embossed.
    std::uint32_t highlight = FromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT));
    std::uint32_t shadow = FromColorRef(GetSysColor(COLOR_BTNSHADOW));
    if (!How.FadeNormal)
      for (int y = 0; y < shape.Height; ++y)
        for (int x = 0; x < shape.Width; ++x)
          if (shape.At(x, y) != transparent) plot(gx + 1 + x, gy + 1 + y, highlight);
    for (int y = 0; y < shape.Height; ++y)
      for (int x = 0; x < shape.Width; ++x)
        if (shape.At(x, y) != transparent) plot(gx + x, gy + y, shadow);
  }
  WritePixels(DC, TargetRect.Left, TargetRect.Top, back);
}
