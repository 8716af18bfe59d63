// This file implements the printing of the rich-text control (its whole text, page by page, with a
// header and a footer inside margins), the printed page's geometry, the paper size pushed into
// the printer, the range requests of the window with the control's own layout behind them
// (TqvRichLayout) and the rendering of the control into a device context.
#include "qvriched.h"

#include <algorithm>
#include <cmath>

#include "FloatFormat.h"
#include "ScopeGuard.h"

#include "Printers.h"

#include "qvRichLayout.h"

// --- Page geometry ----------------------------------------------------------------------------

TqvPageGeometry qvPrinterPageGeometry(HDC PrinterDC) {
  TqvPageGeometry Page;
  POINT Size{};
  POINT Offset{};
  if (Escape(PrinterDC, GETPHYSPAGESIZE, 0, nullptr, &Size) <= 0) {
    Size.x = GetDeviceCaps(PrinterDC, PHYSICALWIDTH);
    Size.y = GetDeviceCaps(PrinterDC, PHYSICALHEIGHT);
  }
  if (Escape(PrinterDC, GETPRINTINGOFFSET, 0, nullptr, &Offset) <= 0) {
    Offset.x = GetDeviceCaps(PrinterDC, PHYSICALOFFSETX);
    Offset.y = GetDeviceCaps(PrinterDC, PHYSICALOFFSETY);
  }
  Page.Width = Size.x;
  Page.Height = Size.y;
  Page.OffsetX = Offset.x;
  Page.OffsetY = Offset.y;
  Page.PixelsPerInchX = GetDeviceCaps(PrinterDC, LOGPIXELSX);
  Page.PixelsPerInchY = GetDeviceCaps(PrinterDC, LOGPIXELSY);
  return Page;
}

// In the printable area's coordinates (its origin is the unprintable edge): the margins less the
// edges, kept inside the printable area, with right never left of left and bottom never above top.
TRect qvPrintPageRect(const TqvPageGeometry& Page, int LeftTwips, int TopTwips, int RightTwips, int BottomTwips) {
  int W = Page.XToTwips(Page.Width);
  int H = Page.YToTwips(Page.Height);
  int X0 = Page.XToTwips(Page.OffsetX);
  int Y0 = Page.YToTwips(Page.OffsetY);
  int PrintableRight = std::max(W - 2 * X0, 0);
  int PrintableBottom = std::max(H - 2 * Y0, 0);
  TRect R;
  R.Left = std::min(std::max(0, LeftTwips - X0), PrintableRight);
  R.Right = std::min(std::max(W - RightTwips - X0, R.Left), PrintableRight);
  R.Top = std::min(std::max(0, TopTwips - Y0), PrintableBottom);
  R.Bottom = std::min(std::max(H - BottomTwips - Y0, R.Top), PrintableBottom);
  return R;
}

TRect TqvCustomRichEdit::GetPrintPageRect() {
  TqvPageGeometry Page = qvPrinterPageGeometry(Printer()->Handle());
  auto Twips = [&](double Margin) { return MeasureToTwips(FloatToStr(Margin)); };
  return qvPrintPageRect(Page, Twips(FPrintMargins->Left), Twips(FPrintMargins->Top), Twips(FPrintMargins->Right),
                         Twips(FPrintMargins->Bottom));
}

void TqvCustomRichEdit::ApplyPrintPageSize() {
  TPrinter* P = Printer();
  if (P->Printing() || P->Printers()->Count() == 0) return;
  String Device, Driver, Port;
  HGLOBAL Mode = nullptr;
  P->GetPrinter(Device, Driver, Port, Mode);
  if (Mode == nullptr) return;
  if (auto* DevMode = static_cast<DEVMODEA*>(GlobalLock(Mode))) {
    DevMode->dmFields |= DM_PAPERSIZE;
    DevMode->dmPaperSize = short(FPrintPageSize & 0xFFFF);
    GlobalUnlock(Mode);
  }
  // Made current again: the next device context is made with the changed mode.
  P->SetPrinter(Device, Driver, Port, Mode);
}

// --- Range requests ---------------------------------------------------------------------------

LRESULT TqvCustomRichEdit::FormatRange(FORMATRANGE* Range, bool Render) {
  if (Range == nullptr) {
    SendRich(EM_FORMATRANGE, FALSE, 0);
    delete FLayout;
    FLayout = nullptr;
    return 0;
  }
  FORMATRANGE Asked = *Range;
  LRESULT Next = SendRich(EM_FORMATRANGE, Render, LPARAM(Range));
  int Length = TextLength();
  int Limit = Asked.chrg.cpMax < 0 ? Length : std::min(int(Asked.chrg.cpMax), Length);
  if (Next > Asked.chrg.cpMin || Asked.chrg.cpMin >= Limit) return Next;
  // The window laid out nothing of a range that holds text: the control's own layout does.
  *Range = Asked;
  int Width = Range->rc.right - Range->rc.left;
  if (FLayout == nullptr || FLayout->WidthTwips() != Width) {
    delete FLayout;
    FLayout = nullptr;
    FLayout = new TqvRichLayout(this, Width);
  }
  return FLayout->FormatRange(*Range, Render);
}

void TqvCustomRichEdit::RenderToDC(HDC DC, TqvCustomRichEdit* Source) {
  RECT Format{};
  Source->SendRich(EM_GETRECT, 0, LPARAM(&Format));
  if (!Source->WordWrap()) Format.right += 51;
  Format.right -= 1;
  Format.bottom = ClientHeight() + 25;
  auto Twips = [&](LONG Pixels) { return LONG(MulDiv(Pixels, 1440, FScreenPixelsPerInch)); };
  POINTL Origin{0, 0};
  FORMATRANGE Range{};
  Range.hdc = DC;
  Range.hdcTarget = DC;
  Range.rc = RECT{Twips(Format.left), Twips(Format.top), Twips(Format.right), Twips(Format.bottom)};
  Range.rcPage = Range.rc;
  Range.chrg.cpMin = LONG(Source->SendRich(EM_CHARFROMPOS, 0, LPARAM(&Origin)));
  Range.chrg.cpMax = -1;
  Source->FormatRange(nullptr, false);
  TScopeGuard Clear([&] { Source->FormatRange(nullptr, false); });
  Source->FormatRange(&Range, true);
}

// --- Printing ---------------------------------------------------------------------------------

namespace {

// Twips to the device's pixels, across and down.
int TwipsX(const TqvPageGeometry& Page, double Twips) { return int(std::trunc(Twips * Page.PixelsPerInchX / 1440)); }
int TwipsY(const TqvPageGeometry& Page, double Twips) { return int(std::trunc(Twips * Page.PixelsPerInchY / 1440)); }

// The three texts of a band; the line under (header) or over (footer) them.
void DrawBand(TCanvas* Canvas, const TqvPageGeometry& Page, const TRect& Band, int TextTop, const String& Left,
              const String& Center, const String& Right, bool Line, int LineY) {
  if (!Left.empty()) Canvas->TextOut(Band.Left, TextTop, Left);
  if (!Right.empty()) Canvas->TextOut(Band.Right - Canvas->TextWidth(Right), TextTop, Right);
  if (!Center.empty())
    Canvas->TextOut(Band.Left + (Band.Width() - Canvas->TextWidth(Center)) / 2, TextTop, Center);
  if (Line) {
    Canvas->Pen()->SetWidth(std::max(TwipsY(Page, 6), 1));
    Canvas->MoveTo(Band.Left, LineY);
    Canvas->LineTo(Band.Right, LineY);
  }
}

}  // namespace

void TqvCustomRichEdit::DoPrintHeader(const TRect& DrawRect, int PageNumber, String& LeftText, String& CenterText,
                                      String& RightText, bool& DoDefault) {
  if (OnPrintHeader) OnPrintHeader(this, DrawRect, PageNumber, LeftText, CenterText, RightText, DoDefault);
}

void TqvCustomRichEdit::DoPrintFooter(const TRect& DrawRect, int PageNumber, String& LeftText, String& CenterText,
                                      String& RightText, bool& DoDefault) {
  if (OnPrintFooter) OnPrintFooter(this, DrawRect, PageNumber, LeftText, CenterText, RightText, DoDefault);
}

// Vertical distances convert with the printer's resolution down, horizontal ones with its
// resolution across.
void TqvCustomRichEdit::Print(const String& Caption) {
  if (UsesPrinterWidth()) ApplyPrintPageSize();
  TPrinter* P = Printer();
  P->Title = Caption;
  P->BeginDoc();
  HDC DC = P->Handle();
  int SavedMode = SetMapMode(DC, MM_TEXT);
  TScopeGuard End([&] {
    FormatRange(nullptr, false);
    if (P->Printing()) {
      SetMapMode(P->Handle(), SavedMode);
      if (std::uncaught_exceptions() > 0) P->Abort();
      else P->EndDoc();
    }
  });
  TqvPageGeometry Page = qvPrinterPageGeometry(DC);
  RECT Text;
  if (PageRect.IsEmpty()) {
    TRect R = GetPrintPageRect();
    Text = RECT{R.Left, R.Top, R.Right, R.Bottom};
  } else {
    Text = RECT{Page.XToTwips(PageRect.Left), Page.YToTwips(PageRect.Top), Page.XToTwips(PageRect.Right),
                Page.YToTwips(PageRect.Bottom)};
  }
  FORMATRANGE Range{};
  Range.hdc = DC;
  Range.hdcTarget = DC;
  FormatRange(nullptr, false);

  // Measuring pass: where the text to print ends, and how many pages it takes.
  int Length = TextLength();
  int Last = 0;
  FPrintedPageCount = 0;
  for (int Start = 0;;) {
    Range.rc = Text;
    Range.rcPage = Text;
    Range.chrg.cpMin = Start;
    Range.chrg.cpMax = -1;
    int Next = int(FormatRange(&Range, false));
    ++FPrintedPageCount;
    if (Next <= Start || Next < 0) break;
    Last = Next;
    if (Next >= Length) break;
    Start = Next;
  }
  int EndOfText = Last;

  TCanvas* Canvas = P->Canvas();
  int PageNumber = P->PageNumber();
  int Position = 0;
  for (;;) {
    Page = qvPrinterPageGeometry(DC);
    int HeaderTop = int(std::trunc(Page.PixelsPerInchY * FPrintHeader->VertMargin)) - Page.OffsetY;
    TRect HeaderBand(TwipsX(Page, Text.left), HeaderTop, TwipsX(Page, Text.right), TwipsY(Page, Text.top));
    bool BandsFailed = false;
    try {
      Canvas->Font()->Assign(FPrintHeader->Font());
      bool DoDefault = true;
      String L = FPrintHeader->LeftText, C = FPrintHeader->CenterText, R = FPrintHeader->RightText;
      DoPrintHeader(HeaderBand, PageNumber, L, C, R, DoDefault);
      if (DoDefault) {
        int H = Canvas->TextHeight("H");
        DrawBand(Canvas, Page, HeaderBand, HeaderBand.Top, L, C, R, FPrintHeader->LineSeparator,
                 HeaderBand.Top + H + TwipsY(Page, 28));
      }
    } catch (const Exception&) {
      // A header that fails costs this page its header and footer; its text still prints.
      BandsFailed = true;
    }
    if (!BandsFailed) {
      int FooterTop = Page.Height - int(std::trunc(Page.PixelsPerInchY * FPrintFooter->VertMargin)) - TwipsY(Page, 720);
      int FooterBottom =
          Page.Height - int(std::trunc(Page.PixelsPerInchY * FPrintFooter->VertMargin)) - Page.OffsetY;
      TRect FooterBand(TwipsX(Page, Text.left), FooterTop, TwipsX(Page, Text.right), FooterBottom);
      Canvas->Font()->Assign(FPrintFooter->Font());
      bool DoDefault = true;
      String L = FPrintFooter->LeftText, C = FPrintFooter->CenterText, R = FPrintFooter->RightText;
      DoPrintFooter(FooterBand, PageNumber, L, C, R, DoDefault);
      if (DoDefault) {
        int H = Canvas->TextHeight("H");
        DrawBand(Canvas, Page, FooterBand, FooterBand.Bottom - H, L, C, R, FPrintFooter->LineSeparator,
                 FooterBand.Bottom - H - TwipsY(Page, 28));
      }
    }
    Range.rc = Text;
    Range.rcPage = Text;
    Range.chrg.cpMin = Position;
    Range.chrg.cpMax = -1;
    int Next;
    {
      TSavedDC Saved(DC);
      Next = int(FormatRange(&Range, true));
    }
    if (Next <= Position) break;
    Position = Next;
    if (Position >= EndOfText || Position < 0) break;
    P->NewPage();
    ++PageNumber;
  }
}
