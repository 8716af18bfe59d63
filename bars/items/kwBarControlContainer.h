// This file implements TkwBarControlContainerItem, the item that shows an ordinary control of the
// form inside a bar: the control is moved into a borderless holder form whose window is a child
// of the bar window at the link's place; in a menu, or when the bar shows the item as text only,
// the item is an entry with its caption, and in design mode a hatched placeholder. And
// TkwBarControlContainerControl, the item control that measures, draws and places it.
#pragma once

#include "Forms.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"

class TCustomkwBarControl;
class TkwBarControlContainerControl;

class TkwBarControlContainerItem : public TkwBarItem {
  VELBOR_DECLARE_CLASS(TkwBarControlContainerItem, TkwBarItem)
 public:
  explicit TkwBarControlContainerItem(TComponent* AOwner);
  ~TkwBarControlContainerItem() override;

  // Properties.
  TControl* Control() const { return FControl; }
  // Refuses a control another container item of the same manager holds; the control given up
  // gets its own message procedure back and leaves the holder (except in design mode).
  void SetControl(TControl* Value);
  // The holder form the control is moved into (made with the item).
  TCustomForm* PlaceForm() const { return FPlaceForm; }

  // Overrides of the item.
  bool IsClickable() const override { return false; }
  bool IsControlContainer() const override { return true; }
  bool AcceptsAccelerator(TkwBarItemLink* Link) const override;
  // Hides the holder when that control showed the hosted control.
  void HideItemControl(TkwBarItemControl* AControl) override;
  bool HasOwnWindow() const override { return true; }
  void SetName(const String& NewName) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TkwBarControlContainerControl;
  // The hosted control's messages pass here after its own procedure: a change of its size lays
  // the bars out again.
  void ContainerWindowProc(TMessage& Message);
  bool SomeLinkShowsText() const;

  TControl* FControl = nullptr;               // not owned: forgotten when it goes
  TWndMethod FSavedWindowProc;                // the control's procedure while hooked
  TCustomForm* FPlaceForm = nullptr;          // owned
  TkwBarControlContainerControl* FPlacedBy = nullptr;  // the control the holder shows in
  int FLastWidth = 0;
  int FLastHeight = 0;
  bool FPlacing = false;
};

class TkwBarControlContainerControl : public TkwBarItemControl {
  VELBOR_DECLARE_CLASS(TkwBarControlContainerControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarControlContainerControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  // The holder leaves the bar window with its last control.
  ~TkwBarControlContainerControl() override;

  TkwBarControlContainerItem* Container() const { return dynamic_cast<TkwBarControlContainerItem*>(GetItem()); }
  TCustomkwBarControl* Window() const;
  // In a menu, or on a bar showing the link as text only.
  bool ShowsAsText() const;
  // Not as text, a control assigned and the manager not in design mode.
  bool ShowsHostedControl() const;

  // Overrides of the control base.
  bool CanClick() const override { return ShowsAsText(); }
  bool IsSelectable() const override;
  bool ClosesMenusOnClick() const override { return ShowsAsText(); }
  bool WantsKey(WORD Key) const override { return ShowsAsText() && TkwBarItemControl::WantsKey(Key); }
  int CalcHeight() override;
  int CalcWidth() override;
  void Draw(const TRect& Rect, int Kind) override;

 private:
  void DrawPlaceholder(HDC DC, const TRect& Rect);
  // "The place for the " and the control's name, or the item's without control.
  String PlaceholderText() const;
  // Moves the holder (with the control) to the link's place in the bar window.
  void PlaceControl();
};
