// This file implements the Office-2003 painter.
#include "kwBarOffice11Painter.h"

#include <algorithm>
#include <memory>

#include "kjSystemGlyphs.h"
#include "kwBarControl.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBarXPPainter.h"
#include "kwBars.h"
#include "kwDockControl.h"
#include "kwOffice11Colors.h"

COLORREF Office11Color(int Slot) { return Office11Colors().Colors[Slot]; }

namespace {
// The slots of the scheme's gradient pairs.
const int HotPair[2] = {22, 23};
const int PressedPair[2] = {25, 24};
const int OpenMenuPair[2] = {0, 1};
const int ToolbarPair[2] = {0, 1};

HBRUSH SchemeBrush(int Slot) {
  HBRUSH brush = Office11Brush(Slot);
  return brush ? brush : SysBrush(COLOR_BTNFACE);
}

void FillSolid(HDC DC, const TRect& Rect, COLORREF Color) {
  if (Rect.IsEmpty()) return;
  TOwnedBrush brush(CreateSolidBrush(Color));
  FillRect(DC, AsRECT(Rect), brush);
}

// Narrows Rect to the DC's clip box; false when nothing of it can show.
bool WithinClipBox(HDC DC, TRect& Rect) {
  TRect clip;
  int kind = GetClipBox(DC, AsRECT(clip));
  if (kind == NULLREGION) return false;
  return kind == ERROR || IntersectRect(AsRECT(Rect), AsRECT(Rect), AsRECT(clip));
}

// A bar's gradient runs across the whole window while each item repaints its own part of it: the
// bands are drawn once into a strip one pixel across, kept for the next paints, and stretched
// over the part to paint.
struct TGradientStrip {
  int Extent = 0;
  bool Horizontal = false;
  COLORREF First = 0;
  COLORREF Second = 0;
  int MidTone = 0;
  std::unique_ptr<TBitmap> Bitmap;
};

void FillMidToneGradientPart(HDC DC, const TRect& Gradient, const TRect& Part, COLORREF First, bool Horizontal,
                             COLORREF Second) {
  TRect part;
  if (!IntersectRect(AsRECT(part), AsRECT(Gradient), AsRECT(Part)) || !WithinClipBox(DC, part)) return;
  int extent = Horizontal ? Gradient.Width() : Gradient.Height();
  int midTone = Office11Colors().MidTonePercent;
  thread_local TGradientStrip strips[4];
  thread_local int nextStrip = 0;
  TGradientStrip* strip = nullptr;
  for (TGradientStrip& candidate : strips)
    if (candidate.Bitmap && candidate.Extent == extent && candidate.Horizontal == Horizontal &&
        candidate.First == First && candidate.Second == Second && candidate.MidTone == midTone)
      strip = &candidate;
  if (!strip) {
    strip = &strips[nextStrip];
    nextStrip = (nextStrip + 1) % 4;
    *strip = TGradientStrip{extent, Horizontal, First, Second, midTone, std::make_unique<TBitmap>()};
    strip->Bitmap->SetPixelFormat(pf32bit);
    strip->Bitmap->SetSize(Horizontal ? extent : 1, Horizontal ? 1 : extent);
    FillMidToneGradientRect(strip->Bitmap->Canvas()->Handle(),
                            TRect(0, 0, strip->Bitmap->Width(), strip->Bitmap->Height()), TColor(First), Horizontal,
                            TColor(Second));
  }
  HDC source = strip->Bitmap->Canvas()->Handle();
  int previous = SetStretchBltMode(DC, COLORONCOLOR);
  if (Horizontal)
    StretchBlt(DC, part.Left, part.Top, part.Width(), part.Height(), source, part.Left - Gradient.Left, 0,
               part.Width(), 1, SRCCOPY);
  else
    StretchBlt(DC, part.Left, part.Top, part.Width(), part.Height(), source, 0, part.Top - Gradient.Top, 1,
               part.Height(), SRCCOPY);
  SetStretchBltMode(DC, previous);
}

const TkwBarItemControlXPPainter& ThemedPainter() {
  static const TkwBarItemControlXPPainter painter;
  return painter;
}
}  // namespace

// --- Own operations ---------------------------------------------------------------------------------

void TkwBarItemControlOffice11Painter::DrawSchemeGripper(TCustomkwBarControl*, HDC DC, bool Vertical,
                                                         const TRect& Rect) const {
  DrawDottedGripper(DC, Rect, Vertical);
}

void TkwBarItemControlOffice11Painter::FrameSelected(HDC DC, const TRect& Rect) const {
  FrameRectOffice11Selected(DC, Rect);
}

bool TkwBarItemControlOffice11Painter::HasRoundedEnds(const TkwBar* Bar, TkwBarDockingStyle Style) {
  return Bar && Style != dsNone && !Bar->IsMainMenu() && Bar->BorderStyle() == bbsSingle;
}

TRect TkwBarItemControlOffice11Painter::GradientRect(TCustomkwBarControl* Window) {
  RECT window;
  GetWindowRect(Window->Handle(), &window);
  TRect r(0, 0, window.right - window.left, window.bottom - window.top);
  if (IsVerticalBarControl(Window))
    InflateBy(r, -1, 0);
  else
    InflateBy(r, 0, -1);
  return r;
}

// --- Item cells -------------------------------------------------------------------------------------

void TkwBarItemControlOffice11Painter::DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
                                                        int Location, const TRect& Rect, bool Framed,
                                                        HBRUSH Brush) const {
  bool down = States.Contains(cstDown), selected = States.Contains(cstSelected), pressed = States.Contains(cstPressed);
  bool menu = Location == ilMenu;
  bool horizontalGradient = Location == ilRotated;
  if (selected && States.Contains(cstNoGlyph) && menu && !down) {
    FillRect(DC, AsRECT(Rect), Brush);
    return;
  }
  TCustomkwBarControl* openMenu = down && States.Contains(cstOpensMenu) ? OpenMenuOf(Control) : nullptr;
  if (openMenu && !dynamic_cast<TkwBarSubMenuControl*>(WindowOf(Control))) {
    FillMidToneGradientRect(DC, Rect, TColor(Office11Color(OpenMenuPair[0])), horizontalGradient,
                            TColor(Office11Color(OpenMenuPair[1])));
  } else if (!menu && (selected || pressed || down)) {
    const int* pair = (pressed || down) ? PressedPair : HotPair;
    int first = pair[0], second = pair[1];
    if ((pressed || down) && !selected) std::swap(first, second);
    FillMidToneGradientRect(DC, Rect, TColor(Office11Color(first)), horizontalGradient, TColor(Office11Color(second)));
  } else {
    DrawItemBackground(Control, DC, Rect, Brush, selected || pressed || down);
  }
  if (down || (selected && !menu)) {
    if (openMenu)
      FrameJoinedToMenu(WindowOf(Control), DC, openMenu, Control, Rect);
    else if (selected || down)
      FrameRectOffice11Selected(DC, Rect);
    else
      FrameRect(DC, AsRECT(Rect), SchemeBrush(21));
  } else if (Framed) {
    DrawItemFrame(Control, DC, Rect, Brush, selected || pressed || down);
  }
}

void TkwBarItemControlOffice11Painter::DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
                                                      int ImageIndex, TCustomImageList* Images, TBitmap* Glyph,
                                                      const TRect& GlyphRect, TRect Cell, bool Framed, HBRUSH) const {
  if (Framed) InflateBy(Cell, -1, -1);
  TkwGlyphDrawing how;
  how.CopyBackground = true;
  if (TkwBarManager* manager = Control->GetBarManager()) how.BackgroundColor = manager->ImageListBkColor();
  how.Pressed = States.Contains(cstPressed);
  how.DownState = States.Contains(cstDown);
  how.Hot = States.Contains(cstSelected);
  how.Grayed = States.Contains(cstGrayed);
  how.Enabled = Control->GetEnabled();
  SetGlyphOptions(how);
  DrawItemGlyph(DC, Cell, GlyphRect, how, ImageIndex, Images, Glyph);
}

void TkwBarItemControlOffice11Painter::FillGlyphColumnPart(TkwBarItemControl* Control, HDC DC,
                                                           const TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  DrawItemBackground(Control, DC, Rect, window ? window->ItemBrush() : SchemeBrush(19), false);
}

void TkwBarItemControlOffice11Painter::DrawDropDownArrow(HDC DC, const TRect& Rect, bool Horizontal, bool, bool,
                                                         bool Enabled) const {
  DrawOffice11Arrow(DC, Rect, Horizontal, Enabled);
}

void TkwBarItemControlOffice11Painter::DrawMenuArrow(HDC DC, const TRect& Rect, bool Horizontal, bool, bool Enabled,
                                                     bool, int Size) const {
  DrawOffice11ArrowShape(DC, Rect, Horizontal, Enabled, Size);
}

void TkwBarItemControlOffice11Painter::GetEditColors(TkwBarItemControl* Control, COLORREF& Text,
                                                     COLORREF& Back) const {
  if (Control->GetEnabled()) {
    Text = Office11Color(30);
    Back = GetSysColor(COLOR_WINDOW);
  } else {
    Text = Office11Color(31);
    Back = GetSysColor(COLOR_BTNFACE);
  }
}

void TkwBarItemControlOffice11Painter::GetCaptionColors(TkwBarItemControl*, bool Enabled, bool Selected, bool Plain,
                                                        COLORREF& Offset, COLORREF& Text) const {
  if (!Enabled)
    Text = Office11Color(31);
  else if (Selected && !Plain)
    Text = Office11Colors().CaptionText;
  else
    Text = Office11Color(30);
  Offset = Text;
}

COLORREF TkwBarItemControlOffice11Painter::GetFloatingCaptionColor(TCustomkwBarControl*, bool) const {
  return Office11Color(16);
}

COLORREF TkwBarItemControlOffice11Painter::GetFloatingCaptionTextColor(TCustomkwBarControl*) const {
  return Office11Colors().CaptionText;
}

COLORREF TkwBarItemControlOffice11Painter::GetMarkGlyphColor(TCustomkwBarControl*, int State) const {
  const TkwOffice11ColorTable& t = Office11Colors();
  return State == msHot ? t.MarkGlyphHot : State == msPressed ? t.MarkGlyphPressed : t.CaptionText;
}

void TkwBarItemControlOffice11Painter::DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH,
                                                          const TRect& Rect) const {
  const TkwOffice11ColorTable& t = Office11Colors();
  int state = std::clamp(Window->MarkState(), 0, 2);
  static const int nearSlots[3] = {5, 7, 9};
  COLORREF nearColor = t.Colors[nearSlots[state]];
  COLORREF farColor = t.MarkFarEnd[state];
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  if (!bar || bar->IsFloating() || bar->Bar()->IsMainMenu()) {
    FillMidToneGradientRect(DC, Rect, TColor(nearColor), vertical, TColor(farColor));
    return;
  }
  // On a docked tool bar the mark is the rounded end of the bar.
  FillMidToneGradientRect(DC, Rect, TColor(nearColor), !vertical, TColor(farColor));
  COLORREF corner = t.MarkCorner[state];
  if (vertical) {
    SetPixel(DC, Rect.Left, Rect.Bottom - 1, corner);
    SetPixel(DC, Rect.Right - 1, Rect.Bottom - 1, corner);
  } else {
    SetPixel(DC, Rect.Right - 1, Rect.Top, corner);
    SetPixel(DC, Rect.Right - 1, Rect.Bottom - 1, corner);
  }
}

void TkwBarItemControlOffice11Painter::DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  const TkwOffice11ColorTable& t = Office11Colors();
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool vertical = bar && bar->IsVertical();
  int edge = 6 + (!bar || bar->IsFloating() || bar->Bar()->IsMainMenu() ? 2 : 0);
  auto arrow = [&](int DX, COLORREF Color) {
    if (!vertical) {
      int x = (Rect.Left + Rect.Right - 5) / 2 + DX;
      int y = Rect.Bottom - edge - 3 + DX;
      POINT p[3] = {{x, y}, {x + 4, y}, {x + 2, y + 2}};
      FillPolygonWithColor(DC, p, 3, Color);
    } else {
      int x = Rect.Right - edge - 3 + DX;
      int y = (Rect.Top + Rect.Bottom - 5) / 2 + DX;
      POINT p[3] = {{x, y}, {x, y + 4}, {x + 2, y + 2}};
      FillPolygonWithColor(DC, p, 3, Color);
    }
  };
  arrow(1, t.MarkGlyphLight);
  arrow(0, t.MarkGlyphDark);
  if (!bar || !bar->LinksHidden()) return;
  auto chevrons = [&](int DX, COLORREF Color) {
    for (int k = 0; k < 2; ++k)
      for (int j = 0; j < 2; ++j) {
        POINT p[3];
        if (!vertical) {
          int x = Rect.Left + 2 + 4 * k + DX;
          int y = Rect.Top + 3 + 4 * j + DX;
          p[0] = {x, y};
          p[1] = {x, y + 2};
          p[2] = {x + 1, y + 1};
        } else {
          int x = Rect.Left + 3 + 4 * j + DX;
          int y = Rect.Top + 2 + 4 * k + DX;
          p[0] = {x, y};
          p[1] = {x + 2, y};
          p[2] = {x + 1, y + 1};
        }
        FillPolygonWithColor(DC, p, 3, Color);
      }
  };
  chevrons(1, t.MarkGlyphLight);
  chevrons(0, t.MarkGlyphDark);
}

void TkwBarItemControlOffice11Painter::DrawMenuExpandGlyph(TkwBarSubMenuControl*, HDC DC, const TRect& Rect) const {
  TBitmap* bitmap = Office11SubMenuExpandBitmap();
  if (!bitmap || bitmap->Empty()) return;
  TRect r = Rect;
  InflateBy(r, -1, -1);
  int left = (r.Left + r.Right - bitmap->Width()) / 2;
  TRect glyph = Bounds(left, r.Top, bitmap->Width(), bitmap->Height());
  TkwGlyphDrawing how;
  how.CopyBackground = true;
  DrawItemGlyph(DC, r, glyph, how, -1, nullptr, bitmap);
}

void TkwBarItemControlOffice11Painter::DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                           bool Enabled, bool Pressed, bool Hot) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  if (Hot) {
    FrameSelected(DC, Rect);
    FillRect(DC, AsRECT(inside), Pressed ? window->GetDownBrush() : window->GetSelectedBrush());
  } else if (Enabled) {
    FrameRect(DC, AsRECT(Rect), window->ItemBrush());
    FillRect(DC, AsRECT(inside), SchemeBrush(26));
  } else {
    TOwnedBrush frame(CreateSolidBrush(Office11Color(31)));
    FrameRect(DC, AsRECT(Rect), frame);
    FillRect(DC, AsRECT(inside), SysBrush(COLOR_BTNFACE));
  }
}

void TkwBarItemControlOffice11Painter::GetPaintColors(TkwBarItemControl* Control, int Location, bool Pressed,
                                                      bool Selected, bool Enabled, COLORREF& Arrow,
                                                      HBRUSH& Face) const {
  if (!Enabled) {
    Arrow = Office11Color(31);
    Face = SysBrush(COLOR_BTNFACE);
    return;
  }
  TkwBarItemControlFlatPainter::GetPaintColors(Control, Location, Pressed, Selected, Enabled, Arrow, Face);
  Arrow = Office11Color(30);
}

HBRUSH TkwBarItemControlOffice11Painter::GetItemBackgroundBrush(TkwBarItemControl* Control, int Location,
                                                                TkwCellStates States) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (window && Location == ilMenu && !States.Contains(cstSelected) && !States.Contains(cstDown) &&
      !States.Contains(cstPlainBackground))
    return window->ItemBrush();
  return TkwBarItemControlFlatPainter::GetItemBackgroundBrush(Control, Location, States);
}

// --- Backgrounds ------------------------------------------------------------------------------------

void TkwBarItemControlOffice11Painter::DrawDockBackground(TkwDockControl* Dock, HDC DC, TColor, HBRUSH,
                                                          const TRect& Origin, const TRect& Rect,
                                                          const TRect&) const {
  TBitmap* cache = Dock->OffscreenBitmap();
  TRect client = Dock->ClientRect();
  if (cache->Empty() || cache->Width() != client.Width() || cache->Height() != client.Height()) {
    cache->SetSize(std::max(client.Width(), 1), std::max(client.Height(), 1));
    COLORREF first = Office11Color(2), second = Office11Color(3);
    if (Dock->DockingStyle() == dsRight) second = first;
    if (Dock->DockingStyle() == dsBottom) first = second;
    FillGradientRect(cache->Canvas()->Handle(), TRect(0, 0, cache->Width(), cache->Height()), TColor(first), true,
                     TColor(second));
  }
  // Only the part within the clip box is copied.
  TRect part = Rect;
  if (!WithinClipBox(DC, part)) return;
  BitBlt(DC, part.Left, part.Top, part.Width(), part.Height(), cache->Canvas()->Handle(),
         Origin.Left + part.Left - Rect.Left, Origin.Top + part.Top - Rect.Top, SRCCOPY);
}

HBRUSH TkwBarItemControlOffice11Painter::GetOpenOwnerBrush(const TkwBarManager*) const { return SchemeBrush(26); }

void TkwBarItemControlOffice11Painter::DrawDockedBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color,
                                                               HBRUSH Brush, const TRect& Rect,
                                                               const TRect& PaintRect) const {
  TkwBar* bar = Window->Bar();
  bool bitmap = bar && !bar->BackgroundBitmap()->Empty();
  if (!bar || bar->IsMainMenu() || bitmap || !Window->HandleAllocated()) {
    TkwBarItemControlFlatPainter::DrawDockedBarBackground(Window, DC, Color, Brush, Rect, PaintRect);
    return;
  }
  // The bar's own gradient, across the docking direction, placed in the DC's coordinates.
  TRect gradient = GradientRect(Window);
  OffsetBy(gradient, PaintRect.Left - Rect.Left, PaintRect.Top - Rect.Top);
  TSavedDC saved(DC);
  IntersectClipRect(DC, PaintRect.Left, PaintRect.Top, PaintRect.Right, PaintRect.Bottom);
  bool vertical = IsVerticalBarControl(Window);
  TkwBarItemControlFlatPainter::DrawDockedBarBackground(Window, DC, Color, Brush, Rect, PaintRect);
  FillMidToneGradientPart(DC, gradient, PaintRect, Office11Color(ToolbarPair[0]), vertical,
                          Office11Color(ToolbarPair[1]));
}

void TkwBarItemControlOffice11Painter::DrawBarBitmapBackground(TCustomkwBarControl* Window, HDC DC, TColor Color,
                                                               HBRUSH Brush, const TRect& Rect,
                                                               const TRect& PaintRect) const {
  TkwBarManager* manager = Window->GetBarManager();
  bool bitmap = manager && !manager->Backgrounds()->Bar()->Empty();
  if (Window->IsSubMenu() || bitmap || !Window->HandleAllocated()) {
    TkwBarItemControlFlatPainter::DrawBarBitmapBackground(Window, DC, Color, Brush, Rect, PaintRect);
    return;
  }
  TRect client = Window->ClientRect();
  OffsetBy(client, PaintRect.Left - Rect.Left, PaintRect.Top - Rect.Top);
  FillMidToneGradientPart(DC, client, PaintRect, Office11Color(ToolbarPair[0]), false, Office11Color(ToolbarPair[1]));
}

void TkwBarItemControlOffice11Painter::DrawOwnerJoinStrip(TCustomkwBarControl* Window, HDC DC) const {
  TRect join = Window->GetOwnJoinRect();
  if (!join.IsEmpty()) FillRect(DC, AsRECT(join), SchemeBrush(19));
}

bool TkwBarItemControlOffice11Painter::HasShadow(TCustomkwBarControl* Window) const {
  return Window && (Window->IsSubMenu() || Window->IsQuickCustomizingMenu());
}

HBRUSH TkwBarItemControlOffice11Painter::GetBarBrush(TCustomkwBarControl*) const { return SchemeBrush(19); }

HBRUSH TkwBarItemControlOffice11Painter::GetBarWindowBrush(TCustomkwBarControl* Window) const {
  TkwBar* bar = Window ? Window->Bar() : nullptr;
  if (bar && (bar->IsMainMenu() || bar->IsStatusBarStyle())) return SysBrush(COLOR_BTNFACE);
  return GetBarBrush(Window);
}

HBRUSH TkwBarItemControlOffice11Painter::GetCheckedBrush(TCustomkwBarControl*) const { return SchemeBrush(27); }
HBRUSH TkwBarItemControlOffice11Painter::GetDownBrush(TCustomkwBarControl*) const { return SchemeBrush(28); }
HBRUSH TkwBarItemControlOffice11Painter::GetSelectedBrush(TCustomkwBarControl*) const { return SchemeBrush(20); }

TRect TkwBarItemControlOffice11Painter::GetBorderRect(TCustomkwBarControl* Window) const {
  return GetBarDockedBorderRect(Window ? Window->Bar() : nullptr, Window ? Window->DockingStyle() : dsNone);
}

TRect TkwBarItemControlOffice11Painter::GetBarDockedBorderRect(const TkwBar* Bar, TkwBarDockingStyle Style) const {
  if (!HasRoundedEnds(Bar, Style)) return GetDockedBorderRect();
  // Two pixels across the docking direction, none at the ends: the gradient reaches them.
  if (Style == dsLeft || Style == dsRight) return TRect(2, 0, 2, 0);
  return TRect(0, 2, 0, 2);
}

void TkwBarItemControlOffice11Painter::DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal,
                                                         HBRUSH Brush, const TRect& Rect) const {
  Window->DrawBackground(DC, Rect, true, clNone, Brush);
  int offset = GetBarBeginGroupLineOffset(Window, DC);
  if (Horizontal) {
    int y = Rect.Top + offset;
    FillSolid(DC, TRect(Rect.Left + 3, y, Rect.Right - 4, y + 1), Office11Color(14));
    FillSolid(DC, TRect(Rect.Left + 4, y + 1, Rect.Right - 3, y + 2), Office11Color(15));
  } else {
    int x = Rect.Left + offset;
    FillSolid(DC, TRect(x, Rect.Top + 3, x + 1, Rect.Bottom - 4), Office11Color(14));
    FillSolid(DC, TRect(x + 1, Rect.Top + 4, x + 2, Rect.Bottom - 3), Office11Color(15));
  }
}

void TkwBarItemControlOffice11Painter::DrawCloseButtonBackground(TCustomkwBarControl* Window, HDC DC, int State,
                                                                 const TRect& Rect) const {
  if (State == 0) {
    FillSolid(DC, Rect, GetFloatingCaptionColor(Window, true));
    return;
  }
  FrameSelected(DC, Rect);
  TRect inside = Rect;
  InflateBy(inside, -1, -1);
  FillSolid(DC, inside, Office11Color(State == 1 ? 22 : 23));
}

void TkwBarItemControlOffice11Painter::DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar) return;
  TRect all = Rect;
  bool vertical = bar->IsVertical();
  auto dockBackground = [&](const TRect& R) {
    if (!R.IsEmpty()) TkwBarItemControlPainter::DrawDockedBarBackground(Window, DC, clNone, Window->GetBackgroundBrush(), R, R);
  };
  if (bar->Bar()->IsMainMenu()) {
    if (vertical) {
      dockBackground(TRect(all.Left, all.Top, all.Left + 2, all.Bottom));
      dockBackground(TRect(all.Right - 2, all.Top, all.Right, all.Bottom));
    } else {
      dockBackground(TRect(all.Left, all.Top, all.Right, all.Top + 2));
      dockBackground(TRect(all.Left, all.Bottom - 2, all.Right, all.Bottom));
    }
  } else {
    // Rounded ends: the outer row takes the dock's background, the inner one the border line,
    // and the corners are blended half with the gradient beneath.
    TRect gradient = GradientRect(Window);
    COLORREF border = Office11Color(10);
    if (vertical) {
      dockBackground(TRect(all.Left, all.Top, all.Left + 1, all.Bottom));
      dockBackground(TRect(all.Right - 1, all.Top, all.Right, all.Bottom));
      FillSolid(DC, TRect(all.Right - 2, all.Top + 1, all.Right - 1, all.Bottom - 1), border);
    } else {
      dockBackground(TRect(all.Left, all.Top, all.Right, all.Top + 1));
      dockBackground(TRect(all.Left, all.Bottom - 1, all.Right, all.Bottom));
      FillSolid(DC, TRect(all.Left + 1, all.Bottom - 2, all.Right - 1, all.Bottom - 1), border);
    }
    auto blend = [&](int X, int Y) {
      COLORREF under = GradientColorAt(gradient, vertical ? X : Y, TColor(Office11Color(0)), vertical,
                                       TColor(Office11Color(1)));
      SetPixel(DC, X, Y, BlendColors(TColor(border), TColor(under), 50));
    };
    blend(all.Left + 1, all.Top + 1);
    blend(all.Right - 2, all.Top + 1);
    blend(all.Left + 1, all.Bottom - 2);
    blend(all.Right - 2, all.Bottom - 2);
  }
  TRect inner = all;
  InflateBy(inner, -2, -2);
  if (bar->Bar()->BorderStyle() == bbsSingle) {
    int start = GetGripOffset(), width = GetGripLineWidth();
    TRect grip = vertical ? TRect(inner.Left + 3, inner.Top + start, inner.Right - 3, inner.Top + start + width)
                          : TRect(inner.Left + start, inner.Top + 3, inner.Left + start + width, inner.Bottom - 3);
    DrawSchemeGripper(Window, DC, !vertical, grip);
  }
  Rect = inner;
}

void TkwBarItemControlOffice11Painter::DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                             int& BorderWidth, TRect& Rect) const {
  if (Window->IsSubMenu()) {
    TOwnedBrush frame(CreateSolidBrush(Office11Color(18)));
    FrameRect(DC, AsRECT(Rect), frame);
    for (int i = 1; i < BorderWidth; ++i) {
      InflateBy(Rect, -1, -1);
      FrameRect(DC, AsRECT(Rect), Brush);
    }
    InflateBy(Rect, -1, -1);
    return;
  }
  TOwnedBrush outer(CreateSolidBrush(Office11Color(16)));
  TOwnedBrush inner(CreateSolidBrush(Office11Color(17)));
  FrameRect(DC, AsRECT(Rect), outer);
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), outer);
  InflateBy(Rect, -1, -1);
  FrameRect(DC, AsRECT(Rect), inner);
  COLORREF o = Office11Color(16);
  SetPixel(DC, Rect.Left, Rect.Top, o);
  SetPixel(DC, Rect.Right - 1, Rect.Top, o);
  SetPixel(DC, Rect.Left, Rect.Bottom - 1, o);
  SetPixel(DC, Rect.Right - 1, Rect.Bottom - 1, o);
  for (int i = 3; i < BorderWidth; ++i) {
    InflateBy(Rect, -1, -1);
    FrameRect(DC, AsRECT(Rect), inner);
  }
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlOffice11Painter::DrawFloatingBarCaption(TCustomkwBarControl* Window, HDC DC, HBRUSH,
                                                              HBRUSH CaptionBrush, const TRect& Rect) const {
  TOwnedBrush separating(CreateSolidBrush(Office11Color(16)));
  TkwBarItemControlFlatPainter::DrawFloatingBarCaption(Window, DC, separating, CaptionBrush, Rect);
}

void TkwBarItemControlOffice11Painter::DrawStatusBarSizeGrip(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                             const TRect& Rect) const {
  if (AreThemesUsable())
    ThemedPainter().DrawStatusBarSizeGrip(Window, DC, Brush, Rect);
  else
    TkwBarItemControlFlatPainter::DrawStatusBarSizeGrip(Window, DC, Brush, Rect);
}

void TkwBarItemControlOffice11Painter::DrawStatusBarNonClientBackground(TCustomkwBarControl* Window, HDC DC,
                                                                        HBRUSH Brush, const TRect& Rect) const {
  if (AreThemesUsable())
    ThemedPainter().DrawStatusBarNonClientBackground(Window, DC, Brush, Rect);
  else
    TkwBarItemControlFlatPainter::DrawStatusBarNonClientBackground(Window, DC, Brush, Rect);
}

void TkwBarItemControlOffice11Painter::DrawStatusBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color,
                                                               HBRUSH Brush, const TRect& Origin, const TRect& Rect,
                                                               const TRect& PaintRect) const {
  if (AreThemesUsable())
    ThemedPainter().DrawStatusBarBackground(Window, DC, Color, Brush, Origin, Rect, PaintRect);
  else
    TkwBarItemControlFlatPainter::DrawStatusBarBackground(Window, DC, Color, Brush, Origin, Rect, PaintRect);
}

TSize TkwBarItemControlOffice11Painter::GetSizeGripSize(const TkwBarManager* Manager) const {
  return AreThemesUsable() ? ThemedPainter().GetSizeGripSize(Manager) : TkwBarItemControlFlatPainter::GetSizeGripSize(Manager);
}

void TkwBarItemControlOffice11Painter::DrawDateNavigatorButton(TkwBarItemControl* Control, HDC DC, bool Pressed,
                                                               const String& Caption, TRect Rect) const {
  if (AreThemesUsable())
    ThemedPainter().DrawDateNavigatorButton(Control, DC, Pressed, Caption, Rect);
  else
    TkwBarItemControlFlatPainter::DrawDateNavigatorButton(Control, DC, Pressed, Caption, Rect);
}

TRect TkwBarItemControlOffice11Painter::GetMarkRect(TCustomkwBarControl* Window) const {
  TRect r = TkwBarItemControlFlatPainter::GetMarkRect(Window);
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  if (!bar || !HasRoundedEnds(bar->Bar(), bar->DockingStyle())) return r;
  // The mark reaches the bar's edge (it draws the rounded end).
  if (bar->IsVertical()) {
    r.Left -= 1;
    r.Right += 1;
    r.Bottom += 2;
  } else {
    r.Top -= 1;
    r.Right += 2;
    r.Bottom += 1;
  }
  return r;
}

void TkwBarItemControlOffice11Painter::RepaintMark(TCustomkwBarControl* Window) const {
  TkwBarItemControlFlatPainter::RepaintMark(Window);
  if (Window->HandleAllocated() && Window->DockSite()) SendMessageA(Window->Handle(), WM_NCPAINT, 1, 0);
}

HBRUSH TkwBarItemControlOffice11Painter::GetQuickCustomizingBrush(TCustomkwBarControl*) const {
  return SchemeBrush(19);
}

void TkwBarItemControlOffice11Painter::DrawQuickCustomizingCheckColumn(TkwBarItemControl* Control, HDC DC,
                                                                       bool Selected, int& Right, TRect& Rect) const {
  Rect.Right = Rect.Left + Rect.Height();
  if (!Selected) DrawItemFrame(Control, DC, Rect, GetBarBrush(WindowOf(Control)), true);
  InflateBy(Rect, -1, -1);
  Rect.Right = Rect.Left + Rect.Height();
  Right = Rect.Right + 1;
}

void TkwBarItemControlOffice11Painter::DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                           HBRUSH Face, COLORREF, bool Selected, bool Pressed,
                                                           bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                                                           int Location) const {
  TCustomkwBarControl* window = WindowOf(Control);
  TRect r = Rect;
  if (Location != ilMenu) r.Left -= 1;
  bool enabled = Control->GetEnabled() && DropDownEnabled;
  if (!(DroppedDown && MenuPresent)) {
    if (Selected)
      FrameRectOffice11Selected(DC, r);
    else if (Location == ilMenu)
      FrameRect(DC, AsRECT(r), SchemeBrush(14));
    else
      DrawItemFrame(Control, DC, r, Face, false);
    TRect inside = r;
    InflateBy(inside, -1, -1);
    DrawItemBackground(Control, DC, inside, Face, Selected || Pressed || DroppedDown || Control->ExpandedOnly);
  }
  if (Location == ilMenu)
    DrawMenuArrow(DC, r, false, true, enabled, DroppedDown, window ? window->SmallUnit() : 4);
  else
    DrawDropDownArrow(DC, r, true, true, false, enabled);
}

void TkwBarItemControlOffice11Painter::DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected,
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
    FrameRectOffice11Selected(DC, outer);
    const int* pair = DroppedDown ? PressedPair : HotPair;
    FillMidToneGradientRect(DC, inside, TColor(Office11Color(pair[0])), false, TColor(Office11Color(pair[1])));
  } else {
    HBRUSH frame = Enabled ? SysBrush(COLOR_WINDOW) : face;
    FrameRect(DC, AsRECT(button), frame);
    FillRect(DC, AsRECT(TRect(button.Left - 1, button.Top, button.Left, button.Bottom)), frame);
    if (Enabled && Location == ilMenu)
      FillRect(DC, AsRECT(inside), SchemeBrush(26));
    else
      DrawItemBackground(Control, DC, inside, face, !Enabled);
    if (DroppedDown) OffsetBy(inside, 1, 1);
  }
  int d = inside.Width() / 2;
  if (d % 2 == 0) --d;
  d = std::max(d, 1);
  DrawTriangle(Control, DC, arrow, d, (inside.Top + inside.Bottom - d / 2) / 2, (inside.Left + inside.Right - d) / 2);
}

void TkwBarItemControlOffice11Painter::GetComboButtonColors(TkwBarItemControl* Control, int Location,
                                                            COLORREF& Arrow, HBRUSH& Face, bool DroppedDown,
                                                            bool Selected, bool Enabled) const {
  GetPaintColors(Control, Location, DroppedDown, Selected, Enabled, Arrow, Face);
  TCustomkwBarControl* window = WindowOf(Control);
  if (Enabled && window) {
    if (Selected)
      Face = window->GetSelectedBrush();
    else if (DroppedDown)
      Face = window->GetDownBrush();
  }
}

void TkwBarItemControlOffice11Painter::DrawDropDownListBorder(HDC DC, const TRect& Rect) const {
  TRect r = Rect;
  FrameRect(DC, AsRECT(r), SchemeBrush(18));
  InflateBy(r, -1, -1);
  FrameRect(DC, AsRECT(r), SchemeBrush(19));
}

// --- Menus ------------------------------------------------------------------------------------------

void TkwBarItemControlOffice11Painter::CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth,
                                                       int& ExpandHeight, int& GlyphScaleBase) const {
  TkwBarItemControlFlatPainter::CalcMenuMetrics(Menu, RowHeight, ArrowWidth, ExpandHeight, GlyphScaleBase);
  if (TBitmap* bitmap = Office11SubMenuExpandBitmap(); bitmap && !bitmap->Empty())
    ExpandHeight = bitmap->Height() + 2;
}

int TkwBarItemControlOffice11Painter::GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const {
  return Menu->GetDetachStripHeight() + 5;
}

void TkwBarItemControlOffice11Painter::DrawMenuBackground(TkwBarSubMenuControl* Menu, HDC DC, TColor Color,
                                                          HBRUSH Brush, const TRect& Rect) const {
  TBitmap* bitmap = Menu->GetSideBarBitmap();
  if (bitmap && !bitmap->Empty()) {
    TkwBarItemControlFlatPainter::DrawMenuBackground(Menu, DC, Color, Brush, Rect);
    return;
  }
  TSavedDC saved(DC);
  IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  TRect client = Menu->ClientRect();
  int columnRight = Menu->GetSideBarWidth() + Menu->RowUnit() + 2;
  const TkwOffice11ColorTable& t = Office11Colors();
  bool rare = Menu->ExpandedOnlyPaint;
  COLORREF first = rare ? t.RarelyUsedColumn[0] : t.Colors[0];
  COLORREF second = rare ? t.RarelyUsedColumn[1] : t.Colors[1];
  FillGradientRect(DC, TRect(client.Left, Rect.Top, columnRight, Rect.Bottom), TColor(first), true, TColor(second));
  TRect rest(columnRight, Rect.Top, std::max(Rect.Right, columnRight), Rect.Bottom);
  if (Brush)
    FillRect(DC, AsRECT(rest), Brush);
  else
    FillSolid(DC, rest, ColorToRGB(Color));
}

void TkwBarItemControlOffice11Painter::DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  TOwnedBrush frame(CreateSolidBrush(Office11Color(18)));
  FrameRect(DC, AsRECT(Rect), frame);
  DrawOwnerJoinStrip(Menu, DC);
  if (!Menu->IsDetachable()) return;
  TRect r = Rect;
  InflateBy(r, -1, -1);
  int height = GetMenuTearOffBarHeight(Menu);
  TRect area(r.Left, r.Top, r.Right, r.Top + height);
  FrameRect(DC, AsRECT(area), SchemeBrush(19));
  FillRect(DC, AsRECT(TRect(area.Left, area.Top, area.Right, area.Top + 2)), SchemeBrush(19));
  FillRect(DC, AsRECT(TRect(area.Left, area.Bottom - 1, area.Right, area.Bottom)), SchemeBrush(19));
  TRect bar = area;
  AdjustMenuTearOffBarRect(Menu, bar);
  DrawMenuTearOffBar(Menu, DC, bar);
}

void TkwBarItemControlOffice11Painter::DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH,
                                                          TRect& Rect) const {
  HBRUSH background = SchemeBrush(19);
  TBitmap* bitmap = Menu->GetSideBarBitmap();
  if ((bitmap && !bitmap->Empty()) || Menu->GetSideBarWidth() > 0) {
    FrameRect(DC, AsRECT(Rect), background);
  } else {
    FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Top, Rect.Right, Rect.Top + 1)), background);
    FillRect(DC, AsRECT(TRect(Rect.Right - 1, Rect.Top, Rect.Right, Rect.Bottom)), background);
    FillRect(DC, AsRECT(TRect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom)), background);
    FillSolid(DC, TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom), Office11Color(0));
  }
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlOffice11Painter::DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  TRect r = Rect;
  if (Menu->DetachStripHot()) {
    FrameSelected(DC, r);
    InflateBy(r, -1, -1);
    FillRect(DC, AsRECT(r), SchemeBrush(20));
  } else {
    FillRect(DC, AsRECT(r), SchemeBrush(29));
  }
  TRect grip = r;
  InflateBy(grip, -r.Width() / 4, 0);
  DrawSchemeGripper(Menu, DC, false, grip);
}

HBRUSH TkwBarItemControlOffice11Painter::GetMenuBrush(TkwBarSubMenuControl*) const { return SchemeBrush(19); }

// --- Edits and extended items --------------------------------------------------------------------------

int TkwBarItemControlOffice11Painter::GetEditCaptionWidth(TkwBarItemControl* Control, int TextWidth) const {
  int width = TkwBarItemControlFlatPainter::GetEditCaptionWidth(Control, TextWidth);
  TCustomkwBarControl* window = WindowOf(Control);
  if (window && window->IsSubMenu()) width += GetGlyphColumnWidth(Control) + 1;
  return width;
}

void TkwBarItemControlOffice11Painter::DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                                     TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (Selected) {
    FrameSelected(DC, Rect);
  } else if (!Control->GetEnabled()) {
    TOwnedBrush frame(CreateSolidBrush(Office11Color(31)));
    FrameRect(DC, AsRECT(Rect), frame);
  } else if (Location == ilMenu) {
    FrameRect(DC, AsRECT(Rect), SchemeBrush(26));
  } else {
    DrawItemFrame(Control, DC, Rect, window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE), false);
  }
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlOffice11Painter::DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
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

COLORREF TkwBarItemControlOffice11Painter::GetDateNavigatorHeaderColor() const { return Office11Color(2); }

int TkwBarItemControlOffice11Painter::GetProgressBarIndent(TkwBarItemControl* Control, bool OwnGlyph) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return window && window->IsSubMenu() && !OwnGlyph ? GetGlyphColumnWidth(Control) : 0;
}

HBRUSH TkwBarItemControlOffice11Painter::GetInPlaceSubItemBrush() const {
  HBRUSH brush = Office11InPlaceSubItemBrush();
  return brush ? brush : SysBrush(COLOR_BTNSHADOW);
}
