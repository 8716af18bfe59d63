// This file implements the dragging of bars between dock sites: a modal loop while the mouse is
// captured, in which the bar floats or docks wherever the cursor is, live, with a short delay
// before a floating bar docks.
#include "kwBars.h"

#include "Forms.h"
#include "ScopeGuard.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwDockSite.h"

namespace {
// The docking delay: its timer, the manager whose drag set it, and whether a step runs from it.
UINT_PTR DockTimer = 0;
TkwBarManager* DockTimerManager = nullptr;
bool InDockTimer = false;

bool IsLiveManager(const TkwBarManager* Manager) {
  for (int i = 0; i < BarManagerCount(); ++i)
    if (GetBarManager(i) == Manager) return true;
  return false;
}

void KillDockTimer() {
  if (DockTimer) KillTimer(nullptr, DockTimer);
  DockTimer = 0;
  DockTimerManager = nullptr;
}

void CALLBACK DockTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    TkwBarManager* manager = DockTimerManager;
    KillDockTimer();
    if (!manager || !IsLiveManager(manager)) return;
    TkwBars* bars = manager->Bars();
    TkwBarWindow* window = bars->DraggedWindow();
    if (!bars->Dragging || !IsLiveBarControl(window)) return;
    POINT cursor;
    GetCursorPos(&cursor);
    InDockTimer = true;
    TScopeGuard done([] { InDockTimer = false; });
    bars->DragStep(window, TPoint(cursor.x + bars->DragOffset().X, cursor.y + bars->DragOffset().Y));
  } catch (...) {
    // Nothing leaves a timer procedure.
  }
}

// The cursor's position when the message being handled was sent.
POINT MessagePos() {
  DWORD pos = GetMessagePos();
  return POINT{short(LOWORD(pos)), short(HIWORD(pos))};
}

bool ContainsAllStyles(const TkwBarDockingStyles& Styles) {
  for (TkwBarDockingStyle style : {dsNone, dsLeft, dsTop, dsRight, dsBottom})
    if (!Styles.Contains(style)) return false;
  return true;
}

TPoint ScreenPos(TkwBarWindow* Window) {
  RECT r;
  GetWindowRect(Window->Handle(), &r);
  return TPoint(r.left, r.top);
}
}  // namespace

TkwBarDockingStyle TkwBars::FindDockTarget(TkwBar* Bar, TPoint ScreenPoint, TkwDockSite*& Site) {
  Site = nullptr;
  if (Dragging && GetKeyState(VK_CONTROL) < 0) return dsNone;
  auto search = [&](TPoint Point) {
    for (TkwBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom})
      for (int i = 0; i < FManager->DockControlCount(); ++i) {
        TkwDockSite* site = FManager->DockControl(i);
        if (site->DockingStyle() != style || !site->Enabled() || !site->Showing()) continue;
        if (!FManager->CanDock(Bar, style, site)) continue;
        if (site->GetDockingZone().Contains(Point)) {
          Site = site;
          return style;
        }
      }
    return dsNone;
  };
  TkwBarDockingStyle style = search(ScreenPoint);
  if (style == dsNone && Dragging) style = search(TPoint(ScreenPoint.X - FDragOffset.X, ScreenPoint.Y - FDragOffset.Y));
  return style;
}

void TkwBars::DragStep(TkwBarWindow* Window, TPoint ScreenPoint) {
  TkwBar* bar = Window->Bar();
  if (!bar) return;
  TkwDockSite* site = nullptr;
  TkwBarDockingStyle style = FindDockTarget(bar, ScreenPoint, site);
  if (!FManager->CanDock(bar, style, site)) return;
  // A floating bar docks only once the cursor has rested over the zone a little while.
  if (!InDockTimer && Window->DockingStyle() == dsNone && style != dsNone) {
    KillDockTimer();
    DockTimerManager = FManager;
    DockTimer = SetTimer(nullptr, 0, UINT(FManager->WaitForDockingTime()), &DockTimerProc);
    style = dsNone;
    site = nullptr;
  }
  TPoint point = ScreenPoint;
  if (style == dsNone) point = TPoint(ScreenPoint.X - FDragOffset.X, ScreenPoint.Y - FDragOffset.Y);
  TkwDockSite* current = Window->DockingStyle() == dsNone ? nullptr : Window->DockSite();
  if (style == Window->DockingStyle() && site == current) {
    if (current) {
      current->MoveBarWindow(Window, point);
    } else {
      TPoint grab = Window->GetDragOffset(dsNone);
      SetWindowPos(Window->Handle(), nullptr, point.X - grab.X, point.Y - grab.Y, 0, 0,
                   SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
    }
    return;
  }
  SetWindowPos(Window->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (current) {
    UndockBarControl(Window, Window->DockingStyle(), current->IsEdgeSite() ? nullptr : current);
    bar->ItemLinks()->SetRecentItemCount(-1);
  }
  TkwDockSite* freeSite = site && !site->IsEdgeSite() ? site : nullptr;
  if (style != dsNone) {
    Window->LockPositionUpdate();
    Window->SetDockingStyle(style);
    Window->SetDockSite(site);
    Window->UnlockPositionUpdate();
    DockBarControl(Window, style, freeSite, point);
  } else {
    Window->LockPositionUpdate();
    Window->SetDockingStyle(dsNone);
    Window->SetDockSite(nullptr);
    TSize size = Window->CalcFloatingSize();
    TPoint grab = Window->GetDragOffset(dsNone);
    SetWindowPos(Window->Handle(), nullptr, point.X - grab.X, point.Y - grab.Y, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_NOZORDER);
    Window->UnlockPositionUpdate();
  }
  // The bar follows its window.
  bar->FChangingDocking = true;
  bar->FDockingStyle = style;
  bar->FDockControl = freeSite;
  bar->FChangingDocking = false;
  ShowWindow(Window->Handle(), SW_SHOWNA);
  FManager->DoBarDockingStyleChange(bar);
}

void TkwBars::TrackBarDrag(TkwBarWindow* Window) {
  TkwBar* bar = Window ? Window->Bar() : nullptr;
  if (!bar || ContainsAllStyles(bar->NotDocking) || !Window->HandleAllocated()) return;
  if (Window->DockingStyle() != dsNone) Window->StorePositionInBar();
  Dragging = true;
  FDragWindow = Window;
  Window->SetMoving(true);
  // Where the press was: the cursor may have moved on since.
  POINT cursor = MessagePos();
  FOriginalDockingStyle = Window->DockingStyle();
  FDragOffset = TPoint();
  FGrabOffset = TPoint();
  TkwDockSite* site = Window->DockingStyle() != dsNone ? Window->DockSite() : nullptr;
  HWND captureWindow = nullptr;
  TScopeGuard end([&] {
    KillDockTimer();
    if (captureWindow && GetCapture() == captureWindow) ReleaseCapture();
    if (IsLiveBarControl(Window)) {
      Window->SetMoving(false);
      if (Window->DockingStyle() != dsNone && Window->DockSite()) Window->DockSite()->FinishBarMove(Window);
    }
    Dragging = false;
    FDragWindow = nullptr;
  });
  Window->BeginDrag(TPoint(cursor.x, cursor.y));
  if (site) {
    // Where the bar would go back in its row gives the offset of its reference point.
    TPoint place = ScreenPos(Window);
    site->TakeOutBarWindow(Window);
    TPoint row = site->GetRowPoint(Window, TPoint(cursor.x, cursor.y));
    if (Window->DockingStyle() == dsLeft || Window->DockingStyle() == dsRight)
      FDragOffset.X = row.X - cursor.x;
    else
      FDragOffset.Y = row.Y - cursor.y;
    Window->LockPositionUpdate();
    site->DockBarWindow(Window, place);
    Window->UnlockPositionUpdate();
    TPoint now = ScreenPos(Window);
    FGrabOffset = TPoint(cursor.x - now.X, cursor.y - now.Y);
  }
  DispatchPaintMessages();
  TCustomForm* form = FManager->OwnerForm();
  if (Application.Exists() && IsWindowVisible(Application->Handle()))
    captureWindow = Application->Handle();
  else if (form && form->HandleAllocated())
    captureWindow = form->Handle();
  if (!captureWindow) return;
  SetCapture(captureWindow);
  TPoint last(-1, -1);
  while (GetCapture() == captureWindow && IsLiveBarControl(Window)) {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    bool move = false;
    TPoint pos(msg.pt.x, msg.pt.y);
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL) {
        // Ctrl floats the bar at once, or lets it dock again, without the mouse moving.
        POINT p = MessagePos();
        pos = TPoint(p.x, p.y);
        last = TPoint(-1, -1);
        move = true;
      } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        break;
      } else {
        continue;
      }
    } else if (msg.message == WM_MOUSEMOVE) {
      move = true;
    } else if (msg.message == WM_LBUTTONUP) {
      break;
    }
    if (move) {
      if (!(pos == last)) {
        DragStep(Window, TPoint(pos.X + FDragOffset.X, pos.Y + FDragOffset.Y));
        last = pos;
      }
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
