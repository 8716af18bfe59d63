// This file implements TfrmAdministration, the administrator password dialog.
#include "Object.h"
#include "pfrmAdministration.h"

#include "pUtilZH.h"

VELBOR_IMPLEMENT_CLASS(TfrmAdministration)
VELBOR_HANDLERS(TfrmAdministration, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose), VELBOR_HANDLER(btnOkClick))
VELBOR_FIELDS(TfrmAdministration, VELBOR_FIELD(Label1), VELBOR_FIELD(eMotDePasse), VELBOR_FIELD(btnOk),
              VELBOR_FIELD(btnAnnuler))

namespace {

struct TfrmAdministrationClassRegistration {
  TfrmAdministrationClassRegistration() {
    for (TClass Class : {TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass()}) RegisterClass(Class);
  }
} frmAdministrationClassRegistration;

}  // namespace

void TfrmAdministration::FormCreate(TObject*) { MotDePasseSaisi.clear(); }

// Made anew at every command: closing frees it.
void TfrmAdministration::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmAdministration::btnOkClick(TObject*) { MotDePasseSaisi = eMotDePasse->Text(); }
