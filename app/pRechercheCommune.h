// This file implements TfrmRechercheCommune, the commune picker of the record window: region,
// then department, then commune, and the chosen commune's code goes into the record's commune
// rows.
#pragma once

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"

class TOxLookupEdit;

class TfrmRechercheCommune : public TForm {
  VELBOR_DECLARE_CLASS(TfrmRechercheCommune, TForm)
 public:
  explicit TfrmRechercheCommune(TComponent* AOwner);
  ~TfrmRechercheCommune() override;

  // Components of the description.
  TLabel* lblRegion = nullptr;
  TLabel* lblDep = nullptr;
  TLabel* lblCommune = nullptr;
  TOxLookupEdit* OxLkeRegion = nullptr;
  TOxLookupEdit* OxLkeDep = nullptr;
  TOxLookupEdit* OxLkeCommune = nullptr;
  TBitBtn* bbtnOk = nullptr;
  TBitBtn* bbtnFermer = nullptr;

  // Handlers bound by the description.
  void bbtnOkClick(TObject* Sender);
  void bbtnFermerClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void OxLkeRegionExit(TObject* Sender);
  void OxLkeDepExit(TObject* Sender);

 protected:
  // The lookup edits take the record window's region, department and commune lists, which the
  // description cannot name (that window is made at run time).
  void Loaded() override;
};

extern TfrmRechercheCommune* frmRechercheCommune;
