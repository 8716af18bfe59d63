// This file implements a benchmark of the data module and of the program's start, run by hand
// (scripts/bench.sh) on a database of national size: the 34,875 communes of the starting
// database, 40,000 taxa, 20,000 animal and 20,000 plant species in the regional lists, 30,000
// ZNIEFF and the other inventory lists, and 10,000 wetlands.
//
// It reports the module's first load in fresh processes (what an operator waits for) beside the
// median of warm loads in one process, the opening of one wetland with its 34 details, and the
// time from starting the program to its main window painted, against the same for an empty
// winelib window, the programs started in turn.
//
//   app_bench [ROUNDS]             (7 by default)
//   app_bench --start [ROUNDS [PROGRAM...]]
//                                  only the start to the main window painted, on the starting
//                                  database, against the empty window; each PROGRAM (a host path:
//                                  another build of the program, beside this one's so that it
//                                  opens the same database) measured in the same rounds
//   app_bench --first-load FILE    one load in this process, its time appended to FILE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <time.h>
#include <vector>

#include "AppTestSupport.h"
#include "FileUtils.h"
#include "Format.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TestDatabase.h"
#include "WinApi.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmPersonnalisation.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// The processor time of the calling thread, in milliseconds: steadier than the clock on a busy
// machine, so the loads report both.
double ThreadCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
}

// A module load's elapsed and processor times.
struct TLoadTime {
  double Elapsed = -1;
  double Cpu = -1;
};

TLoadTime LoadModule() {
  double cpu = ThreadCpuMilliseconds();
  Clock::time_point start = Clock::now();
  Application->CreateForm(dmVelbor);
  return {Milliseconds(start), ThreadCpuMilliseconds() - cpu};
}

double Median(std::vector<double> Times) {
  std::sort(Times.begin(), Times.end());
  return Times[Times.size() / 2];
}

String Code(int Index) { return Format("%.3dBENCH%.5d", {Index % 1000, Index}); }

// The rows of a CSV file of base/data (UTF-8; ';' between fields; a header line), in 1252.
std::vector<std::vector<String>> ReadCsv(const char* Name) {
  std::ifstream file(String(VELBOR_BASE_SOURCE_DIR) + "/data/" + Name, std::ios::binary);
  std::vector<std::vector<String>> rows;
  std::string line;
  std::getline(file, line);
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<String> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ';');) fields.push_back(Utf8ToAnsi(field));
    rows.push_back(fields);
  }
  return rows;
}

// Inserts Count rows through one statement, Fill binding the values of row I.
template <class TFill>
void InsertRows(SqliteSession& Session, const String& Sql, int Count, TFill Fill) {
  SqliteStatement statement = Session.Prepare(Sql);
  for (int i = 0; i < Count; ++i) {
    statement.Reset();
    Fill(statement, i);
    statement.Execute();
  }
}

// Names that read like the lists' own: a Latin binomial, and French names with accents.
class TNames {
 public:
  String Latin(int I) {
    static const char* const genera[] = {"Lutra", "Alcedo", "Drosera", "Carex", "Rana", "Triturus", "Anas", "Ardea",
                                         "Juncus", "Sphagnum", "Salix", "Typha", "Nymphaea", "Utricularia", "Gomphus",
                                         "Coenagrion", "Emys", "Castor", "Myotis", "Acrocephalus", "Potamogeton",
                                         "Eleocharis", "Menyanthes", "Osmunda", "Leucorrhinia", "Vertigo", "Unio"};
    static const char* const epithets[] = {"lutra", "atthis", "rotundifolia", "elata", "temporaria", "cristatus",
                                           "crecca", "cinerea", "effusus", "palustre", "cinerea", "latifolia", "alba",
                                           "vulgaris", "vulgatissimus", "mercuriale", "orbicularis", "fiber",
                                           "daubentonii", "scirpaceus", "natans", "acicularis", "trifoliata", "regalis",
                                           "pectoralis", "angustior", "crassus", "minor", "major", "europaea"};
    return String(genera[Pick(std::size(genera))]) + " " + epithets[Pick(std::size(epithets))] + " " +
           IntToStr(I % 97);
  }
  String French(int I) {
    static const char* const nouns[] = {"Loutre", "Martin-pêcheur"_a, "Rossolis", "Laîche"_a, "Grenouille", "Triton",
                                        "Sarcelle", "Héron"_a, "Jonc", "Sphaigne", "Saule", "Massette", "Nénuphar"_a,
                                        "Utriculaire", "Gomphe", "Agrion", "Cistude", "Castor", "Murin", "Rousserolle"};
    static const char* const qualifiers[] = {"d'Europe", "à feuilles rondes"_a, "élevée"_a, "rousse", "crêté"_a,
                                             "d'hiver", "cendré"_a, "épars"_a, "des marais", "cendré"_a,
                                             "à larges feuilles"_a, "blanc", "commune", "vulgaire", "de Mercure",
                                             "d'Europe", "d'Eurasie", "de Daubenton", "effarvatte", "flottant"};
    return String(nouns[Pick(std::size(nouns))]) + " " + qualifiers[Pick(std::size(qualifiers))] + " " +
           IntToStr(I % 89);
  }
  template <std::size_t N>
  const char* OneOf(const char* const (&Items)[N]) { return Items[Pick(N)]; }

 private:
  std::size_t Pick(std::size_t Count) { return std::uniform_int_distribution<std::size_t>(0, Count - 1)(FRng); }
  std::mt19937 FRng{39};
};

// The database beside this program, as the module opens it: the test rows, then the lists at
// national size and 10,000 wetlands with rows in a few details.
void MakeNationalDatabase() {
  AppTest::MakeModuleDatabase(true);
  auto session = AppTest::OpenModuleDatabase();
  SqliteSession& s = *session;
  s.BeginTransaction();
  TNames names;
  const auto regions = ReadCsv("D_REGION.csv");
  const auto departments = ReadCsv("D_DEPARTEMENT.csv");
  const auto communes = ReadCsv("D_COMMUNE.csv");
  InsertRows(s, "insert or ignore into D_REGION values (?, ?)", int(regions.size()), [&](SqliteStatement& st, int i) {
    st.BindText(1, regions[std::size_t(i)][0]);
    st.BindText(2, regions[std::size_t(i)][1]);
  });
  InsertRows(s, "insert or ignore into D_DEPARTEMENT values (?, ?, ?)", int(departments.size()),
             [&](SqliteStatement& st, int i) {
               for (int k = 0; k < 3; ++k) st.BindText(k + 1, departments[std::size_t(i)][std::size_t(k)]);
             });
  InsertRows(s, "insert or ignore into D_COMMUNE values (?, ?, ?)", int(communes.size()), [&](SqliteStatement& st, int i) {
    for (int k = 0; k < 3; ++k) st.BindText(k + 1, communes[std::size_t(i)][std::size_t(k)]);
  });
  auto communeName = [&](int i) { return communes[std::size_t(i * 7) % communes.size()][1]; };

  static const char* const themes[] = {"Mammifères"_a, "Oiseaux", "Amphibiens", "Reptiles", "Odonates", "Mollusques",
                                       "Plantes", "Bryophytes", "Poissons", "Lépidoptères"_a};
  static const char* const orders[] = {"Carnivora", "Coraciiformes", "Caryophyllales", "Poales", "Anura", "Caudata",
                                       "Anseriformes", "Pelecaniformes", "Sphagnales", "Odonata", "Lamiales"};
  static const char* const families[] = {"Mustelidae", "Alcedinidae", "Droseraceae", "Cyperaceae", "Ranidae",
                                         "Salamandridae", "Anatidae", "Ardeidae", "Juncaceae", "Sphagnaceae",
                                         "Salicaceae", "Typhaceae", "Nymphaeaceae", "Lentibulariaceae", "Gomphidae"};
  InsertRows(s, "insert into D_TAXON values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", 40000, [&](SqliteStatement& st, int i) {
    st.BindText(1, IntToStr(100000 + i));
    st.BindText(2, names.Latin(i));
    st.BindText(3, names.French(i));
    st.BindText(4, names.OneOf(orders));
    st.BindText(5, names.OneOf(families));
    st.BindText(6, names.OneOf(themes));
    for (int k = 7; k <= 10; ++k) st.BindInt64(k, (i >> (k - 7)) & 1);
  });
  for (const char* table : {"T_TAXON_ANI", "T_TAXON_VEG"}) {
    bool animals = std::strcmp(table, "T_TAXON_ANI") == 0;
    String sql = String("insert into ") + table + " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?" + (animals ? ", ?)" : ")");
    InsertRows(s, sql, 20000, [&](SqliteStatement& st, int i) {
      int k = 1;
      st.BindInt64(k++, 1000 + i);
      st.BindText(k++, names.OneOf(themes));
      st.BindText(k++, names.OneOf(orders));
      st.BindText(k++, animals ? "Mammalia" : "Magnoliopsida");
      st.BindText(k++, names.OneOf(families));
      st.BindText(k++, names.Latin(i));
      st.BindText(k++, "Linnaeus, 1758");
      st.BindText(k++, names.French(i));
      st.BindText(k++, i % 3 ? "Article 2" : "");
      st.BindText(k++, i % 5 ? "Régionale"_a : "");
      if (animals) st.BindText(k++, "Non");
      st.BindText(k++, i % 2 ? "II et IV" : "");
      st.BindInt64(k++, i & 1);
      st.BindText(k++, "LC");
    });
  }
  InsertRows(s, "insert into D_ZNIEFF values (?, ?, ?, ?, ?, ?)", 30000, [&](SqliteStatement& st, int i) {
    st.BindText(1, Format("%.2d%.7d", {11 + i % 80, 3000000 + i}));
    st.BindText(2, Format("%.8d", {10000000 + i}));
    st.BindText(3, "84");
    st.BindText(4, i % 4 ? "1" : "2");
    st.BindText(5, (i % 2 ? "Marais de " : "Tourbières et prairies humides de "_a) + communeName(i));
    st.BindText(6, i < 12000 ? "1" : "2");
  });
  struct TInventory {
    const char* Sql;
    int Count;
    const char* Prefix;
  };
  for (const TInventory& inventory : {TInventory{"insert into D_ZPS values (?, ?, ?, ?)", 400, "Étangs de "_a},
                                      TInventory{"insert into D_PSIC values (?, ?, ?, ?)", 1800, "Réseau de zones humides de "_a},
                                      TInventory{"insert into D_RAMSAR values (?, ?, ?, ?)", 50, "Lac et marais de "}}) {
    InsertRows(s, inventory.Sql, inventory.Count, [&](SqliteStatement& st, int i) {
      st.BindText(1, Format("FR%.7d", {9000000 + i}));
      st.BindText(2, inventory.Prefix + communeName(i + 11));
      st.BindText(3, Format("%.8d", {20000000 + i}));
      st.BindText(4, "84");
    });
  }
  InsertRows(s, "insert into D_ZICO values (?, ?)", 300, [&](SqliteStatement& st, int i) {
    st.BindText(1, Format("%.3d", {i}));
    st.BindText(2, "Vallée de "_a + communeName(i + 5));
  });

  SqliteStatement zone = s.Prepare(
      "INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_CONNEXION, ZH_SUPERFICIE) "
      "VALUES (:c, :n, 'A', '1', '1', 12.5)");
  SqliteStatement communeZh = s.Prepare("INSERT INTO T_COMMUNE_ZH VALUES (:z, :c)");
  SqliteStatement history = s.Prepare("INSERT INTO T_HISTORIQUE VALUES (:z, 38058, 'C', 'Dupont', 'CEN')");
  SqliteStatement corine = s.Prepare("INSERT INTO T_CORINE_BIO_ZH VALUES (:z, '22.1', 0)");
  for (int z = 0; z < 10000; ++z) {
    String code = Code(z);
    zone.Bind("c", code);
    zone.Bind("n", "Zone humide de " + communeName(z));
    zone.Execute();
    zone.Reset();
    for (int k = 0; k < 2; ++k) {
      communeZh.Bind("z", code);
      communeZh.Bind("c", communes[std::size_t(z * 3 + k) % communes.size()][0]);
      communeZh.Execute();
      communeZh.Reset();
    }
    history.Bind("z", code);
    history.Execute();
    history.Reset();
    corine.Bind("z", code);
    corine.Execute();
    corine.Reset();
  }
  s.Commit();
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

// The module loaded once, as the program does at its start.
int FirstLoad(const String& ResultFile) {
  FormatSettings.DecimalSeparator = ',';
  Application->Initialize();
  TLoadTime load = LoadModule();
  FILE* out = std::fopen(OsPort::HostPath(ResultFile).c_str(), "a");
  if (!out) return 1;
  std::fprintf(out, "%.3f %.3f\n", load.Elapsed, load.Cpu);
  std::fclose(out);
  return 0;
}

// The winelib module of a program (its .exe.so beside the .exe the build names).
String Module(const String& Program) { return FileExists(Program + ".so") ? Program + ".so" : Program; }

struct TProcess {
  PROCESS_INFORMATION Info{};
  bool Start(const String& CommandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    String line = CommandLine;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &Info);
  }
  bool Ended(DWORD Milliseconds) { return WaitForSingleObject(Info.hProcess, Milliseconds) == WAIT_OBJECT_0; }
  ~TProcess() {
    if (Info.hProcess) CloseHandle(Info.hProcess);
    if (Info.hThread) CloseHandle(Info.hThread);
  }
};

// One fresh process loading the module; negative times when it failed.
TLoadTime FirstLoadInFreshProcess(const String& ResultFile) {
  OsPort::DeleteFile(ResultFile);
  TProcess child;
  TLoadTime load;
  if (!child.Start("\"" + Module(OsPort::ProgramPath()) + "\" --first-load \"" + ResultFile + "\"")) return load;
  if (!child.Ended(60000)) {
    TerminateProcess(child.Info.hProcess, 1);
    return load;
  }
  std::ifstream in(OsPort::HostPath(ResultFile));
  in >> load.Elapsed >> load.Cpu;
  return load;
}

// The time from starting Program to its window of class WindowClass shown, painted and waiting
// for messages; then the window is closed. Negative when it never got there.
double StartToPainted(const String& Program, const char* WindowClass) {
  while (HWND stale = FindWindowA(WindowClass, nullptr)) {  // left by an earlier run
    PostMessageA(stale, WM_CLOSE, 0, 0);
    Sleep(50);
  }
  Clock::time_point start = Clock::now();
  TProcess program;
  double ms = -1;
  if (!program.Start("\"" + Module(Program) + "\"")) return ms;
  HWND window = nullptr;
  while (Milliseconds(start) < 60000 && !program.Ended(0)) {
    window = FindWindowA(WindowClass, nullptr);
    DWORD_PTR result;
    // A message sent from another process is handled only once the program waits for
    // messages, after it has painted the window it showed.
    if (window && IsWindowVisible(window) && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result) &&
        !GetUpdateRect(window, nullptr, FALSE)) {
      ms = Milliseconds(start);
      break;
    }
    Sleep(1);
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (!program.Ended(20000)) TerminateProcess(program.Info.hProcess, 1);
  return ms;
}

void PrintTimes(const char* What, std::vector<double> Times) {
  std::sort(Times.begin(), Times.end());
  std::printf("  %-66s median %7.1f ms  best %7.1f ms  worst %7.1f ms\n", What, Times[Times.size() / 2], Times.front(),
              Times.back());
}

// The module's first load in fresh processes and its warm loads in this one, in turn, so that
// both see the same machine.
void MeasureLoads(int Rounds, const String& ResultFile) {
  std::vector<double> firsts, warms, firstsCpu, warmsCpu;
  for (int round = 0; round < Rounds; ++round) {
    TLoadTime first = FirstLoadInFreshProcess(ResultFile);
    if (first.Elapsed < 0) throw Exception("the module's first load failed in a fresh process");
    firsts.push_back(first.Elapsed);
    firstsCpu.push_back(first.Cpu);
    TLoadTime warm = LoadModule();
    warms.push_back(warm.Elapsed);
    warmsCpu.push_back(warm.Cpu);
    dmVelbor->Free();
  }
  OsPort::DeleteFile(ResultFile);
  PrintTimes("first load, in a fresh process", firsts);
  PrintTimes("first load, in a fresh process: processor time", firstsCpu);
  PrintTimes("warm load, in one process", warms);
  PrintTimes("warm load, in one process: processor time", warmsCpu);
  std::printf("  first load / warm load: %.2fx; first load under 60 ms: %s\n", Median(firsts) / Median(warms),
              Median(firsts) < 60 ? "met" : "NOT MET");
}

// The time from start to main window painted of the program on the starting database beside it
// in the build and, with National, on the database beside this benchmark (a copy of the program
// started from here), against the empty window; the programs are started in turn.
void MeasureStarts(int Rounds, bool National, const std::vector<String>& Others = {}) {
  const String program = OsPort::WindowsPath(VELBOR_PROGRAM);
  const String copy = AppTest::ProgramFolder() + "velbor.exe";
  if (National && !OsPort::CopyFile(Module(program), copy + ".so", false)) throw Exception("cannot copy the program");
  const String emptyWindow = OsPort::WindowsPath(VELBOR_EMPTY_WINDOW);
  struct TStart {
    const char* What;
    String Program;
    const char* WindowClass;
    std::vector<double> Times;
  };
  std::vector<TStart> starts = {
      {"empty winelib window", emptyWindow, "TEmptyWindow", {}},
      {"program, starting database", program, "TfrmMainForm", {}},
  };
  if (National) starts.push_back({"program, national-size database", copy, "TfrmMainForm", {}});
  for (const String& other : Others)
    starts.push_back({other.c_str(), OsPort::WindowsPath(other), "TfrmMainForm", {}});
  // Without a settings file the program asks for the operator first: give it one.
  if (!FileExists(kFichierParametres)) {
    ForceDirectories(kDossierParametres);
    EcrireParametres("Banc d'essai", "Mesure");
  }
  StartToPainted(emptyWindow, "TEmptyWindow");  // the wine server's own start is not measured
  for (int round = 0; round < Rounds; ++round) {
    for (std::size_t k = 0; k < starts.size(); ++k) {
      TStart& s = starts[(std::size_t(round) + k) % starts.size()];
      double ms = StartToPainted(s.Program, s.WindowClass);
      if (ms < 0) throw Exception(String("no painted window from ") + s.What);
      s.Times.push_back(ms);
    }
  }
  if (National) OsPort::DeleteFile(copy + ".so");
  std::printf("start to main window painted (%d rounds, programs in turn):\n", Rounds);
  for (const TStart& s : starts) PrintTimes(s.What, s.Times);
  std::printf("  program on the starting database under 1.5 s: %s\n", Median(starts[1].Times) < 1500 ? "met" : "NOT MET");
  for (std::size_t k = 1; k < starts.size(); ++k) {
    double late = Median(starts[k].Times) - Median(starts[0].Times);
    std::printf("  %s - empty window: %+.1f ms (%.2fx); within 100 ms: %s\n", starts[k].What, late,
                Median(starts[k].Times) / Median(starts[0].Times), late < 100 ? "met" : "NOT MET");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--first-load") == 0) {
    try {
      return FirstLoad(argv[2]);
    } catch (Exception& E) {
      std::printf("failed: %s\n", AnsiToUtf8(E.Message).c_str());
      return 1;
    }
  }
  if (argc >= 2 && std::strcmp(argv[1], "--start") == 0) {
    try {
      MeasureStarts(argc > 2 ? std::max(1, std::atoi(argv[2])) : 7, false,
                    std::vector<String>(argv + std::min(argc, 3), argv + argc));
      return 0;
    } catch (Exception& E) {
      std::printf("failed: %s\n", AnsiToUtf8(E.Message).c_str());
      return 1;
    }
  }
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  try {
    const String folder = AppTest::ProgramFolder();
    const String results = folder + "first-load.txt";
    std::printf("module load on the starting database:\n");
    AppTest::MakeModuleDatabase(false);
    if (!OsPort::CopyFile(TestDatabase::StartingDatabasePath(), AppTest::ModuleDatabasePath(), false))
      throw Exception("cannot copy the starting database");
    MeasureLoads(rounds, results);
    std::printf("making the national-size database...\n");
    MakeNationalDatabase();
    std::printf("module load on the national-size database:\n");
    MeasureLoads(rounds, results);
    Application->CreateForm(dmVelbor);
    std::printf("  %d wetlands listed, %d communes, %d animal and %d plant species, %d taxa, %d ZNIEFF\n",
                dmVelbor->qListeZoneHumide->RecordCount(), dmVelbor->D_COMMUNE->RecordCount(),
                dmVelbor->T_TAXON_ANI->RecordCount(), dmVelbor->T_TAXON_VEG->RecordCount(),
                dmVelbor->D_TAXON->RecordCount(), dmVelbor->D_ZNIEFF->RecordCount());

    // Where the load goes: each dataset of the module closed and opened again on its own (what
    // the load pays: the first window), then read to its end (what RecordCount or Last pays).
    struct TOpen {
      String Name;
      int Rows, RecordSize;
      double OpenMs, ReadMs;
    };
    std::vector<TOpen> reopened;
    for (int i = 0; i < dmVelbor->ComponentCount(); ++i)
      if (auto* dataset = dynamic_cast<TDataSet*>(dmVelbor->Components(i)); dataset != nullptr && dataset->Active()) {
        dataset->Close();
        Clock::time_point start = Clock::now();
        dataset->Open();
        double opening = Milliseconds(start);
        start = Clock::now();
        int rows = dataset->RecordCount();
        reopened.push_back({dataset->Name(), rows, dataset->RecordSize(), opening, Milliseconds(start)});
      }
    std::sort(reopened.begin(), reopened.end(), [](const TOpen& a, const TOpen& b) { return a.OpenMs > b.OpenMs; });
    double opened = 0, read = 0;
    for (const TOpen& open : reopened) {
      opened += open.OpenMs;
      read += open.ReadMs;
    }
    std::printf("  the module's %zu open datasets opened again one by one: %.1f ms, then read to their end: %.1f ms;"
                " the costliest to open:\n",
                reopened.size(), opened, read);
    for (std::size_t i = 0; i < reopened.size() && i < 8; ++i)
      std::printf("    %-20s %6d rows of %5d bytes  opened %7.1f ms  read whole %7.1f ms\n", reopened[i].Name.c_str(),
                  reopened[i].Rows, reopened[i].RecordSize, reopened[i].OpenMs, reopened[i].ReadMs);

    // The fixture's first wetland has rows in all 34 details (20 rows in those it fills with
    // several): count them once.
    OpenRecord("073ASTERS0001");
    int rows = 0, details = 0;
    for (int i = 0; i < dmVelbor->ComponentCount(); ++i)
      if (auto* detail = dynamic_cast<TDataSet*>(dmVelbor->Components(i)); detail != nullptr && detail->Tag == 6) {
        ++details;
        rows += detail->RecordCount();
      }
    std::vector<double> opens;
    const char* const codes[] = {"073ASTERS0001", "073ASTERS0002"};
    for (int i = 0; i < 40; ++i) {
      Clock::time_point start = Clock::now();
      OpenRecord(codes[i % 2]);
      opens.push_back(Milliseconds(start));
    }
    char what[96];
    std::snprintf(what, sizeof what, "opening a wetland (%d details, %d rows)", details, rows);
    PrintTimes(what, opens);
    dmVelbor->Free();

    MeasureStarts(rounds, true);
  } catch (Exception& E) {
    std::printf("failed: %s\n", AnsiToUtf8(E.Message).c_str());
    return 1;
  }
  return 0;
}
