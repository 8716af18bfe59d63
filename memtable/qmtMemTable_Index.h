// This file implements the key comparison, indexes and searches of the in-memory table:
// CompareFieldValues, CompareRecordFields, TqmtIndex and TqmtIndexes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "qmtMemTable_Store.h"

class TqmtIndex;
class TqmtFilterExpression;

enum TqmtProgressCode { mtpcLoad, mtpcSave, mtpcEmpty, mtpcPack, mtpcCheckPoint, mtpcSearch, mtpcCopy, mtpcUpdate, mtpcSort };
VELBOR_ENUM(TqmtProgressCode, "mtpcLoad", "mtpcSave", "mtpcEmpty", "mtpcPack", "mtpcCheckPoint", "mtpcSearch",
            "mtpcCopy", "mtpcUpdate", "mtpcSort")

// Update statuses an index shows, as bits.
enum : std::uint8_t { qisUnmodified = 1, qisModified = 2, qisInserted = 4, qisDeleted = 8, qisDefault = 7 };

// Maintenance operations.
enum TqmtIndexOperation { mtioInsert, mtioEdit, mtioDelete };

// Negative, zero or positive as value A sorts below, with or above value B. Values are in the
// store's form; LengthA and LengthB bound the bytes of text and binary values. FullCompare is set
// false when a partial text comparison only compared a prefix.
int CompareFieldValues(const void* A, std::uint32_t LengthA, const void* B, std::uint32_t LengthB,
                       TFieldType Type, unsigned LocaleID, std::uint8_t Options, bool& FullCompare);

// Compares the first Count fields of List between Key and Record. Mode 0 stops at the first
// difference (or at a partial match); 1 at the first negative, 2 at the first positive, 3 at the
// first result <= 0, 4 at the first >= 0.
int CompareRecordFields(const TqmtCommon& Store, const TqmtFieldList& List, int Count, const TqmtRow* Key,
                        const TqmtRow* Record, bool IgnoreNullForAll, bool ForcePartial, int Mode);

// What an index needs of the table it belongs to.
class TqmtIndexOwner {
 public:
  virtual ~TqmtIndexOwner() = default;
  virtual TqmtCommon* IndexStore() const = 0;
  // The table tests records one by one (filter, status filter, master link, range).
  virtual bool IndexNeedsFiltering() { return false; }
  virtual bool IndexRecordVisible(TqmtRow* Record) { (void)Record; return true; }
  // The index filter, OnFilterIndex and the index's filter expression for one record.
  virtual bool IndexAccepts(TqmtIndex* Index, TqmtRow* Record);
  // RecalcOnIndex: recompute the record's calculated fields before comparing it.
  virtual void IndexRecalc(TqmtRow* Record) { (void)Record; }
  virtual bool IndexRecalcWanted() { return false; }
  virtual void IndexProgress(int Percent, TqmtProgressCode Code) { (void)Percent, (void)Code; }
  virtual bool IndexTableActive() { return true; }
};

class TqmtIndex : public TObject {
  VELBOR_DECLARE_CLASS(TqmtIndex, TObject)
 public:
  // Kind 0: row order (records in the order they were added); 1: sorted on Fields.
  TqmtIndex(const String& AName, TqmtIndexOwner* AOwner, const TqmtFieldList& AFields, const String& AFieldNames,
            std::uint8_t AOptions, int AKind, bool AInternal);
  ~TqmtIndex() override;

  const String& Name() const { return FName; }
  const String& FieldNames() const { return FFieldNames; }
  TqmtFieldList& Fields() { return FFields; }
  const TqmtFieldList& Fields() const { return FFields; }
  std::uint8_t Options() const { return FOptions; }
  bool IsRowOrder() const { return FKind == 0; }
  bool Internal() const { return FInternal; }
  bool Ordered() const { return FOrdered; }
  void SetOrdered(bool Value) { FOrdered = Value; }
  int Count() const { return int(FEntries.size()); }
  TqmtRow* Entry(int Position) const { return FEntries[std::size_t(Position)]; }
  std::vector<TqmtRow*>& Entries() { return FEntries; }
  TqmtIndexOwner* Owner() const { return FOwner; }
  int ListPosition = 0;
  bool View = false;
  bool Enabled = true;
  bool Filtered = false;
  std::uint8_t StatusSet = qisDefault;
  // Index filter set by code: a function and an expression (owned by the index).
  std::function<bool(TqmtIndex* Index, TqmtRow* Record)> FilterFunction;
  TqmtFilterExpression* FilterExpression = nullptr;
  bool ShowsStatus(std::uint8_t Status) const { return (StatusSet >> Status) & 1; }

  // Key comparison with the SlotId tie-break: equal keys order by slot, which makes the order
  // total, so every sort and every insertion agrees on one place for a record.
  int CompareKeys(const TqmtFieldList* List, const TqmtRow* Key, const TqmtRow* Record, bool TieBreak,
                  bool ForcePartial) const;
  // The order of two records in the index: the fields without their partial-key and ignore-null
  // bits, which only searches use, so that the order is total.
  int CompareOrder(const TqmtRow* A, const TqmtRow* B, bool TieBreak) const;
  // Searches Key (exact, no tie-break). Found: Position is the first equal visible entry. Not
  // found: the insertion point (binary) or Count (sequential). Answers the last comparison.
  int Find(const TqmtFieldList* List, const TqmtRow* Key, bool Nearest, bool RespectFilter, int& Position,
           bool& Found);
  // Where Key (a stored record, compared with the tie-break) belongs.
  int InsertionPoint(const TqmtRow* Key) const;
  // The position of a store record, or -1.
  int FindRecord(const TqmtRow* Record) const;
  int FindBySlot(int SlotId) const;

  void Sort();
  // Sorts; a unique index with two equal neighbours raises EMemTableDupKey.
  void SortAndCheckUnique();
  void FillFromStore();
  void ReloadAndSort();
  void Empty() {
    FEntries.clear();
    FOrdered = false;
  }
  bool AcceptsRecord(TqmtRow* Record);
  // Invariant: the entries are in key order.
  bool CheckOrder() const;

 private:
  String FName;
  std::vector<TqmtRow*> FEntries;
  TqmtIndexOwner* FOwner;
  String FFieldNames;
  TqmtFieldList FFields;
  TqmtFieldList FOrderFields;  // FFields without the search-only bits
  std::uint8_t FOptions;
  bool FOrdered = false;
  int FKind;
  bool FInternal;
};

// The indexes of one table: the row-order index, the others by name, and the current one.
class TqmtIndexes : public TObject {
  VELBOR_DECLARE_CLASS(TqmtIndexes, TObject)
 public:
  explicit TqmtIndexes(TqmtIndexOwner* AOwner);
  ~TqmtIndexes() override;

  TqmtIndex* RowOrder() const { return FRowOrder; }
  TqmtIndex* Current() const { return FCurrent; }
  void SetCurrent(TqmtIndex* Value) { FCurrent = Value ? Value : FRowOrder; }
  int Count() const { return int(FList.size()); }
  TqmtIndex* Items(int I) const { return FList[std::size_t(I)]; }
  TqmtIndex* Find(const String& Name) const;
  TqmtIndex* FindByFieldNames(const String& FieldNames) const;
  // Takes ownership.
  void Add(TqmtIndex* Index);
  void Delete(TqmtIndex* Index);
  // Empties every index and frees all but the row-order index.
  void Clear();
  void EmptyAll();
  void RebuildAll();
  void MarkAllUnordered();
  // Invariant: every entry of every index is a record the store holds in its slot. Compares
  // addresses only, so it can tell an entry left to a freed record without reading it.
  bool CheckEntriesStored() const;

  // Hands an insert, edit or delete of one store record to every index; NewValues is the record
  // being posted (insert, edit). Position is the table's cursor (edit, delete) or the record
  // number to insert before (insert; -1 appends). Answers the record's new position in the
  // current index, or -1.
  int Maintain(TqmtIndexOperation Op, TqmtRow* StoreRecord, TqmtRow* NewValues, int Position, bool EnableIndexes);
  // Raises EMemTableDupKey when NewValues would break a unique index (OldRecord is the record
  // being edited, or null).
  void CheckUnique(const TqmtRow* NewValues, const TqmtRow* OldRecord) const;

  // Searches Key over the fields of KeyList, through an index whose leading fields are the key
  // when the current index is large (one is added when AllowAuto), else by scanning the current
  // index. Answers the position in the current index, or -1.
  int SearchBest(const TqmtFieldList& KeyList, const TqmtRow* Key, bool Nearest, bool RespectFilter, bool AllowAuto,
                 const std::function<TqmtIndex*(const TqmtFieldList&)>& AddAutoIndex);

 private:
  TqmtIndexOwner* FOwner;
  TqmtIndex* FRowOrder;
  TqmtIndex* FCurrent;
  std::vector<TqmtIndex*> FList;  // the row-order index first
};
