// This file implements TfrmDictionnaire, the dictionary window, and its 35 derived windows.
#include "Object.h"
#include "pfrmDictionnaire.h"

#include <memory>

#include "ADODB.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "ScopeGuard.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "qvExportOptions.h"

VELBOR_IMPLEMENT_CLASS(TfrmDictionnaire)
VELBOR_HANDLERS(TfrmDictionnaire, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose),
                VELBOR_HANDLER(DBNavigatorInsertClick), VELBOR_HANDLER(bbtnSaveClick), VELBOR_HANDLER(bbtnFermerClick))
VELBOR_FIELDS(TfrmDictionnaire, VELBOR_FIELD(DBGrid), VELBOR_FIELD(DBNavigator), VELBOR_FIELD(DBNavigatorFirst),
              VELBOR_FIELD(DBNavigatorPriorPage), VELBOR_FIELD(DBNavigatorPrior), VELBOR_FIELD(DBNavigatorNext),
              VELBOR_FIELD(DBNavigatorNextPage), VELBOR_FIELD(DBNavigatorLast), VELBOR_FIELD(DBNavigatorInsert),
              VELBOR_FIELD(DBNavigatorDelete), VELBOR_FIELD(DBNavigatorPost), VELBOR_FIELD(bbtnSave),
              VELBOR_FIELD(bbtnFermer), VELBOR_FIELD(OxSelectDirectory))

// The derived windows: a class each, so that the main window makes them by name; everything they
// change is in their line of DescriptionsDictionnaires.
#define VELBOR_DICTIONNAIRE(Classe)                                        \
  class Classe : public TfrmDictionnaire {                                 \
    VELBOR_DECLARE_CLASS(Classe, TfrmDictionnaire)                         \
   public:                                                                 \
    explicit Classe(TComponent* AOwner) : TfrmDictionnaire(AOwner) {}      \
  };                                                                       \
  VELBOR_IMPLEMENT_CLASS(Classe)

namespace {

VELBOR_DICTIONNAIRE(TfrmActHum)
VELBOR_DICTIONNAIRE(TfrmCarteIGN)
VELBOR_DICTIONNAIRE(TfrmCommune)
VELBOR_DICTIONNAIRE(TfrmConnexion)
VELBOR_DICTIONNAIRE(TfrmCorineBio)
VELBOR_DICTIONNAIRE(Tfrmdelcarto)
VELBOR_DICTIONNAIRE(TfrmDepartement)
VELBOR_DICTIONNAIRE(Tfrmdiag_hyd)
VELBOR_DICTIONNAIRE(TfrmDiag_pat)
VELBOR_DICTIONNAIRE(Tfrmenthydro)
VELBOR_DICTIONNAIRE(TfrmEteSub)
VELBOR_DICTIONNAIRE(Tfrmfactinf)
VELBOR_DICTIONNAIRE(TfrmFreqSub)
VELBOR_DICTIONNAIRE(TfrmHabitat)
VELBOR_DICTIONNAIRE(TfrmInstCf)
VELBOR_DICTIONNAIRE(TfrmIntFonct)
VELBOR_DICTIONNAIRE(TfrmMesProtEn)
VELBOR_DICTIONNAIRE(TfrmPsic)
VELBOR_DICTIONNAIRE(TfrmRamsar)
VELBOR_DICTIONNAIRE(TfrmRegion)
VELBOR_DICTIONNAIRE(TfrmRythmeES)
VELBOR_DICTIONNAIRE(TfrmSdage)
VELBOR_DICTIONNAIRE(TfrmStatutFonc)
VELBOR_DICTIONNAIRE(TfrmSysAlt)
VELBOR_DICTIONNAIRE(TfrmTaxon)
VELBOR_DICTIONNAIRE(TfrmTaxonAni)
VELBOR_DICTIONNAIRE(TfrmTaxonVeg)
VELBOR_DICTIONNAIRE(TfrmTypeActions)
VELBOR_DICTIONNAIRE(TfrmTypeES)
VELBOR_DICTIONNAIRE(TfrmTypoPhy)
VELBOR_DICTIONNAIRE(TfrmValSE)
VELBOR_DICTIONNAIRE(TfrmZICO)
VELBOR_DICTIONNAIRE(TfrmZnieff)
VELBOR_DICTIONNAIRE(TfrmZoneHydro)
VELBOR_DICTIONNAIRE(TfrmZPS)

const TClass kFenetres[] = {
    TfrmActHum::StaticClass(),     TfrmCarteIGN::StaticClass(),  TfrmCommune::StaticClass(),
    TfrmConnexion::StaticClass(),  TfrmCorineBio::StaticClass(), Tfrmdelcarto::StaticClass(),
    TfrmDepartement::StaticClass(), Tfrmdiag_hyd::StaticClass(), TfrmDiag_pat::StaticClass(),
    Tfrmenthydro::StaticClass(),   TfrmEteSub::StaticClass(),    Tfrmfactinf::StaticClass(),
    TfrmFreqSub::StaticClass(),    TfrmHabitat::StaticClass(),   TfrmInstCf::StaticClass(),
    TfrmIntFonct::StaticClass(),   TfrmMesProtEn::StaticClass(), TfrmPsic::StaticClass(),
    TfrmRamsar::StaticClass(),     TfrmRegion::StaticClass(),    TfrmRythmeES::StaticClass(),
    TfrmSdage::StaticClass(),      TfrmStatutFonc::StaticClass(), TfrmSysAlt::StaticClass(),
    TfrmTaxon::StaticClass(),      TfrmTaxonAni::StaticClass(),  TfrmTaxonVeg::StaticClass(),
    TfrmTypeActions::StaticClass(), TfrmTypeES::StaticClass(),   TfrmTypoPhy::StaticClass(),
    TfrmValSE::StaticClass(),      TfrmZICO::StaticClass(),      TfrmZnieff::StaticClass(),
    TfrmZoneHydro::StaticClass(),  TfrmZPS::StaticClass(),
};

// The dictionaries operators keep themselves, editable in every mode: the map sheets, the two
// regional species lists, and the habitat types.
const char* const kToujoursModifiables[] = {"T_CARTE_IGN", "T_TAXON_ANI", "T_TAXON_VEG", "D_HABITAT"};

// The record window's combos whose lists the editable dictionaries feed.
const char* const kCombosFiche[] = {"qvDBLkCboEspeceVeg", "qvDBLkCboEspeceAni", "qvDBLkCboIGN"};

const char* const kEspecesAnimales =
    "TAXON_CODE\t10\tCode\nTAXON_THEME\t30\tThème\nTAXON_ORDRE\t30\tOrdre\nTAXON_CLASSE\t30\tClasse\n"
    "TAXON_FAMILLE\t30\tFamille\nTAXON_LATIN\t30\tNom Latin\nTAXON_AUTEUR\t30\tAuteur\n"
    "TAXON_FR\t30\tNom Français\nTAXON_PROT_NAT\t30\tProtection~nationale\n"
    "TAXON_PROT_REG\t30\tProtection~régionale\nTAXON_ANNEXE_1\t4\tDirective~Oiseaux\n"
    "TAXON_ANNEXE_2\t10\tDirective~Habitat\nTAXON_FLG\t4\tEspèces~déterminantes strictes\n"
    "TAXON_LR\t10\tListe rouge~France"_a;
const char* const kEspecesVegetales =
    "TAXON_CODE\t10\tCode\nTAXON_THEME\t30\tThème\nTAXON_ORDRE\t30\tOrdre\nTAXON_CLASSE\t30\tClasse\n"
    "TAXON_FAMILLE\t30\tFamille\nTAXON_LATIN\t30\tNom Latin\nTAXON_AUTEUR\t30\tAuteur\n"
    "TAXON_FR\t30\tNom Français\nTAXON_PROT_NAT\t30\tProtection~nationale\n"
    "TAXON_PROT_REG\t30\tProtection~regionale\nTAXON_ANNEXE_2\t30\tDirective~Habitat\n"
    "TAXON_FLG\t4\tEspèces~déterminantes strictes\nTAXON_LR\t10\tListe rouge~France"_a;
const char kCaseTaxon[] = "TAXON_FLG;CheckBox;VRAI;FAUX";

}  // namespace

const TDescriptionDictionnaire DescriptionsDictionnaires[35] = {
    {"TfrmActHum", "Activité humaines"_a, "D_ACT_HUM", nullptr, false, 1, nullptr},
    {"TfrmCarteIGN", "Carte IGN", "T_CARTE_IGN", nullptr, false, 1, nullptr},
    {"TfrmCommune", "Commune", "D_COMMUNE", "COM_CODE\t5\tCode\nCOM_LIB\t35\tLibelle", false, 1, nullptr},
    {"TfrmConnexion", "frmConnexion", "D_CONNEXION", "CONNEXION_CODE\t1\tCode\nCONNEXION_LIB\t100\tLibelle", false, 1,
     nullptr},
    {"TfrmCorineBio", "Corine biotope", "D_CORINE_BIO", "TCB_CODE\t5\tTCB_CODE\nTCB_LIB\t200\tTCB_LIB", false, 1,
     nullptr},
    {"Tfrmdelcarto", "Délimitation cartographique"_a, "D_DEL_CARTO", nullptr, false, 1, nullptr},
    {"TfrmDepartement", "Département"_a, "D_DEPARTEMENT", nullptr, false, 1, nullptr},
    {"Tfrmdiag_hyd", "Diagnostic hydraulique", "D_DIAG_HYD", nullptr, false, 1, nullptr},
    {"TfrmDiag_pat", "Diagnostic patrimonial", "D_DIAG_PAT", nullptr, false, 1, nullptr},
    {"Tfrmenthydro", "Bassin versant souterrain", "D_ENT_HYDRO", nullptr, false, 1, nullptr},
    {"TfrmEteSub", "Etendue de submersion", "D_ETE_SUB", nullptr, false, 1, nullptr},
    {"Tfrmfactinf", "Facteurs d'influence", "D_FACT_INF", nullptr, false, 1, nullptr},
    {"TfrmFreqSub", "Fréquence de submersion"_a, "D_FREQ_SUB", nullptr, false, 1, nullptr},
    {"TfrmHabitat", "Habitat", "D_HABITAT", "HABITAT_CODE\t10\tCode\nHABITAT_LIB\t200\tHABITAT_LIB", false, 1, nullptr},
    {"TfrmInstCf", "Instruments contractuels et financiers", "D_INST_CF", nullptr, false, 1, nullptr},
    {"TfrmIntFonct", "Intérêt fonctionnel"_a, "D_INT_FONCT", nullptr, false, 1, nullptr},
    {"TfrmMesProtEn", "Mesures de protection", "D_MES_PROT_EN", nullptr, false, 1, nullptr},
    {"TfrmPsic", "Psic", "D_PSIC", "INV_NATIONAL\t9\tNational\nINV_LIB\t255\tINV_LIB\nINV_REG\t8\tRegion\nREG_CODE\t2\tCode",
     false, 1, nullptr},
    {"TfrmRamsar", "Ramsar", "D_RAMSAR", nullptr, false, 1, nullptr},
    {"TfrmRegion", "Région"_a, "D_REGION", nullptr, false, 1, nullptr},
    {"TfrmRythmeES", "Permanence des entrées/sorties des eaux"_a, "D_RYTHME_ES", nullptr, false, 1, nullptr},
    {"TfrmSdage", "Sdage", "D_SDAGE", "TSD_CODE\t2\tTSD_CODE\nTSD_LIB\t200\tTSD_LIB\nTSD_DEF\t10\tDefinition", false, 1,
     nullptr},
    {"TfrmStatutFonc", "Statut foncier", "D_STATUT_FONC", nullptr, false, 1, nullptr},
    {"TfrmSysAlt", "Système altimétrique"_a, "D_SYS_ALT",
     "SYS_ALT_CODE\t2\tCode\nSYS_ALT_LIB\t100\tLibelle\nSYS_ALT_ORDRE\t2\tOrdre\nSYS_ALT_TERRITOIRE\t100\tTerritoire",
     false, 1, nullptr},
    {"TfrmTaxon", "Taxon", "D_TAXON",
     "TAXON_CODE\t10\tTAXON_CODE\nTAXON_LATIN\t100\tTAXON_LATIN\nTAXON_FR\t100\tTAXON FR\n"
     "TAXON_CLAS_ORDRE\t50\tTAXON_CLAS_ORDRE\nTAXON_FAMILLE\t100\tTAXON FAMILLE\nTAXON_THEME\t50\tTAXON THEME\n"
     "TAXON_OISEAUX\t4\tTAXON_OISEAUX\nTAXON_ANNEXE_2\t4\tTAXON_ANNEXE_2\nTAXON_ANNEXE_4\t4\tTAXON_ANNEXE_4\n"
     "TAXON_PRIORITAIRE\t4\tTAXON_PRIORITAIRE",
     false, 1, nullptr},
    {"TfrmTaxonAni", "Liste d'espèces animales options"_a, "T_TAXON_ANI", kEspecesAnimales, true, 2, kCaseTaxon},
    {"TfrmTaxonVeg", "Liste d'espèces végétales options"_a, "T_TAXON_VEG", kEspecesVegetales, true, 2, kCaseTaxon},
    {"TfrmTypeActions", "Type d'actions", "D_TYPE_ACTIONS", "ACTION_CODE\t1\tCode\nACTION_LIB\t20\tLibellé"_a, true, 1,
     nullptr},
    {"TfrmTypeES", "Type d'entrées/sorties des eaux"_a, "D_TYPE_ES", nullptr, false, 1, nullptr},
    {"TfrmTypoPhy", "Typologie physique des cours d'eau", "D_TYPO_PHY", nullptr, false, 1, nullptr},
    {"TfrmValSE", "Valeurs socio-économiques"_a, "D_VAL_SE", "VAL_SE_CODE\t2\tCode\nVAL_SE_LIB\t200\tLibellé"_a, false,
     1, nullptr},
    {"TfrmZICO", "ZICO", "D_ZICO", nullptr, false, 1, nullptr},
    {"TfrmZnieff", "Znieff", "D_ZNIEFF", nullptr, false, 1, nullptr},
    {"TfrmZoneHydro", "Bassin versant de surface", "D_ZONE_HYDRO", "ZONE_HYDRO_CODE\t4\tCode\nZONE_HYDRO_LIb\t80\tLibelle",
     false, 1, nullptr},
    {"TfrmZPS", "ZPS", "D_ZPS", nullptr, false, 1, nullptr},
};

const TDescriptionDictionnaire* DescriptionDictionnaire(const String& Fenetre) {
  for (const TDescriptionDictionnaire& Description : DescriptionsDictionnaires)
    if (Fenetre == Description.Fenetre) return &Description;
  return nullptr;
}

void RegisterDictionnaires() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterDBGridClasses();
  for (TClass Class : {TfrmDictionnaire::StaticClass(), TqvDBGrid::StaticClass(), TqvDBNavigator::StaticClass(),
                       TqvNavButton::StaticClass(), TBitBtn::StaticClass(), TSaveDialog::StaticClass()})
    RegisterClass(Class);
  for (TClass Class : kFenetres) RegisterClass(Class);
}

TDataSet* TfrmDictionnaire::DataSet() const {
  TDataSource* Source = DBGrid != nullptr ? DBGrid->DataSource() : nullptr;
  return Source != nullptr ? Source->DataSet() : nullptr;
}

void TfrmDictionnaire::Decrire(const TDescriptionDictionnaire& Description) {
  SetCaption(Description.Caption);
  auto* Source = dynamic_cast<TDataSource*>(dmVelbor->FindComponent(String("ds") + Description.DataSet));
  if (Source == nullptr) throw EInvalidOperation(String("Jeu de données inconnu : "_a) + Description.DataSet);
  // The grid and the navigator act on the same dictionary, the connection types' included.
  DBGrid->SetDataSource(Source);
  DBNavigator->SetDataSource(Source);
  DBGrid->SetUseTFields(!Description.ColonnesSeules);
  DBGrid->SetTitleLines(Description.LignesDeTitre);
  if (Description.Colonnes != nullptr) {
    auto Lignes = std::make_unique<TStringList>();
    Lignes->SetText(Description.Colonnes);
    DBGrid->SetSelected(Lignes.get());
  }
  if (Description.ControlType != nullptr) {
    auto Lignes = std::make_unique<TStringList>();
    Lignes->Add(Description.ControlType);
    DBGrid->SetControlType(Lignes.get());
    DBGrid->EditControlOptions = {ecoCheckboxSingleClick, ecoSearchOwnerForm};
  }
}

void TfrmDictionnaire::FormCreate(TObject*) {
  const TDescriptionDictionnaire* Description = DescriptionDictionnaire(ClassName());
  if (Description != nullptr) Decrire(*Description);
  TDataSet* Table = DataSet();
  if (Table != nullptr && !Table->Active()) Table->Open();
  const String Nom = Table != nullptr ? Table->Name() : String();
  bool Modifiable = ModeAdministrateur;
  for (const char* Toujours : kToujoursModifiables)
    if (Nom == Toujours) Modifiable = true;
  // What the operator may not change is shown read-only: without the navigator, the grid takes
  // no typed value, no insertion and no deletion either.
  FModifiable = Modifiable;
  DBNavigator->SetVisible(Modifiable);
  // Without the navigator the export button takes its place at the left.
  if (!Modifiable) bbtnSave->SetLeft(DBNavigator->Left());
  DBGrid->ReadOnly = !Modifiable;
  if (Modifiable) DBGrid->KeyOptions = {dgAllowDelete, dgAllowInsert};
  else DBGrid->KeyOptions = {};
}

void TfrmDictionnaire::RafraichirListesFiche() {
  if (!FormExiste(frmZoneHumide)) return;
  Screen->SetCursor(crHourGlass);
  TScopeGuard Curseur([] { Screen->SetCursor(crDefault); });
  for (const char* Nom : kCombosFiche) {
    TComponent* Combo = frmZoneHumide->FindComponent(Nom);
    if (Combo == nullptr || GetPropInfo(Combo, "LookupTable") == nullptr) continue;
    auto* Liste = dynamic_cast<TDataSet*>(GetObjectProp(Combo, "LookupTable"));
    if (Liste == nullptr) continue;
    Liste->Close();
    Liste->Open();
  }
  Application->ProcessMessages();
}

// Every way of closing (the "Fermer" button, the title bar, the main window's "Fermer") passes
// here: an editable dictionary refreshes the record window's lists before the window goes.
void TfrmDictionnaire::FormClose(TObject*, TCloseAction& Action) {
  if (FModifiable) {
    TDataSet* Table = DataSet();
    // A row being typed is written first, as leaving the row would.
    if (Table != nullptr && (Table->State() == dsEdit || Table->State() == dsInsert)) Table->Post();
    RafraichirListesFiche();
  }
  Action = caFree;
}

void TfrmDictionnaire::DBNavigatorInsertClick(TObject*) {
  TDataSet* Table = DataSet();
  if (Table == nullptr || !FModifiable) return;
  if (DBGrid->CanFocus()) DBGrid->SetFocus();
  Table->Append();
  if (Table->FieldCount() > 0) DBGrid->SelectColumnOfField(Table->Fields()->Fields(0)->FieldName());
  Application->ProcessMessages();
}

void TfrmDictionnaire::bbtnSaveClick(TObject*) {
  TDataSet* Table = DataSet();
  if (Table == nullptr) return;
  OxSelectDirectory->FileName = Table->Name() + ".csv";
  if (!OxSelectDirectory->Execute()) return;
  const String Fichier = OxSelectDirectory->FileName;
  if (FileExists(Fichier) &&
      MessageBox("Le fichier existe déjà, voulez vous l'écraser"_a, "Attention", MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  DBGrid->ExportOptions()->SetFileName(Fichier);
  Screen->SetCursor(crHourGlass);
  TScopeGuard Curseur([] { Screen->SetCursor(crDefault); });
  DBGrid->ExportOptions()->Save();
}

void TfrmDictionnaire::bbtnFermerClick(TObject*) { Close(); }
