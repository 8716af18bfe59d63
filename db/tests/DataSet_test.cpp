// Tests of TDataSet through a vector-backed descendant: opening, navigation, editing with its
// events, error handlers, Locate/Lookup, bookmarks, filters and calculated fields.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DataSet.h"
#include "Field.h"
#include "FieldDefs.h"
#include "TypInfo.h"
#include "VectorDataSet.h"

namespace {

using Events = std::vector<String>;

std::vector<TColumn> ZoneColumns() {
  return {{"CODE", ftString, 10}, {"NOM", ftString, 30}, {"NUM", ftInteger}};
}

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    D = std::make_unique<TVectorDataSet>(ZoneColumns());
    D->AddRow({"A1", "Étang de Berre"_a, 1});
    D->AddRow({"A2", "étang du Nord"_a, 2});
    D->AddRow({"B1", "Marais salant", 3});
    D->AddRow({"B2", "Lagune", 4});
    D->AddRow({"C1", "Tourbière"_a, 5});
    Log.Attach(D.get());
  }

  // The CODE of every visible row, in order (leaves the dataset on its last row).
  std::vector<String> Codes() {
    std::vector<String> Result;
    for (D->First(); !D->Eof(); D->Next()) Result.push_back(D->FieldByName("CODE")->AsString());
    return Result;
  }
  String Code() { return D->FieldByName("CODE")->AsString(); }

  std::unique_ptr<TVectorDataSet> D;
  TEventLog Log;
};

TEST_F(DataSetTest, OpenCreatesDefaultFieldsFromTheDefinitionsAndCloseFreesThem) {
  D->Open();
  EXPECT_EQ(D->State(), dsBrowse);
  EXPECT_TRUE(D->Active());
  EXPECT_TRUE(D->DefaultFields());
  ASSERT_EQ(D->FieldCount(), 3);
  EXPECT_EQ(D->FieldByName("nom")->ClassName(), "TStringField");
  EXPECT_EQ(D->FieldByName("num")->ClassName(), "TIntegerField");
  EXPECT_EQ(D->FieldByName("Nom"), D->FindField("NOM"));
  EXPECT_EQ(Code(), "A1");
  EXPECT_EQ(Log.Take(), (Events{"BeforeOpen", "AfterOpen", "AfterScroll"}));

  D->Close();
  EXPECT_EQ(D->State(), dsInactive);
  EXPECT_EQ(D->FieldCount(), 0);
  EXPECT_EQ(Log.Take(), (Events{"BeforeClose", "AfterClose"}));
}

TEST_F(DataSetTest, OpeningAnEmptyDatasetHasNoScrollAndIsBothBofAndEof) {
  D->Rows.clear();
  D->Open();
  EXPECT_TRUE(D->IsEmpty());
  EXPECT_TRUE(D->Bof());
  EXPECT_TRUE(D->Eof());
  EXPECT_EQ(Log.Take(), (Events{"BeforeOpen", "AfterOpen"}));
}

TEST_F(DataSetTest, FieldByNameOfAMissingFieldRaisesTheFrenchMessage) {
  D->Open();
  EXPECT_EQ(D->FindField("ABSENT"), nullptr);
  try {
    D->FieldByName("ABSENT");
    FAIL() << "no exception";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, String("Champ 'ABSENT' non trouvé"_a));
  }
  // A named dataset prefixes its name, as every database error of a component does.
  D->SetName("qZone");
  try {
    D->FieldByName("ABSENT");
    FAIL() << "no exception";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, String("qZone: Champ 'ABSENT' non trouvé"_a));
  }
}

TEST_F(DataSetTest, OperationsOnAClosedDatasetRaiseTheClosedError) {
  std::vector<std::pair<const char*, std::function<void()>>> Cases = {
      {"First", [&] { D->First(); }},   {"Next", [&] { D->Next(); }},
      {"Edit", [&] { D->Edit(); }},     {"Insert", [&] { D->Insert(); }},
      {"Delete", [&] { D->Delete(); }}, {"RecordCount", [&] { D->RecordCount(); }},
  };
  for (auto& [Name, Operation] : Cases) {
    try {
      Operation();
      ADD_FAILURE() << Name << ": no exception";
    } catch (EDatabaseError& E) {
      EXPECT_EQ(E.Message, String(DBConsts::SDataSetClosed)) << Name;
    }
  }
}

TEST_F(DataSetTest, NavigationSetsBofAndEofAtTheEnds) {
  D->Open();
  EXPECT_TRUE(D->Bof());
  EXPECT_FALSE(D->Eof());
  EXPECT_EQ(Codes(), (std::vector<String>{"A1", "A2", "B1", "B2", "C1"}));
  EXPECT_TRUE(D->Eof());
  EXPECT_EQ(Code(), "C1");  // Next past the last stays on it

  D->Prior();
  EXPECT_EQ(Code(), "B2");
  EXPECT_FALSE(D->Eof());
  D->First();
  D->Prior();
  EXPECT_TRUE(D->Bof());
  EXPECT_EQ(Code(), "A1");

  D->Last();
  EXPECT_TRUE(D->Eof());
  EXPECT_EQ(Code(), "C1");
}

TEST_F(DataSetTest, MoveByAnswersTheDistanceActuallyMoved) {
  D->Open();
  struct Case {
    int Distance;
    int Moved;
    const char* Code;
    bool Bof, Eof;
  } Cases[] = {{2, 2, "B1", false, false},
               {10, 2, "C1", false, true},
               {-3, -3, "A2", false, false},
               {-5, -1, "A1", true, false},
               {0, 0, "A1", true, false}};  // no move: the flags stay
  for (const Case& C : Cases) {
    EXPECT_EQ(D->MoveBy(C.Distance), C.Moved) << C.Distance;
    EXPECT_EQ(Code(), C.Code) << C.Distance;
    EXPECT_EQ(D->Bof(), C.Bof) << C.Distance;
    EXPECT_EQ(D->Eof(), C.Eof) << C.Distance;
  }
}

// --- Editing -------------------------------------------------------------------------------------

TEST_F(DataSetTest, EditingOperationsFireTheirEventsInOrder) {
  struct Case {
    const char* Name;
    std::function<void(TDataSet*)> Run;
    Events Expected;
  };
  std::vector<Case> Cases = {
      {"edit and post",
       [](TDataSet* S) {
         S->Edit();
         S->FieldByName("NOM")->SetAsString("X");
         S->Post();
       },
       {"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost"}},
      {"edit and cancel",
       [](TDataSet* S) {
         S->Edit();
         S->Cancel();
       },
       {"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}},
      {"insert and post",
       [](TDataSet* S) {
         S->Insert();
         S->FieldByName("CODE")->SetAsString("N1");
         S->Post();
       },
       {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll", "BeforePost", "AfterPost"}},
      {"append and cancel",
       [](TDataSet* S) {
         S->Append();
         S->Cancel();
       },
       {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll", "BeforeCancel", "BeforeScroll",
        "AfterCancel", "AfterScroll"}},
      {"delete", [](TDataSet* S) { S->Delete(); }, {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}},
      {"next", [](TDataSet* S) { S->Next(); }, {"BeforeScroll", "AfterScroll"}},
      {"refresh", [](TDataSet* S) { S->Refresh(); }, {"BeforeRefresh", "AfterRefresh"}},
      {"edit, then move: posts first",
       [](TDataSet* S) {
         S->Edit();
         S->FieldByName("NUM")->SetAsInteger(9);
         S->Next();
       },
       {"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}},
  };
  for (const Case& C : Cases) {
    SetUp();
    D->Open();
    D->Next();
    Log.Take();
    C.Run(D.get());
    EXPECT_EQ(Log.Take(), C.Expected) << C.Name;
    EXPECT_EQ(D->State(), dsBrowse) << C.Name;
  }
}

TEST_F(DataSetTest, InsertGoesBeforeTheCurrentRecordAndAppendAtTheEnd) {
  D->Open();
  D->MoveBy(2);  // B1
  D->Insert();
  EXPECT_EQ(D->State(), dsInsert);
  D->FieldByName("CODE")->SetAsString("I1");
  D->Post();
  EXPECT_EQ(Code(), "I1");
  D->Append();
  D->FieldByName("CODE")->SetAsString("Z9");
  D->Post();
  EXPECT_EQ(Code(), "Z9");
  EXPECT_EQ(Codes(), (std::vector<String>{"A1", "A2", "I1", "B1", "B2", "C1", "Z9"}));
}

TEST_F(DataSetTest, EditAndCancelRestoresTheRecordAndModifiedFollowsTheChanges) {
  D->Open();
  D->Edit();
  EXPECT_FALSE(D->Modified());
  D->FieldByName("NOM")->SetAsString("Changé"_a);
  EXPECT_TRUE(D->Modified());
  EXPECT_EQ(D->FieldByName("NOM")->AsString(), String("Changé"_a));
  D->Cancel();
  EXPECT_FALSE(D->Modified());
  EXPECT_EQ(D->FieldByName("NOM")->AsString(), String("Étang de Berre"_a));

  D->Edit();
  D->FieldByName("NUM")->SetAsInteger(42);
  D->Post();
  D->Close();
  D->Open();
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 42);
}

TEST_F(DataSetTest, EditOnAnEmptyDatasetStartsANewRecord) {
  D->Rows.clear();
  D->Open();
  Log.Take();
  D->Edit();
  EXPECT_EQ(D->State(), dsInsert);
  EXPECT_EQ(Log.Take(), (Events{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
  D->FieldByName("CODE")->SetAsString("P1");
  D->Post();
  EXPECT_EQ(D->RecordCount(), 1);
  EXPECT_FALSE(D->IsEmpty());
  EXPECT_EQ(Code(), "P1");
}

TEST_F(DataSetTest, AnUnmodifiedNewRecordIsDroppedWhenBrowsingResumes) {
  D->Open();
  D->Insert();  // only OnNewRecord's values: not modified
  D->CheckBrowseMode();
  EXPECT_EQ(D->State(), dsBrowse);
  EXPECT_EQ(D->RecordCount(), 5);
}

TEST_F(DataSetTest, WrongStateAndReadOnlyAndEmptyAreRefused) {
  D->Open();
  struct Case {
    const char* Name;
    std::function<void()> Run;
    const char* Message;
  };
  std::vector<Case> Cases = {
      {"post while browsing", [&] { D->Post(); }, DBConsts::SNotEditing},
      {"write while browsing", [&] { D->FieldByName("NOM")->SetAsString("x"); }, DBConsts::SNotEditing},
      {"edit a read-only dataset",
       [&] {
         D->ReadOnlyTable = true;
         D->Edit();
       },
       DBConsts::SDataSetReadOnly},
      {"insert into a read-only dataset",
       [&] {
         D->ReadOnlyTable = true;
         D->Insert();
       },
       DBConsts::SDataSetReadOnly},
      {"delete from an empty dataset",
       [&] {
         D->Close();
         D->Rows.clear();
         D->Open();
         D->Delete();
       },
       DBConsts::SDataSetEmpty},
  };
  for (const Case& C : Cases) {
    try {
      C.Run();
      ADD_FAILURE() << C.Name << ": no exception";
    } catch (EDatabaseError& E) {
      EXPECT_EQ(E.Message, String(C.Message)) << C.Name;
    }
    EXPECT_EQ(D->State(), dsBrowse) << C.Name;
    D->ReadOnlyTable = false;
  }
}

// --- Error handlers ------------------------------------------------------------------------------

class ErrorHandler : public TObject {
 public:
  TDataAction Action = daFail;
  String NewMessage;
  int Calls = 0;
  String Seen;
  void Handle(TDataSet*, EDatabaseError* E, TDataAction& A) {
    ++Calls;
    Seen = E->Message;
    if (!NewMessage.empty() && E->Message.find("doit avoir une valeur") != String::npos) E->Message = NewMessage;
    A = Action;
  }
};

TEST_F(DataSetTest, PostErrorHandlerRewritesTheMessageAndChoosesFailAbortOrRetry) {
  ErrorHandler H;
  D->OnPostError = TDataSetErrorEvent(&H, &ErrorHandler::Handle);
  D->Open();

  // daFail: the same error, with the handler's message; the record stays in edit mode.
  D->FailPosts = 1;
  D->FailMessage = "Le champ 'TCB_CODE' doit avoir une valeur";
  H.NewMessage = "Le code Corine BIOTOPE doit avoir une valeur";
  D->Edit();
  D->FieldByName("NUM")->SetAsInteger(7);
  try {
    D->Post();
    FAIL() << "no exception";
  } catch (EAbort&) {
    FAIL() << "silent abort instead of the error";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code Corine BIOTOPE doit avoir une valeur");
  }
  EXPECT_EQ(H.Seen, "Le champ 'TCB_CODE' doit avoir une valeur");
  EXPECT_EQ(D->State(), dsEdit);

  // daAbort: EAbort, still editing.
  H.Action = daAbort;
  D->FailPosts = 1;
  EXPECT_THROW(D->Post(), EAbort);
  EXPECT_EQ(D->State(), dsEdit);

  // daRetry: the operation runs again and succeeds.
  H.Action = daRetry;
  H.Calls = 0;
  D->FailPosts = 1;
  D->Post();
  EXPECT_EQ(H.Calls, 1);
  EXPECT_EQ(D->State(), dsBrowse);
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 7);
}

TEST_F(DataSetTest, AMissingRequiredValueReachesThePostErrorHandler) {
  D = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"CODE", ftString, 10, true}, {"NOM", ftString, 30}});
  ErrorHandler H;
  H.NewMessage = "Le code SDAGE doit avoir une valeur";
  D->OnPostError = TDataSetErrorEvent(&H, &ErrorHandler::Handle);
  D->Open();
  D->Append();
  D->FieldByName("NOM")->SetAsString("sans code");
  try {
    D->Post();
    FAIL() << "no exception";
  } catch (EDatabaseError& E) {
    EXPECT_EQ(E.Message, "Le code SDAGE doit avoir une valeur");
  }
  EXPECT_EQ(H.Seen, "Le champ 'CODE' doit avoir une valeur");
  EXPECT_EQ(D->State(), dsInsert);
  EXPECT_TRUE(D->Rows.empty());
}

TEST_F(DataSetTest, EditErrorAndDeleteErrorGoThroughTheirHandlers) {
  // The descendant refuses: its EDatabaseError goes to the handler, which aborts silently.
  class Refusing : public TVectorDataSet {
   public:
    using TVectorDataSet::TVectorDataSet;
    void InternalEdit() override { DatabaseError("verrouillé"_a); }
    void InternalDelete() override { DatabaseError("interdit"); }
  };
  Refusing R(ZoneColumns());
  R.AddRow({"A1", "x", 1});
  ErrorHandler H;
  H.Action = daAbort;
  R.OnEditError = TDataSetErrorEvent(&H, &ErrorHandler::Handle);
  R.OnDeleteError = TDataSetErrorEvent(&H, &ErrorHandler::Handle);
  R.Open();
  EXPECT_THROW(R.Edit(), EAbort);
  EXPECT_EQ(H.Seen, String("verrouillé"_a));
  EXPECT_EQ(R.State(), dsBrowse);
  EXPECT_THROW(R.Delete(), EAbort);
  EXPECT_EQ(H.Seen, "interdit");
  EXPECT_EQ(R.Rows.size(), 1u);
}

// --- Direct inserts ------------------------------------------------------------------------------

TEST_F(DataSetTest, InsertRecordPutsEachRowBeforeTheCurrentOneAndStaysOnIt) {
  D->Rows.clear();
  D->Open();
  Log.Take();
  for (int i = 1; i <= 4; ++i) D->InsertRecord({String("R") + char('0' + i), "lib", i});
  EXPECT_EQ(Code(), "R4");
  EXPECT_EQ(Codes(), (std::vector<String>{"R4", "R3", "R2", "R1"}));

  Log.Take();
  D->AppendRecord({"Z", Variant(), 99});
  EXPECT_EQ(Log.Take(), (Events{"BeforeInsert", "BeforeScroll", "OnNewRecord", "BeforePost", "AfterPost", "AfterScroll"}));
  EXPECT_EQ(Code(), "Z");
  EXPECT_TRUE(D->FieldByName("NOM")->IsNull());
  EXPECT_EQ(D->FieldByName("NUM")->AsInteger(), 99);
  D->Last();
  EXPECT_EQ(Code(), "Z");
}

// --- Locate and Lookup ---------------------------------------------------------------------------

TEST_F(DataSetTest, LocateMatchesOneOrTwoFieldsWithTheOptions) {
  D->Open();
  struct Case {
    const char* Fields;
    Variant Values;
    TLocateOptions Options;
    const char* Found;  // nullptr: not found
  };
  std::vector<Case> Cases = {
      {"CODE", "B1", {}, "B1"},
      {"code", "b1", {}, nullptr},                                         // case counts by default
      {"CODE", "b1", {loCaseInsensitive}, "B1"},
      {"NOM", "ÉTANG DU NORD"_a, {loCaseInsensitive}, "A2"},              // case of accented letters
      {"NOM", "etang du nord", {loCaseInsensitive}, nullptr},             // accents still count
      {"NOM", "Marais", {}, nullptr},
      {"NOM", "Marais", {loPartialKey}, "B1"},
      {"NOM", "marais", {loPartialKey}, nullptr},
      {"NOM", "TOURB", {loPartialKey, loCaseInsensitive}, "C1"},
      {"NUM", 4, {}, "B2"},
      {"CODE;NUM", VarArrayOf({"A2", 2}), {}, "A2"},
      {"CODE;NUM", VarArrayOf({"A2", 3}), {}, nullptr},
      {"NOM;NUM", VarArrayOf({"étang"_a, 2}), {loCaseInsensitive, loPartialKey}, "A2"},
  };
  for (const Case& C : Cases) {
    D->First();
    D->Next();  // start on A2
    Log.Take();
    bool Found = D->Locate(C.Fields, C.Values, C.Options);
    EXPECT_EQ(Found, C.Found != nullptr) << C.Fields << " " << C.Values.AsString();
    EXPECT_EQ(Code(), C.Found != nullptr ? C.Found : "A2") << C.Fields << " " << C.Values.AsString();
    Events Expected = Found ? Events{"BeforeScroll", "AfterScroll"} : Events{"BeforeScroll"};
    EXPECT_EQ(Log.Take(), Expected) << C.Fields << " " << C.Values.AsString();
  }
}

TEST_F(DataSetTest, LookupAnswersTheResultFieldsWithoutMoving) {
  D->Open();
  D->Last();
  Log.Take();
  EXPECT_EQ(D->Lookup("CODE", "B2", "NOM").AsString(), "Lagune");
  Variant Both = D->Lookup("NUM", 3, "CODE;NOM");
  ASSERT_TRUE(VarIsArray(Both));
  EXPECT_EQ(Both.GetElement(0).AsString(), "B1");
  EXPECT_EQ(Both.GetElement(1).AsString(), "Marais salant");
  EXPECT_TRUE(VarIsNull(D->Lookup("CODE", "ZZ", "NOM")));
  EXPECT_EQ(Code(), "C1");
  EXPECT_TRUE(Log.Take().empty());
}

// --- Bookmarks -----------------------------------------------------------------------------------

TEST_F(DataSetTest, BookmarksSurviveOtherDeletesAndDieWithTheirRecord) {
  D->Open();
  D->MoveBy(3);  // B2
  TBookmark B2 = D->GetBookmark();
  D->Prior();
  TBookmark B1 = D->GetBookmark();
  ASSERT_EQ(int(B2.size()), D->BookmarkSize());
  EXPECT_EQ(D->CompareBookmarks(B1, B2), -1);
  EXPECT_EQ(D->CompareBookmarks(B2, B1), 1);
  EXPECT_EQ(D->CompareBookmarks(B2, B2), 0);

  D->First();
  D->Delete();  // A1 goes; B2 moves up a place
  D->GotoBookmark(B2);
  EXPECT_EQ(Code(), "B2");
  EXPECT_TRUE(D->BookmarkValid(B2));

  D->GotoBookmark(B1);
  D->Delete();
  EXPECT_FALSE(D->BookmarkValid(B1));
  EXPECT_THROW(D->GotoBookmark(B1), EDatabaseError);

  TBookmark None;
  D->GotoBookmark(None);  // nothing
  D->FreeBookmark(B2);
  EXPECT_TRUE(B2.empty());
}

TEST_F(DataSetTest, ANewRecordHasNoBookmark) {
  D->Open();
  D->Insert();
  EXPECT_TRUE(D->GetBookmark().empty());
}

// --- Filters -------------------------------------------------------------------------------------

class NumFilter : public TObject {
 public:
  int Minimum = 3;
  void Filter(TDataSet* DataSet, bool& Accept) {
    EXPECT_EQ(DataSet->State(), dsFilter);
    Accept = DataSet->FieldByName("NUM")->AsInteger() >= Minimum;
  }
};

TEST_F(DataSetTest, OnFilterRecordHidesRecordsWhileFiltered) {
  NumFilter F;
  D->SetOnFilterRecord(TFilterRecordEvent(&F, &NumFilter::Filter));
  D->Open();
  EXPECT_EQ(Codes().size(), 5u);  // not yet filtered

  D->SetFiltered(true);
  EXPECT_EQ(Code(), "B1");  // re-read from the first visible record
  EXPECT_EQ(Codes(), (std::vector<String>{"B1", "B2", "C1"}));
  EXPECT_EQ(D->RecordCount(), 3);
  EXPECT_FALSE(D->Locate("CODE", "A1", {}));

  // A new handler applies at once.
  NumFilter G;
  G.Minimum = 5;
  D->SetOnFilterRecord(TFilterRecordEvent(&G, &NumFilter::Filter));
  EXPECT_EQ(Codes(), (std::vector<String>{"C1"}));

  D->SetFiltered(false);
  EXPECT_EQ(D->RecordCount(), 5);
  EXPECT_EQ(Code(), "A1");
}

// --- Persistent and calculated fields ------------------------------------------------------------

class Calculator : public TObject {
 public:
  int Calls = 0;
  void Calc(TDataSet* DataSet) {
    ++Calls;
    EXPECT_EQ(DataSet->State(), dsCalcFields);
    DataSet->FieldByName("LIB")->SetAsString(DataSet->FieldByName("CODE")->AsString() + "-" +
                                             DataSet->FieldByName("NUM")->AsString());
  }
};

TEST_F(DataSetTest, PersistentFieldsKeepTheirOrderAndCalculatedFieldsAreComputedPerRecord) {
  // Persistent fields, not in the definitions' order, with a calculated one between them.
  auto* Num = new TIntegerField(D.get());
  Num->SetFieldName("NUM");
  Num->SetDataSet(D.get());
  auto* Lib = new TStringField(D.get());
  Lib->SetFieldName("LIB");
  Lib->SetSize(20);
  Lib->SetFieldKind(fkCalculated);
  Lib->SetDataSet(D.get());
  auto* Code = new TStringField(D.get());
  Code->SetFieldName("CODE");
  Code->SetSize(10);
  Code->SetDataSet(D.get());
  Calculator C;
  D->OnCalcFields = TDataSetNotifyEvent(&C, &Calculator::Calc);

  D->Open();
  EXPECT_FALSE(D->DefaultFields());
  ASSERT_EQ(D->FieldCount(), 3);
  EXPECT_EQ(D->Fields()->Fields(0), Num);
  EXPECT_EQ(D->FindField("NOM"), nullptr);  // defined, but no persistent field
  EXPECT_EQ(Num->FieldNo(), 3);
  EXPECT_EQ(Lib->FieldNo(), -1);
  EXPECT_GT(D->CalcFieldsSize(), Lib->DataSize());

  std::vector<String> Libs;
  for (D->First(); !D->Eof(); D->Next()) Libs.push_back(Lib->AsString());
  EXPECT_EQ(Libs, (std::vector<String>{"A1-1", "A2-2", "B1-3", "B2-4", "C1-5"}));

  // Edited values recompute the calculated field at once.
  D->Edit();
  Num->SetAsInteger(50);
  EXPECT_EQ(Lib->AsString(), "C1-50");
  D->Post();
  EXPECT_EQ(Lib->AsString(), "C1-50");
  D->Close();
  EXPECT_EQ(D->FieldCount(), 3);  // persistent fields stay
}

// --- Published properties ------------------------------------------------------------------------

TEST_F(DataSetTest, PublishedPropertiesReachTheDataset) {
  const TPropInfo* Filter = GetPropInfo(D.get(), "Filter");
  ASSERT_NE(Filter, nullptr);
  SetStrProp(D.get(), Filter, "NUM > 2");
  EXPECT_EQ(D->Filter(), "NUM > 2");
  const TPropInfo* Filtered = GetPropInfo(D.get(), "Filtered");
  ASSERT_NE(Filtered, nullptr);
  SetOrdProp(D.get(), Filtered, 1);
  EXPECT_TRUE(D->Filtered());
  for (const char* Name : {"Active", "FilterOptions", "BeforeOpen", "AfterScroll", "OnNewRecord", "OnCalcFields",
                           "OnPostError", "OnEditError", "OnDeleteError", "OnFilterRecord", "Tag"})
    EXPECT_NE(GetPropInfo(D.get(), Name), nullptr) << Name;
}

}  // namespace
