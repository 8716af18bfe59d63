// This file implements TDBCheckBox: a check box over a boolean field or over a field holding one
// of two texts, written back on exit.
#include "DBCtrls.h"

#include "Colors.h"

#include "StrUtils.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TDBCheckBox)
VELBOR_PUBLISHED(TDBCheckBox,
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("ValueChecked", &Self::ValueChecked),
  Prop("ValueUnchecked", &Self::ValueUnchecked))

namespace {

// Whether Text is one of the ';'-separated entries of Values (case ignored).
bool ValueMatch(const String& Values, const String& Text) {
  std::size_t start = 0;
  while (start <= Values.size()) {
    std::size_t end = Values.find(';', start);
    if (end == String::npos) end = Values.size();
    if (SameText(Trim(Values.substr(start, end - start)), Text)) return true;
    start = end + 1;
  }
  return false;
}

String FirstValue(const String& Values) {
  std::size_t end = Values.find(';');
  return Trim(end == String::npos ? Values : Values.substr(0, end));
}

}  // namespace

TDBCheckBox::TDBCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetState(cbUnchecked);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TDBCheckBox::DataChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TDBCheckBox::UpdateData);
}

TDBCheckBox::~TDBCheckBox() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TDBCheckBox::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TDBCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomCheckBox::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink != nullptr && AComponent == DataSource()) SetDataSource(nullptr);
}

TCheckBoxState TDBCheckBox::FieldState() {
  TField* field = FDataLink->Field();
  if (field == nullptr || field->IsNull()) return cbGrayed;
  if (field->DataType() == ftBoolean) return field->AsBoolean() ? cbChecked : cbUnchecked;
  String text = field->Text();
  if (ValueMatch(ValueChecked, text)) return cbChecked;
  if (ValueMatch(ValueUnchecked, text)) return cbUnchecked;
  return cbGrayed;
}

void TDBCheckBox::DataChange(TObject*) {
  bool saved = ClicksDisabled;
  ClicksDisabled = true;
  SetState(FieldState());
  ClicksDisabled = saved;
}

void TDBCheckBox::UpdateData(TObject*) {
  TField* field = FDataLink->Field();
  if (State() == cbGrayed) {
    field->Clear();
  } else if (field->DataType() == ftBoolean) {
    field->SetAsBoolean(Checked());
  } else {
    field->SetText(FirstValue(Checked() ? ValueChecked : ValueUnchecked));
  }
}

void TDBCheckBox::Toggle() {
  // The user's click changes nothing unless the dataset can edit the field.
  if (!FDataLink->Edit()) return;
  TCustomCheckBox::Toggle();
  FDataLink->Modified();
}

void TDBCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: TCustomCheckBox::Dispatch(Message); break;
  }
}

void TDBCheckBox::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SetFocus();
    throw;
  }
  TCustomCheckBox::Dispatch(Message);
}

void TDBCheckBox::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TDBCheckBox::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomCheckBox::Dispatch(Message);
    return;
  }
  // The box shows the state of the record being painted, not the control's own.
  HDC dc = HDC(Message.WParam);
  RECT r{0, 0, Width(), Height()};
  FillRect(dc, &r, TOwnedBrush(CreateSolidBrush(ColorToRGB(Color()))));
  TCheckBoxState state = FieldState();
  int box = 13;
  RECT check{0, (Height() - box) / 2, box, (Height() - box) / 2 + box};
  UINT flags = DFCS_BUTTONCHECK | (state == cbChecked ? DFCS_CHECKED : 0) | (state == cbGrayed ? DFCS_INACTIVE : 0);
  DrawFrameControl(dc, &check, DFC_BUTTON, flags);
  RECT text{box + 4, 0, Width(), Height()};
  TSelectedObject font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  String caption = Caption();
  DrawTextA(dc, caption.c_str(), int(caption.size()), &text, DT_SINGLELINE | DT_VCENTER);
}
