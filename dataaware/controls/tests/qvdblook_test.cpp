// Tests of the lookup combo and its drop-down grid on a shown form over a fresh SQLite file: the
// shown text of a key (one key field and three), choosing by typing, by the keys of the open list
// and by the mouse, Escape, a text that is no lookup value, the list's place inside the work area,
// and the shared mouse hook when combos are freed.
#include "ControlsTestSupport.h"
#include "SqliteQueryData.h"
#include "TestFolder.h"

#include "Qvdbgrid.h"
#include "Timer.h"
#include "qvDBDataSets.h"
#include "qvdblook.h"

namespace {

class LookupComboTest : public TestFolder, public SqliteQueryData, public TObject {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    OpenQueryData(PathOf("lookup.db"),
                  {"CREATE TABLE COMMUNE (COM_CODE VARCHAR(5) PRIMARY KEY, COM_LIB VARCHAR(50))",
                   "INSERT INTO COMMUNE VALUES ('01001', 'Abergement-Clémenciat')"_a,
                   "INSERT INTO COMMUNE VALUES ('01002', 'L''Abergement-de-Varey')",
                   "INSERT INTO COMMUNE VALUES ('01004', 'Ambérieu-en-Bugey')"_a,
                   "INSERT INTO COMMUNE VALUES ('02001', 'Abbécourt')"_a,
                   "INSERT INTO COMMUNE VALUES ('75056', 'Paris')",
                   "INSERT INTO COMMUNE VALUES ('13055', 'Marseille')",
                   "INSERT INTO COMMUNE VALUES ('69123', 'Lyon')",
                   "INSERT INTO COMMUNE VALUES ('06088', 'Nice')",
                   "INSERT INTO COMMUNE VALUES ('33063', 'Bordeaux')",
                   "INSERT INTO COMMUNE VALUES ('59350', 'Lille')",
                   "INSERT INTO COMMUNE VALUES ('29019', 'Brest')",
                   "CREATE TABLE DCOMMUNE (COM_CODE VARCHAR(5) PRIMARY KEY, COM_LIB VARCHAR(50) COLLATE VELBOR)",
                   "CREATE INDEX DCOM_LIB ON DCOMMUNE (COM_LIB)",
                   "INSERT INTO DCOMMUNE SELECT COM_CODE, COM_LIB FROM COMMUNE",
                   // Names that differ by case or accents alone, for the searches that count case.
                   "CREATE TABLE DCASE (COM_CODE VARCHAR(5) PRIMARY KEY, COM_LIB VARCHAR(50) COLLATE VELBOR)",
                   "CREATE INDEX DCASE_LIB ON DCASE (COM_LIB)",
                   "INSERT INTO DCASE VALUES ('C1', 'la Chapelle')",
                   "INSERT INTO DCASE VALUES ('C2', 'La Chapelle-Blanche')",
                   "INSERT INTO DCASE VALUES ('C3', 'LA CHAPELLE-D''ANGILLON')",
                   "INSERT INTO DCASE VALUES ('C4', 'Labastide')",
                   "INSERT INTO DCASE VALUES ('C5', 'Écouen')"_a,
                   "INSERT INTO DCASE VALUES ('C6', 'Ecouis')",
                   "INSERT INTO DCASE VALUES ('C7', 'écouché')"_a,
                   // Communes numbered within their department, and zones that name one.
                   "CREATE TABLE DCOM (DEP VARCHAR(2), CODE VARCHAR(3), LIB VARCHAR(50))",
                   "INSERT INTO DCOM VALUES ('01', '001', 'Abergement-Clémenciat')"_a,
                   "INSERT INTO DCOM VALUES ('01', '004', 'Ambérieu-en-Bugey')"_a,
                   "INSERT INTO DCOM VALUES ('02', '001', 'Abbécourt')"_a,
                   "INSERT INTO DCOM VALUES ('13', '001', 'Aix-en-Provence')",
                   "INSERT INTO DCOM VALUES ('13', '055', 'Marseille')",
                   "CREATE TABLE ZDEP (ID INTEGER PRIMARY KEY, DEP VARCHAR(2), CODE VARCHAR(3))",
                   "INSERT INTO ZDEP VALUES (1, '01', '004')",
                   "INSERT INTO ZDEP VALUES (2, '13', '001')",
                   "INSERT INTO ZDEP VALUES (3, '02', '001')",
                   "INSERT INTO ZDEP VALUES (4, '75', '001')",
                   "INSERT INTO ZDEP VALUES (5, '01', '001')",
                   "CREATE TABLE HABITAT (CODE VARCHAR(2), NIV VARCHAR(1), SUB VARCHAR(1), LIB VARCHAR(30))",
                   "INSERT INTO HABITAT VALUES ('22', '1', 'a', 'Eaux douces')",
                   "INSERT INTO HABITAT VALUES ('22', '1', 'b', 'Eaux stagnantes')",
                   "INSERT INTO HABITAT VALUES ('22', '2', 'a', 'Tourbières')"_a,
                   "INSERT INTO HABITAT VALUES ('53', '1', 'a', 'Roselières')"_a,
                   "CREATE TABLE ZONE (ID INTEGER PRIMARY KEY, COM_CODE VARCHAR(5), CODE VARCHAR(2), NIV VARCHAR(1), SUB VARCHAR(1))",
                   "INSERT INTO ZONE VALUES (1, '01002', '22', '1', 'b')",
                   "INSERT INTO ZONE VALUES (2, NULL, NULL, NULL, NULL)"},
                  "SELECT ID, COM_CODE, CODE, NIV, SUB FROM ZONE ORDER BY ID");
    Communes = OpenLookup("SELECT COM_CODE, COM_LIB FROM COMMUNE ORDER BY COM_LIB");
    Habitats = OpenLookup("SELECT CODE, NIV, SUB, LIB FROM HABITAT ORDER BY CODE, NIV, SUB");
    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 460, 320);
    Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(10, 250, 100, 21);
    Combo = MakeCombo(10, 10);
    Combo->SetLookupTable(Communes.get());
    Combo->SetLookupField("COM_CODE");
    Combo->Selected()->Add("COM_LIB\t30\tCommune");
    Combo->Selected()->Add("COM_CODE\t5\tCode");
    Combo->SetDataSource(Source.get());
    Combo->SetDataField("COM_CODE");
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    Communes.reset();
    Habitats.reset();
    CloseQueryData();
    TestFolder::TearDown();
    EXPECT_TRUE(Script.Unexpected.empty()) << "unexpected question: " << Script.Unexpected.front().Text;
  }
  std::unique_ptr<TADOQuery> OpenLookup(const String& Select) {
    auto Query = std::make_unique<TADOQuery>(nullptr);
    Query->SetConnection(Connection.get());
    Query->SetLockType(ltReadOnly);
    Query->SQL()->SetText(Select);
    Query->Open();
    return Query;
  }
  TqvDBLookupCombo* MakeCombo(int Left, int Top, TWinControl* Parent = nullptr) {
    auto* C = new TqvDBLookupCombo(Form.get());
    C->SetParent(Parent != nullptr ? Parent : Form.get());
    C->SetBounds(Left, Top, 200, 21);
    return C;
  }
  void Show() {
    Form->Show();
    Activate(Form.get());
    ASSERT_TRUE(Painted(Form.get()));
  }
  // The ZONE column of a row as the file holds it ("<null>" for NULL).
  String FileValue(int Id, const char* Column) {
    TADOQuery Check(nullptr);
    Check.SetConnection(Connection.get());
    Check.SQL()->SetText("SELECT " + String(Column) + " FROM ZONE WHERE ID = " + std::to_string(Id));
    Check.Open();
    TField* F = Check.FieldByName(Column);
    return F->IsNull() ? String("<null>") : F->AsString();
  }
  String Key() { return Query->FieldByName("COM_CODE")->AsString(); }
  // Leaves the combo for the other edit and writes the record.
  void LeaveAndPost() {
    ASSERT_TRUE(GiveFocus(Other));
    if (Query->State() != dsBrowse) Query->Post();
  }
  testing::AssertionResult ListOpen(TqvDBCustomLookupCombo* C, bool Open = true) {
    return WaitFor(Open ? "the list to open" : "the list to close", [&] {
      return C->ListVisible() == Open && (C->List()->HandleAllocated() && IsWindowVisible(C->List()->Handle())) == Open;
    });
  }
  // Screen point of the middle of a data row of the open list.
  // Client point of the middle of a grid row of the open list, near its right end.
  TPoint ListRowClient(TqvDBCustomLookupCombo* C, int GridRow) {
    TqvPopupGrid* L = C->List();
    int Y = 0;
    for (int i = 0; i < GridRow; ++i) Y += L->RowHeights(i) + L->GridLineWidth();
    return TPoint(L->ClientWidth() - 25, Y + L->RowHeights(GridRow) / 2);
  }
  TPoint ListRowPoint(TqvDBCustomLookupCombo* C, int DataRow) {
    return C->List()->ClientToScreen(ListRowClient(C, DataRow + C->List()->TitleRowCount()));
  }
 public:
  void NotInList(TObject*, TDataSet*, const String& NewValue, bool& Accept) {
    NotInListTexts.push_back(NewValue);
    Accept = AcceptNotInList;
  }
  void CloseUpLog(TObject*, TDataSet*, TDataSet*, bool Modified) { CloseUps.push_back(Modified); }

 protected:
  TModalScript Script;
  std::unique_ptr<TADOQuery> Communes, Habitats;
  TFormPtr<TForm> Form;
  TEdit* Other = nullptr;
  TqvDBLookupCombo* Combo = nullptr;
  std::vector<String> NotInListTexts;
  bool AcceptNotInList = false;
  std::vector<bool> CloseUps;
};

// --- Binding and shown text ----------------------------------------------------------------------

TEST_F(LookupComboTest, ShowsTheDisplayValueOfTheKeyAndFollowsTheRecord) {
  Show();
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Combo->LookupValue(), "01002");
  EXPECT_EQ(Combo->DisplayValue(), "L'Abergement-de-Varey");
  Query->Next();
  EXPECT_EQ(Combo->Text(), "") << "a null key shows nothing";
  EXPECT_EQ(Combo->LookupValue(), "");
  Query->First();
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
}

TEST_F(LookupComboTest, ASettingThatCannotWorkIsRefusedWithItsMessage) {
  try {
    Combo->SetLookupField("COM_CODE;NOPE_X");
    Combo->SetLookupField("NOPE;COM_CODE");
    FAIL() << "a missing first key field was taken";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Champ 'NOPE;COM_CODE' non trouvé"_a);
  }
  auto Own = std::make_unique<TDataSource>(nullptr);
  Own->SetDataSet(Communes.get());
  try {
    Combo->SetDataSource(Own.get());
    FAIL() << "the lookup table's own data source was taken";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Impossible d'utiliser DataSource et LookupSource dupliqués"_a);
  }
  try {
    Combo->SetLookupTable(Query.get());
    FAIL() << "the bound dataset was taken as lookup table";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message, "Impossible d'utiliser DataSource et LookupSource dupliqués"_a);
  }
}

// Three rows share CODE 22: the row shown is the one whose three keys match the record's.
TEST_F(LookupComboTest, AThreePartKeyFindsItsRowAndIsWrittenWhole) {
  auto* Habitat = MakeCombo(10, 60);
  Habitat->SetLookupTable(Habitats.get());
  Habitat->SetLookupField("CODE;NIV;SUB");
  Habitat->Selected()->Add("LIB\t20\tHabitat");
  Habitat->SetDataSource(Source.get());
  Habitat->SetDataField("CODE");
  Show();
  EXPECT_EQ(Habitat->Text(), "Eaux stagnantes");
  EXPECT_EQ(Habitat->GetLookupValue2(), "1");
  EXPECT_EQ(Habitat->GetLookupValue3(), "b");
  ASSERT_TRUE(GiveFocus(Habitat));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Habitat));
  Press(VK_DOWN);
  EXPECT_EQ(Habitat->Text(), "Tourbières"_a) << "a row chosen in the list shows at once";
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Habitat, false));
  EXPECT_EQ(Habitat->Text(), "Tourbières"_a);
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "CODE"), "22");
  EXPECT_EQ(FileValue(1, "NIV"), "2");
  EXPECT_EQ(FileValue(1, "SUB"), "a");
}

TEST_F(LookupComboTest, RefreshLookupDisplayReadsTheRowAgainAndKeepsAMissingKey) {
  Show();
  Communes->Close();
  Communes->SQL()->SetText("SELECT COM_CODE, 'Varey' || COM_LIB AS COM_LIB FROM COMMUNE ORDER BY COM_LIB");
  Communes->Open();
  Combo->RefreshLookupDisplay();
  EXPECT_EQ(Combo->Text(), "VareyL'Abergement-de-Varey");
  Communes->Close();
  Communes->SQL()->SetText("SELECT COM_CODE, COM_LIB FROM COMMUNE WHERE COM_CODE <> '01002'");
  Communes->Open();
  Combo->RefreshLookupDisplay();
  EXPECT_EQ(Combo->Text(), "");
  EXPECT_EQ(Combo->LookupValue(), "01002") << "the key is kept";
}

// --- Choosing a value --------------------------------------------------------------------------

// The list opens on the record's row; the keys move in the list's order (by name) and Enter takes
// the row: the key is in the field at once and in the file after Post.
TEST_F(LookupComboTest, AltDownArrowsAndEnterWriteTheChosenKey) {
  Combo->OnCloseUp = TNotifyCloseUpEvent(static_cast<LookupComboTest*>(this), &LookupComboTest::CloseUpLog);
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  EXPECT_EQ(Communes->FieldByName("COM_CODE")->AsString(), "01002") << "the list stands on the record's value";
  EXPECT_EQ(qvLookupComboMouseHookUsers(), 1);
  Press(VK_DOWN);
  Press(VK_DOWN);
  Press(VK_UP);
  EXPECT_EQ(Communes->FieldByName("COM_LIB")->AsString(), "Lille");
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), "Lille");
  EXPECT_EQ(Key(), "59350");
  EXPECT_FALSE(qvLookupComboMouseHookInstalled()) << "the close-up leaves the hook";
  ASSERT_EQ(CloseUps.size(), 1u);
  EXPECT_TRUE(CloseUps[0]);
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "59350");
  // The same row again changes nothing.
  ASSERT_TRUE(GiveFocus(Combo));
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Combo));
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  ASSERT_EQ(CloseUps.size(), 2u);
  EXPECT_FALSE(CloseUps[1]);
}

// The first Down in a list whose value has no row only chooses the first row.
TEST_F(LookupComboTest, TheFirstDownOnAnEmptyValueChoosesTheFirstRow) {
  Query->Next();
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  Press(VK_DOWN);
  EXPECT_EQ(Combo->DisplayValue(), "Abbécourt"_a);
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Key(), "02001");
}

TEST_F(LookupComboTest, AClickOnARowOfTheListTakesItAndClosesTheList) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  ClickControl(Combo->Button());
  ASSERT_TRUE(ListOpen(Combo));
  ASSERT_TRUE(Painted(Combo->List()));
  // The list shows the rows by name from the first one its buffer holds; the record's row
  // (L'Abergement-de-Varey, the sixth) is the current one.
  const char* Names[] = {"Abbécourt"_a, "Abergement-Clémenciat"_a, "Ambérieu-en-Bugey"_a, "Bordeaux", "Brest",
                         "L'Abergement-de-Varey", "Lille", "Lyon", "Marseille", "Nice", "Paris"};
  int First = 5 - Combo->List()->DataLink()->ActiveRecord();
  ASSERT_GE(First, 0);
  ASSERT_EQ(Combo->List()->Row(), Combo->List()->DataLink()->ActiveRecord()) << "the grid's row follows the record";
  String Wanted = Names[First + 1];
  ClickAt(ListRowPoint(Combo, 1));
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), Wanted);
  String WantedKey = Key();
  EXPECT_NE(WantedKey, "01002");
  EXPECT_TRUE(Combo->Focused()) << "the list never takes the focus";
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), WantedKey);
}

// A press outside the combo and its list closes the list with the row chosen by the keys.
TEST_F(LookupComboTest, APressOutsideClosesTheListWithTheChosenRow) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  Press(VK_DOWN);
  ClickAt(OnScreen(Form.get(), 300, 200));
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), "Lille");
  EXPECT_EQ(Key(), "59350");
}

TEST_F(LookupComboTest, EscapeKeepsTheOldValue) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  Press(VK_DOWN);
  Press(VK_DOWN);
  Press(VK_ESCAPE);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Key(), "01002");
  // Typed text goes too.
  Combo->ShowMatchText = true;
  TypeText("par");
  ASSERT_TRUE(WaitFor("the completion", [&] { return Combo->Text() == "Paris"; }));
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Combo->LookupValue(), "01002");
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "01002");
}

// --- Typing ------------------------------------------------------------------------------------

// Typed text completes on every letter in the program's order: case and accents do not count, the
// rest of the name is selected so that typing goes on over it.
TEST_F(LookupComboTest, TypingCompletesWithTheStoredNameAndWritesItsKey) {
  struct TCase {
    String Typed;
    String Shown;
    const char* Key;
  };
  const TCase Cases[] = {
      {"amb", "Ambérieu-en-Bugey"_a, "01004"},
      {"ABBÉ"_a, "Abbécourt"_a, "02001"},
      {"l'ab", "L'Abergement-de-Varey", "01002"},
      {"mar", "Marseille", "13055"},
  };
  Combo->ShowMatchText = true;
  Show();
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Typed);
    ASSERT_TRUE(GiveFocus(Combo));
    Press(VK_END, true);
    TypeText(Case.Typed);
    ASSERT_TRUE(WaitFor("the completion", [&] { return Combo->Text() == Case.Shown; }));
    EXPECT_EQ(Combo->SelStart(), int(Case.Typed.size()));
    EXPECT_EQ(Combo->SelLength(), int(Case.Shown.size() - Case.Typed.size()));
    LeaveAndPost();
    EXPECT_EQ(FileValue(1, "COM_CODE"), Case.Key);
  }
}

// Over an engine table the search goes through the index of the shown column: the table is put in
// that order, keeps its row, and typing completes and chooses as it does over a query.
TEST_F(LookupComboTest, OnAnEngineTableTypingSearchesThroughTheIndexOfTheShownColumn) {
  TqvTable Engine(nullptr);
  Engine.SetConnection(Connection.get());
  Engine.SetTableName("DCOMMUNE");
  Engine.Open();
  Combo->SetLookupTable(&Engine);
  Combo->ShowMatchText = true;
  Show();
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Engine.IndexName(), "") << "nothing typed yet: the table keeps its order";
  EXPECT_TRUE(Combo->UsesFieldSearch()) << "in row order no index is active";
  struct TCase {
    String Typed;
    String Shown;
    const char* Key;
  };
  const TCase Cases[] = {
      {"amb", "Ambérieu-en-Bugey"_a, "01004"},
      {"ABBÉ"_a, "Abbécourt"_a, "02001"},
      {"l'ab", "L'Abergement-de-Varey", "01002"},
      {"li", "Lille", "59350"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Typed);
    ASSERT_TRUE(GiveFocus(Combo));
    Press(VK_END, true);
    TypeText(Case.Typed);
    ASSERT_TRUE(WaitFor("the completion", [&] { return Combo->Text() == Case.Shown; }));
    EXPECT_EQ(Engine.IndexName(), "DCOM_LIB");
    EXPECT_FALSE(Combo->UsesFieldSearch());
    EXPECT_EQ(Engine.FieldByName("COM_CODE")->AsString(), Case.Key) << "the table stands on the row found";
    EXPECT_EQ(Combo->SelStart(), int(Case.Typed.size()));
    LeaveAndPost();
    EXPECT_EQ(FileValue(1, "COM_CODE"), Case.Key);
  }
  // A text no name begins with completes nothing; leaving restores the name of the stored key.
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_END, true);
  TypeText("zq");
  ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled(); }));
  EXPECT_EQ(Combo->Text(), "zq");
  LeaveAndPost();
  EXPECT_EQ(Combo->Text(), "Lille");
  EXPECT_EQ(FileValue(1, "COM_CODE"), "59350");

  // The open list stands on the stored key's row, in name order; typing moves its choice.
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  EXPECT_EQ(Engine.FieldByName("COM_LIB")->AsString(), "Lille");
  Press(VK_DOWN);
  EXPECT_EQ(Combo->Text(), "Lyon") << "the next name in the program's order";
  TypeText("bre");
  ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled(); }));
  EXPECT_EQ(Combo->DisplayValue(), "Brest");
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Key(), "29019");
  Combo->SetLookupTable(nullptr);
}

// The index orders names without case ("la Chapelle", "La Chapelle-Blanche", "LA CHAPELLE-D'...",
// "Labastide"; "écouché", "Écouen", "Ecouis"): with ssoCaseSensitive the open list goes on to the
// first name that begins with the typed text in its own case; without it, to the first that
// begins with the typed text with its accents.
TEST_F(LookupComboTest, TheOpenListOverAnIndexFindsTheTypedCaseWhenCaseCounts) {
  TqvTable Engine(nullptr);
  Engine.SetConnection(Connection.get());
  Engine.SetTableName("DCASE");
  Engine.Open();
  Combo->SetLookupTable(&Engine);
  Combo->ShowMatchText = true;
  Show();
  struct TCase {
    bool CaseSensitive;
    String Typed;
    String Shown;  // the completed text; the typed text when no name begins with it
    const char* Key;  // the row chosen; null when none is
  };
  const TCase Cases[] = {
      {true, "la", "la Chapelle", "C1"},
      {true, "La", "La Chapelle-Blanche", "C2"},
      {true, "LA", "LA CHAPELLE-D'ANGILLON", "C3"},
      {true, "La Chapelle-B", "La Chapelle-Blanche", "C2"},
      {true, "Lab", "Labastide", "C4"},
      {true, "lab", "lab", nullptr},
      {true, "LA CHAPELLE-B", "LA CHAPELLE-B", nullptr},
      {true, "Ecou", "Ecouis", "C6"},
      {true, "Éco"_a, "Écouen"_a, "C5"},
      {false, "LA", "la Chapelle", "C1"},
      {false, "lab", "Labastide", "C4"},
      {false, "ecou", "Ecouis", "C6"},  // after écouché and Écouen, which differ by their accents
      {false, "écou"_a, "écouché"_a, "C7"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Typed + (Case.CaseSensitive ? " (case counts)" : ""));
    Combo->SeqSearchOptions = Case.CaseSensitive ? TqvSeqSearchOptions{ssoEnabled, ssoCaseSensitive}
                                                 : TqvSeqSearchOptions{ssoEnabled};
    ASSERT_TRUE(GiveFocus(Combo));
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(ListOpen(Combo));
    EXPECT_EQ(Engine.IndexName(), "DCASE_LIB") << "the open list is in name order";
    TypeText(Case.Typed);
    ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled(); }));
    EXPECT_EQ(Combo->Text(), Case.Shown);
    if (Case.Key != nullptr) {
      EXPECT_EQ(Engine.FieldByName("COM_CODE")->AsString(), Case.Key) << "the table stands on the row found";
      EXPECT_EQ(Combo->SelStart(), int(Case.Typed.size())) << "the completed part is selected";
      Press(VK_RETURN);
      ASSERT_TRUE(ListOpen(Combo, false));
      EXPECT_EQ(Key(), Case.Key);
    } else {
      Press(VK_ESCAPE);
      ASSERT_TRUE(ListOpen(Combo, false));
    }
  }
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "C7");
  Combo->SetLookupTable(nullptr);
}

TEST_F(LookupComboTest, TypingInTheOpenListMovesItsChoiceAfterOneDelay) {
  Combo->SearchDelay = 50;
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  TypeText("bre");
  EXPECT_EQ(Combo->SearchTimer()->Interval(), 50u);
  ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled(); }));
  EXPECT_EQ(Communes->FieldByName("COM_LIB")->AsString(), "Brest");
  EXPECT_EQ(Combo->DisplayValue(), "Brest");
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Key(), "29019");
}

// --- A text that is no lookup value --------------------------------------------------------------

TEST_F(LookupComboTest, ADropDownListRefusesATypedTextThatIsNotInTheList) {
  Combo->SetStyle(csDropDownList);
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  TypeText("zz");
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey") << "a closed list takes no typing";
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  TypeText("zzz");
  ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled(); }));
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Key(), "01002");
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "01002");
}

// OnNotInList hears of a text that matches no row; refused, the text and key come back. An empty
// text is no value: it never reaches the handler.
TEST_F(LookupComboTest, ATextNotInTheListGoesToOnNotInListButAnEmptyTextNever) {
  Combo->OnNotInList = TNotInListEvent(static_cast<LookupComboTest*>(this), &LookupComboTest::NotInList);
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_END, true);
  TypeText("Quimper");
  ASSERT_TRUE(GiveFocus(Other));
  ASSERT_EQ(NotInListTexts.size(), 1u);
  EXPECT_EQ(NotInListTexts[0], "Quimper");
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Key(), "01002");

  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_END, true);
  Press(VK_DELETE);
  ASSERT_TRUE(GiveFocus(Other));
  EXPECT_EQ(NotInListTexts.size(), 1u) << "an empty text called OnNotInList";
  // Without the clear key the value comes back.
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  EXPECT_EQ(Key(), "01002");
}

// Enter after a typed text that no row begins with: the highlighted row is not a choice of the
// user, so the text goes through the rules of a text not in the list. A drop-down list bound to a
// field takes the row its keys chose; elsewhere the value of the entry comes back (or is cleared
// with the clear key), and OnNotInList hears of the text.
TEST_F(LookupComboTest, EnterAfterATypedTextNoRowBeginsWithIsNoChoiceOfTheHighlightedRow) {
  Combo->SetDataSource(nullptr);
  Show();
  struct TCase {
    const char* Name;
    TqvDBLookupComboStyle Style;
    bool Bound;         // bound to the zone's COM_CODE, else on no data source
    bool ClearKey;      // AllowClearKey
    bool NotInList;     // OnNotInList assigned, refusing
    bool MoveFirst;     // Down in the list before typing
    String Shown;       // the text after Enter
    const char* Key;    // the combo's key after Enter (and the field's, when bound)
  };
  const TCase Cases[] = {
      {"typed over a row chosen by the keys", csDropDown, true, false, false, true, "L'Abergement-de-Varey", "01002"},
      {"refused by OnNotInList", csDropDown, true, false, true, false, "L'Abergement-de-Varey", "01002"},
      {"refused by OnNotInList after a move", csDropDown, true, false, true, true, "L'Abergement-de-Varey", "01002"},
      {"a bound drop-down list keeps the row its keys chose", csDropDownList, true, false, false, true, "Lille",
       "59350"},
      {"unbound, with the clear key", csDropDownList, false, true, false, false, "", ""},
      {"unbound, without it", csDropDownList, false, false, false, true, "L'Abergement-de-Varey", "01002"},
      {"unbound drop-down", csDropDown, false, false, false, true, "L'Abergement-de-Varey", "01002"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    NotInListTexts.clear();
    CloseUps.clear();
    auto* C = MakeCombo(10, 120);
    C->SetLookupTable(Communes.get());
    C->Selected()->Add("COM_LIB\t30\tCommune");
    C->SetLookupField("COM_CODE");
    C->SetStyle(Case.Style);
    C->AllowClearKey = Case.ClearKey;
    C->OnCloseUp = TNotifyCloseUpEvent(static_cast<LookupComboTest*>(this), &LookupComboTest::CloseUpLog);
    if (Case.NotInList)
      C->OnNotInList = TNotInListEvent(static_cast<LookupComboTest*>(this), &LookupComboTest::NotInList);
    if (Case.Bound) {
      C->SetDataSource(Source.get());
      C->SetDataField("COM_CODE");
    } else {
      C->SetLookupValue("01002");
    }
    ASSERT_EQ(C->Text(), "L'Abergement-de-Varey");
    ASSERT_TRUE(GiveFocus(C));
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(ListOpen(C));
    if (Case.MoveFirst) {
      Press(VK_DOWN);
      ASSERT_EQ(C->Text(), "Lille");
    }
    TypeText("zzz");
    ASSERT_TRUE(WaitFor("the search", [&] { return !C->SearchTimer()->Enabled(); }));
    EXPECT_EQ(C->Text(), "zzz");
    Press(VK_RETURN);
    ASSERT_TRUE(ListOpen(C, false));
    EXPECT_EQ(C->Text(), Case.Shown);
    EXPECT_EQ(C->LookupValue(), Case.Key);
    if (Case.Bound) {
      EXPECT_EQ(Key(), Case.Key);
    }
    if (Case.NotInList) {
      EXPECT_EQ(NotInListTexts, std::vector<String>{"zzz"});
      EXPECT_TRUE(CloseUps.empty()) << "a refused text closes without OnCloseUp";
    } else {
      EXPECT_TRUE(NotInListTexts.empty());
    }
    if (Query->State() != dsBrowse) Query->Cancel();
    delete C;
    PumpPending();
  }
}

TEST_F(LookupComboTest, AllowClearKeyEmptiesTheValueWithBackspace) {
  Combo->SetStyle(csDropDownList);
  Combo->AllowClearKey = true;
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_BACK);
  EXPECT_EQ(Combo->Text(), "");
  EXPECT_EQ(Combo->LookupValue(), "");
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "<null>");
}

// --- The drop-down's place ---------------------------------------------------------------------

// The work area as a task bar on the top and left leaves it, restored after the test.
class WorkAreaScope {
 public:
  explicit WorkAreaScope(const RECT& Area) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &FSaved, 0);
    RECT Copy = Area;
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &Copy, 0);
  }
  ~WorkAreaScope() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &FSaved, 0); }

 private:
  RECT FSaved{};
};

bool Inside(const RECT& Inner, const RECT& Outer) {
  return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right && Inner.bottom <= Outer.bottom;
}

TEST_F(LookupComboTest, TheListOpensInsideTheWorkAreaNearItsEdges) {
  int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  RECT Area{60, 40, ScreenW - 30, ScreenH - 50};
  WorkAreaScope Scope(Area);
  RECT Read{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Read, 0);
  ASSERT_TRUE(EqualRect(&Read, &Area)) << "the display keeps no work area";
  Combo->DropDownWidth = 400;
  struct TCase {
    const char* Name;
    int FormLeft, FormTop;
    bool Above;
  };
  const TCase Cases[] = {
      {"BottomRight", ScreenW - 200, ScreenH - 120, true},
      {"TopLeft", 0, 0, false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Form->SetBounds(Case.FormLeft, Case.FormTop, 460, 320);
    Show();
    ASSERT_TRUE(GiveFocus(Combo));
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(ListOpen(Combo));
    RECT List{}, Edit{};
    GetWindowRect(Combo->List()->Handle(), &List);
    GetWindowRect(Combo->Handle(), &Edit);
    EXPECT_TRUE(Inside(List, Area)) << List.left << "," << List.top << " - " << List.right << "," << List.bottom;
    // As wide as asked where there is room; never narrower than the combo less 4 pixels.
    EXPECT_EQ(List.right - List.left, std::max(Combo->Width() - 4, std::min(400, int(Area.right - Edit.left - 2))));
    if (Case.Above) EXPECT_EQ(List.bottom, Edit.top);
    else EXPECT_EQ(List.top, Edit.bottom);
    Press(VK_ESCAPE);
    ASSERT_TRUE(ListOpen(Combo, false));
  }
}

TEST_F(LookupComboTest, AShortTableGivesAShortListUnlessItsHeightIsFixed) {
  auto* Habitat = MakeCombo(10, 60);
  Habitat->SetLookupTable(Habitats.get());
  Habitat->SetLookupField("CODE;NIV;SUB");
  Habitat->Selected()->Add("LIB\t20\tHabitat");
  Habitat->SetDataSource(Source.get());
  Habitat->SetDataField("CODE");
  Show();
  ASSERT_TRUE(GiveFocus(Habitat));
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Habitat));
  int Row = Habitat->List()->DefaultRowHeight();
  EXPECT_EQ(Habitat->List()->Height(), 4 * Row + 2) << "four rows";
  EXPECT_FALSE(Habitat->List()->ShowVertScrollBar());
  Press(VK_ESCAPE);
  ASSERT_TRUE(ListOpen(Habitat, false));
  Habitat->SetOptions({loFixedDropDownHeight});
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Habitat));
  EXPECT_EQ(Habitat->List()->Height(), 8 * Row + 2) << "DropDownCount rows";
  Press(VK_ESCAPE);
}

// Used on its own on a form, the list shows the row of its field's key and writes the row chosen
// with the keys or the mouse into the field when it is left; Escape gives the field its key back.
TEST_F(LookupComboTest, AListOnItsOwnChoosesTheKeyOfItsField) {
  auto* List = new TqvDBLookupList(Form.get());
  List->SetParent(Form.get());
  List->SetBounds(220, 10, 220, 200);
  List->SetLookupTable(Communes.get());
  List->SetLookupField("COM_CODE");
  List->Selected()->Add("COM_LIB\t30\tCommune");
  List->SetDataSource(Source.get());
  List->SetDataField("COM_CODE");
  Show();
  EXPECT_EQ(List->LookupValue, "01002");
  EXPECT_EQ(Communes->FieldByName("COM_LIB")->AsString(), "L'Abergement-de-Varey") << "the list stands on its row";

  ASSERT_TRUE(GiveFocus(List));
  Press(VK_DOWN);
  EXPECT_EQ(List->LookupValue, "59350") << "Lille comes next";
  EXPECT_EQ(Query->State(), dsEdit);
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "59350");

  // A click on the row above the chosen one takes it.
  ASSERT_TRUE(GiveFocus(List));
  TRect Above = List->CellRect(List->FixedCols(), List->Row() - 1);
  ClickAt(List->ClientToScreen(TPoint((Above.Left + Above.Right) / 2, (Above.Top + Above.Bottom) / 2)));
  ASSERT_TRUE(WaitFor("the row taken", [&] { return List->LookupValue == "01002"; }));
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "01002");

  // Escape after a move: the field keeps its key and the list shows it again.
  ASSERT_TRUE(GiveFocus(List));
  Press(VK_DOWN);
  EXPECT_EQ(List->LookupValue, "59350");
  Press(VK_ESCAPE);
  EXPECT_EQ(List->LookupValue, "01002");
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "01002");

  // A data source over the lookup table itself cannot be the list's.
  TDataSource Own(nullptr);
  Own.SetDataSet(Communes.get());
  try {
    List->SetDataSource(&Own);
    ADD_FAILURE() << "the list took the lookup table as its own data source";
  } catch (const EInvalidOperation& E) {
    EXPECT_STREQ(E.what(), qvLookupDuplicateSources);
  }
  EXPECT_EQ(List->DataSource(), Source.get());
}

// With Navigator the combo follows the lookup table's cursor moved elsewhere; without it, not.
TEST_F(LookupComboTest, ANavigatorComboFollowsTheLookupTablesCursor) {
  auto* Nav = MakeCombo(10, 60);
  Nav->SetLookupTable(Communes.get());
  Nav->SetLookupField("COM_CODE");
  Nav->Selected()->Add("COM_LIB\t30\tCommune");
  Nav->SetNavigator(true);
  Show();
  ASSERT_TRUE(Communes->Locate("COM_CODE", Variant("75056"), TLocateOptions{}));
  EXPECT_EQ(Nav->Text(), "Paris");
  EXPECT_EQ(Nav->LookupValue(), "75056");
  Communes->Next();
  EXPECT_EQ(Nav->Text(), Communes->FieldByName("COM_LIB")->AsString());
  // The combo's own search is no move made elsewhere: the typed text is completed, not replaced.
  Nav->ShowMatchText = true;
  ASSERT_TRUE(GiveFocus(Nav));
  Press(VK_END, true);
  TypeText("bor");
  ASSERT_TRUE(WaitFor("the completion", [&] { return Nav->Text() == "Bordeaux"; }));
  EXPECT_EQ(Nav->SelStart(), 3);
  Nav->SetNavigator(false);
  Communes->First();
  EXPECT_EQ(Nav->Text(), "Bordeaux");
}

// A calculated field with a "LookupLinks" line: the combo shows the field, finds its row through the
// linked key field and writes that key field, never the calculated field itself.
TEST_F(LookupComboTest, ACalculatedFieldWithLinksWritesTheLinkedKeyField) {
  struct TCalc : TObject {
    TDataSet* Communes = nullptr;
    void Calc(TDataSet* D) {
      Variant Name = Communes->Lookup("COM_CODE", Variant(D->FieldByName("COM")->AsString()), "COM_LIB");
      D->FieldByName("LIB_COM")->SetAsString(VarIsNull(Name) ? String() : VarToStr(Name));
    }
  } Calc;
  Calc.Communes = Communes.get();
  TSettingsDataSet Sites({{"ID", ftInteger}, {"COM", ftString, 5}});
  auto* Id = new TIntegerField(&Sites);
  Id->SetFieldName("ID");
  Id->SetDataSet(&Sites);
  auto* Com = new TStringField(&Sites);
  Com->SetFieldName("COM");
  Com->SetSize(5);
  Com->SetDataSet(&Sites);
  auto* Lib = new TStringField(&Sites);
  Lib->SetFieldName("LIB_COM");
  Lib->SetSize(50);
  Lib->SetFieldKind(fkCalculated);
  Lib->SetDataSet(&Sites);
  Sites.OnCalcFields = TDataSetNotifyEvent(&Calc, &TCalc::Calc);
  Sites.LookupFields()->Add("LIB_COM;;COMMUNE;COM_LIB");
  Sites.LookupLinks()->Add("COM;COM_CODE");
  Sites.AddRow({Variant(1), Variant("69123")});
  Sites.Open();
  TDataSource SitesSource(nullptr);
  SitesSource.SetDataSet(&Sites);
  auto* Linked = MakeCombo(10, 60);
  Linked->OnCloseUp = TNotifyCloseUpEvent(static_cast<LookupComboTest*>(this), &LookupComboTest::CloseUpLog);
  Linked->SetLookupTable(Communes.get());
  Linked->SetDataSource(&SitesSource);
  Linked->SetDataField("LIB_COM");
  EXPECT_EQ(Linked->LookupField(), "COM_CODE") << "the lookup table's member of the pair";
  ASSERT_NE(Linked->List()->DisplayField(), nullptr);
  EXPECT_EQ(Linked->List()->DisplayField()->FieldName(), "COM_LIB") << "the line's result field";
  Show();
  EXPECT_EQ(Linked->Text(), "Lyon");
  EXPECT_EQ(Linked->LookupValue(), "69123");
  ASSERT_TRUE(GiveFocus(Linked));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Linked));
  Press(VK_DOWN);
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Linked, false));
  EXPECT_EQ(Com->AsString(), "13055") << "the dataset's member of the pair is written";
  EXPECT_EQ(Lib->AsString(), "Marseille") << "calculated again from it";
  EXPECT_EQ(Linked->Text(), "Marseille");
  EXPECT_EQ(CloseUps, std::vector<bool>{true});
  Sites.Post();
  EXPECT_EQ(Sites.FieldByName("COM")->AsString(), "13055");
  Linked->SetDataSource(nullptr);
}

// --- A detail lookup table ------------------------------------------------------------------------

// The communes of the zone's department only: the lookup table is a detail of the zones' data
// source, a query or an engine table reading the same SQL lines. The combo hears of a move of the
// zones before the detail reads the new department's rows, so the name is found once the detail
// has followed.
class LookupComboDetailTest : public LookupComboTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    LookupComboTest::SetUp();
    Zones = std::make_unique<TADOQuery>(nullptr);
    Zones->SetConnection(Connection.get());
    Zones->SQL()->SetText("SELECT ID, DEP, CODE FROM ZDEP ORDER BY ID");
    Zones->Open();
    ZoneSource = std::make_unique<TDataSource>(nullptr);
    ZoneSource->SetDataSet(Zones.get());
    const char* Select = "SELECT DEP, CODE, LIB FROM DCOM WHERE DEP = :DEP ORDER BY CODE";
    if (GetParam()) {
      auto Engine = std::make_unique<TqvTable>(nullptr);
      TStringList Lines;
      Lines.SetText(Select);
      Engine->SetQuery(&Lines);
      Towns = std::move(Engine);
    } else {
      auto Query = std::make_unique<TADOQuery>(nullptr);
      Query->SQL()->SetText(Select);
      Towns = std::move(Query);
    }
    Towns->SetConnection(Connection.get());
    Towns->SetLockType(ltReadOnly);
    Town = MakeCombo(10, 60);
    // Bound first: its link hears of the zones' moves before the detail's master link does.
    Town->SetDataSource(ZoneSource.get());
    Town->SetDataField("CODE");
    Towns->SetDataSource(ZoneSource.get());
    Towns->Open();
    Town->SetLookupTable(Towns.get());
    Town->SetLookupField("CODE");
    Town->Selected()->Add("LIB\t30\tCommune");
  }
  void TearDown() override {
    Town->SetLookupTable(nullptr);
    Town->SetDataSource(nullptr);
    Towns.reset();
    ZoneSource.reset();
    Zones.reset();
    LookupComboTest::TearDown();
  }
  std::unique_ptr<TADOQuery> Zones;
  std::unique_ptr<TCustomADODataSet> Towns;
  std::unique_ptr<TDataSource> ZoneSource;
  TqvDBLookupCombo* Town = nullptr;
};

INSTANTIATE_TEST_SUITE_P(QueryOrEngineTable, LookupComboDetailTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& Info) {
                           return std::string(Info.param ? "EngineTable" : "Query");
                         });

TEST_P(LookupComboDetailTest, TheNameShownIsThatOfTheCodeInTheZonesDepartment) {
  Show();
  ASSERT_EQ(Towns->DataSource(), ZoneSource.get());
  EXPECT_EQ(Town->HasDetailLookupTable(), GetParam()) << "an engine table with a master source";
  EXPECT_TRUE(Town->LookupTableIsDetail());
  struct TCase {
    int Id;
    const char* Dep;
    String Shown;
  };
  const TCase Cases[] = {
      {1, "01", "Ambérieu-en-Bugey"_a},
      {2, "13", "Aix-en-Provence"},
      {3, "02", "Abbécourt"_a},
      {4, "75", ""},  // a department without communes
      {5, "01", "Abergement-Clémenciat"_a},
      {2, "13", "Aix-en-Provence"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Id);
    ASSERT_TRUE(Zones->Locate("ID", Variant(Case.Id), TLocateOptions{}));
    EXPECT_EQ(Towns->Parameters()->ParamByName("DEP")->Value(), Variant(Case.Dep)) << "the detail has followed";
    EXPECT_EQ(Town->Text(), Case.Shown);
  }
}

TEST_P(LookupComboDetailTest, TheOpenListHoldsTheDepartmentsCommunesAndTheCodeIsWritten) {
  Show();
  ASSERT_TRUE(Zones->Locate("ID", Variant(2), TLocateOptions{}));
  ASSERT_TRUE(GiveFocus(Town));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Town));
  EXPECT_EQ(Towns->RecordCount(), 2);
  Press(VK_DOWN);
  EXPECT_EQ(Town->Text(), "Marseille");
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Town, false));
  EXPECT_EQ(Zones->FieldByName("CODE")->AsString(), "055");
  EXPECT_EQ(Zones->FieldByName("DEP")->AsString(), "13") << "the master's field is not the combo's to write";
  Zones->Post();
  EXPECT_EQ(Town->Text(), "Marseille");
}

// A detail still holding another department's rows (here made so by hand) is not searched: a code
// written meanwhile never shows the name it has in that other department.
TEST_P(LookupComboDetailTest, ADetailNotYetInStepIsNotSearched) {
  Show();
  ASSERT_TRUE(Zones->Locate("ID", Variant(1), TLocateOptions{}));
  EXPECT_FALSE(Town->DetailOutOfStep());
  Zones->Edit();
  Towns->Parameters()->ParamByName("DEP")->SetValue(Variant("13"));
  Towns->Requery();
  EXPECT_TRUE(Town->DetailOutOfStep()) << "Marseille's department under a zone of the Ain";
  Zones->FieldByName("CODE")->SetAsString("001");
  EXPECT_EQ(Towns->FieldByName("DEP")->AsString(), "13") << "the detail is still out of step";
  EXPECT_NE(Town->Text(), "Aix-en-Provence");
  // The detail follows the record again: the code's name in the zone's own department.
  Towns->Parameters()->ParamByName("DEP")->SetValue(Variant("01"));
  Towns->Requery();
  EXPECT_FALSE(Town->DetailOutOfStep());
  EXPECT_EQ(Town->Text(), "Abergement-Clémenciat"_a);
  Zones->Cancel();
  // An empty detail cannot tell: it is searched, and shows nothing.
  Towns->Parameters()->ParamByName("DEP")->SetValue(Variant("99"));
  Towns->Requery();
  EXPECT_FALSE(Town->DetailOutOfStep());
  Town->RefreshLookupDisplay();
  EXPECT_EQ(Town->Text(), "");
}

// The department changed in the record: the detail reads the other department's communes, and the
// combo shows the name its code has there.
TEST_P(LookupComboDetailTest, ChangingTheDepartmentShowsTheCodesNameInTheNewOne) {
  Show();
  ASSERT_TRUE(Zones->Locate("ID", Variant(3), TLocateOptions{}));
  EXPECT_EQ(Town->Text(), "Abbécourt"_a);
  Zones->Edit();
  Zones->FieldByName("DEP")->SetAsString("13");
  EXPECT_EQ(Town->Text(), "Aix-en-Provence");
  Zones->FieldByName("DEP")->SetAsString("75");
  EXPECT_EQ(Town->Text(), "") << "no commune of that code there";
  Zones->Cancel();
  EXPECT_EQ(Town->Text(), "Abbécourt"_a);
}

// --- Inside a grid cell ----------------------------------------------------------------------------

// A grid whose COM_CODE column shows the combo over its current cell, as a "ControlType" line asks.
class LookupComboInGridTest : public LookupComboTest {
 protected:
  void SetUp() override {
    LookupComboTest::SetUp();
    Combo->SetName("CellCombo");
    Combo->ShowMatchText = true;
    Grid = new TqvDBGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetBounds(10, 40, 430, 150);
    Grid->ControlType()->Add("COM_CODE;CustomEdit;CellCombo");
    Grid->SetDataSource(Source.get());
  }
  // Shows the form with the grid's first row on COM_CODE, the combo over the cell with the focus.
  testing::AssertionResult EnterCell() {
    if (!Form->Visible()) Show();
    if (!GiveFocus(Grid)) return testing::AssertionFailure() << "the grid took no focus";
    int Column = -1;
    for (int i = 0; i < Grid->GetFieldCount(); ++i)
      if (Grid->GetFields(i)->FieldName() == "COM_CODE") Column = i;
    if (Column < 0) return testing::AssertionFailure() << "no COM_CODE column";
    Grid->SetSelectedIndex(Column);
    if (!WaitFor("the combo over the cell", [&] { return Combo->Parent() == Grid && Combo->Visible(); }))
      return testing::AssertionFailure() << "no combo over the cell";
    return GiveFocus(Combo);
  }
  bool GridFocused() { return GetFocus() == Grid->Handle(); }
  int Id() { return Query->FieldByName("ID")->AsInteger(); }
  TqvDBGrid* Grid = nullptr;
};

// What the combo chooses in the cell is written into the field when it hands the focus back.
TEST_F(LookupComboInGridTest, AValueChosenInTheCellIsWrittenOnLeaving) {
  ASSERT_TRUE(EnterCell());
  EXPECT_EQ(Combo->DataField(), "COM_CODE");
  Press(VK_END, true);
  TypeText("mar");
  ASSERT_TRUE(WaitFor("the completion", [&] { return Combo->Text() == "Marseille"; }));
  ASSERT_TRUE(GiveFocus(Grid));
  EXPECT_EQ(Key(), "13055");
  Query->Post();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "13055");

  // Alt+Down opens the list in the cell; its choice is written the same way.
  ASSERT_TRUE(EnterCell());
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  ASSERT_TRUE(Painted(Combo->List()));
  ASSERT_TRUE(Painted(Grid));
  {
    RECT List{}, Area{};
    GetWindowRect(Combo->List()->Handle(), &List);
    GetWindowRect(Grid->Handle(), &Area);
    TPixelArea Picture = CaptureScreen(TRect(Area.left - 4, Area.top - 4, std::max(Area.right, List.right) + 4,
                                             std::max(Area.bottom, List.bottom) + 4));
    EXPECT_TRUE(WritePng(Picture, BuildPicturePath("qvdblook_in_grid_cell.png")));
  }
  Press(VK_DOWN);
  EXPECT_EQ(Combo->Text(), "Nice");
  EXPECT_EQ(Id(), 1) << "the list's keys stay with the list";
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(GetFocus(), Combo->Handle());
  ASSERT_TRUE(GiveFocus(Grid));
  EXPECT_EQ(Key(), "06088");
}

// With its list closed and nothing typed, the combo hands the grid the keys that move between
// records and Escape; with something typed, Escape gives the saved value back and stays.
TEST_F(LookupComboInGridTest, TheKeysThatMoveBetweenRecordsGoToTheGrid) {
  struct TCase {
    const char* Name;
    WORD Key;
    int Row;  // the record the grid then stands on
  };
  const TCase Cases[] = {
      {"Down", VK_DOWN, 2},
      {"Up", VK_UP, 1},
      {"Page Down", VK_NEXT, 2},
      {"Page Up", VK_PRIOR, 1},
      {"Escape", VK_ESCAPE, 1},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    ASSERT_TRUE(EnterCell());
    Press(Case.Key);
    ASSERT_TRUE(WaitFor("the grid focused", [&] { return GridFocused(); }));
    EXPECT_EQ(Id(), Case.Row);
    EXPECT_FALSE(Combo->ListVisible());
  }
  ASSERT_TRUE(EnterCell());
  ASSERT_EQ(Id(), 1);
  Press(VK_END, true);
  TypeText("zq");
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey") << "the typed text undone";
  EXPECT_EQ(GetFocus(), Combo->Handle()) << "the first Escape only undoes";
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the grid focused", [&] { return GridFocused(); }));
  EXPECT_EQ(Key(), "01002");
}

// --- AutoDropDown and the hot look --------------------------------------------------------------

// With AutoDropDown a typed letter opens the list on the first row that begins with the text, even
// in a combo that takes no free text; Enter takes that row.
TEST_F(LookupComboTest, AutoDropDownOpensTheListOnTheTypedText) {
  Combo->AutoDropDown = true;
  Combo->SetStyle(csDropDownList);
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_END, true);
  TypeText("bo");
  ASSERT_TRUE(ListOpen(Combo));
  ASSERT_TRUE(WaitFor("the search", [&] { return !Combo->SearchTimer()->Enabled() && Combo->DisplayValue() == "Bordeaux"; }));
  EXPECT_EQ(Communes->FieldByName("COM_CODE")->AsString(), "33063");
  Press(VK_RETURN);
  ASSERT_TRUE(ListOpen(Combo, false));
  EXPECT_EQ(Combo->Text(), "Bordeaux");
  LeaveAndPost();
  EXPECT_EQ(FileValue(1, "COM_CODE"), "33063");
}

// With a frame that shows its focused look under the mouse, the pointer over the unfocused combo
// draws the focus frame and leaving it takes it away; OnMouseEnter and OnMouseLeave say so.
TEST_F(LookupComboTest, ThePointerOverTheComboDrawsItsFocusFrame) {
  Combo->Frame()->SetEnabled(true);
  Combo->Frame()->MouseEnterSameAsFocus = true;
  std::vector<String> Events;
  struct TLog : TObject {
    std::vector<String>* Events;
    void Enter(TObject*) { Events->push_back("enter"); }
    void Leave(TObject*) { Events->push_back("leave"); }
  } Log;
  Log.Events = &Events;
  Combo->OnMouseEnter = TNotifyEvent(&Log, &TLog::Enter);
  Combo->OnMouseLeave = TNotifyEvent(&Log, &TLog::Leave);
  Show();
  ASSERT_TRUE(GiveFocus(Other));
  MoveMouseTo(OnScreen(Other, 5, 5));
  ASSERT_TRUE(Painted(Form.get()));
  // The colour the focus frame's top edge has: what the same edge draws on a bitmap.
  int W = Combo->ClientWidth(), H = Combo->ClientHeight();
  TGdiObject<HBITMAP> Bitmap(CreateCompatibleBitmap(TWindowDC(nullptr), W, H));
  TBitmapDC Memory(Bitmap);
  RECT Whole{0, 0, W, H};
  FillRect(Memory, &Whole, GetSysColorBrush(COLOR_WINDOW));
  DrawEdge(Memory, &Whole, EDGE_SUNKEN, BF_RECT | BF_MONO);
  COLORREF Edge = GetPixel(Memory, W / 3, 0);
  ASSERT_NE(Edge, GetSysColor(COLOR_WINDOW));
  EXPECT_NE(PixelOf(Combo, W / 3, 0), Edge) << "unfocused: no top edge";

  MoveMouseTo(OnScreen(Combo, W / 3, H / 2));
  ASSERT_TRUE(IdleUntil("the pointer entered", [&] { return !Events.empty(); }));
  EXPECT_EQ(Events, std::vector<String>{"enter"});
  EXPECT_EQ(PixelOf(Combo, W / 3, 0), Edge) << "the focus frame's top edge";

  MoveMouseTo(OnScreen(Other, 5, 5));
  ASSERT_TRUE(IdleUntil("the pointer left", [&] { return Events.size() == 2; }));
  EXPECT_EQ(Events.back(), "leave");
  ASSERT_TRUE(Painted(Combo));
  EXPECT_NE(PixelOf(Combo, W / 3, 0), Edge) << "the unfocused look again";
}

// The drop-down grid takes the combo's grid options each time it opens; a list too narrow for its
// columns scrolls sideways and grows by the scroll bar's height, so that it still shows its rows.
TEST_F(LookupComboTest, TheListTakesTheGridOptionsAndScrollsSidewaysWhenTooNarrow) {
  Combo->SetOptions({loTitles});
  Combo->GridOptions()->Color = TColor(0xE0FFFF);
  Combo->GridOptions()->TitleLines = 2;
  Combo->GridOptions()->TitleAlignment = taCenter;
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Combo));
  TqvPopupGrid* List = Combo->List();
  EXPECT_EQ(List->Color(), TColor(0xE0FFFF));
  EXPECT_EQ(List->TitleLines(), 2);
  EXPECT_EQ(List->TitleAlignment(), taCenter);
  int Row = List->DefaultRowHeight();
  EXPECT_EQ(List->Height(), (2 + 8) * Row + 3 + 2) << "two title lines and eight rows";
  EXPECT_EQ(GetWindowLongA(List->Handle(), GWL_STYLE) & WS_HSCROLL, 0) << "every column fits";
  Press(VK_ESCAPE);
  ASSERT_TRUE(ListOpen(Combo, false));

  Combo->DropDownWidth = 100;
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Combo));
  EXPECT_EQ(List->Width(), Combo->Width() - 4) << "never narrower than the combo less 4 pixels";
  EXPECT_TRUE(List->ShowHorzScrollBar());
  EXPECT_NE(GetWindowLongA(List->Handle(), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_EQ(List->Height(), GetSystemMetrics(SM_CYHSCROLL) + (2 + 8) * Row + 5);
  EXPECT_GE(List->VisibleRowCount(), 8) << "the rows are not hidden by the scroll bar";
  ASSERT_TRUE(Painted(List));
  RECT Shown{}, Edit{};
  GetWindowRect(List->Handle(), &Shown);
  GetWindowRect(Combo->Handle(), &Edit);
  TPixelArea Picture = CaptureScreen(TRect(Edit.left - 10, Edit.top - 10, Shown.right + 10, Shown.bottom + 10));
  EXPECT_TRUE(WritePng(Picture, BuildPicturePath("qvdblook_list_sideways.png")));
  Press(VK_ESCAPE);
  ASSERT_TRUE(ListOpen(Combo, false));
}

// The list's size rules: DropDownCount 0 counts as one row; a combo 20 pixels wide or narrower
// never opens its list; without a lookup table a warning says so and nothing opens.
TEST_F(LookupComboTest, TheListOpensOnlyWhenItCanShowSomething) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  Combo->DropDownCount = 0;
  PressKey(VK_F4);
  ASSERT_TRUE(ListOpen(Combo));
  EXPECT_EQ(Combo->List()->Height(), Combo->List()->DefaultRowHeight() + 2) << "one row";
  Press(VK_ESCAPE);
  ASSERT_TRUE(ListOpen(Combo, false));

  Combo->SetWidth(20);
  Combo->DropDown();
  EXPECT_FALSE(Combo->ListVisible());
  EXPECT_FALSE(qvLookupComboMouseHookInstalled());
  Combo->SetWidth(200);

  auto* Bare = MakeCombo(10, 120);
  Script.Push(mrOk);
  Bare->DropDown();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "No lookup table specified!");
  EXPECT_FALSE(Bare->ListVisible());
  EXPECT_FALSE(qvLookupComboMouseHookInstalled());
}

// A style set at run time changes no text; the next key follows it.
TEST_F(LookupComboTest, AStyleSetAtRunTimeChangesNoTextAndRulesTheNextKey) {
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  Combo->SetStyle(csDropDownList);
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
  Press(VK_END, true);
  TypeText("x");
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey") << "a closed drop-down list takes no typing";
  Combo->SetStyle(csDropDown);
  Press(VK_END);
  TypeText("x");
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Vareyx");
  Press(VK_ESCAPE);
  EXPECT_EQ(Combo->Text(), "L'Abergement-de-Varey");
}

// A combo painting a grid cell shows the display value of the cell's key, found without moving
// the lookup table.
TEST_F(LookupComboTest, TheDisplayValueOfAKeyIsFoundWithoutMovingTheTable) {
  Show();
  Communes->First();
  String Shown;
  ASSERT_TRUE(Combo->MapValueToDisplay("13055", Shown));
  EXPECT_EQ(Shown, "Marseille");
  ASSERT_TRUE(Combo->MapValueToDisplay("99999", Shown));
  EXPECT_EQ(Shown, "");
  EXPECT_EQ(Communes->FieldByName("COM_LIB")->AsString(), "Abbécourt"_a);
}

// --- The shared mouse hook ---------------------------------------------------------------------

// Freeing a combo takes only its own use of the hook: the other's open list keeps it.
TEST_F(LookupComboTest, TheMouseHookIsFreedWhenTwoCombosAreFreedInEitherOrder) {
  for (bool OpenFirstFreed : {false, true}) {
    SCOPED_TRACE(OpenFirstFreed ? "the combo with the open list freed first" : "the other combo freed first");
    auto* A = MakeCombo(220, 10);
    A->SetLookupTable(Communes.get());
    A->SetLookupField("COM_CODE");
    auto* B = MakeCombo(220, 40);
    B->SetLookupTable(Communes.get());
    B->SetLookupField("COM_CODE");
    Show();
    ASSERT_TRUE(GiveFocus(A));
    A->DropDown();
    ASSERT_TRUE(ListOpen(A));
    EXPECT_TRUE(qvLookupComboMouseHookInstalled());
    if (OpenFirstFreed) {
      delete A;
      EXPECT_FALSE(qvLookupComboMouseHookInstalled());
      delete B;
    } else {
      delete B;
      EXPECT_TRUE(qvLookupComboMouseHookInstalled()) << "B's destructor took A's hook";
      EXPECT_EQ(qvLookupComboMouseHookUsers(), 1);
      delete A;
    }
    EXPECT_FALSE(qvLookupComboMouseHookInstalled());
    EXPECT_EQ(qvLookupComboMouseHookUsers(), 0);
    PumpPending();
  }
}

TEST_F(LookupComboTest, ThePictureOfTheOpenList) {
  Combo->SetOptions({loColLines, loRowLines, loTitles});
  Show();
  ASSERT_TRUE(GiveFocus(Combo));
  PressCombo(VK_MENU, VK_DOWN);
  ASSERT_TRUE(ListOpen(Combo));
  ASSERT_TRUE(Painted(Combo->List()));
  RECT List{}, Edit{};
  GetWindowRect(Combo->List()->Handle(), &List);
  GetWindowRect(Combo->Handle(), &Edit);
  TPixelArea Picture = CaptureScreen(TRect(Edit.left - 10, Edit.top - 10, List.right + 10, List.bottom + 10));
  EXPECT_TRUE(WritePng(Picture, BuildPicturePath("qvdblook_list_open.png")));
  // The record's row is drawn highlighted, and only it.
  int Current = Combo->List()->Row();
  ASSERT_EQ(Combo->List()->DataLink()->ActiveRecord() + 1, Current);
  TPoint Chosen = ListRowPoint(Combo, Current - Combo->List()->TitleRowCount());
  TPoint Other = ListRowPoint(Combo, Current == 1 ? 1 : Current - 2);
  TWindowDC Screen;
  EXPECT_EQ(GetPixel(Screen, Chosen.X, Chosen.Y), ColorToRGB(clHighlight));
  EXPECT_EQ(GetPixel(Screen, Other.X, Other.Y), ColorToRGB(clWindow));
  Press(VK_ESCAPE);
}

}  // namespace
