// This file implements TDataSet's navigation: First, Last, MoveBy, bookmarks, Resync, Refresh and
// the Find* operations, all moving the record-buffer window.
#include <cassert>

#include "DataSet.h"
#include "DataSource.h"
#include "ScopeGuard.h"

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  {
    TScopeGuard restore([&] {
      FBOF = true;
      DataEvent(deDataSetChange, 0);
    });
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  }
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  {
    TScopeGuard restore([&] {
      FEOF = true;
      DataEvent(deDataSetChange, 0);
    });
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  }
  DoAfterScroll();
}

int TDataSet::MoveBy(int Distance) {
  CheckBrowseMode();
  int Result = 0;
  DoBeforeScroll();
  if ((Distance > 0 && !FEOF) || (Distance < 0 && !FBOF)) {
    FBOF = false;
    FEOF = false;
    // How far the window's records moved in their buffers: data links shift their own window by it.
    int Scrolled = 0;
    {
      TScopeGuard restore([&] { DataEvent(deDataSetScroll, Scrolled); });
      while (Distance > 0) {
        if (FActiveRecord < FRecordCount - 1) {
          ++FActiveRecord;
        } else {
          int Shift = FRecordCount < FBufferCount ? 0 : 1;
          if (!GetNextRecord()) {
            FEOF = true;
            break;
          }
          Scrolled -= Shift;
          if (FActiveRecord < FRecordCount - 1) ++FActiveRecord;
        }
        --Distance;
        ++Result;
      }
      while (Distance < 0) {
        if (FActiveRecord > 0) {
          --FActiveRecord;
        } else {
          if (!GetPriorRecord()) {
            FBOF = true;
            break;
          }
          // GetPriorRecord put the new record first, shifting the others up; step onto it.
          Scrolled += 1;
          FActiveRecord = 0;
        }
        ++Distance;
        --Result;
      }
    }
    DoAfterScroll();
  }
  assert(CheckBuffers());
  return Result;
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark) {
  if (Bookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(Bookmark.data());
  Resync(TResyncMode{rmExact, rmCenter});
  DoAfterScroll();
}

void TDataSet::Resync(TResyncMode Mode) {
  char* Spare = TempBuffer();
  if (Mode.Contains(rmExact)) {
    CursorPosChanged();
    if (GetRecord(Spare, gmCurrent, true) != grOK) DatabaseError(DBConsts::SBookmarkNotFound, this);
  } else if (GetRecord(Spare, gmCurrent, false) != grOK && GetRecord(Spare, gmNext, false) != grOK &&
             GetRecord(Spare, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  int Count = Mode.Contains(rmCenter) ? (FBufferCount - 1) / 2 : FActiveRecord;
  // The record was read into the spare buffer, which is the one past the window (not the one past
  // the records: they differ while the window is not full).
  MoveBuffer(FBufferCount, 0);
  ActivateBuffers();
  {
    TScopeGuard restore([&] { DataEvent(deDataSetChange, 0); });
    while (Count > 0 && GetPriorRecord()) --Count;
    GetNextRecords();
    GetPriorRecords();
  }
  assert(CheckBuffers());
}

void TDataSet::Refresh() {
  DoBeforeRefresh();
  CheckBrowseMode();
  UpdateCursorPos();
  InternalRefresh();
  Resync(TResyncMode{});
  DoAfterRefresh();
}

bool TDataSet::FindRecord(bool, bool) { return false; }

bool TDataSet::FindFirst() {
  bool Result = FindRecord(true, true);
  SetFound(Result);
  return Result;
}

bool TDataSet::FindLast() {
  bool Result = FindRecord(true, false);
  SetFound(Result);
  return Result;
}

bool TDataSet::FindNext() {
  bool Result = FindRecord(false, true);
  SetFound(Result);
  return Result;
}

bool TDataSet::FindPrior() {
  bool Result = FindRecord(false, false);
  SetFound(Result);
  return Result;
}
