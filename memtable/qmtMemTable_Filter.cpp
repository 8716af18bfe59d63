// This file implements the filter expressions of the in-memory table: the parser of the filter
// dialect and the evaluator of its compiled tree.
#include "qmtMemTable_Filter.h"

#include <bitset>
#include <cctype>
#include <cmath>

#include "DateTime.h"
#include "DateTimeFormat.h"
#include "Format.h"
#include "FormatSettings.h"
#include "ScopeGuard.h"
#include "StrUtils.h"
#include "TextOrder.h"
#include "qmtMemTable_Store.h"

// --- Parser --------------------------------------------------------------------------------------------

namespace {

enum TokKind { tkEnd, tkName, tkString, tkNumber, tkSymbol };

struct Token {
  TokKind Kind = tkEnd;
  String Text;  // name, string value, number text, or symbol
  int Pos = 0;
};

bool IsNameStart(unsigned char C) { return std::isalpha(C) || C == '_' || C >= 0xC0 || IsAnsiLetter(char(C)); }
bool IsNameChar(unsigned char C) { return IsNameStart(C) || std::isdigit(C) || C == '.'; }

class Parser {
 public:
  Parser(const String& Text, TqmtFilterParseOptions Options, TqmtFilterContext* Context, TqmtFilterExpression& Expr)
      : FText(Text), FOptions(Options), FContext(Context), FExpr(Expr) {
    NextToken();
  }

  int ParseAll() {
    int Root = ParseOr();
    if (FTok.Kind != tkEnd) SyntaxError();
    return Root;
  }

 private:
  // Parentheses, function arguments and "in" lists nest the parser and the tree; beyond this
  // depth the text is refused, so that no filter exhausts the stack (1 MB under Wine).
  static constexpr int kMaxNesting = 100;

  [[noreturn]] void SyntaxError() {
    throw EDatabaseError(Format("Erreur de syntaxe dans l'expression de filtre à la position %d"_a, {FTok.Pos + 1}));
  }

  // Counts one level of nesting for the life of a nested parse.
  class Nesting {
   public:
    explicit Nesting(Parser& P) : FParser(P) {
      if (++FParser.FDepth > kMaxNesting)
        throw EDatabaseError(
            Format("Imbrication trop profonde dans l'expression de filtre à la position %d"_a, {FParser.FTok.Pos + 1}));
    }
    ~Nesting() { --FParser.FDepth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& FParser;
  };

  void NextToken() {
    std::size_t N = FText.size();
    while (FPos < N && (unsigned char)FText[FPos] <= ' ') ++FPos;
    FTok = Token();
    FTok.Pos = int(FPos);
    if (FPos >= N) return;
    unsigned char C = (unsigned char)FText[FPos];
    if (C == '\'') {
      // Quotes doubled inside a literal stand for one quote.
      String S;
      ++FPos;
      for (;;) {
        if (FPos >= N) SyntaxError();
        if (FText[FPos] == '\'') {
          if (FPos + 1 < N && FText[FPos + 1] == '\'') {
            S += '\'';
            FPos += 2;
            continue;
          }
          ++FPos;
          break;
        }
        S += FText[FPos++];
      }
      FTok.Kind = tkString;
      FTok.Text = S;
    } else if (C == '[' || C == '"') {
      char Close = C == '[' ? ']' : '"';
      std::size_t End = FText.find(Close, FPos + 1);
      if (End == String::npos) SyntaxError();
      FTok.Kind = tkName;
      FTok.Text = FText.substr(FPos + 1, End - FPos - 1);
      FPos = End + 1;
    } else if (std::isdigit(C) || (C == '.' && FPos + 1 < N && std::isdigit((unsigned char)FText[FPos + 1]))) {
      std::size_t S = FPos;
      while (FPos < N && (std::isdigit((unsigned char)FText[FPos]) || FText[FPos] == '.')) ++FPos;
      FTok.Kind = tkNumber;
      FTok.Text = FText.substr(S, FPos - S);
    } else if (IsNameStart(C)) {
      std::size_t S = FPos;
      while (FPos < N && IsNameChar((unsigned char)FText[FPos])) ++FPos;
      FTok.Kind = tkName;
      FTok.Text = FText.substr(S, FPos - S);
    } else {
      FTok.Kind = tkSymbol;
      String Two = FText.substr(FPos, 2);
      if (Two == "<>" || Two == "<=" || Two == ">=" || Two == "!=") {
        FTok.Text = Two == "!=" ? String("<>") : Two;
        FPos += 2;
      } else {
        FTok.Text = String(1, char(C));
        FPos += 1;
      }
    }
  }

  bool IsWord(const char* W) const { return FTok.Kind == tkName && SameText(FTok.Text, W); }
  bool IsSym(const char* S) const { return FTok.Kind == tkSymbol && FTok.Text == S; }
  void Expect(const char* S) {
    if (!IsSym(S)) SyntaxError();
    NextToken();
  }

  int Node(int Class, int Op, int L = -1, int R = -1) {
    TqmtFilterNode N;
    N.NodeClass = Class;
    N.Operator = Op;
    N.Left = L;
    N.Right = R;
    return FExpr.AddNode(N);
  }

  int ParseOr() {
    int L = ParseAnd();
    while (IsWord("or")) {
      NextToken();
      L = Node(nkBinary, coOR, L, ParseAnd());
    }
    return L;
  }

  int ParseAnd() {
    int L = ParseNot();
    while (IsWord("and")) {
      NextToken();
      L = Node(nkBinary, coAND, L, ParseNot());
    }
    return L;
  }

  // A run of "not" is read in a loop, not one call per word.
  int ParseNot() {
    int Nots = 0;
    for (; IsWord("not"); ++Nots) NextToken();
    int E = ParseComparison();
    for (; Nots > 0; --Nots) E = Node(nkUnary, coNOT, E);
    return E;
  }

  bool IsNullWord() const { return IsWord("null"); }

  int ParseComparison() {
    int L = ParseAdditive();
    int Op = coNOTDEFINED;
    if (IsSym("=")) Op = coEQ;
    else if (IsSym("<>")) Op = coNE;
    else if (IsSym("<")) Op = coLT;
    else if (IsSym(">")) Op = coGT;
    else if (IsSym("<=")) Op = coLE;
    else if (IsSym(">=")) Op = coGE;
    if (Op != coNOTDEFINED) {
      NextToken();
      if (IsNullWord()) {
        // "= NULL" and "<> NULL" are the null tests; other comparisons with NULL are refused.
        if (Op != coEQ && Op != coNE) SyntaxError();
        NextToken();
        return Node(nkUnary, Op == coEQ ? coISBLANK : coNOTBLANK, L);
      }
      int R = ParseAdditive();
      return MakeComparison(Op, L, R);
    }
    if (IsWord("is")) {
      NextToken();
      bool Not = false;
      if (IsWord("not")) {
        Not = true;
        NextToken();
      }
      if (!IsNullWord()) SyntaxError();
      NextToken();
      return Node(nkUnary, Not ? coNOTBLANK : coISBLANK, L);
    }
    bool Negate = false;
    if (IsWord("not")) {
      Negate = true;
      NextToken();
      if (!IsWord("like") && !IsWord("in")) SyntaxError();
    }
    int Result = -1;
    if (IsWord("like")) {
      NextToken();
      Result = Node(nkBinary, coLIKE, L, ParseAdditive());
    } else if (IsWord("in")) {
      NextToken();
      Expect("(");
      int First = ParseList();
      Expect(")");
      Result = Node(nkBinary, coIN, L, First);
    } else {
      return L;
    }
    return Negate ? Node(nkUnary, coNOT, Result) : Result;
  }

  // A field compared with a text constant becomes a text comparison when the options fold case or
  // the constant ends with '*' (a prefix).
  int MakeComparison(int Op, int L, int R) {
    if (Op == coEQ || Op == coNE) {
      TqmtFilterNode& NL = FExpr.Nodes()[std::size_t(L)];
      TqmtFilterNode& NR = FExpr.Nodes()[std::size_t(R)];
      int ConstSide = -1;
      if (NL.NodeClass == nkField && NR.NodeClass == nkConst && NR.ConstType == ftString) ConstSide = R;
      if (NR.NodeClass == nkField && NL.NodeClass == nkConst && NL.ConstType == ftString) ConstSide = L;
      if (ConstSide >= 0) {
        TqmtFilterNode& C = FExpr.Nodes()[std::size_t(ConstSide)];
        String S = C.Value.AsString();
        bool Partial = !FOptions.NoPartialCompare && !S.empty() && S.back() == '*';
        if (FOptions.CaseInsensitive || Partial) {
          if (Partial) {
            S.pop_back();
            C.Value = Variant(S);
          }
          int N = Node(nkCompare, Op, L, R);
          FExpr.Nodes()[std::size_t(N)].CaseInsensitive = FOptions.CaseInsensitive;
          FExpr.Nodes()[std::size_t(N)].PartialLength = Partial ? int(S.size()) : 0;
          return N;
        }
      }
    }
    return Node(nkBinary, Op, L, R);
  }

  int ParseList() {
    Nesting Level(*this);
    int First = Node(nkListElem, coLISTELEM2, ParseOr());
    int Last = First;
    while (IsSym(",")) {
      NextToken();
      int E = Node(nkListElem, coLISTELEM2, ParseOr());
      FExpr.Nodes()[std::size_t(Last)].Next = E;
      Last = E;
    }
    return First;
  }

  int ParseAdditive() {
    int L = ParseTerm();
    for (;;) {
      if (IsSym("+")) {
        NextToken();
        L = Node(nkBinary, coADD, L, ParseTerm());
      } else if (IsSym("-")) {
        NextToken();
        L = Node(nkBinary, coSUB, L, ParseTerm());
      } else {
        return L;
      }
    }
  }

  int ParseTerm() {
    int L = ParseUnary();
    for (;;) {
      if (IsSym("*")) {
        NextToken();
        L = Node(nkBinary, coMUL, L, ParseUnary());
      } else if (IsSym("/")) {
        NextToken();
        L = Node(nkBinary, coDIV, L, ParseUnary());
      } else if (IsSym("%") || IsWord("mod")) {
        NextToken();
        L = Node(nkBinary, coMOD, L, ParseUnary());
      } else {
        return L;
      }
    }
  }

  // A run of signs is read in a loop, not one call per sign.
  int ParseUnary() {
    int Minus = 0;
    for (; IsSym("-"); ++Minus) NextToken();
    int E = ParsePrimary();
    for (; Minus > 0; --Minus) E = Node(nkUnary, coMINUS, E);
    return E;
  }

  int Constant(TFieldType Type, const Variant& V) {
    int N = Node(nkConst, coCONST2);
    FExpr.Nodes()[std::size_t(N)].ConstType = Type;
    FExpr.Nodes()[std::size_t(N)].Value = V;
    return N;
  }

  int ParsePrimary() {
    if (IsSym("(")) {
      Nesting Level(*this);
      NextToken();
      int E = ParseOr();
      Expect(")");
      return E;
    }
    if (FTok.Kind == tkString) {
      String S = FTok.Text;
      NextToken();
      return Constant(ftString, Variant(S));
    }
    if (FTok.Kind == tkNumber) {
      String T = FTok.Text;
      NextToken();
      long long I;
      if (T.find('.') == String::npos && TryStrToInt64(T, I) && I >= -2147483647LL - 1 && I <= 2147483647LL)
        return Constant(ftInteger, Variant(int(I)));
      char* End = nullptr;
      double D = std::strtod(T.c_str(), &End);
      if (!End || *End) SyntaxError();
      return Constant(ftFloat, Variant(D));
    }
    if (FTok.Kind == tkName) {
      if (IsNullWord()) SyntaxError();  // NULL only in "= NULL", "<> NULL" and "IS [NOT] NULL"
      if (IsWord("true") || IsWord("false")) {
        bool B = IsWord("true");
        NextToken();
        return Constant(ftBoolean, Variant(B));
      }
      String Name = FTok.Text;
      NextToken();
      if (IsSym("(")) {
        NextToken();
        int N = Node(nkFunc, coFUNC2);
        FExpr.Nodes()[std::size_t(N)].Name = Name;
        if (!IsSym(")")) {
          int First = ParseList();
          FExpr.Nodes()[std::size_t(N)].Left = First;
        }
        Expect(")");
        return N;
      }
      int N = Node(nkField, coFIELD2);
      FExpr.Nodes()[std::size_t(N)].Name = Name;
      FExpr.Nodes()[std::size_t(N)].FieldIndex = FContext ? FContext->FilterFieldIndex(Name) : -1;
      return N;
    }
    SyntaxError();
  }

  const String& FText;
  TqmtFilterParseOptions FOptions;
  TqmtFilterContext* FContext;
  TqmtFilterExpression& FExpr;
  std::size_t FPos = 0;
  Token FTok;
  int FDepth = 0;
};

}  // namespace

TqmtFilterExpression::TqmtFilterExpression(const String& Text, TqmtFilterParseOptions Options,
                                           TqmtFilterContext* Context)
    : FText(Trim(Text)) {
  Parser P(FText, Options, Context, *this);
  FRoot = P.ParseAll();
}

// --- Mask ----------------------------------------------------------------------------------------------

namespace {

// One element of a mask: '*', or what takes exactly one character ('?', a set, a character).
struct TMaskElement {
  bool Star = false;
  std::bitset<256> Takes;  // by the upper-cased character
};

// A set "[...]" holds characters and ranges "a-z", upper-cased; "[!...]" or "[^...]" takes the
// others. A '[' without its ']' is a character.
std::vector<TMaskElement> CompileMask(const String& M) {
  std::vector<TMaskElement> Elements;
  for (std::size_t MI = 0; MI < M.size(); ++MI) {
    TMaskElement E;
    char C = M[MI];
    std::size_t Close = C == '[' ? M.find(']', MI + 1) : String::npos;
    if (C == '*') {
      if (!Elements.empty() && Elements.back().Star) continue;
      E.Star = true;
    } else if (C == '?') {
      E.Takes.set();
    } else if (Close != String::npos) {
      bool Negate = MI + 1 < Close && (M[MI + 1] == '!' || M[MI + 1] == '^');
      for (std::size_t K = MI + 1 + (Negate ? 1 : 0); K < Close; ++K) {
        unsigned char Lo = (unsigned char)AnsiUpperChar(M[K]), Hi = Lo;
        if (K + 2 < Close && M[K + 1] == '-') {
          Hi = (unsigned char)AnsiUpperChar(M[K + 2]);
          K += 2;
        }
        for (unsigned B = Lo; B <= Hi; ++B) E.Takes.set(B);
      }
      if (Negate) E.Takes.flip();
      MI = Close;
    } else {
      E.Takes.set((unsigned char)AnsiUpperChar(C));
    }
    Elements.push_back(E);
  }
  return Elements;
}

}  // namespace

// Every element but '*' takes exactly one character, so on a mismatch it is enough to go back to
// the last star and let it take one character more: no recursion, and time bounded by the product
// of the lengths whatever the mask holds.
bool QmtMatchesMask(const String& Text, const String& Mask) {
  std::vector<TMaskElement> M = CompileMask(Mask);
  std::size_t TI = 0, MI = 0;
  std::size_t StarMI = String::npos, StarTI = 0;
  while (TI < Text.size()) {
    if (MI < M.size() && M[MI].Star) {
      StarMI = ++MI;
      StarTI = TI;
      continue;
    }
    if (MI < M.size() && M[MI].Takes.test((unsigned char)AnsiUpperChar(Text[TI]))) {
      ++MI;
      ++TI;
      continue;
    }
    if (StarMI == String::npos) return false;
    MI = StarMI;
    TI = ++StarTI;
  }
  while (MI < M.size() && M[MI].Star) ++MI;
  return MI == M.size();
}

// --- Evaluator -----------------------------------------------------------------------------------------

namespace {

bool IsBlank(const Variant& V) { return VarIsNull(V) || VarIsEmpty(V) || (VarIsStr(V) && V.AsString().empty()); }

String FoldAscii(String S, bool Upper) {
  for (char& C : S) {
    if (Upper && C >= 'a' && C <= 'z') C = char(C - 32);
    if (!Upper && C >= 'A' && C <= 'Z') C = char(C + 32);
  }
  return S;
}

bool IsBlankChar(char C) { return (unsigned char)C <= ' '; }

[[noreturn]] void OperatorNotSupported(int Op) {
  throw EMemTableFilterError(Format("Operator not supported (%d).", {Op}));
}

[[noreturn]] void ClassOutOfRange(int NodeClass) {
  throw EMemTableFilterError(Format("iClass Out of range (%d)", {NodeClass}));
}

// Equality reads Null as the empty text, so that "F = ''" finds the records whose F is empty or
// null. Any other comparison, inequality included, is false when either side is null or empty:
// "F <> 'A'" does not keep the records whose F is null.
bool CompareWithBlank(int Op, const Variant& A, const Variant& B) {
  return Op == coEQ && IsBlank(A) && IsBlank(B);
}

Variant UnaryValue(const TqmtFilterNode& N, const Variant& A) {
  switch (N.Operator) {
    case coISBLANK: return Variant(IsBlank(A));
    case coNOTBLANK: return Variant(!IsBlank(A));
    case coNOT: return VarIsNull(A) ? Variant::Null() : VarNot(A);
    case coMINUS: return VarIsNull(A) ? Variant::Null() : VarNeg(A);
    case coUPPER: return VarIsNull(A) ? Variant::Null() : Variant(FoldAscii(A.AsString(), true));
    case coLOWER: return VarIsNull(A) ? Variant::Null() : Variant(FoldAscii(A.AsString(), false));
    default: return Variant::Null();
  }
}

Variant BinaryValue(const TqmtFilterNode& N, const Variant& A, const Variant& B) {
  switch (N.Operator) {
    case coEQ: case coNE: case coGT: case coLT: case coGE: case coLE: {
      if (IsBlank(A) || IsBlank(B)) return Variant(CompareWithBlank(N.Operator, A, B));
      TVariantRelationship R = VarCompareValue(A, B);
      switch (N.Operator) {
        case coEQ: return Variant(R == vrEqual);
        case coNE: return Variant(R != vrEqual);
        case coGT: return Variant(R == vrGreaterThan);
        case coLT: return Variant(R == vrLessThan);
        case coGE: return Variant(R == vrGreaterThan || R == vrEqual);
        default: return Variant(R == vrLessThan || R == vrEqual);
      }
    }
    case coAND: case coOR: {
      if (VarIsNull(A) || VarIsNull(B)) return Variant(false);
      Variant R = N.Operator == coAND ? VarAnd(A, B) : VarOr(A, B);
      return Variant(R.AsInt64() != 0);
    }
    case coADD: case coSUB: case coMUL: case coDIV: case coMOD: case coREM: {
      if (VarIsNull(A) || VarIsNull(B)) return Variant::Null();
      switch (N.Operator) {
        case coADD: return A + B;
        case coSUB: return A - B;
        case coMUL: return A * B;
        case coDIV: return A / B;
        default: return VarMod(A, B);
      }
    }
    case coLIKE:
      if (VarIsNull(A) || VarIsNull(B)) return Variant(false);
      return Variant(QmtMatchesMask(VarToStr(A), VarToStr(B)));
    case coIN: {
      if (VarIsNull(A) || VarIsNull(B)) return Variant(false);
      if (VarIsArray(B)) {
        for (int I = VarArrayLowBound(B, 1); I <= VarArrayHighBound(B, 1); ++I) {
          Variant X = B.GetElement(I);
          if (VarIsEmpty(X)) break;
          if (!VarIsNull(X) && VarCompareValue(A, X) == vrEqual) return Variant(true);
        }
        return Variant(false);
      }
      return Variant(VarCompareValue(A, B) == vrEqual);
    }
    default: OperatorNotSupported(N.Operator);
  }
}

Variant TextCompareValue(const TqmtFilterNode& N, const Variant& A, const Variant& B) {
  if (N.Operator == coLIKE) {
    if (VarIsNull(A) || VarIsNull(B)) return Variant(false);
    return Variant(QmtMatchesMask(VarToStr(A), VarToStr(B)));
  }
  if (N.Operator != coEQ && N.Operator != coNE) OperatorNotSupported(N.Operator);
  if (IsBlank(A) || IsBlank(B)) return Variant(CompareWithBlank(N.Operator, A, B));
  String SA = VarToStr(A), SB = VarToStr(B);
  if (N.CaseInsensitive) {
    SA = AnsiUpperCase(SA);
    SB = AnsiUpperCase(SB);
  }
  if (N.PartialLength > 0) {
    SA = SA.substr(0, std::size_t(N.PartialLength));
    SB = SB.substr(0, std::size_t(N.PartialLength));
  }
  bool Eq = SA == SB;
  return Variant(N.Operator == coEQ ? Eq : !Eq);
}

Variant ConstantValue(const TqmtFilterNode& N) {
  if (N.Operator != coCONST2) return Variant();
  switch (N.ConstType) {
    case ftSmallint: case ftWord: case ftInteger: case ftAutoInc: case ftFloat: case ftCurrency: case ftString:
    case ftFixedChar: case ftWideString: case ftGuid: case ftBoolean: case ftBCD: case ftFMTBcd:
      return N.Value;
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp:
      return Variant::FromDate(N.Value.AsDate());
    default:
      throw EMemTableFilterError(Format("Unknown fieldtype (%d)", {int(N.ConstType)}));
  }
}

// The values of a list's elements gathered as one value: an array of 51 places for two values or
// more (an element that is itself an array gives its members up to the first empty one), the one
// value as text (null stays null), or nothing.
Variant ListValue(const Variant* Values, std::size_t Count) {
  Variant Arr = VarArrayCreate(0, 50, varVariant);
  int Gathered = 0;
  for (std::size_t K = 0; K < Count; ++K) {
    const Variant& V = Values[K];
    if (VarIsArray(V)) {
      for (int I = VarArrayLowBound(V, 1); I <= VarArrayHighBound(V, 1); ++I) {
        Variant X = V.GetElement(I);
        if (VarIsEmpty(X)) break;
        Arr.PutElement(Gathered++, X);
      }
    } else {
      Arr.PutElement(Gathered++, V);
    }
  }
  if (Gathered >= 2) return Arr;
  if (Gathered == 0) return Variant();
  Variant One = Arr.GetElement(0);
  return VarIsNull(One) ? One : Variant(VarToStr(One));
}

// One step of the evaluation: a node to expand into its operands, a node whose operand values are
// on top of the value stack, or a list whose Count element values are.
enum TStepKind { skExpand, skCombine, skList };
struct TStep {
  TStepKind Kind;
  int Node;
  int Count = 0;
};

}  // namespace

std::vector<int> TqmtFilterExpression::ListElements(int First) const {
  std::vector<int> Elements;
  for (int E = First; E >= 0;) {
    const TqmtFilterNode& N = NodeAt(E);
    if (N.Operator != coLISTELEM2) OperatorNotSupported(N.Operator);
    Elements.push_back(E);
    E = N.Next >= 0 && N.Next < int(FNodes.size()) && FNodes[std::size_t(N.Next)].NodeClass == nkListElem ? N.Next
                                                                                                           : -1;
  }
  return Elements;
}

const TqmtFilterNode& TqmtFilterExpression::NodeAt(int Index) const {
  if (Index < 0 || Index >= int(FNodes.size())) ClassOutOfRange(nkUnknown);
  return FNodes[std::size_t(Index)];
}

// The tree is walked with a stack of its own, not by recursion: a chain of a thousand terms
// costs memory on the heap, never the machine stack.
Variant TqmtFilterExpression::Evaluate(int Index, TqmtFilterContext* Context) const {
  std::vector<TStep> Steps{{skExpand, Index}};
  std::vector<Variant> Values;
  // Operands are evaluated left to right: pushed in reverse, after the step that combines them.
  auto ExpandList = [&](int First) {
    std::vector<int> Elements = ListElements(First);
    Steps.push_back({skList, First, int(Elements.size())});
    for (auto E = Elements.rbegin(); E != Elements.rend(); ++E) Steps.push_back({skExpand, FNodes[std::size_t(*E)].Left});
  };
  auto Pop = [&]() {
    Variant V = std::move(Values.back());
    Values.pop_back();
    return V;
  };
  while (!Steps.empty()) {
    TStep S = Steps.back();
    Steps.pop_back();
    if (S.Kind == skList) {
      std::size_t Count = std::size_t(S.Count);
      Variant V = ListValue(Values.data() + (Values.size() - Count), Count);
      Values.resize(Values.size() - Count);
      Values.push_back(std::move(V));
      continue;
    }
    const TqmtFilterNode& N = NodeAt(S.Node);
    if (S.Kind == skCombine) {
      switch (N.NodeClass) {
        case nkUnary: Values.push_back(UnaryValue(N, Pop())); break;
        case nkBinary: case nkCompare: {
          Variant B = Pop();
          Variant A = Pop();
          Values.push_back(N.NodeClass == nkBinary ? BinaryValue(N, A, B) : TextCompareValue(N, A, B));
          break;
        }
        default: Values.push_back(EvalFunction(N, N.Left >= 0 ? Pop() : Variant())); break;  // nkFunc
      }
      continue;
    }
    switch (N.NodeClass) {
      case nkUnary:
        Steps.push_back({skCombine, S.Node});
        Steps.push_back({skExpand, N.Left});
        break;
      case nkBinary: case nkCompare:
        Steps.push_back({skCombine, S.Node});
        if (N.NodeClass == nkBinary && N.Operator == coIN) ExpandList(N.Right);
        else Steps.push_back({skExpand, N.Right});
        Steps.push_back({skExpand, N.Left});
        break;
      case nkField:
        if (N.Operator != coFIELD2) throw EMemTableFilterError(Format("Unknown operator (%d)", {N.Operator}));
        Values.push_back(Context->FilterFieldValue(N.FieldIndex >= 0 ? N.FieldIndex : Context->FilterFieldIndex(N.Name)));
        break;
      case nkConst: Values.push_back(ConstantValue(N)); break;
      case nkFunc:
        if (N.Operator != coFUNC2) OperatorNotSupported(N.Operator);
        Steps.push_back({skCombine, S.Node});
        if (N.Left >= 0) ExpandList(N.Left);
        break;
      case nkListElem: ExpandList(S.Node); break;
      default: ClassOutOfRange(N.NodeClass);
    }
  }
  return Values.back();
}

Variant TqmtFilterExpression::EvalFunction(const TqmtFilterNode& N, const Variant& Args) const {
  String Name = AnsiUpperCase(N.Name);
  auto Arg = [&](int I) -> Variant {
    if (VarIsArray(Args)) return Args.GetElement(I);
    return I == 0 ? Args : Variant();
  };
  try {
    if (Name == "UPPER" || Name == "LOWER") {
      Variant A = Arg(0);
      return VarIsNull(A) ? Variant::Null() : Variant(FoldAscii(VarToStr(A), Name == "UPPER"));
    }
    if (Name == "SUBSTRING") {
      Variant T = Arg(0);
      if (VarIsNull(T)) return Variant::Null();
      String S = VarToStr(T);
      String StartText = VarToStr(Arg(1));
      int Start = Arg(1).AsInteger();
      int Len = VarIsEmpty(Arg(2)) ? 0 : Arg(2).AsInteger();
      if (Len == 0) {
        std::size_t Comma = StartText.find(',');
        Len = Comma != String::npos ? StrToInt(Trim(StartText.substr(Comma + 1))) : int(S.size());
      }
      return Variant(Copy(S, Start, Len));
    }
    if (Name == "TRIM" || Name == "TRIMLEFT" || Name == "TRIMRIGHT") {
      Variant A = Arg(0);
      if (VarIsNull(A)) return Variant::Null();
      String S = VarToStr(A);
      std::size_t B = 0, E = S.size();
      if (Name != "TRIMRIGHT")
        while (B < E && IsBlankChar(S[B])) ++B;
      if (Name != "TRIMLEFT")
        while (E > B && IsBlankChar(S[E - 1])) --E;
      return Variant(S.substr(B, E - B));
    }
    if (Name == "GETDATE") return Variant::FromDate(Now());
    if (Name == "YEAR" || Name == "MONTH" || Name == "DAY" || Name == "HOUR" || Name == "MINUTE" || Name == "SECOND") {
      Variant A = Arg(0);
      if (VarIsNull(A)) return Variant::Null();
      TDateTime D = A.AsDate();
      int Y, Mo, Dd, H, Mi, S, Ms;
      DecodeDateTime(D, Y, Mo, Dd, H, Mi, S, Ms);
      if (Name == "YEAR") return Variant(Y);
      if (Name == "MONTH") return Variant(Mo);
      if (Name == "DAY") return Variant(Dd);
      if (Name == "HOUR") return Variant(H);
      if (Name == "MINUTE") return Variant(Mi);
      return Variant(S);
    }
    if (Name == "DATE" || Name == "TIME") {
      bool IsDate = Name == "DATE";
      if (VarIsArray(Args)) {
        // Two arguments: the text read with the given format.
        TFormatSettings Saved = FormatSettings;
        String Text = VarToStr(Arg(0));
        TScopeGuard restore([&] { FormatSettings = Saved; });
        if (IsDate) FormatSettings.ShortDateFormat = VarToStr(Arg(1));
        else FormatSettings.LongTimeFormat = VarToStr(Arg(1));
        return Variant::FromDate(IsDate ? StrToDate(Text) : StrToTime(Text));
      }
      Variant A = Arg(0);
      if (VarIsNull(A)) return Variant::Null();
      double D = A.AsDate();
      // Only the days of years 1 to 9999 are dates; a day number beyond them is refused.
      static const double FirstDay = EncodeDate(1, 1, 1), LastDay = EncodeDate(9999, 12, 31) + 1;
      if (!(D >= FirstDay && D < LastDay)) throw EMemTableFilterError("Invalid or missing parameter for function " + N.Name);
      if (IsDate) return Variant(int(std::floor(D)));
      return Variant(D - std::floor(D));
    }
  } catch (const EVariantError&) {
    throw EMemTableFilterError("Invalid or missing parameter for function " + N.Name);
  }
  throw EMemTableFilterError("Invalid function name " + N.Name);
}

bool TqmtFilterExpression::Accepts(TqmtFilterContext* Context) const { return Evaluate(FRoot, Context).AsBoolean(); }
