// This file implements TkwBarControl, the window of one bar: a tool bar or the form's main menu,
// docked in a dock site or floating as a small popup window with its own frame and caption. It
// lays its item controls out in rows, wraps or hides what does not fit behind its mark, draws
// separators, grip, border and frame through the painter, shows the caption buttons of a
// maximized MDI child on the main menu, writes its position back into the bar and runs menu mode
// for the main menu and for keyboard access to tool bars. The layout is in kwBarControlLayout.cpp,
// the frame, caption and moving mode in kwBarControlFrame.cpp.
#pragma once

#include <vector>

#include "kwCustomBarControl.h"

class TkwBarControl : public TCustomkwBarControl {
  VELBOR_DECLARE_CLASS(TkwBarControl, TCustomkwBarControl)
 public:
  // The window of ABar, owned by Manager.
  TkwBarControl(TkwBarManager* Manager, TkwBar* ABar);
  ~TkwBarControl() override;

  TkwBar* Bar() const override { return FBar; }
  bool IsVertical() const { return DockingStyle() == dsLeft || DockingStyle() == dsRight; }
  bool IsHorizontalDocked() const { return DockingStyle() == dsTop || DockingStyle() == dsBottom; }
  bool IsFloating() const { return DockingStyle() == dsNone; }
  bool IsPositionLocked() const { return FPositionLock > 0; }
  bool CanWrap() const;
  bool MenuOpenedByKeyboard() const { return FMenuOpenedByKeyboard; }
  void SetMenuOpenedByKeyboard(bool Value) { FMenuOpenedByKeyboard = Value; }
  bool LinksHidden() const { return FLinksHidden; }
  int CloseButtonState() const { return FCloseButtonState; }
  void SetCloseButtonState(int State);
  bool IsMoving() const { return FMoving; }
  bool HasSizeGrip() const { return FSizeGrip; }
  int MDIButtonWidth() const { return FMDIButtonWidth; }
  int MDIButtonHeight() const { return FMDIButtonHeight; }

  // The working values of the dock site's layout.
  int DockMinLength = 0;
  int DockNaturalLength = 0;
  int DockLeft = 0;
  int DockTop = 0;
  int DockLength = 0;
  int DockThickness = 0;

  // Operations.
  virtual TRect GetGripAreaRect() const;
  virtual void CaptionChanged();
  // Enters menu mode with Control selected (none: the first shown link's control).
  void BeginMenuMode(TkwBarItemControl* Control) override;
  virtual void EndMenuMode();
  void SetMoving(bool Value);
  void Redock(TkwDockControl* DockSite, TkwBarDockingStyle Style);
  TPoint GetDragOffset(TkwBarDockingStyle Style);
  // Records the cursor's offset and the window's size when a drag starts.
  void BeginDrag(TPoint ScreenCursor);
  void LockPositionUpdate() { ++FPositionLock; }
  void UnlockPositionUpdate() { FPositionLock = FPositionLock > 0 ? FPositionLock - 1 : 0; }
  void StoreBarPosition();
  void StorePositionInBar() override { StoreBarPosition(); }
  int GetDockCol() const;
  int GetDockRow() const;
  TSize GetSizeForDockingStyle(TkwBarDockingStyle Style);
  TSize CalcSizeForLength(TkwBarDockingStyle Style, int Length);
  TSize CalcSizeForHeight(TkwBarDockingStyle Style, int Height);
  // The smallest length along the dock: the first link, the mark and the caption buttons.
  int GetMinimalLength(TkwBarDockingStyle Style);
  TSize CalcFloatingSize() override;
  TRect GetMarkRect();
  TRect GetMarkScreenRect();
  TRect GetCaptionRect() const;
  TRect GetCloseButtonRect() const;
  TRect GetSizeGripRect() const;
  void RefreshMetrics() override;
  void UpdateFrame();
  void Rebuild();
  void RefreshShadow();
  bool IsMDIButtonsShown() const;
  bool HasCaptionButtons() const;
  int GetCaptionButtonsWidth() const;
  int GetCaptionButtonsHeight() const;
  // The rectangles of the caption buttons (0 minimize, 1 restore, 2 close), client coordinates;
  // empty for buttons that do not show.
  TRect GetCaptionButtonRect(int Index) const;
  bool IsCaptionButtonEnabled(int Index) const;
  // Runs the item layout (done at every paint and after size changes).
  void CalcControlsPositions();

  // Overrides of the base's slots.
  void CalcDrawingConsts() override;
  bool CanAlignItem(const TkwBarItemControl* Control) const override;
  bool IsDockedOrNotFlat() const override;
  bool CanCustomizeItems() const override;
  int GetBeginGroupSize() const override;
  HFONT GetFont() const override;
  TRect GetItemRectEx(const TkwBarItemControl* Control) const override;
  HRGN GetItemRegion(const TkwBarItemControl* Control) const override;
  HBRUSH GetBackgroundBrush() override;
  TkwBarItemControl* HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) override;
  bool MarkExists() const override;
  bool IsLastMousePos(TPoint ClientPoint) const override;
  void RepaintItem(TkwBarItemControl* Control) override;
  void UpdateFont() override;
  void SetActive(bool Value) override;
  void SetDockingStyle(TkwBarDockingStyle Value) override;
  void ActivateItem(TkwBarItemControl* Control) override;
  void UpdateAlphaBlend() override;
  void SetMarkState(int State) override;
  void DrawBackground(HDC DC, TRect Rect, bool UseClientOffset, TColor Color, HBRUSH Brush) override;
  bool HasBackgroundBitmap() const override;
  bool NeedsDoubleBuffer() const override;
  TPoint GetClientOffset() const override;
  void HideAll() override;
  void RepaintBar() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;

  // protected messages
  void WMKeyDown(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSizing(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMCaptureChanged(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);

 private:
  friend class TkwDockControl;
  // The layout's lengths (kwBarControlLayout.cpp).
  int AvailableLength(bool Wrapping) const;
  void CenterRow(int First, int Last, int Thickness);
  TSize NaturalSize(bool Vertical);
  int Thickness(bool Vertical);
  void WrapByLength(int Length, int Minimum, TSize& Size);
  void DrawSeparators(HDC DC, HRGN Region);
  void DrawCaptionButtons(HDC DC, HRGN Region);
  // The frame (kwBarControlFrame.cpp).
  TRect BorderedClientRect() const;
  void PaintNonClient(HDC DC);
  void TrackCloseButton();
  void TrackCaptionButton(int Index);
  void ToggleDocking();
  void StopMarkTimer();
  void UpdateMarkHot(TPoint ClientPoint);
  TPoint ScreenCursor() const;

  // The row thickness the layout stored for each shown link (by its shown index).
  int DockThicknessOf(const TkwBarItemControl* Control) const;
  bool Painting() const { return FPainting; }

  TkwBar* FBar;
  std::vector<int> FRowThickness;
  bool FPainting = false;
  HWND FFocusBeforeMenu = nullptr;
  int FCloseButtonState = 0;
  HWND FDockedHandle = nullptr;
  HWND FFloatingHandle = nullptr;
  bool FEditSizing = false;
  bool FSizingFromRight = false;
  bool FFloatingCaption = true;
  bool FSizeGrip = false;
  int FHitCode = 0;
  int FPositionLock = 0;
  bool FMenuOpenedByKeyboard = false;
  int FMDIButtonWidth = 0;
  int FMDIButtonHeight = 0;
  UINT_PTR FMarkTimer = 0;
  bool FMoving = false;
  bool FRotating = false;
  bool FLinksHidden = false;
  int FDragOffsetX = 0;
  int FDragWidth = 0;
  int FDragOffsetY = 0;
  int FDragHeight = 0;
  int FRecentCountSaved = -1;
};

// The caption-button tracking state, shared by all bar windows (one button is tracked at a time).
struct TkwCaptionButtonTracking {
  bool Tracking = false;
  bool PressedIn = false;
  int Tracked = -1;
  int Hot = -1;
};
TkwCaptionButtonTracking& CaptionButtonTracking();
