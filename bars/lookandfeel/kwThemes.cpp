// This file implements the binding to the visual-styles library and the theme state.
#include "kwThemes.h"

#include <algorithm>
#include <vector>

#include "Forms.h"
#include "TextOrder.h"
#include "UtilityWindow.h"

const char* const ThemeEntryNames[teEntryCount] = {
    "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "DrawThemeParentBackground",
    "DrawThemeText", "EnableThemeDialogTexture", "GetCurrentThemeName", "GetThemeAppProperties",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundRegion", "GetThemeBackgroundExtent", "GetThemeBool",
    "GetThemeColor", "GetThemeDocumentationProperty", "GetThemeEnumValue", "GetThemeFilename", "GetThemeFont",
    "GetThemeInt", "GetThemeIntList", "GetThemeMargins", "GetThemeMetric", "GetThemePartSize",
    "GetThemePosition", "GetThemePropertyOrigin", "GetThemeRect", "GetThemeString", "GetThemeSysBool",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysFont", "GetThemeSysInt", "GetThemeSysSize",
    "GetThemeSysString", "GetThemeTextExtent", "GetThemeTextMetrics", "GetWindowTheme", "HitTestThemeBackground",
    "IsAppThemed", "IsThemeActive", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent",
    "IsThemeDialogTextureEnabled", "OpenThemeData", "SetThemeAppProperties", "SetWindowTheme"};

const char16_t* const ThemeKindClassNames[tkThemeKindCount] = {
    u"Button", u"Clock",     u"ComboBox",   u"Edit",       u"ExplorerBar", u"Header",  u"ListView", u"Menu",
    u"Page",   u"Progress",  u"Rebar",      u"ScrollBar",  u"Spin",        u"StartPanel", u"Status", u"Tab",
    u"TaskBand", u"TaskBar", u"ToolBar",    u"ToolTip",    u"TrackBar",    u"TrayNotify", u"TreeView", u"Window"};

namespace {
TkwThemeBinding Binding;
bool Bound = false;

void Bind() {
  if (Bound) return;
  Bound = true;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  Binding.VersionSupported = GetVersionExA(&version) && IsThemeVersionSupported(version.dwMajorVersion,
                                                                                  version.dwMinorVersion);
  InitCommonControls();
  if (!Binding.VersionSupported) return;
  Binding.Library = LoadLibraryA("UxTheme.dll");
  if (!Binding.Library) return;
  for (int i = 0; i < teEntryCount; ++i) Binding.Entries[i] = GetProcAddress(Binding.Library, ThemeEntryNames[i]);
}

template <class F>
F Entry(TkwThemeEntry Index) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(Binding.Entries[Index]));
}

struct TThemeData {
  HTHEME Handle = nullptr;
  WideString ClassName;
};
TThemeData Cache[tkThemeKindCount];
bool ThemesActive = false;
std::vector<TkwThemeChangedNotificator*>* Notificators = nullptr;

// The receiver of WM_THEMECHANGED: closes the cached handles (they reopen lazily with the class
// they had), reads whether themes are active now and tells the notificators.
class TThemeChangeReceiver : public TObject {
 public:
  TThemeChangeReceiver() { FWindow = AllocateHWnd(TWndMethod(this, &TThemeChangeReceiver::WndProc)); }
  ~TThemeChangeReceiver() override {
    ThemesActive = false;
    DeallocateHWnd(FWindow);
  }
  HWND Window() const { return FWindow; }

 private:
  void WndProc(TMessage& Message) {
    if (Message.Msg != WM_THEMECHANGED) {
      Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    try {
      CloseAllThemeHandles();
      DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
      ThemesActive = ThemeIsActive() != 0;
      Message.Result = 0;
      if (Notificators) {
        std::size_t count = Notificators->size();
        for (std::size_t i = 0; i < count && i < Notificators->size(); ++i) {
          TkwThemeChangedNotificator* notificator = (*Notificators)[i];
          if (notificator->OnThemeChanged) notificator->OnThemeChanged();
        }
      }
    } catch (...) {
      HandleApplicationException(this);
    }
  }
  HWND FWindow = nullptr;
};
TThemeChangeReceiver* Receiver = nullptr;
bool ThemesStarted = false;
}  // namespace

TkwThemeBinding& ThemeBinding() {
  Bind();
  return Binding;
}

bool IsThemeVersionSupported(DWORD MajorVersion, DWORD MinorVersion) {
  return MajorVersion > 5 || (MajorVersion == 5 && MinorVersion >= 1);
}

bool ThemeLibraryAvailable() {
  Bind();
  return Binding.Library != nullptr;
}

HRESULT ThemeCloseData(HTHEME Theme) { return Entry<HRESULT(WINAPI*)(HTHEME)>(teCloseThemeData)(Theme); }

HRESULT ThemeDrawBackground(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, const RECT* ClipRect) {
  return Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*)>(teDrawThemeBackground)(
      Theme, DC, Part, State, Rect, ClipRect);
}

HRESULT ThemeGetCurrentName(LPWSTR FileName, int FileNameChars, LPWSTR ColorName, int ColorNameChars,
                            LPWSTR SizeName, int SizeNameChars) {
  return Entry<HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>(teGetCurrentThemeName)(
      FileName, FileNameChars, ColorName, ColorNameChars, SizeName, SizeNameChars);
}

HRESULT ThemeGetBackgroundContentRect(HTHEME Theme, HDC DC, int Part, int State, const RECT* BoundingRect,
                                      RECT* ContentRect) {
  return Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*)>(teGetThemeBackgroundContentRect)(
      Theme, DC, Part, State, BoundingRect, ContentRect);
}

HRESULT ThemeGetColor(HTHEME Theme, int Part, int State, int PropertyId, COLORREF* Color) {
  return Entry<HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*)>(teGetThemeColor)(Theme, Part, State,
                                                                                    PropertyId, Color);
}

HRESULT ThemeGetPartSize(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, THEMESIZE SizeKind,
                         SIZE* Size) {
  return Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*)>(teGetThemePartSize)(
      Theme, DC, Part, State, Rect, SizeKind, Size);
}

BOOL ThemeIsActive() { return Entry<BOOL(WINAPI*)()>(teIsThemeActive)(); }

BOOL ThemeIsBackgroundPartiallyTransparent(HTHEME Theme, int Part, int State) {
  return Entry<BOOL(WINAPI*)(HTHEME, int, int)>(teIsThemeBackgroundPartiallyTransparent)(Theme, Part, State);
}

HTHEME ThemeOpenData(HWND Window, LPCWSTR ClassList) {
  return Entry<HTHEME(WINAPI*)(HWND, LPCWSTR)>(teOpenThemeData)(Window, ClassList);
}

// --- Theme state ------------------------------------------------------------------------------

void StartThemes() {
  if (ThemesStarted) return;
  ThemesStarted = true;
  Bind();
  if (!ThemeLibraryAvailable()) return;
  ThemesActive = ThemeIsActive() != 0;
  Receiver = new TThemeChangeReceiver();
  Notificators = new std::vector<TkwThemeChangedNotificator*>();
}

void FinishThemes() {
  if (!ThemesStarted) return;
  if (ThemeLibraryAvailable()) {
    delete Receiver;
    Receiver = nullptr;
    CloseAllThemeHandles();
    delete Notificators;
    Notificators = nullptr;
  }
  for (TThemeData& data : Cache) data = TThemeData();
  ThemesActive = false;
  ThemesStarted = false;
}

HWND ThemeChangeReceiverWindow() {
  StartThemes();
  return Receiver ? Receiver->Window() : nullptr;
}

bool AreThemesUsable(TkwThemeKinds Kinds) {
  StartThemes();
  if (!ThemesActive || !ThemeLibraryAvailable()) return false;
  for (int kind = 0; kind < tkThemeKindCount; ++kind)
    if ((Kinds & (1u << kind)) && !GetThemeHandleForKind(kind)) return false;
  return true;
}

HTHEME GetThemeHandleForKind(int Kind, const WideString* ClassName) {
  if (Kind < 0 || Kind >= tkThemeKindCount || !AreThemesUsable()) return nullptr;
  TThemeData& data = Cache[Kind];
  if (data.Handle) {
    if (!ClassName || AnsiSameText(WideToAnsi(*ClassName), WideToAnsi(data.ClassName))) return data.Handle;
    CloseThemeHandle(Kind);
  }
  WideString name = ClassName ? *ClassName : !data.ClassName.empty() ? data.ClassName
                                                                        : WideString(ThemeKindClassNames[Kind]);
  HTHEME handle = ThemeOpenData(nullptr, reinterpret_cast<LPCWSTR>(name.c_str()));
  if (handle) {
    data.Handle = handle;
    data.ClassName = name;
  } else {
    data.ClassName.clear();
  }
  return handle;
}

HRESULT CloseThemeHandle(int Kind) {
  if (!AreThemesUsable()) return 1;
  if (Kind < 0 || Kind >= tkThemeKindCount || !Cache[Kind].Handle) return 0;
  HRESULT result = ThemeCloseData(Cache[Kind].Handle);
  Cache[Kind] = TThemeData();
  return result;
}

void CloseAllThemeHandles() {
  for (TThemeData& data : Cache)
    if (data.Handle) {
      if (ThemeLibraryAvailable()) ThemeCloseData(data.Handle);
      data.Handle = nullptr;
    }
}

WideString ThemeHandleClassName(int Kind) {
  return Kind >= 0 && Kind < tkThemeKindCount ? Cache[Kind].ClassName : WideString();
}

TkwThemeChangedNotificator::TkwThemeChangedNotificator() {
  StartThemes();
  if (ThemeLibraryAvailable() && Notificators) Notificators->push_back(this);
}

TkwThemeChangedNotificator::~TkwThemeChangedNotificator() {
  if (ThemeLibraryAvailable() && Notificators)
    Notificators->erase(std::remove(Notificators->begin(), Notificators->end(), this), Notificators->end());
}

int ThemeNotificatorCount() { return Notificators ? int(Notificators->size()) : 0; }
