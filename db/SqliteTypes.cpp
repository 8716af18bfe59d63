// This file implements the reading of declared column types and the text column definitions.
#include "SqliteTypes.h"

#include "SqlTokens.h"
#include "StrUtils.h"

namespace {

bool Has(const String& Upper, const char* Part) { return Upper.find(Part) != String::npos; }

}  // namespace

TSqliteColumnKind ColumnKindOf(const String& DeclaredType) {
  String t = UpperCase(DeclaredType);
  if (t.empty()) return TSqliteColumnKind::Unknown;
  // The program's own names first: they would otherwise fall under SQLite's affinity rules
  // (BOOLEAN and DATETIME are NUMERIC there).
  if (Has(t, "BOOL") || t == "BIT" || Has(t, "YESNO")) return TSqliteColumnKind::Boolean;
  if (Has(t, "DATE") || Has(t, "TIME")) return TSqliteColumnKind::Date;
  if (Has(t, "INT")) return TSqliteColumnKind::Integer;
  if (Has(t, "CHAR") || Has(t, "CLOB") || Has(t, "TEXT") || Has(t, "MEMO")) return TSqliteColumnKind::Text;
  if (Has(t, "BLOB") || Has(t, "IMAGE") || Has(t, "BINARY") || Has(t, "OLE")) return TSqliteColumnKind::Blob;
  return TSqliteColumnKind::Float;  // REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL, CURRENCY...
}

int TextSizeOf(const String& DeclaredType) {
  if (ColumnKindOf(DeclaredType) != TSqliteColumnKind::Text) return 0;
  std::size_t open = DeclaredType.find('(');
  if (open == String::npos) return 0;
  std::size_t close = DeclaredType.find_first_of(",)", open);
  if (close == String::npos) return 0;
  int size = 0;
  return TryStrToInt(Trim(DeclaredType.substr(open + 1, close - open - 1)), size) && size > 0 ? size : 0;
}

String TextColumnSql(const String& Name, int Size, bool Required) {
  String quoted = QuoteSql(Name);
  String sql = quoted + (Size > 0 ? " VARCHAR(" + IntToStr(Size) + ")" : String(" MEMO")) + " COLLATE " + kTextCollation;
  if (Required) sql += " NOT NULL";
  if (Size > 0) {
    sql += " CONSTRAINT " + QuoteSql(kTextSizeConstraint + IntToStr(Size) + ":" + Name) + " CHECK (length(" + quoted +
           ") <= " + IntToStr(Size) + ")";
  }
  return sql;
}
