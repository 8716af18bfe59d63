// Tests of the index combo on a shown form over an engine table of an SQLite file: the entries it
// lists for the table's indexes (by first-field label or by index name), choosing one by the list
// or the keys switches the table's order and the incremental search's field, the combo following
// an order set by the program, a table without indexes, the datasets it refuses and the
// datasets that sort by field names.
#include <random>

#include "ControlsTestSupport.h"
#include "OsPort.h"
#include "Qvkeycb.h"
#include "SqliteTableData.h"
#include "Timer.h"

namespace {

// Zone: CODE (integer primary key), LIB (text in the program's order, labelled "Nom~du~site"),
// DEPT (text compared byte for byte), SURFACE (real), PHOTO (blob). Indexes, listed by name:
// AIRE (SURFACE, CODE), DEPTA (DEPT), DEPTB (DEPT, LIB: case-insensitive through LIB), LIBDESC
// (LIB descending), ZSURFACE (SURFACE).
const char* const ZoneScript =
    "CREATE TABLE Zone (CODE INTEGER PRIMARY KEY, LIB TEXT COLLATE VELBOR, DEPT TEXT, SURFACE REAL, PHOTO BLOB);"
    "CREATE INDEX AIRE ON Zone (SURFACE, CODE);"
    "CREATE INDEX DEPTA ON Zone (DEPT);"
    "CREATE INDEX DEPTB ON Zone (DEPT, LIB);"
    "CREATE INDEX LIBDESC ON Zone (LIB DESC);"
    "CREATE INDEX ZSURFACE ON Zone (SURFACE);"
    "CREATE TABLE Plain (NOM TEXT, NUM INTEGER);"
    "INSERT INTO Plain VALUES ('b', 2), ('a', 1);";

// Publishes "Selected" as the grid does: one line per shown field, its name first.
class TGridColumns : public TComponent {
  VELBOR_DECLARE_CLASS(TGridColumns, TComponent)
 public:
  explicit TGridColumns(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  ~TGridColumns() override { delete FSelected; }
  TStrings* Selected() const { return FSelected; }
  void SetSelected(TStrings* Value) { FSelected->Assign(Value); }

 private:
  TStringList* FSelected = new TStringList();
};
VELBOR_IMPLEMENT_CLASS(TGridColumns)
VELBOR_PUBLISHED(TGridColumns, Prop("Selected", &Self::Selected, &Self::SetSelected))

class KeyComboTest : public StdFormTest, public SqliteTableData {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Folder = OsPort::TempFolder() + "velbor-keycb-" + std::to_string(std::random_device()());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder));
    String Script = String(ZoneScript) + "INSERT INTO Zone VALUES (1, 'Lagune', '34', 12.5, NULL),"
                    " (2, 'étang', '30', 3.0, NULL), (3, 'Marais', '34', 40.0, NULL),"
                    " (4, 'Étang d''eau', '13', 3.5, NULL), (5, 'Baie', '30', 7.0, NULL);"_a;
    MakeTableData(Folder + "\\zones.db", Script, "Zone");
    Table->Open();
    Table->FieldByName("LIB")->SetDisplayLabel("Nom~du~site");
    Source = new TDataSource(Form.get());
    Source->SetDataSet(Table.get());
    Combo = Add<TqvKeyCombo>(20, 20, 180);
    Combo->OnCloseUp = TqvKeyComboCloseUpEvent(this, &KeyComboTest::ClosedUp);
    Combo->SetDataSource(Source);
    Other = Add<TEdit>(20, 200, 100, 22);
  }
  void TearDown() override {
    StdFormTest::TearDown();
    FreeTableData();
    OsPort::DeleteFile(Folder + "\\zones.db");
    OsPort::RemoveDirectory(Folder);
  }
  void ClosedUp(TqvKeyCombo* Sender, bool Select) {
    EXPECT_EQ(Sender, Combo);
    CloseUps.push_back(Select);
  }
  std::vector<String> Entries() {
    std::vector<String> Result;
    for (int i = 0; i < Combo->Items()->Count(); ++i) Result.push_back(Combo->Items()->Strings(i));
    return Result;
  }
  String Codes() {
    String Result;
    for (Table->First(); !Table->Eof(); Table->Next()) Result += (Result.empty() ? "" : ",") + Table->FieldByName("CODE")->AsString();
    Table->First();
    return Result;
  }
  bool ListShown() { return Combo->ListVisible() && IsWindowVisible(Combo->ListBox()->Handle()); }
  // Drops the list down with Alt+Down and clicks the entry Text in it.
  testing::AssertionResult ChooseByClick(const String& Text) {
    PressCombo(VK_MENU, VK_DOWN);
    if (!WaitFor("the list shown", [&] { return ListShown(); })) return testing::AssertionFailure() << "no list";
    TqvPopupListbox* List = Combo->ListBox();
    int Index = List->Items()->IndexOf(Text);
    if (Index < 0) return testing::AssertionFailure() << "no entry " << Text;
    TRect Row = List->ItemRect(Index);
    ClickAt(OnScreen(List, Row.Left + 10, (Row.Top + Row.Bottom) / 2));
    return WaitFor("the list closing", [&] { return !ListShown(); });
  }

  String Folder;
  TDataSource* Source = nullptr;
  TqvKeyCombo* Combo = nullptr;
  TEdit* Other = nullptr;
  std::vector<bool> CloseUps;
};

using Names = std::vector<String>;

TEST_F(KeyComboTest, ListsOneEntryPerFirstFieldAndDirectionOrEveryIndexByName) {
  EXPECT_EQ(Entries(), (Names{"CODE", "SURFACE", "DEPT", "Nom du site - Desc"}))
      << "DEPTB and ZSURFACE begin like DEPTA and AIRE: one entry each";
  EXPECT_EQ(Combo->Text(), "CODE") << "no index named: the primary index is current";
  Combo->SetShowAllIndexes(true);
  EXPECT_EQ(Entries(), (Names{"PrimaryKey", "AIRE", "DEPTA", "DEPTB", "LIBDESC", "ZSURFACE"}));
  EXPECT_EQ(Combo->Text(), "PrimaryKey");
  Combo->PrimaryKeyName = "Clé"_a;
  Combo->RefreshItems();
  EXPECT_EQ(Entries().front(), "Clé"_a);
  Combo->SetShowAllIndexes(false);
  // A hidden field's indexes are not offered.
  Table->FieldByName("DEPT")->SetVisible(false);
  Combo->RefreshItems();
  EXPECT_EQ(Entries(), (Names{"CODE", "SURFACE", "Nom du site - Desc"}));
}

TEST_F(KeyComboTest, AGridDecidesWhichFieldsAreShown) {
  // Only the fields the grid lists count as shown, whatever their own Visible.
  TGridColumns Grid;
  Grid.Selected()->Add("LIB\t20\tNom");
  Grid.Selected()->Add("SURFACE\t10\tSurface");
  Table->FieldByName("LIB")->SetVisible(false);
  Combo->RefreshItems(&Grid);
  EXPECT_EQ(Entries(), (Names{"SURFACE", "Nom du site - Desc"}));
  // An object that publishes no "Selected" shows no field.
  Combo->RefreshItems(Source);
  EXPECT_EQ(Entries(), Names{});
}

TEST_F(KeyComboTest, ChoosingAnEntryInTheListSwitchesTheTablesOrder) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  ASSERT_TRUE(ChooseByClick("Nom du site - Desc"));
  EXPECT_EQ(Table->IndexName(), "LIBDESC");
  EXPECT_EQ(Codes(), "3,1,4,2,5") << "Marais, Lagune, Étang d'eau, étang, Baie";
  // The table made its fields again when it reopened in the new order: the label is the name.
  EXPECT_EQ(Combo->Text(), "LIB - Desc");
  ASSERT_EQ(CloseUps, std::vector<bool>{true});
  // The shared entry applies the case-insensitive index first, then the one of that field alone.
  ASSERT_TRUE(ChooseByClick("DEPT"));
  EXPECT_EQ(Table->IndexName(), "DEPTB") << "case-insensitive, though DEPTA comes first and is single";
  EXPECT_EQ(Codes(), "4,5,2,1,3");
  ASSERT_TRUE(ChooseByClick("SURFACE"));
  EXPECT_EQ(Table->IndexName(), "ZSURFACE") << "no case-insensitive one: the single-field index";
  EXPECT_EQ(Codes(), "2,4,5,1,3");
}

// Escape closes the list and leaves the table's order as it was, also after a choice made since
// the combo took the focus and after the list's selection moved.
TEST_F(KeyComboTest, EscapeClosesTheListAndKeepsTheOrder) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  ASSERT_TRUE(ChooseByClick("DEPT"));
  ASSERT_EQ(Table->IndexName(), "DEPTB");
  for (bool MoveFirst : {false, true}) {
    SCOPED_TRACE(MoveFirst ? "after moving in the list" : "right after opening");
    PressCombo(VK_MENU, VK_DOWN);
    ASSERT_TRUE(WaitFor("the list shown", [&] { return ListShown(); }));
    if (MoveFirst) {
      Press(VK_DOWN);
      PumpPending();
    }
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the list closing", [&] { return !ListShown(); }));
    PumpPending();
    EXPECT_EQ(Table->IndexName(), "DEPTB");
    EXPECT_EQ(Codes(), "4,5,2,1,3");
    EXPECT_EQ(Combo->Text(), "DEPT");
    EXPECT_TRUE(Combo->Focused());
  }
  EXPECT_EQ(CloseUps, (std::vector<bool>{true, false, false}));
  // Escape with the list closed changes no order either.
  Press(VK_ESCAPE);
  PumpPending();
  EXPECT_EQ(Table->IndexName(), "DEPTB");
  EXPECT_EQ(Combo->Text(), "DEPT");
}

TEST_F(KeyComboTest, TheArrowKeysStepThroughTheOrders) {
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the next order", [&] { return Table->IndexName() == "ZSURFACE"; }));
  EXPECT_EQ(Combo->Text(), "SURFACE");
  EXPECT_EQ(Codes(), "2,4,5,1,3");
  Press(VK_UP);
  ASSERT_TRUE(WaitFor("the primary order", [&] { return Table->IndexName() == "PrimaryKey"; }));
  EXPECT_EQ(Combo->Text(), "CODE");
  EXPECT_EQ(Codes(), "1,2,3,4,5");
}

TEST_F(KeyComboTest, ByIndexNameThePrimaryEntryReadsInPrimaryKeyOrder) {
  Combo->SetShowAllIndexes(true);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  ASSERT_TRUE(ChooseByClick("DEPTA"));
  EXPECT_EQ(Table->IndexName(), "DEPTA");
  EXPECT_EQ(Combo->Text(), "DEPTA");
  ASSERT_TRUE(ChooseByClick("PrimaryKey"));
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  EXPECT_EQ(Combo->Text(), "PrimaryKey");
}

TEST_F(KeyComboTest, TheComboFollowsAnOrderSetByTheProgram) {
  ShowForm();
  Table->SetIndexName("LIBDESC");
  EXPECT_EQ(Combo->Text(), "LIB - Desc") << "the reopened table's field has no label of its own";
  Table->SetIndexName("DEPTA");
  EXPECT_EQ(Combo->Text(), "DEPT");
  // Moving through the records keeps the entry and the items.
  Table->Last();
  EXPECT_EQ(Combo->Text(), "DEPT");
  EXPECT_EQ(Entries().size(), 4u);
}

TEST_F(KeyComboTest, TheChosenOrderIsTheIncrementalSearchsField) {
  auto* Search = Add<TqvIncrementalSearch>(220, 20, 150, 22);
  Search->SetDataSource(Source);
  std::vector<bool> Found;
  struct TAfter : TObject {
    std::vector<bool>* Results;
    void AfterSearch(TqvIncrementalSearch*, bool MatchFound) { Results->push_back(MatchFound); }
  } After;
  After.Results = &Found;
  Search->OnAfterSearch = TqvAfterSearchEvent(&After, &TAfter::AfterSearch);
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  ASSERT_TRUE(ChooseByClick("DEPT"));
  ASSERT_TRUE(GiveFocus(Search));
  TypeText("3");
  ASSERT_TRUE(WaitFor("the search by department", [&] { return !Found.empty() && !Search->SearchTimer()->Enabled(); }));
  EXPECT_TRUE(Found.back());
  EXPECT_EQ(Table->FieldByName("CODE")->AsInteger(), 5) << "the first record of department 30 in DEPTB's order";

  ASSERT_TRUE(GiveFocus(Combo));
  ASSERT_TRUE(ChooseByClick("SURFACE"));
  ASSERT_TRUE(GiveFocus(Search));
  Search->Clear();
  std::size_t Before = Found.size();
  TypeText("7");
  ASSERT_TRUE(WaitFor("the search by area", [&] { return Found.size() > Before && !Search->SearchTimer()->Enabled(); }));
  EXPECT_TRUE(Found.back());
  EXPECT_EQ(Table->FieldByName("CODE")->AsInteger(), 5) << "the area 7";
  EXPECT_EQ(Table->FieldByName("LIB")->AsString(), "Baie");
}

TEST_F(KeyComboTest, ATableWithoutIndexesOffersNothing) {
  auto Bare = std::make_unique<TTable>(nullptr);
  Bare->SetConnection(Connection.get());
  Bare->SetTableName("Plain");
  Bare->Open();
  TDataSource BareSource(nullptr);
  BareSource.SetDataSet(Bare.get());
  Combo->SetDataSource(&BareSource);
  EXPECT_EQ(Entries(), Names{});
  EXPECT_EQ(Combo->ItemIndex(), -1);
  Combo->SetShowAllIndexes(true);
  EXPECT_EQ(Entries(), Names{});
  Combo->SetDataSource(nullptr);
  EXPECT_TRUE(Script.Asked.empty()) << AskedTexts(Script);
}

TEST_F(KeyComboTest, ADatasetWithoutSortOrdersIsRefusedWithAWarning) {
  TADOQuery Query(nullptr);
  Query.SetConnection(Connection.get());
  Query.SQL()->SetText("SELECT * FROM Plain");
  TDataSource QuerySource(nullptr);
  QuerySource.SetDataSet(&Query);
  Script.Push(mrOk);
  Combo->SetDataSource(&QuerySource);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "DataSource must point to a dataset containing index information.");
  EXPECT_EQ(Combo->DataSource(), Source) << "the data source is not taken";
}

TEST_F(KeyComboTest, AFreedDataSourceIsLetGo) {
  delete Source;
  EXPECT_EQ(Combo->DataSource(), nullptr);
  Source = nullptr;
}

TEST_F(KeyComboTest, ADatasetSortedByFieldNamesListsItsSortableFields) {
  TADOTable Ado(nullptr);
  Ado.SetConnection(Connection.get());
  Ado.SetTableName("Zone");
  Ado.Open();
  Ado.FieldByName("LIB")->SetDisplayLabel("Nom~du~site");
  Ado.FieldByName("SURFACE")->SetVisible(false);
  Ado.SetIndexFieldNames("LIB;DEPT");
  TDataSource AdoSource(nullptr);
  AdoSource.SetDataSet(&Ado);
  Combo->SetDataSource(&AdoSource);
  EXPECT_EQ(Entries(), (Names{"CODE", "Nom du site", "DEPT"})) << "no blob, no hidden field";
  EXPECT_EQ(Combo->Text(), "Nom du site") << "the first of the sort fields";
  Combo->SetShowAllIndexes(true);
  EXPECT_EQ(Entries(), (Names{"CODE", "Nom du site", "DEPT", "SURFACE"}));
  ShowForm();
  ASSERT_TRUE(GiveFocus(Combo));
  ASSERT_TRUE(ChooseByClick("DEPT"));
  EXPECT_EQ(Ado.IndexFieldNames(), "DEPT");
  ASSERT_TRUE(ChooseByClick("Nom du site"));
  EXPECT_EQ(Ado.IndexFieldNames(), "LIB") << "found by its label with blanks for the tildes";
  Combo->SetDataSource(nullptr);
}

}  // namespace
