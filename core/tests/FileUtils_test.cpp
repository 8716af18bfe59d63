// Tests of the file-name helpers (Windows path rules), the file-system helpers and the command
// line.
#include <gtest/gtest.h>

#include <random>

#include "FileUtils.h"
#include "OsPort.h"

namespace {

struct TNameCase {
  const char* Name;
  const char* Path;
  const char* Dir;
  const char* FileName;
  const char* Ext;
  const char* Drive;
};

const TNameCase kNameCases[] = {
    // name                  path               dir              file name   ext     drive
    {"c:\\a\\b.txt",         "c:\\a\\",         "c:\\a",         "b.txt",    ".txt", "c:"},
    {"c:\\",                 "c:\\",            "c:\\",          "",         "",     "c:"},
    {"c:",                   "c:",              "c:",            "",         "",     "c:"},
    {"c:b.txt",              "c:",              "c:",            "b.txt",    ".txt", "c:"},
    {"file",                 "",                "",              "file",     "",     ""},
    {".ext",                 "",                "",              ".ext",     ".ext", ""},
    {"file.",                "",                "",              "file.",    ".",    ""},
    {"a.b\\c",               "a.b\\",           "a.b",           "c",        "",     ""},
    {"c:\\dir\\",            "c:\\dir\\",       "c:\\dir",       "",         "",     "c:"},
    {"c:/a/b.tar.gz",        "c:/a/",           "c:/a",          "b.tar.gz", ".gz",  "c:"},
    {"\\a.txt",              "\\",              "\\",            "a.txt",    ".txt", ""},
    {"\\\\srv\\share\\f.x",  "\\\\srv\\share\\", "\\\\srv\\share", "f.x",     ".x",   "\\\\srv\\share"},
    {"\\\\srv\\share",       "\\\\srv\\",       "\\\\srv",       "share",    "",     "\\\\srv\\share"},
    {"",                     "",                "",              "",         "",     ""},
};

TEST(FileNameParts, SplitAsWindowsDoes) {
  for (const TNameCase& c : kNameCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ExtractFilePath(c.Name), c.Path);
    EXPECT_EQ(ExtractFileDir(c.Name), c.Dir);
    EXPECT_EQ(ExtractFileName(c.Name), c.FileName);
    EXPECT_EQ(ExtractFileExt(c.Name), c.Ext);
    EXPECT_EQ(ExtractFileDrive(c.Name), c.Drive);
  }
}

TEST(FileNameParts, ChangeFileExtReplacesOnlyTheLastExtension) {
  const struct { const char* Name; const char* Ext; const char* Expected; } cases[] = {
      {"c:\\a\\b.txt", ".ini", "c:\\a\\b.ini"},
      {"b", ".ini", "b.ini"},
      {"a.b\\c", ".x", "a.b\\c.x"},   // the dot of a folder is not an extension
      {"b.tar.gz", ".zip", "b.tar.zip"},
      {"b.txt", "", "b"},
      {".ext", ".x", ".x"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChangeFileExt(c.Name, c.Ext), c.Expected) << c.Name;
}

TEST(FileNameParts, TrailingDelimiters) {
  const struct { const char* Name; const char* Included; const char* Excluded; } cases[] = {
      {"c:\\a", "c:\\a\\", "c:\\a"},
      {"c:\\a\\", "c:\\a\\", "c:\\a"},
      {"c:/a/", "c:/a/", "c:/a"},
      {"c:\\", "c:\\", "c:"},
      {"", "\\", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(c.Name), c.Included) << c.Name;
    EXPECT_EQ(IncludeTrailingBackslash(c.Name), c.Included) << c.Name;
    EXPECT_EQ(ExcludeTrailingPathDelimiter(c.Name), c.Excluded) << c.Name;
  }
}

void RemoveTree(const String& Folder) {
  for (const String& name : OsPort::ListFolder(Folder, "*")) {
    String path = Folder + "\\" + name;
    if (OsPort::DirectoryExists(path)) RemoveTree(path); else OsPort::DeleteFile(path);
  }
  OsPort::RemoveDirectory(Folder);
}

// A fresh folder under the temporary folder, made the current folder for the test.
class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = GetCurrentDir();
    Folder = OsPort::TempFolder() + "velbor-files-" + std::to_string(std::random_device()());
    ASSERT_TRUE(CreateDir(Folder));
    ASSERT_TRUE(SetCurrentDir(Folder));
    Folder = GetCurrentDir();  // as the system spells it
  }
  void TearDown() override {
    SetCurrentDir(Saved);
    RemoveTree(Folder);
  }

  void Touch(const String& Path, const String& Text = "x") {
    OsPort::FileHandle file = OsPort::CreateFile(Path);
    ASSERT_NE(file, OsPort::InvalidHandle) << Path;
    OsPort::WriteFile(file, Text.data(), std::int64_t(Text.size()));
    OsPort::CloseFile(file);
  }

  String Saved, Folder;
};

TEST_F(FileUtilsTest, ExpandFileNameResolvesAgainstTheCurrentFolder) {
  String parent = ExtractFileDir(Folder);
  String drive = ExtractFileDrive(Folder);
  const struct { String Name; String Expected; } cases[] = {
      {"x.txt", Folder + "\\x.txt"},
      {".\\a\\..\\b\\", Folder + "\\b\\"},
      {"..\\y", parent + "\\y"},
      {"a/b", Folder + "\\a\\b"},
      {".", Folder},
      {"\\root.txt", drive + "\\root.txt"},
      {"c:\\a\\.\\b\\..\\c", "c:\\a\\c"},
      {"c:/a//b", "c:\\a\\b"},
      {"c:\\..\\..\\a", "c:\\a"},
      {"c:\\", "c:\\"},
      {"\\\\srv\\share\\a\\..\\b", "\\\\srv\\share\\b"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFileName(c.Name), c.Expected) << c.Name;
}

TEST_F(FileUtilsTest, ForceDirectoriesCreatesEveryMissingLevel) {
  EXPECT_TRUE(ForceDirectories(Folder + "\\a\\b\\c\\"));
  EXPECT_TRUE(DirectoryExists(Folder + "\\a\\b\\c"));
  EXPECT_TRUE(ForceDirectories(Folder + "\\a\\b"));  // already there
  EXPECT_TRUE(ForceDirectories("rel\\sub"));          // relative to the current folder
  EXPECT_TRUE(DirectoryExists(Folder + "\\rel\\sub"));

  Touch(Folder + "\\file");
  EXPECT_FALSE(ForceDirectories(Folder + "\\file\\sub"));  // a level is a file
  EXPECT_FALSE(ForceDirectories(""));
}

TEST_F(FileUtilsTest, FileOperations) {
  Touch("a.txt", "12345");
  EXPECT_TRUE(FileExists(Folder + "\\a.txt"));
  EXPECT_FALSE(DirectoryExists("a.txt"));
  EXPECT_EQ(FileSize("a.txt"), 5);
  EXPECT_EQ(FileSize("missing.txt"), -1);

  Touch("b.txt");
  EXPECT_FALSE(RenameFile("a.txt", "b.txt"));  // never replaces
  EXPECT_TRUE(RenameFile("a.txt", "c.txt"));
  EXPECT_FALSE(FileExists("a.txt"));
  EXPECT_EQ(FileSize("c.txt"), 5);

  EXPECT_FALSE(CopyFile("c.txt", "b.txt", true));
  EXPECT_TRUE(CopyFile("c.txt", "b.txt"));
  EXPECT_EQ(FileSize("b.txt"), 5);

  EXPECT_TRUE(DeleteFile("b.txt"));
  EXPECT_FALSE(DeleteFile("b.txt"));
  EXPECT_TRUE(CreateDir("d"));
  EXPECT_FALSE(CreateDir("d"));
  EXPECT_TRUE(RemoveDir("d"));
  EXPECT_FALSE(DirectoryExists("d"));
}

TEST(CommandLine, SplitAsTheRunTimeDoes) {
  const struct { const char* Line; std::vector<String> Args; } cases[] = {
      {"\"C:\\Program Files\\v.exe\" \\a", {"C:\\Program Files\\v.exe", "\\a"}},
      {"C:\\dir\\v.exe", {"C:\\dir\\v.exe"}},
      {"v.exe  a \t b ", {"v.exe", "a", "b"}},
      {"v.exe \"a b\" c", {"v.exe", "a b", "c"}},
      {"v.exe a\"b c\"d", {"v.exe", "ab cd"}},
      {"v.exe a\\\\b", {"v.exe", "a\\\\b"}},          // backslashes before no quote stay
      {"v.exe a\\\"b", {"v.exe", "a\"b"}},            // \" is a quote
      {"v.exe a\\\\\\\"b", {"v.exe", "a\\\"b"}},      // \\\" is a backslash and a quote
      {"v.exe \"a\\\\\" b", {"v.exe", "a\\", "b"}},   // \\" is a backslash, the quote closes
      {"v.exe \"a\"\"b\"", {"v.exe", "a\"b"}},        // "" inside quotes is a quote
      {"v.exe \"\" x", {"v.exe", "", "x"}},           // an empty argument
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.Line), c.Args) << c.Line;
}

TEST(CommandLine, ParamStrZeroIsTheProgramAndOutOfRangeIsEmpty) {
  EXPECT_EQ(ParamStr(0), OsPort::ProgramPath());
  EXPECT_TRUE(FileExists(ParamStr(0)));
  EXPECT_EQ(ParamStr(ParamCount() + 1), "");
  EXPECT_EQ(ParamStr(-1), "");
  EXPECT_EQ(ParamCount(), int(OsPort::CommandLine().size()) - 1);
}

}  // namespace
