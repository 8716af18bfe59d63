// This file implements the lookup combo and its list: TqvDBLookupList, a list of the rows of a
// lookup table on the grid engine that keeps the key and display values of the chosen row;
// TqvPopupGrid, the same list as the borderless top-level drop-down of a combo; and
// TqvDBCustomLookupCombo with the published TqvDBLookupCombo, an edit bound to one field that shows
// the lookup table's display value for the field's key, searches the table as the user types,
// drops the list down under itself and writes the key of the chosen row into the field.
// Implemented in qvdblook.cpp (the list and the drop-down) and qvdblookCombo.cpp (the combo:
// binding, shown text, typing and search, drop-down and close-up, value acceptance).
#pragma once

#include <memory>
#include <vector>

#include "Qvdbigrd.h"
#include "Qvdotdot.h"
#include "Qvkeycb.h"
#include "qvControlUtils.h"

class TqvDBCustomLookupCombo;
class TTimer;
class TTable;

enum TqvDBLookupListOption { loColLines, loRowLines, loTitles, loFixedDropDownHeight, loSearchOnBackspace };
VELBOR_ENUM(TqvDBLookupListOption, "loColLines", "loRowLines", "loTitles", "loFixedDropDownHeight",
            "loSearchOnBackspace")
using TqvDBLookupListOptions = TSet<TqvDBLookupListOption>;

enum TqvSeqSearchOption { ssoEnabled, ssoCaseSensitive };
VELBOR_ENUM(TqvSeqSearchOption, "ssoEnabled", "ssoCaseSensitive")
using TqvSeqSearchOptions = TSet<TqvSeqSearchOption>;

// FillTable is the bound dataset (null when none); Modified says whether the stored key changed.
using TNotifyCloseUpEvent = TEvent<void(TObject* Sender, TDataSet* LookupTable, TDataSet* FillTable, bool Modified)>;
// Accept comes in True; False restores the text and key the combo had when it was entered.
using TNotInListEvent = TEvent<void(TObject* Sender, TDataSet* LookupTable, const String& NewValue, bool& Accept)>;

// The messages of the lookup controls.
extern const char* const qvLookupDuplicateSources;   // a data source whose dataset is the lookup table
extern const char* const qvLookupFieldNotFound;      // "%s": the whole LookupField
extern const char* const qvLookupNoTable;            // DropDown without a lookup table

// What the drop-down grid takes from its combo each time it drops down.
class TqvDropDownGridOptions : public TPersistent {
  VELBOR_DECLARE_CLASS(TqvDropDownGridOptions, TPersistent)
 public:
  int TitleLines = 1;
  TColor Color = clWindow;
  TAlignment TitleAlignment = taLeftJustify;
  void Assign(TPersistent* Source) override;
};

class TqvDBLookupList : public TqvCustomDBGrid {
  VELBOR_DECLARE_CLASS(TqvDBLookupList, TqvCustomDBGrid)
  friend class TqvDBCustomLookupCombo;

 public:
  explicit TqvDBLookupList(TComponent* AOwner);
  ~TqvDBLookupList() override;

  // Properties.
  TDataSource* LookupSource() const { return FLookupSource; }
  TDataSet* LookupTable() const;
  // EInvalidOperation when Value is the dataset the owning combo is bound to.
  void SetLookupTable(TDataSet* Value);
  const String& LookupField() const { return FLookupField; }
  // Up to three key fields separated by ";"; the first must exist in an open lookup table.
  void SetLookupField(const String& Value);
  TqvDBLookupListOptions ListOptions() const { return FListOptions; }
  void SetListOptions(TqvDBLookupListOptions Value);
  TqvDBCustomLookupCombo* Combo() const { return FCombo; }
  // The list's own binding, when it is used on its own: the field takes the chosen row's key.
  // EInvalidOperation for a data source that is the lookup source or shows the lookup table.
  TDataSource* DataSource() const { return FFieldLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  String DataField() const { return FFieldLink->FieldName(); }
  void SetDataField(const String& Value) { FFieldLink->SetFieldName(Value); }
  bool ReadOnly() const { return FFieldLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FFieldLink->SetReadOnly(Value); }
  // Key fields 1 to 3 (null when not named or missing), the display field.
  TField* KeyField(int Index) const { return Index >= 1 && Index <= 3 ? FKeyFields[Index - 1] : nullptr; }
  int KeyFieldCount() const { return FKeyFieldCount; }
  TField* DisplayField() const { return FDisplayField; }
  bool DisplayIsKey() const { return FDisplayField != nullptr && FDisplayField == FKeyFields[0]; }
  // The values of the chosen row.
  String LookupValue, LookupValue2, LookupValue3, DisplayValue;
  // The chosen row among the buffered rows, -1 when it is not one of them.
  int SelectedRow = -1;
  int TitleRows() const { return FTitleRows; }
  // The last search for the bound value found its row.
  bool ListFound() const { return FListFound; }
  TNotifyEvent OnClick;

  // Operations.
  // Resolves the key and display fields; with Errors a missing key field 1 raises.
  void UpdateLookupFields(bool Errors);
  // Takes the key of a row: finds the row and its display value (empty when none).
  void SetLookupValue(const String& Value);
  // Moves the lookup table to the row of the key values; false (the table on its first row) when
  // none holds them.
  bool LocateKey(const String& Value, const String& Value2, const String& Value3);
  // The current row's values become the chosen ones.
  void TakeCurrentRow();
  void ClearValues();
  // The chosen row is the current one of the lookup table.
  bool IsChosenRow();

  // Overridables.
  virtual bool CanSelectValue();
  // A row taken by a key or the mouse: its values, then OnClick.
  virtual void SelectCurrent();

 protected:
  void BuildFieldMap() override;
  void LayoutColumns() override;
  bool IsCellHighlighted(int DataCol, int DataRow, TGridDrawState State) override;
  void DataLinkActiveChanged(bool Active) override;
  // A detail lookup table read its rows again (another master record, a master field changed):
  // the combo finds its key among them.
  void DataChanged() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

  TqvDBCustomLookupCombo* FCombo = nullptr;
  TFieldDataLink* FFieldLink;
  bool FInKeyDown = false;
  bool FSelecting = false;
  // The combo's data change is running (nested calls come from the detail lookup table).
  int FDataChangeDepth = 0;
  bool FListFound = false;

 private:
  void LookupFieldsChanged();
  // The own link's notifications: the field's key is shown, the chosen key is written.
  void FieldDataChange(TObject* Sender);
  void FieldUpdateData(TObject* Sender);
  void FieldActiveChange(TObject* Sender);

  TDataSource* FLookupSource;
  String FLookupField;
  TqvDBLookupListOptions FListOptions;
  TField* FKeyFields[3] = {nullptr, nullptr, nullptr};
  TField* FDisplayField = nullptr;
  int FKeyFieldCount = 0;
  int FTitleRows = 0;
};

// The drop-down of a lookup combo: a top-level tool window that never takes the focus from its
// combo, yet draws its chosen row as focused.
class TqvPopupGrid : public TqvDBLookupList {
  VELBOR_DECLARE_CLASS(TqvPopupGrid, TqvDBLookupList)
 public:
  // The owner is the combo.
  explicit TqvPopupGrid(TComponent* AOwner);
  bool CanSelectValue() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // A top-level window has no child identifier.
  void CreateWindowHandle(const TCreateParams& Params) override { TWinControl::CreateWindowHandle(Params); }
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
};

class TqvDBCustomLookupCombo : public TqvDBCustomCombo {
  VELBOR_DECLARE_CLASS(TqvDBCustomLookupCombo, TqvDBCustomCombo)
  friend class TqvDBLookupList;
  friend class TqvPopupGrid;

 public:
  explicit TqvDBCustomLookupCombo(TComponent* AOwner);
  ~TqvDBCustomLookupCombo() override;

  // Properties.
  TDataSource* DataSource() const { return TqvDBCustomEdit::DataSource(); }
  String DataField() const { return TqvDBCustomEdit::DataField(); }
  // EInvalidOperation when the data source's dataset is the lookup table.
  void SetDataSource(TDataSource* Value);
  // Also derives LookupField from a lookup field's key fields.
  void SetDataField(const String& Value);
  TDataSet* LookupTable() const { return FList->LookupTable(); }
  TDataSet* GetLookupTable() const { return LookupTable(); }
  void SetLookupTable(TDataSet* Value);
  const String& LookupField() const { return FList->LookupField(); }
  void SetLookupField(const String& Value);
  TStrings* Selected() const { return FList->Selected(); }
  void SetSelected(TStrings* Value) { FList->SetSelected(Value); }
  TqvDBLookupListOptions Options() const { return FList->ListOptions(); }
  void SetOptions(TqvDBLookupListOptions Value) { FList->SetListOptions(Value); }
  // Stored only: the next key or click follows it.
  void SetStyle(TqvDBLookupComboStyle Value) override;
  int DropDownCount = 8;
  // 0: from the columns.
  int DropDownWidth = 0;
  TLeftRight DropDownAlignment = taLeftJustify;
  bool AutoDropDown = false;
  // Milliseconds from the first key of a burst to its search; 0 keeps 200.
  int SearchDelay = 0;
  TqvSeqSearchOptions SeqSearchOptions = {ssoEnabled};
  bool ShowMatchText = false;
  bool AllowClearKey = false;
  bool UseTFields() const { return FUseTFields; }
  void SetUseTFields(bool Value);
  bool OrderByDisplay = true;
  bool ControlInfoInDataset = true;
  // Follows the lookup table's cursor: while the list is closed, a move of the table made
  // elsewhere shows that row's display text and takes its key.
  bool Navigator() const { return FNavigator; }
  void SetNavigator(bool Value);
  TqvPopupGrid* List() const { return FList; }
  TqvDropDownGridOptions* GridOptions() const { return FGridOptions.get(); }
  TTimer* SearchTimer() const { return FSearchTimer; }
  bool ListVisible() const;
  String LookupValue() const { return FList->LookupValue; }
  String GetLookupValue() const { return LookupValue(); }
  String GetLookupValue2() const { return FList->LookupValue2; }
  String GetLookupValue3() const { return FList->LookupValue3; }
  String DisplayValue() const { return FList->DisplayValue; }
  String GetDisplayText() { return Text(); }
  // The typed text when typing is allowed, else the key.
  String GetSearchText();

  // Events.
  TNotifyEvent OnBeforeDropDown, OnDropDown;
  TNotifyCloseUpEvent OnCloseUp;
  TNotInListEvent OnNotInList;
  TqvPerformSearchEvent OnPerformCustomSearch;

  // Operations.
  // Finds the lookup row of the field's value again and shows it (empty text when none).
  void RefreshLookupDisplay();
  // Takes a key: the list finds its row and the text becomes its display value.
  void SetLookupValue(const String& Value);
  // Restores a text with its row.
  void SetDisplayValue(const String& Value);
  // Accepts the list's chosen row (the list's OnClick).
  void AcceptListValue(TObject* Sender);
  // Searches the typed text now (also the search timer's handler).
  virtual void SearchTypedText(TObject* Sender = nullptr);
  // Looks for a row whose FieldName begins with (MatchKind 1) or equals (0) Value.
  virtual bool FindLookupValue(const String& Value, const String& FieldName, bool PerformLookup, bool CaseSensitive,
                               int MatchKind);
  // Looks for a row through the index of an engine lookup table (Partial 1: the field begins with
  // Value; 0: equals it); a field that is not the index's at the searched place is searched by value.
  virtual bool FindByIndexValue(const String& Value, const String& FieldName, int Partial);
  // Orders an engine lookup table by the key fields, or ByDisplay by the first column, keeping its
  // current row; other lookup tables keep their order.
  void ApplyLookupOrder(bool ByDisplay);
  // Searches go by field value, not through the lookup table's active index.
  bool UsesFieldSearch();
  // The lookup table is an engine table with a master source.
  bool HasDetailLookupTable();
  // The lookup table, of any kind, is the detail of a master source.
  bool LookupTableIsDetail();
  // A detail lookup table whose master is the bound data source still holds the rows of another
  // master record (its first linked field differs from the master's).
  bool DetailOutOfStep();
  // Runs a search the timer still holds, or takes the list's chosen row.
  void TakeSelectedRow();
  // Places the open list under or over the combo, inside the work area.
  void PositionDropDown();
  // The width of the first columns less Skip, with the thumb's width.
  int CalcColumnsWidth(int Skip);
  bool AllowsTyping() override;
  bool CanEditValue();
  bool DisplayIsKey() const { return FList->DisplayIsKey(); }
  // The bound field is calculated or a lookup field: the key fields are written instead.
  bool BindsLookupField();
  // For a lookup-field binding: the bound dataset's fields that hold the key (a lookup field's key
  // fields, or the first field of each pair of a calculated field's "LookupLinks" line) and the
  // lookup table's fields they match; empty otherwise.
  std::vector<String> LinkKeyFields();
  std::vector<String> LinkLookupFields();
  // Writes the chosen row's key into the bound dataset's key fields; whether any differed.
  bool WriteLookupKeyFields();
  bool IsDroppedDown() override { return ListVisible(); }
  bool CanEditText() override { return AllowsTyping(); }
  // The display value of a key, found without moving the lookup table.
  bool MapValueToDisplay(const String& Value, String& Display) override;
  void DropDown() override;
  void CloseUp(bool Accept) override;

  // Overridables.
  virtual bool UsesLookupDialog() { return false; }
  virtual void DoPerformCustomSearch(const String& Field, const String& Value, bool PerformLookup, bool& Found);

 protected:
  void DataChange() override;
  void EditingChange() override;
  void UpdateData() override;
  String GetFieldText() override;
  void Loaded() override;
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void Change() override;
  void DoEnter() override;
  void Dispatch(TMessage& Message) override;
  void BeginEdit();
  void RestoreSavedText();
  // The check of a typed text when no list is open (leaving, writing the record).
  void CheckTypedText();
  void SelectAllIfTyping();
  // The column the drop-down shows when none is given.
  void AddDefaultColumn();
  // Where FSearchField is among the active index's fields: 0 when it is empty, -1 when absent.
  int IndexPositionOfSearchField();
  // The typed text searched through the lookup table's active index.
  bool SearchIndex(const String& Typed);
  // From the row an index search stopped on, the first row whose index field Position holds
  // Value (Partial: begins with it) in Value's own case.
  bool MatchCaseInIndex(TTable* Table, const String& Value, int Position, bool Partial);

  // protected messages
  void WMKillFocus(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void WMMouseWheel(TMessage& Message);

  // Binds the navigator link to the display field of the lookup source.
  void BindNavigator();
  void NavigatorDataChange(TObject* Sender);

  TqvPopupGrid* FList;
  TTimer* FSearchTimer;
  std::unique_ptr<TFieldDataLink> FNavigatorLink;
  bool FNavigator = false;
  // The combo itself moves the lookup table: the navigator link does not follow.
  int FMovingTable = 0;
  std::unique_ptr<TqvDropDownGridOptions> FGridOptions = std::make_unique<TqvDropDownGridOptions>();
  String FSavedText;
  String FSavedLookupValue;
  String FLastSearchText;
  String FTypedText;
  bool FLookupFound = true;
  bool FTypedDropDown = false;
  bool FInternalUpdate = false;
  bool FRestoring = false;
  bool FClosingUp = false;
  bool FDroppingDown = false;
  bool FInCustomSearch = false;
  bool FSetBySelection = false;
  bool FSavedShowHint = false;
  bool FListShown = false;
  // The lookup table is re-read in another order: its list keeps the chosen values meanwhile.
  bool FApplyingOrder = false;
  bool FWritingKeys = false;
  int FDropDownRows = 0;
  // The field typed text is searched in on a detail engine table (empty: the index's first).
  String FSearchField;

 private:
  void HideList();
  void EndCloseUp();
  bool FUseTFields = true;
};

class TqvDBLookupCombo : public TqvDBCustomLookupCombo {
  VELBOR_DECLARE_CLASS(TqvDBLookupCombo, TqvDBCustomLookupCombo)
 public:
  explicit TqvDBLookupCombo(TComponent* AOwner) : TqvDBCustomLookupCombo(AOwner) {}
};

// The lookup combos' shared thread mouse hook: how many combos with an open list use it, and
// whether it is installed.
int qvLookupComboMouseHookUsers();
bool qvLookupComboMouseHookInstalled();
