// This file implements the in-place sub-item and its entry.
#include "kwBarInPlaceSubItem.h"

#include <algorithm>
#include <vector>

#include "kwBarManager.h"
#include "kwBarUtils.h"
#include "kwCustomBarControl.h"

// --- TkwBarInPlaceSubItem ----------------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarInPlaceSubItem)
VELBOR_PUBLISHED(TkwBarInPlaceSubItem,
  Prop("Expanded", &Self::Expanded, &Self::SetExpanded).Default(false),
  Prop("KeepBeginGroupWhileExpanded", &Self::KeepBeginGroupWhileExpanded).Default(false),
  Prop("OnAfterExpand", &Self::OnAfterExpand),
  Prop("OnBeforeCollapse", &Self::OnBeforeCollapse))

void TkwBarInPlaceSubItem::SetExpanded(bool Value) {
  if (Value == FExpanded) return;
  if (!Value)
    for (int i = 0; i < GetLinkCount(); ++i) DoBeforeCollapse(GetLink(i));
  FExpanded = Value;
  if (!IsLoading()) {
    FToggling = true;
    try {
      // Each menu once, even when it shows the item twice.
      std::vector<TkwBarWindow*> menus;
      for (int i = 0; i < GetLinkCount(); ++i) {
        TkwBarWindow* window = GetLink(i)->GetBarControl();
        if (!window || !window->IsSubMenu() || std::find(menus.begin(), menus.end(), window) != menus.end()) continue;
        menus.push_back(window);
      }
      for (TkwBarWindow* menu : menus)
        if (IsLiveBarControl(menu)) menu->RepaintBar();
    } catch (...) {
      FToggling = false;
      throw;
    }
    FToggling = false;
  }
  if (Value)
    for (int i = 0; i < GetLinkCount(); ++i) DoAfterExpand(GetLink(i));
}

void TkwBarInPlaceSubItem::AddLinks(TkwBarItemLinks* Links, int Index, TkwBarItemLink* ContainerLink, bool GetData) {
  // Its own links make the sub-menu of a tool bar's entry whatever the state.
  if (Links == ItemLinks() || FExpanded) TkwBarContainerItem::AddLinks(Links, Index, ContainerLink, GetData);
}

void TkwBarInPlaceSubItem::RemoveLinks(TkwBarItemLinks* Links, int Index) {
  // While toggling, what the menu holds is what the previous state put there.
  if ((FExpanded && !FToggling) || (!FExpanded && FToggling)) TkwBarContainerItem::RemoveLinks(Links, Index);
}

void TkwBarInPlaceSubItem::DoAfterExpand(TkwBarItemLink* Link) {
  if (OnAfterExpand) OnAfterExpand(this, Link);
  ApplyKeepBeginGroup(Link, true);
}

void TkwBarInPlaceSubItem::DoBeforeCollapse(TkwBarItemLink* Link) {
  if (OnBeforeCollapse) OnBeforeCollapse(this, Link);
  ApplyKeepBeginGroup(Link, false);
}

void TkwBarInPlaceSubItem::ApplyKeepBeginGroup(TkwBarItemLink* Link, bool Value) {
  if (!KeepBeginGroupWhileExpanded || !Link) return;
  TkwBarWindow* window = Link->GetBarControl();
  if (window && !window->IsSubMenu()) return;
  auto* links = dynamic_cast<TkwBarItemLinks*>(Link->Collection());
  if (!links) return;
  int shown = links->IndexOfShown(Link);
  if (shown < 0) return;
  // Past the block the menu holds for this link now (none in design mode or in a closed menu).
  int next = shown + 1;
  while (next < links->GetShownItemCount() && links->GetShownItem(next)->OriginalLink == Link) ++next;
  if (next < links->GetShownItemCount()) links->GetShownItem(next)->SetBeginGroup(Value);
}

// --- TkwBarInPlaceSubItemControl ---------------------------------------------------------------------

VELBOR_IMPLEMENT_CLASS(TkwBarInPlaceSubItemControl)

bool TkwBarInPlaceSubItemControl::InMenu() const {
  TCustomkwBarControl* window = Window();
  return window && window->IsSubMenu();
}

bool TkwBarInPlaceSubItemControl::HasSubMenu() const {
  return !InMenu() && TkwBarContainerItemControl::HasSubMenu();
}

void TkwBarInPlaceSubItemControl::BeforeClick(bool ByMouse) {
  if (!InMenu()) TkwBarContainerItemControl::BeforeClick(ByMouse);
}

void TkwBarInPlaceSubItemControl::Click(bool ByMouse) {
  if (!InMenu()) {
    TkwBarContainerItemControl::Click(ByMouse);
    return;
  }
  Toggle();
}

void TkwBarInPlaceSubItemControl::Toggle() {
  TkwBarInPlaceSubItem* item = InPlace();
  TCustomkwBarControl* window = Window();
  TkwBarItemLink* link = Link();
  if (!item || !window || !link || !GetEnabled()) return;
  TkwBarItemLinks* links = window->ItemLinks();
  int index = window->SelectedControl() == this ? link->Index() : -1;
  item->Click();
  if (!IsLiveBarControl(window) || !window->HasItemControl(this)) return;
  // The menu rebuilds: this control goes with it, so nothing of it is used below.
  item->SetExpanded(!item->Expanded());
  if (!IsLiveBarControl(window) || index < 0 || index >= links->Count()) return;
  TkwBarItemLink* now = links->Items(index);
  if (now->GetOriginalLink() != link->GetOriginalLink()) return;
  if (!now->Control()) now->CreateItemControl();
  if (now->Control()) window->ActivateItem(now->Control());
}

void TkwBarInPlaceSubItemControl::DblClick() {
  if (GetEnabled()) Click(true);
}

bool TkwBarInPlaceSubItemControl::WantsKey(WORD Key) const {
  if (!InMenu()) return TkwBarContainerItemControl::WantsKey(Key);
  TkwBarInPlaceSubItem* item = InPlace();
  bool expanded = item && item->Expanded();
  return TkwBarItemControl::WantsKey(Key) || (Key == VK_LEFT && expanded) || (Key == VK_RIGHT && !expanded);
}

void TkwBarInPlaceSubItemControl::KeyDown(WORD& Key) {
  if (!InMenu()) {
    TkwBarContainerItemControl::KeyDown(Key);
    return;
  }
  if (Key != VK_LEFT && Key != VK_RIGHT) return;
  Key = 0;
  Toggle();
}

int TkwBarInPlaceSubItemControl::CalcHeight() {
  return InMenu() ? TkwBarContainerItemControl::CalcHeight() + 1 : TkwBarContainerItemControl::CalcHeight();
}

int TkwBarInPlaceSubItemControl::CalcWidth() {
  TCustomkwBarControl* window = Window();
  if (!InMenu() || !window) return TkwBarContainerItemControl::CalcWidth();
  // The caption from 5 pixels in, and room for the arrow at the right.
  return window->Canvas()->TextWidth(RemoveAmpersands(GetCaption())) + 2 * window->RowUnit() + 5;
}

void TkwBarInPlaceSubItemControl::Draw(const TRect& Rect, int Kind) {
  TCustomkwBarControl* window = Window();
  TkwBarInPlaceSubItem* item = InPlace();
  if (!InMenu() || !window || !item) {
    TkwBarContainerItemControl::Draw(Rect, Kind);
    return;
  }
  if (Rect.IsEmpty()) return;
  window->Painter()->DrawInPlaceSubItem(this, window->Canvas()->Handle(), Rect, item->Expanded(), IsSelected());
}
