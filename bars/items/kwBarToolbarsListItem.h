// This file implements TkwBarToolbarsListItem, a sub-item whose menu lists the manager's bars that
// can be closed, each as a check entry that shows or hides its bar, followed by the entry that
// starts customizing; and TkwBarToolbarsListItemControl, which builds that menu afresh each time
// it opens.
#pragma once

#include "kwBarSubItem.h"

class TkwBarToolbarsListItem : public TCustomkwBarSubItem {
  VELBOR_DECLARE_CLASS(TkwBarToolbarsListItem, TCustomkwBarSubItem)
 public:
  explicit TkwBarToolbarsListItem(TComponent* AOwner);
  // Its links are made by the library when its menu opens, never stored.
  bool HasStoredLinks() const override { return false; }
};

class TkwBarToolbarsListItemControl : public TkwBarSubItemControl {
  VELBOR_DECLARE_CLASS(TkwBarToolbarsListItemControl, TkwBarSubItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarToolbarsListItemControl(TkwBarItemLink* ALink) : TkwBarSubItemControl(ALink) {}

  // Outside customizing: the entries of the bars as they are now, in a menu of the manager.
  void CreateSubMenuWindow() override;
  bool HasSubMenu() const override;
};
