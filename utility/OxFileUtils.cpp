// This file implements the string and file-name routines of the utility library.
#include "OxFileUtils.h"

#include "DataSet.h"

#include "WinApi.h"

String StrReplaceAll(const String& S, const String& OldPattern, const String& NewPattern) {
  if (OldPattern.empty()) return S;
  String result;
  result.reserve(S.size());
  size_t from = 0;
  for (size_t at = S.find(OldPattern); at != String::npos; at = S.find(OldPattern, from)) {
    result.append(S, from, at - from);
    result += NewPattern;
    // The scan resumes after the occurrence in S: the replacement is never searched.
    from = at + OldPattern.size();
  }
  result.append(S, from, String::npos);
  return result;
}

String StrBeforeChar(const String& S, char C) {
  size_t at = S.find(C);
  return at == String::npos ? S : S.substr(0, at);
}

bool FolderExists(const String& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ContainsAnyChar(const String& S, const String& Chars) {
  return !Chars.empty() && S.find_first_of(Chars) != String::npos;
}

bool FileNameIsValid(const String& Name) {
  // The backslash and the drive colon belong to a path and pass.
  return !Name.empty() && !ContainsAnyChar(Name, "/<>\"?*|");
}

namespace {

// The long and 8.3 names of the first file Path matches; false when nothing matches.
bool FindNames(const String& Path, String& LongName, String& ShortName) {
  if (Path.empty()) return false;
  WIN32_FIND_DATAA data{};
  HANDLE search = FindFirstFileA(Path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  LongName = data.cFileName;
  ShortName = data.cAlternateFileName;
  return true;
}

}  // namespace

String LongFileNameOf(const String& Path) {
  String longName, shortName;
  if (!FindNames(Path, longName, shortName)) return String();
  return longName.empty() ? shortName : longName;
}

String ShortFileNameOf(const String& Path) {
  String longName, shortName;
  if (!FindNames(Path, longName, shortName)) return String();
  // A name that already is 8.3 has no separate alias.
  return shortName.empty() ? longName : shortName;
}

void RaiseDatabaseError(const String& Message) { DatabaseError(Message); }
