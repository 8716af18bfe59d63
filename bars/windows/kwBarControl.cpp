// This file implements the tool bar and main-menu bar window: its creation, painting, menu mode,
// keys, mouse and mark.
#include "kwBarControl.h"

#include <algorithm>

#include "Forms.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarShadow.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"
#include "kwDockControl.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarControl)

TkwCaptionButtonTracking& CaptionButtonTracking() {
  static TkwCaptionButtonTracking tracking;
  return tracking;
}

namespace {
TPoint PointOf(const TMessage& Message) {
  return TPoint(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
}

// Whether a window that is not topmost has only topmost windows above it: moving it to the top
// would change nothing, and still cost the display a restacking.
bool IsTopOfItsKind(HWND Window) {
  if (GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_TOPMOST) return false;
  for (HWND above = GetWindow(Window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
    if (!(GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) return false;
  return true;
}

const UINT_PTR MarkTimerId = 1;
}  // namespace

// --- Creation and destruction ------------------------------------------------------------------------

TkwBarControl::TkwBarControl(TkwBarManager* Manager, TkwBar* ABar)
    : TCustomkwBarControl(Manager, ABar->ItemLinks()), FBar(ABar) {
  FFloatingCaption = true;
  UpdateFont();
}

TkwBarControl::~TkwBarControl() {
  Destroying();
  StopMarkTimer();
  if (IsLiveBarControl(this)) TkwBarControl::HideAll();
  TkwBarManager* manager = GetBarManager();
  if (FBar && manager && DockSite())
    if (auto* dock = dynamic_cast<TkwDockControl*>(DockSite())) dock->UndockBarControl(this, nullptr, true);
  if (HandleAllocated())
    DestroyHandle();
  else
    DestroyControls();
}

bool TkwBarControl::CanWrap() const { return IsFloating() || FBar->MultiLine(); }

void TkwBarControl::CreateParams(TCreateParams& Params) {
  TCustomkwBarControl::CreateParams(Params);
  TkwBarManager* manager = GetBarManager();
  if (IsFloating()) {
    Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU | WS_THICKFRAME;
    TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
    Params.WndParent = form ? form->Handle() : nullptr;
  } else {
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  }
  Params.ExStyle = 0;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TkwBarControl::CreateWnd() {
  TCustomkwBarControl::CreateWnd();
  SetWindowTextA(Handle(), FBar->Caption().c_str());
  SendMessageA(Handle(), WM_NCACTIVATE, TRUE, 0);
}

void TkwBarControl::DestroyWindowHandle() {
  StopMarkTimer();
  TCustomkwBarControl::DestroyWindowHandle();
}

void TkwBarControl::CaptionChanged() {
  if (!HandleAllocated()) return;
  SetWindowTextA(Handle(), FBar->Caption().c_str());
  SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

void TkwBarControl::UpdateAlphaBlend() {
  if (!HandleAllocated()) return;
  BYTE alpha = IsFloating() || FMoving ? FBar->AlphaBlendValue() : 255;
  SetWindowAlphaBlend(FMoving && FFloatingHandle ? FFloatingHandle : Handle(), alpha);
}

void TkwBarControl::UpdateFont() {
  TOwnedFont font(CloneFontHandle(GetFont()));
  Font()->SetHandle(font.Release());
}

HFONT TkwBarControl::GetFont() const {
  if (FBar && FBar->UseOwnFont() && FBar->OwnFontHandle()) return FBar->OwnFontHandle();
  return TCustomkwBarControl::GetFont();
}

void TkwBarControl::CalcDrawingConsts() {
  TCustomkwBarControl::CalcDrawingConsts();
  FMDIButtonWidth = GetSystemMetrics(SM_CXMENUSIZE) - 2;
  FMDIButtonHeight = GetSystemMetrics(SM_CYMENUSIZE) - 4;
}

void TkwBarControl::RefreshMetrics() {
  CalcDrawingConsts();
  Perform(CM_FONTCHANGED);
  if (!IsFloating()) {
    Rebuild();
  } else if (FBar->Visible()) {
    FBar->SetVisible(false);
    FBar->SetVisible(true);
  }
}

void TkwBarControl::UpdateFrame() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TkwBarControl::Rebuild() {
  UpdateDoubleBuffered();
  UpdateFrame();
  RepaintBar();
}

void TkwBarControl::RefreshShadow() {
  if (Shadow()) Shadow()->Refresh();
}

// --- The base's questions ------------------------------------------------------------------------------

bool TkwBarControl::CanAlignItem(const TkwBarItemControl* Control) const {
  TkwBarItemLinks* links = ItemLinks();
  int count = links->GetVisibleItemCount();
  return count > 0 && Control && links->GetVisibleItem(count - 1) == Control->Link();
}

bool TkwBarControl::IsDockedOrNotFlat() const {
  TkwBarManager* manager = GetBarManager();
  return !IsFloating() || !manager || !manager->IsFlatStyle();
}

bool TkwBarControl::CanCustomizeItems() const {
  return TCustomkwBarControl::CanCustomizeItems() || (IsCustomizing() && FBar->AllowCustomizing);
}

int TkwBarControl::GetBeginGroupSize() const { return Painter()->GetBarBeginGroupSize(); }

TRect TkwBarControl::GetItemRectEx(const TkwBarItemControl* Control) const {
  TRect r = GetItemRect(Control);
  if (r.IsEmpty() || !Control->Link()) return r;
  // The hit rectangle spans the whole row, centred on the item.
  int thickness = Control->Link()->ItemRect.IsEmpty() ? 0 : DockThicknessOf(Control);
  if (thickness <= 0) return r;
  if (IsVertical()) {
    int centre = (r.Left + r.Right) / 2;
    r.Left = centre - thickness / 2;
    r.Right = r.Left + thickness;
  } else {
    int centre = (r.Top + r.Bottom) / 2;
    r.Top = centre - thickness / 2;
    r.Bottom = r.Top + thickness;
  }
  return r;
}

HRGN TkwBarControl::GetItemRegion(const TkwBarItemControl* Control) const {
  HRGN region = TCustomkwBarControl::GetItemRegion(Control);
  if (!Control->ExtraRect.IsEmpty()) {
    const TRect& e = Control->ExtraRect;
    TOwnedRegion extra(CreateRectRgn(e.Left, e.Top, e.Right, e.Bottom));
    CombineRgn(region, region, extra, RGN_OR);
  }
  return region;
}

HBRUSH TkwBarControl::GetBackgroundBrush() { return Painter()->GetBarWindowBrush(this); }

bool TkwBarControl::MarkExists() const {
  if (!FBar->ShowMark()) return false;
  return FLinksHidden || (Painter()->HasMoreButtonsMark() && FBar->AllowQuickCustomizing() && !IsFloating());
}

bool TkwBarControl::IsLastMousePos(TPoint ClientPoint) const {
  return TCustomkwBarControl::IsLastMousePos(ClientPoint);
}

bool TkwBarControl::HasBackgroundBitmap() const {
  TkwBarManager* manager = GetBarManager();
  return TCustomkwBarControl::HasBackgroundBitmap() || !FBar->BackgroundBitmap()->Empty() ||
         (manager && !manager->Backgrounds()->Bar()->Empty());
}

bool TkwBarControl::NeedsDoubleBuffer() const {
  TkwBarManager* manager = GetBarManager();
  return TCustomkwBarControl::NeedsDoubleBuffer() || !FBar->BackgroundBitmap()->Empty() ||
         (manager && !manager->Backgrounds()->Bar()->Empty()) || Painter()->PaintsOwnBackgrounds();
}

TPoint TkwBarControl::GetClientOffset() const {
  if (!HandleAllocated()) return TPoint(0, 0);
  RECT window;
  GetWindowRect(const_cast<TkwBarControl*>(this)->Handle(), &window);
  POINT origin = {0, 0};
  ::ClientToScreen(const_cast<TkwBarControl*>(this)->Handle(), &origin);
  return TPoint(origin.x - window.left, origin.y - window.top);
}

void TkwBarControl::DrawBackground(HDC DC, TRect Rect, bool UseClientOffset, TColor Color, HBRUSH Brush) {
  TBitmap* bitmap = FBar->BackgroundBitmap();
  if (!bitmap->Empty()) {
    TRect origin = Rect;
    if (UseClientOffset) {
      TPoint offset = GetClientOffset();
      OffsetBy(origin, offset.X, offset.Y);
    }
    TileBitmap(DC, Rect, origin, bitmap);
    return;
  }
  if (FBar->IsStatusBarStyle()) {
    TRect origin = Rect;
    if (UseClientOffset) {
      TPoint offset = GetClientOffset();
      OffsetBy(origin, offset.X, offset.Y);
    }
    TkwBarManager* manager = GetBarManager();
    if (!manager || manager->Backgrounds()->Bar()->Empty()) {
      Painter()->DrawStatusBarBackground(this, DC, Color, Brush, origin, Rect, Rect);
      return;
    }
  }
  TCustomkwBarControl::DrawBackground(DC, Rect, UseClientOffset, Color, Brush);
}

void TkwBarControl::SetDockingStyle(TkwBarDockingStyle Value) {
  if (Value == DockingStyle()) return;
  TCustomkwBarControl::SetDockingStyle(Value);
}

// --- Menu mode --------------------------------------------------------------------------------------------

void TkwBarControl::BeginMenuMode(TkwBarItemControl* Control) {
  TkwBarManager* manager = GetBarManager();
  // Asking the display where the pointer is takes a round trip: only when another window's
  // mouse leaving is tracked can there be something to end.
  if (HWND tracked = MouseLeaveTrackedWindow(); tracked && tracked != Handle()) {
    POINT cursor;
    GetCursorPos(&cursor);
    if (HWND under = GetWindowAtScreenPoint(cursor); under && under != Handle())
      if (auto* other = dynamic_cast<TCustomkwBarControl*>(FindControl(under)))
        if (other->HandleAllocated()) EndMouseLeaveTracking(other->Handle());
  }
  TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
  if (form && form->HandleAllocated()) SendMessageA(form->Handle(), WM_CANCELMODE, 0, 0);
  FFocusBeforeMenu = GetFocus();
  if (form && form->HandleAllocated() && !IsCustomizing() && !IsTopOfItsKind(form->Handle()))
    SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!Control) {
    TkwBarItemLinks* links = ItemLinks();
    for (int i = 0; i < links->GetShownItemCount() && !Control; ++i) Control = links->GetShownItem(i)->Control();
  }
  ActivateItem(Control);
  if (!IsLiveBarControl(this)) return;
  SetActive(true);
  if (manager) manager->SetMenuModeBarControl(this);
}

void TkwBarControl::EndMenuMode() {
  TkwBarManager* manager = GetBarManager();
  if (!manager || manager->MenuModeBarControl() != this) return;
  manager->SetMenuModeBarControl(nullptr);
  ActivateItem(nullptr);
  if (!IsLiveBarControl(this)) return;
  SetActive(false);
  if (!IsLiveBarControl(this)) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (HWND under = GetWindowAtScreenPoint(cursor)) {
    if (auto* other = dynamic_cast<TCustomkwBarControl*>(FindControl(under))) {
      other->ResetLastMousePos();
      POINT client = cursor;
      ::ScreenToClient(under, &client);
      PostMessageA(under, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }
  }
  TCustomForm* form = manager->OwnerForm();
  bool appActive = GetForegroundWindow() != nullptr;
  if (appActive && form && form->HandleAllocated() && GetActiveWindow() == form->Handle() && FFocusBeforeMenu &&
      IsWindowVisible(FFocusBeforeMenu))
    ::SetFocus(FFocusBeforeMenu);
  FFocusBeforeMenu = nullptr;
}

void TkwBarControl::HideAll() {
  EndMenuMode();
  if (IsLiveBarControl(this)) TCustomkwBarControl::HideAll();
}

void TkwBarControl::SetActive(bool Value) {
  if (!Value) {
    TkwBarItemControl* selected = SelectedControl();
    if (IsCustomizing() && selected) ClearSelection();
    if (auto* button = dynamic_cast<IkwButtonControl*>(SelectedControl()); button && button->IsDroppedDown())
      SelectedControl()->ControlInactivate(true);
    if (!IsLiveBarControl(this)) return;
  }
  TCustomkwBarControl::SetActive(Value);
  if (!Value && IsLiveBarControl(this) && FMenuOpenedByKeyboard) {
    FMenuOpenedByKeyboard = false;
    if (!IsCustomizing()) EndMenuMode();
  }
}

void TkwBarControl::ActivateItem(TkwBarItemControl* Control) {
  TkwBarItemControl* before = SelectedControl();
  TCustomkwBarControl::ActivateItem(Control);
  if (!IsLiveBarControl(this)) return;
  TkwBarItemControl* now = SelectedControl();
  if (now == before || !now || now->Active() || IsCustomizing()) return;
  if (now->HasSubMenu())
    now->BeforeClick(false);
  else
    now->ControlActivate(true);
}

// --- Painting ---------------------------------------------------------------------------------------------

void TkwBarControl::RepaintItem(TkwBarItemControl* Control) {
  if (FBar->UpdateLock() || !Control || !Control->Link()) return;
  TRect r = Control->Link()->ItemRect;
  if (r.IsEmpty()) return;
  if (!Painting() || RepaintInProgress()) {
    if (HandleAllocated()) {
      InvalidateRect(Handle(), AsRECT(r), FALSE);
      if (!Control->ExtraRect.IsEmpty()) InvalidateRect(Handle(), AsRECT(Control->ExtraRect), FALSE);
    }
    return;
  }
  TCustomkwBarControl::RepaintItem(Control);
  HDC dc = Canvas()->Handle();
  {
    TSavedDC saved(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    Control->Draw(r, IsRotatedBarControl(this) ? ilRotated : ilPlain);
  }
  DrawCustomizingFrame(Control);
}

void TkwBarControl::Paint() {
  TkwBarManager* manager = GetBarManager();
  TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
  if ((form && !form->Visible()) || FLock) return;
  FPainting = true;
  try {
    CalcControlsPositions();
    TkwBarItemLinks* links = ItemLinks();
    if (manager && !manager->IsDesigning())
      for (int i = 0; i < links->GetVisibleItemCount(); ++i) {
        TkwBarItemLink* link = links->GetVisibleItem(i);
        if (link->Item() && link->Item()->HasOwnWindow() && link->ItemRect.IsEmpty() && link->Control())
          link->Item()->HideItemControl(link->Control());
      }
    HDC dc = Canvas()->Handle();
    TRect client = ClientRect();
    TOwnedRegion region(CreateRectRgn(client.Left, client.Top, client.Right, client.Bottom));
    for (int i = 0; i < links->GetShownItemCount(); ++i) {
      TkwBarItemLink* link = links->GetShownItem(i);
      if (!link->Control() || link->ItemRect.IsEmpty()) continue;
      RepaintItem(link->Control());
      HRGN r = region.Release();
      ExcludeRectFromRegion(r, link->ItemRect);
      region.Reset(r);
    }
    {
      HRGN r = region.Release();
      DrawSeparators(dc, r);
      DrawCaptionButtons(dc, r);
      if (!IsFloating() && MarkExists()) {
        TRect mark = GetMarkRect();
        Painter()->DrawDockedMark(this, dc, GetBackgroundBrush(), mark);
        ExcludeRectFromRegion(r, mark);
      }
      region.Reset(r);
    }
    SelectClipRgn(dc, region);
    DrawBackground(dc, client, true, clNone, GetBackgroundBrush());
    SelectClipRgn(dc, nullptr);
  } catch (...) {
    FPainting = false;
    throw;
  }
  FPainting = false;
}

void TkwBarControl::DrawSeparators(HDC DC, HRGN Region) {
  TkwBarItemLinks* links = ItemLinks();
  int g = GetBeginGroupSize();
  bool vertical = IsVertical();
  int markSpace = !IsFloating() && MarkExists() ? 11 : 0;
  TRect client = ClientRect();
  HBRUSH brush = GetBackgroundBrush();
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    TkwBarItemControl* control = link->Control();
    if (!control) continue;
    control->ExtraRect = TRect();
    if (!link->BeginGroup() || link->ItemRect.IsEmpty() || i == 0) continue;
    const TRect& r = link->ItemRect;
    int t = std::max(DockThicknessOf(control), vertical ? r.Width() : r.Height());
    bool startsRow = links->GetShownItem(i - 1)->Control() && links->GetShownItem(i - 1)->Control()->RowEnd;
    TRect sep;
    bool horizontalLine;
    if (!vertical) {
      if (!startsRow) {
        sep = Bounds(r.Left - g, r.Top - (t - r.Height()) / 2, g, t);
        horizontalLine = false;
      } else {
        int rowTop = r.Top - (t - r.Height()) / 2;
        sep = TRect(0, rowTop - g, client.Right - markSpace, rowTop);
        horizontalLine = true;
      }
    } else {
      if (!startsRow) {
        sep = Bounds(r.Left - (t - r.Width()) / 2, r.Top - g, t, g);
        horizontalLine = true;
      } else {
        int columnRight = r.Right + (t - r.Width()) / 2;
        sep = TRect(columnRight, 0, columnRight + g, client.Bottom - markSpace);
        horizontalLine = false;
      }
    }
    Painter()->DrawBarBeginGroup(this, DC, horizontalLine, brush, sep);
    control->ExtraRect = sep;
    ExcludeRectFromRegion(Region, sep);
  }
}

void TkwBarControl::DrawCaptionButtons(HDC DC, HRGN Region) {
  if (!HasCaptionButtons()) return;
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  bool mine = tracking.Tracking && GetCapture() == Handle();
  for (int index = 0; index < 3; ++index) {
    TRect r = GetCaptionButtonRect(index);
    if (r.IsEmpty()) continue;
    bool pressed = mine && tracking.Tracked == index;
    bool hot = pressed && tracking.PressedIn;
    Painter()->DrawMDIButton(this, index, r, DC, pressed, hot || (!mine && tracking.Hot == index));
    ExcludeRectFromRegion(Region, r);
  }
}

// --- Messages ---------------------------------------------------------------------------------------------

void TkwBarControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_SIZING: WMSizing(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCHITTEST: WMNCHitTest(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    case WM_CAPTURECHANGED: WMCaptureChanged(Message); break;
    case WM_DESTROY: WMDestroy(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; break;
    case WM_SETFOCUS: break;  // swallowed: a bar never takes the focus
    case WM_NCLBUTTONDBLCLK:
      if (Message.WParam == HTCAPTION && GetBarManager() && !GetBarManager()->IsDesigning())
        ToggleDocking();
      else
        TCustomkwBarControl::Dispatch(Message);
      break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TCustomkwBarControl::Dispatch(Message); break;
  }
}

void TkwBarControl::CMFontChanged(TMessage&) {
  if (FRotating) return;
  FRotating = true;
  try {
    TOwnedFont font(CloneFontHandle(GetFont()));
    if (IsVertical() && FBar->RotateWhenVertical()) {
      LOGFONTA log{};
      GetObjectA(font, sizeof(log), &log);
      log.lfEscapement = -900;
      log.lfOrientation = -900;
      log.lfOutPrecision = OUT_TT_ONLY_PRECIS;
      font.Reset(CreateFontIndirectA(&log));
    }
    Canvas()->Font()->SetHandle(font.Release());
  } catch (...) {
    FRotating = false;
    throw;
  }
  FRotating = false;
  CalcDrawingConsts();
  if (!IsPositionLocked()) {
    ClearSelection();
    RepaintBar();
  }
}

void TkwBarControl::WMKeyDown(TMessage& Message) {
  TCustomkwBarControl::WMKeyDown(Message);
  if (!IsLiveBarControl(this) || !IsActive()) return;
  WORD key = WORD(Message.WParam);
  TkwBarItemControl* selected = SelectedControl();
  switch (key) {
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN: {
      if (!selected) return;
      if (!FMenuOpenedByKeyboard && selected->HasSubMenu() && selected->GetEnabled()) FMenuOpenedByKeyboard = true;
      if (selected->HasSubMenu() || key == VK_RETURN) selected->ControlClick(false);
      return;
    }
    case VK_ESCAPE:
      Message.WParam = 0;
      HideAll();
      return;
    default: return;
  }
}

void TkwBarControl::WMLButtonDown(TMessage& Message) {
  if (SwallowNextClick) return;
  TkwBarManager* manager = GetBarManager();
  TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
  bool docked = !IsFloating();
  if (form && form->HandleAllocated() && !(docked && manager->HideFloatingBarsWhenInactive()) &&
      GetActiveWindow() != form->Handle())
    SetActiveWindow(form->Handle());
  TPoint point = PointOf(Message);
  TkwBarItemControl* control = GetItemControlAtPos(point);
  bool handles = control && ((control->GetEnabled() && control->HandlesMouse()) || (manager && manager->IsDesigning()));
  if (handles) {
    if (IsCustomizing()) {
      if (!IsActive()) BeginMenuMode(control);
      // Dragged beyond the system threshold, the entry's link moves (with Ctrl, is copied) or,
      // dropped outside every bar, goes.
      POINT screen{point.X, point.Y};
      ::ClientToScreen(Handle(), &screen);
      // Not dragged, the press does what it does outside a drag (an entry with a sub-menu opens it).
      if (IsLiveBarControl(this) && HasItemControl(control) && manager && DragDetect(Handle(), screen)) {
        manager->DragItemLink(control->GetItem(), control->Link(), true);
        return;
      }
      if (!IsLiveBarControl(this)) return;
    } else {
      auto* editor = dynamic_cast<IkwInPlaceEditor*>(control);
      if (IsActive() && (control != SelectedControl() || (editor && !editor->IsEditing()))) {
        FMenuOpenedByKeyboard = false;
        ActivateItem(control);
      } else if (editor && editor->IsEditing() && !editor->EditRect().Contains(point)) {
        TCustomkwBarControl::WMLButtonDown(Message);
        return;
      } else if (!IsActive()) {
        BeginMenuMode(control);
      } else if (!dynamic_cast<IkwButtonControl*>(control) && FMenuOpenedByKeyboard) {
        // A second click on an open main-menu entry closes it.
        EndMenuMode();
        return;
      }
      if (!IsLiveBarControl(this)) return;
      if (IsActive() && !editor) FMenuOpenedByKeyboard = true;
    }
  } else if (ClientRect().Contains(point)) {
    SetActive(false);
    if (!IsLiveBarControl(this)) return;
  }
  if (!IsCustomizing()) {
    for (int index = 0; index < 3; ++index) {
      TRect r = GetCaptionButtonRect(index);
      if (!r.IsEmpty() && r.Contains(point) && IsCaptionButtonEnabled(index)) {
        TrackCaptionButton(index);
        return;
      }
    }
    if (FHitCode == 2 && !ClientRect().Contains(point)) return;
    if (MarkExists() && !IsFloating() && GetMarkRect().Contains(point)) {
      SetMarkState(MarkState() == msPressed ? msHot : msPressed);
      return;
    }
  }
  TCustomkwBarControl::WMLButtonDown(Message);
}

void TkwBarControl::WMLButtonUp(TMessage& Message) {
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  if (tracking.Tracking && GetCapture() == Handle()) {
    int index = tracking.Tracked;
    bool in = tracking.PressedIn;
    tracking = TkwCaptionButtonTracking();
    ReleaseCapture();
    Invalidate();
    if (in) {
      TkwBarManager* manager = GetBarManager();
      if (IsMDIButtonsShown()) {
        static const WPARAM commands[3] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
        if (HWND child = manager->GetActiveMDIChild()) SendMessageA(child, WM_SYSCOMMAND, commands[index], 0);
      } else if (manager) {
        manager->DoCloseButtonClick();
      }
    }
    return;
  }
  TCustomkwBarControl::WMLButtonUp(Message);
}

void TkwBarControl::WMLButtonDblClk(TMessage& Message) {
  TkwBarManager* manager = GetBarManager();
  if (manager && !manager->IsDesigning() && FHitCode == 2 && !ClientRect().Contains(PointOf(Message))) {
    ToggleDocking();
    return;
  }
  TCustomkwBarControl::WMLButtonDblClk(Message);
}

void TkwBarControl::WMMouseMove(TMessage& Message) {
  TPoint point = PointOf(Message);
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  if (tracking.Tracking && GetCapture() == Handle()) {
    bool in = GetCaptionButtonRect(tracking.Tracked).Contains(point);
    if (in != tracking.PressedIn) {
      tracking.PressedIn = in;
      Invalidate();
    }
    return;
  }
  if (MarkExists() && !IsCustomizing()) UpdateMarkHot(point);
  TCustomkwBarControl::WMMouseMove(Message);
}

void TkwBarControl::WMMouseLeave(TMessage& Message) {
  if (MarkState() == msHot) SetMarkState(msNormal);
  TCustomkwBarControl::WMMouseLeave(Message);
}

void TkwBarControl::WMCancelMode(TMessage& Message) {
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  if (tracking.Tracking && GetCapture() == Handle()) {
    tracking = TkwCaptionButtonTracking();
    ReleaseCapture();
    Invalidate();
  }
  TCustomkwBarControl::Dispatch(Message);
}

void TkwBarControl::TrackCaptionButton(int Index) {
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  tracking.Tracking = true;
  tracking.PressedIn = true;
  tracking.Tracked = Index;
  SetCapture(Handle());
  Invalidate();
}

TRect TkwBarControl::GetCaptionButtonRect(int Index) const {
  if (!HasCaptionButtons()) return TRect();
  bool mdi = IsMDIButtonsShown();
  if (!mdi && Index != 2) return TRect();
  TRect client = ClientRect();
  int w = FMDIButtonWidth, h = FMDIButtonHeight;
  // Laid out along the bar from its end: minimize, restore, then the close button 2 pixels on.
  // Before the mark, which ends a docked bar.
  int along = (IsVertical() ? client.Bottom : client.Right) - (!IsFloating() && MarkExists() ? 11 : 0);
  int total = mdi ? 3 * w + 2 : w;
  int start = along - total - 2;
  int position = !mdi ? start : start + Index * w + (Index == 2 ? 2 : 0);
  if (!IsVertical()) {
    int top = (client.Bottom - h) / 2;
    return Bounds(position, top, w, h);
  }
  // Turned by a quarter in vertical bars.
  int left = (client.Right - w) / 2;
  return Bounds(left, position, h, w);
}

bool TkwBarControl::IsCaptionButtonEnabled(int Index) const {
  if (!IsMDIButtonsShown() || Index == 1) return true;
  TkwBarManager* manager = GetBarManager();
  HWND child = manager ? manager->GetActiveMDIChild() : nullptr;
  if (!child) return true;
  HMENU menu = GetSystemMenu(child, FALSE);
  if (!menu) return true;
  UINT command = Index == 0 ? SC_MINIMIZE : SC_CLOSE;
  UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
  return state == UINT(-1) || !(state & (MF_DISABLED | MF_GRAYED));
}

bool TkwBarControl::IsMDIButtonsShown() const {
  if (!FBar->IsMainMenu()) return false;
  TkwBarManager* manager = GetBarManager();
  HWND child = manager ? manager->GetActiveMDIChild() : nullptr;
  return child && IsZoomed(child) && (GetWindowLongA(child, GWL_STYLE) & WS_SYSMENU);
}

bool TkwBarControl::HasCaptionButtons() const {
  TkwBarManager* manager = GetBarManager();
  return IsMDIButtonsShown() || (FBar->IsMainMenu() && manager && manager->ShowCloseButton());
}

int TkwBarControl::GetCaptionButtonsWidth() const {
  return IsMDIButtonsShown() && !IsVertical() ? 3 * FMDIButtonWidth + 2 : FMDIButtonWidth;
}

int TkwBarControl::GetCaptionButtonsHeight() const {
  return IsMDIButtonsShown() && IsVertical() ? 3 * FMDIButtonHeight + 2 : FMDIButtonHeight;
}

// --- Mark ------------------------------------------------------------------------------------------------

TRect TkwBarControl::GetMarkRect() { return Painter()->GetMarkRect(this); }

TRect TkwBarControl::GetMarkScreenRect() {
  TRect r = GetMarkRect();
  if (!HandleAllocated()) return r;
  if (IsFloating()) {
    RECT window;
    GetWindowRect(Handle(), &window);
    OffsetBy(r, window.left, window.top);
  } else {
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

void TkwBarControl::StopMarkTimer() {
  if (FMarkTimer && HandleAllocated()) KillTimer(Handle(), MarkTimerId);
  FMarkTimer = 0;
}

void TkwBarControl::SetMarkState(int State) {
  if (IsCustomizing() || State == MarkState()) return;
  StopMarkTimer();
  SetMarkStateField(State);
  if (State == msPressed) {
    // The quick-customizing window is the customizing library's; the sound tells the press.
    PlayMenuSound(0);
  } else if (State == msHot) {
    if (IsFloating() && HandleAllocated()) FMarkTimer = SetTimer(Handle(), MarkTimerId, 50, nullptr);
  }
  if (HandleAllocated()) Painter()->RepaintMark(this);
}

void TkwBarControl::UpdateMarkHot(TPoint ClientPoint) {
  if (MarkState() == msPressed) return;
  bool over = GetMarkRect().Contains(ClientPoint);
  if (over && MarkState() == msNormal) SetMarkState(msHot);
  if (!over && MarkState() == msHot) SetMarkState(msNormal);
}

void TkwBarControl::WMTimer(TMessage& Message) {
  if (Message.WParam != MarkTimerId) {
    TCustomkwBarControl::Dispatch(Message);
    return;
  }
  POINT cursor;
  GetCursorPos(&cursor);
  bool over = IsWindowVisible(Handle()) && GetMarkScreenRect().Contains(TPoint(cursor.x, cursor.y));
  if (over) return;
  KillTimer(Handle(), MarkTimerId);
  FMarkTimer = 0;
  if (MarkState() == msHot) SetMarkState(msNormal);
}

void TkwBarControl::WMDestroy(TMessage& Message) {
  StopMarkTimer();
  TkwBarManager* manager = GetBarManager();
  // A window destroyed from outside (not by the bar) hides its bar.
  if (!IsDestroying() && !IsPositionLocked() && manager && manager->OwnerForm() &&
      !manager->OwnerForm()->ComponentState().Contains(csDestroying) && !FMoving && !FRecreating) {
    TCustomkwBarControl::WMDestroy(Message);
    return;
  }
  TCustomkwBarControl::WMDestroy(Message);
}

void TkwBarControl::WMCaptureChanged(TMessage& Message) {
  TkwCaptionButtonTracking& tracking = CaptionButtonTracking();
  if (tracking.Tracking && reinterpret_cast<HWND>(Message.LParam) != Handle()) tracking = TkwCaptionButtonTracking();
  TCustomkwBarControl::WMCaptureChanged(Message);
}

void TkwBarControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == Handle() && LOWORD(Message.LParam) == 2 && !IsFloating()) {
    ::SetCursor(Screen->Cursors(crSizeAll));
    Message.Result = 1;
    return;
  }
  TCustomkwBarControl::WMSetCursor(Message);
}

// --- Rebuild ----------------------------------------------------------------------------------------------

void TkwBarControl::RepaintBar() {
  if (FLock || FBar->UpdateLock() || !HandleAllocated()) return;
  TkwBarManager* manager = GetBarManager();
  TkwBarItemLink* parked = nullptr;
  if (IsCustomizing() && manager && manager->SelectedItemControl() &&
      manager->SelectedItemControl()->BarWindow() == this) {
    parked = manager->SelectedItemControl()->Link();
    manager->ForgetSelectedItemControl(manager->SelectedItemControl());
  }
  DestroyControls();
  CreateControls();
  if (parked && parked->Control()) {
    SetSelectedItem(parked->Control());
    if (manager) manager->SetSelectedItemControl(parked->Control());
  }
  if (!IsFloating()) {
    if (auto* dock = dynamic_cast<TkwDockControl*>(DockSite())) dock->UpdateLayout();
  } else {
    TSize size = CalcSizeForLength(dsNone, ClientRect().Right);
    SetClientSize(size.cx, size.cy);
  }
  CalcControlsPositions();
  Invalidate();
  if (NeedsDoubleBuffer()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}
