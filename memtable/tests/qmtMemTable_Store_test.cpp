// This file tests the record store of the in-memory table: layout, slots, value buffers,
// bookmarks, locale, attachment, versions and transactions.
#include <gtest/gtest.h>

#include "StoreFixture.h"

namespace {

struct StoreTest : StoreFixture, ::testing::Test {
  void SetUp() override { Layout({{"num", ftInteger, 0}, {"lib", ftString, 40}, {"memo", ftMemo, 0}}); }
};

TEST_F(StoreTest, DeletedSlotIsReusedLastFreedFirstWithANewUniqueId) {
  TqmtRow* A = Add();
  TqmtRow* B = Add();
  TqmtRow* C = Add();
  EXPECT_EQ(A->SlotId, 0);
  EXPECT_EQ(C->SlotId, 2);
  int Unique = C->UniqueId;
  Store.RemoveAndFree(A);
  Store.RemoveAndFree(B);
  TqmtRow* D = Add();
  EXPECT_EQ(D->SlotId, 1);  // B's slot, freed last
  EXPECT_GT(D->UniqueId, Unique);
  TqmtRow* E = Add();
  EXPECT_EQ(E->SlotId, 0);
  EXPECT_EQ(Store.RecordCount(), 3);
  EXPECT_TRUE(Store.CheckSlots());
}

TEST_F(StoreTest, ExhaustedUniqueIdCounterRefusesTheRecordBeforeStoringIt) {
  Add();
  Store.SetUniqueIdCounter(2147483600);
  TqmtRow* R = Store.NewRecord();
  try {
    Store.AddRecord(R);
    FAIL() << "no error";
  } catch (const EMemTableFatalError& E) {
    EXPECT_EQ(E.Message, "Bookmark counter is out of range. Please close and reopen table.");
  }
  EXPECT_EQ(Store.RecordCount(), 1);
  EXPECT_EQ(R->SlotId, -1);
  EXPECT_EQ(Store.Slot(1), nullptr);
  Store.FreeRecord(R, true, false);
}

TEST_F(StoreTest, VersioningMarksNewRecordsInserted) {
  EXPECT_EQ(Add()->Status, qrsUnmodified);
  Store.SetEnableVersioning(true);
  EXPECT_EQ(Add()->Status, qrsInserted);
}

TEST(StoreLayout, RefusesNoColumnsUnsupportedTypesAndMoreThanTheTablesHold) {
  StoreFixture F;
  try {
    F.Layout({});
    FAIL();
  } catch (const EMemTableError& E) {
    EXPECT_EQ(E.Message, "There must be at least one field");
  }
  try {
    F.Layout({{"a", ftInteger, 0}, {"v", ftVariant, 0}});
    FAIL();
  } catch (const EMemTableError& E) {
    EXPECT_EQ(E.Message, "Fielddef v (v) Datatype 32 not supported.");
  }
  std::vector<TqmtColumnDef> Many;
  for (int I = 0; I < QMT_MAX_FIELDS; ++I) Many.push_back({"f" + std::to_string(I), ftInteger, 0});
  EXPECT_NO_THROW(F.Layout(Many));
  EXPECT_EQ(F.Store.FieldCount(), QMT_MAX_FIELDS);
  Many.push_back({"one_more", ftInteger, 0});
  EXPECT_THROW(F.Layout(Many), EMemTableError);
}

TEST(StoreLayout, SmallPerformanceKeepsLongTextsInCompressedBuffers) {
  StoreFixture Fast, Small;
  Fast.Layout({{"id", ftInteger, 0}, {"lib", ftString, 40}}, mtpfFast);
  Small.Layout({{"id", ftInteger, 0}, {"lib", ftString, 40}}, mtpfSmall);
  EXPECT_FALSE(Fast.Store.IsVarLength(2));
  // Null flag and value of the integer, then the text's null flag and 41 bytes.
  EXPECT_EQ(Fast.Store.FieldOffset(2), 5);
  EXPECT_EQ(Fast.Store.CalcStart(), 5 + 1 + 41);
  EXPECT_TRUE(Small.Store.IsVarLength(2));
  EXPECT_TRUE(Small.Store.FieldFlags(2) & qffCompressed);
  TqmtRow* R = Small.Add();
  Small.SetStr(R, 2, "abc");
  const char* Data;
  std::uint32_t Len;
  ASSERT_TRUE(Small.Store.GetVarValue(R, 2, Data, Len));
  EXPECT_EQ(Len, 4u);
  EXPECT_EQ(Small.GetStr(R, 2), "abc");
}

// A cursor buffer that never wrote a variable-length field reads the stored value through its
// slot, and only while that slot still holds the same record.
TEST_F(StoreTest, BufferReadsStoredBlobThroughItsSlotOnlyWhileTheRecordLives) {
  TqmtRow* R = Add();
  Store.SetVarValue(R, 3, "picture", 7);
  TqmtRow* Buf = Store.NewRecord();
  Store.CopyRecord(R, Buf);
  EXPECT_FALSE(Store.OwnsVarBuffer(Buf, 3));
  EXPECT_EQ(GetStr(Buf, 3), "picture");
  Store.SetVarValue(Buf, 3, "edited", 6);
  EXPECT_EQ(GetStr(Buf, 3), "edited");
  EXPECT_EQ(GetStr(R, 3), "picture");
  Store.ReleaseBuffers(Buf);

  Store.CopyRecord(R, Buf);
  Store.RemoveAndFree(R);
  String B;
  EXPECT_THROW(Store.ReadVarValue(Buf, 3, B), EMemTableInvalidRecord);
  TqmtRow* Other = Add();  // takes the freed slot
  Store.SetVarValue(Other, 3, "other record", 12);
  ASSERT_EQ(Other->SlotId, Buf->SlotId);
  EXPECT_THROW(Store.ReadVarValue(Buf, 3, B), EMemTableInvalidRecord);
  Store.FreeRecord(Buf, true, false);
}

TEST_F(StoreTest, MoveIntoHandsOverTheBuffersValuesAndClearsNulledOnes) {
  TqmtRow* R = Add();
  SetStr(R, 2, "old");
  Store.SetVarValue(R, 3, "blob", 4);
  TqmtRow* Buf = Store.DuplicateRecord(R, false);
  Buf->Flags = 0;
  SetStr(Buf, 2, "new");
  Store.SetVarValue(Buf, 3, nullptr, 0);
  Store.MoveInto(Buf, R);
  EXPECT_EQ(GetStr(R, 2), "new");
  EXPECT_EQ(GetStr(R, 3), "<null>");
  EXPECT_FALSE(Store.OwnsVarBuffer(R, 3));
  Store.FreeRecord(Buf, true, false);
}

TEST_F(StoreTest, BookmarksResolveOnlyToTheRecordTheyWereTakenOn) {
  TqmtRow* A = Add();
  TqmtRow* B = Add();
  TqmtBookmark BA = Store.MakeBookmark(A);
  TqmtBookmark BB = Store.MakeBookmark(B);
  EXPECT_EQ(Store.ResolveBookmark(BA), A);
  Store.RemoveAndFree(A);
  EXPECT_EQ(Store.ResolveBookmark(BA), nullptr);
  TqmtRow* C = Add();  // same slot, maybe the same address
  ASSERT_EQ(C->SlotId, BA.SlotId);
  EXPECT_EQ(Store.ResolveBookmark(BA), nullptr);
  EXPECT_EQ(Store.ResolveBookmark(BB), B);

  StoreFixture Other;
  Other.Layout(Columns);
  TqmtRow* O = Other.Add();
  Other.Add();
  EXPECT_EQ(Other.Store.ResolveBookmark(BB), nullptr);  // another store's generation
  (void)O;

  Store.Empty();
  TqmtRow* D = Add();
  Add();
  EXPECT_EQ(Store.ResolveBookmark(BB), nullptr);
  EXPECT_EQ(Store.ResolveBookmark(Store.MakeBookmark(D)), D);
}

TEST(StoreLocale, PartsAndIdentifierAgree) {
  TqmtCommon S(nullptr);
  EXPECT_EQ(S.LocaleID(), 1024u);
  EXPECT_EQ(S.LanguageID(), 0u);
  EXPECT_EQ(S.SubLanguageID(), 1);
  EXPECT_EQ(S.SortID(), 0);
  S.SetSortID(1);
  EXPECT_EQ(S.LocaleID(), 1024u + 65536u);
  struct Case {
    unsigned Locale;
    unsigned Lang;
    int Sub;
    int Sort;
  } Cases[] = {{0x040C, 0x0C, 1, 0}, {0x080C, 0x0C, 2, 0}, {0x0001040C, 0x0C, 1, 1}};
  for (const Case& C : Cases) {
    S.SetLocaleID(C.Locale);
    EXPECT_EQ(S.LanguageID(), C.Lang) << C.Locale;
    EXPECT_EQ(S.SubLanguageID(), C.Sub) << C.Locale;
    EXPECT_EQ(S.SortID(), C.Sort) << C.Locale;
    S.SetLanguageID(S.LanguageID());
    EXPECT_EQ(S.LocaleID(), C.Locale);
  }
}

TEST(StoreAttach, GrowsWhileClosedAndRefusesWhileOpen) {
  // Tables stand for themselves by address only here.
  auto* Owner = reinterpret_cast<TqmtCustomMemTable*>(0x08);
  auto* T1 = reinterpret_cast<TqmtCustomMemTable*>(0x10);
  auto* T2 = reinterpret_cast<TqmtCustomMemTable*>(0x20);
  TqmtCommon S(Owner);
  bool Active = false;
  S.AnyTableActive = [&] { return Active; };
  S.Attach(T1);
  EXPECT_EQ(S.AttachMaxCount(), 2);
  S.Detach(T1);
  S.Attach(T2);  // takes the free entry
  EXPECT_EQ(S.AttachMaxCount(), 2);
  Active = true;
  try {
    S.Attach(T1);
    FAIL();
  } catch (const EMemTableError& E) {
    EXPECT_EQ(E.Message, "Table must be closed for this operation.");
  }
  EXPECT_THROW(S.SetAttachMaxCount(5), EMemTableError);
  EXPECT_THROW(S.SetAttachMaxCount(0), ERangeError);
  EXPECT_THROW(S.SetStandalone(true), EMemTableError);
}

// --- Versions and transactions -------------------------------------------------------------------

struct VersionTest : StoreTest {
  void SetUp() override {
    StoreTest::SetUp();
    Store.SetEnableVersioning(true);
    Store.SetVersioningMode(mtvmAllSinceCheckPoint);
  }
  // What a post of an edit does to the store record.
  void Edit(TqmtRow* R, const char* Value) {
    Store.KeepVersion(R, false);
    SetStr(R, 2, Value);
    R->Status = qrsModified;
    R->TxLevel = Store.TransactionLevel();
  }
  TqmtRow* Insert(const char* Value) {
    TqmtRow* R = Store.NewRecord();
    SetStr(R, 2, Value);
    Store.AddRecord(R);
    R->TxLevel = Store.TransactionLevel();
    return R;
  }
  void Delete(TqmtRow* R) {
    Store.KeepVersion(R, true);
    R->Status = qrsDeleted;
    R->TxLevel = Store.TransactionLevel();
    Store.IncDeletedCount();
  }
  int Versions(const TqmtRow* R) {
    int N = 0;
    for (R = R->PriorVersion; R; R = R->PriorVersion) ++N;
    return N;
  }
};

TEST_F(VersionTest, ModeDecidesHowManyOlderVersionsAreKept) {
  TqmtRow* R = Insert("a");
  R->Status = qrsUnmodified;
  Store.SetVersioningMode(mtvm1SinceCheckPoint);
  Edit(R, "b");
  Edit(R, "c");
  EXPECT_EQ(Versions(R), 1);
  EXPECT_EQ(GetStr(TqmtCommon::FirstVersion(R), 2), "a");
  Store.SetVersioningMode(mtvmAllSinceCheckPoint);
  Edit(R, "d");
  EXPECT_EQ(Versions(R), 2);
}

TEST_F(VersionTest, RollbackOfOneLevelRestoresEveryRecord) {
  TqmtRow* Kept = Insert("kept");
  TqmtRow* Edited = Insert("before");
  TqmtRow* Gone = Insert("deleted");
  for (TqmtRow* R : {Kept, Edited, Gone}) R->Status = qrsUnmodified;
  int EditedSlot = Edited->SlotId, GoneSlot = Gone->SlotId;
  Store.RaiseTransactionLevel();
  Edit(Edited, "first");
  Edit(Edited, "second");
  Delete(Gone);
  TqmtRow* New = Insert("new");
  int NewSlot = New->SlotId;
  Store.RollbackVersions();
  Store.LowerTransactionLevel();
  // The edited and deleted records are replaced by their older versions in the same slots.
  EXPECT_EQ(GetStr(Store.Slot(EditedSlot), 2), "before");
  EXPECT_EQ(Store.Slot(EditedSlot)->Status, qrsUnmodified);
  EXPECT_EQ(GetStr(Store.Slot(GoneSlot), 2), "deleted");
  EXPECT_EQ(Store.Slot(GoneSlot)->Status, qrsUnmodified);
  EXPECT_EQ(GetStr(Kept, 2), "kept");
  EXPECT_EQ(Store.Slot(NewSlot), nullptr);
  EXPECT_EQ(Store.DeletedCount(), 0);
  EXPECT_EQ(Insert("next")->SlotId, NewSlot);  // the rolled-back insert's slot is reused
  EXPECT_TRUE(Store.CheckSlots());
}

// Nested levels: committing the inner level must leave the outer level able to roll back to
// the state before it began.
TEST_F(VersionTest, NestedCommitKeepsTheOuterLevelsVersions) {
  struct Case {
    const char* Name;
    bool InnerCommit;
    bool OuterCommit;
    const char* Expected;
  } Cases[] = {
      {"inner commit, outer rollback", true, false, "v0"},
      {"inner rollback, outer commit", false, true, "v1"},
      {"inner commit, outer commit", true, true, "v2"},
      {"inner rollback, outer rollback", false, false, "v0"},
  };
  for (const Case& C : Cases) {
    Store.Empty();
    TqmtRow* R = Insert("v0");
    R->Status = qrsUnmodified;
    int Slot = R->SlotId;
    Store.RaiseTransactionLevel();
    Edit(R, "v1");
    Store.RaiseTransactionLevel();
    Edit(Store.Slot(Slot), "v2");
    TqmtRow* Inner = Insert("inner");
    int InnerSlot = Inner->SlotId;
    if (C.InnerCommit) Store.CommitVersions(); else Store.RollbackVersions();
    Store.LowerTransactionLevel();
    EXPECT_EQ(Store.Slot(InnerSlot) != nullptr, C.InnerCommit) << C.Name;
    if (C.OuterCommit) Store.CommitVersions(); else Store.RollbackVersions();
    Store.LowerTransactionLevel();
    ASSERT_NE(Store.Slot(Slot), nullptr) << C.Name;
    EXPECT_EQ(GetStr(Store.Slot(Slot), 2), C.Expected) << C.Name;
    EXPECT_EQ(Store.Slot(InnerSlot) != nullptr, C.InnerCommit && C.OuterCommit) << C.Name;
    EXPECT_EQ(Store.TransactionLevel(), 0);
    EXPECT_TRUE(Store.CheckSlots()) << C.Name;
  }
}

TEST_F(VersionTest, CommitDropsTheCommittedLevelsVersionsOnly) {
  TqmtRow* R = Insert("v0");
  R->Status = qrsUnmodified;
  Store.RaiseTransactionLevel();
  Edit(R, "v1");
  Edit(R, "v2");
  EXPECT_EQ(Versions(R), 2);
  Store.CommitVersions();
  Store.LowerTransactionLevel();
  EXPECT_EQ(R->TxLevel, 0);
  EXPECT_EQ(Versions(R), 1);  // the state from before the transaction
  EXPECT_EQ(GetStr(R->PriorVersion, 2), "v0");
  EXPECT_EQ(GetStr(R, 2), "v2");
}

TEST_F(VersionTest, RollbackWithoutTransactionChangesNothing) {
  TqmtRow* R = Insert("a");
  Edit(R, "b");
  Store.RollbackVersions();
  EXPECT_EQ(GetStr(Store.Slot(R->SlotId), 2), "b");
}

}  // namespace
