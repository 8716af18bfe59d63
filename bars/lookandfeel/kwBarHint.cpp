// This file implements the item hints of the bar library: the shared hint window and the
// managers' requests for it.
#include "kwBarHint.h"

#include "Forms.h"
#include "Menus.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"

namespace {
TkwBarHintWindow* HintWindow = nullptr;
TkwBarManager* HintManager = nullptr;
String HintText;
bool HintShown = false;
UINT_PTR ShowTimer = 0;
UINT_PTR GraceTimer = 0;
bool InGrace = false;

bool HintVisible() { return HintWindow && HintWindow->HandleAllocated() && IsWindowVisible(HintWindow->Handle()); }

void HideHintWindow() {
  if (HintVisible()) ShowWindow(HintWindow->Handle(), SW_HIDE);
}

void CALLBACK GraceTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    CancelBarHintGrace();
  } catch (...) {
  }
}

void CALLBACK ShowTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    TkwBarManager* manager = HintManager;
    CancelBarHintTimer();
    if (manager && !manager->IsDestroying()) manager->ShowHintNow();
  } catch (...) {
  }
}

void CALLBACK HideTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  try {
    TkwBarManager* manager = HintManager;
    CancelBarHintTimer();
    if (manager && !manager->IsDestroying())
      manager->UpdateHint(false, String());
    else
      HideHintWindow();
  } catch (...) {
  }
}

// Whether the manager has something to show: an explicit text, or a selected item control in a
// window that is not in menu mode.
bool HintWanted(TkwBarManager* Manager, const String& Text) {
  if (!Text.empty()) return true;
  TkwBarItemControl* control = Manager->SelectedItemControl();
  TkwBarWindow* window = control ? control->BarWindow() : nullptr;
  return window && IsLiveBarControl(window) && !window->IsActive();
}

// The item control under the cursor: of a live bar window there.
TkwBarItemControl* ControlUnderCursor(POINT Cursor) {
  HWND under = WindowFromPoint(Cursor);
  for (int i = 0; i < LiveBarControlCount(); ++i) {
    TkwBarWindow* window = LiveBarControl(i);
    if (!window->HandleAllocated() || window->Handle() != under) continue;
    TPoint client = window->ScreenToClient(TPoint(Cursor.x, Cursor.y));
    return window->GetItemControlAtPos(client);
  }
  return nullptr;
}
}  // namespace

// --- The window ---------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarHintWindow)

TkwBarHintWindow::TkwBarHintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Canvas()->Brush()->SetStyle(bsClear);
}

void TkwBarHintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
}

void TkwBarHintWindow::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  DrawEdge(Canvas()->Handle(), AsRECT(r), BDR_RAISEDOUTER, BF_RECT);
  r = TRect(r.Left + 3, r.Top + 3, r.Right - 1, r.Bottom - 1);
  Canvas()->Font()->Assign(Font());
  Canvas()->Brush()->SetStyle(bsClear);
  String text = Text();
  DrawTextA(Canvas()->Handle(), text.c_str(), int(text.size()), AsRECT(r), DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK);
}

void TkwBarHintWindow::ActivateHint(TPoint ScreenPoint, const String& Text, TkwBarManager* Manager) {
  SetText(Text);
  if (Manager && Manager->UseSystemFont()) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      Font()->SetHandle(CreateFontIndirectA(&metrics.lfStatusFont));
    else
      Font()->SetSize(8);
  } else if (Manager) {
    Font()->Assign(Manager->Font());
  }
  Font()->SetColor(Screen->HintFont()->Color());
  SetColor(Application->HintColor);
  TRect work = GetMonitorWorkArea(ScreenPoint);
  RECT r{0, 0, work.Width(), 0};
  {
    TWindowDC dc(Handle());
    TSelectedObject font(dc, Font()->Handle());
    DrawTextA(dc, Text.c_str(), int(Text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  int width = r.right - r.left + 6;
  int height = r.bottom - r.top + 6;
  int left = ScreenPoint.X;
  int top = ScreenPoint.Y;
  if (left + width > work.Right) left = work.Right - width;
  if (top + height > work.Bottom) top = ScreenPoint.Y - 50;
  if (left < work.Left) left = work.Left;
  if (top < work.Top) top = work.Top;
  SetBounds(left, top, width, height);
  Invalidate();
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

// --- Shared state -------------------------------------------------------------------------------

void CreateBarHintWindow() {
  if (!HintWindow) HintWindow = new TkwBarHintWindow(nullptr);
}

void FreeBarHintWindow() {
  CancelBarHintTimer();
  CancelBarHintGrace();
  TkwBarHintWindow* window = HintWindow;
  HintWindow = nullptr;
  HintManager = nullptr;
  HintShown = false;
  delete window;
}

TkwBarHintWindow* BarHintWindow() { return HintWindow; }
TkwBarManager* BarHintManager() { return HintManager; }
bool BarHintShown() { return HintShown; }
bool BarHintInGrace() { return InGrace; }

void ForgetBarHintManager(TkwBarManager* Manager) {
  if (HintManager != Manager) return;
  CancelBarHintTimer();
  CancelBarHintGrace();
  HideHintWindow();
  HintShown = false;
  HintManager = nullptr;
}

void CancelBarHintTimer() {
  if (ShowTimer) KillTimer(nullptr, ShowTimer);
  ShowTimer = 0;
}

void CancelBarHintGrace() {
  if (GraceTimer) KillTimer(nullptr, GraceTimer);
  GraceTimer = 0;
  InGrace = false;
}

// --- The managers' requests ---------------------------------------------------------------------

void TkwBarManager::UpdateHint(bool Show, const String& Text) {
  if (IsCustomizing() || !FShowHint) return;
  HintText = Text;
  HintShown = false;
  CancelBarHintTimer();
  if (Show && HintWanted(this, Text)) {
    if (HintVisible() || InGrace) {
      ShowHintNow();
      return;
    }
    HintManager = this;
    ShowTimer = SetTimer(nullptr, 0, kwHintShowDelay, &ShowTimerProc);
    return;
  }
  if (!HintVisible()) return;
  HideHintWindow();
  if (!Show) return;
  // The next hint asked for soon shows at once.
  CancelBarHintGrace();
  InGrace = true;
  GraceTimer = SetTimer(nullptr, 0, kwHintGrace, &GraceTimerProc);
}

void TkwBarManager::ShowHintNow() {
  if (!HintWindow || !HintWanted(this, HintText)) return;
  POINT cursor;
  GetCursorPos(&cursor);
  TkwBarItemControl* control = nullptr;
  if (HintText.empty()) {
    control = FSelectedItemControl;
    if (ControlUnderCursor(cursor) != control) return;
  }
  TPoint point(cursor.x, cursor.y + 20);
  String text = control ? GetShortHint(control->GetHint()) : HintText;
  if (control && control->GetItem() && !control->GetItem()->DoActionHint(text)) {
    UpdateHint(false, String());
    return;
  }
  bool enabled = !control || control->GetEnabled() || ShowHintForDisabledItems;
  if (text.empty() || !enabled) {
    HideHintWindow();
    return;
  }
  if (control && (FShowShortCutInHint || (Application.Exists() && Application->HintShortCuts))) {
    String shortCut = ShortCutToText(control->GetShortCut());
    if (!shortCut.empty()) text += " (" + shortCut + ")";
  }
  HintWindow->ActivateHint(point, text, this);
  HintShown = true;
  HintManager = this;
  CancelBarHintTimer();
  ShowTimer = SetTimer(nullptr, 0, kwHintHideDelay, &HideTimerProc);
}
