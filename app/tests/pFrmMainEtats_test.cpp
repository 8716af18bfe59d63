// Tests of the main window's reports on the test database: the two lists and the three sheets of
// the current wetland prepared from the templates the build makes and read back page by page, the
// question before a sheet drops a record's pending edits, the preparation window and the cursor
// put back on every path, a missing template named in a message, the RTF export of the detailed
// sheet read back by the rich edit, printing on the PDF printer, and a screenshot of a preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "PrintedPdfs.h"
#include "Printers.h"
#include "ScreenshotFiles.h"
#include "StrUtils.h"
#include "Streams.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_DBSet.h"
#include "ZR_E_RTF.h"
#include "ZR_View.h"
#include "MainWindowFixture.h"
#include "pFrmMain.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmPreparationEtat.h"
// The class library's dialogs and rich edit come last: the API macros they bring do not reach the
// declarations above.
#include "RichEdit.h"
#include "Dialogs.h"

namespace {

const char* const kModeles[] = {"ListeActive.zrf", "ListeNonActive.zrf", "ENTETE_Signaletique.zrf",
                                "ENTETE_detaillee.zrf", "ENTETE_SYNTHESE.zrf"};

// One printed object: its name and its lines joined by "|".
struct TObjetImprime {
  String Name;
  String Text;
};

std::vector<TObjetImprime> ObjetsDeLaPage(TzrEMFPages* Pages, int Index) {
  std::vector<TObjetImprime> Objets;
  TzrPage* Page = Pages->UnpackPage(Index);
  for (int i = 0; i < Page->ObjectCount(); ++i) {
    TzrView* View = Page->Objects(i);
    TObjetImprime Objet{View->Name, String()};
    for (int k = 0; k < View->Memo()->Count(); ++k) {
      String Line = View->Memo()->Strings(k);
      Line.erase(std::remove(Line.begin(), Line.end(), zrLineEnd), Line.end());
      if (Line.empty() && k == View->Memo()->Count() - 1) continue;
      if (k > 0) Objet.Text += "|";
      Objet.Text += Line;
    }
    Objets.push_back(Objet);
  }
  Pages->Pages(Index).Page.reset();
  return Objets;
}

// Every text of every page, in print order.
std::vector<String> TousLesTextes(TzrEMFPages* Pages) {
  std::vector<String> Textes;
  for (int p = 0; p < Pages->Count(); ++p)
    for (const TObjetImprime& Objet : ObjetsDeLaPage(Pages, p)) Textes.push_back(Objet.Text);
  return Textes;
}

bool Contient(const std::vector<String>& Textes, const String& Texte) {
  return std::find(Textes.begin(), Textes.end(), Texte) != Textes.end();
}

// Records, each time a report starts building, whether the preparation window shows above it.
class TTemoinPreparation : public TObject {
 public:
  void DebutEtat() { Visible.push_back(FormExiste(frmPreparationEtat) && frmPreparationEtat->Visible()); }
  std::vector<bool> Visible;
};

// The main window as the program makes it (its first paint opens the record window), with the
// templates the build makes beside the program.
class EtatsTest : public AppTest::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    for (const char* Modele : kModeles)
      ASSERT_TRUE(CopyFile(OsPort::WindowsPath(VELBOR_REPORT_TEMPLATES) + "\\" + Modele,
                           AppTest::ProgramFolder() + "base\\" + Modele))
          << Modele;
    CreerFenetrePrincipale(1000, 740);
  }

  void TearDown() override {
    for (const TModalQuestion& q : Modal.Unexpected) ADD_FAILURE() << "unexpected question: " << q.Caption << " / " << q.Text;
    MainWindowFixture::TearDown();
    for (const char* Modele : kModeles) DeleteFile(AppTest::ProgramFolder() + "base\\" + Modele);
  }

  // The preview windows open now.
  std::vector<TzrPreviewForm*> Apercus() {
    std::vector<TzrPreviewForm*> Found;
    for (int i = 0; i < frmMainForm->MDIChildCount(); ++i)
      if (auto* Apercu = dynamic_cast<TzrPreviewForm*>(frmMainForm->MDIChildren(i))) Found.push_back(Apercu);
    return Found;
  }

  // Runs Action and answers the pages of the preview it opened.
  TzrEMFPages* Executer(TAction* Action) {
    TzrPreviewForm* Apercu = ExecuterApercu(Action);
    return Apercu != nullptr ? Apercu->Pages() : nullptr;
  }
  TzrPreviewForm* ExecuterApercu(TAction* Action) {
    const std::vector<TzrPreviewForm*> Avant = Apercus();
    Action->Execute();
    PumpPending();
    std::vector<TzrPreviewForm*> Nouveaux;
    for (TzrPreviewForm* Apercu : Apercus())
      if (std::find(Avant.begin(), Avant.end(), Apercu) == Avant.end()) Nouveaux.push_back(Apercu);
    if (Nouveaux.size() != 1) {
      ADD_FAILURE() << Nouveaux.size() << " previews opened by " << Action->Name();
      return nullptr;
    }
    return Nouveaux.front();
  }

  // Selects the wetland of that code in the record list.
  void Selectionner(const String& Code) {
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", Variant(Code), {})) << Code;
  }

  // The preparation window and the cursor as the command leaves them.
  void VerifierRemisEnEtat() {
    EXPECT_TRUE(!FormExiste(frmPreparationEtat) || !frmPreparationEtat->Visible());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(frmMainForm->ActionList1->Tag, 0) << "the report flag";
  }

  TModalScript Modal;
};

// --- The lists -------------------------------------------------------------------------------

TEST_F(EtatsTest, TheListsShowEachWetlandOfTheirStatusOnceWithTitleTotalAndPageNumbers) {
  struct TCas {
    const char* Nom;
    TAction* TfrmMainForm::*Action;
    const char* Titre;
    std::vector<String> Codes;
    std::vector<String> Noms;
  } Cas[] = {
      {"actives", &TfrmMainForm::actListedesZHactives, "Liste des fiches actives",
       {"073ASTERS0001", "073ASTERS0002"}, {"Marais de l'Étang Noir"_a, "Tourbière du Col"_a}},
      {"gelées"_a, &TfrmMainForm::actListedesZHgeles, "Liste des fiches gelées"_a, {"971PNG   0001"},
       {"Mangrove de Belle-Plaine"}},
  };
  TTemoinPreparation Temoin;
  frmMainForm->zrReportListeActive->OnBeginDoc = TzrSimpleEvent(&Temoin, &TTemoinPreparation::DebutEtat);
  frmMainForm->zrReportListeNonActive->OnBeginDoc = TzrSimpleEvent(&Temoin, &TTemoinPreparation::DebutEtat);
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Nom);
    TzrEMFPages* Pages = Executer(frmMainForm->*C.Action);
    ASSERT_NE(Pages, nullptr);
    ASSERT_EQ(Pages->Count(), 1);
    std::vector<TObjetImprime> Objets = ObjetsDeLaPage(Pages, 0);
    auto Textes = [&](const String& Name) {
      std::vector<String> T;
      for (const TObjetImprime& O : Objets)
        if (O.Name == Name) T.push_back(O.Text);
      return T;
    };
    EXPECT_EQ(Textes("Titre"), std::vector<String>{C.Titre});
    EXPECT_EQ(Textes("Code"), C.Codes) << "every wetland of the status once, by code";
    EXPECT_EQ(Textes("Nom"), C.Noms);
    EXPECT_EQ(Textes("Total"), std::vector<String>{"Nombre de fiches : " + IntToStr(int(C.Codes.size()))});
    EXPECT_EQ(Textes("Page"), std::vector<String>{"Page 1 / 1"});
    VerifierRemisEnEtat();
  }
  EXPECT_EQ(Temoin.Visible, (std::vector<bool>{true, true})) << "built behind the preparation window";
  frmMainForm->zrReportListeActive->OnBeginDoc = nullptr;
  frmMainForm->zrReportListeNonActive->OnBeginDoc = nullptr;
  // The department of the first commune, the status in words and the dates of the history.
  TzrEMFPages* Pages = Executer(frmMainForm->actListedesZHactives);
  ASSERT_NE(Pages, nullptr);
  std::vector<TObjetImprime> Objets = ObjetsDeLaPage(Pages, 0);
  std::vector<String> Ligne;
  for (const TObjetImprime& O : Objets)
    if (O.Name == "Dep" || O.Name == "Statut" || O.Name == "Creation" || O.Name == "Maj") Ligne.push_back(O.Text);
  ASSERT_GE(Ligne.size(), 8u);
  EXPECT_EQ(std::vector<String>(Ligne.begin(), Ligne.begin() + 8),
            (std::vector<String>{"73", "active", "12/03/2004", "30/06/2005", "73", "active", "12/03/2004", "12/03/2004"}));
  EXPECT_FALSE(frmMainForm->qListeActive->Active()) << "the data link closes the list after the report";
}

TEST_F(EtatsTest, AListWithNoWetlandPrintsItsTitleAndAZeroTotal) {
  AppTest::OpenModuleDatabase()->ExecuteScript("update T_ZONE_HUMIDE set ZH_STATUT = 'A'");
  TzrEMFPages* Pages = Executer(frmMainForm->actListedesZHgeles);
  ASSERT_NE(Pages, nullptr);
  std::vector<String> Textes = TousLesTextes(Pages);
  EXPECT_TRUE(Contient(Textes, "Liste des fiches gelées"_a));
  EXPECT_TRUE(Contient(Textes, "Nombre de fiches : 0"));
  EXPECT_FALSE(Contient(Textes, "Mangrove de Belle-Plaine"));
}

TEST_F(EtatsTest, TheTemplatesReadTheDataThroughTheNamedLinks) {
  // The names are what the template files refer to.
  const struct {
    const char* Lien;
    const char* DataSet;
  } Liens[] = {
      {"zrDetailZoneHumide", "qDetailZoneHumide"}, {"zrAlias", "qAlias"}, {"zrHistorique", "qHistorique"},
      {"zrZoneHydroZh", "qZoneHydroZh"}, {"zrCommune", "qCommune"}, {"zrCorineBio", "qCorineBio"},
      {"zrRefBiblio", "qRefBiblio"}, {"zrSortieEau", "qSortieEau"}, {"zrEspVeg", "qEspVeg"},
      {"zrOiseaux", "qOiseaux"}, {"zrActHum", "qActHum"}, {"zrFactInf", "qFactInf"}, {"zrValSE", "qValSE"},
      {"zrMesureProt", "qMesureProt"}, {"zrINT_FONCT_BIO", "qINT_FONCT_BIO"}, {"zrHabitat", "qHabitat"},
      {"zrInstContFinacier", "qInstContFinacier"}, {"zrFREQ_SUB", "D_FREQ_SUB"},
      {"zrDBDataSetImage", "qmtMemTableImage"}, {"zrSDAGE", "qSDAGE"}, {"zrOrientZH", "qOrientZH"},
      {"zrSysAquiZH", "qSysAquiZH"}, {"zrIGN", "qIGN"}, {"zrInventaire", "qInventaire"}, {"zrTypoPhy", "qTypoPhy"},
      {"zrEntEau", "qEntEau"}, {"zrFonctHydro", "qFonctHydro"}, {"zrEspAni", "qEspAni"}, {"zrFonctBio", "qFonctBio"},
      {"zrActHum2", "qActHum2"}, {"zrFactInf2", "qFactInf2"}, {"zrStatutFoncier", "qStatutFoncier"},
      {"zrMesureProtAqua", "qMesureProtAqua"}, {"zrDelCartoZh", "qDelCartoZh"}, {"zrQualiteEau", "qQualiteEau"},
      {"zrSYSALT", "D_SYS_ALT"}, {"zrETE_SUB", "D_ETE_SUB"},
  };
  int Comptes = 0;
  for (int i = 0; i < frmMainForm->ComponentCount(); ++i)
    if (dynamic_cast<TzrDBDataSet*>(frmMainForm->Components(i)) != nullptr) ++Comptes;
  EXPECT_EQ(Comptes, 39);
  for (const auto& L : Liens) {
    auto* Lien = dynamic_cast<TzrDBDataSet*>(frmMainForm->FindComponent(L.Lien));
    ASSERT_NE(Lien, nullptr) << L.Lien;
    ASSERT_NE(Lien->DataSet(), nullptr) << L.Lien;
    EXPECT_EQ(Lien->DataSet()->Owner(), dmVelbor) << L.Lien;
    EXPECT_EQ(Lien->DataSet()->Name(), L.DataSet) << L.Lien;
    EXPECT_FALSE(Lien->OpenDataSource) << L.Lien;
    EXPECT_FALSE(Lien->CloseDataSource) << L.Lien;
  }
  for (const auto& [Nom, Liste] : {std::pair<const char*, TDataSet*>{"zrListeActive", frmMainForm->qListeActive},
                                   {"zrListeNonActive", frmMainForm->qListeNonActive}}) {
    auto* Lien = dynamic_cast<TzrDBDataSet*>(frmMainForm->FindComponent(Nom));
    ASSERT_NE(Lien, nullptr) << Nom;
    EXPECT_EQ(Lien->DataSet(), Liste);
    EXPECT_TRUE(Lien->CloseDataSource) << Nom;
  }
}

// --- The sheets of the current wetland ---------------------------------------------------------

TEST_F(EtatsTest, WithoutARecordWindowASheetPrintsTheFirstWetlandOfTheList) {
  FermerFiche();
  TzrEMFPages* Pages = Executer(frmMainForm->actFichesignaltique);
  ASSERT_NE(Pages, nullptr);
  EXPECT_TRUE(Contient(TousLesTextes(Pages), "073ASTERS0001 - Marais de l'Étang Noir"_a));
}

TEST_F(EtatsTest, TheDetailedSheetHasEverySectionWithItsRowsAndTheTextsExact) {
  Selectionner("073ASTERS0001");
  TzrEMFPages* Pages = Executer(frmMainForm->actFichedtaill);
  ASSERT_NE(Pages, nullptr);
  EXPECT_GE(Pages->Count(), 2) << "the whole record does not fit on one page";
  std::vector<String> Textes = TousLesTextes(Pages);
  ASSERT_FALSE(Textes.empty());
  EXPECT_TRUE(Contient(Textes, "Fiche détaillée"_a));
  EXPECT_TRUE(Contient(Textes, "073ASTERS0001 - Marais de l'Étang Noir"_a)) << "accents and apostrophe exact";
  EXPECT_TRUE(Contient(Textes, "Page 1 / " + IntToStr(Pages->Count())));
  // Each section's title, then a text that only one of its rows prints.
  const struct {
    const char* Section;
    const char* Ligne;
  } Sections[] = {
      {"Autres dénominations"_a, "Marais de Chautagne"},
      {"Communes", "Chambéry"_a},
      {"Activités humaines dans la zone"_a, "Fauche tardive"},
      {"Activités humaines autour de la zone"_a, "Peupleraie|en limite nord"},
      {"Historique", "Lefèvre"_a},
      {"Description du site", "Marais tourbeux|en rive du lac|au pied du mont"},
      {"Menaces", "Drainage agricole|Remblais"},
  };
  for (const auto& S : Sections) {
    EXPECT_TRUE(Contient(Textes, S.Section)) << S.Section;
    EXPECT_TRUE(Contient(Textes, S.Ligne)) << S.Ligne;
  }
  // The other detail sections, by their titles.
  const char* const Titres[] = {"Cartes IGN", "Critères de délimitation cartographique"_a,
                                "Codes CORINE biotopes", "Habitats", "Entrées d'eau"_a, "Sorties d'eau",
                                "Fonctions hydrologiques", "Fonctions biologiques", "Valeurs socio-économiques"_a,
                                "Facteurs d'influence dans la zone", "Statuts fonciers", "Mesures de protection",
                                "Instruments contractuels et financiers", "Orientations", "Qualité de l'eau"_a,
                                "Espèces végétales"_a, "Espèces animales"_a, "Oiseaux", "Références bibliographiques"_a,
                                "Inventaires", "Typologie SDAGE", "Bassins versants de surface"};
  for (const char* Titre : Titres) EXPECT_TRUE(Contient(Textes, Titre)) << Titre;
  // Every section prints at least one row of the wetland's details (the test database holds one
  // for each): the cells between its title and the next title, across pages.
  std::vector<std::pair<String, int>> Lignes;
  for (int p = 0; p < Pages->Count(); ++p)
    for (const TObjetImprime& Objet : ObjetsDeLaPage(Pages, p)) {
      if (Objet.Name.compare(0, 7, "Section") == 0) Lignes.push_back({Objet.Text, 0});
      else if (Objet.Name.compare(0, 7, "Cellule") == 0 && !Lignes.empty()) ++Lignes.back().second;
    }
  EXPECT_GE(Lignes.size(), 31u);
  for (const auto& [Titre, Cellules] : Lignes) {
    if (Titre == "Identification" || Titre == "Caractéristiques"_a || Titre == "Évaluation"_a) continue;
    EXPECT_GT(Cellules, 0) << "no row under " << Titre;
  }
  VerifierRemisEnEtat();
}

TEST_F(EtatsTest, TheSheetsPrintTheWetlandSelectedInTheList) {
  const struct {
    const char* Nom;
    TAction* TfrmMainForm::*Action;
    const char* Titre;
  } Cas[] = {{"signalétique"_a, &TfrmMainForm::actFichesignaltique, "Fiche signalétique"_a},
             {"synthèse"_a, &TfrmMainForm::actFichedesynthse1, "Fiche de synthèse"_a},
             {"détaillée"_a, &TfrmMainForm::actFichedtaill, "Fiche détaillée"_a}};
  for (const auto& C : Cas) {
    SCOPED_TRACE(C.Nom);
    Selectionner("073ASTERS0002");
    TzrEMFPages* Pages = Executer(frmMainForm->*C.Action);
    ASSERT_NE(Pages, nullptr);
    std::vector<String> Textes = TousLesTextes(Pages);
    EXPECT_TRUE(Contient(Textes, C.Titre));
    EXPECT_TRUE(Contient(Textes, "073ASTERS0002 - Tourbière du Col"_a));
    EXPECT_FALSE(Contient(Textes, "073ASTERS0001 - Marais de l'Étang Noir"_a));
    EXPECT_TRUE(Contient(Textes, "Chambéry"_a)) << "the commune of the selected wetland";
    EXPECT_FALSE(Contient(Textes, "Aix-les-Bains")) << "a commune of another wetland";
    VerifierRemisEnEtat();
  }
}

TEST_F(EtatsTest, ASheetAsksBeforeDroppingPendingEditsAndNoKeepsThem) {
  Modifier("073ASTERS0002");
  dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Nom à moitié saisi"_a);
  const std::size_t Avant = Apercus().size();

  Modal.Push(IDNO);
  frmMainForm->actFichesignaltique->Execute();
  PumpPending();
  ASSERT_EQ(Modal.Asked.size(), 1u);
  EXPECT_EQ(Modal.Asked[0].Text, MsgPerteSaisie);
  EXPECT_EQ(Modal.Asked[0].Caption, "Attention");
  EXPECT_TRUE(EnEdition()) << "\"Non\" keeps the record in edit mode";
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString(), "Nom à moitié saisi"_a);
  EXPECT_EQ(Apercus().size(), Avant) << "and prints nothing";
  VerifierRemisEnEtat();

  Modal.Push(IDYES);
  TzrEMFPages* Pages = Executer(frmMainForm->actFichesignaltique);
  ASSERT_EQ(Modal.Asked.size(), 2u);
  EXPECT_FALSE(EnEdition());
  EXPECT_NE(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ZONE_HUMIDE where ZH_NOM = 'Nom à moitié saisi'"_a), 0);
  ASSERT_NE(Pages, nullptr);
  EXPECT_GE(Pages->Count(), 1);
  // Without edits nothing is asked.
  EXPECT_NE(Executer(frmMainForm->actFichedesynthse1), nullptr);
  EXPECT_EQ(Modal.Asked.size(), 2u);
}

// --- Failures ----------------------------------------------------------------------------------

TEST_F(EtatsTest, AMissingTemplateIsNamedAndNothingIsLeftBehind) {
  const struct {
    const char* Fichier;
    TAction* TfrmMainForm::*Action;
    const char* Titre;
  } Cas[] = {{"ListeActive.zrf", &TfrmMainForm::actListedesZHactives, "Liste des fiches actives"},
             {"ENTETE_detaillee.zrf", &TfrmMainForm::actFichedtaill, "Fiche détaillée"_a}};
  for (const auto& C : Cas) {
    SCOPED_TRACE(C.Fichier);
    ASSERT_TRUE(DeleteFile(CheminBase + C.Fichier));
    Modal.Push(IDOK);
    const std::size_t Avant = Apercus().size();
    (frmMainForm->*C.Action)->Execute();
    PumpPending();
    ASSERT_EQ(Modal.Asked.size(), 1u);
    EXPECT_EQ(Modal.Asked[0].Caption, "Erreur");
    EXPECT_NE(Modal.Asked[0].Text.find(C.Titre), String::npos) << Modal.Asked[0].Text;
    EXPECT_NE(Modal.Asked[0].Text.find(CheminBase + C.Fichier), String::npos) << Modal.Asked[0].Text;
    EXPECT_EQ(Apercus().size(), Avant);
    EXPECT_FALSE(frmMainForm->qListeActive->Active()) << "the list query is not left open";
    VerifierRemisEnEtat();
    Modal.Asked.clear();
  }
}

TEST_F(EtatsTest, ATemplateNamingAnUnknownFieldPutsThePreparationWindowBack) {
  // A template whose data band reads a link that does not exist: the engine reports the error.
  TzrReport* Report = frmMainForm->zrReportListeActive;
  ASSERT_TRUE(Report->LoadTemplateFile(CheminBase + "ListeActive.zrf"));
  TzrView* Code = Report->FindObjectByName("Code");
  ASSERT_NE(Code, nullptr);
  Code->Memo()->SetText("[qListeActive.\"PAS_DE_CHAMP\"] [INCONNU(1)]");
  {
    TFileStream Fichier(CheminBase + "ListeActive.zrf", fmCreate);
    Report->WriteTemplate(&Fichier);
  }
  bool Leve = false;
  try {
    frmMainForm->actListedesZHactives->Execute();
  } catch (const Exception&) {
    Leve = true;
  }
  PumpPending();
  // The engine reports the error in its message box (or raises it): either way the window it
  // was built behind and the cursor are put back.
  const bool Signale = !Modal.Unexpected.empty() && Modal.Unexpected[0].Caption == "Erreur";
  EXPECT_TRUE(Leve || Signale);
  Modal.Unexpected.clear();
  EXPECT_TRUE(FormExiste(frmPreparationEtat)) << "the preparation window was made for the build";
  VerifierRemisEnEtat();
}

// --- RTF export ---------------------------------------------------------------------------------

TEST_F(EtatsTest, TheDetailedSheetExportedToRtfReadsBackInTheRichEdit) {
  Selectionner("073ASTERS0001");
  ASSERT_NE(Executer(frmMainForm->actFichedtaill), nullptr);
  const String Cible = AppTest::ProgramFolder() + "fiche.rtf";
  AppTest::WriteFileText(Cible, "ancien contenu");
  TModalAnswer Reponse;
  Reponse.Result = 1;
  Reponse.Value = Cible;
  Modal.Push(Reponse);
  frmMainForm->actEnregistrerSous->Execute();
  ASSERT_EQ(Modal.Asked.size(), 1u);
  EXPECT_EQ(Modal.Asked[0].Fields["Filter"], "format RTF|*.rtf|format CSV|*.csv");
  String Rtf = AppTest::ReadFileText(Cible);
  ASSERT_EQ(Rtf.compare(0, 5, "{\\rtf"), 0) << Rtf.substr(0, 40);
  // The export writes "<target>.~xxxxxx" beside the target and renames it over the target.
  for (const String& Nom : OsPort::ListFolder(AppTest::ProgramFolder(), "fiche.rtf.~*")) ADD_FAILURE() << "left behind: " << Nom;

  auto* Riche = new TRichEdit(frmMainForm);
  Riche->SetParent(frmMainForm);
  // One line per paragraph: the control does not wrap them.
  Riche->SetWordWrap(false);
  Riche->SetBounds(0, 0, 1500, 300);
  Riche->Lines()->LoadFromFile(Cible);
  String Texte = Riche->Lines()->Text();
  for (const char* Attendu : {"Fiche détaillée"_a, "Marais de l'Étang Noir"_a, "Chambéry"_a, "Fauche tardive", "Lefèvre"_a})
    EXPECT_NE(Texte.find(Attendu), String::npos) << Attendu;
  delete Riche;
  DeleteFile(Cible);
}

TEST_F(EtatsTest, AFailedRtfExportLeavesNeitherATemporaryFileNorTheHourglass) {
  Selectionner("073ASTERS0001");
  ASSERT_NE(Executer(frmMainForm->actFichedtaill), nullptr);
  const String Dossier = AppTest::ProgramFolder() + "export-rtf";
  ForceDirectories(Dossier);
  // A name that is a folder: the pages are written, then the replacement fails. A folder that does
  // not exist: nothing can be written.
  ForceDirectories(Dossier + "\\dossier.rtf");
  const struct {
    const char* Nom;
    const char* Cible;
  } Cas[] = {{"target is a folder", "\\dossier.rtf"}, {"missing folder", "\\absent\\fiche.rtf"}};
  // The look-up below sees such a file when one is there.
  AppTest::WriteFileText(Dossier + "\\autre.rtf.~0a1b2c", "reste");
  ASSERT_EQ(OsPort::ListFolder(Dossier, "*.~*").size(), 1u);
  DeleteFile(Dossier + "\\autre.rtf.~0a1b2c");
  for (const auto& C : Cas) {
    SCOPED_TRACE(C.Nom);
    TModalAnswer Reponse;
    Reponse.Result = 1;
    Reponse.Value = Dossier + C.Cible;
    Modal.Push(Reponse);
    bool Echec = false;
    try {
      frmMainForm->actEnregistrerSous->Execute();
    } catch (const Exception&) {
      Echec = true;
    }
    EXPECT_TRUE(Echec) << "the failure reaches the operator";
    EXPECT_EQ(Screen->Cursor(), crDefault);
    // The export's temporary file is "<target>.~xxxxxx".
    EXPECT_TRUE(OsPort::ListFolder(Dossier, "*.~*").empty()) << "no temporary file left";
  }
  EXPECT_TRUE(DirectoryExists(Dossier + "\\dossier.rtf")) << "the target is left as it was";
  RemoveDir(Dossier + "\\dossier.rtf");
  RemoveDir(Dossier);
}

TEST_F(EtatsTest, OnlyAnRtfNameIsExportedWhateverItsCase) {
  const struct {
    const char* Nom;
    bool Exporte;
  } Cas[] = {{"fiche.RTF", true}, {"fiche2.rtf", true}, {"fiche.doc", false}, {"fiche.csv", false}};
  for (const auto& C : Cas) {
    SCOPED_TRACE(C.Nom);
    const String Cible = AppTest::ProgramFolder() + C.Nom;
    DeleteFile(Cible);
    TModalAnswer Reponse;
    Reponse.Result = 1;
    Reponse.Value = Cible;
    Modal.Push(Reponse);
    frmMainForm->actEnregistrerSous->Execute();
    EXPECT_EQ(FileExists(Cible), C.Exporte);
    DeleteFile(Cible);
  }
  // Cancelled: nothing.
  Modal.Push(0);
  frmMainForm->actEnregistrerSous->Execute();
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// --- Printing and the preview ---------------------------------------------------------------------

TEST_F(EtatsTest, AListAndASheetPrintedOnThePdfPrinterReadBack) {
  if (Printer()->Printers()->IndexOf("PDF") < 0) GTEST_SKIP() << "no printer named PDF: scripts/printer-env.sh installs it";
  Printer()->SetPrinterIndex(Printer()->Printers()->IndexOf("PDF"));
  const struct {
    TAction* TfrmMainForm::*Action;
    TzrReport* TfrmMainForm::*Report;
    std::vector<const char*> Attendus;
  } Cas[] = {{&TfrmMainForm::actListedesZHactives, &TfrmMainForm::zrReportListeActive,
              {"Liste des fiches actives", "073ASTERS0002", "Marais de l'Étang Noir"_a, "Nombre de fiches : 2"}},
             {&TfrmMainForm::actFichesignaltique, &TfrmMainForm::zrReportEnteteSignaletique,
              {"Fiche signalétique"_a, "Tourbière du Col"_a, "Chambéry"_a}}};
  Selectionner("073ASTERS0002");
  for (const auto& C : Cas) {
    ASSERT_NE(Executer(frmMainForm->*C.Action), nullptr);
    // The preview took the pages: the report prepares them again from the template it loaded.
    TzrReport* Report = frmMainForm->*C.Report;
    if (C.Report == &TfrmMainForm::zrReportListeActive) frmMainForm->qListeActive->Open();
    ASSERT_TRUE(Report->Prepare());
    std::string Titre = UniqueTitle("velboretat");
    Report->Title = Titre;
    ASSERT_TRUE(Report->PrintPrepared("", 1, 0, true));
    std::vector<std::string> Pdfs = WaitForPdfs(Titre, 1);
    ASSERT_EQ(Pdfs.size(), 1u);
    std::string Texte = PdfText(Pdfs[0]);
    for (const char* Attendu : C.Attendus) EXPECT_NE(Texte.find(AnsiToUtf8(Attendu)), std::string::npos) << Attendu << "\n" << Texte;
    std::remove(Pdfs[0].c_str());
  }
}

TEST_F(EtatsTest, ThePreviewOfTheDetailedSheetIsKeptForAPersonToLookAt) {
  frmMainForm->SetWindowState(wsNormal);
  frmMainForm->SetBounds(0, 0, 1000, 740);
  ASSERT_TRUE(WaitFor("the main window at its size", [] { return !IsIconic(frmMainForm->Handle()); }));
  Selectionner("073ASTERS0001");
  TzrPreviewForm* Apercu = ExecuterApercu(frmMainForm->actFichedtaill);
  ASSERT_NE(Apercu, nullptr);
  Apercu->SetWindowState(wsMaximized);
  ASSERT_TRUE(Painted(Apercu));
  HDC Ecran = GetDC(nullptr);
  RECT Zone;
  GetWindowRect(frmMainForm->Handle(), &Zone);
  SaveScreenshotOf(Ecran, Zone.left, Zone.top, Zone.right - Zone.left, Zone.bottom - Zone.top, "apercu-fiche-detaillee");
  // The sections of the details, on the second page.
  Apercu->GoToPage(2);
  ASSERT_TRUE(Painted(Apercu));
  SaveScreenshotOf(Ecran, Zone.left, Zone.top, Zone.right - Zone.left, Zone.bottom - Zone.top, "apercu-fiche-detaillee-page2");
  ReleaseDC(nullptr, Ecran);
  Apercu = ExecuterApercu(frmMainForm->actListedesZHactives);
  ASSERT_NE(Apercu, nullptr);
  Apercu->SetWindowState(wsMaximized);
  ASSERT_TRUE(Painted(Apercu));
  Ecran = GetDC(nullptr);
  SaveScreenshotOf(Ecran, Zone.left, Zone.top, Zone.right - Zone.left, Zone.bottom - Zone.top, "apercu-liste-actives");
  ReleaseDC(nullptr, Ecran);
}

}  // namespace
