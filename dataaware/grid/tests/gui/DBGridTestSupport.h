// This file implements what the GUI tests of the published grid share: the form of the engine's
// tests with a TqvDBGrid in place of the engine's grid, over a dataset whose memos are written, the screen point of a record's cell and
// the records the grid holds selected.
#pragma once

#include <map>
#include <set>

#include "GridTestSupport.h"
#include "Qvdbgrid.h"
#include "StdCtrlsTestSupport.h"

// The grid tests' dataset with memos that are written as well as read, each kept with its record.
class TMemoDataSet : public TCountingDataSet {
 public:
  using TCountingDataSet::TCountingDataSet;
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  std::map<std::pair<int, String>, String> Memos;
};

class DBGridFormTest : public GridFormTest {
 protected:
  void SetUp() override;
  // Shows the form, focuses the published grid and waits until it is painted.
  void ShowGrid();
  // The grid column of a field; -1 when the grid shows none.
  int ColOfField(const char* FieldName);
  // The centre of the cell of a field on grid row ARow, on screen.
  TPoint CellPoint(const char* FieldName, int ARow);
  // The grid row showing the record CODE = Code (the records shown from the top).
  int RowOfCode(int Code);
  // The CODE of every selected record (read by moving to each: the records shown may scroll).
  std::set<int> SelectedCodes();
  // A click on a record's cell with a key held (0: none).
  void ClickRecord(int Code, WORD Modifier = 0, const char* FieldName = "NOM");

  TqvDBGrid* DB = nullptr;
};
