// This file implements the cell codec: cells read from a statement and bound back to one, moved
// to and from field buffers and Variants, compared, and the conversions between field buffers and
// Variants.
#include "ADOCellCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "DateTime.h"
#include "Field.h"
#include "SqliteStatement.h"

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

bool IsDateType(TFieldType Type) { return Type == ftDate || Type == ftTime || Type == ftDateTime || Type == ftTimeStamp; }

bool IsCurrencyType(TFieldType Type) { return Type == ftCurrency || Type == ftBCD || Type == ftFMTBcd; }

bool IsMemoType(TFieldType Type) { return Type == ftMemo || Type == ftFmtMemo; }

// A field and a column of one family whose bytes are copied as they are.
bool SameFamily(const TAdoColumn& Column, TFieldType FieldType) {
  return Column.Kind == NativeKindOf(FieldType) && Column.Kind != TNativeKind::Blob && Column.Kind != TNativeKind::Other;
}

// An 8-bit text value: its bytes up to the terminator or Max.
std::string_view Text8(const char* P, int Max) { return std::string_view(P, strnlen(P, std::size_t(Max))); }

// A 16-bit text value: a byte length, then code units, kept at any address (a cell's offset may be
// odd): read and written as bytes, never through a char16_t pointer.
std::string_view Text16Bytes(const char* P) { return std::string_view(P + 4, Load<std::uint32_t>(P) / 2 * 2); }

void SaveText16(char* P, const void* Units, std::size_t Count) {
  Save(P, std::uint32_t(Count * 2));
  std::memcpy(P + 4, Units, Count * 2);
}

// The value's first MaxUnits code units, copied to aligned storage.
WideString Text16(const char* P, std::size_t MaxUnits) {
  std::string_view Bytes = Text16Bytes(P);
  WideString Wide(std::min(Bytes.size() / 2, MaxUnits), u'\0');
  std::memcpy(Wide.data(), Bytes.data(), Wide.size() * 2);
  return Wide;
}

// The bytes of a Bytes or VarBytes value.
std::string_view BytesOf(const char* P, TFieldType Type, int Size) {
  if (Type == ftVarBytes) return std::string_view(P + 2, std::min<std::size_t>(Load<std::uint16_t>(P), std::size_t(Size)));
  return std::string_view(P, std::size_t(Size));
}

// A value between a cell and a field of the same family, cut to the smaller of the two (a text to
// the fewer characters, bytes to the fewer bytes).
void CopyWithin(const TAdoColumn& C, TField* Field, const char* In, char* Out) {
  switch (C.Kind) {
    case TNativeKind::Text8: {
      std::string_view Text = Text8(In, std::min(C.Size, Field->Size()));
      std::memcpy(Out, Text.data(), Text.size());
      Out[Text.size()] = '\0';
      break;
    }
    case TNativeKind::Text16: {
      std::string_view Bytes = Text16Bytes(In);
      SaveText16(Out, Bytes.data(), std::min(Bytes.size() / 2, std::size_t(std::min(C.Size, Field->Size()))));
      break;
    }
    case TNativeKind::Bytes:
      std::memcpy(Out, In, std::size_t(std::min(C.ValueSize, Field->DataSize())));
      break;
    default:
      std::memcpy(Out, In, std::size_t(C.ValueSize));
      break;
  }
}

}  // namespace

namespace AdoCell {

// --- Statements -----------------------------------------------------------------------------------

void Read(const SqliteStatement& Statement, const TAdoColumn& C, char* Data, std::vector<String>& Blobs) {
  int Index = C.StatementIndex;
  char* P = Data + C.Offset;
  // An 8-bit text, the most frequent cell, is read with one call: only a null pointer asks whether
  // the value is NULL. Other values are asked their type first.
  if (C.Kind == TNativeKind::Text8) {
    std::string_view Text = Statement.ColumnUtf8(Index);
    if (Text.data() == nullptr && Statement.ColumnType(Index) == TSqliteValueType::Null) return;
    // The row was zeroed: the terminator is there already.
    Utf8ToAnsiInto(Text, P, std::size_t(C.Size));
    Data[C.Index] = 1;
    return;
  }
  if (Statement.ColumnType(Index) == TSqliteValueType::Null) return;
  switch (C.Kind) {
    case TNativeKind::Text8:
      break;  // read above
    case TNativeKind::Text16: {
      std::u16string_view Text = Statement.ColumnUtf16(Index);
      SaveText16(P, Text.data(), std::min(Text.size(), std::size_t(C.Size)));
      break;
    }
    case TNativeKind::Int16:
      Save(P, std::int16_t(Statement.ColumnInt64(Index)));
      break;
    case TNativeKind::Word:
      Save(P, std::uint16_t(Statement.ColumnInt64(Index)));
      break;
    case TNativeKind::Int32:
      Save(P, std::int32_t(Statement.ColumnInt64(Index)));
      break;
    case TNativeKind::Int64:
      Save(P, Statement.ColumnInt64(Index));
      break;
    case TNativeKind::Boolean:
      Save(P, std::int16_t(Statement.ColumnInt64(Index) != 0 ? -1 : 0));
      break;
    case TNativeKind::Double:
      Save(P, Statement.ColumnDouble(Index));
      break;
    case TNativeKind::Blob:
      if (IsMemoType(C.Type))
        Blobs[std::size_t(C.BlobIndex)] = Utf8ToAnsi(Statement.ColumnUtf8(Index));
      else
        Blobs[std::size_t(C.BlobIndex)] = Statement.ColumnBlob(Index);
      break;
    case TNativeKind::Bytes: {
      std::string_view Bytes = Statement.ColumnBlob(Index);
      std::size_t Length = std::min(Bytes.size(), std::size_t(C.Size));
      if (C.Type == ftVarBytes) {
        Save(P, std::uint16_t(Length));
        P += 2;
      }
      if (Length) std::memcpy(P, Bytes.data(), Length);
      break;
    }
    case TNativeKind::Other:
      // No native form to keep it in: the cell stays null.
      return;
  }
  Data[C.Index] = 1;
}

void Bind(SqliteStatement& Statement, int Parameter, const TAdoColumn& C, const char* Data,
          const std::vector<String>& Blobs) {
  if (IsNullCell(Data, C.Index)) {
    Statement.BindNull(Parameter);
    return;
  }
  const char* P = Data + C.Offset;
  switch (C.Kind) {
    case TNativeKind::Text8:
      Statement.BindText(Parameter, String(Text8(P, C.Size)));
      break;
    case TNativeKind::Text16:
      Statement.BindWideText(Parameter, Text16(P, std::size_t(C.Size)));
      break;
    case TNativeKind::Int16:
      Statement.BindInt64(Parameter, Load<std::int16_t>(P));
      break;
    case TNativeKind::Word:
      Statement.BindInt64(Parameter, Load<std::uint16_t>(P));
      break;
    case TNativeKind::Int32:
      Statement.BindInt64(Parameter, Load<std::int32_t>(P));
      break;
    case TNativeKind::Int64:
      Statement.BindInt64(Parameter, Load<long long>(P));
      break;
    case TNativeKind::Boolean:
      // Stored as 1 and 0 (SqliteTypes.h), never as the field's -1.
      Statement.BindInt64(Parameter, Load<std::int16_t>(P) != 0 ? 1 : 0);
      break;
    case TNativeKind::Double:
      Statement.BindDouble(Parameter, Load<double>(P));
      break;
    case TNativeKind::Blob: {
      const String& Bytes = Blobs[std::size_t(C.BlobIndex)];
      if (IsMemoType(C.Type))
        Statement.BindText(Parameter, Bytes);
      else
        Statement.BindBlob(Parameter, Bytes.data(), Bytes.size());
      break;
    }
    case TNativeKind::Bytes: {
      std::string_view Bytes = BytesOf(P, C.Type, C.Size);
      Statement.BindBlob(Parameter, Bytes.data(), Bytes.size());
      break;
    }
    case TNativeKind::Other:
      Statement.BindNull(Parameter);
      break;
  }
}

// --- Field buffers -----------------------------------------------------------------------------------

bool ToField(const TAdoColumn& C, const char* Data, const std::vector<String>& Blobs, TField* Field, void* Buffer) {
  if (IsNullCell(Data, C.Index)) return false;
  if (Buffer == nullptr) return true;
  if (!SameFamily(C, Field->DataType())) {
    VariantToNative(Field->DataType(), Field->Size(), Value(C, Data, Blobs), Buffer);
    return true;
  }
  CopyWithin(C, Field, Data + C.Offset, static_cast<char*>(Buffer));
  return true;
}

void FromField(const TAdoColumn& C, char* Data, std::vector<String>& Blobs, TField* Field, const void* Buffer) {
  if (Buffer == nullptr) {
    SetValue(C, Data, Blobs, Variant::Null());
    return;
  }
  if (!SameFamily(C, Field->DataType())) {
    SetValue(C, Data, Blobs, NativeToVariant(Field->DataType(), Field->Size(), Buffer));
    return;
  }
  // Zeroed first: the bytes after a shorter value take no part in comparisons.
  std::memset(Data + C.Offset, 0, std::size_t(C.ValueSize));
  CopyWithin(C, Field, static_cast<const char*>(Buffer), Data + C.Offset);
  Data[C.Index] = 1;
}

// --- Variants ---------------------------------------------------------------------------------------

Variant Value(const TAdoColumn& C, const char* Data, const std::vector<String>& Blobs) {
  if (IsNullCell(Data, C.Index)) return Variant::Null();
  if (C.Kind == TNativeKind::Blob) return Variant(Blobs[std::size_t(C.BlobIndex)]);
  Variant Result = NativeToVariant(C.Type, C.Size, Data + C.Offset);
  if (IsCurrencyType(C.Type)) return Variant::FromCurrency(Result.AsDouble());
  return Result;
}

void SetValue(const TAdoColumn& C, char* Data, std::vector<String>& Blobs, const Variant& Value) {
  bool Blob = C.Kind == TNativeKind::Blob;
  if (VarIsNull(Value) || VarIsEmpty(Value)) {
    Data[C.Index] = 0;
    if (Blob)
      Blobs[std::size_t(C.BlobIndex)].clear();
    else
      std::memset(Data + C.Offset, 0, std::size_t(C.ValueSize));
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
  Data[C.Index] = 1;
}

String Text(const TAdoColumn& C, const char* Data, const std::vector<String>& Blobs) {
  if (IsNullCell(Data, C.Index)) return String();
  switch (C.Kind) {
    case TNativeKind::Text8:
      return String(Text8(Data + C.Offset, C.Size));
    case TNativeKind::Blob:
      return Blobs[std::size_t(C.BlobIndex)];
    default:
      return Value(C, Data, Blobs).AsString();
  }
}

bool Same(const TAdoColumn& C, const char* A, const std::vector<String>& BlobsA, const char* B,
          const std::vector<String>& BlobsB) {
  bool NullA = IsNullCell(A, C.Index), NullB = IsNullCell(B, C.Index);
  if (NullA || NullB) return NullA == NullB;
  switch (C.Kind) {
    case TNativeKind::Blob:
      return BlobsA[std::size_t(C.BlobIndex)] == BlobsB[std::size_t(C.BlobIndex)];
    case TNativeKind::Text8:
      // Bytes after the terminator are not part of the value.
      return Text8(A + C.Offset, C.Size) == Text8(B + C.Offset, C.Size);
    case TNativeKind::Text16:
      return Text16Bytes(A + C.Offset) == Text16Bytes(B + C.Offset);
    default:
      return std::memcmp(A + C.Offset, B + C.Offset, std::size_t(C.ValueSize)) == 0;
  }
}

Variant NativeToVariant(TFieldType Type, int Size, const void* Buffer) {
  const char* P = static_cast<const char*>(Buffer);
  switch (NativeKindOf(Type)) {
    case TNativeKind::Text8:
      return Variant(String(Text8(P, Size)));
    case TNativeKind::Text16:
      return Variant(WideToAnsi(Text16(P, std::size_t(Size))));
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
    case TNativeKind::Bytes:
      return Variant(String(BytesOf(P, Type, Size)));
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
      SaveText16(P, Wide.data(), std::min(Wide.size(), std::size_t(Size)));
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

}  // namespace AdoCell
