// This file implements SqliteSession, one open SQLite database file with the program's settings
// (text collation, Jet functions, durability), and SqliteTransaction, the guard that rolls back a
// transaction unless it is committed.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "SqliteError.h"
#include "SqliteStatement.h"

struct sqlite3;

enum class TSqliteOpenMode { OpenExisting, CreateIfMissing };

// A reader that keeps a statement stepping between calls: a dataset reading its rows as they are
// first needed. While such a statement is under way SQLite holds a read lock on its file (another
// connection cannot commit) and the statement may or may not see the rows its own connection
// writes meanwhile. So before any statement of any session of the process writes, begins or ends
// a transaction, and before a whole-file copy, every pending reader reads the rest of its rows
// and lets its statement go (SqliteSession::FinishPendingReads). A reader registers itself while
// it has a statement under way and leaves the list when it is done or destroyed. The datasets are
// used from one thread, and so is the list.
class SqlitePendingRead {
 public:
  // Reads every row still to read and lets the statement go; leaves the list even when the step
  // fails (the error is raised after).
  virtual void FinishRead() = 0;
  // Reads up to Rows more rows (letting the statement go at the end); false once done.
  virtual bool ReadSome(int Rows) = 0;

 protected:
  ~SqlitePendingRead() = default;
};

// A column of a table, as the schema declares it.
struct TSqliteColumnInfo {
  String Name;
  String DeclaredType;
  bool NotNull = false;
  String DefaultSql;         // the default expression as written in the schema; empty when none
  int PrimaryKeyOrder = 0;   // 1-based place in the primary key; 0 outside it
};

// Opening refuses, with an ESqliteError naming the file and without writing to it, a file that does
// not start with SQLite's header (a Jet file, an empty file, anything else) and a missing file
// unless CreateIfMissing is given. Every connection then gets:
//  - journal_mode=DELETE with synchronous=FULL: a commit reaches the disk before it returns, and
//    the database file alone holds every committed change (a write-ahead log would keep committed
//    pages beside it); whole copies are taken through the connection with CopyDatabaseTo;
//  - foreign_keys=ON, a short busy timeout;
//  - the collation kTextCollation, and the functions val (Jet's VAL) and upper (1252 letters).
// The destructor closes the connection and throws nothing; statements must be gone by then.
class SqliteSession {
 public:
  explicit SqliteSession(const String& FileName, TSqliteOpenMode Mode = TSqliteOpenMode::OpenExisting);
  ~SqliteSession();
  SqliteSession(const SqliteSession&) = delete;
  SqliteSession& operator=(const SqliteSession&) = delete;

  const String& FileName() const { return FFileName; }  // the Windows path it was opened with
  // The connection itself, for the benchmarks that time SQLite bare beside the layer.
  sqlite3* Handle() const { return FDb; }

  // One statement in the Jet dialect (translated by TranslateJetSql), or already in SQLite's.
  // A text holding more than one statement is refused.
  SqliteStatement Prepare(const String& JetSql);
  SqliteStatement PrepareNative(const String& Sql);
  // Runs one Jet statement without parameters; the rows it changed.
  int Execute(const String& JetSql);
  // Runs SQLite statements separated by ';' (schema scripts), untranslated.
  void ExecuteScript(const String& Sql);

  // One transaction at a time: beginning a second one is refused (ESqliteError, Usage).
  void BeginTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const;

  // The readers with a statement under way (SqlitePendingRead), across every session.
  static void AddPendingRead(SqlitePendingRead* Reader);
  static void RemovePendingRead(SqlitePendingRead* Reader);
  static bool HasPendingReads();
  // Each pending reader finishes reading; the first error is raised once all are done.
  static void FinishPendingReads();
  // Reads up to Rows more rows of the oldest pending reader (the program does it while idle, so
  // that no statement keeps the file locked for long); false once no reader is pending.
  static bool ContinuePendingReads(int Rows);

  long long LastInsertRowId() const;
  int Changes() const;  // rows changed by the last INSERT, UPDATE or DELETE

  // Writes this session's whole database over Target's with SQLite's online backup: a consistent
  // copy taken through both open connections, in place of Target's content whole or not at all
  // (the exchange import keeps its copy of the database this way and puts it back). Raises the
  // target's ESqliteError when the copy fails or cannot finish (a file locked by another program).
  void CopyDatabaseTo(SqliteSession& Target) const;

  // The columns of a table in their order; ESqliteError when the table does not exist.
  std::vector<TSqliteColumnInfo> TableColumns(const String& Table);
  // The primary key's columns in key order; empty for a table without one.
  std::vector<String> PrimaryKey(const String& Table);

 private:
  friend class SqliteStatement;
  SqliteStatement PrepareText(const String& SqliteSql, const String& Shown);
  // Runs a statement without parameters; pending reads are finished first unless it only reads
  // (the settings made at opening).
  void Run(const char* Sql, bool FinishReads = true);
  [[noreturn]] void Fail(int ResultCode, const String& Sql) const;

  sqlite3* FDb = nullptr;
  String FFileName;
  int FLiveStatements = 0;  // checked when the session closes
};

// Begins a transaction; the destructor rolls it back unless Commit was called.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteSession& Session);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;

  void Commit();

 private:
  SqliteSession& FSession;
  bool FActive = true;
};
