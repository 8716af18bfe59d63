// This file implements TqvLookupDlg, the window of the lookup and search dialogs, and its sort-order
// combo TqvTempKeyCombo (see qvidlg.h): the controls made at creation, the layout around the
// grid, the sort order deciding the search field, and the keys that reach the grid from the
// search edit.
#include <algorithm>
#include <cassert>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Field.h"
#include "Qvdatsrc.h"
#include "Qvintl.h"
#include "ScopeGuard.h"
#include "StdCtrls.h"
#include "Format.h"
#include "StrUtils.h"
#include "Strings.h"
#include "Table.h"
#include "TypInfo.h"
#include "qvControlUtils.h"
#include "qvDataSetUtils.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"
#include "qvidlg.h"

VELBOR_IMPLEMENT_CLASS(TqvLookupDlg)
VELBOR_IMPLEMENT_CLASS(TqvTempKeyCombo)
VELBOR_HANDLERS(TqvLookupDlg, VELBOR_HANDLER(FormKeyDown), VELBOR_HANDLER(FormKeyUp), VELBOR_HANDLER(FormCloseQuery),
                VELBOR_HANDLER(qvKeyCombo1Change), VELBOR_HANDLER(qvKeyCombo1Enter), VELBOR_HANDLER(qvDBGrid1DblClick),
                VELBOR_HANDLER(qvDBGrid1MouseDown), VELBOR_HANDLER(qvDBGrid1ColumnMoved),
                VELBOR_HANDLER(DataSource1DataChange), VELBOR_HANDLER(UserButton1Click),
                VELBOR_HANDLER(UserButton2Click))

namespace {

// The fields of a ";"-separated list that the dataset has, in order.
std::vector<TField*> FieldsOf(TDataSet* DataSet, const String& Names) {
  std::vector<TField*> Fields;
  for (std::size_t Start = 0; Start <= Names.size();) {
    std::size_t End = Names.find(';', Start);
    if (TField* F = DataSet->FindField(Trim(Names.substr(Start, End == String::npos ? String::npos : End - Start))))
      Fields.push_back(F);
    if (End == String::npos) break;
    Start = End + 1;
  }
  return Fields;
}

bool IsTable(TDataSet* DataSet) { return dynamic_cast<TTable*>(DataSet) != nullptr; }

}  // namespace

// --- TqvTempKeyCombo -------------------------------------------------------------------------------

TqvTempKeyCombo::TqvTempKeyCombo(TComponent* AOwner)
    : TqvKeyCombo(AOwner), FDialog(dynamic_cast<TqvLookupDlg*>(AOwner)) {
  assert(FDialog != nullptr && "the combo belongs to a lookup window");
}

void TqvTempKeyCombo::KeyDown(WORD& Key, TShiftState Shift) {
  // Down opens the list; the form's preview has seen every other key.
  if (Key == VK_DOWN && !Shift.Contains(ssAlt) && !IsDroppedDown()) {
    SetFocus();
    SetDroppedDown(true);
    Key = 0;
  }
}

String TqvTempKeyCombo::CurrentOrder() {
  TDataSet* DataSet = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
  if (DataSet == nullptr) return String();
  if (auto* Table = dynamic_cast<TTable*>(DataSet)) return Table->IndexName() + "|" + Table->IndexFields();
  return IsPublishedProp(DataSet, "IndexFieldNames") ? GetStrProp(DataSet, "IndexFieldNames") : String();
}

// The combo also changes when it follows the dataset; only a new order is a sort change.
void TqvTempKeyCombo::Change() {
  TqvKeyCombo::Change();
  String Order = CurrentOrder();
  if (Order == FLastOrder) return;
  FLastOrder = Order;
  if (FDialog != nullptr) FDialog->qvKeyCombo1Change(this);
}

// --- TqvLookupDlg: creation ------------------------------------------------------------------------

TqvLookupDlg::TqvLookupDlg(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  Font()->SetColor(clBlack);
  Font()->SetStyle(TFontStyles{fsBold});
  SetClientWidth(344);
  SetClientHeight(343);
  KeyPreview = true;
  OnCloseQuery = TCloseQueryEvent(this, &TqvLookupDlg::FormCloseQuery);
  OnKeyDown = TKeyEvent(this, &TqvLookupDlg::FormKeyDown);
  OnKeyUp = TKeyEvent(this, &TqvLookupDlg::FormKeyUp);

  DataSource1 = new TqvDataSource(this);
  DataSource1->SetName("DataSource1");
  DataSource1->OnDataChange = TDataChangeEvent(this, &TqvLookupDlg::DataSource1DataChange);

  auto Place = [this](TControl* Control, const char* Name, int Left, int Top, int Width, int Height,
                      TWinControl* Parent = nullptr) {
    Control->SetName(Name);
    Control->SetParent(Parent != nullptr ? Parent : this);
    Control->SetBounds(Left, Top, Width, Height);
  };
  qvIncrementalSearch1 = new TqvIncrementalSearch(this);
  Place(qvIncrementalSearch1, "qvIncrementalSearch1", 8, 24, 329, 20);
  qvIncrementalSearch1->SetAutoSize(false);
  qvIncrementalSearch1->SetDataSource(DataSource1);
  qvIncrementalSearch1->Hint = "Enter characters for incremental search";
  qvIncrementalSearch1->SetShowHint(true);
  qvIncrementalSearch1->SetTabOrder(0);

  SearchCharacterLabel = new TLabel(this);
  Place(SearchCharacterLabel, "SearchCharacterLabel", 8, 8, 106, 13);
  SearchCharacterLabel->SetCaption("&Search Characters");
  SearchCharacterLabel->SetFocusControl(qvIncrementalSearch1);

  SortByLabel = new TLabel(this);
  Place(SortByLabel, "SortByLabel", 8, 48, 59, 13);
  SortByLabel->SetCaption("Search &By");
  SortByLabel->SetVisible(false);

  qvDBGrid1 = new TqvDBGrid(this);
  Place(qvDBGrid1, "qvDBGrid1", 8, 84, 329, 209);
  qvDBGrid1->IniAttributes()->SetSectionName("qvLookupDlgqvDBGrid1");
  qvDBGrid1->IniAttributes()->SetDelimiter(";;");
  qvDBGrid1->SetTitleColor(clBtnFace);
  qvDBGrid1->SetFixedCols(0);
  qvDBGrid1->SetShowHorzScrollBar(true);
  qvDBGrid1->SetDataSource(DataSource1);
  qvDBGrid1->SetOptions({dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                         dgAlwaysShowSelection, dgConfirmDelete, dgPerfectRowFit});
  qvDBGrid1->SetTabOrder(1);
  qvDBGrid1->SetTitleAlignment(taLeftJustify);
  qvDBGrid1->SetTitleLines(1);
  qvDBGrid1->SetTitleButtons(false);
  qvDBGrid1->SetTitleFont(Font());
  // The window changes the dataset's rows and fields itself; the grid follows without flicker.
  qvDBGrid1->SuppressDataChanged = true;
  qvDBGrid1->OnDblClick = TNotifyEvent(this, &TqvLookupDlg::qvDBGrid1DblClick);
  qvDBGrid1->OnMouseDown = TMouseEvent(this, &TqvLookupDlg::qvDBGrid1MouseDown);
  qvDBGrid1->OnColumnMoved = TqvColumnMovedEvent(this, &TqvLookupDlg::qvDBGrid1ColumnMoved);

  StatusHeader = new THeaderControl(this);
  StatusHeader->SetAlign(alNone);
  Place(StatusHeader, "StatusHeader", 56, 252, 185, 21);
  StatusHeader->Hint = "Table Name and current record position";
  StatusHeader->SetShowHint(true);
  StatusHeader->SetTabOrder(3);
  StatusHeader->SetVisible(false);
  for (int i = 0; i < 2; ++i) StatusHeader->Sections()->Add()->AllowClick = false;

  UserButtonPanel = new TPanel(this);
  Place(UserButtonPanel, "UserButtonPanel", 8, 300, 329, 40);
  UserButtonPanel->SetBevelInner(bvRaised);
  UserButtonPanel->SetBevelOuter(bvLowered);
  UserButtonPanel->SetCaption(String());
  UserButtonPanel->SetTabOrder(2);
  UserButtonPanel->SetVisible(false);
  UserButton1 = new TButton(this);
  Place(UserButton1, "UserButton1", 12, 8, 89, 26, UserButtonPanel);
  UserButton1->SetCaption("UserButton1");
  UserButton1->SetVisible(false);
  UserButton1->OnClick = TNotifyEvent(this, &TqvLookupDlg::UserButton1Click);
  UserButton2 = new TButton(this);
  Place(UserButton2, "UserButton2", 124, 8, 89, 26, UserButtonPanel);
  UserButton2->SetCaption("UserButton2");
  UserButton2->SetVisible(false);
  UserButton2->OnClick = TNotifyEvent(this, &TqvLookupDlg::UserButton2Click);

  // Below the visible area until the layout places them.
  OKBtn = qvCreateDialogButton(this, qvDialogButtonOK);
  OKBtn->SetName("OKBtn");
  OKBtn->SetTop(600);
  OKBtn->SetTabOrder(4);
  OKBtn->SetDefault(true);
  OKBtn->SetVisible(true);
  CancelBtn = qvCreateDialogButton(this, qvDialogButtonCancel);
  CancelBtn->SetName("CancelBtn");
  CancelBtn->SetTop(600);
  CancelBtn->SetTabOrder(5);
  CancelBtn->SetVisible(true);

  qvKeyCombo1 = new TqvTempKeyCombo(this);
  qvKeyCombo1->SetName("qvKeyCombo1");
  qvKeyCombo1->SetParent(this);
  qvKeyCombo1->SetVisible(false);
  qvKeyCombo1->SetDataSource(DataSource1);
  qvKeyCombo1->SetShowHint(true);
  SortByLabel->SetFocusControl(qvKeyCombo1);
}

// --- Showing -----------------------------------------------------------------------------------------

bool TqvLookupDlg::SortableDataSet() {
  if (DataSet == nullptr) return false;
  return IsTable(DataSet) || DataSet->InheritsFrom("TClientDataSet") || IsPublishedProp(DataSet, "IndexDefs") ||
         qvKeyCombo1->UsesFieldSort(DataSet);
}

void TqvLookupDlg::ApplyIntlStrings() {
  TqvIntl* Intl = qvIntl;
  TqvSearchDialogIntl* Texts = Intl->SearchDialog();
  Font()->SetStyle(Intl->DialogFontStyle);
  qvDBGrid1->SetTitleFont(Font());
  SearchCharacterLabel->SetCaption(Texts->SearchCharLabel);
  SortByLabel->SetCaption(Texts->SearchByLabel);
  qvIncrementalSearch1->Hint = Texts->SearchCharHint;
  qvKeyCombo1->Hint = Texts->SearchByHint;
}

void TqvLookupDlg::ApplySearchPictureMask() {
  if (!PictureMaskFromField || DataSet == nullptr) return;
  String Field = qvIncrementalSearch1->SearchField();
  if (Field.empty()) return;
  String Mask;
  bool AutoFill = true, UseMask = true;
  qvGetPictureMaskInfo(qvGetPictureMaskSource(OwnerComponent, DataSet), Field, true, Mask, AutoFill, UseMask);
  qvIncrementalSearch1->PictureMask = UseMask ? Mask : String();
  qvIncrementalSearch1->PictureMaskAutoFill = AutoFill;
}

void TqvLookupDlg::DoShow() {
  FShowing = true;
  TScopeGuard Shown([&] { FShowing = false; });
  if (!SortableDataSet()) Options.Exclude(opShowSearchBy);

  TRect Work;
  qvGetWorkArea(Work);
  int ScreenWidth = GetSystemMetrics(SM_CXSCREEN), ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  MaxWidth = MaxWidth == 0 ? ScreenWidth - 40 : std::min(MaxWidth, ScreenWidth - 40);
  MaxHeight = MaxHeight == 0 ? ScreenHeight - 200 : std::min(MaxHeight, ScreenHeight - 200);
  auto CentredLeft = [&] { return (Work.Left + Work.Right - MaxWidth - 40) / 2; };
  auto CentredTop = [&] { return std::max(0, (Work.Top + Work.Bottom - MaxHeight - 200) / 2); };
  SetLeft(CentredLeft());
  SetTop(CentredTop());
  int FirstLeft = Left(), FirstTop = Top();

  if (OwnerComponent != nullptr && OwnerComponent->InheritsFrom("TqvDBLookupComboDlg") &&
      IsPublishedProp(OwnerComponent, "SearchDelay"))
    qvIncrementalSearch1->SearchDelay = int(GetOrdProp(OwnerComponent, "SearchDelay"));
  qvIncrementalSearch1->OnPerformCustomSearch =
      TqvPerformSearchEvent::FromMethod(qvGetPerformCustomSearchEvent(OwnerComponent));

  FRequestedLeft = -1;
  if (OnInitDialog && !FActivated) {
    int WidthBefore = MaxWidth, HeightBefore = MaxHeight;
    OnInitDialog(this);
    if (MaxWidth != WidthBefore && Left() == FirstLeft) SetLeft(CentredLeft());
    if (MaxHeight != HeightBefore && Top() == FirstTop) SetTop(CentredTop());
    if (Left() != FirstLeft) FRequestedLeft = Left();
  }

  if (!Options.Contains(opShowSearchBy)) qvKeyCombo1->SetDataSource(nullptr);
  DataSource1->SetDataSet(DataSet);
  ApplyIntlStrings();
  ApplySortOrder();
  ApplySearchPictureMask();
  ArrangeControls(false);
  if (Options.Contains(opShowSearchBy)) qvKeyCombo1->RefreshItems(qvDBGrid1);
  qvKeyCombo1->NoteOrder();
  TForm::DoShow();
}

TTable* TqvLookupDlg::StatusTable() {
  auto* Table = dynamic_cast<TTable*>(DataSource1->DataSet());
  return Table != nullptr && Table->Active() && Table->IsSequenced() ? Table : nullptr;
}

void TqvLookupDlg::UpdateStatus() {
  if (StatusHeader == nullptr || !StatusHeader->Visible()) return;
  TTable* Table = StatusTable();
  if (Table == nullptr) return;
  Table->UpdateCursorPos();
  String Name = Table->TableName();
  while (!Name.empty() && Name.back() == '\0') Name.pop_back();
  TqvSearchDialogIntl* Texts = qvIntl->SearchDialog();
  StatusHeader->Sections()->Items(0)->SetText(Name);
  StatusHeader->Sections()->Items(1)->SetText(Texts->StatusRecLabel + " " + IntToStr(Table->RecNo()) + " " +
                                               Texts->StatusOfLabel + " " + IntToStr(Table->RecordCount()));
}

void TqvLookupDlg::Activate() {
  if (!FActivated) {
    if (qvIncrementalSearch1->Visible()) qvIncrementalSearch1->SetFocus();
    UpdateStatus();
    FActivated = true;
    if (!InitialText.empty()) {
      qvIncrementalSearch1->SetText(InitialText);
      if (qvIncrementalSearch1->ShowMatchText) qvIncrementalSearch1->ExecuteSearch();
      else qvIncrementalSearch1->SetSelStart(int(InitialText.size()));
    }
  }
  TForm::Activate();
}

// --- Layout ------------------------------------------------------------------------------------------

void TqvLookupDlg::ArrangeControls(bool WidthsOnly) {
  bool ShowButtons = Options.Contains(opShowOKCancel);
  bool Caption1 = !UserButton1->Caption().empty(), Caption2 = !UserButton2->Caption().empty();
  int Minimum = SortByLabel->Left() + SortByLabel->Width() + 3;
  if (ShowButtons) {
    Minimum = OKBtn->Width() + CancelBtn->Width() + 18;
    if (Caption1) Minimum += UserButton1->Width() + 30;
    if (Caption2) Minimum += UserButton2->Width() + 30;
  } else if (Caption1 && Caption2) {
    Minimum = std::max(Minimum, UserButton1->Width() + UserButton2->Width() + 35);
  } else if (Caption1 || Caption2) {
    Minimum = std::max(Minimum, (Caption1 ? UserButton1 : UserButton2)->Width() + 35);
  }
  bool Status = Options.Contains(opShowStatusBar);
  if (Status) Minimum = std::max(Minimum, StatusHeader->Width());

  qvDBGrid1->HandleNeeded();
  qvDBGrid1->RebuildLayout();
  auto ColumnsWidth = [&] {
    int Sum = GetSystemMetrics(SM_CXVSCROLL) + 4;
    for (int i = 0; i < qvDBGrid1->ColCount(); ++i) Sum += qvDBGrid1->ColWidths(i) + qvDBGrid1->GridLineWidth();
    return Sum;
  };
  int Wanted = ColumnsWidth();
  int FirstWanted = Wanted;
  if (Wanted < Minimum && qvDBGrid1->ColCount() > 0) {
    int Last = qvDBGrid1->ColCount() - 1;
    qvDBGrid1->SetColWidths(Last, qvDBGrid1->ColWidths(Last) + Minimum - Wanted);
    Wanted = ColumnsWidth();
  }
  if (WidthsOnly) return;

  int ScreenWidth = GetSystemMetrics(SM_CXSCREEN), ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  MaxWidth = MaxWidth == 0 ? ScreenWidth - 40 : std::min(MaxWidth, ScreenWidth - 40);
  MaxHeight = MaxHeight == 0 ? ScreenHeight - 200 : std::min(MaxHeight, ScreenHeight - 200);
  int GridWidth = std::max(std::min(Wanted, MaxWidth), Minimum);
  qvDBGrid1->SetHeight(MaxHeight);
  qvDBGrid1->SetWidth(GridWidth);
  if (GridWidth >= FirstWanted) qvDBGrid1->SetShowHorzScrollBar(false);
  qvDBGrid1->FitHeightToRows();

  int Dpi = Screen->PixelsPerInch();
  SearchCharacterLabel->SetTop(8);
  qvIncrementalSearch1->SetTop(MulDiv(13, Dpi, 96) + SearchCharacterLabel->Top() + 3);
  qvIncrementalSearch1->SetLeft(qvDBGrid1->Left());
  qvDBGrid1->SetTop(qvIncrementalSearch1->Top() + qvIncrementalSearch1->Height() + 8);
  int Bottom = qvDBGrid1->Top() + qvDBGrid1->Height();

  if (Status && StatusTable() != nullptr) StatusHeader->SetVisible(true);
  if (StatusHeader->Visible()) {
    // Against the grid's lower edge above buttons; apart from it when it ends the window.
    int Top = ShowButtons || Caption1 || Caption2 ? Bottom - 1 : Bottom + 10;
    StatusHeader->SetBounds(qvDBGrid1->Left(), Top, GridWidth, StatusHeader->Height());
    StatusHeader->Sections()->Items(0)->SetWidth(GridWidth / 2);
    StatusHeader->Sections()->Items(1)->SetWidth(GridWidth - GridWidth / 2);
    Bottom = StatusHeader->Top() + StatusHeader->Height();
    UpdateStatus();
  }

  bool SearchBy = Options.Contains(opShowSearchBy);
  if (!SearchBy) {
    qvIncrementalSearch1->SetWidth(GridWidth);
  } else if (Options.Contains(opGroupControls)) {
    int Half = (GridWidth - 20) / 2;
    qvIncrementalSearch1->SetWidth(Half);
    qvKeyCombo1->SetBounds(qvIncrementalSearch1->Left() + Half + 20, qvIncrementalSearch1->Top(), Half,
                           qvKeyCombo1->Height());
    SortByLabel->SetBounds(SearchCharacterLabel->Left() + Half + 20, SearchCharacterLabel->Top(), SortByLabel->Width(),
                           SortByLabel->Height());
    SortByLabel->SetVisible(true);
    qvKeyCombo1->SetVisible(true);
    qvKeyCombo1->SetTabOrder(1);
  } else {
    qvIncrementalSearch1->SetWidth(GridWidth);
    SortByLabel->SetBounds(SearchCharacterLabel->Left(), Bottom + 8, SortByLabel->Width(), SortByLabel->Height());
    qvKeyCombo1->SetBounds(qvDBGrid1->Left(), SortByLabel->Top() + SortByLabel->Height() + 3, GridWidth,
                           qvKeyCombo1->Height());
    SortByLabel->SetVisible(true);
    qvKeyCombo1->SetVisible(true);
    Bottom = qvKeyCombo1->Top() + qvKeyCombo1->Height();
  }

  if (Caption1 || Caption2) {
    UserButtonPanel->SetTop(Bottom + 5);
    UserButtonPanel->SetLeft(qvDBGrid1->Left());
    int Right = 0;
    if (Caption1) {
      UserButton1->SetLeft(10);
      UserButton1->SetVisible(true);
      Right = UserButton1->Left() + UserButton1->Width();
    }
    if (Caption2) {
      UserButton2->SetLeft(Right > 0 ? Right + 15 : 15);
      UserButton2->SetVisible(true);
      Right = UserButton2->Left() + UserButton2->Width();
    }
    UserButtonPanel->SetWidth(ShowButtons ? Right + 10 : GridWidth);
    UserButtonPanel->SetVisible(true);
  }

  int FormWidth = qvDBGrid1->Left() + GridWidth + 7;
  SetClientWidth(FormWidth);
  if (ShowButtons) {
    int Top = Bottom + 13;
    int Shift = GridWidth == Minimum ? 5 : 0;
    OKBtn->SetTabStop(true);
    CancelBtn->SetTabStop(true);
    OKBtn->SetBounds(FormWidth - 2 * OKBtn->Width() - 28 + Shift, Top, OKBtn->Width(), OKBtn->Height());
    CancelBtn->SetBounds(FormWidth - OKBtn->Width() - 15 + Shift, Top, CancelBtn->Width(), CancelBtn->Height());
    SetClientHeight(std::max(OKBtn->Top() + OKBtn->Height(),
                             (Caption1 || Caption2) ? UserButtonPanel->Top() + UserButtonPanel->Height() : 0) +
                    9);
  } else if (Caption1 || Caption2) {
    SetClientHeight(UserButtonPanel->Top() + UserButtonPanel->Height() + 9);
  } else {
    // The two buttons stay out of sight, still pressed by Enter and Escape.
    OKBtn->SetTop(600);
    CancelBtn->SetTop(600);
    SetClientHeight(Bottom + 9);
  }
  SetLeft(FRequestedLeft >= 0 ? FRequestedLeft : (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);

  if (SearchBy && Options.Contains(opGroupControls) && qvIncrementalSearch1->Width() < SearchCharacterLabel->Width())
    SearchCharacterLabel->SetCaption(qvIntl->SearchDialog()->SearchCharShortLabel);
}

// --- Sort order ----------------------------------------------------------------------------------------

void TqvLookupDlg::SearchFieldFromFirstColumn() {
  if (qvDBGrid1->GetFieldCount() == 0) return;
  if (TField* First = qvDBGrid1->GetFields(0)) qvIncrementalSearch1->SetSearchField(First->FieldName());
}

void TqvLookupDlg::ApplySortOrder() {
  if (DataSet == nullptr) return;
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (!qvDBGrid1->UseTFields() && !(Table != nullptr && Table->IndexFieldCount() > 0)) SearchFieldFromFirstColumn();
  bool FieldSort = qvKeyCombo1->UsesFieldSort(DataSet);
  if (!SortableDataSet()) return;

  qvIncrementalSearch1->SetSearchField(String());
  std::vector<TField*> Sorted;
  if (Table != nullptr) {
    Sorted = FieldsOf(DataSet, Table->IndexFields());
  } else if (DataSet->InheritsFrom("TClientDataSet") || !IsPublishedProp(DataSet, "IndexDefs") || FieldSort) {
    String Name = qvFieldNameFromDisplayLabel(DataSet, qvKeyCombo1->Text());
    if (TField* F = DataSet->FindField(Name)) Sorted.push_back(F);
  } else if (IsPublishedProp(DataSet, "IndexName")) {
    Sorted = FieldsOf(DataSet, GetStrProp(DataSet, "IndexName"));
  }

  bool Reorder = !Options.Contains(opDisableReorderColumns);
  DataSet->DisableControls();
  TScopeGuard Enable([&] { DataSet->EnableControls(); });
  if (qvDBGrid1->UseTFields()) {
    if (Sorted.empty()) return;
    qvApplySelectedToFields(DataSet, qvDBGrid1->Selected());
    int Position = 0;
    for (TField* F : Sorted) {
      if (!F->Visible()) continue;
      if (Reorder) F->SetIndex(Position++);
    }
    qvIncrementalSearch1->SetSearchField(Sorted.front()->FieldName());
  } else {
    TStrings* Lines = qvDBGrid1->Selected();
    bool First = true;
    for (std::size_t i = 0; i < Sorted.size(); ++i) {
      int Index = -1;
      if (!qvFindSelectedField(Lines, Sorted[i]->FieldName(), Index)) continue;
      if (Reorder && Index != int(i) && int(i) < Lines->Count()) {
        String Line = Lines->Strings(Index);
        Lines->Delete(Index);
        Lines->Insert(int(i), Line);
      }
      if (First) qvIncrementalSearch1->SetSearchField(Sorted[i]->FieldName());
      First = false;
    }
    qvDBGrid1->SetSelected(Lines);
  }
}

void TqvLookupDlg::qvKeyCombo1Change(TObject*) {
  if (!FShowing) qvIncrementalSearch1->Clear();
  ApplySortOrder();
  ApplySearchPictureMask();
  ArrangeControls(true);
  if (!qvKeyCombo1->IsDroppedDown() && qvIncrementalSearch1->CanFocus()) qvIncrementalSearch1->SetFocus();
  if (OnSortChange) OnSortChange(this);
}

// --- Keys, mouse and closing -----------------------------------------------------------------------------

void TqvLookupDlg::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (FPassingKey || ActiveControl() == qvKeyCombo1) return;
  switch (Key) {
    case VK_RETURN:
      if (OKBtn->CanFocus()) OKBtn->SetFocus();
      SetModalResult(mrOk);
      Key = 0;
      break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: {
      // The grid moves while the focus stays where it is (in the search edit).
      if (ActiveControl() == qvDBGrid1) break;
      FPassingKey = true;
      TScopeGuard Passed([&] { FPassingKey = false; });
      SendMessageA(qvDBGrid1->Handle(), WM_KEYDOWN, Key, 0);
      Key = 0;
      break;
    }
    default:
      break;
  }
  (void)Shift;
}

void TqvLookupDlg::FormKeyUp(TObject*, WORD& Key, TShiftState) {
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && ActiveControl() == qvKeyCombo1) {
    qvKeyCombo1->SetDroppedDown(false);
    if (qvIncrementalSearch1->CanFocus()) qvIncrementalSearch1->SetFocus();
  }
}

void TqvLookupDlg::FormCloseQuery(TObject*, bool& CanClose) {
  if (qvKeyCombo1->IsDroppedDown()) {
    CanClose = false;
    return;
  }
  qvIncrementalSearch1->FlushPendingSearch();
  if (OnCloseDialog) OnCloseDialog(this);
}

void TqvLookupDlg::qvDBGrid1DblClick(TObject*) {
  if (qvDBGrid1->CanEditGrid()) return;
  if (FMemoClicked && !qvDBGrid1->MemoAttributes().Contains(mDisableDialog)) return;
  SetModalResult(mrOk);
}

void TqvLookupDlg::qvDBGrid1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  int Col = -1, Row = -1;
  qvDBGrid1->CellAtPoint(X, Y, Col, Row);
  FMemoClicked = Col >= 0 && Row >= 0 && qvDBGrid1->IsMemoCell(Col, Row);
}

void TqvLookupDlg::qvDBGrid1ColumnMoved(TObject*, int, int) {
  if (!qvDBGrid1->UseTFields()) SearchFieldFromFirstColumn();
}

void TqvLookupDlg::UserButton1Click(TObject*) {
  if (OnUserButton1Click) OnUserButton1Click(this, DataSource1->DataSet());
}

void TqvLookupDlg::UserButton2Click(TObject*) {
  if (OnUserButton2Click) OnUserButton2Click(this, DataSource1->DataSet());
}
