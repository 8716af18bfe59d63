// This file implements the base item-control painter: the building blocks of item cells, the
// cells, the bar windows' brushes, borders, captions and marks. The sub-menu, edit and extended
// items' operations are in kwBarItemControlPainterMenus.cpp.
#include "kwBarItemControlPainter.h"

#include <algorithm>

#include "kjSystemGlyphs.h"
#include "kwBarControl.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwDockControl.h"
#include "kwOffice11Colors.h"

COLORREF BrushColor(HBRUSH Brush) {
  auto value = reinterpret_cast<INT_PTR>(Brush);
  if (value > 0 && value <= 31) return GetSysColor(int(value - 1));
  LOGBRUSH logBrush{};
  if (Brush && GetObjectA(Brush, sizeof(logBrush), &logBrush) == sizeof(logBrush)) return logBrush.lbColor;
  return GetSysColor(COLOR_BTNFACE);
}

namespace {
const TkwBarItemControlPainter BasePainter{};

TkwBarManager* ManagerOf(TkwBarItemControl* Control) { return Control ? Control->GetBarManager() : nullptr; }

// A one-line text output with its own temporary font handle (the DC's font is put back).
void FillSolid(HDC DC, const TRect& Rect, COLORREF Color) {
  if (Rect.IsEmpty()) return;
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, AsRECT(Rect), brush);
}
}  // namespace

const TkwBarItemControlPainter* BaseItemPainter() { return &BasePainter; }

const TkwBarItemControlPainter* ItemPainterOf(const TkwBarManager* Manager) {
  auto* painter = Manager ? dynamic_cast<const TkwBarItemControlPainter*>(Manager->Painter()) : nullptr;
  return painter ? painter : &BasePainter;
}

TCustomkwBarControl* TkwBarItemControlPainter::WindowOf(TkwBarItemControl* Control) {
  return Control ? dynamic_cast<TCustomkwBarControl*>(Control->BarWindow()) : nullptr;
}

void TkwBarItemControlPainter::FillWithWindowBackground(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                        HBRUSH Brush) const {
  DrawItemBackground(Control, DC, Rect, Brush, false);
}

// --- Building blocks of item cells -----------------------------------------------------------------

void TkwBarItemControlPainter::DrawButtonBorder(TkwBarItemControl*, HDC, TkwCellStates, int, const TRect&, bool,
                                                HBRUSH) const {}

void TkwBarItemControlPainter::DrawCheckMark(TkwBarItemControl*, HDC, int, int, int) const {}

void TkwBarItemControlPainter::DrawEmptyGlyph(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location,
                                              bool Framed, HBRUSH Brush, TRect Cell) const {
  if (Framed) InflateBy(Cell, -1, -1);
  bool down = States.Contains(cstDown);
  if (!PaintsOwnBackgrounds()) {
    bool opaque = States.Contains(cstSelected) || States.Contains(cstPressed) || down || Control->ExpandedOnly;
    DrawItemBackground(Control, DC, Cell, Brush, opaque);
  }
  if (down && Location == ilMenu) {
    TCustomkwBarControl* window = WindowOf(Control);
    int scale = window && window->Canvas()->Font()->Size() >= 16 ? 2 : 1;
    DrawCheckMark(Control, DC, scale, (Cell.Top + Cell.Bottom - 7 * scale) / 2, (Cell.Left + Cell.Right - 9 * scale) / 2);
  }
}

void TkwBarItemControlPainter::DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int ImageIndex,
                                              TCustomImageList* Images, TBitmap* Glyph, const TRect& GlyphRect,
                                              TRect Cell, bool Framed, HBRUSH Brush) const {
  if (Framed) InflateBy(Cell, -1, -1);
  bool selected = States.Contains(cstSelected), pressed = States.Contains(cstPressed), down = States.Contains(cstDown);
  TkwGlyphDrawing how;
  if (DrawsGlyphOverCellLook(Control)) {
    how.CopyBackground = true;
  } else {
    TCustomkwBarControl* window = WindowOf(Control);
    bool background = !Control->ExpandedOnly && window && window->DoubleBuffered;
    if (background) DrawItemBackground(Control, DC, Cell, Brush, selected || pressed || down);
    how.BackgroundBrush = background ? nullptr : Brush;
    how.CopyBackground = background;
  }
  if (TkwBarManager* manager = ManagerOf(Control)) how.BackgroundColor = manager->ImageListBkColor();
  how.Pressed = pressed;
  how.DownState = down;
  how.Hot = selected;
  how.Grayed = States.Contains(cstGrayed);
  how.Enabled = Control->GetEnabled();
  SetGlyphOptions(how);
  DrawItemGlyph(DC, Cell, GlyphRect, how, ImageIndex, Images, Glyph);
}

void TkwBarItemControlPainter::DrawDropDownArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Selected,
                                                 bool Enabled) const {
  DrawCenteredArrow(DC, Rect, Horizontal, Flat, Selected, Enabled);
}

void TkwBarItemControlPainter::DrawMenuArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Enabled,
                                             bool Selected, int Size) const {
  DrawArrowShape(DC, Rect, Horizontal, Flat, Enabled, Selected, Size);
}

void TkwBarItemControlPainter::GetEditColors(TkwBarItemControl* Control, COLORREF& Text, COLORREF& Back) const {
  if (Control->GetEnabled()) {
    Text = GetSysColor(COLOR_WINDOWTEXT);
    Back = GetSysColor(COLOR_WINDOW);
  } else {
    Text = GetSysColor(COLOR_GRAYTEXT);
    TCustomkwBarControl* window = WindowOf(Control);
    Back = window ? BrushColor(window->ItemBrush()) : GetSysColor(COLOR_BTNFACE);
  }
}

void TkwBarItemControlPainter::GetCaptionColors(TkwBarItemControl*, bool Enabled, bool Selected, bool Plain,
                                                COLORREF& Offset, COLORREF& Text) const {
  if (Enabled) {
    Text = GetSysColor(Selected && !Plain ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    Offset = Text;
  } else if (Selected || Plain) {
    Text = GetSysColor(COLOR_GRAYTEXT);
    Offset = Text;
  } else {
    // Embossed: the highlight copy one pixel right and down, the shadow text on top.
    Offset = GetSysColor(COLOR_BTNHIGHLIGHT);
    Text = GetSysColor(COLOR_BTNSHADOW);
  }
}

COLORREF TkwBarItemControlPainter::GetFloatingCaptionColor(TCustomkwBarControl* Window, bool Active) const {
  TkwBarManager* manager = Window ? Window->GetBarManager() : nullptr;
  bool active = Active && (!manager || manager->FormActive() || !manager->OwnerForm() ||
                           (manager->OwnerForm()->HandleAllocated() &&
                            GetActiveWindow() == manager->OwnerForm()->Handle()));
  return GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
}

COLORREF TkwBarItemControlPainter::GetFloatingCaptionTextColor(TCustomkwBarControl*) const {
  return GetSysColor(COLOR_CAPTIONTEXT);
}

COLORREF TkwBarItemControlPainter::GetMarkGlyphColor(TCustomkwBarControl*, int) const {
  return GetSysColor(COLOR_CAPTIONTEXT);
}

void TkwBarItemControlPainter::DrawSizeGripGlyph(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                 const TRect& Rect) const {
  Window->DrawBackground(DC, Rect, false, clNone, Brush);
  DrawTransparentSizeGrip(DC, Rect);
}

void TkwBarItemControlPainter::DrawMarkArrow(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  int x = (Rect.Left + Rect.Right - 7) / 2;
  int sum = Rect.Top + Rect.Bottom - 4;
  int y = sum >= 0 ? (sum + 1) / 2 : sum / 2;
  POINT p[3] = {{x, y}, {x + 6, y}, {x + 3, y + 3}};
  FillPolygonWithColor(DC, p, 3, GetMarkGlyphColor(Window, Window->MarkState()));
}

void TkwBarItemControlPainter::DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar || !bar->LinksHidden()) return;
  if (bar->IsVertical()) {
    DrawMarkChevron(Window, DC, Rect.Bottom - 9, Rect);
    DrawMarkChevron(Window, DC, Rect.Bottom - 5, Rect);
  } else {
    DrawMarkChevron(Window, DC, Rect.Left + 2, Rect);
    DrawMarkChevron(Window, DC, Rect.Left + 6, Rect);
  }
}

void TkwBarItemControlPainter::GetFloatingCaptionTextOffset(TCustomkwBarControl* Window, int& Left,
                                                            const TRect&) const {
  if (auto* bar = dynamic_cast<TkwBarControl*>(Window)) Left = bar->GetMarkRect().Right + 3;
}

void TkwBarItemControlPainter::DrawTriangle(TkwBarItemControl*, HDC DC, COLORREF Color, int Size, int Top,
                                            int Left) const {
  POINT p[3] = {{Left, Top}, {Left + Size - 1, Top}, {Left + Size / 2, Top + Size / 2}};
  FillPolygonWithColor(DC, p, 3, Color);
}

void TkwBarItemControlPainter::DrawCenteredText(HDC DC, const TRect& Rect, bool Opaque, const String& Text,
                                                int Shift) const {
  TSavedDC saved(DC);
  SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(DC, GetSysColor(COLOR_BTNFACE));
  SIZE extent{};
  GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &extent);
  int x = (Rect.Left + Rect.Right - extent.cx) / 2 + Shift;
  int y = (Rect.Top + Rect.Bottom - extent.cy) / 2 + Shift;
  SetBkMode(DC, Opaque ? OPAQUE : TRANSPARENT);
  ExtTextOutA(DC, x, y, ETO_CLIPPED | (Opaque ? ETO_OPAQUE : 0), AsRECT(Rect), Text.c_str(), UINT(Text.size()),
              nullptr);
}

// --- Drawing and measuring of item cells ---------------------------------------------------------

void TkwBarItemControlPainter::DrawItemBackground(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush,
                                                  bool Opaque) const {
  if (Rect.IsEmpty()) return;
  if (Opaque) {
    FillRect(DC, AsRECT(Rect), Brush);
    return;
  }
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) {
    FillRect(DC, AsRECT(Rect), Brush);
    return;
  }
  // In a menu the window reads the item's expanded-only flag while it paints the background.
  Control->BeginMenuBackgroundPaint();
  try {
    window->DrawBackground(DC, Rect, true, clNone, Brush);
  } catch (...) {
    Control->EndMenuBackgroundPaint();
    throw;
  }
  Control->EndMenuBackgroundPaint();
}

void TkwBarItemControlPainter::DrawItemFrame(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush,
                                             bool Framed) const {
  if (Framed) {
    FrameRect(DC, AsRECT(Rect), Brush);
    return;
  }
  // Only the one-pixel ring is repainted with the background.
  HRGN saved;
  bool existed;
  SaveClipRegion(DC, saved, existed);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  ExcludeClipRect(DC, inside.Left, inside.Top, inside.Right, inside.Bottom);
  DrawItemBackground(Control, DC, Rect, Brush, false);
  RestoreClipRegion(DC, saved, existed);
}

void TkwBarItemControlPainter::DrawDisabledBlock(TkwBarItemControl*, HDC DC, const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNSHADOW));
}

TRect TkwBarItemControlPainter::CalcGlyphRect(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States,
                                              int Location, TCustomImageList* Images, TBitmap* Glyph) const {
  TkwBarManager* manager = ManagerOf(Control);
  int cw = Cell.Width(), ch = Cell.Height();
  // ButtonSize is the button's width, ButtonWidth its height (the manager's names).
  if (!States.Contains(cstKeepSize) && manager) {
    if (Location == ilPlain) cw = manager->ButtonSize();
    if (Location == ilRotated) ch = manager->ButtonWidth();
  }
  int gw, gh;
  if (Glyph && !Glyph->Empty()) {
    gw = Glyph->Width();
    gh = Glyph->Height();
  } else if (Images) {
    gw = Images->Width();
    gh = Images->Height();
  } else {
    gw = gh = manager ? manager->GlyphSize() : 16;
  }
  if (Location == ilMenu) {
    int scaleBase = Control->GetGlyphScaleBase();
    if (manager && manager->StretchGlyphs && scaleBase > 0) {
      gw = MulDiv(gw, Cell.Width(), scaleBase);
      gh = MulDiv(gh, Cell.Height(), scaleBase);
    }
  } else if (manager && manager->LargeIcons()) {
    gw *= 2;
    gh *= 2;
  }
  int left = Cell.Left + (cw - gw) / 2;
  int top = Cell.Top + (ch - gh) / 2;
  if (States.Contains(cstDown)) {
    left += GetDownGlyphOffset(Control);
    top += GetDownGlyphOffset(Control);
  }
  if (States.Contains(cstPressed)) {
    int shift = GetPressedGlyphOffset(Control, States.Contains(cstDown));
    left += shift;
    top += shift;
  }
  return Bounds(left, top, gw, gh);
}

void TkwBarItemControlPainter::DrawGlyph(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States,
                                         int Location, int ImageIndex, TCustomImageList* Images, TBitmap* Glyph,
                                         const TRect* GivenGlyphRect) const {
  TRect glyphRect = GivenGlyphRect ? *GivenGlyphRect : CalcGlyphRect(Control, Cell, States, Location, Images, Glyph);
  DrawGlyphCell(Control, Cell, States, ImageIndex, Images, Glyph, Location, glyphRect);
}

void TkwBarItemControlPainter::DrawGlyphCell(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States,
                                             int ImageIndex, TCustomImageList* Images, TBitmap* Glyph, int Location,
                                             const TRect& GlyphRect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  HDC dc = window->Canvas()->Handle();
  HBRUSH brush = GetItemBackgroundBrush(Control, Location, States);
  int gw = GlyphRect.Width(), gh = GlyphRect.Height();
  if (States.Contains(cstNoGlyph)) {
    TkwBarManager* manager = ManagerOf(Control);
    gw = gh = manager ? manager->GlyphSize() : 16;
  }
  bool framed = Cell.Width() >= gw + 2 && Cell.Height() >= gh + 2;
  if (PaintsOwnBackgrounds()) DrawButtonBorder(Control, dc, States, Location, Cell, framed, brush);
  if (States.Contains(cstNoGlyph))
    DrawEmptyGlyph(Control, dc, States, Location, framed, brush, Cell);
  else
    DrawGlyphImage(Control, dc, States, ImageIndex, Images, Glyph, GlyphRect, Cell, framed, brush);
  if (!PaintsOwnBackgrounds()) DrawButtonBorder(Control, dc, States, Location, Cell, framed, brush);
}

void TkwBarItemControlPainter::DrawCaption(TkwBarItemControl* Control, HDC DC, const String& Text, TRect Rect,
                                           int Alignment, bool Enabled, bool Selected, bool Rotated, bool Clip,
                                           bool Plain) const {
  int oldMode = SetBkMode(DC, TRANSPARENT);
  COLORREF oldColor = GetTextColor(DC);
  COLORREF offset, color;
  GetCaptionColors(Control, Enabled, Selected, IsFlatButtonLook() && Plain, offset, color);
  if (!Rotated) {
    UINT format = DT_SINGLELINE | DT_VCENTER | (Clip ? 0 : DT_NOCLIP);
    format |= Alignment == caCenter ? DT_CENTER : Alignment == caRight ? DT_RIGHT : DT_LEFT;
    if (offset != color) {
      TRect shifted = Rect;
      OffsetBy(shifted, 1, 1);
      SetTextColor(DC, offset);
      DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(shifted), format);
    }
    SetTextColor(DC, color);
    DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(Rect), format);
  } else {
    // The turned font shows no prefixes: the accelerator is taken out of the text and underlined
    // by hand ("&&" stays one literal ampersand; the last single "&" marks the accelerator).
    String plain;
    int accelerator = -1;
    for (std::size_t i = 0; i < Text.size(); ++i) {
      if (Text[i] == '&' && i + 1 < Text.size()) {
        if (Text[i + 1] != '&') accelerator = int(plain.size());
        ++i;
      }
      plain.push_back(Text[i]);
    }
    SIZE extent{};
    GetTextExtentPoint32A(DC, plain.c_str(), int(plain.size()), &extent);
    int dy = Alignment == caCenter ? (Rect.Height() - extent.cx) / 2 : Alignment == caRight ? Rect.Height() - extent.cx : 0;
    int x = Rect.Left + (Rect.Width() + extent.cy) / 2;
    int y = Rect.Top + dy;
    HRGN saved = nullptr;
    bool existed = false;
    if (Clip) {
      SaveClipRegion(DC, saved, existed);
      IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    }
    auto draw = [&](int X, int Y, COLORREF Color) {
      SetTextColor(DC, Color);
      TextOutA(DC, X, Y, plain.c_str(), int(plain.size()));
      if (accelerator >= 0) {
        SIZE before{}, ch{};
        GetTextExtentPoint32A(DC, plain.c_str(), accelerator, &before);
        GetTextExtentPoint32A(DC, plain.c_str() + accelerator, 1, &ch);
        // The text runs downwards: the underline lies left of the glyphs' baseline side.
        FillSolid(DC, TRect(X - extent.cy, Y + before.cx, X - extent.cy + 1, Y + before.cx + ch.cx), Color);
      }
    };
    if (offset != color) draw(x + 1, y + 1, offset);
    draw(x, y, color);
    if (Clip) RestoreClipRegion(DC, saved, existed);
  }
  SetTextColor(DC, oldColor);
  SetBkMode(DC, oldMode);
}

void TkwBarItemControlPainter::DrawStaticBorder(TkwBarItemControl*, HDC DC, TkwBarStaticBorderStyle Style,
                                                int BorderWidth, TRect& Rect) const {
  switch (Style) {
    case sbsNone: return;
    case sbsLowered: DrawEdge(DC, AsRECT(Rect), BDR_SUNKENOUTER, BF_RECT); break;
    case sbsRaised: DrawEdge(DC, AsRECT(Rect), BDR_RAISEDINNER, BF_RECT); break;
    case sbsEtched: DrawEdge(DC, AsRECT(Rect), EDGE_ETCHED, BF_RECT); break;
    case sbsBump:
      DrawEdge(DC, AsRECT(Rect), BDR_RAISEDINNER, BF_RECT);
      InflateBy(Rect, -1, -1);
      DrawEdge(DC, AsRECT(Rect), BDR_SUNKENOUTER, BF_RECT);
      InflateBy(Rect, -1, -1);
      return;
  }
  InflateBy(Rect, -BorderWidth, -BorderWidth);
}

void TkwBarItemControlPainter::GetPaintColors(TkwBarItemControl* Control, int, bool, bool, bool, COLORREF& Arrow,
                                              HBRUSH& Face) const {
  Arrow = GetSysColor(COLOR_BTNTEXT);
  TCustomkwBarControl* window = WindowOf(Control);
  Face = window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
}

HBRUSH TkwBarItemControlPainter::GetItemBackgroundBrush(TkwBarItemControl* Control, int, TkwCellStates) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE);
}

int TkwBarItemControlPainter::GetGlyphColumnWidth(TkwBarItemControl* Control) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return window && window->IsSubMenu() ? window->RowUnit() + 1 : 0;
}

// --- Dock sites and bar windows ---------------------------------------------------------------------

void TkwBarItemControlPainter::DrawDockBackground(TkwDockControl*, HDC DC, TColor Color, HBRUSH Brush,
                                                  const TRect& Origin, const TRect& Rect, const TRect&) const {
  FillRectOrBitmap(DC, Rect, Origin, nullptr, Color, Brush);
}

HBRUSH TkwBarItemControlPainter::GetOpenOwnerBrush(const TkwBarManager* Manager) const {
  return Manager ? Manager->FlatBrush(1) : SysBrush(COLOR_BTNFACE);
}

void TkwBarItemControlPainter::DrawDockedBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush,
                                                       const TRect& Rect, const TRect& PaintRect) const {
  auto* dock = dynamic_cast<TkwDockControl*>(Window->DockSite());
  if (!dock) {
    DrawBarBitmapBackground(Window, DC, Color, Brush, Rect, PaintRect);
    return;
  }
  // The bar continues the dock's background: the origin moves to the bar's place in the dock.
  TRect origin = Rect;
  OffsetBy(origin, Window->Left(), Window->Top());
  dock->DrawBackground(DC, PaintRect, Color, Brush, origin);
}

void TkwBarItemControlPainter::DrawBarBitmapBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush,
                                                       const TRect& Rect, const TRect& PaintRect) const {
  TkwBarManager* manager = Window->GetBarManager();
  TBitmap* bitmap = manager ? manager->Backgrounds()->Bar() : nullptr;
  FillRectOrBitmap(DC, PaintRect, Rect, bitmap, Color, Brush);
}

void TkwBarItemControlPainter::DrawOwnerJoinStrip(TCustomkwBarControl* Window, HDC DC) const {
  TRect join = Window->GetOwnJoinRect();
  if (!join.IsEmpty()) FillRect(DC, AsRECT(join), GetOpenOwnerBrush(Window->GetBarManager()));
}

HBRUSH TkwBarItemControlPainter::GetCheckedBrush(TCustomkwBarControl*) const { return CheckerBrush(); }

TRect TkwBarItemControlPainter::GetBorderRect(TCustomkwBarControl*) const {
  int b = GetBorderWidth();
  return TRect(b, b, b, b);
}

void TkwBarItemControlPainter::DrawFloatingCaptionBackground(TCustomkwBarControl*, HDC DC, HBRUSH Brush,
                                                             const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), Brush);
}

void TkwBarItemControlPainter::DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                                                 const TRect& Rect) const {
  int offset = GetBarBeginGroupLineOffset(Window, DC);
  TRect line = Rect;
  if (Horizontal) {
    FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Right, Rect.Top + offset)), Brush);
    FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Bottom - offset, Rect.Right, Rect.Bottom)), Brush);
    InflateBy(line, 0, -offset);
    DrawEdge(DC, AsRECT(line), EDGE_ETCHED, BF_TOP);
  } else {
    FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Left + offset, Rect.Bottom)), Brush);
    FillRect(DC, AsRECT(TRect(Rect.Right - offset, Rect.Top, Rect.Right, Rect.Bottom)), Brush);
    InflateBy(line, -offset, 0);
    DrawEdge(DC, AsRECT(line), EDGE_ETCHED, BF_LEFT);
  }
}

void TkwBarItemControlPainter::DrawCloseButtonBackground(TCustomkwBarControl* Window, HDC DC, int State,
                                                         const TRect& Rect) const {
  if (State == 0) {
    FillSolid(DC, Rect, GetFloatingCaptionColor(Window, true));
    return;
  }
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_HIGHLIGHT));
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  FillRect(DC, AsRECT(inside), State == 1 ? Window->GetSelectedBrush() : Window->GetDownBrush());
}

void TkwBarItemControlPainter::DrawFloatingBarCaption(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                      HBRUSH CaptionBrush, const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Bottom, Rect.Right, Rect.Bottom + 1)), Brush);
  if (HasFloatingCaptionBackground()) DrawFloatingCaptionBackground(Window, DC, CaptionBrush, Rect);
  TRect text = Rect;
  if (bar && bar->Bar()->IsClosable()) {
    text.Right -= GetSmallCaptionHeight();
    TRect close = bar->GetCloseButtonRect();
    DrawCloseButton(Window, DC, close);
  }
  bool mark = bar && bar->MarkExists();
  text.Left = Rect.Left + 2;
  if (mark) GetFloatingCaptionTextOffset(Window, text.Left, Rect);
  if (mark && bar->GetMarkRect().Left >= text.Left) text.Right = std::min(text.Right, bar->GetMarkRect().Left);

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTA font = metrics.lfSmCaptionFont;
  TkwBarManager* manager = Window->GetBarManager();
  if (manager && !manager->UseSystemFont() && bar) {
    String face = bar->Bar()->Font()->Name();
    std::size_t n = std::min(face.size(), std::size_t(LF_FACESIZE - 1));
    std::copy_n(face.c_str(), n, font.lfFaceName);
    font.lfFaceName[n] = 0;
    if (std::abs(font.lfHeight) <= 10) font.lfHeight = font.lfHeight < 0 ? -11 : 11;
  }
  TOwnedFont handle(CreateFontIndirectA(&font));
  {
    TSelectedObject selected(DC, handle);
    int oldMode = SetBkMode(DC, HasFloatingCaptionBackground() ? TRANSPARENT : OPAQUE);
    COLORREF oldText = SetTextColor(DC, GetFloatingCaptionTextColor(Window));
    COLORREF oldBack = SetBkColor(DC, GetFloatingCaptionColor(Window, true));
    String caption = bar ? bar->Bar()->Caption() : String();
    TEXTMETRICA tm{};
    GetTextMetricsA(DC, &tm);
    int y = (Rect.Top + Rect.Bottom - tm.tmHeight) / 2;
    UINT options = ETO_CLIPPED | (HasFloatingCaptionBackground() ? 0 : ETO_OPAQUE);
    ExtTextOutA(DC, text.Left, y, options, AsRECT(text), caption.c_str(), UINT(caption.size()), nullptr);
    if (!HasFloatingCaptionBackground() && text.Left > Rect.Left) {
      // The opaque output leaves the strip before the text: it takes the caption colour too.
      FillSolid(DC, TRect(Rect.Left, Rect.Top, text.Left, Rect.Bottom), GetFloatingCaptionColor(Window, true));
    }
    SetBkColor(DC, oldBack);
    SetTextColor(DC, oldText);
    SetBkMode(DC, oldMode);
  }
  if (bar && bar->MarkExists()) DrawFloatingMark(Window, DC, bar->GetMarkRect());
}

void TkwBarItemControlPainter::DrawDockedMark(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                              const TRect& Rect) const {
  DrawMarkBackground(Window, DC, Brush, Rect);
  DrawMarkGlyph(Window, DC, Rect);
}

void TkwBarItemControlPainter::DrawStatusBarSizeGrip(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                     const TRect& Rect) const {
  TSize grip = GetSizeGripSize(Window->GetBarManager());
  TRect gripRect = Rect;
  gripRect.Top = gripRect.Bottom - grip.cy;
  DrawSizeGripGlyph(Window, DC, Brush, gripRect);
  TRect above(Rect.Left, Rect.Top, Rect.Right, gripRect.Top);
  if (!above.IsEmpty()) Window->DrawBackground(DC, above, false, clNone, Brush);
}

void TkwBarItemControlPainter::DrawStatusBarNonClientBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                                const TRect& Rect) const {
  Window->DrawBackground(DC, Rect, false, clNone, Brush);
}

void TkwBarItemControlPainter::RepaintMark(TCustomkwBarControl* Window) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar || !bar->HandleAllocated()) return;
  if (!bar->IsFloating()) {
    TRect mark = CalcMarkRect(Window);
    InvalidateRect(bar->Handle(), AsRECT(mark), FALSE);
    return;
  }
  // The floating mark sits in the caption: it is painted at once.
  TWindowDC dc(bar->Handle(), TWindowDC::WholeWindow);
  DrawFloatingMark(Window, dc, bar->GetMarkRect());
}

void TkwBarItemControlPainter::DrawStatusBarBackground(TCustomkwBarControl*, HDC DC, TColor Color, HBRUSH Brush,
                                                       const TRect& Origin, const TRect& Rect, const TRect&) const {
  FillRectOrBitmap(DC, Rect, Origin, nullptr, Color, Brush);
}

void TkwBarItemControlPainter::DrawQuickCustomizingCheckColumn(TkwBarItemControl*, HDC, bool, int& Right,
                                                               TRect& Rect) const {
  Rect.Right = Rect.Left + Rect.Height();
  Right = Rect.Right;
}

// --- Buttons, combos and sub-items -------------------------------------------------------------------

void TkwBarItemControlPainter::GetComboButtonColors(TkwBarItemControl* Control, int Location, COLORREF& Arrow,
                                                    HBRUSH& Face, bool DroppedDown, bool Selected,
                                                    bool Enabled) const {
  GetPaintColors(Control, Location, DroppedDown, Selected, Enabled, Arrow, Face);
}

int TkwBarItemControlPainter::GetSubItemCaptionOffset(TkwBarItemControl* Control) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return window ? -window->Canvas()->Font()->Height() / 2 : 0;
}

int TkwBarItemControlPainter::GetSubItemHeight(TkwBarItemControl* Control, bool CaptionShown) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return 0;
  int row = window->RowUnit();
  if (window->IsSubMenu()) return row;
  if (Control->HasGlyph() || !CaptionShown) {
    TkwBarManager* manager = Control->GetBarManager();
    int height = !manager ? 0 : IsRotatedBarControl(window) ? manager->ButtonSize() : manager->ButtonWidth();
    if (height == 0 || (CaptionShown && height < row)) height = row;
    return height;
  }
  return row;
}

int TkwBarItemControlPainter::GetSubItemWidth(TkwBarItemControl* Control, bool CaptionShown) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return 0;
  int row = window->RowUnit();
  int caption = window->Canvas()->TextWidth(RemoveAmpersands(Control->GetCaption()));
  if (window->IsSubMenu()) return caption + 2 * row + 3;
  TkwBarManager* manager = Control->GetBarManager();
  int width = CaptionShown ? caption : 0;
  if (Control->HasGlyph() || !CaptionShown) {
    width += !manager ? 0 : IsRotatedBarControl(window) ? manager->ButtonWidth() : manager->ButtonSize();
    if (Control->HasGlyph() && CaptionShown) width += 4;
  } else {
    width += 2 * GetSubItemCaptionOffset(Control);
  }
  TkwBar* bar = window->Bar();
  if (!bar || !bar->IsMainMenu()) width += row / 2;
  return width;
}

void TkwBarItemControlPainter::DrawSubItem(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
                                           bool Pressed, const TRect& Rect, bool CaptionShown) const {
  DrawSubItemParts(Control, DC, Location, Selected, Pressed, Rect, CaptionShown, false);
}

void TkwBarItemControlPainter::DrawSubItemParts(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
                                                bool Pressed, const TRect& Rect, bool CaptionShown, bool Flat) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  int row = window->RowUnit();
  bool enabled = Control->GetEnabled();
  if (Location == ilMenu) {
    DrawGlyphAndCaption(Control, DC, false, Selected, true, Rect);
    int size = window->SmallUnit();
    TRect arrow = Rect;
    arrow.Left = Rect.Right - row + size;
    DrawMenuArrow(DC, arrow, false, Flat, enabled, Selected && !Flat, size);
    return;
  }
  TkwBarManager* manager = Control->GetBarManager();
  TkwCellStates states;
  if (Selected) states.Include(cstSelected);
  if (Pressed) states.Include(cstPressed).Include(cstDown);
  states.Include(cstOpensMenu);
  bool glyph = Control->HasGlyph();
  if (!glyph) states.Include(cstNoGlyph);
  DrawGlyph(Control, Rect, states, Location, Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph());
  TRect text = Rect;
  if (glyph || !CaptionShown) {
    if (Location == ilRotated)
      text.Top += manager ? manager->ButtonWidth() : 0;
    else
      text.Left += manager ? manager->ButtonSize() : 0;
  } else if (Location == ilRotated) {
    text.Top += GetSubItemCaptionOffset(Control);
  } else {
    text.Left += GetSubItemCaptionOffset(Control);
  }
  bool inPlace = KeepsPressedContentInPlace(Control);
  if (Pressed && !inPlace && !Flat) OffsetBy(text, 1, 1);
  if (CaptionShown) {
    DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, enabled, Selected && inPlace && !Flat,
                Location == ilRotated, false, Flat);
  }
  TkwBar* bar = window->Bar();
  if (bar && bar->IsMainMenu()) return;
  int size = window->SmallUnit() - 1;
  int fontHeight = window->Canvas()->Font()->Height();
  TRect arrow = Rect;
  if (Location == ilRotated)
    arrow.Top = Rect.Bottom - row / 2 + fontHeight / 2;
  else
    arrow.Left = Rect.Right - row / 2 + fontHeight / 2;
  DrawMenuArrow(DC, arrow, Location != ilRotated, Flat, enabled, false, size);
}

// --- The item controls' forwarding to their painter ----------------------------------------------------

void TkwBarItemControl::DrawCaption(HDC DC, const String& Text, const TRect& Rect, int Alignment, bool Enabled,
                                    bool Selected, bool Rotated, bool Clip, bool Plain) {
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(GetBarManager()))
    painter->DrawCaption(this, DC, Text, Rect, Alignment, Enabled, Selected, Rotated, Clip, Plain);
}

void TkwBarItemControl::DrawGlyph(const TRect& Cell, TkwCellStates States, int Location, int ImageIndex,
                                  TCustomImageList* Images, TBitmap* Glyph, const TRect* GivenGlyphRect) {
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(GetBarManager()))
    painter->DrawGlyph(this, Cell, States, Location, ImageIndex, Images, Glyph, GivenGlyphRect);
}

void TkwBarItemControl::DrawGlyphCell(const TRect& Cell, TkwCellStates States, int ImageIndex,
                                      TCustomImageList* Images, TBitmap* Glyph, int Location,
                                      const TRect& GlyphRect) {
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(GetBarManager()))
    painter->DrawGlyphCell(this, Cell, States, ImageIndex, Images, Glyph, Location, GlyphRect);
}

void TkwBarItemControl::DrawGlyphAndCaption(HDC DC, bool Down, bool Selected, bool ShowGlyph, const TRect& Rect) {
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(GetBarManager()))
    painter->DrawGlyphAndCaption(this, DC, Down, Selected, ShowGlyph, Rect);
}

void TkwBarItemControl::DrawLoweredFrame(HDC DC, TRect& Rect) {
  if (const TkwBarItemControlPainter* painter = ItemPainterOf(GetBarManager()))
    painter->DrawLoweredFrame(this, DC, Rect);
}
