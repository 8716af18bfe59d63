// This file implements the in-memory row store behind TCustomADODataSet: the layout of a row in
// the native form of its field definitions, the rows with their cached changes and the record
// buffers' trailer. The cell codec (ADOCellCodec.h) moves values in and out of the rows. Only the
// dataset's own .cpp files include it.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "ADODB.h"
#include "SqliteSession.h"

// The storage family of a field type (DBConsts.h gives each native form); fields and columns of
// one family copy their bytes as they are.
enum class TNativeKind { Text8, Text16, Int16, Int32, Int64, Word, Double, Boolean, Blob, Bytes, Other };
TNativeKind NativeKindOf(TFieldType Type);
// The bytes of a field type's native form in a record (0 for blobs, which are kept apart).
int NativeSizeOf(TFieldType Type, int Size);

// How a row keeps one column. Data holds one null flag per column (1: a value) and then each
// column's value at Offset, in the native form of Type (DBConsts.h); blob and memo columns keep
// their bytes in the row's Blobs at BlobIndex.
struct TAdoColumn {
  String Name;           // the field definition's name
  TFieldType Type = ftUnknown;
  TNativeKind Kind = TNativeKind::Other;  // of Type, set with the layout
  int Size = 0;          // characters of a text column
  int Index = 0;         // among the cursor's columns: the place of its null flag in Data
  int Offset = 0;        // of the value in Data
  int ValueSize = 0;     // bytes of the value in Data (0 for blobs)
  int BlobIndex = -1;
  int StatementIndex = 0;  // its column in the statement's result
  String DeclaredType;   // as the statement reports it; empty for an expression
  String BaseColumn;     // its column in the base table; empty when it is not written back
  bool Writable() const { return !BaseColumn.empty(); }
};

enum class TAdoKeyMode { None, PrimaryKey, RowId, Values };

// Frees a row's data, unless it lies in a block of its cursor's row pool (rows read from the
// statement), which the cursor frees whole.
struct TRowDataFree {
  bool Pooled = false;
  void operator()(char* Data) const {
    if (!Pooled) delete[] Data;
  }
};
using TRowData = std::unique_ptr<char[], TRowDataFree>;

struct TAdoRow {
  TRowData Data;
  std::vector<String> Blobs;
  int Id = 0;
  TUpdateStatus Status = usUnmodified;
  long long RowId = 0;
  // The row as read from the database, while a change to it waits in the batch cache.
  std::unique_ptr<TAdoRow> Original;
};

// The trailer of every record buffer, after the data and the calculation area.
struct TAdoRecInfo {
  int Id;
  int Index;  // where the row stood when the buffer was filled: a hint for finding it again
  TBookmarkFlag Flag;
  TUpdateStatus Status;
  std::vector<String>* Blobs;  // the buffer's own blob values, owned by the buffer
};

// The rows of an open dataset. They are read from the statement as they are first needed
// (navigation, the window of a grid, Last, RecordCount, searches): opening reads only what the
// first window shows, and the statement stays under way until its last row is read. Rows read
// hold their place for good; inserted rows take theirs among them, appended rows after the last
// row of the statement (which is then read whole first). Before anything writes to the file the
// session has every pending cursor read the rest (SqlitePendingRead), so the rows stay those of
// one consistent reading and the file is not held locked by a statement for a write.
struct TAdoCursor : SqlitePendingRead {
  TAdoCursor() = default;
  TAdoCursor(const TAdoCursor&) = delete;
  TAdoCursor& operator=(const TAdoCursor&) = delete;
  ~TAdoCursor();

  std::vector<TAdoColumn> Columns;
  int DataSize = 0;  // bytes of a row's Data
  int BlobCount = 0;
  // A deque: rows read on demand are added one by one, and a deque grows without moving the rows
  // it holds or touching twice their memory, as a growing vector does.
  std::deque<TAdoRow> Rows;
  int Position = -1;  // -1 before the first row, Rows.size() after the last
  int NextId = 1;
  int DeletedCount = 0;  // rows kept with status usDeleted
  // The statement: the program's text, and the SQLite text actually run when it differs (the
  // rowid added).
  String JetSql;
  String NativeSql;
  // Write-back.
  String BaseTable;
  TAdoKeyMode KeyMode = TAdoKeyMode::None;
  std::vector<int> KeyColumns;  // primary key columns, in key order
  int RowIdColumn = -1;         // the statement's column holding the rowid, when read
  char* Scratch = nullptr;      // a record buffer for searches, made on demand
  std::size_t InfoOffset = 0;   // of a record buffer's TAdoRecInfo

  // Reading. Start drops the rows and reads Statement's from its start, at most Limit rows when
  // Limit >= 0; each row read gets the next Id.
  void StartReading(SqliteStatement Statement, int Limit);
  bool Reading() const { return FStatement.has_value(); }
  // Reads one more row at the end of Rows; false when the statement has no more (it is then let
  // go). A failed step lets the statement go too, keeps the rows read and raises the error.
  bool ReadRow();
  // Reads rows until Rows holds Index (true) or the statement ends (false).
  bool HaveRow(int Index);
  void ReadAll();
  // Lets the statement go without reading more.
  void StopReading();
  void FinishRead() override { ReadAll(); }
  bool ReadSome(int Count) override;

  int DataIndexOf(const String& Name) const;  // -1 when no column has that name
  // Places the columns of known types in a row: the null flags, then the values; blobs apart.
  void Layout();
  TAdoRow NewRow() const;  // every cell null
  TAdoRow CopyRow(const TAdoRow& Row) const;

 private:
  // Zeroed room for one row's data in the row pool.
  char* PooledData();

  std::optional<SqliteStatement> FStatement;
  int FLimit = -1;  // rows still to read; -1: all
  // The row pool: the data of the rows read from the statement, many rows to a block, so that
  // reading a row allocates nothing of its own. Only rows of Rows point into it (a row copied,
  // kept as an original or inserted gets data of its own), so the pool is reused when reading
  // starts again over no rows.
  std::vector<std::unique_ptr<char[]>> FBlocks;
  std::size_t FBlock = 0;      // the block being filled
  std::size_t FBlockUsed = 0;  // bytes of it given out
};

inline bool IsNullCell(const char* Data, int Column) { return Data[Column] == 0; }

// Finds the base table of a statement whose columns are described, the base column of each
// column and how rows are found there (ADODataSetUpdate.cpp). With Writable, a statement that does
// not return the table's primary key is replaced by the same one reading the rowid too, when it
// can be (Statement then holds it and Cursor.NativeSql its text).
void AnalyzeWriteBack(SqliteSession& Session, SqliteStatement& Statement, TAdoCursor& Cursor, bool Writable);

// The compiled filter text of a dataset (ADOFilter.cpp).
class TAdoFilter {
 public:
  // Raises EDatabaseError for a syntax error or a name that is no column of the cursor.
  static std::unique_ptr<TAdoFilter> Parse(const String& Text, const TAdoCursor& Cursor, TFilterOptions Options);
  virtual ~TAdoFilter() = default;
  virtual bool Matches(const TAdoCursor& Cursor, const TAdoRow& Row) const = 0;
};
