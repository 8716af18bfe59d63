// Tests of the ini files: round trips that keep the rest of the file, reading by fresh instances,
// typed values, sections, missing files and failed writes.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "Exceptions.h"
#include "FileUtils.h"
#include "FormatSettings.h"
#include "IniFiles.h"
#include "OsPort.h"
#include "Strings.h"

namespace {

void RemoveTree(const String& Folder) {
  for (const String& name : OsPort::ListFolder(Folder, "*")) {
    String path = Folder + "\\" + name;
    if (OsPort::DirectoryExists(path)) RemoveTree(path); else OsPort::DeleteFile(path);
  }
  OsPort::RemoveDirectory(Folder);
}

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor-ini-" + std::to_string(std::random_device()());
    ASSERT_TRUE(OsPort::CreateDirectory(Folder));
    Path = Folder + "\\velbor.ini";
  }
  void TearDown() override { RemoveTree(Folder); }

  void WriteRaw(const String& Text) {
    OsPort::FileHandle file = OsPort::CreateFile(Path);
    ASSERT_NE(file, OsPort::InvalidHandle);
    OsPort::WriteFile(file, Text.data(), std::int64_t(Text.size()));
    OsPort::CloseFile(file);
  }

  String ReadRaw() {
    OsPort::FileHandle file = OsPort::OpenFile(Path, OsPort::fmOpenRead);
    if (file == OsPort::InvalidHandle) return "<missing>";
    String text(std::size_t(OsPort::SeekFile(file, 0, OsPort::SeekOrigin::End)), '\0');
    OsPort::SeekFile(file, 0, OsPort::SeekOrigin::Begin);
    OsPort::ReadFile(file, text.data(), std::int64_t(text.size()));
    OsPort::CloseFile(file);
    return text;
  }

  std::vector<String> Lines(TStrings& List) {
    std::vector<String> lines;
    for (int i = 0; i < List.Count(); ++i) lines.push_back(List[i]);
    return lines;
  }

  String Folder, Path;
};

const String kSettings =
    "; en-tête\r\n"_a
    "[parametres]\r\n"
    "nom=Dupont\r\n"
    "; commentaire\r\n"
    "organisme = Office \r\n"
    "ligne sans égal\r\n"_a
    "\r\n"
    "[autre]\r\n"
    "x=1\r\n";

TEST_F(IniFileTest, MemIniFileWritesBackEveryLineItDidNotChange) {
  WriteRaw(kSettings);
  TMemIniFile ini(Path);
  ini.WriteString("PARAMETRES", "NOM", "Durand");  // found without case; keeps its spelling
  ini.WriteString("parametres", "nouveau", "v");
  ini.WriteString("troisième"_a, "k", "v");
  EXPECT_EQ(ReadRaw(), kSettings);  // nothing written before UpdateFile
  ini.UpdateFile();
  EXPECT_EQ(ReadRaw(),
            "; en-tête\r\n"_a
            "[parametres]\r\n"
            "nom=Durand\r\n"
            "; commentaire\r\n"
            "organisme = Office \r\n"
            "ligne sans égal\r\n"_a
            "nouveau=v\r\n"
            "\r\n"
            "[autre]\r\n"
            "x=1\r\n"
            "\r\n"
            "[troisième]\r\n"_a
            "k=v\r\n");
  EXPECT_FALSE(OsPort::FileExists(Path + ".~tmp"));
}

TEST_F(IniFileTest, IniFileWritesAtOnceAndKeepsTheRestOfTheFile) {
  WriteRaw(kSettings);
  TIniFile ini(Path);
  ini.WriteString("parametres", "organisme", "ONF");
  String expected = kSettings;
  expected.replace(expected.find("organisme = Office "), 19, "organisme=ONF");
  EXPECT_EQ(ReadRaw(), expected);

  // A change made by someone else is seen by the next read.
  TMemIniFile other(Path);
  other.WriteString("autre", "x", "2");
  other.UpdateFile();
  EXPECT_EQ(ini.ReadString("autre", "x", ""), "2");
}

TEST_F(IniFileTest, FreshInstancesReadWhatWasWritten) {
  {
    TMemIniFile mem(Path);
    mem.WriteString("Paramètres"_a, "Nom", "Élodie"_a);
    mem.WriteInteger("Paramètres"_a, "Compte", -12);
    mem.UpdateFile();
  }
  TIniFile ini(Path);
  EXPECT_EQ(ini.ReadString("PARAMÈTRES"_a, "nom", ""), "Élodie"_a);  // case folds on accented letters
  EXPECT_EQ(ini.ReadString("parametres", "nom", "absent"), "absent");  // accents still count
  EXPECT_EQ(ini.ReadInteger("paramètres"_a, "compte", 0), -12);
  ini.WriteBool("Paramètres"_a, "Actif", true);
  TMemIniFile again(Path);
  EXPECT_TRUE(again.ReadBool("Paramètres"_a, "Actif", false));
  EXPECT_EQ(again.ReadString("Paramètres"_a, "Nom", ""), "Élodie"_a);
}

TEST_F(IniFileTest, MissingFileReadsAsDefaultsAndIsNotCreatedByReading) {
  const String missing = Folder + "\\absent.ini";
  TMemIniFile mem(missing);
  TIniFile ini(missing);
  for (TCustomIniFile* file : {static_cast<TCustomIniFile*>(&mem), static_cast<TCustomIniFile*>(&ini)}) {
    SCOPED_TRACE(file->ClassName());
    EXPECT_EQ(file->ReadString("parametres", "nom", "défaut"_a), "défaut"_a);
    EXPECT_EQ(file->ReadInteger("s", "i", 7), 7);
    EXPECT_TRUE(file->ReadBool("s", "b", true));
    EXPECT_DOUBLE_EQ(file->ReadFloat("s", "f", 2.5), 2.5);
    EXPECT_FALSE(file->SectionExists("parametres"));
    TStringList sections;
    sections.Add("stale");
    file->ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
  }
  EXPECT_FALSE(OsPort::FileExists(missing));

  ini.WriteString("parametres", "nom", "X");  // the first write creates the file
  EXPECT_EQ(TMemIniFile(missing).ReadString("parametres", "nom", ""), "X");
}

TEST_F(IniFileTest, MemIniFileKeepsValuesAsTheyAreAndIniFileTrimsThem) {
  WriteRaw("[s]\r\n  a  =  \" entre guillemets \"  \r\nb=  espacé  \r\nc='x'\r\nd=\"x'\r\n"_a);
  TMemIniFile mem(Path);
  TIniFile ini(Path);
  const struct { const char* Key; String Mem; String Ini; } cases[] = {
      {"a", "  \" entre guillemets \"  ", " entre guillemets "},
      {"b", "  espacé  "_a, "espacé"_a},
      {"c", "'x'", "x"},
      {"d", "\"x'", "\"x'"},  // quotes that do not pair stay
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mem.ReadString("s", c.Key, "?"), c.Mem) << c.Key;
    EXPECT_EQ(ini.ReadString("s", c.Key, "?"), c.Ini) << c.Key;
  }
  TStringList values;
  ini.ReadSectionValues("s", &values);
  EXPECT_EQ(Lines(values), (std::vector<String>{"a= entre guillemets ", "b=espacé"_a, "c=x", "d=\"x'"}));
}

TEST_F(IniFileTest, TypedValues) {
  WriteRaw(
      "[n]\r\ndec=42\r\nneg=-7\r\nhex=0x1F\r\ndollar=$ff\r\nbad=abc\r\nempty=\r\ntail=12abc\r\n"
      "[b]\r\nzero=0\r\none=1\r\nminus=-1\r\ntwo=2\r\nword=oui\r\n"
      "[f]\r\ncomma=1,5\r\ndot=1.5\r\n");
  TMemIniFile ini(Path);
  const struct { const char* Key; int Expected; } integers[] = {
      {"dec", 42}, {"neg", -7}, {"hex", 31}, {"dollar", 255}, {"bad", 99}, {"empty", 99}, {"tail", 99}, {"none", 99},
  };
  for (const auto& c : integers) EXPECT_EQ(ini.ReadInteger("n", c.Key, 99), c.Expected) << c.Key;

  const struct { const char* Key; bool Default; bool Expected; } booleans[] = {
      {"zero", true, false}, {"one", false, true}, {"minus", false, true},
      {"two", false, true},  {"word", true, true}, {"word", false, false},
  };
  for (const auto& c : booleans) EXPECT_EQ(ini.ReadBool("b", c.Key, c.Default), c.Expected) << c.Key;

  FormatSettings = TFormatSettings::French();
  EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "comma", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "dot", -1), -1);  // not a number with a decimal comma

  ini.WriteBool("b", "zero", true);
  ini.WriteBool("b", "one", false);
  ini.WriteInteger("n", "neg", -2147483647 - 1);
  ini.WriteFloat("f", "dot", 0.25);
  EXPECT_EQ(ini.ReadString("b", "zero", ""), "1");
  EXPECT_EQ(ini.ReadString("b", "one", ""), "0");
  EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -2147483647 - 1);
  EXPECT_EQ(ini.ReadString("f", "dot", ""), "0,25");
}

TEST_F(IniFileTest, SectionsKeysAndErasing) {
  for (bool memory : {true, false}) {
    SCOPED_TRACE(memory ? "TMemIniFile" : "TIniFile");
    WriteRaw(
        "[a]\r\nk1=1\r\n; note de a\r\nK2=2\r\n\r\n"
        "[vide]\r\n\r\n"
        "[b]\r\nk=3\r\n\r\n"
        "[A]\r\nk9=9\r\n");  // a second header of the same section is not read
    std::unique_ptr<TCustomIniFile> ini;
    if (memory) ini = std::make_unique<TMemIniFile>(Path); else ini = std::make_unique<TIniFile>(Path);

    TStringList list;
    list.Add("stale");
    ini->ReadSections(&list);
    EXPECT_EQ(Lines(list), (std::vector<String>{"a", "vide", "b"}));
    ini->ReadSection("A", &list);
    EXPECT_EQ(Lines(list), (std::vector<String>{"k1", "K2"}));
    ini->ReadSectionValues("a", &list);
    EXPECT_EQ(Lines(list), (std::vector<String>{"k1=1", "K2=2"}));
    EXPECT_TRUE(ini->SectionExists("a"));
    EXPECT_FALSE(ini->SectionExists("vide"));  // no key
    EXPECT_TRUE(ini->ValueExists("a", "k2"));
    EXPECT_FALSE(ini->ValueExists("a", "k3"));

    ini->DeleteKey("a", "K1");
    ini->EraseSection("B");
    ini->EraseSection("inconnue");
    ini->UpdateFile();
    EXPECT_EQ(ReadRaw(), "[a]\r\n; note de a\r\nK2=2\r\n\r\n[vide]\r\n\r\n[A]\r\nk9=9\r\n");
  }
}

TEST_F(IniFileTest, LinesEndingInAnyWayAreRead) {
  WriteRaw("orphelin=1\n[s]\rk=v\r\nl=w\nm=x");  // no line end at the very end
  TMemIniFile ini(Path);
  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"s"}));
  ini.ReadSectionValues("s", &list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"k=v", "l=w", "m=x"}));
  ini.UpdateFile();
  EXPECT_EQ(ReadRaw(), "orphelin=1\r\n[s]\r\nk=v\r\nl=w\r\nm=x\r\n");
}

TEST_F(IniFileTest, WriteIntoAMissingFolderRaisesAndLeavesNothing) {
  const String folder = Folder + "\\absent";
  const String file = folder + "\\velbor.ini";
  TIniFile ini(file);
  try {
    ini.WriteString("parametres", "nom", "X");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_NE(e.Message.find(file), String::npos) << e.Message;
    EXPECT_NE(e.Message.find("Impossible d'écrire"_a), String::npos) << e.Message;
  }
  TMemIniFile mem(file);
  mem.WriteString("parametres", "nom", "X");
  EXPECT_THROW(mem.UpdateFile(), EIniFileException);
  EXPECT_FALSE(OsPort::DirectoryExists(folder));
  EXPECT_EQ(OsPort::ListFolder(Folder, "*"), std::vector<String>{});
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWhole) {
  WriteRaw(kSettings);
  // The temporary file cannot be made: a folder holds its name.
  ASSERT_TRUE(OsPort::CreateDirectory(Path + ".~tmp"));
  TIniFile ini(Path);
  EXPECT_THROW(ini.WriteString("parametres", "nom", "Durand"), EIniFileException);
  EXPECT_EQ(ReadRaw(), kSettings);
  ASSERT_TRUE(OsPort::RemoveDirectory(Path + ".~tmp"));

  // The target cannot be replaced: it is a folder. The temporary file is removed.
  const String folderTarget = Folder + "\\dossier.ini";
  ASSERT_TRUE(OsPort::CreateDirectory(folderTarget));
  TMemIniFile mem(folderTarget);
  mem.WriteString("s", "k", "v");
  EXPECT_THROW(mem.UpdateFile(), EIniFileException);
  EXPECT_TRUE(OsPort::DirectoryExists(folderTarget));
  EXPECT_FALSE(OsPort::FileExists(folderTarget + ".~tmp"));
}

TEST_F(IniFileTest, NamesAndValuesThatWouldWriteOtherLinesAreRefused) {
  struct Case {
    const char* Section;
    const char* Ident;
    const char* Value;
    const char* Refused;  // start of the message
  } Cases[] = {
      {"Parametres", "Organisme", "Conservatoire\r\n[Admin]\r\nModeAdministrateur=1", "Valeur de la clé Organisme"},
      {"Parametres", "Organisme", "a\nb", "Valeur"},
      {"Parametres", "Organisme", "a\rb", "Valeur"},
      {"Parametres", "Organisme\r\nModeAdministrateur", "1", "Nom de clé"},
      {"Parametres]\r\n[Admin", "Organisme", "x", "Nom de section"},
      {"", "Organisme", "x", "Nom de section"},
      {" Parametres", "Organisme", "x", "Nom de section"},
      {"Param]etres", "Organisme", "x", "Nom de section"},
      {"Parametres", "", "x", "Nom de clé"},
      {"Parametres", " Organisme", "x", "Nom de clé"},
      {"Parametres ", "Organisme", "x", "Nom de section"},
      {"Parametres", "Organisme\t", "x", "Nom de clé"},
      {"Parametres", "ModeAdministrateur=1", "x", "Nom de clé"},
      {"Parametres", ";Organisme", "x", "Nom de clé"},
      {"Parametres", "[Admin]", "x", "Nom de clé"},
  };
  const String Before = "[Parametres]\r\nOrganisme=ONF\r\nSuivant=1\r\n";
  for (const Case& C : Cases) {
    SCOPED_TRACE(String(C.Section) + " / " + C.Ident + " / " + C.Value);
    WriteRaw(Before);
    TIniFile ini(Path);
    TMemIniFile mem(Path);
    for (TCustomIniFile* file : {static_cast<TCustomIniFile*>(&ini), static_cast<TCustomIniFile*>(&mem)}) {
      try {
        file->WriteString(C.Section, C.Ident, C.Value);
        ADD_FAILURE() << "written";
      } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message.rfind(Utf8ToAnsi(C.Refused), 0), 0u) << e.Message;
      }
    }
    mem.WriteString("Parametres", "Suivant", "2");  // the document is still whole
    mem.UpdateFile();
    EXPECT_EQ(ReadRaw(), "[Parametres]\r\nOrganisme=ONF\r\nSuivant=2\r\n");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), std::vector<String>{"Parametres"});
  }
  // Blanks inside names, and around values, read back as written.
  TMemIniFile mem(Path);
  mem.WriteString("Mes paramètres"_a, "Nom complet", "  deux mots ");
  mem.UpdateFile();
  TMemIniFile again(Path);
  EXPECT_EQ(again.ReadString("Mes paramètres"_a, "Nom complet", ""), "  deux mots ");
}

TEST(IniFilePlace, BareNameLivesInTheWindowsFolder) {
  String windows = OsPort::GetEnvironmentVariable("windir");
#ifdef __WINE__
  ASSERT_FALSE(windows.empty());
#endif
  TIniFile bare("grilles.ini");
  EXPECT_EQ(bare.FileName(), "grilles.ini");
  EXPECT_EQ(bare.Path(), windows.empty() ? String("grilles.ini") : IncludeTrailingPathDelimiter(windows) + "grilles.ini");
  TIniFile relative("sous\\grilles.ini");
  EXPECT_EQ(relative.Path(), "sous\\grilles.ini");
}

}  // namespace
