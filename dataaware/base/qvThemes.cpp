// This file implements the data-aware library's use of the visual-styles services (see qvThemes.h).
#include "qvThemes.h"

#include "VisualStyles.h"

bool (*qvThemesActive)() = &VisualStyles::Active;

bool qvDrawThemePart(HDC DC, const char* ClassName, int Part, int State, const TRect& Rect) {
  return VisualStyles::DrawPart(nullptr, DC, ClassName, Part, State, Rect);
}

bool TqvThemeData::Draw(HDC DC, int Part, int State, const TRect& Rect) {
  // Whether themes are on is the caller's question (asked once per frame: it is slow too).
  if (FTheme == nullptr && !FTried) {
    FTried = true;
    FTheme = VisualStyles::OpenClass(nullptr, FClassName);
  }
  return VisualStyles::DrawBackground(FTheme, DC, Part, State, Rect);
}

void TqvThemeData::Close() {
  VisualStyles::CloseClass(FTheme);
  FTheme = nullptr;
  FTried = false;
}
