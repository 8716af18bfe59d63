// This file implements TList, the class library's list of untyped pointers.
#include "List.h"

#include <algorithm>
#include <string>

#include "Exceptions.h"

VELBOR_IMPLEMENT_CLASS(TList)

namespace {

[[noreturn]] void ListError(const char* Text, int Value) {
  throw EListError(String(Text) + " (" + std::to_string(Value) + ")");
}

}  // namespace

TList::~TList() { Clear(); }

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListError("Index de liste hors limites", Index);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) ListError("Capacité de liste hors limites"_a, NewCapacity);
  FCapacity = NewCapacity;
  if (std::size_t(NewCapacity) > FList.capacity()) FList.reserve(std::size_t(NewCapacity));
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) ListError("Nombre d'éléments de liste hors limites"_a, NewCount);
  if (NewCount > FCapacity) SetCapacity(NewCount);
  if (NewCount > Count()) {
    FList.resize(std::size_t(NewCount), nullptr);
  } else {
    for (int I = Count() - 1; I >= NewCount; --I) Delete(I);
  }
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return FList[std::size_t(Index)];
}

void TList::Put(int Index, void* Item) {
  CheckIndex(Index);
  void* Old = FList[std::size_t(Index)];
  if (Old == Item) return;
  FList[std::size_t(Index)] = Item;
  if (Old) Notify(Old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

int TList::Add(void* Item) {
  int Result = Count();
  Insert(Result, Item);
  return Result;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListError("Index de liste hors limites", Index);
  if (Count() == FCapacity) {
    // The platform's growth steps, so that Capacity reads as callers expect.
    int Delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
    SetCapacity(FCapacity + Delta);
  }
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* Item = FList[std::size_t(Index)];
  FList.erase(FList.begin() + Index);
  if (Item) Notify(Item, lnDeleted);
}

int TList::Remove(void* Item) {
  int Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

void* TList::Extract(void* Item) {
  int I = IndexOf(Item);
  if (I < 0) return nullptr;
  FList.erase(FList.begin() + I);
  Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : int(It - FList.begin());
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
  FList.shrink_to_fit();
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[std::size_t(Index1)], FList[std::size_t(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  // A move is not a deletion: no notification.
  void* Item = FList[std::size_t(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Pack() {
  FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(TListSortCompare Compare) {
  std::stable_sort(FList.begin(), FList.end(), [Compare](void* A, void* B) { return Compare(A, B) < 0; });
}

void TList::Assign(TList* Source) {
  if (Source == this) return;
  Clear();
  SetCapacity(Source->Count());
  for (void* Item : Source->FList) Add(Item);
}

void TList::Notify(void*, TListNotification) {}
