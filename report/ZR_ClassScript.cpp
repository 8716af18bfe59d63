// This file implements the report's binding of the script interpreter.
#include "ZR_ClassScript.h"

#include "StrUtils.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TInterpretator)

TInterpretator::TInterpretator(TzrParser* GlobalParser, TzrVariables* ScriptVariables, TzrScriptHost* Host)
    : FGlobalParser(GlobalParser), FScriptVariables(ScriptVariables), FHost(Host) {}

void TInterpretator::GetVariable(const String& Name, Variant& Value) {
  if (FGlobalParser->OnGetValue) FGlobalParser->OnGetValue(Name, Value);
}

void TInterpretator::CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                                  Variant& Val) {
  if (FGlobalParser->OnFunction) FGlobalParser->OnFunction(Name, p1, p2, p3, Val);
}

void TInterpretator::SetVariable(const String& Name, const Variant& Value) {
  if (FScriptVariables->IndexOf(Name) >= 0) {
    FScriptVariables->SetByName(Name, Value);
    return;
  }
  if (FHost && FHost->HasDictionaryVariable(Name)) {
    FHost->SetDictionaryVariable(Name, Value);
    return;
  }
  String upper = AnsiUpperCase(Name);
  if (upper == "MODALRESULT") {
    if (FHost && FHost->CurrentPageIsDialog()) FHost->SetDialogModalResult(Value.AsInteger());
    return;
  }
  if (upper == "CURY") {
    if (FHost) FHost->SetCurY(Value.AsInteger());
    return;
  }
  if (upper == "PROGRESS") {
    if (FHost) FHost->ShowProgressText(VarToStr(Value));
    return;
  }
  if (FHost && FHost->SetObjectProperty(Name, Value)) return;
  FScriptVariables->SetByName(Name, Value);
}
