// Tests of the search dialogs and the commune picker on real windows, over the test database with
// wetlands whose codes, names and envelopes hold apostrophes, accents and "%": each criterion and
// their combinations typed in the dialog and run into the record list, the refusals, the
// consultation opened from the record window, and the picker narrowing region, department and
// commune down to the code written into the record's commune rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "FormatSettings.h"
#include "OxFilenameEdit.h"
#include "OxLookupEdit.h"
#include "ScreenshotFiles.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "RecordWindowFixture.h"
#include "pFrmZoneHumide.h"
#include "pRechFicheConsult.h"
#include "pRecherche.h"
#include "pRechercheCommune.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"

namespace {

const char* const kArc = "073D'ARC 0001";
const char* const kEtang = "074ETANG 0001";
const char* const kAsters1 = "073ASTERS0001";
const char* const kAsters2 = "073ASTERS0002";
const char* const kPng = "971PNG   0001";

// Saves the screen under a window as NAME.png beside the test program.
void Photographier(TWinControl* Window, const String& Name) {
  RECT Rect;
  GetWindowRect(Window->Handle(), &Rect);
  HDC Screen = GetDC(nullptr);
  SaveScreenshotOf(Screen, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, Name);
  ReleaseDC(nullptr, Screen);
}

class SearchTest : public AppTest::RecordWindowFixture {
 protected:
  void Arrange() override {
    // A department, a commune and two wetlands more; envelopes with an apostrophe and a "%", and
    // one that a "%" taken as a wildcard would match.
    for (const char* Sql : {
             "INSERT INTO D_DEPARTEMENT VALUES ('74', 'Haute-Savoie', '84')",
             "INSERT INTO D_COMMUNE VALUES ('74010', 'Annecy', '74')",
             "INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_FILIATION, ZH_NOM_ENVELOPPE) "
             "VALUES ('074ETANG 0001', 'Étang de l''Ours', 'A', '1', '0', 'Lac d''Annecy')",
             "INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_FILIATION, ZH_NOM_ENVELOPPE) "
             "VALUES ('073D''ARC 0001', 'Marais d''Arc', 'A', '1', '0', '100% tourbe')",
             "UPDATE T_ZONE_HUMIDE SET ZH_NOM_ENVELOPPE = '100 tourbe' WHERE ZH_CODE = '073ASTERS0002'",
             "UPDATE T_ZONE_HUMIDE SET ZH_NOM_ENVELOPPE = '100X tourbe' WHERE ZH_CODE = '073ASTERS0001'",
             "INSERT INTO T_COMMUNE_ZH VALUES ('074ETANG 0001', '74010'), ('073D''ARC 0001', '73008')",
             "INSERT INTO T_SDAGE_ZH VALUES ('074ETANG 0001', '5', 1)",
         })
      Execute(Utf8ToAnsi(Sql));
  }
  void CloseOwnWindows() override {
    for (TCustomForm* Form : std::initializer_list<TCustomForm*>{frmRechFicheConsult, frmRechercheCommune, Recherche})
      if (FormExiste(Form)) Form->Free();
    frmRechFicheConsult = nullptr;
    frmRechercheCommune = nullptr;
  }

  // The codes the record list holds, in its order.
  static std::vector<String> Liste() {
    std::vector<String> Codes;
    TDataSet* Liste = dmVelbor->qListeZoneHumide;
    for (Liste->First(); !Liste->Eof(); Liste->Next()) Codes.push_back(Liste->FieldByName("zh_code")->AsString());
    return Codes;
  }
  // Types Text into a lookup edit as the operator does: the focus moves there (the one it leaves
  // runs its exit), the old text is selected and replaced.
  static void Taper(TOxLookupEdit* Edit, const String& Text) {
    ASSERT_TRUE(GiveFocus(Edit));
    Edit->SelectAll();
    TypeText(Text);
    ASSERT_TRUE(WaitFor("the text typed", [&] { return Edit->Text() == Text; })) << Text << " / " << Edit->Text();
  }
  // The consultation search, shown as a plain window so that the test types into it.
  TfrmRechFicheConsult* OuvrirConsultation() {
    frmRechFicheConsult = CreateForm<TfrmRechFicheConsult>(Application);
    frmRechFicheConsult->Show();
    EXPECT_TRUE(Painted(frmRechFicheConsult));
    return frmRechFicheConsult;
  }

  TfrmRecherche* Recherche = nullptr;
};

// --- The statement ---------------------------------------------------------------------------------

// What each criterion and some combinations find, typed in the dialog and run into the record
// list. Only the most precise administrative level counts; values with an apostrophe or a "%"
// are only values.
TEST_F(SearchTest, EachCriterionAndTheirCombinationsFindTheirWetlands) {
  using TSaisie = std::pair<TOxLookupEdit* TfrmRecherche::*, const char*>;
  struct TCas {
    const char* Nom;
    std::vector<TSaisie> Saisies;
    std::set<String> Attendus;
  };
  const TCas Cas[] = {
      {"surface basin", {{&TfrmRecherche::OxLkeSurface, "V130"}}, {kAsters1}},
      {"underground basin", {{&TfrmRecherche::OxLkeSouterrain, "125AC01"}}, {kAsters1}},
      {"envelope with an apostrophe", {{&TfrmRecherche::OxLkeRef, "Lac d'Annecy"}}, {kEtang}},
      {"envelope with a %", {{&TfrmRecherche::OxLkeRef, "100% tourbe"}}, {kArc}},
      {"SDAGE type", {{&TfrmRecherche::OxLkeSdage, "5"}}, {kAsters1, kEtang}},
      {"Corine code", {{&TfrmRecherche::OxLkeCorine, "53.1"}}, {kAsters1}},
      {"site with an apostrophe", {{&TfrmRecherche::OxLkeSite, kArc}}, {kArc}},
      {"commune with an accent", {{&TfrmRecherche::OxLkeCommune, "Chambéry"_a}}, {kAsters1, kAsters2}},
      {"department", {{&TfrmRecherche::OxLkeDep, "Savoie"}}, {kAsters1, kAsters2, kArc}},
      {"region", {{&TfrmRecherche::OxLkeRegion, "Auvergne-Rhône-Alpes"_a}}, {kAsters1, kAsters2, kArc, kEtang}},
      {"the commune wins over the region",
       {{&TfrmRecherche::OxLkeRegion, "Guadeloupe"}, {&TfrmRecherche::OxLkeCommune, "Aix-les-Bains"}},
       {kAsters1, kArc}},
      {"the department wins over the region",
       {{&TfrmRecherche::OxLkeRegion, "Auvergne-Rhône-Alpes"_a}, {&TfrmRecherche::OxLkeDep, "Haute-Savoie"}},
       {kEtang}},
      {"SDAGE and department", {{&TfrmRecherche::OxLkeSdage, "5"}, {&TfrmRecherche::OxLkeDep, "Savoie"}}, {kAsters1}},
      {"envelope and site",
       {{&TfrmRecherche::OxLkeRef, "100 tourbe"}, {&TfrmRecherche::OxLkeSite, kAsters2}},
       {kAsters2}},
      {"basin, Corine and commune",
       {{&TfrmRecherche::OxLkeSurface, "V130"}, {&TfrmRecherche::OxLkeCorine, "22.1"},
        {&TfrmRecherche::OxLkeCommune, "Aix-les-Bains"}},
       {kAsters1}},
  };
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Nom);
    TModalScript Script;
    TfrmRechFicheConsult* Dialogue = OuvrirConsultation();
    for (const TSaisie& Saisie : C.Saisies) Taper(Dialogue->*Saisie.first, Saisie.second);
    ClickControl(Dialogue->bbOk);
    ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmRechFicheConsult); }));
    EXPECT_TRUE(Script.Asked.empty()) << Script.Asked[0].Text;
    std::vector<String> Trouves = Liste();
    EXPECT_EQ(std::set<String>(Trouves.begin(), Trouves.end()), C.Attendus);
    EXPECT_TRUE(std::is_sorted(Trouves.begin(), Trouves.end())) << "ordered by code";
    EXPECT_EQ(Fiche->OxPageControl->ActivePage(), Fiche->tsListe);
  }
}

// The statement holds no value: each is a parameter, whatever it holds.
TEST_F(SearchTest, TheStatementBindsItsValues) {
  Recherche = CreateForm<TfrmRecherche>(Application);
  Recherche->Show();
  ASSERT_TRUE(Painted(Recherche));
  Taper(Recherche->OxLkeRef, "100% tourbe");
  Taper(Recherche->OxLkeSite, kArc);
  Taper(Recherche->OxLkeDep, "Savoie");
  Recherche->eRepertoire->SetText("c:\\export.xls");
  Photographier(Recherche, "recherche");
  ClickControl(Recherche->bbOk);
  const String& Sql = Recherche->SqlRecherche;
  EXPECT_TRUE(StartsText("select * from T_zone_humide where ", Sql)) << Sql;
  EXPECT_TRUE(EndsText(" order by zh_code", Sql)) << Sql;
  EXPECT_EQ(Sql.find("ARC"), String::npos) << Sql;
  EXPECT_EQ(Sql.find("tourbe"), String::npos) << Sql;
  EXPECT_EQ(Sql.find('\''), String::npos) << Sql;
  ASSERT_EQ(Recherche->ParametresRecherche.size(), 3u);
  EXPECT_EQ(Recherche->ParametresRecherche[0].Valeur, "100% tourbe");
  EXPECT_EQ(Recherche->ParametresRecherche[1].Valeur, kArc);
  EXPECT_EQ(Recherche->ParametresRecherche[2].Valeur, "73") << "the department's code, not its name";
  // The statement runs as a caller runs it, with the code and name in place of the columns.
  TADOQuery Requete(nullptr);
  Requete.SetConnection(dmVelbor->ADOConnection);
  Requete.SQL()->SetText(SqlListeRecherche(Sql));
  Recherche->LierParametres(Requete.Parameters());
  Requete.Open();
  ASSERT_EQ(Requete.RecordCount(), 1);
  EXPECT_EQ(Requete.FieldByName("ZH_CODE")->AsString(), kArc);
  EXPECT_EQ(Requete.FieldByName("ZH_NOM")->AsString(), "Marais d'Arc");
}

// The refusals leave the dialog open with nothing built, whatever an earlier Ok built.
TEST_F(SearchTest, RefusalsBuildNothing) {
  Recherche = CreateForm<TfrmRecherche>(Application);
  Recherche->Show();
  ASSERT_TRUE(Painted(Recherche));
  Taper(Recherche->OxLkeSite, kAsters1);
  Recherche->eRepertoire->SetText("c:\\export.xls");
  ClickControl(Recherche->bbOk);
  ASSERT_FALSE(Recherche->SqlRecherche.empty());
  struct TCas {
    const char* Site;
    const char* Fichier;
    const char* Message;
  };
  const TCas Cas[] = {
      {"", "c:\\export.xls", "Aucune sélection n'a été faite"_a},
      {kAsters1, "", "Le fichier doit être rempli"_a},
  };
  for (const TCas& C : Cas) {
    Recherche->OxLkeSite->SetText(C.Site);
    Recherche->eRepertoire->SetText(C.Fichier);
    TModalScript Script;
    ClickControl(Recherche->bbOk);
    ASSERT_EQ(Script.Asked.size(), 1u) << C.Message;
    EXPECT_EQ(Script.Asked[0].Text, C.Message);
    EXPECT_EQ(Script.Asked[0].Caption, "Attention");
    EXPECT_TRUE(Recherche->SqlRecherche.empty());
    EXPECT_TRUE(FormExiste(Recherche));
    EXPECT_TRUE(Recherche->Visible());
  }
}

// "Tous les sites" ignores the criteria; a search that finds nothing says so and leaves the list
// as it was.
TEST_F(SearchTest, AllSitesAndNoMatch) {
  {
    TModalScript Script;
    TfrmRechFicheConsult* Dialogue = OuvrirConsultation();
    EXPECT_FALSE(Dialogue->eRepertoire->Visible());
    EXPECT_FALSE(Dialogue->lblRepertoire->Visible());
    Photographier(Dialogue, "recherche-consultation");
    Taper(Dialogue->OxLkeSite, kArc);
    ClickControl(Dialogue->cbTousSites);
    ASSERT_TRUE(Dialogue->cbTousSites->Checked());
    ClickControl(Dialogue->bbOk);
    ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmRechFicheConsult); }));
    EXPECT_EQ(Liste(), (std::vector<String>{kAsters1, kAsters2, kArc, kEtang, kPng}));
  }
  // A narrower list first, which the failed search must leave.
  TfrmRechFicheConsult* Dialogue = OuvrirConsultation();
  Taper(Dialogue->OxLkeSdage, "5");
  ClickControl(Dialogue->bbOk);
  ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmRechFicheConsult); }));
  std::vector<String> Avant = Liste();
  ASSERT_EQ(Avant, (std::vector<String>{kAsters1, kEtang}));
  dmVelbor->qListeZoneHumide->Locate("zh_code", kEtang, {});
  // A region text that names no region compares with an empty code.
  Dialogue = OuvrirConsultation();
  Taper(Dialogue->OxLkeRegion, "Atlantide");
  TModalScript Script;
  ClickControl(Dialogue->bbOk);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Pas de correspondance");
  EXPECT_EQ(Script.Asked[0].Caption, "Attention");
  EXPECT_TRUE(FormExiste(frmRechFicheConsult)) << "the dialog stays for another try";
  EXPECT_EQ(Liste(), Avant);
}

// The side bar's Recherche opens the consultation modally; its Ok shows the list page of the
// record window with the wetlands found.
TEST_F(SearchTest, TheRecordWindowOpensTheConsultation) {
  // From a record page, which the search leaves for the list.
  ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", kAsters2, {}));
  Fiche->OxDBGrid1DblClick(nullptr);
  ASSERT_TRUE(WaitFor("a record page", [&] { return Fiche->OxPageControl->ActivePage() != Fiche->tsListe; }));
  bool Modal = false;
  std::function<void()> Travail;
  Travail = [&] {
    if (!FormExiste(frmRechFicheConsult) || !frmRechFicheConsult->Visible()) {
      Later(Travail, 20);
      return;
    }
    Modal = frmRechFicheConsult->FormState().Contains(fsModal);
    Taper(frmRechFicheConsult->OxLkeCorine, "22.1");
    ClickControl(frmRechFicheConsult->bbOk);
  };
  Later(Travail);
  Fiche->OxLookOut->SetActivePage(Fiche->lopGenerale);
  PumpPending();
  ClickControl(Fiche->OxExpressButton10);
  EXPECT_TRUE(Modal);
  ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmRechFicheConsult); }));
  EXPECT_EQ(Liste(), std::vector<String>{kAsters1});
  EXPECT_EQ(Fiche->OxPageControl->ActivePage(), Fiche->tsListe);
  EXPECT_EQ(Fiche->OxLookOut->GetActivePage(), Fiche->lopGenerale);
  // A title click sorts the same selection: its value is still bound.
  TqvDBGrid* Grid = Fiche->OxDBGrid1;
  ASSERT_TRUE(Painted(Fiche));
  TRect Title = Grid->CellRect(1, 0);
  ClickAt(OnScreen(Grid, (Title.Left + Title.Right) / 2, (Title.Top + Title.Bottom) / 2));
  ASSERT_TRUE(WaitFor("the list reordered",
                      [] { return Pos("DESC", UpperCase(dmVelbor->qListeZoneHumide->SQL()->Text())) > 0; }));
  EXPECT_EQ(Liste(), std::vector<String>{kAsters1});
}

// The ellipsis of the commune grid's region column opens the commune picker modally, and only in
// edit mode.
TEST_F(SearchTest, TheCommuneGridsEllipsisOpensThePickerInEditModeOnly) {
  ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", kAsters2, {}));
  Fiche->OxDBGrid1DblClick(nullptr);
  ASSERT_TRUE(WaitFor("a record page", [&] { return Fiche->OxPageControl->ActivePage() != Fiche->tsListe; }));
  Fiche->qvDBCboDlgCommuneCustomDlg(Fiche->qvDBCboDlgCommune);
  EXPECT_FALSE(FormExiste(frmRechercheCommune)) << "browse mode";

  Fiche->OxExBtnModifClick(nullptr);
  ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
  bool Modal = false;
  std::function<void()> Travail;
  Travail = [&] {
    if (!FormExiste(frmRechercheCommune) || !frmRechercheCommune->Visible()) {
      Later(Travail, 20);
      return;
    }
    Modal = frmRechercheCommune->FormState().Contains(fsModal);
    ClickControl(frmRechercheCommune->bbtnFermer);
  };
  Later(Travail);
  Fiche->qvDBCboDlgCommuneCustomDlg(Fiche->qvDBCboDlgCommune);
  EXPECT_TRUE(Modal);
  EXPECT_TRUE(WaitFor("the picker closed", [] { return !FormExiste(frmRechercheCommune) || !frmRechercheCommune->Visible(); }));
}

// --- The commune picker ----------------------------------------------------------------------------

class CommunePickerTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    // The record in edit mode, as the picker is used.
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", kAsters2, {}));
    Fiche->OxExBtnModifClick(nullptr);
    ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
    ASSERT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), kAsters2);
    frmRechercheCommune = CreateForm<TfrmRechercheCommune>(Application);
    frmRechercheCommune->Show();
    ASSERT_TRUE(Painted(frmRechercheCommune));
    Picker = frmRechercheCommune;
  }
  static std::vector<String> Colonne(TDataSet* DataSet, const char* Field) {
    std::vector<String> Values;
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) Values.push_back(DataSet->FieldByName(Field)->AsString());
    return Values;
  }
  TfrmRechercheCommune* Picker = nullptr;
};

// Region, then department, then commune picked in its drop-down: each level narrows the next one's
// list, and the commune's code goes into a new commune row of the record, which the validation
// writes.
TEST_F(CommunePickerTest, ItNarrowsFromRegionToCommuneAndWritesTheCode) {
  EXPECT_EQ(Picker->Caption(), "Recherche commune");
  EXPECT_EQ(Picker->OxLkeCommune->LookupSource(), Fiche->dsqCommune);
  Taper(Picker->OxLkeRegion, "Auvergne-Rhône-Alpes"_a);
  ASSERT_TRUE(GiveFocus(Picker->OxLkeDep));
  EXPECT_EQ(Colonne(Fiche->qDep, "DEP_LIB"), (std::vector<String>{"Haute-Savoie", "Savoie"}));
  Taper(Picker->OxLkeDep, "Savoie");
  ASSERT_TRUE(GiveFocus(Picker->OxLkeCommune));
  EXPECT_EQ(Colonne(Fiche->qCommune, "COM_LIB"), (std::vector<String>{"Aix-les-Bains", "Chambéry"_a}));
  // The drop-down by its button, the first row picked with the mouse.
  ClickAt(OnScreen(Picker->OxLkeCommune, Picker->OxLkeCommune->ClientWidth() - 6,
                   Picker->OxLkeCommune->ClientHeight() / 2));
  ASSERT_TRUE(WaitFor("the drop-down", [&] { return Picker->OxLkeCommune->PopupVisible(); }));
  Photographier(Picker, "recherche-commune");
  TOxPopupDataWindow* Popup = Picker->OxLkeCommune->PopupWindow();
  ClickAt(Popup->ClientToScreen(TPoint(40, Popup->ItemHeight() / 2)));
  ASSERT_TRUE(WaitFor("the commune picked", [&] { return Picker->OxLkeCommune->Text() == "Aix-les-Bains"; }));
  int Avant = dmVelbor->qCommune->RecordCount();
  ClickControl(Picker->bbtnOk);
  ASSERT_TRUE(WaitFor("the picker closed", [] { return !FormExiste(frmRechercheCommune); }));
  TDataSet* Communes = dmVelbor->qCommune;
  EXPECT_EQ(Communes->FieldByName("COM_CODE")->AsString(), "73008");
  if (Communes->State() == dsInsert) Communes->Post();
  EXPECT_EQ(Communes->RecordCount(), Avant + 1);
  // The restriction stays for the next use of the picker.
  EXPECT_EQ(Colonne(Fiche->qCommune, "COM_CODE"), (std::vector<String>{"73008", "73065"}));
  Fiche->OxExpressButton7Click(Fiche->bbtnValidation);
  ASSERT_TRUE(WaitFor("the list", [&] { return Fiche->OxPageControl->ActivePage() == Fiche->tsListe; }));
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_COMMUNE_ZH where ZH_CODE = '073ASTERS0002' and "
                                "COM_CODE = '73008'"),
            1);
}

// Without a commune Ok does nothing; with a commune row being typed, it replaces that row's code.
TEST_F(CommunePickerTest, OkReplacesTheRowBeingTypedAndNeedsACommune) {
  TDataSet* Communes = dmVelbor->qCommune;
  int Avant = Communes->RecordCount();
  Taper(Picker->OxLkeCommune, "Commune inconnue");
  ClickControl(Picker->bbtnOk);
  EXPECT_TRUE(FormExiste(Picker)) << "no commune: the picker stays";
  EXPECT_EQ(Communes->State(), dsBrowse);
  Communes->Append();
  Taper(Picker->OxLkeCommune, "Annecy");
  ClickControl(Picker->bbtnOk);
  ASSERT_TRUE(WaitFor("the picker closed", [] { return !FormExiste(frmRechercheCommune); }));
  EXPECT_EQ(Communes->FieldByName("COM_CODE")->AsString(), "74010");
  // The module's check of a typed code has put the row into the cache.
  if (Communes->State() == dsInsert) Communes->Post();
  EXPECT_EQ(Communes->RecordCount(), Avant + 1) << "one row, not two";
}

}  // namespace
