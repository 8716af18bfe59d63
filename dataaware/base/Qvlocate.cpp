// This file implements TqvLocateDialog, the locate dialog component (see Qvlocate.h).
#include "Qvlocate.h"

#include <memory>

#include "DataSet.h"
#include "Dialogs.h"
#include "Field.h"
#include "ListControls.h"
#include "ScopeGuard.h"
#include "StdCtrls.h"
#include "qvStrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqvLocateDialog)
VELBOR_PUBLISHED(TqvLocateDialog,
  Prop("Caption", &Self::Caption),
  Prop("DataSource", &Self::DataSource, &Self::SetDataSource),
  Prop("SearchField", &Self::SearchField),
  Prop("MatchType", &Self::MatchType).Default(mtPartialMatchStart),
  Prop("CaseSensitive", &Self::CaseSensitive).Default(false),
  Prop("SortFields", &Self::SortFields).Default(fsSortByFieldName),
  Prop("DefaultButton", &Self::DefaultButton).Default(dbFindNext),
  Prop("FieldSelection", &Self::FieldSelection).Default(fsAllFields),
  Prop("ShowMessages", &Self::ShowMessages).Default(true),
  Prop("UseLocateMethod", &Self::UseLocateMethod).Default(false),
  Prop("Options", &Self::Options).Default(TqvLocateDlgOptions{ldoCloseOnMatch}),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnSelectField", &Self::OnSelectField))

namespace {

bool OffersField(TField* Field, TqvFieldSelection Selection) {
  switch (Field->DataType()) {
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
      return false;
    default:
      return Selection == fsAllFields || Field->Visible();
  }
}

String ListLabel(TField* Field) { return qvReplaceChar(Field->DisplayLabel(), '~', ' '); }

// The window lives for one Execute; Free runs its OnDestroy while it is whole.
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

}  // namespace

String qvFieldNameFromLabel(TDataSet* DataSet, const String& Label) {
  if (DataSet == nullptr) return String();
  TFields* Fields = DataSet->Fields();
  for (bool Stored : {true, false}) {
    for (int i = 0; i < Fields->Count(); ++i) {
      TField* Field = Fields->Fields(i);
      bool IsStored = !Field->Calculated() && !Field->Lookup();
      if (IsStored == Stored && ListLabel(Field) == Label) return Field->FieldName();
    }
  }
  return String();
}

TqvLocateDialog::TqvLocateDialog(TComponent* AOwner) : TqvCustomDialog(AOwner), FDataLink(new TDataLink) {}

TqvLocateDialog::~TqvLocateDialog() { delete FDataLink; }

void TqvLocateDialog::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvLocateDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomDialog::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == DataSource()) FDataLink->SetDataSource(nullptr);
}

TDataSet* TqvLocateDialog::GetPrimaryDataSet() { return DataSource() ? DataSource()->DataSet() : nullptr; }

void TqvLocateDialog::DoInitDialog() {
  if (OnInitDialog) OnInitDialog(FForm);
}

bool TqvLocateDialog::Execute() {
  TDataSet* DataSet = GetPrimaryDataSet();
  if (DataSet == nullptr || !DataSet->Active()) {
    // Nothing was searched: the caller hears of a failure.
    MessageDlg("DataSource does not reference an active DataSet", mtError, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  std::unique_ptr<TqvLocateDlg, TFormFree> Form(CreateForm<TqvLocateDlg>(Application));
  FForm = Form.get();
  TScopeGuard forget([&] { FForm = nullptr; });
  Form->LocateDialog = this;
  Form->DataSet = DataSet;

  TField* Searched = DataSet->FindField(SearchField);
  TComboBox* List = Form->FieldNameComboBox;
  List->Items()->Clear();
  List->SetSorted(SortFields == fsSortByFieldName);
  Form->NextButton->SetDefault(DefaultButton == dbFindNext);
  Form->FirstButton->SetDefault(DefaultButton == dbFindFirst);
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i)
    if (OffersField(Fields->Fields(i), FieldSelection)) List->Items()->Add(ListLabel(Fields->Fields(i)));
  if (Searched != nullptr) {
    Form->SearchValue->SetText(SearchText);
    List->SetItemIndex(List->Items()->IndexOf(ListLabel(Searched)));
  } else {
    Form->SearchValue->SetText(String());
  }
  Form->CaseSensitiveCheckBox->SetChecked(CaseSensitive);
  Form->ExactMatchBtn->SetChecked(MatchType == mtExactMatch);
  Form->PartialMatchStartBtn->SetChecked(MatchType == mtPartialMatchStart);
  Form->PartialMatchAnyBtn->SetChecked(MatchType == mtPartialMatchAny);
  Form->SetCaption(Caption);

  bool Confirmed = Form->ShowModal() == mrOk;

  MatchType = Form->MatchKind();
  CaseSensitive = Form->CaseSensitiveCheckBox->State() != cbUnchecked;
  SearchText = Form->SearchValue->Text();
  int Chosen = List->ItemIndex();
  SearchField = qvFieldNameFromLabel(DataSet, Chosen >= 0 ? List->Items()->Strings(Chosen) : String());
  return Confirmed;
}
