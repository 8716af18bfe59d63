// This file implements TCustomkwBarControl, the window that every tool bar window and every menu
// window derives from: it shows one collection of item links through one item control per shown
// link, and supplies what both kinds share: the chain of active windows in menu mode, the
// selection of one item control, keyboard and mouse navigation, the customizing interactions,
// the shadow and access to the painter of its bar manager. It never draws an item itself: every
// size, colour and shape comes from the painter.
#pragma once

#include "kwBarItemControlPainter.h"
#include "kwBarWindow.h"

class TkwBarShadow;

// What the bar windows ask of particular kinds of item controls (the bar items library's sub-item
// and button controls implement these).
class IkwSubItemControl {
 public:
  virtual ~IkwSubItemControl() = default;
  // The selection or the press came from the mouse (the menu may animate).
  virtual void SetOpenedByMouse(bool Value) = 0;
};
class IkwButtonControl {
 public:
  virtual ~IkwButtonControl() = default;
  // Set by the window around the button-down step of a mouse press.
  virtual void SetPressedByMouse(bool Value) = 0;
  // The drop-down menu is open.
  virtual bool IsDroppedDown() const = 0;
  // The drop-down menu closed.
  virtual void ResetDropDown() = 0;
  // The mouse is over the drop-down part.
  virtual bool IsArrowHot() const = 0;
};
// An in-place editor control (an edit item's) while it edits.
class IkwInPlaceEditor {
 public:
  virtual ~IkwInPlaceEditor() = default;
  virtual bool IsEditing() const = 0;
  // The rectangle of the edit window (client coordinates of the bar window).
  virtual TRect EditRect() const = 0;
  virtual HWND EditWindow() const = 0;
};

// Mark states (the chevron of a tool bar, the expand arrow of a menu).
enum TkwMarkState { msNormal = 0, msHot = 1, msPressed = 2 };

class TCustomkwBarControl : public TkwBarWindow {
  VELBOR_DECLARE_CLASS(TCustomkwBarControl, TkwBarWindow)
 public:
  // Joins the live bar windows, hidden at 100, 100, 50 x 30; the windows are made by the
  // derived classes.
  TCustomkwBarControl(TkwBarManager* Manager, TkwBarItemLinks* Links);
  ~TCustomkwBarControl() override;

  // Properties.
  const TkwBarItemControlPainter* Painter() const { return ItemPainterOf(GetBarManager()); }
  TkwBarSubMenuControl* ChildMenu() const { return FChildMenu; }
  void SetChildMenu(TkwBarSubMenuControl* Value) { FChildMenu = Value; }
  TkwBarItemControl* PressedControl() const { return FPressedControl; }
  bool IsLocked() const { return FLock; }
  bool RepaintInProgress() const { return FRepaintInProgress; }
  void SetRepaintInProgress(bool Value) { FRepaintInProgress = Value; }
  int MarkState() const { return FMarkState; }
  bool PressedUnderMouse() const { return FPressedUnderMouse; }
  const TRect& OwnerRect() const { return FOwnerRect; }
  TCustomkwBarControl* OwnerWindow() const { return FOwnerWindow; }
  // The rectangle (screen) of the item that opened this window, and the window that holds it.
  void SetOwner(const TRect& Rect, TCustomkwBarControl* Window);
  TkwBarWindow* ParentBarControl() const override { return FParentBarControl; }
  TCustomkwBarControl* ParentControl() const { return FParentBarControl; }
  void SetParentBarControl(TCustomkwBarControl* Value) { FParentBarControl = Value; }
  TCustomkwBarControl* PreviousActive() const { return FPreviousActive; }
  TkwBarShadow* Shadow() const { return FShadow; }
  int RowUnit() const { return FRowUnit; }
  int SmallUnit() const { return FSmallUnit; }
  // The painter's row height for the font (CalcRowHeight); a menu lets the painter adjust it.
  int RowHeight() const { return FRowHeight; }
  int ComboButtonWidth() const { return FComboButtonWidth; }
  // The width of a button's drop-down part inside menus.
  int MenuArrowWidth() const { return FMenuArrowWidth; }
  bool SwallowNextClick = false;
  TPoint LastMousePos() const { return FLastMousePos; }
  void ResetLastMousePos() { FLastMousePos = TPoint(-1, -1); }
  TBitmap* OffscreenBitmap() const { return FBitmap; }
  // The window's background brush as its items see it: set each time an item is repainted (a
  // menu gives rarely used items their own), else the window's background brush.
  HBRUSH ItemBrush() { return FBackgroundBrush ? FBackgroundBrush : GetBackgroundBrush(); }
  void SetItemBrush(HBRUSH Value) { FBackgroundBrush = Value; }

  // Operations.
  bool IsLive() const;
  // The extent of a text in the font of GetFont, measured on the screen (no window needed).
  TSize MeasureText(const String& Text) const;
  TRect GetItemScreenRect(const TkwBarItemControl* Control) const;
  TkwBarItemControl* GetItemControlAtPos(TPoint ClientPoint) const;
  bool IsCursorOverWindow();
  void RepaintFrame();
  void SetDockSite(TkwDockSite* Value) override;
  // The strip of the owner rectangle that the window touches, one pixel thick and inset by one
  // pixel at both ends; in screen coordinates, or else in those of the owner window's client
  // area. Empty when the window does not adjoin its owner rectangle.
  TRect GetJoinRect(bool ScreenCoords);
  // The window's own edge along that strip, in window coordinates (where a menu's frame gives
  // way to the item that opened it).
  TRect GetOwnJoinRect();
  void UpdateShadowBounds();
  void DrawCustomizingFrame(TkwBarItemControl* Control);

  // Overridables, in slot order.
  void CreateControls() override;
  void DestroyControls() override;
  virtual void CalcDrawingConsts();
  bool CanAlignItem(const TkwBarItemControl*) const override { return false; }
  virtual bool IsDockedOrNotFlat() const { return true; }
  bool CanCustomizeItems() const override;
  virtual bool IsFlatLook() const { return Painter()->IsFlatLook(); }
  virtual int GetBeginGroupSize() const = 0;
  // The font to measure with.
  virtual HFONT GetFont() const;
  virtual TRect GetItemRectEx(const TkwBarItemControl* Control) const { return GetItemRect(Control); }
  virtual bool IsShadowVisible() const;
  virtual TRect GetItemDrawRect(const TkwBarItemControl* Control, bool WithGroup) const;
  // A new region of the item's drawing rectangle (the caller deletes it).
  virtual HRGN GetItemRegion(const TkwBarItemControl* Control) const;
  virtual TCustomkwBarControl* GetOwnerBarControl() const;
  virtual HBRUSH GetBackgroundBrush();
  virtual HBRUSH GetCheckedBrush();
  virtual HBRUSH GetDownBrush();
  virtual HBRUSH GetSelectedBrush();
  bool IsSubMenu() const override { return false; }
  virtual bool IsParentOf(const TCustomkwBarControl* Window) const;
  virtual bool AdjoinsOwnerRect();
  // The control under a point, whether the point is outside its hit rectangle, in its first
  // half, and whether halves are measured vertically.
  virtual TkwBarItemControl* HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical);
  virtual bool MarkExists() const { return false; }
  virtual bool IsLastMousePos(TPoint ClientPoint) const;
  void RepaintItem(TkwBarItemControl* Control) override;
  virtual void UpdateItem(TkwBarItemControl* Previous);
  void SetDockingStyle(TkwBarDockingStyle Value) override;
  void SetActive(bool Value) override;
  // Keyboard selection.
  virtual void ActivateItem(TkwBarItemControl* Control);
  virtual void UpdateAlphaBlend() {}
  virtual void SetMarkState(int State) = 0;
  // Mouse selection.
  void SelectItemIfFree(TkwBarItemControl* Control) override;
  void SetSelectedItem(TkwBarItemControl* Control) override;
  // Fills Rect with the window's background (Color: clNone for none).
  virtual void DrawBackground(HDC DC, TRect Rect, bool UseClientOffset, TColor Color, HBRUSH Brush);
  virtual void DrawFrameBackground(HDC DC, HRGN Region, bool UseClientOffset, HBRUSH Brush);
  virtual bool IsQuickCustomizingMenu() const { return false; }
  virtual bool HasBackgroundBitmap() const;
  virtual bool NeedsDoubleBuffer() const;
  virtual TPoint GetClientOffset() const { return TPoint(0, 0); }
  virtual void ResetBackgroundBitmap();
  virtual void UpdateDoubleBuffered() { DoubleBuffered = NeedsDoubleBuffer(); }
  void HideAll() override;
  void RepaintBar() override {}
  void RefreshBackground() override;

 protected:
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void AdjustSize() override {}
  // Menu windows: right presses act as left presses.
  virtual bool IsRightButtonAsLeft() const { return false; }
  // Re-checks, after a call out, that the window still exists (and still owns Control).
  bool StillOwns(const TkwBarItemControl* Control) const;
  // The menu of the active chain holds this window.
  bool IsInActiveChain() const;
  void SetMarkStateField(int Value) { FMarkState = Value; }
  // A menu's metrics let the painter adjust the row unit.
  void SetRowUnitForMenu(int Value) {
    FRowUnit = Value;
    FSmallUnit = Value / 5 < 4 ? 4 : Value / 5;
  }
  void SetPressedControl(TkwBarItemControl* Control, bool UnderMouse);

  // protected messages
  void WMEraseBkgnd(TMessage& Message);
  void WMMouseActivate(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMCaptureChanged(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMRelayout(TMessage& Message);

  bool FLock = false;
  bool FLinkDragPending = false;
  TPoint FMouseDownPoint;
  bool FRecreating = false;

 private:
  // The accelerator search of a letter or digit key.
  void FindAccelerator(WORD Key);
  // Ctrl+Tab: the next (previous) tool bar with a selectable link.
  void CycleToolbars(bool Forward);

  TBitmap* FBitmap;
  HBRUSH FBackgroundBrush = nullptr;
  TkwBarSubMenuControl* FChildMenu = nullptr;
  TkwBarItemControl* FPressedControl = nullptr;
  bool FRepaintInProgress = false;
  int FMarkState = msNormal;
  bool FPressedUnderMouse = false;
  TRect FOwnerRect;
  TCustomkwBarControl* FOwnerWindow = nullptr;
  TCustomkwBarControl* FParentBarControl = nullptr;
  TCustomkwBarControl* FPreviousActive = nullptr;
  TkwBarShadow* FShadow;
  bool FShadowAfterPaint = false;  // shown, its shadow follows the first paint
  int FRowUnit = 19;
  int FRowHeight = 19;
  int FSmallUnit = 4;
  int FComboButtonWidth = 11;
  TPoint FLastMousePos{-1, -1};

 protected:
  int FMenuArrowWidth = 13;
};

// Whether the current chain of menus shows all items (a menu that was expanded).
bool& MenuChainExpanded();
// The bar window of a link's item control (nullptr when it is not one of this library).
TCustomkwBarControl* ControlWindow(const TkwBarItemControl* Control);
