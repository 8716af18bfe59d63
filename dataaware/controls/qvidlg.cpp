// This file implements the lookup and search dialog components and the run of their window (see
// qvidlg.h).
#include "qvidlg.h"

#include <memory>

#include "Dialogs.h"
#include "Exceptions.h"
#include "Field.h"
#include "Qvdatsrc.h"
#include "ScopeGuard.h"
#include "Format.h"
#include "StrUtils.h"
#include "Strings.h"
#include "Table.h"
#include "qvControlUtils.h"
#include "qvDBDataSets.h"
#include "qvFieldSettings.h"
#include "qvPropAccess.h"
#include "qvStrUtils.h"

const char* const qvLookupDlgNoLookupTable = "You must define a lookupTable.";
const char* const qvLookupDlgNoSearchTable = "You must define a searchTable.";
const char* const qvLookupDlgNotActive = "Search Table is not active.";
const char* const qvLookupDlgSameObject =
    "Your SearchTable and ShadowSearchTable must reference two distinct TDataSet objects, but each must reference "
    "the same physical table.";
const char* const qvLookupDlgOtherTable =
    "Your SearchTable and ShadowSearchTable must reference two distinct TDataSet objects, and each must reference "
    "the same physical table.";
const char* const qvLookupDlgInactiveColumns = "DataSet for this component must be active.";

VELBOR_IMPLEMENT_CLASS(TqvCustomLookupDialog)
VELBOR_IMPLEMENT_CLASS(TqvLookupDialog)
VELBOR_IMPLEMENT_CLASS(TqvSearchDialog)
VELBOR_PUBLISHED(TqvLookupDialog,
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("GridTitleAlignment", &Self::GridTitleAlignment).Default(taLeftJustify),
  Prop("GridColor", &Self::GridColor),
  Prop("Options", &Self::Options).Default(qvDefaultLookupDlgOptions),
  Prop("GridOptions", &Self::GridOptions).Default(qvLookupDlgGridOptionsStored),
  Prop("LookupTable", &Self::LookupTable, &Self::SetLookupTable),
  Prop("Caption", &Self::Caption),
  Prop("MaxWidth", &Self::MaxWidth),
  Prop("MaxHeight", &Self::MaxHeight),
  Prop("CharCase", &Self::CharCase).Default(ecNormal),
  Prop("PictureMaskFromField", &Self::PictureMaskFromField).Default(false),
  Prop("UseTFields", &Self::UseTFields).Default(true),
  Prop("UserButton1Caption", &Self::UserButton1Caption),
  Prop("UserButton2Caption", &Self::UserButton2Caption),
  Prop("OnUserButton1Click", &Self::OnUserButton1Click),
  Prop("OnUserButton2Click", &Self::OnUserButton2Click),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnSortChange", &Self::OnSortChange),
  Prop("OnPerformCustomSearch", &Self::OnPerformCustomSearch),
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("PictureMaskFromDataset", &Self::PictureMaskFromDataset).Default(true),
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks))
VELBOR_PUBLISHED(TqvSearchDialog,
  Prop("Selected", &Self::Selected, &Self::SetSelected),
  Prop("GridTitleAlignment", &Self::GridTitleAlignment).Default(taLeftJustify),
  Prop("GridColor", &Self::GridColor),
  Prop("Options", &Self::Options).Default(qvDefaultLookupDlgOptions),
  Prop("GridOptions", &Self::GridOptions).Default(qvLookupDlgGridOptionsStored),
  Prop("SearchTable", &Self::SearchTable, &Self::SetSearchTable),
  Prop("ShadowSearchTable", &Self::ShadowSearchTable, &Self::SetShadowSearchTable),
  Prop("PictureMaskFromField", &Self::PictureMaskFromField).Default(false),
  Prop("Caption", &Self::Caption),
  Prop("MaxWidth", &Self::MaxWidth),
  Prop("MaxHeight", &Self::MaxHeight),
  Prop("CharCase", &Self::CharCase).Default(ecNormal),
  Prop("UseTFields", &Self::UseTFields).Default(true),
  Prop("UserButton1Caption", &Self::UserButton1Caption),
  Prop("UserButton2Caption", &Self::UserButton2Caption),
  Prop("OnUserButton1Click", &Self::OnUserButton1Click),
  Prop("OnUserButton2Click", &Self::OnUserButton2Click),
  Prop("OnSyncDataSets", &Self::OnSyncDataSets),
  Prop("OnInitDialog", &Self::OnInitDialog),
  Prop("OnCloseDialog", &Self::OnCloseDialog),
  Prop("OnSortChange", &Self::OnSortChange),
  Prop("OnPerformCustomSearch", &Self::OnPerformCustomSearch),
  Prop("ControlType", &Self::ControlType, &Self::SetControlType),
  Prop("ControlInfoInDataset", &Self::ControlInfoInDataset).Default(true),
  Prop("PictureMaskFromDataset", &Self::PictureMaskFromDataset).Default(true),
  Prop("PictureMasks", &Self::PictureMasks, &Self::SetPictureMasks))

namespace {

// The navigator's search button and form descriptions find the components by name.
struct TLookupDialogClassRegistration {
  TLookupDialogClassRegistration() {
    RegisterClass(TqvLookupDialog::StaticClass());
    RegisterClass(TqvSearchDialog::StaticClass());
  }
} LookupDialogClassRegistration;

// The window lives for one run; Free runs its OnDestroy while it is whole.
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};

// An engine table's primary key fields; empty for any other dataset.
String PrimaryKeyFields(TDataSet* DataSet) {
  auto* Table = dynamic_cast<TTable*>(DataSet);
  if (Table == nullptr) return String();
  for (const TIndexDef& Def : Table->IndexDefs())
    if (Def.Primary) return Def.Fields;
  return String();
}

}  // namespace

// --- Field layout --------------------------------------------------------------------------------

TqvFieldLayout::TqvFieldLayout(TDataSet* DataSet) : FDataSet(DataSet) {
  if (DataSet == nullptr) return;
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* F = Fields->Fields(i);
    // A label equal to the field's name is the name shown by default.
    FEntries.push_back(TEntry{F, F->Visible(), F->DisplayLabel() != F->FieldName(), F->DisplayLabel(), F->DisplayWidth()});
  }
}

void TqvFieldLayout::Restore() {
  if (FDataSet == nullptr) return;
  FDataSet->DisableControls();
  TScopeGuard Enable([&] { FDataSet->EnableControls(); });
  TFields* Fields = FDataSet->Fields();
  int Position = 0;
  for (const TEntry& E : FEntries) {
    // A field freed meanwhile is no longer among the dataset's.
    if (Fields->IndexOf(E.Field) < 0) continue;
    TField* F = E.Field;
    F->SetIndex(Position++);
    F->SetVisible(E.Visible);
    F->SetDisplayLabel(E.LabelStored ? E.Label : String());
    if (F->DisplayWidth() != E.Width) F->SetDisplayWidth(E.Width);
  }
}

// --- Running the window --------------------------------------------------------------------------

void qvBuildLookupSelected(TStrings* Lines, TDataSet* DataSet) {
  Lines->Clear();
  if (DataSet == nullptr || !DataSet->Active()) {
    MessageDlg(qvLookupDlgInactiveColumns, mtInformation, TMsgDlgButtons{mbOK}, 0);
    return;
  }
  TFields* Fields = DataSet->Fields();
  for (int i = 0; i < Fields->Count(); ++i) {
    TField* F = Fields->Fields(i);
    if (!F->Visible()) continue;
    Lines->Add(F->FieldName() + "\t" + IntToStr(F->DisplayWidth()) + "\t" + F->DisplayLabel() + "\tF");
  }
}

bool qvExecuteLookupDlg(TCustomForm* ActiveForm, TComponent* Owner, TDataSet* DataSet,
                        const TqvLookupDlgSettings& Settings) {
  // Taken before the window touches a field; put back after the window let go of the dataset.
  TqvFieldLayout Layout(DataSet);
  TScopeGuard RestoreLayout([&] { Layout.Restore(); });

  std::unique_ptr<TqvLookupDlg, TFormFree> Form(CreateForm<TqvLookupDlg>(Application));
  TScopeGuard Detach([&] { Form->DataSource1->SetDataSet(nullptr); });
  Form->SetCaption(Settings.Caption);
  if (ActiveForm != nullptr && ActiveForm->FormStyle() == fsStayOnTop) Form->SetFormStyle(fsStayOnTop);

  TqvDBGrid* Grid = Form->qvDBGrid1;
  TStrings* Selected = Settings.Selected != nullptr && Settings.Selected->Count() > 0 ? Settings.Selected : nullptr;
  if (Selected != nullptr) {
    Grid->SetSelected(Selected);
  } else {
    TStringList Built;
    qvBuildLookupSelected(&Built, DataSet);
    Grid->SetSelected(&Built);
  }
  Form->PictureMaskFromField = Settings.PictureMaskFromField;
  Form->OwnerComponent = Owner;
  if (TStrings* Masks = qvGetPictureMasks(qvGetPictureMaskSource(Owner, DataSet))) Grid->SetPictureMasks(Masks);
  if (TStrings* Kinds = qvGetControlTypeList(qvGetControlInfoSource(Owner, DataSet))) Grid->SetControlType(Kinds);
  Grid->SetUseTFields(Settings.UseTFields);
  Grid->SetOptions(Settings.GridOptions);
  if (Settings.GridOptions.Contains(dgMultiSelect)) Grid->MultiSelectOptions = {msoAutoUnselect, msoShiftSelect};
  Grid->SetColor(Settings.GridColor);
  Grid->SetTitleAlignment(Settings.GridTitleAlignment);

  Form->DataSet = DataSet;
  if (Selected != nullptr && Settings.UseTFields) qvApplySelectedToFields(DataSet, Selected);
  Form->Options = Settings.Options;
  Form->MaxWidth = Settings.MaxWidth;
  Form->MaxHeight = Settings.MaxHeight;
  Form->InitialText = Settings.InitialText;
  Form->qvIncrementalSearch1->SetCharCase(Settings.CharCase);
  Grid->SetFixedCols(Settings.Options.Contains(opFixFirstColumn) ? 1 : 0);

  Form->OnUserButton1Click = Settings.OnUserButton1Click;
  Form->OnUserButton2Click = Settings.OnUserButton2Click;
  Form->OnInitDialog = Settings.OnInitDialog;
  Form->OnCloseDialog = Settings.OnCloseDialog;
  Form->OnSortChange = Settings.OnSortChange;
  Form->UserButton1->SetCaption(Settings.UserButton1Caption);
  Form->UserButton2->SetCaption(Settings.UserButton2Caption);

  return Form->ShowModal() == mrOk;
}

// --- TqvCustomLookupDialog ------------------------------------------------------------------------

TqvCustomLookupDialog::TqvCustomLookupDialog(TComponent* AOwner)
    : TqvCustomDialog(AOwner), FSelected(new TStringList), FControlType(new TStringList),
      FPictureMasks(new TStringList) {
  Caption = "Search";
}

TqvCustomLookupDialog::~TqvCustomLookupDialog() {
  delete FSelected;
  delete FControlType;
  delete FPictureMasks;
}

void TqvCustomLookupDialog::SetSelected(TStrings* Value) { FSelected->Assign(Value); }
void TqvCustomLookupDialog::SetControlType(TStrings* Value) { FControlType->Assign(Value); }
void TqvCustomLookupDialog::SetPictureMasks(TStrings* Value) { FPictureMasks->Assign(Value); }

void TqvCustomLookupDialog::SetShadowSearchTable(TDataSet* Value) {
  if (FLookupTable == Value) return;
  if (FLookupTable != nullptr && FLookupTable != FSearchTable) FLookupTable->RemoveFreeNotification(this);
  FLookupTable = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvCustomLookupDialog::SetSearchTable(TDataSet* Value) {
  if (FSearchTable == Value) return;
  if (FSearchTable != nullptr && FSearchTable != FLookupTable) FSearchTable->RemoveFreeNotification(this);
  FSearchTable = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TqvCustomLookupDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TqvCustomDialog::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLookupTable) FLookupTable = nullptr;
  if (AComponent == FSearchTable) FSearchTable = nullptr;
}

TDataSet* TqvCustomLookupDialog::GetPrimaryDataSet() {
  throw EInvalidOperation(
      "Derived classes of \"TqvCustomLookupDialog\" must implement function \"GetPrimaryDataSet\"");
}

void TqvCustomLookupDialog::Warn(const char* Text) { MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0); }

TqvLookupDlgSettings TqvCustomLookupDialog::Settings() {
  TqvLookupDlgSettings S;
  S.Selected = FSelected;
  S.Caption = Caption;
  S.Options = Options;
  S.GridOptions = GridOptions;
  S.GridColor = GridColor;
  S.GridTitleAlignment = GridTitleAlignment;
  S.MaxWidth = MaxWidth;
  S.MaxHeight = MaxHeight;
  S.CharCase = CharCase;
  S.UseTFields = UseTFields;
  S.PictureMaskFromField = PictureMaskFromField;
  S.UserButton1Caption = UserButton1Caption;
  S.UserButton2Caption = UserButton2Caption;
  S.OnUserButton1Click = OnUserButton1Click;
  S.OnUserButton2Click = OnUserButton2Click;
  S.OnInitDialog = OnInitDialog;
  S.OnCloseDialog = OnCloseDialog;
  S.OnSortChange = OnSortChange;
  return S;
}

void TqvCustomLookupDialog::DoSyncDataSets(TDataSet* MoveDataSet, TDataSet* BaseDataSet) {
  if (OnSyncDataSets) {
    OnSyncDataSets(this, MoveDataSet, BaseDataSet);
    return;
  }
  // Two datasets over one table: the moved one goes to the row of the base's primary key.
  String Keys = PrimaryKeyFields(BaseDataSet);
  if (Keys.empty() || BaseDataSet->IsEmpty()) return;
  std::vector<String> Names;
  for (std::size_t Start = 0; Start <= Keys.size();) {
    std::size_t End = Keys.find(';', Start);
    Names.push_back(Trim(Keys.substr(Start, End == String::npos ? String::npos : End - Start)));
    if (End == String::npos) break;
    Start = End + 1;
  }
  Variant Values;
  if (Names.size() == 1) {
    Values = BaseDataSet->FieldByName(Names[0])->Value();
  } else {
    Values = VarArrayCreate(0, int(Names.size()) - 1, varVariant);
    for (std::size_t i = 0; i < Names.size(); ++i)
      VarArrayPut(Values, BaseDataSet->FieldByName(Names[i])->Value(), int(i));
  }
  MoveDataSet->Locate(Keys, Values, TLocateOptions{});
}

bool TqvCustomLookupDialog::Execute() {
  TDataSet* Browsed = FLookupTable;
  if (Browsed == nullptr) {
    if (InheritsFrom("TqvLookupDialog")) {
      Warn(qvLookupDlgNoLookupTable);
      return false;
    }
    if (FSearchTable == nullptr) {
      Warn(qvLookupDlgNoSearchTable);
      return false;
    }
    if (!FSearchTable->Active()) {
      Warn(qvLookupDlgNotActive);
      return false;
    }
    return qvExecuteLookupDlg(Screen->ActiveForm(), this, FSearchTable, Settings());
  }
  if (Browsed == FSearchTable) {
    Warn(qvLookupDlgSameObject);
    return false;
  }
  if (FSearchTable != nullptr &&
      (!qvSameText(qvGetDatabaseName(Browsed), qvGetDatabaseName(FSearchTable)) ||
       !qvSameText(qvGetTableName(Browsed), qvGetTableName(FSearchTable)))) {
    Warn(qvLookupDlgOtherTable);
    return false;
  }
  if (!Browsed->Active() || (FSearchTable != nullptr && !FSearchTable->Active())) {
    Warn(qvLookupDlgNotActive);
    return false;
  }
  if (FSearchTable != nullptr) {
    // An SQLite file is searched by key: the browsed table needs no range of its own.
    if (auto* Table = dynamic_cast<TqvTable*>(Browsed); Table != nullptr && Table->NarrowSearch) Table->CancelRange();
    try {
      DoSyncDataSets(Browsed, FSearchTable);
    } catch (const std::exception&) {
      // The window shows anyway, on the browsed table's own row.
    }
  }
  if (!qvExecuteLookupDlg(Screen->ActiveForm(), this, Browsed, Settings())) return false;
  if (FSearchTable != nullptr && !(Browsed->Bof() && Browsed->Eof())) DoSyncDataSets(FSearchTable, Browsed);
  return true;
}

// --- TqvLookupDialog, TqvSearchDialog ---------------------------------------------------------------

TqvLookupDialog::TqvLookupDialog(TComponent* AOwner) : TqvCustomLookupDialog(AOwner) { Caption = "Lookup"; }

bool TqvLookupDialog::Execute() {
  if (FLookupTable == nullptr) {
    Warn(qvLookupDlgNoLookupTable);
    return false;
  }
  if (!FLookupTable->Active()) {
    Warn(qvLookupDlgNotActive);
    return false;
  }
  return qvExecuteLookupDlg(Screen->ActiveForm(), this, FLookupTable, Settings());
}

TqvSearchDialog::TqvSearchDialog(TComponent* AOwner) : TqvCustomLookupDialog(AOwner) {}
