// This file implements a benchmark of the report engine's output, run by hand on a display with
// the spooler's PDF printer (or the printer named by VELBOR_PRINTER): printing a report of 20 pages
// (the time until the spooler has the job), the same pages printed straight on the API for the
// platform's share, and switching pages in the preview (the time from the page command to the page
// painted).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

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

// The processor time of this process since Start: unlike the elapsed time, it hardly grows with
// the load other programs put on the machine.
double CpuMilliseconds(std::clock_t Start) { return double(std::clock() - Start) * 1000.0 / CLOCKS_PER_SEC; }

String LineText(int Page, int Line) {
  return "Page " + IntToStr(Page + 1) + ", ligne " + IntToStr(Line + 1) +
         " : zone humide de la tourbière du plateau, roselière et prairie"_a;
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
      memo->Memo()->Add(LineText(p, i));
      page->AddObject(memo);
    }
  }
}

// The report's pages printed with nothing of ours in between: a device context of the printer, the
// memos' font (Arial, 10 points), and the same 40 lines a page at the memos' places.
// What this costs is the platform's share of a print: the floor under the report's figure. The
// first text of a page is timed apart, since that is where the driver sends the page's font.
void PrintOnTheApi(const String& Device) {
  auto start = Clock::now();
  std::clock_t cpu = std::clock();
  HDC dc = ::CreateDCA(nullptr, Device.c_str(), nullptr, nullptr);
  if (dc == nullptr) {
    std::printf("no device context for %s\n", Device.c_str());
    return;
  }
  int ppi = ::GetDeviceCaps(dc, LOGPIXELSY);
  HFONT font = ::CreateFontA(-::MulDiv(10, ppi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  DOCINFOA info{};
  info.cbSize = sizeof(info);
  info.lpszDocName = "velbor-banc-api";
  double firstTexts = 0;
  if (::StartDocA(dc, &info) > 0) {
    for (int p = 0; p < 20; ++p) {
      ::StartPage(dc);
      HGDIOBJ old = ::SelectObject(dc, font);
      for (int i = 0; i < 40; ++i) {
        String text = LineText(p, i);
        auto textStart = Clock::now();
        ::ExtTextOutA(dc, ::MulDiv(40, ppi, 96), ::MulDiv(20 + 24 * i, ppi, 96), 0, nullptr, text.c_str(),
                      UINT(text.size()), nullptr);
        if (i == 0) firstTexts += Milliseconds(textStart);
      }
      ::SelectObject(dc, old);
      ::EndPage(dc);
    }
    ::EndDoc(dc);
  }
  ::DeleteDC(dc);
  ::DeleteObject(font);
  std::printf("the same 20 pages straight on the API: %.0f ms, processor %.0f ms (the first text of each page: %.0f ms)\n",
              Milliseconds(start), CpuMilliseconds(cpu), firstTexts);
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
  const char* chosen = std::getenv("VELBOR_PRINTER");
  String device = chosen != nullptr && *chosen != 0 ? String(chosen) : String("PDF");
  int pdf = Printer()->Printers()->IndexOf(device);
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
    // The report and the platform's floor in turns, so that both see the same load.
    for (int run = 0; run < 5; ++run) {
      auto start = Clock::now();
      std::clock_t cpu = std::clock();
      report->PrintPrepared("", 1, 0, true);
      std::printf("printing 20 pages to the spooler: %.0f ms, processor %.0f ms\n", Milliseconds(start),
                  CpuMilliseconds(cpu));
      PrintOnTheApi(device);
    }
  } else {
    std::printf("no printer named %s: printing not measured\n", device.c_str());
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
