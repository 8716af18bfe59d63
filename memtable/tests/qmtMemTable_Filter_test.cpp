// This file tests the filter expressions of the in-memory table: parsing, evaluation and errors.
#include <gtest/gtest.h>

#include <map>

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
      {"code <> ''", false, false, true},
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

}  // namespace
