// This file implements TDataSet's life cycle: construction, opening and closing, fields and their
// binding, states, data events, the record-buffer window and calculated fields.
#include "DataSet.h"

#include <cassert>
#include <cstring>

#include "DataSource.h"
#include "Field.h"
#include "FieldDefs.h"
#include "ScopeGuard.h"
#include "Strings.h"

void DatabaseError(const String& Message, TComponent* Component) {
  if (Component != nullptr && !Component->Name().empty()) throw EDatabaseError(Component->Name() + ": " + Message);
  throw EDatabaseError(Message);
}

void DatabaseErrorFmt(const String& Message, std::initializer_list<TVarRec> Args, TComponent* Component) {
  DatabaseError(Format(Message, Args), Component);
}

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TDataSet)
VELBOR_PUBLISHED(TDataSet,
  Prop("Active", &Self::Active, &Self::SetActive).Default(false),
  Prop("AutoCalcFields", &Self::AutoCalcFields).Default(true),
  Prop("Filter", &Self::Filter, &Self::SetFilter),
  Prop("Filtered", &Self::Filtered, &Self::SetFiltered).Default(false),
  Prop("FilterOptions", &Self::FilterOptions, &Self::SetFilterOptions).Default(TFilterOptions{}),
  Prop("BeforeOpen", &Self::BeforeOpen),
  Prop("AfterOpen", &Self::AfterOpen),
  Prop("BeforeClose", &Self::BeforeClose),
  Prop("AfterClose", &Self::AfterClose),
  Prop("BeforeInsert", &Self::BeforeInsert),
  Prop("AfterInsert", &Self::AfterInsert),
  Prop("BeforeEdit", &Self::BeforeEdit),
  Prop("AfterEdit", &Self::AfterEdit),
  Prop("BeforePost", &Self::BeforePost),
  Prop("AfterPost", &Self::AfterPost),
  Prop("BeforeCancel", &Self::BeforeCancel),
  Prop("AfterCancel", &Self::AfterCancel),
  Prop("BeforeDelete", &Self::BeforeDelete),
  Prop("AfterDelete", &Self::AfterDelete),
  Prop("BeforeScroll", &Self::BeforeScroll),
  Prop("AfterScroll", &Self::AfterScroll),
  Prop("BeforeRefresh", &Self::BeforeRefresh),
  Prop("AfterRefresh", &Self::AfterRefresh),
  Prop("OnCalcFields", &Self::OnCalcFields),
  Prop("OnDeleteError", &Self::OnDeleteError),
  Prop("OnEditError", &Self::OnEditError),
  Prop("OnFilterRecord", &Self::OnFilterRecord, &Self::SetOnFilterRecord),
  Prop("OnNewRecord", &Self::OnNewRecord),
  Prop("OnPostError", &Self::OnPostError))

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {
  FFields = new TFields(this);
  FFieldDefs = new TFieldDefs(this);
  ClearBuffers();
}

TDataSet::~TDataSet() {
  Destroying();
  // The buffer protocol is gone with the descendant: each descendant closes in its destructor.
  assert(!Active() && "a dataset descendant closes itself in its destructor");
  while (!FDataSources.empty()) FDataSources.back()->SetDataSet(nullptr);
  DestroyFields();
  delete FFieldDefs;
  FFieldDefs = nullptr;
  delete FFields;
  FFields = nullptr;
}

// --- Properties ----------------------------------------------------------------------------------

bool TDataSet::Active() const { return FState != dsInactive && FState != dsOpening; }

void TDataSet::SetActive(bool Value) {
  if (FComponentState.Contains(csReading)) {
    FStreamedActive = Value;
    return;
  }
  if (Active() == Value) return;
  if (Value) {
    DoBeforeOpen();
    TScopeGuard restore([&] { if (FState != dsOpening) OpenCursorComplete(); });
    OpenCursor(false);
  } else {
    if (!FComponentState.Contains(csDestroying)) DoBeforeClose();
    SetState(dsInactive);
    CloseCursor();
    if (!FComponentState.Contains(csDestroying)) DoAfterClose();
  }
}

int TDataSet::FieldCount() const { return FFields->Count(); }

void TDataSet::SetFieldDefs(TFieldDefs* Value) { FFieldDefs->Assign(Value); }

Variant TDataSet::FieldValues(const String& FieldName) {
  if (FieldName.find(';') == String::npos) return FieldByName(FieldName)->Value();
  std::vector<TField*> List;
  GetFieldList(List, FieldName);
  Variant Result = VarArrayCreate(0, int(List.size()) - 1, varVariant);
  for (std::size_t i = 0; i < List.size(); ++i) Result.PutElement(int(i), List[i]->Value());
  return Result;
}

void TDataSet::SetFieldValues(const String& FieldName, const Variant& Value) {
  if (FieldName.find(';') == String::npos) {
    FieldByName(FieldName)->SetValue(Value);
    return;
  }
  std::vector<TField*> List;
  GetFieldList(List, FieldName);
  for (std::size_t i = 0; i < List.size(); ++i) List[i]->SetValue(Value.GetElement(int(i)));
}

// --- Checks and states ---------------------------------------------------------------------------

void TDataSet::CheckActive() const {
  if (FState == dsInactive) DatabaseError(DBConsts::SDataSetClosed, const_cast<TDataSet*>(this));
}

void TDataSet::CheckInactive() {
  if (Active()) DatabaseError(DBConsts::SDataSetOpen, this);
}

void TDataSet::CheckCanModify() {
  if (!GetCanModify()) DatabaseError(DBConsts::SDataSetReadOnly, this);
}

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  FState = Value;
  FModified = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState Value) {
  TDataSetState Previous = FState;
  FState = Value;
  return Previous;
}

void TDataSet::RestoreState(TDataSetState Value) { FState = Value; }

char* TDataSet::GetStateRecordBuffer() const {
  switch (FState) {
    case dsBrowse:
      return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
    case dsNewValue:
    case dsCurValue:
    case dsBlockRead:
      return ActiveBuffer();
    case dsCalcFields:
    case dsInternalCalc:
      return FCalcBuffer;
    case dsFilter:
      return FilterBuffer;
    default:
      return nullptr;
  }
}

// --- Opening and closing -------------------------------------------------------------------------

void TDataSet::OpenCursor(bool InfoQuery) {
  if (InfoQuery)
    InternalInitFieldDefs();
  else if (FState != dsOpening)
    DoInternalOpen();
}

void TDataSet::DoInternalOpen() {
  FDefaultFields = FieldCount() == 0;
  InternalOpen();
  FInternalOpenComplete = true;
  UpdateBufferCount();
  FBOF = true;
}

void TDataSet::OpenCursorComplete() {
  try {
    if (FState == dsOpening) DoInternalOpen();
  } catch (...) {
    if (FInternalOpenComplete) {
      SetState(dsBrowse);
    } else {
      SetState(dsInactive);
      CloseCursor();
    }
    throw;
  }
  if (FInternalOpenComplete) {
    SetState(dsBrowse);
    DoAfterOpen();
  } else {
    SetState(dsInactive);
    CloseCursor();
  }
}

void TDataSet::CloseCursor() {
  FInternalOpenComplete = false;
  FreeFieldBuffers();
  ClearBuffers();
  SetBufListSize(0);
  FBufferCount = 0;
  InternalClose();
  FDefaultFields = false;
}

void TDataSet::Loaded() {
  inherited::Loaded();
  try {
    if (FStreamedActive) SetActive(true);
  } catch (...) {
    if (FComponentState.Contains(csDesigning)) {
      InternalHandleException();
    } else {
      throw;
    }
  }
}

void TDataSet::InternalHandleException() { throw; }

// --- Fields --------------------------------------------------------------------------------------

TFieldClass TDataSet::GetFieldClass(TFieldType FieldType) { return DefaultFieldClasses(FieldType); }

void TDataSet::CreateFields() {
  for (int i = 0; i < FFieldDefs->Count(); ++i) {
    TFieldDef* Def = FFieldDefs->Items(i);
    if (Def->DataType() == ftUnknown) continue;
    Def->CreateField(this);
  }
}

void TDataSet::DestroyFields() { FFields->Clear(); }

void TDataSet::InitFieldDefs() {
  if (Active()) return;
  InternalInitFieldDefs();
}

void TDataSet::InitFieldDefsFromFields() {
  FFieldDefs->Clear();
  for (int i = 0; i < FFields->Count(); ++i) {
    TField* Field = FFields->Fields(i);
    if (Field->FieldKind() != fkData && Field->FieldKind() != fkInternalCalc) continue;
    TFieldDef* Def = FFieldDefs->AddFieldDef();
    Def->SetName(Field->FieldName());
    Def->SetDataType(Field->DataType());
    Def->SetSize(Field->Size());
    Def->SetRequired(Field->Required());
    if (Field->FieldKind() == fkInternalCalc) Def->SetInternalCalcField(true);
  }
}

void TDataSet::BindFields(bool Binding) {
  FCalcFieldsSize = 0;
  FInternalCalcFields = false;
  for (int i = 0; i < FFields->Count(); ++i) {
    TField* Field = FFields->Fields(i);
    if (!Binding) {
      Field->Bind(false);
      continue;
    }
    if (Field->FieldKind() == fkCalculated || Field->FieldKind() == fkLookup) {
      // One null-flag byte, then the value.
      Field->SetFieldNo(-1);
      Field->SetOffset(FCalcFieldsSize);
      FCalcFieldsSize += Field->DataSize() + 1;
    } else {
      TFieldDef* Def = FFieldDefs->FindDef(Field->FieldName());
      if (Def == nullptr) DatabaseErrorFmt(DBConsts::SFieldNotFound, {Field->DisplayName()}, this);
      Field->SetFieldNo(Def->FieldNo());
      Field->SetOffset(0);
      if (Field->FieldKind() == fkInternalCalc) FInternalCalcFields = true;
    }
    // Lookup fields open and check their lookup dataset once their place is known.
    Field->Bind(true);
  }
}

TField* TDataSet::FindField(const String& FieldName) const { return FFields->FindField(FieldName); }

TField* TDataSet::FieldByName(const String& FieldName) const {
  TField* Field = FindField(FieldName);
  if (Field == nullptr) DatabaseErrorFmt(DBConsts::SFieldNotFound, {FieldName}, const_cast<TDataSet*>(this));
  return Field;
}

TField* TDataSet::FieldByNumber(int FieldNo) const {
  for (int i = 0; i < FFields->Count(); ++i)
    if (FFields->Fields(i)->FieldNo() == FieldNo) return FFields->Fields(i);
  return nullptr;
}

void TDataSet::GetFieldNames(TStrings* List) const {
  List->BeginUpdate();
  TScopeGuard endUpdate([&] { List->EndUpdate(); });
  List->Clear();
  for (int i = 0; i < FFields->Count(); ++i) List->Add(FFields->Fields(i)->FieldName());
}

void TDataSet::GetFieldList(std::vector<TField*>& List, const String& FieldNames) const {
  std::size_t Start = 0;
  while (Start <= FieldNames.size()) {
    std::size_t End = FieldNames.find(';', Start);
    if (End == String::npos) End = FieldNames.size();
    String Name = FieldNames.substr(Start, End - Start);
    // Blanks around the names are allowed, as in "ZH_CODE; NUM".
    std::size_t a = Name.find_first_not_of(' ');
    std::size_t b = Name.find_last_not_of(' ');
    Name = a == String::npos ? String() : Name.substr(a, b - a + 1);
    if (!Name.empty()) List.push_back(FieldByName(Name));
    Start = End + 1;
  }
}

// --- Data events ---------------------------------------------------------------------------------

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  switch (Event) {
    case deFieldChange: {
      TField* Field = reinterpret_cast<TField*>(Info);
      if (Field->FieldKind() == fkData || Field->FieldKind() == fkInternalCalc) SetModified(true);
      UpdateCalcFields();
      break;
    }
    default:
      break;
  }
  if (FDisableCount == 0) {
    // Copied: a data source may leave (or a detail close) while it is being told.
    std::vector<TDataSource*> Sources = FDataSources;
    for (TDataSource* Source : Sources) Source->DataEvent(Event, Info);
  } else if ((Event == deUpdateState && FState == dsInactive) || Event == deLayoutChange) {
    FEnableEvent = deLayoutChange;
  }
}

void TDataSet::DisableControls() {
  if (FDisableCount == 0) {
    FDisableState = FState;
    FEnableEvent = deDataSetChange;
  }
  ++FDisableCount;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount != 0) return;
  if (FDisableState != FState) DataEvent(deUpdateState, 0);
  if (FDisableState != dsInactive && FState != dsInactive) DataEvent(FEnableEvent, 0);
}

void TDataSet::AddDataSource(TDataSource* DataSource) {
  FDataSources.push_back(DataSource);
  DataSource->FDataSet = this;
  UpdateBufferCount();
  DataSource->DataEvent(deUpdateState, 0);
}

void TDataSet::RemoveDataSource(TDataSource* DataSource) {
  DataSource->FDataSet = nullptr;
  std::erase(FDataSources, DataSource);
  DataSource->DataEvent(deUpdateState, 0);
  if (!FComponentState.Contains(csDestroying)) UpdateBufferCount();
}

bool TDataSet::IsLinkedTo(TDataSource* ADataSource) {
  // Follows ADataSource's dataset up through its masters: reaching this dataset would make a loop.
  while (ADataSource != nullptr) {
    TDataSet* DataSet = ADataSource->DataSet();
    if (DataSet == nullptr) return false;
    if (DataSet == this) return true;
    ADataSource = DataSet->GetDataSource();
  }
  return false;
}

void TDataSet::MasterChanged(TObject*) {}
void TDataSet::MasterDisabled(TObject*) {}

// --- Filters -------------------------------------------------------------------------------------

void TDataSet::SetFiltered(bool Value) {
  if (FFiltered == Value) return;
  if (Active()) {
    CheckBrowseMode();
    FFiltered = Value;
    First();
  } else {
    FFiltered = Value;
  }
}

void TDataSet::SetFilterText(const String& Value) {
  if (FFilterText == Value) return;
  if (Active() && FFiltered) {
    CheckBrowseMode();
    FFilterText = Value;
    First();
  } else {
    FFilterText = Value;
  }
}

void TDataSet::SetFilterOptions(TFilterOptions Value) {
  if (FFilterOptions == Value) return;
  if (Active() && FFiltered) {
    CheckBrowseMode();
    FFilterOptions = Value;
    First();
  } else {
    FFilterOptions = Value;
  }
}

void TDataSet::SetOnFilterRecord(TFilterRecordEvent Value) {
  if (FOnFilterRecord == Value) return;
  if (Active() && FFiltered) {
    CheckBrowseMode();
    FOnFilterRecord = Value;
    First();
  } else {
    FOnFilterRecord = Value;
  }
}

bool TDataSet::FilterRecord(char* Buffer) {
  if (!FOnFilterRecord) return true;
  bool Accept = true;
  char* SaveBuffer = FilterBuffer;
  TDataSetState SaveState = SetTempState(dsFilter);
  FilterBuffer = Buffer;
  TScopeGuard restoreState([&] {
    FilterBuffer = SaveBuffer;
    RestoreState(SaveState);
  });
  FOnFilterRecord(this, Accept);
  return Accept;
}

// --- Calculated fields ---------------------------------------------------------------------------

void TDataSet::ClearCalcFields(char* Buffer) {
  if (FCalcFieldsSize > 0) std::memset(Buffer + CalcFieldsOffset(), 0, std::size_t(FCalcFieldsSize));
}

bool TDataSet::ReadCalcField(char* Buffer, TField* Field, void* Data) {
  if (Buffer == nullptr) return false;
  const char* Slot = Buffer + CalcFieldsOffset() + Field->Offset();
  if (Slot[0] == 0) return false;
  if (Data != nullptr) std::memcpy(Data, Slot + 1, std::size_t(Field->DataSize()));
  return true;
}

void TDataSet::WriteCalcField(char* Buffer, TField* Field, const void* Data) {
  if (Buffer == nullptr) return;
  char* Slot = Buffer + CalcFieldsOffset() + Field->Offset();
  Slot[0] = Data != nullptr ? 1 : 0;
  if (Data != nullptr)
    std::memcpy(Slot + 1, Data, std::size_t(Field->DataSize()));
  else
    std::memset(Slot + 1, 0, std::size_t(Field->DataSize()));
}

void TDataSet::GetCalcFields(char* Buffer) {
  if (FCalcFieldsSize == 0 && !FInternalCalcFields) return;
  TDataSetState SaveState = SetTempState(dsCalcFields);
  TScopeGuard restoreState([&] { RestoreState(SaveState); });
  CalculateFields(Buffer);
}

void TDataSet::CalculateFields(char* Buffer) {
  FCalcBuffer = Buffer;
  if (FState != dsInternalCalc) {
    ClearCalcFields(FCalcBuffer);
    for (int i = 0; i < FFields->Count(); ++i) {
      TField* Field = FFields->Fields(i);
      if (Field->FieldKind() == fkLookup) Field->CalcLookupValue();
    }
  }
  DoOnCalcFields();
}

void TDataSet::UpdateCalcFields() {
  if (FState != dsSetKey && AutoCalcFields && (FCalcFieldsSize > 0 || FInternalCalcFields) &&
      (FState == dsEdit || FState == dsInsert))
    GetCalcFields(ActiveBuffer());
}

void TDataSet::InitRecord(char* Buffer) {
  InternalInitRecord(Buffer);
  ClearCalcFields(Buffer);
  SetBookmarkFlag(Buffer, bfInserted);
}

// --- Values in other states ----------------------------------------------------------------------

Variant TDataSet::GetStateFieldValue(TDataSetState AState, TField* Field) {
  if (Field->FieldKind() != fkData && Field->FieldKind() != fkInternalCalc) return Variant::Null();
  TDataSetState SaveState = SetTempState(AState);
  Variant Result;
  TScopeGuard restoreState([&] { RestoreState(SaveState); });
  Result = Field->Value();
  return Result;
}

void TDataSet::SetStateFieldValue(TDataSetState AState, TField* Field, const Variant& Value) {
  TDataSetState SaveState = SetTempState(AState);
  TScopeGuard restoreState([&] { RestoreState(SaveState); });
  Field->SetValue(Value);
}

TStream* TDataSet::CreateBlobStream(TField* Field, TBlobStreamMode) {
  DatabaseErrorFmt(DBConsts::SNoFieldType, {Field->FieldName()}, this);
}

bool TDataSet::GetCurrentRecord(char*) { return false; }

bool TDataSet::BookmarkValid(const TBookmark&) { return false; }

int TDataSet::CompareBookmarks(const TBookmark&, const TBookmark&) { return 0; }

// --- The record-buffer window --------------------------------------------------------------------

bool TDataSet::CheckBuffers() const {
  if (FBufferCount < 0 || FRecordCount < 0 || FRecordCount > FBufferCount) return false;
  if (FBufferCount > 0 && int(FBuffers.size()) != FBufferCount + 1) return false;
  if (FRecordCount > 0 && (FActiveRecord < 0 || FActiveRecord >= FRecordCount)) return false;
  return FCurrentRecord >= -1 && FCurrentRecord <= FBufferCount;
}

void TDataSet::SetBufListSize(int Value) {
  // Value window buffers and the spare one; none at all when closed.
  std::size_t Wanted = Value > 0 ? std::size_t(Value) + 1 : 0;
  while (FBuffers.size() > Wanted) {
    char* Buffer = FBuffers.back();
    FBuffers.pop_back();
    FreeRecordBuffer(Buffer);
  }
  while (FBuffers.size() < Wanted) FBuffers.push_back(AllocRecordBuffer());
}

void TDataSet::SetBufferCount(int Value) {
  if (Value < 1) Value = 1;
  if (FBufferCount == Value) return;
  if (Value < FBufferCount && FRecordCount > Value) {
    // Keep the active record: drop records after it first, then before it.
    int Remove = FRecordCount - Value;
    int AfterActive = FRecordCount - 1 - FActiveRecord;
    int Before = Remove > AfterActive ? Remove - AfterActive : 0;
    for (int i = 0; i < Before; ++i) MoveBuffer(0, FRecordCount - 1);
    FActiveRecord -= Before;
    FRecordCount = Value;
    for (TDataSource* Source : FDataSources)
      for (TDataLink* Link : Source->FDataLinks) {
        Link->FFirstRecord -= Before;
        if (Link->FFirstRecord < 0) Link->FFirstRecord = 0;
      }
    CursorPosChanged();
  }
  // The spare buffer moves with the window: it is the one after the last window buffer.
  SetBufListSize(Value);
  FBufferCount = Value;
  if (FCurrentRecord >= FBufferCount) CursorPosChanged();
  GetNextRecords();
  int Added = GetPriorRecords();
  if (Added > 0)
    for (TDataSource* Source : FDataSources)
      for (TDataLink* Link : Source->FDataLinks) Link->FFirstRecord += Added;
  assert(CheckBuffers());
}

void TDataSet::UpdateBufferCount() {
  if (!IsCursorOpen()) return;
  int Max = 1;
  for (TDataSource* Source : FDataSources)
    for (TDataLink* Link : Source->FDataLinks)
      if (Link->FBufferCount > Max) Max = Link->FBufferCount;
  SetBufferCount(Max);
}

void TDataSet::ClearBuffers() {
  FRecordCount = 0;
  FActiveRecord = 0;
  FCurrentRecord = -1;
  FBOF = true;
  FEOF = true;
}

void TDataSet::ActivateBuffers() {
  FRecordCount = 1;
  FActiveRecord = 0;
  FCurrentRecord = 0;
  FBOF = false;
  FEOF = false;
}

void TDataSet::SetCurrentRecord(int Index) {
  if (FCurrentRecord == Index) return;
  char* Buffer = FBuffers[std::size_t(Index)];
  switch (GetBookmarkFlag(Buffer)) {
    case bfCurrent:
    case bfInserted:
      InternalSetToRecord(Buffer);
      break;
    case bfBOF:
      InternalFirst();
      break;
    case bfEOF:
      InternalLast();
      break;
  }
  FCurrentRecord = Index;
}

void TDataSet::UpdateCursorPos() {
  if (FRecordCount > 0) SetCurrentRecord(FActiveRecord);
}

void TDataSet::MoveBuffer(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  char* Buffer = FBuffers[std::size_t(CurIndex)];
  if (CurIndex < NewIndex) {
    for (int i = CurIndex; i < NewIndex; ++i) FBuffers[std::size_t(i)] = FBuffers[std::size_t(i) + 1];
  } else {
    for (int i = CurIndex; i > NewIndex; --i) FBuffers[std::size_t(i)] = FBuffers[std::size_t(i) - 1];
  }
  FBuffers[std::size_t(NewIndex)] = Buffer;
}

bool TDataSet::GetNextRecord() {
  TGetMode Mode = gmNext;
  if (FRecordCount > 0) {
    SetCurrentRecord(FRecordCount - 1);
    // A record being inserted is not yet in the cursor: the cursor stands on the record it was
    // inserted before, which is the next one.
    if (FState == dsInsert && FCurrentRecord == FActiveRecord && GetBookmarkFlag(ActiveBuffer()) == bfCurrent)
      Mode = gmCurrent;
  }
  bool Result = GetRecord(FBuffers[std::size_t(FRecordCount)], Mode, true) == grOK;
  if (Result) {
    if (FRecordCount == 0) {
      ActivateBuffers();
    } else if (FRecordCount < FBufferCount) {
      ++FRecordCount;
    } else {
      MoveBuffer(0, FRecordCount);
    }
    FCurrentRecord = FRecordCount - 1;
  } else {
    CursorPosChanged();
  }
  return Result;
}

bool TDataSet::GetPriorRecord() {
  if (FRecordCount > 0) SetCurrentRecord(0);
  bool Result = GetRecord(FBuffers[std::size_t(FRecordCount)], gmPrior, true) == grOK;
  if (Result) {
    if (FRecordCount == 0) {
      ActivateBuffers();
    } else {
      MoveBuffer(FRecordCount, 0);
      if (FRecordCount < FBufferCount) {
        ++FRecordCount;
        ++FActiveRecord;
      }
    }
    FCurrentRecord = 0;
  } else {
    CursorPosChanged();
  }
  return Result;
}

int TDataSet::GetNextRecords() {
  int Result = 0;
  while (FRecordCount < FBufferCount && GetNextRecord()) ++Result;
  return Result;
}

int TDataSet::GetPriorRecords() {
  int Result = 0;
  while (FRecordCount < FBufferCount && GetPriorRecord()) ++Result;
  return Result;
}

bool TDataSet::BookmarkAvailable() {
  return (FState == dsBrowse || FState == dsEdit || FState == dsInsert) && !IsEmpty() &&
         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark() {
  TBookmark Result;
  if (BookmarkAvailable() && FBookmarkSize > 0) {
    Result.resize(std::size_t(FBookmarkSize));
    GetBookmarkData(ActiveBuffer(), Result.data());
  }
  return Result;
}

// --- Events --------------------------------------------------------------------------------------

void TDataSet::DoBeforeOpen() { if (BeforeOpen) BeforeOpen(this); }
void TDataSet::DoAfterOpen() {
  if (AfterOpen) AfterOpen(this);
  if (!IsEmpty()) DoAfterScroll();
}
void TDataSet::DoBeforeClose() { if (BeforeClose) BeforeClose(this); }
void TDataSet::DoAfterClose() { if (AfterClose) AfterClose(this); }
void TDataSet::DoBeforeInsert() { if (BeforeInsert) BeforeInsert(this); }
void TDataSet::DoAfterInsert() { if (AfterInsert) AfterInsert(this); }
void TDataSet::DoBeforeEdit() { if (BeforeEdit) BeforeEdit(this); }
void TDataSet::DoAfterEdit() { if (AfterEdit) AfterEdit(this); }
void TDataSet::DoBeforePost() { if (BeforePost) BeforePost(this); }
void TDataSet::DoAfterPost() { if (AfterPost) AfterPost(this); }
void TDataSet::DoBeforeCancel() { if (BeforeCancel) BeforeCancel(this); }
void TDataSet::DoAfterCancel() { if (AfterCancel) AfterCancel(this); }
void TDataSet::DoBeforeDelete() { if (BeforeDelete) BeforeDelete(this); }
void TDataSet::DoAfterDelete() { if (AfterDelete) AfterDelete(this); }
void TDataSet::DoBeforeScroll() { if (BeforeScroll && !FSearching) BeforeScroll(this); }
void TDataSet::DoAfterScroll() { if (AfterScroll && !FSearching) AfterScroll(this); }
void TDataSet::DoBeforeRefresh() { if (BeforeRefresh) BeforeRefresh(this); }
void TDataSet::DoAfterRefresh() { if (AfterRefresh) AfterRefresh(this); }
void TDataSet::DoOnNewRecord() { if (OnNewRecord) OnNewRecord(this); }
void TDataSet::DoOnCalcFields() { if (OnCalcFields) OnCalcFields(this); }
