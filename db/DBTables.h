// This file implements the engine datasets over SQLite: TDBDataSet, their common base (a database
// file named by DatabaseName, and engine filters that see every record the dataset reads),
// TQuery (the rows of its lines of SQL) and TStoredProc, which answers that SQLite keeps no
// stored procedures.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ADODB.h"
#include "FilterDescriptor.h"

class TStringList;

// A record-filter callback: a plain function the dataset calls with its client data for every
// record it reads (the record under test is the dataset's filter record); false rejects it.
using TRecordFilterCallback = bool (*)(void* ClientData, TDataSet* DataSet);

class TDBDataSet : public TCustomADODataSet {
  VELBOR_DECLARE_CLASS(TDBDataSet, TCustomADODataSet)
 public:
  explicit TDBDataSet(TComponent* AOwner);
  ~TDBDataSet() override;

  // The database file (a Windows path). Without Connection the dataset opens it through a
  // connection of its own; closes the dataset first.
  const String& DatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const String& Value);

  // Engine filters; the handle (never 0) drops it again. A descriptor is checked when added
  // (EDatabaseError). Adding or dropping re-reads an open dataset.
  int AddFilter(std::vector<std::uint8_t> Descriptor);
  int AddFilter(TRecordFilterCallback Callback, void* ClientData);
  void DropFilter(int Handle);
  int FilterCount() const { return int(FFilters.size()); }
  // Calls every filter again: an open dataset is read again from its first record.
  void RefreshFilters();

  void SetOnFilterRecord(TFilterRecordEvent Value) override;
  // The operator's OnFilterRecord (OnFilterRecord answers the engine's handler while there are
  // engine filters).
  TFilterRecordEvent UserFilterRecord() const { return FUserFilter; }
  // The filtering the operator asks for; the dataset filters anyway while it has engine filters
  // (a Filter text then applies too), and goes back to this when the last one is dropped.
  void SetFiltered(bool Value) override;

 private:
  struct TEngineFilter;
  void EngineFilterRecord(TDataSet* DataSet, bool& Accept);
  void InstallFilterHandler();

  String FDatabaseName;
  std::vector<std::unique_ptr<TEngineFilter>> FFilters;
  int FNextHandle = 1;
  TFilterRecordEvent FUserFilter;
  bool FUserFiltered = false;
};

// The rows of a SELECT written as lines of SQL; a new text closes the query.
class TQuery : public TDBDataSet {
  VELBOR_DECLARE_CLASS(TQuery, TDBDataSet)
 public:
  explicit TQuery(TComponent* AOwner);
  ~TQuery() override;

  TStrings* SQL() const;
  void SetSQL(TStrings* Value);
  // Runs a statement that returns no rows with the parameters; answers the rows changed.
  int ExecSQL();

 private:
  void SQLChanged(TObject* Sender);
  std::unique_ptr<TStringList> FSQL;
};

// A stored procedure of the database. SQLite keeps none: opening and ExecProc raise
// EDatabaseError naming the procedure, never a silent empty answer.
class TStoredProc : public TDBDataSet {
  VELBOR_DECLARE_CLASS(TStoredProc, TDBDataSet)
 public:
  explicit TStoredProc(TComponent* AOwner);
  ~TStoredProc() override;

  const String& StoredProcName() const { return FStoredProcName; }
  void SetStoredProcName(const String& Value);
  void ExecProc();

 protected:
  void InternalOpen() override;

 private:
  [[noreturn]] void NotAvailable();
  String FStoredProcName;
};
