// Tests of the cells a "ControlType" line gives a control of the form: the control is laid over
// the current cell when its column is entered, bound to the grid's source and the cell's field,
// follows the current record, writes what is typed into the field, and goes when the column is
// left. Every wait has a deadline: a grid and a control that keep repainting each other fail the
// wait instead of hanging the run.
#include "GridTestSupport.h"

#include "DBCtrls.h"

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
