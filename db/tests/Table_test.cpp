// Tests of the engine-like table: index definitions from the file, ordering by the active index,
// FindKey and FindNearest, ranges, and engine filters seeing every record.
#include <gtest/gtest.h>

#include "ADODB.h"
#include "Field.h"
#include "FormatSettings.h"
#include "SqliteSession.h"
#include "Table.h"
#include "SqliteTableData.h"
#include "TestFolder.h"

namespace {
class TableTest : public TestFolder, public SqliteTableData {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    FormatSettings = TFormatSettings::French();
    MakeTableData(PathOf("table.db"),
                  "CREATE TABLE Site (Code INTEGER PRIMARY KEY, Nom TEXT COLLATE VELBOR, Dept TEXT COLLATE VELBOR,"
                  " Surface REAL);"
                  "CREATE INDEX ByNom ON Site (Nom);"
                  "CREATE UNIQUE INDEX ByDeptNom ON Site (Dept, Nom);"
                  "CREATE INDEX BySurface ON Site (Surface);"
                  "INSERT INTO Site VALUES (1, 'Lagune', '34', 12.5), (2, 'étang', '30', 3.0), (3, 'Marais', '34', 40.0),"
                  " (4, 'Étang d''eau', '13', 3.5), (5, 'Baie', '30', NULL);"_a,
                  "Site");
  }
  void TearDown() override {
    FreeTableData();
    TestFolder::TearDown();
  }

  String Codes() {
    String Result;
    for (Table->First(); !Table->Eof(); Table->Next()) Result += (Result.empty() ? "" : ",") + Table->FieldByName("Code")->AsString();
    return Result;
  }
  int Code() { return Table->FieldByName("Code")->AsInteger(); }

};

TEST_F(TableTest, ReadsTheIndexDefinitionsOfTheFile) {
  const std::vector<TIndexDef>& Defs = Table->IndexDefs();
  ASSERT_EQ(Defs.size(), 4u);
  EXPECT_EQ(Defs[0].Name, "PrimaryKey");
  EXPECT_EQ(Defs[0].Fields, "Code");
  EXPECT_TRUE(Defs[0].Primary);
  EXPECT_FALSE(Defs[0].CaseInsensitive);
  EXPECT_EQ(Defs[1].Name, "ByDeptNom");
  EXPECT_EQ(Defs[1].Fields, "Dept;Nom");
  EXPECT_TRUE(Defs[1].Unique);
  EXPECT_TRUE(Defs[1].CaseInsensitive);
  EXPECT_EQ(Defs[2].Name, "ByNom");
  EXPECT_EQ(Defs[3].Fields, "Surface");
  EXPECT_FALSE(Defs[3].CaseInsensitive);
}

TEST_F(TableTest, TheActiveIndexOrdersTheRows) {
  Table->Open();
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  Table->SetIndexName("ByNom");
  EXPECT_EQ(Codes(), "5,2,4,1,3");  // accents and case do not count first
  Table->SetIndexName("ByDeptNom");
  EXPECT_EQ(Codes(), "4,5,2,1,3");
  EXPECT_THROW(Table->SetIndexName("Nothing"), EDatabaseError);
}

TEST_F(TableTest, FindKeyAndFindNearest) {
  Table->SetIndexName("ByDeptNom");
  Table->Open();
  EXPECT_TRUE(Table->FindKey({Variant("34"), Variant("marais")}));
  EXPECT_EQ(Code(), 3);
  EXPECT_TRUE(Table->FindKey({Variant("30")}));
  EXPECT_EQ(Code(), 5);
  EXPECT_FALSE(Table->FindKey({Variant("31")}));
  EXPECT_EQ(Code(), 5);  // not moved
  Table->FindNearest({Variant("31")});
  EXPECT_EQ(Code(), 1);
  Table->FindNearest({Variant("99")});
  EXPECT_EQ(Code(), 3);  // past every key: the last record

  Table->SetIndexName("BySurface");
  Table->FindNearest({Variant(3.2)});
  EXPECT_EQ(Code(), 4);
  EXPECT_TRUE(Table->FindKey({Variant(40.0)}));
  EXPECT_EQ(Code(), 3);
}

TEST_F(TableTest, RangesKeepTheKeysBetweenTheirEnds) {
  Table->SetIndexName("ByNom");
  Table->Open();
  Table->SetRange({Variant("e")}, {Variant("ezzz")});
  EXPECT_EQ(Codes(), "2,4");
  Table->SetRange({Variant("M")}, {});
  EXPECT_EQ(Codes(), "3");
  // A quote in a value stays inside its literal.
  Table->SetRange({Variant("x' OR 1=1 --")}, {});
  EXPECT_EQ(Codes(), "");
  Table->CancelRange();
  EXPECT_EQ(Codes(), "5,2,4,1,3");

  Table->SetIndexName("ByDeptNom");
  Table->SetRange({Variant("30"), Variant("c")}, {Variant("34"), Variant("m")});
  EXPECT_EQ(Codes(), "2,1");
}

TEST_F(TableTest, ADescendingIndexIsMarkedAndOrdersDownward) {
  Connection->Session()->ExecuteScript("CREATE INDEX ByNomDesc ON Site (Nom DESC, Code);"
                                       "CREATE INDEX ByDeptSurface ON Site (Dept, Surface DESC);");
  Table->UpdateIndexDefs();
  const TIndexDef* Down = nullptr;
  const TIndexDef* Mixed = nullptr;
  for (const TIndexDef& Def : Table->IndexDefs()) {
    if (Def.Name == "ByNomDesc") Down = &Def;
    if (Def.Name == "ByDeptSurface") Mixed = &Def;
    if (Def.Name == "ByNom") {
      EXPECT_FALSE(Def.Descending);
    }
  }
  ASSERT_TRUE(Down != nullptr && Mixed != nullptr);
  EXPECT_TRUE(Down->Descending);
  EXPECT_EQ(Down->DescFields, "Nom");
  EXPECT_FALSE(Mixed->Descending) << "its first field sorts upward";
  EXPECT_EQ(Mixed->DescFields, "Surface");

  Table->SetIndexName("ByNomDesc");
  Table->Open();
  EXPECT_EQ(Codes(), "3,1,4,2,5");
  // Key searches follow the index's direction.
  EXPECT_TRUE(Table->FindKey({Variant("lagune")}));
  EXPECT_EQ(Code(), 1);
  Table->FindNearest({Variant("F")});
  EXPECT_EQ(Code(), 4) << "the first name not above F, going down";
  Table->SetIndexName("ByDeptSurface");
  EXPECT_EQ(Codes(), "4,2,5,3,1");
}

bool KeepOdd(void* ClientData, TDataSet* DataSet) {
  ++*static_cast<int*>(ClientData);
  return DataSet->FieldByName("Code")->AsInteger() % 2 == 1;
}

TEST_F(TableTest, EngineFiltersSeeEveryRecord) {
  Table->Open();
  int Calls = 0;
  int Odd = Table->AddFilter(&KeepOdd, &Calls);
  EXPECT_EQ(Codes(), "1,3,5");
  EXPECT_GE(Calls, 5);

  // A descriptor for Surface > 10: field node, constant node (float 10), comparison at the root.
  std::vector<std::uint8_t> Bytes(10 + 3 * 14 + 1000, 0);
  auto Word = [&](int At, int V) { Bytes[std::size_t(At)] = std::uint8_t(V), Bytes[std::size_t(At) + 1] = std::uint8_t(V >> 8); };
  Word(0, 1), Word(2, 10 + 42 + 8 + 8), Word(4, 3), Word(6, 10), Word(8, 52);
  Word(10, 2), Word(14, 5), Word(18, 28), Word(20, 14);                  // ">" of slots 2 and 1
  Word(24, 5), Word(28, 14), Word(32, 7), Word(34, 8), Word(36, 8);      // the float at literal 8
  Word(38, 4), Word(42, 13), Word(46, 1), Word(48, 0);                   // the field, name at 0
  const char Name[] = "Surface";
  std::memcpy(&Bytes[52], Name, sizeof Name);
  double Ten = 10;
  std::memcpy(&Bytes[60], &Ten, 8);
  int Big = Table->AddFilter(Bytes);
  EXPECT_EQ(Codes(), "1,3");
  Table->DropFilter(Odd);
  EXPECT_EQ(Codes(), "1,3");
  Table->DropFilter(Big);
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  EXPECT_FALSE(Table->Filtered());
  Bytes[0] = 9;
  EXPECT_THROW(Table->AddFilter(Bytes), EDatabaseError);
}
}  // namespace
