// This file implements menus over the native ones: TMenuItem (caption, shortcut, check and radio
// items, separators, breaks, owner drawing, actions), TMenu, TMainMenu (the menu bar of a form,
// merged with an MDI child's) and TPopupMenu; and the shortcut helpers (ShortCut,
// ShortCutToText, TextToShortCut).
// Implemented in Menus.cpp (items, TMenu, TMainMenu), MenuPopup.cpp (TPopupMenu and the menu
// messages) and MenuShortCuts.cpp.
#pragma once

#include <vector>

#include "ActnList.h"
#include "Forms.h"

class TMenu;
class TMenuItem;

// A wrong operation on a menu's items (an index out of range, an item inserted twice).
VELBOR_EXCEPTION(EMenuError, Exception)

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
VELBOR_ENUM(TMenuBreak, "mbNone", "mbBreak", "mbBarBreak")

enum TPopupAlignment { paLeft, paRight, paCenter };
VELBOR_ENUM(TPopupAlignment, "paLeft", "paRight", "paCenter")

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TMenuMeasureItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

// --- Shortcuts ----------------------------------------------------------------------------------

// Key names, in the words of the French keyboard (ShortCutToText writes them, TextToShortCut
// reads them and the English ones):
//   modifiers    "Maj+" (also "Shift+"), "Ctrl+", "Alt+", written in that order
//   VK_BACK      "Retour arrière"   ("BkSp", "Backspace")
//   VK_TAB       "Tab"
//   VK_RETURN    "Entrée"           ("Enter", "Return")
//   VK_ESCAPE    "Echap"            ("Esc", "Escape")
//   VK_SPACE     "Espace"           ("Space")
//   VK_PRIOR     "Pg. préc."        ("PgUp")
//   VK_NEXT      "Pg. suiv."        ("PgDn")
//   VK_END       "Fin"              ("End")
//   VK_HOME      "Début"            ("Home")
//   VK_LEFT      "Gauche"           ("Left")
//   VK_UP        "Haut"             ("Up")
//   VK_RIGHT     "Droite"           ("Right")
//   VK_DOWN      "Bas"              ("Down")
//   VK_INSERT    "Inser"            ("Ins", "Insert")
//   VK_DELETE    "Suppr"            ("Del", "Delete")
//   'A'..'Z', '0'..'9', "F1".."F12" as such.
// Other keys have no name: ShortCutToText gives "" and TextToShortCut scNone.
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
String ShortCutToText(TShortCut ShortCut);
TShortCut TextToShortCut(const String& Text);
// The shortcut a key message (WM_KEYDOWN, CN_KEYDOWN...) stands for: Shift and Ctrl from the
// keyboard state, Alt from the key data.
TShortCut ShortCutFromKeyMessage(const TMessage& Message);

// --- Items --------------------------------------------------------------------------------------

// A menu item linked to an action: caption, checked and enabled states, hint, image, shortcut,
// visibility, automatic check and OnClick follow the action while they equal it.
class TMenuActionLink : public TActionLink {
  VELBOR_DECLARE_CLASS(TMenuActionLink, TActionLink)
 public:
  using TOwnerClass = TMenuItem;
  explicit TMenuActionLink(TMenuItem* AClient);

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsGroupIndexLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsAutoCheckLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const String& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetAutoCheck(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TMenuItem* FClient;
};

class TMenuItem : public TComponent {
  VELBOR_DECLARE_CLASS(TMenuItem, TComponent)
  friend class TMenu;
  friend class TMainMenu;

 public:
  explicit TMenuItem(TComponent* AOwner);
  // Leaves its parent and frees its sub-items.
  ~TMenuItem() override;

  // Properties.
  String Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of the same GroupIndex among its siblings.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Shown in bold; the item a double click on a window's system icon would run.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  // The group of radio items, and the merge group of a menu bar's top item.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  String Hint;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int HelpContext = 0;
  // A click toggles Checked.
  bool AutoCheck = false;
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);
  TMenuActionLink* ActionLink() const { return FActionLink; }

  // The native command identifier (unique in the program while the item lives).
  WORD Command() const { return FCommand; }
  // The native pop-up menu of the sub-items (made on first use).
  HMENU Handle();
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  // The menu the item belongs to, nullptr when none.
  TMenu* GetParentMenu() const;
  // A separator: the caption "-".
  bool IsLine() const { return FCaption == "-"; }

  // Operations.
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out (it is not freed).
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  // The sub-item whose caption, without its "&", is Caption (case-insensitive); nullptr when none.
  TMenuItem* Find(const String& ACaption) const;
  // AutoCheck, then OnClick or the action (the platform's order: an OnClick other than the
  // action's OnExecute wins).
  virtual void Click();
  // Updates the action, so that the item shows its current state.
  void InitiateAction();

  // Streaming: sub-items are read inside their item.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

 protected:
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // Owner drawing: OnDrawItem, else the caption and shortcut in the menu's colours.
  virtual void DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected);
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetChildOrder(TComponent* Child, int Order) override;

 private:
  friend class TMenuActionLink;
  friend bool MenuFormMessage(TCustomForm* Form, TMessage& Message);
  friend bool PopupListMessage(TMessage& Message);
  void DoActionChange(TObject* Sender);
  // Something shown of the item changed: its parent's native entries are rebuilt.
  void MenuChanged();
  // Rebuilds the native entries of this item's sub-items (and of a merged menu's).
  void RebuildHandle();
  void TurnSiblingsOff();
  // The entries shown: the sub-items, with those of a merged menu in their GroupIndex places.
  std::vector<TMenuItem*> ShownItems() const;
  TMenuItem* FindItem(UINT Value, TFindItemKind Kind);

  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  TMenuBreak FBreak = mbNone;
  TShortCut FShortCut = 0;
  int FImageIndex = -1;
  TMenuActionLink* FActionLink = nullptr;
  WORD FCommand = 0;
  HMENU FHandle = nullptr;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> FItems;
  TMenuItem* FMerged = nullptr;      // the root item whose sub-items merge into this one's
  TMenuItem* FMergedWith = nullptr;  // the root item this one's sub-items merge into
};

// --- Menus --------------------------------------------------------------------------------------

class TMenu : public TComponent {
  VELBOR_DECLARE_CLASS(TMenu, TComponent)
  friend class TMenuItem;

 public:
  explicit TMenu(TComponent* AOwner);
  // Frees the items; a form showing the menu lets it go first.
  ~TMenu() override;

  // The root item, whose sub-items are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  HMENU Handle() const { return FItems->Handle(); }
  // The items are drawn by DrawItem/OnDrawItem (owner drawn).
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The item of a command, a native sub-menu or a shortcut; nullptr when none.
  TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
  // Clicks the item whose shortcut the key message is, when enabled; true when an item has it.
  virtual bool IsShortCut(TMessage& Message);
  // Clicks the item of a command; false when it is none of this menu's.
  bool DispatchCommand(WORD ACommand);

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  // An item's entries changed (the root's: the bar must be redrawn).
  virtual void MenuChanged(TMenuItem* Source);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetChildOrder(TComponent* Child, int Order) override;

 private:
  TMenuItem* FItems;
  bool FOwnerDraw = false;
  TCustomImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
  VELBOR_DECLARE_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  ~TMainMenu() override;

  // A form that is not an MDI child merges its menu into the main form's only with AutoMerge.
  bool AutoMerge = false;
  // Shows Menu's top items in this bar: those of a GroupIndex the bar has replace the bar's, the
  // others go in GroupIndex order. Merge(nullptr) undoes it.
  void Merge(TMainMenu* Menu);
  void Unmerge(TMainMenu* Menu);
  TMainMenu* MergedMenu() const { return FMergedMenu; }

 protected:
  void MenuChanged(TMenuItem* Source) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMainMenu* FMergedMenu = nullptr;
};

class TPopupMenu : public TMenu {
  VELBOR_DECLARE_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
  ~TPopupMenu() override;

  TPopupAlignment Alignment = paLeft;
  // A right click (WM_CONTEXTMENU) on a control shows its popup menu.
  bool AutoPopup = true;
  // The control the menu was shown for (by a right click or set before Popup).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  TPoint PopupPoint() const { return FPopupPoint; }

  // Shows the menu at (X, Y), screen coordinates, and returns once it is closed; the chosen
  // item's Click runs before it returns.
  virtual void Popup(int X, int Y);

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};

// Builds items the way code lists them: NewItem("&Ouvrir", ShortCut('O', {ssCtrl}), ...).
TMenuItem* NewItem(const String& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, int HelpContext, const String& AName);
TMenuItem* NewLine();
// Makes Item's sub-menu the MDI frame's window menu (the list of children).
void SetWindowMenu(TCustomForm* Frame, TMenuItem* Item);

// Registers the menu classes with the form reader.
void RegisterMenuClasses();
// Joins the menu and action libraries to the forms (FormHooks); the menus and action lists call it
// when they are made.
void InstallMenuFormHooks();
// The live item of a native command or sub-menu; nullptr when none.
TMenuItem* MenuItemOfCommand(WORD Command);
TMenuItem* MenuItemOfHandle(HMENU Handle);
