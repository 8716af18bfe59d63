// This file implements TDataSet's editing: Edit, Insert, Append, Post, Cancel, Delete, the direct
// InsertRecord/AppendRecord, CheckBrowseMode and the error handlers' retry loop.
#include "DataSet.h"
#include "DataSource.h"
#include "Field.h"

void TDataSet::CheckOperation(TDataOperation Operation, const TDataSetErrorEvent& ErrorEvent) {
  for (;;) {
    try {
      UpdateCursorPos();
      (this->*Operation)();
      return;
    } catch (EDatabaseError& E) {
      TDataAction Action = daFail;
      if (ErrorEvent) ErrorEvent(this, &E, Action);
      if (Action == daFail) throw;
      if (Action == daAbort) Abort();
      // daRetry: once more.
    }
  }
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (FState) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (FModified)
        Post();
      else
        Cancel();
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::UpdateRecord() {
  if (FState != dsEdit && FState != dsInsert && FState != dsSetKey) DatabaseError(DBConsts::SNotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::Edit() {
  if (FState == dsEdit || FState == dsInsert) return;
  // The program relies on this: editing an empty dataset starts its first record.
  if (FRecordCount == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeEdit();
  CheckParentState();
  CheckOperation(&TDataSet::DoInternalEdit, OnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  DoAfterEdit();
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeInsert();
  DoBeforeScroll();
}

void TDataSet::SetupInsertBuffer() {
  // The new record takes the active record's place; it remembers the record it goes before.
  TBookmark OldCurrent = GetBookmark();
  MoveBuffer(FRecordCount, FActiveRecord);
  // The window's records moved: the cursor's record is no longer known by its index.
  CursorPosChanged();
  char* Buffer = ActiveBuffer();
  InitRecord(Buffer);
  if (FRecordCount == 0)
    SetBookmarkFlag(Buffer, bfBOF);
  else if (!OldCurrent.empty())
    SetBookmarkData(Buffer, OldCurrent.data());
  if (FRecordCount < FBufferCount) ++FRecordCount;
}

void TDataSet::SetupAppendBuffer() {
  // The new record is alone after the last one; the window fills with the records before it.
  ClearBuffers();
  char* Buffer = FBuffers[0];
  InitRecord(Buffer);
  SetBookmarkFlag(Buffer, bfEOF);
  FRecordCount = 1;
  FBOF = false;
  GetPriorRecords();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync(TResyncMode{});
    throw;
  }
  // Values set by OnNewRecord do not make the record modified.
  FModified = false;
  DataEvent(deDataSetChange, 0);
  DoAfterInsert();
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  SetupInsertBuffer();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  SetupAppendBuffer();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::InternalPost() { CheckRequiredFields(); }

void TDataSet::CheckRequiredFields() {
  for (int i = 0; i < FFields->Count(); ++i) {
    TField* Field = FFields->Fields(i);
    if (Field->Required() && !Field->ReadOnly() && Field->FieldKind() == fkData && Field->IsNull()) {
      TField* Focus = Field;
      DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&Focus));
      DatabaseErrorFmt(DBConsts::SFieldRequired, {Field->DisplayName()}, this);
    }
  }
}

void TDataSet::Post() {
  UpdateRecord();
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforePost();
  CheckOperation(&TDataSet::DoInternalPost, OnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(TResyncMode{});
  DoAfterPost();
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeCancel();
  bool DoScrollEvents = FState == dsInsert;
  if (DoScrollEvents) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(TResyncMode{});
  DoAfterCancel();
  if (DoScrollEvents) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert || FState == dsSetKey) {
    Cancel();
    return;
  }
  if (FRecordCount == 0) DatabaseError(DBConsts::SDataSetEmpty, this);
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeDelete();
  DoBeforeScroll();
  CheckOperation(&TDataSet::DoInternalDelete, OnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(TResyncMode{});
  DoAfterDelete();
  DoAfterScroll();
}

void TDataSet::SetFields(std::initializer_list<Variant> Values) {
  int i = 0;
  for (const Variant& Value : Values) {
    if (i >= FFields->Count()) break;
    TField* Field = FFields->Fields(i++);
    if (VarIsEmpty(Value)) continue;
    Field->SetValue(Value);
  }
}

void TDataSet::ClearFields() {
  if (FState != dsEdit && FState != dsInsert && FState != dsSetKey) DatabaseError(DBConsts::SNotEditing, this);
  DataEvent(deCheckBrowseMode, 0);
  FreeFieldBuffers();
  InternalInitRecord(ActiveBuffer());
  if (FState != dsSetKey) GetCalcFields(ActiveBuffer());
  DataEvent(deRecordChange, 0);
}

void TDataSet::DoInternalAddRecord() { InternalAddRecord(ActiveBuffer(), FAddRecordAppend); }

void TDataSet::AddRecord(std::initializer_list<Variant> Values, bool Append) {
  BeginInsertAppend();
  if (Append)
    SetupAppendBuffer();
  else
    SetupInsertBuffer();
  SetState(dsInsert);
  try {
    DoOnNewRecord();
    SetFields(Values);
    DoBeforePost();
    FAddRecordAppend = Append;
    CheckOperation(&TDataSet::DoInternalAddRecord, OnPostError);
  } catch (...) {
    // The record is dropped: back to browsing what the cursor holds.
    FreeFieldBuffers();
    SetState(dsBrowse);
    try {
      UpdateCursorPos();
      Resync(TResyncMode{});
    } catch (...) {
    }
    throw;
  }
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(TResyncMode{});
  DoAfterPost();
  DoAfterScroll();
}

void TDataSet::InsertRecord(std::initializer_list<Variant> Values) { AddRecord(Values, false); }

void TDataSet::AppendRecord(std::initializer_list<Variant> Values) { AddRecord(Values, true); }
