// This file implements the binding of the visual-styles services (see qvThemes.h).
#include "qvThemes.h"

#include <string>

namespace {

using HTHEME_ = HANDLE;

// The entry points; all null when the library is missing.
struct TThemeApi {
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  HTHEME_(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HTHEME_) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(HTHEME_, HDC, int, int, const RECT*, const RECT*) = nullptr;
};

template <class F>
void Bind(HMODULE Module, F& Entry, const char* Name) {
  Entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

const TThemeApi& ThemeApi() {
  static const TThemeApi Api = [] {
    TThemeApi A;
    if (HMODULE Module = LoadLibraryA("uxtheme.dll")) {
      Bind(Module, A.IsAppThemed, "IsAppThemed");
      Bind(Module, A.IsThemeActive, "IsThemeActive");
      Bind(Module, A.OpenThemeData, "OpenThemeData");
      Bind(Module, A.CloseThemeData, "CloseThemeData");
      Bind(Module, A.DrawThemeBackground, "DrawThemeBackground");
    }
    return A;
  }();
  return Api;
}

bool SystemThemesActive() {
  const TThemeApi& Api = ThemeApi();
  return Api.IsAppThemed && Api.IsThemeActive && Api.OpenThemeData && Api.DrawThemeBackground && Api.IsAppThemed() &&
         Api.IsThemeActive();
}

}  // namespace

bool (*qvThemesActive)() = &SystemThemesActive;

bool qvDrawThemePart(HDC DC, const char* ClassName, int Part, int State, const TRect& Rect) {
  if (!SystemThemesActive()) return false;
  const TThemeApi& Api = ThemeApi();
  std::u16string Name(ClassName, ClassName + std::char_traits<char>::length(ClassName));
  HTHEME_ Theme = Api.OpenThemeData(nullptr, reinterpret_cast<LPCWSTR>(Name.c_str()));
  if (!Theme) return false;
  RECT R = Rect;
  bool Drawn = SUCCEEDED(Api.DrawThemeBackground(Theme, DC, Part, State, &R, nullptr));
  if (Api.CloseThemeData) Api.CloseThemeData(Theme);
  return Drawn;
}


bool TqvThemeData::Draw(HDC DC, int Part, int State, const TRect& Rect) {
  // Whether themes are on is the caller's question (asked once per frame: it is slow too).
  const TThemeApi& Api = ThemeApi();
  if (Api.OpenThemeData == nullptr || Api.DrawThemeBackground == nullptr) return false;
  if (FTheme == nullptr && !FTried) {
    FTried = true;
    std::u16string Name(FClassName, FClassName + std::char_traits<char>::length(FClassName));
    FTheme = Api.OpenThemeData(nullptr, reinterpret_cast<LPCWSTR>(Name.c_str()));
  }
  if (FTheme == nullptr) return false;
  RECT R = Rect;
  return SUCCEEDED(Api.DrawThemeBackground(FTheme, DC, Part, State, &R, nullptr));
}

void TqvThemeData::Close() {
  if (FTheme != nullptr && ThemeApi().CloseThemeData) ThemeApi().CloseThemeData(FTheme);
  FTheme = nullptr;
  FTried = false;
}
