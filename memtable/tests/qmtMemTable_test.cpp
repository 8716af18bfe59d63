// This file tests the in-memory table as a dataset: what the program relies on (fill and filter
// for the duplicate check, the lookup list, the picture table), bookmarks, indexes, searches,
// editing, versions and transactions, copying and saving.
#include <gtest/gtest.h>

#include <memory>

#include "FieldDefs.h"
#include "FileUtils.h"
#include "Filer.h"
#include "OsPort.h"
#include "qmtMemTable.h"

namespace {

// A table with the columns of a detail row: num, code, lib.
std::unique_ptr<TqmtMemTable> DetailTable() {
  auto T = std::make_unique<TqmtMemTable>(nullptr);
  T->FieldDefs()->Add("num", ftInteger);
  T->FieldDefs()->Add("code", ftString, 10);
  T->FieldDefs()->Add("lib", ftString, 40);
  T->Open();
  return T;
}

void AppendRow(TDataSet* T, const Variant& Num, const Variant& Code, const Variant& Lib) {
  T->Append();
  T->FieldByName("num")->SetAsVariant(Num);
  T->FieldByName("code")->SetAsVariant(Code);
  T->FieldByName("lib")->SetAsVariant(Lib);
  T->Post();
}

std::vector<String> Column(TDataSet* T, const char* Name) {
  std::vector<String> R;
  T->First();
  while (!T->Eof()) {
    R.push_back(T->FieldByName(Name)->IsNull() ? String("<null>") : T->FieldByName(Name)->AsString());
    T->Next();
  }
  return R;
}

// --- What the program relies on ------------------------------------------------------------------------

TEST(MemTableProgram, DuplicateCheckSnapshotFillsThenFilters) {
  auto Source = DetailTable();
  const char* Codes[] = {"A1", "A1", "", "B2", "A1", "", "C3", "B2", "A1", "D4", "", "E5"};
  for (int I = 0; I < 12; ++I) AppendRow(Source.get(), I, Variant(Codes[I]), I % 3 == 0 ? Variant::Null() : Variant("x"));
  Source->First();
  Source->MoveBy(4);
  int SourceRecNo = Source->RecNo();
  Source->Edit();  // a pending edit of the source is posted first
  Source->FieldByName("lib")->SetAsString("edited");

  TComponent Owner(nullptr);
  auto* Check = new TqmtMemTable(&Owner);
  Check->Tag = 1;
  Check->FillFromDataSet(Source.get(), mtcpoStructure | mtcpoProperties);
  EXPECT_EQ(Check->RecordCount(), 12);
  EXPECT_EQ(Check->FieldByName("lib")->Size(), 40);
  EXPECT_EQ(Source->State(), dsBrowse);
  EXPECT_EQ(Source->RecNo(), SourceRecNo);
  EXPECT_EQ(Source->FieldByName("lib")->AsString(), "edited");

  struct Case {
    const char* Filter;
    int Count;
  } Cases[] = {
      {"code = 'A1'", 4},
      {"CODE = 'a1'", 0},                // values compare with case; names without
      {"code = ''", 3},                  // empty values are duplicates too
      {"code = 'A1' and lib = NULL", 1},  // rows 0 and 9 have null lib; row 0 is A1
      {"code = 'B2' and num = 7", 1},
      {"lib = 'edited'", 1},
  };
  for (const Case& C : Cases) {
    Check->SetFilter(C.Filter);
    Check->SetFiltered(true);
    EXPECT_EQ(Check->RecordCount(), C.Count) << C.Filter;
    Check->SetFiltered(false);
    EXPECT_EQ(Check->RecordCount(), 12) << C.Filter;
  }
  EXPECT_EQ(Check->Tag, 1);
}

TEST(MemTableProgram, LookupListOfFourInsertedRowsWithPersistentFields) {
  TComponent Form(nullptr);
  auto* T = new TqmtMemTable(&Form);
  T->FieldDefs()->Add("num", ftInteger);
  T->FieldDefs()->Add("lib", ftString, 50);
  auto* Num = new TStringField(&Form);
  Num->SetFieldName("num");
  Num->SetSize(2);
  Num->SetDataSet(T);
  auto* Lib = new TStringField(&Form);
  Lib->SetFieldName("lib");
  Lib->SetSize(100);
  Lib->SetDataSet(T);
  T->SortFields = "lib;num";
  T->Open();
  T->InsertRecord({Variant("1"), Variant("Eau douce")});
  T->InsertRecord({Variant("2"), Variant("Eau salée"_a)});
  T->InsertRecord({Variant("3"), Variant("Tourbière"_a)});
  T->InsertRecord({Variant("4"), Variant("Autre")});
  EXPECT_EQ(T->RecordCount(), 4);
  EXPECT_EQ(Column(T, "num"), (std::vector<String>{"4", "3", "2", "1"}));
  EXPECT_EQ(T->FieldByName("lib")->Size(), 100);
  EXPECT_EQ(T->FieldDefs()->Find("num")->DataType(), ftString);
}

TEST(MemTableProgram, PictureFieldLoadedFromAFileAndPosted) {
  String Path = OsPort::TempFolder() + "qmt_picture.bin";
  String Bytes("\xFF\xD8\xFF\xE0 picture bytes \0 with a zero", 33);
  {
    TFileStream F(Path, fmCreate);
    F.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
  }
  TqmtMemTable T(nullptr);
  T.FieldDefs()->Add("image", ftGraphic);
  T.Open();
  T.Append();
  T.Post();
  T.Edit();
  static_cast<TBlobField*>(T.FieldByName("image"))->LoadFromFile(Path);
  T.Post();
  OsPort::DeleteFile(Path);
  EXPECT_EQ(T.FieldByName("image")->AsString(), Bytes);
  std::unique_ptr<TStream> S(T.CreateBlobStream(T.FieldByName("image"), bmRead));
  EXPECT_EQ(S->Size(), std::int64_t(Bytes.size()));
  // A write-mode stream starts empty; writing nothing stores null.
  T.Edit();
  { std::unique_ptr<TStream> W(T.CreateBlobStream(T.FieldByName("image"), bmWrite)); }
  EXPECT_TRUE(T.FieldByName("image")->IsNull());
  T.Cancel();
  EXPECT_EQ(T.FieldByName("image")->AsString(), Bytes);
  // Outside edit mode a write stream is refused.
  EXPECT_THROW(T.CreateBlobStream(T.FieldByName("image"), bmWrite), EDatabaseError);
}

TEST(MemTableProgram, FormPropertiesAndDesignActivation) {
  const char* Text =
      "object T: TqmtMemTable\n"
      "  Active = True\n"
      "  DesignActivation = False\n"
      "  SortFields = 'lib;num'\n"
      "  Performance = mtpfSmall\n"
      "end\n";
  TqmtMemTable T(nullptr);
  ReadComponentFromText(&T, Text, "t.dfm");
  EXPECT_FALSE(T.Active());  // with activation on, opening a table without fields would fail
  EXPECT_EQ(T.SortFields, "lib;num");
  EXPECT_EQ(T.Performance(), mtpfSmall);
  EXPECT_EQ(T.Version(), "4.08b");
}

// Long texts of a small-memory table live in value buffers of their own: a cursor buffer reads
// the stored value until it writes one of its own.
TEST(MemTableProgram, SmallPerformanceTextsThroughTheFields) {
  TqmtMemTable T(nullptr);
  T.SetPerformance(mtpfSmall);
  T.FieldDefs()->Add("num", ftInteger);
  T.FieldDefs()->Add("lib", ftString, 40);
  T.Open();
  ASSERT_TRUE(T.Store()->IsVarLength(2));
  T.AppendRecord({Variant(1), Variant("abc")});
  T.AppendRecord({Variant(2), Variant::Null()});
  EXPECT_EQ(Column(&T, "lib"), (std::vector<String>{"abc", "<null>"}));
  T.First();
  T.Edit();
  EXPECT_EQ(T.FieldByName("lib")->AsString(), "abc");
  T.FieldByName("lib")->SetAsString("changed");
  EXPECT_EQ(T.FieldByName("lib")->AsString(), "changed");
  T.Cancel();
  EXPECT_EQ(T.FieldByName("lib")->AsString(), "abc");
  T.SetFilter("lib = 'abc'");
  T.SetFiltered(true);
  EXPECT_EQ(T.RecordCount(), 1);
}

TEST(MemTableProgram, DetailFollowsItsMaster) {
  auto Master = DetailTable();
  AppendRow(Master.get(), 1, "m", "one");
  AppendRow(Master.get(), 2, "m", "two");
  auto Detail = DetailTable();
  for (int I = 0; I < 5; ++I) AppendRow(Detail.get(), I % 2 + 1, "d", ("row" + std::to_string(I)).c_str());
  TDataSource Link(nullptr);
  Link.SetDataSet(Master.get());
  Detail->SetMasterFields("num");
  Detail->SetDetailFields("num");
  Detail->SetMasterSource(&Link);
  Master->First();
  EXPECT_EQ(Detail->RecordCount(), 3);
  Master->Next();
  EXPECT_EQ(Column(Detail.get(), "lib"), (std::vector<String>{"row1", "row3"}));
  Detail->Append();  // a new detail row takes the master's key
  EXPECT_EQ(Detail->FieldByName("num")->AsInteger(), 2);
  Detail->Cancel();
  Detail->SetMasterSource(nullptr);
  EXPECT_EQ(Detail->RecordCount(), 5);
}

// A failure to store a blob value raises from the write instead of being lost.
TEST(MemTableBlob, FailedStoreRaisesFromTheWrite) {
  struct Failing : TObject {
    void Compress(TDataSet*, TStream*, TStream*) { throw EMemTableError("compression failed"); }
  } F;
  TqmtMemTable T(nullptr);
  T.FieldDefs()->Add("memo", ftMemo);
  T.Open();
  T.OnCompressBlobStream = TqmtCompressBlobStreamEvent(&F, &Failing::Compress);
  T.Append();
  EXPECT_THROW(T.FieldByName("memo")->SetAsString("text"), EMemTableError);
}

// --- Cursor, counts and bookmarks ----------------------------------------------------------------------

TEST(MemTableCursor, ClosedCountRaisesAndRecNoOutOfRangeDoesNothing) {
  TqmtMemTable T(nullptr);
  T.FieldDefs()->Add("num", ftInteger);
  EXPECT_THROW(T.RecordCount(), EDatabaseError);
  T.Open();
  for (int I = 1; I <= 5; ++I) T.AppendRecord({Variant(I)});
  T.SetRecNo(3);
  EXPECT_EQ(T.FieldByName("num")->AsInteger(), 3);
  T.SetRecNo(9);
  EXPECT_EQ(T.RecNo(), 3);
  TqmtMemTable Empty(nullptr);
  EXPECT_THROW(Empty.Open(), EMemTableError);
}

TEST(MemTableCursor, BookmarksOfDeletedOrReplacedRecordsAreRefused) {
  auto T = DetailTable();
  for (int I = 0; I < 3; ++I) AppendRow(T.get(), I, "c", "l");
  T->First();
  TBookmark First = T->GetBookmark();
  T->Next();
  TBookmark Second = T->GetBookmark();
  T->Delete();
  EXPECT_FALSE(T->BookmarkValid(Second));
  EXPECT_THROW(T->GotoBookmark(Second), EMemTableError);
  AppendRow(T.get(), 99, "new", "takes the freed slot");
  EXPECT_FALSE(T->BookmarkValid(Second));
  EXPECT_THROW(T->GotoBookmark(Second), EMemTableError);
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 99);  // the cursor did not move
  T->GotoBookmark(First);
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 0);
  T->Close();
  T->Open();
  AppendRow(T.get(), 0, "c", "l");
  EXPECT_FALSE(T->BookmarkValid(First));  // a new generation of data
}

TEST(MemTableCursor, InvalidBookmarksCompareEqualToAny) {
  // With versioning a deleted record stays in the store: its bookmark still resolves, yet it is
  // invalid and must compare as one.
  for (bool Versioning : {false, true}) {
    SCOPED_TRACE(Versioning ? "versioning" : "no versioning");
    auto T = DetailTable();
    T->SetEnableVersioning(Versioning);
    for (int I = 0; I < 3; ++I) AppendRow(T.get(), I, "c", "l");
    T->First();
    TBookmark First = T->GetBookmark();
    T->Next();
    TBookmark Second = T->GetBookmark();
    T->Next();
    TBookmark Third = T->GetBookmark();
    EXPECT_EQ(T->CompareBookmarks(First, Third), -1);
    EXPECT_EQ(T->CompareBookmarks(Third, Second), 1);
    T->GotoBookmark(Second);
    T->Delete();
    EXPECT_FALSE(T->BookmarkValid(Second));
    EXPECT_EQ(T->CompareBookmarks(First, Second), 0);
    EXPECT_EQ(T->CompareBookmarks(Second, Third), 0);
    EXPECT_EQ(T->CompareBookmarks(Third, First), 1);
  }
}

// --- Indexes and searches ------------------------------------------------------------------------------

TEST(MemTableIndex, FieldOptionsInIndexFieldNames) {
  auto T = DetailTable();
  const char* Libs[] = {"beta", "Alpha", "alpha", "Gamma", "delta"};
  for (int I = 0; I < 5; ++I) AppendRow(T.get(), I, "c", Libs[I]);
  T->SetIndexFieldNames("lib:dc;num");
  EXPECT_EQ(Column(T.get(), "num"), (std::vector<String>{"3", "4", "0", "1", "2"}));
  T->SetIndexFieldNames("lib");
  EXPECT_EQ(Column(T.get(), "lib"), (std::vector<String>{"alpha", "Alpha", "beta", "delta", "Gamma"}));
  // Editing a record moves it in the current index and keeps the order.
  T->Locate("lib", Variant("beta"), {});
  T->Edit();
  T->FieldByName("lib")->SetAsString("zeta");
  T->Post();
  EXPECT_EQ(Column(T.get(), "lib"), (std::vector<String>{"alpha", "Alpha", "delta", "Gamma", "zeta"}));
  T->SetIndexFieldNames("");
  EXPECT_EQ(Column(T.get(), "num"), (std::vector<String>{"0", "1", "2", "3", "4"}));
}

TEST(MemTableIndex, SearchOnlyOptionsLeaveTheOrderTotal) {
  // Ignored nulls and partial keys change how a search compares; an index still orders its
  // records by the plain values, nulls first, whatever the options.
  for (const char* Fields : {"lib:N", "lib:P", "lib:NPC"}) {
    SCOPED_TRACE(Fields);
    auto T = DetailTable();
    T->AddIndex("byLib", Fields);
    T->SetIndexName("byLib");
    // Rows posted into the index, then the index sorted afresh: the same order.
    const char* Libs[] = {"b", nullptr, "ab", "a", nullptr, "abc"};
    for (int I = 0; I < 6; ++I) AppendRow(T.get(), I, "c", Libs[I] ? Variant(Libs[I]) : Variant::Null());
    for (bool Sorted : {false, true}) {
      if (Sorted) {
        T->Indexes()->Current()->ReloadAndSort();
        T->Refresh();
      }
      EXPECT_EQ(Column(T.get(), "lib"), (std::vector<String>{"<null>", "<null>", "a", "ab", "abc", "b"})) << Sorted;
      EXPECT_TRUE(T->Indexes()->Current()->CheckOrder());
    }
    // A value made null moves to the nulls.
    ASSERT_TRUE(T->Locate("num", Variant(0), {}));
    T->Edit();
    T->FieldByName("lib")->Clear();
    T->Post();
    EXPECT_EQ(Column(T.get(), "num"), (std::vector<String>{"0", "1", "4", "3", "2", "5"}));
    EXPECT_TRUE(T->Indexes()->Current()->CheckOrder());
  }
}

TEST(MemTableIndex, UniqueIndexRefusesADuplicatePostAndLeavesTheStoreAlone) {
  auto T = DetailTable();
  T->AddIndex("byCode", "code", qisDefault, {ixUnique});
  AppendRow(T.get(), 1, "A", "one");
  T->Append();
  T->FieldByName("code")->SetAsString("A");
  try {
    T->Post();
    FAIL();
  } catch (const EMemTableDupKey& E) {
    EXPECT_EQ(E.Message, "Duplicate index value. Operation aborted.");
  }
  EXPECT_EQ(T->State(), dsInsert);
  T->Cancel();
  EXPECT_EQ(T->RecordCount(), 1);
  EXPECT_EQ(T->Store()->RecordCount(), 1);
}

TEST(MemTableIndex, IndexesLeftUnmaintainedAroundADeleteLetGoOfTheRecord) {
  // Each way of leaving indexes unmaintained while a record is deleted; the table holds a unique
  // index on code and its current index is on lib, and an attached table has the same.
  struct Case {
    const char* Name;
    void (*Leave)(TqmtMemTable& Main, TqmtMemTable& Attached, bool Unmaintained);
  } Cases[] = {
      {"table indexes off", [](TqmtMemTable& M, TqmtMemTable&, bool Off) { M.EnableIndexes = !Off; }},
      {"unique index disabled",
       [](TqmtMemTable& M, TqmtMemTable&, bool Off) { M.Indexes()->Find("byCode")->Enabled = !Off; }},
      {"current index disabled",
       [](TqmtMemTable& M, TqmtMemTable&, bool Off) { M.Indexes()->Current()->Enabled = !Off; }},
      {"attached table's indexes off", [](TqmtMemTable&, TqmtMemTable& A, bool Off) { A.EnableIndexes = !Off; }},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TComponent Owner(nullptr);
    auto* Main = new TqmtMemTable(&Owner);
    Main->SetName("Main");
    Main->FieldDefs()->Add("num", ftInteger);
    Main->FieldDefs()->Add("code", ftString, 10);
    Main->FieldDefs()->Add("lib", ftString, 40);
    auto* Attached = new TqmtMemTable(&Owner);
    Attached->SetName("Attached");
    Attached->SetAttachedTo(Main);
    Attached->Open();
    for (TqmtMemTable* T : {Main, Attached}) {
      T->AddIndex("byCode", "code", qisDefault, {ixUnique});
      T->AddIndex("byLib", "lib");
      T->SetIndexName("byLib");
    }
    AppendRow(Main, 1, "A", "c");
    AppendRow(Main, 2, "B", "b");
    AppendRow(Main, 3, "C", "a");
    Attached->Refresh();

    C.Leave(*Main, *Attached, true);
    ASSERT_TRUE(Main->Locate("code", Variant("B"), {}));
    Main->Delete();
    EXPECT_TRUE(Main->Indexes()->CheckEntriesStored());
    EXPECT_TRUE(Attached->Indexes()->CheckEntriesStored());
    C.Leave(*Main, *Attached, false);

    // The unique check searches the unique index; the next delete searches the row order.
    AppendRow(Main, 4, "D", "d");
    ASSERT_TRUE(Main->Locate("code", Variant("C"), {}));
    Main->Delete();
    EXPECT_TRUE(Main->Indexes()->CheckEntriesStored());
    EXPECT_TRUE(Attached->Indexes()->CheckEntriesStored());
    EXPECT_EQ(Column(Main, "code"), (std::vector<String>{"A", "D"}));
    Attached->Refresh();
    EXPECT_EQ(Column(Attached, "code"), (std::vector<String>{"A", "D"}));
  }
}

TEST(MemTableIndex, LocateOnALargeTableAddsACaseInsensitiveIndex) {
  auto T = DetailTable();
  T->AutoAddIndexes = true;
  for (int I = 0; I < 25; ++I) AppendRow(T.get(), I, "c", ("Name" + std::to_string(I)).c_str());
  EXPECT_TRUE(T->Locate("lib", Variant("Name17"), {}));
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 17);
  EXPECT_NE(T->Indexes()->Find("__MT__AUTO_lib"), nullptr);
  EXPECT_FALSE(T->Locate("lib", Variant("name17"), {}));  // the index folds case, the search does not
  EXPECT_TRUE(T->Locate("lib", Variant("name17"), {loCaseInsensitive}));
  EXPECT_TRUE(T->Locate("lib", Variant("name2"), {loCaseInsensitive, loPartialKey}));
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 2);
  EXPECT_TRUE(VarIsNull(T->Lookup("lib", Variant("none"), "num")));
  EXPECT_EQ(T->Lookup("lib;code", VarArrayOf({Variant("Name5"), Variant("c")}), "num").AsInteger(), 5);
}

// --- Filtering ---------------------------------------------------------------------------------------------

struct FilterLog : TObject {
  std::vector<int> Seen;
  bool RejectOdd = false;
  void OnFilter(TDataSet* D, bool& Accept) {
    int N = D->FieldByName("num")->AsInteger();
    Seen.push_back(N);
    if (RejectOdd && N % 2) Accept = false;
  }
};

TEST(MemTableFilter, FindNextAppliesTheFilterEvenWhenNotFiltered) {
  auto T = DetailTable();
  for (int I = 0; I < 6; ++I) AppendRow(T.get(), I, I < 3 ? "x" : "y", "l");
  T->SetFilter("code = 'y'");
  EXPECT_FALSE(T->NeedsFiltering());
  EXPECT_TRUE(T->FindFirst());
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 3);
  EXPECT_TRUE(T->FindNext());
  EXPECT_EQ(T->FieldByName("num")->AsInteger(), 4);
  EXPECT_EQ(T->RecordCount(), 6);
}

TEST(MemTableFilter, OnFilterRecordRunsBeforeTheExpression) {
  auto T = DetailTable();
  for (int I = 0; I < 4; ++I) AppendRow(T.get(), I, "x", "l");
  FilterLog Log;
  Log.RejectOdd = true;
  T->SetOnFilterRecord(TFilterRecordEvent(&Log, &FilterLog::OnFilter));
  T->SetFilter("num <> 2");
  T->SetFiltered(true);
  EXPECT_EQ(Column(T.get(), "num"), (std::vector<String>{"0"}));
  T->SetFilter("");
  T->SetOnFilterRecord(TFilterRecordEvent());
  T->SetFiltered(true);
  EXPECT_FALSE(T->NeedsFiltering());  // Filtered with nothing to filter on
  EXPECT_EQ(T->RecordCount(), 4);
}

// --- Editing and versions ------------------------------------------------------------------------------------

TEST(MemTableEdit, WritingInBrowseStateAndReadOnlyFieldsAreRefused) {
  auto T = DetailTable();
  AppendRow(T.get(), 1, "c", "l");
  EXPECT_THROW(T->FieldByName("lib")->SetAsString("x"), EDatabaseError);
  T->FieldByName("lib")->SetReadOnly(true);
  T->Edit();
  EXPECT_THROW(T->FieldByName("lib")->SetAsString("x"), EDatabaseError);
  T->Cancel();
  EXPECT_EQ(T->FieldByName("lib")->AsString(), "l");
}

TEST(MemTableEdit, AutoIncrementDrawsAboveTheHighestValue) {
  TqmtMemTable T(nullptr);
  T.FieldDefs()->Add("id", ftAutoInc);
  T.FieldDefs()->Add("lib", ftString, 10);
  T.Open();
  T.AppendRecord({Variant(), Variant("a")});
  EXPECT_EQ(T.FieldByName("id")->AsInteger(), 1);
  T.Append();
  T.FieldByName("id")->SetAsInteger(40);
  T.Post();
  T.AppendRecord({Variant(), Variant("c")});
  EXPECT_EQ(T.FieldByName("id")->AsInteger(), 41);
}

TEST(MemTableVersions, DeleteKeepsOrFreesTheRecord) {
  for (bool Versioning : {false, true}) {
    auto T = DetailTable();
    T->SetEnableVersioning(Versioning);
    AppendRow(T.get(), 1, "a", "l");
    AppendRow(T.get(), 2, "b", "l");
    T->First();
    int Slot = T->Store()->Slot(0)->SlotId;
    T->Delete();
    EXPECT_EQ(T->RecordCount(), 1) << Versioning;
    EXPECT_EQ(T->Store()->Slot(Slot) != nullptr, Versioning);
    if (Versioning) {
      EXPECT_EQ(T->Store()->Slot(Slot)->Status, qrsDeleted);
    }
    AppendRow(T.get(), 3, "c", "l");
    EXPECT_EQ(T->Store()->RecordCount(), Versioning ? 3 : 2);
  }
}

TEST(MemTableVersions, TransactionsThroughTheTable) {
  auto T = DetailTable();
  AppendRow(T.get(), 1, "a", "before");
  EXPECT_THROW(T->StartTransaction(), EMemTableError);  // needs multiversion versioning
  T->SetEnableVersioning(true);
  T->SetVersioningMode(mtvmAllSinceCheckPoint);
  T->StartTransaction();
  T->First();
  T->Edit();
  T->FieldByName("lib")->SetAsString("first");
  T->Post();
  T->StartTransaction();
  T->Edit();
  T->FieldByName("lib")->SetAsString("second");
  T->Post();
  AppendRow(T.get(), 2, "b", "inner");
  T->Commit();
  EXPECT_EQ(T->RecordCount(), 2);
  T->Rollback();
  EXPECT_EQ(T->RecordCount(), 1);
  T->First();
  EXPECT_EQ(T->FieldByName("lib")->AsString(), "before");
  T->Rollback();  // no transaction: nothing
  EXPECT_EQ(T->RecordCount(), 1);
}

struct DeltaLog : TqmtCustomDeltaHandler {
  using TqmtCustomDeltaHandler::TqmtCustomDeltaHandler;
  std::vector<int> States;
  void HandleInserted(bool&, int& S) override { States.push_back(S); }
  void HandleDeleted(bool&, int& S) override { States.push_back(S); }
  void HandleModified(bool&, int& S) override { States.push_back(S); }
  void HandleUnchanged(bool&, int& S) override { States.push_back(S); }
};

TEST(MemTableVersions, DeltaWalkReportsEachRecordsChange) {
  auto T = DetailTable();
  AppendRow(T.get(), 1, "kept", "l");
  AppendRow(T.get(), 2, "edited", "l");
  AppendRow(T.get(), 3, "deleted", "l");
  T->SetEnableVersioning(true);
  T->SetVersioningMode(mtvmAllSinceCheckPoint);
  T->Locate("code", Variant("edited"), {});
  T->Edit();
  T->FieldByName("lib")->SetAsString("x");
  T->Post();
  T->Locate("code", Variant("deleted"), {});
  T->Delete();
  AppendRow(T.get(), 4, "inserted", "l");
  AppendRow(T.get(), 5, "gone", "l");
  T->Locate("code", Variant("gone"), {});
  T->Delete();
  DeltaLog D(nullptr);
  EXPECT_THROW(D.WalkChanges(), EMemTableError);
  T->SetDeltaHandler(&D);
  D.WalkChanges();
  EXPECT_EQ(D.States, (std::vector<int>{0, 1, 3, 2, 0}));
  T->SetDeltaHandler(nullptr);
}

// --- Copying -----------------------------------------------------------------------------------------------

TEST(MemTableCopy, FillReplacesAppendsAndHonoursTheLoadLimit) {
  auto Source = DetailTable();
  for (int I = 0; I < 25; ++I) AppendRow(Source.get(), I, "c", "l");
  TqmtMemTable T(nullptr);
  T.FillFromDataSet(Source.get(), mtcpoStructure);
  EXPECT_EQ(T.RecordCount(), 25);
  T.FillFromDataSet(Source.get(), 0);
  EXPECT_EQ(T.RecordCount(), 25);
  T.FillFromDataSet(Source.get(), mtcpoAppend);
  EXPECT_EQ(T.RecordCount(), 50);
  EXPECT_THROW(T.FillFromDataSet(Source.get(), mtcpoAppend | mtcpoStructure), EMemTableError);
  T.LoadLimit = 10;
  T.FillFromDataSet(Source.get(), 0);
  EXPECT_EQ(T.RecordCount(), 10);
  EXPECT_FALSE(T.LoadedCompletely());
}

TEST(MemTableCopy, FailedFillLeavesTheTableBrowsingWithItsIndexes) {
  auto Source = DetailTable();
  AppendRow(Source.get(), 1, "a", "l");
  AppendRow(Source.get(), 2, Variant::Null(), "l");
  AppendRow(Source.get(), 3, "c", "l");
  Source->FieldByName("code")->SetRequired(true);
  TqmtMemTable T(nullptr);
  T.SetIndexFieldNames("num");
  // Required is copied: the null code fails to post and the error reaches the caller.
  EXPECT_THROW(T.FillFromDataSet(Source.get(), mtcpoStructure | mtcpoProperties), EDatabaseError);
  EXPECT_EQ(T.State(), dsBrowse);
  EXPECT_TRUE(T.EnableIndexes);
  EXPECT_EQ(T.RecordCount(), 1);
  EXPECT_TRUE(T.Indexes()->Current()->Ordered());
  AppendRow(&T, 0, "z", "l");
  EXPECT_EQ(Column(&T, "num"), (std::vector<String>{"0", "1"}));
  // With errors ignored the failing record is dropped and the others are copied.
  T.FillFromDataSet(Source.get(), mtcpoStructure | mtcpoProperties | mtcpoIgnoreErrors);
  EXPECT_EQ(T.State(), dsBrowse);
  EXPECT_EQ(T.RecordCount(), 2);
}

TEST(MemTableCopy, CopyIntoAnotherTableFollowsTheCurrentOrder) {
  auto T = DetailTable();
  for (int I = 0; I < 3; ++I) AppendRow(T.get(), I, "c", ("l" + std::to_string(2 - I)).c_str());
  T->SetIndexFieldNames("lib");
  auto D = DetailTable();
  T->CopyIntoDataSet(D.get(), 0);
  EXPECT_EQ(Column(D.get(), "num"), (std::vector<String>{"2", "1", "0"}));
}

// --- Attached tables -------------------------------------------------------------------------------------------

TEST(MemTableAttach, AttachedTableSharesTheRecords) {
  auto Owner = DetailTable();
  AppendRow(Owner.get(), 1, "a", "l");
  TqmtMemTable Other(nullptr);
  EXPECT_THROW(Other.SetAttachedTo(&Other), EMemTableError);
  Owner->Close();
  Other.SetAttachedTo(Owner.get());
  EXPECT_EQ(Owner->AttachMaxCount(), 2);
  Other.Open();
  EXPECT_TRUE(Owner->Active());
  EXPECT_EQ(Other.RecordCount(), 0);  // closing the owner emptied the store
  AppendRow(Owner.get(), 2, "b", "l");
  Other.Refresh();
  EXPECT_EQ(Other.RecordCount(), 1);
  AppendRow(&Other, 3, "c", "l");
  EXPECT_EQ(Owner->RecordCount(), 2);
  TqmtMemTable Third(nullptr);
  try {
    Third.SetAttachedTo(&Other);
    FAIL();
  } catch (const EMemTableError& E) {
    EXPECT_EQ(E.Message, "Cant attach to another table which itself is an attachment.");
  }
}

// --- Saving -------------------------------------------------------------------------------------------------

// A format writing one line per record: the fields joined by '|'.
struct LineFormat : TqmtCustomStreamFormat {
  using TqmtCustomStreamFormat::TqmtCustomStreamFormat;
  bool FailWriting = false;
  void MatchLoadField(TDataSet* D, const String& Name, bool, int& Index, int, int) override {
    if (TField* F = D->FindField(Name)) Index = F->Index();
  }
  // Each line becomes a record; its values go to the fields of the load map in order.
  void ReadRecords(TqmtCustomMemTable* T) override {
    String All(std::size_t(Stream()->Size() - Stream()->Position()), '\0');
    if (!All.empty()) Stream()->ReadBuffer(All.data(), std::int64_t(All.size()));
    std::size_t Start = 0;
    for (std::size_t End; (End = All.find('\n', Start)) != String::npos; Start = End + 1) {
      String Line = All.substr(Start, End - Start);
      T->Append();
      std::size_t P = 0;
      for (int Column : LoadMap) {
        std::size_t Bar = Line.find('|', P);
        String V = Line.substr(P, Bar == String::npos ? String::npos : Bar - P);
        P = Bar == String::npos ? Line.size() : Bar + 1;
        if (Column >= 0) T->Fields()->Fields(Column)->SetAsString(V);
      }
      T->Post();
    }
  }
  void WriteRecords(TqmtCustomMemTable* T) override {
    T->First();
    while (!T->Eof()) {
      String Line;
      for (int I = 0; I < T->FieldCount(); ++I)
        if (SaveMap[std::size_t(I)] >= 0) Line += (Line.empty() ? "" : "|") + T->Fields()->Fields(I)->AsString();
      Line += "\n";
      Stream()->WriteBuffer(Line.data(), std::int64_t(Line.size()));
      if (FailWriting) throw EWriteError("disk full");
      T->Next();
    }
  }
};

String ReadAll(const String& Path) {
  TFileStream F(Path, fmOpenRead);
  String S(std::size_t(F.Size()), '\0');
  if (!S.empty()) F.ReadBuffer(S.data(), std::int64_t(S.size()));
  return S;
}

TEST(MemTableSave, SaveReplacesAtomicallyAndAppendKeepsTheFile) {
  String Path = OsPort::TempFolder() + "qmt_save.txt";
  OsPort::DeleteFile(Path);
  auto T = DetailTable();
  AppendRow(T.get(), 1, "a", "x");
  AppendRow(T.get(), 2, "b", "y");
  T->SetFilter("num = 1");
  T->SetFiltered(true);
  LineFormat F(nullptr);
  T->SaveToFile(Path, &F);
  EXPECT_EQ(ReadAll(Path), "1|a|x\n2|b|y\n");  // all records, filter or not
  EXPECT_TRUE(T->Filtered());
  EXPECT_EQ(T->RecordCount(), 1);
  F.AppendOption = 1;
  T->SaveToFile(Path, &F);
  EXPECT_EQ(ReadAll(Path), "1|a|x\n2|b|y\n1|a|x\n2|b|y\n");
  F.AppendOption = 0;
  F.FailWriting = true;
  EXPECT_THROW(T->SaveToFile(Path, &F), EWriteError);
  EXPECT_EQ(ReadAll(Path), "1|a|x\n2|b|y\n1|a|x\n2|b|y\n");  // the old file is whole
  EXPECT_FALSE(OsPort::FileExists(ChangeFileExt(Path, ".$$$")));
  EXPECT_THROW(T->SaveToFile(Path, nullptr), EMemTableError);
  OsPort::DeleteFile(Path);
}

TEST(MemTableSave, PersistentTableSavesOnceWhenClosed) {
  String Path = OsPort::TempFolder() + "qmt_persist.txt";
  OsPort::DeleteFile(Path);
  LineFormat F(nullptr);
  int Saves = 0;
  struct Counter : TObject {
    int* N = nullptr;
    void Count(TObject*) { ++*N; }
  } C;
  C.N = &Saves;
  F.BeforeSave = TNotifyEvent(&C, &Counter::Count);
  auto T = DetailTable();
  T->PersistentFile = Path;
  T->PersistentFormat = &F;
  T->Persistent = true;
  AppendRow(T.get(), 7, "p", "q");
  T->Close();
  T->Close();
  EXPECT_EQ(Saves, 1);
  EXPECT_EQ(ReadAll(Path), "7|p|q\n");
  OsPort::DeleteFile(Path);
}

TEST(MemTableSave, FormDataTravelsWithTheFormDescription) {
  LineFormat F(nullptr);
  auto T = DetailTable();
  T->SetName("Table1");
  T->StoreDataOnForm = true;
  T->FormFormat = &F;
  AppendRow(T.get(), 1, "a", "x");
  AppendRow(T.get(), 2, "b", "y");
  String Text = WriteComponentToText(T.get());
  EXPECT_NE(Text.find("Data = {"), String::npos) << Text;
  TqmtMemTable Copy(nullptr);
  Copy.FieldDefs()->Add("num", ftInteger);
  Copy.FieldDefs()->Add("code", ftString, 10);
  Copy.FieldDefs()->Add("lib", ftString, 40);
  Copy.FormFormat = &F;
  ReadComponentFromText(&Copy, Text, "t.dfm");
  ASSERT_TRUE(Copy.Active());
  EXPECT_EQ(Column(&Copy, "lib"), (std::vector<String>{"x", "y"}));
  // Loading keeps indexes and auto-increment switched on again afterwards.
  EXPECT_TRUE(Copy.EnableIndexes);
}

TEST(MemTableCopy, SyncUpdatesFoundRecordsAndAppendsTheOthers) {
  auto T = DetailTable();
  AppendRow(T.get(), 1, "a", "new one");
  AppendRow(T.get(), 3, "c", "three");
  struct Case {
    unsigned Options;
    std::vector<String> Libs;
  } Cases[] = {
      {1, {"new one", "two"}},
      {2, {"one", "two", "three"}},
      {3, {"new one", "two", "three"}},
  };
  for (const Case& C : Cases) {
    auto D = DetailTable();
    AppendRow(D.get(), 1, "a", "one");
    AppendRow(D.get(), 2, "b", "two");
    T->SyncIntoDataSet(D.get(), "num", C.Options);
    EXPECT_EQ(Column(D.get(), "lib"), C.Libs) << C.Options;
  }
}

}  // namespace
