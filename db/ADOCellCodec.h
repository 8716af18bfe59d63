// This file implements the cell codec of TCustomADODataSet's rows: the one place that knows how
// each kind of value sits in a row (ADOStore.h) and moves it between the row and a statement's
// result, a statement's parameter, a field's buffer and a Variant.
//
// A cell is one column of a row: its null flag and value in Data, its bytes in Blobs for blob and
// memo columns. Reading a result and moving values to and from field buffers of the column's own
// family copies bytes, with no Variant and no allocation but a blob's or memo's own bytes; other
// pairs of types go through a Variant, converted as the field's type asks.
#pragma once

#include <vector>

#include "ADOStore.h"
#include "Variant.h"

class SqliteStatement;
class TField;

namespace AdoCell {

// The value of the statement's current row in Column.StatementIndex, into the cell (a NULL leaves
// the cell null). Text arrives as UTF-8 and is kept in 1252, cut at the column's size; booleans as
// 0 or -1; dates and currencies as doubles.
void Read(const SqliteStatement& Statement, const TAdoColumn& Column, char* Data, std::vector<String>& Blobs);
// The cell as the statement's parameter Parameter: NULL, 1252 text as UTF-8 (memos too), wide text
// as UTF-16, integers, booleans as 1 and 0 (never the field's -1), doubles, blobs and bytes as
// blobs.
void Bind(SqliteStatement& Statement, int Parameter, const TAdoColumn& Column, const char* Data,
          const std::vector<String>& Blobs);

// The cell into Buffer in the native form of Field's type and size: false, the buffer untouched,
// when the cell is null. A text longer than the field is cut at the field's size.
bool ToField(const TAdoColumn& Column, const char* Data, const std::vector<String>& Blobs, TField* Field,
             void* Buffer);
// Buffer, in the native form of Field's type, into the cell; a null Buffer clears it. A value that
// does not convert to the column's type leaves the cell as it was.
void FromField(const TAdoColumn& Column, char* Data, std::vector<String>& Blobs, TField* Field, const void* Buffer);

// The cell as a Variant (Null when null).
Variant Value(const TAdoColumn& Column, const char* Data, const std::vector<String>& Blobs);
// Writes a Variant into the cell, converted to the column's type (Null or Empty clears it). A
// value that does not convert leaves the cell as it was.
void SetValue(const TAdoColumn& Column, char* Data, std::vector<String>& Blobs, const Variant& Value);
// The text of the cell: a text or memo as stored, any other value as its Variant's text; empty
// when null.
String Text(const TAdoColumn& Column, const char* Data, const std::vector<String>& Blobs);
// Whether two cells of the column hold the same value (both null included).
bool Same(const TAdoColumn& Column, const char* A, const std::vector<String>& BlobsA, const char* B,
          const std::vector<String>& BlobsB);

// A field buffer in the native form of Type (DBConsts.h) to and from a Variant.
Variant NativeToVariant(TFieldType Type, int Size, const void* Buffer);
void VariantToNative(TFieldType Type, int Size, const Variant& Value, void* Buffer);

}  // namespace AdoCell
