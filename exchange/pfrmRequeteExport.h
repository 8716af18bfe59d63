// This file implements TfrmRequeteExport, the modal dialog in which the operator chooses the first
// and last wetland codes of an inventory export.
#pragma once

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"

class TADOQuery;
class TDataSource;
class TOxDBLookupCombo;

class TfrmRequeteExport : public TForm {
  VELBOR_DECLARE_CLASS(TfrmRequeteExport, TForm)
 public:
  explicit TfrmRequeteExport(TComponent* AOwner);
  ~TfrmRequeteExport() override;

  // Components of the description.
  TADOQuery* ADOQuery = nullptr;
  TDataSource* DataSource = nullptr;
  TOxDBLookupCombo* OxDBLkcboDebut = nullptr;
  TLabel* Label1 = nullptr;
  TOxDBLookupCombo* OxDBLkcboFin = nullptr;
  TBitBtn* bbtnOk = nullptr;

  // Handlers bound by the description.
  void bbtnOkClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TfrmRequeteExport* frmRequeteExport;
