// This file implements TButtonControl (the base of the controls over the native BUTTON) and
// TButton: a push button with Default (Return), Cancel (Escape) and ModalResult.
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TButtonControl)
VELBOR_PUBLISHED(TButtonControl,
  Prop("WordWrap", &Self::WordWrap, &Self::SetWordWrap).Default(false))

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  if (FWordWrap) Params.Style |= BS_MULTILINE;
}

// --- TButton ----------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TButton)
VELBOR_PUBLISHED(TButton,
  Prop("Default", &Self::Default, &Self::SetDefault).Default(false),
  Prop("Cancel", &Self::Cancel).Default(false),
  Prop("ModalResult", &Self::ModalResult).Idents(ModalResultIdents).Default(0))

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  // The click comes from the native button's notification, not from the mouse messages.
  ControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (HandleAllocated()) {
    TCustomForm* form = GetParentForm(this);
    // Return goes to the new default unless another button holds the focus.
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (!dynamic_cast<TButton*>(active)) {
      FActive = Value;
      SetButtonStyle(Value);
    }
  }
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  FActive = FDefault;
}

void TButton::SetButtonStyle(bool ADefault) {
  if (!HandleAllocated()) return;
  LONG style = ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongA(FHandle, GWL_STYLE) & 0x0F) != style) SendMessageA(FHandle, BM_SETSTYLE, WPARAM(style), 1);
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENTER:
    case CM_EXIT:
      // The button that holds the focus is the one Return clicks: the default frame follows it.
      TButtonControl::Dispatch(Message);
      if (TCustomForm* form = GetParentForm(this)) {
        TMessage changed{CM_FOCUSCHANGED, 0, LPARAM(Message.Msg == CM_ENTER ? this : nullptr), 0};
        std::vector<TWinControl*> all;
        form->GetTabOrderList(all);
        for (TWinControl* c : all) {
          if (dynamic_cast<TButton*>(c)) c->Perform(changed.Msg, changed.WParam, changed.LParam);
        }
      }
      break;
    default: TButtonControl::Dispatch(Message); break;
  }
}

void TButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& Message) {
  TWMKey key(Message);
  if (((key.CharCode() == VK_RETURN && FActive) || (key.CharCode() == VK_ESCAPE && Cancel)) &&
      KeyDataToShiftState(key.KeyData()).Empty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TButton::CMDialogChar(TMessage& Message) {
  TWMKey key(Message);
  if (IsAccel(key.CharCode(), Caption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// LParam: the button that took the focus, or nullptr when a button lost it.
void TButton::CMFocusChanged(TMessage& Message) {
  auto* sender = reinterpret_cast<TControl*>(Message.LParam);
  FActive = dynamic_cast<TButton*>(sender) ? sender == this : FDefault;
  SetButtonStyle(FActive);
}
