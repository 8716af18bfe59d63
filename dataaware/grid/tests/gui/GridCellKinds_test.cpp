// Tests of the cells that show more than text: pictures read from blob fields in each stretch
// mode, images of an image list chosen by the field's value, the group headers spanning the titles
// of the columns of one group, and the hint that shows the whole text of a truncated cell. Every
// cell is read back from the screen and compared with where the picture must land.
#include "GridTestSupport.h"

#include <algorithm>
#include <sstream>

#include "Field.h"
#include "ImageList.h"
#include "ScreenshotFiles.h"
#include "Streams.h"

namespace {

// A 100 x 50 picture, red on its left half, blue on its right half, as a bitmap file's bytes.
String TwoColourPicture() {
  TBitmap Picture;
  Picture.SetPixelFormat(pf24bit);
  Picture.SetSize(100, 50);
  Picture.Canvas()->Brush()->SetColor(clRed);
  Picture.Canvas()->FillRect(Rect(0, 0, 50, 50));
  Picture.Canvas()->Brush()->SetColor(clBlue);
  Picture.Canvas()->FillRect(Rect(50, 0, 100, 50));
  TStringStream Bytes;
  Picture.SaveToStream(&Bytes);
  return Bytes.DataString();
}

// The 8-byte graphic header some programs put before a picture: 1, 256 and the length after it.
String WithHeader(const String& Picture, int LengthAdjust) {
  unsigned Length = unsigned(Picture.size()) + unsigned(LengthAdjust);
  String Header = {char(1), char(0), char(0), char(1), char(Length & 0xFF), char((Length >> 8) & 0xFF),
                   char((Length >> 16) & 0xFF), char((Length >> 24) & 0xFF)};
  return Header + Picture;
}

// NOM, CODE, a picture and an image number, on six records: 1 without picture, 2 the bare picture,
// 3 the picture after an exact header, 4 after a header whose length is one off, 5 and 6 none.
// Image numbers: 0, 1, 2, -1, null, 7 (past the list's three images).
class GridCellKinds : public GridFormTest {
 protected:
  void SetUp() override {
    GridFormTest::SetUp();
    Source->SetDataSet(nullptr);
    Data = std::make_unique<TCountingDataSet>(
        std::vector<TColumn>{{"NOM", ftString, 20}, {"CODE", ftInteger}, {"PHOTO", ftBlob}, {"NIVEAU", ftInteger}});
    const Variant Levels[] = {Variant(0), Variant(1), Variant(2), Variant(-1), Variant(), Variant(7)};
    for (int i = 1; i <= 6; ++i)
      Data->AddRow({Variant("Site " + std::to_string(i)), Variant(i), Variant(), Levels[i - 1]});
    const String Picture = TwoColourPicture();
    Data->SetMemo(1, "PHOTO", Picture);
    Data->SetMemo(2, "PHOTO", WithHeader(Picture, 0));
    Data->SetMemo(3, "PHOTO", WithHeader(Picture, 1));
    Data->Open();
    Data->FieldByName("PHOTO")->SetDisplayLabel("P");
    Data->FieldByName("NIVEAU")->SetDisplayLabel("N");
    Source->SetDataSet(Data.get());
  }
  // The cell of a record's picture or image (records 1 .. 6 on rows 1 .. 6).
  TRect Cell(const char* FieldName, int Record) { return CellBounds(ColOf(FieldName), Record); }
  // Shows the cells of a ControlType line of the dataset.
  void ShowWith(const String& Line) {
    Data->ControlType()->Clear();
    Data->ControlType()->Add(Line);
    Grid->RebuildLayout();
    Grid->Invalidate();
    if (!Form->Visible()) ShowGrid();
    ASSERT_TRUE(Painted(Grid));
  }
  void Shoot(const char* Name) {
    HDC DC = GetDC(Grid->Handle());
    SaveScreenshotOf(DC, 0, 0, Grid->ClientWidth(), Grid->ClientHeight(), Name);
    ReleaseDC(Grid->Handle(), DC);
  }
};

// Whether a cell shows the two-colour picture inside Dest (cell coordinates), Left before the
// column Split and Right after it (the column at the split may take either), and the window colour
// everywhere else.
testing::AssertionResult ShowsPicture(const TPixelArea& Shown, const TRect& Dest, int Split, TColor Left, TColor Right) {
  const unsigned Back = PixelValue(clWindow), L = PixelValue(Left), R = PixelValue(Right);
  for (int Y = 0; Y < Shown.Height; ++Y)
    for (int X = 0; X < Shown.Width; ++X) {
      unsigned Seen = Shown.At(X, Y);
      bool Inside = X >= Dest.Left && X < Dest.Right && Y >= Dest.Top && Y < Dest.Bottom;
      bool Good = !Inside                ? Seen == Back
                  : X < Split - 1        ? Seen == L
                  : X > Split + 1        ? Seen == R
                                         : Seen == L || Seen == R;
      if (!Good) {
        std::ostringstream Out;
        Out << "pixel (" << X << ", " << Y << ") of the " << Shown.Width << " x " << Shown.Height << " cell is "
            << std::hex << Seen << std::dec << "; the picture should cover (" << Dest.Left << ", " << Dest.Top
            << ") .. (" << Dest.Right << ", " << Dest.Bottom << ") split at " << Split;
        return testing::AssertionFailure() << Out.str();
      }
    }
  return testing::AssertionSuccess();
}

// Each stretch mode puts the picture where its rule says, in a wide and a narrow cell; the narrow
// "Fit Height" cell shows the left part of the picture only, so the split moves right.
TEST_F(GridCellKinds, PicturesLandWhereTheirStretchModeSays) {
  Grid->SetDisableThemesInTitle(true);
  struct TCase {
    const char* Mode;
    int Chars;  // the column's width in characters
  };
  const TCase Cases[] = {{"Original Size", 20}, {"Stretch To Fit", 20}, {"Fit Height", 20},
                         {"Fit Height", 3},     {"Fit Width", 3},       {"Fit Width", 20}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.Mode) + ", " + std::to_string(Case.Chars) + " characters");
    Data->FieldByName("PHOTO")->SetDisplayWidth(Case.Chars);
    ShowWith(String("PHOTO;Bitmap;") + Case.Mode + ";Source Copy");
    TRect C = Cell("PHOTO", 2);
    const int CW = C.Width(), CH = C.Height(), BW = 100, BH = 50;
    const int LX = Grid->Options().Contains(dgColLines) ? 1 : 0, LY = Grid->Options().Contains(dgRowLines) ? 1 : 0;
    TRect Dest;
    int Split = 0;
    const String Mode = Case.Mode;
    if (Mode == "Original Size") {
      int SW = std::min(BW, CW - 1), SH = std::min(BH, CH - 1);
      Dest = TRect(LX, LY, SW + 1, SH + 1);
      Split = LX + 50 * (Dest.Width()) / SW;
    } else if (Mode == "Stretch To Fit") {
      Dest = TRect(0, 0, CW, CH);
      Split = CW / 2;
    } else if (Mode == "Fit Height") {
      int W = BW * CH / BH, SW = BW;
      if (W > CW) {
        SW = BW * CW / W;
        W = CW;
        ASSERT_LT(SW, BW);
      }
      Dest = TRect(LX, 0, W, CH - LY);
      Split = LX + 50 * (W - LX) / SW;
    } else {
      int H = std::min(CW * BH / BW, CH);
      Dest = TRect(LX, 0, CW, H - LY);
      Split = LX + (CW - LX) / 2;
    }
    // Records 2 and 3 (the bare picture and the one after an exact header) show the picture;
    // 4 (a header one off: read from the first byte, not a picture) and 1 (none) only the cell.
    EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, Cell("PHOTO", 2)), Dest, Split, clRed, clBlue));
    EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, Cell("PHOTO", 3)), Dest, Split, clRed, clBlue));
    EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, Cell("PHOTO", 4)), TRect(), 0, clRed, clBlue));
    EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, Cell("PHOTO", 1)), TRect(), 0, clRed, clBlue));
    if (Mode == "Fit Height" && Case.Chars == 3) Shoot("grid-picture-fit-height-narrow");
  }
  // The regimes the cases are about: a wide cell takes the whole height of the picture, a narrow
  // one cuts it, and "Fit Width" in a narrow cell leaves the bottom of the cell empty.
  Data->FieldByName("PHOTO")->SetDisplayWidth(3);
  ShowWith("PHOTO;Bitmap;Fit Width;Source Copy");
  EXPECT_LT(Cell("PHOTO", 2).Width(), 2 * Cell("PHOTO", 2).Height());
  Shoot("grid-picture-cells");
}

TEST_F(GridCellKinds, TheCopyModeCombinesThePictureWithTheCell) {
  Data->FieldByName("PHOTO")->SetDisplayWidth(20);
  ShowWith("PHOTO;Bitmap;Stretch To Fit;Not Source Copy");
  TRect C = Cell("PHOTO", 2);
  EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, C), TRect(0, 0, C.Width(), C.Height()), C.Width() / 2, clAqua, clYellow));
  // An unknown mode draws only the cell.
  ShowWith("PHOTO;Bitmap;Tiled;Source Copy");
  EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, Cell("PHOTO", 2)), TRect(), 0, clRed, clBlue));
}

// The record being inserted shows no picture; the current picture cell of the focused grid is
// framed in the highlight colour.
TEST_F(GridCellKinds, ThePictureOfTheCurrentCell) {
  Data->FieldByName("PHOTO")->SetDisplayWidth(20);
  ShowWith("PHOTO;Bitmap;Stretch To Fit;Source Copy");
  ASSERT_TRUE(Data->Locate("CODE", 2, {}));
  Grid->SetSelectedIndex(ColOf("PHOTO") - Grid->IndicatorOffset());
  ASSERT_TRUE(Painted(Grid));
  TRect C = CellBounds(Grid->Col(), Grid->Row());
  TPixelArea Shown = CaptureArea(Grid, C);
  // The frame, under the dots of the focus rectangle (which invert what they cover).
  const unsigned Frame = PixelValue(clHighlight), Dotted = ~Frame & 0xFFFFFFu;
  auto IsFrame = [&](int X, int Y) { return Shown.At(X, Y) == Frame || Shown.At(X, Y) == Dotted; };
  for (int X = 0; X < Shown.Width; ++X) {
    EXPECT_TRUE(IsFrame(X, 0)) << "top, x " << X;
    EXPECT_TRUE(IsFrame(X, Shown.Height - 1)) << "bottom, x " << X;
  }
  for (int Y = 0; Y < Shown.Height; ++Y) {
    EXPECT_TRUE(IsFrame(0, Y)) << "left, y " << Y;
    EXPECT_TRUE(IsFrame(Shown.Width - 1, Y)) << "right, y " << Y;
  }
  EXPECT_EQ(Shown.At(3, Shown.Height / 2), PixelValue(clRed));
  EXPECT_EQ(Shown.At(Shown.Width - 4, Shown.Height / 2), PixelValue(clBlue));
}

// An image cell shows the image its number names, centred; a negative number, a null field and a
// number past the list show only the cell.
TEST_F(GridCellKinds, ImageCellsShowTheImageTheirNumberNames) {
  auto* Images = new TImageList(Form.get());
  Images->SetWidth(12);
  Images->SetHeight(12);
  for (TColor Colour : {clRed, clLime, clBlue}) {
    TBitmap Image;
    Image.SetPixelFormat(pf24bit);
    Image.SetSize(12, 12);
    Image.Canvas()->Brush()->SetColor(Colour);
    Image.Canvas()->FillRect(Rect(0, 0, 12, 12));
    ASSERT_GE(Images->Add(&Image, nullptr), 0);
  }
  Grid->SetImageList(Images);
  Data->FieldByName("NIVEAU")->SetDisplayWidth(8);
  ShowWith("NIVEAU;ImageIndex;Centre");
  Shoot("grid-image-cells");
  const TColor Expected[] = {clRed, clLime, clBlue, clNone, clNone, clNone};
  for (int Record = 1; Record <= 6; ++Record) {
    SCOPED_TRACE("record " + std::to_string(Record));
    TRect C = Cell("NIVEAU", Record);
    int W = std::min(C.Width() - 2, 12), H = std::min(C.Height() - 2, 12);
    int Left = std::max(0, (C.Width() - 12) / 2), Top = std::max(0, (C.Height() - 12) / 2);
    TRect Dest = Expected[Record - 1] == clNone ? TRect() : TRect(Left, Top, Left + W, Top + H);
    TColor Ink = Expected[Record - 1] == clNone ? clWindow : Expected[Record - 1];
    EXPECT_TRUE(ShowsPicture(CaptureArea(Grid, C), Dest, Dest.Right + 2, Ink, Ink));
  }
}

// Two columns under the group "Mesures": the group's name centred over both in the upper half of
// the title row, their own titles under it, no column line across the header.
class GridGroupHeaders : public GridFormTest {
 protected:
  void SetUp() override {
    GridFormTest::SetUp();
    Grid->SetUseTFields(false);
    auto Lines = std::make_unique<TStringList>();
    Lines->Add("NOM\t10\tNom\tF");
    Lines->Add("CODE\t8\tCode\tF\tMesures");
    Lines->Add("SURFACE\t8\tSurface\tF\tMesures");
    Lines->Add("ACTIF\t6\tActif\tF");
    Grid->SetSelected(Lines.get());
    Grid->SetTitleLines(2);
    Grid->SetDisableThemesInTitle(true);
  }
  TRect Header(int ACol, int& First, int& Last, bool VisibleOnly = true) {
    TRect R;
    First = Last = ACol;
    Grid->GetGroupHeaderRect(ACol, 0, R, VisibleOnly, Last, First);
    return R;
  }
  TRect Inset(TRect R, int By) { return TRect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By); }
  // The inside of a group header, between the lines that frame it.
  TRect Inside(TRect R) { return TRect(R.Left + 2, R.Top + 1, R.Right - 2, R.Bottom - 1); }
};

TEST_F(GridGroupHeaders, TheGroupsNameSpansItsColumnsAboveTheirTitles) {
  ShowGrid();
  ASSERT_EQ(Grid->ColCount(), 5);
  const int Line = Grid->Options().Contains(dgColLines) ? 1 : 0;
  TRect Title = CellBounds(2, 0);
  // The header of either column of the group is the same: both columns, the upper half.
  for (int C : {2, 3}) {
    int First, Last;
    TRect R = Header(C, First, Last);
    EXPECT_EQ(First, 2);
    EXPECT_EQ(Last, 3);
    EXPECT_EQ(R, TRect(Title.Left, Title.Top, Title.Left + Grid->ColWidths(2) + Line + Grid->ColWidths(3),
                       Title.Top + Title.Height() / 2));
    EXPECT_EQ(R.Right, CellBounds(3, 0).Right);
  }
  int First, Last;
  EXPECT_EQ(Header(1, First, Last), CellBounds(1, 0));
  EXPECT_EQ(First, 1);
  EXPECT_EQ(Last, 1);
  HDC DC = GetDC(Grid->Handle());
  SaveScreenshotOf(DC, 0, 0, Grid->ClientWidth(), CellBounds(1, 0).Bottom + 2, "grid-group-header");
  ReleaseDC(Grid->Handle(), DC);
  // The group's name, centred over the two columns (within a pixel of the middle).
  TRect R = Header(2, First, Last);
  TCanvas* Canvas = Grid->GetPaintCanvas();
  Canvas->SetFont(Grid->TitleFont());
  int Width = Canvas->TextWidth("Mesures");
  int Left = R.Left + (R.Width() - Width) / 2;
  EXPECT_TRUE(ShowsText(Grid, TRect(Left - 2, R.Top + 1, Left + Width + 2, R.Bottom - 1), "Mesures",
                        Grid->TitleFont(), clWindowText, clBtnFace));
  // Nothing but the name in the header: no line between its columns.
  EXPECT_TRUE(ShowsText(Grid, Inside(R), "Mesures", Grid->TitleFont(), clWindowText, clBtnFace));
  // Each column's title under it, and the ungrouped titles on the whole height.
  TRect Text;
  Grid->GetTitleTextRect(2, 0, Text);
  EXPECT_EQ(Text.Top, R.Bottom);
  EXPECT_TRUE(ShowsText(Grid, Inset(Text, 2), "Code", Grid->TitleFont(), clWindowText, clBtnFace));
  Grid->GetTitleTextRect(3, 0, Text);
  EXPECT_TRUE(ShowsText(Grid, Inset(Text, 2), "Surface", Grid->TitleFont(), clWindowText, clBtnFace));
  EXPECT_TRUE(ShowsText(Grid, Inset(CellBounds(1, 0), 2), "Nom", Grid->TitleFont(), clWindowText, clBtnFace));
}

TEST_F(GridGroupHeaders, AClickOnTheHeaderNamesTheGroupAndBelowItTheField) {
  std::vector<String> Clicked;
  struct TCatcher : TObject {
    std::vector<String>* Clicked;
    void Click(TObject*, const String& Name) { Clicked->push_back(Name); }
  } Catcher;
  Catcher.Clicked = &Clicked;
  Grid->OnTitleButtonClick = TqvTitleButtonClickEvent(&Catcher, &TCatcher::Click);
  Grid->SetTitleButtons(true);
  ShowGrid();
  TRect Title = CellBounds(3, 0);
  int Middle = (Title.Left + Title.Right) / 2;
  ClickAt(OnScreen(Grid, Middle, Title.Top + Title.Height() / 4));
  PumpPending();
  ClickAt(OnScreen(Grid, Middle, Title.Bottom - Title.Height() / 4));
  PumpPending();
  TRect Nom = CellBounds(1, 0);
  ClickAt(OnScreen(Grid, (Nom.Left + Nom.Right) / 2, Nom.Top + Nom.Height() / 4));
  PumpPending();
  EXPECT_EQ(Clicked, (std::vector<String>{"Mesures", "SURFACE", "NOM"}));
}

// A column inside a group is sized only from its own title, under the header; the group's last
// column and the ungrouped ones from anywhere on their edge.
TEST_F(GridGroupHeaders, OnlyTheGroupsLastColumnSizesFromTheHeader) {
  ShowGrid();
  struct TCase {
    int Col;
    bool InHeader;
    bool Sizes;
  };
  const TCase Cases[] = {{2, true, false}, {2, false, true}, {3, true, true}, {3, false, true}, {1, true, true}};
  for (const TCase& Case : Cases) {
    TRect Title = CellBounds(Case.Col, 0);
    int Y = Case.InHeader ? Title.Top + Title.Height() / 4 : Title.Bottom - Title.Height() / 4;
    EXPECT_EQ(Grid->Sizing(Title.Right, Y), Case.Sizes) << "column " << Case.Col << (Case.InHeader ? " header" : " title");
  }
}

// A program drawing the header itself gets the group's name and the header's rectangle.
TEST_F(GridGroupHeaders, AProgramMayDrawTheHeaderItself) {
  struct TDrawer : TObject {
    std::vector<std::pair<String, TRect>> Calls;
    void Draw(TObject*, TCanvas*, const String& Name, const TRect& R, bool& Default) {
      Calls.push_back({Name, R});
      Default = false;
    }
  } Drawer;
  Grid->OnDrawGroupHeaderCell = TqvDrawGroupHeaderCellEvent(&Drawer, &TDrawer::Draw);
  ShowGrid();
  ASSERT_FALSE(Drawer.Calls.empty());
  int First, Last;
  TRect R = Header(2, First, Last);
  for (const auto& Call : Drawer.Calls) {
    EXPECT_EQ(Call.first, "Mesures");
    EXPECT_EQ(Call.second, R);
  }
  // Left to the program, the header shows nothing of its own.
  TPixelArea Shown = CaptureArea(Grid, Inside(R));
  EXPECT_EQ(std::count(Shown.Pixels.begin(), Shown.Pixels.end(), PixelValue(clBtnFace)), std::ptrdiff_t(Shown.Pixels.size()));
}

// The hint of a truncated cell: its whole text in a window over the cell, gone when the mouse
// leaves the cell or after the application's hint pause; none for a cell whose text fits.
class GridCellHints : public GridFormTest {
 protected:
  void SetUp() override {
    GridFormTest::SetUp();
    Data->FieldByName("NOM")->SetDisplayWidth(2);
    Data->FieldByName("NOM")->SetDisplayLabel("N");
    Grid->SetOptions(Grid->Options() + TqvDBGridOptions{dgShowCellHint});
    ShowGrid();
    TCanvas* Canvas = Grid->GetPaintCanvas();
    Canvas->SetFont(Grid->Font());
    ASSERT_LT(Grid->ColWidths(ColOf("NOM")), Canvas->TextWidth("Nom 5"));
  }
  void HoverCell(int ACol, int ARow) { MoveMouseTo(CellCentre(ACol, ARow)); }
  bool HintShown() {
    TqvGridHintWindow* Hint = Grid->CellHint();
    return Hint != nullptr && Hint->HandleAllocated() && IsWindowVisible(Hint->Handle()) && Painted(Hint);
  }
};

TEST_F(GridCellHints, ATruncatedCellShowsItsWholeTextOverTheCell) {
  const int Nom = ColOf("NOM");
  HoverCell(Nom, 5);
  ASSERT_TRUE(WaitFor("the hint", [&] { return HintShown(); }));
  TqvGridHintWindow* Hint = Grid->CellHint();
  EXPECT_TRUE(ShowsText(Hint, Hint->ClientRect(), "Nom 5", Grid->Font(), clInfoText, clInfoBk));
  RECT Window;
  GetWindowRect(Hint->Handle(), &Window);
  TRect Cell = Grid->CellRect(Nom, 5);
  TPoint Corner = OnScreen(Grid, Cell.Left, Cell.Top);
  EXPECT_EQ(Window.left, Corner.X);
  EXPECT_EQ(Window.top, Corner.Y - 1);
  EXPECT_GT(Window.right - Window.left, Cell.Width());
  HDC DC = GetDC(Hint->Handle());
  SaveScreenshotOf(DC, 0, 0, Hint->ClientWidth(), Hint->ClientHeight(), "grid-cell-hint");
  ReleaseDC(Hint->Handle(), DC);
  // The next record's cell: its own text.
  HoverCell(Nom, 6);
  ASSERT_TRUE(WaitFor("the next hint", [&] {
    return HintShown() && ShowsText(Grid->CellHint(), Grid->CellHint()->ClientRect(), "Nom 6", Grid->Font(), clInfoText,
                                    clInfoBk);
  }));
  // A cell whose text fits: no hint.
  HoverCell(ColOf("CODE"), 6);
  ASSERT_TRUE(WaitFor("no hint", [&] { return Grid->CellHint() == nullptr; }));
  PumpFor(300);
  EXPECT_EQ(Grid->CellHint(), nullptr);
  // Titles have none.
  HoverCell(Nom, 0);
  PumpFor(300);
  EXPECT_EQ(Grid->CellHint(), nullptr);
}

TEST_F(GridCellHints, TheHintGoesWhenTheMouseLeavesTheGrid) {
  HoverCell(ColOf("NOM"), 4);
  ASSERT_TRUE(WaitFor("the hint", [&] { return HintShown(); }));
  MoveMouseTo(OnScreen(Form.get(), 300, 380));
  ASSERT_TRUE(WaitFor("the hint gone", [&] { return Grid->CellHint() == nullptr; }));
}

// With the mouse kept on the cell, the hint stays the application's hint pause (2.5 s: past its
// 16th tick of 250 ms) and then goes.
TEST_F(GridCellHints, TheHintGoesAfterTheHintPause) {
  ASSERT_EQ(Application->HintHidePause, 2500);
  HoverCell(ColOf("NOM"), 4);
  ASSERT_TRUE(WaitFor("the hint", [&] { return HintShown(); }));
  PumpFor(3000);
  EXPECT_TRUE(HintShown());
  ASSERT_TRUE(WaitFor("the hint gone", [&] { return Grid->CellHint() == nullptr; }));
}

// A program may keep the hint from showing, and learns the cell's rectangle.
TEST_F(GridCellHints, AProgramMayRefuseTheHint) {
  struct TRefuser : TObject {
    std::vector<TRect> Cells;
    void Create(TObject*, TqvGridHintWindow*, TField*, const TRect& R, bool&, int&, int&, bool& DoDefault) {
      Cells.push_back(R);
      DoDefault = false;
    }
  } Refuser;
  Grid->OnCreateHintWindow = TqvCreateHintWindowEvent(&Refuser, &TRefuser::Create);
  HoverCell(ColOf("NOM"), 3);
  ASSERT_TRUE(WaitFor("the event", [&] { return !Refuser.Cells.empty(); }));
  EXPECT_EQ(Refuser.Cells[0], Grid->CellRect(ColOf("NOM"), 3));
  PumpFor(300);
  EXPECT_FALSE(HintShown());
}

}  // namespace
