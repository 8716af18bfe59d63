// Tests of the script interpreter: code lines compiled from scripts, compile errors with their
// line and column, limits, execution of small programs and the step guard.
#include "ZR_Intrp.h"

#include <gtest/gtest.h>

#include <map>

#include "StrUtils.h"

namespace {

// Code line builders.
String Target(int Line) { return String{static_cast<char>(Line & 0xFF), static_cast<char>(Line >> 8)}; }
String CondJump(int Line, const String& Postfix) { return String(1, zrCodeCondJump) + Target(Line) + Postfix; }
String Jump(int Line) { return String(1, zrCodeJump) + Target(Line); }
String Call(const String& Postfix) { return String(1, zrCodeCall) + Postfix; }

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

std::vector<std::string> VisibleLines(TStrings* L) {
  std::vector<std::string> out;
  for (int i = 0; i < L->Count(); ++i) out.push_back(Visible(L->Strings(i)));
  return out;
}

std::vector<std::string> VisibleLines(const std::vector<String>& L) {
  std::vector<std::string> out;
  for (const String& s : L) out.push_back(Visible(s));
  return out;
}

void SetLines(TStringList& List, const std::vector<String>& Lines) {
  List.Clear();
  for (const String& s : Lines) List.Add(s);
}

// An interpreter whose names live in a map and whose calls and assignments are recorded.
class TRecordingInterpretator : public TzrInterpretator {
 public:
  std::map<String, Variant> Vars;  // upper-case names
  std::vector<String> Log;

  void GetVariable(const String& Name, Variant& Value) override {
    auto it = Vars.find(AnsiUpperCase(Name));
    if (it != Vars.end()) Value = it->second;
  }
  void SetVariable(const String& Name, const Variant& Value) override {
    Log.push_back("set " + Name + "=" + VarToStr(Value));
    Vars[AnsiUpperCase(Name)] = Value;
  }
  void CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                    Variant& Val) override {
    Log.push_back("call " + Name + "|" + VarToStr(p1) + "|" + VarToStr(p2) + "|" + VarToStr(p3));
    Val = Variant(7);
  }

  void Run(const std::vector<String>& Source) {
    TStringList src, code, errors;
    SetLines(src, Source);
    CompileScript(&src, &code, &errors);
    RunScript(&code);
  }
  int Int(const String& Name) { return Vars[AnsiUpperCase(Name)].AsInteger(); }
};

// ---- compiled code lines

TEST(ZrCompile, GoldenCodeLines) {
  struct Case {
    std::vector<String> Source;
    std::vector<String> Code;
  } cases[] = {
      {{}, {}},
      {{"{only a comment}"}, {}},
      {{"begin a := 1; b := a + 1 end"}, {"a 1 ", "b a 1 +"}},
      {{"a := 1; b := 2"}, {"a 1 "}},  // one statement only
      {{"begin", "  a := 1;", "  b := 'x'", "end"}, {"a 1 ", "b 'x' "}},
      {{"begin a := 1; end"}, {"a 1 "}},
      {{"begin begin a := 1; end; b := 2 end"}, {"a 1 ", "b 2 "}},
      {{"a\t:=\t1"}, {"a 1 "}},
      {{"a:=1"}, {"a 1 "}},
      {{"if [x] > 1 then y := 1 else y := 2"}, {CondJump(3, "[x] 1 >"), "y 1 ", Jump(4), "y 2 "}},
      {{"if a then b := 1"}, {CondJump(2, "a "), "b 1 "}},
      {{"if c then while d do e := 1 else f := 2"},
       {CondJump(5, "c "), CondJump(4, "d "), "e 1 ", Jump(1), Jump(6), "f 2 "}},
      {{"while i < 3 do i := i + 1"}, {CondJump(3, "i 3 <"), "i i 1 +", Jump(0)}},
      {{"repeat i := i + 1; j := i until i >= 3"}, {"i i 1 +", "j i ", CondJump(0, "i 3 \x01")}},
      {{"for i := 1 to n do s := s + i"}, {"i 1 ", CondJump(5, "i n \x02"), "s s i +", "i i 1 +", Jump(1)}},
      {{"begin 10: i := i + 1; if i < 5 then goto 10 end"}, {"i i 1 +", CondJump(3, "i 5 <"), Jump(0)}},
      {{"begin goto 20; a := 1; 20: b := 2 end"}, {Jump(2), "a 1 ", "b 2 "}},
      {{"begin 7: 7: a := 1; goto 7 end"}, {"a 1 ", Jump(0)}},  // a repeated label keeps its first place
      {{"begin exit; y := 1 end"}, {Call("exit(0)"), "y 1 "}},
      {{"begin if a then newpage else exit end"}, {CondJump(3, "a "), Call("newpage(0)"), Jump(4), Call("exit(0)")}},
      {{"a[i + 1] := 'x'"}, {Call("SETARRAY(a, i + 1, 'x')")}},
      {{"showband(Band1)"}, {Call("showband(Band1)")}},
      {{"b := -a * 2"}, {"b a 2 *\x09"}},
      {{"Memo1.Text := [Field] + f(1, 'a b')"}, {"Memo1.Text [Field] f(1, 'a b')+"}},
      {{"begin {note} a := 1 // trailing", " end"}, {"a 1 "}},
      {{"x := 'a {not a comment} // b'"}, {"x 'a {not a comment} // b' "}},
      {{"x := 'It''s'"}, {"x 'It''s' "}},
      // Comment marks inside a literal within a call or parentheses stay in the literal.
      {{"x := f('{a}')"}, {"x f('{a}')"}},
      {{"x := ('{b}')"}, {"x '{b}' "}},
      {{"x := copy('//x', 1, 2)"}, {"x copy('//x', 1, 2)"}},
      {{"x := f('a''{b}', 'c')"}, {"x f('a''{b}', 'c')"}},
      {{"x := f('a'){c} + 1"}, {"x f('a')1 +"}},
      {{"s := x[2] + (1 mod 3)"}, {"s x[2] 1 3 \x0d+"}},
  };
  TzrInterpretator interp;
  for (const Case& c : cases) {
    TStringList src, code, errors;
    SetLines(src, c.Source);
    interp.CompileScript(&src, &code, &errors);
    EXPECT_EQ(VisibleLines(&code), VisibleLines(c.Code)) << (c.Source.empty() ? "" : c.Source[0]);
    EXPECT_EQ(errors.Count(), 0);
  }
}

TEST(ZrCompile, CompilesInPlace) {
  TzrInterpretator interp;
  TStringList script, errors;
  SetLines(script, {"begin", "a := 2", "end"});
  interp.CompileScript(&script, &script, &errors);
  EXPECT_EQ(VisibleLines(&script), (std::vector<std::string>{"a 2 "}));
}

// ---- compile errors

TEST(ZrCompileErrors, MessagesWithLineAndColumn) {
  struct Case {
    std::vector<String> Source;
    const char* Error;
  } cases[] = {
      {{"begin a := 1 end."}, "Line 1/14: Need \";\" or \"end\" here"},
      {{"begin a := 1", "b := 2 end"}, "Line 2/1: Need \";\" or \"end\" here"},
      {{"if a > 1 b := 2"}, "Line 1/10: Need \"then\" here"},
      {{"repeat a := 1 x"}, "Line 1/15: Need \";\" or \"until\" here"},
      {{"while a b := 1"}, "Line 1/9: Need \"do\" here"},
      {{"for i := 1 do x := 1"}, "Line 1/12: Need \"to\" here"},
      {{"for i := 1 to 3 x := 1"}, "Line 1/17: Need \"do\" here"},
      {{"goto x"}, "Line 1/6: \"goto\" label must be a number"},
      {{"a = 1"}, "Line 1/3: Need \":=\" here"},
      {{"a := (1 +", "2 ;"}, "Line 2/3: Need \")\" here"},
      {{"a := [x"}, "Line 1/6: Need \"]\" here"},
      {{"a := b[1;"}, "Line 1/9: Need \"]\" here"},
      {{"a[1 := 2"}, "Line 1/5: Need \"]\" here"},
      {{"a := f(1 2)"}, "Line 1/10: Need \",\" or \")\" here"},
      // Positions count the comments cut out before the error.
      {{"{abc} a = 1"}, "Line 1/9: Need \":=\" here"},
      {{"{x", "y} a 1"}, "Line 2/6: Need \":=\" here"},
      {{"begin // note", "  a := 1", "  b := 2", "end"}, "Line 3/3: Need \";\" or \"end\" here"},
      {{"begin a := 1 {one} {two} b"}, "Line 1/26: Need \";\" or \"end\" here"},
      // Errors this compiler adds to the classic list.
      {{"a := 'abc"}, "Line 1/6: Need \"'\" here"},
      {{"a := )"}, "Line 1/6: Need an expression here"},
      {{"begin a := 1; ; end"}, "Line 1/15: Need an expression here"},
      {{"begin goto 10 end"}, "Line 1/12: Label \"10\" is not defined"},
      {{"begin 10: a := 1; goto 100 end"}, "Line 1/24: Label \"100\" is not defined"},
      {{"1234567890123456: a := 1"}, "Line 1/1: Label too long (at most 15 digits)"},
      {{"goto 1234567890123456"}, "Line 1/6: Label too long (at most 15 digits)"},
  };
  TzrInterpretator interp;
  for (const Case& c : cases) {
    TStringList src, code, errors;
    SetLines(src, c.Source);
    code.Add("stale");
    try {
      interp.CompileScript(&src, &code, &errors);
      ADD_FAILURE() << "no error for " << c.Source[0];
    } catch (const EzrCompileError& e) {
      EXPECT_EQ(e.Message, c.Error) << c.Source[0];
    }
    ASSERT_EQ(errors.Count(), 1) << c.Source[0];
    EXPECT_EQ(errors[0], c.Error);
    EXPECT_EQ(code.Count(), 0) << "partial code kept for " << c.Source[0];
  }
}

TEST(ZrCompileErrors, FailedInPlaceCompileLeavesNothingToRun) {
  TRecordingInterpretator interp;
  TStringList script, errors;
  SetLines(script, {"begin a := 1; b := 2 c := 3 end"});
  EXPECT_THROW(interp.CompileScript(&script, &script, &errors), EzrCompileError);
  EXPECT_EQ(script.Count(), 0);
  interp.RunScript(&script);
  EXPECT_TRUE(interp.Log.empty());
}

TEST(ZrCompileErrors, AFourthArgumentIsReportedAtItsExpression) {
  TzrInterpretator interp;
  TStringList src, code, errors;
  SetLines(src, {"begin", "  a := f(1, 2, 3, 4)", "end"});
  EXPECT_THROW(interp.CompileScript(&src, &code, &errors), EzrCompileError);
  ASSERT_EQ(errors.Count(), 1);
  EXPECT_TRUE(StartsStr("Line 2/8: Trop d'arguments", errors[0])) << errors[0];
}

TEST(ZrCompileErrors, LabelTableHolds101Labels) {
  auto script = [](int Labels) {
    String s = "begin ";
    for (int i = 1; i <= Labels; ++i) s += IntToStr(i) + ": a := " + IntToStr(i) + "; ";
    return s + "goto 1 end";
  };
  TzrInterpretator interp;
  TStringList src, code, errors;
  SetLines(src, {script(101)});
  interp.CompileScript(&src, &code, &errors);
  EXPECT_EQ(code.Count(), 102);
  EXPECT_EQ(Visible(code[101]), Visible(Jump(0)));

  String text = script(102);
  SetLines(src, {text});
  EXPECT_THROW(interp.CompileScript(&src, &code, &errors), EzrCompileError);
  ASSERT_EQ(errors.Count(), 1);
  int column = static_cast<int>(text.find("102:")) + 1;
  EXPECT_EQ(errors[0], "Line 1/" + IntToStr(column) + ": Too many labels (at most 101)");
}

TEST(ZrCompileErrors, SourceIsLimitedTo32000Characters) {
  // Each line counts with its line end.
  auto source = [](int Total) {
    String first = "a := 1";
    String comment = "{" + String(static_cast<std::size_t>(Total - 7 - 3), 'x') + "}";
    return std::vector<String>{first, comment};
  };
  TzrInterpretator interp;
  TStringList src, code, errors;
  SetLines(src, source(32000));
  interp.CompileScript(&src, &code, &errors);
  EXPECT_EQ(VisibleLines(&code), (std::vector<std::string>{"a 1 "}));

  SetLines(src, source(32001));
  EXPECT_THROW(interp.CompileScript(&src, &code, &errors), EzrCompileError);
  ASSERT_EQ(errors.Count(), 1);
  EXPECT_EQ(errors[0], "Line 2/31994: Script too long (at most 32000 characters)");
}

String Repeat(const char* Piece, int Times) {
  String s;
  for (int i = 0; i < Times; ++i) s += Piece;
  return s;
}

TEST(ZrCompileErrors, DeepNestingIsAnErrorWithLineAndColumn) {
  // Each of these exhausted the stack; the level past the limit is reported where it starts.
  struct Case {
    std::vector<String> Source;
    const char* Error;
  } cases[] = {
      {{"begin a := " + Repeat("(", 3000) + "1" + Repeat(")", 3000) + " end"}, "Line 1/110"},
      {{"begin", Repeat("if 1 then ", 2000) + "a := 1 end"}, "Line 2/984"},
      {{Repeat("begin ", 2900) + "a := 1" + Repeat(" end", 2900)}, "Line 1/601"},
      {{"a := " + Repeat("-", 3000) + "1"}, "Line 1/105"},
      {{"a := f(" + Repeat("g(", 3000) + "1" + Repeat(")", 3001)}, "Line 1/204"},
  };
  TzrInterpretator interp;
  for (const Case& c : cases) {
    TStringList src, code, errors;
    SetLines(src, c.Source);
    EXPECT_THROW(interp.CompileScript(&src, &code, &errors), EzrCompileError);
    ASSERT_EQ(errors.Count(), 1);
    EXPECT_EQ(errors[0], String(c.Error) + ": Nesting too deep (at most 100 levels)");
    EXPECT_EQ(code.Count(), 0);
  }
}

TEST(ZrCompile, LongChainsAreNotNesting) {
  TRecordingInterpretator interp;
  interp.Run({"begin a := 1" + Repeat(" + 1", 7000) + "; b := 2" + Repeat(" * 1", 500) + " end"});
  EXPECT_EQ(interp.Int("a"), 7001);
  EXPECT_EQ(interp.Int("b"), 2);
  interp.Run({Repeat("begin ", 90) + "c := " + Repeat("(", 5) + "3" + Repeat(")", 5) + Repeat(" end", 90)});
  EXPECT_EQ(interp.Int("c"), 3);
}

// ---- execution

TEST(ZrRun, SmallPrograms) {
  struct Case {
    std::vector<String> Source;
    std::map<String, int> Expected;
  } cases[] = {
      {{"begin a := 1; b := a + 1 end"}, {{"A", 1}, {"B", 2}}},
      {{"begin x := 2; if x > 1 then y := 1 else y := 2 end"}, {{"Y", 1}}},
      {{"begin x := 0; if x > 1 then y := 1 else y := 2 end"}, {{"Y", 2}}},
      {{"begin i := 0; 10: i := i + 1; if i < 5 then goto 10 end"}, {{"I", 5}}},
      {{"begin s := 0; for i := 1 to 4 do s := s + i end"}, {{"S", 10}, {"I", 5}}},
      {{"begin s := 0; for i := 3 to 2 do s := 1 end"}, {{"S", 0}, {"I", 3}}},
      // The limit is read again before every round.
      {{"begin c := 0; n := 3; for i := 1 to n do begin n := 2; c := c + 1 end end"}, {{"C", 2}}},
      {{"begin i := 0; while i < 3 do i := i + 1 end"}, {{"I", 3}}},
      {{"begin i := 10; repeat i := i + 1 until i >= 3 end"}, {{"I", 11}}},
      {{"begin k := 0; goto 5; k := 1; 5: m := 2 end"}, {{"K", 0}, {"M", 2}}},
      {{"begin x := 7 mod 4; y := round(2.5); z := 2 = 2 or 1 end"}, {{"X", 3}, {"Y", 2}, {"Z", 0}}},
  };
  for (const Case& c : cases) {
    TRecordingInterpretator interp;
    interp.Run(c.Source);
    for (const auto& [name, value] : c.Expected) EXPECT_EQ(interp.Int(name), value) << c.Source[0] << " " << name;
  }
}

TEST(ZrRun, ExitStopsAndCallsGoToCallFunction) {
  TRecordingInterpretator interp;
  interp.Run({"begin a := f(1, 'x'); showband(Band1); newpage; Exit; y := 1 end"});
  EXPECT_EQ(interp.Log, (std::vector<String>{"call F|1| 'x'|", "set a=7", "call SHOWBAND|Band1||",
                                             "call NEWPAGE|0||"}));
}

TEST(ZrRun, ArrayAssignmentCallsSetArray) {
  TRecordingInterpretator interp;
  interp.Run({"begin i := 1; a[i + 1] := 'v' end"});
  EXPECT_EQ(interp.Log, (std::vector<String>{"set i=1", "call SETARRAY|a| i + 1| 'v'"}));
}

TEST(ZrRun, EmptyScriptDoesNothing) {
  TRecordingInterpretator interp;
  interp.Run({});
  interp.Run({"", "  "});
  EXPECT_TRUE(interp.Log.empty());
}

TEST(ZrRun, EvaluationErrorsPropagate) {
  TRecordingInterpretator interp;
  EXPECT_THROW(interp.Run({"begin a := 1; b := copy('x', 'y', 1) end"}), EConvertError);
  EXPECT_EQ(interp.Log, (std::vector<String>{"set a=1"}));
}

TEST(ZrRun, EndlessLoopStopsAtTheStepLimit) {
  TRecordingInterpretator interp;
  interp.MaxSteps = 100;
  try {
    interp.Run({"while 1 do a := 1"});
    FAIL() << "no exception";
  } catch (const EzrScriptError& e) {
    EXPECT_NE(e.Message.find("100"), String::npos) << e.Message;
  }
  // Three lines per round: the 100 steps set the variable in 33 of them.
  EXPECT_EQ(interp.Log.size(), 33u);

  // A long honest loop stays below the default limit; an endless one reaches it.
  TRecordingInterpretator fresh;
  EXPECT_EQ(fresh.MaxSteps, zrDefaultMaxSteps);
  TStringList src, code, errors;
  SetLines(src, {"begin s := 0; for i := 1 to 1000 do s := s + i end"});
  fresh.CompileScript(&src, &code, &errors);
  fresh.RunScript(&code);
  EXPECT_EQ(fresh.Int("S"), 500500);
  SetLines(src, {"10: goto 10"});
  fresh.CompileScript(&src, &code, &errors);
  EXPECT_THROW(fresh.RunScript(&code), EzrScriptError);
}

TEST(ZrRun, SplitExpressionsFindsAggregatesInEveryKindOfLine) {
  TzrInterpretator interp;
  TStringList src, code, errors, names, found;
  SetLines(src, {"begin if SUM([a]) > 0 then x := AVG([b]) else goto 1; 1: showband(MAX([c])) end"});
  interp.CompileScript(&src, &code, &errors);
  for (const char* n : {"AVG", "COUNT", "MAX", "MIN", "SUM"}) names.Add(n);
  TzrVariables vars;
  interp.SplitExpressions(&code, &names, &vars, &found);
  EXPECT_EQ(VisibleLines(&found), (std::vector<std::string>{"SUM([a])", "AVG([b])", "MAX([c])"}));
}

}  // namespace
