// This file implements the fixture of the tests over the main window: a fresh module database, the
// workstation's settings file set aside and put back, the real record window registered by class
// name as the program registers it, and every window and the module freed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "AnsiString.h"
#include "TestDeadline.h"

class TfrmZoneHumide;

namespace AppTest {

// The workstation's settings file the fixture writes: an operator known, so nothing is asked.
inline constexpr char kParametres[] = "[parametres]\r\nnom=Dupont\r\norganisme=Conservatoire\r\n";

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Frees the program's windows and the module, the record window first.
  static void FreeAll();
  // The module and the main window alone, as the program creates them, shown at that size, and
  // the record window it opens.
  static void CreerFenetrePrincipale(int Width = 0, int Height = 0);
  // The record window the main window opened (nullptr: none).
  static TfrmZoneHumide* Fiche();
  // Closes the record window as the operator does, and waits until it is freed.
  static void FermerFiche();
  // The record of that code edited as the operator does it: chosen in the list, then "Modification".
  static void Modifier(const String& Code);
  // Whether the record window is in edit mode (its validation button shows).
  static bool EnEdition();

 private:
  std::optional<String> FSaved;
  std::unique_ptr<TTestDeadline> Deadline;
};

}  // namespace AppTest
