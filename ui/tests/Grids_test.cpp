// Tests of the grids on the virtual desktop: cell geometry and hit testing, keyboard navigation,
// scrolling, sizing and moving columns with the mouse, range selection, the in-place editor, and
// the cells DrawCell is asked to draw with their states.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "Format.h"
#include "Grids.h"
#include "TestForms.h"

namespace {

// A string grid that records what the grid base asks of it.
class TRecordingGrid : public TStringGrid {
 public:
  explicit TRecordingGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
  struct TDrawn {
    int Col;
    int Row;
    TGridDrawState State;
  };
  std::vector<TDrawn> Drawn;
  std::vector<std::tuple<int, int, String>> EditTexts;
  std::vector<std::pair<int, int>> Moves;
  int TopLeftChanges = 0;
  int ColWidthChanges = 0;

  const TDrawn* DrawnAt(int ACol, int ARow) const {
    for (const TDrawn& d : Drawn) {
      if (d.Col == ACol && d.Row == ARow) return &d;
    }
    return nullptr;
  }

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
    Drawn.push_back({ACol, ARow, AState});
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
  void SetEditText(int ACol, int ARow, const String& Value) override {
    EditTexts.emplace_back(ACol, ARow, Value);
    TStringGrid::SetEditText(ACol, ARow, Value);
  }
  void ColumnMoved(int FromIndex, int ToIndex) override {
    Moves.emplace_back(FromIndex, ToIndex);
    TStringGrid::ColumnMoved(FromIndex, ToIndex);
  }
  void TopLeftChanged() override {
    ++TopLeftChanges;
    TStringGrid::TopLeftChanged();
  }
  void ColWidthsChanged() override {
    ++ColWidthChanges;
    TStringGrid::ColWidthsChanged();
  }
};

// A form made in code, holding a grid and an edit after it in the Tab order.
class TGridForm : public TForm {
 public:
  TGridForm() : TForm(nullptr, true) {
    SetBounds(60, 60, 400, 300);
    Grid = new TRecordingGrid(this);
    Grid->SetParent(this);
    Grid->SetBorderStyle(bsNone);
    Grid->SetScrollBars(ssNone);
    Grid->SetBounds(10, 10, 5 * 50 + 1, 6 * 20 + 1);
    Grid->SetColCount(8);
    Grid->SetRowCount(12);
    Grid->SetDefaultColWidth(49);
    Grid->SetDefaultRowHeight(19);
    for (int c = 0; c < Grid->ColCount(); ++c) {
      for (int r = 0; r < Grid->RowCount(); ++r) Grid->SetCells(c, r, Format("%d:%d", {c, r}));
    }
    After = new TTestEdit(this);
    After->SetParent(this);
    After->SetBounds(10, 200, 100, 21);
  }
  TRecordingGrid* Grid;
  TTestEdit* After;
};

// A key event; the navigation keys are extended keys, as the keyboard sends them.
INPUT KeyEvent(WORD Key, bool Up) {
  INPUT in = KeyInput(Key, Up);
  if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT ||
      Key == VK_UP || Key == VK_DOWN || Key == VK_INSERT || Key == VK_DELETE) {
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  return in;
}

// A key with modifiers, through the system's input queue, and handled.
void PressChord(WORD Key, TShiftState Shift) {
  std::vector<INPUT> inputs;
  if (Shift.Contains(ssCtrl)) inputs.push_back(KeyEvent(VK_CONTROL, false));
  if (Shift.Contains(ssShift)) inputs.push_back(KeyEvent(VK_SHIFT, false));
  inputs.push_back(KeyEvent(Key, false));
  inputs.push_back(KeyEvent(Key, true));
  WORD last = Key;
  if (Shift.Contains(ssShift)) inputs.push_back(KeyEvent(last = VK_SHIFT, true));
  if (Shift.Contains(ssCtrl)) inputs.push_back(KeyEvent(last = VK_CONTROL, true));
  SendKeys(inputs, last);
}

void TypeText(const char* Text) {
  for (const char* p = Text; *p; ++p) {
    SHORT vk = VkKeyScanA(*p);
    PressChord(WORD(vk & 0xFF), (vk & 0x100) ? TShiftState{ssShift} : TShiftState{});
  }
}

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    Form.reset(new TGridForm());
    Grid = Form->Grid;
  }
  void ShowAndFocus() {
    Form->Show();
    Activate(Form.get());
    ASSERT_TRUE(GiveFocus(Grid));
    ASSERT_EQ(GetFocus(), Grid->Handle());
  }
  TPoint ScreenOf(int X, int Y) { return Grid->ClientToScreen(TPoint(X, Y)); }
  void TearDown() override {
    Form.reset();
    PumpPending();
    EXPECT_TRUE(Script.Unexpected.empty());
  }
  TModalScript Script;
  TFormPtr<TGridForm> Form;
  TRecordingGrid* Grid = nullptr;
};

// --- Geometry ---------------------------------------------------------------------------------

// Columns 49 wide and rows 19 high with one-pixel lines: cell (c, r) starts at 50c, 20r while
// nothing is scrolled; the client area is 251 by 121.
TEST_F(GridTest, CellRectAndMouseCoordFollowWidthsLinesAndScrolling) {
  Grid->HandleNeeded();
  Grid->SetColWidths(2, 30);
  ASSERT_EQ(Grid->ClientWidth(), 251);
  ASSERT_EQ(Grid->ClientHeight(), 121);
  struct TCase {
    int Left, Top;
    int Col, Row;
    TRect Expected;
  };
  const TCase cases[] = {
      {1, 1, 0, 0, TRect(0, 0, 49, 19)},        // fixed corner
      {1, 1, 1, 0, TRect(50, 0, 99, 19)},       // fixed row
      {1, 1, 2, 3, TRect(100, 60, 130, 79)},    // narrowed column
      {1, 1, 3, 3, TRect(131, 60, 180, 79)},    // after it
      {1, 1, 5, 1, TRect(231, 20, 251, 39)},    // cut by the client edge
      {1, 1, 6, 1, TRect()},                    // beyond the client area
      {3, 4, 2, 2, TRect()},                    // scrolled out
      {3, 4, 3, 4, TRect(50, 20, 99, 39)},      // first scrolling cell
      {3, 4, 0, 5, TRect(0, 40, 49, 59)},       // fixed column keeps its place
  };
  for (const TCase& c : cases) {
    Grid->SetLeftCol(c.Left);
    Grid->SetTopRow(c.Top);
    EXPECT_EQ(Grid->CellRect(c.Col, c.Row), c.Expected) << c.Col << "," << c.Row << " at " << c.Left << "," << c.Top;
  }

  struct TPointCase {
    int X, Y;
    TGridCoord Expected;
  };
  Grid->SetLeftCol(1);
  Grid->SetTopRow(1);
  const TPointCase points[] = {
      {0, 0, {0, 0}},     {48, 18, {0, 0}},    {49, 19, {0, 0}},  // the line belongs to the cell before it
      {50, 20, {1, 1}},   {129, 60, {2, 3}},   {130, 60, {2, 3}}, {131, 60, {3, 3}},
      {250, 120, {5, 6}}, {251, 10, {-1, -1}}, {-1, 10, {-1, -1}},
  };
  for (const TPointCase& p : points) {
    EXPECT_EQ(Grid->MouseCoord(p.X, p.Y), p.Expected) << p.X << "," << p.Y;
  }
  // Scrolled, the first scrolling cell sits right after the fixed ones.
  Grid->SetLeftCol(4);
  EXPECT_EQ(Grid->MouseCoord(60, 30), (TGridCoord{4, 1}));

  TGridDrawInfo d;
  Grid->SetLeftCol(1);
  Grid->CalcDrawInfo(d);
  EXPECT_EQ(d.Horz.FixedBoundary, 50);
  EXPECT_EQ(d.Horz.LastFullVisibleCell, 4);  // column 5 is cut by the edge
  EXPECT_EQ(d.Vert.LastFullVisibleCell, 5);
  EXPECT_EQ(Grid->VisibleColCount(), 4);
  EXPECT_EQ(Grid->VisibleRowCount(), 5);
  // Without vertical lines the cells close up.
  Grid->SetOptions(Grid->Options() - TGridOptions{goVertLine});
  EXPECT_EQ(Grid->CellRect(3, 1), TRect(128, 20, 177, 39));
}

// What a form description sets on a string grid, by property name.
TEST_F(GridTest, PublishedPropertiesReachTheGrid) {
  auto* g = new TStringGrid(Form.get());
  EXPECT_EQ(GetSetProp(g, "Options"), "[goFixedVertLine,goFixedHorzLine,goVertLine,goHorzLine,goRangeSelect]");
  SetOrdProp(g, "ColCount", 3);
  SetOrdProp(g, "FixedCols", 0);
  SetOrdProp(g, "RowCount", 8);
  SetOrdProp(g, "DefaultRowHeight", 18);
  SetSetProp(g, "Options", "[goFixedVertLine,goVertLine,goHorzLine,goEditing]");
  SetPropValue(g, "ScrollBars", Variant("ssVertical"));
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->FixedCols(), 0);
  EXPECT_EQ(g->RowCount(), 8);
  EXPECT_EQ(g->RowHeights(7), 18);
  EXPECT_EQ(g->Options(), (TGridOptions{goFixedVertLine, goVertLine, goHorzLine, goEditing}));
  EXPECT_EQ(g->ScrollBars(), ssVertical);
  EXPECT_NE(GetPropInfo(g, "OnDrawCell"), nullptr);
}

TEST_F(GridTest, DimensionsRefuseWhatCannotBe) {
  EXPECT_THROW(Grid->SetFixedCols(8), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetFixedRows(12), EInvalidGridOperation);
  EXPECT_THROW(Grid->ColWidths(8), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetRowHeights(-1, 5), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetCol(8), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetCells(0, 12, "x"), EInvalidGridOperation);
  // Fewer columns than fixed ones: the fixed count follows, and the current cell stays inside.
  Grid->SetCol(7);
  Grid->SetColCount(1);
  EXPECT_EQ(Grid->FixedCols(), 0);
  EXPECT_EQ(Grid->Col(), 0);
  // Growing back brings empty cells, not the old texts.
  Grid->SetColCount(8);
  EXPECT_EQ(Grid->Cells(5, 1), "");
  EXPECT_EQ(Grid->Cells(0, 1), "0:1");
}

// --- Keyboard ---------------------------------------------------------------------------------

TEST_F(GridTest, KeysMoveTheCurrentCellAndScrollItIntoView) {
  ShowAndFocus();
  struct TCase {
    WORD Key;
    TShiftState Shift;
    int Col, Row, TopRow, LeftCol;
  };
  // From (1, 1): four full columns and five full rows show.
  const TCase cases[] = {
      {VK_RIGHT, {}, 2, 1, 1, 1},
      {VK_DOWN, {}, 2, 2, 1, 1},
      {VK_END, {}, 7, 2, 1, 4},       // last column, scrolled into view
      {VK_HOME, {}, 1, 2, 1, 1},      // first non-fixed column
      {VK_NEXT, {}, 1, 7, 6, 1},      // a page down scrolls a page
      {VK_PRIOR, {}, 1, 2, 1, 1},
      {VK_NEXT, {ssCtrl}, 1, 5, 1, 1},  // last fully visible row
      {VK_END, {ssCtrl}, 7, 11, 7, 4},
      {VK_HOME, {ssCtrl}, 1, 1, 1, 1},
      {VK_UP, {}, 1, 1, 1, 1},        // nothing above the first row
      {VK_LEFT, {}, 1, 1, 1, 1},      // nor left of the first column
  };
  for (const TCase& c : cases) {
    PressChord(c.Key, c.Shift);
    EXPECT_EQ(Grid->Col(), c.Col) << "key " << c.Key;
    EXPECT_EQ(Grid->Row(), c.Row) << "key " << c.Key;
    EXPECT_EQ(Grid->TopRow(), c.TopRow) << "key " << c.Key;
    EXPECT_EQ(Grid->LeftCol(), c.LeftCol) << "key " << c.Key;
  }
}

TEST_F(GridTest, TabMovesBetweenCellsOnlyWithGoTabs) {
  ShowAndFocus();
  Grid->SetCol(6);
  PressChord(VK_TAB, {});
  // Without goTabs the form takes Tab: the focus goes on.
  EXPECT_EQ(GetFocus(), Form->After->Handle());
  EXPECT_EQ(Grid->Col(), 6);

  Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
  Grid->SetTabStops(2, false);
  ASSERT_TRUE(GiveFocus(Grid));
  PressChord(VK_TAB, {});
  EXPECT_EQ(GetFocus(), Grid->Handle());
  EXPECT_EQ(Grid->Col(), 7);
  // Past the last column: the first non-fixed one of the next row.
  PressChord(VK_TAB, {});
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 2);
  // A column without a tab stop is skipped, both ways.
  PressChord(VK_TAB, {});
  EXPECT_EQ(Grid->Col(), 3);
  PressChord(VK_TAB, {ssShift});
  EXPECT_EQ(Grid->Col(), 1);
  PressChord(VK_TAB, {ssShift});
  EXPECT_EQ(Grid->Col(), 7);
  EXPECT_EQ(Grid->Row(), 1);
}

// --- Scrolling --------------------------------------------------------------------------------

TEST_F(GridTest, ScrollingChangesTopRowAndLeftColAndTellsTheGrid) {
  Grid->SetScrollBars(ssBoth);
  ShowAndFocus();
  Grid->TopLeftChanges = 0;
  // Moving down past the last full row scrolls by one (the scroll bars take some of the height).
  int visible = Grid->VisibleRowCount();
  ASSERT_GE(visible, 2);
  ASSERT_LT(visible, 5);
  while (Grid->Row() < visible) PressChord(VK_DOWN, {});
  ASSERT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->TopLeftChanges, 0);
  while (Grid->Row() < visible + 1) PressChord(VK_DOWN, {});
  EXPECT_EQ(Grid->TopRow(), 2);
  EXPECT_EQ(Grid->TopLeftChanges, 1);

  // The window's scroll bar follows, and drives the grid.
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(Grid->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, 1);
  EXPECT_EQ(si.nMax, 10);
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 3);
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  int bottom = Grid->TopRow();
  EXPECT_EQ(Grid->CellRect(0, 11).IsEmpty(), false);
  EXPECT_EQ(Grid->VisibleRowCount() + bottom - 1, 11);  // the last row shows in full
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), bottom);  // no further
  SendMessageA(Grid->Handle(), WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(Grid->LeftCol(), 1);
  GetScrollInfo(Grid->Handle(), SB_HORZ, &si);
  EXPECT_EQ(si.nPos, Grid->LeftCol() - 1);
  int changes = Grid->TopLeftChanges;
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->TopLeftChanges, changes + 1);
  // Scrolling does not move the current cell.
  EXPECT_EQ(Grid->Row(), visible + 1);
  // Thumb tracking moves the grid only with goThumbTracking.
  SendMessageA(Grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), 0);
  EXPECT_EQ(Grid->TopRow(), 1);
}

// Lowering FixedCols makes the columns it releases the first scrolling ones, and the view goes
// back to show them (LeftCol at the new count, the scroll bar at its start); raising it keeps the
// first shown column out of the fixed part.
TEST_F(GridTest, ChangingFixedColsShowsTheFirstScrollingColumn) {
  Grid->SetScrollBars(ssBoth);
  Grid->SetFixedCols(3);
  ShowAndFocus();
  ASSERT_EQ(Grid->LeftCol(), 3);
  struct TStep {
    int ScrolledTo;  // LeftCol before the change (0: as it is)
    int Fixed;
    int LeftCol;
  };
  const TStep Steps[] = {{0, 1, 1}, {0, 2, 2}, {5, 1, 1}, {4, 2, 4}, {0, 0, 0}};
  for (const TStep& Step : Steps) {
    if (Step.ScrolledTo != 0) Grid->SetLeftCol(Step.ScrolledTo);
    int Before = Grid->LeftCol();
    Grid->TopLeftChanges = 0;
    Grid->SetFixedCols(Step.Fixed);
    SCOPED_TRACE(Format("from LeftCol %d to FixedCols %d", {Before, Step.Fixed}));
    EXPECT_EQ(Grid->LeftCol(), Step.LeftCol);
    EXPECT_EQ(Grid->TopLeftChanges, Before != Step.LeftCol ? 1 : 0);
    EXPECT_GE(Grid->Col(), Step.Fixed);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    GetScrollInfo(Grid->Handle(), SB_HORZ, &si);
    EXPECT_EQ(si.nPos, Step.LeftCol - Step.Fixed);
    // The first column shown stands right after the fixed ones, and is painted there.
    TRect First = Grid->CellRect(Step.LeftCol, 1);
    EXPECT_EQ(First.Left, 50 * Step.Fixed);
    EXPECT_FALSE(First.IsEmpty());
    Grid->Drawn.clear();
    ASSERT_TRUE(Painted(Form.get()));
    EXPECT_NE(Grid->DrawnAt(Step.LeftCol, 1), nullptr);
  }
}

// --- Mouse: sizing, moving, selecting ----------------------------------------------------------

TEST_F(GridTest, DraggingAFixedRowDividerSizesTheColumn) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
  ShowAndFocus();
  int changes = Grid->ColWidthChanges;
  // The divider after column 2 lies at x = 149; the drag ends 25 pixels to the right.
  DragMouse(ScreenOf(149, 8), ScreenOf(174, 8));
  EXPECT_EQ(Grid->ColWidths(2), 74);
  EXPECT_EQ(Grid->ColWidths(1), 49);
  EXPECT_EQ(Grid->ColWidthChanges, changes + 1);
  EXPECT_EQ(Grid->GridState(), gsNormal);
  EXPECT_EQ(Grid->CellRect(3, 1).Left, 175);
  // Over the data cells the same divider sizes nothing: it selects.
  DragMouse(ScreenOf(174, 50), ScreenOf(150, 50));
  EXPECT_EQ(Grid->ColWidths(2), 74);
  // Without goColSizing the fixed row does not size either.
  Grid->SetOptions(Grid->Options() - TGridOptions{goColSizing});
  DragMouse(ScreenOf(174, 8), ScreenOf(200, 8));
  EXPECT_EQ(Grid->ColWidths(2), 74);
}

TEST_F(GridTest, DraggingAFixedCellWithGoColMovingMovesTheColumn) {
  Grid->SetColWidths(1, 40);
  Grid->SetTabStops(1, false);
  ShowAndFocus();
  // Without the option nothing moves.
  DragMouse(ScreenOf(65, 8), ScreenOf(175, 8));
  EXPECT_TRUE(Grid->Moves.empty());
  Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving});
  Grid->SetCol(1);
  // Column 1 (x 50..90) dropped on column 3; pressed away from the last press, so that the
  // press is not taken for a double click.
  DragMouse(ScreenOf(80, 8), ScreenOf(165, 8));
  ASSERT_EQ(Grid->Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
  EXPECT_EQ(Grid->Cells(3, 4), "1:4");
  EXPECT_EQ(Grid->Cells(1, 4), "2:4");
  EXPECT_EQ(Grid->Cells(2, 0), "3:0");
  // Width and tab stop travel with the column, and so does the current cell.
  EXPECT_EQ(Grid->ColWidths(3), 40);
  EXPECT_FALSE(Grid->TabStops(3));
  EXPECT_TRUE(Grid->TabStops(1));
  EXPECT_EQ(Grid->Col(), 3);
  // The fixed column cannot be moved, nor can a column be dropped on it.
  DragMouse(ScreenOf(20, 8), ScreenOf(120, 8));
  EXPECT_EQ(Grid->Moves.size(), 1u);
  EXPECT_EQ(Grid->Cells(0, 4), "0:4");
}

TEST_F(GridTest, RangeSelectionGrowsFromTheAnchorWithShiftAndTheMouse) {
  ShowAndFocus();
  PressChord(VK_RIGHT, {ssShift});
  PressChord(VK_DOWN, {ssShift});
  PressChord(VK_DOWN, {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 3}));
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 3);
  // A move without Shift collapses it on the new cell.
  PressChord(VK_LEFT, {});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 1, 3}));
  // Dragging selects from the press to the release, in any direction.
  DragMouse(ScreenOf(175, 70), ScreenOf(75, 30));
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 3}));
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 1);
  // Without goRangeSelect the selection is the current cell.
  Grid->SetOptions(Grid->Options() - TGridOptions{goRangeSelect});
  PressChord(VK_DOWN, {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 1, 2}));
  // With goRowSelect it spans the rows' non-fixed cells.
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect, goRangeSelect});
  PressChord(VK_DOWN, {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 7, 3}));
}

TEST_F(GridTest, OnSelectCellCanRefuseACell) {
  struct TVeto : TObject {
    void SelectCell(TObject*, int ACol, int ARow, bool& CanSelect) {
      if (ACol == 2 && ARow == 1) CanSelect = false;
    }
  } veto;
  Grid->OnSelectCell = TSelectCellEvent(&veto, &TVeto::SelectCell);
  ShowAndFocus();
  PressChord(VK_RIGHT, {});
  EXPECT_EQ(Grid->Col(), 1);
  PressChord(VK_DOWN, {});
  PressChord(VK_RIGHT, {});
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 2);
}

// --- In-place editor --------------------------------------------------------------------------

class GridEditTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowAndFocus();
    Grid->SetCol(2);
    Grid->SetRow(3);
    Grid->EditTexts.clear();
  }
  bool EditorShows() { return Grid->InplaceEditor() && Grid->InplaceEditor()->Visible(); }
};

TEST_F(GridEditTest, F2OpensTheEditorOverTheCellAndReturnCommits) {
  ASSERT_FALSE(EditorShows());
  PressChord(VK_F2, {});
  ASSERT_TRUE(EditorShows());
  TInplaceEdit* editor = Grid->InplaceEditor();
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(editor->Text(), "2:3");
  EXPECT_EQ(GetFocus(), editor->Handle());
  EXPECT_TRUE(editor->PosEqual(Grid->CellRect(2, 3)));
  // The grid stays the form's active control while its editor has the focus.
  EXPECT_EQ(Form->ActiveControl(), Grid);
  // F2 leaves the caret at the end: typing appends.
  TypeText("ab");
  EXPECT_EQ(editor->Text(), "2:3ab");
  // Every change reaches the grid through SetEditText.
  ASSERT_FALSE(Grid->EditTexts.empty());
  EXPECT_EQ(Grid->EditTexts.back(), std::make_tuple(2, 3, String("2:3ab")));
  PressChord(VK_RETURN, {});
  EXPECT_FALSE(EditorShows());
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(Grid->Cells(2, 3), "2:3ab");
  EXPECT_EQ(Grid->EditTexts.back(), std::make_tuple(2, 3, String("2:3ab")));
  EXPECT_EQ(GetFocus(), Grid->Handle());
  // Return again opens it once more, on the same text.
  PressChord(VK_RETURN, {});
  EXPECT_TRUE(EditorShows());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "2:3ab");
}

TEST_F(GridEditTest, TypingOnTheGridReplacesTheCellAndEscapeRestoresIt) {
  TypeText("xy");
  ASSERT_TRUE(EditorShows());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "xy");
  EXPECT_EQ(Grid->Cells(2, 3), "xy");
  PressChord(VK_ESCAPE, {});
  EXPECT_FALSE(EditorShows());
  EXPECT_EQ(Grid->Cells(2, 3), "2:3");
  EXPECT_EQ(Grid->EditTexts.back(), std::make_tuple(2, 3, String("2:3")));
  EXPECT_EQ(GetFocus(), Grid->Handle());
}

TEST_F(GridEditTest, MovingToAnotherCellEndsEditingAndCanEditShowDecides) {
  PressChord(VK_F2, {});
  TypeText("q");
  PressChord(VK_DOWN, {});
  EXPECT_FALSE(EditorShows());
  EXPECT_EQ(Grid->Row(), 4);
  EXPECT_EQ(Grid->Cells(2, 3), "2:3q");
  // goAlwaysShowEditor keeps an editor on the current cell, which follows it.
  Grid->SetOptions(Grid->Options() + TGridOptions{goAlwaysShowEditor});
  PumpPending();
  ASSERT_TRUE(EditorShows());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "2:4");
  PressChord(VK_DOWN, {});
  ASSERT_TRUE(EditorShows());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "2:5");
  EXPECT_TRUE(Grid->InplaceEditor()->PosEqual(Grid->CellRect(2, 5)));
  // Row selection has no cell to edit: no editor.
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  PressChord(VK_F2, {});
  EXPECT_FALSE(EditorShows());
}

TEST_F(GridEditTest, LeavingTheGridCommitsAndHidesTheEditor) {
  TypeText("z");
  ASSERT_TRUE(EditorShows());
  ASSERT_TRUE(GiveFocus(Form->After));
  EXPECT_FALSE(EditorShows());
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(Grid->Cells(2, 3), "z");
}

// --- Drawing ----------------------------------------------------------------------------------

TEST_F(GridTest, DrawCellIsAskedForEveryVisibleCellWithItsState) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goRangeSelect});
  ShowAndFocus();
  Grid->SetSelection(TGridRect{1, 1, 2, 2});  // current cell (2, 2), anchor (1, 1)
  Grid->SetTopRow(2);
  ASSERT_TRUE(Painted(Grid));
  Grid->Drawn.clear();
  Grid->Repaint();
  // Columns 0..5 show (5 cut by the edge); rows 0 and 2..7 (7 cut by the edge).
  for (int c = 0; c <= 5; ++c) {
    for (int r : {0, 2, 3, 4, 5, 6, 7}) {
      const auto* d = Grid->DrawnAt(c, r);
      ASSERT_NE(d, nullptr) << c << "," << r;
      TGridDrawState expected;
      if (c == 0 || r == 0) expected.Include(gdFixed);
      if (c >= 1 && c <= 2 && r >= 1 && r <= 2) expected.Include(gdSelected);
      if (c == 2 && r == 2) expected.Include(gdFocused);
      EXPECT_EQ(d->State, expected) << c << "," << r;
    }
  }
  EXPECT_EQ(Grid->DrawnAt(1, 1), nullptr);  // scrolled out
  EXPECT_EQ(Grid->DrawnAt(6, 2), nullptr);  // beyond the edge
  EXPECT_EQ(Grid->DrawnAt(0, 8), nullptr);
  EXPECT_EQ(Grid->Drawn.size(), 6u * 7u);   // once each

  // Without the focus the current cell is no longer focused.
  ASSERT_TRUE(GiveFocus(Form->After));
  Grid->Drawn.clear();
  Grid->Repaint();
  ASSERT_NE(Grid->DrawnAt(2, 2), nullptr);
  EXPECT_EQ(Grid->DrawnAt(2, 2)->State, TGridDrawState{gdSelected});
}

TEST_F(GridTest, StringGridDrawsItsTextAndOnDrawCellFollows) {
  struct TDrawLog : TObject {
    std::vector<std::pair<int, int>> Cells;
    void DrawCell(TObject*, int ACol, int ARow, TRect, TGridDrawState) { Cells.emplace_back(ACol, ARow); }
  } log;
  Grid->OnDrawCell = TDrawCellEvent(&log, &TDrawLog::DrawCell);
  Grid->SetCells(1, 1, "WWW");
  Grid->SetCells(2, 1, "");
  ShowAndFocus();
  Grid->SetCol(3);  // keep the focus frame off the cells looked at
  Grid->Repaint();
  EXPECT_FALSE(log.Cells.empty());
  // The text is on screen as the grid's font draws it, and the empty cell is bare.
  TColor ink = Grid->Font()->Color(), back = Grid->Color();
  EXPECT_TRUE(ShowsText(Grid, Grid->CellRect(1, 1), "WWW", Grid->Font(), ink, back));
  TRect empty = Grid->CellRect(2, 1);
  for (int y = empty.Top; y < empty.Bottom; ++y) {
    for (int x = empty.Left; x < empty.Right; ++x) ASSERT_EQ(PixelOf(Grid, x, y), ColorToRGB(back)) << x << "," << y;
  }
}

}  // namespace
