// This file implements TfrmEchangeKelvor, the modal dialog that runs the four exchange operations
// (inventory import and export, dictionary import and export) with their file, progress bar and
// cancel request.
#pragma once

#include "Buttons.h"
#include "ExchangeHost.h"
#include "Forms.h"
#include "StdCtrls.h"

class TOxFilenameEdit;
class TOxSpecialProgress;

class TfrmEchangeKelvor : public TForm, protected IExchangeHost {
  VELBOR_DECLARE_CLASS(TfrmEchangeKelvor, TForm)
 public:
  explicit TfrmEchangeKelvor(TComponent* AOwner);
  ~TfrmEchangeKelvor() override;

  // The code range of the inventory export, written by the range dialog: empty bounds are open.
  String CodeDebut;
  String CodeFin;

  // True from the start of an operation's work (after its questions) to its final message.
  bool EnCours() const { return FEnCours; }

  // The four operations, run by bbtnOkClick for the selected button.
  void ExportInventaires();
  void ImportInventaires();
  void ExportDictionnaires();
  void ImportDictionnaires();

  // Components of the description.
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* rbtnImportInventaire = nullptr;
  TRadioButton* rbtnImportDictionnaire = nullptr;
  TRadioButton* rbtnExportInventaire = nullptr;
  TRadioButton* rbtnExportDictionnaire = nullptr;
  TLabel* Label1 = nullptr;
  TOxFilenameEdit* OxFilenameEdit = nullptr;
  TBitBtn* bbtnOk = nullptr;
  TBitBtn* bbtnAnnuler = nullptr;
  TOxSpecialProgress* OxSpecialProgress1 = nullptr;

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void FormPaint(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void rbtnImportInventaireClick(TObject* Sender);
  void rbtnImportDictionnaireClick(TObject* Sender);
  void bbtnOkClick(TObject* Sender);
  void bbtnAnnulerClick(TObject* Sender);

 protected:
  // What the operations see of the window: the progress bar, and the cancel request (Tag 1) read
  // after the pending messages ran, so that Quitter is serviced during a run.
  void ProgressStart(int Maximum, const String& Caption) override;
  void ProgressStep() override;
  bool CancelRequested() override;

  void Dispatch(TMessage& Message) override;

  // protected messages
  void WMClose(TMessage& Message);

 private:
  // Sets the file edit, the label and the dialog for a kind of file and a direction.
  void PreparerFichier(TObject* Sender, const String& Filtre, const String& Extension, const String& Export,
                       const String& Import);
  // The file edit's text without surrounding double quotes, and with every double quote removed.
  String FichierSaisi() const;
  String CheminSaisi() const;
  // The export's checks of the target: its folder exists, and the operator agrees to replace it.
  bool CibleAcceptee();
  // Asks whether to stop the running operation; Yes sets the cancel request.
  void DemanderArret();
  // The run of an operation: Ok disabled and the hourglass while it works; then the data module's
  // datasets reopened when Rouvrir says the database changed, the progress bar and the cancel
  // request cleared, the operation's own message, and Ok and Quitter enabled again.
  template <class TOperation>
  void Executer(TOperation Operation, bool (*Rouvrir)(const TExchangeResult&));
  // Puts the record window back on its list (its own question while a record is edited); false
  // when the operator kept the record's edits.
  bool FermerFiche();

  bool FEnCours = false;
};

extern TfrmEchangeKelvor* frmEchangeKelvor;
