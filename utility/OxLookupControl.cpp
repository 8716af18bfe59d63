// This file implements the base of the dataset lookup controls and its two data links.
#include "OxLookupControl.h"

#include <algorithm>

#include "Colors.h"
#include "Field.h"
#include "Format.h"
#include "OxFileUtils.h"
#include "OxLocate.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxLookupControl)
VELBOR_PUBLISHED(TOxLookupControl,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("LookupSource", &Self::LookupSource, &Self::SetLookupSource),
  Prop("LookupField", &Self::LookupField, &Self::SetLookupField),
  Prop("LookupDisplay", &Self::LookupDisplay, &Self::SetLookupDisplay),
  Prop("LookupDisplayIndex", &Self::LookupDisplayIndex, &Self::SetLookupDisplayIndex).Default(0),
  Prop("LookupFormat", &Self::LookupFormat, &Self::SetLookupFormat),
  Prop("ListStyle", &Self::ListStyle, &Self::SetListStyle).Default(lsFixed),
  Prop("FieldsDelimiter", &Self::FieldsDelimiter, &Self::SetFieldsDelimiter).Default(','),
  Prop("DisplayEmpty", &Self::DisplayEmpty, &Self::SetDisplayEmpty),
  Prop("EmptyValue", &Self::EmptyValue, &Self::SetEmptyValue),
  Prop("EmptyStrIsNull", &Self::EmptyStrIsNull, &Self::SetEmptyStrIsNull).Default(true),
  Prop("EmptyItemColor", &Self::EmptyItemColor, &Self::SetEmptyItemColor).Idents(ColorIdents).Default(clWindow),
  Prop("IgnoreCase", &Self::IgnoreCase).Default(true),
  Prop("IndexSwitch", &Self::IndexSwitch).Default(true),
  Prop("ItemHeight", &Self::ItemHeight, &Self::SetItemHeight).Stored(&Self::IsItemHeightStored),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false),
  Prop("Ctl3D", &Self::Ctl3D, &Self::SetCtl3D).Default(true),
  Prop("Value", &Self::Value, &Self::SetValue).Stored(false),
  Prop("OnChange", &Self::OnChange),
  Prop("OnGetImage", &Self::OnGetImage))

DWORD TOxLookupControl::SearchTick = 0;

namespace {

const char* const SCircularDataLink = "Liaisons de données circulaires non autorisées"_a;
const char* const SPropDefByLookup = "Propriété déjà définie dans un DBCtrlGrid"_a;
const char* const SDataSourceFixed = "Opération non autorisée dans un DBCtrlGrid"_a;

// Checks a LookupFormat: only "%s", "%S" and "%%" may follow a percent sign.
void ValidateLookupFormat(const String& Format_) {
  for (std::size_t i = 0; i < Format_.size(); ++i) {
    if (Format_[i] != '%') continue;
    if (i + 1 >= Format_.size()) throw ENorvixException("Invalid format: % not allowed");
    char next = Format_[i + 1];
    if (next != '%' && next != 's' && next != 'S') {
      throw ENorvixException(Format("Invalid format: %s not allowed", {"'" + Format_.substr(i, 2) + "'"}));
    }
    ++i;
  }
}

// The fields a LookupFormat asks for.
int FormatFieldCount(const String& Format_) {
  int count = 0;
  for (std::size_t i = 0; i + 1 < Format_.size(); ++i) {
    if (Format_[i] != '%') continue;
    if (Format_[i + 1] == 's' || Format_[i + 1] == 'S') ++count;
    ++i;
  }
  return count;
}

// LookupFormat applied to the texts, in order.
String ApplyLookupFormat(const String& Format_, const std::vector<String>& Texts) {
  String result;
  std::size_t next = 0;
  for (std::size_t i = 0; i < Format_.size(); ++i) {
    if (Format_[i] == '%' && i + 1 < Format_.size()) {
      char c = Format_[i + 1];
      ++i;
      if (c == '%') result += '%';
      else if (next < Texts.size()) result += Texts[next++];
      continue;
    }
    result += Format_[i];
  }
  return result;
}

}  // namespace

// --- The links ------------------------------------------------------------------------------------

namespace {
// The control hears its links unless it is being destroyed.
bool Hears(TOxLookupControl* Control) {
  return Control != nullptr && !Control->ComponentState().Contains(csDestroying);
}
}  // namespace

void TOxDataSourceLink::ActiveChanged() {
  if (Hears(FControl)) FControl->BindDataField();
}

void TOxDataSourceLink::LayoutChanged() {
  if (Hears(FControl)) FControl->DataLinkLayoutChanged();
}

void TOxDataSourceLink::RecordChanged(TField* Field) {
  if (Hears(FControl)) FControl->TakeFieldValue(Field);
}

void TOxDataSourceLink::FocusControl(TField** Field) {
  if (Hears(FControl)) FControl->FocusRequested(Field);
}

void TLookupSourceLink::ActiveChanged() {
  if (Hears(FControl) && !FControl->Reading()) FControl->RebuildLookupFields();
}

void TLookupSourceLink::LayoutChanged() {
  if (Hears(FControl) && !FControl->Reading()) FControl->RebuildLookupFields();
}

void TLookupSourceLink::DataSetChanged() {
  if (Hears(FControl)) FControl->LookupDataChanged();
}

// --- TOxLookupControl -----------------------------------------------------------------------------

TOxLookupControl::TOxLookupControl(TComponent* AOwner) : TOxCustomControl(AOwner), FEmptyItemColor(clWindow) {
  ControlStyle = {csOpaque};
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  FOwnLookupSource = new TDataSource(nullptr);
  FDataLink = new TOxDataSourceLink(this);
  FLookupLink = new TLookupSourceLink(this);
  FValue = FEmptyValue;
  FLocate = NewLocateObject(nullptr);
}

TOxLookupControl::~TOxLookupControl() {
  Destroying();
  FDataLink->FControl = nullptr;
  FLookupLink->FControl = nullptr;
  delete FDataLink;
  delete FLookupLink;
  delete FOwnLookupSource;
  delete FLocate;
}

bool TOxLookupControl::Reading() const { return ComponentState().Contains(csLoading); }

void TOxLookupControl::SetDataSource(TDataSource* Value) {
  if (Value == FDataLink->DataSource()) return;
  if (FDataLink->DataSourceFixed) {
    if (Reading()) return;
    RaiseDatabaseError(SDataSourceFixed);
  }
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TOxLookupControl::SetDataField(const String& Value) {
  if (Value == FDataFieldName) return;
  FDataFieldName = Value;
  BindDataField();
}

void TOxLookupControl::SetLookupSource(TDataSource* Value) {
  if (Value == LookupSource()) return;
  CheckNotFixed();
  FLookupLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TOxLookupControl::SetLookupField(const String& Value) {
  if (Value == LookupField()) return;
  CheckNotFixed();
  FLookupFieldName = Value;
  if (!Reading()) RebuildLookupFields();
}

void TOxLookupControl::SetLookupDisplay(const String& Value) {
  if (Value == FLookupDisplay) return;
  FLookupDisplay = Value;
  if (!Reading()) RebuildLookupFields();
}

void TOxLookupControl::SetLookupDisplayIndex(int Value) {
  if (Value == FLookupDisplayIndex) return;
  FLookupDisplayIndex = Value;
  if (!Reading()) RebuildLookupFields();
}

void TOxLookupControl::SetLookupFormat(const String& Value) {
  if (Value == FLookupFormat) return;
  ValidateLookupFormat(Value);
  FLookupFormat = Value;
  if (Reading()) return;
  RebuildLookupFields();
  if (FListActive) TakeFieldValue(nullptr);
}

void TOxLookupControl::SetListStyle(TLookupListStyle Value) {
  if (Value == FListStyle) return;
  FListStyle = Value;
  Invalidate();
}

void TOxLookupControl::SetFieldsDelimiter(char Value) {
  if (Value == FFieldsDelimiter) return;
  FFieldsDelimiter = Value;
  if (FListStyle == lsDelimited) Invalidate();
}

void TOxLookupControl::SetDisplayEmpty(const String& Value) {
  if (Value == FDisplayEmpty) return;
  EmptyTextChanged(Value);
  FDisplayEmpty = Value;
  if (!Reading()) Invalidate();
}

void TOxLookupControl::SetEmptyValue(const String& Value) {
  if (Value == FEmptyValue) return;
  // A value that stood for "nothing chosen" goes on standing for it.
  if (FValue == FEmptyValue) FValue = Value;
  FEmptyValue = Value;
}

void TOxLookupControl::SetEmptyStrIsNull(bool Value) {
  if (Value == FEmptyStrIsNull) return;
  FEmptyStrIsNull = Value;
  if (!Reading() && FMasterField != nullptr && FDataLink->DataSource() != nullptr && FDataLink->Editing() &&
      CanModify()) {
    WriteKey(FMasterField, FValue);
  }
}

void TOxLookupControl::SetEmptyItemColor(TColor Value) {
  if (Value == FEmptyItemColor) return;
  FEmptyItemColor = Value;
  if (!FDisplayEmpty.empty()) Invalidate();
}

int TOxLookupControl::FontTextHeight() const {
  return Font()->TextMetrics().tmHeight;
}

int TOxLookupControl::ItemHeight() const {
  return std::max(FontTextHeight(), FItemHeight);
}

bool TOxLookupControl::IsItemHeightStored() const {
  return FItemHeight > FontTextHeight();
}

void TOxLookupControl::SetItemHeight(int Value) {
  if (Reading()) {
    FItemHeight = Value;
    return;
  }
  FItemHeight = std::max(FontTextHeight(), Value);
  // Laid out again as after a change of font.
  Perform(CM_FONTCHANGED);
}

void TOxLookupControl::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  Perform(CM_CTL3DCHANGED);
}

// --- Binding --------------------------------------------------------------------------------------

void TOxLookupControl::CheckNotCircular() {
  if (FDataLink->Active() &&
      (FDataLink->DataSource() == FLookupLink->DataSource() || FDataLink->DataSet() == FLookupLink->DataSet())) {
    RaiseDatabaseError(SCircularDataLink);
  }
}

void TOxLookupControl::CheckNotFixed() {
  if (FLookupMode) RaiseDatabaseError(SPropDefByLookup);
  if (FDataLink->DataSourceFixed) RaiseDatabaseError(SDataSourceFixed);
}

void TOxLookupControl::BindDataField() {
  if (Reading()) return;
  FDataField = nullptr;
  FMasterField = nullptr;
  if (FDataLink->Active() && !FDataFieldName.empty()) {
    CheckNotCircular();
    TField* field = FDataLink->DataSet()->FieldByName(FDataFieldName);
    FDataField = field;
    FMasterField = field;
    SetLookupMode(field->FieldKind() == fkLookup);
  }
  TakeFieldValue(nullptr);
}

void TOxLookupControl::SetLookupMode(bool Value) {
  if (Value) {
    FMasterField = FDataField->DataSet()->FieldByName(FDataField->KeyFields());
    FLookupMode = true;
    FLookupFieldName = FDataField->LookupKeyFields();
    FOwnLookupSource->SetDataSet(FDataField->LookupDataSet());
    if (FLookupLink->DataSource() != FOwnLookupSource) FLookupLink->SetDataSource(FOwnLookupSource);
    else RebuildLookupFields();
  } else if (FLookupMode) {
    FLookupMode = false;
    FLookupLink->SetDataSource(nullptr);
    FLookupFieldName.clear();
    FOwnLookupSource->SetDataSet(nullptr);
    FMasterField = FDataField;
  }
}

void TOxLookupControl::DataLinkLayoutChanged() {
  TField* field = FDataLink->Active() && !FDataFieldName.empty() ? FDataLink->DataSet()->FindField(FDataFieldName) : nullptr;
  if (field == FDataField) return;
  FDataField = field;
  if (!FLookupMode) FMasterField = field;
  TakeFieldValue(nullptr);
}

void TOxLookupControl::TakeFieldValue(TField* Field) {
  if (Field != nullptr && Field != FMasterField) return;
  SetValueKey(FMasterField != nullptr ? FMasterField->AsString() : FEmptyValue);
}

void TOxLookupControl::FocusRequested(TField** Field) {
  if (Field != nullptr && *Field != nullptr && *Field == FDataField && CanFocus()) {
    *Field = nullptr;
    SetFocus();
  }
}

void TOxLookupControl::SetValueKey(const String& Value) {
  if (Value == FValue) return;
  FValue = Value;
  ShowValueRow();
}

void TOxLookupControl::RebuildLookupFields() {
  FListActive = false;
  FKeyField = nullptr;
  FDisplayField = nullptr;
  FListFields.clear();
  FLocate->SetDataSet(nullptr);
  TDataSet* dataSet = LookupDataSet();
  if (dataSet != nullptr && !FLookupFieldName.empty()) {
    try {
      CheckNotCircular();
      FKeyField = dataSet->FieldByName(FLookupFieldName);
      dataSet->GetFieldList(FListFields, FLookupDisplay);
      if (FLookupMode && FDataField != nullptr) {
        TField* result = dataSet->FieldByName(FDataField->LookupResultField());
        if (std::find(FListFields.begin(), FListFields.end(), result) == FListFields.end())
          FListFields.insert(FListFields.begin(), result);
        FDisplayField = result;
      } else {
        if (FListFields.empty()) FListFields.push_back(FKeyField);
        int index = FLookupDisplayIndex >= 0 && FLookupDisplayIndex < int(FListFields.size()) ? FLookupDisplayIndex : 0;
        FDisplayField = FListFields[std::size_t(index)];
      }
    } catch (...) {
      FKeyField = nullptr;
      FDisplayField = nullptr;
      FListFields.clear();
      throw;
    }
    if (FormatFieldCount(FLookupFormat) > int(FListFields.size())) FLookupFormat.clear();
    FListActive = true;
  }
  FLocate->SetDataSet(dataSet);
}

void TOxLookupControl::Loaded() {
  TOxCustomControl::Loaded();
  // Without a data source the value read with the form stands.
  if (FDataLink->DataSource() != nullptr) BindDataField();
  RebuildLookupFields();
}

void TOxLookupControl::Notification(TComponent* AComponent, TOperation Operation) {
  TOxCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || FDataLink == nullptr) return;
  if (AComponent == FDataLink->DataSource() && !FDataLink->DataSourceFixed) FDataLink->SetDataSource(nullptr);
  if (AComponent == FLookupLink->DataSource() && AComponent != FOwnLookupSource) FLookupLink->SetDataSource(nullptr);
}

// --- Values ---------------------------------------------------------------------------------------

void TOxLookupControl::SetValue(const String& Value) {
  // A value read with the form is shown once the links are bound.
  if (Reading()) FValue = Value;
  else PutKeyText(Value);
}

bool TOxLookupControl::CanModify() const {
  return FListActive && !ReadOnly() &&
         (FDataLink->DataSource() == nullptr || (FMasterField != nullptr && FMasterField->CanModify()));
}

void TOxLookupControl::WriteKey(TField* Field, const String& Key) {
  if (!ValueIsEmpty(Key)) Field->SetAsString(Key);
  else if (!FEmptyValue.empty() || !FEmptyStrIsNull) Field->SetAsString(FEmptyValue);
  else Field->Clear();
}

void TOxLookupControl::ChooseKey(const String& Key) {
  if (FMasterField == nullptr) {
    SetValueKey(Key);
  } else if (CanModify() && FDataLink->Edit()) {
    if (FDataField == FMasterField) FDataField->DataSet()->Edit();
    // The record change brings the key back as the value.
    WriteKey(FMasterField, Key);
  }
  UpdateDisplayValue();
  Repaint();
  Click();
}

void TOxLookupControl::UpdateDisplayValue() {
  FDisplayValue = ValueIsEmpty() || FDisplayField == nullptr ? String() : FDisplayField->AsString();
}

void TOxLookupControl::PutKeyText(const String& Key) {
  if (Key == FValue) return;
  if (CanModify() && FDataLink->DataSource() != nullptr && FDataLink->Edit()) WriteKey(FMasterField, Key);
  else SetValueKey(Key);
  Change();
}

void TOxLookupControl::PutDisplayText(const String& Text) {
  if (Text == FDisplayValue) return;
  if (FDataLink->DataSource() == nullptr) {
    FDisplayValue = Text;
    ShowDisplayRow();
  } else if (CanModify() && LocateRow(FDisplayField, Text, true) && FDataLink->Edit()) {
    WriteKey(FMasterField, FValue);
  }
  Change();
}

void TOxLookupControl::ClearToEmpty() {
  if (FDataLink->DataSource() != nullptr && FMasterField != nullptr) {
    if (!FDataLink->Edit()) return;
    WriteKey(FMasterField, FEmptyValue);
  }
  FValue = FEmptyValue;
  FDisplayValue.clear();
  SetText(FDisplayEmpty);
  Invalidate();
  Click();
}

void TOxLookupControl::Change() {
  if (OnChange) OnChange(this);
}

TGraphic* TOxLookupControl::FetchRowImage(bool, bool IsEmpty, int& TextMargin) {
  TextMargin = 0;
  TGraphic* graphic = nullptr;
  if (OnGetImage) OnGetImage(this, IsEmpty, graphic, TextMargin);
  return graphic;
}

// --- Searches -------------------------------------------------------------------------------------

bool TOxLookupControl::LocateRow(TField* Field, const String& Text, bool Exact) {
  FLocate->IndexSwitch = IndexSwitch;
  if (ValueIsEmpty(Text) || Field == nullptr) return false;
  try {
    if (!FLocate->Locate(Field->FieldName(), Text, Exact, !IgnoreCase)) return false;
    if (Field == FDisplayField) FValue = FKeyField->AsString();
    UpdateDisplayValue();
    return true;
  } catch (...) {
    // A search that fails for any reason finds nothing.
    return false;
  }
}

bool TOxLookupControl::LocateKey() { return !ValueIsEmpty() && LocateRow(FKeyField, FValue, true); }

bool TOxLookupControl::LocateDisplay() {
  return !FDisplayValue.empty() && LocateRow(FDisplayField, FDisplayValue, true);
}

bool TOxLookupControl::LocatePrefix(String& S) {
  if (FDisplayField == nullptr) return false;
  if (S.empty()) {
    if (TDataSet* dataSet = LookupDataSet()) {
      dataSet->First();
      ChooseKey(FKeyField->AsString());
    }
    return false;
  }
  if (!LocateRow(FDisplayField, S, false)) return false;
  String found = FDisplayField->AsString();
  ChooseKey(FKeyField->AsString());
  S = found.substr(0, S.size());
  return true;
}

void TOxLookupControl::ProcessSearchKey(char Key) {
  if (FDisplayField == nullptr) return;
  unsigned char key = static_cast<unsigned char>(Key);
  if (key == VK_TAB || key == VK_ESCAPE) {
    FSearchText.clear();
    return;
  }
  if ((key != VK_BACK && key < 32) || !CanModify()) return;
  if (!FPopup) {
    DWORD now = GetTickCount();
    if (now - SearchTick > 2000) FSearchText.clear();
    SearchTick = now;
  }
  String text;
  if (key == VK_BACK) {
    text = FSearchText;
    if (!text.empty()) text.pop_back();
  } else if (FSearchText.size() < 32) {
    text = FSearchText + Key;
  }
  if (LocatePrefix(text) || text.empty()) FSearchText = text;
}

String TOxLookupControl::RowText() {
  std::vector<String> texts;
  for (TField* field : FListFields) texts.push_back(field->DisplayText());
  if (!FLookupFormat.empty()) return ApplyLookupFormat(FLookupFormat, texts);
  String result;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) result += String(1, FFieldsDelimiter) + " ";
    result += texts[i];
  }
  return result;
}

int TOxLookupControl::NaturalListWidth() const {
  SIZE m{};
  {
    TWindowDC dc;
    TSelectedObject font(dc, Font()->Handle());
    GetTextExtentPoint32A(dc, "M", 1, &m);
  }
  int width = GetSystemMetrics(SM_CXVSCROLL);
  for (TField* field : FListFields) width += field->DisplayWidth() * m.cx + 4;
  return std::min(width, GetSystemMetrics(SM_CXSCREEN));
}

// --- Messages -------------------------------------------------------------------------------------

void TOxLookupControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    default: TOxCustomControl::Dispatch(Message); break;
  }
}

void TOxLookupControl::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TOxLookupControl::WMSetFocus(TMessage& Message) {
  FFocused = true;
  Invalidate();
  TOxCustomControl::Dispatch(Message);
}

void TOxLookupControl::WMKillFocus(TMessage& Message) {
  FFocused = false;
  Invalidate();
  TOxCustomControl::Dispatch(Message);
}
