// This file implements the drawing of the stand-in visual style the XP painter is tested and
// measured with: its parts are solid rectangles in a colour made from their class, part and state,
// their content lies two pixels inside, and none is partly transparent.
#pragma once

#include "WinApi.h"

// The colour the stand-in visual style paints a part in.
COLORREF ThemePartColor(int Kind, int Part, int State);
// Binds the drawing entries of the stand-in style (a TFakeVisualStyle must be in force: its theme
// handles are the ones these entries know).
void BindStandInThemeParts();
