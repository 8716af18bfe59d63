// Tests of the opening of addresses taken from data: only web and mail addresses reach the shell.
#include <gtest/gtest.h>

#include <vector>

#include "ShellLaunch.h"

namespace {

std::vector<String> Opened;

bool RecordOpen(HWND, const String& Address) {
  Opened.push_back(Address);
  return true;
}

TEST(ShellLaunch, OnlyWebAndMailAddressesAreOpened) {
  struct Case {
    const char* Address;
    bool Allowed;
  };
  const Case cases[] = {
      {"http://www.zones-humides.org/fiche?id=12", true},
      {"HTTPS://Example.org", true},
      {"mailto:inventaire@example.org", true},
      {"MailTo:a@b.fr?subject=Zone", true},
      {"http://", false},                      // no host
      {"https:///", false},
      {"mailto:", false},
      {"file:///c:/windows/system32/calc.exe", false},
      {"c:\\windows\\notepad.exe", false},
      {"notepad.exe", false},
      {"javascript:alert(1)", false},
      {"ftp://example.org", false},
      {"http://example.org notepad.exe", false},  // a blank would start arguments
      {"http://example.org\r\ncalc", false},
      {" http://example.org", false},
      {"", false},
  };
  TShellOpenProc previous = SetShellOpenProc(&RecordOpen);
  for (const Case& c : cases) {
    Opened.clear();
    EXPECT_EQ(IsDataAddressAllowed(c.Address), c.Allowed) << c.Address;
    EXPECT_EQ(OpenDataAddress(c.Address), c.Allowed) << c.Address;
    EXPECT_EQ(Opened.size(), c.Allowed ? 1u : 0u) << c.Address;
  }
  SetShellOpenProc(previous);
}

}  // namespace
