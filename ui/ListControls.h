// This file implements the list controls over the native ones: TCustomListBox/TListBox over
// LISTBOX and TCustomComboBox/TComboBox over COMBOBOX, with their Items lists (TStrings kept in
// the native control while it has a window), owner drawing and the owner-draw state.
// Implemented in ListBox.cpp (the Items list and TListBox) and ComboBox.cpp.
#pragma once

#include "Object.h"
#include "Strings.h"

#include "Controls.h"

// The state of an item drawn by its owner (the ODS_ bits of the draw record, in their order).
enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
VELBOR_ENUM(TOwnerDrawStateItem, "odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused", "odDefault",
            "odHotLight", "odInactive", "odNoAccel", "odNoFocusRect", "odReserved1", "odReserved2", "odComboBoxEdit")
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
inline TOwnerDrawState OwnerDrawStateFromODS(UINT ItemState) { return TOwnerDrawState::FromBits(ItemState & 0x1FFF); }

// Paints one owner-drawn row of a native list or combo box: the canvas borrows the row's device
// context with the control's font and brush (the highlight colours for a selected row), Draw
// paints the row, and the focused row gets its focus rectangle. Row -1 (the focus of an empty
// list) is only cleared.
template <class TDrawRow>
void PaintOwnerDrawnRow(TCanvas* Canvas, TFont* Font, TBrush* Brush, const DRAWITEMSTRUCT& Row, TDrawRow Draw) {
  TOwnerDrawState state = OwnerDrawStateFromODS(Row.itemState);
  TCanvasDCScope scope(Canvas, Row.hDC);
  Canvas->Font()->Assign(Font);
  Canvas->Brush()->Assign(Brush);
  if (int(Row.itemID) >= 0 && state.Contains(odSelected)) {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->Font()->SetColor(clHighlightText);
  }
  if (int(Row.itemID) >= 0) Draw(int(Row.itemID), Row.rcItem, state);
  else Canvas->FillRect(Row.rcItem);
  if (state.Contains(odFocused)) DrawFocusRect(Row.hDC, &Row.rcItem);
}

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
VELBOR_ENUM(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable")

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
VELBOR_ENUM(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable")

class TCustomListBox;
class TCustomComboBox;

// The lines of a list control: in the native control while it has a window, in a string list
// otherwise (before the window exists and while it is re-created), so that Items can be filled
// before the control has a parent. Objects ride in the native item data.
class TNativeListStrings : public TStrings {
  VELBOR_DECLARE_CLASS(TNativeListStrings, TStrings)
 public:
  // The LB_ or CB_ message numbers of one kind of native list.
  struct TMessages {
    UINT GetCount, GetTextLen, GetText, AddString, InsertString, DeleteString, ResetContent, GetItemData,
        SetItemData, FindStringExact;
    LRESULT ErrorResult;
  };
  TNativeListStrings(TWinControl* Control, const TMessages& Msgs);
  ~TNativeListStrings() override;

  String Get(int Index) const override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int GetCount() const override;
  int Add(const String& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const String& S) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const String& S) const override;

  // The window was created: its list takes the kept lines. The window goes: the lines are kept.
  void WindowCreated();
  void WindowDestroying();
  // Add keeps a sorted list in order (as the native list does); Insert places a line where it is
  // asked to, sorted or not, as the native list does too.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);

 protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed() {}

 private:
  bool Live() const { return FControl->HandleAllocated() && FLive; }
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;

  TWinControl* FControl;
  TMessages FMsgs;
  TStringList* FSaved;
  bool FLive = false;
  bool FSorted = false;
};

class TCustomListBox : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  // Properties.
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int Count() const { return FItems->Count(); }
  // The selected item (single selection) or the focused one (multiple selection); -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  // Selected items (multiple selection only; -1 otherwise).
  int SelCount() const;
  int TopIndex() const;
  void SetTopIndex(int Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int ItemHeight() const;
  void SetItemHeight(int Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TCanvas* Canvas() const { return FCanvas; }

  // Operations.
  void Clear() { FItems->Clear(); }
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  // The item under Pos (client coordinates); with Existing, -1 below the last item, otherwise
  // the index the position would have.
  int ItemAtPos(TPoint Pos, bool Existing) const;
  TRect ItemRect(int Index) const;

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  // Overridables: the default drawing paints the text in the selection's colours.
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

 private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  TNativeListStrings* FItems;
  TCanvas* FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FSorted = false;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
  int FColumns = 0;
  TBorderStyle FBorderStyle = bsSingle;
  // Selection and scroll position kept while the window is re-created.
  int FSavedIndex = -1;
  int FSavedTop = 0;
  std::vector<int> FSavedSelection;
};

class TListBox : public TCustomListBox {
  VELBOR_DECLARE_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

class TCustomComboBox : public TWinControl {
  VELBOR_DECLARE_CLASS(TCustomComboBox, TWinControl)
  friend LRESULT CALLBACK ComboEditWndProc(HWND, UINT, WPARAM, LPARAM);

 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  // Properties.
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex() const;
  void SetItemIndex(int Value);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  int ItemHeight() const;
  void SetItemHeight(int Value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  int SelStart() const;
  void SetSelStart(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  String SelText() const;
  // The edit window inside a csDropDown or csSimple combo (nullptr for the list styles).
  HWND EditHandle() const { return FEditHandle; }
  TCanvas* Canvas() const { return FCanvas; }
  bool Focused() const override;

  // Operations.
  void Clear();
  void SelectAll();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  // Overridables.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

 public:
  // The native combo takes its window height as the height of its dropped list: the control's
  // height stays the closed one.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 private:
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const;
  // The messages of the inner edit, through the combo's key handling first.
  void EditWndProc(HWND Wnd, TMessage& Message);
  void FixDroppedHeight();

  TNativeListStrings* FItems;
  TCanvas* FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  int FDropDownCount = 8;
  int FItemHeight = 16;
  int FMaxLength = 0;
  int FSavedIndex = -1;
  HWND FEditHandle = nullptr;
  WNDPROC FEditDefProc = nullptr;
};

class TComboBox : public TCustomComboBox {
  VELBOR_DECLARE_CLASS(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// Registers the list control classes with the form reader.
void RegisterListControls();
// An identifier of its own for a child window (WM_MEASUREITEM names its control by it alone).
int AllocateControlID();
