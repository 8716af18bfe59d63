// Tests of the SQLite session: refusing files that are not databases, the connection settings,
// the text collation and functions, values in and out, parameters, column metadata, keys,
// transactions and the errors callers tell apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include "SqliteSession.h"
#include "TestFolder.h"
#include "TextOrder.h"

namespace {

class SessionTest : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    DbPath = PathOf("velbor.db");
  }
  void TearDown() override {
    Session.reset();
    TestFolder::TearDown();
  }

  SqliteSession& Open() {
    Session.emplace(DbPath, TSqliteOpenMode::CreateIfMissing);
    return *Session;
  }

  // Every row of a query, its values joined by '|' ("<null>" for Null).
  std::vector<String> Rows(const String& Sql) {
    SqliteStatement statement = Session->Prepare(Sql);
    std::vector<String> rows;
    while (statement.Step()) {
      String row;
      for (int i = 0; i < statement.ColumnCount(); ++i) {
        Variant value = statement.ColumnValue(i);
        row += (i ? "|" : "") + (VarIsNull(value) ? String("<null>") : VarToStr(value));
      }
      rows.push_back(row);
    }
    return rows;
  }

  String DbPath;
  std::optional<SqliteSession> Session;
};

// The error that Action raises, or a failure when it raises none.
std::optional<ESqliteError> ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const ESqliteError& E) {
    return E;
  }
  return std::nullopt;
}

// Opening ---------------------------------------------------------------------------------------

struct ForeignFile {
  const char* Name;
  std::string Bytes;
};

void PrintTo(const ForeignFile& F, std::ostream* Out) { *Out << F.Name; }

class RefusedFile : public TestFolder, public ::testing::WithParamInterface<ForeignFile> {};

TEST_P(RefusedFile, IsNotOpenedAndNotWritten) {
  String path = PathOf("velbor.mdb");
  WriteRaw(path, GetParam().Bytes);
  for (TSqliteOpenMode mode : {TSqliteOpenMode::OpenExisting, TSqliteOpenMode::CreateIfMissing}) {
    auto error = ErrorOf([&] { SqliteSession session(path, mode); });
    ASSERT_TRUE(error) << GetParam().Name;
    EXPECT_EQ(error->Kind, TSqliteErrorKind::NotADatabase);
    EXPECT_NE(error->Message.find(path), String::npos) << error->Message;
    EXPECT_STREQ(error->ClassName(), "EDatabaseError");
  }
  EXPECT_EQ(ReadRaw(path), GetParam().Bytes);
  EXPECT_FALSE(OsPort::FileExists(path + "-journal"));
}

// The bytes of a literal, embedded NULs included, without its terminating NUL.
template <std::size_t N>
std::string BytesOf(const char (&Literal)[N]) {
  return std::string(Literal, N - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(ForeignFile{"jet", BytesOf("\0\1\0\0Standard Jet DB\0\1\0\0\0\xB5n\x03" "b`\x09\xC2U\xE9\xA9gr@?")},
                      ForeignFile{"empty", std::string()}, ForeignFile{"text", "select * from T_ZONE_HUMIDE\r\n"},
                      ForeignFile{"short header", BytesOf("SQLite format 3")},
                      ForeignFile{"damaged", BytesOf("SQLite format 3\0") + std::string(200, '\xFF')}),
    [](const ::testing::TestParamInfo<ForeignFile>& Info) {
      String name = Info.param.Name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST_F(SessionTest, MissingFileIsAnErrorUnlessCreationIsAsked) {
  auto error = ErrorOf([&] { SqliteSession session(DbPath); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::NotADatabase);
  EXPECT_NE(error->Message.find(DbPath), String::npos) << error->Message;
  EXPECT_FALSE(OsPort::FileExists(DbPath));

  { SqliteSession created(DbPath, TSqliteOpenMode::CreateIfMissing); }
  // A new file is a database at once, even with nothing in it: it can be opened as existing.
  EXPECT_EQ(ReadRaw(DbPath).substr(0, 16), BytesOf("SQLite format 3\0"));
  SqliteSession reopened(DbPath);
  EXPECT_EQ(reopened.FileName(), DbPath);
}

TEST_F(SessionTest, MissingFolderIsAnError) {
  auto error = ErrorOf([&] { SqliteSession session(PathOf("nowhere\\velbor.db"), TSqliteOpenMode::CreateIfMissing); });
  ASSERT_TRUE(error);
  EXPECT_NE(error->Message.find("nowhere"), String::npos) << error->Message;
}

TEST_F(SessionTest, SettingsKeepCommittedWorkInTheFileItself) {
  Open().ExecuteScript("CREATE TABLE T(A INTEGER)");
  EXPECT_EQ(Rows("PRAGMA journal_mode"), std::vector<String>{"delete"});
  EXPECT_EQ(Rows("PRAGMA synchronous"), std::vector<String>{"2"});  // FULL
  EXPECT_EQ(Rows("PRAGMA foreign_keys"), std::vector<String>{"1"});
  Session->Execute("insert into T values (7)");
  // Committed work is in the database file alone: a copy of it, as the import's backup makes,
  // holds the row while the session is still open.
  String copy = PathOf("copie.db");
  ASSERT_TRUE(OsPort::CopyFile(DbPath, copy, false));
  SqliteSession other(copy);
  SqliteStatement count = other.Prepare("select count(*) from T");
  ASSERT_TRUE(count.Step());
  EXPECT_EQ(count.ColumnInt64(0), 1);
}

// Collation and functions -------------------------------------------------------------------------

TEST_F(SessionTest, TextColumnsOrderAndCompareAsTheProgram) {
  Open().ExecuteScript("CREATE TABLE T(" + TextColumnSql("NOM", 30) + ")");
  // Through an array: clang 14 crashes on a braced list of Strings that holds _a literals.
  const char* const texts[] = {"fleuve", "École"_a, "ecole", "Étang"_a, "zèbre"_a, "Abeille", "ÉCOLE"_a, "Œuvre"_a};
  std::vector<String> names(std::begin(texts), std::end(texts));
  SqliteStatement insert = Session->Prepare("insert into T values (:NOM)");
  for (const String& name : names) {
    insert.Bind("NOM", name);
    insert.Execute();
  }
  std::vector<String> expected = names;
  std::stable_sort(expected.begin(), expected.end(), [](const String& A, const String& B) { return AnsiCompareText(A, B) < 0; });
  std::vector<String> sorted = Rows("select NOM from T order by NOM");
  // Texts equal by the order (case only) may come in either order.
  ASSERT_EQ(sorted.size(), expected.size());
  for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_TRUE(AnsiSameText(sorted[i], expected[i])) << i;
  EXPECT_EQ(Rows("select count(*) from T where NOM = 'ÉCOLE'"_a), std::vector<String>{"2"});  // École, ÉCOLE; not ecole
  EXPECT_EQ(Rows("select count(distinct NOM) from T"), std::vector<String>{"7"});
  EXPECT_EQ(Rows("select max(NOM) from T"), std::vector<String>{"zèbre"_a});
}

TEST_F(SessionTest, JetFunctionsWork) {
  Open();
  EXPECT_EQ(Rows("select val(' 12abc'), val(''), val(null) is null, val(3.5), val('2.5e1')"),
            std::vector<String>{"12|0|1|3,5|25"});
  EXPECT_EQ(Rows("select upper('école œuvre ß'), upper(null) is null"_a), std::vector<String>{"ÉCOLE ŒUVRE ß|1"_a});
  EXPECT_EQ(Rows("select mid('01ABC0001', 4, 6), mid('abc', 2)"), std::vector<String>{"BC0001|bc"});
}

// Values ----------------------------------------------------------------------------------------------

struct ValueCase {
  const char* Name;
  const char* DeclaredType;
  Variant In;
  TVarType OutType;
  Variant Out;
  const char* Storage;  // typeof() of the stored value
};

void PrintTo(const ValueCase& C, std::ostream* Out) { *Out << C.Name; }

Variant Bytes(std::initializer_list<int> Values) {
  Variant array = VarArrayCreate(0, int(Values.size()) - 1, varByte);
  int i = 0;
  for (int b : Values) VarArrayPut(array, Variant::FromByte(static_cast<unsigned char>(b)), i++);
  return array;
}

class ValueRoundTrip : public SessionTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ValueRoundTrip, ComesBackAsItWent) {
  const ValueCase& c = GetParam();
  Open().ExecuteScript(String("CREATE TABLE V(X ") + c.DeclaredType + ")");
  SqliteStatement insert = Session->Prepare("insert into V values (?)");
  insert.Bind(1, c.In);
  EXPECT_EQ(insert.Execute(), 1);
  SqliteStatement select = Session->Prepare("select X, typeof(X) from V");
  ASSERT_TRUE(select.Step());
  Variant out = select.ColumnValue(0);
  EXPECT_EQ(VarTypeAsText(VarType(out)), VarTypeAsText(c.OutType));
  if (VarIsArray(c.Out)) {
    ASSERT_TRUE(VarIsArray(out));
    ASSERT_EQ(VarArrayHighBound(out, 1), VarArrayHighBound(c.Out, 1));
    for (int i = 0; i <= VarArrayHighBound(out, 1); ++i) EXPECT_EQ(VarArrayGet(out, i).AsInteger(), VarArrayGet(c.Out, i).AsInteger());
  } else if (!VarIsNull(c.Out)) {
    EXPECT_TRUE(out == c.Out) << VarToStr(out);
  }
  EXPECT_EQ(select.ColumnText(1), c.Storage);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ValueRoundTrip,
    ::testing::Values(
        ValueCase{"integer", "INTEGER", Variant(42), varInteger, Variant(42), "integer"},
        ValueCase{"int64", "INTEGER", Variant(5000000000LL), varInt64, Variant(5000000000LL), "integer"},
        ValueCase{"smallint", "INTEGER", Variant::FromSmallint(-3), varInteger, Variant(-3), "integer"},
        ValueCase{"double", "FLOAT", Variant(1.25), varDouble, Variant(1.25), "real"},
        ValueCase{"integer_into_float", "FLOAT", Variant(3), varDouble, Variant(3.0), "real"},
        ValueCase{"currency", "CURRENCY", Variant::FromCurrency(12.3456), varDouble, Variant(12.3456), "real"},
        ValueCase{"text", "VARCHAR(20)", Variant(String("déjà vu 12 €"_a)), varString, Variant(String("déjà vu 12 €"_a)), "text"},
        ValueCase{"true", "BOOLEAN", Variant(true), varBoolean, Variant(true), "integer"},
        ValueCase{"false", "BOOLEAN", Variant(false), varBoolean, Variant(false), "integer"},
        ValueCase{"date", "DATETIME", Variant::FromDate(38000.5), varDate, Variant::FromDate(38000.5), "real"},
        ValueCase{"null", "VARCHAR(5)", Variant::Null(), varNull, Variant::Null(), "null"},
        ValueCase{"empty", "INTEGER", Variant(), varNull, Variant::Null(), "null"},
        ValueCase{"blob", "BLOB", Bytes({0, 1, 255, 0}), varArray | varByte, Bytes({0, 1, 255, 0}), "blob"},
        ValueCase{"empty_blob", "IMAGE", Bytes({}), varArray | varByte, Bytes({}), "blob"}),
    [](const ::testing::TestParamInfo<ValueCase>& Info) { return std::string(Info.param.Name); });

TEST_F(SessionTest, TextIsUtf8InTheFile) {
  Open().ExecuteScript("CREATE TABLE T(A TEXT)");
  SqliteStatement insert = Session->Prepare("insert into T values (:A)");
  insert.Bind(":A", String("déjà œ€"_a));
  insert.Execute();
  EXPECT_EQ(Rows("select hex(A), length(A) from T"), std::vector<String>{"64C3A96AC3A020C593E282AC|7"});
}

TEST_F(SessionTest, UnsupportedValueIsRefused) {
  Open().ExecuteScript("CREATE TABLE T(A)");
  SqliteStatement insert = Session->Prepare("insert into T values (?)");
  auto error = ErrorOf([&] { insert.Bind(1, VarArrayOf({1, 2})); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::Usage);
}

// Parameters ----------------------------------------------------------------------------------------

TEST_F(SessionTest, ParametersByNameAndPosition) {
  Open().ExecuteScript(
      "CREATE TABLE T(ZH_CODE VARCHAR(13) COLLATE VELBOR, N INTEGER);"
      "INSERT INTO T VALUES ('01ABC0001', 1), ('01abc0001', 2), ('02XYZ0001', 3);");
  SqliteStatement select = Session->Prepare("select N from T where ZH_CODE = :ZH_CODE or N = :N or ZH_CODE = :ZH_CODE");
  EXPECT_EQ(select.ParamCount(), 2);  // a name used twice is one parameter
  EXPECT_EQ(select.ParamName(1), "ZH_CODE");
  EXPECT_EQ(select.ParamIndex(":N"), 2);
  EXPECT_EQ(select.ParamIndex("n"), 2);  // names ignore case
  EXPECT_EQ(select.ParamIndex("OTHER"), 0);

  select.Bind("ZH_CODE", String("01ABC0001"));
  select.Bind(2, 3);
  std::vector<long long> found;
  while (select.Step()) found.push_back(select.ColumnInt64(0));
  EXPECT_EQ(found, (std::vector<long long>{1, 2, 3}));  // the text key ignores case, as Jet did

  select.Reset();  // values stay bound
  select.Bind("ZH_CODE", Variant::Null());
  found.clear();
  while (select.Step()) found.push_back(select.ColumnInt64(0));
  EXPECT_EQ(found, std::vector<long long>{3});

  auto error = ErrorOf([&] { select.Bind("INCONNU", 1); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::Usage);
  EXPECT_NE(error->Message.find("INCONNU"), String::npos);
}

// Column metadata and keys -------------------------------------------------------------------------

TEST_F(SessionTest, ColumnsTellTheirBaseTableAndType) {
  Open().ExecuteScript(
      "CREATE TABLE T_ZONE_HUMIDE(ZH_CODE VARCHAR(13) COLLATE VELBOR PRIMARY KEY, ZH_NOM MEMO, ZH_FLG BOOLEAN);"
      "CREATE TABLE T_ALIAS(ZH_CODE VARCHAR(13), ALIAS_LIB VARCHAR(100));");
  SqliteStatement select = Session->Prepare(
      "select t.*, a.ALIAS_LIB as lib, 'x' as type, val(t.ZH_CODE) from T_ZONE_HUMIDE t, T_ALIAS a where a.ZH_CODE = t.ZH_CODE");
  struct Expected {
    const char* Name;
    const char* DeclType;
    TSqliteColumnKind Kind;
    const char* Table;
    const char* Origin;
  };
  const Expected expected[] = {
      {"ZH_CODE", "VARCHAR(13)", TSqliteColumnKind::Text, "T_ZONE_HUMIDE", "ZH_CODE"},
      {"ZH_NOM", "MEMO", TSqliteColumnKind::Text, "T_ZONE_HUMIDE", "ZH_NOM"},
      {"ZH_FLG", "BOOLEAN", TSqliteColumnKind::Boolean, "T_ZONE_HUMIDE", "ZH_FLG"},
      {"lib", "VARCHAR(100)", TSqliteColumnKind::Text, "T_ALIAS", "ALIAS_LIB"},
      {"type", "", TSqliteColumnKind::Unknown, "", ""},
      {"val(t.ZH_CODE)", "", TSqliteColumnKind::Unknown, "", ""},
  };
  ASSERT_EQ(select.ColumnCount(), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(select.ColumnName(i), expected[i].Name);
    EXPECT_EQ(select.ColumnDeclType(i), expected[i].DeclType);
    EXPECT_EQ(select.ColumnKind(i), expected[i].Kind);
    EXPECT_EQ(select.ColumnTableName(i), expected[i].Table);
    EXPECT_EQ(select.ColumnOriginName(i), expected[i].Origin);
  }
  auto error = ErrorOf([&] { select.ColumnName(6); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::Usage);
}

TEST_F(SessionTest, TableColumnsAndPrimaryKey) {
  Open().ExecuteScript(
      "CREATE TABLE T_SORTIE(ZH_CODE VARCHAR(13) NOT NULL, TYPE_ES_CODE VARCHAR(2), RES_CODE VARCHAR(2) DEFAULT '0',"
      " PRIMARY KEY (TYPE_ES_CODE, ZH_CODE));"
      "CREATE TABLE T_ALIAS(ZH_CODE VARCHAR(13), ALIAS_LIB VARCHAR(100));");
  std::vector<TSqliteColumnInfo> columns = Session->TableColumns("t_sortie");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].Name, "ZH_CODE");
  EXPECT_TRUE(columns[0].NotNull);
  EXPECT_EQ(columns[0].PrimaryKeyOrder, 2);
  EXPECT_EQ(columns[2].DeclaredType, "VARCHAR(2)");
  EXPECT_EQ(columns[2].DefaultSql, "'0'");
  EXPECT_FALSE(columns[2].NotNull);
  EXPECT_EQ(Session->PrimaryKey("T_SORTIE"), (std::vector<String>{"TYPE_ES_CODE", "ZH_CODE"}));
  EXPECT_TRUE(Session->PrimaryKey("T_ALIAS").empty());
  auto error = ErrorOf([&] { Session->PrimaryKey("T_ABSENTE"); });
  ASSERT_TRUE(error);
  EXPECT_NE(error->Message.find("T_ABSENTE"), String::npos);
}

struct DeclaredTypeCase {
  const char* Declared;
  TSqliteColumnKind Kind;
  int Size;
};

void PrintTo(const DeclaredTypeCase& C, std::ostream* Out) { *Out << C.Declared; }

class DeclaredType : public ::testing::TestWithParam<DeclaredTypeCase> {};

TEST_P(DeclaredType, GivesKindAndTextSize) {
  EXPECT_EQ(ColumnKindOf(GetParam().Declared), GetParam().Kind) << GetParam().Declared;
  EXPECT_EQ(TextSizeOf(GetParam().Declared), GetParam().Size) << GetParam().Declared;
}

INSTANTIATE_TEST_SUITE_P(
    Types, DeclaredType,
    ::testing::Values(DeclaredTypeCase{"VARCHAR(13)", TSqliteColumnKind::Text, 13},
                      DeclaredTypeCase{"text(50)", TSqliteColumnKind::Text, 50},
                      DeclaredTypeCase{"CHAR( 2 )", TSqliteColumnKind::Text, 2},
                      DeclaredTypeCase{"NVARCHAR(255)", TSqliteColumnKind::Text, 255},
                      DeclaredTypeCase{"MEMO", TSqliteColumnKind::Text, 0},
                      DeclaredTypeCase{"TEXT", TSqliteColumnKind::Text, 0},
                      DeclaredTypeCase{"INTEGER", TSqliteColumnKind::Integer, 0},
                      DeclaredTypeCase{"FLOAT", TSqliteColumnKind::Float, 0},
                      DeclaredTypeCase{"DECIMAL(10,2)", TSqliteColumnKind::Float, 0},
                      DeclaredTypeCase{"BOOLEAN", TSqliteColumnKind::Boolean, 0},
                      DeclaredTypeCase{"DATETIME", TSqliteColumnKind::Date, 0},
                      DeclaredTypeCase{"DATE", TSqliteColumnKind::Date, 0},
                      DeclaredTypeCase{"BLOB", TSqliteColumnKind::Blob, 0},
                      DeclaredTypeCase{"", TSqliteColumnKind::Unknown, 0}));

// Transactions and counts -----------------------------------------------------------------------------

TEST_F(SessionTest, TransactionsAreNotNestedAndRollBackUnlessCommitted) {
  Open().ExecuteScript("CREATE TABLE T(A INTEGER PRIMARY KEY, B TEXT)");
  {
    SqliteTransaction transaction(*Session);
    Session->Execute("insert into T(B) values ('perdu')");
    EXPECT_TRUE(Session->InTransaction());
    auto nested = ErrorOf([&] { Session->BeginTransaction(); });
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->Kind, TSqliteErrorKind::Usage);
    EXPECT_TRUE(Session->InTransaction());  // the refusal leaves the first one as it was
  }
  EXPECT_FALSE(Session->InTransaction());
  EXPECT_EQ(Rows("select count(*) from T"), std::vector<String>{"0"});

  try {
    SqliteTransaction transaction(*Session);
    Session->Execute("insert into T(B) values ('perdu aussi')");
    throw EAbort();
  } catch (const EAbort&) {
  }
  EXPECT_EQ(Rows("select count(*) from T"), std::vector<String>{"0"});

  {
    SqliteTransaction transaction(*Session);
    Session->Execute("insert into T(B) values ('gardé')"_a);
    transaction.Commit();
  }
  SqliteSession other(DbPath);
  SqliteStatement count = other.Prepare("select B from T");
  ASSERT_TRUE(count.Step());
  EXPECT_EQ(count.ColumnText(0), "gardé"_a);

  auto error = ErrorOf([&] { Session->Commit(); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::Usage);
}

TEST_F(SessionTest, ACopyOfTheDatabaseReplacesTheTargetsWholeOrNotAtAll) {
  Open().ExecuteScript("CREATE TABLE T(A TEXT); INSERT INTO T VALUES ('source');");
  String copyPath = PathOf("copie.db");
  {
    SqliteSession target(copyPath, TSqliteOpenMode::CreateIfMissing);
    target.ExecuteScript("CREATE TABLE OLD(X); INSERT INTO OLD VALUES (1);");
    Session->CopyDatabaseTo(target);
    SqliteStatement tables = target.PrepareNative("select group_concat(name) from sqlite_master");
    ASSERT_TRUE(tables.Step());
    EXPECT_EQ(tables.ColumnText(0), "T");
    SqliteStatement value = target.PrepareNative("select A from T");
    ASSERT_TRUE(value.Step());
    EXPECT_EQ(value.ColumnText(0), "source");
  }
  // A target another connection is writing to cannot take the copy: the error says so, and the
  // target keeps what it held.
  Session->ExecuteScript("UPDATE T SET A = 'changed'");
  SqliteSession target(copyPath);
  SqliteSession writer(copyPath);
  writer.BeginTransaction();
  writer.ExecuteScript("INSERT INTO T VALUES ('writer')");
  auto error = ErrorOf([&] { Session->CopyDatabaseTo(target); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::Busy) << error->Message;
  writer.Rollback();
  SqliteStatement value = target.PrepareNative("select group_concat(A) from T");
  ASSERT_TRUE(value.Step());
  EXPECT_EQ(value.ColumnText(0), "source");
}

TEST_F(SessionTest, InsertIdAndChangedRows) {
  Open().ExecuteScript("CREATE TABLE T(ID INTEGER PRIMARY KEY, B INTEGER)");
  Session->Execute("insert into T(B) values (1)");
  Session->Execute("insert into T(B) values (1)");
  EXPECT_EQ(Session->LastInsertRowId(), 2);
  Session->Execute("insert into T(B) values (2)");
  EXPECT_EQ(Session->Execute("update T set B = 5 where B = 1"), 2);
  EXPECT_EQ(Session->Changes(), 2);
  EXPECT_EQ(Session->Execute("DELETE T.* FROM T WHERE B = 5"), 2);
  EXPECT_EQ(Rows("select ID, B from T"), std::vector<String>{"3|2"});
}

TEST_F(SessionTest, OneStatementAtATime) {
  Open().ExecuteScript("CREATE TABLE T(A)");
  auto two = ErrorOf([&] { Session->Execute("delete from T; drop table T"); });
  ASSERT_TRUE(two);
  EXPECT_EQ(two->Kind, TSqliteErrorKind::Usage);
  EXPECT_EQ(Rows("select count(*) from sqlite_master where name = 'T'"), std::vector<String>{"1"});
  auto empty = ErrorOf([&] { Session->Execute("  ;"); });
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Kind, TSqliteErrorKind::Usage);
  EXPECT_EQ(Session->Execute("delete from T;  "), 0);  // a closing ';' is fine
  // SQLite stops reading at a NUL: what follows it must not pass unseen.
  for (String Sql : {String("delete from T\0; drop table T", 28), String("delete from T;\0drop table T", 28)}) {
    for (auto Run : {+[](SqliteSession& S, const String& Q) { S.Execute(Q); },
                     +[](SqliteSession& S, const String& Q) { S.PrepareNative(Q); },
                     +[](SqliteSession& S, const String& Q) { S.ExecuteScript(Q); }}) {
      auto nul = ErrorOf([&] { Run(*Session, Sql); });
      ASSERT_TRUE(nul);
      EXPECT_EQ(nul->Kind, TSqliteErrorKind::Usage);
      EXPECT_EQ(nul->Message.rfind("L'instruction SQL contient un caractère nul"_a, 0), 0u) << nul->Message;
    }
  }
  EXPECT_EQ(Rows("select count(*) from sqlite_master where name = 'T'"), std::vector<String>{"1"});
}

// Errors -------------------------------------------------------------------------------------------------

class ConstraintTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    Open().ExecuteScript(
        "CREATE TABLE D_SDAGE(" + TextColumnSql("TSD_CODE", 2, true) + " PRIMARY KEY);"
        "CREATE TABLE T_SDAGE_ZH(" + TextColumnSql("ZH_CODE", 13, true) + ", " + TextColumnSql("TSD_CODE", 2, true) +
        " REFERENCES D_SDAGE(TSD_CODE), SDZ_TYPO BOOLEAN CHECK (SDZ_TYPO IN (0, 1)), PRIMARY KEY (ZH_CODE, TSD_CODE));"
        "INSERT INTO D_SDAGE VALUES ('1'), ('2');"
        "INSERT INTO T_SDAGE_ZH VALUES ('01ABC0001', '1', 1);");
    Insert = std::make_unique<SqliteStatement>(
        Session->Prepare("insert into T_SDAGE_ZH (ZH_CODE, TSD_CODE, SDZ_TYPO) values (:ZH_CODE, :TSD_CODE, :SDZ_TYPO)"));
  }
  void TearDown() override {
    Insert.reset();
    SessionTest::TearDown();
  }

  std::unique_ptr<SqliteStatement> Insert;
};

struct ConstraintCase {
  const char* Name;
  Variant Code, Sdage, Typo;
  TSqliteErrorKind Kind;
  const char* Column;
  const char* MessagePart;
};

void PrintTo(const ConstraintCase& C, std::ostream* Out) { *Out << C.Name; }

class RefusedRow : public ConstraintTest, public ::testing::WithParamInterface<ConstraintCase> {};

TEST_P(RefusedRow, IsToldApart) {
  const ConstraintCase& c = GetParam();
  Insert->Bind("ZH_CODE", c.Code);
  Insert->Bind("TSD_CODE", c.Sdage);
  Insert->Bind("SDZ_TYPO", c.Typo);
  auto error = ErrorOf([&] { Insert->Execute(); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, c.Kind) << error->Message;
  EXPECT_EQ(error->Column, c.Column);
  EXPECT_NE(error->Message.find(c.MessagePart), String::npos) << error->Message;
  EXPECT_TRUE(dynamic_cast<const EDatabaseError*>(&*error));
  // The statement stays usable: a good row goes in after the refusal.
  Insert->Bind("ZH_CODE", String("02XYZ0001"));
  Insert->Bind("TSD_CODE", String("2"));
  Insert->Bind("SDZ_TYPO", false);
  EXPECT_EQ(Insert->Execute(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Violations, RefusedRow,
    ::testing::Values(
        ConstraintCase{"required", Variant::Null(), String("1"), true, TSqliteErrorKind::Required, "ZH_CODE",
                       "Le champ 'ZH_CODE' doit avoir une valeur"},
        ConstraintCase{"duplicate_key", String("01abc0001"), String("1"), true, TSqliteErrorKind::Duplicate,
                       "ZH_CODE, TSD_CODE", "existe déjà dans la table T_SDAGE_ZH"_a},
        ConstraintCase{"too_long", String("01ABC00012345"), String("123"), true, TSqliteErrorKind::TooLong, "TSD_CODE",
                       "trop long"},
        ConstraintCase{"unknown_reference", String("01ABC0002"), String("9"), true, TSqliteErrorKind::ForeignKey, "",
                       "intégrité référentielle"_a},
        ConstraintCase{"other_check", String("01ABC0002"), String("2"), 5, TSqliteErrorKind::Check, "", "SDZ_TYPO"}),
    [](const ::testing::TestParamInfo<ConstraintCase>& Info) { return std::string(Info.param.Name); });

TEST_F(ConstraintTest, LengthCountsCharactersNotBytes) {
  Insert->Bind("ZH_CODE", String("ÉÉÉÉÉÉÉÉÉÉÉÉÉ"_a));  // 13 characters, 26 bytes in UTF-8
  Insert->Bind("TSD_CODE", String("2"));
  Insert->Bind("SDZ_TYPO", true);
  EXPECT_EQ(Insert->Execute(), 1);
}

TEST_F(ConstraintTest, OtherErrorsShowSqliteMessageAndStatement) {
  auto syntax = ErrorOf([&] { Session->Prepare("select * fromm T_SDAGE_ZH"); });
  ASSERT_TRUE(syntax);
  EXPECT_EQ(syntax->Kind, TSqliteErrorKind::Other);
  EXPECT_NE(syntax->Message.find("syntax error"), String::npos) << syntax->Message;
  EXPECT_NE(syntax->Message.find("select * fromm T_SDAGE_ZH"), String::npos) << syntax->Message;
  EXPECT_NE(syntax->Message.find(DbPath), String::npos) << syntax->Message;

  auto table = ErrorOf([&] { Session->Prepare("select * from T_ABSENTE"); });
  ASSERT_TRUE(table);
  EXPECT_NE(table->Message.find("no such table: T_ABSENTE"), String::npos) << table->Message;
}

TEST_F(ConstraintTest, ReferencedRowCannotBeDeleted) {
  auto error = ErrorOf([&] { Session->Execute("DELETE D_SDAGE.* FROM D_SDAGE WHERE TSD_CODE = '1'"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Kind, TSqliteErrorKind::ForeignKey);
  EXPECT_EQ(Rows("select count(*) from D_SDAGE"), std::vector<String>{"2"});
}

}  // namespace
