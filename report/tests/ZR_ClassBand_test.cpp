// Tests of band printing beyond the plain list: page breaks asked by scripts, band columns, page
// columns, groups that start a page or repeat their header, two master bands, objects outside every
// band, the report's own data source, a page that prints on the previous one, page events,
// sub-reports, cross-tab columns, dialog pages, margins, progress and the listeners of printed
// memos, checked on the prepared pages.
#include <gtest/gtest.h>

#include <algorithm>

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
  int top = TemplatePage()->TopOffset();
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
  int rowTop = TemplatePage()->TopOffset();
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
    EXPECT_EQ(cells[i].Top, TemplatePage()->TopOffset() + int(i / 3) * 20) << i;
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

// Page columns: rows of 400 pixels, two to a column of an A4 page; the third row goes to the top of
// the second column, the fifth to a new page.
TEST_F(ZrBands, PageColumnsFillTheSecondColumnThenANewPage) {
  Page->Columns = 2;
  Page->ColumnGap = 20;
  AddBand(Page, btMasterDataKind, 40, 400, "zrZones")->Flags |= zrbfPrintIfSubsetEmpty;
  AddMemo(Page, "Zone", 20, 40, 150, 18, "[qZones.\"CODE\"]");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  TzrPage* page = TemplatePage();
  const int top = page->TopOffset();
  const int columnWidth = (page->RightOffset() - page->LeftOffset() - 20) / 2;
  const int second = 20 + columnWidth + 20;
  struct Expected {
    int Page;
    const char* Code;
    int Left, Top;
  };
  const Expected expected[] = {{0, "001", 20, top},     {0, "002", 20, top + 400}, {0, "003", second, top},
                               {0, "004", second, top + 400}, {1, "005", 20, top}};
  std::vector<TPrintedObject> printed[2] = {PrintedObjects(0), PrintedObjects(1)};
  std::size_t next[2] = {0, 0};
  for (const Expected& e : expected) {
    std::vector<TPrintedObject>& objects = printed[e.Page];
    std::size_t& i = next[e.Page];
    ASSERT_LT(i, objects.size()) << e.Code;
    EXPECT_EQ(objects[i].Text, e.Code);
    EXPECT_EQ(objects[i].Left, e.Left) << e.Code;
    EXPECT_EQ(objects[i].Top, e.Top) << e.Code;
    ++i;
  }
  EXPECT_EQ(next[0], printed[0].size());
  EXPECT_EQ(next[1], printed[1].size());
}

// A group header with RepeatHeader prints again at the top of the page its group continues on.
TEST_F(ZrBands, GroupHeaderRepeatsOnTheNextPage) {
  AddBand(Page, btGroupHeader, 10, 20, "[qZones.\"REGION\"]")->Flags |= zrbfRepeatHeader;
  AddMemo(Page, "Region", 10, 10, 200, 18, "[qZones.\"REGION\"]");
  AddBand(Page, btMasterDataKind, 40, 400, "zrZones")->Flags |= zrbfPrintIfSubsetEmpty;
  AddMemo(Page, "Zone", 20, 40, 150, 18, "[qZones.\"CODE\"]");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 3);
  EXPECT_EQ(Trace(0), (std::vector<String>{"Region:Bretagne", "Zone:001", "Zone:002"}));
  EXPECT_EQ(Trace(1), (std::vector<String>{"Region:Bretagne", "Zone:003", "Region:Provence", "Zone:004"}));
  EXPECT_EQ(Trace(2), (std::vector<String>{"Region:Provence", "Zone:005"}));
  EXPECT_EQ(PrintedObjects(1)[0].Top, TemplatePage()->TopOffset()) << "the repeat opens the page";
}

// Two master data bands print one after the other, each over its own data source, in the order of
// their top edges (not of their place in the object list).
TEST_F(ZrBands, TwoMasterBandsPrintInTheOrderOfTheirTops) {
  AddBand(Page, btMasterDataKind, 100, 20, "2");
  AddMemo(Page, "Ligne", 20, 100, 150, 18, "ligne [LINE#]");
  AddZoneRows(40);
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Trace(0), (std::vector<String>{"Zone:001", "Zone:002", "Zone:003", "Zone:004", "Zone:005", "Ligne:ligne 1",
                                           "Ligne:ligne 2"}));
}

// Objects outside every band print with the first page their template page builds, where the
// template places them; the pages that the band loop adds after it do not repeat them.
TEST_F(ZrBands, ObjectsOutsideEveryBandPrintWithTheFirstPage) {
  TzrBandView* master = AddZoneRows();
  master->Script()->SetText("begin if [qZones.\"CODE\"] = '004' then NEWPAGE end");
  AddMemo(Page, "Hors", 500, 700, 150, 18, "hors bande");
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 2);
  std::vector<TPrintedObject> marks;
  for (const TPrintedObject& o : PrintedObjects(0))
    if (o.Name == "Hors") marks.push_back(o);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].Left, 500);
  EXPECT_EQ(marks[0].Top, 700);
  EXPECT_EQ(marks[0].Text, "hors bande");
  EXPECT_TRUE(Texts(1, "Hors").empty());
}

// A master data band that names no data source reads the report's Dataset in a simple report.
TEST_F(ZrBands, MasterBandWithoutSourceReadsTheReportDataset) {
  AddBand(Page, btMasterDataKind, 40, 20)->Flags |= zrbfPrintIfSubsetEmpty;
  AddMemo(Page, "Zone", 20, 40, 150, 18, "[qZones.\"CODE\"]");
  ASSERT_TRUE(Report->Prepare());
  EXPECT_TRUE(Texts(0, "Zone").empty()) << "no source, no rows";
  Report->SetDataset(ZonesLink);
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"001", "002", "003", "004", "005"}));
}

// An object whose Flags hold the listener bit is told of every memo printed; a memo split over
// pages is told once.
class TMemoListener : public TzrLineView {
  VELBOR_DECLARE_CLASS(TMemoListener, TzrLineView)
 public:
  static std::vector<String> Heard;
  void MemoPrinted(TzrView* Memo) override {
    String first = Memo->OutLines()->Count() > 0 ? Memo->OutLines()->Strings(0) : String();
    first.erase(std::remove(first.begin(), first.end(), zrLineEnd), first.end());
    Heard.push_back(Memo->Name + ":" + first);
  }
};
VELBOR_IMPLEMENT_CLASS(TMemoListener)
std::vector<String> TMemoListener::Heard;

TEST_F(ZrBands, ListenersAreToldOfEveryMemoPrinted) {
  AddZoneRows();
  auto* listener = new TMemoListener();
  listener->Name = "Ecoute";
  listener->PlaceAt(0, 800, 10, 0);
  listener->Visible = false;
  listener->Flags |= zrvfPrintListener;
  Page->AddObject(listener);
  TMemoListener::Heard.clear();
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(TMemoListener::Heard, (std::vector<String>{"Zone:001", "Zone:002", "Zone:003", "Zone:004", "Zone:005"}));

  // One row whose notice runs over several pages.
  TzrPage* page = TemplatePage();
  for (int i = page->ObjectCount() - 1; i >= 0; --i) page->DeleteObject(i);
  TzrBandView* master = AddBand(page, btMasterDataKind, 40, 20, "1");
  master->Flags |= zrbfStretched;
  TzrMemoView* notice = AddMemo(page, "Notice", 20, 40, 200, 18, "ligne 1");
  for (int i = 2; i <= 150; ++i) notice->Memo()->Add("ligne " + IntToStr(i));
  notice->Flags |= 1;
  listener = new TMemoListener();
  listener->Name = "Ecoute";
  listener->Visible = false;
  listener->Flags |= zrvfPrintListener;
  page->AddObject(listener);
  TMemoListener::Heard.clear();
  ASSERT_TRUE(Report->Prepare());
  ASSERT_GE(Report->EMFPages()->Count(), 2);
  ASSERT_EQ(TMemoListener::Heard.size(), 1u) << "told once, with the first part";
  EXPECT_EQ(TMemoListener::Heard[0].substr(0, 7), "Notice:");
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
  const int width = TemplatePage()->PrintArea.PageWidth, height = TemplatePage()->PrintArea.PageHeight;
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
