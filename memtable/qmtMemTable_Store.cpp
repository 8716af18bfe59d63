// This file implements the record store of the in-memory table (TqmtCommon), its records and
// their value buffers, the field list, and record versions and transactions.
#include "qmtMemTable_Store.h"

#include <atomic>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Field.h"
#include "Format.h"
#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TqmtFieldList)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TqmtCommon)

// --- Field types -----------------------------------------------------------------------------------

bool QmtIsBlobType(TFieldType Type) {
  switch (Type) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle: case ftDBaseOle:
    case ftTypedBinary: case ftOraBlob: case ftOraClob:
      return true;
    default:
      return false;
  }
}

bool QmtIsSupportedType(TFieldType Type) {
  switch (Type) {
    case ftUnknown: case ftCursor: case ftReference: case ftDataSet: case ftVariant: case ftInterface:
    case ftIDispatch:
      return false;
    default:
      return true;
  }
}

// Sizes follow the native forms of the dataset model (DBConsts.h): dates, times, time stamps and
// BCD values are doubles there.
int QmtValueSize(TFieldType Type, int Size) {
  switch (Type) {
    case ftString: case ftFixedChar: return Size + 1;
    case ftSmallint: case ftWord: case ftBoolean: return 2;
    case ftInteger: case ftAutoInc: return 4;
    case ftFloat: case ftCurrency: case ftDateTime: case ftLargeint: case ftDate: case ftTime:
    case ftBCD: case ftFMTBcd: case ftTimeStamp:
      return 8;
    case ftBytes: return Size;
    case ftVarBytes: return Size + 2;
    case ftWideString: return Size * 2 + 4;
    case ftGuid: return 39;
    default: return 0;
  }
}

String QmtTypeOrdinal(TFieldType Type) { return IntToStr(int(Type)); }

namespace {

// Can a column of this type live in a value buffer of its own?
bool MayBeVarLength(TFieldType Type) {
  return Type == ftString || Type == ftBytes || Type == ftVarBytes || Type == ftFixedChar ||
         Type == ftWideString;
}

// A variable-length slot: one null-flag byte, then a pointer to the value buffer (u32 length,
// bytes). Slots are not aligned, so the pointer is moved with memcpy.
char* SlotBuffer(const char* Slot) {
  char* P;
  std::memcpy(&P, Slot + 1, sizeof P);
  return P;
}
void SetSlotBuffer(char* Slot, char* P) { std::memcpy(Slot + 1, &P, sizeof P); }
constexpr int VarSlotSize = 1 + int(sizeof(char*));

char* NewValueBuffer(const void* Data, std::uint32_t Length) {
  char* P = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + Length));
  if (!P) throw std::bad_alloc();
  std::memcpy(P, &Length, sizeof Length);
  if (Length) std::memcpy(P + sizeof Length, Data, Length);
  return P;
}
std::uint32_t BufferLength(const char* P) {
  std::uint32_t L;
  std::memcpy(&L, P, sizeof L);
  return L;
}

// Data ids are drawn from one sequence for the whole process, so that no two stores, and no two
// generations of one store, share an id: a bookmark can never match the wrong store.
std::atomic<std::uint32_t> NextDataId{0x51A7};

}  // namespace

// --- Field list --------------------------------------------------------------------------------------

int TqmtFieldList::Add(const Entry& E) {
  if (Count() >= QMT_MAX_FIELDS) throw EMemTableError("Too many fields in a field list.");
  FEntries.push_back(E);
  return Count() - 1;
}

int TqmtFieldList::Add(TField* Field, std::uint8_t Options) {
  Entry E;
  E.Field = Field;
  E.FieldNo = Field->FieldNo();
  E.DataType = Field->DataType();
  E.Size = Field->Size();
  E.Options = Options;
  return Add(E);
}

int TqmtFieldList::IndexOf(const TField* Field) const {
  for (int I = 0; I < Count(); ++I)
    if (FEntries[std::size_t(I)].Field == Field) return I;
  return -1;
}

void TqmtFieldList::MergeOptionsInto(TqmtFieldList& Dest) const {
  int N = std::min(Count(), Dest.Count());
  for (int I = 0; I < N; ++I) Dest[I].Options |= FEntries[std::size_t(I)].Options;
}

// --- Store -------------------------------------------------------------------------------------------

TqmtCommon::TqmtCommon(TqmtCustomMemTable* AOwner) : FOwner(AOwner) {
  std::memset(FOffsets, 0, sizeof FOffsets);
  std::memset(FFieldFlags, 0, sizeof FFieldFlags);
  std::memset(FSizes, 0, sizeof FSizes);
  for (auto& T : FTypes) T = ftUnknown;
  DrawDataId();
  FAttached.assign(1, AOwner);
}

TqmtCommon::~TqmtCommon() {
  for (TqmtRow* R : FSlots)
    if (R) FreeRecord(R, true, true);
}

void TqmtCommon::DrawDataId() { FDataId = NextDataId.fetch_add(1); }

void TqmtCommon::ComputeRecordLayout(const std::vector<TqmtColumnDef>& Columns, int CalcSize,
                                     const TSetupFieldProc& SetupField) {
  if (Columns.empty()) throw EMemTableError("There must be at least one field");
  // The per-field tables hold QMT_MAX_FIELDS entries; refuse more before touching them.
  if (int(Columns.size()) > QMT_MAX_FIELDS)
    throw EMemTableError(Format("Too many fielddefs (%d): an in-memory table holds at most %d fields.",
                                {int(Columns.size()), QMT_MAX_FIELDS}));
  FBookmarkAreaSize = FAttachMaxCount * int(sizeof(TqmtBookmarkEntry));
  int Fixed = 0;
  FFieldCount = int(Columns.size());
  for (int I = 0; I < FFieldCount; ++I) {
    const TqmtColumnDef& C = Columns[std::size_t(I)];
    int No = I + 1;
    if (!QmtIsSupportedType(C.DataType))
      throw EMemTableError("Fielddef " + C.Name + " (" + C.Name + ")" +
                           Format(" Datatype %d not supported.", {int(C.DataType)}));
    FTypes[No] = C.DataType;
    FSizes[No] = C.Size;
    std::uint8_t Flags = 0;
    if (QmtIsBlobType(C.DataType) || (MayBeVarLength(C.DataType) && C.Size > 12 && FPerformance != mtpfFast))
      Flags |= qffVarLength;
    if ((Flags & qffVarLength) && !QmtIsBlobType(C.DataType) && SetupField) SetupField(I, Flags);
    FFieldFlags[No] = Flags;
    if (Flags & qffVarLength) {
      FOffsets[No] = -1;
    } else {
      FOffsets[No] = Fixed;
      Fixed += QmtValueSize(C.DataType, C.Size) + 1;
    }
  }
  FCalcStart = Fixed;
  FCalcSize = CalcSize;
  // The bookmark entries are read in place: keep them aligned (the data area itself is).
  FBookmarkStart = (FCalcStart + FCalcSize + 7) & ~7;
  FVarStart = FBookmarkStart + FBookmarkAreaSize;
  int Var = FVarStart;
  FVarCount = 0;
  for (int No = 1; No <= FFieldCount; ++No) {
    if (!(FFieldFlags[No] & qffVarLength)) continue;
    if (FPerformance == mtpfSmall) FFieldFlags[No] |= qffCompressed;
    FOffsets[No] = Var;
    Var += VarSlotSize;
    ++FVarCount;
  }
  FVarAreaSize = FVarCount * VarSlotSize;
  FFixedPartSize = FVarStart;
  FDataSize = FFixedPartSize + FVarAreaSize;
  FRecordAllocSize = FDataSize + int(sizeof(TqmtRow));
  FDataModified = false;
  ClearChangedFlags();
}

void TqmtCommon::ClearChangedFlags() {
  for (int No = 1; No <= FFieldCount; ++No) FFieldFlags[No] &= std::uint8_t(~qffChanged);
}

TqmtRow* TqmtCommon::NewRecord() const {
  void* P = std::calloc(1, std::size_t(FRecordAllocSize > 0 ? FRecordAllocSize : int(sizeof(TqmtRow))));
  if (!P) throw std::bad_alloc();
  TqmtRow* R = static_cast<TqmtRow*>(P);
  R->Values = reinterpret_cast<char*>(R + 1);
  R->Position = -1;
  R->SlotId = -1;
  R->UniqueId = -1;
  R->TxLevel = -1;
  return R;
}

void TqmtCommon::CopyRecord(const TqmtRow* Source, TqmtRow* Dest) const {
  Dest->Position = Source->Position;
  Dest->SlotId = Source->SlotId;
  Dest->UniqueId = Source->UniqueId;
  Dest->Status = Source->Status;
  Dest->PriorVersion = Source->PriorVersion;
  Dest->TxLevel = Source->TxLevel;
  Dest->UserTag = Source->UserTag;
  std::memcpy(Dest->Values, Source->Values, std::size_t(FFixedPartSize));
  for (int No = 1; No <= FFieldCount; ++No)
    if (FFieldFlags[No] & qffVarLength) Dest->Values[FOffsets[No]] = Source->Values[FOffsets[No]];
}

TqmtRow* TqmtCommon::DuplicateRecord(const TqmtRow* Source, bool WithBuffers) const {
  TqmtRow* R = NewRecord();
  CopyRecord(Source, R);
  R->Flags = Source->Flags;
  if (WithBuffers) {
    for (int No = 1; No <= FFieldCount; ++No) {
      if (!(FFieldFlags[No] & qffVarLength)) continue;
      const char* Data;
      std::uint32_t Len;
      try {
        if (GetVarValue(Source, No, Data, Len)) SetVarValue(R, No, Data, Len);
      } catch (...) {
        FreeRecord(R, true, false);
        throw;
      }
    }
  }
  return R;
}

void TqmtCommon::MoveInto(TqmtRow* Buffer, TqmtRow* StoreRecord) const {
  for (int No = 1; No <= FFieldCount; ++No) {
    if (!(FFieldFlags[No] & qffVarLength)) continue;
    char* From = Buffer->Values + FOffsets[No];
    char* To = StoreRecord->Values + FOffsets[No];
    char* Own = SlotBuffer(From);
    if (Own) {
      std::free(SlotBuffer(To));
      SetSlotBuffer(To, Own);
      SetSlotBuffer(From, nullptr);
    } else if (*From == 0) {
      std::free(SlotBuffer(To));
      SetSlotBuffer(To, nullptr);
      *To = 0;
    }
  }
  TqmtRow* Prior = StoreRecord->PriorVersion;
  CopyRecord(Buffer, StoreRecord);
  // The buffer carries the chain it saw when it was fetched; the store's own chain is the truth.
  StoreRecord->PriorVersion = Prior;
}

void TqmtCommon::ReleaseBuffers(TqmtRow* Record) const {
  for (int No = 1; No <= FFieldCount; ++No) {
    if (!(FFieldFlags[No] & qffVarLength)) continue;
    char* S = Record->Values + FOffsets[No];
    if (char* P = SlotBuffer(S)) {
      std::free(P);
      SetSlotBuffer(S, nullptr);
      *S = 0;
    }
  }
}

void TqmtCommon::FreeRecord(TqmtRow* Record, bool WithBuffers, bool WithVersions) const {
  while (Record) {
    TqmtRow* Prior = (WithVersions && (Record->Flags & qrfStored)) ? Record->PriorVersion : nullptr;
    if (WithBuffers) ReleaseBuffers(Record);
    std::free(Record);
    Record = Prior;
  }
}

char* TqmtCommon::FieldAddress(const TqmtRow* Record, int FieldNo, int CalcOffset) const {
  if (!Record || !Record->Values) return nullptr;
  if (FieldNo < 1) return Record->Values + FCalcStart + CalcOffset;
  return Record->Values + FOffsets[FieldNo];
}

TqmtBookmarkEntry* TqmtCommon::BookmarkEntry(const TqmtRow* Record, int AttachIndex) const {
  return reinterpret_cast<TqmtBookmarkEntry*>(Record->Values + FBookmarkStart +
                                              AttachIndex * int(sizeof(TqmtBookmarkEntry)));
}

bool TqmtCommon::OwnsVarBuffer(const TqmtRow* Record, int FieldNo) const {
  return SlotBuffer(Record->Values + FOffsets[FieldNo]) != nullptr;
}

bool TqmtCommon::GetVarValue(const TqmtRow* Record, int FieldNo, const char*& Data, std::uint32_t& Length) const {
  const char* S = Record->Values + FOffsets[FieldNo];
  if (*S == 0) return false;
  const char* P = SlotBuffer(S);
  if (!P) {
    // A buffer that never wrote this field shares the stored value, but only while its slot
    // still holds the very record it was read from.
    const TqmtRow* Stored = Slot(Record->SlotId);
    if (!Stored || Stored->UniqueId != Record->UniqueId || Stored == Record) throw EMemTableInvalidRecord("Invalid record ");
    S = Stored->Values + FOffsets[FieldNo];
    if (*S == 0) return false;
    P = SlotBuffer(S);
    if (!P) throw EMemTableInvalidRecord("Invalid record ");
  }
  Length = BufferLength(P);
  Data = P + sizeof(std::uint32_t);
  return true;
}

bool TqmtCommon::ReadVarValue(const TqmtRow* Record, int FieldNo, String& Bytes) const {
  const char* Data;
  std::uint32_t Len;
  if (!GetVarValue(Record, FieldNo, Data, Len)) return false;
  Bytes.assign(Data, Len);
  if ((FFieldFlags[FieldNo] & qffCompressed) && Hooks) Hooks->DecompressValue(FieldNo, Bytes);
  return true;
}

void TqmtCommon::SetVarValue(TqmtRow* Record, int FieldNo, const void* Data, std::uint32_t Length) const {
  char* S = Record->Values + FOffsets[FieldNo];
  char* New = Data ? NewValueBuffer(Data, Length) : nullptr;
  std::free(SlotBuffer(S));
  SetSlotBuffer(S, New);
  *S = New ? 2 : 0;
}

void TqmtCommon::AddRecord(TqmtRow* Record) {
  TqmtStoreLock L(this);
  // Checked first: a refused record must not be left in a slot.
  if (FUniqueIdCounter > 2147483599)
    throw EMemTableFatalError("Bookmark counter is out of range. Please close and reopen table.");
  if (!FFreeSlots.empty()) {
    Record->SlotId = FFreeSlots.back();
    FFreeSlots.pop_back();
    FSlots[std::size_t(Record->SlotId)] = Record;
  } else {
    Record->SlotId = FSlotCounter++;
    FSlots.push_back(Record);
  }
  Record->UniqueId = FUniqueIdCounter++;
  Record->Flags |= qrfStored;
  if (FEnableVersioning) Record->Status = qrsInserted;
}

void TqmtCommon::RemoveRecord(TqmtRow* Record) {
  TqmtStoreLock L(this);
  int Id = Record->SlotId;
  if (Id < 0 || Id >= int(FSlots.size()) || FSlots[std::size_t(Id)] != Record) return;
  FSlots[std::size_t(Id)] = nullptr;
  FFreeSlots.push_back(Id);
}

void TqmtCommon::RemoveAndFree(TqmtRow* Record) {
  RemoveRecord(Record);
  FreeRecord(Record, true, true);
}

void TqmtCommon::Empty() {
  TqmtStoreLock L(this);
  for (TqmtRow* R : FSlots)
    if (R) FreeRecord(R, true, true);
  FSlots.clear();
  FFreeSlots.clear();
  FSlotCounter = 0;
  FUniqueIdCounter = 0;
  FDeletedCount = 0;
  DrawDataId();
}

TqmtRow* TqmtCommon::ResolveBookmark(const TqmtBookmark& B) const {
  if (B.DataId != FDataId) return nullptr;
  TqmtRow* R = Slot(B.SlotId);
  if (!R || R->UniqueId != B.UniqueId) return nullptr;
  return R;
}

bool TqmtCommon::CheckSlots() const {
  if (int(FSlots.size()) != FSlotCounter) return false;
  std::size_t Free = 0;
  for (std::size_t I = 0; I < FSlots.size(); ++I) {
    if (!FSlots[I]) {
      ++Free;
      continue;
    }
    if (FSlots[I]->SlotId != int(I)) return false;
  }
  return Free == FFreeSlots.size();
}

// --- Versions ----------------------------------------------------------------------------------------

void TqmtCommon::KeepVersion(TqmtRow* StoreRecord, bool ForDelete) {
  if (!FEnableVersioning) return;
  if (!ForDelete && FVersioningMode == mtvm1SinceCheckPoint && StoreRecord->PriorVersion) return;
  TqmtRow* Copy = DuplicateRecord(StoreRecord, true);
  Copy->Flags |= qrfStored;
  Copy->PriorVersion = StoreRecord->PriorVersion;
  StoreRecord->PriorVersion = Copy;
}

const TqmtRow* TqmtCommon::FirstVersion(const TqmtRow* Record) {
  while (Record->PriorVersion) Record = Record->PriorVersion;
  return Record;
}

// A commit folds the innermost level into the one around it: the newest values now belong to the
// outer level, and the versions written inside the committed level are dropped. Versions written
// at outer levels stay, so that rolling back an outer level still restores them.
void TqmtCommon::CommitVersions() {
  TqmtStoreLock L(this);
  if (FTxLevel <= 0) return;
  for (TqmtRow* R : FSlots) {
    if (!R || R->TxLevel != FTxLevel) continue;
    TqmtRow* Prev = R;
    TqmtRow* V = R->PriorVersion;
    while (V) {
      TqmtRow* Next = V->PriorVersion;
      if (V->TxLevel == FTxLevel) {
        Prev->PriorVersion = Next;
        FreeRecord(V, true, false);
      } else {
        Prev = V;
      }
      V = Next;
    }
    R->TxLevel = FTxLevel - 1;
  }
}

void TqmtCommon::RollbackVersions() {
  TqmtStoreLock L(this);
  FDataModified = false;
  if (FTxLevel <= 0) return;
  for (std::size_t I = 0; I < FSlots.size(); ++I) {
    TqmtRow* R = FSlots[I];
    while (R && R->TxLevel == FTxLevel) {
      if (R->Status == qrsInserted) {
        // An insertion of this level: the record never existed before it.
        FSlots[I] = nullptr;
        FFreeSlots.push_back(int(I));
        FreeRecord(R, true, true);
        R = nullptr;
      } else if (R->Status == qrsUnmodified || !R->PriorVersion) {
        // Nothing older to go back to: the record stays as it is rather than being lost.
        break;
      } else {
        TqmtRow* Prior = R->PriorVersion;
        FreeRecord(R, true, false);
        Prior->SlotId = int(I);
        Prior->Flags |= qrfStored;
        FSlots[I] = Prior;
        R = Prior;
      }
    }
    if (R && R->Status != qrsUnmodified) FDataModified = true;
  }
  FDeletedCount = 0;
  for (TqmtRow* R : FSlots)
    if (R && R->Status == qrsDeleted) ++FDeletedCount;
  assert(CheckSlots());
}

// --- Attached tables ---------------------------------------------------------------------------------

void TqmtCommon::Attach(TqmtCustomMemTable* Table) {
  TqmtStoreLock L(this);
  for (auto& T : FAttached)
    if (!T) {
      T = Table;
      return;
    }
  if (AnyTableActive && AnyTableActive()) throw EMemTableError("Table must be closed for this operation.");
  FAttached.push_back(Table);
  FAttachMaxCount = int(FAttached.size());
}

void TqmtCommon::Detach(TqmtCustomMemTable* Table) {
  TqmtStoreLock L(this);
  for (auto& T : FAttached)
    if (T == Table) T = nullptr;
}

// --- Lock and settings -------------------------------------------------------------------------------

void TqmtCommon::EnterLock() {
  if (!FStandalone) FLock.lock();
}

void TqmtCommon::LeaveLock() {
  if (!FStandalone) FLock.unlock();
}

void TqmtCommon::SetLocaleID(unsigned Value) {
  FLocaleID = Value;
  FSortID = int((Value >> 16) & 0xF);
  FLanguageID = Value & 0xFF;
  FSubLanguageID = int((Value >> 10) & 0x3F);
}

namespace {
unsigned MakeLocale(unsigned Lang, int SubLang, int Sort) {
  return ((unsigned(SubLang) * 1024u | Lang) & 0xFFFFu) | (unsigned(Sort) << 16);
}
}  // namespace

void TqmtCommon::SetLanguageID(unsigned Value) {
  FLanguageID = Value;
  FLocaleID = MakeLocale(FLanguageID, FSubLanguageID, FSortID);
}

void TqmtCommon::SetSubLanguageID(int Value) {
  FSubLanguageID = Value;
  FLocaleID = MakeLocale(FLanguageID, FSubLanguageID, FSortID);
}

void TqmtCommon::SetSortID(int Value) {
  FSortID = Value;
  FLocaleID = MakeLocale(FLanguageID, FSubLanguageID, FSortID);
}

void TqmtCommon::SetAutoIncMinValue(int Value) {
  FAutoIncMinValue = Value;
  if (Value > FAutoIncValue) FAutoIncValue = Value - 1;
}

void TqmtCommon::SetStandalone(bool Value) {
  if (Value == FStandalone) return;
  if (Value && FAttached.size() > 1) throw EMemTableError("Children are attached to this table.");
  // Switching happens outside any held lock: the owner checks that the table is closed.
  FStandalone = Value;
}

void TqmtCommon::SetAttachMaxCount(int Value) {
  if (Value == FAttachMaxCount) return;
  if (Value <= 0) throw ERangeError("Invalid argument.");
  TqmtStoreLock L(this);
  if (AnyTableActive && AnyTableActive()) throw EMemTableError("Table must be closed for this operation.");
  FAttached.resize(std::size_t(Value), nullptr);
  FAttachMaxCount = Value;
}
