// This file implements TfrmRechercheCommune, the commune picker.
#include "Object.h"
#include "pRechercheCommune.h"

#include "ADODB.h"
#include "OxLookupEdit.h"
#include "pFrmZoneHumide.h"
#include "pRecherche.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"

TfrmRechercheCommune* frmRechercheCommune = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmRechercheCommune)
VELBOR_HANDLERS(TfrmRechercheCommune, VELBOR_HANDLER(bbtnOkClick), VELBOR_HANDLER(bbtnFermerClick),
                VELBOR_HANDLER(FormClose), VELBOR_HANDLER(OxLkeRegionExit), VELBOR_HANDLER(OxLkeDepExit))
VELBOR_FIELDS(TfrmRechercheCommune, VELBOR_FIELD(lblRegion), VELBOR_FIELD(lblDep), VELBOR_FIELD(lblCommune),
              VELBOR_FIELD(OxLkeRegion), VELBOR_FIELD(OxLkeDep), VELBOR_FIELD(OxLkeCommune), VELBOR_FIELD(bbtnOk),
              VELBOR_FIELD(bbtnFermer))

namespace {
TfrmZoneHumide* FenetreFiches() {
  auto* Fiche = dynamic_cast<TfrmZoneHumide*>(frmZoneHumide);
  return FormExiste(Fiche) ? Fiche : nullptr;
}
}  // namespace

TfrmRechercheCommune::TfrmRechercheCommune(TComponent* AOwner) : TForm(AOwner) { RegisterRechercheClasses(); }

TfrmRechercheCommune::~TfrmRechercheCommune() {
  if (frmRechercheCommune == this) frmRechercheCommune = nullptr;
}

void TfrmRechercheCommune::Loaded() {
  TForm::Loaded();
  if (TfrmZoneHumide* Fiche = FenetreFiches()) {
    OxLkeRegion->SetLookupSource(Fiche->dsqRegion);
    OxLkeDep->SetLookupSource(Fiche->dsqDep);
    OxLkeCommune->SetLookupSource(Fiche->dsqCommune);
  }
}

void TfrmRechercheCommune::OxLkeRegionExit(TObject*) {
  if (TfrmZoneHumide* Fiche = FenetreFiches())
    RestreindreDepartements(Fiche->qDep, OxLkeRegion->Text(), OxLkeRegion->GetLookupValue());
}

void TfrmRechercheCommune::OxLkeDepExit(TObject*) {
  if (TfrmZoneHumide* Fiche = FenetreFiches())
    RestreindreCommunes(Fiche->qCommune, OxLkeDep->Text(), OxLkeDep->GetLookupValue());
}

void TfrmRechercheCommune::bbtnOkClick(TObject*) {
  String Code = OxLkeCommune->GetLookupValue();
  if (Code.empty()) return;
  TDataSet* Communes = dmVelbor->qCommune;
  if (Communes->State() != dsEdit && Communes->State() != dsInsert) Communes->Append();
  Communes->FieldByName("COM_CODE")->SetAsString(Code);
  Close();
}

void TfrmRechercheCommune::bbtnFermerClick(TObject*) { Close(); }

void TfrmRechercheCommune::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
