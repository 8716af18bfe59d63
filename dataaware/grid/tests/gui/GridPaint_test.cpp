// Tests of what the grid draws, read back from the screen and compared with what the same font
// and colours draw: data cells, the highlighted current cell, titles, the footer with the values
// the program gives it, the indicator's glyph of each dataset state; and the keyboard hook the
// grids share, which outlives a freed grid. Pictures of the grids are left in the folder
// "screenshots" beside the test program.
#include "GridTestSupport.h"

#include <set>

#include "Field.h"
#include "ScreenshotFiles.h"

namespace {

class GridPaint : public GridFormTest {
 protected:
  TRect Inset(TRect R, int By) { return TRect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By); }
  void Shoot(const char* Name) {
    ASSERT_TRUE(Painted(Grid));
    HDC DC = GetDC(Grid->Handle());
    SaveScreenshotOf(DC, 0, 0, Grid->ClientWidth(), Grid->ClientHeight(), String("grid-") + Name);
    ReleaseDC(Grid->Handle(), DC);
  }
  // The distinct colours of an area of the grid.
  std::set<unsigned> Colours(const TRect& Area) {
    TPixelArea Pixels = CaptureArea(Grid, Area);
    return std::set<unsigned>(Pixels.Pixels.begin(), Pixels.Pixels.end());
  }
};

TEST_F(GridPaint, CellsShowTheirFieldsTextInTheGridsFontAndColours) {
  Grid->SetDisableThemesInTitle(true);
  ShowGrid();
  Shoot("cells");
  int Nom = ColOf("NOM"), Surface = ColOf("SURFACE");
  // Another record's cells: window text on the window colour; a float is right-aligned.
  EXPECT_TRUE(ShowsText(Grid, CellBounds(Nom, 5), "Nom 5", Grid->Font(), clWindowText, clWindow));
  EXPECT_TRUE(ShowsText(Grid, CellBounds(Surface, 4), "6", Grid->Font(), clWindowText, clWindow));
  TRect Right = CellBounds(Surface, 4);
  Right.Left = Right.Right - Right.Width() / 3;
  EXPECT_TRUE(ShowsText(Grid, Right, "6", Grid->Font(), clWindowText, clWindow));
  // The current cell of the focused grid: highlighted (inside its focus frame).
  EXPECT_TRUE(ShowsText(Grid, Inset(CellBounds(Nom, 1), 2), "Nom 1", Grid->Font(), clHighlightText, clHighlight));
  // Titles: the field's label in the title font on the title colour.
  EXPECT_TRUE(ShowsText(Grid, Inset(CellBounds(Nom, 0), 2), "NOM", Grid->TitleFont(), clWindowText, clBtnFace));
}

TEST_F(GridPaint, ActiveRecordColorPaintsTheCurrentRowAndHighlightsOnlyTheCurrentCell) {
  Grid->PaintOptions()->SetActiveRecordColor(clYellow);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  ASSERT_TRUE(Painted(Grid));
  Shoot("active-record");
  int Row = Grid->Row();
  EXPECT_TRUE(ShowsText(Grid, CellBounds(ColOf("CODE"), Row), "3", Grid->Font(), clHighlightText, clYellow));
  EXPECT_TRUE(ShowsText(Grid, Inset(CellBounds(ColOf("NOM"), Row), 2), "Nom 3", Grid->Font(), clHighlightText,
                        clHighlight));
  EXPECT_TRUE(ShowsText(Grid, CellBounds(ColOf("CODE"), Row + 1), "4", Grid->Font(), clWindowText, clWindow));
}

TEST_F(GridPaint, TheFooterShowsTheValuesTheProgramGivesIt) {
  struct TFooter : TObject {
    TTestGrid* Grid;
    TDataSet* Data;
    void Update(TObject*) { Grid->GetColumn(0)->SetFooterValue(std::to_string(Data->RecordCount()) + " sites"); }
  } Footer;
  Footer.Grid = Grid;
  Footer.Data = Data.get();
  Grid->OnUpdateFooter = TNotifyEvent(&Footer, &TFooter::Update);
  Grid->SetOptions(Grid->Options() + TqvDBGridOptions{dgShowFooter});
  ShowGrid();
  TRect Area;
  Grid->GetFooterRect(Area);
  TRect Cell = CellBounds(ColOf("NOM"), 0);
  TRect Text(Cell.Left + 2, Area.Top + 3, Cell.Right - 2, Area.Bottom - 3);
  ASSERT_TRUE(WaitFor("the footer value", [&] { return Grid->GetColumn(0)->FooterValue() == "12 sites"; }));
  ASSERT_TRUE(Painted(Grid));
  Shoot("footer");
  EXPECT_TRUE(ShowsText(Grid, Text, "12 sites", Grid->Font(), clWindowText, clBtnFace));
  // The footer takes its height from the data area.
  EXPECT_EQ(Grid->ClientRect().Bottom, Area.Top);
  // A deletion refreshes it.
  Grid->SetOptions(Grid->Options() - TqvDBGridOptions{dgConfirmDelete});
  PressCombo(VK_CONTROL, VK_DELETE);
  ASSERT_TRUE(WaitFor("the new footer value", [&] { return Grid->GetColumn(0)->FooterValue() == "11 sites"; }));
  ASSERT_TRUE(Painted(Grid));
  EXPECT_TRUE(ShowsText(Grid, Text, "11 sites", Grid->Font(), clWindowText, clBtnFace));
}

// The indicator's glyph: one for browsing, one for editing, one for inserting, drawn in the
// indicator's colour on the current row only.
TEST_F(GridPaint, TheIndicatorShowsTheStateOfTheCurrentRecord) {
  Grid->SetDisableThemesInTitle(true);
  ShowGrid();
  ASSERT_TRUE(Data->Locate("CODE", 3, {}));
  ASSERT_TRUE(Painted(Grid));
  auto Indicator = [&](int Row) { return CaptureArea(Grid, CellBounds(0, Row)).Pixels; };
  const unsigned Black = PixelValue(clBlack);
  auto HasInk = [&](const std::vector<unsigned>& P) { return std::count(P.begin(), P.end(), Black) > 0; };
  int Row = Grid->Row();
  std::vector<unsigned> Browse = Indicator(Row);
  EXPECT_TRUE(HasInk(Browse));
  EXPECT_FALSE(HasInk(Indicator(Row + 1)));
  EXPECT_FALSE(HasInk(Indicator(Row - 1)));
  Data->Edit();
  ASSERT_TRUE(Painted(Grid));
  std::vector<unsigned> Edit = Indicator(Row);
  EXPECT_TRUE(HasInk(Edit));
  EXPECT_NE(Edit, Browse);
  Data->Insert();
  ASSERT_TRUE(Painted(Grid));
  Shoot("indicator-insert");
  std::vector<unsigned> Insert = Indicator(Grid->Row());
  EXPECT_TRUE(HasInk(Insert));
  EXPECT_NE(Insert, Browse);
  EXPECT_NE(Insert, Edit);
  Data->Cancel();
  ASSERT_TRUE(Painted(Grid));
  EXPECT_EQ(Indicator(Grid->Row()), Browse);
  // The icon colour recolours the glyph.
  Grid->SetIndicatorIconColor(clRed);
  ASSERT_TRUE(Painted(Grid));
  std::vector<unsigned> Red = Indicator(Grid->Row());
  EXPECT_FALSE(HasInk(Red));
  EXPECT_GT(std::count(Red.begin(), Red.end(), PixelValue(clRed)), 0);
}

TEST_F(GridPaint, RowsPastTheLastRecordAreLeftEmpty) {
  Reload(3);
  ShowGrid();
  Shoot("three-records");
  TRect Below = CellBounds(ColOf("NOM"), 1);
  int RowHeight = Grid->DefaultRowHeight();
  Below.Top += 4 * (RowHeight + 1);
  Below.Bottom = Below.Top + RowHeight;
  std::set<unsigned> Seen = Colours(Below);
  EXPECT_EQ(Seen.count(PixelValue(clWindowText)), 0u);
}

// The hook the grids share stays while one grid still needs it.
class GridHook : public GridFormTest {};

TEST_F(GridHook, AGridFreedWhileAnotherHoldsTheHookLeavesItInstalled) {
  ShowGrid();
  EXPECT_TRUE(qvGridKeyboardHookInstalled());
  auto* Second = new TTestGrid(Form.get());
  Second->SetParent(Form.get());
  Second->SetBounds(8, 312, 570, 90);
  Second->SetDataSource(Source);
  auto* Embedded = new TTestEdit(Form.get());
  Embedded->SetParent(Second);
  Embedded->SetBounds(40, 30, 80, 18);
  ASSERT_TRUE(GiveFocus(Second));
  ASSERT_TRUE(qvGridKeyboardHookInstalled());
  delete Grid;
  Grid = nullptr;
  PumpPending();
  ASSERT_TRUE(qvGridKeyboardHookInstalled());
  // The hook still forwards a navigation key from a control in a cell to its grid.
  ASSERT_TRUE(Data->Locate("CODE", 4, {}));
  ASSERT_TRUE(GiveFocus(Embedded));
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the next record", [&] { return Code() == 5; }));
  delete Second;
  PumpPending();
  EXPECT_FALSE(qvGridKeyboardHookInstalled());
  EXPECT_EQ(qvGridKeyboardHookUsers(), 0);
}

}  // namespace
