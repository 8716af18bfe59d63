// This file implements the engine-like table over SQLite.
#include "Table.h"

#include <cmath>
#include <cstdio>

#include "DataSet.h"
#include "Field.h"
#include "SqlTokens.h"
#include "SqliteSession.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TTable)
VELBOR_PUBLISHED(TTable,
  Prop("TableName", &Self::TableName, &Self::SetTableName),
  Prop("IndexName", &Self::IndexName, &Self::SetIndexName))

namespace {
std::vector<String> SplitFields(const String& Fields) {
  std::vector<String> Result;
  std::size_t Start = 0;
  while (Start <= Fields.size()) {
    std::size_t Semi = Fields.find(';', Start);
    if (Semi == String::npos) Semi = Fields.size();
    String Name = Trim(Fields.substr(Start, Semi - Start));
    if (!Name.empty()) Result.push_back(Name);
    Start = Semi + 1;
  }
  return Result;
}

String Bracketed(const String& Name) { return "[" + Name + "]"; }

bool ListsField(const String& Fields, const String& Name) {
  for (const String& Field : SplitFields(Fields))
    if (AnsiSameText(Field, Name)) return true;
  return false;
}

// A value as an SQL literal: a text between single quotes with its quotes doubled, a number, a
// date as its day count.
String Literal(const Variant& Value) {
  switch (VarType(Value)) {
    case varBoolean: return Value.AsBoolean() ? "1" : "0";
    case varSmallint: case varInteger: case varInt64: case varByte: return std::to_string(Value.AsInt64());
    case varDouble: case varSingle: case varCurrency: case varDate: {
      char Text[40];
      std::snprintf(Text, sizeof Text, "%.17g", Value.AsDouble());
      return Text;
    }
    default: return QuoteSql(Value.AsString(), '\'');
  }
}

bool IsTextField(TField* Field) {
  TFieldType T = Field->DataType();
  return T == ftString || T == ftFixedChar || T == ftWideString || T == ftMemo || T == ftFmtMemo || T == ftGuid;
}

// Field's value against Value in the order the index sorts: texts in the text order, the rest as
// numbers; a null field sorts first.
int CompareFieldValue(TField* Field, const Variant& Value) {
  if (Field->IsNull()) return VarIsNull(Value) || VarIsEmpty(Value) ? 0 : -1;
  if (VarIsNull(Value) || VarIsEmpty(Value)) return 1;
  if (IsTextField(Field)) return AnsiCompareText(Field->AsString(), Value.AsString());
  double A = Field->DataType() == ftBoolean ? (Field->AsBoolean() ? 1 : 0) : Field->AsFloat();
  double B = VarType(Value) == varBoolean ? (Value.AsBoolean() ? 1 : 0) : Value.AsDouble();
  return A < B ? -1 : A > B ? 1 : 0;
}
}  // namespace

TTable::TTable(TComponent* AOwner) : TDBDataSet(AOwner) {}

TTable::~TTable() {
  Destroying();
  Close();
}

void TTable::SetTableName(const String& Value) {
  if (FTableName == Value) return;
  if (!ComponentState().Contains(csLoading)) Close();
  FTableName = Value;
  FIndexDefs.clear();
  FIndexDefsRead = false;
}

// --- Indexes -------------------------------------------------------------------------------------

void TTable::UpdateIndexDefs() {
  FIndexDefs.clear();
  FIndexDefsRead = true;
  if (TableName().empty()) return;
  SqliteSession& Session = OpenSession();
  std::vector<String> Key = Session.PrimaryKey(TableName());
  auto TextColumn = [&](const String& Column) {
    for (const TSqliteColumnInfo& Info : Session.TableColumns(TableName()))
      if (AnsiSameText(Info.Name, Column)) return Pos("CHAR", UpperCase(Info.DeclaredType)) > 0 || Pos("TEXT", UpperCase(Info.DeclaredType)) > 0;
    return false;
  };
  if (!Key.empty()) {
    TIndexDef Def{"PrimaryKey", "", true, true, false, "", false};
    for (const String& Column : Key) Def.Fields += (Def.Fields.empty() ? "" : ";") + Column;
    FIndexDefs.push_back(Def);
  }
  SqliteStatement List = Session.PrepareNative("SELECT name, \"unique\", origin FROM pragma_index_list(?) ORDER BY name");
  List.Bind(1, Variant(TableName()));
  while (List.Step()) {
    if (List.ColumnText(2) == "pk") continue;  // already the primary key
    TIndexDef Def{List.ColumnText(0), "", false, List.ColumnInt64(1) != 0, false, "", false};
    SqliteStatement Info =
        Session.PrepareNative("SELECT name, coll, \"desc\" FROM pragma_index_xinfo(?) WHERE key = 1 ORDER BY seqno");
    Info.Bind(1, Variant(Def.Name));
    while (Info.Step()) {
      if (Info.ColumnInt64(2) != 0) {
        Def.DescFields += (Def.DescFields.empty() ? "" : ";") + Info.ColumnText(0);
        if (Def.Fields.empty()) Def.Descending = true;
      }
      Def.Fields += (Def.Fields.empty() ? "" : ";") + Info.ColumnText(0);
      if (TextColumn(Info.ColumnText(0)) && !AnsiSameText(Info.ColumnText(1), "BINARY")) Def.CaseInsensitive = true;
    }
    if (!Def.Fields.empty()) FIndexDefs.push_back(Def);
  }
  // A text primary key sorts in the column's collation: the program's text order.
  if (!FIndexDefs.empty() && FIndexDefs[0].Primary) {
    for (const String& Column : Key)
      if (TextColumn(Column)) FIndexDefs[0].CaseInsensitive = true;
  }
}

const std::vector<TIndexDef>& TTable::IndexDefs() {
  if (!FIndexDefsRead) UpdateIndexDefs();
  return FIndexDefs;
}

void TTable::SetIndexName(const String& Value) {
  String Fields, DescFields;
  if (!Value.empty()) {
    const TIndexDef* Found = nullptr;
    for (const TIndexDef& Def : IndexDefs())
      if (AnsiSameText(Def.Name, Value)) Found = &Def;
    if (!Found) DatabaseError("Index '" + Value + "' not found", this);
    Fields = Found->Fields;
    DescFields = Found->DescFields;
  }
  FIndexName = Value;
  FIndexFields = Fields;
  FIndexDescFields = DescFields;
  FRangeStart.clear();
  FRangeEnd.clear();
  Reread();
}

int TTable::IndexFieldCount() const { return int(SplitFields(FIndexFields).size()); }

TField* TTable::IndexField(int Index) { return FieldByName(SplitFields(FIndexFields).at(std::size_t(Index))); }

String TTable::StatementText() const {
  String Sql = FTableName.empty() ? String() : "select * from [" + FTableName + "]";
  if (Sql.empty()) return Sql;
  std::vector<String> Fields = SplitFields(FIndexFields);
  auto Bound = [&](const std::vector<Variant>& Values, const char* Op) {
    std::size_t N = std::min(Values.size(), Fields.size());
    String Columns, Literals;
    for (std::size_t i = 0; i < N; ++i) {
      Columns += (i ? ", " : "") + Bracketed(Fields[i]);
      Literals += (i ? ", " : "") + Literal(Values[i]);
    }
    return N == 1 ? Columns + " " + Op + " " + Literals : "(" + Columns + ") " + Op + " (" + Literals + ")";
  };
  String Where;
  if (!FRangeStart.empty()) Where = Bound(FRangeStart, ">=");
  if (!FRangeEnd.empty()) Where += (Where.empty() ? "" : " and ") + Bound(FRangeEnd, "<=");
  if (!Where.empty()) Sql += " where " + Where;
  if (!Fields.empty()) {
    Sql += " order by ";
    for (std::size_t i = 0; i < Fields.size(); ++i)
      Sql += (i ? ", " : "") + Bracketed(Fields[i]) + (ListsField(FIndexDescFields, Fields[i]) ? " desc" : "");
  }
  return Sql;
}

void TTable::Reread() {
  if (!Active()) return;
  Close();
  Open();
}

// --- Searches ------------------------------------------------------------------------------------

int TTable::CompareKey(const std::vector<Variant>& Values) {
  std::size_t N = std::min(Values.size(), std::size_t(IndexFieldCount()));
  for (std::size_t i = 0; i < N; ++i) {
    TField* Field = IndexField(int(i));
    int Order = CompareFieldValue(Field, Values[i]);
    // A downward key field: a greater value comes first.
    if (Order != 0) return ListsField(FIndexDescFields, Field->FieldName()) ? -Order : Order;
  }
  return 0;
}

bool TTable::FindKey(const std::vector<Variant>& Values) {
  CheckBrowseMode();
  if (IndexFieldCount() == 0 || Values.empty()) return false;
  TBookmark Saved = GetBookmark();
  DisableControls();
  bool Found = false;
  for (First(); !Eof(); Next()) {
    int Order = CompareKey(Values);
    if (Order == 0) {
      Found = true;
      break;
    }
    if (Order > 0) break;  // past the key in index order
  }
  if (!Found) GotoBookmark(Saved);
  EnableControls();
  return Found;
}

void TTable::FindNearest(const std::vector<Variant>& Values) {
  CheckBrowseMode();
  if (IndexFieldCount() == 0) return;
  DisableControls();
  for (First(); !Eof(); Next())
    if (CompareKey(Values) >= 0) break;
  if (Eof()) Last();
  EnableControls();
}

void TTable::SetRange(const std::vector<Variant>& Start, const std::vector<Variant>& End) {
  if (IndexFieldCount() == 0) DatabaseError("No index for a range", this);
  FRangeStart = Start;
  FRangeEnd = End;
  Reread();
}

void TTable::CancelRange() {
  if (!HasRange()) return;
  FRangeStart.clear();
  FRangeEnd.clear();
  Reread();
}
