// This file implements the record store of the in-memory table: TqmtCommon (records, slots,
// layout, identifiers, settings, lock), the record layout TqmtRow, TqmtFieldList, and the
// exception family of the table.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "AnsiString.h"
#include "DBConsts.h"
#include "Exceptions.h"
#include "Object.h"

class TField;
class TqmtCustomMemTable;

VELBOR_EXCEPTION(EMemTableError, EDatabaseError)
VELBOR_EXCEPTION(EMemTableFatalError, EMemTableError)
VELBOR_EXCEPTION(EMemTableInvalidRecord, EMemTableFatalError)
VELBOR_EXCEPTION(EMemTableDupKey, EMemTableError)
VELBOR_EXCEPTION(EMemTableFilterError, EMemTableError)
VELBOR_EXCEPTION(EMemTableLocaleError, EMemTableError)
VELBOR_EXCEPTION(EMemTableInvalidLocale, EMemTableLocaleError)

// The per-field tables of the store are indexed by field number 1 .. QMT_MAX_FIELDS.
inline constexpr int QMT_MAX_FIELDS = 256;

enum TqmtPerformance { mtpfFast, mtpfBalanced, mtpfSmall };
VELBOR_ENUM(TqmtPerformance, "mtpfFast", "mtpfBalanced", "mtpfSmall")
enum TqmtVersioningMode { mtvm1SinceCheckPoint, mtvmAllSinceCheckPoint };
VELBOR_ENUM(TqmtVersioningMode, "mtvm1SinceCheckPoint", "mtvmAllSinceCheckPoint")

// Update status of a record, as TUpdateStatus.
enum : std::uint8_t { qrsUnmodified = 0, qrsModified = 1, qrsInserted = 2, qrsDeleted = 3 };

// Per-field flag bits of the store.
enum : std::uint8_t { qffVarLength = 1, qffCompressed = 2, qffChanged = 4 };

// Bits of TqmtRow::Flags.
enum : std::uint8_t { qrfStored = 1 };

// One record: this header, then the data area in the same allocation. Store records, kept
// versions and cursor buffers share the layout.
struct TqmtRow {
  std::int32_t Position;   // position in the current index as last known; -1 unknown
  std::int32_t SlotId;     // slot in the store; -1 until stored
  std::int32_t UniqueId;   // never reused while the store lives; -1 until stored
  std::uint8_t Flags;      // qrfStored on store records and versions
  std::uint8_t Status;     // qrsUnmodified .. qrsDeleted
  std::int32_t TxLevel;    // transaction level at which this version was written
  std::uint32_t UserTag;
  TqmtRow* PriorVersion;   // the next older kept version, or null
  char* Values;            // the data area, right after the header
};

// A bookmark: which store generation, which record (by unique id) and where it lived (slot).
// A bookmark is only honoured when the slot still holds the record with that unique id.
struct TqmtBookmark {
  std::uint32_t DataId;
  std::int32_t UniqueId;
  std::int32_t SlotId;
};
inline constexpr int QMT_BOOKMARK_SIZE = int(sizeof(TqmtBookmark));

// Per-buffer bookmark entry, one per attach index, in the bookmark area of the data area.
struct TqmtBookmarkEntry {
  std::int32_t UniqueId;
  std::int32_t SlotId;
  std::uint8_t Flag;  // TBookmarkFlag
};

// The description of one column the layout is computed from.
struct TqmtColumnDef {
  String Name;
  TFieldType DataType = ftUnknown;
  int Size = 0;
};

// Option bits of a field in a field list (and of TqmtMemTableCompareOptions).
enum : std::uint8_t {
  mtcoDescending = 1,
  mtcoCaseInsensitive = 2,
  mtcoPartialKey = 4,
  mtcoIgnoreNullKey = 8,
  mtcoIgnoreLocale = 16,
  mtcoUnique = 32,
  mtcoNonMaintained = 64
};

// An ordered list of fields with per-field option bits: index keys, search keys, master and
// detail fields.
class TqmtFieldList : public TObject {
  VELBOR_DECLARE_CLASS(TqmtFieldList, TObject)
 public:
  struct Entry {
    int Offset = -1;        // of the null-flag byte in the data area; -1 for variable-length
    int FieldNo = 0;        // 1-based column number; below 1 for calculated and lookup fields
    TField* Field = nullptr;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    std::uint8_t Options = 0;
  };

  TqmtFieldList() = default;
  // Field lists are values: searches copy them to add options.
  TqmtFieldList(const TqmtFieldList& Other) : TObject(), FEntries(Other.FEntries) {}
  TqmtFieldList& operator=(const TqmtFieldList& Other) {
    FEntries = Other.FEntries;
    return *this;
  }

  int Count() const { return int(FEntries.size()); }
  const Entry& operator[](int Index) const { return FEntries[std::size_t(Index)]; }
  Entry& operator[](int Index) { return FEntries[std::size_t(Index)]; }
  virtual void Clear() { FEntries.clear(); }
  // Answers the new entry's position; more than QMT_MAX_FIELDS entries raise EMemTableError.
  int Add(const Entry& E);
  int Add(TField* Field, std::uint8_t Options);
  int IndexOf(const TField* Field) const;
  void CopyTo(TqmtFieldList& Dest) const { Dest.FEntries = FEntries; }
  // ORs the option bytes of this list into Dest over the shorter count.
  void MergeOptionsInto(TqmtFieldList& Dest) const;

 private:
  std::vector<Entry> FEntries;
};

// Hooks through which the store reaches its owner table while reading and comparing values.
class TqmtRecordHooks {
 public:
  virtual ~TqmtRecordHooks() = default;
  // Turns the stored bytes of a compressed value into the plain value (OnDecompressField).
  virtual void DecompressValue(int FieldNo, String& Bytes) { (void)FieldNo, (void)Bytes; }
  virtual bool HasCompareHook() const { return false; }
  // OnCompareFields: true when the handler decided (Result, FullCompare set).
  virtual bool CompareValues(const TqmtFieldList::Entry& E, const void* Key, const void* Value,
                             std::uint8_t Options, int& Result, bool& FullCompare) {
    (void)E, (void)Key, (void)Value, (void)Options, (void)Result, (void)FullCompare;
    return false;
  }
};

class TqmtCommon : public TObject {
  VELBOR_DECLARE_CLASS(TqmtCommon, TObject)
 public:
  explicit TqmtCommon(TqmtCustomMemTable* AOwner);
  ~TqmtCommon() override;

  TqmtCustomMemTable* Owner() const { return FOwner; }
  TqmtRecordHooks* Hooks = nullptr;

  // --- Layout ----------------------------------------------------------------------------------
  // Lays out the data area for these columns and a calculated area of CalcSize bytes. SetupField
  // (OnSetupField) may change the flags of a variable-length non-blob column. Raises
  // EMemTableError for no columns, an unsupported type, or more than QMT_MAX_FIELDS columns.
  using TSetupFieldProc = std::function<void(int ColumnIndex, std::uint8_t& Flags)>;
  void ComputeRecordLayout(const std::vector<TqmtColumnDef>& Columns, int CalcSize,
                           const TSetupFieldProc& SetupField = nullptr);
  int FieldCount() const { return FFieldCount; }
  int FieldOffset(int FieldNo) const { return FOffsets[std::size_t(FieldNo)]; }
  std::uint8_t FieldFlags(int FieldNo) const { return FFieldFlags[std::size_t(FieldNo)]; }
  void SetFieldFlags(int FieldNo, std::uint8_t Value) { FFieldFlags[std::size_t(FieldNo)] = Value; }
  TFieldType FieldType(int FieldNo) const { return FTypes[std::size_t(FieldNo)]; }
  int FieldSize(int FieldNo) const { return FSizes[std::size_t(FieldNo)]; }
  void ClearChangedFlags();
  bool IsVarLength(int FieldNo) const { return FieldNo >= 1 && (FieldFlags(FieldNo) & qffVarLength); }
  int RecordAllocSize() const { return FRecordAllocSize; }
  int DataSize() const { return FDataSize; }
  int FixedPartSize() const { return FFixedPartSize; }
  int CalcStart() const { return FCalcStart; }
  int CalcSize() const { return FCalcSize; }
  int BookmarkStart() const { return FBookmarkStart; }
  int VarStart() const { return FVarStart; }
  int VarCount() const { return FVarCount; }

  // --- Records ---------------------------------------------------------------------------------
  TqmtRow* NewRecord() const;
  // Header and fixed part; of each variable-length slot only the null flag.
  void CopyRecord(const TqmtRow* Source, TqmtRow* Dest) const;
  // New record plus copy; with buffers each value buffer is duplicated.
  TqmtRow* DuplicateRecord(const TqmtRow* Source, bool WithBuffers) const;
  // Moves the buffer's own value buffers into the store record, then copies header and fixed part.
  void MoveInto(TqmtRow* Buffer, TqmtRow* StoreRecord) const;
  void ReleaseBuffers(TqmtRow* Record) const;
  // Frees the record (and, for a stored record with WithVersions, its older versions).
  void FreeRecord(TqmtRow* Record, bool WithBuffers, bool WithVersions) const;
  // The null-flag byte of a fixed value (or the slot of a variable-length one); null for a null
  // record. FieldNo below 1: calculated area plus CalcOffset.
  char* FieldAddress(const TqmtRow* Record, int FieldNo, int CalcOffset = 0) const;
  static bool IsNull(const char* Address) { return Address == nullptr || *Address == 0; }
  TqmtBookmarkEntry* BookmarkEntry(const TqmtRow* Record, int AttachIndex) const;

  // --- Variable-length values ------------------------------------------------------------------
  // The stored bytes of a variable-length field (compressed as stored). A record without its own
  // buffer reads the store record in its slot, which must still be the same record (unique id).
  // False for null. Raises EMemTableInvalidRecord when the value is present but unreachable.
  bool GetVarValue(const TqmtRow* Record, int FieldNo, const char*& Data, std::uint32_t& Length) const;
  // The plain value bytes (decompressed through the hooks), or false for null.
  bool ReadVarValue(const TqmtRow* Record, int FieldNo, String& Bytes) const;
  // Replaces the record's own buffer; null Data stores null.
  void SetVarValue(TqmtRow* Record, int FieldNo, const void* Data, std::uint32_t Length) const;
  bool OwnsVarBuffer(const TqmtRow* Record, int FieldNo) const;

  // --- Slots -----------------------------------------------------------------------------------
  // Stores a record in a free slot (last freed first) or a new one. Raises EMemTableFatalError,
  // storing nothing, when the unique id counter is exhausted.
  void AddRecord(TqmtRow* Record);
  void RemoveRecord(TqmtRow* Record);
  void RemoveAndFree(TqmtRow* Record);
  // Frees every record; new data id.
  void Empty();
  int RecordCount() const { return int(FSlots.size()); }  // free slots included
  TqmtRow* Slot(int SlotId) const {
    return SlotId >= 0 && SlotId < int(FSlots.size()) ? FSlots[std::size_t(SlotId)] : nullptr;
  }
  void SetSlot(int SlotId, TqmtRow* Record) { FSlots[std::size_t(SlotId)] = Record; }
  const std::vector<int>& FreeSlots() const { return FFreeSlots; }
  // The store record a bookmark names, or null when it is gone, replaced or of another generation.
  TqmtRow* ResolveBookmark(const TqmtBookmark& B) const;
  TqmtBookmark MakeBookmark(const TqmtRow* Record) const {
    return TqmtBookmark{FDataId, Record->UniqueId, Record->SlotId};
  }
  std::uint32_t DataId() const { return FDataId; }
  // Test hook: where the unique id counter stands.
  void SetUniqueIdCounter(int Value) { FUniqueIdCounter = Value; }

  // --- Versions and transactions ---------------------------------------------------------------
  // Keeps a copy of the store record's current values as its prior version, as the mode asks.
  void KeepVersion(TqmtRow* StoreRecord, bool ForDelete);
  void CommitVersions();
  void RollbackVersions();
  // The oldest kept version (the record itself when it has none).
  static const TqmtRow* FirstVersion(const TqmtRow* Record);
  int TransactionLevel() const { return FTxLevel; }
  void RaiseTransactionLevel() { ++FTxLevel; }
  void LowerTransactionLevel() {
    if (FTxLevel > 0) --FTxLevel;
  }
  int DeletedCount() const { return FDeletedCount; }
  void IncDeletedCount() { ++FDeletedCount; }

  // --- Attached tables -------------------------------------------------------------------------
  // Raises EMemTableError when every entry is taken and one of the tables is active.
  void Attach(TqmtCustomMemTable* Table);
  void Detach(TqmtCustomMemTable* Table);
  const std::vector<TqmtCustomMemTable*>& AttachedTables() const { return FAttached; }
  // Asked by Attach and SetAttachMaxCount: is one of the attached tables open?
  std::function<bool()> AnyTableActive;

  // --- Lock ------------------------------------------------------------------------------------
  void EnterLock();
  void LeaveLock();
  bool DataEventsSuppressed() const { return FDataEventsSuppressed; }
  void SetDataEventsSuppressed(bool Value) { FDataEventsSuppressed = Value; }

  // --- Settings --------------------------------------------------------------------------------
  unsigned LocaleID() const { return FLocaleID; }
  void SetLocaleID(unsigned Value);
  unsigned LanguageID() const { return FLanguageID; }
  void SetLanguageID(unsigned Value);
  int SubLanguageID() const { return FSubLanguageID; }
  void SetSubLanguageID(int Value);
  int SortID() const { return FSortID; }
  void SetSortID(int Value);
  int AutoIncMinValue() const { return FAutoIncMinValue; }
  void SetAutoIncMinValue(int Value);
  int AutoIncValue() const { return FAutoIncValue; }
  void SetAutoIncValue(int Value) { FAutoIncValue = Value; }
  TqmtPerformance Performance() const { return FPerformance; }
  void SetPerformance(TqmtPerformance Value) { FPerformance = Value; }
  TqmtVersioningMode VersioningMode() const { return FVersioningMode; }
  void SetVersioningMode(TqmtVersioningMode Value) { FVersioningMode = Value; }
  bool EnableVersioning() const { return FEnableVersioning; }
  void SetEnableVersioning(bool Value) { FEnableVersioning = Value; }
  bool DataModified() const { return FDataModified; }
  void SetDataModified(bool Value) { FDataModified = Value; }
  bool Standalone() const { return FStandalone; }
  // EMemTableError "Children are attached to this table." with more than one attach entry.
  void SetStandalone(bool Value);
  int AttachMaxCount() const { return FAttachMaxCount; }
  // ERangeError for 0 or less; EMemTableError while an attached table is active.
  void SetAttachMaxCount(int Value);

  // Invariant: slots, free list and counters agree.
  bool CheckSlots() const;

 private:
  void DrawDataId();

  std::recursive_mutex FLock;
  bool FStandalone = false;
  std::vector<TqmtRow*> FSlots;
  TqmtCustomMemTable* FOwner;
  int FFieldCount = 0;
  int FOffsets[QMT_MAX_FIELDS + 1];
  std::uint8_t FFieldFlags[QMT_MAX_FIELDS + 1];
  TFieldType FTypes[QMT_MAX_FIELDS + 1];
  int FSizes[QMT_MAX_FIELDS + 1];
  unsigned FLanguageID = 0;
  int FSubLanguageID = 1;
  int FSortID = 0;
  std::uint32_t FDataId = 0;
  unsigned FLocaleID = 1024;
  int FBookmarkAreaSize = 0;
  int FFixedPartSize = 0;
  int FRecordAllocSize = 0;
  int FDataSize = 0;
  int FCalcSize = 0;
  int FVarAreaSize = 0;
  int FCalcStart = 0;
  int FBookmarkStart = 0;
  int FVarStart = 0;
  int FVarCount = 0;
  bool FDataModified = false;
  int FAutoIncMinValue = 0;
  int FAutoIncValue = 0;
  int FDeletedCount = 0;
  int FUniqueIdCounter = 0;
  int FSlotCounter = 0;
  TqmtPerformance FPerformance = mtpfFast;
  int FAttachMaxCount = 1;
  std::vector<TqmtCustomMemTable*> FAttached;
  std::vector<int> FFreeSlots;
  TqmtVersioningMode FVersioningMode = mtvm1SinceCheckPoint;
  bool FEnableVersioning = false;
  int FTxLevel = 0;
  bool FDataEventsSuppressed = false;
};

// Holds the store lock for a scope.
class TqmtStoreLock {
 public:
  explicit TqmtStoreLock(TqmtCommon* Store) : FStore(Store) { FStore->EnterLock(); }
  ~TqmtStoreLock() { FStore->LeaveLock(); }
  TqmtStoreLock(const TqmtStoreLock&) = delete;
  TqmtStoreLock& operator=(const TqmtStoreLock&) = delete;

 private:
  TqmtCommon* FStore;
};

// Value bytes a field type takes in the fixed area (without the null-flag byte); 0 for the types
// with no fixed value.
int QmtValueSize(TFieldType Type, int Size);
bool QmtIsBlobType(TFieldType Type);
bool QmtIsSupportedType(TFieldType Type);
// Text a field type's ordinal is reported with in errors.
String QmtTypeOrdinal(TFieldType Type);
