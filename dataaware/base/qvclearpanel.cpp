// This file implements TqvCustomTransparentPanel (see qvclearpanel.h).
#include "qvclearpanel.h"

VELBOR_IMPLEMENT_CLASS(TqvCustomTransparentPanel)

TqvCustomTransparentPanel::TqvCustomTransparentPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  // The panel shows no caption: its name does not become one.
  ControlStyle.Exclude(csSetCaption);
  SetTransparent(false);
  SetBevelOuter(bvRaised);
}

bool TqvCustomTransparentPanel::IsTransparent() const {
  return FTransparent && !ComponentState().Contains(csDesigning);
}

void TqvCustomTransparentPanel::SetTransparent(bool Value) {
  FTransparent = Value;
  if (Value) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  if (!ComponentState().Contains(csLoading) && HandleAllocated()) Invalidate();
}

void TqvCustomTransparentPanel::CreateParams(TCreateParams& Params) {
  TCustomPanel::CreateParams(Params);
  if (IsTransparent()) Params.ExStyle |= WS_EX_TRANSPARENT;
}

namespace {
void Bevel(TCanvas* Canvas, TRect& R, TBevelCut Cut, int Width) {
  if (Cut == bvNone) return;
  if (Cut == bvLowered) Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, Width);
  else Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, Width);
}
}  // namespace

void TqvCustomTransparentPanel::Paint() {
  if (!IsTransparent()) {
    TCustomPanel::Paint();
    return;
  }
  // Frames only: the parent shows through the rest.
  TRect R = ClientRect();
  Bevel(Canvas(), R, BevelOuter(), BevelWidth());
  Frame3D(Canvas(), R, Color(), Color(), BorderWidth());
  Bevel(Canvas(), R, BevelInner(), BevelWidth());
  if (HandleAllocated()) UpdateWindow(Handle());
}

void TqvCustomTransparentPanel::Invalidate() {
  if (IsTransparent() && Parent() != nullptr && Parent()->HandleAllocated()) {
    RECT Bounds = BoundsRect();
    InvalidateRect(Parent()->Handle(), &Bounds, TRUE);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
    return;
  }
  TCustomPanel::Invalidate();
}

void TqvCustomTransparentPanel::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomPanel::AlignControls(AControl, Rect);
  if (IsTransparent()) Invalidate();
}

void TqvCustomTransparentPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_MOVE: WMMove(Message); break;
    default: TCustomPanel::Dispatch(Message); break;
  }
}

void TqvCustomTransparentPanel::WMEraseBkgnd(TMessage& Message) {
  if (!IsTransparent()) {
    TCustomPanel::Dispatch(Message);
    return;
  }
  // Nothing erased: the parent's picture stays under the panel.
  Message.Result = 1;
}

void TqvCustomTransparentPanel::WMMove(TMessage& Message) {
  TCustomPanel::Dispatch(Message);
  if (IsTransparent()) Invalidate();
}
