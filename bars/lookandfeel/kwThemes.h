// This file implements the binding to the visual-styles library: "UxTheme.dll" loaded at run
// time (only on systems from the version that has it), its 46 entry points bound by name, thin
// wrappers over the ones the libraries call; the flag that themes are usable now, the cache of
// one open theme handle per theme class, and the hidden window that hears of theme changes and
// tells the registered notificators (TkwThemeChangedNotificator).
#pragma once

#include "WinApi.h"

#include "AnsiString.h"
#include "Event.h"
#include "Object.h"

// The entry points, in their binding order.
enum TkwThemeEntry {
  teCloseThemeData, teDrawThemeBackground, teDrawThemeEdge, teDrawThemeIcon, teDrawThemeParentBackground,
  teDrawThemeText, teEnableThemeDialogTexture, teGetCurrentThemeName, teGetThemeAppProperties,
  teGetThemeBackgroundContentRect, teGetThemeBackgroundRegion, teGetThemeBackgroundExtent, teGetThemeBool,
  teGetThemeColor, teGetThemeDocumentationProperty, teGetThemeEnumValue, teGetThemeFilename, teGetThemeFont,
  teGetThemeInt, teGetThemeIntList, teGetThemeMargins, teGetThemeMetric, teGetThemePartSize,
  teGetThemePosition, teGetThemePropertyOrigin, teGetThemeRect, teGetThemeString, teGetThemeSysBool,
  teGetThemeSysColor, teGetThemeSysColorBrush, teGetThemeSysFont, teGetThemeSysInt, teGetThemeSysSize,
  teGetThemeSysString, teGetThemeTextExtent, teGetThemeTextMetrics, teGetWindowTheme, teHitTestThemeBackground,
  teIsAppThemed, teIsThemeActive, teIsThemePartDefined, teIsThemeBackgroundPartiallyTransparent,
  teIsThemeDialogTextureEnabled, teOpenThemeData, teSetThemeAppProperties, teSetWindowTheme,
  teEntryCount
};
extern const char* const ThemeEntryNames[teEntryCount];

// The binding's state. Tests may put their own functions into Entries (and a non-zero Library)
// to stand for a visual style; the binding is otherwise made once, when first needed.
struct TkwThemeBinding {
  HMODULE Library = nullptr;
  bool VersionSupported = false;
  FARPROC Entries[teEntryCount] = {};
};
TkwThemeBinding& ThemeBinding();

// The version test: Windows XP (5.1) and later have the visual-styles library.
bool IsThemeVersionSupported(DWORD MajorVersion, DWORD MinorVersion);
bool ThemeLibraryAvailable();

// Wrappers, called only while the library is available.
HRESULT ThemeCloseData(HTHEME Theme);
HRESULT ThemeDrawBackground(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, const RECT* ClipRect);
HRESULT ThemeGetCurrentName(LPWSTR FileName, int FileNameChars, LPWSTR ColorName, int ColorNameChars,
                            LPWSTR SizeName, int SizeNameChars);
HRESULT ThemeGetBackgroundContentRect(HTHEME Theme, HDC DC, int Part, int State, const RECT* BoundingRect,
                                      RECT* ContentRect);
HRESULT ThemeGetColor(HTHEME Theme, int Part, int State, int PropertyId, COLORREF* Color);
HRESULT ThemeGetPartSize(HTHEME Theme, HDC DC, int Part, int State, const RECT* Rect, THEMESIZE SizeKind,
                         SIZE* Size);
BOOL ThemeIsActive();
BOOL ThemeIsBackgroundPartiallyTransparent(HTHEME Theme, int Part, int State);
HTHEME ThemeOpenData(HWND Window, LPCWSTR ClassList);

// Theme classes, by kind (0 to 23); the drawing code asks for ComboBox, Edit, Progress, Rebar,
// ScrollBar, Spin, Status, ToolBar and Window.
enum TkwThemeKind {
  tkButton, tkClock, tkComboBox, tkEdit, tkExplorerBar, tkHeader, tkListView, tkMenu, tkPage, tkProgress,
  tkRebar, tkScrollBar, tkSpin, tkStartPanel, tkStatus, tkTab, tkTaskBand, tkTaskBar, tkToolBar, tkToolTip,
  tkTrackBar, tkTrayNotify, tkTreeView, tkWindow, tkThemeKindCount
};
// A set of kinds, one bit each.
using TkwThemeKinds = unsigned;
extern const char16_t* const ThemeKindClassNames[tkThemeKindCount];

// Themes are active and the library is loaded; with kinds, each of them also opens.
bool AreThemesUsable(TkwThemeKinds Kinds = 0);
// The cached handle of a kind, opened on demand (with ClassName, or the class it had, or the
// kind's default class); 0 when themes are not usable or the class does not open.
HTHEME GetThemeHandleForKind(int Kind, const WideString* ClassName = nullptr);
// 1 when themes are not usable, 0 when nothing is cached, else CloseThemeData's result.
HRESULT CloseThemeHandle(int Kind);
// Closes every cached handle; the class names stay, for the next opening.
void CloseAllThemeHandles();
// The class name a kind was last opened with ("" when none).
WideString ThemeHandleClassName(int Kind);

// Told after every theme change.
class TkwThemeChangedNotificator : public TObject {
 public:
  // Joins the list of notificators when the library is available.
  TkwThemeChangedNotificator();
  ~TkwThemeChangedNotificator() override;
  TEvent<void()> OnThemeChanged;
};
int ThemeNotificatorCount();

// The hidden window that receives WM_THEMECHANGED (nullptr without the library).
HWND ThemeChangeReceiverWindow();
// Starts the theme state (the binding, then the receiver); idempotent.
void StartThemes();
// The theme-change unit's end: the receiver goes (themes are no longer active), the handles are
// closed. Not run at exit: the receiver is a window.
void FinishThemes();
