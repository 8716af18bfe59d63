// This file implements TDBEdit: a masked edit showing one field, putting the dataset in edit mode
// on the user's first change and writing the text back when the focus leaves.
#include "DBCtrls.h"

#include "Colors.h"

VELBOR_IMPLEMENT_CLASS(TDBEdit)
VELBOR_PUBLISHED(TDBEdit,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))

TDBEdit::TDBEdit(TComponent* AOwner) : inherited(AOwner) {
  ControlStyle.Include(csReplicatable);
  // Read-only until the dataset edits the field.
  TCustomEdit::SetReadOnly(true);
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

void TDBEdit::DataChange() {
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

void TDBEdit::EditingChange() { TCustomEdit::SetReadOnly(!FDataLink->Editing()); }

void TDBEdit::UpdateData() {
  ValidateEdit();
  FDataLink->Field()->SetText(Text());
}

void TDBEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_CUT: WMCut(Message); break;
    default: inherited::Dispatch(Message); break;
  }
}

void TDBEdit::CMEnter(TMessage& Message) {
  SetFocused(true);
  TCustomMaskEdit::Dispatch(Message);
}

void TDBEdit::CMExit(TMessage& Message) {
  UpdateRecordOnExit();
  SetFocused(false);
  TCustomMaskEdit::Dispatch(Message);
}

// The field refused the text: the user stays here to correct it.
void TDBEdit::StayAfterRefusal() {
  SelectAll();
  inherited::StayAfterRefusal();
}

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
