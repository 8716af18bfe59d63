// This file implements the editing of the grid engine: TqvInplaceEdit (the editor over the
// current cell, which checks typed characters against the field's picture mask), the edit hooks
// of the platform grid, and the embedded controls: a control of the form that a "ControlType"
// line names for a field (or the grid's own date picker), laid over the current cell and shown
// there in place of the editor. The grid never owns an embedded control (the date picker apart).
#include "Qvdbigrd.h"

#include <algorithm>

#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"
#include "qvFieldSettings.h"
#include "qvPictureValidator.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

// The class the grid makes its in-place date picker of, when the program links it.
static const char* const DateTimePickerClassName = "TqvDBDateTimePicker";

// --- TqvInplaceEdit ---------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvInplaceEdit)

TqvInplaceEdit::TqvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
  if (auto* Grid = dynamic_cast<TqvCustomDBGrid*>(AOwner)) FWordWrap = Grid->Options().Contains(dgWordWrap);
}

TqvCustomDBGrid* TqvInplaceEdit::QvGrid() const { return dynamic_cast<TqvCustomDBGrid*>(Grid()); }

void TqvInplaceEdit::SetWordWrap(bool Value) {
  // The window's style changes only when it is made again; a same value keeps the window.
  if (FWordWrap == Value && HandleAllocated()) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TqvInplaceEdit::CreateParams(TCreateParams& Params) {
  TInplaceEdit::CreateParams(Params);
  Params.Style &= ~DWORD(ES_AUTOVSCROLL | ES_WANTRETURN);
  if (BorderStyle() == bsNone || FWordWrap) Params.Style |= ES_MULTILINE;
  if (FWordWrap) {
    Params.Style |= ES_AUTOVSCROLL;
    Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  }
}

void TqvInplaceEdit::UpdateContents() {
  TInplaceEdit::UpdateContents();
  TqvCustomDBGrid* G = QvGrid();
  if (G == nullptr) return;
  int ACol = G->Col();
  bool Url = ACol < int(G->FCache.size()) && G->FCache[std::size_t(ACol)]->ControlKind == "URL-Link";
  SetWordWrap(Url ? false : G->Options().Contains(dgWordWrap));
}

void TqvInplaceEdit::BoundsChanged() {
  if (!HandleAllocated()) return;
  TqvCustomDBGrid* G = QvGrid();
  if (G != nullptr && G->Col() < G->FixedCols() && G->Col() < G->LeftCol() &&
      !G->Options().Contains(dgColLinesDisableFixed)) {
    int Shrink = G->Options().Contains(dgColLines) ? 1 : 2;
    SetWindowPos(FHandle, HWND_TOP, Left() + 1, Top(), Width() - Shrink, Height(), SWP_NOREDRAW);
  }
  int Top = G != nullptr && G->Options().Contains(dgRowLinesDisableFixed) ? 1 : 2;
  RECT R{1, Top, Width() - 2, Height()};
  SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(&R));
  SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
}

bool TqvInplaceEdit::UsesPictureMask() const { return FUseMask && !FPictureMask.empty(); }

bool TqvInplaceEdit::ValidateText(const String& Text) {
  bool Result = true;
  if (!Text.empty() && UsesPictureMask()) {
    TqvPictureValidator Validator(FPictureMask, FAutoFill);
    String Checked = Text;
    Result = Validator.MatchPicture(Checked, false) == prComplete;
  }
  if (TqvCustomDBGrid* G = QvGrid(); G != nullptr && G->OnCheckValue) G->OnCheckValue(this, Result);
  return Result;
}

String TqvInplaceEdit::ComposeText(char Key) const {
  String Text = TControl::Text();
  int Start = std::clamp(SelStart(), 0, int(Text.size()));
  int Length = std::clamp(SelLength(), 0, int(Text.size()) - Start);
  if (Key == '\b') {
    if (Start > 0) Text.erase(std::size_t(Start - 1), 1);
    return Text;
  }
  return Text.substr(0, std::size_t(Start)) + Key + Text.substr(std::size_t(Start + Length));
}

void TqvInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TqvCustomDBGrid* G = QvGrid();
  if (G != nullptr) {
    bool EnterToTab = Key == VK_RETURN && G->KeyOptions.Contains(dgEnterToTab);
    bool CtrlDelete = Key == VK_DELETE && Shift.Contains(ssCtrl);
    // Escape goes to the grid, which gives the cell its value back or cancels the record.
    if (EnterToTab || CtrlDelete || Key == VK_ESCAPE) {
      if (EnterToTab || CtrlDelete) G->TWinControl::SetFocus();
      G->KeyDown(Key, Shift);
      Key = 0;
      if (HandleAllocated()) ::InvalidateRect(FHandle, nullptr, TRUE);
      return;
    }
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TqvInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TqvCustomDBGrid* G = QvGrid();
  if (G != nullptr && Key == VK_RETURN && G->KeyOptions.Contains(dgEnterToTab)) Key = VK_TAB;
  TInplaceEdit::KeyUp(Key, Shift);
  if (G != nullptr && Key == VK_DELETE && G->OnCheckValue) ValidateText(TControl::Text());
}

void TqvInplaceEdit::KeyPress(char& Key) {
  TqvCustomDBGrid* G = QvGrid();
  if (G != nullptr && G->KeyOptions.Contains(dgEnterToTab) && Key == '\r') Key = '\t';
  TInplaceEdit::KeyPress(Key);
  if (Key == 0 || G == nullptr) return;
  if (Key == '\n') {
    if (TField* Field = G->SelectedField(); Field != nullptr && Field->InheritsFrom(TFloatField::StaticClass())) {
      Key = 0;
      return;
    }
  }
  if (UsesPictureMask()) PictureKeyPress(Key);
}

void TqvInplaceEdit::PictureKeyPress(char& Key) {
  TqvCustomDBGrid* G = QvGrid();
  unsigned char Code = static_cast<unsigned char>(Key);
  if (Code == 8) {
    if (G->OnCheckValue) ValidateText(ComposeText('\b'));
    return;
  }
  if (Code <= 31) return;
  String Old = TControl::Text();
  int OldLength = int(Old.size());
  int Start = SelStart();
  int Length = SelLength();
  String New = ComposeText(Key);
  if (MaxLength() > 0 && int(New.size()) > MaxLength() && OldLength < int(New.size())) return;
  TqvPictureValidator Validator(FPictureMask, FAutoFill);
  String Checked = New;
  int Result = Validator.MatchPicture(Checked, FAutoFill);
  if (FAutoFill && qvClassInheritsFrom(G->ClassType(), "TqvDBGrid") && !G->PatchFlags.NoAutoFillRetry &&
      Result == prError) {
    // A blank at the caret may let the typed character follow a literal.
    String Blank = ComposeText(' ');
    TqvPictureValidator Retry(FPictureMask, FAutoFill);
    String BlankChecked = Blank;
    if (Retry.MatchPicture(BlankChecked, FAutoFill) != prError) {
      Checked = BlankChecked + Key;
      TqvPictureValidator Again(FPictureMask, FAutoFill);
      Result = Again.MatchPicture(Checked, FAutoFill);
    }
  }
  bool AllSelected = Length == OldLength && OldLength > 0;
  bool Passes = true;
  switch (Result) {
    case prComplete: {
      SetText(Checked);
      G->FLastEditorText = Checked;
      int Caret = AllSelected ? int(Checked.size())
                              : int(Checked.size()) > OldLength ? Start + (int(Checked.size()) - OldLength) : Start + 1;
      SetSelStart(Caret);
      SetSelLength(0);
      Key = 0;
      break;
    }
    case prIncomplete: {
      SetText(Checked);
      G->FLastEditorText = TControl::Text();
      int Caret = AllSelected ? int(Checked.size()) : Start + (int(Checked.size()) - OldLength);
      SetSelStart(Caret);
      SetSelLength(0);
      Key = 0;
      Passes = false;
      break;
    }
    case prError:
      if (Start + Length < OldLength) {
        Passes = false;
      } else {
        Key = 0;
        MessageBeep(0);
        return;
      }
      break;
    default: break;
  }
  if (G->OnCheckValue) G->OnCheckValue(this, Passes);
}

void TqvInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE: WMPaste(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: TInplaceEdit::Dispatch(Message); break;
  }
}

void TqvInplaceEdit::WMPaste(TMessage& Message) {
  TInplaceEdit::Dispatch(Message);
  if (TqvCustomDBGrid* G = QvGrid()) G->CanEditModify();
}

void TqvInplaceEdit::WMSetFocus(TMessage& Message) {
  TInplaceEdit::Dispatch(Message);
  TqvCustomDBGrid* G = QvGrid();
  if (G == nullptr || G->FDataLink->DataSet() == nullptr) return;
  TField* Field = G->SelectedField();
  if (Field == nullptr) return;
  String Mask;
  bool AutoFill = false, UseMask = false;
  qvGetPictureMaskInfo(qvGetPictureMaskSource(G, G->FDataLink->DataSet()), Field->FieldName(), false, Mask, AutoFill,
                       UseMask);
  FPictureMask = Mask;
  FAutoFill = AutoFill;
  FUseMask = UseMask;
  AllowInvalidExit = false;
  ValidateText(Field->Text());
}

void TqvInplaceEdit::CMFontChanged(TMessage& Message) {
  TInplaceEdit::Dispatch(Message);
  if (!HandleAllocated()) return;
  int M = BorderStyle() == bsNone ? 2 : 0;
  RECT R{M, M, ClientWidth() - 1, ClientHeight()};
  SendMessageA(FHandle, EM_SETRECTNP, 0, LPARAM(&R));
}

// --- The edit hooks of the platform grid ------------------------------------------------------

TInplaceEdit* TqvCustomDBGrid::CreateEditor() { return new TqvInplaceEdit(this); }

bool TqvCustomDBGrid::CanEditAcceptKey(char Key) {
  TField* Field = SelectedField();
  return FDataLink->Active() && GetFieldCount() > 0 && Field != nullptr && Field->IsValidChar(Key);
}

int TqvCustomDBGrid::GetEditLimit() {
  TField* Field = SelectedField();
  return Field != nullptr && Field->DataType() == ftString ? Field->Size() : 0;
}

String TqvCustomDBGrid::GetEditMask(int ACol, int) {
  if (!FDataLink->Active()) return String();
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  return Field != nullptr ? Field->EditMask() : String();
}

String TqvCustomDBGrid::GetEditText(int ACol, int) {
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  FLastEditorText = Field != nullptr ? Field->Text() : String();
  return FLastEditorText;
}

void TqvCustomDBGrid::SetEditText(int, int, const String& Value) { FLastEditorText = Value; }

bool TqvCustomDBGrid::CanEditModify() {
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !FDataLink->Active()) return false;
  if (Set->Bof() && Set->Eof() && Set->State() == dsBrowse && !KeyOptions.Contains(dgAllowInsert)) return false;
  if (ReadOnly || FDataLink->ReadOnly() || GetFieldCount() == 0) return false;
  TField* Field = SelectedField();
  if (Field == nullptr) return false;
  bool CalculatedAllowed = EditCalculated && Field->Calculated() && !Field->ReadOnly();
  if (!Field->CanModify() && !CalculatedAllowed && !qvLookupCellEditable(Field)) return false;
  if (GetColumn(SelectedIndex())->ReadOnly()) return false;
  FDataLink->Edit();
  bool Editing = FDataLink->Editing();
  if (Editing) FDataLink->SetModified(true);
  return Editing;
}

bool TqvCustomDBGrid::CanEditShow() {
  if (!TCustomGrid::CanEditShow()) return false;
  if (IsMemoCell(Col(), Row()) || HasEmbeddedControl(Col(), Row())) return false;
  if (FOptions.Contains(dgAlwaysShowEditor) && !IsActiveControl() && InplaceEditor() != nullptr &&
      !InplaceEditor()->Visible())
    return false;
  return true;
}

void TqvCustomDBGrid::ShowEditorIfAllowed() {
  if (EditControlOptions.Contains(ecoDisableEditorIfReadOnly) && GetColumn(SelectedIndex())->ReadOnly()) return;
  ShowEditor();
}

// --- Embedded controls ------------------------------------------------------------------------

TStrings* TqvCustomDBGrid::GetControlTypeList() const {
  TDataSet* Set = FDataLink != nullptr ? FDataLink->DataSet() : nullptr;
  if (ControlInfoInDataset && Set != nullptr)
    if (TStrings* List = qvGetControlTypeList(Set)) return List;
  return FControlType;
}

void TqvCustomDBGrid::GetControlType(const String& FieldName, String& Kind, String& Params) const {
  TDataSet* Set = FDataLink != nullptr ? FDataLink->DataSet() : nullptr;
  TObject* Source = ControlInfoInDataset && Set != nullptr && qvGetControlTypeList(Set) != nullptr
                        ? static_cast<TObject*>(Set)
                        : static_cast<TObject*>(const_cast<TqvCustomDBGrid*>(this));
  qvGetControlType(Source, FieldName, Kind, Params);
  if (EditControlOptions.Contains(ecoDisableCustomControls) && qvIsEditControlKind(Kind)) Kind.clear();
}

TWinControl* TqvCustomDBGrid::FindCellControl(const String& Name) const {
  TComponent* Root = EditControlOptions.Contains(ecoSearchOwnerForm)
                         ? static_cast<TComponent*>(qvGetOwnerForm(const_cast<TqvCustomDBGrid*>(this)))
                         : static_cast<TComponent*>(GetParentForm(this));
  if (Root == nullptr || Name.empty()) return nullptr;
  std::size_t Dot = Name.find('.');
  TComponent* Found = nullptr;
  if (Dot == String::npos) {
    Found = Root->FindComponent(Name);
  } else {
    String A = Name.substr(0, Dot), B = Name.substr(Dot + 1);
    if (B.empty()) return nullptr;
    TComponent* Outer = Root->FindComponent(A);
    if (Outer != nullptr && qvClassInheritsFrom(Outer->ClassType(), "TCustomFrame")) {
      Found = Outer->FindComponent(B);
    } else {
      TDataSet* Set = FDataLink != nullptr ? FDataLink->DataSet() : nullptr;
      if (Set != nullptr && Set->Owner() != nullptr) Found = Set->Owner()->FindComponent(B);
    }
  }
  return dynamic_cast<TWinControl*>(Found);
}

bool TqvCustomDBGrid::GetCellControl(int ACol, int ARow, TWinControl*& Control) {
  Control = nullptr;
  if (EditControlOptions.Contains(ecoDisableCustomControls)) return false;
  if (DataColOf(ACol) < 0 || DataRowOf(ARow) < 0) return false;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (Field == nullptr) return false;
  if (TStrings* Lines = GetControlTypeList()) {
    for (int i = 0; i < Lines->Count(); ++i) {
      TqvLineParts Parts(Lines->Strings(i), ';');
      if (Parts.Part(0) != Field->FieldName() || !qvIsEditControlKind(Parts.Part(1))) continue;
      TWinControl* Found = FindCellControl(Parts.Part(2));
      if (Found != nullptr) {
        TCustomForm* Form = GetParentForm(Found);
        if (Form == nullptr || !qvClassInheritsFrom(Form->ClassType(), "TqvRecordViewForm")) Control = Found;
      }
      break;
    }
  }
  if (Control == nullptr && !EditControlOptions.Contains(ecoDisableDateTimePicker) &&
      Field->InheritsFrom(TDateTimeField::StaticClass())) {
    if (FDateTimePicker == nullptr && GetClass(DateTimePickerClassName) != nullptr) CreateDateTimePicker();
    Control = FDateTimePicker;
  }
  return Control != nullptr;
}

bool TqvCustomDBGrid::CellControlsActive() const {
  if (EditControlOptions.Contains(ecoDisableCustomControls)) return false;
  if (!CanEditGrid()) {
    int ACol = Col();
    if (ACol >= int(FCache.size()) || !FCache[std::size_t(ACol)]->AlwaysShow) return false;
  }
  return !ComponentState().Contains(csDesigning) && !FOptions.Contains(dgRowSelect);
}

void TqvCustomDBGrid::AlignCellControl() {
  TWinControl* Control = nullptr;
  if (!GetCellControl(Col(), Row(), Control) || !CellControlsActive()) return;
  FCellControl = Control;
  FCellControl->FreeNotification(this);
  if (ComponentState().Contains(csDesigning) || Control->Parent() != this) return;
  TRect Cell;
  GetCellBounds(Col(), Row(), Cell);
  if (Cell.IsEmpty()) return;
  if (Control->Top() != Cell.Top || Control->Left() != Cell.Left || Control->Left() + Control->Width() != Cell.Right)
    Control->SetBounds(Cell.Left, Cell.Top, Cell.Width(), Cell.Height());
}

void TqvCustomDBGrid::CacheColumnControls() {
  for (TqvCacheColInfoItem* Item : FCache) delete Item;
  FCache.clear();
  for (int C = 0; C < ColCount(); ++C) {
    auto* Item = new TqvCacheColInfoItem;
    FCache.push_back(Item);
    int DataCol = DataColOf(C);
    TField* Field = DataCol >= 0 && DataCol < GetFieldCount() ? GetFields(DataCol) : nullptr;
    if (Field == nullptr) continue;
    GetControlType(Field->FieldName(), Item->ControlKind, Item->Params);
    if (!qvIsEditControlKind(Item->ControlKind)) continue;
    TqvLineParts Parts(Item->Params, ';');
    Item->AlwaysShow = Parts.Part(1) == "T";
    TWinControl* Control = nullptr;
    if (RowCount() > FTitleOffset && GetCellControl(C, FTitleOffset, Control) && Control != FDateTimePicker) {
      Item->Control = Control;
      Control->FreeNotification(this);
    } else {
      Item->AlwaysShow = false;
      Item->ControlKind.clear();
    }
  }
}

bool TqvCustomDBGrid::HasEmbeddedControl(int ACol, int ARow) {
  if (DataColOf(ACol) < 0 || DataRowOf(ARow) < 0) return false;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (Field == nullptr) return false;
  String Kind, Params;
  GetControlType(Field->FieldName(), Kind, Params);
  if (Kind == "Bitmap" || Kind == "ImageIndex" || Kind == "CheckBox") return true;
  if (qvIsEditControlKind(Kind)) return FindCellControl(TqvLineParts(Params, ';').Part(0)) != nullptr;
  // The date picker, when the program has one to make.
  return !EditControlOptions.Contains(ecoDisableDateTimePicker) && Field->InheritsFrom(TDateTimeField::StaticClass()) &&
         (FDateTimePicker != nullptr || GetClass(DateTimePickerClassName) != nullptr);
}

void TqvCustomDBGrid::CreateDateTimePicker() {
  TClass Class = GetClass(DateTimePickerClassName);
  if (Class == nullptr || Class->Factory == nullptr) return;
  TObject* Made = Class->Create(this);
  FDateTimePicker = dynamic_cast<TWinControl*>(Made);
  if (FDateTimePicker == nullptr) delete Made;
}

void TqvCustomDBGrid::PrepareCellControl(TWinControl* Control) {
  if (Control->Parent() != this) Control->SetParent(this);
  if (qvGetControlDataSource(Control) != GetDataSource()) qvSetControlDataSource(Control, GetDataSource());
  TField* Field = SelectedField();
  String Name = Field != nullptr ? Field->FieldName() : String();
  if (!qvSameText(qvGetControlDataField(Control), Name)) qvSetControlDataField(Control, Name);
  qvSetControlBorderStyle(Control, false);
  AlignCellControl();
}

void TqvCustomDBGrid::PositionCellControl() {
  if (ComponentState().Contains(csDesigning) || FOptions.Contains(dgRowSelect) || !FDataLink->Active()) return;
  TWinControl* Control = nullptr;
  if (GetCellControl(Col(), Row(), Control) && Control != FDateTimePicker && CellControlsActive()) {
    PrepareCellControl(Control);
    return;
  }
  TField* Field = SelectedField();
  if (EditControlOptions.Contains(ecoDisableDateTimePicker) || Field == nullptr ||
      !Field->InheritsFrom(TDateTimeField::StaticClass()))
    return;
  if (FDateTimePicker == nullptr) CreateDateTimePicker();
  if (FDateTimePicker == nullptr) return;
  bool ReadOnlyPicker = Field->ReadOnly() || GetColumn(SelectedIndex())->ReadOnly();
  if (IsPublishedProp(FDateTimePicker, "ReadOnly")) SetOrdProp(FDateTimePicker, "ReadOnly", ReadOnlyPicker ? 1 : 0);
  FDateTimePicker->SetVisible(false);
  PrepareCellControl(FDateTimePicker);
  FDateTimePicker->HandleNeeded();
  FDateTimePicker->Perform(WM_SIZE);
}

void TqvCustomDBGrid::HideCustomControl() {
  if (FCellControl == nullptr || !FCellControl->Visible() || FCellControl->Parent() != this) return;
  HWND Focus = GetFocus();
  bool HasFocusWithin = FCellControl->HandleAllocated() && Focus != nullptr &&
                        (Focus == FCellControl->Handle() || IsChild(FCellControl->Handle(), Focus));
  TWinControl* Active = Screen != nullptr ? Screen->ActiveControl() : nullptr;
  if (!HasFocusWithin && Active != nullptr && Active != FCellControl && FCellControl->ContainsControl(Active))
    HasFocusWithin = true;
  if (HasFocusWithin) {
    FCellControl->SetLeft(ClientWidth() + 10);
    TWinControl::SetFocus();
    if (GetFocus() != FHandle) throw EAbort(String());
  }
  TScopeGuard Restore([&, Saved = SuppressCustomControlHiding] { SuppressCustomControlHiding = Saved; });
  SuppressCustomControlHiding = true;
  FCellControl->SetVisible(false);
}

void TqvCustomDBGrid::UpdateCellEditor() {
  if (!HandleAllocated()) return;
  bool Focused = GetFocus() == FHandle;
  if (Focused && !FSuppressEditorOnMove && !IsMemoCell(Col(), Row()) && FOptions.Contains(dgAlwaysShowEditor) &&
      !HasEmbeddedControl(Col(), Row())) {
    FCellControl = nullptr;
    if (InplaceEditor() != nullptr && InplaceEditor()->Visible() && InplaceEditor()->Focused()) InplaceEditor()->Invalidate();
    else ShowEditorIfAllowed();
    FCellControlPlacedInPaint = false;
    return;
  }
  if (FCellControl == nullptr) {
    if (InplaceEditor() != nullptr && InplaceEditor()->Focused()) InplaceEditor()->Invalidate();
    FCellControlPlacedInPaint = false;
    return;
  }
  if (FHasFocus && FCellControl->Parent() == this) {
    if (!FCellControl->Visible()) {
      if (!FCellControlPlacedInPaint) FCellControl->SetLeft(Width() + 10);
      FCellControl->SetVisible(true);
      if (auto* Edit = dynamic_cast<TCustomEdit*>(FCellControl)) Edit->SetModified(false);
    }
    if (FCellControlPlacedInPaint) {
      TCustomForm* Form = GetParentForm(this);
      bool FocusWithin = Form != nullptr ? Form->ActiveControl() == this : (Focused || IsChild(FHandle, GetFocus()));
      if (FOptions.Contains(dgAlwaysShowEditor) && Screen != nullptr && Form == Screen->ActiveForm() && FocusWithin &&
          FCellControl->CanFocus())
        FCellControl->SetFocus();
      // Repaints the control's own window; the grid is not repainted with it (it would place the
      // control again and come back here).
      FCellControl->Invalidate();
    }
    if (InplaceEditor() != nullptr) InplaceEditor()->Hide();
  }
  FCellControlPlacedInPaint = false;
}

bool TqvCustomDBGrid::PlaceCellControl(int ACol, int ARow, TGridDrawState AState) {
  if (FPlacingCellControl || FDrawingDragImage || ACol != Col() || ARow != Row() || !FDataLink->Active()) return false;
  FPlacingCellControl = true;
  TScopeGuard Restore([&] { FPlacingCellControl = false; });
  TWinControl* Control = nullptr;
  if (!GetCellControl(ACol, ARow, Control) || !CellControlsActive()) return false;
  FCellControl = Control;
  FCellControl->FreeNotification(this);
  FCellControlPlacedInPaint = true;
  if (ComponentState().Contains(csDesigning) || !AState.Contains(gdSelected)) return false;
  TCustomForm* Form = GetParentForm(this);
  TRect Cell;
  GetCellBounds(ACol, ARow, Cell);
  if (Cell.IsEmpty()) return false;
  bool BoundsDiffer = Control->Left() != Cell.Left || Control->Left() + Control->Width() != Cell.Right ||
                      Control->Top() != Cell.Top;
  if (Control->Parent() == this && Form != nullptr && Form->ActiveControl() == Control) {
    if (BoundsDiffer) Control->SetBounds(Cell.Left, Cell.Top, Cell.Width(), Cell.Height());
    return false;
  }
  int DataRow = DataRowOf(ARow);
  bool Highlight = AState.Contains(gdSelected) ||
                   (DataRow == CurrentDataRow() && FPaintOptions->ActiveRecordColor() != clNone);
  if (!Highlight || !(FOptions.Contains(dgAlwaysShowSelection) || FHasFocus) || Form == nullptr ||
      Form->ActiveControl() != this)
    return false;
  String Text;
  {
    int Saved = FDataLink->ActiveRecord();
    TScopeGuard RestoreRecord([&] { FDataLink->SetActiveRecord(Saved); });
    SetActiveRecordFor(DataRow);
    TField* Field = GetFieldByDataCol(DataColOf(ACol));
    if (Field != nullptr && qvClassInheritsFrom(Control->ClassType(), "TqvDBCustomLookupCombo")) Text = Field->AsString();
    else Text = GetFieldDisplayTextW(DataColOf(ACol));
  }
  if (!qvClassInheritsFrom(Control->ClassType(), "TqvCustomRichEdit") && Control->Text() != Text) Control->SetText(Text);
  if (Control->Parent() != this) {
    Control->SetParent(this);
    qvSetControlBorderStyle(Control, false);
  }
  if (BoundsDiffer) Control->SetBounds(Cell.Left, Cell.Top, Cell.Width(), Cell.Height());
  return true;
}
