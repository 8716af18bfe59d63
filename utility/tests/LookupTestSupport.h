// This file implements what the lookup controls' tests share: a shown form answered by a modal
// script, a dictionary dataset held in memory, and a code table in an SQLite database of a
// temporary folder read through a query.
#pragma once

#include <memory>
#include <vector>

#include "ADODB.h"
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
    Pump(20);
    StdFormTest::TearDown();
  }
  TLookupLog Log;
};

// A database file of a temporary folder holding the table T_ZONE_HUMIDE with the given codes, a
// connection to it and a query over the codes in order, as the export's range dialog reads them.
class CodeDatabase {
 public:
  CodeDatabase(const String& Folder, const std::vector<String>& Codes) {
    String path = Folder + "\\codes.mdb";
    {
      SqliteSession session(path, TSqliteOpenMode::CreateIfMissing);
      session.ExecuteScript("CREATE TABLE T_ZONE_HUMIDE (ZH_CODE VARCHAR(13) COLLATE VELBOR NOT NULL PRIMARY KEY, ZH_NOM VARCHAR(100) COLLATE VELBOR)");
      for (const String& code : Codes) {
        session.Execute("insert into T_ZONE_HUMIDE (ZH_CODE, ZH_NOM) values ('" + code + "', 'zone " + code + "')");
      }
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + path);
    Connection->Open();
    Query = new TADOQuery(nullptr);
    Query->SetConnection(Connection.get());
    Query->SQL()->SetText("select zh_code from T_ZONE_HUMIDE  ORDER BY ZH_CODE");
    Query->Open();
    Source = new TDataSource(nullptr);
    Source->SetDataSet(Query);
  }
  ~CodeDatabase() {
    delete Source;
    delete Query;
    Connection.reset();
  }
  CodeDatabase(const CodeDatabase&) = delete;
  CodeDatabase& operator=(const CodeDatabase&) = delete;

  std::unique_ptr<TADOConnection> Connection;
  // Freed by the destructor unless a test freed them first (and set them to null).
  TADOQuery* Query;
  TDataSource* Source;
};

}  // namespace lookup_test
