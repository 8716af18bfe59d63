// This file implements TTimer: a component that fires OnTimer every Interval milliseconds while
// Enabled, through a timer of its own hidden window.
#pragma once

#include "Component.h"
#include "Controls.h"

class TTimer : public TComponent {
  VELBOR_DECLARE_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // In milliseconds; 0 stops the timer.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // Assigning or clearing the event starts or stops the timer as Enabled allows.
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

 protected:
  virtual void Timer();
  void Loaded() override;

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  HWND FWindowHandle = nullptr;
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
};
