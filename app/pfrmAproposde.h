// This file implements TfrmAproposde, the about box: what the program is, its version read from
// the program file, and where its reference data comes from.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TfrmAproposde : public TForm {
  VELBOR_DECLARE_CLASS(TfrmAproposde, TForm)
 public:
  explicit TfrmAproposde(TComponent* AOwner) : TForm(AOwner) {}

  TMemo* Memo1 = nullptr;
  TButton* frmFermer = nullptr;
  TLabel* lblVersion = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void frmFermerClick(TObject* Sender);
};

extern TfrmAproposde* frmAproposde;
