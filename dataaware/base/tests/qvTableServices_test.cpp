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
                  " (4, '30', 'Aigues-Mortes', 57.8),"
                  // Names whose letters are the same up to their accents and case.
                  " (5, '61', 'écouché', 26.5), (6, '61', 'Écouen', 7.5), (7, '62', 'Ecouis', 9.4);"_a,
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

// The index orders the letters before the accents: the nearest key to a text may be an accented
// variant of it, and the search reads on to the first key that begins with the text itself (case
// ignored), within the current values of the index fields before the searched one.
TEST_F(TableServices, TheNearestKeyBeginsWithTheTextWithItsAccents) {
  struct TCase {
    const char* Index;
    int Position;
    int From;  // the record the search starts on
    String Text;
    bool Found;
    int Code;  // where the table stands after the search
  };
  const TCase Cases[] = {
      {"ByNom", 0, 1, "ecou", true, 7},            // after écouché and Écouen
      {"ByNom", 0, 1, "eco", true, 7},
      {"ByNom", 0, 1, "écou"_a, true, 5},
      {"ByNom", 0, 1, "ÉCOUE"_a, true, 6},
      {"ByNom", 0, 1, "écoui"_a, false, 7},        // none: the nearest key
      {"ByDeptNom", 1, 5, "ecou", false, 5},       // Ecouis lies in another department
      {"ByDeptNom", 1, 5, "Écouen"_a, true, 6},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(String(Case.Index) + " " + Case.Text);
    Table->SetIndexName(Case.Index);
    ASSERT_TRUE(Table->Locate("Code", Variant(Case.From), TLocateOptions{}));
    EXPECT_EQ(qvFindNearestInIndex(Table.get(), Case.Text, Case.Position), Case.Found);
    EXPECT_EQ(Code(), Case.Code);
  }
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
