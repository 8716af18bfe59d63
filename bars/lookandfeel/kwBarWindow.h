// This file implements the root of the bar and menu windows as the bar manager core knows them:
// TkwBarWindow shows one collection of item links (one item control per visible link), belongs
// to the manager, and answers the few questions the manager, the bars and the links ask of it.
// The bar windows library derives the tool bar, main-menu bar and sub-menu windows from it and
// fills in their layout, painting, keyboard and mouse; it tells the core how to make its windows
// and dock sites through SetBarWindowClasses.
#pragma once

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Component.h"
#include "Controls.h"
#include "kwBarTypes.h"

// What a menu window shown as a popup menu is given (see TkwBarWindow::ShowPopup).
struct TkwPopupRequest {
  // The screen point the menu opens at.
  TPoint Point;
  // A screen rectangle the menu must not cover (nullptr: none), and the placement values whose
  // meaning is the menu window's.
  const TRect* ExcludeRect = nullptr;
  int Placement[3] = {0, 0, 0};
  // The window of the component that opened the menu (nullptr: none).
  HWND OwnerWindow = nullptr;
  // Told once when the menu shows, and once when it closes (or goes without closing).
  TNotifyEvent OnPopup;
  TNotifyEvent OnCloseUp;
  bool AllowAnimation = true;
};

class TkwBarWindow : public TCustomControl {
  VELBOR_DECLARE_CLASS(TkwBarWindow, TCustomControl)
 public:
  // Joins the live bar windows; the links know it as their window.
  TkwBarWindow(TkwBarManager* Manager, TkwBarItemLinks* Links);
  // Leaves menu mode, the live list and its links; the manager forgets its selection.
  ~TkwBarWindow() override;

  TkwBarManager* GetBarManager() const;
  TkwBarItemLinks* ItemLinks() const { return FLinks; }
  const TkwBarPainter* GetPainter() const;
  TkwBarDockingStyle DockingStyle() const { return FDockingStyle; }
  virtual void SetDockingStyle(TkwBarDockingStyle Value) { FDockingStyle = Value; }
  TkwDockSite* DockSite() const { return FDockSite; }
  virtual void SetDockSite(TkwDockSite* Value) { FDockSite = Value; }
  TkwBarItemControl* SelectedControl() const { return FSelectedControl; }
  bool IsActive() const { return FActive; }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsCustomizing() const;
  // The link's rectangle in client coordinates (empty for nullptr).
  TRect GetItemRect(const TkwBarItemControl* Control) const;
  bool HasItemControl(const TkwBarItemControl* Control) const;

  // What the core asks of every window.
  virtual bool IsSubMenu() const = 0;
  // The bar of a tool bar or main-menu window (nullptr for menus).
  virtual TkwBar* Bar() const { return nullptr; }
  // Every visible link makes (drops) its item control.
  virtual void CreateControls();
  virtual void DestroyControls();
  // Makes the item controls again, lays them out and repaints.
  virtual void RepaintBar() = 0;
  virtual void RepaintItem(TkwBarItemControl*) { Invalidate(); }
  // Enters or leaves menu mode; leaving drops the selection.
  virtual void SetActive(bool Value);
  // Leaves menu mode here and up the chain of windows.
  virtual void HideAll() { SetActive(false); }
  virtual void SelectItemIfFree(TkwBarItemControl* Control) { SetSelectedItem(Control); }
  virtual void SetSelectedItem(TkwBarItemControl* Control);
  // Clears the selection without asking the control.
  void ClearSelection() { FSelectedControl = nullptr; }
  // The style, the fonts or the background changed.
  virtual void RefreshMetrics() {}
  // A menu's flag that its painter reads while it draws an item's background (see
  // TkwBarItemControl::BeginMenuBackgroundPaint); other windows have none.
  virtual void SetExpandedOnlyPaint(bool) {}
  // The denominator of glyph scaling in the window (0: glyphs are not scaled).
  virtual int GetGlyphScaleBase() const { return 0; }
  virtual void UpdateFont() {}
  virtual void RefreshBackground() { Invalidate(); }
  // Tool bars: where the window is goes back into the bar (before it hides).
  virtual void StorePositionInBar() {}
  // Tool bars: the size of the floating window.
  virtual TSize CalcFloatingSize() { return TSize{Width(), Height()}; }
  virtual bool CanCustomizeItems() const;
  // Whether a control may take an alignment other than left (tool bars: the last one only).
  virtual bool CanAlignItem(const TkwBarItemControl*) const { return false; }
  // Tool bars: enters menu mode with Control selected (none: the first shown link's); the
  // keyboard hook opens the main menu so.
  virtual void BeginMenuMode(TkwBarItemControl*) {}
  // Menus: the window of the item that opened this one, and that item's control.
  virtual TkwBarWindow* ParentBarControl() const { return nullptr; }
  virtual TkwBarItemControl* OwnerItemControl() const { return nullptr; }
  // The item control shown at a client point (nullptr when none): the base takes the shown
  // link whose rectangle holds the point.
  virtual TkwBarItemControl* GetItemControlAtPos(TPoint ClientPoint) const;
  // Where a dragged link would be dropped: the control under the point, whether the point lies
  // outside its hit rectangle, in its first half, and whether the halves are measured vertically
  // (menus and vertical bars). Outside: the point lies in the gap before the control (where a group
  // starts). The base takes the link rectangles; past the last link it answers the last one.
  virtual TkwBarItemControl* HitTestItem(TPoint Point, bool& Outside, bool& FirstHalf, bool& Vertical);
  // Whether links dragged while customizing may be dropped here.
  virtual bool AcceptsDroppedLinks() const { return true; }
  // Floating bars: the caption follows the active state of the form; the frame follows the
  // system colours.
  virtual void RefreshCaptionState() { Invalidate(); }
  virtual void UpdateFrame() { Invalidate(); }

  // Dragging a bar by its grip (the bars' drag loop): the moving look on and off; where the
  // cursor took hold of the window (BeginDrag records it, GetDragOffset answers it for the size
  // the window has in a docking style); the window's position kept from the layout meanwhile.
  virtual void SetMoving(bool) {}
  virtual void BeginDrag(TPoint ScreenCursor);
  virtual TPoint GetDragOffset(TkwBarDockingStyle Style);
  virtual void LockPositionUpdate() {}
  virtual void UnlockPositionUpdate() {}

  // Menus: shown as a popup menu at the request's point (the base places the window there with
  // its size, shows it without activation, enters menu mode and tells OnPopup). A menu window
  // that closes calls NotifyCloseUp.
  virtual void ShowPopup(const TkwPopupRequest& Request);

 protected:
  // Tells the popup request's OnCloseUp, once per ShowPopup (the destructor does it for a menu
  // that goes without closing).
  void NotifyCloseUp();

  TkwBarDockingStyle FDockingStyle = dsNone;
  TkwDockSite* FDockSite = nullptr;               // not owned
  TkwBarItemControl* FSelectedControl = nullptr;  // owned by its link
  bool FActive = false;

 private:
  TkwBarItemLinks* FLinks;  // not owned
  TkwPopupRequest FPopupRequest;
  bool FPopupOpen = false;
  TPoint FGrabOffset;
};

// How the core makes the windows and dock sites of the bar windows library.
struct TkwBarWindowClasses {
  // The window of a bar (a tool bar or the main-menu bar).
  TkwBarWindow* (*CreateBarWindow)(TkwBar* Bar) = nullptr;
  // The window of other links (a sub-menu, a popup menu), owned by Manager.
  TkwBarWindow* (*CreateMenuWindow)(TkwBarManager* Manager, TkwBarItemLinks* Links) = nullptr;
  // An edge dock site of the manager's form.
  TkwDockSite* (*CreateEdgeDockSite)(TkwBarManager* Manager, TkwBarDockingStyle Style) = nullptr;
};
const TkwBarWindowClasses& BarWindowClasses();
void SetBarWindowClasses(const TkwBarWindowClasses& Classes);
