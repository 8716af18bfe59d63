// This file implements TfrmDemarrage, the window shown while the program starts: no border,
// above the others, a gradient with the program's titles.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "OxGradient.h"
#include "StdCtrls.h"

class TfrmDemarrage : public TForm {
  VELBOR_DECLARE_CLASS(TfrmDemarrage, TForm)
 public:
  explicit TfrmDemarrage(TComponent* AOwner) : TForm(AOwner) {}

  TPanel* Panel1 = nullptr;
  TOxGradient* OxGradient1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;

  void FormDestroy(TObject* Sender);
};

// The start-up window while it exists; cleared when it is freed.
extern TfrmDemarrage* frmDemarrage;
