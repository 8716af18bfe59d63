// This file implements what the bar manager does with the messages of its owner form: floating
// bars kept in step with the form's activation, minimizing and hiding, the layout saved when the
// window goes, display and setting changes, and the merging of an active MDI child's main menu
// into the main menu bar of the MDI frame.
#include "kwBarManager.h"

#include <algorithm>
#include <vector>

#include "ScopeGuard.h"
#include "UtilityWindow.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"
#include "kwDockSite.h"

namespace {
// The windows of the visible floating bars of a manager.
std::vector<TkwBarWindow*> FloatingWindows(TkwBars* Bars) {
  std::vector<TkwBarWindow*> windows;
  for (int i = 0; Bars && i < Bars->Count(); ++i) {
    TkwBar* bar = Bars->Items(i);
    TkwBarWindow* window = bar->GetControl();
    if (bar->Visible() && window && bar->DockingStyle() == dsNone && window->HandleAllocated()) windows.push_back(window);
  }
  return windows;
}

// The merge runs once the message that changed the active child is over: the system is still
// activating, creating or destroying children meanwhile (and a child still being made reads its
// description and shows its bars).
class TMergeQueue : public TObject {
 public:
  static constexpr UINT WM_MERGELATER = WM_USER + 1;
  std::vector<TkwBarManager*> Pending;
  HWND Window = nullptr;
  void Add(TkwBarManager* Manager) {
    if (!Window) Window = AllocateHWnd(TWndMethod(this, &TMergeQueue::WndProc));
    if (std::find(Pending.begin(), Pending.end(), Manager) != Pending.end()) return;
    Pending.push_back(Manager);
    PostMessageA(Window, WM_MERGELATER, 0, 0);
  }
  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_MERGELATER) {
      Message.Result = DefWindowProcA(Window, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    std::vector<TkwBarManager*> pending;
    pending.swap(Pending);
    for (TkwBarManager* manager : pending)
      for (int i = 0; i < BarManagerCount(); ++i)
        if (GetBarManager(i) == manager) manager->MDIChildChanged(nullptr);
  }
};

TMergeQueue& MergeQueue() {
  static TMergeQueue* queue = new TMergeQueue();
  return *queue;
}

bool IsSameProcess(HWND Wnd) {
  DWORD process = 0;
  GetWindowThreadProcessId(Wnd, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

// --- Owner-form messages ------------------------------------------------------------------------

void TkwBarManager::HandleOwnerFormMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!FOwnerForm) return;
  if (FOwnerForm->ComponentState().Contains(csDestroying)) {
    // Only the end of the window matters now: the layout is kept for the next run.
    if (Msg == WM_DESTROY && !FDesignMode) {
      if (StoreInRegistry) SaveToRegistry(RegistryPath);
      if (StoreInIniFile) SaveToIniFile(IniFileName);
    }
    return;
  }
  switch (Msg) {
    case WM_CREATE: {
      if (FBarsToShow.empty()) break;
      for (TkwDockSite* site : std::vector<TkwDockSite*>(FDockSites)) site->HandleNeeded();
      std::vector<TkwBar*> bars;
      bars.swap(FBarsToShow);
      for (auto it = bars.rbegin(); it != bars.rend(); ++it) (*it)->SetVisible(true);
      break;
    }
    case WM_ACTIVATE: {
      bool active = LOWORD(WParam) != WA_INACTIVE;
      HWND other = reinterpret_cast<HWND>(LParam);
      // Deactivated in favour of one of its own bar windows: still active.
      if (!active && other)
        if (auto* window = dynamic_cast<TkwBarWindow*>(FindControl(other));
            window && IsLiveBarControl(window) && window->GetBarManager() == this)
          break;
      SetFormActive(active, false, other);
      break;
    }
    case WM_SYSCOLORCHANGE: {
      SystemColorsChanged();
      for (TkwBarWindow* window : FloatingWindows(FBars)) window->UpdateFrame();
      if (FOwnerForm->FormStyle() == fsMDIForm)
        for (int i = 0; i < FOwnerForm->MDIChildCount(); ++i)
          if (TkwBarManager* child = FindManagerOfForm(FOwnerForm->MDIChildren(i)))
            child->HandleOwnerFormMessage(Msg, WParam, LParam);
      break;
    }
    case WM_WININICHANGE:
      if (WParam == SPI_SETNONCLIENTMETRICS) ApplySystemFont();
      if (WParam == SPI_SETWORKAREA) KeepFloatingBarsOnScreen();
      break;
    case WM_ACTIVATEAPP:
      if (WParam == 0) {
        SetFormActive(false, false, nullptr);
        if (FSelectedItemControl) {
          TkwBarWindow* window = FSelectedItemControl->BarWindow();
          if (window && IsLiveBarControl(window) && window->HandleAllocated())
            SendMessageA(window->Handle(), WM_MOUSELEAVE, 0, 0);
        }
        SetSelectedItemControl(nullptr);
      }
      break;
    case WM_WINDOWPOSCHANGING:
      if (reinterpret_cast<const WINDOWPOS*>(LParam)->flags & SWP_HIDEWINDOW) SetFormActive(false, true, nullptr);
      break;
    case WM_HELP:
      // There is no help file: a help request closes the menus it came from.
      if (!FDesignMode) HideAllMenus();
      break;
    case WM_DISPLAYCHANGE:
      KeepFloatingBarsOnScreen();
      break;
    case WM_SYSCOMMAND: {
      // The low four bits of the command are the system's own.
      WPARAM command = WParam & 0xFFF0;
      if (command == SC_CLOSE && FDesignMode)
        if (TkwBarWindow* active = GetActiveBarControl(); active && active->GetBarManager() == this) active->HideAll();
      // A close may yet be refused: the floating bars hide with the form, when it really goes.
      if (command == SC_MINIMIZE) ShowFloatingBarWindows(false);
      if (command == SC_MAXIMIZE || command == SC_RESTORE) ShowFloatingBarWindows(true);
      break;
    }
    case WM_MDIACTIVATE:
      if (FOwnerForm->FormStyle() == fsMDIChild && FOwnerForm->HandleAllocated())
        SetFormActive(reinterpret_cast<HWND>(LParam) == FOwnerForm->Handle(), false, nullptr);
      break;
    default:
      break;
  }
}

void TkwBarManager::ShowFloatingBarWindows(bool Show) {
  for (TkwBarWindow* window : FloatingWindows(FBars)) {
    if (Show) {
      ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
      UpdateWindow(window->Handle());
    } else if (IsWindowVisible(window->Handle())) {
      ShowWindow(window->Handle(), SW_HIDE);
    }
  }
}

void TkwBarManager::SetFormActive(bool Active, bool Forced, HWND OtherWindow) {
  FFormActive = Active;
  UpdateFloatingBars(Active, Forced, OtherWindow);
}

void TkwBarManager::UpdateFloatingBars(bool Active, bool Forced, HWND OtherWindow) {
  if (FActivationGuard || !FBars) return;
  FActivationGuard = true;
  TScopeGuard guard([&] { FActivationGuard = false; });
  bool hides = FHideFloatingBarsWhenInactive || Forced;
  std::vector<TkwBarWindow*> floating = FloatingWindows(FBars);
  if (!hides)
    for (TkwBarWindow* window : floating) window->RefreshCaptionState();
  if (Active) {
    if (FOwnerForm && FOwnerForm->HandleAllocated() && IsIconic(FOwnerForm->Handle())) return;
    for (TkwBarWindow* window : floating) ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
    return;
  }
  HWND form = FOwnerForm && FOwnerForm->HandleAllocated() ? FOwnerForm->Handle() : nullptr;
  if (OtherWindow && form && IsChildWindowOf(OtherWindow, form)) return;
  if (TkwBarWindow* active = GetActiveBarControl()) {
    TkwBarManager* activeManager = active->GetBarManager();
    bool closes = activeManager == this;
    if (!closes && FOwnerForm && FOwnerForm->FormStyle() == fsMDIForm && activeManager) {
      TCustomForm* activeForm = activeManager->OwnerForm();
      TkwBarItemControl* selected = active->SelectedControl();
      closes = activeForm && activeForm->FormStyle() == fsMDIChild && !(selected && selected->ShowsInPlace());
    }
    if (closes) active->HideAll();
  }
  if (!hides) return;
  if (OtherWindow && IsSameProcess(OtherWindow) && !(Application.Exists() && OtherWindow == Application->Handle()) &&
      !dynamic_cast<TCustomForm*>(FindControl(OtherWindow)))
    return;
  // FloatingWindows again: closing the menus may have changed the bars.
  for (TkwBarWindow* window : FloatingWindows(FBars))
    SetWindowPos(window->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (form) SendMessageA(form, WM_NCACTIVATE, FALSE, 0);
}

void TkwBarManager::KeepFloatingBarsOnScreen() {
  if (!FOwnerForm || !FBars) return;
  TRect bounds = FOwnerForm->BoundsRect();
  if (FOwnerForm->HandleAllocated()) {
    RECT r;
    GetWindowRect(FOwnerForm->Handle(), &r);
    bounds = TRect(r);
  }
  TRect work = GetMonitorWorkArea(TPoint((bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2));
  for (int i = 0; i < FBars->Count(); ++i) {
    TkwBar* bar = FBars->Items(i);
    if (bar->DockingStyle() != dsNone) continue;
    TkwBarWindow* window = bar->GetControl();
    TRect r;
    if (window && window->HandleAllocated()) {
      RECT w;
      GetWindowRect(window->Handle(), &w);
      r = TRect(w);
    } else {
      r = Bounds(bar->FloatLeft(), bar->FloatTop(), bar->FloatClientWidth() + bar->GetNonClientWidth(dsNone),
                 bar->FloatClientHeight() + bar->GetNonClientHeight(dsNone));
    }
    int dx = 0, dy = 0;
    if (r.Bottom > work.Bottom) dy = work.Bottom - r.Bottom;
    if (r.Top + dy < work.Top) dy = work.Top - r.Top;
    if (r.Right > work.Right) dx = work.Right - r.Right;
    if (r.Left + dx < work.Left) dx = work.Left - r.Left;
    if (dx == 0 && dy == 0) continue;
    if (window && window->HandleAllocated())
      SetWindowPos(window->Handle(), nullptr, r.Left + dx, r.Top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else {
      bar->SetFloatLeft(r.Left + dx);
      bar->SetFloatTop(r.Top + dy);
    }
  }
}

// --- MDI menu merging -----------------------------------------------------------------------------

void TkwBarManager::RequestMDIChildChanged() { MergeQueue().Add(this); }

void TkwBarManager::MDIChildChanged(HWND) {
  // Merging hides and shows bars of the children, which sends them messages of their own.
  if (FMerging) return;
  FMerging = true;
  TScopeGuard merged([&] { FMerging = false; });
  HWND childWindow = GetActiveMDIChild();
  auto* child = dynamic_cast<TCustomForm*>(FindControl(childWindow));
  if (child && child->ComponentState().Contains(csDestroying)) child = nullptr;
  if (child && child->FormState().Contains(fsCreating)) {
    MergeQueue().Add(this);
    return;
  }
  bool zoomed = childWindow && IsZoomed(childWindow);
  TkwBar* main = FMainMenuBar;
  bool locked = main && main->UpdateLock();
  if (main) main->SetUpdateLock(true);
  TScopeGuard unlock([&] {
    if (main && main == FMainMenuBar) main->SetUpdateLock(locked);
  });
  if (child == FLastMDIChild) {
    if (zoomed != FLastChildZoomed) MergeChildMenu(child, zoomed, AlwaysMerge, false);
  } else {
    MergeChildMenu(FLastMDIChild, false, false, true);
    MergeChildMenu(child, true, false, false);
  }
  if (zoomed != FLastChildZoomed && FMainMenuBar)
    if (TkwBarWindow* window = FMainMenuBar->GetControl()) window->RepaintBar();
  // The merge is kept by the child form itself: when it is freed, its entries go with it.
  if (FLastMDIChild != child) {
    if (FLastMDIChild) FLastMDIChild->RemoveFreeNotification(this);
    FLastMDIChild = child;
    if (child) child->FreeNotification(this);
  }
  FLastChildZoomed = zoomed;
}

void TkwBarManager::MergeChildMenu(TCustomForm* Child, bool Activate, bool SystemMenuOnly, bool KeepLocked) {
  if (!FMainMenuBar || !Child) return;
  // A child on its way out still has its manager and items: its entries leave the frame's menu.
  bool dying = Child->ComponentState().Contains(csDestroying);
  if (Activate && dying) return;
  TkwBarItemLinks* links = FMainMenuBar->ItemLinks();
  HWND childWindow = Child->HandleAllocated() ? Child->Handle() : nullptr;
  bool zoomed = childWindow && IsZoomed(childWindow);
  if (Activate) {
    TClass systemMenu = MDISystemMenuItemClass();
    bool hasSystemMenu = childWindow && (GetWindowLongA(childWindow, GWL_STYLE) & WS_SYSMENU);
    if (zoomed && hasSystemMenu && systemMenu && !(links->Count() > 0 && IsMDISystemMenuLink(links->Items(0)))) {
      auto* item = static_cast<TkwBarItem*>(systemMenu->Create(nullptr));
      AddTemporaryItem(item);
      auto* link = static_cast<TkwBarItemLink*>(links->Insert(0));
      link->SetItem(item);
    }
  } else if (links->Count() > 0 && IsMDISystemMenuLink(links->Items(0))) {
    delete links->Items(0);
    FreeUnlinkedTemporaryItems();
  }
  if (SystemMenuOnly) return;
  TkwBarManager* childManager = FindManagerOfForm(Child);
  TkwBar* childMain = childManager ? childManager->MainMenuBar() : nullptr;
  if (!childMain) return;
  bool locked = FMainMenuBar->UpdateLock();
  if (Activate) {
    if (!AlwaysMerge && !zoomed) return;
    FSavedChildMenuVisible = childMain->Visible();
    if (OnMenuMerge) {
      OnMenuMerge(this, childManager, true);
    } else {
      FMainMenuBar->SetUpdateLock(true);
      TkwBarItemLinks* childLinks = childMain->ItemLinks();
      for (int i = 0; i < childLinks->GetVisibleItemCount(); ++i) links->Add()->Assign(childLinks->GetVisibleItem(i));
      FMainMenuBar->SetUpdateLock(locked);
    }
    // The form does not size itself to its bars: hiding its menu leaves its size as it is.
    childMain->SetVisible(false);
    return;
  }
  FMainMenuBar->SetUpdateLock(true);
  for (int i = links->Count() - 1; i >= 0; --i) {
    TkwBarItem* item = links->Items(i)->Item();
    if (item && item->BarManager() == childManager) delete links->Items(i);
  }
  if (!KeepLocked) FMainMenuBar->SetUpdateLock(locked);
  if (OnMenuMerge) OnMenuMerge(this, childManager, false);
  if (!AlwaysMerge && !dying && !childMain->Visible()) childMain->SetVisible(FSavedChildMenuVisible);
}
