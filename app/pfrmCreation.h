// This file implements TfrmCreation, the new-record dialog: from a department and a project
// owner's code it makes the next free wetland code, writes the record with its creation history
// row, and leaves the record list on it for the record window to edit.
#pragma once

#include "Buttons.h"
#include "Forms.h"
#include "StdCtrls.h"

class TADOQuery;
class TDataSource;
class TOxLookupEdit;

class TfrmCreation : public TForm {
  VELBOR_DECLARE_CLASS(TfrmCreation, TForm)
 public:
  explicit TfrmCreation(TComponent* AOwner);
  ~TfrmCreation() override;

  // Components of the description.
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* eDep = nullptr;
  TOxLookupEdit* eMaitreOeuvre = nullptr;
  TBitBtn* bbOk = nullptr;
  TBitBtn* bbFermer = nullptr;
  TADOQuery* qRechercheMO = nullptr;
  TDataSource* dsRechercheMO = nullptr;
  TADOQuery* qMax = nullptr;

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void eDepEnter(TObject* Sender);
  void bbOkClick(TObject* Sender);
  void bbFermerClick(TObject* Sender);

 private:
  // The number that follows the highest code of Prefixe (1 when it has none).
  int NumeroSuivant(const String& Prefixe);
  // Writes the record Code and its history row "C" in one transaction.
  void EcrireFiche(const String& Code);
};

extern TfrmCreation* frmCreation;

// The three-character department of a wetland code for a typed department: two or three
// characters of the departments that exist ("73", "073", "2A", "02B", "971"), case aside; empty
// when the text names none.
String CodeDepartement(const String& Texte);
