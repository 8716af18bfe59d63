// This file implements the operating-system port over POSIX for the native build (benchmarks,
// sanitizers, fuzzers): Windows paths are mapped onto host folders, names converted between 1252
// and UTF-8.
//
// Mapping: drive Z: is the host root, as under Wine; every other drive letter is a folder
// $VELBOR_DRIVES/<letter> (default /tmp/velbor-drives/<letter>), created when first used. A path
// without a drive is relative to the host's current folder, or, when it starts with a separator,
// to the root of the current drive. UNC paths have no host counterpart and fail. Host names are
// case-sensitive: a name must be written with the case it has on disk. Share modes are ignored:
// POSIX has no mandatory sharing and the native build runs one process at a time.
#include "OsPort.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

namespace OsPort {

namespace {

int gLastError = 0;

bool Fail() {
  gLastError = errno;
  return false;
}

bool FailWith(int Error) {
  gLastError = Error;
  return false;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool HasDrive(const String& Path) {
  return Path.size() >= 2 && Path[1] == ':' && ((Path[0] >= 'a' && Path[0] <= 'z') || (Path[0] >= 'A' && Path[0] <= 'Z'));
}

std::string DrivesRoot() {
  const char* root = std::getenv("VELBOR_DRIVES");
  std::string folder = root && *root ? root : "/tmp/velbor-drives";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The host folder of a drive letter (lower case), made when missing so the drive "exists".
std::string DriveFolder(char Letter) {
  Letter = LowerAscii(Letter);
  if (Letter == 'z') return "/";
  std::string root = DrivesRoot();
  std::string folder = root + "/" + Letter;
  ::mkdir(root.c_str(), 0777);
  ::mkdir(folder.c_str(), 0777);
  return folder + "/";
}

std::string HostCurrentDir() {
  std::string buffer(4096, '\0');
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

// The drive letter of the current folder: the letter of its drive folder, else z.
char CurrentDrive() {
  String current = WindowsPath(HostCurrentDir());
  return HasDrive(current) ? current[0] : 'z';
}

int OpenFlags(unsigned Mode) {
  switch (Mode & 0x03) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

FileHandle OpenHost(const String& Path, int Flags) {
  std::string host = HostPath(Path);
  if (host.empty()) {
    FailWith(ENOENT);
    return InvalidHandle;
  }
  int fd = ::open(host.c_str(), Flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    Fail();
    return InvalidHandle;
  }
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    // Windows opens no folder as a file.
    ::close(fd);
    FailWith(EISDIR);
    return InvalidHandle;
  }
  return fd;
}

bool StatHost(const String& Path, struct stat& Info) {
  std::string host = HostPath(Path);
  if (host.empty()) return FailWith(ENOENT);
  return ::stat(host.c_str(), &Info) == 0 || Fail();
}

long long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468 + 25569;  // 25569: 1899-12-30 to 1970-01-01
}

}  // namespace

FileHandle OpenFile(const String& Path, unsigned Mode) { return OpenHost(Path, OpenFlags(Mode)); }

FileHandle CreateFile(const String& Path, unsigned) { return OpenHost(Path, O_RDWR | O_CREAT | O_TRUNC); }

std::int64_t ReadFile(FileHandle Handle, void* Buffer, std::int64_t Count) {
  std::int64_t total = 0;
  char* out = static_cast<char*>(Buffer);
  while (total < Count) {
    ssize_t done = ::read(int(Handle), out + total, std::size_t(Count - total));
    if (done < 0) {
      if (errno == EINTR) continue;
      Fail();
      return -1;
    }
    if (done == 0) break;
    total += done;
  }
  return total;
}

std::int64_t WriteFile(FileHandle Handle, const void* Buffer, std::int64_t Count) {
  std::int64_t total = 0;
  const char* in = static_cast<const char*>(Buffer);
  while (total < Count) {
    ssize_t done = ::write(int(Handle), in + total, std::size_t(Count - total));
    if (done < 0) {
      if (errno == EINTR) continue;
      Fail();
      return -1;
    }
    total += done;
  }
  return total;
}

std::int64_t SeekFile(FileHandle Handle, std::int64_t Offset, SeekOrigin Origin) {
  int whence = Origin == SeekOrigin::Begin ? SEEK_SET : Origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  off_t position = ::lseek(int(Handle), off_t(Offset), whence);
  if (position < 0) {
    Fail();
    return -1;
  }
  return position;
}

bool TruncateFile(FileHandle Handle) {
  off_t position = ::lseek(int(Handle), 0, SEEK_CUR);
  if (position < 0) return Fail();
  return ::ftruncate(int(Handle), position) == 0 || Fail();
}

bool FlushFile(FileHandle Handle) { return ::fsync(int(Handle)) == 0 || Fail(); }

void CloseFile(FileHandle Handle) {
  if (Handle != InvalidHandle) ::close(int(Handle));
}

bool FileExists(const String& Path) {
  struct stat info;
  return StatHost(Path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const String& Path) {
  struct stat info;
  return StatHost(Path, info) && S_ISDIR(info.st_mode);
}

bool CreateDirectory(const String& Path) {
  std::string host = HostPath(Path);
  if (host.empty()) return FailWith(ENOENT);
  return ::mkdir(host.c_str(), 0777) == 0 || Fail();
}

bool RemoveDirectory(const String& Path) {
  std::string host = HostPath(Path);
  if (host.empty()) return FailWith(ENOENT);
  return ::rmdir(host.c_str()) == 0 || Fail();
}

bool DeleteFile(const String& Path) {
  if (DirectoryExists(Path)) return FailWith(EISDIR);  // DeleteFile removes no folder
  std::string host = HostPath(Path);
  if (host.empty()) return FailWith(ENOENT);
  return ::unlink(host.c_str()) == 0 || Fail();
}

bool RenameFile(const String& OldPath, const String& NewPath, bool ReplaceExisting) {
  std::string from = HostPath(OldPath), to = HostPath(NewPath);
  if (from.empty() || to.empty()) return FailWith(ENOENT);
  struct stat info;
  if (!ReplaceExisting && ::lstat(to.c_str(), &info) == 0) return FailWith(EEXIST);
  return ::rename(from.c_str(), to.c_str()) == 0 || Fail();
}

bool CopyFile(const String& Source, const String& Target, bool FailIfExists) {
  if (FailIfExists && (FileExists(Target) || DirectoryExists(Target))) return FailWith(EEXIST);
  FileHandle in = OpenFile(Source, fmOpenRead);
  if (in == InvalidHandle) return false;
  FileHandle out = CreateFile(Target);
  if (out == InvalidHandle) {
    CloseFile(in);
    return false;
  }
  char buffer[65536];
  bool ok = true;
  while (true) {
    std::int64_t done = ReadFile(in, buffer, sizeof buffer);
    if (done < 0 || (done > 0 && WriteFile(out, buffer, done) != done)) {
      ok = false;
      break;
    }
    if (done == 0) break;
  }
  CloseFile(in);
  CloseFile(out);
  return ok;
}

std::vector<String> ListFolder(const String& Folder, const String& Pattern) {
  std::vector<String> names;
  std::string host = HostPath(Folder.empty() ? String(".") : Folder);
  DIR* dir = host.empty() ? nullptr : ::opendir(host.c_str());
  if (!dir) {
    if (host.empty()) FailWith(ENOENT); else Fail();
    return names;
  }
  // "*.*" matches every name on Windows, names without a dot too; matching ignores case.
  std::string pattern = Pattern == "*.*" ? std::string("*") : AnsiToUtf8(Pattern);
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) names.push_back(Utf8ToAnsi(name));
  }
  ::closedir(dir);
  return names;
}

String GetCurrentDir() { return WindowsPath(HostCurrentDir()); }

bool SetCurrentDir(const String& Path) {
  std::string host = HostPath(Path);
  if (host.empty()) return FailWith(ENOENT);
  return ::chdir(host.c_str()) == 0 || Fail();
}

String TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  String path = WindowsPath(tmp && *tmp ? tmp : "/tmp");
  if (path.empty() || !IsSeparator(path.back())) path += '\\';
  return path;
}

std::string HostPath(const String& WindowsPath) {
  if (WindowsPath.empty()) return std::string();
  if (WindowsPath.size() >= 2 && IsSeparator(WindowsPath[0]) && IsSeparator(WindowsPath[1])) {
    return std::string();  // UNC: no host counterpart
  }
  std::string host;
  String rest;
  if (HasDrive(WindowsPath)) {
    host = DriveFolder(WindowsPath[0]);
    rest = WindowsPath.substr(2);
  } else if (IsSeparator(WindowsPath[0])) {
    host = DriveFolder(CurrentDrive());
    rest = WindowsPath;
  } else {
    rest = WindowsPath;
  }
  std::string tail = AnsiToUtf8(rest);
  for (char& c : tail) {
    if (c == '\\') c = '/';
  }
  if (!host.empty()) {
    std::size_t start = tail.find_first_not_of('/');
    tail = start == std::string::npos ? std::string() : tail.substr(start);
  }
  host += tail;
  return host;
}

String WindowsPath(const std::string& HostPath) {
  if (HostPath.empty()) return String();
  std::string host = HostPath;
  if (host[0] != '/') host = HostCurrentDir() + "/" + host;
  String drive = "Z:";
  std::string root = DrivesRoot() + "/";
  if (host.compare(0, root.size(), root) == 0 && host.size() >= root.size() + 1 &&
      host[root.size()] >= 'a' && host[root.size()] <= 'y' &&
      (host.size() == root.size() + 1 || host[root.size() + 1] == '/')) {
    drive = String(1, char(host[root.size()] - 32)) + ":";
    host = host.substr(root.size() + 1);
    if (host.empty()) host = "/";
  }
  String path = drive + Utf8ToAnsi(host);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

String ProgramPath() {
  std::string buffer(4096, '\0');
  ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return String();
  buffer.resize(std::size_t(length));
  return WindowsPath(buffer);
}

std::vector<String> CommandLine() {
  std::vector<String> args;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.push_back(Utf8ToAnsi(all.substr(start, end - start)));
    start = end + 1;
  }
  return args;
}

String GetEnvironmentVariable(const String& Name) {
  const char* value = std::getenv(AnsiToUtf8(Name).c_str());
  return value ? Utf8ToAnsi(value) : String();
}

double LocalNow() {
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::time_t seconds = now.tv_sec;
  std::tm local;
  ::localtime_r(&seconds, &local);
  double days = double(DaysFromCivil(local.tm_year + 1900, unsigned(local.tm_mon + 1), unsigned(local.tm_mday)));
  double ms = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 + now.tv_nsec / 1000000;
  return days + ms / 86400000.0;
}

std::uint64_t TickCount() {
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u;
}

String LastErrorMessage() { return Utf8ToAnsi(std::strerror(gLastError)); }

}  // namespace OsPort
