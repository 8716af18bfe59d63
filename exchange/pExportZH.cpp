// This file implements TfrmExportZH, the spreadsheet export: the checks of the target file, the
// filling of the workbook sheet by sheet, its saving, and the stop asked while it runs.
#include "Object.h"
#include "pExportZH.h"

#include "ADODB.h"
#include "Dialogs.h"
#include "Field.h"
#include "FileUtils.h"
#include "OxFilenameEdit.h"
#include "OxProgressBar.h"
#include "ScopeGuard.h"
#include "Spreadsheet.h"
#include "StrUtils.h"
#include "pUtilZH.h"

VELBOR_IMPLEMENT_CLASS(TfrmExportZH)
VELBOR_HANDLERS(TfrmExportZH, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormCloseQuery), VELBOR_HANDLER(bbOkClick),
                VELBOR_HANDLER(ADOQueryDetailBeforeOpen), VELBOR_HANDLER(ADOQueryDetailAfterOpen))
VELBOR_FIELDS(TfrmExportZH, VELBOR_FIELD(ADOQuery), VELBOR_FIELD(ADOQueryDetail), VELBOR_FIELD(tNomChamp),
              VELBOR_FIELD(OxSpecialProgress1))

const TFeuilleDetail FeuillesDetail[31] = {
    {"Critères délim."_a, "T_DEL_CARTO_ZH"},
    {"Cartes IGN", "T_IGN"},
    {"Orient. actions", "T_ORIENT_ZH"},
    {"Inst. cont. finan.", "T_INST_CF_ZH"},
    {"Mes. prot. aqua.", "T_MES_PROT_MA"},
    {"Mes. prot. esp.", "T_MES_PROT_ZH"},
    {"Statut Fonc.", "T_STATUT_FONC_ZH"},
    {"Val. soc. éco."_a, "T_VAL_SE_ZH"},
    {"Fact. influ. autour", "T_FACT_INF_ZH2"},
    {"Fact. influ. ZH", "T_FACT_INF_ZH1"},
    {"Act. hum. autour", "T_ACT_HUM_ZH2"},
    {"Act. hum. ZH", "T_ACT_HUM_ZH"},
    {"Fonct. Bio", "T_FONCT_BIO_ZH"},
    {"Liste habitats", "T_HABITAT_ZH"},
    {"Liste oiseaux", "T_OISEAUX_ZH"},
    {"Liste esp. ani.", "T_ESP_ANI_ZH"},
    {"Liste esp. végé."_a, "T_ESP_VEG_ZH"},
    {"Inventaires", "T_INVENTAIRE"},
    {"Fonct. hydro", "T_FONCT_HYDRO_ZH"},
    {"Qualité Eau"_a, "T_QUALITE_EAU_ZH"},
    {"Sorties Eau", "T_SORTIE_EAU_ZH"},
    {"Entrées Eau"_a, "T_ENT_EAU_ZH"},
    {"Typo. physique", "T_TYPO_PHY_ZH"},
    {"Corine Biotope", "T_CORINE_BIO_ZH"},
    {"SDAGE", "T_SDAGE_ZH"},
    {"Ref biblio", "T_REF_BIBLIO"},
    {"Historique fiche", "T_HISTORIQUE"},
    {"Bass. vers. sout.", "T_SYS_AQUI_ZH"},
    {"Bass. vers. surf.", "T_ZONE_HYDRO_ZH"},
    {"Communes", "T_COMMUNE_ZH"},
    {"Autres noms", "T_ALIAS"},
};

void RegisterExportZH() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterRechercheClasses();
  RegisterOxSpecialProgress();
  for (TClass Class : {TfrmExportZH::StaticClass(), TADOTable::StaticClass()}) RegisterClass(Class);
}

namespace {

// The message-box flags of the export's questions and messages.
constexpr unsigned kAvertissement = MB_OK | MB_ICONWARNING;  // 48
constexpr unsigned kQuestion = MB_YESNO | MB_ICONWARNING;    // 52

// The pending messages run at most this often while sheets are written (milliseconds): often
// enough for the window to answer at once, rarely enough to cost nothing beside the cells.
constexpr unsigned kIntervallePassage = 40;

// How a column's values go into the workbook. Every value keeps its type: codes stay texts with
// their leading zeros, numbers stay numbers, dates are dates; a boolean is the field's text.
enum class TGenre { Texte, Entier, Reel, Date, Heure, DateHeure };

struct TColonne {
  TField* Champ;
  TGenre Genre;
  String Format;  // empty: the workbook's own (numbers with their decimals, dates as dd/mm/yyyy)
};

TColonne ColonneDe(TField* Champ) {
  switch (Champ->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint: return {Champ, TGenre::Entier, "0"};
    case ftFloat:
    case ftCurrency:
    case ftBCD: return {Champ, TGenre::Reel, String()};
    case ftDate: return {Champ, TGenre::Date, "dd/mm/yyyy"};
    case ftTime: return {Champ, TGenre::Heure, "hh:mm:ss"};
    case ftDateTime: return {Champ, TGenre::DateHeure, String()};
    default: return {Champ, TGenre::Texte, "@"};
  }
}

// The text of a field as the sheet shows it: without carriage returns and tabs (line feeds stay).
String TexteCellule(TField* Champ) {
  String Texte = Champ->AsString();
  std::erase_if(Texte, [](char c) { return c == '\r' || c == '\t'; });
  return Texte;
}

Variant ValeurCellule(const TColonne& Colonne) {
  switch (Colonne.Genre) {
    case TGenre::Entier: return Variant(Colonne.Champ->AsLargeInt());
    case TGenre::Reel: return Variant(Colonne.Champ->AsFloat());
    case TGenre::Date:
    case TGenre::Heure:
    case TGenre::DateHeure: return Variant::FromDate(Colonne.Champ->AsDateTime());
    case TGenre::Texte: break;
  }
  return Variant(TexteCellule(Colonne.Champ));
}

}  // namespace

TfrmExportZH::TfrmExportZH(TComponent* AOwner) : TfrmRecherche(AOwner) { RegisterExportZH(); }

TfrmExportZH::~TfrmExportZH() = default;

String TfrmExportZH::SqlDetail(const String& SqlRecherche, const String& Table) {
  // The values are parameters: the one "*" of the search is its column list.
  String Codes = SqlRecherche;
  std::size_t Etoile = Codes.find('*');
  if (Etoile != String::npos) Codes.replace(Etoile, 1, "ZH_CODE ");
  return "select * from " + Table + " WHERE ZH_CODE IN (" + Codes + ") ORDER BY ZH_CODE";
}

// --- The window ---------------------------------------------------------------------------------

void TfrmExportZH::FormCreate(TObject*) {
  // The main window showed the hourglass while the dialog was made.
  Screen->SetCursor(crDefault);
  FLibelles.clear();
  for (tNomChamp->First(); !tNomChamp->Eof(); tNomChamp->Next())
    FLibelles.emplace(tNomChamp->FieldByName("TABLE_CHAMP")->AsString(),
                      tNomChamp->FieldByName("TABLE_LIB")->AsString());
}

void TfrmExportZH::FormCloseQuery(TObject*, bool& CanClose) {
  // The export uses the window's components until it ends: closing asks to stop it instead.
  if (!FEnCours) return;
  CanClose = false;
  DemanderArret();
}

void TfrmExportZH::ADOQueryDetailBeforeOpen(TDataSet*) { Screen->SetCursor(crHourGlass); }

void TfrmExportZH::ADOQueryDetailAfterOpen(TDataSet*) {
  // During the export the hourglass stays until the end.
  if (!FEnCours) Screen->SetCursor(crDefault);
}

void TfrmExportZH::DemanderArret() {
  if (Application->MessageBox("Voulez vous arrêter la procédure"_a, "Message", kQuestion) == IDYES) FArret = true;
}

bool TfrmExportZH::ArretDemande(bool Maintenant) {
  unsigned Ticks = GetTickCount();
  if (Maintenant || Ticks - FDernierPassage >= kIntervallePassage) {
    FDernierPassage = Ticks;
    Application->ProcessMessages();
  }
  return FArret;
}

void TfrmExportZH::FeuilleEcrite() { OxSpecialProgress1->SetPosition(OxSpecialProgress1->Position() + 1); }

// --- The export ---------------------------------------------------------------------------------

void TfrmExportZH::bbOkClick(TObject* Sender) {
  if (FEnCours) return;
  TfrmRecherche::bbOkClick(Sender);
  if (SqlRecherche.empty()) return;
  const String Fichier = StringReplace(eRepertoire->Text(), "\"", "", rfReplaceAll);
  const String Dossier = ExtractFilePath(Fichier);
  if (Dossier.empty() || !DirectoryExists(Dossier)) {
    Application->MessageBox("Le chemin " + Fichier + " n'est pas valid\r\nVeuillez recommencer !", "Attention",
                            kAvertissement);
    return;
  }
  // The earlier file is replaced only once the new workbook is complete: a stopped or failed
  // export leaves it as it was.
  if (FileExists(Fichier) &&
      Application->MessageBox("Le fichier " + Fichier + " sera detruit\r\nVoulez vous continuer ?", "Attention",
                              kQuestion) != IDYES)
    return;

  String Message = "Fin de l'exportation";
  unsigned Icone = 0;
  {
    // Whatever way the run ends, the dialog goes back to idle and the main window takes input
    // again, before the final message.
    TCustomForm* Principale = Application->MainForm();
    const bool PrincipaleActive = Principale != nullptr && Principale != this && Principale->Enabled();
    FEnCours = true;
    FArret = false;
    bbOk->SetEnabled(false);
    if (PrincipaleActive) Principale->SetEnabled(false);
    Screen->SetCursor(crHourGlass);
    TScopeGuard Fin([&] {
      ADOQuery->Close();
      ADOQueryDetail->Close();
      FClasseur = nullptr;
      FEnCours = false;
      FArret = false;
      bbOk->SetEnabled(true);
      if (PrincipaleActive) Principale->SetEnabled(true);
      OxSpecialProgress1->SetPosition(0);
      Screen->SetCursor(crDefault);
    });
    try {
      if (!Exporter(Fichier)) Message = "Exportation annulée : le fichier n'a pas été écrit"_a;
    } catch (const Exception& E) {
      Message = "L'exportation a échoué : le fichier n'a pas été écrit.\r\n"_a + E.Message;
      Icone = MB_ICONERROR;
    }
  }
  Application->MessageBox(Message, "Message", MB_OK | Icone);
}

bool TfrmExportZH::Exporter(const String& Fichier) {
  OxSpecialProgress1->SetMaximum(0);
  OxSpecialProgress1->SetPosition(0);
  OxSpecialProgress1->SetMaximum(1 + int(std::size(FeuillesDetail)));
  TSpreadsheet Tableur;
  Tableur.Visible = true;
  Tableur.DisplayAlerts = false;
  // The workbook lives in memory only: unsaved, it leaves no file whatever ends the export.
  TScopeGuard Quitter([&] { Tableur.Quit(); });
  TWorkbook* Classeur = Tableur.Workbooks()->Add();
  FClasseur = Classeur;
  while (Classeur->Worksheets()->Count() > 1)
    Classeur->Worksheets()->Item(Classeur->Worksheets()->Count() - 1)->Delete();

  ADOQuery->Close();
  ADOQuery->SQL()->SetText(SqlRecherche);
  LierParametres(ADOQuery->Parameters());
  ADOQuery->Open();
  EcrireFeuille(ADOQuery, "Zone Humide");
  ADOQuery->Close();
  if (ArretDemande(true)) return false;
  Classeur->Worksheets()->Add();
  for (const TFeuilleDetail& Detail : FeuillesDetail) {
    ADOQueryDetail->Close();
    ADOQueryDetail->SQL()->SetText(SqlDetail(SqlRecherche, Detail.Table));
    LierParametres(ADOQueryDetail->Parameters());
    ADOQueryDetail->Open();
    EcrireFeuille(ADOQueryDetail, Detail.Feuille);
    ADOQueryDetail->Close();
    if (ArretDemande(true)) return false;
    if (&Detail != &FeuillesDetail[std::size(FeuillesDetail) - 1]) Classeur->Worksheets()->Add();
  }
  // "Zone Humide", pushed to the end by the sheets added before it, comes first.
  TWorksheets* Feuilles = Classeur->Worksheets();
  Feuilles->Item(Feuilles->Count())->Move(Feuilles->Item(1));
  Classeur->Close(true, Fichier);
  return true;
}

void TfrmExportZH::EcrireFeuille(TDataSet* Query, const String& Nom) {
  TWorksheet* Feuille = FClasseur->Worksheets()->Item(1);
  Feuille->SetName(Nom);
  std::vector<TColonne> Colonnes;
  for (int i = 0; i < Query->Fields()->Count(); ++i) {
    TField* Champ = Query->Fields()->Fields(i);
    Colonnes.push_back(ColonneDe(Champ));
    TCellRange Titre(Feuille, 1, i + 1, 1, i + 1);
    Titre.SetNumberFormat("@");
    auto Libelle = FLibelles.find(Champ->FieldName());
    Titre.SetValue(Libelle != FLibelles.end() ? Libelle->second : Champ->FieldName());
  }
  int Ligne = 1;
  for (Query->First(); !Query->Eof(); Query->Next()) {
    ++Ligne;
    for (std::size_t i = 0; i < Colonnes.size(); ++i) {
      const TColonne& Colonne = Colonnes[i];
      // An empty field leaves its cell empty.
      if (Colonne.Champ->IsNull()) continue;
      TCellRange Cellule(Feuille, Ligne, int(i) + 1, Ligne, int(i) + 1);
      try {
        if (!Colonne.Format.empty()) Cellule.SetNumberFormat(Colonne.Format);
        Cellule.SetValue(ValeurCellule(Colonne));
      } catch (const Exception& E) {
        throw EAutomationError("Feuille « "_a + Nom + " », ligne "_a + IntToStr(Ligne) + ", colonne " +
                               Colonne.Champ->FieldName() + " : " + E.Message);
      }
    }
    // Between rows the window answers; a stop asked is taken at the end of the sheet.
    ArretDemande(false);
  }
  Feuille->Cells().Select();
  Feuille->Cells().SetRowHeight(12.75);
  Feuille->Range("A1").Select();
  FeuilleEcrite();
}
