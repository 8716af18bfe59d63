// This file implements TqvFilterDialog, the filter dialog component without its windows: its
// settings, the field catalogue it offers, and the execution of its criteria as a local record
// filter, as a filter text in the dataset's Filter, or as a WHERE clause with bound values merged
// into a query's SQL; the criteria can be saved to a file and read back. The windows that edit
// the criteria reach the component through qvFilterDialogWindow and change only FieldInfos.
#pragma once

#include <memory>
#include <vector>

#include "Collection.h"
#include "DataSource.h"
#include "Event.h"
#include "Strings.h"
#include "TypInfo.h"
#include "qvDialog.h"
#include "qvFilterCriteria.h"
#include "qvFilterWhere.h"
#include "qvRecordFilter.h"

class TqvFilterDialog;
class TqvTable;
class TForm;

enum TqvFilterDialogOption {
  fdCaseSensitive, fdShowCaseSensitive, fdShowOKCancel, fdShowViewSummary, fdShowFieldOrder, fdShowValueRangeTab,
  fdShowNonMatching, fdHidePartialAnywhere, fdDisableDateTimePicker, fdSizeable, fdTabsAtTop
};
VELBOR_ENUM(TqvFilterDialogOption, "fdCaseSensitive", "fdShowCaseSensitive", "fdShowOKCancel", "fdShowViewSummary",
            "fdShowFieldOrder", "fdShowValueRangeTab", "fdShowNonMatching", "fdHidePartialAnywhere",
            "fdDisableDateTimePicker", "fdSizeable", "fdTabsAtTop")
using TqvFilterDialogOptions = TSet<TqvFilterDialogOption>;

enum TqvFilterMethod { fdByFilter, fdByQueryModify };
VELBOR_ENUM(TqvFilterMethod, "fdByFilter", "fdByQueryModify")
enum TqvDefaultFilterBy { fdSmartFilter, fdFilterByRange, fdFilterByValue };
VELBOR_ENUM(TqvDefaultFilterBy, "fdSmartFilter", "fdFilterByRange", "fdFilterByValue")
enum TqvFilterFieldsFetchType { fmUseTTable, fmUseSQL, fmUseTFields };
VELBOR_ENUM(TqvFilterFieldsFetchType, "fmUseTTable", "fmUseSQL", "fmUseTFields")
enum TqvFilterOptimization { fdNone, fdUseAllIndexes, fdUseActiveIndex };
VELBOR_ENUM(TqvFilterOptimization, "fdNone", "fdUseAllIndexes", "fdUseActiveIndex")
enum TqvDatasetFilterType { fdUseOnFilter, fdUseFilterProp, fdUseBothFilterTypes };
enum TqvOnFilterPropertyOption { fdClearWhenNoCriteria, fdClearWhenCloseDataSet };
VELBOR_ENUM(TqvOnFilterPropertyOption, "fdClearWhenNoCriteria", "fdClearWhenCloseDataSet")
using TqvOnFilterPropertyOptions = TSet<TqvOnFilterPropertyOption>;
enum TqvFilterDialogSort { fdSortByFieldNo, fdSortByFieldName };
VELBOR_ENUM(TqvFilterDialogSort, "fdSortByFieldNo", "fdSortByFieldName")

// How a Filter text is written.
struct TqvFilterPropertyOptions {
  TqvDatasetFilterType DatasetFilterType = fdUseOnFilter;
  bool UseLikeOperator = false;
  char LikeWildcardChar = '%';
  bool LikeSupportsUpperKeyword = false;
  bool UseBracketsAroundFields = true;
};

// A table whose fields are offered for query modification.
struct TqvSQLTable {
  String TableName;
  String TableAliasName;
};

// One table of TqvFilterDialog's SQLTables, with the alias that qualifies its columns.
class TqvSQLTablesCollectionItem : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TqvSQLTablesCollectionItem, TCollectionItem)
 public:
  explicit TqvSQLTablesCollectionItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String TableName;
  String TableAliasName;
  // The index, " - ", then the alias, else the table name, else "<Unassigned>".
  String DisplayName() const override;
  void Assign(TPersistent* Source) override;
};

// The tables whose fields the dialog offers for query modification; owned by the dialog.
class TqvSQLTablesCollection : public TOwnedCollection {
  VELBOR_DECLARE_CLASS(TqvSQLTablesCollection, TOwnedCollection)
 public:
  explicit TqvSQLTablesCollection(TPersistent* AOwner = nullptr)
      : TOwnedCollection(AOwner, TqvSQLTablesCollectionItem::StaticClass()) {}
  TqvSQLTablesCollectionItem* Add() { return static_cast<TqvSQLTablesCollectionItem*>(TCollection::Add()); }
  TqvSQLTablesCollectionItem* Items(int Index) const {
    return static_cast<TqvSQLTablesCollectionItem*>(TCollection::Items(Index));
  }
};

using TqvOnExecuteSQLEvent = TEvent<void(TObject* Dialog, TDataSet* Query)>;
using TqvOnInitTempDataSetEvent = TEvent<void(TObject* Sender, TDataSet* OrigDataSet, TDataSet* TempDataSet)>;
using TqvOnInitFilterDlgEvent = TEvent<void(TObject* Dialog)>;
using TqvOnEncodeValueEvent = TEvent<void(TFieldType AFieldType, const String& AFieldName, String& AUserValue)>;
// Supplies a picture mask and a list of values for the field the window shows.
using TqvOnSelectFilterField = TEvent<void(TObject* Sender, const String& FieldName, String& PictureMask, TStrings* ComboList)>;
// Replaces the summary window: DoDefault (false on entry) set true shows it as well.
using TqvFilterDialogSummaryEvent =
    TEvent<void(TObject* Sender, const std::vector<TqvFieldInfo>& AFieldInfo, bool& DoDefault)>;

// The window that edits the criteria: shows them modally and answers whether it closed with OK
// and whether the criteria changed. The library's own window (qvFilterDialogForm) unless a program
// puts another in its place; null: no window, which Execute says.
using TqvFilterDialogWindow = bool (*)(TqvFilterDialog* Dialog, bool& Changed);
extern TqvFilterDialogWindow qvFilterDialogWindow;
// The summary window of a list of criteria (qvFilterSummaryForm).
void qvShowFilterSummary(TqvFilterDialog* Dialog, const std::vector<TqvFieldInfo>& Criteria);

class TqvFilterDialog : public TqvCustomDialog {
  VELBOR_DECLARE_CLASS(TqvFilterDialog, TqvCustomDialog)
 public:
  explicit TqvFilterDialog(TComponent* AOwner);
  ~TqvFilterDialog() override;

  // Properties.
  TDataSource* DataSource() const;
  // A table's data source makes FilterMethod fdByFilter.
  void SetDataSource(TDataSource* Value);
  TqvFilterDialogOptions Options{fdShowCaseSensitive, fdShowOKCancel, fdShowViewSummary, fdShowFieldOrder,
                                 fdShowValueRangeTab};
  TqvFilterDialogSort SortBy = fdSortByFieldNo;
  String Caption;
  TqvFilterMethod FilterMethod() const { return FFilterMethod; }
  // fdByQueryModify only for a dataset with an SQL text (a warning refuses it otherwise).
  void SetFilterMethod(TqvFilterMethod Value);
  TqvFilterMatchType DefaultMatchType = fdMatchStart;
  TqvDefaultFilterBy DefaultFilterBy = fdSmartFilter;
  String DefaultField;
  TqvFilterFieldsFetchType FieldsFetchMethod = fmUseTTable;
  // The words inside a search value, stored trimmed; any two equal (ignoring case) are warned of.
  const TqvFieldOperators& FieldOperators() const { return FOperators; }
  void SetOrChar(const String& Value);
  void SetAndChar(const String& Value);
  void SetNullChar(const String& Value);
  double Epsilon = 0.0001;  // widens floating-point ranges of local filtering
  TqvFilterPropertyOptions FilterPropertyOptions;
  TqvOnFilterPropertyOptions OnFilterPropertyOptions{fdClearWhenNoCriteria, fdClearWhenCloseDataSet};
  // "field[;label]" lines: the fields offered.
  TStrings* SelectedFields() const { return FSelectedFields.get(); }
  void SetSelectedFields(TStrings* Value) { FSelectedFields->Assign(Value); }
  TqvFilterOptimization FilterOptimization = fdNone;
  char UpperRangePadChar = 'z';
  int DlgHeight() const { return FDlgHeight; }
  // Only heights above 267 are taken.
  void SetDlgHeight(int Value);
  TqvQueryFormatDateMode QueryFormatDateMode = qfdMonthDayYear;
  TqvSQLTablesCollection* SQLTables() const { return FSQLTables.get(); }
  void SetSQLTables(TqvSQLTablesCollection* Value) { FSQLTables->Assign(Value); }
  String SQLUpperString;
  String SQLPropertyName;

  // Events.
  TqvOnInitFilterDlgEvent OnInitDialog;
  TqvOnExecuteSQLEvent OnExecuteSQL;
  TqvOnEncodeValueEvent OnEncodeValue;
  TqvOnInitTempDataSetEvent OnInitTempDataSet;
  TqvOnAcceptFilterRecord OnAcceptFilterRecord;
  TqvOnSelectFilterField OnSelectField;
  TqvFilterDialogSummaryEvent OnDialogSummary;

  // State the windows read and change.
  bool ShowDialog = true;
  bool QuoteFieldNames = false;
  bool UseFieldOrigin = true;  // a field's Origin names its table and column
  std::vector<TqvFieldInfo> FieldInfos;      // the criteria
  std::vector<TqvDBFieldInfo> DBFieldInfos;  // the field catalogue
  // The query's SQL as it was before the first query build: every build starts from it.
  TStringList* SavedSQL() const { return FSavedSQL.get(); }
  // The WHERE clause of the last query build, with its values.
  const TqvWhereClause& LastWhereClause() const { return FLastWhereClause; }
  // The filter text of the last filter-text build.
  const String& LastFilterText() const { return FLastFilterText; }

  // Operations.
  // With ShowDialog, the window edits the criteria (false when it is cancelled, or when no window
  // is linked in: that is said); then the criteria are applied as FilterMethod says.
  bool Execute() override;
  TDataSet* GetPrimaryDataSet() override;
  // Applies the criteria (the execution without window); false when a message said why not.
  bool ApplyCriteria();
  virtual String GetSQLPropertyName();
  // The dataset whose SQL is changed: a "TSimpleDataSet"'s inner dataset, else DataSet itself
  // (null: the searched dataset).
  virtual TDataSet* GetFilterDataSet(TDataSet* DataSet);
  // The catalogue: from the SQL's tables for query modification, else from the fields.
  virtual void BuildFieldInfos();
  virtual void BuildFieldInfosFromFields();
  virtual void BuildFieldInfosFromSQL();
  TqvDBFieldInfo* FindDBFieldInfo(const String& FieldName);
  TqvDBFieldInfo& AddDBFieldInfo();
  void ClearCriteria() { FieldInfos.clear(); }
  // The dataset's SQL text, as lines (empty without an SQL property).
  void GetSQLText(TStrings* Lines);
  void SetSQLText(TStrings* Lines);
  String GetSQLUpperFunction() const { return SQLUpperString.empty() ? String("Upper") : SQLUpperString; }
  String PadUpperRange(int Size, const String& Text) const { return qvPadUpperRange(Text, Size, UpperRangePadChar); }
  // The three ways of applying the criteria.
  void ApplyLocalFilter();
  bool ApplyQueryFilter();
  bool ApplyFilterProperty();
  // The index ranges of FilterOptimization on a table, before local filtering.
  void ApplyIndexRange(TqvTable* Table);
  bool RangeApplied() const { return FRangeApplied; }
  // The filter text of the criteria, one line per connector and per criterion; a criterion whose
  // field the dataset lacks raises EDatabaseError.
  std::vector<String> BuildFilterText();
  // The record test of local filtering.
  TqvRecordFilter* RecordFilter() { return &FRecordFilter; }

  // Writes the criteria to a file (EInOutError, EIniFileException when it cannot be written).
  void SaveCriteria(const String& FileName);
  // Reads criteria saved by SaveCriteria in place of the current ones. A missing or damaged file
  // is said in a message and leaves the current criteria as they were (false).
  bool LoadCriteria(const String& FileName);

  // Whether the dataset's class has an SQL text property (or is a query).
  bool HasSQLProperty();

  // The window while Execute shows it.
  TForm* FilterDlg() const { return FFilterDlg; }
  void SetFilterDlg(TForm* Window) { FFilterDlg = Window; }
  // The summary of the criteria: OnDialogSummary, then (unless it took over) the summary window.
  virtual void ShowSummary(const std::vector<TqvFieldInfo>& Criteria);
  // Fires OnInitDialog with the window, once it is set up.
  virtual void DoInitDialog();
  // Fires OnSelectField: a picture mask and a list of values for the field the window shows.
  virtual void DoSelectField(const String& FieldName, String& PictureMask, TStrings* ComboList);

 protected:
  friend class TqvFilterDataLink;
  virtual void DataSetActiveChanged(bool Active);
  virtual void DoInitTempDataSet(TDataSet* DataSet, TDataSet* TempDataSet);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetOperator(String& Word, const String& Value);
  void ClearFilterEvent(TDataSet* DataSet);
  void SetFilterEvent(TDataSet* DataSet);
  void AcceptRecord(TObject* Sender, TDataSet* DataSet, bool& Accept, bool& DefaultFiltering);

  std::unique_ptr<class TqvFilterDataLink> FDataLink;
  TqvFilterMethod FFilterMethod = fdByFilter;
  TqvFieldOperators FOperators;
  std::unique_ptr<TStringList> FSelectedFields, FSavedSQL;
  std::unique_ptr<TqvSQLTablesCollection> FSQLTables;
  int FDlgHeight = 267;
  TqvRecordFilter FRecordFilter;
  TqvWhereClause FLastWhereClause;
  String FLastFilterText;
  bool FRangeApplied = false;
  bool FInternalChange = false;
  TForm* FFilterDlg = nullptr;
};
