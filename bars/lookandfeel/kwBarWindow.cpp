// This file implements the root of the bar and menu windows.
#include "kwBarWindow.h"

#include "Forms.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBars.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarWindow)

namespace {
TkwBarWindowClasses WindowClasses;
}

const TkwBarWindowClasses& BarWindowClasses() { return WindowClasses; }
void SetBarWindowClasses(const TkwBarWindowClasses& Classes) { WindowClasses = Classes; }

TkwBarWindow::TkwBarWindow(TkwBarManager* Manager, TkwBarItemLinks* Links) : TCustomControl(Manager), FLinks(Links) {
  AddBarControl(this);
  if (FLinks) FLinks->SetBarControl(this);
  ControlStyle.Exclude(csCaptureMouse);
  SetColor(clBtnFace);
}

TkwBarWindow::~TkwBarWindow() {
  Destroying();
  // A popup menu that goes without having closed is closed all the same: whoever waits for it
  // stops waiting.
  NotifyCloseUp();
  if (FActive) {
    FActive = false;
    if (GetActiveBarControl() == this) SetActiveBarControl(nullptr);
  }
  if (TkwBarManager* manager = GetBarManager()) {
    if (manager->SelectedItemControl() && manager->SelectedItemControl()->BarWindow() == this)
      manager->ForgetSelectedItemControl(manager->SelectedItemControl());
    if (manager->MenuModeBarControl() == this) manager->SetMenuModeBarControl(nullptr);
  }
  // The controls go with the window, which is no longer live for them.
  FSelectedControl = nullptr;
  RemoveBarControl(this);
  if (FLinks) {
    for (int i = 0; i < FLinks->Count(); ++i) FLinks->Items(i)->FreeItemControl();
    if (FLinks->BarControl() == this) FLinks->SetBarControl(nullptr);
  }
}

TkwBarManager* TkwBarWindow::GetBarManager() const { return dynamic_cast<TkwBarManager*>(Owner()); }

const TkwBarPainter* TkwBarWindow::GetPainter() const {
  TkwBarManager* manager = GetBarManager();
  return manager ? manager->Painter() : nullptr;
}

bool TkwBarWindow::IsCustomizing() const {
  TkwBarManager* manager = GetBarManager();
  return manager && manager->IsCustomizing();
}

bool TkwBarWindow::CanCustomizeItems() const {
  TkwBarManager* manager = GetBarManager();
  return manager && manager->IsDesigning();
}

TRect TkwBarWindow::GetItemRect(const TkwBarItemControl* Control) const {
  return Control && Control->Link() ? Control->Link()->ItemRect : TRect();
}

bool TkwBarWindow::HasItemControl(const TkwBarItemControl* Control) const {
  if (!Control || !FLinks) return false;
  for (int i = 0; i < FLinks->Count(); ++i)
    if (FLinks->Items(i)->Control() == Control) return true;
  return false;
}

void TkwBarWindow::CreateControls() {
  if (!FLinks) return;
  for (int i = 0; i < FLinks->GetVisibleItemCount(); ++i) FLinks->GetVisibleItem(i)->CreateItemControl();
}

void TkwBarWindow::DestroyControls() {
  if (!FLinks) return;
  FSelectedControl = nullptr;
  for (int i = 0; i < FLinks->Count(); ++i) FLinks->Items(i)->FreeItemControl();
}

void TkwBarWindow::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (Value) {
    SetActiveBarControl(this);
  } else {
    SetSelectedItem(nullptr);
    if (GetActiveBarControl() == this) SetActiveBarControl(nullptr);
  }
}

void TkwBarWindow::SetSelectedItem(TkwBarItemControl* Control) {
  if (Control == FSelectedControl) return;
  TkwBarItemControl* previous = FSelectedControl;
  FSelectedControl = Control;
  if (TkwBarManager* manager = GetBarManager()) manager->SetSelectedItemControl(Control);
  if (previous && HasItemControl(previous)) RepaintItem(previous);
  if (Control) RepaintItem(Control);
}

TkwBarItemControl* TkwBarWindow::GetItemControlAtPos(TPoint ClientPoint) const {
  if (!FLinks) return nullptr;
  for (int i = 0; i < FLinks->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = FLinks->GetShownItem(i);
    if (link->Control() && link->ItemRect.Contains(ClientPoint)) return link->Control();
  }
  return nullptr;
}

TkwBarItemControl* TkwBarWindow::HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) {
  Outside = false;
  FirstHalf = false;
  Vertical = IsSubMenu() || DockingStyle() == dsLeft || DockingStyle() == dsRight;
  if (!FLinks) return nullptr;
  TkwBarItemLink* last = nullptr;
  for (int i = 0; i < FLinks->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = FLinks->GetShownItem(i);
    if (!link->Control()) continue;
    const TRect& r = link->ItemRect;
    if (r.Contains(Point)) {
      FirstHalf = Vertical ? Point.Y < (r.Top + r.Bottom) / 2 : Point.X < (r.Left + r.Right) / 2;
      return link->Control();
    }
    last = link;
  }
  // Past the last link: its second half. In the gap before a link (where a group starts): that
  // link, outside it.
  if (!last) return nullptr;
  for (int i = 0; i < FLinks->GetShownItemCount(); ++i) {
    TkwBarItemLink* link = FLinks->GetShownItem(i);
    const TRect& r = link->ItemRect;
    if (!link->Control()) continue;
    bool before = Vertical ? Point.Y < r.Top && Point.X >= r.Left && Point.X < r.Right
                           : Point.X < r.Left && Point.Y >= r.Top && Point.Y < r.Bottom;
    if (before) {
      Outside = true;
      return link->Control();
    }
  }
  return last->Control();
}

void TkwBarWindow::BeginDrag(TPoint ScreenCursor) {
  TRect r = BoundsRect();
  if (HandleAllocated()) {
    RECT w;
    GetWindowRect(Handle(), &w);
    r = TRect(w);
  }
  FGrabOffset = TPoint(ScreenCursor.X - r.Left, ScreenCursor.Y - r.Top);
}

TPoint TkwBarWindow::GetDragOffset(TkwBarDockingStyle) { return FGrabOffset; }

void TkwBarWindow::ShowPopup(const TkwPopupRequest& Request) {
  FPopupRequest = Request;
  FPopupOpen = true;
  // A menu is a window of its own, owned by the window that opened it (else the manager's form).
  if (!Parent()) {
    HWND owner = Request.OwnerWindow;
    TkwBarManager* manager = GetBarManager();
    if (!owner && manager && manager->OwnerForm()) owner = manager->OwnerForm()->Handle();
    SetParentWindow(owner);
  }
  RepaintBar();
  SetBounds(Request.Point.X, Request.Point.Y, Width(), Height());
  SetVisible(true);
  SetActive(true);
  if (FPopupRequest.OnPopup) FPopupRequest.OnPopup(this);
}

void TkwBarWindow::NotifyCloseUp() {
  if (!FPopupOpen) return;
  FPopupOpen = false;
  TNotifyEvent closeUp = FPopupRequest.OnCloseUp;
  FPopupRequest = TkwPopupRequest();
  if (closeUp) closeUp(this);
}
