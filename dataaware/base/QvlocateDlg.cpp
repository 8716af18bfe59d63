// This file implements TqvLocateDlg, the window of the locate dialog (see Qvlocate.h): the library's
// texts put on it when it shows, the two find buttons and the field list's keys.
#include "Qvlocate.h"

#include "Buttons.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "ListControls.h"
#include "Qvintl.h"
#include "StdCtrls.h"

VELBOR_IMPLEMENT_CLASS(TqvLocateDlg)
VELBOR_HANDLERS(TqvLocateDlg, VELBOR_HANDLER(FormShow), VELBOR_HANDLER(FindFirst), VELBOR_HANDLER(FindNextBtnClick),
                VELBOR_HANDLER(FieldNameComboBoxChange), VELBOR_HANDLER(FieldNameComboBoxEnter),
                VELBOR_HANDLER(FieldNameComboBoxExit), VELBOR_HANDLER(FieldNameComboBoxKeyDown))
VELBOR_FIELDS(TqvLocateDlg, VELBOR_FIELD(FieldValueGroup), VELBOR_FIELD(SearchValue), VELBOR_FIELD(SearchTypeGroup),
              VELBOR_FIELD(CaseSensitiveCheckBox), VELBOR_FIELD(Panel1), VELBOR_FIELD(ExactMatchBtn),
              VELBOR_FIELD(PartialMatchStartBtn), VELBOR_FIELD(PartialMatchAnyBtn), VELBOR_FIELD(FieldsGroup),
              VELBOR_FIELD(FieldNameComboBox), VELBOR_FIELD(FirstButton), VELBOR_FIELD(NextButton))

namespace {

// The description creates its controls by class name.
struct TLocateClassRegistration {
  TLocateClassRegistration() {
    for (TClass Class : {TGroupBox::StaticClass(), TEdit::StaticClass(), TCheckBox::StaticClass(),
                         TPanel::StaticClass(), TRadioButton::StaticClass(), TComboBox::StaticClass(),
                         TButton::StaticClass(), TqvLocateDialog::StaticClass()})
      RegisterClass(Class);
  }
} LocateClassRegistration;

}  // namespace

TqvLocateDlg::TqvLocateDlg(TComponent* AOwner) : TForm(AOwner) {}

void TqvLocateDlg::AfterConstruction() {
  TForm::AfterConstruction();
  CancelBtn = qvCreateDialogButton(this, qvDialogButtonCancel);
  int Dpi = Screen->PixelsPerInch();
  int Width = MulDiv(72, Dpi, 96);
  CancelBtn->SetBounds(FieldsGroup->Left() + FieldsGroup->Width() - 1 - Width, NextButton->Top(), Width,
                       MulDiv(27, Dpi, 96));
  CancelBtn->SetTabOrder(5);
  CancelBtn->SetVisible(true);
}

TqvLocateMatchType TqvLocateDlg::MatchKind() const {
  if (ExactMatchBtn->Checked()) return mtExactMatch;
  if (PartialMatchStartBtn->Checked()) return mtPartialMatchStart;
  return mtPartialMatchAny;
}

void TqvLocateDlg::FormShow(TObject*) {
  TqvIntl* Intl = qvIntl;
  TqvLocateDialogIntl* Texts = Intl->LocateDialog();
  Font()->SetStyle(Intl->DialogFontStyle);
  FieldValueGroup->SetCaption(Texts->FieldValueLabel);
  SearchTypeGroup->SetCaption(Texts->SearchTypeLabel);
  CaseSensitiveCheckBox->SetCaption(Texts->CaseSensitiveLabel);
  ExactMatchBtn->SetCaption(Texts->MatchExactLabel);
  PartialMatchStartBtn->SetCaption(Texts->MatchStartLabel);
  PartialMatchAnyBtn->SetCaption(Texts->MatchAnyLabel);
  FieldsGroup->SetCaption(Texts->FieldsLabel);
  FirstButton->SetCaption(Texts->BtnFirst);
  NextButton->SetCaption(Texts->BtnNext);
  bool CloseOnMatch = LocateDialog && LocateDialog->Options.Contains(ldoCloseOnMatch);
  CancelBtn->SetCaption(CloseOnMatch ? Texts->BtnCancel : Texts->BtnClose);
  SearchValue->Hint = Texts->FieldValueHint;
  CaseSensitiveCheckBox->Hint = Texts->CaseSensitiveHint;
  ExactMatchBtn->Hint = Texts->MatchExactHint;
  PartialMatchStartBtn->Hint = Texts->MatchStartHint;
  PartialMatchAnyBtn->Hint = Texts->MatchAnyHint;
  FirstButton->Hint = Texts->BtnFirstHint;
  NextButton->Hint = Texts->BtnNextHint;
  FieldNameComboBox->Hint = Texts->FieldNameHint;
  if (!CloseOnMatch) {
    // A "Close" button: the cancel glyph would say otherwise.
    if (auto* Bitmap = dynamic_cast<TBitBtn*>(CancelBtn)) {
      Bitmap->Glyph()->SetSize(0, 0);
      Bitmap->SetNumGlyphs(1);
      Bitmap->SetMargin(-1);
    }
  }
  if (LocateDialog && LocateDialog->Options.Contains(ldoCaseSensitiveBelow)) {
    ExactMatchBtn->SetTop(16);
    PartialMatchStartBtn->SetTop(34);
    PartialMatchAnyBtn->SetTop(52);
    Panel1->SetTop(72);
    CaseSensitiveCheckBox->SetTop(75);
  }
  if (LocateDialog) LocateDialog->DoInitDialog();
}

bool TqvLocateDlg::DoFind(bool FromBeginning) {
  int Chosen = FieldNameComboBox->ItemIndex();
  String Label = Chosen >= 0 ? FieldNameComboBox->Items()->Strings(Chosen) : String();
  String FieldName = qvFieldNameFromLabel(DataSet, Label);
  if (FieldName.empty()) return false;
  bool CaseSensitive = CaseSensitiveCheckBox->State() != cbUnchecked;
  bool UseLocate = LocateDialog && LocateDialog->UseLocateMethod;
  if (!qvFindFieldValue(FromBeginning, DataSet, FieldName, SearchValue->Text(), MatchKind(), CaseSensitive,
                        UseLocate)) {
    TqvUserMessagesIntl* Messages = qvIntl->UserMessages();
    MessageDlg(FromBeginning ? Messages->LocateNoMatches : Messages->LocateNoMoreMatches, mtInformation,
               TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  if (LocateDialog && LocateDialog->Options.Contains(ldoCloseOnMatch)) SetModalResult(mrOk);
  return true;
}

void TqvLocateDlg::FindFirst(TObject*) { DoFind(true); }

void TqvLocateDlg::FindNextBtnClick(TObject*) { DoFind(false); }

void TqvLocateDlg::FieldNameComboBoxChange(TObject*) {
  if (!LocateDialog || !LocateDialog->Options.Contains(ldoPreserveSearchText)) SearchValue->SetText(String());
  if (!FieldNameComboBox->DroppedDown()) SearchValue->SetFocus();
  if (LocateDialog && LocateDialog->OnSelectField) {
    int Chosen = FieldNameComboBox->ItemIndex();
    LocateDialog->OnSelectField(this, Chosen >= 0 ? FieldNameComboBox->Items()->Strings(Chosen) : String());
  }
}

void TqvLocateDlg::FieldNameComboBoxEnter(TObject*) { NextButton->SetDefault(false); }

void TqvLocateDlg::FieldNameComboBoxExit(TObject*) { NextButton->SetDefault(true); }

void TqvLocateDlg::FieldNameComboBoxKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key == VK_RETURN && FieldNameComboBox->DroppedDown()) {
    FieldNameComboBox->SetDroppedDown(false);
    SearchValue->SetFocus();
  }
}
