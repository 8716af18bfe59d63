// This file implements the painting of TCustomGrid: the four cell areas (fixed corner, fixed rows,
// fixed columns, scrolling cells) drawn through DrawCell with their draw states, the default cell
// background, fixed-cell edges and focus frame, the grid lines, and the inverted lines that
// follow the mouse while a column or row is sized or moved.
#include <algorithm>

#include "Grids.h"

void TCustomGrid::Paint() {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TCanvas* canvas = Canvas();
  // Fixed corner, fixed rows, fixed columns, then the scrolling cells.
  DrawCells(0, 0, 0, 0, d.Horz.FixedBoundary, d.Vert.FixedBoundary, {gdFixed});
  DrawCells(LeftCol(), 0, d.Horz.FixedBoundary, 0, d.Horz.GridBoundary, d.Vert.FixedBoundary, {gdFixed});
  DrawCells(0, TopRow(), 0, d.Vert.FixedBoundary, d.Horz.FixedBoundary, d.Vert.GridBoundary, {gdFixed});
  DrawCells(LeftCol(), TopRow(), d.Horz.FixedBoundary, d.Vert.FixedBoundary, d.Horz.GridBoundary, d.Vert.GridBoundary, {});
  DrawLines(d);
  // What lies beyond the last cells takes the grid's colour.
  TRect client = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  if (d.Horz.GridBoundary < client.Right) canvas->FillRect(TRect(d.Horz.GridBoundary, 0, client.Right, client.Bottom));
  if (d.Vert.GridBoundary < client.Bottom) {
    canvas->FillRect(TRect(0, d.Vert.GridBoundary, std::min(d.Horz.GridBoundary, client.Right), client.Bottom));
  }
  // A sizing or moving line survives repaints.
  if (FLineDrawn) {
    FLineDrawn = false;
    if (FGridState == gsColMoving || FGridState == gsRowMoving) DrawMove();
    else DrawSizingLine(d);
  }
}

void TCustomGrid::DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY,
                            TGridDrawState IncludeDrawState) {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  TGridRect sel = Selection();
  bool focused = IsActiveControl();
  int lineX = FOptions.Contains(goVertLine) ? FGridLineWidth : 0;
  int lineY = FOptions.Contains(goHorzLine) ? FGridLineWidth : 0;
  int y = StartY;
  for (int row = ARow; y < StopY && row < RowCount(); ++row) {
    int height = FRowHeights[std::size_t(row)];
    int x = StartX;
    for (int col = ACol; x < StopX && col < ColCount(); ++col) {
      int width = FColWidths[std::size_t(col)];
      TRect where(x, y, x + width, y + height);
      RECT rc = where;
      if (width > 0 && height > 0 && RectVisible(dc, &rc)) {
        TGridDrawState state = IncludeDrawState;
        if (focused && row == Row() && col == Col()) state.Include(gdFocused);
        if (sel.Contains(col, row)) state.Include(gdSelected);
        // The cell under a shown editor is the editor's to draw.
        bool underEditor = state.Contains(gdFocused) && FOptions.Contains(goEditing) && FEditorMode &&
                           FInplaceEdit && FInplaceEdit->Visible();
        if (!underEditor) {
          if (FDefaultDrawing) {
            canvas->SetFont(Font());
            canvas->Brush()->SetStyle(bsSolid);
            if (state.Contains(gdFixed)) {
              canvas->Brush()->SetColor(FFixedColor);
            } else if (state.Contains(gdSelected) &&
                       (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                        FOptions.Contains(goRowSelect))) {
              canvas->Brush()->SetColor(clHighlight);
              canvas->Font()->SetColor(clHighlightText);
            } else {
              canvas->Brush()->SetColor(Color());
            }
            canvas->FillRect(where);
          }
          DrawCell(col, row, where, state);
          if (FDefaultDrawing && state.Contains(gdFixed)) {
            RECT edge = where;
            DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
          }
          if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect) &&
              !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor))) {
            canvas->DrawFocusRect(where);
          }
        }
      }
      x += width + lineX;
    }
    y += height + lineY;
  }
}

void TCustomGrid::DrawLines(const TGridDrawInfo& DrawInfo) {
  TCanvas* canvas = Canvas();
  TColor lineColor = ColorToRGB(Color()) == ColorToRGB(clSilver) ? clGray : clSilver;
  TColor fixedColor = clBtnShadow;
  canvas->Brush()->SetStyle(bsSolid);
  auto fill = [canvas](TColor Color, int Left, int Top, int Right, int Bottom) {
    if (Right <= Left || Bottom <= Top) return;
    canvas->Brush()->SetColor(Color);
    canvas->FillRect(TRect(Left, Top, Right, Bottom));
  };
  // Vertical lines after each column on screen: the part over the fixed rows is a fixed line.
  const TGridAxisDrawInfo& h = DrawInfo.Horz;
  const TGridAxisDrawInfo& v = DrawInfo.Vert;
  if (h.EffectiveLineWidth > 0) {
    auto column = [&](int Index, int Pos) {
      int right = Pos + h.GetExtent(Index);
      bool fixedCol = Index < h.FixedCellCount;
      if (FOptions.Contains(goFixedVertLine)) fill(fixedColor, right, 0, right + h.EffectiveLineWidth, fixedCol ? v.GridBoundary : v.FixedBoundary);
      if (!fixedCol && FOptions.Contains(goVertLine)) fill(lineColor, right, v.FixedBoundary, right + h.EffectiveLineWidth, v.GridBoundary);
      return right + h.EffectiveLineWidth;
    };
    int pos = 0;
    for (int i = 0; i < h.FixedCellCount; ++i) pos = column(i, pos);
    for (int i = h.FirstGridCell; i < h.GridCellCount && pos < h.GridBoundary; ++i) pos = column(i, pos);
  }
  if (v.EffectiveLineWidth > 0) {
    auto row = [&](int Index, int Pos) {
      int bottom = Pos + v.GetExtent(Index);
      bool fixedRow = Index < v.FixedCellCount;
      if (FOptions.Contains(goFixedHorzLine)) fill(fixedColor, 0, bottom, fixedRow ? h.GridBoundary : h.FixedBoundary, bottom + v.EffectiveLineWidth);
      if (!fixedRow && FOptions.Contains(goHorzLine)) fill(lineColor, h.FixedBoundary, bottom, h.GridBoundary, bottom + v.EffectiveLineWidth);
      return bottom + v.EffectiveLineWidth;
    };
    int pos = 0;
    for (int i = 0; i < v.FixedCellCount; ++i) pos = row(i, pos);
    for (int i = v.FirstGridCell; i < v.GridCellCount && pos < v.GridBoundary; ++i) pos = row(i, pos);
  }
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

// Inverting is its own undo: drawn twice at the same place, the line is gone.
void TCustomGrid::DrawSizingLine(const TGridDrawInfo& DrawInfo) {
  if (!HandleAllocated()) return;
  HDC dc = Canvas()->Handle();
  if (FGridState == gsColSizing) PatBlt(dc, FSizingPos, 0, 1, DrawInfo.Vert.GridBoundary, DSTINVERT);
  else if (FGridState == gsRowSizing) PatBlt(dc, 0, FSizingPos, DrawInfo.Horz.GridBoundary, 1, DSTINVERT);
  FLineDrawn = !FLineDrawn;
}

void TCustomGrid::DrawMove() {
  if (!HandleAllocated()) return;
  TGridDrawInfo d;
  CalcDrawInfo(d);
  HDC dc = Canvas()->Handle();
  // The marker sits on the side of the target cell the moved one will land on.
  if (FGridState == gsColMoving) {
    TRect r = CellRect(FMovePos, 0);
    if (r.IsEmpty()) return;
    int x = FMovePos > FMoveIndex ? r.Right : r.Left;
    PatBlt(dc, x - 1, 0, 2, d.Vert.GridBoundary, DSTINVERT);
  } else if (FGridState == gsRowMoving) {
    TRect r = CellRect(0, FMovePos);
    if (r.IsEmpty()) return;
    int y = FMovePos > FMoveIndex ? r.Bottom : r.Top;
    PatBlt(dc, 0, y - 1, d.Horz.GridBoundary, 2, DSTINVERT);
  }
  FLineDrawn = !FLineDrawn;
}

void TCustomGrid::WMEraseBkgnd(TMessage& Message) {
  // Handled: Paint covers the whole client area.
  Message.Result = 1;
}
