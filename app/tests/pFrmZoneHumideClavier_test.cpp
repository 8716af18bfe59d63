// Tests of the keys and focus rules of the record window's pages, on real windows over the test
// database: Tab, Shift+Tab, Up and Down sent to the focused editor of the control grids, the key
// filters of the measures, the contract date and the memos, and what entering and leaving a
// detail grid or a control grid does to the focus, the fields and the rows.
#include <gtest/gtest.h>

#include <memory>

#include "AppTestSupport.h"
#include "DBCGrids.h"
#include "FormatSettings.h"
#include "ScreenshotFiles.h"
#include "StrUtils.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "RecordWindowFixture.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"

namespace {

// A combo standing for the one whose row is being edited.
class TComboFactice : public ILookupComboActif {
 public:
  TDataSource* GetDataSource() override { return nullptr; }
  String GetDataField() override { return String(); }
  void DropDown() override {}
  void ClearEditText() override {}
  void RefreshLookupDisplay() override {}
};

// The record with a row in every detail table, two in several.
const char* const kFiche = "073ASTERS0001";

class RecordKeysTest : public AppTest::RecordWindowFixture {
 protected:
  TWinControl* Controle(const String& Name) const {
    auto* Control = dynamic_cast<TWinControl*>(Fiche->FindComponent(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
  }
  TDBCtrlGrid* Grille(const String& Name) const { return dynamic_cast<TDBCtrlGrid*>(Controle(Name)); }
  // The control of the window that holds the focus (a button, an editor), by name.
  String Focalise() const {
    HWND Focus = GetFocus();
    for (int i = 0; i < Fiche->ComponentCount(); ++i) {
      auto* Control = dynamic_cast<TWinControl*>(Fiche->Components(i));
      if (Control != nullptr && Control->HandleAllocated() && Control->Handle() == Focus) return Control->Name();
    }
    return "(" + IntToStr(int(reinterpret_cast<INT_PTR>(Focus))) + ")";
  }
  // The record opened on the list (edit mode with F12), or only shown (browse mode).
  void Ouvrir(bool Edition) {
    ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", kFiche, {}));
    if (Edition) {
      Press(VK_F12);
      ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
    } else {
      ASSERT_TRUE(GiveFocus(Fiche->OxDBGrid1));
      Fiche->OxDBGrid1->OnDblClick(Fiche->OxDBGrid1);
      ASSERT_TRUE(WaitFor("the first page", [&] { return Fiche->OxPageControl->ActivePage()->Name() == "ts1_1"; }));
    }
    PumpPending();
  }
  // The sheet shown as its side-bar button shows it.
  void Page(const String& Sheet) {
    Fiche->PageButtonClick(Fiche->FindComponent("oxeBtn" + Copy(Sheet, 3, 255)));
    ASSERT_TRUE(WaitFor("the sheet", [&] { return Fiche->OxPageControl->ActivePage()->Name() == Sheet; })) << Sheet;
    ASSERT_TRUE(Painted(Fiche));
  }
  // Puts the focus on an editor of a page. Entering a control grid moves the focus to the row's
  // code first: the second attempt, from inside the grid, lands where asked.
  void Focaliser(const String& Name) {
    TWinControl* Control = Controle(Name);
    ASSERT_NE(Control, nullptr);
    for (int Essai = 0; Essai < 2 && Focalise() != Name; ++Essai) {
      ASSERT_TRUE(Control->CanFocus()) << Name;
      Control->SetFocus();
      PumpPending();
    }
    ASSERT_EQ(Focalise(), Name);
  }

};

// --- Tab and Shift+Tab ----------------------------------------------------------------------------

// Each control-grid page is a closed cycle in edit mode: Shift+Tab from the first editor goes to
// Annulation, Tab from the last to Validation, and on the activities page Tab and Shift+Tab cross
// between the two groups. Outside edit mode the same keys go back to the other end of the panel.
struct TTabulation {
  const char* Sheet;
  const char* From;
  bool Shift;
  const char* EnEdition;     // the control focused after the key, in edit mode
  const char* EnConsultation;  // and in browse mode
};

const TTabulation kTabulations[] = {
    {"ts2_4", "qvDBCboType", true, "bbtnAnnulation", "dbeInvCouv"},
    {"ts2_4", "dbeInvCouv", false, "bbtnValidation", "qvDBCboType"},
    {"ts2_6bis", "qvDBlkcboFonctBio", true, "bbtnAnnulation", "DBMemo10"},
    {"ts2_6bis", "DBMemo10", false, "bbtnValidation", "qvDBlkcboFonctBio"},
    {"ts2_7", "qvDBLkcboActHum", true, "bbtnAnnulation", "qvDBLkcboActHum2"},
    // Crossing to the other group enters its control grid, which puts the focus on its code.
    {"ts2_7", "DBMemo19", false, "qvDBLkcboActHum2", "qvDBLkcboActHum2"},
    {"ts2_7", "qvDBLkcboActHum2", true, "qvDBLkcboActHum", "qvDBLkcboActHum"},
    {"ts2_7", "DBMemo20", false, "bbtnValidation", "qvDBLkcboActHum"},
    {"ts2_9", "qvDBLkcbodmValSE", true, "bbtnAnnulation", "DBMemo14"},
    {"ts2_9", "DBMemo14", false, "bbtnValidation", "qvDBLkcbodmValSE"},
    {"ts3_1", "qvDBLkcboStatutFoncier", true, "bbtnAnnulation", "DBMemo15"},
    {"ts3_1", "DBMemo15", false, "bbtnValidation", "qvDBLkcboStatutFoncier"},
    {"ts3_2", "qvDBLkcboMesureProt", true, "bbtnAnnulation", "DBMemo16"},
    {"ts3_2", "DBMemo16", false, "bbtnValidation", "qvDBLkcboMesureProt"},
    {"ts3_3", "qvDBLkcboMesureProtAqua", true, "bbtnAnnulation", "DBMemo17"},
    {"ts3_3", "DBMemo17", false, "bbtnValidation", "qvDBLkcboMesureProtAqua"},
    {"ts3_4", "qvDBLkcboInstContFinacier", true, "bbtnAnnulation", "DBMemo18"},
    {"ts3_4", "DBMemo18", false, "bbtnValidation", "qvDBLkcboInstContFinacier"},
    {"ts5_1", "DBMemo2", true, "bbtnAnnulation", "DBEdit2"},
    {"ts5_1", "DBEdit2", false, "bbtnValidation", "DBMemo2"},
};

class RecordTabTest : public RecordKeysTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RecordTabTest, TabAndShiftTabCloseTheCycleOfEachControlGridPage) {
  bool Edition = GetParam();
  Ouvrir(Edition);
  for (const TTabulation& T : kTabulations) {
    SCOPED_TRACE(String(T.Sheet) + " " + (T.Shift ? "Shift+Tab" : "Tab") + " from " + T.From);
    Page(T.Sheet);
    Focaliser(T.From);
    Press(VK_TAB, T.Shift);
    const char* Attendu = Edition ? T.EnEdition : T.EnConsultation;
    EXPECT_TRUE(WaitFor("the focus moved", [&] { return Focalise() == Attendu; })) << Focalise();
    EXPECT_EQ(Fiche->OxPageControl->ActivePage()->Name(), T.Sheet);
    EXPECT_EQ(Fiche->bbtnValidation->Visible(), Edition);
  }
  // A memo never takes a Tab character: the key moved the focus, the text is unchanged.
  Page("ts2_6bis");
  EXPECT_EQ(dmVelbor->qFonctBio->FieldByName("FBZ_REM")->AsString(), "Reproduction de la loutre");
  Page("ts5_1");
  EXPECT_EQ(dmVelbor->qOrientZH->FieldByName("ORZ_RECOM")->AsString(), "Maintenir la fauche");
}

INSTANTIATE_TEST_SUITE_P(EditAndBrowse, RecordTabTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& Info) {
                           return Info.param ? "InEditMode" : "InBrowseMode";
                         });

// A hook acts once per entry into its control: the second Shift+Tab, once back on the code
// without leaving it for another control of the window, is the form's own tab order.
TEST_F(RecordKeysTest, AHookActsOncePerEntryIntoItsControl) {
  Ouvrir(true);
  Page("ts3_1");
  Focaliser("qvDBLkcboStatutFoncier");
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the second row", [&] { return dmVelbor->qStatutFoncier->RecNo() == 2; }));
  EXPECT_EQ(Focalise(), "qvDBLkcboStatutFoncier");
  // The hook has acted: a second Down reaches the editor, which keeps the row.
  dmVelbor->qStatutFoncier->First();
  PumpPending();
  Press(VK_DOWN);
  EXPECT_EQ(dmVelbor->qStatutFoncier->RecNo(), 1);
  // Entering the control again switches it on again.
  Focaliser("DBMemo15");
  Focaliser("qvDBLkcboStatutFoncier");
  Press(VK_DOWN);
  EXPECT_TRUE(WaitFor("the second row", [&] { return dmVelbor->qStatutFoncier->RecNo() == 2; }));
}

// --- Up and Down ----------------------------------------------------------------------------------

// Up and Down in the code combos (through their hook) and in the other editors of a panel (their
// key handler) move the control grid one row; the focus stays on the editor.
TEST_F(RecordKeysTest, UpAndDownScrollTheControlGridFromItsEditors) {
  struct TCas {
    const char* Sheet;
    const char* Editor;
    const char* DataSet;
    const char* Ailleurs;  // another editor of the panel, to enter the first one again
  };
  const TCas Cas[] = {
      {"ts2_4", "qvDBCboType", "qInventaire", "dbeInvLib"},
      {"ts2_4", "lkCboCodeInventaire", "qInventaire", "dbeInvLib"},
      {"ts2_4", "dbeInvLib", "qInventaire", "dbeInvCouv"},
      {"ts2_4", "dbeInvCouv", "qInventaire", "dbeInvLib"},
      {"ts2_7", "qvDBLkcboActHum", "qActHum", "DBEditRang2"},
      {"ts2_7", "DBEditRang2", "qActHum", "DBMemo19"},
      {"ts2_7", "DBMemo19", "qActHum", "DBEditRang2"},
      {"ts3_1", "qvDBLkcboStatutFoncier", "qStatutFoncier", "DBEditRang5"},
      {"ts3_1", "DBEditRang5", "qStatutFoncier", "DBMemo15"},
      {"ts3_1", "DBMemo15", "qStatutFoncier", "DBEditRang5"},
  };
  Ouvrir(false);
  for (const TCas& C : Cas) {
    SCOPED_TRACE(String(C.Editor));
    auto* DataSet = dynamic_cast<TDataSet*>(dmVelbor->FindComponent(C.DataSet));
    ASSERT_NE(DataSet, nullptr);
    ASSERT_GE(DataSet->RecordCount(), 2);
    Page(C.Sheet);
    DataSet->First();
    Focaliser(C.Editor);
    Press(VK_DOWN);
    EXPECT_TRUE(WaitFor("the next row", [&] { return DataSet->RecNo() == 2; })) << DataSet->RecNo();
    EXPECT_EQ(Focalise(), C.Editor);
    // A combo's hook has acted: the editor is entered again for the way back.
    Focaliser(C.Ailleurs);
    Focaliser(C.Editor);
    Press(VK_UP);
    EXPECT_TRUE(WaitFor("the previous row", [&] { return DataSet->RecNo() == 1; })) << DataSet->RecNo();
    EXPECT_EQ(Focalise(), C.Editor);
    EXPECT_EQ(DataSet->State(), dsBrowse);
  }
}

// --- Key filters ----------------------------------------------------------------------------------

// What typing leaves in the editors that filter their keys.
TEST_F(RecordKeysTest, TheMeasuresAndTheContractDateTakeOnlyTheirCharacters) {
  struct TCas {
    const char* Sheet;
    const char* Editor;
    const char* Typed;
    const char* Shown;
  };
  const TCas Cas[] = {
      {"ts2_1", "dbeSuperficie", "12.5", "12,5"},   // a point is a decimal comma
      {"ts2_1", "dbeAltitude", "2a3.7-", "23,7"},   // digits and the comma only
      {"ts2_1", "dbeLongueur", "1.25", "1,25"},
      {"ts3_4", "DBEdit21", "0x3/20o21", "03/2021"}, // the contract's month: digits and "/"
  };
  Ouvrir(true);
  FormatSettings.DecimalSeparator = '.';
  for (const TCas& C : Cas) {
    SCOPED_TRACE(String(C.Editor));
    Page(C.Sheet);
    Focaliser(C.Editor);
    auto* Edit = dynamic_cast<TCustomEdit*>(Controle(C.Editor));
    ASSERT_NE(Edit, nullptr);
    Edit->SelectAll();
    TypeText(C.Typed);
    EXPECT_TRUE(WaitFor("the text typed", [&] { return Edit->Text() == C.Shown; })) << Edit->Text();
    EXPECT_EQ(FormatSettings.DecimalSeparator, ',');
  }
  // The measures reach the record as numbers once the focus leaves them.
  Page("ts2_1");
  Focaliser("dbeSuperficie");
  Focaliser("dbeAltitude");
  Focaliser("dbeLongueur");
  Focaliser("dbeSuperficie");
  TDataSet* Record = dmVelbor->qDetailZoneHumide;
  EXPECT_DOUBLE_EQ(Record->FieldByName("ZH_SUPERFICIE")->AsFloat(), 12.5);
  EXPECT_DOUBLE_EQ(Record->FieldByName("ZH_LONGUEUR")->AsFloat(), 1.25);
  // The module keeps the altitude to the metre.
  EXPECT_DOUBLE_EQ(Record->FieldByName("ZH_ALTITUDE")->AsFloat(), 24);
}

// Return in a panel's remark marks the editor, so that coming back to it keeps the caret where
// it was; otherwise the caret goes to the start of the text.
TEST_F(RecordKeysTest, TheCaretOfARemarkGoesToTheStartUnlessReturnWasTyped) {
  Ouvrir(true);
  Page("ts2_6bis");
  Focaliser("DBMemo10");
  auto* Memo = dynamic_cast<TCustomEdit*>(Controle("DBMemo10"));
  ASSERT_NE(Memo, nullptr);
  EXPECT_EQ(Memo->SelStart(), 0);
  EXPECT_EQ(Memo->Tag, 0);
  Press(VK_END);
  Press(VK_RETURN);
  EXPECT_EQ(Memo->Tag, 1);
  int Caret = Memo->SelStart();
  EXPECT_GT(Caret, 0);
  Focaliser("DBEditRang1");
  Focaliser("DBMemo10");
  EXPECT_EQ(Memo->Tag, 0);
  EXPECT_EQ(Memo->SelStart(), Caret);
  // Without Return, the next entry puts the caret at the start.
  Focaliser("DBEditRang1");
  Focaliser("DBMemo10");
  EXPECT_EQ(Memo->SelStart(), 0);
}

// --- Entering and leaving the grids ---------------------------------------------------------------

// A detail grid entered clears the active combo and gives its dataset's fields read-only in
// browse mode, writable in edit mode.
TEST_F(RecordKeysTest, EnteringADetailGridSetsItsFieldsByTheMode) {
  TComboFactice Combo;
  for (bool Edition : {false, true}) {
    SCOPED_TRACE(Edition ? "edit mode" : "browse mode");
    if (Edition) Ouvrir(true);
    else Ouvrir(false);
    dmVelbor->SetComboActif(&Combo);
    Page("ts1_1");
    Focaliser("qvDBGrdCommune");
    EXPECT_EQ(dmVelbor->ComboActif(), nullptr);
    for (int i = 0; i < dmVelbor->qCommune->FieldCount(); ++i)
      EXPECT_EQ(dmVelbor->qCommune->Fields()->Fields(i)->ReadOnly(), !Edition)
          << dmVelbor->qCommune->Fields()->Fields(i)->FieldName();
    if (!Edition) {
      // In browse mode typing in the grid changes nothing.
      TypeText("9");
      EXPECT_EQ(dmVelbor->qCommune->State(), dsBrowse);
      Fiche->lopGeneraleClick(nullptr);
      PumpPending();
    }
  }
}

// A control grid entered (its page shown, or a click from another grid of the page) puts the
// focus on its row's code (the nature for the inventories), clears the active combo, paints its
// current panel in the edit colour and edits only in edit mode; leaving it gives its colour back.
TEST_F(RecordKeysTest, EnteringAControlGridFocusesTheCodeOfItsRow) {
  struct TCas {
    const char* Sheet;
    const char* Grid;
    const char* Code;
  };
  const TCas Cas[] = {
      {"ts2_4", "DBCtrGdInventaire", "qvDBCboType"},
      {"ts2_6bis", "DBCtrlGrdFonctBio", "qvDBlkcboFonctBio"},
      {"ts2_7", "DBCtrlGrdActHum", "qvDBLkcboActHum"},
      {"ts3_4", "DBCtrlGrdInstContFinacier", "qvDBLkcboInstContFinacier"},
      {"ts5_1", "DBCtrlGrdOrientZH", "DBMemo2"},
  };
  TComboFactice Combo;
  Ouvrir(false);
  for (const TCas& C : Cas) {
    SCOPED_TRACE(String(C.Grid));
    TDBCtrlGrid* Grid = Grille(C.Grid);
    ASSERT_NE(Grid, nullptr);
    dmVelbor->SetComboActif(&Combo);
    Page(C.Sheet);
    EXPECT_TRUE(WaitFor("the code focused", [&] { return Focalise() == C.Code; })) << Focalise();
    EXPECT_EQ(dmVelbor->ComboActif(), nullptr);
    EXPECT_EQ(Grid->SelectedColor(), clSkyBlue);
    EXPECT_FALSE(Grid->DataSource()->AutoEdit) << "browse mode";
    EXPECT_TRUE(Grid->DataSource()->DataSet()->Fields()->Fields(1)->ReadOnly());
    ASSERT_TRUE(Painted(Fiche));
    RECT Window;
    GetWindowRect(Fiche->Handle(), &Window);
    HDC Screen = GetDC(nullptr);
    SaveScreenshotOf(Screen, Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top,
                     "entree-" + String(C.Sheet));
    ReleaseDC(nullptr, Screen);
  }
  // On the activities page a click on the remark of the other group lands on that group's code.
  Page("ts2_7");
  ASSERT_EQ(Focalise(), "qvDBLkcboActHum");
  ClickControl(Controle("DBMemo20"));
  EXPECT_TRUE(WaitFor("the code focused", [&] { return Focalise() == "qvDBLkcboActHum2"; })) << Focalise();
  EXPECT_EQ(Grille("DBCtrlGrdActHum")->SelectedColor(), Grille("DBCtrlGrdActHum")->Color());
  EXPECT_EQ(Grille("DBCtrlGrdActHum2")->SelectedColor(), clSkyBlue);
}

// Leaving the inventories after "+" without typing drops the new row; a row with a nature typed
// stays. In edit mode the label of a row is typed only for the nature "Autre" (7).
TEST_F(RecordKeysTest, LeavingTheInventoriesDropsAnUntouchedNewRow) {
  Ouvrir(true);
  Page("ts2_4");
  TDataSet* Inventaire = dmVelbor->qInventaire;
  TDBCtrlGrid* Grid = Grille("DBCtrGdInventaire");
  ASSERT_NE(Grid, nullptr);
  ASSERT_EQ(Inventaire->RecordCount(), 2);
  Focaliser("qvDBCboType");
  EXPECT_TRUE(Grid->DataSource()->AutoEdit) << "edit mode";
  EXPECT_FALSE(Inventaire->FieldByName("INV_CODE")->ReadOnly());
  // The label follows the current row's nature.
  auto* Libelle = dynamic_cast<TDBEdit*>(Controle("dbeInvLib"));
  ASSERT_NE(Libelle, nullptr);
  ASSERT_TRUE(Painted(Fiche));
  EXPECT_TRUE(Libelle->ReadOnly()) << Inventaire->FieldByName("INV_TYPE")->AsString();
  EXPECT_FALSE(Libelle->TabStop());

  ClickControl(dynamic_cast<TControl*>(Fiche->FindComponent("qvNavBtnInventairePlus")));
  ASSERT_TRUE(WaitFor("a new row", [&] { return Inventaire->State() == dsInsert; }));
  EXPECT_EQ(Focalise(), "qvDBCboType");
  // Leaving the grid for another control of the window.
  Page("ts1_1");
  Focaliser("dbeNomUsuel");
  EXPECT_EQ(Inventaire->State(), dsBrowse);
  EXPECT_EQ(Inventaire->RecordCount(), 2);
  EXPECT_EQ(Grid->SelectedColor(), Grid->Color());

  // A new row of nature "Autre": the label becomes an editor of the cycle, and the row stays when
  // the grid is left.
  Page("ts2_4");
  Focaliser("qvDBCboType");
  ClickControl(dynamic_cast<TControl*>(Fiche->FindComponent("qvNavBtnInventairePlus")));
  ASSERT_TRUE(WaitFor("a new row", [&] { return Inventaire->State() == dsInsert; }));
  // The nature list shows the natures' names: "A" chooses "Autre", stored as 7.
  TypeText("A");
  // The nature reaches the row when the editor is left for the code.
  Focaliser("lkCboCodeInventaire");
  ASSERT_TRUE(WaitFor("the nature typed", [&] { return Inventaire->FieldByName("INV_TYPE")->AsString() == "7"; }));
  EXPECT_TRUE(WaitFor("the label editable", [&] { return !Libelle->ReadOnly(); }));
  EXPECT_TRUE(Libelle->TabStop());
  Page("ts1_1");
  Focaliser("dbeNomUsuel");
  EXPECT_EQ(Inventaire->RecordCount(), 3);
  EXPECT_TRUE(Inventaire->Locate("INV_TYPE", "7", {}));
}

// A recommendation typed on a new orientation numbers the row after the others; the validation
// writes that rank.
TEST_F(RecordKeysTest, ANewOrientationTakesTheNextRank) {
  Ouvrir(true);
  Page("ts5_1");
  Focaliser("DBMemo2");
  ASSERT_EQ(dmVelbor->qOrientZH->RecordCount(), 1);
  ClickControl(dynamic_cast<TControl*>(Fiche->FindComponent("qvNavBtnOrientZHPlus")));
  ASSERT_TRUE(WaitFor("a new row", [&] { return dmVelbor->qOrientZH->State() == dsInsert; }));
  ASSERT_EQ(Focalise(), "DBMemo2");
  TypeText("Restaurer l'étang"_a);
  ASSERT_TRUE(WaitFor("the rank", [&] { return !dmVelbor->qOrientZH->FieldByName("ORZ_RANG")->IsNull(); }));
  EXPECT_EQ(dmVelbor->qOrientZH->FieldByName("ORZ_RANG")->AsInteger(), 2);
  Press(VK_F8);
  ASSERT_TRUE(WaitFor("the list", [&] { return Fiche->OxPageControl->ActivePage()->Name() == "tsListe"; }));
  EXPECT_EQ(AppTest::ReadNumber("select ORZ_RANG from T_ORIENT_ZH where ZH_CODE = '073ASTERS0001' and "
                                "ORZ_RECOM = 'Restaurer l''étang'"_a),
            2);
}

}  // namespace
