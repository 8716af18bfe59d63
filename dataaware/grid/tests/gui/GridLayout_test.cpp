// Tests of the grid's layout: the field map and columns from the dataset's fields and from
// "Selected" lines, column widths, the row count and the vertical scroll bar against the data
// link's buffer and the record count, painting that reads no record, column drag and sizing.
#include "GridTestSupport.h"

#include "Field.h"
#include "Strings.h"

namespace {

using GridLayout = GridFormTest;

std::vector<String> MappedNames(TqvCustomDBGrid* Grid) {
  std::vector<String> Names;
  for (int i = 0; i < Grid->GetFieldCount(); ++i) Names.push_back(Grid->GetFields(i)->FieldName());
  return Names;
}

TEST_F(GridLayout, ColumnsAreTheVisibleFieldsInOrder) {
  Data->FieldByName("NOTE")->SetVisible(false);
  ShowGrid();
  EXPECT_EQ(MappedNames(Grid), (std::vector<String>{"NOM", "CODE", "DATE_OBS", "SURFACE", "ACTIF", "COM", "COMMUNE"}));
  EXPECT_EQ(Grid->ColCount(), 8);
  EXPECT_EQ(Grid->ColWidths(0), 11);
  // A field shown again takes its place back.
  Data->FieldByName("NOTE")->SetVisible(true);
  PumpPending();
  EXPECT_EQ(MappedNames(Grid)[5], "NOTE");
}

TEST_F(GridLayout, SelectedLinesMapTheirFieldsWithWidthTitleAndReadOnlyMark) {
  Grid->SetUseTFields(false);
  auto Lines = std::make_unique<TStringList>();
  Lines->Add("SURFACE\t8\tSurface (ha)\tF");
  Lines->Add("ABSENT\t5\tAbsent\tF");
  Lines->Add("NOM\t12\tNom du site rarement si long\tT");
  Lines->Add("CODE\t3\tN°\tF"_a);
  Grid->SetSelected(Lines.get());
  ShowGrid();
  // The line of a field the dataset lacks is dropped once the link is active.
  EXPECT_EQ(MappedNames(Grid), (std::vector<String>{"SURFACE", "NOM", "CODE"}));
  ASSERT_EQ(Grid->Selected()->Count(), 3);
  EXPECT_EQ(Grid->ColCount(), 4);
  // Widths: characters of "0" plus 4, widened to the title in the title font.
  TCanvas* Canvas = Grid->GetPaintCanvas();
  Canvas->SetFont(Grid->Font());
  int Zero = Canvas->TextWidth("0");
  Canvas->SetFont(Grid->TitleFont());
  int TitleOfNom = Canvas->TextWidth("Nom du site rarement si long") + 4;
  EXPECT_EQ(Grid->ColWidths(1), std::max(8 * Zero + 4, Canvas->TextWidth("Surface (ha)") + 4));
  ASSERT_GT(TitleOfNom, 12 * Zero + 4);
  EXPECT_EQ(Grid->ColWidths(2), TitleOfNom);
  EXPECT_EQ(Grid->ColWidths(3), std::max(3 * Zero + 4, Canvas->TextWidth("N°"_a) + 4));
  // The read-only column is no tab stop: Tab from SURFACE goes to CODE.
  EXPECT_TRUE(Grid->GetColumn(1)->ReadOnly());
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  Grid->SetSelectedIndex(0);
  PumpPending();
  Press(VK_TAB);
  EXPECT_EQ(Grid->SelectedField()->FieldName(), "CODE");
}

TEST_F(GridLayout, AnInactiveLinkKeepsTheLinesOfUnknownFields) {
  Data->Close();
  Grid->SetUseTFields(false);
  Grid->Selected()->Add("ABSENT\t5\tAbsent\tF");
  Grid->Selected()->Add("NOM\t10\tNom\tF");
  ShowGrid();
  EXPECT_EQ(Grid->Selected()->Count(), 2);
  EXPECT_EQ(Grid->GetFieldCount(), 0);
  Data->Open();
  PumpPending();
  EXPECT_EQ(Grid->Selected()->Count(), 1);
  EXPECT_EQ(MappedNames(Grid), (std::vector<String>{"NOM"}));
}

TEST_F(GridLayout, TheFieldMapRefusesTheColumnPastTheLimitWithTheLimitInItsMessage) {
  ShowGrid();
  TqvGridDataLink* Link = Grid->DataLink();
  Link->ClearMapping();
  for (int i = 0; i < qvMaxGridFields; ++i) ASSERT_TRUE(Link->MapField("NOM"));
  try {
    Link->MapField("CODE");
    FAIL() << "no error past the limit";
  } catch (Exception& E) {
    EXPECT_NE(E.Message.find("16380"), String::npos) << E.Message;
  }
  EXPECT_EQ(Link->FieldCount(), qvMaxGridFields);
  Grid->RebuildLayout();
}

// One grid row per buffered record; the scroll bar follows the record number.
TEST_F(GridLayout, RowsFollowTheBufferAndTheScrollBarTheRecordCount) {
  ShowGrid();
  EXPECT_EQ(Grid->RowCount(), 12 + 1);
  Reload(200);
  PumpPending();
  int Visible = Grid->VisibleRowCount();
  ASSERT_GT(Visible, 5);
  ASSERT_LT(Visible, 200);
  EXPECT_EQ(Grid->RowCount(), Visible + 1);
  auto ScrollInfo = [&] {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_ALL;
    GetScrollInfo(Grid->Handle(), SB_VERT, &Info);
    return Info;
  };
  SCROLLINFO Info = ScrollInfo();
  EXPECT_EQ(Info.nMin, 1);
  EXPECT_EQ(int(Info.nPage), Visible);
  EXPECT_EQ(Info.nMax, 200 + Visible - 1);
  EXPECT_EQ(Info.nPos, 1);
  PressCombo(VK_CONTROL, VK_END);
  EXPECT_EQ(Code(), 200);
  EXPECT_EQ(ScrollInfo().nPos, 200);
  EXPECT_EQ(Grid->Row(), Visible);
  // The scroll bar pages the records.
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_PAGEUP, 0);
  PumpPending();
  EXPECT_EQ(Code(), 200 - Visible);
  EXPECT_EQ(ScrollInfo().nPos, 200 - Visible);
  SendMessageA(Grid->Handle(), WM_VSCROLL, SB_TOP, 0);
  PumpPending();
  EXPECT_EQ(Code(), 1);
  EXPECT_EQ(Grid->Row(), 1);
}

// Painting draws the buffered records: it reads none from the dataset.
TEST_F(GridLayout, PaintingReadsNoRecord) {
  Reload(1000);
  ShowGrid();
  Data->Reads = 0;
  int Paints = Grid->Paints;
  Grid->Invalidate();
  ASSERT_TRUE(Painted(Grid));
  EXPECT_GT(Grid->Paints, Paints);
  EXPECT_EQ(Data->Reads, 0);
  // The last screen reads about one window of records, not the dataset.
  PressCombo(VK_CONTROL, VK_END);
  ASSERT_TRUE(Painted(Grid));
  EXPECT_EQ(Code(), 1000);
  EXPECT_LE(Data->Reads, 3 * Grid->VisibleRowCount());
}

TEST_F(GridLayout, DraggingATitleMovesTheColumn) {
  std::vector<std::pair<int, int>> Moves;
  struct TCatcher : TObject {
    std::vector<std::pair<int, int>>* Moves;
    void Moved(TObject*, int From, int To) { Moves->push_back({From, To}); }
  } Catcher;
  Catcher.Moves = &Moves;
  Grid->OnColumnMoved = TqvColumnMovedEvent(&Catcher, &TCatcher::Moved);
  ShowGrid();
  TRect From = CellBounds(1, 0), To = CellBounds(3, 0);
  TPoint Start = OnScreen(Grid, From.Left + 10, From.Top + 5);
  TPoint End = OnScreen(Grid, To.Left + To.Width() / 2 + 2, To.Top + 5);
  // The press runs the drag's own loop until the release: the whole gesture is sent at once.
  MoveMouseTo(Start);
  MouseButton(true, Start);
  for (int Step = 1; Step <= 4; ++Step)
    MouseEventAt({Start.X + (End.X - Start.X) * Step / 4, Start.Y}, MOUSEEVENTF_MOVE);
  MouseButton(false, End);
  ASSERT_TRUE(WaitFor("the drop", [&] { return !Moves.empty(); }));
  PumpPending();
  EXPECT_EQ(MappedNames(Grid)[0], "CODE");
  EXPECT_EQ(Grid->GetFields(2)->FieldName(), "NOM");
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(Moves[0], std::make_pair(0, 2));
}

TEST_F(GridLayout, SizingAColumnWritesItsWidthBackToTheField) {
  ShowGrid();
  TRect Cell = CellBounds(1, 0);
  int Before = Grid->ColWidths(1);
  TPoint Edge = OnScreen(Grid, Cell.Right, Cell.Top + 5);
  DragMouse(Edge, TPoint{Edge.X + 60, Edge.Y});
  ASSERT_TRUE(WaitFor("the new width", [&] { return Grid->ColWidths(1) > Before + 30; }));
  TCanvas* Canvas = Grid->GetPaintCanvas();
  Canvas->SetFont(Grid->Font());
  int Zero = Canvas->TextWidth("0");
  int R = std::max(0, Zero / 2 - 3);
  EXPECT_EQ(Data->FieldByName("NOM")->DisplayWidth(), (Before + 60 + R - 4) / Zero);
}

}  // namespace
