// This file implements the second half of the grid engine: the column objects, cell geometry
// (cell bounds, title and group-header rectangles, the cell under a point), the values of the
// neighbouring buffered records, fitting a column to its contents, the mouse work that is not a
// click (URL hover cursor, hot themed titles, the cell hint of a truncated text), horizontal
// scrolling and the sizing rules of grouped titles; and TqvGridHintWindow.
#include "Qvdbigrd.h"

#include <algorithm>

#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "qvControlUtils.h"
#include "qvFieldSettings.h"
#include "qvStrUtils.h"

// --- TqvColumn --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqvColumn)

TqvColumn::TqvColumn(TqvCustomDBGrid* Grid, const String& FieldName) : FFieldName(FieldName), FGrid(Grid) {}

TqvColumn::~TqvColumn() = default;

unsigned char* TqvColumn::EnsureRowLineFlags() {
  if (!FRowLineFlags) FRowLineFlags = std::make_unique<unsigned char[]>(256);
  return FRowLineFlags.get();
}

String TqvColumn::SelectedPart(int Index) const {
  if (FGrid == nullptr) return String();
  int Line = -1;
  if (!qvFindSelectedField(FGrid->FSelected, FFieldName, Line)) return String();
  return TqvLineParts(FGrid->FSelected->Strings(Line), '\t').Part(Index);
}

int TqvColumn::DisplayWidth() const {
  if (FGrid == nullptr) return 0;
  TDataSet* Set = FGrid->FDataLink->DataSet();
  if (FGrid->UseTFields() && Set != nullptr && Set->Active())
    if (TField* Field = Set->FindField(FFieldName)) return Field->DisplayWidth();
  return std::atoi(SelectedPart(1).c_str());
}

void TqvColumn::SetDisplayWidth(int Value) {
  if (FGrid == nullptr) return;
  int Line = -1;
  if (qvFindSelectedField(FGrid->FSelected, FFieldName, Line)) FGrid->SetSelectedPart(Line, 1, std::to_string(Value));
  TDataSet* Set = FGrid->FDataLink->DataSet();
  if (FGrid->UseTFields() && Set != nullptr)
    if (TField* Field = Set->FindField(FFieldName)) Field->SetDisplayWidth(Value);
  FGrid->LayoutColumns();
}

String TqvColumn::DisplayLabel() const {
  if (FGrid == nullptr) return String();
  TDataSet* Set = FGrid->FDataLink->DataSet();
  if (FGrid->UseTFields() && Set != nullptr)
    if (TField* Field = Set->FindField(FFieldName)) return Field->DisplayLabel();
  return SelectedPart(2);
}

bool TqvColumn::ReadOnly() const { return SelectedPart(3) == "T"; }

String TqvColumn::GroupName() const { return SelectedPart(4); }

void TqvColumn::SetFooterValue(const String& Value) {
  if (FGrid == nullptr || FFooterValue == Value) return;
  FFooterValue = Value;
  FGrid->InvalidateFooter();
}

// --- Column access ----------------------------------------------------------------------------

TqvColumn* TqvCustomDBGrid::GetColumn(int Index) const {
  int Limit = GetFieldCount() > 0 ? GetFieldCount() : FSelected->Count();
  if (Index >= 0 && Index < Limit && Index < int(FColumns.size())) return FColumns[std::size_t(Index)];
  return FDefaultColumn;
}

TqvColumn* TqvCustomDBGrid::ColumnByName(const String& Name) const {
  for (TqvColumn* Column : FColumns)
    if (qvSameText(Column->FieldName(), Name)) return Column;
  return FDefaultColumn;
}

TqvColumn* TqvCustomDBGrid::ColumnOfDataIndex(int Index) const {
  if (GetFieldCount() > 0) {
    TField* Field = GetFields(Index);
    return Field != nullptr ? ColumnByName(Field->FieldName()) : FDefaultColumn;
  }
  if (Index < 0 || Index >= FSelected->Count()) return FDefaultColumn;
  return ColumnByName(TqvLineParts(FSelected->Strings(Index), '\t').Part(0));
}

String TqvCustomDBGrid::GetColumnFieldName(int ACol) const {
  int DataCol = DataColOf(ACol);
  if (FDataLink->Active()) {
    TField* Field = GetFields(DataCol);
    return Field != nullptr ? Field->FieldName() : String();
  }
  if (DataCol < 0 || DataCol >= FSelected->Count()) return String();
  return TqvLineParts(FSelected->Strings(DataCol), '\t').Part(0);
}

bool TqvCustomDBGrid::IsSelectedCheckColumn(int ACol) const {
  String Checked, Unchecked;
  if (!GetCheckBoxValues(ACol, 1, Checked, Unchecked)) return false;
  String Name = GetColumnFieldName(ACol);
  for (char& C : Name) C = char(std::tolower(static_cast<unsigned char>(C)));
  return Name == "selected";
}

// --- Geometry ---------------------------------------------------------------------------------

void TqvCustomDBGrid::CellAtPoint(int X, int Y, int& ACol, int& ARow) const {
  MouseToCell(X, Y, ACol, ARow);
  if (ACol < 0 || ARow < 0) ACol = ARow = -1;
}

void TqvCustomDBGrid::GetCellBounds(int ACol, int ARow, TRect& Rect) const {
  Rect = TRect();
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  Rect = CellRect(ACol, ARow);
  if (Rect == TRect()) return;
  Rect.Right = Rect.Left + ColWidths(ACol);
  if (ARow >= FTitleOffset) Rect.Bottom = Rect.Top + DefaultRowHeight();
}

void TqvCustomDBGrid::GetTitleTextRect(int ACol, int ARow, TRect& Rect) const {
  GetCellBounds(ACol, ARow, Rect);
  if (Rect.IsEmpty()) return;
  Rect.Right = Rect.Left + ColWidths(ACol);
  if (GetFieldByDataCol(DataColOf(ACol)) != nullptr && !GetColumn(DataColOf(ACol))->GroupName().empty())
    Rect.Top = Rect.Top + Rect.Height() / 2;
}

void TqvCustomDBGrid::GetGroupHeaderRect(int ACol, int ARow, TRect& Rect, bool VisibleOnly, int& LastCol,
                                         int& FirstCol) const {
  GetCellBounds(ACol, ARow, Rect);
  FirstCol = LastCol = ACol;
  String Group = GetColumn(DataColOf(ACol))->GroupName();
  if (Group.empty() || GetFieldByDataCol(DataColOf(ACol)) == nullptr) return;
  int From, To;
  if (VisibleOnly) {
    From = LeftCol();
    To = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
  } else {
    From = FIndicatorOffset;
    To = ColCount() - 1;
  }
  while (FirstCol - 1 >= From && GetColumn(DataColOf(FirstCol - 1))->GroupName() == Group) --FirstCol;
  while (LastCol + 1 <= To && GetColumn(DataColOf(LastCol + 1))->GroupName() == Group) ++LastCol;
  int LineW = FOptions.Contains(dgColLines) ? 1 : 0;
  int Left;
  if (FirstCol < LeftCol() && FirstCol >= FixedCols()) {
    TRect LeftCell = CellRect(LeftCol(), ARow);
    Left = LeftCell.Left;
    for (int C = FirstCol; C < LeftCol(); ++C) Left -= ColWidths(C) + LineW;
  } else {
    Left = CellRect(FirstCol, ARow).Left;
  }
  int Right = Left;
  for (int C = FirstCol; C <= LastCol; ++C) Right += ColWidths(C) + LineW;
  Right -= LineW;
  int Height = Rect.Height();
  Rect = TRect(Left, Rect.Top, Right, Rect.Top + Height / 2);
}

void TqvCustomDBGrid::GetTitleRectAt(int ACol, TRect& Rect, int Y) const {
  if (!FOptions.Contains(dgTitles)) {
    Rect = TRect();
    return;
  }
  GetCellBounds(ACol, 0, Rect);
  if (GetColumn(DataColOf(ACol))->GroupName().empty() || GetFieldByDataCol(DataColOf(ACol)) == nullptr) return;
  int Middle = Rect.Top + Rect.Height() / 2;
  if (Y < Middle) {
    TRect Header;
    int Last = ACol, First = ACol;
    GetGroupHeaderRect(ACol, 0, Header, false, Last, First);
    Rect.Left = Header.Left;
    Rect.Right = Header.Right;
  } else {
    Rect.Top = Middle;
  }
}

// --- Neighbouring records ---------------------------------------------------------------------

bool TqvCustomDBGrid::GetPriorRecordValue(const String& FieldName, String& Value) {
  Value.clear();
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !Set->Active() || FDataLink->ActiveRecord() <= 0) return false;
  int Saved = FDataLink->ActiveRecord();
  TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
  FDataLink->SetActiveRecord(Saved - 1);
  TField* Field = Set->FindField(FieldName);
  if (Field == nullptr) return false;
  Value = Field->AsString();
  return true;
}

bool TqvCustomDBGrid::GetNextRecordValue(const String& FieldName, String& Value) {
  Value.clear();
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !Set->Active() || FDataLink->ActiveRecord() >= FDataLink->RecordCount() - 1) return false;
  int Saved = FDataLink->ActiveRecord();
  TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
  FDataLink->SetActiveRecord(Saved + 1);
  TField* Field = Set->FindField(FieldName);
  if (Field == nullptr) return false;
  Value = Field->AsString();
  return true;
}

void TqvCustomDBGrid::FitColumnToContents(int ACol) {
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !FDataLink->Active()) return;
  TField* Field = Set->FindField(GetColumn(DataColOf(ACol))->FieldName());
  if (Field == nullptr) return;
  TCanvas* Canvas = GetPaintCanvas();
  Canvas->SetFont(Font());
  int Wanted = 0;
  {
    int Saved = FDataLink->ActiveRecord();
    TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
    for (int R = 0; R < FDataLink->RecordCount(); ++R) {
      FDataLink->SetActiveRecord(R);
      Wanted = std::max(Wanted, Canvas->TextWidth(Field->DisplayText()));
    }
  }
  Wanted += 4;
  int Current = ColWidths(ACol);
  if (Current < Wanted && !(Width() / 2 >= Current && Width() / 2 >= Wanted)) return;
  int Zero = std::max(Canvas->TextWidth("0"), 1);
  GetColumn(DataColOf(ACol))->SetDisplayWidth(Wanted / Zero);
  if (FUseTFields) Field->SetDisplayWidth(Wanted / Zero);
}

// --- Mouse tracking ---------------------------------------------------------------------------

void TqvCustomDBGrid::ResetURLHover() {
  FURLHover = false;
  if (FURLCol >= 0 && FURLRow >= 0) {
    if (Screen != nullptr) Screen->SetCursor(FSavedCursor);
    SetCursor(FSavedCursor);
    if (FURLRow >= FTitleOffset && FURLCol < ColCount() && FURLRow < RowCount()) InvalidateCell(FURLCol, FURLRow);
  }
  FURLCol = FURLRow = -1;
}

void TqvCustomDBGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseMove(Shift, X, Y);
  int C, R;
  CellAtPoint(X, Y, C, R);
  // URL hover.
  bool UrlCell = C >= 0 && R >= FTitleOffset && C < int(FCache.size()) && FCache[std::size_t(C)]->ControlKind == "URL-Link";
  if (UrlCell) {
    if (C != FURLCol || R != FURLRow) {
      if (Cursor() != crHandPoint) FSavedCursor = Cursor();
      SetCursor(crHandPoint);
      FURLHover = true;
      if (FURLCol >= 0 && FURLRow >= 0 && FURLCol < ColCount() && FURLRow < RowCount()) InvalidateCell(FURLCol, FURLRow);
      FURLCol = C;
      FURLRow = R;
      InvalidateCell(C, R);
    }
  } else if (Cursor() == crHandPoint && FURLHover) {
    SetCursor(FSavedCursor);
    FURLHover = false;
    if (FURLCol >= 0 && FURLRow >= 0 && FURLCol < ColCount() && FURLRow < RowCount()) InvalidateCell(FURLCol, FURLRow);
    FURLCol = FURLRow = -1;
  }
  // Group headers crossed, and the hot title.
  bool Crossed = false;
  if (C >= FIndicatorOffset && !GetColumn(DataColOf(C))->GroupName().empty()) {
    TRect Header;
    int Last = C, First = C;
    GetGroupHeaderRect(C, 0, Header, true, Last, First);
    bool Over = R == 0 && Y < Header.Bottom;
    Crossed = Over != FOverGroupHeader;
  }
  if ((C != FHotCol || R != FHotRow || Crossed) && qvThemesEnabledFor(this) && !Shift.Contains(ssLeft)) {
    if (R == 0 && C >= 0) InvalidateCell(C, R);
    if (FHotRow == 0 && FHotCol >= 0 && FHotCol < ColCount()) InvalidateCell(FHotCol, FHotRow);
    FOverGroupHeader = false;
    if (R == 0 && C >= FIndicatorOffset && !GetColumn(DataColOf(C))->GroupName().empty()) {
      TRect Header;
      int Last = C, First = C;
      GetGroupHeaderRect(C, 0, Header, true, Last, First);
      FOverGroupHeader = Y < Header.Bottom;
    }
    InvalidateTitleRow();
    FHotCol = C;
    FHotRow = R;
  }
  // The cell hint.
  if (FOptions.Contains(dgShowCellHint) && FDataLink->Active() && (C != FHintCol || R != FHintRow)) UpdateCellHint(C, R);
}

void TqvCustomDBGrid::CMMouseLeave(TMessage& Message) {
  ResetURLHover();
  if (FHotRow == 0 && FHotCol >= 0 && FHotCol < ColCount()) {
    InvalidateCell(FHotCol, FHotRow);
    if (FOverGroupHeader) InvalidateTitleRow();
  }
  FHotCol = FHotRow = -1;
  FOverGroupHeader = false;
  TCustomGrid::Dispatch(Message);
}

// --- Cell hints -------------------------------------------------------------------------------

void TqvCustomDBGrid::UpdateCellHint(int ACol, int ARow) {
  FHintCol = ACol;
  FHintRow = ARow;
  FHintCellRect = ACol >= 0 && ARow >= 0 ? CellRect(ACol, ARow) : TRect();
  HideCellHint();
  delete FHintTimer;
  FHintTimer = nullptr;
  if (ACol < FIndicatorOffset || ARow < FTitleOffset) return;
  if (ACol == Col() && ARow == Row() &&
      ((InplaceEditor() != nullptr && InplaceEditor()->Visible()) || (FCellControl != nullptr && FCellControl->Visible())))
    return;
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  if (Field == nullptr) return;
  String Text;
  {
    int Saved = FDataLink->ActiveRecord();
    TScopeGuard Restore([&] { FDataLink->SetActiveRecord(Saved); });
    SetActiveRecordFor(DataRowOf(ARow));
    if (Field->InheritsFrom(TBlobField::StaticClass()) && Field->DataType() != ftMemo && Field->DataType() != ftOraBlob &&
        Field->DataType() != ftOraClob)
      return;
    Text = GetFieldDisplayText(DataColOf(ACol));
  }
  if (Text.empty()) return;
  TCanvas* Canvas = GetPaintCanvas();
  Canvas->SetFont(Font());
  ApplyCellColors(Field, {}, Canvas->Brush(), Canvas->Font(), false);
  UINT Flags = DT_NOPREFIX | DT_CALCRECT;
  if (FOptions.Contains(dgWordWrap)) Flags |= DT_WORDBREAK | DT_EDITCONTROL;
  if (Text.find('\t') != String::npos) Flags |= DT_EXPANDTABS;
  RECT Measure{0, 0, std::max(FHintCellRect.Width() - 4, 1), 0};
  {
    HDC DC = Canvas->Handle();
    TSelectedObject Selected(DC, Canvas->Font()->Handle());
    DrawTextExA(DC, const_cast<char*>(Text.c_str()), int(Text.size()), &Measure, Flags, nullptr);
  }
  if (FHintCellRect.Height() >= Measure.bottom - Measure.top && Measure.right - Measure.left < FHintCellRect.Width() - 1)
    return;
  CreateCellHint(Field);
  FHintTimer = new TTimer(this);
  FHintTimer->SetInterval(250);
  FHintTimer->SetOnTimer(TNotifyEvent(this, &TqvCustomDBGrid::WatchCellHint));
  FHintTimer->SetEnabled(true);
  bool WordWrap = true;
  int MaxHeight = FHintCellRect.Height() - 2;
  int MaxWidth = Screen != nullptr ? Screen->Width() : 1024;
  bool DoDefault = true;
  FHintWindow->Alignment = FHintFromMapping || Field->Alignment() == taLeftJustify ? taLeftJustify : Field->Alignment();
  FHintWindow->WordWrap = true;
  FHintWindow->SetText(Text);
  int AskedHeight = MaxHeight;
  DoCreateHintWindow(FHintWindow, Field, FHintCellRect, WordWrap, MaxWidth, MaxHeight, DoDefault);
  MaxWidth = std::max(FHintCellRect.Width() - 4, MaxWidth);
  if (!DoDefault) return;
  FHintWindow->WordWrap = WordWrap;
  RECT Hint{0, 0, MaxWidth, MaxHeight};
  {
    TWindowDC Screen;
    TSelectedObject Selected(Screen, Font()->Handle());
    DrawTextExA(Screen, const_cast<char*>(Text.c_str()), int(Text.size()), &Hint,
                DT_NOPREFIX | DT_CALCRECT | (WordWrap ? DT_WORDBREAK : 0), nullptr);
  }
  int HW = std::min(int(Hint.right - Hint.left), MaxWidth);
  int HH = std::min(int(Hint.bottom - Hint.top), std::max(MaxHeight, 1));
  TRect R = FHintCellRect;
  if (MaxHeight != AskedHeight) R.Bottom = std::max(R.Top + HH, R.Bottom - 2);
  if (FHintWindow->Alignment == taRightJustify) {
    R.Left = R.Right - HW - 8;
  } else if (MaxWidth >= R.Left + HW + 8) {
    R.Right = R.Left + HW + 8;
  } else if (MaxWidth != 0) {
    R.Right = R.Left + HW + 8;
  }
  TPoint Origin = ClientToScreen(TPoint(0, 0));
  R = TRect(R.Left + Origin.X, R.Top + Origin.Y - 1, R.Right + Origin.X, R.Bottom + Origin.Y - 1);
  FHintWindow->ActivateHint(R, Text);
}

void TqvCustomDBGrid::CreateCellHint(TField* Field) {
  FHintWindow = new TqvGridHintWindow(this);
  FHintWindow->SetColor(TColor(GetSysColor(COLOR_INFOBK)));
  FHintWindow->Canvas()->SetFont(Font());
  FHintWindow->Canvas()->Font()->SetColor(TColor(GetSysColor(COLOR_INFOTEXT)));
  FHintWindow->SetFont(Font());
  FHintWindow->Field = Field;
}

void TqvCustomDBGrid::DoCreateHintWindow(TqvGridHintWindow* Window, TField* Field, const TRect& R, bool& WordWrap,
                                         int& MaxWidth, int& MaxHeight, bool& DoDefault) {
  if (OnCreateHintWindow) OnCreateHintWindow(this, Window, Field, R, WordWrap, MaxWidth, MaxHeight, DoDefault);
}

void TqvCustomDBGrid::WatchCellHint(TObject*) {
  if (FHintWindow == nullptr) return;
  POINT Cursor;
  GetCursorPos(&Cursor);
  ::ScreenToClient(FHandle, &Cursor);
  TRect Cell = FHintCellRect;
  Cell = TRect(Cell.Left - 1, Cell.Top - 1, Cell.Right + 1, Cell.Bottom + 1);
  TRect Client = ClientRect();
  if (Cell.Contains(TPoint(Cursor.x, Cursor.y)) && Client.Contains(TPoint(Cursor.x, Cursor.y))) {
    ++FHintTicks;
    int Interval = std::max(int(FHintTimer->Interval()), 1);
    int Limit = std::max(Application != nullptr ? Application->HintHidePause / Interval : 0, 16);
    if (FHintTicks > Limit) HideCellHint();
  } else {
    HideCellHint();
    FHintCol = FHintRow = 0;
  }
}

void TqvCustomDBGrid::HideCellHint() {
  FHintTicks = 0;
  if (FHintWindow != nullptr) {
    bool Saved = SuppressCustomControlHiding;
    SuppressCustomControlHiding = true;
    TqvGridHintWindow* Window = FHintWindow;
    FHintWindow = nullptr;
    delete Window;
    SuppressCustomControlHiding = Saved;
  }
  if (FHintTimer != nullptr) FHintTimer->SetEnabled(false);
}

// --- Scrolling and sizing ---------------------------------------------------------------------

void TqvCustomDBGrid::TopLeftChanged() {
  HideCellHint();
  if (FOptions.Contains(dgRowSelect) && TopRow() != FixedRows() && RowCount() > FixedRows()) {
    SetTopRow(FixedRows());
    return;
  }
  TCustomGrid::TopLeftChanged();
  if (OnLeftColChanged) OnLeftColChanged(this, LeftCol());
  if (!HandleAllocated()) return;
  RECT Title{0, 0, ClientWidth(), RowCount() > 0 ? RowHeights(0) : 0};
  ::InvalidateRect(FHandle, &Title, FALSE);
  if (FOptions.Contains(dgShowFooter)) {
    TRect Footer;
    GetFooterRect(Footer);
    Footer.Bottom += 1;
    ::InvalidateRect(FHandle, AsRECT(Footer), FALSE);
  }
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  RECT Strip{Info.Horz.GridBoundary, 0, Info.Horz.GridBoundary + 1, ClientHeight()};
  ::InvalidateRect(FHandle, &Strip, FALSE);
  if (FCellControl != nullptr && FCellControl->Visible()) {
    TRect Cell;
    GetCellBounds(Col(), Row(), Cell);
    if (Cell.IsEmpty()) {
      FCellControl->SetVisible(false);
    } else if (Cell != FCellControl->BoundsRect()) {
      HideCustomControl();
      Invalidate();
    }
  }
}

void TqvCustomDBGrid::WMHScroll(TMessage& Message) {
  bool Picture = FPaintOptions->HasBackgroundPicture();
  if (!Picture || LOWORD(Message.WParam) == SB_THUMBTRACK) {
    TCustomGrid::Dispatch(Message);
    return;
  }
  if (FCellControl != nullptr) {
    FCellControl->SetVisible(false);
    FCellControl = nullptr;
  }
  if (!CanFocus()) return;
  int OldLeft = Col() < ColCount() ? CellRect(Col(), 0).Left : 0;
  BeginPaintLock();
  TCustomGrid::Dispatch(Message);
  if (InplaceEditor() != nullptr && (CellRect(Col(), 0).Left < OldLeft || Col() < LeftCol()))
    InplaceEditor()->SetLeft(Width() + 10);
  EndPaintLock(false);
  Invalidate();
}

void TqvCustomDBGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                      TGridDrawInfo& FixedInfo) {
  int C, R;
  CellAtPoint(X - 5, Y, C, R);
  if (R == 0 && FOptions.Contains(dgTitles) && C >= FIndicatorOffset) {
    String Group = GetColumn(DataColOf(C))->GroupName();
    if (!Group.empty()) {
      TRect Header;
      int Last = C, First = C;
      GetGroupHeaderRect(C, 0, Header, true, Last, First);
      TRect Title;
      GetTitleTextRect(C, 0, Title);
      if (C != Last && Y < Title.Top) {
        State = gsNormal;
        Index = -1;
        CalcFixedInfo(FixedInfo);
        return;
      }
    }
  }
  if (UsesProportionalColResize() && R == 0 && (C == ColCount() - 1 || C < 0)) {
    State = gsNormal;
    Index = -1;
    CalcFixedInfo(FixedInfo);
    return;
  }
  TCustomGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
}

void TqvCustomDBGrid::CMShowingChanged(TMessage& Message) { TCustomGrid::Dispatch(Message); }

// --- TqvGridHintWindow ------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvGridHintWindow)

TqvGridHintWindow::TqvGridHintWindow(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

void TqvGridHintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TqvGridHintWindow::ActivateHint(const TRect& Rect, const String& Text) {
  SetText(Text);
  HandleNeeded();
  SetWindowPos(FHandle, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::InvalidateRect(FHandle, nullptr, TRUE);
}

void TqvGridHintWindow::Paint() {
  TRect R = ClientRect();
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(R);
  R.Left += 1;
  R.Top += 2;
  C->Font()->SetColor(clInfoText);
  qvDrawCellText(C, R, 0, 0, Text(), Alignment, qvCellNoFill | (WordWrap ? qvCellWordWrap : 0));
}
