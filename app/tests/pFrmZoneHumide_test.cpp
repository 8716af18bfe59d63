// Tests of the record window on real windows over a test database whose names hold apostrophes
// and accents: the list and its sorting, opening a record, the side bar and the page keys, edit
// mode with its validation in one transaction and its cancellation, the add and delete buttons
// and the keys of the pages; a screenshot of every sheet for a person to look at.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "AppTestSupport.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "ScrollBox.h"
#include "ScreenshotFiles.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "RecordWindowFixture.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"
#include "qvDBNavigator.h"
#include "qvidlg.h"

namespace {

const char* const kCode1 = "073ASTERS0001";
const char* const kCode2 = "073ASTERS0002";

class RecordWindowTest : public AppTest::RecordWindowFixture {
 protected:
  // A name that begins with an accented letter, and one with an apostrophe, in the list.
  void Arrange() override {
    Execute("INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_FILIATION) "
            "VALUES ('074ETANG 0001', 'Étang de l''Ours', 'A', '1', '0')"_a);
  }
  static String Texte(const String& Sql) {
    auto Session = AppTest::OpenModuleDatabase();
    SqliteStatement Statement = Session->Prepare(Sql);
    return Statement.Step() ? Statement.ColumnText(0) : String();
  }

  TTabSheet* Active() const { return Fiche->OxPageControl->ActivePage(); }
  String ActiveName() const { return Active() != nullptr ? Active()->Name() : String(); }
  int GroupeActif() const {
    for (int i = 0; i < Fiche->OxLookOut->GetPageCount(); ++i)
      if (Fiche->OxLookOut->GetPage(i) == Fiche->OxLookOut->GetActivePage()) return i;
    return -1;
  }
  TComponent* Composant(const String& Name) const { return Fiche->FindComponent(Name); }

  // Double-clicks the list's row showing Code (the list is on screen).
  void OuvrirParLaListe(const String& Code) {
    ASSERT_EQ(ActiveName(), "tsListe");
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", Code, {})) << Code;
    ASSERT_TRUE(Painted(Fiche));
    TqvDBGrid* Grid = Fiche->OxDBGrid1;
    int Row = -1;
    for (int r = 1; r < Grid->RowCount(); ++r) {
      TRect Cell = Grid->CellRect(1, r);
      if (Cell.Bottom <= Cell.Top) continue;
      TGridCoord Coord = Grid->MouseCoord(Cell.Left + 2, Cell.Top + 2);
      if (Coord.Y == r && Grid->Row() == r) Row = r;
    }
    ASSERT_GT(Row, 0) << "the current row is on screen";
    TRect Cell = Grid->CellRect(1, Row);
    TPoint At = OnScreen(Grid, Cell.Left + 4, (Cell.Top + Cell.Bottom) / 2);
    (void)At;
    ASSERT_TRUE(GiveFocus(Grid));
    // The grid's double click, as its second click runs it.
    Grid->OnDblClick(Grid);
    ASSERT_TRUE(WaitFor("the first page of the record", [&] { return ActiveName() == "ts1_1"; }));
    PumpPending();
  }
  // F12 on the list: the current record in edit mode.
  void Modifier(const String& Code) {
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", Code, {})) << Code;
    Press(VK_F12);
    ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
    ASSERT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
    ASSERT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), Code);
  }
  // Clicks the navigator button of a detail grid ("+" or "-").
  void Bouton(const String& Name) {
    auto* Button = dynamic_cast<TControl*>(Composant(Name));
    ASSERT_NE(Button, nullptr) << Name;
    if (Button->Visible() && Button->Parent() != nullptr && Button->Parent()->Showing()) {
      ClickControl(Button);
      PumpPending();
    } else if (Button->OnClick) {
      Button->OnClick(Button);
    }
  }

};

// --- Structure and navigation -------------------------------------------------------------------

TEST_F(RecordWindowTest, TheDescriptionGivesTheLayoutAndTheSheetsInOrder) {
  const char* const Attendues[] = {"tsListe", "ts1_1", "ts1_2", "ts1_3", "ts2_1", "ts2_2", "ts2_3", "ts2_3bis",
                                   "ts2_4", "ts2_5", "ts2_5bis", "ts2_6", "ts2_6bis", "ts2_7", "ts2_8", "ts2_9",
                                   "ts3_1", "ts3_2", "ts3_3", "ts3_4", "ts4_1", "ts5_1", "ts6_1", "ts7_1",
                                   "ts7_2", "ts7_3"};
  ASSERT_EQ(Fiche->OxPageControl->PageCount(), int(std::size(Attendues)));
  for (int i = 0; i < Fiche->OxPageControl->PageCount(); ++i) {
    TTabSheet* Page = Fiche->OxPageControl->Pages(i);
    EXPECT_EQ(Page->Name(), Attendues[i]);
    EXPECT_EQ(Page->Caption(), Page->Name());
    // Every record page holds its scroll box first.
    if (i > 0) {
      ASSERT_GT(Page->ControlCount(), 0) << Page->Name();
      EXPECT_NE(dynamic_cast<TScrollBox*>(Page->Controls(0)), nullptr) << Page->Name();
    }
  }
  EXPECT_TRUE(Fiche->OxPageControl->HideAllTabs());
  EXPECT_EQ(Fiche->Panel1->Width(), 153);
  EXPECT_EQ(Fiche->bbtnValidation->Width(), 99);
  EXPECT_EQ(Fiche->bbtnValidation->Height(), 32);
  EXPECT_EQ(Fiche->bbtnAnnulation->Width(), 99);
  EXPECT_FALSE(Fiche->bbtnValidation->Visible());
  EXPECT_EQ(Fiche->OxLookOut->GetPageCount(), 8);
  // A control grid's controls are on its panel, painted on every panel.
  EXPECT_EQ(Fiche->qvDBCboType->Parent(), Fiche->DBCtrGdInventaire->Panel());
  EXPECT_EQ(ActiveName(), "tsListe");
  EXPECT_EQ(GroupeActif(), 0);
  // The hydraulic diagnosis list holds its four labels, quotes and all.
  ASSERT_EQ(Fiche->qmtDiagHydro->RecordCount(), 4);
  ASSERT_TRUE(Fiche->qmtDiagHydro->Locate("num", "3", {}));
  EXPECT_EQ(Fiche->qmtDiagHydro->FieldByName("lib")->AsString(),
            R"(Fonctionnement observé "dégradé, perturbant les équilibres naturels")"_a);
}

// Clicks on the list's titles, in turn, from the order by code: the direction follows the order
// in force whatever its column, and the title's arrow says it.
TEST_F(RecordWindowTest, TheListIsSortedByEachTitle) {
  struct TCas {
    int Colonne;             // 1 "Code", 2 "Nom"
    const char* Premier;     // the first row's code after the click
    const char* Ordre;       // the end of the statement
    int ImageCode, ImageNom; // the title images
  };
  const TCas Cas[] = {
      {1, "971PNG   0001", "ORDER BY ZH_CODE DESC", 11, -1},
      {1, kCode1, "ORDER BY ZH_CODE", 12, -1},
      {2, kCode2, "ORDER BY ZH_NOM DESC", -1, 11},     // Tourbière, Marais de l'Étang, Mangrove, Étang
      {2, "074ETANG 0001", "ORDER BY ZH_NOM", -1, 12}, // Étang de l'Ours first: accents do not count
  };
  TqvDBGrid* Grid = Fiche->OxDBGrid1;
  ASSERT_TRUE(Painted(Fiche));
  for (const TCas& C : Cas) {
    TRect Title = Grid->CellRect(C.Colonne, 0);
    ClickAt(OnScreen(Grid, (Title.Left + Title.Right) / 2, (Title.Top + Title.Bottom) / 2));
    ASSERT_TRUE(WaitFor("the list reordered", [&] {
      return EndsText(C.Ordre, Trim(dmVelbor->qListeZoneHumide->SQL()->Text()));
    })) << C.Ordre << " / " << dmVelbor->qListeZoneHumide->SQL()->Text();
    EXPECT_TRUE(StartsText("select zh_code,zh_nom from T_Zone_Humide", dmVelbor->qListeZoneHumide->SQL()->Text()));
    dmVelbor->qListeZoneHumide->First();
    EXPECT_EQ(dmVelbor->qListeZoneHumide->FieldByName("zh_code")->AsString(), C.Premier) << C.Ordre;
    TqvTitleImageAttributes Code, Nom;
    Fiche->OxDBGrid1CalcTitleImage(Grid, dmVelbor->qListeZoneHumide->FieldByName("zh_code"), Code);
    Fiche->OxDBGrid1CalcTitleImage(Grid, dmVelbor->qListeZoneHumide->FieldByName("zh_nom"), Nom);
    EXPECT_EQ(Code.ImageIndex, C.ImageCode) << C.Ordre;
    EXPECT_EQ(Nom.ImageIndex, C.ImageNom) << C.Ordre;
    ASSERT_TRUE(Painted(Fiche));
  }
  EXPECT_EQ(dmVelbor->qListeZoneHumide->RecordCount(), 4);
}

TEST_F(RecordWindowTest, ADoubleClickOnTheListOpensTheRecordWithItsDetails) {
  OuvrirParLaListe(kCode1);
  EXPECT_EQ(GroupeActif(), 1);
  EXPECT_EQ(Fiche->Caption(), "Zone humide - 073ASTERS0001 Marais de l'Étang Noir"_a);
  EXPECT_EQ(Fiche->dbeNomUsuel->Text(), "Marais de l'Étang Noir"_a);
  ASSERT_TRUE(dmVelbor->qAlias->Active());
  EXPECT_EQ(dmVelbor->qAlias->RecordCount(), 1);
  EXPECT_EQ(dmVelbor->qAlias->FieldByName("ALIAS_LIB")->AsString(), "Marais de Chautagne");
  EXPECT_EQ(dmVelbor->qCommune->RecordCount(), 2);
  EXPECT_FALSE(Fiche->bbtnValidation->Visible()) << "browse mode";
  // Back to the list, then another record: the details follow it.
  Fiche->lopGeneraleClick(nullptr);
  ASSERT_EQ(ActiveName(), "tsListe");
  OuvrirParLaListe(kCode2);
  EXPECT_EQ(Fiche->dbeNomUsuel->Text(), "Tourbière du Col"_a);
  ASSERT_EQ(dmVelbor->qAlias->RecordCount(), 2);
  dmVelbor->qAlias->First();
  EXPECT_EQ(dmVelbor->qAlias->FieldByName("ALIAS_LIB")->AsString(), "Tourbière haute"_a);
  EXPECT_EQ(dmVelbor->qHistorique->RecordCount(), 1);
}

// Every side-bar button shows its own sheet, and marks itself down.
TEST_F(RecordWindowTest, EverySideBarButtonShowsItsSheet) {
  OuvrirParLaListe(kCode1);
  for (int i = 1; i < Fiche->OxPageControl->PageCount(); ++i) {
    String Sheet = Fiche->OxPageControl->Pages(i)->Name();
    auto* Button = dynamic_cast<TOxCustomLookOutButton*>(Composant("oxeBtn" + Copy(Sheet, 3, 255)));
    ASSERT_NE(Button, nullptr) << Sheet;
    auto* Groupe = dynamic_cast<TOxLookOutPage*>(Button->Parent());
    ASSERT_NE(Groupe, nullptr);
    Fiche->OxLookOut->SetActivePage(Groupe);
    PumpPending();
    // A button the group has no room for is run as its click would run it.
    if (Button->Showing() && Button->Top() + Button->Height() <= Groupe->ClientHeight()) ClickControl(Button);
    else Button->OnClick(Button);
    ASSERT_TRUE(WaitFor("the sheet", [&] { return ActiveName() == Sheet; })) << Sheet;
    if (Sheet != "ts2_5bis" && Sheet != "ts2_6bis") {
      EXPECT_TRUE(Button->Down()) << Sheet;
    }
  }
  Fiche->OxLookOut->SetActivePage(Fiche->lopGenerale);
  PumpPending();
  ClickControl(Fiche->oxebtnListe);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(ActiveName(), "tsListe");
}

// F6 walks the sheets forward from the list to the last, F5 back; each sheet's group becomes the
// active one; neither key goes beyond the ends. A screenshot of each sheet is kept.
TEST_F(RecordWindowTest, F5AndF6WalkTheSheetsInOrder) {
  dmVelbor->qListeZoneHumide->Locate("zh_code", kCode1, {});
  int Count = Fiche->OxPageControl->PageCount();
  for (int i = 1; i < Count; ++i) {
    Press(VK_F6);
    ASSERT_TRUE(WaitFor("the next sheet", [&] { return Fiche->OxPageControl->ActivePageIndex() == i; })) << i;
    String Caption = Active()->Caption();
    EXPECT_EQ(GroupeActif(), Caption[2] - '0') << Caption;
    ASSERT_TRUE(Painted(Fiche));
    RECT Window;
    GetWindowRect(Fiche->Handle(), &Window);
    HDC Screen = GetDC(nullptr);
    SaveScreenshotOf(Screen, Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top,
                     "fiche-" + Caption);
    ReleaseDC(nullptr, Screen);
  }
  EXPECT_EQ(ActiveName(), "ts7_3");
  Press(VK_F6);
  PumpPending();
  EXPECT_EQ(ActiveName(), "ts7_3") << "F6 on the last sheet";
  for (int i = Count - 2; i >= 0; --i) {
    Press(VK_F5);
    ASSERT_TRUE(WaitFor("the previous sheet", [&] { return Fiche->OxPageControl->ActivePageIndex() == i; })) << i;
  }
  EXPECT_EQ(GroupeActif(), 0);
  Press(VK_F5);
  PumpPending();
  EXPECT_EQ(ActiveName(), "tsListe") << "F5 on the list";
}

// --- Edit mode, validation, cancellation --------------------------------------------------------

TEST_F(RecordWindowTest, ValidationWritesTheRecordItsDetailsAndTheHistoryRow) {
  String Aujourdhui = FloatToStr(double(int(Date())));
  ASSERT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and "
                                "ACTION_CODE = 'M' and HISTO_DATE >= " + Aujourdhui), 0);
  Modifier(kCode1);
  EXPECT_EQ(ActiveName(), "ts1_1");
  EXPECT_EQ(Fiche->OxLookOutActivePageColor(), clSkyBlue);
  // The name typed in its memo.
  ASSERT_TRUE(GiveFocus(Fiche->dbeNomUsuel));
  Fiche->dbeNomUsuel->SelectAll();
  TypeText("Marais d'en Bas");
  ASSERT_TRUE(WaitFor("the name typed", [&] { return Fiche->dbeNomUsuel->Text() == "Marais d'en Bas"; }));
  // An alias added with the grid's "+" and typed.
  Bouton("qvNavBtnAliasPlus");
  ASSERT_EQ(dmVelbor->qAlias->State(), dsInsert);
  dmVelbor->qAlias->FieldByName("ALIAS_LIB")->SetAsString("Prés de l'Étang"_a);
  dmVelbor->qAlias->Post();
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_FALSE(Fiche->bbtnValidation->Visible());
  EXPECT_EQ(Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'"), "Marais d'en Bas");
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0001' and "
                                "ALIAS_LIB = 'Prés de l''Étang'"_a), 1);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and "
                                "ACTION_CODE = 'M' and HISTO_DATE >= " + Aujourdhui), 1);
  EXPECT_EQ(Texte("select HISTO_AUTEUR from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and HISTO_DATE >= " +
                  Aujourdhui), "Dupont");
  // The list shows the new name on the same code.
  EXPECT_EQ(dmVelbor->qListeZoneHumide->FieldByName("zh_code")->AsString(), kCode1);
  EXPECT_EQ(dmVelbor->qListeZoneHumide->FieldByName("zh_nom")->AsString(), "Marais d'en Bas");
  // A second validation on the same day writes no second "M" row.
  Modifier(kCode1);
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and "
                                "ACTION_CODE = 'M' and HISTO_DATE >= " + Aujourdhui), 1);
}

// A detail refused by the database (a commune written meanwhile by another program): nothing of
// the record is written, the operator is told which dataset failed and why, and stays in edit
// mode with every edit on screen, the details written before the refusal included.
TEST_F(RecordWindowTest, ARefusedValidationLeavesTheFileAsItWasAndTheEditsOnScreen) {
  auto Empreinte = [] {
    return AppTest::ReadNumber("select count(*) from T_ALIAS") * 1000 +
           AppTest::ReadNumber("select count(*) from T_HISTORIQUE") * 100 +
           AppTest::ReadNumber("select count(*) from T_COMMUNE_ZH");
  };
  String NomAvant = Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'");
  double Avant = Empreinte();
  Modifier(kCode1);
  dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Nom à garder"_a);
  // The alias is written before the commune: its batch goes first and must be undone.
  Bouton("qvNavBtnAliasPlus");
  dmVelbor->qAlias->FieldByName("ALIAS_LIB")->SetAsString("Alias à garder"_a);
  dmVelbor->qAlias->Post();
  dmVelbor->qCommune->Append();
  dmVelbor->qCommune->FieldByName("COM_CODE")->SetAsString("97101");
  // The module's check has put the typed row into the cache already.
  if (dmVelbor->qCommune->State() == dsInsert) dmVelbor->qCommune->Post();
  Execute("INSERT INTO T_COMMUNE_ZH VALUES ('073ASTERS0001', '97101')");
  double Ecrit = Empreinte();
  TModalScript Script;
  Script.Push(IDOK);
  Fiche->OxExpressButton7Click(Fiche->bbtnValidation);
  PumpPending();
  // Nothing of the validation reached the file.
  EXPECT_EQ(Empreinte(), Ecrit);
  EXPECT_EQ(Ecrit, Avant + 1);
  EXPECT_EQ(Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'"), NomAvant);
  // The operator was told.
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_NE(Script.Asked[0].Text.find("qCommune"), String::npos) << Script.Asked[0].Text;
  EXPECT_NE(Script.Asked[0].Text.find("COM_CODE"), String::npos) << Script.Asked[0].Text;
  // Still editing, with the edits.
  EXPECT_TRUE(Fiche->bbtnValidation->Visible());
  EXPECT_EQ(ActiveName(), "ts1_1");
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString(), "Nom à garder"_a);
  EXPECT_TRUE(dmVelbor->qAlias->Locate("ALIAS_LIB", "Alias à garder"_a, {}));
  EXPECT_TRUE(dmVelbor->qAlias->HasPendingChanges());
  EXPECT_TRUE(dmVelbor->qCommune->Locate("COM_CODE", "97101", {}));
  // The conflicting row gone from the file, the same edits are written by the next validation,
  // with one history row.
  Execute("DELETE FROM T_COMMUNE_ZH WHERE ZH_CODE = '073ASTERS0001' AND COM_CODE = '97101'");
  Fiche->OxExpressButton7Click(Fiche->bbtnValidation);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'"), "Nom à garder"_a);
  EXPECT_EQ(Empreinte(), Avant + 1000 + 100 + 1);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ALIAS where ALIAS_LIB = 'Alias à garder'"_a), 1);
}

TEST_F(RecordWindowTest, CancellationRestoresTheRecordAndDropsTheDetailCaches) {
  String NomAvant = Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'");
  Modifier(kCode1);
  dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Nom abandonné"_a);
  Bouton("qvNavBtnAliasPlus");
  dmVelbor->qAlias->FieldByName("ALIAS_LIB")->SetAsString("Alias abandonné"_a);
  dmVelbor->qAlias->Post();
  {
    // No keeps everything.
    TModalScript Script;
    Script.Push(IDNO);
    Press(VK_F9);
    EXPECT_EQ(Script.Asked.size(), 1u);
    EXPECT_TRUE(Fiche->bbtnValidation->Visible());
    EXPECT_TRUE(dmVelbor->qAlias->HasPendingChanges());
  }
  TModalScript Script;
  Script.Push(IDYES);
  Press(VK_F9);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, MsgPerteSaisie);
  EXPECT_FALSE(dmVelbor->qAlias->HasPendingChanges());
  EXPECT_EQ(Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'"), NomAvant);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ALIAS where ALIAS_LIB = 'Alias abandonné'"_a), 0);
  OuvrirParLaListe(kCode1);
  EXPECT_EQ(Fiche->dbeNomUsuel->Text(), NomAvant);
  EXPECT_EQ(dmVelbor->qAlias->RecordCount(), 1);
}

// --- Lookup combos -------------------------------------------------------------------------------

// A commune added with "+" on a record without any: the code's list opens on the new row; the
// name typed in part in the name's combo is completed from the dictionary, and the validation
// writes the code of the commune chosen.
TEST_F(RecordWindowTest, ACommuneTypedInItsComboIsCompletedAndItsCodeWritten) {
  const char* const Sans = "971PNG   0001";
  Modifier(Sans);
  ASSERT_EQ(ActiveName(), "ts1_1");
  ASSERT_EQ(dmVelbor->qCommune->RecordCount(), 0);
  auto* Code = dynamic_cast<TqvDBLookupCombo*>(Composant("qvDBLkcboCommune"));
  auto* Nom = dynamic_cast<TqvDBLookupCombo*>(Composant("qvDBLkcboCommuneLib"));
  auto* Grid = dynamic_cast<TqvDBGrid*>(Composant("qvDBGrdCommune"));
  ASSERT_NE(Code, nullptr);
  ASSERT_NE(Nom, nullptr);
  ASSERT_NE(Grid, nullptr);
  Bouton("qvNavBtnCommunePlus");
  ASSERT_EQ(dmVelbor->qCommune->State(), dsInsert);
  ASSERT_TRUE(WaitFor("the code's list open on the new row", [&] { return Code->ListVisible(); }));
  EXPECT_EQ(Code->Parent(), Grid) << "the combo edits the grid's cell";
  EXPECT_EQ(Code->List()->LookupTable(), dmVelbor->D_COMMUNE);
  EXPECT_EQ(dmVelbor->ComboActif() != nullptr ? dmVelbor->ComboActif()->GetDataField() : String(), "COM_CODE");
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the list closed", [&] { return !Code->ListVisible(); }));
  ASSERT_EQ(dmVelbor->qCommune->State(), dsInsert) << "Escape closes the list only";
  // The name's column: its combo comes over the cell and takes what is typed.
  ASSERT_TRUE(GiveFocus(Grid));
  Grid->SelectColumnOfField("LIBELLE");
  ASSERT_TRUE(WaitFor("the name's combo over its cell", [&] {
    return Grid->CurrentCellControl() == Nom && Nom->Visible() && Nom->Parent() == Grid;
  }));
  TypeText("cham");
  ASSERT_TRUE(WaitFor("the name completed", [&] { return Nom->Text() == "Chambéry"_a; })) << Nom->Text();
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the code of the name chosen", [&] {
    return dmVelbor->qCommune->FieldByName("COM_CODE")->AsString() == "73065";
  })) << dmVelbor->qCommune->FieldByName("COM_CODE")->AsString();
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_COMMUNE_ZH where ZH_CODE = '971PNG   0001' and "
                                "COM_CODE = '73065'"), 1);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_COMMUNE_ZH where ZH_CODE = '971PNG   0001'"), 1);
}

// Outside edit mode the combos show what the record holds: the name of the stored code where the
// name comes first, the code elsewhere; they follow the detail's rows.
TEST_F(RecordWindowTest, InBrowseModeTheCombosShowTheStoredCodesName) {
  OuvrirParLaListe(kCode1);
  ASSERT_FALSE(Fiche->bbtnValidation->Visible());
  auto* Code = dynamic_cast<TqvDBLookupCombo*>(Composant("qvDBLkcboCommune"));
  auto* Nom = dynamic_cast<TqvDBLookupCombo*>(Composant("qvDBLkcboCommuneLib"));
  ASSERT_NE(Nom, nullptr);
  struct TCas {
    const char* Code;
    const char* Nom;
  };
  for (const TCas& C : {TCas{"73065", "Chambéry"_a}, TCas{"73008", "Aix-les-Bains"}}) {
    ASSERT_TRUE(dmVelbor->qCommune->Locate("COM_CODE", C.Code, {})) << C.Code;
    EXPECT_TRUE(WaitFor("the combos on the row", [&] { return Nom->Text() == C.Nom && Code->Text() == C.Code; }))
        << Nom->Text() << " / " << Code->Text();
  }
  // A panel of a control grid: its combo shows the code the row stores.
  auto* Bouton27 = dynamic_cast<TControl*>(Composant("oxeBtn2_7"));
  ASSERT_NE(Bouton27, nullptr);
  Fiche->PageButtonClick(Bouton27);
  ASSERT_TRUE(WaitFor("ts2_7", [&] { return ActiveName() == "ts2_7"; }));
  auto* Activite = dynamic_cast<TqvDBLookupCombo*>(Composant("qvDBLkcboActHum2"));
  ASSERT_NE(Activite, nullptr);
  EXPECT_TRUE(WaitFor("the activity's code", [&] { return Activite->Text() == "02"; })) << Activite->Text();
  EXPECT_EQ(Activite->Style(), csDropDownList);
  EXPECT_EQ(Activite->LookupTable(), dmVelbor->D_ACT_HUM);
}

// The inventory's code combo offers the codes of the row's nature: chosen when the combo is
// entered and when the nature changes; nature 7 takes a typed code. A code picked from the
// switched list is written with the label the module fills.
TEST_F(RecordWindowTest, TheInventoryCodeListFollowsTheRowsNature) {
  Modifier(kCode1);
  auto* Bouton24 = dynamic_cast<TControl*>(Composant("oxeBtn2_4"));
  ASSERT_NE(Bouton24, nullptr);
  Fiche->PageButtonClick(Bouton24);
  ASSERT_TRUE(WaitFor("ts2_4", [&] { return ActiveName() == "ts2_4"; }));
  ASSERT_TRUE(Painted(Fiche));
  TqvDBLookupCombo* Code = Fiche->lkCboCodeInventaire;
  TDataSet* Inventaire = dmVelbor->qInventaire;
  // Entered from the nature combo, on each row: the list of the row's nature.
  struct TCas {
    const char* Code;
    TADOQuery* Vue;
  };
  for (const TCas& C : {TCas{"820030287", dmVelbor->qType1}, TCas{"FR8212004", dmVelbor->qType6}}) {
    ASSERT_TRUE(Inventaire->Locate("INV_CODE", C.Code, {})) << C.Code;
    ASSERT_TRUE(Painted(Fiche));
    ASSERT_TRUE(GiveFocus(Fiche->qvDBCboType));
    Press(VK_TAB);
    ASSERT_TRUE(WaitFor("the code combo entered", [&] { return Screen->ActiveControl() == Code; })) << C.Code;
    EXPECT_EQ(Code->LookupTable(), C.Vue) << C.Code;
    EXPECT_EQ(Code->Style(), csDropDownList) << C.Code;
    EXPECT_EQ(Code->Text(), C.Code);
  }
  // The first row's nature becomes PSIC: the module switches the list, the code is emptied.
  ASSERT_TRUE(Inventaire->Locate("INV_CODE", "820030287", {}));
  Inventaire->Edit();
  Inventaire->FieldByName("INV_TYPE")->SetAsString("5");
  EXPECT_EQ(Code->LookupTable(), dmVelbor->qType5);
  EXPECT_EQ(Inventaire->FieldByName("INV_CODE")->AsString(), "");
  ASSERT_TRUE(GiveFocus(Code));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(WaitFor("the code's list", [&] { return Code->ListVisible(); }));
  EXPECT_EQ(Code->List()->LookupTable(), dmVelbor->qType5);
  Press(VK_DOWN);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the code picked", [&] { return Inventaire->FieldByName("INV_CODE")->AsString() == "FR8201772"; }))
      << Inventaire->FieldByName("INV_CODE")->AsString();
  EXPECT_EQ(Inventaire->FieldByName("INV_LIB")->AsString(), "Réseau de zones humides du lac du Bourget"_a);
  EXPECT_EQ(Code->Text(), "FR8201772");
  // Nature 7 "Autre": the ZPS "other" entry, and a code may be typed. (The module's check of the
  // code posted the row into its cache.)
  auto Ecrire = [&](const char* Field, const char* Value) {
    if (Inventaire->State() == dsBrowse) Inventaire->Edit();
    Inventaire->FieldByName(Field)->SetAsString(Value);
  };
  Ecrire("INV_TYPE", "7");
  EXPECT_EQ(Code->LookupTable(), dmVelbor->qType7);
  EXPECT_EQ(Code->Style(), csDropDown);
  Ecrire("INV_TYPE", "5");
  Ecrire("INV_CODE", "FR8201772");
  EXPECT_EQ(Code->Style(), csDropDownList);
  Fiche->OxExpressButton7Click(Fiche->bbtnValidation);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_INVENTAIRE where ZH_CODE = '073ASTERS0001' and "
                                "INV_TYPE = '5' and INV_CODE = 'FR8201772'"), 1);
}

// --- The record's coded values -------------------------------------------------------------------

// The record's own coded values: combo boxes of fixed texts storing a code, and lookups over the
// dictionaries and the window's hydraulic grades. A second altimetric system to choose; a record
// holding codes that no list knows (read from an older exchange file).
class CodedValuesTest : public RecordWindowTest {
 protected:
  void Arrange() override {
    RecordWindowTest::Arrange();
    Execute("INSERT INTO D_SYS_ALT VALUES ('2', 'IGN 1988 (Guadeloupe)', '2', 'Guadeloupe')");
    Execute("UPDATE T_ZONE_HUMIDE SET ZH_FREQUENCE = 'Z', ZH_DIAG_PAT = '9' WHERE ZH_CODE = '073ASTERS0002'");
  }
  // Shows a record page through its side-bar button.
  void Page(const String& Page) {
    auto* Button = dynamic_cast<TControl*>(Composant("oxeBtn" + Page));
    ASSERT_NE(Button, nullptr) << Page;
    Fiche->PageButtonClick(Button);
    ASSERT_TRUE(WaitFor("the page", [&] { return ActiveName() == "ts" + Page; })) << Page;
    ASSERT_TRUE(Painted(Fiche));
  }
  // What a coded control shows: the list's text of a combo box, the row's text of a lookup.
  String Montre(const String& Name) const {
    if (auto* Box = dynamic_cast<TOxDBComboBox*>(Composant(Name)))
      return Box->ItemIndex() < 0 ? String() : Box->Items()->Strings(Box->ItemIndex());
    if (auto* Lookup = dynamic_cast<TOxDBLookupCombo*>(Composant(Name))) return Lookup->Text();
    ADD_FAILURE() << "no coded control " << Name;
    return String();
  }
  TWinControl* Controle(const String& Name) const { return dynamic_cast<TWinControl*>(Composant(Name)); }
  static String Champ(const char* Code, const String& Field) {
    return Texte("select " + Field + " from T_ZONE_HUMIDE where ZH_CODE = '" + Code + "'");
  }
};

TEST_F(CodedValuesTest, InBrowseModeEachShowsTheTextOfTheStoredCodeAndTakesNoKey) {
  OuvrirParLaListe(kCode1);
  ASSERT_FALSE(Fiche->bbtnValidation->Visible());
  struct TCas {
    const char* Page;
    const char* Controle;
    const char* Texte;
  };
  const TCas Cas[] = {
      {"1_1", "OxDBCboTypeZH", "Elémentaire"_a},
      {"1_1", "OxDBCboFiliation", "Inconnu"},
      {"1_1", "OxDBCboStatut", "Active"},
      {"2_1", "OxDBLkcboSysAlt", "NGF (IGN 1969)"},
      {"2_1", "OxDBCboPrecision", "Précise"_a},
      {"2_3", "OxDBLkcboFrequence", "Jamais submergé"_a},
      {"2_3", "OxDBLkcboEtendue", "Partiellement submergé"_a},
      {"4_1", "OxDBLkcboDiagHydro",
       R"(Fonctionnement observé "sensiblement dégradé ne remettant pas en cause les équilibres naturels")"_a},
      {"4_1", "OxDBCboDiagPat", "Habitats non dégradés"_a},
  };
  for (const TCas& C : Cas) {
    Page(C.Page);
    EXPECT_EQ(Montre(C.Controle), C.Texte) << C.Controle;
    // Down would choose the next entry: outside edit mode the record does not change.
    ASSERT_TRUE(GiveFocus(Controle(C.Controle))) << C.Controle;
    Press(VK_DOWN);
    PumpPending();
    EXPECT_EQ(Montre(C.Controle), C.Texte) << C.Controle << " after Down";
    EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsBrowse) << C.Controle;
  }
  // The hydraulic grades' list opens wide, its right edge under the combo's.
  EXPECT_EQ(Fiche->OxDBLkcboDiagHydro->DropDownWidth, 500);
  EXPECT_EQ(Fiche->OxDBLkcboDiagHydro->DropDownAlign, daRight);
}

// In edit mode each coded value is chosen with the keys (arrows, a typed first letter, the list
// opened and a row taken with Return); the validation writes the codes, and the status set to
// "Gelée" writes its "G" history row.
TEST_F(CodedValuesTest, ChosenWithTheKeysInEditModeTheCodesAreWrittenByTheValidation) {
  // The grade after "2" in the order the list shows the grades (by label).
  String GradeSuivant;
  for (Fiche->qmtDiagHydro->First(); !Fiche->qmtDiagHydro->Eof(); Fiche->qmtDiagHydro->Next()) {
    if (Fiche->qmtDiagHydro->FieldByName("num")->AsString() != "2") continue;
    Fiche->qmtDiagHydro->Next();
    ASSERT_FALSE(Fiche->qmtDiagHydro->Eof()) << "grade 2 is not the last one shown";
    GradeSuivant = Fiche->qmtDiagHydro->FieldByName("num")->AsString();
    break;
  }
  ASSERT_FALSE(GradeSuivant.empty());
  Modifier(kCode1);
  struct TCas {
    const char* Page;
    const char* Controle;
    const char* Touches;  // "v" Down, "^" Up, "E" End, "L" Alt+Down, "R" Return; a letter is typed
    const char* Champ;
    String Code;
  };
  const TCas Cas[] = {
      {"1_1", "OxDBCboStatut", "v", "ZH_STATUT", "G"},
      {"1_1", "OxDBCboTypeZH", "v", "ZH_TYPE", "2"},
      {"1_1", "OxDBCboFiliation", "E", "ZH_FILIATION", "X"},
      {"2_1", "OxDBLkcboSysAlt", "iR", "ZH_SYS_ALT", "2"},
      {"2_1", "OxDBCboPrecision", "a", "ZH_PRECISION", "3"},
      {"2_3", "OxDBLkcboFrequence", "v", "ZH_FREQUENCE", "2"},
      {"2_3", "OxDBLkcboEtendue", "^", "ZH_ETENDUE", "1"},
      {"4_1", "OxDBLkcboDiagHydro", "LvR", "ZH_DIAG_HYDRO", GradeSuivant},
      {"4_1", "OxDBCboDiagPat", "v", "ZH_DIAG_PAT", "2"},
  };
  for (const TCas& C : Cas) {
    Page(C.Page);
    ASSERT_TRUE(GiveFocus(Controle(C.Controle))) << C.Controle;
    for (const char* T = C.Touches; *T != 0; ++T) {
      switch (*T) {
        case 'v': Press(VK_DOWN); break;
        case '^': Press(VK_UP); break;
        case 'E': Press(VK_END); break;
        case 'R': Press(VK_RETURN); break;
        case 'L': {
          PressCombo(VK_MENU, VK_DOWN);
          auto* Lookup = dynamic_cast<TOxDBLookupCombo*>(Controle(C.Controle));
          ASSERT_NE(Lookup, nullptr);
          ASSERT_TRUE(WaitFor("the list open", [&] { return Lookup->ListVisible(); })) << C.Controle;
          RECT Liste, Combo;
          GetWindowRect(Lookup->List()->Handle(), &Liste);
          GetWindowRect(Lookup->Handle(), &Combo);
          EXPECT_EQ(Liste.right - Liste.left, 500) << C.Controle;
          EXPECT_EQ(Liste.right, Combo.right) << "the list aligned on the combo's right edge";
          break;
        }
        default: TypeText(String(1, *T)); break;
      }
    }
    PumpPending();
  }
  // The last choice reaches the record as the focus leaves its control.
  Page("1_1");
  ASSERT_TRUE(GiveFocus(Fiche->dbeNomUsuel));
  for (const TCas& C : Cas)
    EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName(C.Champ)->AsString(), C.Code) << C.Controle;
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  for (const TCas& C : Cas) EXPECT_EQ(Champ(kCode1, C.Champ), C.Code) << C.Champ << " in the file";
  String Aujourdhui = FloatToStr(double(int(Date())));
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and "
                                "ACTION_CODE = 'G' and HISTO_DATE >= " + Aujourdhui), 1);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001' and "
                                "ACTION_CODE = 'M' and HISTO_DATE >= " + Aujourdhui), 0);
}

// A letter no entry begins with chooses nothing; a stored code that no list holds shows as nothing
// chosen and stays in the file through a validation that did not touch it.
TEST_F(CodedValuesTest, TypedTextOutsideTheListsIsRefusedAndUnknownStoredCodesAreKept) {
  Modifier(kCode2);
  Page("2_3");
  EXPECT_EQ(Montre("OxDBLkcboFrequence"), "") << "code Z is in no list";
  ASSERT_TRUE(GiveFocus(Fiche->OxDBLkcboEtendue));
  TypeText("q");
  PumpPending();
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the list closed", [&] { return !Fiche->OxDBLkcboEtendue->ListVisible(); }));
  EXPECT_TRUE(dmVelbor->qDetailZoneHumide->FieldByName("ZH_ETENDUE")->IsNull());
  Page("1_1");
  ASSERT_TRUE(GiveFocus(Fiche->OxDBCboStatut));
  TypeText("z");
  PumpPending();
  EXPECT_EQ(Montre("OxDBCboStatut"), "Active");
  Page("4_1");
  EXPECT_EQ(Montre("OxDBCboDiagPat"), "") << "code 9 is in no list";
  dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Tourbière du Col d'en Haut"_a);
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(Champ(kCode2, "ZH_NOM"), "Tourbière du Col d'en Haut"_a);
  EXPECT_EQ(Champ(kCode2, "ZH_FREQUENCE"), "Z");
  EXPECT_EQ(Champ(kCode2, "ZH_DIAG_PAT"), "9");
  EXPECT_EQ(Champ(kCode2, "ZH_STATUT"), "A");
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0002' and "
                                "ZH_ETENDUE is null"), 1);
}

// --- The reference envelope ------------------------------------------------------------------------

// The envelope's ellipsis opens the lookup window over the envelopes already named, read
// again; in edit mode the row chosen becomes the record's envelope, Cancel changes nothing, and
// outside edit mode no window opens.
class EnvelopeTest : public RecordWindowTest {
 protected:
  void Arrange() override {
    RecordWindowTest::Arrange();
    Execute("UPDATE T_ZONE_HUMIDE SET ZH_NOM_ENVELOPPE = 'Lac du Bourget' WHERE ZH_CODE = '073ASTERS0002'");
  }
  // Runs Work inside the lookup window's modal loop once it is shown; a window Work leaves open is
  // cancelled. Polls until the window comes, the wait limit passes (the test then fails on what it
  // awaited) or the flag returned is set.
  std::shared_ptr<bool> SurLaFenetre(std::function<void(TqvLookupDlg*)> Work) {
    auto Poll = std::make_shared<std::function<void()>>();
    auto Stop = std::make_shared<bool>(false);
    DWORD Start = GetTickCount();
    *Poll = [this, Poll, Stop, Work, Start] {
      TqvLookupDlg* Window = nullptr;
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* Form = dynamic_cast<TqvLookupDlg*>(Screen->Forms(i)); Form != nullptr && Form->Showing()) Window = Form;
      if (Window != nullptr && Window->FormState().Contains(fsModal)) {
        ++Fenetres;
        EXPECT_TRUE(Painted(Window));
        Work(Window);
        if (Window->Showing() && Window->ModalResult() == mrNone) Window->SetModalResult(mrCancel);
        *Poll = nullptr;
        return;
      }
      if (*Stop || GetTickCount() - Start >= DWORD(kWaitLimit)) {
        *Poll = nullptr;
        return;
      }
      Later(*Poll, 20);
    };
    Later(*Poll, 20);
    return Stop;
  }
  // A click on the envelope's ellipsis button (F4 is the window's next-record key).
  void Ellipse() { ClickControl(Fiche->qvDBComboDlg1->Button()); }
  String Enveloppe(const char* Code) {
    return Texte("select ZH_NOM_ENVELOPPE from T_ZONE_HUMIDE where ZH_CODE = '" + String(Code) + "'");
  }
  int Fenetres = 0;
};

TEST_F(EnvelopeTest, TheLookupWindowChoosesTheEnvelopeInEditModeOnly) {
  // An envelope named since the window opened is offered too.
  Execute("UPDATE T_ZONE_HUMIDE SET ZH_NOM_ENVELOPPE = 'Marais de l''Île' WHERE ZH_CODE = '971PNG   0001'"_a);
  OuvrirParLaListe(kCode1);
  ASSERT_TRUE(GiveFocus(Fiche->qvDBComboDlg1));
  // A window opened by mistake would be cancelled and counted.
  std::shared_ptr<bool> Fin = SurLaFenetre([](TqvLookupDlg*) {});
  Ellipse();
  PumpPending();
  *Fin = true;
  EXPECT_EQ(Fenetres, 0) << "no lookup window outside edit mode";
  Fiche->lopGeneraleClick(nullptr);
  ASSERT_EQ(ActiveName(), "tsListe");

  Modifier(kCode1);
  ASSERT_TRUE(GiveFocus(Fiche->qvDBComboDlg1));
  // Cancel: the window closes, the envelope stays empty.
  SurLaFenetre([](TqvLookupDlg* Window) { ClickControl(Window->CancelBtn); });
  Ellipse();
  ASSERT_TRUE(WaitFor("the window cancelled", [&] { return Fenetres == 1 && Screen->ActiveForm() != nullptr &&
                                                            dynamic_cast<TqvLookupDlg*>(Screen->ActiveForm()) == nullptr; }));
  EXPECT_EQ(Fiche->qvDBComboDlg1->Text(), "");
  EXPECT_TRUE(dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM_ENVELOPPE")->IsNull());
  // A name typed in the window's search, then Return: that envelope is the record's.
  std::vector<String> Offertes;
  SurLaFenetre([&](TqvLookupDlg* Window) {
    TDataSet* Liste = Window->DataSet;
    for (Liste->First(); !Liste->Eof(); Liste->Next()) Offertes.push_back(Liste->Fields()->Fields(0)->AsString());
    Liste->First();
    TypeText("Mar");
    Press(VK_RETURN);
  });
  Ellipse();
  ASSERT_TRUE(WaitFor("the envelope chosen", [&] { return Fiche->qvDBComboDlg1->Text() == "Marais de l'Île"_a; }))
      << Fiche->qvDBComboDlg1->Text();
  EXPECT_EQ(Fenetres, 2);
  EXPECT_EQ(Offertes, (std::vector<String>{"", "Lac du Bourget", "Marais de l'Île"_a}));
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return ActiveName() == "tsListe"; }));
  EXPECT_EQ(Enveloppe(kCode1), "Marais de l'Île"_a);
  EXPECT_EQ(Enveloppe(kCode2), "Lac du Bourget");
}

// --- Page rules and keys --------------------------------------------------------------------------

// F8 writes nothing outside edit mode; F12 starts editing from the list and from a record page.
TEST_F(RecordWindowTest, KeysActOnlyWhereTheyMean) {
  OuvrirParLaListe(kCode1);
  double Historique = AppTest::ReadNumber("select count(*) from T_HISTORIQUE");
  Press(VK_F8);
  PumpPending();
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_HISTORIQUE"), Historique) << "F8 in browse mode";
  EXPECT_EQ(ActiveName(), "ts1_1");
  // F12 on a record page edits the record shown.
  Press(VK_F6);
  ASSERT_TRUE(WaitFor("ts1_2", [&] { return ActiveName() == "ts1_2"; }));
  Press(VK_F12);
  ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), kCode1);
  EXPECT_EQ(Fiche->bbtnValidation->Parent(), Active()->Controls(0)) << "the buttons on the page's scroll box";
}

// A new column of the inlets grid, a new cell of the outlets grid, lets what is pending run at
// once: work posted before the move has run when the move returns.
TEST_F(RecordWindowTest, MovingInTheWaterGridsRunsWhatIsPending) {
  OuvrirParLaListe(kCode1);
  auto* Bouton23 = dynamic_cast<TControl*>(Composant("oxeBtn2_3"));
  ASSERT_NE(Bouton23, nullptr);
  Fiche->PageButtonClick(Bouton23);
  ASSERT_TRUE(WaitFor("ts2_3", [&] { return ActiveName() == "ts2_3"; }));
  for (const char* Nom : {"qvDBGrdEntEau", "qvDBGrdSortieEau"}) {
    auto* Grid = dynamic_cast<TqvDBGrid*>(Composant(Nom));
    ASSERT_NE(Grid, nullptr) << Nom;
    ASSERT_TRUE(GiveFocus(Grid)) << Nom;
    ASSERT_TRUE(Painted(Fiche));
    ASSERT_EQ(Grid->SelectedIndex(), 0) << Nom;
    bool Fait = false;
    Later([&] { Fait = true; });
    Grid->SetSelectedIndex(2);
    EXPECT_TRUE(Fait) << Nom;
    EXPECT_EQ(Grid->SelectedIndex(), 2) << Nom;
    PumpPending();
  }
}

// The "+" of the limited lists counts the wetland's rows, not the rows the grid has room for.
class LimitedListTest : public RecordWindowTest {
 protected:
  void Arrange() override {
    RecordWindowTest::Arrange();
    // Seven plant species on the record: more than five, and more than the grid shows.
    for (int i = 0; i < 6; ++i) {
      String Code = "9000" + IntToStr(i);
      Execute("INSERT INTO D_TAXON VALUES ('" + Code + "', 'Carex " + Code + "', 'Laîche', 'Poales', 'Cyperaceae', "
              "'Plantes', 0, 0, 0, 0)"_a);
      Execute("INSERT INTO T_ESP_VEG_ZH VALUES ('073ASTERS0001', '" + Code + "')");
    }
  }
};

TEST_F(LimitedListTest, TheLimitOfFiveCountsTheRowsOfTheDataset) {
  Modifier(kCode1);
  ASSERT_EQ(dmVelbor->qEspVeg->RecordCount(), 7);
  TModalScript Script;
  Script.Push(IDOK);
  Bouton("qvNavBtnEspVegPlus");
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "5 espèces maximum"_a);
  EXPECT_EQ(dmVelbor->qEspVeg->State(), dsBrowse);
  EXPECT_EQ(dmVelbor->qEspVeg->RecordCount(), 7);
  // A list under the limit takes a row in edit mode, none in browse mode.
  ASSERT_EQ(dmVelbor->qHabitat->RecordCount(), 1);
  Bouton("qvNavBtnHabitatPlus");
  EXPECT_EQ(dmVelbor->qHabitat->State(), dsInsert);
  dmVelbor->qHabitat->Cancel();
}

}  // namespace
