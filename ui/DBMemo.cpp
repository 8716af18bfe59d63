// This file implements TDBMemo: a memo showing a memo or string field, written back on exit.
#include "DBCtrls.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TDBMemo)
VELBOR_PUBLISHED(TDBMemo,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

TDBMemo::TDBMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
  ControlStyle.Include(csReplicatable);
  TCustomEdit::SetReadOnly(true);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBMemo::DataChange);
  FDataLink->OnEditingChange = TNotifyEvent(this, &TDBMemo::EditingChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TDBMemo::UpdateData);
}

TDBMemo::~TDBMemo() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TDBMemo::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBMemo::SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }

void TDBMemo::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMemo::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

void TDBMemo::Change() {
  if (!FLoading) FDataLink->Modified();
  TCustomMemo::Change();
}

void TDBMemo::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomMemo::KeyDown(Key, Shift);
  if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) FDataLink->Edit();
}

void TDBMemo::KeyPress(char& Key) {
  TCustomMemo::KeyPress(Key);
  unsigned char k = static_cast<unsigned char>(Key);
  if (k >= 32 || k == 8 || k == 13 || k == 10 || k == 22 || k == 24) {
    if (!FDataLink->Edit()) Key = 0;
  } else if (k == VK_ESCAPE) {
    FDataLink->Reset();
  }
}

void TDBMemo::DataChange(TObject*) {
  TField* field = FDataLink->Field();
  FLoading = true;
  TScopeGuard restore([&] { FLoading = false; });
  if (field == nullptr) SetText(String());
  else if (dynamic_cast<TBlobField*>(field) != nullptr) SetText(field->AsString());
  else SetText(field->DisplayText());
}

void TDBMemo::EditingChange(TObject*) { TCustomEdit::SetReadOnly(!FDataLink->Editing()); }

void TDBMemo::UpdateData(TObject*) { FDataLink->Field()->SetAsString(Text()); }

void TDBMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: TCustomMemo::Dispatch(Message); break;
  }
}

void TDBMemo::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SetFocus();
    throw;
  }
  TCustomMemo::Dispatch(Message);
}

void TDBMemo::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TDBMemo::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomMemo::Dispatch(Message);
    return;
  }
  TField* field = FDataLink->Field();
  PaintCopyText(this, HDC(Message.WParam), field == nullptr ? String() : dynamic_cast<TBlobField*>(field) != nullptr ? field->AsString() : field->DisplayText(), DT_WORDBREAK | DT_NOPREFIX);
}
