// This file implements the edit-mask language of the masked edit: parsing a mask ("mask;save;blank"),
// the character classes of its positions, checking and case-converting typed characters, and the
// conversions between the text a program reads (Text) and the text the edit shows (EditText).
//
// Mask characters: 0 digit, 9 digit or blank, # digit, sign or blank, L letter, l letter or blank,
// A letter or digit, a letter, digit or blank, C any character, c any character or blank;
// / and : the locale's date and time separators; ! optional characters lead (blanks are trimmed
// at the start, not the end); > upper case, < lower case, <> no conversion, for what follows;
// \ the next character is a literal; _ a literal blank. Every other character is a literal.
// After the mask, ";0" keeps the literals out of Text (";1", the default, keeps them in), and a
// third field gives the blank character shown for empty positions ("_" by default).
#pragma once

#include <vector>

#include "AnsiString.h"

enum TMaskCharType { mcNone, mcLiteral, mcIntlLiteral, mcDirective, mcMask, mcMaskOpt, mcFieldSeparator, mcField };

enum TMaskedState { msMask = 1, msUpper = 2, msLower = 4, msLiteral = 8 };
using TMaskDirectives = int;  // a combination of TMaskedState bits

inline constexpr char mDirReverse = '!';
inline constexpr char mDirUpperCase = '>';
inline constexpr char mDirLowerCase = '<';
inline constexpr char mDirLiteral = '\\';
inline constexpr char mMskFieldSeparator = ';';
inline constexpr char mMskNoSave = '0';
inline constexpr char mMskSpace = '_';
inline constexpr char mMskDefaultBlank = '_';

// One position of the edit text.
struct TMaskPosition {
  bool Literal = false;
  char Char = 0;      // the literal, or the mask character (0 9 # L l A a C c) of an input position
  int Case = 0;       // msUpper, msLower or 0 for an input position
};

// A parsed edit mask.
struct TEditMaskInfo {
  std::vector<TMaskPosition> Positions;
  bool SaveLiterals = true;
  char Blank = mMskDefaultBlank;
  bool Reverse = false;
  bool Empty() const { return Positions.empty(); }
  int Length() const { return int(Positions.size()); }
  // The edit text with every input position blank.
  String EmptyEditText() const;
};

TEditMaskInfo ParseEditMask(const String& EditMask);

// The class of the mask character at MaskOffset (0-based) of EditMask.
TMaskCharType MaskGetCharType(const String& EditMask, int MaskOffset);
// The directives in force at MaskOffset.
TMaskDirectives MaskGetCurrentDirectives(const String& EditMask, int MaskOffset);
// The 0-based offset of the field separator that ends the mask, -1 when there is none.
int MaskGetFldSeparator(const String& EditMask);
// Whether Text keeps the literals (the second field is not "0").
bool MaskGetMaskSave(const String& EditMask);
// The blank character (the third field, "_" by default).
char MaskGetMaskBlank(const String& EditMask);
// The locale's separator for / and :, the character itself otherwise.
char MaskIntlLiteralToChar(char IntlLiteral);
// Whether Ch may go at an input position of mask character MaskChar (blanks included for the
// optional ones).
bool MaskCharIsValid(char MaskChar, char Ch);
// Ch converted as the position's case directive asks.
char MaskConvertCase(const TMaskPosition& Position, char Ch);

// The edit text for a Text value: literals in place, blanks in the empty input positions.
String MaskTextToEditText(const TEditMaskInfo& Mask, const String& Text);
// The Text of an edit text: blanks become spaces; without saved literals only the input
// characters, trimmed at the end (at the start with !).
String MaskEditTextToText(const TEditMaskInfo& Mask, const String& EditText);
// The index of the first required input position left blank (or holding a character it does not
// accept), -1 when the edit text is complete.
int MaskFirstInvalidPosition(const TEditMaskInfo& Mask, const String& EditText);
// Whether no input position of the edit text holds a character.
bool MaskIsEmptyEditText(const TEditMaskInfo& Mask, const String& EditText);

// Value formatted with the mask, blanks shown as spaces.
String FormatMaskText(const String& EditMask, const String& Value);
// Value with the mask's literals put in place (Value holds the input characters only).
String MaskDoFormatText(const String& EditMask, const String& Value, char Blank);
// Value (already holding literals) padded so that every literal sits where the mask puts it.
String PadInputLiterals(const String& EditMask, const String& Value, char Blank);
