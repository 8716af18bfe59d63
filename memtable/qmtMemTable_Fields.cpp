// This file implements the field values, editing and posting of the in-memory table, and its
// transactions.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "DateTimeFormat.h"
#include "Field.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "qmtMemTable.h"

// --- The record of the current state ---------------------------------------------------------------------

TqmtRow* TqmtCustomMemTable::CurrentRecord() {
  if (OverrideRecord) return OverrideRecord;
  switch (State()) {
    case dsBrowse:
      return IsEmpty() ? nullptr : Row(ActiveBuffer());
    case dsCalcFields: case dsInternalCalc:
      return CalcBuffer() ? Row(CalcBuffer()) : nullptr;
    case dsFilter:
      return FilterBuffer ? Row(FilterBuffer) : nullptr;
    case dsOldValue: {
      if (IsEmpty() || !ActiveBuffer()) return nullptr;
      TqmtRow* B = Row(ActiveBuffer());
      if (B->SlotId < 0) return B;
      TqmtRow* S = FStore->Slot(B->SlotId);
      if (!S || S->UniqueId != B->UniqueId) return B;
      return const_cast<TqmtRow*>(TqmtCommon::FirstVersion(S));
    }
    case dsEdit: case dsInsert: case dsNewValue: case dsCurValue: case dsBlockRead: case dsSetKey:
      return ActiveBuffer() ? Row(ActiveBuffer()) : nullptr;
    default:
      return nullptr;
  }
}

// --- Reading and writing values --------------------------------------------------------------------------

bool TqmtCustomMemTable::GetFieldData(TField* Field, void* Buffer) {
  if (!FCursorOpen) return false;
  TqmtStoreLock L(FStore);
  TqmtRow* R = CurrentRecord();
  if (!R) return false;
  int No = Field->FieldNo();
  if (No < 1) {
    const char* A = FStore->FieldAddress(R, 0, Field->Offset());
    if (TqmtCommon::IsNull(A)) return false;
    if (Buffer) std::memcpy(Buffer, A + 1, std::size_t(Field->DataSize()));
    return true;
  }
  if (No > FStore->FieldCount()) return false;
  if (FStore->IsVarLength(No)) {
    if (QmtIsBlobType(FStore->FieldType(No))) {
      const char* Data;
      std::uint32_t Len;
      return FStore->GetVarValue(R, No, Data, Len) && Len > 0;
    }
    String Bytes;
    if (!FStore->ReadVarValue(R, No, Bytes)) return false;
    if (Buffer) {
      std::size_t N = std::size_t(QmtValueSize(FStore->FieldType(No), FStore->FieldSize(No)));
      std::memset(Buffer, 0, N);
      std::memcpy(Buffer, Bytes.data(), std::min(N, Bytes.size()));
    }
    return true;
  }
  const char* A = FStore->FieldAddress(R, No);
  if (TqmtCommon::IsNull(A)) return false;
  if (Buffer)
    std::memcpy(Buffer, A + 1, std::size_t(std::min(Field->DataSize(), QmtValueSize(FStore->FieldType(No), FStore->FieldSize(No)))));
  return true;
}

void TqmtCustomMemTable::WriteValue(TqmtRow* R, TField* Field, const void* Data) {
  int No = Field->FieldNo();
  if (No < 1) {
    char* A = FStore->FieldAddress(R, 0, Field->Offset());
    A[0] = Data ? 2 : 0;
    if (Data) std::memcpy(A + 1, Data, std::size_t(Field->DataSize()));
    else std::memset(A + 1, 0, std::size_t(Field->DataSize()));
    return;
  }
  TFieldType T = FStore->FieldType(No);
  int Size = QmtValueSize(T, FStore->FieldSize(No));
  if (FStore->IsVarLength(No)) {
    if (!Data) {
      FStore->SetVarValue(R, No, nullptr, 0);
    } else {
      String Bytes(static_cast<const char*>(Data), std::size_t(Size));
      if (FStore->FieldFlags(No) & qffCompressed) {
        if (OnCompressField) {
          OnCompressField(this, Field, Bytes);
        } else if (T == ftString || T == ftFixedChar) {
          Bytes.resize(strnlen(Bytes.data(), Bytes.size()) + 1);
        } else if (T == ftWideString) {
          std::uint32_t L;
          std::memcpy(&L, Bytes.data(), 4);
          Bytes.resize(std::min<std::size_t>(4 + L, Bytes.size()));
        }
      }
      FStore->SetVarValue(R, No, Bytes.data(), std::uint32_t(Bytes.size()));
    }
  } else {
    char* A = FStore->FieldAddress(R, No);
    A[0] = Data ? 2 : 0;
    std::memset(A + 1, 0, std::size_t(Size));
    if (Data) std::memcpy(A + 1, Data, std::size_t(std::min(Size, Field->DataSize())));
  }
  FStore->SetFieldFlags(No, FStore->FieldFlags(No) | qffChanged);
}

void TqmtCustomMemTable::SetFieldData(TField* Field, const void* Buffer) {
  if (!FCursorOpen) DatabaseError(DBConsts::SDataSetClosed, this);
  TqmtStoreLock L(FStore);
  switch (State()) {
    case dsEdit: case dsInsert: case dsSetKey: case dsCalcFields: case dsFilter: case dsNewValue:
    case dsInternalCalc:
      break;
    default:
      DatabaseError(DBConsts::SNotEditing, this);
  }
  if (!FLoading && State() != dsSetKey && Field->FieldKind() == fkData && (ReadOnly || Field->ReadOnly()))
    DatabaseErrorFmt(FieldConsts::SFieldReadOnly, {Field->DisplayName()});
  TqmtRow* R = CurrentRecord();
  if (!R) DatabaseError(DBConsts::SNotEditing, this);
  WriteValue(R, Field, Buffer);
}

namespace {

// The native bytes (DBConsts.h) of Value for Field.
String NativeBytes(TField* Field, TFieldType T, int Size, const Variant& Value) {
  String B(std::size_t(QmtValueSize(T, Size)), '\0');
  auto Put = [&](const auto& X) { std::memcpy(B.data(), &X, std::min(sizeof X, B.size())); };
  switch (T) {
    case ftString: case ftFixedChar: case ftGuid: {
      String S = Value.AsString().substr(0, std::size_t(T == ftGuid ? 38 : Size));
      std::memcpy(B.data(), S.data(), S.size());
      break;
    }
    case ftSmallint: Put(std::int16_t(Value.AsInteger())); break;
    case ftWord: Put(std::uint16_t(Value.AsInteger())); break;
    case ftInteger: case ftAutoInc: Put(std::int32_t(Value.AsInteger())); break;
    case ftBoolean: Put(std::int16_t(Value.AsBoolean() ? -1 : 0)); break;
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: Put(Value.AsDouble()); break;
    case ftLargeint: Put(std::int64_t(Value.AsInt64())); break;
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp: {
      double D = VarIsStr(Value) ? StrToDateTime(Value.AsString()) : Value.AsDate();
      if (T == ftDate) D = std::floor(D);
      if (T == ftTime) D = D - std::floor(D);
      Put(D);
      break;
    }
    case ftWideString: {
      WideString W = AnsiToWide(Value.AsString()).substr(0, std::size_t(Size));
      std::uint32_t L = std::uint32_t(W.size() * 2);
      std::memcpy(B.data(), &L, 4);
      std::memcpy(B.data() + 4, W.data(), L);
      break;
    }
    default: {
      String S = Value.AsString();
      B = S;
      break;
    }
  }
  (void)Field;
  return B;
}

}  // namespace

void TqmtCustomMemTable::SetFieldValue(TqmtRow* Record, TField* Field, const Variant& Value) {
  int No = Field->FieldNo();
  TFieldType T = No >= 1 ? FStore->FieldType(No) : Field->DataType();
  int Size = No >= 1 ? FStore->FieldSize(No) : Field->Size();
  if (VarIsNull(Value) || VarIsEmpty(Value)) {
    WriteValue(Record, Field, nullptr);
    return;
  }
  if (No >= 1 && QmtIsBlobType(T)) {
    String S = Value.AsString();
    FStore->SetVarValue(Record, No, S.data(), std::uint32_t(S.size()));
    return;
  }
  String B = NativeBytes(Field, T, Size, Value);
  WriteValue(Record, Field, B.data());
}

void TqmtCustomMemTable::SetFieldValues(TqmtRow* Record, const String& FieldNames, const Variant& Values) {
  TqmtFieldList List;
  ParseFieldList(this, List, FieldNames);
  if (VarArrayDimCount(Values) > 1) throw EMemTableError("Values variant array has invalid dimension count");
  if (List.Count() == 0) throw EMemTableError("There must be at least one field");
  if (!VarIsArray(Values)) {
    if (List.Count() > 1) throw EMemTableError("More fields than values");
    SetFieldValue(Record, List[0].Field, Values);
    return;
  }
  int Low = VarArrayLowBound(Values, 1);
  int N = VarArrayHighBound(Values, 1) - Low + 1;
  if (List.Count() > N) throw EMemTableError("More fields than values");
  for (int I = 0; I < List.Count(); ++I) SetFieldValue(Record, List[I].Field, Values.GetElement(Low + I));
}

// --- New records and posting -----------------------------------------------------------------------------

void TqmtCustomMemTable::DoBeforeInsert() {
  FInsertPosition = RecNo();
  if (OnBeforeInsert) OnBeforeInsert(this);
  TDataSet::DoBeforeInsert();
}

void TqmtCustomMemTable::DoOnNewRecord() {
  if (MasterLinkActive() && FMasterFieldList.Count() > 0) {
    const TqmtFieldList& Detail = FDetailFieldList.Count() > 0 ? FDetailFieldList : FCurrentFields;
    int N = std::min(FMasterFieldList.Count(), Detail.Count());
    for (int I = 0; I < N; ++I) Detail[I].Field->SetAsVariant(FMasterFieldList[I].Field->AsVariant());
  }
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if (!F->DefaultExpression.empty() && F->DataType() != ftLargeint && F->FieldKind() == fkData) {
      String E = F->DefaultExpression;
      if (E.size() >= 2 && E.front() == '\'' && E.back() == '\'') E = E.substr(1, E.size() - 2);
      F->SetAsString(E);
    }
  }
  TDataSet::DoOnNewRecord();
  if (FAutoIncField && !FNoAutoInc) {
    FStore->SetAutoIncValue(FStore->AutoIncValue() + 1);
    bool SaveLoading = FLoading;
    FLoading = true;  // an auto-increment field may be read-only
    TScopeGuard restore([&] { FLoading = SaveLoading; });
    int V = FStore->AutoIncValue();
    WriteValue(Row(ActiveBuffer()), FAutoIncField, &V);
  }
}

void TqmtCustomMemTable::DoBeforePost() {
  TDataSet::DoBeforePost();
  if (FAutoIncField && !FAutoIncField->IsNull()) {
    int V = FAutoIncField->AsInteger();
    if (V > FStore->AutoIncValue()) FStore->SetAutoIncValue(V);
  }
}

void TqmtCustomMemTable::InternalPost() {
  TDataSet::InternalPost();
  TqmtStoreLock L(FStore);
  TqmtRow* Buf = Row(ActiveBuffer());
  if (State() == dsEdit) {
    TqmtRow* Old = StoreRecordAtCursor();
    if (!Old || Old->SlotId != Buf->SlotId) {
      Old = FStore->Slot(Buf->SlotId);
      if (!Old || Old->UniqueId != Buf->UniqueId) throw EMemTableInvalidRecord("Invalid record ");
    }
    if (EnableIndexes) FIndexes->CheckUnique(Buf, Old);
    if (Modified()) {
      Buf->Status = qrsModified;
      FStore->KeepVersion(Old, false);
      FStore->SetDataModified(true);
    } else {
      Buf->Status = Old->Status;
    }
    int NewPos = -1;
    for (TqmtCustomMemTable* T : FStore->AttachedTables()) {
      if (!T || !T->Active()) continue;
      int P = T->FIndexes->Maintain(mtioEdit, Old, Buf, T == this ? FCursor : -1, T->EnableIndexes);
      if (T == this) NewPos = P;
    }
    FStore->MoveInto(Buf, Old);
    Old->Flags |= qrfStored;
    Old->TxLevel = FStore->TransactionLevel();
    FRepositionTarget = NewPos;
    if (NewPos >= 0) Old->Position = NewPos;
  } else {
    if (EnableIndexes) FIndexes->CheckUnique(Buf, nullptr);
    TqmtRow* New = FStore->DuplicateRecord(Buf, true);
    try {
      FStore->AddRecord(New);
    } catch (...) {
      FStore->FreeRecord(New, true, false);
      throw;
    }
    FStore->ReleaseBuffers(Buf);
    New->TxLevel = FStore->TransactionLevel();
    New->PriorVersion = nullptr;
    bool Append = GetBookmarkFlag(ActiveBuffer()) == bfEOF;
    int NewPos = -1;
    for (TqmtCustomMemTable* T : FStore->AttachedTables()) {
      if (!T || !T->Active()) continue;
      int P = T->FIndexes->Maintain(mtioInsert, New, New, T == this && !Append ? FInsertPosition : -1, T->EnableIndexes);
      if (T == this) NewPos = P;
    }
    // With the current index off (a load), the new record is not in it: stand at its end.
    if (NewPos < 0) NewPos = FIndexes->Current()->Count();
    FRepositionTarget = NewPos;
    New->Position = NewPos;
    FCursor = NewPos;
    // The buffer now stands for the stored record.
    TqmtBookmarkEntry* E = FStore->BookmarkEntry(Buf, FAttachIndex);
    E->UniqueId = New->UniqueId;
    E->SlotId = New->SlotId;
    FStore->SetDataModified(true);
  }
  FStore->ClearChangedFlags();
}

void TqmtCustomMemTable::InternalAddRecord(char* Buffer, bool Append) {
  TqmtStoreLock L(FStore);
  TqmtRow* Buf = Row(Buffer);
  if (EnableIndexes) FIndexes->CheckUnique(Buf, nullptr);
  TqmtRow* New = FStore->DuplicateRecord(Buf, true);
  try {
    FStore->AddRecord(New);
  } catch (...) {
    FStore->FreeRecord(New, true, false);
    throw;
  }
  New->TxLevel = FStore->TransactionLevel();
  New->PriorVersion = nullptr;
  FStore->SetDataModified(true);
  int Pos = Append ? -1 : std::max(FCursor + 1, 1);
  int NewPos = -1;
  for (TqmtCustomMemTable* T : FStore->AttachedTables()) {
    if (!T || !T->Active()) continue;
    int P = T->FIndexes->Maintain(mtioInsert, New, New, T == this ? Pos : -1, T->EnableIndexes);
    if (T == this) NewPos = P;
  }
  if (NewPos < 0) NewPos = FIndexes->Current()->Count();
  FCursor = NewPos;
}

void TqmtCustomMemTable::InternalDelete() {
  TqmtStoreLock L(FStore);
  TqmtRow* R = StoreRecordAtCursor();
  if (!R) return;
  for (TqmtCustomMemTable* T : FStore->AttachedTables()) {
    if (!T || !T->Active()) continue;
    T->FIndexes->Maintain(mtioDelete, R, nullptr, T == this ? FCursor : T->FIndexes->Current()->FindRecord(R),
                          T->EnableIndexes);
  }
  if (FStore->EnableVersioning()) {
    FStore->KeepVersion(R, true);
    R->Status = qrsDeleted;
    R->TxLevel = FStore->TransactionLevel();
    FStore->IncDeletedCount();
  } else {
    FStore->RemoveAndFree(R);
  }
  FStore->SetDataModified(true);
  UpdateFilterNeed();
}

void TqmtCustomMemTable::InternalCancel() {
  TDataSet::InternalCancel();
  FStore->ClearChangedFlags();
}

TUpdateStatus TqmtCustomMemTable::UpdateStatus() {
  if (!Active()) return TDataSet::UpdateStatus();
  TqmtRow* R = CurrentRecord();
  if (!R) return TDataSet::UpdateStatus();
  return TUpdateStatus(R->Status);
}

void TqmtCustomMemTable::DoAfterPost() {
  if (AttachedAutoRefresh) RefreshOthers();
  if (AutoReposition && FRepositionTarget >= 0) {
    FCursor = FRepositionTarget;
    FRepositionTarget = -1;
    Resync(TResyncMode{});
  }
  TDataSet::DoAfterPost();
}

void TqmtCustomMemTable::DoAfterDelete() {
  if (AttachedAutoRefresh) RefreshOthers();
  FRepositionTarget = -1;
  TDataSet::DoAfterDelete();
}

// --- Transactions ----------------------------------------------------------------------------------------

void TqmtCustomMemTable::StartTransaction() {
  if (!Active()) return;
  if (!FStore->EnableVersioning() || FStore->VersioningMode() != mtvmAllSinceCheckPoint)
    throw EMemTableError("Transactioning requires multiversion versioning.");
  FStore->RaiseTransactionLevel();
}

void TqmtCustomMemTable::Commit() {
  if (!Active() || FStore->TransactionLevel() <= 0) return;
  {
    TqmtStoreLock L(FStore);
    FStore->CommitVersions();
    FStore->LowerTransactionLevel();
  }
  RebuildAttachedIndexes();
  Refresh();
}

void TqmtCustomMemTable::Rollback() {
  if (!Active() || FStore->TransactionLevel() <= 0) return;
  CheckBrowseMode();
  UpdateCursorPos();
  {
    TqmtStoreLock L(FStore);
    FStore->RollbackVersions();
    FStore->LowerTransactionLevel();
  }
  RebuildAttachedIndexes();
  for (TqmtCustomMemTable* T : FStore->AttachedTables())
    if (T && T->Active()) T->UpdateFilterNeed();
  CursorPosChanged();
  FCursor = std::min(FCursor, FIndexes->Current()->Count());
  Resync(TResyncMode{});
}
