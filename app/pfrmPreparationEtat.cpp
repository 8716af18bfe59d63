// This file implements TfrmPreparationEtat, the report-preparation window.
#include "Object.h"
#include "pfrmPreparationEtat.h"

VELBOR_IMPLEMENT_CLASS(TfrmPreparationEtat)
VELBOR_FIELDS(TfrmPreparationEtat, VELBOR_FIELD(Label1), VELBOR_FIELD(Label2))

namespace {

struct TfrmPreparationEtatClassRegistration {
  TfrmPreparationEtatClassRegistration() { RegisterClass(TLabel::StaticClass()); }
} frmPreparationEtatClassRegistration;

}  // namespace
