// This file implements the program's data module TdmVelbor: the database connection, every
// dataset the windows show (dictionaries, lookup queries, the list and the current wetland with
// its details), and the checks that run when a detail row is typed.
#pragma once

#include "ADODB.h"
#include "Colors.h"
#include "Field.h"
#include "Forms.h"
#include "Qvdatsrc.h"
#include "qmtMemTable.h"

// What the data module asks of the record window. The record window derives from it and
// publishes itself in frmZoneHumide; the module reaches it only after FormExiste.
class TfrmZoneHumideBase : public TForm {
  VELBOR_DECLARE_CLASS(TfrmZoneHumideBase, TForm)
 public:
  explicit TfrmZoneHumideBase(TComponent* AOwner) : TForm(AOwner) {}
  TfrmZoneHumideBase(TComponent* AOwner, bool CreateNew) : TForm(AOwner, CreateNew) {}
  // The modification flag: the Tag of the button OxExBtnModif.
  virtual int OxExBtnModifTag() = 0;
  virtual void SetOxExBtnModifTag(int Value) = 0;
  // The colour of the active page of the side bar OxLookOut.
  virtual TColor OxLookOutActivePageColor() = 0;
  virtual void SetOxLookOutActivePageColor(TColor Value) = 0;
  // The edit-mode flag: the Tag of bbtnValidation.
  virtual void SetBbtnValidationTag(int Value) = 0;
  // Runs ts1_1Enter for the active tab sheet of OxPageControl.
  virtual void ts1_1EnterActivePage() = 0;
  // Repaints the inventory-type edit dbeType.
  virtual void RepaintDbeType() = 0;
  // The inventory-code combo lkCboCodeInventaire: its lookup table and whether it accepts a typed
  // code (csDropDown) or only listed ones (csDropDownList).
  virtual void SetLkCboCodeInventaireLookupTable(TDataSet* Table) = 0;
  virtual void SetLkCboCodeInventaireFreeEntry(bool FreeEntry) = 0;
  // The side bar's "Générale" page: the window goes back to its list, asking first whether to
  // drop a record being edited. The exchange dialog runs it before an export or an import.
  virtual void lopGeneraleClick(TObject* Sender) = 0;
};
extern TfrmZoneHumideBase* frmZoneHumide;

// The preparation window of the reports: while it is visible the module skips its per-record
// work. Set by that window's unit.
extern TCustomForm* frmPreparationEtat;

// The record window's lookup combo whose detail row is being edited (ComboActif): what the
// notice repair and the inventory handlers use of it.
class ILookupComboActif {
 public:
  virtual ~ILookupComboActif() = default;
  virtual TDataSource* GetDataSource() = 0;
  virtual String GetDataField() = 0;
  virtual void DropDown() = 0;
  // Clears the text typed in the combo's edit.
  virtual void ClearEditText() = 0;
  virtual void RefreshLookupDisplay() = 0;
};

class TdmVelbor : public TDataModule {
  VELBOR_DECLARE_CLASS(TdmVelbor, TDataModule)
 public:
  explicit TdmVelbor(TComponent* AOwner);
  ~TdmVelbor() override;

  // The connection string for a program whose file lies in ProgramFolder (no trailing
  // separator): the provider's property list, with the database in "base\velbor.mdb" there.
  static String ConnectionStringFor(const String& ProgramFolder);

  // The combo whose row is being edited; the record window sets it and clears it before the combo
  // goes away.
  ILookupComboActif* ComboActif() const { return FComboActif; }
  void SetComboActif(ILookupComboActif* Value) { FComboActif = Value; }
  // The duplicate-check snapshot of the detail last edited (null before the first edit). Its Tag
  // is 1 while a check or a repair is in progress.
  TqmtMemTable* CopieControle() const { return FCopieControle; }
  // True while the record's after-scroll rounding runs.
  bool ArrondiEnCours() const { return FArrondiEnCours; }

  // The notice window closed: repairs the refused row (TfrmAttention calls it).
  void ReparerLigneRefusee();

  // Closes and reopens every open dataset of the database, so that they show rows written
  // behind their back (an import): the record list stays on its wetland when it still exists.
  void RouvrirDonnees();

  // Components of the description.
  TADOConnection* ADOConnection = nullptr;
  TADODataSet* D_ACT_HUM = nullptr;
  TDataSource* dsD_ACT_HUM = nullptr;
  TADODataSet* D_COMMUNE = nullptr;
  TDataSource* dsD_COMMUNE = nullptr;
  TADODataSet* D_CONNEXION = nullptr;
  TDataSource* dsD_CONNEXION = nullptr;
  TADODataSet* D_CORINE_BIO = nullptr;
  TDataSource* dsD_CORINE_BIO = nullptr;
  TADODataSet* D_DEL_CARTO = nullptr;
  TDataSource* dsD_DEL_CARTO = nullptr;
  TADODataSet* D_DEPARTEMENT = nullptr;
  TDataSource* dsD_DEPARTEMENT = nullptr;
  TADODataSet* D_DIAG_HYD = nullptr;
  TDataSource* dsD_DIAG_HYD = nullptr;
  TADODataSet* D_DIAG_PAT = nullptr;
  TDataSource* dsD_DIAG_PAT = nullptr;
  TADODataSet* D_ENT_HYDRO = nullptr;
  TDataSource* dsD_ENT_HYDRO = nullptr;
  TADODataSet* D_ETE_SUB = nullptr;
  TDataSource* dsD_ETE_SUB = nullptr;
  TADODataSet* D_FACT_INF = nullptr;
  TDataSource* dsD_FACT_INF = nullptr;
  TADODataSet* D_FREQ_SUB = nullptr;
  TDataSource* dsD_FREQ_SUB = nullptr;
  TADODataSet* D_HABITAT = nullptr;
  TDataSource* dsD_HABITAT = nullptr;
  TADODataSet* D_INST_CF = nullptr;
  TDataSource* dsD_INST_CF = nullptr;
  TADODataSet* D_INT_FONCT = nullptr;
  TDataSource* dsD_INT_FONCT = nullptr;
  TADODataSet* D_MES_PROT_EN = nullptr;
  TDataSource* dsD_MES_PROT_EN = nullptr;
  TADODataSet* D_PSIC = nullptr;
  TDataSource* dsD_PSIC = nullptr;
  TADODataSet* D_RAMSAR = nullptr;
  TDataSource* dsD_RAMSAR = nullptr;
  TADODataSet* D_REGION = nullptr;
  TDataSource* dsD_REGION = nullptr;
  TADODataSet* D_RYTHME_ES = nullptr;
  TDataSource* dsD_RYTHME_ES = nullptr;
  TADODataSet* D_SDAGE = nullptr;
  TDataSource* dsD_SDAGE = nullptr;
  TADODataSet* D_STATUT_FONC = nullptr;
  TDataSource* dsD_STATUT_FONC = nullptr;
  TADODataSet* D_SYS_ALT = nullptr;
  TDataSource* dsD_SYS_ALT = nullptr;
  TADODataSet* D_TAXON = nullptr;
  TDataSource* dsD_TAXON = nullptr;
  TADODataSet* D_TYPE_ACTIONS = nullptr;
  TDataSource* dsD_TYPE_ACTIONS = nullptr;
  TADODataSet* D_TYPE_ES = nullptr;
  TDataSource* dsD_TYPE_ES = nullptr;
  TADODataSet* D_TYPO_PHY = nullptr;
  TDataSource* dsD_TYPO_PHY = nullptr;
  TADODataSet* D_VAL_SE = nullptr;
  TDataSource* dsD_VAL_SE = nullptr;
  TADODataSet* D_ZICO = nullptr;
  TDataSource* dsD_ZICO = nullptr;
  TADODataSet* D_ZNIEFF = nullptr;
  TDataSource* dsD_ZNIEFF = nullptr;
  TADODataSet* D_ZONE_HYDRO = nullptr;
  TDataSource* dsD_ZONE_HYDRO = nullptr;
  TADODataSet* D_ZPS = nullptr;
  TDataSource* dsD_ZPS = nullptr;
  TADODataSet* T_CARTE_IGN = nullptr;
  TDataSource* dsT_CARTE_IGN = nullptr;
  TADODataSet* T_TAXON_ANI = nullptr;
  TDataSource* dsT_TAXON_ANI = nullptr;
  TADODataSet* T_TAXON_VEG = nullptr;
  TDataSource* dsT_TAXON_VEG = nullptr;
  TADOQuery* qINT_FONCT_HYDRO = nullptr;
  TADOQuery* qINT_FONCT_BIO = nullptr;
  TADOQuery* qTypeEntree = nullptr;
  TADOQuery* qTypeSortie = nullptr;
  TADOQuery* qTypeInventaire = nullptr;
  TADOQuery* qType1 = nullptr;
  TADOQuery* qType2 = nullptr;
  TADOQuery* qType3 = nullptr;
  TADOQuery* qType4 = nullptr;
  TADOQuery* qType5 = nullptr;
  TADOQuery* qType6 = nullptr;
  TADOQuery* qType7 = nullptr;
  TADOQuery* qListeZoneHumide = nullptr;
  TDataSource* dsqListeZoneHumide = nullptr;
  TADODataSet* qDetailZoneHumide = nullptr;
  TDataSource* dsQZoneHumide = nullptr;
  TADODataSet* qActHum2 = nullptr;
  TDataSource* dsActHum2 = nullptr;
  TADODataSet* qActHum = nullptr;
  TDataSource* dsActHum = nullptr;
  TADODataSet* qAlias = nullptr;
  TDataSource* dsAlias = nullptr;
  TADODataSet* qCommune = nullptr;
  TDataSource* dsCommune = nullptr;
  TADODataSet* qCorineBio = nullptr;
  TDataSource* dsCorineBio = nullptr;
  TADODataSet* qDelCartoZh = nullptr;
  TDataSource* dsDelCartoZh = nullptr;
  TADODataSet* qEntEau = nullptr;
  TDataSource* dsEntEau = nullptr;
  TADODataSet* qEspAniDiren = nullptr;
  TDataSource* dsEspAniDiren = nullptr;
  TADODataSet* qEspAni = nullptr;
  TDataSource* dsEspAni = nullptr;
  TADODataSet* qEspVegDiren = nullptr;
  TDataSource* dsEspVegDiren = nullptr;
  TADODataSet* qEspVeg = nullptr;
  TDataSource* dsEspVeg = nullptr;
  TADODataSet* qFactInf2 = nullptr;
  TDataSource* dsFactInf2 = nullptr;
  TADODataSet* qFactInf = nullptr;
  TDataSource* dsFactInf = nullptr;
  TADODataSet* qFonctBio = nullptr;
  TDataSource* dsFonctBio = nullptr;
  TADODataSet* qFonctHydro = nullptr;
  TDataSource* dsFonctHydro = nullptr;
  TADODataSet* qHabitat = nullptr;
  TDataSource* dsHabitat = nullptr;
  TADODataSet* qHistorique = nullptr;
  TDataSource* dsHistorique = nullptr;
  TADODataSet* qIGN = nullptr;
  TDataSource* dsIGN = nullptr;
  TADODataSet* qInstContFinacier = nullptr;
  TDataSource* dsInstContFinacier = nullptr;
  TADODataSet* qInventaire = nullptr;
  TqvDataSource* dsInventaire = nullptr;
  TADODataSet* qMesureProtAqua = nullptr;
  TDataSource* dsMesureProtAqua = nullptr;
  TADODataSet* qMesureProt = nullptr;
  TDataSource* dsMesureProt = nullptr;
  TADODataSet* qOiseaux = nullptr;
  TDataSource* dsOiseaux = nullptr;
  TADODataSet* qOrientZH = nullptr;
  TDataSource* dsOrientZH = nullptr;
  TADODataSet* qQualiteEau = nullptr;
  TDataSource* dsQualiteEau = nullptr;
  TADODataSet* qRefBiblio = nullptr;
  TDataSource* dsRefBiblio = nullptr;
  TADODataSet* qSDAGEPrincipale = nullptr;
  TDataSource* dsSDAGEPrincipale = nullptr;
  TADODataSet* qSDAGE = nullptr;
  TDataSource* dsSDAGE = nullptr;
  TADODataSet* qSortieEau = nullptr;
  TDataSource* dsSortieEau = nullptr;
  TADODataSet* qStatutFoncier = nullptr;
  TDataSource* dsStatutFoncier = nullptr;
  TADODataSet* qSysAquiZH = nullptr;
  TDataSource* dsSysAquiZH = nullptr;
  TADODataSet* qTypoPhy = nullptr;
  TDataSource* dsTypoPhy = nullptr;
  TADODataSet* qValSE = nullptr;
  TDataSource* dsValSE = nullptr;
  TADODataSet* qZoneHydroZh = nullptr;
  TDataSource* dsZoneHydroZH = nullptr;
  TqmtMemTable* qmtMemTableImage = nullptr;
  TDataSource* dsqmtMemTableImage = nullptr;

  // Handlers bound by the description.
  void ADOConnectionAfterConnect(TObject* Sender);
  void DataModuleCreate(TObject* Sender);
  void qListeZoneHumideAfterScroll(TDataSet* DataSet);
  void qDetailZoneHumideAfterOpen(TDataSet* DataSet);
  void qDetailZoneHumideAfterScroll(TDataSet* DataSet);
  void qDetailZoneHumideCalcFields(TDataSet* DataSet);
  void qDetailZoneHumideNewRecord(TDataSet* DataSet);
  void dsQZoneHumideStateChange(TObject* Sender);
  void qDetailZoneHumideZH_CONNEXIONChange(TField* Sender);
  void qDetailZoneHumideZH_ALTITUDEChange(TField* Sender);
  void qDetailZoneHumideZH_SUPERFICIEChange(TField* Sender);
  void qDetailZoneHumideZH_LONGUEURChange(TField* Sender);
  void qHistoriqueNewRecord(TDataSet* DataSet);
  void qHistoriqueCalcFields(TDataSet* DataSet);
  void qInventaireCalcFields(TDataSet* DataSet);
  void qCorineBioBeforeInsert(TDataSet* DataSet);
  void qCorineBioTCB_CODEChange(TField* Sender);
  void qEntEauTYPE_ES_CODEChange(TField* Sender);
  void qSortieEauRES_CODEChange(TField* Sender);
  void qRefBiblioREF_TITREChange(TField* Sender);
  void qRefBiblioREF_AUTEURChange(TField* Sender);
  void qRefBiblioREF_ANNEEChange(TField* Sender);
  void qRefBiblioREF_ANNEESetText(TField* Sender, const String& Text);
  void qIGNCARTE_IGN_CODEChange(TField* Sender);
  void qInventaireINV_TYPEChange(TField* Sender);
  void qInventaireINV_CODEChange(TField* Sender);
  void qInstContFinacierICZ_DATEGetText(TField* Sender, String& Text, bool DisplayText);
  void qInstContFinacierICZ_DATESetText(TField* Sender, const String& Text);
  void qSDAGEPrincipaleBeforePost(TDataSet* DataSet);
  // The post errors: one handler per detail, each rewriting the missing-value message.
#define VELBOR_POST_ERROR_HANDLER(Name) \
  void Name##PostError(TDataSet* DataSet, EDatabaseError* E, TDataAction& Action);
  VELBOR_POST_ERROR_HANDLER(qInstContFinacier)
  VELBOR_POST_ERROR_HANDLER(qFonctBio)
  VELBOR_POST_ERROR_HANDLER(qActHum)
  VELBOR_POST_ERROR_HANDLER(qActHum2)
  VELBOR_POST_ERROR_HANDLER(qValSE)
  VELBOR_POST_ERROR_HANDLER(qStatutFoncier)
  VELBOR_POST_ERROR_HANDLER(qMesureProt)
  VELBOR_POST_ERROR_HANDLER(qMesureProtAqua)
  VELBOR_POST_ERROR_HANDLER(qZoneHydroZh)
  VELBOR_POST_ERROR_HANDLER(qCorineBio)
  VELBOR_POST_ERROR_HANDLER(qSDAGE)
  VELBOR_POST_ERROR_HANDLER(qSDAGEPrincipale)
  VELBOR_POST_ERROR_HANDLER(qEspAni)
  VELBOR_POST_ERROR_HANDLER(qEspVeg)
  VELBOR_POST_ERROR_HANDLER(qFactInf)
  VELBOR_POST_ERROR_HANDLER(qFactInf2)
  VELBOR_POST_ERROR_HANDLER(qHabitat)
  VELBOR_POST_ERROR_HANDLER(qOiseaux)
  VELBOR_POST_ERROR_HANDLER(qTypoPhy)
  VELBOR_POST_ERROR_HANDLER(qFonctHydro)
  VELBOR_POST_ERROR_HANDLER(qSortieEau)
  VELBOR_POST_ERROR_HANDLER(qEntEau)
  VELBOR_POST_ERROR_HANDLER(qDelCartoZh)
  VELBOR_POST_ERROR_HANDLER(qIGN)
  VELBOR_POST_ERROR_HANDLER(qInventaire)
  VELBOR_POST_ERROR_HANDLER(qCommune)
  VELBOR_POST_ERROR_HANDLER(qEspAniDiren)
  VELBOR_POST_ERROR_HANDLER(qEspVegDiren)
#undef VELBOR_POST_ERROR_HANDLER

  // The sentence that replaces the missing-value message of a detail's post; empty for a dataset
  // without post-error handler.
  static String MessageValeurManquante(const String& DataSetName);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCheckInProgress;
  // Rebuilds the snapshot from DataSet (posting its pending row into its cache).
  void ReconstruireCopie(TDataSet* DataSet);
  // Filters the snapshot with Filter; true when rows match other than the one DataSet is editing
  // (that row is in the snapshot as it was when its edit began: it repeats nothing).
  bool CopieContient(const String& Filter, TDataSet* DataSet);
  void SetCopieTag(int Value);
  int CopieTag() const;
  void AfficherAvertissement(const String& Text);
  // Moves the focus through the other fields of the row, from the last, then back to Field.
  void ParcourirChamps(TField* Field);
  void RepeindreFenetrePrincipale();
  bool PreparationVisible() const;
  bool DrapeauEtat() const;
  void SetDrapeauEtat(int Value);
  void Arrondir(TField* Field, int Digits);
  void PostErrorCommun(TDataSet* DataSet, EDatabaseError* E);
  TADOQuery* RequeteInventaire(const String& InvType, bool& Known);

  ILookupComboActif* FComboActif = nullptr;
  TqmtMemTable* FCopieControle = nullptr;
  // The dataset the snapshot was filled from, and the number of its current row then (the row an
  // edit that follows changes), -1 when it had none.
  TDataSet* FCopieSource = nullptr;
  int FCopieLigne = -1;
  bool FArrondiEnCours = false;
};

extern TdmVelbor* dmVelbor;
