// This file implements the criteria model of the filter dialog, free of any window: the criteria
// (TqvFieldInfo), the field catalogue (TqvDBFieldInfo), the words that join the parts of a search
// value (TqvFieldOperators) and the reading of those parts.
#pragma once

#include <vector>

#include "AnsiString.h"
#include "DBConsts.h"

enum TqvFilterMatchType : std::uint8_t { fdMatchStart, fdMatchAny, fdMatchExact, fdMatchEnd, fdMatchRange, fdMatchNone };
enum TqvQueryFormatDateMode { qfdMonthDayYear, qfdDayMonthYear, qfdYearMonthDay };

// One criterion. A value criterion uses FilterValue, CaseSensitive and NonMatching; a range
// criterion (fdMatchRange) MinValue and MaxValue, either of which may be empty (open side).
struct TqvFieldInfo {
  String FieldName;
  String DisplayLabel;
  TqvFilterMatchType MatchType = fdMatchStart;
  String FilterValue;
  String MinValue;
  String MaxValue;
  bool CaseSensitive = false;
  bool NonMatching = false;
};

// One entry of the field catalogue: the name offered, the column and the table that qualifies it.
struct TqvDBFieldInfo {
  String FieldName;
  String SQLFieldName;
  String TableName;
  TFieldType FieldType = ftUnknown;
  String DisplayLabel;
  int Size = 0;
};

// The words inside a search value: "a or b", "a and b", "null" for an empty field.
struct TqvFieldOperators {
  String OrChar = "or";
  String AndChar = "and";
  String NullChar = "null";
  // Whether any two of the three are equal ignoring case (the dialog warns of it).
  bool Ambiguous() const;
};

// The words of a value: separated by blanks and TABs, a double-quoted text one word without its
// quotes; a one-character joining word is also a word of its own where it touches others.
std::vector<String> qvValueWords(const String& Value, const TqvFieldOperators& Operators);
// The joining word of a value: from its second word on, the first word equal (ignoring case) to
// the or-word or the and-word; empty when there is none.
String qvFindValueOperator(const String& Value, const TqvFieldOperators& Operators);
// The parts of a value between its joining words, each of its words joined by one blank; the
// whole value is one part when Joining is empty. Empty parts (two joining words in a row) are left
// out.
std::vector<String> qvValueParts(const String& Value, const String& Joining, const TqvFieldOperators& Operators);
// Text padded on the right with Pad up to Size characters (unchanged when already that long or
// when Pad is 0): the end of a text range.
String qvPadUpperRange(const String& Text, int Size, char Pad);
