// This file implements the filter texts of TCustomADODataSet: a small parser of comparisons joined
// by AND, OR and NOT, compiled against the cursor's columns and evaluated on stored rows.
#include <cctype>
#include <cstdlib>
#include <memory>

#include "ADODB.h"
#include "ADOCellCodec.h"
#include "ADOStore.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace {

enum class TOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

struct TNode : TAdoFilter {};

struct TAndNode : TNode {
  std::unique_ptr<TAdoFilter> Left, Right;
  bool Or = false;
  bool Matches(const TAdoCursor& C, const TAdoRow& Row) const override {
    bool L = Left->Matches(C, Row);
    return Or ? (L || Right->Matches(C, Row)) : (L && Right->Matches(C, Row));
  }
};

struct TNotNode : TNode {
  std::unique_ptr<TAdoFilter> Inner;
  bool Matches(const TAdoCursor& C, const TAdoRow& Row) const override { return !Inner->Matches(C, Row); }
};

struct TNullNode : TNode {
  int Column = 0;
  bool Negate = false;
  bool Matches(const TAdoCursor&, const TAdoRow& Row) const override {
    return IsNullCell(Row.Data.get(), Column) != Negate;
  }
};

bool IsTextColumn(const TAdoColumn& Col) {
  switch (Col.Kind) {
    case TNativeKind::Text8:
    case TNativeKind::Text16:
      return true;
    default:
      return Col.Type == ftMemo || Col.Type == ftFmtMemo;
  }
}

struct TCompareNode : TNode {
  int Column = 0;
  TOp Op = TOp::Equal;
  Variant Constant;
  bool Text = false;         // compared as texts
  bool Partial = false;      // the constant ended in '*': texts starting with it match
  bool CaseInsensitive = false;

  bool Matches(const TAdoCursor& C, const TAdoRow& Row) const override {
    if (IsNullCell(Row.Data.get(), Column)) return false;
    int Order;
    if (Text) {
      String Value = AdoCell::Text(C.Columns[std::size_t(Column)], Row.Data.get(), Row.Blobs);
      String Key = Constant.AsString();
      if (Partial && Value.size() > Key.size()) Value.resize(Key.size());
      Order = CaseInsensitive ? AnsiCompareText(Value, Key) : CompareStr(Value, Key);
    } else {
      Variant Value = AdoCell::Value(C.Columns[std::size_t(Column)], Row.Data.get(), Row.Blobs);
      TVariantRelationship R = VarCompareValue(Value, Constant);
      if (R == vrNotEqual) return Op == TOp::NotEqual;
      Order = R == vrLessThan ? -1 : R == vrGreaterThan ? 1 : 0;
    }
    switch (Op) {
      case TOp::Equal: return Order == 0;
      case TOp::NotEqual: return Order != 0;
      case TOp::Less: return Order < 0;
      case TOp::Greater: return Order > 0;
      case TOp::LessEqual: return Order <= 0;
      case TOp::GreaterEqual: return Order >= 0;
    }
    return false;
  }
};

class TParser {
 public:
  TParser(const String& Text, const TAdoCursor& Cursor, TFilterOptions Options)
      : FText(Text), C(Cursor), FOptions(Options) {}

  std::unique_ptr<TAdoFilter> Parse() {
    Next();
    std::unique_ptr<TAdoFilter> Result = ParseOr();
    if (FKind != TKind::End) Error();
    return Result;
  }

 private:
  enum class TKind { End, Name, Text, Number, Symbol };

  [[noreturn]] void Error() {
    DatabaseError("Expression de filtre incorrecte : " + FText);
  }

  void Next() {
    std::size_t n = FText.size();
    while (FPos < n && std::isspace(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    FToken.clear();
    if (FPos >= n) {
      FKind = TKind::End;
      return;
    }
    char c = FText[FPos];
    if (c == '\'' || c == '"') {
      ++FPos;
      for (;;) {
        if (FPos >= n) Error();
        if (FText[FPos] == c) {
          if (FPos + 1 < n && FText[FPos + 1] == c) {
            FToken += c;
            FPos += 2;
            continue;
          }
          ++FPos;
          break;
        }
        FToken += FText[FPos++];
      }
      FKind = TKind::Text;
    } else if (c == '[') {
      std::size_t Close = FText.find(']', FPos);
      if (Close == String::npos) Error();
      FToken = FText.substr(FPos + 1, Close - FPos - 1);
      FPos = Close + 1;
      FKind = TKind::Name;
    } else if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '.') && FPos + 1 < n &&
                                                               std::isdigit(static_cast<unsigned char>(FText[FPos + 1])))) {
      std::size_t Start = FPos++;
      while (FPos < n && (std::isdigit(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '.')) ++FPos;
      FToken = FText.substr(Start, FPos - Start);
      FKind = TKind::Number;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
      std::size_t Start = FPos;
      while (FPos < n && (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_' ||
                          static_cast<unsigned char>(FText[FPos]) >= 0x80))
        ++FPos;
      FToken = FText.substr(Start, FPos - Start);
      FKind = TKind::Name;
    } else {
      FToken = String(1, c);
      ++FPos;
      if ((c == '<' || c == '>' || c == '!') && FPos < n && (FText[FPos] == '=' || (c == '<' && FText[FPos] == '>'))) {
        FToken += FText[FPos++];
      }
      FKind = TKind::Symbol;
    }
  }

  bool IsKeyword(const char* Word) const { return FKind == TKind::Name && SameText(FToken, Word); }

  std::unique_ptr<TAdoFilter> ParseOr() {
    std::unique_ptr<TAdoFilter> Left = ParseAnd();
    while (IsKeyword("OR")) {
      Next();
      auto Node = std::make_unique<TAndNode>();
      Node->Or = true;
      Node->Left = std::move(Left);
      Node->Right = ParseAnd();
      Left = std::move(Node);
    }
    return Left;
  }

  std::unique_ptr<TAdoFilter> ParseAnd() {
    std::unique_ptr<TAdoFilter> Left = ParseFactor();
    while (IsKeyword("AND")) {
      Next();
      auto Node = std::make_unique<TAndNode>();
      Node->Left = std::move(Left);
      Node->Right = ParseFactor();
      Left = std::move(Node);
    }
    return Left;
  }

  std::unique_ptr<TAdoFilter> ParseFactor() {
    if (IsKeyword("NOT")) {
      Next();
      auto Node = std::make_unique<TNotNode>();
      Node->Inner = ParseFactor();
      return Node;
    }
    if (FKind == TKind::Symbol && FToken == "(") {
      Next();
      std::unique_ptr<TAdoFilter> Inner = ParseOr();
      if (!(FKind == TKind::Symbol && FToken == ")")) Error();
      Next();
      return Inner;
    }
    return ParseComparison();
  }

  std::unique_ptr<TAdoFilter> ParseComparison() {
    if (FKind != TKind::Name) Error();
    int Column = C.DataIndexOf(FToken);
    if (Column < 0) DatabaseErrorFmt(DBConsts::SFieldNotFound, {FToken});
    Next();
    if (IsKeyword("IS")) {
      Next();
      bool Negate = false;
      if (IsKeyword("NOT")) {
        Negate = true;
        Next();
      }
      if (!IsKeyword("NULL")) Error();
      Next();
      auto Node = std::make_unique<TNullNode>();
      Node->Column = Column;
      Node->Negate = Negate;
      return Node;
    }
    if (FKind != TKind::Symbol) Error();
    TOp Op;
    if (FToken == "=") Op = TOp::Equal;
    else if (FToken == "<>" || FToken == "!=") Op = TOp::NotEqual;
    else if (FToken == "<") Op = TOp::Less;
    else if (FToken == ">") Op = TOp::Greater;
    else if (FToken == "<=") Op = TOp::LessEqual;
    else if (FToken == ">=") Op = TOp::GreaterEqual;
    else Error();
    Next();
    if (IsKeyword("NULL")) {
      // "F = NULL" tests for an empty value, "F <> NULL" for a value.
      if (Op != TOp::Equal && Op != TOp::NotEqual) Error();
      Next();
      auto Node = std::make_unique<TNullNode>();
      Node->Column = Column;
      Node->Negate = Op == TOp::NotEqual;
      return Node;
    }
    auto Node = std::make_unique<TCompareNode>();
    Node->Column = Column;
    Node->Op = Op;
    const TAdoColumn& Col = C.Columns[std::size_t(Column)];
    if (FKind == TKind::Text) {
      String Value = FToken;
      if (!FOptions.Contains(foNoPartialCompare) && !Value.empty() && Value.back() == '*') {
        Value.pop_back();
        Node->Partial = true;
      }
      Node->Constant = Variant(Value);
      Node->Text = IsTextColumn(Col);
    } else if (FKind == TKind::Number) {
      String Number = FToken;
      // The filter syntax writes decimals with a point, whatever the locale.
      double Value = 0;
      bool Integer = Number.find('.') == String::npos;
      long long Whole = 0;
      if (Integer && TryStrToInt64(Number, Whole)) {
        Node->Constant = Variant(Whole);
      } else {
        char* End = nullptr;
        Value = std::strtod(Number.c_str(), &End);
        if (End == nullptr || *End != '\0') Error();
        Node->Constant = Variant(Value);
      }
      Node->Text = false;
      if (IsTextColumn(Col)) {
        Node->Text = true;
        Node->Constant = Variant(Number);
      }
    } else {
      Error();
    }
    Node->CaseInsensitive = FOptions.Contains(foCaseInsensitive);
    Next();
    return Node;
  }

  String FText;
  const TAdoCursor& C;
  TFilterOptions FOptions;
  std::size_t FPos = 0;
  TKind FKind = TKind::End;
  String FToken;
};

}  // namespace

std::unique_ptr<TAdoFilter> TAdoFilter::Parse(const String& Text, const TAdoCursor& Cursor, TFilterOptions Options) {
  return TParser(Text, Cursor, Options).Parse();
}
