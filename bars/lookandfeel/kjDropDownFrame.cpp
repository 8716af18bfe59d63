// This file implements the frame of the drop-down windows of the bar library.
#include "kjDropDownFrame.h"

#include <algorithm>

#include "kjSystemGlyphs.h"

namespace {
bool IsLeftCorner(TkjGripCorner Corner) { return Corner == kjgcTopLeft || Corner == kjgcBottomLeft; }
bool IsTopCorner(TkjGripCorner Corner) { return Corner == kjgcTopLeft || Corner == kjgcTopRight; }
}  // namespace

int GetDropDownGripStripHeight() {
  int cysize = GetSystemMetrics(SM_CYSIZE);
  int cyhscroll = GetSystemMetrics(SM_CYHSCROLL);
  return cyhscroll + 2 < cysize ? cysize + 1 : cyhscroll + 3;
}

TkjGripCorner SelectGripCorner(const TRect& EditRect, const TRect& DropDownRect) {
  int index = (DropDownRect.Bottom > EditRect.Bottom ? 1 : 0) + (EditRect.Left < DropDownRect.Right ? 2 : 0);
  static const TkjGripCorner corners[4] = {kjgcTopLeft, kjgcBottomLeft, kjgcTopRight, kjgcBottomRight};
  return corners[index];
}

int GripCornerToHitTest(TkjGripCorner Corner) {
  static const int codes[4] = {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};
  return codes[Corner];
}

TRect DropDownGripCell(const TRect& Strip, TkjGripCorner Corner) {
  int w = GetSystemMetrics(SM_CXVSCROLL);
  int h = std::min(GetSystemMetrics(SM_CYHSCROLL), Strip.Height());
  int left = IsLeftCorner(Corner) ? Strip.Left : Strip.Right - w;
  int top = IsTopCorner(Corner) ? Strip.Top : Strip.Bottom - h;
  return Bounds(left, top, w, h);
}

void PaintSizeGrip(HDC DC, const TRect& Rect, TkjGripCorner Corner) {
  TRect cell = DropDownGripCell(Rect, Corner);
  int w = cell.Width();
  int h = cell.Height();
  if (w <= 0 || h <= 0) return;
  // Two-pixel bands of button face along the cell's outer sides; the glyph in the rest.
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  TRect vertical = IsLeftCorner(Corner) ? TRect(cell.Left, cell.Top, cell.Left + 2, cell.Bottom)
                                        : TRect(cell.Right - 2, cell.Top, cell.Right, cell.Bottom);
  TRect horizontal = IsTopCorner(Corner) ? TRect(cell.Left, cell.Top, cell.Right, cell.Top + 2)
                                         : TRect(cell.Left, cell.Bottom - 2, cell.Right, cell.Bottom);
  FillRect(DC, AsRECT(vertical), face);
  FillRect(DC, AsRECT(horizontal), face);
  TRect glyph(IsLeftCorner(Corner) ? cell.Left + 2 : cell.Left, IsTopCorner(Corner) ? cell.Top + 2 : cell.Top,
              IsLeftCorner(Corner) ? cell.Right : cell.Right - 2, IsTopCorner(Corner) ? cell.Bottom : cell.Bottom - 2);
  // The glyph points to the bottom-right: drawn off screen, then mirrored into place.
  DrawTurnedGlyph(DC, glyph, IsLeftCorner(Corner), IsTopCorner(Corner), [](HDC Memory, const RECT& R) {
    RECT r = R;
    DrawFrameControl(Memory, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  });
}

TRect DropDownCloseButtonRect(const TRect& Strip, TkjGripCorner Corner) {
  int w = GetSystemMetrics(SM_CXSIZE);
  int h = GetSystemMetrics(SM_CYSIZE) + 1;
  bool atLeft = Corner == kjgcTopRight || Corner == kjgcBottomRight;
  int left = atLeft ? Strip.Left : Strip.Right - w;
  int top = (Strip.Top + Strip.Bottom - h) / 2;
  if (!IsTopCorner(Corner)) ++top;
  return TRect(left + 1, top + 2, left + w - 1, top + h - 2);
}

void DrawDropDownCloseButton(HDC DC, const TRect& Rect, bool Framed, TkjGripCorner Corner, bool Flat, bool Pressed) {
  TRect button = DropDownCloseButtonRect(Rect, Corner);
  if (button.IsEmpty()) return;
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  RECT r = button;
  if (Framed && !Flat)
    DrawEdge(DC, &r, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    FrameRect(DC, &r, face);
  RECT inner = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  FillRect(DC, &inner, face);
  RECT glyph = {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1};
  TSavedDC saved(DC);
  IntersectClipRect(DC, glyph.left, glyph.top, glyph.right, glyph.bottom);
  // The glyph sits a pixel lower unless the caption buttons have their standard width; a pushed
  // button that is not flat moves it one more pixel right and down.
  if (GetSystemMetrics(SM_CXSIZE) != 22) OffsetRect(&glyph, 0, 1);
  if (Pressed && !Flat) OffsetRect(&glyph, 1, 1);
  DrawSystemGlyph(DC, TRect(glyph), kjsgClose, GetSysColor(COLOR_BTNTEXT));
}

void DrawDropDownFrame(HWND Window, bool ShowGrip, bool Flat, TkjGripCorner Corner, TRect& GripRect,
                       TRect& CloseRect, bool Hot, bool Pressed) {
  TWindowDC dc(Window, TWindowDC::WholeWindow);
  RECT window;
  GetWindowRect(Window, &window);
  TRect frame(0, 0, window.right - window.left, window.bottom - window.top);
  HBRUSH border = GetSysColorBrush(Flat ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
  FrameRect(dc, AsRECT(frame), border);
  GripRect = TRect();
  CloseRect = TRect();
  if (ShowGrip) {
    // Window coordinates of the client area's origin, to return client rectangles.
    POINT origin = {0, 0};
    ClientToScreen(Window, &origin);
    int dx = origin.x - window.left;
    int dy = origin.y - window.top;
    auto toClient = [&](const TRect& R) { return TRect(R.Left - dx, R.Top - dy, R.Right - dx, R.Bottom - dy); };
    TRect inside(1, 1, frame.Right - 1, frame.Bottom - 1);
    int height = GetDropDownGripStripHeight();
    TRect strip = IsTopCorner(Corner) ? TRect(inside.Left, inside.Top, inside.Right, inside.Top + height)
                                      : TRect(inside.Left, inside.Bottom - height, inside.Right, inside.Bottom);
    // The line between the strip and the client area.
    TRect line = IsTopCorner(Corner) ? TRect(strip.Left, strip.Bottom, strip.Right, strip.Bottom + 1)
                                     : TRect(strip.Left, strip.Top - 1, strip.Right, strip.Top);
    const TRect& content = strip;
    FillRect(dc, AsRECT(line), border);
    {
      TSavedDC saved(dc);
      TRect grip = DropDownGripCell(content, Corner);
      PaintSizeGrip(dc, content, Corner);
      ExcludeClipRect(dc, grip.Left, grip.Top, grip.Right, grip.Bottom);
      GripRect = toClient(grip);
      TRect close = DropDownCloseButtonRect(content, Corner);
      DrawDropDownCloseButton(dc, content, Hot || Pressed, Corner, Flat, Hot && Pressed);
      ExcludeClipRect(dc, close.Left, close.Top, close.Right, close.Bottom);
      CloseRect = toClient(close);
      FillRect(dc, AsRECT(content), GetSysColorBrush(COLOR_BTNFACE));
    }
    LONG style = GetWindowLongA(Window, GWL_STYLE);
    if (!IsTopCorner(Corner) && (style & WS_HSCROLL) && (style & WS_VSCROLL)) {
      int w = GetSystemMetrics(SM_CXVSCROLL);
      int h = GetSystemMetrics(SM_CYHSCROLL);
      TRect square(line.Right - w, line.Top - h, line.Right, line.Top);
      FillRect(dc, AsRECT(square), GetSysColorBrush(COLOR_BTNFACE));
    }
  }
}
