// This file implements the geometry of the grid engine: the layout rebuild, column widths from
// fields or "Selected" lines, proportional columns, writing changed widths back, moving columns,
// row heights, the number of rows against the data link's buffer, the grid's own vertical scroll
// bar, scrolling by records, and snapping the height to whole rows.
#include "Qvdbigrd.h"

#include <algorithm>
#include <cstdlib>

#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "Strings.h"
#include "qvFieldSettings.h"

namespace {

// The extent of Text in Font, measured on a screen context.
TSize TextExtentOf(TFont* Font, const String& Text) {
  TWindowDC Screen;
  TSelectedObject Selected(Screen, Font->Handle());
  SIZE Size{};
  GetTextExtentPoint32A(Screen, Text.c_str(), int(Text.size()), &Size);
  return TSize{Size.cx, Size.cy};
}

int ToInt(const String& Text, int Default) {
  char* End = nullptr;
  long Value = std::strtol(Text.c_str(), &End, 10);
  return End == Text.c_str() ? Default : int(Value);
}

}  // namespace

int TqvCustomDBGrid::CharWidth() const { return std::max(TextExtentOf(Font(), "0").cx, 1); }

void TqvCustomDBGrid::UpdateFooterTextHeight() { FFooterTextHeight = TextExtentOf(Font(), "W").cy; }

int TqvCustomDBGrid::TitleWidthOf(const String& Title) {
  int Widest = 0;
  std::size_t Start = 0;
  for (;;) {
    std::size_t Tilde = Title.find('~', Start);
    String Line = Title.substr(Start, Tilde == String::npos ? String::npos : Tilde - Start);
    Widest = std::max(Widest, TextExtentOf(FTitleFont, Line).cx);
    if (Tilde == String::npos) break;
    Start = Tilde + 1;
  }
  return Widest + 4;
}

TRect TqvCustomDBGrid::ClientRect() const {
  TRect R = TCustomGrid::ClientRect();
  if (FOptions.Contains(dgShowFooter)) {
    R.Bottom -= FFooterHeight != 0 ? FFooterHeight : FFooterTextHeight + 6;
    if (FOptions.Contains(dgFooter3DCells)) R.Bottom -= 2;
    R.Bottom = std::max(R.Bottom, R.Top);
  }
  return R;
}

// --- The layout -------------------------------------------------------------------------------

void TqvCustomDBGrid::RebuildLayout() {
  if (ComponentState().Contains(csLoading) || !HandleAllocated() || FLayoutReentry > 0 || FDataLink == nullptr) return;
  ++FLayoutReentry;
  TScopeGuard Reentry([&] { --FLayoutReentry; });
  FLastClientWidth = ClientWidth();
  {
    ++FLayoutLock;
    TScopeGuard Lock([&] { --FLayoutLock; });
    FTitleOffset = 0;
    if (FShowHorzScrollBar && UsesProportionalColResize() && ScrollBars() != ssNone) SetShowHorzScrollBar(true);
    if (FOptions.Contains(dgTitles)) FTitleOffset = 1;
    UpdateRowHeights();
    FIndicatorOffset = FOptions.Contains(dgIndicator) ? 1 : 0;
    FDataLink->ClearMapping();
    if (FDataLink->Active()) BuildFieldMap();
    else RebuildColumns();
    int Count = (FUseTFields || GetFieldCount() > 0) ? GetFieldCount() : FSelected->Count();
    if (FixedCols() >= std::max(Count, 1) + FIndicatorOffset) SetFixedCols(0);
    SetColCount(std::max(Count, 1) + FIndicatorOffset);
    if (FixedCols() != FIndicatorOffset) SetFixedCols(FIndicatorOffset);
    if (FOptions.Contains(dgIndicator)) {
      SetColWidths(0, FIndicatorWidth);
      if (Col() == 0) SetCol(1);
    }
    HideCustomControl();
    UpdateRowCount();
    int Visible = VisibleRowCount();
    LayoutColumns();
    if (VisibleRowCount() != Visible) UpdateRowCount();
    UpdateFooter();
  }
  SyncCurrentRow();
  ResetURLHover();
  if (CanFitHeight()) FitHeightToRows();
  Invalidate();
  FPaintOptions->FixedRowColor = FTitleColor;
  FPaintOptions->FixedColumnColor = FTitleColor;
}

void TqvCustomDBGrid::UpdateRowHeights() {
  int H = TextExtentOf(Font(), "W").cy;
  int Lines = DrawsFixedRowLines() ? 1 : 0;
  int RowHeight = (H + 2 + Lines) * FRowHeightPercent / 100;
  if (DefaultRowHeight() != RowHeight) SetDefaultRowHeight(RowHeight);
  if (!FOptions.Contains(dgTitles) || RowCount() == 0) return;
  int Title;
  if (Parent() != nullptr && Parent()->InheritsFrom(TCustomGrid::StaticClass())) {
    Title = FTitleLines * (H + 3 + Lines) - 1;
  } else {
    Title = TextExtentOf(FTitleFont, "W").cy * FTitleLines + 4 + (Lines == 0 ? 1 : 0);
  }
  if (FOptions.Contains(dgIndicator) && FIndicatorButton != nullptr) {
    int M = std::max(Title, FIndicatorButton->Height());
    Title = Lines == 1 ? M - 1 : M + 1;
  }
  SetRowHeights(0, Title);
}

void TqvCustomDBGrid::LayoutColumns() {
  TDataSource* Source = GetDataSource();
  TDataSet* Set = Source != nullptr ? Source->DataSet() : nullptr;
  if (Set == nullptr) return;
  ++FLayoutLock;
  TScopeGuard Lock([&] { --FLayoutLock; });
  int Count = FUseTFields ? GetFieldCount() : FSelected->Count();
  Count = std::min(Count, ColCount() - FIndicatorOffset);
  bool Proportional = UsesProportionalColResize();
  bool ToBase = false;
  if (Proportional) {
    if (!FBaseWidths.empty()) {
      FBaseWidths.assign(std::size_t(ColCount()), 0);
      for (int i = FIndicatorOffset; i < ColCount(); ++i) FBaseWidths[std::size_t(i)] = ColWidths(i);
    } else {
      FBaseWidths.assign(std::size_t(ColCount()), 0);
      ToBase = true;
    }
  }
  int Zero = CharWidth();
  for (int i = 0; i < Count; ++i) {
    TField* Field;
    TqvLineParts Line(i < FSelected->Count() ? FSelected->Strings(i) : String(), '\t');
    if (FUseTFields) Field = GetFields(i);
    else Field = Set->FindField(Line.Part(0));
    int Width;
    if (FUseTFields) Width = Field == nullptr ? 64 : Field->DisplayWidth() * Zero + 4;
    else Width = ToInt(Line.Part(1), 0) * Zero + 4;
    if (!Proportional && FOptions.Contains(dgTitles) && !FOptions.Contains(dgNoLimitColSize)) {
      String Title;
      if (FUseTFields) Title = Field != nullptr ? Field->DisplayLabel() : String();
      else if (Line.Count() > 2) Title = Line.Part(2);
      else if (Field != nullptr) Title = Field->DisplayLabel();
      Width = std::max(Width, TitleWidthOf(Title));
    }
    int GridCol = i + FIndicatorOffset;
    if (ToBase) FBaseWidths[std::size_t(GridCol)] = Width;
    else SetColWidths(GridCol, Width);
    bool ReadOnlyColumn = !FUseTFields && Line.Part(3) == "T";
    bool Stop = !(Field != nullptr &&
                  (Field->ReadOnly() || ReadOnlyColumn || (!EditCalculated && Field->Calculated())));
    SetTabStops(GridCol, Stop);
  }
  if (Proportional && Count > 0) ApplyProportionalWidths();
  CacheColumnControls();
  FLastClientWidth = ClientWidth();
}

void TqvCustomDBGrid::FreeBaseWidths() { FBaseWidths.clear(); }

void TqvCustomDBGrid::ApplyProportionalWidths() {
  if (int(FBaseWidths.size()) < ColCount() - 1 || FUseTFields || FSelected->Count() == 0) return;
  TCanvas* Canvas = GetPaintCanvas();
  int Zero = Canvas != nullptr ? std::max(Canvas->TextWidth("0"), 1) : CharWidth();
  int LineW = FOptions.Contains(dgColLines) ? 1 : 0;
  int MinW = 2 * Zero + 4;
  int Last = ColCount() - 1;
  auto Base = [&](int i) -> int& { return FBaseWidths[std::size_t(i)]; };
  int K = 0;
  int B = 0;
  if (FSizingCol < 0) {
    B = -1;
    for (int i = FIndicatorOffset; i <= Last; ++i) B += Base(i) + LineW;
  } else {
    K = FSizingCol;
    TqvColumn* Column = GetColumn(DataColOf(K));
    if (!Column->GroupName().empty() && !PatchFlags.FixedProportionalResize) {
      TRect Header;
      int GroupLast = K, GroupFirst = K;
      GetGroupHeaderRect(K, 0, Header, false, GroupLast, GroupFirst);
      if (GroupLast == K) {
        int D = ColWidths(K) - FSizingColWidth;
        int S = 0;
        for (int i = GroupFirst; i <= GroupLast; ++i) S += (i == K ? FSizingColWidth : Base(i)) + LineW;
        for (int i = GroupFirst; i <= GroupLast && S > 0; ++i) {
          int New = i == GroupLast ? std::max(MinW, FSizingColWidth + D) : std::max(MinW, Base(i) * (S + D) / S);
          D -= New - Base(i);
          S -= Base(i);
          Base(i) = New;
          SetColWidths(i, New);
        }
      }
    }
    B = -1;
    for (int i = K + 1; i <= Last; ++i) B += Base(i) + LineW;
  }
  if (B <= 0) return;
  int A;
  if (FOptions.Contains(dgIndicator) || FSizingCol >= 0) {
    TRect Cell = CellRect(K, 0);
    int Right = Cell.IsEmpty() ? 0 : Cell.Right;
    if (K == 0 && !FOptions.Contains(dgIndicator)) Right = 0;
    A = ClientWidth() - Right - 2;
  } else {
    A = ClientWidth() - 2;
  }
  if (FShowVertScrollBar && Width() - ClientWidth() <= 9) A -= GetSystemMetrics(SM_CXVSCROLL) + 1;
  ++FLayoutLock;
  TScopeGuard Lock([&] { --FLayoutLock; });
  int First = FSizingCol >= 0 ? K + 1 : FIndicatorOffset;
  for (int i = First; i <= Last; ++i) {
    int E = (Base(i) + 1) * A / B;
    int C = (E - 4) / Zero;
    int W = std::max(MinW, C * Zero + 4);
    SetColWidths(i, i == Last ? std::max(A, 0) : W);
    int DataIndex = DataColOf(i);
    if (DataIndex >= 0 && DataIndex < FSelected->Count()) {
      TqvLineParts Line(FSelected->Strings(DataIndex), '\t');
      String Text = Line.Part(0) + "\t" + std::to_string((ColWidths(i) - 4) / Zero) + "\t" + Line.Part(2) + "\t" +
                    (Line.Part(3).empty() ? String("F") : Line.Part(3));
      if (Line.Count() > 4) Text += "\t" + Line.Part(4);
      ++FLayoutReentry;
      TScopeGuard Restore([&] { --FLayoutReentry; });
      FSelected->Put(DataIndex, Text);
    }
    A -= W + LineW;
    B -= Base(i) + LineW;
    if (B <= 0) B = 1;
  }
}

void TqvCustomDBGrid::ColWidthsChanged() {
  TCustomGrid::ColWidthsChanged();
  if (FLayoutLock != 0 || !FWriteWidthsBack || !FDataLink->Active() || !HandleAllocated()) return;
  {
    ++FLayoutReentry;
    TScopeGuard Restore([&] { --FLayoutReentry; });
    int Zero = CharWidth();
    int R = std::max(0, Zero / 2 - 3);
    auto Chars = [&](int Pixels) { return (Pixels + R - 4) / Zero; };
    if (FUseTFields) {
      for (int i = 0; i < GetFieldCount() && i + FIndicatorOffset < ColCount(); ++i)
        if (TField* Field = GetFields(i)) Field->SetDisplayWidth(std::max(Chars(ColWidths(i + FIndicatorOffset)), 1));
    } else {
      for (int i = 0; i < FSelected->Count() && i + FIndicatorOffset < ColCount(); ++i) {
        TqvLineParts Line(FSelected->Strings(i), '\t');
        String Text = Line.Part(0) + "\t" + std::to_string(Chars(ColWidths(i + FIndicatorOffset))) + "\t" + Line.Part(2);
        if (Line.Count() > 3) Text += "\t" + Line.Part(3);
        if (Line.Count() > 4) Text += "\t" + Line.Part(4);
        FSelected->Put(i, Text);
      }
    }
  }
  RebuildLayout();
}

void TqvCustomDBGrid::ColumnMoved(int FromIndex, int ToIndex) {
  FromIndex -= FIndicatorOffset;
  ToIndex -= FIndicatorOffset;
  HideCustomControl();
  if (!FUseTFields) {
    if (FromIndex >= 0 && ToIndex >= 0 && FromIndex < FSelected->Count() && ToIndex < FSelected->Count()) {
      ++FLayoutReentry;
      {
        TScopeGuard Restore([&] { --FLayoutReentry; });
        FSelected->Move(FromIndex, ToIndex);
      }
      RebuildLayout();
    }
  } else if (FDataLink->Active() && GetFieldCount() > 0) {
    TField* From = GetFields(FromIndex);
    TField* To = GetFields(ToIndex);
    if (From != nullptr && To != nullptr) From->SetIndex(To->Index());
  }
  InvalidateFooter();
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TqvCustomDBGrid::ScrollColumnIntoView(int ACol) {
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  int NewLeft = LeftCol();
  if (ACol < LeftCol() && ACol >= FixedCols()) {
    NewLeft = ACol;
  } else if (ACol > Info.Horz.LastFullVisibleCell) {
    int Room = Info.Horz.GridExtent - Info.Horz.FixedBoundary;
    int Used = 0;
    NewLeft = ACol;
    for (int i = ACol; i >= FixedCols(); --i) {
      Used += ColWidths(i) + Info.Horz.EffectiveLineWidth;
      if (Used > Room) break;
      NewLeft = i;
    }
  }
  if (NewLeft == LeftCol()) return;
  BeginPaintLock();
  {
    TScopeGuard Restore([&] { EndPaintLock(false); });
    SetLeftCol(NewLeft);
  }
  Invalidate();
}

// --- Rows -------------------------------------------------------------------------------------

void TqvCustomDBGrid::UpdateRowCount() {
  if (FInRowCount || FDataLink == nullptr) return;
  FInRowCount = true;
  TScopeGuard Restore([&] { FInRowCount = false; });
  bool KeepLeft = FOptions.Contains(dgRowSelect) || (FOptions.Contains(dgFixedEditable) && FixedCols() >= LeftCol());
  int OldLeft = LeftCol();
  if (KeepLeft) BeginPaintLock();
  if (RowCount() <= FTitleOffset) SetRowCount(FTitleOffset + 1);
  if (FixedRows() != FTitleOffset) SetFixedRows(FTitleOffset);
  TDataSet* Set = FDataLink->DataSet();
  if (FDataLink->Active() && Set != nullptr && Set->Active() && !Set->IsEmpty()) {
    SetRowCount(1000);
    if (TopRow() != FixedRows()) SetTopRow(FixedRows());
    int Visible = std::max(VisibleRowCount(), 1);
    if (Visible < FDataLink->BufferCount() && FDataLink->ActiveRecord() >= Visible) {
      Invalidate();
      DoTopRowChanged();
    }
    FDataLink->SetBufferCount(Visible);
    SetRowCount(std::max(FDataLink->RecordCount(), 1) + FTitleOffset);
    SyncCurrentRow();
  } else {
    SetRowCount(FTitleOffset + 1);
  }
  if (KeepLeft) {
    if (OldLeft < ColCount()) SetLeftCol(OldLeft);
    EndPaintLock(true);
    Invalidate();
  }
}

void TqvCustomDBGrid::UpdateVertScrollBar() {
  if (!FShowVertScrollBar || FDataLink == nullptr || !FDataLink->Active() || !HandleAllocated()) return;
  TDataSet* Set = FDataLink->DataSet();
  if (Set == nullptr || !Set->Active()) return;
  bool Sequenced = Set->IsSequenced();
  if (Sequenced) Set->UpdateCursorPos();
  SCROLLINFO Old{};
  Old.cbSize = sizeof(Old);
  Old.fMask = SIF_ALL;
  GetScrollInfo(FHandle, SB_VERT, &Old);
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (Sequenced) {
    Info.nMin = 1;
    Info.nPage = UINT(std::max(VisibleRowCount(), 1));
    Info.nMax = Set->RecordCount() + int(Info.nPage) - 1;
    Info.nPos = (Set->State() == dsBrowse || Set->State() == dsEdit) ? Set->RecNo() : Old.nPos;
  } else {
    Info.nMin = 0;
    Info.nPage = 0;
    Info.nMax = 4;
    Info.nPos = FDataLink->Bof() ? 0 : FDataLink->Eof() ? 4 : 2;
  }
  if (Info.nMin == Old.nMin && Info.nMax == Old.nMax && Info.nPage == Old.nPage && Info.nPos == Old.nPos) return;
  if (Info.nMax - Info.nMin <= 1) {
    Info.nPage = 1000;
    Info.nMax = 1001;
    Info.nMin = 1;
  }
  SetScrollInfo(FHandle, SB_VERT, &Info, TRUE);
}

void TqvCustomDBGrid::WMVScroll(TMessage& Message) {
  if (Message.LParam != 0) {
    TCustomGrid::Dispatch(Message);
    return;
  }
  if (FCellControl != nullptr) FCellControl->SetLeft(ClientWidth() + 10);
  if (!AcquireFocus() || !FDataLink->Active()) return;
  TDataSet* Set = FDataLink->DataSet();
  bool Untouched = Set->State() == dsInsert && !Set->Modified() && !FDataLink->Modified();
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP:
      if (Untouched && Set->Eof()) Set->Cancel();
      else if (Set->Bof() && FDataLink->ActiveRecord() > 0) FDataLink->SetActiveRecord(FDataLink->ActiveRecord() - 1), DataChanged();
      else Set->Prior();
      break;
    case SB_LINEDOWN:
      if (Untouched) {
        if (!Set->Eof()) Set->Cancel();
      } else if (Set->Eof() && FDataLink->ActiveRecord() < FDataLink->RecordCount() - 1 && Set->State() != dsInsert) {
        FDataLink->SetActiveRecord(FDataLink->ActiveRecord() + 1);
        DataChanged();
      } else {
        Set->Next();
      }
      break;
    case SB_PAGEUP: Set->MoveBy(-VisibleRowCount()); break;
    case SB_PAGEDOWN: Set->MoveBy(VisibleRowCount()); break;
    case SB_THUMBPOSITION: {
      if (Set->IsSequenced()) {
        SCROLLINFO Info{};
        Info.cbSize = sizeof(Info);
        Info.fMask = SIF_TRACKPOS;
        GetScrollInfo(FHandle, SB_VERT, &Info);
        int Old = Set->RecNo();
        Set->CheckBrowseMode();
        if (Info.nTrackPos <= 1) Set->First();
        else if (Info.nTrackPos < Set->RecordCount()) Set->SetRecNo(Info.nTrackPos);
        else Set->Last();
        UpdateVertScrollBar();
        if (Set->RecNo() != Old) DoTopRowChanged();
      } else {
        switch (HIWORD(Message.WParam)) {
          case 0: Set->First(); break;
          case 1: Set->MoveBy(-VisibleRowCount()); break;
          case 3: Set->MoveBy(VisibleRowCount()); break;
          case 4: Set->Last(); break;
          default: break;
        }
      }
      break;
    }
    case SB_TOP: Set->First(); break;
    case SB_BOTTOM: Set->Last(); break;
    default: break;
  }
}

void TqvCustomDBGrid::ScrollByRecords(int Distance) {
  if (!HandleAllocated()) return;
  TRect OldRow = BoxRect(0, Row(), ColCount() - 1, Row());
  UpdateVertScrollBar();
  SyncCurrentRow();
  TRect NewRow = BoxRect(0, Row(), ColCount() - 1, Row());
  ValidateRect(FHandle, AsRECT(OldRow));
  ::InvalidateRect(FHandle, AsRECT(OldRow), FALSE);
  ::InvalidateRect(FHandle, AsRECT(NewRow), FALSE);
  if (!FOptions.Contains(dgAlwaysShowEditor)) HideEditor();
  if (Distance == 0) {
    CheckRowChanged();
    return;
  }
  TScopeGuard ShowEditorAgain([&] {
    if (FOptions.Contains(dgAlwaysShowEditor) && !HasEmbeddedControl(Col(), Row()) && !IsMemoCell(Col(), Row()))
      ShowEditorIfAllowed();
  });
  HideCustomControl();
  if (std::abs(Distance) > VisibleRowCount()) {
    DoTopRowChanged();
    CheckRowChanged();
    Invalidate();
    return;
  }
  if (Distance % 2 != 0) FParityFlag = !FParityFlag;
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  if (FPaintOptions->FastRecordScrolling) {
    int Lines = FOptions.Contains(dgRowLines) ? 1 : 0;
    RECT Area{0, Info.Vert.FixedBoundary, ClientWidth(), Info.Vert.GridBoundary};
    ScrollWindowEx(FHandle, 0, -(DefaultRowHeight() + Lines) * Distance, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
    if (FOptions.Contains(dgIndicator)) {
      if (FIndicatorRow >= 0 && FIndicatorRow < RowCount()) InvalidateCell(0, FIndicatorRow);
      InvalidateCell(0, Row());
    }
  } else {
    RECT Area{0, FOptions.Contains(dgTitles) ? Info.Vert.FixedBoundary : 0, ClientWidth(), ClientHeight()};
    ::InvalidateRect(FHandle, &Area, FALSE);
  }
  DoTopRowChanged();
  CheckRowChanged();
}

void TqvCustomDBGrid::TimedScroll(TGridScrollDirections Direction) {
  if (FDataLink->Active()) {
    if (Direction.Contains(sdUp)) FDataLink->DataSet()->MoveBy(-FDataLink->ActiveRecord() - 1);
    else if (Direction.Contains(sdDown)) FDataLink->DataSet()->MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
  }
  TGridScrollDirections Horizontal = Direction * TGridScrollDirections{sdLeft, sdRight};
  if (!Horizontal.Empty()) TCustomGrid::TimedScroll(Horizontal);
}

void TqvCustomDBGrid::WMSize(TMessage& Message) {
  AlignCellControl();
  if (UsesProportionalColResize() && ColCount() > FIndicatorOffset) {
    if (FOptions.Contains(dgFixedProportionalResize) && FixedCols() > 1) {
      int SavedCol = FSizingCol;
      int SavedWidth = FSizingColWidth;
      FSizingCol = FixedCols() - 1;
      FSizingColWidth = ColWidths(FSizingCol);
      PatchFlags.FixedProportionalResize = true;
      TScopeGuard Restore([&] {
        FSizingCol = SavedCol;
        FSizingColWidth = SavedWidth;
        PatchFlags.FixedProportionalResize = false;
      });
      ApplyProportionalWidths();
    } else {
      ApplyProportionalWidths();
    }
  }
  TCustomGrid::Dispatch(Message);
  if (FLayoutReentry == 0) {
    HideCustomControl();
    HideEditor();
    UpdateRowCount();
    if (CanFitHeight()) FitHeightToRows();
    TDataSet* Set = FDataLink->DataSet();
    if (Set == nullptr || !Set->Active() || (Set->Bof() && Set->Eof())) Invalidate();
  }
  FPaintOptions->SetRebuildImages(true);
}

bool TqvCustomDBGrid::CanFitHeight() const {
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return false;
  if (!FOptions.Contains(dgPerfectRowFit)) return false;
  TAlign A = Align();
  return A == alNone || A == alLeft || A == alRight || A == alCustom;
}

bool TqvCustomDBGrid::FitHeightToRows() {
  if (!HandleAllocated() || RowCount() == 0) return false;
  TRect Last;
  GetCellBounds(LeftCol(), RowCount() - 1, Last);
  int Bottom = Last.Top + DefaultRowHeight() + 1;
  int Columns = 0;
  int LineW = FOptions.Contains(dgColLines) ? 1 : 0;
  for (int i = 0; i < ColCount(); ++i) Columns += ColWidths(i) + LineW;
  int Allowance = FShowVertScrollBar ? GetSystemMetrics(SM_CXVSCROLL) + 1 : 1;
  bool HorzBar = ScrollBars() != ssNone && Width() < Allowance + Columns;
  int Border = 5;
  if (!HorzBar) Border -= 1;
  int Old = Height();
  int BarHeight = GetSystemMetrics(SM_CYHSCROLL);
  if (HorzBar) {
    if (Height() < BarHeight + Bottom + DefaultRowHeight() + Border - 1) SetHeight(BarHeight + Bottom + Border - 1);
  } else if (Height() < Bottom + DefaultRowHeight() + Border) {
    SetHeight(Bottom + Border);
  }
  return Height() != Old;
}
