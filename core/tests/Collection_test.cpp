// Tests of TCollection, TCollectionItem and TOwnedCollection: items of the collection's class,
// update and notification reports, update blocks, moves, IDs and Assign.
#include <gtest/gtest.h>

#include <algorithm>

#include "Collection.h"
#include "Exceptions.h"
#include "Format.h"
#include "StrUtils.h"

namespace {

class TColumn : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TColumn, TCollectionItem)
 public:
  explicit TColumn(TCollection* Collection) : TCollectionItem(Collection) {}
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value) {
    FWidth = Value;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* c = dynamic_cast<TColumn*>(Source)) FWidth = c->FWidth;
    else TCollectionItem::Assign(Source);
  }

 private:
  int FWidth = 64;
};
VELBOR_IMPLEMENT_CLASS(TColumn)

// Records Update and Notify calls as text: "U*" for the whole collection, "U<index>" for an item,
// "+<id>", "x<id>" (extracting), "-<id>" (deleting). Extraction is reported from the item's base
// destructor when it is freed, so only TCollectionItem's own members are read there.
class TColumns : public TOwnedCollection {
  VELBOR_DECLARE_CLASS(TColumns, TOwnedCollection)
 public:
  explicit TColumns(TPersistent* AOwner) : TOwnedCollection(AOwner, TColumn::StaticClass()) {}
  TColumn* Item(int Index) const { return static_cast<TColumn*>(Items(Index)); }
  std::vector<String> Log;

 protected:
  void Update(TCollectionItem* Item) override { Log.push_back(Item ? "U" + IntToStr(Item->Index()) : String("U*")); }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    const char* mark = Action == cnAdded ? "+" : Action == cnExtracting ? "x" : "-";
    Log.push_back(mark + IntToStr(Item->ID()));
  }
};
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TColumns)

using TLog = std::vector<String>;

class CollectionTest : public ::testing::Test {
 protected:
  TPersistent owner;
  TColumns columns{&owner};
};

TEST_F(CollectionTest, AddReportsTheFullyBuiltItemThenAWholeChange) {
  TColumn* c = static_cast<TColumn*>(columns.Add());
  EXPECT_EQ(c->Collection(), &columns);
  EXPECT_EQ(c->ClassName(), "TColumn");
  EXPECT_EQ(columns.Log, (TLog{"+0", "U*"}));
  columns.Log.clear();
  c->SetWidth(80);
  EXPECT_EQ(columns.Log, (TLog{"U0"}));
}

TEST_F(CollectionTest, UpdateBlocksReportOnceAtTheLastEndUpdate) {
  columns.BeginUpdate();
  columns.BeginUpdate();
  columns.Add();
  static_cast<TColumn*>(columns.Add())->SetWidth(10);
  columns.EndUpdate();
  EXPECT_EQ(columns.Log, (TLog{"+0", "+1"}));  // notifications still come, updates wait
  columns.EndUpdate();
  EXPECT_EQ(columns.Log, (TLog{"+0", "+1", "U*"}));
  EXPECT_EQ(columns.UpdateCount(), 0);
}

TEST_F(CollectionTest, DeleteClearAndFreeingAnItemReportRemoval) {
  for (int w : {1, 2, 3}) static_cast<TColumn*>(columns.Add())->SetWidth(w);
  columns.Log.clear();
  columns.Delete(1);
  EXPECT_EQ(columns.Log, (TLog{"-1", "x1", "U*"}));
  ASSERT_EQ(columns.Count(), 2);
  EXPECT_EQ(columns.Item(1)->GetWidth(), 3);
  columns.Log.clear();
  delete columns.Items(0);
  EXPECT_EQ(columns.Log, (TLog{"x0", "U*"}));
  columns.Log.clear();
  columns.Clear();
  EXPECT_EQ(columns.Log, (TLog{"-2", "x2", "U*"}));
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_THROW(columns.Items(0), EListError);
}

TEST_F(CollectionTest, InsertAndSetIndexMoveItems) {
  for (int w : {1, 2}) static_cast<TColumn*>(columns.Add())->SetWidth(w);
  auto* inserted = static_cast<TColumn*>(columns.Insert(0));
  EXPECT_EQ(inserted->Index(), 0);
  EXPECT_EQ(columns.Item(1)->GetWidth(), 1);
  columns.Log.clear();
  columns.Item(2)->SetIndex(0);
  EXPECT_EQ(columns.Log, (TLog{"U*"}));
  EXPECT_EQ(columns.Item(0)->GetWidth(), 2);
  EXPECT_EQ(inserted->Index(), 1);
}

TEST_F(CollectionTest, IdsAreNeverReused) {
  TCollectionItem* a = columns.Add();
  TCollectionItem* b = columns.Add();
  delete a;
  TCollectionItem* c = columns.Add();
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(columns.FindItemID(2), c);
  EXPECT_EQ(columns.FindItemID(0), nullptr);
}

TEST_F(CollectionTest, AssignCopiesItemsInOneUpdate) {
  TColumns source(nullptr);
  for (int w : {5, 6}) static_cast<TColumn*>(source.Add())->SetWidth(w);
  columns.Add();
  columns.Log.clear();
  columns.Assign(&source);
  ASSERT_EQ(columns.Count(), 2);
  EXPECT_EQ(columns.Item(0)->GetWidth(), 5);
  EXPECT_EQ(columns.Item(1)->GetWidth(), 6);
  EXPECT_EQ(std::count(columns.Log.begin(), columns.Log.end(), "U*"), 1);
  EXPECT_EQ(columns.Log.back(), "U*");
}

TEST_F(CollectionTest, OwnersAndNamePaths) {
  EXPECT_EQ(columns.Owner(), &owner);
  TCollectionItem* item = columns.Add();
  EXPECT_EQ(item->GetOwner(), &columns);
  EXPECT_EQ(item->GetNamePath(), "TPersistent.TColumns[0]");
  item->SetCollection(nullptr);
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_EQ(item->Index(), -1);
  delete item;
}

TEST(Collection, AnItemClassThatIsNotAnItemIsRefused) {
  TCollection wrong(TPersistent::StaticClass());
  EXPECT_THROW(wrong.Add(), EInvalidOperation);
  EXPECT_EQ(wrong.Count(), 0);
}

}  // namespace
