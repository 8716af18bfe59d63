// Tests of the utility library's string and file-name routines: replacing without overlap or
// re-scanning, the text before a delimiter, name validation, folders and the long and short names
// of files found on disk, and the database error they raise for configuration faults.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "OxFileUtils.h"
#include "TestFolder.h"

namespace {

struct ReplaceCase {
  const char* Source;
  const char* Old;
  const char* New;
  const char* Expected;
};

TEST(OxStrReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescan) {
  const ReplaceCase cases[] = {
      {"aaaa", "aa", "a", "aa"},              // occurrences never overlap
      {"a", "a", "aa", "aa"},                 // the replacement is not searched again
      {"aaa", "aa", "b", "ba"},               // the leftmost occurrence wins
      {"abc", "", "x", "abc"},                // an empty pattern changes nothing
      {"", "a", "b", ""},
      {"a|b||c", "|", "", "abc"},             // an empty replacement deletes
      {"ABC abc", "abc", "x", "ABC x"},       // case matters
      {"*", "*", "ZH_CODE ", "ZH_CODE "},
      {"l1\x1bl2\x1b", "\x1b", "\r\n", "l1\r\nl2\r\n"},
      {"no match", "zz", "y", "no match"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(StrReplaceAll(c.Source, c.Old, c.New), c.Expected) << c.Source << " / " << c.Old;
  }
  // Code-page text passes byte for byte.
  EXPECT_EQ(StrReplaceAll("été déjà"_a, "é"_a, "e"), "ete dejà"_a);
}

TEST(OxStrBeforeChar, TextBeforeTheFirstDelimiter) {
  EXPECT_EQ(StrBeforeChar("ZH01|Marais|12", '|'), "ZH01");
  EXPECT_EQ(StrBeforeChar("|Marais", '|'), "");
  EXPECT_EQ(StrBeforeChar("Marais", '|'), "Marais");
  EXPECT_EQ(StrBeforeChar("", '|'), "");
  EXPECT_EQ(StrBeforeChar("a||b", '|'), "a");
}

TEST(OxFileNames, ValidityAndCharacterSets) {
  struct Case {
    const char* Name;
    bool Valid;
  } const cases[] = {
      {"c:\\velbor\\export\\zones.txt", true}, {"zones.txt", true}, {"mes données.txt"_a, true},
      {"", false},                             {"zone?.txt", false}, {"a|b.txt", false},
      {"c:/velbor/x.txt", false},              {"<x>", false},       {"\"quoted.txt\"", false},
      {"*.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameIsValid(c.Name), c.Valid) << c.Name;
  EXPECT_TRUE(ContainsAnyChar("abc", "xyc"));
  EXPECT_FALSE(ContainsAnyChar("abc", "xyz"));
  EXPECT_FALSE(ContainsAnyChar("abc", ""));
  EXPECT_FALSE(ContainsAnyChar("", "abc"));
}

TEST(OxDatabaseError, RaisesTheDatabaseErrorWithTheMessage) {
  try {
    RaiseDatabaseError("LookupField manquant");
    FAIL() << "no exception";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "LookupField manquant");
  }
}

class OxFileNamesOnDisk : public TestFolder {};

TEST_F(OxFileNamesOnDisk, FolderExistsOnlyForFolders) {
  WriteRaw(PathOf("file.txt"), "x");
  EXPECT_TRUE(FolderExists(Folder));
  EXPECT_TRUE(FolderExists(Folder + "\\"));
  EXPECT_FALSE(FolderExists(PathOf("file.txt")));
  EXPECT_FALSE(FolderExists(PathOf("missing")));
  EXPECT_FALSE(FolderExists(""));
}

TEST_F(OxFileNamesOnDisk, LongAndShortNamesOfTheFirstMatch) {
  WriteRaw(PathOf("Inventaire des zones humides.txt"), "x");
  WriteRaw(PathOf("SHORT.TXT"), "x");
  // Only the name part comes back, as stored on disk.
  EXPECT_EQ(LongFileNameOf(PathOf("inventaire des zones humides.txt")), "Inventaire des zones humides.txt");
  String alias = ShortFileNameOf(PathOf("Inventaire des zones humides.txt"));
  EXPECT_FALSE(alias.empty());
  EXPECT_LE(alias.size(), 12u) << alias;
  EXPECT_EQ(alias.find(' '), String::npos) << alias;
  // The alias finds the same file, whose long name comes back.
  EXPECT_EQ(LongFileNameOf(PathOf(alias)), "Inventaire des zones humides.txt");
  // An 8.3 name has no separate alias: the short form falls back to it.
  EXPECT_EQ(ShortFileNameOf(PathOf("SHORT.TXT")), "SHORT.TXT");
  // A pattern gives the first match.
  EXPECT_EQ(LongFileNameOf(PathOf("SHO*")), "SHORT.TXT");
  for (const String& missing : {PathOf("absent.txt"), String(), Folder + "\\nowhere\\x.txt"}) {
    EXPECT_EQ(LongFileNameOf(missing), "") << missing;
    EXPECT_EQ(ShortFileNameOf(missing), "") << missing;
  }
}

}  // namespace
