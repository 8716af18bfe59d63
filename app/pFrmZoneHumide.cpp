// This file implements TfrmZoneHumide, the record window.
#include "pFrmZoneHumide.h"

#include "DateTime.h"
#include "DateTimeFormat.h"
#include "Dialogs.h"
#include "Graphics.h"
#include "Modules.h"
#include "Qvdbigrd.h"
#include "ScopeGuard.h"
#include "ScrollBox.h"
#include "StrUtils.h"
#include "FloatFormat.h"
#include "pRechFicheConsult.h"
#include "pRechercheCommune.h"
#include "pUtilZH.h"
#include "pfrmAttention.h"
#include "pfrmCreation.h"
#include "qvDBNavigator.h"

namespace {

// The grids' "+" buttons: the detail of the data module each adds to, the field that takes the
// focus, the limit some lists have, and the combo whose list opens on the new row: in a grid
// cell (the grid's column that combo edits is made current first), on a control-grid panel, or
// the inventory's nature combo.
struct TAjout {
  const char* Handler;
  const char* DataSet;
  const char* Field;
  bool IgnoreSousNotice;  // does nothing while the duplicate notice shows
  const char* Limite;     // message of the five-row limit, or null
  const char* Combo;      // the combo dropped down on the new row, or null
};

const TAjout kAjouts[] = {
    {"qvNavBtnAliasPlusClick", "qAlias", "ALIAS_LIB", false, nullptr, nullptr},
    {"qvNavBtnCommunePlusClick", "qCommune", "COM_CODE", true, nullptr, "qvDBLkcboCommune"},
    {"qvNavBtnZoneHydroPlusClick", "qZoneHydroZh", "ZONE_HYDRO_CODE", true, nullptr, "qvDBLkcboZoneHydro"},
    {"qvNavBtnSysAquiZHPlusClick", "qSysAquiZH", "ENT_HYDRO_CODE", false, nullptr, "qvDBLkcboSysAquiZH"},
    {"qvNavBtnRefBiblioClick", "qRefBiblio", "REF_TITRE", false, nullptr, nullptr},
    {"qvNavBtnSDAGEPrincipalePlusClick", "qSDAGEPrincipale", "TSD_CODE", true, nullptr, "qvDBLkpCboSDAGEPrincipale"},
    {"qvNavBtnSDAGEPlusClick", "qSDAGE", "TSD_CODE", true, nullptr, "qvDBLkpCboSDAGE"},
    {"qvNavBtnTypoPhyPlusClick", "qTypoPhy", "TPC_CODE", true, nullptr, "qvDBLkcboTypoPhy"},
    {"qvDBNavCorineInsertClick", "qCorineBio", "TCB_CODE", false, nullptr, "qvDBLkCboCorine"},
    {"qvNavBtnSortieEauClick", "qSortieEau", "TYPE_ES_CODE", true, nullptr, "qvDBLkcboTypeSortieEau"},
    {"qvNavBtnEntEauPlusClick", "qEntEau", "TYPE_ES_CODE", true, nullptr, "qvDBLkcboTypeEntEau"},
    {"qvNavBtndmQualiteEauPlusClick", "qQualiteEau", "QU_LOC_MES", false, nullptr, nullptr},
    {"qvNavBtnFonctHydroPlusClick", "qFonctHydro", "IFZ_CODE", true, nullptr, "qvDBLkcboFonctHydro"},
    {"qvNavBtnInvPlusClick", "qInventaire", "INV_TYPE", true, nullptr, "qvDBCboType"},
    {"qvNavBtnEspVegClick", "qEspVeg", "TAXON_CODE", true, "5 espèces maximum"_a, "qvDBLkcboEspVeg2"},
    {"qvNavBtnEspAniPlusClick", "qEspAni", "TAXON_CODE", true, "5 espèces maximum"_a, "qvDBLkcboEspAni2"},
    {"qvNavBtnOiseauxPlusClick", "qOiseaux", "TAXON_CODE", true, "5 oiseaux maximum", "qvDBLkcboOiseaux2"},
    {"qvNavBtnHabitatClick", "qHabitat", "HABITAT_CODE", true, "5 habitats maximum", "qvDBLkcboHabitat"},
    {"qvNavBtnFonctBioClick", "qFonctBio", "IFZ_CODE", true, nullptr, "qvDBlkcboFonctBio"},
    {"qvNavBtnActHumPlusClick", "qActHum", "ACT_HUM_CODE", true, nullptr, "qvDBLkcboActHum"},
    {"qvNavBtnActHum2PlusClick", "qActHum2", "ACT_HUM_CODE", true, nullptr, "qvDBLkcboActHum2"},
    {"qvNavBtnFactInfPlusClick", "qFactInf", "FAI_CODE", true, nullptr, "qvDBLkcboFactInf"},
    {"qvNavBtnFactInf2PlusClick", "qFactInf2", "FAI_CODE", true, nullptr, "qvDBLkcboFactInf2"},
    {"qvNavBtnValSEPlusClick", "qValSE", "VAL_SE_CODE", true, nullptr, "qvDBLkcbodmValSE"},
    {"qvNavBtnStatutFoncierClick", "qStatutFoncier", "SFO_CODE", true, nullptr, "qvDBLkcboStatutFoncier"},
    {"qvNavBtnMesureProtPlusClick", "qMesureProt", "MEN_CODE", true, nullptr, "qvDBLkcboMesureProt"},
    {"qvNavBtnMesureProtAquaPlusClick", "qMesureProtAqua", "MEN_CODE", true, nullptr, "qvDBLkcboMesureProtAqua"},
    {"qvNavBtnInstContFinacierPlusClick", "qInstContFinacier", "ICF_CODE", true, nullptr, "qvDBLkcboInstContFinacier"},
    {"qvNavBtnOrientZHPlusClick", "qOrientZH", "ORZ_RECOM", true, nullptr, nullptr},
    {"qvNavBtnDelCartoZhClick", "qDelCartoZh", "DEL_CARTO_CODE", true, nullptr, "qvDBlkcboDelCartoZh"},
    {"qvNavBtnIGNPlusClick", "qIGN", "CARTE_IGN_CODE", true, nullptr, "qvDBLkCboIGN"},
    {"qvDBNavEspeceVegZHPlusClick", "qEspVegDiren", "TAXON_CODE", true, nullptr, "qvDBLkCboEspeceVeg"},
    {"qvDBNavEspeceAniZHPlusClick", "qEspAniDiren", "TAXON_CODE", true, nullptr, "qvDBLkCboEspeceAni"},
    {"qvNavBtnHistoriquePlusClick", "qHistorique", "HISTO_AUTEUR", false, nullptr, nullptr},
};

// The record pages' side-bar buttons, by sheet.
const char* const kPages[] = {"1_1", "1_2", "1_3", "2_1", "2_2", "2_3", "2_3bis", "2_4", "2_5",
                              "2_5bis", "2_6", "2_6bis", "2_7", "2_8", "2_9", "3_1", "3_2", "3_3",
                              "3_4", "4_1", "5_1", "6_1", "7_1", "7_2", "7_3"};

std::vector<THandlerEntry> TableHandlers() {
  // The names live as long as the table that points at them.
  static std::vector<String> names;
  names.reserve(std::size(kPages) + std::size(kAjouts));
  std::vector<THandlerEntry> entries;
  for (const char* Page : kPages) {
    names.push_back("oxeBtn" + String(Page) + "Click");
    entries.push_back(THandlerBuilder<TfrmZoneHumide>::Handler(names.back().c_str(), &TfrmZoneHumide::PageButtonClick));
  }
  for (const TAjout& Ajout : kAjouts)
    entries.push_back(THandlerBuilder<TfrmZoneHumide>::Handler(Ajout.Handler, &TfrmZoneHumide::NavPlusClick));
  return entries;
}

constexpr TColor kCouleurEdition = clSkyBlue;
constexpr TColor kCouleurConsultation = clMedGray;

void TraiterMessages() { Application->ProcessMessages(); }

// The field of the grid's column that the combo edits ("field;LookupCombo;combo" among the
// grid's cell controls); Default when none names it.
String ColonneDuCombo(TqvDBGrid* Grid, const String& Combo, const String& Default) {
  TStrings* Lignes = Grid->ControlType();
  for (int i = 0; i < Lignes->Count(); ++i) {
    const String& Ligne = Lignes->Strings(i);
    std::size_t Fin = Ligne.find(';');
    if (Fin != String::npos && EndsText(";" + Combo, Ligne)) return Ligne.substr(0, Fin);
  }
  return Default;
}

int Demander(const String& Text, const String& Caption, unsigned Flags) { return MessageBox(Text, Caption, Flags); }

// The values of a dataset's stored fields in one row, as text (null apart), to compare rows.
using TLigne = std::vector<std::pair<bool, Variant>>;

TLigne LireLigne(TDataSet* DataSet) {
  TLigne Ligne;
  for (int i = 0; i < DataSet->FieldCount(); ++i) {
    TField* Field = DataSet->Fields()->Fields(i);
    if (Field->FieldKind() != fkData) continue;
    Ligne.emplace_back(Field->IsNull(), Field->IsNull() ? Variant() : Field->Value());
  }
  return Ligne;
}

bool MemeLigne(const TLigne& A, const TLigne& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (A[i].first != B[i].first) return false;
    if (!A[i].first && !(A[i].second == B[i].second)) return false;
  }
  return true;
}

// What a detail shows before the save: its rows, read through its cursor.
struct TEtatDetail {
  TCustomADODataSet* DataSet;
  std::vector<TLigne> Lignes;
};

std::vector<TLigne> LireLignes(TDataSet* DataSet) {
  std::vector<TLigne> Lignes;
  DataSet->DisableControls();
  TScopeGuard enable([&] { DataSet->EnableControls(); });
  TBookmark Mark = DataSet->GetBookmark();
  TScopeGuard back([&] {
    if (DataSet->BookmarkValid(Mark)) DataSet->GotoBookmark(Mark);
    DataSet->FreeBookmark(Mark);
  });
  for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) Lignes.push_back(LireLigne(DataSet));
  return Lignes;
}

// The events of a dataset and its fields, set aside while the rows a failed save wrote are put
// back into its cache: the checks of the data module already ran when they were typed.
class TEvenementsSuspendus {
 public:
  explicit TEvenementsSuspendus(TDataSet* DataSet) : FDataSet(DataSet) {
    FBeforeInsert = DataSet->BeforeInsert;
    FOnNewRecord = DataSet->OnNewRecord;
    FBeforePost = DataSet->BeforePost;
    FAfterScroll = DataSet->AfterScroll;
    DataSet->BeforeInsert = {};
    DataSet->OnNewRecord = {};
    DataSet->BeforePost = {};
    DataSet->AfterScroll = {};
    for (int i = 0; i < DataSet->FieldCount(); ++i) {
      TField* Field = DataSet->Fields()->Fields(i);
      FChanges.push_back(Field->OnChange);
      FReadOnly.push_back(Field->ReadOnly());
      Field->OnChange = {};
      Field->SetReadOnly(false);
    }
  }
  ~TEvenementsSuspendus() {
    FDataSet->BeforeInsert = FBeforeInsert;
    FDataSet->OnNewRecord = FOnNewRecord;
    FDataSet->BeforePost = FBeforePost;
    FDataSet->AfterScroll = FAfterScroll;
    for (int i = 0; i < FDataSet->FieldCount() && i < int(FChanges.size()); ++i) {
      FDataSet->Fields()->Fields(i)->OnChange = FChanges[std::size_t(i)];
      FDataSet->Fields()->Fields(i)->SetReadOnly(FReadOnly[std::size_t(i)]);
    }
  }

 private:
  TDataSet* FDataSet;
  TDataSetNotifyEvent FBeforeInsert, FOnNewRecord, FBeforePost, FAfterScroll;
  std::vector<TFieldNotifyEvent> FChanges;
  std::vector<bool> FReadOnly;
};

// Puts back into a detail's cache the rows it showed before a save that was rolled back: the
// rows read again from the file that the detail no longer showed are deleted, those it showed
// that the file lacks are appended.
void RestaurerDetail(const TEtatDetail& Etat) {
  TCustomADODataSet* DataSet = Etat.DataSet;
  DataSet->DisableControls();
  TScopeGuard enable([&] { DataSet->EnableControls(); });
  TEvenementsSuspendus Suspendus(DataSet);
  DataSet->Requery();
  std::vector<bool> Retenues(Etat.Lignes.size(), false);
  DataSet->First();
  while (!DataSet->Eof()) {
    TLigne Ligne = LireLigne(DataSet);
    bool Trouvee = false;
    for (std::size_t i = 0; i < Etat.Lignes.size(); ++i) {
      if (Retenues[i] || !MemeLigne(Etat.Lignes[i], Ligne)) continue;
      Retenues[i] = Trouvee = true;
      break;
    }
    if (Trouvee) DataSet->Next();
    else DataSet->Delete();
  }
  for (std::size_t i = 0; i < Etat.Lignes.size(); ++i) {
    if (Retenues[i]) continue;
    DataSet->Append();
    std::size_t k = 0;
    for (int f = 0; f < DataSet->FieldCount(); ++f) {
      TField* Field = DataSet->Fields()->Fields(f);
      if (Field->FieldKind() != fkData) continue;
      const auto& Valeur = Etat.Lignes[i][k++];
      if (Valeur.first) Field->Clear();
      else Field->SetValue(Valeur.second);
    }
    DataSet->Post();
  }
  DataSet->First();
}

}  // namespace

VELBOR_IMPLEMENT_CLASS(TfrmZoneHumide)
VELBOR_HANDLERS_AND(TfrmZoneHumide, TableHandlers(),
  VELBOR_HANDLER(FormCreate),
  VELBOR_HANDLER(FormShow),
  VELBOR_HANDLER(FormPaint),
  VELBOR_HANDLER(FormResize),
  VELBOR_HANDLER(FormClose),
  VELBOR_HANDLER(oxebtnListeClick),
  VELBOR_HANDLER(lopGeneraleClick),
  VELBOR_HANDLER(lop1Click),
  VELBOR_HANDLER(OxExBtnCreationClick),
  VELBOR_HANDLER(OxExpressButton10Click),
  VELBOR_HANDLER(OxExBtnModifClick),
  VELBOR_HANDLER(oxeBtn3_1MouseMove),
  VELBOR_HANDLER(actPlusExecute),
  VELBOR_HANDLER(actMoinsExecute),
  VELBOR_HANDLER(actFichePlusExecute),
  VELBOR_HANDLER(actFicheMoisExecute),
  VELBOR_HANDLER(actValiderExecute),
  VELBOR_HANDLER(actAnnulerExecute),
  VELBOR_HANDLER(actModifExecute),
  VELBOR_HANDLER(ts1_1Enter),
  VELBOR_HANDLER(ts1_1Exit),
  VELBOR_HANDLER(tsListeShow),
  VELBOR_HANDLER(ts2_3Show),
  VELBOR_HANDLER(OxDBGrid1TitleButtonClick),
  VELBOR_HANDLER(OxDBGrid1CalcTitleImage),
  VELBOR_HANDLER(OxDBGrid1DblClick),
  VELBOR_HANDLER(OxDBGrid1Enter),
  VELBOR_HANDLER(OxDBGrid1Exit),
  VELBOR_HANDLER(OxExpressButton7Click),
  VELBOR_HANDLER(bbtnAnnulationClick),
  VELBOR_HANDLER(qvNavBtnAliasMoinsClick),
  VELBOR_HANDLER(qvNavButton181Click),
  VELBOR_HANDLER(qvNavButton81Click),
  VELBOR_HANDLER(qvDBLkcboCommuneDropDown),
  VELBOR_HANDLER(lkCboCodeInventaireEnter),
  VELBOR_HANDLER(lkCboCodeInventaireBeforeDropDown),
  VELBOR_HANDLER(qvDBlkcboFonctBioBeforeDropDown),
  VELBOR_HANDLER(qvDBComboDlg1CustomDlg), VELBOR_HANDLER(qvDBCboDlgCommuneCustomDlg),
  VELBOR_HANDLER(qvDBGrdEntEauColEnter), VELBOR_HANDLER(qvDBGrdSortieEauColEnter))
VELBOR_FIELDS(TfrmZoneHumide,
  VELBOR_FIELD(Panel1), VELBOR_FIELD(OxLookOut), VELBOR_FIELD(lopGenerale), VELBOR_FIELD(lop1),
  VELBOR_FIELD(oxebtnListe), VELBOR_FIELD(OxExpressButton10), VELBOR_FIELD(OxExBtnCreation),
  VELBOR_FIELD(OxExBtnModif), VELBOR_FIELD(OxPageControl), VELBOR_FIELD(tsListe), VELBOR_FIELD(ts1_1),
  VELBOR_FIELD(ts2_4), VELBOR_FIELD(OxDBGrid1), VELBOR_FIELD(bbtnValidation), VELBOR_FIELD(bbtnAnnulation),
  VELBOR_FIELD(ActionList1), VELBOR_FIELD(ImageList1), VELBOR_FIELD(dbeNomUsuel), VELBOR_FIELD(dbeType),
  VELBOR_FIELD(DBCtrGdInventaire), VELBOR_FIELD(qRegion), VELBOR_FIELD(qDep), VELBOR_FIELD(qCommune),
  VELBOR_FIELD(qVegetal), VELBOR_FIELD(qAnimal), VELBOR_FIELD(qOiseaux), VELBOR_FIELD(qMesureProtectionEspaces),
  VELBOR_FIELD(qMesureProtectionAqua), VELBOR_FIELD(qVegetalDiren), VELBOR_FIELD(qAnimalDiren),
  VELBOR_FIELD(qRechercheEnveloppe), VELBOR_FIELD(qZoneHydroLib), VELBOR_FIELD(qSysAquiLib),
  VELBOR_FIELD(dsqRegion), VELBOR_FIELD(dsqDep), VELBOR_FIELD(dsqCommune), VELBOR_FIELD(qmtDiagHydro),
  VELBOR_FIELD(qvDBCboType), VELBOR_FIELD(lkCboCodeInventaire), VELBOR_FIELD(qvDBComboDlg1), VELBOR_FIELD(qvDBCboDlgCommune),
  VELBOR_FIELD(qvLookupDialog1), VELBOR_FIELD(OxDBCboTypeZH), VELBOR_FIELD(OxDBCboFiliation),
  VELBOR_FIELD(OxDBCboStatut), VELBOR_FIELD(OxDBCboPrecision), VELBOR_FIELD(OxDBCboDiagPat),
  VELBOR_FIELD(OxDBLkcboSysAlt), VELBOR_FIELD(OxDBLkcboFrequence), VELBOR_FIELD(OxDBLkcboEtendue),
  VELBOR_FIELD(OxDBLkcboDiagHydro))

void RegisterFrmZoneHumide() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  RegisterOxLookOut();
  RegisterOxPageControl();
  RegisterDBGridClasses();
  RegisterDBControls();
  RegisterActionClasses();
  RegisterOxLookupControls();
  RegisterOxDBComboBox();
  for (TClass Class : {TfrmZoneHumide::StaticClass(), TPanel::StaticClass(), TGroupBox::StaticClass(),
                       TLabel::StaticClass(), TScrollBox::StaticClass(), TBitBtn::StaticClass(),
                       TImageList::StaticClass(), TADOQuery::StaticClass(), TDataSource::StaticClass(),
                       TqmtMemTable::StaticClass(), TStringField::StaticClass(), TDBCtrlGrid::StaticClass(),
                       TqvDBNavigator::StaticClass(), TqvNavButton::StaticClass(), TTabSheet::StaticClass(),
                       TqvDBLookupCombo::StaticClass(), TqvDBComboBox::StaticClass(), TqvDBComboDlg::StaticClass(),
                       TqvLookupDialog::StaticClass()})
    RegisterClass(Class);
}

TfrmZoneHumide::TfrmZoneHumide(TComponent* AOwner) : TfrmZoneHumideBase(AOwner) {}

TfrmZoneHumide::~TfrmZoneHumide() {
  // The module must not keep a combo that goes with the window.
  if (dmVelbor != nullptr && dmVelbor->ComboActif() == &FComboActif) dmVelbor->SetComboActif(nullptr);
}

void TfrmZoneHumide::Loaded() {
  TfrmZoneHumideBase::Loaded();
  frmZoneHumide = this;
  LierClavier();
}

TTabSheet* TfrmZoneHumide::Sheet(const String& Name) const { return dynamic_cast<TTabSheet*>(FindComponent(Name)); }

TColor TfrmZoneHumide::OxLookOutActivePageColor() {
  TOxLookOutPage* Page = OxLookOut->GetActivePage();
  return Page != nullptr ? Page->Color() : clNone;
}

void TfrmZoneHumide::SetOxLookOutActivePageColor(TColor Value) {
  if (TOxLookOutPage* Page = OxLookOut->GetActivePage()) Page->SetColor(Value);
}

void TfrmZoneHumide::RepaintDbeType() {
  if (dbeType != nullptr) dbeType->Repaint();
}

void TfrmZoneHumide::SetLkCboCodeInventaireLookupTable(TDataSet* Table) {
  if (Table != nullptr && lkCboCodeInventaire->LookupTable() != Table) lkCboCodeInventaire->SetLookupTable(Table);
}

void TfrmZoneHumide::SetLkCboCodeInventaireFreeEntry(bool FreeEntry) {
  lkCboCodeInventaire->SetStyle(FreeEntry ? csDropDown : csDropDownList);
}

bool TfrmZoneHumide::NoticeVisible() const { return FormExiste(frmAttention) && frmAttention->Visible(); }

TColor TfrmZoneHumide::CouleurEdition() const { return kCouleurEdition; }

void TfrmZoneHumide::ColorierGroupeActif(bool Edition) {
  SetOxLookOutActivePageColor(Edition ? kCouleurEdition : kCouleurConsultation);
}

void TfrmZoneHumide::ActiverGroupe(int Index) {
  if (TOxLookOutPage* Page = OxLookOut->GetPage(Index)) OxLookOut->SetActivePage(Page);
  TraiterMessages();
}

void TfrmZoneHumide::PlacerBoutons() {
  bbtnValidation->SetTop(472);
  bbtnAnnulation->SetTop(472);
  bbtnAnnulation->SetLeft(504);
  bbtnValidation->SetLeft(384);
}

// --- Creation, showing, closing -------------------------------------------------------------------

void TfrmZoneHumide::FormCreate(TObject*) {
  Screen->SetCursor(crHourGlass);
  OxLookOut->SetActivePage(lopGenerale);
  oxebtnListeClick(nullptr);
  Screen->SetCursor(crDefault);
  for (TDataSet* DataSet : std::initializer_list<TDataSet*>{qRegion, qDep, qCommune, qVegetal, qAnimal, qOiseaux,
                                                            qMesureProtectionEspaces, qMesureProtectionAqua,
                                                            qVegetalDiren, qAnimalDiren, qRechercheEnveloppe,
                                                            qZoneHydroLib, qSysAquiLib, qmtDiagHydro})
    DataSet->Open();
  const char* const Libelles[] = {
      R"(Fonctionnement observé proche de l'"équilibre naturel")"_a,
      R"(Fonctionnement observé "sensiblement dégradé ne remettant pas en cause les équilibres naturels")"_a,
      R"(Fonctionnement observé "dégradé, perturbant les équilibres naturels")"_a,
      R"(Fonctionnement observé "très dégradé, les équilibres étant rompus")"_a};
  for (int i = 0; i < 4; ++i) {
    qmtDiagHydro->Append();
    qmtDiagHydro->FieldByName("num")->SetAsString(IntToStr(i + 1));
    qmtDiagHydro->FieldByName("lib")->SetAsString(Libelles[i]);
    qmtDiagHydro->Post();
  }
  // A grid whose dataset has calculated fields leaves the fields as they are when it opens: its
  // settings lines are put on the fields once here, so that it shows their columns and titles.
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* Grille = dynamic_cast<TqvDBGrid*>(Components(i));
    TDataSet* Donnees = Grille != nullptr && Grille->DataSource() != nullptr ? Grille->DataSource()->DataSet() : nullptr;
    if (Donnees == nullptr || !Grille->UseTFields() || Grille->Selected()->Count() == 0) continue;
    for (int f = 0; f < Donnees->FieldCount(); ++f) {
      if (!Donnees->Fields()->Fields(f)->Calculated()) continue;
      Grille->RefreshSelectedFromDataSet();
      break;
    }
  }
  // The list's title images: 13 of 32 x 32, the arrows of the sort order at 11 (down) and 12 (up).
  for (int i = 0; i < 13; ++i) {
    TBitmap Image;
    Image.SetWidth(32);
    Image.SetHeight(32);
    TCanvas* C = Image.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(TRect(0, 0, 32, 32));
    if (i == 11 || i == 12) {
      C->Brush()->SetColor(clNavy);
      C->Pen()->SetColor(clNavy);
      if (i == 11) C->Polygon({TPoint(10, 12), TPoint(22, 12), TPoint(16, 20)});
      else C->Polygon({TPoint(10, 20), TPoint(22, 20), TPoint(16, 12)});
    }
    ImageList1->AddMasked(&Image, clFuchsia);
  }
}

void TfrmZoneHumide::FormShow(TObject*) { dmVelbor->qDetailZoneHumideAfterOpen(nullptr); }

void TfrmZoneHumide::FormPaint(TObject*) {
  if (Caption() == "Zone humide") dmVelbor->qDetailZoneHumideAfterOpen(nullptr);
}

void TfrmZoneHumide::FormResize(TObject*) {
  try {
    PlacerBoutons();
  } catch (Exception&) {
    // Placing the buttons is cosmetic.
  }
  TDataSet* Liste = dmVelbor->qListeZoneHumide;
  if (!Liste->Active()) return;
  bool Barre = Liste->RecordCount() != OxDBGrid1->VisibleRowCount();
  if (OxDBGrid1->ShowVertScrollBar() != Barre) {
    OxDBGrid1->SetShowVertScrollBar(Barre);
    OxDBGrid1->Repaint();
    TraiterMessages();
  }
}

void TfrmZoneHumide::FormClose(TObject*, TCloseAction& Action) {
  Action = caFree;
  if (EnEdition() && Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) {
    Action = caNone;
    return;
  }
  dmVelbor->qDetailZoneHumideAfterOpen(nullptr);
  if (frmZoneHumide == this) frmZoneHumide = nullptr;
}

// --- Side bar --------------------------------------------------------------------------------------

void TfrmZoneHumide::oxebtnListeClick(TObject*) {
  OxPageControl->SetActivePage(tsListe);
  oxebtnListe->Repaint();
  TraiterMessages();
}

void TfrmZoneHumide::PageButtonClick(TObject* Sender) {
  // Sender is the button, or null when a group runs its first button: then the active group's.
  auto* Button = dynamic_cast<TComponent*>(Sender);
  if (Button == nullptr) {
    TOxLookOutPage* Page = OxLookOut->GetActivePage();
    if (Page == nullptr || Page->GetButtonCount() == 0) return;
    Button = Page->GetButton(0);
  }
  String Cle = Copy(Button->Name(), 7, 255);  // "oxeBtn2_3bis" -> "2_3bis"
  TTabSheet* Page = Sheet("ts" + Cle);
  if (Page == nullptr) return;
  OxPageControl->SetActivePage(Page);
  // These two sheets take the edit buttons when the focus first enters them.
  if (Cle == "2_5bis" || Cle == "2_6bis") return;
  ts1_1Enter(Page);
}

void TfrmZoneHumide::lop1Click(TObject*) {
  ColorierGroupeActif((dmVelbor->qDetailZoneHumide->Active() && dmVelbor->qDetailZoneHumide->State() == dsEdit) ||
                      OxExBtnModif->Tag == 1);
  TraiterMessages();
  TOxLookOutPage* Page = OxLookOut->GetActivePage();
  if (Page != nullptr && Page->GetButtonCount() > 0) {
    TOxCustomLookOutButton* First = Page->GetButton(0);
    if (First->OnClick) First->OnClick(nullptr);
  }
  TraiterMessages();
}

void TfrmZoneHumide::OxExpressButton10Click(TObject*) {
  // The dialog's creation puts the default cursor back.
  Screen->SetCursor(crHourGlass);
  if (!FormExiste(frmRechFicheConsult)) frmRechFicheConsult = CreateForm<TfrmRechFicheConsult>(Application);
  frmRechFicheConsult->ShowModal();
}

void TfrmZoneHumide::OxExBtnCreationClick(TObject*) {
  if (!FormExiste(frmCreation)) frmCreation = CreateForm<TfrmCreation>(Application);
  frmCreation->ShowModal();
  if (OxExBtnCreation->Tag == 1) {
    OxExBtnCreation->Tag = 0;
    OxExBtnModifClick(nullptr);
    return;
  }
  lopGenerale->Click();
  oxebtnListeClick(nullptr);
}

void TfrmZoneHumide::oxeBtn3_1MouseMove(TObject* Sender, TShiftState, int, int) {
  auto* Button = dynamic_cast<TOxCustomLookOutButton*>(Sender);
  if (Button == nullptr || !Button->Down()) return;
  auto* Page = dynamic_cast<TOxLookOutPage*>(Button->Parent());
  TColor Groupe = Page != nullptr ? Page->Color() : clBtnFace;
  if (Button->FillColor() == clBtnFace) {
    if (Groupe != clBtnFace) Button->SetFillColor(Groupe);
  } else {
    Button->SetFillColor(clBtnFace);
  }
}

// --- Pages -----------------------------------------------------------------------------------------

void TfrmZoneHumide::RafraichirDetails() {
  TDataSet* Fiche = dmVelbor->qDetailZoneHumide;
  if (!Fiche->Active()) Fiche->Open();
  Variant Code = Fiche->FieldByName("ZH_CODE")->Value();
  for (int i = 0; i < dmVelbor->ComponentCount(); ++i) {
    auto* Detail = dynamic_cast<TCustomADODataSet*>(dmVelbor->Components(i));
    if (Detail == nullptr || Detail->Tag != 6 || Detail->Parameters()->Count() == 0) continue;
    if (!Detail->Active() || !(Detail->Parameters()->Items(0)->Value() == Code)) {
      Detail->Close();
      Detail->Open();
    } else {
      Detail->Requery();
    }
    TraiterMessages();
  }
}

void TfrmZoneHumide::ts1_1Enter(TObject* Sender) {
  auto* Page = dynamic_cast<TTabSheet*>(Sender);
  if (Page == nullptr) return;
  if (Page != tsListe) {
    // The record opened again (the list had it closed): its details are read for it, as the
    // list's exit does.
    if (!dmVelbor->qDetailZoneHumide->Active()) RafraichirDetails();
  }
  try {
    TWinControl* Cible = Page;
    if (Page->ControlCount() > 0)
      if (auto* Boite = dynamic_cast<TScrollBox*>(Page->Controls(0))) Cible = Boite;
    bbtnValidation->SetParent(Cible);
    bbtnAnnulation->SetParent(Cible);
  } catch (Exception&) {
    bbtnValidation->SetEnabled(true);
    bbtnAnnulation->SetEnabled(true);
    return;
  }
  bbtnValidation->SetEnabled(true);
  bbtnAnnulation->SetEnabled(true);
  try {
    bool Visible = bbtnValidation->Tag == 1 && Page != tsListe;
    bbtnValidation->SetVisible(Visible);
    bbtnAnnulation->SetVisible(Visible);
  } catch (Exception&) {
    // Showing the buttons is cosmetic.
  }
  String Cle = UpperCase("oxebtn" + Copy(Page->Name(), 3, 255));
  if (TOxLookOutPage* Groupe = OxLookOut->GetActivePage()) {
    for (int i = 0; i < Groupe->GetButtonCount(); ++i) {
      TOxCustomLookOutButton* Button = Groupe->GetButton(i);
      if (UpperCase(Button->Name()) == Cle) Button->SetDown(true);
      TraiterMessages();
    }
  }
  OxExBtnModif->Tag = 0;
  PlacerBoutons();
  TraiterMessages();
}

void TfrmZoneHumide::ts1_1Exit(TObject* Sender) {
  if (Sender == tsListe) {
    Screen->SetCursor(crHourGlass);
    TScopeGuard restore([] { Screen->SetCursor(crDefault); });
    RafraichirDetails();
    TraiterMessages();
  }
  bbtnValidation->SetEnabled(false);
  bbtnAnnulation->SetEnabled(false);
}

void TfrmZoneHumide::tsListeShow(TObject*) { bbtnValidation->SetVisible(false); }

void TfrmZoneHumide::ts2_3Show(TObject*) {
  dmVelbor->qDetailZoneHumideZH_CONNEXIONChange(dmVelbor->qDetailZoneHumide->FindField("ZH_CONNEXION"));
}

// --- Keys ------------------------------------------------------------------------------------------

void TfrmZoneHumide::actPlusExecute(TObject*) {
  if (dmVelbor->ComboActif() != nullptr && NoticeVisible()) return;
  int Index = OxPageControl->ActivePageIndex();
  if (Index >= OxPageControl->PageCount() - 1) return;
  TTabSheet* Page = OxPageControl->Pages(Index + 1);
  OxPageControl->SetActivePage(Page);
  ActiverGroupe(StrToIntDef(Copy(Page->Caption(), 3, 1), 0));
  ts1_1Enter(Page);
  ColorierGroupeActif(dmVelbor->qDetailZoneHumide->Active() && dmVelbor->qDetailZoneHumide->State() == dsEdit);
}

void TfrmZoneHumide::actMoinsExecute(TObject*) {
  if (dmVelbor->ComboActif() != nullptr && NoticeVisible()) return;
  int Index = OxPageControl->ActivePageIndex();
  if (Index <= 0) return;
  if (Index == 1 && EnEdition() && Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) return;
  OxExBtnModif->Tag = 0;
  TTabSheet* Page = OxPageControl->Pages(Index - 1);
  OxPageControl->SetActivePage(Page);
  ActiverGroupe(StrToIntDef(Copy(Page->Caption(), 3, 1), 0));
  ts1_1Enter(Page);
  ColorierGroupeActif(dmVelbor->qDetailZoneHumide->Active() && dmVelbor->qDetailZoneHumide->State() == dsEdit);
}

void TfrmZoneHumide::actFichePlusExecute(TObject*) {
  if (EnEdition() && Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) return;
  bbtnValidation->SetVisible(false);
  bbtnAnnulation->SetVisible(false);
  TDataSet* Liste = dmVelbor->qListeZoneHumide;
  if (!Liste->Eof()) {
    if (TComponent* Actions = Application->MainForm() ? Application->MainForm()->FindComponent("ActionList1") : nullptr)
      Actions->Tag = 1;
    Liste->Next();
  }
  OxExBtnModif->Tag = 0;
}

void TfrmZoneHumide::actFicheMoisExecute(TObject*) {
  if (EnEdition() && Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) return;
  bbtnValidation->SetVisible(false);
  bbtnAnnulation->SetVisible(false);
  TDataSet* Liste = dmVelbor->qListeZoneHumide;
  if (!Liste->Bof()) {
    if (TComponent* Actions = Application->MainForm() ? Application->MainForm()->FindComponent("ActionList1") : nullptr)
      Actions->Tag = 1;
    Liste->Prior();
  }
  OxExBtnModif->Tag = 0;
}

void TfrmZoneHumide::actValiderExecute(TObject*) {
  // Outside edit mode there is nothing to validate: the key writes nothing.
  if (!EnEdition()) return;
  if (bbtnValidation->CanFocus()) bbtnValidation->SetFocus();
  OxExpressButton7Click(nullptr);
}

void TfrmZoneHumide::actAnnulerExecute(TObject*) {
  if (EnEdition() && bbtnAnnulation->CanFocus()) bbtnAnnulation->SetFocus();
  bbtnAnnulationClick(nullptr);
}

void TfrmZoneHumide::actModifExecute(TObject*) { OxExBtnModifClick(nullptr); }

// --- The list --------------------------------------------------------------------------------------

void TfrmZoneHumide::OxDBGrid1TitleButtonClick(TObject*, const String& AFieldName) {
  TADOQuery* Liste = dmVelbor->qListeZoneHumide;
  String Sql = Liste->SQL()->Text();
  int Position = Pos("ORDER BY", UpperCase(Sql));
  String Tete = Position > 0 ? Copy(Sql, 1, Position - 1) : Sql;
  String Ordre = Position > 0 ? Copy(Sql, Position, 256) : String();
  bool Descendant = Pos("DESC", UpperCase(Ordre)) > 0;
  // Only the two known columns are ever written into the statement.
  String Champ = UpperCase(AFieldName);
  if (Champ == "ZH_CODE" || Champ == "ZH_NOM") Ordre = " ORDER BY " + Champ + (Descendant ? "" : " DESC");
  Screen->SetCursor(crHourGlass);
  TScopeGuard restore([] { Screen->SetCursor(crDefault); });
  Liste->Close();
  Liste->SQL()->SetText(TrimRight(Tete) + Ordre);
  Liste->Open();
}

void TfrmZoneHumide::OxDBGrid1CalcTitleImage(TObject*, TField* Field, TqvTitleImageAttributes& Attributes) {
  Attributes.ImageIndex = -1;
  if (Field == nullptr) return;
  String Sql = UpperCase(dmVelbor->qListeZoneHumide->SQL()->Text());
  if (Pos("ORDER BY " + UpperCase(Field->FieldName()), Sql) == 0) return;
  Attributes.ImageIndex = Pos("DESC", Sql) > 0 ? 11 : 12;
}

void TfrmZoneHumide::OxDBGrid1DblClick(TObject*) {
  if (OxExBtnModif->Tag == 1) lop1->SetColor(kCouleurEdition);
  TraiterMessages();
  OxLookOut->SetActivePage(lop1);
  lop1Click(lop1);
  Screen->SetCursor(crDefault);
}

void TfrmZoneHumide::OxDBGrid1Enter(TObject*) {
  if (dmVelbor->qDetailZoneHumide->Active()) dmVelbor->qDetailZoneHumide->Close();
}

void TfrmZoneHumide::OxDBGrid1Exit(TObject*) {
  if (!dmVelbor->qDetailZoneHumide->Active()) dmVelbor->qDetailZoneHumide->Open();
}

// --- Edit mode -------------------------------------------------------------------------------------

void TfrmZoneHumide::OxExBtnModifClick(TObject*) {
  Screen->SetCursor(crHourGlass);
  TScopeGuard restore([] { Screen->SetCursor(crDefault); });
  OxExBtnModif->Tag = 1;
  // From a record page the list is shown first, so that its grid can take the focus: the record
  // shown is the list's current row, opened again below.
  if (OxPageControl->ActivePage() != tsListe) oxebtnListeClick(nullptr);
  if (OxDBGrid1->CanFocus()) OxDBGrid1->SetFocus();
  OxDBGrid1Enter(OxDBGrid1);
  OxDBGrid1DblClick(nullptr);
  TDataSet* Fiche = dmVelbor->qDetailZoneHumide;
  if (!Fiche->Active()) Fiche->Open();
  Fiche->Edit();
}

void TfrmZoneHumide::lopGeneraleClick(TObject*) {
  bool Edition = [this] {
    TDataSet* Fiche = dmVelbor->qDetailZoneHumide;
    return (Fiche->Active() && Fiche->State() == dsEdit) || OxExBtnModif->Tag == 1;
  }();
  if (EnEdition() && Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) {
    TTabSheet* Page = OxPageControl->ActivePage();
    ActiverGroupe(StrToIntDef(Copy(Page->Caption(), 3, 1), 0));
    ts1_1Enter(Page);
    ColorierGroupeActif(Edition);
    TraiterMessages();
    return;
  }
  OxLookOut->SetActivePage(lopGenerale);
  oxebtnListeClick(nullptr);
  ColorierGroupeActif(Edition);
  OxExBtnModif->Tag = 0;
  TraiterMessages();
}

bool TfrmZoneHumide::Valider() {
  TdmVelbor* dm = dmVelbor;
  TDataSet* Fiche = dm->qDetailZoneHumide;
  TADODataSet* Historique = dm->qHistorique;
  OxExBtnModif->Tag = 0;
  Screen->SetCursor(crHourGlass);
  TScopeGuard restore([] { Screen->SetCursor(crDefault); });

  // What every detail shows now, to put it back if the save is refused.
  std::vector<TEtatDetail> Etats;
  for (int i = 0; i < dm->ComponentCount(); ++i) {
    auto* Detail = dynamic_cast<TCustomADODataSet*>(dm->Components(i));
    if (Detail == nullptr || Detail->Tag != 6 || !Detail->Active()) continue;
    // A row still being typed (a panel's new row) goes into the cache first, so that it is saved.
    Detail->CheckBrowseMode();
    if (Detail == Historique || Detail->HasPendingChanges()) Etats.push_back({Detail, LireLignes(Detail)});
  }

  // The history row of the day.
  for (int i = 0; i < Historique->FieldCount(); ++i) Historique->Fields()->Fields(i)->SetReadOnly(false);
  if (Fiche->Active()) {
    TField* Statut = Fiche->FieldByName("ZH_STATUT");
    String Aujourdhui = FormatDateTime("dd/mm/yyyy", Date());
    if (!(Statut->OldValue() == Statut->Value())) {
      if (!Statut->IsNull() && Statut->AsString() == "G") {
        Historique->Append();
        Historique->FieldByName("HISTO_DATE")->SetAsDateTime(Date());
        Historique->FieldByName("HISTO_AUTEUR")->SetAsString(NomUtilisateur);
        Historique->FieldByName("HISTO_ORGANISME")->SetAsString(Organisme);
        Historique->FieldByName("ACTION_CODE")->SetAsString("G");
        Historique->Post();
      }
    } else {
      bool DejaFaite = false;
      Historique->DisableControls();
      {
        TScopeGuard enable([&] { Historique->EnableControls(); });
        for (Historique->First(); !Historique->Eof() && !DejaFaite; Historique->Next()) {
          String Action = Historique->FieldByName("ACTION_CODE")->AsString();
          DejaFaite = FormatDateTime("dd/mm/yyyy", Historique->FieldByName("HISTO_DATE")->AsDateTime()) == Aujourdhui &&
                      (Action == "M" || Action == "C");
        }
      }
      if (!DejaFaite) {
        Historique->Append();
        Historique->Post();
      }
    }
  }
  TraiterMessages();

  // The details and the record in one transaction: all of it is written, or nothing.
  TADOConnection* Connexion = dm->ADOConnection;
  std::vector<TCustomADODataSet*> Ecrits;
  String Echec;
  Connexion->BeginTrans();
  try {
    for (int i = 0; i < dm->ComponentCount(); ++i) {
      auto* Detail = dynamic_cast<TCustomADODataSet*>(dm->Components(i));
      if (Detail == nullptr || Detail->Tag != 6 || !Detail->Active() || !Detail->HasPendingChanges()) continue;
      try {
        Detail->UpdateBatch(arAll);
      } catch (Exception& E) {
        Echec = Detail->Name() + " : " + E.Message;
        throw;
      }
      Ecrits.push_back(Detail);
    }
    if (Fiche->Active() && Fiche->State() == dsEdit) {
      try {
        Fiche->Post();
      } catch (Exception& E) {
        Echec = Fiche->Name() + " : " + E.Message;
        throw;
      }
    }
    Connexion->CommitTrans();
  } catch (Exception& E) {
    try {
      if (Connexion->InTransaction()) Connexion->RollbackTrans();
    } catch (Exception&) {
      // The transaction is gone with its connection: nothing was written.
    }
    if (Echec.empty()) Echec = E.Message;
    // The details written before the refusal show again what the operator typed; the history
    // row added above goes, so that the next validation decides it again.
    for (const TEtatDetail& Etat : Etats) {
      bool Ecrit = std::find(Ecrits.begin(), Ecrits.end(), Etat.DataSet) != Ecrits.end();
      if (Ecrit || Etat.DataSet == Historique) RestaurerDetail(Etat);
    }
    MessageBox("La fiche n'a pas été enregistrée.\r\n"_a + Echec, "Attention", MB_OK | MB_ICONERROR);
    return false;
  }
  for (TCustomADODataSet* Detail : Ecrits) {
    if (!Detail->IsEmpty()) Detail->First();
    TraiterMessages();
  }
  return true;
}

void TfrmZoneHumide::OxExpressButton7Click(TObject*) {
  if (NoticeVisible()) return;
  if (!Valider()) return;
  TDataSet* Liste = dmVelbor->qListeZoneHumide;
  try {
    if (OxPageControl->ActivePage() != nullptr && OxPageControl->ActivePage()->CanFocus())
      OxPageControl->ActivePage()->SetFocus();
  } catch (Exception&) {
    // The focus is cosmetic here.
  }
  if (dbeNomUsuel->Field() != nullptr && dbeNomUsuel->Text() != Liste->FieldByName("zh_nom")->AsString()) {
    String Code = Liste->FieldByName("zh_code")->AsString();
    dmVelbor->qDetailZoneHumide->DisableControls();
    TScopeGuard enable([] { dmVelbor->qDetailZoneHumide->EnableControls(); });
    Liste->Close();
    Liste->Open();
    Liste->Locate("zh_code", Code, {});
  }
  lopGeneraleClick(nullptr);
  oxebtnListeClick(nullptr);
}

void TfrmZoneHumide::bbtnAnnulationClick(TObject*) {
  if (NoticeVisible()) return;
  if (Demander(MsgPerteSaisie, "Attention", MB_YESNO | MB_ICONWARNING) == IDNO) return;
  OxExBtnModif->Tag = 0;
  Screen->SetCursor(crHourGlass);
  TScopeGuard restore([] { Screen->SetCursor(crDefault); });
  TdmVelbor* dm = dmVelbor;
  for (int i = 0; i < dm->ComponentCount(); ++i) {
    auto* Detail = dynamic_cast<TCustomADODataSet*>(dm->Components(i));
    if (Detail == nullptr || Detail->Tag != 6 || !Detail->Active()) continue;
    if (Detail->State() == dsEdit || Detail->State() == dsInsert) Detail->Cancel();
    Detail->CancelBatch(arAll);
    TraiterMessages();
  }
  try {
    if (dm->qDetailZoneHumide->State() == dsEdit) dm->qDetailZoneHumide->Cancel();
  } catch (Exception&) {
    // The record keeps what it holds; the list is shown below.
  }
  lopGeneraleClick(nullptr);
  oxebtnListeClick(nullptr);
}

// --- Add and delete buttons ------------------------------------------------------------------------

TDataSet* TfrmZoneHumide::DataSetOfNavigatorButton(TObject* Sender) const {
  auto* Control = dynamic_cast<TControl*>(Sender);
  auto* Navigator = Control != nullptr ? dynamic_cast<TqvDBNavigator*>(Control->Parent()) : nullptr;
  if (Navigator == nullptr || Navigator->DataSource() == nullptr) return nullptr;
  return Navigator->DataSource()->DataSet();
}

bool TfrmZoneHumide::InventaireComplet() {
  TDataSet* Inventaire = dmVelbor->qInventaire;
  if (Inventaire->IsEmpty()) return true;
  if (Inventaire->FieldByName("INV_TYPE")->AsString().empty()) {
    Inventaire->FieldByName("INV_TYPE")->FocusControl();
    throw Exception("La nature doit être renseignée"_a);
  }
  if (Inventaire->FieldByName("INV_CODE")->AsString().empty()) {
    Inventaire->FieldByName("INV_CODE")->FocusControl();
    throw Exception("Le code doit être renseigné"_a);
  }
  return true;
}

void TfrmZoneHumide::NavPlusClick(TObject* Sender) {
  auto* Button = dynamic_cast<TComponent*>(Sender);
  TDataSet* DataSet = DataSetOfNavigatorButton(Sender);
  if (Button == nullptr || DataSet == nullptr) return;
  const TAjout* Ajout = nullptr;
  // The button's handler is found by the navigator's data set.
  for (const TAjout& Candidat : kAjouts)
    if (dmVelbor->FindComponent(Candidat.DataSet) == DataSet) Ajout = &Candidat;
  if (Ajout == nullptr) return;
  if (Ajout->IgnoreSousNotice && NoticeVisible()) return;
  if (Ajout->Limite != nullptr) {
    // The limit counts the rows the wetland has, not those the grid has room to show.
    if (DataSet->RecordCount() >= 5) {
      MessageBox(Ajout->Limite, "Attention", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  if (!EnEdition()) return;
  String Nom = DataSet->Name();
  if (Nom == "qSDAGEPrincipale" && DataSet->RecordCount() > 0) return;
  if (Nom == "qHistorique") {
    String Aujourdhui = FormatDateTime("dd/mm/yyyy", Date());
    bool Existe = false;
    DataSet->DisableControls();
    {
      TScopeGuard enable([&] { DataSet->EnableControls(); });
      for (DataSet->First(); !DataSet->Eof() && !Existe; DataSet->Next())
        Existe = FormatDateTime("dd/mm/yyyy", DataSet->FieldByName("HISTO_DATE")->AsDateTime()) == Aujourdhui &&
                 DataSet->FieldByName("ACTION_CODE")->AsString() == "M";
    }
    if (Existe) {
      MessageBox("Date déjà existante !"_a, "Attention", MB_OK | MB_ICONERROR);
      return;
    }
    DataSet->Append();
    DataSet->Post();
    DataSet->FieldByName("HISTO_AUTEUR")->FocusControl();
    return;
  }
  if (Nom == "qInventaire") {
    if (DataSet->Modified()) InventaireComplet();
  }
  auto* Combo = Ajout->Combo != nullptr ? dynamic_cast<TqvDBCustomCombo*>(FindComponent(Ajout->Combo)) : nullptr;
  // A combo that edits a grid's cells: the grid takes the focus on the combo's column, so that
  // the new row shows the combo over its cell.
  auto* Grille = Combo != nullptr ? dynamic_cast<TqvDBGrid*>(Combo->Parent()) : nullptr;
  if (Grille != nullptr) {
    if (Grille->CanFocus()) Grille->SetFocus();
    Grille->SelectColumnOfField(ColonneDuCombo(Grille, Combo->Name(), Ajout->Field));
  }
  DataSet->Append();
  TraiterMessages();
  if (Grille == nullptr) {
    if (TField* Field = DataSet->FindField(Ajout->Field)) {
      try {
        Field->FocusControl();
      } catch (Exception&) {
        // A field without a control on screen leaves the focus where it is.
      }
    }
  }
  // The operator picks the code at once.
  if (Combo != nullptr && Combo->Showing()) {
    if (Combo->CanFocus()) Combo->SetFocus();
    Combo->DropDown();
  }
}

void TfrmZoneHumide::qvNavBtnAliasMoinsClick(TObject* Sender) {
  TDataSet* DataSet = DataSetOfNavigatorButton(Sender);
  if (DataSet == nullptr || NoticeVisible() || !EnEdition() || DataSet->IsEmpty()) return;
  if (MessageBox("Supprimer l'enregistrement ?", "Attention", MB_YESNO | MB_ICONQUESTION) == IDYES) DataSet->Delete();
}

void TfrmZoneHumide::qvNavButton181Click(TObject*) {
  TDataSet* Historique = dmVelbor->qHistorique;
  if (!EnEdition() || Historique->IsEmpty() || Historique->FieldByName("ACTION_CODE")->AsString() == "C") return;
  if (MessageBox("Supprimer l'enregistrement ?", "Attention", MB_YESNO | MB_ICONQUESTION) == IDYES) Historique->Delete();
}

void TfrmZoneHumide::qvNavButton81Click(TObject*) {
  if (!EnEdition()) return;
  TraiterMessages();
  InventaireComplet();
}

// --- Lookup combos ---------------------------------------------------------------------------------

void TfrmZoneHumide::SetComboActif(TqvDBCustomCombo* Combo) {
  FComboActif.Combo = Combo;
  dmVelbor->SetComboActif(Combo != nullptr ? &FComboActif : nullptr);
}

void TfrmZoneHumide::EditerSourceDe(TqvDBCustomEdit* Combo) {
  TDataSource* Source = Combo->DataSource();
  TDataSet* DataSet = Source != nullptr ? Source->DataSet() : nullptr;
  // An empty detail has no row to edit: its "+" appends one.
  if (DataSet == nullptr || !DataSet->Active() || DataSet->IsEmpty()) return;
  if (DataSet->State() != dsEdit && DataSet->State() != dsInsert) DataSet->Edit();
}

void TfrmZoneHumide::qvDBLkcboCommuneDropDown(TObject* Sender) {
  // Only the two combo classes themselves: a descendant is not a combo of these pages.
  auto* Combo = dynamic_cast<TqvDBCustomCombo*>(Sender);
  if (Combo == nullptr ||
      (Combo->ClassType() != TqvDBLookupCombo::StaticClass() && Combo->ClassType() != TqvDBComboBox::StaticClass()))
    return;
  SetComboActif(Combo);
  if (EnEdition()) EditerSourceDe(Combo);
}

void TfrmZoneHumide::lkCboCodeInventaireBeforeDropDown(TObject*) {
  if (!EnEdition() || NoticeVisible()) return;
  TDataSet* Inventaire = dmVelbor->qInventaire;
  if (Inventaire->Active() && !Inventaire->IsEmpty() && Inventaire->State() != dsEdit && Inventaire->State() != dsInsert)
    Inventaire->Edit();
}

void TfrmZoneHumide::qvDBlkcboFonctBioBeforeDropDown(TObject* Sender) {
  if (!EnEdition() || NoticeVisible()) return;
  if (auto* Combo = dynamic_cast<TqvDBCustomEdit*>(Sender)) EditerSourceDe(Combo);
  TraiterMessages();
}

void TfrmZoneHumide::qvDBCboDlgCommuneCustomDlg(TObject*) {
  if (!EnEdition()) return;
  if (!FormExiste(frmRechercheCommune)) frmRechercheCommune = CreateForm<TfrmRechercheCommune>(Application);
  frmRechercheCommune->ShowModal();
}

void TfrmZoneHumide::qvDBComboDlg1CustomDlg(TObject*) {
  // The envelopes named so far, read again: another record may have named a new one.
  qRechercheEnveloppe->Close();
  TraiterMessages();
  qRechercheEnveloppe->Open();
  if (!EnEdition()) return;
  if (qvLookupDialog1->Execute()) {
    TDataSet* Enveloppes = qvLookupDialog1->LookupTable();
    if (Enveloppes != nullptr && Enveloppes->FieldCount() > 0)
      qvDBComboDlg1->SetText(Enveloppes->Fields()->Fields(0)->AsString());
  }
}

void TfrmZoneHumide::qvDBGrdEntEauColEnter(TObject*) { TraiterMessages(); }

void TfrmZoneHumide::qvDBGrdSortieEauColEnter(TObject*) { TraiterMessages(); }
