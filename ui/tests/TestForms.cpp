// This file implements the test forms' class information: handlers and fields by name.
#include "TestForms.h"

VELBOR_IMPLEMENT_CLASS(TTestDialog)
VELBOR_HANDLERS(TTestDialog, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormShow), VELBOR_HANDLER(EditEnter),
                VELBOR_HANDLER(EditExit))
VELBOR_FIELDS(TTestDialog, VELBOR_FIELD(Edit1), VELBOR_FIELD(Edit2), VELBOR_FIELD(Edit3), VELBOR_FIELD(OkButton),
              VELBOR_FIELD(CancelButton))

VELBOR_IMPLEMENT_CLASS(TTestLayout)
VELBOR_FIELDS(TTestLayout, VELBOR_FIELD(Top1), VELBOR_FIELD(Top2), VELBOR_FIELD(Bottom1), VELBOR_FIELD(Left1),
              VELBOR_FIELD(Right1), VELBOR_FIELD(Client1), VELBOR_FIELD(Corner), VELBOR_FIELD(Stretch))

VELBOR_IMPLEMENT_CLASS(TTestFrameForm)

int TTestChildForm::Destroyed = 0;
VELBOR_IMPLEMENT_CLASS(TTestChildForm)
VELBOR_HANDLERS(TTestChildForm, VELBOR_HANDLER(FormClose), VELBOR_HANDLER(FormDestroy))
VELBOR_FIELDS(TTestChildForm, VELBOR_FIELD(ChildEdit))

VELBOR_IMPLEMENT_CLASS(TTestMaximizedChildForm)
VELBOR_HANDLERS(TTestMaximizedChildForm, VELBOR_HANDLER(FormClose))
