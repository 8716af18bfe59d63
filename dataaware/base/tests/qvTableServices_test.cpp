// Tests of the dataset services that reach the engine-like table: the nearest key of the active
// index, choosing an index for fields, and the warning of a table without index.
#include <gtest/gtest.h>

#include "Dialogs.h"
#include "Field.h"
#include "Forms.h"
#include "FormatSettings.h"
#include "SqliteSession.h"
#include "Table.h"
#include "SqliteTableData.h"
#include "TestFolder.h"
#include "VectorDataSet.h"
#include "qvDataSetUtils.h"
#include "qvRecordSearch.h"

namespace {
class TableServices : public TestFolder, public SqliteTableData {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    FormatSettings = TFormatSettings::French();
    MakeTableData(PathOf("services.db"),
                  "CREATE TABLE Commune (Code INTEGER PRIMARY KEY, Dept TEXT COLLATE VELBOR, Nom TEXT COLLATE VELBOR,"
                  " Surface REAL);"
                  "CREATE INDEX ByDeptNom ON Commune (Dept, Nom);"
                  "CREATE INDEX BySurface ON Commune (Surface);"
                  "CREATE INDEX ByNom ON Commune (Nom);"
                  "INSERT INTO Commune VALUES (1, '34', 'Agde', 50.8), (2, '34', 'Sète', 24.2), (3, '30', 'Nîmes', 161.9),"
                  " (4, '30', 'Aigues-Mortes', 57.8);"_a,
                  "Commune");
    Table->Open();
  }
  void TearDown() override {
    FreeTableData();
    TestFolder::TearDown();
  }
  int Code() { return Table->FieldByName("Code")->AsInteger(); }

};

TEST_F(TableServices, ChoosesTheIndexOfTheFields) {
  EXPECT_FALSE(qvTableHasIndex(Table.get()));
  qvSetIndexForFields(Table.get(), "dept");
  EXPECT_EQ(Table->IndexName(), "ByDeptNom");
  EXPECT_TRUE(qvTableHasIndex(Table.get()));
  qvSetIndexForFields(Table.get(), "Surface");
  EXPECT_EQ(Table->IndexName(), "BySurface");
  qvSetIndexForFields(Table.get(), "Surface;Nom");  // no index begins with both
  EXPECT_EQ(Table->IndexName(), "BySurface");
  qvSwitchTableIndex(Table.get(), "PrimaryKey");
  EXPECT_EQ(Table->IndexFields(), "Code");
}

TEST_F(TableServices, FindsTheNearestKeyOfTheActiveIndex) {
  Table->SetIndexName("ByDeptNom");
  Table->First();  // 30 Aigues-Mortes
  EXPECT_TRUE(qvFindNearestInIndex(Table.get(), "n", 1));  // within department 30
  EXPECT_EQ(Code(), 3);
  EXPECT_TRUE(qvFindNearestInIndex(Table.get(), "34", 0));
  EXPECT_EQ(Code(), 1);
  EXPECT_FALSE(qvFindNearestInIndex(Table.get(), "33", 0));  // nearest is 34, which does not begin with 33
  EXPECT_EQ(Code(), 1);

  Table->SetIndexName("BySurface");
  EXPECT_TRUE(qvFindNearestInIndex(Table.get(), "57,8", 0));
  EXPECT_EQ(Code(), 4);
  EXPECT_FALSE(qvFindNearestInIndex(Table.get(), "abc", 0));  // letters against a number: no move
  EXPECT_EQ(Code(), 4);
}

// The record search through the key of the active index.
TEST_F(TableServices, TheRecordSearchUsesTheKey) {
  Table->SetIndexName("ByNom");
  EXPECT_TRUE(qvFindFieldValue(true, Table.get(), "Nom", "nîmes"_a, mtExactMatch, false, false));
  EXPECT_EQ(Code(), 3);
  EXPECT_TRUE(qvFindFieldValue(true, Table.get(), "Nom", "s", mtPartialMatchStart, false, false));
  EXPECT_EQ(Code(), 2);
  EXPECT_FALSE(qvFindFieldValue(true, Table.get(), "Nom", "zz", mtPartialMatchStart, false, false));
  EXPECT_EQ(Code(), 2);
  // From Agde, the next record starting with "a" is Aigues-Mortes; then none.
  EXPECT_TRUE(qvFindFieldValue(true, Table.get(), "Nom", "a", mtPartialMatchStart, false, false));
  EXPECT_EQ(Code(), 1);
  EXPECT_TRUE(qvFindFieldValue(false, Table.get(), "Nom", "a", mtPartialMatchStart, false, false));
  EXPECT_EQ(Code(), 4);
  EXPECT_FALSE(qvFindFieldValue(false, Table.get(), "Nom", "a", mtPartialMatchStart, false, false));
  EXPECT_EQ(Code(), 4);
  // Case-sensitive on a case-insensitive index: the search goes by the rows, with the same answer.
  EXPECT_TRUE(qvFindFieldValue(true, Table.get(), "Nom", "Sète"_a, mtExactMatch, true, false));
  EXPECT_EQ(Code(), 2);
  EXPECT_FALSE(qvFindFieldValue(true, Table.get(), "Nom", "sète"_a, mtExactMatch, true, false));
}

TEST_F(TableServices, ATableWithoutIndexWarns) {
  TModalScript Script;
  Script.Push(mrOk);
  EXPECT_FALSE(qvFindNearestInIndex(Table.get(), "x", 0));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Table Commune: Table index not found");

  TVectorDataSet Other{{{"Code", ftInteger}}};
  Other.Open();
  EXPECT_FALSE(qvFindNearestInIndex(&Other, "1", 0));
  EXPECT_FALSE(qvTableHasIndex(&Other));
}
}  // namespace
