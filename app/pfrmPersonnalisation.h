// This file implements TfrmPersonnalisation, the settings dialog: the operator's name and
// organisation, written to the settings file.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TfrmPersonnalisation : public TForm {
  VELBOR_DECLARE_CLASS(TfrmPersonnalisation, TForm)
 public:
  explicit TfrmPersonnalisation(TComponent* AOwner) : TForm(AOwner) {}

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TEdit* eNom = nullptr;
  TEdit* eOrganisme = nullptr;
  TButton* bbOk = nullptr;
  TButton* bbFermer = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void bbOkClick(TObject* Sender);
  void bbFermerClick(TObject* Sender);
};

extern TfrmPersonnalisation* frmPersonnalisation;

// Writes "nom" and "organisme" of the settings file (made when absent).
void EcrireParametres(const String& Nom, const String& Organisme);
