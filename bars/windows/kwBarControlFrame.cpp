// This file implements the frame of a tool bar window: the non-client area of docked and
// floating bars (border, grip, caption, close button, size grip), the floating window's sizing
// rules, the position written back into the bar, docking by double click, and moving mode.
#include <algorithm>

#include "Forms.h"
#include "kwBarControl.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindows.h"
#include "kwBars.h"
#include "kwDockControl.h"

namespace {
TRect WindowRectOf(HWND Wnd) {
  RECT r;
  GetWindowRect(Wnd, &r);
  return r;
}
}  // namespace

// --- Rectangles ---------------------------------------------------------------------------------------

TRect TkwBarControl::GetGripAreaRect() const {
  if (IsFloating() || FBar->BorderStyle() == bbsNone) return TRect();
  if (IsVertical()) return TRect(-100, -100, 100, 0);
  return TRect(-100, -100, 0, 100);
}

TRect TkwBarControl::GetCaptionRect() const {
  if (!HandleAllocated()) return TRect();
  TRect window = WindowRectOf(const_cast<TkwBarControl*>(this)->Handle());
  TkwBarManager* manager = GetBarManager();
  int bw = manager ? manager->GetSizingBorderWidth() : 0;
  int bh = manager ? manager->GetSizingBorderHeight() : 0;
  int border = Painter()->GetBorderWidth();
  TRect r(bw + border, bh + border, window.Width() - bw - border, bh + border + Painter()->GetFloatingCaptionHeight() - 1);
  return r;
}

TRect TkwBarControl::GetCloseButtonRect() const {
  TRect caption = GetCaptionRect();
  TSize size = Painter()->GetCloseButtonSize();
  int top = caption.Top + (caption.Height() - size.cy) / 2;
  return Bounds(caption.Right - size.cx, top, size.cx, size.cy);
}

TRect TkwBarControl::GetSizeGripRect() const {
  TRect client = ClientRect();
  TSize size = Painter()->GetSizeGripSize(GetBarManager());
  return TRect(client.Right - size.cx, client.Bottom - size.cy, client.Right, client.Bottom);
}

TRect TkwBarControl::BorderedClientRect() const {
  // The client rectangle in window coordinates, with the border of a docked bar around it.
  if (!HandleAllocated()) return TRect();
  HWND wnd = const_cast<TkwBarControl*>(this)->Handle();
  TRect window = WindowRectOf(wnd);
  POINT origin = {0, 0};
  ::ClientToScreen(wnd, &origin);
  TRect client = ClientRect();
  OffsetBy(client, origin.x - window.Left, origin.y - window.Top);
  return client;
}

// --- Non-client area ---------------------------------------------------------------------------------

void TkwBarControl::WMNCCalcSize(TMessage& Message) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  TkwBarManager* manager = GetBarManager();
  const TkwBarItemControlPainter* painter = Painter();
  FSizeGrip = false;
  if (IsFloating()) {
    int bw = (manager ? manager->GetSizingBorderWidth() : 0) + painter->GetBorderWidth();
    int bh = (manager ? manager->GetSizingBorderHeight() : 0) + painter->GetBorderWidth();
    r->left += bw;
    r->right -= bw;
    r->top += bh + (FFloatingCaption ? painter->GetFloatingCaptionHeight() : 0);
    r->bottom -= bh;
  } else if (FBar->BorderStyle() == bbsSingle) {
    TRect borders = painter->GetBarDockedBorderRect(FBar, DockingStyle());
    r->left += borders.Left;
    r->top += borders.Top;
    r->right -= borders.Right;
    r->bottom -= borders.Bottom;
    int grip = manager ? manager->GripSize() : 0;
    if (IsVertical())
      r->top += grip;
    else
      r->left += grip;
  } else if (FBar->IsStatusBarStyle()) {
    r->top += painter->GetStatusBarTopBorder(manager);
    FSizeGrip = FBar->ShowsSizeGrip();
    if (FSizeGrip) r->right -= painter->GetSizeGripSize(manager).cx;
  }
  if (r->right < r->left) r->right = r->left;
  if (r->bottom < r->top) r->bottom = r->top;
  Message.Result = 0;
}

void TkwBarControl::WMNCHitTest(TMessage& Message) {
  TPoint screen(short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam)));
  TRect window = WindowRectOf(Handle());
  TPoint point(screen.X - window.Left, screen.Y - window.Top);
  TRect client = BorderedClientRect();
  int code;
  if (!IsFloating()) {
    code = client.Contains(point) ? HTCLIENT : 2;
    if (FSizeGrip && point.X >= client.Right) code = HTBOTTOMRIGHT;
  } else if (client.Contains(point)) {
    code = HTCLIENT;
  } else if (MarkExists() && GetMarkRect().Contains(point)) {
    code = HTCLIENT;
  } else if (FBar->IsClosable() && GetCloseButtonRect().Contains(point)) {
    code = HTCLOSE;
  } else {
    TkwBarManager* manager = GetBarManager();
    int bw = manager ? manager->GetSizingBorderWidth() : 0;
    int bh = manager ? manager->GetSizingBorderHeight() : 0;
    // Corners count as sides: a floating bar is sized along one axis at a time.
    if (point.Y < bh)
      code = HTTOP;
    else if (point.Y >= window.Height() - bh)
      code = HTBOTTOM;
    else if (point.X < bw)
      code = HTLEFT;
    else if (point.X >= window.Width() - bw)
      code = HTRIGHT;
    else
      code = HTCAPTION;
  }
  FHitCode = code;
  Message.Result = code;
  if (code != HTCLIENT) EndMouseLeaveTracking(Handle());
}

void TkwBarControl::WMNCPaint(TMessage&) {
  if (!HandleAllocated()) return;
  TWindowDC dc(Handle(), TWindowDC::WholeWindow);
  PaintNonClient(dc);
}

void TkwBarControl::PaintNonClient(HDC DC) {
  TRect window = WindowRectOf(Handle());
  TRect all(0, 0, window.Width(), window.Height());
  TRect client = BorderedClientRect();
  const TkwBarItemControlPainter* painter = Painter();
  HBRUSH brush = GetBackgroundBrush();
  TOwnedRegion frame(CreateRectRgn(all.Left, all.Top, all.Right, all.Bottom));
  TOwnedRegion inside(CreateRectRgn(client.Left, client.Top, client.Right, client.Bottom));
  CombineRgn(frame, frame, inside, RGN_DIFF);
  DrawFrameBackground(DC, frame, false, brush);
  if (IsFloating()) {
    TkwBarManager* manager = GetBarManager();
    int border = painter->GetBorderWidth() + (manager ? manager->GetSizingBorderWidth() : 0);
    TRect r = all;
    painter->DrawFloatingBarBorder(this, DC, brush, border, r);
    if (FFloatingCaption) {
      TOwnedBrush caption(CreateSolidBrush(painter->GetFloatingCaptionColor(this, true)));
      painter->DrawFloatingBarCaption(this, DC, brush, caption, GetCaptionRect());
    }
  } else if (FBar->BorderStyle() == bbsSingle) {
    TRect r = all;
    painter->DrawDockedBarBorder(this, DC, r);
  } else if (FBar->IsStatusBarStyle()) {
    TkwBarManager* manager = GetBarManager();
    TRect top(0, 0, all.Right, painter->GetStatusBarTopBorder(manager));
    painter->DrawStatusBarNonClientBackground(this, DC, brush, top);
    if (FSizeGrip) painter->DrawStatusBarSizeGrip(this, DC, brush, TRect(client.Right, client.Top, all.Right, all.Bottom));
  }
}

void TkwBarControl::SetCloseButtonState(int State) {
  if (State == FCloseButtonState) return;
  FCloseButtonState = State;
  if (!HandleAllocated() || !IsFloating()) return;
  TWindowDC dc(Handle(), TWindowDC::WholeWindow);
  TOwnedBrush caption(CreateSolidBrush(Painter()->GetFloatingCaptionColor(this, true)));
  Painter()->DrawFloatingBarCaption(this, dc, GetBackgroundBrush(), caption, GetCaptionRect());
}

void TkwBarControl::WMNCLButtonDown(TMessage& Message) {
  if (Message.WParam == HTCLOSE) {
    TrackCloseButton();
    return;
  }
  if (Message.WParam == HTCAPTION && !IsFloating()) {
    // A docked bar is moved by the bars' drag loop, not by the system.
    EndMenuMode();
    return;
  }
  if (Message.WParam == HTCAPTION) {
    // The frame moves only once the mouse leaves the drag rectangle: a click that stays in place
    // leaves the system's move loop alone, so that a following click pairs into a double click.
    EndMenuMode();
    if (!IsLiveBarControl(this)) return;
    POINT at = {short(LOWORD(Message.LParam)), short(HIWORD(Message.LParam))};
    if (!DragDetect(Handle(), at)) return;
    // The system's loop moves from where the pointer is now; the way to here is caught up first,
    // so the frame keeps its place under the pointer.
    POINT now;
    GetCursorPos(&now);
    RECT frame;
    GetWindowRect(Handle(), &frame);
    SetWindowPos(Handle(), nullptr, frame.left + now.x - at.x, frame.top + now.y - at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Message.LParam = MAKELPARAM(now.x, now.y);
  }
  TCustomkwBarControl::Dispatch(Message);
}

void TkwBarControl::TrackCloseButton() {
  TkwBarManager* manager = GetBarManager();
  EndMenuMode();
  if (!IsLiveBarControl(this)) return;
  if (manager && !manager->HideFloatingBarsWhenInactive() && manager->OwnerForm() &&
      manager->OwnerForm()->HandleAllocated())
    SetActiveWindow(manager->OwnerForm()->Handle());
  SetCloseButtonState(2);
  SetCapture(Handle());
  bool pressed = true;
  MSG msg;
  while (GetCapture() == Handle()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == Handle()) {
      POINT p = {short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
      ::ClientToScreen(Handle(), &p);
      TRect window = WindowRectOf(Handle());
      TRect close = GetCloseButtonRect();
      OffsetBy(close, window.Left, window.Top);
      pressed = close.Contains(TPoint(p.x, p.y));
      SetCloseButtonState(pressed ? 2 : 1);
    } else if (msg.message == WM_LBUTTONUP) {
      break;
    } else {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (GetCapture() == Handle()) ReleaseCapture();
  if (!IsLiveBarControl(this)) return;
  SetCloseButtonState(0);
  if (pressed) PostBarCommand(FBar, kwbcClose);
}

// --- Floating window rules ------------------------------------------------------------------------------

void TkwBarControl::WMGetMinMaxInfo(TMessage& Message) {
  TCustomkwBarControl::Dispatch(Message);
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  info->ptMinTrackSize = {10, 10};
  info->ptMaxTrackSize = {30000, 30000};
  info->ptMaxSize = {30000, 30000};
  info->ptMaxPosition = {30000, 30000};
}

void TkwBarControl::WMSizing(TMessage& Message) {
  auto* r = reinterpret_cast<RECT*>(Message.LParam);
  TRect current = WindowRectOf(Handle());
  int nonClientWidth = FBar->GetNonClientWidth(dsNone);
  int nonClientHeight = FBar->GetNonClientHeight(dsNone);
  switch (Message.WParam) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT: {
      TSize size = CalcSizeForLength(dsNone, r->right - r->left - nonClientWidth);
      if (Message.WParam == WMSZ_LEFT)
        r->left = r->right - size.cx - nonClientWidth;
      else
        r->right = r->left + size.cx + nonClientWidth;
      r->bottom = r->top + size.cy + nonClientHeight;
      break;
    }
    case WMSZ_TOP:
    case WMSZ_BOTTOM: {
      TSize size = CalcSizeForHeight(dsNone, r->bottom - r->top - nonClientHeight);
      if (Message.WParam == WMSZ_TOP)
        r->top = r->bottom - size.cy - nonClientHeight;
      else
        r->bottom = r->top + size.cy + nonClientHeight;
      r->right = r->left + size.cx + nonClientWidth;
      break;
    }
    default: *r = current; break;
  }
  if (r->top < -15) {
    int height = r->bottom - r->top;
    r->top = -15;
    r->bottom = r->top + height;
  }
  Message.Result = 1;
}

void TkwBarControl::WMWindowPosChanging(TMessage& Message) {
  TCustomkwBarControl::Dispatch(Message);
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!IsFloating() || !pos || (pos->flags & SWP_NOMOVE && pos->flags & SWP_NOSIZE)) return;
  TRect current = WindowRectOf(Handle());
  int x = pos->flags & SWP_NOMOVE ? current.Left : pos->x;
  int y = pos->flags & SWP_NOMOVE ? current.Top : pos->y;
  int w = pos->flags & SWP_NOSIZE ? current.Width() : pos->cx;
  int h = pos->flags & SWP_NOSIZE ? current.Height() : pos->cy;
  POINT cursor;
  GetCursorPos(&cursor);
  TRect area = GetMonitorWorkArea(TPoint(cursor.x, cursor.y));
  // The window stays reachable: an edge touches the work area at least.
  if (x + w <= area.Left) x = area.Left - w + 1;
  if (y + h <= area.Top) y = area.Top - h + 1;
  if (x >= area.Right) x = area.Right - w;
  if (y >= area.Bottom) y = area.Bottom - h;
  if (!(pos->flags & SWP_NOMOVE)) {
    pos->x = x;
    pos->y = y;
  } else if (x != current.Left || y != current.Top) {
    pos->x = x;
    pos->y = y;
    pos->flags &= ~UINT(SWP_NOMOVE);
  }
}

void TkwBarControl::WMWindowPosChanged(TMessage& Message) {
  TCustomkwBarControl::WMWindowPosChanged(Message);
  if (!IsPositionLocked() && !IsDestroying()) StoreBarPosition();
}

void TkwBarControl::WMSize(TMessage& Message) {
  if (IsDestroying()) return;
  TCustomkwBarControl::Dispatch(Message);
  CalcControlsPositions();
  Invalidate();
}

void TkwBarControl::CMVisibleChanged(TMessage& Message) {
  TCustomkwBarControl::Dispatch(Message);
  if (!IsFloating() || Parent()) return;
  // A floating bar is a popup of the form: it shows and hides itself.
  if (Visible()) {
    HandleNeeded();
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  } else if (HandleAllocated()) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
}

// --- Position write-back ------------------------------------------------------------------------------

int TkwBarControl::GetDockRow() const {
  auto* dock = dynamic_cast<TkwDockControl*>(DockSite());
  TkwDockCol* col = dock ? dock->FindCol(this) : nullptr;
  if (!col) return 0;
  for (int i = 0; i < dock->GetRowCount(); ++i)
    if (dock->GetRow(i) == col->Row) return i;
  return 0;
}

int TkwBarControl::GetDockCol() const {
  auto* dock = dynamic_cast<TkwDockControl*>(DockSite());
  TkwDockCol* col = dock ? dock->FindCol(this) : nullptr;
  if (!col) return 0;
  for (int i = 0; i < col->Row->GetColCount(); ++i)
    if (col->Row->GetCol(i) == col) return i;
  return 0;
}

void TkwBarControl::StoreBarPosition() {
  TkwBarManager* manager = GetBarManager();
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || FMoving || !manager || manager->IsDestroying()) return;
  if (IsFloating()) {
    TRect window = WindowRectOf(Handle());
    TRect client = ClientRect();
    FBar->SetFloatLeft(window.Left);
    FBar->SetFloatTop(window.Top);
    FBar->SetFloatClientWidth(client.Width());
    FBar->SetFloatClientHeight(client.Height());
    return;
  }
  auto* dock = dynamic_cast<TkwDockControl*>(DockSite());
  FBar->SetDockedDockingStyle(DockingStyle());
  FBar->SetDockedDockControl(dock && !dock->IsManagerDock() ? dock : nullptr);
  TkwDockCol* col = dock ? dock->FindCol(this) : nullptr;
  if (col) {
    FBar->SetRow(GetDockRow());
    FBar->OneOnRow = col->Row->GetColCount() == 1;
  }
  FBar->SetDockedLeft(Left());
  FBar->SetDockedTop(Top());
}

// --- Docking by double click and moving mode ------------------------------------------------------------

void TkwBarControl::ToggleDocking() {
  TkwBarManager* manager = GetBarManager();
  if (!manager) return;
  if (!IsFloating()) {
    if (!manager->CanDock(FBar, dsNone, nullptr)) return;
    StoreBarPosition();
    if (FBar->FloatClientWidth() <= 0) {
      TRect window = WindowRectOf(Handle());
      FBar->SetFloatLeft(window.Left);
      FBar->SetFloatTop(window.Top + window.Height());
    }
  } else {
    TkwBarDockingStyle style = FBar->DockedDockingStyle();
    if (style == dsNone) style = dsTop;
    if (!manager->CanDock(FBar, style, FBar->DockedDockControl())) return;
  }
  // The window goes with the change: the bar re-docks once this message is over.
  PostBarCommand(FBar, kwbcToggleDocking);
}

void TkwBarControl::BeginDrag(TPoint ScreenCursor) {
  TRect window = WindowRectOf(Handle());
  FDragOffsetX = ScreenCursor.X - window.Left;
  FDragOffsetY = ScreenCursor.Y - window.Top;
  FDragWidth = window.Width();
  FDragHeight = window.Height();
}

TPoint TkwBarControl::GetDragOffset(TkwBarDockingStyle Style) {
  TSize size = GetSizeForDockingStyle(Style);
  int x = FDragWidth > 0 ? MulDiv(FDragOffsetX, size.cx, FDragWidth) : 0;
  int y = FDragHeight > 0 ? MulDiv(FDragOffsetY, size.cy, FDragHeight) : 0;
  return TPoint(x, y);
}

void TkwBarControl::SetMoving(bool Value) {
  if (Value == FMoving) return;
  if (Value) {
    POINT cursor;
    GetCursorPos(&cursor);
    BeginDrag(TPoint(cursor.x, cursor.y));
    ::SetCursor(Screen->Cursors(crSizeAll));
    if (TkwBarItemLinks* links = ItemLinks())
      for (int i = 0; i < links->Count(); ++i)
        if (TkwBarItemControl* control = links->Items(i)->Control())
          if (control->IsWindowControl) control->WindowDestroying();
    FMoving = true;
    return;
  }
  FMoving = false;
  StoreBarPosition();
  if (HandleAllocated()) Perform(WM_SIZE, 0, 0);
  RepaintBar();
}

void TkwBarControl::Redock(TkwDockControl* DockSite, TkwBarDockingStyle Style) {
  // The window is made again for its new place, under the position lock.
  LockPositionUpdate();
  FRecreating = true;
  try {
    bool visible = Visible();
    if (auto* dock = dynamic_cast<TkwDockControl*>(this->DockSite())) dock->UndockBarControl(this, nullptr, true);
    if (HandleAllocated()) DestroyHandle();
    SetParent(nullptr);
    TkwBarWindow::SetDockingStyle(Style);
    SetDockSite(DockSite);
    if (DockSite) {
      POINT cursor;
      GetCursorPos(&cursor);
      DockSite->DockBarControl(this, TPoint(cursor.x, cursor.y), !FMoving);
    } else if (visible) {
      HandleNeeded();
      TSize size = GetSizeForDockingStyle(dsNone);
      SetBounds(FBar->FloatLeft(), FBar->FloatTop(), size.cx, size.cy);
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
  } catch (...) {
    FRecreating = false;
    UnlockPositionUpdate();
    throw;
  }
  FRecreating = false;
  UnlockPositionUpdate();
  UpdateFrame();
}
