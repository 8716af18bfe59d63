// Tests of the operating-system port: files and folders by Windows path in a scratch folder,
// host paths, the program's path and environment, and the clock.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <thread>

#include "FileUtils.h"
#include "OsPort.h"

namespace {

void RemoveTree(const String& Folder) {
  for (const String& name : OsPort::ListFolder(Folder, "*")) {
    String path = Folder + "\\" + name;
    if (OsPort::DirectoryExists(path)) {
      RemoveTree(path);
    } else {
      OsPort::DeleteFile(path);
    }
  }
  OsPort::RemoveDirectory(Folder);
}

// A fresh folder under the temporary folder, removed with everything in it after each test.
class OsPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor-port-" + std::to_string(std::random_device()()) + "-" +
             std::to_string(OsPort::TickCount());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder)) << OsPort::LastErrorMessage();
  }
  void TearDown() override { RemoveTree(Folder); }

  String In(const String& Name) const { return Folder + "\\" + Name; }

  void WriteText(const String& Path, const String& Text) {
    OsPort::FileHandle file = OsPort::CreateFile(Path);
    ASSERT_NE(file, OsPort::InvalidHandle) << OsPort::LastErrorMessage();
    EXPECT_EQ(OsPort::WriteFile(file, Text.data(), std::int64_t(Text.size())), std::int64_t(Text.size()));
    OsPort::CloseFile(file);
  }

  String ReadText(const String& Path) {
    OsPort::FileHandle file = OsPort::OpenFile(Path, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
    if (file == OsPort::InvalidHandle) return "<cannot open>";
    char buffer[4096];
    std::int64_t read = OsPort::ReadFile(file, buffer, sizeof buffer);
    OsPort::CloseFile(file);
    return read < 0 ? String("<cannot read>") : String(buffer, std::size_t(read));
  }

  String Folder;
};

TEST_F(OsPortTest, FileReadWriteSeekAndTruncate) {
  String path = In("data.bin");
  OsPort::FileHandle file = OsPort::CreateFile(path);
  ASSERT_NE(file, OsPort::InvalidHandle) << OsPort::LastErrorMessage();
  EXPECT_EQ(OsPort::WriteFile(file, "abcdefghij", 10), 10);
  EXPECT_EQ(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Current), 10);
  EXPECT_EQ(OsPort::SeekFile(file, -4, OsPort::SeekOrigin::End), 6);
  char buffer[16] = {};
  EXPECT_EQ(OsPort::ReadFile(file, buffer, sizeof buffer), 4);  // short read at the end
  EXPECT_EQ(String(buffer, 4), "ghij");
  EXPECT_EQ(OsPort::SeekFile(file, 3, OsPort::SeekOrigin::Begin), 3);
  EXPECT_EQ(OsPort::WriteFile(file, "XY", 2), 2);
  EXPECT_TRUE(OsPort::TruncateFile(file));
  EXPECT_TRUE(OsPort::FlushFile(file));
  EXPECT_EQ(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End), 5);
  OsPort::CloseFile(file);
  EXPECT_EQ(ReadText(path), "abcXY");

  // CreateFile truncates an existing file.
  WriteText(path, "z");
  EXPECT_EQ(ReadText(path), "z");

  // A write-only handle cannot read.
  file = OsPort::OpenFile(path, OsPort::fmOpenWrite);
  ASSERT_NE(file, OsPort::InvalidHandle);
  EXPECT_EQ(OsPort::ReadFile(file, buffer, 1), -1);
  OsPort::CloseFile(file);
}

TEST_F(OsPortTest, OpeningWhatIsNotAFileFails) {
  EXPECT_EQ(OsPort::OpenFile(In("missing.txt"), OsPort::fmOpenRead), OsPort::InvalidHandle);
  EXPECT_FALSE(OsPort::LastErrorMessage().empty());
  EXPECT_EQ(OsPort::OpenFile(Folder, OsPort::fmOpenRead), OsPort::InvalidHandle);
  EXPECT_EQ(OsPort::CreateFile(In("no-such-folder\\x.txt")), OsPort::InvalidHandle);
  EXPECT_FALSE(OsPort::DirectoryExists(In("no-such-folder")));
}

TEST_F(OsPortTest, FoldersAndFilesAreToldApart) {
  WriteText(In("f.txt"), "x");
  ASSERT_TRUE(OsPort::CreateDirectory(In("sub")));
  EXPECT_TRUE(OsPort::FileExists(In("f.txt")));
  EXPECT_FALSE(OsPort::DirectoryExists(In("f.txt")));
  EXPECT_TRUE(OsPort::DirectoryExists(In("sub")));
  EXPECT_TRUE(OsPort::DirectoryExists(In("sub\\")));
  EXPECT_FALSE(OsPort::FileExists(In("sub")));
  EXPECT_FALSE(OsPort::FileExists(In("none")));

  EXPECT_FALSE(OsPort::CreateDirectory(In("sub")));          // already there
  EXPECT_FALSE(OsPort::CreateDirectory(In("a\\b")));         // one level only
  EXPECT_FALSE(OsPort::DeleteFile(In("sub")));               // not a file
  EXPECT_TRUE(OsPort::DirectoryExists(In("sub")));
  WriteText(In("sub\\inner.txt"), "y");
  EXPECT_FALSE(OsPort::RemoveDirectory(In("sub")));          // not empty
  EXPECT_TRUE(OsPort::DeleteFile(In("sub\\inner.txt")));
  EXPECT_TRUE(OsPort::RemoveDirectory(In("sub")));
  EXPECT_FALSE(OsPort::DirectoryExists(In("sub")));
  EXPECT_FALSE(OsPort::DeleteFile(In("sub\\inner.txt")));
}

TEST_F(OsPortTest, ListFolderGivesMatchingNamesOnly) {
  WriteText(In("a.zrf"), "");
  WriteText(In("B.ZRF"), "");
  WriteText(In("c.txt"), "");
  WriteText(In("noext"), "");
  ASSERT_TRUE(OsPort::CreateDirectory(In("d.zrf")));

  auto sorted = [](std::vector<String> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(OsPort::ListFolder(Folder, "*.zrf")), (std::vector<String>{"B.ZRF", "a.zrf", "d.zrf"}));
  EXPECT_EQ(sorted(OsPort::ListFolder(Folder + "\\", "*.*")),
            (std::vector<String>{"B.ZRF", "a.zrf", "c.txt", "d.zrf", "noext"}));
  EXPECT_EQ(OsPort::ListFolder(Folder, "?.txt"), (std::vector<String>{"c.txt"}));
  EXPECT_TRUE(OsPort::ListFolder(Folder, "*.none").empty());
  EXPECT_TRUE(OsPort::ListFolder(In("missing"), "*").empty());
}

TEST_F(OsPortTest, RenameReplacesOnlyWhenAsked) {
  WriteText(In("old.txt"), "old");
  WriteText(In("target.txt"), "target");
  EXPECT_FALSE(OsPort::RenameFile(In("old.txt"), In("target.txt")));
  EXPECT_EQ(ReadText(In("old.txt")), "old");
  EXPECT_EQ(ReadText(In("target.txt")), "target");

  EXPECT_TRUE(OsPort::RenameFile(In("old.txt"), In("target.txt"), true));
  EXPECT_FALSE(OsPort::FileExists(In("old.txt")));
  EXPECT_EQ(ReadText(In("target.txt")), "old");

  EXPECT_TRUE(OsPort::RenameFile(In("target.txt"), In("moved.txt")));
  EXPECT_EQ(ReadText(In("moved.txt")), "old");
  EXPECT_FALSE(OsPort::RenameFile(In("target.txt"), In("again.txt")));  // source gone
}

TEST_F(OsPortTest, CopyKeepsTheSourceAndHonoursFailIfExists) {
  WriteText(In("src.txt"), "source");
  WriteText(In("dst.txt"), "dest");
  EXPECT_FALSE(OsPort::CopyFile(In("src.txt"), In("dst.txt"), true));
  EXPECT_EQ(ReadText(In("dst.txt")), "dest");
  EXPECT_TRUE(OsPort::CopyFile(In("src.txt"), In("dst.txt"), false));
  EXPECT_EQ(ReadText(In("dst.txt")), "source");
  EXPECT_EQ(ReadText(In("src.txt")), "source");
  EXPECT_TRUE(OsPort::CopyFile(In("src.txt"), In("new.txt"), true));
  EXPECT_EQ(ReadText(In("new.txt")), "source");
  EXPECT_FALSE(OsPort::CopyFile(In("missing.txt"), In("other.txt"), false));
  EXPECT_FALSE(OsPort::FileExists(In("other.txt")));
}

TEST_F(OsPortTest, CurrentFolderResolvesRelativeNames) {
  String before = OsPort::GetCurrentDir();
  ASSERT_TRUE(OsPort::SetCurrentDir(Folder));
  WriteText("relative.txt", "here");
  String now = OsPort::GetCurrentDir();
  ASSERT_TRUE(OsPort::SetCurrentDir(before));
  EXPECT_EQ(ExcludeTrailingPathDelimiter(now), ExcludeTrailingPathDelimiter(Folder));
  EXPECT_EQ(ReadText(In("relative.txt")), "here");
  EXPECT_FALSE(OsPort::SetCurrentDir(In("missing")));
  EXPECT_EQ(OsPort::GetCurrentDir(), before);
}

// Native libraries open files by host path: the host path of a port file must be that file.
TEST_F(OsPortTest, HostPathNamesTheSameFile) {
  String name = "donnée é.txt"_a;
  WriteText(In(name), "contenu");
  std::string folder = OsPort::HostPath(Folder);
  ASSERT_FALSE(folder.empty());
  struct stat info;
  ASSERT_EQ(::stat(folder.c_str(), &info), 0) << folder;
  EXPECT_TRUE(S_ISDIR(info.st_mode));

  std::string host = OsPort::HostPath(In(name));
  EXPECT_NE(host.find("donnée é.txt"), std::string::npos) << host;  // UTF-8 on the host side
  std::FILE* f = std::fopen(host.c_str(), "rb");
  ASSERT_NE(f, nullptr) << host;
  char buffer[16] = {};
  std::size_t read = std::fread(buffer, 1, sizeof buffer, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buffer, read), "contenu");

  // A file that does not exist yet, in a folder that does not exist yet, still maps below it.
  std::string fresh = OsPort::HostPath(In("new\\base.db"));
  EXPECT_EQ(fresh.substr(0, folder.size()), folder);
  EXPECT_EQ(fresh.substr(fresh.size() - 12), "/new/base.db");

  // And back: the Windows path of the host folder names the same folder.
  String back = OsPort::WindowsPath(folder);
  ASSERT_FALSE(back.empty());
  EXPECT_TRUE(OsPort::FileExists(IncludeTrailingPathDelimiter(back) + name)) << back;
  EXPECT_EQ(OsPort::HostPath(""), "");
}

TEST_F(OsPortTest, ShareModesKeepOtherOpenersOut) {
#ifdef __WINE__
  String path = In("shared.txt");
  WriteText(path, "x");
  OsPort::FileHandle exclusive = OsPort::OpenFile(path, OsPort::fmOpenRead | OsPort::fmShareExclusive);
  ASSERT_NE(exclusive, OsPort::InvalidHandle);
  EXPECT_EQ(OsPort::OpenFile(path, OsPort::fmOpenRead | OsPort::fmShareDenyNone), OsPort::InvalidHandle);
  OsPort::CloseFile(exclusive);

  OsPort::FileHandle denyWrite = OsPort::OpenFile(path, OsPort::fmOpenRead | OsPort::fmShareDenyWrite);
  ASSERT_NE(denyWrite, OsPort::InvalidHandle);
  OsPort::FileHandle reader = OsPort::OpenFile(path, OsPort::fmOpenRead | OsPort::fmShareDenyNone);
  EXPECT_NE(reader, OsPort::InvalidHandle);
  EXPECT_EQ(OsPort::OpenFile(path, OsPort::fmOpenWrite | OsPort::fmShareDenyNone), OsPort::InvalidHandle);
  OsPort::CloseFile(reader);
  OsPort::CloseFile(denyWrite);
#else
  GTEST_SKIP() << "the host port ignores share modes";
#endif
}

#ifndef __WINE__
// The native build maps drive letters onto folders under $VELBOR_DRIVES.
TEST_F(OsPortTest, HostDrivesLiveUnderTheDrivesFolder) {
  std::string drives = OsPort::HostPath(Folder) + "/drives";
  const char* saved = std::getenv("VELBOR_DRIVES");
  std::string previous = saved ? saved : "";
  ::setenv("VELBOR_DRIVES", drives.c_str(), 1);
  ASSERT_TRUE(OsPort::CreateDirectory("c:\\velbor"));
  EXPECT_TRUE(OsPort::DirectoryExists("C:\\velbor"));
  struct stat info;
  EXPECT_EQ(::stat((drives + "/c/velbor").c_str(), &info), 0);
  EXPECT_EQ(OsPort::HostPath("Z:\\tmp\\a"), "/tmp/a");
  EXPECT_EQ(OsPort::WindowsPath(drives + "/c/velbor/x.ini"), "C:\\velbor\\x.ini");
  EXPECT_EQ(OsPort::WindowsPath("/usr/lib"), "Z:\\usr\\lib");
  EXPECT_EQ(OsPort::HostPath("\\\\server\\share\\x"), "");
  if (saved) ::setenv("VELBOR_DRIVES", previous.c_str(), 1); else ::unsetenv("VELBOR_DRIVES");
}
#endif

TEST(OsPortProgram, ProgramPathIsAnExistingFileNamedOnTheCommandLine) {
  String program = OsPort::ProgramPath();
  EXPECT_TRUE(OsPort::FileExists(program)) << program;
  EXPECT_EQ(ExtractFileDrive(program).size(), 2u) << program;  // a full Windows path
  std::vector<String> args = OsPort::CommandLine();
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(ExtractFileName(args[0]), ExtractFileName(program));
}

TEST(OsPortProgram, EnvironmentVariables) {
  EXPECT_FALSE(OsPort::GetEnvironmentVariable("PATH").empty());
  EXPECT_EQ(OsPort::GetEnvironmentVariable("VELBOR_SURELY_UNSET_VARIABLE"), "");
}

TEST(OsPortClock, LocalNowFollowsTheSystemClock) {
  // Days from 1899-12-30 in local time: 25569 days before the 1970 epoch, plus the zone offset.
  std::time_t now = std::time(nullptr);
  std::tm local;
  ::localtime_r(&now, &local);
  double expected = 25569.0 + double(now + local.tm_gmtoff) / 86400.0;
  EXPECT_NEAR(OsPort::LocalNow(), expected, 2.0 / 86400.0);
}

TEST(OsPortClock, TickCountCountsMilliseconds) {
  std::uint64_t start = OsPort::TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::uint64_t elapsed = OsPort::TickCount() - start;
  // Wine's tick advances in steps of a few tens of milliseconds.
  EXPECT_GE(elapsed, 150u);
  EXPECT_LT(elapsed, 2000u);
}

}  // namespace
