// This file implements the bar manager, its category list and its background bitmaps.
#include "kwBarManager.h"

#include <algorithm>

#include "Filer.h"
#include "Modules.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "kwBarGroups.h"
#include "kwBarHint.h"
#include "kwBarHooks.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarPainter.h"
#include "kwBarPopupMenu.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"
#include "kwBars.h"
#include "kwDockSite.h"
#include "kwOffice11Colors.h"

// --- TkwBarManagerCategories ----------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarManagerCategories)

TkwBarManagerCategories::TkwBarManagerCategories(TkwBarManager* Manager) : FManager(Manager) {
  OwnsObjects = true;
  if (!Manager->IsLoading()) Add(GetLocalizedResourceString(&kjSDefaultCategory));
}

TkwBarCategoryFlags* TkwBarManagerCategories::Flags(int Index) {
  if (Index < 0 || Index >= Count()) return nullptr;
  auto* flags = dynamic_cast<TkwBarCategoryFlags*>(Objects(Index));
  if (!flags) {
    flags = new TkwBarCategoryFlags();
    PutObject(Index, flags);
  }
  return flags;
}

void TkwBarManagerCategories::ShiftItems(int From, int To, int Delta) {
  for (TkwBarItem* item : FManager->FItems)
    if (item->FCategory >= From && item->FCategory <= To) item->FCategory += Delta;
}

void TkwBarManagerCategories::Delete(int Index) {
  if (FMoving) {
    TStringList::Delete(Index);
    return;
  }
  if (Index < 0 || Index >= Count()) return;
  std::vector<TkwBarItem*> items;
  FManager->GetItemsOfCategory(Index, items);
  for (TkwBarItem* item : items) delete item;
  ShiftItems(Index + 1, Count(), -1);
  TStringList::Delete(Index);
  if (Count() == 0) Add(GetLocalizedResourceString(&kjSDefaultCategory));
}

void TkwBarManagerCategories::Insert(int Index, const String& S) {
  if (Index < 0 || Index > Count()) return;
  // From the top down, so that no two categories share an index meanwhile.
  if (!FMoving)
    for (int category = Count() - 1; category >= Index; --category) ShiftItems(category, category, 1);
  TStringList::Insert(Index, S);
}

void TkwBarManagerCategories::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= Count() || Index2 < 0 || Index2 >= Count()) return;
  std::vector<TkwBarItem*> first, second;
  FManager->GetItemsOfCategory(Index1, first);
  FManager->GetItemsOfCategory(Index2, second);
  for (TkwBarItem* item : first) item->FCategory = Index2;
  for (TkwBarItem* item : second) item->FCategory = Index1;
  TStringList::Exchange(Index1, Index2);
}

void TkwBarManagerCategories::Move(int CurIndex, int NewIndex) {
  if (CurIndex < 0 || CurIndex >= Count() || NewIndex < 0 || NewIndex >= Count() || CurIndex == NewIndex) return;
  constexpr int SetAside = -1000;
  for (TkwBarItem* item : FManager->FItems)
    if (item->FCategory == CurIndex) item->FCategory = SetAside;
  if (CurIndex < NewIndex)
    ShiftItems(CurIndex + 1, NewIndex, -1);
  else
    ShiftItems(NewIndex, CurIndex - 1, 1);
  for (TkwBarItem* item : FManager->FItems)
    if (item->FCategory == SetAside) item->FCategory = NewIndex;
  FMoving = true;
  TScopeGuard moved([&] { FMoving = false; });
  TStringList::Move(CurIndex, NewIndex);
}

void TkwBarManagerCategories::SetCategoryIndex(int OldIndex, int NewIndex) {
  if (OldIndex < 0 || OldIndex >= Count() || NewIndex < 0) return;
  for (TkwBarItem* item : FManager->FItems)
    if (item->FCategory == OldIndex) item->FCategory = NewIndex;
}

void TkwBarManagerCategories::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStrings*>(Source);
  if (!source) {
    TStringList::Assign(Source);
    return;
  }
  if (source == this) return;
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  for (int i = 0; i < source->Count(); ++i) {
    auto* flags = dynamic_cast<TkwBarCategoryFlags*>(source->Objects(i));
    TkwBarCategoryFlags* copy = nullptr;
    if (flags) {
      copy = new TkwBarCategoryFlags();
      copy->ItemsVisible = flags->ItemsVisible;
      copy->PendingItemsVisible = flags->PendingItemsVisible;
      copy->HasPending = flags->HasPending;
      copy->Visible = flags->Visible;
    }
    AddObject(source->Strings(i), copy);
  }
}

void TkwBarManagerCategories::DefineProperties(TFiler* Filer) {
  TStringList::DefineProperties(Filer);
  // The manager writes the flags (under "Categories."); the list reads them, and its names given
  // as "Categories.Strings".
  Filer->DefineProperty("Strings", TReaderProc(this, &TkwBarManagerCategories::ReadStrings), nullptr, false);
  Filer->DefineProperty("ItemsVisibles", TReaderProc(this, &TkwBarManagerCategories::ReadItemsVisibles), nullptr,
                        false);
  Filer->DefineProperty("Visibles", TReaderProc(this, &TkwBarManagerCategories::ReadVisibles), nullptr, false);
}

void TkwBarManagerCategories::ReadStrings(TReader* Reader) {
  BeginUpdate();
  TScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) Add(Reader->ReadString());
  Reader->ReadListEnd();
}

// A list that ends early leaves the later categories as they are; a value out of range is left
// out.
void TkwBarManagerCategories::ReadItemsVisibles(TReader* Reader) {
  Reader->ReadListBegin();
  for (int i = 0; !Reader->EndOfList(); ++i) {
    int value = Reader->ReadInteger();
    if (i < Count() && value >= ivNever && value <= ivAlways) FManager->SetCategoryItemsVisible(i, TkwBarItemVisible(value));
  }
  Reader->ReadListEnd();
}

void TkwBarManagerCategories::ReadVisibles(TReader* Reader) {
  Reader->ReadListBegin();
  for (int i = 0; !Reader->EndOfList(); ++i) {
    bool value = Reader->ReadBoolean();
    if (i < Count()) FManager->SetCategoryVisible(i, value);
  }
  Reader->ReadListEnd();
}

void TkwBarManagerCategories::WriteItemsVisibles(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i) Writer->WriteInteger(FManager->GetCategoryItemsVisible(i));
  Writer->WriteListEnd();
}

void TkwBarManagerCategories::WriteVisibles(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i) Writer->WriteBoolean(FManager->GetCategoryVisible(i));
  Writer->WriteListEnd();
}

// --- TkwBarBackgrounds ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarBackgrounds)
VELBOR_PUBLISHED(TkwBarBackgrounds,
  Prop("Bar", &Self::Bar, &Self::SetBar),
  Prop("SubMenu", &Self::SubMenu, &Self::SetSubMenu))

TkwBarBackgrounds::TkwBarBackgrounds(TkwBarManager* Manager) : FManager(Manager) {
  FBar = new TBitmap();
  FBar->OnChange = TNotifyEvent(this, &TkwBarBackgrounds::BarChanged);
  FSubMenu = new TBitmap();
}

TkwBarBackgrounds::~TkwBarBackgrounds() {
  delete FBar;
  delete FSubMenu;
}

void TkwBarBackgrounds::SetBar(TBitmap* Value) {
  bool wasEmpty = FBar->Empty();
  FBar->OnChange = nullptr;
  FBar->Assign(Value);
  FBar->OnChange = TNotifyEvent(this, &TkwBarBackgrounds::BarChanged);
  if (!wasEmpty || !FBar->Empty()) BarChanged(nullptr);
}

void TkwBarBackgrounds::BarChanged(TObject*) {
  if (!FManager->IsLoading() && !FManager->IsDestroying()) FManager->StyleChanged();
}

void TkwBarBackgrounds::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TkwBarBackgrounds*>(Source)) {
    SetBar(source->FBar);
    SetSubMenu(source->FSubMenu);
    return;
  }
  TPersistent::Assign(Source);
}

TPersistent* TkwBarBackgrounds::GetOwner() { return FManager; }

// --- TkwBarManager: streaming ---------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarManager)
VELBOR_PUBLISHED(TkwBarManager,
  Prop("AllowCallFromAnotherForm", &Self::AllowCallFromAnotherForm).Default(false),
  Prop("AllowReset", &Self::AllowReset, &Self::SetAllowReset).Default(true),
  Prop("AlwaysMerge", &Self::AlwaysMerge).Default(false),
  Prop("AlwaysSaveText", &Self::AlwaysSaveText).Default(false),
  Prop("AutoDockColor", &Self::AutoDockColor, &Self::SetAutoDockColor).Default(true),
  Prop("AutoHideEmptyBars", &Self::AutoHideEmptyBars, &Self::SetAutoHideEmptyBars).Default(false),
  Prop("Scaled", &Self::Scaled, &Self::SetScaled).Default(true),
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("Backgrounds", &Self::Backgrounds, &Self::SetBackgrounds),
  Prop("Bars", &Self::Bars, &Self::SetBars),
  Prop("ButtonArrowWidth", &Self::ButtonArrowWidth, &Self::SetButtonArrowWidth).Default(11),
  Prop("CanCustomize", &Self::CanCustomize).Default(true),
  Prop("Categories", &Self::Categories, &Self::SetCategories),
  Prop("DockColor", &Self::DockColor, &Self::SetDockColor).Idents(ColorIdents).NoDefault()
      .Stored(&Self::StoresDockColor),
  Prop("FlatCloseButton", &Self::FlatCloseButton, &Self::SetFlatCloseButton).Default(false),
  Prop("HelpButtonGlyph", &Self::HelpButtonGlyph, &Self::SetHelpButtonGlyph),
  Prop("HelpContext", &Self::HelpContext).Default(0),
  Prop("HideFloatingBarsWhenInactive", &Self::HideFloatingBarsWhenInactive, &Self::SetHideFloatingBarsWhenInactive)
      .Default(true),
  Prop("HotImages", &Self::HotImages, &Self::SetHotImages),
  Prop("ImageListBkColor", &Self::ImageListBkColor, &Self::SetImageListBkColor).Idents(ColorIdents)
      .Default(clFuchsia),
  Prop("Images", &Self::Images, &Self::SetImages),
  Prop("DisabledImages", &Self::DisabledImages, &Self::SetDisabledImages),
  Prop("DisabledLargeImages", &Self::DisabledLargeImages, &Self::SetDisabledLargeImages),
  Prop("IniFileName", &Self::IniFileName),
  Prop("LargeImages", &Self::LargeImages, &Self::SetLargeImages),
  Prop("LargeButtonArrowWidth", &Self::LargeButtonArrowWidth, &Self::SetLargeButtonArrowWidth).Default(13),
  Prop("LargeIcons", &Self::LargeIcons, &Self::SetLargeIcons).Default(false),
  Prop("LookAndFeel", &Self::LookAndFeel, &Self::SetLookAndFeel),
  Prop("MenuAnimations", &Self::MenuAnimations, &Self::SetMenuAnimations).Default(maNone),
  Prop("MenusShowRecentItemsFirst", &Self::MenusShowRecentItemsFirst, &Self::SetMenusShowRecentItemsFirst)
      .Default(true),
  Prop("MostRecentItemsPercents", &Self::MostRecentItemsPercents, &Self::SetMostRecentItemsPercents).Default(95),
  Prop("NotDocking", &Self::NotDocking).Default(TkwBarDockingStyles{}),
  Prop("PopupMenuLinks", &Self::PopupMenuLinks, &Self::SetPopupMenuLinks),
  Prop("RegistryPath", &Self::RegistryPath),
  Prop("ShowCloseButton", &Self::ShowCloseButton, &Self::SetShowCloseButton).Default(false),
  Prop("ShowFullMenusAfterDelay", &Self::ShowFullMenusAfterDelay, &Self::SetShowFullMenusAfterDelay).Default(true),
  Prop("ShowHelpButton", &Self::ShowHelpButton).Default(false),
  Prop("ShowHint", &Self::ShowHint, &Self::SetShowHint).Default(true),
  Prop("ShowHintForDisabledItems", &Self::ShowHintForDisabledItems).Default(true),
  Prop("ShowShortCutInHint", &Self::ShowShortCutInHint, &Self::SetShowShortCutInHint).Default(false),
  Prop("StoreInIniFile", &Self::StoreInIniFile).Default(false),
  Prop("StoreInRegistry", &Self::StoreInRegistry).Default(false),
  Prop("StretchGlyphs", &Self::StretchGlyphs).Default(true),
  Prop("Style", &Self::Style, &Self::SetStyle).Default(bmsEnhanced),
  Prop("SunkenBorder", &Self::SunkenBorder, &Self::SetSunkenBorder).Default(false),
  Prop("UseF10ForMenu", &Self::UseF10ForMenu).Default(true),
  Prop("UseFullReset", &Self::UseFullReset).Default(false),
  Prop("UseSystemFont", &Self::UseSystemFont, &Self::SetUseSystemFont).NoDefault(),
  Prop("WaitForDockingTime", &Self::WaitForDockingTime, &Self::SetWaitForDockingTime).Default(21),
  Prop("OnBarAdd", &Self::OnBarAdd),
  Prop("OnBarAfterReset", &Self::OnBarAfterReset),
  Prop("OnBarBeforeReset", &Self::OnBarBeforeReset),
  Prop("OnBarClose", &Self::OnBarClose),
  Prop("OnBarDelete", &Self::OnBarDelete),
  Prop("OnBarDockingStyleChange", &Self::OnBarDockingStyleChange),
  Prop("OnBarVisibleChange", &Self::OnBarVisibleChange),
  Prop("OnItemLinkAdd", &Self::OnItemLinkAdd),
  Prop("OnItemLinkChange", &Self::OnItemLinkChange),
  Prop("OnItemLinkDelete", &Self::OnItemLinkDelete),
  Prop("OnCloseButtonClick", &Self::OnCloseButtonClick),
  Prop("OnHelpButtonClick", &Self::OnHelpButtonClick),
  Prop("OnHideCustomizingForm", &Self::OnHideCustomizingForm),
  Prop("OnShowCustomizingForm", &Self::OnShowCustomizingForm),
  Prop("OnDocking", &Self::OnDocking),
  Prop("OnMenuMerge", &Self::OnMenuMerge),
  Prop("OnShowCustomizingPopup", &Self::OnShowCustomizingPopup),
  Prop("OnShowToolbarsPopup", &Self::OnShowToolbarsPopup),
  Prop("OnClickItem", &Self::OnClickItem))

void RegisterBarManagerClasses() {
  RegisterClass(TkwBarManager::StaticClass());
  RegisterLookAndFeelClasses();
  RegisterBarPopupMenuClasses();
}

bool TkwBarManager::ReadingDesignCopy = false;

int RecentThresholdOf(int MostRecentItemsPercents) {
  if (MostRecentItemsPercents >= 100) return 0;
  int n = 1;
  while (n * (100 - MostRecentItemsPercents) / 100 <= 0) ++n;
  return n;
}

// --- Construction and destruction ------------------------------------------------------------------

namespace {
TComponent* ManagerOwner(TComponent* AOwner) {
  if (AOwner) return AOwner;
  return Application.Exists() ? Application->MainForm() : nullptr;
}
}  // namespace

TkwBarManager::TkwBarManager(TComponent* AOwner) : TComponent(ManagerOwner(AOwner)) {
  StartBarLibrary();
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (!form) throw EInvalidOperation(GetLocalizedResourceString(&kwSManagerBadOwner));
  if (FindManagerOfForm(form)) throw EInvalidOperation(GetLocalizedResourceString(&kwSManagerSecond));
  FCreating = false;
  FOwnerForm = form;
  AddBarManager(this);
  FDesignMode = ComponentState().Contains(csDesigning);
  InstallBarHooks(this);
  FBackgrounds = new TkwBarBackgrounds(this);
  FThemesUsable = AreThemesUsable();
  FPainter = BarPainter(bpkStandard);
  FDesignerNotifyEnabled = true;
  FCategories = new TkwBarManagerCategories(this);
  FCategories->OnChange = TNotifyEvent(this, &TkwBarManager::CategoriesChanged);
  FBars = new TkwBars(this);
  FPopupMenuLinks = new TkwBarPopupMenuLinks(this);
  FFont = new TFont();
  FFont->SetName("Tahoma");
  FFont->SetHeight(-11);
  FFont->OnChange = TNotifyEvent(this, &TkwBarManager::FontChanged);
  FHelpButtonGlyph = new TBitmap();
  for (int i = 0; i < 5; ++i) {
    FImageLinks[i] = new TChangeLink();
    FImageLinks[i]->OnChange = TNotifyEvent(this, &TkwBarManager::ImageListChanged);
  }
  FThemeNotifier = new TkwThemeChangedNotificator();
  FThemeNotifier->OnThemeChanged = TEvent<void()>(this, &TkwBarManager::ThemeChanged);
  FRecentThreshold = RecentThresholdOf(FMostRecentItemsPercents);
  CalcButtonMetrics();
  FLookAndFeel = new TkjLookAndFeel(this);
  FLookAndFeel->OnChanged = TkjLookAndFeelChangedEvent(this, &TkwBarManager::LookAndFeelChanged);
  AddOffice11ColorsRef();
  FHoldsOffice11Colors = true;
  CreateBrushes();
  ApplySystemFont();
  StyleChanged();
}

TkwBarManager::~TkwBarManager() {
  if (FCreating) return;
  Destroying();
  delete FLookAndFeel;
  FLookAndFeel = nullptr;
  delete FThemeNotifier;
  FThemeNotifier = nullptr;
  ForgetBarHintManager(this);
  SetCustomizing(false);
  DeleteBrushes();
  while (!FPopupMenus.empty()) delete FPopupMenus.back();
  if (FLastMDIChild) FLastMDIChild->RemoveFreeNotification(this);
  FLastMDIChild = nullptr;
  for (int i = 0; i < 5; ++i) {
    if (FImageLists[i]) FImageLists[i]->UnRegisterChanges(FImageLinks[i]);
    delete FImageLinks[i];
    FImageLinks[i] = nullptr;
  }
  delete FHelpButtonGlyph;
  FHelpButtonGlyph = nullptr;
  // The groups go with the manager (each leaves the list as it goes).
  while (!FGroups.empty()) delete FGroups.back();
  // The bars before the font: their windows draw with it until they go.
  delete FBars;
  FBars = nullptr;
  delete FFont;
  FFont = nullptr;
  FMenuFont.Reset();
  // The free-standing sites outlive the manager: they only forget it.
  std::vector<TkwDockSite*> sites = FDockSites;
  for (TkwDockSite* site : sites) site->SetBarManager(nullptr);
  FDockSites.clear();
  while (!FItems.empty()) delete FItems.back();
  RemoveBarHooks(this);
  RemoveBarManager(this);
  delete FCategories;
  FCategories = nullptr;
  FBarsToShow.clear();
  delete FPopupMenuLinks;
  FPopupMenuLinks = nullptr;
  delete FBackgrounds;
  FBackgrounds = nullptr;
  if (FHoldsOffice11Colors) ReleaseOffice11ColorsRef();
}

void TkwBarManager::CategoriesChanged(TObject*) { DesignerModified(); }

void TkwBarManager::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  bool hasData = false;
  for (TkwBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom})
    if (TkwDockSite* site = FBars ? FBars->EdgeDockSite(style) : nullptr) hasData = hasData || site->GetDockSize() != 0;
  Filer->DefineProperty("DockControlHeights", TReaderProc(this, &TkwBarManager::ReadDockControlHeights),
                        TWriterProc(this, &TkwBarManager::WriteDockControlHeights), hasData);
  // The flags of the categories follow their names (the list reads them itself).
  bool flags = CategoriesHaveFlags();
  if (auto* ancestor = dynamic_cast<TkwBarManager*>(Filer->Ancestor())) {
    flags = false;
    for (int i = 0; i < FCategories->Count(); ++i)
      flags = flags || GetCategoryItemsVisible(i) != ancestor->GetCategoryItemsVisible(i) ||
              GetCategoryVisible(i) != ancestor->GetCategoryVisible(i);
  }
  Filer->DefineProperty("Categories.ItemsVisibles", nullptr,
                        TWriterProc(this, &TkwBarManager::WriteCategoryItemsVisibles), flags);
  Filer->DefineProperty("Categories.Visibles", nullptr, TWriterProc(this, &TkwBarManager::WriteCategoryVisibles),
                        flags);
}

bool TkwBarManager::CategoriesHaveFlags() const { return FCategories && FCategories->Count() > 0; }

void TkwBarManager::WriteCategoryItemsVisibles(TWriter* Writer) { FCategories->WriteItemsVisibles(Writer); }

void TkwBarManager::WriteCategoryVisibles(TWriter* Writer) { FCategories->WriteVisibles(Writer); }

void TkwBarManager::ReadDockControlHeights(TReader* Reader) {
  static const TkwBarDockingStyle order[4] = {dsLeft, dsRight, dsTop, dsBottom};
  Reader->ReadListBegin();
  for (int i = 0; i < 4 && !Reader->EndOfList(); ++i) {
    FDockHeights[i] = Reader->ReadInteger();
    if (TkwDockSite* site = FBars->EdgeDockSite(order[i])) site->SetDockSize(FDockHeights[i]);
  }
  while (!Reader->EndOfList()) Reader->ReadInteger();
  Reader->ReadListEnd();
}

void TkwBarManager::WriteDockControlHeights(TWriter* Writer) {
  static const TkwBarDockingStyle order[4] = {dsLeft, dsRight, dsTop, dsBottom};
  Writer->WriteListBegin();
  for (TkwBarDockingStyle style : order) {
    TkwDockSite* site = FBars->EdgeDockSite(style);
    Writer->WriteInteger(site ? site->GetDockSize() : 0);
  }
  Writer->WriteListEnd();
}

void TkwBarManager::ReadState(TReader* Reader) {
  ++FResourceReadCount;
  TComponent::ReadState(Reader);
}

void TkwBarManager::Loaded() {
  TComponent::Loaded();
  if (FRedrawLocked) return;
  {
    FBars->Busy = true;
    TScopeGuard idle([&] { FBars->Busy = false; });
    for (TkwBarItem* item : std::vector<TkwBarItem*>(FItems)) {
      if (TkwBarItemLinks* links = item->GetSubItemLinks()) links->ApplyLoadedState(true);
      item->FVisible = item->FLoadedVisible;
    }
    for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->ApplyPendingState();
    // A stored layout replaces the design's, at run time only (a design copy never takes one).
    if (!FDesignMode && !ReadingDesignCopy) {
      if (StoreInRegistry) LoadFromRegistry(RegistryPath);
      if (StoreInIniFile) LoadFromIniFile(IniFileName);
    }
  }
  for (int i = 0; i < FCategories->Count(); ++i) {
    TkwBarCategoryFlags* flags = FCategories->Flags(i);
    if (flags->HasPending) {
      flags->HasPending = false;
      SetCategoryItemsVisible(i, flags->PendingItemsVisible);
    }
  }
  FInLoadedLayout = true;
  for (TkwDockSite* site : std::vector<TkwDockSite*>(FDockSites)) site->UpdateLayout();
  FInLoadedLayout = false;
}

void TkwBarManager::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (int i = 0; i < 5; ++i)
    if (FImageLists[i] == AComponent) SetImageList(i, nullptr);
  FGroups.erase(std::remove(FGroups.begin(), FGroups.end(), AComponent), FGroups.end());
  if (FPopupMenuLinks) FPopupMenuLinks->Forget(AComponent);
  if (AComponent == FLastMDIChild) {
    // The child's entries go with its items; the system menu shown for it goes now.
    FLastMDIChild = nullptr;
    FLastChildZoomed = false;
    TkwBarItemLinks* links = FMainMenuBar ? FMainMenuBar->ItemLinks() : nullptr;
    if (links && links->Count() > 0 && IsMDISystemMenuLink(links->Items(0))) {
      delete links->Items(0);
      FreeUnlinkedTemporaryItems();
    }
  }
}

void TkwBarManager::SetName(const String& NewName) {
  String oldName = Name();
  TComponent::SetName(NewName);
  if (!FDesignMode || oldName.empty() || oldName == NewName) return;
  // The items named after the manager follow its new name.
  for (TkwBarItem* item : std::vector<TkwBarItem*>(FItems)) {
    if (item->Owner() != Owner()) continue;
    const String& name = item->Name();
    if (name.size() <= oldName.size() || !SameText(name.substr(0, oldName.size()), oldName)) continue;
    try {
      item->SetName(NewName + name.substr(oldName.size()));
    } catch (EComponentError&) {
    }
  }
}

void TkwBarManager::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TkwBarItem* item : FItems)
    if (item->Owner() == Root && item->Category() >= 0) Proc(item);
  for (TComponent* group : FGroups)
    if (group->Owner() == Root) Proc(group);
}

// --- Designer and events ----------------------------------------------------------------------------

void TkwBarManager::DesignerModified() {
  if (IsLoading() || IsDestroying() || !FDesignerNotifyEnabled) return;
  FModified = true;
}

void TkwBarManager::ItemChangedAtDesignTime(TkwBarItem*) {}

void TkwBarManager::DoBarAdd(TkwBar* Bar) {
  if (OnBarAdd) OnBarAdd(this, Bar);
}

void TkwBarManager::DoBarDelete(TkwBar* Bar) {
  if (OnBarDelete) OnBarDelete(this, Bar);
}

void TkwBarManager::DoBarVisibleChange(TkwBar* Bar) {
  if (OnBarVisibleChange) OnBarVisibleChange(this, Bar);
}

void TkwBarManager::DoItemLinkAdd(TkwBarItemLink* Link) {
  if (OnItemLinkAdd) OnItemLinkAdd(this, Link);
}

void TkwBarManager::DoItemLinkChange(TkwBarItemLink* Link) {
  if (OnItemLinkChange) OnItemLinkChange(this, Link);
}

void TkwBarManager::DoItemLinkDelete(TkwBarItemLink* Link) {
  if (OnItemLinkDelete) OnItemLinkDelete(this, Link);
}

void TkwBarManager::DoBarAfterReset(TkwBar* Bar) {
  if (OnBarAfterReset) OnBarAfterReset(this, Bar);
}

void TkwBarManager::DoBarBeforeReset(TkwBar* Bar) {
  if (OnBarBeforeReset) OnBarBeforeReset(this, Bar);
}

void TkwBarManager::DoBarClose(TkwBar* Bar) {
  if (OnBarClose) OnBarClose(this, Bar);
}

void TkwBarManager::DoBarDockingStyleChange(TkwBar* Bar) {
  if (FBars && FBars->Busy) return;
  if (OnBarDockingStyleChange) OnBarDockingStyleChange(this, Bar);
  DesignerModified();
}

void TkwBarManager::DoCloseButtonClick() {
  if (OnCloseButtonClick) OnCloseButtonClick(this);
}

void TkwBarManager::DoHelpButtonClick() {
  if (OnHelpButtonClick) OnHelpButtonClick(this);
}

void TkwBarManager::DoShowCustomizingPopup(TkwBarItemLinks* Links) {
  if (OnShowCustomizingPopup) OnShowCustomizingPopup(this, Links);
}

void TkwBarManager::DoShowToolbarsPopup(TkwBarItemLinks* Links) {
  if (OnShowToolbarsPopup) OnShowToolbarsPopup(this, Links);
}

void TkwBarManager::DoClickItem(TkwBarItem* Item) {
  if (OnClickItem) OnClickItem(this, Item);
}

// --- Items, categories, groups ------------------------------------------------------------------------

void TkwBarManager::AddItem(TkwBarItem* Item) {
  if (std::find(FItems.begin(), FItems.end(), Item) == FItems.end()) FItems.push_back(Item);
}

void TkwBarManager::RemoveItem(TkwBarItem* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
  if (FSelectedItemControl && FSelectedItemControl->GetItem() == Item) FSelectedItemControl = nullptr;
  if (DragItem == Item) DragItem = nullptr;
}

TkwBarItem* TkwBarManager::GetItem(int Index) const {
  return Index >= 0 && Index < int(FItems.size()) ? FItems[std::size_t(Index)] : nullptr;
}

int TkwBarManager::IndexOfItem(const TkwBarItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TkwBarManager::ExchangeItems(int Index1, int Index2) {
  if (!GetItem(Index1) || !GetItem(Index2)) return;
  std::swap(FItems[std::size_t(Index1)], FItems[std::size_t(Index2)]);
  DesignerModified();
}

void TkwBarManager::MoveItem(int CurIndex, int NewIndex) {
  TkwBarItem* item = GetItem(CurIndex);
  if (!item || NewIndex < 0 || NewIndex >= int(FItems.size())) return;
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, item);
  DesignerModified();
}

TkwBarItem* TkwBarManager::FindItemByName(const String& Name) const {
  for (TkwBarItem* item : FItems)
    if (SameText(item->Name(), Name)) return item;
  return nullptr;
}

void TkwBarManager::GetItemsOfCategory(int Category, std::vector<TkwBarItem*>& List) const {
  List.clear();
  if (Category < 0 || Category >= FCategories->Count()) return;
  for (TkwBarItem* item : FItems)
    if (item->Category() == Category) List.push_back(item);
}

void TkwBarManager::GetCategoryVisibleItems(int Category, std::vector<TkwBarItem*>& List) const {
  GetItemsOfCategory(Category, List);
  if (FDesignMode) return;
  List.erase(std::remove_if(List.begin(), List.end(),
                            [](TkwBarItem* i) { return !i->IsVisibleNow() || i->IsControlContainer(); }),
             List.end());
}

TkwBarItemVisible TkwBarManager::GetCategoryItemsVisible(int Index) const {
  if (Index < 0 || Index >= FCategories->Count()) return ivNever;
  auto* flags = dynamic_cast<TkwBarCategoryFlags*>(FCategories->Objects(Index));
  return flags ? flags->ItemsVisible : ivAlways;
}

void TkwBarManager::SetCategoryItemsVisible(int Index, TkwBarItemVisible Value) {
  TkwBarCategoryFlags* flags = FCategories->Flags(Index);
  if (!flags) return;
  if (IsLoading()) {
    flags->PendingItemsVisible = Value;
    flags->HasPending = true;
    return;
  }
  TkwBarItemVisible old = flags->ItemsVisible;
  flags->ItemsVisible = Value;
  bool locked = FRedrawLocked;
  std::vector<TkwBar*> emptyBefore;
  bool autoHide = !FDesignMode && FAutoHideEmptyBars;
  if (autoHide) {
    for (int i = 0; i < FBars->Count(); ++i)
      if (FBars->Items(i)->ItemLinks()->GetAvailableItemCount() == 0) emptyBefore.push_back(FBars->Items(i));
    SetRedrawLocked(true);
  }
  std::vector<TkwBarItem*> items;
  GetItemsOfCategory(Index, items);
  if (Value == ivAlways) std::reverse(items.begin(), items.end());
  for (TkwBarItem* item : items)
    if (item->Visible() == old) item->SetVisible(Value);
  if (autoHide) {
    for (int i = 0; i < FBars->Count(); ++i) {
      TkwBar* bar = FBars->Items(i);
      bool empty = bar->ItemLinks()->GetAvailableItemCount() == 0;
      if (Value == ivNever && empty && bar->Visible() &&
          std::find(emptyBefore.begin(), emptyBefore.end(), bar) == emptyBefore.end()) {
        bar->SetVisible(false);
        bar->HiddenBecauseEmpty = true;
      } else if (Value == ivAlways && !empty && bar->HiddenBecauseEmpty) {
        bar->SetVisible(true);
        bar->HiddenBecauseEmpty = false;
      }
    }
  }
  SetRedrawLocked(locked);
  if (old != Value) DesignerModified();
}

bool TkwBarManager::GetCategoryVisible(int Index) const {
  if (Index < 0 || Index >= FCategories->Count()) return false;
  auto* flags = dynamic_cast<TkwBarCategoryFlags*>(FCategories->Objects(Index));
  return flags ? flags->Visible : true;
}

void TkwBarManager::SetCategoryVisible(int Index, bool Value) {
  TkwBarCategoryFlags* flags = FCategories->Flags(Index);
  if (!flags) return;
  flags->Visible = Value;
  DesignerModified();
}

int TkwBarManager::GetCategoryRealIndex(int Index) const {
  if (FDesignMode) return Index;
  int visible = -1;
  for (int i = 0; i < FCategories->Count(); ++i)
    if (GetCategoryVisible(i) && ++visible == Index) return i;
  return -1;
}

void TkwBarManager::SetCategories(TStrings* Value) { FCategories->Assign(Value); }

TkwBarGroup* TkwBarManager::AddGroup() {
  auto* group = new TkwBarGroup(FOwnerForm);
  group->SetBarManager(this);
  return group;
}

void TkwBarManager::RegisterGroup(TComponent* Group) {
  if (!Group || std::find(FGroups.begin(), FGroups.end(), Group) != FGroups.end()) return;
  FGroups.push_back(Group);
  Group->FreeNotification(this);
}

void TkwBarManager::UnregisterGroup(TComponent* Group) {
  FGroups.erase(std::remove(FGroups.begin(), FGroups.end(), Group), FGroups.end());
}

TComponent* TkwBarManager::GetGroup(int Index) const {
  return Index >= 0 && Index < int(FGroups.size()) ? FGroups[std::size_t(Index)] : nullptr;
}

// --- Dock sites -------------------------------------------------------------------------------------

void TkwBarManager::AddDockControl(TkwDockSite* Site) {
  if (!Site || std::find(FDockSites.begin(), FDockSites.end(), Site) != FDockSites.end()) return;
  FDockSites.push_back(Site);
  Site->FreeNotification(this);
}

void TkwBarManager::RemoveDockControl(TkwDockSite* Site) {
  auto it = std::find(FDockSites.begin(), FDockSites.end(), Site);
  if (it == FDockSites.end()) return;
  FRedrawLockedSites.erase(std::remove(FRedrawLockedSites.begin(), FRedrawLockedSites.end(), Site),
                           FRedrawLockedSites.end());
  if (FBars) {
    for (int i = 0; i < FBars->Count(); ++i) {
      TkwBar* bar = FBars->Items(i);
      bool current = bar->GetCurrentDockSite() == Site;
      if (bar->FDockControl == Site) bar->FDockControl = nullptr;
      if (bar->FDockedDockControl == Site) bar->FDockedDockControl = nullptr;
      if (current && bar->Visible()) bar->SetVisible(false);
    }
    FBars->ForgetEdgeDockSite(Site);
  }
  FDockSites.erase(std::find(FDockSites.begin(), FDockSites.end(), Site));
  if (!Site->ComponentState().Contains(csDestroying)) Site->SetParentColor(true);
}

TkwDockSite* TkwBarManager::FindDockControl(const String& Path) const {
  std::size_t dot = Path.find('.');
  TComponent* component = nullptr;
  if (dot == String::npos) {
    component = FOwnerForm ? FOwnerForm->FindComponent(Path) : nullptr;
  } else {
    TComponent* root = FindGlobalComponent(Path.substr(0, dot));
    String rest = Path.substr(dot + 1);
    while (root && !rest.empty()) {
      std::size_t next = rest.find('.');
      root = root->FindComponent(rest.substr(0, next));
      rest = next == String::npos ? String() : rest.substr(next + 1);
    }
    component = root;
  }
  return dynamic_cast<TkwDockSite*>(component);
}

String TkwBarManager::DockControlPath(const TkwDockSite* Site) {
  if (!Site) return String();
  String path = Site->Name();
  for (TComponent* owner = Site->Owner(); owner && !owner->Name().empty(); owner = owner->Owner())
    path = owner->Name() + "." + path;
  return path;
}

TColor TkwBarManager::GetDockColor() const {
  if (FAutoDockColor && FOwnerForm) return FOwnerForm->Color();
  return FStoredDockColor;
}

// --- Bars and menus -----------------------------------------------------------------------------------

void TkwBarManager::SetPopupMenuLinks(TkwBarPopupMenuLinks* Value) { FPopupMenuLinks->Assign(Value); }

void TkwBarManager::AddPopupMenu(TkwBarPopupMenu* Menu) {
  if (Menu && std::find(FPopupMenus.begin(), FPopupMenus.end(), Menu) == FPopupMenus.end()) FPopupMenus.push_back(Menu);
}

void TkwBarManager::RemovePopupMenu(TkwBarPopupMenu* Menu) {
  FPopupMenus.erase(std::remove(FPopupMenus.begin(), FPopupMenus.end(), Menu), FPopupMenus.end());
}

void TkwBarManager::AddBarToShow(TkwBar* Bar) {
  if (Bar && std::find(FBarsToShow.begin(), FBarsToShow.end(), Bar) == FBarsToShow.end()) FBarsToShow.push_back(Bar);
}

TkwBar* TkwBarManager::FindBarByCaption(const String& Caption) const {
  for (int i = 0; i < FBars->Count(); ++i)
    if (FBars->Items(i)->Caption() == Caption) return FBars->Items(i);
  return nullptr;
}

namespace {
// A temporary item of a built-in menu: made by class name (the items library registers them),
// owned by the library.
TkwBarItem* MakeTemporaryItem(TClass ItemClass) {
  if (!ItemClass || !ItemClass->InheritsFrom(TkwBarItem::StaticClass())) return nullptr;
  auto* item = static_cast<TkwBarItem*>(ItemClass->Create(nullptr));
  AddTemporaryItem(item);
  return item;
}

void SetPublished(TObject* Object, const char* Name, long long Value) {
  if (const TPropInfo* info = GetPropInfo(Object, Name); info && info->IsWritable() && info->IsOrdinal())
    info->SetOrd(Object, Value);
}
}  // namespace

void TkwBarManager::BuildToolbarsListLinks(TkwBarItemLinks* Links) {
  TClass buttonClass = GetClass("TkwBarButton");
  for (int i = 0; i < FBars->Count(); ++i) {
    TkwBar* bar = FBars->Items(i);
    if (!bar->IsClosable() || bar->Hidden()) continue;
    TkwBarItem* item = MakeTemporaryItem(buttonClass);
    if (!item) break;
    item->SetCaption(bar->Caption());
    item->Tag = i;
    SetPublished(item, "ButtonStyle", 1);  // checked
    SetPublished(item, "Down", bar->Visible() ? 1 : 0);
    item->OnClick = TNotifyEvent(this, &TkwBarManager::ToolbarItemClick);
    Links->Add()->SetItem(item);
  }
  AddCustomizeItemLink(Links, true, buttonClass);
  DoShowToolbarsPopup(Links);
}

void TkwBarManager::AddCustomizeItemLink(TkwBarItemLinks* Links, bool BeginGroup, TClass ItemClass) {
  if (!CanCustomize) return;
  TkwBarItem* item = MakeTemporaryItem(ItemClass);
  if (!item) return;
  item->SetCaption(GetLocalizedResourceString(&kwSCustomize));
  item->SetEnabled(!FRunTimeCustomizing);
  item->Tag = 1000;
  item->OnClick = TNotifyEvent(this, &TkwBarManager::ToolbarItemClick);
  TkwBarItemLink* link = Links->Add();
  link->SetItem(item);
  link->SetBeginGroup(BeginGroup);
}

void TkwBarManager::ToolbarItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TkwBarItem*>(Sender);
  if (!item) return;
  if (item->Tag == 1000) {
    SetCustomizing(true);
    return;
  }
  if (item->Tag >= 0 && item->Tag < FBars->Count()) {
    TkwBar* bar = FBars->Items(item->Tag);
    bar->SetVisible(!bar->Visible());
  }
}

void TkwBarManager::SetCustomizing(bool Value) {
  if (Value == FRunTimeCustomizing) return;
  std::vector<TkwBarWindow*> windows;
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == this) windows.push_back(LiveBarControl(i));
  for (TkwBarWindow* window : windows)
    if (IsLiveBarControl(window)) {
      window->HideAll();
      if (IsLiveBarControl(window)) window->DestroyControls();
    }
  FRunTimeCustomizing = Value;
  if (CustomizingFormHooks().Show) CustomizingFormHooks().Show(this, Value);
  if (IsDestroying()) return;
  for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->ItemLinks()->SetRecentItemCount(-1);
  for (TkwBarItem* item : FItems)
    if (TkwBarItemLinks* links = item->GetSubItemLinks()) links->SetRecentItemCount(-1);
  for (TkwBarWindow* window : windows)
    if (IsLiveBarControl(window)) {
      window->CreateControls();
      window->RepaintBar();
    }
}

void TkwBarManager::HideAllMenus() {
  TkwBarWindow* active = GetActiveBarControl();
  if (active && active->GetBarManager() == this) active->HideAll();
}

void TkwBarManager::SetSelectedItemControl(TkwBarItemControl* Control) {
  if (Control == FSelectedItemControl) return;
  TkwBarItemControl* previous = FSelectedItemControl;
  if (IsCustomizing() && previous) {
    TkwBarWindow* previousRoot = GetItemControlRootBar(previous);
    if ((!Control || GetItemControlRootBar(Control) != previousRoot) && previous->BarWindow() &&
        previous->BarWindow()->SelectedControl() == previous)
      previous->BarWindow()->ClearSelection();
  }
  FSelectedItemControl = Control;
  if (previous && !DraggingItem) previous->Repaint();
}

void TkwBarManager::ForgetSelectedItemControl(TkwBarItemControl* Control) {
  if (FSelectedItemControl == Control) FSelectedItemControl = nullptr;
}

HWND TkwBarManager::GetActiveMDIChild() const {
  if (!FOwnerForm || !FOwnerForm->ClientHandle()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageA(FOwnerForm->ClientHandle(), WM_MDIGETACTIVE, 0, 0));
}

int TkwBarManager::GetSizingBorderWidth() const { return FPainter->GetSizingBorderWidth(); }
int TkwBarManager::GetSizingBorderHeight() const { return FPainter->GetSizingBorderHeight(); }

bool TkwBarManager::CanDock(TkwBar* Bar, TkwBarDockingStyle Style, TkwDockSite* Site) {
  bool result;
  if (Bar->NotDocking.Contains(Style))
    result = false;
  else if (!Site || Site->IsEdgeSite())
    result = !NotDocking.Contains(Style);
  else
    result = Site->CanDock(Bar);
  if (OnDocking) OnDocking(Bar, Style, Site, result);
  return result;
}

// --- Style, painter, metrics --------------------------------------------------------------------------

TkwBarManagerStyle TkwBarManager::GetEffectiveStyle() const {
  if (FStyle != bmsUseLookAndFeel) return FStyle;
  if (FLookAndFeel->NativeStyle() && AreThemesUsable()) return bmsXP;
  switch (FLookAndFeel->Kind()) {
    case lfFlat: return bmsEnhanced;
    case lfStandard: return bmsStandard;
    case lfUltraFlat: return bmsFlat;
  }
  return bmsStandard;
}

void TkwBarManager::StyleChanged() {
  FStyleChanging = true;
  FThemesUsable = AreThemesUsable();
  switch (GetEffectiveStyle()) {
    case bmsFlat: FPainter = BarPainter(bpkFlat); break;
    case bmsXP: FPainter = BarPainter(FThemesUsable ? bpkXP : bpkEnhanced); break;
    case bmsEnhanced: FPainter = BarPainter(bpkEnhanced); break;
    case bmsOffice11: FPainter = BarPainter(bpkOffice11); break;
    default: FPainter = BarPainter(bpkStandard); break;
  }
  FBarContentOffset = FPainter->GetGripOffset();
  FGripSize = FPainter->GetGripAreaSize();
  FEditInset = FPainter->GetMenuSeparatorIndent();
  CalcButtonMetrics();
  FThemedBrush.Reset(FThemesUsable ? CreateSolidBrush(GetThemedToolbarColor()) : nullptr);
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == this) LiveBarControl(i)->RefreshMetrics();
  RefreshBarWindows();
  FStyleChanging = false;
}

void TkwBarManager::RefreshBarWindows() {
  for (TkwDockSite* site : FDockSites) site->RefreshStyle();
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == this) LiveBarControl(i)->RefreshBackground();
}

void TkwBarManager::CalcButtonMetrics() {
  FGlyphSize = FLargeIcons ? 32 : 16;
  const TkwBarPainter* painter = FPainter ? FPainter : BaseBarPainter();
  FButtonSize = FGlyphSize + painter->GetButtonExtraWidth();
  FButtonWidth = FGlyphSize + painter->GetButtonExtraHeight();
  FArrowWidth = painter->GetButtonArrowWidth(this);
}

void TkwBarManager::LookAndFeelChanged(TkjLookAndFeel*, TkjLookAndFeelValues) { StyleChanged(); }

void TkwBarManager::ThemeChanged() {
  RefreshOffice11Colors();
  StyleChanged();
}

// --- Colours ------------------------------------------------------------------------------------------

void TkwBarManager::CreateBrushes() {
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto scale = [](int c) { return MulDiv(c, 8, 10); };
  auto lighten = [](int c) { return c + MulDiv(255 - c, 16, 100); };
  COLORREF frame = NearestScreenColor(TColor(RGB(scale(GetRValue(shadow)), scale(GetGValue(shadow)), scale(GetBValue(shadow)))));
  COLORREF barFace = RGB(lighten(GetRValue(face)), lighten(GetGValue(face)), lighten(GetBValue(face)));
  FLightHighlightColor = SystemLightColor(-2, 30, 72);
  COLORREF colors[5] = {frame, barFace, SystemLightColor(11, 9, 73), SystemLightColor(14, 44, 40),
                        FLightHighlightColor};
  for (int i = 0; i < 5; ++i) FBrushes[i].Reset(CreateSolidBrush(colors[i]));
}

void TkwBarManager::DeleteBrushes() {
  for (TOwnedBrush& brush : FBrushes) brush.Reset();
  FThemedBrush.Reset();
}

void TkwBarManager::SystemColorsChanged() {
  DeleteBrushes();
  CreateBrushes();
  if (FThemesUsable) FThemedBrush.Reset(CreateSolidBrush(GetThemedToolbarColor()));
  RefreshOffice11Colors();
  BarSystemColorsChanged();
  RefreshBarWindows();
}

// --- Fonts --------------------------------------------------------------------------------------------

void TkwBarManager::SetFont(TFont* Value) { FFont->Assign(Value); }

void TkwBarManager::FontChanged(TObject*) {
  if (!FSettingSystemFont) FUseSystemFont = false;
  if (FScaled) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      FFont->OnChange = nullptr;
      FFont->SetHeight(metrics.lfMenuFont.lfHeight);
      FFont->OnChange = TNotifyEvent(this, &TkwBarManager::FontChanged);
    }
  }
  UpdateMenuFont();
}

void TkwBarManager::UpdateMenuFont() {
  CreateBarFontHandle(FFont, FMenuFont, FScaled);
  if (!FBars) return;
  for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->ManagerFontChanged();
  for (TkwBarPopupMenu* menu : FPopupMenus) menu->ManagerFontChanged();
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == this && LiveBarControl(i)->IsSubMenu()) LiveBarControl(i)->UpdateFont();
}

void TkwBarManager::ApplySystemFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  if (!FUseSystemFont && !FScaled) return;
  FSettingSystemFont = true;
  TScopeGuard done([&] { FSettingSystemFont = false; });
  if (FUseSystemFont)
    FFont->SetHandle(CreateFontIndirectA(&metrics.lfMenuFont));
  else
    FFont->SetHeight(metrics.lfMenuFont.lfHeight);
}

void TkwBarManager::SetUseSystemFont(bool Value) {
  if (Value == FUseSystemFont) return;
  FUseSystemFont = Value;
  if (Value) ApplySystemFont();
}

void TkwBarManager::SetScaled(bool Value) {
  if (Value == FScaled) return;
  FScaled = Value;
  if (Value && !FUseSystemFont) ApplySystemFont();
}

// --- Property setters ---------------------------------------------------------------------------------

void TkwBarManager::SetAutoDockColor(bool Value) {
  if (Value == FAutoDockColor) return;
  FAutoDockColor = Value;
  for (TkwDockSite* site : FDockSites) {
    site->UpdateColor();
    site->RepaintBackground();
  }
}

void TkwBarManager::SetDockColor(TColor Value) {
  if (Value == FStoredDockColor && !FAutoDockColor) return;
  FStoredDockColor = Value;
  FAutoDockColor = false;
  for (TkwDockSite* site : FDockSites) {
    site->UpdateColor();
    site->RepaintBackground();
  }
}

void TkwBarManager::SetAutoHideEmptyBars(bool Value) {
  if (Value == FAutoHideEmptyBars) return;
  FAutoHideEmptyBars = Value;
  if (!Value)
    for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->HiddenBecauseEmpty = false;
}

void TkwBarManager::SetBars(TkwBars* Value) { FBars->Assign(Value); }

namespace {
void RebuildWindowsOf(TkwBarManager* Manager) {
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == Manager) LiveBarControl(i)->RepaintBar();
}
}  // namespace

void TkwBarManager::SetButtonArrowWidth(int Value) {
  if (Value < 2 || Value == FButtonArrowWidth) return;
  FButtonArrowWidth = Value;
  CalcButtonMetrics();
  RebuildWindowsOf(this);
}

void TkwBarManager::SetLargeButtonArrowWidth(int Value) {
  if (Value < 2 || Value == FLargeButtonArrowWidth) return;
  FLargeButtonArrowWidth = Value;
  RebuildWindowsOf(this);
}

void TkwBarManager::SetFlatCloseButton(bool Value) {
  if (Value == FFlatCloseButton) return;
  FFlatCloseButton = Value;
  TkwBarWindow* mainWindow = FMainMenuBar ? FMainMenuBar->GetControl() : nullptr;
  if (mainWindow && FSelectedItemControl && FSelectedItemControl->BarWindow() == mainWindow)
    mainWindow->SelectItemIfFree(nullptr);
  if (mainWindow) mainWindow->RepaintBar();
}

void TkwBarManager::SetShowCloseButton(bool Value) {
  if (Value == FShowCloseButton) return;
  FShowCloseButton = Value;
  TkwBarWindow* mainWindow = FMainMenuBar ? FMainMenuBar->GetControl() : nullptr;
  if (mainWindow && FSelectedItemControl && FSelectedItemControl->BarWindow() == mainWindow)
    mainWindow->SelectItemIfFree(nullptr);
  if (mainWindow) mainWindow->RepaintBar();
}

void TkwBarManager::SetHideFloatingBarsWhenInactive(bool Value) {
  if (Value == FHideFloatingBarsWhenInactive) return;
  FHideFloatingBarsWhenInactive = Value;
  bool show = !Value || (FOwnerForm && FOwnerForm->HandleAllocated() && GetActiveWindow() == FOwnerForm->Handle());
  for (int i = 0; i < FBars->Count(); ++i) {
    TkwBar* bar = FBars->Items(i);
    TkwBarWindow* window = bar->GetControl();
    if (!window || bar->DockingStyle() != dsNone || !bar->Visible()) continue;
    if (show)
      window->Show();
    else
      window->Hide();
  }
}

void TkwBarManager::SetImageListBkColor(TColor Value) {
  if (Value == FImageListBkColor) return;
  FImageListBkColor = Value;
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (LiveBarControl(i)->GetBarManager() == this) LiveBarControl(i)->Invalidate();
}

void TkwBarManager::SetImageList(int Index, TCustomImageList* Value) {
  if (Value == FImageLists[Index]) return;
  if (FImageLists[Index]) FImageLists[Index]->UnRegisterChanges(FImageLinks[Index]);
  FImageLists[Index] = Value;
  if (Value) {
    Value->RegisterChanges(FImageLinks[Index]);
    Value->FreeNotification(this);
  }
  ImageListChanged(FImageLinks[Index]);
}

void TkwBarManager::ImageListChanged(TObject*) {
  if (IsLoading() || IsDestroying()) return;
  bool locked = FRedrawLocked;
  SetRedrawLocked(true);
  for (TkwBarItem* item : FItems) {
    item->GlyphChanged();
    item->LargeGlyphChanged();
    item->HotGlyphChanged();
  }
  SetRedrawLocked(locked);
}

void TkwBarManager::SetLargeIcons(bool Value) {
  if (Value == FLargeIcons) return;
  FLargeIcons = Value;
  CalcButtonMetrics();
  DesignerModified();
  RebuildWindowsOf(this);
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetMenuAnimations(TkwBarMenuAnimations Value) {
  if (Value == FMenuAnimations) return;
  FMenuAnimations = Value;
  DesignerModified();
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetMenusShowRecentItemsFirst(bool Value) {
  if (Value == FMenusShowRecentItemsFirst) return;
  FMenusShowRecentItemsFirst = Value;
  DesignerModified();
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetMostRecentItemsPercents(BYTE Value) {
  if (Value > 100) Value = 100;
  if (Value == FMostRecentItemsPercents) return;
  FMostRecentItemsPercents = Value;
  FRecentThreshold = RecentThresholdOf(Value);
}

void TkwBarManager::SetShowFullMenusAfterDelay(bool Value) {
  if (Value == FShowFullMenusAfterDelay) return;
  FShowFullMenusAfterDelay = Value;
  DesignerModified();
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetShowHint(bool Value) {
  if (Value == FShowHint) return;
  FShowHint = Value;
  DesignerModified();
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetShowShortCutInHint(bool Value) {
  if (Value == FShowShortCutInHint) return;
  FShowShortCutInHint = Value;
  DesignerModified();
  if (CustomizingFormHooks().OptionsChanged) CustomizingFormHooks().OptionsChanged(this);
}

void TkwBarManager::SetStyle(TkwBarManagerStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  StyleChanged();
}

void TkwBarManager::SetSunkenBorder(bool Value) {
  if (Value == FSunkenBorder) return;
  FSunkenBorder = Value;
  for (TkwDockSite* site : FDockSites) site->RefreshFrame();
}

void TkwBarManager::SetWaitForDockingTime(int Value) {
  if (Value < 0 || Value == FWaitForDockingTime) return;
  FWaitForDockingTime = Value;
}

void TkwBarManager::SetRedrawLocked(bool Value) {
  if (Value == FRedrawLocked) return;
  FRedrawLocked = Value;
  if (Value) {
    for (TkwDockSite* site : FDockSites)
      if (site->HandleAllocated() && IsWindowVisible(site->Handle())) {
        SendMessageA(site->Handle(), WM_SETREDRAW, FALSE, 0);
        FRedrawLockedSites.push_back(site);
      }
  } else {
    std::vector<TkwDockSite*> locked;
    locked.swap(FRedrawLockedSites);
    for (TkwDockSite* site : locked)
      if (site->HandleAllocated()) SendMessageA(site->Handle(), WM_SETREDRAW, TRUE, 0);
  }
  if (FBars)
    for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->SetUpdateLock(Value);
  if (Value) return;
  for (TkwDockSite* site : FDockSites)
    if (site->HandleAllocated() && IsWindowVisible(site->Handle())) {
      site->UpdateLayout();
      RedrawWindow(site->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}
