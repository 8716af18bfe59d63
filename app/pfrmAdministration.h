// This file implements TfrmAdministration, the dialog that asks for the administrator password.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TfrmAdministration : public TForm {
  VELBOR_DECLARE_CLASS(TfrmAdministration, TForm)
 public:
  explicit TfrmAdministration(TComponent* AOwner) : TForm(AOwner) {}

  TLabel* Label1 = nullptr;
  TEdit* eMotDePasse = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnAnnuler = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void btnOkClick(TObject* Sender);
};
