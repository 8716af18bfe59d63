// This file implements a benchmark of the inventory transfers, run by hand: the import of 5,000
// wetlands with 20 detail rows each, against inserting the same rows with bare prepared
// statements in one transaction into the same tables and indexes, declared with the program's
// collation and with SQLite's built-in NOCASE and BINARY. Each side runs on a new database file,
// the sides interleaved in turn over several rounds; the medians are compared.
//
//   exchange_bench [ROUNDS]   (7 by default)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <time.h>
#include <vector>

#include "ExchangeFile.h"
#include "Format.h"
#include "InventoryExchange.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "TestDatabase.h"

using namespace Exchange;

namespace {

class TSilentHost : public IExchangeHost {
 public:
  void ProgressStart(int, const String&) override {}
  void ProgressStep() override {}
  bool CancelRequested() override { return false; }
};

const int Wetlands = 5000;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// The processor time of the calling thread, in milliseconds: steadier than the clock on a busy
// machine, though blind to the waits for the disk.
double ThreadCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
}

String Code(int I) { return Format("%.3dBENCH%.5d", {I % 1000, I}); }

// The program's schema with every text compared by Collation instead of the program's own.
String SchemaWithCollation(const String& Collation) {
  return StringReplace(TestDatabase::ReadSql("schema.sql"), "COLLATE VELBOR", "COLLATE " + Collation, {rfReplaceAll});
}

std::unique_ptr<SqliteSession> EmptyDatabase(const String& Path, const String& Collation) {
  OsPort::DeleteFile(Path);
  auto session = std::make_unique<SqliteSession>(Path, TSqliteOpenMode::CreateIfMissing);
  session->ExecuteScript(SchemaWithCollation(Collation));
  return session;
}

// The main row and its 20 detail rows (5 each of communes, habitats, other names and history),
// through bare prepared statements in one transaction.
void InsertBare(SqliteSession& Session) {
  SqliteTransaction transaction(Session);
  SqliteStatement main = Session.Prepare(
      "insert into T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_ALTITUDE, ZH_COMMENTAIRE) values (?, ?, 'A', ?, ?)");
  SqliteStatement commune = Session.Prepare("insert into T_COMMUNE_ZH (ZH_CODE, COM_CODE) values (?, ?)");
  SqliteStatement habitat = Session.Prepare("insert into T_HABITAT_ZH (ZH_CODE, HABITAT_CODE) values (?, ?)");
  SqliteStatement alias = Session.Prepare("insert into T_ALIAS (ZH_CODE, ALIAS_LIB) values (?, ?)");
  SqliteStatement history = Session.Prepare(
      "insert into T_HISTORIQUE (ZH_CODE, HISTO_DATE, ACTION_CODE, HISTO_AUTEUR, HISTO_ORGANISME) values (?, ?, 'C', ?, ?)");
  for (int i = 0; i < Wetlands; ++i) {
    String code = Code(i);
    main.Reset();
    main.BindText(1, code);
    main.BindText(2, "Zone humide " + IntToStr(i));
    main.BindDouble(3, 100 + i % 900);
    main.BindText(4, "Commentaire\r\nsur deux lignes");
    main.Execute();
    for (int k = 0; k < 5; ++k) {
      commune.Reset();
      commune.BindText(1, code);
      commune.BindText(2, IntToStr(73000 + k));
      commune.Execute();
      habitat.Reset();
      habitat.BindText(1, code);
      habitat.BindText(2, IntToStr(3100 + k));
      habitat.Execute();
      alias.Reset();
      alias.BindText(1, code);
      alias.BindText(2, "Autre nom " + IntToStr(k));
      alias.Execute();
      history.Reset();
      history.BindText(1, code);
      history.BindDouble(2, 38000 + k);
      history.BindText(3, "Auteur");
      history.BindText(4, "Organisme");
      history.Execute();
    }
  }
  transaction.Commit();
}

struct TSide {
  const char* Name;
  std::function<void()> Run;      // one timed run
  std::function<void()> Prepare;  // what the run needs, untimed
  std::vector<double> Times;
  std::vector<double> CpuTimes;

  static double MedianOf(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
  }
  double Median() const { return MedianOf(Times); }
  double CpuMedian() const { return MedianOf(CpuTimes); }
  double Best() const { return *std::min_element(Times.begin(), Times.end()); }
};

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  String folder = OsPort::TempFolder() + "velbor_inv_bench\\";
  OsPort::CreateDirectory(folder);
  String file = folder + "bench.uzh";
  TSilentHost host;
  bool failed = false;

  // The exchange file, written once from a database filled with the bare inserts.
  {
    auto source = EmptyDatabase(folder + "source.db", "VELBOR");
    InsertBare(*source);
    Clock::time_point start = Clock::now();
    TExchangeResult exported = ExportInventaire(*source, "", "", file, EncodeDate(2026, 12, 10), host);
    std::printf("%d wetlands, 20 detail rows each; export: %.1f ms (%s)\n", Wetlands, MillisecondsSince(start),
                exported.Message.c_str());
    if (exported.Outcome != TExchangeResult::Done) return 1;
  }

  // Each run is given a new database file, made before the clock starts.
  std::unique_ptr<SqliteSession> session;
  auto fresh = [&](const String& Name, const String& Collation) {
    session.reset();
    session = EmptyDatabase(folder + Name, Collation);
  };
  auto runImport = [&] {
    TExchangeResult imported = ImportInventaire(*session, file, host);
    if (imported.Outcome != TExchangeResult::Done) {
      std::printf("import failed: %s\n", imported.Message.c_str());
      failed = true;
    }
  };
  auto runBare = [&] { InsertBare(*session); };
  std::vector<TSide> sides = {
      {"import of the exchange file", runImport, [&] { fresh("import.db", "VELBOR"); }, {}, {}},
      {"bare inserts, program's collation", runBare, [&] { fresh("velbor.db", "VELBOR"); }, {}, {}},
      {"bare inserts, NOCASE", runBare, [&] { fresh("nocase.db", "NOCASE"); }, {}, {}},
      {"bare inserts, BINARY", runBare, [&] { fresh("binary.db", "BINARY"); }, {}, {}},
  };

  // Round r starts with side r: no side always runs first, on a cold cache.
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = 0; k < sides.size(); ++k) {
      TSide& side = sides[(std::size_t(round) + k) % sides.size()];
      side.Prepare();
      double cpu = ThreadCpuMilliseconds();
      Clock::time_point start = Clock::now();
      side.Run();
      side.Times.push_back(MillisecondsSince(start));
      side.CpuTimes.push_back(ThreadCpuMilliseconds() - cpu);
    }
  }
  session.reset();

  std::printf("%d rounds, sides interleaved:\n", rounds);
  for (const TSide& side : sides) {
    std::printf("  %-36s median %7.1f ms  best %7.1f ms  processor time: median %7.1f ms\n", side.Name, side.Median(),
                side.Best(), side.CpuMedian());
  }
  std::printf("ratios of medians (processor time in brackets):\n");
  auto ratio = [&](const char* What, const TSide& A, const TSide& B, double Target) {
    double real = A.Median() / B.Median();
    std::printf("  %-48s %5.2fx (%5.2fx)", What, real, A.CpuMedian() / B.CpuMedian());
    if (Target > 0) std::printf("  target under %.2fx: %s", Target, real < Target ? "met" : "NOT MET");
    std::printf("\n");
  };
  ratio("import / bare inserts, NOCASE", sides[0], sides[2], 1.5);
  ratio("import / bare inserts, BINARY", sides[0], sides[3], 0);
  ratio("import / bare inserts, program's collation", sides[0], sides[1], 0);
  ratio("bare inserts, program's collation / NOCASE", sides[1], sides[2], 0);
  for (const String& name : OsPort::ListFolder(folder, "*")) OsPort::DeleteFile(folder + name);
  return failed ? 1 : 0;
}
