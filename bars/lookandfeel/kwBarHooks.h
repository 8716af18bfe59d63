// This file implements the thread hooks of the bar library, shared by every bar manager of the
// GUI thread: the keyboard hook sends keys to the active bar or menu window, opens the main menu
// when Alt (or F10) is pressed and released alone, and runs shortcuts and Alt accelerators of the
// bars from any focused control; the mouse hook closes the open menus when a click lands outside
// them. The first manager installs them, the last one removes them.
#pragma once

#include "kwBarTypes.h"

void InstallBarHooks(TkwBarManager* Manager);
void RemoveBarHooks(TkwBarManager* Manager);
bool BarHooksInstalled();
