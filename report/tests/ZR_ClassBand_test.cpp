// Tests of band printing beyond the plain list: page breaks asked by scripts, band columns, groups
// that start a page, a page that prints on the previous one, page events, sub-reports, cross-tab
// columns and dialog pages, checked on the prepared pages.
#include <gtest/gtest.h>

#include "ZrReportFixture.h"
#include "StdCtrls.h"

namespace {

class ZrBands : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    Page = AddPage();
  }
  // The wetlands, one row of 20 pixels each, with their code.
  TzrBandView* AddZoneRows(int Top = 40) {
    TzrBandView* master = AddBand(Page, btMasterDataKind, Top, 20, "zrZones", "MasterData1");
    master->Flags |= zrbfPrintIfSubsetEmpty;
    AddMemo(Page, "Zone", 20, Top, 150, 18, "[qZones.\"CODE\"]");
    return master;
  }
  TzrPage* Page = nullptr;
};

TEST_F(ZrBands, ScriptAsksTwoPageBreaks) {
  TzrBandView* master = AddZoneRows();
  master->Script()->SetText("begin if [qZones.\"CODE\"] = '003' then begin NEWPAGE; NEWPAGE end end");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 3);
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"001", "002"}));
  EXPECT_TRUE(Texts(1, "Zone").empty());
  EXPECT_EQ(Texts(2, "Zone"), (std::vector<String>{"003", "004", "005"}));
}

TEST_F(ZrBands, BandColumnsPutRecordsSideBySide) {
  TzrBandView* master = AddZoneRows();
  master->Columns = 3;
  master->ColumnWidth = 200;
  master->ColumnGap = 20;
  ASSERT_TRUE(Report->Prepare());
  std::vector<TPrintedObject> zones;
  for (const TPrintedObject& o : PrintedObjects(0))
    if (o.Name == "Zone") zones.push_back(o);
  ASSERT_EQ(zones.size(), 5u);
  int top = Page->TopOffset();
  const int expected[5][2] = {{20, top}, {240, top}, {460, top}, {20, top + 20}, {240, top + 20}};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(zones[i].Left, expected[i][0]) << zones[i].Text;
    EXPECT_EQ(zones[i].Top, expected[i][1]) << zones[i].Text;
  }
}

TEST_F(ZrBands, GroupThatStartsANewPage) {
  TzrBandView* group = AddBand(Page, btGroupHeader, 10, 20, "[qZones.\"REGION\"]");
  group->Flags |= zrbfFormNewPage;
  AddMemo(Page, "Region", 10, 10, 200, 18, "[qZones.\"REGION\"]");
  AddZoneRows();
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  EXPECT_EQ(Texts(0, "Region"), std::vector<String>{"Bretagne"});
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"001", "002", "003"}));
  EXPECT_EQ(Texts(1, "Region"), std::vector<String>{"Provence"});
  EXPECT_EQ(Texts(1, "Zone"), (std::vector<String>{"004", "005"}));
}

TEST_F(ZrBands, PageThatPrintsOnThePreviousOne) {
  AddBand(Page, btReportTitle, 10, 30);
  AddMemo(Page, "Un", 10, 10, 100, 18, "premier");
  TzrPage* next = AddPage();
  next->PrintToPrevPage = true;
  AddBand(next, btReportTitle, 10, 40);
  AddMemo(next, "Deux", 10, 10, 100, 18, "second");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 1);
  std::vector<TPrintedObject> objects = PrintedObjects(0);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].Name, "Un");
  EXPECT_EQ(objects[1].Name, "Deux");
  EXPECT_EQ(objects[1].Top, objects[0].Top + 30) << "below the first page's title";
}

class TPageEvents : public TObject {
 public:
  std::vector<String> Log;
  void BeginPage(int pgNo) { Log.push_back("begin " + IntToStr(pgNo)); }
  void EndPage(int pgNo) { Log.push_back("end " + IntToStr(pgNo)); }
  void BeginDoc() { Log.push_back("doc"); }
};

TEST_F(ZrBands, PageEventsFollowThePreparedPages) {
  TzrBandView* master = AddZoneRows();
  master->Script()->SetText("begin if [qZones.\"CODE\"] = '004' then NEWPAGE end");
  TPageEvents events;
  Report->OnBeginDoc = TzrSimpleEvent(&events, &TPageEvents::BeginDoc);
  Report->OnBeginPage = TzrPageEvent(&events, &TPageEvents::BeginPage);
  Report->OnEndPage = TzrPageEvent(&events, &TPageEvents::EndPage);
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  // A page without footer ends unannounced; the last page's end fires with its number.
  EXPECT_EQ(events.Log, (std::vector<String>{"doc", "begin 0", "begin 1", "end 1"}));
}

// Page 2 holds the species of a wetland; a sub-report object of page 1 prints it in each row.
TEST_F(ZrBands, SubReportPrintsItsPageInsideTheRow) {
  TzrBandView* master = AddBand(Page, btMasterDataKind, 40, 30, "zrZones");
  master->Flags |= zrbfPrintIfSubsetEmpty;
  AddMemo(Page, "Zone", 20, 40, 150, 18, "[qZones.\"CODE\"]");
  auto* sub = new TzrSubReportView();
  sub->Name = "Especes";
  sub->PlaceAt(200, 45, 300, 20);
  sub->SubPage = 1;
  Page->AddObject(sub);
  TzrPage* speciesPage = AddPage();
  AddBand(speciesPage, btMasterDataKind, 10, 16, "zrEspeces");
  AddMemo(speciesPage, "Espece", 0, 10, 200, 16, "[qEspeces.\"ESPECE\"]");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 1) << "the sub-report's page is not built on its own";
  EXPECT_EQ(Trace(0), (std::vector<String>{"Zone:001", "Espece:Butor étoilé"_a, "Espece:Loutre", "Zone:002",
                                           "Zone:003", "Espece:Droséra"_a, "Zone:004", "Espece:Cistude",
                                           "Espece:Flamant rose", "Espece:Héron pourpré"_a, "Zone:005",
                                           "Espece:Sterne"}));
  std::vector<TPrintedObject> objects = PrintedObjects(0);
  // The species sit at the sub-report's place in the row, one under the other; the next row starts
  // below the longest of the row and its sub-report.
  int rowTop = Page->TopOffset();
  EXPECT_EQ(objects[0].Top, rowTop);
  EXPECT_EQ(objects[1].Left, 200);
  EXPECT_EQ(objects[1].Top, rowTop + 5);
  EXPECT_EQ(objects[2].Top, rowTop + 5 + 16);
  EXPECT_EQ(objects[3].Top, rowTop + 5 + 32) << "row 2 below the two species of row 1";
}

// A cross-tab band of three columns 60 pixels wide across each row.
TEST_F(ZrBands, CrossTabColumnsRepeatAcrossTheRow) {
  AddZoneRows();
  auto* cross = new TzrBandView();
  cross->Name = "Colonnes";
  cross->SetBandType(btCrossDataKind);
  cross->PlaceAt(300, 0, 60, 1000);
  cross->FormatText = "3";
  Page->AddObject(cross);
  AddMemo(Page, "Cellule", 300, 40, 60, 18, "[COLUMN#]");
  ASSERT_TRUE(Report->Prepare());
  std::vector<TPrintedObject> cells;
  for (const TPrintedObject& o : PrintedObjects(0))
    if (o.Name == "Cellule") cells.push_back(o);
  ASSERT_EQ(cells.size(), 15u) << "three cells in each of the five rows";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].Text, IntToStr(int(i % 3) + 1)) << i;
    EXPECT_EQ(cells[i].Left, 300 + int(i % 3) * 60) << i;
    EXPECT_EQ(cells[i].Top, Page->TopOffset() + int(i / 3) * 20) << i;
  }
  EXPECT_EQ(Texts(0, "Zone").size(), 5u) << "the row's own objects print once";
}

// A dialog control of the tests: an edit, an add-in class as dialog controls are.
class TTestEdit : public TzrControl {
  VELBOR_DECLARE_CLASS(TTestEdit, TzrControl)
 public:
  TTestEdit() { SetControl(new TEdit(nullptr)); }
};
VELBOR_IMPLEMENT_CLASS(TTestEdit)

TEST_F(ZrBands, DialogPageDecidesWhetherTheReportIsBuilt) {
  EnrolAddInClass(TTestEdit::StaticClass(), nullptr, String());
  AddZoneRows();
  TzrPage* dialog = Report->Pages()->Add();
  dialog->PageType = ptDialog;
  auto* edit = new TTestEdit();
  edit->Name = "Saisie";
  edit->PlaceAt(10, 10, 100, 20);
  dialog->AddObject(edit);
  dialog->Script()->SetText("ModalResult := mrCancel");
  EXPECT_FALSE(Report->Prepare());
  EXPECT_EQ(Report->EMFPages()->Count(), 0) << "a cancelled dialog leaves no page";
  dialog = Report->Pages()->Pages(1);
  dialog->Script()->SetText("ModalResult := mrOk");
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Texts(0, "Zone").size(), 5u);
}

}  // namespace

namespace {

TEST_F(ZrBands, MarginsAreReportPixels) {
  Page->Margins = TRect(50, 40, 30, 20);
  AddBand(Page, btReportTitle, 100, 20);
  AddMemo(Page, "Titre", 60, 100, 200, 18, "[Page1.LeftMargin]/[Page1.RightMargin]/[Page1.BottomMargin]");
  AddBand(Page, btPageFooter, 900, 20)->Flags |= zrbfOnLastPage;
  AddMemo(Page, "Pied", 60, 900, 200, 18, "pied");
  ASSERT_TRUE(Report->Prepare());
  std::vector<TPrintedObject> objects = PrintedObjects(0);
  ASSERT_EQ(objects.size(), 2u);
  // The limits of the page are its margins: the title at the top margin, the footer above the bottom
  // margin, the script properties answering the same limits during the build.
  EXPECT_EQ(objects[0].Top, 40);
  EXPECT_EQ(objects[0].Left, 60) << "objects keep their place on the page";
  const int width = Page->PrintArea.PageWidth, height = Page->PrintArea.PageHeight;
  EXPECT_EQ(objects[0].Text, "50/" + IntToStr(width - 30) + "/" + IntToStr(height - 20 - 20));
  EXPECT_EQ(objects[1].Top, height - 20 - 20);
  // Outside a build the properties give the margins themselves.
  EXPECT_EQ(Report->Pages()->Pages(0)->GetProperty("RightMargin").AsInteger(), 30);
}

class TProgressLog : public TObject {
 public:
  std::vector<int> Counts;
  void Progress(int n) { Counts.push_back(n); }
};

TEST_F(ZrBands, ProgressEventReplacesTheProgressWindow) {
  TzrBandView* master = AddZoneRows();
  master->Script()->SetText("begin if [qZones.\"CODE\"] = '003' then NEWPAGE end");
  Report->ShowProgress = true;
  TProgressLog log;
  Report->OnProgress = TzrProgressEvent(&log, &TProgressLog::Progress);
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  // The page counter as the build reaches each page: the start, the break, the end of the pages.
  EXPECT_EQ(log.Counts, (std::vector<int>{1, 1, 2, 2}));
}

}  // namespace
