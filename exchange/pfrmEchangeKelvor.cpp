// This file implements TfrmEchangeKelvor, the exchange dialog: the choice of operation and file,
// the dispatch of Ok, the cancel request of Quitter, and the window's share of each operation
// (questions, progress, final message) around the exchange operations, which it serves as their
// host.
#include "FileUtils.h"
#include "Object.h"
#include "pfrmEchangeKelvor.h"

#include "ADODB.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "DictionaryExchange.h"
#include "InventoryExchange.h"
#include "OxFilenameEdit.h"
#include "OxProgressBar.h"
#include "StrUtils.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmRequeteExport.h"

TfrmEchangeKelvor* frmEchangeKelvor = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmEchangeKelvor)
VELBOR_HANDLERS(TfrmEchangeKelvor, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormPaint), VELBOR_HANDLER(FormClose),
                VELBOR_HANDLER(FormCloseQuery), VELBOR_HANDLER(rbtnImportInventaireClick),
                VELBOR_HANDLER(rbtnImportDictionnaireClick), VELBOR_HANDLER(bbtnOkClick),
                VELBOR_HANDLER(bbtnAnnulerClick))
VELBOR_FIELDS(TfrmEchangeKelvor, VELBOR_FIELD(GroupBox1), VELBOR_FIELD(rbtnImportInventaire),
              VELBOR_FIELD(rbtnImportDictionnaire), VELBOR_FIELD(rbtnExportInventaire),
              VELBOR_FIELD(rbtnExportDictionnaire), VELBOR_FIELD(Label1), VELBOR_FIELD(OxFilenameEdit),
              VELBOR_FIELD(bbtnOk), VELBOR_FIELD(bbtnAnnuler), VELBOR_FIELD(OxSpecialProgress1))

namespace {

// The description creates its controls by class name. Registered with the first dialog, not at
// static initialisation: the controls' registration is theirs to do, at any time.
void EnregistrerClasses() {
  static bool Fait = false;
  if (Fait) return;
  Fait = true;
  for (TClass Class : {TGroupBox::StaticClass(), TRadioButton::StaticClass(), TLabel::StaticClass(),
                       TBitBtn::StaticClass()})
    RegisterClass(Class);
  RegisterOxFilenameEdit();
  RegisterOxSpecialProgress();
}

// The message-box flags of the dialog's questions and messages.
constexpr unsigned kAvertissement = MB_OK | MB_ICONWARNING;  // 48
constexpr unsigned kQuestion = MB_YESNO | MB_ICONWARNING;    // 52

// The database the operations work on: the data module's connection, opened when it is not.
SqliteSession& SessionBase() {
  if (dmVelbor == nullptr) throw EDatabaseError("La base de données n'est pas ouverte"_a);
  if (!dmVelbor->ADOConnection->Connected()) dmVelbor->ADOConnection->Open();
  return *dmVelbor->ADOConnection->Session();
}

}  // namespace

TfrmEchangeKelvor::TfrmEchangeKelvor(TComponent* AOwner) : TForm(AOwner) { EnregistrerClasses(); }

TfrmEchangeKelvor::~TfrmEchangeKelvor() {
  if (frmEchangeKelvor == this) frmEchangeKelvor = nullptr;
}

// --- The window ---------------------------------------------------------------------------------

void TfrmEchangeKelvor::FormCreate(TObject*) {
  // No sender: the file edit is set for the inventory import, the button selected at start.
  rbtnImportInventaireClick(nullptr);
}

void TfrmEchangeKelvor::FormPaint(TObject*) {
  // Administrator mode may be turned on while the dialog exists: it is read at every paint.
  rbtnExportDictionnaire->SetEnabled(ModeAdministrateur);
}

void TfrmEchangeKelvor::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmEchangeKelvor::FormCloseQuery(TObject*, bool& CanClose) {
  // The operation uses the window's components until it ends.
  if (FEnCours) CanClose = false;
}

void TfrmEchangeKelvor::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE: WMClose(Message); break;
    default: TForm::Dispatch(Message); break;
  }
}

void TfrmEchangeKelvor::WMClose(TMessage& Message) {
  // The title bar's close button during a run is Quitter: the window must outlive the operation.
  if (FEnCours) DemanderArret();
  else TForm::Dispatch(Message);
}

void TfrmEchangeKelvor::rbtnImportInventaireClick(TObject* Sender) {
  PreparerFichier(Sender, "Fichier EDI uzh|*.uzh", "uzh", "Exportation d'inventaires", "Importation d'inventaires");
}

void TfrmEchangeKelvor::rbtnImportDictionnaireClick(TObject* Sender) {
  PreparerFichier(Sender, "Fichier EDI rzh|*.rzh", "rzh", "Exportation des dictionnaires",
                  "Importation des dictionnaires");
}

void TfrmEchangeKelvor::PreparerFichier(TObject* Sender, const String& Filtre, const String& Extension,
                                        const String& Export, const String& Import) {
  auto* Bouton = dynamic_cast<TControl*>(Sender);
  bool Exportation = Bouton != nullptr && UpperCase(Bouton->Caption()).find("EXPORTATION") != String::npos;
  OxFilenameEdit->SetFilter(Filtre);
  OxFilenameEdit->SetDefaultExt(Extension);
  if (Exportation) {
    Label1->SetCaption("Fichier destination");
    OxFilenameEdit->SetBounds(104, OxFilenameEdit->Top(), 305, OxFilenameEdit->Height());
    OxFilenameEdit->SetDialogTitle(Export);
  } else {
    Label1->SetCaption("Fichier source");
    OxFilenameEdit->SetBounds(80, OxFilenameEdit->Top(), 329, OxFilenameEdit->Height());
    OxFilenameEdit->SetDialogTitle(Import);
  }
  Application->ProcessMessages();
}

String TfrmEchangeKelvor::FichierSaisi() const {
  String Texte = OxFilenameEdit->Text();
  if (Texte.size() >= 2 && Texte.front() == '"' && Texte.back() == '"') Texte = Texte.substr(1, Texte.size() - 2);
  return Texte;
}

String TfrmEchangeKelvor::CheminSaisi() const { return StringReplace(OxFilenameEdit->Text(), "\"", "", rfReplaceAll); }

void TfrmEchangeKelvor::bbtnOkClick(TObject*) {
  if (FEnCours) return;
  if (OxFilenameEdit->Text().empty()) {
    Application->MessageBox("Le fichier doit être renseigné"_a, "Attention", kAvertissement);
    return;
  }
  if (rbtnExportDictionnaire->Checked()) return ExportDictionnaires();
  if (rbtnExportInventaire->Checked()) return ExportInventaires();
  bool Existe = FileExists(FichierSaisi());
  if (Existe && rbtnImportDictionnaire->Checked()) return ImportDictionnaires();
  if (Existe && rbtnImportInventaire->Checked()) return ImportInventaires();
  Application->MessageBox("Le fichier n'existe pas", "Attention", kAvertissement);
}

void TfrmEchangeKelvor::bbtnAnnulerClick(TObject*) {
  if (!FEnCours) Close();
  else DemanderArret();
}

void TfrmEchangeKelvor::DemanderArret() {
  if (Application->MessageBox("Voulez vous arrêter la procédure"_a, "Message", kQuestion) != IDYES) return;
  Tag = 1;
  Application->ProcessMessages();
}

// --- The host of the operations -----------------------------------------------------------------

void TfrmEchangeKelvor::ProgressStart(int Maximum, const String& Caption) {
  OxSpecialProgress1->SetPosition(0);
  OxSpecialProgress1->SetMaximum(0);
  // The exports and the dictionary import show a percentage, the inventory import its pass.
  if (Caption.empty()) {
    OxSpecialProgress1->SetTextOption(toPercent);
  } else {
    OxSpecialProgress1->SetCaption(Caption);
    OxSpecialProgress1->SetTextOption(toCaption);
  }
  OxSpecialProgress1->SetMaximum(Maximum);
}

void TfrmEchangeKelvor::ProgressStep() { OxSpecialProgress1->SetPosition(OxSpecialProgress1->Position() + 1); }

bool TfrmEchangeKelvor::CancelRequested() {
  Application->ProcessMessages();
  return Tag == 1;
}

// --- The operations -------------------------------------------------------------------------------

template <class TOperation>
void TfrmEchangeKelvor::Executer(TOperation Operation, bool (*Rouvrir)(const TExchangeResult&)) {
  // Whatever way the run ends, the dialog goes back to idle: Ok and Quitter enabled, no request.
  struct TFin {
    TfrmEchangeKelvor* Form;
    ~TFin() {
      Screen->SetCursor(crDefault);
      Form->Tag = 0;
      Form->FEnCours = false;
      Form->bbtnOk->SetEnabled(true);
      Form->bbtnAnnuler->SetEnabled(true);
    }
  } Fin{this};
  FEnCours = true;
  Tag = 0;
  bbtnOk->SetEnabled(false);
  Screen->SetCursor(crHourGlass);
  TExchangeResult Result;
  try {
    Result = Operation(SessionBase());
  } catch (const Exception& E) {
    Result = {TExchangeResult::Failed, E.Message};
  }
  if (Rouvrir != nullptr && Rouvrir(Result) && dmVelbor != nullptr) dmVelbor->RouvrirDonnees();
  Screen->SetCursor(crDefault);
  OxSpecialProgress1->SetPosition(0);
  Tag = 0;
  // A run that did not go through says why, never "Fin de ...".
  unsigned Icone = 0;
  if (Result.Outcome == TExchangeResult::Refused || Result.Outcome == TExchangeResult::Failed) Icone = MB_ICONERROR;
  Application->ProcessMessages();
  Application->MessageBox(Result.Message, "Message", MB_OK | Icone);
  Application->ProcessMessages();
}

bool TfrmEchangeKelvor::FermerFiche() {
  if (FormExiste(frmZoneHumide)) frmZoneHumide->lopGeneraleClick(nullptr);
  // Answering No to the loss of the edits keeps the record in edit state.
  if (dmVelbor == nullptr || !dmVelbor->qDetailZoneHumide->Active()) return true;
  TDataSetState Etat = dmVelbor->qDetailZoneHumide->State();
  return Etat != dsEdit && Etat != dsInsert;
}

bool TfrmEchangeKelvor::CibleAcceptee() {
  String Chemin = CheminSaisi();
  String Dossier = ExtractFilePath(Chemin);
  if (Dossier.empty() || !DirectoryExists(Dossier)) {
    Application->MessageBox("Le chemin " + Chemin + " n'est pas valid\r\nVeuillez recommencer !", "Attention",
                            kAvertissement);
    return false;
  }
  // The operation replaces the file only once the new one is complete: nothing is deleted here,
  // so a cancelled or failed run keeps the old file.
  if (FileExists(Chemin) &&
      Application->MessageBox("Le fichier " + Chemin + " sera detruit\r\nVoulez vous continuer ?", "Attention",
                              kQuestion) != IDYES)
    return false;
  return true;
}

void TfrmEchangeKelvor::ExportInventaires() {
  CodeDebut.clear();
  CodeFin.clear();
  // The export reads the database on its own statements and leaves the record list alone, so a
  // record the operator keeps editing loses nothing: the export goes on.
  FermerFiche();
  if (!CibleAcceptee()) return;
  if (!FormExiste(frmRequeteExport)) frmRequeteExport = CreateForm<TfrmRequeteExport>(Owner());
  // Whatever ended the range dialog, the export goes on with the range it left.
  frmRequeteExport->ShowModal();
  Application->ProcessMessages();
  Executer(
      [this](SqliteSession& Session) {
        return Exchange::ExportInventaire(Session, CodeDebut, CodeFin, OxFilenameEdit->Text(), Date(), *this);
      },
      nullptr);
}

void TfrmEchangeKelvor::ExportDictionnaires() {
  if (!CibleAcceptee()) return;
  Executer(
      [this](SqliteSession& Session) {
        return Exchange::ExportDictionnaires(Session, OxFilenameEdit->Text(), Date(), *this);
      },
      nullptr);
}

void TfrmEchangeKelvor::ImportInventaires() {
  OxSpecialProgress1->SetCaption(String());
  OxSpecialProgress1->SetTextOption(toCaption);
  if (Application->MessageBox("Attention !\n\rVous allez importer des inventaires :\n\r1/Les inventaires déjà présents "
                              "dans votre base seront modifiés.\n\r2/Les inventaires absents de votre base seront "
                              "ajoutés.\n\rVoulez-vous continuer ?"_a,
                              "Message", kQuestion) != IDYES)
    return;
  // A record being edited must not be posted over the imported rows, nor lose its edits when the
  // datasets are reopened: an operator who keeps them does not import.
  if (!FermerFiche()) return;
  OxSpecialProgress1->SetCaption("Vérification du nombre de trame"_a);
  Application->ProcessMessages();
  // The import is all or nothing: only a complete one changed the database.
  Executer([this](SqliteSession& Session) { return Exchange::ImportInventaire(Session, OxFilenameEdit->Text(), *this); },
           [](const TExchangeResult& Result) { return Result.Outcome == TExchangeResult::Done; });
}

void TfrmEchangeKelvor::ImportDictionnaires() {
  if (Application->MessageBox("Attention !\n\rVous allez importer des dictionnaires :\n\rLes dictionnaires de votre "
                              "base seront modifiés.\n\rVoulez-vous continuer ?"_a,
                              "Message", kQuestion) != IDYES)
    return;
  if (!FermerFiche()) return;
  // Rows are written one by one: a cancelled or partly refused import changed the dictionaries
  // too. Only a refused file changed nothing.
  Executer(
      [this](SqliteSession& Session) { return Exchange::ImportDictionnaires(Session, OxFilenameEdit->Text(), *this); },
      [](const TExchangeResult& Result) { return Result.Outcome != TExchangeResult::Refused; });
}
