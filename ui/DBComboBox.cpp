// This file implements TDBComboBox: a combo box over a field, written back on exit.
#include "DBCtrls.h"

#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TDBComboBox)
VELBOR_PUBLISHED(TDBComboBox,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

TDBComboBox::TDBComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  ControlStyle.Include(csReplicatable);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBComboBox::DataChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TDBComboBox::UpdateData);
}

TDBComboBox::~TDBComboBox() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TDBComboBox::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

String TDBComboBox::ComboText() const {
  if (Style() == csDropDown || Style() == csSimple) return Text();
  int index = ItemIndex();
  return index < 0 ? String() : Items()->Strings(index);
}

void TDBComboBox::SetComboText(const String& Value) {
  FLoading = true;
  TScopeGuard restore([&] { FLoading = false; });
  if (Style() == csDropDown || Style() == csSimple) {
    SetText(Value);
  } else {
    SetItemIndex(Value.empty() ? -1 : Items()->IndexOf(Value));
  }
}

void TDBComboBox::Change() {
  if (!FLoading) {
    // Entering edit mode re-reads the field into the control: the user's text is put back.
    String typed = Text();
    if (FDataLink->Edit()) {
      if (Text() != typed) SetComboText(typed);
      FDataLink->Modified();
    }
  }
  TCustomComboBox::Change();
}

void TDBComboBox::Select() {
  if (!FLoading) {
    int chosen = ItemIndex();
    // A choice the dataset cannot take is taken back.
    if (!FDataLink->Edit()) {
      FDataLink->Reset();
      return;
    }
    if (ItemIndex() != chosen) {
      FLoading = true;
      SetItemIndex(chosen);
      FLoading = false;
    }
    FDataLink->Modified();
  }
  TCustomComboBox::Select();
}

void TDBComboBox::KeyPress(char& Key) {
  TCustomComboBox::KeyPress(Key);
  unsigned char k = static_cast<unsigned char>(Key);
  if (k >= 32 && FDataLink->Field() != nullptr && !FDataLink->Field()->IsValidChar(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  if (k >= 32 || k == 8) {
    if (!FDataLink->Edit()) Key = 0;
  } else if (k == VK_ESCAPE) {
    FDataLink->Reset();
    SelectAll();
  }
}

void TDBComboBox::DataChange(TObject*) {
  TField* field = FDataLink->Field();
  SetComboText(field != nullptr ? field->Text() : String());
}

void TDBComboBox::UpdateData(TObject*) { FDataLink->Field()->SetText(ComboText()); }

void TDBComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: TCustomComboBox::Dispatch(Message); break;
  }
}

void TDBComboBox::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SelectAll();
    SetFocus();
    throw;
  }
  TCustomComboBox::Dispatch(Message);
}

void TDBComboBox::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TDBComboBox::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomComboBox::Dispatch(Message);
    return;
  }
  TField* field = FDataLink->Field();
  PaintCopyText(this, HDC(Message.WParam), field != nullptr ? field->DisplayText() : String(), DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}
