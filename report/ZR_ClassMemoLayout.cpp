// This file implements the layout of a memo's lines (wrapping at blanks, optional hyphenation, the
// paragraph marks, the text extent) on the engine's measuring canvas at 96 pixels per inch, their
// drawing with alignment, justification, rotation, spacing and rules, or their hand-over to an
// export filter, and the width of a memo whose width follows its content.
#include <algorithm>
#include <cmath>

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassFactory.h"
#include "ZR_ClassGlobals.h"
#include "ZR_ClassMemo.h"
#include "ZR_ClassReport.h"

namespace {

bool IsLineBreak(char C) { return C == '\r' || C == '\n'; }

// Hyphenation classes: the upper-case vowels and signs of the Cyrillic code page.
bool IsVowel(unsigned char C) {
  switch (C) {
    case 0xA8: case 0xC0: case 0xC5: case 0xC8: case 0xCE: case 0xD3: case 0xDB: case 0xDD: case 0xDE: case 0xDF:
      return true;
    default:
      return false;
  }
}
bool IsSign(unsigned char C) { return C == 0xDA || C == 0xDC; }
bool IsSeparator(unsigned char C) { return C == ' ' || C == ',' || C == '-' || C == '.'; }
bool IsConsonant(unsigned char C) { return !IsVowel(C) && !IsSign(C) && !IsSeparator(C); }

// The 1-based slice s[From..To] (empty when To < From).
String Slice(const String& S, int From, int To) {
  if (To < From) return String();
  return S.substr(std::size_t(From - 1), std::size_t(To - From + 1));
}

int CountBlanks(const String& S) {
  return int(std::count_if(S.begin(), S.end(), [](char c) { return c == ' ' || c == '\xA0'; }));
}

// The measuring canvas's device context, with the font selected.
HDC FontedHandle(TCanvas* Canvas) {
  Canvas->TextWidth(String());
  return Canvas->Handle();
}

}  // namespace

std::vector<int> HyphenationPoints(const String& Word) {
  std::vector<int> points;
  String w = AnsiUpperCase(Word);
  int n = int(w.size());
  if (n <= 3) return points;
  auto at = [&](int i) -> unsigned char { return i >= 1 && i <= n ? static_cast<unsigned char>(w[std::size_t(i - 1)]) : 0; };
  for (int i = 2; i <= n - 2; ++i) {
    unsigned char c = at(i), next = at(i + 1), after = at(i + 2);
    bool point = (IsVowel(c) && (IsVowel(next) || IsVowel(after))) || (IsSign(c) && !IsSeparator(after)) ||
                 ((IsConsonant(c) || (IsSign(c) && IsSeparator(after))) && !IsVowel(next) && !IsSign(next) &&
                  IsVowel(after));
    if (point) points.push_back(i);
  }
  return points;
}

void TzrMemoView::BreakLine(const String& S, std::vector<String>& Out) {
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  const int available = Width - 2 * GapX;
  const int L = int(S.size());
  auto width = [&](const String& Text) { return canvas->TextWidth(Text); };
  auto at = [&](int i) { return S[std::size_t(i - 1)]; };
  bool hasBreaks = S.find_first_of("\r\n") != String::npos;
  if (!hasBreaks && (L <= 1 || width(S) <= available)) {
    Out.push_back(S + zrLineEnd);
    return;
  }
  const bool wordBreak = (Flags & zrmfWordBreak) != 0;
  int p = 1, start = 1, brk = 1, tried = 0;
  while (p <= L) {
    if (IsLineBreak(at(p))) {
      Out.push_back(Slice(S, start, p - 1) + zrLineEnd);
      while (p < L && IsLineBreak(at(p))) ++p;
      start = brk = p;
      if (IsLineBreak(at(p))) return;
      continue;
    }
    if (at(p) != ' ' && width(Slice(S, start, p)) > available) {
      bool fit = false;
      if (wordBreak) {
        int q = p;
        while (q <= L && !IsSeparator(static_cast<unsigned char>(at(q)))) ++q;
        std::vector<int> points = HyphenationPoints(Slice(S, brk + 1, q - 1));
        if (!points.empty()) {
          p = brk;
          for (int b : points) {
            if (width(Slice(S, start, brk + b) + "-") > available) break;
            fit = true;
            p = brk + b;
          }
          brk = p;
        }
      } else if (brk == start) {
        brk = p;
      }
      if (fit) {
        Out.push_back(Slice(S, start, brk) + "-");
      } else if (at(brk) == ' ') {
        Out.push_back(Slice(S, start, brk - 1));
      } else {
        if (brk == start) brk = p;
        // A character wider than the whole line goes on a line of its own rather than leaving an
        // empty line before it.
        if (brk == start) ++brk;
        Out.push_back(Slice(S, start, brk - 1));
        brk = brk - 1;
      }
      if (wordBreak && !fit && p == brk + 1) {
        if (p == tried) {
          start = p + 1;
          p = L;
          break;
        }
        tried = p;
      }
      start = brk + 1;
      brk = brk + 1;
    }
    if (p <= L && at(p) == ' ') brk = p;
    ++p;
  }
  if (p != start) Out.push_back(Slice(S, start, L) + zrLineEnd);
}

void TzrMemoView::LayOutLines() {
  TCanvas* canvas = zrGlobals().ScratchBitmap()->Canvas();
  canvas->Font()->Assign(Font());
  canvas->Font()->SetHeight(-zrRound(Font()->Size() * 96.0 / 72.0));
  HDC dc = FontedHandle(canvas);
  SetTextCharacterExtra(dc, CharSpacing);
  FLaidOut.clear();
  LineStep = LineSpacing - canvas->Font()->Height();
  const bool wrap = (Flags & zrmfWordWrap) != 0;
  int position;
  if ((Alignment & zrtaRotated) == 0) {
    position = Top + GapY;
    int available = Width - 2 * GapX;
    TStringList* lines = OutLines();
    if (!zrEngine.Running && lines->Count() == 1 && canvas->TextWidth(lines->Strings(0)) > available &&
        !lines->Strings(0).empty() && lines->Strings(0)[0] == '[') {
      FLaidOut.push_back(lines->Strings(0));
    } else {
      for (int i = 0; i < lines->Count(); ++i) {
        String line = lines->Strings(i);
        if (PreWrapped)
          FLaidOut.push_back(line);
        else if (wrap)
          BreakLine(line, FLaidOut);
        else
          FLaidOut.push_back(line + zrLineEnd);
      }
    }
    position += LineStep * int(FLaidOut.size());
    TextExtent = position + GapY - Top;
  } else {
    TOwnedFont upward(MakeUpwardFont(canvas->Font()));
    TSelectedObject selected(dc, upward);
    {
      // The rotated layout measures along the height: Width stands for it while lines are broken.
      int savedWidth = Width;
      int savedGapX = GapX;
      TScopeGuard restore([&] {
        Width = savedWidth;
        GapX = savedGapX;
      });
      Width = Height;
      GapX = GapY;
      for (int i = 0; i < OutLines()->Count(); ++i) {
        String line = OutLines()->Strings(i);
        if (PreWrapped || !wrap)
          FLaidOut.push_back(line);
        else
          BreakLine(line, FLaidOut);
      }
    }
    position = Left + GapX + LineStep * int(FLaidOut.size());
    TextExtent = position + GapX - Left;
  }
  SetTextCharacterExtra(dc, 0);
}

void TzrMemoView::ApplyFontToCanvas(TCanvas* ACanvas) {
  SetBkMode(ACanvas->Handle(), TRANSPARENT);
  ACanvas->Font()->Assign(Font());
  if (!ToPrinter) {
    double h = Font()->Size() * 96.0 / 72.0 * ZoomY;
    ACanvas->Font()->SetHeight(-(ZoomY != 1.0 ? int(h) : zrRound(h)));
  }
}

void TzrMemoView::RenderLines() {
  ApplyFontToCanvas(Canvas);
  HDC dc = FontedHandle(Canvas);
  SetTextCharacterExtra(dc, zrRound(CharSpacing * ZoomX));
  TRect clip(PaintRect.Left + 1, PaintRect.Top, PaintRect.Right - 2, PaintRect.Bottom - 1);
  TextExtent = zrRound(TextExtent * ZoomY);
  const int savedAlignment = Alignment;
  const int savedLeft = Left;
  const int savedTop = Top;
  bool vertical = (Alignment & (zrtaMiddle | zrtaBottom)) != 0;
  if (vertical) {
    int v = Alignment;
    Alignment &= 7;
    if (Alignment & zrtaRotated) {
      if (v & zrtaMiddle) Left += (PaintRect.Width() - TextExtent) / 2;
      if (v & zrtaBottom) Left = PaintRect.Right - TextExtent;
    } else if (!ClipToBox) {
      if (v & zrtaMiddle) Top += (PaintRect.Height() - TextExtent) / 2;
      if (v & zrtaBottom) Top = PaintRect.Bottom - TextExtent - 1;
    }
  }
  TScopeGuard restore([&] {
    Alignment = savedAlignment;
    Left = savedLeft;
    Top = savedTop;
  });
  if (Alignment & zrtaRotated)
    DrawRotated();
  else
    DrawHorizontal(clip);
}

void TzrMemoView::DrawHorizontal(const TRect& Clip) {
  HDC dc = FontedHandle(Canvas);
  int y = Top + GapY;
  int step = zrRound(LineSpacing * ZoomY) - Canvas->Font()->Height();
  LinesDrawn = 0;
  TStringList* lines = OutLines();
  int count = lines->Count();
  const int pw = PaintRect.Width();
  bool wholeExpression = !zrEngine.Running && count == 1 && !lines->Strings(0).empty() &&
                         lines->Strings(0)[0] == '[' && Canvas->TextWidth(lines->Strings(0)) > Clip.Width();
  for (int i = 0; i < count; ++i) {
    if (ClipToBox && Clip.Bottom < y + step) break;
    String line = lines->Strings(i);
    bool paragraphEnd = line.empty();
    if (!line.empty() && line.back() == zrLineEnd) {
      line.pop_back();
      paragraphEnd = true;
    }
    int tw = Canvas->TextWidth(line);
    int x;
    bool justify = false;
    switch (wholeExpression ? int(zrtaRight) : Alignment & 3) {
      case zrtaRight: x = Left + pw - GapX - tw - 1; break;
      case zrtaCenter: x = Left + GapX + (pw - 2 * GapX - tw) / 2; break;
      case zrtaJustify:
        x = Left + GapX;
        justify = !Exporting && !paragraphEnd && CountBlanks(line) > 0;
        break;
      default: x = Left + GapX; break;
    }
    if (!Exporting) {
      if (justify) SetTextJustification(dc, pw - 2 * GapX - tw, CountBlanks(line));
      RECT r = Clip;
      UINT options = ETO_CLIPPED | ((Flags & zrmfRTLReading) ? ETO_RTLREADING : 0);
      ExtTextOutA(dc, x, y, options, &r, line.c_str(), UINT(line.size()), nullptr);
      if (justify) SetTextJustification(dc, 0, 0);
    } else if (TzrReport* report = zrEngine.CurReport) {
      int sides = FrameTyp;
      if (count > 1) {
        if (i == 0) sides &= ~zrFrameBottom;
        else if (i == count - 1) sides &= ~zrFrameTop;
        else sides &= ~(zrFrameBottom | zrFrameTop);
      }
      report->ExportText(PaintRect, x, this, sides, line, y);
    }
    ++LinesDrawn;
    y += step;
  }
}

void TzrMemoView::DrawRotated() {
  HDC dc = FontedHandle(Canvas);
  TOwnedFont upward(MakeUpwardFont(Canvas->Font()));
  TSelectedObject selected(dc, upward);
  int x = Left + GapX;
  int step = zrRound(LineSpacing * ZoomX) - Canvas->Font()->Height();
  LinesDrawn = 0;
  const int ph = PaintRect.Height();
  for (int i = 0; i < OutLines()->Count(); ++i) {
    String line = OutLines()->Strings(i);
    bool paragraphEnd = line.empty();
    if (!line.empty() && line.back() == zrLineEnd) {
      line.pop_back();
      paragraphEnd = true;
    }
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), int(line.size()), &size);
    int tw = size.cx;
    int y;
    bool justify = false;
    switch (Alignment & 7) {
      case zrtaRotated | zrtaRight: y = Top + GapY + tw; break;
      case zrtaRotated | zrtaCenter: y = PaintRect.Bottom - GapY - (ph - 2 * GapY - tw) / 2 - 1; break;
      case zrtaRotated | zrtaJustify:
        y = Top + ph - GapY;
        justify = !Exporting && !paragraphEnd && CountBlanks(line) > 0;
        break;
      default: y = PaintRect.Bottom - GapY; break;
    }
    if (!Exporting) {
      if (justify) SetTextJustification(dc, ph - 2 * GapY - tw, CountBlanks(line));
      ExtTextOutA(dc, x, y, 0, nullptr, line.c_str(), UINT(line.size()), nullptr);
      SetTextJustification(dc, 0, 0);
    } else if (TzrReport* report = zrEngine.CurReport) {
      report->ExportText(PaintRect, x, this, 0, line, y);
    }
    ++LinesDrawn;
    x += step;
  }
}

void TzrMemoView::RuleTextLines() {
  if ((Flags & zrmfUnderlines) == 0) return;
  ApplyFontToCanvas(Canvas);
  TPen* pen = Canvas->Pen();
  pen->SetColor(FrameColor);
  pen->SetWidth(std::max(1, zrRound(FrameWidth)));
  pen->SetStyle(psSolid);
  int h = Canvas->Font()->Height();
  int step = zrRound(LineSpacing * ZoomY) - h;
  if (step <= 0) return;
  for (int i = 0; i < Height / step; ++i) {
    int y = Top + GapY + step * i + zrRound(2 * ZoomY) - h;
    Canvas->MoveTo(Left, y);
    Canvas->LineTo(Left + Width - 1, y);
  }
}

int TzrMemoView::MeasureTextWidth(TStrings* Lines) {
  String text = Lines->Text();
  text.erase(std::remove(text.begin(), text.end(), zrLineEnd), text.end());
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  TCanvas* canvas = Canvas != nullptr ? Canvas : zrGlobals().ScratchBitmap()->Canvas();
  ApplyFontToCanvas(canvas);
  HDC dc = FontedHandle(canvas);
  SetTextCharacterExtra(dc, zrRound(CharSpacing * ZoomX));
  RECT r{0, 0, Width, Height};
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
  SetTextCharacterExtra(dc, 0);
  return zrRound(r.right / ZoomX + FrameWidth + 2 * GapX + 1);
}

void TzrMemoView::PaintOnCanvas(TCanvas* ACanvas) {
  Canvas = ACanvas;
  if ((Flags & zrmfAutoWidth) && Memo()->Count() > 0 && zrEngine.Running) {
    int w = MeasureTextWidth(Memo());
    if (Alignment & zrtaRotated) {
      Height = w;
    } else {
      if (Alignment & 1) Left = Left + Width - w;
      Width = w;
    }
  }
  PrepareDrawing(ACanvas);
  ClipToBox = false;
  OutLines()->Assign(Memo());
  if (OutLines()->Count() > 0) {
    PreWrapped = OutLines()->Text().find(zrLineEnd) != String::npos;
    if (OutLines()->Strings(OutLines()->Count() - 1) == String(1, zrLineEnd)) OutLines()->Delete(OutLines()->Count() - 1);
    {
      // Laid out unzoomed, so that every zoom shows the same lines.
      const double zx = ZoomX, zy = ZoomY;
      TScopeGuard restore([&] {
        ZoomX = zx;
        ZoomY = zy;
        RestoreCoordinates();
      });
      ZoomX = ZoomY = 1.0;
      ComputeDrawRect();
      if ((Flags & zrmfAutoWidth) && zrEngine.Running) Width += 100;
      LayOutLines();
    }
    OutLines()->Clear();
    for (const String& line : FLaidOut) OutLines()->Add(line);
  }
  ComputeDrawRect();
  TScopeGuard restore([this] {
    SetTextCharacterExtra(Canvas->Handle(), 0);
    RestoreCoordinates();
  });
  if (!Exporting) {
    DrawBackground();
    DrawFrame();
    RuleTextLines();
  }
  if (OutLines()->Count() > 0) RenderLines();
}
