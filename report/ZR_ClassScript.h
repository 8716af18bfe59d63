// This file implements the report's binding of the script interpreter: TInterpretator, which
// reads names and calls functions through the engine's global parser and routes assignments to
// script variables, the report's dictionary, a few engine settings or report objects, and
// TzrScriptHost, what it needs of the report that is building.
#pragma once

#include "ZR_Intrp.h"

// The running report, as the interpreter sees it. The report implements it and hands it to the
// global interpreter while it builds.
class TzrScriptHost {
 public:
  virtual ~TzrScriptHost() = default;

  // The report's data dictionary.
  virtual bool HasDictionaryVariable(const String& Name) = 0;
  virtual void SetDictionaryVariable(const String& Name, const Variant& Value) = 0;
  // MODALRESULT: whether the current page is a dialog page, and its dialog form's modal result.
  virtual bool CurrentPageIsDialog() = 0;
  virtual void SetDialogModalResult(int Value) = 0;
  // CURY: marks the band being printed when either of its print counters is above 0 and sets the
  // current page's vertical print position.
  virtual void SetCurY(int Value) = 0;
  // PROGRESS: the progress window's second label, then pending messages are processed.
  virtual void ShowProgressText(const String& Text) = 0;
  // Object.property: true when the dotted name found an object that has the property and the
  // object took the value.
  virtual bool SetObjectProperty(const String& Name, const Variant& Value) = 0;
};

class TInterpretator : public TzrInterpretator {
  VELBOR_DECLARE_CLASS(TInterpretator, TzrInterpretator)
 public:
  // GlobalParser and ScriptVariables are the engine's singletons; none of the three is owned.
  TInterpretator(TzrParser* GlobalParser, TzrVariables* ScriptVariables, TzrScriptHost* Host = nullptr);

  // Without a host (no report building) only the script variables are reached.
  TzrScriptHost* Host() const { return FHost; }
  void SetHost(TzrScriptHost* Value) { FHost = Value; }

  void GetVariable(const String& Name, Variant& Value) override;
  void SetVariable(const String& Name, const Variant& Value) override;
  void CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                    Variant& Val) override;

 private:
  TzrParser* FGlobalParser;
  TzrVariables* FScriptVariables;
  TzrScriptHost* FHost;
};
