// This file implements TqvRichLayout, the rich-text control's own page layout from the measures of
// a hidden rich-edit window holding the same content.
#include "qvRichLayout.h"

#include <algorithm>
#include <cmath>

#include "Exceptions.h"
#include "ScopeGuard.h"
#include "Streams.h"

#include "qvriched.h"

namespace {

struct TCookie {
  TStream* Stream;
};

DWORD CALLBACK LayoutStreamIn(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  try {
    *Done = LONG(reinterpret_cast<TCookie*>(Cookie)->Stream->Read(Buffer, Count));
    return 0;
  } catch (...) {
    *Done = 0;
    return 1;
  }
}

// The attributes that make one run: where any of them changes, a new run starts.
constexpr DWORD kRunMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR |
                           CFM_CHARSET | CFM_BACKCOLOR | CFM_OFFSET;

// The font of a run at a resolution.
HFONT RunFont(const CHARFORMAT2A& Format, int PixelsPerInch) {
  LOGFONTA Font{};
  Font.lfHeight = -std::max(1, MulDiv(Format.yHeight, PixelsPerInch, 1440));
  Font.lfWeight = (Format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  Font.lfItalic = (Format.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
  Font.lfUnderline = (Format.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
  Font.lfStrikeOut = (Format.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE;
  Font.lfCharSet = Format.bCharSet;
  Font.lfPitchAndFamily = Format.bPitchAndFamily;
  lstrcpynA(Font.lfFaceName, Format.szFaceName, LF_FACESIZE);
  return CreateFontIndirectA(&Font);
}

}  // namespace

TqvRichLayout::TqvRichLayout(TqvCustomRichEdit* Source, int WidthTwips)
    : FPpi(Source->ScreenPixelsPerInch()), FWidthTwips(WidthTwips) {
  int Width = std::max(MulDiv(WidthTwips, FPpi, 1440), 1);
  FWindow = CreateWindowExA(0, RICHEDIT_CLASS20A, "", WS_POPUP | ES_MULTILINE, 0, 0, Width, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (FWindow == nullptr) throw EOSError("Impossible de créer la fenêtre de mise en page"_a);
  Send(EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
  Send(EM_SETTARGETDEVICE, 0, 0);
  RECT Format{0, 0, Width, 0x3FFFFFFF};
  Send(EM_SETRECT, 0, LPARAM(&Format));
  TqvRichMemoryStream Content;
  Source->GetRichLines()->SaveToStream(&Content);
  Content.SetPosition(0);
  TCookie Cookie{&Content};
  EDITSTREAM Edit{};
  Edit.dwCookie = DWORD_PTR(&Cookie);
  Edit.pfnCallback = &LayoutStreamIn;
  Send(EM_STREAMIN, SF_RTF, LPARAM(&Edit));
  Measure();
}

TqvRichLayout::~TqvRichLayout() {
  if (FWindow) DestroyWindow(FWindow);
}

POINT TqvRichLayout::PositionOf(int Char) {
  POINTL At{};
  Send(EM_POSFROMCHAR, WPARAM(&At), Char);
  return POINT{At.x, At.y};
}

void TqvRichLayout::Measure() {
  GETTEXTLENGTHEX Ask{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  FLength = int(Send(EM_GETTEXTLENGTHEX, WPARAM(&Ask)));
  FText.assign(std::size_t(FLength) + 1, '\0');
  TEXTRANGEA All{{0, FLength}, FText.data()};
  FText.resize(std::size_t(std::max<LRESULT>(Send(EM_GETTEXTRANGE, 0, LPARAM(&All)), 0)));
  int Count = int(Send(EM_GETLINECOUNT));
  FLines.clear();
  for (int i = 0; i < Count; ++i) {
    TLine Line{};
    Line.Start = int(Send(EM_LINEINDEX, WPARAM(i)));
    if (Line.Start < 0 || Line.Start > FLength) break;
    int Next = i + 1 < Count ? int(Send(EM_LINEINDEX, WPARAM(i + 1))) : FLength;
    if (Next < Line.Start) Next = FLength;
    Line.End = Next;
    while (Line.End > Line.Start && (FText[std::size_t(Line.End - 1)] == '\r' || FText[std::size_t(Line.End - 1)] == '\n'))
      --Line.End;
    Line.Top = PositionOf(Line.Start).y;
    Line.ParagraphStart = Line.Start == 0 || FText[std::size_t(Line.Start - 1)] == '\r';
    FLines.push_back(Line);
  }
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    TLine& Line = FLines[i];
    Line.Height = i + 1 < FLines.size() ? FLines[i + 1].Top - Line.Top : Height(Line);
    if (Line.Height <= 0) Line.Height = Height(Line);
  }
}

// The height of a line from its tallest font (the last line has no next line to measure against).
int TqvRichLayout::Height(const TLine& Line) {
  std::vector<TRun> Runs;
  this->Runs(Line.Start, std::max(Line.End, std::min(Line.Start + 1, FLength)), Runs);
  int Tallest = 0;
  TWindowDC Screen;
  for (const TRun& Run : Runs) {
    TOwnedFont Font(RunFont(Run.Format, FPpi));
    TSelectedObject Selected(Screen, Font);
    TEXTMETRICA Metrics{};
    GetTextMetricsA(Screen, &Metrics);
    Tallest = std::max(Tallest, int(Metrics.tmHeight));
  }
  return std::max(Tallest, 1);
}

// The runs of [Start, End) whose characters share their formatting.
void TqvRichLayout::Runs(int Start, int End, std::vector<TRun>& Out) {
  if (End <= Start) return;
  CHARRANGE Range{Start, End};
  Send(EM_EXSETSEL, 0, LPARAM(&Range));
  TRun Run{Start, End, {}};
  Run.Format.cbSize = sizeof(Run.Format);
  Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&Run.Format));
  if ((Run.Format.dwMask & kRunMask) == kRunMask || End - Start == 1) {
    Out.push_back(Run);
    return;
  }
  int Middle = Start + (End - Start) / 2;
  Runs(Start, Middle, Out);
  Runs(Middle, End, Out);
}

int TqvRichLayout::FormatRange(FORMATRANGE& Range, bool Render) {
  int Start = Range.chrg.cpMin;
  int Limit = Range.chrg.cpMax < 0 ? FLength : std::min(int(Range.chrg.cpMax), FLength);
  std::size_t First = 0;
  while (First < FLines.size() && !(FLines[First].Start <= Start && (First + 1 == FLines.size() || FLines[First + 1].Start > Start)))
    ++First;
  if (Start >= Limit || First >= FLines.size()) {
    Range.rc.bottom = Range.rc.top;
    return Start;
  }
  int Room = MulDiv(Range.rc.bottom - Range.rc.top, FPpi, 1440);
  int Origin = FLines[First].Top;
  std::size_t After = First;
  while (After < FLines.size() && FLines[After].Start < Limit) {
    const TLine& Line = FLines[After];
    if (After > First && Line.Top + Line.Height - Origin > Room) break;
    ++After;
  }
  const TLine& Lowest = FLines[After - 1];
  int UsedPixels = Lowest.Top + Lowest.Height - Origin;
  if (Render && Range.hdc) {
    int PpiX = GetDeviceCaps(Range.hdc, LOGPIXELSX);
    int PpiY = GetDeviceCaps(Range.hdc, LOGPIXELSY);
    int LeftPx = MulDiv(Range.rc.left, PpiX, 1440);
    int TopPx = MulDiv(Range.rc.top, PpiY, 1440);
    for (std::size_t i = First; i < After; ++i) {
      const TLine& Line = FLines[i];
      DrawLine(Range.hdc, Line, LeftPx, TopPx + MulDiv(Line.Top - Origin, PpiY, FPpi), PpiX, PpiY);
    }
  }
  Range.rc.bottom = Range.rc.top + MulDiv(UsedPixels, 1440, FPpi);
  return After < FLines.size() ? std::min(FLines[After].Start, Limit) : Limit;
}

// One line: each run in its own font and colours, each character where the layout window puts it,
// on a common baseline.
void TqvRichLayout::DrawLine(HDC DC, const TLine& Line, int LeftPx, int TopPx, int DevicePpiX, int DevicePpiY) {
  std::vector<TRun> LineRuns;
  Runs(Line.Start, Line.End, LineRuns);
  auto DeviceX = [&](double ScreenX) { return LeftPx + int(std::lround(ScreenX * DevicePpiX / FPpi)); };
  TSavedDC Saved(DC);
  SetTextAlign(DC, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  int Ascent = 0;
  for (const TRun& Run : LineRuns) {
    TOwnedFont Font(RunFont(Run.Format, DevicePpiY));
    TSelectedObject Selected(DC, Font);
    TEXTMETRICA Metrics{};
    GetTextMetricsA(DC, &Metrics);
    Ascent = std::max(Ascent, int(Metrics.tmAscent));
  }
  int Baseline = TopPx + Ascent;
  if (Line.ParagraphStart && !LineRuns.empty()) {
    PARAFORMAT2 Paragraph{};
    Paragraph.cbSize = sizeof(Paragraph);
    CHARRANGE At{Line.Start, Line.Start};
    Send(EM_EXSETSEL, 0, LPARAM(&At));
    Send(EM_GETPARAFORMAT, 0, LPARAM(&Paragraph));
    if (Paragraph.wNumbering == PFN_BULLET) {
      TOwnedFont Font(RunFont(LineRuns.front().Format, DevicePpiY));
      TSelectedObject Selected(DC, Font);
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, RGB(0, 0, 0));
      int X = std::max(0, int(PositionOf(Line.Start).x) - MulDiv(Paragraph.dxOffset, FPpi, 1440));
      TextOutA(DC, DeviceX(X), Baseline, "\x95", 1);
    }
  }
  TWindowDC Screen;
  for (const TRun& Run : LineRuns) {
    TOwnedFont ScreenFont(RunFont(Run.Format, FPpi));
    TOwnedFont DeviceFont(RunFont(Run.Format, DevicePpiY));
    TSelectedObject OnScreen(Screen, ScreenFont);
    TSelectedObject OnDevice(DC, DeviceFont);
    SetTextColor(DC, (Run.Format.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : Run.Format.crTextColor);
    if ((Run.Format.dwMask & CFM_BACKCOLOR) && !(Run.Format.dwEffects & CFE_AUTOBACKCOLOR)) {
      SetBkMode(DC, OPAQUE);
      SetBkColor(DC, Run.Format.crBackColor);
    } else {
      SetBkMode(DC, TRANSPARENT);
    }
    // Pieces between tabs: each starts where the layout window puts its first character, and its
    // characters follow at the widths the same font has on the screen.
    int Piece = Run.Start;
    while (Piece < Run.End) {
      while (Piece < Run.End && FText[std::size_t(Piece)] == '\t') ++Piece;
      int PieceEnd = Piece;
      while (PieceEnd < Run.End && FText[std::size_t(PieceEnd)] != '\t') ++PieceEnd;
      int Count = PieceEnd - Piece;
      if (Count <= 0) break;
      const char* Chars = FText.data() + Piece;
      std::vector<INT> Widths(static_cast<std::size_t>(Count), 0);
      SIZE Extent{};
      GetTextExtentExPointA(Screen, Chars, Count, 0, nullptr, Widths.data(), &Extent);
      double StartX = PositionOf(Piece).x;
      std::vector<INT> Advance(static_cast<std::size_t>(Count));
      int Previous = DeviceX(StartX);
      for (int i = 0; i < Count; ++i) {
        int Next = DeviceX(StartX + Widths[std::size_t(i)]);
        Advance[std::size_t(i)] = Next - Previous;
        Previous = Next;
      }
      ExtTextOutA(DC, DeviceX(StartX), Baseline, 0, nullptr, Chars, UINT(Count), Advance.data());
      Piece = PieceEnd;
    }
  }
}
