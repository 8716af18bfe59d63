// This file implements the root of the dock sites as the bar manager core knows them:
// TkwDockSite, a child window of the form that holds docked bar windows, registered with its
// manager. The bar windows library derives the edge dock sites and the published dock component
// from it and fills in their layout and painting.
#pragma once

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Component.h"
#include "Controls.h"
#include "kwBarTypes.h"

class TkwDockSite : public TCustomControl {
  VELBOR_DECLARE_CLASS(TkwDockSite, TCustomControl)
 public:
  // FixedStyle: the edge of an edge dock site; dsNone for a free-standing site.
  TkwDockSite(TComponent* AOwner, TkwBarDockingStyle FixedStyle);
  // Leaves its manager.
  ~TkwDockSite() override;

  TkwBarManager* BarManager() const { return FBarManager; }
  // Leaves the old manager and registers with the new one.
  void SetBarManager(TkwBarManager* Value);
  bool AllowDocking = true;
  TkwBarDockingStyle FixedStyle() const { return FFixedStyle; }
  bool IsEdgeSite() const { return FFixedStyle != dsNone; }
  // The style of the bars docked here.
  virtual TkwBarDockingStyle DockingStyle() const { return FFixedStyle; }

  // What the core asks of every dock site.
  virtual bool CanDock(TkwBar*) { return AllowDocking; }
  // Inserts a bar window where the screen point falls.
  virtual void DockBarWindow(TkwBarWindow* Window, TPoint ScreenPoint) = 0;
  virtual void UndockBarWindow(TkwBarWindow* Window) = 0;
  // The manager's colour or the parent's.
  virtual void UpdateColor();
  virtual void RepaintBackground() { Invalidate(); }
  virtual void RefreshFrame() {}
  virtual void UpdateLayout() {}
  // Refreshes colours, layout and frame after a style change.
  virtual void RefreshStyle();
  // Width of a left or right site, height of a top or bottom one.
  virtual int GetDockSize() const;
  virtual void SetDockSize(int Value);

  // Dragging bars between sites. The zone (screen) where a dragged bar docks here: the site
  // enlarged by a margin, along its edge when it is empty.
  virtual TRect GetDockingZone();
  // The screen point where a bar just taken out of this site would go back into its row for the
  // cursor (its place along the row, the cursor across it).
  virtual TPoint GetRowPoint(TkwBarWindow* Window, TPoint ScreenCursor);
  // Takes a window out without laying the others out again (the drag may put it back).
  virtual void TakeOutBarWindow(TkwBarWindow* Window) { UndockBarWindow(Window); }
  // Moves a docked window to where the screen point falls within the site.
  virtual void MoveBarWindow(TkwBarWindow* Window, TPoint ScreenPoint) { DockBarWindow(Window, ScreenPoint); }
  // The drag of a window docked here is over.
  virtual void FinishBarMove(TkwBarWindow*) { UpdateLayout(); }

 protected:
  virtual void ManagerChanged() { UpdateColor(); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TkwBarManager* FBarManager = nullptr;  // not owned
  TkwBarDockingStyle FFixedStyle;
};
