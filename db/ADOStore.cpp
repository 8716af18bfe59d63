// This file implements the in-memory row store: the native kinds of field types, the layout of a
// row, and new and copied rows.
#include "ADOStore.h"

#include <algorithm>
#include <cstring>

#include "ADOCellCodec.h"
#include "TextOrder.h"

TAdoCursor::~TAdoCursor() { StopReading(); }

void TAdoCursor::StartReading(SqliteStatement Statement, int Limit) {
  StopReading();
  Rows.clear();
  // No row points into the pool any more.
  FBlock = 0;
  FBlockUsed = 0;
  Position = -1;
  DeletedCount = 0;
  FLimit = Limit;
  if (FLimit == 0) return;
  FStatement.emplace(std::move(Statement));
  SqliteSession::AddPendingRead(this);
}

void TAdoCursor::StopReading() {
  if (!FStatement) return;
  SqliteSession::RemovePendingRead(this);
  FStatement.reset();
}

bool TAdoCursor::ReadRow() {
  if (!FStatement) return false;
  SqliteStatement& Statement = *FStatement;
  try {
    if (!Statement.Step()) {
      StopReading();
      return false;
    }
    TAdoRow Row;
    Row.Data = TRowData(PooledData(), TRowDataFree{true});
    Row.Blobs.resize(std::size_t(BlobCount));
    for (const TAdoColumn& Column : Columns) AdoCell::Read(Statement, Column, Row.Data.get(), Row.Blobs);
    if (RowIdColumn >= 0) Row.RowId = Statement.ColumnInt64(RowIdColumn);
    Row.Id = NextId++;
    Rows.push_back(std::move(Row));
  } catch (...) {
    StopReading();
    throw;
  }
  if (FLimit > 0 && --FLimit == 0) StopReading();
  return true;
}

char* TAdoCursor::PooledData() {
  // Rows start on 8-byte boundaries; a block holds at least one row.
  const std::size_t Size = (std::size_t(std::max(DataSize, 1)) + 7) & ~std::size_t(7);
  const std::size_t BlockSize = std::max<std::size_t>(Size, 64 * 1024);
  if (FBlock < FBlocks.size() && FBlockUsed + Size > BlockSize) {
    ++FBlock;
    FBlockUsed = 0;
  }
  if (FBlock == FBlocks.size()) FBlocks.emplace_back(new char[BlockSize]);
  char* Data = FBlocks[FBlock].get() + FBlockUsed;
  FBlockUsed += Size;
  std::memset(Data, 0, Size);
  return Data;
}

bool TAdoCursor::HaveRow(int Index) {
  while (Index >= int(Rows.size()))
    if (!ReadRow()) return false;
  return Index >= 0;
}

bool TAdoCursor::ReadSome(int Count) {
  for (int i = 0; i < Count; ++i)
    if (!ReadRow()) return false;
  return Reading();
}

void TAdoCursor::ReadAll() {
  while (ReadRow()) {
  }
}

int TAdoCursor::DataIndexOf(const String& Name) const {
  for (std::size_t i = 0; i < Columns.size(); ++i)
    if (SameText(Columns[i].Name, Name)) return int(i);
  return -1;
}

void TAdoCursor::Layout() {
  DataSize = int(Columns.size());
  BlobCount = 0;
  for (std::size_t i = 0; i < Columns.size(); ++i) {
    TAdoColumn& Column = Columns[i];
    Column.Index = int(i);
    Column.Kind = NativeKindOf(Column.Type);
    Column.ValueSize = NativeSizeOf(Column.Type, Column.Size);
    if (Column.Kind == TNativeKind::Blob) {
      Column.BlobIndex = BlobCount++;
      Column.Offset = 0;
    } else {
      Column.Offset = DataSize;
      DataSize += Column.ValueSize;
    }
  }
}

TAdoRow TAdoCursor::NewRow() const {
  TAdoRow Row;
  Row.Data.reset(new char[std::size_t(DataSize)]);
  std::memset(Row.Data.get(), 0, std::size_t(DataSize));
  Row.Blobs.resize(std::size_t(BlobCount));
  return Row;
}

TAdoRow TAdoCursor::CopyRow(const TAdoRow& Source) const {
  TAdoRow Row;
  Row.Data.reset(new char[std::size_t(DataSize)]);
  std::memcpy(Row.Data.get(), Source.Data.get(), std::size_t(DataSize));
  Row.Blobs = Source.Blobs;
  Row.Id = Source.Id;
  Row.Status = Source.Status;
  Row.RowId = Source.RowId;
  return Row;
}

TNativeKind NativeKindOf(TFieldType Type) {
  switch (Type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
      return TNativeKind::Text8;
    case ftWideString:
      return TNativeKind::Text16;
    case ftSmallint:
      return TNativeKind::Int16;
    case ftInteger:
    case ftAutoInc:
      return TNativeKind::Int32;
    case ftLargeint:
      return TNativeKind::Int64;
    case ftWord:
      return TNativeKind::Word;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return TNativeKind::Double;
    case ftBoolean:
      return TNativeKind::Boolean;
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftTypedBinary:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftOraBlob:
    case ftOraClob:
      return TNativeKind::Blob;
    case ftBytes:
    case ftVarBytes:
      return TNativeKind::Bytes;
    default:
      return TNativeKind::Other;
  }
}

int NativeSizeOf(TFieldType Type, int Size) {
  switch (NativeKindOf(Type)) {
    case TNativeKind::Text8:
      return Size + 1;
    case TNativeKind::Text16:
      return 4 + 2 * Size;
    case TNativeKind::Int16:
    case TNativeKind::Word:
    case TNativeKind::Boolean:
      return 2;
    case TNativeKind::Int32:
      return 4;
    case TNativeKind::Int64:
    case TNativeKind::Double:
      return 8;
    case TNativeKind::Bytes:
      return Type == ftVarBytes ? Size + 2 : Size;
    default:
      return 0;
  }
}
