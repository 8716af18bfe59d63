// This file implements the benchmarks of the dataset classes: opening a static cursor over a
// 36,000-row, 3-column table and walking it, with and without reading every field, against a bare
// sqlite3_step loop that reads every column of the same statement, and the ratio of the two taken
// side by side; a case-insensitive Locate on a text column that is no key; and applying a batch of
// 1,000 inserted detail rows.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <time.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

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

// The reference: the same statement stepped through, every column read as SQLite hands it (the
// texts as UTF-8 with their sizes, the number as a double). Returns the sum of the numbers, which
// both sides must find.
double BareStepLoop(sqlite3* Db) {
  sqlite3_stmt* Statement = nullptr;
  sqlite3_prepare_v2(Db, kSelect, -1, &Statement, nullptr);
  double Sum = 0;
  while (sqlite3_step(Statement) == SQLITE_ROW) {
    benchmark::DoNotOptimize(sqlite3_column_text(Statement, 0));
    benchmark::DoNotOptimize(sqlite3_column_text(Statement, 1));
    benchmark::DoNotOptimize(sqlite3_column_bytes(Statement, 0) + sqlite3_column_bytes(Statement, 1));
    Sum += sqlite3_column_double(Statement, 2);
  }
  sqlite3_finalize(Statement);
  return Sum;
}

// The cursor: opened (every row read into memory), walked with Next to the end, and every field
// of every row read as the program reads it (AsString, AsFloat).
double CursorWalkAndRead(TADOQuery& Query) {
  Query.Open();
  TField* Code = Query.FieldByName("CODE");
  TField* Lib = Query.FieldByName("LIB");
  TField* Surface = Query.FieldByName("SURFACE");
  double Sum = 0;
  for (; !Query.Eof(); Query.Next()) {
    benchmark::DoNotOptimize(Code->AsString().size() + Lib->AsString().size());
    Sum += Surface->AsFloat();
  }
  Query.Close();
  return Sum;
}

std::unique_ptr<TADOQuery> SelectQuery() {
  auto Query = std::make_unique<TADOQuery>(nullptr);
  Query->SetConnection(Database().Connection.get());
  Query->SQL()->SetText(kSelect);
  return Query;
}

void BM_CursorBareStepLoop(benchmark::State& State) {
  sqlite3* Db = Database().Connection->Session()->Handle();
  for (auto _ : State) benchmark::DoNotOptimize(BareStepLoop(Db));
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorBareStepLoop)->Unit(benchmark::kMillisecond);

// Opening the static cursor and walking it with Next to the end, no field read.
void BM_CursorOpenAndWalk(benchmark::State& State) {
  auto Query = SelectQuery();
  for (auto _ : State) {
    Query->Open();
    int Count = 0;
    for (; !Query->Eof(); Query->Next()) ++Count;
    Query->Close();
    if (Count != kRows) State.SkipWithError("rows missing");
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorOpenAndWalk)->Unit(benchmark::kMillisecond);

void BM_CursorOpenWalkAndReadFields(benchmark::State& State) {
  auto Query = SelectQuery();
  for (auto _ : State) benchmark::DoNotOptimize(CursorWalkAndRead(*Query));
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_CursorOpenWalkAndReadFields)->Unit(benchmark::kMillisecond);

// The processor time of this thread, in milliseconds: what the work itself costs, whatever else
// the machine runs meanwhile.
double ThreadMilliseconds() {
  timespec Now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Now);
  return double(Now.tv_sec) * 1e3 + double(Now.tv_nsec) / 1e6;
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  std::size_t Half = Values.size() / 2;
  return Values.size() % 2 ? Values[Half] : (Values[Half - 1] + Values[Half]) / 2;
}

// The two sides above, one after the other in each iteration (the order alternating), so that both
// meet the same state of the machine and of the file's pages. Reports the median time of each side
// and the median of the iterations' ratios: "ratio" is the cursor's walk-and-read over the bare
// loop.
void BM_CursorReadOverBareStepRatio(benchmark::State& State) {
  sqlite3* Db = Database().Connection->Session()->Handle();
  auto Query = SelectQuery();
  if (BareStepLoop(Db) != CursorWalkAndRead(*Query)) {
    State.SkipWithError("the two sides read different values");
    return;
  }
  std::vector<double> Bare, Cursor, Ratios;
  bool BareFirst = true;
  for (auto _ : State) {
    double Times[2];
    for (int Side = 0; Side < 2; ++Side) {
      double Start = ThreadMilliseconds();
      if ((Side == 0) == BareFirst)
        benchmark::DoNotOptimize(BareStepLoop(Db));
      else
        benchmark::DoNotOptimize(CursorWalkAndRead(*Query));
      Times[(Side == 0) == BareFirst ? 0 : 1] = ThreadMilliseconds() - Start;
    }
    BareFirst = !BareFirst;
    Bare.push_back(Times[0]);
    Cursor.push_back(Times[1]);
    Ratios.push_back(Times[1] / Times[0]);
  }
  State.counters["bare_ms"] = Median(Bare);
  State.counters["cursor_ms"] = Median(Cursor);
  State.counters["ratio"] = Median(Ratios);
}
BENCHMARK(BM_CursorReadOverBareStepRatio)->Unit(benchmark::kMillisecond)->Iterations(30);

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
