// This file implements the fuzz target of the exchange-file imports, on a copy of the fixture
// database: an inventory import that does not end well, and a dictionary import that refuses the
// file, must leave the database file byte for byte as it was.
#include <memory>
#include <unistd.h>

#include "DictionaryExchange.h"
#include "FuzzSupport.h"
#include "InventoryExchange.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "TestDatabase.h"

using namespace Exchange;

namespace {

class TQuietHost : public IExchangeHost {
 public:
  void ProgressStart(int, const String&) override {}
  void ProgressStep() override {}
  bool CancelRequested() override { return false; }
};

String ReadBytes(const String& Path) {
  OsPort::FileHandle File = OsPort::OpenFile(Path, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  if (File == OsPort::InvalidHandle) Fuzz::Broken("the database file cannot be read");
  String Bytes(std::size_t(OsPort::SeekFile(File, 0, OsPort::SeekOrigin::End)), '\0');
  OsPort::SeekFile(File, 0, OsPort::SeekOrigin::Begin);
  OsPort::ReadFile(File, Bytes.data(), std::int64_t(Bytes.size()));
  OsPort::CloseFile(File);
  return Bytes;
}

void WriteBytes(const String& Path, const String& Bytes) {
  OsPort::FileHandle File = OsPort::CreateFile(Path);
  if (File == OsPort::InvalidHandle) Fuzz::Broken("a work file cannot be written");
  OsPort::WriteFile(File, Bytes.data(), std::int64_t(Bytes.size()));
  OsPort::CloseFile(File);
}

struct TWorkPlace {
  String Folder, Database, File, Template;
};

// A folder of this process with the fixture database, made once; its bytes are the template that
// each run starts from.
const TWorkPlace& Place() {
  static TWorkPlace P = [] {
    TWorkPlace W;
    W.Folder = OsPort::TempFolder() + "velbor-fuzz-exchange-" + std::to_string(getpid()) + "\\";
    OsPort::CreateDirectory(W.Folder);
    W.Database = W.Folder + "velbor.mdb";
    W.File = W.Folder + "import.txt";
    OsPort::DeleteFile(W.Database);
    {
      SqliteSession Session(W.Database, TSqliteOpenMode::CreateIfMissing);
      TestDatabase::CreateSchema(Session);
      TestDatabase::LoadFixture(Session);
    }
    W.Template = ReadBytes(W.Database);
    return W;
  }();
  return P;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size == 0) return 0;
  const TWorkPlace& W = Place();
  WriteBytes(W.Database, W.Template);
  // The first byte chooses the import; the rest is the exchange file.
  bool Dictionary = Data[0] & 1;
  WriteBytes(W.File, Fuzz::Text(Data + 1, Size - 1));
  TQuietHost Host;
  TExchangeResult Result;
  {
    SqliteSession Session(W.Database);
    Result = Dictionary ? ImportDictionnaires(Session, W.File, Host) : ImportInventaire(Session, W.File, Host);
  }
  bool MustBeUnchanged = Dictionary ? Result.Outcome == TExchangeResult::Refused : Result.Outcome != TExchangeResult::Done;
  if (MustBeUnchanged && ReadBytes(W.Database) != W.Template) {
    std::fprintf(stderr, "%s\n", Result.Message.c_str());
    Fuzz::Broken("a failed import changed the database file");
  }
  return 0;
}
