// This file implements the file-name and file-system helpers of the run-time library with Windows
// path rules ('\' and '/' both separate, "c:" names a drive, "\\server\share" a network share),
// and the program's parameters and environment, over the OS port.
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"

// Name parts. A "path" keeps its trailing separator, a "dir" does not.
String ExtractFilePath(const String& FileName);   // "c:\a\b.txt" -> "c:\a\"
String ExtractFileDir(const String& FileName);    // "c:\a\b.txt" -> "c:\a"; "c:\b.txt" -> "c:\"
String ExtractFileName(const String& FileName);   // "c:\a\b.txt" -> "b.txt"
String ExtractFileExt(const String& FileName);    // "b.txt" -> ".txt"; "" when the name has no dot
String ExtractFileDrive(const String& FileName);  // "c:" or "\\server\share"; "" otherwise
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& S);
String IncludeTrailingBackslash(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingBackslash(const String& S);
bool IsPathDelimiter(const String& S, int Index);  // 1-based
// The full path of a name relative to the current folder, with "." and ".." resolved and '/'
// turned into '\'; "" for "".
String ExpandFileName(const String& FileName);

// The file system, by Windows path.
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
bool CreateDir(const String& Dir);
// Creates every missing level of Dir; false when one cannot be made (or Dir is empty).
bool ForceDirectories(const String& Dir);
bool RemoveDir(const String& Dir);
bool DeleteFile(const String& FileName);
// Fails when NewName exists, as the platform's RenameFile does.
bool RenameFile(const String& OldName, const String& NewName);
bool CopyFile(const String& Source, const String& Target, bool FailIfExists = false);
// The size in bytes, or -1 when the file cannot be opened.
std::int64_t FileSize(const String& FileName);
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);

// A Windows command line split as the C run-time splits it: the program name up to its closing
// quote or first blank, then arguments separated by blanks outside quotes, with backslashes
// escaping quotes (2n backslashes and a quote give n backslashes; 2n+1 give n and a quote).
std::vector<String> SplitCommandLine(const String& CommandLine);

// The command line: ParamStr(0) is the program file's full path, ParamStr(1..ParamCount()) the
// arguments; "" outside that range.
int ParamCount();
String ParamStr(int Index);
String GetEnvironmentVariable(const String& Name);
