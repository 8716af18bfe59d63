// This file implements TzrInterpretator, the report engine's script interpreter: a compiler from
// the block-structured script language to code lines (jumps with 16-bit targets, calls and
// assignments whose expressions are postfix texts of TzrParser) and a runner of those lines.
#pragma once

#include <memory>

#include "ZR_Pars.h"

// A script that cannot run: compile errors (the message is the first "Line l/c: ..." entry) and
// scripts that exceed the step limit.
VELBOR_EXCEPTION(EzrScriptError, Exception)
VELBOR_EXCEPTION(EzrCompileError, EzrScriptError)

// First byte of a code line; any other first byte is an assignment ("name value").
inline constexpr char zrCodeCondJump = 1;  // target (u16 LE), then the condition: jump when it equals 0
inline constexpr char zrCodeJump = 2;      // target (u16 LE)
inline constexpr char zrCodeCall = 3;      // the call's postfix text

// The compile buffer holds the source with one carriage return per line.
inline constexpr int zrMaxScriptSize = 32000;
inline constexpr int zrMaxLabels = 101;
inline constexpr int zrMaxLabelLength = 16;  // the digits and the ':'
// Statements and expressions nested inside one another. Report scripts nest a few levels; the
// limit keeps the compiler's recursion far inside the 1 MB stack of the program's thread.
inline constexpr int zrMaxScriptNesting = 100;
// Lines executed by one RunScript. Report scripts do a few hundred; a million is far beyond any
// honest loop (it takes about a second) and stops an endless one with a message.
inline constexpr int zrDefaultMaxSteps = 1000000;

class TzrInterpretator : public TObject {
  VELBOR_DECLARE_CLASS(TzrInterpretator, TObject)
 public:
  TzrInterpretator();
  ~TzrInterpretator() override;

  // The parser's callbacks lead here; the base class resolves nothing and sets nothing.
  virtual void GetVariable(const String& Name, Variant& Value);
  virtual void SetVariable(const String& Name, const Variant& Value);
  virtual void CallFunction(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3,
                            Variant& Val);
  // Compiles Memo into Script (they may be the same list). On a syntax error Script is left empty,
  // the error "Line l/c: message" is appended to Errors (which may be null) and EzrCompileError is
  // raised with it: a script that does not compile never runs in part.
  virtual void CompileScript(TStrings* Memo, TStrings* Script, TStrings* Errors);
  // Runs compiled lines. Evaluation errors propagate; more than MaxSteps lines raise EzrScriptError.
  virtual void RunScript(TStrings* Script);

  // Hands the expression of every code line to a TzrFunctionSplitter.
  void SplitExpressions(TStrings* Script, TStrings* MatchFuncs, TzrVariables* Variables, TStrings* SplitTo);

  TzrParser* Parser() const { return FParser.get(); }

  int MaxSteps = zrDefaultMaxSteps;

 private:
  std::unique_ptr<TzrParser> FParser;
};
