// This file implements the data-aware combo box: TqvDBCustomComboBox and the published
// TqvDBComboBox, the dialog-button edit turned into a combo box whose Items lines may pair a shown
// text with a stored value ("text" TAB "value", with MapList); its choices drop down in a
// borderless top-level list (TqvPopupListbox) that it places, watches with a thread mouse hook and
// searches while the user types, with an optional history of entered texts (TqvHistoryList).
// Implemented in Qvdbcomb.cpp (values, items, data link, drop-down and close-up, keys, history) and
// Qvdbcomblist.cpp (the list box: its window, incremental search and drawing).
#pragma once

#include "Qvdotdot.h"
#include "qvhistorylist.h"

class TqvDBCustomComboBox;

using TqvComboCloseUpEvent = TEvent<void(TObject* Sender, bool Select)>;
// Accept comes in True; False refuses the new entry.
using TqvAddHistoryItemEvent = TEvent<void(TObject* Sender, const String& Value, bool& Accept)>;

// The combo's Items: every change marks the drop-down list as to be filled again.
class TqvComboStringList : public TStringList {
  VELBOR_DECLARE_CLASS(TqvComboStringList, TStringList)
 public:
  explicit TqvComboStringList(TqvDBCustomComboBox* ACombo = nullptr) : FCombo(ACombo) {}
  // Sorts the list box's entries too when it has a window.
  void Sort() override;
  virtual bool ListBoxAllocated() const;

 protected:
  void Changed() override;

 private:
  TqvDBCustomComboBox* FCombo;
};

// The drop-down list: a top-level window that never takes the focus from its combo, yet draws its
// selection as focused.
class TqvPopupListbox : public TCustomListBox {
  VELBOR_DECLARE_CLASS(TqvPopupListbox, TCustomListBox)
 public:
  explicit TqvPopupListbox(TComponent* AOwner);
  TqvDBCustomComboBox* Combo() const { return FCombo; }
  void SetCombo(TqvDBCustomComboBox* Value) { FCombo = Value; }
  String SearchText;
  unsigned SearchTickCount = 0;
  // The incremental search of one key (Backspace or a character).
  void SearchKey(char Key);

 protected:
  void CreateParams(TCreateParams& Params) override;
  // A top-level window has no child identifier.
  void CreateWindowHandle(const TCreateParams& Params) override { TWinControl::CreateWindowHandle(Params); }
  void CreateWnd() override;
  void KeyPress(char& Key) override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
  void Dispatch(TMessage& Message) override;

 private:
  TqvDBCustomComboBox* FCombo = nullptr;
};

class TqvDBCustomComboBox : public TqvDBCustomCombo {
  VELBOR_DECLARE_CLASS(TqvDBCustomComboBox, TqvDBCustomCombo)
  friend class TqvComboStringList;
  friend class TqvPopupListbox;

 public:
  explicit TqvDBCustomComboBox(TComponent* AOwner);
  ~TqvDBCustomComboBox() override;

  // Properties.
  // The field stores the second token of a line and the edit shows its first.
  bool MapList() const { return FMapList; }
  void SetMapList(bool Value);
  TStrings* Items() const { return FItems; }
  // Assigns the lines, then shows the field again.
  void SetItems(TStrings* Value);
  int DropDownCount = 8;
  // 0: the height of "A" in the list's font, plus 2.
  int ItemHeight = 0;
  bool AllowClearKey = false;
  void SetStyle(TqvDBLookupComboStyle Value) override;
  // 0: Column1Width x 3 / 2 when set, else the combo's width.
  int DropDownWidth = 0;
  bool AutoDropDown = false;
  bool ShowMatchText = false;
  TqvHistoryList* HistoryList() const { return FHistoryList; }
  void SetHistoryList(TqvHistoryList* Value) { FHistoryList->Assign(Value); }
  bool DisableDropDownList = false;
  int Column1Width = 0;
  bool TwoColumnDisplay = false;
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value);
  int GetItemIndex();
  void SetItemIndex(int Value);
  int ItemIndex() { return GetItemIndex(); }
  TqvPopupListbox* ListBox() const { return FListBox; }
  bool ListVisible() const { return FListVisible; }

  TNotifyEvent OnDropDown;
  TqvComboCloseUpEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  // Published and stored; never fired.
  TMeasureItemEvent OnMeasureItem;
  TqvAddHistoryItemEvent OnAddHistoryItem;

  // Operations.
  // The shown text of a stored value: with MapList (or two columns), the first token of the first
  // line whose second token is Value exactly, empty when none; otherwise Value.
  String GetDisplayForValue(const String& Value);
  // The stored value of a shown text: with MapList (or two columns), the second token of the first
  // line whose first token equals Text without regard to case; none (or, with two columns, a line
  // without a value) gives empty with MapList alone and Text with two columns. Otherwise Text.
  String GetValueForDisplay(const String& Text);
  // What the combo stores for its text now.
  String GetStoredValue() { return GetFieldText(); }
  void FillDropDownList();
  void EnsureListFilled();
  void SetDroppedDown(bool Value);
  // Shows the text of a stored value and selects its entry.
  void SetDisplayFromValue(const String& Value);
  // Chooses an entry as the user does: the dataset goes into edit state first.
  void SelectEntry(int Index);

  // Overridables.
  virtual int FindItemIndex(const String& Text, int StartIndex);
  virtual void RemoveHistoryItem(const String& Value, bool FromHistory);
  virtual void AddHistoryItem(const String& Value, bool ToHistory);
  virtual void ClearHistory();
  virtual bool IsOwnerDrawnStyle() { return Style() == csOwnerDrawFixed || Style() == csOwnerDrawVariable; }
  bool IsOwnerDrawn() override { return IsOwnerDrawnStyle(); }
  bool CanEditText() override;
  bool AllowsTyping() override;
  String GetFieldText() override;
  bool MapValueToDisplay(const String& Value, String& Display) override;
  void DrawTextInRect(TCanvas* Canvas, const TRect& R, const String& Text, int X, int Y) override;
  bool IsDroppedDown() override { return FListVisible; }
  void DropDown() override;
  void CloseUp(bool Accept) override;

 protected:
  void DataChange() override;
  void UpdateData() override;
  void Reset() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;
  // The index a text gives when nothing else says (unbound resets, a stale index).
  int RecomputedIndex();
  // A row of the list (owner drawing, two columns, the line under the most recent entries).
  void DrawListItem(TCanvas* Canvas, int Index, const TRect& Rect, TOwnerDrawState State);
  // The list's selection went elsewhere by a key: its entry goes into the edit.
  void CopyListSelection();
  void ListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Places and shows the list under (or over) the combo, inside the work area.
  void PlaceList(int Width, int Height);

  // protected messages
  void CMCancelMode(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void WMCutOrClear(TMessage& Message);
  void WMPaste(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);

 private:
  bool Bound() { return Field() != nullptr; }
  bool CanCreateListWindow();

  bool FMapList = false;
  TqvComboStringList* FItems;
  TqvPopupListbox* FListBox = nullptr;
  bool FListVisible = false;
  bool FFirstKeyAfterDropDown = false;
  int FItemIndexCache = -1;
  TqvHistoryList* FHistoryList;
  bool FKeyboardDropDown = false;
  bool FSavedShowHint = false;
  String FTextAtDropDown;
  bool FListKeyNavigation = false;
  bool FItemsChanged = false;
  bool FCloseUpInProgress = false;
  bool FItemIndexStale = false;
};

class TqvDBComboBox : public TqvDBCustomComboBox {
  VELBOR_DECLARE_CLASS(TqvDBComboBox, TqvDBCustomComboBox)
 public:
  explicit TqvDBComboBox(TComponent* AOwner) : TqvDBCustomComboBox(AOwner) {}
};

// The first (Index 1) or second (Index 2) TAB-separated token of an Items line.
String qvComboLineToken(const String& Line, int Index);
// The combo boxes' shared hook: how many combos with an open list use it, and whether it is on.
int qvComboBoxMouseHookUsers();
bool qvComboBoxMouseHookInstalled();
