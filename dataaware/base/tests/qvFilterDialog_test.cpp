// Tests of the filter dialog component without its windows, on a fixture query and table: the
// field catalogue, criteria applied as a WHERE clause with bound values, as a filter text and as a
// local record filter with index ranges, saved and loaded criteria, and the refusals.
#include <gtest/gtest.h>

#include "Dialogs.h"
#include "Field.h"
#include "FormatSettings.h"
#include "OsPort.h"
#include "ScopeGuard.h"
#include "SqliteQueryData.h"
#include "TestFolder.h"
#include "qvDBDataSets.h"
#include "qvFilterDialog.h"

namespace {

TqvFieldInfo Value(const char* Field, const char* Text, TqvFilterMatchType Match = fdMatchStart) {
  TqvFieldInfo C;
  C.FieldName = Field;
  C.FilterValue = Text;
  C.MatchType = Match;
  return C;
}

TqvFieldInfo Range(const char* Field, const char* Min, const char* Max) {
  TqvFieldInfo C;
  C.FieldName = Field;
  C.MatchType = fdMatchRange;
  C.MinValue = Min;
  C.MaxValue = Max;
  return C;
}

// A stand-in for the criteria window: OK or Cancel, with or without new criteria.
struct TWindowScript {
  int Calls = 0;
  bool Confirms = true;
  bool Changes = false;
  std::vector<TqvFieldInfo> Criteria;
} Window;

bool ScriptedWindow(TqvFilterDialog* Dialog, bool& Changed) {
  ++Window.Calls;
  if (Window.Confirms && Window.Changes) Dialog->FieldInfos = Window.Criteria;
  Changed = Window.Changes;
  return Window.Confirms;
}

class FilterDialog : public TestFolder, public SqliteQueryData {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    FormatSettings = TFormatSettings::French();
    OpenQueryData(PathOf("sites.db"),
                  {"CREATE TABLE Site (Code INTEGER PRIMARY KEY, Nom VARCHAR(40) COLLATE VELBOR, Dept VARCHAR(5) COLLATE VELBOR,"
                   " Surface REAL)",
                   "CREATE INDEX ByNom ON Site (Nom)",
                   "INSERT INTO Site VALUES (1, 'Lagune', '34', 12.5), (2, 'étang', '30', 3.0), (3, 'Marais', '34', 40.0),"
                   " (4, 'Étang d''eau', '13', 3.5), (5, 'Baie', '30', NULL), (6, 'L''Anse', '34', 7.0)"_a},
                  "select * from Site S order by Code");
    Dialog = std::make_unique<TqvFilterDialog>(nullptr);
    Dialog->ShowDialog = false;
    Dialog->SetDataSource(Source.get());
  }
  void TearDown() override {
    Dialog.reset();
    CloseQueryData();
    TestFolder::TearDown();
  }
  String Codes(TDataSet* Set = nullptr) {
    if (Set == nullptr) Set = Query.get();
    String Result;
    for (Set->First(); !Set->Eof(); Set->Next()) Result += (Result.empty() ? "" : ",") + Set->FieldByName("Code")->AsString();
    return Result;
  }
  void Criteria(std::vector<TqvFieldInfo> List) { Dialog->FieldInfos = std::move(List); }

  std::unique_ptr<TqvFilterDialog> Dialog;
  TModalScript Script;
};

TEST_F(FilterDialog, TheCatalogueOfAQueryComesFromItsTables) {
  Dialog->SetFilterMethod(fdByQueryModify);
  EXPECT_EQ(Dialog->FilterMethod(), fdByQueryModify);
  EXPECT_EQ(Dialog->GetSQLPropertyName(), "SQL");
  Dialog->BuildFieldInfos();
  ASSERT_EQ(Dialog->DBFieldInfos.size(), 4u);
  const TqvDBFieldInfo* Nom = Dialog->FindDBFieldInfo("nom");
  ASSERT_NE(Nom, nullptr);
  EXPECT_EQ(Nom->SQLFieldName, "Nom");
  EXPECT_EQ(Nom->TableName, "S");  // the alias qualifies the column
  EXPECT_EQ(Dialog->FindDBFieldInfo("Surface")->FieldType, ftFloat);
  // Without query modification the catalogue is the dataset's fields.
  Dialog->SetFilterMethod(fdByFilter);
  Dialog->BuildFieldInfos();
  ASSERT_EQ(Dialog->DBFieldInfos.size(), 4u);
  EXPECT_EQ(Dialog->DBFieldInfos[0].TableName, "");
}

TEST_F(FilterDialog, NamedTablesReplaceTheStatementsOwnForTheCatalogue) {
  Dialog->SetFilterMethod(fdByQueryModify);
  TqvSQLTablesCollectionItem* Item = Dialog->SQLTables()->Add();
  EXPECT_EQ(Item->DisplayName(), "0 - <Unassigned>");
  Item->TableName = "Site";
  EXPECT_EQ(Item->DisplayName(), "0 - Site");
  Item->TableAliasName = "Lieu";
  EXPECT_EQ(Item->DisplayName(), "0 - Lieu");
  Dialog->BuildFieldInfos();
  ASSERT_EQ(Dialog->DBFieldInfos.size(), 4u);
  EXPECT_EQ(Dialog->FindDBFieldInfo("Nom")->TableName, "Lieu");
  // An item without table name offers nothing; the copy of the collection is the dialog's own.
  TqvSQLTablesCollection Other;
  Other.Add();
  Dialog->SetSQLTables(&Other);
  EXPECT_EQ(Dialog->SQLTables()->Count(), 1);
  EXPECT_NE(Dialog->SQLTables()->Items(0), Other.Items(0));
  Dialog->BuildFieldInfos();
  EXPECT_TRUE(Dialog->DBFieldInfos.empty());
}

TEST_F(FilterDialog, QueryModificationBindsTheValuesAndStartsAgainFromTheSavedText) {
  Dialog->SetFilterMethod(fdByQueryModify);
  Dialog->BuildFieldInfos();
  Criteria({Value("Dept", "34"), Value("Nom", "l'")});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "6");
  // The value never enters the text.
  EXPECT_EQ(Query->SQL()->Text().find("l'"), String::npos) << Query->SQL()->Text();
  EXPECT_EQ(Dialog->SavedSQL()->Text(), "select * from Site S order by Code\r\n");
  // A second run replaces the first one's clause.
  Criteria({Value("Dept", "30 or 13", fdMatchExact)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2,4,5");
  Criteria({Range("Surface", "3,5", "20"), Value("Nom", "%", fdMatchAny)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "");  // no name holds a "%": the wildcard is the operator's text
  Criteria({Range("Surface", "3,5", "20")});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "1,4,6");
  // Cleared, every row comes back.
  Dialog->ClearCriteria();
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "1,2,3,4,5,6");
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(FilterDialog, QueryModificationRefusesUnknownFieldsAndBadValues) {
  Dialog->SetFilterMethod(fdByQueryModify);
  Dialog->BuildFieldInfos();
  struct TCase {
    TqvFieldInfo Criterion;
    const char* Message;
  } Cases[] = {
      {Value("Absent", "x"), "TqvFilterDialog: Field not found (Absent)"},
      {Value("Surface", "1 or 1=1", fdMatchExact), "Invalid value for Surface: 1=1"},
  };
  for (const TCase& Case : Cases) {
    Script.Asked.clear();
    Criteria({Case.Criterion});
    Dialog->Execute();
    ASSERT_EQ(Script.Asked.size(), 1u) << Case.Message;
    EXPECT_EQ(Script.Asked[0].Text, Case.Message);
    EXPECT_FALSE(Query->Active());  // the build stops with the query closed
    Query->Open();
  }
}

TEST_F(FilterDialog, TheWindowDecidesWhetherTheCriteriaApply) {
  TqvFilterDialogWindow Linked = qvFilterDialogWindow;
  qvFilterDialogWindow = &ScriptedWindow;
  TScopeGuard Unlink([Linked] { qvFilterDialogWindow = Linked; });
  Window = TWindowScript();
  Dialog->ShowDialog = true;
  // OK with new criteria: they apply.
  Window.Changes = true;
  Window.Criteria = {Value("Dept", "30", fdMatchExact)};
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2,5");
  // Cancel: the criteria and the dataset stay as they were.
  Window.Confirms = false;
  Window.Criteria = {Value("Dept", "34", fdMatchExact)};
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Dialog->FieldInfos.size(), 1u);
  EXPECT_EQ(Dialog->FieldInfos[0].FilterValue, "30");
  EXPECT_EQ(Codes(), "2,5");
  // OK without change on a dataset already filtered: nothing is applied again.
  Dialog->FieldInfos = {Value("Dept", "34", fdMatchExact)};
  Window.Confirms = true;
  Window.Changes = false;
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2,5");
  // The same OK on a dataset whose filtering is off applies the criteria.
  Query->SetFiltered(false);
  EXPECT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "1,3,6");
  EXPECT_EQ(Window.Calls, 4);
}

TEST_F(FilterDialog, LocalFilteringTestsEveryRecord) {
  Criteria({Value("Nom", "ÉTANG"_a), Value("Dept", "13", fdMatchExact)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_TRUE(Query->Filtered());
  EXPECT_EQ(Codes(), "4");
  Dialog->FieldInfos[1].NonMatching = true;
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2");
  // Cleared with fdClearWhenNoCriteria: the dataset is no longer filtered.
  Dialog->ClearCriteria();
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_FALSE(Query->Filtered());
  EXPECT_EQ(Codes(), "1,2,3,4,5,6");
}

TEST_F(FilterDialog, AFilterTextIsWrittenAndAFailingOneSwitchedOff) {
  Dialog->FilterPropertyOptions.DatasetFilterType = fdUseFilterProp;
  Criteria({Value("Dept", "34", fdMatchExact), Value("Nom", "Ma"), Value("Nom", "x", fdMatchAny)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Dialog->LastFilterText(), " ([Dept]='34')  and ([Nom]='Ma*')");
  EXPECT_EQ(Codes(), "3");
  // A quote in a value stays inside its text.
  Criteria({Value("Nom", "L'A", fdMatchStart)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "6");
  // A number that is not one never reaches the text.
  Criteria({Value("Surface", "3 or 1=1", fdMatchExact)});
  Dialog->Execute();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Invalid value for Surface: 1=1");
  // The dataset refuses a like operator: filtering goes off, every row shows.
  Script.Asked.clear();
  Dialog->FilterPropertyOptions.UseLikeOperator = true;
  Criteria({Value("Nom", "Ma")});
  Dialog->Execute();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Unable to Execute Filter:\r([Nom] like 'Ma%')\r");
  EXPECT_FALSE(Query->Filtered());
  EXPECT_EQ(Codes(), "1,2,3,4,5,6");
}

TEST_F(FilterDialog, SavedCriteriaComeBackAsTheyWere) {
  TqvFieldInfo Odd = Value("Nom", "  a \"b\" \\ c  ", fdMatchAny);
  Odd.CaseSensitive = true;
  Odd.NonMatching = true;
  TqvFieldInfo Labelled = Range("", "1", "");
  Labelled.DisplayLabel = "Surface";
  Criteria({Odd, Labelled});
  String File = PathOf("criteres.ini");
  Dialog->SaveCriteria(File);
  Dialog->ClearCriteria();
  ASSERT_TRUE(Dialog->LoadCriteria(File));
  ASSERT_EQ(Dialog->FieldInfos.size(), 2u);
  const TqvFieldInfo& A = Dialog->FieldInfos[0];
  EXPECT_EQ(A.FieldName, "Nom");
  EXPECT_EQ(A.FilterValue, "  a \"b\" \\ c  ");
  EXPECT_EQ(A.MatchType, fdMatchAny);
  EXPECT_TRUE(A.CaseSensitive);
  EXPECT_TRUE(A.NonMatching);
  const TqvFieldInfo& B = Dialog->FieldInfos[1];
  EXPECT_EQ(B.FieldName, "");
  EXPECT_EQ(B.DisplayLabel, "Surface");
  EXPECT_EQ(B.MatchType, fdMatchRange);
  EXPECT_EQ(B.MinValue, "1");
  EXPECT_EQ(B.MaxValue, "");
  EXPECT_TRUE(Script.Asked.empty());
  // Loaded criteria apply like any others.
  Dialog->FieldInfos[0].NonMatching = false;
  Dialog->FieldInfos[0].FilterValue = "an";
  Dialog->FieldInfos[0].CaseSensitive = false;
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Codes(), "2,4,6");
}

TEST_F(FilterDialog, ADamagedSavedFileLeavesTheCriteriaAsTheyWere) {
  struct TCase {
    const char* Name;
    std::string Content;
    const char* Reason;
  } Cases[] = {
      {"not-criteria", "[Autre]\r\nX=1\r\n", "it is not a criteria file"},
      {"count", "[FilterCriteria]\r\nFormat=1\r\nCount=deux\r\n", "the number of criteria is damaged"},
      {"missing", "[FilterCriteria]\r\nFormat=1\r\nCount=2\r\n[Criterion1]\r\nFieldName=\"Nom\"\r\nDisplayLabel=\"\"\r\n"
                  "MatchType=fdMatchStart\r\nFilterValue=\"a\"\r\nMinValue=\"\"\r\nMaxValue=\"\"\r\nCaseSensitive=0\r\n"
                  "NonMatching=0\r\n",
       "a criterion is missing (criterion 2)"},
      {"match", "[FilterCriteria]\r\nFormat=1\r\nCount=1\r\n[Criterion1]\r\nFieldName=\"Nom\"\r\nDisplayLabel=\"\"\r\n"
                "MatchType=fdMatchSoon\r\nFilterValue=\"a\"\r\nMinValue=\"\"\r\nMaxValue=\"\"\r\nCaseSensitive=0\r\n"
                "NonMatching=0\r\n",
       "the match type is damaged (criterion 1)"},
      {"flag", "[FilterCriteria]\r\nFormat=1\r\nCount=1\r\n[Criterion1]\r\nFieldName=\"Nom\"\r\nDisplayLabel=\"\"\r\n"
               "MatchType=fdMatchExact\r\nFilterValue=\"a\"\r\nMinValue=\"\"\r\nMaxValue=\"\"\r\nCaseSensitive=oui\r\n"
               "NonMatching=0\r\n",
       "the flag CaseSensitive is damaged (criterion 1)"},
      {"escape", "[FilterCriteria]\r\nFormat=1\r\nCount=1\r\n[Criterion1]\r\nFieldName=\"Nom\"\r\nDisplayLabel=\"\"\r\n"
                 "MatchType=fdMatchExact\r\nFilterValue=\"a\\\"\r\nMinValue=\"\"\r\nMaxValue=\"\"\r\nCaseSensitive=0\r\n"
                 "NonMatching=0\r\n",
       "the value FilterValue is damaged (criterion 1)"},
      {"binary", std::string("\x00\x01\xff[FilterCriteria", 18), "it is not a criteria file"},
  };
  Criteria({Value("Dept", "34")});
  for (const TCase& Case : Cases) {
    Script.Asked.clear();
    String File = PathOf(String(Case.Name) + ".ini");
    WriteRaw(File, Case.Content);
    EXPECT_FALSE(Dialog->LoadCriteria(File)) << Case.Name;
    ASSERT_EQ(Script.Asked.size(), 1u) << Case.Name;
    EXPECT_EQ(Script.Asked[0].Text, "The saved search criteria of " + File + " cannot be read: " + Case.Reason + ".")
        << Case.Name;
    ASSERT_EQ(Dialog->FieldInfos.size(), 1u) << Case.Name;
    EXPECT_EQ(Dialog->FieldInfos[0].FieldName, "Dept") << Case.Name;
  }
  Script.Asked.clear();
  EXPECT_FALSE(Dialog->LoadCriteria(PathOf("absent.ini")));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Dialog->FieldInfos.size(), 1u);
}

TEST_F(FilterDialog, RefusalsOfTheComponent) {
  // A dataset without SQL text keeps local filtering.
  TqvTable Table(nullptr);
  Table.SetDatabaseName(DatabasePath);
  Table.SetTableName("Site");
  TDataSource TableSource(nullptr);
  TableSource.SetDataSet(&Table);
  Dialog->SetDataSource(&TableSource);
  Dialog->SetFilterMethod(fdByQueryModify);
  EXPECT_EQ(Dialog->FilterMethod(), fdByFilter);
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Invalid FilterMethod for Dataset. \rOnly fdByFilter is supported for this type of Dataset");
  // A closed dataset cannot be filtered locally.
  Script.Asked.clear();
  EXPECT_FALSE(Dialog->Execute());
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Dataset must be active to perform local filtering (FilterMethod=fdByFilter).");
  // Without a window linked in, asking for it says so.
  Script.Asked.clear();
  Table.Open();
  Dialog->ShowDialog = true;
  TqvFilterDialogWindow Linked = qvFilterDialogWindow;
  qvFilterDialogWindow = nullptr;
  EXPECT_FALSE(Dialog->Execute());
  qvFilterDialogWindow = Linked;
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "TqvFilterDialog: the filter window is not available in this program.");
  Dialog->SetDlgHeight(200);
  EXPECT_EQ(Dialog->DlgHeight(), 267);
  Dialog->SetDlgHeight(300);
  EXPECT_EQ(Dialog->DlgHeight(), 300);
  Script.Asked.clear();
  Dialog->SetOrChar("  ET ");
  Dialog->SetAndChar("et");
  EXPECT_EQ(Dialog->FieldOperators().OrChar, "ET");
  EXPECT_EQ(Script.Asked.size(), 1u);  // the second assignment makes two words equal
  Dialog->SetDataSource(nullptr);
}

TEST_F(FilterDialog, ATableIsNarrowedByAnIndexRangeBeforeTheRecordTest) {
  TqvTable Table(nullptr);
  Table.SetDatabaseName(DatabasePath);
  Table.SetTableName("Site");
  Table.SetIndexName("ByNom");
  Table.Open();
  TDataSource TableSource(nullptr);
  TableSource.SetDataSet(&Table);
  Dialog->SetDataSource(&TableSource);
  Dialog->FilterOptimization = fdUseActiveIndex;
  Criteria({Value("Nom", "la"), Value("Dept", "34", fdMatchExact)});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_TRUE(Dialog->RangeApplied());
  EXPECT_TRUE(Table.HasRange());
  EXPECT_EQ(Codes(&Table), "1");
  // Every index: the criterion's field finds its own.
  Dialog->FilterOptimization = fdUseAllIndexes;
  Table.SetIndexName("");
  Criteria({Range("Code", "2", "4")});
  ASSERT_TRUE(Dialog->Execute());
  EXPECT_EQ(Table.IndexName(), "PrimaryKey");
  EXPECT_EQ(Codes(&Table), "2,3,4");
  // The dataset closing takes the criteria with it.
  Table.Close();
  EXPECT_TRUE(Dialog->FieldInfos.empty());
  Dialog->SetDataSource(nullptr);
}

}  // namespace
