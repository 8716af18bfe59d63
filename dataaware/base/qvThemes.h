// This file implements the data-aware library's use of the visual-styles services: whether they
// are on, and the drawing of a theme part, bound at run time from the visual-styles library
// (absent or inactive: themes are off and the controls draw themselves).
#pragma once

#include "WinApi.h"

#include "Graphics.h"

// Visual styles are on for this program. Tests may replace the function to stand for a
// themed system.
extern bool (*qvThemesActive)();
// Draws Part in State of the theme class ("BUTTON", "TOOLBAR") in Rect; false when it could not.
bool qvDrawThemePart(HDC DC, const char* ClassName, int Part, int State, const TRect& Rect);

// A theme class opened once and kept open for many drawings (opening one is slow): what a control
// that draws many theme parts per frame uses. Draw answers false when themes are off or the class
// could not be opened; whether themes are on is the caller's to ask first. Close (after a theme
// change) makes the next Draw open it again.
class TqvThemeData {
 public:
  explicit TqvThemeData(const char* ClassName) : FClassName(ClassName) {}
  ~TqvThemeData() { Close(); }
  TqvThemeData(const TqvThemeData&) = delete;
  TqvThemeData& operator=(const TqvThemeData&) = delete;
  bool Draw(HDC DC, int Part, int State, const TRect& Rect);
  void Close();

 private:
  const char* FClassName;
  HANDLE FTheme = nullptr;
  bool FTried = false;
};

// Parts and states of the two theme classes the buttons draw.
inline constexpr int qvThemeButtonPushButton = 1;  // "BUTTON"
inline constexpr int qvThemeToolbarButton = 1;     // "TOOLBAR"
inline constexpr int qvThemeNormal = 1, qvThemeHot = 2, qvThemePressed = 3, qvThemeDisabled = 4;
