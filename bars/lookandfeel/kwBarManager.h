// This file implements TkwBarManager, the non-visual component that owns everything a form shows
// as menus and tool bars: the categories of commands, the items registered with it, the bars and
// their dock sites, the background bitmaps; it chooses the painter from its style and the
// look-and-feel settings, keeps the font, brushes and metrics the bar windows draw with, and
// enters and leaves run-time customizing. One manager per form, owned by the form. Also the
// category list (TkwBarManagerCategories) and the background bitmaps (TkwBarBackgrounds).
#pragma once

#include <vector>

// The class library's own headers first: <windows.h> defines RegisterClass and GetObject as
// macros.
#include "Component.h"
#include "Strings.h"
#include "kjBase.h"
#include "kjLookAndFeel.h"
#include "Forms.h"
#include "ImageList.h"
#include "WinApi.h"
#include "kwBarTypes.h"
#include "kwThemes.h"

// The flags of one category, the object of its line in the category list.
class TkwBarCategoryFlags : public TObject {
 public:
  TkwBarItemVisible ItemsVisible = ivAlways;
  TkwBarItemVisible PendingItemsVisible = ivAlways;
  bool HasPending = false;
  bool Visible = true;
};

// The category names; each line's object holds its flags (none reads as ivAlways and visible).
// The items follow their category's name: deleting, inserting, exchanging or moving categories
// renumbers the Category of the items. In a description the flags follow the names as the lists
// "ItemsVisibles" (ordinals) and "Visibles" (Booleans).
class TkwBarManagerCategories : public TStringList {
  VELBOR_DECLARE_CLASS(TkwBarManagerCategories, TStringList)
 public:
  // Outside loading, the list starts with the category "Default".
  explicit TkwBarManagerCategories(TkwBarManager* Manager);
  TkwBarManager* BarManager() const { return FManager; }
  // The flags of a category, made when missing (nullptr outside the list).
  TkwBarCategoryFlags* Flags(int Index);

  // Frees the items of the category and renumbers those of the later ones; the list never stays
  // empty ("Default" comes back). Nothing for an index outside the list.
  void Delete(int Index) override;
  // Renumbers the items of the categories from Index on, then inserts the name.
  void Insert(int Index, const String& S) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  // All items of category OldIndex go to NewIndex (nothing for OldIndex outside the list or a
  // negative NewIndex).
  void SetCategoryIndex(int OldIndex, int NewIndex);
  // Copies the names and the flags (each list owns its own).
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  // What the manager writes after the names: the flags of every category.
  void WriteItemsVisibles(TWriter* Writer);
  void WriteVisibles(TWriter* Writer);

 private:
  void ReadStrings(TReader* Reader);
  void ReadItemsVisibles(TReader* Reader);
  void ReadVisibles(TReader* Reader);
  void ShiftItems(int From, int To, int Delta);

  TkwBarManager* FManager;
  bool FMoving = false;
};

// The bitmaps tiled behind bars and sub-menus; a change of the bar's bitmap restyles the bars.
class TkwBarBackgrounds : public TPersistent {
  VELBOR_DECLARE_CLASS(TkwBarBackgrounds, TPersistent)
 public:
  explicit TkwBarBackgrounds(TkwBarManager* Manager);
  ~TkwBarBackgrounds() override;
  TBitmap* Bar() const { return FBar; }
  void SetBar(TBitmap* Value);
  TBitmap* SubMenu() const { return FSubMenu; }
  void SetSubMenu(TBitmap* Value) { FSubMenu->Assign(Value); }
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  void BarChanged(TObject*);
  TkwBarManager* FManager;
  TBitmap* FBar;
  TBitmap* FSubMenu;
};

using TkwBarManagerBarEvent = TEvent<void(TkwBarManager* Sender, TkwBar* ABar)>;
using TkwBarManagerLinkEvent = TEvent<void(TkwBarManager* Sender, TkwBarItemLink* AItemLink)>;
using TkwBarManagerItemEvent = TEvent<void(TkwBarManager* Sender, TkwBarItem* ClickedItem)>;
using TkwBarManagerLinksEvent = TEvent<void(TkwBarManager* Sender, TkwBarItemLinks* PopupItemLinks)>;
using TkwBarDockingEvent =
    TEvent<void(TkwBar* Sender, TkwBarDockingStyle Style, TkwDockSite* DockControl, bool& CanDocking)>;
using TkwBarManagerMergeEvent = TEvent<void(TkwBarManager* Sender, TkwBarManager* ChildBarManager, bool AddItems)>;

class TkwBarGroup;
class TkwBarPopupMenu;
class TkwBarPopupMenuLinks;

class TkwBarManager : public TComponent {
  VELBOR_DECLARE_CLASS(TkwBarManager, TComponent)
 public:
  // The owner must be a form without a manager (nullptr: the application's main form).
  explicit TkwBarManager(TComponent* AOwner);
  ~TkwBarManager() override;

  // Properties.
  bool AllowCallFromAnotherForm = false;
  bool AllowReset() const { return FAllowReset; }
  void SetAllowReset(bool Value) { FAllowReset = Value; }
  bool AlwaysMerge = false;
  bool AlwaysSaveText = false;
  bool AutoDockColor() const { return FAutoDockColor; }
  void SetAutoDockColor(bool Value);
  bool AutoHideEmptyBars() const { return FAutoHideEmptyBars; }
  void SetAutoHideEmptyBars(bool Value);
  TkwBarBackgrounds* Backgrounds() const { return FBackgrounds; }
  void SetBackgrounds(TkwBarBackgrounds* Value) { FBackgrounds->Assign(Value); }
  TkwBars* Bars() const { return FBars; }
  void SetBars(TkwBars* Value);
  int ButtonArrowWidth() const { return FButtonArrowWidth; }
  void SetButtonArrowWidth(int Value);
  bool CanCustomize = true;
  TkwBarManagerCategories* Categories() const { return FCategories; }
  void SetCategories(TStrings* Value);
  TColor DockColor() const { return FStoredDockColor; }
  void SetDockColor(TColor Value);
  bool FlatCloseButton() const { return FFlatCloseButton; }
  void SetFlatCloseButton(bool Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value);
  TBitmap* HelpButtonGlyph() const { return FHelpButtonGlyph; }
  void SetHelpButtonGlyph(TBitmap* Value) { FHelpButtonGlyph->Assign(Value); }
  int HelpContext = 0;
  bool HideFloatingBarsWhenInactive() const { return FHideFloatingBarsWhenInactive; }
  void SetHideFloatingBarsWhenInactive(bool Value);
  TColor ImageListBkColor() const { return FImageListBkColor; }
  void SetImageListBkColor(TColor Value);
  TCustomImageList* Images() const { return FImageLists[0]; }
  void SetImages(TCustomImageList* Value) { SetImageList(0, Value); }
  TCustomImageList* LargeImages() const { return FImageLists[1]; }
  void SetLargeImages(TCustomImageList* Value) { SetImageList(1, Value); }
  TCustomImageList* HotImages() const { return FImageLists[2]; }
  void SetHotImages(TCustomImageList* Value) { SetImageList(2, Value); }
  TCustomImageList* DisabledImages() const { return FImageLists[3]; }
  void SetDisabledImages(TCustomImageList* Value) { SetImageList(3, Value); }
  TCustomImageList* DisabledLargeImages() const { return FImageLists[4]; }
  void SetDisabledLargeImages(TCustomImageList* Value) { SetImageList(4, Value); }
  String IniFileName;
  int LargeButtonArrowWidth() const { return FLargeButtonArrowWidth; }
  void SetLargeButtonArrowWidth(int Value);
  bool LargeIcons() const { return FLargeIcons; }
  void SetLargeIcons(bool Value);
  TkjLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  void SetLookAndFeel(TkjLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  TkwBarMenuAnimations MenuAnimations() const { return FMenuAnimations; }
  void SetMenuAnimations(TkwBarMenuAnimations Value);
  bool MenusShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst; }
  void SetMenusShowRecentItemsFirst(bool Value);
  BYTE MostRecentItemsPercents() const { return FMostRecentItemsPercents; }
  void SetMostRecentItemsPercents(BYTE Value);
  TkwBarDockingStyles NotDocking;
  String RegistryPath;
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value);
  bool ShowCloseButton() const { return FShowCloseButton; }
  void SetShowCloseButton(bool Value);
  bool ShowFullMenusAfterDelay() const { return FShowFullMenusAfterDelay; }
  void SetShowFullMenusAfterDelay(bool Value);
  bool ShowHelpButton = false;
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ShowHintForDisabledItems = true;
  bool ShowShortCutInHint() const { return FShowShortCutInHint; }
  void SetShowShortCutInHint(bool Value);
  bool StoreInIniFile = false;
  bool StoreInRegistry = false;
  bool StretchGlyphs = true;
  TkwBarManagerStyle Style() const { return FStyle; }
  void SetStyle(TkwBarManagerStyle Value);
  bool SunkenBorder() const { return FSunkenBorder; }
  void SetSunkenBorder(bool Value);
  bool UseF10ForMenu = true;
  bool UseFullReset = false;
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  int WaitForDockingTime() const { return FWaitForDockingTime; }
  void SetWaitForDockingTime(int Value);

  // Events.
  TkwBarManagerBarEvent OnBarAdd;
  TkwBarManagerBarEvent OnBarAfterReset;
  TkwBarManagerBarEvent OnBarBeforeReset;
  TkwBarManagerBarEvent OnBarClose;
  TkwBarManagerBarEvent OnBarDelete;
  TkwBarManagerBarEvent OnBarDockingStyleChange;
  TkwBarManagerBarEvent OnBarVisibleChange;
  TkwBarManagerLinkEvent OnItemLinkAdd;
  TkwBarManagerLinkEvent OnItemLinkChange;
  TkwBarManagerLinkEvent OnItemLinkDelete;
  TNotifyEvent OnCloseButtonClick;
  TNotifyEvent OnHelpButtonClick;
  TNotifyEvent OnHideCustomizingForm;
  TNotifyEvent OnShowCustomizingForm;
  TkwBarDockingEvent OnDocking;
  TkwBarManagerMergeEvent OnMenuMerge;
  TkwBarManagerLinksEvent OnShowCustomizingPopup;
  TkwBarManagerLinksEvent OnShowToolbarsPopup;
  TkwBarManagerItemEvent OnClickItem;

  // State.
  TCustomForm* OwnerForm() const { return FOwnerForm; }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsDesigning() const { return FDesignMode; }
  bool IsCustomizing() const { return FRunTimeCustomizing || FDesignMode; }
  bool IsRunTimeCustomizing() const { return FRunTimeCustomizing; }
  // Reset to the design is possible only for a manager read from one form resource.
  bool CanReset() const { return FResourceReadCount == 1 && FAllowReset; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool FormActive() const { return FFormActive; }
  // Set while the floating bars are shown or hidden for a change of the form's activation.
  bool ActivationGuard() const { return FActivationGuard; }
  // Stores the active state of the owner form and shows or hides the floating bars with it.
  void SetFormActive(bool Active, bool Forced = false, HWND OtherWindow = nullptr);
  TkwBar* MainMenuBar() const { return FMainMenuBar; }
  int RecentThreshold() const { return FRecentThreshold; }
  // The painter of the effective style.
  const TkwBarPainter* Painter() const { return FPainter; }
  bool ThemesUsable() const { return FThemesUsable; }
  HFONT MenuFont() const { return FMenuFont; }
  TkwBarWindow* MenuModeBarControl() const { return FMenuModeBarControl; }
  void SetMenuModeBarControl(TkwBarWindow* Value) { FMenuModeBarControl = Value; }
  TkwBarItemControl* SelectedItemControl() const { return FSelectedItemControl; }
  bool DetachingSubMenu = false;
  bool StyleChanging() const { return FStyleChanging; }
  bool InLoadedLayout() const { return FInLoadedLayout; }
  bool DraggingItem = false;
  TkwBarItem* DragItem = nullptr;
  TkwBarItemLink* DragLink = nullptr;
  HWND DragWindow = nullptr;
  int BarContentOffset() const { return FBarContentOffset; }
  int GripSize() const { return FGripSize; }
  int EditInset() const { return FEditInset; }
  int GlyphSize() const { return FGlyphSize; }
  int ButtonSize() const { return FButtonSize; }
  int ButtonWidth() const { return FButtonWidth; }
  int ArrowWidth() const { return FArrowWidth; }
  // The five brushes of the flat looks: frame, bar face, checked, pressed, selected.
  HBRUSH FlatBrush(int Index) const { return Index >= 0 && Index < 5 ? FBrushes[Index].Get() : nullptr; }
  COLORREF GetLightHighlightColor() const { return FLightHighlightColor; }
  HBRUSH ThemedBrush() const { return FThemedBrush; }
  bool RedrawLocked() const { return FRedrawLocked; }
  void SetRedrawLocked(bool Value);

  // Items.
  int GetItemCount() const { return int(FItems.size()); }
  TkwBarItem* GetItem(int Index) const;
  void ExchangeItems(int Index1, int Index2);
  void MoveItem(int CurIndex, int NewIndex);
  TkwBarItem* FindItemByName(const String& Name) const;
  int IndexOfItem(const TkwBarItem* Item) const;
  void GetItemsOfCategory(int Category, std::vector<TkwBarItem*>& List) const;
  void GetCategoryVisibleItems(int Category, std::vector<TkwBarItem*>& List) const;
  TkwBarItemVisible GetCategoryItemsVisible(int Index) const;
  void SetCategoryItemsVisible(int Index, TkwBarItemVisible Value);
  bool GetCategoryVisible(int Index) const;
  void SetCategoryVisible(int Index, bool Value);
  int GetCategoryRealIndex(int Index) const;

  // Groups (the bar groups register themselves). AddGroup makes one owned by the owner form.
  TkwBarGroup* AddGroup();
  void RegisterGroup(TComponent* Group);
  void UnregisterGroup(TComponent* Group);
  int GetGroupCount() const { return int(FGroups.size()); }
  TComponent* GetGroup(int Index) const;

  // Dock sites.
  void AddDockControl(TkwDockSite* Site);
  void RemoveDockControl(TkwDockSite* Site);
  int DockControlCount() const { return int(FDockSites.size()); }
  TkwDockSite* DockControl(int Index) const { return FDockSites[std::size_t(Index)]; }
  // The dock site a layout names by its path ("Form.Site", or "Site" on the owner form); nullptr
  // when the path names nothing or something else (a bar refuses another manager's site).
  TkwDockSite* FindDockControl(const String& Path) const;
  // The path a layout names a dock site by: its name after those of its owners up to the first
  // without a name.
  static String DockControlPath(const TkwDockSite* Site);
  TColor GetDockColor() const;

  // Bars and menus.
  TkwBar* FindBarByCaption(const String& Caption) const;
  // The popup menus that use this manager (they register themselves) and the links of the form's
  // controls to popup menus.
  TkwBarPopupMenuLinks* PopupMenuLinks() const { return FPopupMenuLinks; }
  void SetPopupMenuLinks(TkwBarPopupMenuLinks* Value);
  void AddPopupMenu(TkwBarPopupMenu* Menu);
  void RemovePopupMenu(TkwBarPopupMenu* Menu);
  int PopupMenuCount() const { return int(FPopupMenus.size()); }
  TkwBarPopupMenu* PopupMenu(int Index) const { return FPopupMenus[std::size_t(Index)]; }
  void BuildToolbarsListLinks(TkwBarItemLinks* Links);
  void AddCustomizeItemLink(TkwBarItemLinks* Links, bool BeginGroup, TClass ItemClass);
  void SetCustomizing(bool Value);
  void HideAllMenus();
  void SetSelectedItemControl(TkwBarItemControl* Control);
  // The selection as a plain forget (a control that goes).
  void ForgetSelectedItemControl(TkwBarItemControl* Control);
  HWND GetActiveMDIChild() const;
  int GetSizingBorderWidth() const;
  int GetSizingBorderHeight() const;
  bool UsesRecentItemsFirst() const { return HasEnhancedStyle() && FMenusShowRecentItemsFirst; }
  bool IsFlatStyle() const { return FStyle == bmsFlat; }
  TkwBarManagerStyle GetEffectiveStyle() const;
  bool HasEnhancedStyle() const { return GetEffectiveStyle() != bmsStandard; }
  virtual bool CanDock(TkwBar* Bar, TkwBarDockingStyle Style, TkwDockSite* Site);
  virtual void DoClickItem(TkwBarItem* Item);

  // Messages of the owner form (the library's window-procedure hook hands them over before the
  // form handles them): floating bars in step with the form, the layout saved when the window
  // goes, display and setting changes, help requests closing the menus.
  void HandleOwnerFormMessage(UINT Msg, WPARAM WParam, LPARAM LParam);
  void UpdateFloatingBars(bool Active, bool Forced, HWND OtherWindow);
  void KeepFloatingBarsOnScreen();
  // The active MDI child changed (or was maximized, restored, destroyed): its main menu merges
  // into the frame's main menu bar.
  void MDIChildChanged(HWND ChildWindow);
  // The same once the current message is over (what the hook does: the system is still switching
  // children meanwhile).
  void RequestMDIChildChanged();
  void MergeChildMenu(TCustomForm* Child, bool Activate, bool SystemMenuOnly, bool KeepLocked);
  // The MDI child whose menu is merged now (nullptr: none); forgotten when it is freed.
  TCustomForm* LastMDIChild() const { return FLastMDIChild; }
  // A bar whose showing waits for the owner form's window (shown when it is created).
  void AddBarToShow(TkwBar* Bar);

  // The layout in the registry (under HKEY_CURRENT_USER) and in an ini file; nothing for an empty
  // path or name. Loading takes what it can read and keeps the current value of everything it
  // cannot (a missing, damaged or foreign value, bar or link list).
  void SaveToRegistry(const String& RegistryPath);
  void LoadFromRegistry(const String& RegistryPath);
  void SaveToIniFile(const String& IniFileName);
  void LoadFromIniFile(const String& IniFileName);

  // The manager as the form's designer stored it: a temporary form read from the owner form's
  // description, holding a copy of the manager and its items (nullptr when the form has no
  // description, or it holds no manager of this name). The caller frees it.
  TCustomForm* LoadDesignCopy();
  // Asks, then restores the recently used state of every link from the design.
  void ConfirmResetUsageData();
  void ResetUsageData();

  // Item hints: requested (after the delay, or at once while one shows or just went) or cancelled;
  // Text in place of the hint of the selected item control.
  void UpdateHint(bool Show, const String& Text);
  void ShowHintNow();

  // The customizing drag of an item (Link nullptr: a command from a list) or of one of its links.
  // Detected: the caller saw the pointer move beyond the drag threshold already (its moves may
  // have been merged into the one it read), so a release anywhere drops.
  void DragItemLink(TkwBarItem* Item, TkwBarItemLink* Link, bool Detected = false);
  // XORs the insertion mark at a side of an item control (drawn again, it goes).
  static void DrawInsertionMark(TkwBarItemControl* Control, bool Outside, bool Vertical, bool FirstHalf);

  // What the bars, links and items tell the manager.
  void DesignerModified();
  // Whether design changes mark the manager modified (off while an item takes an action that is
  // being read).
  bool DesignerNotifyEnabled() const { return FDesignerNotifyEnabled; }
  void SetDesignerNotifyEnabled(bool Value) { FDesignerNotifyEnabled = Value; }
  void ItemChangedAtDesignTime(TkwBarItem* Item);
  void AddItem(TkwBarItem* Item);
  void RemoveItem(TkwBarItem* Item);
  // Style: the painter and the cached metrics follow the style, the look-and-feel and the theme.
  void StyleChanged();
  void RefreshBarWindows();
  void CalcButtonMetrics();
  // The system fonts (settings changed, or UseSystemFont turned on).
  void ApplySystemFont();
  // The system colours changed: brushes and Office-2003 colours are made again.
  void SystemColorsChanged();
  void DoBarAdd(TkwBar* Bar);
  void DoBarDelete(TkwBar* Bar);
  void DoBarVisibleChange(TkwBar* Bar);
  void DoItemLinkAdd(TkwBarItemLink* Link);
  void DoItemLinkChange(TkwBarItemLink* Link);
  void DoItemLinkDelete(TkwBarItemLink* Link);
  virtual void DoBarAfterReset(TkwBar* Bar);
  virtual void DoBarBeforeReset(TkwBar* Bar);
  virtual void DoBarClose(TkwBar* Bar);
  virtual void DoBarDockingStyleChange(TkwBar* Bar);
  virtual void DoCloseButtonClick();
  virtual void DoHelpButtonClick();
  virtual void DoShowCustomizingPopup(TkwBarItemLinks* Links);
  virtual void DoShowToolbarsPopup(TkwBarItemLinks* Links);

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;

 public:
  // While a design copy is being read (its Loaded loads no stored layout).
  static bool ReadingDesignCopy;
  // In design, the items named after the manager follow its new name.
  void SetName(const String& NewName) override;

 private:
  void SetImageList(int Index, TCustomImageList* Value);
  void WriteCategoryItemsVisibles(TWriter* Writer);
  void WriteCategoryVisibles(TWriter* Writer);
  bool CategoriesHaveFlags() const;
  void ShowFloatingBarWindows(bool Show);
  void ChildMenuBarVisible(TkwBarManager* ChildManager, bool Visible);
  bool MarkNeeded(TkwBarItemControl* Hovered, bool Outside, bool FirstHalf) const;
  void ImageListChanged(TObject* Sender);
  void FontChanged(TObject* Sender);
  void LookAndFeelChanged(TkjLookAndFeel* Sender, TkjLookAndFeelValues Values);
  void ThemeChanged();
  void CreateBrushes();
  void DeleteBrushes();
  void UpdateMenuFont();
  void CalcRecentThreshold();
  void ToolbarItemClick(TObject* Sender);
  void ReadDockControlHeights(TReader* Reader);
  void WriteDockControlHeights(TWriter* Writer);
  bool StoresDockColor() const { return !FAutoDockColor; }
  void CategoriesChanged(TObject* Sender);
  friend class TkwBar;
  friend class TkwBars;
  friend class TkwBarManagerCategories;

  bool FCreating = true;
  bool FDesignMode = false;
  bool FDesignerNotifyEnabled = false;
  bool FStyleChanging = false;
  std::vector<TkwDockSite*> FDockSites;
  TColor FStoredDockColor = clBtnFace;
  TOwnedFont FMenuFont;
  bool FInLoadedLayout = false;
  TOwnedBrush FBrushes[5];
  COLORREF FLightHighlightColor = 0;
  TOwnedBrush FThemedBrush;
  TkwBarWindow* FMenuModeBarControl = nullptr;
  std::vector<TComponent*> FGroups;
  TChangeLink* FImageLinks[5] = {};
  TCustomImageList* FImageLists[5] = {};
  bool FSettingSystemFont = false;
  bool FRunTimeCustomizing = false;
  std::vector<TkwBarItem*> FItems;
  bool FRedrawLocked = false;
  // The dock sites whose drawing the lock turned off. Turning drawing off takes a window's
  // visible flag away until it is turned on again, so these are the ones to turn on at the end:
  // a visible check then would find none of them.
  std::vector<TkwDockSite*> FRedrawLockedSites;
  TCustomForm* FOwnerForm = nullptr;
  bool FFormActive = false;
  TkwBar* FMainMenuBar = nullptr;
  bool FModified = false;
  int FRecentThreshold = 20;
  const TkwBarPainter* FPainter = nullptr;
  int FResourceReadCount = 0;
  TkwBarItemControl* FSelectedItemControl = nullptr;
  bool FThemesUsable = false;
  TkwThemeChangedNotificator* FThemeNotifier = nullptr;
  int FBarContentOffset = 0;
  int FGripSize = 0;
  int FEditInset = 0;
  int FGlyphSize = 16;
  int FButtonSize = 23;
  int FButtonWidth = 22;
  int FArrowWidth = 11;
  int FDockHeights[4] = {0, 0, 0, 0};
  bool FHoldsOffice11Colors = false;
  std::vector<TkwBarPopupMenu*> FPopupMenus;
  TkwBarPopupMenuLinks* FPopupMenuLinks = nullptr;
  TCustomForm* FLastMDIChild = nullptr;  // not owned: forgotten when freed
  bool FLastChildZoomed = false;
  bool FSavedChildMenuVisible = false;
  bool FActivationGuard = false;
  bool FMerging = false;
  std::vector<TkwBar*> FBarsToShow;

  bool FAllowReset = true;
  bool FAutoDockColor = true;
  bool FAutoHideEmptyBars = false;
  TkwBarBackgrounds* FBackgrounds = nullptr;
  TkwBars* FBars = nullptr;
  int FButtonArrowWidth = 11;
  TkwBarManagerCategories* FCategories = nullptr;
  bool FFlatCloseButton = false;
  TFont* FFont = nullptr;
  TBitmap* FHelpButtonGlyph = nullptr;
  bool FHideFloatingBarsWhenInactive = true;
  TColor FImageListBkColor = clFuchsia;
  int FLargeButtonArrowWidth = 13;
  bool FLargeIcons = false;
  TkjLookAndFeel* FLookAndFeel = nullptr;
  TkwBarMenuAnimations FMenuAnimations = maNone;
  bool FMenusShowRecentItemsFirst = true;
  BYTE FMostRecentItemsPercents = 95;
  bool FScaled = true;
  bool FShowCloseButton = false;
  bool FShowFullMenusAfterDelay = true;
  bool FShowHint = true;
  bool FShowShortCutInHint = false;
  TkwBarManagerStyle FStyle = bmsEnhanced;
  bool FSunkenBorder = false;
  bool FUseSystemFont = true;
  int FWaitForDockingTime = 21;
};

// The smallest use count that marks a link as recently used: 0 at 100 %, else the smallest n
// with n (100 - percents) div 100 > 0.
int RecentThresholdOf(int MostRecentItemsPercents);
// Makes the bar library's components known to the form reader.
void RegisterBarManagerClasses();
