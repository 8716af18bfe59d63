// This file implements the benchmarks of the dataset classes: opening a static cursor over a
// 36,000-row, 3-column table and walking it, against a bare sqlite3_step loop over the same
// statement; a case-insensitive Locate on a text column that is no key; and applying a batch of
// 1,000 inserted detail rows.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>

#include "ADODB.h"
#include "Field.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "SqliteTypes.h"
#include "StrUtils.h"
#include "Strings.h"

namespace {

constexpr int kRows = 36000;
const char* const kSelect = "select CODE, LIB, SURFACE from MILIEU";

// A database file in a fresh temporary folder, removed with the object.
class AdoBenchDatabase {
 public:
  AdoBenchDatabase() {
    FFolder = OsPort::TempFolder() + "velbor-ado-bench-" + std::to_string(std::random_device()());
    OsPort::CreateDirectory(FFolder);
    File = FFolder + "\\bench.mdb";
    {
      SqliteSession Session(File, TSqliteOpenMode::CreateIfMissing);
      Session.ExecuteScript("CREATE TABLE MILIEU(" + TextColumnSql("CODE", 13, true) + ", " + TextColumnSql("LIB", 60) +
                            ", SURFACE DOUBLE, PRIMARY KEY (CODE));"
                            "CREATE TABLE DETAIL(" + TextColumnSql("ZH_CODE", 13, true) + ", " +
                            TextColumnSql("TCB_CODE", 10, true) + ", TCB_FLG BOOLEAN DEFAULT 0, UNIQUE (ZH_CODE, TCB_CODE));"
                            "CREATE TABLE ZONE(" + TextColumnSql("ZH_CODE", 13, true) + ", PRIMARY KEY (ZH_CODE));"
                            "INSERT INTO ZONE VALUES ('073BENCH0001');");
      SqliteTransaction Transaction(Session);
      SqliteStatement Insert = Session.Prepare("insert into MILIEU values (:CODE, :LIB, :SURFACE)");
      for (int i = 0; i < kRows; ++i) {
        Insert.BindText(1, "01ABC" + std::to_string(10000 + i));
        Insert.BindText(2, "Milieu humide n°"_a + IntToStr(i) + " du bassin");
        Insert.BindDouble(3, i * 0.25);
        Insert.Execute();
      }
      Transaction.Commit();
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->SetConnectionString("Data Source=" + File);
    Connection->Open();
  }
  ~AdoBenchDatabase() {
    Connection.reset();
    for (const String& Name : OsPort::ListFolder(FFolder, "*")) OsPort::DeleteFile(FFolder + "\\" + Name);
    OsPort::RemoveDirectory(FFolder);
  }

  String File;
  std::unique_ptr<TADOConnection> Connection;

 private:
  String FFolder;
};

AdoBenchDatabase& Database() {
  static AdoBenchDatabase Made;
  return Made;
}

// The reference: the same statement stepped through, each value read as SQLite hands it.
void BM_CursorBareStepLoop(benchmark::State& State) {
  sqlite3* Db = Database().Connection->Session()->Handle();
  for (auto _ : State) {
    sqlite3_stmt* Statement = nullptr;
    sqlite3_prepare_v2(Db, kSelect, -1, &Statement, nullptr);
    long long Sum = 0;
    while (sqlite3_step(Statement) == SQLITE_ROW) {
      Sum += sqlite3_column_bytes(Statement, 0) + sqlite3_column_bytes(Statement, 1);
      benchmark::DoNotOptimize(sqlite3_column_text(Statement, 0));
      benchmark::DoNotOptimize(sqlite3_column_text(Statement, 1));
      Sum += static_cast<long long>(sqlite3_column_double(Statement, 2));
    }
    sqlite3_finalize(Statement);
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorBareStepLoop)->Unit(benchmark::kMillisecond);

// Opening the static cursor (every row read into memory) and walking it with Next to the end.
void BM_CursorOpenAndWalk(benchmark::State& State) {
  TADOQuery Query(nullptr);
  Query.SetConnection(Database().Connection.get());
  Query.SQL()->SetText(kSelect);
  for (auto _ : State) {
    Query.Open();
    int Count = 0;
    for (; !Query.Eof(); Query.Next()) ++Count;
    Query.Close();
    if (Count != kRows) State.SkipWithError("rows missing");
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorOpenAndWalk)->Unit(benchmark::kMillisecond);

// The same, reading the three fields of every row on the way.
void BM_CursorOpenWalkAndReadFields(benchmark::State& State) {
  TADOQuery Query(nullptr);
  Query.SetConnection(Database().Connection.get());
  Query.SQL()->SetText(kSelect);
  for (auto _ : State) {
    Query.Open();
    TField* Code = Query.FieldByName("CODE");
    TField* Lib = Query.FieldByName("LIB");
    TField* Surface = Query.FieldByName("SURFACE");
    long long Sum = 0;
    for (; !Query.Eof(); Query.Next())
      Sum += static_cast<long long>(Code->AsString().size() + Lib->AsString().size()) + static_cast<long long>(Surface->AsFloat());
    Query.Close();
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorOpenWalkAndReadFields)->Unit(benchmark::kMillisecond);

// A case-insensitive Locate of the last row's text, on an open cursor, from its first row.
void BM_CursorLocateTextWithoutCase(benchmark::State& State) {
  TADOQuery Query(nullptr);
  Query.SetConnection(Database().Connection.get());
  Query.SQL()->SetText(kSelect);
  Query.Open();
  const String Key = AnsiUpperCase("Milieu humide n°"_a + IntToStr(kRows - 1) + " du bassin");
  for (auto _ : State) {
    Query.First();
    if (!Query.Locate("LIB", Key, {loCaseInsensitive})) State.SkipWithError("not found");
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorLocateTextWithoutCase)->Unit(benchmark::kMillisecond);

// 1,000 detail rows inserted into the batch cache (not timed), then applied in one transaction.
void BM_BatchApply1000Inserts(benchmark::State& State) {
  TADODataSet Detail(nullptr);
  Detail.SetConnection(Database().Connection.get());
  Detail.SetLockType(ltBatchOptimistic);
  Detail.SetCommandText("select * from DETAIL where ZH_CODE = :ZH_CODE");
  Detail.Parameters()->ParamByName("ZH_CODE")->SetValue("073BENCH0001");
  for (auto _ : State) {
    State.PauseTiming();
    Database().Connection->Execute("delete from DETAIL");
    Detail.Close();
    Detail.Open();
    TField* Zone = Detail.FieldByName("ZH_CODE");
    TField* Code = Detail.FieldByName("TCB_CODE");
    for (int i = 0; i < 1000; ++i) {
      Detail.Append();
      Zone->SetAsString("073BENCH0001");
      Code->SetAsString("C" + IntToStr(i));
      Detail.Post();
    }
    State.ResumeTiming();
    Detail.UpdateBatch(arAll);
  }
  State.SetItemsProcessed(State.iterations() * 1000);
}
BENCHMARK(BM_BatchApply1000Inserts)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
