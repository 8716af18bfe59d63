// This file implements the database and main window the program's tests and benchmark share.
#include "AppTestSupport.h"

#include "FileUtils.h"
#include "OsPort.h"
#include "SqliteStatement.h"
#include "Streams.h"
#include "TestDatabase.h"

namespace AppTest {

String ProgramFolder() { return ExtractFilePath(OsPort::ProgramPath()); }

String ModuleDatabasePath() { return ProgramFolder() + "base\\velbor.mdb"; }

void MakeModuleDatabase(bool WithFixture) {
  ForceDirectories(ProgramFolder() + "base");
  if (FileExists(ModuleDatabasePath()) && !::DeleteFileA(ModuleDatabasePath().c_str()))
    throw EFCreateError("Impossible de remplacer " + ModuleDatabasePath());
  SqliteSession Session(ModuleDatabasePath(), TSqliteOpenMode::CreateIfMissing);
  TestDatabase::CreateSchema(Session);
  if (WithFixture) TestDatabase::LoadFixture(Session);
}

std::unique_ptr<SqliteSession> OpenModuleDatabase() { return std::make_unique<SqliteSession>(ModuleDatabasePath()); }

double ReadNumber(const String& Sql) {
  auto Session = OpenModuleDatabase();
  SqliteStatement Statement = Session->Prepare(Sql);
  return Statement.Step() ? Statement.ColumnDouble(0) : 0;
}

VELBOR_IMPLEMENT_CLASS(TTestMainForm)

TTestMainForm::TTestMainForm(TComponent* AOwner) : TForm(AOwner, true) {
  ActionList1 = new TComponent(this);
  ActionList1->SetName("ActionList1");
  SetCaption("Velbor");
}

void TTestMainForm::Paint() { ++Paints; }

String ReadFileText(const String& Name) {
  TFileStream File(Name, fmOpenRead);
  String Text(std::size_t(File.Size()), '\0');
  File.Read(Text.data(), File.Size());
  return Text;
}

void WriteFileText(const String& Name, const String& Text) {
  TFileStream File(Name, fmCreate);
  File.Write(Text.data(), std::int64_t(Text.size()));
}

}  // namespace AppTest
