// This file implements the item hints of the bar library: TkwBarHintWindow, the one tooltip
// window every bar manager of the process shows its hints in, and the hint's timing: shown
// 1,000 ms after it is asked for, hidden 10,000 ms later, and shown at once when asked for within
// 400 ms of the previous hint going (the manager's UpdateHint and ShowHintNow).
#pragma once

#include "Controls.h"
#include "kwBarTypes.h"

class TkwBarHintWindow : public TCustomControl {
  VELBOR_DECLARE_CLASS(TkwBarHintWindow, TCustomControl)
 public:
  // Hidden, in the info-background colour.
  explicit TkwBarHintWindow(TComponent* AOwner);
  // Sizes the window to the text within the work area, places it at the point (above it when it
  // would leave the bottom of the work area) and shows it topmost without taking the activation.
  virtual void ActivateHint(TPoint ScreenPoint, const String& Text, TkwBarManager* Manager);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// How long a hint waits before it shows, how long it shows, and the grace after it went.
inline constexpr int kwHintShowDelay = 1000;
inline constexpr int kwHintHideDelay = 10000;
inline constexpr int kwHintGrace = 400;

// The shared hint window: made with the first manager (outside design), freed with the last.
void CreateBarHintWindow();
void FreeBarHintWindow();
TkwBarHintWindow* BarHintWindow();
// The manager whose hint waits or shows (nullptr: none); whether one shows; whether the grace
// period runs.
TkwBarManager* BarHintManager();
bool BarHintShown();
bool BarHintInGrace();
// A manager goes: its pending hint is cancelled and a shown one hidden.
void ForgetBarHintManager(TkwBarManager* Manager);
// Kills the show (or auto-hide) timer; ends the grace period.
void CancelBarHintTimer();
void CancelBarHintGrace();
