// This file implements TCustomADODataSet's write-back: finding the base table of a statement and
// how its rows are found there, the UPDATE, INSERT and DELETE statements built with bound values,
// posting and deleting under each lock type, and the batch cache (UpdateBatch, CancelBatch).
#include <algorithm>
#include <cstring>
#include <map>

#include "ADODB.h"
#include "ADOCellCodec.h"
#include "ADOStore.h"
#include "JetDialect.h"
#include "SqlTokens.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

// --- Reading the FROM clause ---------------------------------------------------------------------

bool IsClauseEnd(const TSqlToken& T) {
  for (const char* W : {"WHERE", "GROUP", "ORDER", "LIMIT", "HAVING", "WINDOW", "UNION", "INTERSECT", "EXCEPT"})
    if (T.IsWord(W)) return true;
  return T.Kind == TSqlTokenKind::End || T.IsSymbol(";") || T.IsSymbol(")");
}

bool IsJoinWord(const TSqlToken& T) {
  for (const char* W : {"JOIN", "INNER", "LEFT", "RIGHT", "FULL", "CROSS", "NATURAL", "OUTER"})
    if (T.IsWord(W)) return true;
  return false;
}

bool IsName(const TSqlToken& T) {
  if (T.Kind == TSqlTokenKind::QuotedName || T.Kind == TSqlTokenKind::BracketName) return true;
  if (T.Kind != TSqlTokenKind::Word) return false;
  return !IsClauseEnd(T) && !IsJoinWord(T) && !T.IsWord("ON") && !T.IsWord("USING") && !T.IsWord("AS");
}

// How the base table is named in the FROM clause of a plain SELECT (its alias, or its own name),
// and where the result columns start; false when the statement cannot take one more column
// safely (DISTINCT, GROUP BY, compound selects) or names the table more than once.
bool FindQualifier(const String& Sql, const String& Table, String& Qualifier, std::size_t& ColumnsStart) {
  std::vector<TSqlToken> T = TokenizeSql(Sql);
  T.erase(std::remove_if(T.begin(), T.end(), [](const TSqlToken& Token) { return Token.IsSpace(); }), T.end());
  if (!T[0].IsWord("SELECT")) return false;
  if (T[1].IsWord("DISTINCT")) return false;
  ColumnsStart = T[1].IsWord("ALL") ? T[1].Stop : T[0].Stop;
  int Depth = 0;
  std::size_t From = 0;
  for (std::size_t i = 0; i < T.size(); ++i) {
    if (T[i].IsSymbol("(")) ++Depth;
    if (T[i].IsSymbol(")")) --Depth;
    if (Depth != 0) continue;
    for (const char* W : {"GROUP", "UNION", "INTERSECT", "EXCEPT", "HAVING", "WINDOW"})
      if (T[i].IsWord(W)) return false;
    if (From == 0 && T[i].IsWord("FROM")) From = i;
  }
  if (From == 0) return false;
  int Matches = 0;
  std::size_t i = From + 1;
  while (T[i].Kind != TSqlTokenKind::End) {
    String Name, Alias;
    if (T[i].IsSymbol("(")) {
      // A sub-select or a parenthesised join: passed over.
      int D = 0;
      do {
        if (T[i].IsSymbol("(")) ++D;
        if (T[i].IsSymbol(")")) --D;
        ++i;
      } while (D > 0 && T[i].Kind != TSqlTokenKind::End);
    } else if (IsName(T[i])) {
      Name = T[i++].Name();
      if (T[i].IsSymbol(".") && IsName(T[i + 1])) {
        Name = T[i + 1].Name();  // schema.table
        i += 2;
      }
    } else {
      return false;
    }
    if (T[i].IsWord("AS")) ++i;
    if (IsName(T[i])) Alias = T[i++].Name();
    if (!Name.empty() && SameText(Name, Table)) {
      ++Matches;
      Qualifier = Alias.empty() ? Name : Alias;
    }
    // The rest of this item (ON or USING conditions) up to the next item or the clause's end.
    int D = 0;
    while (T[i].Kind != TSqlTokenKind::End) {
      if (T[i].IsSymbol("(")) ++D;
      if (T[i].IsSymbol(")")) {
        if (D == 0) break;
        --D;
      }
      if (D == 0 && (IsClauseEnd(T[i]) || T[i].IsSymbol(",") || IsJoinWord(T[i]))) break;
      ++i;
    }
    if (D != 0 || IsClauseEnd(T[i])) break;
    while (T[i].IsSymbol(",")) ++i;
    while (IsJoinWord(T[i])) ++i;
  }
  return Matches == 1;
}

// The statements of one write (a post, or a whole batch), prepared once per text.
class TRowWriter {
 public:
  TRowWriter(TCustomADODataSet* DataSet, SqliteSession& Session, const TAdoCursor& Cursor)
      : FDataSet(DataSet), FSession(Session), C(Cursor) {}

  void Insert(const TAdoRow& Row, long long& RowId) {
    String Sql = "INSERT INTO " + QuoteSql(C.BaseTable);
    String Names, Places;
    std::vector<int> Columns;
    for (std::size_t i = 0; i < C.Columns.size(); ++i) {
      // Null cells are left out, so that the table's defaults apply.
      if (!C.Columns[i].Writable() || IsNullCell(Row.Data.get(), int(i))) continue;
      Names += (Names.empty() ? "" : ", ") + QuoteSql(C.Columns[i].BaseColumn);
      Places += Places.empty() ? "?" : ", ?";
      Columns.push_back(int(i));
    }
    Sql += Columns.empty() ? String(" DEFAULT VALUES") : " (" + Names + ") VALUES (" + Places + ")";
    SqliteStatement& S = Statement(Sql);
    for (std::size_t k = 0; k < Columns.size(); ++k) AdoCell::Bind(S, int(k) + 1, C.Columns[std::size_t(Columns[k])], Row.Data.get(), Row.Blobs);
    S.Execute();
    RowId = FSession.LastInsertRowId();
  }

  // New against Old: the changed writable columns; nothing is run when none changed.
  void Update(const TAdoRow& New, const TAdoRow& Old) {
    std::vector<int> Changed;
    for (std::size_t i = 0; i < C.Columns.size(); ++i)
      if (C.Columns[i].Writable() && !AdoCell::Same(C.Columns[i], New.Data.get(), New.Blobs, Old.Data.get(), Old.Blobs))
        Changed.push_back(int(i));
    if (Changed.empty()) return;
    String Sql = "UPDATE " + QuoteSql(C.BaseTable) + " SET ";
    for (std::size_t k = 0; k < Changed.size(); ++k)
      Sql += (k ? ", " : "") + QuoteSql(C.Columns[std::size_t(Changed[k])].BaseColumn) + " = ?";
    std::vector<int> Where;
    Sql += WhereClause(Where);
    SqliteStatement& S = Statement(Sql);
    int Index = 1;
    for (int Column : Changed) AdoCell::Bind(S, Index++, C.Columns[std::size_t(Column)], New.Data.get(), New.Blobs);
    BindWhere(S, Index, Where, Old);
    Run(S, "mettre à jour"_a);
  }

  void Delete(const TAdoRow& Old) {
    std::vector<int> Where;
    String Sql = "DELETE FROM " + QuoteSql(C.BaseTable) + WhereClause(Where);
    SqliteStatement& S = Statement(Sql);
    BindWhere(S, 1, Where, Old);
    Run(S, "supprimer");
  }

 private:
  SqliteStatement& Statement(const String& Sql) {
    auto It = FStatements.find(Sql);
    if (It == FStatements.end()) It = FStatements.emplace(Sql, FSession.PrepareNative(Sql)).first;
    return It->second;
  }

  // " WHERE ...": the primary key, the rowid, or every written column compared with IS (nulls
  // match nulls). Where receives the columns bound in order (-1 for the rowid).
  String WhereClause(std::vector<int>& Where) {
    String Sql;
    switch (C.KeyMode) {
      case TAdoKeyMode::PrimaryKey:
        for (int Column : C.KeyColumns) {
          Sql += (Sql.empty() ? "" : " AND ") + QuoteSql(C.Columns[std::size_t(Column)].BaseColumn) + " = ?";
          Where.push_back(Column);
        }
        break;
      case TAdoKeyMode::RowId:
        Sql = "rowid = ?";
        Where.push_back(-1);
        break;
      default:
        for (std::size_t i = 0; i < C.Columns.size(); ++i) {
          if (!C.Columns[i].Writable()) continue;
          Sql += (Sql.empty() ? "" : " AND ") + QuoteSql(C.Columns[i].BaseColumn) + " IS ?";
          Where.push_back(int(i));
        }
        break;
    }
    return " WHERE " + Sql;
  }

  void BindWhere(SqliteStatement& S, int Index, const std::vector<int>& Where, const TAdoRow& Old) {
    for (int Column : Where) {
      if (Column < 0)
        S.BindInt64(Index++, Old.RowId);
      else
        AdoCell::Bind(S, Index++, C.Columns[std::size_t(Column)], Old.Data.get(), Old.Blobs);
    }
  }

  // Runs an UPDATE or DELETE that must reach exactly one row. Found by key or rowid it reaches at
  // most one; found by its values it may reach identical twins, so it runs inside a savepoint that
  // is rolled back unless one row changed.
  void Run(SqliteStatement& S, const char* Verb) {
    bool ByValues = C.KeyMode == TAdoKeyMode::Values;
    if (ByValues) FSession.PrepareNative("SAVEPOINT velbor_row").Execute();
    int Changes;
    try {
      Changes = S.Execute();
    } catch (...) {
      if (ByValues) {
        FSession.PrepareNative("ROLLBACK TO velbor_row").Execute();
        FSession.PrepareNative("RELEASE velbor_row").Execute();
      }
      throw;
    }
    if (ByValues && Changes != 1) FSession.PrepareNative("ROLLBACK TO velbor_row").Execute();
    if (ByValues) FSession.PrepareNative("RELEASE velbor_row").Execute();
    if (Changes == 0)
      DatabaseErrorFmt("Impossible de %s la ligne de la table %s : elle a été modifiée ou supprimée depuis sa lecture"_a,
                       {String(Verb), C.BaseTable}, FDataSet);
    if (Changes > 1)
      DatabaseErrorFmt("Impossible de %s la ligne de la table %s : plusieurs lignes identiques lui correspondent"_a,
                       {String(Verb), C.BaseTable}, FDataSet);
  }

  TCustomADODataSet* FDataSet;
  SqliteSession& FSession;
  const TAdoCursor& C;
  std::map<String, SqliteStatement> FStatements;
};

// A single-column integer primary key left empty gets the key SQLite gave the new row.
void TakeGeneratedKey(const TAdoCursor& C, TAdoRow& Row, long long RowId) {
  if (C.KeyMode != TAdoKeyMode::PrimaryKey || C.KeyColumns.size() != 1) return;
  int Column = C.KeyColumns[0];
  const TAdoColumn& Col = C.Columns[std::size_t(Column)];
  if (!IsNullCell(Row.Data.get(), Column) || (Col.Kind != TNativeKind::Int32 && Col.Kind != TNativeKind::Int64)) return;
  AdoCell::SetValue(Col, Row.Data.get(), Row.Blobs, Variant(RowId));
}

}  // namespace

// --- The base table -------------------------------------------------------------------------------

void AnalyzeWriteBack(SqliteSession& Session, SqliteStatement& Statement, TAdoCursor& C, bool Writable) {
  // The base table is the table of the first column that comes from one; the others are read-only.
  for (const TAdoColumn& Col : C.Columns) {
    C.BaseTable = Statement.ColumnTableName(Col.StatementIndex);
    if (!C.BaseTable.empty()) break;
  }
  if (C.BaseTable.empty()) return;
  for (TAdoColumn& Col : C.Columns)
    if (SameText(Statement.ColumnTableName(Col.StatementIndex), C.BaseTable))
      Col.BaseColumn = Statement.ColumnOriginName(Col.StatementIndex);
  if (!Writable) return;

  std::vector<String> Key = Session.PrimaryKey(C.BaseTable);
  C.KeyColumns.clear();
  for (const String& Name : Key) {
    for (std::size_t i = 0; i < C.Columns.size(); ++i)
      if (SameText(C.Columns[i].BaseColumn, Name)) {
        C.KeyColumns.push_back(int(i));
        break;
      }
  }
  if (!Key.empty() && C.KeyColumns.size() == Key.size()) {
    C.KeyMode = TAdoKeyMode::PrimaryKey;
    return;
  }
  C.KeyColumns.clear();

  // No key among the columns: the same statement reading the rowid first, when the table can be
  // named in it.
  String Sql = TranslateJetSql(C.JetSql);
  String Qualifier;
  std::size_t Start = 0;
  if (FindQualifier(Sql, C.BaseTable, Qualifier, Start)) {
    String Augmented = Sql.substr(0, Start) + " " + QuoteSql(Qualifier) + ".rowid," + Sql.substr(Start);
    try {
      SqliteStatement WithRowId = Session.PrepareNative(Augmented);
      if (WithRowId.ColumnCount() == Statement.ColumnCount() + 1 &&
          SameText(WithRowId.ColumnTableName(0), C.BaseTable)) {
        Statement = std::move(WithRowId);
        C.NativeSql = Augmented;
        C.RowIdColumn = 0;
        for (TAdoColumn& Col : C.Columns) ++Col.StatementIndex;
        C.KeyMode = TAdoKeyMode::RowId;
        return;
      }
    } catch (EDatabaseError&) {
      // A table without rowid, or a text this reading got wrong: found by values instead.
    }
  }
  bool AnyWritable = std::any_of(C.Columns.begin(), C.Columns.end(), [](const TAdoColumn& Col) { return Col.Writable(); });
  C.KeyMode = AnyWritable ? TAdoKeyMode::Values : TAdoKeyMode::None;
}

// --- Posting and deleting -----------------------------------------------------------------------------

void TCustomADODataSet::StoreBuffer(int Index, const char* Buffer) {
  TAdoCursor& C = *FCursor;
  // A write has the rows still to read read first (rows are added: Index holds): read now, before
  // a row is held.
  if (FLockType != ltBatchOptimistic) C.ReadAll();
  TAdoRow& Row = C.Rows[std::size_t(Index)];
  TAdoRow New = C.CopyRow(Row);
  std::memcpy(New.Data.get(), Buffer, std::size_t(C.DataSize));
  if (const std::vector<String>* Blobs = reinterpret_cast<const TAdoRecInfo*>(Buffer + C.InfoOffset)->Blobs)
    New.Blobs = *Blobs;
  if (FLockType == ltBatchOptimistic) {
    if (Row.Status == usUnmodified) {
      New.Original = std::make_unique<TAdoRow>(C.CopyRow(Row));
      New.Status = usModified;
    } else {
      New.Original = std::move(Row.Original);
    }
  } else {
    TRowWriter Writer(this, OpenSession(), C);
    Writer.Update(New, Row);
  }
  Row = std::move(New);
}

void TCustomADODataSet::InsertRowFromBuffer(const char* Buffer, bool Append) {
  TAdoCursor& C = *FCursor;
  // An appended row goes after the statement's last row; a write reads the rest first anyway.
  if (Append || FLockType != ltBatchOptimistic) C.ReadAll();
  TAdoRow Row = C.NewRow();
  std::memcpy(Row.Data.get(), Buffer, std::size_t(C.DataSize));
  if (const std::vector<String>* Blobs = reinterpret_cast<const TAdoRecInfo*>(Buffer + C.InfoOffset)->Blobs)
    Row.Blobs = *Blobs;
  if (FLockType == ltBatchOptimistic) {
    Row.Status = usInserted;
  } else {
    TRowWriter Writer(this, OpenSession(), C);
    Writer.Insert(Row, Row.RowId);
    TakeGeneratedKey(C, Row, Row.RowId);
  }
  Row.Id = C.NextId++;
  int Position;
  if (Append) {
    Position = int(C.Rows.size());
  } else {
    Position = std::clamp(C.Position, 0, int(C.Rows.size()));
  }
  C.Rows.insert(C.Rows.begin() + Position, std::move(Row));
  C.Position = Position;
}

void TCustomADODataSet::InternalPost() {
  TDataSet::InternalPost();
  char* Buffer = ActiveBuffer();
  if (State() == dsEdit) {
    const TAdoRecInfo* Info = reinterpret_cast<const TAdoRecInfo*>(Buffer + FCursor->InfoOffset);
    int Index = IndexOfId(Info->Id, Info->Index);
    if (Index < 0) DatabaseError(DBConsts::SBookmarkNotFound, this);
    StoreBuffer(Index, Buffer);
  } else {
    InsertRowFromBuffer(Buffer, GetBookmarkFlag(Buffer) == bfEOF);
  }
}

void TCustomADODataSet::InternalAddRecord(char* Buffer, bool Append) { InsertRowFromBuffer(Buffer, Append); }

void TCustomADODataSet::InternalDelete() {
  TAdoCursor& C = *FCursor;
  if (FLockType != ltBatchOptimistic) C.ReadAll();
  int Index = C.Position;
  if (Index < 0 || Index >= int(C.Rows.size())) DatabaseError(DBConsts::SBookmarkNotFound, this);
  TAdoRow& Row = C.Rows[std::size_t(Index)];
  if (FLockType == ltBatchOptimistic) {
    if (Row.Status != usInserted) {
      // Kept, hidden, until the batch is applied or cancelled.
      Row.Status = usDeleted;
      ++C.DeletedCount;
      return;
    }
  } else {
    TRowWriter Writer(this, OpenSession(), C);
    Writer.Delete(Row);
  }
  C.Rows.erase(C.Rows.begin() + Index);
}

// --- The batch cache -----------------------------------------------------------------------------

bool TCustomADODataSet::RowAffected(int Index, TAffectRecords AffectRecords) {
  const TAdoRow& Row = FCursor->Rows[std::size_t(Index)];
  switch (AffectRecords) {
    case arCurrent: {
      if (IsEmpty()) return false;
      const TAdoRecInfo* Info = reinterpret_cast<const TAdoRecInfo*>(ActiveBuffer() + FCursor->InfoOffset);
      return Row.Id == Info->Id;
    }
    case arFiltered:
      return !Filtered() || !FFilter || FFilter->Matches(*FCursor, Row);
    default:
      return true;
  }
}

void TCustomADODataSet::UpdateBatch(TAffectRecords AffectRecords) {
  CheckActive();
  CheckBrowseMode();
  TAdoCursor& C = *FCursor;
  std::vector<int> Pending;
  for (int i = 0; i < int(C.Rows.size()); ++i)
    if (C.Rows[std::size_t(i)].Status != usUnmodified && RowAffected(i, AffectRecords)) Pending.push_back(i);
  if (Pending.empty()) return;
  // Writing has the rest of the rows read (rows are added after these): read them before a row
  // is held.
  C.ReadAll();

  SqliteSession& Session = OpenSession();
  bool OwnTransaction = !Session.InTransaction();
  if (OwnTransaction)
    Session.BeginTransaction();
  else
    Session.PrepareNative("SAVEPOINT velbor_batch").Execute();
  std::vector<long long> RowIds(Pending.size(), 0);
  try {
    TRowWriter Writer(this, Session, C);
    for (std::size_t k = 0; k < Pending.size(); ++k) {
      const TAdoRow& Row = C.Rows[std::size_t(Pending[k])];
      switch (Row.Status) {
        case usDeleted:
          Writer.Delete(Row.Original ? *Row.Original : Row);
          break;
        case usModified:
          Writer.Update(Row, *Row.Original);
          break;
        case usInserted:
          Writer.Insert(Row, RowIds[k]);
          break;
        default:
          break;
      }
    }
  } catch (...) {
    // All or nothing: the file goes back to where it was, and the cache stays untouched.
    try {
      if (OwnTransaction) {
        Session.Rollback();
      } else {
        Session.PrepareNative("ROLLBACK TO velbor_batch").Execute();
        Session.PrepareNative("RELEASE velbor_batch").Execute();
      }
    } catch (...) {
    }
    throw;
  }
  if (OwnTransaction)
    Session.Commit();
  else
    Session.PrepareNative("RELEASE velbor_batch").Execute();

  // Written: the cache becomes what the file holds.
  int ActiveId = IsEmpty() ? 0 : reinterpret_cast<const TAdoRecInfo*>(ActiveBuffer() + C.InfoOffset)->Id;
  for (std::size_t k = Pending.size(); k-- > 0;) {
    int Index = Pending[k];
    TAdoRow& Row = C.Rows[std::size_t(Index)];
    if (Row.Status == usDeleted) {
      C.Rows.erase(C.Rows.begin() + Index);
      --C.DeletedCount;
      continue;
    }
    if (Row.Status == usInserted) {
      Row.RowId = RowIds[k];
      TakeGeneratedKey(C, Row, RowIds[k]);
    }
    Row.Status = usUnmodified;
    Row.Original.reset();
  }
  int Index = IndexOfId(ActiveId, -1);
  C.Position = Index >= 0 ? Index : ClampPosition(C.Position);
  Resync(TResyncMode{});
}

void TCustomADODataSet::CancelBatch(TAffectRecords AffectRecords) {
  CheckActive();
  if (State() == dsEdit || State() == dsInsert) Cancel();
  TAdoCursor& C = *FCursor;
  int ActiveId = IsEmpty() ? 0 : reinterpret_cast<const TAdoRecInfo*>(ActiveBuffer() + C.InfoOffset)->Id;
  for (int Index = int(C.Rows.size()); Index-- > 0;) {
    TAdoRow& Row = C.Rows[std::size_t(Index)];
    if (Row.Status == usUnmodified || !RowAffected(Index, AffectRecords)) continue;
    if (Row.Status == usInserted) {
      C.Rows.erase(C.Rows.begin() + Index);
      continue;
    }
    if (Row.Status == usDeleted) --C.DeletedCount;
    if (Row.Original) {
      std::unique_ptr<TAdoRow> Original = std::move(Row.Original);
      int Id = Row.Id;
      Row = std::move(*Original);
      Row.Id = Id;
    }
    Row.Status = usUnmodified;
    Row.Original.reset();
  }
  int Index = IndexOfId(ActiveId, -1);
  C.Position = Index >= 0 ? Index : ClampPosition(C.Position);
  Resync(TResyncMode{});
}
