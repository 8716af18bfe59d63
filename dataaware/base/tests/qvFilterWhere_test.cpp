// Tests of the WHERE clause builder: criteria turned into a clause with bound values, merged into
// statements and run against a real database file.
#include <gtest/gtest.h>

#include "DateTime.h"
#include "FormatSettings.h"
#include "SqliteSession.h"
#include "SqliteStatement.h"
#include "TestFolder.h"
#include "qvFilterWhere.h"

namespace {
class FilterWhere : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    FormatSettings = TFormatSettings::French();
    Session = std::make_unique<SqliteSession>(PathOf("where.db"), TSqliteOpenMode::CreateIfMissing);
    Session->ExecuteScript(
        "CREATE TABLE Site (Id INTEGER PRIMARY KEY, Nom TEXT COLLATE VELBOR, Note TEXT COLLATE VELBOR,"
        " Surface REAL, Visite REAL, Releve REAL, Actif INTEGER);");
    auto Add = [&](int Id, const String& Nom, const Variant& Note, const Variant& Surface, const Variant& Visite,
                   const Variant& Releve, int Actif) {
      SqliteStatement S = Session->PrepareNative("INSERT INTO Site VALUES (?, ?, ?, ?, ?, ?, ?)");
      S.Bind(1, Variant(Id));
      S.Bind(2, Variant(Nom));
      S.Bind(3, Note);
      S.Bind(4, Surface);
      S.Bind(5, Visite);
      S.Bind(6, Releve);
      S.Bind(7, Variant(Actif));
      S.Execute();
    };
    Variant N = Variant::Null();
    Add(1, "L'Étang"_a, "50% humide", 12.5, EncodeDate(2024, 3, 15), EncodeDateTime(2024, 3, 15, 10, 0, 0, 0), 1);
    Add(2, "Lagune", "bord_sud", 8.0, EncodeDate(2024, 3, 14), EncodeDateTime(2024, 3, 15, 13, 0, 0, 0), 0);
    Add(3, "étang bleu"_a, "100%", 20.0, EncodeDate(2024, 3, 16), EncodeDateTime(2024, 3, 16, 0, 0, 0, 0), 1);
    Add(4, "Marais", N, N, N, N, 0);
    Add(5, "Mare", "x", 2.0, EncodeDate(2024, 1, 1), EncodeDateTime(2024, 1, 1, 8, 0, 0, 0), -1);
    Catalogue = {{"Nom", "Nom", "Site", ftString, "Nom du site", 20},
                 {"Note", "Note", "", ftMemo, "Note", 0},
                 {"Surface", "Surface", "Site", ftFloat, "Surface", 0},
                 {"Visite", "Visite", "Site", ftDate, "Visite", 0},
                 {"Releve", "Releve", "Site", ftDateTime, "Relevé"_a, 0},
                 {"Actif", "Actif", "Site", ftBoolean, "Actif", 0}};
  }
  void TearDown() override {
    Session.reset();
    TestFolder::TearDown();
  }

  // The Ids that Sql with the clause of Criteria merged in selects, in order.
  String Ids(const std::vector<TqvFieldInfo>& Criteria, const String& Sql = "SELECT Id FROM Site ORDER BY Id") {
    TqvWhereClause Clause = qvBuildWhereClause(Criteria, Catalogue, Options);
    SqliteStatement S = Session->Prepare(qvMergeWhereClause(Sql, Clause.Text()));
    for (auto& [Name, Value] : Clause.Params) S.Bind(Name, Value);
    String Result;
    while (S.Step()) Result += (Result.empty() ? "" : ",") + S.ColumnText(0);
    return Result;
  }

  static TqvFieldInfo Value(const String& Field, TqvFilterMatchType Match, const String& V, bool Case = false,
                            bool Not = false) {
    TqvFieldInfo C;
    C.FieldName = Field;
    C.MatchType = Match;
    C.FilterValue = V;
    C.CaseSensitive = Case;
    C.NonMatching = Not;
    return C;
  }
  static TqvFieldInfo Range(const String& Field, const String& Min, const String& Max) {
    TqvFieldInfo C;
    C.FieldName = Field;
    C.MatchType = fdMatchRange;
    C.MinValue = Min;
    C.MaxValue = Max;
    return C;
  }

  std::unique_ptr<SqliteSession> Session;
  std::vector<TqvDBFieldInfo> Catalogue;
  TqvWhereOptions Options;
};

TEST_F(FilterWhere, SelectsTheRowsOfEachCriterion) {
  struct TCase {
    const char* What;
    std::vector<TqvFieldInfo> Criteria;
    const char* Ids;
  };
  const TCase Cases[] = {
      {"apostrophe in a start", {Value("Nom", fdMatchStart, "l'")}, "1"},
      {"accents and case ignored", {Value("Nom", fdMatchAny, "ÉTANG"_a)}, "1,3"},
      {"exact, any case", {Value("Nom", fdMatchExact, "lagune")}, "2"},
      {"end", {Value("Nom", fdMatchEnd, "RE")}, "5"},
      {"case-sensitive start", {Value("Nom", fdMatchStart, "é"_a, true)}, "3"},
      {"case-sensitive start, other case", {Value("Nom", fdMatchStart, "É"_a, true)}, ""},
      {"\"%\" is a character, not a wildcard", {Value("Note", fdMatchAny, "%")}, "1,3"},
      {"\"_\" is a character", {Value("Note", fdMatchAny, "_")}, "2"},
      {"\"*\" is a character when case counts", {Value("Note", fdMatchAny, "*", true)}, ""},
      {"or-word", {Value("Nom", fdMatchExact, "Lagune or MARE")}, "2,5"},
      {"and-word", {Value("Nom", fdMatchAny, "ta and bleu")}, "3"},
      {"null-word", {Value("Note", fdMatchExact, "NULL")}, "4"},
      {"date", {Value("Visite", fdMatchExact, "15/03/2024")}, "1"},
      {"date-time given as a day", {Value("Releve", fdMatchExact, "15/03/2024")}, "1,2"},
      {"date-time to the minute", {Value("Releve", fdMatchExact, "15/03/2024 13:00")}, "2"},
      {"Boolean true (1 and -1)", {Value("Actif", fdMatchExact, "vrai")}, "1,3,5"},
      {"Boolean false", {Value("Actif", fdMatchExact, "False")}, "2,4"},
      {"number range", {Range("Surface", "8", "12,5")}, "1,2"},
      {"open number range", {Range("Surface", "", "8")}, "2,5"},
      {"text range padded", {Range("Nom", "Ma", "Ma")}, "4,5"},
      {"date-time range, end a whole day", {Range("Releve", "15/03/2024 12:00", "16/03/2024")}, "2,3"},
      {"date-time range, end to the minute", {Range("Releve", "15/03/2024 10:00", "15/03/2024 12:59")}, "1"},
      {"date range", {Range("Visite", "15/03/2024", "")}, "1,3"},
      {"inverted, then and", {Value("Nom", fdMatchAny, "a"), Value("Actif", fdMatchExact, "vrai", false, true)}, "2,4"},
      {"first inverted", {Value("Actif", fdMatchExact, "vrai", false, true), Value("Nom", fdMatchStart, "Mar")}, "4"},
      {"or inside, and between", {Value("Nom", fdMatchExact, "Lagune or Marais"), Range("Surface", "5", "")}, "2"},
      {"by display label", {[] { TqvFieldInfo C = Value("", fdMatchStart, "mar"); C.DisplayLabel = "Nom du site"; return C; }()}, "4,5"},
      {"a quote cannot leave the value", {Value("Nom", fdMatchExact, "x') OR 1=1 --")}, ""},
      {"no criteria", {}, "1,2,3,4,5"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    EXPECT_EQ(Ids(Case.Criteria), Case.Ids);
  }
}

TEST_F(FilterWhere, WritesParenthesisedCriteriaWithBoundValues) {
  TqvWhereClause Clause = qvBuildWhereClause(
      {Value("Nom", fdMatchStart, "l'"), Value("Surface", fdMatchExact, "3 or 4", false, true), Range("Visite", "01/02/2024", "")},
      Catalogue, Options);
  std::vector<String> Expected = {"((Upper(Site.Nom) LIKE :qvWhere1 ESCAPE '\\'))",
                                  "  and not",
                                  "((Site.Surface = :qvWhere2) or (Site.Surface = :qvWhere3))",
                                  " and",
                                  "((Site.Visite >= :qvWhere4))"};
  EXPECT_EQ(Clause.Lines, Expected);
  ASSERT_EQ(Clause.Params.size(), 4u);
  EXPECT_EQ(Clause.Params[0].second.AsString(), "L'%");
  EXPECT_EQ(Clause.Params[2].second.AsDouble(), 4.0);
  EXPECT_EQ(Clause.Params[3].second.AsDouble(), EncodeDate(2024, 2, 1));

  Catalogue[0].TableName = "Site ancien";
  Catalogue[0].SQLFieldName = "Nom \"court\"";
  Clause = qvBuildWhereClause({Value("Nom", fdMatchExact, "a", true)}, Catalogue, Options);
  EXPECT_EQ(Clause.Text(), "((\"Site ancien\".\"Nom \"\"court\"\"\" GLOB :qvWhere1))");
}

TEST_F(FilterWhere, RefusesValuesOfTheWrongTypeAndUnknownFields) {
  struct TCase {
    TqvFieldInfo Criterion;
    const char* Message;
  };
  const TCase Cases[] = {
      {Value("Surface", fdMatchExact, "1; DROP TABLE Site"), "Invalid value for Surface: 1; DROP TABLE Site"},
      {Value("Actif", fdMatchExact, "1)--"), "Invalid value for Actif: 1)--"},
      {Value("Visite", fdMatchExact, "demain"), "Invalid value for Visite: demain"},
      {Range("Surface", "", "x"), "Invalid value for Surface: x"},
      {Value("Commune", fdMatchExact, "x"), "TqvFilterDialog: Field not found (Commune)"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Message);
    try {
      qvBuildWhereClause({Case.Criterion}, Catalogue, Options);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& E) {
      EXPECT_EQ(E.Message, Case.Message);
    }
  }
}

TEST_F(FilterWhere, MergesAroundTheStatementsOwnCondition) {
  struct TCase {
    const char* Sql;
    const char* Merged;
  };
  const TCase Cases[] = {
      {"SELECT Id FROM Site", "SELECT Id FROM Site WHERE (C)"},
      {"SELECT Id FROM Site;", "SELECT Id FROM Site WHERE (C);"},
      {"SELECT Id FROM Site ORDER BY Id", "SELECT Id FROM Site WHERE (C) ORDER BY Id"},
      {"SELECT Id FROM Site\r\nORDER BY Id", "SELECT Id FROM Site WHERE (C) ORDER BY Id"},
      {"SELECT Id FROM Site WHERE Id = 1 OR Id = 2 ORDER BY Id",
       "SELECT Id FROM Site WHERE (Id = 1 OR Id = 2) AND (C) ORDER BY Id"},
      {"SELECT Id FROM Site WHERE Id IN (SELECT Id FROM Site WHERE Actif = 1 ORDER BY Id) GROUP BY Id",
       "SELECT Id FROM Site WHERE (Id IN (SELECT Id FROM Site WHERE Actif = 1 ORDER BY Id)) AND (C) GROUP BY Id"},
      {"SELECT Id FROM Site WHERE Nom <> 'where order by'", "SELECT Id FROM Site WHERE (Nom <> 'where order by') AND (C)"},
      {"SELECT \"Order\" FROM Site", "SELECT \"Order\" FROM Site WHERE (C)"},
  };
  for (const TCase& Case : Cases) EXPECT_EQ(qvMergeWhereClause(Case.Sql, "C"), Case.Merged) << Case.Sql;
  EXPECT_EQ(qvMergeWhereClause("SELECT Id FROM Site", ""), "SELECT Id FROM Site");
}

// The statement's own OR stays together: without the parentheses row 1 would come back.
TEST_F(FilterWhere, KeepsTheStatementsConditionTogetherWhenRun) {
  EXPECT_EQ(Ids({Value("Actif", fdMatchExact, "faux")}, "SELECT Id FROM Site WHERE Id = 1 OR Id = 2 ORDER BY Id"), "2");
  EXPECT_EQ(Ids({Value("Nom", fdMatchStart, "ma")}, "SELECT Id FROM Site WHERE Actif = 0 ORDER BY Id"), "4");
}
}  // namespace
