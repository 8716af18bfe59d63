// This file implements what the GUI tests of the data-aware base share: a shown form with a
// dataset of numbered rows behind a data source, the pixels of a window's area, and a writer of
// PNG files for the pictures the tests leave in the build folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "StdCtrlsTestSupport.h"
#include "VectorDataSet.h"
#include "qvDBNavigator.h"

// 0x00RRGGBB pixels of an area, top row first.
struct TPixelArea {
  int Width = 0;
  int Height = 0;
  std::vector<unsigned> Pixels;
  unsigned At(int X, int Y) const { return Pixels[std::size_t(Y * Width + X)]; }
};

// What a window shows in Area (client coordinates), as on screen.
TPixelArea CaptureArea(TWinControl* Control, const TRect& Area);
// What DC holds in Area.
TPixelArea CapturePicture(HDC DC, const TRect& Area);
// The colour as a picture holds it.
unsigned PixelValue(TColor Color);
// Writes the picture as a PNG file (a host path); false when it could not be written.
bool WritePng(const TPixelArea& Picture, const std::string& HostPath);

// A form with 25 rows (CODE 1 .. 25, LIB "Ligne n") behind Source.
class DataFormTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    DataSet = std::make_unique<TVectorDataSet>(std::vector<TColumn>{{"CODE", ftInteger}, {"LIB", ftString, 20}});
    for (int i = 1; i <= 25; ++i) DataSet->AddRow({Variant(i), Variant("Ligne " + std::to_string(i))});
    Source = new TDataSource(Form.get());
    Source->SetName("Source");
    Source->SetDataSet(DataSet.get());
    DataSet->Open();
  }
  void TearDown() override {
    StdFormTest::TearDown();
    DataSet.reset();
  }
  int Code() { return DataSet->FieldByName("CODE")->AsInteger(); }

  std::unique_ptr<TVectorDataSet> DataSet;
  TDataSource* Source = nullptr;
};
