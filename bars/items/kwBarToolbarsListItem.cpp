// This file implements the toolbars list item.
#include "kwBarToolbarsListItem.h"

#include "kwBarManager.h"
#include "kwBarUtils.h"

VELBOR_IMPLEMENT_CLASS(TkwBarToolbarsListItem)
VELBOR_PUBLISHED(TkwBarToolbarsListItem,
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnPopup", &Self::OnPopup))

TkwBarToolbarsListItem::TkwBarToolbarsListItem(TComponent* AOwner) : TCustomkwBarSubItem(AOwner) {
  GeneratedLinks = true;
}

VELBOR_IMPLEMENT_CLASS(TkwBarToolbarsListItemControl)

bool TkwBarToolbarsListItemControl::HasSubMenu() const {
  TkwBarManager* manager = GetBarManager();
  return !manager || !manager->IsCustomizing();
}

void TkwBarToolbarsListItemControl::CreateSubMenuWindow() {
  TkwBarManager* manager = GetBarManager();
  TCustomkwBarSubItem* item = SubItem();
  if (!manager || !item || manager->IsCustomizing()) return;
  TkwBarItemLinks* links = item->ItemLinks();
  if (links->BarControl()) return;
  // The entries of the last opening go first, so that their temporary items are free to go now
  // rather than one opening later.
  links->Clear();
  FreeUnlinkedTemporaryItems();
  manager->BuildToolbarsListLinks(links);
  links->CreateBarControl();
}
