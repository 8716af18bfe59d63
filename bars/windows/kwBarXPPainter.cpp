// This file implements the XP painter.
#include "kwBarXPPainter.h"

#include <algorithm>

#include "kjDropDownFrame.h"
#include "kwBarControl.h"
#include "kwBarFlatPainter.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarStandardPainters.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwDockControl.h"
#include "kwThemes.h"

namespace {
// The theme's part and state numbers.
enum {
  TP_BUTTON = 1, TP_SPLITBUTTON = 3, TP_SPLITBUTTONDROPDOWN = 4, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6,
  RP_GRIPPER = 1, RP_GRIPPERVERT = 2, RP_BACKGROUND = 0,
  WP_SMALLCLOSEBUTTON = 19, WP_MDIMINBUTTON = 16, WP_MDICLOSEBUTTON = 20, WP_MDIRESTOREBUTTON = 22,
  CP_DROPDOWNBUTTON = 1, EP_EDITTEXT = 1, SPNP_UP = 1, SPNP_DOWN = 2,
  PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4, SP_GRIPPER = 3, SP_BACKGROUND = 0, BP_PUSHBUTTON = 1
};

const TkwBarItemControlStandardPainter& Standard() {
  static const TkwBarItemControlStandardPainter painter;
  return painter;
}

const TkwBarItemControlFlatPainter& Flat() {
  static const TkwBarItemControlFlatPainter painter;
  return painter;
}

// The content margins of a part: the content rectangle of a 100 x 100 rectangle.
TRect ContentMargins(int Kind, int Part, int State) {
  HTHEME theme = GetThemeHandleForKind(Kind);
  if (!theme) return TRect();
  RECT bounds = {0, 0, 100, 100}, content{};
  if (FAILED(ThemeGetBackgroundContentRect(theme, nullptr, Part, State, &bounds, &content))) return TRect();
  return TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
}
}  // namespace

bool DrawThemePart(int Kind, HDC DC, int Part, int State, const TRect& Rect) {
  HTHEME theme = GetThemeHandleForKind(Kind);
  if (!theme || Rect.IsEmpty()) return false;
  RECT r = Rect;
  return SUCCEEDED(ThemeDrawBackground(theme, DC, Part, State, &r, nullptr));
}

TSize ThemePartSize(int Kind, int Part, int State, TSize Fallback) {
  HTHEME theme = GetThemeHandleForKind(Kind);
  if (!theme) return Fallback;
  TWindowDC screen;
  SIZE size{};
  if (FAILED(ThemeGetPartSize(theme, screen, Part, State, nullptr, TS_TRUE, &size)) || size.cx <= 0) return Fallback;
  return TSize{size.cx, size.cy};
}

// --- Item cells -------------------------------------------------------------------------------------

void TkwBarItemControlXPPainter::DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
                                                  int Location, const TRect& Rect, bool, HBRUSH Brush) const {
  bool down = States.Contains(cstDown), selected = States.Contains(cstSelected), pressed = States.Contains(cstPressed);
  bool menu = Location == ilMenu;
  if (menu && States.Contains(cstNoGlyph) && !down && (selected || Control->ExpandedOnly)) {
    FillRect(DC, AsRECT(Rect), Brush);
    return;
  }
  DrawItemBackground(Control, DC, Rect, Brush, false);
  if (KeepsPressedContentInPlace(Control) && !menu && (selected || pressed || down)) {
    // A main-menu entry looks like the system's menu bar.
    FillRect(DC, AsRECT(Rect), SysBrush(COLOR_HIGHLIGHT));
    return;
  }
  int state = !Control->GetEnabled() ? 4 : pressed ? 3 : down ? 5 : selected ? 2 : 1;
  DrawThemePart(tkToolBar, DC, States.Contains(cstSplit) ? TP_SPLITBUTTON : TP_BUTTON, state, Rect);
}

void TkwBarItemControlXPPainter::DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top,
                                               int Left) const {
  Flat().DrawCheckMark(Control, DC, Scale, Top, Left);
}

void TkwBarItemControlXPPainter::DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States,
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

bool TkwBarItemControlXPPainter::KeepsPressedContentInPlace(TkwBarItemControl* Control) const {
  TCustomkwBarControl* window = WindowOf(Control);
  return Control->HasSubMenu() && window && window->Bar() && window->Bar()->IsMainMenu();
}

void TkwBarItemControlXPPainter::DrawSizeGripGlyph(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                   const TRect& Rect) const {
  Window->DrawBackground(DC, Rect, false, clNone, Brush);
  DrawThemePart(tkStatus, DC, SP_GRIPPER, 0, Rect);
}

void TkwBarItemControlXPPainter::DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                    const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), Brush);
  TRect r = Rect;
  TkwBar* bar = Window->Bar();
  if (!bar || !bar->IsStatusBarStyle()) {
    if (IsVerticalBarControl(Window))
      InflateBy(r, -2, 0);
    else
      InflateBy(r, 0, -2);
  }
  DrawThemePart(tkToolBar, DC, TP_BUTTON, Window->MarkState() + 1, r);
}

void TkwBarItemControlXPPainter::DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  DrawEnhancedMarkGlyph(this, Window, DC, Rect);
}

void TkwBarItemControlXPPainter::DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position,
                                                 const TRect& Rect) const {
  Flat().DrawMarkChevron(Window, DC, Position, Rect);
}

void TkwBarItemControlXPPainter::DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down, bool Selected,
                                                     bool ShowGlyph, const TRect& Rect) const {
  // The standard look, through this painter's own cell operations.
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect square(Rect.Left, Rect.Top, Rect.Left + Rect.Height(), Rect.Bottom);
  bool glyph = ShowGlyph && Control->HasGlyph();
  TkwCellStates states;
  if (Down) states.Include(cstDown);
  if (Selected) states.Include(cstSelected);
  if (!glyph) states.Include(cstNoGlyph);
  DrawGlyph(Control, square, states, ilMenu, Control->GetImageIndex(), Control->GetImages(), Control->GetGlyph());
  TRect caption(square.Right, Rect.Top, Rect.Right, Rect.Bottom);
  FillRect(DC, AsRECT(caption), Selected ? window->GetSelectedBrush() : window->ItemBrush());
  TRect text = caption;
  text.Left += 3;
  DrawCaption(Control, DC, Control->GetCaption(), text, caLeft, Control->GetEnabled(), Selected, false, false, false);
}

void TkwBarItemControlXPPainter::DrawLoweredFrame(TkwBarItemControl* Control, HDC DC, TRect& Rect) const {
  Standard().DrawLoweredFrame(Control, DC, Rect);
}

HBRUSH TkwBarItemControlXPPainter::GetItemBackgroundBrush(TkwBarItemControl* Control, int Location,
                                                          TkwCellStates States) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return SysBrush(COLOR_BTNFACE);
  if (States.Contains(cstSelected) && States.Contains(cstNoGlyph) && Location == ilMenu && !States.Contains(cstDown))
    return window->GetSelectedBrush();
  return window->ItemBrush();
}

int TkwBarItemControlXPPainter::GetGripLineWidth() const {
  return ThemePartSize(tkRebar, RP_GRIPPER, 1, TSize{3, 3}).cx;
}

// --- Bars and dock sites ------------------------------------------------------------------------------

void TkwBarItemControlXPPainter::DrawDockBackground(TkwDockControl* Dock, HDC DC, TColor, HBRUSH, const TRect& Origin,
                                                    const TRect& Rect, const TRect&) const {
  TBitmap* cache = Dock->OffscreenBitmap();
  TRect client = Dock->ClientRect();
  if (cache->Empty() || cache->Width() != client.Width() || cache->Height() != client.Height()) {
    cache->SetSize(std::max(client.Width(), 1), std::max(client.Height(), 1));
    HDC cacheDC = cache->Canvas()->Handle();
    TRect all(0, 0, cache->Width(), cache->Height());
    if (!DrawThemePart(tkRebar, cacheDC, RP_BACKGROUND, 0, all)) FillRect(cacheDC, AsRECT(all), SysBrush(COLOR_BTNFACE));
    // Each row shows a light line along its start edge and a dark one along its end edge.
    bool vertical = Dock->IsVerticalDock();
    for (int i = 0; i < Dock->GetRowCount(); ++i) {
      TRect row = Dock->GetRowRect(i);
      if (vertical) {
        FillRect(cacheDC, AsRECT(TRect(row.Left, row.Top, row.Left + 1, row.Bottom)), SysBrush(COLOR_BTNHIGHLIGHT));
        FillRect(cacheDC, AsRECT(TRect(row.Right - 1, row.Top, row.Right, row.Bottom)), SysBrush(COLOR_BTNSHADOW));
      } else {
        FillRect(cacheDC, AsRECT(TRect(row.Left, row.Top, row.Right, row.Top + 1)), SysBrush(COLOR_BTNHIGHLIGHT));
        FillRect(cacheDC, AsRECT(TRect(row.Left, row.Bottom - 1, row.Right, row.Bottom)), SysBrush(COLOR_BTNSHADOW));
      }
    }
  }
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), cache->Canvas()->Handle(), Origin.Left, Origin.Top,
         SRCCOPY);
}

bool TkwBarItemControlXPPainter::HasShadow(TCustomkwBarControl* Window) const {
  return Window && !Window->DockSite();
}

HBRUSH TkwBarItemControlXPPainter::GetBarBrush(TCustomkwBarControl* Window) const {
  TkwBarManager* manager = Window ? Window->GetBarManager() : nullptr;
  return manager && manager->ThemedBrush() ? manager->ThemedBrush() : SysBrush(COLOR_BTNFACE);
}

int TkwBarItemControlXPPainter::CalcComboButtonWidth(TCustomkwBarControl* Window, HDC DC, int ZeroWidth) const {
  TSize size = ThemePartSize(tkComboBox, CP_DROPDOWNBUTTON, 1, TSize{0, 0});
  return size.cx > 0 ? size.cx : TkwBarItemControlPainter::CalcComboButtonWidth(Window, DC, ZeroWidth);
}

int TkwBarItemControlXPPainter::GetRowExtraHeight() const {
  TRect margins = ContentMargins(tkToolBar, TP_BUTTON, 1);
  return margins.Left + margins.Right + 5;
}

int TkwBarItemControlXPPainter::GetBarBeginGroupSize() const {
  return ThemePartSize(tkToolBar, TP_SEPARATOR, 1, TSize{6, 6}).cx;
}

void TkwBarItemControlXPPainter::DrawFloatingCaptionBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH,
                                                               const TRect& Rect) const {
  TkwBarManager* manager = Window->GetBarManager();
  bool active = !manager || manager->FormActive() ||
                (manager->OwnerForm() && manager->OwnerForm()->HandleAllocated() &&
                 GetActiveWindow() == manager->OwnerForm()->Handle());
  FillRect(DC, AsRECT(Rect), SysBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

TSize TkwBarItemControlXPPainter::GetCloseButtonSize() const {
  int h = GetSmallCaptionHeight();
  return ThemePartSize(tkWindow, WP_SMALLCLOSEBUTTON, 1, TSize{h, h});
}

void TkwBarItemControlXPPainter::DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                                                   const TRect& Rect) const {
  FillRect(DC, AsRECT(Rect), Brush);
  if (!DrawThemePart(tkToolBar, DC, Horizontal ? TP_SEPARATORVERT : TP_SEPARATOR, 1, Rect))
    TkwBarItemControlPainter::DrawBarBeginGroup(Window, DC, Horizontal, Brush, Rect);
}

void TkwBarItemControlXPPainter::DrawCloseButton(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  int state = bar ? bar->CloseButtonState() + 1 : 1;
  DrawThemePart(tkWindow, DC, WP_SMALLCLOSEBUTTON, state, Rect);
}

void TkwBarItemControlXPPainter::DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const {
  InflateBy(Rect, -2, -2);
  TkwBarManager* manager = Window->GetBarManager();
  int offset = manager ? manager->BarContentOffset() : GetGripOffset();
  bool vertical = IsVerticalBarControl(Window);
  int width = GetGripLineWidth();
  TRect grip = vertical ? TRect(Rect.Left, Rect.Top + offset, Rect.Right, Rect.Top + offset + width)
                        : TRect(Rect.Left + offset, Rect.Top, Rect.Left + offset + width, Rect.Bottom);
  DrawThemePart(tkRebar, DC, vertical ? RP_GRIPPERVERT : RP_GRIPPER, 1, grip);
}

void TkwBarItemControlXPPainter::DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                       int& BorderWidth, TRect& Rect) const {
  Flat().DrawFloatingBarBorder(Window, DC, Brush, BorderWidth, Rect);
}

TSize TkwBarItemControlXPPainter::GetSizeGripSize(const TkwBarManager* Manager) const {
  return ThemePartSize(tkStatus, SP_GRIPPER, 0, TkwBarItemControlPainter::GetSizeGripSize(Manager));
}

void TkwBarItemControlXPPainter::DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC,
                                               bool Pressed, bool Hot) const {
  static const int parts[3] = {WP_MDIMINBUTTON, WP_MDIRESTOREBUTTON, WP_MDICLOSEBUTTON};
  FillRect(DC, AsRECT(Rect), Window->GetBackgroundBrush());
  auto* bar = dynamic_cast<TkwBarControl*>(Window);
  bool enabled = !bar || bar->IsCaptionButtonEnabled(Index);
  int state = !enabled ? 4 : Pressed && Hot ? 3 : Hot ? 2 : 1;
  DrawThemePart(tkWindow, DC, parts[Index], state, Rect);
}

TRect TkwBarItemControlXPPainter::CalcMarkRect(TCustomkwBarControl* Window) const { return Flat().CalcMarkRect(Window); }

void TkwBarItemControlXPPainter::DrawStatusBarBackground(TCustomkwBarControl* Window, HDC DC, TColor, HBRUSH,
                                                         const TRect& Origin, const TRect& Rect, const TRect&) const {
  TBitmap* cache = Window->OffscreenBitmap();
  TRect client = Window->ClientRect();
  if (cache->Empty() || cache->Width() != client.Width() || cache->Height() != client.Height()) {
    cache->SetSize(std::max(client.Width(), 1), std::max(client.Height(), 1));
    TRect all(0, 0, cache->Width(), cache->Height());
    if (!DrawThemePart(tkStatus, cache->Canvas()->Handle(), SP_BACKGROUND, 0, all))
      FillRect(cache->Canvas()->Handle(), AsRECT(all), SysBrush(COLOR_BTNFACE));
  }
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), cache->Canvas()->Handle(), Origin.Left, Origin.Top,
         SRCCOPY);
}

int TkwBarItemControlXPPainter::GetButtonExtraHeight() const {
  TRect margins = ContentMargins(tkToolBar, TP_SPLITBUTTON, 1);
  int extra = margins.Top + margins.Bottom;
  return extra > 0 ? extra : TkwBarItemControlPainter::GetButtonExtraHeight();
}

void TkwBarItemControlXPPainter::DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                     HBRUSH Face, COLORREF, bool Selected, bool Pressed,
                                                     bool DroppedDown, bool DropDownEnabled, bool,
                                                     int Location) const {
  DrawItemBackground(Control, DC, Rect, Face, Control->ExpandedOnly);
  int state = !Control->GetEnabled() || !DropDownEnabled ? 4 : DroppedDown || Pressed ? 3 : Selected ? 2 : 1;
  if (Location == ilMenu) {
    DrawThemePart(tkToolBar, DC, TP_BUTTON, state, Rect);
    TCustomkwBarControl* window = WindowOf(Control);
    DrawMenuArrow(DC, Rect, false, true, state != 4, DroppedDown, window ? window->SmallUnit() : 4);
  } else {
    DrawThemePart(tkToolBar, DC, TP_SPLITBUTTONDROPDOWN, state, Rect);
  }
}

void TkwBarItemControlXPPainter::DrawComboButton(TkwBarItemControl* Control, HDC DC, int, bool Selected, bool Enabled,
                                                 bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  TRect button(Rect.Right - window->ComboButtonWidth(), Rect.Top, Rect.Right, Rect.Bottom);
  ButtonRect = button;
  int state = !Enabled ? 4 : DroppedDown ? 3 : Selected ? 2 : 1;
  DrawThemePart(tkComboBox, DC, CP_DROPDOWNBUTTON, state, button);
}

void TkwBarItemControlXPPainter::DrawDropDownListBorder(HDC DC, const TRect& Rect) const {
  Flat().DrawDropDownListBorder(DC, Rect);
}

int TkwBarItemControlXPPainter::GetMenuBeginGroupSize() const {
  return ThemePartSize(tkToolBar, TP_SEPARATORVERT, 1, TSize{6, 6}).cy;
}

void TkwBarItemControlXPPainter::GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                                                  int& HeightLimit) const {
  Flat().GetMenuItemsArea(Menu, FirstItemOffset, Start, HeightLimit);
}

void TkwBarItemControlXPPainter::CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const {
  Flat().CalcMenuSize(Menu, Size, Content);
}

int TkwBarItemControlXPPainter::GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const {
  return Menu->GetDetachStripHeight() + 1;
}

void TkwBarItemControlXPPainter::DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), SysBrush(COLOR_BTNSHADOW));
  if (!Menu->IsDetachable()) return;
  TRect r = Rect;
  InflateBy(r, -1, -1);
  TRect area(r.Left, r.Top, r.Right, r.Top + GetMenuTearOffBarHeight(Menu));
  FrameRect(DC, AsRECT(area), GetMenuBrush(Menu));
  AdjustMenuTearOffBarRect(Menu, area);
  DrawMenuTearOffBar(Menu, DC, area);
}

void TkwBarItemControlXPPainter::DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH, TRect& Rect) const {
  FrameRect(DC, AsRECT(Rect), GetMenuBrush(Menu));
  InflateBy(Rect, -1, -1);
}

void TkwBarItemControlXPPainter::DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool,
                                                    const TRect& Rect, HDC DC) const {
  TRect area(Rect.Left, Rect.Top - GetMenuBeginGroupSize(), Rect.Right, Rect.Top);
  Control->ExtraRect = area;
  DrawItemBackground(Control, DC, area, Menu->ItemBrush(), Control->ExpandedOnly && !Control->RecentBlockEdge);
  DrawThemePart(tkToolBar, DC, TP_SEPARATORVERT, 1, area);
}

void TkwBarItemControlXPPainter::DrawComboListItem(TCanvas* Canvas, const TRect& Rect, const String& Text,
                                                   bool Selected, bool Focused, bool LocationFlag) const {
  Flat().DrawComboListItem(Canvas, Rect, Text, Selected, Focused, LocationFlag);
}

void TkwBarItemControlXPPainter::DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                               TRect& Rect) const {
  HTHEME theme = GetThemeHandleForKind(tkEdit);
  int state = Control->GetEnabled() ? 1 : 4;
  RECT bounds = Rect, content = Rect;
  if (theme) ThemeGetBackgroundContentRect(theme, DC, EP_EDITTEXT, state, &bounds, &content);
  if (content.left == bounds.left && content.right == bounds.right) InflateRect(&content, -2, -2);
  HRGN saved;
  bool existed;
  SaveClipRegion(DC, saved, existed);
  ExcludeClipRect(DC, content.left, content.top, content.right, content.bottom);
  if (Selected || !Control->GetEnabled() || Location == ilMenu) {
    if (!DrawThemePart(tkEdit, DC, EP_EDITTEXT, state, Rect)) DrawEdge(DC, AsRECT(Rect), BDR_SUNKENOUTER, BF_RECT);
  } else {
    TCustomkwBarControl* window = WindowOf(Control);
    DrawItemFrame(Control, DC, Rect, window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE), Control->ExpandedOnly);
  }
  RestoreClipRegion(DC, saved, existed);
  Rect = content;
}

void TkwBarItemControlXPPainter::DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location,
                                                 TRect& Rect) const {
  TCustomkwBarControl* window = WindowOf(Control);
  if (!window) return;
  String caption = RemoveAmpersands(Control->GetCaption());
  SIZE extent{};
  GetTextExtentPoint32A(DC, caption.c_str(), int(caption.size()), &extent);
  bool menu = Location == ilMenu;
  TRect part(Rect.Left, Rect.Top, Rect.Left + GetEditCaptionWidth(Control, extent.cx), Rect.Bottom);
  Rect.Left = part.Right;
  DrawItemBackground(Control, DC, part, Selected && menu ? window->GetSelectedBrush() : window->ItemBrush(),
                     menu && (Selected || Control->ExpandedOnly));
  TRect text = part;
  text.Right -= 5;
  DrawCaption(Control, DC, Control->GetCaption(), text, caRight, Control->GetEnabled(), Selected && menu, false, false,
              false);
}

void TkwBarItemControlXPPainter::DrawEditValue(TkwBarItemControl* Control, HDC DC, bool, const TRect& Rect,
                                               const String& Text, bool Focused) const {
  TkwBarItemControlPainter::DrawEditValue(Control, DC, true, Rect, Text, Focused);
}

void TkwBarItemControlXPPainter::AdjustEditWindow(TkwBarItemControl* Control, HWND Edit, const TRect& EditRect) const {
  Flat().AdjustEditWindow(Control, Edit, EditRect);
}

void TkwBarItemControlXPPainter::SelectEditText(TkwBarItemControl* Control, HWND Edit, bool Changed) const {
  Flat().SelectEditText(Control, Edit, Changed);
}

void TkwBarItemControlXPPainter::DrawEllipsisButton(TkwBarItemControl* Control, HDC DC, const TRect& Rect,
                                                    TRect& Inner, bool Pressed, bool Hot) const {
  TRect r = Rect;
  InflateBy(r, -1, -1);
  Inner = r;
  TkwCellStates states;
  if (Pressed) states.Include(cstPressed);
  if (Hot) states.Include(cstSelected);
  TCustomkwBarControl* window = WindowOf(Control);
  DrawButtonBorder(Control, DC, states, ilPlain, Inner, false, window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE));
  int w = std::max(Inner.Width() / 7, 1);
  for (int i = 0; i < 3; ++i) {
    TRect dot = Bounds(Inner.Left + (1 + 2 * i) * w, Inner.Bottom - 3 * w, w, w);
    if (Pressed) ShiftPressedCaption(Control, true, dot);
    if (Control->GetEnabled())
      FillRect(DC, AsRECT(dot), SysBrush(COLOR_BTNTEXT));
    else
      DrawDisabledBlock(Control, DC, dot);
  }
}

void TkwBarItemControlXPPainter::DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect,
                                                       TRect& CloseRect, bool Pressed, bool WithGrip) const {
  TWindowDC dc(Window, TWindowDC::WholeWindow);
  RECT window;
  GetWindowRect(Window, &window);
  TRect all(0, 0, window.right - window.left, window.bottom - window.top);
  FrameRect(dc, AsRECT(all), SysBrush(COLOR_BTNSHADOW));
  GripRect = TRect();
  CloseRect = TRect();
  if (!WithGrip) return;
  int height = GetDropDownGripHeight();
  bool bottom = GripCorner == kjgcBottomLeft || GripCorner == kjgcBottomRight;
  TRect strip = bottom ? TRect(1, all.Bottom - 1 - height, all.Right - 1, all.Bottom - 1)
                       : TRect(1, 1, all.Right - 1, 1 + height);
  TRect line = bottom ? TRect(strip.Left, strip.Top, strip.Right, strip.Top + 1)
                      : TRect(strip.Left, strip.Bottom - 1, strip.Right, strip.Bottom);
  FillRect(dc, AsRECT(line), SysBrush(COLOR_BTNSHADOW));
  TRect inner = strip;
  if (bottom)
    inner.Top += 1;
  else
    inner.Bottom -= 1;
  TRect close = DropDownCloseButtonRect(inner, TkjGripCorner(GripCorner));
  DrawThemedCloseButton(dc, close, Hot, GripCorner, Pressed);
  ExcludeClipRect(dc, close.Left, close.Top, close.Right, close.Bottom);
  TRect grip = DropDownGripCell(inner, TkjGripCorner(GripCorner));
  DrawThemedSizeGrip(dc, grip, GripCorner);
  ExcludeClipRect(dc, grip.Left, grip.Top, grip.Right, grip.Bottom);
  FillRect(dc, AsRECT(inner), SysBrush(COLOR_BTNFACE));
  POINT origin = {0, 0};
  ::ClientToScreen(Window, &origin);
  OffsetBy(grip, window.left - origin.x, window.top - origin.y);
  OffsetBy(close, window.left - origin.x, window.top - origin.y);
  GripRect = grip;
  CloseRect = close;
}

int TkwBarItemControlXPPainter::GetDropDownGripHeight() const {
  return std::max(GetThemedCloseButtonSize().cy + 4, GetThemedSizeGripSize().cy + 1);
}

void TkwBarItemControlXPPainter::DrawDateNavigatorButton(TkwBarItemControl*, HDC DC, bool Pressed,
                                                         const String& Caption, TRect Rect) const {
  FillRect(DC, AsRECT(Rect), SysBrush(COLOR_WINDOW));
  DrawThemePart(tkButton, DC, BP_PUSHBUTTON, Pressed ? 3 : 2, Rect);
  DrawCenteredText(DC, Rect, false, Caption, Pressed ? 1 : 0);
}

void TkwBarItemControlXPPainter::DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held,
                                                int Button, bool Hot, int UpperHeight, int, int,
                                                const TRect& Rect) const {
  TRect r = Rect;
  if (Button == 1)
    r.Bottom = r.Top + UpperHeight + 1;
  else
    r.Top += UpperHeight;
  TCustomkwBarControl* window = WindowOf(Control);
  DrawItemBackground(Control, DC, r, window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE), false);
  int state = !Control->GetEnabled() ? 4 : Held == Button ? (ShownPressed ? 3 : (Hot ? 2 : 1)) : 1;
  DrawThemePart(tkSpin, DC, Button == 1 ? SPNP_UP : SPNP_DOWN, state, r);
}

COLORREF TkwBarItemControlXPPainter::GetProgressBarColor() const {
  HTHEME theme = GetThemeHandleForKind(tkProgress);
  COLORREF color;
  if (theme && SUCCEEDED(ThemeGetColor(theme, PP_CHUNK, 0, 3821 /* TMT_FILLCOLOR */, &color))) return color;
  return TkwBarItemControlPainter::GetProgressBarColor();
}

int TkwBarItemControlXPPainter::GetProgressBarMinHeight(TkwBarItemControl* Control) const {
  TSize chunk = ThemePartSize(tkProgress, PP_CHUNK, 0, TSize{0, 0});
  if (chunk.cy <= 0) return TkwBarItemControlPainter::GetProgressBarMinHeight(Control);
  TRect margins = ContentMargins(tkProgress, PP_BAR, 0);
  return chunk.cy + margins.Top + margins.Bottom;
}

void TkwBarItemControlXPPainter::DrawProgressBar(TkwBarItemControl* Control, HDC DC, int Min, int Max, int Position,
                                                 bool Solid, int Location, COLORREF Color, const TRect& Rect) const {
  bool vertical = Location == ilRotated;
  HTHEME theme = GetThemeHandleForKind(tkProgress);
  if (!theme) {
    TkwBarItemControlPainter::DrawProgressBar(Control, DC, Min, Max, Position, Solid, Location, Color, Rect);
    return;
  }
  int barPart = vertical ? PP_BARVERT : PP_BAR;
  if (ThemeIsBackgroundPartiallyTransparent(theme, barPart, 0)) {
    TCustomkwBarControl* window = WindowOf(Control);
    DrawItemBackground(Control, DC, Rect, window ? window->ItemBrush() : SysBrush(COLOR_BTNFACE), false);
  }
  DrawThemePart(tkProgress, DC, barPart, 0, Rect);
  RECT bounds = Rect, content = Rect;
  ThemeGetBackgroundContentRect(theme, DC, barPart, 0, &bounds, &content);
  TRect inside = content;
  int extent = vertical ? inside.Height() : inside.Width();
  int range = Max - Min;
  int filled = range > 0 ? MulDiv(extent, std::clamp(Position, Min, Max) - Min, range) : 0;
  TRect part = vertical ? TRect(inside.Left, inside.Bottom - filled, inside.Right, inside.Bottom)
                        : TRect(inside.Left, inside.Top, inside.Left + filled, inside.Bottom);
  if (Solid) {
    TOwnedBrush brush(CreateSolidBrush(Color));
    FillRect(DC, AsRECT(part), brush);
  } else {
    DrawThemePart(tkProgress, DC, vertical ? PP_CHUNKVERT : PP_CHUNK, 0, part);
  }
}
