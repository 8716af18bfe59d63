// This file implements TCollection, TCollectionItem and TOwnedCollection.
#include "Collection.h"

#include <algorithm>

#include "Exceptions.h"
#include "Format.h"
#include "ScopeGuard.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TCollectionItem)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TCollection)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOwnedCollection)

// --- TCollectionItem ------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  return int(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int current = Index();
  if (current < 0 || Value == current) return;
  auto& items = FCollection->FItems;
  Value = std::clamp(Value, 0, int(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

String TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// --- TCollection ----------------------------------------------------------------------------------

TCollection::TCollection(TClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  // No Update from a collection being destroyed: its descendant part is gone.
  ++FUpdateCount;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("Indice de liste hors limites (%d)", {Index}));
  return FItems[std::size_t(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::MakeItem() {
  FMaking = true;
  TObject* made;
  {
    TScopeGuard restore([&] { FMaking = false; });
    made = FItemClass->Create(this);
  }
  auto* item = dynamic_cast<TCollectionItem*>(made);
  if (!item || item->FCollection != this || !item->InheritsFrom(FItemClass)) {
    delete made;
    throw EInvalidOperation(Format("La classe %s ne crée pas d'élément de collection"_a, {String(FItemClass->Name)}));
  }
  Notify(item, cnAdded);
  Changed();
  return item;
}

TCollectionItem* TCollection::Add() { return MakeItem(); }

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = MakeItem();
  ++FUpdateCount;  // the move is part of the insertion already reported
  item->SetIndex(Index);
  --FUpdateCount;
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  while (!FItems.empty()) {
    Notify(FItems.back(), cnDeleting);
    delete FItems.back();
  }
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems) {
    if (item->FID == ID) return item;
  }
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  for (TCollectionItem* item : source->FItems) Add()->Assign(item);
}

String TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  String ownerPath = owner->GetNamePath();
  return ownerPath.empty() ? ClassName() : ownerPath + "." + ClassName();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  // The item's class is not known yet (its constructor is running): MakeItem checks it.
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  if (!FMaking) {
    Notify(Item, cnAdded);
    Changed();
  }
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  FItems.erase(std::find(FItems.begin(), FItems.end(), Item));
  Item->FCollection = nullptr;
  Changed();
}
