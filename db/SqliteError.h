// This file implements the database errors of the engine layer: French messages built from
// SQLite's result codes, with constraint violations told apart so that callers can refuse a post
// as the old engine did.
#pragma once

#include "Exceptions.h"

struct sqlite3;

enum class TSqliteErrorKind {
  Other,         // any other failure of SQLite (syntax, I/O, ...)
  Required,      // NOT NULL: "Le champ 'X' doit avoir une valeur"
  Duplicate,     // UNIQUE or PRIMARY KEY
  TooLong,       // the length check of a text column (TextColumnSql)
  ForeignKey,    // a row still referenced, or a reference to nothing
  Check,         // any other CHECK constraint
  Busy,          // the file is locked by another program
  NotADatabase,  // the file is missing, not an SQLite database, or damaged
  Usage,         // misuse of the layer: nested transaction, unknown parameter, bad column...
};

// An EDatabaseError with what the layer knows of the cause. Its ClassName stays "EDatabaseError":
// handlers and default error boxes see the platform's kind.
class ESqliteError : public EDatabaseError {
 public:
  ESqliteError(String Msg, TSqliteErrorKind ErrorKind, int Code = 0, String TableName = String(),
               String ColumnName = String(), String Statement = String());

  TSqliteErrorKind Kind;
  int ResultCode;  // SQLite's extended result code, 0 for errors of the layer itself
  String Table;    // the table of a constraint violation, when SQLite names it
  String Column;   // its column (several joined by ", " for a composite key)
  String Sql;      // the statement that failed, 1252
};

// Throws the error that a connection reports for ResultCode, for the statement Sql.
[[noreturn]] void RaiseSqliteError(sqlite3* Db, int ResultCode, const String& Sql, const String& FileName);
