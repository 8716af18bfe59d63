// This file implements the system glyphs drawn in code.
#include "kjSystemGlyphs.h"

#include <algorithm>

void FillPolygonWithColor(HDC DC, const POINT* Points, int Count, COLORREF Color) {
  TOwnedPen pen(CreatePen(PS_SOLID, 1, Color));
  TOwnedBrush brush(CreateSolidBrush(Color));
  TSelectedObject selectedPen(DC, pen);
  TSelectedObject selectedBrush(DC, brush);
  Polygon(DC, Points, Count);
}

void DrawTurnedGlyph(HDC DC, const TRect& Cell, bool MirrorX, bool MirrorY, void (*Draw)(HDC, const RECT&)) {
  int w = Cell.Width();
  int h = Cell.Height();
  if (w <= 0 || h <= 0) return;
  TOwnedBitmap bitmap(CreateCompatibleBitmap(DC, w, h));
  TBitmapDC memory(bitmap, DC);
  RECT r = {0, 0, w, h};
  FillRect(memory, &r, GetSysColorBrush(COLOR_BTNFACE));
  Draw(memory, r);
  // A negative extent mirrors the copy: it then starts from the far edge.
  StretchBlt(DC, MirrorX ? Cell.Right - 1 : Cell.Left, MirrorY ? Cell.Bottom - 1 : Cell.Top, MirrorX ? -w : w,
             MirrorY ? -h : h, memory, 0, 0, w, h, SRCCOPY);
}

namespace {

void Fill(HDC DC, int Left, int Top, int Right, int Bottom, COLORREF Color) {
  RECT r = {Left, Top, Right, Bottom};
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, &r, brush);
}

void Frame(HDC DC, int Left, int Top, int Right, int Bottom, COLORREF Color) {
  RECT r = {Left, Top, Right, Bottom};
  TOwnedBrush brush(CreateSolidBrush(Color));
  FrameRect(DC, &r, brush);
}
}  // namespace

TRect SystemGlyphRect(const TRect& Rect, TkjSystemGlyph Glyph) {
  int side = std::min(Rect.Width(), Rect.Height());
  // Caption glyphs take about two thirds of the button, arrows and the tick a little less.
  int size = Glyph <= kjsgRestore ? side * 2 / 3 : side / 2;
  size = std::max(size, 3);
  int left = Rect.Left + (Rect.Width() - size) / 2;
  int top = Rect.Top + (Rect.Height() - size) / 2;
  return Bounds(left, top, size, size);
}

void DrawSystemGlyph(HDC DC, const TRect& Rect, TkjSystemGlyph Glyph, COLORREF Color) {
  TRect g = SystemGlyphRect(Rect, Glyph);
  int n = g.Width();
  int thick = std::max(1, n / 6);
  switch (Glyph) {
    case kjsgClose: {
      // Two diagonal strokes, each as thick as the glyph allows.
      for (int i = 0; i < n; ++i)
        for (int t = 0; t < thick + 1 && i + t < n; ++t) {
          Fill(DC, g.Left + i + t, g.Top + i, g.Left + i + t + 1, g.Top + i + 1, Color);
          Fill(DC, g.Right - 1 - i - t, g.Top + i, g.Right - i - t, g.Top + i + 1, Color);
        }
      break;
    }
    case kjsgMinimize: Fill(DC, g.Left, g.Bottom - thick - 1, g.Right, g.Bottom, Color); break;
    case kjsgMaximize:
      Frame(DC, g.Left, g.Top, g.Right, g.Bottom, Color);
      Fill(DC, g.Left, g.Top, g.Right, g.Top + thick + 1, Color);
      break;
    case kjsgRestore: {
      int s = n * 2 / 3;
      Frame(DC, g.Right - s, g.Top, g.Right, g.Top + s, Color);
      Fill(DC, g.Right - s, g.Top, g.Right, g.Top + thick, Color);
      Fill(DC, g.Left, g.Bottom - s, g.Left + s, g.Bottom, GetSysColor(COLOR_BTNFACE));
      Frame(DC, g.Left, g.Bottom - s, g.Left + s, g.Bottom, Color);
      Fill(DC, g.Left, g.Bottom - s, g.Left + s, g.Bottom - s + thick, Color);
      break;
    }
    case kjsgArrowUp:
    case kjsgArrowDown:
    case kjsgArrowLeft:
    case kjsgArrowRight: {
      // A triangle half as deep as it is wide, centred in the glyph square.
      int half = (n - 1) / 2;
      int depth = half + 1;
      int cx = g.Left + n / 2;
      int cy = g.Top + n / 2;
      int d0 = depth / 2;
      POINT p[3];
      switch (Glyph) {
        case kjsgArrowUp: p[0] = {cx, cy - d0}, p[1] = {cx - half, cy - d0 + half}, p[2] = {cx + half, cy - d0 + half}; break;
        case kjsgArrowDown: p[0] = {cx, cy + d0}, p[1] = {cx - half, cy + d0 - half}, p[2] = {cx + half, cy + d0 - half}; break;
        case kjsgArrowLeft: p[0] = {cx - d0, cy}, p[1] = {cx - d0 + half, cy - half}, p[2] = {cx - d0 + half, cy + half}; break;
        default: p[0] = {cx + d0, cy}, p[1] = {cx + d0 - half, cy - half}, p[2] = {cx + d0 - half, cy + half}; break;
      }
      FillPolygonWithColor(DC, p, 3, Color);
      break;
    }
    case kjsgCheck: {
      // A tick: down from the left to a third of the way across, then up to the right edge.
      int third = std::max(1, n / 3);
      POINT a = {g.Left, g.Top + n / 2};
      POINT b = {g.Left + third, a.y + third};
      POINT c = {g.Right - 1, b.y - (n - 1 - third)};
      TOwnedPen pen(CreatePen(PS_SOLID, 1, Color));
      TSelectedObject selected(DC, pen);
      for (int t = 0; t <= thick; ++t) {
        POINT line[3] = {{a.x, a.y - t}, {b.x, b.y - t}, {c.x, c.y - t}};
        Polyline(DC, line, 3);
        SetPixel(DC, c.x, c.y - t, Color);
      }
      break;
    }
  }
}

void DrawSystemButton(HDC DC, const TRect& Rect, TkjSystemGlyph Glyph, bool Pushed, bool Inactive, bool Flat) {
  RECT r = Rect;
  FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (Flat)
    FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  else
    DrawEdge(DC, &r, Pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  TRect inner(Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2);
  if (Pushed) inner = TRect(inner.Left + 1, inner.Top + 1, inner.Right + 1, inner.Bottom + 1);
  if (Inactive) {
    DrawSystemGlyph(DC, TRect(inner.Left + 1, inner.Top + 1, inner.Right + 1, inner.Bottom + 1), Glyph,
                    GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawSystemGlyph(DC, inner, Glyph, GetSysColor(COLOR_BTNSHADOW));
  } else {
    DrawSystemGlyph(DC, inner, Glyph, GetSysColor(COLOR_BTNTEXT));
  }
}
