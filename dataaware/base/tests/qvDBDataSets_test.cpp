// Tests of the library's dataset classes over a fixture SQLite file: opening, index switches and
// key searches, ranges, the filter expression, the OnFilter callback with its options, the field
// settings and the mask check, the lookup fields, the query text of a table, and the classes
// whose engine features SQLite cannot give.
#include <gtest/gtest.h>

#include <map>

#include <windows.h>

#include "Controls.h"
#include "Dialogs.h"
#include "Field.h"
#include "FormatSettings.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "SqliteSession.h"
#include "TestFolder.h"
#include "qvDBDataSets.h"
#include "qvDataSetUtils.h"
#include "qvFilterParser.h"
#include "qvPropAccess.h"

namespace {

class DataSetClasses : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    FormatSettings = TFormatSettings::French();
    Path = PathOf("sites.db");
    SqliteSession Session(Path, TSqliteOpenMode::CreateIfMissing);
    Session.ExecuteScript(
        "CREATE TABLE Site (Code INTEGER PRIMARY KEY, Nom VARCHAR(40) COLLATE VELBOR, Dept VARCHAR(5) COLLATE VELBOR,"
        " Surface REAL, Note TEXT);"
        "CREATE INDEX ByNom ON Site (Nom);"
        "CREATE UNIQUE INDEX ByDeptNom ON Site (Dept, Nom);"
        "CREATE TABLE Dept (Code VARCHAR(5) PRIMARY KEY COLLATE VELBOR, Libelle VARCHAR(40) COLLATE VELBOR);"
        "INSERT INTO Dept VALUES ('13', 'Bouches-du-Rhône'), ('30', 'Gard'), ('34', 'Hérault');"_a
        "INSERT INTO Site VALUES (1, 'Lagune', '34', 12.5, 'roseaux'), (2, 'étang', '30', 3.0, NULL),"
        " (3, 'Marais', '34', 40.0, 'sansouire'), (4, 'Étang d''eau', '13', 3.5, NULL), (5, 'Baie', '30', NULL, NULL);"_a);
    Table = std::make_unique<TqvTable>(nullptr);
    Table->SetDatabaseName(Path);
    Table->SetTableName("Site");
  }
  void TearDown() override {
    Table.reset();
    TestFolder::TearDown();
  }
  String Codes(TDataSet* Set = nullptr) {
    if (Set == nullptr) Set = Table.get();
    String Result;
    for (Set->First(); !Set->Eof(); Set->Next()) Result += (Result.empty() ? "" : ",") + Set->FieldByName("Code")->AsString();
    return Result;
  }
  int Code() { return Table->FieldByName("Code")->AsInteger(); }

  String Path;
  std::unique_ptr<TqvTable> Table;
  TModalScript Script;
};

// A record filter that counts its calls and keeps the codes it is given.
struct TRecordHandler : TObject {
  int Calls = 0;
  int Keep = 0;  // 0: keep all; otherwise keep only this code
  bool RejectAll = false;
  void Filter(TDataSet* Set, bool& Accept) {
    ++Calls;
    int Code = Set->FieldByName("Code")->AsInteger();
    Accept = !RejectAll && (Keep == 0 || Code == Keep);
  }
  int Escapes = 0;
  void Escaped(TDataSet*) { ++Escapes; }
};

TEST_F(DataSetClasses, IndexesSwitchAndKeySearchesFindLookupValues) {
  Table->Open();
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  EXPECT_EQ(Table->IndexFieldsOf(""), "Code");
  EXPECT_EQ(Table->IndexFieldsOf("ByDeptNom"), "Dept;Nom");
  EXPECT_EQ(Table->IndexForFields("dept", false), "ByDeptNom");
  EXPECT_EQ(Table->IndexForFields("Nom", true), "");  // the text indexes ignore case
  EXPECT_EQ(Table->IndexForFieldsAnyCase("Nom"), "ByNom");
  EXPECT_EQ(Table->IndexForFieldsAnyCase("Surface"), "");

  ASSERT_TRUE(Table->SelectIndexForFields("Dept;Nom"));
  EXPECT_EQ(Table->IndexName(), "ByDeptNom");
  EXPECT_EQ(Table->FirstIndexFieldName(), "Dept");
  EXPECT_EQ(Codes(), "4,5,2,1,3");
  EXPECT_FALSE(Table->SelectIndexForFields("Surface"));
  EXPECT_EQ(Table->IndexName(), "ByDeptNom");  // unchanged

  // The lookup search takes texts, compares them in the index's order and keeps the position on
  // failure.
  EXPECT_TRUE(Table->FindKey(std::vector<String>{"34", "MARAIS"}));
  EXPECT_EQ(Code(), 3);
  EXPECT_FALSE(Table->FindKey(std::vector<String>{"31"}));
  EXPECT_EQ(Code(), 3);
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_FALSE(Table->FindKey(std::vector<String>{"34", "Marais", "x"}));
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Table : FindKey has too many lookup values for index ByDeptNom");

  // A numeric key is compared as a number.
  Table->SwitchToIndex("primarykey");
  EXPECT_EQ(Table->IndexName(), "PrimaryKey");
  EXPECT_TRUE(Table->FindKey(std::vector<String>{"4"}));
  EXPECT_EQ(Code(), 4);
  Table->FindNearest({Variant(6)});
  EXPECT_EQ(Code(), 5);
}

TEST_F(DataSetClasses, RangesNarrowTheTableUntilCancelled) {
  Table->SetIndexName("ByDeptNom");
  Table->Open();
  Table->SetRangeStartOnly({Variant("30")});
  EXPECT_EQ(Codes(), "5,2,1,3");
  Table->SetRange({Variant("34")}, {Variant("34")});
  EXPECT_EQ(Codes(), "1,3");
  Table->CancelSearchRange();
  EXPECT_EQ(Codes(), "4,5,2,1,3");
}

TEST_F(DataSetClasses, TheFilterExpressionJoinsItsLinesAndFilters) {
  Table->qvFilter()->Add("Dept = \"34\"   ");
  Table->qvFilter()->Add("");
  Table->qvFilter()->Add("Surface > 20");
  EXPECT_EQ(Table->GetFilterText(), "Dept = \"34\" AND (Surface > 20)");
  EXPECT_EQ(Table->TextFilterHandle(), 0);  // closed: applied when it opens
  Table->Open();
  EXPECT_NE(Table->TextFilterHandle(), 0);
  EXPECT_EQ(Codes(), "3");
  EXPECT_FALSE(Table->IsSequenced());
  // On an open table a new text applies at once.
  Table->qvFilter()->SetText("Code < 3 OR Code = 5");
  EXPECT_EQ(Codes(), "1,2,5");
  EXPECT_TRUE(Script.Asked.empty());
  // A text that does not parse says so and leaves no expression filter.
  Table->qvFilter()->SetText("Code < (3");
  ASSERT_FALSE(Script.Asked.empty());
  EXPECT_EQ(Script.Asked.back().Text, "Fail to set filter");
  EXPECT_EQ(Table->TextFilterHandle(), 0);
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  Table->qvFilter()->Clear();
  EXPECT_TRUE(Table->IsSequenced());
}

TEST_F(DataSetClasses, ApplyingAnExpressionToAClosedTableOnlyDropsIt) {
  Table->Open();
  int Handle = 0;
  EXPECT_TRUE(qvApplyTableFilter("Code = 1 OR Code = 4", Table.get(), Handle, false));
  EXPECT_NE(Handle, 0);
  EXPECT_EQ(Codes(), "1,4");
  Table->Close();
  EXPECT_TRUE(qvApplyTableFilter("Code = 1", Table.get(), Handle, false));
  EXPECT_EQ(Handle, 0);
  Table->Open();
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  // An empty text drops the filter of an open table.
  EXPECT_TRUE(qvApplyTableFilter("Code = 1", Table.get(), Handle, false));
  EXPECT_EQ(Codes(), "1");
  EXPECT_TRUE(qvApplyTableFilter("", Table.get(), Handle, false));
  EXPECT_EQ(Handle, 0);
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  // A dataset without engine filters has no callback to take.
  int Other = 7;
  EXPECT_FALSE(qvSetFilterCallback(&TqvDataSetParts::FilterCallback, nullptr, nullptr, Other));
  EXPECT_EQ(Other, 0);
}

TEST_F(DataSetClasses, OnFilterRunsForEveryRecordAndItsOptionsSwitchIt) {
  TRecordHandler Handler;
  Handler.Keep = 3;
  Table->Open();
  Table->SetOnFilter(TFilterRecordEvent(&Handler, &TRecordHandler::Filter));
  EXPECT_NE(Table->CallbackFilterHandle(), 0);
  EXPECT_EQ(Codes(), "3");
  EXPECT_GT(Handler.Calls, 0);
  EXPECT_FALSE(Table->IsSequenced());
  // The filter dialog's switch: without ofoEnabled every record shows.
  qvSetFilterEnabled(Table.get(), false);
  EXPECT_FALSE(Table->OnFilterOptions().Contains(ofoEnabled));
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  qvSetFilterEnabled(Table.get(), true);
  Table->RefreshFilters();
  EXPECT_EQ(Codes(), "3");
  // Published by name, as the filter dialog and form descriptions reach it.
  EXPECT_EQ(qvGetFilterOptions(Table.get()), (TqvOnFilterOptions{ofoEnabled, ofoShowHourGlass}));
  Table->SetOnFilter(TFilterRecordEvent());
  EXPECT_EQ(Table->CallbackFilterHandle(), 0);
  EXPECT_EQ(Codes(), "1,2,3,4,5");
}

TEST_F(DataSetClasses, TheHourGlassShowsWhileRecordsAreRejectedAndGoesAfterwards) {
  TRecordHandler Handler;
  Handler.RejectAll = true;
  Screen->SetCursor(crDefault);
  Table->Open();
  struct TWatch : TObject {
    TCursor Seen = crDefault;
    void Filter(TDataSet* Set, bool& Accept) {
      Accept = Set->FieldByName("Code")->AsInteger() < 0;
      if (Screen->Cursor() == crHourGlass) Seen = crHourGlass;
    }
  } Watch;
  Table->SetOnFilter(TFilterRecordEvent(&Watch, &TWatch::Filter));
  EXPECT_TRUE(Table->IsEmpty());
  EXPECT_EQ(Watch.Seen, crHourGlass);       // turned on at the first rejected record
  EXPECT_EQ(Screen->Cursor(), crDefault);  // and back once the read is over
}

TEST_F(DataSetClasses, EscapeStopsALongFilteringPassWithinAHundredRecords) {
  {
    SqliteSession Session(Path, TSqliteOpenMode::OpenExisting);
    Session.ExecuteScript(
        "WITH RECURSIVE N(I) AS (SELECT 100 UNION ALL SELECT I + 1 FROM N WHERE I < 1099)"
        " INSERT INTO Site (Code, Nom, Dept) SELECT I, 'Site ' || I, '99' FROM N;");
  }
  TRecordHandler Handler;
  Handler.RejectAll = true;
  Table->SetOnFilterOptions(TqvOnFilterOptions{ofoEnabled, ofoCancelOnEscape});
  Table->SetOnFilterEscape(TDataSetNotifyEvent(&Handler, &TRecordHandler::Escaped));
  Table->Open();
  MSG Drain;
  while (PeekMessageA(&Drain, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
  PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
  Table->SetOnFilter(TFilterRecordEvent(&Handler, &TRecordHandler::Filter));
  EXPECT_EQ(Handler.Escapes, 1);
  EXPECT_LE(Handler.Calls, 100);
  EXPECT_FALSE(Table->OnFilterOptions().Contains(ofoEnabled));
  EXPECT_FALSE(PeekMessageA(&Drain, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));  // consumed
  // The records the pass hid come back at the next read.
  Table->Refresh();
  EXPECT_EQ(Table->RecordCount(), 1005);
}

TEST_F(DataSetClasses, SettingsListsArePublishedAndMasksAreCheckedBeforePosting) {
  Table->Open();
  EXPECT_EQ(qvGetPictureMasks(Table.get()), Table->PictureMasks());
  EXPECT_EQ(qvGetLookupFields(Table.get()), Table->LookupFields());
  EXPECT_EQ(qvGetControlTypeList(Table.get()), Table->ControlType());
  Table->PictureMasks()->Add("Dept\t##\tF\tT");
  struct TInvalid : TObject {
    String Field;
    void Invalid(TDataSet*, TField* F) { Field = F->FieldName(); }
  } Seen;
  Table->SetOnInvalidValue(TqvInvalidValueEvent(&Seen, &TInvalid::Invalid));
  Table->Locate("Code", Variant(1), TLocateOptions{});
  Table->Edit();
  Table->FieldByName("Dept")->SetAsString("3A");
  EXPECT_THROW(Table->Post(), EDatabaseError);
  EXPECT_EQ(Seen.Field, "Dept");
  EXPECT_EQ(Table->State(), dsEdit);
  Table->SetValidateWithMask(false);
  Table->Post();
  Table->Refresh();
  ASSERT_TRUE(Table->Locate("Code", Variant(1), TLocateOptions{}));
  EXPECT_EQ(Table->FieldByName("Dept")->AsString(), "3A");
}

TEST_F(DataSetClasses, LookupFieldsAreFilledFromATableOfTheLibrary) {
  // Persistent fields: the columns and a calculated label read from Dept.
  for (const char* Name : {"Code", "Nom", "Dept"}) {
    TField* Field = std::string(Name) == "Code" ? static_cast<TField*>(new TIntegerField(Table.get()))
                                                 : static_cast<TField*>(new TStringField(Table.get()));
    Field->SetFieldName(Name);
    if (std::string(Name) != "Code") Field->SetSize(40);
    Field->SetDataSet(Table.get());
  }
  auto* Label = new TStringField(Table.get());
  Label->SetFieldName("LIB_DEPT");
  Label->SetSize(40);
  Label->SetFieldKind(fkCalculated);
  Label->SetDataSet(Table.get());
  Table->LookupFields()->Add("LIB_DEPT;" + Path + ";Dept;Libelle;PrimaryKey");
  Table->LookupLinks()->Add("Dept;Code");
  Table->Open();
  ASSERT_TRUE(Table->Locate("Code", Variant(1), TLocateOptions{}));
  EXPECT_EQ(Label->AsString(), "Hérault"_a);
  ASSERT_TRUE(Table->Locate("Code", Variant(4), TLocateOptions{}));
  EXPECT_EQ(Label->AsString(), "Bouches-du-Rhône"_a);
  ASSERT_EQ(Table->LookupTableList().size(), 1u);
  EXPECT_EQ(Table->LookupTableList()[0]->TableName(), "Dept");
  // The record filter reads the label of the record under test.
  struct TByLabel : TObject {
    TqvTable* Table;
    void Filter(TDataSet*, bool& Accept) { Accept = Table->GetFilterFieldParam("LIB_DEPT")->AsString() == "Gard"; }
  } ByLabel;
  ByLabel.Table = Table.get();
  Table->SetOnFilter(TFilterRecordEvent(&ByLabel, &TByLabel::Filter));
  EXPECT_EQ(Codes(), "2,5");
  EXPECT_TRUE(Script.Asked.empty());
}

TEST_F(DataSetClasses, FilterFieldValuesOfTheRecordUnderTest) {
  Table->Open();
  struct TRead : TObject {
    TqvTable* Table;
    std::map<int, String> Notes;  // by code: a record may be tested more than once
    TFieldType CodeType = ftUnknown;
    void Filter(TDataSet*, bool& Accept) {
      TParam* Code = Table->GetFilterFieldParam("Code");
      CodeType = Code->DataType();
      int Key = Code->AsInteger();
      Notes[Key] = Table->GetFilterFieldParam("Note")->AsString();
      Accept = true;
    }
  } Read;
  Read.Table = Table.get();
  Table->SetOnFilter(TFilterRecordEvent(&Read, &TRead::Filter));
  Codes();
  ASSERT_EQ(Read.Notes.size(), 5u);
  EXPECT_EQ(Read.Notes[1], "roseaux");
  EXPECT_EQ(Read.Notes[2], "");
  EXPECT_EQ(Read.Notes[3], "sansouire");
  EXPECT_EQ(Read.CodeType, ftInteger);
  try {
    Table->GetFilterFieldParam("Absent");
    FAIL() << "no error";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Champ 'Absent' non trouvé"_a);
  }
}

TEST_F(DataSetClasses, AQueryTextReplacesTheTableAndATableNameTheQuery) {
  Table->SetIndexName("ByNom");
  TStringList Sql;
  Sql.Add("select Code, Nom from Site");
  Sql.Add("where Dept = '34' order by Code");
  Table->SetQuery(&Sql);
  EXPECT_EQ(Table->TTable::TableName(), "");
  EXPECT_EQ(Table->TTable::IndexName(), "");
  EXPECT_EQ(Table->QueryType(), "SQL");
  Table->Open();
  EXPECT_EQ(Codes(), "1,3");
  Table->SetTableName("Site");
  EXPECT_FALSE(Table->Active());
  EXPECT_EQ(Table->Query()->Count(), 0);
  Table->Open();
  EXPECT_EQ(Codes(), "1,2,3,4,5");
  // A query-by-example text is refused with its reason.
  Table->Close();
  TStringList Qbe;
  Qbe.Add("Query");
  Qbe.Add("Site | Nom |");
  Table->SetQuery(&Qbe);
  EXPECT_EQ(Table->QueryType(), "QBE");
  try {
    Table->Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message.find("not available"), String::npos) << E.Message;
  }
  EXPECT_FALSE(Table->Active());
}

// The ":name" places of a query text are the table's parameters: a master source set after the
// text gives them its fields' values, and the rows follow the master; a new text keeps the values
// of the parameters it still names, and a table name leaves none.
TEST_F(DataSetClasses, AQueryTextReadsItsParametersFromItsMasterSource) {
  TqvTable Depts(nullptr);
  Depts.SetDatabaseName(Path);
  Depts.SetTableName("Dept");
  Depts.Open();
  TDataSource Master(nullptr);
  Master.SetDataSet(&Depts);
  TScopeGuard Detach([&] { Table->SetDataSource(nullptr); });
  TStringList Sql;
  Sql.Add("select Code, Nom, Dept from Site");
  Sql.Add("where Dept = :Code order by Code");
  Table->SetQuery(&Sql);
  ASSERT_EQ(Table->Parameters()->Count(), 1);
  EXPECT_EQ(Table->Parameters()->Items(0)->Name(), "Code");
  Table->SetDataSource(&Master);
  Table->Open();
  struct TCase {
    const char* Dept;
    const char* Codes;
  };
  const TCase Cases[] = {{"13", "4"}, {"34", "1,3"}, {"30", "2,5"}, {"13", "4"}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Dept);
    ASSERT_TRUE(Depts.Locate("Code", Variant(Case.Dept), TLocateOptions{}));
    EXPECT_EQ(Table->Parameters()->ParamByName("Code")->Value(), Variant(Case.Dept));
    EXPECT_EQ(Codes(), Case.Codes);
  }
  // A new text keeps the value of the place it still names.
  Sql.Clear();
  Sql.Add("select Code, Nom, Dept from Site where Dept = :Code and Surface > :Least order by Code");
  Table->SetQuery(&Sql);
  EXPECT_EQ(Table->GetDataSource(), nullptr) << "a new text leaves the master";
  ASSERT_EQ(Table->Parameters()->Count(), 2);
  EXPECT_EQ(Table->Parameters()->ParamByName("Code")->Value(), Variant("13"));
  Table->Parameters()->ParamByName("Least")->SetValue(Variant(3.2));
  Table->Open();
  EXPECT_EQ(Codes(), "4");
  Table->SetTableName("Site");
  EXPECT_EQ(Table->Parameters()->Count(), 0);
  Table->Open();
  EXPECT_EQ(Codes(), "1,2,3,4,5");
}

TEST_F(DataSetClasses, AQueryInstallsItsFilterWhenItOpens) {
  TqvQuery Query(nullptr);
  Query.SetDatabaseName(Path);
  Query.SQL()->SetText("select * from Site order by Code");
  TRecordHandler Handler;
  Handler.Keep = 2;
  Query.SetOnFilter(TFilterRecordEvent(&Handler, &TRecordHandler::Filter));
  EXPECT_EQ(Query.CallbackFilterHandle(), 0);  // closed: nothing installed yet
  Query.Open();
  EXPECT_NE(Query.CallbackFilterHandle(), 0);
  EXPECT_EQ(Codes(&Query), "2");
  Query.SetOnFilter(TFilterRecordEvent());
  EXPECT_EQ(Codes(&Query), "1,2,3,4,5");
  EXPECT_EQ(qvGetPictureMasks(&Query), Query.PictureMasks());
  EXPECT_TRUE(Script.Asked.empty());
  // An answer table cannot be made: the query opens and says so.
  Query.Close();
  Query.AnswerTable = "Reponse";
  Query.Open();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Answer table Reponse not made: the database keeps no answer tables");
}

TEST_F(DataSetClasses, StoredProceduresAndQueryByExampleSayTheyAreNotAvailable) {
  TqvStoredProc Proc(nullptr);
  Proc.SetDatabaseName(Path);
  Proc.SetStoredProcName("MajSites");
  EXPECT_THROW(Proc.Open(), EDatabaseError);
  EXPECT_FALSE(Proc.Active());

  TqvQBE Qbe(nullptr);
  Qbe.SetDatabaseName(Path);
  Qbe.QBE()->Add("Query");
  Qbe.QBE()->Add("Site | Nom    | Dept |");
  Qbe.QBE()->Add("     | Check  | ~dep_1 |");
  EXPECT_EQ(Qbe.QBEText(), "Query\r\nSite | Nom    | Dept |\r\n     | Check  |   |");
  struct TErrors : TObject {
    std::vector<int> Codes;
    void Error(TDataSet*, int Code) { Codes.push_back(Code); }
  } Errors;
  Qbe.OnError = TqvQBEErrorEvent(&Errors, &TErrors::Error);
  try {
    Qbe.Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message.find("not available"), String::npos) << E.Message;
  }
  EXPECT_EQ(Errors.Codes, std::vector<int>{TqvQBE::ErrNotAvailable});
  EXPECT_FALSE(Qbe.Active());
}

TEST_F(DataSetClasses, FormsAndLookupsMakeTheClassesByName) {
  for (const char* Name : {"TqvTable", "TqvQuery", "TqvStoredProc", "TqvQBE"}) {
    TClass Class = GetClass(Name);
    ASSERT_NE(Class, nullptr) << Name;
    std::unique_ptr<TObject> Made(Class->Create(nullptr));
    auto* Set = dynamic_cast<TDataSet*>(Made.get());
    ASSERT_NE(Set, nullptr) << Name;
    EXPECT_TRUE(Set->InheritsFrom("TDBDataSet")) << Name;
    EXPECT_NE(GetPropInfo(Set, "OnFilter"), nullptr) << Name;
    EXPECT_NE(qvGetLookupLinks(Set), nullptr) << Name;
  }
}

}  // namespace
