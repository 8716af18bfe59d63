// Tests of the page build and band loop over a fixture query: master and detail data, group
// headers and footers, titles, page headers and footers, summaries and aggregates, page breaks,
// two passes for the page count, empty data, repeated reports, scripts and build errors; checked on
// the objects, positions and texts of the prepared pages.
#include <gtest/gtest.h>

#include "ZrReportFixture.h"

namespace {

// A list of the fixture's wetlands grouped by region with their species.
class ZrBandLoop : public ZrReportTest {
 protected:
  void SetUp() override {
    ZrReportTest::SetUp();
    Page = AddPage();
    TzrBandView* title = AddBand(Page, btReportTitle, 20, 30);
    AddMemo(Page, "Title", 20, 20, 300, 20, "Inventaire");
    Header = AddBand(Page, btPageHeader, 60, 20);
    Header->Flags |= zrbfOnFirstPage;
    AddMemo(Page, "Header", 20, 60, 300, 18, "Liste des zones");
    Group = AddBand(Page, btGroupHeader, 90, 20, "[qZones.\"REGION\"]");
    AddMemo(Page, "GroupHead", 20, 90, 300, 18, "Région : [qZones.\"REGION\"]"_a);
    Master = AddBand(Page, btMasterDataKind, 120, 20, "zrZones", "MasterData1");
    AddMemo(Page, "Zone", 40, 120, 400, 18, "[qZones.\"CODE\"] [qZones.\"NOM\"]");
    Detail = AddBand(Page, btDetailDataKind, 150, 16, "zrEspeces");
    AddMemo(Page, "Espece", 60, 150, 300, 16, "[qEspeces.\"ESPECE\"]");
    AddBand(Page, btGroupFooter, 180, 20);
    AddMemo(Page, "GroupFoot", 20, 180, 300, 18, "Surface : [SUM([qZones.\"SURFACE\"])]");
    AddBand(Page, btReportSummary, 210, 20);
    AddMemo(Page, "Total", 20, 210, 300, 18, "Total : [SUM([qZones.\"SURFACE\"])] ha");
    Footer = AddBand(Page, btPageFooter, 1000, 20);
    AddMemo(Page, "Foot", 20, 1000, 300, 18, "Page [PAGE#] / [TOTALPAGES]");
    (void)title;
  }

  TzrPage* Page = nullptr;
  TzrBandView* Header = nullptr;
  TzrBandView* Group = nullptr;
  TzrBandView* Master = nullptr;
  TzrBandView* Detail = nullptr;
  TzrBandView* Footer = nullptr;
};

TEST_F(ZrBandLoop, MasterDetailWithGroupsPrintsEveryBandInOrder) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 1);
  EXPECT_EQ(Trace(0), (std::vector<String>{
                          "Title:Inventaire",
                          "Header:Liste des zones",
                          "GroupHead:Région : Bretagne"_a,
                          "Zone:001 Marais de Brière"_a,
                          "Espece:Butor étoilé"_a,
                          "Espece:Loutre",
                          "Zone:002 Etang du Moulin",
                          "Zone:003 Tourbière de Gerbier"_a,
                          "Espece:Droséra"_a,
                          "GroupFoot:Surface : 16,75",
                          "GroupHead:Région : Provence"_a,
                          "Zone:004 Camargue",
                          "Espece:Cistude",
                          "Espece:Flamant rose",
                          "Espece:Héron pourpré"_a,
                          "Zone:005 Etang de Berre",
                          "Espece:Sterne",
                          "GroupFoot:Surface : 101,25",
                          "Total:Total : 118 ha",
                          "Foot:Page 1 / 0",
                      }));
}

TEST_F(ZrBandLoop, BandsStackFromTheTopMarginAtTheirHeights) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  ASSERT_TRUE(Report->Prepare());
  std::vector<TPrintedObject> objects = PrintedObjects(0);
  ASSERT_GE(objects.size(), 6u);
  // A4 on the virtual printer: 18-pixel printable offsets, bands in the order they print.
  int top = TemplatePage()->TopOffset();
  EXPECT_EQ(top, 18);
  struct Expected {
    const char* Name;
    int Left;
    int Top;
  };
  const Expected expected[] = {{"Title", 20, top},
                               {"Header", 20, top + 30},
                               {"GroupHead", 20, top + 50},
                               {"Zone", 40, top + 70},
                               {"Espece", 60, top + 90},
                               {"Espece", 60, top + 106}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(objects[i].Name, expected[i].Name) << i;
    EXPECT_EQ(objects[i].Left, expected[i].Left) << i;
    EXPECT_EQ(objects[i].Top, expected[i].Top) << i;
  }
  // The page footer sits at the bottom limit less its height.
  const TPrintedObject& foot = objects.back();
  EXPECT_EQ(foot.Name, "Foot");
  const TzrPrintArea& area = TemplatePage()->PrintArea;
  EXPECT_EQ(foot.Top, area.OffsetY + area.PrintableHeight - 20);
  // The template is the stored one again after the build.
  EXPECT_EQ(Report->FindObjectByName("Zone")->Top, 120);
  EXPECT_EQ(Report->FindObjectByName("Zone")->Memo()->Strings(0), "[qZones.\"CODE\"] [qZones.\"NOM\"]");
}

TEST_F(ZrBandLoop, MasterRowWithoutDetailIsDroppedUnlessPrintIfSubsetEmpty) {
  ASSERT_TRUE(Report->Prepare());
  std::vector<String> zones = Texts(0, "Zone");
  EXPECT_EQ(zones, (std::vector<String>{"001 Marais de Brière"_a, "003 Tourbière de Gerbier"_a, "004 Camargue",
                                        "005 Etang de Berre"}));
}

TEST_F(ZrBandLoop, SecondPrepareGivesTheSamePages) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  ASSERT_TRUE(Report->Prepare());
  std::vector<String> first = Trace(0);
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Trace(0), first);
}

// Pages only 200 pixels high: the list breaks over several pages.
class ZrPageBreaks : public ZrBandLoop {
 protected:
  void SetUp() override {
    ZrBandLoop::SetUp();
    Master->Flags |= zrbfPrintIfSubsetEmpty;
    // A custom paper whose printable height leaves room for about six rows.
    Page->ApplyPaper(zrCustomPaper, 2100, 0, zrDefaultBin, 700);
    Footer->Top = Page->PrintArea.PageHeight - 60;
    Report->FindObjectByName("Foot")->Top = Footer->Top;
  }
};

TEST_F(ZrPageBreaks, PageHeaderAndFooterRepeatOnEveryPage) {
  Header->Flags &= ~zrbfOnFirstPage;
  ASSERT_TRUE(Report->Prepare());
  int count = Report->EMFPages()->Count();
  ASSERT_GE(count, 2);
  const TzrPrintArea& area = TemplatePage()->PrintArea;
  EXPECT_TRUE(Texts(0, "Header").empty()) << "the page header has no OnFirstPage";
  std::vector<String> all;
  for (int p = 0; p < count; ++p) {
    if (p > 0) {
      EXPECT_EQ(Texts(p, "Header"), std::vector<String>{"Liste des zones"}) << p;
    }
    EXPECT_EQ(Texts(p, "Foot"), std::vector<String>{"Page " + IntToStr(p + 1) + " / 0"}) << p;
    for (const String& t : Texts(p, "Zone")) all.push_back(t);
    // No object passes the page's bottom limit.
    for (const TPrintedObject& o : PrintedObjects(p))
      if (o.Name != "Foot") {
        EXPECT_LE(o.Top + o.Height, area.OffsetY + area.PrintableHeight - 20) << o.Name;
      }
  }
  EXPECT_EQ(all.size(), FixtureWetlands().size()) << "every wetland printed once";
}

TEST_F(ZrPageBreaks, TwoPassesGiveTheTotalPageCountOnTheFirstPage) {
  Report->DoublePass = 1;
  ASSERT_TRUE(Report->Prepare());
  int count = Report->EMFPages()->Count();
  ASSERT_GE(count, 2);
  for (int p = 0; p < count; ++p)
    EXPECT_EQ(Texts(p, "Foot"), std::vector<String>{"Page " + IntToStr(p + 1) + " / " + IntToStr(count)}) << p;
  EXPECT_EQ(Report->DoublePass, 1) << "the template keeps its flag";
}

TEST_F(ZrPageBreaks, SinglePassAfterTwoPassesDoesNotPrintTheOldCount) {
  Report->DoublePass = 1;
  ASSERT_TRUE(Report->Prepare());
  ASSERT_GE(zrEngine.TotalPages, 2);
  Report->DoublePass = 0;
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Texts(0, "Foot"), std::vector<String>{"Page 1 / 0"});
}

TEST_F(ZrBandLoop, EmptyMasterGivesNoPageUnlessPrintIfEmpty) {
  Zones->Close();
  Zones->SQL()->SetText("select CODE, NOM, REGION, SURFACE from ZONE where 1 = 0");
  Zones->Open();
  Report->PrintIfEmpty = false;
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Report->EMFPages()->Count(), 0);
  Report->PrintIfEmpty = true;
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 1);
  EXPECT_EQ(Texts(0, "Title"), std::vector<String>{"Inventaire"});
  EXPECT_EQ(Texts(0, "Total"), std::vector<String>{"Total : 0 ha"});
  EXPECT_TRUE(Texts(0, "Zone").empty());
}

TEST_F(ZrBandLoop, MultipleReportRepeatsThePagesOncePerRecord) {
  // The report's data source repeats the whole report: three records, three copies.
  auto* three = new TzrUserDataset(Form.get());
  three->SetName("zrTrois");
  three->RangeEnd = reCount;
  three->RangeEndCount = 3;
  Report->SetDataset(three);
  Report->ReportType = rtMultiple;
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 3);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(Texts(p, "Zone").size(), FixtureWetlands().size()) << p;
}

TEST_F(ZrBandLoop, LineNumbersAndRecordCounter) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  Report->FindObjectByName("Zone")->Memo()->SetText("[LINE#]/[LINETHROUGH#]/[CURRENT#]");
  ASSERT_TRUE(Report->Prepare());
  // LINE# starts again after each group break; LINETHROUGH# runs on; CURRENT# counts every record
  // printed on the page, the species included (001 has two, 003 one, 004 three).
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"1/1/1", "2/2/4", "3/3/5", "1/4/7", "2/5/11"}));
}

TEST_F(ZrBandLoop, ScriptThatDoesNotCompileIsReportedAsBuildError) {
  TzrView* zone = Report->FindObjectByName("Zone");
  zone->Script()->SetText("begin Visible := 1");
  EXPECT_FALSE(Report->Prepare());
  EXPECT_EQ(Report->EMFPages()->Count(), 0);
  ASSERT_EQ(Modal.Unexpected.size(), 1u);
  const TModalQuestion q = Modal.Unexpected[0];
  Modal.Unexpected.clear();
  EXPECT_EQ(q.Caption, "Erreur");
  EXPECT_NE(q.Text.find("Une erreur s'est produite durant la préparation"_a), String::npos) << q.Text;
  EXPECT_NE(q.Text.find("Object: Zone"), String::npos) << q.Text;
  EXPECT_NE(q.Text.find("Etat: zrEtat"), String::npos) << q.Text;
  EXPECT_NE(q.Text.find("Line 2/1: Need \";\" or \"end\" here"), String::npos) << q.Text;
  // The template is intact: the script reads as it was written.
  EXPECT_EQ(Report->FindObjectByName("Zone")->Script()->Strings(0), "begin Visible := 1");
}

TEST_F(ZrBandLoop, ObjectScriptRunsBeforeItsObjectPrints) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  // Hides the species of the Provence wetlands and writes the surface of the others.
  TzrView* zone = Report->FindObjectByName("Zone");
  zone->Script()->SetText("if [qZones.\"REGION\"] = 'Provence' then Visible := 0 else Memo := [qZones.\"SURFACE\"]");
  ASSERT_TRUE(Report->Prepare());
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"10,5", "2", "4,25"}));
}

TEST_F(ZrBandLoop, StopReportEndsTheBuild) {
  Master->Flags |= zrbfPrintIfSubsetEmpty;
  Master->Script()->SetText("begin if [qZones.\"CODE\"] = '003' then STOPREPORT end");
  EXPECT_FALSE(Report->Prepare()) << "a stopped build did not run to its end";
  ASSERT_EQ(Report->EMFPages()->Count(), 1);
  EXPECT_EQ(Texts(0, "Zone"), (std::vector<String>{"001 Marais de Brière"_a, "002 Etang du Moulin"}));
}

}  // namespace
