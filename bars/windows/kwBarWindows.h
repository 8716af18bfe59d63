// This file implements what installs the bar windows library into the bar manager core: the
// makers of its windows and dock sites, its painters by style, its classes for the form reader,
// and the commands a bar window posts to itself when it must go (re-docking, closing), carried
// out once the message that asked for them is over.
#pragma once

#include "kwBarTypes.h"

// Registers the windows, dock sites and painters with the core, and the published dock site with
// the form reader. Call once before the first bar manager is made; later calls do nothing.
void RegisterBarWindowClasses();

// Commands on a bar carried out from the message loop (the bar's window may be on the call stack
// when they are asked for). A bar freed meanwhile is skipped.
enum TkwBarCommand { kwbcToggleDocking, kwbcClose };
void PostBarCommand(TkwBar* Bar, TkwBarCommand Command);
// Carries out the pending commands now (the message loop does it otherwise).
void RunPendingBarCommands();
