// This file implements a strict reader of delimited text, as spreadsheet programs read it, for
// the tests of the grid export.
#pragma once

#include <optional>
#include <vector>

#include "AnsiString.h"

using TRecords = std::vector<std::vector<String>>;

// Reads delimited text as spreadsheet programs do, strictly: records end with
// CRLF (the last one too), a field is either plain (no quote, CR or LF in it)
// or wholly between quotes with its quotes doubled. Anything else gives no
// result.
inline std::optional<TRecords> ReadDelimited(const String& Text, char Delimiter) {
  TRecords Records;
  std::vector<String> Record;
  std::size_t I = 0;
  while (I < Text.size()) {
    String Field;
    if (Text[I] == '"') {
      ++I;
      for (;;) {
        if (I >= Text.size()) return std::nullopt;  // unterminated
        if (Text[I] == '"') {
          if (I + 1 < Text.size() && Text[I + 1] == '"') {
            Field += '"';
            I += 2;
            continue;
          }
          ++I;
          break;
        }
        Field += Text[I++];
      }
    } else {
      while (I < Text.size() && Text[I] != Delimiter && Text[I] != '\r') {
        if (Text[I] == '"' || Text[I] == '\n') return std::nullopt;
        Field += Text[I++];
      }
    }
    Record.push_back(Field);
    if (I < Text.size() && Text[I] == Delimiter) {
      ++I;
      continue;
    }
    if (Text.compare(I, 2, "\r\n") != 0) return std::nullopt;  // a stray character after a field
    I += 2;
    Records.push_back(Record);
    Record.clear();
  }
  if (!Record.empty()) return std::nullopt;  // the last record lacks its CRLF
  return Records;
}

