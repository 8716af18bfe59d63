// This file implements the root of the dock sites.
#include "kwDockSite.h"

#include "kwBarManager.h"

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
