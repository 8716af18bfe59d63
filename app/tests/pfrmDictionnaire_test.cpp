// Tests of the dictionary windows on real windows over a test database whose labels hold
// apostrophes, accents, quotes and ";": each window opened by its main-window command with its
// read-only state in both modes, rows inserted, posted and deleted in administrator mode, the
// export read back by a strict reader, the record window's lists refreshed by every way of
// closing; and screenshots for a person to look at.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "Qvintl.h"
#include "Qvlocate.h"
#include "StdCtrls.h"
#include "StdCtrlsTestSupport.h"
#include "ScreenshotFiles.h"
#include "SqliteStatement.h"
#include "Streams.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "pFrmMain.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"
#include "pfrmDictionnaire.h"
#include "qvExportOptions.h"
#include "qvdblook.h"

namespace {

using AppTest::ReadFileText;
using AppTest::WriteFileText;

// A strict reader of ";"-delimited text: a value is bare (no quote, no ";", no line end in it) or
// quoted, with "" for a quote inside; lines end with CR LF, the last one too. Anything else is a
// failure naming where the text went wrong.
testing::AssertionResult LireCsv(const String& Text, std::vector<std::vector<String>>& Lignes) {
  Lignes.clear();
  std::size_t i = 0;
  while (i < Text.size()) {
    std::vector<String> Ligne;
    for (;;) {
      String Valeur;
      if (i < Text.size() && Text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= Text.size()) return testing::AssertionFailure() << "unterminated quoted value";
          if (Text[i] == '"') {
            if (i + 1 < Text.size() && Text[i + 1] == '"') {
              Valeur += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          Valeur += Text[i++];
        }
      } else {
        while (i < Text.size() && Text[i] != ';' && Text[i] != '\r' && Text[i] != '\n') {
          if (Text[i] == '"') return testing::AssertionFailure() << "a quote inside a bare value at " << i;
          Valeur += Text[i++];
        }
      }
      Ligne.push_back(Valeur);
      if (i < Text.size() && Text[i] == ';') {
        ++i;
        continue;
      }
      if (Text.compare(i, 2, "\r\n") != 0) return testing::AssertionFailure() << "no CR LF after a value at " << i;
      i += 2;
      break;
    }
    Lignes.push_back(Ligne);
  }
  return testing::AssertionSuccess();
}

const char kParametres[] = "[parametres]\r\nnom=Dupont\r\norganisme=Conservatoire\r\n";

// The windows whose dictionary operators keep themselves: editable outside administrator mode.
const std::set<String> kToujoursModifiables = {"TfrmCarteIGN", "TfrmTaxonAni", "TfrmTaxonVeg", "TfrmHabitat"};

class DictionaryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Deadline = std::make_unique<TTestDeadline>(240);
    FormatSettings = TFormatSettings::French();
    RegisterDictionnaires();
    AppTest::MakeModuleDatabase();
    Execute("INSERT INTO D_REGION VALUES ('93', 'Côte d''Azur; \"Sud\"'), ('11', 'Île-de-France')"_a);
    ForceDirectories(kDossierParametres);
    if (FileExists(kFichierParametres)) FSaved = ReadFileText(kFichierParametres);
    WriteFileText(kFichierParametres, kParametres);
    ModeAdministrateur = false;
    Application->CreateForm(dmVelbor);
    Application->CreateForm(frmMainForm);
    Application->CreateForm(frmAttention);
    frmMainForm->SetWindowState(wsNormal);
    frmMainForm->Show();
    // The window is stored minimised: restored, at a size that holds the dictionaries.
    frmMainForm->SetWindowState(wsNormal);
    frmMainForm->SetBounds(0, 0, 1100, 760);
    ASSERT_TRUE(Painted(frmMainForm));
    Activate(frmMainForm);
  }
  void TearDown() override {
    for (int i = Screen->FormCount() - 1; i >= 0; --i)
      if (auto* Fenetre = dynamic_cast<TfrmDictionnaire*>(Screen->Forms(i))) Fenetre->Free();
    if (dmVelbor != nullptr) dmVelbor->SetComboActif(nullptr);
    if (FormExiste(frmZoneHumide)) frmZoneHumide->Free();
    frmZoneHumide = nullptr;
    if (FormExiste(frmMainForm)) frmMainForm->Free();
    frmMainForm = nullptr;
    if (FormExiste(frmAttention)) frmAttention->Free();
    frmAttention = nullptr;
    if (dmVelbor != nullptr) dmVelbor->Free();
    dmVelbor = nullptr;
    DeleteFile(kFichierParametres);
    if (FSaved) WriteFileText(kFichierParametres, *FSaved);
    ModeAdministrateur = false;
    Deadline.reset();
  }

  static void Execute(const String& Sql) { AppTest::OpenModuleDatabase()->Execute(Sql); }
  static String Texte(const String& Sql) {
    auto Session = AppTest::OpenModuleDatabase();
    SqliteStatement Statement = Session->Prepare(Sql);
    return Statement.Step() ? Statement.ColumnText(0) : String();
  }

  // Runs the main window's command of the window class Fenetre and answers the window it shows.
  TfrmDictionnaire* Ouvrir(const String& Fenetre) {
    for (const TCommandeDictionnaire& Commande : CommandesDictionnaires) {
      if (Fenetre != Commande.Fenetre) continue;
      TAction* Action = frmMainForm->ActionDictionnaire(Commande.Action);
      if (Action == nullptr || !IdleUntil(Commande.Action, [&] { return Action->Enabled(); })) return nullptr;
      if (!Action->Execute()) return nullptr;
      return dynamic_cast<TfrmDictionnaire*>(frmMainForm->FenetreCommande(Fenetre));
    }
    return nullptr;
  }
  // Waits until no window of the class Fenetre is left.
  [[nodiscard]] static bool Ferme(const String& Fenetre) {
    return WaitFor(Fenetre.c_str(), [&] {
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->ClassName() == Fenetre) return false;
      return true;
    });
  }
  static void Capture(TCustomForm* Form, const String& Name) {
    RECT Window;
    GetWindowRect(Form->Handle(), &Window);
    HDC Ecran = GetDC(nullptr);
    SaveScreenshotOf(Ecran, Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top, Name);
    ReleaseDC(nullptr, Ecran);
  }

  std::unique_ptr<TTestDeadline> Deadline;
  std::optional<String> FSaved;
};

// --- Opening and edit rights ------------------------------------------------------------------

TEST_F(DictionaryWindowTest, EachCommandOpensItsWindowOnItsDatasetReadOnlyExactlyOutsideTheOperatorsLists) {
  for (bool Administrateur : {false, true}) {
    ModeAdministrateur = Administrateur;
    for (const TDescriptionDictionnaire& Description : DescriptionsDictionnaires) {
      SCOPED_TRACE(String(Description.Fenetre) + (Administrateur ? " (administrator)" : " (operator)"));
      TfrmDictionnaire* Fenetre = Ouvrir(Description.Fenetre);
      ASSERT_NE(Fenetre, nullptr);
      ASSERT_TRUE(Painted(Fenetre));
      EXPECT_EQ(Fenetre->ClassName(), Description.Fenetre);
      EXPECT_EQ(Fenetre->Caption(), Description.Caption);
      EXPECT_EQ(Fenetre->FormStyle(), fsMDIChild);
      // The grid and the navigator act on the module's dataset of the dictionary, open.
      auto* Source = dynamic_cast<TDataSource*>(dmVelbor->FindComponent(String("ds") + Description.DataSet));
      ASSERT_NE(Source, nullptr);
      EXPECT_EQ(Fenetre->DBGrid->DataSource(), Source);
      EXPECT_EQ(Fenetre->DBNavigator->DataSource(), Source);
      ASSERT_NE(Fenetre->DataSet(), nullptr);
      EXPECT_EQ(Fenetre->DataSet()->Name(), Description.DataSet);
      EXPECT_TRUE(Fenetre->DataSet()->Active());
      const bool Modifiable = Administrateur || kToujoursModifiables.count(Description.Fenetre) != 0;
      EXPECT_EQ(Fenetre->DBNavigator->Visible(), Modifiable);
      EXPECT_EQ(Fenetre->DBGrid->ReadOnly, !Modifiable);
      EXPECT_EQ(Fenetre->DBGrid->CanFocus() && !Fenetre->DBGrid->ReadOnly, Modifiable);
      // Reused while open.
      EXPECT_EQ(Ouvrir(Description.Fenetre), Fenetre);
      Fenetre->Close();
      ASSERT_TRUE(Ferme(Description.Fenetre));
    }
  }
}

TEST_F(DictionaryWindowTest, TheGridsColumnsFollowTheirWindowsLines) {
  struct TCas {
    const char* Fenetre;
    std::vector<String> Titres;
    int LignesDeTitre;
  };
  const TCas Cas[] = {
      {"TfrmCommune", {"Code", "Libelle"}, 1},
      {"TfrmConnexion", {"Code", "Libelle"}, 1},
      {"TfrmTypeActions", {"Code", "Libellé"_a}, 1},
      {"TfrmRegion", {"Code", "Libelle"}, 1},
      {"TfrmTaxonAni",
       {"Code", "Thème"_a, "Ordre", "Classe", "Famille", "Nom Latin", "Auteur", "Nom Français"_a,
        "Protection~nationale", "Protection~régionale"_a, "Directive~Oiseaux", "Directive~Habitat",
        "Espèces~déterminantes strictes"_a, "Liste rouge~France"},
       2},
  };
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Fenetre);
    TfrmDictionnaire* Fenetre = Ouvrir(C.Fenetre);
    ASSERT_NE(Fenetre, nullptr);
    std::vector<String> Titres;
    for (const TqvExportColumn& Colonne : Fenetre->DBGrid->ExportOptions()->BuildTable().Columns)
      Titres.push_back(Colonne.Title);
    EXPECT_EQ(Titres, C.Titres);
    EXPECT_EQ(Fenetre->DBGrid->TitleLines(), C.LignesDeTitre);
    Fenetre->Close();
    ASSERT_TRUE(Ferme(C.Fenetre));
  }
}

TEST_F(DictionaryWindowTest, OutsideAdministratorModeTypedKeysChangeNothing) {
  TfrmDictionnaire* Fenetre = Ouvrir("TfrmRegion");
  ASSERT_NE(Fenetre, nullptr);
  ASSERT_TRUE(Painted(Fenetre));
  TDataSet* Table = Fenetre->DataSet();
  const String Avant = Table->FieldByName("REG_LIB")->AsString();
  ClickAt(OnScreen(Fenetre->DBGrid, Fenetre->DBGrid->CellRect(2, 1).Left + 4, Fenetre->DBGrid->CellRect(2, 1).Top + 4));
  ASSERT_TRUE(WaitFor("the grid focused", [&] { return Fenetre->DBGrid->Focused(); }));
  TypeText("Zz");
  Press(VK_F2);
  TypeText("y");
  Press(VK_RETURN);
  Press(VK_INSERT);
  Press(VK_DELETE, false);
  PumpPending();
  EXPECT_EQ(Table->State(), dsBrowse);
  EXPECT_EQ(Table->FieldByName("REG_LIB")->AsString(), Avant);
  EXPECT_EQ(AppTest::ReadNumber("SELECT COUNT(*) FROM D_REGION"), 4);
}

// --- Insert, post and delete ------------------------------------------------------------------

TEST_F(DictionaryWindowTest, InAdministratorModePlusAppendsInTheFirstColumnPostWritesDeleteRemoves) {
  ModeAdministrateur = true;
  TModalScript Script;
  TfrmDictionnaire* Fenetre = Ouvrir("TfrmRegion");
  ASSERT_NE(Fenetre, nullptr);
  ASSERT_TRUE(Painted(Fenetre));
  TDataSet* Table = Fenetre->DataSet();
  // Away from the first column, so that "+" has a column to go back to.
  Fenetre->DBGrid->SelectColumnOfField("REG_LIB");
  ClickControl(Fenetre->DBNavigatorInsert);
  ASSERT_TRUE(WaitFor("a row appended", [&] { return Table->State() == dsInsert; }));
  EXPECT_TRUE(Table->Eof()) << "the new row is at the end";
  ASSERT_NE(Fenetre->DBGrid->SelectedField(), nullptr);
  EXPECT_EQ(Fenetre->DBGrid->SelectedField()->FieldName(), "REG_CODE");
  EXPECT_TRUE(Fenetre->DBGrid->Focused());
  // Each cell is typed into through its editor, as a person would.
  auto Saisir = [&](const String& Valeur) {
    Press(VK_F2);
    TqvDBGrid* Grille = Fenetre->DBGrid;
    ASSERT_TRUE(WaitFor("the editor's focus", [&] {
      return Grille->InplaceEditor() != nullptr && GetFocus() == Grille->InplaceEditor()->Handle();
    }));
    SendMessageA(Grille->InplaceEditor()->Handle(), EM_SETSEL, 0, -1);
    TypeText(Valeur);
  };
  Saisir("97");
  Press(VK_TAB);
  EXPECT_EQ(Table->FieldByName("REG_CODE")->AsString(), "97");
  EXPECT_EQ(Fenetre->DBGrid->SelectedField()->FieldName(), "REG_LIB");
  Saisir("Pays d'Oc");
  // Back to the code: the label reaches the row, which stays the one being inserted.
  Press(VK_TAB, true);
  ASSERT_EQ(Table->State(), dsInsert);
  ClickControl(Fenetre->DBNavigatorPost);
  const bool Posted = WaitFor("the row posted", [&] { return Table->State() == dsBrowse; });
  for (const TModalQuestion& Q : Script.Unexpected) ADD_FAILURE() << Q.Caption << ": " << Q.Text;
  ASSERT_TRUE(Posted) << Table->FieldByName("REG_CODE")->AsString() << "|" << Table->FieldByName("REG_LIB")->AsString() << "|" << Fenetre->DBNavigatorPost->Enabled();
  ASSERT_TRUE(Script.Asked.empty());
  EXPECT_EQ(Texte("SELECT REG_LIB FROM D_REGION WHERE REG_CODE = '97'"), "Pays d'Oc");

  // The delete button asks (OK / Cancel): Cancel keeps the row, OK removes it from the file.
  ASSERT_TRUE(Table->Locate("REG_CODE", "97", {}));
  Script.Push(IDCANCEL);
  ClickControl(Fenetre->DBNavigatorDelete);
  ASSERT_TRUE(WaitFor("the question answered", [&] { return Script.Pending() == 0; }));
  PumpPending();
  EXPECT_EQ(AppTest::ReadNumber("SELECT COUNT(*) FROM D_REGION WHERE REG_CODE = '97'"), 1);
  Script.Push(IDOK);
  ClickControl(Fenetre->DBNavigatorDelete);
  ASSERT_TRUE(WaitFor("the row deleted", [&] { return AppTest::ReadNumber("SELECT COUNT(*) FROM D_REGION WHERE REG_CODE = '97'") == 0; }));
  EXPECT_EQ(Script.Asked.size(), 2u);
  EXPECT_TRUE(Script.Unexpected.empty());
  EXPECT_EQ(AppTest::ReadNumber("SELECT COUNT(*) FROM D_REGION"), 4);
  Capture(Fenetre, "dictionnaire_region_administrateur");
}

// --- Export -----------------------------------------------------------------------------------

TEST_F(DictionaryWindowTest, ExportWritesTheGridAsSemicolonTextThatAStrictReaderReadsBack) {
  TfrmDictionnaire* Fenetre = Ouvrir("TfrmRegion");
  ASSERT_NE(Fenetre, nullptr);
  const String Fichier = AppTest::ProgramFolder() + "export_regions.csv";
  DeleteFile(Fichier);
  {
    TModalScript Script;
    Script.Push(1, Fichier);
    ClickControl(Fenetre->bbtnSave);
    ASSERT_TRUE(WaitFor("the file written", [&] { return FileExists(Fichier); }));
    ASSERT_EQ(Script.Asked.size(), 1u);
    const TModalQuestion& Dialogue = Script.Asked[0];
    EXPECT_EQ(Dialogue.Value, "D_REGION.csv");
    EXPECT_EQ(Dialogue.Fields.at("Filter"), "CSV|*.csv");
    EXPECT_EQ(Dialogue.Fields.at("DefaultExt"), "CSV");
    EXPECT_EQ(Dialogue.Fields.at("InitialDir"), "c:\\");
    EXPECT_TRUE(Script.Unexpected.empty());
  }
  std::vector<std::vector<String>> Lignes;
  ASSERT_TRUE(LireCsv(ReadFileText(Fichier), Lignes));
  const std::vector<std::vector<String>> Attendu = {
      {"Code", "Libelle"},
      {"01", "Guadeloupe"},
      {"11", "Île-de-France"_a},
      {"84", "Auvergne-Rhône-Alpes"_a},
      {"93", "Côte d'Azur; \"Sud\""_a},
  };
  EXPECT_EQ(Lignes, Attendu);

  // Over an existing file: "Non" leaves it as it was, "Oui" writes it again.
  WriteFileText(Fichier, "ancien\r\n");
  {
    TModalScript Script;
    Script.Push(1, Fichier);
    Script.Push(IDNO);
    ClickControl(Fenetre->bbtnSave);
    ASSERT_TRUE(WaitFor("the question answered", [&] { return Script.Pending() == 0; }));
    PumpPending();
    ASSERT_EQ(Script.Asked.size(), 2u);
    EXPECT_EQ(Script.Asked[1].Text, "Le fichier existe déjà, voulez vous l'écraser"_a);
    EXPECT_EQ(Script.Asked[1].Caption, "Attention");
    EXPECT_EQ(Script.Asked[1].Flags & MB_TYPEMASK, UINT(MB_YESNO));
    EXPECT_EQ(ReadFileText(Fichier), "ancien\r\n");
  }
  {
    TModalScript Script;
    Script.Push(1, Fichier);
    Script.Push(IDYES);
    ClickControl(Fenetre->bbtnSave);
    ASSERT_TRUE(WaitFor("the file written again", [&] { return ReadFileText(Fichier) != "ancien\r\n"; }));
    ASSERT_TRUE(LireCsv(ReadFileText(Fichier), Lignes));
    EXPECT_EQ(Lignes, Attendu);
  }
  // Cancelling the file dialog writes nothing.
  DeleteFile(Fichier);
  {
    TModalScript Script;
    Script.Push(0);
    ClickControl(Fenetre->bbtnSave);
    ASSERT_TRUE(WaitFor("the dialog answered", [&] { return Script.Pending() == 0; }));
    PumpPending();
    EXPECT_FALSE(FileExists(Fichier));
  }
  DeleteFile(Fichier);
}

// --- Closing ----------------------------------------------------------------------------------

// The record window with a map-sheet combo whose list is a query of its own on the map sheets:
// the combo is the window's when it has one, else one placed for the test under its name.
class ClosingTest : public DictionaryWindowTest {
 protected:
  void SetUp() override {
    DictionaryWindowTest::SetUp();
    if (HasFatalFailure()) return;
    RegisterFrmZoneHumide();
    ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
    ASSERT_TRUE(FormExiste(frmZoneHumide));
    ASSERT_TRUE(Painted(frmZoneHumide));
    auto* Combo = dynamic_cast<TqvDBLookupCombo*>(frmZoneHumide->FindComponent("qvDBLkCboIGN"));
    if (Combo == nullptr) {
      ASSERT_EQ(frmZoneHumide->FindComponent("qvDBLkCboIGN"), nullptr);
      Combo = new TqvDBLookupCombo(frmZoneHumide);
      Combo->SetName("qvDBLkCboIGN");
    }
    Liste = dynamic_cast<TDataSet*>(Combo->LookupTable());
    if (Liste == nullptr) {
      auto* Requete = new TADOQuery(frmZoneHumide);
      Requete->SetConnection(dmVelbor->ADOConnection);
      Requete->SQL()->SetText("select * from T_CARTE_IGN");
      Requete->Open();
      Combo->SetLookupTable(Requete);
      Liste = Requete;
    }
    if (!Liste->Active()) Liste->Open();
  }
  int Feuilles() {
    int N = 0;
    for (Liste->First(); !Liste->Eof(); Liste->Next()) ++N;
    return N;
  }
  TDataSet* Liste = nullptr;
};

TEST_F(ClosingTest, EveryWayOfClosingAnEditableDictionaryRefreshesTheRecordWindowsLists) {
  struct TCas {
    const char* Nom;
    std::function<void(TfrmDictionnaire*)> Fermer;
  };
  const TCas Cas[] = {
      {"the Fermer button", [](TfrmDictionnaire* F) { ClickControl(F->bbtnFermer); }},
      {"the title bar", [](TfrmDictionnaire* F) { PostMessageA(F->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"the main window's Fermer", [](TfrmDictionnaire* F) {
         Activate(frmMainForm);
         F->Show();
         ASSERT_TRUE(WaitFor("the dictionary active", [&] { return frmMainForm->ActiveMDIChild() == F; }));
         ASSERT_TRUE(frmMainForm->actFermer->Execute());
       }},
  };
  int Code = 0;
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Nom);
    const int Avant = Feuilles();
    TfrmDictionnaire* Fenetre = Ouvrir("TfrmCarteIGN");
    ASSERT_NE(Fenetre, nullptr);
    ASSERT_TRUE(Fenetre->DBNavigator->Visible());
    ASSERT_TRUE(Painted(Fenetre));
    // A sheet added behind the record window's list: it appears there once the dictionary closes.
    Execute("INSERT INTO T_CARTE_IGN VALUES ('9" + std::to_string(++Code) + "00E', 'Saint-Étienne', '1:25000', 'TOP 25')"_a);
    EXPECT_EQ(Feuilles(), Avant);
    C.Fermer(Fenetre);
    ASSERT_TRUE(Ferme("TfrmCarteIGN"));
    EXPECT_EQ(Feuilles(), Avant + 1);
  }
}

TEST_F(ClosingTest, ClosingADictionaryWithoutNavigatorLeavesTheListsAlone) {
  const int Avant = Feuilles();
  TfrmDictionnaire* Fenetre = Ouvrir("TfrmRegion");
  ASSERT_NE(Fenetre, nullptr);
  ASSERT_FALSE(Fenetre->DBNavigator->Visible());
  Execute("INSERT INTO T_CARTE_IGN VALUES ('9900E', 'Saint-Étienne', '1:25000', 'TOP 25')"_a);
  ClickControl(Fenetre->bbtnFermer);
  ASSERT_TRUE(Ferme("TfrmRegion"));
  EXPECT_EQ(Feuilles(), Avant);
}

// --- French texts of the data-aware library ----------------------------------------------------

// Before the record window exists the library speaks its defaults; once it was created, every
// text the library reads from its global instance is French: the navigator's hints (for buttons
// without a hint of their own), the locate window's labels, the messages.
TEST_F(ClosingTest, OnceTheRecordWindowWasCreatedTheLibrarySpeaksFrench) {
  struct TTexte {
    const char* Nom;
    String Lu;
    String Attendu;
  };
  // The library on its own: its defaults.
  qvFreeGlobalIntl();
  EXPECT_EQ(qvIntl->Navigator()->Hints()->FirstHint, "Move to first record");
  // The record window made again: its texts reach the library.
  frmZoneHumide->Free();
  frmZoneHumide = nullptr;
  ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
  ASSERT_TRUE(FormExiste(frmZoneHumide));
  TqvIntl* Intl = qvIntl;
  const TTexte Textes[] = {
      {"ConfirmDeleteMessage", Intl->Navigator()->ConfirmDeleteMessage, "Supprimer l'enregistrement ?"},
      {"FirstHint", Intl->Navigator()->Hints()->FirstHint, "Aller au premier enregistrement"},
      {"PriorPageHint", Intl->Navigator()->Hints()->PriorPageHint, "Aller à %d enregistrements précédents"_a},
      {"EditHint", Intl->Navigator()->Hints()->EditHint, "Éditer l'enregistrement actuel"_a},
      {"CancelHint", Intl->Navigator()->Hints()->CancelHint,
       "Annuler les changements effectués à l'enregistrement actuel"_a},
      {"SearchDialogHint", Intl->Navigator()->Hints()->SearchDialogHint, "Recherche sur l'ensemble des données"_a},
      {"LocateNoMatches", Intl->UserMessages()->LocateNoMatches, "Aucune correspondance trouvée"_a},
      {"MemoChangesWarning", Intl->UserMessages()->MemoChangesWarning,
       "Des changements ont été effectués !  Êtes-vous certain de vouloir annuler ?"_a},
      {"qvDBGridDiscardChanges", Intl->UserMessages()->qvDBGridDiscardChanges,
       "Annuler les changements à cet enregistrement ?"_a},
      {"SearchByLabel", Intl->SearchDialog()->SearchByLabel, "Rechercher &par"},
      {"FieldNameHint", Intl->LocateDialog()->FieldNameHint, "Spécifier le champ sur lequel effectuer la recheche"_a},
      {"BtnCancelCaption", Intl->BtnCancelCaption, "Annuler"},
      {"BtnOKCaption", Intl->BtnOKCaption, "&OK"},
  };
  for (const TTexte& T : Textes) EXPECT_EQ(T.Lu, T.Attendu) << T.Nom;
  EXPECT_FALSE(Intl->UseLocateMethodForSearch);
  EXPECT_EQ(Intl->FilterMemoSize, 65536);

  // A navigator button without a hint of its own takes the French one, the page moves with their
  // distance.
  TfrmDictionnaire* Fenetre = Ouvrir("TfrmCarteIGN");
  ASSERT_NE(Fenetre, nullptr);
  const std::pair<TqvNavButtonStyle, String> Boutons[] = {
      {nbsNextPage, "Aller à 10 enregistrements suivants"_a},
      {nbsLast, "Aller au dernier enregistrement"},
      {nbsRefresh, "Rafraichir le contenu de l'ensemble des données"_a},
  };
  for (const auto& [Style, Hint] : Boutons) {
    auto* Bouton = new TqvNavButton(Fenetre->DBNavigator);
    Bouton->SetParent(Fenetre->DBNavigator);
    Bouton->SetStyle(Style);
    EXPECT_EQ(Bouton->Hint, Hint);
  }

  // The locate window, shown over the dictionary, with its French labels.
  auto* Recherche = new TqvLocateDialog(Fenetre);
  Recherche->SetDataSource(Fenetre->DBGrid->DataSource());
  bool Vu = false;
  Later([&] {
    ASSERT_TRUE(WaitFor("the locate window", [&] {
      return Recherche->Form() != nullptr && Screen->ActiveForm() == Recherche->Form() && Recherche->Form()->Showing();
    }));
    TqvLocateDlg* W = Recherche->Form();
    ASSERT_TRUE(Painted(W));
    Vu = true;
    EXPECT_EQ(W->FieldValueGroup->Caption(), "&Valeur de champ");
    EXPECT_EQ(W->SearchTypeGroup->Caption(), "&Type de recherche");
    EXPECT_EQ(W->CaseSensitiveCheckBox->Caption(), "C&asse-sensible");
    EXPECT_EQ(W->ExactMatchBtn->Caption(), "Correspondance &exacte");
    EXPECT_EQ(W->PartialMatchStartBtn->Caption(), "Correspondance &partielle au début"_a);
    EXPECT_EQ(W->PartialMatchAnyBtn->Caption(), "Correspon&dance partielle partout");
    EXPECT_EQ(W->FieldsGroup->Caption(), "&Champs");
    EXPECT_EQ(W->FirstButton->Caption(), "&Premier");
    EXPECT_EQ(W->NextButton->Caption(), "&Suivant");
    EXPECT_EQ(W->CancelBtn->Caption(), "Annuler");
    EXPECT_EQ(W->SearchValue->Hint, "Entrer la valeur de champ à rechercher"_a);
    Capture(W, "recherche_francais");
    EndModalIfStillOpen(W);
  });
  Recherche->Execute();
  EXPECT_TRUE(Vu);
}

// --- Screenshots ------------------------------------------------------------------------------

TEST_F(DictionaryWindowTest, ScreenshotsOfARegionalSpeciesListAndAReadOnlyDictionary) {
  for (const char* Nom : {"TfrmTaxonAni", "TfrmCommune"}) {
    TfrmDictionnaire* Fenetre = Ouvrir(Nom);
    ASSERT_NE(Fenetre, nullptr);
    ASSERT_TRUE(Painted(Fenetre));
    Capture(Fenetre, String("dictionnaire_") + Nom);
    Fenetre->Close();
    ASSERT_TRUE(Ferme(Nom));
  }
}

}  // namespace
