// This file implements the combo items and their controls: TCustomkwBarCombo, an edit item with a
// drop-down window that it places beside its control and sends the navigation keys to;
// TkwBarCustomCombo, the combo of a string list with its own drop-down list, item index, sorting,
// row measuring and drawing and prefix matching while the user types; TkwBarCombo, which publishes
// the list. TCustomkwBarComboControl draws the drop-down button and opens and closes the drop-down
// (F4, Alt+Up, Alt+Down, clicks); TkwBarComboControl keeps its own index while the editor is open
// and steps through the strings with Up and Down. TkwBarDropDownListBox is the list window.
#pragma once

#include <memory>

#include "ListControls.h"
#include "kwBarEdit.h"

class TkwBarCustomCombo;

using TkwBarCheckKeyForDropDownWindowEvent =
    TEvent<void(TObject* Sender, WORD Key, TShiftState Shift, bool& AcceptKey)>;
using TkwBarGetDropDownWindowEvent = TEvent<void(TObject* Sender, HWND& Window)>;
using TkwBarDrawItemEvent = TEvent<void(TObject* Sender, int AIndex, const TRect& ARect, TOwnerDrawState AState)>;
using TkwBarMeasureItemEvent = TEvent<void(TObject* Sender, int AIndex, int& AHeight)>;

class TCustomkwBarCombo : public TkwBarEdit {
  VELBOR_DECLARE_CLASS(TCustomkwBarCombo, TkwBarEdit)
 public:
  explicit TCustomkwBarCombo(TComponent* AOwner) : TkwBarEdit(AOwner) {}

  // Properties.
  bool ShowEditor() const { return !EditorHidden(); }
  void SetShowEditor(bool Value) { SetEditorHidden(!Value); }
  TkwBarCheckKeyForDropDownWindowEvent OnCheckKeyForDropDownWindow;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TkwBarGetDropDownWindowEvent OnGetDropDownWindow;

  // Overridables, in slot order.
  // Whether a key goes to the open drop-down window: all but Tab, Enter and Escape, unless the
  // event decides otherwise.
  virtual bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift);
  // The drop-down window (the event's; none without it).
  virtual HWND GetDropDownWindow();
  virtual void PrepareDropDownWindow() {}
  // After the window showed.
  virtual void DroppedDown() {}
  // Hides the drop-down window, then OnCloseUp.
  virtual void CloseUp();
  // Shows the drop-down window at the screen point (X, Y), inside the monitor's work area.
  virtual void DropDown(int X, int Y);
  // Moves the point so that the window fits the work area (it may open on the other side of the
  // control).
  void PlaceDropDownWindow(int& X, int& Y);
};

class TkwBarDropDownListBox : public TCustomListBox {
  VELBOR_DECLARE_CLASS(TkwBarDropDownListBox, TCustomListBox)
 public:
  // The list of Combo (a top-level window owned by a hidden window that serves its rows).
  TkwBarDropDownListBox(TComponent* AOwner, TkwBarCustomCombo* Combo);
  ~TkwBarDropDownListBox() override;
  TkwBarCustomCombo* Combo() const { return FCombo; }
  // Set while the button that opened the list is still held: releasing it outside the list leaves
  // the list open.
  bool Tracking = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // A top-level window takes no child identifier (it would be read as a menu handle).
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void Click() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMKeyDown(TMessage& Message);

 private:
  // The hidden owner's messages: the rows' drawing, measuring and notifications.
  void OwnerWndProc(TMessage& Message);
  int BorderWidth() const;
  // The row under a client point, -1 outside the rows.
  int RowAt(TPoint Point) const;
  // Selects a row as the mouse does and shows it in the combo's control.
  void TrackRow(int Row);
  void Choose();

  TkwBarCustomCombo* FCombo;  // not owned: the combo owns the list
  HWND FOwnerWindow = nullptr;
};

class TkwBarCustomCombo : public TCustomkwBarCombo {
  VELBOR_DECLARE_CLASS(TkwBarCustomCombo, TCustomkwBarCombo)
 public:
  explicit TkwBarCustomCombo(TComponent* AOwner);
  ~TkwBarCustomCombo() override;

  // Properties.
  int DropDownCount() const { return FDropDownCount; }
  virtual void SetDropDownCount(int Value) { FDropDownCount = Value; }
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int Value) { FDropDownWidth = Value; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value) { FItemHeight = Value; }
  int ItemIndex() const { return FItemIndex; }
  // -1 for an index outside the strings; the text follows (OnChange even for the same text).
  virtual void SetItemIndex(int Value);
  TStringList* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TkwBarDropDownListBox* DropDownList() const { return FList; }
  bool DrawingInControl() const { return FDrawingInControl; }
  TkwBarDrawItemEvent OnDrawItem;
  TkwBarMeasureItemEvent OnMeasureItem;

  // Operations.
  // The index shown by the open editor, else ItemIndex.
  int GetCurrentItemIndex() const;
  // The first string that shares the longest beginning with Text (case not counted); -1 when
  // none shares its first character.
  int FindItemByPrefix(const String& Text) const;
  // The editor's index and the open list follow the typed text.
  void SyncListWithText();

  // Overridables, in slot order.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual TCanvas* GetCanvas() const;
  virtual int GetDropDownWidth();
  virtual void MeasureItem(int Index, int& Height);
  virtual void GetItemWidth(int Index, int& Width);

  // Overrides.
  void SetText(const String& Value) override;
  bool CheckKeyForDropDownWindow(WORD Key, TShiftState Shift) override;
  HWND GetDropDownWindow() override;
  void PrepareDropDownWindow() override;
  void DroppedDown() override;
  void DropDown(int X, int Y) override;
  void CloseUp() override;
  void CurChange() override;
  void DrawValue(TkwBarWinControl* Control, TkwBarItemLink* Link, TCanvas* Canvas, const TRect& Rect) override;

 protected:
  // The strings changed.
  virtual void ItemsChanged();
  // The text of a row (the item's Text for -1).
  String RowText(int Index) const;

 private:
  void ItemsChangedHandler(TObject*) { ItemsChanged(); }

  int FDropDownCount = 8;
  int FDropDownWidth = 0;
  bool FDrawingInControl = false;
  int FItemHeight = 0;
  int FItemIndex = -1;
  TStringList* FItems;
  TkwBarDropDownListBox* FList;
  bool FSorted = false;
  TCanvas* FDrawingCanvas = nullptr;  // not owned: the control's, while it is drawn
  // Measures rows outside drawing, when the list's canvas has no device context.
  std::unique_ptr<TBitmap> FMeasureBitmap;
};

class TkwBarCombo : public TkwBarCustomCombo {
  VELBOR_DECLARE_CLASS(TkwBarCombo, TkwBarCustomCombo)
 public:
  explicit TkwBarCombo(TComponent* AOwner) : TkwBarCustomCombo(AOwner) {}
};

class TCustomkwBarComboControl : public TkwBarEditControl {
  VELBOR_DECLARE_CLASS(TCustomkwBarComboControl, TkwBarEditControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TCustomkwBarComboControl(TkwBarItemLink* ALink) : TkwBarEditControl(ALink) {}
  // Closes an open drop-down.
  ~TCustomkwBarComboControl() override;

  TCustomkwBarCombo* Combo() const { return dynamic_cast<TCustomkwBarCombo*>(GetItem()); }
  bool IsDroppedDown() const { return FDroppedDown; }
  // The drop-down button's rectangle (client coordinates of the bar window), as last drawn.
  const TRect& ButtonRect() const { return FButtonRect; }

  // Overridables.
  // Opens or closes the drop-down (never for a read-only combo).
  virtual void SetDroppedDown(bool Value);

  // Overrides.
  HWND GetDropDownWindow() const override;
  void ControlInactivate(bool Now) override;
  void Draw(const TRect& Rect, int Kind) override;
  void EditWndProc(TMessage& Message) override;

 protected:
  void DrawValuePart(HDC DC, const TRect& Rect) override;
  void SetButtonRect(const TRect& Value) { FButtonRect = Value; }
  // The rectangle whose press toggles the drop-down, in the edit window's coordinates.
  TRect DropDownTarget() const;

 private:
  TRect FButtonRect;
  bool FPressedWhileDropped = false;
  bool FDroppedDown = false;
  // A key-down went to the drop-down window: its characters follow it there.
  bool FKeyRouted = false;
};

class TkwBarComboControl : public TCustomkwBarComboControl {
  VELBOR_DECLARE_CLASS(TkwBarComboControl, TCustomkwBarComboControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarComboControl(TkwBarItemLink* ALink) : TCustomkwBarComboControl(ALink) {}

  TkwBarCustomCombo* StringCombo() const { return dynamic_cast<TkwBarCustomCombo*>(GetItem()); }
  // The string shown while the editor is open.
  int ItemIndex() const { return FItemIndex; }
  // Shows the string at Index in the edit window (the item's Text for an index outside them).
  void SetItemIndex(int Index);
  // Keeps Index without touching the edit window (the typed text already shows).
  void SetItemIndexOnly(int Index);

  void SetFocused(bool Value) override;
  void EditWndProc(TMessage& Message) override;

 private:
  int FItemIndex = -1;
};
