// This file implements the registration of the bar items and the resources the extended items
// share.
#include "kwBarItems.h"

#include <iterator>
#include <memory>

#include "CommonDialogs.h"
#include "kwBarButton.h"
#include "kwBarColorCombo.h"
#include "kwBarCombo.h"
#include "kwBarControlContainer.h"
#include "kwBarDateCombo.h"
#include "kwBarEdit.h"
#include "kwBarExtItems.h"
#include "kwBarImageCombo.h"
#include "kwBarInPlaceSubItem.h"
#include "kwBarMRUListItem.h"
#include "kwBarSpinEdit.h"
#include "kwBarSubItem.h"
#include "kwBarSystemMenuItem.h"
#include "kwBarToolbarsListItem.h"
#include "kwBarTreeViewCombo.h"
#include "kwBarUtils.h"
#include "kwBarWindows.h"

namespace {

struct TItemRegistration {
  TClass (*Item)();
  TClass (*Control)();
  bool Listed;
};

template <class TItem, class TControl>
constexpr TItemRegistration Entry(bool Listed = true) {
  return {&TItem::StaticClass, &TControl::StaticClass, Listed};
}

// Every item class with the control that shows it, in the order the customizing lists offer them:
// the built-in items, then the extended ones.
const TItemRegistration Registrations[] = {
    Entry<TkwBarButton, TkwBarButtonControl>(),
    Entry<TkwBarEdit, TkwBarEditControl>(),
    Entry<TkwBarSubItem, TkwBarSubItemControl>(),
    Entry<TkwBarListItem, TkwBarContainerItemControl>(),
    Entry<TkwBarContainerItem, TkwBarContainerItemControl>(),
    Entry<TkwBarCombo, TkwBarComboControl>(),
    Entry<TkwBarStatic, TkwBarStaticControl>(),
    Entry<TkwBarLargeButton, TkwBarLargeButtonControl>(),
    Entry<TkwBarColorCombo, TkwBarColorComboControl>(),
    Entry<TkwBarFontNameCombo, TkwBarComboControl>(),
    Entry<TkwBarDateCombo, TkwBarDateComboControl>(),
    Entry<TkwBarTreeViewCombo, TkwBarTreeViewComboControl>(),
    Entry<TkwBarImageCombo, TkwBarImageComboControl>(),
    Entry<TkwBarToolbarsListItem, TkwBarToolbarsListItemControl>(),
    Entry<TkwBarSpinEdit, TkwBarSpinEditControl>(),
    Entry<TkwBarControlContainerItem, TkwBarControlContainerControl>(),
    Entry<TkwBarProgressItem, TkwBarProgressControl>(),
    Entry<TkwBarMRUListItem, TkwBarContainerItemControl>(),
    Entry<TkwBarInPlaceSubItem, TkwBarInPlaceSubItemControl>(),
    // The entry of a maximized MDI child's system menu, made by the manager (not offered to users).
    Entry<TSystemMenuSubItem, TSystemMenuSubItemControl>(false),
};

bool Registered = false;
std::unique_ptr<TColorDialog> ColorDialog;
std::unique_ptr<TFontDialog> FontDialog;

}  // namespace

void RegisterBarItems() {
  if (Registered) return;
  Registered = true;
  RegisterBarWindowClasses();
  StartBarLibrary();
  for (const TItemRegistration& r : Registrations) RegisterBarItemClass(r.Item(), r.Control(), r.Listed);
  SetMDISystemMenuItemClass(TSystemMenuSubItem::StaticClass());
  // The marks of the font lists and the dialogs, shared by every colour and font combo.
  TrueTypeFontGlyph();
  OtherFontGlyph();
  BarItemsColorDialog();
  BarItemsFontDialog();
}

void UnregisterBarItems() {
  if (!Registered) return;
  Registered = false;
  if (MDISystemMenuItemClass() == TSystemMenuSubItem::StaticClass()) SetMDISystemMenuItemClass(nullptr);
  for (auto it = std::rbegin(Registrations); it != std::rend(Registrations); ++it) UnregisterBarItemClass(it->Item());
  FontDialog.reset();
  ColorDialog.reset();
  FreeFontGlyphs();
}

TColorDialog* BarItemsColorDialog() {
  if (!ColorDialog) ColorDialog = std::make_unique<TColorDialog>(nullptr);
  return ColorDialog.get();
}

TFontDialog* BarItemsFontDialog() {
  if (!FontDialog) FontDialog = std::make_unique<TFontDialog>(nullptr);
  return FontDialog.get();
}
