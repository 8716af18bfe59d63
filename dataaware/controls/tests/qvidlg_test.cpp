// Tests of the lookup and search dialogs on real windows over a fresh SQLite file whose names carry
// accents and apostrophes: a row chosen with the arrows and Enter, by a double click or by typing
// into the search edit, Cancel and Escape, the caller's field order, visibility and labels given
// back after OK, Cancel and an exception, the refusals, the search dialog's two tables and sort
// order, the navigator's search button, and the lookup combo whose button opens the window.
#include "ControlsTestSupport.h"
#include "SqliteQueryData.h"
#include "TestFolder.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "Exceptions.h"
#include "Field.h"
#include "Qvdbdlg.h"
#include "Table.h"
#include "qvDBDataSets.h"
#include "qvDBNavigator.h"
#include "qvidlg.h"

namespace {

// How a caller's fields stand: "name:label" in field order, hidden ones marked "-".
String FieldLayout(TDataSet* DataSet) {
  String Result;
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* F = Fields->Fields(i);
    if (!Result.empty()) Result += " ";
    Result += (F->Visible() ? "" : "-") + F->FieldName() + ":" + F->DisplayLabel();
  }
  return Result;
}

class LookupDialogTest : public TestFolder, public SqliteQueryData, public TObject {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    OpenQueryData(PathOf("dialogs.db"),
                  {"CREATE TABLE COMMUNE (COM_CODE VARCHAR(5) PRIMARY KEY, COM_LIB VARCHAR(50), DEPT VARCHAR(3))",
                   "CREATE INDEX LIBIDX ON COMMUNE (COM_LIB)",
                   "INSERT INTO COMMUNE VALUES ('01001', 'Abergement-Clémenciat', '01')"_a,
                   "INSERT INTO COMMUNE VALUES ('01002', 'L''Abergement-de-Varey', '01')",
                   "INSERT INTO COMMUNE VALUES ('01004', 'Ambérieu-en-Bugey', '01')"_a,
                   "INSERT INTO COMMUNE VALUES ('02001', 'Abbécourt', '02')"_a,
                   "INSERT INTO COMMUNE VALUES ('75056', 'Paris', '75')",
                   "INSERT INTO COMMUNE VALUES ('13055', 'Marseille', '13')",
                   "INSERT INTO COMMUNE VALUES ('69123', 'Lyon', '69')",
                   "INSERT INTO COMMUNE VALUES ('33063', 'Bordeaux', '33')",
                   "CREATE TABLE ZONE (ID INTEGER PRIMARY KEY, COM_CODE VARCHAR(5))",
                   "INSERT INTO ZONE VALUES (1, '01002')"},
                  "SELECT ID, COM_CODE FROM ZONE ORDER BY ID");
    Communes = std::make_unique<TADOQuery>(nullptr);
    Communes->SetConnection(Connection.get());
    Communes->SetLockType(ltReadOnly);
    Communes->SQL()->SetText("SELECT COM_CODE, COM_LIB, DEPT FROM COMMUNE ORDER BY COM_CODE");
    Communes->Open();
    Communes->FieldByName("DEPT")->SetDisplayLabel("Département"_a);
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 460, 320);
    Form->SetCaption("Appelant");
    Dialog = new TqvLookupDialog(Form.get());
    Dialog->SetLookupTable(Communes.get());
    Dialog->Selected()->Add("COM_LIB\t30\tCommune");
    Dialog->Selected()->Add("COM_CODE\t6\tCode");
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    Shadow.reset();
    Searched.reset();
    Communes.reset();
    CloseQueryData();
    TestFolder::TearDown();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  String PathOf(const char* Name) { return Folder + "\\" + Name; }
  void Show() {
    Form->Show();
    Activate(Form.get());
    ASSERT_TRUE(Painted(Form.get()));
  }
  // Runs Work inside the window's own loop once it is shown and painted; a window Work leaves
  // open is ended (result -1), so that a fault fails the test instead of hanging it.
  // Polled rather than awaited: the window may open only once the test's own input (a click, a
  // key) has been sent after this.
  void WhenShown(std::function<void(TqvLookupDlg*)> Work) {
    auto Poll = std::make_shared<std::function<void()>>();
    DWORD Start = GetTickCount();
    auto Reported = std::make_shared<bool>(false);
    *Poll = [Poll, Work, Start, Reported] {
      auto* Window = dynamic_cast<TqvLookupDlg*>(Screen->ActiveForm());
      bool Late = GetTickCount() - Start >= DWORD(kWaitLimit);
      if (Window != nullptr && Window->Showing() && Window->Active()) {
        if (Late) {
          Window->SetModalResult(-1);
        } else {
          EXPECT_TRUE(Painted(Window));
          Work(Window);
          EndModalIfStillOpen(Window);
        }
        *Poll = nullptr;
        return;
      }
      if (Late && GetTickCount() - Start >= DWORD(2 * kWaitLimit)) {
        *Poll = nullptr;
        return;
      }
      if (Late && !*Reported) ADD_FAILURE() << "no active lookup window";
      *Reported = Late;
      Later(*Poll, 20);
    };
    Later(*Poll, 20);
  }
  // The screen point in the middle of a data row's first data cell.
  static TPoint RowPoint(TqvLookupDlg* Window, int DataRow) {
    TqvDBGrid* Grid = Window->qvDBGrid1;
    TRect R;
    Grid->GetCellBounds(Grid->IndicatorOffset(), DataRow + Grid->TitleRowCount(), R);
    return Grid->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  }
  // The names of the lookup rows in the order the window shows them.
  std::vector<String> Names() {
    std::vector<String> Result;
    TBookmark Kept = Communes->GetBookmark();
    for (Communes->First(); !Communes->Eof(); Communes->Next()) Result.push_back(Name());
    Communes->GotoBookmark(Kept);
    return Result;
  }
  String Name() { return Communes->FieldByName("COM_LIB")->AsString(); }
  // Opens an engine table over COMMUNE.
  std::unique_ptr<TTable> OpenTable() {
    auto Table = std::make_unique<TTable>(nullptr);
    Table->SetConnection(Connection.get());
    Table->SetTableName("COMMUNE");
    Table->Open();
    return Table;
  }
  void Save(TqvLookupDlg* Window, const char* File) {
    RECT R{};
    GetWindowRect(Window->Handle(), &R);
    EXPECT_TRUE(WritePng(CaptureScreen(TRect(R.left, R.top, R.right, R.bottom)), BuildPicturePath(File)));
  }

 public:
  void CloseUpLog(TObject*, TDataSet*, TDataSet*, bool Modified) { CloseUps.push_back(Modified); }
  void DropDownLog(TObject*) { ++DropDowns; }
  void ClickedUser(TObject*, TDataSet* Shown) { UserClicks.push_back(Shown); }

 protected:
  const String Initial = "COM_CODE:COM_CODE COM_LIB:COM_LIB DEPT:Département"_a;
  TModalScript Script;
  std::unique_ptr<TADOQuery> Communes;
  std::unique_ptr<TTable> Shadow, Searched;
  TFormPtr<TForm> Form;
  TqvLookupDialog* Dialog = nullptr;
  std::vector<bool> CloseUps;
  std::vector<TDataSet*> UserClicks;
  int DropDowns = 0;
};

// --- Choosing a row ------------------------------------------------------------------------------

TEST_F(LookupDialogTest, ArrowsAndEnterChooseARowAndTheCallersFieldsComeBack) {
  Show();
  std::vector<String> Order = Names();
  ASSERT_EQ(FieldLayout(Communes.get()), Initial);
  String Inside, Caption, Focused;
  WhenShown([&](TqvLookupDlg* Window) {
    Inside = FieldLayout(Communes.get());
    Caption = Window->Caption();
    Focused = Window->ActiveControl() != nullptr ? Window->ActiveControl()->Name() : String();
    Save(Window, "qvidlg_lookup.png");
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  });
  Communes->First();
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Caption, "Lookup");
  EXPECT_EQ(Focused, "qvIncrementalSearch1") << "the arrows move the grid while the search edit keeps the focus";
  // The window showed the two columns of Selected, in its order and with its titles...
  EXPECT_EQ(Inside, "COM_LIB:Commune COM_CODE:Code -DEPT:Département"_a);
  // ... and the caller gets its own layout back, on the chosen row.
  EXPECT_EQ(FieldLayout(Communes.get()), Initial);
  EXPECT_EQ(Name(), Order[2]);
}

TEST_F(LookupDialogTest, ADoubleClickOnARowChoosesIt) {
  Show();
  std::vector<String> Order = Names();
  WhenShown([&](TqvLookupDlg* Window) {
    TPoint P = RowPoint(Window, 3);
    AwaitNoDoubleClick(P);
    MouseButton(true, P);
    MouseButton(false, P);
    MouseButton(true, P);
    MouseButton(false, P);
  });
  Communes->First();
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Name(), Order[3]);
  EXPECT_EQ(FieldLayout(Communes.get()), Initial);
}

// The search edit searches the first column from the start of the value, without regard to case or
// accents; a text nothing begins with leaves the row where it was.
TEST_F(LookupDialogTest, TextTypedInTheSearchEditLocatesRows) {
  Show();
  std::vector<String> Seen;
  WhenShown([&](TqvLookupDlg* Window) {
    TqvIncrementalSearch* Search = Window->qvIncrementalSearch1;
    auto SearchFor = [&](const String& Text) {
      Search->Clear();
      TypeText(Text);
      EXPECT_TRUE(WaitFor("the search", [&] { return Search->LastSearchedText() == Text; })) << Text;
      Seen.push_back(Name());
    };
    SearchFor("l'ab");
    SearchFor("AMB");
    SearchFor("ambé"_a);
    SearchFor("zz");
    PressKey(VK_RETURN);
  });
  Communes->First();
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Seen, (std::vector<String>{"L'Abergement-de-Varey", "Ambérieu-en-Bugey"_a, "Ambérieu-en-Bugey"_a,
                                       "Ambérieu-en-Bugey"_a}));
  EXPECT_EQ(Name(), "Ambérieu-en-Bugey"_a);
}

// Cancel and Escape answer false; the lookup table stays on the last highlighted row and keeps the
// caller's layout.
TEST_F(LookupDialogTest, CancelAndEscapeAnswerFalse) {
  Show();
  std::vector<String> Order = Names();
  for (bool ByButton : {false, true}) {
    SCOPED_TRACE(ByButton ? "Cancel button" : "Escape");
    WhenShown([&](TqvLookupDlg* Window) {
      PressKey(VK_DOWN);
      if (ByButton) ClickControl(Window->CancelBtn);
      else PressKey(VK_ESCAPE);
    });
    Communes->First();
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Name(), Order[1]);
    EXPECT_EQ(FieldLayout(Communes.get()), Initial);
  }
}

// A width that is no number fails once the window has hidden the caller's fields: the exception
// reaches the caller, with every field as it was.
TEST_F(LookupDialogTest, AnExceptionLeavesTheCallersFieldsAsTheyWere) {
  Show();
  Dialog->Selected()->Add("DEPT\tlarge\tDept");
  EXPECT_THROW(Dialog->Execute(), EConvertError);
  EXPECT_EQ(FieldLayout(Communes.get()), Initial);
  EXPECT_EQ(dynamic_cast<TqvLookupDlg*>(Screen->ActiveForm()), nullptr) << "the window is gone";
}

TEST_F(LookupDialogTest, WithoutAnOpenTableTheDialogsRefuse) {
  struct TCase {
    const char* Name;
    bool Search;
    bool Table;
    bool Open;
    String Message;
  };
  const TCase Cases[] = {
      {"lookup without table", false, false, true, "You must define a lookupTable."},
      {"lookup over a closed table", false, true, false, "Search Table is not active."},
      {"search without table", true, false, true, "You must define a searchTable."},
      {"search over a closed table", true, true, false, "Search Table is not active."},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Script.Asked.clear();
    Script.Push(mrOk);
    Communes->SetActive(Case.Open);
    TqvCustomLookupDialog* Shown = Dialog;
    TqvSearchDialog Search(nullptr);
    if (Case.Search) {
      Search.SetSearchTable(Case.Table ? Communes.get() : nullptr);
      Shown = &Search;
    } else {
      Dialog->SetLookupTable(Case.Table ? Communes.get() : nullptr);
    }
    EXPECT_FALSE(Shown->Execute());
    ASSERT_EQ(Script.Asked.size(), 1u) << AskedTexts(Script);
    EXPECT_EQ(Script.Asked[0].Text, Case.Message);
    EXPECT_EQ(Script.Asked[0].DlgType, mtWarning);
  }
}

// Without Selected the window shows every visible field; with no OK and Cancel buttons Enter still
// confirms, and the window ends below its grid.
TEST_F(LookupDialogTest, WithoutSelectedOrButtonsTheWindowShowsEveryFieldAndEnterConfirms) {
  Show();
  Dialog->Selected()->Clear();
  Dialog->Options = {};
  Communes->FieldByName("DEPT")->SetVisible(false);
  std::vector<String> Columns;
  int GridBottom = 0, ClientHeight = 0;
  WhenShown([&](TqvLookupDlg* Window) {
    TStrings* Lines = Window->qvDBGrid1->Selected();
    for (int i = 0; i < Lines->Count(); ++i) Columns.push_back(Lines->Strings(i));
    GridBottom = Window->qvDBGrid1->Top() + Window->qvDBGrid1->Height();
    ClientHeight = Window->ClientHeight();
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  });
  Communes->First();
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Columns, (std::vector<String>{"COM_CODE\t5\tCOM_CODE\tF", "COM_LIB\t50\tCOM_LIB\tF"}));
  EXPECT_GT(ClientHeight, GridBottom);
  EXPECT_LT(ClientHeight, GridBottom + 20) << "no room kept for buttons that are not shown";
  EXPECT_FALSE(Communes->FieldByName("DEPT")->Visible());
}

// The text the native header shows in a section.
String HeaderText(THeaderControl* Header, int Index) {
  char Text[100] = {};
  HDITEMA Item{};
  Item.mask = HDI_TEXT;
  Item.pszText = Text;
  Item.cchTextMax = sizeof Text;
  SendMessageA(Header->Handle(), HDM_GETITEMA, WPARAM(Index), LPARAM(&Item));
  return Text;
}

// Over an engine table the status line under the grid names the table and the current record's
// place, and follows the record; the sort-order controls and the buttons come below it.
TEST_F(LookupDialogTest, TheStatusLineNamesTheTableAndFollowsTheRecord) {
  Show();
  Shadow = OpenTable();
  Dialog->SetLookupTable(Shadow.get());
  Dialog->Options = {opShowOKCancel, opShowSearchBy, opShowStatusBar};
  std::vector<String> Texts;
  TRect Grid, Header, Label, OK;
  bool Visible = false;
  WhenShown([&](TqvLookupDlg* Window) {
    THeaderControl* Status = Window->StatusHeader;
    Visible = Status->Visible() && IsWindowVisible(Status->Handle());
    Grid = Window->qvDBGrid1->BoundsRect();
    Header = Status->BoundsRect();
    Label = Window->SortByLabel->BoundsRect();
    OK = Window->OKBtn->BoundsRect();
    Texts.push_back(HeaderText(Status, 0));
    Texts.push_back(HeaderText(Status, 1));
    Save(Window, "qvidlg_status.png");
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitFor("the next record", [&] { return HeaderText(Status, 1) == "Rec # 2 of 8"; }));
    PressKey(VK_UP);
    EXPECT_TRUE(WaitFor("the first record again", [&] { return HeaderText(Status, 1) == "Rec # 1 of 8"; }));
    PressKey(VK_ESCAPE);
  });
  Shadow->First();
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_TRUE(Visible);
  EXPECT_EQ(Texts, (std::vector<String>{"COMMUNE", "Rec # 1 of 8"}));
  EXPECT_EQ(Header.Top, Grid.Bottom - 1) << "against the grid's lower edge";
  EXPECT_EQ(Header.Left, Grid.Left);
  EXPECT_EQ(Header.Right, Grid.Right);
  EXPECT_GE(Label.Top, Header.Bottom) << "the sort order comes below";
  EXPECT_GE(OK.Top, Label.Bottom);
}

// Only an engine table has a status line, and only when asked for; alone under the grid it stands
// apart from it and ends the window.
TEST_F(LookupDialogTest, TheStatusLineNeedsTheOptionAndAnEngineTable) {
  Show();
  Shadow = OpenTable();
  struct TCase {
    const char* Name;
    TDataSet* Table;
    TqvDBLookupDlgOptions Options;
    bool Shown;
  };
  const TCase Cases[] = {
      {"an engine table, not asked", Shadow.get(), {opShowOKCancel}, false},
      {"a query, asked", Communes.get(), {opShowOKCancel, opShowStatusBar}, false},
      {"an engine table alone", Shadow.get(), {opShowStatusBar}, true},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Dialog->SetLookupTable(Case.Table);
    Dialog->Options = Case.Options;
    bool Visible = true;
    int GridBottom = 0, HeaderTop = 0, HeaderBottom = 0, ClientHeight = 0;
    WhenShown([&](TqvLookupDlg* Window) {
      Visible = Window->StatusHeader->Visible();
      GridBottom = Window->qvDBGrid1->Top() + Window->qvDBGrid1->Height();
      HeaderTop = Window->StatusHeader->Top();
      HeaderBottom = HeaderTop + Window->StatusHeader->Height();
      ClientHeight = Window->ClientHeight();
      PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Visible, Case.Shown);
    if (Case.Shown) {
      EXPECT_EQ(HeaderTop, GridBottom + 10);
      EXPECT_GT(ClientHeight, HeaderBottom);
      EXPECT_LT(ClientHeight, HeaderBottom + 20) << "the window ends below the status line";
    }
  }
}

TEST_F(LookupDialogTest, TheUserButtonsGetTheShownTableAndKeepTheWindowOpen) {
  Show();
  Dialog->UserButton1Caption = "Nouvelle";
  Dialog->OnUserButton1Click = TqvUserButtonEvent(static_cast<LookupDialogTest*>(this), &LookupDialogTest::ClickedUser);
  bool StillOpen = false, SecondShown = true;
  WhenShown([&](TqvLookupDlg* Window) {
    SecondShown = Window->UserButton2->Visible();
    Save(Window, "qvidlg_user_button.png");
    ClickControl(Window->UserButton1);
    StillOpen = Window->ModalResult() == mrNone;
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute());
  EXPECT_TRUE(StillOpen);
  EXPECT_FALSE(SecondShown);
  EXPECT_EQ(UserClicks, (std::vector<TDataSet*>{Communes.get()}));
}

// --- The search dialog --------------------------------------------------------------------------------

// Over an engine table the window offers its sort orders; the order by name puts the name first
// and searches it. With a second table over the same file table, the search table moves on OK
// only; either way its fields come back as they were.
TEST_F(LookupDialogTest, TheSearchDialogBrowsesAShadowTableAndMovesTheSearchTableOnOK) {
  Show();
  Shadow = OpenTable();
  Searched = OpenTable();
  Shadow->SetIndexName("LIBIDX");
  String Before = FieldLayout(Shadow.get());
  TqvSearchDialog Search(Form.get());
  Search.SetSearchTable(Searched.get());
  Search.SetShadowSearchTable(Shadow.get());
  for (bool Confirm : {false, true}) {
    SCOPED_TRACE(Confirm ? "OK" : "Cancel");
    ASSERT_TRUE(Searched->Locate("COM_CODE", Variant("75056"), {}));
    String Inside, SearchField, Caption;
    bool SearchBy = false;
    WhenShown([&](TqvLookupDlg* Window) {
      Inside = FieldLayout(Shadow.get());
      SearchField = Window->qvIncrementalSearch1->SearchField();
      SearchBy = Window->qvKeyCombo1->Visible() && Window->SortByLabel->Visible();
      Caption = Window->Caption();
      if (Confirm) Save(Window, "qvidlg_search.png");
      TypeText("mars");
      EXPECT_TRUE(WaitFor("the search", [&] { return Window->qvIncrementalSearch1->LastSearchedText() == "mars"; }));
      PressKey(Confirm ? VK_RETURN : VK_ESCAPE);
    });
    EXPECT_EQ(Search.Execute(), Confirm);
    EXPECT_EQ(Caption, "Search");
    EXPECT_TRUE(SearchBy);
    EXPECT_EQ(SearchField, "COM_LIB");
    EXPECT_EQ(Inside.substr(0, 7), "COM_LIB") << Inside;
    EXPECT_EQ(FieldLayout(Shadow.get()), Before);
    EXPECT_EQ(Shadow->FieldByName("COM_LIB")->AsString(), "Marseille");
    EXPECT_EQ(Searched->FieldByName("COM_CODE")->AsString(), Confirm ? "13055" : "75056");
  }
}

TEST_F(LookupDialogTest, TheSearchDialogRefusesTablesThatAreNotTwoViewsOfOneTable) {
  Searched = OpenTable();
  Shadow = std::make_unique<TTable>(nullptr);
  Shadow->SetConnection(Connection.get());
  Shadow->SetTableName("ZONE");
  Shadow->Open();
  TqvSearchDialog Search(nullptr);
  Search.SetSearchTable(Searched.get());
  struct TCase {
    TDataSet* Shadow;
    String Message;
  };
  const TCase Cases[] = {
      {Searched.get(),
       "Your SearchTable and ShadowSearchTable must reference two distinct TDataSet objects, but each must reference "
       "the same physical table."},
      {Shadow.get(),
       "Your SearchTable and ShadowSearchTable must reference two distinct TDataSet objects, and each must reference "
       "the same physical table."},
  };
  for (const TCase& Case : Cases) {
    Script.Asked.clear();
    Script.Push(mrOk);
    Search.SetShadowSearchTable(Case.Shadow);
    EXPECT_FALSE(Search.Execute());
    ASSERT_EQ(Script.Asked.size(), 1u);
    EXPECT_EQ(Script.Asked[0].Text, Case.Message);
  }
  // A freed table is forgotten.
  Shadow.reset();
  EXPECT_EQ(Search.ShadowSearchTable(), nullptr);
}

// The navigator's search button makes a search dialog over its dataset and shows the window.
TEST_F(LookupDialogTest, TheNavigatorsSearchButtonShowsTheSearchWindow) {
  Searched = OpenTable();
  TDataSource NavSource(Form.get());
  NavSource.SetDataSet(Searched.get());
  auto* Nav = new TqvDBNavigator(Form.get());
  Nav->SetParent(Form.get());
  Nav->SetBounds(8, 8, 100, 25);
  Nav->SetDataSource(&NavSource);
  TqvNavButton* Button = Nav->Buttons()->AddButton(nbsSearchDialog);
  Show();
  String ShownClass;
  Later([&] {
    TCustomForm* Shown = nullptr;
    ASSERT_TRUE(WaitFor("the search window", [&] {
      Shown = Screen->ActiveForm();
      return Shown != nullptr && Shown != Form.get() && Shown->Showing();
    }));
    ShownClass = Shown->ClassName();
    PressKey(VK_ESCAPE);
    EndModalIfStillOpen(Shown);
  });
  Button->Click();
  EXPECT_EQ(ShownClass, "TqvLookupDlg");
  auto* Made = dynamic_cast<TqvSearchDialog*>(Button->Dialog());
  ASSERT_NE(Made, nullptr);
  EXPECT_EQ(Made->Owner(), Nav);
  EXPECT_EQ(Made->SearchTable(), Searched.get());
  delete Nav;
}

// --- The lookup combo with a dialog ---------------------------------------------------------------

class LookupComboDlgTest : public LookupDialogTest {
 protected:
  void SetUp() override {
    LookupDialogTest::SetUp();
    Combo = new TqvDBLookupComboDlg(Form.get());
    Combo->SetParent(Form.get());
    Combo->SetBounds(10, 10, 200, 21);
    Combo->SetLookupTable(Communes.get());
    Combo->SetLookupField("COM_CODE");
    Combo->Selected()->Add("COM_LIB\t30\tCommune");
    Combo->Selected()->Add("COM_CODE\t6\tCode");
    Combo->SetDataSource(Source.get());
    Combo->SetDataField("COM_CODE");
    Combo->OnCloseUp = TNotifyCloseUpEvent(static_cast<LookupDialogTest*>(this), &LookupDialogTest::CloseUpLog);
    Combo->OnDropDown = TNotifyEvent(static_cast<LookupDialogTest*>(this), &LookupDialogTest::DropDownLog);
    Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 250, 100, 21);
  }
  String FileKey() {
    TADOQuery Check(nullptr);
    Check.SetConnection(Connection.get());
    Check.SQL()->SetText("SELECT COM_CODE FROM ZONE WHERE ID = 1");
    Check.Open();
    return Check.FieldByName("COM_CODE")->AsString();
  }
  TqvDBLookupComboDlg* Combo = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(LookupComboDlgTest, TheButtonOpensTheWindowOnTheValueAndWritesTheChosenKey) {
  Show();
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  String Start, Caption;
  WhenShown([&](TqvLookupDlg* Window) {
    Start = Name();
    Caption = Window->Caption();
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  });
  ClickControl(Combo->Button());
  ASSERT_TRUE(WaitFor("the window to close", [&] { return CloseUps.size() == 1; }));
  EXPECT_EQ(Caption, "Lookup");
  EXPECT_EQ(Start, "L'Abergement-de-Varey") << "the window opens on the combo's value";
  EXPECT_EQ(DropDowns, 1);
  EXPECT_EQ(CloseUps, std::vector<bool>{true});
  EXPECT_EQ(Query->FieldByName("COM_CODE")->AsString(), "01004");
  EXPECT_EQ(Combo->Text(), "Ambérieu-en-Bugey"_a);
  EXPECT_EQ(FieldLayout(Communes.get()), Initial);
  ASSERT_TRUE(GiveFocus(Other));
  if (Query->State() != dsBrowse) Query->Post();
  EXPECT_EQ(FileKey(), "01004");
}

// Over an engine table with an index on the name, the window shows the names in order and its
// search edit searches them, still opening on the combo's value; OrderByDisplay off keeps the
// table's order.
TEST_F(LookupComboDlgTest, OverAnIndexedTableTheWindowIsInTheFirstColumnsOrder) {
  TqvTable Engine(nullptr);
  Engine.SetConnection(Connection.get());
  Engine.SetTableName("COMMUNE");
  Engine.Open();
  Combo->SetLookupTable(&Engine);
  Show();
  struct TCase {
    bool OrderByDisplay;
    const char* Index;
    const char* SearchField;  // empty: the search edit's own choice
    std::vector<String> FirstNames;
  };
  const TCase Cases[] = {
      {false, "", "", {"Abergement-Clémenciat"_a, "L'Abergement-de-Varey", "Ambérieu-en-Bugey"_a}},
      {true, "LIBIDX", "COM_LIB", {"Abbécourt"_a, "Abergement-Clémenciat"_a, "Ambérieu-en-Bugey"_a}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.OrderByDisplay ? "ordered by the name" : "in the table's order");
    Combo->OrderByDisplay = Case.OrderByDisplay;
    Engine.SetIndexName(String());
    Engine.First();
    String Start, Index, SearchField, Found;
    std::vector<String> Shown;
    WhenShown([&](TqvLookupDlg* Window) {
      Start = Engine.FieldByName("COM_LIB")->AsString();
      Index = Engine.IndexName();
      SearchField = Window->qvIncrementalSearch1->SearchField();
      TBookmark Kept = Engine.GetBookmark();
      Engine.First();
      for (int i = 0; i < 3 && !Engine.Eof(); ++i, Engine.Next())
        Shown.push_back(Engine.FieldByName("COM_LIB")->AsString());
      Engine.GotoBookmark(Kept);
      if (Case.OrderByDisplay) {
        TypeText("amb");
        EXPECT_TRUE(WaitFor("the search", [&] { return Window->qvIncrementalSearch1->LastSearchedText() == "amb"; }));
        Found = Engine.FieldByName("COM_LIB")->AsString();
      }
      PressKey(VK_ESCAPE);
    });
    ASSERT_TRUE(GiveFocus(Combo));
    PressKey(VK_F4);
    ASSERT_TRUE(WaitFor("the window to close", [&] { return !CloseUps.empty(); }));
    CloseUps.clear();
    EXPECT_EQ(Start, "L'Abergement-de-Varey") << "the window opens on the combo's value";
    EXPECT_EQ(Index, Case.Index);
    EXPECT_EQ(SearchField, Case.SearchField);
    EXPECT_EQ(Shown, Case.FirstNames);
    if (Case.OrderByDisplay) {
      EXPECT_EQ(Found, "Ambérieu-en-Bugey"_a) << "the search edit searches the names";
    }
  }
  EXPECT_EQ(Query->FieldByName("COM_CODE")->AsString(), "01002") << "cancelled: the value stays";
  Combo->SetLookupTable(Communes.get());
}

TEST_F(LookupComboDlgTest, CancelLeavesTheValueAndReadOnlyOpensNothing) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  WhenShown([&](TqvLookupDlg*) {
    PressKey(VK_DOWN);
    PressKey(VK_ESCAPE);
  });
  PressKey(VK_F4);
  ASSERT_TRUE(WaitFor("the window to close", [&] { return CloseUps.size() == 1; }));
  EXPECT_EQ(CloseUps, std::vector<bool>{false});
  EXPECT_EQ(Query->FieldByName("COM_CODE")->AsString(), "01002");
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");

  Combo->SetReadOnly(true);
  ClickControl(Combo->Button());
  PumpPending();
  EXPECT_EQ(DropDowns, 1) << "not even OnDropDown";
  EXPECT_EQ(dynamic_cast<TqvLookupDlg*>(Screen->ActiveForm()), nullptr);
}

}  // namespace
