// This file implements the blob streams of the in-memory table, the save/load format framework,
// the persistent file, and the delta handler.
#include <cstring>

#include "Field.h"
#include "Filer.h"
#include "FileUtils.h"
#include "qmtMemTable.h"
#include "ScopeGuard.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqmtBlobStream)
VELBOR_IMPLEMENT_CLASS(TqmtCustomStreamFormat)
VELBOR_IMPLEMENT_CLASS(TqmtCustomDeltaHandler)

// --- Blob streams ----------------------------------------------------------------------------------------

TqmtBlobStream::TqmtBlobStream(TField* Field, TBlobStreamMode Mode)
    : FField(Field), FTable(static_cast<TqmtCustomMemTable*>(Field->DataSet())), FMode(Mode) {
  TqmtCommon* Store = FTable->Store();
  TqmtStoreLock L(Store);
  if (Mode != bmRead && !FTable->FLoading) {
    if (Field->ReadOnly()) DatabaseErrorFmt(FieldConsts::SFieldReadOnly, {Field->DisplayName()});
    if (FTable->State() != dsEdit && FTable->State() != dsInsert) DatabaseError(DBConsts::SNotEditing, FTable);
  }
  FRecord = FTable->CurrentRecord();
  if (!FRecord) return;
  int No = Field->FieldNo();
  if (Mode == bmWrite) {
    Store->SetVarValue(FRecord, No, nullptr, 0);
    return;
  }
  const char* Data;
  std::uint32_t Len;
  if (!Store->GetVarValue(FRecord, No, Data, Len) || Len == 0) return;
  if (FTable->OnDecompressBlobStream) {
    TMemoryStream Packed;
    Packed.WriteBuffer(Data, Len);
    Packed.SetPosition(0);
    FTable->OnDecompressBlobStream(FTable, &Packed, this);
  } else {
    TMemoryStream::Write(Data, Len);
  }
  SetPosition(0);
}

void TqmtBlobStream::StoreValue() {
  if (!FRecord) DatabaseError(DBConsts::SNotEditing, FTable);
  TqmtCommon* Store = FTable->Store();
  TqmtStoreLock L(Store);
  int No = FField->FieldNo();
  if (FTable->OnCompressBlobStream) {
    TMemoryStream Packed;
    std::int64_t Save = Position();
    SetPosition(0);
    FTable->OnCompressBlobStream(FTable, this, &Packed);
    SetPosition(Save);
    if (Packed.Size() > 0) Store->SetVarValue(FRecord, No, Packed.Memory(), std::uint32_t(Packed.Size()));
    else Store->SetVarValue(FRecord, No, nullptr, 0);
  } else if (Size() > 0) {
    Store->SetVarValue(FRecord, No, Memory(), std::uint32_t(Size()));
  } else {
    Store->SetVarValue(FRecord, No, nullptr, 0);
  }
  Store->SetFieldFlags(No, Store->FieldFlags(No) | qffChanged);
}

std::int64_t TqmtBlobStream::Write(const void* Buffer, std::int64_t Count) {
  if (FMode == bmRead) throw EStreamError("Le flux est en lecture seule"_a);
  std::int64_t N = TMemoryStream::Write(Buffer, Count);
  StoreValue();
  return N;
}

void TqmtBlobStream::SetSize(std::int64_t NewSize) {
  TMemoryStream::SetSize(NewSize);
  if (FMode != bmRead && FRecord) StoreValue();
}

TStream* TqmtCustomMemTable::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  if (Field->FieldNo() < 1 || !FStore->IsVarLength(Field->FieldNo()) || !QmtIsBlobType(Field->DataType()))
    DatabaseErrorFmt("Le champ '%s' n'est pas un champ blob"_a, {Field->DisplayName()});
  return new TqmtBlobStream(Field, Mode);
}

// --- Formats ---------------------------------------------------------------------------------------------

void TqmtCustomStreamFormat::ChooseSaveFields(TDataSet* DataSet) {
  SaveMap.assign(std::size_t(DataSet->FieldCount()), -1);
  for (int I = 0; I < DataSet->FieldCount(); ++I) {
    TField* F = DataSet->Fields()->Fields(I);
    bool Save;
    if (QmtIsBlobType(F->DataType())) Save = BlobOption & 1;
    else if (F->FieldKind() == fkCalculated) Save = CalculatedOption & 1;
    else if (F->FieldKind() == fkLookup) Save = LookupOption & 1;
    else if (F->FieldKind() == fkData || F->FieldKind() == fkInternalCalc) Save = DataOption & 1;
    else Save = false;
    if (Save && QmtIsBlobType(F->DataType()) && F->FieldKind() != fkData && F->FieldKind() != fkInternalCalc) Save = false;
    if (Save && !F->Visible() && !(NonVisibleOption & 1)) Save = false;
    if (Save) SaveMap[std::size_t(I)] = I;
  }
}

void TqmtCustomStreamFormat::BeginSave(TqmtCustomMemTable* Table) {
  Table->DisableControls();
  Table->Store()->EnterLock();
  Table->ReportProgress(0, mtpcSave);
  FSavedFiltered = Table->Filtered();
  FSavedMasterLinkUsed = Table->FMasterLinkUsed;
  if (FilteredOption & 1) Table->FFiltered = false;
  if (IgnoreMasterDetailOption & 1) Table->FMasterLinkUsed = false;
  if (OnCompress) {
    FTempStream = std::make_unique<TMemoryStream>();
    FWorkStream = FTempStream.get();
  } else {
    FWorkStream = FOuterStream;
  }
  // Appending keeps what the stream holds; writing at the position keeps what lies before it;
  // only a plain save starts the stream afresh.
  if (AppendOption & 1) {
    FWorkStream->Seek(0, soEnd);
  } else if (!(AppendOption & 2)) {
    FWorkStream->SetSize(0);
    FWorkStream->SetPosition(0);
  }
  ChooseSaveFields(Table);
  Table->UpdateFilterNeed();
}

void TqmtCustomStreamFormat::SaveTable(TqmtCustomMemTable* Table) {
  if (BeforeSave) BeforeSave(this);
  WriteDefinitions(Table);
  WriteRecords(Table);
  if (AfterSave) AfterSave(this);
}

void TqmtCustomStreamFormat::EndSave(TqmtCustomMemTable* Table) {
  try {
    if (OnCompress && FTempStream) {
      FTempStream->SetPosition(0);
      OnCompress(Table, FTempStream.get(), FOuterStream);
    }
  } catch (...) {
    FTempStream.reset();
    Table->FMasterLinkUsed = FSavedMasterLinkUsed;
    Table->FFiltered = FSavedFiltered;
    Table->Store()->LeaveLock();
    Table->UpdateFilterNeed();
    Table->EnableControls();
    throw;
  }
  Table->FMasterLinkUsed = FSavedMasterLinkUsed;
  Table->FFiltered = FSavedFiltered;
  Table->ReportProgress(100, mtpcSave);
  Table->Store()->LeaveLock();
  Table->UpdateFilterNeed();
  Table->EnableControls();
  FTempStream.reset();
}

void TqmtCustomStreamFormat::ListSourceFields(TDataSet* DataSet, std::vector<String>& Names) {
  Names.clear();
  for (int I = 0; I < DataSet->FieldCount(); ++I) Names.push_back(DataSet->Fields()->Fields(I)->DisplayName());
}

void TqmtCustomStreamFormat::ChooseLoadFields(TqmtCustomMemTable* Table, bool ForLoad) {
  std::vector<String> Names;
  ListSourceFields(FLoadSource ? FLoadSource : Table, Names);
  LoadMap.assign(Names.size(), -1);
  for (std::size_t I = 0; I < Names.size(); ++I) {
    int Index = -1;
    MatchLoadField(Table, Names[I], ForLoad, Index, int(I), int(Names.size()));
    if (Index < 0 || Index >= Table->FieldCount()) continue;
    TField* F = Table->Fields()->Fields(Index);
    bool Keep = true;
    if (F->FieldKind() == fkCalculated && !(CalculatedOption & 2)) Keep = false;
    if (F->FieldKind() == fkLookup && !(LookupOption & 2)) Keep = false;
    if ((F->FieldKind() == fkData || F->FieldKind() == fkInternalCalc) && !(DataOption & 2)) Keep = false;
    if (F->FieldKind() == fkAggregate) Keep = false;
    if (QmtIsBlobType(F->DataType()) && !(BlobOption & 2)) Keep = false;
    if (!F->Visible() && !(NonVisibleOption & 2)) Keep = false;
    if (Keep) LoadMap[I] = Index;
  }
}

void TqmtCustomStreamFormat::BeginLoad(TqmtCustomMemTable* Table) {
  Table->DisableControls();
  Table->Store()->EnterLock();
  FSavedPersistent = Table->Persistent;
  FSavedEnableIndexes = Table->EnableIndexes;
  Table->Persistent = false;
  Table->EnableIndexes = false;
  Table->FLoading = true;
  Table->FNoAutoInc = true;
  FKeptBookmark.clear();
  if (Table->Active() && !Table->IsEmpty() && Table->AutoReposition) FKeptBookmark = Table->GetBookmark();
  Table->ReportProgress(0, mtpcLoad);
  if (OnDecompress) {
    FTempStream = std::make_unique<TMemoryStream>();
    if (FromStartOption & 1) FOuterStream->SetPosition(0);
    OnDecompress(Table, FOuterStream, FTempStream.get());
    FTempStream->SetPosition(0);
    FWorkStream = FTempStream.get();
  } else {
    FWorkStream = FOuterStream;
    if (FromStartOption & 1) FWorkStream->SetPosition(0);
  }
  ChooseLoadFields(Table, false);
}

void TqmtCustomStreamFormat::LoadTable(TqmtCustomMemTable* Table) {
  if (BeforeLoad) BeforeLoad(this);
  ReadDefinitions(Table);
  ChooseLoadFields(Table, true);
  bool Any = false;
  for (int I : LoadMap) Any = Any || I >= 0;
  if (!Any) throw EMemTableError("Couldnt determine field count for load.");
  ReadRecords(Table);
  if (AfterLoad) AfterLoad(this);
}

void TqmtCustomStreamFormat::EndLoad(TqmtCustomMemTable* Table) {
  Table->Persistent = FSavedPersistent;
  Table->EnableIndexes = FSavedEnableIndexes;
  Table->FLoading = false;
  Table->FNoAutoInc = false;
  Table->Store()->LeaveLock();
  FTempStream.reset();
  if (Table->Active()) {
    Table->RebuildAttachedIndexes();
    Table->ClearBuffers();
    if (!FKeptBookmark.empty() && Table->BookmarkValid(FKeptBookmark)) Table->GotoBookmark(FKeptBookmark);
    else Table->First();
  }
  FKeptBookmark.clear();
  Table->EnableControls();
  Table->ReportProgress(100, mtpcLoad);
}

void TqmtCustomMemTable::SaveThroughFormat(TStream* Stream, TqmtCustomStreamFormat* Format) {
  if (!Format) throw EMemTableError("No format specified.");
  Format->FOuterStream = Stream;
  Format->FWorkStream = nullptr;
  Format->BeginSave(this);
  try {
    Format->SaveTable(this);
  } catch (...) {
    try {
      Format->EndSave(this);
    } catch (const std::exception&) {
    }
    Format->FOuterStream = Format->FWorkStream = nullptr;
    throw;
  }
  Format->EndSave(this);
  Format->FOuterStream = Format->FWorkStream = nullptr;
}

void TqmtCustomMemTable::LoadThroughFormat(TStream* Stream, TqmtCustomStreamFormat* Format) {
  if (!Format) throw EMemTableError("No format specified.");
  Format->FOuterStream = Stream;
  Format->BeginLoad(this);
  TScopeGuard restore([&] {
    Format->EndLoad(this);
    Format->FOuterStream = Format->FWorkStream = nullptr;
  });
  Format->LoadTable(this);
}

void TqmtCustomMemTable::SaveToStream(TStream* Stream, TqmtCustomStreamFormat* Format) {
  CheckActive();
  if (OnSave) OnSave(this, mtstStream, Stream);
  SaveThroughFormat(Stream, Format);
}

void TqmtCustomMemTable::LoadFromStream(TStream* Stream, TqmtCustomStreamFormat* Format) {
  if (OnLoad) OnLoad(this, mtstStream, Stream);
  LoadThroughFormat(Stream, Format);
}

void TqmtCustomMemTable::SaveToFile(const String& FileName, TqmtCustomStreamFormat* Format) {
  CheckActive();
  if (!Format) throw EMemTableError("No format specified.");
  if ((Format->AppendOption & 1) && OsPort::FileExists(FileName)) {
    TFileStream File(FileName, fmOpenReadWrite | fmShareDenyWrite);
    File.Seek(0, soEnd);
    if (OnSave) OnSave(this, mtstFile, &File);
    SaveThroughFormat(&File, Format);
    return;
  }
  // A new content is written beside the file and takes its place only once complete, so that a
  // failed save leaves the previous file whole.
  String Temp = ChangeFileExt(FileName, ".$$$");
  try {
    {
      TFileStream File(Temp, fmCreate);
      if (OnSave) OnSave(this, mtstFile, &File);
      SaveThroughFormat(&File, Format);
    }
    if (!OsPort::RenameFile(Temp, FileName, true))
      throw EWriteError("Impossible d'écrire le fichier "_a + FileName + " : " + OsPort::LastErrorMessage());
  } catch (...) {
    OsPort::DeleteFile(Temp);
    throw;
  }
}

void TqmtCustomMemTable::LoadFromFile(const String& FileName, TqmtCustomStreamFormat* Format) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  if (OnLoad) OnLoad(this, mtstFile, &File);
  LoadThroughFormat(&File, Format);
}

void TqmtCustomMemTable::SavePersistentFile() {
  if (!Active() || FPersistentSaved || ComponentState().Contains(csDesigning) || PersistentFile.empty() ||
      !PersistentFormat)
    return;
  String Temp = ChangeFileExt(PersistentFile, ".$$$");
  {
    TFileStream File(Temp, fmCreate);
    SaveThroughFormat(&File, PersistentFormat);
  }
  if (PersistentBackup) {
    String Backup = ChangeFileExt(PersistentFile, PersistentBackupExt);
    OsPort::DeleteFile(Backup);
    if (OsPort::FileExists(PersistentFile)) OsPort::RenameFile(PersistentFile, Backup, true);
  }
  // Replacing in one step: the file is never missing, even if the rename is interrupted.
  if (!OsPort::RenameFile(Temp, PersistentFile, true))
    throw EWriteError("Impossible d'écrire le fichier "_a + PersistentFile + " : " + OsPort::LastErrorMessage());
  FPersistentSaved = true;
}

// --- Delta handler ---------------------------------------------------------------------------------------

void TqmtCustomMemTable::SetDeltaHandler(TqmtCustomDeltaHandler* Value) {
  if (Value == FDeltaHandler) return;
  if (FDeltaHandler) {
    FDeltaHandler->FTable = nullptr;
    FDeltaHandler->RemoveFreeNotification(this);
  }
  FDeltaHandler = Value;
  if (Value) {
    if (Value->FTable && Value->FTable != this) Value->FTable->SetDeltaHandler(nullptr);
    Value->FTable = this;
    Value->FreeNotification(this);
  }
}

TqmtCustomDeltaHandler::~TqmtCustomDeltaHandler() {
  if (FTable) FTable->SetDeltaHandler(nullptr);
}

void TqmtCustomDeltaHandler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTable) FTable = nullptr;
}

void TqmtCustomDeltaHandler::WalkChanges() {
  if (!FTable) throw EMemTableError("Delta handler is not assigned to any memorytables.");
  TqmtCustomMemTable* T = FTable;
  bool SaveRefresh = T->AttachedAutoRefresh;
  T->AttachedAutoRefresh = false;
  TqmtCommon* Store = T->Store();
  Store->EnterLock();
  TScopeGuard restore([&] {
    FRecord = FFirst = nullptr;
    Store->LeaveLock();
    T->AttachedAutoRefresh = SaveRefresh;
  });
  for (int I = 0; I < Store->RecordCount(); ++I) {
    const TqmtRow* R = Store->Slot(I);
    if (!R) continue;
    const TqmtRow* First = TqmtCommon::FirstVersion(R);
    int State;
    if (R->Status == qrsDeleted) State = First->Status == qrsInserted ? 0 : 3;
    else State = First->Status == qrsInserted ? 2 : R->Status;
    FRecord = R;
    FFirst = First;
    bool Retry;
    do {
      Retry = false;
      switch (State) {
        case 1: HandleModified(Retry, State); break;
        case 2: HandleInserted(Retry, State); break;
        case 3: HandleDeleted(Retry, State); break;
        default: HandleUnchanged(Retry, State); break;
      }
    } while (Retry);
  }
}

// --- Form data -------------------------------------------------------------------------------------------

void TqmtCustomMemTable::DefineProperties(TFiler* Filer) {
  TDataSet::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Data", TStreamProc(this, &TqmtCustomMemTable::ReadDataProperty),
                              TStreamProc(this, &TqmtCustomMemTable::WriteDataProperty),
                              StoreDataOnForm && Active() && FormFormat);
}

void TqmtCustomMemTable::ReadDataProperty(TStream* Stream) {
  FFormData = std::make_unique<TMemoryStream>();
  FFormData->LoadFromStream(Stream);
}

void TqmtCustomMemTable::WriteDataProperty(TStream* Stream) {
  if (Active()) SaveThroughFormat(Stream, FormFormat);
}
