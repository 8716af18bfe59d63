// This file implements a benchmark of the report engine's output, run by hand on a display with
// the spooler's PDF printer: printing a report of 20 pages (the time until the spooler has the
// job), and switching pages in the preview (the time from the page command to the page painted).
#include <chrono>
#include <cstdio>

#include "StrUtils.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassViews.h"
#include "ZR_View.h"
#include "Dialogs.h"
#include "Printers.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// 20 pages of a record sheet: a title and 40 lines of text each.
void LayOut(TzrReport* Report) {
  for (int p = 0; p < 20; ++p) {
    TzrPage* page = Report->Pages()->Add();
    auto* band = new TzrBandView();
    band->SetBandType(btReportTitle);
    band->PlaceAt(0, 20, page->PrintArea.PageWidth, 1000);
    band->Name = "Titre" + IntToStr(p + 1);
    page->AddObject(band);
    for (int i = 0; i < 40; ++i) {
      auto* memo = new TzrMemoView();
      memo->Name = "Ligne" + IntToStr(p * 100 + i);
      memo->PlaceAt(40, 20 + 24 * i, 650, 20);
      memo->Memo()->Add("Page " + IntToStr(p + 1) + ", ligne " + IntToStr(i + 1) +
                        " : zone humide de la tourbière du plateau, roselière et prairie"_a);
      page->AddObject(memo);
    }
  }
}

}  // namespace

int main() {
  Application->Initialize();
  StartReportEngine();
  TComponent owner(nullptr);
  auto* report = new TzrReport(&owner);
  report->ShowProgress = false;
  report->ModalPreview = false;
  report->Title = "velbor-banc-impression";
  LayOut(report);
  if (!report->Prepare() || report->EMFPages()->Count() != 20) {
    std::printf("the report did not build its 20 pages\n");
    return 1;
  }
  {
    // The same pages drawn on a bitmap of the printer's size, for comparison.
    TBitmap bitmap;
    bitmap.SetSize(2480, 3508);
    auto start = Clock::now();
    TzrEMFPages* pages = report->EMFPages();
    for (int i = 0; i < pages->Count(); ++i) {
      pages->Pages(i).DrawingEnabled = true;
      pages->Draw(i, bitmap.Canvas(), TRect(0, 0, 2480, 3508));
      pages->Pages(i).DrawingEnabled = false;
      pages->Draw(i, bitmap.Canvas(), TRect());
    }
    std::printf("drawing 20 pages on a bitmap: %.0f ms\n", Milliseconds(start));
  }
  int pdf = Printer()->Printers()->IndexOf("PDF");
  if (pdf >= 0) {
    Printer()->SetPrinterIndex(pdf);
    {
      // The spooler's share: a job of 20 pages with one line of text each.
      auto start = Clock::now();
      TPrinter* printer = Printer();
      printer->Title = "velbor-banc-vide";
      printer->BeginDoc();
      for (int i = 0; i < 20; ++i) {
        if (i > 0) printer->NewPage();
        printer->Canvas()->TextOut(100, 100, "Page " + IntToStr(i + 1));
      }
      printer->EndDoc();
      std::printf("a job of 20 pages of one line: %.0f ms\n", Milliseconds(start));
    }
    for (int run = 0; run < 3; ++run) {
      auto start = Clock::now();
      report->PrintPrepared("", 1, 0, true);
      std::printf("printing 20 pages to the spooler: %.0f ms\n", Milliseconds(start));
    }
  } else {
    std::printf("no printer named PDF: printing not measured\n");
  }
  report->ShowPreview();
  TzrPreviewForm* preview = nullptr;
  for (int i = 0; i < report->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TzrPreviewForm*>(report->Components(i))) preview = p;
  if (preview == nullptr) return 1;
  Application->ProcessMessages();
  preview->Painter->Update();
  double worst = 0;
  double total = 0;
  for (int i = 0; i < 19; ++i) {
    auto start = Clock::now();
    preview->PgDownClick(nullptr);
    preview->Painter->Update();
    double ms = Milliseconds(start);
    worst = std::max(worst, ms);
    total += ms;
  }
  std::printf("switching preview pages: %.1f ms on average, %.1f ms at worst (19 switches)\n", total / 19, worst);
  preview->Close();
  Application->ProcessMessages();
  return 0;
}
