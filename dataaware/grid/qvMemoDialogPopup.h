// This file implements TqvMemoDialogPopup, the memo window that F2 opens in the record view's memo
// controls: a memo dialog that remembers the field and the control that opened it, and opens with
// the control's caret position and font and the field's label as its caption. The record view
// makes it by its registered class name and drives it through IqvMemoPopup.
#pragma once

#include "Qvmemo.h"
#include "qvRecordViewDialog.h"

class TqvMemoDialogPopup : public TqvMemoDialog, public IqvMemoPopup {
  VELBOR_DECLARE_CLASS(TqvMemoDialogPopup, TqvMemoDialog)
 public:
  explicit TqvMemoDialogPopup(TComponent* AOwner) : TqvMemoDialog(AOwner) {}

  // The field shown and the control that opened the window; cleared when either is freed.
  TField* Field() const { return FField; }
  void SetField(TField* Value);
  TWinControl* InvokingControl() const { return FControl; }
  void SetInvokingControl(TWinControl* Value);

  void PreparePopup(TField* Field, TWinControl* Control, bool ViewOnly) override;
  bool ExecutePopup() override { return Execute(); }

  // The memo's caret goes where the control's was, the memo takes the control's font, and the
  // window's caption is the field's label; then OnInitDialog.
  void DoInitDialog(TqvMemoDlg* Dialog) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TField* FField = nullptr;
  TWinControl* FControl = nullptr;
};
