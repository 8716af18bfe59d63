// This file implements the thread hooks of the bar library.
#include "kwBarHooks.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "Forms.h"
#include "UtilityWindow.h"
#include "kwBarHint.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarPopupMenu.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"

bool BarHooksSuspended = false;
bool BarKeyboardBlocked = false;

namespace {
HHOOK KeyboardHook = nullptr;
HHOOK MouseHook = nullptr;
HHOOK CallWndProcHook = nullptr;
std::vector<TkwBarManager*> HookUsers;
bool AltPressedAlone = false;
bool ForwardedKeyPending = false;
WPARAM ForwardedKey = 0;
bool InMouseHook = false;
bool InWndProcHook = false;

bool KeyDown(int Key) { return GetKeyState(Key) < 0; }

// The keys the hook takes for an open bar or menu, handed to it from the message loop once each
// key has left the input queue. Handled inside the hook, a command that opens a modal dialog would
// run its loop while the key is still first in the queue, and the dialog would take it again
// (Return pressing its default button). The relay is a window of its own: a key message posted to
// the bar window would go through the application's key translation first.
class TKeyRelay : public TObject {
 public:
  static constexpr UINT WM_RELAYKEY = WM_USER + 1;
  struct TKey {
    HWND Target;
    UINT Msg;
    WPARAM Key;
    LPARAM Info;
  };
  void Post(HWND Target, UINT Msg, WPARAM Key, LPARAM Info) {
    if (!FWindow) FWindow = AllocateHWnd(TWndMethod(this, &TKeyRelay::WndProc));
    FPending.push_back({Target, Msg, Key, Info});
    PostMessageA(FWindow, WM_RELAYKEY, 0, 0);
  }
  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_RELAYKEY) {
      Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (FPending.empty()) return;
    TKey key = FPending.front();
    FPending.pop_front();
    // The bar may have closed since: its window is then gone, or no longer a bar's.
    if (IsWindow(key.Target)) SendMessageA(key.Target, key.Msg, key.Key, key.Info);
  }

 private:
  HWND FWindow = nullptr;
  std::deque<TKey> FPending;
};

TKeyRelay& KeyRelay() {
  static TKeyRelay relay;
  return relay;
}

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
  if (!MenuManager && main && main != form && main->Enabled() &&
      (form->FormStyle() == fsNormal || form->FormStyle() == fsStayOnTop))
    if (TkwBarManager* mainManager = FindManagerOfForm(main); mainManager && mainManager->AllowCallFromAnotherForm)
      MenuManager = mainManager;
  if (!Manager) Manager = MenuManager;
}

// The control that holds the focus, and the manager of its form.
TWinControl* FocusedControl(TkwBarManager*& Manager) {
  Manager = nullptr;
  TWinControl* control = FindControlOfWindow(GetFocus());
  if (!control) return nullptr;
  Manager = FindManagerOfForm(GetParentForm(control));
  return control;
}

TkwBarWindow* MainMenuWindow(TkwBarManager* Manager) {
  TkwBar* bar = Manager ? Manager->MainMenuBar() : nullptr;
  TkwBarWindow* window = bar && bar->Visible() ? bar->GetControl() : nullptr;
  return window && window->HandleAllocated() && IsWindowVisible(window->Handle()) ? window : nullptr;
}

// The main menu bar first, then every other visible bar.
std::vector<TkwBar*> ShortCutBars(TkwBarManager* Manager) {
  std::vector<TkwBar*> bars;
  if (!Manager) return bars;
  if (Manager->MainMenuBar()) bars.push_back(Manager->MainMenuBar());
  for (int i = 0; Manager->Bars() && i < Manager->Bars()->Count(); ++i) {
    TkwBar* bar = Manager->Bars()->Items(i);
    if (!bar->IsMainMenu() && bar->Visible()) bars.push_back(bar);
  }
  return bars;
}

bool ExecuteShortCutIn(TkwBarManager* Manager, TShortCut ShortCut) {
  for (TkwBar* bar : ShortCutBars(Manager))
    if (bar->ItemLinks()->ExecuteShortCut(ShortCut)) return true;
  return false;
}

// The accelerator of a bar of Manager typed with Alt. A disabled item ends the search without
// effect; the only match is clicked (a sub-item opens its menu with its first entry selected),
// several matches select the first one.
bool RunAccelerator(TkwBarManager* Manager, WORD Key, int Shift) {
  for (TkwBar* bar : ShortCutBars(Manager)) {
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

// The modifiers as the keys taken so far left them: the state of the keyboard itself may be ahead
// of the key being handled (keys typed faster than they are taken).
bool ModifierDown(int Key) { return GetKeyState(Key) < 0; }

bool ProcessShortCut(TkwBarManager* Manager, TkwBarManager* MenuManager, WORD Key) {
  TShortCut shortCut = TShortCut(Key);
  if (ModifierDown(VK_SHIFT)) shortCut |= 0x2000;
  if (ModifierDown(VK_CONTROL)) shortCut |= 0x4000;
  bool alt = ModifierDown(VK_MENU);
  if (alt) shortCut |= 0x8000;
  // A popup menu linked to the focused control comes first.
  TkwBarManager* focusManager = nullptr;
  TWinControl* focused = FocusedControl(focusManager);
  if (focused && focusManager && focusManager->PopupMenuLinks()->ExecuteShortCutFor(focused, shortCut)) return true;
  if (ExecuteShortCutIn(Manager, shortCut)) return true;
  if (MenuManager != Manager && ExecuteShortCutIn(MenuManager, shortCut)) return true;
  if (!alt) return false;
  int shift = (ModifierDown(VK_SHIFT) ? 1 : 0) | (ModifierDown(VK_CONTROL) ? 4 : 0);
  if (RunAccelerator(Manager, Key, shift)) return true;
  return MenuManager != Manager && RunAccelerator(MenuManager, Key, shift);
}

// The context-menu key and Shift+F10: the popup menu linked to the focused control, at the caret.
bool ShowFocusedPopup() {
  TkwBarManager* manager = nullptr;
  TWinControl* control = FocusedControl(manager);
  if (!control || !manager) return false;
  return manager->PopupMenuLinks()->ShowPopupFor(control, GetFocus(), TPoint(-1, -1), true);
}

// What the keyboard hook decides for one key: true swallows it.
bool HandleKey(WPARAM Key, LPARAM Info) {
  bool up = (Info & 0x80000000) != 0;
  if (up && ForwardedKeyPending && Key == ForwardedKey) {
    ForwardedKeyPending = false;
    return true;
  }
  TkwBarWindow* active = GetActiveBarControl();
  TkwBarManager* activeManager = active ? active->GetBarManager() : nullptr;
  if (active && !(activeManager && activeManager->DetachingSubMenu)) {
    // An open in-place editor takes its keys itself (it passes on what the bar must see).
    TkwBarItemControl* selected = active->SelectedControl();
    bool editing = selected && selected->IsEditing();
    if (!active->IsCustomizing() && active->HandleAllocated() && !editing) {
      if (!up) {
        ForwardedKeyPending = true;
        ForwardedKey = Key;
      }
      // The key-up of a forwarded key is swallowed too, also when the key closed the menus: it
      // never reaches the focused control (an Alt released there would open the form's system
      // menu). The bar takes it from the message loop (see TKeyRelay).
      KeyRelay().Post(active->Handle(), up ? WM_KEYUP : WM_KEYDOWN, Key, Info);
      return true;
    }
    if (editing) return false;
    if (Key == VK_ESCAPE && active->HandleAllocated() && GetCapture() == active->Handle()) {
      ReleaseCapture();
      return true;
    }
  }
  if (GetCapture()) return false;
  bool shiftOnly = KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
  if ((Key == VK_APPS && up) || (Key == VK_F10 && !up && shiftOnly))
    if (ShowFocusedPopup()) return true;
  TkwBarManager *manager, *menuManager;
  ChooseManagers(manager, menuManager);
  if (!menuManager || menuManager->IsCustomizing() || menuManager->MenuModeBarControl()) return false;
  if (!up && Key == VK_MENU) {
    AltPressedAlone = true;
    return false;
  }
  if (!up) {
    AltPressedAlone = false;
    return ProcessShortCut(manager, menuManager, WORD(Key));
  }
  TkwBarWindow* main = MainMenuWindow(menuManager);
  bool alone = Key == VK_MENU && AltPressedAlone && !OtherKeyDown();
  bool f10 = Key == VK_F10 && menuManager->UseF10ForMenu && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) &&
             !KeyDown(VK_MENU);
  AltPressedAlone = false;
  if (main && (alone || f10)) {
    main->BeginMenuMode(nullptr);
    return true;
  }
  return false;
}

LRESULT CALLBACK KeyboardProc(int Code, WPARAM Key, LPARAM Info) {
  if (BarKeyboardBlocked) return 1;
  if (Code < 0 || Key == VK_PROCESSKEY) return CallNextHookEx(KeyboardHook, Code, Key, Info);
  bool swallow = false;
  try {
    swallow = HandleKey(Key, Info);
  } catch (...) {
    // Nothing leaves a hook: the key goes on as if unhandled.
  }
  if (BarHooksSuspended) return 0;
  if (swallow) return 1;
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

bool IsRightButtonUp(WPARAM Message) { return Message == WM_RBUTTONUP || Message == WM_NCRBUTTONUP; }

// Whether Wnd is a window of the active chain (from the active window up to its root), or a child
// of one (an item's edit window).
TkwBarWindow* ChainWindowOf(HWND Wnd) {
  for (TkwBarWindow* w = GetActiveBarControl(); w; w = w->ParentBarControl())
    if (w->HandleAllocated() && Wnd && (w->Handle() == Wnd || IsChild(w->Handle(), Wnd))) return w;
  return nullptr;
}

// Whether Wnd is the window that the selected control of the active window has dropped down (a
// combo's list), one of its children, or a popup it owns (a calendar's month list).
bool IsActiveDropDown(HWND Wnd) {
  TkwBarWindow* active = GetActiveBarControl();
  TkwBarItemControl* selected = active ? active->SelectedControl() : nullptr;
  HWND dropDown = selected ? selected->GetDropDownWindow() : nullptr;
  return dropDown && Wnd && (Wnd == dropDown || IsChild(dropDown, Wnd) || GetWindow(Wnd, GW_OWNER) == dropDown);
}

bool OverChainItem(HWND Wnd, POINT ScreenPoint) {
  TkwBarWindow* window = ChainWindowOf(Wnd);
  if (!window) return false;
  POINT p = ScreenPoint;
  ::ScreenToClient(window->Handle(), &p);
  return window->GetItemControlAtPos(TPoint(p.x, p.y)) != nullptr;
}

// The release of the right or middle press that closed the menus: it belongs to the menus too.
WPARAM SwallowedRelease = 0;

WPARAM ReleaseOf(WPARAM Press) {
  switch (Press) {
    case WM_RBUTTONDOWN: return WM_RBUTTONUP;
    case WM_NCRBUTTONDOWN: return WM_NCRBUTTONUP;
    case WM_MBUTTONDOWN: return WM_MBUTTONUP;
    case WM_NCMBUTTONDOWN: return WM_NCMBUTTONUP;
    default: return 0;
  }
}

// Closes the open menus on a click outside them; true swallows the message.
bool CloseMenusOnClick(WPARAM Message, const MOUSEHOOKSTRUCT* Mouse) {
  HWND under = WindowFromPoint(Mouse->pt);
  bool counts = true;
  if (Message == WM_RBUTTONUP || Message == WM_MBUTTONUP || Message == WM_NCRBUTTONUP || Message == WM_NCMBUTTONUP)
    counts = ChainWindowOf(under) != nullptr;
  TkwBarWindow* active = GetActiveBarControl();
  TkwBarManager* manager = active ? active->GetBarManager() : nullptr;
  if (counts && !(manager && manager->DraggingItem)) {
    for (int guard = 0; guard < 64; ++guard) {
      active = GetActiveBarControl();
      if (!active) break;
      bool overChain = ChainWindowOf(under) != nullptr || IsActiveDropDown(under);
      bool leftUpOutside = Message == WM_LBUTTONUP && !OverChainItem(under, Mouse->pt) &&
                           (!active->IsSubMenu() || active->ParentBarControl());
      if ((IsButtonDown(Message) || leftUpOutside) && !overChain) {
        SwallowedRelease = ReleaseOf(Message);
        active->HideAll();
      } else {
        break;
      }
      if (GetActiveBarControl() == active) break;
    }
  }
  return !counts || (Mouse->hwnd && !IsWindowVisible(Mouse->hwnd));
}

// A right click on a control with a popup-menu link opens that menu; true when it will show.
bool ShowClickedPopup(const MOUSEHOOKSTRUCT* Mouse) {
  TWinControl* control = FindControlOfWindow(Mouse->hwnd);
  if (!control) return false;
  TkwBarManager* manager = FindManagerOfForm(GetParentForm(control));
  if (!manager || !manager->PopupMenuLinks()->HasLinkFor(control)) return false;
  return manager->PopupMenuLinks()->ShowPopupFor(control, Mouse->hwnd, TPoint(Mouse->pt.x, Mouse->pt.y), true);
}

LRESULT CALLBACK MouseProc(int Code, WPARAM Message, LPARAM Info) {
  if (Code < 0 || InMouseHook) return CallNextHookEx(MouseHook, Code, Message, Info);
  InMouseHook = true;
  bool swallow = false;
  try {
    auto* mouse = reinterpret_cast<MOUSEHOOKSTRUCT*>(Info);
    if (SwallowedRelease && Message == SwallowedRelease) {
      SwallowedRelease = 0;
      swallow = true;
    } else if (GetActiveBarControl()) {
      swallow = CloseMenusOnClick(Message, mouse);
    } else if (IsRightButtonUp(Message)) {
      swallow = ShowClickedPopup(mouse);
    }
    if (IsButtonDown(Message) && ReleaseOf(Message) != SwallowedRelease) SwallowedRelease = 0;
  } catch (...) {
    // Nothing leaves a hook.
  }
  InMouseHook = false;
  if (swallow) return 1;
  return CallNextHookEx(MouseHook, Code, Message, Info);
}

bool IsMDIClient(HWND Wnd) {
  char name[32];
  return Wnd && GetClassNameA(Wnd, name, sizeof(name)) && lstrcmpiA(name, "MDICLIENT") == 0;
}

// The messages of a form reach its manager; a WM_ACTIVATE of a window without manager whose
// parent is a visible form with one reaches that one.
void HandFormMessage(const CWPSTRUCT* Message) {
  HWND target = Message->hwnd;
  UINT msg = Message->message;
  if (msg == WM_HELP) {
    // While a menu is open, help is the business of the form of its manager.
    if (TkwBarWindow* active = GetActiveBarControl()) {
      TkwBarManager* manager = active->GetBarManager();
      TCustomForm* form = manager ? manager->OwnerForm() : nullptr;
      if (form && form->HandleAllocated() && target != form->Handle() && !IsChild(form->Handle(), target)) {
        manager->HandleOwnerFormMessage(msg, Message->wParam, Message->lParam);
        return;
      }
    }
  }
  auto* form = dynamic_cast<TCustomForm*>(FindControl(target));
  if (TkwBarManager* manager = FindManagerOfForm(form)) {
    manager->HandleOwnerFormMessage(msg, Message->wParam, Message->lParam);
    return;
  }
  if (msg != WM_ACTIVATE) return;
  HWND parent = GetParent(target);
  auto* parentForm = dynamic_cast<TCustomForm*>(FindControl(parent));
  if (parentForm && IsWindowVisible(parent))
    if (TkwBarManager* manager = FindManagerOfForm(parentForm))
      manager->HandleOwnerFormMessage(msg, Message->wParam, Message->lParam);
}

LRESULT CALLBACK CallWndProc(int Code, WPARAM WParam, LPARAM LParam) {
  auto* message = reinterpret_cast<const CWPSTRUCT*>(LParam);
  if (Code >= 0 && message && !InWndProcHook) {
    InWndProcHook = true;
    try {
      HandFormMessage(message);
    } catch (...) {
      // Nothing leaves a hook.
    }
    InWndProcHook = false;
  }
  LRESULT result = CallNextHookEx(CallWndProcHook, Code, WParam, LParam);
  if (Code < 0 || !message) return result;
  UINT msg = message->message;
  if (msg != WM_DESTROY && msg != WM_CHILDACTIVATE && msg != WM_MDIACTIVATE) return result;
  HWND client = GetParent(message->hwnd);
  if (!IsMDIClient(client)) return result;
  try {
    auto* frame = dynamic_cast<TCustomForm*>(FindControl(GetParent(client)));
    if (TkwBarManager* manager = FindManagerOfForm(frame)) manager->RequestMDIChildChanged();
  } catch (...) {
    // Nothing leaves a hook.
  }
  return result;
}
}  // namespace

void HandBarKey(WPARAM Key, LPARAM Info, bool AltAlone) {
  bool suspended = BarHooksSuspended;
  BarHooksSuspended = true;
  if (AltAlone) AltPressedAlone = true;
  // The routine lets nothing leave it.
  KeyboardProc(HC_ACTION, Key, Info);
  BarHooksSuspended = suspended;
}

void InstallBarHooks(TkwBarManager* Manager) {
  if (std::find(HookUsers.begin(), HookUsers.end(), Manager) == HookUsers.end()) HookUsers.push_back(Manager);
  if (!Manager->IsDesigning()) CreateBarHintWindow();
  DWORD thread = GetCurrentThreadId();
  if (!KeyboardHook) KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, &KeyboardProc, nullptr, thread);
  if (!MouseHook) MouseHook = SetWindowsHookExA(WH_MOUSE, &MouseProc, nullptr, thread);
  if (!CallWndProcHook) CallWndProcHook = SetWindowsHookExA(WH_CALLWNDPROC, &CallWndProc, nullptr, thread);
}

void RemoveBarHooks(TkwBarManager* Manager) {
  HookUsers.erase(std::remove(HookUsers.begin(), HookUsers.end(), Manager), HookUsers.end());
  if (!HookUsers.empty()) return;
  if (CallWndProcHook) UnhookWindowsHookEx(CallWndProcHook);
  if (MouseHook) UnhookWindowsHookEx(MouseHook);
  if (KeyboardHook) UnhookWindowsHookEx(KeyboardHook);
  CallWndProcHook = MouseHook = KeyboardHook = nullptr;
  AltPressedAlone = ForwardedKeyPending = false;
  FreeBarHintWindow();
}

bool BarHooksInstalled() { return KeyboardHook != nullptr; }
HHOOK BarKeyboardHook() { return KeyboardHook; }
HHOOK BarMouseHook() { return MouseHook; }
HHOOK BarCallWndProcHook() { return CallWndProcHook; }
