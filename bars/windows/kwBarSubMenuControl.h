// This file implements TkwBarSubMenuControl, the popup window of a menu: the drop-down of a
// main-menu entry, a cascading sub-menu, the drop-down menu of a button or a popup menu. It places
// itself next to the item that opened it inside the monitor's work area, lays its item controls
// out in one column (scrolling when the column is taller than the screen), shows only the
// recently used items of a collapsed menu until it is expanded, lets a sub-item be torn off into
// its detaching bar, expands container items into their links, and can open with an animation
// (unfold or slide drawn by a worker thread, or a fade done by the system; the worker is in
// kwBarSubMenuAnimation.cpp).
#pragma once

#include <utility>
#include <vector>

#include "kwCustomBarControl.h"

// What a menu asks of the item that owns its links (a sub-item, a popup menu): the side strip,
// the tear-off, the popup and close-up events. The bar items library's sub-items implement it.
class IkwMenuOwner {
 public:
  virtual ~IkwMenuOwner() = default;
  // The width of the side strip left of the items (0: none).
  virtual int MenuBarSize() const { return 0; }
  virtual void PaintMenuBar(TCanvas*, const TRect&) {}
  // Its own background bitmap (nullptr: the manager's sub-menu background).
  virtual TBitmap* MenuBackground() const { return nullptr; }
  virtual bool MenuDetachable() const { return false; }
  virtual TkwBar* MenuDetachingBar() const { return nullptr; }
  virtual void MenuDetaching() {}
  virtual void MenuPopup() {}
  virtual void MenuCloseUp() {}
  virtual bool MenuAllowsCustomizing() const { return false; }
};

// What a menu asks of the container items among its links, which put their own links into the
// menu in place of theirs while it shows.
class IkwContainerItem {
 public:
  virtual ~IkwContainerItem() = default;
  virtual bool ReplacesOwnLink() const = 0;
  virtual void AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) = 0;
  virtual void RemoveLinks(TkwBarItemLinks* Links, int Index) = 0;
  virtual void MarkForClearing() = 0;
};

class TkwBarSubMenuControl : public TCustomkwBarControl {
  VELBOR_DECLARE_CLASS(TkwBarSubMenuControl, TCustomkwBarControl)
 public:
  TkwBarSubMenuControl(TkwBarManager* Manager, TkwBarItemLinks* Links);
  // Frees an open child menu; the parent forgets this one.
  ~TkwBarSubMenuControl() override;

  // Properties.
  TkwBarItemControl* OwnerItemControl() const override { return FOwnerItemControl; }
  void SetOwnerItemControl(TkwBarItemControl* Value) { FOwnerItemControl = Value; }
  // The size of the owner item along which the menu may flip (0: none).
  int OwnerWidth = 0;
  int OwnerHeight = 0;
  bool OpensRightwards = true;
  bool OpensDownwards = true;
  // The opening may animate (sub-items set it when opened by the mouse).
  bool Animate = false;
  // The parent window for the window (nullptr: the manager's owner form).
  HWND ExplicitParent = nullptr;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnPopup;
  int TopIndex() const { return FTopIndex; }
  int ExpandArrowHeight() const { return FExpandArrowHeight; }
  int GlyphScaleBase() const { return FGlyphScaleBase; }
  int GetGlyphScaleBase() const override { return FGlyphScaleBase; }
  void SetExpandedOnlyPaint(bool Value) override { ExpandedOnlyPaint = Value; }
  bool DetachStripHot() const { return FDetachStripHot; }
  // While the painter draws an item's background: the item shows only in the expanded menu.
  bool ExpandedOnlyPaint = false;
  HBRUSH ExpandedOnlyBrush() const { return FExpandedOnlyBrush; }
  HPALETTE ExpandedOnlyPalette() const { return FExpandedOnlyPalette; }
  TkwBarMenuAnimations AnimationKind() const { return FAnimationKind; }
  bool IsAnimating() const;
  bool IsClosing() const { return FClosing; }

  // Operations.
  void Show();
  // Destroys the window and frees the object; runs once.
  void CloseAndFree();
  void StopAnimation();
  int GetSideBarWidth() const;
  int GetSubMenuTopOffset() const { return Painter()->GetSubMenuTopOffset(); }
  int GetDetachStripHeight();
  // Places the item controls in the rows that fit; with Size, measures the whole column instead
  // (the widest control, and the bottom of the last row from the client's top).
  void CalcItemsPositions(TSize* Size);
  IkwMenuOwner* MenuOwner() const;
  void CalcPosition(bool& FlippedHorizontally, bool& FlippedVertically);
  int GetVisibleCount();
  bool CanScrollUp() const { return FTopIndex > 0; }
  bool CanScrollDown();
  void SetTopIndex(int Value);
  TRect GetExpandArrowRect();
  TRect GetDetachStripRect();
  bool IsDetachable() const;
  bool CanDetach() const;
  void Detach();
  TBitmap* GetSideBarBitmap() const;
  int GetGlyphBandWidth() const;
  int GetCheckBandWidth() const;
  // The rectangle (client) of the scroll arrow that takes the first (last) visible row.
  TRect GetScrollArrowRect(bool Up);
  virtual void DoCloseUp();
  virtual void DoPopup();
  virtual bool IsRightButtonAsLeft() const override;

  // Overrides of the base's slots.
  void CreateControls() override;
  void DestroyControls() override;
  void CalcDrawingConsts() override;
  bool CanCustomizeItems() const override;
  bool IsFlatLook() const override { return false; }
  int GetBeginGroupSize() const override { return Painter()->GetMenuBeginGroupSize(); }
  HFONT GetFont() const override;
  bool IsShadowVisible() const override;
  TRect GetItemDrawRect(const TkwBarItemControl* Control, bool WithGroup) const override;
  bool IsSubMenu() const override { return true; }
  TkwBarItemControl* HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical) override;
  bool MarkExists() const override;
  void RepaintItem(TkwBarItemControl* Control) override;
  void UpdateFont() override;
  void SetActive(bool Value) override;
  void SetMarkState(int State) override;
  void SetSelectedItem(TkwBarItemControl* Control) override;
  void DrawBackground(HDC DC, TRect Rect, bool UseClientOffset, TColor Color, HBRUSH Brush) override;
  bool NeedsDoubleBuffer() const override;
  void HideAll() override;
  void RepaintBar() override;

  // The worker thread's state (kwBarSubMenuAnimation.cpp).
  void PrepareAnimation(bool FlippedHorizontally, bool FlippedVertically);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The item controls are made and measured, and the menu placed, before its window exists.
  void PrepareWindow() override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;

  // protected messages
  void WMKeyDown(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  void WMRButton(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMPrint(TMessage& Message);
  void WMPrintClient(TMessage& Message);
  void WMTimer(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  friend DWORD WINAPI MenuAnimationThread(LPVOID);
  void CreateExpandedOnlyBrush();
  void DeleteExpandedOnlyBrush();
  void Expand();
  void ScrollTimerTick();
  void KillScrollTimer();
  void StartExpandTimer(UINT_PTR Id, UINT Milliseconds);
  // A collapsed menu shows whole after a while.
  void StartFullMenuTimer();
  void StopExpandTimer();
  void ScrollSelectionIntoView();
  void UpdateDetachStrip(TPoint ClientPoint);
  bool IsOverScrollArrow(TPoint ClientPoint, bool& Up);
  bool LastVisibleRow(int& Index);

  bool FContainerExpansion = false;
  bool FDetachStripHot = false;
  bool FRecreateGuard = false;
  UINT_PTR FExpandTimer = 0;
  HBRUSH FExpandedOnlyBrush = nullptr;      // owned
  HPALETTE FExpandedOnlyPalette = nullptr;  // owned
  int FExpandArrowHeight = 0;
  int FGlyphScaleBase = 19;
  TkwBarMenuAnimations FAnimationKind = maNone;
  int FRequestedLeft = 0;
  int FRequestedTop = 0;
  std::vector<std::pair<int, TkwBarItemLink*>> FContainerLinks;
  std::vector<int> FContainerRecentIndexes;
  UINT_PTR FScrollTimer = 0;
  int FTopIndex = 0;
  TkwBarItemControl* FOwnerItemControl = nullptr;
  bool FClosing = false;
  bool FFlippedHorizontally = false;
  bool FFlippedVertically = false;
  bool FPaintingItems = false;
  bool FPreparing = false;
  bool FPopupSoundPending = false;
};
