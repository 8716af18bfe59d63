// This file implements the checked opening of data addresses through ShellExecuteA.
#include "ShellLaunch.h"

#include "WinApi.h"

#include "TextOrder.h"

namespace {
bool ShellOpen(HWND Owner, const String& Address) {
  auto result = reinterpret_cast<INT_PTR>(::ShellExecuteA(Owner, "open", Address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

TShellOpenProc OpenProc = &ShellOpen;

bool StartsWithText(const String& S, const char* Prefix) {
  String p = Prefix;
  return S.size() > p.size() && SameText(S.substr(0, p.size()), p);
}
}  // namespace

bool IsDataAddressAllowed(const String& Address) {
  for (unsigned char c : Address) {
    // A blank or control character could end the address and start arguments of another kind.
    if (c <= ' ' || c == 0x7F) return false;
  }
  if (StartsWithText(Address, "http://") || StartsWithText(Address, "https://"))
    return Address.find_first_not_of('/', Address.find(':') + 1) != String::npos;
  return StartsWithText(Address, "mailto:");
}

bool OpenDataAddress(const String& Address, HWND Owner) {
  if (!IsDataAddressAllowed(Address)) return false;
  return OpenProc(Owner, Address);
}

bool OpenShellTarget(const String& Target, HWND Owner) {
  if (Target.empty()) return false;
  return OpenProc(Owner, Target);
}

TShellOpenProc SetShellOpenProc(TShellOpenProc Proc) {
  TShellOpenProc previous = OpenProc;
  OpenProc = Proc ? Proc : &ShellOpen;
  return previous;
}
