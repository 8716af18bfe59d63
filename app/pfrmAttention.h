// This file implements TfrmAttention, the non-modal notice that tells why a detail row was
// refused; closing it repairs the row.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfrmAttention : public TForm {
  VELBOR_DECLARE_CLASS(TfrmAttention, TForm)
 public:
  explicit TfrmAttention(TComponent* AOwner) : TForm(AOwner) {}

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Button1Click(TObject* Sender);
};

extern TfrmAttention* frmAttention;
