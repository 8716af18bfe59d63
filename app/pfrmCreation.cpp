// This file implements TfrmCreation, the new-record dialog.
#include "Object.h"
#include "pfrmCreation.h"

#include <algorithm>
#include <cstdio>

#include "ADODB.h"
#include "DataSource.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "OxLookupEdit.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"

TfrmCreation* frmCreation = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmCreation)
VELBOR_HANDLERS(TfrmCreation, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose), VELBOR_HANDLER(eDepEnter),
                VELBOR_HANDLER(bbOkClick), VELBOR_HANDLER(bbFermerClick))
VELBOR_FIELDS(TfrmCreation, VELBOR_FIELD(Label1), VELBOR_FIELD(Label2), VELBOR_FIELD(eDep),
              VELBOR_FIELD(eMaitreOeuvre), VELBOR_FIELD(bbOk), VELBOR_FIELD(bbFermer), VELBOR_FIELD(qRechercheMO),
              VELBOR_FIELD(dsRechercheMO), VELBOR_FIELD(qMax))

namespace {

constexpr int kLongueurMaitre = 6;
constexpr int kDernierNumero = 9999;

const char* const kMessageDepartement =
    "Le département doit être le numéro d'un département : 01 à 95, 2A, 2B, 971 à 974 ou 976"_a;

void EnregistrerClasses() {
  static bool Fait = false;
  if (Fait) return;
  Fait = true;
  for (TClass Class : {TLabel::StaticClass(), TEdit::StaticClass(), TBitBtn::StaticClass(),
                       TADOQuery::StaticClass(), TDataSource::StaticClass()})
    RegisterClass(Class);
  RegisterOxLookupEdit();
}

void Refuser(const String& Message) { MessageBox(Message, "Attention", MB_OK | MB_ICONERROR); }

bool EstChiffre(char C) { return C >= '0' && C <= '9'; }

// A LIKE pattern that matches Texte itself: its wildcards and the escape character escaped by "\".
String MotifLitteral(const String& Texte) {
  String Motif;
  for (char C : Texte) {
    if (C == '%' || C == '_' || C == '\\') Motif += '\\';
    Motif += C;
  }
  return Motif;
}

}  // namespace

String CodeDepartement(const String& Texte) {
  String Code = UpperCase(Texte);
  if (Code.size() == 2) Code = "0" + Code;
  if (Code.size() != 3) return String();
  if (Code == "02A" || Code == "02B") return Code;
  if (!std::all_of(Code.begin(), Code.end(), EstChiffre)) return String();
  int Numero = std::stoi(Code);
  // Metropolitan departments (20 was divided into 2A and 2B), then the overseas ones.
  bool Existe = (Numero >= 1 && Numero <= 95 && Numero != 20) || (Numero >= 971 && Numero <= 974) || Numero == 976;
  return Existe ? Code : String();
}

TfrmCreation::TfrmCreation(TComponent* AOwner) : TForm(AOwner) { EnregistrerClasses(); }

TfrmCreation::~TfrmCreation() {
  if (frmCreation == this) frmCreation = nullptr;
}

void TfrmCreation::FormCreate(TObject*) {
  if (auto* Fiche = dynamic_cast<TfrmZoneHumide*>(frmZoneHumide); FormExiste(Fiche)) Fiche->OxExBtnCreation->Tag = 0;
}

void TfrmCreation::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmCreation::eDepEnter(TObject*) {
  int Fin = int(eDep->Text().size());
  eDep->SetSelStart(Fin);
  eDep->SetSelLength(0);
}

void TfrmCreation::bbFermerClick(TObject*) { Close(); }

int TfrmCreation::NumeroSuivant(const String& Prefixe) {
  // Every code of the prefix is read: a code of another length or whose number is not four digits
  // is no wetland code of this pair. Case does not count in codes, as in the file's key.
  qMax->Close();
  qMax->SQL()->SetText("select ZH_CODE from T_ZONE_HUMIDE where ZH_CODE like :Motif escape '\\'");
  qMax->Parameters()->ParamByName("Motif")->SetValue(MotifLitteral(Prefixe) + "%");
  qMax->Open();
  int Plus = 0;
  for (qMax->First(); !qMax->Eof(); qMax->Next()) {
    String Code = qMax->Fields()->Fields(0)->AsString();
    if (Code.size() != 13 || !AnsiSameText(Code.substr(0, 9), Prefixe)) continue;
    if (!std::all_of(Code.begin() + 9, Code.end(), EstChiffre)) continue;
    Plus = std::max(Plus, std::stoi(Code.substr(9)));
  }
  qMax->Close();
  return Plus + 1;
}

void TfrmCreation::EcrireFiche(const String& Code) {
  TADOConnection* Connexion = dmVelbor->ADOConnection;
  TADODataSet* Fiche = dmVelbor->qDetailZoneHumide;
  TADODataSet* Historique = dmVelbor->qHistorique;
  bool FicheOuverte = Fiche->Active();
  Connexion->BeginTrans();
  try {
    if (!Fiche->Active()) Fiche->Open();
    Fiche->Insert();
    Fiche->FieldByName("ZH_CODE")->SetAsString(Code);
    Fiche->Post();
    if (!Historique->Active()) Historique->Open();
    Historique->CancelBatch(arAll);
    for (int i = 0; i < Historique->FieldCount(); ++i) Historique->Fields()->Fields(i)->SetReadOnly(false);
    Historique->Insert();
    Historique->FieldByName("ZH_CODE")->SetAsString(Code);
    Historique->FieldByName("HISTO_DATE")->SetAsDateTime(Date());
    Historique->FieldByName("HISTO_AUTEUR")->SetAsString(NomUtilisateur);
    Historique->FieldByName("HISTO_ORGANISME")->SetAsString(Organisme);
    Historique->FieldByName("ACTION_CODE")->SetAsString("C");
    Historique->Post();
    Historique->UpdateBatch(arAll);
    Connexion->CommitTrans();
  } catch (...) {
    // Nothing of the record stays: neither in the file nor in the datasets, which read the file
    // again.
    if (Connexion->InTransaction()) Connexion->RollbackTrans();
    if (Historique->Active()) {
      if (Historique->State() == dsInsert || Historique->State() == dsEdit) Historique->Cancel();
      Historique->CancelBatch(arAll);
    }
    if (Fiche->State() == dsInsert || Fiche->State() == dsEdit) Fiche->Cancel();
    Fiche->Close();
    if (FicheOuverte) Fiche->Open();
    throw;
  }
}

void TfrmCreation::bbOkClick(TObject*) {
  String Departement = CodeDepartement(eDep->Text());
  if (Departement.empty()) {
    Refuser(kMessageDepartement);
    return;
  }
  String Maitre = eMaitreOeuvre->Text();
  if (Trim(Maitre).empty()) {
    Refuser("Le maitre d'œuvre doit être renseigné "_a);
    return;
  }
  if (int(Maitre.size()) > kLongueurMaitre) {
    Refuser("Le maitre d'œuvre a 6 caractères au plus"_a);
    return;
  }
  bbOk->SetEnabled(false);
  bbFermer->SetEnabled(false);
  Screen->SetCursor(crHourGlass);
  // The buttons and the cursor come back whatever happens, a refusal or an error included.
  TScopeGuard restore([this] {
    bbOk->SetEnabled(true);
    bbFermer->SetEnabled(true);
    Screen->SetCursor(crDefault);
  });

  String Prefixe = Departement + Maitre + String(std::size_t(kLongueurMaitre) - Maitre.size(), ' ');
  int Numero = NumeroSuivant(Prefixe);
  if (Numero > kDernierNumero) {
    Refuser("Les 9999 codes du département "_a + Departement + " et du maitre d'œuvre \""_a + Maitre +
            "\" sont tous pris : aucun code ne peut être créé."_a);
    return;
  }
  char Sequence[16];
  std::snprintf(Sequence, sizeof Sequence, "%04d", Numero);
  String Code = Prefixe + Sequence;
  EcrireFiche(Code);

  TADOQuery* Liste = dmVelbor->qListeZoneHumide;
  Liste->Close();
  Liste->SQL()->SetText("select zh_code,zh_nom from T_Zone_Humide order by zh_code");
  Liste->Open();
  Liste->Locate("zh_code", Code, {});

  auto* Fiche = dynamic_cast<TfrmZoneHumide*>(frmZoneHumide);
  if (!FormExiste(Fiche)) {
    Fiche = CreateForm<TfrmZoneHumide>(Owner());
    Fiche->Show();
  }
  Fiche->OxExBtnCreation->Tag = 1;
  Close();
}
