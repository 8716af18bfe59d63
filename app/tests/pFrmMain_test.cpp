// Tests of the program's start-up and its main window: the creation order with the start-up
// window, the settings file and its dialog, the command line's administrator switch, the
// administrator dialog, the commands and the MDI commands, the question before closing while a
// record is edited, and a screenshot of the main window at start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "ExtCtrls.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "Jpeg.h"
#include "OsPort.h"
#include "OxBackground.h"
#include "Printers.h"
#include "Resources.h"
#include "ScreenshotFiles.h"
#include "StrUtils.h"
#include "TestDeadline.h"
#include "Streams.h"
#include "UiTestSupport.h"
#include "ZR_Prntr.h"
#include "ZR_View.h"
#include "MainWindowFixture.h"
#include "pFrmZoneHumide.h"
#include "pFrmMain.h"
#include "pImagesCommandes.h"
#include "pUtilZH.h"
#include "pVelbor.h"
#include "pdmVelbor.h"
#include "pfrmAdministration.h"
#include "pfrmAproposde.h"
#include "pfrmAttention.h"
#include "pfrmDemarrage.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmPersonnalisation.h"
#include "kwBarExtItems.h"
#include "kwBarManager.h"
#include "kwBarSubItem.h"
#include "kwBarSubMenuControl.h"
#include "kwBarUtils.h"
#include "kwBars.h"

namespace {

using AppTest::ReadFileText;
using AppTest::WriteFileText;

// Runs Work from inside the message loop once Ready holds (a modal window up), looked for every
// few milliseconds; the test fails when it never does within kWaitLimit.
void QuandPret(std::function<bool()> Ready, std::function<void()> Work, DWORD Start = GetTickCount()) {
  Later(
      [=] {
        if (Ready()) Work();
        else if (GetTickCount() - Start < DWORD(kWaitLimit)) QuandPret(Ready, Work, Start);
        else ADD_FAILURE() << "waited " << kWaitLimit << " ms for a modal window";
      },
      10);
}

template <class T>
bool Modale(T* Form) {
  return FormExiste(Form) && Form->Visible() && Form->FormState().Contains(fsModal);
}

template <class T>
T* FormeActive() {
  return dynamic_cast<T*>(Screen->ActiveForm());
}

// Counts the record windows made while it lives: the creations of their windows, which the
// main window asks of the MDI client.
class TCompteurFiches {
 public:
  TCompteurFiches() : FHook(SetWindowsHookExA(WH_CBT, Creation, nullptr, GetCurrentThreadId())) { Count = 0; }
  ~TCompteurFiches() { UnhookWindowsHookEx(FHook); }
  TCompteurFiches(const TCompteurFiches&) = delete;
  TCompteurFiches& operator=(const TCompteurFiches&) = delete;
  static int Count;

 private:
  static LRESULT CALLBACK Creation(int Code, WPARAM WParam, LPARAM LParam) {
    char Class[64] = {};
    if (Code == HCBT_CREATEWND && GetClassNameA(HWND(WParam), Class, sizeof Class) > 0 &&
        std::strcmp(Class, "TfrmZoneHumide") == 0)
      ++Count;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  HHOOK FHook;
};
int TCompteurFiches::Count = 0;

using AppTest::kParametres;

// The program's windows and module made afresh for each case on a fresh database, with the
// workstation's settings file set aside and put back after it.
class MainWindowTest : public AppTest::MainWindowFixture {
 protected:
  // Waits for the idle update of the main window's actions to give Action the state Enabled.
  [[nodiscard]] testing::AssertionResult Etat(TCustomAction* Action, bool Enabled) {
    return IdleUntil(Action->Name().c_str(), [&] { return Action->Enabled() == Enabled; });
  }
};

// --- Start-up -------------------------------------------------------------------------------

// Whether the start-up window was on screen and painted each time a window was made.
struct TCreationTrace {
  HWND Window;
  bool DemarrageVisible;
};
std::vector<TCreationTrace>* Trace = nullptr;

LRESULT CALLBACK TraceCreations(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_CREATEWND && Trace != nullptr) {
    bool shown = false;
    if (FormExiste(frmDemarrage) && frmDemarrage->HandleAllocated()) {
      HWND h = frmDemarrage->Handle();
      shown = IsWindowVisible(h) && !GetUpdateRect(h, nullptr, FALSE);
    }
    Trace->push_back({HWND(WParam), shown});
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST_F(MainWindowTest, StartUpCreatesInOrderUnderTheStartUpWindowThenFreesIt) {
  std::vector<TCreationTrace> Created;
  Trace = &Created;
  TCompteurFiches Fiches;
  HHOOK Hook = SetWindowsHookExA(WH_CBT, TraceCreations, nullptr, GetCurrentThreadId());
  ASSERT_NE(Hook, nullptr);
  DemarrerVelbor();
  UnhookWindowsHookEx(Hook);
  Trace = nullptr;

  // Owned by the application in the creation order; the start-up window is gone.
  std::vector<String> Owned;
  for (int i = 0; i < Application->ComponentCount(); ++i) Owned.push_back(Application->Components(i)->Name());
  // The record window, opened by the first paint, comes after them; after it only what its
  // controls share (the navigators' pictures), no other window.
  ASSERT_GE(Owned.size(), 6u);
  EXPECT_EQ(Application->Components(5), frmZoneHumide);
  for (std::size_t i = 6; i < Owned.size(); ++i)
    EXPECT_EQ(dynamic_cast<TCustomForm*>(Application->Components(int(i))), nullptr) << Owned[i];
  Owned.resize(5);
  EXPECT_EQ(Owned, (std::vector<String>{"dmVelbor", "frmMainForm", "frmAttention", "frmPreparationEtat", "frmAproposde"}));
  EXPECT_EQ(Application->MainForm(), frmMainForm);
  EXPECT_EQ(frmDemarrage, nullptr);
  for (int i = 0; i < Screen->FormCount(); ++i) EXPECT_NE(Screen->Forms(i)->ClassName(), "TfrmDemarrage");

  // The main window's own window was made while the start-up window showed, painted.
  auto Main = std::find_if(Created.begin(), Created.end(),
                           [](const TCreationTrace& t) { return t.Window == frmMainForm->Handle(); });
  ASSERT_NE(Main, Created.end());
  EXPECT_TRUE(Main->DemarrageVisible);

  EXPECT_TRUE(IsWindowVisible(frmMainForm->Handle()));
  EXPECT_TRUE(IsZoomed(frmMainForm->Handle()));
  EXPECT_EQ(frmMainForm->FormStyle(), fsMDIForm);
  // The maximised record window's caption joins the frame's, as the MDI client writes it.
  ASSERT_NE(Fiche(), nullptr);
  EXPECT_EQ(frmMainForm->Caption(), "Inventaire des zones humides - [" + Fiche()->Caption() + "]");
  EXPECT_EQ(NomUtilisateur, "Dupont");
  EXPECT_EQ(Organisme, "Conservatoire");
  EXPECT_FALSE(frmAttention->Visible());
  EXPECT_FALSE(frmPreparationEtat->Visible());
  EXPECT_FALSE(frmAproposde->Visible());

  // The first paint opened the record window, once; later paints do not open it again, even
  // once the operator closed it. It opens maximised, on its list.
  EXPECT_EQ(TCompteurFiches::Count, 1);
  ASSERT_NE(Fiche(), nullptr);
  EXPECT_TRUE(Fiche()->Visible());
  EXPECT_TRUE(IsZoomed(Fiche()->Handle()));
  EXPECT_EQ(Fiche()->OxPageControl->ActivePage(), Fiche()->tsListe);
  for (int i = 0; i < 2; ++i) {
    frmMainForm->Invalidate();
    ASSERT_TRUE(Painted(frmMainForm));
  }
  EXPECT_EQ(TCompteurFiches::Count, 1);
  FermerFiche();
  frmMainForm->Invalidate();
  ASSERT_TRUE(Painted(frmMainForm));
  EXPECT_EQ(TCompteurFiches::Count, 1);
  EXPECT_FALSE(FormExiste(frmZoneHumide));
}

// The main window at start, kept for a person to look at (build/app/maintests/screenshots). The
// picture compiled into the program fills the MDI client area, stretched.
TEST_F(MainWindowTest, TheBackgroundPictureFillsTheClientAreaAtStart) {
  DemarrerVelbor();
  // The picture is looked at without the record window over it.
  FermerFiche();
  ASSERT_TRUE(Painted(frmMainForm));
  // Maximised, the frame reaches beyond the screen: the part on screen is kept.
  RECT Window, Desktop, Shown;
  GetWindowRect(frmMainForm->Handle(), &Window);
  GetWindowRect(GetDesktopWindow(), &Desktop);
  IntersectRect(&Shown, &Window, &Desktop);
  HDC Screen = GetDC(nullptr);
  SaveScreenshotOf(Screen, Shown.left, Shown.top, Shown.right - Shown.left, Shown.bottom - Shown.top,
                   "fenetre-principale");
  ReleaseDC(nullptr, Screen);

  TResourceStream Stream(MainInstance(), "FONDPRINCIPAL", MAKEINTRESOURCEA(10));
  TJPEGImage Jpeg;
  Jpeg.LoadFromStream(&Stream);
  TBitmap* Picture = Jpeg.Bitmap();
  ASSERT_EQ(Picture->Width(), 859);
  ASSERT_EQ(Picture->Height(), 563);
  HWND Client = frmMainForm->ClientHandle();
  RECT Area;
  GetClientRect(Client, &Area);
  HDC ClientDC = GetDC(Client);
  // Points of the sky, the far bank and the water: each shows the picture's colour at the same
  // place of the picture (near: stretching blends neighbours).
  for (double y : {0.1, 0.3, 0.7, 0.9}) {
    for (double x : {0.2, 0.5, 0.8}) {
      COLORREF Shown = GetPixel(ClientDC, int(x * Area.right), int(y * Area.bottom));
      COLORREF Wanted = GetPixel(Picture->Canvas()->Handle(), int(x * 859), int(y * 563));
      EXPECT_NEAR(GetRValue(Shown), GetRValue(Wanted), 16) << x << "," << y;
      EXPECT_NEAR(GetGValue(Shown), GetGValue(Wanted), 16) << x << "," << y;
      EXPECT_NEAR(GetBValue(Shown), GetBValue(Wanted), 16) << x << "," << y;
    }
  }
  ReleaseDC(Client, ClientDC);
}

// --- Settings -------------------------------------------------------------------------------

// The settings dialog that the first start opens, answered from inside its modal loop.
void RepondreParametres(const String& Nom, const String& Organisme, bool Ok) {
  QuandPret([] { return Modale(frmPersonnalisation); }, [=] {
    ASSERT_TRUE(GiveFocus(frmPersonnalisation->eNom));
    if (!Nom.empty()) TypeText(Nom);
    ASSERT_TRUE(GiveFocus(frmPersonnalisation->eOrganisme));
    if (!Organisme.empty()) TypeText(Organisme);
    if (Ok) Press(VK_RETURN);
    else ClickControl(frmPersonnalisation->bbFermer);
  });
}

TEST_F(MainWindowTest, TheFirstStartAsksForTheOperatorAndWritesTheSettingsFile) {
  struct TCase {
    const char* Name;
    const char* Nom;
    const char* Organisme;
    bool Ok;
    const char* Written;  // null: no file
  } Cases[] = {
      {"confirmed", "Lefèvre"_a, "Syndicat du Rhône"_a, true,
       "[parametres]\r\nnom=Lefèvre\r\norganisme=Syndicat du Rhône\r\n"_a},
      {"confirmed empty", "", "", true, "[parametres]\r\nnom=\r\norganisme=\r\n"},
      {"cancelled", "Martin", "ONF", false, nullptr},
  };
  for (const TCase& Case : Cases) {
    DeleteFile(kFichierParametres);
    NomUtilisateur.clear();
    Organisme.clear();
    RepondreParametres(Case.Nom, Case.Organisme, Case.Ok);
    Application->CreateForm(dmVelbor);
    Application->CreateForm(frmMainForm);
    PumpPending();
    EXPECT_FALSE(FormExiste(frmPersonnalisation)) << Case.Name;
    if (Case.Written != nullptr) {
      ASSERT_TRUE(FileExists(kFichierParametres)) << Case.Name;
      EXPECT_EQ(ReadFileText(kFichierParametres), Case.Written) << Case.Name;
      EXPECT_EQ(NomUtilisateur, Case.Nom) << Case.Name;
      EXPECT_EQ(Organisme, Case.Organisme) << Case.Name;
    } else {
      EXPECT_FALSE(FileExists(kFichierParametres)) << Case.Name;
      EXPECT_EQ(NomUtilisateur, "") << Case.Name;
      EXPECT_EQ(Organisme, "") << Case.Name;
    }
    FreeAll();
  }
}

TEST_F(MainWindowTest, ADamagedSettingsFileIsReadWithDefaultsAndAsksNothing) {
  struct TCase {
    const char* Name;
    String File;
    const char* Nom;
    const char* Organisme;
  } Cases[] = {
      {"binary garbage", String("\x00\xff\xfe\x01[par\x00metres\r\n\x7f", 16), "", ""},
      {"unclosed section", "[parametres\r\nnom=Dupont\r\n", "", ""},
      {"lines without a value", "[parametres]\r\nnom\r\n=Dupont\r\norganisme=ONF\r\n", "", "ONF"},
      {"no line end and a lone CR", "[parametres]\rnom=Dupont\rorganisme=ONF", "Dupont", "ONF"},
      {"empty file", "", "", ""},
  };
  for (const TCase& Case : Cases) {
    WriteFileText(kFichierParametres, Case.File);
    NomUtilisateur.clear();
    Organisme.clear();
    bool Asked = false;
    // Closes a settings dialog that would wrongly open (the start below would wait in it).
    Later([&] {
      if (FormExiste(frmPersonnalisation)) {
        Asked = true;
        frmPersonnalisation->Close();
      }
    });
    ASSERT_NO_THROW(Application->CreateForm(dmVelbor)) << Case.Name;
    ASSERT_NO_THROW(Application->CreateForm(frmMainForm)) << Case.Name;
    PumpPending();
    EXPECT_FALSE(Asked) << Case.Name;
    EXPECT_EQ(NomUtilisateur, Case.Nom) << Case.Name;
    EXPECT_EQ(Organisme, Case.Organisme) << Case.Name;
    FreeAll();
  }
}

// --- Command line ---------------------------------------------------------------------------

TEST(CommandLine, OnlyBackslashAInAnyCaseAsksForAdministratorMode) {
  struct TCase {
    std::vector<String> Arguments;
    bool Administrator;
  } Cases[] = {
      {{"\\a"}, true},  {{"\\A"}, true},   {{"fichier", "\\a"}, true}, {{"/a"}, false},
      {{"-a"}, false},  {{"a"}, false},    {{"\\a "}, false},          {{"\\ab"}, false},
      {{}, false},      {{"\\"}, false},
  };
  for (const TCase& Case : Cases) {
    String Shown;
    for (const String& a : Case.Arguments) Shown += "[" + a + "]";
    EXPECT_EQ(ArgumentsAdministrateur(Case.Arguments), Case.Administrator) << Shown;
  }
}

TEST_F(MainWindowTest, TheMainWindowStartsOutOfAdministratorMode) {
  // This program's own arguments hold no "\a": whatever was set before, creation clears it.
  ModeAdministrateur = true;
  CreerFenetrePrincipale();
  EXPECT_FALSE(ModeAdministrateur);
}

// --- Administrator dialog -------------------------------------------------------------------

TEST_F(MainWindowTest, TheAdministratorPasswordSwitchesAdministratorModeOnForGood) {
  CreerFenetrePrincipale();
  struct TCase {
    const char* Name;
    const char* Typed;
    bool Ok;
    bool Administrator;
  } Cases[] = {
      {"wrong password", "6288", true, false},
      {"nothing typed", "", true, false},
      {"right password cancelled", "6287", false, false},
      {"right password", "6287", true, true},
  };
  for (const TCase& Case : Cases) {
    TModalScript Script;
    String Masked;
    char PasswordChar = 0;
    QuandPret([] { return Modale(FormeActive<TfrmAdministration>()); }, [&] {
      auto* Dialog = FormeActive<TfrmAdministration>();
      EXPECT_EQ(Dialog->Caption(), "Administration");
      ASSERT_TRUE(GiveFocus(Dialog->eMotDePasse));
      if (*Case.Typed != 0) TypeText(Case.Typed);
      PasswordChar = char(SendMessageA(Dialog->eMotDePasse->Handle(), EM_GETPASSWORDCHAR, 0, 0));
      if (Case.Ok) Press(VK_RETURN);
      else ClickControl(Dialog->btnAnnuler);
    });
    ASSERT_TRUE(frmMainForm->actAdministration->Execute()) << Case.Name;
    EXPECT_EQ(PasswordChar, '*') << Case.Name;
    EXPECT_EQ(ModeAdministrateur, Case.Administrator) << Case.Name;
    EXPECT_EQ(frmMainForm->actAdministration->Enabled(), !Case.Administrator) << Case.Name;
    if (Case.Administrator) {
      EXPECT_TRUE(Script.Asked.empty()) << Case.Name;
    } else {
      ASSERT_EQ(Script.Asked.size(), 1u) << Case.Name;
      EXPECT_EQ(Script.Asked[0].Text, "Mot de passe incorrect !") << Case.Name;
      EXPECT_EQ(Script.Asked[0].Caption, "Erreur") << Case.Name;
      EXPECT_EQ(Script.Asked[0].Flags & MB_ICONMASK, unsigned(MB_ICONERROR)) << Case.Name;
    }
    PumpPending();
    for (int i = 0; i < Screen->FormCount(); ++i)
      EXPECT_NE(Screen->Forms(i)->ClassName(), "TfrmAdministration") << "freed on close: " << Case.Name;
  }
  // Once right, the command is greyed out for the rest of the run: it opens nothing any more.
  bool Opened = false;
  Later([&] {
    if (auto* Dialog = dynamic_cast<TfrmAdministration*>(Screen->ActiveForm())) {
      Opened = true;
      Dialog->Close();
    }
  });
  EXPECT_FALSE(frmMainForm->actAdministration->Execute());
  PumpPending();
  EXPECT_FALSE(Opened);
  EXPECT_TRUE(ModeAdministrateur);
}

// --- Commands -------------------------------------------------------------------------------

TEST_F(MainWindowTest, TheAboutBoxShowsTheVersionAndTheDataLicencesAndOnlyHides) {
  DemarrerVelbor();
  TfrmAproposde* Box = frmAproposde;
  ASSERT_TRUE(frmMainForm->actAproposde->Execute());
  ASSERT_TRUE(Painted(Box));
  EXPECT_TRUE(Box->Visible());
  EXPECT_EQ(Box->Caption(), "A propos de ...");
  EXPECT_EQ(Box->lblVersion->Caption(), "Version : 1.0.1.0");
  const String Text = Box->Memo1->Text();
  EXPECT_NE(Text.find("Licence Ouverte / Open Licence"), String::npos);
  EXPECT_NE(Text.find("MIT"), String::npos);
  EXPECT_NE(Text.find("INSEE"), String::npos);
  ClickControl(Box->frmFermer);
  ASSERT_TRUE(WaitFor("the about box hidden", [&] { return !Box->Visible(); }));
  EXPECT_TRUE(FormExiste(Box));
  ASSERT_TRUE(frmMainForm->actAproposde->Execute());
  EXPECT_EQ(frmAproposde, Box);
  EXPECT_TRUE(Box->Visible());
}

TEST_F(MainWindowTest, TheSettingsCommandShowsTheNamesAndCreatesTheDialogAgainAfterItClosed) {
  CreerFenetrePrincipale();
  for (int round = 0; round < 2; ++round) {
    String Shown;
    QuandPret([] { return Modale(frmPersonnalisation); }, [&] {
      Shown = frmPersonnalisation->eNom->Text() + "/" + frmPersonnalisation->eOrganisme->Text();
      ClickControl(frmPersonnalisation->bbFermer);
    });
    ASSERT_TRUE(frmMainForm->actPersonnalisation->Execute());
    EXPECT_EQ(Shown, "Dupont/Conservatoire") << round;
    PumpPending();
    EXPECT_FALSE(FormExiste(frmPersonnalisation)) << round;
  }
  EXPECT_EQ(ReadFileText(kFichierParametres), kParametres);
}

TEST_F(MainWindowTest, ImportExportOpensTheExchangeDialogModally) {
  CreerFenetrePrincipale();
  bool Modal = false;
  QuandPret([] { return Modale(FormeActive<TfrmEchangeKelvor>()); }, [&] {
    auto* Dialog = FormeActive<TfrmEchangeKelvor>();
    EXPECT_EQ(Dialog, frmEchangeKelvor);
    Modal = Dialog->FormState().Contains(fsModal);
    Dialog->Close();
  });
  ASSERT_TRUE(frmMainForm->actFormatKELVOR->Execute());
  EXPECT_TRUE(Modal);
  PumpPending();
  EXPECT_FALSE(FormExiste(frmEchangeKelvor));
}

TEST_F(MainWindowTest, TheRecordWindowCommandCreatesOrReusesAndMissingWindowsAreGreyed) {
  CreerFenetrePrincipale();
  TfrmMainForm* Main = frmMainForm;
  // Windows this program does not hold: the commands are greyed out, and run, open nothing.
  for (const TCommandeDictionnaire& Commande : CommandesDictionnaires) {
    TAction* Action = Main->ActionDictionnaire(Commande.Action);
    ASSERT_NE(Action, nullptr) << Commande.Action;
    ASSERT_TRUE(Etat(Action, false)) << Commande.Action;
  }
  ASSERT_TRUE(Etat(Main->actDictionnaire, false));
  // The reports are the main window's own: always available.
  for (TAction* Action : {Main->actListedesZHactives, Main->actListedesZHgeles, Main->actFichesignaltique,
                          Main->actFichedtaill, Main->actFichedesynthse1, Main->actEnregistrerSous})
    ASSERT_TRUE(Etat(Action, true)) << Action->Name();
  const int Forms = Screen->FormCount();
  EXPECT_FALSE(Main->ActionDictionnaire("actCommune")->Execute());
  EXPECT_EQ(Screen->FormCount(), Forms);

  // The frame's first paint opened the record window; the command shows it again, then makes a
  // new one once it was closed.
  ASSERT_TRUE(Etat(Main->actGestionFiches, true));
  TCompteurFiches Fiches;
  TfrmZoneHumide* First = Fiche();
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(Main->FenetreCommande("TfrmZoneHumide"), First);
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  EXPECT_EQ(Fiche(), First);
  EXPECT_EQ(TCompteurFiches::Count, 0);
  FermerFiche();
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  ASSERT_NE(Fiche(), nullptr);
  EXPECT_TRUE(Painted(Fiche()));
  EXPECT_EQ(TCompteurFiches::Count, 1);
}

// "Vers EXCEL" makes the spreadsheet export once and shows it again while it exists; closed, it
// frees itself and the next command makes it anew.
TEST_F(MainWindowTest, TheSpreadsheetExportCommandCreatesOrReusesItsDialog) {
  CreerFenetrePrincipale();
  TfrmMainForm* Main = frmMainForm;
  ASSERT_TRUE(Etat(Main->actVersEXCEL, true));
  ASSERT_TRUE(Main->actVersEXCEL->Execute());
  TCustomForm* Export = Main->FenetreCommande("TfrmExportZH");
  ASSERT_TRUE(FormExiste(Export));
  EXPECT_EQ(Export->ClassName(), "TfrmExportZH");
  EXPECT_TRUE(Export->Visible());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  ASSERT_TRUE(Main->actVersEXCEL->Execute());
  EXPECT_EQ(Main->FenetreCommande("TfrmExportZH"), Export);
  int Exports = 0;
  for (int i = 0; i < Screen->FormCount(); ++i) Exports += Screen->Forms(i)->ClassName() == "TfrmExportZH";
  EXPECT_EQ(Exports, 1);
  Export->Close();
  ASSERT_TRUE(WaitFor("the export freed", [&] { return !FormExiste(Export); }));
  EXPECT_EQ(Main->FenetreCommande("TfrmExportZH"), nullptr);
  ASSERT_TRUE(Main->actVersEXCEL->Execute());
  EXPECT_TRUE(FormExiste(Main->FenetreCommande("TfrmExportZH")));
  Main->FenetreCommande("TfrmExportZH")->Free();
}

TEST_F(MainWindowTest, TheWindowCommandsActOnTheActiveChildAndAreGreyedWithoutOne) {
  CreerFenetrePrincipale();
  TfrmMainForm* Main = frmMainForm;
  // The first paint of the frame (beside its menu bar) opened the record window: closed first.
  FermerFiche();
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, false));
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  ASSERT_TRUE(FormExiste(frmZoneHumide));
  HWND Child = frmZoneHumide->Handle();
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, true));
  // Opened maximised; reduced, then restored as it was, then restored to its own size.
  EXPECT_TRUE(IsZoomed(Child));
  ASSERT_TRUE(Main->actReduire->Execute());
  EXPECT_TRUE(IsIconic(Child));
  ASSERT_TRUE(Main->actRestaurer->Execute());
  EXPECT_FALSE(IsIconic(Child));
  EXPECT_TRUE(IsZoomed(Child));
  ASSERT_TRUE(Main->actRestaurer->Execute());
  EXPECT_FALSE(IsIconic(Child));
  EXPECT_FALSE(IsZoomed(Child));
  ASSERT_TRUE(Main->actFermer->Execute());
  ASSERT_TRUE(WaitFor("the child freed", [] { return !FormExiste(frmZoneHumide); }));
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, false));
}

// On the record's name, in edit mode: select all, cut, paste twice.
TEST_F(MainWindowTest, TheEditCommandsActOnTheFocusedEdit) {
  CreerFenetrePrincipale();
  Modifier("073ASTERS0002");
  TDBMemo* Nom = Fiche()->dbeNomUsuel;
  ASSERT_TRUE(WaitFor("the name on screen", [&] { return Nom->Showing(); }));
  ASSERT_EQ(Nom->Text(), "Tourbière du Col"_a);
  ASSERT_TRUE(GiveFocus(Nom));
  ASSERT_TRUE(frmMainForm->EditSelectAll2->Execute());
  ASSERT_TRUE(frmMainForm->EditCut1->Execute());
  EXPECT_EQ(Nom->Text(), "");
  ASSERT_TRUE(frmMainForm->EditPaste2->Execute());
  ASSERT_TRUE(frmMainForm->EditPaste2->Execute());
  EXPECT_EQ(Nom->Text(), "Tourbière du ColTourbière du Col"_a);
  EXPECT_FALSE(frmMainForm->EditUndo2->Visible());
  EXPECT_EQ(frmMainForm->EditCut1->ShortCut(), TShortCut(scCtrl | 'X'));
  EXPECT_EQ(frmMainForm->EditDelete2->ShortCut(), TShortCut(VK_DELETE));
  EXPECT_EQ(frmMainForm->EditCut1->Hint(), "Couper|Couper la sélection et la mettre dans le Presse-papiers"_a);
}

// --- Menu bar -------------------------------------------------------------------------------

// The main window made as the program makes it, its menu bar shown.
class MenuBarTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    CreerFenetrePrincipale();
    Activate(frmMainForm);
    Bar = frmMainForm->MainMenuBar;
  }
  // Whether the bar starts with the system-menu entry of a maximised child (the record window
  // opens maximised).
  bool SystemEntry() const { return Bar->ItemLinks()->Count() > 0 && IsMDISystemMenuLink(Bar->ItemLinks()->Items(0)); }
  // The frame's own menus, counted after that entry.
  int Entries() const { return Bar->ItemLinks()->Count() - (SystemEntry() ? 1 : 0); }
  TkwBarItemLink* Entry(int Index) const { return Bar->ItemLinks()->Items(Index + (SystemEntry() ? 1 : 0)); }
  TkwBarSubItem* Menu(int Index) const { return dynamic_cast<TkwBarSubItem*>(Entry(Index)->Item()); }
  bool EntrySelected(int Index) const { return Entry(Index)->Control() && Window()->SelectedControl() == Entry(Index)->Control(); }
  static TkwBarSubItem* SubMenu(TkwBarSubItem* Menu, int Index) {
    return dynamic_cast<TkwBarSubItem*>(Menu->ItemLinks()->Items(Index)->Item());
  }
  TkwBarWindow* Window() const { return Bar->GetControl(); }
  static TkwBarSubMenuControl* Shown(TkwBarSubItem* Item) {
    auto* Open = dynamic_cast<TkwBarSubMenuControl*>(Item->ItemLinks()->BarControl());
    return Open && Open->HandleAllocated() && IsWindowVisible(Open->Handle()) ? Open : nullptr;
  }
  static bool Selected(TkwBarWindow* Open, TkwBarItemLinks* Links, int Index) {
    return Open && Links->Items(Index)->Control() && Open->SelectedControl() == Links->Items(Index)->Control();
  }
  bool NoMenuMode() const { return !GetActiveBarControl() && !frmMainForm->kwBarManager1->MenuModeBarControl(); }
  bool NoMenuShown() const {
    for (int i = 0; i < Entries(); ++i)
      if (Shown(Menu(i))) return false;
    return true;
  }
  // The centre of an entry on screen, in whichever bar or menu window shows it.
  static TPoint CentreOf(TkwBarItemLink* Link) {
    TRect r = Link->ItemRect;
    if (TkwBarWindow* Owner = Link->GetBarControl(); Owner && Owner->HandleAllocated())
      MapWindowPoints(Owner->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Clicks the top-level menu MenuIndex, then each entry of Path in turn (sub-menus opened by
  // their click); the last click runs the command.
  void ClickCommand(int MenuIndex, std::vector<int> Path) {
    TkwBarSubItem* Open = Menu(MenuIndex);
    ClickAt(CentreOf(Entry(MenuIndex)));
    ASSERT_TRUE(WaitFor("the menu shown", [&] { return Shown(Open) != nullptr; }));
    for (std::size_t i = 0; i < Path.size(); ++i) {
      TkwBarItemLink* Link = Open->ItemLinks()->Items(Path[i]);
      ASSERT_TRUE(Painted(Shown(Open)));
      ClickAt(CentreOf(Link));
      if (i + 1 < Path.size()) {
        Open = dynamic_cast<TkwBarSubItem*>(Link->Item());
        ASSERT_NE(Open, nullptr);
        ASSERT_TRUE(WaitFor("the sub-menu shown", [&] { return Shown(Open) != nullptr; }));
      }
    }
  }
  // How many windows of class ClassName the program holds now.
  static int Windows(const char* ClassName) {
    int Count = 0;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->ClassName() == ClassName) ++Count;
    return Count;
  }
  // The menus as lines "menu/sub-menu/entry", a "|" before an entry that starts a group, "(hidden)"
  // after one that is not shown.
  static void Describe(TkwBarItemLinks* Links, const String& Path, std::vector<String>& Lines) {
    for (int i = 0; i < Links->Count(); ++i) {
      TkwBarItemLink* Link = Links->Items(i);
      if (IsMDISystemMenuLink(Link)) continue;
      String Line = Path + (Link->BeginGroup() ? "|" : "") + Link->Item()->Caption();
      if (!Link->Item()->IsVisibleNow()) Line += " (hidden)";
      if (auto* Sub = dynamic_cast<TkwBarSubItem*>(Link->Item())) Describe(Sub->ItemLinks(), Line + "/", Lines);
      else Lines.push_back(Line);
    }
  }
  TkwBar* Bar = nullptr;
};

TEST_F(MenuBarTest, TheMenuBarShowsAboveTheClientAreaWithEveryCommandInOrder) {
  TkwBarManager* Manager = frmMainForm->kwBarManager1;
  EXPECT_EQ(Manager->Style(), bmsUseLookAndFeel);
  EXPECT_EQ(Manager->LookAndFeel()->Kind(), lfUltraFlat);
  EXPECT_TRUE(Manager->UseSystemFont());
  EXPECT_FALSE(Manager->AllowReset());
  EXPECT_TRUE(Bar->IsMainMenu());
  EXPECT_EQ(Bar->Caption(), "MainMenu");
  ASSERT_TRUE(Window() != nullptr && Window()->HandleAllocated() && IsWindowVisible(Window()->Handle()));
  // The bar is as wide as the frame's client area, and the MDI client area starts below it.
  RECT BarRect, ClientRect, FrameClient;
  GetWindowRect(Window()->Handle(), &BarRect);
  GetWindowRect(frmMainForm->ClientHandle(), &ClientRect);
  GetClientRect(frmMainForm->Handle(), &FrameClient);
  EXPECT_GT(BarRect.bottom - BarRect.top, 10);
  EXPECT_LE(BarRect.bottom, ClientRect.top);
  EXPECT_EQ(ClientRect.right - ClientRect.left, FrameClient.right);
  // The point in the middle of the bar is the bar's, not the client area's.
  POINT Middle{(BarRect.left + BarRect.right) / 2, (BarRect.top + BarRect.bottom) / 2};
  HWND Hit = WindowFromPoint(Middle);
  EXPECT_TRUE(Hit == Window()->Handle() || IsChild(Window()->Handle(), Hit));

  // The record window opened maximised: its system-menu entry comes first, then the frame's menus.
  EXPECT_TRUE(SystemEntry());
  std::vector<String> Lines;
  Describe(Bar->ItemLinks(), "", Lines);
  const std::vector<String> Expected = {
      "&Fichier/Echanges/Import-Export", "&Fichier/Echanges/Vers EXCEL", "&Fichier/|Fermer", "&Fichier/Reduire",
      "&Fichier/Restaurer", "&Fichier/|Quitter", "&Edition/Cou&per", "&Edition/&Copier", "&Edition/Co&ller",
      "&Edition/&Tout sélectionner"_a, "&Edition/&Défaire (hidden)"_a, "&Edition/S&upprimer",
      "&Outils/Personnalisation", "&Outils/Administration", "&Gestion des fiches/Gestion des Fiches"};
  ASSERT_GE(Lines.size(), Expected.size());
  EXPECT_EQ(std::vector<String>(Lines.begin(), Lines.begin() + std::ptrdiff_t(Expected.size())), Expected);
  // The dictionaries, under their category's menu in the order of the commands' table.
  std::size_t Line = Expected.size();
  const char* Menus[] = {"&Renseignements généraux"_a, "D&escription et fonctionnement", "C&ontexte", "E&valuation",
                         "&Cartes", "O&ptions"};
  for (const char* Categorie : Menus)
    for (const TCommandeDictionnaire& Commande : CommandesDictionnaires)
      if (String(Commande.Categorie) == StringReplace(Categorie, "&", "", rfReplaceAll)) {
        ASSERT_LT(Line, Lines.size());
        EXPECT_EQ(Lines[Line++], String("&Dictionnaires/") + Categorie + "/" + Commande.Libelle);
      }
  const std::vector<String> Rest = {"&E&tats/Liste des fiches actives", "&E&tats/Liste des fiches gelées"_a,
                                    "&E&tats/Fiche signalétique"_a, "&E&tats/Fiche détaillée"_a,
                                    "&E&tats/Fiche de synthèse"_a, "?/A propos de ..."};
  EXPECT_EQ(std::vector<String>(Lines.begin() + std::ptrdiff_t(Line), Lines.end()), Rest);

  // The entries are the actions' own: cut is a plain button of the first set, the others large
  // buttons; an action's state reaches its entry ("Fermer" is greyed without a child window).
  EXPECT_EQ(Menu(1)->ItemLinks()->Items(0)->Item()->Action(), frmMainForm->EditCut1);
  EXPECT_EQ(dynamic_cast<TkwBarLargeButton*>(Menu(1)->ItemLinks()->Items(0)->Item()), nullptr);
  EXPECT_EQ(Menu(1)->ItemLinks()->Items(1)->Item()->Action(), frmMainForm->EditCopy2);
  TkwBarItem* Fermer = Menu(0)->ItemLinks()->Items(1)->Item();
  EXPECT_EQ(Fermer->Action(), frmMainForm->actFermer);
  ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
  ASSERT_TRUE(Etat(frmMainForm->actFermer, true));
  EXPECT_TRUE(Fermer->Enabled());
  frmZoneHumide->Close();
  ASSERT_TRUE(Etat(frmMainForm->actFermer, false));
  EXPECT_FALSE(Fermer->Enabled());
}

TEST_F(MenuBarTest, EveryCommandHasAPictureOfItsOwn) {
  TkwBarManager* Manager = frmMainForm->kwBarManager1;
  TCustomImageList* Images = Manager->LargeImages();
  ASSERT_NE(Images, nullptr);
  EXPECT_EQ(Manager->Images(), Images);
  // The 57 large buttons: the 52 application commands and five edit commands, each bound to its
  // action and showing a picture no other one shows.
  std::set<int> Indexes;
  std::set<const TBasicAction*> Actions;
  int Large = 0;
  for (int i = 0; i < frmMainForm->ComponentCount(); ++i) {
    auto* Button = dynamic_cast<TkwBarLargeButton*>(frmMainForm->Components(i));
    if (Button == nullptr) continue;
    ++Large;
    ASSERT_NE(Button->Action(), nullptr);
    Actions.insert(Button->Action());
    EXPECT_GE(Button->LargeImageIndex(), 0) << Button->Caption();
    EXPECT_LT(Button->LargeImageIndex(), Images->Count()) << Button->Caption();
    EXPECT_TRUE(Indexes.insert(Button->LargeImageIndex()).second) << "a picture shown twice: " << Button->Caption();
  }
  EXPECT_EQ(Large, 57);
  EXPECT_EQ(Actions.size(), 57u);
  EXPECT_EQ(frmMainForm->actListedesZHactives->ImageIndex(), 1);
  // Cut shows the small list's picture of its action.
  TkwBarItem* Cut = Menu(1)->ItemLinks()->Items(0)->Item();
  EXPECT_EQ(Cut->ImageIndex(), frmMainForm->EditCut1->ImageIndex());
  EXPECT_FALSE(Indexes.count(Cut->ImageIndex()));
  // No two pictures of the list look alike, and none is empty.
  std::vector<std::vector<COLORREF>> Pictures;
  for (int Index = 0; Index < Images->Count(); ++Index) {
    TBitmap Picture;
    Images->GetBitmap(Index, &Picture);
    std::vector<COLORREF> Pixels;
    int Drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        Pixels.push_back(GetPixel(Picture.Canvas()->Handle(), x, y));
        if (Pixels.back() != Pixels.front()) ++Drawn;
      }
    EXPECT_GT(Drawn, 20) << ImageCommande(Index).Sujet;
    for (std::size_t Other = 0; Other < Pictures.size(); ++Other)
      EXPECT_NE(Pictures[Other], Pixels) << ImageCommande(Index).Sujet << " looks like " << ImageCommande(int(Other)).Sujet;
    Pictures.push_back(Pixels);
  }
  // Every picture four times its size, twelve a row, kept for a person to look at.
  const int Scale = 4, Cell = 16 * Scale + 4, PerRow = 12;
  const int Rows = (int(Pictures.size()) + PerRow - 1) / PerRow;
  std::vector<COLORREF> Sheet(std::size_t(PerRow * Cell * Rows * Cell), RGB(255, 255, 255));
  for (std::size_t Index = 0; Index < Pictures.size(); ++Index)
    for (int y = 0; y < 16 * Scale; ++y)
      for (int x = 0; x < 16 * Scale; ++x) {
        int Left = int(Index) % PerRow * Cell + 2, Top = int(Index) / PerRow * Cell + 2;
        Sheet[std::size_t((Top + y) * PerRow * Cell + Left + x)] =
            Pictures[Index][std::size_t(y / Scale * 16 + x / Scale)];
      }
  WriteScreenshotPng("images-des-commandes", PerRow * Cell, Rows * Cell, Sheet);
}

TEST_F(MenuBarTest, EveryMenuCommandWithAWindowOpensItOnce) {
  // The record window: made by the command the first time, shown again by the next ones, and
  // made again once after it was closed. (The frame's first paint may have opened it already.)
  FermerFiche();
  TCompteurFiches Fiches;
  for (int Closed = 0; Closed < 2; ++Closed) {
    for (int Round = 0; Round < 2; ++Round) {
      ClickCommand(3, {0});
      ASSERT_TRUE(WaitFor("the record window", [] { return FormExiste(frmZoneHumide); })) << Round;
      ASSERT_TRUE(WaitFor("the menu closed", [&] { return NoMenuShown(); }));
      EXPECT_EQ(TCompteurFiches::Count, Closed + 1) << Round;
      EXPECT_EQ(Windows("TfrmZoneHumide"), 1) << Round;
    }
    frmZoneHumide->Close();
    ASSERT_TRUE(WaitFor("the record window freed", [] { return !FormExiste(frmZoneHumide); }));
  }

  // The modal dialogs: each opened by its entry, alone of its class, then closed and freed.
  struct TCase {
    const char* Name;
    int Menu;
    std::vector<int> Path;
    const char* ClassName;
    std::function<void()> Close;
  } Cases[] = {
      {"Import-Export", 0, {0, 0}, "TfrmEchangeKelvor", [] { frmEchangeKelvor->Close(); }},
      {"Personnalisation", 2, {0}, "TfrmPersonnalisation", [] { ClickControl(frmPersonnalisation->bbFermer); }},
      {"Administration", 2, {1}, "TfrmAdministration",
       [] { ClickControl(FormeActive<TfrmAdministration>()->btnAnnuler); }},
  };
  for (const TCase& Case : Cases) {
    for (int Round = 0; Round < 2; ++Round) {
      TModalScript Script;
      int Seen = -1;
      bool Closed = false;
      const char* ClassName = Case.ClassName;
      QuandPret(
          [ClassName] {
            TCustomForm* Active = Screen->ActiveForm();
            return Active && Active->ClassName() == ClassName && Active->FormState().Contains(fsModal) &&
                   Active->Visible();
          },
          [&] {
            Seen = Windows(ClassName);
            Case.Close();
            Closed = true;
          });
      ClickCommand(Case.Menu, Case.Path);
      ASSERT_TRUE(WaitFor(Case.Name, [&] { return Closed && Windows(ClassName) == 0; })) << Round;
      EXPECT_EQ(Seen, 1) << Case.Name << " " << Round;
      if (String(ClassName) == "TfrmAdministration") {
        ASSERT_EQ(Script.Asked.size(), 1u);
        EXPECT_EQ(Script.Asked[0].Text, "Mot de passe incorrect !");
      } else {
        EXPECT_TRUE(Script.Asked.empty()) << Case.Name;
      }
    }
  }

  // The about box is made at start and only shown by its command.
  Application->CreateForm(frmAproposde);
  TfrmAproposde* Box = frmAproposde;
  for (int Round = 0; Round < 2; ++Round) {
    ClickCommand(6, {0});
    ASSERT_TRUE(WaitFor("the about box", [&] { return Box->Visible(); })) << Round;
    EXPECT_EQ(frmAproposde, Box);
    EXPECT_EQ(Windows("TfrmAproposde"), 1);
    Box->Close();
    ASSERT_TRUE(WaitFor("the about box hidden", [&] { return !Box->Visible(); }));
  }

  // A greyed command (a dictionary this program does not hold) opens nothing when clicked; its
  // menu stays open, as a menu does on a greyed entry.
  const int Forms = Screen->FormCount();
  ClickCommand(4, {0, 2});
  PumpPending();
  EXPECT_EQ(Screen->FormCount(), Forms);
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the menus closed", [&] { return NoMenuShown() && NoMenuMode(); }));
}

TEST_F(MenuBarTest, AltAndTheArrowsWalkTheMenusReturnRunsTheCommandEscapeCloses) {
  TModalScript Script;
  // Alt selects the bar's first entry: the maximised record window's system-menu entry, then
  // Right walks the frame's menus.
  ASSERT_TRUE(SystemEntry());
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return GetActiveBarControl() == Window(); }));
  EXPECT_TRUE(Selected(Window(), Bar->ItemLinks(), 0)) << "Alt selects the first entry";
  EXPECT_TRUE(NoMenuShown());
  for (int i = 0; i < 3; ++i) {
    Press(VK_RIGHT);
    EXPECT_TRUE(EntrySelected(i)) << i;
  }
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the Outils menu", [&] { return Shown(Menu(2)) != nullptr; }));
  EXPECT_TRUE(Selected(Shown(Menu(2)), Menu(2)->ItemLinks(), 0)) << "Personnalisation first";
  Press(VK_DOWN);
  EXPECT_TRUE(Selected(Shown(Menu(2)), Menu(2)->ItemLinks(), 1)) << "then Administration";
  // Left goes to Edition's menu, open; Right comes back to Outils.
  Press(VK_LEFT);
  ASSERT_TRUE(WaitFor("the Edition menu", [&] { return Shown(Menu(1)) != nullptr; }));
  EXPECT_EQ(Shown(Menu(2)), nullptr);
  Press(VK_RIGHT);
  ASSERT_TRUE(WaitFor("the Outils menu again", [&] { return Shown(Menu(2)) != nullptr; }));
  // Escape closes the menu and leaves its title selected; a second Escape leaves the bar.
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("the Outils menu closed", [&] { return Shown(Menu(2)) == nullptr; }));
  EXPECT_TRUE(EntrySelected(2));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitFor("menu mode left", [&] { return NoMenuMode(); }));
  EXPECT_TRUE(NoMenuShown());
  // Alt, Right to "Outils", Down, Down, Return: "Administration" runs; cancelled, it says so.
  bool Dialog = false;
  QuandPret([] { return Modale(FormeActive<TfrmAdministration>()); }, [&] {
    Dialog = true;
    ClickControl(FormeActive<TfrmAdministration>()->btnAnnuler);
  });
  Press(VK_MENU);
  ASSERT_TRUE(WaitFor("menu mode", [&] { return GetActiveBarControl() == Window(); }));
  for (int i = 0; i < 3; ++i) Press(VK_RIGHT);
  ASSERT_TRUE(EntrySelected(2));
  Press(VK_DOWN);
  ASSERT_TRUE(WaitFor("the Outils menu", [&] { return Shown(Menu(2)) != nullptr; }));
  Press(VK_DOWN);
  ASSERT_TRUE(Selected(Shown(Menu(2)), Menu(2)->ItemLinks(), 1));
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor("the command's message", [&] { return !Script.Asked.empty(); }));
  EXPECT_TRUE(Dialog);
  EXPECT_EQ(Script.Asked[0].Text, "Mot de passe incorrect !");
  ASSERT_TRUE(WaitFor("menu mode left", [&] { return NoMenuMode() && NoMenuShown(); }));
}

// The main window with a menu open, kept for a person to look at (build/app/maintests/screenshots):
// "Fichier" with its exchanges, and the longest menu, whose dictionaries are greyed here.
TEST_F(MenuBarTest, TheMainWindowWithAMenuOpenIsKeptForAPersonToLookAt) {
  FermerFiche();
  frmMainForm->SetBounds(0, 0, 900, 640);
  ASSERT_TRUE(Painted(frmMainForm));
  struct TCase {
    int Menu;
    int SubMenu;
    const char* Name;
  } Cases[] = {{0, 0, "fenetre-principale-menu"}, {4, 1, "fenetre-principale-dictionnaires"}};
  for (const TCase& Case : Cases) {
    ClickAt(CentreOf(Entry(Case.Menu)));
    ASSERT_TRUE(WaitFor("the menu", [&] { return Shown(Menu(Case.Menu)) != nullptr; })) << Case.Name;
    ASSERT_TRUE(Painted(Shown(Menu(Case.Menu))));
    ClickAt(CentreOf(Menu(Case.Menu)->ItemLinks()->Items(Case.SubMenu)));
    TkwBarSubItem* Open = SubMenu(Menu(Case.Menu), Case.SubMenu);
    ASSERT_TRUE(WaitFor("the sub-menu", [&] { return Shown(Open) != nullptr; })) << Case.Name;
    ASSERT_TRUE(Painted(Shown(Open)));
    RECT Window;
    GetWindowRect(frmMainForm->Handle(), &Window);
    HDC Screen = GetDC(nullptr);
    SaveScreenshotOf(Screen, Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top, Case.Name);
    ReleaseDC(nullptr, Screen);
    // Every entry of the open menus lies inside its menu, below the previous one, none cut by
    // the menu's edge.
    for (TkwBarSubItem* Item : {Menu(Case.Menu), Open}) {
      RECT Client;
      GetClientRect(Shown(Item)->Handle(), &Client);
      int Previous = -1;
      for (int i = 0; i < Item->ItemLinks()->Count(); ++i) {
        TRect r = Item->ItemLinks()->Items(i)->ItemRect;
        if (r.Width() == 0) continue;  // not shown
        EXPECT_GE(r.Top, Previous) << Case.Name << " " << i;
        EXPECT_LE(r.Bottom, Client.bottom) << Case.Name << " " << i;
        EXPECT_LE(r.Right, Client.right) << Case.Name << " " << i;
        Previous = r.Bottom;
      }
    }
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the menus closed", [&] { return NoMenuShown() && NoMenuMode(); })) << Case.Name;
  }
}

// The real program started as a process, on the tests' database copied beside it: with the
// administrator switch, the exchange dialog its menu opens offers the export of every dictionary;
// without it, not. The keys go to the program's own menu bar.
class ProgramTest : public MainWindowTest {
 protected:
  static BOOL CALLBACK FindButton(HWND Wnd, LPARAM Param) {
    char Text[128] = {};
    GetWindowTextA(Wnd, Text, sizeof Text);
    auto* Found = reinterpret_cast<std::pair<const char*, HWND>*>(Param);
    if (std::strcmp(Text, Found->first) == 0) {
      Found->second = Wnd;
      return FALSE;
    }
    return TRUE;
  }
  static HWND ProcessWindow(const char* ClassName, DWORD Process) {
    for (HWND Wnd = FindWindowA(ClassName, nullptr); Wnd; Wnd = FindWindowExA(nullptr, Wnd, ClassName, nullptr)) {
      DWORD Owner = 0;
      GetWindowThreadProcessId(Wnd, &Owner);
      if (Owner == Process && IsWindowVisible(Wnd)) return Wnd;
    }
    return nullptr;
  }
};

TEST_F(ProgramTest, TheAdministratorSwitchReachesTheExchangeDialogThroughTheMenu) {
  // The program beside this test program uses the database the fixture made there.
  const String Program = AppTest::ProgramFolder() + "velbor.exe.so";
  ASSERT_TRUE(OsPort::CopyFile(OsPort::WindowsPath(VELBOR_PROGRAM) + ".so", Program, false));
  struct TCase {
    const char* Arguments;
    bool Administrator;
  } Cases[] = {{" \\a", true}, {" \\A", true}, {"", false}, {" /a", false}};
  for (const TCase& Case : Cases) {
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Child{};
    String Line = "\"" + Program + "\"" + Case.Arguments;
    ASSERT_TRUE(CreateProcessA(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Child));
    HWND Main = nullptr;
    HWND Fiche = nullptr;
    // The main window opens the record window at its first paint.
    EXPECT_TRUE(WaitFor("the program's main window and its record window", [&] {
      Main = ProcessWindow("TfrmMainForm", Child.dwProcessId);
      HWND Client = Main != nullptr ? FindWindowExA(Main, nullptr, "MDICLIENT", nullptr) : nullptr;
      Fiche = Client != nullptr ? FindWindowExA(Client, nullptr, "TfrmZoneHumide", nullptr) : nullptr;
      return Fiche != nullptr && IsWindowVisible(Fiche) && WaitForInputIdle(Child.hProcess, 0) == 0;
    }, 30000)) << Case.Arguments;
    HWND Dialog = nullptr;
    if (Fiche != nullptr) {
      // Its description opens it maximised, so its system-menu entry comes first in the menu bar.
      const bool Agrandie = IsZoomed(Fiche) != 0;
      EXPECT_TRUE(Agrandie) << Case.Arguments;
      SetForegroundWindow(Main);
      EXPECT_TRUE(WaitFor("the program in front", [&] { return GetForegroundWindow() == Main; })) << Case.Arguments;
      // Alt selects the bar's first entry: past the child's system-menu entry with Right, Down
      // opens "Fichier" on "Echanges"; Right opens it on "Import-Export"; Return runs it.
      std::vector<WORD> Touches{VK_MENU};
      if (Agrandie) Touches.push_back(VK_RIGHT);
      Touches.insert(Touches.end(), {VK_DOWN, VK_RIGHT, VK_RETURN});
      for (WORD Key : Touches) {
        SendKey(Key, false);
        SendKey(Key, true);
        WaitForInputIdle(Child.hProcess, 10000);
      }
      EXPECT_TRUE(WaitFor("the exchange dialog painted", [&] {
        Dialog = ProcessWindow("TfrmEchangeKelvor", Child.dwProcessId);
        return Dialog != nullptr && !GetUpdateRect(Dialog, nullptr, FALSE) && WaitForInputIdle(Child.hProcess, 0) == 0;
      })) << Case.Arguments;
    }
    if (Dialog != nullptr) {
      std::pair<const char*, HWND> Export{"Exportation de tous les dictionnaires", nullptr};
      EnumChildWindows(Dialog, FindButton, LPARAM(&Export));
      std::pair<const char*, HWND> Import{"Importation d'inventaires", nullptr};
      EnumChildWindows(Dialog, FindButton, LPARAM(&Import));
      ASSERT_NE(Export.second, nullptr);
      ASSERT_NE(Import.second, nullptr);
      EXPECT_TRUE(IsWindowEnabled(Import.second)) << Case.Arguments;
      EXPECT_EQ(IsWindowEnabled(Export.second) != 0, Case.Administrator) << Case.Arguments;
    }
    TerminateProcess(Child.hProcess, 0);
    WaitForSingleObject(Child.hProcess, 10000);
    CloseHandle(Child.hThread);
    CloseHandle(Child.hProcess);
    if (HasFatalFailure()) break;
  }
  DeleteFile(Program);
}

// --- Closing while a record is edited ---------------------------------------------------------

class ClosingTest : public MainWindowTest {
 protected:
  // The record of the fixture in edit mode in the record window, its name typed but not posted,
  // and a reference added to its bibliography (kept in the batch cache until validated).
  void SaisieEnCours() {
    CreerFenetrePrincipale();
    Modifier("073ASTERS0001");
    TdmVelbor* dm = dmVelbor;
    NomAvant = dm->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString();
    dm->qDetailZoneHumide->FieldByName("ZH_NOM")->SetAsString("Nom à moitié saisi"_a);
    dm->qRefBiblio->Append();
    dm->qRefBiblio->FieldByName("REF_AUTEUR")->SetAsString("Auteur inédit"_a);
    dm->qRefBiblio->FieldByName("REF_TITRE")->SetAsString("Titre inédit"_a);
    dm->qRefBiblio->Post();
    ASSERT_TRUE(dm->qRefBiblio->HasPendingChanges());
  }
  String NomAvant;
};

TEST_F(ClosingTest, AnsweredNoTheProgramGoesOnWithTheRecordAsItWas) {
  SaisieEnCours();
  TModalScript Script;
  Script.Push(IDNO);
  frmMainForm->Close();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_EQ(Script.Asked[0].Caption, "Attention");
  EXPECT_EQ(Script.Asked[0].Text, "Les informations saisies seront perdues\nVoulez vous continuer ?");
  EXPECT_EQ(Script.Asked[0].Flags & MB_TYPEMASK, unsigned(MB_YESNO));
  EXPECT_EQ(Script.Asked[0].Flags & MB_ICONMASK, unsigned(MB_ICONWARNING));
  PumpPending();
  EXPECT_FALSE(Application->Terminated());
  ASSERT_TRUE(FormExiste(frmMainForm));
  EXPECT_TRUE(IsWindowVisible(frmMainForm->Handle()));
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_EQ(dmVelbor->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString(), "Nom à moitié saisi"_a);
  EXPECT_TRUE(dmVelbor->qRefBiblio->HasPendingChanges());
}

TEST_F(ClosingTest, AnsweredYesTheProgramEndsAndNothingOfTheRecordReachesTheFile) {
  SaisieEnCours();
  TModalScript Script;
  Script.Push(IDYES);
  frmMainForm->Close();
  ASSERT_EQ(Script.Asked.size(), 1u);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_NE(dmVelbor->qDetailZoneHumide->State(), dsEdit);
  EXPECT_FALSE(dmVelbor->qRefBiblio->HasPendingChanges());
  // The program's end: every window and the module freed with the application.
  dmVelbor->SetComboActif(nullptr);
  DoneApplication();
  frmZoneHumide = nullptr;
  frmMainForm = nullptr;
  dmVelbor = nullptr;
  MSG Quit;
  while (PeekMessageA(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_REF_BIBLIO where REF_TITRE = 'Titre inédit'"_a), 0);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ZONE_HUMIDE where ZH_NOM = 'Nom à moitié saisi'"_a), 0);
  EXPECT_EQ(AppTest::ReadNumber("select count(*) from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001' and ZH_NOM = '" +
                                StringReplace(NomAvant, "'", "''", rfReplaceAll) + "'"),
            1);
}

TEST_F(ClosingTest, WithoutARecordEditedNothingIsAsked) {
  CreerFenetrePrincipale();
  TModalScript Script;
  ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
  frmMainForm->Close();
  EXPECT_TRUE(Script.Asked.empty());
  EXPECT_TRUE(Application->Terminated());
  DoneApplication();
  frmZoneHumide = nullptr;
  frmMainForm = nullptr;
  dmVelbor = nullptr;
  MSG Quit;
  while (PeekMessageA(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

// The report engine's start, as the program makes it before its windows, leaves the spooler
// alone (no printing DLL loaded, no printer list read, no rich-text editor with its printer fonts
// made); the engine printer asks the spooler once, at its first use. A printer of its own makes
// the count independent of what other tests read.
TEST(ProgramStartPrinting, TheSpoolerIsAskedAtTheEnginePrintersFirstUseOnly) {
  std::unique_ptr<TPrinter> previous(SetPrinter(new TPrinter()));
  const int before = PrinterListReads();
  StartReportEngine();
  EXPECT_EQ(PrinterListReads(), before) << "the start asked the spooler for its printers";

  const int listed = zrPrinter()->PrinterNames()->Count();
  EXPECT_EQ(PrinterListReads(), before + 1);
  EXPECT_EQ(listed, Printer()->Printers()->Count() + 1) << "the spooler's printers, then the virtual one";
  zrPrinter()->PrinterNames();
  EXPECT_EQ(PrinterListReads(), before + 1) << "attached once";

  zrPrinter()->AttachPrinter(nullptr);  // the test's printer goes away below
  delete SetPrinter(previous.release());
}

}  // namespace
