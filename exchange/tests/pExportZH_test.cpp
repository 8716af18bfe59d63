// Tests of the spreadsheet export over the program's data module: the workbook of the wetlands a
// search finds, read back from the file (sheets and their order, captions, typed values, accents),
// the refusals before anything is written, the stop asked during a run, a failed save that keeps
// the earlier file, the main window's command, and the time of an export of 1,000 wetlands.
#include "OsPort.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "AppTestSupport.h"
#include "Dialogs.h"
#include "FormatSettings.h"
#include "OxFilenameEdit.h"
#include "OxLookupEdit.h"
#include "OxProgressBar.h"
#include "ScreenshotFiles.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "UiTestSupport.h"
#include "XlsxReader.h"
#include "pExportZH.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"

namespace {

// The export with a hook after a given sheet, run from inside the export as a click or a close
// would arrive there.
class TExportEssai : public TfrmExportZH {
 public:
  explicit TExportEssai(TComponent* AOwner) : TfrmExportZH(AOwner) {}
  int Feuilles = 0;
  int FeuilleAction = -1;
  std::function<void()> Action;

 protected:
  void FeuilleEcrite() override {
    TfrmExportZH::FeuilleEcrite();
    if (++Feuilles == FeuilleAction && Action) Action();
  }
};

// Saves the screen under a window as NAME.png beside the test program.
void Photographier(TWinControl* Window, const String& Name) {
  RECT Rect;
  GetWindowRect(Window->Handle(), &Rect);
  HDC Ecran = GetDC(nullptr);
  SaveScreenshotOf(Ecran, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, Name);
  ReleaseDC(nullptr, Ecran);
}

struct TQuestion {
  String Caption;
  unsigned Flags;
  String Text;
  bool operator==(const TQuestion&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const TQuestion& Q) {
  return Out << "[" << Q.Caption << " " << Q.Flags << "] " << Q.Text;
}

const TQuestion Fin = {"Message", MB_OK, "Fin de l'exportation"};
const TQuestion Arret = {"Message", 52, "Voulez vous arrêter la procédure"_a};
const TQuestion Annulee = {"Message", MB_OK, "Exportation annulée : le fichier n'a pas été écrit"_a};

// The sheets in the workbook's order: "Zone Humide", then the details in the reverse of their
// writing order.
std::vector<std::string> FeuillesAttendues() {
  std::vector<std::string> Noms = {"Zone Humide"};
  for (int i = int(std::size(FeuillesDetail)) - 1; i >= 0; --i) Noms.push_back(AnsiToUtf8(FeuillesDetail[i].Feuille));
  return Noms;
}

// The reference's letters and row ("AB12" gives "AB" and 12).
std::pair<std::string, int> Reference(const std::string& Ref) {
  std::size_t i = Ref.find_first_of("0123456789");
  return {Ref.substr(0, i), std::stoi(Ref.substr(i))};
}

// The column letters of the caption Titre in a sheet's first row; "" when there is none.
std::string Colonne(const XlsxSheet& Sheet, const std::string& Titre) {
  for (const auto& [Ref, Cell] : Sheet.Cells)
    if (Reference(Ref).second == 1 && Cell.Value == Titre) return Reference(Ref).first;
  return std::string();
}

// The cell under the caption Titre in a row; a cell of type "" when it is empty.
XlsxCell Cellule(const XlsxSheet& Sheet, const std::string& Titre, int Ligne) {
  std::string Lettres = Colonne(Sheet, Titre);
  EXPECT_FALSE(Lettres.empty()) << Sheet.Name << ": no column " << Titre;
  auto Found = Sheet.Cells.find(Lettres + std::to_string(Ligne));
  return Found == Sheet.Cells.end() ? XlsxCell{} : Found->second;
}

// The last row holding a cell.
int DerniereLigne(const XlsxSheet& Sheet) {
  int Derniere = 0;
  for (const auto& Entry : Sheet.Cells) Derniere = std::max(Derniere, Reference(Entry.first).second);
  return Derniere;
}

// The values of one column from row 2 down.
std::vector<std::string> Valeurs(const XlsxSheet& Sheet, const std::string& Titre) {
  std::vector<std::string> List;
  for (int Ligne = 2; Ligne <= DerniereLigne(Sheet); ++Ligne) List.push_back(Cellule(Sheet, Titre, Ligne).Value);
  return List;
}

const XlsxSheet& Feuille(const XlsxBook& Book, const std::string& Nom) {
  for (const XlsxSheet& Sheet : Book.Sheets)
    if (Sheet.Name == Nom) return Sheet;
  throw std::runtime_error("no sheet " + Nom);
}

class ExportZHTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    AppTest::MakeModuleDatabase();
    Dossier = OsPort::TempFolder() + "velbor_export_zh\\";
    OsPort::CreateDirectory(Dossier);
    for (const char* f : {"zh.xlsx", "zh.xlsx.tmp", "autre.xlsx"}) OsPort::DeleteFile(Dossier + f);
    Arrange();
    Application->CreateForm(Main);
    Application->CreateForm(dmVelbor);
    Form = CreateForm<TExportEssai>(Application);
    Form->Show();
    ASSERT_TRUE(Painted(Form));
  }
  void TearDown() override {
    if (FormExiste(Form)) Form->Free();
    if (dmVelbor != nullptr) dmVelbor->Free();
    if (Main != nullptr) Main->Free();
    Application->ProcessMessages();
  }
  virtual void Arrange() {}

  String Cible() const { return Dossier + "zh.xlsx"; }
  std::vector<TQuestion> Questions() const {
    std::vector<TQuestion> List;
    for (const TModalQuestion& Q : Script.Asked) List.push_back({Q.Caption, Q.Flags, Q.Text});
    return List;
  }
  // Ok with every wetland, or with the criteria a test typed, into Fichier.
  void Exporter(const String& Fichier, bool Tous = true) {
    Form->cbTousSites->SetChecked(Tous);
    Form->eRepertoire->SetText(Fichier);
    Form->bbOk->Click();
    Application->ProcessMessages();
  }
  XlsxBook Lire(const String& Fichier) const { return ReadXlsx(OsPort::HostPath(Fichier)); }
  void ExpectIdle() {
    EXPECT_FALSE(Form->EnCours());
    EXPECT_TRUE(Form->bbOk->Enabled());
    EXPECT_TRUE(Main->Enabled());
    EXPECT_EQ(Form->OxSpecialProgress1->Position(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_FALSE(OsPort::FileExists(Cible() + ".tmp"));
  }

  TModalScript Script;
  AppTest::TTestMainForm* Main = nullptr;
  TExportEssai* Form = nullptr;
  String Dossier;
};

// --- The workbook ---------------------------------------------------------------------------------

TEST_F(ExportZHTest, DialogIsTheSearchWithItsFileEditAndProgressBar) {
  EXPECT_EQ(Form->Caption(), "Export zones humides");
  EXPECT_TRUE(Form->eRepertoire->Visible());
  EXPECT_TRUE(Form->lblRepertoire->Visible());
  EXPECT_EQ(Form->eRepertoire->DefaultExt(), "xlsx");
  EXPECT_EQ(Form->eRepertoire->Filter(), "Classeur Excel (*.xlsx)|*.xlsx");
  // Nothing of the dialog lies outside its client area or over another control.
  const TRect Client = Form->ClientRect();
  for (TControl* C : std::initializer_list<TControl*>{Form->GroupBox1, Form->eRepertoire, Form->bbOk, Form->bbFermer,
                                                      Form->OxSpecialProgress1}) {
    EXPECT_LE(C->Left() + C->Width(), Client.Right) << C->Name();
    EXPECT_LE(C->Top() + C->Height(), Client.Bottom) << C->Name();
  }
  EXPECT_GE(Form->OxSpecialProgress1->Top(), Form->bbOk->Top() + Form->bbOk->Height());
  // Centred on the small stand-in main window, the dialog reaches above the screen: moved down.
  Form->SetBounds(40, 40, Form->Width(), Form->Height());
  ASSERT_TRUE(Painted(Form));
  Photographier(Form, "ExportZH");
}

// Every wetland with its details: 32 sheets in their order, a caption row from T_TABLE (the
// column's own name when it has no caption), one row per database row, and values of their own
// type: codes as texts with their leading zeros, numbers, dates, booleans as the field's text,
// memos without their carriage returns, accents exact.
TEST_F(ExportZHTest, EveryWetlandWithItsDetailsIsWrittenSheetBySheetWithTypedValues) {
  Script.Push(IDOK);
  Exporter(Cible());
  EXPECT_EQ(Questions(), std::vector<TQuestion>{Fin});
  ExpectIdle();

  XlsxBook Book = Lire(Cible());
  std::vector<std::string> Noms;
  for (const XlsxSheet& Sheet : Book.Sheets) Noms.push_back(Sheet.Name);
  EXPECT_EQ(Noms, FeuillesAttendues());
  // No sheet for the regional species lists.
  EXPECT_EQ(Noms.size(), 32u);

  const XlsxSheet& Zones = Feuille(Book, "Zone Humide");
  EXPECT_EQ(Zones.Cells.at("A1").Value, "ZH_CODE");
  EXPECT_EQ(Zones.Cells.at("B1").Value, "Nom de la zone humide");
  EXPECT_EQ(Zones.Cells.at("B1").Format, "@");
  EXPECT_EQ(Valeurs(Zones, "ZH_CODE"), (std::vector<std::string>{"073ASTERS0001", "073ASTERS0002", "971PNG   0001"}));
  EXPECT_EQ(Zones.DefaultRowHeight, "12.75");
  EXPECT_EQ(Zones.Selection, "A1");
  struct TCas {
    const char* Titre;
    int Ligne;
    XlsxCell Attendu;  // type "" for an empty cell
  };
  const TCas Cas[] = {
      {"ZH_CODE", 2, {"s", "073ASTERS0001", "@"}},
      {"Nom de la zone humide", 2, {"s", "Marais de l'Étang Noir", "@"}},
      {"ZH_SYS_ALT", 2, {"s", "1", "@"}},
      {"ZH_MENACE", 2, {"s", "Drainage agricole\nRemblais", "@"}},
      {"ZH_DESC_PAYS", 2, {"s", "Marais tourbeux\nen rive du lac\nau pied du mont", "@"}},
      {"ZH_ALTITUDE", 2, {"n", "231", "General"}},
      {"ZH_SUPERFICIE", 2, {"n", "12.3456", "General"}},
      {"ZH_FLGCANAUX", 2, {"s", "Vrai", "@"}},
      {"ZH_FLGOUVRAGE", 2, {"s", "Faux", "@"}},
      {"ZH_NOM_ENVELOPPE", 2, {}},
      {"ZH_ALTITUDE", 4, {}},
      {"Nom de la zone humide", 4, {"s", "Mangrove de Belle-Plaine", "@"}},
  };
  for (const TCas& C : Cas) {
    XlsxCell Lu = Cellule(Zones, C.Titre, C.Ligne);
    EXPECT_EQ(Lu.Type, C.Attendu.Type) << C.Titre << C.Ligne;
    EXPECT_EQ(Lu.Value, C.Attendu.Value) << C.Titre << C.Ligne;
    if (!C.Attendu.Type.empty()) {
      EXPECT_EQ(Lu.Format, C.Attendu.Format) << C.Titre << C.Ligne;
    }
  }

  // The details: each sheet's rows are those of the table, in the order of the wetlands' codes.
  const XlsxSheet& Historique = Feuille(Book, "Historique fiche");
  EXPECT_EQ(Valeurs(Historique, "ZH_CODE"), (std::vector<std::string>{"073ASTERS0001", "073ASTERS0001", "073ASTERS0002"}));
  EXPECT_EQ(Valeurs(Historique, "HISTO_AUTEUR"), (std::vector<std::string>{"Dupont", "Lefèvre", "Dupont"}));
  XlsxCell Date = Cellule(Historique, "HISTO_DATE", 2);
  EXPECT_EQ(Date.Type, "n");
  EXPECT_EQ(Date.Value, "38058.4375");
  EXPECT_EQ(Date.Format, "dd/mm/yyyy hh:mm:ss");
  XlsxCell Jour = Cellule(Historique, "HISTO_DATE", 3);
  EXPECT_EQ(Jour.Value, "38533");
  EXPECT_EQ(Jour.Format, "dd/mm/yyyy");

  const XlsxSheet& Activites = Feuille(Book, "Act. hum. ZH");
  EXPECT_EQ(Valeurs(Activites, "ACT_HUM_CODE"), (std::vector<std::string>{"01", "10"}));
  EXPECT_EQ(Cellule(Activites, "ACT_HUM_CODE", 2).Type, "s");
  EXPECT_EQ(Cellule(Activites, "ACT_HUM_ZH_ORDRE", 3).Value, "2");
  EXPECT_EQ(Cellule(Activites, "ACT_HUM_ZH_ORDRE", 3).Type, "n");
  EXPECT_EQ(Cellule(Activites, "ACT_HUM_ZH_REM", 3).Type, "");
  EXPECT_EQ(Valeurs(Feuille(Book, "Autres noms"), "ALIAS_LIB").size(), 3u);
  EXPECT_EQ(Valeurs(Feuille(Book, "Qualité Eau"), "ZH_CODE").size(), 3u);
  EXPECT_EQ(Cellule(Feuille(Book, "Orient. actions"), "ORZ_MODAL", 2).Value, "Convention avec\nles exploitants");
  XlsxCell Contrat = Cellule(Feuille(Book, "Inst. cont. finan."), "ICZ_DATE", 2);
  EXPECT_EQ(Contrat.Value, "38018");
  EXPECT_EQ(Contrat.Format, "dd/mm/yyyy");
  EXPECT_EQ(Valeurs(Feuille(Book, "Corine Biotope"), "TCB_CODE"), (std::vector<std::string>{"22.1", "53.1"}));
  EXPECT_TRUE(Script.Unexpected.empty());
}

// A selection by criteria exports the wetlands found and only their details; a selection that
// finds nothing still gives the 32 sheets, each with its caption row alone.
TEST_F(ExportZHTest, CriteriaSelectTheWetlandsAndDetailsWritten) {
  struct TCas {
    const char* Nom;
    TOxLookupEdit* TfrmRecherche::*Edit;
    const char* Texte;
    std::vector<std::string> Zones;
    std::vector<std::string> Communes;
  };
  const TCas Cas[] = {
      {"site", &TfrmRecherche::OxLkeSite, "073ASTERS0002", {"073ASTERS0002"}, {"73065"}},
      {"SDAGE type", &TfrmRecherche::OxLkeSdage, "5", {"073ASTERS0001"}, {"73008", "73065"}},
      {"envelope found nowhere", &TfrmRecherche::OxLkeRef, "Nulle part", {}, {}},
  };
  for (const TCas& C : Cas) {
    Script.Asked.clear();
    OsPort::DeleteFile(Cible());
    for (TOxLookupEdit* Edit : {Form->OxLkeSite, Form->OxLkeSdage, Form->OxLkeRef}) Edit->SetText(String());
    (Form->*C.Edit)->SetText(C.Texte);
    Script.Push(IDOK);
    Exporter(Cible(), false);
    EXPECT_EQ(Questions(), std::vector<TQuestion>{Fin}) << C.Nom;
    XlsxBook Book = Lire(Cible());
    ASSERT_EQ(Book.Sheets.size(), 32u) << C.Nom;
    EXPECT_EQ(Valeurs(Feuille(Book, "Zone Humide"), "ZH_CODE"), C.Zones) << C.Nom;
    EXPECT_EQ(Valeurs(Feuille(Book, "Communes"), "COM_CODE"), C.Communes) << C.Nom;
    if (C.Zones.empty()) {
      for (const XlsxSheet& Sheet : Book.Sheets) {
        EXPECT_EQ(DerniereLigne(Sheet), 1) << C.Nom << " " << Sheet.Name;
        EXPECT_TRUE(Sheet.Cells.count("A1")) << C.Nom << " " << Sheet.Name;
      }
    }
  }
  EXPECT_TRUE(Script.Unexpected.empty());
}

// --- Refusals before anything is written ----------------------------------------------------------

// The inherited checks, a missing folder and a refused replacement end Ok with their message and
// write nothing; an accepted replacement writes the new workbook over the old file.
TEST_F(ExportZHTest, RefusalsWriteNothingAndAnAcceptedReplacementReplaces) {
  const String Absent = Dossier + "absent\\zh.xlsx";
  struct TCas {
    const char* Nom;
    bool Tous;
    String Fichier;
    bool Ancien;    // an earlier file is there
    int Reponse;    // to the replacement question, when it is asked
    std::vector<TQuestion> Attendues;
    bool Ecrit;
  };
  const TQuestion Detruit = {"Attention", 52,
                             "Le fichier " + Cible() + " sera detruit\r\nVoulez vous continuer ?"};
  const TCas Cas[] = {
      {"no criterion", false, Cible(), false, 0, {{"Attention", MB_OK, "Aucune sélection n'a été faite"_a}}, false},
      {"no file", true, "", false, 0, {{"Attention", MB_OK, "Le fichier doit être rempli"_a}}, false},
      {"missing folder", true, Absent, false, 0,
       {{"Attention", 48, "Le chemin " + Absent + " n'est pas valid\r\nVeuillez recommencer !"}}, false},
      {"no folder at all", true, "zh.xlsx", false, 0,
       {{"Attention", 48, "Le chemin zh.xlsx n'est pas valid\r\nVeuillez recommencer !"}}, false},
      {"replacement refused", true, Cible(), true, IDNO, {Detruit}, false},
      {"replacement accepted", true, Cible(), true, IDYES, {Detruit, Fin}, true},
  };
  for (const TCas& C : Cas) {
    Script.Asked.clear();
    OsPort::DeleteFile(Cible());
    if (C.Ancien) AppTest::WriteFileText(Cible(), "ancien");
    for (const TQuestion& Q : C.Attendues) Script.Push(Q.Flags == 52 ? C.Reponse : IDOK);
    Exporter(C.Fichier, C.Tous);
    EXPECT_EQ(Questions(), C.Attendues) << C.Nom;
    if (C.Ecrit) EXPECT_EQ(Lire(Cible()).Sheets.size(), 32u) << C.Nom;
    else if (C.Ancien) EXPECT_EQ(AppTest::ReadFileText(Cible()), "ancien") << C.Nom;
    else EXPECT_FALSE(OsPort::FileExists(Cible())) << C.Nom;
    EXPECT_FALSE(OsPort::DirectoryExists(Dossier + "absent")) << C.Nom;
    ExpectIdle();
  }
  EXPECT_TRUE(Script.Unexpected.empty());
}

// --- A run stopped, a run that fails -------------------------------------------------------------

// Fermer or the title bar's close button during a run asks whether to stop: Yes stops it with no
// file written (an earlier file stays as it was), No lets it finish. The window stays open.
TEST_F(ExportZHTest, CloseDuringARunAsksAndStopsOnYesOnly) {
  struct TCas {
    const char* Nom;
    bool ParTitre;
    int Reponse;
    bool Ancien;
  };
  const TCas Cas[] = {
      {"Fermer, Yes", false, IDYES, false},
      {"Fermer, Yes, earlier file", false, IDYES, true},
      {"Fermer, No", false, IDNO, false},
      {"title bar, Yes", true, IDYES, true},
      {"title bar, No", true, IDNO, true},
  };
  for (const TCas& C : Cas) {
    Script.Asked.clear();
    OsPort::DeleteFile(Cible());
    if (C.Ancien) AppTest::WriteFileText(Cible(), "ancien");
    Form->Feuilles = 0;
    Form->FeuilleAction = 3;
    Form->Action = [this, &C] {
      // The bar counts the sheets written.
      EXPECT_EQ(Form->OxSpecialProgress1->Maximum(), 32);
      EXPECT_EQ(Form->OxSpecialProgress1->Position(), 3);
      EXPECT_TRUE(Form->EnCours());
      EXPECT_FALSE(Form->bbOk->Enabled());
      EXPECT_FALSE(Main->Enabled());
      EXPECT_EQ(Screen->Cursor(), crHourGlass);
      if (C.ParTitre) SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
      else Form->bbFermer->Click();
    };
    if (C.Ancien) Script.Push(IDYES);
    Script.Push(C.Reponse);
    Script.Push(IDOK);
    Exporter(Cible());
    Form->Action = nullptr;

    ASSERT_TRUE(FormExiste(Form)) << C.Nom;
    std::vector<TQuestion> Q = Questions();
    if (C.Ancien) Q.erase(Q.begin());
    ASSERT_EQ(Q.size(), 2u) << C.Nom;
    EXPECT_EQ(Q[0], Arret) << C.Nom;
    if (C.Reponse == IDYES) {
      EXPECT_EQ(Q[1], Annulee) << C.Nom;
      if (C.Ancien) EXPECT_EQ(AppTest::ReadFileText(Cible()), "ancien") << C.Nom;
      else EXPECT_FALSE(OsPort::FileExists(Cible())) << C.Nom;
    } else {
      EXPECT_EQ(Q[1], Fin) << C.Nom;
      EXPECT_EQ(Lire(Cible()).Sheets.size(), 32u) << C.Nom;
    }
    ExpectIdle();
  }
  // Once idle, Fermer closes the window.
  Form->bbFermer->Click();
  EXPECT_TRUE(WaitFor("the dialog freed", [this] { return !FormExiste(Form); }));
  EXPECT_TRUE(Script.Unexpected.empty());
}

// A workbook that cannot be saved says why, with an error icon, and leaves what was there: a
// folder standing where the file goes, a file another program holds open.
TEST_F(ExportZHTest, AFailedSaveSaysWhyAndLeavesWhatWasThere) {
  // A folder named like the file: the target's folder exists and no file is there to replace.
  const String Dossier2 = Dossier + "autre.xlsx";
  OsPort::CreateDirectory(Dossier2);
  Script.Push(IDOK);
  Exporter(Dossier2);
  std::vector<TQuestion> Q = Questions();
  ASSERT_EQ(Q.size(), 1u);
  EXPECT_EQ(Q[0].Caption, "Message");
  EXPECT_EQ(Q[0].Flags, unsigned(MB_OK | MB_ICONERROR));
  EXPECT_EQ(Q[0].Text.rfind("L'exportation a échoué : le fichier n'a pas été écrit.\r\n"_a, 0), 0u) << Q[0].Text;
  EXPECT_NE(Q[0].Text.find(Dossier2), String::npos) << Q[0].Text;
  EXPECT_TRUE(OsPort::DirectoryExists(Dossier2));
  EXPECT_FALSE(OsPort::FileExists(Dossier2 + ".tmp"));
  OsPort::RemoveDirectory(Dossier2);
  ExpectIdle();

  // The earlier file held open without sharing by another program.
  Script.Asked.clear();
  AppTest::WriteFileText(Cible(), "ancien");
  HANDLE Verrou = CreateFileA(Cible().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(Verrou, INVALID_HANDLE_VALUE);
  Script.Push(IDYES);
  Script.Push(IDOK);
  Exporter(Cible());
  CloseHandle(Verrou);
  Q = Questions();
  ASSERT_EQ(Q.size(), 2u);
  EXPECT_EQ(Q[1].Flags, unsigned(MB_OK | MB_ICONERROR)) << Q[1].Text;
  EXPECT_EQ(AppTest::ReadFileText(Cible()), "ancien");
  ExpectIdle();
  EXPECT_TRUE(Script.Unexpected.empty());
}

// --- Time ------------------------------------------------------------------------------------------

// 1,000 wetlands more, each a copy of the fixture's first one with its rows in every detail table.
class ExportZHVolumeTest : public ExportZHTest {
 protected:
  static constexpr int kZones = 1000;
  void Arrange() override {
    auto Session = AppTest::OpenModuleDatabase();
    std::vector<String> Tables = {"T_ZONE_HUMIDE"};
    for (const TFeuilleDetail& Detail : FeuillesDetail) Tables.push_back(Detail.Table);
    String Script = "BEGIN;";
    for (const String& Table : Tables) {
      SqliteStatement Colonnes = Session->PrepareNative("SELECT * FROM " + Table);
      String Noms, Valeurs;
      for (int i = 0; i < Colonnes.ColumnCount(); ++i) {
        String Nom = Colonnes.ColumnName(i);
        Noms += (i ? "," : "") + Nom;
        Valeurs += (i ? "," : "") + (Nom == "ZH_CODE" ? String("printf('073BENCH%05d', n.i)") : "T." + Nom);
      }
      Script += "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + IntToStr(kZones) +
                ") INSERT INTO " + Table + " (" + Noms + ") SELECT " + Valeurs + " FROM " + Table +
                " T, n WHERE T.ZH_CODE = '073ASTERS0001';";
    }
    Session->ExecuteScript(Script + "COMMIT;");
  }
  static double TempsProcesseur() {
    FILETIME Creation, Fin, Noyau, Utilisateur;
    GetProcessTimes(GetCurrentProcess(), &Creation, &Fin, &Noyau, &Utilisateur);
    auto Secondes = [](const FILETIME& T) {
      return double((std::uint64_t(T.dwHighDateTime) << 32) | T.dwLowDateTime) / 1e7;
    };
    return Secondes(Noyau) + Secondes(Utilisateur);
  }
};

// The export of every wetland with the rows of its 31 detail tables takes less than 3 s of
// processor time (the program's own work: the machine's load does not count).
TEST_F(ExportZHVolumeTest, ThousandWetlandsWithTheirDetailsAreExportedWithinThreeSeconds) {
  Script.Push(IDOK);
  Form->cbTousSites->SetChecked(true);
  Form->eRepertoire->SetText(Cible());
  const double Debut = TempsProcesseur();
  const DWORD DebutHorloge = GetTickCount();
  Form->bbOk->Click();
  const double Temps = TempsProcesseur() - Debut;
  const DWORD Horloge = GetTickCount() - DebutHorloge;
  EXPECT_EQ(Questions(), std::vector<TQuestion>{Fin});

  XlsxBook Book = Lire(Cible());
  std::size_t Cellules = 0, Lignes = 0;
  for (const XlsxSheet& Sheet : Book.Sheets) {
    Cellules += Sheet.Cells.size();
    Lignes += std::size_t(DerniereLigne(Sheet) - 1);
  }
  // The 1,003 wetlands; two history rows for each copy of the first one.
  EXPECT_EQ(DerniereLigne(Feuille(Book, "Zone Humide")), kZones + 4);
  EXPECT_EQ(DerniereLigne(Feuille(Book, "Historique fiche")), 2 * (kZones + 1) + 1 + 1);
  std::printf("spreadsheet export: %zu rows, %zu cells in 32 sheets, %.0f KB: %.2f s of processor time "
              "(%lu ms elapsed)\n",
              Lignes, Cellules, double(ReadFileBytes(OsPort::HostPath(Cible())).size()) / 1024, Temps,
              static_cast<unsigned long>(Horloge));
  EXPECT_LT(Temps, 3.0);
}

}  // namespace
