// This file implements the in-memory table: TqmtCustomMemTable, a dataset whose records live in a
// shared record store, with indexes, filtering, master/detail, copying, versions, blob streams and
// a save/load framework; TqmtMemTable, which publishes it; TqmtBlobStream, TqmtCustomStreamFormat
// and TqmtCustomDeltaHandler.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"
#include "Streams.h"
#include "qmtMemTable_Filter.h"
#include "qmtMemTable_Index.h"
#include "qmtMemTable_Store.h"

class TqmtCustomMemTable;
class TqmtCustomStreamFormat;
class TqmtCustomDeltaHandler;

enum TqmtMemTableStorageType { mtstDataSet, mtstStream, mtstBinaryStream, mtstFile, mtstBinaryFile };
using TqmtProgressCodes = TSet<TqmtProgressCode>;

// Index options of an index definition (the dataset model has none of its own).
enum TqmtIndexOption { ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression, ixNonMaintained };
using TqmtIndexOptions = TSet<TqmtIndexOption>;

struct TqmtIndexDef {
  String Name;
  String Fields;            // ';'-separated, with optional ":DCNPL" per field
  String DescFields;        // fields made descending by ixDescending
  String CaseInsFields;     // fields made case-insensitive by ixCaseInsensitive
  TqmtIndexOptions Options;
  std::uint8_t StatusSet = qisDefault;
};

// Options of FillFromDataSet.
enum : unsigned {
  mtcpoStructure = 1,
  mtcpoOnlyDataFields = 2,
  mtcpoProperties = 4,
  mtcpoLookup = 8,
  mtcpoCalculated = 16,
  mtcpoAppend = 32,
  mtcpoFieldIndex = 64,
  mtcpoDontDisableIndexes = 128,
  mtcpoIgnoreErrors = 256,
  mtcpoStringAsWideString = 512,
  mtcpoWideConversion = 1024
};

using TqmtProgressEvent = TEvent<void(TDataSet* DataSet, int Percentage, TqmtProgressCode Code)>;
using TqmtAcceptRecordEvent = TEvent<void(TDataSet* DataSet, bool& Accept)>;
using TqmtFieldEvent = TEvent<void(TDataSet* DataSet, int FieldNo, TField* Field)>;
using TqmtStorageEvent = TEvent<void(TDataSet* DataSet, TqmtMemTableStorageType StorageType, TStream* Stream)>;
using TqmtSetupFieldEvent = TEvent<void(TDataSet* DataSet, TField* Field, std::uint8_t& FieldFlags)>;
using TqmtFieldPropertiesEvent = TEvent<void(TDataSet* DataSet, TField* Field)>;
// Bytes of a value to store (compress) or as stored (decompress); the handler replaces them.
using TqmtCompressFieldEvent = TEvent<void(TDataSet* DataSet, TField* Field, String& Bytes)>;
using TqmtCompressBlobStreamEvent = TEvent<void(TDataSet* DataSet, TStream* From, TStream* To)>;
using TqmtCompareFieldsEvent = TEvent<int(TDataSet* DataSet, TField* Field, const void* KeyValue,
                                          const void* RecordValue, std::uint8_t Options, bool& FullCompare)>;
using TqmtFilterIndexEvent = TEvent<void(TDataSet* DataSet, TqmtIndex* Index, bool& Accept)>;

class TqmtCustomMemTable : public TDataSet,
                           public TqmtIndexOwner,
                           public TqmtRecordHooks,
                           public TqmtFilterContext {
  VELBOR_DECLARE_CLASS(TqmtCustomMemTable, TDataSet)
 public:
  explicit TqmtCustomMemTable(TComponent* AOwner);
  ~TqmtCustomMemTable() override;

  // --- Properties ------------------------------------------------------------------------------
  TqmtCommon* Store() const { return FStore; }
  TqmtIndexes* Indexes() const { return FIndexes.get(); }
  int AttachIndex() const { return FAttachIndex; }
  TqmtCustomMemTable* AttachedTo() const { return FAttachedTo; }
  void SetAttachedTo(TqmtCustomMemTable* Value);
  bool AttachedAutoRefresh = true;
  int AttachMaxCount() const { return FStore->AttachMaxCount(); }
  void SetAttachMaxCount(int Value) { FStore->SetAttachMaxCount(Value); }
  int AutoIncMinValue() const { return FStore->AutoIncMinValue(); }
  void SetAutoIncMinValue(int Value) { FStore->SetAutoIncMinValue(Value); }
  TqmtPerformance Performance() const { return FStore->Performance(); }
  void SetPerformance(TqmtPerformance Value) { FStore->SetPerformance(Value); }
  bool Standalone() const { return FStore->Standalone(); }
  void SetStandalone(bool Value);
  bool EnableVersioning() const { return FStore->EnableVersioning(); }
  void SetEnableVersioning(bool Value) { FStore->SetEnableVersioning(Value); }
  TqmtVersioningMode VersioningMode() const { return FStore->VersioningMode(); }
  void SetVersioningMode(TqmtVersioningMode Value) { FStore->SetVersioningMode(Value); }
  unsigned LocaleID() const { return FStore->LocaleID(); }
  void SetLocaleID(unsigned Value) { FStore->SetLocaleID(Value); }
  bool EnableIndexes = true;
  bool AutoAddIndexes = false;
  bool AutoReposition = false;
  bool DesignActivation = true;
  bool RecalcOnIndex = false;
  bool RecalcOnFetch = true;
  bool ReadOnly = false;
  bool RangeIgnoreNullKeyValues = true;
  const String& IndexFieldNames() const { return FIndexFieldNames; }
  void SetIndexFieldNames(const String& Value);
  const String& IndexName() const { return FIndexName; }
  void SetIndexName(const String& Value);
  std::vector<TqmtIndexDef>& IndexDefs() { return FIndexDefs; }
  // Stored and streamed; nothing in the table reads them.
  String SortFields;
  int SortOptions = 0;
  String Version() const { return "4.08b"; }
  void SetVersion(const String&) {}  // read from forms, never changed
  int LoadLimit = -1;
  int SaveLimit = -1;
  bool LoadedCompletely() const { return FLoadedCompletely; }
  bool SavedCompletely() const { return false; }
  int RecordsLoaded() const { return FRecordsLoaded; }
  int RecordsSaved() const { return FRecordsSaved; }
  TqmtProgressCodes ProgressFlags{mtpcLoad, mtpcSave, mtpcCopy};
  bool Persistent = false;
  String PersistentFile;
  bool PersistentBackup = false;
  String PersistentBackupExt = ".bak";
  bool StoreDataOnForm = false;
  TqmtCustomStreamFormat* PersistentFormat = nullptr;
  TqmtCustomStreamFormat* FormFormat = nullptr;
  TqmtCustomStreamFormat* DefaultFormat = nullptr;
  TqmtCustomDeltaHandler* DeltaHandler() const { return FDeltaHandler; }
  void SetDeltaHandler(TqmtCustomDeltaHandler* Value);
  TDataSource* MasterSource() const { return FMasterLink->DataSource(); }
  void SetMasterSource(TDataSource* Value);
  const String& MasterFields() const { return FMasterLink->FieldNames(); }
  void SetMasterFields(const String& Value);
  const String& DetailFields() const { return FDetailFields; }
  void SetDetailFields(const String& Value);
  bool NeedsFiltering() const { return FFilterNeed; }

  // --- Operations ------------------------------------------------------------------------------
  virtual void ResetCursor() { FCursor = -1; }
  virtual void CursorToEnd() { FCursor = FIndexes->Current()->Count(); }
  virtual bool MoveNext(bool Forced);
  virtual bool MovePrior(bool Forced);
  virtual void UpdateFilterNeed();
  virtual void CallFilterEvent(TDataSet* DataSet, bool& Accept);
  virtual void SyncWithMaster();
  virtual void DropMasterLink();
  virtual void SaveThroughFormat(TStream* Stream, TqmtCustomStreamFormat* Format);
  virtual void LoadThroughFormat(TStream* Stream, TqmtCustomStreamFormat* Format);
  virtual void ReportProgress(int Percent, TqmtProgressCode Code);
  virtual int TransferRecords(TDataSet* Source, TDataSet* Destination, int Limit, bool IgnoreErrors,
                              bool WideConversion);
  virtual void LockStore();
  virtual void UnlockStore();
  virtual void StartTransaction();
  virtual void Commit();
  virtual void Rollback();
  virtual void FillFromDataSet(TDataSet* Source, unsigned Options);
  virtual void CopyIntoDataSet(TDataSet* Destination, unsigned Options);
  // Brings Destination up to date by KeyFields: option 1 updates the records found, 2 appends
  // the others. Answers nothing; RecordsSaved counts the records posted.
  virtual void SyncIntoDataSet(TDataSet* Destination, const String& KeyFields, unsigned Options);
  virtual void SyncIntoDataSetDefault(TDataSet* Destination, const String& KeyFields) {
    SyncIntoDataSet(Destination, KeyFields, 3);
  }
  int SyncRecords(TDataSet* Source, TDataSet* Destination, const String& KeyFields, int Limit, unsigned Options);

  // Frees every record of the store (all attached tables see an empty table).
  void EmptyTable();
  bool IsRecordVisible(TqmtRow* Record, bool Forced);
  // Adds a sorted index (and its definition) and a definition-less search.
  void AddIndex(const String& Name, const String& Fields, std::uint8_t StatusSet = qisDefault,
                TqmtIndexOptions Options = {});
  void DeleteIndex(const String& Name);
  // Parses "a;b:DC" into a field list of this table (or of DataSet).
  void ParseFieldList(TDataSet* DataSet, TqmtFieldList& List, const String& FieldNames);
  // Stores Value into Record as the field's value (key records).
  void SetFieldValue(TqmtRow* Record, TField* Field, const Variant& Value);
  void SetFieldValues(TqmtRow* Record, const String& FieldNames, const Variant& Values);
  // Position in the current index of the first record whose fields equal the values, or -1.
  int FindByValues(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) override;
  Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields) override;
  // Saving and loading through a format component.
  void SaveToFile(const String& FileName, TqmtCustomStreamFormat* Format);
  void LoadFromFile(const String& FileName, TqmtCustomStreamFormat* Format);
  void SaveToStream(TStream* Stream, TqmtCustomStreamFormat* Format);
  void LoadFromStream(TStream* Stream, TqmtCustomStreamFormat* Format);
  void SavePersistentFile();

  // Dataset overrides that are public in the model.
  bool GetFieldData(TField* Field, void* Buffer) override;
  void SetFieldData(TField* Field, const void* Buffer) override;
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  bool BookmarkValid(const TBookmark& Bookmark) override;
  int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) override;
  bool IsSequenced() override { return !Filtered(); }
  TUpdateStatus UpdateStatus() override;
  void SetRecNo(int Value) override;
  void SetFiltered(bool Value) override;
  void SetFilterText(const String& Value) override;
  void SetOnFilterRecord(TFilterRecordEvent Value) override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;

  // The record field reads and writes address (see CurrentRecord); set by filters and searches.
  TqmtRow* OverrideRecord = nullptr;
  TqmtRow* CurrentRecord();
  // The record buffer of a dataset buffer.
  static TqmtRow* Row(char* Buffer) { return reinterpret_cast<TqmtRow*>(Buffer); }

  // --- Events ----------------------------------------------------------------------------------
  TqmtProgressEvent OnProgress;
  TqmtAcceptRecordEvent OnLoadRecord, OnSaveRecord;
  TqmtFieldEvent OnLoadField, OnSaveField;
  TqmtStorageEvent OnSave, OnLoad;
  TqmtSetupFieldEvent OnSetupField;
  TqmtFieldPropertiesEvent OnSetupFieldProperties;
  TqmtCompressFieldEvent OnCompressField, OnDecompressField;
  TqmtCompressBlobStreamEvent OnCompressBlobStream, OnDecompressBlobStream;
  TqmtCompareFieldsEvent OnCompareFields;
  TqmtFilterIndexEvent OnFilterIndex;
  // The table's own before-insert event (the model's BeforeInsert is handled by the table).
  TDataSetNotifyEvent OnBeforeInsert;

 protected:
  friend class TqmtBlobStream;
  friend class TqmtCustomStreamFormat;
  friend class TqmtCustomDeltaHandler;

  // Buffer protocol.
  char* AllocRecordBuffer() override;
  void FreeRecordBuffer(char*& Buffer) override;
  void InternalInitRecord(char* Buffer) override;
  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) override;
  unsigned GetRecordSize() override { return unsigned(FStore->RecordAllocSize()); }
  unsigned CalcFieldsOffset() override { return unsigned(sizeof(TqmtRow) + std::size_t(FStore->CalcStart())); }
  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalFirst() override { ResetCursor(); }
  void InternalLast() override { CursorToEnd(); }
  void InternalPost() override;
  void InternalAddRecord(char* Buffer, bool Append) override;
  void InternalDelete() override;
  void InternalCancel() override;
  void InternalGotoBookmark(const void* Bookmark) override;
  void InternalSetToRecord(char* Buffer) override;
  void GetBookmarkData(char* Buffer, void* Data) override;
  void SetBookmarkData(char* Buffer, const void* Data) override;
  TBookmarkFlag GetBookmarkFlag(char* Buffer) override;
  void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) override;
  bool IsCursorOpen() override { return FCursorOpen; }
  int GetRecordCount() override;
  int GetRecNo() override;
  bool GetCanModify() override { return !ReadOnly || FLoading; }
  TDataSource* GetDataSource() override { return FMasterLink->DataSource(); }
  bool GetIsIndexField(TField* Field) override { return FCurrentFields.IndexOf(Field) >= 0; }
  bool FindRecord(bool Restart, bool GoForward) override;
  void MasterChanged(TObject* Sender) override;
  void MasterDisabled(TObject* Sender) override;

  // The form property "Data": the records saved through FormFormat.
  void DefineProperties(TFiler* Filer) override;
  void ReadDataProperty(TStream* Stream);
  void WriteDataProperty(TStream* Stream);
  // A table whose DesignActivation is off stays closed after its form loads.
  void Loaded() override;
  void DoAfterOpen() override;
  void DoBeforeClose() override;
  void DoAfterPost() override;
  void DoAfterDelete() override;
  void DoBeforePost() override;
  void DoOnNewRecord() override;
  void DoBeforeInsert() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Index owner, record hooks and filter context.
  TqmtCommon* IndexStore() const override { return FStore; }
  bool IndexNeedsFiltering() override { return FFilterNeed; }
  bool IndexRecordVisible(TqmtRow* Record) override { return IsRecordVisible(Record, false); }
  bool IndexAccepts(TqmtIndex* Index, TqmtRow* Record) override;
  void IndexRecalc(TqmtRow* Record) override;
  bool IndexRecalcWanted() override { return RecalcOnIndex; }
  void IndexProgress(int Percent, TqmtProgressCode Code) override { ReportProgress(Percent, Code); }
  bool IndexTableActive() override { return Active(); }
  void DecompressValue(int FieldNo, String& Bytes) override;
  bool HasCompareHook() const override { return bool(OnCompareFields); }
  bool CompareValues(const TqmtFieldList::Entry& E, const void* Key, const void* Value, std::uint8_t Options,
                     int& Result, bool& FullCompare) override;
  int FilterFieldIndex(const String& Name) override { return FieldByName(Name)->Index(); }
  Variant FilterFieldValue(int FieldIndex) override { return Fields()->Fields(FieldIndex)->AsVariant(); }

 private:
  void CreateOwnStore();
  std::vector<TqmtColumnDef> ColumnDefs();
  TqmtIndex* CreateIndexFromDef(const TqmtIndexDef& Def);
  void ReconcileIndexes();
  void SelectIndex(TqmtIndex* Index);
  void RebuildAttachedIndexes();
  void RefreshOthers();
  void EmptyAllTables();
  void CloseOthers();
  bool AnyAttachedActive() const;
  void ParseFilter();
  bool MasterLinkActive();
  // Writes the native bytes of a field into a record (fixed area or value buffer).
  void WriteValue(TqmtRow* Record, TField* Field, const void* Data);
  TqmtRow* StoreRecordAtCursor() const;
  TqmtRow* BookmarkRecord(const TBookmark& Bookmark) const;
  void TakeFieldProperties(TDataSet* Source, TDataSet* Destination);
  void CreateFieldDefsFrom(TDataSet* Source, unsigned Options);

  int FAttachIndex = 0;
  TqmtCommon* FStore = nullptr;
  bool FOwnsStore = true;
  std::unique_ptr<TqmtIndexes> FIndexes;
  std::vector<TqmtIndexDef> FIndexDefs;
  TqmtCustomMemTable* FAttachedTo = nullptr;
  bool FLoading = false;
  bool FNoAutoInc = false;
  bool FCursorOpen = false;
  int FCursor = -1;
  int FRepositionTarget = -1;
  int FInsertPosition = -1;
  bool FAfterOpenRunning = false;
  bool FFilterNeed = false;
  bool FMasterLinkUsed = true;
  std::unique_ptr<TqmtFilterExpression> FFilterExpr;
  TMasterDataLink* FMasterLink = nullptr;
  String FDetailFields;
  TqmtFieldList FMasterFieldList, FDetailFieldList, FCurrentFields;
  TqmtRow* FMasterKey = nullptr;
  TField* FAutoIncField = nullptr;
  String FIndexFieldNames, FIndexName;
  bool FLoadedCompletely = false;
  int FRecordsLoaded = 0;
  int FRecordsSaved = 0;
  bool FPersistentSaved = false;
  TqmtCustomDeltaHandler* FDeltaHandler = nullptr;
  std::unique_ptr<TMemoryStream> FFormData;  // read from the form, loaded after opening
};

class TqmtMemTable : public TqmtCustomMemTable {
  VELBOR_DECLARE_CLASS(TqmtMemTable, TqmtCustomMemTable)
 public:
  explicit TqmtMemTable(TComponent* AOwner) : TqmtCustomMemTable(AOwner) {}
};

// A stream over a blob field of the table's current record. Every change is stored into the
// record as it is made, so that a failure to store raises from the write that caused it.
class TqmtBlobStream : public TMemoryStream {
  VELBOR_DECLARE_CLASS(TqmtBlobStream, TMemoryStream)
 public:
  TqmtBlobStream(TField* Field, TBlobStreamMode Mode);
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  void SetSize(std::int64_t NewSize) override;

 private:
  void StoreValue();

  TField* FField;
  TqmtCustomMemTable* FTable;
  TBlobStreamMode FMode;
  TqmtRow* FRecord = nullptr;
};

// The steps of saving and loading a whole table; a concrete format overrides the reading and
// writing steps.
class TqmtCustomStreamFormat : public TComponent {
  VELBOR_DECLARE_CLASS(TqmtCustomStreamFormat, TComponent)
 public:
  explicit TqmtCustomStreamFormat(TComponent* AOwner) : TComponent(AOwner) {}
  // Option sets: bit 1 applies to saving, bit 2 to loading.
  int DataOption = 3, CalculatedOption = 0, LookupOption = 0, NonVisibleOption = 3, BlobOption = 3,
      DefinitionsOption = 3, IndexDefsOption = 3, FilteredOption = 1, IgnoreRangeOption = 1,
      IgnoreMasterDetailOption = 1, DeltasOption = 0, UnfilteredDeltasOption = 0, AppendOption = 0,
      FieldKindsOption = 1, FromStartOption = 1;
  TNotifyEvent BeforeSave, AfterSave, BeforeLoad, AfterLoad;
  TqmtCompressBlobStreamEvent OnCompress, OnDecompress;
  // Per table field: saved or not; per stored column: the table field it loads, or -1.
  std::vector<int> SaveMap, LoadMap;
  TStream* Stream() const { return FWorkStream; }

  virtual String FormatVersion() { return "1.00"; }
  virtual void ChooseSaveFields(TDataSet* DataSet);
  virtual void BeginSave(TqmtCustomMemTable* Table);
  virtual void WriteDefinitions(TqmtCustomMemTable*) {}
  virtual void WriteRecords(TqmtCustomMemTable*) {}
  virtual void SaveTable(TqmtCustomMemTable* Table);
  virtual void EndSave(TqmtCustomMemTable* Table);
  virtual void ListSourceFields(TDataSet* DataSet, std::vector<String>& Names);
  virtual void ChooseLoadFields(TqmtCustomMemTable* Table, bool ForLoad);
  virtual void MatchLoadField(TDataSet*, const String&, bool, int&, int, int) {}
  virtual void BeginLoad(TqmtCustomMemTable* Table);
  virtual void ReadDefinitions(TqmtCustomMemTable*) {}
  virtual void ReadRecords(TqmtCustomMemTable*) {}
  virtual void LoadTable(TqmtCustomMemTable* Table);
  virtual void EndLoad(TqmtCustomMemTable* Table);

 protected:
  friend class TqmtCustomMemTable;
  TStream* FOuterStream = nullptr;
  TStream* FWorkStream = nullptr;
  std::unique_ptr<TMemoryStream> FTempStream;
  TBookmark FKeptBookmark;
  bool FSavedFiltered = false, FSavedMasterLinkUsed = true, FSavedEnableIndexes = true, FSavedPersistent = false;
  TDataSet* FLoadSource = nullptr;  // the names of ListSourceFields
};

// Walks the changes kept by versioning and hands each record to an overridable operation.
class TqmtCustomDeltaHandler : public TComponent {
  VELBOR_DECLARE_CLASS(TqmtCustomDeltaHandler, TComponent)
 public:
  explicit TqmtCustomDeltaHandler(TComponent* AOwner) : TComponent(AOwner) {}
  ~TqmtCustomDeltaHandler() override;
  TqmtCustomMemTable* Table() const { return FTable; }
  // The record being handled and its oldest kept version.
  const TqmtRow* CurrentRecord() const { return FRecord; }
  const TqmtRow* FirstVersion() const { return FFirst; }
  // State: 0 unchanged, 1 modified, 2 inserted, 3 deleted.
  virtual void HandleInserted(bool& Retry, int& State) { (void)Retry, (void)State; }
  virtual void HandleDeleted(bool& Retry, int& State) { (void)Retry, (void)State; }
  virtual void HandleModified(bool& Retry, int& State) { (void)Retry, (void)State; }
  virtual void HandleUnchanged(bool& Retry, int& State) { (void)Retry, (void)State; }
  virtual void WalkChanges();

 protected:
  friend class TqmtCustomMemTable;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TqmtCustomMemTable* FTable = nullptr;
  const TqmtRow* FRecord = nullptr;
  const TqmtRow* FFirst = nullptr;
};
