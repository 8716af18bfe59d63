// This file implements the bar library's process-wide registries and routines: the item-class
// registry (which item-control class shows which item class), the live bar windows and the
// active one, the live managers, the temporary items of built-in menus, the window functions
// bound late from "USER32", the operating-system flags, the checker brush, window and mouse
// helpers (deepest child at a point, monitor work area, alpha blending, mouse-leave tracking),
// message pumping, menu sounds, bar fonts and themed colours. The library's start and end.
#pragma once

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Component.h"
#include "Controls.h"
#include "Forms.h"
#include "kwBarTypes.h"
#include "WinApi.h"
#include "kwThemes.h"

// --- Registries ---------------------------------------------------------------------------------

// Registers ItemClass (and for form streaming) with the control class that shows it; Listed:
// offered in the customizing window's lists.
void RegisterBarItemClass(TClass ItemClass, TClass ControlClass, bool Listed);
// Removes the first record of ItemClass.
void UnregisterBarItemClass(TClass ItemClass);
int GetListedItemClassCount();
TClass GetListedItemClass(int Index);
int BarItemClassRecordCount();
// The control class registered for exactly this item class (not an ancestor); nullptr when none.
TClass GetItemControlClass(TClass ItemClass);

void AddBarControl(TkwBarWindow* Window);
void RemoveBarControl(TkwBarWindow* Window);
// Whether P is a bar window that exists now (nullptr never is).
bool IsLiveBarControl(const void* P);
int LiveBarControlCount();
TkwBarWindow* LiveBarControl(int Index);
TkwBarWindow* GetActiveBarControl();
void SetActiveBarControl(TkwBarWindow* Window);

// The live managers, in creation order.
void AddBarManager(TkwBarManager* Manager);
void RemoveBarManager(TkwBarManager* Manager);
int BarManagerCount();
TkwBarManager* GetBarManager(int Index);
TkwBarManager* FindManagerOfForm(const TCustomForm* Form);
void NotifyDesignerOfManager(TkwBarManager* Manager);
// The class name without its first letter and the first free counter ("kwBarButton1").
String MakeUniqueItemName(TkwBarManager* Manager, TClass ItemClass);

// The items the library makes for built-in menus and owns.
void AddTemporaryItem(TkwBarItem* Item);
void RemoveTemporaryItem(TkwBarItem* Item);
bool IsTemporaryItem(const TkwBarItem* Item);
int TemporaryItemCount();
// Frees, last first, each temporary item that no link uses any more.
void FreeUnlinkedTemporaryItems();
TkwBarItemVisible VisibleToItemVisible(bool Visible);
// The item that shows a maximized MDI child's system menu first on the frame's main menu (the
// bar items library registers its class; without one, no such entry shows).
void SetMDISystemMenuItemClass(TClass ItemClass);
TClass MDISystemMenuItemClass();
// Whether the link shows that item.
bool IsMDISystemMenuLink(const TkwBarItemLink* Link);

// The customizing window belongs to a higher library, which registers what the managers and
// their bars tell it; with nothing registered, entering customizing mode opens no window.
struct TkwCustomizingFormHooks {
  void (*Show)(TkwBarManager* Manager, bool Show) = nullptr;
  // A bar's caption or visibility changed; a bar goes.
  void (*BarChanged)(TkwBar* Bar) = nullptr;
  void (*BarRemoved)(TkwBar* Bar) = nullptr;
  // One of the manager's options shown by the window changed.
  void (*OptionsChanged)(TkwBarManager* Manager) = nullptr;
};
TkwCustomizingFormHooks& CustomizingFormHooks();

// --- Late binding and system state --------------------------------------------------------------

// Entry points of "USER32" looked up by name; each may be missing (tests may clear one).
struct TkwLateUser32 {
  HMODULE Module = nullptr;
  BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
  BOOL(WINAPI* UpdateLayeredWindow)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD) = nullptr;
  BOOL(WINAPI* AnimateWindow)(HWND, DWORD, DWORD) = nullptr;
  BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
};
TkwLateUser32& LateUser32();

bool IsWin9x();
bool IsWin95();
// Menu-item queries use the 48-byte structure (else 44).
bool HasNewMenuInfo();
int ScreenColorDepth();
// 8 x 8 pattern: button highlight, with button-face pixels where row and column parity agree.
HBRUSH CheckerBrush();
// Normal glyphs are drawn lighter on screens deeper than 8 bits.
extern bool GlyphBlending;
// The system colours changed: the screen depth is read again and the checker brush remade.
void BarSystemColorsChanged();

// Starts the library once (flags, late binding, registries, drag cursors); ends it.
void StartBarLibrary();
void FinishBarLibrary();

// The drag cursors of the bar library.
inline constexpr TCursor crkwBarDrag = 1041;
inline constexpr TCursor crkwBarDragCopy = 1042;
inline constexpr TCursor crkwBarDragNoDrop = 1043;
inline constexpr TCursor crkwBarEditSizing = 1044;

// --- Windows ------------------------------------------------------------------------------------

// Up the chain of windows that opened one another (to the tool bar, or the top menu).
TkwBarWindow* GetRootBarControl(TkwBarWindow* Window);
// The same, but nullptr when the root is a menu.
TkwBarWindow* GetRootToolbarControl(TkwBarWindow* Window);
TkwBarWindow* GetItemControlRootBar(TkwBarItemControl* Control);
TkwBarWindow* GetItemControlRootToolbar(TkwBarItemControl* Control);
// The control object of the window or of its nearest ancestor that has one.
TWinControl* FindControlOfWindow(HWND Wnd);
bool IsChildWindowOf(HWND Wnd, HWND Ancestor);
HWND GetDeepestChildAtPoint(HWND Wnd, POINT ClientPoint);
HWND GetWindowAtScreenPoint(POINT ScreenPoint);
TRect GetMonitorWorkArea(TPoint ScreenPoint);
// Below 255 the window becomes layered with that constant alpha; at 255 it stops being layered.
void SetWindowAlphaBlend(HWND Wnd, BYTE Alpha);
// A tool bar docked left or right; and one whose bar turns its captions there.
bool IsVerticalBarControl(const TkwBarWindow* Window);
bool IsRotatedBarControl(const TkwBarWindow* Window);
bool IsPrimaryMouseButtonDown();
bool IsSecondaryMouseButtonDown();
// Deletes each "&" before the last character ("&&" keeps one).
String RemoveAmpersands(const String& Caption);
void EnsureMinItemWidth(int& Width);

// Mouse-leave tracking: with TrackMouseEvent when there is one, else a 50 ms timer comparing the
// window under the cursor. Ending it sends WM_MOUSELEAVE.
void BeginMouseLeaveTracking(HWND Wnd);
bool IsMouseLeaveTracked(HWND Wnd);
// The window whose mouse leaving is tracked (nullptr: none).
HWND MouseLeaveTrackedWindow();
void EndMouseLeaveTracking(HWND Wnd);

// Dispatches the queued mouse (paint) messages; a WM_QUIT met is posted again and ends the loop.
void DispatchMouseMessages();
void DispatchPaintMessages();

// --- Sounds, fonts, colours ---------------------------------------------------------------------

// 0 "MenuPopup", 1 "MenuCommand".
void PlayMenuSound(int Index);
// A new font of the same description.
TOwnedFont CloneFontHandle(HFONT Font);
// Replaces Handle with a font of Font; scaled: with the height of the icon-title font, at least 11
// pixels.
void CreateBarFontHandle(TFont* Font, TOwnedFont& Handle, bool Scaled);
COLORREF GetNearestScreenColor(TColor Color);
// 4 disabled, 6 read-only, 1 normal.
int GetEditThemeState(TWinControl* Edit);
COLORREF GetThemedEditFillColor(HTHEME Theme, int State);
COLORREF GetThemedEditTextColor(HTHEME Theme, int State);
COLORREF GetThemedToolbarColor();
