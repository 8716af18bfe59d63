// This file implements the registry classes: TRegistry (keys and typed values under a root key)
// and TRegIniFile (a key of the current user seen as an ini file: sections are sub-keys, entries
// string values).
#pragma once

#include "WinApi.h"

#include <vector>

#include "AnsiString.h"
#include "Exceptions.h"
#include "Object.h"

class TStrings;

VELBOR_EXCEPTION(ERegistryException, Exception)

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  FILETIME FileTime{};
};

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

class TRegistry : public TObject {
  VELBOR_DECLARE_CLASS(TRegistry, TObject)
 public:
  TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
  explicit TRegistry(REGSAM AAccess);
  ~TRegistry() override;

  // Properties.
  // HKEY_CURRENT_USER unless set; setting it closes the current key.
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const { return FCurrentKey; }
  // The current key's path from the root, without a leading "\".
  const String& CurrentPath() const { return FCurrentPath; }
  REGSAM Access = KEY_ALL_ACCESS;
  // False: every write is flushed when the key is closed.
  bool LazyWrite = true;

  // Operations. A key path starting with "\" is taken from the root key, any other from the
  // current key (from the root when none is open); one trailing "\" is ignored.
  bool OpenKey(const String& Key, bool CanCreate);
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool CreateKey(const String& Key);
  // Deletes the key with all its sub-keys.
  bool DeleteKey(const String& Key);
  bool KeyExists(const String& Key);
  bool HasSubKeys();
  void GetKeyNames(TStrings* Strings);
  bool GetKeyInfo(TRegKeyInfo& Value);
  bool DeleteValue(const String& Name);
  bool ValueExists(const String& Name);
  void GetValueNames(TStrings* Strings);
  void RenameValue(const String& OldName, const String& NewName);
  bool GetDataInfo(const String& ValueName, TRegDataInfo& Value);
  // -1 when the value does not exist.
  int GetDataSize(const String& ValueName);
  TRegDataType GetDataType(const String& ValueName);

  // Typed values of the current key. Reading a value of another type raises ERegistryException
  // "Type de données incorrect pour 'Name'"; a missing value reads as "" for strings and raises
  // for the other types.
  String ReadString(const String& Name);
  void WriteString(const String& Name, const String& Value);
  void WriteExpandString(const String& Name, const String& Value);
  int ReadInteger(const String& Name);
  void WriteInteger(const String& Name, int Value);
  bool ReadBool(const String& Name) { return ReadInteger(Name) != 0; }
  void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
  // Floats and dates are the 8 bytes of the double, as binary data.
  double ReadFloat(const String& Name);
  void WriteFloat(const String& Name, double Value);
  double ReadDateTime(const String& Name) { return ReadFloat(Name); }
  void WriteDateTime(const String& Name, double Value) { WriteFloat(Name, Value); }
  // Copies at most BufSize bytes; returns the number of bytes of the value.
  int ReadBinaryData(const String& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);

 protected:
  void ChangeKey(HKEY Value, const String& Path);
  // The parent key Key is relative to, and Key without its leading and trailing "\".
  HKEY GetBaseKey(bool Relative) const;
  bool IsRelative(const String& Key) const { return Key.empty() || Key[0] != '\\'; }

  HKEY FCurrentKey = nullptr;
  String FCurrentPath;

 private:
  void PutData(const String& Name, const void* Buffer, DWORD Size, DWORD Type);
  // Reads the value into Buffer; ERegistryException on a missing value or another type.
  int GetData(const String& Name, void* Buffer, DWORD BufSize, TRegDataType Expected);

  HKEY FRootKey = HKEY_CURRENT_USER;
};

class TRegIniFile : public TRegistry {
  VELBOR_DECLARE_CLASS(TRegIniFile, TRegistry)
 public:
  // Opens (creating it) the key FileName of the current user.
  explicit TRegIniFile(const String& FileName, REGSAM AAccess = KEY_ALL_ACCESS);

  const String& FileName() const { return FFileName; }

  String ReadString(const String& Section, const String& Ident, const String& Default);
  void WriteString(const String& Section, const String& Ident, const String& Value);
  // Integers and booleans are stored as text ("1"/"0" for booleans), as in an ini file.
  int ReadInteger(const String& Section, const String& Ident, int Default);
  void WriteInteger(const String& Section, const String& Ident, int Value);
  bool ReadBool(const String& Section, const String& Ident, bool Default);
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // The entry names of a section; the sections; "name=value" lines of a section.
  void ReadSection(const String& Section, TStrings* Strings);
  void ReadSections(TStrings* Strings);
  void ReadSectionValues(const String& Section, TStrings* Strings);
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);
  using TRegistry::DeleteKey;

 private:
  class TSectionScope;
  String FFileName;
};
