// This file implements what the tests of the edit controls share: a shown form with a dataset of
// two records behind a data source (a code, a nature stored as a code, an area with a display
// format, a date and a label), the dataset publishing the library's picture-mask lines, and small
// helpers over edits and windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "NavTestSupport.h"
#include "StdCtrlsTestSupport.h"
#include "qvTestDataSet.h"

// CODE (string 10), NATURE (string 5), SURFACE (float, "#,##0.00"), DATE_OBS (date), LIB (string
// 20); two rows.
class ControlsFormTest : public StdFormTest {
 protected:
  void SetUp() override {
    StdFormTest::SetUp();
    DataSet = std::make_unique<TSettingsDataSet>(std::vector<TColumn>{{"CODE", ftString, 10},
                                                                       {"NATURE", ftString, 5},
                                                                       {"SURFACE", ftFloat},
                                                                       {"DATE_OBS", ftDate},
                                                                       {"LIB", ftString, 20}});
    DataSet->AddRow({Variant("01A"), Variant("3"), Variant(1234.5), Variant(45366.0), Variant("Marais")});
    DataSet->AddRow({Variant("02B"), Variant("9"), Variant(12.0), Variant::Null(), Variant("Tourbière"_a)});
    Source = new TDataSource(Form.get());
    Source->SetDataSet(DataSet.get());
    DataSet->Open();
    static_cast<TFloatField*>(DataSet->FieldByName("SURFACE"))->SetDisplayFormat("#,##0.00");
  }
  void TearDown() override {
    StdFormTest::TearDown();
    DataSet.reset();
  }
  TField* FieldOf(const char* Name) { return DataSet->FieldByName(Name); }
  // An edit bound to Name, at Top on the form.
  template <class T>
  T* Bound(const char* Name, int Top, int Width = 160) {
    T* Edit = Add<T>(20, Top, Width);
    Edit->SetDataSource(Source);
    Edit->SetDataField(Name);
    return Edit;
  }
  // Shows the form with the focus on another control than those tested.
  void ShowUnfocused() {
    Other();
    ShowForm();
    ASSERT_TRUE(GiveFocus(Other()));
  }
  // Another control to take the focus.
  TTestEdit* Other() {
    if (FOther == nullptr) FOther = Add<TTestEdit>(250, 250, 100, 22);
    return FOther;
  }

  std::unique_ptr<TSettingsDataSet> DataSet;
  TDataSource* Source = nullptr;

 private:
  TTestEdit* FOther = nullptr;
};

// The messages asked so far, joined, for failure output.
inline std::string AskedTexts(const TModalScript& Script) {
  std::string All;
  for (const TModalQuestion& Q : Script.Asked) All += "[" + Q.Text + "]";
  return All;
}

// Where the tests leave their pictures: the folder "screenshots" beside the test program.
inline std::string BuildPicturePath(const char* Name) { return std::string(VELBOR_SCREENSHOT_DIR) + "/" + Name; }

// What the screen shows in a rectangle of screen coordinates (windows of every thread included).
inline TPixelArea CaptureScreen(const TRect& Area) {
  TWindowDC Screen;
  return CapturePicture(Screen, Area);
}
