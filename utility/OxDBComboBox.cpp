// This file implements TOxCustomDBComboBox and TOxDBComboBox.
#include "OxDBComboBox.h"

#include "OxFileUtils.h"
#include "ScopeGuard.h"

namespace {
bool HasEditPart(TComboBoxStyle Style) { return Style == csDropDown || Style == csSimple; }
}  // namespace

VELBOR_IMPLEMENT_CLASS(TOxCustomDBComboBox)
VELBOR_PUBLISHED(TOxCustomDBComboBox,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("Items", &Self::Items, &Self::SetItems),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(csDropDown),
  // The field decides what is shown: the selection and the text are not kept in descriptions.
  Prop("ItemIndex", &Self::ItemIndex, &Self::SetItemIndex).Stored(false),
  Prop("Text", &Self::Text, &Self::SetText).Stored(false))

VELBOR_IMPLEMENT_CLASS(TOxDBComboBox)
VELBOR_PUBLISHED(TOxDBComboBox,
  Prop("Values", &Self::Values, &Self::SetValues),
  Prop("EnableValues", &Self::EnableValues, &Self::SetEnableValues).Default(true),
  Prop("Style", &Self::Style, static_cast<void (TOxCustomDBComboBox::*)(TComboBoxStyle)>(&Self::SetStyle))
      .Default(csDropDownList))

void RegisterOxDBComboBox() { RegisterClass(TOxDBComboBox::StaticClass()); }

// --- TOxCustomDBComboBox --------------------------------------------------------------------------

TOxCustomDBComboBox::TOxCustomDBComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  ControlStyle.Include(csReplicatable);
  FDataLink = new TFieldDataLink;
  FDataLink->Control = this;
  FDataLink->OnDataChange = TNotifyEvent(this, &TOxCustomDBComboBox::DataChange);
  FDataLink->OnEditingChange = TNotifyEvent(this, &TOxCustomDBComboBox::EditingChange);
  FDataLink->OnUpdateData = TNotifyEvent(this, &TOxCustomDBComboBox::UpdateData);
}

TOxCustomDBComboBox::~TOxCustomDBComboBox() {
  delete FDataLink;
  FDataLink = nullptr;
}

void TOxCustomDBComboBox::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TOxCustomDBComboBox::SetItems(TStrings* Value) {
  TCustomComboBox::SetItems(Value);
  DataChange(this);
}

void TOxCustomDBComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == csSimple && FDataLink->DataSourceFixed) {
    RaiseDatabaseError("Le contrôle ne peut être utilisé dans un DBCtrlGrid"_a);
  }
  TCustomComboBox::SetStyle(Value);
  // The window made again keeps the old selection, which may not be how the new style shows the
  // field.
  DataChange(this);
}

String TOxCustomDBComboBox::GetComboText() const {
  if (HasEditPart(Style())) return Text();
  int index = ItemIndex();
  return index < 0 ? String() : Items()->Strings(index);
}

int TOxCustomDBComboBox::IndexOfValue(const String& Value) const { return Items()->IndexOf(Value); }

void TOxCustomDBComboBox::SetComboText(const String& Value) {
  if (Value == GetComboText()) return;
  FShowingField = true;
  TScopeGuard restore([&] { FShowingField = false; });
  int index = -1;
  if (Style() != csDropDown) {
    bool redraw = Style() != csSimple && HandleAllocated();
    if (redraw) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    if (!Value.empty()) index = IndexOfValue(Value);
    if (index >= Items()->Count()) index = -1;
    SetItemIndex(index);
    if (redraw) {
      SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
      Invalidate();
    }
  }
  if (Style() == csDropDown || (Style() == csSimple && index < 0)) SetText(Value);
}

String TOxCustomDBComboBox::GetFieldText() const {
  TField* field = FDataLink->Field();
  return field ? field->Text() : String();
}

void TOxCustomDBComboBox::DataChange(TObject*) {
  if (DroppedDown()) return;
  if (TField* field = FDataLink->Field()) SetComboText(field->Text());
  else SetComboText(Designing() ? Name() : String());
}

void TOxCustomDBComboBox::EditingChange(TObject*) { ApplyEditReadOnly(); }

void TOxCustomDBComboBox::ApplyEditReadOnly() {
  if (HasEditPart(Style()) && EditHandle()) {
    SendMessageA(EditHandle(), EM_SETREADONLY, FDataLink->Editing() ? FALSE : TRUE, 0);
  }
}

void TOxCustomDBComboBox::UpdateData(TObject*) { FDataLink->Field()->SetText(GetComboText()); }

bool TOxCustomDBComboBox::EditKeepingChoice() {
  if (FDataLink->Editing()) return true;
  int index = ItemIndex();
  String text = Text();
  if (!FDataLink->Edit()) return false;
  if (ItemIndex() != index || Text() != text) {
    FShowingField = true;
    if (HasEditPart(Style()) && index < 0) SetText(text);
    else SetItemIndex(index);
    FShowingField = false;
  }
  return true;
}

// A change marks the field modified only while the dataset edits it: writing it back otherwise
// would raise on leaving the control.
void TOxCustomDBComboBox::Change() {
  if (FShowingField) {
    TCustomComboBox::Change();
    return;
  }
  EditKeepingChoice();
  TCustomComboBox::Change();
  if (FDataLink->Editing()) FDataLink->Modified();
}

void TOxCustomDBComboBox::Click() {
  if (FShowingField) {
    TCustomComboBox::Click();
    return;
  }
  EditKeepingChoice();
  TCustomComboBox::Click();
  if (FDataLink->Editing()) FDataLink->Modified();
}

void TOxCustomDBComboBox::DropDown() {
  FDataLink->Edit();
  TCustomComboBox::DropDown();
}

void TOxCustomDBComboBox::CloseUp() {
  if (!FDataLink->Editing()) FDataLink->Reset();
  TCustomComboBox::CloseUp();
}

void TOxCustomDBComboBox::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomComboBox::KeyDown(Key, Shift);
  if (Key == VK_BACK || (Key >= 32 && Key <= 255)) {
    if (!FDataLink->Edit() && (Key == VK_UP || Key == VK_DOWN)) Key = 0;
  }
}

void TOxCustomDBComboBox::KeyPress(char& Key) {
  TCustomComboBox::KeyPress(Key);
  auto code = static_cast<unsigned char>(Key);
  TField* field = FDataLink->Field();
  if (code >= 32 && field && !field->IsValidChar(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  constexpr unsigned char CtrlV = 22, CtrlX = 24;
  if (code >= 32 || code == VK_BACK || code == CtrlV || code == CtrlX) {
    // Nothing may change the text of a record the dataset will not edit.
    if (!FDataLink->Edit()) Key = 0;
  } else if (code == VK_ESCAPE) {
    FDataLink->Reset();
    SelectAll();
  }
}

void TOxCustomDBComboBox::CreateWnd() {
  TCustomComboBox::CreateWnd();
  ApplyEditReadOnly();
}

void TOxCustomDBComboBox::Loaded() {
  TCustomComboBox::Loaded();
  if (Designing()) DataChange(this);
}

void TOxCustomDBComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == DataSource()) SetDataSource(nullptr);
}

void TOxCustomDBComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_GETDATALINK: CMGetDataLink(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    default: TCustomComboBox::Dispatch(Message); break;
  }
}

// A choice the dataset cannot take is undone before anyone hears of it, and the list closes.
void TOxCustomDBComboBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == CBN_SELCHANGE && !Designing() && !EditKeepingChoice()) {
    FDataLink->Reset();
    if (Style() != csSimple) PostMessageA(Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    return;
  }
  TCustomComboBox::Dispatch(Message);
}

// Leaving writes the record; a refused value keeps the user in the control.
void TOxCustomDBComboBox::CMExit(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SelectAll();
    if (CanFocus()) SetFocus();
    throw;
  }
  TCustomComboBox::Dispatch(Message);
}

void TOxCustomDBComboBox::CMGetDataLink(TMessage& Message) { Message.Result = LRESULT(FDataLink); }

void TOxCustomDBComboBox::WMPaint(TMessage& Message) {
  if (!ControlState.Contains(csPaintCopy) || Message.WParam == 0) {
    TCustomComboBox::Dispatch(Message);
    return;
  }
  PaintCopyText(this, HDC(Message.WParam), GetFieldText(), DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

// --- TOxDBComboBox --------------------------------------------------------------------------------

TOxDBComboBox::TOxDBComboBox(TComponent* AOwner) : TOxCustomDBComboBox(AOwner) {
  FValues = new TStringList();
  FValues->OnChange = TNotifyEvent(this, &TOxDBComboBox::ValuesChanged);
  TOxCustomDBComboBox::SetStyle(csDropDownList);
}

TOxDBComboBox::~TOxDBComboBox() {
  delete FValues;
  FValues = nullptr;
}

void TOxDBComboBox::SetEnableValues(bool Value) {
  if (Value && HasEditPart(Style())) TOxCustomDBComboBox::SetStyle(csDropDownList);
  FEnableValues = Value;
  DataChange(this);
}

void TOxDBComboBox::SetStyle(TComboBoxStyle Value) {
  if (HasEditPart(Value)) FEnableValues = false;
  TOxCustomDBComboBox::SetStyle(Value);
}

void TOxDBComboBox::ValuesChanged(TObject*) {
  if (FEnableValues) DataChange(this);
}

String TOxDBComboBox::GetComboText() const {
  if (!FEnableValues && HasEditPart(Style())) return Text();
  int index = ItemIndex();
  if (index < 0 || (FEnableValues && FValues->Count() < index + 1)) return String();
  return FEnableValues ? FValues->Strings(index) : Items()->Strings(index);
}

int TOxDBComboBox::IndexOfValue(const String& Value) const {
  return FEnableValues ? FValues->IndexOf(Value) : Items()->IndexOf(Value);
}

String TOxDBComboBox::GetFieldText() const {
  String text = TOxCustomDBComboBox::GetFieldText();
  if (!FEnableValues) return text;
  int index = FValues->IndexOf(text);
  return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : String();
}
