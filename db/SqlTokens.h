// This file implements the one reader of SQL texts at the token level, shared by the Jet dialect's
// translation and the write-back's reading of a statement's FROM clause: blanks, comments, words,
// numbers, string literals, quoted and bracketed names, parameters and symbols, each with its
// place in the text; and the quoting of a name or a literal.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "StrUtils.h"

enum class TSqlTokenKind {
  Blank,        // spaces, tabs, line ends
  Comment,      // -- to the end of the line, or /* ... */ (to the end of the text when left open)
  Word,         // a keyword or a bare name: letters, digits, '_', '$' and every byte above 0x7F
  Number,       // digits with a point and an exponent: 12, 1.5, .5, 1.5e3
  Literal,      // 'text', a doubled quote standing for itself
  QuotedName,   // "name" or `name`, a doubled quote standing for itself
  BracketName,  // [name]
  Parameter,    // :NAME
  Symbol,       // one character, or one of <= >= <> != ||
  End,          // the end of the text: always the last token, empty
};

struct TSqlToken {
  TSqlTokenKind Kind;
  std::size_t Start, Stop;  // the token is the text's bytes [Start, Stop)
  String Text;              // as written: quotes, brackets and comment marks included

  // A word as written; a quoted or bracketed name, or a literal, without its quotes (a doubled
  // quote made single).
  String Name() const;
  bool IsWord(const char* Word) const;  // this word, in any case
  bool IsSymbol(const char* Symbol) const;
  // Blanks and comments: what separates the tokens that mean something.
  bool IsSpace() const { return Kind == TSqlTokenKind::Blank || Kind == TSqlTokenKind::Comment; }
};

// The tokens of a 1252 SQL text in order, covering it whole, then End. A literal, quoted name or
// bracketed name left open raises ESqliteError (Usage): closing it at the end of the text would
// run a statement other than the one written.
std::vector<TSqlToken> TokenizeSql(const String& Sql);

// Inner between Quote characters, a Quote inside doubled: QuoteSql("a\"b") is "a""b" (a name),
// QuoteSql("it's", '\'') is 'it''s' (a literal).
inline String QuoteSql(const String& Inner, char Quote = '"') { return AnsiQuotedStr(Inner, Quote); }
