// This file implements TfrmRechFicheConsult, the consultation search: the search dialog whose Ok
// loads the matching wetlands into the record window's list.
#pragma once

#include "pRecherche.h"

class TfrmRechFicheConsult : public TfrmRecherche {
  VELBOR_DECLARE_CLASS(TfrmRechFicheConsult, TfrmRecherche)
 public:
  explicit TfrmRechFicheConsult(TComponent* AOwner);
  ~TfrmRechFicheConsult() override;

  // Handlers bound by the description.
  void FormCreate(TObject* Sender);
  void bbOkClick(TObject* Sender) override;
};

extern TfrmRechFicheConsult* frmRechFicheConsult;

// The statement of the record list made from a search statement: the wetlands' code and name in
// place of every column.
String SqlListeRecherche(const String& SqlRecherche);
