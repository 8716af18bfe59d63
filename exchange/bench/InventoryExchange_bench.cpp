// This file implements a benchmark of the inventory transfers, run by hand: the export and the
// import of 5,000 wetlands with 20 detail rows each, against inserting the same rows with bare
// prepared statements in one transaction.
#include <cstdint>
#include <cstdio>
#include <memory>

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

String Code(int I) { return Format("%.3dBENCH%.5d", {I % 1000, I}); }

std::unique_ptr<SqliteSession> EmptyDatabase(const String& Path) {
  OsPort::DeleteFile(Path);
  auto session = std::make_unique<SqliteSession>(Path, TSqliteOpenMode::CreateIfMissing);
  TestDatabase::CreateSchema(*session);
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

}  // namespace

int main() {
  String folder = OsPort::TempFolder() + "velbor_inv_bench\\";
  OsPort::CreateDirectory(folder);
  String file = folder + "bench.uzh";

  auto bare = EmptyDatabase(folder + "bare.db");
  std::uint64_t start = OsPort::TickCount();
  InsertBare(*bare);
  auto bareMs = OsPort::TickCount() - start;

  TSilentHost host;
  start = OsPort::TickCount();
  TExchangeResult exported = ExportInventaire(*bare, "", "", file, EncodeDate(2026, 12, 10), host);
  auto exportMs = OsPort::TickCount() - start;

  auto target = EmptyDatabase(folder + "import.db");
  start = OsPort::TickCount();
  TExchangeResult imported = ImportInventaire(*target, file, host);
  auto importMs = OsPort::TickCount() - start;

  std::printf("%d wetlands, 20 detail rows each\n", Wetlands);
  std::printf("bare inserts, one transaction: %llu ms\n", (unsigned long long)bareMs);
  std::printf("export: %llu ms (%s)\n", (unsigned long long)exportMs, exported.Message.c_str());
  std::printf("import: %llu ms (%s), %.2f times the bare inserts\n", (unsigned long long)importMs, imported.Message.c_str(),
              bareMs ? double(importMs) / double(bareMs) : 0.0);
  return exported.Outcome == TExchangeResult::Done && imported.Outcome == TExchangeResult::Done ? 0 : 1;
}
