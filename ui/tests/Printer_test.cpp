// Tests of the printer over the spooler: the PDF printer the test script installs is listed and
// selected, its device settings change the page, a job of two pages with accented text reaches a
// PDF file whose text reads back exact, and misuse raises EPrinter.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "PrintedPdfs.h"
#include "Printers.h"

namespace {

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = SetPrinter(new TPrinter());
    Index = Printer()->Printers()->IndexOf("PDF");
    if (Index < 0) GTEST_SKIP() << "no printer named PDF: scripts/printer-env.sh installs it";
    Printer()->SetPrinterIndex(Index);
  }
  void TearDown() override { delete SetPrinter(Saved); }
  TPrinter* Saved = nullptr;
  int Index = -1;
};

TEST_F(PrinterTest, ThePdfPrinterIsListedAndDescribed) {
  EXPECT_EQ(Printer()->PrinterIndex(), Index);
  String device, driver, port;
  HGLOBAL mode = nullptr;
  Printer()->GetPrinter(device, driver, port, mode);
  EXPECT_EQ(device, "PDF");
  ASSERT_NE(mode, nullptr);
  auto* dm = static_cast<DEVMODEA*>(::GlobalLock(mode));
  EXPECT_STREQ(reinterpret_cast<const char*>(dm->dmDeviceName), "PDF");
  ::GlobalUnlock(mode);
  EXPECT_TRUE(Printer()->Capabilities().Contains(pcOrientation));
  EXPECT_GT(Printer()->Fonts()->Count(), 0);
}

TEST_F(PrinterTest, OrientationAndCopiesGoToTheDeviceMode) {
  Printer()->SetOrientation(poPortrait);
  int width = Printer()->PageWidth();
  int height = Printer()->PageHeight();
  EXPECT_GT(height, width);
  Printer()->SetOrientation(poLandscape);
  EXPECT_EQ(Printer()->Orientation(), poLandscape);
  EXPECT_EQ(Printer()->PageWidth(), height);
  EXPECT_EQ(Printer()->PageHeight(), width);
  Printer()->SetOrientation(poPortrait);
  Printer()->SetCopies(3);
  EXPECT_EQ(Printer()->Copies(), 3);
  Printer()->SetCopies(1);
}

TEST_F(PrinterTest, MisuseRaises) {
  EXPECT_THROW(Printer()->SetPrinterIndex(Printer()->Printers()->Count()), EPrinter);
  EXPECT_THROW(Printer()->SetPrinterIndex(-2), EPrinter);
  EXPECT_THROW(Printer()->EndDoc(), EPrinter);
  EXPECT_THROW(Printer()->NewPage(), EPrinter);
  EXPECT_THROW(Printer()->Abort(), EPrinter);
  EXPECT_EQ(Printer()->PrinterIndex(), Index);
}

TEST_F(PrinterTest, AnAbortedJobEndsThePrinting) {
  Printer()->Title = "velbor abandon";
  Printer()->BeginDoc();
  EXPECT_THROW(Printer()->BeginDoc(), EPrinter);
  EXPECT_THROW(Printer()->SetPrinterIndex(Index), EPrinter);
  Printer()->Canvas()->TextOut(10, 10, "perdu");
  Printer()->Abort();
  EXPECT_FALSE(Printer()->Printing());
  EXPECT_TRUE(Printer()->Aborted());
  EXPECT_EQ(Printer()->PageNumber(), 0);
}

TEST_F(PrinterTest, AccentedTextPrintsToAPdfThatReadsBackExact) {
  std::string title = UniqueTitle();
  TPrinter* p = Printer();
  p->Title = title;
  p->BeginDoc();
  EXPECT_TRUE(p->Printing());
  EXPECT_EQ(p->PageNumber(), 1);
  TCanvas* c = p->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetSize(14);
  // A point is a point on paper: 14 points at the printer's resolution.
  int ppi = ::GetDeviceCaps(p->Handle(), LOGPIXELSY);
  EXPECT_EQ(-c->Font()->Height(), (14 * ppi + 36) / 72);
  c->TextOut(200, 200, "Élévation à côté du marais"_a);
  c->TextOut(200, 400, "Tourbière, roselière, ça marche"_a);
  p->NewPage();
  EXPECT_EQ(p->PageNumber(), 2);
  c->TextOut(200, 200, "Deuxième page"_a);
  p->EndDoc();
  EXPECT_FALSE(p->Printing());
  EXPECT_FALSE(p->Aborted());

  std::vector<std::string> pdfs = WaitForPdfs(title, 1);
  ASSERT_FALSE(pdfs.empty()) << "no whole PDF named after " << title << " in " << PdfFolder();
  const std::string& pdf = pdfs.front();
  std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Élévation à côté du marais"), std::string::npos) << text;
  EXPECT_NE(text.find("Tourbière, roselière, ça marche"), std::string::npos) << text;
  // pdftotext ends each page with a form feed: the second text is on page two.
  std::size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  std::size_t second = text.find("Deuxième page");
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_GT(second, pageBreak);
  std::remove(pdf.c_str());
}

}  // namespace
