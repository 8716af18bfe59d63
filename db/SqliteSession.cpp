// This file implements SqliteSession: opening a database file safely, the settings and the
// program's collation and functions on every connection, statements, transactions and the
// schema queries; and SqliteTransaction.
#include "SqliteSession.h"

#include <sqlite3.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <exception>

#include "JetDialect.h"
#include "OsPort.h"
#include "SqlTokens.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

// The first 16 bytes of every SQLite database file.
constexpr char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

[[noreturn]] void Refuse(const String& Message, TSqliteErrorKind Kind = TSqliteErrorKind::NotADatabase) {
  throw ESqliteError(Message, Kind);
}

// True when the file starts with SQLite's header. Read through the OS port, so nothing is written
// to a file that is refused.
bool HasSqliteHeader(const String& FileName) {
  OsPort::FileHandle file = OsPort::OpenFile(FileName, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  if (file == OsPort::InvalidHandle) {
    Refuse("Impossible de lire le fichier de base de données « "_a + FileName + " » : "_a + OsPort::LastErrorMessage());
  }
  char header[sizeof kHeader] = {};
  std::int64_t read = OsPort::ReadFile(file, header, sizeof header);
  OsPort::CloseFile(file);
  return read == std::int64_t(sizeof header) && std::memcmp(header, kHeader, sizeof header) == 0;
}

int CollateText(void*, int LengthA, const void* A, int LengthB, const void* B) {
  return CompareUtf8Text(LengthA, A, LengthB, B);
}

std::string ArgumentText(sqlite3_value* Value) {
  const unsigned char* text = sqlite3_value_text(Value);
  return text ? std::string(reinterpret_cast<const char*>(text), std::size_t(sqlite3_value_bytes(Value))) : std::string();
}

// val(x): Jet's VAL; NULL stays NULL, a number stays itself.
void ValFunction(sqlite3_context* Context, int, sqlite3_value** Args) {
  switch (sqlite3_value_type(Args[0])) {
    case SQLITE_NULL:
      sqlite3_result_null(Context);
      break;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      sqlite3_result_double(Context, sqlite3_value_double(Args[0]));
      break;
    default:
      sqlite3_result_double(Context, JetVal(ArgumentText(Args[0])));
      break;
  }
}

// upper(x): SQLite's own upper() changes ASCII letters only; this one changes every letter that
// 1252 can hold (é -> É, œ -> Œ), as the program's upper-casing of search values does. Other
// characters pass unchanged.
void UpperFunction(sqlite3_context* Context, int, sqlite3_value** Args) {
  if (sqlite3_value_type(Args[0]) == SQLITE_NULL) {
    sqlite3_result_null(Context);
    return;
  }
  WideString text = Utf8ToWide(ArgumentText(Args[0]));
  for (char16_t& c : text) {
    int b = cp1252::FromUnicode(c);
    if (b >= 0) c = cp1252::ToUnicode(static_cast<unsigned char>(AnsiUpperChar(char(b))));
  }
  std::string result = WideToUtf8(text);
  sqlite3_result_text64(Context, result.data(), result.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Only blanks and semicolons may follow the one statement of a text.
bool OnlySeparators(const char* Tail) {
  for (; *Tail; ++Tail) {
    if (!std::strchr(" \t\r\n;", *Tail)) return false;
  }
  return true;
}

}  // namespace

SqliteSession::SqliteSession(const String& FileName, TSqliteOpenMode Mode) : FFileName(FileName) {
  std::string host = OsPort::HostPath(FileName);
  if (host.empty()) Refuse("Le chemin de la base de données « "_a + FileName + " » n'est pas valide"_a);
  bool exists = OsPort::FileExists(FileName);
  if (exists) {
    if (!HasSqliteHeader(FileName)) {
      Refuse("Le fichier « "_a + FileName + " » n'est pas une base de données du programme"_a);
    }
  } else if (OsPort::DirectoryExists(FileName)) {
    Refuse("« "_a + FileName + " » est un dossier, pas une base de données"_a);
  } else if (Mode != TSqliteOpenMode::CreateIfMissing) {
    Refuse("Le fichier de base de données « "_a + FileName + " » est introuvable"_a);
  }

  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (exists ? 0 : SQLITE_OPEN_CREATE);
  int rc = sqlite3_open_v2(host.c_str(), &FDb, flags, nullptr);
  try {
    if (rc != SQLITE_OK) Fail(rc, String());
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, 2000);
    rc = sqlite3_create_collation_v2(FDb, kTextCollation, SQLITE_UTF8, nullptr, CollateText, nullptr);
    if (rc != SQLITE_OK) Fail(rc, String());
    const int functionFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    rc = sqlite3_create_function_v2(FDb, "val", 1, functionFlags, nullptr, ValFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(rc, String());
    rc = sqlite3_create_function_v2(FDb, "upper", 1, functionFlags, nullptr, UpperFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(rc, String());
    // A new connection leaves the other sessions' pending reads alone: these change nothing in
    // the file.
    Run("PRAGMA journal_mode=DELETE", false);
    Run("PRAGMA synchronous=FULL", false);
    Run("PRAGMA foreign_keys=ON", false);
    // Reads the schema now, so that a damaged file is refused at opening rather than at the first
    // query; a new file gets its header written, so that it is a database from now on.
    Run(exists ? "SELECT count(*) FROM sqlite_master" : "PRAGMA user_version=0", false);
  } catch (...) {
    sqlite3_close_v2(FDb);
    FDb = nullptr;
    throw;
  }
}

SqliteSession::~SqliteSession() {
  assert(FLiveStatements == 0 && "statements must be destroyed before their session");
  if (FDb) {
    // A transaction left open is rolled back by closing; nothing may be thrown from here.
    sqlite3_close_v2(FDb);
  }
}

void SqliteSession::Fail(int ResultCode, const String& Sql) const { RaiseSqliteError(FDb, ResultCode, Sql, FFileName); }

void SqliteSession::Run(const char* Sql, bool FinishReads) {
  if (FinishReads) FinishPendingReads();
  int rc = sqlite3_exec(FDb, Sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(rc, Sql);
}

// SQLite reads a text up to its first NUL: what follows would be dropped unseen, past the check
// that only one statement is prepared.
static void RefuseNul(const String& Sql, const String& Shown) {
  if (Sql.find('\0') != String::npos)
    throw ESqliteError("L'instruction SQL contient un caractère nul\r\nInstruction : "_a + Shown,
                       TSqliteErrorKind::Usage, 0, String(), String(), Shown);
}

SqliteStatement SqliteSession::PrepareText(const String& SqliteSql, const String& Shown) {
  RefuseNul(SqliteSql, Shown);
  std::string utf8 = AnsiToUtf8(SqliteSql);
  sqlite3_stmt* handle = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(FDb, utf8.c_str(), int(utf8.size()) + 1, &handle, &tail);
  if (rc != SQLITE_OK) Fail(rc, Shown);
  if (!handle) {
    throw ESqliteError("Instruction SQL vide", TSqliteErrorKind::Usage, 0, String(), String(), Shown);
  }
  if (tail && !OnlySeparators(tail)) {
    sqlite3_finalize(handle);
    throw ESqliteError("Une seule instruction SQL est admise à la fois\r\nInstruction : "_a + Shown,
                       TSqliteErrorKind::Usage, 0, String(), String(), Shown);
  }
  return SqliteStatement(*this, handle, Shown);
}

SqliteStatement SqliteSession::Prepare(const String& JetSql) { return PrepareText(TranslateJetSql(JetSql), JetSql); }

SqliteStatement SqliteSession::PrepareNative(const String& Sql) { return PrepareText(Sql, Sql); }

int SqliteSession::Execute(const String& JetSql) { return Prepare(JetSql).Execute(); }

void SqliteSession::ExecuteScript(const String& Sql) {
  RefuseNul(Sql, Sql);
  FinishPendingReads();
  std::string utf8 = AnsiToUtf8(Sql);
  int rc = sqlite3_exec(FDb, utf8.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(rc, Sql);
}

bool SqliteSession::InTransaction() const { return sqlite3_get_autocommit(FDb) == 0; }

void SqliteSession::BeginTransaction() {
  if (InTransaction()) {
    throw ESqliteError("Une transaction est déjà en cours : les transactions imbriquées ne sont pas admises"_a,
                       TSqliteErrorKind::Usage);
  }
  // IMMEDIATE takes the write lock now: a locked file fails here, not halfway through the work.
  Run("BEGIN IMMEDIATE");
}

void SqliteSession::Commit() {
  if (!InTransaction()) throw ESqliteError("Aucune transaction en cours à valider"_a, TSqliteErrorKind::Usage);
  Run("COMMIT");
}

void SqliteSession::Rollback() {
  if (!InTransaction()) throw ESqliteError("Aucune transaction en cours à annuler"_a, TSqliteErrorKind::Usage);
  Run("ROLLBACK");
}

// --- Pending reads -------------------------------------------------------------------------------

static std::vector<SqlitePendingRead*>& PendingReads() {
  static std::vector<SqlitePendingRead*> Readers;
  return Readers;
}

void SqliteSession::AddPendingRead(SqlitePendingRead* Reader) {
  std::vector<SqlitePendingRead*>& Readers = PendingReads();
  if (std::find(Readers.begin(), Readers.end(), Reader) == Readers.end()) Readers.push_back(Reader);
}

void SqliteSession::RemovePendingRead(SqlitePendingRead* Reader) {
  std::vector<SqlitePendingRead*>& Readers = PendingReads();
  Readers.erase(std::remove(Readers.begin(), Readers.end(), Reader), Readers.end());
}

bool SqliteSession::HasPendingReads() { return !PendingReads().empty(); }

void SqliteSession::FinishPendingReads() {
  std::vector<SqlitePendingRead*>& Readers = PendingReads();
  std::exception_ptr First;
  while (!Readers.empty()) {
    SqlitePendingRead* Reader = Readers.back();
    try {
      Reader->FinishRead();
    } catch (...) {
      if (!First) First = std::current_exception();
    }
    // A reader leaves the list when done; one that failed to must not hold the loop.
    RemovePendingRead(Reader);
  }
  if (First) std::rethrow_exception(First);
}

bool SqliteSession::ContinuePendingReads(int Rows) {
  std::vector<SqlitePendingRead*>& Readers = PendingReads();
  if (Readers.empty()) return false;
  SqlitePendingRead* Reader = Readers.front();
  try {
    if (!Reader->ReadSome(Rows)) RemovePendingRead(Reader);
  } catch (...) {
    RemovePendingRead(Reader);
    throw;
  }
  return !Readers.empty();
}

long long SqliteSession::LastInsertRowId() const { return sqlite3_last_insert_rowid(FDb); }

int SqliteSession::Changes() const { return sqlite3_changes(FDb); }

void SqliteSession::CopyDatabaseTo(SqliteSession& Target) const {
  // The target cannot be written over while one of its statements is under way.
  FinishPendingReads();
  sqlite3_backup* backup = sqlite3_backup_init(Target.FDb, "main", FDb, "main");
  if (!backup) Target.Fail(sqlite3_extended_errcode(Target.FDb), String());
  int step = sqlite3_backup_step(backup, -1);
  // Finishing reports an error of the steps, with its message on the target; a copy that could
  // not go on (busy, locked) ends without one, so the step's own code is the cause.
  int finish = sqlite3_backup_finish(backup);
  if (step == SQLITE_DONE) return;
  if (finish != SQLITE_OK) Target.Fail(finish, String());
  RaiseSqliteError(nullptr, step, String(), Target.FFileName);
}

std::vector<TSqliteColumnInfo> SqliteSession::TableColumns(const String& Table) {
  SqliteStatement info = PrepareNative("PRAGMA table_info(" + QuoteSql(Table) + ")");
  std::vector<TSqliteColumnInfo> columns;
  while (info.Step()) {
    TSqliteColumnInfo column;
    column.Name = info.ColumnText(1);
    column.DeclaredType = info.ColumnText(2);
    column.NotNull = info.ColumnInt64(3) != 0;
    column.DefaultSql = info.ColumnText(4);
    column.PrimaryKeyOrder = int(info.ColumnInt64(5));
    columns.push_back(std::move(column));
  }
  if (columns.empty()) {
    throw ESqliteError("La table « "_a + Table + " » n'existe pas dans la base « "_a + FFileName + " »"_a,
                       TSqliteErrorKind::Other, 0, Table);
  }
  return columns;
}

std::vector<String> SqliteSession::PrimaryKey(const String& Table) {
  std::vector<TSqliteColumnInfo> columns = TableColumns(Table);
  std::stable_sort(columns.begin(), columns.end(),
                   [](const TSqliteColumnInfo& A, const TSqliteColumnInfo& B) { return A.PrimaryKeyOrder < B.PrimaryKeyOrder; });
  std::vector<String> key;
  for (const TSqliteColumnInfo& column : columns) {
    if (column.PrimaryKeyOrder > 0) key.push_back(column.Name);
  }
  return key;
}

// SqliteTransaction -----------------------------------------------------------------------------

SqliteTransaction::SqliteTransaction(SqliteSession& Session) : FSession(Session) { FSession.BeginTransaction(); }

SqliteTransaction::~SqliteTransaction() {
  if (!FActive) return;
  try {
    if (FSession.InTransaction()) FSession.Rollback();
  } catch (...) {
    // A failed rollback leaves SQLite to roll back when the connection closes; a destructor
    // must not throw.
  }
}

void SqliteTransaction::Commit() {
  FSession.Commit();
  FActive = false;
}
