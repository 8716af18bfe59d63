// Tests of the engine datasets: a query over its lines of SQL, a dataset reaching its database by
// file name, engine filters on a query, and the stored procedure that SQLite cannot give.
#include <gtest/gtest.h>

#include "DBTables.h"
#include "Field.h"
#include "SqliteSession.h"
#include "Strings.h"
#include "TestFolder.h"

namespace {
class DBTablesTest : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    Path = PathOf("engine.db");
    SqliteSession Session(Path, TSqliteOpenMode::CreateIfMissing);
    Session.ExecuteScript(
        "CREATE TABLE Site (Code INTEGER PRIMARY KEY, Nom TEXT);"
        "INSERT INTO Site VALUES (1, 'Lagune'), (2, 'Marais'), (3, 'Lande'), (4, 'Baie');");
  }
  String Path;
};

String Codes(TDataSet& Set) {
  String Result;
  for (Set.First(); !Set.Eof(); Set.Next()) Result += (Result.empty() ? "" : ",") + Set.FieldByName("Code")->AsString();
  return Result;
}

bool StartsWithL(void*, TDataSet* Set) { return Set->FieldByName("Nom")->AsString().compare(0, 1, "L") == 0; }

TEST_F(DBTablesTest, AQueryReadsItsLinesFromTheDatabaseItNames) {
  TQuery Query(nullptr);
  Query.SetDatabaseName(Path);
  Query.SQL()->Add("select Code, Nom from Site");
  Query.SQL()->Add("where Code > 1 order by Nom");
  Query.Open();
  EXPECT_EQ(Codes(Query), "4,3,2");
  // A new text closes the query; the next opening reads it.
  Query.SQL()->SetText("select * from Site where Code = 1");
  EXPECT_FALSE(Query.Active());
  Query.Open();
  EXPECT_EQ(Codes(Query), "1");
}

TEST_F(DBTablesTest, EngineFiltersOfAQuerySeeEveryRecordAndGoAgain) {
  TQuery Query(nullptr);
  Query.SetDatabaseName(Path);
  Query.SQL()->SetText("select * from Site order by Code");
  Query.Open();
  int Handle = Query.AddFilter(&StartsWithL, nullptr);
  EXPECT_NE(Handle, 0);
  EXPECT_EQ(Codes(Query), "1,3");
  EXPECT_EQ(Query.RecordCount(), 2);
  Query.DropFilter(Handle);
  EXPECT_EQ(Query.FilterCount(), 0);
  EXPECT_EQ(Codes(Query), "1,2,3,4");
  // The operator's own record filter still runs after the engine's.
  bool Called = false;
  struct THandler : TObject {
    bool* Called;
    void Filter(TDataSet* Set, bool& Accept) {
      *Called = true;
      Accept = Set->FieldByName("Code")->AsInteger() != 3;
    }
  } Own;
  Own.Called = &Called;
  Query.SetOnFilterRecord(TFilterRecordEvent(&Own, &THandler::Filter));
  Query.SetFiltered(true);
  Query.AddFilter(&StartsWithL, nullptr);
  EXPECT_EQ(Codes(Query), "1");
  EXPECT_TRUE(Called);
}

TEST_F(DBTablesTest, DroppingTheLastEngineFilterKeepsTheOperatorsFilterText) {
  TQuery Query(nullptr);
  Query.SetDatabaseName(Path);
  Query.SQL()->SetText("select * from Site order by Code");
  Query.Open();
  Query.SetFilterText("Code > 1");
  Query.SetFiltered(true);
  int Handle = Query.AddFilter(&StartsWithL, nullptr);
  EXPECT_EQ(Codes(Query), "3");
  Query.DropFilter(Handle);
  EXPECT_TRUE(Query.Filtered());
  EXPECT_EQ(Codes(Query), "2,3,4");
  // Without the operator's filtering, the engine's alone filters, and nothing once dropped.
  Query.SetFilterText(String());
  Query.SetFiltered(false);
  Handle = Query.AddFilter(&StartsWithL, nullptr);
  EXPECT_EQ(Codes(Query), "1,3");
  Query.DropFilter(Handle);
  EXPECT_FALSE(Query.Filtered());
  EXPECT_EQ(Codes(Query), "1,2,3,4");
}

TEST_F(DBTablesTest, AStoredProcedureSaysItIsNotAvailable) {
  TStoredProc Proc(nullptr);
  Proc.SetDatabaseName(Path);
  Proc.SetStoredProcName("MajSites");
  try {
    Proc.Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message.find("MajSites"), String::npos) << E.Message;
    EXPECT_NE(E.Message.find("not available"), String::npos) << E.Message;
  }
  EXPECT_FALSE(Proc.Active());
  EXPECT_THROW(Proc.ExecProc(), EDatabaseError);
}

TEST_F(DBTablesTest, TheEngineClassesAreFoundByName) {
  for (const char* Name : {"TTable", "TQuery", "TStoredProc"}) {
    TClass Class = GetClass(Name);
    ASSERT_NE(Class, nullptr) << Name;
    EXPECT_TRUE(Class->InheritsFrom("TDBDataSet")) << Name;
  }
}
}  // namespace
