// This file implements the dataset side of the in-memory table: creation, attachment, opening
// and closing, the cursor over the current index, bookmarks, record counts and numbers, index
// selection, filtering, master/detail and searches.
#include "qmtMemTable.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "Field.h"
#include "FieldDefs.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TqmtCustomMemTable)
VELBOR_IMPLEMENT_CLASS(TqmtMemTable)

// What forms set on a table placed on them.
VELBOR_PUBLISHED(TqmtMemTable,
  Prop("MasterSource", &Self::MasterSource, &Self::SetMasterSource),
  Prop("MasterFields", &Self::MasterFields, &Self::SetMasterFields),
  Prop("DetailFields", &Self::DetailFields, &Self::SetDetailFields),
  Prop("DesignActivation", &Self::DesignActivation).Default(true),
  Prop("AttachedAutoRefresh", &Self::AttachedAutoRefresh).Default(true),
  Prop("AttachMaxCount", &Self::AttachMaxCount, &Self::SetAttachMaxCount).Default(1),
  Prop("AutoIncMinValue", &Self::AutoIncMinValue, &Self::SetAutoIncMinValue).Default(0),
  Prop("EnableIndexes", &Self::EnableIndexes).Default(true),
  Prop("AutoAddIndexes", &Self::AutoAddIndexes).Default(false),
  Prop("AutoReposition", &Self::AutoReposition).Default(false),
  Prop("IndexFieldNames", &Self::IndexFieldNames, &Self::SetIndexFieldNames),
  Prop("IndexName", &Self::IndexName, &Self::SetIndexName),
  Prop("RecalcOnIndex", &Self::RecalcOnIndex).Default(false),
  Prop("RecalcOnFetch", &Self::RecalcOnFetch).Default(true),
  Prop("SortFields", &Self::SortFields),
  Prop("SortOptions", &Self::SortOptions).Default(0),
  Prop("ReadOnly", &Self::ReadOnly).Default(false),
  Prop("Performance", &Self::Performance, &Self::SetPerformance).Default(mtpfFast),
  Prop("Standalone", &Self::Standalone, &Self::SetStandalone).Default(false),
  Prop("PersistentFile", &Self::PersistentFile),
  Prop("StoreDataOnForm", &Self::StoreDataOnForm).Default(false),
  Prop("Persistent", &Self::Persistent).Default(false),
  Prop("PersistentBackup", &Self::PersistentBackup).Default(false),
  Prop("PersistentBackupExt", &Self::PersistentBackupExt),
  Prop("ProgressFlags", &Self::ProgressFlags),
  Prop("LoadLimit", &Self::LoadLimit).Default(-1),
  Prop("SaveLimit", &Self::SaveLimit).Default(-1),
  Prop("EnableVersioning", &Self::EnableVersioning, &Self::SetEnableVersioning).Default(false),
  Prop("VersioningMode", &Self::VersioningMode, &Self::SetVersioningMode).Default(mtvm1SinceCheckPoint),
  Prop("Version", &Self::Version, &Self::SetVersion),
  Prop("RangeIgnoreNullKeyValues", &Self::RangeIgnoreNullKeyValues).Default(true),
  Prop("OnProgress", &Self::OnProgress),
  Prop("OnLoadRecord", &Self::OnLoadRecord),
  Prop("OnSaveRecord", &Self::OnSaveRecord),
  Prop("OnLoadField", &Self::OnLoadField),
  Prop("OnSaveField", &Self::OnSaveField),
  Prop("OnSave", &Self::OnSave),
  Prop("OnLoad", &Self::OnLoad),
  Prop("OnSetupFieldProperties", &Self::OnSetupFieldProperties),
  Prop("OnFilterIndex", &Self::OnFilterIndex))

// --- Creation and attachment ---------------------------------------------------------------------------

TqmtCustomMemTable::TqmtCustomMemTable(TComponent* AOwner) : TDataSet(AOwner) {
  CreateOwnStore();
  FMasterLink = new TMasterDataLink(this);
}

TqmtCustomMemTable::~TqmtCustomMemTable() {
  Destroying();
  Close();
  SetDeltaHandler(nullptr);
  delete FMasterLink;
  if (FMasterKey) FStore->FreeRecord(FMasterKey, true, false);
  FIndexes.reset();
  if (FOwnsStore) {
    // Tables still attached lose their store with this one.
    for (TqmtCustomMemTable* T : FStore->AttachedTables())
      if (T && T != this) {
        T->Close();
        T->FAttachedTo = nullptr;
        T->FStore = nullptr;
        T->FIndexes.reset();
        T->CreateOwnStore();
      }
    delete FStore;
  } else {
    FStore->Detach(this);
  }
}

void TqmtCustomMemTable::CreateOwnStore() {
  FStore = new TqmtCommon(this);
  FStore->Hooks = this;
  FStore->AnyTableActive = [this] { return AnyAttachedActive(); };
  FOwnsStore = true;
  FAttachIndex = 0;
  FIndexes = std::make_unique<TqmtIndexes>(this);
}

bool TqmtCustomMemTable::AnyAttachedActive() const {
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T->Active()) return true;
  return false;
}

void TqmtCustomMemTable::SetAttachedTo(TqmtCustomMemTable* Value) {
  if (Value == FAttachedTo) return;
  if (Value == this) throw EMemTableError("Cant attach memorytable to it self.");
  if (Value && Value->FAttachedTo) throw EMemTableError("Cant attach to another table which itself is an attachment.");
  Close();
  if (FAttachedTo) {
    FAttachedTo->RemoveFreeNotification(this);
    FStore->Detach(this);
    FAttachedTo = nullptr;
    FIndexes.reset();
    CreateOwnStore();
  }
  if (!Value) return;
  TqmtCommon* Other = Value->FStore;
  Other->Attach(this);  // when refused, this table keeps its own store
  FIndexes.reset();
  delete FStore;
  FStore = Other;
  FOwnsStore = false;
  FIndexes = std::make_unique<TqmtIndexes>(this);
  const auto& List = Other->AttachedTables();
  FAttachIndex = int(std::find(List.begin(), List.end(), this) - List.begin());
  FAttachedTo = Value;
  Value->FreeNotification(this);
  // The same columns as the owner; fields of the owner that this table lacks are made here.
  FieldDefs()->Clear();
  Value->InitFieldDefs();
  for (int I = 0; I < Value->FieldDefs()->Count(); ++I) {
    TFieldDef* D = Value->FieldDefs()->Items(I);
    FieldDefs()->Add(D->Name(), D->DataType(), D->Size(), D->Required());
  }
}

void TqmtCustomMemTable::SetStandalone(bool Value) {
  if (Value == Standalone()) return;
  if (Active()) throw EMemTableError("Table must be closed for this operation.");
  if (FAttachedTo) throw EMemTableError("Table is attached to another table.");
  FStore->SetStandalone(Value);
}

void TqmtCustomMemTable::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FAttachedTo) {
    FAttachedTo = nullptr;  // the owner's destructor gave this table a store of its own
  }
  if (AComponent == FDeltaHandler) FDeltaHandler = nullptr;
  if (AComponent == PersistentFormat) PersistentFormat = nullptr;
  if (AComponent == FormFormat) FormFormat = nullptr;
  if (AComponent == DefaultFormat) DefaultFormat = nullptr;
  if (FMasterLink && AComponent == FMasterLink->DataSource()) FMasterLink->SetDataSource(nullptr);
}

// --- Lock, progress, events ----------------------------------------------------------------------------

void TqmtCustomMemTable::LockStore() {
  FStore->EnterLock();
  FStore->SetDataEventsSuppressed(true);
}

void TqmtCustomMemTable::UnlockStore() {
  FStore->SetDataEventsSuppressed(false);
  FStore->LeaveLock();
}

void TqmtCustomMemTable::DataEvent(TDataEvent Event, intptr_t Info) {
  if (FStore && FStore->DataEventsSuppressed()) return;
  TDataSet::DataEvent(Event, Info);
}

void TqmtCustomMemTable::ReportProgress(int Percent, TqmtProgressCode Code) {
  if (OnProgress && ProgressFlags.Contains(Code)) OnProgress(this, Percent, Code);
}

// --- Opening and closing -------------------------------------------------------------------------------

std::vector<TqmtColumnDef> TqmtCustomMemTable::ColumnDefs() {
  std::vector<TqmtColumnDef> Result;
  for (int I = 0; I < FieldDefs()->Count(); ++I) {
    TFieldDef* D = FieldDefs()->Items(I);
    Result.push_back({D->Name(), D->DataType(), D->Size()});
  }
  return Result;
}

void TqmtCustomMemTable::InternalInitFieldDefs() {
  if (FAttachedTo) {
    FAttachedTo->InitFieldDefs();
    FieldDefs()->Clear();
    for (int I = 0; I < FAttachedTo->FieldDefs()->Count(); ++I) {
      TFieldDef* D = FAttachedTo->FieldDefs()->Items(I);
      FieldDefs()->Add(D->Name(), D->DataType(), D->Size(), D->Required());
    }
    return;
  }
  if (FieldCount() > 0 && !DefaultFields()) {
    InitFieldDefsFromFields();
    FAutoIncField = nullptr;
    for (int I = 0; I < FieldCount() && !FAutoIncField; ++I)
      if (Fields()->Fields(I)->DataType() == ftAutoInc) FAutoIncField = Fields()->Fields(I);
    FStore->SetAutoIncValue(FStore->AutoIncMinValue() - 1);
  }
}

void TqmtCustomMemTable::InternalOpen() {
  if (FAttachedTo && !FAttachedTo->Active()) FAttachedTo->Open();
  TqmtStoreLock L(FStore);
  InternalInitFieldDefs();
  if (DefaultFields()) {
    if (!FAttachedTo && FieldDefs()->Count() == 0) throw EMemTableError("There must be at least one field");
    CreateFields();
  }
  FAutoIncField = nullptr;
  for (int I = 0; I < FieldCount() && !FAutoIncField; ++I)
    if (Fields()->Fields(I)->DataType() == ftAutoInc && Fields()->Fields(I)->FieldKind() == fkData)
      FAutoIncField = Fields()->Fields(I);
  FBookmarkSize = QMT_BOOKMARK_SIZE;
  BindFields(true);
  if (!FAttachedTo) {
    std::vector<TqmtColumnDef> Cols = ColumnDefs();
    FStore->ComputeRecordLayout(Cols, CalcFieldsSize(), [this](int Column, std::uint8_t& Flags) {
      if (OnSetupField) OnSetupField(this, FieldByNumber(Column + 1), Flags);
    });
  }
  FCursorOpen = true;
  FCursor = -1;
  FRepositionTarget = -1;
  for (const TqmtIndexDef& D : FIndexDefs)
    if (!FIndexes->Find(D.Name)) FIndexes->Add(CreateIndexFromDef(D));
  FIndexes->SetCurrent(nullptr);
  FCurrentFields.Clear();
  FMasterFieldList.Clear();
  FDetailFieldList.Clear();
  if (MasterSource() && MasterSource()->DataSet() && !MasterFields().empty() && MasterSource()->DataSet()->Active())
    ParseFieldList(MasterSource()->DataSet(), FMasterFieldList, MasterFields());
  if (!FDetailFields.empty()) ParseFieldList(this, FDetailFieldList, FDetailFields);
}

void TqmtCustomMemTable::Loaded() {
  if (DesignActivation) {
    TDataSet::Loaded();
  } else {
    TComponent::Loaded();  // skips the dataset's opening of a streamed Active
  }
}

void TqmtCustomMemTable::DoAfterOpen() {
  if (FAfterOpenRunning) return;
  FAfterOpenRunning = true;
  {
    TScopeGuard running([&] { FAfterOpenRunning = false; });
    FIndexes->MarkAllUnordered();
    ReconcileIndexes();
    if (!FIndexFieldNames.empty()) SetIndexFieldNames(String(FIndexFieldNames));
    else if (!FIndexName.empty()) SelectIndex(FIndexes->Find(FIndexName));
    if (FFormData && StoreDataOnForm) {
      std::unique_ptr<TMemoryStream> Data = std::move(FFormData);
      Data->SetPosition(0);
      LoadThroughFormat(Data.get(), FormFormat);
    }
    FFormData.reset();
    if (Persistent && !PersistentFile.empty() && PersistentFormat && OsPort::FileExists(PersistentFile)) {
      Persistent = false;
      {
        TScopeGuard persistent([&] { Persistent = true; });
        LoadFromFile(PersistentFile, PersistentFormat);
      }
      First();
    }
    FPersistentSaved = false;
    ParseFilter();
    UpdateFilterNeed();
    if (FFilterNeed) {
      ClearBuffers();
      First();
    }
  }
  TDataSet::DoAfterOpen();
}

void TqmtCustomMemTable::DoBeforeClose() {
  if (State() == dsEdit || State() == dsInsert) Cancel();
  if (Persistent) SavePersistentFile();
  TDataSet::DoBeforeClose();
}

void TqmtCustomMemTable::InternalClose() {
  {
    TqmtStoreLock L(FStore);
    if (!FAttachedTo) {
      ReportProgress(0, mtpcEmpty);
      EmptyAllTables();
      ReportProgress(100, mtpcEmpty);
      CloseOthers();
    }
  }
  FCursor = -1;
  FIndexes->Clear();
  FCurrentFields.Clear();
  FCursorOpen = false;
  FFilterExpr.reset();
  if (FMasterKey) {
    FStore->FreeRecord(FMasterKey, true, false);
    FMasterKey = nullptr;
  }
  BindFields(false);
  if (DefaultFields()) DestroyFields();
}

void TqmtCustomMemTable::EmptyAllTables() {
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T->Active() && T != this) {
      T->ClearBuffers();
      T->FIndexes->EmptyAll();
      T->FCursor = -1;
    }
  FIndexes->EmptyAll();
  FCursor = -1;
  FStore->Empty();
}

void TqmtCustomMemTable::CloseOthers() {
  const auto& List = FStore->AttachedTables();
  for (int I = int(List.size()) - 1; I >= 0; --I)
    if (List[std::size_t(I)] && List[std::size_t(I)] != this) List[std::size_t(I)]->Close();
}

void TqmtCustomMemTable::RefreshOthers() {
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T != this && T->State() == dsBrowse) T->Refresh();
}

void TqmtCustomMemTable::RebuildAttachedIndexes() {
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T->Active()) {
      T->FIndexes->MarkAllUnordered();
      T->ReconcileIndexes();
      T->FCursor = std::min(T->FCursor, T->FIndexes->Current()->Count());
    }
}

void TqmtCustomMemTable::EmptyTable() {
  CheckActive();
  CheckBrowseMode();
  {
    TqmtStoreLock L(FStore);
    ReportProgress(0, mtpcEmpty);
    for (TqmtCustomMemTable* T : FStore->AttachedTables())
      if (T && T->Active()) {
        T->FIndexes->EmptyAll();
        for (int I = 0; I < T->FIndexes->Count(); ++I) T->FIndexes->Items(I)->SetOrdered(true);
        T->FCursor = -1;
      }
    FStore->Empty();
    ReportProgress(100, mtpcEmpty);
  }
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T->Active()) {
      T->UpdateFilterNeed();
      T->ClearBuffers();
      T->DataEvent(deDataSetChange, 0);
    }
}

// --- Buffers and the cursor ----------------------------------------------------------------------------

char* TqmtCustomMemTable::AllocRecordBuffer() { return reinterpret_cast<char*>(FStore->NewRecord()); }

void TqmtCustomMemTable::FreeRecordBuffer(char*& Buffer) {
  if (Buffer) FStore->FreeRecord(Row(Buffer), true, false);
  Buffer = nullptr;
}

void TqmtCustomMemTable::InternalInitRecord(char* Buffer) {
  TqmtRow* R = Row(Buffer);
  FStore->ReleaseBuffers(R);
  std::memset(R->Values, 0, std::size_t(FStore->DataSize()));
  R->Position = -1;
  R->SlotId = -1;
  R->UniqueId = -1;
  R->Flags = 0;
  R->Status = 0;
  R->TxLevel = -1;
  R->UserTag = 0;
  R->PriorVersion = nullptr;
}

TqmtRow* TqmtCustomMemTable::StoreRecordAtCursor() const {
  TqmtIndex* I = FIndexes->Current();
  if (FCursor < 0 || FCursor >= I->Count()) return nullptr;
  return I->Entry(FCursor);
}

bool TqmtCustomMemTable::MoveNext(bool Forced) {
  int N = FIndexes->Current()->Count();
  if (Forced || FFilterNeed) {
    while (FCursor < N - 1) {
      ++FCursor;
      if (IsRecordVisible(FIndexes->Current()->Entry(FCursor), Forced)) return true;
    }
    return false;
  }
  if (FCursor >= N - 1) return false;
  ++FCursor;
  return true;
}

bool TqmtCustomMemTable::MovePrior(bool Forced) {
  int N = FIndexes->Current()->Count();
  if (FCursor > N) FCursor = N;
  if (Forced || FFilterNeed) {
    while (FCursor > 0) {
      --FCursor;
      if (IsRecordVisible(FIndexes->Current()->Entry(FCursor), Forced)) return true;
    }
    return false;
  }
  if (FCursor <= 0) return false;
  --FCursor;
  return true;
}

TGetResult TqmtCustomMemTable::GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) {
  TqmtStoreLock L(FStore);
  TqmtIndex* I = FIndexes->Current();
  TGetResult Result = grOK;
  switch (GetMode) {
    case gmCurrent:
      if (FCursor >= I->Count()) Result = grEOF;
      else if (FCursor < 0) Result = grBOF;
      else if (FFilterNeed && !IsRecordVisible(I->Entry(FCursor), false)) Result = grEOF;
      break;
    case gmNext: Result = MoveNext(false) ? grOK : grEOF; break;
    case gmPrior: Result = MovePrior(false) ? grOK : grBOF; break;
  }
  if (GetMode == gmNext && Result == grEOF) FCursor = I->Count();
  if (GetMode == gmPrior && Result == grBOF) FCursor = -1;
  if (Result != grOK && GetMode == gmCurrent) {
    if (DoCheck) DatabaseError(DBConsts::SBookmarkNotFound, this);
    return grError;
  }
  if (Result != grOK) return Result;
  TqmtRow* B = Row(Buffer);
  TqmtRow* S = I->Entry(FCursor);
  InternalInitRecord(Buffer);
  FStore->CopyRecord(S, B);
  B->Position = FCursor;
  B->Flags = 0;
  TqmtBookmarkEntry* E = FStore->BookmarkEntry(B, FAttachIndex);
  E->UniqueId = S->UniqueId;
  E->SlotId = S->SlotId;
  E->Flag = bfCurrent;
  if (RecalcOnFetch) GetCalcFields(Buffer);
  return grOK;
}

void TqmtCustomMemTable::InternalSetToRecord(char* Buffer) {
  TqmtRow* B = Row(Buffer);
  if (B->Position < 0) {
    TqmtBookmark BM;
    GetBookmarkData(Buffer, &BM);
    InternalGotoBookmark(&BM);
  } else {
    FCursor = B->Position;
  }
}

// --- Bookmarks -----------------------------------------------------------------------------------------

void TqmtCustomMemTable::GetBookmarkData(char* Buffer, void* Data) {
  const TqmtBookmarkEntry* E = FStore->BookmarkEntry(Row(Buffer), FAttachIndex);
  TqmtBookmark B{FStore->DataId(), E->UniqueId, E->SlotId};
  std::memcpy(Data, &B, sizeof B);
}

void TqmtCustomMemTable::SetBookmarkData(char* Buffer, const void* Data) {
  TqmtBookmark B;
  std::memcpy(&B, Data, sizeof B);
  TqmtBookmarkEntry* E = FStore->BookmarkEntry(Row(Buffer), FAttachIndex);
  E->UniqueId = B.UniqueId;
  E->SlotId = B.SlotId;
}

TBookmarkFlag TqmtCustomMemTable::GetBookmarkFlag(char* Buffer) {
  return TBookmarkFlag(FStore->BookmarkEntry(Row(Buffer), FAttachIndex)->Flag);
}

void TqmtCustomMemTable::SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) {
  FStore->BookmarkEntry(Row(Buffer), FAttachIndex)->Flag = std::uint8_t(Value);
}

namespace {
bool ReadBookmark(const TBookmark& B, TqmtBookmark& Out) {
  if (B.size() != sizeof(TqmtBookmark)) return false;
  std::memcpy(&Out, B.data(), sizeof Out);
  return true;
}
}  // namespace

// The live record a bookmark names: null when it is malformed, gone, replaced or deleted.
TqmtRow* TqmtCustomMemTable::BookmarkRecord(const TBookmark& Bookmark) const {
  TqmtBookmark B;
  if (!ReadBookmark(Bookmark, B)) return nullptr;
  TqmtRow* R = FStore->ResolveBookmark(B);
  return R && R->Status != qrsDeleted ? R : nullptr;
}

bool TqmtCustomMemTable::BookmarkValid(const TBookmark& Bookmark) {
  if (!Active()) return false;
  TqmtStoreLock L(FStore);
  return BookmarkRecord(Bookmark) != nullptr;
}

int TqmtCustomMemTable::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) {
  TqmtStoreLock L(FStore);
  // An invalid bookmark compares equal to anything, as BookmarkValid judges it.
  TqmtRow* R1 = BookmarkRecord(Bookmark1);
  TqmtRow* R2 = BookmarkRecord(Bookmark2);
  if (!R1 || !R2) return 0;
  TqmtIndex* I = FIndexes->Current();
  int R;
  if (I->IsRowOrder()) {
    int P1 = I->FindRecord(R1), P2 = I->FindRecord(R2);
    R = P1 - P2;
  } else {
    R = I->CompareOrder(R1, R2, true);
  }
  return R < 0 ? -1 : (R > 0 ? 1 : 0);
}

void TqmtCustomMemTable::InternalGotoBookmark(const void* Bookmark) {
  if (!Bookmark) throw EMemTableError(Format("Bookmark %d not found.", {-200}));
  TqmtBookmark B;
  std::memcpy(&B, Bookmark, sizeof B);
  TqmtStoreLock L(FStore);
  // A bookmark whose record was deleted, replaced in its slot, or emptied away is refused: the
  // cursor never lands on another record by accident.
  TqmtRow* R = FStore->ResolveBookmark(B);
  int P = R ? FIndexes->Current()->FindRecord(R) : -1;
  if (P < 0) throw EMemTableError(Format("Bookmark %d not found.", {B.UniqueId}));
  FCursor = P;
}

// --- Counts and numbers ----------------------------------------------------------------------------------

int TqmtCustomMemTable::GetRecordCount() {
  CheckActive();
  TqmtStoreLock L(FStore);
  if (!FFilterNeed) return FIndexes->Current()->Count();
  int Count = 0;
  int Save = FCursor;
  TDataSetState SaveState = SetTempState(dsBrowse);
  TScopeGuard restoreState([&] {
    FCursor = Save;
    RestoreState(SaveState);
  });
  FCursor = -1;
  while (MoveNext(false)) ++Count;
  return Count;
}

int TqmtCustomMemTable::GetRecNo() {
  if (State() == dsInactive || !ActiveBuffer() || IsEmpty()) return -1;
  int P = Row(ActiveBuffer())->Position;
  return P >= 0 ? P + 1 : -1;
}

void TqmtCustomMemTable::SetRecNo(int Value) {
  CheckActive();
  int Current = RecNo();
  if (Value == Current || Value < 1 || Value > FIndexes->Current()->Count()) return;
  if (FFilterNeed) {
    MoveBy(Value - Current);
  } else {
    CheckBrowseMode();
    DoBeforeScroll();
    FCursor = Value - 1;
    Resync(TResyncMode{rmCenter});
    DoAfterScroll();
  }
  CursorPosChanged();
}

bool TqmtCustomMemTable::FindRecord(bool Restart, bool GoForward) {
  CheckBrowseMode();
  DoBeforeScroll();
  SetFound(false);
  UpdateCursorPos();
  CursorPosChanged();
  bool Reached;
  if (GoForward) {
    if (Restart) ResetCursor();
    Reached = MoveNext(true);
  } else {
    if (Restart) CursorToEnd();
    Reached = MovePrior(true);
  }
  if (Reached) {
    Resync(TResyncMode{rmExact});
    SetFound(true);
    DoAfterScroll();
  }
  return Reached;
}

// --- Indexes -------------------------------------------------------------------------------------------

void TqmtCustomMemTable::ParseFieldList(TDataSet* DataSet, TqmtFieldList& List, const String& FieldNames) {
  List.Clear();
  std::size_t Start = 0;
  while (Start <= FieldNames.size()) {
    std::size_t End = FieldNames.find(';', Start);
    if (End == String::npos) End = FieldNames.size();
    String Item = Trim(FieldNames.substr(Start, End - Start));
    Start = End + 1;
    if (Item.empty()) {
      if (End == FieldNames.size()) break;
      continue;
    }
    std::uint8_t Opt = 0;
    std::size_t Colon = Item.find(':');
    if (Colon != String::npos) {
      String O = UpperCase(Item.substr(Colon + 1));
      Item = Trim(Item.substr(0, Colon));
      if (O.find('C') != String::npos) Opt |= mtcoCaseInsensitive;
      if (O.find('D') != String::npos) Opt |= mtcoDescending;
      if (O.find('N') != String::npos) Opt |= mtcoIgnoreNullKey;
      if (O.find('P') != String::npos) Opt |= mtcoPartialKey;
      if (O.find('L') != String::npos) Opt |= mtcoIgnoreLocale;
    }
    TField* F = DataSet->FieldByName(Item);
    TFieldType T = F->DataType();
    if (F->FieldKind() == fkAggregate || !QmtIsSupportedType(T) || T == ftBytes || T == ftVarBytes ||
        QmtIsBlobType(T))
      DatabaseErrorFmt("Can't index on field %s", {F->DisplayName()});
    if (F->FieldKind() == fkCalculated && DataSet == this) RecalcOnIndex = true;
    TqmtFieldList::Entry E;
    E.Field = F;
    E.FieldNo = F->FieldNo();
    E.DataType = T;
    E.Size = F->Size();
    E.Options = Opt;
    E.Offset = E.FieldNo >= 1 && DataSet == this ? FStore->FieldOffset(E.FieldNo) : F->Offset();
    List.Add(E);
  }
}

namespace {
// Sets Bit on the entries of List whose field is named in Names, clears it on the others.
void ApplyBit(TqmtCustomMemTable* T, TqmtFieldList& List, const String& Names, std::uint8_t Bit) {
  TqmtFieldList Named;
  if (!Names.empty()) T->ParseFieldList(T, Named, Names);
  for (int I = 0; I < List.Count(); ++I) {
    if (Named.IndexOf(List[I].Field) >= 0) List[I].Options |= Bit;
    else List[I].Options &= std::uint8_t(~Bit);
  }
}
}  // namespace

TqmtIndex* TqmtCustomMemTable::CreateIndexFromDef(const TqmtIndexDef& Def) {
  if (Def.Name.empty() || Def.Fields.empty()) throw EMemTableError("Missing Name or FieldNames in IndexDef!");
  TqmtFieldList List;
  ParseFieldList(this, List, Def.Fields);
  std::uint8_t Opt = 0;
  if (Def.Options.Contains(ixUnique)) Opt |= mtcoUnique;
  if (Def.Options.Contains(ixNonMaintained)) Opt |= mtcoNonMaintained;
  if (Def.Options.Contains(ixDescending)) {
    Opt |= mtcoDescending;
    ApplyBit(this, List, Def.DescFields, mtcoDescending);
  }
  if (Def.Options.Contains(ixCaseInsensitive)) {
    Opt |= mtcoCaseInsensitive;
    // Without a list of fields, every field of the index folds case.
    if (Def.CaseInsFields.empty()) {
      for (int I = 0; I < List.Count(); ++I) List[I].Options |= mtcoCaseInsensitive;
    } else {
      ApplyBit(this, List, Def.CaseInsFields, mtcoCaseInsensitive);
    }
  }
  auto* I = new TqmtIndex(Def.Name, this, List, Def.Fields, Opt, 1, false);
  I->StatusSet = Def.StatusSet;
  return I;
}

void TqmtCustomMemTable::ReconcileIndexes() {
  if (!Active() && !FCursorOpen) return;
  TqmtIndex* Current = FIndexes->Current();
  bool CurrentChanged = false;
  for (int I = FIndexes->Count() - 1; I >= 1; --I) {
    TqmtIndex* X = FIndexes->Items(I);
    bool HasDef = std::any_of(FIndexDefs.begin(), FIndexDefs.end(),
                              [&](const TqmtIndexDef& D) { return SameText(D.Name, X->Name()); });
    if (!HasDef) {
      if (X == Current) {
        CurrentChanged = true;
        FIndexFieldNames.clear();
      }
      FIndexes->Delete(X);
    }
  }
  for (const TqmtIndexDef& D : FIndexDefs)
    if (!FIndexes->Find(D.Name)) FIndexes->Add(CreateIndexFromDef(D));
  for (int I = 0; I < FIndexes->Count(); ++I) {
    TqmtIndex* X = FIndexes->Items(I);
    if (!X->Ordered()) {
      X->ReloadAndSort();
      if (X == FIndexes->Current()) CurrentChanged = true;
    }
  }
  if (CurrentChanged) {
    FCurrentFields = FIndexes->Current()->Fields();
    FCursor = std::min(FCursor, FIndexes->Current()->Count());
  }
}

void TqmtCustomMemTable::SelectIndex(TqmtIndex* Index) {
  if (!Index) Index = FIndexes->RowOrder();
  if (Index == FIndexes->Current() && Index->Ordered()) return;
  int SlotId = -1;
  if (Active()) {
    CheckBrowseMode();
    if (ActiveBuffer() && !IsEmpty()) SlotId = Row(ActiveBuffer())->SlotId;
  }
  try {
    if (!Index->Ordered()) Index->ReloadAndSort();
    if (Index->Internal()) {
      FIndexFieldNames.clear();
      FIndexName.clear();
    } else {
      FIndexFieldNames = Index->FieldNames();
      FIndexName = Index->Name();
    }
    FIndexes->SetCurrent(Index);
    FCurrentFields = Index->Fields();
    FCursor = std::min(FCursor, Index->Count());
    if (Active()) {
      int P = SlotId >= 0 ? Index->FindBySlot(SlotId) : -1;
      if (P >= 0 && (!FFilterNeed || IsRecordVisible(Index->Entry(P), false))) {
        FCursor = P;
        Resync(TResyncMode{});
      } else {
        First();
      }
    }
  } catch (...) {
    if (Active()) Close();
    throw;
  }
}

void TqmtCustomMemTable::SetIndexFieldNames(const String& Value) {
  if (!Active()) {
    FIndexFieldNames = Value;
    if (!Value.empty()) FIndexName.clear();
    return;
  }
  if (Value.empty()) {
    SelectIndex(nullptr);
    return;
  }
  TqmtIndex* I = FIndexes->FindByFieldNames(Value);
  if (!I) {
    // A field list that no index has yet gets one of its own, as the platform's tables do.
    TqmtFieldList List;
    ParseFieldList(this, List, Value);
    I = new TqmtIndex(Value, this, List, Value, 0, 1, false);
    FIndexDefs.push_back(TqmtIndexDef{Value, Value, String(), String(), {}, qisDefault});
    FIndexes->Add(I);
  }
  SelectIndex(I);
}

void TqmtCustomMemTable::SetIndexName(const String& Value) {
  if (!Active()) {
    FIndexName = Value;
    if (!Value.empty()) FIndexFieldNames.clear();
    return;
  }
  if (Value.empty()) {
    SelectIndex(nullptr);
    return;
  }
  if (TqmtIndex* I = FIndexes->Find(Value)) SelectIndex(I);
}

void TqmtCustomMemTable::AddIndex(const String& Name, const String& Fields, std::uint8_t StatusSet,
                                  TqmtIndexOptions Options) {
  FIndexDefs.push_back(TqmtIndexDef{Name, Fields, String(), String(), Options, StatusSet});
  if (!Active()) return;
  try {
    ReconcileIndexes();
  } catch (...) {
    FIndexDefs.pop_back();
    if (TqmtIndex* I = FIndexes->Find(Name)) FIndexes->Delete(I);
    ReconcileIndexes();
    throw;
  }
}

void TqmtCustomMemTable::DeleteIndex(const String& Name) {
  auto It = std::find_if(FIndexDefs.begin(), FIndexDefs.end(), [&](const TqmtIndexDef& D) { return SameText(D.Name, Name); });
  if (It == FIndexDefs.end()) return;
  bool WasCurrent = FIndexes->Current() == FIndexes->Find(Name);
  FIndexDefs.erase(It);
  ReconcileIndexes();
  if (WasCurrent && Active()) Refresh();
}

bool TqmtCustomMemTable::IndexAccepts(TqmtIndex* Index, TqmtRow* Record) {
  TqmtRow* Save = OverrideRecord;
  OverrideRecord = Record;
  bool Accept = true;
  TScopeGuard restore([&] { OverrideRecord = Save; });
  if (Index->FilterFunction) Accept = Index->FilterFunction(Index, Record);
  if (Accept && OnFilterIndex) OnFilterIndex(this, Index, Accept);
  if (Accept && Index->FilterExpression) Accept = Index->FilterExpression->Accepts(this);
  return Accept;
}

void TqmtCustomMemTable::IndexRecalc(TqmtRow* Record) {
  if (CalcFieldsSize() > 0) GetCalcFields(reinterpret_cast<char*>(Record));
}

bool TqmtCustomMemTable::CompareValues(const TqmtFieldList::Entry& E, const void* Key, const void* Value,
                                       std::uint8_t Options, int& Result, bool& FullCompare) {
  if (!OnCompareFields) return false;
  Result = OnCompareFields(this, E.Field, Key, Value, Options, FullCompare);
  return true;
}

void TqmtCustomMemTable::DecompressValue(int FieldNo, String& Bytes) {
  if (OnDecompressField) OnDecompressField(this, FieldByNumber(FieldNo), Bytes);
}

// --- Searches ------------------------------------------------------------------------------------------

int TqmtCustomMemTable::FindByValues(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  if (VarArrayDimCount(KeyValues) > 1) throw EMemTableError("Values variant array has invalid dimension count");
  CheckBrowseMode();
  CursorPosChanged();
  TqmtFieldList Keys;
  ParseFieldList(this, Keys, KeyFields);
  for (int I = 0; I < Keys.Count(); ++I) {
    if (Options.Contains(loCaseInsensitive)) Keys[I].Options |= mtcoCaseInsensitive;
    if (Options.Contains(loPartialKey)) Keys[I].Options |= mtcoPartialKey;
  }
  TqmtRow* Key = FStore->NewRecord();
  try {
    SetFieldValues(Key, KeyFields, KeyValues);
    int P = FIndexes->SearchBest(Keys, Key, false, true, AutoAddIndexes, [&](const TqmtFieldList& L) {
      String Names;
      for (int I = 0; I < L.Count(); ++I) Names += (I ? ";" : "") + L[I].Field->FieldName();
      String Name = "__MT__AUTO_" + Names;
      FIndexDefs.push_back(TqmtIndexDef{Name, Names, String(), String(), {ixCaseInsensitive}, qisDefault});
      TqmtIndex* I = CreateIndexFromDef(FIndexDefs.back());
      FIndexes->Add(I);
      I->ReloadAndSort();
      return I;
    });
    FStore->FreeRecord(Key, true, false);
    return P;
  } catch (...) {
    FStore->FreeRecord(Key, true, false);
    throw;
  }
}

bool TqmtCustomMemTable::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckActive();
  DoBeforeScroll();
  int P = FindByValues(KeyFields, KeyValues, Options);
  SetFound(P >= 0);
  if (P >= 0) {
    FCursor = P;
    Resync(TResyncMode{rmExact, rmCenter});
    DoAfterScroll();
  }
  return P >= 0;
}

Variant TqmtCustomMemTable::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) {
  CheckActive();
  int P = FindByValues(KeyFields, KeyValues, TLocateOptions{});
  if (P < 0) return Variant::Null();
  TqmtRow* R = FIndexes->Current()->Entry(P);
  TqmtRow* Save = OverrideRecord;
  OverrideRecord = R;
  Variant Result;
  TScopeGuard restore([&] { OverrideRecord = Save; });
  if (CalcFieldsSize() > 0) GetCalcFields(reinterpret_cast<char*>(R));
  std::vector<TField*> List;
  GetFieldList(List, ResultFields);
  if (List.size() == 1) {
    Result = List[0]->AsVariant();
  } else {
    Result = VarArrayCreate(0, int(List.size()) - 1, varVariant);
    for (std::size_t I = 0; I < List.size(); ++I) Result.PutElement(int(I), List[I]->AsVariant());
  }
  return Result;
}

// --- Filtering and master/detail -----------------------------------------------------------------------

bool TqmtCustomMemTable::MasterLinkActive() {
  return FMasterLinkUsed && FMasterLink->DataSource() && !MasterFields().empty() &&
         (FDetailFieldList.Count() > 0 || FCurrentFields.Count() > 0);
}

void TqmtCustomMemTable::UpdateFilterNeed() {
  TqmtStoreLock L(FStore);
  FFilterNeed = FStore->DeletedCount() > 0 || (Filtered() && (FFilterExpr || OnFilterRecord())) ||
                (MasterLinkActive() && FMasterKey);
}

void TqmtCustomMemTable::CallFilterEvent(TDataSet* DataSet, bool& Accept) {
  if (OnFilterRecord()) OnFilterRecord()(DataSet, Accept);
}

bool TqmtCustomMemTable::IsRecordVisible(TqmtRow* Record, bool Forced) {
  if (!Forced && !FFilterNeed) return true;
  if (Record->Status == qrsDeleted) return false;
  char* SaveFilter = FilterBuffer;
  TqmtRow* SaveOverride = OverrideRecord;
  TDataSetState SaveState = SetTempState(dsFilter);
  FilterBuffer = reinterpret_cast<char*>(Record);
  OverrideRecord = Record;
  bool Visible = true;
  TScopeGuard restoreState([&] {
    FilterBuffer = SaveFilter;
    OverrideRecord = SaveOverride;
    RestoreState(SaveState);
  });
  if (RecalcOnIndex && CalcFieldsSize() > 0) GetCalcFields(reinterpret_cast<char*>(Record));
  if (MasterLinkActive() && FMasterKey) {
    const TqmtFieldList& L = FDetailFieldList.Count() > 0 ? FDetailFieldList : FCurrentFields;
    Visible = CompareRecordFields(*FStore, L, FMasterFieldList.Count(), FMasterKey, Record, false, false, 0) == 0;
  }
  if (Visible && (Forced || Filtered())) {
    CallFilterEvent(this, Visible);
    if (Visible && FFilterExpr) Visible = FFilterExpr->Accepts(this);
  }
  return Visible;
}

void TqmtCustomMemTable::ParseFilter() {
  FFilterExpr.reset();
  String Text = Trim(Filter());
  if (Text.empty() || !Active()) return;
  TqmtFilterParseOptions O;
  O.CaseInsensitive = FilterOptions().Contains(foCaseInsensitive);
  O.NoPartialCompare = FilterOptions().Contains(foNoPartialCompare);
  FFilterExpr = std::make_unique<TqmtFilterExpression>(Text, O, this);
}

void TqmtCustomMemTable::SetFilterText(const String& Value) {
  if (Active()) CheckBrowseMode();
  FFilterText = Value;
  FFilterExpr.reset();
  if (!Active()) return;
  ParseFilter();
  UpdateFilterNeed();
  if (Filtered()) {
    ClearBuffers();
    First();
  }
}

void TqmtCustomMemTable::SetFiltered(bool Value) {
  if (Value == Filtered()) return;
  if (Active()) CheckBrowseMode();
  FFiltered = Value;
  if (!Active()) return;
  if (Value && !FFilterExpr && !Trim(Filter()).empty()) ParseFilter();
  UpdateFilterNeed();
  ClearBuffers();
  First();
}

void TqmtCustomMemTable::SetOnFilterRecord(TFilterRecordEvent Value) {
  FOnFilterRecord = Value;
  if (Active()) {
    UpdateFilterNeed();
    if (Filtered()) {
      ClearBuffers();
      First();
    }
  }
}

void TqmtCustomMemTable::SetMasterSource(TDataSource* Value) {
  if (Value && IsLinkedTo(Value)) DatabaseError("Selfreferencing master/detail relations not allowed.");
  if (Value && Value->DataSet() == this) DatabaseError("Selfreferencing master/detail relations not allowed.");
  FMasterLink->SetDataSource(Value);
}

void TqmtCustomMemTable::SetMasterFields(const String& Value) {
  FMasterLink->SetFieldNames(Value);
  if (Active() && MasterSource() && MasterSource()->DataSet() && MasterSource()->DataSet()->Active())
    ParseFieldList(MasterSource()->DataSet(), FMasterFieldList, Value);
}

void TqmtCustomMemTable::SetDetailFields(const String& Value) {
  FDetailFields = Value;
  if (Active()) ParseFieldList(this, FDetailFieldList, Value);
}

void TqmtCustomMemTable::MasterChanged(TObject*) { SyncWithMaster(); }

void TqmtCustomMemTable::MasterDisabled(TObject*) { DropMasterLink(); }

void TqmtCustomMemTable::SyncWithMaster() {
  if (!Active()) return;
  if (FMasterFieldList.Count() == 0 && MasterSource() && MasterSource()->DataSet() &&
      MasterSource()->DataSet()->Active() && !MasterFields().empty())
    ParseFieldList(MasterSource()->DataSet(), FMasterFieldList, MasterFields());
  const TqmtFieldList& Detail = FDetailFieldList.Count() > 0 ? FDetailFieldList : FCurrentFields;
  if (FMasterFieldList.Count() > 0 && Detail.Count() > 0) {
    if (!FMasterKey) FMasterKey = FStore->NewRecord();
    int N = std::min(FMasterFieldList.Count(), Detail.Count());
    for (int I = 0; I < N; ++I) SetFieldValue(FMasterKey, Detail[I].Field, FMasterFieldList[I].Field->AsVariant());
  }
  UpdateFilterNeed();
  CheckBrowseMode();
  First();
}

void TqmtCustomMemTable::DropMasterLink() {
  if (FMasterKey) {
    FStore->FreeRecord(FMasterKey, true, false);
    FMasterKey = nullptr;
  }
  UpdateFilterNeed();
  if (Active()) First();
}
