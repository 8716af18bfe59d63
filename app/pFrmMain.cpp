// This file implements TfrmMainForm, the program's MDI frame with its commands.
#include "Object.h"
#include "pFrmMain.h"

#include <map>

#include "ADODB.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "Jpeg.h"
#include "OxBackground.h"
#include "Resources.h"
#include "kwBarButton.h"
#include "kwBarExtItems.h"
#include "kwBarItems.h"
#include "kwBarManager.h"
#include "kwBarSubItem.h"
#include "kwBars.h"
#include "pExportZH.h"
#include "pImagesCommandes.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmAdministration.h"
#include "pfrmAproposde.h"
#include "pfrmDemarrage.h"
#include "pfrmEchangeKelvor.h"
#include "pfrmPersonnalisation.h"

TfrmMainForm* frmMainForm = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmMainForm)
VELBOR_HANDLERS(TfrmMainForm, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormPaint), VELBOR_HANDLER(FormClose))
VELBOR_FIELDS(TfrmMainForm, VELBOR_FIELD(ActionManager1), VELBOR_FIELD(ActionList1), VELBOR_FIELD(qzBackground1))

const TCommandeDictionnaire CommandesDictionnaires[35] = {
    {"actZoneHydro", "Renseignements généraux"_a, "Bassin versant de surface", "TfrmZoneHydro"},
    {"actEntHydro", "Renseignements généraux"_a, "Bassin versant souterrain", "Tfrmenthydro"},
    {"actCommune", "Renseignements généraux"_a, "Commune", "TfrmCommune"},
    {"actDepartement", "Renseignements généraux"_a, "Département"_a, "TfrmDepartement"},
    {"actRegion", "Renseignements généraux"_a, "Région"_a, "TfrmRegion"},
    {"actTypeActions", "Renseignements généraux"_a, "Type d'actions", "TfrmTypeActions"},
    {"actActHum", "Description et fonctionnement", "Activités humaines"_a, "TfrmActHum"},
    {"actCorineBio", "Description et fonctionnement", "Code CORINE BIOTOPE", "TfrmCorineBio"},
    {"actEteSub", "Description et fonctionnement", "Etendue de submersion", "TfrmEteSub"},
    {"actFactInf", "Description et fonctionnement", "Facteurs d'influence", "Tfrmfactinf"},
    {"actFreqSub", "Description et fonctionnement", "Fréquence de submersion"_a, "TfrmFreqSub"},
    {"actIntFonct", "Description et fonctionnement", "Intérêt fonctionnel"_a, "TfrmIntFonct"},
    {"actRythmeES", "Description et fonctionnement", "Permanence des E/S d'eau", "TfrmRythmeES"},
    {"actPsic", "Description et fonctionnement", "PSIC", "TfrmPsic"},
    {"actRamsar", "Description et fonctionnement", "RAMSAR", "TfrmRamsar"},
    {"actSysAlt", "Description et fonctionnement", "Système altimétrique"_a, "TfrmSysAlt"},
    {"actTaxon", "Description et fonctionnement", "Taxon réglementaire"_a, "TfrmTaxon"},
    {"actTypeES", "Description et fonctionnement", "Type d'E/S des eaux", "TfrmTypeES"},
    {"actHabitat", "Description et fonctionnement", "Type d'habitat", "TfrmHabitat"},
    {"actConnexion", "Description et fonctionnement", "Type de connexion", "TfrmConnexion"},
    {"actSdage", "Description et fonctionnement", "Typologie SDAGE", "TfrmSdage"},
    {"actTypoPhy", "Description et fonctionnement", "Typologie physique des cours d'eau", "TfrmTypoPhy"},
    {"actValSE", "Description et fonctionnement", "Valeurs socio-économiques"_a, "TfrmValSE"},
    {"actZICO", "Description et fonctionnement", "ZICO", "TfrmZICO"},
    {"actZNIEFF", "Description et fonctionnement", "ZNIEFF", "TfrmZnieff"},
    {"actZPS", "Description et fonctionnement", "ZPS", "TfrmZPS"},
    {"actInstCf", "Contexte", "Instruments contractuels et financiers", "TfrmInstCf"},
    {"actMesProtEn", "Contexte", "Mesures de protection", "TfrmMesProtEn"},
    {"actStatutFonc", "Contexte", "Statuts fonciers", "TfrmStatutFonc"},
    {"actDiagHyd", "Evaluation", "Type de diagnostic hydraulique", "Tfrmdiag_hyd"},
    {"actDiagPat", "Evaluation", "Type de diagnostic patrimonial", "TfrmDiag_pat"},
    {"actCarteIGN", "Cartes", "Carte IGN", "TfrmCarteIGN"},
    {"actDelCarto", "Cartes", "Critères de délimitation cartographique"_a, "Tfrmdelcarto"},
    {"actTaxonAni", "Options", "Liste d'espèces animales"_a, "TfrmTaxonAni"},
    {"actTaxonVeg", "Options", "Liste d'espèces végétales"_a, "TfrmTaxonVeg"},
};

namespace {

// The description creates its components by class name.
struct TfrmMainFormClassRegistration {
  TfrmMainFormClassRegistration() {
    RegisterActionClasses();
    RegisterOxBackground();
  }
} frmMainFormClassRegistration;

// The windows the commands make by class name, by class name: their own units publish no global
// here. A closed window frees itself, so an entry is read through FormExiste.
std::map<String, TCustomForm*>& FenetresParClasse() {
  static std::map<String, TCustomForm*> Fenetres;
  return Fenetres;
}

// The windows of the commands that are made by class name: the record window, the spreadsheet
// export and the dictionaries.
const char kFenetreFiches[] = "TfrmZoneHumide";
const char kFenetreExport[] = "TfrmExportZH";

struct TActionEdition {
  const char* Caption;
  const char* Hint;
  TShortCut ShortCut;
};

const TActionEdition kEditions[6] = {
    {"Cou&per", "Couper|Couper la sélection et la mettre dans le Presse-papiers"_a, TShortCut(scCtrl | 'X')},
    {"&Copier", "Copier|Copier la sélection et la mettre dans le Presse-papiers"_a, TShortCut(scCtrl | 'C')},
    {"Co&ller", "Coller|Insérer le contenu du Presse-papiers"_a, TShortCut(scCtrl | 'V')},
    {"&Tout sélectionner"_a, "Tout sélectionner|Sélectionner le document entier"_a, TShortCut(scCtrl | 'A')},
    {"&Défaire"_a, "Défaire|Annuler la dernière modification"_a, TShortCut(scCtrl | 'Z')},
    {"S&upprimer", "Supprimer|Effacer la sélection"_a, TShortCut(VK_DELETE)},
};

template <class T>
T* NouvelleEdition(TComponent* Owner, TActionList* List, const char* Name, int Index) {
  auto* Action = new T(Owner);
  Action->SetName(Name);
  Action->SetCategory("Edition");
  Action->SetCaption(kEditions[Index].Caption);
  Action->SetHint(kEditions[Index].Hint);
  Action->SetShortCut(kEditions[Index].ShortCut);
  Action->SetActionList(List);
  return Action;
}

}  // namespace

String FenetreDeLAction(const TBasicAction* Action) {
  if (Action == nullptr) return String();
  const String Name = Action->Name();
  if (Name == "actGestionFiches") return kFenetreFiches;
  if (Name == "actVersEXCEL") return kFenetreExport;
  for (const TCommandeDictionnaire& Commande : CommandesDictionnaires)
    if (Name == Commande.Action) return Commande.Fenetre;
  return String();
}

TAction* TfrmMainForm::NouvelleAction(const char* Name, const char* Category, const char* Caption,
                                      TNotifyEvent OnExecute) {
  auto* Action = new TAction(this);
  Action->SetName(Name);
  Action->SetCategory(Category);
  Action->SetCaption(Caption);
  Action->OnExecute = OnExecute;
  Action->SetActionList(ActionManager1);
  return Action;
}

void TfrmMainForm::CreerActions() {
  using Self = TfrmMainForm;
  auto Handler = [this](void (Self::*Method)(TObject*)) { return TNotifyEvent(this, Method); };
  const TNotifyEvent None;
  actGestionFiches = NouvelleAction("actGestionFiches", "Gestion des Fiches", "Gestion des Fiches",
                                    Handler(&Self::mnuFicheClick));
  actFormatKELVOR = NouvelleAction("actFormatKELVOR", "Echanges", "Import-Export", Handler(&Self::mnuFormatKELVORClick));
  actVersEXCEL = NouvelleAction("actVersEXCEL", "Echanges", "Vers EXCEL", Handler(&Self::mnuVersEXCELClick));
  actFermer = NouvelleAction("actFermer", "Fichier", "Fermer", Handler(&Self::mnuFermerClick));
  actFermer->OnUpdate = Handler(&Self::actFermerUpdate);
  actReduire = NouvelleAction("actReduire", "Fichier", "Reduire", Handler(&Self::actReduireExecute));
  actRestaurer = NouvelleAction("actRestaurer", "Fichier", "Restaurer", Handler(&Self::actRestaurerExecute));
  actQuitter = NouvelleAction("actQuitter", "Fichier", "Quitter", Handler(&Self::mnuQuitterClick));
  actPersonnalisation = NouvelleAction("actPersonnalisation", "Outils", "Personnalisation",
                                       Handler(&Self::mnuPersonnalisationClick));
  actAdministration = NouvelleAction("actAdministration", "Outils", "Administration",
                                     Handler(&Self::mnuAdministrationClick));
  // The reports and the record sheet's RTF export get their handlers with the reports (CreerEtats).
  actListedesZHactives = NouvelleAction("actListedesZHactives", "Etats", "Liste des fiches actives", None);
  actListedesZHactives->SetImageIndex(1);
  actListedesZHgeles = NouvelleAction("actListedesZHgeles", "Etats", "Liste des fiches gelées"_a, None);
  actFichesignaltique = NouvelleAction("actFichesignaltique", "Etats", "Fiche signalétique"_a, None);
  actFichedtaill = NouvelleAction("actFichedtaill", "Etats", "Fiche détaillée"_a, None);
  actFichedesynthse1 = NouvelleAction("actFichedesynthse1", "Etats", "Fiche de synthèse"_a, None);
  actEnregistrerSous = NouvelleAction("actEnregistrerSous", "Etats", "Enregistrer sous ...", None);
  actAproposde = NouvelleAction("actAproposde", "?", "A propos de ...", Handler(&Self::mnuAproposdeClick));
  actDictionnaire = NouvelleAction("actDictionnaire", "Dictionnaires", "Dictionnaires", None);
  for (const TCommandeDictionnaire& Commande : CommandesDictionnaires) {
    TAction* Action = NouvelleAction(Commande.Action, Commande.Categorie, Commande.Libelle,
                                     Handler(&Self::mnuDictionnaireClick));
    Action->OnUpdate = Handler(&Self::actFenetreUpdate);
  }
  actGestionFiches->OnUpdate = Handler(&Self::actFenetreUpdate);
  actVersEXCEL->OnUpdate = Handler(&Self::actFenetreUpdate);

  EditCut1 = NouvelleEdition<TEditCut>(this, ActionList1, "EditCut1", 0);
  EditCopy1 = NouvelleEdition<TEditCopy>(this, ActionList1, "EditCopy1", 1);
  EditPaste1 = NouvelleEdition<TEditPaste>(this, ActionList1, "EditPaste1", 2);
  EditSelectAll1 = NouvelleEdition<TEditSelectAll>(this, ActionList1, "EditSelectAll1", 3);
  EditUndo1 = NouvelleEdition<TEditUndo>(this, ActionList1, "EditUndo1", 4);
  EditDelete1 = NouvelleEdition<TEditDelete>(this, ActionList1, "EditDelete1", 5);
  EditCut2 = NouvelleEdition<TEditCut>(this, ActionManager1, "EditCut2", 0);
  EditCopy2 = NouvelleEdition<TEditCopy>(this, ActionManager1, "EditCopy2", 1);
  EditPaste2 = NouvelleEdition<TEditPaste>(this, ActionManager1, "EditPaste2", 2);
  EditSelectAll2 = NouvelleEdition<TEditSelectAll>(this, ActionManager1, "EditSelectAll2", 3);
  EditUndo2 = NouvelleEdition<TEditUndo>(this, ActionManager1, "EditUndo2", 4);
  EditUndo2->SetVisible(false);
  EditDelete2 = NouvelleEdition<TEditDelete>(this, ActionManager1, "EditDelete2", 5);
}

TkwBarSubItem* TfrmMainForm::SousMenu(TkwBarItemLinks* Parent, const String& Caption, bool BeginGroup) {
  auto* Item = new TkwBarSubItem(this);
  Item->SetCaption(Caption);
  Item->SetCategory(0);
  Item->SetVisible(ivAlways);
  TkwBarItemLink* Link = Parent->Add();
  Link->SetItem(Item);
  Link->SetBeginGroup(BeginGroup);
  return Item;
}

TkwBarItem* TfrmMainForm::Entree(TkwBarItemLinks* Parent, TBasicAction* Action, bool BeginGroup, bool Large) {
  TkwBarItem* Item = Large ? new TkwBarLargeButton(this) : new TkwBarButton(this);
  Item->SetCategory(0);
  Item->SetAction(Action);
  TkwBarItemLink* Link = Parent->Add();
  Link->SetItem(Item);
  Link->SetBeginGroup(BeginGroup);
  return Item;
}

void TfrmMainForm::CreerMenu() {
  RegisterBarItems();
  // Each command shows its picture: the actions carry the index, their entries follow them.
  ImagesCommandes = new TImageList(this, 16, 16);
  ImagesCommandes->SetName("ImagesCommandes");
  AjouterImagesCommandes(ImagesCommandes);
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* Action = dynamic_cast<TCustomAction*>(Components(i))) Action->SetImageIndex(IndexImageCommande(Action->Name()));

  kwBarManager1 = new TkwBarManager(this);
  kwBarManager1->SetName("kwBarManager1");
  kwBarManager1->SetAllowReset(false);
  kwBarManager1->SetScaled(false);
  kwBarManager1->Font()->SetName("Tahoma");
  kwBarManager1->Font()->SetHeight(-11);
  kwBarManager1->LookAndFeel()->SetKind(lfUltraFlat);
  kwBarManager1->SetStyle(bmsUseLookAndFeel);
  kwBarManager1->SetUseSystemFont(true);
  kwBarManager1->SetImages(ImagesCommandes);
  kwBarManager1->SetLargeImages(ImagesCommandes);

  MainMenuBar = kwBarManager1->Bars()->Add();
  MainMenuBar->SetCaption("MainMenu");
  MainMenuBar->SetIsMainMenu(true);
  MainMenuBar->SetDockingStyle(dsTop);
  MainMenuBar->SetMultiLine(true);
  MainMenuBar->OneOnRow = true;
  MainMenuBar->SetShowMark(false);
  TkwBarItemLinks* Bar = MainMenuBar->ItemLinks();

  TkwBarSubItem* Fichier = SousMenu(Bar, "&Fichier");
  TkwBarSubItem* Echanges = SousMenu(Fichier->ItemLinks(), "Echanges");
  Entree(Echanges->ItemLinks(), actFormatKELVOR);
  Entree(Echanges->ItemLinks(), actVersEXCEL);
  Entree(Fichier->ItemLinks(), actFermer, true);
  Entree(Fichier->ItemLinks(), actReduire);
  Entree(Fichier->ItemLinks(), actRestaurer);
  Entree(Fichier->ItemLinks(), actQuitter, true);

  TkwBarSubItem* Edition = SousMenu(Bar, "&Edition");
  Entree(Edition->ItemLinks(), EditCut1, false, false);
  for (TBasicAction* Action : {static_cast<TBasicAction*>(EditCopy2), static_cast<TBasicAction*>(EditPaste2),
                               static_cast<TBasicAction*>(EditSelectAll2), static_cast<TBasicAction*>(EditUndo2),
                               static_cast<TBasicAction*>(EditDelete2)})
    Entree(Edition->ItemLinks(), Action);

  TkwBarSubItem* Outils = SousMenu(Bar, "&Outils");
  Entree(Outils->ItemLinks(), actPersonnalisation);
  Entree(Outils->ItemLinks(), actAdministration);

  TkwBarSubItem* Fiches = SousMenu(Bar, "&Gestion des fiches");
  Entree(Fiches->ItemLinks(), actGestionFiches);

  // The dictionaries by category, in the order of the table.
  TkwBarSubItem* Dictionnaires = SousMenu(Bar, "&Dictionnaires");
  const struct {
    const char* Categorie;
    const char* Caption;
  } Categories[] = {{"Renseignements généraux"_a, "&Renseignements généraux"_a},
                    {"Description et fonctionnement", "D&escription et fonctionnement"},
                    {"Contexte", "C&ontexte"},
                    {"Evaluation", "E&valuation"},
                    {"Cartes", "&Cartes"},
                    {"Options", "O&ptions"}};
  for (const auto& Categorie : Categories) {
    TkwBarSubItem* Menu = SousMenu(Dictionnaires->ItemLinks(), Categorie.Caption);
    for (const TCommandeDictionnaire& Commande : CommandesDictionnaires)
      if (String(Commande.Categorie) == Categorie.Categorie) Entree(Menu->ItemLinks(), ActionDictionnaire(Commande.Action));
  }

  TkwBarSubItem* Etats = SousMenu(Bar, "&E&tats");
  for (TAction* Action : {actListedesZHactives, actListedesZHgeles, actFichesignaltique, actFichedtaill,
                          actFichedesynthse1})
    Entree(Etats->ItemLinks(), Action);

  TkwBarSubItem* Aide = SousMenu(Bar, "?");
  Entree(Aide->ItemLinks(), actAproposde);

  // The two commands no entry shows still have their button, in no menu.
  for (TAction* Action : {actEnregistrerSous, actDictionnaire}) {
    auto* Item = new TkwBarLargeButton(this);
    Item->SetCategory(0);
    Item->SetAction(Action);
  }

  MainMenuBar->SetVisible(true);
}

void TfrmMainForm::ChargerFond() {
  // The picture is compiled into the program; it is stretched over the MDI client area.
  TResourceStream Stream(MainInstance(), "FONDPRINCIPAL", MAKEINTRESOURCEA(10));  // RT_RCDATA
  TJPEGImage Jpeg;
  Jpeg.LoadFromStream(&Stream);
  qzBackground1->Image()->Picture()->SetGraphic(&Jpeg);
  qzBackground1->Image()->SetMode(bmStretch);
  qzBackground1->Image()->SetTileWidth(859);
  qzBackground1->Image()->SetTileHeight(563);
  qzBackground1->Clients()->AddClient(this);
}

TAction* TfrmMainForm::ActionDictionnaire(const String& Name) const {
  for (const TCommandeDictionnaire& Commande : CommandesDictionnaires)
    if (Name == Commande.Action) return dynamic_cast<TAction*>(FindComponent(Name));
  return nullptr;
}

TCustomForm* TfrmMainForm::FenetreCommande(const String& ClassName) const {
  if (ClassName == kFenetreFiches) return FormExiste(frmZoneHumide) ? frmZoneHumide : nullptr;
  auto Found = FenetresParClasse().find(ClassName);
  if (Found == FenetresParClasse().end() || !FormExiste(Found->second)) return nullptr;
  return Found->second;
}

void TfrmMainForm::OuvrirFenetre(const String& ClassName, bool Modal) {
  TCustomForm* Fenetre = FenetreCommande(ClassName);
  if (Fenetre == nullptr) {
    TClass Class = GetClass(ClassName);
    if (Class == nullptr) return;
    Fenetre = dynamic_cast<TCustomForm*>(Class->Create(Application));
    if (Fenetre == nullptr) return;
    if (ClassName == kFenetreFiches) frmZoneHumide = dynamic_cast<TfrmZoneHumideBase*>(Fenetre);
    else FenetresParClasse()[ClassName] = Fenetre;
    Fenetre->AfterConstruction();
  }
  if (Modal) Fenetre->ShowModal();
  else Fenetre->Show();
}

// --- Window ---------------------------------------------------------------------------------

void TfrmMainForm::FormCreate(TObject*) {
  // The spreadsheet export is made by class name: registered before its command is first updated.
  RegisterExportZH();
  CreerActions();
  CreerEtats();
  CreerMenu();
  ChargerFond();
  ModeAdministrateur = false;
  if (FileExists(kFichierParametres)) {
    LireParametres();
  } else {
    // First start on this workstation: the operator gives the names the history rows carry.
    if (!DirectoryExists(kDossierParametres)) ForceDirectories(kDossierParametres);
    mnuPersonnalisationClick(this);
  }
  std::vector<String> Arguments;
  for (int i = 1; i <= ParamCount(); ++i) Arguments.push_back(ParamStr(i));
  if (ArgumentsAdministrateur(Arguments)) ModeAdministrateur = true;
}

void TfrmMainForm::FormPaint(TObject*) {
  if (FormExiste(frmDemarrage)) {
    try {
      frmDemarrage->Hide();
    } catch (...) {
      // The start-up window going away while it hides changes nothing here.
    }
  }
  Application->ProcessMessages();
  // The record window opens once, at the first paint; the start-up window's destruction does it
  // otherwise. Tag is set first: the messages processed below can paint again.
  if (Tag == 0) {
    Tag = 1;
    Application->ProcessMessages();
    actGestionFiches->Execute();
  }
  Application->ProcessMessages();
}

void TfrmMainForm::FormClose(TObject*, TCloseAction& Action) {
  Action = caFree;
  if (!FormExiste(frmZoneHumide)) return;
  auto* Validation = dynamic_cast<TControl*>(frmZoneHumide->FindComponent("bbtnValidation"));
  if (Validation == nullptr || !Validation->Visible()) return;
  if (MessageBox(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) != IDYES) {
    Action = caNone;
    return;
  }
  AbandonnerSaisie();
}

void TfrmMainForm::AbandonnerSaisie() {
  if (dmVelbor == nullptr) return;
  for (int i = 0; i < dmVelbor->ComponentCount(); ++i) {
    auto* DataSet = dynamic_cast<TDataSet*>(dmVelbor->Components(i));
    if (DataSet == nullptr || !DataSet->Active()) continue;
    if (DataSet->State() == dsEdit || DataSet->State() == dsInsert) DataSet->Cancel();
  }
  // The cached changes of every batch dataset (the record's details) are dropped as well: the
  // program ends without writing them, whatever closes the datasets afterwards.
  for (int i = 0; i < dmVelbor->ComponentCount(); ++i) {
    auto* DataSet = dynamic_cast<TCustomADODataSet*>(dmVelbor->Components(i));
    if (DataSet != nullptr && DataSet->Active() && DataSet->LockType() == ltBatchOptimistic) DataSet->CancelBatch();
  }
}

// --- Commands -------------------------------------------------------------------------------

void TfrmMainForm::mnuFicheClick(TObject*) { OuvrirFenetre(kFenetreFiches, false); }

void TfrmMainForm::mnuFormatKELVORClick(TObject*) {
  if (!FormExiste(frmEchangeKelvor)) {
    frmEchangeKelvor = new TfrmEchangeKelvor(Application);
    frmEchangeKelvor->AfterConstruction();
  }
  frmEchangeKelvor->ShowModal();
}

void TfrmMainForm::mnuVersEXCELClick(TObject*) {
  Screen->SetCursor(crHourGlass);
  Application->ProcessMessages();
  try {
    OuvrirFenetre(kFenetreExport, false);
  } catch (...) {
    Screen->SetCursor(crDefault);
    throw;
  }
  Screen->SetCursor(crDefault);
}

void TfrmMainForm::mnuFermerClick(TObject*) {
  if (TCustomForm* Child = ActiveMDIChild()) Child->Close();
}

void TfrmMainForm::actFermerUpdate(TObject*) {
  const bool Children = MDIChildCount() > 0;
  actFermer->SetEnabled(Children);
  actReduire->SetEnabled(Children);
  actRestaurer->SetEnabled(Children);
}

void TfrmMainForm::actReduireExecute(TObject*) {
  if (TCustomForm* Child = ActiveMDIChild()) Child->SetWindowState(wsMinimized);
}

void TfrmMainForm::actRestaurerExecute(TObject*) {
  if (TCustomForm* Child = ActiveMDIChild()) Child->SetWindowState(wsNormal);
}

void TfrmMainForm::mnuQuitterClick(TObject*) { Close(); }

void TfrmMainForm::mnuPersonnalisationClick(TObject*) {
  if (!FormExiste(frmPersonnalisation)) {
    frmPersonnalisation = new TfrmPersonnalisation(Application);
    frmPersonnalisation->AfterConstruction();
  }
  frmPersonnalisation->ShowModal();
}

void TfrmMainForm::mnuAdministrationClick(TObject*) {
  auto* Dialog = new TfrmAdministration(Application);
  Dialog->AfterConstruction();
  Dialog->ShowModal();
  if (MotDePasseSaisi == kMotDePasseAdministrateur) {
    actAdministration->SetEnabled(false);
    ModeAdministrateur = true;
  } else {
    MessageBox("Mot de passe incorrect !", "Erreur", MB_OK | MB_ICONERROR);
  }
}

void TfrmMainForm::mnuAproposdeClick(TObject*) {
  Application->ProcessMessages();
  if (FormExiste(frmAproposde)) frmAproposde->Show();
  Application->ProcessMessages();
}

void TfrmMainForm::mnuDictionnaireClick(TObject* Sender) {
  OuvrirFenetre(FenetreDeLAction(dynamic_cast<TBasicAction*>(Sender)), false);
}

void TfrmMainForm::actFenetreUpdate(TObject* Sender) {
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action != nullptr) Action->SetEnabled(GetClass(FenetreDeLAction(Action)) != nullptr);
}
