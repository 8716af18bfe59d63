// This file implements TfrmZoneHumide, the record window: the list of wetlands, one record shown
// page by page (26 tab sheets chosen from the side bar), edit mode with its validation and
// cancellation, the add and delete buttons of the detail grids and the window's keys.
#pragma once

#include <vector>

#include "ADODB.h"
#include "ActnList.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "DBCGrids.h"
#include "DBCtrls.h"
#include "ExtCtrls.h"
#include "ImageList.h"
#include "OxDBComboBox.h"
#include "OxLookOut.h"
#include "OxLookupCombo.h"
#include "OxPageControl.h"
#include "Qvdbcomb.h"
#include "Qvdbgrid.h"
#include "Qvdotdot.h"
#include "StdCtrls.h"
#include "pdmVelbor.h"
#include "qmtMemTable.h"
#include "qvdblook.h"
#include "qvidlg.h"

// The combo of the record window whose detail row is being edited, as the data module sees it
// (ComboActif): a lookup combo or the inventory-nature combo box.
class TComboActifFiche : public ILookupComboActif {
 public:
  TqvDBCustomCombo* Combo = nullptr;
  TDataSource* GetDataSource() override { return Combo->DataSource(); }
  String GetDataField() override { return Combo->DataField(); }
  void DropDown() override { Combo->DropDown(); }
  void ClearEditText() override { Combo->Clear(); }
  void RefreshLookupDisplay() override {
    if (auto* Lookup = dynamic_cast<TqvDBCustomLookupCombo*>(Combo)) Lookup->RefreshLookupDisplay();
  }
};

class TfrmZoneHumide : public TfrmZoneHumideBase {
  VELBOR_DECLARE_CLASS(TfrmZoneHumide, TfrmZoneHumideBase)
 public:
  explicit TfrmZoneHumide(TComponent* AOwner);
  ~TfrmZoneHumide() override;

  // What the data module asks of the window.
  int OxExBtnModifTag() override { return OxExBtnModif->Tag; }
  void SetOxExBtnModifTag(int Value) override { OxExBtnModif->Tag = Value; }
  TColor OxLookOutActivePageColor() override;
  void SetOxLookOutActivePageColor(TColor Value) override;
  void SetBbtnValidationTag(int Value) override { bbtnValidation->Tag = Value; }
  void ts1_1EnterActivePage() override { ts1_1Enter(OxPageControl->ActivePage()); }
  void RepaintDbeType() override;
  void SetLkCboCodeInventaireLookupTable(TDataSet* Table) override;
  void SetLkCboCodeInventaireFreeEntry(bool FreeEntry) override;
  void lopGeneraleClick(TObject* Sender) override;

  // Edit mode: the validation button shows exactly while a record page is edited.
  bool EnEdition() const { return bbtnValidation->Visible(); }

  // Components of the description.
  TPanel* Panel1 = nullptr;
  TOxLookOut* OxLookOut = nullptr;
  TOxLookOutPage* lopGenerale = nullptr;
  TOxLookOutPage* lop1 = nullptr;
  TOxExpressButton* oxebtnListe = nullptr;
  TOxExpressButton* OxExpressButton10 = nullptr;
  TOxExpressButton* OxExBtnCreation = nullptr;
  TOxExpressButton* OxExBtnModif = nullptr;
  TOxPageControl* OxPageControl = nullptr;
  TTabSheet* tsListe = nullptr;
  TTabSheet* ts1_1 = nullptr;
  TTabSheet* ts2_4 = nullptr;
  TqvDBGrid* OxDBGrid1 = nullptr;
  TBitBtn* bbtnValidation = nullptr;
  TBitBtn* bbtnAnnulation = nullptr;
  TActionList* ActionList1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TDBMemo* dbeNomUsuel = nullptr;
  TDBMemo* dbeType = nullptr;
  TDBCtrlGrid* DBCtrGdInventaire = nullptr;
  TADOQuery* qRegion = nullptr;
  TADOQuery* qDep = nullptr;
  TADOQuery* qCommune = nullptr;
  TADOQuery* qVegetal = nullptr;
  TADOQuery* qAnimal = nullptr;
  TADOQuery* qOiseaux = nullptr;
  TADOQuery* qMesureProtectionEspaces = nullptr;
  TADOQuery* qMesureProtectionAqua = nullptr;
  TADOQuery* qVegetalDiren = nullptr;
  TADOQuery* qAnimalDiren = nullptr;
  TADOQuery* qRechercheEnveloppe = nullptr;
  TADOQuery* qZoneHydroLib = nullptr;
  TADOQuery* qSysAquiLib = nullptr;
  TDataSource* dsqRegion = nullptr;
  TDataSource* dsqDep = nullptr;
  TDataSource* dsqCommune = nullptr;
  TqmtMemTable* qmtDiagHydro = nullptr;
  TqvDBComboBox* qvDBCboType = nullptr;
  TqvDBLookupCombo* lkCboCodeInventaire = nullptr;
  TqvDBComboDlg* qvDBComboDlg1 = nullptr;
  TqvDBComboDlg* qvDBCboDlgCommune = nullptr;
  TqvLookupDialog* qvLookupDialog1 = nullptr;
  // The record's coded values: lists of fixed texts storing their codes, and lookups over the
  // dictionaries (the hydraulic diagnosis over the window's four grades).
  TOxDBComboBox* OxDBCboTypeZH = nullptr;
  TOxDBComboBox* OxDBCboFiliation = nullptr;
  TOxDBComboBox* OxDBCboStatut = nullptr;
  TOxDBComboBox* OxDBCboPrecision = nullptr;
  TOxDBComboBox* OxDBCboDiagPat = nullptr;
  TOxDBLookupCombo* OxDBLkcboSysAlt = nullptr;
  TOxDBLookupCombo* OxDBLkcboFrequence = nullptr;
  TOxDBLookupCombo* OxDBLkcboEtendue = nullptr;
  TOxDBLookupCombo* OxDBLkcboDiagHydro = nullptr;

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormPaint(TObject* Sender);
  void FormResize(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void oxebtnListeClick(TObject* Sender);
  // The side-bar buttons of the record pages (oxeBtn1_1Click ... oxeBtn7_3Click).
  void PageButtonClick(TObject* Sender);
  void lop1Click(TObject* Sender);
  void OxExBtnCreationClick(TObject* Sender);
  void OxExpressButton10Click(TObject* Sender);
  void OxExBtnModifClick(TObject* Sender);
  void oxeBtn3_1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void actPlusExecute(TObject* Sender);
  void actMoinsExecute(TObject* Sender);
  void actFichePlusExecute(TObject* Sender);
  void actFicheMoisExecute(TObject* Sender);
  void actValiderExecute(TObject* Sender);
  void actAnnulerExecute(TObject* Sender);
  void actModifExecute(TObject* Sender);
  void ts1_1Enter(TObject* Sender);
  void ts1_1Exit(TObject* Sender);
  void tsListeShow(TObject* Sender);
  void ts2_3Show(TObject* Sender);
  void OxDBGrid1TitleButtonClick(TObject* Sender, const String& AFieldName);
  void OxDBGrid1CalcTitleImage(TObject* Sender, TField* Field, TqvTitleImageAttributes& Attributes);
  void OxDBGrid1DblClick(TObject* Sender);
  void OxDBGrid1Enter(TObject* Sender);
  void OxDBGrid1Exit(TObject* Sender);
  // Validation and Annulation.
  void OxExpressButton7Click(TObject* Sender);
  void bbtnAnnulationClick(TObject* Sender);
  // The "+" buttons of the detail navigators, one table of cases (qvNavBtnAliasPlusClick...).
  void NavPlusClick(TObject* Sender);
  // The "-" buttons: every detail but the history, and the history's.
  void qvNavBtnAliasMoinsClick(TObject* Sender);
  void qvNavButton181Click(TObject* Sender);
  // The inventory navigator's moves: the current row needs its nature and its code.
  void qvNavButton81Click(TObject* Sender);
  // The lookup combos: the one dropped down becomes the active combo (OnDropDown of the detail
  // combos and of the nature combo); the inventory-code list follows the row's nature (on entering
  // the combo, with the keys below).
  void qvDBLkcboCommuneDropDown(TObject* Sender);
  void lkCboCodeInventaireBeforeDropDown(TObject* Sender);
  void qvDBlkcboFonctBioBeforeDropDown(TObject* Sender);
  // The reference envelope's ellipsis: the envelopes already named, to pick one.
  void qvDBComboDlg1CustomDlg(TObject* Sender);
  // The ellipsis of the commune grid's region column: the commune picker, in edit mode.
  void qvDBCboDlgCommuneCustomDlg(TObject* Sender);
  // A new column of the inlets grid, a new cell of the outlets grid: what is pending (the cell's
  // combo placed over it, its paint) runs before the operator's next key.
  void qvDBGrdEntEauColEnter(TObject* Sender);
  void qvDBGrdSortieEauColEnter(TObject* Sender);

  // Runs the validation; false when nothing was written (the edits stay on screen).
  bool Valider();

  // Keys and focus of the record pages (pFrmZoneHumideClavier.cpp): the window hooks that route
  // Up, Down and Tab inside the control grids, the key filters, and what entering or leaving a
  // detail grid does. LierClavier creates the hooks and binds the handlers to their controls.
  void LierClavier();
  void OxWindowHookBeforeMessage(TObject* Sender, TMessage& Msg, bool& Handled);
  void OxDBGrdAliasEnter(TObject* Sender);
  void DBCtrGdInventaireEnter(TObject* Sender);
  void DBCtrGdInventaireExit(TObject* Sender);
  void DBCtrGdInventairePaintPanel(TDBCtrlGrid* DBCtrlGrid, int Index);
  void lkCboCodeInventaireEnter(TObject* Sender);
  void qvDBCboTypeEnter(TObject* Sender);
  void dbeInvCouvEnter(TObject* Sender);
  // The code combos of the coded panels; the second kind also becomes the active combo.
  void qvDBlkcboFonctBioEnter(TObject* Sender);
  void qvDBLkcboActHumEnter(TObject* Sender);
  // The last editor of each coded panel, and the orientations' rank and texts.
  void DBMemo10Enter(TObject* Sender);
  void DBMemo2Enter(TObject* Sender);
  void DBMemo2Change(TObject* Sender);
  void dbeAltitudeKeyPress(TObject* Sender, char& Key);
  void dbeSuperficieEnter(TObject* Sender);
  void DBEdit21KeyPress(TObject* Sender, char& Key);
  void dbeInvLibKeyPress(TObject* Sender, char& Key);
  void dbeInvLibKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  // The remark, rank and label editors of the coded panels (DBEdit1KeyDown ... DBMemo2KeyDown).
  void DBEdit1KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

 protected:
  void Loaded() override;

 private:
  TTabSheet* Sheet(const String& Name) const;
  TColor CouleurEdition() const;
  void ColorierGroupeActif(bool Edition);
  void ActiverGroupe(int Index);
  void PlacerBoutons();
  void RafraichirDetails();
  bool NoticeVisible() const;
  bool InventaireComplet();
  TDataSet* DataSetOfNavigatorButton(TObject* Sender) const;
  // Makes Combo the data module's active combo (null: none).
  void SetComboActif(TqvDBCustomCombo* Combo);
  // Puts the dataset of a combo's data source in edit state, unless it edits or inserts already.
  static void EditerSourceDe(TqvDBCustomEdit* Combo);

  TComboActifFiche FComboActif;
};

// Makes the record window known to the form reader and to the main window's commands.
void RegisterFrmZoneHumide();
