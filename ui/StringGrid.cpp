// This file implements TDrawGrid (the grid whose drawing, selection, editing and moving are
// events of the program) and TStringGrid (a grid holding a string and an object per cell).
#include <algorithm>

#include "Grids.h"

#include "ScopeGuard.h"

// --- TDrawGrid --------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TDrawGrid)
VELBOR_PUBLISHED(TDrawGrid,
  Prop("ColCount", &Self::ColCount, &Self::SetColCount).Default(5),
  Prop("RowCount", &Self::RowCount, &Self::SetRowCount).Default(5),
  Prop("FixedCols", &Self::FixedCols, &Self::SetFixedCols).Default(1),
  Prop("FixedRows", &Self::FixedRows, &Self::SetFixedRows).Default(1),
  Prop("DefaultColWidth", &Self::DefaultColWidth, &Self::SetDefaultColWidth).Default(64),
  Prop("DefaultRowHeight", &Self::DefaultRowHeight, &Self::SetDefaultRowHeight).Default(24),
  Prop("DefaultDrawing", &Self::DefaultDrawing, &Self::SetDefaultDrawing).Default(true),
  Prop("FixedColor", &Self::FixedColor, &Self::SetFixedColor).Idents(ColorIdents).Default(clBtnFace),
  Prop("GridLineWidth", &Self::GridLineWidth, &Self::SetGridLineWidth).Default(1),
  Prop("Options", &Self::Options, &Self::SetOptions)
      .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}),
  Prop("ScrollBars", &Self::ScrollBars, &Self::SetScrollBars).Default(ssBoth),
  Prop("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle).Default(bsSingle),
  Prop("OnDrawCell", &Self::OnDrawCell),
  Prop("OnSelectCell", &Self::OnSelectCell),
  Prop("OnGetEditMask", &Self::OnGetEditMask),
  Prop("OnGetEditText", &Self::OnGetEditText),
  Prop("OnSetEditText", &Self::OnSetEditText),
  Prop("OnColumnMoved", &Self::OnColumnMoved),
  Prop("OnRowMoved", &Self::OnRowMoved),
  Prop("OnTopLeftChanged", &Self::OnTopLeftChanged))

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
  return canSelect;
}

String TDrawGrid::GetEditMask(int ACol, int ARow) {
  String value;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, value);
  return value;
}

String TDrawGrid::GetEditText(int ACol, int ARow) {
  String value;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, value);
  return value;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const String& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// --- TStringGrid ------------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TStringGrid)

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

const TStringGrid::TCell* TStringGrid::FindCell(int ACol, int ARow) const {
  if (ARow < 0 || ARow >= int(FData.size())) return nullptr;
  const auto& row = FData[std::size_t(ARow)];
  if (ACol < 0 || ACol >= int(row.size())) return nullptr;
  return &row[std::size_t(ACol)];
}

TStringGrid::TCell& TStringGrid::CellAt(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) {
    throw EInvalidGridOperation("Indice de grille hors limites");
  }
  if (ARow >= int(FData.size())) FData.resize(std::size_t(ARow) + 1);
  auto& row = FData[std::size_t(ARow)];
  if (ACol >= int(row.size())) row.resize(std::size_t(ACol) + 1);
  return row[std::size_t(ACol)];
}

String TStringGrid::Cells(int ACol, int ARow) const {
  const TCell* cell = FindCell(ACol, ARow);
  return cell ? cell->Text : String();
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
  CellAt(ACol, ARow).Text = Value;
  InvalidateCell(ACol, ARow);
  // The editor shows the new text, unless the text comes from the editor itself.
  if (!FEditUpdate && ACol == FInplaceCol && ARow == FInplaceRow) InvalidateEditor();
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  const TCell* cell = FindCell(ACol, ARow);
  return cell ? cell->Object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) { CellAt(ACol, ARow).Object = Value; }

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TStringGrid::GetEditText(int ACol, int ARow) {
  // The event may offer another text than the cell's.
  String value = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, value);
  return value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
  FEditUpdate = true;
  {
    TScopeGuard restore([&] { FEditUpdate = false; });
    if (Value != Cells(ACol, ARow)) SetCells(ACol, ARow, Value);
  }
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  if (RowCount() < int(FData.size())) FData.resize(std::size_t(RowCount()));
  for (auto& row : FData) {
    if (int(row.size()) > ColCount()) row.resize(std::size_t(ColCount()));
  }
  TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  for (auto& row : FData) {
    if (int(row.size()) < ColCount()) row.resize(std::size_t(ColCount()));
    TCell cell = row[std::size_t(FromIndex)];
    row.erase(row.begin() + FromIndex);
    row.insert(row.begin() + ToIndex, cell);
  }
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  if (int(FData.size()) < RowCount()) FData.resize(std::size_t(RowCount()));
  auto row = std::move(FData[std::size_t(FromIndex)]);
  FData.erase(FData.begin() + FromIndex);
  FData.insert(FData.begin() + ToIndex, std::move(row));
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void RegisterGrids() {
  RegisterClass(TDrawGrid::StaticClass());
  RegisterClass(TStringGrid::StaticClass());
}
