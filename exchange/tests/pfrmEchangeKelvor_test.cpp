// Tests of the exchange dialog over the program's data module: its file edit for each choice,
// administrator mode, Quitter, the messages of Ok, an export run end to end through the range
// dialog, the cancel request (Quitter and the title bar) during a run, and imports that refresh
// the data module's datasets.
#include "OsPort.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "AppTestSupport.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "ExchangeFile.h"
#include "FormatSettings.h"
#include "InventoryExchange.h"
#include "OxFilenameEdit.h"
#include "OxLookupCombo.h"
#include "OxProgressBar.h"
#include "StrUtils.h"
#include "UiTestSupport.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmRequeteExport.h"

using namespace Exchange;

namespace {

// The record window as the exchange dialog reaches it: counts its returns to the list.
class TFicheEssai : public TfrmZoneHumideBase {
  VELBOR_DECLARE_CLASS(TFicheEssai, TfrmZoneHumideBase)
 public:
  explicit TFicheEssai(TComponent* AOwner) : TfrmZoneHumideBase(AOwner, true) {}
  int RetoursListe = 0;
  // The operator answers No to the loss of the edits: the record stays in edit state.
  bool GardeEdition = false;
  int OxExBtnModifTag() override { return 0; }
  void SetOxExBtnModifTag(int) override {}
  TColor OxLookOutActivePageColor() override { return clMedGray; }
  void SetOxLookOutActivePageColor(TColor) override {}
  void SetBbtnValidationTag(int) override {}
  void ts1_1EnterActivePage() override {}
  void RepaintDbeType() override {}
  void SetLkCboCodeInventaireLookupTable(TDataSet*) override {}
  void SetLkCboCodeInventaireFreeEntry(bool) override {}
  void lopGeneraleClick(TObject*) override {
    ++RetoursListe;
    if (GardeEdition) dmVelbor->qDetailZoneHumide->Edit();
  }
};
VELBOR_IMPLEMENT_CLASS(TFicheEssai)

// The exchange dialog with a hook in its progress: Action runs at the given step of the run, from
// inside the operation, as a click or a close would arrive there.
class TEchangeEssai : public TfrmEchangeKelvor {
 public:
  explicit TEchangeEssai(TComponent* AOwner) : TfrmEchangeKelvor(AOwner) {}
  int Pas = 0;
  int PasAction = -1;
  std::function<void()> Action;

 protected:
  void ProgressStep() override {
    TfrmEchangeKelvor::ProgressStep();
    if (++Pas == PasAction && Action) Action();
  }
};

// A question as the dialog asked it: caption, flags and text.
struct TQuestion {
  String Caption;
  unsigned Flags;
  String Text;
  bool operator==(const TQuestion&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const TQuestion& Q) {
  return Out << "[" << Q.Caption << " " << Q.Flags << "] " << Q.Text;
}

const String FinExport = "Fin de l'exportation";
const String FinImport = "Fin de l'importation";

class EchangeKelvorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    ModeAdministrateur = false;
    AppTest::MakeModuleDatabase();
    Dossier = OsPort::TempFolder() + "velbor_echange_fenetre\\";
    OsPort::CreateDirectory(Dossier);
    for (const char* f : {"out.uzh", "out.uzh2", "in.uzh", "in.uzh2", "in.rzh", "erreur.log"})
      OsPort::DeleteFile(Dossier + f);
    Arrange();
    Application->CreateForm(Main);
    Application->CreateForm(dmVelbor);
    Form = CreateForm<TEchangeEssai>(Application);
    frmEchangeKelvor = Form;
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    if (FormExiste(frmRequeteExport)) frmRequeteExport->Free();
    if (FormExiste(Form)) Form->Free();
    if (FormExiste(frmZoneHumide)) frmZoneHumide->Free();
    frmZoneHumide = nullptr;
    if (dmVelbor != nullptr) dmVelbor->Free();
    if (Main != nullptr) Main->Free();
    Application->ProcessMessages();
    ModeAdministrateur = false;
  }
  // What a test puts in the database or on disk before the module loads.
  virtual void Arrange() {}

  std::vector<TQuestion> Questions() const {
    std::vector<TQuestion> List;
    for (const TModalQuestion& Q : Script.Asked) List.push_back({Q.Caption, Q.Flags, Q.Text});
    return List;
  }
  // The choice of operation, by its button, and the file.
  void Choisir(TRadioButton* Bouton, const String& Fichier) {
    Bouton->SetChecked(true);
    Form->OxFilenameEdit->SetText(Fichier);
  }
  TFicheEssai* OuvrirFiche() {
    auto* Fiche = new TFicheEssai(Application);
    frmZoneHumide = Fiche;
    return Fiche;
  }
  // The range dialog, once the export shows it: Work runs on it from inside its modal loop.
  static void DansRequete(std::function<void(TfrmRequeteExport*)> Work) {
    Later([Work] {
      if (FormExiste(frmRequeteExport) && frmRequeteExport->Visible()) Work(frmRequeteExport);
      else DansRequete(Work);
    });
  }
  static void FermerRequeteParTitre() {
    DansRequete([](TfrmRequeteExport* R) { SendMessageA(R->Handle(), WM_CLOSE, 0, 0); });
  }
  // The wetland codes of the ZHI records of a file.
  static String CodesZHI(const String& Fichier) {
    String Codes;
    for (const String& Ligne : SplitLines(ReadFileBytes(Fichier)))
      if (Ligne.substr(0, 4) == "ZHI|") Codes += Ligne.substr(4, 13) + ";";
    return Codes;
  }
  void ExpectIdle() {
    EXPECT_TRUE(Form->bbtnOk->Enabled());
    EXPECT_TRUE(Form->bbtnAnnuler->Enabled());
    EXPECT_FALSE(Form->EnCours());
    EXPECT_EQ(Form->Tag, 0);
    EXPECT_EQ(Form->OxSpecialProgress1->Position(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);
  }

  TModalScript Script;
  AppTest::TTestMainForm* Main = nullptr;
  TEchangeEssai* Form = nullptr;
  String Dossier;
};

// --- The window ---------------------------------------------------------------------------------

TEST_F(EchangeKelvorTest, EachChoiceSetsTheFileEditForItsKindAndDirection) {
  struct Cas {
    TRadioButton* TfrmEchangeKelvor::*Bouton;
    const char* Label;
    int Left;
    int Width;
    const char* Filtre;
    const char* Extension;
    const char* Titre;
  };
  const Cas Depart = {&TfrmEchangeKelvor::rbtnImportInventaire, "Fichier source", 80, 329, "Fichier EDI uzh|*.uzh",
                      "uzh", "Importation d'inventaires"};
  const Cas Choix[] = {
      {&TfrmEchangeKelvor::rbtnExportInventaire, "Fichier destination", 104, 305, "Fichier EDI uzh|*.uzh", "uzh",
       "Exportation d'inventaires"},
      {&TfrmEchangeKelvor::rbtnImportDictionnaire, "Fichier source", 80, 329, "Fichier EDI rzh|*.rzh", "rzh",
       "Importation des dictionnaires"},
      {&TfrmEchangeKelvor::rbtnExportDictionnaire, "Fichier destination", 104, 305, "Fichier EDI rzh|*.rzh", "rzh",
       "Exportation des dictionnaires"},
      Depart,
  };
  auto Verifier = [this](const Cas& C) {
    EXPECT_TRUE((Form->*C.Bouton)->Checked()) << C.Titre;
    EXPECT_EQ(Form->Label1->Caption(), C.Label) << C.Titre;
    EXPECT_EQ(Form->OxFilenameEdit->Left(), C.Left) << C.Titre;
    EXPECT_EQ(Form->OxFilenameEdit->Width(), C.Width) << C.Titre;
    EXPECT_EQ(Form->OxFilenameEdit->Filter(), C.Filtre) << C.Titre;
    EXPECT_EQ(Form->OxFilenameEdit->DefaultExt(), C.Extension) << C.Titre;
    EXPECT_EQ(Form->OxFilenameEdit->DialogTitle(), C.Titre);
  };
  // At start: the inventory import.
  Verifier(Depart);
  EXPECT_EQ(Form->Caption(), "Import Export");
  for (const Cas& C : Choix) {
    (Form->*C.Bouton)->SetChecked(true);
    Verifier(C);
  }
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(EchangeKelvorTest, ExportOfAllDictionariesIsOfferedAtPaintInAdministratorModeOnly) {
  for (bool Administrateur : {true, false, true}) {
    ModeAdministrateur = Administrateur;
    Form->Repaint();
    EXPECT_EQ(Form->rbtnExportDictionnaire->Enabled(), Administrateur);
    EXPECT_TRUE(Form->rbtnImportDictionnaire->Enabled());
  }
}

TEST_F(EchangeKelvorTest, QuitterWhileIdleClosesAndFreesTheDialogWithoutAQuestion) {
  Form->bbtnAnnuler->Click();
  Application->ProcessMessages();
  EXPECT_FALSE(FormExiste(Form));
  EXPECT_EQ(frmEchangeKelvor, nullptr);
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(EchangeKelvorTest, OkRefusesAMissingFileOrFolderWithItsMessageAndRunsNothing) {
  struct Cas {
    TRadioButton* TfrmEchangeKelvor::*Bouton;
    String Fichier;
    String Message;
  } cas[] = {
      {&TfrmEchangeKelvor::rbtnImportInventaire, "", "Le fichier doit être renseigné"_a},
      // Even for an export, before any other check.
      {&TfrmEchangeKelvor::rbtnExportInventaire, "", "Le fichier doit être renseigné"_a},
      {&TfrmEchangeKelvor::rbtnExportDictionnaire, "", "Le fichier doit être renseigné"_a},
      {&TfrmEchangeKelvor::rbtnImportInventaire, Dossier + "absent.uzh", "Le fichier n'existe pas"},
      {&TfrmEchangeKelvor::rbtnImportDictionnaire, "\"" + Dossier + "absent.rzh\"", "Le fichier n'existe pas"},
      {&TfrmEchangeKelvor::rbtnExportInventaire, Dossier + "absent\\out.uzh",
       "Le chemin " + Dossier + "absent\\out.uzh n'est pas valid\r\nVeuillez recommencer !"},
      {&TfrmEchangeKelvor::rbtnExportDictionnaire, "\"" + Dossier + "absent\\out.rzh\"",
       "Le chemin " + Dossier + "absent\\out.rzh n'est pas valid\r\nVeuillez recommencer !"},
  };
  auto* Fiche = OuvrirFiche();
  for (const Cas& C : cas) {
    Script.Asked.clear();
    Choisir(Form->*C.Bouton, C.Fichier);
    Form->bbtnOk->Click();
    EXPECT_EQ(Questions(), (std::vector<TQuestion>{{"Attention", 48, C.Message}})) << C.Fichier;
    EXPECT_FALSE(FormExiste(frmRequeteExport));
    ExpectIdle();
  }
  // Only the inventory export reaches the record window before its checks of the target.
  EXPECT_EQ(Fiche->RetoursListe, 1);
}

// --- Inventory export ---------------------------------------------------------------------------

class EchangeExportTest : public EchangeKelvorTest {
 protected:
  void Arrange() override { WriteFileBytes(Dossier + "out.uzh", "ancien"); }
  const String Cible() const { return Dossier + "out.uzh"; }
  TQuestion Detruit() const {
    return {"Attention", 52, "Le fichier " + Cible() + " sera detruit\r\nVoulez vous continuer ?"};
  }
};

TEST_F(EchangeExportTest, ExportRunsThroughTheRangeDialogAndAnEmptyRangeEachTime) {
  struct Cas {
    const char* Nom;
    std::function<void()> Requete;
    const char* Codes;
  } cas[] = {
      {"first code chosen",
       [] {
         DansRequete([](TfrmRequeteExport* R) {
           R->OxDBLkcboDebut->SetValue("073ASTERS0002");
           R->bbtnOk->Click();
         });
       },
       "073ASTERS0002;971PNG   0001;"},
      // The second export of the same dialog starts from an empty range again.
      {"dialog closed by its title bar", FermerRequeteParTitre, "073ASTERS0001;073ASTERS0002;971PNG   0001;"},
  };
  auto* Fiche = OuvrirFiche();
  Choisir(Form->rbtnExportInventaire, "\"" + Cible() + "\"");
  int Retours = 0;
  for (const Cas& C : cas) {
    Script.Asked.clear();
    Script.Push(IDYES);
    Script.Push(IDOK);
    C.Requete();
    Form->bbtnOk->Click();
    EXPECT_EQ(Questions(), (std::vector<TQuestion>{Detruit(), {"Message", 0, FinExport}})) << C.Nom;
    EXPECT_EQ(CodesZHI(Cible()), C.Codes) << C.Nom;
    EXPECT_TRUE(TrailerMatches(SplitLines(ReadFileBytes(Cible())), KindInventory)) << C.Nom;
    EXPECT_FALSE(OsPort::FileExists(Cible() + "2"));
    EXPECT_FALSE(FormExiste(frmRequeteExport)) << C.Nom;
    EXPECT_EQ(Fiche->RetoursListe, ++Retours);
    ExpectIdle();
  }
  EXPECT_TRUE(Script.Unexpected.empty());
}

TEST_F(EchangeExportTest, RefusingToReplaceTheTargetStopsBeforeTheRangeDialog) {
  Choisir(Form->rbtnExportInventaire, Cible());
  Script.Push(IDNO);
  Form->bbtnOk->Click();
  EXPECT_EQ(Questions(), std::vector<TQuestion>{Detruit()});
  EXPECT_FALSE(FormExiste(frmRequeteExport));
  EXPECT_EQ(ReadFileBytes(Cible()), "ancien");
  ExpectIdle();
}

// The cancel request during a run: Quitter or the title bar's close button, at the second
// wetland of three, answered Yes or No.
TEST_F(EchangeExportTest, CancelRequestDuringARunIsAskedAndStopsTheExportOnYesOnly) {
  const TQuestion Arret = {"Message", 52, "Voulez vous arrêter la procédure"_a};
  struct Cas {
    const char* Nom;
    bool ParTitre;
    int Reponse;
    bool Arrete;
  } cas[] = {
      {"Quitter, Yes", false, IDYES, true},
      {"Quitter, No", false, IDNO, false},
      {"title bar, Yes", true, IDYES, true},
      {"title bar, No", true, IDNO, false},
  };
  for (const Cas& C : cas) {
    WriteFileBytes(Cible(), "ancien");
    Script.Asked.clear();
    Form->Pas = 0;
    Form->PasAction = 1;
    Form->Action = [this, &C] {
      // The bar counts the wetlands, as a percentage.
      EXPECT_EQ(Form->OxSpecialProgress1->Maximum(), 3);
      EXPECT_EQ(Form->OxSpecialProgress1->Position(), 1);
      EXPECT_EQ(Form->OxSpecialProgress1->TextOption(), toPercent);
      EXPECT_TRUE(Form->EnCours());
      EXPECT_FALSE(Form->bbtnOk->Enabled());
      EXPECT_EQ(Screen->Cursor(), crHourGlass);
      if (C.ParTitre) SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
      else Form->bbtnAnnuler->Click();
    };
    Choisir(Form->rbtnExportInventaire, Cible());
    Script.Push(IDYES);
    Script.Push(C.Reponse);
    Script.Push(IDOK);
    FermerRequeteParTitre();
    Form->bbtnOk->Click();
    Application->ProcessMessages();

    ASSERT_TRUE(FormExiste(Form)) << C.Nom;
    std::vector<TQuestion> Q = Questions();
    ASSERT_EQ(Q.size(), 3u) << C.Nom;
    EXPECT_EQ(Q[0], Detruit());
    EXPECT_EQ(Q[1], Arret) << C.Nom;
    EXPECT_EQ(Q[2].Caption, "Message");
    if (C.Arrete) {
      // The old file stays: the export replaces it only once the new one is complete.
      EXPECT_NE(Q[2].Text, FinExport) << C.Nom;
      EXPECT_EQ(ReadFileBytes(Cible()), "ancien") << C.Nom;
    } else {
      EXPECT_EQ(Q[2].Text, FinExport) << C.Nom;
      EXPECT_EQ(CodesZHI(Cible()), "073ASTERS0001;073ASTERS0002;971PNG   0001;") << C.Nom;
    }
    EXPECT_FALSE(OsPort::FileExists(Cible() + "2"));
    ExpectIdle();
  }
  EXPECT_TRUE(Script.Unexpected.empty());
}

// --- Imports ------------------------------------------------------------------------------------

// A file of a new wetland 073ASTERS0009, made from the export of 073ASTERS0002 with its rows.
class EchangeImportTest : public EchangeKelvorTest {
 protected:
  void Arrange() override {
    auto Session = AppTest::OpenModuleDatabase();
    struct : IExchangeHost {
      void ProgressStart(int, const String&) override {}
      void ProgressStep() override {}
      bool CancelRequested() override { return false; }
    } Hote;
    String Source = Dossier + "source.uzh";
    TExchangeResult R =
        ExportInventaire(*Session, "073ASTERS0002", "073ASTERS0002", Source, EncodeDate(2026, 12, 10), Hote);
    ASSERT_EQ(R.Outcome, TExchangeResult::Done) << R.Message;
    Valide = StringReplace(ReadFileBytes(Source), "073ASTERS0002", "073ASTERS0009", rfReplaceAll);
  }
  String Fichier() const { return Dossier + "in.uzh"; }
  // The record window open on Code with its details, as when the operator looks at it.
  void OuvrirSur(const String& Code) {
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", Code, {}));
    dmVelbor->qDetailZoneHumide->Open();
    for (int i = 0; i < dmVelbor->ComponentCount(); ++i)
      if (auto* Detail = dynamic_cast<TDataSet*>(dmVelbor->Components(i)); Detail != nullptr && Detail->Tag == 6)
        Detail->Open();
  }
  const String Confirmation =
      "Attention !\n\rVous allez importer des inventaires :\n\r1/Les inventaires déjà présents dans votre base seront "
      "modifiés.\n\r2/Les inventaires absents de votre base seront ajoutés.\n\rVoulez-vous continuer ?"_a;
  String Valide;
};

TEST_F(EchangeImportTest, ImportRefreshesTheModuleListWhichKeepsItsWetland) {
  auto* Fiche = OuvrirFiche();
  OuvrirSur("971PNG   0001");
  WriteFileBytes(Fichier(), Valide);
  Choisir(Form->rbtnImportInventaire, Fichier());
  Script.Push(IDYES);
  Script.Push(IDOK);
  Form->bbtnOk->Click();

  EXPECT_EQ(Questions(), (std::vector<TQuestion>{{"Message", 52, Confirmation}, {"Message", 0, FinImport}}));
  EXPECT_EQ(Fiche->RetoursListe, 1);
  TdmVelbor* dm = dmVelbor;
  EXPECT_EQ(dm->qListeZoneHumide->RecordCount(), 4);
  EXPECT_EQ(dm->qListeZoneHumide->FieldByName("zh_code")->AsString(), "971PNG   0001");
  ASSERT_TRUE(dm->qDetailZoneHumide->Active());
  EXPECT_EQ(dm->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), "971PNG   0001");
  // The dictionaries and their look-ups come back too.
  ASSERT_TRUE(dm->D_COMMUNE->Active());
  ASSERT_TRUE(dm->D_COMMUNE->Locate("COM_CODE", "73065", {}));
  EXPECT_EQ(dm->D_COMMUNE->FieldByName("LIBDEP")->AsString(), "Savoie");
  // The new wetland's rows came with it, and the list reaches it.
  // The bar showed the passes by their captions.
  EXPECT_EQ(Form->OxSpecialProgress1->TextOption(), toCaption);
  EXPECT_EQ(Form->OxSpecialProgress1->Caption(), "2 - Enregistrement des données"_a);
  ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "073ASTERS0009", {}));
  EXPECT_EQ(dm->qListeZoneHumide->FieldByName("zh_nom")->AsString(), "Tourbière du Col"_a);
  ExpectIdle();
}

TEST_F(EchangeImportTest, ImportThatChangesNothingSaysWhyAndLeavesTheModuleAlone) {
  struct Cas {
    const char* Nom;
    String Contenu;
    bool GardeEdition;
    std::vector<int> Reponses;
    std::vector<TQuestion> Attendu;
  } cas[] = {
      {"declined", Valide, false, {IDNO}, {{"Message", 52, Confirmation}}},
      {"edits kept in the record window", Valide, true, {IDYES}, {{"Message", 52, Confirmation}}},
      {"wrong trailer", StringReplace(Valide, "FIN|INVZH|", "FIN|INVZH|1", rfReplaceAll), false, {IDYES, IDOK},
       {{"Message", 52, Confirmation}, {"Message", MB_ICONERROR, "Nombre de trame erroné"_a}}},
  };
  auto* Fiche = OuvrirFiche();
  OuvrirSur("073ASTERS0002");
  for (const Cas& C : cas) {
    Script.Asked.clear();
    Fiche->GardeEdition = C.GardeEdition;
    WriteFileBytes(Fichier(), C.Contenu);
    Choisir(Form->rbtnImportInventaire, Fichier());
    for (int Reponse : C.Reponses) Script.Push(Reponse);
    Form->bbtnOk->Click();
    EXPECT_EQ(Questions(), C.Attendu) << C.Nom;
    EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ZONE_HUMIDE"), 3) << C.Nom;
    EXPECT_EQ(dmVelbor->qListeZoneHumide->RecordCount(), 3);
    EXPECT_EQ(dmVelbor->qListeZoneHumide->FieldByName("zh_code")->AsString(), "073ASTERS0002");
    ExpectIdle();
    if (C.GardeEdition) {
      // The edits are still there.
      EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
      dmVelbor->qDetailZoneHumide->Cancel();
    }
  }
  EXPECT_TRUE(Script.Unexpected.empty());
  // A declined import does not touch the record window.
  EXPECT_EQ(Fiche->RetoursListe, 2);
}

TEST_F(EchangeImportTest, DictionaryImportRefreshesTheDictionaryDatasets) {
  TExchangeWriter Ecrivain(KindDictionary, Dossier + "in.rzh", EncodeDate(2026, 12, 10));
  Ecrivain.AddRecord("RGN", {"99", "", "Région d'essai"_a, ""});
  WriteFileBytes(Dossier + "in.rzh", Ecrivain.Contents());
  ASSERT_FALSE(dmVelbor->D_REGION->Locate("REG_CODE", "99", {}));
  Choisir(Form->rbtnImportDictionnaire, Dossier + "in.rzh");
  Script.Push(IDYES);
  Script.Push(IDOK);
  Form->bbtnOk->Click();
  const String Confirmation =
      "Attention !\n\rVous allez importer des dictionnaires :\n\rLes dictionnaires de votre base seront modifiés.\n\r"
      "Voulez-vous continuer ?"_a;
  EXPECT_EQ(Questions(), (std::vector<TQuestion>{{"Message", 52, Confirmation}, {"Message", 0, FinImport}}));
  ASSERT_TRUE(dmVelbor->D_REGION->Locate("REG_CODE", "99", {}));
  EXPECT_EQ(dmVelbor->D_REGION->FieldByName("REG_LIB")->AsString(), "Région d'essai"_a);
  ExpectIdle();
}

}  // namespace
