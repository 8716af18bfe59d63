// Tests of the report engine's expression machinery: lexical helpers, postfix bytes, evaluation
// under both decimal separators, callbacks, named variables and the function splitter.
#include "ZR_Pars.h"

#include <gtest/gtest.h>

#include <map>

#include "DateTime.h"
#include "FormatSettings.h"
#include "StrUtils.h"

namespace {

// Shows control bytes of a postfix text readably in failure messages.
std::string Visible(const String& S) {
  std::string out;
  for (unsigned char c : S) {
    if (c < 32)
      out += "<" + std::to_string(c) + ">";
    else
      out += static_cast<char>(c);
  }
  return out;
}

// Records every callback the parser makes and answers from small tables.
class TRecorder : public TObject {
 public:
  std::vector<String> Log;
  std::map<String, Variant> Values;
  Variant FunctionResult = Variant("fn");

  void GetValue(const String& Name, Variant& Value) {
    Log.push_back("get " + Name);
    auto it = Values.find(Name);
    if (it != Values.end()) Value = it->second;
  }
  void Function(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) {
    Log.push_back("fn " + Name + "|" + p1.AsString() + "|" + p2.AsString() + "|" + p3.AsString());
    Val = FunctionResult;
  }
  void Bind(TzrParser& Parser) {
    Parser.OnGetValue = TzrGetValueEvent(this, &TRecorder::GetValue);
    Parser.OnFunction = TzrFunctionEvent(this, &TRecorder::Function);
  }
};

// ---- lexical helpers

TEST(ZrLexical, ExtractBracketedFindsTheMatchingBracket) {
  struct Case {
    const char* Text;
    int Start;
    const char* Inner;
    int End;
  } cases[] = {
      {"[abc]", 1, "abc", 5},
      {"x[a[b]c]y", 2, "a[b]c", 8},
      {"['a]'b]", 1, "'a]'b", 7},       // a bracket inside single quotes does not count
      {"[\"x]\"]", 1, "\"x]\"", 6},     // nor inside double quotes
      {"[\"it's\"]]", 1, "\"it's\"", 8},  // a single quote inside double quotes is plain
      {"[ab", 1, "ab", 4},              // unclosed: to the end, End past it
  };
  for (const Case& c : cases) {
    int start = c.Start, end = -1;
    EXPECT_EQ(ExtractBracketed(c.Text, start, end), c.Inner) << c.Text;
    EXPECT_EQ(start, c.Start) << c.Text;
    EXPECT_EQ(end, c.End) << c.Text;
  }
  int start = 1, end = -1;
  EXPECT_EQ(ExtractBracketed("abc", start, end), "");
  EXPECT_EQ(end, -1);
}

TEST(ZrLexical, ReadIdentifierStopsAtDelimitersOutsideDoubleQuotes) {
  struct Case {
    const char* Text;
    int Pos;
    const char* Token;
    int After;
  } cases[] = {
      {"  abc+1", 1, "abc", 6},
      {"a,b;c.d%e'f]g h", 1, "a,b;c.d%e'f]g", 14},
      {"x\"a+b\"+c", 1, "x\"a+b\"", 7},
      {"name[1]", 1, "name", 5},
      {"f(x)", 1, "f", 2},
      {"a\rb", 1, "a", 2},
      {"a)b", 1, "a", 2},
      {"p*q", 3, "q", 4},
      {"\x05\x06" "abc", 1, "abc", 6},  // operator codes count as blanks before a token
      {"   ", 1, "", 4},
  };
  TzrParser parser;
  for (const Case& c : cases) {
    int pos = c.Pos;
    EXPECT_EQ(parser.ReadIdentifier(c.Text, pos), c.Token) << c.Text;
    EXPECT_EQ(pos, c.After) << c.Text;
  }
  for (char d : String("\r ()*+-/<=>[")) {
    int pos = 1;
    EXPECT_EQ(parser.ReadIdentifier(String("ab") + d + "c", pos), "ab") << int(d);
  }
}

TEST(ZrLexical, ReadQuotedKeepsQuotesAndDoubledQuotes) {
  TzrParser parser;
  int pos = 1;
  EXPECT_EQ(parser.ReadQuoted("'It''s' rest", pos), "'It''s'");
  EXPECT_EQ(pos, 8);
  pos = 3;
  EXPECT_EQ(parser.ReadQuoted("x+''+y", pos), "''");
  EXPECT_EQ(pos, 5);
  pos = 1;
  EXPECT_EQ(parser.ReadQuoted("'abc", pos), "'abc");
  EXPECT_EQ(pos, 5);
}

TEST(ZrLexical, ReadArgumentsSplitsAtTopLevelCommas) {
  TzrParser parser;
  int pos = 2;
  TzrArguments args = parser.ReadArguments("f(a, (b,c), 'x,)')+1", pos);
  EXPECT_EQ(args[0], "a");
  EXPECT_EQ(args[1], " (b,c)");
  EXPECT_EQ(args[2], " 'x,)'");
  EXPECT_EQ(pos, 19);

  pos = 2;
  args = parser.ReadArguments("f()", pos);
  EXPECT_EQ(args[0], "");
  EXPECT_EQ(args[1], "");
  EXPECT_EQ(pos, 4);
}

TEST(ZrLexical, ReadArgumentsRejectsUnclosedCallsAndAFourthArgument) {
  TzrParser parser;
  int pos = 2;
  try {
    parser.ReadArguments("f(a, (b)", pos);
    FAIL() << "no exception";
  } catch (const EzrParserError&) {
    FAIL() << "wrong kind";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "");
  }
  pos = 2;
  EXPECT_THROW(parser.ReadArguments("f(1, 2, 3, 4)", pos), EzrParserError);
}

TEST(ZrLexical, OperatorPriorities) {
  struct Case {
    char C;
    int Priority;
  } cases[] = {
      {zrOpGreaterEqual, 3}, {zrOpLessEqual, 3}, {zrOpNotEqual, 3}, {'<', 3},     {'=', 3},
      {'>', 3},              {zrOpOr, 1},        {zrOpAnd, 1},      {zrOpMod, 1},  {zrOpNot, 1},
      {'*', 1},              {'/', 1},           {'+', 2},          {'-', 2},      {zrOpNegate, 2},
      {zrOpUnaryPlus, 2},    {zrOpInt, 0},       {zrOpFrac, 0},     {zrOpRound, 0}, {zrOpStr, 0},
      {'(', 5},              {')', 4},           {'a', 0},          {' ', 0},
  };
  for (const Case& c : cases) EXPECT_EQ(OperatorPriority(c.C), c.Priority) << int(c.C);
}

// ---- postfix bytes

TEST(ZrPostfix, GoldenBytes) {
  struct Case {
    const char* Expression;
    String Postfix;
  } cases[] = {
      {"2+3*4", "2 3 4 *+"},
      {"(2+3)*4", "2 3 +4 *"},
      {"2-3-4", "2 3 -4 -"},
      {"-2", "2 \x09"},
      {"+2", "2 \x0a"},
      {"-2+3", "2 \x09" "3 +"},
      {"3 > -2", "3 2 \x09>"},
      {"7 mod 3", "7 3 \x0d"},
      {"a >= b", "a b \x01"},
      {"a <= b", "a b \x02"},
      {"a <> b", "a b \x03"},
      {"a=<b", "a =b <"},  // only <>, >=, <= are pairs
      {"not a = b", "a \x0c" "b ="},
      {"x or y and z", "x y \x04z \x05"},
      {"1 = 1 or 0", "1 1 0 \x04="},  // OR binds like '*': tighter than '='
      {"int(2.5)", "2.5 \x06"},
      {"FRAC(x)", "x \x07"},
      {"round(x)", "x \x0e"},
      {"str(5)", "5 \x0b"},
      {"FORMATFLOAT('0.00', [x])+1", "FORMATFLOAT('0.00', [x])1 +"},
      {"'It''s'", "'It''s' "},
      {"[Field 1]*2", "[Field 1] 2 *"},
      {"arr[1+2]", "arr[1+2] "},
      {"%2[x]", "%2[x] "},
      {"1,5+.5", "1,5 .5 +"},
      {"1+2;3", "1 2 +"},
      {"a\r+\rb", "a b +"},
      {"", ""},
  };
  TzrParser parser;
  for (const Case& c : cases)
    EXPECT_EQ(Visible(parser.ConvertToPostfix(c.Expression)), Visible(c.Postfix)) << c.Expression;
}

// ---- evaluation

struct EvalCase {
  const char* Expression;
  Variant Expected;
};

void ExpectValue(const Variant& Actual, const Variant& Expected, const char* Expression) {
  EXPECT_EQ(VarType(Actual), VarType(Expected)) << Expression;
  if (VarType(Actual) == VarType(Expected)) {
    EXPECT_TRUE(Actual == Expected) << Expression << " gave " << VarToStr(Actual);
  }
}

class ZrEvaluate : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { FormatSettings.DecimalSeparator = GetParam(); }
  void TearDown() override { FormatSettings = TFormatSettings::French(); }
};

TEST_P(ZrEvaluate, ValuesAndTypes) {
  const EvalCase cases[] = {
      {"", Variant(0)},
      {"2+3*4", Variant(14.0)},
      {"(2+3)*4", Variant(20.0)},
      {"7 mod 3", Variant(1)},
      {"7/2", Variant(3.5)},
      {"1/0", Variant(0)},
      {"0/0", Variant(0)},
      {"3 > 2", Variant(1)},
      {"2 >= 3", Variant(0)},
      {"2 <= 2", Variant(1)},
      {"2 <> 2", Variant(0)},
      {"1 < 2", Variant(1)},
      {"2 = 2", Variant(1)},
      {"'abc' = 'abc'", Variant(1)},
      {"'abc' < 'abd'", Variant(1)},
      {"not 0", Variant(1)},
      {"not 5", Variant(0)},
      {"not (1 > 2)", Variant(1)},
      {"int(2.9999999999999)", Variant(3.0)},
      {"int(-2.5)", Variant(-2.0)},
      {"int(7.8)", Variant(7.0)},
      {"frac(3.00000000000001)", Variant(0.0)},
      {"frac(2.25)", Variant(0.25)},
      {"round(2.5)", Variant(2.0)},
      {"round(3.5)", Variant(4.0)},
      {"round(-2.5)", Variant(-2.0)},
      {"round(2.6)", Variant(3.0)},
      {"'It''s'", Variant("It's")},
      {"'a''''b'", Variant("a'b")},  // a run of quotes becomes one quote
      {"''", Variant("")},
      {"'ab' + 'cd'", Variant("abcd")},
      {"TRUE", Variant(true)},
      {"false", Variant(false)},
      {"true and false", Variant(false)},
      {"true or false", Variant(true)},
      {"6 and 3", Variant(2)},
      {"6 or 3", Variant(7)},
      {"2 = 2 or 1", Variant(0)},    // 2 = (2 or 1)
      {"(2 = 2) or 1", Variant(1)},
      {"(1 > 0) and (2 > 1)", Variant(1)},
      {"-2+3", Variant(1.0)},
      {"+4", Variant(4.0)},
      {"2.5 + 1", Variant(3.5)},  // both '.' and ',' read as the decimal separator
      {"2,5 + 1", Variant(3.5)},
      {"str(12)", Variant("12")},
      {"str(4 > 3)", Variant("1")},
      {"1+2;3", Variant(3.0)},
      {"copy('abcdef', 2, 3)", Variant("bcd")},
      {"copy('abcdef', 5, 10)", Variant("ef")},
      {"if(1 > 0, 'yes', 'no')", Variant("yes")},
      {"IF(0, 'yes', 'no')", Variant("no")},
      {"if(0.5, 'yes', 'no')", Variant("no")},  // the integer part decides
      {"if(-1.5, 'yes', 'no')", Variant("yes")},
      {"strtodate('31/12/2004')", Variant::FromDate(EncodeDate(2004, 12, 31))},
      {"strtotime('12:00')", Variant::FromDate(0.5)},
  };
  TzrParser parser;
  for (const EvalCase& c : cases) ExpectValue(parser.Calculate(c.Expression), c.Expected, c.Expression);
}

TEST_P(ZrEvaluate, TextOfRealNumbersFollowsTheSeparator) {
  TzrParser parser;
  String expected = String("2") + GetParam() + "5";
  EXPECT_EQ(VarToStr(parser.Calculate("str(2.5)")), expected);
  EXPECT_EQ(VarToStr(parser.Calculate("5/2")), expected);
  // COPY reads its start through text: a real start is no integer under either separator.
  EXPECT_THROW(parser.Calculate("copy('abc', 1.5, 1)"), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, ZrEvaluate, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& Info) {
                           return std::string(Info.param == ',' ? "Comma" : "Point");
                         });

TEST(ZrEvaluateErrors, ConversionAndVariantErrorsPropagate) {
  TzrParser parser;
  EXPECT_THROW(parser.Calculate("copy('abc', 'x', 1)"), EConvertError);
  EXPECT_THROW(parser.Calculate("if('x', 1, 2)"), EConvertError);
  EXPECT_THROW(parser.Calculate("if(true, 1, 2)"), EConvertError);  // "True" is no number
  EXPECT_THROW(parser.Calculate("strtodate('not a date')"), EConvertError);
  EXPECT_THROW(parser.Calculate("1.2.3 + 1"), EConvertError);
  EXPECT_THROW(parser.Calculate("'abc' * 2"), Exception);
  EXPECT_THROW(parser.Calculate("7 mod 0"), EDivByZero);
  EXPECT_THROW(parser.Calculate("f(1, 2, 3, 4)"), EzrParserError);
  try {
    parser.Calculate("f(1");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "");
  }
}

TEST(ZrEvaluateErrors, StackIsBoundedAt32PendingValues) {
  TzrParser parser;
  // n operands all pending before the first '+': 1+(1+(1+...)).
  auto nested = [](int n) {
    String s;
    for (int i = 1; i < n; ++i) s += "1+(";
    s += "1";
    for (int i = 1; i < n; ++i) s += ")";
    return s;
  };
  ExpectValue(parser.Calculate(nested(32)), Variant(32.0), "32 pending");
  try {
    parser.Calculate(nested(33));
    FAIL() << "no exception";
  } catch (const EzrParserError& e) {
    EXPECT_NE(e.Message.find("32"), String::npos) << e.Message;
  }
}

TEST(ZrEvaluateErrors, OperatorWithoutOperandIsAnError) {
  TzrParser parser;
  EXPECT_THROW(parser.Evaluate("+"), EzrParserError);
  EXPECT_THROW(parser.Evaluate(String(1, zrOpNegate)), EzrParserError);
  // A unary minus after '*' or another minus pops that operator first, one operand short.
  EXPECT_THROW(parser.Calculate("2*-3"), EzrParserError);
  EXPECT_THROW(parser.Calculate("--2"), EzrParserError);
  ExpectValue(parser.Calculate("2*(-3)"), Variant(-6.0), "2*(-3)");
}

// ---- callbacks

TEST(ZrCallbacks, NamesAndCallsGoToTheCallbacks) {
  TzrParser parser;
  TRecorder recorder;
  recorder.Bind(parser);
  recorder.Values["Name"] = Variant(40);
  recorder.Values["X"] = Variant(2);
  ExpectValue(parser.Calculate("[Name] + x"), Variant(42), "[Name] + x");
  EXPECT_EQ(recorder.Log, (std::vector<String>{"get Name", "get X"}));

  recorder.Log.clear();
  ExpectValue(parser.Calculate("myFunc(1+2, 'a,b')"), Variant("fn"), "call");
  EXPECT_EQ(recorder.Log, (std::vector<String>{"fn MYFUNC|1+2| 'a,b'|"}));

  recorder.Log.clear();
  parser.Calculate("arr[i + 1]");
  EXPECT_EQ(recorder.Log, (std::vector<String>{"fn GETARRAY|arr| i + 1|"}));

  // The evaluator's own functions never reach the callback; their arguments' names do.
  recorder.Log.clear();
  recorder.Values["N"] = Variant(2);
  ExpectValue(parser.Calculate("copy('abcdef', n, 2)"), Variant("bc"), "copy");
  EXPECT_EQ(recorder.Log, (std::vector<String>{"get N"}));
}

TEST(ZrCallbacks, UnsetCallbacksGiveEmptyValues) {
  TzrParser parser;
  EXPECT_TRUE(VarIsEmpty(parser.Calculate("x")));
  EXPECT_TRUE(VarIsEmpty(parser.Calculate("[a b]")));
  EXPECT_TRUE(VarIsEmpty(parser.Calculate("f(1)")));
  ExpectValue(parser.Calculate("x + 1"), Variant(1.0), "empty plus one");
}

// A name whose value is computed by evaluating an expression that needs the same name again.
class TSelfReferringResolver : public TObject {
 public:
  TzrParser* Parser = nullptr;
  int Calls = 0;
  void GetValue(const String& Name, Variant& Value) {
    ++Calls;
    Value = Parser->Calculate("[" + Name + "] + 1");
  }
};

TEST(ZrCallbacks, EndlessNestingStopsWithAnErrorAndLeavesTheParserUsable) {
  TzrParser parser;
  TSelfReferringResolver resolver;
  resolver.Parser = &parser;
  parser.OnGetValue = TzrGetValueEvent(&resolver, &TSelfReferringResolver::GetValue);
  EXPECT_THROW(parser.Calculate("[A]"), EzrParserError);
  EXPECT_EQ(resolver.Calls, zrMaxNesting);
  parser.OnGetValue = nullptr;
  // The nesting count came back down: deep but finite nesting still works.
  ExpectValue(parser.Calculate("1+1"), Variant(2.0), "after");
}

// Names resolved by evaluating the expressions of a table, as a report's dictionary variables are.
class TExpressionTable : public TObject {
 public:
  TzrParser* Parser = nullptr;
  std::map<String, String> Expressions;
  void GetValue(const String& Name, Variant& Value) { Value = Parser->Calculate(Expressions.at(Name)); }
};

TEST(ZrCallbacks, AVariableReachedAgainThroughAnotherIsAnError) {
  TzrParser parser;
  TExpressionTable table;
  table.Parser = &parser;
  parser.OnGetValue = TzrGetValueEvent(&table, &TExpressionTable::GetValue);
  table.Expressions = {{"A", "[B] + 1"}, {"B", "[C] * 2"}, {"C", "[A] - 1"}};
  EXPECT_THROW(parser.Calculate("[A]"), EzrParserError);
  // Once the cycle is broken the same names evaluate.
  table.Expressions["C"] = "3";
  ExpectValue(parser.Calculate("[A]"), Variant(7.0), "A = (3 * 2) + 1");
}

// ---- TzrVariables

TEST(ZrVariables, ByNameAndByIndex) {
  TzrVariables v;
  v.SetByName("Beta", Variant(2));
  v.SetByName("alpha", Variant("a"));
  v.SetByName("BETA", Variant(3));  // same variable, any case
  ASSERT_EQ(v.Count(), 2);
  EXPECT_EQ(v.NameAt(0), "Beta");  // insertion order
  EXPECT_EQ(v.NameAt(1), "alpha");
  EXPECT_TRUE(v.GetByName("beta") == Variant(3));
  EXPECT_TRUE(VarIsEmpty(v.GetByName("gamma")));
  EXPECT_EQ(v.IndexOf("ALPHA"), 1);
  EXPECT_EQ(v.IndexOf("gamma"), -1);

  EXPECT_TRUE(v.GetByIndex(5) == Variant(0));
  EXPECT_EQ(VarType(v.GetByIndex(-1)), varInteger);
  EXPECT_EQ(v.NameAt(2), "");
  v.SetByIndex(2, Variant(9));
  v.SetByIndex(0, Variant(9));
  EXPECT_TRUE(v.GetByName("Beta") == Variant(9));
  v.RenameAt(1, "first");
  EXPECT_EQ(v.NameAt(1), "first");
  EXPECT_TRUE(v.GetByName("first") == Variant("a"));
  v.RenameAt(7, "x");

  v.Delete(0);
  v.Delete(4);
  ASSERT_EQ(v.Count(), 1);
  EXPECT_EQ(v.NameAt(0), "first");
  v.Clear();
  EXPECT_EQ(v.Count(), 0);
}

TEST(ZrVariables, SortedModeKeepsNameOrder) {
  TzrVariables v;
  v.SetByName("c", Variant(3));
  v.SetByName("A", Variant(1));
  v.SetSorted(true);
  v.SetByName("b", Variant(2));
  v.SetByName("C", Variant(30));
  ASSERT_EQ(v.Count(), 3);
  EXPECT_EQ(v.NameAt(0), "A");
  EXPECT_EQ(v.NameAt(1), "b");
  EXPECT_EQ(v.NameAt(2), "c");
  EXPECT_TRUE(v.GetByName("c") == Variant(30));
  v.RenameAt(0, "z");  // moves to its place
  EXPECT_EQ(v.NameAt(2), "z");
  EXPECT_TRUE(v.GetByName("Z") == Variant(1));
}

// ---- function splitting

class ZrSplitter : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {"AVG", "COUNT", "MAX", "MIN", "SUM"}) Names.Add(n);
    Variables.SetByName("Total", Variant("SUM([Qty])"));
    Variables.SetByName("Twice", Variant("[Total] * 2"));
  }
  std::vector<String> Split(const String& Expression) {
    TStringList found;
    TzrFunctionSplitter splitter(&Names, &found, &Variables);
    splitter.Split(Expression);
    std::vector<String> out;
    for (int i = 0; i < found.Count(); ++i) out.push_back(found[i]);
    return out;
  }
  TStringList Names;
  TzrVariables Variables;
};

TEST_F(ZrSplitter, FindsCallsInnerFirstAndFollowsVariables) {
  struct Case {
    const char* Expression;
    std::vector<String> Calls;
  } cases[] = {
      {"SUM([a]) + SUM([b])", {"SUM([a])", "SUM([b])"}},
      {"SUM(MAX([x]))", {"MAX([x])", "SUM(MAX([x]))"}},
      {"'SUM(1)'", {}},
      {"[Total] * 2", {"SUM([Qty])"}},
      {"Total + 1", {"SUM([Qty])"}},
      {"1 + [Total]", {"SUM([Qty])"}},
      {"[Twice]", {"SUM([Qty])"}},  // through two variables
      {"[Total] + [Total]", {"SUM([Qty])", "SUM([Qty])"}},
      {"(sum([a]))/2", {"sum([a])"}},
      {"IF([a] > 0, AVG([b], Band1), 0)", {"AVG([b], Band1)"}},
      {"FORMATFLOAT('0.00', COUNT(MasterData1))", {"COUNT(MasterData1)"}},
      {"[[Total]]", {"SUM([Qty])"}},
      {"LENGTH([x])", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.Expression), c.Calls) << c.Expression;
}

TEST_F(ZrSplitter, SelfReferringVariablesAreAnError) {
  Variables.SetByName("Loop1", Variant("[Loop2] + 1"));
  Variables.SetByName("Loop2", Variant("Loop1 * 2"));
  Variables.SetByName("Self", Variant("SUM([Self])"));
  try {
    Split("[Loop1]");
    FAIL() << "no exception";
  } catch (const EzrParserError& e) {
    EXPECT_NE(e.Message.find("Loop1"), String::npos) << e.Message;
  }
  EXPECT_THROW(Split("Self"), EzrParserError);
}

}  // namespace
