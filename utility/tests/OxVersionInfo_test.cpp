// Tests of the version reader: the strings of a real file's version resource, and files whose
// resource is written by the test (a version string of any form, no string, no translation, no
// resource at all).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OxVersionInfo.h"

namespace {

String SystemFile(const char* Name) {
  char folder[MAX_PATH];
  GetSystemDirectoryA(folder, MAX_PATH);
  return String(folder) + "\\" + Name;
}

TEST(OxVersionInfo, StringsOfWinesKernel) {
  TOxVersionInfo info(SystemFile("kernel32.dll"));
  ASSERT_TRUE(info.Valid());
  EXPECT_GT(info.InfoSize(), 0u);
  EXPECT_EQ(info.TranslationKey().size(), 8u);
  String version = info.GetFileVersion();
  EXPECT_FALSE(version.empty());
  EXPECT_EQ(version, info.GetValue("FileVersion"));
  EXPECT_EQ(info.GetValue("OriginalFilename"), "kernel32.dll");
  EXPECT_EQ(info.GetValue("NoSuchValue"), "");
}

TEST(OxVersionInfo, AFileWithoutAResourceIsNotValid) {
  for (const String& name : {ModuleFileName(nullptr), String("c:\\no such folder\\nothing.dll")}) {
    TOxVersionInfo info(name);
    EXPECT_FALSE(info.Valid()) << name;
    EXPECT_EQ(info.GetFileVersion(), "") << name;
    EXPECT_EQ(info.GetValue("FileVersion"), "") << name;
  }
}

// --- Written resources ----------------------------------------------------------------------------

using TBytes = std::vector<unsigned char>;

void Pad(TBytes& B) {
  while (B.size() % 4) B.push_back(0);
}

void PutWord(TBytes& B, unsigned V) {
  B.push_back(V & 0xFF);
  B.push_back((V >> 8) & 0xFF);
}

void PutText(TBytes& B, const std::string& S) {
  for (char c : S) PutWord(B, (unsigned char)c);
  PutWord(B, 0);
}

// One node of a version resource: length, value length, type, key, value, children.
TBytes Node(const std::string& Key, const TBytes& Value, unsigned ValueLength, unsigned Type,
            const std::vector<TBytes>& Children = {}) {
  TBytes b;
  PutWord(b, 0);
  PutWord(b, ValueLength);
  PutWord(b, Type);
  PutText(b, Key);
  Pad(b);
  b.insert(b.end(), Value.begin(), Value.end());
  for (const TBytes& child : Children) {
    Pad(b);
    b.insert(b.end(), child.begin(), child.end());
  }
  b[0] = b.size() & 0xFF;
  b[1] = (b.size() >> 8) & 0xFF;
  return b;
}

TBytes StringNode(const std::string& Key, const std::string& Text) {
  TBytes value;
  PutText(value, Text);
  return Node(Key, value, unsigned(Text.size() + 1), 1);
}

struct TResource {
  bool FileVersionString;
  std::string FileVersion;
  bool Translation;
};

TBytes VersionResource(const TResource& R) {
  VS_FIXEDFILEINFO fixed{};
  fixed.dwSignature = 0xFEEF04BD;
  fixed.dwStrucVersion = 0x10000;
  fixed.dwFileVersionMS = MAKELONG(0, 1);  // 1.0
  fixed.dwFileVersionLS = MAKELONG(0, 1);  // .1.0
  TBytes fixedBytes(reinterpret_cast<unsigned char*>(&fixed), reinterpret_cast<unsigned char*>(&fixed) + sizeof fixed);
  std::vector<TBytes> strings{StringNode("ProductName", "Inventaire")};
  if (R.FileVersionString) strings.push_back(StringNode("FileVersion", R.FileVersion));
  std::vector<TBytes> children{Node("StringFileInfo", {}, 0, 1, {Node("040C04E4", {}, 0, 1, strings)})};
  if (R.Translation) {
    TBytes translation;
    PutWord(translation, 0x040C);
    PutWord(translation, 1252);
    children.push_back(Node("VarFileInfo", {}, 0, 1, {Node("Translation", translation, 4, 0)}));
  }
  return Node("VS_VERSION_INFO", fixedBytes, sizeof fixed, 0, children);
}

// A copy of a system module whose only resource is the given version block.
String FileWithResource(const TBytes& Resource, const char* Name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  String path = String(folder) + Name;
  if (!CopyFileA(SystemFile("version.dll").c_str(), path.c_str(), FALSE)) return String();
  HANDLE update = BeginUpdateResourceA(path.c_str(), TRUE);
  if (!update) return String();
  bool ok = UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                            const_cast<unsigned char*>(Resource.data()), DWORD(Resource.size()));
  if (!EndUpdateResourceA(update, !ok) || !ok) return String();
  return path;
}

TEST(OxVersionInfo, FileVersionStringOrTheFixedVersion) {
  struct Case {
    const char* Name;
    TResource Resource;
    const char* FileVersion;
    const char* ProductName;
  } const cases[] = {
      {"a version string of any form", {true, "2.3 bêta (build 17)"_a, true}, "2.3 bêta (build 17)"_a, "Inventaire"},
      {"no version string", {false, "", true}, "1.0.1.0", "Inventaire"},
      {"an empty version string", {true, "", true}, "1.0.1.0", "Inventaire"},
      // The string path then has an empty key, which finds nothing.
      {"no translation", {true, "9.9", false}, "1.0.1.0", ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    String path = FileWithResource(VersionResource(c.Resource), ("oxver" + std::to_string(n++) + ".dll").c_str());
    ASSERT_FALSE(path.empty()) << c.Name;
    TOxVersionInfo info(path);
    ASSERT_TRUE(info.Valid()) << c.Name;
    EXPECT_EQ(info.GetFileVersion(), c.FileVersion) << c.Name;
    EXPECT_EQ(info.GetValue("ProductName"), c.ProductName) << c.Name;
    EXPECT_EQ(info.TranslationKey(), c.Resource.Translation ? "040C04E4" : "") << c.Name;
    DeleteFileA(path.c_str());
  }
}

}  // namespace
