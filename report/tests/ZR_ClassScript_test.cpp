// Tests of the report's binding of the script interpreter: where assignments go, and that names
// and calls reach the global parser's callbacks.
#include "ZR_ClassScript.h"

#include <gtest/gtest.h>

#include <set>

#include "StrUtils.h"

namespace {

// A report as the interpreter sees it, recording every call.
class TFakeHost : public TzrScriptHost {
 public:
  std::vector<String> Log;
  std::set<String> Dictionary;  // upper-case names
  std::set<String> Properties;  // upper-case dotted names that exist
  bool DialogPage = false;

  bool HasDictionaryVariable(const String& Name) override {
    Log.push_back("has " + Name);
    return Dictionary.count(AnsiUpperCase(Name)) > 0;
  }
  void SetDictionaryVariable(const String& Name, const Variant& Value) override {
    Log.push_back("dict " + Name + "=" + VarToStr(Value));
  }
  bool CurrentPageIsDialog() override {
    Log.push_back("dialog?");
    return DialogPage;
  }
  void SetDialogModalResult(int Value) override { Log.push_back("modal " + IntToStr(Value)); }
  void SetCurY(int Value) override { Log.push_back("cury " + IntToStr(Value)); }
  void ShowProgressText(const String& Text) override { Log.push_back("progress " + Text); }
  bool SetObjectProperty(const String& Name, const Variant& Value) override {
    Log.push_back("prop " + Name + "=" + VarToStr(Value));
    return Properties.count(AnsiUpperCase(Name)) > 0;
  }
};

// The report's value and function resolution, bound to the global parser.
class TFakeReport : public TObject {
 public:
  std::vector<String> Log;
  void ResolveName(const String& Name, Variant& Value) {
    Log.push_back("get " + Name);
    Value = Variant(5);
  }
  void CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val) {
    Log.push_back("fn " + Name + "|" + VarToStr(p1) + "|" + VarToStr(p2) + "|" + VarToStr(p3));
    Val = Variant(10);
  }
};

class ZrBinding : public ::testing::Test {
 protected:
  ZrBinding() : Interp(&GlobalParser, &ScriptVariables, &Host) {
    GlobalParser.OnGetValue = TzrGetValueEvent(&Report, &TFakeReport::ResolveName);
    GlobalParser.OnFunction = TzrFunctionEvent(&Report, &TFakeReport::CallFunction);
    ScriptVariables.SetSorted(true);
  }
  void Run(const String& Source) {
    TStringList src, code, errors;
    src.Add(Source);
    Interp.CompileScript(&src, &code, &errors);
    Interp.RunScript(&code);
  }

  TzrParser GlobalParser;
  TzrVariables ScriptVariables;
  TFakeHost Host;
  TFakeReport Report;
  TInterpretator Interp;
};

TEST_F(ZrBinding, AssignmentsAreRoutedInOrder) {
  struct Case {
    const char* Script;
    bool DialogPage;
    std::vector<String> HostLog;
    const char* ScriptVariable;  // created or set, with value "3"; null: none
  } cases[] = {
      {"Known := 3", false, {}, "Known"},  // an existing script variable: the report is not asked
      {"Dict := 3", false, {"has Dict", "dict Dict=3"}, nullptr},
      {"ModalResult := 1", true, {"has ModalResult", "dialog?", "modal 1"}, nullptr},
      {"modalresult := 1", false, {"has modalresult", "dialog?"}, nullptr},
      {"CurY := 120", false, {"has CurY", "cury 120"}, nullptr},
      {"Progress := 'Page ' + '3'", false, {"has Progress", "progress Page 3"}, nullptr},
      {"Memo1.Visible := 0", false, {"has Memo1.Visible", "prop Memo1.Visible=0"}, nullptr},
      {"Fresh := 3", false, {"has Fresh", "prop Fresh=3"}, "Fresh"},
  };
  for (const Case& c : cases) {
    ScriptVariables.Clear();
    ScriptVariables.SetByName("Known", Variant(0));
    Host.Log.clear();
    Host.Dictionary = {"DICT"};
    Host.Properties = {"MEMO1.VISIBLE"};
    Host.DialogPage = c.DialogPage;
    Run(c.Script);
    EXPECT_EQ(Host.Log, c.HostLog) << c.Script;
    int expectedCount = c.ScriptVariable && String(c.ScriptVariable) != "Known" ? 2 : 1;
    EXPECT_EQ(ScriptVariables.Count(), expectedCount) << c.Script;
    if (c.ScriptVariable) {
      EXPECT_EQ(VarToStr(ScriptVariables.GetByName(c.ScriptVariable)), "3") << c.Script;
    }
  }
}

TEST_F(ZrBinding, NamesAndCallsGoToTheGlobalParsersCallbacks) {
  Run("a := x + f(1, [y])");
  EXPECT_EQ(Report.Log, (std::vector<String>{"get X", "fn F|1| [y]|"}));
  EXPECT_TRUE(ScriptVariables.GetByName("a") == Variant(15));
}

TEST_F(ZrBinding, WithoutAReportOnlyScriptVariablesAreReached) {
  Interp.SetHost(nullptr);
  Run("begin ModalResult := 1; CurY := 2; Progress := 3; Memo1.Left := 4 end");
  EXPECT_TRUE(Host.Log.empty());
  ASSERT_EQ(ScriptVariables.Count(), 1);
  EXPECT_EQ(ScriptVariables.NameAt(0), "Memo1.Left");
}

}  // namespace
