// This file implements the benchmarks of the engine layer: reading a 36,000-row table through
// SqliteStatement against a bare sqlite3_step loop, and 1,000 inserts with bound parameters in one
// transaction.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>

#include "OsPort.h"
#include "SqliteSession.h"

namespace {

constexpr int kRows = 36000;

// A database file in a fresh temporary folder, removed with the object.
class BenchDatabase {
 public:
  BenchDatabase() {
    FFolder = OsPort::TempFolder() + "velbor-bench-" + std::to_string(std::random_device()());
    OsPort::CreateDirectory(FFolder);
    Session = std::make_unique<SqliteSession>(FFolder + "\\bench.db", TSqliteOpenMode::CreateIfMissing);
    Session->ExecuteScript(
        "CREATE TABLE T(CODE VARCHAR(13) COLLATE VELBOR, RANG INTEGER, SURFACE FLOAT);"
        "CREATE TABLE U(CODE VARCHAR(13) COLLATE VELBOR, RANG INTEGER, SURFACE FLOAT);");
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

// 1,000 inserts bound by name in one transaction, committed to disk (synchronous=FULL).
void BM_Insert1000InTransaction(benchmark::State& State) {
  SqliteSession& session = *Database().Session;
  for (auto _ : State) {
    SqliteTransaction transaction(session);
    SqliteStatement insert = session.Prepare("insert into U values (:CODE, :RANG, :SURFACE)");
    for (int i = 0; i < 1000; ++i) {
      insert.Bind("CODE", String("02XYZ") + std::to_string(10000 + i));
      insert.Bind("RANG", i);
      insert.Bind("SURFACE", i * 1.5);
      insert.Execute();
    }
    transaction.Commit();
  }
  State.SetItemsProcessed(State.iterations() * 1000);
}
BENCHMARK(BM_Insert1000InTransaction)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
