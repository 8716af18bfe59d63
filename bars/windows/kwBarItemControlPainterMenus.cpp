// This file implements the base item-control painter's operations for sub-menu windows, edit
// and combo items and the extended items (ellipsis, drop-down frames, date navigator, spin,
// progress bar, in-place sub-item).
#include <algorithm>
#include <climits>

#include "kjDropDownFrame.h"
#include "kjSystemGlyphs.h"
#include "kwBarItemControl.h"
#include "kwBarItemControlPainter.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {
void FillSolid(HDC DC, const TRect& Rect, COLORREF Color) {
  if (Rect.IsEmpty()) return;
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, AsRECT(Rect), brush);
}

}  // namespace

// --- Sub-menu windows ------------------------------------------------------------------------------

void TkwBarItemControlPainter::CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth,
                                               int& ExpandHeight, int& GlyphScaleBase) const {
  ArrowWidth = (RowHeight / 4) * 3 + 1;
  ExpandHeight = Menu->MeasureText("0").cy + 1;
  int c = GetMenuChevronSize(Menu, ExpandHeight);
  if (c % 2 != 0) ExpandHeight = 2 * c + 4;
  GlyphScaleBase = 19;
}

void TkwBarItemControlPainter::GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                                                int& HeightLimit) const {
  TRect client = Menu->ClientRect();
  int top = Menu->IsDetachable() ? 0 : 2;
  Start = TRect(Menu->GetSideBarWidth() + 2, top, client.Right - 2, top);
  if (FirstItemOffset) {
    *FirstItemOffset = 0;
    HeightLimit = INT_MAX;
  } else {
    HeightLimit = client.Bottom - 2 - (Menu->MarkExists() ? Menu->RowUnit() : 0);
  }
}

void TkwBarItemControlPainter::CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const {
  Size.cx = Content.cx == 0 ? 100 : Content.cx + Menu->GetSideBarWidth() + 6;
  if (Content.cy < 3 || Menu->MarkExists()) Content.cy += Menu->RowUnit();
  Size.cy = Content.cy + 4;
  if (Menu->IsDetachable()) Size.cy += GetMenuTearOffBarHeight(Menu);
}

int TkwBarItemControlPainter::GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const {
  return Menu->GetDetachStripHeight() + 3;
}

void TkwBarItemControlPainter::DrawMenuExtras(TkwBarSubMenuControl* Menu, HDC DC, int FirstVisible) const {
  TRect client = Menu->ClientRect();
  HBRUSH menuBrush = GetMenuBrush(Menu);
  if (FirstVisible > 0) {
    TRect up = Menu->GetScrollArrowRect(true);
    DrawMenuScrollArrow(Menu, DC, true, up);
    FillRect(DC, AsRECT(up), menuBrush);
    SelectClipRgn(DC, nullptr);
  }
  int expand = Menu->MarkExists() ? Menu->RowUnit() : 0;
  int bottom = client.Bottom - GetMenuBottomMargin() - expand;
  int last = -1;
  TkwBarItemLinks* links = Menu->ItemLinks();
  for (int i = links->GetShownItemCount() - 1; i >= 0; --i)
    if (!links->GetShownItem(i)->ItemRect.IsEmpty()) {
      last = i;
      break;
    }
  TRect lastRect = last >= 0 ? links->GetShownItem(last)->ItemRect : TRect();
  if (Menu->CanScrollDown()) {
    TRect down = Menu->GetScrollArrowRect(false);
    DrawMenuScrollArrow(Menu, DC, false, down);
    TkwBarItemControl* control = last >= 0 ? links->GetShownItem(last)->Control() : nullptr;
    if (control && control->RecentBlockEdge)
      FillRect(DC, AsRECT(TRect(down.Left, down.Top, down.Right, down.Top + 1)),
               SysBrush(control->ExpandedOnly ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
    lastRect.Bottom = down.Top;
  }
  TRect rest(Menu->GetSideBarWidth() + 1, std::max(lastRect.Bottom, 1), client.Right - 1, bottom);
  if (!rest.IsEmpty()) Menu->DrawBackground(DC, rest, false, clNone, Menu->GetBackgroundBrush());
  SelectClipRgn(DC, nullptr);
  if (Menu->MarkExists()) {
    TRect button = Menu->GetExpandArrowRect();
    TRect above(button.Left, bottom, button.Right, button.Top);
    if (!above.IsEmpty()) Menu->DrawBackground(DC, above, false, clNone, Menu->GetBackgroundBrush());
    if (Menu->MarkState() == msHot) {
      DrawEdge(DC, AsRECT(button), BDR_RAISEDINNER, BF_RECT);
      TRect inside = button;
      InflateBy(inside, -1, -1);
      TSelectedPalette palette(DC, Menu->ExpandedOnlyPalette(), false);
      FillRect(DC, AsRECT(inside), Menu->ExpandedOnlyBrush() ? Menu->ExpandedOnlyBrush() : Menu->GetBackgroundBrush());
    } else {
      Menu->DrawBackground(DC, button, false, clNone, Menu->GetBackgroundBrush());
    }
    DrawMenuExpandGlyph(Menu, DC, button);
  }
}

void TkwBarItemControlPainter::DrawMenuScrollArrow(TkwBarSubMenuControl* Menu, HDC DC, bool Up,
                                                   const TRect& Rect) const {
  int row = Menu->RowUnit();
  int half = row / 3 - 2;
  int height = row / 3 - 1;
  int side = Menu->GetSideBarWidth();
  int x = side + (Menu->ClientRect().Right - side) / 2;
  int y = Up ? Rect.Top + row / 2 : Rect.Top + (Rect.Height()) / 2;
  POINT p[3];
  if (Up) {
    p[0] = {x - half, y};
    p[1] = {x + half, y};
    p[2] = {x, y - height};
  } else {
    p[0] = {x - half, y};
    p[1] = {x + half, y};
    p[2] = {x, y + height};
  }
  FillPolygonWithColor(DC, p, 3, GetSysColor(COLOR_BTNTEXT));
  // The arrow keeps its pixels: what is drawn afterwards goes round it.
  POINT q[3] = {p[0], p[1], p[2]};
  int grow = Up ? 1 : -1;
  q[0].x -= 1;
  q[0].y += grow;
  q[1].x += 2;
  q[1].y += grow;
  q[2].y -= grow;
  TOwnedRegion region(CreatePolygonRgn(q, 3, WINDING));
  TOwnedRegion clip(CreateRectRgn(0, 0, 0, 0));
  if (GetClipRgn(DC, clip) != 1) {
    TRect client = Menu->ClientRect();
    SetRectRgn(clip, client.Left, client.Top, client.Right, client.Bottom);
  }
  CombineRgn(clip, clip, region, RGN_DIFF);
  SelectClipRgn(DC, clip);
}

void TkwBarItemControlPainter::DrawMenuExpandGlyph(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  int height = Menu->ExpandArrowHeight();
  int n = GetMenuChevronSize(Menu, height);
  if (n <= 0) return;
  int x = (Rect.Left + Rect.Right - n - 1) / 2;
  int y = Rect.Top + (height - 2 * n) / 2;
  TOwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
  TSelectedObject selected(DC, pen);
  for (int i = 0; i < n; ++i) {
    int row = y + i + (i >= n / 2 ? n / 2 : 0);
    POINT p[3] = {{x, row}, {x + n / 2, row + n / 2}, {x + n + 1, row - 1}};
    Polyline(DC, p, 3);
  }
}

void TkwBarItemControlPainter::DrawMenuBackground(TkwBarSubMenuControl* Menu, HDC DC, TColor Color, HBRUSH Brush,
                                                  const TRect& Rect) const {
  FillRectOrBitmap(DC, Rect, Menu->ClientRect(), Menu->GetSideBarBitmap(), Color, Brush);
}

void TkwBarItemControlPainter::DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom)), SysBrush(COLOR_BTNFACE));
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Right, Rect.Top + 1)), SysBrush(COLOR_BTNFACE));
  TRect r = Rect;
  DrawEdge(DC, AsRECT(r), BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  if (!Menu->IsDetachable()) return;
  InflateBy(r, -1, -1);
  DrawEdge(DC, AsRECT(r), BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
  InflateBy(r, -1, -1);
  r.Bottom = r.Top + GetMenuTearOffBarHeight(Menu) - 1;
  FrameRect(DC, AsRECT(r), SysBrush(COLOR_BTNFACE));
  AdjustMenuTearOffBarRect(Menu, r);
  DrawMenuTearOffBar(Menu, DC, r);
}

void TkwBarItemControlPainter::DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush,
                                                  TRect& Rect) const {
  if (Menu->IsDetachable()) Rect.Top -= 2;
  DrawEdge(DC, AsRECT(Rect), BDR_RAISEDINNER, BF_RECT);
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), Brush);
}

void TkwBarItemControlPainter::DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), SysBrush(Menu->DetachStripHot() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void TkwBarItemControlPainter::DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control,
                                                  bool NoSideStrip, const TRect& Rect, HDC DC) const {
  TRect area(Rect.Left, Rect.Top - GetMenuBeginGroupSize(), Rect.Right, Rect.Top);
  bool rare = Control->ExpandedOnly;
  bool startsRun = Control->RecentBlockEdge;
  HBRUSH brush = Menu->ItemBrush();
  if (startsRun && rare) {
    area.Top -= 1;
    brush = Menu->GetBackgroundBrush();
  }
  Control->ExtraRect = area;
  TkwBarManager* manager = Control->GetBarManager();
  int indent = manager ? manager->EditInset() : GetMenuSeparatorIndent();
  bool opaque = rare && !startsRun;
  TRect parts = area;
  if (rare && !startsRun) {
    if (NoSideStrip) parts.Left -= 1;
    parts.Right += 2;
  }
  DrawItemBackground(Control, DC, TRect(parts.Left, parts.Top, parts.Right, parts.Top + 4), brush, opaque);
  DrawItemBackground(Control, DC, TRect(parts.Left, parts.Bottom - 4, parts.Right, parts.Bottom), brush, opaque);
  DrawItemBackground(Control, DC, TRect(parts.Left, parts.Top, parts.Left + indent, parts.Bottom), brush, opaque);
  DrawItemBackground(Control, DC, TRect(parts.Right - indent, parts.Top, parts.Right, parts.Bottom), brush, opaque);
  TRect line = area;
  InflateBy(line, -indent, -4);
  DrawEdge(DC, AsRECT(line), EDGE_ETCHED, BF_TOP);
}

// --- Edit and combo items ----------------------------------------------------------------------------

void TkwBarItemControlPainter::DrawEditText(TkwBarItemControl*, TCanvas* Canvas, TRect Rect, const String& Text) const {
  Canvas->FillRect(Rect);
  Rect.Left += 2;
  Rect.Right -= 2;
  AdjustEditTextRect(Rect);
  HDC dc = Canvas->Handle();
  int mode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
  DrawTextA(dc, Text.c_str(), int(Text.size()), AsRECT(Rect), DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, mode);
}

void TkwBarItemControlPainter::DrawComboListItem(TCanvas* Canvas, const TRect& Rect, const String& Text, bool, bool,
                                                 bool) const {
  Canvas->FillRect(Rect);
  Canvas->TextOut(Rect.Left + 2, Rect.Top, Text);
}

void TkwBarItemControlPainter::DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int,
                                             TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  if (Selected)
    DrawEdge(DC, AsRECT(Rect), BDR_SUNKENOUTER, BF_RECT);
  else
    DrawItemFrame(Control, DC, Rect, background, Control->ExpandedOnly);
  InflateBy(Rect, -1, -1);
  bool enabled = Control->GetEnabled();
  DrawItemFrame(Control, DC, Rect, enabled ? background : SysBrush(COLOR_BTNHIGHLIGHT),
                Selected || Control->ExpandedOnly || !enabled);
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlPainter::DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                               TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  String caption = RemoveAmpersands(Control->GetCaption());
  SIZE extent{};
  GetTextExtentPoint32A(DC, caption.c_str(), int(caption.size()), &extent);
  bool menu = Location == ilMenu;
  TRect part(Rect.Left, Rect.Top, Rect.Left + extent.cx + 2, Rect.Bottom);
  Rect.Left = part.Right + 4;
  HBRUSH background = window->ItemBrush();
  DrawItemBackground(Control, DC, part, Selected && menu ? window->GetSelectedBrush() : background,
                     menu && (Selected || Control->ExpandedOnly));
  DrawCaption(Control, DC, Control->GetCaption(), part, caRight, Control->GetEnabled(), Selected && menu, false, false,
              false);
  DrawItemBackground(Control, DC, TRect(part.Right, part.Top, part.Right + 4, part.Bottom), background,
                     menu && Control->ExpandedOnly);
}

void TkwBarItemControlPainter::DrawEditValue(TkwBarItemControl* Control, HDC DC, bool Force, const TRect& Rect,
                                             const String& Text, bool Focused) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  if (Force || Control->GetEnabled()) {
    COLORREF text, back;
    GetEditColors(Control, text, back);
    TSavedDC saved(DC);
    IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    TCanvas canvas;
    canvas.SetHandle(DC);
    canvas.Font()->Assign(window->Canvas()->Font());
    canvas.Font()->SetColor(TColor(text));
    canvas.Brush()->SetColor(TColor(back));
    DrawEditText(Control, &canvas, Rect, Text);
    canvas.SetHandle(nullptr);
  } else if (!Focused) {
    FillRect(DC, AsRECT(Rect), window->ItemBrush());
  }
}

void TkwBarItemControlPainter::SelectEditText(TkwBarItemControl*, HWND Edit, bool) const {
  SendMessageA(Edit, EM_SETSEL, 0, -1);
}

// --- Extended items ----------------------------------------------------------------------------------

void TkwBarItemControlPainter::DrawEllipsisButton(TkwBarItemControl* Control, HDC DC, const TRect& Rect, TRect& Inner,
                                                  bool Pressed, bool Hot) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  TRect r = Rect;
  InflateBy(r, 0, -1);
  DrawItemFrame(Control, DC, r, background, false);
  InflateBy(r, -1, -1);
  DrawItemFrame(Control, DC, r, background, false);
  InflateBy(r, -1, -1);
  Inner = r;
  bool enabled = Control->GetEnabled();
  DrawSmallButtonFace(Control, DC, Inner, enabled, Pressed, Hot);
  int w = std::max(Inner.Width() / 7, 1);
  for (int i = 0; i < 3; ++i) {
    TRect dot = Bounds(Inner.Left + (1 + 2 * i) * w, Inner.Bottom - 2 * w, w, w);
    if (Pressed) ShiftPressedCaption(Control, true, dot);
    if (enabled)
      FillRect(DC, AsRECT(dot), SysBrush(COLOR_BTNTEXT));
    else
      DrawDisabledBlock(Control, DC, dot);
  }
}

void TkwBarItemControlPainter::CalcDropDownNonClient(HWND, TRect& Rect, bool WithGrip, const TRect& EditRect,
                                                     int& GripCorner) const {
  TRect window = Rect;
  InflateBy(Rect, -1, -1);
  if (!WithGrip) return;
  GripCorner = SelectGripCorner(EditRect, window);
  int strip = GetDropDownGripHeight();
  if (GripCorner == kjgcBottomLeft || GripCorner == kjgcBottomRight)
    Rect.Bottom -= strip;
  else
    Rect.Top += strip;
}

void TkwBarItemControlPainter::DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect,
                                                     TRect& CloseRect, bool Pressed, bool WithGrip) const {
  DrawDropDownFrame(Window, WithGrip, false, TkjGripCorner(GripCorner), GripRect, CloseRect, Hot, Pressed);
}

int TkwBarItemControlPainter::GetDropDownGripHeight() const { return GetDropDownGripStripHeight(); }

void TkwBarItemControlPainter::DrawDateNavigatorButton(TkwBarItemControl*, HDC DC, bool Pressed,
                                                       const String& Caption, TRect Rect) const {
  if (Pressed) {
    DrawFrameControl(DC, AsRECT(Rect), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  } else {
    FillRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNFACE));
    const TRect& r = Rect;
    FillRect(DC, AsRECT(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom)), SysBrush(COLOR_BTNTEXT));
    FillRect(DC, AsRECT(TRect(r.Right - 1, r.Top, r.Right, r.Bottom)), SysBrush(COLOR_BTNTEXT));
    FillRect(DC, AsRECT(TRect(r.Left + 1, r.Bottom - 2, r.Right - 1, r.Bottom - 1)), SysBrush(COLOR_BTNSHADOW));
    FillRect(DC, AsRECT(TRect(r.Right - 2, r.Top + 1, r.Right - 1, r.Bottom - 1)), SysBrush(COLOR_BTNSHADOW));
    FillRect(DC, AsRECT(TRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Top + 2)), SysBrush(COLOR_BTNHIGHLIGHT));
    FillRect(DC, AsRECT(TRect(r.Left + 1, r.Top + 1, r.Left + 2, r.Bottom - 2)), SysBrush(COLOR_BTNHIGHLIGHT));
    SetPixel(DC, r.Right - 2, r.Top + 1, GetSysColor(COLOR_BTNFACE));
  }
  InflateBy(Rect, -2, -2);
  DrawCenteredText(DC, Rect, true, Caption, Pressed ? 1 : 0);
}

void TkwBarItemControlPainter::DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held,
                                              int Button, bool Hot, int UpperHeight, int ArrowSize, int ArrowWidth,
                                              const TRect& Rect) const {
  TRect r = Rect;
  if (Button == 1)
    r.Bottom = r.Top + UpperHeight;
  else
    r.Top += UpperHeight;
  bool enabled = Control->GetEnabled();
  bool pressed = ShownPressed && Held == Button;
  DrawSmallButtonFace(Control, DC, r, enabled, pressed, Hot);
  InflateBy(r, -1, -1);
  int a = ArrowSize;
  int x = r.Left + a;
  int y = (r.Top + r.Bottom - a) / 2 + (Button == 1 ? a - 1 : 0);
  auto triangle = [&](int DX, COLORREF Color) {
    int half = ArrowWidth / 2;
    POINT p[3] = {{x + DX, y + DX},
                  {x + ArrowWidth - 1 + DX, y + DX},
                  {x + half + DX, (Button == 1 ? y - half : y + half) + DX}};
    FillPolygonWithColor(DC, p, 3, Color);
  };
  if (pressed) {
    ++x;
    ++y;
  }
  if (enabled) {
    triangle(0, GetSysColor(COLOR_BTNTEXT));
  } else {
    triangle(1, GetSysColor(COLOR_BTNHIGHLIGHT));
    triangle(0, GetSysColor(COLOR_BTNSHADOW));
  }
}

void TkwBarItemControlPainter::DrawSpinButtonsMargin(TkwBarItemControl* Control, HDC DC, TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  DrawItemBackground(Control, DC, TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom), background, false);
  DrawItemBackground(Control, DC, TRect(Rect.Right - 1, Rect.Top, Rect.Right, Rect.Bottom), background, false);
  InflateBy(Rect, -1, 0);
}

void TkwBarItemControlPainter::DrawProgressBar(TkwBarItemControl* Control, HDC DC, int Min, int Max, int Position,
                                               bool Solid, int Location, COLORREF Color, const TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  bool vertical = Location == ilRotated;
  int extent = vertical ? Rect.Height() : Rect.Width();
  int thickness = vertical ? Rect.Width() : Rect.Height();
  int range = Max - Min;
  int filled = range > 0 ? MulDiv(extent, std::clamp(Position, Min, Max) - Min, range) : 0;
  auto part = [&](int From, int To) {
    return vertical ? TRect(Rect.Left, Rect.Top + From, Rect.Right, Rect.Top + To)
                    : TRect(Rect.Left + From, Rect.Top, Rect.Left + To, Rect.Bottom);
  };
  if (Solid) {
    FillSolid(DC, part(0, filled), Color);
  } else {
    int chunk = std::max(MulDiv(thickness, 2, 3), 1);
    for (int at = 0; at < filled; at += chunk + 2) {
      FillSolid(DC, part(at, std::min(at + chunk, filled)), Color);
      int gapEnd = std::min(at + chunk + 2, filled);
      if (at + chunk < gapEnd) DrawItemBackground(Control, DC, part(at + chunk, gapEnd), background, false);
    }
  }
  if (filled < extent) DrawItemBackground(Control, DC, part(filled, extent), background, false);
}

void TkwBarItemControlPainter::DrawInPlaceSubItem(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                  bool Expanded, bool Selected) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom)), window->ItemBrush());
  TRect header(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom - 1);
  FillRect(DC, AsRECT(header), Selected ? window->GetSelectedBrush() : GetInPlaceSubItemBrush());
  TRect text = header;
  text.Left += 5;
  DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, true, true, false, false, Selected);
  if (!Control->GetEnabled()) return;
  int row = window->RowUnit();
  TRect arrow(header.Right - row, header.Top, header.Right, header.Bottom);
  if (!Expanded) OffsetBy(arrow, window->SmallUnit(), 0);
  DrawMenuArrow(DC, arrow, Expanded, false, true, true, window->SmallUnit());
}
