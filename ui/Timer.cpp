// This file implements TTimer.
#include "Timer.h"

#include "Forms.h"
#include "UtilityWindow.h"

VELBOR_IMPLEMENT_CLASS(TTimer)
VELBOR_PUBLISHED(TTimer,
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("Interval", &Self::Interval, &Self::SetInterval).Default(1000u),
  Prop("OnTimer", &Self::OnTimer, &Self::SetOnTimer))

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  if (ComponentState().Contains(csLoading)) return;
  if (FInterval != 0 && FEnabled && FOnTimer) {
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources("Pas assez de timers disponibles");
  }
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      Application->HandleException(this);
    }
    return;
  }
  Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}
