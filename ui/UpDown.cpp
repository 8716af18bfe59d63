// This file implements TCustomUpDown/TUpDown over msctls_updown32: range, position, increment,
// the associated control whose text shows the position, and the click and changing events.
#include "ComCtrls.h"

#include <algorithm>

VELBOR_IMPLEMENT_CLASS(TCustomUpDown)
VELBOR_PUBLISHED(TCustomUpDown,
  Prop("Associate", &Self::Associate, &Self::SetAssociate),
  Prop("Min", &Self::Min, &Self::SetMin).Default(0),
  Prop("Max", &Self::Max, &Self::SetMax).Default(100),
  Prop("Position", &Self::Position, &Self::SetPosition).Default(0),
  Prop("Increment", &Self::Increment, &Self::SetIncrement).Default(1),
  Prop("Orientation", &Self::Orientation, &Self::SetOrientation).Default(udVertical),
  Prop("AlignButton", &Self::AlignButton, &Self::SetAlignButton).Default(udRight),
  Prop("Wrap", &Self::Wrap, &Self::SetWrap).Default(false),
  Prop("ArrowKeys", &Self::ArrowKeys, &Self::SetArrowKeys).Default(true),
  Prop("Thousands", &Self::Thousands, &Self::SetThousands).Default(true),
  Prop("OnClick", &Self::OnClick),
  Prop("OnChanging", &Self::OnChanging))

VELBOR_IMPLEMENT_CLASS(TUpDown)

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  InitCommonControlClasses();
  ControlStyle = {csDoubleClicks, csOpaque};
  SetBounds(0, 0, 15, 21);
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
  if (FAssociate == Value) return;
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (FAssociate) FAssociate->FreeNotification(this);
  // The native control places itself beside its buddy when it is created with it.
  RecreateWnd();
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) SendMessageA(FHandle, UDM_SETBUDDY, 0, 0);
  }
}

void TCustomUpDown::SetMin(int Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (HandleAllocated()) SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

void TCustomUpDown::SetMax(int Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (HandleAllocated()) SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

int TCustomUpDown::Position() const {
  if (!HandleAllocated()) return FPosition;
  BOOL error = FALSE;
  int pos = int(SendMessageA(FHandle, UDM_GETPOS32, 0, LPARAM(&error)));
  return error ? FPosition : pos;
}

void TCustomUpDown::SetPosition(int Value) {
  FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (HandleAllocated()) SendMessageA(FHandle, UDM_SETPOS32, 0, LPARAM(FPosition));
}

void TCustomUpDown::SetIncrement(int Value) {
  if (FIncrement == Value) return;
  FIncrement = Value;
  if (HandleAllocated()) {
    UDACCEL accel{0, UINT(std::abs(FIncrement))};
    SendMessageA(FHandle, UDM_SETACCEL, 1, LPARAM(&accel));
  }
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  RecreateWnd();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value) {
  if (FAlignButton == Value) return;
  FAlignButton = Value;
  RecreateWnd();
}

void TCustomUpDown::SetWrap(bool Value) {
  if (FWrap == Value) return;
  FWrap = Value;
  RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool Value) {
  if (FArrowKeys == Value) return;
  FArrowKeys = Value;
  RecreateWnd();
}

void TCustomUpDown::SetThousands(bool Value) {
  if (FThousands == Value) return;
  FThousands = Value;
  RecreateWnd();
}

bool TCustomUpDown::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomUpDown::Click(TUDBtnType Button) {
  if (OnClick) OnClick(this, Button);
}

void TCustomUpDown::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASSA);
  Params.Style |= UDS_SETBUDDYINT;
  if (FAssociate) Params.Style |= FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FWrap) Params.Style |= UDS_WRAP;
  if (FArrowKeys) Params.Style |= UDS_ARROWKEYS;
  if (!FThousands) Params.Style |= UDS_NOTHOUSANDS;
}

void TCustomUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  UDACCEL accel{0, UINT(std::abs(FIncrement))};
  SendMessageA(FHandle, UDM_SETACCEL, 1, LPARAM(&accel));
  if (FAssociate) {
    SendMessageA(FHandle, UDM_SETBUDDY, WPARAM(FAssociate->Handle()), 0);
    // The native control moved itself beside the buddy (and narrowed it): the objects follow.
    UpdateBounds();
    if (FAssociate->HandleAllocated()) {
      RECT r;
      GetWindowRect(FAssociate->Handle(), &r);
      MapWindowPoints(nullptr, GetParent(FAssociate->Handle()), reinterpret_cast<POINT*>(&r), 2);
      FAssociate->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
  }
  SendMessageA(FHandle, UDM_SETPOS32, 0, LPARAM(FPosition));
}

void TCustomUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_HSCROLL:
    case CN_VSCROLL: CNScroll(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TCustomUpDown::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (hdr->code == UDN_DELTAPOS) {
    // A non-zero answer keeps the position.
    FLastDelta = reinterpret_cast<NMUPDOWN*>(hdr)->iDelta;
    Message.Result = CanChange() ? 0 : 1;
    return;
  }
  TWinControl::Dispatch(Message);
}

// The native control reports each step as a scroll message once the position moved.
void TCustomUpDown::CNScroll(TMessage& Message) {
  if (LOWORD(Message.WParam) == SB_ENDSCROLL) return;
  FPosition = Position();
  Click(FLastDelta >= 0 ? btNext : btPrev);
}
