// This file implements TfrmMainForm, the program's MDI frame: its commands as actions (the
// application's and the standard edit actions), the menu bar that shows them with their pictures,
// the background picture, the administrator dialog's check, the commands on the MDI children and
// the question asked before closing while a record is edited.
#pragma once

#include "ActnList.h"
#include "Forms.h"

class TkwBar;
class TkwBarItem;
class TkwBarItemLinks;
class TkwBarManager;
class TkwBarSubItem;
class TImageList;
class TqzBackground;
class TADOQuery;
class TSaveDialog;
class TzrDBDataSet;
class TzrReport;
class TzrRTFExport;

// The dictionary windows' commands: action name, category, caption and window class.
struct TCommandeDictionnaire {
  const char* Action;
  const char* Categorie;
  const char* Libelle;
  const char* Fenetre;
};
extern const TCommandeDictionnaire CommandesDictionnaires[35];

// The administrator password. Operators and the stored instructions rely on it: it never changes.
inline constexpr const char* kMotDePasseAdministrateur = "6287";

class TfrmMainForm : public TForm {
  VELBOR_DECLARE_CLASS(TfrmMainForm, TForm)
 public:
  explicit TfrmMainForm(TComponent* AOwner) : TForm(AOwner) {}

  // Components of the description.
  TActionList* ActionManager1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TqzBackground* qzBackground1 = nullptr;
  // The menu bar: a bar manager with one main-menu bar of sub-items whose entries are bound to
  // the actions (made by FormCreate).
  TkwBarManager* kwBarManager1 = nullptr;
  TkwBar* MainMenuBar = nullptr;
  // The commands' pictures, the bar manager's small and large images alike.
  TImageList* ImagesCommandes = nullptr;

  // The application's actions (made by FormCreate, owned by the window, held by ActionManager1).
  TAction* actGestionFiches = nullptr;
  TAction* actFormatKELVOR = nullptr;
  TAction* actVersEXCEL = nullptr;
  TAction* actFermer = nullptr;
  TAction* actReduire = nullptr;
  TAction* actRestaurer = nullptr;
  TAction* actQuitter = nullptr;
  TAction* actPersonnalisation = nullptr;
  TAction* actAdministration = nullptr;
  TAction* actListedesZHactives = nullptr;
  TAction* actListedesZHgeles = nullptr;
  TAction* actFichesignaltique = nullptr;
  TAction* actFichedtaill = nullptr;
  TAction* actFichedesynthse1 = nullptr;
  TAction* actEnregistrerSous = nullptr;
  TAction* actAproposde = nullptr;
  TAction* actDictionnaire = nullptr;
  // The standard edit actions: the set of ActionList1 (EditCut1...) and that of ActionManager1
  // (EditCut2...); the menu shows EditCut1 and the other five of the second set.
  TEditCut* EditCut1 = nullptr;
  TEditCopy* EditCopy1 = nullptr;
  TEditPaste* EditPaste1 = nullptr;
  TEditSelectAll* EditSelectAll1 = nullptr;
  TEditUndo* EditUndo1 = nullptr;
  TEditDelete* EditDelete1 = nullptr;
  TEditCut* EditCut2 = nullptr;
  TEditCopy* EditCopy2 = nullptr;
  TEditPaste* EditPaste2 = nullptr;
  TEditSelectAll* EditSelectAll2 = nullptr;
  TEditUndo* EditUndo2 = nullptr;
  TEditDelete* EditDelete2 = nullptr;

  // The reports, their data links and the detailed sheet's RTF export (made by FormCreate,
  // pFrmMainEtats.cpp). The templates are read from the "base" folder at every command.
  TzrReport* zrReportListeActive = nullptr;
  TzrReport* zrReportListeNonActive = nullptr;
  TzrReport* zrReportEnteteSignaletique = nullptr;
  TzrReport* zrReportEnteteDetail = nullptr;
  TzrReport* zrReportEnteteSynthese = nullptr;
  TzrDBDataSet* zrDetailZoneHumide = nullptr;
  TADOQuery* qListeActive = nullptr;
  TADOQuery* qListeNonActive = nullptr;
  TzrRTFExport* zrRTFExport1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;

  // The dictionary action named Name (an action of CommandesDictionnaires), nullptr otherwise.
  TAction* ActionDictionnaire(const String& Name) const;
  // The window a command opens, made by class name, that exists now (nullptr when none): the
  // dictionary windows, the record window and the export dialog.
  TCustomForm* FenetreCommande(const String& ClassName) const;

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void FormPaint(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

  // The actions' handlers.
  void mnuFicheClick(TObject* Sender);
  void mnuFormatKELVORClick(TObject* Sender);
  void mnuVersEXCELClick(TObject* Sender);
  void mnuFermerClick(TObject* Sender);
  void actFermerUpdate(TObject* Sender);
  void actReduireExecute(TObject* Sender);
  void actRestaurerExecute(TObject* Sender);
  void mnuQuitterClick(TObject* Sender);
  void mnuPersonnalisationClick(TObject* Sender);
  void mnuAdministrationClick(TObject* Sender);
  void mnuAproposdeClick(TObject* Sender);
  void mnuDictionnaireClick(TObject* Sender);
  // The reports (pFrmMainEtats.cpp).
  void mnuListedesZHactivesClick(TObject* Sender);
  void mnuListedesZHgelesClick(TObject* Sender);
  void mnuFichesignaltiqueClick(TObject* Sender);
  void mnuFichedtaillClick(TObject* Sender);
  void mnuFichedesynthse1Click(TObject* Sender);
  void actEnregistrerSousExecute(TObject* Sender);
  // Commands whose window is made by class name are enabled while that class is in the program.
  void actFenetreUpdate(TObject* Sender);

 private:
  TAction* NouvelleAction(const char* Name, const char* Category, const char* Caption, TNotifyEvent OnExecute);
  void CreerActions();
  // The commands' pictures, the bar manager and its main menu, shown: the items are linked to the
  // bar before it is made visible, so that the bar window is built once with all of them.
  void CreerMenu();
  // A sub-menu linked at the end of Parent.
  TkwBarSubItem* SousMenu(TkwBarItemLinks* Parent, const String& Caption, bool BeginGroup = false);
  // An entry bound to Action linked at the end of Parent: a large button, or a plain one.
  TkwBarItem* Entree(TkwBarItemLinks* Parent, TBasicAction* Action, bool BeginGroup = false, bool Large = true);
  void ChargerFond();
  // The reports, their data links, the list queries, the RTF filter and the save dialog.
  void CreerEtats();
  // Loads the template File of the "base" folder into Report; false, after a message naming the
  // report and the file, when there is no such file.
  bool ChargerModele(TzrReport* Report, const String& File, const String& Titre);
  // Prepares Report behind the preparation window and opens its preview; the window, the cursor
  // and the report flag are put back whatever happens.
  void PreparerEtMontrer(TzrReport* Report);
  void ImprimerListe(TADOQuery* Liste, TzrReport* Report, const String& File, const String& Titre);
  void ImprimerFiche(TzrReport* Report, const String& File, const String& Titre);
  // Asks, as the record window does, before a record report drops the record's pending edits;
  // false when the operator keeps them (nothing is printed).
  bool SaisieAbandonnee();
  // Opens (creating it when it does not exist) the window of class ClassName that a command shows;
  // nothing when the program has no such window.
  void OuvrirFenetre(const String& ClassName, bool Modal);
  // What an answered "Oui" to the closing question drops: the record's edits and every cached
  // change of the data module, so that nothing of a half-typed record reaches the file.
  void AbandonnerSaisie();
};

extern TfrmMainForm* frmMainForm;

// The window class a command action opens by name ("TfrmCommune"), empty for other actions.
String FenetreDeLAction(const TBasicAction* Action);
