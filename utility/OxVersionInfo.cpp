// This file implements TOxVersionInfo over the version API.
#include "OxVersionInfo.h"

#include <cstdio>

#include "Format.h"

VELBOR_IMPLEMENT_ABSTRACT_CLASS(TOxVersionInfo)

TOxVersionInfo::TOxVersionInfo(const String& FileName) : FFileName(FileName) {
  FInfoSize = GetFileVersionInfoSizeA(FFileName.c_str(), &FInfoHandle);
  if (FInfoSize == 0) return;
  FInfoData.resize(FInfoSize);
  FValid = GetFileVersionInfoA(FFileName.c_str(), FInfoHandle, FInfoSize, FInfoData.data()) != FALSE;
}

String TOxVersionInfo::TranslationKey() {
  if (!FValid) return String();
  void* value = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(FInfoData.data(), "\\VarFileInfo\\Translation", &value, &size) || size < sizeof(DWORD))
    return String();
  DWORD translation = *static_cast<DWORD*>(value);
  char key[9];
  snprintf(key, sizeof key, "%04X%04X", unsigned(LOWORD(translation)), unsigned(HIWORD(translation)));
  return key;
}

String TOxVersionInfo::GetValue(const String& Name) {
  if (!FValid) return String();
  // Without a translation the path has an empty key ("\StringFileInfo\\Name"), which fails.
  String path = "\\StringFileInfo\\" + TranslationKey() + "\\" + Name;
  void* value = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(FInfoData.data(), path.c_str(), &value, &size) || !value || size == 0) return String();
  const char* text = static_cast<const char*>(value);
  // The length counts the terminating zero when there is one.
  String result(text, size);
  if (auto end = result.find('\0'); end != String::npos) result.resize(end);
  return result;
}

bool TOxVersionInfo::FixedFileInfo(VS_FIXEDFILEINFO& Info) {
  void* value = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(FInfoData.data(), "\\", &value, &size) || size < sizeof(VS_FIXEDFILEINFO)) return false;
  Info = *static_cast<VS_FIXEDFILEINFO*>(value);
  return true;
}

String TOxVersionInfo::GetFileVersion() {
  String version = GetValue("FileVersion");
  if (!version.empty() || !FValid) return version;
  VS_FIXEDFILEINFO info{};
  // A block without a readable fixed part has no version to give.
  if (!FixedFileInfo(info)) return String();
  return Format("%d.%d.%d.%d", {int(HIWORD(info.dwFileVersionMS)), int(LOWORD(info.dwFileVersionMS)),
                                int(HIWORD(info.dwFileVersionLS)), int(LOWORD(info.dwFileVersionLS))});
}
