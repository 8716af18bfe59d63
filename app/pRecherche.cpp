// This file implements TfrmRecherche, the multi-criteria search dialog.
#include "Object.h"
#include "pRecherche.h"

#include "ADODB.h"
#include "DataSource.h"
#include "Dialogs.h"
#include "OxFilenameEdit.h"
#include "OxLookupEdit.h"
#include "StrUtils.h"
#include "pUtilZH.h"

VELBOR_IMPLEMENT_CLASS(TfrmRecherche)
VELBOR_HANDLERS(TfrmRecherche, VELBOR_HANDLER(bbOkClick), VELBOR_HANDLER(bbFermerClick), VELBOR_HANDLER(FormClose),
                VELBOR_HANDLER(OxLkeRegionChange), VELBOR_HANDLER(OxLkeDepExit))
VELBOR_FIELDS(TfrmRecherche, VELBOR_FIELD(GroupBox1), VELBOR_FIELD(lblSurface), VELBOR_FIELD(lblSouterrain),
              VELBOR_FIELD(lblRef), VELBOR_FIELD(lblRegion), VELBOR_FIELD(lblDep), VELBOR_FIELD(lblCommune),
              VELBOR_FIELD(lblSdage), VELBOR_FIELD(lblCorine), VELBOR_FIELD(lblSite), VELBOR_FIELD(lblTousSites),
              VELBOR_FIELD(OxLkeSurface), VELBOR_FIELD(OxLkeSouterrain), VELBOR_FIELD(OxLkeRef),
              VELBOR_FIELD(OxLkeRegion), VELBOR_FIELD(OxLkeDep), VELBOR_FIELD(OxLkeCommune), VELBOR_FIELD(OxLkeSdage),
              VELBOR_FIELD(OxLkeCorine), VELBOR_FIELD(OxLkeSite), VELBOR_FIELD(cbTousSites),
              VELBOR_FIELD(lblRepertoire), VELBOR_FIELD(eRepertoire), VELBOR_FIELD(bbOk), VELBOR_FIELD(bbFermer),
              VELBOR_FIELD(qRegion), VELBOR_FIELD(qDep), VELBOR_FIELD(qCommune), VELBOR_FIELD(qSites),
              VELBOR_FIELD(qEnveloppe), VELBOR_FIELD(dsRegion), VELBOR_FIELD(dsDep), VELBOR_FIELD(dsCommune),
              VELBOR_FIELD(dsSites), VELBOR_FIELD(dsEnveloppe))

void RegisterRechercheClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  for (TClass Class : {TGroupBox::StaticClass(), TLabel::StaticClass(), TCheckBox::StaticClass(),
                       TBitBtn::StaticClass(), TEdit::StaticClass(), TADOQuery::StaticClass(),
                       TDataSource::StaticClass()})
    RegisterClass(Class);
  RegisterOxLookupEdit();
  RegisterOxFilenameEdit();
}

namespace {

// The condition of each criterion, its value bound to the parameter it names. A wetland must meet
// every criterion given; of the administrative levels only the most precise one given counts.
struct TCritere {
  TOxLookupEdit* TfrmRecherche::*Edit;
  const char* Parametre;
  bool ValeurDeListe;  // the key of the lookup row the text names, not the text
  const char* Condition;
};

const TCritere kCriteres[] = {
    {&TfrmRecherche::OxLkeSurface, "Surface", false,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_ZONE_HYDRO_ZH WHERE ZONE_HYDRO_CODE = :Surface) AND"},
    {&TfrmRecherche::OxLkeSouterrain, "Souterrain", false,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_SYS_AQUI_ZH WHERE ENT_HYDRO_CODE = :Souterrain) AND"},
    {&TfrmRecherche::OxLkeRef, "Enveloppe", false, " ZH_NOM_ENVELOPPE = :Enveloppe AND"},
    {&TfrmRecherche::OxLkeSdage, "Sdage", false,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_SDAGE_ZH WHERE TSD_CODE = :Sdage) AND"},
    {&TfrmRecherche::OxLkeCorine, "Corine", false,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_CORINE_BIO_ZH WHERE TCB_CODE = :Corine) AND"},
    {&TfrmRecherche::OxLkeSite, "Site", false, " ZH_CODE = :Site AND"},
    {&TfrmRecherche::OxLkeCommune, "Commune", true,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE = :Commune) AND"},
    {&TfrmRecherche::OxLkeDep, "Departement", true,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE IN (SELECT COM_CODE FROM D_COMMUNE WHERE "
     "DEP_CODE = :Departement)) AND"},
    {&TfrmRecherche::OxLkeRegion, "Region", true,
     " ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE IN (SELECT COM_CODE FROM D_COMMUNE WHERE "
     "DEP_CODE IN (SELECT DEP_CODE FROM D_DEPARTEMENT WHERE REG_CODE = :Region))) AND"},
};

// Makes Query run Sql with Code bound to its one parameter, or Tous when the text is empty.
void Restreindre(TADOQuery* Query, const String& Texte, const String& Code, const char* Tous, const char* Sql,
                 const char* Parametre) {
  Query->Close();
  if (Texte.empty()) {
    Query->SQL()->SetText(Tous);
  } else {
    Query->SQL()->SetText(Sql);
    Query->Parameters()->ParamByName(Parametre)->SetValue(Code);
  }
  Query->Open();
}

}  // namespace

void RestreindreDepartements(TADOQuery* Query, const String& RegionText, const String& RegionCode) {
  Restreindre(Query, RegionText, RegionCode, "select * from D_DEPARTEMENT D order by D.DEP_LIB",
              "select * from D_DEPARTEMENT D where reg_code = :Region order by D.DEP_LIB", "Region");
}

void RestreindreCommunes(TADOQuery* Query, const String& DepartementText, const String& DepartementCode) {
  Restreindre(Query, DepartementText, DepartementCode, "select * from D_COMMUNE C order by C.COM_LIB",
              "select * from D_COMMUNE C where dep_code = :Departement order by C.COM_LIB", "Departement");
}

TfrmRecherche::TfrmRecherche(TComponent* AOwner) : TForm(AOwner) { RegisterRechercheClasses(); }

void TfrmRecherche::LierParametres(TParameters* Parameters) const {
  for (const TValeurRecherche& Valeur : ParametresRecherche)
    if (TParameter* Parameter = Parameters->FindParam(Valeur.Nom)) Parameter->SetValue(Valeur.Valeur);
}

void TfrmRecherche::bbOkClick(TObject*) {
  SqlRecherche.clear();
  ParametresRecherche.clear();
  bool Vide = true;
  for (const TCritere& Critere : kCriteres)
    if (!(this->*Critere.Edit)->Text().empty()) Vide = false;
  if (Vide && !cbTousSites->Checked()) {
    MessageBox("Aucune sélection n'a été faite"_a, "Attention", MB_OK);
    return;
  }
  if (eRepertoire->Visible() && eRepertoire->Text().empty()) {
    MessageBox("Le fichier doit être rempli"_a, "Attention", MB_OK);
    return;
  }
  if (cbTousSites->Checked()) {
    SqlRecherche = "select * from T_ZONE_HUMIDE ORDER BY ZH_CODE";
    return;
  }
  String Condition;
  for (const TCritere& Critere : kCriteres) {
    TOxLookupEdit* Edit = this->*Critere.Edit;
    if (Edit->Text().empty()) continue;
    // Only the most precise administrative level given counts.
    if (Edit == OxLkeDep && !OxLkeCommune->Text().empty()) continue;
    if (Edit == OxLkeRegion && (!OxLkeCommune->Text().empty() || !OxLkeDep->Text().empty())) continue;
    Condition += Critere.Condition;
    ParametresRecherche.push_back({Critere.Parametre, Critere.ValeurDeListe ? Edit->GetLookupValue() : Edit->Text()});
  }
  // The last " AND" goes.
  Condition.resize(Condition.size() - 4);
  SqlRecherche = "select * from T_zone_humide where " + Condition + " order by zh_code";
}

void TfrmRecherche::bbFermerClick(TObject*) { Close(); }

void TfrmRecherche::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmRecherche::OxLkeRegionChange(TObject*) {
  RestreindreDepartements(qDep, OxLkeRegion->Text(), OxLkeRegion->GetLookupValue());
}

void TfrmRecherche::OxLkeDepExit(TObject*) {
  RestreindreCommunes(qCommune, OxLkeDep->Text(), OxLkeDep->GetLookupValue());
}
