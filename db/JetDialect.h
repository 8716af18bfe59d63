// This file implements the translation of the Jet SQL dialect that the program writes into the
// SQLite dialect, and the Jet functions that SQLite lacks (VAL).
#pragma once

#include "AnsiString.h"

// The SQLite text of a statement written in the Jet dialect. Input and output are 1252 text; the
// session converts the result to UTF-8 when it prepares it. The SQL tokenizer (SqlTokens.h) reads
// the text, so string literals, quoted and bracketed names and comments are never rewritten
// inside. Translated:
//  - [My Col]                        -> "My Col"
//  - TRUE / FALSE                    -> 1 / 0 (booleans are stored as 1 and 0)
//  - mid(s, start[, len])            -> substr(s, start[, len]) (both 1-based)
//  - DELETE T.* FROM T ..., DELETE * FROM T ...   -> DELETE FROM T ...
//  - a "text" literal after a comparison operator or LIKE -> 'text' (Jet reads "..." as text;
//    elsewhere "..." stays a quoted name, as the filter dialog writes names with blanks)
// Left as they are because SQLite reads them the same way: :NAME parameters, val(x) (a function
// that every session registers), LIKE with % and _, a bare column as a condition, table and column
// names in any case. Case-insensitive comparison and order of text come from the collation that
// the schema declares on every text column (kTextCollation), not from the statement. A string,
// quoted name or bracketed name left open raises ESqliteError (kind Usage).
String TranslateJetSql(const String& Sql);

// Jet's VAL: the number that starts a text. Blanks, tabs and line ends are ignored wherever they
// stand ("1 2" is 12); reading stops at the first character that cannot continue a number (sign,
// digits, one '.', an exponent E or D with its sign and digits); a text without one gives 0.
double JetVal(const std::string& Text);
