// This file implements the character and paragraph formatting of the rich-text control and the
// conversions between twips and the measures users see and type (inches or centimetres; one
// centimetre is 1440 / 2.537 twips throughout the library).
#include "qvriched.h"

#include <cmath>

#include "Exceptions.h"
#include "FloatFormat.h"

#include "CommonDialogs.h"

#include "qvStrUtils.h"

namespace {

constexpr double kCentimetreFactor = 2.537;

// What a measure's text may end with: blanks, the inch mark and the centimetre letters.
const TqvCharSet& MeasureSuffixChars() {
  static const TqvCharSet Chars = qvCharSet(" 'cmCM");
  return Chars;
}

}  // namespace

// --- Measures ---------------------------------------------------------------------------------

int TqvCustomRichEdit::MeasureToTwips(const String& Text) {
  String Number = Text;
  qvTrimRightChars(Number, MeasureSuffixChars());
  double Value = StrToFloat(Number) * 1440;
  if (MeasurementUnits == muCentimeters) Value /= kCentimetreFactor;
  return int(std::trunc(Value));
}

double TqvCustomRichEdit::TwipsToMeasure(int Twips) {
  double Value = Twips / 1440.0;
  if (MeasurementUnits == muCentimeters) Value *= kCentimetreFactor;
  // To hundredths, ties to even (the current rounding mode).
  return std::nearbyint(Value * 100) / 100;
}

String TqvCustomRichEdit::FormatMeasure(double Value) {
  return FloatToStr(Value) + (MeasurementUnits == muCentimeters ? " cm" : "''");
}

String TqvCustomRichEdit::FormatMeasureRounded(int Steps, double Value) {
  if (Steps == 0) Steps = MeasurementUnits == muCentimeters ? 20 : 8;
  double Away = 1 / (1.5 * Steps);
  Value += Value < 0 ? -Away : Away;
  long long Thousandths = static_cast<long long>(std::trunc(Value * 1000));
  Thousandths -= Thousandths % (1000 / Steps);
  return FormatMeasure(double(Thousandths) / 1000);
}

// --- Character formatting ---------------------------------------------------------------------

CHARFORMAT2A TqvCustomRichEdit::GetSelCharFormat() {
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  if (HandleAllocated()) SendRich(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
  return Format;
}

void TqvCustomRichEdit::SetSelFont(const String& FaceName, int Size, TColor Color, TFontStyles Style) {
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE | CFM_CHARSET;
  if (Color != clNone) {
    Format.dwMask |= CFM_COLOR;
    Format.crTextColor = ColorToRGB(Color);
  }
  lstrcpynA(Format.szFaceName, FaceName.c_str(), LF_FACESIZE);
  Format.bCharSet = BYTE(GetFontCharset(FaceName));
  Format.yHeight = Size * 20;
  if (Style.Contains(fsBold)) Format.dwEffects |= CFE_BOLD;
  if (Style.Contains(fsItalic)) Format.dwEffects |= CFE_ITALIC;
  if (Style.Contains(fsUnderline)) Format.dwEffects |= CFE_UNDERLINE;
  if (Style.Contains(fsStrikeOut)) Format.dwEffects |= CFE_STRIKEOUT;
  SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
}

// The effect is set when On and cleared otherwise, whatever the selection had.
void TqvCustomRichEdit::ToggleSelEffect(int Effect, bool On) {
  static const DWORD Bits[] = {CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE, CFE_STRIKEOUT};
  if (Effect < 0 || Effect > 3) return;
  CHARFORMAT2A Format = GetSelCharFormat();
  Format.dwMask = Bits[Effect];
  Format.dwEffects = On ? Bits[Effect] : 0;
  SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
}

void TqvCustomRichEdit::ToggleBold(bool On) {
  EditModified();
  ToggleSelEffect(0, On);
}

void TqvCustomRichEdit::ToggleItalic(bool On) {
  EditModified();
  ToggleSelEffect(1, On);
}

void TqvCustomRichEdit::ToggleUnderline(bool On) {
  EditModified();
  ToggleSelEffect(2, On);
}

void TqvCustomRichEdit::SetSelBackColor(TColor Color) {
  if (Color == TColor(-1)) {
    ClearHighlights();
    Color = this->Color();
  }
  if (FRichEditVersion < 2) return;
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_BACKCOLOR;
  Format.crBackColor = ColorToRGB(Color);
  SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
  SetSelLength(0);
}

TColor TqvCustomRichEdit::GetSelBackColor() {
  if (FRichEditVersion < 2) return TColor(ColorToRGB(Color()));
  CHARFORMAT2A Format = GetSelCharFormat();
  if (Format.dwEffects & CFE_AUTOBACKCOLOR) return TColor(ColorToRGB(Color()));
  return TColor(Format.crBackColor);
}

int TqvCustomRichEdit::GetSelSizeTwips() { return int(GetSelCharFormat().yHeight); }

// Every highlight of the selection goes: its background becomes the window's own, and nothing
// else of its formatting or text changes.
void TqvCustomRichEdit::ClearHighlights() {
  if (!HandleAllocated()) return;
  CHARFORMAT2A Format{};
  Format.cbSize = sizeof(Format);
  Format.dwMask = CFM_BACKCOLOR;
  Format.dwEffects = CFE_AUTOBACKCOLOR;
  SendRich(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&Format));
}

void TqvCustomRichEdit::ShowFontDialog() {
  TFontDialog* Dialog = FFontDialog;
  if (Dialog == nullptr) return;
  TFont* F = Dialog->Font();
  CHARFORMAT2A Format = GetSelCharFormat();
  F->SetName(Format.szFaceName);
  TFontStyles Style;
  if (Format.dwEffects & CFE_BOLD) Style.Include(fsBold);
  if (Format.dwEffects & CFE_ITALIC) Style.Include(fsItalic);
  if (Format.dwEffects & CFE_UNDERLINE) Style.Include(fsUnderline);
  if (Format.dwEffects & CFE_STRIKEOUT) Style.Include(fsStrikeOut);
  F->SetStyle(Style);
  TColor Before = (Format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(Format.crTextColor);
  F->SetColor(Before);
  F->SetSize(int(Format.yHeight / 20));
  F->SetPitch((Format.bPitchAndFamily & 3) == FIXED_PITCH ? fpFixed
              : (Format.bPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                               : fpDefault);
  if (UsesPrinterWidth()) Dialog->Options.Include(fdWysiwyg);
  else Dialog->Options.Exclude(fdWysiwyg);
  if (!Dialog->Execute()) return;
  EditModified();
  // An unchanged colour is not applied: a selection of several colours keeps them.
  TColor Chosen = F->Color() == Before ? clNone : F->Color();
  SetSelFont(F->Name(), F->Size(), Chosen, F->Style());
}

// --- Paragraph formatting ---------------------------------------------------------------------

void TqvCustomRichEdit::GetParaIndents(int& Offset, int& RightIndent, int& StartIndent) {
  Offset = RightIndent = StartIndent = 0;
  if (!HandleAllocated()) return;
  PARAFORMAT Format{};
  Format.cbSize = sizeof(Format);
  SendRich(EM_GETPARAFORMAT, 0, LPARAM(&Format));
  Offset = Format.dxOffset;
  RightIndent = Format.dxRightIndent;
  StartIndent = Format.dxStartIndent;
}

void TqvCustomRichEdit::GetParaFormat(PARAFORMAT2& Format) {
  Format = PARAFORMAT2{};
  Format.cbSize = FRichEditVersion < 2 ? sizeof(PARAFORMAT) : sizeof(PARAFORMAT2);
  if (HandleAllocated()) SendRich(EM_GETPARAFORMAT, 0, LPARAM(&Format));
}

TqvParaAlignment TqvCustomRichEdit::GetParaAlignment() {
  PARAFORMAT2 Format;
  GetParaFormat(Format);
  switch (Format.wAlignment) {
    case PFA_RIGHT: return qpaRight;
    case PFA_CENTER: return qpaCenter;
    case PFA_JUSTIFY: return qpaJustify;
    default: return qpaLeft;
  }
}

void TqvCustomRichEdit::SetParaFormat(int Mask, TqvParaAlignment Alignment, bool Numbering, int Offset,
                                      int RightIndent, int StartIndent, int TabCount, const int* Tabs,
                                      int SpaceBefore, int SpaceAfter, int LineSpacing, int LineRule) {
  EditModified();
  PARAFORMAT2 Format{};
  bool Extended = FRichEditVersion >= 2;
  Format.cbSize = Extended ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT);
  static const DWORD Bits[] = {PFM_ALIGNMENT,  PFM_NUMBERING,   PFM_OFFSET,     PFM_RIGHTINDENT, PFM_STARTINDENT,
                               PFM_TABSTOPS,   PFM_SPACEBEFORE, PFM_SPACEAFTER, PFM_LINESPACING};
  for (int i = 0; i < int(std::size(Bits)); ++i) {
    // The short record has no room for the spacing.
    if ((Mask & (1 << i)) && (Extended || i < 6)) Format.dwMask |= Bits[i];
  }
  Format.wNumbering = Numbering ? PFN_BULLET : 0;
  Format.dxStartIndent = StartIndent;
  Format.dxRightIndent = RightIndent;
  Format.dxOffset = Offset;
  Format.dySpaceBefore = SpaceBefore;
  Format.dySpaceAfter = SpaceAfter;
  if (LineRule == 1 || LineRule == 2) {
    Format.bLineSpacingRule = 5;  // multiple, in twentieths of a line
    Format.dyLineSpacing = LineRule == 1 ? 30 : 40;
  } else {
    Format.bLineSpacingRule = BYTE(LineRule);
    Format.dyLineSpacing = LineSpacing;
  }
  switch (Alignment) {
    case qpaLeft: Format.wAlignment = PFA_LEFT; break;
    case qpaRight: Format.wAlignment = PFA_RIGHT; break;
    case qpaJustify: Format.wAlignment = PFA_JUSTIFY; break;
    case qpaCenter: Format.wAlignment = PFA_CENTER; break;
  }
  if (Mask & 32) {
    Format.cTabCount = SHORT(std::min(std::max(TabCount, 0), int(MAX_TAB_STOPS)));
    for (int i = 0; i < Format.cTabCount; ++i) Format.rgxTabs[i] = Tabs[i];
  }
  SendRich(EM_SETPARAFORMAT, 0, LPARAM(&Format));
}

void TqvCustomRichEdit::SetBullet(bool On) {
  EditModified();
  if (On) SetParaFormat(6, qpaLeft, true, 720, 0, 0, 0, nullptr, 0, 0, 0, 0);
  else Paragraph()->SetNumbering(nsNone);
}
