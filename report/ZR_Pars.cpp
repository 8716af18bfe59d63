// This file implements the report engine's expression machinery: named variables, the postfix
// converter and evaluator, its lexical helpers and the function splitter.
#include "ZR_Pars.h"

#include <cmath>
#include <cstring>

#include "DateTimeFormat.h"
#include "FloatFormat.h"
#include "FormatSettings.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"

VELBOR_IMPLEMENT_CLASS(TzrVariables)
VELBOR_IMPLEMENT_CLASS(TzrParser)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TzrFunctionSplitter)

namespace {

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
int Len(const String& S) { return static_cast<int>(S.size()); }
// The character at a 1-based position, 0 beyond the end.
char At(const String& S, int Pos) { return Pos >= 1 && Pos <= Len(S) ? S[Pos - 1] : '\0'; }

bool IsBinaryCode(char C) {
  switch (C) {
    case zrOpGreaterEqual: case zrOpLessEqual: case zrOpNotEqual: case zrOpOr: case zrOpAnd:
    case zrOpMod: case '*': case '+': case '-': case '/': case '<': case '=': case '>':
      return true;
    default:
      return false;
  }
}

bool IsPrefixCode(char C) {
  switch (C) {
    case zrOpInt: case zrOpFrac: case zrOpNegate: case zrOpUnaryPlus: case zrOpStr: case zrOpNot:
    case zrOpRound:
      return true;
    default:
      return false;
  }
}

// Nearest integer, halves to the even neighbour. x - floor(x) is exact for every double.
double RoundHalfEven(double X) {
  double f = std::floor(X);
  double d = X - f;
  if (d > 0.5) return f + 1;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// A value holder for the string list's objects.
class TzrVariableValue : public TObject {
 public:
  explicit TzrVariableValue(const Variant& V) : Value(V) {}
  Variant Value;
};

// Counts evaluations in progress on the engine's one thread.
int NestingDepth = 0;

class TNestingGuard {
 public:
  TNestingGuard() {
    if (NestingDepth >= zrMaxNesting)
      throw EzrParserError(
          "Expressions imbriquées trop profondément : une variable est-elle définie par elle-même ?"_a);
    ++NestingDepth;
  }
  ~TNestingGuard() { --NestingDepth; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;
};

bool KeywordOperator(const String& Token, char& Code) {
  static const struct {
    const char* Name;
    char Code;
  } kWords[] = {{"INT", zrOpInt}, {"FRAC", zrOpFrac}, {"ROUND", zrOpRound}, {"OR", zrOpOr},
                {"AND", zrOpAnd}, {"NOT", zrOpNot},   {"STR", zrOpStr},     {"MOD", zrOpMod}};
  for (const auto& w : kWords)
    if (SameText(Token, w.Name)) {
      Code = w.Code;
      return true;
    }
  return false;
}

}  // namespace

// ---- lexical helpers

String ExtractBracketed(const String& S, int& Start, int& End) {
  if (At(S, Start) != '[') return String();
  int depth = 0;
  bool inDouble = false, inSingle = false;
  int i = Start;
  for (; i <= Len(S); ++i) {
    char c = S[i - 1];
    if (c == '"' && !inSingle) {
      inDouble = !inDouble;
    } else if (c == '\'' && !inDouble) {
      inSingle = !inSingle;
    } else if (!inDouble && !inSingle) {
      if (c == '[') {
        ++depth;
      } else if (c == ']') {
        if (--depth == 0) break;
      }
    }
  }
  End = i;
  return Copy(S, Start + 1, End - Start - 1);
}

int OperatorPriority(char C) {
  switch (C) {
    case zrOpGreaterEqual: case zrOpLessEqual: case zrOpNotEqual: case '<': case '=': case '>':
      return 3;
    case zrOpOr: case zrOpAnd: case zrOpNot: case zrOpMod: case '*': case '/':
      return 1;
    case zrOpNegate: case zrOpUnaryPlus: case '+': case '-':
      return 2;
    case '(':
      return 5;
    case ')':
      return 4;
    default:
      return 0;
  }
}

String TzrParser::ReadIdentifier(const String& S, int& Pos) {
  while (Pos <= Len(S) && IsBlank(S[Pos - 1])) ++Pos;
  int start = Pos;
  int quotes = 0;
  for (; Pos <= Len(S); ++Pos) {
    char c = S[Pos - 1];
    if (c == '"') {
      ++quotes;
    } else if (quotes % 2 == 0 && std::strchr("\r ()*+-/<=>[", c) != nullptr) {
      break;
    }
  }
  return Copy(S, start, Pos - start);
}

String TzrParser::ReadQuoted(const String& S, int& Pos) {
  int start = Pos++;
  while (Pos <= Len(S)) {
    if (S[Pos - 1] == '\'') {
      if (At(S, Pos + 1) == '\'') {
        Pos += 2;
        continue;
      }
      ++Pos;
      break;
    }
    ++Pos;
  }
  return Copy(S, start, Pos - start);
}

TzrArguments TzrParser::ReadArguments(const String& S, int& Pos) {
  TzrArguments args;
  int count = 0;
  int depth = 1;
  bool quoted = false;
  int argStart = ++Pos;
  for (;; ++Pos) {
    if (Pos > Len(S)) throw Exception(String());
    char c = S[Pos - 1];
    if (c == '\'') {
      quoted = !quoted;
    } else if (!quoted) {
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (--depth == 0) {
          args[count] = Copy(S, argStart, Pos - argStart);
          ++Pos;
          return args;
        }
      } else if (c == ',' && depth == 1) {
        if (count == zrMaxArguments - 1)
          throw EzrParserError("Trop d'arguments (3 au plus) : "_a + S);
        args[count++] = Copy(S, argStart, Pos - argStart);
        argStart = Pos + 1;
      }
    }
  }
}

// ---- TzrVariables

TzrVariables::TzrVariables() : FList(std::make_unique<TStringList>()) {
  FList->OwnsObjects = true;
  FList->Duplicates = dupIgnore;
}

TzrVariables::~TzrVariables() = default;

void TzrVariables::SetSorted(bool Value) { FList->SetSorted(Value); }
bool TzrVariables::Sorted() const { return FList->Sorted(); }

void TzrVariables::SetByName(const String& Name, const Variant& Value) {
  int i = IndexOf(Name);
  if (i < 0)
    FList->AddObject(Name, new TzrVariableValue(Value));
  else
    SetByIndex(i, Value);
}

Variant TzrVariables::GetByName(const String& Name) const {
  int i = IndexOf(Name);
  return i < 0 ? Variant() : GetByIndex(i);
}

void TzrVariables::SetByIndex(int Index, const Variant& Value) {
  if (Index >= 0 && Index < Count()) static_cast<TzrVariableValue*>(FList->Objects(Index))->Value = Value;
}

Variant TzrVariables::GetByIndex(int Index) const {
  if (Index < 0 || Index >= Count()) return Variant(0);
  return static_cast<TzrVariableValue*>(FList->Objects(Index))->Value;
}

String TzrVariables::NameAt(int Index) const {
  return Index >= 0 && Index < Count() ? FList->Strings(Index) : String();
}

void TzrVariables::RenameAt(int Index, const String& Name) {
  if (Index < 0 || Index >= Count()) return;
  if (!FList->Sorted()) {
    FList->Put(Index, Name);
    return;
  }
  // A sorted list keeps its order: the entry moves to the place of its new name (beside a
  // namesake, as in an unsorted list, rather than being dropped).
  TObject* value = FList->Objects(Index);
  FList->PutObject(Index, nullptr);
  FList->Delete(Index);
  FList->Duplicates = dupAccept;
  FList->AddObject(Name, value);
  FList->Duplicates = dupIgnore;
}

int TzrVariables::IndexOf(const String& Name) const { return FList->IndexOf(Name); }
int TzrVariables::Count() const { return FList->Count(); }

void TzrVariables::Delete(int Index) {
  if (Index >= 0 && Index < Count()) FList->Delete(Index);
}

void TzrVariables::Clear() {
  while (Count() > 0) Delete(0);
}

// ---- conversion

String TzrParser::ConvertToPostfix(const String& S) {
  String out;
  String stack;  // its first character is the top
  bool afterOperand = false;

  auto popTo = [&]() {
    out += stack[0];
    stack.erase(0, 1);
  };
  auto pushOperator = [&](char Code) {
    if (!stack.empty() && !(OperatorPriority(Code) < OperatorPriority(stack[0]))) {
      do popTo();
      while (!stack.empty() && !(OperatorPriority(Code) < OperatorPriority(stack[0])));
    }
    stack.insert(stack.begin(), Code);
    afterOperand = false;
  };

  int n = Len(S);
  int i = 1;
  while (i <= n) {
    char c = S[i - 1];
    if (c == '\r' || c == ' ') {
      ++i;
      continue;
    }
    if (c == ';') break;
    if (c == '(') {
      stack.insert(stack.begin(), '(');
      afterOperand = false;
      ++i;
      continue;
    }
    if (c == ')') {
      while (!stack.empty() && stack[0] != '(') popTo();
      if (!stack.empty()) stack.erase(0, 1);
      ++i;
      continue;
    }
    if (std::strchr("*+-/<=>", c) != nullptr) {
      char next = At(S, i + 1);
      char code = c;
      if (c == '<' && next == '>') {
        code = zrOpNotEqual;
      } else if (c == '>' && next == '=') {
        code = zrOpGreaterEqual;
      } else if (c == '<' && next == '=') {
        code = zrOpLessEqual;
      } else if ((c == '-' || c == '+') && !afterOperand) {
        code = c == '-' ? zrOpNegate : zrOpUnaryPlus;
      }
      i += (code == zrOpNotEqual || code == zrOpGreaterEqual || code == zrOpLessEqual) ? 2 : 1;
      pushOperator(code);
      continue;
    }

    // An operand, possibly behind a two-character '%' prefix that stays in front of it.
    String prefix;
    if (c == '%') {
      prefix = Copy(S, i, 2);
      i += 2;
    }
    if (At(S, i) == '\'') {
      out += prefix + ReadQuoted(S, i) + ' ';
      afterOperand = true;
      continue;
    }
    if (At(S, i) == '[') {
      int start = i, end = i;
      ExtractBracketed(S, start, end);
      out += prefix + Copy(S, start, end - start + 1) + ' ';
      i = end + 1;
      afterOperand = true;
      continue;
    }
    while (i <= n && IsBlank(S[i - 1])) ++i;
    int tokenStart = i;
    String token = ReadIdentifier(S, i);
    // ';' ends the expression even inside a token, where ReadIdentifier keeps it ("1+2;3").
    bool stop = false;
    int quotes = 0;
    for (int k = 0; k < Len(token); ++k) {
      if (token[k] == '"') ++quotes;
      if (token[k] == ';' && quotes % 2 == 0) {
        token.resize(k);
        stop = true;
        break;
      }
    }
    if (!stop && At(S, i) == '[') {
      int start = i, end = i;
      ExtractBracketed(S, start, end);
      token += Copy(S, start, end - start + 1);
      i = end + 1;
    }
    char code;
    if (!token.empty() && (IsDigit(token[0]) || token[0] == ',' || token[0] == '.')) {
      out += prefix + token + ' ';
    } else if (KeywordOperator(token, code)) {
      pushOperator(code);
      if (stop) break;
      continue;
    } else if (!stop && At(S, i) == '(') {
      ReadArguments(S, i);
      out += prefix + Copy(S, tokenStart, i - tokenStart);
    } else {
      out += prefix + token + ' ';
    }
    afterOperand = true;
    if (stop) break;
  }
  return out + stack;
}

// ---- evaluation

Variant TzrParser::Evaluate(const String& S) {
  TNestingGuard guard;
  std::vector<Variant> stack(1, Variant(0));
  stack.reserve(zrMaxStackDepth);
  int count = 0;  // values pushed; stack[0] holds 0 until the first

  auto push = [&](const Variant& Value) {
    if (count == zrMaxStackDepth)
      throw EzrParserError("Expression trop complexe (plus de 32 valeurs en attente) : "_a + S);
    if (count < static_cast<int>(stack.size()))
      stack[count] = Value;
    else
      stack.push_back(Value);
    ++count;
  };
  auto missingOperand = [&]() {
    throw EzrParserError("Expression incorrecte : opérande manquant"_a);
  };

  int n = Len(S);
  int i = 1;
  while (i <= n) {
    char c = S[i - 1];
    if (IsBinaryCode(c)) {
      if (count < 2) missingOperand();
      Variant& a = stack[count - 2];
      const Variant& b = stack[count - 1];
      switch (c) {
        case '+': a = a + b; break;
        case '-': a = a - b; break;
        case '*': a = a * b; break;
        case '/': a = (!VarIsNull(b) && b == Variant(0)) ? Variant(0) : a / b; break;
        case zrOpMod: a = VarMod(a, b); break;
        case zrOpOr: a = VarOr(a, b); break;
        case zrOpAnd: a = VarAnd(a, b); break;
        case '<': a = Variant(a < b ? 1 : 0); break;
        case '=': a = Variant(a == b ? 1 : 0); break;
        case '>': a = Variant(a > b ? 1 : 0); break;
        case zrOpGreaterEqual: a = Variant(a >= b ? 1 : 0); break;
        case zrOpLessEqual: a = Variant(a <= b ? 1 : 0); break;
        case zrOpNotEqual: a = Variant(VarCompareValue(a, b) != vrEqual ? 1 : 0); break;
      }
      --count;
      ++i;
      continue;
    }
    if (IsPrefixCode(c)) {
      if (count < 1) missingOperand();
      Variant& v = stack[count - 1];
      switch (c) {
        case zrOpNegate: v = -v; break;
        case zrOpUnaryPlus: break;
        case zrOpNot: v = Variant(v == Variant(0) ? 1 : 0); break;
        case zrOpStr: v = Variant(VarToStr(v)); break;
        default: {
          double x = v.AsDouble();
          double r = RoundHalfEven(x);
          bool nearInteger = std::fabs(r - x) < 1e-10;
          if (c == zrOpInt)
            v = Variant(nearInteger ? r : std::trunc(x));
          else if (c == zrOpFrac)
            v = Variant(nearInteger ? 0.0 : x - std::trunc(x));
          else
            v = Variant(r);
        }
      }
      ++i;
      continue;
    }
    if (c == ' ') {
      ++i;
      continue;
    }
    if (c == '\'') {
      String text = ReadQuoted(S, i);
      text.erase(0, 1);
      if (Len(text) >= 1 && text.back() == '\'') text.pop_back();
      // Every run of quotes shrinks to one quote.
      for (std::size_t k; (k = text.find("''")) != String::npos;) text.erase(k, 1);
      push(Variant(text));
      continue;
    }
    if (c == '[') {
      int start = i, end = i;
      String name = ExtractBracketed(S, start, end);
      i = end + 1;
      Variant value;
      if (OnGetValue) OnGetValue(name, value);
      push(value);
      continue;
    }

    int before = i;
    String token = ReadIdentifier(S, i);
    if (token.empty() && i > n) break;  // only blanks were left
    if (!token.empty() && (IsDigit(token[0]) || token[0] == ',' || token[0] == '.')) {
      for (char& ch : token)
        if (ch == ',' || ch == '.') ch = FormatSettings.DecimalSeparator;
      push(Variant(StrToFloat(token)));
    } else if (SameText(token, "TRUE") || SameText(token, "FALSE")) {
      push(Variant(SameText(token, "TRUE")));
    } else if (At(S, i) == '[') {
      int start = i, end = i;
      String index = ExtractBracketed(S, start, end);
      i = end + 1;
      push(Calculate("GETARRAY(" + token + ", " + index + ")"));
    } else if (At(S, i) == '(') {
      String name = AnsiUpperCase(token);
      TzrArguments args = ReadArguments(S, i);
      if (name == "COPY") {
        String text = VarToStr(Calculate(args[0]));
        int from = StrToInt(VarToStr(Calculate(args[1])));
        int length = StrToInt(VarToStr(Calculate(args[2])));
        push(Variant(Copy(text, from, length)));
      } else if (name == "IF") {
        double condition = StrToFloat(VarToStr(Calculate(args[0])));
        push(Calculate(std::trunc(condition) != 0 ? args[1] : args[2]));
      } else if (name == "STRTODATE") {
        push(Variant::FromDate(StrToDate(VarToStr(Calculate(args[0])))));
      } else if (name == "STRTOTIME") {
        push(Variant::FromDate(StrToTime(VarToStr(Calculate(args[0])))));
      } else {
        Variant result;
        if (OnFunction) OnFunction(name, Variant(args[0]), Variant(args[1]), Variant(args[2]), result);
        push(result);
      }
    } else {
      Variant value;
      if (OnGetValue) OnGetValue(AnsiUpperCase(token), value);
      push(value);
    }
    if (i == before) throw EzrParserError("Expression incorrecte : "_a + S);
  }
  return stack[0];
}

Variant TzrParser::Calculate(const String& Expression) { return Evaluate(ConvertToPostfix(Expression)); }

// ---- function splitting

TzrFunctionSplitter::TzrFunctionSplitter(TStrings* MatchFuncs, TStrings* SplitTo, TzrVariables* Variables)
    : FParser(std::make_unique<TzrParser>()), FMatchFuncs(MatchFuncs), FSplitTo(SplitTo), FVariables(Variables) {}

TzrFunctionSplitter::~TzrFunctionSplitter() = default;

void TzrFunctionSplitter::FollowVariable(int Index) {
  String name = FVariables->NameAt(Index);
  for (const String& f : FFollowing)
    if (SameText(f, name)) throw EzrParserError("La variable '"_a + name + "' fait référence à elle-même"_a);
  FFollowing.push_back(name);
  TScopeGuard restore([&] { FFollowing.pop_back(); });
  Split(VarToStr(FVariables->GetByIndex(Index)));
}

bool TzrFunctionSplitter::IsMatched(const String& Name) const {
  if (FMatchFuncs == nullptr || Name.empty()) return false;
  for (int k = 0; k < FMatchFuncs->Count(); ++k)
    if (AnsiSameText(FMatchFuncs->Strings(k), Name)) return true;
  return false;
}

void TzrFunctionSplitter::Split(const String& Expression) {
  String s = Trim(Expression);
  if (s.empty() || s[0] == '\'') return;
  int n = Len(s);
  int i = 1;
  while (i <= n) {
    int j = i;
    while (j <= n && IsBlank(s[j - 1])) ++j;
    if (At(s, j) == '[') {
      int start = j, end = j;
      String name = ExtractBracketed(s, start, end);
      int index = FVariables ? FVariables->IndexOf(name) : -1;
      if (index >= 0)
        FollowVariable(index);
      else
        Split(name);
      i = end + 1;
      continue;
    }
    int tokenStart = j;
    String token = FParser->ReadIdentifier(s, i);
    if (At(s, i) == '(') {
      TzrArguments args = FParser->ReadArguments(s, i);
      for (const String& a : args) Split(a);
      if (IsMatched(token)) FSplitTo->Add(Copy(s, tokenStart, i - tokenStart));
      continue;
    }
    int index = (FVariables && !token.empty()) ? FVariables->IndexOf(token) : -1;
    if (index >= 0) {
      FollowVariable(index);
    } else if (i <= n && std::strchr("\r *+-/<=>", s[i - 1]) != nullptr) {
      ++i;
    } else if (token.empty()) {
      break;
    }
  }
}
