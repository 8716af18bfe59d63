// This file implements the look-and-feel painters: TkjCustomLookAndFeelPainter and its three
// kinds (standard, flat and ultra-flat), stateless objects whose virtual operations draw the
// common parts of data controls on a TkjPaintCanvas (buttons and arrow buttons, check and radio
// buttons, headers with sort marks, summary cells, expand, check and cross buttons, tabs, row
// indicators and scroll-bar parts); and the painters' shared images (row indicators, scroll-bar
// patterns, the radio-button image list rebuilt on system-colour changes).
#pragma once

#include "kjLookAndFeel.h"
#include "ImageList.h"
#include "kjPaintCanvas.h"

// States of buttons, arrows and checks.
enum TkjButtonState { kjbsDefault, kjbsNormal, kjbsHot, kjbsPressed, kjbsDisabled };
enum TkjArrowDirection { kjadLeft, kjadUp, kjadRight, kjadDown };
// Row indicators (images 1 to 5 of the indicator list; 0 draws none).
enum TkjIndicatorKind { kjikNone, kjikArrow, kjikEdit, kjikInsert, kjikMultiDot, kjikMultiArrow };
// Scroll-bar parts: the two arrow buttons, the thumb, the two page areas.
enum TkjScrollBarPart { kjsbpNone, kjsbpLineUp, kjsbpLineDown, kjsbpThumb, kjsbpPageUp, kjsbpPageDown };
// Neighbours of a header cell (bit 1 left, bit 2 right).
using TkjNeighbors = unsigned;
inline constexpr TkjNeighbors kjnLeft = 1;
inline constexpr TkjNeighbors kjnRight = 2;

// The painters' default colours, one query each.
enum TkjPainterColor {
  kjpcContent, kjpcContentText, kjpcContentEvenShadow, kjpcContentOddHighlight, kjpcFooterText,
  kjpcFooterFace, kjpcGroupByText, kjpcGridLine, kjpcGroupFace, kjpcGroupText, kjpcHeaderShadow,
  kjpcHeaderFace, kjpcIndicatorFace, kjpcIndicatorText, kjpcSeparator, kjpcPreviewFace, kjpcSelectionFace,
  kjpcSelectionText, kjpcHyperlink, kjpcHyperlinkShadow, kjpcHighlight, kjpcHighlightText, kjpcTabFace,
  kjpcTabsFace, kjpcTabText, kjpcBandFace, kjpcColorCount
};

// Draws a control's own background instead of the painter: true when it did.
using TkjCustomDrawBackgroundEvent = TEvent<bool(TkjPaintCanvas* Canvas, const TRect& Rect)>;

class TkjCustomLookAndFeelPainter {
 public:
  virtual ~TkjCustomLookAndFeelPainter() = default;

  virtual bool IsNativePainter() const { return false; }
  virtual void PaintDownArrow(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color) const;
  virtual void PaintContentText(TkjPaintCanvas* Canvas, const TRect& Rect, TkjCustomDrawBackgroundEvent CustomDraw,
                                TColor Background, TColor TextColor, TFont* Font, const String& Text,
                                TAlignment Horizontal, int Vertical, bool MultiLine, bool Ellipsis,
                                const TRect& TextRect) const;
  virtual TRect GetBorderedContentRect(const TRect& Rect) const;
  virtual TRect GetInnerContentRect(const TRect& Rect) const;
  virtual TkjLookAndFeelKind GetLookAndFeelKind() const { return lfStandard; }
  virtual TColor DefaultColor(TkjPainterColor Which) const;

  // Arrows and buttons.
  virtual void PaintArrow(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, TkjArrowDirection Direction) const;
  virtual void PaintArrowButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool WithBorder,
                                TkjArrowDirection Direction, TkjButtonState State) const;
  virtual void PaintArrowButtonFace(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const;
  virtual void PaintStateArrow(TkjPaintCanvas* Canvas, const TRect& Rect, TkjArrowDirection Direction,
                               TkjButtonState State) const;
  virtual int GetBorderWidth() const { return 0; }
  virtual void PaintBorder(TkjPaintCanvas*, const TRect&) const {}
  virtual int GetButtonBorderWidth(TkjButtonState) const { return 0; }
  virtual TColor GetButtonFaceColor(TkjButtonState) const { return clBtnFace; }
  virtual TRect GetButtonFocusBounds(const TRect& Rect) const;
  virtual int GetButtonCaptionInset() const { return 0; }
  virtual int GetPressedShift() const { return 0; }
  virtual TColor GetButtonGlyphColor(TkjButtonState State) const;
  virtual TkjButtonState GetButtonGlyphState(TkjButtonState State) const { return State; }
  virtual void PaintButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor TextColor, TColor FaceColor,
                           bool WithBorder, TkjButtonState State, const String& Caption) const;
  virtual void PaintPlainButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, int Index, int Count,
                                TkjButtonState State) const;
  virtual void PaintButtonBorder(TkjPaintCanvas*, const TRect&, TkjButtonState) const {}
  virtual void PaintExpander(TkjPaintCanvas*, const TRect&, TColor, bool) const {}
  virtual void PaintFramedBox(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, bool Expanded) const;
  virtual int GetExpanderSize() const { return 0; }
  virtual bool HotTracksButtons() const { return false; }
  virtual int GetSmallButtonSize() const { return 9; }

  // Check and radio buttons.
  virtual int GetCheckBorderWidth() const { return 2; }
  virtual TColor GetCheckColor(TkjButtonState State) const;
  virtual void PaintCheck(TkjPaintCanvas* Canvas, const TRect& Rect, TColor MarkColor, bool Ticked,
                          TkjButtonState State) const;
  virtual void PaintCheckFrame(TkjPaintCanvas*, const TRect&, TkjButtonState) const {}
  virtual void PaintCheckButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ticked, TkjButtonState State) const;
  virtual void PaintRadioButton(TkjPaintCanvas* Canvas, int X, int Y, bool Ticked, bool Focused,
                                TkjButtonState State, TColor Background) const;

  // Headers.
  virtual void PaintHeader(TkjPaintCanvas* Canvas, const TRect& Rect, const TRect& TextRect, TkjNeighbors Neighbors,
                           TkjSides Borders, const String& Text, TAlignment Horizontal, TColor Background,
                           TColor TextColor) const;
  virtual void PaintHeaderCell(TkjPaintCanvas* Canvas, const TRect& Rect, const TRect& TextRect,
                               TkjNeighbors Neighbors, TkjSides Borders, const String& Text, TAlignment Horizontal,
                               TColor Background, TColor TextColor) const;
  virtual void PaintHeaderEdges(TkjPaintCanvas*, const TRect&, TkjSides, TkjNeighbors) const {}
  virtual void PaintHeaderFrame(TkjPaintCanvas* Canvas, const TRect& Rect) const { Canvas->InvertArea(Rect); }
  virtual void PaintSortMark(TkjPaintCanvas*, const TRect&, bool) const {}
  virtual TkjSides GetHeaderSides(TkjNeighbors) const { return kjsAll; }
  virtual int GetHeaderBorderWidth() const { return 0; }
  virtual TRect GetHeaderContentRect(const TRect& Rect, TkjSides Borders) const;
  virtual bool HeaderHasBorders() const { return true; }
  virtual int GetHeaderHeight(int FontHeight) const { return 2 * GetHeaderBorderWidth() + FontHeight + 4; }
  virtual int GetHeaderWidth(TkjPaintCanvas* Canvas, TkjSides Borders, TFont* Font, const String& Text) const;
  virtual int GetHeaderExtraWidth() const { return 0; }
  virtual TSize GetSortMarkAreaSize() const { return TSize{16, GetSortMarkSize().cy}; }
  virtual TSize GetSortMarkSize() const { return TSize{0, 0}; }

  // Summary cells.
  virtual void PaintSummaryCell(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Background, TColor TextColor,
                                TAlignment Horizontal, const String& Text) const;
  virtual TkjSides GetSummaryBorders() const { return kjsAll; }
  virtual int GetSummaryBorderWidth() const { return 0; }
  virtual int GetContentBorderWidth() const { return 0; }
  virtual int GetSummaryCellBorderWidth() const { return 0; }
  virtual bool SummaryHasBorder() const { return true; }
  virtual void PaintSummaryBorder(TkjPaintCanvas*, const TRect&) const {}
  virtual void PaintSummaryCellBorder(TkjPaintCanvas*, const TRect&) const {}

  // Small buttons.
  virtual void PaintCheckBoxButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ticked,
                                   TkjButtonState State) const;
  virtual void PaintCrossButton(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const;
  virtual void PaintDropDownButton(TkjPaintCanvas*, const TRect&, bool, TkjButtonState) const {}
  virtual TSize GetCheckBoxButtonSize() const { return TSize{13, 13}; }
  virtual TSize GetCrossButtonSize() const { return TSize{16, 14}; }
  virtual TSize GetDropDownButtonSize() const { return TSize{15, 0}; }
  virtual bool DropDownButtonHasBorder() const { return true; }
  // A hook with seven arguments that no painter fills in.
  virtual void PaintFilterSmartTag(TkjPaintCanvas*, const TRect&, TkjButtonState, bool, bool, TColor,
                                   TColor) const {}

  // Tabs.
  virtual void PaintTab(TkjPaintCanvas*, const TRect&, bool, TkjButtonState, TkjSides) const {}
  virtual void PaintTabsBase(TkjPaintCanvas*, const TRect&, bool, TkjSides) const {}
  virtual int GetTabOverlap() const { return 0; }
  virtual int GetTabIndent() const { return 0; }
  virtual int GetTabBorderWidth(bool) const { return 0; }

  // Row indicators and scroll bars.
  virtual void PaintIndicatorHeader(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Background,
                                    TkjIndicatorKind Kind) const;
  virtual void PaintIndicatorItem(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Background,
                                  TkjIndicatorKind Kind) const;
  virtual bool IndicatorHasBorder() const { return true; }
  virtual void PaintScrollBarPart(TkjPaintCanvas*, bool, TkjScrollBarPart, TkjButtonState, const TRect&) const {}

 protected:
  // Draws the indicator image of Kind centred in Rect.
  void PaintIndicatorImage(TkjPaintCanvas* Canvas, const TRect& Rect, TkjIndicatorKind Kind) const;
  // The expand sign: a minus, or a plus when not expanded.
  void PaintExpandSign(TkjPaintCanvas* Canvas, const TRect& Rect, bool Expanded) const;
  // The arrow polygon of the direction, centred in Rect.
  std::vector<TPoint> ArrowPoints(const TRect& Rect, TkjArrowDirection Direction) const;
  // The outline of the sort triangle, the lit edges in Light and the others in Dark.
  void PaintSortTriangle(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending, TColor Light, TColor Dark) const;
  // A page area in the scroll-bar pattern (the pressed one when Pressed).
  void PaintPageArea(TkjPaintCanvas* Canvas, const TRect& Rect, bool Pressed) const;
  // Scroll-bar parts drawn as this painter's buttons (the flat kinds).
  void PaintScrollBarPartAsButtons(TkjPaintCanvas* Canvas, bool Horizontal, TkjScrollBarPart Part,
                                   TkjButtonState State, const TRect& Rect) const;
};

class TkjStandardLookAndFeelPainter : public TkjCustomLookAndFeelPainter {
 public:
  int GetBorderWidth() const override { return 2; }
  void PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  int GetButtonBorderWidth(TkjButtonState State) const override { return State == kjbsDefault ? 3 : 2; }
  int GetButtonCaptionInset() const override { return 1; }
  int GetPressedShift() const override { return 1; }
  void PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, bool Expanded) const override;
  int GetExpanderSize() const override { return 12; }
  void PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides Borders,
                        TkjNeighbors Neighbors) const override;
  void PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  TSize GetSortMarkSize() const override { return TSize{8, 7}; }
  int GetSummaryBorderWidth() const override { return 1; }
  int GetContentBorderWidth() const override { return 1; }
  int GetSummaryCellBorderWidth() const override { return 1; }
  void PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  void PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  void PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                           TkjButtonState State) const override;
  void PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjButtonState State,
                TkjSides Sides) const override;
  void PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjSides Sides) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal, TkjScrollBarPart Part, TkjButtonState State,
                          const TRect& Rect) const override;
};

class TkjFlatLookAndFeelPainter : public TkjCustomLookAndFeelPainter {
 public:
  TkjLookAndFeelKind GetLookAndFeelKind() const override { return lfFlat; }
  int GetBorderWidth() const override { return 1; }
  void PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  int GetButtonBorderWidth(TkjButtonState State) const override { return State == kjbsDefault ? 2 : 1; }
  int GetButtonCaptionInset() const override { return 1; }
  int GetPressedShift() const override { return 1; }
  void PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, bool Expanded) const override;
  int GetExpanderSize() const override { return 11; }
  void PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides Borders,
                        TkjNeighbors Neighbors) const override;
  void PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  TSize GetSortMarkSize() const override { return TSize{8, 7}; }
  int GetSummaryBorderWidth() const override { return 1; }
  int GetContentBorderWidth() const override { return 1; }
  int GetSummaryCellBorderWidth() const override { return 1; }
  void PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  void PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  void PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                           TkjButtonState State) const override;
  void PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjButtonState State,
                TkjSides Sides) const override;
  void PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjSides Sides) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal, TkjScrollBarPart Part, TkjButtonState State,
                          const TRect& Rect) const override;
};

class TkjUltraFlatLookAndFeelPainter : public TkjCustomLookAndFeelPainter {
 public:
  TkjLookAndFeelKind GetLookAndFeelKind() const override { return lfUltraFlat; }
  int GetBorderWidth() const override { return 1; }
  void PaintBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  int GetButtonBorderWidth(TkjButtonState State) const override { return State == kjbsDefault ? 2 : 1; }
  TColor GetButtonFaceColor(TkjButtonState State) const override;
  TRect GetButtonFocusBounds(const TRect& Rect) const override;
  int GetButtonCaptionInset() const override { return 2; }
  TColor GetButtonGlyphColor(TkjButtonState State) const override;
  TkjButtonState GetButtonGlyphState(TkjButtonState) const override { return kjbsNormal; }
  void PaintPlainButton(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, int Index, int Count,
                        TkjButtonState State) const override;
  void PaintButtonBorder(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintExpander(TkjPaintCanvas* Canvas, const TRect& Rect, TColor Color, bool Expanded) const override;
  int GetExpanderSize() const override { return 11; }
  bool HotTracksButtons() const override { return true; }
  void PaintCheckFrame(TkjPaintCanvas* Canvas, const TRect& Rect, TkjButtonState State) const override;
  void PaintHeaderCell(TkjPaintCanvas* Canvas, const TRect& Rect, const TRect& TextRect, TkjNeighbors Neighbors,
                       TkjSides Borders, const String& Text, TAlignment Horizontal, TColor Background,
                       TColor TextColor) const override;
  void PaintHeaderEdges(TkjPaintCanvas* Canvas, const TRect& Rect, TkjSides Borders,
                        TkjNeighbors Neighbors) const override;
  void PaintSortMark(TkjPaintCanvas* Canvas, const TRect& Rect, bool Ascending) const override;
  TkjSides GetHeaderSides(TkjNeighbors Neighbors) const override;
  int GetHeaderBorderWidth() const override { return 1; }
  TSize GetSortMarkSize() const override { return TSize{7, 8}; }
  TkjSides GetSummaryBorders() const override { return kjsRight | kjsBottom; }
  int GetSummaryBorderWidth() const override { return 1; }
  int GetContentBorderWidth() const override { return 1; }
  int GetSummaryCellBorderWidth() const override { return 2; }
  void PaintSummaryBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  void PaintSummaryCellBorder(TkjPaintCanvas* Canvas, const TRect& Rect) const override;
  TSize GetCrossButtonSize() const override { return TSize{16, 15}; }
  void PaintDropDownButton(TkjPaintCanvas* Canvas, const TRect& Rect, bool Active,
                           TkjButtonState State) const override;
  void PaintTab(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjButtonState State,
                TkjSides Sides) const override;
  void PaintTabsBase(TkjPaintCanvas* Canvas, const TRect& Rect, bool Vertical, TkjSides Sides) const override;
  int GetTabBorderWidth(bool) const override { return 1; }
  void PaintScrollBarPart(TkjPaintCanvas* Canvas, bool Horizontal, TkjScrollBarPart Part, TkjButtonState State,
                          const TRect& Rect) const override;
};

// The painter of a kind (a constant table: lfFlat flat, lfStandard standard, lfUltraFlat
// ultra-flat), and the base painter itself.
const TkjCustomLookAndFeelPainter* LookAndFeelPainter(TkjLookAndFeelKind Kind);
const TkjCustomLookAndFeelPainter* CustomLookAndFeelPainter();

// The painters' shared images (made when the unit starts: first used).
TCustomImageList* LookAndFeelIndicatorImages();
// The two 8 x 8 scroll-bar patterns: highlight and face, and for pressed page areas 3-D dark
// shadow and black.
TBitmap* ScrollBarPattern(bool Pressed);
void RebuildScrollBarPatterns();
// The number of radio images built (0 until the first radio button is painted, and again after
// every system-colour change).
int RadioButtonImageCount();
void StartLookAndFeelPainters();
void FinishLookAndFeelPainters();
