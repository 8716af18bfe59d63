// This file implements TfrmAproposde, the about box.
#include "Object.h"
#include "pfrmAproposde.h"

#include <memory>

#include "OxVersionInfo.h"

TfrmAproposde* frmAproposde = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmAproposde)
VELBOR_HANDLERS(TfrmAproposde, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose), VELBOR_HANDLER(frmFermerClick))
VELBOR_FIELDS(TfrmAproposde, VELBOR_FIELD(Memo1), VELBOR_FIELD(frmFermer), VELBOR_FIELD(lblVersion))

namespace {

struct TfrmAproposdeClassRegistration {
  TfrmAproposdeClassRegistration() {
    for (TClass Class : {TMemo::StaticClass(), TLabel::StaticClass(), TButton::StaticClass()}) RegisterClass(Class);
  }
} frmAproposdeClassRegistration;

// What the program is and where its reference data comes from, with the data's licences.
const char* const kPresentation =
    "Velbor\r\n"
    "Inventaire des zones humides\r\n"
    "\r\n"
    "Saisie des fiches de l'inventaire national des zones humides : identification, localisation, "
    "fonctionnement, fonctions et valeurs, activités, statuts, habitats, espèces, bibliographie, "
    "diagnostic et historique ; tenue des dictionnaires de référence, impression des fiches et des "
    "listes, échanges avec l'organisme national.\r\n"
    "\r\n"
    "Régions, départements et communes : Code officiel géographique de l'INSEE, paquet "
    "@etalab/decoupage-administratif 6.0.0 d'Etalab. Données publiées sous la Licence Ouverte / "
    "Open Licence d'Etalab (https://www.etalab.gouv.fr/licence-ouverte-open-licence) ; code du "
    "paquet sous licence MIT."_a;

}  // namespace

void TfrmAproposde::FormCreate(TObject*) {
  Memo1->SetText(kPresentation);
  auto Version = std::make_unique<TOxVersionInfo>(Application->ExeName());
  lblVersion->SetCaption("Version : " + Version->GetFileVersion());
}

// The box lives for the whole run: closing only hides it.
void TfrmAproposde::FormClose(TObject*, TCloseAction&) {}

void TfrmAproposde::frmFermerClick(TObject*) { Close(); }
