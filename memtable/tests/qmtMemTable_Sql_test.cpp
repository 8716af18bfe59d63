// Tests of filling the in-memory table from an SQL dataset over a real database file: the copy the
// data module makes of a detail table for its duplicate check.
#include <gtest/gtest.h>

#include "ADODB.h"
#include "SqliteSession.h"
#include "Strings.h"
#include "qmtMemTable.h"
#include "../../db/tests/TestFolder.h"

namespace {

class MemTableFromSql : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    DbPath = PathOf("detail.mdb");
    SqliteSession session(DbPath, TSqliteOpenMode::CreateIfMissing);
    session.ExecuteScript(
        "CREATE TABLE T_HABITAT_ZH (ZH_CODE VARCHAR(13) COLLATE VELBOR NOT NULL,"
        " HABITAT_CODE VARCHAR(10) COLLATE VELBOR NOT NULL, HAB_ORDRE DOUBLE,"
        " PRIMARY KEY (ZH_CODE, HABITAT_CODE));"
        "INSERT INTO T_HABITAT_ZH VALUES ('073ASTERS0001', '22.1', 1);"
        "INSERT INTO T_HABITAT_ZH VALUES ('073ASTERS0001', '53.11', 2);"
        "INSERT INTO T_HABITAT_ZH VALUES ('073ASTERS0001', '', 3);"
        "INSERT INTO T_HABITAT_ZH VALUES ('074MOREAU0002', '22.1', 1);");
  }
  String DbPath;
};

TEST_F(MemTableFromSql, CopiesTheRowsOfTheOpenQueryAndFiltersThemForTheDuplicateCheck) {
  TComponent owner(nullptr);
  auto* connection = new TADOConnection(&owner);
  connection->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DbPath);
  auto* query = new TADOQuery(&owner);
  query->SetConnection(connection);
  query->SQL()->SetText("select * from T_HABITAT_ZH where ZH_CODE = '073ASTERS0001' order by HAB_ORDRE");
  query->Open();
  query->Last();  // the copy must not depend on where the source stands

  auto* check = new TqmtMemTable(&owner);
  check->FillFromDataSet(query, mtcpoStructure | mtcpoProperties);
  ASSERT_EQ(check->RecordCount(), 3);
  EXPECT_EQ(check->FieldByName("HABITAT_CODE")->Size(), 10);
  EXPECT_EQ(query->RecNo(), 3);

  struct Case {
    const char* Filter;
    int Count;
  } cases[] = {
      {"habitat_code = '22.1'", 1},
      {"HABITAT_CODE = '53.11' and ZH_CODE = '073ASTERS0001'", 1},
      {"HABITAT_CODE = ''", 1},
      {"HABITAT_CODE = '99'", 0},
  };
  for (const Case& c : cases) {
    check->SetFilter(c.Filter);
    check->SetFiltered(true);
    EXPECT_EQ(check->RecordCount(), c.Count) << c.Filter;
    check->SetFiltered(false);
  }
}

}  // namespace
