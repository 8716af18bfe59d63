// This file implements the fixture of the tests over the record window.
#include "RecordWindowFixture.h"

#include "AppTestSupport.h"
#include "FormatSettings.h"
#include "UiTestSupport.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"

namespace AppTest {

TRecordFrame::TRecordFrame(TComponent* AOwner) : TForm(AOwner, true) {
  SetFormStyle(fsMDIForm);
  SetBounds(0, 0, 1000, 700);
  SetCaption("Velbor");
  ActionList1 = new TComponent(this);
  ActionList1->SetName("ActionList1");
}
VELBOR_IMPLEMENT_CLASS(TRecordFrame)

void RecordWindowFixture::SetUp() {
  Deadline = std::make_unique<TTestDeadline>(180);
  FormatSettings = TFormatSettings::French();
  RegisterFrmZoneHumide();
  MakeModuleDatabase();
  Arrange();
  NomUtilisateur = Operateur;
  Organisme = "Conservatoire d'espaces naturels";
  Application->CreateForm(Cadre);
  Cadre->Show();
  Application->CreateForm(dmVelbor);
  Application->CreateForm(frmAttention);
  Application->CreateForm(Fiche);
  Fiche->Show();
  ASSERT_TRUE(Painted(Fiche));
  Activate(Cadre);
}

void RecordWindowFixture::TearDown() {
  CloseOwnWindows();
  Application->ProcessMessages();
  if (dmVelbor != nullptr) dmVelbor->SetComboActif(nullptr);
  if (FormExiste(frmZoneHumide)) frmZoneHumide->Free();
  frmZoneHumide = nullptr;
  if (frmAttention != nullptr) frmAttention->Free();
  frmAttention = nullptr;
  if (dmVelbor != nullptr) dmVelbor->Free();
  dmVelbor = nullptr;
  if (Cadre != nullptr) Cadre->Free();
  Cadre = nullptr;
  NomUtilisateur.clear();
  Organisme.clear();
  FormatSettings = TFormatSettings::French();
  Deadline.reset();
}

void RecordWindowFixture::Execute(const String& Sql) { OpenModuleDatabase()->Execute(Sql); }

}  // namespace AppTest
