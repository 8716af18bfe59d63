// This file implements the registration of the bar items.
#include "kwBarItems.h"

#include "kwBarButton.h"
#include "kwBarColorCombo.h"
#include "kwBarCombo.h"
#include "kwBarDateCombo.h"
#include "kwBarEdit.h"
#include "kwBarExtItems.h"
#include "kwBarImageCombo.h"
#include "kwBarMRUListItem.h"
#include "kwBarSpinEdit.h"
#include "kwBarSystemMenuItem.h"
#include "kwBarTreeViewCombo.h"
#include "kwBarSubItem.h"
#include "kwBarUtils.h"
#include "kwBarWindows.h"

void RegisterBarItems() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterBarWindowClasses();
  StartBarLibrary();
  // The built-in items.
  RegisterBarItemClass(TkwBarButton::StaticClass(), TkwBarButtonControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarEdit::StaticClass(), TkwBarEditControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarSubItem::StaticClass(), TkwBarSubItemControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarListItem::StaticClass(), TkwBarContainerItemControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarContainerItem::StaticClass(), TkwBarContainerItemControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarCombo::StaticClass(), TkwBarComboControl::StaticClass(), true);
  // The extended items.
  RegisterBarItemClass(TkwBarStatic::StaticClass(), TkwBarStaticControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarLargeButton::StaticClass(), TkwBarLargeButtonControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarProgressItem::StaticClass(), TkwBarProgressControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarColorCombo::StaticClass(), TkwBarColorComboControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarFontNameCombo::StaticClass(), TkwBarComboControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarDateCombo::StaticClass(), TkwBarDateComboControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarTreeViewCombo::StaticClass(), TkwBarTreeViewComboControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarImageCombo::StaticClass(), TkwBarImageComboControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarSpinEdit::StaticClass(), TkwBarSpinEditControl::StaticClass(), true);
  RegisterBarItemClass(TkwBarMRUListItem::StaticClass(), TkwBarContainerItemControl::StaticClass(), true);
  // The entry of a maximized MDI child's system menu, made by the manager (not offered to users).
  RegisterBarItemClass(TSystemMenuSubItem::StaticClass(), TSystemMenuSubItemControl::StaticClass(), false);
  SetMDISystemMenuItemClass(TSystemMenuSubItem::StaticClass());
  // The marks of the font lists, shared by every font combo.
  TrueTypeFontGlyph();
  OtherFontGlyph();
}
