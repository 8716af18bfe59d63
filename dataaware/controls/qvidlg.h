// This file implements the lookup and search dialogs: TqvLookupDialog and TqvSearchDialog, two
// non-visual components that show a dataset in a modal grid with an incremental-search edit above
// it, and TqvLookupDlg, the window both show (also shown by the lookup combo with a dialog button
// through qvExecuteLookupDlg).
//
// The window borrows the caller's dataset: with UseTFields its grid shows the dataset's own field
// objects, so choosing columns, a sort order or dragging a column moves, hides and relabels them.
// Whatever the window did to the fields' order, visibility, labels and widths is undone when it
// closes, however it closes (OK, Cancel, an exception): the caller's forms keep their layout. The
// record the user last highlighted stays current, also after Cancel.
//
// Implemented in qvidlg.cpp (the components and qvExecuteLookupDlg) and qvidlgForm.cpp (the window:
// layout, sort order, keys).
#pragma once

#include <vector>

#include "DataSource.h"
#include "Forms.h"
#include "Qvdbgrid.h"
#include "Qvkeycb.h"
#include "qvDialog.h"

class TButton;
class THeaderControl;
class TLabel;
class TPanel;
class TqvDataSource;
class TqvLookupDlg;
class TTable;

enum TqvDBLookupDlgOption {
  opShowOKCancel, opShowSearchBy, opGroupControls, opFixFirstColumn, opShowStatusBar, opDisableReorderColumns
};
VELBOR_ENUM(TqvDBLookupDlgOption, "opShowOKCancel", "opShowSearchBy", "opGroupControls", "opFixFirstColumn",
            "opShowStatusBar", "opDisableReorderColumns")
using TqvDBLookupDlgOptions = TSet<TqvDBLookupDlgOption>;
inline constexpr TqvDBLookupDlgOptions qvDefaultLookupDlgOptions = {opShowOKCancel, opShowSearchBy};

// The grid options the dialogs start with, and the stored default of the property: a stored value
// equal to the latter loads as the former.
inline constexpr TqvDBGridOptions qvLookupDlgGridOptions = {
    dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection,
    dgConfirmDelete, dgPerfectRowFit};
inline constexpr TqvDBGridOptions qvLookupDlgGridOptionsStored = {
    dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgConfirmDelete};

using TqvUserButtonEvent = TEvent<void(TObject* Sender, TDataSet* LookupTable)>;
using TqvOnInitDialogEvent = TEvent<void(TqvLookupDlg* Dialog)>;
using TqvSyncDataSetsEvent = TEvent<void(TObject* Sender, TDataSet* MoveDataSet, TDataSet* BaseDataSet)>;

// The dialogs' messages.
extern const char* const qvLookupDlgNoLookupTable;   // "You must define a lookupTable."
extern const char* const qvLookupDlgNoSearchTable;   // "You must define a searchTable."
extern const char* const qvLookupDlgNotActive;       // "Search Table is not active."
extern const char* const qvLookupDlgSameObject;      // the two tables are one object
extern const char* const qvLookupDlgOtherTable;      // the two tables are not over one physical table
extern const char* const qvLookupDlgInactiveColumns; // "DataSet for this component must be active."

// What the window needs of its caller; the lookup dialogs and the lookup combo with a dialog fill
// it from their properties.
struct TqvLookupDlgSettings {
  TStrings* Selected = nullptr;  // null or empty: every visible field
  String Caption = "Lookup";
  TqvDBLookupDlgOptions Options = qvDefaultLookupDlgOptions;
  TqvDBGridOptions GridOptions = qvLookupDlgGridOptions;
  TColor GridColor = clWhite;
  TAlignment GridTitleAlignment = taLeftJustify;
  int MaxWidth = 0;
  int MaxHeight = 209;
  TEditCharCase CharCase = ecNormal;
  bool UseTFields = true;
  bool PictureMaskFromField = false;
  String InitialText;
  String UserButton1Caption, UserButton2Caption;
  TqvUserButtonEvent OnUserButton1Click, OnUserButton2Click;
  TqvOnInitDialogEvent OnInitDialog, OnCloseDialog;
  TNotifyEvent OnSortChange;
};

// Shows the window modally over DataSet and frees it; true when it closed with OK (DataSet then
// stands on the chosen row). ActiveForm (may be null) makes the window stay on top when it does;
// Owner is the component whose picture masks, control types, search delay and custom search apply.
// The dataset's field layout is given back before it returns or throws.
bool qvExecuteLookupDlg(TCustomForm* ActiveForm, TComponent* Owner, TDataSet* DataSet,
                        const TqvLookupDlgSettings& Settings);
// Lines gets one "Selected" line per visible field of an active DataSet (name TAB width TAB label
// TAB "F"); an inactive one gives an information message and no line.
void qvBuildLookupSelected(TStrings* Lines, TDataSet* DataSet);

// The order, visibility, labels and widths of a dataset's fields, taken once and put back.
class TqvFieldLayout {
 public:
  explicit TqvFieldLayout(TDataSet* DataSet);
  // Puts the fields back as they were taken (fields freed meanwhile are skipped).
  void Restore();

 private:
  struct TEntry {
    TField* Field;
    bool Visible;
    bool LabelStored;
    String Label;
    int Width;
  };
  TDataSet* FDataSet;
  std::vector<TEntry> FEntries;
};

class TqvCustomLookupDialog : public TqvCustomDialog {
  VELBOR_DECLARE_CLASS(TqvCustomLookupDialog, TqvCustomDialog)
 public:
  explicit TqvCustomLookupDialog(TComponent* AOwner);
  ~TqvCustomLookupDialog() override;

  // Properties.
  TStrings* Selected() const { return FSelected; }
  void SetSelected(TStrings* Value);
  TAlignment GridTitleAlignment = taLeftJustify;
  TColor GridColor = clWhite;
  TqvDBLookupDlgOptions Options = qvDefaultLookupDlgOptions;
  TqvDBGridOptions GridOptions = qvLookupDlgGridOptions;
  String Caption;
  int MaxWidth = 0;
  int MaxHeight = 209;
  TEditCharCase CharCase = ecNormal;
  bool PictureMaskFromField = false;
  bool UseTFields = true;
  String UserButton1Caption, UserButton2Caption;
  TStrings* ControlType() const { return FControlType; }
  void SetControlType(TStrings* Value);
  bool ControlInfoInDataset = true;
  TStrings* PictureMasks() const { return FPictureMasks; }
  void SetPictureMasks(TStrings* Value);
  bool PictureMaskFromDataset = true;
  // The browsed dataset (LookupTable, ShadowSearchTable) and the search table.
  TDataSet* ShadowSearchTable() const { return FLookupTable; }
  void SetShadowSearchTable(TDataSet* Value);
  TDataSet* SearchTable() const { return FSearchTable; }
  void SetSearchTable(TDataSet* Value);

  // Events.
  TqvUserButtonEvent OnUserButton1Click, OnUserButton2Click;
  TqvOnInitDialogEvent OnInitDialog, OnCloseDialog;
  TNotifyEvent OnSortChange;
  TqvPerformSearchEvent OnPerformCustomSearch;
  TqvSyncDataSetsEvent OnSyncDataSets;

  // Operations.
  // The search dialog's run: the window over the browsed dataset (or the search table when there
  // is none); with both, the search table moves to the chosen row only on OK.
  bool Execute() override;
  // EInvalidOperation: the descendants say which dataset is theirs.
  TDataSet* GetPrimaryDataSet() override;
  // Puts MoveDataSet on BaseDataSet's current record: OnSyncDataSets when assigned, else the
  // values of an engine table's primary key.
  virtual void DoSyncDataSets(TDataSet* MoveDataSet, TDataSet* BaseDataSet);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TqvLookupDlgSettings Settings();
  void Warn(const char* Text);

  TDataSet* FLookupTable = nullptr;
  TDataSet* FSearchTable = nullptr;

 private:
  TStringList* FSelected;
  TStringList* FControlType;
  TStringList* FPictureMasks;
};

class TqvLookupDialog : public TqvCustomLookupDialog {
  VELBOR_DECLARE_CLASS(TqvLookupDialog, TqvCustomLookupDialog)
 public:
  explicit TqvLookupDialog(TComponent* AOwner);
  TDataSet* LookupTable() const { return FLookupTable; }
  TDataSet* GetLookupTable() const { return FLookupTable; }
  void SetLookupTable(TDataSet* Value) { SetShadowSearchTable(Value); }
  // The window over LookupTable; true when the user confirmed a row.
  bool Execute() override;
  TDataSet* GetPrimaryDataSet() override { return FLookupTable; }
};

class TqvSearchDialog : public TqvCustomLookupDialog {
  VELBOR_DECLARE_CLASS(TqvSearchDialog, TqvCustomLookupDialog)
 public:
  explicit TqvSearchDialog(TComponent* AOwner);
  TDataSet* GetPrimaryDataSet() override { return FSearchTable; }
};

// The window's sort-order combo: its Down key opens its list, and a new order runs the window's
// sort change once the dataset has taken it.
class TqvTempKeyCombo : public TqvKeyCombo {
  VELBOR_DECLARE_CLASS(TqvTempKeyCombo, TqvKeyCombo)
 public:
  // The owner is the window.
  explicit TqvTempKeyCombo(TComponent* AOwner);
  // The dataset's sort order as the combo last saw it applied.
  String CurrentOrder();
  void NoteOrder() { FLastOrder = CurrentOrder(); }

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Change() override;

 private:
  TqvLookupDlg* FDialog;
  String FLastOrder;
};

class TqvLookupDlg : public TForm {
  VELBOR_DECLARE_CLASS(TqvLookupDlg, TForm)
 public:
  explicit TqvLookupDlg(TComponent* AOwner);

  TLabel* SearchCharacterLabel = nullptr;
  TLabel* SortByLabel = nullptr;
  TqvDBGrid* qvDBGrid1 = nullptr;
  TqvIncrementalSearch* qvIncrementalSearch1 = nullptr;
  TPanel* UserButtonPanel = nullptr;
  TButton* UserButton1 = nullptr;
  TButton* UserButton2 = nullptr;
  TqvDataSource* DataSource1 = nullptr;
  TButton* OKBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TqvTempKeyCombo* qvKeyCombo1 = nullptr;
  // The status line under the grid (opShowStatusBar, over an engine table): the table's name and
  // the current record's position.
  THeaderControl* StatusHeader = nullptr;

  // What the caller gave; read by OnInitDialog, which may change the limits and the left edge.
  TDataSet* DataSet = nullptr;
  TComponent* OwnerComponent = nullptr;
  TqvDBLookupDlgOptions Options;
  int MaxWidth = 0;
  int MaxHeight = 360;
  String InitialText;
  bool PictureMaskFromField = false;
  TqvUserButtonEvent OnUserButton1Click, OnUserButton2Click;
  TqvOnInitDialogEvent OnInitDialog, OnCloseDialog;
  TNotifyEvent OnSortChange;

  // Places the controls and sizes the window around the grid; WidthsOnly after a sort change.
  void ArrangeControls(bool WidthsOnly);
  // The search edit's field (and the column order) follow the dataset's sort order.
  void ApplySortOrder();
  void SearchFieldFromFirstColumn();
  // The status line follows the current record (when it is shown).
  void UpdateStatus();

  // Handlers.
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void FormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void qvKeyCombo1Change(TObject* Sender);
  void qvKeyCombo1Enter(TObject*) {}
  void qvDBGrid1DblClick(TObject* Sender);
  void qvDBGrid1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void qvDBGrid1ColumnMoved(TObject* Sender, int FromIndex, int ToIndex);
  void DataSource1DataChange(TObject*, TField*) { UpdateStatus(); }
  void UserButton1Click(TObject* Sender);
  void UserButton2Click(TObject* Sender);

 protected:
  void DoShow() override;
  void Activate() override;

 private:
  bool SortableDataSet();
  // An open engine table that numbers its records.
  TTable* StatusTable();
  void ApplyIntlStrings();
  void ApplySearchPictureMask();

  bool FActivated = false;
  bool FShowing = false;
  bool FMemoClicked = false;
  bool FPassingKey = false;
  int FRequestedLeft = -1;
};
