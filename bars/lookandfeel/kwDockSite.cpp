// This file implements the root of the dock sites.
#include "kwDockSite.h"

#include <algorithm>

#include "kwBarManager.h"
#include "kwBarWindow.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwDockSite)

TkwDockSite::TkwDockSite(TComponent* AOwner, TkwBarDockingStyle FixedStyle)
    : TCustomControl(AOwner), FFixedStyle(FixedStyle) {}

TkwDockSite::~TkwDockSite() {
  Destroying();
  SetBarManager(nullptr);
}

void TkwDockSite::SetBarManager(TkwBarManager* Value) {
  if (Value == FBarManager) return;
  if (FBarManager) {
    TkwBarManager* old = FBarManager;
    FBarManager = nullptr;
    old->RemoveDockControl(this);
  }
  FBarManager = Value;
  if (FBarManager) {
    FBarManager->AddDockControl(this);
    FBarManager->FreeNotification(this);
  }
  if (!ComponentState().Contains(csDestroying)) ManagerChanged();
}

void TkwDockSite::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBarManager) FBarManager = nullptr;
}

void TkwDockSite::UpdateColor() {
  if (!FBarManager || FBarManager->AutoDockColor())
    SetParentColor(true);
  else
    SetColor(FBarManager->DockColor());
}

void TkwDockSite::RefreshStyle() {
  UpdateColor();
  UpdateLayout();
  RefreshFrame();
}

int TkwDockSite::GetDockSize() const {
  return FFixedStyle == dsLeft || FFixedStyle == dsRight ? Width() : Height();
}

void TkwDockSite::SetDockSize(int Value) {
  if (FFixedStyle == dsLeft || FFixedStyle == dsRight)
    SetWidth(Value);
  else
    SetHeight(Value);
}

TRect TkwDockSite::GetDockingZone() {
  constexpr int Margin = 8;
  RECT r{0, 0, 0, 0};
  if (HandleAllocated()) GetWindowRect(Handle(), &r);
  TRect zone(r);
  // An empty edge site has no thickness: its zone is a strip along the form's edge.
  switch (FFixedStyle) {
    case dsLeft: zone.Right = std::max(zone.Right, zone.Left + Margin); break;
    case dsRight: zone.Left = std::min(zone.Left, zone.Right - Margin); break;
    case dsTop: zone.Bottom = std::max(zone.Bottom, zone.Top + Margin); break;
    case dsBottom: zone.Top = std::min(zone.Top, zone.Bottom - Margin); break;
    default: break;
  }
  return TRect(zone.Left - Margin, zone.Top - Margin, zone.Right + Margin, zone.Bottom + Margin);
}

TPoint TkwDockSite::GetRowPoint(TkwBarWindow* Window, TPoint ScreenCursor) {
  RECT r{0, 0, 0, 0};
  if (Window && Window->HandleAllocated()) GetWindowRect(Window->Handle(), &r);
  bool vertical = DockingStyle() == dsLeft || DockingStyle() == dsRight;
  return vertical ? TPoint(r.left, ScreenCursor.Y) : TPoint(ScreenCursor.X, r.top);
}
