// This file implements TqvIncrementalSearch, the search box of the lookup and search dialogs: a
// single-line edit bound to a data source that moves the dataset to the first record whose search
// field begins with the typed text. The search runs once after a pause in typing (a window timer),
// never per keystroke, and only when the text differs from the text last searched. With
// ShowMatchText the typed text is completed with the rest of the matched value, selected, so that
// typing goes on over it.
#pragma once

#include "AnsiString.h"
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
