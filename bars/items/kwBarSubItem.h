// This file implements the sub-items and the items whose links go into the menus that show them:
// TCustomkwBarSubItem and TkwBarSubItem, an item that opens a menu of its own links (every entry
// of a main-menu bar, every cascading entry of a menu); TCustomkwBarContainerItem and
// TkwBarContainerItem, which put the links they hold into the host menu in place of their own;
// TkwBarListItem, which turns a list of strings into numbered buttons. TkwBarSubItemControl opens
// and closes the sub-menu window at once or after a delay; TkwBarContainerItemControl and
// TContainerItemSubMenuControl show a container as an entry of its own.
#pragma once

#include "Strings.h"
#include "kwBarButton.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarSubMenuControl.h"
#include "kwBars.h"

using TkwBarPaintSubMenuBarEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;

class TCustomkwBarSubItem : public TkwBarItem, public IkwMenuOwner {
  VELBOR_DECLARE_CLASS(TCustomkwBarSubItem, TkwBarItem)
 public:
  explicit TCustomkwBarSubItem(TComponent* AOwner);
  ~TCustomkwBarSubItem() override;

  // Properties.
  bool AllowCustomizing = false;
  int BarSize() const { return FBarSize; }
  // Negative values become 0.
  void SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }
  bool Detachable() const { return FDetachable; }
  void SetDetachable(bool Value) { FDetachable = Value; }
  // The index in the manager's bars of the bar the menu tears off into (-1: none).
  int DetachingBar() const;
  void SetDetachingBar(int Value);
  TkwBarItemLinks* ItemLinks() const { return FItemLinks; }
  void SetItemLinks(TkwBarItemLinks* Value) { FItemLinks->Assign(Value); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // The links are produced by the library, not stored.
  bool GeneratedLinks = false;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDetaching;
  TkwBarPaintSubMenuBarEvent OnPaintBar;
  TNotifyEvent OnPopup;

  // Overrides of the item.
  TkwBarItemLinks* GetSubItemLinks() const override { return FItemLinks; }
  bool GeneratesLinks() const override { return !HasStoredLinks(); }
  bool IsClickable() const override { return false; }
  void BarManagerChanged() override;
  void BarNotification(TkwBar* Bar, TOperation Operation) override;

  // Overridables, in slot order.
  virtual void PaintBar(TCanvas* Canvas, const TRect& R);
  virtual bool HasStoredLinks() const { return true; }
  virtual void DoCloseUp();
  virtual void DoDetaching();
  virtual void DoPopup();

  // What its menu asks.
  int MenuBarSize() const override { return FBarSize; }
  void PaintMenuBar(TCanvas* Canvas, const TRect& R) override { PaintBar(Canvas, R); }
  bool MenuDetachable() const override { return FDetachable; }
  TkwBar* MenuDetachingBar() const override { return FDetachingBar; }
  void MenuDetaching() override { DoDetaching(); }
  // The control opening the menu tells the popup (with the item's click); the menu tells its
  // closing.
  void MenuCloseUp() override { DoCloseUp(); }
  bool MenuAllowsCustomizing() const override { return AllowCustomizing && !GeneratedLinks; }

 private:
  int FBarSize = 0;
  bool FDetachable = false;
  TkwBar* FDetachingBar = nullptr;  // not owned: forgotten when the bar goes
  TkwBarItemLinks* FItemLinks;      // owned
  bool FShowCaption = true;
};

class TkwBarSubItem : public TCustomkwBarSubItem {
  VELBOR_DECLARE_CLASS(TkwBarSubItem, TCustomkwBarSubItem)
 public:
  explicit TkwBarSubItem(TComponent* AOwner);
  bool HasStoredLinks() const override { return !GeneratedLinks; }
};

class TCustomkwBarContainerItem : public TCustomkwBarSubItem, public IkwContainerItem {
  VELBOR_DECLARE_CLASS(TCustomkwBarContainerItem, TCustomkwBarSubItem)
 public:
  explicit TCustomkwBarContainerItem(TComponent* AOwner) : TCustomkwBarSubItem(AOwner) {}
  ~TCustomkwBarContainerItem() override;

  bool GettingData() const { return FGettingData; }
  TNotifyEvent OnGetData;

  // Overridables, in slot order (what a host menu asks).
  // Clears what the previous filling made, then asks OnGetData for the content when GetData.
  void AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) override;
  void RemoveLinks(TkwBarItemLinks*, int) override {}
  virtual void ClearGenerated() { GeneratedLinks = false; }
  bool ReplacesOwnLink() const override { return true; }
  virtual void ContentChanged();
  void MarkForClearing() override { GeneratedLinks = true; }

  bool HasContent() const override { return static_cast<bool>(OnGetData); }

 private:
  bool FGettingData = false;
};

class TkwBarContainerItem : public TCustomkwBarContainerItem {
  VELBOR_DECLARE_CLASS(TkwBarContainerItem, TCustomkwBarContainerItem)
 public:
  explicit TkwBarContainerItem(TComponent* AOwner) : TCustomkwBarContainerItem(AOwner) {}

  // Its visible links, copied into the host links after the container link.
  void AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) override;
  void RemoveLinks(TkwBarItemLinks* Links, int Index) override;
  bool HasContent() const override;
  // No links: nothing; links without items yet count as content; otherwise an item shown now.
  virtual bool HasAvailableItems() const;
};

class TkwBarListItem : public TCustomkwBarContainerItem {
  VELBOR_DECLARE_CLASS(TkwBarListItem, TCustomkwBarContainerItem)
 public:
  explicit TkwBarListItem(TComponent* AOwner);
  ~TkwBarListItem() override;

  // Properties.
  // The position of the chosen string (separators counted), -1 for none; stored as given.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value) { FItemIndex = Value; }
  TStringList* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  bool ShowCheck() const { return FShowCheck; }
  void SetShowCheck(bool Value) { FShowCheck = Value; }
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value) { FShowNumbers = Value; }
  // The position of the chosen entry among the entries (separators not counted), -1 for none.
  int DataIndex() const;
  void SetDataIndex(int Value);
  // The buttons made for the entries (while a menu shows them).
  int ButtonCount() const { return int(FButtons.size()); }
  TkwBarButton* Button(int Index) const { return FButtons[std::size_t(Index)]; }

  // Overridables.
  virtual void GetDisplayText(const String& S, String& Text) const { Text = S; }

  void AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) override;
  void RemoveLinks(TkwBarItemLinks* Links, int Index) override;
  void ClearGenerated() override;
  bool HasContent() const override;
  // The list item's own click only while its own menu is not what is being opened.
  void Click() override;

 protected:
  // A button freed with the form leaves the list.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The entries changed: the buttons made for them are made again when next shown.
  void EntriesEdited();

 private:
  void ItemsChanged(TObject*) { EntriesEdited(); }
  void EntryClick(TObject* Sender);

  int FItemIndex = -1;
  std::vector<TkwBarButton*> FButtons;  // owned (owned by the form as components, freed here)
  TStringList* FItems;                  // owned
  bool FShowCheck = false;
  bool FShowNumbers = true;
  bool FButtonsStale = false;
};

class TkwBarSubItemControl : public TkwBarItemControl, public IkwSubItemControl {
  VELBOR_DECLARE_CLASS(TkwBarSubItemControl, TkwBarItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarSubItemControl(TkwBarItemLink* ALink) : TkwBarItemControl(ALink) {}
  // Cancels its delay and closes its menu.
  ~TkwBarSubItemControl() override;

  TCustomkwBarSubItem* SubItem() const { return dynamic_cast<TCustomkwBarSubItem*>(GetItem()); }
  TCustomkwBarControl* Window() const { return ControlWindow(this); }
  bool OpenedByMouse() const { return FOpenedByMouse; }
  void SetOpenedByMouse(bool Value) override { FOpenedByMouse = Value; }

  // Overridables, in slot order.
  virtual TkwBarSubMenuControl* GetSubMenuWindow() const;
  virtual void CreateSubMenuWindow();
  virtual int GetSubItemHeight();
  virtual int GetSubItemWidth();
  virtual bool CanOpenMenu() const { return true; }

  // Overrides of the control base.
  void GlyphChanged() override { Changed(); }
  bool CanClick() const override { return false; }
  // Opens the menu (Now), or after the delay inside menus.
  void ControlActivate(bool Now) override;
  // Closes the menu (Now), or after the delay inside menus.
  void ControlInactivate(bool Now) override;
  void BeforeClick(bool ByMouse) override;
  void KeyDown(WORD& Key) override;
  bool WantsKey(WORD Key) const override;
  int CalcHeight() override;
  int CalcWidth() override;
  TkwBarWindow* GetSubMenuControl() const override { return GetSubMenuWindow(); }
  bool ClosesMenusOnClick() const override { return false; }
  bool HasSubMenu() const override { return true; }
  void Draw(const TRect& Rect, int Kind) override;

  // The pending delayed open or close (at most one in the process), and its work.
  static TkwBarSubItemControl* PendingControl();
  static void RunPending();

 protected:
  bool CaptionShown() const;

 private:
  bool FOpenedByMouse = false;
};

class TContainerItemSubMenuControl : public TkwBarSubMenuControl {
  VELBOR_DECLARE_CLASS(TContainerItemSubMenuControl, TkwBarSubMenuControl)
 public:
  TContainerItemSubMenuControl(TkwBarManager* Manager, TCustomkwBarContainerItem* Container);
  ~TContainerItemSubMenuControl() override;
  TCustomkwBarContainerItem* ContainerItem() const { return FContainer; }
  // The container going first (the menu is freed with its links) is not called back.
  void ForgetContainer() { FContainer = nullptr; }
  void DoCloseUp() override;

 private:
  TCustomkwBarContainerItem* FContainer;  // not owned
};

class TkwBarContainerItemControl : public TkwBarSubItemControl {
  VELBOR_DECLARE_CLASS(TkwBarContainerItemControl, TkwBarSubItemControl)
 public:
  using TOwnerClass = TkwBarItemLink;
  explicit TkwBarContainerItemControl(TkwBarItemLink* ALink) : TkwBarSubItemControl(ALink) {}
  TCustomkwBarContainerItem* Container() const { return dynamic_cast<TCustomkwBarContainerItem*>(GetItem()); }

  String GetCaption() const override;
  bool HasSubMenu() const override;
  void Draw(const TRect& Rect, int Kind) override;
  void CreateSubMenuWindow() override;
};
