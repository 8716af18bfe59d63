// Tests of the panel grid on the virtual desktop over ten rows of a temporary SQLite file: the
// panel of controls follows the current record, the keys move the record and scroll the panels,
// and each other panel is painted with its own record's data.
#include "../../db/tests/TestFolder.h"

#include "StdCtrlsTestSupport.h"

#include <cstdint>
#include <map>
#include <vector>

#include "ADODB.h"
#include "DBCGrids.h"
#include "DBCtrls.h"
#include "Filer.h"
#include "SqliteSession.h"

namespace {

class DBCtrlGridTest : public TestFolder, public TObject {
 public:
  // Records, per panel, the row the dataset shows while the panel is painted.
  void RecordPanel(TDBCtrlGrid* Grid, int Index) {
    Painted[Index] = Grid->DataSource()->DataSet()->FieldByName("NAME")->AsString();
  }

 protected:
  void SetUp() override {
    TestFolder::SetUp();
    String path = PathOf("panels.db");
    {
      SqliteSession Session(path, TSqliteOpenMode::CreateIfMissing);
      Session.Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, NAME VARCHAR(20))");
      for (int i = 1; i <= 10; ++i) {
        Session.Execute("INSERT INTO T (ID, NAME) VALUES (" + std::to_string(i) + ", 'Row" + std::to_string(i) + "')");
      }
    }
    Connection = std::make_unique<TADOConnection>(nullptr);
    Connection->LoginPrompt = false;
    Connection->SetConnectionString("Provider=Velbor.SQLite;Data Source=" + path + ";Mode=ReadWrite");
    Connection->Open();
    Query = std::make_unique<TADOQuery>(nullptr);
    Query->SetConnection(Connection.get());
    Query->SQL()->SetText("SELECT ID, NAME FROM T ORDER BY ID");
    Query->Open();
    Source = std::make_unique<TDataSource>(nullptr);
    Source->SetDataSet(Query.get());

    Form.reset(CreateForm<TForm>(nullptr));
    Form->SetBounds(100, 100, 420, 320);
    Grid = new TDBCtrlGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetLeft(10);
    Grid->SetTop(10);
    Grid->SetPanelWidth(250);
    Grid->SetPanelHeight(40);
    Grid->SetPanelCount(3);
    Grid->SetColor(clWhite);
    Grid->SetSelectedColor(clYellow);
    Text = new TDBText(Form.get());
    Text->SetParent(Grid->Panel());
    Text->SetBounds(150, 10, 90, 20);
    Text->SetDataSource(Source.get());
    Text->SetDataField("NAME");
    Edit = new TDBEdit(Form.get());
    Edit->SetParent(Grid->Panel());
    Edit->SetBounds(10, 8, 120, 22);
    Edit->SetDataSource(Source.get());
    Edit->SetDataField("NAME");
    Grid->SetDataSource(Source.get());
    Grid->OnPaintPanel = TPaintPanelEvent(static_cast<DBCtrlGridTest*>(this), &DBCtrlGridTest::RecordPanel);
    Form->Show();
    Activate(Form.get());
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    Source.reset();
    Query.reset();
    Connection.reset();
    TestFolder::TearDown();
  }
  void Repaint() {
    Painted.clear();
    Grid->Repaint();
    Grid->Panel()->Repaint();
  }
  COLORREF ScreenPixel(TControl* Control, int X, int Y) {
    TPoint p = Control->ClientToScreen(TPoint(X, Y));
    return GetPixel(TWindowDC(), p.X, p.Y);
  }

  // The pixels of the edit's place on panel Index, as the screen shows them.
  std::vector<std::uint32_t> EditPixels(int Index) {
    TPoint p = Grid->ClientToScreen(TPoint(Edit->Left(), Index * 40 + Edit->Top()));
    int w = Edit->Width(), h = Edit->Height();
    TWindowDC screen;
    TOwnedBitmap bmp(CreateCompatibleBitmap(screen, w, h));
    TOwnedDC mem = TOwnedDC::Compatible(screen);
    {
      TSelectedObject selected(mem, bmp);
      BitBlt(mem, 0, 0, w, h, screen, p.X, p.Y, SRCCOPY);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(std::size_t(w * h));
    GetDIBits(mem, bmp, 0, UINT(h), pixels.data(), &bi, DIB_RGB_COLORS);
    return pixels;
  }

  std::unique_ptr<TADOConnection> Connection;
  std::unique_ptr<TADOQuery> Query;
  std::unique_ptr<TDataSource> Source;
  TModalScript Script;
  TFormPtr<TForm> Form;
  TDBCtrlGrid* Grid = nullptr;
  TDBText* Text = nullptr;
  TDBEdit* Edit = nullptr;
  std::map<int, String> Painted;
};

TEST_F(DBCtrlGridTest, PanelsLayOutAndTheControlsPanelFollowsTheCurrentRecord) {
  EXPECT_EQ(Grid->ClientHeight(), 3 * 40);
  EXPECT_EQ(Grid->Panel()->Width(), 250);
  EXPECT_EQ(Grid->PanelIndex(), 0);
  EXPECT_EQ(Grid->Panel()->Top(), 0);
  Query->Next();
  Query->Next();
  EXPECT_EQ(Grid->PanelIndex(), 2);
  EXPECT_EQ(Grid->Panel()->Top(), 80);
  // Beyond the last panel the panels scroll: the current record stays on the last one.
  Query->Next();
  EXPECT_EQ(Grid->PanelIndex(), 2);
  EXPECT_EQ(Edit->Text(), "Row4");
  Query->First();
  EXPECT_EQ(Grid->PanelIndex(), 0);
  EXPECT_EQ(Grid->Panel()->Top(), 0);
}

struct KeyCase {
  WORD Key;
  int RecNo;
  int PanelIndex;
};

TEST_F(DBCtrlGridTest, KeysMoveTheRecordAndScrollThePanels) {
  ASSERT_TRUE(GiveFocus(Grid));
  ASSERT_TRUE(Grid->Focused());
  // Each key from where the previous one left.
  const KeyCase cases[] = {
      {VK_DOWN, 2, 1}, {VK_DOWN, 3, 2}, {VK_DOWN, 4, 2}, {VK_UP, 3, 1},  {VK_NEXT, 6, 2},
      {VK_END, 10, 2}, {VK_PRIOR, 7, 0}, {VK_UP, 6, 0}, {VK_HOME, 1, 0},
  };
  for (const KeyCase& c : cases) {
    Press(c.Key);
    EXPECT_EQ(Query->RecNo(), c.RecNo) << "key " << c.Key;
    EXPECT_EQ(Grid->PanelIndex(), c.PanelIndex) << "key " << c.Key;
    EXPECT_EQ(Grid->Panel()->Top(), c.PanelIndex * 40) << "key " << c.Key;
  }
  EXPECT_EQ(Query->State(), dsBrowse);
}

TEST_F(DBCtrlGridTest, EachPanelIsPaintedWithItsOwnRow) {
  Query->MoveBy(4);  // row 5 on the last panel: rows 3, 4, 5 show
  Repaint();
  EXPECT_EQ(Painted, (std::map<int, String>{{0, "Row3"}, {1, "Row4"}, {2, "Row5"}}));
  // Painting the copies leaves the dataset on its current record.
  EXPECT_EQ(Query->FieldByName("NAME")->AsString(), "Row5");
  EXPECT_EQ(Text->Caption(), "Row5");
  EXPECT_EQ(Edit->Text(), "Row5");
}

TEST_F(DBCtrlGridTest, PaintCopiesOfAnEditShowTheirOwnRow) {
  Repaint();
  ASSERT_TRUE(::Painted(Grid));
  // Rows 1 (the real edit), 2 and 3 (copies).
  std::vector<std::uint32_t> row2 = EditPixels(1);
  std::vector<std::uint32_t> row3 = EditPixels(2);
  EXPECT_TRUE(row2 != row3) << "the copies draw different rows";
  Query->Next();  // the real edit moves to panel 1; panel 2 still shows row 3 as a copy
  Repaint();
  ASSERT_TRUE(::Painted(Grid));
  EXPECT_TRUE(EditPixels(2) == row3) << "panel 2 still shows row 3";
  EXPECT_TRUE(EditPixels(0) != row2) << "panel 0 now shows row 1";
}

TEST_F(DBCtrlGridTest, TheCurrentPanelShowsTheSelectedColourWhileFocused) {
  auto* outside = new TEdit(Form.get());
  outside->SetParent(Form.get());
  outside->SetBounds(10, 250, 100, 22);
  ASSERT_TRUE(GiveFocus(outside));
  Query->Next();
  PumpPending();
  Repaint();
  ASSERT_TRUE(::Painted(Grid));
  // A corner of each panel, away from the controls.
  EXPECT_EQ(ScreenPixel(Grid, 245, 42), ColorToRGB(clWhite)) << "current panel, grid not focused";
  ASSERT_TRUE(GiveFocus(Grid));
  Repaint();
  ASSERT_TRUE(::Painted(Grid));
  EXPECT_EQ(ScreenPixel(Grid, 245, 42), ColorToRGB(clYellow)) << "current panel";
  EXPECT_EQ(ScreenPixel(Grid, 245, 2), ColorToRGB(clWhite)) << "another panel";
  EXPECT_EQ(ScreenPixel(Grid, 245, 82), ColorToRGB(clWhite)) << "another panel";
}

TEST_F(DBCtrlGridTest, AnEmptyDataSetHidesTheControlsPanel) {
  Query->Close();
  Query->SQL()->SetText("SELECT ID, NAME FROM T WHERE ID > 100");
  Query->Open();
  EXPECT_FALSE(Grid->Panel()->Visible());
  Query->Append();
  EXPECT_TRUE(Grid->Panel()->Visible());
}

TEST(DBCtrlGridRegistryTest, FormDescriptionsCanNameThePanelGrid) {
  RegisterDBCtrlGrid();
  EXPECT_NE(GetClass("TDBCtrlGrid"), nullptr);
}

// The controls a description puts in a panel grid go on its panel, where they are painted on every
// panel with that panel's row, at the place the description gives them in the panel.
TEST_F(DBCtrlGridTest, TheControlsOfADescriptionGoOnThePanel) {
  RegisterDBCtrlGrid();
  for (TClass c : {TLabel::StaticClass(), TDBEdit::StaticClass()}) RegisterClass(c);
  TFormPtr<TForm> described(CreateForm<TForm>(nullptr));
  ReadComponentFromText(described.get(),
                        "object frmPanneaux: TForm\r\n"
                        "  object Grille: TDBCtrlGrid\r\n"
                        "    Left = 8\r\n"
                        "    Top = 8\r\n"
                        "    PanelCount = 3\r\n"
                        "    PanelHeight = 40\r\n"
                        "    PanelWidth = 250\r\n"
                        "    object Titre: TLabel\r\n"
                        "      Left = 150\r\n"
                        "      Top = 12\r\n"
                        "      Caption = 'Nom'\r\n"
                        "    end\r\n"
                        "    object Saisie: TDBEdit\r\n"
                        "      Left = 10\r\n"
                        "      Top = 8\r\n"
                        "      Width = 120\r\n"
                        "      Height = 22\r\n"
                        "    end\r\n"
                        "  end\r\n"
                        "end\r\n",
                        "panneaux");
  auto* grid = dynamic_cast<TDBCtrlGrid*>(described->FindComponent("Grille"));
  auto* label = dynamic_cast<TLabel*>(described->FindComponent("Titre"));
  auto* edit = dynamic_cast<TDBEdit*>(described->FindComponent("Saisie"));
  ASSERT_TRUE(grid != nullptr && label != nullptr && edit != nullptr);
  EXPECT_EQ(label->Parent(), grid->Panel());
  EXPECT_EQ(edit->Parent(), grid->Panel());
  EXPECT_EQ(label->Top(), 12);
  EXPECT_EQ(edit->Left(), 10);
  EXPECT_EQ(grid->Panel()->Parent(), grid);
}

}  // namespace
