// This file implements the list forms of the lookup control: TOxDBLookupList, a bordered scrolling
// list whose rows are the lookup dataset's buffered records (fixed columns or one formatted text,
// an optional empty row on top, keyboard and mouse choice, incremental search, auto-scroll while
// dragging), and TOxPopupDataList, its borderless form that drops down from a lookup combo.
#pragma once

#include "OxLookupControl.h"

class TOxDBLookupList : public TOxLookupControl {
  VELBOR_DECLARE_CLASS(TOxDBLookupList, TOxLookupControl)
  friend class TOxDBLookupCombo;

 public:
  explicit TOxDBLookupList(TComponent* AOwner);
  ~TOxDBLookupList() override;

  // Properties.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // The rows that fit, the empty row included: 1 .. 50; setting it sizes the list.
  int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);

  // Operations.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  // Overridables.
  // Draws one row: IsEmpty for the empty entry.
  virtual void DrawRowFields(TCanvas* Canvas, const TRect& Rect, bool IsEmpty, bool Selected);

  void ShowValueRow() override;
  void ShowDisplayRow() override;
  void RebuildLookupFields() override;
  void LookupDataChanged() override;
  void EmptyTextChanged(const String& NewText) override;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMVScroll(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMHitTest(TMessage& Message);

  // The window styles that make the border.
  virtual void GetBorderStyles(DWORD& Style, DWORD& ExStyle) const;
  // The border's share of the height.
  int BorderSize();
  // Counts the buffered records again and resynchronises the scroll bar.
  void Recount();
  // The row of the buffer that holds the key, -1 when none does.
  int KeyIndex();
  // Takes the current lookup row (or the empty entry) as the value.
  void ChooseCurrent();
  void ChooseRowAt(int X, int Y);
  void StopTracking();
  void StopTimer();
  void TimerScroll();
  void UpdateScrollBar();

  int FRecordIndex = 0;
  int FRecordCount = 0;
  int FRowCount = 0;
  TBorderStyle FBorderStyle = bsSingle;
  bool FKeySelected = false;
  bool FTracking = false;
  bool FTimerActive = false;
  bool FLockPosition = false;
  bool FSelectEmpty = false;
  int FMousePos = 0;
};

// The drop-down list of a lookup combo: a popup window that never takes the activation.
class TOxPopupDataList : public TOxDBLookupList {
  VELBOR_DECLARE_CLASS(TOxPopupDataList, TOxDBLookupList)
  friend class TOxDBLookupCombo;

 public:
  explicit TOxPopupDataList(TComponent* AOwner);

 protected:
  void GetBorderStyles(DWORD& Style, DWORD& ExStyle) const override;
  void CreateParams(TCreateParams& Params) override;
  void Click() override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMMouseActivate(TMessage& Message);

 private:
  // Repaints the text area of the combo the list drops from, while it is shown.
  void RefreshCombo();

  TOxDBLookupCombo* FCombo = nullptr;
};
