// This file implements the data-aware standard controls: TDBEdit, TDBMemo, TDBCheckBox,
// TDBImage, TDBText, TDBRadioGroup and TDBComboBox, each showing one field of a data source
// through a TFieldDataLink and writing it back when the user leaves the control.
// Implemented one file per control: DBEdit.cpp, DBMemo.cpp, DBCheckBox.cpp, DBImage.cpp,
// DBText.cpp, DBRadioGroup.cpp and DBComboBox.cpp.
#pragma once

#include "DataSource.h"
#include "ExtCtrls.h"
#include "Field.h"
#include "ListControls.h"
#include "Mask.h"
#include "StdCtrls.h"

// Edits one field: EditText while the dataset edits it, DisplayText otherwise. A keystroke puts
// the dataset in edit mode (when the data source's AutoEdit allows); leaving the control writes
// the text back and keeps the focus when the field refuses it; Escape puts the field back.
class TDBEdit : public TCustomMaskEdit {
  VELBOR_DECLARE_CLASS(TDBEdit, TCustomMaskEdit)
 public:
  explicit TDBEdit(TComponent* AOwner);
  ~TDBEdit() override;

  // Properties.
  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  // The control's own read-only flag (the native edit is also read-only while not editing).
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value);

 protected:
  bool EditCanModify() override;
  void Reset() override;
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMCut(TMessage& Message);

 private:
  void DataChange(TObject* Sender);
  void EditingChange(TObject* Sender);
  void UpdateData(TObject* Sender);
  void SetFocused(bool Value);

  TFieldDataLink* FDataLink;
  bool FFocused = false;
};

// A multi-line edit of a memo or string field, written back on exit.
class TDBMemo : public TCustomMemo {
  VELBOR_DECLARE_CLASS(TDBMemo, TCustomMemo)
 public:
  explicit TDBMemo(TComponent* AOwner);
  ~TDBMemo() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value);

 protected:
  void Change() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void WMPaint(TMessage& Message);

 private:
  void DataChange(TObject* Sender);
  void EditingChange(TObject* Sender);
  void UpdateData(TObject* Sender);

  TFieldDataLink* FDataLink;
  bool FLoading = false;  // the text is being set from the field: no change to report
};

// A check box over a boolean field, or over a field whose text is one of ValueChecked /
// ValueUnchecked (each a ';'-separated list; the first entry is the one written). A null field
// shows grayed.
class TDBCheckBox : public TCustomCheckBox {
  VELBOR_DECLARE_CLASS(TDBCheckBox, TCustomCheckBox)
 public:
  explicit TDBCheckBox(TComponent* AOwner);
  ~TDBCheckBox() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  String ValueChecked = "True";
  String ValueUnchecked = "False";

 protected:
  void Toggle() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void WMPaint(TMessage& Message);

 private:
  TCheckBoxState FieldState();
  void DataChange(TObject* Sender);
  void UpdateData(TObject* Sender);

  TFieldDataLink* FDataLink;
};

// Shows a field's DisplayText as a label.
class TDBText : public TCustomLabel {
  VELBOR_DECLARE_CLASS(TDBText, TCustomLabel)
 public:
  explicit TDBText(TComponent* AOwner);
  ~TDBText() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }

 protected:
  String GetLabelText() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMGetDataLink(TMessage& Message);

 private:
  void DataChange(TObject* Sender);

  TFieldDataLink* FDataLink;
};

// A radio group whose choice is the field's value: Values gives the value of each button (the
// button's caption when Values has no line for it).
class TDBRadioGroup : public TCustomRadioGroup {
  VELBOR_DECLARE_CLASS(TDBRadioGroup, TCustomRadioGroup)
 public:
  explicit TDBRadioGroup(TComponent* AOwner);
  ~TDBRadioGroup() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  TStrings* Values() const { return FValues; }
  void SetValues(TStrings* Value) { FValues->Assign(Value); }
  // The value of the checked button ("" when none); setting it checks the matching button.
  String Value() const { return FValue; }
  void SetValue(const String& Value);

  TNotifyEvent OnChange;

 protected:
  bool CanModify() override;
  void Click() override;
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);

 private:
  String ButtonValue(int Index) const;
  void DataChange(TObject* Sender);
  void UpdateData(TObject* Sender);

  TFieldDataLink* FDataLink;
  TStrings* FValues;
  String FValue;
  bool FInSetValue = false;
};

// A combo box over a field: csDropDown edits the text, the list styles choose an item.
class TDBComboBox : public TCustomComboBox {
  VELBOR_DECLARE_CLASS(TDBComboBox, TCustomComboBox)
 public:
  explicit TDBComboBox(TComponent* AOwner);
  ~TDBComboBox() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }

 protected:
  void Change() override;
  void Select() override;
  void KeyPress(char& Key) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void WMPaint(TMessage& Message);

 private:
  String ComboText() const;
  void SetComboText(const String& Value);
  void DataChange(TObject* Sender);
  void UpdateData(TObject* Sender);

  TFieldDataLink* FDataLink;
  bool FLoading = false;
};

// Shows the picture held in a graphic (blob) field, scaled to the control when Stretch is set.
class TDBImage : public TCustomControl {
  VELBOR_DECLARE_CLASS(TDBImage, TCustomControl)
 public:
  explicit TDBImage(TComponent* AOwner);
  ~TDBImage() override;

  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  TPicture* Picture() const { return FPicture; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);

  // Operations.
  // Reads the field's picture again (an unreadable blob leaves the picture empty).
  void LoadPicture();

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CMGetDataLink(TMessage& Message);

 private:
  void DataChange(TObject* Sender);

  TFieldDataLink* FDataLink;
  TPicture* FPicture;
  bool FStretch = false;
};

// Draws Text as a data control looks, into DC: what a panel grid shows for the records other
// than the current one, where the native control would show the current record's text.
void PaintCopyText(TWinControl* Control, HDC DC, const String& Text, UINT Format);

// Registers the data-aware controls with the form reader.
void RegisterDBControls();
