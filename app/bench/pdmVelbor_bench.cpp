// This file implements a benchmark of the data module, run by hand: the module's load (every
// dictionary and lookup query opened, 36,000 communes among them) and the opening of one wetland
// with its 34 details on a database of 10,000 wetlands.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "AppTestSupport.h"
#include "Format.h"
#include "SqliteStatement.h"
#include "pdmVelbor.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

String Code(int Index) { return Format("%.3dBENCH%.5d", {Index % 1000, Index}); }

// 10,000 wetlands, each with rows in a few details, and 36,000 communes in 100 departments.
void MakeLargeDatabase() {
  AppTest::MakeModuleDatabase(true);
  auto Session = AppTest::OpenModuleDatabase();
  Session->BeginTransaction();
  SqliteStatement Departement = Session->Prepare("INSERT INTO D_DEPARTEMENT VALUES (:c, :l, '84')");
  for (int d = 0; d < 100; ++d) {
    Departement.Bind("c", Format("B%.2d", {d}));
    Departement.Bind("l", Format("Département %d"_a, {d}));
    Departement.Execute();
    Departement.Reset();
  }
  SqliteStatement Commune = Session->Prepare("INSERT INTO D_COMMUNE VALUES (:c, :l, :d)");
  for (int c = 0; c < 36000; ++c) {
    Commune.Bind("c", Format("%.5d", {c}));
    Commune.Bind("l", Format("Commune numéro %d"_a, {c}));
    Commune.Bind("d", Format("B%.2d", {c % 100}));
    Commune.Execute();
    Commune.Reset();
  }
  SqliteStatement Zone = Session->Prepare(
      "INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_CONNEXION, ZH_SUPERFICIE) "
      "VALUES (:c, :n, 'A', '1', '1', 12.5)");
  SqliteStatement CommuneZh = Session->Prepare("INSERT INTO T_COMMUNE_ZH VALUES (:z, :c)");
  SqliteStatement Histo = Session->Prepare("INSERT INTO T_HISTORIQUE VALUES (:z, 38058, 'C', 'Dupont', 'CEN')");
  SqliteStatement Corine = Session->Prepare("INSERT INTO T_CORINE_BIO_ZH VALUES (:z, '22.1', 0)");
  for (int z = 0; z < 10000; ++z) {
    String C = Code(z);
    Zone.Bind("c", C);
    Zone.Bind("n", Format("Zone humide %d", {z}));
    Zone.Execute();
    Zone.Reset();
    for (int k = 0; k < 2; ++k) {
      CommuneZh.Bind("z", C);
      CommuneZh.Bind("c", Format("%.5d", {(z * 3 + k) % 36000}));
      CommuneZh.Execute();
      CommuneZh.Reset();
    }
    Histo.Bind("z", C);
    Histo.Execute();
    Histo.Reset();
    Corine.Bind("z", C);
    Corine.Execute();
    Corine.Reset();
  }
  Session->Commit();
}

void OpenRecord(const String& ZhCode) {
  dmVelbor->qDetailZoneHumide->Close();
  dmVelbor->qListeZoneHumide->Locate("zh_code", ZhCode, {});
  dmVelbor->qDetailZoneHumide->Open();
  for (int i = 0; i < dmVelbor->ComponentCount(); ++i)
    if (auto* Detail = dynamic_cast<TDataSet*>(dmVelbor->Components(i)); Detail != nullptr && Detail->Tag == 6) {
      Detail->Close();
      Detail->Open();
    }
}

}  // namespace

int main() {
  try {
    std::printf("making the database...\n");
    MakeLargeDatabase();

    std::vector<double> Loads;
    for (int i = 0; i < 5; ++i) {
      Clock::time_point Start = Clock::now();
      Application->CreateForm(dmVelbor);
      Loads.push_back(Milliseconds(Start));
      if (i < 4) dmVelbor->Free();
    }
    std::sort(Loads.begin(), Loads.end());
    std::printf("module load: %d wetlands listed, %d communes; median %.1f ms, worst %.1f ms\n",
                dmVelbor->qListeZoneHumide->RecordCount(), dmVelbor->D_COMMUNE->RecordCount(), Loads[2], Loads[4]);

    // The fixture's first wetland has rows in all 34 details (20 rows in those it fills with
    // several): count them once.
    OpenRecord("073ASTERS0001");
    int Rows = 0, Details = 0;
    for (int i = 0; i < dmVelbor->ComponentCount(); ++i)
      if (auto* Detail = dynamic_cast<TDataSet*>(dmVelbor->Components(i)); Detail != nullptr && Detail->Tag == 6) {
        ++Details;
        Rows += Detail->RecordCount();
      }
    std::vector<double> Opens;
    const char* const Codes[] = {"073ASTERS0001", "073ASTERS0002"};
    for (int i = 0; i < 40; ++i) {
      Clock::time_point Start = Clock::now();
      OpenRecord(Codes[i % 2]);
      Opens.push_back(Milliseconds(Start));
    }
    std::sort(Opens.begin(), Opens.end());
    std::printf("opening a wetland (%d details, %d rows for 073ASTERS0001): median %.2f ms, worst %.2f ms\n", Details,
                Rows, Opens[Opens.size() / 2], Opens.back());
    dmVelbor->Free();
  } catch (Exception& E) {
    std::printf("failed: %s\n", AnsiToUtf8(E.Message).c_str());
    return 1;
  }
  return 0;
}
