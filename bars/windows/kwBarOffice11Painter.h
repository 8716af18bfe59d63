// This file implements TkwBarItemControlOffice11Painter, the Office-2003 style: docked tool bars
// with rounded ends and a two-tone gradient, dock sites with a gradient background, a dotted
// gripper, gradient fills for hot, pressed and checked buttons, menus with a gradient glyph
// column, in the colours of the current Office-2003 scheme. It derives from the flat painter.
#pragma once

#include "kwBarFlatPainter.h"

class TkwBarItemControlOffice11Painter : public TkwBarItemControlFlatPainter {
 public:
  TkwBarPainterKind Kind() const override { return bpkOffice11; }

  // The Office-2003 painter's own operations.
  virtual void DrawSchemeGripper(TCustomkwBarControl* Window, HDC DC, bool Vertical, const TRect& Rect) const;
  virtual int GetGripperOffset() const { return 2; }

  // Overrides.
  void FrameSelected(HDC DC, const TRect& Rect) const override;
  void DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location, const TRect& Rect,
                        bool Framed, HBRUSH Brush) const override;
  void DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int ImageIndex,
                      TCustomImageList* Images, TBitmap* Glyph, const TRect& GlyphRect, TRect Cell, bool Framed,
                      HBRUSH Brush) const override;
  void DrawDropDownArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Selected,
                         bool Enabled) const override;
  void DrawMenuArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Enabled, bool Selected,
                     int Size) const override;
  void GetEditColors(TkwBarItemControl* Control, COLORREF& Text, COLORREF& Back) const override;
  void GetCaptionColors(TkwBarItemControl* Control, bool Enabled, bool Selected, bool Plain, COLORREF& Offset,
                        COLORREF& Text) const override;
  bool PaintsRarelyUsedItemsItself() const override { return true; }
  COLORREF GetFloatingCaptionColor(TCustomkwBarControl*, bool) const override;
  COLORREF GetFloatingCaptionTextColor(TCustomkwBarControl*) const override;
  COLORREF GetMarkGlyphColor(TCustomkwBarControl*, int State) const override;
  void DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawMenuExpandGlyph(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  void DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool Enabled, bool Pressed,
                           bool Hot) const override;
  void GetPaintColors(TkwBarItemControl* Control, int Location, bool Pressed, bool Selected, bool Enabled,
                      COLORREF& Arrow, HBRUSH& Face) const override;
  HBRUSH GetItemBackgroundBrush(TkwBarItemControl* Control, int Location, TkwCellStates States) const override;
  int GetGripOffset() const override { return TkwBarItemControlFlatPainter::GetGripOffset() + GetGripperOffset(); }
  int GetSizingBorderWidth() const override { return 3; }
  int GetSizingBorderHeight() const override { return 3; }
  void DrawDockBackground(TkwDockControl* Dock, HDC DC, TColor Color, HBRUSH Brush, const TRect& Origin,
                          const TRect& Rect, const TRect& PaintRect) const override;
  bool PaintsOwnBackgrounds() const override { return true; }
  HBRUSH GetOpenOwnerBrush(const TkwBarManager*) const override;
  void DrawDockedBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush, const TRect& Rect,
                               const TRect& PaintRect) const override;
  void DrawBarBitmapBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush, const TRect& Rect,
                               const TRect& PaintRect) const override;
  void DrawOwnerJoinStrip(TCustomkwBarControl* Window, HDC DC) const override;
  bool HasShadow(TCustomkwBarControl* Window) const override;
  HBRUSH GetBarBrush(TCustomkwBarControl*) const override;
  HBRUSH GetBarWindowBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetCheckedBrush(TCustomkwBarControl*) const override;
  HBRUSH GetDownBrush(TCustomkwBarControl*) const override;
  HBRUSH GetSelectedBrush(TCustomkwBarControl*) const override;
  int CalcComboButtonWidth(TCustomkwBarControl*, HDC, int) const override { return 13; }
  TRect GetBorderRect(TCustomkwBarControl* Window) const override;
  TRect GetBarDockedBorderRect(const TkwBar* Bar, TkwBarDockingStyle Style) const override;
  void DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                         const TRect& Rect) const override;
  void DrawCloseButtonBackground(TCustomkwBarControl* Window, HDC DC, int State, const TRect& Rect) const override;
  void DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const override;
  void DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, int& BorderWidth,
                             TRect& Rect) const override;
  void DrawFloatingBarCaption(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, HBRUSH CaptionBrush,
                              const TRect& Rect) const override;
  void DrawStatusBarSizeGrip(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawStatusBarNonClientBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                        const TRect& Rect) const override;
  void DrawStatusBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush, const TRect& Origin,
                               const TRect& Rect, const TRect& PaintRect) const override;
  TSize GetSizeGripSize(const TkwBarManager* Manager) const override;
  void DrawDateNavigatorButton(TkwBarItemControl* Control, HDC DC, bool Pressed, const String& Caption,
                               TRect Rect) const override;
  TRect GetMarkRect(TCustomkwBarControl* Window) const override;
  void RepaintMark(TCustomkwBarControl* Window) const override;
  int GetStatusBarTopBorder(const TkwBarManager* Manager) const override {
    return TkwBarItemControlPainter::GetStatusBarTopBorder(Manager);
  }
  HBRUSH GetQuickCustomizingBrush(TCustomkwBarControl*) const override;
  void DrawQuickCustomizingCheckColumn(TkwBarItemControl* Control, HDC DC, bool Selected, int& Right,
                                       TRect& Rect) const override;
  void DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Face, COLORREF Arrow,
                           bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                           int Location) const override;
  void DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Enabled,
                       bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const override;
  void GetComboButtonColors(TkwBarItemControl* Control, int Location, COLORREF& Arrow, HBRUSH& Face, bool DroppedDown,
                            bool Selected, bool Enabled) const override;
  void DrawDropDownListBorder(HDC DC, const TRect& Rect) const override;
  void CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth, int& ExpandHeight,
                       int& GlyphScaleBase) const override;
  int GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const override;
  void DrawMenuBackground(TkwBarSubMenuControl* Menu, HDC DC, TColor Color, HBRUSH Brush,
                          const TRect& Rect) const override;
  void DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  void DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect& Rect) const override;
  void DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  HBRUSH GetMenuBrush(TkwBarSubMenuControl*) const override;
  int GetEditCaptionWidth(TkwBarItemControl* Control, int TextWidth) const override;
  void DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const override;
  void DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const override;
  COLORREF GetDateNavigatorHeaderColor() const override;
  int GetProgressBarIndent(TkwBarItemControl* Control, bool OwnGlyph) const override;
  HBRUSH GetInPlaceSubItemBrush() const override;

 protected:
  void SetGlyphOptions(TkwGlyphDrawing& How) const override { How.TintDisabled = true; }
  // The glyph column shows the menu's own gradient.
  void FillGlyphColumnPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect) const override;
  // A docked tool bar with rounded ends (not the main menu, with a border).
  static bool HasRoundedEnds(const TkwBar* Bar, TkwBarDockingStyle Style);
  // The gradient rectangle of a docked tool bar, in window coordinates.
  static TRect GradientRect(TCustomkwBarControl* Window);
};

// The colour of a slot of the Office-2003 scheme.
COLORREF Office11Color(int Slot);
