// This file implements the fixture of the tests over the record window: a fresh module database,
// an MDI frame standing for the main window, the data module, the notice and the record window
// shown, and all of them freed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "TestDeadline.h"

class TfrmZoneHumide;

namespace AppTest {

// The main window as the record window sees it: an MDI frame holding the action list whose Tag
// is the report flag.
class TRecordFrame : public TForm {
  VELBOR_DECLARE_CLASS(TRecordFrame, TForm)
 public:
  explicit TRecordFrame(TComponent* AOwner);
  TComponent* ActionList1;
};

class RecordWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Rows put in the fresh database before the windows open.
  virtual void Arrange() {}
  // The test's own windows (dialogs it opened), freed before the record window.
  virtual void CloseOwnWindows() {}
  static void Execute(const String& Sql);

  // The operator the history rows name; a fixture may change it before SetUp.
  String Operateur = "Dupont";
  std::unique_ptr<TTestDeadline> Deadline;
  TRecordFrame* Cadre = nullptr;
  TfrmZoneHumide* Fiche = nullptr;
};

}  // namespace AppTest
