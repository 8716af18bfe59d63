// This file implements the thread hooks of the bar library.
#include "kwBarHooks.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

namespace {
HHOOK KeyboardHook = nullptr;
HHOOK MouseHook = nullptr;
std::vector<TkwBarManager*> HookUsers;
bool AltPressedAlone = false;
bool ForwardedKeyPending = false;
WPARAM ForwardedKey = 0;
bool InMouseHook = false;

bool KeyDown(int Key) { return GetKeyState(Key) < 0; }

// Whether any key other than Alt is down.
bool OtherKeyDown() {
  BYTE state[256];
  if (!GetKeyboardState(state)) return false;
  for (int key = 1; key < 256; ++key) {
    if (key == VK_MENU || key == VK_LMENU || key == VK_RMENU) continue;
    if (state[key] & 0x80) return true;
  }
  return false;
}

// The manager of the active form, and the one whose menus the keys reach.
void ChooseManagers(TkwBarManager*& Manager, TkwBarManager*& MenuManager) {
  Manager = MenuManager = nullptr;
  HWND active = GetActiveWindow();
  auto* form = dynamic_cast<TCustomForm*>(FindControl(active));
  if (!form || !form->Enabled() || form->ComponentState().Contains(csDesigning)) return;
  if (form->FormStyle() == fsMDIForm)
    if (TCustomForm* child = form->ActiveMDIChild()) form = child;
  Manager = FindManagerOfForm(form);
  MenuManager = Manager;
  TCustomForm* main = Application.Exists() ? Application->MainForm() : nullptr;
  if (form->FormStyle() == fsMDIChild && main) MenuManager = FindManagerOfForm(main);
  if (!MenuManager && main && main != form && main->Enabled())
    if (TkwBarManager* mainManager = FindManagerOfForm(main); mainManager && mainManager->AllowCallFromAnotherForm)
      MenuManager = mainManager;
  if (!Manager) Manager = MenuManager;
}

TkwBarWindow* MainMenuWindow(TkwBarManager* Manager) {
  TkwBar* bar = Manager ? Manager->MainMenuBar() : nullptr;
  TkwBarWindow* window = bar && bar->Visible() ? bar->GetControl() : nullptr;
  return window && window->HandleAllocated() && IsWindowVisible(window->Handle()) ? window : nullptr;
}

bool ExecuteShortCutIn(TkwBarManager* Manager, TShortCut ShortCut) {
  if (!Manager) return false;
  if (TkwBar* main = Manager->MainMenuBar(); main && main->ItemLinks()->ExecuteShortCut(ShortCut)) return true;
  TkwBars* bars = Manager->Bars();
  for (int i = 0; bars && i < bars->Count(); ++i) {
    TkwBar* bar = bars->Items(i);
    if (bar->IsMainMenu() || !bar->Visible()) continue;
    if (bar->ItemLinks()->ExecuteShortCut(ShortCut)) return true;
  }
  return false;
}

// The accelerator of a bar of Manager typed with Alt: the only match is clicked (a sub-item opens
// its menu with its first entry selected), several matches select the first one.
bool RunAccelerator(TkwBarManager* Manager, WORD Key, int Shift) {
  if (!Manager) return false;
  std::vector<TkwBar*> bars;
  if (Manager->MainMenuBar()) bars.push_back(Manager->MainMenuBar());
  for (int i = 0; Manager->Bars() && i < Manager->Bars()->Count(); ++i) {
    TkwBar* bar = Manager->Bars()->Items(i);
    if (!bar->IsMainMenu() && bar->Visible()) bars.push_back(bar);
  }
  for (TkwBar* bar : bars) {
    TkwBarItemLinks* links = bar->ItemLinks();
    TkwBarItemLink* link = links->FindByAccelerator(Key, Shift, nullptr);
    if (!link) continue;
    if (!link->Item() || !link->Item()->Enabled()) return true;
    TkwBarWindow* window = bar->GetControl();
    if (!window || !window->HandleAllocated()) return false;
    if (!link->Control()) link->CreateItemControl();
    TkwBarItemControl* control = link->Control();
    if (!control) return false;
    TkwBarItemLink* next = links->FindByAccelerator(Key, Shift, link);
    bool only = !next || next == link;
    window->BeginMenuMode(control);
    if (only && IsLiveBarControl(window) && (control->HasSubMenu() || control->ClosesMenusOnClick()))
      SendMessageA(window->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    return true;
  }
  return false;
}

// Alt: the key came with Alt down (the context bit of the key's information).
bool ProcessShortCut(TkwBarManager* Manager, TkwBarManager* MenuManager, WORD Key, bool Alt) {
  TShortCut shortCut = TShortCut(Key);
  if (GetAsyncKeyState(VK_SHIFT) < 0) shortCut |= 0x2000;
  if (GetAsyncKeyState(VK_CONTROL) < 0) shortCut |= 0x4000;
  bool alt = Alt || GetAsyncKeyState(VK_MENU) < 0;
  if (alt) shortCut |= 0x8000;
  if (ExecuteShortCutIn(Manager, shortCut)) return true;
  if (MenuManager != Manager && ExecuteShortCutIn(MenuManager, shortCut)) return true;
  if (!alt) return false;
  int shift = (GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetAsyncKeyState(VK_CONTROL) < 0 ? 4 : 0);
  if (RunAccelerator(Manager, Key, shift)) return true;
  return MenuManager != Manager && RunAccelerator(MenuManager, Key, shift);
}

LRESULT CALLBACK KeyboardProc(int Code, WPARAM Key, LPARAM Info) {
  try {
    if (Code < 0 || Key == VK_PROCESSKEY) return CallNextHookEx(KeyboardHook, Code, Key, Info);
    bool up = (Info & 0x80000000) != 0;
    if (up && ForwardedKeyPending && Key == ForwardedKey) {
      ForwardedKeyPending = false;
      return 1;
    }
    TkwBarWindow* active = GetActiveBarControl();
    TkwBarManager* activeManager = active ? active->GetBarManager() : nullptr;
    if (active && !(activeManager && activeManager->DetachingSubMenu)) {
      if (!active->IsCustomizing() && active->HandleAllocated()) {
        if (!up) {
          ForwardedKeyPending = true;
          ForwardedKey = Key;
        }
        // The key-up of a forwarded key is swallowed too, also when the key closed the menus: it
        // never reaches the focused control (an Alt released there would open the form's
        // system menu).
        SendMessageA(active->Handle(), up ? WM_KEYUP : WM_KEYDOWN, Key, Info);
        return 1;
      }
      if (Key == VK_ESCAPE && active->HandleAllocated() && GetCapture() == active->Handle()) {
        ReleaseCapture();
        return 1;
      }
    }
    if (!GetCapture()) {
      TkwBarManager *manager, *menuManager;
      ChooseManagers(manager, menuManager);
      if (menuManager && !menuManager->IsCustomizing() && !menuManager->MenuModeBarControl()) {
        if (!up && Key == VK_MENU) {
          AltPressedAlone = true;
        } else if (!up) {
          AltPressedAlone = false;
          if (ProcessShortCut(manager, menuManager, WORD(Key), (Info & 0x20000000) != 0)) return 1;
        } else {
          TkwBarWindow* main = MainMenuWindow(menuManager);
          bool alone = Key == VK_MENU && AltPressedAlone && !OtherKeyDown();
          bool f10 = Key == VK_F10 && menuManager->UseF10ForMenu && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) &&
                     !KeyDown(VK_MENU);
          AltPressedAlone = false;
          if (main && (alone || f10)) {
            main->BeginMenuMode(nullptr);
            return 1;
          }
        }
      }
    }
  } catch (...) {
    // Nothing leaves a hook: the key goes on as if unhandled.
  }
  return CallNextHookEx(KeyboardHook, Code, Key, Info);
}

bool IsButtonDown(WPARAM Message) {
  switch (Message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

// Whether Wnd is a window of the active chain (from the active window up to its root).
TkwBarWindow* ChainWindowOf(HWND Wnd) {
  for (TkwBarWindow* w = GetActiveBarControl(); w; w = w->ParentBarControl())
    if (w->HandleAllocated() && w->Handle() == Wnd) return w;
  return nullptr;
}

bool OverChainItem(HWND Wnd, POINT ScreenPoint) {
  TkwBarWindow* window = ChainWindowOf(Wnd);
  if (!window || !window->ItemLinks()) return false;
  POINT p = ScreenPoint;
  ::ScreenToClient(window->Handle(), &p);
  TkwBarItemLinks* links = window->ItemLinks();
  for (int i = 0; i < links->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = links->GetShownItem(i);
    if (link->Control() && link->ItemRect.Contains(TPoint(p.x, p.y))) return true;
  }
  return false;
}

LRESULT CALLBACK MouseProc(int Code, WPARAM Message, LPARAM Info) {
  if (Code < 0 || InMouseHook || !GetActiveBarControl()) return CallNextHookEx(MouseHook, Code, Message, Info);
  InMouseHook = true;
  bool swallow = false;
  try {
    auto* mouse = reinterpret_cast<MOUSEHOOKSTRUCT*>(Info);
    HWND under = WindowFromPoint(mouse->pt);
    bool counts = true;
    if (Message == WM_RBUTTONUP || Message == WM_MBUTTONUP || Message == WM_NCRBUTTONUP || Message == WM_NCMBUTTONUP)
      counts = ChainWindowOf(under) != nullptr;
    TkwBarWindow* active = GetActiveBarControl();
    TkwBarManager* manager = active ? active->GetBarManager() : nullptr;
    if (counts && !(manager && manager->DraggingItem)) {
      for (int guard = 0; guard < 64; ++guard) {
        active = GetActiveBarControl();
        if (!active) break;
        bool overChain = ChainWindowOf(under) != nullptr;
        bool leftUpOutside = Message == WM_LBUTTONUP && !OverChainItem(under, mouse->pt) &&
                             (!active->IsSubMenu() || active->ParentBarControl());
        if ((IsButtonDown(Message) || leftUpOutside) && !overChain)
          active->HideAll();
        else
          break;
        if (GetActiveBarControl() == active) break;
      }
    }
    if (!counts || (mouse->hwnd && !IsWindowVisible(mouse->hwnd))) swallow = true;
  } catch (...) {
    // Nothing leaves a hook.
  }
  InMouseHook = false;
  if (swallow) return 1;
  return CallNextHookEx(MouseHook, Code, Message, Info);
}
}  // namespace

void InstallBarHooks(TkwBarManager* Manager) {
  if (std::find(HookUsers.begin(), HookUsers.end(), Manager) == HookUsers.end()) HookUsers.push_back(Manager);
  DWORD thread = GetCurrentThreadId();
  if (!KeyboardHook) KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, &KeyboardProc, nullptr, thread);
  if (!MouseHook) MouseHook = SetWindowsHookExA(WH_MOUSE, &MouseProc, nullptr, thread);
}

void RemoveBarHooks(TkwBarManager* Manager) {
  HookUsers.erase(std::remove(HookUsers.begin(), HookUsers.end(), Manager), HookUsers.end());
  if (!HookUsers.empty()) return;
  if (MouseHook) UnhookWindowsHookEx(MouseHook);
  if (KeyboardHook) UnhookWindowsHookEx(KeyboardHook);
  MouseHook = KeyboardHook = nullptr;
  AltPressedAlone = ForwardedKeyPending = false;
}

bool BarHooksInstalled() { return KeyboardHook != nullptr; }
