// This file implements the fuzz target of the Jet dialect: the translation of a statement, its
// preparation (never its execution) by a session over the program's schema, and Jet's VAL.
#include <memory>
#include <unistd.h>

#include "FuzzSupport.h"
#include "JetDialect.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "TestDatabase.h"

namespace {

SqliteSession& Session() {
  static std::unique_ptr<SqliteSession> S = [] {
    String Path = OsPort::TempFolder() + "velbor-fuzz-jet-" + std::to_string(getpid()) + ".db";
    OsPort::DeleteFile(Path);
    auto Made = std::make_unique<SqliteSession>(Path, TSqliteOpenMode::CreateIfMissing);
    TestDatabase::CreateSchema(*Made);
    return Made;
  }();
  return *S;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  String Text = Fuzz::Text(Data, Size);
  JetVal(Text);
  String Translated;
  try {
    Translated = TranslateJetSql(Text);
  } catch (const ESqliteError& E) {
    Fuzz::Check(E.Kind == TSqliteErrorKind::Usage, "the translator refuses as a misuse");
    return 0;
  }
  try {
    Session().Prepare(Text);
  } catch (const ESqliteError&) {
  }
  try {
    Session().PrepareNative(Translated);
  } catch (const ESqliteError&) {
  }
  return 0;
}
