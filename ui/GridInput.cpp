// This file implements the input of TCustomGrid: keyboard navigation (arrows, pages, Home/End,
// Tab between cells), the mouse (selecting, sizing columns and rows, moving them), scrolling on a
// timer while selecting outside the cells, the wheel, and the grid's message dispatch.
#include <algorithm>

#include "Forms.h"
#include "Grids.h"

namespace {
const UINT_PTR ScrollTimerId = 1;
}  // namespace

// --- Keyboard ---------------------------------------------------------------------------------

bool TCustomGrid::CanGridAcceptKey(WORD, TShiftState) { return true; }

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (!CanGridAcceptKey(Key, Shift)) {
    Key = 0;
    return;
  }
  TGridDrawInfo d;
  CalcDrawInfo(d);
  bool rowSelect = FOptions.Contains(goRowSelect);
  int pageWidth = std::max(d.Horz.LastFullVisibleCell - LeftCol() + 1, 1);
  int pageHeight = std::max(d.Vert.LastFullVisibleCell - TopRow() + 1, 1);
  TGridCoord topLeft = FTopLeft;
  TGridCoord current = FCurrent;
  bool moveAnchor = !Shift.Contains(ssShift);
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_UP: --topLeft.Y; break;
      case VK_DOWN: ++topLeft.Y; break;
      case VK_LEFT:
        if (!rowSelect) {
          current.X -= pageWidth;
          topLeft.X -= pageWidth;
        }
        break;
      case VK_RIGHT:
        if (!rowSelect) {
          current.X += pageWidth;
          topLeft.X += pageWidth;
        }
        break;
      case VK_PRIOR: current.Y = TopRow(); break;
      case VK_NEXT: current.Y = d.Vert.LastFullVisibleCell; break;
      case VK_HOME:
        current.X = FFixedCols;
        current.Y = FFixedRows;
        break;
      case VK_END:
        current.X = ColCount() - 1;
        current.Y = RowCount() - 1;
        break;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_UP: --current.Y; break;
      case VK_DOWN: ++current.Y; break;
      case VK_LEFT:
        if (rowSelect) --topLeft.X;
        else --current.X;
        break;
      case VK_RIGHT:
        if (rowSelect) ++topLeft.X;
        else ++current.X;
        break;
      case VK_NEXT:
        current.Y += pageHeight;
        topLeft.Y += pageHeight;
        break;
      case VK_PRIOR:
        current.Y -= pageHeight;
        topLeft.Y -= pageHeight;
        break;
      case VK_HOME:
        if (rowSelect) current.Y = FFixedRows;
        else current.X = FFixedCols;
        break;
      case VK_END:
        if (rowSelect) current.Y = RowCount() - 1;
        else current.X = ColCount() - 1;
        break;
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) {
          // To the next (previous) cell whose column is a tab stop, wrapping at the row's ends
          // and at the grid's.
          bool back = Shift.Contains(ssShift);
          do {
            if (back) {
              if (--current.X < FFixedCols) {
                current.X = ColCount() - 1;
                if (--current.Y < FFixedRows) current.Y = RowCount() - 1;
              }
            } else if (++current.X >= ColCount()) {
              current.X = FFixedCols;
              if (++current.Y >= RowCount()) current.Y = FFixedRows;
            }
          } while (!FTabStops[std::size_t(current.X)] && !(current == FCurrent));
          moveAnchor = true;
        }
        break;
      case VK_F2: SetEditorMode(true); break;
      default: break;
    }
  }
  TGridCoord maxTopLeft = MaxTopLeft();
  topLeft.X = std::clamp(topLeft.X, FFixedCols, std::max(maxTopLeft.X, FFixedCols));
  topLeft.Y = std::clamp(topLeft.Y, FFixedRows, std::max(maxTopLeft.Y, FFixedRows));
  current.X = std::clamp(current.X, FFixedCols, ColCount() - 1);
  current.Y = std::clamp(current.Y, FFixedRows, RowCount() - 1);
  if (!(topLeft == FTopLeft)) MoveTopLeft(topLeft.X, topLeft.Y);
  if (!(current == FCurrent)) FocusCell(current.X, current.Y, moveAnchor);
}

void TCustomGrid::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  // Return switches the editor on and off (and so commits what was typed).
  if (!FOptions.Contains(goAlwaysShowEditor) && Key == '\r') {
    if (FEditorMode) HideEditor();
    else ShowEditor();
    Key = 0;
  }
}

void TCustomGrid::WMChar(TMessage& Message) {
  auto ch = static_cast<unsigned char>(Message.WParam);
  // A character typed on the grid opens the editor and goes to it.
  if (FOptions.Contains(goEditing) && (ch == '\b' || ch >= 32)) {
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->HandleAllocated() && FInplaceEdit->Visible()) {
      PostMessageA(FInplaceEdit->Handle(), WM_CHAR, Message.WParam, Message.LParam);
    }
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::CMWantSpecialKey(TMessage& Message) {
  // Return toggles the editor; the form's default button does not get it.
  if (Message.WParam == VK_RETURN && FOptions.Contains(goEditing) && !FOptions.Contains(goAlwaysShowEditor) &&
      !FOptions.Contains(goRowSelect)) {
    Message.Result = 1;
  }
}

// --- Mouse ------------------------------------------------------------------------------------

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                  TGridDrawInfo& FixedInfo) {
  State = gsNormal;
  Index = -1;
  TGridDrawInfo d;
  CalcDrawInfo(d);
  CalcFixedInfo(FixedInfo);
  // A boundary answers a few pixels on either side of its line.
  auto axisState = [&](const TGridAxisDrawInfo& Axis, int Pos, TGridState NewState) {
    int range = Axis.EffectiveLineWidth;
    int back = 0;
    if (range < 7) {
      range = 7;
      back = (range - Axis.EffectiveLineWidth) / 2;
    }
    auto test = [&](int I, int& Line) {
      Line += Axis.GetExtent(I);
      if (Pos >= Line - back && Pos <= Line - back + range) {
        State = NewState;
        SizingPos = Line;
        SizingOfs = Line - Pos;
        Index = I;
        return true;
      }
      Line += Axis.EffectiveLineWidth;
      return false;
    };
    int line = 0;
    for (int i = 0; i < Axis.FixedCellCount; ++i) {
      if (test(i, line)) return;
    }
    for (int i = Axis.FirstGridCell; i < Axis.GridCellCount && line < Axis.GridExtent; ++i) {
      if (test(i, line)) return;
    }
  };
  if (FOptions.Contains(goColSizing) && Y >= 0 && Y < FixedInfo.Vert.GridBoundary) axisState(d.Horz, X, gsColSizing);
  if (State == gsNormal && FOptions.Contains(goRowSizing) && X >= 0 && X < FixedInfo.Horz.GridBoundary) {
    axisState(d.Vert, Y, gsRowSizing);
  }
}

bool TCustomGrid::Sizing(int X, int Y) {
  TGridState state;
  int index, pos, ofs;
  TGridDrawInfo fixedInfo;
  CalcSizingState(X, Y, state, index, pos, ofs, fixedInfo);
  return state != gsNormal;
}

bool TCustomGrid::BeginColumnDrag(int&, int&, TPoint) { return true; }

bool TCustomGrid::CheckColumnDrag(int& Origin, int& Destination, TPoint) {
  return Origin >= FFixedCols && Destination >= FFixedCols;
}

bool TCustomGrid::EndColumnDrag(int&, int&, TPoint) { return true; }

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!ComponentState().Contains(csDesigning) && CanFocus()) {
    SetFocus();
    if (!IsActiveControl()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button == mbLeft && !Shift.Contains(ssDouble)) {
    TGridDrawInfo fixedInfo;
    TGridState state;
    CalcSizingState(X, Y, state, FSizingIndex, FSizingPos, FSizingOfs, fixedInfo);
    if (state != gsNormal) {
      FGridState = state;
      TGridDrawInfo d;
      CalcDrawInfo(d);
      DrawSizingLine(d);
    } else {
      TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= 0) {
        if (FOptions.Contains(goColMoving) && cell.Y < FFixedRows && cell.X >= FFixedCols) {
          FMoveIndex = cell.X;
          FMovePos = cell.X;
          if (BeginColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y))) {
            FGridState = gsColMoving;
            FMoveStart = TPoint(X, Y);
          }
        } else if (FOptions.Contains(goRowMoving) && cell.X < FFixedCols && cell.Y >= FFixedRows) {
          FMoveIndex = cell.Y;
          FMovePos = cell.Y;
          FGridState = gsRowMoving;
          FMoveStart = TPoint(X, Y);
        } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
          if (FOptions.Contains(goEditing) && cell == FCurrent && !Shift.Contains(ssShift)) {
            // A click on the current cell opens its editor.
            ShowEditor();
          } else {
            MoveColRow(cell.X, cell.Y, !Shift.Contains(ssShift), true);
            UpdateEdit();
            Click();
            FGridState = gsSelecting;
            SetTimer(FHandle, ScrollTimerId, 60, nullptr);
            FTimerRunning = true;
          }
        }
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  switch (FGridState) {
    case gsSelecting: {
      TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent)) MoveColRow(cell.X, cell.Y, false, false);
      break;
    }
    case gsColSizing:
    case gsRowSizing: {
      TGridDrawInfo d;
      CalcDrawInfo(d);
      if (FLineDrawn) DrawSizingLine(d);
      FSizingPos = (FGridState == gsColSizing ? X : Y) + FSizingOfs;
      DrawSizingLine(d);
      break;
    }
    case gsColMoving:
    case gsRowMoving: {
      TGridCoord cell = MouseCoord(X, FGridState == gsColMoving ? 0 : Y);
      int pos = FGridState == gsColMoving ? cell.X : cell.Y;
      if (FGridState == gsRowMoving) pos = MouseCoord(0, Y).Y;
      int fixed = FGridState == gsColMoving ? FFixedCols : FFixedRows;
      if (pos >= fixed && pos != FMovePos) {
        if (FLineDrawn) DrawMove();
        FMovePos = pos;
        if (FGridState == gsColMoving) CheckColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y));
        DrawMove();
      }
      break;
    }
    default: break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  switch (FGridState) {
    case gsSelecting:
      MouseMove(Shift, X, Y);
      StopTracking();
      UpdateEdit();
      break;
    case gsColSizing:
    case gsRowSizing: {
      TGridDrawInfo d;
      CalcDrawInfo(d);
      if (FLineDrawn) DrawSizingLine(d);
      bool cols = FGridState == gsColSizing;
      TRect cell = cols ? CellRect(FSizingIndex, 0) : CellRect(0, FSizingIndex);
      FGridState = gsNormal;
      int size = FSizingPos - (cols ? cell.Left : cell.Top);
      if (!cell.IsEmpty() && size > 1) {
        if (cols) SetColWidths(FSizingIndex, size);
        else SetRowHeights(FSizingIndex, size);
      }
      break;
    }
    case gsColMoving:
    case gsRowMoving: {
      if (FLineDrawn) DrawMove();
      bool cols = FGridState == gsColMoving;
      FGridState = gsNormal;
      if (cols) {
        if (EndColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y)) && FMoveIndex != FMovePos) MoveColumn(FMoveIndex, FMovePos);
      } else if (FMoveIndex != FMovePos) {
        MoveRow(FMoveIndex, FMovePos);
      }
      break;
    }
    default: break;
  }
  FGridState = gsNormal;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::StopTracking() {
  if (FTimerRunning && HandleAllocated()) KillTimer(FHandle, ScrollTimerId);
  FTimerRunning = false;
  FGridState = gsNormal;
}

void TCustomGrid::WMTimer(TMessage& Message) {
  if (Message.WParam != ScrollTimerId || FGridState != gsSelecting) {
    TCustomControl::Dispatch(Message);
    return;
  }
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(FHandle, &p);
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridScrollDirections dirs;
  if (p.x < d.Horz.FixedBoundary) dirs.Include(sdLeft);
  else if (p.x > d.Horz.FullVisBoundary) dirs.Include(sdRight);
  if (p.y < d.Vert.FixedBoundary) dirs.Include(sdUp);
  else if (p.y > d.Vert.FullVisBoundary) dirs.Include(sdDown);
  if (!dirs.Empty()) TimedScroll(dirs);
}

void TCustomGrid::TimedScroll(TGridScrollDirections Direction) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord maxTopLeft = MaxTopLeft();
  TGridCoord topLeft = FTopLeft;
  TGridCoord current = FCurrent;
  if (Direction.Contains(sdLeft) && topLeft.X > FFixedCols) current.X = --topLeft.X;
  if (Direction.Contains(sdRight) && topLeft.X < maxTopLeft.X) {
    ++topLeft.X;
    current.X = std::min(d.Horz.LastFullVisibleCell + 1, ColCount() - 1);
  }
  if (Direction.Contains(sdUp) && topLeft.Y > FFixedRows) current.Y = --topLeft.Y;
  if (Direction.Contains(sdDown) && topLeft.Y < maxTopLeft.Y) {
    ++topLeft.Y;
    current.Y = std::min(d.Vert.LastFullVisibleCell + 1, RowCount() - 1);
  }
  if (topLeft == FTopLeft) return;
  MoveTopLeft(topLeft.X, topLeft.Y);
  MoveColRow(current.X, current.Y, false, false);
}

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState, TPoint) {
  if (Row() < RowCount() - 1) SetRow(Row() + 1);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState, TPoint) {
  if (Row() > FFixedRows) SetRow(Row() - 1);
  return true;
}

// --- Messages ---------------------------------------------------------------------------------

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_CANCELMODE: CMCancelMode(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TCustomGrid::DoExit() {
  TCustomControl::DoExit();
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

void TCustomGrid::WMSetCursor(TMessage& Message) {
  TWMSetCursor m(Message);
  if (m.HitTest() == HTCLIENT && FGridState == gsNormal && Screen) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    TGridState state;
    int index, pos, ofs;
    TGridDrawInfo fixedInfo;
    CalcSizingState(p.x, p.y, state, index, pos, ofs, fixedInfo);
    if (state != gsNormal) {
      ::SetCursor(Screen->Cursors(state == gsColSizing ? crHSplit : crVSplit));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGrid::WMSetFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  InvalidateRect(Selection());
  // Back from the editor, or into a grid that keeps its editor shown.
  if (FInplaceEdit == nullptr || !FInplaceEdit->Visible()) UpdateEdit();
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  InvalidateRect(Selection());
  HWND to = reinterpret_cast<HWND>(Message.WParam);
  if (FInplaceEdit && FInplaceEdit->HandleAllocated() && to != FInplaceEdit->Handle()) FInplaceEdit->Hide();
}

void TCustomGrid::WMCancelMode(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FLineDrawn) {
    if (FGridState == gsColMoving || FGridState == gsRowMoving) {
      DrawMove();
    } else {
      TGridDrawInfo d;
      CalcDrawInfo(d);
      DrawSizingLine(d);
    }
  }
  StopTracking();
}

void TCustomGrid::CMCancelMode(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FGridState != gsNormal) {
    TMessage m{WM_CANCELMODE, 0, 0, 0};
    WMCancelMode(m);
  }
}

void TCustomGrid::CMFontChanged(TMessage& Message) {
  if (FInplaceEdit) FInplaceEdit->SetFont(Font());
  TCustomControl::Dispatch(Message);
}

void TCustomGrid::CMShowingChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Showing()) UpdateScrollRange();
}
