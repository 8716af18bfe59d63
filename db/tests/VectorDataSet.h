// This file implements TVectorDataSet, a dataset over rows held in a vector, for the tests of the
// dataset model: the smallest descendant of TDataSet that implements the whole buffer protocol,
// with OnFilterRecord filtering and an optional master link; and TEventLog, which records the
// dataset's events in order.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"
#include "FieldDefs.h"

struct TColumn {
  String Name;
  TFieldType Type;
  int Size = 0;
  bool Required = false;
};

class TVectorDataSet : public TDataSet {
 public:
  explicit TVectorDataSet(std::vector<TColumn> AColumns, TComponent* AOwner = nullptr)
      : TDataSet(AOwner), Columns(std::move(AColumns)) {
    Layout();
    MasterLink = new TMasterDataLink(this);
  }
  ~TVectorDataSet() override {
    Destroying();
    Close();
    delete MasterLink;
  }

  // The rows, kept while closed. Each holds its record data, in the layout of the columns.
  struct TRow {
    int Id;
    std::vector<char> Data;
  };
  const std::vector<TColumn> Columns;
  std::vector<TRow> Rows;
  bool ReadOnlyTable = false;
  // While FailPosts > 0, each InternalPost raises EDatabaseError(FailMessage) and counts down.
  int FailPosts = 0;
  String FailMessage;
  int MasterChanges = 0;

  // Adds a row directly (no events): one value per column; Null for a null value.
  void AddRow(std::initializer_list<Variant> Values) {
    TRow Row{++FLastId, std::vector<char>(std::size_t(FRecordSize), 0)};
    int i = 0;
    for (const Variant& Value : Values) WriteNative(Row.Data.data(), i++, Value);
    Rows.push_back(std::move(Row));
  }

  // Master/detail: the rows shown are those whose MasterFields equal the master's same fields.
  TMasterDataLink* MasterLink;
  void SetMasterSource(TDataSource* Value) {
    if (IsLinkedTo(Value)) DatabaseError(DBConsts::SCircularDataLink, this);
    MasterLink->SetDataSource(Value);
  }
  void SetMasterFields(const String& Value) { MasterLink->SetFieldNames(Value); }

  // Exposed for the tests of the buffer window.
  using TDataSet::ActiveRecord;
  using TDataSet::BufferCount;
  using TDataSet::SetTempState;
  using TDataSet::RestoreState;
  int WindowCount() const { return WindowRecordCount(); }

  int GetRecordCount() override {
    CheckActive();
    if (!Filtered() && !MasterActive()) return int(Rows.size());
    int Count = 0;
    int SaveCursor = FCursor;
    char* Buffer = AllocRecordBuffer();
    for (FCursor = 0; FCursor < int(Rows.size()); ++FCursor) {
      Fill(Buffer);
      if (Visible(Buffer)) ++Count;
    }
    FreeRecordBuffer(Buffer);
    FCursor = SaveCursor;
    return Count;
  }
  int GetRecNo() override {
    if (State() == dsInactive || IsEmpty()) return -1;
    return Info(ActiveBuffer())->Index + 1;
  }
  void SetRecNo(int Value) override {
    CheckBrowseMode();
    if (Value < 1 || Value > int(Rows.size()) || Value == RecNo()) return;
    DoBeforeScroll();
    FCursor = Value - 1;
    Resync(TResyncMode{rmCenter});
    DoAfterScroll();
  }
  bool BookmarkValid(const TBookmark& Bookmark) override {
    return Bookmark.size() == sizeof(int) && IndexOfId(IdOf(Bookmark.data())) >= 0;
  }
  int CompareBookmarks(const TBookmark& A, const TBookmark& B) override {
    int a = A.empty() ? -1 : IndexOfId(IdOf(A.data()));
    int b = B.empty() ? -1 : IndexOfId(IdOf(B.data()));
    return a < b ? -1 : a > b ? 1 : 0;
  }

  bool GetFieldData(TField* Field, void* Buffer) override {
    char* Record = GetStateRecordBuffer();
    if (Record == nullptr) return false;
    if (Field->FieldKind() == fkCalculated || Field->FieldKind() == fkLookup)
      return ReadCalcField(Record, Field, Buffer);
    std::size_t i = std::size_t(Field->FieldNo() - 1);
    const char* Slot = Record + FOffsets[i];
    if (Slot[0] == 0) return false;
    if (Buffer != nullptr) std::memcpy(Buffer, Slot + 1, std::min<std::size_t>(std::size_t(Field->DataSize()), NativeSize(i)));
    return true;
  }

  void SetFieldData(TField* Field, const void* Buffer) override {
    char* Record = GetStateRecordBuffer();
    if (Record == nullptr) DatabaseError(DBConsts::SNotEditing, this);
    if (Field->FieldKind() == fkCalculated || Field->FieldKind() == fkLookup) {
      WriteCalcField(Record, Field, Buffer);
      return;
    }
    std::size_t i = std::size_t(Field->FieldNo() - 1);
    char* Slot = Record + FOffsets[i];
    std::memset(Slot, 0, NativeSize(i) + 1);
    if (Buffer != nullptr) {
      Slot[0] = 1;
      std::memcpy(Slot + 1, Buffer, std::min<std::size_t>(std::size_t(Field->DataSize()), NativeSize(i)));
    }
  }

 protected:
  struct TRecInfo {
    int Index;
    int Id;
    TBookmarkFlag Flag;
  };

  TRecInfo* Info(char* Buffer) { return reinterpret_cast<TRecInfo*>(Buffer + InfoOffset()); }
  std::size_t InfoOffset() { return (std::size_t(FRecordSize) + std::size_t(CalcFieldsSize()) + 7) & ~std::size_t(7); }

  char* AllocRecordBuffer() override { return new char[InfoOffset() + sizeof(TRecInfo)](); }
  void FreeRecordBuffer(char*& Buffer) override {
    delete[] Buffer;
    Buffer = nullptr;
  }
  void InternalInitRecord(char* Buffer) override { std::memset(Buffer, 0, std::size_t(FRecordSize)); }
  unsigned GetRecordSize() override { return unsigned(FRecordSize); }

  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool) override {
    int N = int(Rows.size());
    for (;;) {
      switch (GetMode) {
        case gmNext:
          if (FCursor < N) ++FCursor;
          if (FCursor >= N) return grEOF;
          break;
        case gmPrior:
          if (FCursor >= 0) --FCursor;
          if (FCursor < 0) return grBOF;
          break;
        case gmCurrent:
          if (FCursor < 0 || FCursor >= N) return grError;
          break;
      }
      Fill(Buffer);
      if (Visible(Buffer)) return grOK;
      if (GetMode == gmCurrent) return grError;
    }
  }

  void InternalInitFieldDefs() override {
    FieldDefs()->Clear();
    for (const TColumn& Column : Columns) FieldDefs()->Add(Column.Name, Column.Type, Column.Size, Column.Required);
  }
  void InternalOpen() override {
    InternalInitFieldDefs();
    if (DefaultFields()) CreateFields();
    BindFields(true);
    FBookmarkSize = sizeof(int);
    FCursor = -1;
    FOpen = true;
  }
  void InternalClose() override {
    BindFields(false);
    if (DefaultFields()) DestroyFields();
    FOpen = false;
  }
  bool IsCursorOpen() override { return FOpen; }
  void InternalFirst() override { FCursor = -1; }
  void InternalLast() override { FCursor = int(Rows.size()); }

  void InternalPost() override {
    TDataSet::InternalPost();
    if (FailPosts > 0) {
      --FailPosts;
      DatabaseError(FailMessage);
    }
    if (State() == dsEdit)
      Rows[std::size_t(FCursor)].Data.assign(ActiveBuffer(), ActiveBuffer() + FRecordSize);
    else
      InsertRow(ActiveBuffer(), GetBookmarkFlag(ActiveBuffer()) == bfEOF);
  }
  void InternalAddRecord(char* Buffer, bool Append) override { InsertRow(Buffer, Append); }
  void InternalDelete() override { Rows.erase(Rows.begin() + FCursor); }
  void InternalHandleException() override { throw; }
  void InternalGotoBookmark(const void* Bookmark) override {
    int Index = IndexOfId(IdOf(Bookmark));
    if (Index < 0) DatabaseError(DBConsts::SBookmarkNotFound, this);
    FCursor = Index;
  }
  void InternalSetToRecord(char* Buffer) override {
    int Index = IndexOfId(Info(Buffer)->Id);
    FCursor = Index >= 0 ? Index : std::min(Info(Buffer)->Index, int(Rows.size()));
  }
  void GetBookmarkData(char* Buffer, void* Data) override { std::memcpy(Data, &Info(Buffer)->Id, sizeof(int)); }
  void SetBookmarkData(char* Buffer, const void* Data) override { std::memcpy(&Info(Buffer)->Id, Data, sizeof(int)); }
  TBookmarkFlag GetBookmarkFlag(char* Buffer) override { return Info(Buffer)->Flag; }
  void SetBookmarkFlag(char* Buffer, TBookmarkFlag Value) override { Info(Buffer)->Flag = Value; }
  bool GetCanModify() override { return !ReadOnlyTable; }
  TDataSource* GetDataSource() override { return MasterLink->DataSource(); }

  void MasterChanged(TObject*) override {
    ++MasterChanges;
    CheckBrowseMode();
    First();
  }
  void MasterDisabled(TObject*) override { First(); }
  void DoOnNewRecord() override {
    if (MasterActive()) MasterLink->CopyMasterValues();
    TDataSet::DoOnNewRecord();
  }

 private:
  static int IdOf(const void* Bookmark) {
    int Id;
    std::memcpy(&Id, Bookmark, sizeof(int));
    return Id;
  }
  int IndexOfId(int Id) const {
    for (std::size_t i = 0; i < Rows.size(); ++i)
      if (Rows[i].Id == Id) return int(i);
    return -1;
  }
  bool MasterActive() const { return MasterLink->Active() && !MasterLink->Fields().empty(); }

  void Fill(char* Buffer) {
    std::memcpy(Buffer, Rows[std::size_t(FCursor)].Data.data(), std::size_t(FRecordSize));
    *Info(Buffer) = TRecInfo{FCursor, Rows[std::size_t(FCursor)].Id, bfCurrent};
    GetCalcFields(Buffer);
  }

  bool Visible(char* Buffer) {
    if (MasterActive()) {
      // The detail's fields of the master's names must hold the master's values.
      TDataSetState Save = SetTempState(dsFilter);
      char* SaveFilter = FilterBuffer;
      FilterBuffer = Buffer;
      bool Same = true;
      for (TField* Master : MasterLink->Fields())
        if (!(FieldByName(Master->FieldName())->Value() == Master->Value())) Same = false;
      FilterBuffer = SaveFilter;
      RestoreState(Save);
      if (!Same) return false;
    }
    return !Filtered() || FilterRecord(Buffer);
  }

  void InsertRow(char* Buffer, bool Append) {
    TRow Row{++FLastId, std::vector<char>(Buffer, Buffer + FRecordSize)};
    if (Append) {
      Rows.push_back(std::move(Row));
      FCursor = int(Rows.size()) - 1;
    } else {
      int Position = std::clamp(FCursor, 0, int(Rows.size()));
      Rows.insert(Rows.begin() + Position, std::move(Row));
      FCursor = Position;
    }
  }

  std::size_t NativeSize(std::size_t Column) const {
    switch (Columns[Column].Type) {
      case ftString:
        return std::size_t(Columns[Column].Size) + 1;
      case ftSmallint:
      case ftBoolean:
        return 2;
      case ftInteger:
      case ftAutoInc:
        return 4;
      default:
        return 8;
    }
  }
  void Layout() {
    FRecordSize = 0;
    for (std::size_t i = 0; i < Columns.size(); ++i) {
      FOffsets.push_back(FRecordSize);
      FRecordSize += int(NativeSize(i)) + 1;
    }
  }
  void WriteNative(char* Record, int Column, const Variant& Value) {
    char* Slot = Record + FOffsets[std::size_t(Column)];
    if (VarIsNull(Value) || VarIsEmpty(Value)) return;
    Slot[0] = 1;
    switch (Columns[std::size_t(Column)].Type) {
      case ftString: {
        String S = Value.AsString().substr(0, std::size_t(Columns[std::size_t(Column)].Size));
        std::memcpy(Slot + 1, S.c_str(), S.size() + 1);
        break;
      }
      case ftSmallint: {
        short V = short(Value.AsInteger());
        std::memcpy(Slot + 1, &V, 2);
        break;
      }
      case ftBoolean: {
        short V = Value.AsBoolean() ? -1 : 0;
        std::memcpy(Slot + 1, &V, 2);
        break;
      }
      case ftInteger:
      case ftAutoInc: {
        int V = Value.AsInteger();
        std::memcpy(Slot + 1, &V, 4);
        break;
      }
      case ftLargeint: {
        long long V = Value.AsInt64();
        std::memcpy(Slot + 1, &V, 8);
        break;
      }
      default: {
        double V = Value.AsDouble();
        std::memcpy(Slot + 1, &V, 8);
        break;
      }
    }
  }

  std::vector<int> FOffsets;
  int FRecordSize = 0;
  int FCursor = -1;
  int FLastId = 0;
  bool FOpen = false;
};

// Records the dataset's events by name, in order.
class TEventLog : public TObject {
 public:
  std::vector<String> Items;

  void Attach(TDataSet* D) {
    D->BeforeOpen = TDataSetNotifyEvent(this, &TEventLog::DoBeforeOpen);
    D->AfterOpen = TDataSetNotifyEvent(this, &TEventLog::DoAfterOpen);
    D->BeforeClose = TDataSetNotifyEvent(this, &TEventLog::DoBeforeClose);
    D->AfterClose = TDataSetNotifyEvent(this, &TEventLog::DoAfterClose);
    D->BeforeInsert = TDataSetNotifyEvent(this, &TEventLog::DoBeforeInsert);
    D->AfterInsert = TDataSetNotifyEvent(this, &TEventLog::DoAfterInsert);
    D->BeforeEdit = TDataSetNotifyEvent(this, &TEventLog::DoBeforeEdit);
    D->AfterEdit = TDataSetNotifyEvent(this, &TEventLog::DoAfterEdit);
    D->BeforePost = TDataSetNotifyEvent(this, &TEventLog::DoBeforePost);
    D->AfterPost = TDataSetNotifyEvent(this, &TEventLog::DoAfterPost);
    D->BeforeCancel = TDataSetNotifyEvent(this, &TEventLog::DoBeforeCancel);
    D->AfterCancel = TDataSetNotifyEvent(this, &TEventLog::DoAfterCancel);
    D->BeforeDelete = TDataSetNotifyEvent(this, &TEventLog::DoBeforeDelete);
    D->AfterDelete = TDataSetNotifyEvent(this, &TEventLog::DoAfterDelete);
    D->BeforeScroll = TDataSetNotifyEvent(this, &TEventLog::DoBeforeScroll);
    D->AfterScroll = TDataSetNotifyEvent(this, &TEventLog::DoAfterScroll);
    D->BeforeRefresh = TDataSetNotifyEvent(this, &TEventLog::DoBeforeRefresh);
    D->AfterRefresh = TDataSetNotifyEvent(this, &TEventLog::DoAfterRefresh);
    D->OnNewRecord = TDataSetNotifyEvent(this, &TEventLog::DoOnNewRecord);
  }
  std::vector<String> Take() {
    std::vector<String> Result;
    Result.swap(Items);
    return Result;
  }

 private:
  void DoBeforeOpen(TDataSet*) { Items.push_back("BeforeOpen"); }
  void DoAfterOpen(TDataSet*) { Items.push_back("AfterOpen"); }
  void DoBeforeClose(TDataSet*) { Items.push_back("BeforeClose"); }
  void DoAfterClose(TDataSet*) { Items.push_back("AfterClose"); }
  void DoBeforeInsert(TDataSet*) { Items.push_back("BeforeInsert"); }
  void DoAfterInsert(TDataSet*) { Items.push_back("AfterInsert"); }
  void DoBeforeEdit(TDataSet*) { Items.push_back("BeforeEdit"); }
  void DoAfterEdit(TDataSet*) { Items.push_back("AfterEdit"); }
  void DoBeforePost(TDataSet*) { Items.push_back("BeforePost"); }
  void DoAfterPost(TDataSet*) { Items.push_back("AfterPost"); }
  void DoBeforeCancel(TDataSet*) { Items.push_back("BeforeCancel"); }
  void DoAfterCancel(TDataSet*) { Items.push_back("AfterCancel"); }
  void DoBeforeDelete(TDataSet*) { Items.push_back("BeforeDelete"); }
  void DoAfterDelete(TDataSet*) { Items.push_back("AfterDelete"); }
  void DoBeforeScroll(TDataSet*) { Items.push_back("BeforeScroll"); }
  void DoAfterScroll(TDataSet*) { Items.push_back("AfterScroll"); }
  void DoBeforeRefresh(TDataSet*) { Items.push_back("BeforeRefresh"); }
  void DoAfterRefresh(TDataSet*) { Items.push_back("AfterRefresh"); }
  void DoOnNewRecord(TDataSet*) { Items.push_back("OnNewRecord"); }
};
