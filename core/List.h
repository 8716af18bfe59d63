// This file implements TList, the class library's list of untyped pointers.
#pragma once

#include <vector>

#include "Object.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative, zero or positive as Item1 sorts before, with or after Item2.
using TListSortCompare = int (*)(void* Item1, void* Item2);

// Indexes run from 0 to Count() - 1; a bad one raises EListError. The list never owns what the
// pointers point to; a descendant that does frees it in Notify on lnDeleted, and calls Clear() in
// its own destructor (the base destructor no longer reaches the override).
class TList : public TObject {
  VELBOR_DECLARE_CLASS(TList, TObject)
 public:
  TList() = default;
  ~TList() override;

  int Count() const { return int(FList.size()); }
  // Growing fills with nullptr; shrinking deletes from the end.
  void SetCount(int NewCount);
  int Capacity() const { return FCapacity; }
  // Cannot go below Count (EListError).
  void SetCapacity(int NewCapacity);
  void* Items(int Index) const;
  void Put(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  // The first or last item; EListError on an empty list.
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  // Direct access to the items, for loops that do not need the index check.
  void* const* List() const { return FList.data(); }

  int Add(void* Item);
  // Index may be Count() (appends).
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Deletes the first occurrence; returns its index, or -1 when absent.
  int Remove(void* Item);
  // Takes the first occurrence out without deleting it (lnExtracted); nullptr when absent.
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  void Clear();
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // Removes the nullptr items.
  void Pack();
  // Stable: equal items keep their order.
  void Sort(TListSortCompare Compare);
  // Replaces the items with those of Source.
  void Assign(TList* Source);

 protected:
  // Called after an item is added, and after it is taken out (deleted or extracted).
  virtual void Notify(void* Ptr, TListNotification Action);

 private:
  void CheckIndex(int Index) const;

  std::vector<void*> FList;
  int FCapacity = 0;
};
