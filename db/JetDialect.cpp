// This file implements the translation of the Jet SQL dialect into the SQLite dialect, over a
// small tokenizer, and Jet's VAL.
#include "JetDialect.h"

#include <charconv>
#include <vector>

#include "Format.h"
#include "SqliteError.h"
#include "TextOrder.h"

namespace {

enum class TokenKind { Blank, Word, Number, Literal, QuotedName, BracketName, Parameter, Symbol };

struct Token {
  TokenKind Kind;
  String Text;  // as written, quotes and brackets included
};

bool IsWordStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsWordChar(unsigned char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// A quote or bracket left open: refused rather than closed at the end of the text, which would
// run a statement other than the one written.
[[noreturn]] void RefuseUnterminated(const String& Sql, std::size_t Start, char Closing) {
  throw ESqliteError(Format("Il manque « %s » pour fermer ce qui commence en position %d de l'instruction SQL"_a,
                            {String(1, Closing), int(Start) + 1}) +
                         "\r\nInstruction : " + Sql,
                     TSqliteErrorKind::Usage, 0, String(), String(), Sql);
}

// The end of a quoted run that starts at Start with Quote, a doubled quote standing for itself.
std::size_t QuotedEnd(const String& Sql, std::size_t Start, char Quote) {
  std::size_t i = Start + 1;
  while (i < Sql.size()) {
    if (Sql[i] == Quote) {
      if (i + 1 < Sql.size() && Sql[i + 1] == Quote) {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  RefuseUnterminated(Sql, Start, Quote);
}

std::vector<Token> Tokenize(const String& Sql) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  const std::size_t n = Sql.size();
  auto at = [&](std::size_t k) { return k < n ? static_cast<unsigned char>(Sql[k]) : 0; };
  while (i < n) {
    unsigned char c = at(i);
    std::size_t start = i;
    TokenKind kind;
    if (IsBlank(c)) {
      while (i < n && IsBlank(at(i))) ++i;
      kind = TokenKind::Blank;
    } else if (c == '\'') {
      i = QuotedEnd(Sql, i, '\'');
      kind = TokenKind::Literal;
    } else if (c == '"') {
      i = QuotedEnd(Sql, i, '"');
      kind = TokenKind::QuotedName;
    } else if (c == '[') {
      std::size_t close = Sql.find(']', i + 1);
      if (close == String::npos) RefuseUnterminated(Sql, i, ']');
      i = close + 1;
      kind = TokenKind::BracketName;
    } else if (IsDigit(c) || (c == '.' && IsDigit(at(i + 1)))) {
      while (IsDigit(at(i)) || at(i) == '.') ++i;
      if ((at(i) == 'e' || at(i) == 'E') &&
          (IsDigit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && IsDigit(at(i + 2))))) {
        i += 2;
        while (IsDigit(at(i))) ++i;
      }
      kind = TokenKind::Number;
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(at(i))) ++i;
      kind = TokenKind::Word;
    } else if (c == ':' && IsWordStart(at(i + 1))) {
      ++i;
      while (i < n && IsWordChar(at(i))) ++i;
      kind = TokenKind::Parameter;
    } else {
      String two = Sql.substr(i, 2);
      i += (two == "<=" || two == ">=" || two == "<>" || two == "!=" || two == "||") ? 2 : 1;
      kind = TokenKind::Symbol;
    }
    tokens.push_back({kind, Sql.substr(start, i - start)});
  }
  return tokens;
}

bool IsWord(const Token& T, const char* Word) { return T.Kind == TokenKind::Word && SameText(T.Text, Word); }

bool IsSymbol(const Token& T, const char* Symbol) { return T.Kind == TokenKind::Symbol && T.Text == Symbol; }

// The index of the next (or previous) token that is not blank, or -1.
int NextSignificant(const std::vector<Token>& Tokens, int From, int Step) {
  for (int k = From + Step; k >= 0 && k < int(Tokens.size()); k += Step) {
    if (Tokens[k].Kind != TokenKind::Blank) return k;
  }
  return -1;
}

bool IsComparison(const Token& T) {
  if (T.Kind == TokenKind::Symbol) {
    return T.Text == "=" || T.Text == "<>" || T.Text == "!=" || T.Text == "<" || T.Text == ">" ||
           T.Text == "<=" || T.Text == ">=";
  }
  return IsWord(T, "LIKE");
}

// The inner text of a quoted run, doubled quotes made single.
String Unquote(const String& Text, char Quote) {
  String inner;
  std::size_t end = Text.size() >= 2 && Text.back() == (Quote == '[' ? ']' : Quote) ? Text.size() - 1 : Text.size();
  for (std::size_t i = 1; i < end; ++i) {
    if (Quote != '[' && Text[i] == Quote && i + 1 < end && Text[i + 1] == Quote) ++i;
    inner += Text[i];
  }
  return inner;
}

String Quote(const String& Inner, char Quote) {
  String out(1, Quote);
  for (char c : Inner) {
    out += c;
    if (c == Quote) out += c;
  }
  out += Quote;
  return out;
}

}  // namespace

String TranslateJetSql(const String& Sql) {
  std::vector<Token> tokens = Tokenize(Sql);
  const int count = int(tokens.size());

  // Jet deletes name what goes away ("DELETE T.* FROM T", "DELETE * FROM T"); SQLite takes no list.
  int first = NextSignificant(tokens, -1, 1);
  int skipFrom = -1, skipTo = -1;  // tokens [skipFrom, skipTo) are dropped
  if (first >= 0 && IsWord(tokens[first], "DELETE")) {
    int second = NextSignificant(tokens, first, 1);
    if (second >= 0 && !IsWord(tokens[second], "FROM")) {
      for (int k = second; k < count; ++k) {
        if (IsWord(tokens[k], "FROM")) {
          skipFrom = first + 1;
          skipTo = k;
          break;
        }
      }
    }
  }

  String out;
  out.reserve(Sql.size() + 8);
  for (int k = 0; k < count; ++k) {
    if (k == skipFrom) {
      out += ' ';
      k = skipTo - 1;
      continue;
    }
    const Token& t = tokens[k];
    switch (t.Kind) {
      case TokenKind::Word: {
        int prev = NextSignificant(tokens, k, -1);
        int next = NextSignificant(tokens, k, 1);
        bool qualified = prev >= 0 && IsSymbol(tokens[prev], ".");
        bool called = next >= 0 && IsSymbol(tokens[next], "(");
        if (!qualified && !called && (SameText(t.Text, "TRUE") || SameText(t.Text, "FALSE"))) {
          out += SameText(t.Text, "TRUE") ? "1" : "0";
        } else if (!qualified && called && SameText(t.Text, "MID")) {
          out += "substr";
        } else {
          out += t.Text;
        }
        break;
      }
      case TokenKind::BracketName:
        out += Quote(Unquote(t.Text, '['), '"');
        break;
      case TokenKind::QuotedName: {
        int prev = NextSignificant(tokens, k, -1);
        if (prev >= 0 && IsComparison(tokens[prev])) {
          out += Quote(Unquote(t.Text, '"'), '\'');
        } else {
          out += t.Text;
        }
        break;
      }
      default:
        out += t.Text;
        break;
    }
  }
  return out;
}

double JetVal(const std::string& Text) {
  // The significant characters, blanks removed, as far as they can form a number.
  std::string number;
  bool digits = false, point = false, exponent = false;
  for (char c : Text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (number.empty() && (c == '+' || c == '-')) {
      number += c;
    } else if (IsDigit(static_cast<unsigned char>(c))) {
      number += c;
      digits = true;
    } else if (c == '.' && !point && !exponent) {
      number += c;
      point = true;
    } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
      number += 'e';
      exponent = true;
    } else if ((c == '+' || c == '-') && exponent && (number.back() == 'e')) {
      number += c;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  // from_chars leaves out an exponent mark without digits after it, as VAL does, and reads '.'
  // whatever the C locale says.
  const char* begin = number.data() + (number[0] == '+' ? 1 : 0);
  double value = 0;
  std::from_chars(begin, number.data() + number.size(), value);
  return value == 0 ? 0 : value;
}
