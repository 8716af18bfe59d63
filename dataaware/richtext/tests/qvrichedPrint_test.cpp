// Tests of the rich-text control's printing: a text of two pages printed to the PDF printer of the
// spooler and read back from the PDF (every line once, in order, on the page it belongs to, the
// header of each page with its number).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PrintedPdfs.h"
#include "Printers.h"
#include "RichTextTestSupport.h"

namespace {

// Gives each page's header its number in the middle.
struct THeaderNumbers : TObject {
  std::vector<int> Pages;
  void Header(TqvCustomRichEdit*, TRect, int PageNumber, String&, String& CenterText, String&, bool&) {
    Pages.push_back(PageNumber);
    CenterText = "Feuille " + std::to_string(PageNumber);
  }
};

class RichPrintTest : public RichFormTest {
 protected:
  void SetUp() override {
    RichFormTest::SetUp();
    Saved = SetPrinter(new TPrinter());
    int Index = Printer()->Printers()->IndexOf("PDF");
    ASSERT_GE(Index, 0) << "no printer named PDF: scripts/printer-env.sh installs it";
    Printer()->SetPrinterIndex(Index);
  }
  void TearDown() override {
    delete SetPrinter(Saved);
    RichFormTest::TearDown();
  }
  TPrinter* Saved = nullptr;
};

// 70 paragraphs of 12 points with an inch of margin all round take two letter or A4 pages.
TEST_F(RichPrintTest, ATextOfTwoPagesPrintsEveryLineOnceInOrder) {
  std::string Rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
  for (int i = 1; i <= 70; ++i) Rtf += "Ligne " + std::to_string(i) + (i % 2 ? " \\'e9t\\'e9" : " {\\b gras}") + "\\par ";
  Rtf += "}";
  ShowForm();
  LoadRich(Edit, Rtf);
  THeaderNumbers Numbers;
  Edit->OnPrintHeader = TqvRTFDrawHeaderFooter(&Numbers, &THeaderNumbers::Header);
  std::string Title = UniqueTitle("richtext");
  Edit->Print(Title);
  EXPECT_EQ(Edit->PrintedPageCount(), 2);
  EXPECT_EQ(Numbers.Pages, (std::vector<int>{1, 2}));

  std::vector<std::string> Pdfs = WaitForPdfs(Title, 1);
  ASSERT_FALSE(Pdfs.empty()) << "no whole PDF named after " << Title << " in " << PdfFolder();
  std::vector<std::string> Pages = PdfPages(Pdfs.front());
  std::remove(Pdfs.front().c_str());
  ASSERT_EQ(Pages.size(), 2u);
  EXPECT_NE(Pages[0].find("Feuille 1"), std::string::npos) << Pages[0];
  EXPECT_NE(Pages[1].find("Feuille 2"), std::string::npos) << Pages[1];
  // Every line once, in order, each on one page; the page break between two lines.
  int BreakAfter = 0;
  for (int Page = 0; Page < 2; ++Page) {
    std::size_t At = 0;
    for (int i = 1; i <= 70; ++i) {
      std::string Line = "Ligne " + std::to_string(i) + (i % 2 ? " été" : " gras");
      std::size_t Found = Pages[Page].find(Line + "\n");
      if (Found == std::string::npos) continue;
      EXPECT_GE(Found, At) << Line << " out of order on page " << Page + 1;
      At = Found;
      if (Page == 0) BreakAfter = i;
      else EXPECT_GT(i, BreakAfter) << Line << " on both pages";
    }
  }
  EXPECT_GT(BreakAfter, 30) << "the first page holds most of a page of lines";
  EXPECT_LT(BreakAfter, 70) << "the second page holds the rest";
  int Printed = 0;
  for (int i = 1; i <= 70; ++i) {
    std::string Line = "Ligne " + std::to_string(i) + (i % 2 ? " été" : " gras") + "\n";
    int Times = 0;
    for (const std::string& P : Pages)
      for (std::size_t F = P.find(Line); F != std::string::npos; F = P.find(Line, F + 1)) ++Times;
    EXPECT_EQ(Times, 1) << Line;
    Printed += Times;
  }
  EXPECT_EQ(Printed, 70);
}

}  // namespace
