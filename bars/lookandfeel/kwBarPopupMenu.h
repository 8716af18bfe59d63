// This file implements the popup menus of the bar library: TkwBarPopupMenu, a menu of item links
// of a manager's items, shown at a screen point by code, by a control's popup-menu link or as the
// drop-down menu of a button, which waits in a message loop of its own until the menu closes; and
// the links of the form's controls to popup menus (TkwBarPopupMenuLink, TkwBarPopupMenuLinks),
// opened by a right click, the context-menu key or Shift+F10, and searched for shortcuts.
#pragma once

#include <memory>

#include "ActnList.h"
#include "Collection.h"
#include "Component.h"
#include "Controls.h"
#include "Graphics.h"
#include "kwBarTypes.h"

using TkwBarPaintBarEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;

class TkwBarPopupMenu : public TComponent {
  VELBOR_DECLARE_CLASS(TkwBarPopupMenu, TComponent)
 public:
  // Uses the manager of its form, else the first manager made; "There are no TkwBarManagers
  // available" when there is none.
  explicit TkwBarPopupMenu(TComponent* AOwner);
  // Frees its links (and with them an open menu window); a loop of PopupAt running meanwhile
  // ends without touching it again.
  ~TkwBarPopupMenu() override;

  // Properties.
  TkwBarManager* BarManager() const { return FBarManager; }
  // Nullptr is ignored, unless the menu is being destroyed.
  void SetBarManager(TkwBarManager* Value);
  int BarSize() const { return FBarSize; }
  void SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TkwBarItemLinks* ItemLinks() const { return FItemLinks; }
  void SetItemLinks(TkwBarItemLinks* Value);
  bool UseOwnFont() const { return FUseOwnFont; }
  void SetUseOwnFont(bool Value);
  bool UseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);
  TBitmap* BackgroundBitmap() const { return FBackgroundBitmap; }
  void SetBackgroundBitmap(TBitmap* Value) { FBackgroundBitmap->Assign(Value); }
  HFONT OwnFontHandle() const { return FOwnFontHandle; }
  // PopupAt returns as soon as the menu shows.
  bool NonModal = false;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnPopup;
  TkwBarPaintBarEvent OnPaintBar;

  // Operations.
  // The menu window while the menu shows, else nullptr.
  TkwBarWindow* GetSubMenuControl() const;
  bool IsShown() const { return FIsShown; }
  // Shows the menu at a screen point and, unless NonModal, handles messages until it closes:
  // every message goes on to its window (commands of other windows too), and the loop ends as
  // soon as the menu has closed. Nothing while the menu shows already.
  void PopupAt(int X, int Y);
  // The same with a screen rectangle the menu keeps clear of and two placement values of the
  // menu window; Animate off opens it without animation.
  void PopupEx(int X, int Y, const TRect* ExcludeRect, bool Animate, int Value1, int Value2);
  bool ExecuteShortCut(TShortCut ShortCut);
  // Takes the manager's font (when it does not use its own).
  void ManagerFontChanged();

  // Overridables.
  virtual void DoPaintBar(TCanvas* Canvas, const TRect& R);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void FontChanged(TObject* Sender);
  void LinksChanged(TObject* Sender);
  void MenuCloseUp(TObject* Sender);
  void MenuPopup(TObject* Sender);
  bool StoresFont() const { return FUseOwnFont; }

  TkwBarManager* FBarManager = nullptr;  // not owned
  int FBarSize = 0;
  TFont* FFont;
  TkwBarItemLinks* FItemLinks = nullptr;
  bool FUseOwnFont = false;
  bool FUseRecentItems = false;
  TBitmap* FBackgroundBitmap;
  TOwnedFont FOwnFontHandle;
  bool FSettingOwnFont = false;
  const TRect* FExcludeRect = nullptr;
  int FPlacement[3] = {0, 0, 0};
  bool FIsShown = false;
  bool FAllowAnimation = true;
  // Set to false by the destructor: a loop of PopupAt that watches it stops touching the menu.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

using TkwBarPopupMenuLinkActionEvent =
    TEvent<void(TObject* Sender, int& X, int& Y, bool ClickedByMouse, bool& AllowPopup)>;

class TkwBarPopupMenuLink : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TkwBarPopupMenuLink, TCollectionItem)
 public:
  explicit TkwBarPopupMenuLink(TCollection* Collection) : TCollectionItem(Collection) {}

  TWinControl* Control() const { return FControl; }
  // A control whose form is not the manager's owner form is taken as nullptr.
  void SetControl(TWinControl* Value);
  TkwBarPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TkwBarPopupMenu* Value);
  TkwBarPopupMenuLinkActionEvent OnAction;
  void Assign(TPersistent* Source) override;

  TkwBarManager* GetBarManager() const;
  // Shows the popup menu for the control: the point is in the client coordinates of Window (a
  // window of the control), (-1, -1) for the keyboard (the caret, else the corner). True when
  // the menu showed (or, Deferred, will show once the current message is over).
  bool ShowPopup(HWND Window, TPoint ClientPoint, bool ByMouse, bool Deferred);

 private:
  friend class TkwBarPopupMenuLinks;
  void DoAction(int& X, int& Y, bool ByMouse, bool& AllowPopup);

  TWinControl* FControl = nullptr;        // not owned: cleared by the manager when it goes
  TkwBarPopupMenu* FPopupMenu = nullptr;  // not owned: cleared by the manager when it goes
};

class TkwBarPopupMenuLinks : public TCollection {
  VELBOR_DECLARE_CLASS(TkwBarPopupMenuLinks, TCollection)
 public:
  explicit TkwBarPopupMenuLinks(TkwBarManager* Manager);
  TkwBarPopupMenuLink* Items(int Index) const;
  TkwBarPopupMenuLink* Add();
  TkwBarManager* BarManager() const { return FManager; }
  TPersistent* GetOwner() override;

  // The first link of Control whose popup shows ends the search (outside design only). Point is
  // a screen point of the mouse, or (-1, -1) for the keyboard. Deferred: the menu shows once the
  // current message is over (a hook cannot wait for a menu).
  bool ShowPopupFor(TWinControl* Control, HWND Window, TPoint ScreenPoint, bool Deferred = false);
  // The popup menus of Control's links run the shortcut; the first that does ends the search.
  bool ExecuteShortCutFor(TWinControl* Control, TShortCut ShortCut);
  bool HasLinkFor(const TWinControl* Control) const;
  // A control or a popup menu goes: the links forget it.
  void Forget(TComponent* Component);

 private:
  TkwBarManager* FManager;
};

// Registers the popup menu and the groups with the form reader.
void RegisterBarPopupMenuClasses();
