// This file implements the data-aware combo boxes of the utility library: TOxCustomDBComboBox, a
// combo box bound to one field that edits the dataset only when it may, and TOxDBComboBox, which
// lists the Items texts while the field stores the Values entry at the same position.
#pragma once

#include "Component.h"
#include "DBCtrls.h"

class TOxCustomDBComboBox : public TCustomComboBox {
  VELBOR_DECLARE_CLASS(TOxCustomDBComboBox, TCustomComboBox)
 public:
  explicit TOxCustomDBComboBox(TComponent* AOwner);
  ~TOxCustomDBComboBox() override;

  // Properties.
  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value);
  TField* Field() const { return FDataLink->Field(); }
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
  // Setting the items shows the field again.
  TStrings* Items() const { return TCustomComboBox::Items(); }
  void SetItems(TStrings* Value);
  TComboBoxStyle Style() const { return TCustomComboBox::Style(); }
  // csSimple is refused while a panel grid fixes the data source.
  virtual void SetStyle(TComboBoxStyle Value);

  // Operations.
  // The value the control holds: the edit text of csDropDown and csSimple, else the selected
  // item's text (empty without a selection).
  virtual String GetComboText() const;
  // Shows Value: selects its item (none when it has none); the edit styles show it as text.
  virtual void SetComboText(const String& Value);
  // The text a copy of the control shows for the field (inside a panel grid).
  virtual String GetFieldText() const;

 protected:
  // The list position of a value (-1 for none).
  virtual int IndexOfValue(const String& Value) const;
  // Re-reads the field into the control.
  void DataChange(TObject* Sender);
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  void Change() override;
  void Click() override;
  void DropDown() override;
  void CloseUp() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void CNCommand(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMGetDataLink(TMessage& Message);
  void WMPaint(TMessage& Message);

 private:
  // Puts the dataset in edit mode without losing the user's choice (entering edit mode re-reads
  // the record into the control); false when the dataset may not be edited.
  bool EditKeepingChoice();
  void EditingChange(TObject* Sender);
  void UpdateData(TObject* Sender);
  void ApplyEditReadOnly();

  TFieldDataLink* FDataLink;  // owned
  bool FShowingField = false;
};

class TOxDBComboBox : public TOxCustomDBComboBox {
  VELBOR_DECLARE_CLASS(TOxDBComboBox, TOxCustomDBComboBox)
 public:
  explicit TOxDBComboBox(TComponent* AOwner);
  ~TOxDBComboBox() override;

  // Properties.
  // The stored values, one per item; any change shows the field again while EnableValues is on.
  TStrings* Values() const { return FValues; }
  void SetValues(TStrings* Value) { FValues->Assign(Value); }
  // On, the field stores Values[i] for Items[i] (and the style is a list style); off, the field
  // stores the text itself.
  bool EnableValues() const { return FEnableValues; }
  void SetEnableValues(bool Value);
  // csDropDown and csSimple switch EnableValues off.
  void SetStyle(TComboBoxStyle Value) override;

  // Operations.
  String GetComboText() const override;
  String GetFieldText() const override;

 protected:
  int IndexOfValue(const String& Value) const override;

 private:
  void ValuesChanged(TObject* Sender);

  TStringList* FValues;  // owned
  bool FEnableValues = true;
};

// Makes the data-aware combo box with stored values known to the form reader.
void RegisterOxDBComboBox();
