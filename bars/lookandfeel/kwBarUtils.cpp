// This file implements the bar library's registries and routines.
#include "kwBarUtils.h"

#include <algorithm>
#include <vector>

#include "Resources.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "kjControls.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarWindow.h"
#include "kwBars.h"
#include "kwOffice11Colors.h"

bool GlyphBlending = true;

namespace {
struct TItemClassRecord {
  TClass ItemClass;
  TClass ControlClass;
  bool Listed;
};
std::vector<TItemClassRecord> ItemClassRegistry;
std::vector<TkwBarWindow*> LiveBarControls;
TkwBarWindow* ActiveBarControl = nullptr;
std::vector<TkwBarManager*> ManagerList;
std::vector<TkwBarItem*> TemporaryItems;
TkwLateUser32 User32;
bool Started = false;
bool Win9x = false;
bool Win95 = false;
bool NewMenuInfo = true;
int ColorDepth = 32;
TOwnedBrush Checker;

// Mouse-leave emulation: the tracked window and its timer.
HWND TrackedWindow = nullptr;
UINT_PTR TrackingTimer = 0;

// An entry point of a module by name, as the function type the caller knows it by.
template <class F>
F ProcAddress(HMODULE Module, const char* Name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

void MakeCheckerBrush() {
  TBitmap pattern;
  pattern.SetPixelFormat(pf24bit);
  pattern.SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      pattern.Canvas()->SetPixels(x, y, (x % 2) == (y % 2) ? clBtnFace : clBtnHighlight);
  Checker.Reset(CreatePatternBrush(pattern.Handle()));
}

void ReadScreenDepth() {
  TWindowDC screen;
  ColorDepth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
}

void CALLBACK TrackingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    POINT p;
    GetCursorPos(&p);
    if (TrackedWindow && GetWindowAtScreenPoint(p) != TrackedWindow) EndMouseLeaveTracking(TrackedWindow);
  } catch (...) {
  }
}

struct TBarLibraryFinisher {
  ~TBarLibraryFinisher() { FinishBarLibrary(); }
} BarLibraryFinisher;
}  // namespace

// --- Start and end -----------------------------------------------------------------------------

void StartBarLibrary() {
  if (Started) return;
  Started = true;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExA(&version)) {
    Win9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    Win95 = Win9x && version.dwMinorVersion == 0;
    NewMenuInfo = (Win9x && version.dwMinorVersion > 0) ||
                  (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5);
  }
  User32.Module = LoadLibraryA("USER32");
  if (reinterpret_cast<INT_PTR>(User32.Module) > 32) {
    User32.TrackMouseEvent = ProcAddress<decltype(User32.TrackMouseEvent)>(User32.Module, "TrackMouseEvent");
    User32.UpdateLayeredWindow = ProcAddress<decltype(User32.UpdateLayeredWindow)>(User32.Module, "UpdateLayeredWindow");
    User32.AnimateWindow = ProcAddress<decltype(User32.AnimateWindow)>(User32.Module, "AnimateWindow");
    User32.SetLayeredWindowAttributes = ProcAddress<decltype(User32.SetLayeredWindowAttributes)>(User32.Module, "SetLayeredWindowAttributes");
  }
  ReadScreenDepth();
  MakeCheckerBrush();
  static const char* const cursors[4] = {"KWBARDRAGCURSOR", "KWBARDRAGCOPYCURSOR", "KWBARDRAGNODROPCURSOR",
                                         "KWBAREDITSIZINGCURSOR"};
  for (int i = 0; i < 4; ++i)
    if (HCURSOR cursor = LoadCursorA(MainInstance(), cursors[i])) Screen->SetCursors(crkwBarDrag + i, cursor);
  StartLookAndFeelControls();
}

void FinishBarLibrary() {
  if (!Started) return;
  for (auto it = ItemClassRegistry.rbegin(); it != ItemClassRegistry.rend(); ++it) UnRegisterClass(it->ItemClass);
  ItemClassRegistry.clear();
  LiveBarControls.clear();
  Checker.Reset();
  // Managers still alive belong to forms the program did not free; their owners would free them.
  ManagerList.clear();
  TemporaryItems.clear();
  if (reinterpret_cast<INT_PTR>(User32.Module) > 32) FreeLibrary(User32.Module);
  User32 = TkwLateUser32();
  Started = false;
}

TkwLateUser32& LateUser32() {
  StartBarLibrary();
  return User32;
}

bool IsWin9x() { return Win9x; }
bool IsWin95() { return Win95; }
bool HasNewMenuInfo() { return NewMenuInfo; }
int ScreenColorDepth() { return ColorDepth; }

HBRUSH CheckerBrush() {
  StartBarLibrary();
  return Checker;
}

void BarSystemColorsChanged() {
  ReadScreenDepth();
  MakeCheckerBrush();
}

// --- Registries ---------------------------------------------------------------------------------

void RegisterBarItemClass(TClass ItemClass, TClass ControlClass, bool Listed) {
  ItemClassRegistry.push_back({ItemClass, ControlClass, Listed});
  RegisterClass(ItemClass);
}

void UnregisterBarItemClass(TClass ItemClass) {
  auto it = std::find_if(ItemClassRegistry.begin(), ItemClassRegistry.end(),
                         [&](const TItemClassRecord& r) { return r.ItemClass == ItemClass; });
  if (it == ItemClassRegistry.end()) return;
  ItemClassRegistry.erase(it);
  UnRegisterClass(ItemClass);
}

int GetListedItemClassCount() {
  return int(std::count_if(ItemClassRegistry.begin(), ItemClassRegistry.end(),
                           [](const TItemClassRecord& r) { return r.Listed; }));
}

TClass GetListedItemClass(int Index) {
  int n = 0;
  for (const TItemClassRecord& r : ItemClassRegistry)
    if (r.Listed && n++ == Index) return r.ItemClass;
  return nullptr;
}

int BarItemClassRecordCount() { return int(ItemClassRegistry.size()); }

TClass GetItemControlClass(TClass ItemClass) {
  for (const TItemClassRecord& r : ItemClassRegistry)
    if (r.ItemClass == ItemClass) return r.ControlClass;
  return nullptr;
}

void AddBarControl(TkwBarWindow* Window) { LiveBarControls.push_back(Window); }

void RemoveBarControl(TkwBarWindow* Window) {
  LiveBarControls.erase(std::remove(LiveBarControls.begin(), LiveBarControls.end(), Window), LiveBarControls.end());
  if (ActiveBarControl == Window) ActiveBarControl = nullptr;
}

bool IsLiveBarControl(const void* P) {
  return P && std::find(LiveBarControls.begin(), LiveBarControls.end(), P) != LiveBarControls.end();
}

int LiveBarControlCount() { return int(LiveBarControls.size()); }
TkwBarWindow* LiveBarControl(int Index) { return LiveBarControls[std::size_t(Index)]; }
TkwBarWindow* GetActiveBarControl() { return ActiveBarControl; }
void SetActiveBarControl(TkwBarWindow* Window) { ActiveBarControl = Window; }

void AddBarManager(TkwBarManager* Manager) { ManagerList.push_back(Manager); }

void RemoveBarManager(TkwBarManager* Manager) {
  ManagerList.erase(std::remove(ManagerList.begin(), ManagerList.end(), Manager), ManagerList.end());
}

int BarManagerCount() { return int(ManagerList.size()); }
TkwBarManager* GetBarManager(int Index) { return ManagerList[std::size_t(Index)]; }

TkwBarManager* FindManagerOfForm(const TCustomForm* Form) {
  if (!Form) return nullptr;
  for (TkwBarManager* manager : ManagerList)
    if (manager->OwnerForm() == Form) return manager;
  return nullptr;
}

void NotifyDesignerOfManager(TkwBarManager* Manager) {
  if (Manager) Manager->DesignerModified();
}

String MakeUniqueItemName(TkwBarManager* Manager, TClass ItemClass) {
  String base = String(ItemClass->Name).substr(1);
  for (int n = 1;; ++n) {
    String name = base + IntToStr(n);
    bool taken = false;
    for (int i = 0; Manager && i < Manager->GetItemCount() && !taken; ++i)
      taken = SameText(Manager->GetItem(i)->Name(), name);
    if (!taken) return name;
  }
}

void AddTemporaryItem(TkwBarItem* Item) {
  if (!IsTemporaryItem(Item)) TemporaryItems.push_back(Item);
}

void RemoveTemporaryItem(TkwBarItem* Item) {
  TemporaryItems.erase(std::remove(TemporaryItems.begin(), TemporaryItems.end(), Item), TemporaryItems.end());
}

bool IsTemporaryItem(const TkwBarItem* Item) {
  return std::find(TemporaryItems.begin(), TemporaryItems.end(), Item) != TemporaryItems.end();
}

int TemporaryItemCount() { return int(TemporaryItems.size()); }

void FreeUnlinkedTemporaryItems() {
  for (int i = int(TemporaryItems.size()) - 1; i >= 0; --i) {
    if (i >= int(TemporaryItems.size())) continue;
    TkwBarItem* item = TemporaryItems[std::size_t(i)];
    if (item->GetLinkCount() == 0) delete item;  // leaves the list in its destructor
  }
}

TkwBarItemVisible VisibleToItemVisible(bool Visible) { return Visible ? ivAlways : ivNever; }

namespace {
TClass SystemMenuItemClass = nullptr;
}

void SetMDISystemMenuItemClass(TClass ItemClass) { SystemMenuItemClass = ItemClass; }
TClass MDISystemMenuItemClass() { return SystemMenuItemClass; }

TkwCustomizingFormHooks& CustomizingFormHooks() {
  static TkwCustomizingFormHooks hooks;
  return hooks;
}

bool IsMDISystemMenuLink(const TkwBarItemLink* Link) {
  return Link && Link->Item() && SystemMenuItemClass && Link->Item()->ClassType() == SystemMenuItemClass;
}

// --- Windows ------------------------------------------------------------------------------------

namespace {
// The window that opened Window: its parent bar window, or for a menu without one, the window of
// the item control that owns it.
TkwBarWindow* OpenerOf(TkwBarWindow* Window) {
  if (TkwBarWindow* parent = Window->ParentBarControl()) return IsLiveBarControl(parent) ? parent : nullptr;
  if (!Window->IsSubMenu()) return nullptr;
  TkwBarItemControl* owner = Window->OwnerItemControl();
  TkwBarWindow* window = owner ? owner->BarWindow() : nullptr;
  return IsLiveBarControl(window) ? window : nullptr;
}
}  // namespace

TkwBarWindow* GetRootBarControl(TkwBarWindow* Window) {
  TkwBarWindow* current = Window;
  while (current && !current->IsDestroying()) {
    TkwBarWindow* opener = OpenerOf(current);
    if (!opener || opener->IsDestroying()) break;
    current = opener;
  }
  return current;
}

TkwBarWindow* GetRootToolbarControl(TkwBarWindow* Window) {
  TkwBarWindow* root = GetRootBarControl(Window);
  return root && !root->IsSubMenu() ? root : nullptr;
}

TkwBarWindow* GetItemControlRootBar(TkwBarItemControl* Control) {
  return Control ? GetRootBarControl(Control->BarWindow()) : nullptr;
}

TkwBarWindow* GetItemControlRootToolbar(TkwBarItemControl* Control) {
  return Control ? GetRootToolbarControl(Control->BarWindow()) : nullptr;
}


TWinControl* FindControlOfWindow(HWND Wnd) {
  while (Wnd) {
    if (TWinControl* control = FindControl(Wnd)) return control;
    Wnd = GetParent(Wnd);
  }
  return nullptr;
}

bool IsChildWindowOf(HWND Wnd, HWND Ancestor) { return Wnd && Ancestor && IsChild(Ancestor, Wnd); }

HWND GetDeepestChildAtPoint(HWND Wnd, POINT ClientPoint) {
  HWND current = Wnd;
  POINT p = ClientPoint;
  for (;;) {
    HWND child = ChildWindowFromPointEx(current, p, CWP_SKIPINVISIBLE);
    if (!child || child == current) return current;
    MapWindowPoints(current, child, &p, 1);
    current = child;
  }
}

HWND GetWindowAtScreenPoint(POINT ScreenPoint) {
  HWND wnd = WindowFromPoint(ScreenPoint);
  if (!wnd) return nullptr;
  POINT p = ScreenPoint;
  ScreenToClient(wnd, &p);
  return GetDeepestChildAtPoint(wnd, p);
}

TRect GetMonitorWorkArea(TPoint ScreenPoint) {
  using TMonitorFromPoint = HMONITOR(WINAPI*)(POINT, DWORD);
  using TGetMonitorInfo = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
  TkwLateUser32& user32 = LateUser32();
  auto fromPoint = user32.Module ? ProcAddress<TMonitorFromPoint>(user32.Module, "MonitorFromPoint")
                                 : nullptr;
  auto getInfo = user32.Module ? ProcAddress<TGetMonitorInfo>(user32.Module, "GetMonitorInfoA")
                               : nullptr;
  if (fromPoint && getInfo) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (getInfo(fromPoint(POINT{ScreenPoint.X, ScreenPoint.Y}, MONITOR_DEFAULTTONEAREST), &info))
      return TRect(info.rcWork);
  }
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return TRect(work);
}

void SetWindowAlphaBlend(HWND Wnd, BYTE Alpha) {
  TkwLateUser32& user32 = LateUser32();
  if (!user32.SetLayeredWindowAttributes) return;
  LONG exStyle = GetWindowLongA(Wnd, GWL_EXSTYLE);
  if (Alpha < 255) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongA(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    user32.SetLayeredWindowAttributes(Wnd, 0, Alpha, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongA(Wnd, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
}

bool IsVerticalBarControl(const TkwBarWindow* Window) {
  return Window && !Window->IsSubMenu() && Window->Bar() &&
         (Window->DockingStyle() == dsLeft || Window->DockingStyle() == dsRight);
}

bool IsRotatedBarControl(const TkwBarWindow* Window) {
  return IsVerticalBarControl(Window) && Window->Bar()->RotateWhenVertical();
}

bool IsPrimaryMouseButtonDown() {
  int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

bool IsSecondaryMouseButtonDown() {
  int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_LBUTTON : VK_RBUTTON;
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

String RemoveAmpersands(const String& Caption) {
  String result = Caption;
  std::size_t i = 0;
  while (i + 1 < result.size()) {
    if (result[i] == '&') result.erase(i, 1);
    ++i;
  }
  return result;
}

void EnsureMinItemWidth(int& Width) {
  if (Width < 20) Width = 20;
}

// --- Mouse-leave tracking -----------------------------------------------------------------------

void BeginMouseLeaveTracking(HWND Wnd) {
  if (IsMouseLeaveTracked(Wnd)) return;
  TkwLateUser32& user32 = LateUser32();
  if (user32.TrackMouseEvent) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Wnd, 0};
    user32.TrackMouseEvent(&track);
    return;
  }
  if (TrackedWindow) EndMouseLeaveTracking(TrackedWindow);
  TrackedWindow = Wnd;
  TrackingTimer = SetTimer(nullptr, 0, 50, &TrackingTimerProc);
}

HWND MouseLeaveTrackedWindow() {
  TkwLateUser32& user32 = LateUser32();
  if (user32.TrackMouseEvent) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
    user32.TrackMouseEvent(&track);
    return (track.dwFlags & TME_LEAVE) ? track.hwndTrack : nullptr;
  }
  return TrackedWindow;
}

bool IsMouseLeaveTracked(HWND Wnd) { return Wnd && MouseLeaveTrackedWindow() == Wnd; }

void EndMouseLeaveTracking(HWND Wnd) {
  if (!IsMouseLeaveTracked(Wnd)) return;
  TkwLateUser32& user32 = LateUser32();
  if (user32.TrackMouseEvent) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_CANCEL | TME_LEAVE, Wnd, 0};
    user32.TrackMouseEvent(&track);
  } else {
    KillTimer(nullptr, TrackingTimer);
    TrackingTimer = 0;
    TrackedWindow = nullptr;
  }
  SendMessageA(Wnd, WM_MOUSELEAVE, 0, 0);
}

// --- Message pumping ----------------------------------------------------------------------------

namespace {
void DispatchRange(UINT First, UINT Last) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, First, Last, PM_NOREMOVE)) {
    int got = GetMessageA(&msg, nullptr, First, Last);
    if (got == -1) return;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    DispatchMessageA(&msg);
  }
}
}  // namespace

void DispatchMouseMessages() { DispatchRange(WM_MOUSEFIRST, 0x020A); }
void DispatchPaintMessages() { DispatchRange(WM_PAINT, WM_PAINT); }

// --- Sounds, fonts, colours ---------------------------------------------------------------------

void PlayMenuSound(int Index) {
  static const char* const aliases[2] = {"MenuPopup", "MenuCommand"};
  if (Index < 0 || Index > 1) return;
  PlaySoundA(aliases[Index], nullptr, SND_ALIAS | SND_NOWAIT | SND_NODEFAULT | SND_ASYNC);
}

TOwnedFont CloneFontHandle(HFONT Font) {
  LOGFONTA logFont{};
  if (!GetObjectA(Font, sizeof(logFont), &logFont)) return TOwnedFont();
  return TOwnedFont(CreateFontIndirectA(&logFont));
}

void CreateBarFontHandle(TFont* Font, TOwnedFont& Handle, bool Scaled) {
  Handle.Reset();
  if (!Scaled) {
    Handle = CloneFontHandle(Font->Handle());
    return;
  }
  LOGFONTA logFont{};
  GetObjectA(Font->Handle(), sizeof(logFont), &logFont);
  LOGFONTA iconTitle{};
  SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0);
  logFont.lfHeight = iconTitle.lfHeight;
  if (logFont.lfHeight > -11) logFont.lfHeight = -11;
  Handle.Reset(CreateFontIndirectA(&logFont));
}

COLORREF GetNearestScreenColor(TColor Color) { return NearestScreenColor(Color); }

int GetEditThemeState(TWinControl* Edit) {
  if (!Edit->Enabled()) return 4;
  if (Edit->HandleAllocated() && (GetWindowLongA(Edit->Handle(), GWL_STYLE) & ES_READONLY)) return 6;
  return 1;
}

COLORREF GetThemedEditFillColor(HTHEME Theme, int State) {
  COLORREF color = GetSysColor(COLOR_WINDOW);
  constexpr int EpEditText = 1, TmtFillColor = 3802;
  if (State == 4 && Theme && ThemeLibraryAvailable()) {
    COLORREF themed;
    if (SUCCEEDED(ThemeGetColor(Theme, EpEditText, State, TmtFillColor, &themed))) color = themed;
  }
  return color;
}

COLORREF GetThemedEditTextColor(HTHEME Theme, int State) {
  constexpr int EpEditText = 1, TmtTextColor = 3803;
  COLORREF themed;
  if (Theme && ThemeLibraryAvailable() && SUCCEEDED(ThemeGetColor(Theme, EpEditText, State, TmtTextColor, &themed)))
    return themed;
  return GetSysColor(State == 4 ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

COLORREF GetThemedToolbarColor() {
  constexpr int TmtFillColor = 3802;
  COLORREF themed;
  HTHEME theme = GetThemeHandleForKind(tkToolBar);
  if (theme && SUCCEEDED(ThemeGetColor(theme, 0, 0, TmtFillColor, &themed))) return themed;
  return GetSysColor(COLOR_BTNFACE);
}
