// This file implements TCustomCheckBox, TCheckBox and TRadioButton over the native BUTTON
// control: the state is the control's own (the native button only shows it), so OnClick fires
// for the user's click and for a change made by the program alike.
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TCustomCheckBox)
VELBOR_PUBLISHED(TCustomCheckBox,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taRightJustify),
  Prop("AllowGrayed", &Self::AllowGrayed).Default(false),
  Prop("Checked", static_cast<bool (Self::*)() const>(&Self::Checked), &Self::SetChecked).Stored(false),
  Prop("State", &Self::State, &Self::SetState).Default(cbUnchecked))

VELBOR_IMPLEMENT_CLASS(TCheckBox)

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, WPARAM(Value), 0);
  if (!ClicksDisabled) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  // A three-state button that does not change itself: Toggle decides.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: TButtonControl::Dispatch(Message); break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message) {
  TWMKey key(Message);
  if (IsAccel(key.CharCode(), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// --- TRadioButton -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TRadioButton)
VELBOR_PUBLISHED(TRadioButton,
  Prop("Alignment", &Self::Alignment, &Self::SetAlignment).Default(taRightJustify),
  Prop("Checked", static_cast<bool (Self::*)() const>(&Self::Checked), &Self::SetChecked).Default(false))

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // Only the checked button of a group is reached by Tab; the arrows move inside the group.
  SetTabStop(Value);
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, WPARAM(Value), 0);
  if (Value) {
    if (TWinControl* parent = Parent()) {
      for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
        if (other && other != this) {
          bool saved = other->ClicksDisabled;
          other->ClicksDisabled = true;
          other->SetChecked(false);
          other->ClicksDisabled = saved;
        }
      }
    }
    if (!ClicksDisabled) Click();
  }
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, WPARAM(FChecked), 0);
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    default: TButtonControl::Dispatch(Message); break;
  }
}

void TRadioButton::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
    default: break;
  }
}

void TRadioButton::CMDialogChar(TMessage& Message) {
  TWMKey key(Message);
  if (IsAccel(key.CharCode(), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) SetChecked(true);
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// A radio button reached by the arrow keys is chosen; one being clicked is chosen by its click
// notification instead, and one focused by Tab or by the program only takes the focus.
void TRadioButton::WMSetFocus(TMessage& Message) {
  TButtonControl::Dispatch(Message);
  bool arrow = GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0 || GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0;
  if (!FChecked && arrow) SetChecked(true);
}
