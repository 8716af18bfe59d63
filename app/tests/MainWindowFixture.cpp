// This file implements the fixture of the tests over the main window.
#include "MainWindowFixture.h"

#include "AppTestSupport.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "UiTestSupport.h"
#include "pFrmMain.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pVelbor.h"
#include "pdmVelbor.h"
#include "pfrmAdministration.h"
#include "pfrmAproposde.h"
#include "pfrmAttention.h"
#include "pfrmDemarrage.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmPersonnalisation.h"
#include "pfrmPreparationEtat.h"

namespace AppTest {

namespace {

template <class T>
void Liberer(T*& Form) {
  if (FormExiste(Form)) Form->Free();
  Form = nullptr;
}

}  // namespace

void MainWindowFixture::SetUp() {
  Deadline = std::make_unique<TTestDeadline>(120);
  FormatSettings = TFormatSettings::French();
  RegisterFrmZoneHumide();
  MakeModuleDatabase();
  ForceDirectories(kDossierParametres);
  if (FileExists(kFichierParametres)) FSaved = ReadFileText(kFichierParametres);
  WriteFileText(kFichierParametres, kParametres);
  ModeAdministrateur = false;
}

void MainWindowFixture::TearDown() {
  FreeAll();
  DeleteFile(kFichierParametres);
  if (FSaved) WriteFileText(kFichierParametres, *FSaved);
  NomUtilisateur.clear();
  Organisme.clear();
  ModeAdministrateur = false;
  FormatSettings = TFormatSettings::French();
  Deadline.reset();
}

void MainWindowFixture::FreeAll() {
  Application->ProcessMessages();
  if (dmVelbor != nullptr) dmVelbor->SetComboActif(nullptr);
  TfrmZoneHumideBase* Record = frmZoneHumide;
  Liberer(Record);
  frmZoneHumide = nullptr;
  Liberer(frmEchangeKelvor);
  Liberer(frmPersonnalisation);
  Liberer(frmAproposde);
  Liberer(frmPreparationEtat);
  Liberer(frmAttention);
  Liberer(frmMainForm);
  Liberer(frmDemarrage);
  if (dmVelbor != nullptr) dmVelbor->Free();
  dmVelbor = nullptr;
}

void MainWindowFixture::CreerFenetrePrincipale(int Width, int Height) {
  Application->CreateForm(dmVelbor);
  Application->CreateForm(frmMainForm);
  frmMainForm->SetWindowState(wsNormal);
  if (Width > 0) frmMainForm->SetBounds(0, 0, Width, Height);
  frmMainForm->Show();
  ASSERT_TRUE(Painted(frmMainForm));
  // The first paint of the frame's own area opens the record window; at a size where the bar
  // and the client area cover it all, the command does, as at the end of the program's start.
  PumpPending();
  if (Fiche() == nullptr) frmMainForm->actGestionFiches->Execute();
  ASSERT_NE(Fiche(), nullptr);
  ASSERT_TRUE(Painted(Fiche()));
}

TfrmZoneHumide* MainWindowFixture::Fiche() {
  return FormExiste(frmZoneHumide) ? dynamic_cast<TfrmZoneHumide*>(frmZoneHumide) : nullptr;
}

void MainWindowFixture::FermerFiche() {
  if (Fiche() != nullptr) Fiche()->Close();
  ASSERT_TRUE(WaitFor("the record window freed", [] { return !FormExiste(frmZoneHumide); }));
}

void MainWindowFixture::Modifier(const String& Code) {
  TfrmZoneHumide* Record = Fiche();
  ASSERT_NE(Record, nullptr);
  ASSERT_TRUE(dmVelbor->qListeZoneHumide->Locate("zh_code", Code, {})) << Code;
  // What the side bar's "Modification" and F12 run.
  Record->OxExBtnModifClick(Record->OxExBtnModif);
  ASSERT_TRUE(WaitFor("edit mode", [] { return EnEdition(); }));
  ASSERT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  ASSERT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), Code);
}

bool MainWindowFixture::EnEdition() { return Fiche() != nullptr && Fiche()->bbtnValidation->Visible(); }

}  // namespace AppTest
