// This file implements TfrmPreparationEtat, the small window shown above the others while a
// report is prepared.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TfrmPreparationEtat : public TForm {
  VELBOR_DECLARE_CLASS(TfrmPreparationEtat, TForm)
 public:
  explicit TfrmPreparationEtat(TComponent* AOwner) : TForm(AOwner) {}

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
};
// The instance is published through the data module's frmPreparationEtat (pdmVelbor.h).
