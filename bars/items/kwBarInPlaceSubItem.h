// This file implements TkwBarInPlaceSubItem, a container item that in a menu shows its own links
// right below its entry while it is expanded, rather than in a sub-menu (a click, Right or Left
// expands or collapses it; in a tool bar it opens a sub-menu like any container), and
// TkwBarInPlaceSubItemControl, its entry.
#pragma once

#include "kwBarSubItem.h"

class TkwBarInPlaceSubItem;
using TkwInPlaceSubItemEvent = TEvent<void(TkwBarInPlaceSubItem* Sender, TkwBarItemLink* Link)>;

class TkwBarInPlaceSubItem : public TkwBarContainerItem {
  VELBOR_DECLARE_CLASS(TkwBarInPlaceSubItem, TkwBarContainerItem)
 public:
  explicit TkwBarInPlaceSubItem(TComponent* AOwner) : TkwBarContainerItem(AOwner) {}

  // Properties.
  bool Expanded() const { return FExpanded; }
  // Rebuilds each menu showing the item; OnBeforeCollapse before collapsing, OnAfterExpand after
  // expanding, once per link.
  void SetExpanded(bool Value);
  // The entry after the block gets a separator while expanded (in menus).
  bool KeepBeginGroupWhileExpanded = false;
  TkwInPlaceSubItemEvent OnAfterExpand;
  TkwInPlaceSubItemEvent OnBeforeCollapse;
  // Set while SetExpanded rebuilds the menus.
  bool Toggling() const { return FToggling; }

  // Overrides of the container: its links go into the menu below its own entry, only while
  // expanded.
  void AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) override;
  void RemoveLinks(TkwBarItemLinks* Links, int Index) override;
  bool ReplacesOwnLink() const override { return false; }
  bool HasContent() const override { return true; }
  bool HasAvailableItems() const override { return false; }

  // Overridables.
  virtual void DoAfterExpand(TkwBarItemLink* Link);
  virtual void DoBeforeCollapse(TkwBarItemLink* Link);

 private:
  void ApplyKeepBeginGroup(TkwBarItemLink* Link, bool Value);

  bool FExpanded = false;
  bool FToggling = false;
};

class TkwBarInPlaceSubItemControl : public TkwBarContainerItemControl {
  VELBOR_DECLARE_CLASS(TkwBarInPlaceSubItemControl, TkwBarContainerItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarInPlaceSubItemControl(TkwBarItemLink* ALink) : TkwBarContainerItemControl(ALink) {}

  TkwBarInPlaceSubItem* InPlace() const { return dynamic_cast<TkwBarInPlaceSubItem*>(GetItem()); }
  bool InMenu() const;

  // Overrides: in a menu the entry opens nothing, a click toggles the item and keeps the entry
  // selected; in a tool bar everything is the container's.
  bool CanOpenMenu() const override { return !InMenu(); }
  bool HasSubMenu() const override;
  void BeforeClick(bool ByMouse) override;
  void Click(bool ByMouse) override;
  void DblClick() override;
  bool WantsKey(WORD Key) const override;
  void KeyDown(WORD& Key) override;
  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;

 private:
  void Toggle();
};
