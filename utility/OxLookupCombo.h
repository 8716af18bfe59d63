// This file implements TOxDBLookupCombo, the data-aware lookup combo: it paints the chosen row's
// text (and picture) in its own face beside a drop-down arrow, drops a TOxPopupDataList under
// itself, and writes the chosen row's key into its DataField. RegisterOxLookupControls makes the
// lookup controls known to the form reader.
#pragma once

#include <vector>

#include "OxLookupList.h"

class TPicture;

enum TDropDownAlign { daLeft, daRight, daCenter };
VELBOR_ENUM(TDropDownAlign, "daLeft", "daRight", "daCenter")

class TOxDBLookupCombo : public TOxLookupControl {
  VELBOR_DECLARE_CLASS(TOxDBLookupCombo, TOxLookupControl)
  friend class TOxPopupDataList;

 public:
  explicit TOxDBLookupCombo(TComponent* AOwner);
  ~TOxDBLookupCombo() override;

  // Properties.
  // Rows shown by the drop-down list (at most 50 are).
  int DropDownCount = 8;
  // The list's width: this many pixels when above 0; the combo's width when 0; below 0, wide
  // enough for every display field but never narrower than the combo.
  int DropDownWidth = 0;
  TDropDownAlign DropDownAlign = daLeft;
  // Esc on a chosen value chooses the empty entry.
  bool EscapeClear = true;
  // The closed combo shows every display field (never for a lookup field).
  bool DisplayAllFields() const { return FDisplayAllFields && !FLookupMode; }
  void SetDisplayAllFields(bool Value);
  void SetListStyle(TLookupListStyle Value) override;
  void SetFieldsDelimiter(char Value) override;
  bool ListVisible() const { return FListVisible; }
  // The drop-down list.
  TOxDBLookupList* List() const { return FDataList; }

  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  // Operations.
  // Opens the list under the combo (above it when it would leave the screen), on the chosen row.
  virtual void DropDownList();
  // Closes the list; Accept chooses the row it stands on.
  void CloseList(bool Accept);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void ShowValueRow() override;
  void ShowDisplayRow() override;
  void RebuildLookupFields() override;
  void LookupDataChanged() override;
  TGraphic* FetchRowImage(bool Current, bool IsEmpty, int& TextMargin) override;
  void EmptyTextChanged(const String& NewText) override;
  void ClearToEmpty() override;
  void Click() override;

  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMGetDlgCode(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  // One display field of the chosen row, for the closed combo's columns.
  struct TShownColumn {
    String Text;
    int Width;  // characters
    TAlignment Alignment;
  };

  void ShowRowText();
  void ShowNoRow();
  void CacheCurrentImage();
  void AfterShow();
  void StepRow(int Delta);
  void ToggleList();
  int MinHeight();
  TRect ButtonRect();
  void TrackButton(int X, int Y);
  void StopTracking();
  void RepaintTextArea();
  void DrawColumns(TCanvas* Canvas, const TRect& Rect, int Left, int TextTop);
  void ListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  TOxPopupDataList* FDataList;
  int FButtonWidth;
  bool FListVisible = false;
  bool FPressed = false;
  bool FTracking = false;
  bool FLosingFocus = false;
  TAlignment FAlignment = taLeftJustify;
  TPicture* FCurrentImage;
  int FCurrentMargin = 0;
  std::vector<TShownColumn> FDisplayValues;
  bool FDisplayAllFields = false;
};

// Registers TOxDBLookupCombo and TOxDBLookupList with the form reader.
void RegisterOxLookupControls();
