// This file implements TkwBarItemControlXPPainter, the style drawn through the platform's visual
// styles: tool bar buttons, separators, grippers, caption buttons, combo buttons, spin buttons,
// progress bars and size grips are the theme's parts. The manager uses it only while the visual
// styles are usable (the enhanced painter stands in otherwise). It borrows several operations of
// the standard and flat painters.
#pragma once

#include "kwBarItemControlPainter.h"

class TkwBarItemControlXPPainter : public TkwBarItemControlPainter {
 public:
  TkwBarPainterKind Kind() const override { return bpkXP; }
  void DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location, const TRect& Rect,
                        bool Framed, HBRUSH Brush) const override;
  void DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top, int Left) const override;
  void DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int ImageIndex,
                      TCustomImageList* Images, TBitmap* Glyph, const TRect& GlyphRect, TRect Cell, bool Framed,
                      HBRUSH Brush) const override;
  bool KeepsPressedContentInPlace(TkwBarItemControl* Control) const override;
  void DrawSizeGripGlyph(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position, const TRect& Rect) const override;
  void GetFloatingCaptionTextOffset(TCustomkwBarControl*, int& Left, const TRect& Rect) const override {
    Left = Rect.Left + 2;
  }
  void AdjustEditTextRect(TRect& Rect) const override { Rect.Top += 2; }
  void DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down, bool Selected, bool ShowGlyph,
                           const TRect& Rect) const override;
  void DrawLoweredFrame(TkwBarItemControl* Control, HDC DC, TRect& Rect) const override;
  HBRUSH GetItemBackgroundBrush(TkwBarItemControl* Control, int Location, TkwCellStates States) const override;
  int GetDownGlyphOffset(TkwBarItemControl*) const override { return 1; }
  int GetPressedGlyphOffset(TkwBarItemControl*, bool Down) const override { return Down ? 0 : 1; }
  int GetGripOffset() const override { return 0; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripLineWidth() + 2; }
  int GetGripLineWidth() const override;
  int GetButtonArrowWidth(const TkwBarManager* Manager) const override {
    return TkwBarItemControlPainter::GetButtonArrowWidth(Manager) + 3;
  }
  int GetLargeButtonArrowWidth(const TkwBarManager* Manager) const override {
    return TkwBarItemControlPainter::GetLargeButtonArrowWidth(Manager) + 3;
  }
  void DrawDockBackground(TkwDockControl* Dock, HDC DC, TColor Color, HBRUSH Brush, const TRect& Origin,
                          const TRect& Rect, const TRect& PaintRect) const override;
  bool PaintsOwnBackgrounds() const override { return true; }
  bool HasShadow(TCustomkwBarControl* Window) const override;
  HBRUSH GetBarBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetBarWindowBrush(TCustomkwBarControl* Window) const override { return GetBarBrush(Window); }
  int CalcComboButtonWidth(TCustomkwBarControl* Window, HDC DC, int ZeroWidth) const override;
  int GetRowExtraHeight() const override;
  bool HotTracksCloseButton() const override { return true; }
  bool HasMoreButtonsMark() const override { return true; }
  int GetBarBeginGroupLineOffset(TCustomkwBarControl*, HDC) const override { return (GetBarBeginGroupSize() - 1) / 2; }
  int GetBarBeginGroupSize() const override;
  int GetBorderWidth() const override { return 0; }
  void DrawFloatingCaptionBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                     const TRect& Rect) const override;
  bool HasFloatingCaptionBackground() const override { return true; }
  TSize GetCloseButtonSize() const override;
  void DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                         const TRect& Rect) const override;
  void DrawCloseButton(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const override;
  void DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, int& BorderWidth,
                             TRect& Rect) const override;
  TSize GetSizeGripSize(const TkwBarManager* Manager) const override;
  void DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC, bool Pressed,
                     bool Hot) const override;
  TRect CalcMarkRect(TCustomkwBarControl* Window) const override;
  void DrawStatusBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush, const TRect& Origin,
                               const TRect& Rect, const TRect& PaintRect) const override;
  bool AlignsQuickCustomizingToMark() const override { return true; }
  int GetButtonExtraHeight() const override;
  int GetButtonExtraWidth() const override { return GetButtonExtraHeight(); }
  void AdjustMenuGlyphColumnWidth(int& Width) const override { Width += 1; }
  void DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Face, COLORREF Arrow,
                           bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                           int Location) const override;
  void ShiftPressedContent(TkwBarItemControl*, bool Down, bool Pressed, TRect& Rect) const override {
    if (Pressed || Down) OffsetBy(Rect, 1, 1);
  }
  void ShiftPressedCaption(TkwBarItemControl*, bool Pressed, TRect& Rect) const override {
    if (Pressed) OffsetBy(Rect, 1, 1);
  }
  int GetComboButtonGap() const override { return 0; }
  void DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Enabled,
                       bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const override;
  int GetDropDownListBorderWidth() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& Rect) const override;
  int GetMenuBottomMargin() const override { return 1; }
  int GetMenuBeginGroupSize() const override;
  int GetSubMenuTopOffset() const override { return 1; }
  void GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                        int& HeightLimit) const override;
  void CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const override;
  int GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const override;
  void DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  void DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect& Rect) const override;
  void DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool NoSideStrip, const TRect& Rect,
                          HDC DC) const override;
  void AdjustMenuTearOffBarRect(TkwBarSubMenuControl*, TRect& Rect) const override { InflateBy(Rect, -2, -2); }
  void GetMenuItemBrush(TkwBarSubMenuControl* Menu, HBRUSH& Brush) const override { Brush = GetMenuBrush(Menu); }
  HBRUSH GetMenuBrush(TkwBarSubMenuControl*) const override { return SysBrush(COLOR_MENU); }
  void DrawComboListItem(TCanvas* Canvas, const TRect& Rect, const String& Text, bool Selected, bool Focused,
                         bool LocationFlag) const override;
  int GetEditCaptionWidth(TkwBarItemControl*, int TextWidth) const override { return TextWidth + 11; }
  void DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const override;
  void DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const override;
  void DrawEditValue(TkwBarItemControl* Control, HDC DC, bool Force, const TRect& Rect, const String& Text,
                     bool Focused) const override;
  DWORD GetEditWindowStyle() const override { return TkwBarItemControlPainter::GetEditWindowStyle() | ES_MULTILINE; }
  void AdjustEditWindow(TkwBarItemControl* Control, HWND Edit, const TRect& EditRect) const override;
  void SelectEditText(TkwBarItemControl* Control, HWND Edit, bool Changed) const override;
  void DrawEllipsisButton(TkwBarItemControl* Control, HDC DC, const TRect& Rect, TRect& Inner, bool Pressed,
                          bool Hot) const override;
  void DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect, TRect& CloseRect, bool Pressed,
                             bool WithGrip) const override;
  int GetDropDownGripHeight() const override;
  bool HasFlatDateNavigatorButtons() const override { return true; }
  void DrawDateNavigatorButton(TkwBarItemControl* Control, HDC DC, bool Pressed, const String& Caption,
                               TRect Rect) const override;
  void DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held, int Button, bool Hot,
                      int UpperHeight, int ArrowSize, int ArrowWidth, const TRect& Rect) const override;
  void DrawSpinButtonsMargin(TkwBarItemControl*, HDC, TRect&) const override {}
  COLORREF GetProgressBarColor() const override;
  int GetProgressBarMinHeight(TkwBarItemControl* Control) const override;
  void DrawProgressBar(TkwBarItemControl* Control, HDC DC, int Min, int Max, int Position, bool Solid, int Location,
                       COLORREF Color, const TRect& Rect) const override;

 protected:
  void SetGlyphOptions(TkwGlyphDrawing& How) const override { How.FadeNormal = true; }
};

// Draws a part of a theme class kind; false when the theme does not draw it.
bool DrawThemePart(int Kind, HDC DC, int Part, int State, const TRect& Rect);
// The true size of a part (Fallback when the theme gives none).
TSize ThemePartSize(int Kind, int Part, int State, TSize Fallback);
