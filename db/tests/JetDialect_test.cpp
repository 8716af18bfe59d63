// Tests of the Jet dialect translation, construct by construct, and of Jet's VAL.
#include <gtest/gtest.h>

#include <ostream>

#include "JetDialect.h"
#include "SqliteError.h"

namespace {

struct TranslationCase {
  const char* Jet;
  const char* Sqlite;
};

void PrintTo(const TranslationCase& C, std::ostream* Out) { *Out << AnsiToUtf8(C.Jet); }

class JetTranslation : public ::testing::TestWithParam<TranslationCase> {};

TEST_P(JetTranslation, GivesTheSqliteText) {
  EXPECT_EQ(TranslateJetSql(GetParam().Jet), GetParam().Sqlite) << GetParam().Jet;
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, JetTranslation,
    ::testing::Values(
        // Booleans: any case, stored as 1 and 0.
        TranslationCase{"select * from T where F = TRUE", "select * from T where F = 1"},
        TranslationCase{"select * from T where F = false and G=True", "select * from T where F = 0 and G=1"},
        // A column or a function that happens to be named like a constant stays.
        TranslationCase{"select t.True from T t", "select t.True from T t"},
        TranslationCase{"select TRUEVAL, XFALSE from T", "select TRUEVAL, XFALSE from T"},
        // mid -> substr, only when called.
        TranslationCase{"select distinct mid(ZH_CODE,4,6) as ZH_CODE from t_zone_humide",
                        "select distinct substr(ZH_CODE,4,6) as ZH_CODE from t_zone_humide"},
        TranslationCase{"select MID (A, 2) from T", "select substr (A, 2) from T"},
        TranslationCase{"select mid from T", "select mid from T"},
        // val is a registered function: the call stays as written.
        TranslationCase{"select * from D_REGION ORDER BY VAL(REG_CODE)", "select * from D_REGION ORDER BY VAL(REG_CODE)"},
        // Deletes that name what goes away.
        TranslationCase{"DELETE T_ACT_HUM_ZH.* FROM T_ACT_HUM_ZH WHERE [ZH_CODE] = 'X'",
                        "DELETE FROM T_ACT_HUM_ZH WHERE \"ZH_CODE\" = 'X'"},
        TranslationCase{"DELETE T_ALIAS.* FROM T_ALIAS WHERE ZH_CODE = 'X';",
                        "DELETE FROM T_ALIAS WHERE ZH_CODE = 'X';"},
        TranslationCase{"delete * from T", "delete from T"},
        TranslationCase{"  DELETE FROM T WHERE A = 1", "  DELETE FROM T WHERE A = 1"},
        // Bracketed names become quoted names, a quote inside doubled.
        TranslationCase{"select [My Col], [a\"b] from [T 1]", "select \"My Col\", \"a\"\"b\" from \"T 1\""},
        // "text" after a comparison is a literal; elsewhere a quoted name.
        TranslationCase{"select * from T where \"Nom Col\" like \"O'Brien%\"",
                        "select * from T where \"Nom Col\" like 'O''Brien%'"},
        TranslationCase{"select * from T where A = \"x\"\"y\" and B <> \"z\"",
                        "select * from T where A = 'x\"y' and B <> 'z'"},
        // Literals are never rewritten inside.
        TranslationCase{"select 'TRUE', 'mid(x)', '[a]', 'DELETE T.* FROM' from T where A = 'it''s TRUE'",
                        "select 'TRUE', 'mid(x)', '[a]', 'DELETE T.* FROM' from T where A = 'it''s TRUE'"},
        // Parameters keep their names.
        TranslationCase{"select * from T where ZH_CODE = :ZH_CODE and SDZ_TYPO = TRUE ORDER BY TSD_CODE",
                        "select * from T where ZH_CODE = :ZH_CODE and SDZ_TYPO = 1 ORDER BY TSD_CODE"},
        // A bare column as a condition, LIKE with %, numbers with a point: unchanged.
        TranslationCase{"select * from T_TAXON_VEG where TAXON_CODE order by TAXON_THEME",
                        "select * from T_TAXON_VEG where TAXON_CODE order by TAXON_THEME"},
        TranslationCase{"select * from T where A like 'V%' and B > 1.5e3", "select * from T where A like 'V%' and B > 1.5e3"},
        // Comments and backquoted names are never rewritten inside.
        TranslationCase{"select A -- it's TRUE\nfrom T where B = TRUE /* [x] = \"y\" */",
                        "select A -- it's TRUE\nfrom T where B = 1 /* [x] = \"y\" */"},
        TranslationCase{"select `TRUE` from T where A = `B`", "select `TRUE` from T where A = `B`"},
        // Accented names and text pass through byte for byte.
        TranslationCase{"select été from T where A = 'école'"_a, "select été from T where A = 'école'"_a}));

struct UnterminatedCase {
  const char* Jet;
  const char* Error;  // the first line of the message
};

void PrintTo(const UnterminatedCase& C, std::ostream* Out) { *Out << C.Jet; }

class JetUnterminated : public ::testing::TestWithParam<UnterminatedCase> {};

// Closing a run at the end of the text would run another statement than the one written.
TEST_P(JetUnterminated, IsRefused) {
  try {
    String Sqlite = TranslateJetSql(GetParam().Jet);
    ADD_FAILURE() << "translated as " << Sqlite;
  } catch (const ESqliteError& E) {
    EXPECT_EQ(E.Kind, TSqliteErrorKind::Usage);
    EXPECT_EQ(E.Message, Utf8ToAnsi(GetParam().Error) + "\r\nInstruction : " + GetParam().Jet);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, JetUnterminated,
    ::testing::Values(
        UnterminatedCase{"select 'abc from T", "Il manque « ' » pour fermer ce qui commence en position 8 de l'instruction SQL"},
        UnterminatedCase{"select [abc from T", "Il manque « ] » pour fermer ce qui commence en position 8 de l'instruction SQL"},
        UnterminatedCase{"delete from T where A = \"x", "Il manque « \" » pour fermer ce qui commence en position 25 de l'instruction SQL"},
        UnterminatedCase{"delete from T where A = 'it''s", "Il manque « ' » pour fermer ce qui commence en position 25 de l'instruction SQL"},
        UnterminatedCase{"select 'a', [b", "Il manque « ] » pour fermer ce qui commence en position 13 de l'instruction SQL"}));

struct ValCase {
  const char* Text;
  double Value;
};

void PrintTo(const ValCase& C, std::ostream* Out) { *Out << '"' << C.Text << '"'; }

class JetValue : public ::testing::TestWithParam<ValCase> {};

TEST_P(JetValue, ReadsTheLeadingNumber) { EXPECT_DOUBLE_EQ(JetVal(GetParam().Text), GetParam().Value) << GetParam().Text; }

INSTANTIATE_TEST_SUITE_P(Texts, JetValue,
                         ::testing::Values(ValCase{"", 0}, ValCase{"abc", 0}, ValCase{"12", 12}, ValCase{" 2", 2},
                                           ValCase{"1 2 3", 123}, ValCase{"\t10\r\n", 10}, ValCase{"10A", 10},
                                           ValCase{"22.1", 22.1}, ValCase{"1.2.3", 1.2}, ValCase{"-4.5", -4.5},
                                           ValCase{"+7", 7}, ValCase{"- 3", -3}, ValCase{".5", 0.5},
                                           ValCase{"1e3", 1000}, ValCase{"2D2", 200}, ValCase{"1e", 1},
                                           ValCase{"3e-1x", 0.3}, ValCase{"--1", 0}, ValCase{"1,5", 1},
                                           ValCase{"2A10", 2}));

}  // namespace
