// This file implements the order of 1252 text that French readers expect: letters first without
// regard to accents or case ("école" before "fleuve"), then accents; case never counts, so two texts
// are equal only when they differ by case alone. Sorted string lists, case-insensitive locates,
// the in-memory table's text keys and the SQLite collation all use it.
#pragma once

#include "AnsiString.h"

// Negative, zero or positive as A sorts before, with, or after B in the text order.
int AnsiCompareText(const String& A, const String& B);
bool AnsiSameText(const String& A, const String& B);

// Case-sensitive order: as AnsiCompareText, then lower case before upper case.
int AnsiCompareStr(const String& A, const String& B);
bool AnsiSameStr(const String& A, const String& B);

// Byte-wise comparison after folding ASCII letters only (the platform's CompareText/SameText),
// used for identifiers: class, component, property and field names.
int CompareText(const String& A, const String& B);
bool SameText(const String& A, const String& B);
// Plain byte comparison.
int CompareStr(const String& A, const String& B);

// The SQLite collation callback over two UTF-8 texts, in the same order as AnsiCompareText.
int CompareUtf8Text(int LengthA, const void* A, int LengthB, const void* B);
