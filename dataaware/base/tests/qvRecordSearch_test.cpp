// Tests of the record search: the comparison of one value, then one table of searches run against
// an SQLite dataset (the rows in memory and Locate) and an in-memory test dataset (the record by
// record read), with the same answers: match kinds, case, text, integer, float, date and memo
// fields, apostrophes and accents, from the first and from the current record, and the record kept
// when nothing matches.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ADODB.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "Field.h"
#include "Forms.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "qvRecordSearch.h"
#include "qvTestDataSet.h"

namespace {

struct TMatchCase {
  const char* Value;
  const char* Text;  // upper-cased already when not case-sensitive
  TqvLocateMatchType Match;
  bool CaseSensitive;
  bool Expected;
};

TEST(TextMatches, EachMatchKindWithAndWithoutCase) {
  const TMatchCase Cases[] = {
      {"Marais d'Orx", "MARAIS D'ORX", mtExactMatch, false, true},
      {"Marais d'Orx", "MARAIS", mtExactMatch, false, false},
      {"Marais d'Orx", "Marais d'Orx", mtExactMatch, true, true},
      {"Marais d'Orx", "marais d'orx", mtExactMatch, true, false},
      {"Marais d'Orx", "MARAIS", mtPartialMatchStart, false, true},
      {"Marais d'Orx", "D'ORX", mtPartialMatchStart, false, false},
      {"Marais d'Orx", "D'ORX", mtPartialMatchAny, false, true},
      {"Marais d'Orx", "d'Orx", mtPartialMatchAny, true, true},
      {"Marais d'Orx", "d'orx", mtPartialMatchAny, true, false},
      // Accented letters have their upper case; a letter without its accent is another letter.
      {"l'étang du Moulin"_a, "L'ÉTANG"_a, mtPartialMatchStart, false, true},
      {"l'étang du Moulin"_a, "L'ETANG", mtPartialMatchStart, false, false},
      {"Étang"_a, "ÉTANG"_a, mtExactMatch, false, true},
      // Longer than the value: never.
      {"Orx", "ORX D", mtPartialMatchStart, false, false},
      {"Orx", "ORX D", mtPartialMatchAny, false, false},
      // An empty text matches an empty value exactly, and nothing else.
      {"", "", mtExactMatch, false, true},
      {"Orx", "", mtExactMatch, false, false},
      {"Orx", "", mtPartialMatchStart, false, false},
      {"", "", mtPartialMatchAny, true, false},
  };
  for (const TMatchCase& Case : Cases) {
    SCOPED_TRACE(String(Case.Value) + " / " + Case.Text);
    EXPECT_EQ(qvTextMatches(Case.Value, Case.Text, Case.Match, Case.CaseSensitive), Case.Expected);
  }
}

// The rows searched, as (ID, NOM, NB, SURFACE, DATE_OBS, NOTE). Row 2's note is rich text whose
// plain text holds "élégante" (its raw text holds "\'e9l\'e9gante").
struct TRowData {
  int Id;
  const char* Name;
  int Count;
  double Surface;
  int Year, Month, Day;
  const char* Note;
};
const char RichNote[] = "{\\rtf1\\ansi Prairie \\'e9l\\'e9gante}";
const TRowData Rows[] = {
    {1, "Abbaye de Saint-Léger"_a, 12, 12.5, 2001, 3, 4, "Roselière au bord"_a},
    {2, "l'Étang du Moulin"_a, 7, 3.25, 2005, 6, 7, RichNote},
    {3, "Marais d'Orx", 120, 150, 2010, 1, 2, "Tourbière"_a},
    {4, "ÉCOLE des marais"_a, 7, 0.5, 2001, 3, 5, "Mare temporaire"},
    {5, "étang du moulin"_a, 30, 12.5, 2012, 11, 30, ""},
};

struct TSearchCase {
  const char* Field;
  const char* Text;
  TqvLocateMatchType Match;
  bool CaseSensitive;
  int Start;     // the record the search starts from (its ID)
  bool First;    // from the first record, else from the one after Start
  int Expected;  // the record found (its ID), or 0: none, the dataset stays on Start
};

const TSearchCase SearchCases[] = {
    // Text: start, anywhere, exact; with and without case; from the first and the current record.
    {"NOM", "marais", mtPartialMatchStart, false, 5, true, 3},
    {"NOM", "marais", mtPartialMatchAny, false, 5, true, 3},
    {"NOM", "marais", mtPartialMatchAny, false, 3, false, 4},
    {"NOM", "marais", mtPartialMatchAny, true, 1, true, 4},
    {"NOM", "marais", mtPartialMatchAny, false, 4, false, 0},
    {"NOM", "l'étang"_a, mtPartialMatchStart, false, 4, true, 2},
    {"NOM", "l'Étang"_a, mtPartialMatchStart, true, 4, true, 2},
    {"NOM", "l'étang"_a, mtPartialMatchStart, true, 4, true, 0},
    {"NOM", "étang du moulin"_a, mtExactMatch, false, 1, true, 5},
    {"NOM", "ÉTANG DU MOULIN"_a, mtExactMatch, false, 1, true, 5},
    {"NOM", "ÉTANG DU MOULIN"_a, mtExactMatch, true, 1, true, 0},
    {"NOM", "etang du moulin", mtExactMatch, false, 1, true, 0},
    {"NOM", "étang"_a, mtPartialMatchAny, false, 2, false, 5},
    {"NOM", "d'Orx", mtPartialMatchAny, true, 1, false, 3},
    {"NOM", "Marais", mtPartialMatchStart, false, 3, false, 0},
    // Integers, read as their text.
    {"NB", "7", mtExactMatch, false, 1, true, 2},
    {"NB", "7", mtExactMatch, false, 2, false, 4},
    {"NB", "1", mtPartialMatchStart, false, 1, false, 3},
    {"NB", "0", mtPartialMatchAny, false, 3, false, 5},
    {"NB", "8", mtExactMatch, false, 3, true, 0},
    // Floats: exact by number (a trailing zero, or none), start and anywhere by text.
    {"SURFACE", "12,50", mtExactMatch, false, 3, true, 1},
    {"SURFACE", "12,5", mtExactMatch, false, 1, false, 5},
    {"SURFACE", "150,000", mtExactMatch, false, 1, true, 3},
    {"SURFACE", "abc", mtExactMatch, false, 2, true, 0},
    {"SURFACE", "3,2", mtPartialMatchStart, false, 1, true, 2},
    // Dates, read as their text.
    {"DATE_OBS", "05/03/2001", mtPartialMatchStart, false, 3, true, 4},
    {"DATE_OBS", "/2001", mtPartialMatchAny, false, 1, false, 4},
    // Memos: their plain text, rich text too.
    {"NOTE", "roselière"_a, mtPartialMatchAny, false, 3, true, 1},
    {"NOTE", "ÉLÉGANTE"_a, mtPartialMatchAny, false, 3, true, 2},
    {"NOTE", "\\'e9", mtPartialMatchAny, false, 3, true, 0},
    {"NOTE", "mare", mtPartialMatchStart, false, 2, false, 4},
};

// A search run on a dataset: from its Start record, the record it ends on.
int RunSearch(TDataSet* DataSet, const TSearchCase& Case, bool& Found) {
  EXPECT_TRUE(DataSet->Locate("ID", Variant(Case.Start), TLocateOptions{}));
  Found = qvFindFieldValue(Case.First, DataSet, Case.Field, Case.Text, Case.Match, Case.CaseSensitive, false);
  return DataSet->FieldByName("ID")->AsInteger();
}

void RunSearchTable(TDataSet* DataSet) {
  for (const TSearchCase& Case : SearchCases) {
    SCOPED_TRACE(String(Case.Field) + " '" + Case.Text + "' from " + std::to_string(Case.Start) +
                 (Case.First ? " (first)" : " (next)") + (Case.CaseSensitive ? " with case" : ""));
    bool Found = false;
    int Record = RunSearch(DataSet, Case, Found);
    EXPECT_EQ(Found, Case.Expected != 0);
    EXPECT_EQ(Record, Case.Expected != 0 ? Case.Expected : Case.Start);
  }
}

// The rows in an SQLite file of a temporary folder, read by the program's dataset class.
class SqliteSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    Path = OsPort::TempFolder() + "velbor-search-" + std::to_string(std::random_device()()) + ".mdb";
    {
      SqliteSession Session(Path, TSqliteOpenMode::CreateIfMissing);
      Session.ExecuteScript(
          "CREATE TABLE T_RECHERCHE (ID INTEGER PRIMARY KEY, NOM VARCHAR(40) COLLATE VELBOR, NB INTEGER, "
          "SURFACE DOUBLE, DATE_OBS DATETIME, NOTE MEMO COLLATE VELBOR);");
      SqliteStatement Insert = Session.Prepare("INSERT INTO T_RECHERCHE VALUES (:i, :n, :c, :s, :d, :o)");
      for (const TRowData& Row : Rows) {
        Insert.Bind("i", Variant(Row.Id));
        Insert.Bind("n", Variant(String(Row.Name)));
        Insert.Bind("c", Variant(Row.Count));
        Insert.Bind("s", Variant(Row.Surface));
        Insert.Bind("d", Variant::FromDate(EncodeDate(Row.Year, Row.Month, Row.Day)));
        Insert.Bind("o", Variant(String(Row.Note)));
        Insert.Execute();
        Insert.Reset();
      }
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->SetConnectionString("Data Source=" + Path);
    Connection->Open();
    DataSet = std::make_unique<TADOQuery>(nullptr);
    DataSet->SetConnection(Connection.get());
    DataSet->SQL()->SetText("SELECT * FROM T_RECHERCHE ORDER BY ID");
    DataSet->Open();
  }
  void TearDown() override {
    DataSet.reset();
    Connection.reset();
    OsPort::DeleteFile(Path);
  }
  String Path;
  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TADOQuery> DataSet;
};

TEST_F(SqliteSearch, TheTableOfSearches) { RunSearchTable(DataSet.get()); }

// One scroll for the record found: the rows are searched in memory, never by moving through them.
class TScrollCounter : public TObject {
 public:
  int Scrolls = 0;
  void AfterScroll(TDataSet*) { ++Scrolls; }
};

TEST_F(SqliteSearch, SearchesMoveOnceWithoutGoingThroughTheRecords) {
  TScrollCounter Counter;
  DataSet->AfterScroll = TDataSetNotifyEvent(&Counter, &TScrollCounter::AfterScroll);
  DataSet->First();
  Counter.Scrolls = 0;
  ASSERT_TRUE(qvFindFieldValue(false, DataSet.get(), "NOTE", "TEMPORAIRE", mtPartialMatchAny, false, false));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 4);
  EXPECT_EQ(Counter.Scrolls, 1);
  Counter.Scrolls = 0;
  EXPECT_FALSE(qvFindFieldValue(true, DataSet.get(), "NOM", "ZZZ", mtPartialMatchAny, false, false));
  EXPECT_EQ(Counter.Scrolls, 0);
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 4);
}

TEST_F(SqliteSearch, DeletedAndFilteredRowsAreNotFound) {
  ASSERT_TRUE(DataSet->Locate("ID", Variant(3), TLocateOptions{}));
  DataSet->Delete();
  DataSet->First();
  EXPECT_FALSE(qvFindFieldValue(true, DataSet.get(), "NOM", "MARAIS D", mtPartialMatchStart, false, false));
  DataSet->SetFilter("NB <> 7");
  DataSet->SetFiltered(true);
  DataSet->First();
  // Row 4 holds "marais" but is filtered out; row 2 too for "l'étang".
  EXPECT_FALSE(qvFindFieldValue(true, DataSet.get(), "NOM", "MARAIS", mtPartialMatchAny, false, false));
  EXPECT_FALSE(qvFindFieldValue(false, DataSet.get(), "NOM", "L'ÉTANG"_a, mtPartialMatchStart, false, false));
  EXPECT_TRUE(qvFindFieldValue(false, DataSet.get(), "NOM", "ÉTANG"_a, mtPartialMatchAny, false, false));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 5);
}

// The same table through the record by record read of a dataset of another kind.
class ScanSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    DataSet = std::make_unique<TSettingsDataSet>(std::vector<TColumn>{{"ID", ftInteger},
                                                                       {"NOM", ftString, 40},
                                                                       {"NB", ftInteger},
                                                                       {"SURFACE", ftFloat},
                                                                       {"DATE_OBS", ftDate},
                                                                       {"NOTE", ftMemo}});
    for (const TRowData& Row : Rows) {
      DataSet->AddRow({Variant(Row.Id), Variant(String(Row.Name)), Variant(Row.Count), Variant(Row.Surface),
                       Variant::FromDate(EncodeDate(Row.Year, Row.Month, Row.Day)), Variant()});
    }
    for (std::size_t i = 0; i < std::size(Rows); ++i) DataSet->SetMemo(int(i), "NOTE", Rows[i].Note);
    DataSet->Open();
  }
  std::unique_ptr<TSettingsDataSet> DataSet;
};

TEST_F(ScanSearch, TheTableOfSearches) { RunSearchTable(DataSet.get()); }

// A calculated field has no stored value: it is read record by record, on any dataset.
class TCalcNames : public TObject {
 public:
  void Calc(TDataSet* DataSet) {
    DataSet->FieldByName("LIBELLE")->SetAsString("Zone " + DataSet->FieldByName("NOM")->AsString());
  }
};

TEST_F(SqliteSearch, CalculatedFieldsAreSearchedRecordByRecord) {
  DataSet->Close();
  auto* Id = new TIntegerField(DataSet.get());
  Id->SetFieldName("ID");
  Id->SetDataSet(DataSet.get());
  auto* Name = new TStringField(DataSet.get());
  Name->SetFieldName("NOM");
  Name->SetSize(40);
  Name->SetDataSet(DataSet.get());
  auto* Calc = new TStringField(DataSet.get());
  Calc->SetFieldName("LIBELLE");
  Calc->SetSize(60);
  Calc->SetFieldKind(fkCalculated);
  Calc->SetDataSet(DataSet.get());
  TCalcNames Names;
  DataSet->OnCalcFields = TDataSetNotifyEvent(&Names, &TCalcNames::Calc);
  DataSet->Open();
  EXPECT_TRUE(qvFindFieldValue(true, DataSet.get(), "LIBELLE", "ZONE MARAIS", mtPartialMatchStart, false, false));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 3);
  EXPECT_FALSE(qvFindFieldValue(false, DataSet.get(), "LIBELLE", "ZONE MARAIS", mtPartialMatchStart, false, false));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 3);
}

TEST_F(SqliteSearch, AMissingFieldIsNamedInAWarning) {
  TModalScript Script;
  Script.Push(mrOk);
  DataSet->Last();
  EXPECT_FALSE(qvFindFieldValue(true, DataSet.get(), "COMMUNE", "X", mtExactMatch, false, false));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Field COMMUNE not found.");
  EXPECT_EQ(Script.Asked[0].DlgType, mtWarning);
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 5);
}

TEST_F(SqliteSearch, LocateFieldValueKeepsTheRecordThatAlreadyHoldsTheValue) {
  TScrollCounter Counter;
  ASSERT_TRUE(DataSet->Locate("ID", Variant(5), TLocateOptions{}));
  DataSet->AfterScroll = TDataSetNotifyEvent(&Counter, &TScrollCounter::AfterScroll);
  // Row 2 holds the same name in other letter cases; the current row is kept.
  EXPECT_TRUE(qvLocateFieldValue(DataSet.get(), "ÉTANG DU MOULIN"_a, "NOM", mtExactMatch, false));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 5);
  EXPECT_EQ(Counter.Scrolls, 0);
  // With case it is another value: the search runs from the first record.
  EXPECT_FALSE(qvLocateFieldValue(DataSet.get(), "ÉTANG DU MOULIN"_a, "NOM", mtExactMatch, true));
  EXPECT_TRUE(qvLocateFieldValue(DataSet.get(), "Marais d'Orx", "NOM", mtExactMatch, true));
  EXPECT_EQ(DataSet->FieldByName("ID")->AsInteger(), 3);
}

}  // namespace
