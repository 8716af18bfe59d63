// This file implements the program's one binding of the visual-styles services, made at run time
// from the visual-styles library: absent or inactive, every call answers false or null and the
// controls draw themselves.
#pragma once

#include "WinApi.h"

#include "Graphics.h"

namespace VisualStyles {
// The library is there and the system has visual styles on for this program.
bool Active();
// A theme class ("BUTTON", "TOOLBAR", "COMBOBOX") opened for Window (may be null); null when it
// could not be opened. Opening is slow: a control drawing many parts keeps one open.
HANDLE OpenClass(HWND Window, const char* ClassName);
void CloseClass(HANDLE Theme);
// Draws Part in State of an open theme class in Rect; Content (may be null) receives the part's
// content rectangle. False when the theme could not draw it.
bool DrawBackground(HANDLE Theme, HDC DC, int Part, int State, const TRect& Rect, TRect* Content = nullptr);
// Opens the class, draws one part and closes it again; false when themes are off or it failed.
bool DrawPart(HWND Window, HDC DC, const char* ClassName, int Part, int State, const TRect& Rect,
              TRect* Content = nullptr);
}  // namespace VisualStyles
