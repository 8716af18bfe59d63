// This file tests key comparison, index sorting, searching and maintenance of the in-memory table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "StoreFixture.h"
#include "TextOrder.h"

namespace {

int CompareInts(int A, int B, TFieldType Type, std::uint8_t Options) {
  bool Full;
  return CompareFieldValues(&A, 4, &B, 4, Type, 1024, Options, Full);
}

int CompareStrs(const char* A, const char* B, std::uint8_t Options, bool* FullOut = nullptr) {
  bool Full;
  int R = CompareFieldValues(A, std::uint32_t(std::strlen(A) + 1), B, std::uint32_t(std::strlen(B) + 1), ftString,
                             1024, Options, Full);
  if (FullOut) *FullOut = Full;
  return R < 0 ? -1 : (R > 0 ? 1 : 0);
}

TEST(CompareFieldValues, TextFollowsTheTextOrderAndTheOptions) {
  struct Case {
    const char* A;
    const char* B;
    std::uint8_t Options;
    int Expected;
  } Cases[] = {
      {"école", "fleuve", 0, -1},             // accents do not count first
      {"Abc", "abc", mtcoCaseInsensitive, 0},
      {"Abc", "abc", 0, 1},                    // case-sensitive: lower case first
      {"AB", "ABC", 0, -1},
      {"AB", "ABC", mtcoPartialKey, 0},        // a key that starts the value
      {"ABC", "AB", mtcoPartialKey, 1},        // but not the other way round
      {"AB", "abc", mtcoPartialKey | mtcoCaseInsensitive, 0},
      {"école", "fleuve", mtcoIgnoreLocale, 1},  // bytes: é (0xE9) after f
      {"abc", "ABC", mtcoIgnoreLocale | mtcoCaseInsensitive, 0},
      {"abc", "ABC", mtcoIgnoreLocale, 1},
      {"a", "b", mtcoDescending, 1},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(CompareStrs(Utf8ToAnsi(C.A).c_str(), Utf8ToAnsi(C.B).c_str(), C.Options), C.Expected)
        << C.A << " / " << C.B << " options " << int(C.Options);
  bool Full = true;
  CompareStrs("AB", "ABC", mtcoPartialKey, &Full);
  EXPECT_FALSE(Full);
}

TEST(CompareFieldValues, NumbersByTypeAndUnknownTypesEqual) {
  EXPECT_LT(CompareInts(-5, 3, ftInteger, 0), 0);
  EXPECT_GT(CompareInts(-5, 3, ftInteger, mtcoDescending), 0);
  // The low 16 bits as unsigned: 0xFFFF is above 1 as a word, below as a small integer.
  EXPECT_GT(CompareInts(0xFFFF, 1, ftWord, 0), 0);
  EXPECT_LT(CompareInts(0xFFFF, 1, ftSmallint, 0), 0);
  EXPECT_EQ(CompareInts(1, 2, ftBlob, 0), 0);
  short T = -1, F = 0, T2 = 5;
  bool Full;
  EXPECT_GT(CompareFieldValues(&T, 2, &F, 2, ftBoolean, 1024, 0, Full), 0);
  EXPECT_EQ(CompareFieldValues(&T, 2, &T2, 2, ftBoolean, 1024, 0, Full), 0);
  long long Big = 1LL << 40, Small = -(1LL << 40);
  EXPECT_GT(CompareFieldValues(&Big, 8, &Small, 8, ftLargeint, 1024, 0, Full), 0);
  double D1 = 1.5, D2 = 2.5;
  EXPECT_LT(CompareFieldValues(&D1, 8, &D2, 8, ftDateTime, 1024, 0, Full), 0);
}

struct IndexTest : StoreFixture, ::testing::Test {
  void SetUp() override { Layout({{"num", ftInteger, 0}, {"lib", ftString, 20}}); }
  TqmtRow* AddRow(const int* Num, const char* Lib) {
    TqmtRow* R = Add();
    SetInt(R, 1, Num);
    SetStr(R, 2, Lib);
    return R;
  }
  TqmtRow* AddRow(int Num, const char* Lib) { return AddRow(&Num, Lib); }
  TqmtRow* Key(const int* Num, const char* Lib) {
    TqmtRow* K = Store.NewRecord();
    SetInt(K, 1, Num);
    SetStr(K, 2, Lib);
    Keys.push_back(K);
    return K;
  }
  void TearDown() override {
    for (TqmtRow* K : Keys) Store.FreeRecord(K, true, false);
  }
  std::vector<String> Libs(TqmtIndex& I) {
    std::vector<String> R;
    for (int P = 0; P < I.Count(); ++P) R.push_back(GetStr(I.Entry(P), 2));
    return R;
  }
  std::vector<TqmtRow*> Keys;
};

TEST_F(IndexTest, NullsSortFirstAscendingAndLastDescending) {
  AddRow(2, "b");
  AddRow(nullptr, "null");
  AddRow(1, "a");
  TqmtIndex Asc("asc", this, List({{1, 0}}), "num", 0, 1, false);
  Asc.ReloadAndSort();
  EXPECT_EQ(Libs(Asc), (std::vector<String>{"null", "a", "b"}));
  TqmtIndex Desc("desc", this, List({{1, mtcoDescending}}), "num", 0, 1, false);
  Desc.ReloadAndSort();
  EXPECT_EQ(Libs(Desc), (std::vector<String>{"b", "a", "null"}));
}

TEST_F(IndexTest, EqualKeysKeepSlotOrderAndTheSortMatchesAStableSort) {
  std::mt19937 Rng(7);
  std::vector<std::pair<int, int>> Expected;  // (key, slot)
  for (int I = 0; I < 2000; ++I) {
    int K = int(Rng() % 50);
    TqmtRow* R = AddRow(K, "x");
    Expected.emplace_back(K, R->SlotId);
  }
  TqmtIndex I("k", this, List({{1, 0}}), "num", 0, 1, false);
  I.ReloadAndSort();
  std::stable_sort(Expected.begin(), Expected.end(),
                   [](const auto& A, const auto& B) { return A.first < B.first; });
  ASSERT_EQ(I.Count(), int(Expected.size()));
  for (int P = 0; P < I.Count(); ++P) {
    ASSERT_EQ(GetInt(I.Entry(P), 1), Expected[std::size_t(P)].first) << P;
    ASSERT_EQ(I.Entry(P)->SlotId, Expected[std::size_t(P)].second) << P;
  }
  // Equal keys in descending order keep their slot order too.
  TqmtIndex D("d", this, List({{1, mtcoDescending}}), "num", 0, 1, false);
  D.ReloadAndSort();
  for (int P = 1; P < D.Count(); ++P) {
    ASSERT_GE(GetInt(D.Entry(P - 1), 1), GetInt(D.Entry(P), 1));
    if (GetInt(D.Entry(P - 1), 1) == GetInt(D.Entry(P), 1)) {
      ASSERT_LT(D.Entry(P - 1)->SlotId, D.Entry(P)->SlotId);
    }
  }
}

TEST_F(IndexTest, FindAgreesSequentiallyAndBinaryWithPartialKeys) {
  for (int Rows : {5, 200}) {  // 20 entries or fewer are scanned, more are searched
    Store.Empty();
    for (int I = 0; I < Rows; ++I) AddRow(I, ("L" + std::to_string(1000 + I)).c_str());
    AddRow(9999, "ABC");
    TqmtIndex I("lib", this, List({{2, 0}}), "lib", 0, 1, false);
    I.ReloadAndSort();
    int Pos;
    bool Found;
    I.Find(nullptr, Key(nullptr, "ABC"), false, false, Pos, Found);
    EXPECT_TRUE(Found) << Rows;
    EXPECT_EQ(GetInt(I.Entry(Pos), 1), 9999);
    I.Find(nullptr, Key(nullptr, "AB"), false, false, Pos, Found);
    EXPECT_FALSE(Found) << Rows;
    TqmtFieldList Partial = List({{2, mtcoPartialKey}});
    I.Find(&Partial, Key(nullptr, "AB"), false, false, Pos, Found);
    EXPECT_TRUE(Found) << Rows;
    EXPECT_EQ(GetInt(I.Entry(Pos), 1), 9999);
    I.Find(&Partial, Key(nullptr, "L10"), false, false, Pos, Found);
    ASSERT_TRUE(Found) << Rows;
    EXPECT_EQ(GetStr(I.Entry(Pos), 2), "L1000") << "the first of the equal entries";
  }
}

TEST_F(IndexTest, MaintenanceKeepsEveryIndexInOrder) {
  TqmtIndexes List_(this);
  auto* ByLib = new TqmtIndex("lib", this, List({{2, 0}}), "lib", 0, 1, false);
  List_.Add(ByLib);
  std::mt19937 Rng(3);
  std::vector<TqmtRow*> Live;
  for (int Step = 0; Step < 600; ++Step) {
    int Action = Live.empty() ? 0 : int(Rng() % 3);
    if (Action == 0) {
      TqmtRow* R = AddRow(Step, ("n" + std::to_string(Rng() % 40)).c_str());
      List_.Maintain(mtioInsert, R, R, -1, true);
      Live.push_back(R);
    } else if (Action == 1) {
      TqmtRow* R = Live[Rng() % Live.size()];
      TqmtRow* Buf = Store.DuplicateRecord(R, true);
      SetStr(Buf, 2, ("n" + std::to_string(Rng() % 40)).c_str());
      List_.Maintain(mtioEdit, R, Buf, -1, true);
      Store.MoveInto(Buf, R);
      Store.FreeRecord(Buf, true, false);
    } else {
      std::size_t K = Rng() % Live.size();
      TqmtRow* R = Live[K];
      List_.Maintain(mtioDelete, R, nullptr, -1, true);
      Store.RemoveAndFree(R);
      Live.erase(Live.begin() + std::ptrdiff_t(K));
    }
    ASSERT_TRUE(ByLib->CheckOrder()) << Step;
    ASSERT_EQ(ByLib->Count(), int(Live.size()));
    ASSERT_EQ(List_.RowOrder()->Count(), int(Live.size()));
  }
  // A rebuild from the store gives the same order as maintenance did.
  std::vector<TqmtRow*> Maintained = ByLib->Entries();
  ByLib->ReloadAndSort();
  EXPECT_EQ(ByLib->Entries(), Maintained);
}

TEST_F(IndexTest, RowOrderInsertGoesBeforeTheGivenRecordNumber) {
  TqmtIndexes L(this);
  std::vector<String> Order;
  // Each new record goes before record number 1, as an insert on the first record does.
  for (const char* Lib : {"a", "b", "c", "d"}) {
    TqmtRow* R = AddRow(0, Lib);
    L.Maintain(mtioInsert, R, R, 1, true);
  }
  EXPECT_EQ(Libs(*L.RowOrder()), (std::vector<String>{"d", "c", "b", "a"}));
}

TEST_F(IndexTest, UniqueIndexRefusesAnEqualKeyButNotTheRecordBeingEdited) {
  TqmtIndexes L(this);
  auto* U = new TqmtIndex("u", this, List({{2, 0}}), "lib", mtcoUnique, 1, false);
  L.Add(U);
  TqmtRow* A = AddRow(1, "same");
  L.Maintain(mtioInsert, A, A, -1, true);
  TqmtRow* B = AddRow(2, "other");
  L.Maintain(mtioInsert, B, B, -1, true);
  try {
    L.CheckUnique(Key(nullptr, "same"), nullptr);
    FAIL();
  } catch (const EMemTableDupKey& E) {
    EXPECT_EQ(E.Message, "Duplicate index value. Operation aborted.");
  }
  EXPECT_NO_THROW(L.CheckUnique(A, A));
  EXPECT_THROW(L.CheckUnique(A, B), EMemTableDupKey);
  TqmtRow* C = AddRow(3, "same");
  (void)C;
  EXPECT_THROW(U->ReloadAndSort(), EMemTableDupKey);
}

TEST_F(IndexTest, SearchBestUsesOrAddsAnIndexOnLargeTablesAndHonoursCase) {
  TqmtIndexes L(this);
  for (int I = 0; I < 30; ++I) L.Maintain(mtioInsert, AddRow(I, ("Name" + std::to_string(I)).c_str()), nullptr, -1, true);
  TqmtRow* Mixed = AddRow(100, "MiXed");
  L.Maintain(mtioInsert, Mixed, Mixed, -1, true);
  int Added = 0;
  auto AddAuto = [&](const TqmtFieldList& Keys_) {
    ++Added;
    auto* I = new TqmtIndex("__MT__AUTO_lib", this, Keys_, "lib", mtcoCaseInsensitive, 1, false);
    I->Fields()[0].Options |= mtcoCaseInsensitive;
    I->ReloadAndSort();
    L.Add(I);
    return I;
  };
  TqmtFieldList Exact = List({{2, 0}});
  TqmtFieldList Folded = List({{2, mtcoCaseInsensitive}});
  // A small current index is scanned; the exact search does not fold case.
  EXPECT_EQ(L.SearchBest(Exact, Key(nullptr, "mixed"), false, false, true, AddAuto), -1);
  EXPECT_EQ(Added, 1);  // 31 entries: an index on the key was added
  EXPECT_EQ(L.SearchBest(Folded, Key(nullptr, "mixed"), false, false, true, AddAuto), 30);
  EXPECT_EQ(L.SearchBest(Exact, Key(nullptr, "MiXed"), false, false, true, AddAuto), 30);
  EXPECT_EQ(Added, 1);  // reused
  EXPECT_EQ(L.SearchBest(Exact, Key(nullptr, "Name7"), false, false, false, nullptr), 7);
}

}  // namespace
