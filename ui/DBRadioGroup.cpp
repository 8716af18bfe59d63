// This file implements TDBRadioGroup: a radio group whose checked button is the field's value.
#include "DBCtrls.h"

#include "ScopeGuard.h"
#include "Strings.h"

VELBOR_IMPLEMENT_CLASS(TDBRadioGroup)
VELBOR_PUBLISHED(TDBRadioGroup,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("Values", &Self::Values, &Self::SetValues))

TDBRadioGroup::TDBRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {
  ControlStyle.Include(csReplicatable);
  FValues = new TStringList;
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBRadioGroup::DataChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TDBRadioGroup::UpdateData);
}

TDBRadioGroup::~TDBRadioGroup() {
  delete FDataLink;
  FDataLink = nullptr;
  delete FValues;
}

void TDBRadioGroup::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBRadioGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomRadioGroup::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

String TDBRadioGroup::ButtonValue(int Index) const {
  if (Index < 0) return String();
  if (Index < FValues->Count() && !FValues->Strings(Index).empty()) return FValues->Strings(Index);
  if (Index < Items()->Count()) return Items()->Strings(Index);
  return String();
}

void TDBRadioGroup::SetValue(const String& Value) {
  if (FValue == Value) return;
  FInSetValue = true;
  {
    TScopeGuard restore([&] { FInSetValue = false; });
    int index = -1;
    for (int i = 0; i < Items()->Count(); ++i) {
      if (ButtonValue(i) == Value) {
        index = i;
        break;
      }
    }
    SetItemIndex(index);
  }
  FValue = Value;
  Change();
}

bool TDBRadioGroup::CanModify() { return FDataLink->Edit(); }

void TDBRadioGroup::Click() {
  if (FInSetValue) return;
  TCustomRadioGroup::Click();
  String chosen = ButtonValue(ItemIndex());
  if (chosen == FValue) return;
  FValue = chosen;
  FDataLink->Modified();
  Change();
}

void TDBRadioGroup::Change() {
  if (OnChange) OnChange(this);
}

void TDBRadioGroup::DataChange(TObject*) {
  TField* field = FDataLink->Field();
  SetValue(field != nullptr ? field->Text() : String());
}

void TDBRadioGroup::UpdateData(TObject*) { FDataLink->Field()->SetText(FValue); }

void TDBRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    default: TCustomRadioGroup::Dispatch(Message); break;
  }
}

void TDBRadioGroup::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    if (ItemIndex() >= 0 && Buttons(ItemIndex())->CanFocus()) Buttons(ItemIndex())->SetFocus();
    throw;
  }
  TCustomRadioGroup::Dispatch(Message);
}

void TDBRadioGroup::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }
