// This file implements SqliteStatement: a prepared SQLite statement with parameters bound by name
// or position and columns read as Variants, with the metadata the dataset layer needs to size its
// fields and to write rows back to their base table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AnsiString.h"
#include "SqliteError.h"
#include "SqliteTypes.h"
#include "Variant.h"

struct sqlite3_stmt;
class SqliteSession;

// Values in and out:
//  - Empty and Null bind NULL; NULL reads as Null.
//  - integers bind as 64-bit integers and read as Integer (Int64 beyond its range);
//  - Single, Double and Currency bind as REAL and read as Double;
//  - Boolean binds 1 or 0; a column declared BOOLEAN reads as Boolean;
//  - Date binds its TDateTime as REAL; a column declared DATETIME or DATE reads as Date;
//  - String binds as UTF-8 text and reads back as 1252;
//  - an array of bytes (varArray | varByte) binds as a blob; a blob reads as such an array.
// A statement is moved, never copied, and must be destroyed before its session.
class SqliteStatement {
 public:
  SqliteStatement(SqliteStatement&& Other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& Other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  ~SqliteStatement();

  // The statement as it was given (in the Jet dialect for SqliteSession::Prepare), 1252.
  const String& Sql() const { return FSql; }

  // Parameters, numbered from 1. A name is given with or without its ':'; a name used several
  // times in the text is one parameter.
  int ParamCount() const;
  String ParamName(int Index) const;           // without ':'; empty for a '?' parameter
  int ParamIndex(const String& Name) const;    // 0 when the statement has no such parameter
  void Bind(int Index, const Variant& Value);
  void Bind(const String& Name, const Variant& Value);  // ESqliteError (Usage) for an unknown name
  void BindNull(int Index);
  void BindInt64(int Index, long long Value);
  void BindDouble(int Index, double Value);
  void BindText(int Index, const String& Value);
  void BindWideText(int Index, std::u16string_view Value);
  void BindBlob(int Index, const void* Data, std::size_t Size);
  void ClearBindings();

  // Runs the statement to its next row: true when a row is ready, false when it is done. A
  // statement that does more than read rows (a write, a transaction, a setting) first has the
  // pending reads of the process finished (SqlitePendingRead).
  bool Step();
  // True for a statement that only reads rows (a SELECT): it may stay under way between steps.
  bool ReadsOnly() const { return FReadsOnly; }
  // Back to the start, keeping the bound values.
  void Reset();
  // Runs the statement to its end and resets it; the rows it changed.
  int Execute();

  // Columns of the result, numbered from 0.
  int ColumnCount() const { return int(FKinds.size()); }
  String ColumnName(int Index) const;
  String ColumnDeclType(int Index) const;        // empty for an expression
  TSqliteColumnKind ColumnKind(int Index) const;  // from the declared type
  // The base table and column a result column comes from; empty for an expression.
  String ColumnTableName(int Index) const;
  String ColumnOriginName(int Index) const;

  // Values of the current row.
  bool ColumnIsNull(int Index) const;
  long long ColumnInt64(int Index) const;
  double ColumnDouble(int Index) const;
  String ColumnText(int Index) const;       // 1252
  std::string ColumnBytes(int Index) const;  // a blob's bytes as they are
  Variant ColumnValue(int Index) const;

  // Raw reading of the current row, for readers that convert values themselves (the cursor's
  // cell codec reads a whole result this way): no copy, no conversion to 1252, and the index only
  // asserted. A view lasts until the next step or reset, or until the same column is read in the
  // other text form (SQLite converts the value in place).
  TSqliteValueType ColumnType(int Index) const;
  // Text as UTF-8 or UTF-16 (a number as its text); a NULL gives a view whose data() is null.
  std::string_view ColumnUtf8(int Index) const;
  std::u16string_view ColumnUtf16(int Index) const;
  std::string_view ColumnBlob(int Index) const;        // the value's bytes

 private:
  friend class SqliteSession;
  SqliteStatement(SqliteSession& Session, sqlite3_stmt* Handle, String Sql);
  void CheckColumn(int Index) const;
  void Check(int ResultCode) const;  // raises the connection's error unless SQLITE_OK

  SqliteSession* FSession;
  sqlite3_stmt* FHandle;
  String FSql;
  std::vector<TSqliteColumnKind> FKinds;  // one per column, read once at preparation
  bool FReadsOnly = false;
};
