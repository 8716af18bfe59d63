// Tests of how TCustomADODataSet reads its rows: as they are first needed (opening reads the first
// window; navigation, Last, RecordCount, record numbers, searches and bookmarks read on), with the
// statement kept under way until then; and every pending reading finished before anything writes
// to the file, closing or a failed step letting the statement go.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstring>
#include <functional>

#include "ADOTestDatabase.h"
#include "StrUtils.h"

namespace {

// The rows SQLite has produced for the statements of the fixture: its WHERE clause calls seen(ID)
// once for each row it steps over. seen fails on the row whose ID is FailAt.
struct TRowCounter {
  int Seen = 0;
  long long FailAt = -1;
};

void SeenFunction(sqlite3_context* Context, int, sqlite3_value** Values) {
  auto* Counter = static_cast<TRowCounter*>(sqlite3_user_data(Context));
  long long Id = sqlite3_value_int64(Values[0]);
  if (Id == Counter->FailAt) {
    sqlite3_result_error(Context, "lecture interrompue", -1);
    return;
  }
  ++Counter->Seen;
  sqlite3_result_int(Context, 1);
}

constexpr int kRows = 1000;
const char* const kAllRows = "select ID, NOM, V from T_LIGNE where seen(ID) order by ID";

class ADOReadingTest : public ADOTest {
 protected:
  void SetUp() override {
    ADOTest::SetUp();
    SqliteSession& Session = *Connection->Session();
    Session.Execute("create table T_LIGNE (ID INTEGER PRIMARY KEY, NOM VARCHAR(40) NOT NULL, V INTEGER)");
    Session.BeginTransaction();
    SqliteStatement Insert = Session.Prepare("insert into T_LIGNE values (?, ?, ?)");
    for (int i = 1; i <= kRows; ++i) {
      Insert.Reset();
      Insert.BindInt64(1, i);
      Insert.BindText(2, Format("ligne %.4d", {i}));
      Insert.BindInt64(3, i % 7);
      Insert.Execute();
    }
    Session.Commit();
    ASSERT_EQ(sqlite3_create_function_v2(Session.Handle(), "seen", 1, SQLITE_UTF8, &Counter, SeenFunction, nullptr,
                                         nullptr, nullptr),
              SQLITE_OK);
  }

  int Id(TDataSet* DataSet) { return DataSet->FieldByName("ID")->AsInteger(); }

  TRowCounter Counter;
};

TEST_F(ADOReadingTest, OpeningReadsOnlyTheFirstWindowAndNavigationReadsOn) {
  auto Lines = OpenDataSet(kAllRows, ltReadOnly);
  EXPECT_LE(Counter.Seen, 2);
  EXPECT_TRUE(SqliteSession::HasPendingReads());
  EXPECT_EQ(Id(Lines.get()), 1);
  for (int i = 0; i < 9; ++i) Lines->Next();
  EXPECT_EQ(Id(Lines.get()), 10);
  EXPECT_EQ(Lines->RecNo(), 10);
  EXPECT_LE(Counter.Seen, 12);
  EXPECT_EQ(Lines->MoveBy(-5), -5);
  EXPECT_EQ(Id(Lines.get()), 5);
  // Walking to the end reads every row once, and the statement goes.
  int Count = 5;
  while (!Lines->Eof()) {
    Lines->Next();
    if (!Lines->Eof()) ++Count;
  }
  EXPECT_EQ(Count, kRows);
  EXPECT_EQ(Counter.Seen, kRows);
  EXPECT_FALSE(SqliteSession::HasPendingReads());
  EXPECT_EQ(Lines->RecordCount(), kRows);
  EXPECT_EQ(Counter.Seen, kRows);
}

// Each operation reads as far as it needs, and what it answers is what a whole reading gives.
TEST_F(ADOReadingTest, EachOperationReadsAsFarAsItNeeds) {
  struct TCase {
    const char* What;
    void (*Run)(TCustomADODataSet* DataSet);
    int Id;        // the current row's ID afterwards
    int MinRead;   // rows SQLite stepped over, at least and at most
    int MaxRead;
  };
  const TCase Cases[] = {
      {"RecordCount", [](TCustomADODataSet* D) { EXPECT_EQ(D->RecordCount(), kRows); }, 1, kRows, kRows},
      {"Last", [](TCustomADODataSet* D) { D->Last(); EXPECT_EQ(D->RecNo(), kRows); }, kRows, kRows, kRows},
      {"SetRecNo", [](TCustomADODataSet* D) { D->SetRecNo(300); }, 300, 300, 310},
      {"Locate", [](TCustomADODataSet* D) { EXPECT_TRUE(D->Locate("NOM", "LIGNE 0500", {loCaseInsensitive})); }, 500,
       500, 510},
      {"Locate of a missing row",
       [](TCustomADODataSet* D) { EXPECT_FALSE(D->Locate("NOM", "ligne 5000", {})); }, 1, kRows, kRows},
      {"Lookup",
       [](TCustomADODataSet* D) { EXPECT_EQ(D->Lookup("ID", 250, "NOM").AsString(), "ligne 0250"); }, 1, 250, 251},
      {"filter", [](TCustomADODataSet* D) {
         D->SetFilter("V = 0");
         D->SetFiltered(true);
         D->Next();
       }, 14, 14, 20},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    Counter.Seen = 0;
    auto Lines = OpenDataSet(kAllRows, ltReadOnly);
    Case.Run(Lines.get());
    EXPECT_EQ(Id(Lines.get()), Case.Id);
    EXPECT_GE(Counter.Seen, Case.MinRead);
    EXPECT_LE(Counter.Seen, Case.MaxRead);
    // The rest reads on from there: every row, once.
    Lines->SetFiltered(false);
    EXPECT_EQ(Lines->RecordCount(), kRows);
    EXPECT_EQ(Counter.Seen, kRows);
  }
}

TEST_F(ADOReadingTest, RecordSearchAndMaxRecordsReadOnlyWhatTheyReach) {
  auto Lines = OpenDataSet(kAllRows, ltReadOnly);
  bool Handled = false;
  EXPECT_TRUE(Lines->SearchRows(
      Lines->FieldByName("NOM"), [](std::string_view Text) { return Text == "ligne 0042"; }, false, Handled));
  EXPECT_TRUE(Handled);
  EXPECT_EQ(Id(Lines.get()), 42);
  EXPECT_LE(Counter.Seen, 50);

  Counter.Seen = 0;
  auto Cut = std::make_unique<TADODataSet>(nullptr);
  Cut->SetConnection(Connection.get());
  Cut->MaxRecords = 10;
  Cut->SetCommandText(kAllRows);
  Cut->Open();
  EXPECT_EQ(Cut->RecordCount(), 10);
  Cut->Last();
  EXPECT_EQ(Id(Cut.get()), 10);
  EXPECT_EQ(Counter.Seen, 10);
}

TEST_F(ADOReadingTest, BookmarksNameReadRowsAndAreFoundAgain) {
  auto Lines = OpenDataSet(kAllRows, ltReadOnly);
  TBookmark First = Lines->GetBookmark();
  ASSERT_TRUE(Lines->Locate("ID", 700, {}));
  TBookmark Deep = Lines->GetBookmark();
  Lines->First();
  EXPECT_TRUE(Lines->BookmarkValid(Deep));
  EXPECT_EQ(Lines->CompareBookmarks(First, Deep), -1);
  Lines->GotoBookmark(Deep);
  EXPECT_EQ(Id(Lines.get()), 700);
  // A bookmark no row was given yet (from past the rows read) names no row, and looking at it
  // reads nothing more.
  int Read = Counter.Seen;
  TBookmark Unknown = Deep;
  int Beyond = 5000;
  std::memcpy(Unknown.data(), &Beyond, sizeof Beyond);
  EXPECT_FALSE(Lines->BookmarkValid(Unknown));
  EXPECT_THROW(Lines->GotoBookmark(Unknown), EDatabaseError);
  EXPECT_EQ(Counter.Seen, Read);
  EXPECT_EQ(Id(Lines.get()), 700);
  // Refreshed, the dataset stays on the row at the same place, read again.
  Connection->Execute("update T_LIGNE set NOM = 'changée' where ID = 700"_a);
  Lines->Refresh();
  EXPECT_EQ(Id(Lines.get()), 700);
  EXPECT_EQ(Lines->FieldByName("NOM")->AsString(), "changée"_a);
}

TEST_F(ADOReadingTest, CachedChangesWhileRowsAreStillToReadAreWrittenWhole) {
  auto Lines = OpenDataSet(kAllRows, ltBatchOptimistic);
  Lines->Edit();
  Lines->FieldByName("NOM")->SetAsString("première"_a);
  Lines->Post();
  Lines->MoveBy(4);
  Lines->Delete();  // ID 5
  EXPECT_EQ(Id(Lines.get()), 6);
  Lines->Insert();
  Lines->FieldByName("ID")->SetAsInteger(2001);
  Lines->FieldByName("NOM")->SetAsString("insérée"_a);
  Lines->Post();
  // Nothing written yet: the statement is still under way, having read only these rows.
  EXPECT_TRUE(SqliteSession::HasPendingReads());
  EXPECT_LT(Counter.Seen, 20);
  EXPECT_EQ(Lines->RecNo(), 5);
  Lines->Append();
  Lines->FieldByName("ID")->SetAsInteger(2002);
  Lines->FieldByName("NOM")->SetAsString("ajoutée"_a);
  Lines->Post();
  // An appended row goes after the last row of the statement.
  EXPECT_EQ(Counter.Seen, kRows);
  EXPECT_EQ(Lines->RecNo(), kRows + 1);
  Lines->Prior();
  EXPECT_EQ(Id(Lines.get()), kRows);
  EXPECT_EQ(Lines->RecordCount(), kRows + 1);
  EXPECT_TRUE(Lines->HasPendingChanges());
  Lines->UpdateBatch();
  EXPECT_EQ(CountOf("select count(*) from T_LIGNE"), kRows + 1);
  EXPECT_EQ(ReadBack("select NOM from T_LIGNE where ID = 1").AsString(), "première"_a);
  EXPECT_EQ(CountOf("select count(*) from T_LIGNE where ID = 5"), 0);
  EXPECT_EQ(ReadBack("select NOM from T_LIGNE where ID = 2001").AsString(), "insérée"_a);
  EXPECT_EQ(ReadBack("select NOM from T_LIGNE where ID = 2002").AsString(), "ajoutée"_a);
}

TEST_F(ADOReadingTest, CancelledChangesLeaveTheRowsAsRead) {
  auto Lines = OpenDataSet(kAllRows, ltBatchOptimistic);
  Lines->Next();
  Lines->Delete();  // ID 2
  Lines->Insert();
  Lines->FieldByName("ID")->SetAsInteger(3001);
  Lines->FieldByName("NOM")->SetAsString("annulée"_a);
  Lines->Post();
  Lines->CancelBatch();
  EXPECT_FALSE(Lines->HasPendingChanges());
  EXPECT_EQ(Lines->RecordCount(), kRows);
  Lines->SetRecNo(2);
  EXPECT_EQ(Id(Lines.get()), 2);
  EXPECT_EQ(CountOf("select count(*) from T_LIGNE"), kRows);
}

// A write has every pending reading finished first, from the rows as they were: a statement under
// way would otherwise see (or not) the rows written meanwhile, and would keep the file locked
// against another connection's commit.
TEST_F(ADOReadingTest, AWriteHasThePendingReadsFinishedFirst) {
  struct TCase {
    const char* What;
    std::function<void()> Write;
  };
  const TCase Cases[] = {
      {"a statement of the connection",
       [this] { Connection->Execute("insert into T_LIGNE values (1001, 'nouvelle', 0)"); }},
      {"a transaction", [this] {
         Connection->BeginTrans();
         Connection->Execute("delete from T_LIGNE where ID > 990");
         Connection->CommitTrans();
       }},
      {"another connection to the file", [this] {
         SqliteSession Other(DatabasePath);
         EXPECT_EQ(Other.Execute("update T_LIGNE set V = 99"), kRows);
       }},
      {"a post of another dataset", [this] {
         auto Writer = OpenDataSet("select * from T_LIGNE where ID = 1000");
         Writer->Edit();
         Writer->FieldByName("NOM")->SetAsString("écrite"_a);
         Writer->Post();
       }},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    Connection->Session()->ExecuteScript(
        "delete from T_LIGNE; with recursive N(I) as (select 1 union all select I + 1 from N where I < 1000) "
        "insert into T_LIGNE select I, 'ligne ' || substr('000' || I, -4), I % 7 from N");
    Counter.Seen = 0;
    auto Lines = OpenDataSet(kAllRows, ltReadOnly);
    Lines->Next();
    ASSERT_TRUE(SqliteSession::HasPendingReads());
    Case.Write();
    EXPECT_FALSE(SqliteSession::HasPendingReads());
    EXPECT_EQ(Counter.Seen, kRows);
    // The rows are those of before the write, and the position has not moved.
    EXPECT_EQ(Id(Lines.get()), 2);
    EXPECT_EQ(Lines->RecordCount(), kRows);
    Lines->Last();
    EXPECT_EQ(Id(Lines.get()), kRows);
    EXPECT_EQ(Lines->FieldByName("NOM")->AsString(), "ligne 1000");
    EXPECT_EQ(Lines->FieldByName("V")->AsInteger(), kRows % 7);
  }
}

TEST_F(ADOReadingTest, ClosingLetsTheStatementGo) {
  auto Lines = OpenDataSet(kAllRows, ltReadOnly);
  ASSERT_TRUE(SqliteSession::HasPendingReads());
  Lines->Close();
  EXPECT_FALSE(SqliteSession::HasPendingReads());
  auto Other = OpenDataSet(kAllRows, ltReadOnly);
  EXPECT_TRUE(SqliteSession::HasPendingReads());
  Other.reset();  // destroyed while reading
  EXPECT_FALSE(SqliteSession::HasPendingReads());
  Lines->Open();
  EXPECT_TRUE(SqliteSession::HasPendingReads());
  // The connection closes its datasets, and with them their statements, before the file.
  Connection->Close();
  EXPECT_FALSE(Lines->Active());
  EXPECT_FALSE(SqliteSession::HasPendingReads());
  // Opened again, reading starts over.
  Connection->Open();
  ASSERT_EQ(sqlite3_create_function_v2(Connection->Session()->Handle(), "seen", 1, SQLITE_UTF8, &Counter, SeenFunction,
                                       nullptr, nullptr, nullptr),
            SQLITE_OK);
  Counter.Seen = 0;
  Lines->Open();
  EXPECT_EQ(Lines->RecordCount(), kRows);
  EXPECT_EQ(Counter.Seen, kRows);
}

TEST_F(ADOReadingTest, AStepThatFailsRaisesItsErrorAndKeepsTheRowsRead) {
  Counter.FailAt = 600;
  auto Lines = OpenDataSet(kAllRows, ltReadOnly);
  try {
    Lines->Locate("ID", 700, {});
    FAIL() << "the failed step raised nothing";
  } catch (EDatabaseError& E) {
    EXPECT_NE(E.Message.find("lecture interrompue"), String::npos) << E.Message;
  }
  EXPECT_FALSE(SqliteSession::HasPendingReads());
  // The dataset stays open on the rows read before the failure.
  EXPECT_TRUE(Lines->Active());
  EXPECT_EQ(Lines->RecordCount(), 599);
  Lines->Last();
  EXPECT_EQ(Id(Lines.get()), 599);
  // A write that had the reading finished meets the error once; the write is not done, and the
  // next one goes through.
  auto Again = OpenDataSet(kAllRows, ltReadOnly);
  EXPECT_THROW(Connection->Execute("delete from T_LIGNE where ID = 1"), EDatabaseError);
  EXPECT_EQ(CountOf("select count(*) from T_LIGNE where ID = 1"), 1);
  EXPECT_EQ(Connection->Execute("delete from T_LIGNE where ID = 1"), 1);
}

}  // namespace
