// This file implements collections: TCollection, a list of items of one class that it owns and
// whose changes it reports through Update; TCollectionItem; and TOwnedCollection, a collection
// that knows the object it belongs to (a component's columns, panels or bars).
#pragma once

#include <vector>

#include "Persistent.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  VELBOR_DECLARE_CLASS(TCollectionItem, TPersistent)
 public:
  using TOwnerClass = TCollection;

  // Joins Collection (when given) at its end.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or none).
  void SetCollection(TCollection* Value);
  int Index() const;  // -1 without collection
  void SetIndex(int Value);
  int ID() const { return FID; }
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String&) {}
  String GetNamePath() override;
  TPersistent* GetOwner() override;

 protected:
  // Reports a change of this item (or of all items, when the change affects the others).
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  VELBOR_DECLARE_CLASS(TCollection, TPersistent)
 public:
  // ItemClass must derive from TCollectionItem and be constructible from a collection.
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;

  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int Index) const;  // EListError outside
  // Assigns Value onto the item at Index.
  void SetItem(int Index, TCollectionItem* Value);
  TClass ItemClass() const { return FItemClass; }
  TPersistent* Owner() { return GetOwner(); }

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  // Replaces the items with copies of Source's (item by item, through the items' Assign).
  void Assign(TPersistent* Source) override;
  String GetNamePath() override;

  // Changes between BeginUpdate and the matching EndUpdate are reported once, as a change of all
  // items, by the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

 protected:
  friend class TCollectionItem;
  // Called for a change of Item, or of the whole collection when Item is nullptr.
  virtual void Update(TCollectionItem*) {}
  virtual void Notify(TCollectionItem*, TCollectionNotification) {}
  // Reports a change of the whole collection unless an update block is open.
  void Changed();

 private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  TCollectionItem* MakeItem();

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  bool FMaking = false;  // Add/Insert report the new item once it is fully constructed
};

class TOwnedCollection : public TCollection {
  VELBOR_DECLARE_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TClass ItemClass) : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};
