// This file implements the item links and their collections.
#include "kwBars.h"

#include <algorithm>

#include "Exceptions.h"
#include "Forms.h"
#include "ScopeGuard.h"
#include "TextOrder.h"
#include "kjBase.h"
#include "kwBarItem.h"
#include "kwBarItemControl.h"
#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwBarWindow.h"

// --- TkwBarItemLink -----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarItemLink)
VELBOR_PUBLISHED(TkwBarItemLink,
  Prop("BeginGroup", &Self::BeginGroup, &Self::SetBeginGroup).Default(false),
  Prop("Item", &Self::Item, &Self::SetItem),
  Prop("MostRecentlyUsed", &Self::MostRecentlyUsed, &Self::SetMostRecentlyUsed).Default(true),
  Prop("UserCaption", &Self::UserCaption, &Self::SetUserCaption),
  Prop("UserDefine", &Self::UserDefine, &Self::SetUserDefine).Default(TkwBarUserDefines{}),
  Prop("UserGlyph", &Self::UserGlyph, &Self::SetUserGlyph),
  Prop("UserPaintStyle", &Self::UserPaintStyle, &Self::SetUserPaintStyle).Default(psStandard),
  Prop("UserWidth", &Self::UserWidth, &Self::SetUserWidth).Default(0),
  Prop("Visible", &Self::Visible, &Self::SetVisible).Default(true))

namespace {
bool ManagerLoading(const TkwBarManager* Manager) { return Manager && Manager->IsLoading(); }
bool ManagerDesigning(const TkwBarManager* Manager) { return Manager && Manager->IsDesigning(); }

// The bar window of the links when it is a tool bar docked in a dock site.
TkwBarWindow* DockedToolbarWindow(const TkwBarItemLinks* Links) {
  TkwBarWindow* window = Links ? Links->BarControl() : nullptr;
  return window && !window->IsSubMenu() && window->DockSite() && window->HandleAllocated() ? window : nullptr;
}
}  // namespace

TkwBarItemLink::TkwBarItemLink(TCollection* Collection) : TCollectionItem(Collection) {
  FUserGlyph = new TBitmap();
  TkwBarItemLinks* links = GetLinks();
  TkwBarManager* manager = GetBarManager();
  if (manager) UseCount = manager->RecentThreshold();
  if (links) links->FRecentOrder.push_back(this);
  if (manager && !manager->IsLoading()) manager->DoItemLinkAdd(this);
}

TkwBarItemLink::~TkwBarItemLink() {
  TkwBarItemLinks* links = GetLinks();
  TkwBarManager* manager = GetBarManager();
  bool managerGoing = !manager || manager->IsDestroying();
  if (!managerGoing) manager->DoItemLinkDelete(this);
  // A link dragged out of a menu takes its group start along: the next visible link's stored
  // mark is inverted once this one is gone.
  TkwBarItemLink* invertNext = nullptr;
  if (!managerGoing && links && manager->DragLink == this) {
    int visible = links->IndexOfVisible(this);
    if (visible >= 0 && visible + 1 < links->GetVisibleItemCount()) {
      TkwBarItemLink* next = links->GetVisibleItem(visible + 1);
      if ((visible == 0 && next->FBeginGroup) || (FBeginGroup && !next->FBeginGroup)) invertNext = next;
    }
  }
  FreeItemControl();
  if (FItem) {
    auto& itemLinks = FItem->FLinks;
    itemLinks.erase(std::remove(itemLinks.begin(), itemLinks.end(), this), itemLinks.end());
    FItem = nullptr;
  }
  if (links) {
    auto& order = links->FRecentOrder;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
    SetCollection(nullptr);
    if (invertNext) invertNext->FBeginGroup = !invertNext->FBeginGroup;
    // Leaving the collection rebuilt its lists and told its owner; the window follows.
    if (!managerGoing && links->UpdateCount() == 0)
      if (TkwBarWindow* window = links->BarControl()) window->RepaintBar();
  }
  delete FUserGlyph;
}

TkwBarItemLinks* TkwBarItemLink::GetLinks() const { return dynamic_cast<TkwBarItemLinks*>(Collection()); }

TkwBarManager* TkwBarItemLink::GetBarManager() const {
  TkwBarItemLinks* links = GetLinks();
  return links ? links->BarManager() : nullptr;
}

TkwBarWindow* TkwBarItemLink::GetBarControl() const {
  TkwBarItemLinks* links = GetLinks();
  return links ? links->BarControl() : nullptr;
}

int TkwBarItemLink::GetAvailableIndex() const { return GetLinks() ? GetLinks()->IndexOfAvailable(this) : -1; }
int TkwBarItemLink::GetVisibleIndex() const { return GetLinks() ? GetLinks()->IndexOfVisible(this) : -1; }
int TkwBarItemLink::GetShownIndex() const { return GetLinks() ? GetLinks()->IndexOfShown(this) : -1; }

int TkwBarItemLink::GetRecentIndex() const {
  TkwBarItemLinks* links = GetLinks();
  if (!links) return StoredRecentIndex;
  auto& order = links->FRecentOrder;
  auto it = std::find(order.begin(), order.end(), this);
  return it == order.end() ? -1 : int(it - order.begin());
}

bool TkwBarItemLink::GetBeginGroup() const {
  int shown = GetShownIndex();
  if (FBeginGroup && shown != 0) return true;
  if (shown <= 0) return false;
  // A group start of a link hidden between the previous shown link and this one moves here.
  TkwBarItemLinks* links = GetLinks();
  int from = links->IndexOfAvailable(links->GetShownItem(shown - 1));
  int to = links->IndexOfAvailable(this);
  for (int i = from + 1; i < to; ++i)
    if (links->GetAvailableItem(i)->FBeginGroup) return true;
  return false;
}

String TkwBarItemLink::GetCaption() const {
  return FUserDefine.Contains(udCaption) || !FItem ? FUserCaption : FItem->Caption();
}

TBitmap* TkwBarItemLink::GetGlyph() const {
  return FUserDefine.Contains(udGlyph) || !FItem ? FUserGlyph : FItem->Glyph();
}

TkwBarPaintStyle TkwBarItemLink::GetPaintStyle() const {
  if (FUserDefine.Contains(udPaintStyle) || !FItem) return FUserPaintStyle;
  TkwBarPaintStyle style = psStandard;
  return FItem->GetLinkPaintStyle(style) ? style : psStandard;
}

int TkwBarItemLink::GetWidth() const {
  if (FUserDefine.Contains(udWidth)) return FUserWidth;
  int width = 0;
  return FItem && FItem->GetLinkWidth(width) ? width : 0;
}

bool TkwBarItemLink::IsAvailable() const { return FItem && FItem->IsVisibleNow() && FVisible; }

void TkwBarItemLink::SetBeginGroup(bool Value) {
  if (Value == FBeginGroup) return;
  FBeginGroup = Value;
  if (FControl) FControl->Changed();
  Changed();
}

void TkwBarItemLink::SetItem(TkwBarItem* Value) {
  if (Value == FItem) return;
  TkwBarItemLinks* links = GetLinks();
  TkwBarManager* manager = GetBarManager();
  FreeItemControl();
  if (FItem) {
    auto& itemLinks = FItem->FLinks;
    itemLinks.erase(std::remove(itemLinks.begin(), itemLinks.end(), this), itemLinks.end());
  }
  FItem = nullptr;
  if (Value) {
    // A sub-item may not contain itself, directly or through its links.
    auto* ownerItem = links ? dynamic_cast<TkwBarItem*>(links->OwnerObject()) : nullptr;
    if (ownerItem && ownerItem->GetSubItemLinks() == links) {
      TkwBarItemLinks* valueLinks = Value->GetSubItemLinks();
      if (Value == ownerItem || (valueLinks && valueLinks->HasItem(ownerItem))) {
        if (links) links->RebuildLinkLists();
        throw Exception(GetLocalizedResourceString(&kwSRecursiveSubItems));
      }
    }
    FItem = Value;
    FItem->FLinks.push_back(this);
  }
  if (links) {
    links->RebuildLinkLists();
    if (TkwBarWindow* window = links->BarControl(); window && !ManagerLoading(manager)) window->RepaintBar();
  }
  if (FItem && links && dynamic_cast<TComponent*>(links->OwnerObject()) && !ManagerLoading(manager))
    ApplyMostRecentlyUsed();
  Changed();
}

void TkwBarItemLink::SetMostRecentlyUsed(bool Value) {
  if (Value == FMostRecentlyUsed) return;
  FMostRecentlyUsed = Value;
  if (!ManagerLoading(GetBarManager())) {
    ApplyMostRecentlyUsed();
    if (TkwBarWindow* window = GetBarControl()) window->RepaintBar();
  }
  Changed();
}

void TkwBarItemLink::SetUserCaption(const String& Value) {
  if (Value == FUserCaption && FUserDefine.Contains(udCaption)) return;
  FUserCaption = Value;
  FUserDefine.Include(udCaption);
  if (FControl) FControl->CaptionChanged();
  Changed();
}

void TkwBarItemLink::SetUserDefine(TkwBarUserDefines Value) {
  if (Value == FUserDefine) return;
  TkwBarUserDefines removed = FUserDefine - Value;
  FUserDefine = Value;
  if (removed.Contains(udCaption)) FUserCaption.clear();
  if (removed.Contains(udGlyph)) FUserGlyph->FreeImage();
  if (removed.Contains(udPaintStyle)) FUserPaintStyle = psStandard;
  if (removed.Contains(udWidth)) FUserWidth = 0;
  if (FControl) {
    FControl->CaptionChanged();
    if (FControl) FControl->GlyphChanged();
  }
  Changed();
}

void TkwBarItemLink::SetUserGlyph(TBitmap* Value) {
  FUserGlyph->Assign(Value);
  FUserDefine.Include(udGlyph);
  if (FControl) FControl->GlyphChanged();
  Changed();
}

void TkwBarItemLink::SetUserPaintStyle(TkwBarPaintStyle Value) {
  if (Value == GetPaintStyle()) return;
  FUserPaintStyle = Value;
  FUserDefine.Include(udPaintStyle);
  if (FControl) FControl->Changed();
  Changed();
}

void TkwBarItemLink::SetUserWidth(int Value) {
  if (Value < 20) Value = 20;
  if (Value == GetWidth()) return;
  FUserWidth = Value;
  FUserDefine.Include(udWidth);
  if (FControl) FControl->Changed();
  Changed();
}

void TkwBarItemLink::SetVisible(bool Value) {
  TkwBarItemLinks* links = GetLinks();
  TkwBarManager* manager = GetBarManager();
  if (ManagerLoading(manager) || (links && links->FAssigning)) {
    PendingVisible = Value;
    return;
  }
  if (Value == FVisible) return;
  FVisible = Value;
  if (!ManagerDesigning(manager) && links) {
    links->RebuildLinkLists();
    TkwBarWindow* window = links->BarControl();
    if (Value) {
      MarkUsed(false);
      if (window) {
        CreateItemControl();
        window->RepaintBar();
      }
    } else {
      MarkUnused();
      FreeItemControl();
      if (window) window->RepaintBar();
    }
  }
  Changed();
}

void TkwBarItemLink::Changed() {
  TkwBarManager* manager = GetBarManager();
  TkwBarWindow* window = GetBarControl();
  if (window && window->IsCustomizing() && manager) manager->DesignerModified();
  if (manager && !manager->IsLoading()) manager->DoItemLinkChange(this);
}

void TkwBarItemLink::BringToFront(bool Count) {
  if (TkwBarItemLinks* links = GetLinks()) links->MoveInRecentOrder(this, 0);
  if (Count) ++UseCount;
}

void TkwBarItemLink::MarkUsed(bool Count) {
  if (!IsAvailable()) return;
  TkwBarItemLinks* links = GetLinks();
  bool wasShown = GetShownIndex() >= 0;
  BringToFront(Count);
  if (!FVisible) return;
  TkwBarManager* manager = GetBarManager();
  if (TkwBarWindow* window = DockedToolbarWindow(links); window && !wasShown && manager && manager->HasEnhancedStyle())
    PostMessageA(window->Handle(), WM_KWBARRELAYOUT, 0, 0);
  // The use travels up: to the link of the sub-item whose menu holds this link, and to the link
  // this one copies.
  if (auto* ownerItem = links ? dynamic_cast<TkwBarItem*>(links->OwnerObject()) : nullptr) {
    if (ownerItem->GetSubItemLinks() == links)
      if (TkwBarItemLink* active = ownerItem->GetActiveLink(); active && active != this) active->MarkUsed(Count);
  }
  if (OriginalLink && OriginalLink != this) OriginalLink->MarkUsed(Count);
}

void TkwBarItemLink::MarkUnused() {
  TkwBarItemLinks* links = GetLinks();
  if (!links) return;
  bool wasShown = GetShownIndex() >= 0;
  links->MoveInRecentOrder(this, links->GetRecentCount() - 1);
  TkwBarManager* manager = GetBarManager();
  if (TkwBarWindow* window = DockedToolbarWindow(links); window && wasShown && manager && manager->HasEnhancedStyle())
    PostMessageA(window->Handle(), WM_KWBARRELAYOUT, 0, 0);
}

void TkwBarItemLink::ApplyMostRecentlyUsed() {
  TkwBarManager* manager = GetBarManager();
  if (FMostRecentlyUsed) {
    UseCount = manager ? manager->RecentThreshold() : 0;
    MarkUsed(false);
  } else {
    UseCount = 0;
    MarkUnused();
  }
}

void TkwBarItemLink::SetRecentIndex(int Index) {
  TkwBarItemLinks* links = GetLinks();
  if (!links) {
    StoredRecentIndex = Index;
    return;
  }
  links->MoveInRecentOrder(this, std::min(Index, links->GetRecentCount() - 1));
  links->RebuildLinkLists();
}

void TkwBarItemLink::CopyUsageFrom(TkwBarItemLink* Source) {
  if (!Source) return;
  FMostRecentlyUsed = Source->FMostRecentlyUsed;
  UseCount = Source->UseCount;
  SetRecentIndex(Source->GetRecentIndex());
}

void TkwBarItemLink::CreateItemControl() {
  TkwBarWindow* window = GetBarControl();
  if (FControl || !window || !FItem) return;
  TClass controlClass = nullptr;
  // A window item (an edit, a combo) on a turned bar shows as a button.
  if (FItem->HasOwnWindow() && IsRotatedBarControl(window)) {
    if (TClass button = GetClass("TkwBarButton")) controlClass = GetItemControlClass(button);
  }
  if (!controlClass) controlClass = GetItemControlClass(FItem->ClassType());
  if (!controlClass) return;
  auto* control = dynamic_cast<TkwBarItemControl*>(controlClass->Create(this));
  FControl = control;
}

void TkwBarItemLink::FreeItemControl() {
  TkwBarItemControl* control = FControl;
  if (!control) return;
  FControl = nullptr;
  delete control;
}

char TkwBarItemLink::GetAcceleratorChar(const String& Caption, int& Shift) {
  char accelerator = 0;
  for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    accelerator = Caption[i + 1];
  }
  if (!accelerator) return 0;
  char lower = AnsiLowerChar(accelerator);
  if (lower != accelerator) Shift &= ~1;
  return lower;
}

bool TkwBarItemLink::MatchesAccelerator(WORD Key, int Shift) const {
  int shift = Shift;
  char c = GetAcceleratorChar(GetCaption(), shift);
  if (!c) return false;
  if (c >= '0' && c <= '9') return Key == WORD(c) && shift == 0;
  SHORT scan = VkKeyScanA(c);
  if (scan == -1) return false;
  int scanShift = ((scan >> 8) & 1 ? 1 : 0) | ((scan >> 8) & 2 ? 4 : 0) | ((scan >> 8) & 4 ? 2 : 0);
  return (scan & 0xFF) == Key && scanShift == shift;
}

void TkwBarItemLink::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TkwBarItemLink*>(Source);
  if (!source) {
    TCollectionItem::Assign(Source);
    return;
  }
  FUserCaption = source->FUserCaption;
  FUserGlyph->Assign(source->FUserGlyph);
  FUserPaintStyle = source->FUserPaintStyle;
  FUserWidth = source->FUserWidth;
  TkwBarItem* item = source->FItem;
  TkwBarManager* manager = GetBarManager();
  if (item && manager && BarResetting) {
    // A link of the design copy: the running form's item of the same name.
    TCustomForm* form = manager->OwnerForm();
    item = form ? dynamic_cast<TkwBarItem*>(form->FindComponent(item->Name())) : nullptr;
  } else if (item && manager && manager->ComponentState().Contains(csUpdating)) {
    if (TkwBarItem* same = manager->FindItemByName(item->Name())) item = same;
  }
  SetItem(item);
  FUserDefine = source->FUserDefine;
  FBeginGroup = source->GetBeginGroup();
  SetVisible(source->FVisible);
}

// --- TkwBarItemLinks ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TkwBarItemLinks)

TkwBarItemLinks::TkwBarItemLinks(TkwBarManager* Manager, TObject* AOwner)
    : TCollection(TkwBarItemLink::StaticClass()), FManager(Manager), FOwner(AOwner) {}

TkwBarItemLinks::~TkwBarItemLinks() {
  if (FBarControl && !FBarControl->IsDestroying()) {
    TkwBarWindow* window = FBarControl;
    FBarControl = nullptr;
    delete window;
  }
  // The links go while the collection is whole (they call back into it).
  BeginUpdate();
  while (Count() > 0) delete Items(Count() - 1);
}

TkwBarItemLink* TkwBarItemLinks::Items(int Index) const {
  return static_cast<TkwBarItemLink*>(TCollection::Items(Index));
}

TkwBarItemLink* TkwBarItemLinks::Add() { return static_cast<TkwBarItemLink*>(TCollection::Add()); }

TPersistent* TkwBarItemLinks::GetOwner() {
  if (auto* persistent = dynamic_cast<TPersistent*>(FOwner)) return persistent;
  return FManager;
}

namespace {
int IndexIn(const std::vector<TkwBarItemLink*>& List, const TkwBarItemLink* Link) {
  auto it = std::find(List.begin(), List.end(), Link);
  return it == List.end() ? -1 : int(it - List.begin());
}
}  // namespace

int TkwBarItemLinks::IndexOf(const TkwBarItemLink* Link) const { return Link ? Link->Index() : -1; }
int TkwBarItemLinks::IndexOfAvailable(const TkwBarItemLink* Link) const { return IndexIn(FAvailable, Link); }
int TkwBarItemLinks::IndexOfVisible(const TkwBarItemLink* Link) const { return IndexIn(FVisible, Link); }
int TkwBarItemLinks::IndexOfShown(const TkwBarItemLink* Link) const { return IndexIn(FShown, Link); }

TkwBarItemLink* TkwBarItemLinks::GetAvailableItem(int Index) const {
  return Index >= 0 && Index < int(FAvailable.size()) ? FAvailable[std::size_t(Index)] : nullptr;
}

TkwBarItemLink* TkwBarItemLinks::GetVisibleItem(int Index) const {
  return Index >= 0 && Index < int(FVisible.size()) ? FVisible[std::size_t(Index)] : nullptr;
}

TkwBarItemLink* TkwBarItemLinks::GetShownItem(int Index) const {
  return Index >= 0 && Index < int(FShown.size()) ? FShown[std::size_t(Index)] : nullptr;
}

void TkwBarItemLinks::MoveInRecentOrder(TkwBarItemLink* Link, int Index) {
  auto it = std::find(FRecentOrder.begin(), FRecentOrder.end(), Link);
  if (it == FRecentOrder.end()) return;
  FRecentOrder.erase(it);
  Index = std::clamp(Index, 0, int(FRecentOrder.size()));
  FRecentOrder.insert(FRecentOrder.begin() + Index, Link);
}

void TkwBarItemLinks::RebuildLinkLists() {
  bool design = ManagerDesigning(FManager);
  FAvailable.clear();
  FVisible.clear();
  FShown.clear();
  for (int i = 0; i < Count(); ++i) {
    TkwBarItemLink* link = Items(i);
    if (!link->FItem || (!design && !link->FItem->IsVisibleNow())) continue;
    FAvailable.push_back(link);
    if (design || link->FVisible) FVisible.push_back(link);
  }
  if (design || FRecentCount == -1) {
    FShown = FVisible;
  } else if (FRecentCount > 0) {
    for (TkwBarItemLink* link : FRecentOrder) {
      if (int(FShown.size()) >= FRecentCount) break;
      if (IndexOfVisible(link) >= 0) FShown.push_back(link);
    }
    std::sort(FShown.begin(), FShown.end(),
              [&](TkwBarItemLink* a, TkwBarItemLink* b) { return IndexOfVisible(a) < IndexOfVisible(b); });
  }
}

void TkwBarItemLinks::SetRecentItemCount(int Count) {
  FPreviousRecentCount = FRecentCount;
  FRecentCount = UsesRecentItems() ? Count : -1;
  RebuildLinkLists();
}

void TkwBarItemLinks::RestoreRecentItemCount() {
  FRecentCount = FPreviousRecentCount;
  RebuildLinkLists();
}

int TkwBarItemLinks::CalcRecentItemCount() const {
  if (!UsesRecentItems() || FVisible.empty()) return -1;
  int low = FVisible.front()->UseCount;
  int high = low;
  for (TkwBarItemLink* link : FVisible) {
    low = std::min(low, link->UseCount);
    high = std::max(high, link->UseCount);
  }
  int percents = FManager ? FManager->MostRecentItemsPercents() : 95;
  int threshold = low + MulDiv(high - low, 100 - percents, 100);
  int count = 0;
  for (int i = std::min(int(FVisible.size()), int(FRecentOrder.size())) - 1; i >= 0; --i)
    if (FRecentOrder[std::size_t(i)]->UseCount >= threshold) {
      count = i + 1;
      break;
    }
  return count == int(FVisible.size()) ? -1 : count;
}

bool TkwBarItemLinks::UsesRecentItems() const {
  if (!FManager || !FManager->HasEnhancedStyle()) return false;
  // A sub-menu follows the collection of the bar or popup menu at the top of its chain.
  const TkwBarItemLinks* links = this;
  for (int guard = 0; guard < 64 && dynamic_cast<TkwBarItem*>(links->FOwner); ++guard) {
    TkwBarWindow* window = links->FBarControl;
    TkwBarWindow* parent = window ? window->ParentBarControl() : nullptr;
    if (!parent || !parent->ItemLinks()) break;
    links = parent->ItemLinks();
  }
  return links->UseRecentItems;
}

int TkwBarItemLinks::GetFittingCount() const {
  if (!dynamic_cast<TkwBar*>(FOwner)) return int(FShown.size());
  if (!FBarControl) return 0;
  TRect client = FBarControl->ClientRect();
  int count = 0;
  for (TkwBarItemLink* link : FShown) {
    const TRect& r = link->ItemRect;
    if (r.IsEmpty() || r.Left < client.Left || r.Top < client.Top || r.Right > client.Right || r.Bottom > client.Bottom)
      break;
    ++count;
  }
  return count;
}

bool TkwBarItemLinks::IsSelectableLink(TkwBarItemLink* Link) const {
  return Link->FControl && Link->FControl->IsSelectable();
}

std::vector<TkwBarItemLink*> TkwBarItemLinks::SelectableLinks() const {
  std::vector<TkwBarItemLink*> result;
  int fitting = GetFittingCount();
  for (int i = 0; i < fitting && i < int(FShown.size()); ++i)
    if (IsSelectableLink(FShown[std::size_t(i)])) result.push_back(FShown[std::size_t(i)]);
  return result;
}

TkwBarItemLink* TkwBarItemLinks::GetFirstSelectableLink() const {
  std::vector<TkwBarItemLink*> links = SelectableLinks();
  return links.empty() ? nullptr : links.front();
}

TkwBarItemLink* TkwBarItemLinks::GetLastSelectableLink() const {
  std::vector<TkwBarItemLink*> links = SelectableLinks();
  return links.empty() ? nullptr : links.back();
}

TkwBarItemLink* TkwBarItemLinks::GetNextSelectableLink(TkwBarItemLink* Link) const {
  std::vector<TkwBarItemLink*> links = SelectableLinks();
  if (links.empty()) return nullptr;
  int i = IndexIn(links, Link);
  return i < 0 || i + 1 >= int(links.size()) ? links.front() : links[std::size_t(i + 1)];
}

TkwBarItemLink* TkwBarItemLinks::GetPrevSelectableLink(TkwBarItemLink* Link) const {
  std::vector<TkwBarItemLink*> links = SelectableLinks();
  if (links.empty()) return nullptr;
  int i = IndexIn(links, Link);
  return i <= 0 ? links.back() : links[std::size_t(i - 1)];
}

TkwBarItemLink* TkwBarItemLinks::FindByAccelerator(WORD Key, int Shift, TkwBarItemLink* After) const {
  Shift &= ~2;  // Alt
  std::vector<TkwBarItemLink*> candidates;
  if (dynamic_cast<TkwBar*>(FOwner)) {
    // A tool bar answers only while its window shows.
    if (!FBarControl || !FBarControl->HandleAllocated() || !IsWindowVisible(FBarControl->Handle())) return nullptr;
    candidates = SelectableLinks();
  } else {
    candidates = FVisible;
  }
  // Each candidate once, from the one after After round to the one before it (from the first
  // when After is none of them): a search that finds nothing ends.
  int start = IndexIn(candidates, After);
  int n = int(candidates.size());
  for (int step = 1; step <= n; ++step) {
    int i = start < 0 ? step - 1 : (start + step) % n;
    if (start >= 0 && i == start) break;
    TkwBarItemLink* link = candidates[std::size_t(i)];
    if (link->FItem && link->FItem->AcceptsAccelerator(link) && link->MatchesAccelerator(Key, Shift)) return link;
  }
  return nullptr;
}

bool TkwBarItemLinks::ExecuteShortCut(TShortCut ShortCut) {
  if (ShortCut == 0) return false;
  UpdateItemActions();
  std::vector<TkwBarItemLink*> available = FAvailable;
  for (TkwBarItemLink* link : available) {
    TkwBarItem* item = link->FItem;
    if (!item || !item->Enabled()) continue;
    if (TkwBarItemLinks* sub = item->GetSubItemLinks()) {
      if (sub != this && sub->ExecuteShortCut(ShortCut)) return true;
      continue;
    }
    if (item->IsClickable() && item->ShortCut() == ShortCut) {
      item->DirectClick();
      return true;
    }
    if (TkwBarItemLinks* dropDown = item->GetDropDownLinks())
      if (dropDown != this && dropDown->ExecuteShortCut(ShortCut)) return true;
  }
  return false;
}

bool TkwBarItemLinks::HasItem(const TkwBarItem* Item) const {
  // Sub-items are walked once each, so that a cycle between them cannot run away.
  std::vector<const TkwBarItemLinks*> seen;
  std::vector<const TkwBarItemLinks*> pending{this};
  while (!pending.empty()) {
    const TkwBarItemLinks* links = pending.back();
    pending.pop_back();
    if (std::find(seen.begin(), seen.end(), links) != seen.end()) continue;
    seen.push_back(links);
    for (int i = 0; i < links->Count(); ++i) {
      TkwBarItem* linked = links->Items(i)->FItem;
      if (!linked) continue;
      if (linked == Item) return true;
      if (TkwBarItemLinks* sub = linked->GetSubItemLinks()) pending.push_back(sub);
    }
  }
  return false;
}

bool TkwBarItemLinks::IsDesignContent() const {
  auto* ownerItem = dynamic_cast<TkwBarItem*>(FOwner);
  return !(ownerItem && ownerItem->GeneratesLinks());
}

void TkwBarItemLinks::Update(TCollectionItem*) {
  if (FManager && IsDesignContent() && FBarControl && FBarControl->IsCustomizing()) FManager->DesignerModified();
  RebuildLinkLists();
  if (OwnerNotification) OwnerNotification(this);
}

void TkwBarItemLinks::Notify(TCollectionItem*, TCollectionNotification) {}

void TkwBarItemLinks::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TkwBarItemLinks*>(Source);
  if (!source) {
    TCollection::Assign(Source);
    return;
  }
  // The system-menu link that a merged MDI child puts first survives the copy.
  TkwBarItem* systemMenuItem = nullptr;
  if (Count() > 0 && Items(0)->FItem &&
      (Items(0)->FItem->ClassType() == MDISystemMenuItemClass() || Items(0)->FItem->ClassNameIs("TSystemMenuSubItem")))
    systemMenuItem = Items(0)->FItem;
  {
    FAssigning = true;
    TScopeGuard assigned([&] { FAssigning = false; });
    TCollection::Assign(Source);
  }
  for (int i = 0; i < Count(); ++i) Items(i)->SetVisible(Items(i)->PendingVisible);
  if (systemMenuItem) {
    TkwBarItemLink* link = static_cast<TkwBarItemLink*>(Insert(0));
    link->SetItem(systemMenuItem);
  }
}

void TkwBarItemLinks::ClearItemRects() {
  for (int i = 0; i < Count(); ++i) Items(i)->ItemRect = TRect();
}

void TkwBarItemLinks::ApplyLoadedState(bool WithVisible) {
  for (int i = Count() - 1; i >= 0; --i)
    if (Items(i)->FItem) Items(i)->ApplyMostRecentlyUsed();
  if (WithVisible)
    for (int i = 0; i < Count(); ++i) Items(i)->SetVisible(Items(i)->PendingVisible);
  for (int index = 0; index < Count(); ++index)
    for (int i = 0; i < Count(); ++i) {
      TkwBarItemLink* link = Items(i);
      if (link->PendingRecentIndex != index) continue;
      link->UseCount = link->PendingUseCount;
      link->SetRecentIndex(index);
      link->PendingRecentIndex = -1;
    }
  RebuildLinkLists();
}

void TkwBarItemLinks::PackRecentOrder() {
  auto firstHidden = std::find_if(FRecentOrder.begin(), FRecentOrder.end(),
                                  [](TkwBarItemLink* l) { return !l->FVisible; });
  std::stable_partition(firstHidden, FRecentOrder.end(), [](TkwBarItemLink* l) { return l->FVisible; });
}

void TkwBarItemLinks::CopyUsageFrom(TkwBarItemLinks* Source) {
  if (!Source) return;
  for (int i = 0; i < Count() && i < Source->Count(); ++i)
    Items(i)->FMostRecentlyUsed = Source->Items(i)->FMostRecentlyUsed;
  ApplyLoadedState(false);
  PackRecentOrder();
}

void TkwBarItemLinks::UpdateItemActions() {
  for (int i = 0; i < Count(); ++i)
    if (TkwBarItem* item = Items(i)->FItem) item->UpdateAction();
}

void TkwBarItemLinks::CreateBarControl() {
  if (FBarControl) return;
  const TkwBarWindowClasses& classes = BarWindowClasses();
  if (auto* bar = dynamic_cast<TkwBar*>(FOwner)) {
    if (classes.CreateBarWindow) classes.CreateBarWindow(bar);
    return;
  }
  TkwBarManager* manager = FManager;
  if (auto* ownerItem = dynamic_cast<TkwBarItem*>(FOwner))
    if (TkwBarItemLink* active = ownerItem->GetActiveLink())
      if (TkwBarManager* activeManager = active->GetBarManager()) manager = activeManager;
  if (classes.CreateMenuWindow) classes.CreateMenuWindow(manager, this);
}
