// This file implements what the lookup controls' tests share: a shown form answered by a modal
// script, a dictionary dataset held in memory, and tables in an SQLite database of a temporary
// folder read through a query.
#pragma once

#include <memory>
#include <random>
#include <vector>

#include "ADODB.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "StdCtrlsTestSupport.h"
#include "StrUtils.h"
#include "Strings.h"
#include "VectorDataSet.h"

namespace lookup_test {

// A dictionary of codes and labels held in memory: CODE "C01" ... with LIB from Labels.
inline std::unique_ptr<TVectorDataSet> MakeDictionary(const std::vector<String>& Labels) {
  auto data = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"CODE", ftString, 6}, {"LIB", ftString, 40}});
  for (std::size_t i = 0; i < Labels.size(); ++i) {
    String code = "C" + String(i + 1 < 10 ? "0" : "") + IntToStr(static_cast<long long>(i + 1));
    data->AddRow({Variant(code), Variant(Labels[i])});
  }
  data->Open();
  return data;
}

// Records the events of a lookup control.
class TLookupLog : public TObject {
 public:
  int Changes = 0;
  int Clicks = 0;
  int DropDowns = 0;
  int CloseUps = 0;
  void Changed(TObject*) { ++Changes; }
  void Clicked(TObject*) { ++Clicks; }
  void DroppedDown(TObject*) { ++DropDowns; }
  void ClosedUp(TObject*) { ++CloseUps; }
};

// A shown, active form freed at the end of the test; a question nobody expected (an error dialog
// from a window procedure among them) fails the test.
class LookupFormTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    Form->SetBounds(120, 100, 460, 340);
    ShowForm();
  }
  void TearDown() override {
    PumpPending();
    StdFormTest::TearDown();
  }
  TLookupLog Log;
};

// A folder of its own in the temporary folder, removed with what it holds.
struct TTempFolder {
  TTempFolder() {
    Path = OsPort::TempFolder() + "velbor-lookup-" + std::to_string(std::random_device()());
    OsPort::CreateDirectory(Path);
  }
  ~TTempFolder() {
    for (const String& name : OsPort::ListFolder(Path, "*")) OsPort::DeleteFile(Path + "\\" + name);
    OsPort::RemoveDirectory(Path);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  String Path;
};

// A database file in a folder of its own, made by Script, with a connection to it and the query
// Select over it (opened), as a lookup control reads its rows.
class QueryDatabase {
 public:
  QueryDatabase(const String& Script, const String& Select) {
    String path = Folder.Path + "\\lookup.mdb";
    {
      SqliteSession session(path, TSqliteOpenMode::CreateIfMissing);
      session.ExecuteScript(Script);
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + path);
    Connection->Open();
    Query = new TADOQuery(nullptr);
    Query->SetConnection(Connection.get());
    Query->SQL()->SetText(Select);
    Query->Open();
    Source = new TDataSource(nullptr);
    Source->SetDataSet(Query);
  }
  ~QueryDatabase() {
    delete Source;
    delete Query;
    Connection.reset();
  }
  QueryDatabase(const QueryDatabase&) = delete;
  QueryDatabase& operator=(const QueryDatabase&) = delete;

  TTempFolder Folder;
  std::unique_ptr<TADOConnection> Connection;
  // Freed by the destructor unless a test freed them first (and set them to null).
  TADOQuery* Query;
  TDataSource* Source;
};

// The table T_ZONE_HUMIDE with the given codes, read as the export's range dialog reads them.
inline std::unique_ptr<QueryDatabase> MakeCodeDatabase(const std::vector<String>& Codes) {
  String script = "CREATE TABLE T_ZONE_HUMIDE (ZH_CODE VARCHAR(13) COLLATE VELBOR NOT NULL PRIMARY KEY, "
                  "ZH_NOM VARCHAR(100) COLLATE VELBOR);\n";
  for (const String& code : Codes)
    script += "insert into T_ZONE_HUMIDE (ZH_CODE, ZH_NOM) values (" + QuotedStr(code) + ", " +
              QuotedStr("zone " + code) + ");\n";
  return std::make_unique<QueryDatabase>(script, "select zh_code from T_ZONE_HUMIDE  ORDER BY ZH_CODE");
}

}  // namespace lookup_test
