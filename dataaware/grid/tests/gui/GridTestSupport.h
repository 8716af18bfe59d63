// This file implements what the GUI tests of the grid engine share: a shown form with a grid over
// a small dataset of typed columns behind a data source, the screen point of a cell, what a cell
// shows (text drawn as the same font draws it), and a dataset that counts the records it reads.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "NavTestSupport.h"
#include "Qvdbigrd.h"
#include "TestDeadline.h"
#include "qvTestDataSet.h"

// The engine with its protected parts reachable from the tests.
class TTestGrid : public TqvCustomDBGrid {
  VELBOR_DECLARE_CLASS(TTestGrid, TqvCustomDBGrid)
 public:
  explicit TTestGrid(TComponent* AOwner) : TqvCustomDBGrid(AOwner) {}
  using TCustomGrid::InvalidateGrid;
  using TCustomGrid::Sizing;
  using TqvCustomDBGrid::GetPaintCanvas;
  using TqvCustomDBGrid::FHasFocus;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    TqvCustomDBGrid::Paint();
  }
};

// A settings dataset that counts the records its cursor reads (GetRecord).
class TCountingDataSet : public TSettingsDataSet {
 public:
  using TSettingsDataSet::TSettingsDataSet;
  int Reads = 0;

 protected:
  TGetResult GetRecord(char* Buffer, TGetMode GetMode, bool DoCheck) override {
    ++Reads;
    return TSettingsDataSet::GetRecord(Buffer, GetMode, DoCheck);
  }
};

// The columns of the grid tests: NOM (text 20), CODE (integer), DATE_OBS (date), SURFACE (float),
// ACTIF (boolean), NOTE (memo), COM (text 5: a commune code a lookup field resolves).
std::vector<TColumn> GridColumns();

// A form (600 x 420) with a grid over Rows rows ("Nom n", n, ...) of GridColumns(), and a commune
// table behind the lookup field COMMUNE (COM -> COM_LIB).
class GridFormTest : public StdFormTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Rows of the main dataset, built before the dataset opens (SetUp opens it with 12).
  void Reload(int Rows);
  // The centre of a cell on screen.
  TPoint CellCentre(int ACol, int ARow);
  TRect CellBounds(int ACol, int ARow);
  // Shows the form, focuses the grid and waits until it is painted.
  void ShowGrid();
  // The record the dataset stands on, by CODE.
  int Code() { return Data->FieldByName("CODE")->AsInteger(); }
  String Text(const char* FieldName) { return Data->FieldByName(FieldName)->AsString(); }
  // The grid column of a field.
  int ColOf(const char* FieldName);

  std::unique_ptr<TCountingDataSet> Data;
  std::unique_ptr<TVectorDataSet> Communes;
  TDataSource* Source = nullptr;
  TDataSource* CommuneSource = nullptr;
  TTestGrid* Grid = nullptr;
  // Far beyond what any grid test takes, each of its waits included.
  std::unique_ptr<TTestDeadline> Deadline;
};
