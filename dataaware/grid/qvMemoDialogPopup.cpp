// This file implements the record view's memo window (see qvMemoDialogPopup.h).
#include "qvMemoDialogPopup.h"

#include "Field.h"

VELBOR_IMPLEMENT_CLASS(TqvMemoDialogPopup)
VELBOR_PUBLISHED(TqvMemoDialogPopup,
  Prop("Field", &Self::Field, &Self::SetField),
  Prop("InvokingControl", &Self::InvokingControl, &Self::SetInvokingControl))

namespace {

// The record view finds the window by its class name (the grid's registration names it too).
struct TMemoPopupRegistration {
  TMemoPopupRegistration() { RegisterClass(TqvMemoDialogPopup::StaticClass()); }
} MemoPopupRegistration;

}  // namespace

void TqvMemoDialogPopup::SetField(TField* Value) {
  FField = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvMemoDialogPopup::SetInvokingControl(TWinControl* Value) {
  FControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvMemoDialogPopup::PreparePopup(TField* Field, TWinControl* Control, bool ViewOnly) {
  SetField(Field);
  SetInvokingControl(Control);
  TqvMemoAttributes Attributes = MemoAttributes();
  if (ViewOnly) Attributes.Include(mViewOnly);
  SetMemoAttributes(Attributes);
}

void TqvMemoDialogPopup::DoInitDialog(TqvMemoDlg* Dialog) {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(FControl)) {
    Dialog->Memo->SetSelStart(Edit->SelStart());
    Dialog->Memo->SetSelLength(0);
  }
  if (FControl != nullptr) Dialog->Memo->Font()->Assign(FControl->Font());
  if (FField != nullptr) Dialog->SetCaption(FField->DisplayLabel());
  TqvMemoDialog::DoInitDialog(Dialog);
}

void TqvMemoDialogPopup::Notification(TComponent* AComponent, TOperation Operation) {
  TqvMemoDialog::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FField) FField = nullptr;
  if (AComponent == FControl) FControl = nullptr;
}
