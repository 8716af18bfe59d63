// This file implements the memo dialog (see Qvmemo.h).
#include "Qvmemo.h"

#include <algorithm>

#include "Dialogs.h"
#include "Field.h"
#include "Qvintl.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TqvMemoDialog)
VELBOR_PUBLISHED(TqvMemoDialog,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("MemoAttributes", &Self::MemoAttributes, &Self::SetMemoAttributes).Default(qvDefaultMemoAttributes),
  Prop("Caption", &Self::Caption, &Self::SetCaption),
  Prop("Lines", &Self::Lines, &Self::SetLines),
  Prop("DlgLeft", &Self::DlgLeft).Default(0),
  Prop("DlgTop", &Self::DlgTop).Default(0),
  Prop("DlgWidth", &Self::DlgWidth).Default(561),
  Prop("DlgHeight", &Self::DlgHeight).Default(396),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnUserButton1Click", &Self::OnUserButton1Click),
  Prop("OnUserButton2Click", &Self::OnUserButton2Click),
  Prop("UserButton1Caption", &Self::UserButton1Caption),
  Prop("UserButton2Caption", &Self::UserButton2Caption))

VELBOR_IMPLEMENT_CLASS(TqvMemoDlg)
VELBOR_HANDLERS(TqvMemoDlg, VELBOR_HANDLER(FormShow), VELBOR_HANDLER(FormCloseQuery), VELBOR_HANDLER(ResizeControls),
                VELBOR_HANDLER(MemoKeyDown), VELBOR_HANDLER(UserButton1Click), VELBOR_HANDLER(UserButton2Click))
VELBOR_FIELDS(TqvMemoDlg, VELBOR_FIELD(Memo), VELBOR_FIELD(UserButtonPanel), VELBOR_FIELD(UserButton1),
              VELBOR_FIELD(UserButton2))

namespace {

// The description creates its controls by class name.
struct TMemoClassRegistration {
  TMemoClassRegistration() {
    for (TClass Class : {TMemo::StaticClass(), TPanel::StaticClass(), TButton::StaticClass()}) RegisterClass(Class);
  }
} MemoClassRegistration;

}  // namespace

// --- The component ------------------------------------------------------------------------------

TqvMemoDialog::TqvMemoDialog(TComponent* AOwner)
    : TComponent(AOwner), FDataLink(new TFieldDataLink), FFont(new TFont), FLines(new TStringList) {}

TqvMemoDialog::~TqvMemoDialog() {
  delete FLines;
  delete FFont;
  delete FDataLink;
}

void TqvMemoDialog::DoInitDialog(TqvMemoDlg* Dialog) {
  if (OnInitDialog) OnInitDialog(Dialog);
}

void TqvMemoDialog::DoCloseDialog(TqvMemoDlg* Dialog) {
  if (OnCloseDialog) OnCloseDialog(Dialog);
}

bool TqvMemoDialog::Execute() {
  return qvExecuteMemoDlg(Screen != nullptr ? Screen->ActiveForm() : nullptr, this,
                          !FMemoAttributes.Contains(mViewOnly));
}

bool qvExecuteMemoDlg(TCustomForm* ActiveForm, TqvMemoDialog* Dialog, bool Editable) {
  TqvMemoDlg* Window = CreateForm<TqvMemoDlg>(Application);
  TScopeGuard Free([&] {
    Dialog->FDialog = nullptr;
    Window->Free();
  });
  Window->FMemoDialog = Dialog;
  if (ActiveForm != nullptr && ActiveForm->FormStyle() == fsStayOnTop) Window->SetFormStyle(fsStayOnTop);
  // The text: the field's, else the dialog's lines. The window's text is taken whole, so that an
  // unchanged value is written back unchanged.
  TField* Field = nullptr;
  TDataSource* Source = Dialog->DataSource();
  if (Source != nullptr && Source->DataSet() != nullptr && !Dialog->DataField().empty())
    Field = Source->DataSet()->FieldByName(Dialog->DataField());
  if (Field != nullptr) {
    Window->Memo->SetText(Field->AsString());
    if (Field->ReadOnly()) Editable = false;
  } else {
    Window->Memo->SetText(Dialog->Lines()->Text());
  }
  TqvMemoAttributes Attributes = Dialog->MemoAttributes();
  Window->Memo->SetWordWrap(Attributes.Contains(mWordWrap));
  Window->SetBorderStyle(Attributes.Contains(mSizeable) ? bsSizeable : bsDialog);
  if (!Editable) {
    Window->CancelBtn->SetVisible(false);
    Window->Memo->SetReadOnly(true);
  }
  Window->FRequested = TRect(Dialog->DlgLeft, Dialog->DlgTop, Dialog->DlgLeft + Dialog->DlgWidth,
                             Dialog->DlgTop + Dialog->DlgHeight);
  if (Dialog->DlgLeft > 0 || Dialog->DlgTop > 0) Window->SetPosition(poDefault);
  Window->UserButton1->SetCaption(Dialog->UserButton1Caption);
  Window->UserButton2->SetCaption(Dialog->UserButton2Caption);
  if (Editable) Window->OKBtn->SetEnabled(false);
  Dialog->FDialog = Window;
  bool Confirmed = Window->ShowModal() == mrOk;
  Dialog->DoCloseDialog(Window);
  if (Editable && Confirmed) {
    String Text = Window->Memo->Text();
    if (Field != nullptr) {
      Field->DataSet()->Edit();
      Field->SetAsString(Text);
    } else {
      Dialog->Lines()->SetText(Text);
    }
  }
  return Confirmed;
}

// --- The window ---------------------------------------------------------------------------------

void TqvMemoDlg::AfterConstruction() {
  if (OKBtn != nullptr) return;
  TForm::AfterConstruction();
  OKBtn = qvCreateDialogButton(this, qvDialogButtonOK);
  OKBtn->SetTabOrder(1);
  OKBtn->OnClick = TNotifyEvent(this, &TqvMemoDlg::OKBtnClick);
  CancelBtn = qvCreateDialogButton(this, qvDialogButtonCancel);
  CancelBtn->SetTabOrder(2);
  Memo->OnKeyPress = TKeyPressEvent(this, &TqvMemoDlg::MemoKeyPress);
}

void TqvMemoDlg::FormShow(TObject*) {
  if (FShown) return;
  FShown = true;
  KeyPreview = true;
  TqvMemoDialog* Dialog = FMemoDialog;
  if (Dialog == nullptr) return;
  Memo->Font()->Assign(Dialog->Font());
  SetCaption(Dialog->Caption());
  const TRect& R = FRequested;
  if (R.Left == 0 && R.Top == 0) {
    SetBounds((Screen->Width() - R.Width()) / 2, (Screen->Height() - R.Height()) / 2, R.Width(), R.Height());
  } else if (R.Left > 0 || R.Top > 0) {
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
  }
  int Right = 0;
  bool AnyUserButton = false;
  for (TButton* Button : {UserButton1, UserButton2}) {
    if (Button->Caption().empty()) continue;
    AnyUserButton = true;
    Button->SetLeft(Right == 0 ? 10 : Right + 15);
    Button->SetVisible(true);
    Right = Button->Left() + Button->Width();
  }
  if (AnyUserButton) {
    UserButtonPanel->SetTop(Memo->Top() + Memo->Height() + 2);
    UserButtonPanel->SetLeft(Memo->Left() - 1);
    UserButtonPanel->SetWidth(Right + 10);
    UserButtonPanel->SetVisible(true);
  }
  Font()->SetStyle(qvIntl->DialogFontStyle);
  Dialog->DoInitDialog(this);
  Memo->SetModified(false);
  Memo->OnChange = TNotifyEvent(this, &TqvMemoDlg::MemoChange);
  ResizeControls(this);
}

void TqvMemoDlg::ResizeControls(TObject*) {
  if (Memo == nullptr || OKBtn == nullptr) return;
  int Frame = GetSystemMetrics(SM_CYDLGFRAME), CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
  Memo->SetBounds(6, 6, std::max(Width() - 20, 10), std::max(Height() - 2 * Frame - CaptionHeight - 53, 10));
  int Top = Memo->Height() + 17;
  OKBtn->SetTop(Top);
  CancelBtn->SetTop(Top);
  if (UserButtonPanel->Visible()) UserButtonPanel->SetTop(Memo->Top() + Memo->Height() + 2);
  bool UserButtons = !UserButton1->Caption().empty() || !UserButton2->Caption().empty();
  if (!Memo->ReadOnly()) {
    OKBtn->SetLeft(Memo->Width() - 2 * OKBtn->Width() - 40);
    CancelBtn->SetLeft(Memo->Width() - OKBtn->Width() - 20);
    CancelBtn->SetVisible(true);
  } else if (UserButtons) {
    OKBtn->SetLeft(Memo->Left() + Memo->Width() - OKBtn->Width() - 25);
  } else {
    OKBtn->SetLeft(Memo->Width() / 2 + Memo->Left() - CancelBtn->Width() / 2);
  }
  OKBtn->SetVisible(true);
}

void TqvMemoDlg::MemoKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if ((Key == VK_RETURN && Shift.Contains(ssCtrl)) || Key == VK_F2) {
    Key = 0;
    FOK = true;
    SetModalResult(mrOk);
  } else if (Key == VK_ESCAPE) {
    Key = 0;
    SetModalResult(mrCancel);
  }
}

void TqvMemoDlg::MemoKeyPress(TObject*, char& Key) {
  // The line feed of the Ctrl+Enter that confirmed, and the Escape that cancelled, stay out of
  // the text.
  if ((Key == '\n' && ModalResult() == mrOk) || Key == 27) Key = 0;
}

void TqvMemoDlg::KeyPress(char& Key) {
  if (Key == 27) Key = 0;
  else TForm::KeyPress(Key);
}

void TqvMemoDlg::MemoChange(TObject*) { OKBtn->SetEnabled(true); }

void TqvMemoDlg::OKBtnClick(TObject*) { FOK = true; }

void TqvMemoDlg::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
  if (Memo->Modified() && !FOK) {
    int Answer = MessageDlg(qvIntl->UserMessages()->MemoChangesWarning, mtConfirmation, {mbYes, mbNo}, 0);
    CanClose = Answer == mrYes;
    if (CanClose) SetModalResult(mrCancel);
  }
  FOK = false;
}

void TqvMemoDlg::UserButton1Click(TObject*) {
  if (FMemoDialog != nullptr && FMemoDialog->OnUserButton1Click) FMemoDialog->OnUserButton1Click(this, Memo);
}

void TqvMemoDlg::UserButton2Click(TObject*) {
  if (FMemoDialog != nullptr && FMemoDialog->OnUserButton2Click) FMemoDialog->OnUserButton2Click(this, Memo);
}
