// Tests of printing prepared pages on the spooler's PDF printer: every page with its size, texts and
// positions read back from the PDF; page lists, odd and even pages and collated copies; a page on
// other paper printed as a document of its own; the job's title.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "AnsiString.h"
#include "ZrWindowTestSupport.h"
#include "Printers.h"

namespace {

class ZrPrint : public ZrWindowTest {
 protected:
  void SetUp() override {
    ZrWindowTest::SetUp();
    if (Printer()->Printers()->IndexOf("PDF") < 0) GTEST_SKIP() << "no printer named PDF: scripts/printer-env.sh installs it";
    Printer()->SetPrinterIndex(Printer()->Printers()->IndexOf("PDF"));
  }
  // Prints and returns the wetland number (1 to 5) of each page of the PDFs, in order.
  std::vector<int> PrintedZones(const String& Pages, int Copies, int Mode, bool Collate) {
    std::string title = UniqueTitle("velborliste");
    Report->Title = title;
    EXPECT_TRUE(Report->PrintPrepared(Pages, Copies, Mode, Collate));
    std::vector<std::string> pdfs = WaitForPdfs(title, 1);
    std::vector<int> zones;
    for (const std::string& pdf : pdfs) {
      for (const std::string& page : PdfPages(pdf)) {
        std::size_t at = page.find("Zone 00");
        zones.push_back(at == std::string::npos ? 0 : page[at + 7] - '0');
      }
      std::remove(pdf.c_str());
    }
    return zones;
  }
};

TEST_F(ZrPrint, EveryPageReachesThePdfWithItsSizeTextsAndPlaces) {
  std::string title = UniqueTitle("velborfiches");
  Report->Title = title;
  ASSERT_TRUE(Report->PrintPrepared("", 1, 0, true));
  std::vector<std::string> pdfs = WaitForPdfs(title, 1);
  ASSERT_EQ(pdfs.size(), 1u);
  std::string info = HostCommand("pdfinfo '" + pdfs[0] + "'");
  EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +5\n"))) << info;
  EXPECT_TRUE(std::regex_search(info, std::regex("Page size: +59[45](\\.[0-9]+)? x 84[12](\\.[0-9]+)? pts"))) << info;
  std::vector<std::string> pages = PdfPages(pdfs[0]);
  ASSERT_EQ(pages.size(), 5u);
  const String names[] = {"Marais de Brière"_a, "Etang du Moulin", "Tourbière de Gerbier"_a, "Camargue",
                          "Etang de Berre"};
  const char* regions[] = {"Bretagne", "Bretagne", "Bretagne", "Provence", "Provence"};
  for (int i = 0; i < 5; ++i) {
    // pdftotext writes UTF-8: the names' accents as the printer drew them.
    std::string name = AnsiToUtf8(names[i]);
    EXPECT_NE(pages[std::size_t(i)].find(name), std::string::npos) << pages[std::size_t(i)];
    EXPECT_NE(pages[std::size_t(i)].find(std::string("R\xc3\xa9gion : ") + regions[i]), std::string::npos);
    EXPECT_NE(pages[std::size_t(i)].find("Zone 00" + std::to_string(i + 1)), std::string::npos);
  }
  // Places: the title's left and the code's right edge, from report pixels (91.6256 per inch) to
  // points, the page drawn on the whole sheet.
  std::string boxes = HostCommand("pdftotext -bbox -f 1 -l 1 '" + pdfs[0] + "' -");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(boxes, m, std::regex("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">Marais"))) << boxes;
  double toPoints = 72.0 / 91.6256157635468;
  EXPECT_NEAR(std::stod(m[1]), (40 + 2) * toPoints, 3.0);
  EXPECT_NEAR(std::stod(m[2]), (18 + 1) * toPoints, 6.0);
  ASSERT_TRUE(std::regex_search(boxes, m, std::regex("xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">001<"))) << boxes;
  EXPECT_NEAR(std::stod(m[1]), (500 + 200 - 2) * toPoints, 3.0);
  std::remove(pdfs[0].c_str());
}

TEST_F(ZrPrint, PageListsOddOrEvenPagesAndCollatedCopies) {
  const struct {
    const char* Pages;
    int Copies;
    int Mode;
    std::vector<int> Printed;
  } kJobs[] = {
      {"2-3", 1, 0, {2, 3}},
      {"5-3", 1, 0, {3, 4, 5}},
      {"1,3", 1, 0, {1, 3}},
      {"", 1, 2, {2, 4}},
      {"", 1, 1, {1, 3, 5}},
      {"1-2", 2, 0, {1, 2, 1, 2}},
      {"4-", 0, 0, {4, 5}},
  };
  for (const auto& job : kJobs) EXPECT_EQ(PrintedZones(job.Pages, job.Copies, job.Mode, true), job.Printed) << job.Pages;
  EXPECT_EQ(Printer()->Copies(), 1) << "collated copies are the report's loops";
}

TEST_F(ZrPrint, APageOnOtherPaperIsADocumentOfItsOwn) {
  Report->Clear();
  for (int orientation : {0, 1, 0}) {
    TzrPage* page = AddPage();
    page->ApplyPaper(zrPaperA4, 0, orientation, zrDefaultBin, 0);
    AddBand(page, btReportTitle, 20, 40);
    AddMemo(page, "Sens", 40, 20, 400, 20, orientation == 1 ? "Paysage" : "Portrait");
  }
  Report->ReportType = rtSimple;
  ASSERT_TRUE(Report->Prepare());
  ASSERT_EQ(Report->EMFPages()->Count(), 3);
  std::string title = UniqueTitle("velborsens");
  Report->Title = title;
  ASSERT_TRUE(Report->PrintPrepared("", 1, 0, true));
  std::vector<std::string> pdfs = WaitForPdfs(title, 3);
  ASSERT_EQ(pdfs.size(), 3u);
  // The PDF printer turns a landscape page a quarter round: a portrait sheet whose page is rotated.
  const char* expected[] = {"portrait", "landscape", "portrait"};
  for (std::size_t i = 0; i < 3; ++i) {
    std::string info = HostCommand("pdfinfo '" + pdfs[i] + "'");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex("Page size: +([0-9]+)(\\.[0-9]+)? x ([0-9]+)"))) << info;
    int w = std::stoi(m[1]);
    int h = std::stoi(m[3]);
    std::smatch rot;
    int rotation = std::regex_search(info, rot, std::regex("Page rot: +([0-9]+)")) ? std::stoi(rot[1]) : 0;
    bool wide = (w > h) != (rotation % 180 == 90);
    EXPECT_EQ(std::string(wide ? "landscape" : "portrait"), expected[i]) << info;
    EXPECT_NEAR(std::min(w, h), 595, 1) << info;
    EXPECT_NEAR(std::max(w, h), 842, 1) << info;
    EXPECT_NE(PdfText(pdfs[i]).find(i == 1 ? "Paysage" : "Portrait"), std::string::npos);
    std::remove(pdfs[i].c_str());
  }
}

TEST_F(ZrPrint, AReportWithoutTitlePrintsAsSansNom) {
  Report->Title.clear();
  // The job's file is named after its title: the one a run before this one may have left too.
  std::vector<std::string> before = WaitForPdfs("Sans_nom", 0);
  ASSERT_TRUE(Report->PrintPrepared("1", 1, 0, true));
  EXPECT_EQ(Printer()->Title, "Sans_nom");
  std::vector<std::string> after = WaitForPdfs("Sans_nom", before.size() + 1);
  ASSERT_EQ(after.size(), before.size() + 1);
  for (const std::string& pdf : after)
    if (std::find(before.begin(), before.end(), pdf) == before.end()) {
      EXPECT_NE(PdfText(pdf).find("Zone 001"), std::string::npos);
      std::remove(pdf.c_str());
    }
}

}  // namespace
