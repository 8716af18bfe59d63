// Tests of the utility library's base classes and module readers: AboutNorvix is accepted from a
// form description and never written back, the program's own file name is found, and a file
// without a version block is told apart.
#include <gtest/gtest.h>

#include "Filer.h"
#include "FileUtils.h"
#include "OxBase.h"
#include "StrUtils.h"

namespace {

TEST(OxBase, AboutNorvixIsReadAndNeverWritten) {
  RegisterClass(TOxComponent::StaticClass());
  TOxComponent root(nullptr);
  ReadComponentFromText(&root, "object Hook: TOxComponent\n  AboutNorvix = 'anything'\n  Tag = 3\nend\n", "about");
  EXPECT_EQ(root.Tag, 3);
  EXPECT_EQ(root.AboutNorvix(), "");
  EXPECT_EQ(WriteComponentToText(&root).find("AboutNorvix"), String::npos);
}

TEST(OxBase, ModuleFileNameOfTheProgramAndVersionBlocks) {
  String self = ModuleFileName(nullptr);
  EXPECT_TRUE(FileExists(self)) << self;
  EXPECT_NE(LowerCase(self).find("utility_tests"), String::npos) << self;
  // The test program carries no version block; Wine's own kernel32 does.
  VS_FIXEDFILEINFO info{};
  EXPECT_FALSE(ReadFixedVersionInfo(self, info));
  EXPECT_FALSE(ReadFixedVersionInfo("c:\\nowhere\\missing.dll", info));
  ASSERT_TRUE(ReadFixedVersionInfo(ModuleFileName(GetModuleHandleA("kernel32.dll")), info));
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
}

}  // namespace
