// This file implements TDBMemo: a memo showing a memo or string field, written back on exit.
#include "DBCtrls.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TDBMemo)
VELBOR_PUBLISHED(TDBMemo,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

TDBMemo::TDBMemo(TComponent* AOwner) : inherited(AOwner) {
  ControlStyle.Include(csReplicatable);
  TCustomEdit::SetReadOnly(true);
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

void TDBMemo::DataChange() {
  TField* field = FDataLink->Field();
  FLoading = true;
  TScopeGuard restore([&] { FLoading = false; });
  if (field == nullptr) SetText(String());
  else if (dynamic_cast<TBlobField*>(field) != nullptr) SetText(field->AsString());
  else SetText(field->DisplayText());
}

void TDBMemo::EditingChange() { TCustomEdit::SetReadOnly(!FDataLink->Editing()); }

void TDBMemo::UpdateData() { FDataLink->Field()->SetAsString(Text()); }

void TDBMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TDBMemo::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomMemo::Dispatch(Message);
    return;
  }
  TField* field = FDataLink->Field();
  PaintCopyText(this, HDC(Message.WParam), field == nullptr ? String() : dynamic_cast<TBlobField*>(field) != nullptr ? field->AsString() : field->DisplayText(), DT_WORDBREAK | DT_NOPREFIX);
}
