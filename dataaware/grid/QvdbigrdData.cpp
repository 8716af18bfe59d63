// This file implements the data side of the grid engine: TqvGridDataLink with its field map, the
// grid's reactions to the dataset's notifications, writing the editor's text into the field,
// Escape, the detection of a changed row or cell, the footer refresh, keeping the current row on
// the active record, and entering and leaving the grid.
#include "Qvdbigrd.h"

#include <cmath>

#include "Dialogs.h"
#include "Format.h"
#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "Qvintl.h"
#include "qvControlUtils.h"
#include "qvDateScan.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"

// --- TqvGridDataLink --------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvGridDataLink)

TqvGridDataLink::TqvGridDataLink(TqvCustomDBGrid* Grid) : FGrid(Grid) {}

TqvGridDataLink::~TqvGridDataLink() {
  // Leaving the data source tells the link it is inactive: the grid, being destroyed, hears
  // nothing of it.
  FGrid = nullptr;
  SetDataSource(nullptr);
}

bool TqvGridDataLink::MapField(const String& FieldName) {
  // One limit, checked before the field is looked up.
  if (int(FFieldMap.size()) >= qvMaxGridFields) throw EInvalidGridOperation(qvGridTooManyColumns);
  TDataSet* Set = DataSet();
  TField* Field = Set != nullptr ? Set->FindField(FieldName) : nullptr;
  if (Field == nullptr) return false;
  FFieldMap.push_back(Field->Index());
  return true;
}

void TqvGridDataLink::ClearMapping() {
  FFieldMap.clear();
  FFieldMap.shrink_to_fit();
}

TField* TqvGridDataLink::GetMappedField(int Index) const {
  TDataSet* Set = DataSet();
  if (Set == nullptr || Index < 0 || Index >= int(FFieldMap.size())) return nullptr;
  int FieldIndex = FFieldMap[std::size_t(Index)];
  if (FieldIndex < 0 || FieldIndex >= Set->Fields()->Count()) return nullptr;
  return Set->Fields()->Fields(FieldIndex);
}

bool TqvGridDataLink::DefaultFields() const { return DataSet() == nullptr || DataSet()->DefaultFields(); }

void TqvGridDataLink::ActiveChanged() {
  if (FGrid) FGrid->DataLinkActiveChanged(Active());
}

void TqvGridDataLink::DataSetChanged() {
  if (FGrid) FGrid->DataChanged();
  FModified = false;
}

void TqvGridDataLink::DataSetScrolled(int Distance) {
  if (FGrid) FGrid->ScrollByRecords(Distance);
}

void TqvGridDataLink::LayoutChanged() {
  if (FGrid) FGrid->RebuildLayout();
}

void TqvGridDataLink::EditingChanged() {
  if (!FGrid) return;
  FGrid->InvalidateIndicatorCell();
  TDataSetState State = DataSource() ? DataSource()->State() : dsInactive;
  if (State == dsEdit || State == dsInsert) FGrid->FFooterDirty = true;
}

void TqvGridDataLink::RecordChanged(TField* Field) {
  if (!FGrid) return;
  if (Field == nullptr || !FInUpdateData) {
    FGrid->RecordChanged(Field);
    FModified = false;
  }
  TDataSetState State = DataSource() ? DataSource()->State() : dsInactive;
  if (Field != nullptr && (State == dsEdit || State == dsInsert)) {
    FGrid->DoFieldChanged(Field);
    FGrid->PatchFlags.EditorTextUnchanged = true;
  }
}

void TqvGridDataLink::FocusControl(TField** Field) {
  if (!FGrid || Field == nullptr || *Field == nullptr) return;
  FGrid->FocusFieldColumn(*Field);
  if (FGrid->SelectedField() == *Field && FGrid->AcquireFocus()) *Field = nullptr;
}

void TqvGridDataLink::UpdateData() {
  if (!FGrid) return;
  FInUpdateData = true;
  TScopeGuard Restore([&] { FInUpdateData = false; });
  if (FModified) FGrid->ValidateEditorValue();
  FModified = false;
}

void TqvGridDataLink::Reset() {
  if (FModified) {
    RecordChanged(nullptr);
    return;
  }
  TDataSet* Set = DataSet();
  if (Set == nullptr || (Set->State() != dsEdit && Set->State() != dsInsert)) return;
  if (Set->Modified()) {
    if (MessageDlg(qvIntl->UserMessages()->qvDBGridDiscardChanges, mtConfirmation, {mbYes, mbNo}, 0) == mrYes)
      Set->Cancel();
  } else {
    Set->Cancel();
  }
}

// --- Field map --------------------------------------------------------------------------------

void TqvCustomDBGrid::BuildFieldMap() {
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr) return;
  if (FUseTFields) {
    for (int i = 0; i < Set->Fields()->Count(); ++i) {
      TField* Field = Set->Fields()->Fields(i);
      if (Field->Visible()) FDataLink->MapField(Field->FieldName());
    }
  } else {
    // A line whose field the open dataset lacks goes; a closed dataset keeps every line.
    for (int i = 0; i < FSelected->Count();) {
      String Name = TqvLineParts(FSelected->Strings(i), '\t').Part(0);
      if (FDataLink->Active() && Set->FindField(Name) == nullptr) {
        ++FLayoutReentry;
        TScopeGuard Restore([&] { --FLayoutReentry; });
        FSelected->Delete(i);
        continue;
      }
      if (FDataLink->Active()) FDataLink->MapField(Name);
      ++i;
    }
  }
  RebuildColumns();
}

void TqvCustomDBGrid::RebuildColumns() {
  std::vector<TqvColumn*> Fresh;
  for (int i = 0; i < FDataLink->FieldCount(); ++i) {
    TField* Field = FDataLink->GetMappedField(i);
    auto* Column = new TqvColumn(this, Field != nullptr ? Field->FieldName() : String());
    for (TqvColumn* Old : FColumns)
      if (Old->FieldName() == Column->FieldName()) {
        Column->FFooterValue = Old->FFooterValue;
        break;
      }
    Fresh.push_back(Column);
  }
  for (TqvColumn* Old : FColumns) delete Old;
  FColumns = std::move(Fresh);
}

// --- Reactions --------------------------------------------------------------------------------

void TqvCustomDBGrid::DataLinkActiveChanged(bool Active) {
  if (!Active) HideEditor();
  RebuildLayout();
  UpdateVertScrollBar();
  FLastBookmark.clear();
  FHasLastBookmark = false;
  FLastMasterBookmark.clear();
  FHasLastMasterBookmark = false;
  if (Active) {
    if (HandleAllocated()) {
      if (Col() != FLastCurrentCol) DoColEnter();
      FLastCurrentCol = Col();
    } else {
      FColEnterPending = true;
    }
    FFooterDirty = true;
  } else {
    FLastCurrentCol = -1;
  }
}

void TqvCustomDBGrid::DataChanged() {
  if (!HandleAllocated() || SuppressDataChanged) return;
  UpdateFooter();
  TDataSource* Source = GetDataSource();
  if (!SuppressCustomControlHiding && Source != nullptr) {
    TDataSet* Set = Source->DataSet();
    bool Empty = Set == nullptr || (Set->Bof() && Set->Eof());
    if ((Source->State() == dsInsert && !Empty) || Source->State() == dsBrowse) HideCustomControl();
  }
  UpdateRowCount();
  UpdateVertScrollBar();
  SyncCurrentRow();
  InvalidateEditor();
  // One full repaint.
  ValidateRect(FHandle, nullptr);
  ::InvalidateRect(FHandle, nullptr, FALSE);
  CheckRowChanged();
}

void TqvCustomDBGrid::InvalidateIndicatorCell() {
  if (!HandleAllocated() || !FOptions.Contains(dgIndicator) || !FDataLink->Active()) return;
  InvalidateCell(0, FTitleOffset + FDataLink->ActiveRecord());
}

void TqvCustomDBGrid::RecordChanged(TField* Field) {
  if (!HandleAllocated()) return;
  if (Field != nullptr) {
    for (int i = 0; i < GetFieldCount(); ++i)
      if (GetFields(i) == Field) {
        InvalidateCell(i + FIndicatorOffset, Row());
        break;
      }
  } else {
    InvalidateRow(Row());
  }
  TField* Current = SelectedField();
  if ((Field == nullptr || Field == Current) && Current != nullptr && Current->Text() != FLastEditorText) {
    InvalidateEditor();
    if (InplaceEditor() != nullptr) InplaceEditor()->Deselect();
  }
}

void TqvCustomDBGrid::DoFieldChanged(TField* Field) {
  if (OnFieldChanged) OnFieldChanged(this, Field);
}

void TqvCustomDBGrid::PostEditorData() {
  if (FDataLink->Active()) FDataLink->UpdateRecord();
  // An embedded control writes its own value when it leaves.
  if (FCellControl != nullptr && FCellControl->Visible()) FCellControl->Perform(CM_EXIT);
}

void TqvCustomDBGrid::ValidateEditorValue() { WriteEditorText(); }

void TqvCustomDBGrid::ReportInvalidValue(TField* Field) { qvIntl->ValidationErrorUsingMask(this, Field); }

std::vector<TField*> qvLookupKeyFields(TField* Field) {
  std::vector<TField*> Keys;
  TDataSet* Set = Field->DataSet();
  if (Field->FieldKind() != fkLookup || Set == nullptr || Field->KeyFields().empty()) return Keys;
  String Names = Field->KeyFields();
  std::size_t Start = 0;
  for (;;) {
    std::size_t End = Names.find(';', Start);
    TField* Key = Set->FindField(Names.substr(Start, End == String::npos ? String::npos : End - Start));
    if (Key == nullptr) return {};
    Keys.push_back(Key);
    if (End == String::npos) break;
    Start = End + 1;
  }
  return Keys;
}

bool qvLookupCellEditable(TField* Field) {
  if (Field->ReadOnly() || Field->LookupDataSet() == nullptr || !Field->LookupDataSet()->Active()) return false;
  std::vector<TField*> Keys = qvLookupKeyFields(Field);
  if (Keys.empty()) return false;
  for (TField* Key : Keys)
    if (!Key->CanModify()) return false;
  return true;
}

// A lookup cell is edited through its keys: the name typed is looked up among the lookup
// dataset's results and the keys of that record are written; an empty text clears them; a name
// the lookup dataset lacks is refused.
static void WriteLookupText(TField* Field, const String& Text) {
  std::vector<TField*> Keys = qvLookupKeyFields(Field);
  if (Text.empty()) {
    for (TField* Key : Keys) Key->Clear();
    return;
  }
  Variant Found = Field->LookupDataSet()->Lookup(Field->LookupResultField(), Variant(Text), Field->LookupKeyFields());
  if (VarIsNull(Found) || VarIsEmpty(Found))
    throw EDatabaseError(Format(qvGridUnknownLookupValue, {Text, Field->DisplayLabel()}));
  if (Keys.size() == 1) {
    Keys[0]->SetAsVariant(Found);
  } else {
    for (std::size_t i = 0; i < Keys.size(); ++i) Keys[i]->SetAsVariant(Found.GetElement(int(i)));
  }
}

void TqvCustomDBGrid::WriteEditorText() {
  TDataSet* Set = FDataLink->DataSet();
  auto* Editor = dynamic_cast<TqvInplaceEdit*>(InplaceEditor());
  if (Editor != nullptr && Editor->UsesPictureMask() && FDataLink->Modified()) {
    if (!Editor->ValidateText(Editor->Text()) && !Editor->AllowInvalidExit) {
      TField* Field = SelectedField();
      if (TqvInvalidValueEvent Handler = qvGetInvalidValueEvent(Set)) Handler(Set, Field);
      else ReportInvalidValue(Field);
      return;
    }
  }
  if (GetFieldCount() == 0) return;
  TField* Field = SelectedField();
  if (Field == nullptr) return;
  PatchFlags.EditorTextUnchanged = Field->Text() == FLastEditorText;
  const String& Text = FLastEditorText;
  if (Field->FieldKind() == fkLookup) {
    WriteLookupText(Field, Text);
  } else if (Field->InheritsFrom(TDateTimeField::StaticClass()) && qvIsValidDateText(Text)) {
    // A date alone is stored at midnight of that day, read in the locale's order.
    TDateTime Date = 0;
    if (qvTryTextToDate(Text, Date)) {
      Field->SetAsDateTime(std::floor(double(Date)));
    } else {
      Field->SetText(Text);
    }
  } else if (auto* Numeric = dynamic_cast<TNumericField*>(Field);
             Numeric != nullptr && !Text.empty() && !Numeric->DisplayFormat().empty()) {
    double Value = 0;
    if (qvDisplayTextToFloat(Text, Value, Numeric->DisplayFormat())) {
      if (Field->InheritsFrom(TFloatField::StaticClass())) Field->SetAsFloat(Value);
      else Field->SetAsInteger(int(std::lround(Value)));
    } else {
      Field->SetText(Text);
    }
  } else {
    Field->SetText(Text);
  }
  if (!PatchFlags.EditorTextUnchanged) DoFieldChanged(Field);
}

// --- Rows and cells ---------------------------------------------------------------------------

void TqvCustomDBGrid::CheckRowChanged() {
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !Set->Active()) return;
  if (!OnRowChanged && !OnCellChanged && !OnUpdateFooter && PatchFlags.LastCellRow != Row()) return;
  TBookmark Current = Set->GetBookmark();
  bool Changed = false;
  if (!FHasLastBookmark) {
    Changed = true;
  } else if (!Current.empty() && !FLastBookmark.empty()) {
    int Compared = Set->CompareBookmarks(Current, FLastBookmark);
    Changed = Compared != 0 && Compared != 2;
  } else if (Current.empty() != FLastBookmark.empty()) {
    // A record being inserted (no bookmark yet), or the first one after it.
    Changed = Current.empty() ? GetDataSource()->State() == dsInsert : true;
  }
  bool Saved = FSuppressCellChanged;
  TScopeGuard Restore([&] { FSuppressCellChanged = Saved; });
  if (Changed) {
    DoRowChanged();
    FSuppressCellChanged = true;
  }
  FLastBookmark = std::move(Current);
  FHasLastBookmark = true;
  if (FColEnterPending) {
    FColEnterPending = false;
    DoColEnter();
    DoUpdateFooter();
  }
  HideCellHint();
}

void TqvCustomDBGrid::DoRowChanged() {
  if (OnRowChanged) OnRowChanged(this);
  DoCellChanged();
}

void TqvCustomDBGrid::DoCellChanged() {
  if (FSuppressCellChanged) return;
  if (!FGroupFieldName.empty() && HandleAllocated()) {
    for (TGridCoord Cell : {TGridCoord{PatchFlags.LastCellCol, PatchFlags.LastCellRow}, TGridCoord{Col(), Row()}}) {
      if (Cell.X < 0 || Cell.Y < 0 || Cell.X >= ColCount() || Cell.Y >= RowCount()) continue;
      TRect R = CellRect(Cell.X, Cell.Y);
      if (R.IsEmpty()) continue;
      R.Top -= 1;
      ::InvalidateRect(FHandle, AsRECT(R), FALSE);
    }
  }
  PatchFlags.LastCellCol = Col();
  PatchFlags.LastCellRow = Row();
  AlignCellControl();
  if (OnCellChanged) OnCellChanged(this);
}

void TqvCustomDBGrid::DoColEnter() {
  PositionCellControl();
  if (OnColEnter) OnColEnter(this);
  DoCellChanged();
}

void TqvCustomDBGrid::DoColExit() {
  if (PatchFlags.ColExitBeforeHide && OnColExit) OnColExit(this);
  if (!ComponentState().Contains(csDesigning) && FCellControl != nullptr) {
    TCustomForm* Form = GetParentForm(this);
    TWinControl* Active = Form != nullptr ? Form->ActiveControl() : nullptr;
    if (Active == this || Active == FCellControl || FCellControl->ContainsControl(Active)) {
      HideCustomControl();
      FCellControl = nullptr;
    }
  }
  if (!PatchFlags.ColExitBeforeHide && OnColExit) OnColExit(this);
}

void TqvCustomDBGrid::DoTopRowChanged() {
  if (OnTopRowChanged) OnTopRowChanged(this);
  if (!FGroupFieldName.empty()) Invalidate();
}

void TqvCustomDBGrid::DoUpdateFooter() {
  if (OnUpdateFooter) OnUpdateFooter(this);
}

void TqvCustomDBGrid::UpdateFooter() {
  TDataSource* Source = GetDataSource();
  if (!OnUpdateFooter || !HandleAllocated() || Source == nullptr || Source->State() != dsBrowse) return;
  TDataSet* Set = Source->DataSet();
  if (!FFooterDirty) {
    TDataSource* Master = Set->DataSource();
    if (Master == nullptr) Master = qvGetMasterSource(Set);
    TDataSet* MasterSet = Master != nullptr ? Master->DataSet() : nullptr;
    if (MasterSet != nullptr && MasterSet->Active()) {
      TBookmark Current = MasterSet->GetBookmark();
      if (!Current.empty()) {
        if (FHasLastMasterBookmark) {
          int Compared = MasterSet->CompareBookmarks(Current, FLastMasterBookmark);
          if (Compared != 0 && Compared != 2) FFooterDirty = true;
        }
        FLastMasterBookmark = std::move(Current);
        FHasLastMasterBookmark = true;
      }
    }
  }
  if (FHasLastBookmark && !FLastBookmark.empty() &&
      ((Set->Bof() && Set->Eof()) || !Set->BookmarkValid(FLastBookmark)))
    FFooterDirty = true;
  if (FFooterDirty) DoUpdateFooter();
  FFooterDirty = false;
}

void TqvCustomDBGrid::SyncCurrentRow() {
  if (!FDataLink->Active() || RowCount() <= FTitleOffset) return;
  int Target = FDataLink->ActiveRecord() + FTitleOffset;
  if (Target != Row()) {
    if (!FOptions.Contains(dgAlwaysShowEditor)) HideEditor();
    TGridDrawInfo Info;
    CalcDrawInfo(Info);
    if (Target > Info.Vert.LastFullVisibleCell && Info.Vert.LastFullVisibleCell >= FTitleOffset) {
      UpdateRowCount();
      CalcDrawInfo(Info);
      Target = std::min(Target, std::max(Info.Vert.LastFullVisibleCell, FTitleOffset));
    }
    Target = std::clamp(Target, FTitleOffset, RowCount() - 1);
    if (Target != Row()) MoveColRow(std::max(Col(), FixedCols()), Target, false, false);
  }
  if (Parent() != nullptr && qvClassInheritsFrom(Parent()->ClassType(), "TqvDBCustomLookupcombo")) return;
  TField* Field = SelectedField();
  if (Field != nullptr && Field->Text() != FLastEditorText) InvalidateEditor();
}

// --- Entering and leaving ---------------------------------------------------------------------

void TqvCustomDBGrid::CMEnter(TMessage& Message) {
  TCustomGrid::Dispatch(Message);
  HoldKeyboardHook();
  FHasFocus = true;
  if (FPaintOptions->ActiveRecordColor() != clNone && !FOptions.Contains(dgAlwaysShowSelection)) InvalidateCurrentRow();
}

void TqvCustomDBGrid::CMExit(TMessage& Message) {
  try {
    if (FDataLink->Active()) {
      TDataSet* Set = FDataLink->DataSet();
      if (FOptions.Contains(dgCancelOnExit) && Set->State() == dsInsert && !Set->Modified() && !FDataLink->Modified()) {
        if (CanCancelInsertOnExit()) Set->Cancel();
        else PostEditorData();
      } else {
        PostEditorData();
      }
    }
    if (!FOptions.Contains(dgAlwaysShowSelection)) InvalidateCurrentRow();
  } catch (...) {
    // The value cannot be written: the grid keeps the focus, in the cell being edited, and the
    // user is told why. The caller may ask for the failure instead (PatchFlags).
    if (InplaceEditor() != nullptr && InplaceEditor()->Visible()) InplaceEditor()->SetFocus();
    else TWinControl::SetFocus();
    if (PatchFlags.ExitErrorsPropagate) throw;
    if (Application != nullptr) Application->HandleException(this);
    return;
  }
  TCustomGrid::Dispatch(Message);
  if (Parent() == nullptr || !Parent()->InheritsFrom(TCustomGrid::StaticClass())) ReleaseKeyboardHook();
  FHasFocus = false;
}
