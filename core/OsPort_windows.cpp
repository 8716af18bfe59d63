// This file implements the operating-system port over kernel32 for the winelib build: files and
// folders by Windows path, Wine's host-path conversions, the command line, the environment and
// the clock. It is the only file of core/ that sees <windows.h>.
#include "OsPort.h"

#include "FileUtils.h"

#include <windows.h>

// <windows.h> maps these names to their ...A functions; the port defines its own.
#undef CreateFile
#undef DeleteFile
#undef CopyFile
#undef CreateDirectory
#undef RemoveDirectory
#undef GetEnvironmentVariable

namespace OsPort {

namespace {

// The error of the last failed call of the port, kept apart from GetLastError, which later
// successful calls may clear.
DWORD gLastError = ERROR_SUCCESS;

bool Fail() {
  gLastError = ::GetLastError();
  return false;
}

HANDLE ToHandle(FileHandle Handle) { return reinterpret_cast<HANDLE>(Handle); }

DWORD ShareMode(unsigned Mode) {
  switch (Mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    default: return FILE_SHARE_READ | FILE_SHARE_WRITE;  // fmShareDenyNone, fmShareCompat
  }
}

DWORD Access(unsigned Mode) {
  switch (Mode & 0x03) {
    case fmOpenWrite: return GENERIC_WRITE;
    case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
  }
}

FileHandle OpenHandle(const String& Path, DWORD Access, DWORD Share, DWORD Disposition) {
  HANDLE h = ::CreateFileA(Path.c_str(), Access, Share, nullptr, Disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Fail();
    return InvalidHandle;
  }
  return reinterpret_cast<FileHandle>(h);
}

// Days from 1899-12-30 to a civil date of the proleptic Gregorian calendar.
long long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468 + 25569;  // 25569: 1899-12-30 to 1970-01-01
}

// Wine's conversions between Windows and host paths, looked up at run time so that the program
// still loads where they are missing.
using UnixNameFn = char*(CDECL*)(const WCHAR*);
using DosNameFn = WCHAR*(CDECL*)(const char*);

template <class Fn>
Fn WineFunction(const char* Name) {
  HMODULE kernel = ::GetModuleHandleA("kernel32");
  return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel, Name))) : nullptr;
}

// The host path of an absolute Windows path whose folder exists; empty when Wine cannot map it.
std::string ConvertExisting(const String& Full) {
  static const UnixNameFn toUnix = WineFunction<UnixNameFn>("wine_get_unix_file_name");
  if (!toUnix) return std::string();
  WideString wide = AnsiToWide(Full);
  char* unixName = toUnix(reinterpret_cast<const WCHAR*>(wide.c_str()));
  if (!unixName) return std::string();
  std::string result(unixName);
  ::HeapFree(::GetProcessHeap(), 0, unixName);
  return result;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

FileHandle OpenFile(const String& Path, unsigned Mode) {
  return OpenHandle(Path, Access(Mode), ShareMode(Mode), OPEN_EXISTING);
}

FileHandle CreateFile(const String& Path, unsigned Share) {
  return OpenHandle(Path, GENERIC_READ | GENERIC_WRITE, ShareMode(Share), CREATE_ALWAYS);
}

std::int64_t ReadFile(FileHandle Handle, void* Buffer, std::int64_t Count) {
  std::int64_t total = 0;
  char* out = static_cast<char*>(Buffer);
  while (total < Count) {
    // ReadFile counts in 32 bits: large reads go in pieces.
    DWORD chunk = static_cast<DWORD>(Count - total > (1 << 30) ? (1 << 30) : Count - total);
    DWORD done = 0;
    if (!::ReadFile(ToHandle(Handle), out + total, chunk, &done, nullptr)) {
      Fail();
      return -1;
    }
    total += done;
    if (done < chunk) break;  // end of file
  }
  return total;
}

std::int64_t WriteFile(FileHandle Handle, const void* Buffer, std::int64_t Count) {
  std::int64_t total = 0;
  const char* in = static_cast<const char*>(Buffer);
  while (total < Count) {
    DWORD chunk = static_cast<DWORD>(Count - total > (1 << 30) ? (1 << 30) : Count - total);
    DWORD done = 0;
    if (!::WriteFile(ToHandle(Handle), in + total, chunk, &done, nullptr)) {
      Fail();
      return -1;
    }
    total += done;
    if (done < chunk) break;
  }
  return total;
}

std::int64_t SeekFile(FileHandle Handle, std::int64_t Offset, SeekOrigin Origin) {
  LARGE_INTEGER distance;
  distance.QuadPart = Offset;
  LARGE_INTEGER position;
  DWORD method = Origin == SeekOrigin::Begin ? FILE_BEGIN : Origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
  if (!::SetFilePointerEx(ToHandle(Handle), distance, &position, method)) {
    Fail();
    return -1;
  }
  return position.QuadPart;
}

bool TruncateFile(FileHandle Handle) { return ::SetEndOfFile(ToHandle(Handle)) || Fail(); }

bool FlushFile(FileHandle Handle) { return ::FlushFileBuffers(ToHandle(Handle)) || Fail(); }

void CloseFile(FileHandle Handle) {
  if (Handle != InvalidHandle) ::CloseHandle(ToHandle(Handle));
}

bool FileExists(const String& Path) {
  DWORD attributes = ::GetFileAttributesA(Path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail();
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const String& Path) {
  DWORD attributes = ::GetFileAttributesA(Path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail();
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectory(const String& Path) { return ::CreateDirectoryA(Path.c_str(), nullptr) || Fail(); }

bool RemoveDirectory(const String& Path) { return ::RemoveDirectoryA(Path.c_str()) || Fail(); }

bool DeleteFile(const String& Path) { return ::DeleteFileA(Path.c_str()) || Fail(); }

bool RenameFile(const String& OldPath, const String& NewPath, bool ReplaceExisting) {
  // Copy allowed, as MoveFile does, so that a file moves to another drive too.
  DWORD flags = MOVEFILE_COPY_ALLOWED | (ReplaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
  return ::MoveFileExA(OldPath.c_str(), NewPath.c_str(), flags) || Fail();
}

bool CopyFile(const String& Source, const String& Target, bool FailIfExists) {
  return ::CopyFileA(Source.c_str(), Target.c_str(), FailIfExists) || Fail();
}

std::vector<String> ListFolder(const String& Folder, const String& Pattern) {
  std::vector<String> names;
  String search = Folder;
  if (!search.empty() && !IsSeparator(search.back()) && search.back() != ':') search += '\\';
  search += Pattern;
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA(search.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) {
    Fail();
    return names;
  }
  do {
    String name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
  return names;
}

String GetCurrentDir() {
  DWORD size = ::GetCurrentDirectoryA(0, nullptr);
  String dir(size, '\0');
  DWORD length = ::GetCurrentDirectoryA(size, dir.data());
  dir.resize(length < size ? length : 0);
  return dir;
}

bool SetCurrentDir(const String& Path) { return ::SetCurrentDirectoryA(Path.c_str()) || Fail(); }

String TempFolder() {
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  String path(buffer, length <= MAX_PATH ? length : 0);
  if (path.empty() || !IsSeparator(path.back())) path += '\\';
  return path;
}

std::string HostPath(const String& WindowsPath) {
  if (WindowsPath.empty()) return std::string();
  char full[MAX_PATH * 2];
  DWORD length = ::GetFullPathNameA(WindowsPath.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return std::string();
  String path(full, length);
  // Wine maps a path whose folder exists; the missing levels below the deepest existing folder
  // are appended as they are, so that a native library can create them.
  std::string tail;
  while (true) {
    std::string host = ConvertExisting(path);
    if (!host.empty()) {
      if (!tail.empty() && host.back() != '/') host += '/';
      return host + tail;
    }
    std::size_t cut = path.find_last_of("\\/");
    if (cut == String::npos || cut < 3) return std::string();
    String name = path.substr(cut + 1);
    tail = tail.empty() ? AnsiToUtf8(name) : AnsiToUtf8(name) + "/" + tail;
    path.resize(cut);
  }
}

String WindowsPath(const std::string& HostPath) {
  static const DosNameFn toDos = WineFunction<DosNameFn>("wine_get_dos_file_name");
  if (!toDos || HostPath.empty()) return String();
  WCHAR* dosName = toDos(HostPath.c_str());
  if (!dosName) return String();
  WideString wide(reinterpret_cast<const char16_t*>(dosName));
  ::HeapFree(::GetProcessHeap(), 0, dosName);
  // Wine may answer "\\?\C:\...": the drive form loses that prefix; a host path outside every
  // drive ("\\?\unix\...") stays as it is.
  if (wide.rfind(u"\\\\?\\", 0) == 0 && wide.size() > 6 && wide[5] == u':') wide.erase(0, 4);
  return WideToAnsi(wide);
}

String ProgramPath() {
  String path(MAX_PATH, '\0');
  while (true) {
    DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return String();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::vector<String> CommandLine() {
  const char* line = ::GetCommandLineA();
  return SplitCommandLine(line ? line : "");
}

String GetEnvironmentVariable(const String& Name) {
  DWORD size = ::GetEnvironmentVariableA(Name.c_str(), nullptr, 0);
  if (size == 0) return String();
  String value(size, '\0');
  DWORD length = ::GetEnvironmentVariableA(Name.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

double LocalNow() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  double days = static_cast<double>(DaysFromCivil(t.wYear, t.wMonth, t.wDay));
  double time = (((t.wHour * 60.0 + t.wMinute) * 60.0 + t.wSecond) * 1000.0 + t.wMilliseconds) / 86400000.0;
  return days + time;
}

std::uint64_t TickCount() { return ::GetTickCount64(); }

String LastErrorMessage() {
  char* text = nullptr;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      gLastError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  String message = length && text ? String(text, length) : String();
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                              message.back() == '.')) {
    message.pop_back();
  }
  if (message.empty()) message = String("Erreur système "_a) + std::to_string(gLastError);
  return message;
}

}  // namespace OsPort
