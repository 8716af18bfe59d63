// This file implements the translation of SQLite's errors into the layer's French messages.
#include "SqliteError.h"

#include <sqlite3.h>

#include "SqliteTypes.h"
#include "StrUtils.h"

ESqliteError::ESqliteError(String Msg, TSqliteErrorKind ErrorKind, int Code, String TableName, String ColumnName,
                           String Statement)
    : EDatabaseError(std::move(Msg)),
      Kind(ErrorKind),
      ResultCode(Code),
      Table(std::move(TableName)),
      Column(std::move(ColumnName)),
      Sql(std::move(Statement)) {}

namespace {

// "UNIQUE constraint failed: T.A, T.B" -> table T, columns "A, B".
void SplitColumns(const String& List, String& Table, String& Columns) {
  std::size_t start = 0;
  while (start <= List.size()) {
    std::size_t comma = List.find(", ", start);
    String item = List.substr(start, comma == String::npos ? String::npos : comma - start);
    std::size_t dot = item.find('.');
    if (dot != String::npos) {
      if (Table.empty()) Table = item.substr(0, dot);
      item = item.substr(dot + 1);
    }
    Columns += (Columns.empty() ? "" : ", ") + item;
    if (comma == String::npos) break;
    start = comma + 2;
  }
}

// The columns an index names, in order, from the statement that made it: the first identifier of
// each of its terms (a term may be an expression over a column, as in IFNULL("C", '')).
String IndexColumns(const String& Sql) {
  std::size_t open = Sql.find('(', Sql.find(" ON "));
  if (open == String::npos) return String();
  String columns, term;
  bool named = false;
  int depth = 0;
  for (std::size_t i = open + 1; i < Sql.size(); ++i) {
    char c = Sql[i];
    if (c == '\'') {
      i = Sql.find('\'', i + 1);  // a literal names nothing ('' inside it runs the same way)
      if (i == String::npos) break;
    } else if (c == '"' && !named) {
      std::size_t close = Sql.find('"', i + 1);
      if (close == String::npos) break;
      term = Sql.substr(i + 1, close - i - 1);
      named = true;
      i = close;
    } else if (c == '(') {
      ++depth;
    } else if ((c == ',' || c == ')') && depth == 0) {
      columns += (columns.empty() ? "" : ", ") + term;
      term.clear();
      named = false;
      if (c == ')') break;
    } else if (c == ')') {
      --depth;
    }
  }
  return columns;
}

// "index 'NAME'", as SQLite names a unique index on expressions: its table and columns, read from
// the schema; false when they cannot be.
bool ResolveIndex(sqlite3* Db, const String& Detail, String& Table, String& Columns) {
  const String prefix = "index '";
  if (!Db || !StartsStr(prefix, Detail) || Detail.size() <= prefix.size() || Detail.back() != '\'') return false;
  std::string name = AnsiToUtf8(Detail.substr(prefix.size(), Detail.size() - prefix.size() - 1));
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(Db, "SELECT tbl_name, sql FROM sqlite_master WHERE type = 'index' AND name = ?1", -1,
                         &statement, nullptr) != SQLITE_OK) {
    return false;
  }
  bool found = false;
  sqlite3_bind_text(statement, 1, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 1)) {
    Table = Utf8ToAnsi(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    Columns = IndexColumns(Utf8ToAnsi(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))));
    found = !Columns.empty();
  }
  sqlite3_finalize(statement);
  return found;
}

String DetailOf(const String& Message) {
  std::size_t colon = Message.find(": ");
  return colon == String::npos ? String() : Message.substr(colon + 2);
}

}  // namespace

void RaiseSqliteError(sqlite3* Db, int ResultCode, const String& Sql, const String& FileName) {
  String message = Db ? Utf8ToAnsi(sqlite3_errmsg(Db)) : Utf8ToAnsi(sqlite3_errstr(ResultCode));
  String detail = DetailOf(message);
  String table, column;
  switch (ResultCode) {
    case SQLITE_CONSTRAINT_NOTNULL:
      SplitColumns(detail, table, column);
      throw ESqliteError("Le champ '"_a + column + "' doit avoir une valeur", TSqliteErrorKind::Required, ResultCode,
                         table, column, Sql);
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      if (!ResolveIndex(Db, detail, table, column)) SplitColumns(detail, table, column);
      throw ESqliteError("Valeur en double : la clé ("_a + column + ") existe déjà dans la table "_a + table +
                             " ; les doublons ne sont pas autorisés"_a,
                         TSqliteErrorKind::Duplicate, ResultCode, table, column, Sql);
    case SQLITE_CONSTRAINT_CHECK:
      if (StartsStr(kTextSizeConstraint, detail)) {
        // "taille:13:ZH_CODE": the size, then the column.
        String rest = detail.substr(String(kTextSizeConstraint).size());
        std::size_t colon = rest.find(':');
        String size = rest.substr(0, colon);
        column = colon == String::npos ? String() : rest.substr(colon + 1);
        throw ESqliteError("La valeur du champ '"_a + column + "' est trop longue (" + size + " caractères au plus)"_a,
                           TSqliteErrorKind::TooLong, ResultCode, table, column, Sql);
      }
      throw ESqliteError("Une règle de validation de la base n'est pas respectée : "_a + detail,
                         TSqliteErrorKind::Check, ResultCode, table, column, Sql);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      throw ESqliteError("L'opération est refusée : elle romprait l'intégrité référentielle entre les tables"_a,
                         TSqliteErrorKind::ForeignKey, ResultCode, table, column, Sql);
    default:
      break;
  }
  String where = FileName.empty() ? String() : " « "_a + FileName + " »"_a;
  String statement = Sql.empty() ? String() : "\r\nInstruction : " + Sql;
  switch (ResultCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw ESqliteError("La base de données"_a + where + " est verrouillée par un autre programme : "_a + message +
                             statement,
                         TSqliteErrorKind::Busy, ResultCode, table, column, Sql);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN:
      throw ESqliteError("Le fichier"_a + where + " n'est pas une base de données utilisable : "_a + message,
                         TSqliteErrorKind::NotADatabase, ResultCode, table, column, Sql);
    default:
      throw ESqliteError("Erreur de la base de données"_a + where + " : " + message + statement,
                         TSqliteErrorKind::Other, ResultCode, table, column, Sql);
  }
}
