// This file implements the grid base of the class library: TCustomGrid (a self-drawn, scrolling
// grid of cells with fixed rows and columns, sizing and moving by mouse, selection and the
// in-place editor protocol), TDrawGrid (the grid with its drawing and editing events),
// TStringGrid (a grid holding a string and an object per cell) and TInplaceEdit (the editor the
// grid places over its current cell).
// Implemented in GridLayout.cpp (geometry and selection), GridPaint.cpp, GridInput.cpp (keys and
// mouse), GridEditor.cpp (TInplaceEdit and the editor protocol) and StringGrid.cpp (TDrawGrid,
// TStringGrid).
#pragma once

#include <vector>

#include "Messages.h"

#include "Controls.h"
#include "Mask.h"
#include "StdCtrls.h"

class TCustomGrid;

// A grid index or dimension out of range.
VELBOR_EXCEPTION(EInvalidGridOperation, EInvalidOperation)

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
  goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking
};
VELBOR_ENUM(TGridOption, "goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
            "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing", "goTabs",
            "goRowSelect", "goAlwaysShowEditor", "goThumbTracking")
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
VELBOR_ENUM(TGridDrawStateItem, "gdSelected", "gdFocused", "gdFixed")
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
VELBOR_ENUM(TGridState, "gsNormal", "gsSelecting", "gsRowSizing", "gsColSizing", "gsRowMoving", "gsColMoving")

enum TGridScrollDirection { sdLeft, sdRight, sdUp, sdDown };
using TGridScrollDirections = TSet<TGridScrollDirection>;

struct TGridCoord {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells, both corners included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TGridCoord TopLeft() const { return TGridCoord{Left, Top}; }
  constexpr TGridCoord BottomRight() const { return TGridCoord{Right, Bottom}; }
  constexpr bool Contains(int ACol, int ARow) const {
    return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
  }
  constexpr bool operator==(const TGridRect&) const = default;
};

// The block spanned by two corners, in either order.
TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2);

// The layout of one axis as drawn now: where the fixed cells end, where the cells end, which cell
// is the last fully visible one. Extents come from the grid's widths (heights) by index.
struct TGridAxisDrawInfo {
  int EffectiveLineWidth = 0;
  int FixedBoundary = 0;       // pixel just after the fixed cells and their lines
  int GridBoundary = 0;        // pixel just after the last cell drawn (at most GridExtent)
  int GridExtent = 0;          // the client width (height)
  int LastFullVisibleCell = 0;
  int FullVisBoundary = 0;     // pixel just after the last fully visible cell and its line
  int FixedCellCount = 0;
  int FirstGridCell = 0;       // LeftCol (TopRow)
  int GridCellCount = 0;       // ColCount (RowCount)
  const std::vector<int>* Extents = nullptr;
  int GetExtent(int Index) const { return (*Extents)[std::size_t(Index)]; }
};

struct TGridDrawInfo {
  TGridAxisDrawInfo Horz;
  TGridAxisDrawInfo Vert;
};

// The editor the grid moves over its current cell: a masked edit loaded from and written back to
// the grid through GetEditMask/GetEditText/SetEditText. Keys that move between cells go to the
// grid.
class TInplaceEdit : public TCustomMaskEdit {
  VELBOR_DECLARE_CLASS(TInplaceEdit, TCustomMaskEdit)
  friend class TCustomGrid;

 public:
  explicit TInplaceEdit(TComponent* AOwner);

  // Properties.
  TCustomGrid* Grid() const { return FGrid; }
  // Whether the editor shows now (the grid shows and hides it, whatever Visible says).
  bool Visible() const;

  // Operations.
  void Deselect();
  void Hide();
  // Places the editor over Loc (grid client coordinates), shows it, and focuses it when the grid
  // has the focus.
  void Move(const TRect& Loc);
  // Follows the current cell after a scroll, keeping the editor shown.
  void UpdateLoc(const TRect& Loc);
  bool PosEqual(const TRect& Rect) const;
  void SetFocus() override;
  void Invalidate() override;
  // Puts back the text the editor was loaded with; the grid gets it back too.
  void Reset() override;

 protected:
  // Overridables.
  // The window got new bounds: the text margins follow.
  virtual void BoundsChanged();
  // Loads the editor with the current cell's mask, text and limit.
  virtual void UpdateContents();
  // The text changed: the grid gets it at once.
  void Change() override;
  bool EditCanModify() override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void CreateParams(TCreateParams& Params) override;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMGetDlgCode(TMessage& Message);
  void CMShowingChanged(TMessage& Message);

 private:
  void SetGrid(TCustomGrid* Value) { FGrid = Value; }
  void InternalMove(const TRect& Loc, bool Redraw);
  // Hands a key to the grid and consumes it.
  void SendToParent(WORD& Key, TShiftState Shift);

  TCustomGrid* FGrid = nullptr;
  String FLoadedText;
  bool FLoading = false;
};

class TCustomGrid : public TCustomControl {
  VELBOR_DECLARE_CLASS(TCustomGrid, TCustomControl)
  friend class TInplaceEdit;

 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // Properties.
  int ColCount() const { return int(FColWidths.size()); }
  void SetColCount(int Value);
  int RowCount() const { return int(FRowHeights.size()); }
  void SetRowCount(int Value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  bool TabStops(int Index) const;
  void SetTabStops(int Index, bool Value);
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TGridOptions Options() const { return FOptions; }
  virtual void SetOptions(TGridOptions Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
  int Col() const { return FCurrent.X; }
  void SetCol(int Value);
  int Row() const { return FCurrent.Y; }
  void SetRow(int Value);
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  int VisibleColCount() const;
  int VisibleRowCount() const;
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
  TGridState GridState() const { return FGridState; }
  // Pixel extent of all the cells with their lines.
  int GridWidth() const;
  int GridHeight() const;

  // Operations.
  // The cell's rectangle in client coordinates; empty when it is not on screen.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under a client point; (-1, -1) outside every cell.
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  void CalcDrawInfo(TGridDrawInfo& DrawInfo) const;
  // Like CalcDrawInfo, for the fixed cells only (the scrolling part taken as empty).
  void CalcFixedInfo(TGridDrawInfo& DrawInfo) const;
  // Moves a column (row) with its width and tab stop; ColumnMoved (RowMoved) follows.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  void ShowEditor();
  void HideEditor();
  void InvalidateCell(int ACol, int ARow);
  void InvalidateCol(int ACol);
  void InvalidateRow(int ARow);
  void InvalidateGrid();
  void InvalidateEditor();
  // Whether the grid or its editor holds the focus.
  bool IsActiveControl() const;

 protected:
  // Overridables: the grid's hooks, named and used as the platform's are.
  virtual bool CanEditAcceptKey(char Key);
  virtual bool CanGridAcceptKey(WORD Key, TShiftState Shift);
  virtual bool CanEditModify();
  virtual bool CanEditShow();
  virtual TInplaceEdit* CreateEditor();
  virtual String GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const String& Value);
  virtual String GetEditMask(int ACol, int ARow);
  virtual int GetEditLimit();
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  virtual bool SelectCell(int ACol, int ARow);
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  virtual void TopLeftChanged();
  virtual void ColumnMoved(int FromIndex, int ToIndex);
  virtual void RowMoved(int FromIndex, int ToIndex);
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                               TGridDrawInfo& FixedInfo);
  virtual void TimedScroll(TGridScrollDirections Direction);
  // The XOR line that follows the mouse while sizing or moving.
  virtual void DrawSizingLine(const TGridDrawInfo& DrawInfo);
  virtual void DrawMove();
  // Column moving by mouse: whether a drag may start at Origin, and where it may end.
  virtual bool BeginColumnDrag(int& Origin, int& Destination, TPoint MousePt);
  virtual bool CheckColumnDrag(int& Origin, int& Destination, TPoint MousePt);
  virtual bool EndColumnDrag(int& Origin, int& Destination, TPoint MousePt);
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The wheel moves the current row; true: handled.
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  // Leaving the grid ends editing (unless the editor always shows).
  void DoExit() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;

  // Cell movement.
  // Makes (ACol, ARow) current (asking SelectCell), keeps the anchor or moves it, shows it.
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
  void MoveTopLeft(int ALeft, int ATop);
  // Scrolls so that the cell is fully visible.
  void ClampInView(const TGridCoord& Coord);
  // Whether (X, Y) lies on a boundary that the options allow to size.
  bool Sizing(int X, int Y);
  // The block of cells in client coordinates, clipped to what is on screen.
  TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
  void InvalidateRect(const TGridRect& ARect);
  void UpdateScrollPos();
  void UpdateScrollRange();
  void UpdateEdit();
  void UpdateText();
  void HideEdit();

  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMGetDlgCode(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void CMShowingChanged(TMessage& Message);

  TGridState FGridState = gsNormal;
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  TInplaceEdit* FInplaceEdit = nullptr;
  int FInplaceCol = -1;
  int FInplaceRow = -1;
  bool FEditorMode = false;
  bool FCanEditModify = true;

 private:
  void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) const;
  void CalcAxis(TGridAxisDrawInfo& Axis, const std::vector<int>& Extents, int FixedCount, int First, int Extent,
                int LineWidth) const;
  // Client position of a cell's leading edge along one axis, or -1 when not on screen.
  int LinePos(const TGridAxisDrawInfo& Axis, int Index) const;
  int CellAt(const TGridAxisDrawInfo& Axis, int Pos) const;
  void ChangeSize(int NewColCount, int NewRowCount);
  void SelectionMoved(const TGridRect& OldSel);
  TGridCoord MaxTopLeft() const;
  void ScrollAxis(bool Horz, int Code, int ThumbPos);
  void DrawCells(int ACol, int ARow, int StartX, int StartY, int StopX, int StopY, TGridDrawState IncludeDrawState);
  void DrawLines(const TGridDrawInfo& DrawInfo);
  void StopTracking();

  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  std::vector<bool> FTabStops;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  TGridOptions FOptions;
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  TColor FFixedColor = clBtnFace;
  bool FDefaultDrawing = true;
  // Sizing and moving by mouse.
  int FSizingIndex = 0;
  int FSizingPos = 0;
  int FSizingOfs = 0;
  int FMoveIndex = 0;
  int FMovePos = 0;
  bool FLineDrawn = false;
  TPoint FMoveStart;
  bool FMoveStarted = false;
  // Selecting with the mouse held outside the cells scrolls on a timer.
  bool FTimerRunning = false;
  TGridScrollDirections FScrollDirections;
  bool FUpdatingScrollBars = false;
};

using TSelectCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = TEvent<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TSetEditEvent = TEvent<void(TObject* Sender, int ACol, int ARow, const String& Value)>;
using TMovedEvent = TEvent<void(TObject* Sender, int FromIndex, int ToIndex)>;

// The grid with its events: drawing, selection, editing and moving are the program's.
class TDrawGrid : public TCustomGrid {
  VELBOR_DECLARE_CLASS(TDrawGrid, TCustomGrid)
 public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  String GetEditMask(int ACol, int ARow) override;
  String GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const String& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void TopLeftChanged() override;
};

// A grid holding a string and an object pointer (not owned) per cell; the default drawing writes
// the string.
class TStringGrid : public TDrawGrid {
  VELBOR_DECLARE_CLASS(TStringGrid, TDrawGrid)
 public:
  explicit TStringGrid(TComponent* AOwner);

  String Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const String& Value);
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  String GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const String& Value) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;

 private:
  struct TCell {
    String Text;
    TObject* Object = nullptr;
  };
  const TCell* FindCell(int ACol, int ARow) const;
  TCell& CellAt(int ACol, int ARow);
  // Rows of cells; a row (or cell) not yet written is absent.
  std::vector<std::vector<TCell>> FData;
  bool FEditUpdate = false;
};

// Registers the grid classes with the form reader.
void RegisterGrids();
