// Tests of the inventory transfers over the fixture database: the golden file of an export, the
// code range, refused values, line breaks, cancels and failures; the import's round trip, its
// replacements, and its restore after every kind of error or cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ExchangeFile.h"
#include "ExchangeRows.h"
#include "InventoryExchange.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "StrUtils.h"
#include "TestDatabase.h"

using namespace Exchange;

namespace {

class TScriptedHost : public IExchangeHost {
 public:
  int Maximum = -1, Steps = 0, CancelAfter = -1;
  void ProgressStart(int Max, const String&) override { Maximum = Max; }
  void ProgressStep() override { ++Steps; }
  bool CancelRequested() override { return CancelAfter >= 0 && Steps >= CancelAfter; }
};

// The export of the three fixture wetlands, written by hand from the format; the DEB path is
// replaced by the test's own.
const char* const Golden =
    "DEC|,5  11 \r\n"
    "EMT|27419035500048|1|VIRQ|||||Lyon|69|Service des zones humides|\r\n"
    "DES|27419035500048|1|||||||||\r\n"
    "DEB|INVZH|@PATH@|2026/12/10||1.0||||||||2002-1|\r\n"
    "ZHI|073ASTERS0001|Marais de l'\xC9tang Noir|Active|1|0||Carte IGN 3332O|Drainage agricole\r\nRemblais|"
    "Marais tourbeux\r\nen rive du lac\r\nau pied du mont|Prairies humides|231|1|12,3456|1|1,5|1|1|0|1|2|1|"
    "Fiche \xE0 compl\xE9ter|\r\n"
    "PNZ|073ASTERS0001|4|Flore riche|2|1|Loutre observ\xE9""e|2|Deux habitats|\r\n"
    "VAZ|073ASTERS0001|1||2|Foss\xE9s anciens|Expansion des crues|Drainage agricole\r\nRemblais|\r\n"
    "AZH|073ASTERS0001|Marais de Chautagne|\r\n"
    "HFZ|073ASTERS0001|2004/03/12|Conservatoire d'espaces naturels|Dupont|C|\r\n"
    "HFZ|073ASTERS0001|2005/06/30|Conservatoire d'espaces naturels|Lef\xE8vre|M|\r\n"
    "RBZ|073ASTERS0001|Les marais du Bourget|Martin J.|1998/01/01|\r\n"
    "IZH|073ASTERS0001|3332O|Aix-les-Bains|TOP 25|1:25000|\r\n"
    "CDZ|073ASTERS0001|10|\r\n"
    "CDZ|073ASTERS0001|20|\r\n"
    "CMZ|073ASTERS0001|73008|\r\n"
    "CMZ|073ASTERS0001|73065|\r\n"
    "EHZ|073ASTERS0001|125AC01|\r\n"
    "BHZ|073ASTERS0001|V130|\r\n"
    "SDZ|073ASTERS0001|5|1|\r\n"
    "SDZ|073ASTERS0001|7|0|\r\n"
    "CBZ|073ASTERS0001|22.1|0|\r\n"
    "CBZ|073ASTERS0001|53.1|1|\r\n"
    "PCZ|073ASTERS0001|1|\r\n"
    "SEZ|073ASTERS0001|0|03|\r\n"
    "EEZ|073ASTERS0001|1|01|\r\n"
    "EEZ|073ASTERS0001|2|02|\r\n"
    "FHZ|073ASTERS0001|11|1|\r\n"
    "FHZ|073ASTERS0001|12|2|\r\n"
    "QUZ|073ASTERS0001|Exutoire|Nitrates|\r\n"
    "IVZ|073ASTERS0001|ZNIEFF|820030287|||Lac du Bourget|1|1|Totale|\r\n"
    "IVZ|073ASTERS0001|ZPS|FR8212004|||Lac du Bourget|||Partielle|\r\n"
    "AOZ|073ASTERS0001|2891|\r\n"
    "EVH|073ASTERS0001|81569|\r\n"
    "EAH|073ASTERS0001|60630|\r\n"
    "HAZ|073ASTERS0001|7140|\r\n"
    "AAZ|073ASTERS0001|02|1|Peupleraie\r\nen limite nord|\r\n"
    "ASZ|073ASTERS0001|01|1|Fauche tardive|\r\n"
    "ASZ|073ASTERS0001|10|2||\r\n"
    "FBZ|073ASTERS0001|31|1|Reproduction de la loutre|\r\n"
    "FAZ|073ASTERS0001|10|1|\r\n"
    "FSZ|073ASTERS0001|20|1|\r\n"
    "VSZ|073ASTERS0001|01|1|Captage communal|\r\n"
    "SFZ|073ASTERS0001|01|1||\r\n"
    "SFZ|073ASTERS0001|02|2|Rives|\r\n"
    "MEZ|073ASTERS0001|12|1|Classement de 1987|\r\n"
    "MMA|073ASTERS0001|11|1||\r\n"
    "ICZ|073ASTERS0001|01|2004/02/01|5 ans|Sign\xE9 en pr\xE9""fecture|\r\n"
    "ORZ|073ASTERS0001|1|Maintenir la fauche|Convention avec\r\nles exploitants|\r\n"
    "ZHI|073ASTERS0002|Tourbi\xE8re du Col|Active|2|X||||||1480||0||0||0|0|0||||\r\n"
    "PNZ|073ASTERS0002||||||||\r\n"
    "VAZ|073ASTERS0002|||||||\r\n"
    "AZH|073ASTERS0002|Tourbi\xE8re haute|\r\n"
    "AZH|073ASTERS0002|Tourbi\xE8re haute|\r\n"
    "HFZ|073ASTERS0002|2004/03/12|Conservatoire d'espaces naturels|Dupont|C|\r\n"
    "CMZ|073ASTERS0002|73065|\r\n"
    "QUZ|073ASTERS0002|Source|pH|\r\n"
    "ZHI|971PNG   0001|Mangrove de Belle-Plaine|Gel\xE9|1|1||||||0||0||0||0|0|0||||\r\n"
    "PNZ|971PNG   0001||||||||\r\n"
    "VAZ|971PNG   0001|||||||\r\n"
    "FIN|INVZH|66|";

class InventoryExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = OsPort::TempFolder() + "velbor_inv_test\\";
    OsPort::CreateDirectory(Folder);
    for (const char* f : {"base.db", "out.uzh", "out.uzh2"}) OsPort::DeleteFile(Folder + f);
    Session = std::make_unique<SqliteSession>(Folder + "base.db", TSqliteOpenMode::CreateIfMissing);
    TestDatabase::CreateSchema(*Session);
    TestDatabase::LoadFixture(*Session);
    Target = Folder + "out.uzh";
  }
  void TearDown() override { Session.reset(); }

  TExchangeResult Export(const String& First, const String& Last, TScriptedHost& Host) {
    return ExportInventaire(*Session, First, Last, Target, EncodeDate(2026, 12, 10), Host);
  }
  // The wetland codes of the ZHI records of a file.
  static String ZhiCodes(const String& Bytes) {
    String codes;
    for (const String& line : SplitLines(Bytes))
      if (line.substr(0, 4) == "ZHI|") codes += line.substr(4, 13) + ";";
    return codes;
  }
  // An export that must not have touched the old target.
  void ExpectOldFileKept(const TExchangeResult& R) {
    EXPECT_EQ(R.Message.find("Fin de"), String::npos) << R.Message;
    EXPECT_EQ(ReadFileBytes(Target), "ancien");
    EXPECT_FALSE(OsPort::FileExists(Target + "2"));
  }

  String Folder, Target;
  std::unique_ptr<SqliteSession> Session;
};

TEST_F(InventoryExchangeTest, ExportOfEveryWetlandMatchesGoldenFile) {
  WriteFileBytes(Target, "ancien");  // replaced once the new file is complete
  TScriptedHost host;
  TExchangeResult r = Export("", "", host);
  ASSERT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  EXPECT_EQ(r.Message, "Fin de l'exportation");
  EXPECT_EQ(host.Maximum, 3);
  EXPECT_EQ(host.Steps, 3);
  String expected = StringReplace(Golden, "@PATH@", Target, rfReplaceAll);
  String got = ReadFileBytes(Target);
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(TrailerMatches(SplitLines(got), KindInventory));
  EXPECT_FALSE(OsPort::FileExists(Target + "2"));
}

TEST_F(InventoryExchangeTest, RangeBoundsAreInclusiveAndOptional) {
  struct Case {
    const char* First;
    const char* Last;
    const char* Codes;
  } cases[] = {
      {"073ASTERS0002", "", "073ASTERS0002;971PNG   0001;"},
      {"", "073ASTERS0002", "073ASTERS0001;073ASTERS0002;"},
      {"073ASTERS0002", "073ASTERS0002", "073ASTERS0002;"},
      // A code is compared as a value: pasted into the SQL, this one would select every wetland.
      {"073ASTERS0001' or '1'='1", "", "073ASTERS0002;971PNG   0001;"},
  };
  for (const Case& c : cases) {
    TScriptedHost host;
    TExchangeResult r = Export(c.First, c.Last, host);
    ASSERT_EQ(r.Outcome, TExchangeResult::Done) << c.First << " " << r.Message;
    String file = ReadFileBytes(Target);
    EXPECT_EQ(ZhiCodes(file), c.Codes) << c.First << " - " << c.Last;
    EXPECT_TRUE(TrailerMatches(SplitLines(file), KindInventory));
  }
}

TEST_F(InventoryExchangeTest, ReversedRangeAndMissingFolderAreRefused) {
  TScriptedHost host;
  EXPECT_EQ(Export("971PNG   0001", "073ASTERS0001", host).Outcome, TExchangeResult::Refused);
  TExchangeResult r = ExportInventaire(*Session, "", "", Folder + "absent\\out.uzh", EncodeDate(2026, 12, 10), host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Refused);
  EXPECT_NE(r.Message.find("absent"), String::npos) << r.Message;
}

TEST_F(InventoryExchangeTest, QuotedPathIsWrittenUnquotedAndNamedInTheHeader) {
  TScriptedHost host;
  TExchangeResult r = ExportInventaire(*Session, "971PNG   0001", "", "\"" + Target + "\"", EncodeDate(2026, 12, 10), host);
  ASSERT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  EXPECT_EQ(SplitLines(ReadFileBytes(Target))[3], "DEB|INVZH|" + Target + "|2026/12/10||1.0||||||||2002-1|");
}

TEST_F(InventoryExchangeTest, ValuesTheFormatCannotCarryRefuseTheExport) {
  struct Case {
    const char* Sql;
    const char* Field;
    const char* Wetland;
  } cases[] = {
      {"update T_ALIAS set ALIAS_LIB = 'Lac|Nord' where ZH_CODE = '073ASTERS0002'", "ALIAS_LIB", "073ASTERS0002"},
      {"update T_ZONE_HUMIDE set ZH_COMMENTAIRE = 'Voir' || char(13, 10) || 'CMZ|73008' where ZH_CODE = '971PNG   0001'",
       "ZH_COMMENTAIRE", "971PNG   0001"},
      {"update T_ORIENT_ZH set ORZ_MODAL = 'Voir' || char(10) || 'zhi|x'", "ORZ_MODAL", "073ASTERS0001"},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();  // a fresh database for each value
    WriteFileBytes(Target, "ancien");
    Session->Execute(c.Sql);
    TScriptedHost host;
    TExchangeResult r = Export("", "", host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Refused) << c.Field;
    EXPECT_NE(r.Message.find(c.Field), String::npos) << r.Message;
    EXPECT_NE(r.Message.find(c.Wetland), String::npos) << r.Message;
    ExpectOldFileKept(r);
  }
}

TEST_F(InventoryExchangeTest, LineBreaksOfValuesBecomeCrLfAndAreCounted) {
  Session->Execute("update T_ORIENT_ZH set ORZ_MODAL = 'un' || char(10) || 'deux' || char(13) || 'trois'");
  TScriptedHost host;
  ASSERT_EQ(Export("073ASTERS0001", "073ASTERS0001", host).Outcome, TExchangeResult::Done);
  String file = ReadFileBytes(Target);
  EXPECT_NE(file.find("|un\r\ndeux\r\ntrois|\r\n"), String::npos);
  EXPECT_EQ(file.find("\n\r"), String::npos);
  EXPECT_TRUE(TrailerMatches(SplitLines(file), KindInventory));
}

TEST_F(InventoryExchangeTest, CancelKeepsTheOldFileAndSaysSo) {
  for (int after : {0, 1, 2}) {
    WriteFileBytes(Target, "ancien");
    TScriptedHost host;
    host.CancelAfter = after;
    TExchangeResult r = Export("", "", host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Cancelled) << after;
    ExpectOldFileKept(r);
  }
}

TEST_F(InventoryExchangeTest, UnreadableValueFailsWithoutTouchingTheOldFile) {
  WriteFileBytes(Target, "ancien");
  Session->Execute("update T_INVENTAIRE set INV_TYPE = 'x' where INV_CODE = 'FR8212004'");
  TScriptedHost host;
  TExchangeResult r = Export("", "", host);
  EXPECT_EQ(r.Outcome, TExchangeResult::Failed);
  EXPECT_NE(r.Message.find("073ASTERS0001"), String::npos) << r.Message;
  EXPECT_NE(r.Message.find("INV_TYPE"), String::npos) << r.Message;
  ExpectOldFileKept(r);
}

// The tables an import writes, main table first.
const char* const ImportedTables[] = {
    "T_ZONE_HUMIDE",    "T_ALIAS",          "T_HISTORIQUE",   "T_REF_BIBLIO",     "T_IGN",          "T_DEL_CARTO_ZH",
    "T_COMMUNE_ZH",     "T_SYS_AQUI_ZH",    "T_ZONE_HYDRO_ZH", "T_SDAGE_ZH",      "T_CORINE_BIO_ZH", "T_TYPO_PHY_ZH",
    "T_SORTIE_EAU_ZH",  "T_ENT_EAU_ZH",     "T_FONCT_HYDRO_ZH", "T_QUALITE_EAU_ZH", "T_INVENTAIRE",  "T_OISEAUX_ZH",
    "T_ESP_VEG_ZH",     "T_ESP_ANI_ZH",     "T_HABITAT_ZH",   "T_ACT_HUM_ZH2",    "T_ACT_HUM_ZH",   "T_FONCT_BIO_ZH",
    "T_FACT_INF_ZH1",   "T_FACT_INF_ZH2",   "T_VAL_SE_ZH",    "T_STATUT_FONC_ZH", "T_MES_PROT_ZH",  "T_MES_PROT_MA",
    "T_INST_CF_ZH",     "T_ORIENT_ZH",      "T_ESP_ANI_DIREN_ZH", "T_ESP_VEG_DIREN_ZH"};

// Every row of the wetland tables, sorted within each table, as text.
String Dump(SqliteSession& Session) {
  String all;
  for (const char* table : ImportedTables) {
    std::vector<String> rows;
    SqliteStatement s = Session.Prepare(String("select * from ") + table);
    while (s.Step()) {
      String row;
      for (int i = 0; i < s.ColumnCount(); ++i) row += (s.ColumnIsNull(i) ? String("<null>") : ColumnAsText(s, i)) + "|";
      rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    all += String(table) + ":\n";
    for (const String& r : rows) all += "  " + r + "\n";
  }
  return all;
}

class InventoryImportTest : public InventoryExchangeTest {
 protected:
  void SetUp() override {
    InventoryExchangeTest::SetUp();
    for (const char* f : {"in.uzh", "in.uzh2", "erreur.log", "sauvvelbor.mdb"}) OsPort::DeleteFile(Folder + f);
    Source = Folder + "in.uzh";
  }
  TExchangeResult Import(const String& Bytes, TScriptedHost& Host) {
    WriteFileBytes(Source, Bytes);
    return ImportInventaire(*Session, Source, Host);
  }
  // An inventory file holding Records with its header and trailer.
  static String FileOf(const std::vector<std::pair<String, std::vector<String>>>& Records) {
    TExchangeWriter w(KindInventory, "in.uzh", EncodeDate(2026, 12, 10));
    for (const auto& r : Records) w.AddRecord(r.first, r.second);
    return w.Contents();
  }
  static std::vector<String> Zhi(const String& Code, const String& Name) {
    std::vector<String> f(22);
    f[0] = Code;
    f[1] = Name;
    f[2] = "Active";
    return f;
  }
  String Query(const String& Sql) {
    SqliteStatement s = Session->Prepare(Sql);
    return s.Step() ? (s.ColumnIsNull(0) ? String("<null>") : s.ColumnText(0)) : String("<none>");
  }

  String Source;
};

TEST_F(InventoryImportTest, RoundTripIntoAnEmptyDatabaseGivesTheSameRows) {
  TScriptedHost out;
  ASSERT_EQ(Export("", "", out).Outcome, TExchangeResult::Done);
  String exported = ReadFileBytes(Target);

  // The documented lossy changes, applied to the source: null measures of the main record come
  // back as 0, times of history dates are dropped, the ZNIEFF type follows the generation, and
  // identical detail rows (but other names) come back once.
  Session->ExecuteScript(
      "update T_ZONE_HUMIDE set ZH_ALTITUDE = coalesce(ZH_ALTITUDE, 0), ZH_SUPERFICIE = coalesce(ZH_SUPERFICIE, 0),"
      " ZH_LONGUEUR = coalesce(ZH_LONGUEUR, 0);"
      "update T_HISTORIQUE set HISTO_DATE = cast(HISTO_DATE as integer);"
      "update T_INVENTAIRE set INV_TYPE_ZNIEFF = case when INV_TYPE in ('1', '2') then INV_TYPE end;"
      "delete from T_QUALITE_EAU_ZH where rowid not in"
      " (select min(rowid) from T_QUALITE_EAU_ZH group by ZH_CODE, QU_LOC_MES, QU_NAT_MESURES);"
      "delete from T_ESP_ANI_DIREN_ZH; delete from T_ESP_VEG_DIREN_ZH;");
  String expected = Dump(*Session);

  Session.reset();
  OsPort::DeleteFile(Folder + "base.db");
  Session = std::make_unique<SqliteSession>(Folder + "base.db", TSqliteOpenMode::CreateIfMissing);
  TestDatabase::CreateSchema(*Session);
  WriteFileBytes(Folder + "erreur.log", "ancien");
  TScriptedHost in;
  TExchangeResult r = Import(exported, in);
  ASSERT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  EXPECT_EQ(r.Message, "Fin de l'importation");
  EXPECT_EQ(Dump(*Session), expected);
  EXPECT_EQ(Query("select ZH_DESC_PAYS from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'"),
            "Marais tourbeux\r\nen rive du lac\r\nau pied du mont");
  EXPECT_FALSE(OsPort::FileExists(Folder + "erreur.log")) << "a clean run deletes an older log";
  EXPECT_FALSE(OsPort::FileExists(Source + "2"));
  {
    SqliteSession backup(Folder + "sauvvelbor.mdb");
    SqliteStatement s = backup.Prepare("select count(*) from T_ZONE_HUMIDE");
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.ColumnInt64(0), 0) << "the backup is the database before the import";
  }

  // Exported again, the imported rows give the same bytes.
  TScriptedHost again;
  ASSERT_EQ(Export("", "", again).Outcome, TExchangeResult::Done);
  EXPECT_EQ(ReadFileBytes(Target), exported);
}

TEST_F(InventoryImportTest, WetlandIsReplacedWholeAndDetailsMayPrecedeTheirMainRecord) {
  TScriptedHost host;
  std::vector<String> memo = Zhi("073ASTERS0001", "Nouveau nom");
  memo[21] = "ligne un\r\nligne deux";
  TExchangeResult r = Import(FileOf({{"CMZ", {"073ASTERS0001", "73065"}},
                                     {"ZHI", memo},
                                     {"IVZ", {"073ASTERS0001", "ZNIEFF", "8200", "", "", "Lac", "1", "1", ""}},
                                     {"IVZ", {"073ASTERS0001", "Autre", "8201", "", "", "Lac", "", "", ""}},
                                     {"HFZ", {"073ASTERS0001", "", "Org", "Moi", "C"}},
                                     {"AZH", {"073ASTERS0001", ""}},
                                     {"ZHI", Zhi("001NEW   0001", "Ajout")}}),
                             host);
  ASSERT_EQ(r.Outcome, TExchangeResult::Done) << r.Message;
  const std::pair<const char*, const char*> checks[] = {
      {"select ZH_NOM || '/' || ZH_STATUT from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'", "Nouveau nom/A"},
      {"select ZH_COMMENTAIRE from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'", "ligne un\r\nligne deux"},
      {"select group_concat(COM_CODE) from T_COMMUNE_ZH where ZH_CODE = '073ASTERS0001'", "73065"},
      {"select count(*) from T_ACT_HUM_ZH where ZH_CODE = '073ASTERS0001'", "0"},
      {"select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0001'", "0"},  // empty second field: skipped
      {"select count(*) from T_ESP_ANI_DIREN_ZH where ZH_CODE = '073ASTERS0001'", "1"},
      {"select INV_TYPE || '/' || INV_TYPE_ZNIEFF from T_INVENTAIRE where INV_CODE = '8200'", "1/1"},
      {"select INV_TYPE from T_INVENTAIRE where INV_CODE = '8201'", "7"},
      {"select coalesce(HISTO_DATE, 'aucune') from T_HISTORIQUE where ZH_CODE = '073ASTERS0001'", "aucune"},
      {"select count(*) from T_COMMUNE_ZH where ZH_CODE = '073ASTERS0002'", "1"},
      {"select ZH_NOM from T_ZONE_HUMIDE where ZH_CODE = '001NEW   0001'", "Ajout"},
  };
  for (const auto& c : checks) EXPECT_EQ(Query(c.first), c.second) << c.first;
}

TEST_F(InventoryImportTest, MainRecordsAloneEmptyTheDetailsOfTheirWetlandsOnly) {
  // The code compares in the text order: in small letters it names the same wetland.
  for (const char* code : {"073ASTERS0001", "073asters0001"}) {
    TearDown();
    SetUp();
    TScriptedHost host;
    TExchangeResult r = Import(FileOf({{"ZHI", Zhi(code, "Vide")}}), host);
    ASSERT_EQ(r.Outcome, TExchangeResult::Done) << code << ": " << r.Message;
    const std::pair<const char*, const char*> checks[] = {
        {"select count(*) from T_ZONE_HUMIDE where ZH_CODE = '073ASTERS0001'", "1"},
        {"select count(*) from T_COMMUNE_ZH where ZH_CODE = '073ASTERS0001'", "0"},
        {"select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0001'", "0"},
        {"select count(*) from T_HISTORIQUE where ZH_CODE = '073ASTERS0001'", "0"},
        {"select count(*) from T_INVENTAIRE where ZH_CODE = '073ASTERS0001'", "0"},
        {"select count(*) from T_VAL_SE_ZH where ZH_CODE = '073ASTERS0001'", "0"},
        {"select count(*) from T_ESP_ANI_DIREN_ZH where ZH_CODE = '073ASTERS0001'", "1"},  // not exchanged
        {"select count(*) from T_COMMUNE_ZH where ZH_CODE = '073ASTERS0002'", "1"},        // another wetland
        {"select count(*) from T_ALIAS where ZH_CODE = '073ASTERS0002'", "2"},
    };
    for (const auto& c : checks) EXPECT_EQ(Query(c.first), c.second) << code << ": " << c.first;
  }
}

TEST_F(InventoryImportTest, AnyErrorRestoresTheDatabaseAndIsLogged) {
  struct Case {
    const char* What;
    std::vector<std::pair<String, std::vector<String>>> Records;
    const char* Sql;  // run before the import
  };
  std::vector<String> zhi = Zhi("073ASTERS0002", "Remplacé");
  const Case cases[] = {
      {"refused row", {{"ZHI", zhi}, {"CMZ", {"073ASTERS0002", "73065"}}, {"CMZ", {"073ASTERS0002", "73065"}}}, ""},
      {"bad date", {{"ZHI", zhi}, {"HFZ", {"073ASTERS0002", "2004/13/45", "", "", ""}}}, ""},
      {"bad number", {{"ZHI", zhi}, {"PNZ", {"073ASTERS0002", "beaucoup", "", "", "", "", "", ""}}}, ""},
      {"unknown wetland", {{"ZHI", zhi}, {"VAZ", {"999XX    0001", "", "", "", "", "", ""}}}, ""},
      {"lower-case tag", {{"ZHI", zhi}, {"cmz", {"073ASTERS0002", "73008"}}}, ""},
      // Behind a data record a small-letter main record is not one of its lines.
      {"lower-case main tag", {{"AZH", {"073ASTERS0002", "Autre nom"}}, {"zhi", zhi}}, ""},
      {"failing delete", {{"ZHI", zhi}},
       "create trigger no_delete before delete on T_ALIAS begin select raise(abort, 'suppression interdite'); end"},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    if (*c.Sql) Session->Execute(c.Sql);
    String before = Dump(*Session);
    TScriptedHost host;
    TExchangeResult r = Import(FileOf(c.Records), host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Failed) << c.What;
    EXPECT_EQ(r.Message.find("Fin de"), String::npos) << c.What << ": " << r.Message;
    EXPECT_NE(r.Message.find("erreur.log"), String::npos) << c.What << ": " << r.Message;
    EXPECT_NE(r.Message.find("tat de d\xE9part"), String::npos) << c.What << ": " << r.Message;
    EXPECT_EQ(Dump(*Session), before) << c.What;
    std::vector<String> log = SplitLines(ReadFileBytes(Folder + "erreur.log"));
    ASSERT_EQ(log.size(), 1u) << c.What << ": " << ReadFileBytes(Folder + "erreur.log");
    EXPECT_EQ(log[0].substr(0, 8), "Trame : ") << c.What;
    EXPECT_NE(log[0].find(" Erreur : "), String::npos) << c.What;
    EXPECT_TRUE(OsPort::FileExists(Source + "2")) << c.What << ": the work list is kept";
  }
}

TEST_F(InventoryImportTest, BrokenFilesAreRefusedWithoutChange) {
  String good = FileOf({{"ZHI", Zhi("001NEW   0001", "Ajout")}});
  TExchangeWriter dictionary(KindDictionary, "x", EncodeDate(2026, 12, 10));
  String before = Dump(*Session);
  const std::pair<String, const char*> cases[] = {
      {good.substr(0, good.size() - 2), "cut last line"},
      {"AZH|001NEW   0001|x|\r\n" + good, "wrong count"},
      {dictionary.Contents(), "other kind"},
      {StringReplace(good, "FIN|INVZH|6|", "FIN|INVZH|six|", rfReplaceAll), "count not a number"},
      {"", "empty file"},
  };
  for (const auto& c : cases) {
    TScriptedHost host;
    TExchangeResult r = Import(c.first, host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Refused) << c.second;
    EXPECT_EQ(Dump(*Session), before) << c.second;
  }
  EXPECT_FALSE(OsPort::FileExists(Folder + "sauvvelbor.mdb")) << "nothing is saved before the file is checked";
}

TEST_F(InventoryImportTest, CancelInEachPassLeavesTheDatabaseAsItWas) {
  String file = FileOf({{"ZHI", Zhi("073ASTERS0001", "Remplacé")}, {"CMZ", {"073ASTERS0001", "73065"}},
                        {"ZHI", Zhi("001NEW   0001", "Ajout")}});
  int lines = int(SplitLines(file).size());
  String before = Dump(*Session);
  // Steps count the lines of passes 1 and 2, then the records of the last pass.
  for (int after : {1, lines + 1, 2 * lines + 1}) {
    TScriptedHost host;
    host.CancelAfter = after;
    TExchangeResult r = Import(file, host);
    EXPECT_EQ(r.Outcome, TExchangeResult::Cancelled) << after;
    EXPECT_EQ(r.Message.find("Fin de"), String::npos) << r.Message;
    EXPECT_NE(r.Message.find("annul"), String::npos) << r.Message;
    EXPECT_EQ(Dump(*Session), before) << after;
    EXPECT_EQ(host.Steps, after) << "the run stops at the request";
  }
}

}  // namespace
