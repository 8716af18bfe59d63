// Tests of the program's start-up and its main window: the creation order with the start-up
// window, the settings file and its dialog, the command line's administrator switch, the
// administrator dialog, the commands and the MDI commands, the question before closing while a
// record is edited, and a screenshot of the main window at start.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "ADODB.h"
#include "AppTestSupport.h"
#include "ExtCtrls.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "Jpeg.h"
#include "OxBackground.h"
#include "Resources.h"
#include "ScreenshotFiles.h"
#include "StrUtils.h"
#include "Streams.h"
#include "UiTestSupport.h"
#include "pFrmMain.h"
#include "pUtilZH.h"
#include "pVelbor.h"
#include "pdmVelbor.h"
#include "pfrmAdministration.h"
#include "pfrmAproposde.h"
#include "pfrmAttention.h"
#include "pfrmDemarrage.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmPersonnalisation.h"

namespace {

// The record window as the main window sees it: an MDI child made by class name, whose
// validation button shows while a record is edited. Counts how often it is made.
int FichesCreees = 0;

class TfrmZoneHumide : public TfrmZoneHumideBase {
  VELBOR_DECLARE_CLASS(TfrmZoneHumide, TfrmZoneHumideBase)
 public:
  explicit TfrmZoneHumide(TComponent* AOwner) : TfrmZoneHumideBase(AOwner, true) {
    ++FichesCreees;
    SetFormStyle(fsMDIChild);
    SetCaption("Fiches");
    SetBounds(10, 10, 300, 200);
    bbtnValidation = new TButton(this);
    bbtnValidation->SetName("bbtnValidation");
    bbtnValidation->SetParent(this);
    bbtnValidation->SetVisible(false);
    OnClose = TCloseEvent(this, &TfrmZoneHumide::FormClose);
  }
  TButton* bbtnValidation;
  void FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

  int OxExBtnModifTag() override { return 0; }
  void SetOxExBtnModifTag(int) override {}
  TColor OxLookOutActivePageColor() override { return clNone; }
  void SetOxLookOutActivePageColor(TColor) override {}
  void SetBbtnValidationTag(int) override {}
  void ts1_1EnterActivePage() override {}
  void RepaintDbeType() override {}
  void SetLkCboCodeInventaireLookupTable(TDataSet*) override {}
  void SetLkCboCodeInventaireFreeEntry(bool) override {}
  void lopGeneraleClick(TObject*) override {}
};
VELBOR_IMPLEMENT_CLASS(TfrmZoneHumide)

struct TRegisterRecordWindow {
  TRegisterRecordWindow() { RegisterClass(TfrmZoneHumide::StaticClass()); }
} RegisterRecordWindow;

String ReadFileText(const String& Name) {
  TFileStream File(Name, fmOpenRead);
  String Text(std::size_t(File.Size()), '\0');
  File.Read(Text.data(), File.Size());
  return Text;
}

void WriteFileText(const String& Name, const String& Text) {
  TFileStream File(Name, fmCreate);
  File.Write(Text.data(), std::int64_t(Text.size()));
}

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

template <class T>
void Liberer(T*& Form) {
  if (FormExiste(Form)) Form->Free();
  Form = nullptr;
}

const char kParametres[] = "[parametres]\r\nnom=Dupont\r\norganisme=Conservatoire\r\n";

// The program's windows and module made afresh for each case on a fresh database, with the
// workstation's settings file set aside and put back after it.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings = TFormatSettings::French();
    AppTest::MakeModuleDatabase();
    ForceDirectories(kDossierParametres);
    if (FileExists(kFichierParametres)) FSaved = ReadFileText(kFichierParametres);
    WriteFileText(kFichierParametres, kParametres);
    FichesCreees = 0;
    ModeAdministrateur = false;
  }
  void TearDown() override {
    FreeAll();
    DeleteFile(kFichierParametres);
    if (FSaved) WriteFileText(kFichierParametres, *FSaved);
    NomUtilisateur.clear();
    Organisme.clear();
    ModeAdministrateur = false;
  }
  static void FreeAll() {
    if (dmVelbor != nullptr) dmVelbor->SetComboActif(nullptr);
    TfrmZoneHumideBase* Fiche = frmZoneHumide;
    Liberer(Fiche);
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
  // The module and the main window alone, as the program creates them.
  void CreerFenetrePrincipale() {
    Application->CreateForm(dmVelbor);
    Application->CreateForm(frmMainForm);
    frmMainForm->SetWindowState(wsNormal);
    frmMainForm->Show();
    ASSERT_TRUE(Painted(frmMainForm));
  }
  // Waits for the idle update of the main window's actions to give Action the state Enabled.
  [[nodiscard]] testing::AssertionResult Etat(TCustomAction* Action, bool Enabled) {
    return IdleUntil(Action->Name().c_str(), [&] { return Action->Enabled() == Enabled; });
  }

 private:
  std::optional<String> FSaved;
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
  HHOOK Hook = SetWindowsHookExA(WH_CBT, TraceCreations, nullptr, GetCurrentThreadId());
  ASSERT_NE(Hook, nullptr);
  DemarrerVelbor();
  UnhookWindowsHookEx(Hook);
  Trace = nullptr;

  // Owned by the application in the creation order; the start-up window is gone.
  std::vector<String> Owned;
  for (int i = 0; i < Application->ComponentCount(); ++i) Owned.push_back(Application->Components(i)->Name());
  // The record window, opened by the first paint, comes after them.
  ASSERT_EQ(Owned.size(), 6u);
  Owned.pop_back();
  EXPECT_EQ(Application->Components(5), frmZoneHumide);
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
  EXPECT_EQ(frmMainForm->Caption(), "Inventaire des zones humides");
  EXPECT_EQ(NomUtilisateur, "Dupont");
  EXPECT_EQ(Organisme, "Conservatoire");
  EXPECT_FALSE(frmAttention->Visible());
  EXPECT_FALSE(frmPreparationEtat->Visible());
  EXPECT_FALSE(frmAproposde->Visible());

  // The first paint opened the record window, once; later paints do not open it again, even
  // once the operator closed it.
  EXPECT_EQ(FichesCreees, 1);
  ASSERT_TRUE(FormExiste(frmZoneHumide));
  EXPECT_TRUE(frmZoneHumide->Visible());
  for (int i = 0; i < 2; ++i) {
    frmMainForm->Invalidate();
    ASSERT_TRUE(Painted(frmMainForm));
  }
  EXPECT_EQ(FichesCreees, 1);
  frmZoneHumide->Close();
  ASSERT_TRUE(WaitFor("the record window freed", [] { return !FormExiste(frmZoneHumide); }));
  frmMainForm->Invalidate();
  ASSERT_TRUE(Painted(frmMainForm));
  EXPECT_EQ(FichesCreees, 1);
  EXPECT_FALSE(FormExiste(frmZoneHumide));
}

// The main window at start, kept for a person to look at (build/app/maintests/screenshots). The
// picture compiled into the program fills the MDI client area, stretched.
TEST_F(MainWindowTest, TheBackgroundPictureFillsTheClientAreaAtStart) {
  DemarrerVelbor();
  // The record window of these tests is a stand-in: the picture is looked at without it.
  if (FormExiste(frmZoneHumide)) frmZoneHumide->Close();
  ASSERT_TRUE(WaitFor("the record window freed", [] { return !FormExiste(frmZoneHumide); }));
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
  for (TAction* Action : {Main->actVersEXCEL, Main->actListedesZHactives, Main->actListedesZHgeles,
                          Main->actFichesignaltique, Main->actFichedtaill, Main->actFichedesynthse1,
                          Main->actEnregistrerSous, Main->actDictionnaire})
    ASSERT_TRUE(Etat(Action, false)) << Action->Name();
  const int Forms = Screen->FormCount();
  EXPECT_FALSE(Main->ActionDictionnaire("actCommune")->Execute());
  EXPECT_EQ(Screen->FormCount(), Forms);

  ASSERT_TRUE(Etat(Main->actGestionFiches, true));
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  ASSERT_TRUE(FormExiste(frmZoneHumide));
  TfrmZoneHumideBase* First = frmZoneHumide;
  EXPECT_EQ(Main->FenetreCommande("TfrmZoneHumide"), First);
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  EXPECT_EQ(frmZoneHumide, First);
  EXPECT_EQ(FichesCreees, 1);
  First->Close();
  ASSERT_TRUE(WaitFor("the record window freed", [] { return !FormExiste(frmZoneHumide); }));
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  EXPECT_TRUE(FormExiste(frmZoneHumide));
  EXPECT_EQ(FichesCreees, 2);
}

TEST_F(MainWindowTest, TheWindowCommandsActOnTheActiveChildAndAreGreyedWithoutOne) {
  CreerFenetrePrincipale();
  TfrmMainForm* Main = frmMainForm;
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, false));
  ASSERT_TRUE(Main->actGestionFiches->Execute());
  ASSERT_TRUE(FormExiste(frmZoneHumide));
  HWND Child = frmZoneHumide->Handle();
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, true));
  ASSERT_TRUE(Main->actReduire->Execute());
  EXPECT_TRUE(IsIconic(Child));
  ASSERT_TRUE(Main->actRestaurer->Execute());
  EXPECT_FALSE(IsIconic(Child));
  EXPECT_FALSE(IsZoomed(Child));
  ASSERT_TRUE(Main->actFermer->Execute());
  ASSERT_TRUE(WaitFor("the child freed", [] { return !FormExiste(frmZoneHumide); }));
  for (TAction* Action : {Main->actFermer, Main->actReduire, Main->actRestaurer}) ASSERT_TRUE(Etat(Action, false));
}

TEST_F(MainWindowTest, TheEditCommandsActOnTheFocusedEdit) {
  CreerFenetrePrincipale();
  ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
  auto* Edit = new TEdit(frmZoneHumide);
  Edit->SetParent(frmZoneHumide);
  Edit->SetText("marais");
  ASSERT_TRUE(GiveFocus(Edit));
  ASSERT_TRUE(frmMainForm->EditSelectAll2->Execute());
  ASSERT_TRUE(frmMainForm->EditCut1->Execute());
  EXPECT_EQ(Edit->Text(), "");
  ASSERT_TRUE(frmMainForm->EditPaste2->Execute());
  ASSERT_TRUE(frmMainForm->EditPaste2->Execute());
  EXPECT_EQ(Edit->Text(), "maraismarais");
  EXPECT_FALSE(frmMainForm->EditUndo2->Visible());
  EXPECT_EQ(frmMainForm->EditCut1->ShortCut(), TShortCut(scCtrl | 'X'));
  EXPECT_EQ(frmMainForm->EditDelete2->ShortCut(), TShortCut(VK_DELETE));
  EXPECT_EQ(frmMainForm->EditCut1->Hint(), "Couper|Couper la sélection et la mettre dans le Presse-papiers"_a);
}

// --- Closing while a record is edited ---------------------------------------------------------

class ClosingTest : public MainWindowTest {
 protected:
  // The record of the fixture opened with its details, its name typed but not posted, and a
  // reference added to its bibliography (kept in the batch cache until validated).
  void SaisieEnCours() {
    CreerFenetrePrincipale();
    ASSERT_TRUE(frmMainForm->actGestionFiches->Execute());
    auto* Fiche = static_cast<TfrmZoneHumide*>(frmZoneHumide);
    Fiche->bbtnValidation->SetVisible(true);
    TdmVelbor* dm = dmVelbor;
    ASSERT_TRUE(dm->qListeZoneHumide->Locate("zh_code", "073ASTERS0001", {}));
    dm->qDetailZoneHumide->Open();
    for (int i = 0; i < dm->ComponentCount(); ++i)
      if (auto* Detail = dynamic_cast<TDataSet*>(dm->Components(i)); Detail != nullptr && Detail->Tag == 6)
        Detail->Open();
    NomAvant = dm->qDetailZoneHumide->FieldByName("ZH_NOM")->AsString();
    dm->qDetailZoneHumide->Edit();
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

}  // namespace
