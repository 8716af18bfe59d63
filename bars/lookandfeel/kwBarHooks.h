// This file implements the thread hooks of the bar library, shared by every bar manager of the
// GUI thread: the keyboard hook sends keys to the active bar or menu window, opens the main menu
// when Alt (or F10) is pressed and released alone, opens the popup menu linked to the focused
// control (the context-menu key, Shift+F10), and runs shortcuts and Alt accelerators of the bars
// from any focused control; the mouse hook closes the open menus when a click lands outside them
// and opens the popup menu linked to a control on a right click; the window-procedure hook hands
// the messages of a form to its manager and tells the frame's manager when its MDI children
// change. The first manager installs them, the last one removes them, with the shared hint
// window.
#pragma once

#include "WinApi.h"
#include "kwBarTypes.h"

void InstallBarHooks(TkwBarManager* Manager);
void RemoveBarHooks(TkwBarManager* Manager);
bool BarHooksInstalled();
// The hooks (nullptr when not installed).
HHOOK BarKeyboardHook();
HHOOK BarMouseHook();
HHOOK BarCallWndProcHook();

// The keyboard hook's routine for a key the hook did not see (an in-place editor hands on its
// system keys): nothing is chained. AltAlone: the key is the release of an Alt pressed alone,
// which opens the main menu.
void HandBarKey(WPARAM Key, LPARAM Info, bool AltAlone);

// While set, the keyboard hook still handles keys but passes none on and lets every one through.
extern bool BarHooksSuspended;
// While set, every key is swallowed.
extern bool BarKeyboardBlocked;
