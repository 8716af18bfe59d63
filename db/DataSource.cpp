// This file implements TDataSource, TDataLink, TFieldDataLink and the master/detail links.
#include "DataSource.h"

#include <algorithm>

#include "DataSet.h"
#include "Field.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_CLASS(TDataSource)
VELBOR_PUBLISHED(TDataSource,
  Prop("AutoEdit", &Self::AutoEdit).Default(true),
  Prop("DataSet", &Self::DataSet, &Self::SetDataSet),
  Prop("Enabled", &Self::Enabled, &Self::SetEnabled).Default(true),
  Prop("OnStateChange", &Self::OnStateChange),
  Prop("OnDataChange", &Self::OnDataChange),
  Prop("OnUpdateData", &Self::OnUpdateData))

VELBOR_IMPLEMENT_CLASS(TDataLink)
VELBOR_IMPLEMENT_CLASS(TFieldDataLink)
VELBOR_IMPLEMENT_CLASS(TDetailDataLink)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TMasterDataLink)

// --- TDataSource ---------------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  Destroying();
  if (FDataSet != nullptr) SetDataSet(nullptr);
  while (!FDataLinks.empty()) FDataLinks.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ADataSet) {
  if (ADataSet == FDataSet) return;
  if (ADataSet != nullptr && IsLinkedTo(ADataSet)) DatabaseError(DBConsts::SCircularDataLink, this);
  if (FDataSet != nullptr) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet->RemoveDataSource(this);
  }
  if (ADataSet != nullptr) {
    ADataSet->FreeNotification(this);
    ADataSet->AddDataSource(this);
  }
}

void TDataSource::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateState();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

bool TDataSource::IsLinkedTo(TDataSet* ADataSet) {
  // Walks from ADataSet's own source up its masters: a loop back here would be circular.
  while (ADataSet != nullptr) {
    TDataSource* Source = ADataSet->GetDataSource();
    if (Source == nullptr) return false;
    if (Source == this) return true;
    ADataSet = Source->DataSet();
  }
  return false;
}

void TDataSource::Edit() {
  if (AutoEdit && FState == dsBrowse) FDataSet->Edit();
}

void TDataSource::SetState(TDataSetState Value) {
  if (FState == Value) return;
  TDataSetState Prior = FState;
  FState = Value;
  NotifyDataLinks(deUpdateState, 0);
  if (FComponentState.Contains(csDestroying)) return;
  if (OnStateChange) OnStateChange(this);
  if (Prior == dsInactive && OnDataChange) OnDataChange(this, nullptr);
}

void TDataSource::UpdateState() {
  if (FEnabled && FDataSet != nullptr)
    SetState(FDataSet->State());
  else
    SetState(dsInactive);
}

void TDataSource::AddDataLink(TDataLink* DataLink) {
  FDataLinks.push_back(DataLink);
  DataLink->FDataSource = this;
  if (FDataSet != nullptr) FDataSet->UpdateBufferCount();
  DataLink->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* DataLink) {
  DataLink->FDataSource = nullptr;
  std::erase(FDataLinks, DataLink);
  DataLink->UpdateState();
  if (FDataSet != nullptr) FDataSet->UpdateBufferCount();
}

void TDataSource::NotifyLinkTypes(TDataEvent Event, intptr_t Info, bool LinkType) {
  // Copied: a link may leave while it is being told.
  std::vector<TDataLink*> Links = FDataLinks;
  for (TDataLink* Link : Links)
    if (Link->IsDetailLink() == LinkType && std::find(FDataLinks.begin(), FDataLinks.end(), Link) != FDataLinks.end())
      Link->DataEvent(Event, Info);
}

void TDataSource::NotifyDataLinks(TDataEvent Event, intptr_t Info) {
  // Details re-select before the controls draw.
  NotifyLinkTypes(Event, Info, true);
  NotifyLinkTypes(Event, Info, false);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (FState == dsInactive) return;
  NotifyDataLinks(Event, Info);
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

// --- TDataLink -----------------------------------------------------------------------------------

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  if (FDataSource != nullptr) FDataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* ADataSource) {
  if (FDataSource == ADataSource) return;
  if (DataSourceFixed) DatabaseError("Impossible de modifier la source de données de ce lien"_a);
  if (FDataSource != nullptr) FDataSource->RemoveDataLink(this);
  if (ADataSource != nullptr) ADataSource->AddDataLink(this);
}

TDataSet* TDataLink::DataSet() const { return FDataSource != nullptr ? FDataSource->DataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  UpdateState();
}

int TDataLink::ActiveRecord() const {
  if (FDataSource == nullptr || FDataSource->State() == dsSetKey || DataSet() == nullptr) return 0;
  return DataSet()->FActiveRecord - FFirstRecord;
}

void TDataLink::SetActiveRecord(int Value) {
  if (FDataSource != nullptr && FDataSource->State() != dsSetKey && DataSet() != nullptr)
    DataSet()->FActiveRecord = Value + FFirstRecord;
}

int TDataLink::RecordCount() const {
  if (FDataSource == nullptr || DataSet() == nullptr) return 0;
  if (FDataSource->State() == dsSetKey) return 1;
  // The records of the dataset's window from the link's first one, at most BufferCount.
  int Result = DataSet()->FRecordCount - FFirstRecord;
  if (Result > FBufferCount) Result = FBufferCount;
  return Result < 0 ? 0 : Result;
}

void TDataLink::SetBufferCount(int Value) {
  if (Value < 1) Value = 1;
  if (FBufferCount == Value) return;
  FBufferCount = Value;
  if (FActive) {
    UpdateRange();
    DataSet()->UpdateBufferCount();
    UpdateRange();
  }
}

bool TDataLink::Bof() const { return DataSet() != nullptr && DataSet()->Bof(); }
bool TDataLink::Eof() const { return DataSet() != nullptr && DataSet()->Eof(); }

void TDataLink::UpdateRange() {
  TDataSet* Set = DataSet();
  if (Set == nullptr) return;
  int Min = Set->FActiveRecord + 1 - FBufferCount;
  if (Min < 0) Min = 0;
  int Max = Set->FBufferCount - FBufferCount;
  if (Max < 0) Max = 0;
  if (Max > Set->FActiveRecord) Max = Set->FActiveRecord;
  if (FFirstRecord < Min) FFirstRecord = Min;
  if (FFirstRecord > Max) FFirstRecord = Max;
}

bool TDataLink::Edit() {
  if (!FReadOnly && FDataSource != nullptr) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord() {
  FUpdating = true;
  TScopeGuard restore([&] { FUpdating = false; });
  UpdateData();
}

void TDataLink::DataSetChanged() { RecordChanged(nullptr); }
void TDataLink::DataSetScrolled(int) { DataSetChanged(); }
void TDataLink::LayoutChanged() { DataSetChanged(); }

void TDataLink::UpdateState() {
  SetActive(FDataSource != nullptr && FDataSource->State() != dsInactive);
  TDataSetState State = FDataSource != nullptr ? FDataSource->State() : dsInactive;
  SetEditing((State == dsEdit || State == dsInsert || State == dsSetKey) && !FReadOnly);
}

void TDataLink::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (Value)
    UpdateRange();
  else
    FFirstRecord = 0;
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value) {
  if (FEditing == Value) return;
  FEditing = Value;
  EditingChanged();
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FActive) return;
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      // Info is how far the dataset's records moved in its buffers; the link's window follows
      // them, then moves as little as possible to keep the active record inside.
      int Count = 0;
      if (FDataSource->State() != dsSetKey) {
        int Active = DataSet()->FActiveRecord;
        int First = FFirstRecord + int(Event == deDataSetScroll ? Info : 0);
        int Last = First + FBufferCount - 1;
        if (Active > Last)
          Count = Active - Last;
        else if (Active < First)
          Count = Active - First;
        FFirstRecord = First + Count;
        UpdateRange();
      }
      if (Event == deDataSetChange)
        DataSetChanged();
      else if (Event == deDataSetScroll)
        DataSetScrolled(Count);
      else
        LayoutChanged();
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(reinterpret_cast<TField**>(Info));
      break;
    default:
      break;
  }
}

// --- TFieldDataLink ------------------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const String& Value) {
  if (FFieldName == Value) return;
  FFieldName = Value;
  UpdateField();
}

bool TFieldDataLink::CanModify() const { return !ReadOnly() && (FField == nullptr || FField->CanModify()); }

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return FEditing;
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::UpdateField() {
  if (Active() && !FFieldName.empty()) {
    FField = nullptr;
    SetField(DataSet()->FieldByName(FFieldName));
  } else {
    SetField(nullptr);
  }
}

void TFieldDataLink::SetField(TField* Value) {
  if (FField == Value) return;
  FField = Value;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLink::SetEditing(bool Value) {
  if (FEditing == Value) return;
  FEditing = Value;
  FModified = false;
  if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetEditing(TDataLink::Editing() && CanModify()); }

void TFieldDataLink::FocusControl(TField** Field) {
  if (Field == nullptr || *Field == nullptr || *Field != FField || Control == nullptr || !OnFocusControl) return;
  bool Focused = false;
  OnFocusControl(this, Focused);
  // Told: the other links need not try.
  if (Focused) *Field = nullptr;
}

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* Field) {
  if (Field != nullptr && Field != FField) return;
  if (OnDataChange) OnDataChange(this);
  FModified = false;
}

void TFieldDataLink::UpdateData() {
  if (!FModified) return;
  if (FField != nullptr && OnUpdateData) OnUpdateData(this);
  FModified = false;
}

// --- TMasterDataLink -----------------------------------------------------------------------------

TMasterDataLink::TMasterDataLink(TDataSet* ADataSet) : FDetailDataSet(ADataSet) {}

void TMasterDataLink::SetFieldNames(const String& Value) {
  if (FFieldNames == Value) return;
  FFieldNames = Value;
  ActiveChanged();
}

void TMasterDataLink::ActiveChanged() {
  FFields.clear();
  if (Active()) {
    try {
      DataSet()->GetFieldList(FFields, FFieldNames);
    } catch (...) {
      FFields.clear();
      throw;
    }
  }
  if (FDetailDataSet->Active() && !FDetailDataSet->ComponentState().Contains(csDestroying)) {
    if (Active() && !FFields.empty())
      DoMasterChange();
    else
      DoMasterDisable();
  }
}

void TMasterDataLink::CheckBrowseMode() {
  if (FDetailDataSet->State() == dsSetKey) FDetailDataSet->Cancel();
}

void TMasterDataLink::LayoutChanged() { ActiveChanged(); }

void TMasterDataLink::RecordChanged(TField* Field) {
  if (DataSource()->State() == dsSetKey || !FDetailDataSet->Active() || FFields.empty()) return;
  if (Field != nullptr && std::find(FFields.begin(), FFields.end(), Field) == FFields.end()) return;
  DoMasterChange();
}

void TMasterDataLink::DoMasterChange() {
  if (OnMasterChange)
    OnMasterChange(this);
  else
    FDetailDataSet->MasterChanged(this);
}

void TMasterDataLink::DoMasterDisable() {
  if (OnMasterDisable)
    OnMasterDisable(this);
  else
    FDetailDataSet->MasterDisabled(this);
}

void TMasterDataLink::CopyMasterValues(const String& DetailFieldNames) {
  std::vector<TField*> Details;
  FDetailDataSet->GetFieldList(Details, DetailFieldNames.empty() ? FFieldNames : DetailFieldNames);
  for (std::size_t i = 0; i < Details.size() && i < FFields.size(); ++i) Details[i]->SetValue(FFields[i]->Value());
}
