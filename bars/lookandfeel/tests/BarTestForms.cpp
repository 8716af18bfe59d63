// This file implements the test forms' class information: handlers by name.
#include "BarTestForms.h"

#include "ImageList.h"
#include "kwBarUtils.h"

VELBOR_IMPLEMENT_CLASS(TTestBarFrame)

VELBOR_IMPLEMENT_CLASS(TTestBarChild)
VELBOR_HANDLERS(TTestBarChild, VELBOR_HANDLER(FormClose))

int TTestResetForm::ItemsGone = 0;
VELBOR_IMPLEMENT_CLASS(TTestResetForm)
VELBOR_HANDLERS(TTestResetForm, VELBOR_HANDLER(ResetDone), VELBOR_HANDLER(ItemGone))

VELBOR_IMPLEMENT_CLASS(TTestSystemMenuItem)

void InstallTestBarForms() {
  InstallTestBarClasses();
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterClass(TImageList::StaticClass());
  RegisterBarItemClass(TTestSystemMenuItem::StaticClass(), TTestItemControl::StaticClass(), false);
  SetMDISystemMenuItemClass(TTestSystemMenuItem::StaticClass());
}
