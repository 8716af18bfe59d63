// Tests of the rich-text control's printing: a text of two pages printed to the PDF printer of the
// spooler and read back from the PDF (every line once, in order, on the page it belongs to, the
// header of each page with its number).
#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Printers.h"
#include "RichTextTestSupport.h"

namespace {

// The folder the PDF printer writes into (a host path).
std::string PdfFolder() {
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "/root") + "/PDF";
}

// Letters and digits only (the printer names the file after the title and keeps those as they
// are), unique to the run: the folder is shared by every run on the machine.
std::string UniqueTitle() {
  return "richtext" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(std::random_device()());
}

// Whether the file is a whole PDF: the printer writes it in place, its end marker last.
bool WholePdf(const std::string& Path) {
  FILE* File = std::fopen(Path.c_str(), "rb");
  if (!File) return false;
  char Tail[16] = "";
  std::size_t Read = 0;
  if (std::fseek(File, -long(sizeof(Tail)), SEEK_END) == 0) Read = std::fread(Tail, 1, sizeof(Tail), File);
  std::fclose(File);
  return std::string(Tail, Read).find("%%EOF") != std::string::npos;
}

// The PDF of the job titled Title once it is whole; "" when none came within a minute.
std::string WaitForPdf(const std::string& Title) {
  auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < Deadline) {
    std::string Found;
    if (DIR* Dir = opendir(PdfFolder().c_str())) {
      while (dirent* E = readdir(Dir)) {
        std::string N = E->d_name;
        if (N.find(Title) != std::string::npos && N.size() > 4 && N.substr(N.size() - 4) == ".pdf") Found = N;
      }
      closedir(Dir);
    }
    if (!Found.empty() && WholePdf(PdfFolder() + "/" + Found)) return PdfFolder() + "/" + Found;
    ::Sleep(50);
  }
  return std::string();
}

// The text of the PDF's pages, in order.
std::vector<std::string> PdfPages(const std::string& Path) {
  std::string Command = "pdftotext -enc UTF-8 -layout '" + Path + "' - 2>/dev/null";
  std::string Text;
  if (FILE* Pipe = popen(Command.c_str(), "r")) {
    char Buffer[4096];
    std::size_t N;
    while ((N = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0) Text.append(Buffer, N);
    pclose(Pipe);
  }
  // Each page ends with a form feed.
  std::vector<std::string> Pages;
  std::size_t From = 0;
  for (std::size_t Feed; (Feed = Text.find('\f', From)) != std::string::npos; From = Feed + 1)
    Pages.push_back(Text.substr(From, Feed - From));
  return Pages;
}

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
  std::string Title = UniqueTitle();
  Edit->Print(Title);
  EXPECT_EQ(Edit->PrintedPageCount(), 2);
  EXPECT_EQ(Numbers.Pages, (std::vector<int>{1, 2}));

  std::string Pdf = WaitForPdf(Title);
  ASSERT_FALSE(Pdf.empty()) << "no whole PDF named after " << Title << " in " << PdfFolder();
  std::vector<std::string> Pages = PdfPages(Pdf);
  std::remove(Pdf.c_str());
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
