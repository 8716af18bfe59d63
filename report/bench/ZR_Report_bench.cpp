// This file implements a benchmark of the report engine, run by hand: preparing a list of 3,000
// wetlands over 100 pages, and loading a template of a record sheet (five pages, 300 objects).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "OsPort.h"

namespace {
bool MakeFolder(const String& Path) { return OsPort::CreateDirectory(Path); }
void RemoveFolder(const String& Path) {
  for (const String& name : OsPort::ListFolder(Path, "*")) OsPort::DeleteFile(Path + "\\" + name);
  OsPort::RemoveDirectory(Path);
}
}  // namespace

#include "ADODB.h"
#include "DataSource.h"
#include "Format.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_DBSet.h"
#include "Dialogs.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

const int Records = 3000;
const int Runs = 5;

TzrBandView* AddBand(TzrPage* Page, int Kind, int Top, int Height, const String& Source) {
  auto* band = new TzrBandView();
  band->SetBandType(Kind);
  band->PlaceAt(0, Top, Page->PrintArea.PageWidth, Height);
  band->FormatText = Source;
  Page->AddObject(band);
  band->MakeUniqueName();
  return band;
}

TzrMemoView* AddMemo(TzrPage* Page, int Left, int Top, int Width, int Height, const String& Text) {
  auto* memo = new TzrMemoView();
  memo->PlaceAt(Left, Top, Width, Height);
  memo->Flags = zrmfWordWrap;
  memo->FrameTyp = zrFrameBottom;
  memo->Memo()->SetText(Text);
  Page->AddObject(memo);
  memo->MakeUniqueName();
  return memo;
}

void Report(const char* What, std::vector<double> Times) {
  std::sort(Times.begin(), Times.end());
  std::printf("%-52s min %8.1f ms  median %8.1f ms  max %8.1f ms\n", What, Times.front(), Times[Times.size() / 2],
              Times.back());
}

}  // namespace

int main() {
  TModalScript modal;
  String folder = OsPort::TempFolder() + "velbor-report-bench-" + std::to_string(std::random_device()());
  if (!MakeFolder(folder)) return 1;
  String database = folder + "\\liste.mdb";
  {
    SqliteSession session(database, TSqliteOpenMode::CreateIfMissing);
    session.ExecuteScript("create table ZONE (CODE text primary key, NOM text, REGION text, SURFACE real);");
    session.BeginTransaction();
    SqliteStatement insert = session.Prepare("insert into ZONE values (?, ?, ?, ?)");
    for (int i = 0; i < Records; ++i) {
      insert.Reset();
      insert.BindText(1, Format("%.3dBENCH%.4d", {i % 100, i}));
      insert.BindText(2, "Zone humide de l'étang n° "_a + IntToStr(i));
      insert.BindText(3, i % 2 ? "Bretagne" : "Provence-Alpes-Côte d'Azur"_a);
      insert.BindDouble(4, 1.25 * (i % 400));
      insert.Execute();
    }
    session.Commit();
  }

  TComponent form(nullptr);
  form.SetName("fmBench");
  auto* connection = new TADOConnection(&form);
  connection->LoginPrompt = false;
  connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + database);
  connection->Open();
  auto* query = new TADOQuery(&form);
  query->SetName("qListe");
  query->SetConnection(connection);
  query->SQL()->SetText("select CODE, NOM, REGION, SURFACE from ZONE order by CODE");
  query->Open();
  auto* link = new TzrDBDataSet(&form);
  link->SetName("zrListe");
  link->SetDataSet(query);
  link->OpenDataSource = false;

  // The list: a page header, rows of 33 pixels (two lines where the region wraps), a page footer:
  // about 100 pages.
  auto* report = new TzrReport(&form);
  report->SetName("zrEtatListe");
  report->ShowProgress = false;
  TzrPage* page = report->Pages()->Add();
  AddBand(page, btPageHeader, 10, 30, String())->Flags |= zrbfOnFirstPage;
  AddMemo(page, 10, 10, 700, 24, "Liste des zones humides actives");
  // The rows stretch with their name and region, so every row is measured and laid out.
  AddBand(page, btMasterDataKind, 60, 33, "zrListe")->Flags |= zrbfStretched;
  AddMemo(page, 10, 60, 120, 30, "[qListe.\"CODE\"]");
  AddMemo(page, 140, 60, 330, 30, "Nom : [qListe.\"NOM\"]")->Flags |= 1;
  AddMemo(page, 480, 60, 150, 30, "[qListe.\"REGION\"]")->Flags |= 1;
  AddMemo(page, 640, 60, 100, 30, "[qListe.\"SURFACE\" #N2,2] ha");
  AddBand(page, btPageFooter, 1000, 25, String());
  AddMemo(page, 10, 1000, 700, 20, "Page [PAGE#]");

  std::vector<double> prepare;
  int pages = 0;
  for (int run = 0; run < Runs; ++run) {
    Clock::time_point start = Clock::now();
    report->Prepare();
    prepare.push_back(Milliseconds(start));
    pages = report->EMFPages()->Count();
  }
  std::printf("list of %d records: %d prepared pages\n", Records, pages);
  {
    TzrPage* middle = report->EMFPages()->UnpackPage(50);
    // What a page holds, to see that the rows were printed.
    auto text = [middle](int I) {
      String t = middle->Objects(I)->Memo()->Text();
      t.erase(std::remove_if(t.begin(), t.end(), [](char C) { return C == zrLineEnd || C == '\r' || C == '\n'; }), t.end());
      return t;
    };
    std::printf("page 51: %d objects, first '%s', a row '%s | %s | %s | %s', last '%s'\n", middle->ObjectCount(),
                text(0).c_str(), text(1).c_str(), text(2).c_str(), text(3).c_str(), text(4).c_str(),
                text(middle->ObjectCount() - 1).c_str());
    report->EMFPages()->Pages(50).Page.reset();
  }

  Report("preparing the list", prepare);

  // A record sheet: five pages of 60 objects each (bands and memos with expressions and frames).
  auto* sheet = new TzrReport(&form);
  sheet->SetName("zrFiche");
  for (int p = 0; p < 5; ++p) {
    TzrPage* sheetPage = sheet->Pages()->Add();
    AddBand(sheetPage, btPageHeader, 10, 40, String());
    AddBand(sheetPage, btMasterDataKind, 60, 600, "zrListe");
    for (int i = 0; i < 58; ++i) {
      TzrMemoView* memo = AddMemo(sheetPage, 10 + (i % 2) * 360, 60 + (i / 2) * 20, 350, 18,
                                  "Rubrique " + IntToStr(i) + " : [qListe.\"NOM\"]");
      memo->FrameTyp = zrFrameAll;
      memo->Script()->SetText("if [qListe.\"SURFACE\"] > 100 then Visible := 1");
    }
  }
  String file = folder + "\\fiche.zrf";
  {
    TFileStream out(file, fmCreate);
    sheet->WriteTemplate(&out);
  }
  std::vector<double> load;
  auto* loaded = new TzrReport(&form);
  for (int run = 0; run < 20; ++run) {
    Clock::time_point start = Clock::now();
    loaded->LoadTemplateFile(file);
    load.push_back(Milliseconds(start));
  }
  int objects = 0;
  for (int p = 0; p < loaded->Pages()->Count(); ++p) objects += loaded->Pages()->Pages(p)->ObjectCount();
  std::printf("template of %d pages and %d objects, %lld bytes\n", loaded->Pages()->Count(), objects,
              (long long)TFileStream(file, fmOpenRead).Size());
  Report("loading the template", load);

  RemoveFolder(folder);
  return modal.Unexpected.empty() ? 0 : 2;
}
