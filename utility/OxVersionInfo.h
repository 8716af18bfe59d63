// This file implements TOxVersionInfo, the reader of an executable file's version resource: string
// values of its first translation and the fixed file version.
#pragma once

#include "OxBase.h"

#include <vector>

class TOxVersionInfo : public TObject {
  VELBOR_DECLARE_CLASS(TOxVersionInfo, TObject)
 public:
  // Reads the resource at once; a file without one gives an object that is not Valid.
  explicit TOxVersionInfo(const String& FileName);

  const String& FileName() const { return FFileName; }
  bool Valid() const { return FValid; }
  DWORD InfoSize() const { return FInfoSize; }

  // "FileVersion" of the string table, else the fixed file version as "a.b.c.d"; empty when the
  // file has neither.
  String GetFileVersion();
  // The string Name of the first translation's table; empty when not Valid or not there.
  String GetValue(const String& Name);
  // The first translation as 8 hexadecimal digits, language then code page; empty when none.
  String TranslationKey();

 private:
  bool FixedFileInfo(VS_FIXEDFILEINFO& Info);

  String FFileName;
  bool FValid = false;
  DWORD FInfoSize = 0;
  std::vector<char> FInfoData;
  DWORD FInfoHandle = 0;
};
