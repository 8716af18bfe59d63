// This file implements the string helpers of the run-time library: integer and boolean conversions,
// trimming and case, 1-based positions and pieces (Pos, Copy, Delete, Insert), searching,
// replacing, quoting and line breaks, all over 1252 Strings.
#pragma once

#include "AnsiString.h"

// Integers. Text is read as the platform reads it: leading spaces, an optional sign, then decimal
// digits or hexadecimal digits after "$" or "0x"; nothing may follow; a value out of range is an
// error. A hexadecimal text may use the whole unsigned range ("$FFFFFFFF" is -1 for an int).
// Failures raise EConvertError "'<text>' n'est pas une valeur entière correcte".
String IntToStr(long long Value);
// Upper-case hexadecimal with at least Digits digits; a negative value shows its 64-bit form.
String IntToHex(long long Value, int Digits);
int StrToInt(const String& S);
long long StrToInt64(const String& S);
int StrToIntDef(const String& S, int Default);
long long StrToInt64Def(const String& S, long long Default);
bool TryStrToInt(const String& S, int& Value);
bool TryStrToInt64(const String& S, long long& Value);

// Booleans: "True"/"False" in any case, or an integer (zero is false). Failures raise
// EConvertError "'<text>' n'est pas une valeur booléenne correcte".
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);
bool TryStrToBool(const String& S, bool& Value);
// "-1"/"0", or "True"/"False" when UseBoolStrs.
String BoolToStr(bool B, bool UseBoolStrs = false);

// Trimming removes spaces and control characters (every byte up to ' ').
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);
// UpperCase/LowerCase change ASCII letters only; the Ansi forms change every 1252 letter.
String UpperCase(const String& S);
String LowerCase(const String& S);
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);

// 1-based positions; 0 means "not found". Out-of-range arguments are clamped, never an error:
// Copy from an Index below 1 starts at 1 and takes what there is; Delete out of range does
// nothing; Insert beyond the end appends.
int Pos(const String& Sub, const String& S);
int AnsiPos(const String& Sub, const String& S);
// Pos starting at Offset; 0 when Offset is below 1 or beyond the end.
int PosEx(const String& Sub, const String& S, int Offset = 1);
String Copy(const String& S, int Index, int Count);
void Delete(String& S, int Index, int Count);
void Insert(const String& Sub, String& S, int Index);
// Whether the character at Index is one of Delimiters (false out of range).
bool IsDelimiter(const String& Delimiters, const String& S, int Index);
// The position of the last character of S that is one of Delimiters, or 0.
int LastDelimiter(const String& Delimiters, const String& S);

String LeftStr(const String& S, int Count);
String RightStr(const String& S, int Count);
String MidStr(const String& S, int Start, int Count);
String StringOfChar(char C, int Count);
String DupeString(const String& S, int Count);
String ReverseString(const String& S);

// Prefix, suffix and containment tests; the Text forms ignore 1252 case, the Str forms do not.
bool StartsText(const String& SubText, const String& Text);
bool EndsText(const String& SubText, const String& Text);
bool StartsStr(const String& SubText, const String& Text);
bool EndsStr(const String& SubText, const String& Text);
bool ContainsText(const String& Text, const String& SubText);
bool ContainsStr(const String& Text, const String& SubText);

// Flags of StringReplace, combined with |; 0 replaces the first occurrence, matching case.
enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags);

// 'it''s' quoting: the text between quotes, each quote inside doubled.
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, char Quote);
// Reads a quoted text at P (which must start with Quote, else "" and P unchanged), undoubling
// quotes; P is left after the closing quote, or at the terminating zero when there is none.
String AnsiExtractQuotedStr(const char*& P, char Quote);
// The text of the quoted part that S starts with ("'ab'cd" gives "ab"); S unchanged when it is
// not quoted: it does not start with Quote, or its quote is never closed.
String AnsiDequotedStr(const String& S, char Quote);

// Every line break (CR, LF or CR LF) becomes CR LF.
String AdjustLineBreaks(const String& S);
