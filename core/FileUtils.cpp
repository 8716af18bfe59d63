// This file implements the file-name and file-system helpers with Windows path rules, and the
// program's parameters and environment.
#include "FileUtils.h"

#include <vector>

#include "OsPort.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDelimiter(char c) { return IsSeparator(c) || c == ':'; }

// The 0-based position of the last separator or drive colon, npos when none.
std::size_t LastDelimiter(const String& S) { return S.find_last_of("\\/:"); }

bool IsUnc(const String& S) { return S.size() >= 2 && IsSeparator(S[0]) && IsSeparator(S[1]); }

bool HasDriveLetter(const String& S) {
  return S.size() >= 2 && S[1] == ':' && ((S[0] >= 'a' && S[0] <= 'z') || (S[0] >= 'A' && S[0] <= 'Z'));
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

}  // namespace

String ExtractFilePath(const String& FileName) {
  std::size_t i = LastDelimiter(FileName);
  return i == String::npos ? String() : FileName.substr(0, i + 1);
}

String ExtractFileDir(const String& FileName) {
  std::size_t i = LastDelimiter(FileName);
  if (i == String::npos) return String();
  // The separator goes, unless it is the root's ("c:\", "\") or follows another delimiter.
  if (i > 0 && IsSeparator(FileName[i]) && !IsDelimiter(FileName[i - 1])) {
    return FileName.substr(0, i);
  }
  return FileName.substr(0, i + 1);
}

String ExtractFileName(const String& FileName) {
  std::size_t i = LastDelimiter(FileName);
  return i == String::npos ? FileName : FileName.substr(i + 1);
}

String ExtractFileExt(const String& FileName) {
  std::size_t i = FileName.find_last_of(".\\/:");
  return i != String::npos && FileName[i] == '.' ? FileName.substr(i) : String();
}

String ExtractFileDrive(const String& FileName) {
  if (HasDriveLetter(FileName)) return FileName.substr(0, 2);
  if (!IsUnc(FileName)) return String();
  // "\\server\share": up to the separator that follows the share name.
  std::size_t server = FileName.find_first_of("\\/", 2);
  if (server == String::npos) return FileName;
  std::size_t share = FileName.find_first_of("\\/", server + 1);
  return share == String::npos ? FileName : FileName.substr(0, share);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  std::size_t i = FileName.find_last_of(".\\/:");
  if (i == String::npos || FileName[i] != '.') i = FileName.size();
  return FileName.substr(0, i) + Extension;
}

bool IsPathDelimiter(const String& S, int Index) {
  return Index >= 1 && std::size_t(Index) <= S.size() && IsSeparator(S[std::size_t(Index) - 1]);
}

String IncludeTrailingPathDelimiter(const String& S) {
  return IsPathDelimiter(S, int(S.size())) ? S : S + '\\';
}

String IncludeTrailingBackslash(const String& S) { return IncludeTrailingPathDelimiter(S); }

String ExcludeTrailingPathDelimiter(const String& S) {
  return IsPathDelimiter(S, int(S.size())) ? S.substr(0, S.size() - 1) : S;
}

String ExcludeTrailingBackslash(const String& S) { return ExcludeTrailingPathDelimiter(S); }

String ExpandFileName(const String& FileName) {
  if (FileName.empty()) return String();
  String name = FileName;
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
  String root;  // "c:" or "\\server\share", without a trailing separator
  String rest;  // the part below the root, starting with '\' when not empty
  String current = OsPort::GetCurrentDir();
  if (IsUnc(name)) {
    root = ExtractFileDrive(name);
    rest = name.substr(root.size());
  } else if (HasDriveLetter(name)) {
    root = name.substr(0, 2);
    rest = name.substr(2);
    if (rest.empty() || rest[0] != '\\') {
      // "c:name": relative to the current folder when it is on that drive, else to the drive's root.
      bool sameDrive = HasDriveLetter(current) && UpperAscii(current[0]) == UpperAscii(root[0]);
      rest = (sameDrive ? current.substr(2) : String()) + "\\" + rest;
    }
  } else {
    root = ExtractFileDrive(current);
    rest = name[0] == '\\' ? name : current.substr(root.size()) + "\\" + name;
  }
  std::vector<String> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == String::npos) end = rest.size();
    String part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  String result = root;
  for (const String& part : parts) result += "\\" + part;
  if (parts.empty() || name.back() == '\\') result += '\\';
  return result;
}

bool FileExists(const String& FileName) { return OsPort::FileExists(FileName); }

bool DirectoryExists(const String& Directory) { return OsPort::DirectoryExists(Directory); }

bool CreateDir(const String& Dir) { return OsPort::CreateDirectory(Dir); }

bool ForceDirectories(const String& Dir) {
  if (Dir.empty()) return false;
  String dir = ExcludeTrailingPathDelimiter(ExpandFileName(Dir));
  // A drive or share root, or an existing folder, needs nothing.
  if (dir == ExtractFileDrive(dir) || OsPort::DirectoryExists(dir)) return true;
  String parent = ExtractFilePath(dir);
  if (parent.empty() || parent == dir) return true;
  return ForceDirectories(parent) && OsPort::CreateDirectory(dir);
}

bool RemoveDir(const String& Dir) { return OsPort::RemoveDirectory(Dir); }

bool DeleteFile(const String& FileName) { return OsPort::DeleteFile(FileName); }

bool RenameFile(const String& OldName, const String& NewName) { return OsPort::RenameFile(OldName, NewName, false); }

bool CopyFile(const String& Source, const String& Target, bool FailIfExists) {
  return OsPort::CopyFile(Source, Target, FailIfExists);
}

std::int64_t FileSize(const String& FileName) {
  OsPort::FileHandle file = OsPort::OpenFile(FileName, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  if (file == OsPort::InvalidHandle) return -1;
  std::int64_t size = OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End);
  OsPort::CloseFile(file);
  return size;
}

String GetCurrentDir() { return OsPort::GetCurrentDir(); }

bool SetCurrentDir(const String& Dir) { return OsPort::SetCurrentDir(Dir); }

std::vector<String> SplitCommandLine(const String& CommandLine) {
  std::vector<String> args;
  const char* p = CommandLine.c_str();
  while (*p == ' ' || *p == '\t') ++p;
  if (!*p) return args;
  // The program name ends at the closing quote or the first blank; backslashes mean nothing there.
  String program;
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) program += *p;
    if (*p == '"') ++p;
  } else {
    for (; *p && *p != ' ' && *p != '\t'; ++p) program += *p;
  }
  args.push_back(program);
  // The arguments follow the C run-time's rules: blanks separate unless quoted; 2n backslashes
  // before a quote give n backslashes and the quote opens or closes; 2n+1 give n and a literal
  // quote; "" inside quotes is a literal quote; other backslashes are literal.
  while (true) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    String arg;
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        std::size_t slashes = 0;
        for (; *p == '\\'; ++p) ++slashes;
        if (*p == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++p;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (*p == '"') {
        if (quoted && p[1] == '"') {
          arg += '"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    args.push_back(arg);
  }
  return args;
}

int ParamCount() {
  std::size_t count = OsPort::CommandLine().size();
  return count > 0 ? int(count - 1) : 0;
}

String ParamStr(int Index) {
  if (Index == 0) return OsPort::ProgramPath();
  std::vector<String> args = OsPort::CommandLine();
  return Index > 0 && std::size_t(Index) < args.size() ? args[std::size_t(Index)] : String();
}

String GetEnvironmentVariable(const String& Name) { return OsPort::GetEnvironmentVariable(Name); }
