// This file implements TFieldControl, the host of the controls that show one field of a data
// source (the data-aware edits, memo, check box, label, image, radio group and combo boxes): it
// makes and owns the control's TFieldDataLink, publishes DataField, DataSource and ReadOnly,
// forgets a data source being freed, answers CM_GETDATALINK, takes the focus when its field is
// asked to focus its control, and writes the field back when the user leaves the control. A control derives from TFieldControl<its base class> and overrides
// DataChange, EditingChange and UpdateData to show the field and to write it.
#pragma once

#include <type_traits>

#include "Controls.h"
#include "DataSource.h"
#include "Field.h"
#include "Messages.h"
#include "ScopeGuard.h"

template <class TBase>
class TFieldControl : public TBase {
 public:
  explicit TFieldControl(TComponent* AOwner) : TBase(AOwner) {
    FDataLink = new TFieldDataLink;
    FDataLink->Control = this;
    FDataLink->OnDataChange = TNotifyEvent(this, &TFieldControl::LinkDataChange);
    FDataLink->OnEditingChange = TNotifyEvent(this, &TFieldControl::LinkEditingChange);
    FDataLink->OnUpdateData = TNotifyEvent(this, &TFieldControl::LinkUpdateData);
    FDataLink->OnFocusControl = TEvent<void(TObject*, bool&)>(this, &TFieldControl::LinkFocusControl);
  }
  ~TFieldControl() override {
    delete FDataLink;
    FDataLink = nullptr;
  }

  // Properties.
  String DataField() const { return FDataLink->FieldName(); }
  void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
  TDataSource* DataSource() const { return FDataLink->DataSource(); }
  void SetDataSource(TDataSource* Value) {
    FDataLink->SetDataSource(Value);
    if (Value != nullptr) Value->FreeNotification(this);
  }
  TField* Field() const { return FDataLink->Field(); }
  // The control's own read-only flag; the field and the data source may forbid edits too.
  bool ReadOnly() const { return FDataLink->ReadOnly(); }
  void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }

 protected:
  // What the link tells: the field's value or the record changed (show it), the dataset entered
  // or left edit mode, the record is being written (put the control's value into the field).
  virtual void DataChange() {}
  virtual void EditingChange() {}
  virtual void UpdateData() {}

  // Writes the field back as the user leaves; a value the field refuses puts the user back in
  // the control before the error goes on.
  void UpdateRecordOnExit() {
    TScopeGuard stay([&] { StayAfterRefusal(); });
    FDataLink->UpdateRecord();
    stay.Dismiss();
  }
  // Puts the user back in the control after a refused value.
  virtual void StayAfterRefusal() {
    if constexpr (std::is_base_of_v<TWinControl, TBase>) {
      if (this->CanFocus()) this->SetFocus();
    }
  }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    TBase::Notification(AComponent, Operation);
    if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
  }

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_GETDATALINK: Message.Result = LRESULT(FDataLink); break;
      case CM_EXIT: CMExit(Message); break;
      default: TBase::Dispatch(Message); break;
    }
  }

  // protected messages
  void CMExit(TMessage& Message) {
    UpdateRecordOnExit();
    TBase::Dispatch(Message);
  }

 private:
  void LinkDataChange(TObject*) { DataChange(); }
  void LinkEditingChange(TObject*) { EditingChange(); }
  void LinkUpdateData(TObject*) { UpdateData(); }
  // The dataset asks for the field's control (TField::FocusControl): a control that cannot take
  // the focus now (hidden, disabled) leaves the request to the other links.
  void LinkFocusControl(TObject*, bool& Focused) {
    if constexpr (std::is_base_of_v<TWinControl, TBase>) {
      if (!this->CanFocus()) return;
      this->SetFocus();
      Focused = true;
    }
  }

 protected:
  TFieldDataLink* FDataLink;  // owned; null once the control is being destroyed
};
