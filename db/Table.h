// This file implements TTable, the engine-like table over SQLite: index definitions read from the
// database file's indexes, an active index that orders the rows, FindKey and FindNearest on it,
// ranges, and engine filters (filter descriptors and record-filter callbacks) that see every
// record the table reads.
#pragma once

#include <cstdint>
#include <vector>

#include "ADODB.h"
#include "FilterDescriptor.h"

struct TIndexDef {
  String Name;
  String Fields;  // ";"-separated, in key order
  bool Primary = false;
  bool Unique = false;
  bool CaseInsensitive = false;  // text keys compared in the program's text order
  String DescFields;  // ";"-separated: the key fields that sort downward
  bool Descending = false;  // its first key field sorts downward (the index's direction as listed)
};

// A record-filter callback: a plain function the table calls with its client data for every
// record it reads; false rejects the record.
using TRecordFilterCallback = bool (*)(void* ClientData, TDataSet* DataSet);

class TTable : public TADOTable {
  VELBOR_DECLARE_CLASS(TTable, TADOTable)
 public:
  explicit TTable(TComponent* AOwner);
  ~TTable() override;

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

  // Engine filters; the handle drops it again. A descriptor is checked when added (EDatabaseError).
  int AddFilter(std::vector<std::uint8_t> Descriptor);
  int AddFilter(TRecordFilterCallback Callback, void* ClientData);
  void DropFilter(int Handle);
  // Calls every filter again on the next reads.
  void RefreshFilters();

  void SetOnFilterRecord(TFilterRecordEvent Value) override;

 protected:
  String StatementText() const override;

 private:
  struct TEngineFilter;
  void EngineFilterRecord(TDataSet* DataSet, bool& Accept);
  void InstallFilterHandler();
  void Reread();
  int CompareKey(const std::vector<Variant>& Values);

  std::vector<TIndexDef> FIndexDefs;
  bool FIndexDefsRead = false;
  String FIndexName, FIndexFields, FIndexDescFields;
  std::vector<Variant> FRangeStart, FRangeEnd;
  std::vector<TEngineFilter*> FFilters;
  int FNextHandle = 1;
  TFilterRecordEvent FUserFilter;
};
