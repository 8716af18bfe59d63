// This file implements the translation of the Jet SQL dialect into the SQLite dialect, over the
// SQL tokenizer, and Jet's VAL.
#include "JetDialect.h"

#include <charconv>
#include <vector>

#include "SqlTokens.h"
#include "TextOrder.h"

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The index of the next (or previous) token that is neither blank nor comment, or -1.
int NextSignificant(const std::vector<TSqlToken>& Tokens, int From, int Step) {
  for (int k = From + Step; k >= 0 && k < int(Tokens.size()); k += Step) {
    if (!Tokens[k].IsSpace()) return k;
  }
  return -1;
}

bool IsComparison(const TSqlToken& T) {
  for (const char* Operator : {"=", "<>", "!=", "<", ">", "<=", ">="})
    if (T.IsSymbol(Operator)) return true;
  return T.IsWord("LIKE");
}

}  // namespace

String TranslateJetSql(const String& Sql) {
  std::vector<TSqlToken> tokens = TokenizeSql(Sql);
  const int count = int(tokens.size());

  // Jet deletes name what goes away ("DELETE T.* FROM T", "DELETE * FROM T"); SQLite takes no list.
  int first = NextSignificant(tokens, -1, 1);
  int skipFrom = -1, skipTo = -1;  // tokens [skipFrom, skipTo) are dropped
  if (first >= 0 && tokens[first].IsWord("DELETE")) {
    int second = NextSignificant(tokens, first, 1);
    if (second >= 0 && !tokens[second].IsWord("FROM")) {
      for (int k = second; k < count; ++k) {
        if (tokens[k].IsWord("FROM")) {
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
    const TSqlToken& t = tokens[k];
    switch (t.Kind) {
      case TSqlTokenKind::Word: {
        int prev = NextSignificant(tokens, k, -1);
        int next = NextSignificant(tokens, k, 1);
        bool qualified = prev >= 0 && tokens[prev].IsSymbol(".");
        bool called = next >= 0 && tokens[next].IsSymbol("(");
        if (!qualified && !called && (SameText(t.Text, "TRUE") || SameText(t.Text, "FALSE"))) {
          out += SameText(t.Text, "TRUE") ? "1" : "0";
        } else if (!qualified && called && SameText(t.Text, "MID")) {
          out += "substr";
        } else {
          out += t.Text;
        }
        break;
      }
      case TSqlTokenKind::BracketName:
        out += QuoteSql(t.Name(), '"');
        break;
      case TSqlTokenKind::QuotedName: {
        int prev = NextSignificant(tokens, k, -1);
        if (t.Text[0] == '"' && prev >= 0 && IsComparison(tokens[prev])) {
          out += QuoteSql(t.Name(), '\'');
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
