// This file implements the program's start-up.
#include "pVelbor.h"

#include "Forms.h"
#include "pFrmMain.h"
#include "pdmVelbor.h"
#include "pfrmAproposde.h"
#include "pfrmAttention.h"
#include "pfrmDemarrage.h"
#include "pfrmPreparationEtat.h"

void DemarrerVelbor() {
  // Made with new, not CreateForm: the main window, created below, must be the main form.
  frmDemarrage = new TfrmDemarrage(Application);
  frmDemarrage->AfterConstruction();
  frmDemarrage->Show();
  frmDemarrage->Update();

  Application->CreateForm(dmVelbor);
  Application->CreateForm(frmMainForm);
  Application->CreateForm(frmAttention);
  TfrmPreparationEtat* Preparation = nullptr;
  Application->CreateForm(Preparation);
  frmPreparationEtat = Preparation;
  Application->CreateForm(frmAproposde);

  // The first paint opens the record window (TfrmMainForm::FormPaint).
  frmMainForm->SetWindowState(wsMaximized);
  frmMainForm->SetVisible(true);
  Application->ProcessMessages();

  // Freeing clears frmDemarrage (its FormDestroy).
  if (frmDemarrage != nullptr) {
    frmDemarrage->Hide();
    frmDemarrage->Free();
  }
  Application->ProcessMessages();
}
