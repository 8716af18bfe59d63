// This file implements the SQL tokenizer.
#include "SqlTokens.h"

#include "Format.h"
#include "SqliteError.h"
#include "TextOrder.h"

namespace {

bool IsWordStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsWordChar(unsigned char c) { return IsWordStart(c) || IsDigit(c) || c == '$'; }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

[[noreturn]] void RefuseUnterminated(const String& Sql, std::size_t Start, char Closing) {
  throw ESqliteError(Format("Il manque « %s » pour fermer ce qui commence en position %d de l'instruction SQL"_a,
                            {String(1, Closing), int(Start) + 1}) +
                         "\r\nInstruction : " + Sql,
                     TSqliteErrorKind::Usage, 0, String(), String(), Sql);
}

// The end of a quoted run that starts at Start with Quote, a doubled quote standing for itself.
std::size_t QuotedEnd(const String& Sql, std::size_t Start, char Quote) {
  for (std::size_t i = Start + 1; i < Sql.size(); ++i) {
    if (Sql[i] != Quote) continue;
    if (i + 1 < Sql.size() && Sql[i + 1] == Quote) {
      ++i;
      continue;
    }
    return i + 1;
  }
  RefuseUnterminated(Sql, Start, Quote);
}

}  // namespace

String TSqlToken::Name() const {
  char open = Text.empty() ? '\0' : Text[0];
  switch (Kind) {
    case TSqlTokenKind::BracketName:
      return Text.substr(1, Text.size() - 2);
    case TSqlTokenKind::QuotedName:
    case TSqlTokenKind::Literal: {
      String inner;
      for (std::size_t i = 1; i + 1 < Text.size(); ++i) {
        inner += Text[i];
        if (Text[i] == open) ++i;  // the second of a doubled quote
      }
      return inner;
    }
    default:
      return Text;
  }
}

bool TSqlToken::IsWord(const char* Word) const { return Kind == TSqlTokenKind::Word && SameText(Text, Word); }

bool TSqlToken::IsSymbol(const char* Symbol) const { return Kind == TSqlTokenKind::Symbol && Text == Symbol; }

std::vector<TSqlToken> TokenizeSql(const String& Sql) {
  std::vector<TSqlToken> tokens;
  const std::size_t n = Sql.size();
  auto at = [&](std::size_t k) { return k < n ? static_cast<unsigned char>(Sql[k]) : 0; };
  std::size_t i = 0;
  while (i < n) {
    unsigned char c = at(i);
    std::size_t start = i;
    TSqlTokenKind kind;
    if (IsBlank(c)) {
      while (i < n && IsBlank(at(i))) ++i;
      kind = TSqlTokenKind::Blank;
    } else if (c == '-' && at(i + 1) == '-') {
      while (i < n && at(i) != '\n') ++i;
      kind = TSqlTokenKind::Comment;
    } else if (c == '/' && at(i + 1) == '*') {
      std::size_t close = Sql.find("*/", i + 2);
      i = close == String::npos ? n : close + 2;
      kind = TSqlTokenKind::Comment;
    } else if (c == '\'') {
      i = QuotedEnd(Sql, i, '\'');
      kind = TSqlTokenKind::Literal;
    } else if (c == '"' || c == '`') {
      i = QuotedEnd(Sql, i, char(c));
      kind = TSqlTokenKind::QuotedName;
    } else if (c == '[') {
      std::size_t close = Sql.find(']', i + 1);
      if (close == String::npos) RefuseUnterminated(Sql, i, ']');
      i = close + 1;
      kind = TSqlTokenKind::BracketName;
    } else if (IsDigit(c) || (c == '.' && IsDigit(at(i + 1)))) {
      while (IsDigit(at(i)) || at(i) == '.') ++i;
      if ((at(i) == 'e' || at(i) == 'E') &&
          (IsDigit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && IsDigit(at(i + 2))))) {
        i += 2;
        while (IsDigit(at(i))) ++i;
      }
      kind = TSqlTokenKind::Number;
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(at(i))) ++i;
      kind = TSqlTokenKind::Word;
    } else if (c == ':' && IsWordStart(at(i + 1))) {
      ++i;
      while (i < n && IsWordChar(at(i))) ++i;
      kind = TSqlTokenKind::Parameter;
    } else {
      String two = Sql.substr(i, 2);
      i += (two == "<=" || two == ">=" || two == "<>" || two == "!=" || two == "||") ? 2 : 1;
      kind = TSqlTokenKind::Symbol;
    }
    tokens.push_back({kind, start, i, Sql.substr(start, i - start)});
  }
  tokens.push_back({TSqlTokenKind::End, n, n, String()});
  return tokens;
}
