// This file implements the string and file-name routines of the utility library: replacing every
// occurrence, the text before a character, folder and file-name checks, long and short names.
#pragma once

#include "AnsiString.h"

// Every occurrence of OldPattern (case-sensitive, scanned left to right, never overlapping, never
// re-scanned) replaced by NewPattern; an empty OldPattern leaves S unchanged.
String StrReplaceAll(const String& S, const String& OldPattern, const String& NewPattern);
// The characters of S before the first C; S itself when C does not occur.
String StrBeforeChar(const String& S, char C);
// The path names an existing folder.
bool FolderExists(const String& Path);
bool ContainsAnyChar(const String& S, const String& Chars);
// False for an empty name or one holding / < > " ? * or |; the path separator and drive colon pass.
bool FileNameIsValid(const String& Name);
// The name part of the first file matching Path on disk, long or 8.3 form (each falls back to the
// other when empty); empty when nothing matches.
String LongFileNameOf(const String& Path);
String ShortFileNameOf(const String& Path);
// Raises EDatabaseError with Message.
[[noreturn]] void RaiseDatabaseError(const String& Message);
