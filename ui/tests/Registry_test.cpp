// Tests of the registry classes: typed values written and read back, key paths relative to the
// current key or to the root, enumeration, recursive deletion, type errors, and the ini-file view.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "Registry.h"
#include "Strings.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { Base = "Software\\VelborTests\\Run" + std::to_string(std::random_device()()); }
  void TearDown() override {
    TRegistry reg;
    reg.DeleteKey("\\Software\\VelborTests");
  }
  String Base;
};

TEST_F(RegistryTest, TypedValuesRoundTrip) {
  const unsigned char blob[] = {0, 1, 2, 0xFE, 0xFF};
  {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(Base + "\\Préférences"_a, true));
    reg.WriteString("Nom", "Étang de Berre – rive"_a);
    reg.WriteExpandString("Dossier", "%TEMP%\\velbor");
    reg.WriteInteger("Largeur", -153);
    reg.WriteBool("Visible", true);
    reg.WriteFloat("Echelle", 91.6256157635468);
    reg.WriteDateTime("Quand", 45000.75);
    reg.WriteBinaryData("Glyphe", blob, sizeof(blob));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(Base + "\\Préférences"_a));
  EXPECT_EQ(reg.ReadString("Nom"), "Étang de Berre – rive"_a);
  EXPECT_EQ(reg.ReadString("Dossier"), "%TEMP%\\velbor");
  EXPECT_EQ(reg.GetDataType("Dossier"), rdExpandString);
  EXPECT_EQ(reg.ReadInteger("Largeur"), -153);
  EXPECT_TRUE(reg.ReadBool("Visible"));
  EXPECT_DOUBLE_EQ(reg.ReadFloat("Echelle"), 91.6256157635468);
  EXPECT_DOUBLE_EQ(reg.ReadDateTime("Quand"), 45000.75);
  unsigned char back[8] = {0};
  EXPECT_EQ(reg.ReadBinaryData("Glyphe", back, sizeof(back)), int(sizeof(blob)));
  EXPECT_EQ(0, std::memcmp(back, blob, sizeof(blob)));
  EXPECT_EQ(reg.GetDataSize("Glyphe"), 5);
  EXPECT_EQ(reg.GetDataSize("Absent"), -1);
  EXPECT_EQ(reg.GetDataType("Largeur"), rdInteger);
  // A read-only key refuses writes.
  EXPECT_THROW(reg.WriteString("Nom", "x"), ERegistryException);
}

TEST_F(RegistryTest, ReadingAMissingOrMistypedValue) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base, true));
  reg.WriteString("Texte", "12");
  reg.WriteInteger("Nombre", 12);
  EXPECT_EQ(reg.ReadString("Absent"), "");
  EXPECT_THROW(reg.ReadInteger("Absent"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Texte"), ERegistryException);
  EXPECT_THROW(reg.ReadString("Nombre"), ERegistryException);
  EXPECT_THROW(reg.ReadFloat("Nombre"), ERegistryException);
  try {
    reg.ReadInteger("Texte");
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Type de données incorrect pour 'Texte'"_a);
  }
}

TEST_F(RegistryTest, KeyPathsAreRelativeToTheCurrentKeyUnlessTheyStartWithABackslash) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\" + Base + "\\", true));
  EXPECT_EQ(reg.CurrentPath(), Base);
  ASSERT_TRUE(reg.OpenKey("Bar0", true));
  EXPECT_EQ(reg.CurrentPath(), Base + "\\Bar0");
  ASSERT_TRUE(reg.OpenKey("ItemLink1", true));
  EXPECT_EQ(reg.CurrentPath(), Base + "\\Bar0\\ItemLink1");
  reg.WriteString("ItemName", "dxbExporter");
  EXPECT_FALSE(reg.OpenKey("\\" + Base + "\\Absente", false));
  // A failed open keeps the current key.
  EXPECT_EQ(reg.CurrentPath(), Base + "\\Bar0\\ItemLink1");
  EXPECT_TRUE(reg.KeyExists("\\" + Base + "\\Bar0\\ItemLink1"));
  EXPECT_FALSE(reg.KeyExists("ItemLink1"));  // relative to ItemLink1 itself
  ASSERT_TRUE(reg.OpenKey("\\" + Base, false));
  EXPECT_TRUE(reg.KeyExists("Bar0\\ItemLink1"));
  EXPECT_TRUE(reg.CreateKey("Bar1\\ItemLink0"));
  EXPECT_TRUE(reg.HasSubKeys());
  reg.WriteInteger("BarCount", 2);
  TStringList keys, values;
  reg.GetKeyNames(&keys);
  keys.Sort();
  EXPECT_EQ(keys.CommaText(), "Bar0,Bar1");
  reg.GetValueNames(&values);
  EXPECT_EQ(values.CommaText(), "BarCount");
  reg.RenameValue("BarCount", "Nombre");
  EXPECT_FALSE(reg.ValueExists("BarCount"));
  EXPECT_EQ(reg.ReadInteger("Nombre"), 2);
  EXPECT_TRUE(reg.DeleteValue("Nombre"));
  EXPECT_FALSE(reg.DeleteValue("Nombre"));
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeTree) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Base + "\\Bar0\\ItemLink0", true));
  reg.WriteString("ItemName", "a");
  ASSERT_TRUE(reg.OpenKey("\\" + Base + "\\Bar1", true));
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey(Base));
  EXPECT_FALSE(reg.KeyExists(Base));
  EXPECT_FALSE(reg.DeleteKey(Base));
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubKeys) {
  {
    TRegIniFile ini(Base);
    ini.WriteString("Colonnes", "ZH_CODE", "13;Code");
    ini.WriteInteger("Colonnes", "Nombre", 2);
    ini.WriteBool("Options", "Trier", true);
    EXPECT_EQ(ini.CurrentPath(), Base);
  }
  TRegIniFile ini(Base);
  EXPECT_EQ(ini.ReadString("Colonnes", "ZH_CODE", "?"), "13;Code");
  EXPECT_EQ(ini.ReadString("Colonnes", "Absent", "défaut"_a), "défaut"_a);
  EXPECT_EQ(ini.ReadString("Absente", "ZH_CODE", "?"), "?");
  EXPECT_EQ(ini.ReadInteger("Colonnes", "Nombre", 0), 2);
  EXPECT_EQ(ini.ReadInteger("Colonnes", "ZH_CODE", -1), -1);
  EXPECT_TRUE(ini.ReadBool("Options", "Trier", false));
  EXPECT_TRUE(ini.ReadBool("Options", "Absent", true));
  // Integers are stored as text, as in an ini file.
  TRegistry raw;
  ASSERT_TRUE(raw.OpenKey(Base + "\\Colonnes", false));
  EXPECT_EQ(raw.GetDataType("Nombre"), rdString);
  TStringList list;
  ini.ReadSections(&list);
  list.Sort();
  EXPECT_EQ(list.CommaText(), "Colonnes,Options");
  ini.ReadSection("Colonnes", &list);
  list.Sort();
  EXPECT_EQ(list.CommaText(), "Nombre,ZH_CODE");
  ini.ReadSectionValues("Colonnes", &list);
  list.Sort();
  EXPECT_EQ(list.Text(), "Nombre=2\r\nZH_CODE=13;Code\r\n");
  ini.DeleteKey("Colonnes", "Nombre");
  EXPECT_EQ(ini.ReadInteger("Colonnes", "Nombre", 7), 7);
  ini.EraseSection("Colonnes");
  ini.ReadSections(&list);
  EXPECT_EQ(list.CommaText(), "Options");
  // The file's key is still the current one after every section operation.
  EXPECT_EQ(ini.CurrentPath(), Base);
}

}  // namespace
