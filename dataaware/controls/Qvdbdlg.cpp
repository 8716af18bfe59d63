// This file implements the lookup combo with a dialog button (see Qvdbdlg.h).
#include "Qvdbdlg.h"

#include "Dialogs.h"
#include "Forms.h"
#include "Format.h"
#include "Qvintl.h"
#include "StrUtils.h"
#include "Field.h"
#include "ScopeGuard.h"
#include "Strings.h"

VELBOR_IMPLEMENT_CLASS(TqvDBLookupComboDlg)
VELBOR_PUBLISHED(TqvDBLookupComboDlg,
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("DataField", &Self::DataField, &Self::SetDataField),
  Prop("LookupTable", &Self::LookupTable, &Self::SetLookupTable),
  Prop("LookupField", &Self::LookupField, &Self::SetLookupField),
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("Style", &Self::Style, &TqvDBCustomCombo::SetStyle).Default(csDropDown),
  Prop("AutoDropDown", &Self::AutoDropDown),
  Prop("ShowButton", &Self::ShowButton, &Self::SetShowButton),
  Prop("ButtonStyle", &Self::ButtonStyle, &Self::SetButtonStyle).Default(cbsEllipsis),
  Prop("ButtonWidth", &Self::ButtonWidth, &Self::SetButtonWidth).Default(0),
  Prop("ButtonEffects", &Self::ButtonEffects, &Self::SetButtonEffects),
  Prop("Frame", &Self::Frame, &Self::SetFrame),
  Prop("SearchDelay", &Self::SearchDelay).Default(0),
  Prop("SeqSearchOptions", &Self::SeqSearchOptions).Default(TqvSeqSearchOptions{ssoEnabled}),
  Prop("OrderByDisplay", &Self::OrderByDisplay).Default(true),
  Prop("ShowMatchText", &Self::ShowMatchText).Default(false),
  Prop("AllowClearKey", &Self::AllowClearKey),
  Prop("UseTFields", &Self::UseTFields, &Self::SetUseTFields).Default(true),
  Prop("Controller", &Self::Controller, &Self::SetController),
  Prop("DisableThemes", &Self::DisableThemes).Default(false),
  Prop("Picture", &Self::GetPicture, &Self::SetPicture),
  Prop("Options", &Self::DialogOptions).Default(qvDefaultLookupDlgOptions),
  Prop("GridOptions", &Self::GridOptions).Default(qvLookupDlgGridOptionsStored),
  Prop("GridColor", &Self::GridColor),
  Prop("GridTitleAlignment", &Self::GridTitleAlignment),
  Prop("Caption", &Self::Caption),
  Prop("MaxWidth", &Self::MaxWidth),
  Prop("MaxHeight", &Self::MaxHeight),
  Prop("UserButton1Caption", &Self::UserButton1Caption),
  Prop("UserButton2Caption", &Self::UserButton2Caption),
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks),
  Prop("PictureMaskFromDataset", &Self::PictureMaskFromDataset).Default(true),
  Prop("PictureMaskFromField", &Self::PictureMaskFromField).Default(false),
  Prop("OnDropDown", &Self::OnDropDown),
  Prop("OnCloseUp", &Self::OnCloseUp),
  Prop("OnUserButton1Click", &Self::OnUserButton1Click),
  Prop("OnUserButton2Click", &Self::OnUserButton2Click),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnSortChange", &Self::OnSortChange),
  Prop("OnPerformCustomSearch", &Self::OnPerformCustomSearch))

namespace {
struct TLookupComboDlgClassRegistration {
  TLookupComboDlgClassRegistration() { RegisterClass(TqvDBLookupComboDlg::StaticClass()); }
} LookupComboDlgClassRegistration;
}  // namespace

TqvDBLookupComboDlg::TqvDBLookupComboDlg(TComponent* AOwner)
    : TqvDBCustomLookupCombo(AOwner), FControlType(new TStringList), FPictureMasks(new TStringList) {
  SetButtonStyle(cbsEllipsis);
  // The list is never shown: the lookup window moves the table instead.
  FList->SuppressDataChanged = true;
}

TqvDBLookupComboDlg::~TqvDBLookupComboDlg() {
  delete FControlType;
  delete FPictureMasks;
}

void TqvDBLookupComboDlg::SetControlType(TStrings* Value) { FControlType->Assign(Value); }
void TqvDBLookupComboDlg::SetPictureMasks(TStrings* Value) { FPictureMasks->Assign(Value); }

bool TqvDBLookupComboDlg::TakeDialogRow() {
  TField* F = Field();
  FLookupFound = true;
  FShowingField = true;
  TScopeGuard Shown([&] { FShowingField = false; });
  if (BindsLookupField()) {
    // The key fields of the lookup field are written; the lookup field follows them.
    String Before = F->AsString();
    FList->TakeCurrentRow();
    FDataLink->Edit();
    FDataLink->Modified();
    UpdateData();
    SetText(FList->DisplayValue);
    return F->AsString() != Before;
  }
  TField* Key = FList->KeyField(1);
  if (Key == nullptr) return false;
  String Value = Key->Text();
  if (F == nullptr) {
    bool Changed = Value != LookupValue();
    FList->TakeCurrentRow();
    SetText(FList->DisplayValue);
    SetModified(Changed);
    return Changed;
  }
  // The bound dataset's controls are disabled meanwhile: the link hears of no state change, so
  // the dataset's own state says whether the edit began.
  FDataLink->Edit();
  TDataSetState State = F->DataSet()->State();
  if (State != dsEdit && State != dsInsert) return false;
  String Before = F->AsString();
  F->SetAsString(Value);
  FList->TakeCurrentRow();
  SetText(FList->DisplayValue);
  FDataLink->Modified();
  FDataLink->UpdateRecord();
  return F->AsString() != Before;
}

void TqvDBLookupComboDlg::DropDown() {
  if (ReadOnly() || FDroppingDown) return;
  FDroppingDown = true;
  bool Typed = FTypedDropDown;
  TDataSet* Table = LookupTable();
  TScopeGuard Done([&] {
    FDroppingDown = false;
    FLastSearchText.clear();
    if (Style() != csDropDownList || AutoDropDown) SelectAllIfTyping();
  });
  if (OnDropDown) OnDropDown(this);
  if (Table == nullptr || !Table->Active()) {
    MessageDlg(qvLookupNoTable, mtWarning, TMsgDlgButtons{mbOK}, 0);
    return;
  }
  FList->UpdateLookupFields(false);
  if (Selected()->Count() == 0) {
    TField* Column = FList->DisplayField();
    if (!BindsLookupField()) Column = Table->FindField(Trim(LookupField().substr(0, LookupField().find(';'))));
    if (Column != nullptr)
      Selected()->Add(Column->FieldName() + "\t" + IntToStr(Column->DisplayWidth()) + "\t" + Column->DisplayLabel());
  }
  String SearchText;
  if (AutoDropDown && Typed) SearchText = ShowMatchText ? Text().substr(0, std::size_t(SelStart())) : Text();
  // The window opens on the current value's row, an indexed engine table in the order of the
  // first column (so that the window's search edit searches that column), still on that row.
  if (!Typed) FList->LocateKey(LookupValue(), FList->LookupValue2, FList->LookupValue3);
  if (!HasDetailLookupTable()) ApplyLookupOrder(true);

  TqvLookupDlgSettings S;
  S.Selected = Selected();
  S.Caption = Caption;
  S.Options = DialogOptions;
  S.GridOptions = GridOptions;
  S.GridColor = GridColor;
  S.GridTitleAlignment = GridTitleAlignment;
  S.MaxWidth = MaxWidth;
  S.MaxHeight = MaxHeight;
  S.CharCase = SearchCharCase;
  S.UseTFields = UseTFields();
  S.PictureMaskFromField = PictureMaskFromField;
  S.InitialText = SearchText;
  S.UserButton1Caption = UserButton1Caption;
  S.UserButton2Caption = UserButton2Caption;
  S.OnUserButton1Click = OnUserButton1Click;
  S.OnUserButton2Click = OnUserButton2Click;
  S.OnInitDialog = OnInitDialog;
  S.OnCloseDialog = OnCloseDialog;
  S.OnSortChange = OnSortChange;
  bool Confirmed = qvExecuteLookupDlg(Screen->ActiveForm(), this, Table, S);

  TField* F = Field();
  TDataSet* Bound = F != nullptr ? F->DataSet() : nullptr;
  if (Bound != nullptr) Bound->DisableControls();
  TScopeGuard Enable([&] {
    if (Bound != nullptr) Bound->EnableControls();
  });
  bool Changed = false;
  {
    FInternalUpdate = true;
    TScopeGuard Internal([&] { FInternalUpdate = false; });
    if (Confirmed) Changed = TakeDialogRow();
    else if (Typed && Style() == csDropDownList) RestoreSavedText();
  }
  if (Changed) {
    FSavedText = Text();
    FSavedLookupValue = LookupValue();
  }
  // A lookup field reports whether its keys changed; a plain binding whether the user confirmed.
  if (OnCloseUp) OnCloseUp(this, Table, Bound, BindsLookupField() ? Changed : Confirmed);
}
