// This file implements TfrmAttention, the non-modal notice of a refused detail row.
#include "Object.h"
#include "pfrmAttention.h"

#include "pdmVelbor.h"
#include "pUtilZH.h"

TfrmAttention* frmAttention = nullptr;

VELBOR_IMPLEMENT_CLASS(TfrmAttention)
VELBOR_HANDLERS(TfrmAttention, VELBOR_HANDLER(FormCreate), VELBOR_HANDLER(FormClose), VELBOR_HANDLER(Button1Click))
VELBOR_FIELDS(TfrmAttention, VELBOR_FIELD(Image1), VELBOR_FIELD(Label1), VELBOR_FIELD(Button1))

namespace {

// The description creates its controls by class name.
struct TfrmAttentionClassRegistration {
  TfrmAttentionClassRegistration() {
    for (TClass Class : {TImage::StaticClass(), TLabel::StaticClass(), TButton::StaticClass()}) RegisterClass(Class);
  }
} frmAttentionClassRegistration;

}  // namespace

void TfrmAttention::FormCreate(TObject*) {
  // The system's warning sign; the icon is copied because the picture frees what it holds.
  TIcon Icon;
  Icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32515))));  // IDI_WARNING
  Image1->Picture()->SetIcon(&Icon);
}

void TfrmAttention::FormClose(TObject*, TCloseAction&) {
  // Closing only hides the notice (it lives for the whole run); the refused row is repaired.
  if (dmVelbor != nullptr) dmVelbor->ReparerLigneRefusee();
}

void TfrmAttention::Button1Click(TObject*) { Close(); }
