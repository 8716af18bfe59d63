// This file implements the standard and enhanced painters.
#include "kwBarStandardPainters.h"

#include <algorithm>

#include "kjSystemGlyphs.h"
#include "kwBarControl.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

void DrawCheckPolyline(HDC DC, int Scale, int Top, int Left, int Rows, COLORREF Color) {
  int s = Scale;
  TOwnedPen pen(CreatePen(PS_SOLID, 1, Color));
  TSelectedObject selected(DC, pen);
  for (int row = 0; row < Rows; ++row) {
    POINT p[3] = {{Left + s, Top + 2 * s + row}, {Left + 3 * s, Top + 4 * s + row}, {Left + 8 * s, Top - s + row}};
    Polyline(DC, p, 3);
  }
}

// --- Standard painter ----------------------------------------------------------------------------------

void TkwBarItemControlStandardPainter::DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
                                                        int Location, const TRect& Rect, bool Framed,
                                                        HBRUSH Brush) const {
  bool down = States.Contains(cstDown), selected = States.Contains(cstSelected), pressed = States.Contains(cstPressed);
  bool menu = Location == ilMenu;
  if (down || (selected && !menu) || (selected && menu && !States.Contains(cstNoGlyph))) {
    TRect r = Rect;
    DrawEdge(DC, AsRECT(r), pressed || down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else if (Framed) {
    DrawItemFrame(Control, DC, Rect, Brush, down || selected || pressed || Control->ExpandedOnly);
  }
}

void TkwBarItemControlStandardPainter::DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top,
                                                     int Left) const {
  int rows = 2 * Scale + 1;
  if (Control->GetEnabled()) {
    COLORREF outline = GetSysColor(COLOR_BTNFACE) == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    DrawCheckPolyline(DC, Scale, Top - 1, Left, rows + 2, outline);
    DrawCheckPolyline(DC, Scale, Top - 1, Left - 1, rows + 2, outline);
    DrawCheckPolyline(DC, Scale, Top - 1, Left + 1, rows + 2, outline);
    DrawCheckPolyline(DC, Scale, Top, Left, rows, RGB(192, 192, 192));
  } else {
    DrawCheckPolyline(DC, Scale, Top + 1, Left + 1, Scale, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawCheckPolyline(DC, Scale, Top, Left, Scale, GetSysColor(COLOR_BTNSHADOW));
  }
}

void TkwBarItemControlStandardPainter::DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position,
                                                       const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  auto stroke = [&](int DX, int DY, COLORREF Color) {
    TOwnedPen pen(CreatePen(PS_SOLID, 1, Color));
    TSelectedObject selected(DC, pen);
    if (!vertical) {
      int y = Rect.Top + 2 + DY;
      int x = Position + DX;
      POINT p[3] = {{x, y}, {x + 3, y + 3}, {x - 1, y + 7}};
      Polyline(DC, p, 3);
    } else {
      int x = Rect.Left + 2 + DX;
      int y = Position + DY;
      POINT p[3] = {{x, y}, {x + 3, y + 3}, {x + 7, y - 1}};
      Polyline(DC, p, 3);
    }
  };
  stroke(0, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
  stroke(1, 0, GetSysColor(COLOR_BTNSHADOW));
}

void TkwBarItemControlStandardPainter::DrawMarkBackground(TCustomkwBarControl*, HDC DC, HBRUSH Brush,
                                                          const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), Brush);
}

void TkwBarItemControlStandardPainter::DrawDisabledBlock(TkwBarItemControl* Control, HDC DC,
                                                         const TRect& Rect) const {
  TRect shifted = Rect;
  OffsetBy(shifted, 1, 1);
  FillRect(DC, AsRECT(shifted), SysBrush(COLOR_BTNHIGHLIGHT));
  TkwBarItemControlPainter::DrawDisabledBlock(Control, DC, Rect);
}

void TkwBarItemControlStandardPainter::DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down,
                                                           bool Selected, bool ShowGlyph, const TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect square(Rect.Left, Rect.Top, Rect.Left + Rect.Height(), Rect.Bottom);
  bool glyph = ShowGlyph && Control->HasGlyph();
  TkwCellStates states;
  if (Down) states.Include(cstDown);
  if (Selected) states.Include(cstSelected);
  if (!glyph) states.Include(cstNoGlyph);
  DrawGlyph(Control, square, states, ilMenu, Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph());
  bool framed = Selected || Control->ExpandedOnly;
  TRect column(square.Right, Rect.Top, square.Right + 1, Rect.Bottom);
  TRect caption(column.Right, Rect.Top, Rect.Right, Rect.Bottom);
  HBRUSH background = window->ItemBrush();
  HBRUSH columnBrush = Selected && !Down && glyph ? window->GetSelectedBrush() : background;
  HBRUSH captionBrush = Selected ? window->GetSelectedBrush() : background;
  FillRect(DC, AsRECT(column), columnBrush);
  if (Selected)
    FillRect(DC, AsRECT(caption), captionBrush);
  else
    DrawItemBackground(Control, DC, caption, captionBrush, Control->ExpandedOnly);
  DrawItemFrame(Control, DC, caption, captionBrush, framed);
  TRect text = caption;
  text.Left += 2;
  DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, Control->GetEnabled(), Selected, false, false, false);
}

void TkwBarItemControlStandardPainter::DrawLoweredFrame(TkwBarItemControl*, HDC DC, TRect& Rect) const {
  DrawEdge(DC, AsRECT(Rect), BDR_SUNKENOUTER, BF_RECT);
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlStandardPainter::DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                           bool, bool Pressed, bool Hot) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  TRect r = Rect;
  if (Hot)
    DrawEdge(DC, AsRECT(r), Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    FrameRect(DC, AsRECT(r), background);
  InflateBy(r, -1, -1);
  FillRect(DC, AsRECT(r), background);
}

HBRUSH TkwBarItemControlStandardPainter::GetItemBackgroundBrush(TkwBarItemControl* Control, int Location,
                                                                TkwCellStates States) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return SysBrush(COLOR_BTNFACE);
  bool down = States.Contains(cstDown), selected = States.Contains(cstSelected);
  if (down && Control->GetEnabled()) return selected ? window->GetDownBrush() : window->GetCheckedBrush();
  if (selected && States.Contains(cstNoGlyph) && Location == ilMenu && !down) return window->GetSelectedBrush();
  return window->ItemBrush();
}

void TkwBarItemControlStandardPainter::DrawCloseButton(TCustomkwBarControl* Window, HDC DC,
                                                       const TRect& Rect) const {
  TOwnedBrush frame(CreateSolidBrush(GetFloatingCaptionColor(Window, true)));
  FrameRect(DC, AsRECT(Rect), frame);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  UINT state = DFCS_CAPTIONCLOSE | (bar && bar->CloseButtonState() == 2 ? DFCS_PUSHED : 0);
  DrawFrameControl(DC, AsRECT(inside), DFC_CAPTION, state);
}

void TkwBarItemControlStandardPainter::DrawGripLine(HDC DC, const TRect& Line, bool Vertical) const {
  TRect r = Line;
  DrawEdge(DC, AsRECT(r), BDR_RAISEDINNER, BF_RECT);
  if (Vertical)
    SetPixel(DC, r.Right - 1, r.Top, GetSysColor(COLOR_BTNHIGHLIGHT));
  else
    SetPixel(DC, r.Left, r.Bottom - 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  TRect inside = r;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), SysBrush(COLOR_BTNFACE));
  ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
}

void TkwBarItemControlStandardPainter::DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const {
  DrawEdge(DC, AsRECT(Rect), BDR_RAISEDINNER, BF_RECT);
  InflateBy(Rect, -2, -2);
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  int width = GetGripLineWidth();
  for (int i = 0; i < 2; ++i) {
    int start = GetGripOffset() + i * width;
    TRect line = vertical ? TRect(Rect.Left, Rect.Top + start, Rect.Right, Rect.Top + start + width)
                          : TRect(Rect.Left + start, Rect.Top, Rect.Left + start + width, Rect.Bottom);
    DrawGripLine(DC, line, vertical);
  }
}

void TkwBarItemControlStandardPainter::DrawFloatingBarBorder(TCustomkwBarControl*, HDC DC, HBRUSH, int&,
                                                             TRect& Rect) const {
  DrawEdge(DC, AsRECT(Rect), EDGE_RAISED, BF_RECT);
  InflateBy(Rect, -2, -2);
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNFACE));
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNFACE));
}

void TkwBarItemControlStandardPainter::DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC,
                                                     bool Pressed, bool Hot) const {
  static const UINT kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool enabled = !bar || bar->IsCaptionButtonEnabled(Index);
  UINT state = kinds[Index] | (enabled ? 0 : DFCS_INACTIVE) | (Pressed && Hot ? DFCS_PUSHED : 0);
  TkwBarManager* manager = Window->GetBarManager();
  TRect r = Rect;
  if (Index == 2 && manager && manager->FlatCloseButton() && bar && bar->IsMDIButtonsShown()) {
    {
      TSavedDC saved(DC);
      IntersectClipRect(DC, r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
      DrawFrameControl(DC, AsRECT(r), DFC_CAPTION, state | DFCS_FLAT);
    }
    DrawEdge(DC, AsRECT(r), Pressed && Hot ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    return;
  }
  DrawFrameControl(DC, AsRECT(r), DFC_CAPTION, state);
}

TRect TkwBarItemControlStandardPainter::CalcMarkRect(TCustomkwBarControl* Window) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar) return TRect();
  if (bar->IsFloating()) {
    TRect caption = bar->GetCaptionRect();
    return TRect(caption.Left, caption.Top, caption.Left + 13, caption.Bottom);
  }
  TRect client = bar->ClientRect();
  if (bar->IsVertical()) return TRect(client.Right - 9, client.Bottom - 11, client.Right, client.Bottom);
  return TRect(client.Right - 11, 0, client.Right, 9);
}

void TkwBarItemControlStandardPainter::DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                           HBRUSH Face, COLORREF, bool Selected, bool Pressed,
                                                           bool DroppedDown, bool DropDownEnabled, bool,
                                                           int Location) const {
  TRect r = Rect;
  DrawItemBackground(Control, DC, r, Face, Selected || Pressed || DroppedDown || Control->ExpandedOnly);
  if (Selected) {
    DrawEdge(DC, AsRECT(r), DroppedDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else if (Location == ilMenu) {
    TRect line(r.Left - 1, r.Top, r.Left + 1, r.Bottom);
    DrawEdge(DC, AsRECT(line), EDGE_ETCHED, BF_LEFT);
  }
  bool enabled = Control->GetEnabled() && DropDownEnabled;
  TRect arrow = r;
  if (Location == ilMenu) {
    if (DroppedDown) OffsetBy(arrow, 1, 1);
    TCustomkwBarControl* window = WindowOf(Control);
    DrawMenuArrow(DC, arrow, false, false, enabled, false, window ? window->SmallUnit() : 4);
  } else {
    if (DroppedDown && r.Width() > 9) OffsetBy(arrow, 1, 1);
    DrawDropDownArrow(DC, arrow, true, false, false, enabled);
  }
}

void TkwBarItemControlStandardPainter::ShiftPressedContent(TkwBarItemControl*, bool Down, bool Pressed,
                                                           TRect& Rect) const {
  int shift = (Down ? 1 : 0) + (Pressed ? 1 : 0);
  OffsetBy(Rect, shift, shift);
}

void TkwBarItemControlStandardPainter::ShiftPressedCaption(TkwBarItemControl*, bool Pressed, TRect& Rect) const {
  if (Pressed) OffsetBy(Rect, 1, 1);
}

void TkwBarItemControlStandardPainter::DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
                                                       bool Enabled, bool DroppedDown, const TRect& Rect,
                                                       TRect& ButtonRect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect button(Rect.Right - window->ComboButtonWidth(), Rect.Top, Rect.Right, Rect.Bottom);
  ButtonRect = button;
  COLORREF arrow;
  HBRUSH face;
  GetComboButtonColors(Control, Location, arrow, face, DroppedDown, Selected, Enabled);
  HBRUSH columnBrush;
  if (Selected && Enabled) {
    DrawEdge(DC, AsRECT(button), DroppedDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    columnBrush = window->ItemBrush();
  } else {
    columnBrush = Enabled ? SysBrush(COLOR_BTNHIGHLIGHT) : window->ItemBrush();
    FrameRect(DC, AsRECT(button), columnBrush);
  }
  FillRect(DC, AsRECT(TRect(button.Left - 1, button.Top, button.Left, button.Bottom)), columnBrush);
  TRect inside = button;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), face);
  if (DroppedDown) OffsetBy(inside, 1, 1);
  int d = inside.Width() / 2;
  if (d % 2 == 0) --d;
  d = std::max(d, 1);
  int left = (inside.Left + inside.Right - d) / 2;
  int top = (inside.Top + inside.Bottom - d / 2) / 2;
  if (Enabled) {
    DrawTriangle(Control, DC, arrow, d, top, left);
  } else {
    DrawTriangle(Control, DC, GetSysColor(COLOR_BTNHIGHLIGHT), d, top + 1, left + 1);
    DrawTriangle(Control, DC, GetSysColor(COLOR_BTNSHADOW), d, top, left);
  }
}

void TkwBarItemControlStandardPainter::DrawDropDownListBorder(HDC DC, const TRect& Rect) const {
  TRect r = Rect;
  DrawEdge(DC, AsRECT(r), EDGE_RAISED, BF_RECT);
}

void TkwBarItemControlStandardPainter::DrawMenuItemMargins(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control,
                                                           bool NoSideStrip, int Index, const TRect& Rect,
                                                           HDC DC) const {
  int n = NoSideStrip ? 1 : 0;
  bool rare = Control->ExpandedOnly;
  if (Control->RecentBlockEdge) {
    int top = Rect.Top - 1;
    if (Control->Link() && Control->Link()->BeginGroup() && !rare) top = Control->ExtraRect.Top - 1;
    FillRect(DC, AsRECT(TRect(Rect.Left - n, top, Rect.Right + 1, top + 1)),
             SysBrush(rare ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
  }
  if (!rare) return;
  HBRUSH brush = Menu->ItemBrush();
  TRect client = Menu->ClientRect();
  if (Index == 0 && !Menu->IsDetachable()) {
    FillRect(DC, AsRECT(TRect(Rect.Left - n, client.Top + 1, Rect.Right + 2, Rect.Top)), brush);
    SetPixel(DC, Rect.Right + 1, Rect.Top - 2, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  if (n > 0) FillRect(DC, AsRECT(TRect(Rect.Left - n, Rect.Top, Rect.Left, Rect.Bottom)), brush);
  FillRect(DC, AsRECT(TRect(Rect.Right, Rect.Top, Rect.Right + 2, Rect.Bottom)), brush);
  if (Control->RowEnd) {
    FillRect(DC, AsRECT(TRect(Rect.Left - n, Rect.Bottom, Rect.Right + 2, client.Bottom)), brush);
    if (n == 1) SetPixel(DC, Rect.Left - 2, client.Bottom - 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

void TkwBarItemControlStandardPainter::AdjustEditWindow(TkwBarItemControl*, HWND Edit, const TRect&) const {
  SendMessageA(Edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
}

// --- Enhanced painter ---------------------------------------------------------------------------------

void TkwBarItemControlEnhancedPainter::DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const {
  DrawEdge(DC, AsRECT(Rect), BDR_RAISEDINNER, BF_RECT);
  InflateBy(Rect, -2, -2);
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  int start = GetGripOffset(), width = GetGripLineWidth();
  TRect line = vertical ? TRect(Rect.Left + 1, Rect.Top + start, Rect.Right - 1, Rect.Top + start + width)
                        : TRect(Rect.Left + start, Rect.Top + 1, Rect.Left + start + width, Rect.Bottom - 1);
  DrawEdge(DC, AsRECT(line), BDR_RAISEDINNER, BF_RECT);
  TRect inside = line;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), SysBrush(COLOR_BTNFACE));
  ExcludeClipRect(DC, line.Left, line.Top, line.Right, line.Bottom);
}

TRect EnhancedMarkRect(TCustomkwBarControl* Window) {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar) return TRect();
  TRect client = bar->ClientRect();
  if (bar->IsVertical()) return TRect(0, client.Bottom - 11, client.Right, client.Bottom);
  return TRect(client.Right - 11, 0, client.Right, client.Bottom);
}

TRect TkwBarItemControlEnhancedPainter::CalcMarkRect(TCustomkwBarControl* Window) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (bar && bar->IsFloating()) return TkwBarItemControlStandardPainter::CalcMarkRect(Window);
  return EnhancedMarkRect(Window);
}

void TkwBarItemControlEnhancedPainter::DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position,
                                                       const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  TOwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
  TSelectedObject selected(DC, pen);
  if (!vertical) {
    int y = Rect.Top + (IsSmallMarkRect(Window, Rect) ? 3 : 4);
    POINT p[3] = {{Position, y}, {Position + 2, y + 2}, {Position - 1, y + 5}};
    Polyline(DC, p, 3);
  } else {
    int x = Rect.Right - 8;
    POINT p[3] = {{x, Position}, {x + 2, Position + 2}, {x + 5, Position - 1}};
    Polyline(DC, p, 3);
  }
}

void TkwBarItemControlEnhancedPainter::DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                          const TRect& Rect) const {
  TRect r = Rect;
  switch (Window->MarkState()) {
    case msHot: DrawEdge(DC, AsRECT(r), BDR_RAISEDINNER, BF_RECT); break;
    case msPressed: DrawEdge(DC, AsRECT(r), BDR_SUNKENOUTER, BF_RECT); break;
    default: FrameRect(DC, AsRECT(r), Brush); break;
  }
  InflateBy(r, -1, -1);
  FillRect(DC, AsRECT(r), Brush);
}

void DrawEnhancedMarkGlyph(const TkwBarItemControlPainter* Painter, TCustomkwBarControl* Window, HDC DC,
                           const TRect& Rect) {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  COLORREF color = GetSysColor(COLOR_BTNTEXT);
  if (!vertical) {
    int x = Rect.Left + 3;
    int y = Rect.Bottom - 7 - (Painter->IsSmallMarkRect(Window, Rect) ? 1 : 0);
    POINT p[3] = {{x, y}, {x + 4, y}, {x + 2, y + 2}};
    FillPolygonWithColor(DC, p, 3, color);
  } else {
    int x = Rect.Left + 5;
    int y = Rect.Top + 3;
    POINT p[3] = {{x, y}, {x, y + 4}, {x + 2, y + 2}};
    FillPolygonWithColor(DC, p, 3, color);
  }
  if (bar && bar->LinksHidden()) {
    if (vertical) {
      Painter->DrawMarkChevron(Window, DC, Rect.Bottom - 9, Rect);
      Painter->DrawMarkChevron(Window, DC, Rect.Bottom - 5, Rect);
    } else {
      Painter->DrawMarkChevron(Window, DC, Rect.Left + 2, Rect);
      Painter->DrawMarkChevron(Window, DC, Rect.Left + 6, Rect);
    }
  }
}

void TkwBarItemControlEnhancedPainter::DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  DrawEnhancedMarkGlyph(this, Window, DC, Rect);
}
