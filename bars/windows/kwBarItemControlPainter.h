// This file implements TkwBarItemControlPainter, the base of the item-control painters: every
// size, colour and shape of a tool bar, a main-menu bar, a sub-menu, a dock site or an item
// control comes from one of its operations. A painter is a stateless object, one per style; the
// bar manager keeps the one of its effective style and every caller asks it. The base behaviour
// is the fallback of every style; the standard, enhanced, flat, Office-2003 and XP painters
// override what their look needs.
#pragma once

#include "ImageList.h"
#include "kwBarDrawing.h"
#include "kwBarPainter.h"
#include "kwBarTypes.h"

class TCustomkwBarControl;
class TkwBarControl;
class TkwBarSubMenuControl;
class TkwDockControl;


// Where an item control draws (the kind of its Draw).
enum TkwItemLocation { ilPlain = 0, ilMenu = 1, ilRotated = 2 };

// Caption alignments of DrawCaption.
enum TkwCaptionAlign { caLeft = 0, caCenter = 1, caRight = 2 };

// Border styles of static items.
enum TkwBarStaticBorderStyle { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };

// Rectangle arithmetic: moved by (DX, DY); grown by DX on the left and right and DY at the top and
// bottom (negative values shrink it).
inline void OffsetBy(TRect& R, int DX, int DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}
inline void InflateBy(TRect& R, int DX, int DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
}

// The system pseudo-brush of a colour index, which FillRect and FrameRect accept.
inline HBRUSH SysBrush(int ColorIndex) { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(ColorIndex + 1)); }
// The colour of a brush (a solid brush, or a pseudo-brush of a system colour).
COLORREF BrushColor(HBRUSH Brush);

class TkwBarItemControlPainter : public TkwBarPainter {
 public:
  // --- Building blocks of item cells ---------------------------------------------------------
  virtual void DrawButtonBorder(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location,
                                const TRect& Rect, bool Framed, HBRUSH Brush) const;
  virtual void DrawCheckMark(TkwBarItemControl* Control, HDC DC, int Scale, int Top, int Left) const;
  virtual void DrawEmptyGlyph(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int Location, bool Framed,
                              HBRUSH Brush, TRect Cell) const;
  virtual void DrawGlyphImage(TkwBarItemControl* Control, HDC DC, TkwCellStates States, int ImageIndex,
                              TCustomImageList* Images, TBitmap* Glyph, const TRect& GlyphRect, TRect Cell,
                              bool Framed, HBRUSH Brush) const;
  // Whether a glyph goes over what DrawButtonBorder left in its cell (a gradient or a themed
  // part), taken as its background, rather than over a background of its own.
  virtual bool DrawsGlyphOverCellLook(TkwBarItemControl*) const { return false; }
  // Horizontal: the arrow points down; else right.
  virtual void DrawDropDownArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Selected,
                                 bool Enabled) const;
  virtual void DrawMenuArrow(HDC DC, const TRect& Rect, bool Horizontal, bool Flat, bool Enabled, bool Selected,
                             int Size) const;
  virtual void GetEditColors(TkwBarItemControl* Control, COLORREF& Text, COLORREF& Back) const;
  // Offset: the colour of the copy one pixel right and down; Text: the text's own.
  virtual void GetCaptionColors(TkwBarItemControl* Control, bool Enabled, bool Selected, bool Plain,
                                COLORREF& Offset, COLORREF& Text) const;
  virtual bool PaintsRarelyUsedItemsItself() const { return false; }
  virtual bool KeepsPressedContentInPlace(TkwBarItemControl*) const { return false; }
  virtual bool IsSmallMarkRect(TCustomkwBarControl*, const TRect& Rect) const { return Rect.Height() < 17; }
  virtual COLORREF GetFloatingCaptionColor(TCustomkwBarControl* Window, bool Active) const;
  virtual COLORREF GetFloatingCaptionTextColor(TCustomkwBarControl*) const;
  virtual COLORREF GetMarkGlyphColor(TCustomkwBarControl*, int State) const;
  virtual void DrawSizeGripGlyph(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const;
  virtual void DrawMarkArrow(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const;
  virtual void DrawMarkChevron(TCustomkwBarControl*, HDC, int /*Position*/, const TRect&) const {}
  virtual void DrawMarkBackground(TCustomkwBarControl*, HDC, HBRUSH, const TRect&) const {}
  virtual void DrawMarkGlyph(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const;
  virtual void GetFloatingCaptionTextOffset(TCustomkwBarControl* Window, int& Left, const TRect& Rect) const;
  virtual void DrawTriangle(TkwBarItemControl* Control, HDC DC, COLORREF Color, int Size, int Top, int Left) const;
  virtual void DrawMenuScrollArrow(TkwBarSubMenuControl* Menu, HDC DC, bool Up, const TRect& Rect) const;
  virtual void DrawMenuExpandGlyph(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const;
  virtual void AdjustEditTextRect(TRect&) const {}
  virtual void DrawCenteredText(HDC DC, const TRect& Rect, bool Opaque, const String& Text, int Shift) const;

  // --- Drawing and measuring of item cells ---------------------------------------------------
  virtual void DrawItemBackground(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush,
                                  bool Opaque) const;
  virtual void DrawItemFrame(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush, bool Framed) const;
  virtual void DrawDisabledBlock(TkwBarItemControl* Control, HDC DC, const TRect& Rect) const;
  // GivenGlyphRect: where the glyph goes (nullptr: centred in the cell).
  virtual void DrawGlyph(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States, int Location,
                         int ImageIndex, TCustomImageList* Images, TBitmap* Glyph,
                         const TRect* GivenGlyphRect = nullptr) const;
  virtual void DrawGlyphCell(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States, int ImageIndex,
                             TCustomImageList* Images, TBitmap* Glyph, int Location, const TRect& GlyphRect) const;
  // A menu line: the glyph cell and the caption.
  virtual void DrawGlyphAndCaption(TkwBarItemControl*, HDC, bool /*Down*/, bool /*Selected*/, bool /*ShowGlyph*/,
                                   const TRect&) const {}
  virtual void DrawCaption(TkwBarItemControl* Control, HDC DC, const String& Text, TRect Rect, int Alignment,
                           bool Enabled, bool Selected, bool Rotated, bool Clip, bool Plain) const;
  virtual void DrawLoweredFrame(TkwBarItemControl*, HDC, TRect&) const {}
  virtual void DrawStaticBorder(TkwBarItemControl* Control, HDC DC, TkwBarStaticBorderStyle Style, int BorderWidth,
                                TRect& Rect) const;
  virtual void DrawSmallButtonFace(TkwBarItemControl*, HDC, const TRect&, bool /*Enabled*/, bool /*Pressed*/,
                                   bool /*Hot*/) const {}
  virtual void GetPaintColors(TkwBarItemControl* Control, int Location, bool Pressed, bool Selected, bool Enabled,
                              COLORREF& Arrow, HBRUSH& Face) const;
  virtual HBRUSH GetItemBackgroundBrush(TkwBarItemControl* Control, int Location, TkwCellStates States) const;
  virtual int GetDownGlyphOffset(TkwBarItemControl*) const { return 0; }
  virtual int GetPressedGlyphOffset(TkwBarItemControl*, bool /*Down*/) const { return 0; }
  virtual bool IsFlatButtonLook() const { return false; }
  virtual int GetButtonExtraBorder(TkwBarItemControl*) const { return 0; }
  virtual int GetGlyphColumnWidth(TkwBarItemControl* Control) const;

  // --- Sizes kept by the manager and the dock sites ----------------------------------------------
  virtual void DrawDockBackground(TkwDockControl* Dock, HDC DC, TColor Color, HBRUSH Brush, const TRect& Origin,
                                  const TRect& Rect, const TRect& PaintRect) const;
  virtual bool PaintsOwnBackgrounds() const { return false; }

  // --- Brushes and rows of bar windows -----------------------------------------------------------
  virtual bool JoinsOpenMenuToOwner(TCustomkwBarControl*) const { return false; }
  virtual HBRUSH GetOpenOwnerBrush(const TkwBarManager* Manager) const;
  virtual void DrawDockedBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& Rect, const TRect& PaintRect) const;
  virtual void DrawBarBitmapBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& Rect, const TRect& PaintRect) const;
  virtual void DrawOwnerJoinStrip(TCustomkwBarControl* Window, HDC DC) const;
  virtual bool HasShadow(TCustomkwBarControl*) const { return false; }
  virtual HBRUSH GetBarBrush(TCustomkwBarControl*) const { return SysBrush(COLOR_BTNFACE); }
  virtual HBRUSH GetBarWindowBrush(TCustomkwBarControl* Window) const { return GetBarBrush(Window); }
  virtual HBRUSH GetCheckedBrush(TCustomkwBarControl* Window) const;
  virtual HBRUSH GetDownBrush(TCustomkwBarControl*) const { return SysBrush(COLOR_BTNFACE); }
  virtual HBRUSH GetSelectedBrush(TCustomkwBarControl*) const { return SysBrush(COLOR_HIGHLIGHT); }
  virtual int CalcComboButtonWidth(TCustomkwBarControl*, HDC, int ZeroWidth) const { return 2 * ZeroWidth - 1; }
  virtual int GetRowExtraHeight() const { return 6; }
  virtual int CalcRowHeight(TCustomkwBarControl*, HDC, int TextHeight) const {
    return TextHeight + GetRowExtraHeight();
  }

  // --- Tool bar and main-menu bar windows ----------------------------------------------------------
  virtual bool HotTracksCloseButton() const { return false; }
  virtual bool HasMoreButtonsMark() const { return false; }
  virtual int GetBarBeginGroupLineOffset(TCustomkwBarControl*, HDC) const { return (GetBarBeginGroupSize() - 2) / 2; }
  virtual int GetBarBeginGroupSize() const { return 6; }
  virtual TRect GetBorderRect(TCustomkwBarControl*) const;
  virtual void DrawFloatingCaptionBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                             const TRect& Rect) const;
  virtual bool HasFloatingCaptionBackground() const { return false; }
  virtual TSize GetCloseButtonSize() const { return TSize{GetSmallCaptionHeight(), GetSmallCaptionHeight()}; }
  // Horizontal: the line runs across (between the links of a vertical bar, or between rows).
  virtual void DrawBarBeginGroup(TCustomkwBarControl* Window, HDC DC, bool Horizontal, HBRUSH Brush,
                                 const TRect& Rect) const;
  // State: 0 normal, 1 hot, 2 pressed.
  virtual void DrawCloseButtonBackground(TCustomkwBarControl* Window, HDC DC, int State, const TRect& Rect) const;
  virtual void DrawCloseButton(TCustomkwBarControl*, HDC, const TRect&) const {}
  // Draws the border of a docked bar and its grip; Rect becomes the inside.
  virtual void DrawDockedBarBorder(TCustomkwBarControl*, HDC, TRect&) const {}
  virtual void DrawFloatingBarBorder(TCustomkwBarControl*, HDC, HBRUSH, int& /*BorderWidth*/, TRect&) const {}
  virtual void DrawFloatingBarCaption(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, HBRUSH CaptionBrush,
                                      const TRect& Rect) const;
  virtual void DrawFloatingMark(TCustomkwBarControl* Window, HDC DC, const TRect& Rect) const {
    DrawMarkArrow(Window, DC, Rect);
  }
  virtual void DrawDockedMark(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const;
  // Index: 0 minimize, 1 restore, 2 close.
  virtual void DrawMDIButton(TCustomkwBarControl*, int /*Index*/, const TRect&, HDC, bool /*Pressed*/,
                             bool /*Hot*/) const {}
  virtual void DrawStatusBarSizeGrip(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush, const TRect& Rect) const;
  virtual void DrawStatusBarNonClientBackground(TCustomkwBarControl* Window, HDC DC, HBRUSH Brush,
                                                const TRect& Rect) const;
  virtual int GetFloatingSideBorder() const { return 0; }
  virtual TRect GetMarkRect(TCustomkwBarControl* Window) const { return CalcMarkRect(Window); }
  virtual TRect CalcMarkRect(TCustomkwBarControl*) const { return TRect(); }
  virtual void RepaintMark(TCustomkwBarControl* Window) const;
  virtual int GetFloatingTopBorder() const { return 0; }
  virtual int GetFloatingBottomBorder() const { return 0; }
  virtual bool UsesSystemCloseButton() const { return false; }
  virtual bool UsesSystemFloatingFrame() const { return false; }
  virtual void DrawStatusBarBackground(TCustomkwBarControl* Window, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& Origin, const TRect& Rect, const TRect& PaintRect) const;
  virtual int GetStatusBarTopBorder(const TkwBarManager*) const { return 2; }

  // --- The quick-customizing window and button sizes -------------------------------------------------
  virtual HBRUSH GetQuickCustomizingBrush(TCustomkwBarControl* Window) const { return GetBarWindowBrush(Window); }
  virtual void DrawQuickCustomizingCheckColumn(TkwBarItemControl* Control, HDC DC, bool Selected, int& Right,
                                               TRect& Rect) const;
  virtual void DrawQuickCustomizingCheckFrame(TkwBarItemControl*, HDC, bool /*Selected*/, const TRect& /*Square*/,
                                              const TRect& /*Line*/) const {}
  virtual bool AlignsQuickCustomizingToMark() const { return false; }

  // --- Buttons, combos, drop-down lists and sub-items --------------------------------------------------
  virtual void AdjustMenuGlyphColumnWidth(int&) const {}
  virtual void AdjustMenuButtonWidth(TkwBarItemControl*, int&) const {}
  virtual void DrawButtonArrowPart(TkwBarItemControl*, HDC, const TRect&, HBRUSH /*Face*/, COLORREF /*Arrow*/,
                                   bool /*Selected*/, bool /*Pressed*/, bool /*DroppedDown*/,
                                   bool /*DropDownEnabled*/, bool /*MenuPresent*/, int /*Location*/) const {}
  virtual bool RedrawsOnDropDown() const { return false; }
  virtual void ShiftPressedContent(TkwBarItemControl*, bool /*Down*/, bool /*Pressed*/, TRect&) const {}
  virtual void ShiftPressedCaption(TkwBarItemControl*, bool /*Pressed*/, TRect&) const {}
  virtual int GetComboButtonGap() const { return 1; }
  // ButtonRect: where the drop-down button went (the combo keeps it).
  virtual void DrawComboButton(TkwBarItemControl*, HDC, int /*Location*/, bool /*Selected*/, bool /*Enabled*/,
                               bool /*DroppedDown*/, const TRect&, TRect& /*ButtonRect*/) const {}
  virtual void GetComboButtonColors(TkwBarItemControl* Control, int Location, COLORREF& Arrow, HBRUSH& Face,
                                    bool DroppedDown, bool Selected, bool Enabled) const;
  virtual int GetDropDownListBorderWidth() const { return 0; }
  virtual void DrawDropDownListBorder(HDC, const TRect&) const {}
  virtual int GetSubItemCaptionOffset(TkwBarItemControl* Control) const;
  virtual int GetSubItemHeight(TkwBarItemControl* Control, bool CaptionShown) const;
  virtual int GetSubItemWidth(TkwBarItemControl* Control, bool CaptionShown) const;
  virtual void DrawSubItem(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Pressed,
                           const TRect& Rect, bool CaptionShown) const;

  // --- Sub-menu windows ------------------------------------------------------------------------------
  virtual int GetMenuBottomMargin() const { return 2; }
  virtual int GetMenuBeginGroupSize() const { return 10; }
  // How far above its item's top a child menu opens.
  virtual int GetSubMenuTopOffset() const { return 3; }
  virtual void CalcMenuMetrics(TkwBarSubMenuControl* Menu, int& RowHeight, int& ArrowWidth, int& ExpandHeight,
                               int& GlyphScaleBase) const;
  // FirstItemOffset: when given, asks for the whole column (no limit).
  virtual void GetMenuItemsArea(TkwBarSubMenuControl* Menu, int* FirstItemOffset, TRect& Start,
                                int& HeightLimit) const;
  virtual void CalcMenuSize(TkwBarSubMenuControl* Menu, TSize& Size, TSize Content) const;
  virtual int GetMenuTearOffBarHeight(TkwBarSubMenuControl* Menu) const;
  virtual void DrawMenuExtras(TkwBarSubMenuControl* Menu, HDC DC, int FirstVisible) const;
  virtual void DrawMenuBackground(TkwBarSubMenuControl* Menu, HDC DC, TColor Color, HBRUSH Brush,
                                  const TRect& Rect) const;
  virtual void DrawMenuFrame(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const;
  virtual void DrawMenuItemsFrame(TkwBarSubMenuControl* Menu, HDC DC, HBRUSH Brush, TRect& Rect) const;
  virtual void DrawMenuTearOffBar(TkwBarSubMenuControl* Menu, HDC DC, const TRect& Rect) const;
  virtual void DrawMenuBeginGroup(TkwBarSubMenuControl* Menu, TkwBarItemControl* Control, bool NoSideStrip,
                                  const TRect& Rect, HDC DC) const;
  virtual void DrawMenuItemMargins(TkwBarSubMenuControl*, TkwBarItemControl*, bool /*NoSideStrip*/, int /*Index*/,
                                   const TRect&, HDC) const {}
  virtual bool MarksRarelyUsedBoundary() const { return false; }
  virtual int GetMenuChevronSize(TkwBarSubMenuControl*, int Height) const { return (Height - 6) / 2; }
  virtual int GetMenuExpandButtonMargin(TkwBarSubMenuControl*) const { return 1; }
  virtual void AdjustMenuTearOffBarRect(TkwBarSubMenuControl*, TRect& Rect) const { InflateBy(Rect, -3, -3); }
  virtual void GetMenuItemBrush(TkwBarSubMenuControl*, HBRUSH&) const {}
  virtual HBRUSH GetMenuBrush(TkwBarSubMenuControl*) const { return SysBrush(COLOR_BTNFACE); }

  // --- Edit and combo items --------------------------------------------------------------------------
  virtual void DrawEditText(TkwBarItemControl* Control, TCanvas* Canvas, TRect Rect, const String& Text) const;
  // LocationFlag: the list is drawn in its drop-down location (the flat painters lower the text).
  virtual void DrawComboListItem(TCanvas* Canvas, const TRect& Rect, const String& Text, bool Selected, bool Focused,
                                 bool LocationFlag) const;
  virtual int GetEditCaptionWidth(TkwBarItemControl*, int TextWidth) const { return TextWidth + 6; }
  virtual void DrawEditFrame(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const;
  virtual void DrawEditCaption(TkwBarItemControl* Control, HDC DC, bool Selected, int Location, TRect& Rect) const;
  // Writes Text (the value, or the text being edited) unless the control is disabled and Force clear.
  virtual void DrawEditValue(TkwBarItemControl* Control, HDC DC, bool Force, const TRect& Rect, const String& Text,
                             bool Focused) const;
  virtual DWORD GetEditWindowStyle() const { return ES_AUTOHSCROLL; }
  virtual void AdjustEditWindow(TkwBarItemControl*, HWND, const TRect& /*EditRect*/) const {}
  virtual void SelectEditText(TkwBarItemControl*, HWND Edit, bool Changed) const;

  // --- Extended items --------------------------------------------------------------------------------
  virtual void DrawEllipsisButton(TkwBarItemControl* Control, HDC DC, const TRect& Rect, TRect& Inner, bool Pressed,
                                  bool Hot) const;
  // Rect: the window rectangle, becomes the client part; GripCorner: where the grip goes.
  virtual void CalcDropDownNonClient(HWND Window, TRect& Rect, bool WithGrip, const TRect& EditRect,
                                     int& GripCorner) const;
  virtual void DrawDropDownNonClient(HWND Window, int GripCorner, bool Hot, TRect& GripRect, TRect& CloseRect,
                                     bool Pressed, bool WithGrip) const;
  virtual int GetDropDownGripHeight() const;
  virtual bool HasFlatDateNavigatorButtons() const { return false; }
  virtual void DrawDateNavigatorButton(TkwBarItemControl* Control, HDC DC, bool Pressed, const String& Caption,
                                       TRect Rect) const;
  virtual COLORREF GetDateNavigatorHeaderColor() const { return GetSysColor(COLOR_BTNFACE); }
  // Button: 1 up, 2 down; Held: the button the control holds pressed (0 none).
  virtual void DrawSpinButton(TkwBarItemControl* Control, HDC DC, bool ShownPressed, int Held, int Button, bool Hot,
                              int UpperHeight, int ArrowSize, int ArrowWidth, const TRect& Rect) const;
  virtual void DrawSpinButtonsMargin(TkwBarItemControl* Control, HDC DC, TRect& Rect) const;
  virtual COLORREF GetProgressBarColor() const { return GetSysColor(COLOR_HIGHLIGHT); }
  virtual int GetProgressBarMinHeight(TkwBarItemControl*) const { return 12; }
  virtual void DrawProgressBar(TkwBarItemControl* Control, HDC DC, int Min, int Max, int Position, bool Solid,
                               int Location, COLORREF Color, const TRect& Rect) const;
  virtual int GetProgressBarIndent(TkwBarItemControl*, bool /*OwnGlyph*/) const { return 0; }
  virtual int GetContainerControlIndent() const { return 0; }
  virtual HBRUSH GetInPlaceSubItemBrush() const { return SysBrush(COLOR_BTNSHADOW); }
  virtual void DrawInPlaceSubItem(TkwBarItemControl* Control, HDC DC, const TRect& Rect, bool Expanded,
                                  bool Selected) const;

 protected:
  // The window of a control (every control is shown by a bar or menu window of this library).
  static TCustomkwBarControl* WindowOf(TkwBarItemControl* Control);
  // The glyph rectangle of the base glyph algorithm: the glyph size centred in the cell.
  TRect CalcGlyphRect(TkwBarItemControl* Control, const TRect& Cell, TkwCellStates States, int Location,
                      TCustomImageList* Images, TBitmap* Glyph) const;
  // Fills a rectangle with the window's own background (the non-opaque item background).
  void FillWithWindowBackground(TkwBarItemControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush) const;
  // The sub-item drawing; Flat: the flat looks' variant (contents never move, plain caption, flat
  // arrow never in the selected colour).
  void DrawSubItemParts(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Pressed,
                        const TRect& Rect, bool CaptionShown, bool Flat) const;
  // The glyph of a menu line in its square: the down and selected looks, or an empty cell when
  // Glyph is false; Extra: further states of the cell.
  void DrawMenuLineGlyph(TkwBarItemControl* Control, const TRect& Square, bool Down, bool Selected, bool Glyph,
                         TkwCellStates Extra = TkwCellStates()) const;
  // The drop-down button of a combo item as the standard and flat looks draw it: the button at
  // the right end of Rect in the colours of GetComboButtonColors, its frame and face by
  // DrawComboButtonFace, then the arrow centred in what the face leaves by DrawComboButtonArrow.
  void DrawFramedComboButton(TkwBarItemControl* Control, HDC DC, int Location, bool Selected, bool Enabled,
                             bool DroppedDown, const TRect& Rect, TRect& ButtonRect) const;
  // Inside: the button less a one-pixel frame; the face may move it (a pressed look).
  virtual void DrawComboButtonFace(TkwBarItemControl*, HDC, int /*Location*/, bool /*Selected*/, bool /*Enabled*/,
                                   bool /*DroppedDown*/, const TRect& /*Button*/, HBRUSH /*Face*/,
                                   TRect& /*Inside*/) const {}
  virtual void DrawComboButtonArrow(TkwBarItemControl* Control, HDC DC, bool /*Enabled*/, COLORREF Arrow, int Size,
                                    int Top, int Left) const {
    DrawTriangle(Control, DC, Arrow, Size, Top, Left);
  }
  // The options of DrawItemGlyph this painter adds (the base adds none).
  virtual void SetGlyphOptions(TkwGlyphDrawing&) const {}
};

// The painter a manager draws with (the base painter while the windows library is not installed).
const TkwBarItemControlPainter* ItemPainterOf(const TkwBarManager* Manager);
const TkwBarItemControlPainter* BaseItemPainter();
