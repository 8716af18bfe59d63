// This file declares the operating-system port of core/ and db/: files and folders by Windows
// path, host paths for native libraries, the program's path, command line and environment, and
// the system clock. The winelib build implements it over kernel32 (OsPort_windows.cpp); the
// native build over the C library (OsPort_host.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "AnsiString.h"

namespace OsPort {

using FileHandle = std::intptr_t;
inline constexpr FileHandle InvalidHandle = -1;

// Access and sharing, with the platform's values so that stream modes pass straight through.
enum : unsigned {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
};

enum class SeekOrigin { Begin, Current, End };

// Opens an existing file; InvalidHandle on failure (LastErrorMessage says why).
FileHandle OpenFile(const String& Path, unsigned Mode);
// Creates or truncates a file for reading and writing; InvalidHandle on failure.
FileHandle CreateFile(const String& Path, unsigned Share = fmShareExclusive);
// Bytes read or written, or -1 on failure.
std::int64_t ReadFile(FileHandle Handle, void* Buffer, std::int64_t Count);
std::int64_t WriteFile(FileHandle Handle, const void* Buffer, std::int64_t Count);
// The new position, or -1 on failure.
std::int64_t SeekFile(FileHandle Handle, std::int64_t Offset, SeekOrigin Origin);
// Cuts the file at the current position.
bool TruncateFile(FileHandle Handle);
// Forces written data to the disk.
bool FlushFile(FileHandle Handle);
void CloseFile(FileHandle Handle);

bool FileExists(const String& Path);       // a file, not a folder
bool DirectoryExists(const String& Path);
bool CreateDirectory(const String& Path);  // one level
bool RemoveDirectory(const String& Path);
bool DeleteFile(const String& Path);
// Renames or moves; with ReplaceExisting the target is replaced in one step.
bool RenameFile(const String& OldPath, const String& NewPath, bool ReplaceExisting = false);
bool CopyFile(const String& Source, const String& Target, bool FailIfExists);
// The names (not paths) of the entries of a folder matching a pattern such as "*.zrf".
std::vector<String> ListFolder(const String& Folder, const String& Pattern);
String GetCurrentDir();
bool SetCurrentDir(const String& Path);
String TempFolder();  // with a trailing backslash

// The host (UTF-8, '/'-separated) path of a Windows path, for native libraries that open files
// themselves; empty when there is none.
std::string HostPath(const String& WindowsPath);
// The Windows path of a host path.
String WindowsPath(const std::string& HostPath);

String ProgramPath();                // the program file, full path
std::vector<String> CommandLine();   // the program first, then the arguments
String GetEnvironmentVariable(const String& Name);

// The system clock: local time as a TDateTime (days from 1899-12-30) and a millisecond tick count.
double LocalNow();
std::uint64_t TickCount();

// The message of the last failed call of this port, in 1252.
String LastErrorMessage();

}  // namespace OsPort
