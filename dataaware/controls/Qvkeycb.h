// This file implements TqvIncrementalSearch and TqvKeyCombo.
//
// TqvIncrementalSearch is the search box of the lookup and search dialogs: a
// single-line edit bound to a data source that moves the dataset to the first record whose search
// field begins with the typed text. The search runs once after a pause in typing (a window timer),
// never per keystroke, and only when the text differs from the text last searched. With
// ShowMatchText the typed text is completed with the rest of the matched value, selected, so that
// typing goes on over it.
//
// TqvKeyCombo (QvkeycbCombo.cpp) is a drop-down list of the sort orders a dataset offers: the
// indexes of an engine table, or the sortable fields of a dataset that sorts by field names; the
// entry the user picks becomes the dataset's order. The combo keeps no order of its own: the
// dataset's index name and index field names are the truth, re-read at every dataset change.
#pragma once

#include "AnsiString.h"
#include "DataSource.h"
#include "Qvdbcomb.h"
#include "StdCtrls.h"
#include "TypInfo.h"

class TDataLink;
class TDataSet;
class TDataSource;
class TField;
class TTimer;
class TqvIncrementalSearch;

enum TqvSearchCaseSensitivity { qvcsAutoDetect, qvcsCaseSensitive, qvcsCaseInsensitive };
VELBOR_ENUM(TqvSearchCaseSensitivity, "qvcsAutoDetect", "qvcsCaseSensitive", "qvcsCaseInsensitive")

using TqvAfterSearchEvent = TEvent<void(TqvIncrementalSearch* Sender, bool MatchFound)>;
// Hands the search to the application: Found says whether the dataset was moved to a match.
using TqvPerformSearchEvent = TEvent<void(TObject* Sender, TDataSet* LookupTable, const String& SearchField,
                                          const String& SearchValue, bool PerformLookup, bool& Found)>;

class TqvIncrementalSearch : public TCustomEdit {
  VELBOR_DECLARE_CLASS(TqvIncrementalSearch, TCustomEdit)
 public:
  // The delay from which the search timer starts.
  static constexpr unsigned BaseInterval = 200;

  explicit TqvIncrementalSearch(TComponent* AOwner);
  ~TqvIncrementalSearch() override;

  // Properties.
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  // The field searched; several names separated by ";" search several fields at once (the text
  // then gives one value per field, separated by ";").
  const String& SearchField() const { return FSearchField; }
  void SetSearchField(const String& Value) { FSearchField = Value; }
  bool ShowMatchText = false;
  // Filters typed keys; empty: no filter.
  String PictureMask;
  bool PictureMaskAutoFill = true;
  // Milliseconds between the last key and the search; 0: automatic (the timer's current interval).
  int SearchDelay = 0;
  TqvSearchCaseSensitivity CaseSensitivity = qvcsAutoDetect;
  TTimer* SearchTimer() const { return FTimer; }
  const String& LastSearchedText() const { return FLastSearchText; }

  // Operations.
  // Searches the current text now.
  void ExecuteSearch();
  // The timer's handler: when a search is waiting, stops the timer and searches the text unless
  // it was searched last.
  void FlushPendingSearch(TObject* Sender = nullptr);
  // Empties the text and the last searched text.
  void Clear();
  // Backspace, Space, Delete, digits, letters, the numeric keypad and the punctuation keys.
  static bool IsSearchKey(WORD Key);
  bool IsMultiFieldSearch() const;

  // Events.
  TqvAfterSearchEvent OnAfterSearch;
  TqvPerformSearchEvent OnPerformCustomSearch;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  virtual void DoPerformCustomSearch(const String& Field, const String& Value, bool& Found, bool PerformLookup);

 private:
  bool LocateMultiField(TDataSet* DataSet, bool CaseSensitive);
  void ShowMatch(TDataSet* DataSet, const String& FieldName);

  TDataLink* FDataLink;
  TTimer* FTimer;
  String FSearchField;
  String FLastSearchText;
};

class TqvKeyCombo;

using TqvKeyComboCloseUpEvent = TEvent<void(TqvKeyCombo* Sender, bool Select)>;

// The combo's link to its data source: an activated dataset refills the items, a changed one
// re-selects the current order.
class TqvKeyDataLink : public TDataLink {
  VELBOR_DECLARE_CLASS(TqvKeyDataLink, TDataLink)
 public:
  explicit TqvKeyDataLink(TqvKeyCombo* ACombo = nullptr) : FCombo(ACombo) {}

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;

 private:
  TqvKeyCombo* FCombo;
};

class TqvKeyCombo : public TqvDBCustomComboBox {
  VELBOR_DECLARE_CLASS(TqvKeyCombo, TqvDBCustomComboBox)
 public:
  explicit TqvKeyCombo(TComponent* AOwner);
  ~TqvKeyCombo() override;

  // Properties.
  // Accepted when it holds no dataset, an engine table, a dataset that sorts by field names, or
  // one that publishes IndexDefs; otherwise a warning, and the data source is not taken.
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  // Index names instead of first-field labels; in field-sort mode, the hidden fields too.
  bool ShowAllIndexes() const { return FShowAllIndexes; }
  void SetShowAllIndexes(bool Value);
  // The entry of the primary index; empty reads as "PrimaryKey".
  String PrimaryKeyName = "PrimaryKey";
  String GetPrimaryKeyCaption() const { return PrimaryKeyName.empty() ? String("PrimaryKey") : PrimaryKeyName; }

  // Operations.
  // Fills the items with the dataset's sort orders and selects the current one. With a Grid (an
  // object publishing "Selected"), a field counts as visible when the grid shows it.
  void RefreshItems(TObject* Grid = nullptr);
  // Selects the current order without rebuilding the items (unless they no longer name fields).
  void RefreshSelection();
  // True for client datasets, and for client-cursor ADO tables and datasets other than engine
  // tables: they sort by IndexFieldNames.
  virtual bool UsesFieldSort(TDataSet* DataSet);
  void ActiveChanged(bool Active);
  virtual void DataSetChanged();

  // Overridables.
  void DropDown() override;
  void CloseUp(bool Accept) override;

  // Events (the combo box's own close-up event stays unused).
  TqvKeyComboCloseUpEvent OnCloseUp;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The user picked an entry: the dataset takes its order.
  void Change() override;
  // Escape closes the list and shows the dataset's order again.
  void KeyPress(char& Key) override;

 private:
  TDataSet* LinkedDataSet() const;
  bool ItemsOutOfDate(TDataSet* DataSet);
  void RefreshFieldSortItems(TDataSet* DataSet);
  void RefreshIndexItems(TDataSet* DataSet, TObject* Grid);
  void ApplyChosenIndex(TDataSet* DataSet);
  // Selects Index without treating it as the user's choice.
  void SelectItem(int Index);

  TqvKeyDataLink* FDataLink;
  bool FShowAllIndexes = false;
  bool FChangeInProgress = false;
  bool FSelectionOnly = false;
  bool FSelecting = false;
  // An entry reached with the keys in the open list, applied when the list closes accepting it.
  bool FChoicePending = false;
};
