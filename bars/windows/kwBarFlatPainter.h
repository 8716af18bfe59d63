// This file implements TkwBarItemControlFlatPainter, the flat style: a selected or down item gets
// a one-pixel frame in the system highlight colour and the manager's flat selected, pressed or
// checked brush; menus have a glyph column in the manager's flat bar face, a window-coloured item
// area and thin separator lines; a button whose drop-down menu is open is drawn joined to the
// menu; floating bars and menus cast a shadow. It declares seven operations of its own, which the
// Office-2003 painter overrides in turn.
#pragma once

#include "kwBarStandardPainters.h"

class TkwBarItemControlFlatPainter : public TkwBarItemControlPainter {
 public:
  TkwBarPainterKind Kind() const override { return bpkFlat; }
  bool IsFlatLook() const override { return true; }

  // The flat painter's own operations.
  virtual void FrameSelected(HDC DC, const TRect& Rect) const;
  virtual HBRUSH GetFlatFrameBrush(TkwBarItemControl* Control, int Style) const;
  virtual void DrawJoinedDropDownFrame(TCustomkwBarControl* Window, HDC DC, TCustomkwBarControl* Menu,
                                       const TRect& Rect) const;
  virtual void FrameJoinedToMenu(TCustomkwBarControl* Window, HDC DC, TCustomkwBarControl* Menu,
                                 TkwBarItemControl* Control, const TRect& Rect) const;
  virtual void DrawOwnerFrame(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const;
  virtual void DrawOwnerJoinGap(TCustomkwBarControl* Window, HDC DC, TkwBarItemControl* Control, const TRect& Rect,
                                const TRect& MenuRect) const;
  virtual HBRUSH GetMenuSeparatorBrush(TCustomkwBarControl*) const { return SysBrush(COLOR_BTNSHADOW); }

  // Overrides.
  void DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location, const TRect& Rect,
                        bool Framed, HBRUSH Brush) const override;
  void DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top, int Left) const override;
  COLORREF GetFloatingCaptionColor(TCustomkwBarControl*, bool) const override {
    return GetSysColor(COLOR_INACTIVECAPTION);
  }
  COLORREF GetMarkGlyphColor(TCustomkwBarControl*, int State) const override;
  void DrawMarkBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const override;
  void DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawMarkChevron(TCustomkwBarControl* Window, HDC DC, int Position, const TRect& Rect) const override;
  void GetFloatingCaptionTextOffset(TCustomkwBarControl* Window, int& Left, const TRect& Rect) const override;
  void AdjustEditTextRect(TRect& Rect) const override { Rect.Top += 2; }
  void DrawGlyphAndCaption(TkwBarItemControl* Control, HDC DC, bool Down, bool Selected, bool ShowGlyph,
                           const TRect& Rect) const override;
  void DrawLoweredFrame(TkwBarItemControl* Control, HDC DC, TRect& Rect) const override;
  void DrawStaticBorder(TkwBarItemControl* Control, HDC DC, TkwBarStaticBorderStyle Style, int BorderWidth,
                        TRect& Rect) const override;
  void DrawSmallButtonFace(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool Enabled, bool Pressed,
                           bool Hot) const override;
  void GetPaintColors(TkwBarItemControl* Control, int Location, bool Pressed, bool Selected, bool Enabled,
                      COLORREF& Arrow, HBRUSH& Face) const override;
  HBRUSH GetItemBackgroundBrush(TkwBarItemControl* Control, int Location, TkwCellStates States) const override;
  bool IsFlatButtonLook() const override { return true; }
  int GetButtonExtraBorder(TkwBarItemControl*) const override { return 1; }
  int GetGlyphColumnWidth(TkwBarItemControl* Control) const override;
  int GetGripOffset() const override { return 1; }
  int GetGripAreaSize() const override { return GetGripOffset() + GetGripLineWidth() + 2; }
  int GetButtonArrowWidth(const TkwBarManager* Manager) const override {
    return TkwBarItemControlPainter::GetButtonArrowWidth(Manager) - 1;
  }
  int GetLargeButtonArrowWidth(const TkwBarManager* Manager) const override {
    return TkwBarItemControlPainter::GetLargeButtonArrowWidth(Manager) - 1;
  }
  int GetMenuSeparatorIndent() const override { return 8; }
  bool JoinsOpenMenuToOwner(TCustomkwBarControl*) const override { return true; }
  bool HasShadow(TCustomkwBarControl* Window) const override;
  HBRUSH GetBarBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetBarWindowBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetCheckedBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetDownBrush(TCustomkwBarControl* Window) const override;
  HBRUSH GetSelectedBrush(TCustomkwBarControl* Window) const override;
  int GetRowExtraHeight() const override { return 7; }
  bool HotTracksCloseButton() const override { return true; }
  bool HasMoreButtonsMark() const override { return true; }
  int GetBarBeginGroupLineOffset(TCustomkwBarControl*, HDC) const override { return (GetBarBeginGroupSize() - 1) / 2; }
  int GetBarBeginGroupSize() const override { return 5; }
  void DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                         const TRect& Rect) const override;
  void DrawCloseButton(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawDockedBarBorder(TCustomkwBarControl* Window, HDC DC, TRect& Rect) const override;
  void DrawFloatingBarBorder(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, int& BorderWidth,
                             TRect& Rect) const override;
  void DrawFloatingMark(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const override;
  void DrawMDIButton(TCustomkwBarControl* Window, int Index, const TRect& Rect, HDC DC, bool Pressed,
                     bool Hot) const override;
  TRect CalcMarkRect(TCustomkwBarControl* Window) const override;
  HBRUSH GetQuickCustomizingBrush(TCustomkwBarControl*) const override { return SysBrush(COLOR_WINDOW); }
  void DrawQuickCustomizingCheckColumn(TkwBarItemControl* Control, HDC DC, bool Selected, int& Right,
                                       TRect& Rect) const override;
  void DrawQuickCustomizingCheckFrame(TkwBarItemControl* Control, HDC DC, bool Selected, const TRect& Square,
                                      const TRect& Line) const override;
  bool AlignsQuickCustomizingToMark() const override { return true; }
  void AdjustMenuGlyphColumnWidth(int& Width) const override { Width += 2; }
  void AdjustMenuButtonWidth(TkwBarItemControl*, int& Width) const override { Width += 9; }
  void DrawButtonArrowPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Face, COLORREF Arrow,
                           bool Selected, bool Pressed, bool DroppedDown, bool DropDownEnabled, bool MenuPresent,
                           int Location) const override;
  bool RedrawsOnDropDown() const override { return true; }
  void DrawComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Enabled,
                       bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const override;
  void GetComboButtonColors(TkwBarItemControl* Control, int Location, COLORREF& Arrow, HBRUSH& Face, bool DroppedDown,
                            bool Selected, bool Enabled) const override;
  int GetDropDownListBorderWidth() const override { return 2; }
  void DrawDropDownListBorder(HDC DC, const TRect& Rect) const override;
  int GetSubItemCaptionOffset(TkwBarItemControl* Control) const override;
  int GetSubItemHeight(TkwBarItemControl* Control, bool CaptionShown) const override;
  int GetSubItemWidth(TkwBarItemControl* Control, bool CaptionShown) const override;
  void DrawSubItem(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Pressed, const TRect& Rect,
                   bool CaptionShown) const override;
  int GetMenuBeginGroupSize() const override { return 5; }
  int GetSubMenuTopOffset() const override { return 2; }
  void CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth, int& ExpandHeight,
                       int& GlyphScaleBase) const override;
  void GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                        int& HeightLimit) const override;
  void CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const override;
  int GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const override;
  void DrawMenuExtras(TkwBarSubMenuControl* Menu, HDC DC, int FirstVisible) const override;
  void DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  void DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect& Rect) const override;
  void DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const override;
  void DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool NoSideStrip, const TRect& Rect,
                          HDC DC) const override;
  int GetMenuChevronSize(TkwBarSubMenuControl*, int Height) const override { return (Height - 4) / 2; }
  void AdjustMenuTearOffBarRect(TkwBarSubMenuControl*, TRect& Rect) const override { InflateBy(Rect, -2, -2); }
  void GetMenuItemBrush(TkwBarSubMenuControl* Menu, HBRUSH& Brush) const override { Brush = GetMenuBrush(Menu); }
  HBRUSH GetMenuBrush(TkwBarSubMenuControl*) const override { return SysBrush(COLOR_WINDOW); }
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
  void DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect, TRect& CloseRect, bool Pressed,
                             bool WithGrip) const override;
  bool HasFlatDateNavigatorButtons() const override { return true; }
  void DrawDateNavigatorButton(TkwBarItemControl* Control, HDC DC, bool Pressed, const String& Caption,
                               TRect Rect) const override;
  void DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held, int Button, bool Hot,
                      int UpperHeight, int ArrowSize, int ArrowWidth, const TRect& Rect) const override;
  int GetContainerControlIndent() const override { return 9; }
  void DrawInPlaceSubItem(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool Expanded,
                          bool Selected) const override;

 protected:
  void SetGlyphOptions(TkwGlyphDrawing& How) const override {
    How.RaiseHot = true;
    How.FadeNormal = true;
  }
  // Fills a part of a menu line's glyph column (the ring round the glyph, the column after it).
  virtual void FillGlyphColumnPart(TkwBarItemControl* Control, HDC DC, const TRect& Rect) const;
  // The open menu of a control (its sub-menu or drop-down window), or nullptr.
  static TCustomkwBarControl* OpenMenuOf(TkwBarItemControl* Control);
};
