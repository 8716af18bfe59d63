// This file implements the entry that a maximized MDI child puts first in its frame's main menu:
// TSystemMenuSubItem shows the child's small icon, opens the child's system menu rebuilt as bar
// items (captions, shortcuts, states and the standard pictures), and sends the chosen command to
// the child; TSystemMenuSubItemControl draws the icon and runs the default command on a double
// click.
#pragma once

#include "kwBarSubItem.h"

class TSystemMenuSubItem : public TCustomkwBarSubItem {
  VELBOR_DECLARE_CLASS(TSystemMenuSubItem, TCustomkwBarSubItem)
 public:
  explicit TSystemMenuSubItem(TComponent* AOwner) : TCustomkwBarSubItem(AOwner) {}

  // The MDI child whose system menu the item shows; nullptr: the manager's active child.
  HWND ChildWindow = nullptr;
  HWND GetChildWindow() const;

  // Fills a sub-item's links from a menu of the system (entries with menus become sub-items,
  // the others buttons sending their command to the child), every new item a temporary one.
  void BuildFromSystemMenu(TCustomkwBarSubItem* SubItem, HMENU Menu);
  // The generated buttons' click: the command (the button's Tag) to the child.
  void SystemCommandClick(TObject* Sender);

  // Rebuilds the entries from the child's menu as it is now, then what a sub-item does.
  void DoPopup() override;
};

class TSystemMenuSubItemControl : public TkwBarSubItemControl {
  VELBOR_DECLARE_CLASS(TSystemMenuSubItemControl, TkwBarSubItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TSystemMenuSubItemControl(TkwBarItemLink* ALink) : TkwBarSubItemControl(ALink) {}

  TSystemMenuSubItem* SystemItem() const { return dynamic_cast<TSystemMenuSubItem*>(GetItem()); }

  int CalcWidth() override { return GetSystemMetrics(SM_CXSMICON); }
  int CalcHeight() override { return GetSystemMetrics(SM_CYSMICON); }
  int GetSubItemWidth() override { return GetSystemMetrics(SM_CXSMICON); }
  int GetSubItemHeight() override { return GetSystemMetrics(SM_CYSMICON); }
  bool IsSelectable() const override;
  // It answers no menu of its own, so that the bar window gives it its double clicks (it still
  // opens its menu when clicked or activated) and no arrow is drawn.
  bool HasSubMenu() const override { return false; }
  bool WantsDblClick() const override { return true; }
  // The child's default command (normally Close), after the menus are closed.
  void DblClick() override;
  void Draw(const TRect& Rect, int Kind) override;
};

// The child's small icon, 16 x 16 (the caller destroys it; nullptr: none).
HICON SmallIconOf(HWND Window);
