// Tests of the new-record dialog on real windows: the codes it makes for a table of departments,
// owners and existing codes, each checked in the file with its creation history row; the refused
// entries and the refused 10,000th code, which write nothing and give the buttons back; a failed
// write that leaves nothing behind; and the record window's Création, which edits the new record.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "FormatSettings.h"
#include "OxLookupEdit.h"
#include "ScreenshotFiles.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TestDeadline.h"
#include "UiTestSupport.h"
#include "RecordWindowFixture.h"
#include "pFrmZoneHumide.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAttention.h"
#include "pfrmCreation.h"

namespace {

const char* const kMessageDepartement =
    "Le département doit être le numéro d'un département : 01 à 95, 2A, 2B, 971 à 974 ou 976"_a;

String Texte(const String& Sql) {
  auto Session = AppTest::OpenModuleDatabase();
  SqliteStatement Statement = Session->Prepare(Sql);
  return Statement.Step() ? Statement.ColumnText(0) : String();
}

class CreationTest : public AppTest::RecordWindowFixture {
 protected:
  CreationTest() { Operateur = "Lefèvre"_a; }
  void CloseOwnWindows() override {
    if (FormExiste(frmCreation)) frmCreation->Free();
    frmCreation = nullptr;
  }
  static double Nombre(const String& Sql) { return AppTest::ReadNumber(Sql); }

  // The dialog as a plain window, so that the test types into it.
  TfrmCreation* Ouvrir() {
    frmCreation = CreateForm<TfrmCreation>(Application);
    frmCreation->Show();
    EXPECT_TRUE(Painted(frmCreation));
    return frmCreation;
  }
  // Types the department and the owner as the operator does, then clicks Ok.
  static void Saisir(TfrmCreation* Dialogue, const String& Departement, const String& Maitre) {
    ASSERT_TRUE(GiveFocus(Dialogue->eDep));
    Dialogue->eDep->SelectAll();
    if (Departement.empty()) Press(VK_DELETE);
    else TypeText(Departement);
    ASSERT_TRUE(WaitFor("the department typed", [&] { return Dialogue->eDep->Text() == Departement; }))
        << Dialogue->eDep->Text();
    ASSERT_TRUE(GiveFocus(Dialogue->eMaitreOeuvre));
    Dialogue->eMaitreOeuvre->SelectAll();
    TypeText(Maitre);
    ASSERT_TRUE(WaitFor("the owner typed", [&] { return Dialogue->eMaitreOeuvre->Text() == Maitre; }))
        << Dialogue->eMaitreOeuvre->Text();
    ClickControl(Dialogue->bbOk);
  }

};

TEST_F(CreationTest, TheDialogStartsAsDescribed) {
  TfrmCreation* Dialogue = Ouvrir();
  EXPECT_EQ(Dialogue->Caption(), "Création du code de la zone humide"_a);
  EXPECT_EQ(Dialogue->ClientWidth(), 295);
  EXPECT_EQ(Dialogue->ClientHeight(), 125);
  EXPECT_EQ(Dialogue->eDep->Text(), "0");
  EXPECT_EQ(Fiche->OxExBtnCreation->Tag, 0);
  // Entering the department puts the caret after its text.
  ASSERT_TRUE(GiveFocus(Dialogue->eMaitreOeuvre));
  Press(VK_TAB, true);
  ASSERT_TRUE(WaitFor("the department focused", [&] { return Dialogue->eDep->Focused(); }));
  EXPECT_EQ(Dialogue->eDep->SelStart(), 1);
  EXPECT_EQ(Dialogue->eDep->SelLength(), 0);
  // The owners offered are those of the existing codes.
  ASSERT_TRUE(Dialogue->qRechercheMO->Active());
  EXPECT_TRUE(Dialogue->qRechercheMO->Locate("ZH_CODE", "ASTERS", {}));
  EXPECT_TRUE(Dialogue->qRechercheMO->Locate("ZH_CODE", "PNG   ", {}));
  RECT Rect;
  GetWindowRect(Dialogue->Handle(), &Rect);
  HDC Screen = GetDC(nullptr);
  SaveScreenshotOf(Screen, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, "creation");
  ReleaseDC(nullptr, Screen);
}

// The code made for a department and an owner, over the codes the file holds: the number follows
// the highest of the pair, case aside; wildcards and quotes in the owner are only characters. The
// record and its "C" history row are in the file, and the list stands on the new code.
TEST_F(CreationTest, TheNextFreeCodeOfADepartmentAndOwner) {
  struct TCas {
    const char* Departement;
    const char* Maitre;
    std::vector<const char*> Existants;
    const char* Attendu;
  };
  const TCas Cas[] = {
      {"045", "XYZ", {}, "045XYZ   0001"},
      {"45", "XYZ", {}, "045XYZ   0002"},
      {"073", "ASTERS", {}, "073ASTERS0003"},
      {"2a", "CORSE", {"02ACORSE 0012", "02BCORSE 0020"}, "02ACORSE 0013"},
      {"02B", "CORSE", {}, "02BCORSE 0021"},
      {"971", "PNG", {}, "971PNG   0002"},
      {"976", "MAY", {"976MAY   9998"}, "976MAY   9999"},
      {"045", "ABCDEF", {"045ABCDEF0041", "045ABCDE 0077"}, "045ABCDEF0042"},
      {"045", "%", {"045X     0007"}, "045%     0001"},
      {"045", "A_C", {"045ABC   0003", "045ABCD  0005"}, "045A_C   0001"},
      {"045", "xyz", {}, "045xyz   0003"},
      {"045", "d'O", {"045D'O   0004"}, "045d'O   0005"},
      {"045", "\\", {"045X     0002"}, "045\\     0001"},
  };
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Attendu);
    for (const char* Code : C.Existants)
      Execute("INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT) VALUES (" + QuotedStr(Code) + ", 'Existant', 'A')");
    double Fiches = Nombre("select count(*) from T_ZONE_HUMIDE");
    TModalScript Script;
    TfrmCreation* Dialogue = Ouvrir();
    Saisir(Dialogue, C.Departement, C.Maitre);
    ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmCreation); }));
    EXPECT_TRUE(Script.Asked.empty()) << Script.Asked[0].Text;
    String Code = C.Attendu;
    EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE"), Fiches + 1);
    EXPECT_EQ(Texte("select ZH_STATUT from T_ZONE_HUMIDE where ZH_CODE = " + QuotedStr(Code)), "A");
    EXPECT_EQ(Nombre("select count(*) from T_HISTORIQUE where ACTION_CODE = 'C' and ZH_CODE = " + QuotedStr(Code) +
                     " and cast(HISTO_DATE as integer) = " + IntToStr(int(Date()))),
              1);
    EXPECT_EQ(Texte("select HISTO_AUTEUR from T_HISTORIQUE where ZH_CODE = " + QuotedStr(Code)), "Lefèvre"_a);
    EXPECT_EQ(Texte("select HISTO_ORGANISME from T_HISTORIQUE where ZH_CODE = " + QuotedStr(Code)),
              "Conservatoire d'espaces naturels");
    EXPECT_EQ(dmVelbor->qListeZoneHumide->FieldByName("zh_code")->AsString(), Code);
    EXPECT_EQ(Fiche->OxExBtnCreation->Tag, 1);
    Fiche->OxExBtnCreation->Tag = 0;
  }
}

// What is refused writes nothing, says why and leaves the dialog open with its buttons usable.
TEST_F(CreationTest, RefusalsWriteNothingAndGiveTheButtonsBack) {
  Execute("INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT) VALUES ('045PLEIN 9999', 'Dernier', 'A')");
  struct TCas {
    const char* Departement;
    const char* Maitre;
    const char* Message;
  };
  const TCas Cas[] = {
      {"-12", "XYZ", kMessageDepartement},
      {"$1F", "XYZ", kMessageDepartement},
      {"4A5", "XYZ", kMessageDepartement},
      {"020", "XYZ", kMessageDepartement},
      {"975", "XYZ", kMessageDepartement},
      {"000", "XYZ", kMessageDepartement},
      {"5", "XYZ", kMessageDepartement},
      {"", "XYZ", kMessageDepartement},
      {"045", "   ", "Le maitre d'œuvre doit être renseigné "_a},
      {"045", "PLEIN",
       "Les 9999 codes du département 045 et du maitre d'œuvre \"PLEIN\" sont tous pris : aucun code ne peut être "
       "créé."_a},
  };
  TfrmCreation* Dialogue = Ouvrir();
  double Fiches = Nombre("select count(*) from T_ZONE_HUMIDE");
  double Historique = Nombre("select count(*) from T_HISTORIQUE");
  for (const TCas& C : Cas) {
    SCOPED_TRACE(C.Departement + String(" / ") + C.Maitre);
    TModalScript Script;
    Saisir(Dialogue, C.Departement, C.Maitre);
    ASSERT_EQ(Script.Asked.size(), 1u);
    EXPECT_EQ(Script.Asked[0].Text, C.Message);
    EXPECT_EQ(Script.Asked[0].Caption, "Attention");
    EXPECT_TRUE(FormExiste(frmCreation));
    EXPECT_TRUE(Dialogue->bbOk->Enabled());
    EXPECT_TRUE(Dialogue->bbFermer->Enabled());
    EXPECT_EQ(Dialogue->eDep->Text(), C.Departement) << "the entries stay";
  }
  EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE"), Fiches);
  EXPECT_EQ(Nombre("select count(*) from T_HISTORIQUE"), Historique);
  EXPECT_EQ(Fiche->OxExBtnCreation->Tag, 0);
  // Annuler closes the dialog.
  ClickControl(Dialogue->bbFermer);
  ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmCreation); }));
}

// The history row refused by the file: the record written before it goes too, the error is shown,
// the buttons come back and the creation flag stays down; the next try writes both.
TEST_F(CreationTest, AFailedWriteLeavesNothingBehind) {
  Execute("CREATE TRIGGER refus BEFORE INSERT ON T_HISTORIQUE BEGIN SELECT RAISE(ABORT, 'historique refusé'); END"_a);
  double Fiches = Nombre("select count(*) from T_ZONE_HUMIDE");
  TfrmCreation* Dialogue = Ouvrir();
  {
    TModalScript Script;
    Saisir(Dialogue, "045", "XYZ");
    ASSERT_EQ(Script.Asked.size(), 1u);
    EXPECT_NE(Script.Asked[0].Text.find("historique refusé"_a), String::npos) << Script.Asked[0].Text;
  }
  EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE"), Fiches);
  EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '045XYZ   0001'"), 0);
  EXPECT_TRUE(FormExiste(frmCreation));
  EXPECT_TRUE(Dialogue->bbOk->Enabled());
  EXPECT_TRUE(Dialogue->bbFermer->Enabled());
  EXPECT_EQ(Fiche->OxExBtnCreation->Tag, 0);
  EXPECT_FALSE(dmVelbor->ADOConnection->InTransaction());
  Execute("DROP TRIGGER refus");
  TModalScript Script;
  ClickControl(Dialogue->bbOk);
  ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmCreation); }));
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '045XYZ   0001'"), 1);
  EXPECT_EQ(Nombre("select count(*) from T_HISTORIQUE where ZH_CODE = '045XYZ   0001' and ACTION_CODE = 'C'"), 1);
}

// The side bar's Création: the dialog is modal; after it the new record is being edited, and its
// first validation of the day adds no "M" row to the "C" one.
TEST_F(CreationTest, TheRecordWindowEditsTheNewRecord) {
  bool Modal = false;
  std::function<void()> Travail;
  Travail = [&] {
    if (!FormExiste(frmCreation) || !frmCreation->Visible()) {
      Later(Travail, 20);
      return;
    }
    Modal = frmCreation->FormState().Contains(fsModal);
    Saisir(frmCreation, "073", "NEUF");
  };
  Later(Travail);
  Fiche->OxLookOut->SetActivePage(Fiche->lopGenerale);
  PumpPending();
  ClickControl(Fiche->OxExBtnCreation);
  EXPECT_TRUE(Modal);
  ASSERT_TRUE(WaitFor("edit mode", [&] { return Fiche->bbtnValidation->Visible(); }));
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_CODE")->AsString(), "073NEUF  0001");
  EXPECT_EQ(Fiche->OxPageControl->ActivePage(), Fiche->ts1_1);
  dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Prairie de l'Écluse"_a);
  Fiche->OxExpressButton7Click(Fiche->bbtnValidation);
  ASSERT_TRUE(WaitFor("the list", [&] { return Fiche->OxPageControl->ActivePage() == Fiche->tsListe; }));
  EXPECT_EQ(Texte("select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '073NEUF  0001'"), "Prairie de l'Écluse"_a);
  EXPECT_EQ(Nombre("select count(*) from T_HISTORIQUE where ZH_CODE = '073NEUF  0001'"), 1);
  // Annuler: back to the list, nothing written.
  double Fiches = Nombre("select count(*) from T_ZONE_HUMIDE");
  Travail = [&] {
    if (!FormExiste(frmCreation) || !frmCreation->Visible()) {
      Later(Travail, 20);
      return;
    }
    ClickControl(frmCreation->bbFermer);
  };
  Later(Travail);
  ClickControl(Fiche->OxExBtnCreation);
  ASSERT_TRUE(WaitFor("the dialog closed", [] { return !FormExiste(frmCreation); }));
  EXPECT_FALSE(Fiche->bbtnValidation->Visible());
  EXPECT_EQ(Fiche->OxPageControl->ActivePage(), Fiche->tsListe);
  EXPECT_EQ(Nombre("select count(*) from T_ZONE_HUMIDE"), Fiches);
}

}  // namespace
