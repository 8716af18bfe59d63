// Tests of the bringing up to date of an older database: a version 1 database (the schema before
// the keys with empty parts) or 2 (before the indexes of the species order) comes out with the
// schema of base/schema.sql, whole or but for the keys its rows already break, and a database of
// another version is left alone.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "FileUtils.h"
#include "OsPort.h"
#include "SqliteError.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TestDatabase.h"
#include "pMiseAJourBase.h"

namespace {

const char* const kClesVersion2[] = {"T_ENT_EAU_ZH_CLE", "T_INVENTAIRE_CLE", "T_REF_BIBLIO_CLE", "T_SDAGE_ZH_CLE",
                                     "T_SORTIE_EAU_ZH_CLE"};
const char* const kIndexVersion3[] = {"T_TAXON_ANI_THEME_LATIN", "T_TAXON_VEG_THEME_LATIN"};

class MiseAJourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Path = OsPort::TempFolder() + "velbor-version-" + IntToStr(int(std::random_device()() & 0x7FFFFFFF)) + ".mdb";
    Session = std::make_unique<SqliteSession>(Path, TSqliteOpenMode::CreateIfMissing);
    TestDatabase::CreateSchema(*Session);
    TestDatabase::LoadFixture(*Session);
    Courant = Objets();
  }
  void TearDown() override {
    Session.reset();
    OsPort::DeleteFile(Path);
    OsPort::DeleteFile(Path + "-journal");
  }
  // The database as version 2 made it: the same schema without the indexes of version 3; and as
  // version 1 made it: without the keys of version 2 either.
  void EnVersion2() {
    for (const char* Index : kIndexVersion3) Run("DROP INDEX \"" + String(Index) + "\"");
    Run("PRAGMA user_version = 2");
  }
  void EnVersion1() {
    EnVersion2();
    for (const char* Index : kClesVersion2) Run("DROP INDEX \"" + String(Index) + "\"");
    Run("PRAGMA user_version = 1");
  }
  void Run(const String& Sql) { Session->ExecuteScript(Sql); }
  long long Nombre(const String& Sql) {
    SqliteStatement Statement = Session->PrepareNative(Sql);
    return Statement.Step() ? Statement.ColumnInt64(0) : -1;
  }
  std::map<String, String> Objets() {
    std::map<String, String> Result;
    SqliteStatement Statement = Session->PrepareNative("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL");
    while (Statement.Step()) Result[Statement.ColumnText(0)] = Statement.ColumnText(1);
    return Result;
  }

  String Path;
  std::unique_ptr<SqliteSession> Session;
  std::map<String, String> Courant;  // the schema of base/schema.sql
};

TEST_F(MiseAJourTest, AVersion1DatabaseGetsTheSchemaOfTheCurrentVersion) {
  EnVersion1();
  ASSERT_NE(Objets(), Courant);
  EXPECT_TRUE(MettreBaseAJour(*Session).empty());
  EXPECT_EQ(Nombre("PRAGMA user_version"), kVersionBase);
  EXPECT_EQ(Objets(), Courant);
  // Its keys hold with empty parts from now on.
  Run("INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')");
  EXPECT_THROW(Run("INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')"), ESqliteError);
  // Once up to date, nothing more is done.
  EXPECT_TRUE(MettreBaseAJour(*Session).empty());
  EXPECT_EQ(Objets(), Courant);
}

TEST_F(MiseAJourTest, AVersion2DatabaseGetsTheIndexesOfTheSpeciesOrder) {
  EnVersion2();
  ASSERT_NE(Objets(), Courant);
  EXPECT_TRUE(MettreBaseAJour(*Session).empty());
  EXPECT_EQ(Nombre("PRAGMA user_version"), kVersionBase);
  EXPECT_EQ(Objets(), Courant);
}

TEST_F(MiseAJourTest, AKeyTheRowsBreakIsLeftOutAndAddedOnceTheyAreMended) {
  EnVersion1();
  Run("INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')");
  Run("INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')");
  EXPECT_EQ(MettreBaseAJour(*Session), std::vector<String>{"T_SORTIE_EAU_ZH"});
  EXPECT_EQ(Nombre("PRAGMA user_version"), 1);
  EXPECT_EQ(Nombre("SELECT count(*) FROM sqlite_master WHERE name = 'T_SORTIE_EAU_ZH_CLE'"), 0);
  EXPECT_EQ(Nombre("SELECT count(*) FROM sqlite_master WHERE name = 'T_ENT_EAU_ZH_CLE'"), 1);
  EXPECT_EQ(Nombre("SELECT count(*) FROM T_SORTIE_EAU_ZH WHERE RES_CODE IS NULL"), 2) << "the rows are the operator's";

  Run("DELETE FROM T_SORTIE_EAU_ZH WHERE rowid = (SELECT max(rowid) FROM T_SORTIE_EAU_ZH)");
  EXPECT_TRUE(MettreBaseAJour(*Session).empty());
  EXPECT_EQ(Nombre("PRAGMA user_version"), kVersionBase);
  EXPECT_EQ(Objets(), Courant);
}

TEST_F(MiseAJourTest, ADatabaseOfAnotherVersionIsLeftAlone) {
  EnVersion1();
  Run("PRAGMA user_version = 0");
  std::map<String, String> Avant = Objets();
  EXPECT_TRUE(MettreBaseAJour(*Session).empty());
  EXPECT_EQ(Objets(), Avant);
  EXPECT_EQ(Nombre("PRAGMA user_version"), 0);
}

}  // namespace
