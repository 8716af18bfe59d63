// Tests of TList: order of items, index errors, notifications, and the list operations.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Exceptions.h"
#include "List.h"

namespace {

int A = 1, B = 2, C = 3, D = 4;

std::vector<void*> ItemsOf(const TList& L) {
  std::vector<void*> Result;
  for (int I = 0; I < L.Count(); ++I) Result.push_back(L.Items(I));
  return Result;
}

// A list that records what it is told, as an owning list would react to it.
struct Notified {
  void* Ptr;
  TListNotification Action;
  bool operator==(const Notified&) const = default;
};

class TRecordingList : public TList {
 public:
  ~TRecordingList() override { Clear(); }
  std::vector<Notified> Log;

 protected:
  void Notify(void* Ptr, TListNotification Action) override { Log.push_back({Ptr, Action}); }
};

TEST(TListTest, AddInsertDeleteKeepOrder) {
  TList L;
  EXPECT_EQ(L.Add(&A), 0);
  EXPECT_EQ(L.Add(&C), 1);
  L.Insert(1, &B);
  L.Insert(3, &D);  // Count() itself appends
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&A, &B, &C, &D}));
  EXPECT_EQ(L.First(), &A);
  EXPECT_EQ(L.Last(), &D);
  EXPECT_EQ(L.IndexOf(&C), 2);
  EXPECT_EQ(L.IndexOf(nullptr), -1);

  L.Delete(0);
  EXPECT_EQ(L.Remove(&C), 1);
  EXPECT_EQ(L.Remove(&C), -1);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&B, &D}));
  L.Put(1, &A);
  EXPECT_EQ(L[1], &A);
}

TEST(TListTest, BadIndexRaisesListErrorNamingTheIndex) {
  struct Case {
    const char* What;
    std::function<void(TList&)> Call;
    const char* Index;
  };
  const Case Cases[] = {
      {"Items(-1)", [](TList& L) { L.Items(-1); }, "(-1)"},
      {"Items(Count)", [](TList& L) { L.Items(2); }, "(2)"},
      {"Put(Count)", [](TList& L) { L.Put(2, &A); }, "(2)"},
      {"Delete(Count)", [](TList& L) { L.Delete(2); }, "(2)"},
      {"Insert(Count + 1)", [](TList& L) { L.Insert(3, &A); }, "(3)"},
      {"Insert(-1)", [](TList& L) { L.Insert(-1, &A); }, "(-1)"},
      {"Exchange", [](TList& L) { L.Exchange(0, 5); }, "(5)"},
      {"Move", [](TList& L) { L.Move(7, 0); }, "(7)"},
  };
  for (const Case& K : Cases) {
    TList L;
    L.Add(&A);
    L.Add(&B);
    try {
      K.Call(L);
      ADD_FAILURE() << K.What << " did not raise";
    } catch (const EListError& E) {
      EXPECT_EQ(E.Message, String("Index de liste hors limites ") + K.Index) << K.What;
    }
    EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&A, &B})) << K.What << " changed the list";
  }
  TList Empty;
  EXPECT_THROW(Empty.First(), EListError);
  EXPECT_THROW(Empty.Last(), EListError);
}

TEST(TListTest, ExchangeMovePackSort) {
  TList L;
  for (void* P : {(void*)&A, (void*)nullptr, (void*)&B, (void*)nullptr, (void*)&C}) L.Add(P);
  L.Pack();
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&A, &B, &C}));
  L.Exchange(0, 2);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&C, &B, &A}));
  L.Move(0, 2);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&B, &A, &C}));
  L.Move(2, 0);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&C, &B, &A}));

  // Sort by the pointed-to value modulo 3, on enough items that an unstable sort would reorder
  // equal ones: within a key the items must stay in array (insertion) order.
  TList S;
  int V[50];
  for (int I = 0; I < 50; ++I) {
    V[I] = (I * 7) % 11;
    S.Add(&V[I]);
  }
  S.Sort([](void* X, void* Y) { return *static_cast<int*>(X) % 3 - *static_cast<int*>(Y) % 3; });
  for (int I = 1; I < S.Count(); ++I) {
    int* Prev = static_cast<int*>(S[I - 1]);
    int* Cur = static_cast<int*>(S[I]);
    ASSERT_LE(*Prev % 3, *Cur % 3) << "not sorted at " << I;
    if (*Prev % 3 == *Cur % 3) {
      EXPECT_LT(Prev, Cur) << "equal items reordered at " << I;
    }
  }
}

TEST(TListTest, CountAndCapacity) {
  TList L;
  L.Add(&A);
  L.SetCount(3);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&A, nullptr, nullptr}));
  EXPECT_GE(L.Capacity(), 3);
  EXPECT_THROW(L.SetCapacity(2), EListError);
  L.SetCount(1);
  EXPECT_EQ(ItemsOf(L), (std::vector<void*>{&A}));
  EXPECT_THROW(L.SetCount(-1), EListError);

  TList Copy;
  Copy.Add(&D);
  Copy.Assign(&L);
  EXPECT_EQ(ItemsOf(Copy), ItemsOf(L));
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.Capacity(), 0);
}

TEST(TListTest, NotifiesAddDeleteExtractButNotMove) {
  TRecordingList L;
  L.Add(&A);
  L.Add(&B);
  L.Add(&C);
  L.Add(nullptr);  // nil items are never notified
  L.Move(0, 2);
  L.Exchange(0, 1);
  EXPECT_EQ(L.Extract(&B), &B);
  EXPECT_EQ(L.Extract(&B), nullptr);
  L.Remove(&A);
  L.Put(0, &D);  // replaces C
  L.Clear();
  const std::vector<Notified> Expected = {
      {&A, lnAdded}, {&B, lnAdded}, {&C, lnAdded}, {&B, lnExtracted}, {&A, lnDeleted},
      {&C, lnDeleted}, {&D, lnAdded}, {&D, lnDeleted}};
  EXPECT_EQ(L.Log, Expected);
}

}  // namespace
