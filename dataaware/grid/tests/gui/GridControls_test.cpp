// Tests of the cells a "ControlType" line gives a control of the form: the control is laid over
// the current cell when its column is entered, bound to the grid's source and the cell's field,
// follows the current record, writes what is typed into the field, and goes when the column is
// left. Every wait has a deadline: a grid and a control that keep repainting each other fail the
// wait instead of hanging the run.
#include "GridTestSupport.h"

#include "DBCtrls.h"
#include "Qvintl.h"

namespace {

class GridControls : public GridFormTest {
 protected:
  void SetUp() override {
    GridFormTest::SetUp();
    CellEdit = Add<TDBEdit>(8, 330, 120, 22);
    CellEdit->SetName("CellEdit");
    // The program's datasets carry the lines; the grid reads them when the dataset opens.
    Data->ControlType()->Add("NOM;CustomEdit;CellEdit");
    Reload(12);
  }
  // Shows the grid on CODE of the first record and enters NOM, the first column, with Shift+Tab.
  void EnterNomByKey() {
    ShowGrid();
    Grid->SetSelectedIndex(ColOf("CODE") - Grid->IndicatorOffset());
    ASSERT_TRUE(Painted(Grid));
    Press(VK_TAB, true);
    ASSERT_EQ(Grid->SelectedField()->FieldName(), "NOM");
    ASSERT_TRUE(WaitFor("the control over the cell", [&] { return OverTheCell(); }));
  }
  // The control shown inside the grid over the current cell (an edit keeps its own height).
  bool OverTheCell() {
    if (CellEdit->Parent() != Grid || !CellEdit->Visible() || !Painted(Grid)) return false;
    TRect Cell = CellBounds(Grid->Col(), Grid->Row()), R = CellEdit->BoundsRect();
    return R.Left == Cell.Left && R.Top == Cell.Top && R.Right == Cell.Right && R.Bottom <= Cell.Bottom &&
           R.Bottom > Cell.Top;
  }
  TDBEdit* CellEdit = nullptr;
};

TEST_F(GridControls, EnteringTheColumnByAKeyLaysTheBoundControlOverTheCell) {
  EnterNomByKey();
  EXPECT_EQ(CellEdit->DataSource(), Source);
  EXPECT_EQ(CellEdit->DataField(), "NOM");
  EXPECT_EQ(CellEdit->Text(), "Nom 1");
  // The grid keeps the focus and does not repaint for ever: its queue empties.
  EXPECT_EQ(GetFocus(), Grid->Handle());
  int Paints = Grid->Paints;
  PumpPending();
  EXPECT_LE(Grid->Paints - Paints, 1);
}

TEST_F(GridControls, TheControlFollowsTheCurrentRecord) {
  EnterNomByKey();
  Press(VK_DOWN);
  EXPECT_EQ(Code(), 2);
  ASSERT_TRUE(WaitFor("the control over the second row", [&] { return OverTheCell(); }));
  EXPECT_EQ(CellEdit->Text(), "Nom 2");
}

TEST_F(GridControls, LeavingTheColumnByAKeyHidesTheControl) {
  EnterNomByKey();
  Press(VK_TAB);
  EXPECT_EQ(Grid->SelectedField()->FieldName(), "CODE");
  ASSERT_TRUE(WaitFor("the control hidden", [&] { return !CellEdit->Visible(); }));
  EXPECT_EQ(GetFocus(), Grid->Handle());
  ASSERT_TRUE(Painted(Grid));
  // The cell is the grid's own again.
  EXPECT_TRUE(ShowsText(Grid, CellBounds(ColOf("NOM"), Grid->Row()), "Nom 1", Grid->Font(), clHighlightText, clHighlight) ||
              ShowsText(Grid, CellBounds(ColOf("NOM"), Grid->Row()), "Nom 1", Grid->Font(), clWindowText, clWindow));
}

TEST_F(GridControls, TextTypedInTheControlReachesTheField) {
  EnterNomByKey();
  ASSERT_TRUE(GiveFocus(CellEdit));
  SendMessageA(CellEdit->Handle(), EM_SETSEL, 0, -1);
  TypeText("Marais");
  // Back to the grid: the control writes its value when it loses the focus.
  ASSERT_TRUE(GiveFocus(Grid));
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_EQ(Text("NOM"), "Marais");
  EXPECT_EQ(Code(), 1);
}

}  // namespace

// Keys pressed in the focused control after typing into it.
struct TLeaveCase {
  const char* Name;
  WORD Key;
  bool EnterToTab;     // the grid's dgEnterToTab
  bool LeavesColumn;   // the grid goes on to CODE, the control hidden, the grid focused
  const char* Stored;  // NOM afterwards
};

const TLeaveCase LeaveCases[] = {
    {"Tab", VK_TAB, false, true, "Marais"},
    {"EnterAsTab", VK_RETURN, true, true, "Marais"},
    // The edit puts the field's value back; the dataset keeps it.
    {"Escape", VK_ESCAPE, false, false, "Nom 1"},
};

class GridControlKeys : public GridControls, public testing::WithParamInterface<TLeaveCase> {};

TEST_P(GridControlKeys, LeaveTheControlOrUndoWhatWasTyped) {
  const TLeaveCase& Case = GetParam();
  if (Case.EnterToTab) Grid->KeyOptions.Include(dgEnterToTab);
  EnterNomByKey();
  ASSERT_TRUE(GiveFocus(CellEdit));
  SendMessageA(CellEdit->Handle(), EM_SETSEL, 0, -1);
  TypeText("Marais");
  Press(Case.Key);
  EXPECT_TRUE(Script.Asked.empty());
  if (Case.LeavesColumn) {
    EXPECT_EQ(Grid->SelectedField()->FieldName(), "CODE");
    EXPECT_TRUE(WaitFor("the control hidden", [&] { return !CellEdit->Visible(); }));
    EXPECT_EQ(GetFocus(), Grid->Handle());
  } else {
    EXPECT_EQ(Grid->SelectedField()->FieldName(), "NOM");
    EXPECT_TRUE(WaitFor("the field's value back in the control", [&] { return CellEdit->Text() == "Nom 1"; }));
  }
  EXPECT_EQ(Text("NOM"), Case.Stored);
  EXPECT_EQ(Code(), 1);
}

INSTANTIATE_TEST_SUITE_P(EachKey, GridControlKeys, testing::ValuesIn(LeaveCases),
                         [](const testing::TestParamInfo<TLeaveCase>& Info) { return String(Info.param.Name); });

// "CheckBox" cells: a box in the middle of the cell, ticked when the field shows the ticked value
// of the line in any letter case (the boolean field shows "Vrai" and "Faux").
class GridCheckBoxes : public GridFormTest {
 protected:
  void SetUp() override {
    GridFormTest::SetUp();
    Data->ControlType()->Add("ACTIF;CheckBox;VRAI;FAUX");
    Reload(12);
  }
  void TearDown() override {
    qvIntl->SetCheckBoxInGridStyle(cbStyleAuto);
    GridFormTest::TearDown();
  }
  // The box of a cell as the engine places it: 10 by 10 in the middle, drawn one pixel wider.
  TRect Box(int ARow) {
    TRect Cell = CellBounds(ColOf("ACTIF"), ARow);
    int L = (Cell.Left + Cell.Right - 10) / 2, T = (Cell.Top + Cell.Bottom - 10) / 2;
    return TRect(L - 1, T - 1, L + 12, T + 12);
  }
  std::vector<COLORREF> Pixels(const TRect& R) {
    std::vector<COLORREF> Result;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) Result.push_back(PixelOf(Grid, X, Y));
    return Result;
  }
};

TEST_F(GridCheckBoxes, ABoxTickedExactlyForTheTickedValueInAnyCase) {
  ShowGrid();
  ASSERT_EQ(Data->FieldByName("ACTIF")->DisplayText(), "Faux");
  // Rows 2 and 4 hold even records (Vrai), rows 3 and 5 odd ones (Faux); row 1 is current.
  std::vector<COLORREF> Ticked = Pixels(Box(2)), Cleared = Pixels(Box(3));
  EXPECT_NE(Ticked, Cleared);
  EXPECT_EQ(Pixels(Box(4)), Ticked);
  EXPECT_EQ(Pixels(Box(5)), Cleared);
  // The box is all the cell shows: no text beside it, the rest is the row's background.
  TRect Cell = CellBounds(ColOf("ACTIF"), 2);
  for (int X = Cell.Left + 1; X < Box(2).Left - 1; ++X)
    ASSERT_EQ(PixelOf(Grid, X, (Cell.Top + Cell.Bottom) / 2), ColorToRGB(clWindow)) << X;
  for (int X = Box(2).Right + 1; X < Cell.Right - 1; ++X)
    ASSERT_EQ(PixelOf(Grid, X, (Cell.Top + Cell.Bottom) / 2), ColorToRGB(clWindow)) << X;
}

TEST_F(GridCheckBoxes, TheXStyleDrawsABlackCrossInTickedBoxesOnly) {
  qvIntl->SetCheckBoxInGridStyle(cbStyleXmark);
  ShowGrid();
  for (int Row = 2; Row <= 5; ++Row) {
    TRect B = Box(Row);
    int L = B.Left + 1, T = B.Top + 1;  // the 10 by 10 box
    bool Vrai = Row % 2 == 0;
    // Points of the two strokes: (L+2, T+2) to (R-1, B-1) and (R-2, T+2) to (L+1, B-1).
    for (TPoint P : {TPoint(L + 3, T + 3), TPoint(L + 6, T + 6), TPoint(L + 7, T + 3), TPoint(L + 3, T + 7)})
      EXPECT_EQ(PixelOf(Grid, P.X, P.Y) == RGB(0, 0, 0), Vrai) << "row " << Row << " at " << P.X << "," << P.Y;
  }
}
