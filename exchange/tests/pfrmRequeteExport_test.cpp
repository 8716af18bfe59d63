// Tests of the code-range dialog of the inventory export: the range its Ok hands to the exchange
// dialog, the refused reversed range, and a code holding an apostrophe exported on its own.
#include "OsPort.h"

#include <gtest/gtest.h>

#include <functional>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "Dialogs.h"
#include "ExchangeFile.h"
#include "FormatSettings.h"
#include "OxFilenameEdit.h"
#include "OxLookupCombo.h"
#include "UiTestSupport.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmRequeteExport.h"

namespace {

const char* const CodeApostrophe = "073D'ARC0001";

// Work on the range dialog from inside its modal loop, once the export shows it.
void DansRequete(std::function<void(TfrmRequeteExport*)> Work) {
  Later([Work] {
    if (FormExiste(frmRequeteExport) && frmRequeteExport->Visible()) Work(frmRequeteExport);
    else DansRequete(Work);
  });
}

class RequeteExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    AppTest::MakeModuleDatabase();
    AppTest::OpenModuleDatabase()->Execute(
        "insert into T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT) values ('073D''ARC0001', 'Marais d''Arc', 'A')");
    Application->CreateForm(Main);
    Application->CreateForm(dmVelbor);
    Echange = CreateForm<TfrmEchangeKelvor>(Application);
    frmEchangeKelvor = Echange;
  }
  void TearDown() override {
    if (FormExiste(frmRequeteExport)) frmRequeteExport->Free();
    if (FormExiste(Echange)) Echange->Free();
    if (dmVelbor != nullptr) dmVelbor->Free();
    if (Main != nullptr) Main->Free();
    Application->ProcessMessages();
  }
  TfrmRequeteExport* OuvrirRequete() {
    frmRequeteExport = CreateForm<TfrmRequeteExport>(Application);
    frmRequeteExport->Show();
    return frmRequeteExport;
  }

  TModalScript Script;
  AppTest::TTestMainForm* Main = nullptr;
  TfrmEchangeKelvor* Echange = nullptr;
};

TEST_F(RequeteExportTest, TheCombosOfferEveryWetlandCodeInOrder) {
  TfrmRequeteExport* Requete = OuvrirRequete();
  EXPECT_EQ(Requete->Caption(), "Zones humides à exporter"_a);
  ASSERT_TRUE(Requete->ADOQuery->Active());
  String Codes;
  for (Requete->ADOQuery->First(); !Requete->ADOQuery->Eof(); Requete->ADOQuery->Next())
    Codes += Requete->ADOQuery->FieldByName("zh_code")->AsString() + ";";
  EXPECT_EQ(Codes, "073ASTERS0001;073ASTERS0002;073D'ARC0001;971PNG   0001;");
}

TEST_F(RequeteExportTest, OkHandsTheRangeToTheExchangeDialogUnlessItIsReversed) {
  const char* const Message = "La zone humide de début doit être inférieur à celle de fin"_a;
  struct Cas {
    const char* Debut;
    const char* Fin;
    bool Ferme;
  } cas[] = {
      {"", "", true},
      {"073ASTERS0002", "", true},
      {"", "073ASTERS0002", true},
      {"073ASTERS0002", "073ASTERS0002", true},
      {CodeApostrophe, CodeApostrophe, true},
      {"971PNG   0001", "073ASTERS0001", false},
  };
  for (const Cas& C : cas) {
    Script.Asked.clear();
    Echange->CodeDebut = "avant";
    Echange->CodeFin = "avant";
    TfrmRequeteExport* Requete = OuvrirRequete();
    Requete->OxDBLkcboDebut->SetValue(C.Debut);
    Requete->OxDBLkcboFin->SetValue(C.Fin);
    Requete->bbtnOk->Click();
    Application->ProcessMessages();
    String Cas = String(C.Debut) + " - " + C.Fin;
    EXPECT_EQ(FormExiste(Requete), !C.Ferme) << Cas;
    if (C.Ferme) {
      EXPECT_TRUE(Script.Asked.empty()) << Cas;
      EXPECT_EQ(Echange->CodeDebut, C.Debut);
      EXPECT_EQ(Echange->CodeFin, C.Fin);
    } else {
      ASSERT_EQ(Script.Asked.size(), 1u) << Cas;
      EXPECT_EQ(Script.Asked[0].Text, Message);
      EXPECT_EQ(Script.Asked[0].Caption, "Message");
      EXPECT_EQ(Script.Asked[0].Flags, 48u);
      EXPECT_EQ(Echange->CodeDebut, "avant");
      EXPECT_EQ(Echange->CodeFin, "avant");
      Requete->Free();
    }
  }
}

TEST_F(RequeteExportTest, ACodeWithAnApostropheExportsItsOwnWetland) {
  String Cible = OsPort::TempFolder() + "velbor_requete_export.uzh";
  OsPort::DeleteFile(Cible);
  Echange->Show();
  Echange->rbtnExportInventaire->SetChecked(true);
  Echange->OxFilenameEdit->SetText(Cible);
  DansRequete([](TfrmRequeteExport* Requete) {
    Requete->OxDBLkcboDebut->SetValue(CodeApostrophe);
    Requete->OxDBLkcboFin->SetValue(CodeApostrophe);
    Requete->bbtnOk->Click();
  });
  Script.Push(IDOK);
  Echange->bbtnOk->Click();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Text, "Fin de l'exportation");
  String Codes;
  for (const String& Ligne : Exchange::SplitLines(Exchange::ReadFileBytes(Cible)))
    if (Ligne.substr(0, 4) == "ZHI|") Codes += Ligne.substr(4, Ligne.find('|', 4) - 4) + ";";
  EXPECT_EQ(Codes, "073D'ARC0001;");
}

}  // namespace
