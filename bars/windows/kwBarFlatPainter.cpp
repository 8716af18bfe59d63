// This file implements the flat painter.
#include "kwBarFlatPainter.h"

#include <algorithm>
#include <climits>

#include "kjDropDownFrame.h"
#include "kjSystemGlyphs.h"
#include "kwBarControl.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {
HBRUSH FlatBrushOf(TCustomkwBarControl* Window, int Index) {
  TkwBarManager* manager = Window ? Window->GetBarManager() : nullptr;
  return manager ? manager->FlatBrush(Index) : SysBrush(COLOR_BTNFACE);
}

HBRUSH FlatBrushOf(TkwBarItemControl* Control, int Index) {
  TkwBarManager* manager = Control ? Control->GetBarManager() : nullptr;
  return manager ? manager->FlatBrush(Index) : SysBrush(COLOR_BTNFACE);
}

void FillSolid(HDC DC, const TRect& Rect, COLORREF Color) {
  if (Rect.IsEmpty()) return;
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, AsRECT(Rect), brush);
}
}  // namespace

TCustomkwBarControl* TkwBarItemControlFlatPainter::OpenMenuOf(TkwBarItemControl* Control) {
  if (!Control) return nullptr;
  auto* menu = dynamic_cast<TCustomkwBarControl*>(Control->GetSubMenuControl());
  return menu && IsLiveBarControl(menu) && menu->HandleAllocated() ? menu : nullptr;
}

// --- The flat painter's own operations ---------------------------------------------------------------

void TkwBarItemControlFlatPainter::FrameSelected(HDC DC, const TRect& Rect) const { FrameRectHighlight(DC, Rect); }

HBRUSH TkwBarItemControlFlatPainter::GetFlatFrameBrush(TkwBarItemControl*, int) const {
  return SysBrush(COLOR_BTNSHADOW);
}

void TkwBarItemControlFlatPainter::DrawJoinedDropDownFrame(TCustomkwBarControl* Window, HDC DC,
                                                           TCustomkwBarControl* Menu, const TRect& Rect) const {
  FrameJoinedToMenu(Window, DC, Menu, nullptr, Rect);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), GetOpenOwnerBrush(Window->GetBarManager()));
}

void TkwBarItemControlFlatPainter::FrameJoinedToMenu(TCustomkwBarControl* Window, HDC DC, TCustomkwBarControl* Menu,
                                                     TkwBarItemControl*, const TRect& Rect) const {
  TRect join;
  if (Menu && IsLiveBarControl(Menu) && Menu->HandleAllocated()) {
    join = Menu->GetJoinRect(true);
    if (!join.IsEmpty()) {
      // The window draws in its client coordinates, on its own DC or on its double buffer alike.
      HWND owner = Window && Window->HandleAllocated() ? Window->Handle() : nullptr;
      if (owner) {
        MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&join), 2);
      } else {
        POINT origin;
        GetDCOrgEx(DC, &origin);
        OffsetBy(join, -origin.x, -origin.y);
      }
    }
  }
  // The side that touches the open menu gets no line: item and menu make one shape.
  HRGN saved;
  bool existed;
  SaveClipRegion(DC, saved, existed);
  if (!join.IsEmpty()) ExcludeClipRect(DC, join.Left, join.Top, join.Right, join.Bottom);
  FrameSelected(DC, Rect);
  RestoreClipRegion(DC, saved, existed);
  // The strip continues the item's inside into the menu.
  if (!join.IsEmpty()) FillRect(DC, AsRECT(join), GetOpenOwnerBrush(Window ? Window->GetBarManager() : nullptr));
}

void TkwBarItemControlFlatPainter::DrawOwnerFrame(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), FlatBrushOf(Window, 0));
}

void TkwBarItemControlFlatPainter::DrawOwnerJoinGap(TCustomkwBarControl* Window, HDC DC, TkwBarItemControl*,
                                                    const TRect& Rect, const TRect&) const {
  FillRect(DC, AsRECT(Rect), GetOpenOwnerBrush(Window->GetBarManager()));
}

// --- Item cells -------------------------------------------------------------------------------------

void TkwBarItemControlFlatPainter::DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
                                                    int Location, const TRect& Rect, bool Framed, HBRUSH Brush) const {
  bool down = States.Contains(cstDown), selected = States.Contains(cstSelected);
  if (down || (selected && Location != ilMenu)) {
    TCustomkwBarControl* menu = down && States.Contains(cstOpensMenu) ? OpenMenuOf(Control) : nullptr;
    if (menu)
      FrameJoinedToMenu(WindowOf(Control), DC, menu, Control, Rect);
    else
      FrameSelected(DC, Rect);
  } else if (Framed) {
    DrawItemFrame(Control, DC, Rect, Brush,
                  down || selected || States.Contains(cstPressed) || Control->ExpandedOnly);
  }
}

void TkwBarItemControlFlatPainter::DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top,
                                                 int Left) const {
  COLORREF color = !Control->GetEnabled() ? GetSysColor(COLOR_BTNSHADOW)
                   : GetSysColor(COLOR_BTNFACE) == 0 ? RGB(255, 255, 255)
                                                     : RGB(0, 0, 0);
  DrawCheckPolyline(DC, Scale, Top, Left, Scale, color);
}

COLORREF TkwBarItemControlFlatPainter::GetMarkGlyphColor(TCustomkwBarControl*, int State) const {
  return GetSysColor(State == msNormal ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
}

void TkwBarItemControlFlatPainter::DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                      const TRect& Rect) const {
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  switch (Window->MarkState()) {
    case msPressed:
      FrameSelected(DC, Rect);
      FillRect(DC, AsRECT(inside), GetOpenOwnerBrush(Window->GetBarManager()));
      break;
    case msHot:
      FrameSelected(DC, Rect);
      FillRect(DC, AsRECT(inside), Window->GetSelectedBrush());
      break;
    default:
      FrameRect(DC, AsRECT(Rect), Brush);
      FillRect(DC, AsRECT(inside), Brush);
      break;
  }
}

void TkwBarItemControlFlatPainter::DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  DrawEnhancedMarkGlyph(this, Window, DC, Rect);
}

void TkwBarItemControlFlatPainter::DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position,
                                                   const TRect& Rect) const {
  static const TkwBarItemControlEnhancedPainter enhanced;
  enhanced.DrawMarkChevron(Window, DC, Position, Rect);
}

void TkwBarItemControlFlatPainter::GetFloatingCaptionTextOffset(TCustomkwBarControl*, int& Left,
                                                                const TRect& Rect) const {
  Left = Rect.Left + 2;
}

void TkwBarItemControlFlatPainter::DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down, bool Selected,
                                                       bool ShowGlyph, const TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  HBRUSH background = window->ItemBrush();
  TRect r = Rect;
  // The glyph column: the ring's left pixel, the square (as high as the line inside the ring) and
  // the 2-pixel column after it.
  int squareRight = r.Left + r.Height() + 1;
  if (Selected) {
    FrameSelected(DC, r);
  } else {
    // The one-pixel ring: the glyph column's colour round the glyph, the item's round the caption.
    FillGlyphColumnPart(Control, DC, TRect(r.Left, r.Top, squareRight, r.Top + 1));
    FillGlyphColumnPart(Control, DC, TRect(r.Left, r.Bottom - 1, squareRight, r.Bottom));
    FillGlyphColumnPart(Control, DC, TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
    FillRect(DC, AsRECT(TRect(squareRight, r.Top, r.Right, r.Top + 1)), background);
    FillRect(DC, AsRECT(TRect(squareRight, r.Bottom - 1, r.Right, r.Bottom)), background);
    FillRect(DC, AsRECT(TRect(r.Right - 1, r.Top, r.Right, r.Bottom)), background);
  }
  InflateBy(r, -1, -1);
  TRect square(r.Left, r.Top, r.Left + r.Height(), r.Bottom);
  bool glyph = ShowGlyph && Control->HasGlyph();
  TkwCellStates states;
  if (Down) states.Include(cstDown);
  if (Selected) states.Include(cstSelected);
  if (!glyph) states.Include(cstNoGlyph);
  states.Include(cstKeepSize);
  DrawGlyph(Control, square, states, ilMenu, Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph());
  TRect column(square.Right, r.Top, square.Right + 2, r.Bottom);
  if (Selected)
    FillRect(DC, AsRECT(column), window->GetSelectedBrush());
  else
    FillGlyphColumnPart(Control, DC, column);
  TRect caption(column.Right, r.Top, r.Right, r.Bottom);
  FillRect(DC, AsRECT(caption), Selected ? window->GetSelectedBrush() : background);
  TRect text = caption;
  text.Left += 8;
  DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, Control->GetEnabled(), Selected, false, false, true);
}

void TkwBarItemControlFlatPainter::FillGlyphColumnPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), FlatBrushOf(Control, 1));
}

void TkwBarItemControlFlatPainter::DrawLoweredFrame(TkwBarItemControl*, HDC DC, TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNSHADOW));
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlFlatPainter::DrawStaticBorder(TkwBarItemControl* Control, HDC DC, TkwBarStaticBorderStyle Style,
                                                    int BorderWidth, TRect& Rect) const {
  for (int i = 0; i < BorderWidth; ++i) {
    FrameRect(DC, AsRECT(Rect), GetFlatFrameBrush(Control, Style));
    InflateBy(Rect, -1, -1);
  }
}

void TkwBarItemControlFlatPainter::DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool,
                                                       bool Pressed, bool Hot) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  if (Hot) {
    FrameSelected(DC, Rect);
    FillRect(DC, AsRECT(inside), Pressed ? window->GetDownBrush() : window->GetSelectedBrush());
  } else {
    FrameRect(DC, AsRECT(Rect), window->ItemBrush());
    FillRect(DC, AsRECT(inside), window->ItemBrush());
  }
}

void TkwBarItemControlFlatPainter::GetPaintColors(TkwBarItemControl* Control, int, bool Pressed, bool Selected, bool,
                                                  COLORREF& Arrow, HBRUSH& Face) const {
  TCustomkwBarControl* window = WindowOf(Control);
  Arrow = GetSysColor(COLOR_BTNTEXT);
  if (!window) {
    Face = SysBrush(COLOR_BTNFACE);
  } else if (!Selected) {
    Face = window->ItemBrush();
  } else if (Pressed) {
    Face = window->GetDownBrush();
    Arrow = GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else {
    Face = window->GetSelectedBrush();
  }
}

HBRUSH TkwBarItemControlFlatPainter::GetItemBackgroundBrush(TkwBarItemControl* Control, int Location,
                                                            TkwCellStates States) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return SysBrush(COLOR_BTNFACE);
  bool down = States.Contains(cstDown);
  if (States.Contains(cstSelected)) {
    if (down && States.Contains(cstOpensMenu)) return GetOpenOwnerBrush(window->GetBarManager());
    if (down || States.Contains(cstPressed)) return window->GetDownBrush();
    return window->GetSelectedBrush();
  }
  if (down) return window->GetCheckedBrush();
  if (Location == ilMenu && !States.Contains(cstPlainBackground)) return FlatBrushOf(Control, 1);
  return window->ItemBrush();
}

int TkwBarItemControlFlatPainter::GetGlyphColumnWidth(TkwBarItemControl* Control) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return window && window->IsSubMenu() ? window->RowUnit() + 3 : 0;
}

// --- Bar windows ------------------------------------------------------------------------------------

bool TkwBarItemControlFlatPainter::HasShadow(TCustomkwBarControl* Window) const {
  return Window && Window->DockingStyle() == dsNone && !Window->DockSite();
}

HBRUSH TkwBarItemControlFlatPainter::GetBarBrush(TCustomkwBarControl* Window) const { return FlatBrushOf(Window, 1); }

HBRUSH TkwBarItemControlFlatPainter::GetBarWindowBrush(TCustomkwBarControl* Window) const {
  TkwBar* bar = Window ? Window->Bar() : nullptr;
  if (bar && (bar->IsMainMenu() || bar->IsStatusBarStyle())) return SysBrush(COLOR_BTNFACE);
  return GetBarBrush(Window);
}

HBRUSH TkwBarItemControlFlatPainter::GetCheckedBrush(TCustomkwBarControl* Window) const {
  return FlatBrushOf(Window, 2);
}
HBRUSH TkwBarItemControlFlatPainter::GetDownBrush(TCustomkwBarControl* Window) const { return FlatBrushOf(Window, 3); }
HBRUSH TkwBarItemControlFlatPainter::GetSelectedBrush(TCustomkwBarControl* Window) const {
  return FlatBrushOf(Window, 4);
}

void TkwBarItemControlFlatPainter::DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal,
                                                     HBRUSH Brush, const TRect& Rect) const {
  int offset = GetBarBeginGroupLineOffset(Window, DC);
  FillRect(DC, AsRECT(Rect), Brush);
  TRect line = Horizontal ? TRect(Rect.Left, Rect.Top + offset, Rect.Right, Rect.Top + offset + 1)
                          : TRect(Rect.Left + offset, Rect.Top, Rect.Left + offset + 1, Rect.Bottom);
  FillRect(DC, AsRECT(line), SysBrush(COLOR_BTNSHADOW));
}

void TkwBarItemControlFlatPainter::DrawCloseButton(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  int state = bar ? bar->CloseButtonState() : 0;
  DrawCloseButtonBackground(Window, DC, state, Rect);
  TRect r = Rect;
  InflateBy(r, -3, -4);
  if (r.Width() % 2 != 0) --r.Right;
  r.Bottom = r.Top + r.Width() - 1;
  TOwnedPen pen(CreatePen(PS_SOLID, 1, GetMarkGlyphColor(Window, state)));
  TSelectedObject selected(DC, pen);
  for (int d = 0; d < 2; ++d) {
    MoveToEx(DC, r.Left + d, r.Top, nullptr);
    LineTo(DC, r.Right + d - 1, r.Bottom);
    MoveToEx(DC, r.Right - 1 - d, r.Top, nullptr);
    LineTo(DC, r.Left - d, r.Bottom);
  }
}

void TkwBarItemControlFlatPainter::DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const {
  HBRUSH face = SysBrush(COLOR_BTNFACE);
  FrameRect(DC, AsRECT(Rect), face);
  InflateBy(Rect, -1, -1);
  COLORREF faceColor = GetSysColor(COLOR_BTNFACE);
  SetPixel(DC, Rect.Left, Rect.Top, faceColor);
  SetPixel(DC, Rect.Right - 1, Rect.Top, faceColor);
  SetPixel(DC, Rect.Left, Rect.Bottom - 1, faceColor);
  SetPixel(DC, Rect.Right - 1, Rect.Bottom - 1, faceColor);
  InflateBy(Rect, -1, -1);
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar || bar->Bar()->BorderStyle() == bbsNone) return;
  bool vertical = bar->IsVertical();
  int start = GetGripOffset(), width = GetGripLineWidth();
  HBRUSH brush = Window->GetBackgroundBrush();
  TRect grip = vertical ? TRect(Rect.Left + 3, Rect.Top + start, Rect.Right - 3, Rect.Top + start + width)
                        : TRect(Rect.Left + start, Rect.Top + 3, Rect.Left + start + width, Rect.Bottom - 3);
  // Stripes across the grip: every second line in button shadow.
  int count = vertical ? grip.Height() : grip.Width();
  for (int i = 0; i < count; ++i) {
    TRect stripe = vertical ? TRect(grip.Left, grip.Top + i, grip.Right, grip.Top + i + 1)
                            : TRect(grip.Left + i, grip.Top, grip.Left + i + 1, grip.Bottom);
    FillRect(DC, AsRECT(stripe), i % 2 == 0 ? SysBrush(COLOR_BTNSHADOW) : brush);
  }
}

void TkwBarItemControlFlatPainter::DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                         int& BorderWidth, TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), FlatBrushOf(Window, 0));
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNHIGHLIGHT));
  for (int i = 2; i < BorderWidth; ++i) {
    InflateBy(Rect, -1, -1);
    FrameRect(DC, AsRECT(Rect), Brush);
  }
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlFlatPainter::DrawFloatingMark(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (bar && bar->Bar()->IsClosable())
    FillSolid(DC, TRect(Rect.Right, Rect.Top, Rect.Right + 1, Rect.Bottom), GetFloatingCaptionColor(Window, true));
  if (Window->MarkState() == msPressed) {
    FrameSelected(DC, Rect);
    TRect inside = Rect;
    InflateBy(inside, -1, -1);
    FillRect(DC, AsRECT(inside), GetOpenOwnerBrush(Window->GetBarManager()));
  } else {
    DrawCloseButtonBackground(Window, DC, Window->MarkState(), Rect);
  }
  DrawMarkArrow(Window, DC, Rect);
}

void TkwBarItemControlFlatPainter::DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC,
                                                 bool Pressed, bool Hot) const {
  static const UINT kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool enabled = !bar || bar->IsCaptionButtonEnabled(Index);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  if (Pressed || Hot) {
    HBRUSH brush = Pressed && Hot ? Window->GetDownBrush() : Pressed ? Window->GetCheckedBrush() : Window->GetSelectedBrush();
    FillRect(DC, AsRECT(inside), brush);
    FrameSelected(DC, Rect);
  } else {
    Window->DrawBackground(DC, Rect, true, clNone, Window->GetBackgroundBrush());
  }
  // The system's flat glyph, drawn off screen and copied without its face-coloured pixels.
  int w = inside.Width() + 2, h = inside.Height() + 2;
  if (w <= 2 || h <= 2) return;
  TOwnedBitmap bitmap(CreateCompatibleBitmap(DC, w, h));
  TBitmapDC memory(bitmap, DC);
  RECT all = {0, 0, w, h};
  FillRect(memory, &all, SysBrush(COLOR_BTNFACE));
  RECT glyph = {1, 1, w - 1, h - 1};
  DrawFrameControl(memory, &glyph, DFC_CAPTION, kinds[Index] | DFCS_FLAT | (enabled ? 0 : DFCS_INACTIVE));
  GdiTransparentBlt(DC, inside.Left, inside.Top, inside.Width(), inside.Height(), memory, 1, 1, w - 2, h - 2,
                    GetSysColor(COLOR_BTNFACE));
}

TRect TkwBarItemControlFlatPainter::CalcMarkRect(TCustomkwBarControl* Window) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar) return TRect();
  if (!bar->IsFloating()) return EnhancedMarkRect(Window);
  TRect caption = bar->GetCaptionRect();
  int side = caption.Height();
  int right = caption.Right;
  if (bar->Bar()->IsClosable()) right = bar->GetCloseButtonRect().Left;
  int left = std::max(right - side, caption.Left);
  return TRect(left, caption.Top, right, caption.Bottom);
}

// --- Quick customizing, buttons, combos -----------------------------------------------------------------

void TkwBarItemControlFlatPainter::DrawQuickCustomizingCheckColumn(TkwBarItemControl* Control, HDC DC, bool Selected,
                                                                   int& Right, TRect& Rect) const {
  Rect.Right = Rect.Left + Rect.Height();
  if (!Selected) DrawItemFrame(Control, DC, Rect, FlatBrushOf(Control, 1), true);
  InflateBy(Rect, -1, -1);
  Rect.Right = Rect.Left + Rect.Height();
  Right = Rect.Right + 1;
}

void TkwBarItemControlFlatPainter::DrawQuickCustomizingCheckFrame(TkwBarItemControl* Control, HDC DC, bool Selected,
                                                                  const TRect& Square, const TRect& Line) const {
  if (!Selected) return;
  FrameSelected(DC, Line);
  TCustomkwBarControl* window = WindowOf(Control);
  if (window)
    FillRect(DC, AsRECT(TRect(Square.Right, Square.Top, Square.Right + 2, Square.Bottom)), window->GetSelectedBrush());
}

void TkwBarItemControlFlatPainter::DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                       HBRUSH Face, COLORREF, bool Selected, bool Pressed,
                                                       bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                                                       int Location) const {
  TCustomkwBarControl* window = WindowOf(Control);
  TRect r = Rect;
  if (Location != ilMenu) r.Left -= 1;
  bool enabled = Control->GetEnabled() && DropDownEnabled;
  if (!(DroppedDown && MenuPresent)) {
    if (Selected)
      FrameSelected(DC, r);
    else
      FrameRect(DC, AsRECT(r), Location == ilMenu ? SysBrush(COLOR_BTNSHADOW) : window ? window->ItemBrush() : Face);
    TRect inside = r;
    InflateBy(inside, -1, -1);
    DrawItemBackground(Control, DC, inside, Face, Selected || Pressed || DroppedDown || Control->ExpandedOnly);
  }
  if (Location == ilMenu)
    DrawMenuArrow(DC, r, false, true, enabled, DroppedDown, window ? window->SmallUnit() : 4);
  else
    DrawDropDownArrow(DC, r, true, true, false, enabled);
}

void TkwBarItemControlFlatPainter::DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
                                                   bool Enabled, bool DroppedDown, const TRect& Rect,
                                                   TRect& ButtonRect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect button(Rect.Right - window->ComboButtonWidth(), Rect.Top, Rect.Right, Rect.Bottom);
  ButtonRect = button;
  COLORREF arrow;
  HBRUSH face;
  GetComboButtonColors(Control, Location, arrow, face, DroppedDown, Selected, Enabled);
  TRect inside = button;
  InflateBy(inside, -1, -1);
  if (Selected && Enabled) {
    TRect outer = button;
    outer.Left -= 1;
    FrameSelected(DC, outer);
    FillRect(DC, AsRECT(inside), face);
  } else {
    HBRUSH frame = Enabled ? SysBrush(COLOR_BTNHIGHLIGHT) : window->ItemBrush();
    FrameRect(DC, AsRECT(button), frame);
    FillRect(DC, AsRECT(TRect(button.Left - 1, button.Top, button.Left, button.Bottom)), frame);
    FillRect(DC, AsRECT(inside), face);
  }
  int d = inside.Width() / 2;
  if (d % 2 == 0) --d;
  d = std::max(d, 1);
  DrawTriangle(Control, DC, arrow, d, (inside.Top + inside.Bottom - d / 2) / 2, (inside.Left + inside.Right - d) / 2);
}

void TkwBarItemControlFlatPainter::GetComboButtonColors(TkwBarItemControl* Control, int Location, COLORREF& Arrow,
                                                        HBRUSH& Face, bool DroppedDown, bool Selected,
                                                        bool Enabled) const {
  TkwBarItemControlPainter::GetComboButtonColors(Control, Location, Arrow, Face, DroppedDown, Selected, Enabled);
  TCustomkwBarControl* window = WindowOf(Control);
  if (Location == ilMenu && !Selected && window) Face = window->GetBackgroundBrush();
  if (!Enabled) Arrow = GetSysColor(COLOR_BTNSHADOW);
}

void TkwBarItemControlFlatPainter::DrawDropDownListBorder(HDC DC, const TRect& Rect) const {
  TRect r = Rect;
  FrameRect(DC, AsRECT(r), SysBrush(COLOR_BTNSHADOW));
  InflateBy(r, -1, -1);
  FrameRect(DC, AsRECT(r), SysBrush(COLOR_WINDOW));
}

// --- Sub-items --------------------------------------------------------------------------------------

int TkwBarItemControlFlatPainter::GetSubItemCaptionOffset(TkwBarItemControl* Control) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (window && window->Bar() && window->Bar()->IsMainMenu()) return 8;
  return TkwBarItemControlPainter::GetSubItemCaptionOffset(Control);
}

int TkwBarItemControlFlatPainter::GetSubItemHeight(TkwBarItemControl* Control, bool CaptionShown) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return TkwBarItemControlPainter::GetSubItemHeight(Control, CaptionShown) + (window && window->IsSubMenu() ? 2 : 0);
}

int TkwBarItemControlFlatPainter::GetSubItemWidth(TkwBarItemControl* Control, bool CaptionShown) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return TkwBarItemControlPainter::GetSubItemWidth(Control, CaptionShown) + (window && window->IsSubMenu() ? 9 : 0);
}

void TkwBarItemControlFlatPainter::DrawSubItem(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
                                               bool Pressed, const TRect& Rect, bool CaptionShown) const {
  DrawSubItemParts(Control, DC, Location, Selected, Pressed, Rect, CaptionShown, true);
}

// --- Menus ------------------------------------------------------------------------------------------

void TkwBarItemControlFlatPainter::CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth,
                                                   int& ExpandHeight, int& GlyphScaleBase) const {
  RowHeight += 1;
  ArrowWidth = (RowHeight / 4) * 3 + 1;
  ExpandHeight = Menu->MeasureText("0").cy - 1;
  int c = GetMenuChevronSize(Menu, ExpandHeight);
  if (c % 2 != 0) ExpandHeight = 2 * c + 4;
  GlyphScaleBase = 20;
}

void TkwBarItemControlFlatPainter::GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                                                    int& HeightLimit) const {
  TRect client = Menu->ClientRect();
  Start = TRect(Menu->GetSideBarWidth() + 1, 1, client.Right - 1, 1);
  if (FirstItemOffset) {
    *FirstItemOffset = 0;
    HeightLimit = INT_MAX;
  } else {
    HeightLimit = client.Bottom - 1 - (Menu->MarkExists() ? Menu->RowUnit() : 0);
  }
}

void TkwBarItemControlFlatPainter::CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const {
  Size.cx = Content.cx == 0 ? 100 : Content.cx + Menu->GetSideBarWidth() + 4;
  if (Content.cy < 3 || Menu->MarkExists()) Content.cy += Menu->RowUnit();
  Size.cy = Content.cy + 3;
  if (Menu->IsDetachable()) Size.cy += GetMenuTearOffBarHeight(Menu);
}

int TkwBarItemControlFlatPainter::GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const {
  return Menu->GetDetachStripHeight() + 1;
}

void TkwBarItemControlFlatPainter::DrawMenuExtras(TkwBarSubMenuControl* Menu, HDC DC, int FirstVisible) const {
  TkwBarItemControlPainter::DrawMenuExtras(Menu, DC, FirstVisible);
  if (!Menu->MarkExists() || Menu->MarkState() != msHot) return;
  TRect button = Menu->GetExpandArrowRect();
  FrameSelected(DC, button);
  TRect inside = button;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), Menu->GetSelectedBrush());
  DrawMenuExpandGlyph(Menu, DC, button);
}

void TkwBarItemControlFlatPainter::DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), FlatBrushOf(Menu, 0));
  DrawOwnerJoinStrip(Menu, DC);
  if (!Menu->IsDetachable()) return;
  TRect r = Rect;
  InflateBy(r, -1, -1);
  int height = GetMenuTearOffBarHeight(Menu);
  FillRect(DC, AsRECT(TRect(r.Left, r.Top, r.Right, r.Top + 1)), SysBrush(COLOR_WINDOW));
  FillRect(DC, AsRECT(TRect(r.Left, r.Top, r.Left + 1, r.Top + height)), SysBrush(COLOR_WINDOW));
  FillRect(DC, AsRECT(TRect(r.Right - 1, r.Top, r.Right, r.Top + height)), SysBrush(COLOR_WINDOW));
  TRect bar(r.Left, r.Top, r.Right, r.Top + height);
  AdjustMenuTearOffBarRect(Menu, bar);
  DrawMenuTearOffBar(Menu, DC, bar);
}

void TkwBarItemControlFlatPainter::DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush,
                                                      TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), GetMenuBrush(Menu));
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom)), Brush);
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlFlatPainter::DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  TRect r = Rect;
  if (Menu->DetachStripHot()) {
    FrameSelected(DC, r);
    InflateBy(r, -1, -1);
    FillRect(DC, AsRECT(r), Menu->GetSelectedBrush());
  } else {
    FillRect(DC, AsRECT(r), FlatBrushOf(Menu, 1));
  }
  int left = (Rect.Left + Rect.Right - 33) / 2;
  HBRUSH stripe = SysBrush(Menu->DetachStripHot() ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
  for (int y = Rect.Top + 1; y < Rect.Bottom - 1; y += 2)
    FillRect(DC, AsRECT(TRect(left, y, left + 33, y + 1)), stripe);
}

void TkwBarItemControlFlatPainter::DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool,
                                                      const TRect& Rect, HDC DC) const {
  TRect area(Rect.Left, Rect.Top - GetMenuBeginGroupSize(), Rect.Right, Rect.Top);
  Control->ExtraRect = area;
  int column = GetGlyphColumnWidth(Control);
  bool rare = Control->ExpandedOnly;
  bool startsRun = Control->RecentBlockEdge;
  HBRUSH rest = startsRun && rare && !PaintsRarelyUsedItemsItself() ? GetMenuBrush(Menu) : Menu->ItemBrush();
  bool opaque = rare && !startsRun && !PaintsRarelyUsedItemsItself();
  // The glyph-column part as the items draw their column (a style with a gradient column keeps it).
  FillGlyphColumnPart(Control, DC, TRect(area.Left, area.Top, area.Left + column, area.Bottom));
  DrawItemBackground(Control, DC, TRect(area.Left + column, area.Top, area.Right, area.Bottom), rest, opaque);
  TkwBarManager* manager = Control->GetBarManager();
  int indent = manager ? manager->EditInset() : GetMenuSeparatorIndent();
  int y = area.Top + area.Height() / 2;
  FillRect(DC, AsRECT(TRect(area.Left + column + indent, y, area.Right + 1, y + 1)), GetMenuSeparatorBrush(Menu));
}

// --- Edits, combos and the extended items ------------------------------------------------------------

void TkwBarItemControlFlatPainter::DrawComboListItem(TCanvas* Canvas, const TRect& Rect, const String& Text, bool,
                                                     bool, bool LocationFlag) const {
  Canvas->FillRect(Rect);
  Canvas->TextOut(Rect.Left + 2, Rect.Top + (LocationFlag ? 2 : 0), Text);
}

void TkwBarItemControlFlatPainter::DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                                 TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  HBRUSH background = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
  if (Selected)
    FrameSelected(DC, Rect);
  else if (Location == ilMenu)
    FrameRect(DC, AsRECT(Rect), background);
  else if (Control->GetEnabled())
    DrawItemFrame(Control, DC, Rect, background, false);
  else
    FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNSHADOW));
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlFlatPainter::DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                                   TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  String caption = RemoveAmpersands(Control->GetCaption());
  SIZE extent{};
  GetTextExtentPoint32A(DC, caption.c_str(), int(caption.size()), &extent);
  bool menu = Location == ilMenu;
  TRect part(Rect.Left, Rect.Top, Rect.Left + GetEditCaptionWidth(Control, extent.cx), Rect.Bottom);
  Rect.Left = part.Right;
  if (Selected && menu) FrameSelected(DC, part);
  DrawItemBackground(Control, DC, part, Selected && menu ? window->GetSelectedBrush() : window->ItemBrush(),
                     Selected && menu);
  TRect text = part;
  text.Right -= 5;
  DrawCaption(Control, DC, Control->GetCaption(), text, caRight, Control->GetEnabled(), Selected && menu, false, false,
              true);
}

void TkwBarItemControlFlatPainter::DrawEditValue(TkwBarItemControl* Control, HDC DC, bool, const TRect& Rect,
                                                 const String& Text, bool Focused) const {
  TkwBarItemControlPainter::DrawEditValue(Control, DC, true, Rect, Text, Focused);
}

void TkwBarItemControlFlatPainter::AdjustEditWindow(TkwBarItemControl*, HWND Edit, const TRect& EditRect) const {
  RECT r = {0, 0, EditRect.Width(), EditRect.Height()};
  InflateRect(&r, -2, -2);
  SendMessageA(Edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TkwBarItemControlFlatPainter::SelectEditText(TkwBarItemControl* Control, HWND Edit, bool Changed) const {
  if (Changed) SendMessageA(Edit, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(Edit));
  TkwBarItemControlPainter::SelectEditText(Control, Edit, Changed);
}

void TkwBarItemControlFlatPainter::DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect,
                                                         TRect& CloseRect, bool Pressed, bool WithGrip) const {
  DrawDropDownFrame(Window, WithGrip, true, TkjGripCorner(GripCorner), GripRect, CloseRect, Hot, Pressed);
}

void TkwBarItemControlFlatPainter::DrawDateNavigatorButton(TkwBarItemControl*, HDC DC, bool, const String& Caption,
                                                           TRect Rect) const {
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNSHADOW));
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNFACE));
  InflateBy(Rect, -1, -1);
  DrawCenteredText(DC, Rect, true, Caption, 0);
}

void TkwBarItemControlFlatPainter::DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held,
                                                  int Button, bool Hot, int UpperHeight, int ArrowSize,
                                                  int ArrowWidth, const TRect& Rect) const {
  TRect r = Rect;
  // The up button is one pixel taller: the two overlap by a pixel.
  if (Button == 1)
    r.Bottom = r.Top + UpperHeight + 1;
  else
    r.Top += UpperHeight;
  bool enabled = Control->GetEnabled();
  bool pressed = ShownPressed && Held == Button;
  DrawSmallButtonFace(Control, DC, r, enabled, pressed, Hot);
  InflateBy(r, -1, -1);
  int a = ArrowSize;
  int x = r.Left + a;
  int y = (r.Top + r.Bottom - a) / 2 + (Button == 1 ? a - 1 : 0);
  int half = ArrowWidth / 2;
  POINT p[3] = {{x, y}, {x + ArrowWidth - 1, y}, {x + half, Button == 1 ? y - half : y + half}};
  FillPolygonWithColor(DC, p, 3, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
}

void TkwBarItemControlFlatPainter::DrawInPlaceSubItem(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                      bool Expanded, bool Selected) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom)), window->ItemBrush());
  TRect header(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom - 1);
  TRect inside = header;
  InflateBy(inside, -1, -1);
  if (Selected) {
    FrameSelected(DC, header);
    FillRect(DC, AsRECT(inside), window->GetSelectedBrush());
  } else {
    FrameRect(DC, AsRECT(header), GetInPlaceSubItemBrush());
    FillRect(DC, AsRECT(inside), GetInPlaceSubItemBrush());
  }
  TRect text = header;
  text.Left += 5;
  DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, true, true, false, false, Selected);
  if (!Control->GetEnabled()) return;
  int row = window->RowUnit();
  TRect arrow(header.Right - row, header.Top, header.Right, header.Bottom);
  if (!Expanded) OffsetBy(arrow, window->SmallUnit(), 0);
  DrawMenuArrow(DC, arrow, Expanded, false, true, true, window->SmallUnit());
}
