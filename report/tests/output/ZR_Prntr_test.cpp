// Tests of the engine printer's virtual printer: the page geometry of table papers in both
// orientations and of custom sizes (a paper of no size laid out as A4), the comparison of papers,
// and the list of printers with the virtual one last.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "ZR_Prntr.h"

namespace {

class ZrVirtualPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    Printer.AttachPrinter(nullptr);
  }
  TzrPrintArea Area(int Size, int Width, int Height, int Orientation) {
    Printer.ChangePaper(Size, Width, Height, zrDefaultBin, Orientation, true);
    TzrPrintArea a;
    Printer.GetPrintArea(a);
    return a;
  }
  TzrPrinter Printer;
};

TEST_F(ZrVirtualPrinter, PapersGiveTheirGeometryInReportPixels) {
  const struct {
    int Size, Width, Height, Orientation;
    int PageWidth, PageHeight;
  } kPapers[] = {
      {zrPaperA4, 0, 0, 0, 758, 1071},
      {zrPaperA4, 0, 0, 1, 1071, 758},
      {11, 0, 0, 0, 534, 758},  // A5
      {zrCustomPaper, 1000, 500, 0, 361, 180},
      {zrCustomPaper, 1000, 500, 1, 361, 180},  // a custom size keeps what it is given
      {zrCustomPaper, 0, 0, 0, 758, 1071},      // no size: laid out as A4
      {zrCustomPaper, 0, 0, 1, 1071, 758},
  };
  for (const auto& p : kPapers) {
    TzrPrintArea a = Area(p.Size, p.Width, p.Height, p.Orientation);
    EXPECT_EQ(a.PageWidth, p.PageWidth) << p.Size << " " << p.Width;
    EXPECT_EQ(a.PageHeight, p.PageHeight) << p.Size << " " << p.Width;
    EXPECT_EQ(a.OffsetX, 18);
    EXPECT_EQ(a.OffsetY, 18);
    EXPECT_EQ(a.PrintableWidth, p.PageWidth - 36);
    EXPECT_EQ(a.PrintableHeight, p.PageHeight - 36);
  }
}

TEST_F(ZrVirtualPrinter, PapersMatchByCodeOrientationAndBinOrSize) {
  Printer.ChangePaper(zrCustomPaper, 1000, 500, 7, 0, true);
  EXPECT_TRUE(Printer.MatchesCurrent(zrCustomPaper, 1001, 499, 3, 0)) << "a tenth of a millimetre apart, any bin";
  EXPECT_FALSE(Printer.MatchesCurrent(zrCustomPaper, 1002, 500, 7, 0));
  EXPECT_FALSE(Printer.MatchesCurrent(zrCustomPaper, 1000, 500, 7, 1));
  Printer.ChangePaper(zrPaperA4, 0, 0, 2, 0, true);
  EXPECT_TRUE(Printer.MatchesCurrent(zrPaperA4, 0, 0, 2, 0));
  EXPECT_TRUE(Printer.MatchesCurrent(zrPaperA4, 0, 0, zrDefaultBin, 0)) << "the default source matches any bin";
  EXPECT_FALSE(Printer.MatchesCurrent(zrPaperA4, 0, 0, 3, 0));
  EXPECT_FALSE(Printer.MatchesCurrent(11, 0, 0, 2, 0));
}

TEST_F(ZrVirtualPrinter, TheVirtualPrinterIsTheLastAndHasItsPaperTable) {
  ASSERT_EQ(Printer.PrinterNames()->Count(), 1);
  EXPECT_EQ(Printer.PrinterNames()->Strings(Printer.VirtualIndex()), "Imprimante virtuelle");
  EXPECT_TRUE(Printer.IsVirtual());
  EXPECT_EQ(Printer.PaperSizeCount(), 67);
  EXPECT_EQ(Printer.PaperSizes(8), zrPaperA4);
  EXPECT_EQ(Printer.PaperNames()->Strings(8), "A4 210 x 297 mm");
  EXPECT_EQ(Printer.PaperSizes(66), zrCustomPaper);
  EXPECT_EQ(Printer.BinCount(), 1);
  EXPECT_EQ(Printer.Bins(0), 0xFFFF);
  EXPECT_THROW(Printer.SelectPrinter(1), EListError);
  EXPECT_FALSE(Printer.ShowDeviceProperties()) << "the virtual printer has no driver";
}

}  // namespace
