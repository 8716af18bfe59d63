// This file implements TzrMemoView, the text object of a report: memo lines printed after their
// bracketed expressions were replaced by formatted values, with a font, alignment, word wrap,
// spacing, highlight and options to stretch, size its width, suppress repeats, hide zeros, rule its
// lines and read right to left (ZR_ClassMemo.cpp); and the layout of its lines and their drawing
// or export (ZR_ClassMemoLayout.cpp).
#pragma once

#include <memory>
#include <vector>

#include "ZR_ClassView.h"

// Memo flags (bit 0, Stretched, is the view's).
inline constexpr int zrmfWordWrap = 0x02;
inline constexpr int zrmfWordBreak = 0x04;
inline constexpr int zrmfAutoWidth = 0x08;
inline constexpr int zrmfTextOnly = 0x10;
inline constexpr int zrmfSuppress = 0x20;
inline constexpr int zrmfHideZeros = 0x40;
inline constexpr int zrmfUnderlines = 0x80;
inline constexpr int zrmfRTLReading = 0x100;

// Alignment bits: 0-1 horizontal (left, right, centre, justified), 4 rotated, 8 and 16 vertical.
inline constexpr int zrtaLeft = 0;
inline constexpr int zrtaRight = 1;
inline constexpr int zrtaCenter = 2;
inline constexpr int zrtaJustify = 3;
inline constexpr int zrtaRotated = 4;
inline constexpr int zrtaMiddle = 8;
inline constexpr int zrtaBottom = 16;

// The mark ending the last line of a paragraph in laid-out lines.
inline constexpr char zrLineEnd = '\x01';

// Display-format categories (bits 24-27 of the code).
inline constexpr int zrfcText = 0;
inline constexpr int zrfcNumber = 1;
inline constexpr int zrfcDate = 2;
inline constexpr int zrfcTime = 3;
inline constexpr int zrfcBoolean = 4;
inline constexpr int zrfiCustom = 4;
inline int FormatCategory(int Code) { return (Code >> 24) & 15; }
inline int FormatIndex(int Code) { return (Code >> 16) & 255; }
inline int FormatDecimals(int Code) { return (Code >> 8) & 255; }
inline char FormatSeparator(int Code) { return static_cast<char>(Code & 255); }
inline int MakeFormatCode(int Category, int Index, int Decimals, char Separator) {
  return (Category << 24) | (Index << 16) | (Decimals << 8) | static_cast<unsigned char>(Separator);
}

class TzrMemoView : public TzrStretcheable {
  VELBOR_DECLARE_CLASS(TzrMemoView, TzrStretcheable)
 public:
  TzrMemoView();
  ~TzrMemoView() override;

  TFont* Font() const { return FFont.get(); }
  int Alignment = 0;
  int HighlightStyle = 2;  // the report font-style number: bold
  TColor HighlightFontColor = 0;
  TColor HighlightFillColor = 0xFFFFFF;
  String HighlightCondition;
  int LineSpacing = 2;
  int CharSpacing = 0;

  // Layout state.
  String LastPrintedText;
  bool PreWrapped = false;
  int TextExtent = 0;
  bool ClipToBox = false;
  int LineStep = 0;
  int LinesDrawn = 0;
  bool Exporting = false;

  // Output lines := the memo with its bracketed expressions substituted (TextOnly: as written).
  void SubstituteMemo();
  // Lays out the output lines into the engine's line list; sets the text extent and the line step.
  void LayOutLines();
  // The lines the last layout produced.
  const std::vector<String>& LaidOutLines() const { return FLaidOut; }
  // Lays out one line; the pieces go to Out.
  void BreakLine(const String& S, std::vector<String>& Out);
  void ApplyFontToCanvas(TCanvas* ACanvas);
  void RenderLines();
  void RuleTextLines();
  int MeasureTextWidth(TStrings* Lines);

  void PaintOnCanvas(TCanvas* ACanvas) override;
  void WriteToPreparedPage(TStream* Stream) override;
  void ExportObject() override;
  void ReadRecord(TStream* Stream) override;
  void WriteRecord(TStream* Stream) override;
  void SaveToXml(TStream* Stream) override;
  void LoadFromBlobField(TField* Field) override;
  int CalcHeight() override;
  int OneLineHeight() override;
  int LeftoverHeight() override;
  void SetProperty(const String& PropName, const Variant& Value) override;
  Variant GetProperty(const String& PropName) override;
  void CallMethod(const String& Method, Variant& Result, const Variant& Arg1, const Variant& Arg2,
                  const Variant& Arg3) override;
  void ListProperties() override;

 private:
  // Applies the highlight when its condition holds; put back by the returned guard's owner.
  void ApplyHighlight();
  void RestoreHighlight();
  void DrawHorizontal(const TRect& Clip);
  void DrawRotated();
  int FontPixelHeight();
  std::vector<String> FLaidOut;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TFont> FSavedFont;
  TColor FSavedFill = 0;
};

// The hyphenation points of a word (positions after which it may break), for WordBreak.
std::vector<int> HyphenationPoints(const String& Word);
