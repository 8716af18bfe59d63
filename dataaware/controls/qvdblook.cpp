// This file implements the lookup list and the drop-down grid of the lookup combo (see qvdblook.h):
// the key and display fields, finding the row of a key, the chosen row's highlight, and choosing
// a row with the keys and the mouse.
#include "qvdblook.h"

#include <algorithm>
#include <cassert>

#include "Exceptions.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "Format.h"
#include "StrUtils.h"
#include "qvFieldSettings.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvDropDownGridOptions)
VELBOR_IMPLEMENT_CLASS(TqvDBLookupList)
VELBOR_PUBLISHED(TqvDBLookupList,
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("LookupTable", &Self::LookupTable, &Self::SetLookupTable),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("LookupField", &Self::LookupField, &Self::SetLookupField),
  Prop("Options", &Self::ListOptions, &Self::SetListOptions).Default(TqvDBLookupListOptions{}),
  Prop("OnClick", &Self::OnClick),
  Prop("ReadOnly", &Self::ReadOnly, &Self::SetReadOnly).Default(false))
VELBOR_IMPLEMENT_CLASS(TqvPopupGrid)

const char* const qvLookupDuplicateSources = "Impossible d'utiliser DataSource et LookupSource dupliqués"_a;
const char* const qvLookupFieldNotFound = "Champ '%s' non trouvé"_a;
const char* const qvLookupNoTable = "No lookup table specified!";

namespace {

// The first three ";"-separated names of a key list.
std::vector<String> KeyNames(const String& List) {
  std::vector<String> Names;
  std::size_t Start = 0;
  while (Names.size() < 3 && Start <= List.size()) {
    std::size_t End = List.find(';', Start);
    String Name = Trim(List.substr(Start, End == String::npos ? String::npos : End - Start));
    Names.push_back(Name);
    if (End == String::npos) break;
    Start = End + 1;
  }
  return Names;
}

struct TLookupListClassRegistration {
  TLookupListClassRegistration() { RegisterClass(TqvDBLookupList::StaticClass()); }
} LookupListClassRegistration;

}  // namespace

// --- TqvDropDownGridOptions ---------------------------------------------------------------------

void TqvDropDownGridOptions::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TqvDropDownGridOptions*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  TitleLines = Other->TitleLines;
  Color = Other->Color;
  TitleAlignment = Other->TitleAlignment;
}

// --- TqvDBLookupList ---------------------------------------------------------------------------

TqvDBLookupList::TqvDBLookupList(TComponent* AOwner) : TqvCustomDBGrid(AOwner), FFieldLink(new TFieldDataLink()) {
  FFieldLink->Control = this;
  FFieldLink->OnDataChange = TNotifyEvent(this, &TqvDBLookupList::FieldDataChange);
  FFieldLink->OnUpdateData = TNotifyEvent(this, &TqvDBLookupList::FieldUpdateData);
  FFieldLink->OnActiveChange = TNotifyEvent(this, &TqvDBLookupList::FieldActiveChange);
  FLookupSource = new TDataSource(this);
  TqvCustomDBGrid::SetDataSource(FLookupSource);
  TqvCustomDBGrid::SetOptions({dgRowSelect, dgRowLinesDisableFixed});
  SetPadColumnStyle(pcsPlain);
  SuppressCustomControlHiding = true;
  SetBounds(Left(), Top(), 121, 97);
}

TqvDBLookupList::~TqvDBLookupList() {
  FFieldLink->OnDataChange = TNotifyEvent();
  FFieldLink->SetDataSource(nullptr);
  delete FFieldLink;
}

void TqvDBLookupList::SetDataSource(TDataSource* Value) {
  if (Value != nullptr && (Value == FLookupSource || (Value->DataSet() != nullptr && Value->DataSet() == LookupTable())))
    throw EInvalidOperation(qvLookupDuplicateSources);
  FFieldLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvDBLookupList::FieldDataChange(TObject*) {
  if (FFieldLink->Field() == nullptr || ComponentState().Contains(csLoading)) return;
  SetLookupValue(FFieldLink->Field()->AsString());
  Invalidate();
}

void TqvDBLookupList::FieldUpdateData(TObject*) {
  TField* F = FFieldLink->Field();
  if (F == nullptr || F->AsString() == LookupValue) return;
  if (LookupValue.empty()) F->Clear();
  else F->SetAsString(LookupValue);
}

void TqvDBLookupList::FieldActiveChange(TObject*) {
  if (FFieldLink->Active() && FDataLink->Active()) FieldDataChange(this);
}

void TqvDBLookupList::Loaded() {
  TqvCustomDBGrid::Loaded();
  FieldDataChange(this);
}

TDataSet* TqvDBLookupList::LookupTable() const { return FLookupSource->DataSet(); }

void TqvDBLookupList::SetLookupTable(TDataSet* Value) {
  if (Value != nullptr && FCombo != nullptr && FCombo->DataSource() != nullptr &&
      FCombo->DataSource()->DataSet() == Value)
    throw EInvalidOperation(qvLookupDuplicateSources);
  if (Value != nullptr && DataSource() != nullptr && DataSource()->DataSet() == Value)
    throw EInvalidOperation(qvLookupDuplicateSources);
  if (Value == LookupTable()) return;
  FLookupSource->SetDataSet(Value);
  if (Value != nullptr) Value->FreeNotification(this);
  LookupFieldsChanged();
}

void TqvDBLookupList::SetLookupField(const String& Value) {
  if (Value == FLookupField) return;
  FLookupField = Value;
  LookupFieldsChanged();
}

void TqvDBLookupList::SetListOptions(TqvDBLookupListOptions Value) {
  FListOptions = Value;
  TqvDBGridOptions Grid{dgRowSelect, dgRowLinesDisableFixed};
  if (Value.Contains(loColLines)) Grid.Include(dgColLines);
  if (Value.Contains(loRowLines)) Grid.Include(dgRowLines);
  if (Value.Contains(loTitles)) Grid.Include(dgTitles);
  FTitleRows = Value.Contains(loTitles) ? 1 : 0;
  TqvCustomDBGrid::SetOptions(Grid);
}

void TqvDBLookupList::LookupFieldsChanged() {
  UpdateLookupFields(true);
  RebuildLayout();
  ClearValues();
}

void TqvDBLookupList::ClearValues() {
  LookupValue.clear();
  LookupValue2.clear();
  LookupValue3.clear();
  DisplayValue.clear();
  SelectedRow = -1;
}

void TqvDBLookupList::UpdateLookupFields(bool Errors) {
  FKeyFields[0] = FKeyFields[1] = FKeyFields[2] = nullptr;
  FDisplayField = nullptr;
  FKeyFieldCount = 0;
  TDataSet* Table = LookupTable();
  if (!FDataLink->Active() || FLookupField.empty() || Table == nullptr) return;
  std::vector<String> Names = KeyNames(FLookupField);
  for (std::size_t i = 0; i < Names.size(); ++i) {
    FKeyFields[i] = Names[i].empty() ? nullptr : Table->FindField(Names[i]);
    if (FKeyFields[i] != nullptr) FKeyFieldCount = int(i) + 1;
  }
  if (FKeyFields[0] == nullptr) {
    if (Errors) throw EInvalidOperation(Format(qvLookupFieldNotFound, {FLookupField}));
    return;
  }
  // A combo bound to a lookup field shows that field's result field unless columns are given; a
  // calculated field's "LookupLinks" line names the table's key fields.
  if (FCombo != nullptr && FCombo->BindsLookupField()) {
    TField* Bound = FCombo->Field();
    if (Selected()->Count() == 0) {
      if (Bound->Lookup()) FDisplayField = Table->FindField(Bound->LookupResultField());
      else if (Bound->DataSet() != nullptr)
        FDisplayField = Table->FindField(qvGetFieldLookupField(Bound->DataSet(), Bound->FieldName()));
    }
    if (!Bound->Lookup()) {
      std::vector<String> Linked = FCombo->LinkLookupFields();
      for (std::size_t i = 0; i < Linked.size() && i < 3; ++i)
        if (TField* Key = Linked[i].empty() ? nullptr : Table->FindField(Linked[i])) {
          FKeyFields[i] = Key;
          FKeyFieldCount = std::max(FKeyFieldCount, int(i) + 1);
        }
    }
  }
  if (Selected()->Count() > 0) {
    String First = Selected()->Strings(0);
    FDisplayField = Table->FindField(First.substr(0, First.find('\t')));
  }
  if (FDisplayField == nullptr) FDisplayField = FKeyFields[0];
  if (FCombo != nullptr) FCombo->BindNavigator();
}

void TqvDBLookupList::BuildFieldMap() {
  UpdateLookupFields(false);
  if (FKeyFields[0] == nullptr) {
    FDataLink->ClearMapping();
    return;
  }
  TqvCustomDBGrid::BuildFieldMap();
  if (UseTFields() && FDataLink->FieldCount() == 0) FDataLink->MapField(FKeyFields[0]->FieldName());
}

// The last column fills what the others leave of the client width.
void TqvDBLookupList::LayoutColumns() {
  TqvCustomDBGrid::LayoutColumns();
  // A whole row is chosen: the list always starts at its first column.
  if (Col() != FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());
  if (LeftCol() != FixedCols() && FixedCols() < ColCount()) SetLeftCol(FixedCols());
  int Count = ColCount() - IndicatorOffset();
  if (Count <= 0 || GetFieldCount() == 0) return;
  int Sum = 0;
  for (int i = IndicatorOffset(); i < ColCount() - 1; ++i) Sum += ColWidths(i) + (FListOptions.Contains(loColLines) ? 1 : 0);
  int Last = ColCount() - 1;
  if (Count == 1 || Sum < ClientWidth() - 15) SetColWidths(Last, std::max(ColWidths(Last), ClientWidth() - Sum));
}

bool TqvDBLookupList::IsChosenRow() {
  if (FKeyFields[0] == nullptr || LookupValue.empty()) return false;
  for (int i = 0; i < 3; ++i) {
    if (FKeyFields[i] == nullptr) continue;
    const String& Wanted = i == 0 ? LookupValue : i == 1 ? LookupValue2 : LookupValue3;
    if (FKeyFields[i]->AsString() != Wanted) return false;
  }
  return true;
}

// Drawing puts the link on each row it draws: the row is the chosen one when its keys are the
// chosen keys, or, while keys or the mouse move in the list, when it is the current row.
bool TqvDBLookupList::IsCellHighlighted(int DataCol, int DataRow, TGridDrawState State) {
  (void)DataCol;
  (void)State;
  if (!FDataLink->Active() || FKeyFields[0] == nullptr) return false;
  if (CanSelectValue() && (FSelecting || FInKeyDown)) {
    if (DataRow != CurrentDataRow()) return false;
    SelectedRow = DataRow;
    return true;
  }
  if (!IsChosenRow()) return false;
  SelectedRow = DataRow;
  return true;
}

bool TqvDBLookupList::LocateKey(const String& Value, const String& Value2, const String& Value3) {
  FListFound = false;
  if (FCombo != nullptr) ++FCombo->FMovingTable;
  TScopeGuard Moved([&] {
    if (FCombo != nullptr) --FCombo->FMovingTable;
  });
  TDataSet* Table = LookupTable();
  if (Table == nullptr || !Table->Active() || FKeyFields[0] == nullptr) return false;
  if (FKeyFields[0]->AsString() == Value && (FKeyFields[1] == nullptr || FKeyFields[1]->AsString() == Value2) &&
      (FKeyFields[2] == nullptr || FKeyFields[2]->AsString() == Value3)) {
    FListFound = !Value.empty();
  } else if (!Value.empty()) {
    if (FKeyFields[1] == nullptr) {
      FListFound = Table->Locate(FKeyFields[0]->FieldName(), Variant(Value), TLocateOptions{});
    } else {
      String Names = FKeyFields[0]->FieldName() + ";" + FKeyFields[1]->FieldName();
      Variant Values = FKeyFields[2] == nullptr ? VarArrayOf({Variant(Value), Variant(Value2)})
                                                : VarArrayOf({Variant(Value), Variant(Value2), Variant(Value3)});
      if (FKeyFields[2] != nullptr) Names += ";" + FKeyFields[2]->FieldName();
      FListFound = Table->Locate(Names, Values, TLocateOptions{});
    }
  }
  if (!FListFound && !Table->Bof()) Table->First();
  return FListFound;
}

void TqvDBLookupList::SetLookupValue(const String& Value) {
  if (!FDataLink->Active() || FKeyFields[0] == nullptr) {
    LookupValue = Value;
    return;
  }
  LookupValue = Value;
  SelectedRow = -1;
  if (DisplayIsKey()) {
    DisplayValue = Value;
    LocateKey(Value, LookupValue2, LookupValue3);
    return;
  }
  DisplayValue = LocateKey(Value, LookupValue2, LookupValue3) ? FDisplayField->AsString() : String();
}

void TqvDBLookupList::TakeCurrentRow() {
  if (FDisplayField == nullptr) return;
  DisplayValue = FDisplayField->AsString();
  LookupValue = DisplayIsKey() ? DisplayValue : FKeyFields[0]->AsString();
  LookupValue2 = FKeyFields[1] != nullptr ? FKeyFields[1]->AsString() : String();
  LookupValue3 = FKeyFields[2] != nullptr ? FKeyFields[2]->AsString() : String();
}

// Used on its own, the list chooses only while its field may be edited.
bool TqvDBLookupList::CanSelectValue() { return FFieldLink->DataSource() == nullptr || FFieldLink->Editing(); }

void TqvDBLookupList::SelectCurrent() {
  if (!CanSelectValue() || FDisplayField == nullptr) return;
  if (FCombo != nullptr && FCombo->ReadOnly()) return;
  if (FFieldLink->Editing()) FFieldLink->Modified();
  TakeCurrentRow();
  if (OnClick) OnClick(this);
}

void TqvDBLookupList::DataLinkActiveChanged(bool Active) {
  TqvCustomDBGrid::DataLinkActiveChanged(Active);
  UpdateLookupFields(false);
  // A table re-read in another order keeps the chosen row: its fields are found again, no more.
  if (!Active || (FCombo != nullptr && FCombo->FApplyingOrder)) return;
  if (FCombo != nullptr && !FCombo->FInCustomSearch) {
    UpdateLookupFields(FKeyFields[0] == nullptr && !FLookupField.empty());
    ClearValues();
    FCombo->DataChange();
  }
}

void TqvDBLookupList::DataChanged() {
  TqvCustomDBGrid::DataChanged();
  TqvDBCustomLookupCombo* C = FCombo;
  TDataSet* Table = LookupTable();
  if (C == nullptr || FDataChangeDepth > 0 || Table == nullptr || Table->DataSource() == nullptr) return;
  if (Table->State() != dsBrowse || C->Field() == nullptr || ComponentState().Contains(csLoading)) return;
  // Not while the combo moves the table itself, or its list or lookup window is open for a choice.
  if (C->FMovingTable > 0 || C->FApplyingOrder || C->FInternalUpdate || C->FListShown || C->FDroppingDown) return;
  ++FDataChangeDepth;
  TScopeGuard Done([&] { --FDataChangeDepth; });
  LookupValue.clear();
  C->DataChange();
}

// The first press in a list whose value was not found only chooses the first row.
void TqvDBLookupList::KeyDown(WORD& Key, TShiftState Shift) {
  bool Moving = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
  // A key that moves the choice puts the own field in edit state first.
  if (Moving && FFieldLink->DataSource() != nullptr && !FFieldLink->ReadOnly()) FFieldLink->Edit();
  if (Moving && FDataLink->Active() && CanSelectValue() && !IsChosenRow() && !FListFound && LookupValue.empty()) {
    if (!LookupTable()->Bof()) LookupTable()->First();
    FListFound = true;
    Invalidate();
    SelectCurrent();
    Key = 0;
    return;
  }
  FInKeyDown = true;
  {
    TScopeGuard Done([&] { FInKeyDown = false; });
    TqvCustomDBGrid::KeyDown(Key, Shift);
  }
  if (Moving && CanSelectValue()) {
    FListFound = true;
    Invalidate();
    SelectCurrent();
  }
}

void TqvDBLookupList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FFieldLink->DataSource() != nullptr && !FFieldLink->ReadOnly()) FFieldLink->Edit();
  int C = -1, R = -1;
  CellAtPoint(X, Y, C, R);
  FSelecting = Button == mbLeft && !Shift.Contains(ssDouble) && R >= TitleRowCount() && FDisplayField != nullptr &&
               FDataLink->Active();
  TqvCustomDBGrid::MouseDown(Button, Shift, X, Y);
  if (FSelecting) Invalidate();
}

void TqvDBLookupList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool Selecting = FSelecting;
  FSelecting = false;
  TqvCustomDBGrid::MouseUp(Button, Shift, X, Y);
  if (Selecting && Button == mbLeft) {
    FListFound = true;
    SelectCurrent();
    Invalidate();
  }
}

// Escape gives the own field its value back.
void TqvDBLookupList::KeyPress(char& Key) {
  if (static_cast<unsigned char>(Key) == VK_ESCAPE && FFieldLink->DataSource() != nullptr) {
    FFieldLink->Reset();
    Key = 0;
    return;
  }
  TqvCustomDBGrid::KeyPress(Key);
}

void TqvDBLookupList::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomDBGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FLookupSource != nullptr && AComponent == FLookupSource->DataSet()) FLookupSource->SetDataSet(nullptr);
  if (FFieldLink != nullptr && AComponent == FFieldLink->DataSource()) FFieldLink->SetDataSource(nullptr);
}

// Leaving the list writes the chosen key into the record; a refused value keeps the focus here.
void TqvDBLookupList::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_EXIT && FFieldLink->DataSource() != nullptr) {
    try {
      FFieldLink->UpdateRecord();
    } catch (...) {
      if (CanFocus()) SetFocus();
      throw;
    }
  }
  TqvCustomDBGrid::Dispatch(Message);
}

// --- TqvPopupGrid ------------------------------------------------------------------------------

TqvPopupGrid::TqvPopupGrid(TComponent* AOwner) : TqvDBLookupList(AOwner) {
  FCombo = dynamic_cast<TqvDBCustomLookupCombo*>(AOwner);
  assert(FCombo != nullptr && "the owner of a popup grid is its lookup combo");
  ControlStyle.Include(csNoDesignVisible);
  ControlStyle.Include(csReplicatable);
  TakeFocusOnClick = false;
  SetTabStop(false);
}

bool TqvPopupGrid::CanSelectValue() {
  TqvDBCustomLookupCombo* C = FCombo;
  if (C->DataSource() == nullptr) return true;
  if (C->FDataLink->Editing()) return true;
  if (!C->BindsLookupField()) return false;
  TDataSetState State = C->DataSource()->State();
  return State == dsEdit || State == dsInsert || C->DataSource()->AutoEdit;
}

void TqvPopupGrid::CreateParams(TCreateParams& Params) {
  TqvDBLookupList::CreateParams(Params);
  // A top-level window of its own, owned through the combo by its form.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TqvPopupGrid::CreateWnd() {
  TqvDBLookupList::CreateWnd();
  // The list believes it has the focus, so it draws its chosen row as focused.
  CallWindowProcA(FDefWndProc, FHandle, WM_SETFOCUS, 0, 0);
  FHasFocus = true;
}

void TqvPopupGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FCombo->BeginEdit();
  TqvDBLookupList::MouseDown(Button, Shift, X, Y);
}

void TqvPopupGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; break;
    case WM_LBUTTONUP:
      TqvDBLookupList::Dispatch(Message);
      // The release picks the row and closes the list.
      if (FCombo->ListVisible()) FCombo->CloseUp(true);
      break;
    default: TqvDBLookupList::Dispatch(Message); break;
  }
}
