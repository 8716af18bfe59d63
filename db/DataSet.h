// This file implements TDataSet, the abstract dataset: states, the record-buffer window, navigation,
// editing with its events, bookmarks, filters, Locate/Lookup and the link to data sources.
//
// Buffer protocol. A descendant keeps its records wherever it likes and overrides the record-level
// operations below (AllocRecordBuffer ... IsCursorOpen). The base keeps a window of BufferCount
// record buffers (as many as the largest data link asks for) plus one scratch buffer, fills them
// through GetRecord(Buffer, gmCurrent/gmNext/gmPrior), and drives the descendant's cursor through
// InternalFirst, InternalLast, InternalSetToRecord and InternalGotoBookmark before each fetch.
// Every record buffer carries, wherever the descendant puts them, a bookmark (BookmarkSize bytes,
// Get/SetBookmarkData) and a flag (Get/SetBookmarkFlag).
//
// Fields. TField values go through GetFieldData/SetFieldData in the native form of DBConsts.h;
// a descendant reads "the record of the current state" (GetStateRecordBuffer gives the common
// answer). Calculated and lookup fields live in a calculation area that BindFields lays out: each
// such field has FieldNo -1 and an Offset in the area, one null-flag byte followed by DataSize
// bytes; CalcFieldsSize is the area's size, and ReadCalcField/WriteCalcField read and write it.
//
// Bookmarks (TBookmark) are byte vectors of BookmarkSize bytes; an empty vector is "no bookmark".
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "AnsiString.h"
#include "Component.h"
#include "DBConsts.h"
#include "Event.h"
#include "Exceptions.h"
#include "Format.h"
#include "Variant.h"

class TField;
class TFields;
class TFieldDef;
class TFieldDefs;
class TDataSource;
class TDataLink;
class TDataSet;
class TStream;
class TStrings;

using TRecordBuffer = char*;
using TBookmark = std::vector<unsigned char>;
using TFieldClass = TClass;

// The field class made for each field type when a dataset creates its fields from its field
// definitions; defined with the field classes (Field.cpp). Null for a type without a class.
TFieldClass DefaultFieldClasses(TFieldType FieldType);

using TDataSetNotifyEvent = TEvent<void(TDataSet* DataSet)>;
// E may be given a new Message; Action chooses between re-raising (daFail, the default), leaving
// silently (daAbort: EAbort) and trying again (daRetry).
using TDataSetErrorEvent = TEvent<void(TDataSet* DataSet, EDatabaseError* E, TDataAction& Action)>;
using TFilterRecordEvent = TEvent<void(TDataSet* DataSet, bool& Accept)>;

// Raises EDatabaseError with Message, prefixed with "Name: " when Component has a name.
[[noreturn]] void DatabaseError(const String& Message, TComponent* Component = nullptr);
// The same with Message formatted (Format) from Args.
[[noreturn]] void DatabaseErrorFmt(const String& Message, std::initializer_list<TVarRec> Args,
                                   TComponent* Component = nullptr);

class TDataSet : public TComponent {
  VELBOR_DECLARE_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* AOwner);
  // Detaches the data sources and frees the fields. The base cannot reach the buffer protocol once
  // the descendant is destroyed, so each descendant's destructor calls Destroying() then Close()
  // (no close events while destroying).
  ~TDataSet() override;

  // Properties.
  bool Active() const;
  void SetActive(bool Value);
  TDataSetState State() const { return FState; }
  bool Bof() const { return FBOF; }
  bool Eof() const { return FEOF; }
  bool IsEmpty() const { return FActiveRecord >= FRecordCount; }
  bool Modified() const { return FModified; }
  bool CanModify() { return GetCanModify(); }
  bool DefaultFields() const { return FDefaultFields; }
  bool Found() const { return FFound; }
  TFields* Fields() const { return FFields; }
  int FieldCount() const;
  TFieldDefs* FieldDefs() const { return FFieldDefs; }
  void SetFieldDefs(TFieldDefs* Value);
  // The value of one field, or a variant array for several ';'-separated names.
  Variant FieldValues(const String& FieldName);
  void SetFieldValues(const String& FieldName, const Variant& Value);
  int RecordCount() { return GetRecordCount(); }
  int RecNo() { return GetRecNo(); }
  // Nothing in the base; descendants that number their records move there.
  virtual void SetRecNo(int) {}
  int RecordSize() { return int(GetRecordSize()); }
  TBookmark Bookmark() { return GetBookmark(); }
  void SetBookmark(const TBookmark& Value) { GotoBookmark(Value); }
  // The data source this dataset takes its master values or parameters from; none in the base.
  TDataSource* DataSource() { return GetDataSource(); }
  bool AutoCalcFields = true;
  bool ControlsDisabled() const { return FDisableCount != 0; }

  // The filter text is the descendant's to evaluate; OnFilterRecord is called by the descendant's
  // GetRecord (through FilterRecord) while Filtered is set. Changing either on an open dataset
  // re-reads it from the first record.
  const String& Filter() const { return FFilterText; }
  void SetFilter(const String& Value) { SetFilterText(Value); }
  bool Filtered() const { return FFiltered; }
  virtual void SetFiltered(bool Value);
  virtual void SetFilterText(const String& Value);
  TFilterOptions FilterOptions() const { return FFilterOptions; }
  virtual void SetFilterOptions(TFilterOptions Value);
  TFilterRecordEvent OnFilterRecord() const { return FOnFilterRecord; }
  virtual void SetOnFilterRecord(TFilterRecordEvent Value);

  // Operations.
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to Distance records (backwards when negative); answers the distance moved.
  int MoveBy(int Distance);
  // On an empty dataset Edit starts a new record (Insert): the program relies on it.
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Insert or append a record with the given values (in field order; an unassigned variant leaves
  // that field as OnNewRecord made it, a null one clears it) and post it through InternalAddRecord.
  void InsertRecord(std::initializer_list<Variant> Values);
  void AppendRecord(std::initializer_list<Variant> Values);
  void SetFields(std::initializer_list<Variant> Values);
  void CheckBrowseMode();
  void Refresh();
  void Resync(TResyncMode Mode);
  // Lets the controls write their pending edits into the record (deUpdateRecord).
  void UpdateRecord();
  void ClearFields();
  void DisableControls();
  void EnableControls();
  void CursorPosChanged() { FCurrentRecord = -1; }
  void UpdateCursorPos();

  // Case-insensitive; FieldByName raises EDatabaseError "Champ '%s' non trouvé" when absent.
  TField* FieldByName(const String& FieldName) const;
  TField* FindField(const String& FieldName) const;
  TField* FieldByNumber(int FieldNo) const;
  void GetFieldNames(TStrings* List) const;
  // The fields named in a ';'-separated list, in its order; FieldByName's error for a missing one.
  void GetFieldList(std::vector<TField*>& List, const String& FieldNames) const;

  TBookmark GetBookmark();
  // An empty bookmark does nothing; one the descendant cannot find raises its error.
  void GotoBookmark(const TBookmark& Bookmark);
  void FreeBookmark(TBookmark& Bookmark) { Bookmark.clear(); }
  virtual bool BookmarkValid(const TBookmark& Bookmark);
  // -1, 0 or 1 in the dataset's order; 0 in the base.
  virtual int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2);

  // Searches the visible records, from the first, for the one whose KeyFields (';'-separated)
  // equal KeyValues (one value, or a variant array for several fields). Text fields compare with
  // the text order when loCaseInsensitive is given, by bytes otherwise; loPartialKey accepts a
  // text that starts with the key. Locate makes the record found current (scroll events) and
  // leaves the position unchanged otherwise; Lookup never moves and answers the ResultFields'
  // values (Null when not found).
  virtual bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  virtual Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields);

  bool FindFirst();
  bool FindLast();
  bool FindNext();
  bool FindPrior();

  virtual bool GetCurrentRecord(char* Buffer);
  virtual bool IsSequenced() { return true; }
  virtual TUpdateStatus UpdateStatus() { return usUnmodified; }
  // True when ADataSource is fed by this dataset, directly or through a chain of details: a
  // descendant refuses such a source as its master ("liens circulaires").
  bool IsLinkedTo(TDataSource* ADataSource);

  // What the fields ask of their dataset.
  // Copies the field's value of the current state's record into Buffer (when not null); false
  // when the value is null.
  virtual bool GetFieldData(TField* Field, void* Buffer) = 0;
  // Writes Buffer (null: the null value) into the current state's record; called by TField::SetData,
  // which has checked the state and tells everyone afterwards.
  virtual void SetFieldData(TField* Field, const void* Buffer) = 0;
  // A stream over a blob field's value; the caller frees it. The base raises EDatabaseError.
  virtual TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode);
  // A field's value read (written) in a temporary state (dsOldValue, dsNewValue, dsCurValue).
  virtual Variant GetStateFieldValue(TDataSetState AState, TField* Field);
  virtual void SetStateFieldValue(TDataSetState AState, TField* Field, const Variant& Value);
  // Tells the data sources (and through them the links); while controls are disabled they hear
  // nothing, and EnableControls sends one deDataSetChange (deLayoutChange) instead. deFieldChange
  // (Info: the TField*) first marks the record modified and recomputes the calculated fields.
  // TField::SetData checks the state, validates, calls SetFieldData, then sends deFieldChange and
  // fires the field's OnChange: a descendant's SetFieldData only stores the value.
  virtual void DataEvent(TDataEvent Event, intptr_t Info);
  // The buffer of the current record of the window (null when the window is empty).
  char* ActiveBuffer() const { return FBuffers.empty() ? nullptr : FBuffers[std::size_t(FActiveRecord)]; }
  // The record whose calculated fields are being computed (dsCalcFields).
  char* CalcBuffer() const { return FCalcBuffer; }
  int CalcFieldsSize() const { return FCalcFieldsSize; }
  int BookmarkSize() const { return FBookmarkSize; }
  // Raises "Impossible d'effectuer cette opération sur un ensemble de données fermé" when closed.
  void CheckActive() const;
  void CheckInactive();
  // The field class made for FieldType: DefaultFieldClasses(FieldType) in the base.
  virtual TFieldClass GetFieldClass(TFieldType FieldType);

  // Events.
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TDataSetErrorEvent OnEditError, OnPostError, OnDeleteError;

 protected:
  friend class TDataSource;
  friend class TDataLink;
  friend class TField;
  friend class TFields;
  friend class TMasterDataLink;

  // The buffer protocol a descendant implements.
  virtual char* AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(char*& Buffer) = 0;
  virtual void InternalInitRecord(char* Buffer) = 0;
  // Fills Buffer with the record at the cursor (gmCurrent) or moves the cursor first (gmNext,
  // gmPrior); grBOF/grEOF when there is none that way. With DoCheck, a failure raises instead of
  // answering grError.
  virtual TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) = 0;
  virtual unsigned GetRecordSize() = 0;
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalFirst() = 0;  // cursor before the first record
  virtual void InternalLast() = 0;   // cursor after the last record
  // Checks the required fields; descendants store the record after calling it.
  virtual void InternalPost();
  virtual void InternalAddRecord(char* Buffer, bool Append) = 0;
  virtual void InternalDelete() = 0;
  virtual void InternalCancel() {}
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalRefresh() {}
  // An exception raised while the dataset was being read from a form description; the base
  // re-raises it.
  virtual void InternalHandleException();
  virtual void InternalGotoBookmark(const void* Bookmark) = 0;
  virtual void InternalSetToRecord(char* Buffer) = 0;
  virtual void GetBookmarkData(char* Buffer, void* Data) = 0;
  virtual void SetBookmarkData(char* Buffer, const void* Data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(char* Buffer) = 0;
  virtual void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) = 0;
  virtual bool IsCursorOpen() = 0;
  // -1 in the base (unknown).
  virtual int GetRecordCount() { return -1; }
  virtual int GetRecNo() { return -1; }
  virtual bool GetCanModify() { return true; }
  virtual TDataSource* GetDataSource() { return nullptr; }
  virtual bool GetIsIndexField(TField*) { return false; }
  // Clears the calculation area of Buffer (CalcFieldsSize bytes at CalcFieldsOffset()).
  virtual void ClearCalcFields(char* Buffer);
  // Where a record buffer's calculation area starts: GetRecordSize() in the base, which suits a
  // descendant allocating GetRecordSize() + CalcFieldsSize() (+ its own trailer) bytes.
  virtual unsigned CalcFieldsOffset() { return GetRecordSize(); }
  // OnFilterRecord's answer for the record in Buffer, read in state dsFilter (true when
  // unassigned). Descendants call it from GetRecord while Filtered is set.
  bool FilterRecord(char* Buffer);
  // Master/detail: called when the master record changes or the master goes away. The SQL and
  // in-memory datasets override them to re-select their rows; the base does nothing.
  virtual void MasterChanged(TObject* Sender);
  virtual void MasterDisabled(TObject* Sender);

  // Opening and closing.
  virtual void OpenCursor(bool InfoQuery = false);
  virtual void CloseCursor();
  void OpenCursorComplete();
  void DoInternalOpen();
  // Creates a field of each definition (GetFieldClass), owned by this dataset.
  virtual void CreateFields();
  virtual void DestroyFields();
  // Lays out the calculation area and binds the data fields to their definitions (Binding), or
  // unbinds them.
  virtual void BindFields(bool Binding);
  void InitFieldDefs();
  void InitFieldDefsFromFields();
  // Called when the field definitions change; a dataset with persistent fields may rebuild them.
  virtual void DefChanged(TObject*) {}
  virtual void FreeFieldBuffers() {}

  // Editing helpers.
  void CheckCanModify();
  void CheckParentState() {}
  // Raises "Le champ '%s' doit avoir une valeur" for the first required data field that is null,
  // after asking the controls to focus it.
  void CheckRequiredFields();
  virtual void InitRecord(char* Buffer);
  void GetCalcFields(char* Buffer);
  virtual void CalculateFields(char* Buffer);
  void UpdateCalcFields();
  void SetModified(bool Value) { FModified = Value; }
  using TDataOperation = void (TDataSet::*)();
  // Runs Operation; an EDatabaseError goes to ErrorEvent, which chooses fail, abort or retry.
  void CheckOperation(TDataOperation Operation, const TDataSetErrorEvent& ErrorEvent);
  // Positions the record found by a search (FindRecord): descendants override.
  virtual bool FindRecord(bool Restart, bool GoForward);
  void SetFound(bool Value) { FFound = Value; }

  // State.
  void SetState(TDataSetState Value);
  // Changes the state without telling anyone; answers the previous one for RestoreState.
  TDataSetState SetTempState(TDataSetState Value);
  void RestoreState(TDataSetState Value);
  // The record GetFieldData/SetFieldData address in the current state: the active buffer in
  // browse (none when empty), edit, insert, new-value, current-value and block-read; the
  // calculation buffer in dsCalcFields and dsInternalCalc; FilterBuffer in dsFilter; none else.
  char* GetStateRecordBuffer() const;
  char* FilterBuffer = nullptr;
  // Reads and writes a calculated or lookup field in the calculation area of Buffer.
  bool ReadCalcField(char* Buffer, TField* Field, void* Data);
  void WriteCalcField(char* Buffer, TField* Field, const void* Data);

  // The record-buffer window.
  int BufferCount() const { return FBufferCount; }
  int ActiveRecord() const { return FActiveRecord; }
  int CurrentRecord() const { return FCurrentRecord; }
  int WindowRecordCount() const { return FRecordCount; }  // records held by the window
  char* Buffers(int Index) const { return FBuffers[std::size_t(Index)]; }
  // The spare buffer after the window, used to fetch a record before it enters the window.
  char* TempBuffer() const { return FBuffers[std::size_t(FBufferCount)]; }
  void SetBufferCount(int Value);
  void UpdateBufferCount();
  void ClearBuffers();
  void ActivateBuffers();
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void SetCurrentRecord(int Index);
  void MoveBuffer(int CurIndex, int NewIndex);
  bool BookmarkAvailable();
  // Invariant of the window: counts in range, the active record inside it.
  bool CheckBuffers() const;

  // Events fire through these.
  virtual void DoBeforeOpen();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoAfterClose();
  virtual void DoBeforeInsert();
  virtual void DoAfterInsert();
  virtual void DoBeforeEdit();
  virtual void DoAfterEdit();
  virtual void DoBeforePost();
  virtual void DoAfterPost();
  virtual void DoBeforeCancel();
  virtual void DoAfterCancel();
  virtual void DoBeforeDelete();
  virtual void DoAfterDelete();
  virtual void DoBeforeScroll();
  virtual void DoAfterScroll();
  virtual void DoBeforeRefresh();
  virtual void DoAfterRefresh();
  virtual void DoOnNewRecord();
  virtual void DoOnCalcFields();

  void Loaded() override;

  TFields* FFields = nullptr;
  TFieldDefs* FFieldDefs = nullptr;
  int FBookmarkSize = 0;  // set by the descendant when it opens
  bool FFiltered = false;
  String FFilterText;
  TFilterOptions FFilterOptions;
  TFilterRecordEvent FOnFilterRecord;

 private:
  void BeginInsertAppend();
  void EndInsertAppend();
  void SetupInsertBuffer();
  void SetupAppendBuffer();
  void AddRecord(std::initializer_list<Variant> Values, bool Append);
  void DoInternalAddRecord();
  void DoInternalPost() { InternalPost(); }
  void DoInternalEdit() { InternalEdit(); }
  void DoInternalDelete() { InternalDelete(); }
  // Scans the visible records for KeyFields = KeyValues; leaves the match current when found,
  // the original position otherwise; no scroll events, controls disabled meanwhile.
  bool SearchRecord(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  bool RecordMatches(const std::vector<TField*>& Fields, const Variant& KeyValues, TLocateOptions Options);
  void AddDataSource(TDataSource* DataSource);
  void RemoveDataSource(TDataSource* DataSource);
  void SetBufListSize(int Value);

  TDataSetState FState = dsInactive;
  TDataSetState FDisableState = dsInactive;
  TDataEvent FEnableEvent = deDataSetChange;
  int FDisableCount = 0;
  std::vector<char*> FBuffers;  // FBufferCount window buffers + one spare
  int FBufferCount = 0;
  int FRecordCount = 0;
  int FActiveRecord = 0;
  int FCurrentRecord = -1;
  char* FCalcBuffer = nullptr;
  int FCalcFieldsSize = 0;
  bool FInternalCalcFields = false;
  bool FBOF = true;
  bool FEOF = true;
  bool FModified = false;
  bool FFound = false;
  bool FDefaultFields = false;
  bool FInternalOpenComplete = false;
  bool FStreamedActive = false;
  bool FSearching = false;
  bool FAddRecordAppend = false;  // InternalAddRecord's Append while CheckOperation runs it  // scroll events and re-selection of details held during a search
  std::vector<TDataSource*> FDataSources;
};
