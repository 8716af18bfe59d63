// Tests of the cursor's cell codec: each kind of value read from a statement into a cell, seen as a
// Variant, and bound back as the same SQLite value; cells moved to and from field buffers of the
// same family (cut to the smaller size) and of another (converted); cells compared.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "ADOCellCodec.h"
#include "Field.h"
#include "SqliteSession.h"
#include "TestFolder.h"

namespace {

// A cursor of one column of the given type, laid out as the dataset lays it out.
std::unique_ptr<TAdoCursor> OneColumn(TFieldType Type, int Size = 0) {
  auto Cursor = std::make_unique<TAdoCursor>();
  TAdoColumn Column;
  Column.Name = "C";
  Column.Type = Type;
  Column.Size = Size;
  Cursor->Columns.push_back(Column);
  Cursor->Layout();
  return Cursor;
}

class CellCodecTest : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    Session.emplace(PathOf("cells.db"), TSqliteOpenMode::CreateIfMissing);
  }
  void TearDown() override {
    Session.reset();
    TestFolder::TearDown();
  }

  // The row of "select <Literal>" read into a new row of Cursor.
  TAdoRow ReadLiteral(const TAdoCursor& Cursor, const String& Literal) {
    SqliteStatement Select = Session->PrepareNative("select " + Literal);
    EXPECT_TRUE(Select.Step());
    TAdoRow Row = Cursor.NewRow();
    AdoCell::Read(Select, Cursor.Columns[0], Row.Data.get(), Row.Blobs);
    return Row;
  }

  // Whether the cell, bound as a parameter, is exactly the SQLite value Literal (same storage
  // class and same value: IS compares both, NULL included).
  bool BindsAs(const TAdoCursor& Cursor, const TAdoRow& Row, const String& Literal) {
    SqliteStatement Compare = Session->PrepareNative("select typeof(?1) = typeof(" + Literal + ") and ?1 IS " + Literal);
    AdoCell::Bind(Compare, 1, Cursor.Columns[0], Row.Data.get(), Row.Blobs);
    return Compare.Step() && Compare.ColumnInt64(0) == 1;
  }

  std::optional<SqliteSession> Session;
};

struct TRoundTrip {
  const char* Name;
  TFieldType Type;
  int Size;
  const char* Selected;  // the SQLite value read
  Variant Expected;      // the cell as a Variant
  const char* BoundBack; // the SQLite value the cell binds as
};

TEST_F(CellCodecTest, EachKindIsReadFromAStatementAndBoundBackAsTheSameValue) {
  const TRoundTrip Cases[] = {
      {"text in 1252", ftString, 10, "'été œuvre'"_a, Variant("été œuvre"_a), "'été œuvre'"_a},
      {"text cut at the column's size", ftString, 3, "'abcdef'", Variant("abc"), "'abc'"},
      {"text of bytes that are no UTF-8", ftString, 5, "cast(X'E974E9' as text)", Variant("\xE9t\xE9"),
       "'été'"_a},
      {"empty text is no null", ftString, 5, "''", Variant(""), "''"},
      {"wide text", ftWideString, 10, "'œuvre'"_a, Variant("œuvre"_a), "'œuvre'"_a},
      {"wide text cut", ftWideString, 2, "'œuvre'"_a, Variant("œu"_a), "'œu'"_a},
      {"small integer", ftSmallint, 0, "-7", Variant(-7), "-7"},
      {"integer", ftInteger, 0, "123456", Variant(123456), "123456"},
      {"large integer", ftLargeint, 0, "1099511627776", Variant(1099511627776LL), "1099511627776"},
      {"word", ftWord, 0, "65535", Variant(65535), "65535"},
      {"true, bound as 1", ftBoolean, 0, "1", Variant(true), "1"},
      {"false", ftBoolean, 0, "0", Variant(false), "0"},
      {"float", ftFloat, 0, "12.5", Variant(12.5), "12.5"},
      {"date", ftDateTime, 0, "38058.4375", Variant::FromDate(38058.4375), "38058.4375"},
      {"memo in 1252, bound as text", ftMemo, 0, "'ligne 1\r\nété'"_a, Variant("ligne 1\r\nété"_a), "'ligne 1\r\nété'"_a},
      {"blob", ftBlob, 0, "X'00FF10'", Variant(String("\x00\xFF\x10", 3)), "X'00FF10'"},
      {"variable bytes", ftVarBytes, 4, "X'010203'", Variant(String("\x01\x02\x03", 3)), "X'010203'"},
      {"null text", ftString, 5, "NULL", Variant::Null(), "NULL"},
      {"null integer", ftInteger, 0, "NULL", Variant::Null(), "NULL"},
      {"null memo", ftMemo, 0, "NULL", Variant::Null(), "NULL"},
  };
  for (const TRoundTrip& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto Made = OneColumn(Case.Type, Case.Size);
    TAdoCursor& Cursor = *Made;
    TAdoRow Row = ReadLiteral(Cursor, Case.Selected);
    Variant Read = AdoCell::Value(Cursor.Columns[0], Row.Data.get(), Row.Blobs);
    EXPECT_EQ(VarType(Read), VarType(Case.Expected)) << VarTypeAsText(VarType(Read));
    EXPECT_TRUE(Read == Case.Expected) << VarToStr(Read);
    EXPECT_TRUE(BindsAs(Cursor, Row, Case.BoundBack));
  }
}

// A cell written from a field buffer and read back into one, with the field of the column's own
// family or of another.
struct TFieldCase {
  const char* Name;
  TFieldType ColumnType;
  int ColumnSize;
  std::function<TField*()> MakeField;
  Variant Written;   // set on the field, then moved into the cell
  Variant InCell;    // the cell as a Variant
  String ReadBack;   // the field's text read from the cell
};

TField* StringField(int Size) {
  auto* Field = new TStringField(nullptr);
  Field->SetSize(Size);
  return Field;
}

TEST_F(CellCodecTest, FieldBuffersMoveIntoCellsAndBackCutOrConverted) {
  const TFieldCase Cases[] = {
      {"same family", ftString, 10, [] { return StringField(10); }, Variant("fleuve"), Variant("fleuve"), "fleuve"},
      {"a longer field is cut at the column", ftString, 3, [] { return StringField(10); }, Variant("fleuve"),
       Variant("fle"), "fle"},
      {"a shorter field reads the column cut", ftString, 10, [] { return StringField(2); }, Variant("fl"),
       Variant("fl"), "fl"},
      {"integer column, text field", ftInteger, 0, [] { return StringField(10); }, Variant("42"), Variant(42), "42"},
      {"text column, integer field", ftString, 10, []() -> TField* { return new TIntegerField(nullptr); },
       Variant(-15), Variant("-15"), "-15"},
      {"boolean", ftBoolean, 0, []() -> TField* { return new TBooleanField(nullptr); }, Variant(true),
       Variant(true), "True"},
  };
  for (const TFieldCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    auto Made = OneColumn(Case.ColumnType, Case.ColumnSize);
    TAdoCursor& Cursor = *Made;
    const TAdoColumn& Column = Cursor.Columns[0];
    std::unique_ptr<TField> Field(Case.MakeField());
    TAdoRow Row = Cursor.NewRow();
    std::vector<char> Buffer(std::size_t(Field->DataSize()) + 1, '\0');
    AdoCell::VariantToNative(Field->DataType(), Field->Size(), Case.Written, Buffer.data());
    AdoCell::FromField(Column, Row.Data.get(), Row.Blobs, Field.get(), Buffer.data());
    EXPECT_TRUE(AdoCell::Value(Column, Row.Data.get(), Row.Blobs) == Case.InCell)
        << VarToStr(AdoCell::Value(Column, Row.Data.get(), Row.Blobs));

    std::vector<char> Out(std::size_t(Field->DataSize()) + 1, '\x7F');
    ASSERT_TRUE(AdoCell::ToField(Column, Row.Data.get(), Row.Blobs, Field.get(), Out.data()));
    EXPECT_EQ(VarToStr(AdoCell::NativeToVariant(Field->DataType(), Field->Size(), Out.data())), Case.ReadBack);
  }
}

TEST_F(CellCodecTest, NullCellsLeaveTheFieldBufferAloneAndANullBufferClearsTheCell) {
  auto Made = OneColumn(ftString, 5);
  TAdoCursor& Cursor = *Made;
  const TAdoColumn& Column = Cursor.Columns[0];
  std::unique_ptr<TField> Field(StringField(5));
  TAdoRow Row = ReadLiteral(Cursor, "'abc'");
  ASSERT_TRUE(AdoCell::ToField(Column, Row.Data.get(), Row.Blobs, Field.get(), nullptr));

  AdoCell::FromField(Column, Row.Data.get(), Row.Blobs, Field.get(), nullptr);
  char Out[6] = "zzzzz";
  EXPECT_FALSE(AdoCell::ToField(Column, Row.Data.get(), Row.Blobs, Field.get(), Out));
  EXPECT_STREQ(Out, "zzzzz");
  EXPECT_TRUE(BindsAs(Cursor, Row, "NULL"));
}

TEST_F(CellCodecTest, AValueThatDoesNotConvertLeavesTheCellAsItWas) {
  auto Made = OneColumn(ftInteger);
  TAdoCursor& Cursor = *Made;
  const TAdoColumn& Column = Cursor.Columns[0];
  TAdoRow Row = ReadLiteral(Cursor, "7");
  EXPECT_THROW(AdoCell::SetValue(Column, Row.Data.get(), Row.Blobs, Variant("sept")), Exception);
  EXPECT_TRUE(AdoCell::Value(Column, Row.Data.get(), Row.Blobs) == Variant(7));
}

TEST_F(CellCodecTest, CellsAreTheSameByTheirValuesNotTheBytesAfterThem) {
  auto Made = OneColumn(ftString, 8);
  TAdoCursor& Cursor = *Made;
  const TAdoColumn& Column = Cursor.Columns[0];
  TAdoRow A = ReadLiteral(Cursor, "'abc'");
  TAdoRow B = ReadLiteral(Cursor, "'abcdefgh'");
  EXPECT_FALSE(AdoCell::Same(Column, A.Data.get(), A.Blobs, B.Data.get(), B.Blobs));
  // A shorter value written over a longer one: what stood after it is not part of it.
  AdoCell::SetValue(Column, B.Data.get(), B.Blobs, Variant("abc"));
  EXPECT_TRUE(AdoCell::Same(Column, A.Data.get(), A.Blobs, B.Data.get(), B.Blobs));
  TAdoRow Null1 = ReadLiteral(Cursor, "NULL"), Null2 = ReadLiteral(Cursor, "NULL");
  EXPECT_TRUE(AdoCell::Same(Column, Null1.Data.get(), Null1.Blobs, Null2.Data.get(), Null2.Blobs));
  EXPECT_FALSE(AdoCell::Same(Column, Null1.Data.get(), Null1.Blobs, A.Data.get(), A.Blobs));
}

}  // namespace
