// This file implements the reading of database values as exchange fields and the error log.
#include "ExchangeRows.h"

#include "ExchangeFile.h"
#include "OsPort.h"
#include "SqliteStatement.h"

namespace Exchange {

String ColumnAsText(const SqliteStatement& Statement, int Index) {
  if (Statement.ColumnIsNull(Index)) return String();
  switch (Statement.ColumnKind(Index)) {
    case TSqliteColumnKind::Integer:
    case TSqliteColumnKind::Float:
      return NombreVersTexte(Statement.ColumnDouble(Index));
    case TSqliteColumnKind::Boolean:
      return BooleenVersTexte(Statement.ColumnInt64(Index) != 0);
    case TSqliteColumnKind::Date:
      return DateVersTexte(Statement.ColumnDouble(Index));
    default:
      return Statement.ColumnText(Index);
  }
}

String FolderOf(const String& Path) {
  std::size_t slash = Path.find_last_of("\\/:");
  return slash == String::npos ? String() : Path.substr(0, slash + 1);
}

void WriteErrorLog(const String& ImportedFile, const std::vector<String>& Lines) {
  String path = FolderOf(ImportedFile) + "erreur.log";
  if (Lines.empty()) {
    if (OsPort::FileExists(path)) OsPort::DeleteFile(path);
    return;
  }
  String bytes;
  for (const String& line : Lines) bytes += line + "\r\n";
  WriteFileBytes(path, bytes);
}

}  // namespace Exchange
