// This file implements SqliteStatement: binding, stepping and reading columns.
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cassert>
#include <climits>

#include "SqliteSession.h"
#include "StrUtils.h"
#include "TextOrder.h"

SqliteStatement::SqliteStatement(SqliteSession& Session, sqlite3_stmt* Handle, String Sql)
    : FSession(&Session), FHandle(Handle), FSql(std::move(Sql)) {
  int count = sqlite3_column_count(FHandle);
  FKinds.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    const char* declared = sqlite3_column_decltype(FHandle, i);
    FKinds.push_back(ColumnKindOf(declared ? String(declared) : String()));
  }
  // SQLite counts transaction statements as read-only; they return no columns.
  FReadsOnly = sqlite3_stmt_readonly(FHandle) != 0 && count > 0;
  ++FSession->FLiveStatements;
}

SqliteStatement::SqliteStatement(SqliteStatement&& Other) noexcept
    : FSession(Other.FSession), FHandle(Other.FHandle), FSql(std::move(Other.FSql)), FKinds(std::move(Other.FKinds)),
      FReadsOnly(Other.FReadsOnly) {
  Other.FSession = nullptr;
  Other.FHandle = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& Other) noexcept {
  if (this != &Other) {
    if (FHandle) {
      sqlite3_finalize(FHandle);
      --FSession->FLiveStatements;
    }
    FSession = Other.FSession;
    FHandle = Other.FHandle;
    FSql = std::move(Other.FSql);
    FKinds = std::move(Other.FKinds);
    FReadsOnly = Other.FReadsOnly;
    Other.FSession = nullptr;
    Other.FHandle = nullptr;
  }
  return *this;
}

SqliteStatement::~SqliteStatement() {
  if (FHandle) {
    sqlite3_finalize(FHandle);
    --FSession->FLiveStatements;
  }
}

void SqliteStatement::Check(int ResultCode) const {
  if (ResultCode != SQLITE_OK) FSession->Fail(ResultCode, FSql);
}

void SqliteStatement::CheckColumn(int Index) const {
  if (Index < 0 || Index >= ColumnCount()) {
    throw ESqliteError("Colonne " + IntToStr(Index) + " hors limites (" + IntToStr(ColumnCount()) +
                           " colonnes)\r\nInstruction : " + FSql,
                       TSqliteErrorKind::Usage, 0, String(), String(), FSql);
  }
}

// Parameters ----------------------------------------------------------------------------------

int SqliteStatement::ParamCount() const { return sqlite3_bind_parameter_count(FHandle); }

String SqliteStatement::ParamName(int Index) const {
  const char* name = sqlite3_bind_parameter_name(FHandle, Index);
  return name ? Utf8ToAnsi(name + 1) : String();
}

int SqliteStatement::ParamIndex(const String& Name) const {
  if (Name.empty()) return 0;
  String bare = Name[0] == ':' ? Name.substr(1) : Name;
  for (const char* prefix : {":", "@", "$"}) {
    int index = sqlite3_bind_parameter_index(FHandle, AnsiToUtf8(prefix + bare).c_str());
    if (index) return index;
  }
  // Parameter names ignore case, as the platform's parameter lists do.
  for (int i = 1; i <= ParamCount(); ++i) {
    if (SameText(ParamName(i), bare)) return i;
  }
  return 0;
}

void SqliteStatement::Bind(const String& Name, const Variant& Value) {
  int index = ParamIndex(Name);
  if (index == 0) {
    throw ESqliteError("Le paramètre '"_a + Name + "' n'existe pas dans l'instruction\r\nInstruction : " + FSql,
                       TSqliteErrorKind::Usage, 0, String(), String(), FSql);
  }
  Bind(index, Value);
}

void SqliteStatement::Bind(int Index, const Variant& Value) {
  TVarType type = VarType(Value);
  if (type == (varArray | varByte)) {
    int low = VarArrayLowBound(Value, 1), high = VarArrayHighBound(Value, 1);
    std::string bytes;
    bytes.reserve(std::size_t(high - low + 1));
    for (int i = low; i <= high; ++i) bytes += char(VarArrayGet(Value, i).AsInteger());
    BindBlob(Index, bytes.data(), bytes.size());
    return;
  }
  switch (type) {
    case varEmpty:
    case varNull:
      BindNull(Index);
      break;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
      BindInt64(Index, Value.AsInt64());
      break;
    case varBoolean:
      BindInt64(Index, Value.AsBoolean() ? 1 : 0);
      break;
    case varSingle:
    case varDouble:
    case varCurrency:
      BindDouble(Index, Value.AsDouble());
      break;
    case varDate:
      BindDouble(Index, Value.AsDate());
      break;
    case varString:
      BindText(Index, Value.AsString());
      break;
    default:
      throw ESqliteError("Type de valeur non pris en charge pour le paramètre "_a + IntToStr(Index) + " : " +
                             VarTypeAsText(type),
                         TSqliteErrorKind::Usage, 0, String(), String(), FSql);
  }
}

void SqliteStatement::BindNull(int Index) { Check(sqlite3_bind_null(FHandle, Index)); }

void SqliteStatement::BindInt64(int Index, long long Value) { Check(sqlite3_bind_int64(FHandle, Index, Value)); }

void SqliteStatement::BindDouble(int Index, double Value) { Check(sqlite3_bind_double(FHandle, Index, Value)); }

void SqliteStatement::BindText(int Index, const String& Value) {
  std::string utf8 = AnsiToUtf8(Value);
  Check(sqlite3_bind_text64(FHandle, Index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
}

void SqliteStatement::BindWideText(int Index, std::u16string_view Value) {
  Check(sqlite3_bind_text64(FHandle, Index, reinterpret_cast<const char*>(Value.data()), Value.size() * 2,
                            SQLITE_TRANSIENT, SQLITE_UTF16));
}

void SqliteStatement::BindBlob(int Index, const void* Data, std::size_t Size) {
  // A zero-length blob is a value, not NULL: SQLite needs a non-null pointer to tell them apart.
  static const char kNothing = 0;
  Check(sqlite3_bind_blob64(FHandle, Index, Size ? Data : &kNothing, Size, SQLITE_TRANSIENT));
}

void SqliteStatement::ClearBindings() { sqlite3_clear_bindings(FHandle); }

// Running ---------------------------------------------------------------------------------------

bool SqliteStatement::Step() {
  if (!FReadsOnly && sqlite3_stmt_busy(FHandle) == 0) SqliteSession::FinishPendingReads();
  int rc = sqlite3_step(FHandle);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // The message belongs to the failed step; read it before the reset that makes the statement
  // usable again.
  try {
    FSession->Fail(rc, FSql);
  } catch (...) {
    sqlite3_reset(FHandle);
    throw;
  }
}

void SqliteStatement::Reset() { sqlite3_reset(FHandle); }

int SqliteStatement::Execute() {
  sqlite3_reset(FHandle);
  while (Step()) {
  }
  int changes = sqlite3_changes(sqlite3_db_handle(FHandle));
  sqlite3_reset(FHandle);
  return changes;
}

// Columns ---------------------------------------------------------------------------------------

String SqliteStatement::ColumnName(int Index) const {
  CheckColumn(Index);
  const char* name = sqlite3_column_name(FHandle, Index);
  return name ? Utf8ToAnsi(name) : String();
}

String SqliteStatement::ColumnDeclType(int Index) const {
  CheckColumn(Index);
  const char* declared = sqlite3_column_decltype(FHandle, Index);
  return declared ? Utf8ToAnsi(declared) : String();
}

TSqliteColumnKind SqliteStatement::ColumnKind(int Index) const {
  CheckColumn(Index);
  return FKinds[std::size_t(Index)];
}

String SqliteStatement::ColumnTableName(int Index) const {
  CheckColumn(Index);
  const char* name = sqlite3_column_table_name(FHandle, Index);
  return name ? Utf8ToAnsi(name) : String();
}

String SqliteStatement::ColumnOriginName(int Index) const {
  CheckColumn(Index);
  const char* name = sqlite3_column_origin_name(FHandle, Index);
  return name ? Utf8ToAnsi(name) : String();
}

bool SqliteStatement::ColumnIsNull(int Index) const {
  CheckColumn(Index);
  return sqlite3_column_type(FHandle, Index) == SQLITE_NULL;
}

long long SqliteStatement::ColumnInt64(int Index) const {
  CheckColumn(Index);
  return sqlite3_column_int64(FHandle, Index);
}

double SqliteStatement::ColumnDouble(int Index) const {
  CheckColumn(Index);
  return sqlite3_column_double(FHandle, Index);
}

String SqliteStatement::ColumnText(int Index) const {
  CheckColumn(Index);
  return Utf8ToAnsi(ColumnUtf8(Index));
}

std::string SqliteStatement::ColumnBytes(int Index) const {
  CheckColumn(Index);
  return std::string(ColumnBlob(Index));
}

Variant SqliteStatement::ColumnValue(int Index) const {
  CheckColumn(Index);
  TSqliteColumnKind kind = FKinds[std::size_t(Index)];
  switch (sqlite3_column_type(FHandle, Index)) {
    case SQLITE_NULL:
      return Variant::Null();
    case SQLITE_INTEGER: {
      long long value = sqlite3_column_int64(FHandle, Index);
      if (kind == TSqliteColumnKind::Boolean) return Variant(value != 0);
      if (kind == TSqliteColumnKind::Date) return Variant::FromDate(TDateTime(value));
      if (kind == TSqliteColumnKind::Float) return Variant(double(value));
      if (value >= INT_MIN && value <= INT_MAX) return Variant(int(value));
      return Variant(value);
    }
    case SQLITE_FLOAT: {
      double value = sqlite3_column_double(FHandle, Index);
      if (kind == TSqliteColumnKind::Boolean) return Variant(value != 0);
      if (kind == TSqliteColumnKind::Date) return Variant::FromDate(value);
      return Variant(value);
    }
    case SQLITE_BLOB: {
      std::string bytes = ColumnBytes(Index);
      Variant array = VarArrayCreate(0, int(bytes.size()) - 1, varByte);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        VarArrayPut(array, Variant::FromByte(static_cast<unsigned char>(bytes[i])), int(i));
      }
      return array;
    }
    default:
      return Variant(ColumnText(Index));
  }
}

// Raw reading ------------------------------------------------------------------------------------

static_assert(int(TSqliteValueType::Integer) == SQLITE_INTEGER && int(TSqliteValueType::Float) == SQLITE_FLOAT &&
              int(TSqliteValueType::Text) == SQLITE_TEXT && int(TSqliteValueType::Blob) == SQLITE_BLOB &&
              int(TSqliteValueType::Null) == SQLITE_NULL);

TSqliteValueType SqliteStatement::ColumnType(int Index) const {
  assert(Index >= 0 && Index < ColumnCount());
  return TSqliteValueType(sqlite3_column_type(FHandle, Index));
}

std::string_view SqliteStatement::ColumnUtf8(int Index) const {
  assert(Index >= 0 && Index < ColumnCount());
  // The text first, then its size: the order SQLite asks for, so that the size is the text's.
  const char* text = reinterpret_cast<const char*>(sqlite3_column_text(FHandle, Index));
  if (!text) return std::string_view();
  return std::string_view(text, std::size_t(sqlite3_column_bytes(FHandle, Index)));
}

std::u16string_view SqliteStatement::ColumnUtf16(int Index) const {
  assert(Index >= 0 && Index < ColumnCount());
  const char16_t* text = static_cast<const char16_t*>(sqlite3_column_text16(FHandle, Index));
  if (!text) return std::u16string_view();
  return std::u16string_view(text, std::size_t(sqlite3_column_bytes16(FHandle, Index)) / 2);
}

std::string_view SqliteStatement::ColumnBlob(int Index) const {
  assert(Index >= 0 && Index < ColumnCount());
  const char* data = static_cast<const char*>(sqlite3_column_blob(FHandle, Index));
  if (!data) return std::string_view();
  return std::string_view(data, std::size_t(sqlite3_column_bytes(FHandle, Index)));
}
