// This file implements the conventions that the schema and the engine layer share about column
// types: how a declared type reads (kind and text size), the text collation, and the column
// definitions the schema writes so that SQLite enforces what the old engine enforced.
//
// Storage, as the schema declares it and the session reads it:
//  - text: VARCHAR(n) (or TEXT(n), CHAR(n)) COLLATE VELBOR with a CHECK on its length, written by
//    TextColumnSql; MEMO (or TEXT without size) for long text, also COLLATE VELBOR. Text is UTF-8
//    in the file and 1252 in the program.
//  - booleans: BOOLEAN holding 1 or 0 (never Jet's -1), so that "= TRUE" and a bare column as a
//    condition both work.
//  - dates: DATETIME (or DATE) holding a REAL, the TDateTime itself (days from 1899-12-30): exact,
//    and ordered as numbers.
//  - numbers: INTEGER, REAL (FLOAT, DOUBLE); pictures and other bytes: BLOB (IMAGE).
#pragma once

#include "AnsiString.h"

// The name of the collation registered on every connection (the program's text order): the
// schema declares it on every text column, so '=', IN, DISTINCT, MAX and ORDER BY on those
// columns ignore case and order accents as the rest of the program does.
inline constexpr const char* kTextCollation = "VELBOR";

// The storage class of one value as SQLite holds it, whatever its column declares.
enum class TSqliteValueType { Integer = 1, Float = 2, Text = 3, Blob = 4, Null = 5 };

// What a declared type holds, read as SQLite reads affinities plus the program's own names.
enum class TSqliteColumnKind { Unknown, Integer, Float, Boolean, Date, Text, Blob };

TSqliteColumnKind ColumnKindOf(const String& DeclaredType);

// The size of a declared text type such as "VARCHAR(13)", "TEXT(50)" or "CHAR(2)"; 0 for any other
// type, a text type without size (memo) included.
int TextSizeOf(const String& DeclaredType);

// The definition of a text column of at most Size characters:
//   "NAME" VARCHAR(Size) COLLATE VELBOR [NOT NULL] CONSTRAINT "taille:Size:NAME" CHECK (...)
// The session recognises the constraint's name when the check fails and reports the column as
// too long. Size 0 gives a memo column (MEMO COLLATE VELBOR), without the check.
String TextColumnSql(const String& Name, int Size, bool Required = false);

// The prefix of the length constraints' names.
inline constexpr const char* kTextSizeConstraint = "taille:";
