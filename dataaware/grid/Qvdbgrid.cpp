// This file implements TqvDBGrid (see Qvdbgrid.h): its properties, the multi-selection, check-box
// and memo cells, fixed data columns and the reactions to its dataset. The layout storage is in
// QvdbgridLayout.cpp.
#include "Qvdbgrid.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "Dialogs.h"
#include "Field.h"
#include "Forms.h"
#include "Qvintl.h"
#include "Qvmemo.h"
#include "qvMemoDialogPopup.h"
#include "RichEdit.h"
#include "ScopeGuard.h"
#include "Streams.h"
#include "TypInfo.h"
#include "qvControlUtils.h"
#include "qvExportOptions.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

const char* const qvGridInvalidFixedCols = "Invalid value for FixedCols";

namespace {

// Bookmarks name records by their bytes; two equal bookmarks are the same record.
bool SameRecord(const TBookmark& A, const TBookmark& B) { return !A.empty() && A == B; }

String Lower(String Text) {
  for (char& C : Text) C = char(std::tolower(static_cast<unsigned char>(C)));
  return Text;
}

}  // namespace

VELBOR_IMPLEMENT_CLASS(TqvDBGrid)
VELBOR_PUBLISHED(TqvDBGrid,
  Prop("FixedCols", &Self::FixedCols, &Self::SetFixedCols).Default(0),
  Prop("MemoAttributes", &Self::MemoAttributes, &Self::SetMemoAttributes).Default(qvDefaultMemoAttributes),
  Prop("IniAttributes", &Self::IniAttributes, &Self::SetIniAttributes),
  Prop("ExportOptions", &Self::ExportOptions, &Self::SetExportOptions),
  Prop("LoadAllRTF", &Self::LoadAllRTF).Default(false),
  Prop("OnMultiSelectRecord", &Self::OnMultiSelectRecord),
  Prop("OnMultiSelectAllRecords", &Self::OnMultiSelectAllRecords),
  Prop("OnMemoOpen", &Self::OnMemoOpen),
  Prop("OnMemoClose", &Self::OnMemoClose),
  Prop("OnExportField", &Self::OnExportField),
  Prop("OnExportSYLKFormat", &Self::OnExportSYLKFormat))

TqvDBGrid::TqvDBGrid(TComponent* AOwner)
    : TqvCustomDBGrid(AOwner), FIniAttributes(new TqvIniAttributes(this)), FExportOptions(new TqvExportOptions(this)) {}

TqvDBGrid::~TqvDBGrid() {
  FDestroying = true;
  if (FIniAttributes->Enabled) {
    // A layout that cannot be stored must not keep the form from closing.
    try {
      SaveLayout();
    } catch (...) {
    }
    FIniAttributes->Enabled = false;
  }
  delete FIniAttributes;
  FIniAttributes = nullptr;
  delete FExportOptions;
  FExportOptions = nullptr;
}

// --- Properties ---------------------------------------------------------------------------------

void TqvDBGrid::SetFixedCols(int Value) {
  if (ComponentState().Contains(csDesigning)) {
    bool Active = DataLink()->Active();
    if (Value < 0 || (Active && Value + IndicatorOffset() >= ColCount())) {
      MessageDlg(qvGridInvalidFixedCols, mtWarning, {mbOK}, 0);
      return;
    }
  }
  FFixedDataCols = Value;
  RebuildLayout();
}

void TqvDBGrid::SetMemoAttributes(TqvMemoAttributes Value) {
  FMemoAttributes = Value;
  RefreshFromDataSet();
  Invalidate();
}

void TqvDBGrid::SetExportOptions(TqvExportOptions* Value) { FExportOptions->Assign(Value); }

void TqvDBGrid::SetTitleColor(TColor Value) {
  if (Value == TitleColor()) return;
  TqvCustomDBGrid::SetTitleColor(Value);
  RebuildLayout();
}

TColor TqvDBGrid::GetColumnColor(int ACol) const {
  return ACol < IndicatorOffset() + FFixedDataCols ? TitleColor() : Color();
}

void TqvDBGrid::GetControlType(const String& FieldName, String& Kind, String& Params) const {
  TqvCustomDBGrid::GetControlType(FieldName, Kind, Params);
  if (EditControlOptions.Contains(ecoDisableCustomControls) && qvIsEditControlKind(Kind)) Kind.clear();
}

// --- Fixed data columns ---------------------------------------------------------------------------

void TqvDBGrid::ApplyFixedCols() {
  int Fixed = IndicatorOffset() + FFixedDataCols;
  if (Fixed == TCustomGrid::FixedCols() || !DataLink()->Active() || FFixedDataCols < 0 || Fixed >= ColCount()) return;
  TCustomGrid::SetFixedCols(Fixed);
  if (Options().Contains(dgFixedEditable) && LeftCol() == Fixed) MoveToColumn(0);
}

void TqvDBGrid::LayoutColumns() {
  ApplyFixedCols();
  TqvCustomDBGrid::LayoutColumns();
}

// --- Columns and cells ----------------------------------------------------------------------------

void TqvDBGrid::SelectColumnOfField(const String& Name) {
  if (!DataLink()->Active()) return;
  String Wanted = Lower(Name);
  for (int i = 0; i < GetFieldCount(); ++i) {
    TField* Field = GetFields(i);
    if (Field != nullptr && Lower(Field->FieldName()) == Wanted) {
      MoveToColumn(i);
      return;
    }
  }
}

void TqvDBGrid::HitTestCell(int X, int Y, int& ACol, int& ARow) const {
  // Grids are laid out left to right only: the cell under the point is the engine's.
  CellAtPoint(X, Y, ACol, ARow);
}

void TqvDBGrid::SetCurrentDataRow(int N) {
  if (!DataLink()->Active() || N < 0 || N >= DataLink()->RecordCount()) return;
  DataLink()->DataSet()->MoveBy(N - DataLink()->ActiveRecord());
  Invalidate();
}

String TqvDBGrid::GetFieldDisplayText(int DataCol) {
  TField* Field = GetFieldByDataCol(DataCol);
  if (Field == nullptr) return String();
  TFieldType Type = Field->DataType();
  if (Field->InheritsFrom(TBlobField::StaticClass())) {
    String Kind, Params;
    GetControlType(Field->FieldName(), Kind, Params);
    if (Kind == "RichEdit") {
      auto* Rich = dynamic_cast<TCustomRichEdit*>(GetRichEditControl());
      if (Rich != nullptr) {
        try {
          return RichTextOf(Field, Rich);
        } catch (const std::exception&) {
          return String();
        }
      }
    }
  }
  if (Type == ftMemo || Type == ftOraClob) {
    TDataSet* Set = Field->DataSet();
    if (Set != nullptr && Set->Bof() && Set->Eof() && Set->State() != dsInsert) return String();
    if (!FMemoAttributes.Contains(mGridShow)) return "(Memo)";
    try {
      return Field->AsString();
    } catch (const std::exception&) {
      return "(Memo)";
    }
  }
  // A combo with stored values shows the text of the field's value.
  bool MapList = false;
  std::vector<std::pair<String, String>> Choices;
  if (GetComboChoices(DataCol, MapList, Choices) && MapList && !Field->IsNull()) {
    String Value = Field->AsString();
    for (const auto& Choice : Choices)
      if (Choice.second == Value) return Choice.first;
  }
  // A link shows the part of its value before "#"; the rest is the address it opens.
  std::size_t GridCol = std::size_t(DataCol + IndicatorOffset());
  if (GridCol < FCache.size() && FCache[GridCol]->ControlKind == "URL-Link") {
    String Display, Address;
    SplitURLLink(Field->AsString(), Display, Address);
    return Display;
  }
  return TqvCustomDBGrid::GetFieldDisplayText(DataCol);
}

String TqvDBGrid::RichTextOf(TField* Field, TCustomRichEdit* Rich) {
  const std::size_t Limit = qvGridRichTextChunks * qvRichTextChunkSize;
  String Value;
  if (!LoadAllRTF) {
    // The opening of the value, and one byte more to know whether there is more.
    std::unique_ptr<TStream> Blob(Field->DataSet() != nullptr ? Field->DataSet()->CreateBlobStream(Field, bmRead) : nullptr);
    if (Blob != nullptr) {
      Value.resize(Limit + 1);
      Value.resize(std::size_t(std::max<std::int64_t>(Blob->Read(Value.data(), std::int64_t(Value.size())), 0)));
    }
  }
  bool Rtf = Value.compare(0, 5, "{\\rtf") == 0;
  if (!Rtf || Value.size() <= Limit) {
    // Plain lines are shown whole, as is any value that fits.
    Value = Field->AsString();
    Rtf = Value.compare(0, 5, "{\\rtf") == 0;
  }
  TRichEditProtectChange Saved = Rich->OnProtectChange;
  Rich->OnProtectChange = TRichEditProtectChange(this, &TqvDBGrid::AllowProtectedChange);
  TScopeGuard Restore([&] { Rich->OnProtectChange = Saved; });
  if (Rtf) {
    TStringStream Stream(LoadAllRTF ? Value : qvRtfOpening(Value, Limit));
    Rich->Lines()->LoadFromStream(&Stream);
  } else {
    Rich->Lines()->SetText(Value);
  }
  return Rich->Text();
}

void TqvDBGrid::AllowProtectedChange(TObject*, int, int, bool& AllowChange) { AllowChange = true; }

bool TqvDBGrid::IsRichEditCell(int ACol, int ARow) const {
  if (DataRowOf(ARow) < 0) return false;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (Field == nullptr || !Field->InheritsFrom(TBlobField::StaticClass())) return false;
  String Kind, Params;
  GetControlType(Field->FieldName(), Kind, Params);
  return Kind == "RichEdit";
}

void TqvDBGrid::EditRichTextCell() {
  if (!DataLink()->Active() || !IsRichEditCell(Col(), Row())) return;
  TField* Field = SelectedField();
  TWinControl* Rich = GetRichEditControl();
  if (Field == nullptr || Rich == nullptr) return;
  // Bound afresh, the rich edit holds nothing of the field yet: its editor reads the whole value
  // (never the opening a cell was drawn from), and what it writes back is that value edited.
  SetObjectProp(Rich, "DataSource", DataSource());
  SetStrProp(Rich, "DataField", Field->FieldName());
  TScopeGuard Unbind([&] {
    SetOrdProp(Rich, "ReadOnly", 0);
    SetStrProp(Rich, "DataField", String());
    SetObjectProp(Rich, "DataSource", nullptr);
    InvalidateCell(Col(), Row());
  });
  bool ReadOnlyCell = !CanEditGrid() || Field->ReadOnly() || GetColumn(SelectedIndex())->ReadOnly();
  SetOrdProp(Rich, "ReadOnly", ReadOnlyCell ? 1 : 0);
  SendMessageA(Rich->Handle(), WM_KEYDOWN, VK_F2, 0);
}

TWinControl* TqvDBGrid::GetRichEditControl() {
  if (FRichEdit != nullptr) return FRichEdit;
  TClass Class = GetClass("TqvDBRichEdit");
  if (Class == nullptr || Class->Factory == nullptr) return nullptr;
  TObject* Made = Class->Create(this);
  FRichEdit = dynamic_cast<TWinControl*>(Made);
  if (FRichEdit == nullptr) {
    delete Made;
    return nullptr;
  }
  FRichEdit->SetVisible(false);
  qvSetControlBorderStyle(FRichEdit, false);
  FRichEdit->SetParent(this);
  return FRichEdit;
}

bool TqvDBGrid::GetComboChoices(int DataCol, bool& MapList, std::vector<std::pair<String, String>>& Choices) const {
  MapList = false;
  Choices.clear();
  TField* Field = GetFieldByDataCol(DataCol);
  if (Field == nullptr) return false;
  String Kind, Params;
  GetControlType(Field->FieldName(), Kind, Params);
  if (Kind != "CustomEdit") return false;
  TWinControl* Control = FindCellControl(TqvLineParts(Params, ';').Part(0));
  if (Control == nullptr || !qvClassInheritsFrom(Control->ClassType(), "TqvDBComboBox")) return false;
  MapList = qvGetOrdPropByName(Control, "MapList") != 0;
  auto* Items = dynamic_cast<TStrings*>(GetObjectProp(Control, "Items"));
  if (Items == nullptr) return true;
  for (int i = 0; i < Items->Count(); ++i) {
    const String& Line = Items->Strings(i);
    std::size_t Tab = Line.find('\t');
    if (MapList && Tab != String::npos) {
      std::size_t Next = Line.find('\t', Tab + 1);
      Choices.push_back({Line.substr(0, Tab), Line.substr(Tab + 1, Next == String::npos ? String::npos : Next - Tab - 1)});
    } else {
      Choices.push_back({Line, Line});
    }
  }
  return true;
}

bool TqvDBGrid::IsCheckBoxCell(int ACol, int ARow) const {
  String Checked, Unchecked;
  return GetCheckBoxValues(ACol, ARow, Checked, Unchecked);
}

void TqvDBGrid::ToggleCheckBox(int ACol, int ARow) {
  String Checked, Unchecked;
  if (!GetCheckBoxValues(ACol, ARow, Checked, Unchecked)) return;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (IsSelectedCheckColumn(ACol)) {
    if (IsCurrentRowSelected()) UnselectCurrentRecord();
    else SelectCurrentRecord();
    return;
  }
  if (Field == nullptr || Field->ReadOnly() || GetColumn(DataColOf(ACol))->ReadOnly()) return;
  TDataSource* Source = DataSource();
  TDataSet* Set = Source != nullptr ? Source->DataSet() : nullptr;
  if (Set == nullptr) return;
  bool Editing = Set->State() == dsEdit || Set->State() == dsInsert;
  if (!(Source->AutoEdit || Editing) || !Set->CanModify()) return;
  if (Set->IsEmpty() && Set->State() == dsBrowse && !KeyOptions.Contains(dgAllowInsert)) return;
  bool WasChecked = qvSameText(Field->DisplayText(), Checked);
  DataLink()->Edit();
  if (Set->State() != dsEdit && Set->State() != dsInsert) return;
  Field->SetText(WasChecked ? Unchecked : Checked);
  InvalidateCell(ACol, ARow);
}

void TqvDBGrid::OpenMemoDialog() {
  if (FMemoAttributes.Contains(mDisableDialog) || !DataLink()->Active()) return;
  TField* Field = SelectedField();
  if (Field == nullptr) return;
  TqvMemoDialog* Dialog = new TqvMemoDialog(this);
  // The dialog goes and the cell is drawn again however the dialog ends.
  TScopeGuard Cleanup([&] {
    delete Dialog;
    InvalidateCell(Col(), Row());
    SetEditorMode(false);
  });
  Dialog->SetDataSource(DataSource());
  Dialog->SetDataField(Field->FieldName());
  TqvMemoAttributes Attributes = FMemoAttributes;
  if (!CanEditGrid() || Field->ReadOnly() || GetColumn(SelectedIndex())->ReadOnly()) Attributes.Include(mViewOnly);
  Dialog->SetMemoAttributes(Attributes);
  String Caption = Field->DisplayLabel();
  std::replace(Caption.begin(), Caption.end(), '~', ' ');
  Dialog->SetCaption(Caption);
  Dialog->Font()->Assign(Font());
  Dialog->DlgLeft = -1;
  if (OnMemoOpen) OnMemoOpen(this, Dialog);
  bool Confirmed = Dialog->Execute();
  if (OnMemoClose) OnMemoClose(this, !Confirmed);
}

// --- Multi-selection -------------------------------------------------------------------------------

int TqvDBGrid::FindSelected(const TBookmark& Bookmark) const {
  for (std::size_t i = 0; i < FSelectedBookmarks.size(); ++i)
    if (SameRecord(FSelectedBookmarks[i], Bookmark)) return int(i);
  return -1;
}

bool TqvDBGrid::AcceptSelection(bool Selecting) {
  bool Accept = true;
  if (OnMultiSelectRecord) OnMultiSelectRecord(this, Selecting, Accept);
  return Accept;
}

void TqvDBGrid::AddSelected(const TBookmark& Bookmark) {
  if (Bookmark.empty() || FindSelected(Bookmark) >= 0) return;
  if (AcceptSelection(true)) FSelectedBookmarks.push_back(Bookmark);
}

void TqvDBGrid::SelectCurrentRecord() {
  TDataSet* Set = DataLink()->DataSet();
  if (!DataLink()->Active() || Set == nullptr) return;
  Set->CheckBrowseMode();
  if (Set->IsEmpty()) return;
  TBookmark Current = Set->GetBookmark();
  if (FindSelected(Current) >= 0) return;
  std::size_t Before = FSelectedBookmarks.size();
  AddSelected(Current);
  if (FSelectedBookmarks.size() != Before) InvalidateCurrentRow();
}

void TqvDBGrid::UnselectCurrentRecord() {
  TDataSet* Set = DataLink()->DataSet();
  if (!DataLink()->Active() || Set == nullptr) return;
  int Index = FindSelected(Set->GetBookmark());
  if (Index < 0 || !AcceptSelection(false)) return;
  FSelectedBookmarks.erase(FSelectedBookmarks.begin() + Index);
  InvalidateCurrentRow();
}

void TqvDBGrid::UnselectAllRecords() {
  if (OnMultiSelectAllRecords) {
    bool Accept = true;
    OnMultiSelectAllRecords(this, false, Accept);
    if (!Accept) return;
  }
  FSelectedBookmarks.clear();
  FSelectedRowFlags.assign(FSelectedRowFlags.size(), false);
  Invalidate();
}

bool TqvDBGrid::IsRowSelected(int DataRow) {
  return DataRow >= 0 && DataRow < int(FSelectedRowFlags.size()) && FSelectedRowFlags[std::size_t(DataRow)];
}

bool TqvDBGrid::IsCurrentRowSelected() {
  TDataSet* Set = DataLink()->DataSet();
  if (!DataLink()->Active() || Set == nullptr || FSelectedBookmarks.empty()) return false;
  if (Set->State() == dsEdit || Set->State() == dsInsert) return false;
  return FindSelected(Set->GetBookmark()) >= 0;
}

void TqvDBGrid::UpdateSelectedRowFlags() {
  TDataSet* Set = DataLink()->DataSet();
  int Rows = DataLink()->Active() ? DataLink()->RecordCount() : 0;
  FSelectedRowFlags.assign(std::size_t(std::max(Rows, 0)), false);
  if (FSelectedBookmarks.empty() || Set == nullptr || Set->State() == dsEdit || Set->State() == dsInsert) return;
  int Active = DataLink()->ActiveRecord();
  TScopeGuard Restore([&] { DataLink()->SetActiveRecord(Active); });
  for (int i = 0; i < Rows; ++i) {
    DataLink()->SetActiveRecord(i);
    FSelectedRowFlags[std::size_t(i)] = FindSelected(Set->GetBookmark()) >= 0;
  }
}

void TqvDBGrid::UnselectRecordRange(const TBookmark& From, const TBookmark& To) {
  TDataSet* Set = DataLink()->DataSet();
  if (Set == nullptr) return;
  for (std::size_t i = 0; i < FSelectedBookmarks.size();) {
    const TBookmark& Entry = FSelectedBookmarks[i];
    bool Inside = Set->CompareBookmarks(From, Entry) <= 0 && Set->CompareBookmarks(Entry, To) <= 0;
    if (Inside && AcceptSelection(false)) {
      FSelectedBookmarks.erase(FSelectedBookmarks.begin() + std::ptrdiff_t(i));
      continue;
    }
    ++i;
  }
  Invalidate();
}

void TqvDBGrid::SelectRecordRange(const TBookmark& From, const TBookmark& To) {
  TDataSet* Set = DataLink()->DataSet();
  if (Set == nullptr || From.empty() || To.empty()) return;
  int FormerRow = DataLink()->ActiveRecord();
  Set->DisableControls();
  {
    TScopeGuard Enable([&] { Set->EnableControls(); });
    bool Forward = Set->CompareBookmarks(From, To) < 0;
    const TBookmark& First = Forward ? From : To;
    const TBookmark& Last = Forward ? To : From;
    try {
      Set->GotoBookmark(First);
      UnselectRecordRange(First, Last);
      TBookmark Added = Set->GetBookmark();
      AddSelected(Added);
      while (Set->CompareBookmarks(Added, Last) < 0) {
        Set->Next();
        if (Set->Eof()) break;
        Added = Set->GetBookmark();
        AddSelected(Added);
      }
    } catch (const std::exception&) {
      // The walk stops where it failed; what it selected stays selected.
    }
    Set->GotoBookmark(From);
  }
  // The record clicked stays on the row it was clicked on.
  KeepRecordOnRow(FormerRow);
  Invalidate();
}

void TqvDBGrid::KeepRecordOnRow(int FormerRow) {
  TDataSet* Set = DataLink()->DataSet();
  if (!DataLink()->Active() || Set == nullptr) return;
  int Now = DataLink()->ActiveRecord();
  if (Now == FormerRow || FormerRow < 0) return;
  // Beyond the first shown row (or the last), the records shown scroll so that the record reached
  // stands there; coming back leaves the current one FormerRow rows from the top.
  int Away = Now < FormerRow ? -FormerRow : VisibleRowCount() - 1 - FormerRow;
  int Moved = Set->MoveBy(Away);
  Set->MoveBy(-Moved);
}

void TqvDBGrid::SortSelectedBookmarks() {
  TDataSet* Set = DataLink()->DataSet();
  if (Set == nullptr) return;
  std::stable_sort(FSelectedBookmarks.begin(), FSelectedBookmarks.end(),
                   [Set](const TBookmark& A, const TBookmark& B) { return Set->CompareBookmarks(A, B) < 0; });
}

// --- Dataset --------------------------------------------------------------------------------------

void TqvDBGrid::RefreshSelectedFromDataSet() {
  FreeBaseWidths();
  TDataSet* Set = DataLink()->DataSet();
  if (UseTFields()) {
    if (Set != nullptr && Selected()->Count() > 0) {
      qvApplySelectedToFields(Set, Selected());
      RebuildLayout();
    }
  } else {
    RebuildLayout();
  }
  PositionCellControl();
}

void TqvDBGrid::RefreshFromDataSet() {
  TDataSet* Set = DataLink()->DataSet();
  if (FRefreshRunning || Set == nullptr || !DataLink()->Active()) return;
  FRefreshRunning = true;
  TScopeGuard Done([&] { FRefreshRunning = false; });
  FreeBaseWidths();
  if (Selected()->Count() > 0) {
    bool Calculated = false;
    for (int i = 0; i < Set->FieldCount(); ++i)
      if (Set->Fields()->Fields(i)->Calculated()) Calculated = true;
    if (!Calculated) RefreshSelectedFromDataSet();
    else RebuildLayout();
  } else {
    RebuildLayout();
  }
}

void TqvDBGrid::DataLinkActiveChanged(bool Active) {
  FInDataLinkReaction = true;
  TScopeGuard Done([&] { FInDataLinkReaction = false; });
  if (FDestroying && FIniAttributes != nullptr && FIniAttributes->Enabled) SaveLayout();
  if (!Active) FSelectedBookmarks.clear();
  TqvCustomDBGrid::DataLinkActiveChanged(Active);
  if (Active) RefreshFromDataSet();
}

void TqvDBGrid::Paint() {
  UpdateSelectedRowFlags();
  TqvCustomDBGrid::Paint();
}

void TqvDBGrid::Loaded() {
  if (TCustomForm* Form = GetParentForm(this)) FIniAttributes->FormName = Form->Name();
  TqvCustomDBGrid::Loaded();
}

void TqvDBGrid::CreateWnd() {
  TqvCustomDBGrid::CreateWnd();
  if (FLayoutRestorePending) {
    FLayoutRestorePending = false;
    if (FIniAttributes->Enabled) RestoreLayout();
  }
}

// --- Input ----------------------------------------------------------------------------------------

namespace {

// Posts a press and release of Key to Window as Windows sends them while Alt is held: system key
// messages with the Alt bit of their key data set (which the controls read as ssAlt).
void PostAltKey(HWND Window, WORD Key) {
  PostMessageA(Window, WM_SYSKEYDOWN, Key, LPARAM(0x20000001));
  PostMessageA(Window, WM_SYSKEYUP, Key, LPARAM(0xE0000001u));
}

}  // namespace

TWinControl* TqvDBGrid::ShownCellControl() const {
  TWinControl* Control = CurrentCellControl();
  return Control != nullptr && Control->Parent() == this && Control->Visible() && Control->HandleAllocated() ? Control
                                                                                                            : nullptr;
}

void TqvDBGrid::KeyDown(WORD& Key, TShiftState Shift) {
  // Alt+Down opens the list of the control shown over the cell, which takes the focus.
  if (Key == VK_DOWN && Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && DataLink()->Active()) {
    if (TWinControl* Control = ShownCellControl(); Control != nullptr && Control->CanFocus()) {
      Control->SetFocus();
      PostAltKey(Control->Handle(), VK_DOWN);
      Key = 0;
      return;
    }
  }
  TqvCustomDBGrid::KeyDown(Key, Shift);
  if (Key == 0 || !DataLink()->Active() || !CanGridAcceptKey(Key, Shift)) return;
  if (Key == VK_SPACE && Options().Contains(dgRowSelect) && Options().Contains(dgMultiSelect)) {
    if (IsCurrentRowSelected()) UnselectCurrentRecord();
    else SelectCurrentRecord();
    Key = 0;
    return;
  }
  bool Selector = IsSelectedCheckColumn(Col());
  // Without the rich edit (a program that does not link it) such a cell stays a memo cell.
  bool RichCell = IsRichEditCell(Col(), Row()) && GetRichEditControl() != nullptr;
  if (!(IsMemoCell(Col(), Row()) || RichCell || CanEditGrid() || Selector)) return;
  TWinControl* Control = ShownCellControl();
  if (Key == VK_SPACE && IsCheckBoxCell(Col(), Row())) {
    ToggleCheckBox(Col(), Row());
    Key = 0;
  } else if (Key == VK_F2 && RichCell) {
    Key = 0;
    EditRichTextCell();
  } else if (Control != nullptr && (Key == VK_F2 || qvIsEditKey(Key)) && !Shift.Contains(ssCtrl) &&
             !Shift.Contains(ssAlt)) {
    // The control over the cell takes the focus; an edit key goes on to it as if pressed there
    // (its character follows as the grid's WM_CHAR).
    if (!Control->CanFocus()) return;
    Control->SetFocus();
    if (Key != VK_F2) {
      BYTE Saved[256], Pressed[256];
      GetKeyboardState(Saved);
      std::copy(std::begin(Saved), std::end(Saved), std::begin(Pressed));
      Pressed[Key] = 0x80;
      SetKeyboardState(Pressed);
      SendMessageA(Control->Handle(), WM_KEYDOWN, Key, 1);
      SetKeyboardState(Saved);
    }
    Key = 0;
  } else if (Key == VK_F2 && IsMemoCell(Col(), Row())) {
    Key = 0;
    OpenMemoDialog();
  } else if (Key == VK_DELETE && CanEditGrid() && !Shift.Contains(ssCtrl) && !IsMemoCell(Col(), Row()) &&
             !HasEmbeddedControl(Col(), Row())) {
    // Delete empties the cell through the editor.
    ShowEditorIfAllowed();
    if (InplaceEditor() != nullptr && InplaceEditor()->Visible() && InplaceEditor()->HandleAllocated()) {
      SendMessageA(InplaceEditor()->Handle(), WM_KEYDOWN, VK_DELETE, 1);
      Key = 0;
    }
  }
}

void TqvDBGrid::WMChar(TMessage& Message) {
  unsigned char Typed = static_cast<unsigned char>(Message.WParam);
  bool Text = Typed == '\b' || Typed >= 32;
  if (Text && DataLink()->Active() && CanEditGrid() &&
      (IsMemoCell(Col(), Row()) || HasEmbeddedControl(Col(), Row()))) {
    // What is typed on such a cell belongs to its control; without one shown it goes nowhere
    // (no in-place editor over a memo, picture or check box).
    if (TWinControl* Control = ShownCellControl(); Control != nullptr && Control->CanFocus()) {
      if (GetFocus() != Control->Handle()) Control->SetFocus();
      PostMessageA(Control->Handle(), WM_CHAR, Message.WParam, Message.LParam);
    }
    Message.Result = 0;
    return;
  }
  TqvCustomDBGrid::Dispatch(Message);
}

void TqvDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDataSet* Set = DataLink()->DataSet();
  bool HadAnchor = FAnchorEnabled;
  TBookmark OldAnchor = FAnchor;
  TqvCustomDBGrid::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !DataLink()->Active() || Set == nullptr) return;
  int C, R;
  CellAtPoint(X, Y, C, R);
  bool DataCell = C >= IndicatorOffset() && R >= TitleRowCount();
  if (!DataCell) return;
  bool Double = Shift.Contains(ssDouble);
  bool Selector = IsSelectedCheckColumn(C);
  if ((CanEditGrid() || Selector) && IsCheckBoxCell(C, R) && C == Col() && R == Row()) {
    bool Single = EditControlOptions.Contains(ecoCheckboxSingleClick);
    if (Single != Double) ToggleCheckBox(C, R);
  }
  if (!Options().Contains(dgMultiSelect)) return;
  if (MultiSelectOptions.Contains(msoShiftSelect) && !Double) {
    FAnchorEnabled = true;
    FAnchor = Set->GetBookmark();
  }
  if (Shift.Contains(ssShift) && HadAnchor && Set->BookmarkValid(OldAnchor)) {
    TBookmark Current = Set->GetBookmark();
    SelectRecordRange(Current, OldAnchor);
  }
}

void TqvDBGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                TGridDrawInfo& FixedInfo) {
  TqvCustomDBGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
  if (State != gsColSizing || Index >= TqvCustomDBGrid::FixedCols()) return;
  bool Resizable = Options().Contains(dgFixedResizable) && Options().Contains(dgColumnResize);
  bool OnTitles = Options().Contains(dgTitles) && RowCount() > 0 && Y >= 0 && Y < RowHeights(0);
  if (!Resizable || Index < IndicatorOffset() || !OnTitles) {
    State = gsNormal;
    Index = -1;
  }
}

void TqvDBGrid::WMLButtonDblClk(TMessage& Message) {
  TqvCustomDBGrid::Dispatch(Message);
  int X = short(LOWORD(Message.LParam)), Y = short(HIWORD(Message.LParam));
  int C, R;
  CellAtPoint(X, Y, C, R);
  if (C < 0 || C != Col() || R != Row()) return;
  if (IsRichEditCell(C, R) && GetRichEditControl() != nullptr) EditRichTextCell();
  else if (IsMemoCell(C, R)) OpenMemoDialog();
}

void TqvDBGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_CHAR: WMChar(Message); break;
    default: TqvCustomDBGrid::Dispatch(Message);
  }
}

void TqvDBGrid::DoExportField(TField* Field, bool& Accept) {
  if (OnExportField) OnExportField(this, Field, Accept);
}

void TqvDBGrid::DoExportSYLKFormat(TField* Field, String& SYLKFormat) {
  if (OnExportSYLKFormat) OnExportSYLKFormat(this, Field, SYLKFormat);
}

String qvRtfOpening(const String& Rtf, std::size_t Limit) {
  if (Rtf.size() <= Limit) return Rtf;
  auto Letter = [](char C) { return std::isalpha(static_cast<unsigned char>(C)) != 0; };
  auto Digit = [](char C) { return std::isdigit(static_cast<unsigned char>(C)) != 0; };
  const std::size_t Size = Rtf.size();
  std::size_t Pos = 0;
  int Depth = 0;
  while (Pos < Size) {
    std::size_t Next = Pos + 1;
    int NewDepth = Depth;
    char C = Rtf[Pos];
    if (C == '{') {
      ++NewDepth;
    } else if (C == '}') {
      --NewDepth;
    } else if (C == '\\' && Pos + 1 < Size) {
      char D = Rtf[Pos + 1];
      if (Letter(D)) {
        // A control word, its number and the blank that ends it; "\\binN" carries N raw bytes.
        Next = Pos + 1;
        while (Next < Size && Letter(Rtf[Next])) ++Next;
        bool Bin = Rtf.compare(Pos + 1, Next - Pos - 1, "bin") == 0;
        std::size_t Number = Next;
        if (Next < Size && (Rtf[Next] == '-' || Digit(Rtf[Next]))) ++Next;
        while (Next < Size && Digit(Rtf[Next])) ++Next;
        long long Count = Bin && Next > Number ? std::atoll(Rtf.c_str() + Number) : 0;
        if (Next < Size && Rtf[Next] == ' ') ++Next;
        if (Count > 0) Next += std::size_t(Count);
      } else {
        Next = Pos + (D == '\'' ? 4 : 2);
      }
    }
    if (Next > Limit || Next > Size) break;
    Pos = Next;
    Depth = NewDepth;
  }
  return Rtf.substr(0, Pos) + String(std::size_t(std::max(Depth, 0)), '}');
}

void RegisterDBGridClasses() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterGridEngineClasses();
  RegisterClass(TqvDBGrid::StaticClass());
  RegisterClass(TqvMemoDialog::StaticClass());
  RegisterClass(TqvMemoDialogPopup::StaticClass());
}

namespace {

// Forms read from descriptions find the grid by its class name.
struct TDBGridRegistration {
  TDBGridRegistration() { RegisterDBGridClasses(); }
} DBGridRegistration;

}  // namespace
