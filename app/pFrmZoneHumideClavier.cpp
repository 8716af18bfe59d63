// This file implements the keys and the focus of TfrmZoneHumide's record pages: the 21 window
// hooks that route Up, Down and Tab inside the control grids, the key filters of the editors, and
// what entering or leaving a detail grid or a control grid does.
#include "pFrmZoneHumide.h"

#include <cassert>

#include "FormatSettings.h"
#include "OxWindowHook.h"
#include "StrUtils.h"
#include "qvdbedit.h"

namespace {

// A window hook: the control it watches, the control grid that Up and Down scroll while the
// control's list is closed, where Shift+Tab and Tab go. A hook is switched on when its control is
// entered and switches itself off the first time it acts, so it acts at most once per entry.
struct TCrochet {
  const char* Nom;
  const char* Controle;
  const char* Grille;        // scrolled by Up and Down, or null
  bool RetourAnnulation;     // Shift+Tab goes to Annulation while it is visible
  const char* Retour;        // otherwise Shift+Tab goes to this control (null: no Shift+Tab)
  bool SuivantValidation;    // Tab goes to Validation while it is visible
  const char* SuivantDonnees;  // otherwise Tab focuses this dataset's field...
  const char* SuivantChamp;    // ...(null with a dataset: the code field, field 1)
  bool Memo;                 // the shared memo handler: the next code field, errors swallowed
};

const TCrochet kCrochets[] = {
    {"OxWindowHook1", "qvDBCboType", "DBCtrGdInventaire", true, "dbeInvCouv", false, nullptr, nullptr, false},
    {"OxWindowHook3", "lkCboCodeInventaire", "DBCtrGdInventaire", false, nullptr, false, nullptr, nullptr, false},
    {"OxWindowHook2", "dbeInvCouv", nullptr, false, nullptr, true, "qInventaire", "INV_TYPE", false},
    {"OxWindowHook4", "qvDBlkcboFonctBio", "DBCtrlGrdFonctBio", true, "DBMemo10", false, nullptr, nullptr, false},
    {"OxWindowHook5", "qvDBLkcboActHum", "DBCtrlGrdActHum", true, "DBMemo20", false, nullptr, nullptr, false},
    {"OxWindowHook6", "qvDBLkcboActHum2", "DBCtrlGrdActHum2", false, "DBMemo19", false, nullptr, nullptr, false},
    {"OxWindowHook7", "qvDBLkcbodmValSE", "DBCtrlGrdValSE", true, "DBMemo14", false, nullptr, nullptr, false},
    {"OxWindowHook8", "qvDBLkcboStatutFoncier", "DBCtrlGrdStatutFoncier", true, "DBMemo15", false, nullptr, nullptr,
     false},
    {"OxWindowHook9", "qvDBLkcboMesureProt", "DBCtrlGrdMesureProt", true, "DBMemo16", false, nullptr, nullptr, false},
    {"OxWindowHook10", "qvDBLkcboMesureProtAqua", "DBCtrlGrdMesureProtAqua", true, "DBMemo17", false, nullptr, nullptr,
     false},
    {"OxWindowHook11", "qvDBLkcboInstContFinacier", "DBCtrlGrdInstContFinacier", true, "DBMemo18", false, nullptr,
     nullptr, false},
    {"OxWindowHook12", "DBMemo2", nullptr, true, "DBEdit2", false, nullptr, nullptr, false},
    {"OxWHookActHum", "DBMemo19", nullptr, false, nullptr, false, "qActHum2", "ACT_HUM_CODE", false},
    {"OxWHookActHum2", "DBMemo20", nullptr, false, nullptr, true, "qActHum", "ACT_HUM_CODE", false},
    {"OxWHookFonctBio", "DBMemo10", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookValSE", "DBMemo14", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookStatutFoncier", "DBMemo15", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookMesureProt", "DBMemo16", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookMesureProtAqua", "DBMemo17", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookInstContFinacier", "DBMemo18", nullptr, false, nullptr, true, nullptr, nullptr, true},
    {"OxWHookOrientZH", "DBEdit2", nullptr, false, nullptr, true, nullptr, nullptr, true},
};

const TCrochet* CrochetNomme(const String& Nom) {
  for (const TCrochet& C : kCrochets)
    if (Nom == C.Nom) return &C;
  return nullptr;
}

const TCrochet* CrochetDuControle(const String& Controle) {
  for (const TCrochet& C : kCrochets)
    if (Controle == C.Controle) return &C;
  return nullptr;
}

// The editors of the control grids and the map reference: a typed Tab character is dropped.
const char* const kSansTabulation[] = {
    "dbeType", "dbeInvLib", "dbeInvCouv", "DBEditRang1", "DBEditRang2", "DBEditRang3", "DBEditRang4",
    "DBEditRang5", "DBEditRang6", "DBEditRang7", "DBEditDuree1", "DBMemo10", "DBMemo14", "DBMemo15",
    "DBMemo16", "DBMemo17", "DBMemo18", "DBMemo19", "DBMemo20", "DBEdit2", "DBMemo2", "DBMemo9", "DBMemoCarte"};

// The rank, duration, date and remark editors of the coded panels and the orientations' editors:
// Up and Down scroll their control grid.
const char* const kEditeursDePanneau[] = {
    "DBEditRang1", "DBEditRang2", "DBEditRang3", "DBEditRang4", "DBEditRang5", "DBEditRang6", "DBEditRang7",
    "DBEditDuree1", "DBEdit21", "DBMemo10", "DBMemo14", "DBMemo15", "DBMemo16", "DBMemo17", "DBMemo18",
    "DBMemo19", "DBMemo20", "DBEdit2", "DBMemo2", "DBMemo9"};

// The last editor of each coded panel, and the orientations' rank.
const char* const kDerniersEditeurs[] = {"DBMemo10", "DBMemo14", "DBMemo15", "DBMemo16", "DBMemo17",
                                         "DBMemo18", "DBMemo19", "DBMemo20", "DBEdit2"};

// The code combos of the coded panels; those of the second list also become the active combo.
const char* const kCombosDeCode[] = {"qvDBlkcboFonctBio", "qvDBLkcbodmValSE", "qvDBLkcboStatutFoncier",
                                     "qvDBLkcboMesureProt", "qvDBLkcboMesureProtAqua"};
const char* const kCombosActifs[] = {"qvDBLkcboActHum", "qvDBLkcboActHum2", "qvDBLkcboInstContFinacier"};

// The measures typed with a decimal comma.
const char* const kMesures[] = {"dbeAltitude", "dbeSuperficie", "dbeLongueur"};

void TraiterMessages() { Application->ProcessMessages(); }

TDBCtrlGrid* GrilleDe(TControl* Control) {
  for (TControl* C = Control; C != nullptr; C = C->Parent())
    if (auto* Grille = dynamic_cast<TDBCtrlGrid*>(C)) return Grille;
  return nullptr;
}

TDataSet* DonneesDe(TDBCtrlGrid* Grille) {
  if (Grille == nullptr || Grille->DataSource() == nullptr) return nullptr;
  return Grille->DataSource()->DataSet();
}

// Gives the focus to Control when it can take it; false otherwise.
bool Focaliser(TWinControl* Control) {
  if (Control == nullptr || !Control->CanFocus()) return false;
  Control->SetFocus();
  return true;
}

void CaretAuDebut(TObject* Sender) {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(Sender)) {
    Edit->SetSelStart(0);
    Edit->SetSelLength(0);
  }
}

// Whether the combo's list is shown: Up and Down then belong to the list.
bool ListeOuverte(TControl* Control) {
  auto* Edit = dynamic_cast<TqvDBCustomEdit*>(Control);
  return Edit != nullptr && Edit->IsDroppedDown();
}

void LireSeule(TDataSet* DataSet, bool Lecture) {
  if (DataSet == nullptr) return;
  for (int i = 0; i < DataSet->FieldCount(); ++i) DataSet->Fields()->Fields(i)->SetReadOnly(Lecture);
}

}  // namespace

// --- Binding -------------------------------------------------------------------------------------

void TfrmZoneHumide::LierClavier() {
  // Every name below is a control of the description; a missing one is a broken description,
  // which the program survives without the binding.
  auto Controle = [this](const char* Nom) {
    auto* Control = dynamic_cast<TWinControl*>(FindComponent(Nom));
    assert(Control != nullptr && "a control of the record pages");
    return Control;
  };
  auto Lier = [&](const char* Nom, auto Membre, auto Evenement) {
    if (TWinControl* Control = Controle(Nom)) Control->*Membre = Evenement;
  };
  for (const TCrochet& C : kCrochets) {
    auto* Hook = new TOxWindowHook(this);
    Hook->SetName(C.Nom);
    Hook->SetControl(Controle(C.Controle));
    Hook->SetBeforeMessage(TOxHookMessageEvent(this, &TfrmZoneHumide::OxWindowHookBeforeMessage));
  }
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* Grille = dynamic_cast<TqvDBGrid*>(Components(i))) {
      if (Grille != OxDBGrid1) Grille->OnEnter = TNotifyEvent(this, &TfrmZoneHumide::OxDBGrdAliasEnter);
    } else if (auto* Panneaux = dynamic_cast<TDBCtrlGrid*>(Components(i))) {
      Panneaux->OnEnter = TNotifyEvent(this, &TfrmZoneHumide::DBCtrGdInventaireEnter);
      Panneaux->OnExit = TNotifyEvent(this, &TfrmZoneHumide::DBCtrGdInventaireExit);
    }
  }
  if (DBCtrGdInventaire != nullptr)
    DBCtrGdInventaire->OnPaintPanel = TPaintPanelEvent(this, &TfrmZoneHumide::DBCtrGdInventairePaintPanel);
  const auto Entree = &TWinControl::OnEnter;
  const auto Touche = &TWinControl::OnKeyDown;
  const auto Caractere = &TWinControl::OnKeyPress;
  Lier("qvDBCboType", Entree, TNotifyEvent(this, &TfrmZoneHumide::qvDBCboTypeEnter));
  Lier("lkCboCodeInventaire", Entree, TNotifyEvent(this, &TfrmZoneHumide::lkCboCodeInventaireEnter));
  Lier("dbeInvCouv", Entree, TNotifyEvent(this, &TfrmZoneHumide::dbeInvCouvEnter));
  for (const char* Nom : kCombosDeCode) Lier(Nom, Entree, TNotifyEvent(this, &TfrmZoneHumide::qvDBlkcboFonctBioEnter));
  for (const char* Nom : kCombosActifs) Lier(Nom, Entree, TNotifyEvent(this, &TfrmZoneHumide::qvDBLkcboActHumEnter));
  for (const char* Nom : kDerniersEditeurs) Lier(Nom, Entree, TNotifyEvent(this, &TfrmZoneHumide::DBMemo10Enter));
  for (const char* Nom : {"DBMemo2", "DBMemo9"}) {
    Lier(Nom, Entree, TNotifyEvent(this, &TfrmZoneHumide::DBMemo2Enter));
    if (auto* Memo = dynamic_cast<TCustomMemo*>(Controle(Nom)))
      Memo->OnChange = TNotifyEvent(this, &TfrmZoneHumide::DBMemo2Change);
  }
  for (const char* Nom : kMesures) {
    Lier(Nom, Entree, TNotifyEvent(this, &TfrmZoneHumide::dbeSuperficieEnter));
    Lier(Nom, Caractere, TKeyPressEvent(this, &TfrmZoneHumide::dbeAltitudeKeyPress));
  }
  for (const char* Nom : kSansTabulation) Lier(Nom, Caractere, TKeyPressEvent(this, &TfrmZoneHumide::dbeInvLibKeyPress));
  Lier("DBEdit21", Caractere, TKeyPressEvent(this, &TfrmZoneHumide::DBEdit21KeyPress));
  for (const char* Nom : {"dbeType", "dbeInvLib", "dbeInvCouv"})
    Lier(Nom, Touche, TKeyEvent(this, &TfrmZoneHumide::dbeInvLibKeyDown));
  for (const char* Nom : kEditeursDePanneau) Lier(Nom, Touche, TKeyEvent(this, &TfrmZoneHumide::DBEdit1KeyDown));
}

namespace {

TOxWindowHook* CrochetDe(TComponent* Form, const char* Nom) {
  return dynamic_cast<TOxWindowHook*>(Form->FindComponent(Nom));
}

// Switches on the hook watching Control, if one does.
void ActiverCrochetDe(TComponent* Form, TObject* Control) {
  auto* Component = dynamic_cast<TComponent*>(Control);
  if (Component == nullptr) return;
  if (const TCrochet* C = CrochetDuControle(Component->Name()))
    if (TOxWindowHook* Hook = CrochetDe(Form, C->Nom)) Hook->SetActive(true);
}

}  // namespace

// --- The hooks -----------------------------------------------------------------------------------

void TfrmZoneHumide::OxWindowHookBeforeMessage(TObject* Sender, TMessage& Msg, bool& Handled) {
  auto* Hook = dynamic_cast<TOxWindowHook*>(Sender);
  const TCrochet* C = Hook != nullptr ? CrochetNomme(Hook->Name()) : nullptr;
  if (C == nullptr) return;
  bool Fleche = Msg.Msg == WM_KEYDOWN && (Msg.WParam == VK_UP || Msg.WParam == VK_DOWN);
  bool Tabulation = (Msg.Msg == CN_KEYDOWN || Msg.Msg == CM_DIALOGKEY) && Msg.WParam == VK_TAB;
  if (Fleche) {
    auto* Grille = C->Grille != nullptr ? dynamic_cast<TDBCtrlGrid*>(FindComponent(C->Grille)) : nullptr;
    if (Grille == nullptr || ListeOuverte(Hook->Control())) return;
    bool Bas = Msg.WParam == VK_DOWN;
    Hook->SetActive(false);
    // The control never sees the key: the grid moves to the next or previous row instead.
    Msg.WParam = 0;
    Handled = true;
    Grille->DoKey(Bas ? gkScrollDown : gkScrollUp);
    return;
  }
  if (!Tabulation) return;
  bool Majuscule = GetKeyState(VK_SHIFT) < 0;
  if (Majuscule ? (C->Retour == nullptr && !C->RetourAnnulation)
                : (C->SuivantDonnees == nullptr && !C->SuivantValidation && !C->Memo))
    return;
  Hook->SetActive(false);
  // The key is taken whole: neither the control nor the form's tab order sees it.
  Msg.WParam = 0;
  Msg.Result = 1;
  Handled = true;
  if (Majuscule) {
    if (C->RetourAnnulation && bbtnAnnulation->Visible() && Focaliser(bbtnAnnulation)) return;
    if (C->Retour != nullptr) Focaliser(dynamic_cast<TWinControl*>(FindComponent(C->Retour)));
    return;
  }
  // The shared memo handler also voids the message itself.
  if (C->Memo) Msg.Msg = 0;
  if (C->SuivantValidation && bbtnValidation->Visible() && Focaliser(bbtnValidation)) return;
  if (C->Memo) {
    try {
      if (TDataSet* DataSet = DonneesDe(GrilleDe(Hook->Control())))
        if (DataSet->FieldCount() > 1) DataSet->Fields()->Fields(1)->FocusControl();
    } catch (Exception&) {
      // The focus stays where it is: a Tab that cannot move on is not an error.
    }
    TraiterMessages();
    return;
  }
  if (auto* DataSet = dynamic_cast<TDataSet*>(dmVelbor->FindComponent(C->SuivantDonnees)))
    if (TField* Field = DataSet->FindField(C->SuivantChamp)) Field->FocusControl();
}

// --- Entering the editors ------------------------------------------------------------------------

void TfrmZoneHumide::qvDBCboTypeEnter(TObject* Sender) {
  ActiverCrochetDe(this, Sender);
  TraiterMessages();
}

void TfrmZoneHumide::dbeInvCouvEnter(TObject* Sender) {
  ActiverCrochetDe(this, Sender);
  TraiterMessages();
  CaretAuDebut(Sender);
}

void TfrmZoneHumide::qvDBlkcboFonctBioEnter(TObject* Sender) {
  TraiterMessages();
  ActiverCrochetDe(this, Sender);
}

void TfrmZoneHumide::qvDBLkcboActHumEnter(TObject* Sender) {
  TraiterMessages();
  ActiverCrochetDe(this, Sender);
  // A lookup combo answers for the duplicate notice; a plain edit has nothing to answer with.
  if (auto* Combo = dynamic_cast<ILookupComboActif*>(Sender)) dmVelbor->SetComboActif(Combo);
}

void TfrmZoneHumide::lkCboCodeInventaireEnter(TObject* Sender) {
  // The nature of the row chooses the list of codes; "Autre" (7) lets the code be typed.
  SetLkCboCodeInventaireFreeEntry(false);
  TdmVelbor* dm = dmVelbor;
  String Nature = dm->qInventaire->Active() ? dm->qInventaire->FieldByName("INV_TYPE")->AsString() : String();
  TADOQuery* const Listes[] = {dm->qType1, dm->qType2, dm->qType3, dm->qType4, dm->qType5, dm->qType6, dm->qType7};
  if (Nature.empty()) {
    SetLkCboCodeInventaireLookupTable(dm->qType7);
  } else if (Nature.size() == 1 && Nature[0] >= '1' && Nature[0] <= '7') {
    SetLkCboCodeInventaireLookupTable(Listes[Nature[0] - '1']);
    if (Nature == "7") SetLkCboCodeInventaireFreeEntry(true);
  }
  TraiterMessages();
  ActiverCrochetDe(this, Sender);
}

// The Tag of these editors is 1 when Return was typed in them: the caret then stays where it was.
void TfrmZoneHumide::DBMemo10Enter(TObject* Sender) {
  ActiverCrochetDe(this, Sender);
  auto* Editor = dynamic_cast<TComponent*>(Sender);
  if (Editor == nullptr) return;
  if (Editor->Tag != 0) Editor->Tag = 0;
  else CaretAuDebut(Sender);
}

void TfrmZoneHumide::DBMemo2Enter(TObject* Sender) {
  // DBMemo9 shares the handler but has no hook: its Tab follows the tab order.
  auto* Editor = dynamic_cast<TComponent*>(Sender);
  if (Editor == nullptr) return;
  if (Editor->Name() == "DBMemo2") ActiverCrochetDe(this, Sender);
  if (Editor->Tag != 0) Editor->Tag = 0;
  else CaretAuDebut(Sender);
}

// A recommendation or its implementation typed on a row without a rank numbers the row last.
void TfrmZoneHumide::DBMemo2Change(TObject* Sender) {
  auto* Memo = dynamic_cast<TCustomMemo*>(Sender);
  TDataSet* Orientations = dmVelbor->qOrientZH;
  if (Memo == nullptr || Memo->Text().empty() || !Orientations->Active() || !EnEdition()) return;
  TField* Rang = Orientations->FieldByName("ORZ_RANG");
  if (!Rang->IsNull() && !Rang->AsString().empty()) return;
  if (Orientations->State() != dsEdit && Orientations->State() != dsInsert) Orientations->Edit();
  Rang->SetAsInteger(Orientations->RecordCount() + 1);
}

// --- Key filters ---------------------------------------------------------------------------------

void TfrmZoneHumide::dbeAltitudeKeyPress(TObject*, char& Key) {
  FormatSettings.DecimalSeparator = ',';
  if (Key == '.') Key = ',';
}

void TfrmZoneHumide::dbeSuperficieEnter(TObject* Sender) {
  auto* Edit = dynamic_cast<TDBEdit*>(Sender);
  if (Edit == nullptr || Edit->Field() == nullptr) return;
  TFieldChars Chiffres;
  Chiffres.set(static_cast<unsigned char>(','));
  for (char c = '0'; c <= '9'; ++c) Chiffres.set(static_cast<unsigned char>(c));
  Edit->Field()->SetValidChars(Chiffres);
}

void TfrmZoneHumide::DBEdit21KeyPress(TObject*, char& Key) {
  unsigned char k = static_cast<unsigned char>(Key);
  if (k < 32 || Key == '/' || (Key >= '0' && Key <= '9')) return;
  Key = 0;
}

void TfrmZoneHumide::dbeInvLibKeyPress(TObject*, char& Key) {
  if (Key == '\t') Key = 0;
}

void TfrmZoneHumide::dbeInvLibKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key != VK_DOWN && Key != VK_UP) return;
  DBCtrGdInventaire->DoKey(Key == VK_DOWN ? gkScrollDown : gkScrollUp);
  Key = 0;
}

void TfrmZoneHumide::DBEdit1KeyDown(TObject* Sender, WORD& Key, TShiftState) {
  auto* Editor = dynamic_cast<TControl*>(Sender);
  if (Editor == nullptr) return;
  switch (Key) {
    case VK_DOWN:
    case VK_UP:
      if (TDBCtrlGrid* Grille = GrilleDe(Editor)) Grille->DoKey(Key == VK_DOWN ? gkScrollDown : gkScrollUp);
      Key = 0;
      break;
    case VK_TAB: Key = 0; break;
    case VK_RETURN: Editor->Tag = 1; break;
    default: break;
  }
}

// --- Entering and leaving the detail grids -------------------------------------------------------

// A detail grid is entered on its first field, its fields writable only in edit mode.
void TfrmZoneHumide::OxDBGrdAliasEnter(TObject* Sender) {
  dmVelbor->SetComboActif(nullptr);
  auto* Grille = dynamic_cast<TqvDBGrid*>(Sender);
  TDataSet* DataSet = Grille != nullptr && Grille->DataSource() != nullptr ? Grille->DataSource()->DataSet() : nullptr;
  if (DataSet == nullptr || !DataSet->Active()) return;
  if (DataSet->FieldCount() > 0) DataSet->Fields()->Fields(0)->FocusControl();
  LireSeule(DataSet, !EnEdition());
}

// A control grid is entered on its code (the nature for the inventories), in the edit colour; its
// rows are editable only in edit mode.
void TfrmZoneHumide::DBCtrGdInventaireEnter(TObject* Sender) {
  dmVelbor->SetComboActif(nullptr);
  auto* Grille = dynamic_cast<TDBCtrlGrid*>(Sender);
  TDataSet* DataSet = DonneesDe(Grille);
  if (DataSet == nullptr) return;
  LireSeule(DataSet, !EnEdition());
  Grille->DataSource()->AutoEdit = EnEdition();
  if (DataSet->Active()) {
    TField* Champ = UpperCase(DataSet->Name()) == "QINVENTAIRE" ? DataSet->FindField("INV_TYPE")
                    : DataSet->FieldCount() > 1                ? DataSet->Fields()->Fields(1)
                                                               : nullptr;
    if (Champ != nullptr) Champ->FocusControl();
  }
  Grille->SetSelectedColor(CouleurEdition());
}

// Leaving a control grid drops a row that was appended and never filled.
void TfrmZoneHumide::DBCtrGdInventaireExit(TObject* Sender) {
  auto* Grille = dynamic_cast<TDBCtrlGrid*>(Sender);
  TDataSet* DataSet = DonneesDe(Grille);
  if (DataSet == nullptr) return;
  Grille->SetSelectedColor(Grille->Color());
  if (DataSet->Active() && !DataSet->Modified()) DataSet->Cancel();
}

// The label of an inventory row is typed only for the nature "Autre" (7), in edit mode.
void TfrmZoneHumide::DBCtrGdInventairePaintPanel(TDBCtrlGrid* DBCtrlGrid, int Index) {
  // The editors sit on the current row's panel: only that row decides.
  if (DBCtrlGrid == nullptr || Index != DBCtrlGrid->PanelIndex()) return;
  auto* Libelle = dynamic_cast<TDBEdit*>(FindComponent("dbeInvLib"));
  if (Libelle == nullptr) return;
  TDataSet* Inventaire = dmVelbor->qInventaire;
  bool Libre = EnEdition() && Inventaire->Active() && Inventaire->FieldByName("INV_TYPE")->AsString() == "7";
  Libelle->SetReadOnly(!Libre);
  Libelle->SetTabStop(Libre);
}
