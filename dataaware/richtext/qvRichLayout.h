// This file implements TqvRichLayout: the rich-text control's own page layout, for a window that
// lays out nothing when asked for a range of its text on a device (EM_FORMATRANGE answering no
// progress). A hidden rich-edit window holds the same content at the width of the range; its own
// measures (line starts, line tops, the place of each run of characters) give the lines and
// where each character goes, and each run is drawn on the device at those places, scaled from
// the screen's resolution to the device's.
#pragma once

#include "WinApi.h"

#include <vector>

#include "AnsiString.h"

class TqvCustomRichEdit;

class TqvRichLayout {
 public:
  // The content of Source, laid out WidthTwips wide at the source's screen resolution.
  TqvRichLayout(TqvCustomRichEdit* Source, int WidthTwips);
  ~TqvRichLayout();
  TqvRichLayout(const TqvRichLayout&) = delete;
  TqvRichLayout& operator=(const TqvRichLayout&) = delete;

  int WidthTwips() const { return FWidthTwips; }
  int Length() const { return FLength; }
  int LineCount() const { return int(FLines.size()); }

  // What EM_FORMATRANGE does: the lines from Range.chrg.cpMin (to cpMax, -1 the end) that fit in
  // Range.rc (twips, in the device's coordinates) are drawn on Range.hdc when Render; Range.rc
  // .bottom becomes the bottom of what fits. The answer is the first character after them (the
  // start when nothing is left). A line taller than the whole rectangle still goes alone.
  int FormatRange(FORMATRANGE& Range, bool Render);

 private:
  struct TLine {
    int Start;   // first character
    int End;     // after the last character shown (the line break excluded)
    int Top;     // in the layout window's pixels
    int Height;
    bool ParagraphStart;
  };
  struct TRun {
    int Start;
    int End;
    CHARFORMAT2A Format;
  };
  void Measure();
  int Height(const TLine& Line);
  void Runs(int Start, int End, std::vector<TRun>& Out);
  POINT PositionOf(int Char);
  void DrawLine(HDC DC, const TLine& Line, int LeftPx, int TopPx, int DevicePpiX, int DevicePpiY);
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) const { return SendMessageA(FWindow, Msg, W, L); }

  HWND FWindow = nullptr;
  int FPpi;
  int FWidthTwips;
  int FLength = 0;
  String FText;
  std::vector<TLine> FLines;
};
