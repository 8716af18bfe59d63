// This file implements the run-time binding of the visual-styles services (see VisualStyles.h).
#include "VisualStyles.h"

#include <string>

namespace VisualStyles {
namespace {

// The entry points; all null when the library is missing.
struct TThemeApi {
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  HANDLE(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HANDLE) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(HANDLE, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* GetThemeBackgroundContentRect)(HANDLE, HDC, int, int, const RECT*, RECT*) = nullptr;
};

template <class F>
void Bind(HMODULE Module, F& Entry, const char* Name) {
  Entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

// Bound on first use: the library is loaded only by programs that draw themed parts.
const TThemeApi& ThemeApi() {
  static const TThemeApi Api = [] {
    TThemeApi A;
    if (HMODULE Module = LoadLibraryA("uxtheme.dll")) {
      Bind(Module, A.IsAppThemed, "IsAppThemed");
      Bind(Module, A.IsThemeActive, "IsThemeActive");
      Bind(Module, A.OpenThemeData, "OpenThemeData");
      Bind(Module, A.CloseThemeData, "CloseThemeData");
      Bind(Module, A.DrawThemeBackground, "DrawThemeBackground");
      Bind(Module, A.GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    }
    return A;
  }();
  return Api;
}

}  // namespace

bool Active() {
  const TThemeApi& Api = ThemeApi();
  return Api.IsAppThemed && Api.IsThemeActive && Api.OpenThemeData && Api.DrawThemeBackground && Api.IsAppThemed() &&
         Api.IsThemeActive();
}

HANDLE OpenClass(HWND Window, const char* ClassName) {
  const TThemeApi& Api = ThemeApi();
  if (Api.OpenThemeData == nullptr) return nullptr;
  std::u16string Name(ClassName, ClassName + std::char_traits<char>::length(ClassName));
  return Api.OpenThemeData(Window, reinterpret_cast<LPCWSTR>(Name.c_str()));
}

void CloseClass(HANDLE Theme) {
  if (Theme != nullptr && ThemeApi().CloseThemeData) ThemeApi().CloseThemeData(Theme);
}

bool DrawBackground(HANDLE Theme, HDC DC, int Part, int State, const TRect& Rect, TRect* Content) {
  const TThemeApi& Api = ThemeApi();
  if (Theme == nullptr || Api.DrawThemeBackground == nullptr) return false;
  RECT R = Rect;
  if (!SUCCEEDED(Api.DrawThemeBackground(Theme, DC, Part, State, &R, nullptr))) return false;
  if (Content != nullptr) {
    RECT Inner = R;
    if (Api.GetThemeBackgroundContentRect) Api.GetThemeBackgroundContentRect(Theme, DC, Part, State, &R, &Inner);
    *Content = Inner;
  }
  return true;
}

bool DrawPart(HWND Window, HDC DC, const char* ClassName, int Part, int State, const TRect& Rect, TRect* Content) {
  if (!Active()) return false;
  HANDLE Theme = OpenClass(Window, ClassName);
  bool Drawn = DrawBackground(Theme, DC, Part, State, Rect, Content);
  CloseClass(Theme);
  return Drawn;
}

}  // namespace VisualStyles
