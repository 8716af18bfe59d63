// This file implements the report engine's script interpreter: the compiler from script source to
// code lines and the runner of code lines.
#include "ZR_Intrp.h"

#include <cassert>
#include <vector>

#include "StrUtils.h"

VELBOR_IMPLEMENT_CLASS(TzrInterpretator)

namespace {

// The compiler's messages, as users of the template tools know them.
const char* const kNeedSemicolonOrEnd = "Need \";\" or \"end\" here";
const char* const kNeedThen = "Need \"then\" here";
const char* const kNeedSemicolonOrUntil = "Need \";\" or \"until\" here";
const char* const kNeedDo = "Need \"do\" here";
const char* const kNeedTo = "Need \"to\" here";
const char* const kGotoNumber = "\"goto\" label must be a number";
const char* const kNeedAssign = "Need \":=\" here";
const char* const kNeedParen = "Need \")\" here";
const char* const kNeedBracket = "Need \"]\" here";
const char* const kNeedCommaOrParen = "Need \",\" or \")\" here";
// Errors of this compiler beyond the classic list: each used to fail silently or run wild.
const char* const kNeedExpression = "Need an expression here";
const char* const kNeedQuote = "Need \"'\" here";
const char* const kUndefinedLabel = "Label \"%s\" is not defined";
const char* const kTooManyLabels = "Too many labels (at most 101)";
const char* const kLabelTooLong = "Label too long (at most 15 digits)";
const char* const kScriptTooLong = "Script too long (at most 32000 characters)";
const char* const kNestingTooDeep = "Nesting too deep (at most 100 levels)";
static_assert(zrMaxScriptNesting == 100, "kNestingTooDeep names the limit");

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsNameStart(char C) { return IsAnsiLetter(C); }
bool IsNameChar(char C) { return IsAnsiLetter(C) || IsDigit(C) || C == '.' || C == '_'; }

// The position of the ':' of a word that starts with a label ("10:"), else 0.
int LabelColon(const String& Word) {
  std::size_t k = Word.find_first_not_of("0123456789");
  if (k == 0 || k == String::npos || Word[k] != ':') return 0;
  if (k + 1 < Word.size() && Word[k + 1] == '=') return 0;
  return static_cast<int>(k);
}

// A syntax error at an offset (0-based) in the joined source.
struct TCompileFailure {
  int SourceOffset;
  String Message;
};

class TScriptCompiler {
 public:
  TScriptCompiler(std::vector<String> Lines, TzrParser* Parser) : FLines(std::move(Lines)), FParser(Parser) {}

  // Code lines in their final form, or TCompileFailure.
  std::vector<String> Compile();
  // "Line l/c: message", 1-based.
  String Describe(const TCompileFailure& Failure) const;

 private:
  struct TLabel {
    String Text;  // digits and ':'
    int Line;
  };
  struct TGoto {
    int Line;
    String Label;
    int SourceOffset;
  };

  int Size() const { return static_cast<int>(FBuf.size()); }
  char At(int Offset) const { return Offset >= 0 && Offset < Size() ? FBuf[Offset] : '\0'; }
  int ToSource(int Offset) const;
  [[noreturn]] void Fail(int Offset, const String& Message) const { throw TCompileFailure{ToSource(Offset), Message}; }

  // The upper-cased word that starts after blanks at the current position (a single blank at the
  // end of the buffer), comments inside it cut out; Start receives its offset. The position stays.
  String PeekWord(int& Start);
  void Cut(int Offset, int Length);
  String TextFrom(int Start) const { return Trim(FBuf.substr(Start, FPos - Start)); }
  int NameEnd(int Start) const;

  int AddCode(const String& Line, int ExpressionOffset);
  void SetTarget(int Line, int Target);

  void Statement();
  void NameStatement(int Start);
  String Assignment(int Start);
  void Compound();
  void IfStatement();
  void WhileStatement();
  void RepeatStatement();
  void ForStatement(int Start);
  void GotoStatement();
  void Expression();
  void SimpleExpression();
  void Term();
  void Factor();
  void Arguments();

  void Resolve();

  // One level of statement or expression nesting for its lifetime; beyond zrMaxScriptNesting the
  // script fails to compile at Offset instead of exhausting the stack.
  class TNesting {
   public:
    TNesting(TScriptCompiler& Compiler, int Offset) : FCompiler(Compiler) {
      if (++FCompiler.FDepth > zrMaxScriptNesting) FCompiler.Fail(Offset, kNestingTooDeep);
    }
    ~TNesting() { --FCompiler.FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TScriptCompiler& FCompiler;
  };

  std::vector<String> FLines;
  TzrParser* FParser;
  String FBuf;
  int FPos = 0;
  std::vector<std::pair<int, int>> FCuts;  // (offset, length) in the order they were cut
  std::vector<TLabel> FLabels;
  std::vector<TGoto> FGotos;
  std::vector<String> FCode;
  std::vector<int> FCodeOffsets;  // source offset of each line's expression, for late errors
  int FDepth = 0;
};

std::vector<String> TScriptCompiler::Compile() {
  for (String line : FLines) {
    for (char& c : line)
      if (c == '\t') c = ' ';
    FBuf += line;
    FBuf += '\r';
  }
  if (Size() > zrMaxScriptSize) Fail(zrMaxScriptSize, kScriptTooLong);
  if (!FBuf.empty()) Statement();
  Resolve();
  return FCode;
}

String TScriptCompiler::Describe(const TCompileFailure& Failure) const {
  int offset = Failure.SourceOffset;
  int line = 1;
  for (const String& s : FLines) {
    int length = static_cast<int>(s.size()) + 1;
    if (offset < length) break;
    offset -= length;
    ++line;
  }
  return "Line " + IntToStr(line) + "/" + IntToStr(offset + 1) + ": " + Failure.Message;
}

// Undoes the cuts, latest first: each moves what followed it back by its length.
int TScriptCompiler::ToSource(int Offset) const {
  for (auto it = FCuts.rbegin(); it != FCuts.rend(); ++it)
    if (Offset >= it->first) Offset += it->second;
  return Offset;
}

void TScriptCompiler::Cut(int Offset, int Length) {
  FBuf.erase(static_cast<std::size_t>(Offset), static_cast<std::size_t>(Length));
  FCuts.emplace_back(Offset, Length);
}

String TScriptCompiler::PeekWord(int& Start) {
  for (;;) {
    int q = FPos;
    while (q < Size() && IsBlank(FBuf[q])) ++q;
    Start = q;
    if (q >= Size()) return " ";
    // A literal is never cut, wherever it stands in the word: f('{a}') and ('//') keep it whole.
    bool literal = false;
    int e = q;
    bool cut = false;
    for (; e < Size() && !IsBlank(FBuf[e]); ++e) {
      if (FBuf[e] == '\'') literal = !literal;
      if (literal || FBuf[e] == '\'') continue;
      std::size_t close = String::npos;
      if (FBuf[e] == '{') {
        close = FBuf.find('}', static_cast<std::size_t>(e));
      } else if (FBuf[e] == '/' && At(e + 1) == '/') {
        close = FBuf.find('\r', static_cast<std::size_t>(e));
      } else {
        continue;
      }
      // An unclosed comment runs to the end of the script.
      Cut(e, close == String::npos ? Size() - e : static_cast<int>(close) - e + 1);
      cut = true;
      break;
    }
    if (!cut) return AnsiUpperCase(FBuf.substr(static_cast<std::size_t>(q), static_cast<std::size_t>(e - q)));
  }
}

int TScriptCompiler::NameEnd(int Start) const {
  int q = Start;
  while (q < Size() && IsNameChar(FBuf[q])) ++q;
  return q;
}

int TScriptCompiler::AddCode(const String& Line, int ExpressionOffset) {
  while (ExpressionOffset < Size() && IsBlank(FBuf[ExpressionOffset])) ++ExpressionOffset;
  FCode.push_back(Line);
  FCodeOffsets.push_back(ToSource(ExpressionOffset));
  return static_cast<int>(FCode.size()) - 1;
}

void TScriptCompiler::SetTarget(int Line, int Target) {
  // A 32,000-byte script cannot produce 65,536 lines: each line needs at least one byte of source.
  assert(Target >= 0 && Target <= 0xFFFF);
  FCode[Line][1] = static_cast<char>(Target & 0xFF);
  FCode[Line][2] = static_cast<char>((Target >> 8) & 0xFF);
}

// ---- statements

void TScriptCompiler::Statement() {
  int start;
  String word = PeekWord(start);
  if (word == " " || word == "END" || word == "END;" || word == "UNTIL") return;  // empty
  TNesting level(*this, start);
  if (word == "BEGIN") {
    FPos = start + 5;
    Compound();
  } else if (word == "IF") {
    FPos = start + 2;
    IfStatement();
  } else if (word == "WHILE") {
    FPos = start + 5;
    WhileStatement();
  } else if (word == "REPEAT") {
    FPos = start + 6;
    RepeatStatement();
  } else if (word == "FOR") {
    FPos = start + 3;
    ForStatement(start);
  } else if (word == "GOTO") {
    FPos = start + 4;
    GotoStatement();
  } else if (int colon = LabelColon(word); colon > 0) {
    String text = word.substr(0, static_cast<std::size_t>(colon) + 1);
    if (static_cast<int>(text.size()) > zrMaxLabelLength) Fail(start, kLabelTooLong);
    bool known = false;
    for (const TLabel& l : FLabels) known = known || l.Text == text;
    if (!known) {
      if (static_cast<int>(FLabels.size()) == zrMaxLabels) Fail(start, kTooManyLabels);
      FLabels.push_back({text, static_cast<int>(FCode.size())});
    }
    FPos = start + colon + 1;
    Statement();
  } else if (IsNameStart(FBuf[start])) {
    NameStatement(start);
  } else {
    // Any other expression is a call whose value is dropped.
    FPos = start;
    Expression();
    AddCode(zrCodeCall + TextFrom(start), start);
  }
}

void TScriptCompiler::NameStatement(int Start) {
  int end = NameEnd(Start);
  if (At(end) == '(') {
    FPos = Start;
    Expression();
    AddCode(zrCodeCall + TextFrom(Start), Start);
    return;
  }
  if (At(end) != '[') {
    FPos = end;
    int next;
    String word = PeekWord(next);
    if (word[0] == ';' || word == "END" || word == "END;" || word == "ELSE") {
      AddCode(zrCodeCall + FBuf.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(end - Start)) + "(0)",
              Start);
      return;
    }
  }
  Assignment(Start);
}

// name [ '[' expression ']' ] ':=' expression. Returns the name as written before ":=".
String TScriptCompiler::Assignment(int Start) {
  int end = NameEnd(Start);
  String name = FBuf.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(end - Start));
  String index;
  bool indexed = At(end) == '[';
  FPos = end;
  if (indexed) {
    int indexStart = FPos = end + 1;
    Expression();
    index = TextFrom(indexStart);
    int close;
    if (PeekWord(close)[0] != ']') Fail(close, kNeedBracket);
    FPos = close + 1;
  }
  int assign;
  String word = PeekWord(assign);
  if (word.compare(0, 2, ":=") != 0) Fail(assign, kNeedAssign);
  String written = Trim(FBuf.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(assign - Start)));
  int valueStart = FPos = assign + 2;
  Expression();
  String value = TextFrom(valueStart);
  if (indexed)
    AddCode(zrCodeCall + ("SETARRAY(" + name + ", " + index + ", " + value + ")"), valueStart);
  else
    AddCode(name + " " + value, valueStart);
  return written;
}

void TScriptCompiler::Compound() {
  for (;;) {
    Statement();
    int start;
    String word = PeekWord(start);
    if (word[0] == ';') {
      FPos = start + 1;
    } else if (word == "END" || word == "END;") {
      FPos = start + 3;
      return;
    } else {
      Fail(start, kNeedSemicolonOrEnd);
    }
  }
}

void TScriptCompiler::IfStatement() {
  int condition = FPos;
  Expression();
  String text = TextFrom(condition);
  int start;
  if (PeekWord(start) != "THEN") Fail(start, kNeedThen);
  FPos = start + 4;
  int jump = AddCode(String(1, zrCodeCondJump) + "  " + text, condition);
  Statement();
  if (PeekWord(start) == "ELSE") {
    FPos = start + 4;
    int skip = AddCode(String(1, zrCodeJump) + "  ", start);
    SetTarget(jump, static_cast<int>(FCode.size()));
    Statement();
    SetTarget(skip, static_cast<int>(FCode.size()));
  } else {
    SetTarget(jump, static_cast<int>(FCode.size()));
  }
}

void TScriptCompiler::WhileStatement() {
  int condition = FPos;
  Expression();
  String text = TextFrom(condition);
  int start;
  if (PeekWord(start) != "DO") Fail(start, kNeedDo);
  FPos = start + 2;
  int jump = AddCode(String(1, zrCodeCondJump) + "  " + text, condition);
  Statement();
  int back = AddCode(String(1, zrCodeJump) + "  ", start);
  SetTarget(back, jump);
  SetTarget(jump, static_cast<int>(FCode.size()));
}

void TScriptCompiler::RepeatStatement() {
  int first = static_cast<int>(FCode.size());
  for (;;) {
    Statement();
    int start;
    String word = PeekWord(start);
    if (word[0] == ';') {
      FPos = start + 1;
    } else if (word == "UNTIL") {
      FPos = start + 5;
      break;
    } else {
      Fail(start, kNeedSemicolonOrUntil);
    }
  }
  int condition = FPos;
  Expression();
  int jump = AddCode(String(1, zrCodeCondJump) + "  " + TextFrom(condition), condition);
  SetTarget(jump, first);
}

void TScriptCompiler::ForStatement(int Start) {
  int name;
  PeekWord(name);
  if (!IsNameStart(At(name))) Fail(name, kNeedAssign);
  String loop = Assignment(name);
  int start;
  if (PeekWord(start) != "TO") Fail(start, kNeedTo);
  int limitStart = FPos = start + 2;
  Expression();
  String limit = TextFrom(limitStart);
  if (PeekWord(start) != "DO") Fail(start, kNeedDo);
  FPos = start + 2;
  int jump = AddCode(String(1, zrCodeCondJump) + "  " + loop + "<=" + limit, limitStart);
  Statement();
  AddCode(loop + " " + loop + "+1", Start);
  int back = AddCode(String(1, zrCodeJump) + "  ", Start);
  SetTarget(back, jump);
  SetTarget(jump, static_cast<int>(FCode.size()));
}

void TScriptCompiler::GotoStatement() {
  int start;
  String word = PeekWord(start);
  std::size_t digits = 0;
  while (digits < word.size() && IsDigit(word[digits])) ++digits;
  if (digits == 0) Fail(start, kGotoNumber);
  if (static_cast<int>(digits) + 1 > zrMaxLabelLength) Fail(start, kLabelTooLong);
  String label = word.substr(0, digits);
  FPos = start + static_cast<int>(digits);
  FGotos.push_back({static_cast<int>(FCode.size()), label, ToSource(start)});
  AddCode(String(1, zrCodeJump) + label, start);
}

// ---- expressions: the compiler checks their shape and extent; the parser converts them later

void TScriptCompiler::Expression() {
  int first = FPos;
  while (first < Size() && IsBlank(FBuf[first])) ++first;
  TNesting level(*this, first);
  SimpleExpression();
  int start;
  String word = PeekWord(start);
  if (word.compare(0, 2, ">=") == 0 || word.compare(0, 2, "<=") == 0 || word.compare(0, 2, "<>") == 0) {
    FPos = start + 2;
    SimpleExpression();
  } else if (word[0] == '<' || word[0] == '=' || word[0] == '>') {
    FPos = start + 1;
    SimpleExpression();
  }
}

// Terms joined by adding operators, read in a loop: a long sum costs no stack.
void TScriptCompiler::SimpleExpression() {
  for (;;) {
    Term();
    int start;
    String word = PeekWord(start);
    if (word[0] == '+' || word[0] == '-') {
      FPos = start + 1;
    } else if (word.compare(0, 2, "OR") == 0) {
      FPos = start + 2;
    } else {
      return;
    }
  }
}

// Factors joined by multiplying operators, read in a loop as well.
void TScriptCompiler::Term() {
  for (;;) {
    Factor();
    int start;
    String word = PeekWord(start);
    if (word[0] == '*' || word[0] == '/') {
      FPos = start + 1;
    } else if (word.compare(0, 3, "AND") == 0 || word.compare(0, 3, "MOD") == 0) {
      FPos = start + 3;
    } else {
      return;
    }
  }
}

void TScriptCompiler::Factor() {
  int start;
  String word = PeekWord(start);
  if (start >= Size()) Fail(start, kNeedExpression);
  char c = FBuf[start];
  if (c == '(') {
    FPos = start + 1;
    Expression();
    int close;
    if (PeekWord(close)[0] != ')') Fail(close, kNeedParen);
    FPos = close + 1;
  } else if (c == '[') {
    String rest = FBuf.substr(static_cast<std::size_t>(start));
    int from = 1, end = 1;
    ExtractBracketed(rest, from, end);
    if (end > static_cast<int>(rest.size())) Fail(start, kNeedBracket);
    FPos = start + end;  // just after the ']' at rest's 1-based position end
  } else if (c == '+' || c == '-') {
    FPos = start + 1;
    Expression();
  } else if (word == "NOT") {
    FPos = start + 3;
    Expression();
  } else if (IsNameStart(c)) {
    int end = NameEnd(start);
    FPos = end;
    if (At(end) == '[') {
      FPos = end + 1;
      Expression();
      int close;
      if (PeekWord(close)[0] != ']') Fail(close, kNeedBracket);
      FPos = close + 1;
    } else if (At(end) == '(') {
      FPos = end + 1;
      Arguments();
    }
  } else if (IsDigit(c)) {
    int q = start;
    while (IsDigit(At(q))) ++q;
    if (At(q) == '.') {
      ++q;
      while (IsDigit(At(q))) ++q;
    }
    FPos = q;
  } else if (c == '\'') {
    int q = start + 1;
    for (;;) {
      if (q >= Size()) Fail(start, kNeedQuote);
      if (FBuf[q] == '\'') {
        if (At(q + 1) != '\'') break;
        ++q;
      }
      ++q;
    }
    FPos = q + 1;
  } else {
    Fail(start, kNeedExpression);
  }
}

// The arguments of a call, after its '('.
void TScriptCompiler::Arguments() {
  for (;;) {
    Expression();
    int start;
    char c = PeekWord(start)[0];
    FPos = start + 1;
    if (c == ')') return;
    if (c != ',') Fail(start, kNeedCommaOrParen);
  }
}

// Gotos get their targets; expressions become postfix texts.
void TScriptCompiler::Resolve() {
  for (const TGoto& g : FGotos) {
    const TLabel* found = nullptr;
    for (const TLabel& l : FLabels)
      if (l.Text == g.Label + ":") found = &l;
    if (found == nullptr) throw TCompileFailure{g.SourceOffset, StringReplace(kUndefinedLabel, "%s", g.Label, 0)};
    FCode[g.Line] = String(1, zrCodeJump) + "  ";
    SetTarget(g.Line, found->Line);
  }
  for (std::size_t k = 0; k < FCode.size(); ++k) {
    String& line = FCode[k];
    try {
      switch (line[0]) {
        case zrCodeCondJump: line = line.substr(0, 3) + FParser->ConvertToPostfix(line.substr(3)); break;
        case zrCodeJump: break;
        case zrCodeCall: line = line.substr(0, 1) + FParser->ConvertToPostfix(line.substr(1)); break;
        default: {
          std::size_t blank = line.find(' ');
          line = line.substr(0, blank + 1) + FParser->ConvertToPostfix(line.substr(blank + 1));
        }
      }
    } catch (const Exception& e) {
      throw TCompileFailure{FCodeOffsets[k], e.Message};
    }
  }
}

}  // namespace

// ---- TzrInterpretator

TzrInterpretator::TzrInterpretator() : FParser(std::make_unique<TzrParser>()) {
  // Member pointers to virtual functions dispatch on the actual class: overrides apply.
  FParser->OnGetValue = TzrGetValueEvent(this, &TzrInterpretator::GetVariable);
  FParser->OnFunction = TzrFunctionEvent(this, &TzrInterpretator::CallFunction);
}

TzrInterpretator::~TzrInterpretator() = default;

void TzrInterpretator::GetVariable(const String&, Variant&) {}
void TzrInterpretator::SetVariable(const String&, const Variant&) {}
void TzrInterpretator::CallFunction(const String&, const Variant&, const Variant&, const Variant&, Variant&) {}

void TzrInterpretator::CompileScript(TStrings* Memo, TStrings* Script, TStrings* Errors) {
  std::vector<String> source;
  for (int i = 0; i < Memo->Count(); ++i) source.push_back(Memo->Strings(i));
  Script->Clear();
  if (Errors) Errors->Clear();
  TScriptCompiler compiler(std::move(source), FParser.get());
  std::vector<String> code;
  try {
    code = compiler.Compile();
  } catch (const TCompileFailure& failure) {
    String text = compiler.Describe(failure);
    if (Errors) Errors->Add(text);
    throw EzrCompileError(text);
  }
  Script->BeginUpdate();
  for (const String& line : code) Script->Add(line);
  Script->EndUpdate();
}

void TzrInterpretator::RunScript(TStrings* Script) {
  int count = Script->Count();
  int steps = 0;
  int i = 0;
  while (i < count) {
    if (++steps > MaxSteps)
      throw EzrScriptError("Script interrompu : plus de "_a + IntToStr(MaxSteps) +
                           " instructions exécutées (boucle sans fin ?)"_a);
    String line = Script->Strings(i);
    if (line.empty()) {
      ++i;
      continue;
    }
    auto target = [&]() {
      return static_cast<int>(static_cast<unsigned char>(line[1]) | (static_cast<unsigned char>(line[2]) << 8));
    };
    switch (line[0]) {
      case zrCodeCondJump:
        i = FParser->Evaluate(line.substr(3)) == Variant(0) ? target() : i + 1;
        break;
      case zrCodeJump:
        i = target();
        break;
      case zrCodeCall: {
        String call = line.substr(1);
        if (AnsiUpperCase(call) == "EXIT(0)") return;
        FParser->Evaluate(call);
        ++i;
        break;
      }
      default: {
        std::size_t blank = line.find(' ');
        String name = line.substr(0, blank);
        Variant value = blank == String::npos ? Variant(0) : FParser->Evaluate(line.substr(blank + 1));
        SetVariable(name, value);
        ++i;
      }
    }
  }
}

void TzrInterpretator::SplitExpressions(TStrings* Script, TStrings* MatchFuncs, TzrVariables* Variables,
                                        TStrings* SplitTo) {
  TzrFunctionSplitter splitter(MatchFuncs, SplitTo, Variables);
  for (int i = 0; i < Script->Count(); ++i) {
    String line = Script->Strings(i);
    if (line.empty()) continue;
    switch (line[0]) {
      case zrCodeCondJump: splitter.Split(line.substr(3)); break;
      case zrCodeJump: break;
      case zrCodeCall: splitter.Split(line.substr(1)); break;
      default: {
        std::size_t blank = line.find(' ');
        if (blank != String::npos) splitter.Split(line.substr(blank + 1));
      }
    }
  }
}
