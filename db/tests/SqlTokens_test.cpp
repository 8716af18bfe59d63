// Tests of the SQL tokenizer: the kind, place and name of each token, and the quoting of names and
// literals.
#include <gtest/gtest.h>

#include <vector>

#include "Exceptions.h"
#include "SqlTokens.h"

namespace {

struct TExpected {
  TSqlTokenKind Kind;
  const char* Text;
  const char* Name;
};

TEST(SqlTokens, EachTokenHasItsKindItsPlaceAndItsName) {
  const String Sql = "SELECT t.[My Col], \"a\"\"b\", `c`, 'it''s', 1.5e3, :CODE, x$1 -- fin\n/* note */ <> ||";
  const TExpected Expected[] = {
      {TSqlTokenKind::Word, "SELECT", "SELECT"},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Word, "t", "t"},
      {TSqlTokenKind::Symbol, ".", "."},
      {TSqlTokenKind::BracketName, "[My Col]", "My Col"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::QuotedName, "\"a\"\"b\"", "a\"b"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::QuotedName, "`c`", "c"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Literal, "'it''s'", "it's"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Number, "1.5e3", "1.5e3"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Parameter, ":CODE", ":CODE"},
      {TSqlTokenKind::Symbol, ",", ","},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Word, "x$1", "x$1"},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Comment, "-- fin", "-- fin"},
      {TSqlTokenKind::Blank, "\n", "\n"},
      {TSqlTokenKind::Comment, "/* note */", "/* note */"},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Symbol, "<>", "<>"},
      {TSqlTokenKind::Blank, " ", " "},
      {TSqlTokenKind::Symbol, "||", "||"},
      {TSqlTokenKind::End, "", ""},
  };
  std::vector<TSqlToken> Tokens = TokenizeSql(Sql);
  ASSERT_EQ(Tokens.size(), std::size(Expected));
  for (std::size_t i = 0; i < Tokens.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(int(Tokens[i].Kind), int(Expected[i].Kind)) << Tokens[i].Text;
    EXPECT_EQ(Tokens[i].Text, Expected[i].Text);
    EXPECT_EQ(Tokens[i].Name(), Expected[i].Name);
    EXPECT_EQ(Sql.substr(Tokens[i].Start, Tokens[i].Stop - Tokens[i].Start), Tokens[i].Text);
  }
  EXPECT_TRUE(Tokens[0].IsWord("select"));
  EXPECT_FALSE(Tokens[4].IsWord("My Col"));
}

TEST(SqlTokens, ACommentLeftOpenRunsToTheEndButAQuoteLeftOpenIsRefused) {
  std::vector<TSqlToken> Tokens = TokenizeSql("select 1 /* open");
  ASSERT_GE(Tokens.size(), 2u);
  EXPECT_EQ(int(Tokens[Tokens.size() - 2].Kind), int(TSqlTokenKind::Comment));
  EXPECT_THROW(TokenizeSql("select `open"), EDatabaseError);
}

TEST(SqlTokens, QuotingDoublesTheQuote) {
  EXPECT_EQ(QuoteSql("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(QuoteSql("it's", '\''), "'it''s'");
  EXPECT_EQ(TokenizeSql(QuoteSql("x\"\"y"))[0].Name(), "x\"\"y");
}

}  // namespace
