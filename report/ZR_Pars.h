// This file implements the report engine's expression machinery: TzrVariables (ordered named
// values), TzrParser (infix to postfix conversion and evaluation on Variants, with the lexical
// helpers shared by the script compiler and the report objects) and TzrFunctionSplitter (finding
// the calls of chosen functions inside expressions).
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "AnsiString.h"
#include "Event.h"
#include "Exceptions.h"
#include "Object.h"
#include "Strings.h"
#include "Variant.h"

// Malformed expressions, expressions beyond the evaluator's limits and self-referring variables.
VELBOR_EXCEPTION(EzrParserError, Exception)

// Operator codes of the postfix text. Compiled scripts store them: the values never change.
// '*', '+', '-', '/', '<', '=', '>' stand for themselves.
inline constexpr char zrOpGreaterEqual = 1;
inline constexpr char zrOpLessEqual = 2;
inline constexpr char zrOpNotEqual = 3;
inline constexpr char zrOpOr = 4;
inline constexpr char zrOpAnd = 5;
inline constexpr char zrOpInt = 6;
inline constexpr char zrOpFrac = 7;
inline constexpr char zrOpNegate = 9;
inline constexpr char zrOpUnaryPlus = 10;
inline constexpr char zrOpStr = 11;
inline constexpr char zrOpNot = 12;
inline constexpr char zrOpMod = 13;
inline constexpr char zrOpRound = 14;

// Values an expression may hold pending at once.
inline constexpr int zrMaxStackDepth = 32;
// Evaluations nested inside one another (a name resolved by evaluating another expression, which
// resolves another name...). Legitimate reports stay far below; a variable defined through itself
// reaches it and fails cleanly instead of exhausting the machine stack.
inline constexpr int zrMaxNesting = 64;
// Arguments of a call.
inline constexpr int zrMaxArguments = 3;

using TzrArguments = std::array<String, zrMaxArguments>;

// ParName is the name or the bracketed text to resolve; ParValue arrives empty.
using TzrGetValueEvent = TEvent<void(const String& ParName, Variant& ParValue)>;
// Name is upper-cased; p1..p3 hold the argument texts, not evaluated (missing ones are empty
// texts); Val arrives empty.
using TzrFunctionEvent =
    TEvent<void(const String& Name, const Variant& p1, const Variant& p2, const Variant& p3, Variant& Val)>;

// The text between the '[' at Start and its matching ']', brackets inside single or double quotes
// not counting; End becomes the position of that ']' (the length plus 1 when it is missing).
// Positions are 1-based. When Start is not on a '[' the result is empty and End is left alone.
String ExtractBracketed(const String& S, int& Start, int& End);
// The binding priority of an operator code: lower binds more tightly; 0 for anything else.
int OperatorPriority(char C);

// An ordered list of named Variants; names compare without regard to case.
class TzrVariables : public TObject {
  VELBOR_DECLARE_CLASS(TzrVariables, TObject)
 public:
  TzrVariables();
  ~TzrVariables() override;

  // Sorted: binary search by name, duplicates ignored; unsorted: insertion order.
  void SetSorted(bool Value);
  bool Sorted() const;

  void SetByName(const String& Name, const Variant& Value);
  Variant GetByName(const String& Name) const;  // empty when missing
  void SetByIndex(int Index, const Variant& Value);
  Variant GetByIndex(int Index) const;  // the integer 0 when out of range
  String NameAt(int Index) const;       // empty when out of range
  void RenameAt(int Index, const String& Name);
  int IndexOf(const String& Name) const;
  int Count() const;
  void Delete(int Index);
  void Clear();

 private:
  std::unique_ptr<TStringList> FList;
};

// Converts and evaluates expressions. Names and calls it does not know itself go to the two
// callbacks; without a callback they give an empty value.
class TzrParser : public TObject {
  VELBOR_DECLARE_CLASS(TzrParser, TObject)
 public:
  TzrGetValueEvent OnGetValue;
  TzrFunctionEvent OnFunction;

  String ConvertToPostfix(const String& Expression);
  Variant Evaluate(const String& Postfix);
  // Convert, then evaluate: what callers normally use.
  Variant Calculate(const String& Expression);

  // Lexical helpers, 1-based positions.
  // The token at Pos after skipping bytes up to the blank; it ends before a carriage return, blank,
  // '(', ')', '*', '+', '-', '/', '<', '=', '>' or '[' that is not inside double quotes.
  String ReadIdentifier(const String& S, int& Pos);
  // The single-quoted literal at Pos, quotes kept; Pos ends after the closing quote (or the end).
  String ReadQuoted(const String& S, int& Pos);
  // The arguments of the call whose '(' is at Pos, untrimmed; Pos ends after the ')'. Raises an
  // Exception with an empty message when the parenthesis is never closed, and EzrParserError on
  // more than three arguments.
  TzrArguments ReadArguments(const String& S, int& Pos);
};

// Appends to a target list the source text of every call of a chosen function found in an
// expression, inner calls first, following bracketed names and names that are variables of the
// given list into the expressions those variables hold.
class TzrFunctionSplitter : public TObject {
  VELBOR_DECLARE_CLASS(TzrFunctionSplitter, TObject)
 public:
  // The three lists are not owned. Variables may be null.
  TzrFunctionSplitter(TStrings* MatchFuncs, TStrings* SplitTo, TzrVariables* Variables);
  ~TzrFunctionSplitter() override;

  // Raises EzrParserError when a variable is reached again through its own expression.
  void Split(const String& Expression);

 protected:
  std::unique_ptr<TzrParser> FParser;
  TStrings* FMatchFuncs;
  TStrings* FSplitTo;
  TzrVariables* FVariables;

 private:
  bool IsMatched(const String& Name) const;
  void FollowVariable(int Index);
  std::vector<String> FFollowing;  // variables whose expressions are being split
};
