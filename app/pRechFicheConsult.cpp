// This file implements TfrmRechFicheConsult, the consultation search.
#include "Object.h"
#include "pRechFicheConsult.h"

#include "ADODB.h"
#include "Dialogs.h"
#include "OxFilenameEdit.h"
#include "OxLookOut.h"
#include "ScopeGuard.h"
#include "Variant.h"
#include "StrUtils.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"

TfrmRechFicheConsult* frmRechFicheConsult = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmRechFicheConsult)
VELBOR_HANDLERS(TfrmRechFicheConsult, VELBOR_HANDLER(FormCreate))

TfrmRechFicheConsult::TfrmRechFicheConsult(TComponent* AOwner) : TfrmRecherche(AOwner) {}

TfrmRechFicheConsult::~TfrmRechFicheConsult() {
  if (frmRechFicheConsult == this) frmRechFicheConsult = nullptr;
}

String SqlListeRecherche(const String& SqlRecherche) {
  // The values are parameters: the one "*" of the text is the column list.
  String Sql = SqlRecherche;
  std::size_t Etoile = Sql.find('*');
  if (Etoile != String::npos) Sql.replace(Etoile, 1, "ZH_CODE,ZH_NOM ");
  return Sql;
}

void TfrmRechFicheConsult::FormCreate(TObject*) {
  // The record window showed the hourglass while the dialog was made.
  Screen->SetCursor(crDefault);
}

void TfrmRechFicheConsult::bbOkClick(TObject* Sender) {
  TfrmRecherche::bbOkClick(Sender);
  if (SqlRecherche.empty()) return;
  TADOQuery* Liste = dmVelbor->qListeZoneHumide;
  // The list as it was, its text and the values of its parameters (it may show an earlier search).
  String Avant = Liste->SQL()->Text();
  std::vector<std::pair<String, Variant>> ValeursAvant;
  for (int i = 0; i < Liste->Parameters()->Count(); ++i)
    ValeursAvant.emplace_back(Liste->Parameters()->Items(i)->Name(), Liste->Parameters()->Items(i)->Value());
  {
    Screen->SetCursor(crHourGlass);
    TScopeGuard restore([] { Screen->SetCursor(crDefault); });
    Liste->Close();
    Liste->SQL()->SetText(SqlListeRecherche(SqlRecherche));
    LierParametres(Liste->Parameters());
    Liste->Open();
  }
  if (Liste->IsEmpty()) {
    MessageBox("Pas de correspondance", "Attention", MB_OK);
    Screen->SetCursor(crHourGlass);
    TScopeGuard restore([] { Screen->SetCursor(crDefault); });
    Liste->Close();
    Liste->SQL()->SetText(Avant);
    for (const auto& [Nom, Valeur] : ValeursAvant) Liste->Parameters()->ParamByName(Nom)->SetValue(Valeur);
    Liste->Open();
    return;
  }
  auto* Fiche = dynamic_cast<TfrmZoneHumide*>(frmZoneHumide);
  if (!FormExiste(Fiche)) {
    Fiche = CreateForm<TfrmZoneHumide>(Application);
    Fiche->Show();
  }
  // The group "Gestion des fiches" clicked: the window leaves the record for its list.
  Fiche->OxLookOut->SetActivePage(Fiche->lopGenerale);
  Fiche->lopGenerale->Click();
  Fiche->oxebtnListeClick(nullptr);
  Close();
}
