// This file implements TDBText: a label showing a field's DisplayText.
#include "DBCtrls.h"

VELBOR_IMPLEMENT_CLASS(TDBText)
VELBOR_PUBLISHED(TDBText,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource))

TDBText::TDBText(TComponent* AOwner) : TCustomLabel(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetAutoSize(false);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBText::DataChange);
}

TDBText::~TDBText() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TDBText::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBText::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

String TDBText::GetLabelText() const {
  // Painted as a copy (a panel grid), the field holds the record of the panel being drawn.
  TField* field = FDataLink->Field();
  if (field != nullptr) return field->DisplayText();
  return ComponentState().Contains(csDesigning) ? Name() : String();
}

void TDBText::DataChange(TObject*) {
  // The caption follows the field so that AutoSize and readers of Caption see the value.
  SetCaption(GetLabelText());
}

void TDBText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    default: TCustomLabel::Dispatch(Message); break;
  }
}

void TDBText::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }
