// This file implements the standard and enhanced painters: TkwBarItemControlStandardPainter draws
// raised three-dimensional buttons and borders in system colours, two drag-grip lines and the
// platform's own caption buttons; TkwBarItemControlEnhancedPainter derives from it with one grip
// line, a mark for hidden buttons with chevrons and more room around menu separators (it is also
// the XP style's look while the visual styles are not usable).
#pragma once

#include "kwBarItemControlPainter.h"

class TkwBarItemControlStandardPainter : public TkwBarItemControlPainter {
 public:
  TkwBarPainterKind Kind() const override { return bpkStandard; }
  void DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location, const TRect& Rect,
                        bool Framed, HBRUSH Brush) const override;
  void DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top, int Left) const override;
  bool IsSmallMarkRect(TCustomkwBarControl*, const TRect&) const override { return false; }
  void DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position, const TRect& Rect) const override;
  void DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawDisabledBlock(TkwBarItemControl* Control, HDC DC, const TRect& Rect) const override;
  void DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down, bool Selected, bool ShowGlyph,
                           const TRect& Rect) const override;
  void DrawLoweredFrame(TkwBarItemControl* Control, HDC DC, TRect& Rect) const override;
  void DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool Enabled, bool Pressed,
                           bool Hot) const override;
  HBRUSH GetItemBackgroundBrush(TkwBarItemControl* Control, int Location, TkwCellStates States) const override;
  int GetDownGlyphOffset(TkwBarItemControl*) const override { return 1; }
  int GetPressedGlyphOffset(TkwBarItemControl*, bool) const override { return 1; }
  int GetButtonExtraBorder(TkwBarItemControl*) const override { return 1; }
  int GetGripOffset() const override { return 2; }
  int GetGripAreaSize() const override { return GetGripOffset() + 2 * GetGripLineWidth() + 1; }
  int GetMenuSeparatorIndent() const override { return 2; }
  void DrawCloseButton(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const override;
  void DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, int& BorderWidth,
                             TRect& Rect) const override;
  void DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC, bool Pressed,
                     bool Hot) const override;
  int GetFloatingSideBorder() const override { return 4; }
  TRect CalcMarkRect(TCustomkwBarControl* Window) const override;
  int GetFloatingTopBorder() const override { return 2; }
  int GetFloatingBottomBorder() const override { return 1; }
  bool UsesSystemCloseButton() const override { return true; }
  bool UsesSystemFloatingFrame() const override { return true; }
  void DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Face, COLORREF Arrow,
                           bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                           int Location) const override;
  void ShiftPressedContent(TkwBarItemControl*, bool Down, bool Pressed, TRect& Rect) const override;
  void ShiftPressedCaption(TkwBarItemControl*, bool Pressed, TRect& Rect) const override;
  void DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Enabled,
                       bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const override;
  int GetDropDownListBorderWidth() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& Rect) const override;
  void DrawMenuItemMargins(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool NoSideStrip, int Index,
                           const TRect& Rect, HDC DC) const override;
  bool MarksRarelyUsedBoundary() const override { return true; }
  int GetMenuExpandButtonMargin(TkwBarSubMenuControl*) const override { return 2; }
  void AdjustEditWindow(TkwBarItemControl* Control, HWND Edit, const TRect& EditRect) const override;

 protected:
  // One grip line of a docked bar: a raised edge with a highlight pixel at its outer corner.
  void DrawGripLine(HDC DC, const TRect& Line, bool Vertical) const;
};

class TkwBarItemControlEnhancedPainter : public TkwBarItemControlStandardPainter {
 public:
  TkwBarPainterKind Kind() const override { return bpkEnhanced; }
  int GetGripOffset() const override { return 1; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripLineWidth() + 2; }
  int GetMenuSeparatorIndent() const override { return 12; }
  bool HasMoreButtonsMark() const override { return true; }
  void DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const override;
  TRect CalcMarkRect(TCustomkwBarControl* Window) const override;
  void DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position, const TRect& Rect) const override;
  void DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
};

// The mark rectangle of the docked enhanced and flat styles; floating: the standard one.
TRect EnhancedMarkRect(TCustomkwBarControl* Window);
// The enhanced mark glyph: a small triangle, then the chevrons while links are hidden.
void DrawEnhancedMarkGlyph(const TkwBarItemControlPainter* Painter, TCustomkwBarControl* Window, HDC DC,
                           const TRect& Rect);
// The check-mark polyline of the standard and flat styles, Rows rows thick, in Color.
void DrawCheckPolyline(HDC DC, int Scale, int Top, int Left, int Rows, COLORREF Color);
