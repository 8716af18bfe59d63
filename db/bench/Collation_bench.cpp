// This file implements the benchmarks of the program's text collation inside SQLite against the
// engine's own case-insensitive NOCASE, on the same data and statements: sorting the 34,875
// commune names of the starting database, and 100,000 inserts into a unique index on two texts.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "OsPort.h"
#include "SqliteSession.h"

namespace {

constexpr int kInserts = 100000;

// The commune names of base/data/D_COMMUNE.csv (UTF-8; code;name;department).
std::vector<std::string> CommuneNames() {
  std::ifstream file(VELBOR_COMMUNES_CSV, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::istringstream lines(text.str());
  std::vector<std::string> names;
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    std::size_t first = line.find(';');
    std::size_t second = line.find(';', first + 1);
    if (second != std::string::npos) names.push_back(line.substr(first + 1, second - first - 1));
  }
  return names;
}

void Exec(sqlite3* Db, const char* Sql) {
  char* message = nullptr;
  if (sqlite3_exec(Db, Sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(text);
  }
}

// A database in a fresh temporary folder, opened by the engine layer (so the collation is
// registered as on every connection of the program), with the communes in two tables that differ
// only by the collation of the name.
class CollationDatabase {
 public:
  CollationDatabase() : Names(CommuneNames()) {
    FFolder = OsPort::TempFolder() + "velbor-collation-bench-" + std::to_string(std::random_device()());
    OsPort::CreateDirectory(FFolder);
    Session = std::make_unique<SqliteSession>(FFolder + "\\bench.db", TSqliteOpenMode::CreateIfMissing);
    sqlite3* db = Session->Handle();
    Exec(db,
         "CREATE TABLE COMMUNE_VELBOR(COM_LIB VARCHAR(60) COLLATE VELBOR);"
         "CREATE TABLE COMMUNE_NOCASE(COM_LIB VARCHAR(60) COLLATE NOCASE);"
         "CREATE TABLE KEY_VELBOR(A VARCHAR(13) COLLATE VELBOR, B VARCHAR(60) COLLATE VELBOR, UNIQUE (A, B));"
         "CREATE TABLE KEY_NOCASE(A VARCHAR(13) COLLATE NOCASE, B VARCHAR(60) COLLATE NOCASE, UNIQUE (A, B));"
         "BEGIN");
    for (const char* table : {"COMMUNE_VELBOR", "COMMUNE_NOCASE"}) {
      sqlite3_stmt* insert = nullptr;
      sqlite3_prepare_v2(db, ("insert into " + std::string(table) + " values (?)").c_str(), -1, &insert, nullptr);
      for (const std::string& name : Names) {
        sqlite3_bind_text(insert, 1, name.data(), int(name.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
      }
      sqlite3_finalize(insert);
    }
    Exec(db, "COMMIT");
  }
  ~CollationDatabase() {
    Session.reset();
    for (const String& name : OsPort::ListFolder(FFolder, "*")) OsPort::DeleteFile(FFolder + "\\" + name);
    OsPort::RemoveDirectory(FFolder);
  }

  std::vector<std::string> Names;
  std::unique_ptr<SqliteSession> Session;

 private:
  String FFolder;
};

CollationDatabase& Database() {
  static CollationDatabase database;
  return database;
}

// Every commune name read in the order of the table's collation.
void SortCommunes(benchmark::State& State, const char* Sql) {
  sqlite3* db = Database().Session->Handle();
  for (auto _ : State) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, Sql, -1, &statement, nullptr);
    long long bytes = 0, rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      bytes += sqlite3_column_bytes(statement, 0);
      ++rows;
    }
    sqlite3_finalize(statement);
    if (rows != static_cast<long long>(Database().Names.size())) State.SkipWithError("rows missing");
    benchmark::DoNotOptimize(bytes);
  }
  State.SetItemsProcessed(State.iterations() * static_cast<long long>(Database().Names.size()));
}

void BM_SortCommunesVelbor(benchmark::State& State) {
  SortCommunes(State, "select COM_LIB from COMMUNE_VELBOR order by COM_LIB");
}
BENCHMARK(BM_SortCommunesVelbor)->Unit(benchmark::kMillisecond);

void BM_SortCommunesNocase(benchmark::State& State) {
  SortCommunes(State, "select COM_LIB from COMMUNE_NOCASE order by COM_LIB");
}
BENCHMARK(BM_SortCommunesNocase)->Unit(benchmark::kMillisecond);

// 100,000 pairs (one of 3,000 wetland codes, a commune name) inserted in one transaction into
// the emptied table; pairs that the key finds equal (homonymous communes) are ignored on both
// sides alike.
void InsertPairs(benchmark::State& State, const char* Table) {
  sqlite3* db = Database().Session->Handle();
  const std::vector<std::string>& names = Database().Names;
  std::vector<std::string> codes;
  for (int i = 0; i < 3000; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%.3dBENCH%.4d", i % 101, i);
    codes.push_back(code);
  }
  const std::string insertSql = "insert or ignore into " + std::string(Table) + " values (?, ?)";
  const std::string deleteSql = "delete from " + std::string(Table);
  for (auto _ : State) {
    State.PauseTiming();
    Exec(db, deleteSql.c_str());
    State.ResumeTiming();
    Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, insertSql.c_str(), -1, &insert, nullptr);
    for (int i = 0; i < kInserts; ++i) {
      const std::string& code = codes[std::size_t(i) % codes.size()];
      const std::string& name = names[(std::size_t(i) * 7919) % names.size()];
      sqlite3_bind_text(insert, 1, code.data(), int(code.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 2, name.data(), int(name.size()), SQLITE_STATIC);
      if (sqlite3_step(insert) != SQLITE_DONE) State.SkipWithError(sqlite3_errmsg(db));
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
  }
  State.SetItemsProcessed(State.iterations() * kInserts);
}

void BM_InsertUniqueTwoTextsVelbor(benchmark::State& State) { InsertPairs(State, "KEY_VELBOR"); }
BENCHMARK(BM_InsertUniqueTwoTextsVelbor)->Unit(benchmark::kMillisecond);

void BM_InsertUniqueTwoTextsNocase(benchmark::State& State) { InsertPairs(State, "KEY_NOCASE"); }
BENCHMARK(BM_InsertUniqueTwoTextsNocase)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool kRatios =
    AddBenchRatio({"sorting 34,875 commune names, VELBOR / NOCASE", "BM_SortCommunesVelbor", "BM_SortCommunesNocase",
                   1.5}) &&
    AddBenchRatio({"100,000 inserts into a unique two-text index, VELBOR / NOCASE", "BM_InsertUniqueTwoTextsVelbor",
                   "BM_InsertUniqueTwoTextsNocase", 1.5});

}  // namespace
