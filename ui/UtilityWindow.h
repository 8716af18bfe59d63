// This file implements utility windows: hidden windows whose messages go to a method of an object
// (timers, releasers, system notifications), not to a control.
#pragma once

#include "WinApi.h"

#include "Controls.h"

// A hidden window whose every message is passed to Method; the method calls DefWindowProcA for the
// messages it does not handle. An exception raised in it goes to the application's handler.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
