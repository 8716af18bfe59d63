// This file implements the program's data module TdmVelbor: connection set-up, record selection,
// rounding of the record's measures, defaults of new rows, the duplicate and existence checks of
// the detail rows with their notice, and the messages of refused posts.
#include "pdmVelbor.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "DateTime.h"
#include "DateTimeFormat.h"
#include "FileUtils.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "pMiseAJourBase.h"
#include "pUtilZH.h"
#include "pfrmAttention.h"

TdmVelbor* dmVelbor = nullptr;
TfrmZoneHumideBase* frmZoneHumide = nullptr;
TCustomForm* frmPreparationEtat = nullptr;

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TfrmZoneHumideBase)

namespace {

// The details whose refused posts the module rewrites, with the sentence that replaces the
// missing-value message. Their description names each one's handler "<dataset>PostError"; the
// handler table makes every such name lead to DetailPostError.
struct TPostErreur {
  const char* DataSet;
  const char* Message;
};
const TPostErreur kPostErreurs[] = {
    {"qInstContFinacier", "Le code des instruments contractuels et financiers doit avoir une valeur"},
    {"qFonctBio", "Le code des fonctions biologiques doit avoir une valeur"},
    {"qActHum", "Le code des activités humaines au sein de la zone humide doit avoir une valeur"_a},
    {"qActHum2", "Le code des activités humaines autour de la zone humide doit avoir une valeur"_a},
    {"qValSE", "Le code des valeurs socio-économiques doit avoir une valeur"_a},
    {"qStatutFoncier", "Le code des statuts fonciers doit avoir une valeur"},
    {"qMesureProt", "Le code des mesures de protection des espaces doit avoir une valeur"},
    {"qMesureProtAqua", "Le code des mesures de protection des milieux aquatiques doit avoir une valeur"},
    {"qZoneHydroZh", "Le code des bassins versants de surface doit avoir une valeur"},
    {"qCorineBio", "Le code Corine BIOTOPE doit avoir une valeur"},
    {"qSDAGE", "Le code SDAGE doit avoir une valeur"},
    {"qSDAGEPrincipale", "Le code des SDAGE doit avoir une valeur"},
    {"qEspAni", "Le code des espèces animales doit avoir une valeur"_a},
    {"qEspVeg", "Le code des espèces végétales doit avoir une valeur"_a},
    {"qFactInf", "Le code des facteurs influençant doit avoir une valeur"_a},
    {"qFactInf2", "Le code des facteurs influençant doit avoir une valeur"_a},
    {"qHabitat", "Le code des habitats doit avoir une valeur"},
    {"qOiseaux", "Le code des oiseaux doit avoir une valeur"},
    {"qTypoPhy", "Le code des typologies physiques des cours d'eau doit avoir une valeur"},
    {"qFonctHydro", "Le code des fonctions hydrologique et hydraulique doit avoir une valeur"},
    {"qSortieEau", "Le code des sorties d'eau doit avoir une valeur"},
    {"qEntEau", "Le code des entrées d'eau doit avoir une valeur"_a},
    {"qDelCartoZh", "Le code des critères de délimitation doit avoir une valeur"_a},
    {"qIGN", "Le code des cartes IGN doit avoir une valeur"},
    {"qInventaire", "Le code inventaire doit avoir une valeur"},
    {"qCommune", "Le code des communes doit avoir une valeur"},
    {"qEspAniDiren", "Le code des espèces animales régionales doit avoir une valeur"_a},
    {"qEspVegDiren", "Le code des espèces végétales régionales doit avoir une valeur"_a},
};

std::vector<THandlerEntry> PostErrorHandlers(void (TdmVelbor::*Method)(TDataSet*, EDatabaseError*, TDataAction&)) {
  // The names live as long as the table that points at them.
  static std::vector<String> names;
  names.reserve(std::size(kPostErreurs));
  std::vector<THandlerEntry> entries;
  for (const TPostErreur& p : kPostErreurs) {
    names.push_back(String(p.DataSet) + "PostError");
    entries.push_back(THandlerBuilder<TdmVelbor>::Handler(names.back().c_str(), Method));
  }
  return entries;
}

}  // namespace

VELBOR_IMPLEMENT_CLASS(TdmVelbor)
VELBOR_HANDLERS_AND(TdmVelbor, PostErrorHandlers(&Self::DetailPostError),
  VELBOR_HANDLER(ADOConnectionAfterConnect),
  VELBOR_HANDLER(DataModuleCreate),
  VELBOR_HANDLER(qListeZoneHumideAfterScroll),
  VELBOR_HANDLER(qDetailZoneHumideAfterOpen),
  VELBOR_HANDLER(qDetailZoneHumideAfterScroll),
  VELBOR_HANDLER(qDetailZoneHumideCalcFields),
  VELBOR_HANDLER(qDetailZoneHumideNewRecord),
  VELBOR_HANDLER(dsQZoneHumideStateChange),
  VELBOR_HANDLER(qDetailZoneHumideZH_CONNEXIONChange),
  VELBOR_HANDLER(qDetailZoneHumideZH_ALTITUDEChange),
  VELBOR_HANDLER(qDetailZoneHumideZH_SUPERFICIEChange),
  VELBOR_HANDLER(qDetailZoneHumideZH_LONGUEURChange),
  VELBOR_HANDLER(qHistoriqueNewRecord),
  VELBOR_HANDLER(qHistoriqueCalcFields),
  VELBOR_HANDLER(qInventaireCalcFields),
  VELBOR_HANDLER(qCorineBioBeforeInsert),
  VELBOR_HANDLER(qCorineBioTCB_CODEChange),
  VELBOR_HANDLER(qEntEauTYPE_ES_CODEChange),
  VELBOR_HANDLER(qSortieEauRES_CODEChange),
  VELBOR_HANDLER(qRefBiblioREF_TITREChange),
  VELBOR_HANDLER(qRefBiblioREF_AUTEURChange),
  VELBOR_HANDLER(qRefBiblioREF_ANNEEChange),
  VELBOR_HANDLER(qRefBiblioREF_ANNEESetText),
  VELBOR_HANDLER(qIGNCARTE_IGN_CODEChange),
  VELBOR_HANDLER(qInventaireINV_TYPEChange),
  VELBOR_HANDLER(qInventaireINV_CODEChange),
  VELBOR_HANDLER(qInstContFinacierICZ_DATEGetText),
  VELBOR_HANDLER(qInstContFinacierICZ_DATESetText),
  VELBOR_HANDLER(qSDAGEPrincipaleBeforePost))
VELBOR_FIELDS(TdmVelbor,
  VELBOR_FIELD(ADOConnection),
  VELBOR_FIELD(D_ACT_HUM),
  VELBOR_FIELD(dsD_ACT_HUM),
  VELBOR_FIELD(D_COMMUNE),
  VELBOR_FIELD(dsD_COMMUNE),
  VELBOR_FIELD(D_CONNEXION),
  VELBOR_FIELD(dsD_CONNEXION),
  VELBOR_FIELD(D_CORINE_BIO),
  VELBOR_FIELD(dsD_CORINE_BIO),
  VELBOR_FIELD(D_DEL_CARTO),
  VELBOR_FIELD(dsD_DEL_CARTO),
  VELBOR_FIELD(D_DEPARTEMENT),
  VELBOR_FIELD(dsD_DEPARTEMENT),
  VELBOR_FIELD(D_DIAG_HYD),
  VELBOR_FIELD(dsD_DIAG_HYD),
  VELBOR_FIELD(D_DIAG_PAT),
  VELBOR_FIELD(dsD_DIAG_PAT),
  VELBOR_FIELD(D_ENT_HYDRO),
  VELBOR_FIELD(dsD_ENT_HYDRO),
  VELBOR_FIELD(D_ETE_SUB),
  VELBOR_FIELD(dsD_ETE_SUB),
  VELBOR_FIELD(D_FACT_INF),
  VELBOR_FIELD(dsD_FACT_INF),
  VELBOR_FIELD(D_FREQ_SUB),
  VELBOR_FIELD(dsD_FREQ_SUB),
  VELBOR_FIELD(D_HABITAT),
  VELBOR_FIELD(dsD_HABITAT),
  VELBOR_FIELD(D_INST_CF),
  VELBOR_FIELD(dsD_INST_CF),
  VELBOR_FIELD(D_INT_FONCT),
  VELBOR_FIELD(dsD_INT_FONCT),
  VELBOR_FIELD(D_MES_PROT_EN),
  VELBOR_FIELD(dsD_MES_PROT_EN),
  VELBOR_FIELD(D_PSIC),
  VELBOR_FIELD(dsD_PSIC),
  VELBOR_FIELD(D_RAMSAR),
  VELBOR_FIELD(dsD_RAMSAR),
  VELBOR_FIELD(D_REGION),
  VELBOR_FIELD(dsD_REGION),
  VELBOR_FIELD(D_RYTHME_ES),
  VELBOR_FIELD(dsD_RYTHME_ES),
  VELBOR_FIELD(D_SDAGE),
  VELBOR_FIELD(dsD_SDAGE),
  VELBOR_FIELD(D_STATUT_FONC),
  VELBOR_FIELD(dsD_STATUT_FONC),
  VELBOR_FIELD(D_SYS_ALT),
  VELBOR_FIELD(dsD_SYS_ALT),
  VELBOR_FIELD(D_TAXON),
  VELBOR_FIELD(dsD_TAXON),
  VELBOR_FIELD(D_TYPE_ACTIONS),
  VELBOR_FIELD(dsD_TYPE_ACTIONS),
  VELBOR_FIELD(D_TYPE_ES),
  VELBOR_FIELD(dsD_TYPE_ES),
  VELBOR_FIELD(D_TYPO_PHY),
  VELBOR_FIELD(dsD_TYPO_PHY),
  VELBOR_FIELD(D_VAL_SE),
  VELBOR_FIELD(dsD_VAL_SE),
  VELBOR_FIELD(D_ZICO),
  VELBOR_FIELD(dsD_ZICO),
  VELBOR_FIELD(D_ZNIEFF),
  VELBOR_FIELD(dsD_ZNIEFF),
  VELBOR_FIELD(D_ZONE_HYDRO),
  VELBOR_FIELD(dsD_ZONE_HYDRO),
  VELBOR_FIELD(D_ZPS),
  VELBOR_FIELD(dsD_ZPS),
  VELBOR_FIELD(T_CARTE_IGN),
  VELBOR_FIELD(dsT_CARTE_IGN),
  VELBOR_FIELD(T_TAXON_ANI),
  VELBOR_FIELD(dsT_TAXON_ANI),
  VELBOR_FIELD(T_TAXON_VEG),
  VELBOR_FIELD(dsT_TAXON_VEG),
  VELBOR_FIELD(qINT_FONCT_HYDRO),
  VELBOR_FIELD(qINT_FONCT_BIO),
  VELBOR_FIELD(qTypeEntree),
  VELBOR_FIELD(qTypeSortie),
  VELBOR_FIELD(qTypeInventaire),
  VELBOR_FIELD(qType1),
  VELBOR_FIELD(qType2),
  VELBOR_FIELD(qType3),
  VELBOR_FIELD(qType4),
  VELBOR_FIELD(qType5),
  VELBOR_FIELD(qType6),
  VELBOR_FIELD(qType7),
  VELBOR_FIELD(qListeZoneHumide),
  VELBOR_FIELD(dsqListeZoneHumide),
  VELBOR_FIELD(qDetailZoneHumide),
  VELBOR_FIELD(dsQZoneHumide),
  VELBOR_FIELD(qActHum2),
  VELBOR_FIELD(dsActHum2),
  VELBOR_FIELD(qActHum),
  VELBOR_FIELD(dsActHum),
  VELBOR_FIELD(qAlias),
  VELBOR_FIELD(dsAlias),
  VELBOR_FIELD(qCommune),
  VELBOR_FIELD(dsCommune),
  VELBOR_FIELD(qCorineBio),
  VELBOR_FIELD(dsCorineBio),
  VELBOR_FIELD(qDelCartoZh),
  VELBOR_FIELD(dsDelCartoZh),
  VELBOR_FIELD(qEntEau),
  VELBOR_FIELD(dsEntEau),
  VELBOR_FIELD(qEspAniDiren),
  VELBOR_FIELD(dsEspAniDiren),
  VELBOR_FIELD(qEspAni),
  VELBOR_FIELD(dsEspAni),
  VELBOR_FIELD(qEspVegDiren),
  VELBOR_FIELD(dsEspVegDiren),
  VELBOR_FIELD(qEspVeg),
  VELBOR_FIELD(dsEspVeg),
  VELBOR_FIELD(qFactInf2),
  VELBOR_FIELD(dsFactInf2),
  VELBOR_FIELD(qFactInf),
  VELBOR_FIELD(dsFactInf),
  VELBOR_FIELD(qFonctBio),
  VELBOR_FIELD(dsFonctBio),
  VELBOR_FIELD(qFonctHydro),
  VELBOR_FIELD(dsFonctHydro),
  VELBOR_FIELD(qHabitat),
  VELBOR_FIELD(dsHabitat),
  VELBOR_FIELD(qHistorique),
  VELBOR_FIELD(dsHistorique),
  VELBOR_FIELD(qIGN),
  VELBOR_FIELD(dsIGN),
  VELBOR_FIELD(qInstContFinacier),
  VELBOR_FIELD(dsInstContFinacier),
  VELBOR_FIELD(qInventaire),
  VELBOR_FIELD(dsInventaire),
  VELBOR_FIELD(qMesureProtAqua),
  VELBOR_FIELD(dsMesureProtAqua),
  VELBOR_FIELD(qMesureProt),
  VELBOR_FIELD(dsMesureProt),
  VELBOR_FIELD(qOiseaux),
  VELBOR_FIELD(dsOiseaux),
  VELBOR_FIELD(qOrientZH),
  VELBOR_FIELD(dsOrientZH),
  VELBOR_FIELD(qQualiteEau),
  VELBOR_FIELD(dsQualiteEau),
  VELBOR_FIELD(qRefBiblio),
  VELBOR_FIELD(dsRefBiblio),
  VELBOR_FIELD(qSDAGEPrincipale),
  VELBOR_FIELD(dsSDAGEPrincipale),
  VELBOR_FIELD(qSDAGE),
  VELBOR_FIELD(dsSDAGE),
  VELBOR_FIELD(qSortieEau),
  VELBOR_FIELD(dsSortieEau),
  VELBOR_FIELD(qStatutFoncier),
  VELBOR_FIELD(dsStatutFoncier),
  VELBOR_FIELD(qSysAquiZH),
  VELBOR_FIELD(dsSysAquiZH),
  VELBOR_FIELD(qTypoPhy),
  VELBOR_FIELD(dsTypoPhy),
  VELBOR_FIELD(qValSE),
  VELBOR_FIELD(dsValSE),
  VELBOR_FIELD(qZoneHydroZh),
  VELBOR_FIELD(dsZoneHydroZH),
  VELBOR_FIELD(qmtMemTableImage),
  VELBOR_FIELD(dsqmtMemTableImage))

namespace {

// The description creates these by class name; their libraries do not register them.
struct TdmVelborClassRegistration {
  TdmVelborClassRegistration() {
    RegisterClass(TqmtMemTable::StaticClass());
    RegisterClass(TqvDataSource::StaticClass());
  }
} dmVelborClassRegistration;

const char* const kDejaExistante = "Information déjà existante !"_a;
const char* const kCodeInexistant = "Code inexistant !"_a;

bool EnEdition(TDataSet* DataSet) { return DataSet->State() == dsEdit || DataSet->State() == dsInsert; }

void EditerSiBesoin(TDataSet* DataSet) {
  if (!EnEdition(DataSet)) DataSet->Edit();
}

// "NAME = 'value'" with the value quoted, so that an apostrophe stays inside the text.
String Egal(const String& FieldName, const String& Value) { return FieldName + " = " + QuotedStr(Value); }

void TraiterMessages() { Application->ProcessMessages(); }

// The report flag: the Tag of the main window's action list, when the main window is there.
TComponent* ActionList1() {
  if (!Application.Exists() || Application->MainForm() == nullptr) return nullptr;
  return Application->MainForm()->FindComponent("ActionList1");
}

}  // namespace

// Gives the snapshot's Tag back its value (0 outside a check) when a check or a repair ends,
// whichever way it ends: a Tag left at 1 would switch the checks off for the rest of the run.
class TCheckInProgress {
 public:
  explicit TCheckInProgress(TdmVelbor* Module) : FModule(Module), FPrevious(Module->CopieTag()) {}
  ~TCheckInProgress() { FModule->SetCopieTag(FPrevious); }
  TCheckInProgress(const TCheckInProgress&) = delete;
  TCheckInProgress& operator=(const TCheckInProgress&) = delete;

 private:
  TdmVelbor* FModule;
  int FPrevious;
};

TdmVelbor::TdmVelbor(TComponent* AOwner) : TDataModule(AOwner) {}

TdmVelbor::~TdmVelbor() {
  // The snapshot belongs to the application and outlives the module.
  if (FCopieControle != nullptr) FCopieControle->RemoveFreeNotification(this);
  if (dmVelbor == this) dmVelbor = nullptr;
}

void TdmVelbor::Notification(TComponent* AComponent, TOperation Operation) {
  TDataModule::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCopieControle) FCopieControle = nullptr;
}

// --- Connection and creation ----------------------------------------------------------------------

String TdmVelbor::ConnectionStringFor(const String& ProgramFolder) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + ProgramFolder +
         "\\base\\velbor.mdb;Mode=ReadWrite;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
         "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
         "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
         "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
         "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
         "Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;"
         "Jet OLEDB:SFP=False";
}

void TdmVelbor::ADOConnectionAfterConnect(TObject*) {
  FormatSettings.DecimalSeparator = ',';
  // Computed once per module: Tag 1 marks the string as set.
  if (ADOConnection->Tag != 0) return;
  String Text = ConnectionStringFor(ExtractFileDir(OsPort::ProgramPath()));
  if (Text == ADOConnection->ConnectionString()) return;
  if (ADOConnection->Connected()) ADOConnection->Close();
  ADOConnection->SetConnectionString(Text);
  ADOConnection->Tag = 1;
}

void TdmVelbor::DataModuleCreate(TObject*) {
  FormatSettings.DecimalSeparator = ',';
  CheminBase = ExtractFileDir(OsPort::ProgramPath()) + "\\base\\";
  // A database made before the current schema gets what it lacks; a key its rows already break
  // is left out, and the operator told.
  if (!ADOConnection->Connected()) return;
  std::vector<String> Laissees = MettreBaseAJour(*ADOConnection->Session());
  if (Laissees.empty()) return;
  String Tables;
  for (const String& Table : Laissees) Tables += (Tables.empty() ? "" : ", ") + Table;
  String Texte = "Des lignes en double dans la base empêchent de protéger ces tables contre les doublons : "_a +
                 Tables + ".\r\nCorrigez ces lignes : la protection sera ajoutée au prochain démarrage."_a;
  Application->MessageBox(Texte.c_str(), "Attention", MB_OK | MB_ICONWARNING);
}

// --- Shared steps of the handlers -----------------------------------------------------------------

bool TdmVelbor::PreparationVisible() const {
  return FormExiste(frmPreparationEtat) && frmPreparationEtat->Visible();
}

bool TdmVelbor::DrapeauEtat() const {
  TComponent* Flag = ActionList1();
  return Flag != nullptr && Flag->Tag == 1;
}

void TdmVelbor::SetDrapeauEtat(int Value) {
  if (TComponent* Flag = ActionList1()) Flag->Tag = Value;
}

void TdmVelbor::RepeindreFenetrePrincipale() {
  if (Application.Exists() && Application->MainForm() != nullptr) Application->MainForm()->Repaint();
}

void TdmVelbor::SetCopieTag(int Value) {
  if (FCopieControle != nullptr) FCopieControle->Tag = Value;
}

int TdmVelbor::CopieTag() const { return FCopieControle != nullptr ? FCopieControle->Tag : 0; }

void TdmVelbor::ReconstruireCopie(TDataSet* DataSet) {
  if (FCopieControle != nullptr) {
    FCopieControle->RemoveFreeNotification(this);
    delete FCopieControle;
    FCopieControle = nullptr;
  }
  FCopieSource = nullptr;
  FCopieLigne = -1;
  auto* Copie = new TqmtMemTable(Application);
  FCopieControle = Copie;
  Copie->FreeNotification(this);
  // Filling posts the pending row of DataSet into its cache, so the copy holds every row, in the
  // dataset's order.
  Copie->FillFromDataSet(DataSet, mtcpoStructure | mtcpoProperties);
  // Values compare whole (a trailing '*' is not a prefix) and without regard to case, as the
  // database's keys do.
  Copie->SetFilterOptions({foCaseInsensitive, foNoPartialCompare});
  FCopieSource = DataSet;
  FCopieLigne = DataSet->RecNo();
}

bool TdmVelbor::CopieContient(const String& Filter, TDataSet* DataSet) {
  if (FCopieControle == nullptr) return false;
  FCopieControle->SetFilterText(Filter);
  FCopieControle->SetFiltered(true);
  TraiterMessages();
  // The row being edited is in the copy as it was when its edit began: it is passed over, so that
  // a code typed again on its own row repeats nothing.
  bool Edition = DataSet != nullptr && DataSet == FCopieSource && DataSet->State() == dsEdit;
  int Ligne = Edition && FCopieLigne > 0 && DataSet->RecNo() == FCopieLigne ? FCopieLigne : -1;
  if (Ligne < 0) return FCopieControle->RecordCount() > 0;
  for (FCopieControle->First(); !FCopieControle->Eof(); FCopieControle->Next())
    if (FCopieControle->RecNo() != Ligne) return true;
  return false;
}

void TdmVelbor::AfficherAvertissement(const String& Text) {
  if (!FormExiste(frmAttention)) return;
  frmAttention->Label1->SetCaption(Text);
  frmAttention->Show();
}

void TdmVelbor::ParcourirChamps(TField* Field) {
  TDataSet* DataSet = Field->DataSet();
  for (int i = DataSet->FieldCount() - 1; i >= 0; --i) {
    TField* Other = DataSet->Fields()->Fields(i);
    if (Other == Field) continue;
    Other->FocusControl();
    TraiterMessages();
  }
  RepeindreFenetrePrincipale();
  Field->FocusControl();
  TraiterMessages();
}

// --- The list and the record ----------------------------------------------------------------------

void TdmVelbor::qListeZoneHumideAfterScroll(TDataSet*) {
  // The code is quoted: a code holding an apostrophe selects its own record.
  String Select = "select * from T_ZONE_HUMIDE where ZH_CODE = " +
                  QuotedStr(qListeZoneHumide->FieldByName("zh_code")->AsString());
  if (qDetailZoneHumide->Active()) {
    qDetailZoneHumide->Close();
    if (DrapeauEtat()) {
      qDetailZoneHumide->SetCommandText(Select);
      qDetailZoneHumide->Open();
      Screen->SetCursor(crHourGlass);
      {
        TScopeGuard restore([&] { Screen->SetCursor(crDefault); });
        for (int i = 0; i < ComponentCount(); ++i) {
          auto* Detail = dynamic_cast<TDataSet*>(Components(i));
          if (Detail == nullptr || Detail->Tag != 6) continue;
          Detail->DisableControls();
          TScopeGuard enableControls([&] { Detail->EnableControls(); });
          Detail->Close();
          Detail->Open();
        }
      }
      SetDrapeauEtat(0);
    } else {
      qDetailZoneHumide->SetCommandText(Select);
    }
  } else if (qDetailZoneHumide->CommandText() != Select) {
    qDetailZoneHumide->SetCommandText(Select);
  }
  if (FormExiste(frmZoneHumide)) frmZoneHumide->SetOxExBtnModifTag(0);
}

void TdmVelbor::RouvrirDonnees() {
  String Code;
  if (qListeZoneHumide->Active() && !qListeZoneHumide->IsEmpty())
    Code = qListeZoneHumide->FieldByName("zh_code")->AsString();
  // Only the database's datasets: the picture table lives in memory and would lose its rows.
  std::vector<TDataSet*> Ouverts;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* DataSet = dynamic_cast<TCustomADODataSet*>(Components(i)); DataSet != nullptr && DataSet->Active())
      Ouverts.push_back(DataSet);
  // Closed from the last, so that the details go before their record; reopened in the
  // description's order, the list first and the record before its details. The record is closed
  // when the list is placed, so the list's scroll only points it at the wetland.
  for (auto It = Ouverts.rbegin(); It != Ouverts.rend(); ++It) (*It)->Close();
  if (std::find(Ouverts.begin(), Ouverts.end(), qListeZoneHumide) != Ouverts.end()) {
    qListeZoneHumide->Open();
    if (!Code.empty()) qListeZoneHumide->Locate("zh_code", Code, {});
  }
  for (TDataSet* DataSet : Ouverts)
    if (!DataSet->Active()) DataSet->Open();
}

void TdmVelbor::qDetailZoneHumideAfterOpen(TDataSet*) {
  if (!FormExiste(frmZoneHumide)) return;
  frmZoneHumide->SetCaption("Zone humide - " + qListeZoneHumide->FieldByName("zh_code")->AsString() + " " +
                            qListeZoneHumide->FieldByName("zh_nom")->AsString());
}

void TdmVelbor::qDetailZoneHumideNewRecord(TDataSet* DataSet) { DataSet->FieldByName("ZH_STATUT")->SetAsString("A"); }

void TdmVelbor::dsQZoneHumideStateChange(TObject*) {
  if (!FormExiste(frmZoneHumide) || FArrondiEnCours) return;
  bool Edition = qDetailZoneHumide->State() == dsEdit || frmZoneHumide->OxExBtnModifTag() == 1;
  frmZoneHumide->SetOxLookOutActivePageColor(Edition ? clSkyBlue : clMedGray);
  frmZoneHumide->SetBbtnValidationTag(frmZoneHumide->OxLookOutActivePageColor() == clSkyBlue ? 1 : 0);
  if (DrapeauEtat()) return;
  try {
    frmZoneHumide->ts1_1EnterActivePage();
  } catch (Exception&) {
    // Placing the edit buttons is cosmetic: the state change goes on.
  }
}

namespace {

struct TLibelleCode {
  const char* Code;
  const char* Text;
};

String LibelleDe(const String& Code, std::initializer_list<TLibelleCode> Table) {
  for (const TLibelleCode& Entry : Table)
    if (Code == Entry.Code) return Entry.Text;
  return String();
}

}  // namespace

void TdmVelbor::qDetailZoneHumideCalcFields(TDataSet* DataSet) {
  auto Code = [DataSet](const char* Name) { return DataSet->FieldByName(Name)->AsString(); };
  auto Set = [DataSet](const char* Name, const String& Text) { DataSet->FieldByName(Name)->SetAsString(Text); };
  Set("libType", LibelleDe(Code("ZH_TYPE"), {{"1", "Elémentaire"_a}, {"2", "Enveloppe de référence"_a}}));
  Set("libStatut", LibelleDe(Code("ZH_STATUT"), {{"A", "Active"}, {"G", "Gelée"_a}}));
  Set("libFiliation", LibelleDe(Code("ZH_FILIATION"), {{"0", "Inconnu"}, {"1", "Rattaché"_a}, {"X", "Sans Objet"}}));
  Set("libCot1",
      LibelleDe(Code("ZH_DIAG_HYDRO"),
                {{"1", R"(Fonctionnement observé proche de l'"équilibre naturel")"_a},
                 {"2", R"(Fonctionnement observé "sensiblement dégradé ne remettant pas en cause les équilibres naturels")"_a},
                 {"3", R"(Fonctionnement observé "dégradé, perturbant les équilibres naturels")"_a},
                 {"4", R"(Fonctionnement observé "très dégradé, les équilibres étant rompus")"_a}}));
  Set("libCot2", LibelleDe(Code("ZH_DIAG_PAT"), {{"1", "Habitats non dégradés"_a},
                                                 {"2", "Habitats partiellement dégradés"_a},
                                                 {"3", "Habitats très fortement dégradés"_a}}));
  Set("libPrecision", LibelleDe(Code("ZH_PRECISION"),
                                {{"1", "Précise"_a}, {"2", "Moyennement précise"_a}, {"3", "Approximative"}}));
}

void TdmVelbor::qDetailZoneHumideZH_CONNEXIONChange(TField*) {
  qmtMemTableImage->Open();
  qmtMemTableImage->Edit();  // makes the single row the first time
  auto* Image = static_cast<TBlobField*>(qmtMemTableImage->FieldByName("image"));
  Image->Clear();
  String Code = qDetailZoneHumide->FieldByName("ZH_CONNEXION")->AsString();
  if (!Code.empty()) {
    try {
      Image->LoadFromFile(ExtractFilePath(OsPort::ProgramPath()) + "base\\connexion" + Code + ".bmp");
    } catch (EStreamError&) {
      // A missing picture shows the record without one rather than refusing to show it.
      Image->Clear();
    }
  }
  qmtMemTableImage->Post();
}

// --- Rounding of the measures ---------------------------------------------------------------------

namespace {

struct TMesure {
  const char* Field;
  int Digits;
  const char* Format;
};
const TMesure kMesures[] = {{"ZH_ALTITUDE", 0, "#"}, {"ZH_SUPERFICIE", 4, "#.####"}, {"ZH_LONGUEUR", 3, "#.###"}};

bool ArrondiDiffere(TField* Field, int Digits, double& Rounded) {
  if (Field->IsNull()) return false;
  double Value = Field->AsFloat();
  Rounded = RoundTo(Value, -Digits);
  return Rounded != Value;
}

}  // namespace

void TdmVelbor::Arrondir(TField* Field, int Digits) {
  double Rounded;
  if (!ArrondiDiffere(Field, Digits, Rounded)) return;
  EditerSiBesoin(Field->DataSet());
  Field->SetAsFloat(Rounded);  // runs this handler again, which stops at the test above
}

void TdmVelbor::qDetailZoneHumideZH_ALTITUDEChange(TField* Sender) { Arrondir(Sender, 0); }
void TdmVelbor::qDetailZoneHumideZH_SUPERFICIEChange(TField* Sender) { Arrondir(Sender, 4); }
void TdmVelbor::qDetailZoneHumideZH_LONGUEURChange(TField* Sender) { Arrondir(Sender, 3); }

void TdmVelbor::qDetailZoneHumideAfterScroll(TDataSet* DataSet) {
  qDetailZoneHumideZH_CONNEXIONChange(DataSet->FieldByName("ZH_CONNEXION"));
  if (PreparationVisible()) return;
  FArrondiEnCours = true;
  TScopeGuard restore([&] { FArrondiEnCours = false; });
  if (EnEdition(DataSet)) {
    for (const TMesure& M : kMesures) {
      auto* Field = static_cast<TFloatField*>(DataSet->FieldByName(M.Field));
      Field->SetPrecision(M.Digits);
      double Rounded;
      if (ArrondiDiffere(Field, M.Digits, Rounded)) Field->SetAsFloat(Rounded);
    }
  } else {
    // Showing a record never writes it: the measures only show rounded (a typed measure is
    // stored rounded by its change handlers).
    for (const TMesure& M : kMesures) {
      auto* Field = static_cast<TFloatField*>(DataSet->FieldByName(M.Field));
      double Rounded;
      if (ArrondiDiffere(Field, M.Digits, Rounded)) Field->SetDisplayFormat(M.Format);
    }
  }
}

// --- Details: defaults, calculated fields, texts --------------------------------------------------

void TdmVelbor::qHistoriqueNewRecord(TDataSet* DataSet) {
  DataSet->FieldByName("HISTO_DATE")->SetAsDateTime(Date());
  DataSet->FieldByName("HISTO_AUTEUR")->SetAsString(NomUtilisateur);
  DataSet->FieldByName("HISTO_ORGANISME")->SetAsString(Organisme);
  DataSet->FieldByName("ACTION_CODE")->SetAsString("M");
}

void TdmVelbor::qHistoriqueCalcFields(TDataSet* DataSet) {
  TField* Date = DataSet->FieldByName("HISTO_DATE");
  DataSet->FieldByName("libDate")->SetAsString(Date->IsNull() ? String() : FormatDateTime("dd/mm/yyyy", Date->AsDateTime()));
}

void TdmVelbor::qInventaireCalcFields(TDataSet* DataSet) {
  int Type;
  String Text;
  if (TryStrToInt(DataSet->FieldByName("INV_TYPE")->AsString(), Type)) {
    switch (Type) {
      case 1: Text = "ZNIEFF 1ère génération"_a; break;
      case 2: Text = "ZNIEFF 2ème génération"_a; break;
      case 3: Text = "ZICO"; break;
      case 4: Text = "RAMSAR"; break;
      case 5: Text = "PSIC"; break;
      case 6: Text = "ZPS"; break;
      default: Text = "Autre"; break;
    }
  }
  DataSet->FieldByName("libCode")->SetAsString(Text);
}

void TdmVelbor::qInstContFinacierICZ_DATEGetText(TField* Sender, String& Text, bool) {
  Text = Sender->IsNull() ? String() : FormatDateTime("mm/yyyy", Sender->AsDateTime());
}

void TdmVelbor::qInstContFinacierICZ_DATESetText(TField* Sender, const String& Text) {
  if (Text.empty()) return;
  const String Pattern = "00/0000";
  bool Valid = Text.size() == Pattern.size();
  for (std::size_t i = 0; Valid && i < Pattern.size(); ++i)
    Valid = Pattern[i] == '0' ? (Text[i] >= '0' && Text[i] <= '9') : Text[i] == Pattern[i];
  int Month = Valid ? (Text[0] - '0') * 10 + (Text[1] - '0') : 0;
  if (!Valid || Month < 1 || Month > 12) DatabaseError("format de date incorrect, saisir MM/AAAA");
  Sender->SetAsDateTime(EncodeDate(StrToInt(Text.substr(3)), Month, 1));
}

void TdmVelbor::qRefBiblioREF_ANNEESetText(TField* Sender, const String& Text) {
  if (Text.size() == 4) Sender->SetAsDateTime(StrToDate("01/01/" + Text));
  else Sender->Clear();
}

void TdmVelbor::qRefBiblioREF_ANNEEChange(TField* Sender) {
  if (Sender->IsNull()) return;
  int Year, Month, Day;
  DecodeDate(Sender->AsDateTime(), Year, Month, Day);
  if (Year >= 1900) return;
  Sender->Clear();
  TraiterMessages();
  // The field starts with Tag 3: the first refusal is silent, then they warn one in two.
  if (Sender->Tag != 0) {
    Sender->Tag = 0;
  } else {
    Sender->Tag = 1;
    Application->MessageBox("L'année doit être supérieur à 1900 !"_a, "Attention", MB_OK | MB_ICONERROR);
  }
}

void TdmVelbor::qSDAGEPrincipaleBeforePost(TDataSet* DataSet) {
  TField* Typo = DataSet->FieldByName("SDZ_TYPO");
  if (Typo->IsNull()) Typo->SetAsBoolean(true);
}

// --- The duplicate-check snapshot and the code checks ----------------------------------------------

void TdmVelbor::qCorineBioBeforeInsert(TDataSet* DataSet) {
  if (CopieTag() != 0) return;
  ReconstruireCopie(DataSet);
}

void TdmVelbor::qCorineBioTCB_CODEChange(TField* Sender) {
  if (CopieTag() != 0) return;
  TCheckInProgress Check(this);
  TDataSet* DataSet = Sender->DataSet();

  // Order numbers of a new row.
  for (int i = DataSet->FieldCount() - 1; i >= 0; --i) {
    TField* Field = DataSet->Fields()->Fields(i);
    if (Field->Tag != 2 || !Field->IsNull()) continue;
    EditerSiBesoin(DataSet);
    Field->SetAsInteger(DataSet->RecordCount() + 1);
  }

  // The same code twice in this wetland's rows.
  bool Doublon = false;
  try {
    Doublon = CopieContient(Egal(Sender->FieldName(), Sender->AsString()), DataSet);
  } catch (Exception&) {
    // The row stays as typed.
  }
  if (Doublon) {
    try {
      SetCopieTag(1);
      TraiterMessages();
      EditerSiBesoin(DataSet);
      if (Sender->Tag == 3) {
        Sender->Clear();
      } else {
        for (int i = 0; i < DataSet->FieldCount(); ++i)
          if (DataSet->Fields()->Fields(i)->Tag == 3) DataSet->Fields()->Fields(i)->Clear();
      }
      ParcourirChamps(Sender);
    } catch (Exception&) {
      // Focusing a control that cannot take the focus: the notice comes all the same.
    }
    AfficherAvertissement(kDejaExistante);
    return;
  }

  // The code must be in the dictionary the row's label comes from.
  TraiterMessages();
  for (int i = DataSet->FieldCount() - 1; i >= 0; --i) {
    TField* Libelle = DataSet->Fields()->Fields(i);
    if (Sender->AsString().empty() || Libelle->Tag != 1 || Libelle->LookupDataSet() == nullptr) continue;
    SetCopieTag(1);
    Variant Trouve = Libelle->LookupDataSet()->Lookup(Sender->FieldName(), Sender->AsString(), Sender->FieldName());
    if (!VarIsNull(Trouve)) continue;
    // The unknown code leaves the row, so it cannot be saved; the row is not posted either.
    Sender->Clear();
    ParcourirChamps(Sender);
    AfficherAvertissement(kCodeInexistant);
    return;
  }

  SetCopieTag(0);
  ReconstruireCopie(DataSet);
}

namespace {

// The other half of a water inlet's or outlet's identity.
const char* AutreMoitie(TField* Field) { return SameText(Field->FieldName(), "RES_CODE") ? "TYPE_ES_CODE" : "RES_CODE"; }

}  // namespace

void TdmVelbor::qEntEauTYPE_ES_CODEChange(TField* Sender) {
  if (CopieTag() != 0) return;
  TCheckInProgress Check(this);
  TDataSet* DataSet = Sender->DataSet();
  try {
    TField* Autre = DataSet->FieldByName(AutreMoitie(Sender));
    String Filtre = Egal(Sender->FieldName(), Sender->AsString()) + " and " +
                    (Autre->AsString().empty() ? Autre->FieldName() + " = NULL" : Egal(Autre->FieldName(), Autre->AsString()));
    if (CopieContient(Filtre, DataSet)) {
      SetCopieTag(1);
      TraiterMessages();
      if (TField* Libelle = DataSet->FindField("libtype")) Libelle->FocusControl();
      TraiterMessages();
      RepeindreFenetrePrincipale();
      Sender->FocusControl();
      TraiterMessages();
      AfficherAvertissement(kDejaExistante);
      SetCopieTag(0);
      // The refused row stays as typed, in edit, to be completed: rebuilding the snapshot would
      // post it into the cache.
      return;
    }
  } catch (Exception&) {
    // The row stays as typed.
  }
  ReconstruireCopie(DataSet);
}

void TdmVelbor::qSortieEauRES_CODEChange(TField* Sender) { qEntEauTYPE_ES_CODEChange(Sender); }

void TdmVelbor::qRefBiblioREF_TITREChange(TField* Sender) {
  TCheckInProgress Check(this);
  TDataSet* DataSet = Sender->DataSet();
  bool Titre = SameText(Sender->FieldName(), "REF_TITRE");
  try {
    TField* Autre = DataSet->FieldByName(Titre ? "REF_AUTEUR" : "REF_TITRE");
    if (CopieContient(Egal(Sender->FieldName(), Sender->AsString()) + " and " + Egal(Autre->FieldName(), Autre->AsString()),
                      DataSet)) {
      SetCopieTag(1);
      TraiterMessages();
      Autre->FocusControl();
      TraiterMessages();
      RepeindreFenetrePrincipale();
      Sender->FocusControl();
      TraiterMessages();
      AfficherAvertissement(kDejaExistante);
    }
  } catch (Exception&) {
    // The row stays as typed.
  }
}

void TdmVelbor::qRefBiblioREF_AUTEURChange(TField* Sender) { qRefBiblioREF_TITREChange(Sender); }

void TdmVelbor::qIGNCARTE_IGN_CODEChange(TField* Sender) {
  TDataSet* DataSet = Sender->DataSet();
  try {
    String Code = Sender->AsString();
    if (!CopieContient(Egal(Sender->FieldName(), Code), DataSet)) {
      if (VarIsNull(T_CARTE_IGN->Lookup("CARTE_IGN_CODE", Code, "CARTE_IGN_CODE"))) return;
      for (const char* Name : {"CARTE_IGN_NOM", "CARTE_IGN_ECHELLE", "CARTE_IGN_SERIE"})
        DataSet->FieldByName(Name)->SetAsVariant(T_CARTE_IGN->Lookup("CARTE_IGN_CODE", Code, Name));
      return;
    }
    TraiterMessages();
    EditerSiBesoin(DataSet);
    Sender->Clear();
    DataSet->FieldByName("CARTE_IGN_ECHELLE")->FocusControl();
    TraiterMessages();
    RepeindreFenetrePrincipale();
    Sender->FocusControl();
    TraiterMessages();
    AfficherAvertissement(kDejaExistante);
  } catch (Exception&) {
    // The row stays as typed.
  }
}

// --- Inventories ----------------------------------------------------------------------------------

TADOQuery* TdmVelbor::RequeteInventaire(const String& InvType, bool& Known) {
  Known = true;
  if (InvType.empty()) return qType7;
  int Type;
  if (TryStrToInt(InvType, Type)) {
    TADOQuery* const Requetes[] = {qType1, qType2, qType3, qType4, qType5, qType6, qType7};
    if (Type >= 1 && Type <= 7) return Requetes[Type - 1];
  }
  Known = false;
  return nullptr;
}

void TdmVelbor::qInventaireINV_TYPEChange(TField* Sender) {
  if (PreparationVisible()) return;
  TDataSet* DataSet = Sender->DataSet();
  if (EnEdition(DataSet)) {
    Screen->SetCursor(crHourGlass);
    TScopeGuard restore([&] {
      if (FormExiste(frmZoneHumide)) frmZoneHumide->RepaintDbeType();
      Screen->SetCursor(crDefault);
    });
    DataSet->FieldByName("INV_LIB")->Clear();
    DataSet->FieldByName("INV_TYPE_ZNIEFF")->Clear();
    TField* Code = DataSet->FieldByName("INV_CODE");
    if (!Code->AsString().empty()) Code->Clear();
  }

  String Type = Sender->AsString();
  if (FormExiste(frmZoneHumide)) {
    frmZoneHumide->SetLkCboCodeInventaireFreeEntry(false);
    if (Type.empty()) {
      frmZoneHumide->SetLkCboCodeInventaireLookupTable(qType7);
    } else {
      // A type that is not a number is refused here, as the conversion refuses it.
      int Value = StrToInt(Type);
      bool Known;
      if (TADOQuery* Requete = RequeteInventaire(Type, Known)) frmZoneHumide->SetLkCboCodeInventaireLookupTable(Requete);
      if (Value == 7) frmZoneHumide->SetLkCboCodeInventaireFreeEntry(true);
    }
  }

  if (!(FormExiste(frmAttention) && frmAttention->Visible())) {
    try {
      String Filtre = Egal("inv_code", DataSet->FieldByName("INV_CODE")->AsString()) + " and " + Egal(Sender->FieldName(), Type);
      if (CopieContient(Filtre, DataSet)) {
        TraiterMessages();
        if (TField* Libelle = DataSet->FindField("libcode")) Libelle->FocusControl();
        TraiterMessages();
        RepeindreFenetrePrincipale();
        Application->MessageBox(kDejaExistante, "Attention", MB_OK | MB_ICONERROR);
        Sender->FocusControl();
        if (FComboActif != nullptr) {
          TraiterMessages();
          FComboActif->DropDown();
          Sender->FocusControl();
          TraiterMessages();
          FComboActif->DropDown();
        }
        // The refused row stays in edit; rebuilding the snapshot would post it into the cache.
        return;
      }
    } catch (Exception&) {
      // The row stays as typed.
    }
  }
  ReconstruireCopie(DataSet);
}

void TdmVelbor::qInventaireINV_CODEChange(TField* Sender) {
  if (PreparationVisible() || CopieTag() != 0) return;
  TCheckInProgress Check(this);
  TDataSet* DataSet = Sender->DataSet();
  TField* Type = DataSet->FieldByName("INV_TYPE");
  try {
    if (CopieContient(Egal("inv_type", Type->AsString()) + " and " + Egal(Sender->FieldName(), Sender->AsString()),
                      DataSet)) {
      SetCopieTag(1);
      TraiterMessages();
      DataSet->FieldByName("INV_TYPE_ZNIEFF")->Clear();
      DataSet->FieldByName("INV_LIB")->Clear();
      if (TField* Libelle = DataSet->FindField("libcode")) Libelle->FocusControl();
      TraiterMessages();
      RepeindreFenetrePrincipale();
      Sender->FocusControl();
      TraiterMessages();
      AfficherAvertissement(kDejaExistante);
      return;
    }
    ReconstruireCopie(DataSet);
  } catch (Exception&) {
    // The row stays as typed.
  }

  EditerSiBesoin(DataSet);
  DataSet->FieldByName("INV_TYPE_ZNIEFF")->Clear();
  DataSet->FieldByName("INV_LIB")->Clear();
  bool Known;
  if (TADOQuery* Requete = RequeteInventaire(Type->AsString(), Known)) {
    String Code = Sender->AsString();
    if (!VarIsNull(Requete->Lookup("code", Code, "code"))) {
      EditerSiBesoin(DataSet);
      DataSet->FieldByName("INV_LIB")->SetAsVariant(Requete->Lookup("code", Code, "lib"));
      // Only the two ZNIEFF generations carry a ZNIEFF type; an empty type is none of them.
      int Value;
      if (TryStrToInt(Type->AsString(), Value) && Value < 3)
        DataSet->FieldByName("INV_TYPE_ZNIEFF")->SetAsVariant(Requete->Lookup("code", Code, "type"));
    }
  }
  Screen->SetCursor(crDefault);
  if (FComboActif != nullptr && SameText(FComboActif->GetDataField(), Sender->FieldName())) {
    try {
      FComboActif->RefreshLookupDisplay();
    } catch (Exception&) {
      // Only the combo's text is late.
    }
  }
}

// --- The notice's repair --------------------------------------------------------------------------

void TdmVelbor::ReparerLigneRefusee() {
  if (FComboActif == nullptr) return;
  TCheckInProgress Check(this);
  SetCopieTag(1);
  TDataSource* Source = FComboActif->GetDataSource();
  TDataSet* DataSet = Source != nullptr ? Source->DataSet() : nullptr;
  if (DataSet == nullptr) return;
  TField* Code = nullptr;
  for (int i = 0; i < DataSet->FieldCount(); ++i)
    if (DataSet->Fields()->Fields(i)->Tag == 3) Code = DataSet->Fields()->Fields(i);
  if (!EnEdition(DataSet)) Source->Edit();
  // The refused code leaves the row, which stays in edit with its code required: it cannot be
  // saved blank, and the snapshot taken before this edit already holds the other rows.
  if (Code != nullptr) Code->Clear();
  if (FCopieControle != nullptr) FCopieControle->SetFiltered(false);
  TraiterMessages();
  FComboActif->DropDown();
  FComboActif->ClearEditText();
  TraiterMessages();
}

// --- Refused posts --------------------------------------------------------------------------------

String TdmVelbor::MessageValeurManquante(const String& DataSetName) {
  for (const TPostErreur& Entry : kPostErreurs)
    if (DataSetName == Entry.DataSet) return Entry.Message;
  return String();
}

void TdmVelbor::DetailPostError(TDataSet* DataSet, EDatabaseError* E, TDataAction&) {
  if (FormExiste(frmAttention)) frmAttention->Hide();
  if (E->Message.find("doit avoir une valeur") != String::npos) E->Message = MessageValeurManquante(DataSet->Name());
}

