// This file implements the benchmarks of the engine layer: reading a 36,000-row table through
// SqliteStatement against a bare sqlite3_step loop, and 1,000 inserts in one transaction through
// SqliteStatement and through the bare C interface, into the table with the unique key that the
// dataset benchmark applies its batch of 1,000 inserts to.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>

#include "BenchRatios.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "SqliteTypes.h"

namespace {

constexpr int kRows = 36000;

// A database file in a fresh temporary folder, removed with the object.
class BenchDatabase {
 public:
  BenchDatabase() {
    FFolder = OsPort::TempFolder() + "velbor-bench-" + std::to_string(std::random_device()());
    OsPort::CreateDirectory(FFolder);
    Session = std::make_unique<SqliteSession>(FFolder + "\\bench.db", TSqliteOpenMode::CreateIfMissing);
    // DETAIL is declared as in ADODataSet_bench.cpp, so that the inserts compare with its batch.
    Session->ExecuteScript(
        "CREATE TABLE T(CODE VARCHAR(13) COLLATE VELBOR, RANG INTEGER, SURFACE FLOAT);"
        "CREATE TABLE DETAIL(" + TextColumnSql("ZH_CODE", 13, true) + ", " + TextColumnSql("TCB_CODE", 10, true) +
        ", TCB_FLG BOOLEAN DEFAULT 0, UNIQUE (ZH_CODE, TCB_CODE));");
    SqliteTransaction transaction(*Session);
    SqliteStatement insert = Session->Prepare("insert into T values (:CODE, :RANG, :SURFACE)");
    for (int i = 0; i < kRows; ++i) {
      insert.BindText(1, "01ABC" + std::to_string(10000 + i));
      insert.BindInt64(2, i);
      insert.BindDouble(3, i * 0.25);
      insert.Execute();
    }
    transaction.Commit();
  }
  ~BenchDatabase() {
    Session.reset();
    for (const String& name : OsPort::ListFolder(FFolder, "*")) OsPort::DeleteFile(FFolder + "\\" + name);
    OsPort::RemoveDirectory(FFolder);
  }

  std::unique_ptr<SqliteSession> Session;

 private:
  String FFolder;
};

BenchDatabase& Database() {
  static BenchDatabase database;
  return database;
}

// The bare loop: the values read as SQLite hands them, the text copied once.
void BM_SelectBareStep(benchmark::State& State) {
  sqlite3* db = Database().Session->Handle();
  for (auto _ : State) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "select CODE, RANG, SURFACE from T", -1, &statement, nullptr);
    long long sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string code(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                       std::size_t(sqlite3_column_bytes(statement, 0)));
      sum += sqlite3_column_int64(statement, 1) + static_cast<long long>(sqlite3_column_double(statement, 2)) +
             static_cast<long long>(code.size());
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(sum);
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_SelectBareStep)->Unit(benchmark::kMillisecond);

// The wrapper's typed readers: text converted to 1252.
void BM_SelectStatementTyped(benchmark::State& State) {
  SqliteSession& session = *Database().Session;
  for (auto _ : State) {
    SqliteStatement statement = session.Prepare("select CODE, RANG, SURFACE from T");
    long long sum = 0;
    while (statement.Step()) {
      String code = statement.ColumnText(0);
      sum += statement.ColumnInt64(1) + static_cast<long long>(statement.ColumnDouble(2)) + static_cast<long long>(code.size());
    }
    benchmark::DoNotOptimize(sum);
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_SelectStatementTyped)->Unit(benchmark::kMillisecond);

// The wrapper's Variant reader, as the dataset layer will use it.
void BM_SelectStatementVariant(benchmark::State& State) {
  SqliteSession& session = *Database().Session;
  for (auto _ : State) {
    SqliteStatement statement = session.Prepare("select CODE, RANG, SURFACE from T");
    long long sum = 0;
    while (statement.Step()) {
      for (int i = 0; i < 3; ++i) {
        Variant value = statement.ColumnValue(i);
        sum += VarType(value);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  State.SetItemsProcessed(State.iterations() * kRows);
}
BENCHMARK(BM_SelectStatementVariant)->Unit(benchmark::kMillisecond);

// 1,000 detail rows inserted by name through the wrapper in one transaction, committed to disk
// (synchronous=FULL); the table is emptied before each run, untimed.
void BM_Insert1000InTransaction(benchmark::State& State) {
  SqliteSession& session = *Database().Session;
  for (auto _ : State) {
    State.PauseTiming();
    session.ExecuteScript("delete from DETAIL");
    State.ResumeTiming();
    SqliteTransaction transaction(session);
    SqliteStatement insert = session.Prepare("insert into DETAIL (ZH_CODE, TCB_CODE) values (:ZH_CODE, :TCB_CODE)");
    for (int i = 0; i < 1000; ++i) {
      insert.Bind("ZH_CODE", "073BENCH0001");
      insert.Bind("TCB_CODE", "C" + std::to_string(i));
      insert.Execute();
    }
    transaction.Commit();
  }
  State.SetItemsProcessed(State.iterations() * 1000);
}
BENCHMARK(BM_Insert1000InTransaction)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same rows through the bare C interface: the yardstick of the wrapper and of the batch.
void BM_Insert1000Bare(benchmark::State& State) {
  sqlite3* db = Database().Session->Handle();
  for (auto _ : State) {
    State.PauseTiming();
    sqlite3_exec(db, "delete from DETAIL", nullptr, nullptr, nullptr);
    State.ResumeTiming();
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into DETAIL (ZH_CODE, TCB_CODE) values (?, ?)", -1, &insert, nullptr);
    for (int i = 0; i < 1000; ++i) {
      std::string code = "C" + std::to_string(i);
      sqlite3_bind_text(insert, 1, "073BENCH0001", -1, SQLITE_STATIC);
      sqlite3_bind_text(insert, 2, code.c_str(), int(code.size()), SQLITE_TRANSIENT);
      if (sqlite3_step(insert) != SQLITE_DONE) State.SkipWithError(sqlite3_errmsg(db));
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) State.SkipWithError(sqlite3_errmsg(db));
  }
  State.SetItemsProcessed(State.iterations() * 1000);
}
BENCHMARK(BM_Insert1000Bare)->Unit(benchmark::kMillisecond)->Iterations(20);

[[maybe_unused]] const bool kRatios =
    AddBenchRatio({"36,000 rows read through SqliteStatement / bare step loop", "BM_SelectStatementTyped",
                   "BM_SelectBareStep", 0}) &&
    AddBenchRatio({"1,000 inserts through SqliteStatement / bare", "BM_Insert1000InTransaction", "BM_Insert1000Bare",
                   0}) &&
    AddBenchRatio({"batch of 1,000 inserts applied (ADODataSet_bench) / bare", "BM_BatchApply1000Inserts",
                   "BM_Insert1000Bare", 0});

}  // namespace
