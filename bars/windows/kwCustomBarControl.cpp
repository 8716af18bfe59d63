// This file implements the root of the bar and menu windows.
#include "kwCustomBarControl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Forms.h"
#include "kwBarControl.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarShadow.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwDockControl.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TCustomkwBarControl)

bool& MenuChainExpanded() {
  static bool expanded = false;
  return expanded;
}

TCustomkwBarControl* ControlWindow(const TkwBarItemControl* Control) {
  return Control ? dynamic_cast<TCustomkwBarControl*>(Control->BarWindow()) : nullptr;
}

namespace {
bool IsInPlaceEditing(TkwBarItemControl* Control) {
  auto* editor = dynamic_cast<IkwInPlaceEditor*>(Control);
  return editor && editor->IsEditing();
}

IkwButtonControl* AsButton(TkwBarItemControl* Control) { return dynamic_cast<IkwButtonControl*>(Control); }

bool DropDownOpen(TkwBarItemControl* Control) {
  IkwButtonControl* button = AsButton(Control);
  return button && button->IsDroppedDown();
}

TPoint CursorPos() {
  POINT p;
  GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

TPoint PointOf(const TMessage& Message) {
  return TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
}
}  // namespace

// --- Creation and destruction ------------------------------------------------------------------------

TCustomkwBarControl::TCustomkwBarControl(TkwBarManager* Manager, TkwBarItemLinks* Links)
    : TkwBarWindow(Manager, Links) {
  ControlStyle.Exclude(csCaptureMouse);
  bool doubleClicks = Manager && (Manager->GetEffectiveStyle() != bmsStandard || Manager->IsCustomizing());
  if (doubleClicks)
    ControlStyle.Include(csDoubleClicks);
  else
    ControlStyle.Exclude(csDoubleClicks);
  SetColor(clBtnFace);
  FShadow = new TkwBarShadow(this);
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
  FBitmap = new TBitmap();
}

TCustomkwBarControl::~TCustomkwBarControl() {
  Destroying();
  if (IsLiveBarControl(this) && FActive) SetActive(false);
  if (TkwBarManager* manager = GetBarManager()) {
    if (manager->SelectedItemControl() && manager->SelectedItemControl()->BarWindow() == this)
      manager->ForgetSelectedItemControl(manager->SelectedItemControl());
  }
  delete FShadow;
  FShadow = nullptr;
  delete FBitmap;
  FBitmap = nullptr;
}

TSize TCustomkwBarControl::MeasureText(const String& Text) const {
  TWindowDC screen;
  TOwnedFont font(CloneFontHandle(GetFont()));
  TSelectedObject selected(screen, font);
  SIZE extent{};
  GetTextExtentPoint32A(screen, Text.c_str(), int(Text.size()), &extent);
  return TSize{extent.cx, extent.cy};
}

bool TCustomkwBarControl::IsLive() const { return IsLiveBarControl(this) && !IsDestroying(); }

bool TCustomkwBarControl::StillOwns(const TkwBarItemControl* Control) const {
  return IsLiveBarControl(this) && (!Control || HasItemControl(Control));
}

void TCustomkwBarControl::CreateWnd() {
  UpdateFont();
  CalcDrawingConsts();
  PrepareWindow();
  // Something asked for the window while it was being prepared: it exists already.
  if (HandleAllocated()) return;
  TkwBarWindow::CreateWnd();
}

void TCustomkwBarControl::CreateWindowHandle(const TCreateParams& Params) {
  TkwBarWindow::CreateWindowHandle(Params);
  CreateControls();
  UpdateAlphaBlend();
}

void TCustomkwBarControl::DestroyWindowHandle() {
  if (HandleAllocated() && ItemLinks()) {
    TkwBarItemLinks* links = ItemLinks();
    for (int i = 0; i < links->Count(); ++i)
      if (TkwBarItemControl* control = links->Items(i)->Control()) control->WindowDestroying();
  }
  DestroyControls();
  TkwBarWindow::DestroyWindowHandle();
}

void TCustomkwBarControl::CreateControls() { TkwBarWindow::CreateControls(); }

void TCustomkwBarControl::DestroyControls() {
  bool locked = FLock;
  FLock = true;
  FPressedControl = nullptr;
  TkwBarWindow::DestroyControls();
  FLock = locked;
}

// --- Metrics -----------------------------------------------------------------------------------------

void TCustomkwBarControl::CalcDrawingConsts() {
  const TkwBarItemControlPainter* painter = Painter();
  TWindowDC screen;
  TOwnedFont font(CloneFontHandle(GetFont()));
  TSelectedObject selected(screen, font);
  SIZE zero{};
  GetTextExtentPoint32A(screen, "0", 1, &zero);
  FRowUnit = zero.cy + 6;
  FSmallUnit = std::max(FRowUnit / 5, 4);
  FRowHeight = painter->CalcRowHeight(this, screen, zero.cy);
  FComboButtonWidth = painter->CalcComboButtonWidth(this, screen, zero.cx);
  TkwBarManager* manager = GetBarManager();
  bool doubleClicks = manager && (manager->GetEffectiveStyle() != bmsStandard || manager->IsCustomizing());
  if (doubleClicks)
    ControlStyle.Include(csDoubleClicks);
  else
    ControlStyle.Exclude(csDoubleClicks);
}

HFONT TCustomkwBarControl::GetFont() const {
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->MenuFont()) return manager->MenuFont();
  return manager ? manager->Font()->Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool TCustomkwBarControl::CanCustomizeItems() const {
  TkwBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

// --- Brushes and background ----------------------------------------------------------------------------

HBRUSH TCustomkwBarControl::GetBackgroundBrush() { return Painter()->GetBarBrush(this); }
HBRUSH TCustomkwBarControl::GetCheckedBrush() { return Painter()->GetCheckedBrush(this); }
HBRUSH TCustomkwBarControl::GetDownBrush() { return Painter()->GetDownBrush(this); }
HBRUSH TCustomkwBarControl::GetSelectedBrush() { return Painter()->GetSelectedBrush(this); }

void TCustomkwBarControl::DrawBackground(HDC DC, TRect Rect, bool UseClientOffset, TColor Color, HBRUSH Brush) {
  TRect origin = Rect;
  if (UseClientOffset) {
    TPoint offset = GetClientOffset();
    OffsetBy(origin, offset.X, offset.Y);
  }
  if (DockSite())
    Painter()->DrawDockedBarBackground(this, DC, Color, Brush, origin, Rect);
  else
    Painter()->DrawBarBitmapBackground(this, DC, Color, Brush, origin, Rect);
}

void TCustomkwBarControl::DrawFrameBackground(HDC DC, HRGN Region, bool UseClientOffset, HBRUSH Brush) {
  HRGN saved;
  bool existed;
  SaveClipRegion(DC, saved, existed);
  RECT window;
  GetWindowRect(Handle(), &window);
  TRect all(0, 0, window.right - window.left, window.bottom - window.top);
  // The frame is a ring around the client area: drawn piece by piece, each piece's clip box is
  // small, and the painters only draw what lies within it.
  std::vector<RECT> pieces;
  if (DWORD size = GetRegionData(Region, 0, nullptr)) {
    std::vector<std::uint8_t> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(Region, size, header)) {
      const RECT* rects = reinterpret_cast<const RECT*>(header->Buffer);
      pieces.assign(rects, rects + header->rdh.nCount);
    }
  }
  for (const RECT& piece : pieces) {
    SelectClipRgn(DC, existed ? saved : nullptr);
    IntersectClipRect(DC, piece.left, piece.top, piece.right, piece.bottom);
    DrawBackground(DC, all, UseClientOffset, clNone, Brush);
  }
  RestoreClipRegion(DC, saved, existed);
}

bool TCustomkwBarControl::HasBackgroundBitmap() const {
  auto* dock = dynamic_cast<TkwDockControl*>(DockSite());
  return dock && dock->HasBackgroundBitmap();
}

bool TCustomkwBarControl::NeedsDoubleBuffer() const {
  auto* dock = dynamic_cast<TkwDockControl*>(DockSite());
  return dock && dock->NeedsDoubleBuffer();
}

void TCustomkwBarControl::ResetBackgroundBitmap() {
  if (FBitmap) FBitmap->SetSize(0, 0);
}

void TCustomkwBarControl::RefreshBackground() {
  ResetBackgroundBitmap();
  UpdateDoubleBuffered();
  if (HandleAllocated()) {
    RepaintFrame();
  }
}

// --- Geometry --------------------------------------------------------------------------------------------

void TCustomkwBarControl::SetOwner(const TRect& Rect, TCustomkwBarControl* Window) {
  FOwnerRect = Rect;
  FOwnerWindow = Window;
}

TRect TCustomkwBarControl::GetItemScreenRect(const TkwBarItemControl* Control) const {
  TRect r = GetItemRect(Control);
  if (r.IsEmpty() || !HandleAllocated()) return r;
  MapWindowPoints(const_cast<TCustomkwBarControl*>(this)->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TkwBarItemControl* TCustomkwBarControl::GetItemControlAtPos(TPoint ClientPoint) const {
  if (IsCustomizing() && !CanCustomizeItems()) return nullptr;
  TkwBarItemLinks* links = ItemLinks();
  if (!links) return nullptr;
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (link->Control() && link->ItemRect.Contains(ClientPoint)) return link->Control();
  }
  return nullptr;
}

bool TCustomkwBarControl::IsCursorOverWindow() {
  POINT p;
  GetCursorPos(&p);
  return HandleAllocated() && GetWindowAtScreenPoint(p) == Handle();
}

void TCustomkwBarControl::RepaintFrame() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), WM_NCPAINT, 1, 0);
  Invalidate();
}

void TCustomkwBarControl::SetDockSite(TkwDockSite* Value) {
  TkwBarWindow::SetDockSite(Value);
  UpdateDoubleBuffered();
}

TRect TCustomkwBarControl::GetItemDrawRect(const TkwBarItemControl* Control, bool) const {
  return GetItemRect(Control);
}

HRGN TCustomkwBarControl::GetItemRegion(const TkwBarItemControl* Control) const {
  TRect r = GetItemDrawRect(Control, true);
  return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

TCustomkwBarControl* TCustomkwBarControl::GetOwnerBarControl() const {
  return FOwnerRect.IsEmpty() ? nullptr : FOwnerWindow;
}

bool TCustomkwBarControl::IsShadowVisible() const {
  return Painter()->HasShadow(const_cast<TCustomkwBarControl*>(this)) && HandleAllocated() &&
         IsWindowVisible(const_cast<TCustomkwBarControl*>(this)->Handle());
}

bool TCustomkwBarControl::IsParentOf(const TCustomkwBarControl* Window) const {
  for (const TCustomkwBarControl* w = Window; w; w = w->FParentBarControl)
    if (w == this) return true;
  return false;
}

bool TCustomkwBarControl::AdjoinsOwnerRect() {
  if (FOwnerRect.IsEmpty()) return false;
  TRect b = BoundsRect();
  if (HandleAllocated()) {
    RECT r;
    GetWindowRect(Handle(), &r);
    b = r;
  }
  const TRect& o = FOwnerRect;
  bool horizontalOverlap = b.Left < o.Right && o.Left < b.Right;
  bool verticalOverlap = b.Top < o.Bottom && o.Top < b.Bottom;
  return ((b.Top == o.Bottom || b.Bottom == o.Top) && horizontalOverlap) ||
         ((b.Left == o.Right || b.Right == o.Left) && verticalOverlap);
}

TRect TCustomkwBarControl::GetJoinRect(bool ScreenCoords) {
  if (FOwnerRect.IsEmpty() || !HandleAllocated() || !AdjoinsOwnerRect()) return TRect();
  RECT w;
  GetWindowRect(Handle(), &w);
  TRect b = w;
  const TRect& o = FOwnerRect;
  TRect join;
  if (b.Top == o.Bottom)
    join = TRect(std::max(b.Left, o.Left) + 1, o.Bottom - 1, std::min(b.Right, o.Right) - 1, o.Bottom);
  else if (b.Bottom == o.Top)
    join = TRect(std::max(b.Left, o.Left) + 1, o.Top, std::min(b.Right, o.Right) - 1, o.Top + 1);
  else if (b.Left == o.Right)
    join = TRect(o.Right - 1, std::max(b.Top, o.Top) + 1, o.Right, std::min(b.Bottom, o.Bottom) - 1);
  else
    join = TRect(o.Left, std::max(b.Top, o.Top) + 1, o.Left + 1, std::min(b.Bottom, o.Bottom) - 1);
  if (join.IsEmpty()) return TRect();
  if (!ScreenCoords && FOwnerWindow && FOwnerWindow->HandleAllocated())
    MapWindowPoints(nullptr, FOwnerWindow->Handle(), reinterpret_cast<POINT*>(&join), 2);
  return join;
}

TRect TCustomkwBarControl::GetOwnJoinRect() {
  TRect join = GetJoinRect(true);
  if (join.IsEmpty()) return join;
  RECT w;
  GetWindowRect(Handle(), &w);
  const TRect& o = FOwnerRect;
  TRect own = join;
  if (w.top == o.Bottom)
    own = TRect(join.Left, w.top, join.Right, w.top + 1);
  else if (w.bottom == o.Top)
    own = TRect(join.Left, w.bottom - 1, join.Right, w.bottom);
  else if (w.left == o.Right)
    own = TRect(w.left, join.Top, w.left + 1, join.Bottom);
  else
    own = TRect(w.right - 1, join.Top, w.right, join.Bottom);
  OffsetBy(own, -w.left, -w.top);
  return own;
}

void TCustomkwBarControl::UpdateShadowBounds() {
  if (!FShadow || !HandleAllocated()) return;
  RECT w;
  GetWindowRect(Handle(), &w);
  FShadow->SetBounds(AdjoinsOwnerRect() ? FOwnerRect : TRect(), TRect(w));
}

TkwBarItemControl* TCustomkwBarControl::HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) {
  Outside = false;
  FirstHalf = false;
  Vertical = IsSubMenu() || IsVerticalBarControl(this);
  TkwBarItemLinks* links = ItemLinks();
  if (!links) return nullptr;
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemControl* control = links->GetShownItem(i)->Control();
    if (!control || !control->IsOwnManagerItem()) continue;
    TOwnedRegion region(GetItemRegion(control));
    if (!PtInRegion(region, Point.X, Point.Y)) continue;
    TRect hit = GetItemRectEx(control);
    if (!hit.Contains(Point)) {
      Outside = true;
      hit = control->ExtraRect;
      if (Point.Y < hit.Top) Vertical = true;
    }
    if (Vertical)
      FirstHalf = Point.Y - hit.Top < hit.Bottom - Point.Y;
    else
      FirstHalf = Point.X - hit.Left < hit.Right - Point.X;
    return control;
  }
  return nullptr;
}

bool TCustomkwBarControl::IsLastMousePos(TPoint ClientPoint) const {
  if (IsCustomizing()) return true;
  if (!HandleAllocated()) return false;
  TPoint screen = ClientPoint;
  ::ClientToScreen(const_cast<TCustomkwBarControl*>(this)->Handle(), AsPOINT(&screen));
  return screen == FLastMousePos;
}

bool TCustomkwBarControl::IsInActiveChain() const {
  auto* active = dynamic_cast<TCustomkwBarControl*>(GetActiveBarControl());
  for (TCustomkwBarControl* w = active; w; w = w->FParentBarControl)
    if (w == this) return true;
  return false;
}

void TCustomkwBarControl::SetPressedControl(TkwBarItemControl* Control, bool UnderMouse) {
  FPressedControl = Control;
  FPressedUnderMouse = UnderMouse;
}

// --- Selection ------------------------------------------------------------------------------------------

void TCustomkwBarControl::RepaintItem(TkwBarItemControl*) { SetItemBrush(GetBackgroundBrush()); }

void TCustomkwBarControl::UpdateItem(TkwBarItemControl* Previous) {
  if (FLock) return;
  FRepaintInProgress = true;
  try {
    if (Previous && Previous != FSelectedControl && HasItemControl(Previous) && Previous->GetItem() &&
        !Previous->GetItem()->IsDestroying())
      RepaintItem(Previous);
    if (FSelectedControl) RepaintItem(FSelectedControl);
  } catch (...) {
    FRepaintInProgress = false;
    throw;
  }
  FRepaintInProgress = false;
}

void TCustomkwBarControl::SetDockingStyle(TkwBarDockingStyle Value) {
  if (Value == DockingStyle()) return;
  TkwBarWindow::SetDockingStyle(Value);
  ResetBackgroundBitmap();
  Perform(CM_FONTCHANGED);
  UpdateAlphaBlend();
}

void TCustomkwBarControl::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value) {
    if (!GetActiveBarControl()) MenuChainExpanded() = IsCustomizing();
    auto* previous = dynamic_cast<TCustomkwBarControl*>(GetActiveBarControl());
    FPreviousActive = previous != this ? previous : nullptr;
    FActive = true;
    SetActiveBarControl(this);
    if (!IsCustomizing() && ItemLinks()) ItemLinks()->UpdateItemActions();
    return;
  }
  if (IsCustomizing()) {
    TkwBarItemControl* previous = FSelectedControl;
    FSelectedControl = nullptr;
    if (previous && HasItemControl(previous)) previous->Repaint();
  } else {
    ActivateItem(nullptr);
  }
  if (!IsLiveBarControl(this)) return;
  FActive = false;
  if (GetActiveBarControl() == this) {
    TCustomkwBarControl* previous = FPreviousActive;
    SetActiveBarControl(previous && IsLiveBarControl(previous) && previous->FActive ? previous : nullptr);
  }
  FPreviousActive = nullptr;
  auto* active = dynamic_cast<TCustomkwBarControl*>(GetActiveBarControl());
  if (GetActiveBarControl() && (!IsLiveBarControl(GetActiveBarControl()) || (active && !active->FActive)))
    SetActiveBarControl(nullptr);
}

void TCustomkwBarControl::HideAll() {
  SetActive(false);
  if (IsLiveBarControl(this) && FParentBarControl && IsLiveBarControl(FParentBarControl)) FParentBarControl->HideAll();
}

void TCustomkwBarControl::ActivateItem(TkwBarItemControl* Control) {
  if (Control == FSelectedControl) return;
  if (FSelectedControl && FSelectedControl->Active()) {
    FSelectedControl->ControlInactivate(true);
    if (!IsLiveBarControl(this)) return;
  }
  if (Control) {
    if (auto* sub = dynamic_cast<IkwSubItemControl*>(Control)) sub->SetOpenedByMouse(false);
    Control->SelectedByMouse = false;
  }
  SetSelectedItem(Control);
}

void TCustomkwBarControl::SelectItemIfFree(TkwBarItemControl* Control) {
  if (!HandleAllocated() || Control == FSelectedControl) return;
  if (IsInPlaceEditing(FSelectedControl)) return;
  if (FSelectedControl && FSelectedControl->Active()) {
    FSelectedControl->ControlInactivate(false);
    if (!IsLiveBarControl(this)) return;
  }
  if (Control) Control->SelectedByMouse = true;
  SetSelectedItem(Control);
  if (!IsLiveBarControl(this) || !Control || !HasItemControl(Control)) return;
  if (auto* sub = dynamic_cast<IkwSubItemControl*>(Control)) {
    TkwBarManager* manager = GetBarManager();
    if (manager && manager->DraggingItem) return;
    sub->SetOpenedByMouse(true);
  }
  Control->ControlActivate(false);
}

void TCustomkwBarControl::SetSelectedItem(TkwBarItemControl* Control) {
  if (Control == FSelectedControl) return;
  TkwBarItemControl* previous = FSelectedControl;
  FSelectedControl = Control;
  TkwBarManager* manager = GetBarManager();
  if (manager) {
    manager->SetSelectedItemControl(Control);
    if (!IsLiveBarControl(this)) return;
  }
  UpdateItem(previous);
  FLastMousePos = CursorPos();
  String hint;
  if (Control && (Control->GetEnabled() || !manager || manager->ShowHintForDisabledItems)) {
    hint = Control->GetHint();
    std::size_t bar = hint.find('|');
    if (bar != String::npos) hint = hint.substr(bar + 1);
  }
  Hint = hint;
}

// --- Customizing frame ------------------------------------------------------------------------------------

void TCustomkwBarControl::DrawCustomizingFrame(TkwBarItemControl* Control) {
  TkwBarManager* manager = GetBarManager();
  if (!manager || !IsCustomizing() || !Control || !Control->Link()) return;
  bool selected = manager->SelectedItemControl() == Control && FSelectedControl == Control;
  bool dragged = manager->DraggingItem && manager->DragLink == Control->Link();
  if (!selected && !dragged) return;
  HDC dc = Canvas()->Handle();
  TRect r = Control->Link()->ItemRect;
  if (IsSubMenu() && Control->HasSubMenu()) {
    TOwnedPen pen(CreatePen(PS_SOLID, 1, 0));
    TSelectedObject selectedPen(dc, pen);
    TSelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    int rop = SetROP2(dc, R2_NOT);
    r.Right -= 1;
    r.Bottom -= 1;
    Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
    Rectangle(dc, r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    SetROP2(dc, rop);
    return;
  }
  FrameRect(dc, AsRECT(r), SysBrush(COLOR_WINDOWTEXT));
  InflateBy(r, -1, -1);
  FrameRect(dc, AsRECT(r), SysBrush(COLOR_WINDOWTEXT));
}

// --- Messages --------------------------------------------------------------------------------------------

void TCustomkwBarControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(Message.WParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(Message.WParam), GetSysColor(COLOR_WINDOW));
      Message.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      return;
    case WM_KILLFOCUS:
      TkwBarWindow::WndProc(Message);
      if (Message.WParam == 0 && IsLiveBarControl(this)) HideAll();
      return;
    case WM_NCACTIVATE:
      // The owner form keeps an active caption; the window itself is always drawn active.
      if (Message.WParam && !IsCustomizing() && HandleAllocated())
        if (HWND parent = GetParent(Handle())) SendMessageA(parent, WM_NCACTIVATE, TRUE, 0);
      Message.WParam = TRUE;
      break;
    case WM_SETFOCUS:
      if (!dynamic_cast<IkwInPlaceEditor*>(FSelectedControl)) {
        // A bar window never keeps the focus: it goes back to the owner form.
        TkwBarManager* manager = GetBarManager();
        TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
        if (form && form->HandleAllocated() && IsWindowVisible(form->Handle()))
          ::SetFocus(form->Handle());
        else if (HWND next = GetNextWindow(Handle(), GW_HWNDNEXT))
          ::SetFocus(next);
        return;
      }
      break;
    default:
      break;
  }
  bool mouse = (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSEWHEEL) ||
               (Message.Msg >= WM_NCMOUSEMOVE && Message.Msg <= WM_NCMBUTTONDBLCLK);
  if (mouse && GetActiveBarControl() && !IsInActiveChain()) {
    // Another chain of menus is active: this window takes no mouse input meanwhile.
    Message.Result = 0;
    return;
  }
  TkwBarWindow::WndProc(Message);
  if (Message.Msg == WM_COMMAND && Message.Result == 0 && HIWORD(Message.WParam) == EN_CHANGE && Message.LParam)
    Message.Result = SendMessageA(reinterpret_cast<HWND>(Message.LParam), WM_COMMAND, Message.WParam, Message.LParam);
}

namespace {
// Posted after the first paint of a window shown with a shadow.
const UINT WM_SHOWSHADOW = WM_USER + 2;
}  // namespace

void TCustomkwBarControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOUSEACTIVATE: WMMouseActivate(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    case WM_CAPTURECHANGED: WMCaptureChanged(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_KWBARRELAYOUT: WMRelayout(Message); break;
    case WM_PAINT:
      TkwBarWindow::Dispatch(Message);
      // The content reaches the screen before the shadow's windows are made.
      if (FShadowAfterPaint && HandleAllocated()) PostMessageA(Handle(), WM_SHOWSHADOW, 0, 0);
      break;
    case WM_SHOWSHADOW:
      if (FShadowAfterPaint && FShadow && HandleAllocated()) {
        FShadowAfterPaint = false;
        UpdateShadowBounds();
        FShadow->SetVisible(IsShadowVisible());
      }
      break;
    default: TkwBarWindow::Dispatch(Message); break;
  }
}

void TCustomkwBarControl::WMEraseBkgnd(TMessage& Message) {
  // Handled: painting covers everything.
  Message.Result = 1;
}

void TCustomkwBarControl::WMMouseActivate(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  // Clicking a bar never activates it.
  Message.Result = MA_NOACTIVATE;
}

void TCustomkwBarControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == Handle() && LOWORD(Message.LParam) == HTCLIENT) {
    ::SetCursor(Screen->Cursors(Cursor()));
    Message.Result = 1;
    return;
  }
  TkwBarWindow::Dispatch(Message);
}

void TCustomkwBarControl::WMWindowPosChanged(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!pos || !FShadow) return;
  bool visible = IsShadowVisible();
  // A window just shown paints first: its shadow's windows take longer to show than the content,
  // which should not wait for them. Such a shadow is placed when it shows.
  FShadowAfterPaint = visible && !FShadow->Visible() && (pos->flags & SWP_SHOWWINDOW) &&
                      GetUpdateRect(Handle(), nullptr, FALSE);
  bool placed = (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
  if (!FShadowAfterPaint && (placed || (pos->flags & SWP_SHOWWINDOW))) UpdateShadowBounds();
  if (!FShadowAfterPaint) FShadow->SetVisible(visible);
  if (!(pos->flags & SWP_NOSIZE)) ResetBackgroundBitmap();
}

void TCustomkwBarControl::WMDestroy(TMessage& Message) {
  if (!IsDestroying()) {
    if (HandleAllocated()) EndMouseLeaveTracking(Handle());
    SetMarkState(msNormal);
    if (TkwBarItemLinks* links = ItemLinks())
      for (int i = 0; i < links->Count(); ++i)
        if (TkwBarItemControl* control = links->Items(i)->Control()) control->WindowDestroying();
  }
  if (FShadow) FShadow->SetVisible(false);
  TkwBarWindow::Dispatch(Message);
}

void TCustomkwBarControl::WMCaptureChanged(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  if (FLinkDragPending) {
    FLinkDragPending = false;
    if (TkwBarManager* manager = GetBarManager()) {
      manager->DragItem = nullptr;
      manager->DragLink = nullptr;
    }
  }
  FPressedControl = nullptr;
}

void TCustomkwBarControl::WMMouseLeave(TMessage&) {
  if (FMarkState == msHot) SetMarkState(msNormal);
  if (!IsLiveBarControl(this)) return;
  if (FChildMenu || IsCustomizing()) return;
  if (DropDownOpen(FSelectedControl)) return;
  SelectItemIfFree(nullptr);
}

void TCustomkwBarControl::WMNCHitTest(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  if (Message.Result != HTCLIENT && HandleAllocated()) EndMouseLeaveTracking(Handle());
}

void TCustomkwBarControl::WMRelayout(TMessage&) { RepaintBar(); }

// --- Keyboard -------------------------------------------------------------------------------------------

void TCustomkwBarControl::WMKeyDown(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  if (!GetActiveBarControl() || !IsLiveBarControl(this)) return;
  WORD key = WORD(Message.WParam);
  if (FSelectedControl && FSelectedControl->WantsKey(key)) {
    // The selection takes the key itself (a sub-item opens its menu, an editor edits).
    FSelectedControl->KeyDown(key);
    Message.WParam = 0;
    return;
  }
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (IsVerticalBarControl(this)) {
    switch (key) {
      case VK_LEFT: key = VK_UP; break;
      case VK_UP: key = VK_LEFT; break;
      case VK_RIGHT: key = VK_DOWN; break;
      case VK_DOWN: key = VK_RIGHT; break;
      default: break;
    }
  } else if (IsSubMenu()) {
    switch (key) {
      case VK_LEFT:
      case VK_RIGHT: key = 0; break;
      case VK_UP: key = VK_LEFT; break;
      case VK_DOWN: key = VK_RIGHT; break;
      default: break;
    }
  }
  bool nextToolbar = false, previousToolbar = false;
  if (key == VK_TAB) {
    if (ctrl)
      (shift ? previousToolbar : nextToolbar) = true;
    else
      key = shift ? VK_LEFT : VK_RIGHT;
  }
  Message.WParam = key;
  TkwBarItemLinks* links = ItemLinks();
  TkwBarItemLink* selectedLink = FSelectedControl ? FSelectedControl->Link() : nullptr;
  auto activateLink = [&](TkwBarItemLink* Link) {
    if (Link && !Link->Control()) Link->CreateItemControl();
    if (Link && Link->Control()) ActivateItem(Link->Control());
  };
  if (nextToolbar || previousToolbar) {
    CycleToolbars(nextToolbar);
    return;
  }
  TkwBarManager* manager = GetBarManager();
  switch (key) {
    case VK_END: activateLink(links->GetLastSelectableLink()); return;
    case VK_HOME: activateLink(links->GetFirstSelectableLink()); return;
    case VK_LEFT:
      activateLink(selectedLink ? links->GetPrevSelectableLink(selectedLink) : links->GetFirstSelectableLink());
      return;
    case VK_RIGHT:
      activateLink(selectedLink ? links->GetNextSelectableLink(selectedLink) : links->GetFirstSelectableLink());
      return;
    case VK_F10:
      if (!manager || !manager->UseF10ForMenu) break;
      [[fallthrough]];
    case VK_MENU:
      Message.WParam = 0;
      HideAll();
      return;
    default: break;
  }
  UINT c = MapVirtualKeyA(key, 2);  // MAPVK_VK_TO_CHAR
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) FindAccelerator(key);
}

void TCustomkwBarControl::FindAccelerator(WORD Key) {
  TkwBarItemLinks* links = ItemLinks();
  if (!links) return;
  int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 4 : 0);
  TkwBarItemLink* after = FSelectedControl ? FSelectedControl->Link() : nullptr;
  TkwBarItemLink* first = links->FindByAccelerator(Key, shift, after);
  if (!first || !first->Item() || !first->Item()->Enabled()) return;
  int matches = 1;
  bool stoppedHidden = false;
  for (TkwBarItemLink* next = links->FindByAccelerator(Key, shift, first); next && next != first;
       next = links->FindByAccelerator(Key, shift, next)) {
    ++matches;
    if (next->GetShownIndex() < 0) {
      stoppedHidden = true;
      break;
    }
    if (matches > links->Count()) break;
  }
  TkwBarManager* manager = GetBarManager();
  if (IsSubMenu() && manager && manager->GetEffectiveStyle() != bmsStandard) {
    bool firstHidden = first->GetShownIndex() < 0;
    bool closes = !first->Control() || first->Control()->ClosesMenusOnClick();
    if ((matches > 1 && stoppedHidden) || (matches == 1 && firstHidden && !closes)) {
      SetMarkState(msPressed);
      if (!IsLiveBarControl(this)) return;
    }
  }
  if (first->GetShownIndex() < 0) return;
  if (!first->Control()) first->CreateItemControl();
  if (!first->Control()) return;
  ActivateItem(first->Control());
  if (!IsLiveBarControl(this)) return;
  if (matches == 1 && HandleAllocated()) SendMessageA(Handle(), WM_KEYDOWN, VK_RETURN, 0);
}

void TCustomkwBarControl::CycleToolbars(bool Forward) {
  TkwBarManager* manager = GetBarManager();
  auto* root = dynamic_cast<TkwBarControl*>(GetRootBarControl(this));
  if (!manager || !root) return;
  TkwBars* bars = manager->Bars();
  int count = bars->Count();
  int start = root->Bar()->Index();
  for (int step = 1; step < count; ++step) {
    int i = ((start + (Forward ? step : -step)) % count + count) % count;
    TkwBar* bar = bars->Items(i);
    auto* window = dynamic_cast<TkwBarControl*>(bar->GetControl());
    if (!bar->Visible() || !window || !bar->ItemLinks()->GetFirstSelectableLink()) continue;
    root->EndMenuMode();
    if (!IsLiveBarControl(window)) return;
    TkwBarItemLink* link = bar->ItemLinks()->GetFirstSelectableLink();
    if (!link->Control()) link->CreateItemControl();
    window->BeginMenuMode(link->Control());
    return;
  }
}

// --- Mouse ---------------------------------------------------------------------------------------------

void TCustomkwBarControl::WMLButtonDown(TMessage& Message) {
  if (SwallowNextClick) return;
  TkwBarItemLinks* links = ItemLinks();
  if (!links || links->GetShownItemCount() == 0) {
    TkwBarWindow::Dispatch(Message);
    return;
  }
  TkwBarWindow::Dispatch(Message);
  if (!IsLiveBarControl(this)) return;
  TPoint point = PointOf(Message);
  TkwBarItemControl* control = GetItemControlAtPos(point);
  TkwBarManager* manager = GetBarManager();
  bool customizing = IsCustomizing();
  if (!customizing && control && (!control->GetEnabled() || (!control->IsSelectable() && !control->CanClick())))
    control = nullptr;
  if (customizing) {
    if (control && !control->IsOwnManagerItem()) return;
    TRect client = ClientRect();
    if (control || !client.Contains(point)) {
      if (FSelectedControl) {
        if (FSelectedControl->Active())
          FSelectedControl->ControlInactivate(true);
        else
          FSelectedControl->ControlActivate(true);
      }
      if (!IsLiveBarControl(this)) return;
      if (manager) manager->SetSelectedItemControl(control);
      if (control) control->Repaint();
      SelectItemIfFree(control);
    }
    if (control && manager && IsLiveBarControl(this)) {
      FMouseDownPoint = point;
      manager->DragItem = control->GetItem();
      manager->DragLink = control->Link();
      FLinkDragPending = true;
      SetCapture(Handle());
    }
    return;
  }
  if (!control) return;
  auto* editor = dynamic_cast<IkwInPlaceEditor*>(control);
  if (editor && editor->IsEditing() && !editor->EditRect().Contains(point)) {
    TPoint p = point;
    MapWindowPoints(Handle(), editor->EditWindow(), AsPOINT(&p), 1);
    SendMessageA(editor->EditWindow(), WM_LBUTTONDOWN, Message.WParam, MAKELPARAM(p.X, p.Y));
    return;
  }
  ActivateItem(control);
  if (!StillOwns(control)) return;
  IkwButtonControl* button = AsButton(control);
  auto* sub = dynamic_cast<IkwSubItemControl*>(control);
  if (button) button->SetPressedByMouse(true);
  if (sub) sub->SetOpenedByMouse(true);
  control->BeforeClick(true);
  if (!StillOwns(control)) return;
  if (button) button->SetPressedByMouse(false);
  // The press that opened an editor reaches its edit window too when it fell beside the edit part
  // (a combo's button).
  if (editor && editor->IsEditing() && !editor->EditRect().Contains(point)) {
    TPoint p = point;
    MapWindowPoints(Handle(), editor->EditWindow(), AsPOINT(&p), 1);
    SendMessageA(editor->EditWindow(), WM_LBUTTONDOWN, Message.WParam, MAKELPARAM(p.X, p.Y));
    if (!StillOwns(control)) return;
  }
  if (!IsSubMenu() && FSelectedControl == control && control->WantsMouseTracking()) {
    SetPressedControl(control, true);
    SetCapture(Handle());
    control->Repaint();
  }
}

void TCustomkwBarControl::WMLButtonUp(TMessage& Message) {
  if (SwallowNextClick) {
    SwallowNextClick = false;
    return;
  }
  TkwBarWindow::Dispatch(Message);
  if (!IsLiveBarControl(this)) return;
  if (FLinkDragPending) {
    FLinkDragPending = false;
    ReleaseCapture();
    return;
  }
  bool hadPressed = FPressedControl != nullptr;
  if (hadPressed) ReleaseCapture();
  TPoint point = PointOf(Message);
  if (ClientRect().Contains(point) && FActive && !IsCustomizing()) {
    TkwBarItemControl* control = GetItemControlAtPos(point);
    if (control && control->IsSelectable()) {
      if (control->GetEnabled() && control == FSelectedControl) {
        if (auto* editor = dynamic_cast<IkwInPlaceEditor*>(control)) {
          TPoint p = point;
          MapWindowPoints(Handle(), editor->EditWindow(), AsPOINT(&p), 1);
          SendMessageA(editor->EditWindow(), WM_LBUTTONUP, Message.WParam, MAKELPARAM(p.X, p.Y));
        }
        control->Click(true);
      } else if (!control->GetEnabled() && control != FSelectedControl && !IsSubMenu()) {
        if (!DropDownOpen(FSelectedControl)) HideAll();
      }
    }
  }
  if (hadPressed && IsLiveBarControl(this)) HideAll();
}

void TCustomkwBarControl::WMLButtonDblClk(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  if (!IsLiveBarControl(this) || !FSelectedControl) return;
  TPoint point = PointOf(Message);
  if (GetItemControlAtPos(point) != FSelectedControl) return;
  if (auto* editor = dynamic_cast<IkwInPlaceEditor*>(FSelectedControl)) {
    if (!editor->EditRect().Contains(point)) {
      TPoint p = point;
      MapWindowPoints(Handle(), editor->EditWindow(), AsPOINT(&p), 1);
      SendMessageA(editor->EditWindow(), WM_LBUTTONDBLCLK, Message.WParam, MAKELPARAM(p.X, p.Y));
    }
  }
  // Only the controls that want double clicks get them; for the others it is a second press.
  if (!FSelectedControl->WantsDblClick()) {
    SendMessageA(Handle(), WM_LBUTTONDOWN, Message.WParam, Message.LParam);
    return;
  }
  TkwBarManager* manager = GetBarManager();
  if (manager && manager->IsDesigning()) return;
  if (FSelectedControl->HasSubMenu()) {
    // A double click on an entry whose menu is open shows the whole menu.
    if (auto* menu = dynamic_cast<TkwBarSubMenuControl*>(FSelectedControl->GetSubMenuControl()))
      menu->SetMarkState(msPressed);
    return;
  }
  FSelectedControl->DblClick();
}

void TCustomkwBarControl::WMMouseMove(TMessage& Message) {
  if (FLock) return;
  TPoint point = PointOf(Message);
  if (FPressedControl) {
    bool under = FPressedControl->Link() && FPressedControl->Link()->ItemRect.Contains(point);
    if (under != FPressedUnderMouse) {
      FPressedUnderMouse = under;
      FPressedControl->Repaint();
    }
  }
  TkwBarManager* manager = GetBarManager();
  if (FLinkDragPending) {
    int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    TRect stay(FMouseDownPoint.X - cx / 2, FMouseDownPoint.Y - cy / 2, FMouseDownPoint.X + (cx + 1) / 2,
               FMouseDownPoint.Y + (cy + 1) / 2);
    if (!stay.Contains(point)) {
      FLinkDragPending = false;
      ReleaseCapture();
      if (manager && manager->DragLink && manager->DragLink->Control())
        manager->DragLink->Control()->ControlInactivate(true);
      // The drag of links between bars is the manager's (customizing); nothing more here.
    }
    return;
  }
  if (!ClientRect().Contains(point)) return;
  TkwBarWindow::Dispatch(Message);
  if (!IsLiveBarControl(this)) return;
  if (IsLastMousePos(point) || IsCustomizing()) return;
  TPoint screen = point;
  ::ClientToScreen(Handle(), AsPOINT(&screen));
  FLastMousePos = screen;
  if (manager && IsInPlaceEditing(manager->SelectedItemControl())) return;
  TkwBarItemControl* control = GetItemControlAtPos(point);
  if (!GetActiveBarControl() || GetActiveBarControl() == this) {
    auto* editor = dynamic_cast<IkwInPlaceEditor*>(control);
    bool overEdit = editor && editor->EditRect().Contains(point);
    ::SetCursor(LoadCursorA(nullptr, overEdit ? IDC_IBEAM : IDC_ARROW));
  }
  if (!IsMouseLeaveTracked(Handle())) {
    BeginMouseLeaveTracking(Handle());
    if (FSelectedControl && FSelectedControl == control && AsButton(control)) control->Repaint();
  }
  if (control && !control->CanHover()) control = nullptr;
  if (FActive && !IsSubMenu() && !control) return;
  if (FPressedControl) return;
  if (!control && FSelectedControl && FSelectedControl->HasSubMenu() && FSelectedControl->GetSubMenuControl()) return;
  SelectItemIfFree(control);
}

void TCustomkwBarControl::WMRButtonDown(TMessage& Message) {
  TkwBarWindow::Dispatch(Message);
  if (!IsCustomizing() || !IsLiveBarControl(this)) return;
  if (FSelectedControl && FSelectedControl->Active()) FSelectedControl->ControlInactivate(true);
  TPoint point = PointOf(Message);
  if (!ClientRect().Contains(point)) return;
  TkwBarItemControl* control = GetItemControlAtPos(point);
  if (control && control == FSelectedControl) {
    if (TkwBarManager* manager = GetBarManager()) manager->SetSelectedItemControl(control);
    control->Repaint();
  }
  if (control) ActivateItem(control);
  // The customizing popup belongs to the customizing window, which shows it.
}
