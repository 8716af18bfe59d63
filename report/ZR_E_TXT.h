// This file implements TzrTextExport, the export filter that lays every prepared page out on a
// character grid and writes it as plain text, with frames drawn with line characters, and the grid
// of text records that the RTF filter builds on; and TzrTXTExportForm, its options dialog.
#pragma once

#include <memory>
#include <vector>

#include "ZR_ClassExport.h"

class TStringList;

// One text line of an object as the export received it.
struct TzrTextRec {
  int X = 0;  // report pixels
  String Text;
  String FontName;  // at most 31 characters
  int FontSize = 10;
  int FontStyle = 0;  // the report font-style number
  TColor FontColor = 0;
  int FontCharset = 1;
  TColor FillColor = 0;
  TRect Rect;  // the object's paint rectangle
  int FrameSides = 0;
  int Alignment = 0;
};

class TzrTextExport : public TzrExportFilter {
  VELBOR_DECLARE_CLASS(TzrTextExport, TzrExportFilter)
 public:
  explicit TzrTextExport(TComponent* AOwner);
  ~TzrTextExport() override;

  // Published.
  double ScaleX = 1.0;
  double ScaleY = 1.0;
  bool KillEmptyLines = true;
  bool ConvertToOEM = false;
  bool ExportFrames = false;
  bool UsePseudographic = false;
  bool PageBreaks = true;

  // The grid of the page being exported: one slot per line (201 at the start of a page, more when
  // an object lies further down), each holding its records in X order.
  static constexpr int kGridLines = 201;
  const std::vector<std::vector<TzrTextRec>>& PageLines() const { return FLines; }
  // The line slot of a y position; a position above the page goes to the first line.
  int LineOfY(int Y) const;

  void FreePageLines() override;
  int ShowOptionsDialog() override;
  void StartPage() override;
  void FinishPage() override;
  void ExportText(const TRect& DrawRect, int X, TzrView* View, int FrameSides, const String& Text, int Y) override;

 protected:
  // For the filters built on this one: they enrol under their own description.
  TzrTextExport(TComponent* AOwner, bool EnrolAsText);
  // The index of the last slot holding a record; -1 when none.
  int LastUsedLine() const;
  std::vector<std::vector<TzrTextRec>> FLines;

 private:
  std::unique_ptr<TStringList> FOutput;
  bool FEnrolled = false;
};

// The frame codes of the character grid: the directions a line runs from a character.
inline constexpr char zrFrameUp = 1;
inline constexpr char zrFrameRightward = 2;
inline constexpr char zrFrameDown = 4;
inline constexpr char zrFrameLeftward = 8;
// The character of a frame code: line-drawing characters of the DOS code page, or "|", "-", "+".
char FrameCodeCharacter(char Code, bool Pseudographic);
