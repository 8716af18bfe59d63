// This file implements the drawing of the stand-in visual style.
#include "StandInTheme.h"

#include "kwBarUtils.h"
#include "kwThemes.h"

namespace {
HRESULT WINAPI FakeDrawPart(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, const RECT*) {
  for (int kind = 0; kind < tkThemeKindCount; ++kind) {
    if (GetThemeHandleForKind(kind) != Theme) continue;
    TOwnedBrush brush(CreateSolidBrush(ThemePartColor(kind, Part, State)));
    FillRect(DC, Rect, brush);
    return S_OK;
  }
  return E_FAIL;
}

HRESULT WINAPI FakeContentRect(HTHEME, HDC, int, int, const RECT* Bounds, RECT* Content) {
  *Content = *Bounds;
  InflateRect(Content, -2, -2);
  return S_OK;
}

BOOL WINAPI FakePartiallyTransparent(HTHEME, int, int) { return FALSE; }

template <class F>
FARPROC AsProc(F Function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(Function));
}
}  // namespace

COLORREF ThemePartColor(int Kind, int Part, int State) {
  return RGB(40 + Kind * 8, 20 + Part * 12, 30 + State * 40);
}

void BindStandInThemeParts() {
  TkwThemeBinding& binding = ThemeBinding();
  binding.Entries[teDrawThemeBackground] = AsProc(&FakeDrawPart);
  binding.Entries[teGetThemeBackgroundContentRect] = AsProc(&FakeContentRect);
  binding.Entries[teIsThemeBackgroundPartiallyTransparent] = AsProc(&FakePartiallyTransparent);
}
