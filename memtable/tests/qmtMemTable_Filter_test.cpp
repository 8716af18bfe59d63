// This file tests the filter expressions of the in-memory table: parsing, evaluation and errors.
#include <gtest/gtest.h>

#include <map>

#include "DateTime.h"
#include "TextOrder.h"
#include "qmtMemTable_Filter.h"
#include "qmtMemTable_Store.h"

namespace {

// One record of named values; names are resolved without regard to case.
struct Row : TqmtFilterContext {
  std::vector<std::pair<String, Variant>> Values;
  Row(std::initializer_list<std::pair<String, Variant>> V) : Values(V) {}
  int FilterFieldIndex(const String& Name) override {
    for (std::size_t I = 0; I < Values.size(); ++I)
      if (SameText(Values[I].first, Name)) return int(I);
    throw EDatabaseError("Champ '" + Name + "' non trouvé"_a);
  }
  Variant FilterFieldValue(int I) override { return Values[std::size_t(I)].second; }
};

bool Eval(const char* Text, Row& R, TqmtFilterParseOptions O = {}) {
  TqmtFilterExpression E(Text, O, &R);
  return E.Accepts(&R);
}

TEST(FilterExpression, DialectOfTheDuplicateCheck) {
  Row Empty{{"code", Variant("")}, {"lib", Variant::Null()}, {"num", Variant(12)}};
  Row Null{{"code", Variant::Null()}, {"lib", Variant("x")}, {"num", Variant::Null()}};
  Row Full{{"code", Variant("A1")}, {"lib", Variant("l'eau")}, {"num", Variant(123)}};
  struct Case {
    const char* Text;
    bool OnEmpty, OnNull, OnFull;
  } Cases[] = {
      {"code = 'A1'", false, false, true},
      {"CODE = 'A1' and Lib = 'l''eau'", false, false, true},  // names without case; doubled quote
      {"code = ''", true, true, false},                       // empty and null are the same empty value
      {"code <> ''", false, false, false},  // inequality with an empty side is false
      {"code <> 'B2'", false, false, true},
      {"code = 'A1' and lib = NULL", false, false, false},
      {"code = '' and lib = NULL", true, false, false},
      {"lib <> NULL", false, true, true},
      {"lib is null or num > 100", true, false, true},
      {"num = 12", true, false, false},
      {"num >= 12 and num < 200", true, false, true},
      {"not (num = 12)", false, true, true},  // a comparison with null is false, its negation true
      {"code in ('B2', 'A1')", false, false, true},
      {"lib like 'L*'", false, false, true},          // the mask ignores case
      {"num + 1 = 13", true, false, false},
      {"upper(lib) = 'L''EAU'", false, false, true},
      {"substring(lib, 3, 3) = 'eau'", false, false, true},
      {"trim('  x ') = lib", false, true, false},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Eval(C.Text, Empty), C.OnEmpty) << C.Text;
    EXPECT_EQ(Eval(C.Text, Null), C.OnNull) << C.Text;
    EXPECT_EQ(Eval(C.Text, Full), C.OnFull) << C.Text;
  }
}

TEST(FilterExpression, PrefixStarAndCaseOptionsMakeATextComparison) {
  struct Case {
    const char* Text;
    TqmtFilterParseOptions Options;
    const char* Value;
    bool Expected;
  } Cases[] = {
      {"f = '12'", {}, "12", true},
      {"f = '12'", {}, "123", false},
      {"f = '12*'", {}, "123", true},
      {"f = '12*'", {}, "1", false},
      {"f = '12*'", {false, true}, "123", false},  // no partial compare: the star is a character
      {"f = 'abc'", {true, false}, "ABC", true},
      {"f = 'abc'", {}, "ABC", false},
      {"f <> 'ab*'", {}, "abz", false},
  };
  for (const Case& C : Cases) {
    Row R{{"f", Variant(C.Value)}};
    EXPECT_EQ(Eval(C.Text, R, C.Options), C.Expected) << C.Text << " on " << C.Value;
  }
  Row Null{{"f", Variant::Null()}};
  EXPECT_FALSE(Eval("f = '12*'", Null));
  TqmtFilterExpression E("f = '12*'", {}, &Null);
  EXPECT_EQ(E.Nodes()[std::size_t(E.Root())].NodeClass, nkCompare);
  EXPECT_EQ(E.Nodes()[std::size_t(E.Root())].PartialLength, 2);
}

TEST(FilterExpression, OnlyEqualityMatchesNullWithTheEmptyText) {
  // Rows null, '', 'A', 'B'; the binary comparison, and the text comparison that folding case or a
  // trailing star makes of it, agree.
  struct Case {
    const char* Text;
    bool OnNull, OnEmpty, OnA, OnB;
  } Cases[] = {
      {"code <> 'A'", false, false, false, true},
      {"code = 'A'", false, false, true, false},
      {"code = ''", true, true, false, false},
      {"code <> ''", false, false, false, false},
      {"code > ''", false, false, false, false},
      {"code <= 'B'", false, false, true, true},
      {"code <> 'A*'", false, false, false, true},
  };
  Variant Values[] = {Variant::Null(), Variant(""), Variant("A"), Variant("B")};
  for (bool CaseInsensitive : {false, true})
    for (const Case& C : Cases) {
      bool Expected[] = {C.OnNull, C.OnEmpty, C.OnA, C.OnB};
      for (int I = 0; I < 4; ++I) {
        Row R{{"code", Values[I]}};
        EXPECT_EQ(Eval(C.Text, R, {CaseInsensitive, false}), Expected[I])
            << C.Text << " on row " << I << (CaseInsensitive ? " without case" : "");
      }
    }
}

TEST(FilterExpression, NullComparisonBecomesTheNullTest) {
  Row R{{"g", Variant::Null()}};
  TqmtFilterExpression E("g = NULL", {}, &R);
  const TqmtFilterNode& Root = E.Nodes()[std::size_t(E.Root())];
  EXPECT_EQ(Root.NodeClass, nkUnary);
  EXPECT_EQ(Root.Operator, coISBLANK);
}

TEST(FilterExpression, ErrorsOfParserAndEvaluator) {
  Row R{{"name", Variant("abcd")}, {"d", Variant::Null()}};
  // Syntax errors and NULL where it is not allowed.
  for (const char* Bad : {"name = ", "name = 'abc", "(name = 'a'", "name > NULL", "name = 'a' and"})
    EXPECT_THROW(TqmtFilterExpression(Bad, {}, &R), EDatabaseError) << Bad;
  // An unknown field, found when the text is parsed.
  try {
    TqmtFilterExpression("other = 1", {}, &R);
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message.find("other"), String::npos);
  }
  // A non-Boolean root: the variant conversion error.
  EXPECT_THROW(Eval("substring(name, 1, 2)", R), EVariantError);
  // A null root too.
  EXPECT_THROW(Eval("d", R), EVariantError);
  try {
    Eval("nosuch(name) = 1", R);
    FAIL();
  } catch (const EMemTableFilterError& E) {
    EXPECT_EQ(E.Message, "Invalid function name nosuch");
  }
  EXPECT_THROW(Eval("year(name) = 1", R), EMemTableFilterError);
  // An "in" list holds 51 values at most.
  String Long = "name in (";
  for (int I = 0; I < 52; ++I) Long += (I ? ", '" : "'") + std::to_string(I) + "'";
  Long += ")";
  EXPECT_THROW(Eval(Long.c_str(), R), EVariantBadIndexError);
  // Hand-built trees with codes the evaluator does not know.
  TqmtFilterExpression E("name = 'x'", {}, &R);
  E.Nodes()[std::size_t(E.Root())].NodeClass = 7;
  try {
    E.Accepts(&R);
    FAIL();
  } catch (const EMemTableFilterError& X) {
    EXPECT_EQ(X.Message, "iClass Out of range (7)");
  }
  E.Nodes()[std::size_t(E.Root())].NodeClass = nkBinary;
  E.Nodes()[std::size_t(E.Root())].Operator = 40;
  EXPECT_THROW(E.Accepts(&R), EMemTableFilterError);
}

String Repeat(const char* Piece, int Times) {
  String S;
  for (int I = 0; I < Times; ++I) S += Piece;
  return S;
}

TEST(FilterExpression, DeepNestingIsRefusedAndLongChainsEvaluate) {
  Row R{{"num", Variant(1)}, {"lib", Variant("x")}};
  // Nesting: parentheses, function arguments and "in" lists.
  struct Refused {
    String Text;
  } Deep[] = {
      {Repeat("(", 2000) + "num = 1" + Repeat(")", 2000)},
      {Repeat("upper(", 2000) + "lib" + Repeat(")", 2000) + " = 'X'"},
      {"num in (" + Repeat("(", 2000) + "1" + Repeat(")", 2000) + ")"},
  };
  for (const Refused& C : Deep) {
    try {
      TqmtFilterExpression(C.Text, {}, &R);
      ADD_FAILURE() << C.Text.substr(0, 20) << " was accepted";
    } catch (const EDatabaseError& E) {
      EXPECT_EQ(E.Message.find("Imbrication trop profonde dans l'expression de filtre"), 0u) << E.Message;
    }
  }
  EXPECT_TRUE(Eval((Repeat("(", 50) + "num = 1" + Repeat(")", 50)).c_str(), R));
  // Chains are not nesting, however long: each is read and evaluated without a call per term.
  struct Chain {
    String Text;
    bool Expected;
  } Chains[] = {
      {"num = " + Repeat("-", 100000) + "1", true},
      {"num = " + Repeat("-", 99999) + "1", false},
      {Repeat("not ", 100001) + "num = 1", false},
      {"num = 0" + Repeat(" or num = 0", 50000) + " or num = 1", true},
      {"num" + Repeat(" + num", 49999) + " = 50000", true},
      {"num" + Repeat(" * num", 50000) + " = 1", true},
  };
  for (const Chain& C : Chains) EXPECT_EQ(Eval(C.Text.c_str(), R), C.Expected) << C.Text.substr(0, 20);
}

TEST(FilterExpression, DateOutsideTheCalendarIsAnError) {
  Row R{{"d", Variant::FromDate(EncodeDate(9999, 12, 31) + 0.5)}};
  EXPECT_TRUE(Eval("date(d) = 2958465", R));
  EXPECT_TRUE(Eval("date(-693593) = -693593", R));  // 0001-01-01
  for (const char* Bad : {"date(3000000000) = 0", "date(-3000000000) = 0", "date(2958466) = 0", "date(-693594) = 0",
                          "date(d + 1) = 0", "time(d + 3000000) = 0"}) {
    try {
      Eval(Bad, R);
      ADD_FAILURE() << Bad << " was evaluated";
    } catch (const EMemTableFilterError& E) {
      EXPECT_EQ(E.Message.substr(0, 40), "Invalid or missing parameter for functio") << Bad;
    }
  }
}

TEST(FilterExpression, DateFunctions) {
  Row R{{"d", Variant::FromDate(EncodeDateTime(2024, 3, 9, 14, 30, 5, 0))}};
  EXPECT_TRUE(Eval("year(d) = 2024 and month(d) = 3 and day(d) = 9", R));
  EXPECT_TRUE(Eval("hour(d) = 14 and minute(d) = 30 and second(d) = 5", R));
  EXPECT_TRUE(Eval("date('09/03/2024', 'dd/mm/yyyy') = date(d)", R));
}

TEST(WildcardMask, StarsQuestionMarksAndSets) {
  struct Case {
    const char* Text;
    const char* Mask;
    bool Expected;
  } Cases[] = {{"abc", "a*", true},   {"abc", "*c", true},     {"abc", "a?c", true},  {"abc", "a?", false},
               {"ABC", "abc", true},  {"abc", "[a-b]bc", true}, {"cbc", "[!a-b]bc", true}, {"", "*", true},
               {"abc", "*b*", true},  {"abc", "*d*", false}};
  for (const Case& C : Cases) EXPECT_EQ(QmtMatchesMask(C.Text, C.Mask), C.Expected) << C.Text << " ~ " << C.Mask;
}

TEST(WildcardMask, ManyStarsCostNeitherStackNorTime) {
  // Going back to every earlier star took time exponential in their number; one call per star
  // exhausted the stack.
  String Text(60, 'a');
  EXPECT_FALSE(QmtMatchesMask(Text, Repeat("*a", 30) + "b"));
  EXPECT_TRUE(QmtMatchesMask(Text + "b", Repeat("*a", 30) + "*b"));
  EXPECT_TRUE(QmtMatchesMask(String(100000, 'x'), Repeat("*?", 100000)));
  EXPECT_FALSE(QmtMatchesMask(String(99999, 'x'), Repeat("*?", 100000)));
  // A long set is read once, not again at each character tried.
  EXPECT_FALSE(QmtMatchesMask(String(30000, 'x'), "*[" + String(30000, 'a') + "]y"));
  EXPECT_TRUE(QmtMatchesMask(String(30000, 'x') + "by", "*[" + String(30000, 'a') + "b]y"));
  EXPECT_TRUE(QmtMatchesMask("abXcd", "a*[x-y]*d"));
  EXPECT_FALSE(QmtMatchesMask("aXd", "a*[!x-y]*d"));
}

}  // namespace
