// This file implements TRegistry and TRegIniFile over the API's registry functions (advapi32).
#include "Registry.h"

#include <cstring>

#include "ScopeGuard.h"
#include "StrUtils.h"
#include "Strings.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TRegistry)
VELBOR_IMPLEMENT_ABSTRACT_CLASS(TRegIniFile)

namespace {
// The key path without its leading "\" and one trailing "\".
String TrimKey(const String& Key) {
  String s = Key;
  if (!s.empty() && s[0] == '\\') s.erase(0, 1);
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

TRegDataType DataTypeOf(DWORD Type) {
  switch (Type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

[[noreturn]] void ReadError(const String& Name) {
  throw ERegistryException("Type de données incorrect pour '"_a + Name + "'");
}
}  // namespace

TRegistry::TRegistry(REGSAM AAccess) : Access(AAccess) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

void TRegistry::CloseKey() {
  if (!FCurrentKey) return;
  if (!LazyWrite) ::RegFlushKey(FCurrentKey);
  ::RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

void TRegistry::ChangeKey(HKEY Value, const String& Path) {
  CloseKey();
  FCurrentKey = Value;
  FCurrentPath = Path;
}

HKEY TRegistry::GetBaseKey(bool Relative) const { return Relative && FCurrentKey ? FCurrentKey : FRootKey; }

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  bool relative = IsRelative(Key);
  String s = TrimKey(Key);
  HKEY key = nullptr;
  LONG result;
  if (CanCreate && !s.empty()) {
    DWORD disposition = 0;
    result = ::RegCreateKeyExA(GetBaseKey(relative), s.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Access, nullptr,
                               &key, &disposition);
  } else {
    result = ::RegOpenKeyExA(GetBaseKey(relative), s.c_str(), 0, Access, &key);
  }
  if (result != ERROR_SUCCESS) return false;
  String path = s;
  if (relative && FCurrentKey && !FCurrentPath.empty()) path = s.empty() ? FCurrentPath : FCurrentPath + "\\" + s;
  ChangeKey(key, path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  REGSAM saved = Access;
  Access = KEY_READ;
  bool opened = false;
  TScopeGuard restore([&] { Access = saved; });
  opened = OpenKey(Key, false);
  return opened;
}

bool TRegistry::CreateKey(const String& Key) {
  String s = TrimKey(Key);
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyExA(GetBaseKey(IsRelative(Key)), s.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
    throw ERegistryException("Impossible de créer la clé "_a + Key);
  ::RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const String& Key) {
  String s = TrimKey(Key);
  HKEY base = GetBaseKey(IsRelative(Key));
  HKEY key = nullptr;
  if (::RegOpenKeyExA(base, s.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  // The API deletes only empty keys: the sub-keys go first, deepest first.
  std::vector<String> names;
  char name[MAX_PATH + 1];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof(name);
    if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  ::RegCloseKey(key);
  for (const String& child : names) {
    TRegistry sub(KEY_ALL_ACCESS);
    sub.FRootKey = base;
    sub.DeleteKey(s + "\\" + child);
  }
  return ::RegDeleteKeyA(base, s.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& Key) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(GetBaseKey(IsRelative(Key)), TrimKey(Key).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  return true;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value) {
  Value = TRegKeyInfo{};
  if (!FCurrentKey) return false;
  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValue = 0, maxData = 0;
  if (::RegQueryInfoKeyA(FCurrentKey, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValue,
                         &maxData, nullptr, &Value.FileTime) != ERROR_SUCCESS)
    return false;
  Value.NumSubKeys = int(subKeys);
  Value.MaxSubKeyLen = int(maxSubKey);
  Value.NumValues = int(values);
  Value.MaxValueLen = int(maxValue);
  Value.MaxDataLen = int(maxData);
  return true;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->Clear();
  if (!FCurrentKey) return;
  char name[MAX_PATH + 1];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof(name);
    if (::RegEnumKeyExA(FCurrentKey, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Strings->Add(String(name, length));
  }
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  if (!FCurrentKey) return;
  std::vector<char> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD length = DWORD(name.size());
    if (::RegEnumValueA(FCurrentKey, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    Strings->Add(String(name.data(), length));
  }
}

bool TRegistry::DeleteValue(const String& Name) {
  return FCurrentKey && ::RegDeleteValueA(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const String& Name) {
  TRegDataInfo info;
  return GetDataInfo(Name, info);
}

bool TRegistry::GetDataInfo(const String& ValueName, TRegDataInfo& Value) {
  Value = TRegDataInfo{};
  if (!FCurrentKey) return false;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(FCurrentKey, ValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  Value.RegData = DataTypeOf(type);
  Value.DataSize = int(size);
  return true;
}

int TRegistry::GetDataSize(const String& ValueName) {
  TRegDataInfo info;
  return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const String& ValueName) {
  TRegDataInfo info;
  GetDataInfo(ValueName, info);
  return info.RegData;
}

void TRegistry::RenameValue(const String& OldName, const String& NewName) {
  if (!ValueExists(OldName) || ValueExists(NewName)) return;
  DWORD type = 0;
  DWORD size = 0;
  ::RegQueryValueExA(FCurrentKey, OldName.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data(size ? size : 1);
  if (::RegQueryValueExA(FCurrentKey, OldName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return;
  PutData(NewName, data.data(), size, type);
  DeleteValue(OldName);
}

void TRegistry::PutData(const String& Name, const void* Buffer, DWORD Size, DWORD Type) {
  if (!FCurrentKey ||
      ::RegSetValueExA(FCurrentKey, Name.c_str(), 0, Type, static_cast<const BYTE*>(Buffer), Size) != ERROR_SUCCESS)
    throw ERegistryException("Impossible d'écrire la valeur '"_a + Name + "'");
}

int TRegistry::GetData(const String& Name, void* Buffer, DWORD BufSize, TRegDataType Expected) {
  DWORD type = 0;
  DWORD size = BufSize;
  if (!FCurrentKey ||
      ::RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, static_cast<BYTE*>(Buffer), &size) != ERROR_SUCCESS)
    ReadError(Name);
  TRegDataType kind = DataTypeOf(type);
  bool stringKind = Expected == rdString && (kind == rdString || kind == rdExpandString);
  if (kind != Expected && !stringKind) ReadError(Name);
  return int(size);
}

String TRegistry::ReadString(const String& Name) {
  int size = GetDataSize(Name);
  if (size <= 0) return String();
  String s(std::size_t(size), '\0');
  GetData(Name, s.data(), DWORD(size), rdString);
  std::size_t end = s.find('\0');
  if (end != String::npos) s.resize(end);
  return s;
}

void TRegistry::WriteString(const String& Name, const String& Value) {
  PutData(Name, Value.c_str(), DWORD(Value.size() + 1), REG_SZ);
}

void TRegistry::WriteExpandString(const String& Name, const String& Value) {
  PutData(Name, Value.c_str(), DWORD(Value.size() + 1), REG_EXPAND_SZ);
}

int TRegistry::ReadInteger(const String& Name) {
  DWORD value = 0;
  GetData(Name, &value, sizeof(value), rdInteger);
  return int(value);
}

void TRegistry::WriteInteger(const String& Name, int Value) {
  DWORD value = DWORD(Value);
  PutData(Name, &value, sizeof(value), REG_DWORD);
}

double TRegistry::ReadFloat(const String& Name) {
  double value = 0;
  if (GetDataSize(Name) != int(sizeof(value))) ReadError(Name);
  GetData(Name, &value, sizeof(value), rdBinary);
  return value;
}

void TRegistry::WriteFloat(const String& Name, double Value) { PutData(Name, &Value, sizeof(Value), REG_BINARY); }

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize) {
  int size = GetDataSize(Name);
  if (size < 0) ReadError(Name);
  if (size == 0) return 0;
  std::vector<BYTE> data(std::size_t(size), 0);
  GetData(Name, data.data(), DWORD(size), rdBinary);
  std::memcpy(Buffer, data.data(), std::size_t(std::min(size, BufSize)));
  return size;
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize) {
  PutData(Name, Buffer, DWORD(BufSize), REG_BINARY);
}

// --- TRegIniFile -------------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const String& FileName, REGSAM AAccess) : TRegistry(AAccess), FFileName(FileName) {
  OpenKey(FileName, true);
}

// Makes a section's key current for the scope of one operation; the file's key comes back after.
class TRegIniFile::TSectionScope {
 public:
  TSectionScope(TRegIniFile* Self, const String& Section, bool CanCreate) : FSelf(Self), FFileKey(Self->FCurrentKey) {
    if (Section.empty()) {
      FFound = FFileKey != nullptr;
      return;
    }
    HKEY base = FFileKey ? FFileKey : Self->RootKey();
    LONG result;
    if (CanCreate) {
      DWORD disposition = 0;
      result = ::RegCreateKeyExA(base, Section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Self->Access, nullptr,
                                 &FSection, &disposition);
    } else {
      result = ::RegOpenKeyExA(base, Section.c_str(), 0, Self->Access, &FSection);
    }
    FFound = result == ERROR_SUCCESS;
    if (FFound) Self->FCurrentKey = FSection;
  }
  ~TSectionScope() {
    if (!FSection) return;
    FSelf->FCurrentKey = FFileKey;
    ::RegCloseKey(FSection);
  }
  TSectionScope(const TSectionScope&) = delete;
  TSectionScope& operator=(const TSectionScope&) = delete;
  bool Found() const { return FFound; }

 private:
  TRegIniFile* FSelf;
  HKEY FFileKey;
  HKEY FSection = nullptr;
  bool FFound = false;
};

String TRegIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  TSectionScope scope(this, Section, false);
  if (!scope.Found() || !ValueExists(Ident)) return Default;
  return TRegistry::ReadString(Ident);
}

void TRegIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  TSectionScope scope(this, Section, true);
  if (!scope.Found()) throw ERegistryException("Impossible de créer la section "_a + Section);
  TRegistry::WriteString(Ident, Value);
}

int TRegIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
  TSectionScope scope(this, Section, false);
  if (!scope.Found() || !ValueExists(Ident)) return Default;
  // An entry written as a number by another program reads as well.
  if (GetDataType(Ident) == rdInteger) return TRegistry::ReadInteger(Ident);
  return StrToIntDef(TRegistry::ReadString(Ident), Default);
}

void TRegIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

void TRegIniFile::ReadSection(const String& Section, TStrings* Strings) {
  TSectionScope scope(this, Section, false);
  if (scope.Found())
    GetValueNames(Strings);
  else
    Strings->Clear();
}

void TRegIniFile::ReadSections(TStrings* Strings) { GetKeyNames(Strings); }

void TRegIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TStringList names;
  ReadSection(Section, &names);
  Strings->Clear();
  for (int i = 0; i < names.Count(); ++i)
    Strings->Add(names.Strings(i) + "=" + ReadString(Section, names.Strings(i), String()));
}

void TRegIniFile::EraseSection(const String& Section) { TRegistry::DeleteKey(Section); }

void TRegIniFile::DeleteKey(const String& Section, const String& Ident) {
  TSectionScope scope(this, Section, false);
  if (scope.Found()) DeleteValue(Ident);
}
