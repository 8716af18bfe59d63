// This file implements the geometry of TCustomGrid: its dimensions and extents, the draw info
// (CalcDrawInfo), cell rectangles and hit testing, the current cell and the selection, and
// scrolling (TopRow/LeftCol, the window's scroll bars).
#include <algorithm>

#include "Format.h"
#include "Forms.h"
#include "Grids.h"
#include "ScopeGuard.h"

namespace {
[[noreturn]] void IndexOutOfRange() { throw EInvalidGridOperation("Indice de grille hors limites"); }

// Where a cell at FromIndex goes when a column (row) moves from FromIndex to ToIndex.
void MoveAdjust(int& CellPos, int FromIndex, int ToIndex) {
  if (CellPos == FromIndex) {
    CellPos = ToIndex;
  } else if (FromIndex < ToIndex) {
    if (CellPos > FromIndex && CellPos <= ToIndex) --CellPos;
  } else if (CellPos >= ToIndex && CellPos < FromIndex) {
    ++CellPos;
  }
}

template <class T>
void MoveExtent(std::vector<T>& Extents, int FromIndex, int ToIndex) {
  T value = Extents[std::size_t(FromIndex)];
  Extents.erase(Extents.begin() + FromIndex);
  Extents.insert(Extents.begin() + ToIndex, value);
}
}  // namespace

TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2) {
  return TGridRect{std::min(Coord1.X, Coord2.X), std::min(Coord1.Y, Coord2.Y), std::max(Coord1.X, Coord2.X),
                   std::max(Coord1.Y, Coord2.Y)};
}

VELBOR_IMPLEMENT_CLASS(TCustomGrid)
TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents};
  FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  FColWidths.assign(5, FDefaultColWidth);
  FRowHeights.assign(5, FDefaultRowHeight);
  FTabStops.assign(5, true);
  SetBounds(0, 0, 320, 120);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
}

TCustomGrid::~TCustomGrid() {
  // The editor is a child control, freed by the window control's destructor once this part of
  // the grid is gone: it must not call back into it meanwhile.
  if (FInplaceEdit) FInplaceEdit->SetGrid(nullptr);
  FInplaceEdit = nullptr;
}

// --- Dimensions -------------------------------------------------------------------------------

void TCustomGrid::SetColCount(int Value) {
  if (Value == ColCount()) return;
  Value = std::max(Value, 1);
  if (Value <= FFixedCols) FFixedCols = Value - 1;
  ChangeSize(Value, RowCount());
}

void TCustomGrid::SetRowCount(int Value) {
  if (Value == RowCount()) return;
  Value = std::max(Value, 1);
  if (Value <= FFixedRows) FFixedRows = Value - 1;
  ChangeSize(ColCount(), Value);
}

void TCustomGrid::SetFixedCols(int Value) {
  if (FFixedCols == Value) return;
  if (Value < 0) IndexOutOfRange();
  if (Value >= ColCount()) throw EInvalidGridOperation("Le nombre de colonnes fixes doit être inférieur au nombre de colonnes"_a);
  bool Lowered = Value < FFixedCols;
  FFixedCols = Value;
  // The current cell and the first scrolling column stay out of the fixed part. Columns that stop
  // being fixed come first among the scrolling ones: the view goes back to show them.
  int Left = Lowered ? Value : std::max(FTopLeft.X, Value);
  FCurrent.X = std::max(FCurrent.X, Value);
  FAnchor.X = std::max(FAnchor.X, Value);
  bool Moved = Left != FTopLeft.X;
  FTopLeft.X = Left;
  UpdateScrollRange();
  UpdateScrollPos();
  InvalidateGrid();
  if (Moved) TopLeftChanged();
  UpdateEdit();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (FFixedRows == Value) return;
  if (Value < 0) IndexOutOfRange();
  if (Value >= RowCount()) throw EInvalidGridOperation("Le nombre de lignes fixes doit être inférieur au nombre de lignes"_a);
  FFixedRows = Value;
  FTopLeft.Y = std::max(FTopLeft.Y, Value);
  FCurrent.Y = std::max(FCurrent.Y, Value);
  FAnchor.Y = std::max(FAnchor.Y, Value);
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEdit();
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
  int oldCols = ColCount();
  int oldRows = RowCount();
  FColWidths.resize(std::size_t(NewColCount), FDefaultColWidth);
  FTabStops.resize(std::size_t(NewColCount), true);
  FRowHeights.resize(std::size_t(NewRowCount), FDefaultRowHeight);
  auto clamp = [&](TGridCoord& C) {
    C.X = std::clamp(C.X, FFixedCols, NewColCount - 1);
    C.Y = std::clamp(C.Y, FFixedRows, NewRowCount - 1);
  };
  clamp(FCurrent);
  clamp(FAnchor);
  clamp(FTopLeft);
  if (FInplaceCol >= NewColCount || FInplaceRow >= NewRowCount) {
    FInplaceCol = -1;
    FInplaceRow = -1;
  }
  SizeChanged(oldCols, oldRows);
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEdit();
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= ColCount()) IndexOutOfRange();
  return FColWidths[std::size_t(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= ColCount()) IndexOutOfRange();
  Value = std::max(Value, 0);
  if (FColWidths[std::size_t(Index)] == Value) return;
  FColWidths[std::size_t(Index)] = Value;
  InvalidateGrid();
  ColWidthsChanged();
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= RowCount()) IndexOutOfRange();
  return FRowHeights[std::size_t(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= RowCount()) IndexOutOfRange();
  Value = std::max(Value, 0);
  if (FRowHeights[std::size_t(Index)] == Value) return;
  FRowHeights[std::size_t(Index)] = Value;
  InvalidateGrid();
  RowHeightsChanged();
}

bool TCustomGrid::TabStops(int Index) const {
  if (Index < 0 || Index >= ColCount()) IndexOutOfRange();
  return FTabStops[std::size_t(Index)];
}

void TCustomGrid::SetTabStops(int Index, bool Value) {
  if (Index < 0 || Index >= ColCount()) IndexOutOfRange();
  FTabStops[std::size_t(Index)] = Value;
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  FDefaultColWidth = Value;
  std::fill(FColWidths.begin(), FColWidths.end(), Value);
  InvalidateGrid();
  ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  FDefaultRowHeight = Value;
  std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
  InvalidateGrid();
  RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  if (FGridLineWidth == Value) return;
  FGridLineWidth = std::max(Value, 0);
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEdit();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  // A selected row has no single cell to edit in.
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  if (FOptions == Value) return;
  bool linesChanged = FOptions.Contains(goVertLine) != Value.Contains(goVertLine) ||
                      FOptions.Contains(goHorzLine) != Value.Contains(goHorzLine);
  FOptions = Value;
  if (!FEditorMode) {
    if (Value.Contains(goAlwaysShowEditor)) ShowEditor();
    else HideEditor();
  }
  if (Value.Contains(goRowSelect)) MoveColRow(Col(), Row(), true, false);
  if (linesChanged) UpdateScrollRange();
  InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (FFixedColor == Value) return;
  FFixedColor = Value;
  InvalidateGrid();
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollRange();
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  UpdateScrollRange();
}

int TCustomGrid::GridWidth() const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Horz.GridBoundary;
}

int TCustomGrid::GridHeight() const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Vert.GridBoundary;
}

// --- Draw info and hit testing ----------------------------------------------------------------

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& Axis, const std::vector<int>& Extents, int FixedCount, int First,
                           int Extent, int LineWidth) const {
  Axis.EffectiveLineWidth = LineWidth;
  Axis.Extents = &Extents;
  Axis.FixedCellCount = FixedCount;
  Axis.FirstGridCell = First;
  Axis.GridCellCount = int(Extents.size());
  Axis.GridExtent = Extent;
  Axis.FixedBoundary = 0;
  for (int i = 0; i < FixedCount; ++i) Axis.FixedBoundary += Extents[std::size_t(i)] + LineWidth;
  Axis.GridBoundary = Axis.FixedBoundary;
  Axis.FullVisBoundary = Axis.FixedBoundary;
  Axis.LastFullVisibleCell = First;
  for (int i = First; i < Axis.GridCellCount; ++i) {
    Axis.GridBoundary += Extents[std::size_t(i)] + LineWidth;
    // A cell whose trailing line does not fit still counts as fully visible.
    if (Axis.GridBoundary > Extent + LineWidth) {
      Axis.GridBoundary = Extent;
      break;
    }
    Axis.LastFullVisibleCell = i;
    Axis.FullVisBoundary = Axis.GridBoundary;
  }
  Axis.GridBoundary = std::min(Axis.GridBoundary, Extent);
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const {
  CalcAxis(DrawInfo.Horz, FColWidths, FFixedCols, FTopLeft.X, UseWidth, FOptions.Contains(goVertLine) ? FGridLineWidth : 0);
  CalcAxis(DrawInfo.Vert, FRowHeights, FFixedRows, FTopLeft.Y, UseHeight, FOptions.Contains(goHorzLine) ? FGridLineWidth : 0);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) const {
  TRect client = ClientRect();
  CalcDrawInfoXY(DrawInfo, client.Width(), client.Height());
}

void TCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo) const {
  CalcDrawInfo(DrawInfo);
  for (TGridAxisDrawInfo* axis : {&DrawInfo.Horz, &DrawInfo.Vert}) {
    axis->GridBoundary = std::min(axis->FixedBoundary, axis->GridExtent);
    axis->FullVisBoundary = axis->GridBoundary;
    axis->LastFullVisibleCell = axis->FixedCellCount - 1;
  }
}

int TCustomGrid::LinePos(const TGridAxisDrawInfo& Axis, int Index) const {
  int pos = 0;
  if (Index < Axis.FixedCellCount) {
    for (int i = 0; i < Index; ++i) pos += Axis.GetExtent(i) + Axis.EffectiveLineWidth;
  } else {
    if (Index < Axis.FirstGridCell) return -1;
    pos = Axis.FixedBoundary;
    for (int i = Axis.FirstGridCell; i < Index; ++i) pos += Axis.GetExtent(i) + Axis.EffectiveLineWidth;
  }
  return pos < Axis.GridExtent ? pos : -1;
}

int TCustomGrid::CellAt(const TGridAxisDrawInfo& Axis, int Pos) const {
  if (Pos < 0 || Pos >= Axis.GridBoundary) return -1;
  int line = 0;
  int i = 0;
  if (Pos >= Axis.FixedBoundary) {
    line = Axis.FixedBoundary;
    i = Axis.FirstGridCell;
  }
  for (; i < Axis.GridCellCount; ++i) {
    // The line after a cell belongs to that cell.
    line += Axis.GetExtent(i) + Axis.EffectiveLineWidth;
    if (Pos < line) return i;
  }
  return -1;
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  auto span = [this](const TGridAxisDrawInfo& Axis, int From, int To, int& Lo, int& Hi) {
    if (From > To) std::swap(From, To);
    Lo = -1;
    Hi = -1;
    for (int i = std::max(From, 0); i <= To && i < Axis.GridCellCount; ++i) {
      int pos = LinePos(Axis, i);
      if (pos < 0) continue;
      if (Lo < 0) Lo = pos;
      Hi = std::min(pos + Axis.GetExtent(i), Axis.GridExtent);
    }
    return Lo >= 0;
  };
  int left, right, top, bottom;
  if (!span(d.Horz, ALeft, ARight, left, right) || !span(d.Vert, ATop, ABottom, top, bottom)) return TRect();
  return TRect(left, top, right, bottom);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const { return BoxRect(ACol, ARow, ACol, ARow); }

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord c{CellAt(d.Horz, X), CellAt(d.Vert, Y)};
  if (c.X < 0 || c.Y < 0) c = TGridCoord{-1, -1};
  return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

int TCustomGrid::VisibleColCount() const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Horz.LastFullVisibleCell - LeftCol() + 1;
}

int TCustomGrid::VisibleRowCount() const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Vert.LastFullVisibleCell - TopRow() + 1;
}

// --- Current cell and selection ---------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
  TGridRect r = GridRect(FCurrent, FAnchor);
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  auto inside = [this](int C, int R) { return C >= FFixedCols && C < ColCount() && R >= FFixedRows && R < RowCount(); };
  if (!inside(Value.Left, Value.Top) || !inside(Value.Right, Value.Bottom)) IndexOutOfRange();
  TGridRect old = Selection();
  FAnchor = Value.TopLeft();
  FCurrent = Value.BottomRight();
  SelectionMoved(old);
}

void TCustomGrid::SetCol(int Value) {
  if (Col() != Value) FocusCell(Value, Row(), true);
}

void TCustomGrid::SetRow(int Value) {
  if (Row() != Value) FocusCell(Col(), Value, true);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
  MoveColRow(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) IndexOutOfRange();
  if (!SelectCell(ACol, ARow)) return;
  TGridRect old = Selection();
  FCurrent = TGridCoord{ACol, ARow};
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  if (Show) ClampInView(FCurrent);
  SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
  if (!HandleAllocated()) return;
  InvalidateRect(OldSel);
  InvalidateRect(Selection());
}

bool TCustomGrid::SelectCell(int, int) { return true; }

// --- Scrolling --------------------------------------------------------------------------------

namespace {
// The first cell from which Last is still fully visible in the scrolling part of the axis.
int FirstToShow(const TGridAxisDrawInfo& Axis, int Last) {
  int room = Axis.GridExtent - Axis.FixedBoundary + Axis.EffectiveLineWidth;
  int first = Last;
  int used = 0;
  for (int i = Last; i >= Axis.FixedCellCount; --i) {
    used += Axis.GetExtent(i) + Axis.EffectiveLineWidth;
    if (used > room) break;
    first = i;
  }
  return std::max(first, Axis.FixedCellCount);
}
}  // namespace

TGridCoord TCustomGrid::MaxTopLeft() const {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return TGridCoord{FirstToShow(d.Horz, ColCount() - 1), FirstToShow(d.Vert, RowCount() - 1)};
}

void TCustomGrid::SetLeftCol(int Value) {
  Value = std::clamp(Value, FFixedCols, ColCount() - 1);
  if (FTopLeft.X != Value) MoveTopLeft(Value, TopRow());
}

void TCustomGrid::SetTopRow(int Value) {
  Value = std::clamp(Value, FFixedRows, RowCount() - 1);
  if (FTopLeft.Y != Value) MoveTopLeft(LeftCol(), Value);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  FTopLeft = TGridCoord{ALeft, ATop};
  UpdateScrollPos();
  InvalidateGrid();
  TopLeftChanged();
}

void TCustomGrid::ClampInView(const TGridCoord& Coord) {
  if (!HandleAllocated()) return;
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord topLeft = FTopLeft;
  if (Coord.X >= FFixedCols) {
    if (Coord.X < topLeft.X) topLeft.X = Coord.X;
    else if (Coord.X > d.Horz.LastFullVisibleCell) topLeft.X = FirstToShow(d.Horz, Coord.X);
  }
  if (Coord.Y >= FFixedRows) {
    if (Coord.Y < topLeft.Y) topLeft.Y = Coord.Y;
    else if (Coord.Y > d.Vert.LastFullVisibleCell) topLeft.Y = FirstToShow(d.Vert, Coord.Y);
  }
  MoveTopLeft(topLeft.X, topLeft.Y);
}

void TCustomGrid::TopLeftChanged() {
  if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(Col(), Row()));
}

void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated() || FUpdatingScrollBars) return;
  // Showing or hiding a bar resizes the client area, which comes back here through WM_SIZE.
  FUpdatingScrollBars = true;
  TScopeGuard restore([&] { FUpdatingScrollBars = false; });
  for (int pass = 0; pass < 2; ++pass) {
    TGridCoord maxTopLeft = MaxTopLeft();
    auto set = [this](int Bar, int Count, int Fixed, int Max, int Pos) {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = 0;
      si.nMax = std::max(Count - Fixed - 1, 0);
      // The page is what shows at the end, so that the largest position is the last first cell.
      si.nPage = UINT(std::max(Count - Max, 1));
      si.nPos = std::max(Pos - Fixed, 0);
      SetScrollInfo(FHandle, Bar, &si, TRUE);
    };
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) set(SB_VERT, RowCount(), FFixedRows, maxTopLeft.Y, TopRow());
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) set(SB_HORZ, ColCount(), FFixedCols, maxTopLeft.X, LeftCol());
  }
}

void TCustomGrid::UpdateScrollPos() {
  if (!HandleAllocated()) return;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) SetScrollPos(FHandle, SB_VERT, TopRow() - FFixedRows, TRUE);
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) SetScrollPos(FHandle, SB_HORZ, LeftCol() - FFixedCols, TRUE);
}

void TCustomGrid::ScrollAxis(bool Horz, int Code, int ThumbPos) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord maxTopLeft = MaxTopLeft();
  int fixed = Horz ? FFixedCols : FFixedRows;
  int current = Horz ? LeftCol() : TopRow();
  int maximum = Horz ? maxTopLeft.X : maxTopLeft.Y;
  const TGridAxisDrawInfo& axis = Horz ? d.Horz : d.Vert;
  int page = std::max(axis.LastFullVisibleCell - current + 1, 1);
  int target = current;
  switch (Code) {
    case SB_LINEUP: target = current - 1; break;
    case SB_LINEDOWN: target = current + 1; break;
    case SB_PAGEUP: target = current - page; break;
    case SB_PAGEDOWN: target = current + page; break;
    case SB_THUMBPOSITION: target = fixed + ThumbPos; break;
    case SB_THUMBTRACK:
      if (!FOptions.Contains(goThumbTracking)) return;
      target = fixed + ThumbPos;
      break;
    case SB_TOP: target = fixed; break;
    case SB_BOTTOM: target = maximum; break;
    default: return;
  }
  target = std::clamp(target, fixed, std::max(maximum, fixed));
  if (Horz) MoveTopLeft(target, TopRow());
  else MoveTopLeft(LeftCol(), target);
}

void TCustomGrid::WMHScroll(TMessage& Message) {
  if (Message.LParam) {
    TCustomControl::Dispatch(Message);
    return;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(FHandle, SB_HORZ, &si);
  ScrollAxis(true, LOWORD(Message.WParam), si.nTrackPos);
}

void TCustomGrid::WMVScroll(TMessage& Message) {
  if (Message.LParam) {
    TCustomControl::Dispatch(Message);
    return;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(FHandle, SB_VERT, &si);
  ScrollAxis(false, LOWORD(Message.WParam), si.nTrackPos);
}

void TCustomGrid::WMSize(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  UpdateScrollRange();
  if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(Col(), Row()));
}

// --- Moving columns and rows ------------------------------------------------------------------

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount()) IndexOutOfRange();
  if (FromIndex == ToIndex) return;
  MoveExtent(FColWidths, FromIndex, ToIndex);
  MoveExtent(FTabStops, FromIndex, ToIndex);
  MoveAdjust(FCurrent.X, FromIndex, ToIndex);
  MoveAdjust(FAnchor.X, FromIndex, ToIndex);
  if (FInplaceCol >= 0) MoveAdjust(FInplaceCol, FromIndex, ToIndex);
  InvalidateGrid();
  ColumnMoved(FromIndex, ToIndex);
  ColWidthsChanged();
  UpdateEdit();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount()) IndexOutOfRange();
  if (FromIndex == ToIndex) return;
  MoveExtent(FRowHeights, FromIndex, ToIndex);
  MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
  MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
  if (FInplaceRow >= 0) MoveAdjust(FInplaceRow, FromIndex, ToIndex);
  InvalidateGrid();
  RowMoved(FromIndex, ToIndex);
  RowHeightsChanged();
  UpdateEdit();
}

void TCustomGrid::ColumnMoved(int, int) {}

void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::ColWidthsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomGrid::RowHeightsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

// --- Invalidation -----------------------------------------------------------------------------

void TCustomGrid::InvalidateRect(const TGridRect& ARect) {
  if (!HandleAllocated()) return;
  TRect r = BoxRect(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  if (r.IsEmpty()) return;
  // One more line's width: the focus frame and lines sit at the cell's edge.
  r.Right += FGridLineWidth;
  r.Bottom += FGridLineWidth;
  RECT rc = r;
  ::InvalidateRect(FHandle, &rc, FALSE);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateRect(TGridRect{ACol, ARow, ACol, ARow}); }

void TCustomGrid::InvalidateCol(int ACol) { InvalidateRect(TGridRect{ACol, 0, ACol, RowCount() - 1}); }

void TCustomGrid::InvalidateRow(int ARow) { InvalidateRect(TGridRect{0, ARow, ColCount() - 1, ARow}); }

void TCustomGrid::InvalidateGrid() { Invalidate(); }

bool TCustomGrid::IsActiveControl() const {
  if (TCustomForm* form = GetParentForm(this)) return form->ActiveControl() == this;
  if (!HandleAllocated()) return false;
  for (HWND h = GetFocus(); h && IsWindow(h); h = GetParent(h)) {
    if (h == FHandle) return true;
  }
  return false;
}
