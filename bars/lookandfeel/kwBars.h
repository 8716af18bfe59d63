// This file implements the bars and the item links: TkwBarItemLink places one item in one bar,
// sub-menu or popup menu, with its own group mark, user overrides, visibility and usage record;
// TkwBarItemLinks is the ordered collection of the links of one owner, with its derived lists
// (available, visible, shown) and the window that shows them; TkwBar is one tool bar or the main
// menu bar; TkwBars is the manager's collection of bars, which owns the four edge dock sites.
#pragma once

#include <vector>

// The class registry first: <windows.h> defines RegisterClass as a macro.
#include "Collection.h"
#include "ActnList.h"
#include "Graphics.h"
#include "WinApi.h"
#include "kwBarTypes.h"

class TkwBarItemLink : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TkwBarItemLink, TCollectionItem)
 public:
  // Visible, with the manager's recently-used threshold as use count, at the end of the recent
  // order.
  explicit TkwBarItemLink(TCollection* Collection);
  // Frees its item control, leaves its item's links and the recent order.
  ~TkwBarItemLink() override;

  // Properties.
  // Whether a separator line precedes the link where it is shown (see GetBeginGroup).
  bool BeginGroup() const { return GetBeginGroup(); }
  void SetBeginGroup(bool Value);
  TkwBarItem* Item() const { return FItem; }
  // nullptr leaves the link without item: it is no longer available, and its collection keeps it.
  void SetItem(TkwBarItem* Value);
  bool MostRecentlyUsed() const { return FMostRecentlyUsed; }
  void SetMostRecentlyUsed(bool Value);
  const String& UserCaption() const { return FUserCaption; }
  void SetUserCaption(const String& Value);
  TkwBarUserDefines UserDefine() const { return FUserDefine; }
  void SetUserDefine(TkwBarUserDefines Value);
  TBitmap* UserGlyph() const { return FUserGlyph; }
  void SetUserGlyph(TBitmap* Value);
  TkwBarPaintStyle UserPaintStyle() const { return FUserPaintStyle; }
  void SetUserPaintStyle(TkwBarPaintStyle Value);
  int UserWidth() const { return FUserWidth; }
  void SetUserWidth(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The item control while the link is shown in a window (nullptr otherwise).
  TkwBarItemControl* Control() const { return FControl; }
  // The rectangle of the link in its window, set by the window.
  TRect ItemRect;
  int UseCount = 0;
  // Links of temporary menus copy a link of a bar.
  TkwBarItemLink* OriginalLink = nullptr;
  int StoredRecentIndex = -1;
  int PendingRecentIndex = -1;
  int PendingUseCount = 0;
  bool PendingVisible = true;

  // Operations.
  int GetAvailableIndex() const;
  int GetVisibleIndex() const;
  int GetShownIndex() const;
  int GetRecentIndex() const;
  TkwBarWindow* GetBarControl() const;
  TkwBarManager* GetBarManager() const;
  TkwBarItemLinks* GetLinks() const;
  TkwBarItemLink* GetOriginalLink() { return OriginalLink ? OriginalLink : this; }
  bool GetBeginGroup() const;
  String GetCaption() const;
  TBitmap* GetGlyph() const;
  TkwBarPaintStyle GetPaintStyle() const;
  int GetWidth() const;
  // The item is visible now and the link is visible.
  bool IsAvailable() const;
  void MarkUsed(bool Count);
  void MarkUnused();
  void BringToFront(bool Count);
  void SetRecentIndex(int Index);
  void ApplyMostRecentlyUsed();
  void CopyUsageFrom(TkwBarItemLink* Source);
  void CreateItemControl();
  void FreeItemControl();
  // The accelerator of a caption: the character after its last single "&", lower-cased; Shift
  // is dropped from the shift state when the character was not lower-case already.
  static char GetAcceleratorChar(const String& Caption, int& Shift);
  // Whether Key with Shift (1 Shift, 4 Ctrl) types the link's accelerator.
  bool MatchesAccelerator(WORD Key, int Shift) const;
  void Assign(TPersistent* Source) override;

 protected:
  // The owner hears of a design change, then OnItemLinkChange.
  void Changed();

 private:
  friend class TkwBarItemLinks;
  friend class TkwBarItemControl;
  friend class TkwBarItem;
  void SetControl(TkwBarItemControl* Value) { FControl = Value; }

  bool FBeginGroup = false;
  TkwBarItemControl* FControl = nullptr;  // owned while shown
  TkwBarItem* FItem = nullptr;            // not owned
  bool FMostRecentlyUsed = true;
  String FUserCaption;
  TkwBarUserDefines FUserDefine;
  TBitmap* FUserGlyph;  // owned
  TkwBarPaintStyle FUserPaintStyle = psStandard;
  int FUserWidth = 0;
  bool FVisible = true;
};

class TkwBarItemLinks : public TCollection {
  VELBOR_DECLARE_CLASS(TkwBarItemLinks, TCollection)
 public:
  TkwBarItemLinks(TkwBarManager* Manager, TObject* AOwner);
  // Frees the window that shows the links, unless it is going already.
  ~TkwBarItemLinks() override;

  TkwBarItemLink* Items(int Index) const;
  TkwBarItemLink* Add();
  int IndexOf(const TkwBarItemLink* Link) const;
  int IndexOfAvailable(const TkwBarItemLink* Link) const;
  int IndexOfVisible(const TkwBarItemLink* Link) const;
  int IndexOfShown(const TkwBarItemLink* Link) const;
  TkwBarItemLink* GetAvailableItem(int Index) const;
  int GetAvailableItemCount() const { return int(FAvailable.size()); }
  TkwBarItemLink* GetVisibleItem(int Index) const;
  int GetVisibleItemCount() const { return int(FVisible.size()); }
  TkwBarItemLink* GetShownItem(int Index) const;
  int GetShownItemCount() const { return int(FShown.size()); }
  // The links, most recently used first.
  int GetRecentCount() const { return int(FRecentOrder.size()); }
  TkwBarItemLink* GetRecentItem(int Index) const { return FRecentOrder[std::size_t(Index)]; }

  TkwBarManager* BarManager() const { return FManager; }
  // The links of a sub-item follow it to another manager.
  void SetBarManager(TkwBarManager* Value) { FManager = Value; }
  TObject* OwnerObject() const { return FOwner; }
  TPersistent* GetOwner() override;
  TkwBarWindow* BarControl() const { return FBarControl; }
  void SetBarControl(TkwBarWindow* Value) { FBarControl = Value; }
  bool Assigning() const { return FAssigning; }
  int RecentItemCount() const { return FRecentCount; }
  bool UseRecentItems = true;
  // Called after the links changed (a bar redraws, the manager hears of a design change).
  TNotifyEvent OwnerNotification;

  // The three lists: available (an item that is visible now), visible (and the link visible),
  // shown (all visible ones, or the recently used part of them).
  void RebuildLinkLists();
  void SetRecentItemCount(int Count);
  void RestoreRecentItemCount();
  int CalcRecentItemCount() const;
  bool UsesRecentItems() const;
  int GetFittingCount() const;
  TkwBarItemLink* GetFirstSelectableLink() const;
  TkwBarItemLink* GetLastSelectableLink() const;
  TkwBarItemLink* GetNextSelectableLink(TkwBarItemLink* Link) const;
  TkwBarItemLink* GetPrevSelectableLink(TkwBarItemLink* Link) const;
  // The first link after After (cyclically, at most once round) whose item takes accelerators
  // and whose caption's accelerator is the key; nullptr when none.
  TkwBarItemLink* FindByAccelerator(WORD Key, int Shift, TkwBarItemLink* After) const;
  bool ExecuteShortCut(TShortCut ShortCut);
  bool HasItem(const TkwBarItem* Item) const;
  bool IsDesignContent() const;
  void Assign(TPersistent* Source) override;
  void ClearItemRects();
  void ApplyLoadedState(bool WithVisible);
  void PackRecentOrder();
  void CopyUsageFrom(TkwBarItemLinks* Source);
  void UpdateItemActions();
  // The window for the links: a bar's links get a tool bar, the others a menu.
  void CreateBarControl();
  // Moves a link within the recent order.
  void MoveInRecentOrder(TkwBarItemLink* Link, int Index);

 protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

 private:
  friend class TkwBarItemLink;
  bool IsSelectableLink(TkwBarItemLink* Link) const;
  std::vector<TkwBarItemLink*> SelectableLinks() const;

  bool FAssigning = false;
  std::vector<TkwBarItemLink*> FAvailable;
  std::vector<TkwBarItemLink*> FVisible;
  std::vector<TkwBarItemLink*> FShown;
  TkwBarWindow* FBarControl = nullptr;  // not owned: the window frees itself
  TkwBarManager* FManager;
  TObject* FOwner;
  int FPreviousRecentCount = -1;
  std::vector<TkwBarItemLink*> FRecentOrder;
  int FRecentCount = -1;
};

class TkwBar : public TCollectionItem {
  VELBOR_DECLARE_CLASS(TkwBar, TCollectionItem)
 public:
  explicit TkwBar(TCollection* Collection);
  ~TkwBar() override;

  // Properties.
  bool AllowClose() const { return FAllowClose; }
  void SetAllowClose(bool Value);
  bool AllowCustomizing = true;
  bool AllowQuickCustomizing() const { return FAllowQuickCustomizing; }
  void SetAllowQuickCustomizing(bool Value);
  bool AllowReset = true;
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE Value);
  TBitmap* BackgroundBitmap() const { return FBackgroundBitmap; }
  void SetBackgroundBitmap(TBitmap* Value);
  TkwBarBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TkwBarBorderStyle Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TkwDockSite* DockControl() const { return FDockControl; }
  void SetDockControl(TkwDockSite* Value);
  TkwDockSite* DockedDockControl() const { return FDockedDockControl; }
  void SetDockedDockControl(TkwDockSite* Value);
  TkwBarDockingStyle DockedDockingStyle() const;
  void SetDockedDockingStyle(TkwBarDockingStyle Value);
  int DockedLeft() const { return FDockedLeft; }
  void SetDockedLeft(int Value);
  int DockedTop() const { return FDockedTop; }
  void SetDockedTop(int Value);
  TkwBarDockingStyle DockingStyle() const;
  void SetDockingStyle(TkwBarDockingStyle Value);
  int FloatLeft() const { return FFloatLeft; }
  void SetFloatLeft(int Value);
  int FloatTop() const { return FFloatTop; }
  void SetFloatTop(int Value);
  int FloatClientWidth() const { return FFloatClientWidth; }
  void SetFloatClientWidth(int Value);
  int FloatClientHeight() const { return FFloatClientHeight; }
  void SetFloatClientHeight(int Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool Hidden() const { return FHidden; }
  void SetHidden(bool Value);
  bool IsMainMenu() const { return FIsMainMenu; }
  void SetIsMainMenu(bool Value);
  TkwBarItemLinks* ItemLinks() const { return FItemLinks; }
  void SetItemLinks(TkwBarItemLinks* Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TkwBarDockingStyles NotDocking;
  bool OneOnRow = false;
  bool RotateWhenVertical() const { return FRotateWhenVertical; }
  void SetRotateWhenVertical(bool Value);
  int Row() const { return FRow; }
  void SetRow(int Value) { FRow = Value < 0 ? 0 : Value; }
  bool ShowMark() const { return FShowMark; }
  void SetShowMark(bool Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool UseOwnFont() const { return FUseOwnFont; }
  void SetUseOwnFont(bool Value);
  bool UseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);
  bool UseRestSpace() const { return FUseRestSpace; }
  void SetUseRestSpace(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool WholeRow() const { return FWholeRow; }
  void SetWholeRow(bool Value);

  // State.
  bool HiddenBecauseEmpty = false;
  bool FromResource = false;
  bool PendingVisible = false;
  TkwDockSite* PendingDockControl = nullptr;
  TkwBarDockingStyle PendingDockingStyle = dsNone;
  bool HasPendingDockControl = false;
  bool HasPendingDockingStyle = false;
  bool UpdateLock() const { return FUpdateLock; }
  void SetUpdateLock(bool Value);
  HFONT OwnFontHandle() const { return FOwnFontHandle; }

  // Operations.
  TkwBarManager* GetBarManager() const;
  TkwBars* GetBars() const;
  TkwBarWindow* GetControl() const;
  TkwDockSite* GetCurrentDockSite() const;
  void ChangeDocking(TkwBarDockingStyle Style, TkwDockSite* Site);
  bool IsClosable() const { return FAllowClose && !FIsMainMenu; }
  bool CanReset() const { return FromResource && AllowReset; }
  // Asks (OK, Cancel), then Reset.
  void ConfirmReset();
  // Back to the form's design: the links (or, with the manager's UseFullReset, the whole bar) and
  // the recently used state, from the design copy's bar of the same index. Nothing without one.
  void Reset();
  bool IsStatusBarStyle() const;
  bool ShowsSizeGrip() const;
  int GetNonClientWidth(TkwBarDockingStyle Style) const;
  int GetNonClientHeight(TkwBarDockingStyle Style) const;
  // Takes the manager's font (when it does not use its own).
  void ManagerFontChanged();
  void AddDetachingSubItem(TkwBarItem* Item);
  void RemoveDetachingSubItem(TkwBarItem* Item);
  // Applies the values held while the manager loaded: links, then dock site or docking style,
  // then Visible.
  void ApplyPendingState();
  void Assign(TPersistent* Source) override;
  String DisplayName() const override { return FCaption; }

 private:
  friend class TkwBars;
  friend class TkwBarManager;
  void FontChanged(TObject* Sender);
  void BackgroundChanged(TObject* Sender);
  void LinksChanged(TObject* Sender);
  void Hide();
  void Show();
  void RebuildWindow();
  bool StoresDockedDockingStyle() const { return FDockedDockControl == nullptr; }
  bool StoresDockingStyle() const { return FDockControl == nullptr; }

  bool FAllowClose = true;
  bool FAllowQuickCustomizing = true;
  BYTE FAlphaBlendValue = 255;
  TBitmap* FBackgroundBitmap;
  TkwBarBorderStyle FBorderStyle = bbsSingle;
  String FCaption;
  bool FChangingDocking = false;
  TkwDockSite* FDockControl = nullptr;
  TkwDockSite* FDockedDockControl = nullptr;
  TkwBarDockingStyle FDockedDockingStyle = dsTop;
  TkwBarDockingStyle FDockingStyle = dsNone;
  int FDockedLeft = 0;
  int FDockedTop = 0;
  int FFloatLeft = 0;
  int FFloatTop = 0;
  int FFloatClientWidth = 0;
  int FFloatClientHeight = 0;
  TFont* FFont;
  bool FHidden = false;
  bool FIsMainMenu = false;
  TkwBarItemLinks* FItemLinks;
  bool FMultiLine = false;
  String FName;
  bool FRotateWhenVertical = true;
  int FRow = 0;
  bool FShowMark = true;
  bool FSizeGrip = true;
  bool FUseOwnFont = false;
  bool FUseRecentItems = true;
  bool FUseRestSpace = false;
  bool FVisible = false;
  bool FWholeRow = false;
  TOwnedFont FOwnFontHandle;
  std::vector<TkwBarItem*> FDetachingSubItems;
  bool FSettingOwnFont = false;
  bool FDestroyingWindow = false;
  bool FUpdateLock = false;
};

class TkwBars : public TCollection {
  VELBOR_DECLARE_CLASS(TkwBars, TCollection)
 public:
  // Creates the four edge dock sites (through the bar windows library).
  explicit TkwBars(TkwBarManager* Manager);
  ~TkwBars() override;
  TkwBar* Items(int Index) const;
  TkwBar* Add();
  TkwBarManager* BarManager() const { return FManager; }
  TPersistent* GetOwner() override;
  // The edge dock site of a docking style (nullptr for dsNone, or without the windows library).
  TkwDockSite* EdgeDockSite(TkwBarDockingStyle Style) const;
  void ForgetEdgeDockSite(TkwDockSite* Site);
  // Base followed by the first counter from 1 that no bar has as Name.
  String MakeUniqueName(const String& Base) const;
  // Into the site, else into the edge site of the style (nothing for dsNone without site).
  void DockBarControl(TkwBarWindow* Window, TkwBarDockingStyle Style, TkwDockSite* Site, TPoint ScreenPoint);
  void UndockBarControl(TkwBarWindow* Window, TkwBarDockingStyle Style, TkwDockSite* Site);
  bool Busy = false;
  bool Dragging = false;

  // Moves a bar by its grip: a modal loop while the mouse is captured; the bar floats or docks
  // wherever the cursor is, live (Ctrl keeps it floating; a floating bar docks after resting
  // WaitForDockingTime over a dock zone); the left button ends it, Escape too, where it is.
  void TrackBarDrag(TkwBarWindow* Window);
  // One move of the drag: the docking for the point, applied.
  void DragStep(TkwBarWindow* Window, TPoint ScreenPoint);
  // The docking style (dsNone: floating) and the dock site for a point.
  TkwBarDockingStyle FindDockTarget(TkwBar* Bar, TPoint ScreenPoint, TkwDockSite*& Site);
  // The drag's state: the window, the offset added to the cursor for its reference point.
  TkwBarWindow* DraggedWindow() const { return FDragWindow; }
  TPoint DragOffset() const { return FDragOffset; }

 protected:
  void Update(TCollectionItem*) override {}

 private:
  TkwBarManager* FManager;
  TkwDockSite* FEdgeDockSites[5] = {};
  TkwBarWindow* FDragWindow = nullptr;
  TkwBarDockingStyle FOriginalDockingStyle = dsNone;
  TPoint FDragOffset;
  TPoint FGrabOffset;
};

// While a bar is reset, links copied from the design take the items of the same names on the
// running form.
extern bool BarResetting;
