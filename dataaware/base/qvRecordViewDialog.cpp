// This file implements TqvRecordViewDialog, the record-view dialog component (see
// qvRecordViewDialog.h): its settings, Execute, the keys of its window and how the window closes
// (posting or cancelling the record), and the small controls the window places.
#include "qvRecordViewDialog.h"

#include <memory>

#include "Buttons.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Field.h"
#include "TypInfo.h"
#include "Menus.h"
#include "Qvintl.h"
#include "ScrollBox.h"
#include "qvControlUtils.h"
#include "qvPropAccess.h"

VELBOR_IMPLEMENT_CLASS(TqvMargin)
VELBOR_PUBLISHED(TqvMargin,
  Prop("BottomOffset", &Self::BottomOffset).Default(5),
  Prop("TopOffset", &Self::TopOffset).Default(5),
  Prop("LeftOffset", &Self::LeftOffset).Default(5),
  Prop("RightOffset", &Self::RightOffset).Default(5))

VELBOR_IMPLEMENT_CLASS(TqvVertEditSpacing)
VELBOR_PUBLISHED(TqvVertEditSpacing,
  Prop("BetweenLabelEdit", &Self::BetweenLabelEdit).Default(5),
  Prop("BetweenRow", &Self::BetweenRow).Default(2))

VELBOR_IMPLEMENT_CLASS(TqvHorzEditSpacing)
VELBOR_PUBLISHED(TqvHorzEditSpacing,
  Prop("BetweenLabelEdit", &Self::BetweenLabelEdit).Default(1),
  Prop("BetweenEditsInRow", &Self::BetweenEditsInRow).Default(5),
  Prop("BetweenRow", &Self::BetweenRow).Default(2),
  Prop("LabelIndent", &Self::LabelIndent).Default(1))

VELBOR_IMPLEMENT_CLASS(TqvEditSpacing)
VELBOR_PUBLISHED(TqvEditSpacing,
  Prop("HorizontalView", &Self::HorizontalView, &Self::SetHorizontalView),
  Prop("VerticalView", &Self::VerticalView, &Self::SetVerticalView))

VELBOR_IMPLEMENT_CLASS(TqvLabel)
VELBOR_IMPLEMENT_CLASS(TqvDBCheckBox)
VELBOR_IMPLEMENT_CLASS(TqvDBMemo)

VELBOR_IMPLEMENT_CLASS(TqvRecordViewDialog)
VELBOR_PUBLISHED(TqvRecordViewDialog,
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("EditSpacing", &Self::EditSpacing, &Self::SetEditSpacing),
  Prop("Margin", &Self::Margin, &Self::SetMargin),
  Prop("FormPosition", &Self::FormPosition, &Self::SetFormPosition),
  Prop("BorderStyle", &Self::BorderStyle).Default(bsSizeable),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("Options", &Self::Options).Default(qvDefaultRecordViewOptions),
  Prop("ControlOptions", &Self::ControlOptions).Default(TqvRecordViewControlOptions{}),
  Prop("OKCancelOptions", &Self::OKCancelOptions)
      .Default(TqvRecordViewOKCancelOptions{rvokShowOKCancel, rvokAutoPostRec, rvokAutoCancelRec}),
  Prop("Font", &Self::Font, &Self::SetFont),
  Prop("LabelFont", &Self::LabelFont, &Self::SetLabelFont),
  Prop("OnBeforeCreateControl", &Self::OnBeforeCreateControl),
  Prop("OnAfterCreateControl", &Self::OnAfterCreateControl),
  Prop("OnSetControlEffects", &Self::OnSetControlEffects),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnResizeDialog", &Self::OnResizeDialog),
  Prop("Caption", &Self::Caption),
  Prop("ReadOnlyColor", &Self::ReadOnlyColor).Default(clInactiveCaptionText).Idents(ColorIdents),
  Prop("Style", &Self::Style).Default(rvsVertical),
  Prop("Menu", &Self::Menu, &Self::SetMenu),
  Prop("NavigatorButtons", &Self::NavigatorButtons),
  Prop("NavigatorFlat", &Self::NavigatorFlat).Default(true),
  Prop("Navigator", &Self::Navigator, &Self::SetNavigator),
  Prop("OnCancelWarning", &Self::OnCancelWarning),
  Prop("LinesPerMemoControl", &Self::LinesPerMemoControl).Default(2),
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks),
  Prop("PictureMaskFromDataSet", &Self::PictureMaskFromDataSet).Default(true),
  Prop("EditFrame", &Self::EditFrame, &Self::SetEditFrame))

namespace {

// The window's description creates no control; the dialog and the navigator are made by name
// by the forms and buttons that use them.
struct TRecordViewClassRegistration {
  TRecordViewClassRegistration() {
    for (TClass Class : {TqvRecordViewDialog::StaticClass(), TqvRecordViewForm::StaticClass(),
                         TqvLabel::StaticClass(), TqvDBCheckBox::StaticClass(), TqvDBMemo::StaticClass()})
      RegisterClass(Class);
  }
} RecordViewClassRegistration;

// The window lives for one modal Execute; Free runs its OnDestroy while it is whole.
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

// Calls a control's own key handler, which is protected in the class library.
struct TKeyAccess : TWinControl {
  static void KeyDownOf(TWinControl* Control, WORD& Key, TShiftState Shift) {
    (Control->*(&TKeyAccess::KeyDown))(Key, Shift);
  }
};

bool IsModified(TWinControl* Control) {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) return Edit->Modified();
  return Control->HandleAllocated() && SendMessageA(Control->Handle(), EM_GETMODIFY, 0, 0) != 0;
}

}  // namespace

// --- Settings objects -----------------------------------------------------------------------------

void TqvMargin::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvMargin*>(Source)) {
    BottomOffset = From->BottomOffset;
    TopOffset = From->TopOffset;
    LeftOffset = From->LeftOffset;
    RightOffset = From->RightOffset;
    return;
  }
  TPersistent::Assign(Source);
}

void TqvVertEditSpacing::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvVertEditSpacing*>(Source)) {
    BetweenLabelEdit = From->BetweenLabelEdit;
    BetweenRow = From->BetweenRow;
    return;
  }
  TPersistent::Assign(Source);
}

void TqvHorzEditSpacing::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvHorzEditSpacing*>(Source)) {
    BetweenLabelEdit = From->BetweenLabelEdit;
    BetweenEditsInRow = From->BetweenEditsInRow;
    BetweenRow = From->BetweenRow;
    LabelIndent = From->LabelIndent;
    return;
  }
  TPersistent::Assign(Source);
}

TqvEditSpacing::TqvEditSpacing() : FHorizontalView(new TqvHorzEditSpacing), FVerticalView(new TqvVertEditSpacing) {}

TqvEditSpacing::~TqvEditSpacing() {
  delete FHorizontalView;
  delete FVerticalView;
}

void TqvEditSpacing::Assign(TPersistent* Source) {
  if (auto* From = dynamic_cast<TqvEditSpacing*>(Source)) {
    FHorizontalView->Assign(From->FHorizontalView);
    FVerticalView->Assign(From->FVerticalView);
    return;
  }
  TPersistent::Assign(Source);
}

// --- Small controls -------------------------------------------------------------------------------

void TqvLabel::Paint() {
  TLabel::Paint();
  TWinControl* Control = FocusControl();
  if (Control == nullptr || !Control->Focused()) return;
  // The dotted frame says which row has the focus.
  TCanvas* C = Canvas();
  C->Pen()->SetColor(clGray);
  C->Pen()->SetStyle(psDot);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(0, 0, Width(), Height());
}

void TqvDBCheckBox::Dispatch(TMessage& Message) {
  TDBCheckBox::Dispatch(Message);
  if ((Message.Msg == CM_ENTER || Message.Msg == CM_EXIT) && Label != nullptr) Label->Invalidate();
}

void TqvDBCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
  TDBCheckBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Label) Label = nullptr;
}

// --- F2 in the memo controls ----------------------------------------------------------------------

bool qvMemoPopupAvailable() {
  TClass Class = GetClass("TqvMemoDialogPopup");
  return Class != nullptr && Class->Factory != nullptr;
}

bool qvExecuteMemoPopup(TWinControl* Control, TField* Field) {
  if (Control == nullptr || Field == nullptr || !qvMemoPopupAvailable()) return false;
  TObject* Made = GetClass("TqvMemoDialogPopup")->Create(Control);
  auto* Popup = dynamic_cast<IqvMemoPopup*>(Made);
  if (Popup == nullptr) {
    delete Made;
    return false;
  }
  std::unique_ptr<TObject> Owned(Made);
  if (const TPropInfo* Prop = GetPropInfo(Made, "DataSource")) SetObjectProp(Made, Prop, qvGetControlDataSource(Control));
  if (const TPropInfo* Prop = GetPropInfo(Made, "DataField")) SetStrProp(Made, Prop, Field->FieldName());
  if (const TPropInfo* Prop = GetPropInfo(Made, "Caption")) SetStrProp(Made, Prop, Field->FieldName());
  TDataSet* DataSet = Field->DataSet();
  // A dataset that refuses changes (a read-only table, say) could not take the text back.
  bool ViewOnly = Field->ReadOnly() || (DataSet != nullptr && !DataSet->CanModify());
  Popup->PreparePopup(Field, Control, ViewOnly);
  return Popup->ExecutePopup();
}

void TqvDBMemo::KeyDown(WORD& Key, TShiftState Shift) {
  TDBMemo::KeyDown(Key, Shift);
  if (Key != VK_F2 || Field() == nullptr || !qvMemoPopupAvailable()) return;
  // What was typed goes into the field before the window reads it.
  UpdateRecordOnExit();
  qvExecuteMemoPopup(this, Field());
  Key = 0;
}

// --- The dialog -----------------------------------------------------------------------------------

TqvRecordViewDialog::TqvRecordViewDialog(TComponent* AOwner)
    : TqvCustomDialog(AOwner),
      FDataLink(new TDataLink),
      FSelected(new TStringList),
      FEditSpacing(new TqvEditSpacing),
      FMargin(new TqvMargin),
      FFormPosition(new TqvFormPosition),
      FFont(new TFont),
      FLabelFont(new TFont),
      FControlType(new TStringList),
      FPictureMasks(new TStringList) {
  for (TFont* F : {FFont, FLabelFont}) {
    F->SetName("MS Sans Serif");
    F->SetHeight(-11);
  }
  // The frame settings of the edit library, when the program has it.
  if (TClass Class = GetClass("TqvEditFrame"); Class != nullptr && Class->Factory != nullptr) {
    TObject* Made = Class->Create(nullptr);
    FEditFrame = dynamic_cast<TPersistent*>(Made);
    if (FEditFrame == nullptr) delete Made;
  }
}

TqvRecordViewDialog::~TqvRecordViewDialog() {
  if (FForm != nullptr && !(Application.Exists() && Application->ComponentState().Contains(csDestroying))) {
    TqvRecordViewForm* Form = FForm;
    FForm = nullptr;
    Form->Dialog = nullptr;
    RestoreCustomControls();
    GiveNavigatorBack();
    Form->Free();
  }
  delete FDataLink;
  delete FSelected;
  delete FEditSpacing;
  delete FMargin;
  delete FFormPosition;
  delete FFont;
  delete FLabelFont;
  delete FControlType;
  delete FPictureMasks;
  delete FEditFrame;
}

void TqvRecordViewDialog::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvRecordViewDialog::SetController(TqvController* Value) {
  if (FController == Value) return;
  if (FController != nullptr) {
    FController->ControlList()->Remove(this);
    FController->RemoveFreeNotification(this);
  }
  FController = Value;
  if (Value == nullptr) return;
  // Listed with the controller's controls; each side hears when the other is freed.
  Value->ControlList()->Add(this);
  Value->FreeNotification(this);
  if (Value->Frame() != nullptr && FEditFrame != nullptr) FEditFrame->Assign(Value->Frame());
}

void TqvRecordViewDialog::SetSelected(TStrings* Value) { FSelected->Assign(Value); }
void TqvRecordViewDialog::SetFont(TFont* Value) { FFont->Assign(Value); }
void TqvRecordViewDialog::SetLabelFont(TFont* Value) { FLabelFont->Assign(Value); }
void TqvRecordViewDialog::SetControlType(TStrings* Value) { FControlType->Assign(Value); }
void TqvRecordViewDialog::SetPictureMasks(TStrings* Value) { FPictureMasks->Assign(Value); }

void TqvRecordViewDialog::SetEditFrame(TPersistent* Value) {
  if (FEditFrame != nullptr && Value != nullptr) FEditFrame->Assign(Value);
}

void TqvRecordViewDialog::SetMenu(TComponent* Value) {
  if (FMenu == Value) return;
  if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvRecordViewDialog::SetNavigator(TqvDBNavigator* Value) {
  if (FNavigator == Value) return;
  if (FNavigator != nullptr) FNavigator->RemoveFreeNotification(this);
  FNavigator = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  Value->SetVisible(false);
}

void TqvRecordViewDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomDialog::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == DataSource()) FDataLink->SetDataSource(nullptr);
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FNavigator) {
    FNavigator = nullptr;
    if (FShownNavigator == AComponent) FShownNavigator = nullptr;
  }
  if (AComponent == FController) FController = nullptr;
  if (AComponent == FNavigatorParent) FNavigatorParent = nullptr;
  // A lent control whose home goes away comes back to the dialog's owner instead.
  for (TqvCustomControlItem& Item : FCustomControls) {
    if (AComponent == Item.Parent) Item.Parent = dynamic_cast<TWinControl*>(Owner());
    if (AComponent == Item.Control) Item.Control = nullptr;
  }
}

TDataSet* TqvRecordViewDialog::GetPrimaryDataSet() { return DataSource() ? DataSource()->DataSet() : nullptr; }

bool TqvRecordViewDialog::IsSingleLineEdit(TControl* Control) {
  if (Control == nullptr) return false;
  TClass Class = Control->ClassType();
  return qvClassInheritsFrom(Class, "TqvDBEdit") || qvClassInheritsFrom(Class, "TqvDBDateTimePicker") ||
         qvClassInheritsFrom(Class, "TDBEdit");
}

void TqvRecordViewDialog::DoBeforeCreateControl(TForm* Form, TField* Field, bool& Accept) {
  if (OnBeforeCreateControl) OnBeforeCreateControl(Form, Field, Accept);
}

void TqvRecordViewDialog::DoSetControlEffects(TForm* Form, TField* Field, TControl* Control, TPersistent* Frame,
                                              TPersistent* ButtonEffects) {
  if (OnSetControlEffects) OnSetControlEffects(Form, Field, Control, Frame, ButtonEffects);
}

void TqvRecordViewDialog::DoAfterCreateControl(TForm* Form, TField* Field, TControl* Control) {
  bool IsLabel = dynamic_cast<TCustomLabel*>(Control) != nullptr;
  if (!IsLabel) {
    FLabels.push_back(FCurrentLabel);
    // Button and frame settings, for the controls that publish them.
    TPersistent* Effects = nullptr;
    if (const TPropInfo* Prop = GetPropInfo(Control, "ButtonEffects"); Prop != nullptr && Prop->Kind == tkClass) {
      Effects = dynamic_cast<TPersistent*>(GetObjectProp(Control, Prop));
      if (Effects != nullptr) {
        if (const TPropInfo* P = GetPropInfo(Effects, "Transparent")) SetOrdProp(Effects, P, ControlOptions.Contains(rvcTransparentButtons));
        if (const TPropInfo* P = GetPropInfo(Effects, "Flat")) SetOrdProp(Effects, P, ControlOptions.Contains(rvcFlatButtons));
      }
    }
    if (const TPropInfo* Prop = GetPropInfo(Control, "Frame"); Prop != nullptr && Prop->Kind == tkClass) {
      auto* Frame = dynamic_cast<TPersistent*>(GetObjectProp(Control, Prop));
      if (Frame != nullptr && FEditFrame != nullptr) Frame->Assign(FEditFrame);
      DoSetControlEffects(Form, Field, Control, Frame, Effects);
    }
  }
  if (OnAfterCreateControl) OnAfterCreateControl(Form, Field, Control);
  if (!IsLabel && Style == rvsHorizontal && Options.Contains(rvoLabelsBeneathControl) && FCurrentLabel != nullptr) {
    FCurrentLabel->SetTop(Control->Top());
    Control->SetTop(FCurrentLabel->Top());
    FCurrentLabel->SetTop(Control->Top() + Control->Height() + FEditSpacing->HorizontalView()->BetweenLabelEdit - 1);
  }
}

void TqvRecordViewDialog::DoInitDialog(TForm* Form) {
  if (OnInitDialog) OnInitDialog(Form);
}

void TqvRecordViewDialog::DoCloseDialog(TForm* Form) {
  if (OnCloseDialog) OnCloseDialog(Form);
}

void TqvRecordViewDialog::DoCancelWarning(TForm* Form, bool& CanClose) {
  if (OnCancelWarning) {
    OnCancelWarning(Form, CanClose);
    return;
  }
  int Answer = MessageDlg(qvIntl->UserMessages()->RecordViewExitWarning, mtConfirmation,
                          TMsgDlgButtons{mbYes, mbNo, mbCancel}, 0);
  if (Answer == mrYes) {
    Form->SetModalResult(mrOk);
  } else if (Answer == mrNo) {
    Form->SetModalResult(mrCancel);
  } else {
    CanClose = false;
  }
}

void TqvRecordViewDialog::OKButtonClick(TObject*) {
  FCloseReason = rvcrOK;
  FForm->SetModalResult(mrOk);
  if (!FForm->FormState().Contains(fsModal)) FForm->Close();
}

void TqvRecordViewDialog::CancelButtonClick(TObject*) {
  FCloseReason = rvcrCancel;
  FForm->SetModalResult(mrCancel);
  if (!FForm->FormState().Contains(fsModal)) FForm->Close();
}

TWinControl* TqvRecordViewDialog::CreateDefaultEdit() {
  if (TClass Class = GetClass("TqvDBEdit"); Class != nullptr && Class->Factory != nullptr) {
    TObject* Made = Class->Create(FScrollBox);
    if (auto* Control = dynamic_cast<TWinControl*>(Made)) return Control;
    delete Made;
  }
  return new TDBEdit(FScrollBox);
}

bool TqvRecordViewDialog::AnyControlModified() const {
  for (TWinControl* Control : FControls)
    if (Control != nullptr && IsModified(Control)) return true;
  return false;
}

void TqvRecordViewDialog::GiveNavigatorBack() {
  if (FNavigator == nullptr || FShownNavigator != FNavigator) return;
  FNavigator->SetVisible(false);
  FNavigator->SetParent(FNavigatorParent);
  FShownNavigator = nullptr;
  if (FNavigatorParent != nullptr) FNavigatorParent->RemoveFreeNotification(this);
  FNavigatorParent = nullptr;
}

bool TqvRecordViewDialog::Execute() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr) {
    MessageDlg("DataSource or DataSource.DataSet not defined.", mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  if (!DataSet->Active()) {
    MessageDlg("DataSet must be active.", mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  FCloseReason = rvcrOther;
  if (FForm != nullptr) {
    // A non-modal window still open is only brought forward.
    FForm->BringToFront();
    if (FForm->HandleAllocated()) SetForegroundWindow(FForm->Handle());
    return false;
  }
  auto* Form = CreateForm<TqvRecordViewForm>(Application);
  FForm = Form;
  Form->Dialog = this;
  try {
    Form->SetBorderStyle(BorderStyle);
    Form->SetCaption(Caption);
    Form->Font()->Assign(FFont);
    Form->KeyPreview = true;
    Form->OnShow = TNotifyEvent(this, &TqvRecordViewDialog::FormShow);
    Form->OnClose = TCloseEvent(this, &TqvRecordViewDialog::FormClose);
    Form->OnCloseQuery = TCloseQueryEvent(this, &TqvRecordViewDialog::FormCloseQuery);
    FControls.clear();
    FLabels.clear();
    FCustomControls.clear();
    FCurrentLabel = nullptr;
    FTopPanel = FRecordPanel = FUserPanel = nullptr;
    FShownNavigator = nullptr;
    FOKButton = FCancelButton = nullptr;

    if (!Options.Contains(rvoHideNavigator)) {
      FTopPanel = new TPanel(Form);
      FTopPanel->SetParent(Form);
      FTopPanel->SetAlign(alTop);
      FTopPanel->SetCaption(String());
      FTopPanel->SetTabOrder(0);
      FTopPanel->SetBevelOuter(bvNone);
      TqvDBNavigator* Navigator = FNavigator;
      if (Navigator != nullptr) {
        FNavigatorParent = Navigator->Parent();
        if (FNavigatorParent != nullptr) FNavigatorParent->FreeNotification(this);
        Navigator->SetParent(FTopPanel);
        Navigator->SetVisible(true);
      } else {
        Navigator = new TqvDBNavigator(Form);
        Navigator->SetAutosizeStyle(asNone);
        Navigator->SetShowHint(true);
        Navigator->SetFlat(NavigatorFlat);
        Navigator->SetParent(FTopPanel);
        Navigator->SetVisibleButtons(NavigatorButtons);
      }
      FShownNavigator = Navigator;
      Navigator->SetBounds(8, 8, Navigator->Width(), 25);
      Navigator->SetDataSource(DataSource());
      Navigator->SetTabOrder(0);
      if (NavigatorFlat || (FNavigator != nullptr && FNavigator->Flat())) Navigator->SetTop(1);
      FTopPanel->SetHeight(Navigator->Top() + Navigator->Height() + (Navigator->Top() == 1 ? 1 : 8));
      Form->TopPanel = FTopPanel;
      Form->Navigator = Navigator;
    }

    FRecordPanel = new TPanel(Form);
    FRecordPanel->SetName("RecordPanel");
    FRecordPanel->SetParent(Form);
    FRecordPanel->SetAlign(alClient);
    FRecordPanel->SetTop(41);
    FRecordPanel->SetBevelInner(bvLowered);
    FRecordPanel->SetBorderWidth(4);
    FRecordPanel->SetCaption(String());
    FRecordPanel->SetTabOrder(1);
    Form->RecordPanel = FRecordPanel;

    if (OKCancelOptions.Contains(rvokShowOKCancel)) {
      FUserPanel = new TPanel(Form);
      FUserPanel->SetName("UserPanel");
      FUserPanel->SetParent(Form);
      FUserPanel->SetAlign(alBottom);
      FUserPanel->SetCaption(String());
      FUserPanel->SetTabOrder(0);
      FOKButton = qvCreateDialogButton(Form, qvDialogButtonOK);
      FCancelButton = qvCreateDialogButton(Form, qvDialogButtonCancel);
      int Frame = GetSystemMetrics(SM_CYDLGFRAME);
      for (TButton* Button : {FOKButton, FCancelButton}) {
        Button->SetParent(FUserPanel);
        Button->SetTabStop(false);
        Button->ModalResult = mrNone;
        Button->SetTop(Frame + 5);
        Button->SetVisible(true);
      }
      FOKButton->SetDefault(!Options.Contains(rvoEnterToTab));
      // Escape is the window's own key: the Cancel button is not the window's cancel button.
      FCancelButton->Cancel = false;
      FOKButton->OnClick = TNotifyEvent(this, &TqvRecordViewDialog::OKButtonClick);
      FCancelButton->OnClick = TNotifyEvent(this, &TqvRecordViewDialog::CancelButtonClick);
      FUserPanel->SetHeight(2 * Frame + FOKButton->Top() + FOKButton->Height() + 10);
      Form->UserPanel = FUserPanel;
    }

    FScrollBox = new TScrollBox(FRecordPanel);
    FScrollBox->SetParent(FRecordPanel);
    FScrollBox->SetBounds(6, 6, FScrollBox->Width(), FScrollBox->Height());
    FScrollBox->SetAlign(alClient);
    FScrollBox->SetAutoScroll(false);
    FScrollBox->SetBorderStyle(bsNone);
    Form->ScrollBox = FScrollBox;
    if (Style == rvsHorizontal) BuildHorizontal();
    else BuildVertical();

    for (TWinControl* Control : FControls) {
      if (auto* Edit = dynamic_cast<TCustomEdit*>(Control)) Edit->SetModified(false);
      else if (Control->HandleAllocated()) SendMessageA(Control->Handle(), EM_SETMODIFY, 0, 0);
    }

    TRect Work = Screen->WorkAreaRect();
    Form->SetLeft(FFormPosition->Left >= 1 ? FFormPosition->Left : Work.Left + (Work.Width() - Form->Width()) / 2);
    Form->SetTop(FFormPosition->Top >= 1 ? FFormPosition->Top : Work.Top + (Work.Height() - Form->Height()) / 2);
    if (FTopPanel != nullptr && FShownNavigator != nullptr) FShownNavigator->SetWidth(FTopPanel->Width() - 10);
    Form->OnResize = TNotifyEvent(this, &TqvRecordViewDialog::FormResize);
  } catch (...) {
    RestoreCustomControls();
    GiveNavigatorBack();
    FForm = nullptr;
    Form->Free();
    throw;
  }

  if (Options.Contains(rvoModalForm)) {
    std::unique_ptr<TqvRecordViewForm, TFormFree> Owned(Form);
    TModalResult Result = mrCancel;
    try {
      Result = Form->ShowModal();
    } catch (...) {
      RestoreCustomControls();
      GiveNavigatorBack();
      FForm = nullptr;
      throw;
    }
    GiveNavigatorBack();
    FForm = nullptr;
    return Result == mrOk;
  }
  Form->Show();
  Form->SetModalResult(mrCancel);
  return true;
}

// --- The window's handlers --------------------------------------------------------------------------

void TqvRecordViewDialog::FormShow(TObject*) {
  if (Style == rvsHorizontal && Options.Contains(rvoLabelsBeneathControl)) {
    for (std::size_t i = 0; i < FControls.size() && i < FLabels.size(); ++i) {
      if (FLabels[i] == nullptr) continue;
      TWinControl* Control = FControls[i];
      FLabels[i]->SetTop(Control->Top() + Control->Height() + FEditSpacing->HorizontalView()->BetweenLabelEdit - 1);
    }
  }
  DoInitDialog(FForm);
  Screen->SetCursor(crDefault);
}

void TqvRecordViewDialog::FormKeyDown(WORD& Key, TShiftState Shift) {
  if (Shift.Contains(ssAlt)) return;
  TqvRecordViewForm* Form = FForm;
  if (Key == VK_RETURN && Shift.Contains(ssCtrl) && Form->FormState().Contains(fsModal) &&
      !Options.Contains(rvoEnterToTab)) {
    Key = 0;
    Form->SetModalResult(mrOk);
    return;
  }
  TWinControl* Focused = Form->ActiveControl();
  if (Focused == nullptr) return;
  if (Key == VK_ESCAPE) {
    // The control takes Escape first (an edit gives its field's value back).
    TKeyAccess::KeyDownOf(Focused, Key, Shift);
    if (Key != VK_ESCAPE) return;
    Key = 0;
    Focused = Form->ActiveControl();
    if (Focused == nullptr || !IsModified(Focused)) {
      FCloseReason = rvcrCancel;
      Form->SetModalResult(mrCancel);
      if (!Form->FormState().Contains(fsModal)) Form->Close();
    } else if (auto* Edit = dynamic_cast<TCustomEdit*>(Focused); Edit != nullptr && !qvGetControlDataField(Edit).empty()) {
      // The first Escape gives the field's value back to the edit, which is then no longer
      // modified: the next Escape closes the window.
      Edit->Perform(WM_CHAR, VK_ESCAPE, 0);
      Edit->SetModified(false);
    }
    return;
  }
  bool WantReturns = false, WantTabs = false;
  if (const TPropInfo* P = GetPropInfo(Focused, "WantReturns")) WantReturns = GetOrdProp(Focused, P) != 0;
  else if (auto* Memo = dynamic_cast<TCustomMemo*>(Focused)) WantReturns = Memo->WantReturns;
  if (const TPropInfo* P = GetPropInfo(Focused, "WantTabs")) WantTabs = GetOrdProp(Focused, P) != 0;
  if ((Key == VK_RETURN && Options.Contains(rvoEnterToTab) && !WantReturns) || (Key == VK_TAB && !WantTabs)) {
    Key = 0;
    PostMessageA(Form->Handle(), WM_NEXTDLGCTL, Shift.Contains(ssShift) ? 1 : 0, 0);
  }
}

void TqvRecordViewDialog::FormCloseQuery(TObject*, bool& CanClose) {
  TqvRecordViewForm* Form = FForm;
  if (FCloseReason == rvcrOther) {
    if (!Options.Contains(rvoCloseIsCancel)) Form->SetModalResult(mrOk);
  } else if (FCloseReason == rvcrOK) {
    Form->SetModalResult(mrOk);
    CanClose = true;
    return;
  }
  if (Form->ModalResult() == mrOk) {
    CanClose = true;
    return;
  }
  TDataSet* DataSet = GetPrimaryDataSet();
  bool Browsing = DataSet == nullptr || DataSet->State() == dsBrowse;
  if ((!AnyControlModified() && (!OKCancelOptions.Contains(rvokAutoCancelRec) || Browsing)) ||
      !Options.Contains(rvoConfirmCancel)) {
    Form->SetModalResult(mrCancel);
    CanClose = true;
    return;
  }
  DoCancelWarning(Form, CanClose);
  // A window kept open waits for its next closing, whatever was asked.
  if (!CanClose) {
    Form->SetModalResult(mrNone);
    FCloseReason = rvcrOther;
  }
}

void TqvRecordViewDialog::FormClose(TObject*, TCloseAction& Action) {
  TqvRecordViewForm* Form = FForm;
  try {
    DoCloseDialog(Form);
  } catch (...) {
    Action = caNone;
    Form->SetModalResult(mrNone);
    FCloseReason = rvcrOther;
    Application->HandleException(this);
    return;
  }
  TDataSet* DataSet = GetPrimaryDataSet();
  try {
    if (OKCancelOptions.Contains(rvokAutoCancelRec) && Form->ModalResult() == mrCancel) {
      if (DataSet != nullptr) DataSet->Cancel();
    } else {
      // The focused control writes its text to the field, then the record is posted.
      if (TWinControl* Focused = Form->ActiveControl()) Focused->Perform(CM_EXIT);
      if (OKCancelOptions.Contains(rvokAutoPostRec) && Form->ModalResult() == mrOk && DataSet != nullptr)
        DataSet->CheckBrowseMode();
    }
  } catch (...) {
    // A value the dataset refuses keeps the window open on the record, with the message.
    Action = caNone;
    Form->SetModalResult(mrNone);
    FCloseReason = rvcrOther;
    Application->HandleException(this);
    return;
  }
  Form->SetMenu(nullptr);
  RestoreCustomControls();
  if (!Form->FormState().Contains(fsModal)) {
    GiveNavigatorBack();
    Action = caFree;
    FForm = nullptr;
    Form->Dialog = nullptr;
  }
}

void TqvRecordViewForm::KeyDown(WORD& Key, TShiftState Shift) {
  TForm::KeyDown(Key, Shift);
  if (Key != 0 && Dialog != nullptr) Dialog->FormKeyDown(Key, Shift);
}

void TqvRecordViewForm::FormActivate(TObject*) {
  if (Dialog == nullptr || !Dialog->Options.Contains(rvoStayOnTopForm) || !StayOnTop) return;
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  StayOnTop = false;
}

void TqvRecordViewForm::FormDeactivate(TObject*) {
  if (Dialog == nullptr || !Dialog->Options.Contains(rvoStayOnTopForm)) return;
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  if (ActiveControl() != nullptr) ActiveControl()->Invalidate();
  StayOnTop = true;
}

VELBOR_IMPLEMENT_CLASS(TqvRecordViewForm)
VELBOR_HANDLERS(TqvRecordViewForm, VELBOR_HANDLER(FormActivate), VELBOR_HANDLER(FormDeactivate))
