// This file implements the printing of a report's prepared pages on the class library's printer:
// the page list, copies, odd or even pages, collation, a new printer document where a page asks for
// other paper, and the change of printer with the template laid out again on its paper.
#include <algorithm>

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassReport.h"
#include "ZR_ClassWindows.h"
#include "ZR_Utils.h"
// The class library's windows and printer come last: the API macros they bring do not reach the
// declarations above.
#include "Dialogs.h"
#include "Forms.h"
#include "Printers.h"

namespace {

[[noreturn]] void BadPageList(const String& Text) {
  throw EConvertError("Liste de pages incorrecte : \""_a + Text + "\"");
}

// The number in Text from its position P (1-based), P moved past it; 0 digits is an error.
int ReadPageNumber(const String& Text, const String& Whole, std::size_t& P) {
  std::size_t start = P;
  long long value = 0;
  while (P < Text.size() && Text[P] >= '0' && Text[P] <= '9') {
    value = value * 10 + (Text[P] - '0');
    if (value > 1000000) BadPageList(Whole);
    ++P;
  }
  if (P == start || value < 1) BadPageList(Whole);
  return int(value);
}

}  // namespace

std::vector<int> TzrReport::ParsePageList(const String& Text) const {
  String s;
  for (char c : Text)
    if (c != ' ' && c != '\t') s += c;
  std::vector<int> list;
  if (s.empty()) return list;
  int last = FEMFPages->Count();
  std::size_t p = 0;
  for (;;) {
    int first = ReadPageNumber(s, Text, p);
    int to = first;
    if (p < s.size() && s[p] == '-') {
      ++p;
      // "8-" runs to the last page.
      to = p < s.size() && s[p] != ',' ? ReadPageNumber(s, Text, p) : std::max(last, first);
    }
    // A range written backwards is read as its pages.
    int low = std::min(first, to);
    int high = std::max(first, to);
    for (int n = low; n <= high; ++n) list.push_back(n);
    if (p == s.size()) break;
    if (s[p] != ',' || p + 1 == s.size()) BadPageList(Text);
    ++p;
  }
  return list;
}

void TzrReport::ConnectPreviewPanel(bool Connect) {
  auto* panel = dynamic_cast<TzrPreviewPanel*>(FPreview);
  if (panel == nullptr) return;
  if (Connect)
    panel->Connect(this);
  else
    panel->Disconnect();
}

bool TzrReport::PrintPrepared(const String& PageNumbers, int Copies, int PrintPages, bool Collate) {
  MakeCurrent(true);
  Terminated = false;
  try {
    ParsePageList(PageNumbers);
  } catch (const EConvertError& E) {
    ::MessageBox(E.Message, EngineString(55206), MB_OK | MB_ICONERROR);
    return false;
  }
  PrintPageList = PageNumbers;
  PrintCopies = Copies;
  PrintPagesMode = PrintPages;
  PrintCollate = Collate;
  bool disconnected = FPreview != nullptr && FEMFPages->Count() == 0;
  if (disconnected) ConnectPreviewPanel(false);
  TScopeGuard reconnect([&] {
    if (disconnected) ConnectPreviewPanel(true);
  });
  TzrProgressWindow* progress = ProgressWindow();
  if (progress == nullptr) {
    TzrMouseOverObjectEvent over = OnMouseOverObject;
    OnMouseOverObject = TzrMouseOverObjectEvent();
    TScopeGuard attach([&] { OnMouseOverObject = over; });
    DoPrint(nullptr);
    return !Terminated;
  }
  String caption = EngineString(55203);
  if (!Title.empty()) caption += " - " + Title;
  progress->SetCaption(caption);
  progress->SetProgressText(EngineString(55208));
  progress->SetLabelText(EngineString(55208));
  progress->SetStep(TNotifyEvent(this, &TzrReport::DoPrint));
  FProgress = progress;
  TScopeGuard shown([this] { FProgress = nullptr; });
  return progress->Run(this) != mrCancel && !Terminated;
}

void TzrReport::DoPrint(TObject*) {
  // Whatever happens, the progress window, when it runs the print, is closed.
  TScopeGuard close([this] {
    if (FProgress != nullptr) FProgress->SetModalResult(Terminated ? mrCancel : mrOk);
  });
  PrintAllPages(PrintPageList, PrintCopies, PrintPagesMode, PrintCollate);
}

void TzrReport::PrintAllPages(const String& PageNumbers, int Copies, int PrintPages, bool Collate) {
  TzrPrinter* engine = zrPrinter();
  TPrinter* printer = Printer();
  engine->AttachPrinter(printer);
  std::vector<int> pages = ParsePageList(PageNumbers);
  if (Copies <= 0) Copies = 1;
  if (FEMFPages->Count() == 0) return;
  PrintPagesMode = PrintPages;
  PrintCopies = Copies;
  PrintCollate = Collate;
  printer->Title = Title.empty() ? EngineString(55209) : Title;
  if (OnPrintReport) OnPrintReport();
  int loops = Collate ? Copies : 1;
  bool firstPage = true;
  bool documentOpen = false;
  TScopeGuard close([&] {
    // A print that raised leaves no job open behind it.
    if (printer->Printing()) printer->Abort();
  });
  for (int loop = 0; loop < loops && !Terminated; ++loop) {
    for (int i = 0; i < FEMFPages->Count(); ++i) {
      if (!pages.empty() && std::find(pages.begin(), pages.end(), i + 1) == pages.end()) continue;
      PrintPage(i, firstPage, documentOpen);
      if (Terminated) {
        if (printer->Printing()) printer->Abort();
        documentOpen = false;
        return;
      }
    }
  }
  if (documentOpen) printer->EndDoc();
  close.Dismiss();
}

void TzrReport::PrintPage(int Index, bool& FirstPage, bool& DocumentOpen) {
  int number = Index + 1;
  if (PrintPagesMode == 1 && number % 2 == 0) return;
  if (PrintPagesMode == 2 && number % 2 != 0) return;
  TzrPrinter* engine = zrPrinter();
  TPrinter* printer = Printer();
  TzrPreparedPage& record = FEMFPages->Pages(Index);
  int bin = record.Bin == 0xFFFF ? zrDefaultBin : record.Bin;
  bool samePaper = engine->MatchesCurrent(record.PaperSize, record.Width, record.Height, bin, record.Orientation);
  if (DocumentOpen && samePaper) {
    printer->NewPage();
  } else {
    // A page on other paper is printed in a document of its own: the paper of a document is set
    // before it starts. The first document starts with the first page printed, so that no job
    // begins with a page nothing is printed on.
    if (DocumentOpen) printer->EndDoc();
    engine->ChangePaper(record.PaperSize, record.Width, record.Height, bin, record.Orientation, !samePaper);
    // The printer makes the copies of an uncollated print itself; a collated one loops.
    printer->SetCopies(PrintCollate ? 1 : std::max(1, PrintCopies));
    printer->BeginDoc();
    DocumentOpen = true;
  }
  engine->GetPrintArea(record.PrintArea);
  const TzrPrintArea& a = record.PrintArea;
  TRect target;
  if (record.UseMargins) {
    target = TRect(-a.DevOffsetX, -a.DevOffsetY, a.DevPageWidth - a.DevOffsetX, a.DevPageHeight - a.DevOffsetY);
  } else {
    auto scaleX = [&](int V) { return a.PrintableWidth > 0 ? zrRound(double(V) * a.DevPrintableWidth / a.PrintableWidth) : V; };
    auto scaleY = [&](int V) {
      return a.PrintableHeight > 0 ? zrRound(double(V) * a.DevPrintableHeight / a.PrintableHeight) : V;
    };
    target = TRect(scaleX(record.Margins.Left), scaleY(record.Margins.Top),
                   a.DevPrintableWidth - scaleX(record.Margins.Right), a.DevPrintableHeight - scaleY(record.Margins.Bottom));
  }
  record.DrawingEnabled = true;
  {
    TScopeGuard drop([&] {
      // Drawn with drawing off, the page frees its unpacked copy.
      record.DrawingEnabled = false;
      FEMFPages->Draw(Index, printer->Canvas(), TRect());
    });
    FEMFPages->Draw(Index, printer->Canvas(), target);
  }
  UpdateProgress(number);
  Application->ProcessMessages();
  FirstPage = false;
}

void TzrReport::ReapplyPaper() {
  for (int i = 0; i < FPages->Count(); ++i) {
    TzrPage* page = FPages->Pages(i);
    page->ApplyPaper(page->PaperSize, page->PaperWidth, page->Orientation, page->Bin, page->PaperHeight);
  }
}

bool TzrReport::SwitchPrinter(int OldIndex, int NewIndex) {
  TzrPrinter* printer = zrPrinter();
  try {
    printer->SelectPrinter(NewIndex);
    PrinterName = printer->CurrentPrinterName();
    printer->PaperSize = -1;
    ReapplyPaper();
    return true;
  } catch (const Exception&) {
    ::MessageBox("L'imprimante sélectionnée est non valide"_a, EngineString(55206), MB_OK | MB_ICONERROR);
    printer->SelectPrinter(OldIndex);
    PrinterName = printer->CurrentPrinterName();
    ReapplyPaper();
    return false;
  }
}
