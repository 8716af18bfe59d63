// Tests of the lookup tables: calculated fields filled from tables opened once and positioned once
// per record, the tables a line makes and finds again, a table that cannot be opened, a missing link
// field, the lookup list's index switch, the grid's lookup record, the values resolved for a
// record being filtered, and the values handed to parameters.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "Dialogs.h"
#include "Forms.h"
#include "Params.h"
#include "Qvintl.h"
#include "Qvtypes.h"
#include "StrUtils.h"
#include "qvLookupTables.h"
#include "qvTestDataSet.h"

namespace {

// The tables the test lookup table reads by name: CODE, CODE2, LIB.
std::map<String, std::vector<std::vector<const char*>>> Tables;
int Opens = 0;
int KeySearches = 0;

// A table of the library's kind over the rows of Tables: indexes IDX_CODE (CODE) and IDX_CODE2
// (CODE, CODE2); none when IndexName is empty.
class TTestLookupTable : public TVectorDataSet, public IqvLookupTable {
  VELBOR_DECLARE_CLASS(TTestLookupTable, TVectorDataSet)
 public:
  explicit TTestLookupTable(TComponent* AOwner)
      : TVectorDataSet({{"CODE", ftString, 10}, {"CODE2", ftString, 10}, {"LIB", ftString, 40}}, AOwner) {}
  TDataSet* LookupDataSet() override { return this; }
  String DatabaseName() override { return FDatabase; }
  void SetDatabaseName(const String& Value) override { FDatabase = Value; }
  String TableName() override { return FTable; }
  void SetTableName(const String& Value) override { FTable = Value; }
  String IndexName() override { return FIndex; }
  void SetIndexName(const String& Value) override { FIndex = Value; }
  int IndexFieldCount() override { return FIndex == "IDX_CODE" ? 1 : FIndex == "IDX_CODE2" ? 2 : 0; }
  String IndexForFieldsAnyCase(const String& Fields) override {
    String Upper = UpperCase(Fields);
    return Upper == "CODE" ? "IDX_CODE" : Upper == "CODE;CODE2" ? "IDX_CODE2" : String();
  }
  bool SelectIndexForFields(const String& Fields) override {
    EXPECT_TRUE(IgnoreMasterLink);
    FIndex = IndexForFieldsAnyCase(Fields);
    return !FIndex.empty();
  }
  bool FindKey(const std::vector<String>& Values) override {
    ++KeySearches;
    for (int Row = 0; Row < RecordCount(); ++Row) {
      bool Match = true;
      for (std::size_t i = 0; i < Values.size() && i < 2; ++i)
        Match = Match && String(Tables[FTable][std::size_t(Row)][i]) == Values[i];
      if (!Match) continue;
      First();
      MoveBy(Row);
      return true;
    }
    return false;
  }
  void SetReadOnly(bool Value) override { ReadOnlyTable = Value; }

 protected:
  void InternalOpen() override {
    auto Found = Tables.find(FTable);
    if (Found == Tables.end()) DatabaseError("Table " + FTable + " introuvable");
    ++Opens;
    Rows.clear();
    for (const auto& Row : Found->second) AddRow({Variant(Row[0]), Variant(Row[1]), Variant(Row[2])});
    TVectorDataSet::InternalOpen();
  }

 private:
  String FDatabase, FTable, FIndex;
};
VELBOR_IMPLEMENT_CLASS(TTestLookupTable)

// The wetlands: a region and a department code, and calculated labels filled from the tables.
class TWetlands : public TSettingsDataSet, public IqvLookupTableOwner {
 public:
  TWetlands()
      : TSettingsDataSet({{"NOM", ftString, 20}, {"REG", ftString, 10}, {"DEP", ftString, 10}}) {
    for (const char* Name : {"NOM", "REG", "DEP"}) AddField(Name, fkData);
    for (const char* Name : {"LIB_REG", "LIB_REG2", "LIB_DEP"}) AddField(Name, fkCalculated);
    OnCalcFields = TDataSetNotifyEvent(this, &TWetlands::Calc);
  }
  TqvLookupTableList& LookupTableList() override { return FTables; }
  int Passes = 0;
  String Text(const char* Field) { return FieldByName(Field)->AsString(); }

 private:
  void AddField(const char* Name, TFieldKind Kind) {
    auto* Field = new TStringField(this);
    Field->SetFieldName(Name);
    Field->SetSize(40);
    Field->SetFieldKind(Kind);
    Field->SetDataSet(this);
  }
  void Calc(TDataSet*) {
    ++Passes;
    qvCalcLookupFields(this, LookupFields(), LookupLinks(), FTables);
  }
  TqvLookupTableList FTables;
};

class LookupTables : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClass(TTestLookupTable::StaticClass());
    qvLookupTableClassName = "TTestLookupTable";
    Tables.clear();
    Tables["D_REGION"] = {{"84", "A", "Auvergne-Rhône-Alpes"_a}, {"93", "B", "Provence-Alpes-Côte d'Azur"_a},
                          {"11", "C", "Île-de-France"_a}};
    Tables["D_DEPARTEMENT"] = {{"01", "84", "Ain"}, {"13", "93", "Bouches-du-Rhône"_a}};
    Opens = 0;
    KeySearches = 0;
    Set = std::make_unique<TWetlands>();
    Set->AddRow({Variant("Marais"), Variant("84"), Variant("01")});
    Set->AddRow({Variant("Étang"_a), Variant("93"), Variant("13")});
    Set->AddRow({Variant("Lande"), Variant("99"), Variant("99")});
  }
  void TearDown() override {
    Set.reset();
    qvLookupTableClassName = "TqvTable";
  }
  std::vector<String> Column(const char* Field) {
    std::vector<String> Values;
    for (Set->First(); !Set->Eof(); Set->Next()) Values.push_back(Set->Text(Field));
    return Values;
  }
  TModalScript Script;
  std::unique_ptr<TWetlands> Set;
};

TEST_F(LookupTables, FieldsSharingATableAndLinksOpenItOnceAndPositionItOncePerRecord) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("LIB_REG2;BASE;D_REGION;CODE2;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->LookupLinks()->Add("reg;code");
  Set->Open();
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"Auvergne-Rhône-Alpes"_a, "Provence-Alpes-Côte d'Azur"_a, ""}));
  EXPECT_EQ(Column("LIB_REG2"), (std::vector<String>{"A", "B", ""}));
  EXPECT_EQ(Set->LookupTableList().size(), 1u);
  EXPECT_EQ(Opens, 1);
  EXPECT_EQ(KeySearches, Set->Passes);
  // The table belongs to the dataset and is read-only.
  auto* Table = dynamic_cast<TTestLookupTable*>(Set->LookupTableList()[0]);
  ASSERT_NE(Table, nullptr);
  EXPECT_EQ(Table->Owner(), Set.get());
  EXPECT_TRUE(Table->ReadOnlyTable);
  EXPECT_EQ(Table->DatabaseName(), "BASE");
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(LookupTables, OtherLinksOpenAnotherTableAndAnotherTableItsOwn) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("LIB_REG2;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("LIB_DEP;BASE;D_DEPARTEMENT;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->LookupLinks()->Add("DEP;CODE");
  Set->LookupLinks()->Add("DEP;CODE");
  Set->Open();
  EXPECT_EQ(Column("LIB_DEP"), (std::vector<String>{"Ain", "Bouches-du-Rhône"_a, ""}));
  // D_REGION by department code finds nothing.
  EXPECT_EQ(Column("LIB_REG2"), (std::vector<String>{"", "", ""}));
  EXPECT_EQ(Set->LookupTableList().size(), 3u);
  EXPECT_EQ(Opens, 3);
}

TEST_F(LookupTables, LinksOfAnOddCountMakeNoKeySearch) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE;DEP");
  Set->Open();
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"", "", ""}));
  EXPECT_EQ(KeySearches, 0);
}

TEST_F(LookupTables, ATableWithoutIndexFieldsIsSearchedByValue) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;");
  Set->LookupLinks()->Add("REG;CODE;NOM;LIB");
  Set->Open();
  // The first pair alone decides.
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"Auvergne-Rhône-Alpes"_a, "Provence-Alpes-Côte d'Azur"_a, ""}));
  EXPECT_EQ(KeySearches, 0);
}

TEST_F(LookupTables, ALineEndingWithNNamesItsTableWithoutExtension) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION.DB;LIB;;CODE;CODE2;N");
  Set->LookupLinks()->Add("REG;CODE");
  Set->Open();
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"Auvergne-Rhône-Alpes"_a, "Provence-Alpes-Côte d'Azur"_a, ""}));
  ASSERT_EQ(Set->LookupTableList().size(), 1u);
  IqvLookupTable* Table = Set->LookupTableList()[0];
  EXPECT_EQ(Table->TableName(), "D_REGION");
  EXPECT_EQ(Table->IndexName(), "IDX_CODE2");
  EXPECT_TRUE(qvLookupTableMatches(Table, {"LIB_REG", "BASE", "D_REGION.DB", "LIB", "", "CODE", "CODE2", "N"}));
  EXPECT_FALSE(qvLookupTableMatches(Table, {"LIB_REG", "BASE", "D_REGION.DB", "LIB", "IDX"}));
  EXPECT_EQ(Opens, 1);
}

TEST_F(LookupTables, ATableThatCannotBeOpenedIsMadeOnceAndReportedOnce) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_ABSENTE;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->Open();
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"", "", ""}));
  EXPECT_GE(Set->Passes, 3);
  EXPECT_EQ(Set->LookupTableList().size(), 1u);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Lookup table D_ABSENTE cannot be opened: Table D_ABSENTE introuvable");
  EXPECT_EQ(Script.Asked[0].DlgType, mtWarning);
  // It is tried again: once there, it serves.
  Tables["D_ABSENTE"] = {{"93", "", "Sud"}};
  EXPECT_EQ(Column("LIB_REG"), (std::vector<String>{"", "Sud", ""}));
  EXPECT_EQ(Set->LookupTableList().size(), 1u);
  EXPECT_EQ(Script.Asked.size(), 1u);
}

TEST_F(LookupTables, AMissingLinkFieldHidesTheLookupFieldAndEndsThePass) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("LIB_DEP;BASE;D_DEPARTEMENT;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REGION;CODE");
  Set->LookupLinks()->Add("DEP;CODE");
  Set->Open();
  EXPECT_FALSE(Set->FieldByName("LIB_REG")->Visible());
  // The pass ended there: the next line was not served.
  EXPECT_EQ(Column("LIB_DEP"), (std::vector<String>{"", "", ""}));
}

TEST_F(LookupTables, TheLookupListSwitchesTheIndexAndPositionsTheTable) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("GONE;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupFields()->Add("LIB_REG2;BASE;D_REGION.DB;LIB;;CODE;CODE2;N");
  Set->LookupLinks()->Add("REG;CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->LookupLinks()->Add("REG;CODE;DEP;CODE2");
  Set->Open();
  Set->Next();
  IqvLookupTable* Table = Set->LookupTableList()[0];
  String FirstLink;
  // A line of six parts selects the index of its fields; the master has no CODE2 match.
  EXPECT_FALSE(qvSyncLookupTable(Set.get(), Table, "lib_reg2", FirstLink));
  EXPECT_EQ(Table->IndexName(), "IDX_CODE2");
  EXPECT_FALSE(Table->IgnoreMasterLink);
  EXPECT_EQ(FirstLink, "REG");
  // A line of five parts sets its index; the table stands on the record's region.
  EXPECT_TRUE(qvSyncLookupTable(Set.get(), Table, "LIB_REG", FirstLink));
  EXPECT_EQ(Table->IndexName(), "IDX_CODE");
  EXPECT_EQ(Table->LookupDataSet()->FieldByName("CODE")->AsString(), "93");
  // The line of a field the dataset lacks was purged with its links.
  EXPECT_EQ(Set->LookupFields()->Count(), 2);
  EXPECT_EQ(Set->LookupLinks()->Strings(1), "REG;CODE;DEP;CODE2");
  EXPECT_FALSE(qvSyncLookupTable(Set.get(), Table, "NOM", FirstLink));
}

TEST_F(LookupTables, TheGridFindsTheLookupRecordOfAField) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->DatabaseName = "BASE";
  Set->Open();
  Set->Next();
  String Link;
  TField* Result = nullptr;
  EXPECT_TRUE(qvFindLookupRecord(Set->FieldByName("LIB_REG"), Link, Result));
  EXPECT_EQ(Link, "93");
  ASSERT_NE(Result, nullptr);
  EXPECT_EQ(Result->AsString(), "Provence-Alpes-Côte d'Azur"_a);
  // A field without a line: itself, nothing found.
  EXPECT_FALSE(qvFindLookupRecord(Set->FieldByName("NOM"), Link, Result));
  EXPECT_EQ(Result, Set->FieldByName("NOM"));
}

// The values of the record under evaluation, as a filter callback gives them.
class TRecordParams : public TObject {
 public:
  std::map<String, std::unique_ptr<TParam>> Values;
  void Put(const String& Name, const String& Value) {
    Values[Name] = std::make_unique<TParam>(nullptr);
    Values[Name]->SetAsString(Value);
  }
  TParam* Param(const String& FieldName) {
    auto Found = Values.find(FieldName);
    return Found == Values.end() ? nullptr : Found->second.get();
  }
};

TEST_F(LookupTables, ValuesAreResolvedForTheRecordUnderEvaluation) {
  Set->LookupFields()->Add("LIB_REG;BASE;D_REGION;LIB;IDX_CODE");
  Set->LookupLinks()->Add("REG;CODE");
  Set->Open();
  TRecordParams Record;
  Record.Put("REG", "11");
  TqvParamCallback Callback(&Record, &TRecordParams::Param);
  TField* Value = qvResolveLookupValue(Set.get(), Set->FieldByName("LIB_REG"), Callback);
  ASSERT_NE(Value, nullptr);
  EXPECT_EQ(Value->AsString(), "Île-de-France"_a);
  // Without a callback, the dataset's own record gives the values.
  Set->First();
  Value = qvResolveLookupValue(Set.get(), Set->FieldByName("LIB_REG"), TqvParamCallback());
  ASSERT_NE(Value, nullptr);
  EXPECT_EQ(Value->AsString(), "Auvergne-Rhône-Alpes"_a);
  // A stored field is resolved by nobody.
  EXPECT_EQ(qvResolveLookupValue(Set.get(), Set->FieldByName("NOM"), Callback), nullptr);
}

TEST_F(LookupTables, AFieldValueGoesWholeIntoAParameter) {
  auto Data = std::make_unique<TSettingsDataSet>(std::vector<TColumn>{
      {"T", ftMemo}, {"I", ftInteger}, {"B", ftBoolean}, {"F", ftFloat}, {"D", ftDate}, {"S", ftSmallint}});
  String Long(40000, 'x');
  Long += "fin";
  Data->AddRow({Variant(), Variant(42), Variant(true), Variant(2.5), Variant::FromDate(45000), Variant(7)});
  Data->SetMemo(0, "T", Long);
  Data->Open();
  TParam Param(nullptr);
  qvFieldToParamData(Data->FieldByName("T"), &Param);
  EXPECT_EQ(Param.AsString(), Long);
  qvFieldToParamData(Data->FieldByName("I"), &Param);
  EXPECT_EQ(Param.DataType(), ftInteger);
  EXPECT_EQ(Param.AsString(), "42");
  qvFieldToParamData(Data->FieldByName("B"), &Param);
  EXPECT_EQ(Param.DataType(), ftBoolean);
  qvFieldToParamData(Data->FieldByName("F"), &Param);
  EXPECT_EQ(Param.DataType(), ftFloat);
  EXPECT_EQ(Param.Value().AsDouble(), 2.5);
  qvFieldToParamData(Data->FieldByName("D"), &Param);
  EXPECT_EQ(Param.DataType(), ftDate);
  qvFieldToParamData(Data->FieldByName("S"), &Param);
  EXPECT_EQ(Param.DataType(), ftSmallint);
  qvFieldToParamData(nullptr, &Param);
  EXPECT_EQ(Param.AsString(), "");
}

TEST_F(LookupTables, ABlobIsReadUpToTheLimit) {
  auto Memo = std::make_unique<TSettingsDataSet>(std::vector<TColumn>{{"NOTE", ftMemo}});
  Memo->AddRow({Variant()});
  Memo->SetMemo(0, "NOTE", String(70000, 'm'));
  Memo->Open();
  TField* Note = Memo->FieldByName("NOTE");
  EXPECT_EQ(qvReadBlobText(Memo.get(), Note, 10), String(10, 'm'));
  // The filter's memo size bounds it.
  EXPECT_EQ(qvReadBlobText(Memo.get(), Note, 100000).size(), std::size_t(qvFilterMemoSize()));
  EXPECT_EQ(qvReadBlobText(Memo.get(), Note, 0), "");
}

}  // namespace
