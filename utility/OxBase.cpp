// This file implements the base classes of the utility controls and the module readers.
#include "OxBase.h"

#include <vector>

VELBOR_IMPLEMENT_CLASS(TOxComponent)
VELBOR_PUBLISHED(TOxComponent, VELBOR_OX_ABOUT_PROPERTY)

VELBOR_IMPLEMENT_CLASS(TOxGraphicControl)
VELBOR_PUBLISHED(TOxGraphicControl, VELBOR_OX_ABOUT_PROPERTY)

VELBOR_IMPLEMENT_CLASS(TOxCustomControl)
VELBOR_PUBLISHED(TOxCustomControl, VELBOR_OX_ABOUT_PROPERTY)

String ModuleFileName(HMODULE Module) {
  char buffer[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(Module, buffer, sizeof buffer);
  return String(buffer, length);
}

bool ReadFixedVersionInfo(const String& FileName, VS_FIXEDFILEINFO& Info) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(FileName.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(FileName.c_str(), 0, size, block.data())) return false;
  void* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(block.data(), "\\", &fixed, &fixedSize) || fixedSize != sizeof(VS_FIXEDFILEINFO)) return false;
  Info = *static_cast<VS_FIXEDFILEINFO*>(fixed);
  return true;
}
