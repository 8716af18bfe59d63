// This file implements TfrmExportZH, the spreadsheet export: the search dialog whose Ok writes the
// wetlands found, with the rows of 31 of their detail tables, into a workbook of one sheet per
// table, saved as an .xlsx file.
#pragma once

#include <map>

#include "pRecherche.h"

class TADOTable;
class TDataSet;
class TOxSpecialProgress;
class TSpreadsheet;
class TWorkbook;

// A detail table of the export and the name of its sheet.
struct TFeuilleDetail {
  const char* Feuille;
  const char* Table;
};
// The 31 detail tables in the order they are written; each new sheet goes before the previous
// one, so the workbook shows them in the reverse order, after "Zone Humide".
extern const TFeuilleDetail FeuillesDetail[31];

class TfrmExportZH : public TfrmRecherche {
  VELBOR_DECLARE_CLASS(TfrmExportZH, TfrmRecherche)
 public:
  explicit TfrmExportZH(TComponent* AOwner);
  ~TfrmExportZH() override;

  // True from the start of the workbook's filling to the export's final message.
  bool EnCours() const { return FEnCours; }

  // The statement of a detail table over the wetlands of a search statement: the table's rows of
  // those wetlands, in the order of their codes. Its parameters are the search's.
  static String SqlDetail(const String& SqlRecherche, const String& Table);

  // Writes the rows of Query (open) into the workbook's first sheet, named Nom: a caption row
  // (T_TABLE's captions), then one row per record.
  void EcrireFeuille(TDataSet* Query, const String& Nom);

  // Components of the description.
  TADOQuery* ADOQuery = nullptr;
  TADOQuery* ADOQueryDetail = nullptr;
  TADOTable* tNomChamp = nullptr;
  TOxSpecialProgress* OxSpecialProgress1 = nullptr;

  // Handlers bound by the description. While the export runs, closing the window (Fermer or the
  // title bar) asks whether to stop it instead.
  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void bbOkClick(TObject* Sender) override;
  void ADOQueryDetailBeforeOpen(TDataSet* DataSet);
  void ADOQueryDetailAfterOpen(TDataSet* DataSet);

 protected:
  // One sheet written: the progress bar moves on, and a cancel request made meanwhile is read.
  virtual void FeuilleEcrite();

 private:
  // The filling of the workbook and its saving under Fichier; false when the operator stopped it.
  bool Exporter(const String& Fichier);
  // Runs the pending messages now and then while sheets are written, so that the window answers
  // and a stop can be asked; true once the operator asked to stop.
  bool ArretDemande(bool Maintenant);
  // Asks whether to stop the export; Yes sets the request.
  void DemanderArret();

  // TABLE_LIB by TABLE_CHAMP, the first row of T_TABLE for a name.
  std::map<String, String> FLibelles;
  TWorkbook* FClasseur = nullptr;
  bool FEnCours = false;
  bool FArret = false;
  unsigned FDernierPassage = 0;
};

// Registers the export's class, which the main window's command makes by name.
void RegisterExportZH();
