// This file implements TTable, the engine-like table over SQLite: index definitions read from the
// database file's indexes, an active index that orders the rows, FindKey and FindNearest on it,
// and ranges; its engine filters (filter descriptors and record-filter callbacks, which see every
// record the table reads) are those of TDBDataSet.
#pragma once

#include <cstdint>
#include <vector>

#include "DBTables.h"

struct TIndexDef {
  String Name;
  String Fields;  // ";"-separated, in key order
  bool Primary = false;
  bool Unique = false;
  bool CaseInsensitive = false;  // text keys compared in the program's text order
  String DescFields;  // ";"-separated: the key fields that sort downward
  bool Descending = false;  // its first key field sorts downward (the index's direction as listed)
};

class TTable : public TDBDataSet {
  VELBOR_DECLARE_CLASS(TTable, TDBDataSet)
 public:
  explicit TTable(TComponent* AOwner);
  ~TTable() override;

  // The table whose rows are read; closes the table and forgets its index definitions.
  const String& TableName() const { return FTableName; }
  void SetTableName(const String& Value);

  // Index definitions: the primary key as "PrimaryKey", then the file's indexes by name.
  const std::vector<TIndexDef>& IndexDefs();
  void UpdateIndexDefs();
  // The active index; an unknown name raises EDatabaseError. Changing it re-reads an open table
  // and cancels its range.
  const String& IndexName() const { return FIndexName; }
  void SetIndexName(const String& Value);
  // The active index's fields; empty without an active index.
  String IndexFields() const { return FIndexFields; }
  int IndexFieldCount() const;
  TField* IndexField(int Index);

  // The first record whose leading index fields equal Values; false, the position unchanged, when
  // none does or there is no active index.
  bool FindKey(const std::vector<Variant>& Values);
  // The first record whose leading index fields are not below Values (the last one when all are).
  void FindNearest(const std::vector<Variant>& Values);
  // Keeps the records whose leading index fields lie between Start and End, both inclusive; an
  // empty side is open. The values become literals quoted so that no value can leave its quotes.
  void SetRange(const std::vector<Variant>& Start, const std::vector<Variant>& End);
  void CancelRange();
  bool HasRange() const { return !FRangeStart.empty() || !FRangeEnd.empty(); }

 protected:
  String StatementText() const override;

 private:
  void Reread();
  int CompareKey(const std::vector<Variant>& Values);

  std::vector<TIndexDef> FIndexDefs;
  bool FIndexDefsRead = false;
  String FIndexName, FIndexFields, FIndexDescFields;
  std::vector<Variant> FRangeStart, FRangeEnd;
  String FTableName;
};
