// This file implements the main window's reports: the two lists and the three sheets of the
// current wetland, read from their template files and prepared behind the preparation window, the
// 39 data links through which the templates read the data module, and the detailed sheet's RTF
// export.
#include "Object.h"
#include "pFrmMain.h"

#include "ADODB.h"
#include "FileUtils.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "ZR_ClassReport.h"
#include "ZR_DBSet.h"
#include "ZR_E_RTF.h"
#include "ZR_Rich.h"
#include "ZR_Shape.h"
#include "ZR_View.h"
#include "pUtilZH.h"
#include "pdmVelbor.h"
#include "pfrmPreparationEtat.h"
// The class library's dialogs come last: the API macros they bring do not reach the declarations
// above.
#include "CommonDialogs.h"
#include "Dialogs.h"

namespace {

// The data links and the datasets they read. Their names are what the templates refer to: they
// never change. The two list links read the window's own queries (nullptr here).
struct TLienEtat {
  const char* Lien;
  const char* DataSet;
};
const TLienEtat kLiensModule[] = {
    {"zrDetailZoneHumide", "qDetailZoneHumide"},
    {"zrAlias", "qAlias"},
    {"zrHistorique", "qHistorique"},
    {"zrZoneHydroZh", "qZoneHydroZh"},
    {"zrCommune", "qCommune"},
    {"zrCorineBio", "qCorineBio"},
    {"zrRefBiblio", "qRefBiblio"},
    {"zrSortieEau", "qSortieEau"},
    {"zrEspVeg", "qEspVeg"},
    {"zrOiseaux", "qOiseaux"},
    {"zrActHum", "qActHum"},
    {"zrFactInf", "qFactInf"},
    {"zrValSE", "qValSE"},
    {"zrMesureProt", "qMesureProt"},
    {"zrINT_FONCT_BIO", "qINT_FONCT_BIO"},
    {"zrHabitat", "qHabitat"},
    {"zrInstContFinacier", "qInstContFinacier"},
    {"zrFREQ_SUB", "D_FREQ_SUB"},
    {"zrDBDataSetImage", "qmtMemTableImage"},
    {"zrSDAGE", "qSDAGE"},
    {"zrOrientZH", "qOrientZH"},
    {"zrSysAquiZH", "qSysAquiZH"},
    {"zrIGN", "qIGN"},
    {"zrInventaire", "qInventaire"},
    {"zrTypoPhy", "qTypoPhy"},
    {"zrEntEau", "qEntEau"},
    {"zrFonctHydro", "qFonctHydro"},
    {"zrEspAni", "qEspAni"},
    {"zrFonctBio", "qFonctBio"},
    {"zrActHum2", "qActHum2"},
    {"zrFactInf2", "qFactInf2"},
    {"zrStatutFoncier", "qStatutFoncier"},
    {"zrMesureProtAqua", "qMesureProtAqua"},
    {"zrDelCartoZh", "qDelCartoZh"},
    {"zrQualiteEau", "qQualiteEau"},
    {"zrSYSALT", "D_SYS_ALT"},
    {"zrETE_SUB", "D_ETE_SUB"},
};

// The lists read each wetland's code and name as stored, its status, the department of its first
// commune and the dates of its first and last history rows (0 without history: the templates
// print nothing for it).
String SqlListe(const char* Statut) {
  return String("select z.ZH_CODE, z.ZH_NOM, z.ZH_STATUT, "
                "(select min(c.DEP_CODE) from T_COMMUNE_ZH cz, D_COMMUNE c "
                "where cz.ZH_CODE = z.ZH_CODE and c.COM_CODE = cz.COM_CODE) as DEP_CODE, "
                "(select coalesce(min(h.HISTO_DATE), 0) from T_HISTORIQUE h where h.ZH_CODE = z.ZH_CODE) as DATE_CREATION, "
                "(select coalesce(max(h.HISTO_DATE), 0) from T_HISTORIQUE h where h.ZH_CODE = z.ZH_CODE) as DATE_MAJ "
                "from T_ZONE_HUMIDE z where z.ZH_STATUT = '") +
         Statut + "' order by z.ZH_CODE";
}

}  // namespace

void TfrmMainForm::CreerEtats() {
  // The preview, print and export windows the reports open are made by class name.
  RegisterReportWindows();
  auto NouveauLien = [this](const String& Name, TDataSet* DataSet) {
    auto* Lien = new TzrDBDataSet(this);
    Lien->SetName(Name);
    Lien->SetDataSet(DataSet);
    // No link opens its dataset: the module keeps them open, and a list command opens its query.
    Lien->OpenDataSource = false;
    return Lien;
  };
  for (const TLienEtat& Lien : kLiensModule) {
    auto* DataSet = dmVelbor != nullptr ? dynamic_cast<TDataSet*>(dmVelbor->FindComponent(Lien.DataSet)) : nullptr;
    TzrDBDataSet* Cree = NouveauLien(Lien.Lien, DataSet);
    if (String(Lien.Lien) == "zrDetailZoneHumide") zrDetailZoneHumide = Cree;
  }

  auto NouvelleListe = [this](const char* Name, const char* Statut, TCursorType Curseur) {
    auto* Liste = new TADOQuery(this);
    Liste->SetName(Name);
    if (dmVelbor != nullptr) Liste->SetConnection(dmVelbor->ADOConnection);
    Liste->CursorType = Curseur;
    Liste->SetLockType(ltReadOnly);
    Liste->SQL()->SetText(SqlListe(Statut));
    return Liste;
  };
  qListeActive = NouvelleListe("qListeActive", "A", ctStatic);
  qListeNonActive = NouvelleListe("qListeNonActive", "G", ctKeyset);
  // The list links close their query after the report; the next command opens it again.
  NouveauLien("zrListeActive", qListeActive)->CloseDataSource = true;
  NouveauLien("zrListeNonActive", qListeNonActive)->CloseDataSource = true;

  auto NouvelEtat = [this](const char* Name, TzrReportType Type) {
    auto* Report = new TzrReport(this);
    Report->SetName(Name);
    Report->InitialZoom = pzDefault;
    Report->MDIPreview = true;
    Report->ModalPreview = false;
    Report->ModifyPrepared = false;
    Report->PreviewButtons = TzrPreviewButtons{pbZoom, pbSave, pbPrint, pbFind, pbExit};
    Report->ShowProgress = false;
    Report->RebuildPrinter = false;
    Report->ReportType = Type;
    return Report;
  };
  zrReportListeActive = NouvelEtat("zrReportListeActive", rtSimple);
  zrReportListeNonActive = NouvelEtat("zrReportListeNonActive", rtSimple);
  zrReportEnteteSignaletique = NouvelEtat("zrReportEnteteSignaletique", rtSimple);
  zrReportEnteteDetail = NouvelEtat("zrReportEnteteDetail", rtMultiple);
  zrReportEnteteDetail->SetDataset(zrDetailZoneHumide);
  zrReportEnteteSynthese = NouvelEtat("zrReportEnteteSynthese", rtMultiple);

  // Their presence makes the shape and rich-text objects available to the templates.
  new TzrShapeObject(this);
  new TzrRichObject(this);

  zrRTFExport1 = new TzrRTFExport(this);
  zrRTFExport1->SetName("zrRTFExport1");
  zrRTFExport1->Default = true;
  zrRTFExport1->ShowDialog = false;
  zrRTFExport1->ScaleX = 1.0;
  zrRTFExport1->ScaleY = 0.8;
  zrRTFExport1->KillEmptyLines = false;
  zrRTFExport1->ConvertToOEM = true;
  zrRTFExport1->ExportFrames = true;
  zrRTFExport1->UsePseudographic = true;

  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetName("SaveDialog1");
  SaveDialog1->Filter = "format RTF|*.rtf|format CSV|*.csv";

  using Self = TfrmMainForm;
  actListedesZHactives->OnExecute = TNotifyEvent(this, &Self::mnuListedesZHactivesClick);
  actListedesZHgeles->OnExecute = TNotifyEvent(this, &Self::mnuListedesZHgelesClick);
  actFichesignaltique->OnExecute = TNotifyEvent(this, &Self::mnuFichesignaltiqueClick);
  actFichedtaill->OnExecute = TNotifyEvent(this, &Self::mnuFichedtaillClick);
  actFichedesynthse1->OnExecute = TNotifyEvent(this, &Self::mnuFichedesynthse1Click);
  actEnregistrerSous->OnExecute = TNotifyEvent(this, &Self::actEnregistrerSousExecute);
}

bool TfrmMainForm::ChargerModele(TzrReport* Report, const String& File, const String& Titre) {
  const String Chemin = CheminBase + File;
  // LoadTemplateFile answers false for a missing file and leaves the report as it was: the
  // operator is told which template is missing instead of seeing nothing happen.
  if (FileExists(Chemin) && Report->LoadTemplateFile(Chemin)) return true;
  Screen->SetCursor(crDefault);
  MessageBox("Le modèle de l'état « "_a + Titre + " » est introuvable :\r\n"_a + Chemin,
             "Erreur", MB_OK | MB_ICONERROR);
  return false;
}

void TfrmMainForm::PreparerEtMontrer(TzrReport* Report) {
  if (!FormExiste(frmPreparationEtat)) {
    TfrmPreparationEtat* Preparation = nullptr;
    Application->CreateForm(Preparation);
    frmPreparationEtat = Preparation;
  }
  Screen->SetCursor(crDefault);
  {
    // An error of the build leaves neither the window nor the hourglass behind it.
    TScopeGuard Cacher([] {
      if (FormExiste(frmPreparationEtat)) frmPreparationEtat->Hide();
      Screen->SetCursor(crDefault);
    });
    frmPreparationEtat->Show();
    frmPreparationEtat->Update();
    Report->Prepare();
  }
  Report->ShowPreview();
}

void TfrmMainForm::ImprimerListe(TADOQuery* Liste, TzrReport* Report, const String& File, const String& Titre) {
  Screen->SetCursor(crHourGlass);
  TScopeGuard Curseur([] { Screen->SetCursor(crDefault); });
  Application->ProcessMessages();
  const bool Ouverte = Liste->Active();
  if (!Ouverte) Liste->Open();
  if (!ChargerModele(Report, File, Titre)) {
    // Nothing was printed: the query goes back to the state the command found.
    if (!Ouverte) Liste->Close();
    return;
  }
  PreparerEtMontrer(Report);
}

bool TfrmMainForm::SaisieAbandonnee() {
  if (!FormExiste(frmZoneHumide)) return true;
  auto Edition = [] {
    auto* Validation = dynamic_cast<TControl*>(frmZoneHumide->FindComponent("bbtnValidation"));
    return Validation != nullptr && Validation->Visible();
  };
  if (!Edition()) return true;
  // The record window asks, drops the edits on "Oui" and goes back to its list; on "Non" it stays
  // in edit mode and the report is not made.
  frmZoneHumide->lopGeneraleClick(this);
  return FormExiste(frmZoneHumide) && !Edition();
}

void TfrmMainForm::ImprimerFiche(TzrReport* Report, const String& File, const String& Titre) {
  if (!SaisieAbandonnee()) return;
  Screen->SetCursor(crHourGlass);
  TScopeGuard Curseur([] { Screen->SetCursor(crDefault); });
  Application->ProcessMessages();
  if (!FileExists(CheminBase + File)) {
    ChargerModele(Report, File, Titre);
    return;
  }
  // The report flag makes the list's scroll handler select the current wetland again and reopen
  // its details; the handler puts it back to 0, and so does this guard when it fails.
  ActionList1->Tag = 1;
  {
    TScopeGuard Drapeau([this] { ActionList1->Tag = 0; });
    dmVelbor->qDetailZoneHumide->Open();
    dmVelbor->qListeZoneHumideAfterScroll(dmVelbor->qListeZoneHumide);
  }
  if (!ChargerModele(Report, File, Titre)) return;
  PreparerEtMontrer(Report);
}

void TfrmMainForm::mnuListedesZHactivesClick(TObject*) {
  ImprimerListe(qListeActive, zrReportListeActive, "ListeActive.zrf", "Liste des fiches actives");
}

void TfrmMainForm::mnuListedesZHgelesClick(TObject*) {
  ImprimerListe(qListeNonActive, zrReportListeNonActive, "ListeNonActive.zrf", "Liste des fiches gelées"_a);
}

void TfrmMainForm::mnuFichesignaltiqueClick(TObject*) {
  ImprimerFiche(zrReportEnteteSignaletique, "ENTETE_Signaletique.zrf", "Fiche signalétique"_a);
}

void TfrmMainForm::mnuFichedtaillClick(TObject*) {
  ImprimerFiche(zrReportEnteteDetail, "ENTETE_detaillee.zrf", "Fiche détaillée"_a);
}

void TfrmMainForm::mnuFichedesynthse1Click(TObject*) {
  ImprimerFiche(zrReportEnteteSynthese, "ENTETE_SYNTHESE.zrf", "Fiche de synthèse"_a);
}

void TfrmMainForm::actEnregistrerSousExecute(TObject*) {
  if (!SaveDialog1->Execute()) return;
  if (SaveDialog1->Files()->Count() == 0) return;
  const String Fichier = SaveDialog1->Files()->Strings(0);
  // Only an RTF name is exported, whatever its case; a CSV choice does nothing.
  if (Fichier.size() < 3 || AnsiUpperCase(Fichier.substr(Fichier.size() - 3)) != "RTF") return;
  Screen->SetCursor(crHourGlass);
  TScopeGuard Curseur([] { Screen->SetCursor(crDefault); });
  // The sheet as the report holds it now, without selecting the record again; its record is opened
  // when nothing opened it yet (it stays as it is otherwise). The export writes a temporary file
  // beside the target and replaces the target only once it is complete.
  if (dmVelbor != nullptr) dmVelbor->qDetailZoneHumide->Open();
  zrReportEnteteDetail->Prepare();
  zrReportEnteteDetail->ExportToFile(zrRTFExport1, Fichier);
}
