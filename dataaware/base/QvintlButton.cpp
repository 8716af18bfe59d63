// This file implements qvCreateDialogButton, the factory of the OK, Cancel and Help buttons of the
// library's dialogs.
#include "Buttons.h"
#include "Forms.h"
#include "Qvintl.h"

TButton* qvCreateDialogButton(TCustomForm* Form, int Kind) {
  TqvIntl* Intl = qvIntl;
  const int Dpi = Screen->PixelsPerInch();
  auto Scaled = [Dpi](int Pixels) { return MulDiv(Pixels, Dpi, 96); };
  TButton* Button;
  if (Intl->OKCancelBitmapped) {
    auto* Bit = new TBitBtn(Form);
    Button = Bit;
    Bit->SetVisible(false);
    Bit->SetParent(Form);
    Bit->SetMargin(2);
    // The kind gives the glyph (and its own caption and roles, replaced below).
    switch (Kind) {
      case qvDialogButtonOK: Bit->SetKind(bkOK); break;
      case qvDialogButtonCancel: Bit->SetKind(bkCancel); break;
      case qvDialogButtonHelp: Bit->SetKind(bkHelp); break;
      default: break;
    }
    Bit->SetLayout(blGlyphLeft);
    Bit->SetNumGlyphs(2);
    Bit->SetSpacing(-1);
    Bit->SetBounds(Bit->Left(), Bit->Top(), Scaled(77), Scaled(27));
    TFont* Font = Bit->Font();
    Font->SetColor(clWindowText);
    Font->SetHeight(-11);
    Font->SetName("MS Sans Serif");
    Font->SetStyle(Intl->DialogFontStyle);
  } else {
    Button = new TButton(Form);
    Button->SetVisible(false);
    Button->SetParent(Form);
    Button->SetBounds(Button->Left(), Button->Top(), Scaled(77), Scaled(24));
  }
  switch (Kind) {
    case qvDialogButtonOK:
      Button->SetCaption(Intl->BtnOKCaption);
      Button->ModalResult = mrOk;
      break;
    case qvDialogButtonCancel:
      Button->SetCaption(Intl->BtnCancelCaption);
      Button->ModalResult = mrCancel;
      Button->Cancel = true;
      break;
    case qvDialogButtonHelp:
      Button->SetCaption("Help");
      break;
    default:
      break;
  }
  return Button;
}
