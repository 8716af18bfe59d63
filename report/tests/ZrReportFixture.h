// This file implements the fixture of the report tests: a small database of wetlands and their
// species in a temporary folder, the queries over it (the species follow the wetland as detail
// rows), report data links over them, a report owned by the same form, helpers that lay out
// template pages (bands and memos) the way a designer would, and readers of the prepared pages.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "OsPort.h"
#include "Streams.h"

// A temporary folder of the tests and its removal.
namespace ZrFixtureFiles {
inline bool CreateFolder(const String& Path) { return OsPort::CreateDirectory(Path); }
inline void RemoveFolder(const String& Path) {
  for (const String& name : OsPort::ListFolder(Path, "*")) OsPort::DeleteFile(Path + "\\" + name);
  OsPort::RemoveDirectory(Path);
}
}  // namespace ZrFixtureFiles

// Bytes of the stream formats, for files made or damaged by hand.
namespace ZrFixtureBytes {
inline std::string U32(std::uint32_t V) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[std::size_t(i)] = char(V >> (8 * i));
  return s;
}
}  // namespace ZrFixtureBytes

#include "ADODB.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_DBSet.h"
// After the engine's headers: the API macros it brings must not rename their members.
#include "Dialogs.h"

namespace ZrFixtureBytes {
inline std::string StreamBytes(TMemoryStream* Stream) {
  return std::string(static_cast<const char*>(Stream->Memory()), std::size_t(Stream->Size()));
}
// A file damaged by hand, named after its fault.
struct TDamaged {
  const char* Fault;
  std::string Data;
};
// Good with its bytes from At replaced by Bytes.
inline std::string Patched(const std::string& Good, std::size_t At, const std::string& Bytes) {
  std::string d = Good;
  d.replace(At, Bytes.size(), Bytes);
  return d;
}
// Replaces the stream's content and rewinds it.
inline void Load(TMemoryStream& Stream, const std::string& Bytes) {
  Stream.Clear();
  if (!Bytes.empty()) Stream.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
  Stream.SetPosition(0);
}
}  // namespace ZrFixtureBytes

// One object of a prepared page, as the tests look at it.
struct TPrintedObject {
  String Name;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  String Text;  // the memo lines joined by "|", line-end marks removed
};

// The wetlands, their regions and surfaces, and their species (accents included).
struct TWetland {
  const char* Code;
  const char* Name;
  const char* Region;
  double Surface;
  std::vector<const char*> Species;
};

inline const std::vector<TWetland>& FixtureWetlands() {
  static const std::vector<TWetland> rows = {
      {"001", "Marais de Brière"_a, "Bretagne", 10.5, {"Butor étoilé"_a, "Loutre"}},
      {"002", "Etang du Moulin", "Bretagne", 2.0, {}},
      {"003", "Tourbière de Gerbier"_a, "Bretagne", 4.25, {"Droséra"_a}},
      {"004", "Camargue", "Provence", 100.0, {"Flamant rose", "Héron pourpré"_a, "Cistude"}},
      {"005", "Etang de Berre", "Provence", 1.25, {"Sterne"}},
  };
  return rows;
}

class ZrReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor-report-" + std::to_string(std::random_device()());
    ASSERT_TRUE(ZrFixtureFiles::CreateFolder(Folder));
    DatabasePath = Folder + "\\etats.mdb";
    {
      SqliteSession session(DatabasePath, TSqliteOpenMode::CreateIfMissing);
      session.ExecuteScript(
          "create table ZONE (CODE text primary key, NOM text, REGION text, SURFACE real);"
          "create table ESPECE (ZONE_CODE text, ESPECE text);");
      CreateRows(session);
    }
    Form = std::make_unique<TComponent>(nullptr);
    Form->SetName("fmEtats");
    Connection = new TADOConnection(Form.get());
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + DatabasePath);
    Connection->Open();
    Zones = NewQuery("qZones", "select CODE, NOM, REGION, SURFACE from ZONE order by REGION, CODE");
    ZonesSource = new TDataSource(Form.get());
    ZonesSource->SetName("dsZones");
    ZonesSource->SetDataSet(Zones);
    Species = NewQuery("qEspeces", "select ZONE_CODE, ESPECE from ESPECE where ZONE_CODE = :CODE order by ESPECE");
    Species->SetDataSource(ZonesSource);
    Zones->Open();
    Species->Open();
    ZonesLink = NewLink("zrZones", Zones);
    SpeciesLink = NewLink("zrEspeces", Species);
    Report = new TzrReport(Form.get());
    Report->SetName("zrEtat");
    Report->ShowProgress = false;
    // Script variables live as long as the program: no test sees another's.
    zrGlobals().ScriptVariables()->Clear();
  }

  void TearDown() override {
    // A report that shows a message nobody expected is a failure, not a window left open.
    for (const TModalQuestion& q : Modal.Unexpected) ADD_FAILURE() << "unexpected message: " << q.Caption << " / " << q.Text;
    Form.reset();
    ZrFixtureFiles::RemoveFolder(Folder);
  }

  // The rows of FixtureWetlands; a test may add more before the queries open again.
  virtual void CreateRows(SqliteSession& Session) {
    for (const TWetland& w : FixtureWetlands()) {
      SqliteStatement zone = Session.Prepare("insert into ZONE values (?, ?, ?, ?)");
      zone.BindText(1, w.Code);
      zone.BindText(2, w.Name);
      zone.BindText(3, w.Region);
      zone.BindDouble(4, w.Surface);
      zone.Execute();
      for (const char* s : w.Species) {
        SqliteStatement species = Session.Prepare("insert into ESPECE values (?, ?)");
        species.BindText(1, w.Code);
        species.BindText(2, s);
        species.Execute();
      }
    }
  }

  TADOQuery* NewQuery(const String& Name, const String& Sql) {
    auto* query = new TADOQuery(Form.get());
    query->SetName(Name);
    query->SetConnection(Connection);
    query->SQL()->SetText(Sql);
    return query;
  }

  TzrDBDataSet* NewLink(const String& Name, TDataSet* DataSet) {
    auto* link = new TzrDBDataSet(Form.get());
    link->SetName(Name);
    link->SetDataSet(DataSet);
    link->OpenDataSource = false;
    return link;
  }

  // ---- Laying out a template page.

  TzrPage* AddPage() { return Report->Pages()->Add(); }
  // A build reads the template back when it ends: its pages and objects are new objects then, and
  // pointers taken before the build must not be used after it.
  TzrPage* TemplatePage(int Index = 0) const { return Report->Pages()->Pages(Index); }

  // A band marker across the page at Top: kinds of TzrBandKind; Source is the data source name (data
  // bands) or the group condition (group headers).
  TzrBandView* AddBand(TzrPage* Page, int Kind, int Top, int Height, const String& Source = String(),
                       const String& Name = String()) {
    auto* band = new TzrBandView();
    band->SetBandType(Kind);
    band->PlaceAt(0, Top, Page->PrintArea.PageWidth, Height);
    band->FormatText = Source;
    Page->AddObject(band);
    band->Name = Name.empty() ? "Band" + IntToStr(++FBandCount) : Name;
    return band;
  }

  // A memo of one line (lines separated by "|"), no frame, Arial 10, no stretching.
  TzrMemoView* AddMemo(TzrPage* Page, const String& Name, int Left, int Top, int Width, int Height,
                       const String& Text) {
    auto* memo = new TzrMemoView();
    memo->Name = Name;
    memo->PlaceAt(Left, Top, Width, Height);
    memo->Flags = zrmfWordWrap;
    String rest = Text;
    for (;;) {
      std::size_t bar = rest.find('|');
      memo->Memo()->Add(rest.substr(0, bar));
      if (bar == String::npos) break;
      rest = rest.substr(bar + 1);
    }
    Page->AddObject(memo);
    return memo;
  }

  // ---- Reading the prepared pages.

  std::vector<TPrintedObject> PrintedObjects(int PageIndex) {
    std::vector<TPrintedObject> objects;
    TzrEMFPages* pages = Report->EMFPages();
    TzrPage* page = pages->UnpackPage(PageIndex);
    for (int i = 0; i < page->ObjectCount(); ++i) {
      TzrView* v = page->Objects(i);
      TPrintedObject o{v->Name, v->Left, v->Top, v->Width, v->Height, String()};
      for (int k = 0; k < v->Memo()->Count(); ++k) {
        String line = v->Memo()->Strings(k);
        line.erase(std::remove(line.begin(), line.end(), zrLineEnd), line.end());
        if (line.empty() && k == v->Memo()->Count() - 1 && v->Memo()->Strings(k) == String(1, zrLineEnd)) continue;
        if (!o.Text.empty() || k > 0) o.Text += "|";
        o.Text += line;
      }
      objects.push_back(o);
    }
    pages->Pages(PageIndex).Page.reset();
    return objects;
  }

  // The texts of a page's objects of a name (or every object when Name is empty), in page order.
  std::vector<String> Texts(int PageIndex, const String& Name = String()) {
    std::vector<String> texts;
    for (const TPrintedObject& o : PrintedObjects(PageIndex))
      if (Name.empty() || o.Name == Name) texts.push_back(o.Text);
    return texts;
  }

  // "Name:Text" of every object of a page, in print order.
  std::vector<String> Trace(int PageIndex) {
    std::vector<String> trace;
    for (const TPrintedObject& o : PrintedObjects(PageIndex)) trace.push_back(o.Name + ":" + o.Text);
    return trace;
  }

  // Answers the questions the engine asks; tests that expect one read it and clear Unexpected.
  TModalScript Modal;
  String Folder;
  String DatabasePath;
  std::unique_ptr<TComponent> Form;
  TADOConnection* Connection = nullptr;
  TADOQuery* Zones = nullptr;
  TDataSource* ZonesSource = nullptr;
  TADOQuery* Species = nullptr;
  TzrDBDataSet* ZonesLink = nullptr;
  TzrDBDataSet* SpeciesLink = nullptr;
  TzrReport* Report = nullptr;

 private:
  int FBandCount = 0;
};
