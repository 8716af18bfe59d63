// This file implements what the program's tests and benchmark share: the database the data
// module opens (base\velbor.mdb beside the running program), made afresh from the schema and the
// test rows, and a main window with the report flag.
#pragma once

#include <memory>

#include "Forms.h"
#include "SqliteSession.h"

namespace AppTest {

// The folder of the running program, with its trailing separator.
String ProgramFolder();
// The database the module opens: "base\velbor.mdb" in that folder.
String ModuleDatabasePath();
// Makes that database afresh: the schema, then the test rows unless WithFixture is false.
void MakeModuleDatabase(bool WithFixture = true);
// A session of its own on the module's database, to arrange rows and read what was written.
std::unique_ptr<SqliteSession> OpenModuleDatabase();
// The first column of the first row of Sql on the module's database (0 when there is none).
double ReadNumber(const String& Sql);
// A file's whole content, and a file written with Text (replacing it).
String ReadFileText(const String& Name);
void WriteFileText(const String& Name, const String& Text);

// The main window as the data module sees it: a form holding the action list "ActionList1",
// whose Tag is the report flag.
class TTestMainForm : public TForm {
  VELBOR_DECLARE_CLASS(TTestMainForm, TForm)
 public:
  explicit TTestMainForm(TComponent* AOwner);
  TComponent* ActionList1;
  int Paints = 0;

 protected:
  void Paint() override;
};

}  // namespace AppTest
