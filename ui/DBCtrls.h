// This file implements the data-aware standard controls: TDBEdit, TDBMemo, TDBCheckBox,
// TDBImage, TDBText, TDBRadioGroup and TDBComboBox, each showing one field of a data source
// through the link of its host (FieldControl.h) and writing it back when the user leaves it.
// Implemented one file per control: DBEdit.cpp, DBMemo.cpp, DBCheckBox.cpp, DBImage.cpp,
// DBText.cpp, DBRadioGroup.cpp and DBComboBox.cpp.
#pragma once

#include "ExtCtrls.h"
#include "FieldControl.h"
#include "ListControls.h"
#include "Mask.h"
#include "StdCtrls.h"

// Edits one field: EditText while the dataset edits it, DisplayText otherwise. A keystroke puts
// the dataset in edit mode (when the data source's AutoEdit allows); leaving the control writes
// the text back and keeps the focus when the field refuses it; Escape puts the field back.
class TDBEdit : public TFieldControl<TCustomMaskEdit> {
  VELBOR_DECLARE_CLASS(TDBEdit, TFieldControl<TCustomMaskEdit>)
 public:
  explicit TDBEdit(TComponent* AOwner);

 protected:
  void DataChange() override;
  void EditingChange() override;
  void UpdateData() override;
  void StayAfterRefusal() override;
  bool EditCanModify() override;
  void Reset() override;
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMCut(TMessage& Message);

 private:
  void SetFocused(bool Value);

  bool FFocused = false;
};

// A multi-line edit of a memo or string field, written back on exit.
class TDBMemo : public TFieldControl<TCustomMemo> {
  VELBOR_DECLARE_CLASS(TDBMemo, TFieldControl<TCustomMemo>)
 public:
  explicit TDBMemo(TComponent* AOwner);

 protected:
  void DataChange() override;
  void EditingChange() override;
  void UpdateData() override;
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);

 private:
  bool FLoading = false;  // the text is being set from the field: no change to report
};

// A check box over a boolean field, or over a field whose text is one of ValueChecked /
// ValueUnchecked (each a ';'-separated list; the first entry is the one written). A null field
// shows grayed.
class TDBCheckBox : public TFieldControl<TCustomCheckBox> {
  VELBOR_DECLARE_CLASS(TDBCheckBox, TFieldControl<TCustomCheckBox>)
 public:
  explicit TDBCheckBox(TComponent* AOwner);

  String ValueChecked = "True";
  String ValueUnchecked = "False";

 protected:
  void DataChange() override;
  void UpdateData() override;
  void Toggle() override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);

 private:
  TCheckBoxState FieldState();
};

// Shows a field's DisplayText as a label.
class TDBText : public TFieldControl<TCustomLabel> {
  VELBOR_DECLARE_CLASS(TDBText, TFieldControl<TCustomLabel>)
 public:
  explicit TDBText(TComponent* AOwner);

 protected:
  void DataChange() override;
  String GetLabelText() const override;

};

// A radio group whose choice is the field's value: Values gives the value of each button (the
// button's caption when Values has no line for it).
class TDBRadioGroup : public TFieldControl<TCustomRadioGroup> {
  VELBOR_DECLARE_CLASS(TDBRadioGroup, TFieldControl<TCustomRadioGroup>)
 public:
  explicit TDBRadioGroup(TComponent* AOwner);
  ~TDBRadioGroup() override;

  TStrings* Values() const { return FValues; }
  void SetValues(TStrings* Value) { FValues->Assign(Value); }
  // The value of the checked button ("" when none); setting it checks the matching button.
  String Value() const { return FValue; }
  void SetValue(const String& Value);

  TNotifyEvent OnChange;

 protected:
  void DataChange() override;
  void UpdateData() override;
  void StayAfterRefusal() override;
  bool CanModify() override;
  void Click() override;
  virtual void Change();

 private:
  String ButtonValue(int Index) const;

  TStrings* FValues;
  String FValue;
  bool FInSetValue = false;
};

// A combo box over a field: csDropDown edits the text, the list styles choose an item.
class TDBComboBox : public TFieldControl<TCustomComboBox> {
  VELBOR_DECLARE_CLASS(TDBComboBox, TFieldControl<TCustomComboBox>)
 public:
  explicit TDBComboBox(TComponent* AOwner);

 protected:
  void DataChange() override;
  void UpdateData() override;
  void StayAfterRefusal() override;
  void Change() override;
  void Select() override;
  void KeyPress(char& Key) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMPaint(TMessage& Message);

 private:
  String ComboText() const;
  void SetComboText(const String& Value);

  bool FLoading = false;
};

// Shows the picture held in a graphic (blob) field, scaled to the control when Stretch is set.
class TDBImage : public TFieldControl<TCustomControl> {
  VELBOR_DECLARE_CLASS(TDBImage, TFieldControl<TCustomControl>)
 public:
  explicit TDBImage(TComponent* AOwner);
  ~TDBImage() override;

  TPicture* Picture() const { return FPicture; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);

  // Operations.
  // Reads the field's picture again (an unreadable blob leaves the picture empty).
  void LoadPicture();

 protected:
  void DataChange() override;
  void Paint() override;

 private:
  TPicture* FPicture;
  bool FStretch = false;
};

// Draws Text as a data control looks, into DC: what a panel grid shows for the records other
// than the current one, where the native control would show the current record's text.
void PaintCopyText(TWinControl* Control, HDC DC, const String& Text, UINT Format);

// Registers the data-aware controls with the form reader.
void RegisterDBControls();
