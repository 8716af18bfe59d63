// This file registers the common controls with the form reader, so that a form description
// naming them can be read by a program that never refers to their classes in code.
#include "ComCtrls.h"

void RegisterComCtrls() {
  for (TClass Class : {TTabControl::StaticClass(), TTabSheet::StaticClass(), TPageControl::StaticClass(),
                       TStatusBar::StaticClass(), TTreeView::StaticClass(), THeaderControl::StaticClass(),
                       TUpDown::StaticClass(), TProgressBar::StaticClass(), TImageList::StaticClass()})
    RegisterClass(Class);
}
