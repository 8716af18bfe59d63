// This file implements TfrmDemarrage, the start-up window.
#include "Object.h"
#include "pfrmDemarrage.h"

#include "pFrmMain.h"
#include "pUtilZH.h"

TfrmDemarrage* frmDemarrage = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmDemarrage)
VELBOR_HANDLERS(TfrmDemarrage, VELBOR_HANDLER(FormDestroy))
VELBOR_FIELDS(TfrmDemarrage, VELBOR_FIELD(Panel1), VELBOR_FIELD(OxGradient1), VELBOR_FIELD(Label1), VELBOR_FIELD(Label2))

namespace {

struct TfrmDemarrageClassRegistration {
  TfrmDemarrageClassRegistration() {
    for (TClass Class : {TPanel::StaticClass(), TLabel::StaticClass()}) RegisterClass(Class);
    RegisterOxGradient();
  }
} frmDemarrageClassRegistration;

}  // namespace

void TfrmDemarrage::FormDestroy(TObject*) {
  if (frmDemarrage == this) frmDemarrage = nullptr;
  // The record window opens once: here when the main window was never painted before.
  if (FormExiste(frmMainForm) && frmMainForm->Tag == 0) {
    frmMainForm->Tag = 1;
    frmMainForm->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    frmMainForm->actGestionFiches->Execute();
  }
}
