// This file implements the cells of the in-memory row store: reading and writing one column of a
// row as a Variant, comparing cells, and the conversions between field buffers and Variants.
#include "ADOStore.h"

#include <cstdint>
#include <cstring>

#include "DateTime.h"
#include "TextOrder.h"

namespace {

template <class T>
T Load(const char* P) {
  T Value;
  std::memcpy(&Value, P, sizeof Value);
  return Value;
}

template <class T>
void Save(char* P, T Value) {
  std::memcpy(P, &Value, sizeof Value);
}

}  // namespace

int TAdoCursor::DataIndexOf(const String& Name) const {
  for (std::size_t i = 0; i < Columns.size(); ++i)
    if (SameText(Columns[i].Name, Name)) return int(i);
  return -1;
}

TAdoRow TAdoCursor::NewRow() const {
  TAdoRow Row;
  Row.Data.reset(new char[std::size_t(DataSize)]());
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

namespace AdoStore {

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

static bool IsDateType(TFieldType Type) {
  return Type == ftDate || Type == ftTime || Type == ftDateTime || Type == ftTimeStamp;
}

static bool IsCurrencyType(TFieldType Type) { return Type == ftCurrency || Type == ftBCD || Type == ftFMTBcd; }

Variant NativeToVariant(TFieldType Type, int Size, const void* Buffer) {
  const char* P = static_cast<const char*>(Buffer);
  switch (NativeKindOf(Type)) {
    case TNativeKind::Text8:
      return Variant(String(P, strnlen(P, std::size_t(Size))));
    case TNativeKind::Text16: {
      std::uint32_t Bytes = Load<std::uint32_t>(P);
      std::size_t Units = std::min<std::size_t>(Bytes / 2, std::size_t(Size));
      WideString Wide(Units, u'\0');
      std::memcpy(Wide.data(), P + 4, Units * 2);
      return Variant(WideToAnsi(Wide));
    }
    case TNativeKind::Int16:
      return Variant(int(Load<std::int16_t>(P)));
    case TNativeKind::Int32:
      return Variant(int(Load<std::int32_t>(P)));
    case TNativeKind::Int64:
      return Variant(Load<long long>(P));
    case TNativeKind::Word:
      return Variant(int(Load<std::uint16_t>(P)));
    case TNativeKind::Boolean:
      return Variant(Load<std::int16_t>(P) != 0);
    case TNativeKind::Double:
      if (IsDateType(Type)) return Variant::FromDate(Load<double>(P));
      return Variant(Load<double>(P));
    case TNativeKind::Bytes: {
      std::size_t Length = std::size_t(Size);
      if (Type == ftVarBytes) {
        Length = std::min<std::size_t>(Load<std::uint16_t>(P), std::size_t(Size));
        P += 2;
      }
      return Variant(String(P, Length));
    }
    default:
      return Variant::Null();
  }
}

void VariantToNative(TFieldType Type, int Size, const Variant& Value, void* Buffer) {
  char* P = static_cast<char*>(Buffer);
  switch (NativeKindOf(Type)) {
    case TNativeKind::Text8: {
      String Text = Value.AsString();
      std::size_t Length = std::min(Text.size(), std::size_t(Size));
      std::memcpy(P, Text.data(), Length);
      P[Length] = '\0';
      break;
    }
    case TNativeKind::Text16: {
      WideString Wide = AnsiToWide(Value.AsString());
      std::size_t Units = std::min(Wide.size(), std::size_t(Size));
      Save(P, std::uint32_t(Units * 2));
      std::memcpy(P + 4, Wide.data(), Units * 2);
      break;
    }
    case TNativeKind::Int16:
      Save(P, std::int16_t(Value.AsInteger()));
      break;
    case TNativeKind::Int32:
      Save(P, std::int32_t(Value.AsInteger()));
      break;
    case TNativeKind::Int64:
      Save(P, Value.AsInt64());
      break;
    case TNativeKind::Word:
      Save(P, std::uint16_t(Value.AsInteger()));
      break;
    case TNativeKind::Boolean:
      Save(P, std::int16_t(Value.AsBoolean() ? -1 : 0));
      break;
    case TNativeKind::Double:
      Save(P, IsDateType(Type) ? Value.AsDate() : Value.AsDouble());
      break;
    case TNativeKind::Bytes: {
      String Bytes = Value.AsString();
      if (Type == ftVarBytes) {
        std::uint16_t Length = std::uint16_t(std::min(Bytes.size(), std::size_t(Size)));
        Save(P, Length);
        std::memcpy(P + 2, Bytes.data(), Length);
      } else {
        std::memset(P, 0, std::size_t(Size));
        std::memcpy(P, Bytes.data(), std::min(Bytes.size(), std::size_t(Size)));
      }
      break;
    }
    default:
      break;
  }
}

String CellText(const TAdoCursor& Cursor, const char* Data, const std::vector<String>& Blobs, int Column) {
  const TAdoColumn& C = Cursor.Columns[std::size_t(Column)];
  if (IsNullCell(Data, Column)) return String();
  switch (NativeKindOf(C.Type)) {
    case TNativeKind::Text8: {
      const char* P = Data + C.Offset;
      return String(P, strnlen(P, std::size_t(C.Size)));
    }
    case TNativeKind::Blob:
      return Blobs[std::size_t(C.BlobIndex)];
    default:
      return CellValue(Cursor, Data, Blobs, Column).AsString();
  }
}

Variant CellValue(const TAdoCursor& Cursor, const char* Data, const std::vector<String>& Blobs, int Column) {
  if (IsNullCell(Data, Column)) return Variant::Null();
  const TAdoColumn& C = Cursor.Columns[std::size_t(Column)];
  if (NativeKindOf(C.Type) == TNativeKind::Blob) return Variant(Blobs[std::size_t(C.BlobIndex)]);
  Variant Value = NativeToVariant(C.Type, C.Size, Data + C.Offset);
  if (IsCurrencyType(C.Type)) return Variant::FromCurrency(Value.AsDouble());
  return Value;
}

void SetCellValue(const TAdoCursor& Cursor, char* Data, std::vector<String>& Blobs, int Column, const Variant& Value) {
  const TAdoColumn& C = Cursor.Columns[std::size_t(Column)];
  bool Blob = NativeKindOf(C.Type) == TNativeKind::Blob;
  if (VarIsNull(Value) || VarIsEmpty(Value)) {
    Data[Column] = 0;
    if (Blob) Blobs[std::size_t(C.BlobIndex)].clear();
    else std::memset(Data + C.Offset, 0, std::size_t(C.ValueSize));
    return;
  }
  if (Blob) {
    Blobs[std::size_t(C.BlobIndex)] = Value.AsString();
  } else {
    // Converted first: a value that does not convert leaves the cell as it was.
    std::vector<char> Native(std::size_t(C.ValueSize) + 1, '\0');
    VariantToNative(C.Type, C.Size, Value, Native.data());
    std::memcpy(Data + C.Offset, Native.data(), std::size_t(C.ValueSize));
  }
  Data[Column] = 1;
}

bool SameCell(const TAdoCursor& Cursor, const char* A, const std::vector<String>& BlobsA, const char* B,
              const std::vector<String>& BlobsB, int Column) {
  bool NullA = IsNullCell(A, Column), NullB = IsNullCell(B, Column);
  if (NullA || NullB) return NullA == NullB;
  const TAdoColumn& C = Cursor.Columns[std::size_t(Column)];
  switch (NativeKindOf(C.Type)) {
    case TNativeKind::Blob:
      return BlobsA[std::size_t(C.BlobIndex)] == BlobsB[std::size_t(C.BlobIndex)];
    case TNativeKind::Text8:
      // Bytes after the terminator are not part of the value.
      return std::strncmp(A + C.Offset, B + C.Offset, std::size_t(C.Size)) == 0;
    case TNativeKind::Text16: {
      std::uint32_t Bytes = Load<std::uint32_t>(A + C.Offset);
      return Bytes == Load<std::uint32_t>(B + C.Offset) && std::memcmp(A + C.Offset + 4, B + C.Offset + 4, Bytes) == 0;
    }
    default:
      return std::memcmp(A + C.Offset, B + C.Offset, std::size_t(C.ValueSize)) == 0;
  }
}

}  // namespace AdoStore
