// This file implements the text services of the data-aware library: tokens, words and splits read
// from 1-based positions, trimming, character replacement and counting, and TStackStr and
// TStackPtr, the two stacks of the filter-expression parser.
#pragma once

#include <bitset>

#include "AnsiString.h"
#include "List.h"
#include "Object.h"
#include "Strings.h"

// A set of the 256 character codes.
using TqvCharSet = std::bitset<256>;
// The set of the characters of Chars.
TqvCharSet qvCharSet(const String& Chars);

// Flags of qvGetWord.
enum : int {
  gwSkipBlanks = 1,     // skip leading blanks and TABs
  gwQuotedWords = 2,    // a double-quoted string is one word
  gwRemoveQuotes = 4,   // ... without its quotes
  gwAllowBlanks = 8     // blanks do not end a word
};

// The next token from Pos up to Delimiter. A one-character delimiter is matched as is; a longer one
// is a word matched between blanks without regard to ASCII case ("a and b", "a AND b"). Pos then
// points at the following token, or is -1 when no delimiter followed; Pos <= 0 gives an empty
// token and leaves Pos alone.
void qvGetToken(const String& Text, const String& Delimiter, int& Pos, String& Token);
// Clears List and adds the parts of Text between the occurrences of the one-character Delimiter.
void qvSplitString(const String& Text, char Delimiter, TStrings* List);
// The next word of an expression text (flags gw...). A stop character at the position is a word
// of its own; a one-character word also passes over the character that ended it.
void qvGetWord(const String& Text, int& Pos, int Flags, String& Word, const TqvCharSet& StopSet);

// Leading and trailing blanks and TABs.
void qvTrimBlanks(String& Text);
void qvTrimLeftChars(String& Text, const TqvCharSet& Chars);
void qvTrimRightChars(String& Text, const TqvCharSet& Chars);
String qvRemoveChar(const String& Text, char C);
String qvReplaceChar(const String& Text, char OldChar, char NewChar);
// The search goes on after each inserted text, so a replacement holding C itself does not loop.
String qvReplaceCharByStr(const String& Text, char C, const String& S);
// Equal after ASCII upper-casing.
bool qvSameText(const String& A, const String& B);
int qvCountChar(const String& Text, char C);
// The text after (before) the first C; empty when there is no C.
String qvStrAfterChar(const String& Text, char C);
String qvStrBeforeChar(const String& Text, char C);
int qvMaxInt(int A, int B);
int qvMax(int A, int B);
int qvMin(int A, int B);
// The file name without its folder, cut before its first "."; the whole name when it has none.
String qvExtractFileBaseName(const String& FileName);

// A stack of texts; Pop on an empty stack gives an empty text.
class TStackStr : public TObject {
  VELBOR_DECLARE_CLASS(TStackStr, TObject)
 public:
  TStackStr() = default;
  int Count() const { return FList.Count(); }
  void Push(const String& Text) { FList.Add(Text); }
  String Pop();

 private:
  TStringList FList;
};

// A stack of pointers; Pop on an empty stack gives nullptr.
class TStackPtr : public TObject {
  VELBOR_DECLARE_CLASS(TStackPtr, TObject)
 public:
  TStackPtr() = default;
  int Count() const { return FList.Count(); }
  // The index of the pushed item.
  int Push(void* Item) { return FList.Add(Item); }
  void* Pop();

 private:
  TList FList;
};
