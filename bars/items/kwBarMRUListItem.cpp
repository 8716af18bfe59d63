// This file implements the list of recently used files.
#include "kwBarMRUListItem.h"

#include "kwBarExtItems.h"
#include "kwBarManager.h"

VELBOR_IMPLEMENT_CLASS(TkwBarMRUListItem)
VELBOR_PUBLISHED(TkwBarMRUListItem,
  Prop("MaxItemCount", &Self::MaxItemCount, &Self::SetMaxItemCount).Default(5),
  Prop("RemoveItemOnClick", &Self::RemoveItemOnClick, &Self::SetRemoveItemOnClick).Default(false))

TkwBarMRUListItem::TkwBarMRUListItem(TComponent* AOwner) : TkwBarListItem(AOwner) {
  Items()->OnChange = TNotifyEvent(this, &TkwBarMRUListItem::EntriesChanged);
}

void TkwBarMRUListItem::SetMaxItemCount(int Value) {
  FMaxItemCount = Value < 0 ? 0 : Value;
  Trim();
}

void TkwBarMRUListItem::Trim() {
  TStringList* items = Items();
  if (FMaxItemCount == 0 || items->Count() <= FMaxItemCount) return;
  items->BeginUpdate();
  while (items->Count() > FMaxItemCount) items->Delete(items->Count() - 1);
  items->EndUpdate();
}

void TkwBarMRUListItem::EntriesChanged(TObject*) {
  // Trimming changes the list again; this call then finds it within the limit.
  if (FMaxItemCount > 0 && Items()->Count() > FMaxItemCount) {
    Trim();
    return;
  }
  EntriesEdited();
}

void TkwBarMRUListItem::RemoveItem(const String& Text, TObject* AObject) {
  TStringList* items = Items();
  int index = !Text.empty() ? items->IndexOf(Text) : items->IndexOfObject(AObject);
  if (index >= 0) items->Delete(index);
}

void TkwBarMRUListItem::GetDisplayText(const String& S, String& Text) const {
  TkwBarListItem::GetDisplayText(S, Text);
  Text = ShortenPath(Text, 300);
}

void TkwBarMRUListItem::Click() {
  // A click on the item's own entry (its menu being opened) is no choice of an entry.
  bool own = false;
  for (int i = 0; i < GetLinkCount(); ++i)
    if (GetLink(i)->Control() && GetLink(i)->Control()->Active()) own = true;
  TkwBarListItem::Click();
  if (own || !FRemoveItemOnClick) return;
  TkwBarManager* manager = BarManager();
  if (manager && manager->IsCustomizing()) return;
  int index = ItemIndex();
  if (index < 0 || index >= Items()->Count()) return;
  Items()->Delete(index);
  SetItemIndex(-1);
}
