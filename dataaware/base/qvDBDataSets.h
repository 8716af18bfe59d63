// This file implements the library's four dataset classes over the engine datasets of db/:
// TqvTable (a table with a filter expression, a query text in place of the table, index and range
// helpers and a key search over lookup values), TqvQuery (a query), TqvStoredProc (a stored
// procedure: SQLite has none, and opening one says so) and TqvQBE (a query-by-example text:
// SQLite has no such language, and running one says so).
//
// All four publish the per-field settings lines the grids and edit controls read by name
// (ControlType, LookupFields, LookupLinks, PictureMasks), fill calculated lookup fields from
// their lookup tables, check values against the picture masks before posting, and offer OnFilter,
// a record filter the engine calls for every record through a callback, with the hour-glass and
// cancel-by-Escape options of OnFilterOptions. The shared part is TqvDataSetParts.
#pragma once

#include <memory>
#include <vector>

#include "DBTables.h"
#include "Params.h"
#include "Strings.h"
#include "Table.h"
#include "qvDataSetUtils.h"
#include "qvLookupTables.h"

class TqvTable;

// The record filters: the dataset and the answer (the platform's OnFilterRecord signature, so the
// filter dialog's handler fits every class).
using TqvTableFilterEvent = TFilterRecordEvent;
using TqvQueryFilterEvent = TFilterRecordEvent;
using TqvStoredProcFilterEvent = TFilterRecordEvent;
using TqvQBEFilterEvent = TFilterRecordEvent;
using TqvQBEErrorEvent = TEvent<void(TDataSet* Qbe, int ErrorCode)>;

// What the four classes share: the settings lists, the mask check, the record-filter callback
// and the field values of the record under test.
class TqvDataSetParts : public TObject {
 public:
  explicit TqvDataSetParts(TDBDataSet* DataSet);
  ~TqvDataSetParts() override;
  TqvDataSetParts(const TqvDataSetParts&) = delete;
  TqvDataSetParts& operator=(const TqvDataSetParts&) = delete;

  std::unique_ptr<TStringList> ControlType, LookupFields, LookupLinks, PictureMasks;
  bool ValidateWithMask = true;
  TqvInvalidValueEvent OnInvalidValue;
  TFilterRecordEvent OnFilter;
  TDataSetNotifyEvent OnFilterEscape;
  TqvOnFilterOptions OnFilterOptions{ofoEnabled, ofoShowHourGlass};
  int CallbackFilterHandle = 0;
  TqvLookupTableList LookupTables;  // components owned by the dataset
  TParam FilterParam;
  int CallCount = 0;
  bool InFilterEvent = false;
  bool ProcessingOnFilter = false;

  // The callback the engine calls for every record (client data: these parts).
  static bool FilterCallback(void* ClientData, TDataSet* DataSet);
  // Installs the callback (or drops it without OnFilter handler); false when the engine gave no
  // handle for a handler.
  bool InstallCallback();
  void DropCallback();
  // The OnFilter setter of the query-like classes: a handler on an open dataset whose engine
  // refuses the callback gets RefusalMessage as a warning.
  void SetOnFilter(TFilterRecordEvent Value, bool Active, const String& RefusalMessage);
  // The OnFilterOptions setter: removing ofoEnabled from an open dataset with a handler shows the
  // hidden records again (at once, or, when Escape turned it off during a read, at the next read).
  void SetFilterOptions(TqvOnFilterOptions Value);
  // After each read and data event: the cursor the hour-glass replaced comes back.
  void RestoreFilterCursor();
  // The lines of fields that no longer exist go, then the lookup fields are filled.
  void CalcFields();
  // The values checked against the picture masks (EDatabaseError on the first invalid one).
  void CheckMasks();
  // The value of a field in the record under test: memos cut to the filter's memo size, lookup
  // fields resolved through their tables, auto-increments reported as integers. A missing field
  // raises "Champ '%s' non trouvé".
  TParam* GetFilterFieldParam(const String& FieldName);
  // Frees the lookup tables.
  void FreeLookupTables();

 private:
  TDBDataSet* FDataSet;
  int FSavedCursor = 0;
  bool FInCallback = false;
};

// The published settings of the four classes (declared in each, so that each publishes them).
#define QV_DATASET_SETTINGS                                                                          \
 public:                                                                                             \
  TStrings* ControlType() const { return FParts.ControlType.get(); }                                 \
  void SetControlType(TStrings* Value) { FParts.ControlType->Assign(Value); }                        \
  TStrings* LookupFields() const { return FParts.LookupFields.get(); }                               \
  void SetLookupFields(TStrings* Value) { FParts.LookupFields->Assign(Value); }                      \
  TStrings* LookupLinks() const { return FParts.LookupLinks.get(); }                                 \
  void SetLookupLinks(TStrings* Value) { FParts.LookupLinks->Assign(Value); }                        \
  TStrings* PictureMasks() const { return FParts.PictureMasks.get(); }                               \
  void SetPictureMasks(TStrings* Value) { FParts.PictureMasks->Assign(Value); }                      \
  bool ValidateWithMask() const { return FParts.ValidateWithMask; }                                  \
  void SetValidateWithMask(bool Value) { FParts.ValidateWithMask = Value; }                          \
  TqvInvalidValueEvent OnInvalidValue() const { return FParts.OnInvalidValue; }                      \
  void SetOnInvalidValue(TqvInvalidValueEvent Value) { FParts.OnInvalidValue = Value; }              \
  TDataSetNotifyEvent OnFilterEscape() const { return FParts.OnFilterEscape; }                       \
  void SetOnFilterEscape(TDataSetNotifyEvent Value) { FParts.OnFilterEscape = Value; }               \
  TqvOnFilterOptions OnFilterOptions() const { return FParts.OnFilterOptions; }                      \
  void SetOnFilterOptions(TqvOnFilterOptions Value) { FParts.SetFilterOptions(Value); }              \
  TFilterRecordEvent OnFilter() const { return FParts.OnFilter; }                                    \
  TParam* GetFilterFieldParam(const String& FieldName) { return FParts.GetFilterFieldParam(FieldName); } \
  TqvLookupTableList& LookupTableList() override { return FParts.LookupTables; }                     \
  /* The engine filter handle of the OnFilter callback (0: none). */                                 \
  int CallbackFilterHandle() const { return FParts.CallbackFilterHandle; }                           \
  bool IsSequenced() override;                                                                       \
  void DataEvent(TDataEvent Event, intptr_t Info) override;                                          \
                                                                                                     \
 protected:                                                                                          \
  void DoOnCalcFields() override;                                                                    \
  void DoBeforePost() override;                                                                      \
  TqvDataSetParts FParts{this};                                                                      \
                                                                                                     \
 public:

class TqvTable : public TTable, public IqvLookupTableOwner, public IqvLookupTable {
  VELBOR_DECLARE_CLASS(TqvTable, TTable)
  QV_DATASET_SETTINGS
  explicit TqvTable(TComponent* AOwner);
  ~TqvTable() override;

  // Installs the callback, or drops it for an empty handler.
  void SetOnFilter(TFilterRecordEvent Value);
  // The filter expression; set on an open table it is applied at once ("Fail to set filter" when
  // it does not parse), otherwise when the table opens.
  TStrings* qvFilter() const { return FFilterLines.get(); }
  void SetqvFilter(TStrings* Value);
  // The first line, then " AND (" line ")" for each further one; blank lines are skipped.
  String GetFilterText() const;
  // The engine filter handle of the expression (0: none).
  int TextFilterHandle() const { return FTextFilterHandle; }
  // An SQL text whose rows the table opens instead of TableName; setting one closes the table and
  // clears TableName, the index and the master link. Its ":name" places become Parameters; a
  // master source set afterwards gives them the values of its fields of the same names, and the
  // rows are read again when the master moves. A query-by-example text (first word "query") is
  // refused when the table opens: SQLite has no such language.
  TStrings* Query() const { return FQuery.get(); }
  void SetQuery(TStrings* Value);
  String QueryType() const;
  // Setting a name clears the query text.
  void SetTableName(const String& Value);
  bool SyncSQLByRange = false;  // accepted: an SQLite file is searched by key, not through ranges
  bool NarrowSearch = false;
  char NarrowSearchUpperChar = char(255);
  TNotifyEvent OnDestroy;

  // Index helpers.
  void RefreshIndexDefs();
  // The fields of the named index; with an empty name, of "PrimaryKey".
  String IndexFieldsOf(const String& IndexName);
  // The first index whose fields begin with Fields (at a ";" boundary, ignoring case) and whose
  // case-insensitivity is !CaseSensitive; with Exact, one of exactly those fields.
  bool FindIndex(const String& Fields, bool CaseSensitive, bool Exact, String& Name);
  // The index over Fields, exact first; empty when none (never a name that is not an index).
  String IndexForFields(const String& Fields, bool CaseSensitive);
  String FirstIndexFieldName();
  // Makes an index over Fields the active one; false when there is none.
  bool SelectIndexForFields(const String& Fields) override;
  void SetIndexFromSelected(TStrings* Lines);
  void SwitchToIndex(const String& Name);
  // A range from Values, open at its end.
  void SetRangeStartOnly(const std::vector<Variant>& Values);
  void CancelSearchRange();

  // Key searches: the platform's FindKey, and the lookup search over texts.
  using TTable::FindKey;

  // IqvLookupTable.
  TDataSet* LookupDataSet() override { return this; }
  String DatabaseName() override { return TDBDataSet::DatabaseName(); }
  void SetDatabaseName(const String& Value) override { TDBDataSet::SetDatabaseName(Value); }
  String TableName() override { return TTable::TableName(); }
  String IndexName() override { return TTable::IndexName(); }
  void SetIndexName(const String& Value) override { TTable::SetIndexName(Value); }
  int IndexFieldCount() override { return TTable::IndexFieldCount(); }
  String IndexForFieldsAnyCase(const String& Fields) override;
  bool FindKey(const std::vector<String>& Values) override;
  void SetReadOnly(bool Value) override;

 protected:
  String StatementText() const override;
  void InternalOpen() override;
  void InternalClose() override;

 private:
  void FilterLinesChanged(TObject* Sender);
  void QueryLinesChanged(TObject* Sender);
  bool ApplyFilterText(bool Force);

  std::unique_ptr<TStringList> FFilterLines, FQuery;
  int FTextFilterHandle = 0;
  bool FPreparing = false;
  bool FSettingFilter = false;
};

class TqvQuery : public TQuery, public IqvLookupTableOwner {
  VELBOR_DECLARE_CLASS(TqvQuery, TQuery)
  QV_DATASET_SETTINGS
  explicit TqvQuery(TComponent* AOwner);
  ~TqvQuery() override;

  // A handler on an open query installs the callback at once, on a closed one when it opens.
  void SetOnFilter(TFilterRecordEvent Value);
  // Query-by-example answer tables have no counterpart over SQLite: a name here is reported in a
  // warning when the query opens, and no table is made.
  String AnswerTable;

 protected:
  void DoAfterOpen() override;
};

class TqvStoredProc : public TStoredProc, public IqvLookupTableOwner {
  VELBOR_DECLARE_CLASS(TqvStoredProc, TStoredProc)
  QV_DATASET_SETTINGS
  explicit TqvStoredProc(TComponent* AOwner);
  ~TqvStoredProc() override;

  void SetOnFilter(TFilterRecordEvent Value);

 protected:
  void DoAfterOpen() override;
};

class TqvQBE : public TDBDataSet, public IqvLookupTableOwner {
  VELBOR_DECLARE_CLASS(TqvQBE, TDBDataSet)
  QV_DATASET_SETTINGS
  explicit TqvQBE(TComponent* AOwner);
  ~TqvQBE() override;

  // The error code OnError receives: the engine cannot run query-by-example texts.
  static constexpr int ErrNotAvailable = 1;

  void SetOnFilter(TFilterRecordEvent Value);
  TStrings* QBE() const { return FQBE.get(); }
  // Copies the lines; an open dataset is opened again.
  void SetQBE(TStrings* Value);
  // The text as it is run: every "~name" variable becomes a blank, the lines joined by CR LF.
  String QBEText() const;
  String AnswerTable;
  bool AuxiliaryTables = true;
  bool BlankAsZero = true;
  TqvQBEErrorEvent OnError;

 protected:
  // A text is never run: OnError receives ErrNotAvailable, then EDatabaseError says why. An empty
  // text raises EDatabaseError too (no text, no answer).
  void InternalOpen() override;
  void DoAfterOpen() override;

 private:
  std::unique_ptr<TStringList> FQBE;
};
