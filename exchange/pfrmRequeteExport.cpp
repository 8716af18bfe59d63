// This file implements TfrmRequeteExport, the code-range dialog of the inventory export: its Ok
// hands the chosen first and last codes to the exchange dialog.
#include "Object.h"
#include "pfrmRequeteExport.h"

#include "ADODB.h"
#include "DataSource.h"
#include "Dialogs.h"
#include "OxLookupCombo.h"
#include "pUtilZH.h"
#include "pfrmEchangeKelvor.h"

TfrmRequeteExport* frmRequeteExport = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmRequeteExport)
VELBOR_HANDLERS(TfrmRequeteExport, VELBOR_HANDLER(bbtnOkClick), VELBOR_HANDLER(FormClose))
VELBOR_FIELDS(TfrmRequeteExport, VELBOR_FIELD(ADOQuery), VELBOR_FIELD(DataSource), VELBOR_FIELD(OxDBLkcboDebut),
              VELBOR_FIELD(Label1), VELBOR_FIELD(OxDBLkcboFin), VELBOR_FIELD(bbtnOk))

namespace {

// The description creates its components by class name (registered with the first dialog).
void EnregistrerClasses() {
  static bool Fait = false;
  if (Fait) return;
  Fait = true;
  for (TClass Class : {TADOQuery::StaticClass(), TDataSource::StaticClass(), TLabel::StaticClass(),
                       TBitBtn::StaticClass()})
    RegisterClass(Class);
  RegisterOxLookupControls();
}

}  // namespace

TfrmRequeteExport::TfrmRequeteExport(TComponent* AOwner) : TForm(AOwner) { EnregistrerClasses(); }

TfrmRequeteExport::~TfrmRequeteExport() {
  if (frmRequeteExport == this) frmRequeteExport = nullptr;
}

void TfrmRequeteExport::bbtnOkClick(TObject*) {
  String Debut = OxDBLkcboDebut->Value();
  String Fin = OxDBLkcboFin->Value();
  // The codes are compared character by character, as the export's range reads them.
  if (!Debut.empty() && !Fin.empty() && Debut > Fin) {
    Application->MessageBox("La zone humide de début doit être inférieur à celle de fin"_a, "Message",
                            MB_OK | MB_ICONWARNING);
    return;
  }
  // The exchange dialog binds the codes as values: a code holding an apostrophe is only a code.
  if (FormExiste(frmEchangeKelvor)) {
    frmEchangeKelvor->CodeDebut = Debut;
    frmEchangeKelvor->CodeFin = Fin;
  }
  Close();
}

void TfrmRequeteExport::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
