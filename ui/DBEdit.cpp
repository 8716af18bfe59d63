// This file implements TDBEdit: a masked edit showing one field, putting the dataset in edit mode
// on the user's first change and writing the text back when the focus leaves.
#include "DBCtrls.h"

#include "Colors.h"

VELBOR_IMPLEMENT_CLASS(TDBEdit)
VELBOR_PUBLISHED(TDBEdit,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

TDBEdit::TDBEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  ControlStyle.Include(csReplicatable);
  // Read-only until the dataset edits the field.
  TCustomEdit::SetReadOnly(true);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBEdit::DataChange);
  FDataLink->OnEditingChange = TNotifyEvent(this, &TDBEdit::EditingChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TDBEdit::UpdateData);
}

TDBEdit::~TDBEdit() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TDBEdit::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBEdit::SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }

void TDBEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

bool TDBEdit::EditCanModify() { return FDataLink->Edit(); }

void TDBEdit::Reset() {
  FDataLink->Reset();
  SelectAll();
}

void TDBEdit::Change() {
  FDataLink->Modified();
  TCustomMaskEdit::Change();
}

void TDBEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) FDataLink->Edit();
}

void TDBEdit::KeyPress(char& Key) {
  TCustomMaskEdit::KeyPress(Key);
  unsigned char k = static_cast<unsigned char>(Key);
  if (k >= 32 && FDataLink->Field() != nullptr && !FDataLink->Field()->IsValidChar(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  if (k >= 32 || k == 8 || k == 22 || k == 24) {
    FDataLink->Edit();
  } else if (k == VK_ESCAPE) {
    FDataLink->Reset();
    SelectAll();
    Key = 0;
  }
}

void TDBEdit::SetFocused(bool Value) {
  if (FFocused == Value) return;
  FFocused = Value;
  // The text switches between the edit form and the display form.
  FDataLink->Reset();
}

void TDBEdit::DataChange(TObject*) {
  TField* field = FDataLink->Field();
  if (field == nullptr) {
    SetEditMask(String());
    SetText(ComponentState().Contains(csDesigning) ? Name() : String());
    return;
  }
  if (field->EditMask() != EditMask()) SetEditMask(field->EditMask());
  if (field->DataType() == ftString || field->DataType() == ftWideString) {
    if (MaxLength() != field->Size()) SetMaxLength(field->Size());
  }
  if (FFocused && FDataLink->CanModify()) {
    SetText(field->Text());
  } else {
    SetEditText(field->DisplayText());
  }
}

void TDBEdit::EditingChange(TObject*) { TCustomEdit::SetReadOnly(!FDataLink->Editing()); }

void TDBEdit::UpdateData(TObject*) {
  ValidateEdit();
  FDataLink->Field()->SetText(Text());
}

void TDBEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_CUT: WMCut(Message); break;
    default: TCustomMaskEdit::Dispatch(Message); break;
  }
}

void TDBEdit::CMEnter(TMessage& Message) {
  SetFocused(true);
  TCustomMaskEdit::Dispatch(Message);
}

void TDBEdit::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    // The field refused the text: the user stays here to correct it.
    SelectAll();
    SetFocus();
    throw;
  }
  SetFocused(false);
  TCustomMaskEdit::Dispatch(Message);
}

void TDBEdit::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TDBEdit::WMPaste(TMessage& Message) {
  FDataLink->Edit();
  TCustomMaskEdit::Dispatch(Message);
}

void TDBEdit::WMCut(TMessage& Message) {
  FDataLink->Edit();
  TCustomMaskEdit::Dispatch(Message);
}

void TDBEdit::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomMaskEdit::Dispatch(Message);
    return;
  }
  TField* field = FDataLink->Field();
  PaintCopyText(this, HDC(Message.WParam), field != nullptr ? field->DisplayText() : String(), DT_SINGLELINE | DT_NOPREFIX | (field != nullptr && field->Alignment() == taRightJustify ? DT_RIGHT : DT_LEFT));
}

void PaintCopyText(TWinControl* Control, HDC DC, const String& Text, UINT Format) {
  // PaintTo has already drawn the border and moved the origin inside it.
  RECT r;
  GetClientRect(Control->Handle(), &r);
  FillRect(DC, &r, TOwnedBrush(CreateSolidBrush(ColorToRGB(Control->Color()))));
  TSelectedObject font(DC, Control->Font()->Handle());
  SetTextColor(DC, ColorToRGB(Control->Font()->Color()));
  SetBkMode(DC, TRANSPARENT);
  InflateRect(&r, -1, -1);
  DrawTextA(DC, Text.c_str(), int(Text.size()), &r, Format);
}
