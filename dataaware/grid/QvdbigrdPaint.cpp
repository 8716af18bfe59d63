// This file implements how the grid engine puts a whole frame on the screen: WM_PAINT drawing into
// the off-screen bitmap and copying the update rectangle in one go, the fixed order of Paint, the
// cell areas, the pad column right of the last column, the grid lines, the frame of a pressed
// title button, the footer with its cells, and the button of the top-left cell.
#include "Qvdbigrd.h"

#include <algorithm>
#include <optional>

#include "Field.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "qvControlUtils.h"

// --- WM_PAINT ---------------------------------------------------------------------------------

void TqvCustomDBGrid::WMPaint(TMessage& Message) {
  RECT Client{};
  ::GetClientRect(FHandle, &Client);
  int W = std::max(int(Client.right), 1), H = std::max(int(Client.bottom), 1);
  if (FPaintBitmap->Width() < W || FPaintBitmap->Height() < H) FPaintBitmap->SetSize(std::max(W, Width()), std::max(H, Height()));
  HDC Target = reinterpret_cast<HDC>(Message.WParam);
  std::optional<TPaintDC> Painting;
  TRect Update(0, 0, W, H);
  if (Target == nullptr) {
    Painting.emplace(FHandle);
    Target = *Painting;
    TRect Asked = Painting->Paint().rcPaint;
    Update = TRect(std::max(Asked.Left, 0), std::max(Asked.Top, 0), std::min(Asked.Right, W), std::min(Asked.Bottom, H));
    if (Update.IsEmpty()) return;
  }
  FUpdateRect = Update;
  FPaintThemes = qvThemesEnabledFor(this) ? 1 : 0;
  TScopeGuard Themes([&] { FPaintThemes = -1; });
  TCanvas* Canvas = FPaintBitmap->Canvas();
  HDC Buffer = Canvas->Handle();
  {
    // Nothing drawn outside the update rectangle: the buffer keeps the rest of an earlier frame.
    // A clip region, not a saved context: the canvas's selected tools stay what it believes.
    TOwnedRegion Clip(CreateRectRgn(Update.Left, Update.Top, Update.Right, Update.Bottom));
    SelectClipRgn(Buffer, Clip);
    TScopeGuard Unclip([&] { SelectClipRgn(Buffer, nullptr); });
    Paint();
    PaintControls(Buffer, nullptr);
  }
  BitBlt(Target, Update.Left, Update.Top, Update.Width(), Update.Height(), Buffer, Update.Left, Update.Top, SRCCOPY);
  UpdateCellEditor();
}

// --- Paint ------------------------------------------------------------------------------------

void TqvCustomDBGrid::Paint() {
  TCanvas* Canvas = GetPaintCanvas();
  // 2. The blended background images.
  if (FPaintOptions->RebuildImages() && FPaintOptions->HasBackgroundPicture()) FPaintOptions->PrepareImages(false);
  // 3. The background of the update rectangle.
  Canvas->Brush()->SetStyle(bsSolid);
  if (FPaintOptions->HasDataCellBackground()) {
    PaintDataRowBackground(FUpdateRect, -1, clNone);
  } else {
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(FUpdateRect);
  }
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  // 4. Without data: the fixed colour, and the grid's colour from the first data cell on.
  bool Active = FDataLink->Active();
  if (!Active) {
    PaintFixedColumnBackground(ClientRect(), -1, FTitleColor);
    TRect First;
    GetCellBounds(LeftCol(), std::min(FTitleOffset, RowCount() - 1), First);
    TRect Rest(First.Left, First.Top, ClientWidth(), ClientHeight());
    if (First.IsEmpty()) Rest = TRect(Info.Horz.FixedBoundary, Info.Vert.FixedBoundary, ClientWidth(), ClientHeight());
    Canvas->Brush()->SetColor(Color());
    PaintDataRowBackground(Rest, -1, Color());
  }
  // 5.
  if (OnBeforePaint) OnBeforePaint(this);
  // 6.
  FSuppressedLines = false;
  PaintAllCells(Info);
  // 8, 9.
  CalcDrawInfo(Info);
  PaintPadColumn(Info);
  PaintGridLines();
  // 10. The focus frame.
  TCustomForm* Form = GetParentForm(this);
  bool ControlShown = FCellControl != nullptr && FCellControl->Visible() && FCellControl->Parent() == this;
  bool ColumnShown = (Col() >= LeftCol() && Col() <= Info.Horz.LastFullVisibleCell) ||
                     (FOptions.Contains(dgFixedEditable) && Col() < FixedCols() && Col() >= FIndicatorOffset);
  if (!ComponentState().Contains(csDesigning) && Form != nullptr && Form->ActiveControl() == this && Active &&
      !ControlShown && FHasFocus && !FOptions.Contains(dgAlwaysShowEditor) && !FOptions.Contains(dgRowSelect) &&
      ColumnShown) {
    TRect Cell;
    GetCellBounds(Col(), Row(), Cell);
    if (!Cell.IsEmpty()) qvDrawHighlightFocusRect(Canvas, Cell);
  }
  // 11. The right edge of the last column shown.
  int LastRight = 0;
  for (int C = LeftCol(); C < ColCount(); ++C) {
    TRect Cell = CellRect(C, std::max(RowCount() - 1, 0));
    if (Cell.Width() > 0) LastRight = Cell.Right;
  }
  // 12.
  if (FOptions.Contains(dgShowFooter)) PaintFooter(LastRight);
}

void TqvCustomDBGrid::PaintAllCells(const TGridDrawInfo& Info) {
  PaintCellRange(0, 0, 0, 0, Info.Horz.FixedBoundary, Info.Vert.FixedBoundary, {gdFixed});
  PaintCellRange(LeftCol(), 0, Info.Horz.FixedBoundary, 0, Info.Horz.GridBoundary, Info.Vert.FixedBoundary, {gdFixed});
  if (!FDataLink->Active()) return;
  PaintCellRange(0, TopRow(), 0, Info.Vert.FixedBoundary, Info.Horz.FixedBoundary, Info.Vert.GridBoundary, {gdFixed});
  PaintCellRange(LeftCol(), TopRow(), Info.Horz.FixedBoundary, Info.Vert.FixedBoundary, Info.Horz.GridBoundary,
                 Info.Vert.GridBoundary, {});
}

void TqvCustomDBGrid::PaintCellRange(int StartCol, int StartRow, int StartX, int StartY, int StopX, int StopY,
                                     TGridDrawState Base) {
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  int LineX = Info.Horz.EffectiveLineWidth, LineY = Info.Vert.EffectiveLineWidth;
  bool Focused = IsActiveControl();
  TGridRect Sel = Selection();
  bool EditorShown = !ComponentState().Contains(csDesigning) && TCustomGrid::Options().Contains(goEditing) &&
                     EditorMode() && InplaceEditor() != nullptr && InplaceEditor()->Visible();
  HDC Buffer = GetPaintCanvas()->Handle();
  int Y = StartY;
  for (int R = StartRow; Y < StopY && R < RowCount(); ++R) {
    int H = RowHeights(R);
    int X = StartX;
    for (int C = StartCol; X < StopX && C < ColCount(); ++C) {
      int W = ColWidths(C);
      TRect Where(X, Y, X + W, Y + H);
      RECT Test = TRect(X, Y, X + W + LineX, Y + H + LineY);
      RECT Update = FUpdateRect, Overlap;
      if (W > 0 && RectVisible(Buffer, &Test) && IntersectRect(&Overlap, &Test, &Update)) {
        TGridDrawState State = Base;
        if (Focused && R == Row() && C == Col()) State.Include(gdFocused);
        if (Sel.Contains(C, R)) State.Include(gdSelected);
        bool Skip = State.Contains(gdFocused) && EditorShown;
        if (!Skip) {
          if (R == 0 && FOptions.Contains(dgTitles) && !GetColumn(DataColOf(C))->GroupName().empty() &&
              GetFieldByDataCol(DataColOf(C)) != nullptr) {
            TRect Header, Title;
            int Last = C, First = C;
            GetGroupHeaderRect(C, 0, Header, true, Last, First);
            DrawCell(C, R, Header, State);
            GetTitleTextRect(C, R, Title);
            DrawCell(C, R, Title, State);
            PaintCellGridLines(C, R, State, Where);
          } else {
            DrawCell(C, R, Where, State);
            PaintCellGridLines(C, R, State, Where);
          }
        }
      }
      X += W + LineX;
    }
    Y += H + LineY;
  }
}

// --- Lines ------------------------------------------------------------------------------------

void TqvCustomDBGrid::HLine(TColor Color, int X1, int X2, int Y) {
  if (X2 <= X1) return;
  TCanvas* Canvas = GetPaintCanvas();
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(TRect(X1, Y, X2, Y + 1));
}

void TqvCustomDBGrid::VLine(TColor Color, int X, int Y1, int Y2) {
  if (Y2 <= Y1) return;
  TCanvas* Canvas = GetPaintCanvas();
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(TRect(X, Y1, X + 1, Y2));
}

bool TqvCustomDBGrid::IsLight(TColor Background) const {
  return ColorToRGB(Background) == 0xFFFFFF || FPaintOptions->HasBackgroundPicture();
}

int TqvCustomDBGrid::GetLastRowBottom(const TGridDrawInfo& Info) const {
  TRect Cell;
  GetCellBounds(LeftCol(), Info.Vert.LastFullVisibleCell, Cell);
  return Cell.Bottom + 1;
}

void TqvCustomDBGrid::PaintCellGridLines(int ACol, int ARow, TGridDrawState State, const TRect& Rect) {
  if (FLinesDrawn || FHideAllLines) return;
  bool Fixed = State.Contains(gdFixed);
  int DataRow = DataRowOf(ARow);
  if (Fixed && DataRow >= 0 && FOptions.Contains(dgRowLinesDisableFixed)) return;
  if (!Fixed && !FOptions.Contains(dgRowLines)) return;
  if (!FOptions.Contains(dgRowLines)) return;
  TCanvas* Canvas = GetPaintCanvas();
  TColor Brush = Canvas->Brush()->Color();
  bool Light = FLineStyle == glsDynamic ? IsLight(Brush) : IsLight(Color());
  if (DataRow == 0 && ACol < int(FCache.size())) FCache[std::size_t(ACol)]->BackgroundIsWhite = Light;
  if (!Fixed && DataRow >= 0 && IsLight(Color()) &&
      (ColorToRGB(Brush) == ColorToRGB(clHighlight) || Brush == FPaintOptions->ActiveRecordColor()))
    Light = true;
  int Bottom = Rect.Top + RowHeights(ARow);
  bool KeepBottom = true, KeepTop = true;
  int DataCol = DataColOf(ACol);
  if (FSuppressedLines && DataRow >= 0 && DataRow < 256 && DataCol >= 0 && DataCol < int(FColumns.size())) {
    if (unsigned char* Flags = FColumns[std::size_t(DataCol)]->RowLineFlags()) {
      KeepBottom = (Flags[DataRow] & 1) == 0;
      KeepTop = (Flags[DataRow] & 2) == 0;
    }
  }
  TColor SavedBrush = Brush;
  if (FLineStyle == glsSingle || (FLineStyle == glsDynamic && Light)) {
    if (KeepBottom) HLine(FLineColors->DataColor(), Rect.Left, Rect.Right + 1, Bottom);
  } else {
    if (KeepBottom) HLine(FLineColors->ShadowColor(), Rect.Left, Rect.Right + 1, Bottom);
    bool CurrentHighlighted = DataRow == FDataLink->ActiveRecord() && !Fixed &&
                              (FHasFocus || FOptions.Contains(dgAlwaysShowEditor)) &&
                              (FOptions.Contains(dgRowSelect) || FPaintOptions->ActiveRecordColor() != clNone);
    if (!CurrentHighlighted && KeepTop && DataRow >= 0) HLine(FLineColors->HighlightColor(), Rect.Left, Rect.Right, Rect.Top);
  }
  Canvas->Brush()->SetColor(SavedBrush);
}

void TqvCustomDBGrid::PaintGridLines() {
  TGridDrawInfo Info;
  CalcDrawInfo(Info);
  bool Active = FDataLink->Active();
  int TitleBottom = FOptions.Contains(dgTitles) && RowCount() > 0 ? RowHeights(0) : 0;
  int LastBottom = GetLastRowBottom(Info);
  TColor DataPen = FLineColors->DataColor();
  auto ColumnLight = [&](int ACol) {
    bool White = ACol < int(FCache.size()) ? FCache[std::size_t(ACol)]->BackgroundIsWhite : IsLight(Color());
    return White || FPaintOptions->HasBackgroundPicture();
  };
  auto SingleStyle = [&](int ACol) { return FLineStyle == glsSingle || (FLineStyle == glsDynamic && ColumnLight(ACol)); };
  // Column lines.
  if (FOptions.Contains(dgColLines) && !FHideAllLines) {
    int Last = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
    for (int C = LeftCol(); C <= Last; ++C) {
      TRect Cell = CellRect(C, std::min(std::max(FTitleOffset, 0), RowCount() - 1));
      if (Cell.IsEmpty()) continue;
      int X = Cell.Left + ColWidths(C);
      if (X > ClientWidth()) break;
      if (SingleStyle(C)) {
        VLine(FLineColors->DataColor(), X, TitleBottom, LastBottom + 1);
      } else {
        VLine(FLineColors->ShadowColor(), X, TitleBottom, LastBottom + 1);
        VLine(FLineColors->HighlightColor(), X + 1, TitleBottom, LastBottom + 1);
      }
    }
  }
  // The current cell's bottom line again, over the neighbours' top lines.
  if (!FHideAllLines && Active && FOptions.Contains(dgRowLines) && !FOptions.Contains(dgRowSelect)) {
    TRect Cell;
    GetCellBounds(Col(), Row(), Cell);
    bool Suppressed = false;
    int DataCol = SelectedIndex(), DataRow = DataRowOf(Row());
    if (FSuppressedLines && DataCol >= 0 && DataCol < int(FColumns.size()) && DataRow >= 0 && DataRow < 256)
      if (unsigned char* Flags = FColumns[std::size_t(DataCol)]->RowLineFlags()) Suppressed = (Flags[DataRow] & 1) != 0;
    if (!Cell.IsEmpty() && (!FSuppressedLines || FHasFocus || !Suppressed))
      HLine(SingleStyle(Col()) ? FLineColors->DataColor() : FLineColors->ShadowColor(), Cell.Left, Cell.Right + 1,
            Cell.Bottom);
  }
  // Fixed columns.
  bool ThemedTitles = UseThemedTitles();
  if (Active && FixedCols() > 0 && !FHideAllLines && !ThemedTitles &&
      (!FOptions.Contains(dgRowLinesDisableFixed) || FOptions.Contains(dgTitles))) {
    int FixedRight = Info.Horz.FixedBoundary;
    int Right = FOptions.Contains(dgRowLinesDisableFixed) ? Info.Horz.GridBoundary : FixedRight;
    int LastRow = Info.Vert.LastFullVisibleCell;
    for (int R = TopRow(); R <= LastRow + 1 && R < RowCount() + 1; ++R) {
      bool AfterLast = R > LastRow;
      if (FOptions.Contains(dgRowLinesDisableFixed) && !AfterLast) continue;
      TRect Cell;
      GetCellBounds(0, std::min(R, RowCount() - 1), Cell);
      int Y = AfterLast ? LastBottom - 1 : Cell.Top + RowHeights(R);
      if (AfterLast && !FOptions.Contains(dgTitles)) continue;
      if (!AfterLast && FOptions.Contains(dgHideBottomDataLine)) continue;
      HLine(FLineColors->FixedColor(), 0, Right, Y);
      if (!AfterLast || FPadColumnStyle == pcsPadHeaderAndData) HLine(FLineColors->HighlightColor(), 0, Right, Y + 1);
    }
    if (!FOptions.Contains(dgColLinesDisableFixed)) {
      int Bottom = LastBottom - (FOptions.Contains(dgRowLines) ? 1 : 0);
      int X = 0;
      for (int C = 0; C < FixedCols(); ++C) {
        X += ColWidths(C);
        int Edge = FOptions.Contains(dgColLines) ? X : X - 1;
        VLine(FLineColors->FixedColor(), Edge, TitleBottom, Bottom);
        VLine(FLineColors->HighlightColor(), Edge + 1, TitleBottom, Bottom);
        X += Info.Horz.EffectiveLineWidth;
      }
      if (FOptions.Contains(dgIndicator)) VLine(FLineColors->HighlightColor(), 0, TitleBottom, Bottom);
    }
  }
  // The title row.
  if (FOptions.Contains(dgTitles) && !FHideAllLines && !ThemedTitles) {
    int LineOff = DrawsFixedRowLines() ? 0 : 1;
    for (int C = 0; C < ColCount(); ++C) {
      if (C >= FixedCols() && C < LeftCol()) continue;
      TRect Cell = CellRect(C, 0);
      if (Cell.IsEmpty()) continue;
      int Right = Cell.Left + ColWidths(C);
      String Group = GetColumn(DataColOf(C))->GroupName();
      bool PrevSame = C > 0 && !Group.empty() && GetColumn(DataColOf(C - 1))->GroupName() == Group;
      bool NextSame = C + 1 < ColCount() && !Group.empty() && GetColumn(DataColOf(C + 1))->GroupName() == Group;
      int HeaderBottom = Cell.Top + Cell.Height() / 2;
      HLine(FLineColors->HighlightColor(), Cell.Left, Right, 0);
      VLine(FLineColors->HighlightColor(), Cell.Left, PrevSame ? HeaderBottom + 1 : 0, TitleBottom - LineOff);
      if (!Group.empty() && DataColOf(C) >= 0) {
        HLine(FLineColors->FixedColor(), Cell.Left, Right + (NextSame ? 1 : 0), HeaderBottom - 1);
        HLine(FLineColors->HighlightColor(), Cell.Left, Right + (NextSame ? 1 : 0), HeaderBottom);
      }
      VLine(FLineColors->FixedColor(), Right, NextSame ? HeaderBottom : 0, TitleBottom);
      if (C == ColCount() - 1 && (FPadColumnStyle != pcsPlain || FPaintOptions->HasBackgroundPicture())) {
        HLine(FLineColors->HighlightColor(), Right, ClientWidth(), 0);
        if (FPadColumnStyle == pcsPadHeader) HLine(FLineColors->FixedColor(), Right, ClientWidth(), TitleBottom);
      }
      if (FTitleButtons && DataColOf(C) >= 0) {
        bool PressedHere = FPressedCol == C;
        if (!PressedHere || FPressedCol < 0) VLine(FLineColors->ShadowColor(), Right - 1, NextSame ? HeaderBottom + 1 : 1, TitleBottom);
        HLine(FLineColors->ShadowColor(), Cell.Left + 1, Right, TitleBottom - 1);
      }
    }
    TRect LastTitle = CellRect(ColCount() - 1, 0);
    int TitleRight = LastTitle.IsEmpty() ? Info.Horz.GridBoundary : LastTitle.Right + 1;
    HLine(FLineColors->FixedColor(), 0, std::min(TitleRight, ClientWidth()), TitleBottom);
  }
  // The right edge of the last column.
  if (Active && !FHideAllLines && Info.Horz.LastFullVisibleCell >= ColCount() - 1) {
    TRect Last = CellRect(ColCount() - 1, 0);
    int Limit = FPadColumnStyle == pcsPadHeader ? ClientWidth() - 1 : (Last.IsEmpty() ? 0 : Last.Right);
    bool BothLines = FOptions.Contains(dgRowLines) && FOptions.Contains(dgColLines);
    if (!BothLines) {
      VLine(FLineColors->FixedColor(), Limit, 0, TitleBottom);
      if (FPadColumnStyle != pcsPlain) {
        VLine(DataPen, Limit, TitleBottom + 1, LastBottom);
        VLine(FLineColors->HighlightColor(), Limit + 1, 0, LastBottom);
      }
    }
  }
  PaintPressedTitleButton();
  // The empty area below the last record.
  if (Active && (FPadColumnStyle == pcsPadHeaderAndData || FPaintOptions->HasBackgroundPicture())) {
    int Y = LastBottom;
    TDataSet* Set = FDataLink->DataSet();
    if (Set->IsSequenced() && Set->RecordCount() <= FDataLink->BufferCount()) {
      TRect After;
      GetCellBounds(LeftCol(), std::min(FTitleOffset + FDataLink->RecordCount(), RowCount() - 1), After);
      if (FTitleOffset + FDataLink->RecordCount() >= RowCount()) Y = After.Bottom + 1;
      else Y = After.Top;
    }
    if (Y < ClientHeight()) {
      TRect LeftCell = CellRect(LeftCol(), std::max(TopRow(), 0));
      int LeftEdge = LeftCell.IsEmpty() ? Info.Horz.FixedBoundary : LeftCell.Left;
      TRect Last = CellRect(ColCount() - 1, 0);
      int Right = Last.IsEmpty() ? ClientWidth() : Last.Right;
      HLine(FLineColors->FixedColor(), 0, LeftEdge, Y - 1);
      HLine(DataPen, LeftEdge, Right, Y - 1);
      if (!FHideAllLines) {
        VLine(FLineColors->HighlightColor(), 0, Y, ClientHeight());
        HLine(FLineColors->HighlightColor(), 0, ClientWidth(), Y);
      }
      if (FPadColumnStyle == pcsPadHeaderAndData)
        PaintFixedColumnBackground(TRect(1, Y + 1, ClientWidth(), ClientHeight()), -1, FTitleColor);
    }
  }
}

void TqvCustomDBGrid::PaintPadColumn(const TGridDrawInfo& Info) {
  if (Info.Horz.LastFullVisibleCell < ColCount() - 1) return;
  TRect Last = CellRect(ColCount() - 1, 0);
  if (Last.IsEmpty()) return;
  int Left = Last.Right + (FOptions.Contains(dgColLines) ? 1 : 0);
  if (Left >= ClientWidth()) return;
  int TitleBottom = FOptions.Contains(dgTitles) ? RowHeights(0) : 0;
  bool Picture = FPaintOptions->HasBackgroundPicture();
  if (FPadColumnStyle == pcsPadHeaderAndData || Picture) {
    PaintFixedColumnBackground(TRect(Left - (FHideAllLines ? 1 : 0), 0, ClientWidth(), ClientHeight()), -1, FTitleColor);
    if (!FHideAllLines) VLine(FLineColors->HighlightColor(), Left, 0, ClientHeight());
  } else if (FPadColumnStyle == pcsPadHeader) {
    if (!FOptions.Contains(dgTitles)) return;
    int Split = TitleBottom + (DrawsFixedRowLines() ? 1 : 0);
    PaintFixedColumnBackground(TRect(Left, 0, ClientWidth(), Split), -1, FTitleColor);
    PaintDataRowBackground(TRect(Left, Split, ClientWidth(), ClientHeight()), -1, Color());
    if (FOptions.Contains(dgColLines) && !FHideAllLines)
      VLine(FLineColors->HighlightColor(), Left, 0, Info.Vert.GridBoundary + 1);
  }
}

void TqvCustomDBGrid::PaintPressedTitleButton() {
  if (FPressedCol < 0 || !FTitleButtons || !FOptions.Contains(dgTitles) || FDragTookPlace) return;
  if (UseThemedTitles()) return;
  TRect R;
  if (FPressedOnGroup) {
    int Last = FPressedCol, First = FPressedCol;
    GetGroupHeaderRect(FPressedCol, 0, R, true, Last, First);
    R.Bottom -= 1;
  } else {
    GetTitleTextRect(FPressedCol, 0, R);
  }
  if (!DrawsFixedRowLines()) R.Bottom -= 2;
  if (R.IsEmpty()) return;
  HLine(clBlack, R.Left, R.Right, R.Top);
  VLine(clBlack, R.Left, R.Top, R.Bottom);
  VLine(TColor(RGB(128, 128, 128)), R.Left + 1, R.Top + 1, R.Bottom);
  if (!FPressedOnGroup) HLine(TColor(RGB(128, 128, 128)), R.Left + 1, R.Right, R.Top + 1);
}

// --- Footer -----------------------------------------------------------------------------------

void TqvCustomDBGrid::GetFooterRect(TRect& Rect) const {
  RECT Client{};
  if (HandleAllocated()) ::GetClientRect(FHandle, &Client);
  Rect.Left = 0;
  Rect.Right = Client.right;
  if (FOptions.Contains(dgShowFooter)) Rect.Top = ClientRect().Bottom;
  else Rect.Top = Client.bottom + 3;
  Rect.Bottom = Rect.Top + (FFooterHeight != 0 ? FFooterHeight - 1 : FFooterTextHeight + 6);
  if (FOptions.Contains(dgFooter3DCells)) Rect.Bottom += 2;
}

void TqvCustomDBGrid::InvalidateFooter() {
  if (!HandleAllocated()) return;
  TRect R;
  GetFooterRect(R);
  R.Bottom += 1;
  ::InvalidateRect(FHandle, AsRECT(R), FALSE);
}

void TqvCustomDBGrid::PaintFooter(int LastRight) {
  TRect Footer;
  GetFooterRect(Footer);
  if (FPadColumnStyle == pcsPlain) Footer.Right = LastRight;
  PaintFixedColumnBackground(Footer, -1, FFooterColor);
  VLine(FLineColors->HighlightColor(), Footer.Left, Footer.Top - 1, Footer.Bottom);
  if (FPadColumnStyle == pcsPlain || (FPadColumnStyle == pcsPadHeader && BorderStyle() != bsNone)) {
    HLine(clBlack, Footer.Left, Footer.Right, Footer.Top - 1);
    VLine(clBlack, Footer.Right - 1, Footer.Top - 1, Footer.Bottom);
    HLine(FLineColors->HighlightColor(), Footer.Left, Footer.Right - 1, Footer.Top);
    HLine(clBlack, Footer.Left, Footer.Right, Footer.Bottom - 2);
  }
  HLine(clBlack, Footer.Left, Footer.Right, Footer.Bottom - 1);
  if (!FDataLink->Active()) return;
  for (int C = FIndicatorOffset; C < FixedCols(); ++C) PaintFooterCell(C, Footer);
  for (int C = LeftCol(); C < ColCount(); ++C) PaintFooterCell(C, Footer);
}

void TqvCustomDBGrid::PaintFooterCell(int ACol, const TRect& Footer) {
  TRect Cell = CellRect(ACol, 0);
  if (Cell.Width() <= 0) return;
  TCanvas* Canvas = GetPaintCanvas();
  TqvColumn* Column = GetColumn(DataColOf(ACol));
  String Text = Column->FooterValue();
  TField* Field = GetFieldByDataCol(DataColOf(ACol));
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(FFooterCellColor);
  Canvas->SetFont(Font());
  TRect R(Cell.Left, Footer.Top + 2, Cell.Left + ColWidths(ACol), Footer.Bottom - 2);
  bool Default = true;
  if (OnDrawFooterCell) OnDrawFooterCell(this, Canvas, R, Field, Text, Default);
  if (!Default || Text.empty()) return;
  PaintFixedColumnBackground(R, -1, clNone);
  R.Top = Footer.Top + 1;
  R.Bottom = Footer.Bottom - 1;
  R.Left -= 1;
  if (ACol == ColCount() - 1 && FPadColumnStyle != pcsPlain && R.Right + 1 <= ClientWidth()) R.Right += 1;
  Canvas->Brush()->SetColor(FFooterCellColor);
  Canvas->FillRect(TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
  PaintFooterCellFrame(R);
  int TextH = Canvas->TextHeight("A");
  TRect TextRect = R;
  TextRect.Top = R.Top + (R.Height() - TextH) / 2;
  TextRect.Left = R.Left + 5;
  TextRect.Right = TextRect.Left + ColWidths(ACol) - 7;
  UINT Format = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  TAlignment Alignment = Field != nullptr ? Field->Alignment() : taLeftJustify;
  Format |= Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
  HDC DC = Canvas->Handle();
  TSelectedObject FontSelected(DC, Canvas->Font()->Handle());
  SetTextColor(DC, ColorToRGB(Canvas->Font()->Color()));
  int OldMode = SetBkMode(DC, TRANSPARENT);
  DrawTextA(DC, Text.c_str(), int(Text.size()), AsRECT(TextRect), Format);
  SetBkMode(DC, OldMode);
}

void TqvCustomDBGrid::PaintFooterCellFrame(const TRect& R) {
  VLine(FLineColors->ShadowColor(), R.Left, R.Top + 1, R.Bottom - 1);
  HLine(FLineColors->ShadowColor(), R.Left, R.Right - 1, R.Top);
  if (FOptions.Contains(dgFooter3DCells)) {
    VLine(clBlack, R.Left + 1, R.Top + 1, R.Bottom - 2);
    HLine(clBlack, R.Left + 1, R.Right - 2, R.Top + 1);
    HLine(FLineColors->HighlightColor(), R.Left, R.Right, R.Bottom - 1);
    VLine(FLineColors->HighlightColor(), R.Right - 1, R.Top, R.Bottom);
    HLine(clBtnFace, R.Left + 1, R.Right - 1, R.Bottom - 2);
    VLine(clBtnFace, R.Right - 2, R.Top + 1, R.Bottom - 1);
  } else {
    HLine(FLineColors->HighlightColor(), R.Left, R.Right, R.Bottom - 1);
    VLine(FLineColors->HighlightColor(), R.Right - 1, R.Top, R.Bottom);
  }
}

// --- The indicator button ---------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TqvIButton)

void TqvIButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int OldWidth = Width(), OldHeight = Height();
  TSpeedButton::SetBounds(ALeft > 0 ? 0 : ALeft, ATop > 0 ? 0 : ATop, AWidth, AHeight);
  auto* Grid = dynamic_cast<TqvCustomDBGrid*>(Parent());
  if (Grid != nullptr && (Width() != OldWidth || Height() != OldHeight) && !Grid->ComponentState().Contains(csLoading)) {
    Grid->FIndicatorWidth = Width() - 1;
    Grid->RebuildLayout();
  }
}

void TqvIButton::Loaded() {
  TSpeedButton::Loaded();
  if (auto* Grid = dynamic_cast<TqvCustomDBGrid*>(Parent())) {
    Grid->FIndicatorButton = this;
    Grid->FIndicatorWidth = Width() - 1;
  }
}
