// This file implements TfrmPersonnalisation, the settings dialog.
#include "Object.h"
#include "pfrmPersonnalisation.h"

#include "IniFiles.h"
#include "pUtilZH.h"

TfrmPersonnalisation* frmPersonnalisation = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmPersonnalisation)
VELBOR_HANDLERS(TfrmPersonnalisation, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose), VELBOR_HANDLER(bbOkClick),
                VELBOR_HANDLER(bbFermerClick))
VELBOR_FIELDS(TfrmPersonnalisation, VELBOR_FIELD(Label1), VELBOR_FIELD(Label2), VELBOR_FIELD(eNom),
              VELBOR_FIELD(eOrganisme), VELBOR_FIELD(bbOk), VELBOR_FIELD(bbFermer))

namespace {

struct TfrmPersonnalisationClassRegistration {
  TfrmPersonnalisationClassRegistration() {
    for (TClass Class : {TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass()}) RegisterClass(Class);
  }
} frmPersonnalisationClassRegistration;

}  // namespace

void EcrireParametres(const String& Nom, const String& Organisme) {
  TMemIniFile Ini(kFichierParametres);
  Ini.WriteString(kSectionParametres, "nom", Nom);
  Ini.WriteString(kSectionParametres, "organisme", Organisme);
  Ini.UpdateFile();
}

void TfrmPersonnalisation::FormCreate(TObject*) {
  LireParametres();
  eNom->SetText(NomUtilisateur);
  eOrganisme->SetText(Organisme);
}

void TfrmPersonnalisation::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmPersonnalisation::bbOkClick(TObject*) {
  NomUtilisateur = eNom->Text();
  Organisme = eOrganisme->Text();
  EcrireParametres(NomUtilisateur, Organisme);
  Close();
}

void TfrmPersonnalisation::bbFermerClick(TObject*) { Close(); }
