// This file implements the fuzz target of the report script compiler: compiling a script, running
// what compiled under a step limit, and splitting its expressions as the report does for its
// aggregate functions.
#include <map>

#include "FuzzSupport.h"
#include "StrUtils.h"
#include "Strings.h"
#include "ZR_Intrp.h"

namespace {

class TFuzzInterpretator : public TzrInterpretator {
 public:
  std::map<String, Variant> Vars;
  void GetVariable(const String& Name, Variant& Value) override {
    auto It = Vars.find(AnsiUpperCase(Name));
    if (It != Vars.end()) Value = It->second;
  }
  void SetVariable(const String& Name, const Variant& Value) override {
    if (Vars.size() < 1000) Vars[AnsiUpperCase(Name)] = Value;
  }
  void CallFunction(const String&, const Variant& P1, const Variant&, const Variant&, Variant& Val) override {
    Val = Parser()->Calculate(VarToStr(P1));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TStringList Source, Code, Errors, Functions, Split;
  Source.SetText(Fuzz::Text(Data, Size));
  TFuzzInterpretator Interpretator;
  Interpretator.MaxSteps = 5000;
  try {
    Interpretator.CompileScript(&Source, &Code, &Errors);
  } catch (const EzrCompileError& E) {
    Fuzz::Check(Code.Count() == 0, "a script that does not compile leaves no code");
    Fuzz::Check(Errors.Count() == 1 && StartsStr("Line ", Errors[0]), "a compile error says where");
    return 0;
  }
  try {
    Interpretator.RunScript(&Code);
  } catch (const Exception&) {
  }
  Functions.Add("SUM");
  Functions.Add("COUNT");
  try {
    Interpretator.SplitExpressions(&Code, &Functions, nullptr, &Split);
  } catch (const Exception&) {
  }
  return 0;
}
