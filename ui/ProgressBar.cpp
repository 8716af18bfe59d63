// This file implements TProgressBar over msctls_progress32: its range, position and steps.
#include "ComCtrls.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(TProgressBar)
VELBOR_PUBLISHED(TProgressBar,
  Prop("Min", &Self::Min, &Self::SetMin).Default(0),
  Prop("Max", &Self::Max, &Self::SetMax).Default(100),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("Step", &Self::Step, &Self::SetStep).Default(10),
  Prop("Orientation", &Self::Orientation, &Self::SetOrientation).Default(pbHorizontal),
  Prop("Smooth", &Self::Smooth, &Self::SetSmooth).Default(false))

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csOpaque};
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::SetMin(int Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

void TProgressBar::SetMax(int Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (FPosition > FMax) FPosition = FMax;
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

int TProgressBar::Position() const {
  return HandleAllocated() ? int(SendMessageA(FHandle, PBM_GETPOS, 0, 0)) : FPosition;
}

void TProgressBar::SetPosition(int Value) {
  FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

void TProgressBar::SetStep(int Value) {
  FStep = Value;
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETSTEP, WPARAM(FStep), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  FSmooth = Value;
  RecreateWnd();
}

// The native bar wraps to its minimum when a step passes the maximum; ours stops there.
void TProgressBar::StepIt() { StepBy(FStep); }

void TProgressBar::StepBy(int Delta) { SetPosition(Position() + Delta); }

void TProgressBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASSA);
  if (FOrientation == pbVertical) Params.Style |= PBS_VERTICAL;
  if (FSmooth) Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SendMessageA(FHandle, PBM_SETSTEP, WPARAM(FStep), 0);
  SendMessageA(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}
