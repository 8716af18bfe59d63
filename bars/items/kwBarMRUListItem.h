// This file implements TkwBarMRUListItem, the list of recently used files: a list item that keeps
// at most a number of entries, shows each path shortened to 300 pixels with an ellipsis in its
// middle, and can drop the entry that is clicked.
#pragma once

#include "kwBarSubItem.h"

class TkwBarMRUListItem : public TkwBarListItem {
  VELBOR_DECLARE_CLASS(TkwBarMRUListItem, TkwBarListItem)
 public:
  explicit TkwBarMRUListItem(TComponent* AOwner);

  // Properties.
  int MaxItemCount() const { return FMaxItemCount; }
  // Negatives become 0, which means no limit; entries beyond a limit are dropped from the end.
  void SetMaxItemCount(int Value);
  bool RemoveItemOnClick() const { return FRemoveItemOnClick; }
  void SetRemoveItemOnClick(bool Value) { FRemoveItemOnClick = Value; }

  // Operations.
  // Drops the entry of a text (when one is given), else the first entry holding the object.
  void RemoveItem(const String& Text, TObject* AObject);

  // Overrides.
  void GetDisplayText(const String& S, String& Text) const override;
  // With RemoveItemOnClick the clicked entry leaves the list (not while customizing).
  void Click() override;

 private:
  // Entries added beyond the limit (at the end: the oldest) are dropped at once.
  void EntriesChanged(TObject*);
  void Trim();

  int FMaxItemCount = 5;
  bool FRemoveItemOnClick = false;
};
