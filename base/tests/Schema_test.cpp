// Tests of the database schema and of the starting database: tables and columns in the order the
// exchange files rely on, with the declared types and sizes the datasets read; keys, required
// columns, sizes, booleans, numbers and the case-blind text order, checked on the test rows of
// every table; and the content the build puts in the starting database.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "SqliteSession.h"
#include "SqliteTypes.h"
#include "StrUtils.h"
#include "TestDatabase.h"

namespace {

// Every table with its columns in order. Each column is NAME:TYPE, TYPE being S<n> (8-bit text of
// n characters), W<n> (wide text), M (memo), F (float), I (integer), B (boolean) or D (date),
// followed by '!' when a value is required. Positions matter: the exchange writes and reads most
// of these tables by column number (the IZH record swaps T_IGN's last two columns, the ZNIEFF
// records take columns 1, 2, 3, 5, 4, 6, the nomenclatures take the code and the label as columns
// 1 and 2 and their extra values as columns 3 and 4).
struct TableColumns {
  const char* Table;
  const char* Columns;
};

const TableColumns kTables[] = {
    {"D_ACT_HUM", "ACT_HUM_CODE:W2! ACT_HUM_LIB:W80"},
    {"D_COMMUNE", "COM_CODE:S5! COM_LIB:S50 DEP_CODE:S3"},
    {"D_CONNEXION", "CONNEXION_CODE:S1! CONNEXION_LIB:S100"},
    {"D_CORINE_BIO", "TCB_CODE:S10! TCB_LIB:W200 TCB_RANG:F"},
    {"D_DEL_CARTO", "DEL_CARTO_CODE:S2! DEL_CARTO_LIB:S100"},
    {"D_DEPARTEMENT", "DEP_CODE:S3! DEP_LIB:S25 REG_CODE:S2"},
    {"D_DIAG_HYD", "DIAG_HYD_CODE:S1! DIAG_HYD_LIB:S100"},
    {"D_DIAG_PAT", "DIAG_PAT_CODE:S1! DIAG_PAT_LIB:S100"},
    {"D_ENT_HYDRO", "ENT_HYDRO_CODE:S17! ENT_HYDRO_LIB:W200"},
    {"D_ETE_SUB", "ETE_SUB_CODE:S1! ETE_SUB_LIB:S100"},
    {"D_FACT_INF", "FAI_CODE:S10! FAI_LIB:W200"},
    {"D_FREQ_SUB", "FREQ_SUB_CODE:S1! FREQ_SUB_LIB:S100"},
    {"D_HABITAT", "HABITAT_CODE:S10! HABITAT_LIB:W200"},
    {"D_INST_CF", "ICF_CODE:S2! ICF_LIB:S100"},
    {"D_INT_FONCT", "IFZ_CODE:S2! IFZ_LIB:S80 IFZ_TYPE:S1"},
    {"D_MES_PROT_EN", "MEN_CODE:S3! MEN_LIB:S100 MEN_TYPE:W1"},
    {"D_PSIC", "INV_NATIONAL:S9! INV_LIB:W255 INV_REG:S8 REG_CODE:S2"},
    {"D_RAMSAR", "INV_EUROP:S9! INV_LIB:W255 INV_REG:S8 REG_CODE:S2"},
    {"D_REGION", "REG_CODE:S2! REG_LIB:S30"},
    {"D_RYTHME_ES", "RES_CODE:S2! RES_LIB:S80 RES_DEF:M"},
    {"D_SDAGE", "TSD_CODE:S2! TSD_LIB:S200 TSD_DEF:M"},
    {"D_STATUT_FONC", "SFO_CODE:S2! SFO_LIB:S80"},
    {"D_SYS_ALT", "SYS_ALT_CODE:S2! SYS_ALT_LIB:S100 SYS_ALT_ORDRE:W2 SYS_ALT_TERRITOIRE:W100"},
    {"D_TAXON",
     "TAXON_CODE:S10! TAXON_LATIN:S100 TAXON_FR:S100 TAXON_CLAS_ORDRE:S50 TAXON_FAMILLE:S100 TAXON_THEME:S50 "
     "TAXON_OISEAUX:B TAXON_ANNEXE_2:B TAXON_ANNEXE_4:B TAXON_PRIORITAIRE:B"},
    {"D_TYPE_ACTIONS", "ACTION_CODE:S1! ACTION_LIB:S20"},
    {"D_TYPE_ES", "TYPE_ES_CODE:S2! TYPE_ES_LIB:W80 TYPE_ES_FLGENTREE:B TYPE_ES_FLGSORTIE:B"},
    {"D_TYPO_PHY", "TPC_CODE:S5! TPC_LIB:S80 TPC_DEF:M"},
    {"D_VAL_SE", "VAL_SE_CODE:S2! VAL_SE_LIB:S200"},
    {"D_ZICO", "INV_NATIONAL:S3! INV_LIB_ZICO:W255"},
    {"D_ZNIEFF", "INV_NATIONAL:S9! INV_REG:S8 REG_CODE:S2 INV_TYPE_ZNIEFF:S1 INV_LIB_ZNIEFF:W255 INV_GEN_ZNIEFF:W1"},
    {"D_ZONE_HYDRO", "ZONE_HYDRO_CODE:S4! ZONE_HYDRO_LIB:W200"},
    {"D_ZPS", "INV_NATIONAL:S9! INV_LIB:W255 INV_REG:S8 REG_CODE:S2"},
    {"T_CARTE_IGN", "CARTE_IGN_CODE:S5! CARTE_IGN_NOM:S100 CARTE_IGN_ECHELLE:S20 CARTE_IGN_SERIE:W25"},
    {"T_TAXON_ANI",
     "TAXON_CODE:I! TAXON_THEME:W50 TAXON_ORDRE:W100 TAXON_CLASSE:W100 TAXON_FAMILLE:W100 TAXON_LATIN:W100 "
     "TAXON_AUTEUR:W100 TAXON_FR:W100 TAXON_PROT_NAT:W50 TAXON_PROT_REG:W255 TAXON_ANNEXE_1:W30 TAXON_ANNEXE_2:W10 "
     "TAXON_FLG:B TAXON_LR:W10"},
    {"T_TAXON_VEG",
     "TAXON_CODE:I! TAXON_THEME:W50 TAXON_ORDRE:W100 TAXON_CLASSE:W100 TAXON_FAMILLE:W100 TAXON_LATIN:W100 "
     "TAXON_AUTEUR:W100 TAXON_FR:W100 TAXON_PROT_NAT:W50 TAXON_PROT_REG:W255 TAXON_ANNEXE_2:W30 TAXON_FLG:B "
     "TAXON_LR:W10"},
    {"T_ZONE_HUMIDE",
     "ZH_CODE:S13! ZH_NOM:S100 ZH_SYS_ALT:S2 ZH_CONNEXION:S1 ZH_STATUT:S10 ZH_TYPE:S1 ZH_FILIATION:S1 "
     "ZH_NOM_ENVELOPPE:S100 ZH_CARTE:M ZH_MENACE:M ZH_DESC_PAYS:M ZH_DESC_PAYS_AUTOUR:M ZH_ALTITUDE:F "
     "ZH_SUPERFICIE:F ZH_PRECISION:S2 ZH_LONGUEUR:F ZH_FLGCANAUX:B ZH_FLGOUVRAGE:B ZH_COMMENTAIRE:M ZH_NBR_VEG:F "
     "ZH_INF_VEG:M ZH_NBR_2_4:F ZH_NBR_OISEAU:F ZH_INF_ANIM:M ZH_NBR_HAB:F ZH_INF_HAB:M ZH_DIAG_HYDRO:S1 "
     "ZH_DIAG_PAT:S1 ZH_FONCT_VAL:M ZH_DIAG_HYDRO_REM:M ZH_DIAG_PAT_REM:M ZH_FREQUENCE:S1 ZH_ETENDUE:S1 "
     "ZH_FLGMESURE:B"},
    {"T_ACT_HUM_ZH", "ZH_CODE:S13! ACT_HUM_CODE:S2! ACT_HUM_ZH_ORDRE:F ACT_HUM_ZH_REM:M"},
    {"T_ACT_HUM_ZH2", "ZH_CODE:S13! ACT_HUM_CODE:S2! ACT_HUM_ZH_ORDRE:F ACT_HUM_ZH_REM:M"},
    {"T_ALIAS", "ZH_CODE:W13! ALIAS_LIB:W100"},
    {"T_COMMUNE_ZH", "ZH_CODE:S13! COM_CODE:S5!"},
    {"T_CORINE_BIO_ZH", "ZH_CODE:S13! TCB_CODE:S10! TCB_FLG:B"},
    {"T_DEL_CARTO_ZH", "ZH_CODE:S13! DEL_CARTO_CODE:S10!"},
    {"T_ENT_EAU_ZH", "ZH_CODE:S13! RES_CODE:S2 TYPE_ES_CODE:S2!"},
    {"T_ESP_ANI_DIREN_ZH", "TAXON_CODE:I! ZH_CODE:W13! TAXON_FLG_CRIT:B"},
    {"T_ESP_ANI_ZH", "ZH_CODE:S13! TAXON_CODE:S10!"},
    {"T_ESP_VEG_DIREN_ZH", "TAXON_CODE:I! ZH_CODE:W13! TAXON_FLG_CRIT:B"},
    {"T_ESP_VEG_ZH", "ZH_CODE:S13! TAXON_CODE:S10!"},
    {"T_FACT_INF_ZH1", "ZH_CODE:S13! FAI_CODE:S10! FSZ_ORDRE:F"},
    {"T_FACT_INF_ZH2", "ZH_CODE:S13! FAI_CODE:S10! FSZ_ORDRE:F"},
    {"T_FONCT_BIO_ZH", "ZH_CODE:S13! IFZ_CODE:S2! FBZ_ORDRE:F FBZ_REM:M"},
    {"T_FONCT_HYDRO_ZH", "ZH_CODE:S13! IFZ_CODE:S2! FHZ_RANG:F"},
    {"T_HABITAT_ZH", "ZH_CODE:S13! HABITAT_CODE:S10!"},
    {"T_HISTORIQUE", "ZH_CODE:S13! HISTO_DATE:D ACTION_CODE:S1 HISTO_AUTEUR:S80 HISTO_ORGANISME:S100"},
    {"T_IGN", "ZH_CODE:S13! CARTE_IGN_CODE:S5! CARTE_IGN_NOM:S100 CARTE_IGN_ECHELLE:S20 CARTE_IGN_SERIE:W25"},
    {"T_INST_CF_ZH", "ZH_CODE:S13! ICF_CODE:S2! ICZ_DATE:D ICZ_DUREE:S50 ICZ_REM:M"},
    {"T_INVENTAIRE", "ZH_CODE:S13! INV_TYPE_ZNIEFF:W1 INV_TYPE:S2 INV_CODE:S10! INV_LIB:S200 INV_COUV:S100"},
    {"T_MES_PROT_MA", "ZH_CODE:S13! MEN_CODE:S3! MMA_CODE:F MMA_REM:M"},
    {"T_MES_PROT_ZH", "ZH_CODE:S13! MEN_CODE:S3! MEN_ORDRE:F MEZ_REM:M"},
    {"T_OISEAUX_ZH", "ZH_CODE:S13! TAXON_CODE:S10!"},
    {"T_ORIENT_ZH", "ZH_CODE:W13! ORZ_RANG:F ORZ_RECOM:M ORZ_MODAL:M"},
    {"T_QUALITE_EAU_ZH", "ZH_CODE:W13! QU_LOC_MES:W100 QU_NAT_MESURES:W100"},
    {"T_REF_BIBLIO", "ZH_CODE:S13! REF_TITRE:S100 REF_AUTEUR:S80 REF_ANNEE:D"},
    {"T_SDAGE_ZH", "ZH_CODE:S13! TSD_CODE:S2! SDZ_TYPO:B"},
    {"T_SORTIE_EAU_ZH", "ZH_CODE:S13! RES_CODE:S2 TYPE_ES_CODE:S2!"},
    {"T_STATUT_FONC_ZH", "ZH_CODE:S13! SFO_CODE:S2! SFZ_ORDRE:F SFZ_REM:M"},
    {"T_SYS_AQUI_ZH", "ZH_CODE:S13! ENT_HYDRO_CODE:S17!"},
    {"T_TYPO_PHY_ZH", "ZH_CODE:S13! TPC_CODE:S5!"},
    {"T_VAL_SE_ZH", "ZH_CODE:S13! VAL_SE_CODE:S2! VSZ_ORDRE:F VSZ_REM:M"},
    {"T_ZONE_HYDRO_ZH", "ZH_CODE:S13! ZONE_HYDRO_CODE:S4!"},
    {"T_TABLE", "TABLE_CHAMP:S50! TABLE_NOM:S50! TABLE_LIB:S50 TABLE_EXPORT:B"},
};

// The detail tables and what makes one of their rows unique for a wetland; empty when nothing
// does (those rows are kept even when identical).
const std::map<String, String> kDetailKeys = {
    {"T_ACT_HUM_ZH", "ACT_HUM_CODE"}, {"T_ACT_HUM_ZH2", "ACT_HUM_CODE"}, {"T_ALIAS", ""},
    {"T_COMMUNE_ZH", "COM_CODE"}, {"T_CORINE_BIO_ZH", "TCB_CODE"}, {"T_DEL_CARTO_ZH", "DEL_CARTO_CODE"},
    {"T_ENT_EAU_ZH", "TYPE_ES_CODE RES_CODE"}, {"T_ESP_ANI_DIREN_ZH", "TAXON_CODE"}, {"T_ESP_ANI_ZH", "TAXON_CODE"},
    {"T_ESP_VEG_DIREN_ZH", "TAXON_CODE"}, {"T_ESP_VEG_ZH", "TAXON_CODE"}, {"T_FACT_INF_ZH1", "FAI_CODE"},
    {"T_FACT_INF_ZH2", "FAI_CODE"}, {"T_FONCT_BIO_ZH", "IFZ_CODE"}, {"T_FONCT_HYDRO_ZH", "IFZ_CODE"},
    {"T_HABITAT_ZH", "HABITAT_CODE"}, {"T_HISTORIQUE", ""}, {"T_IGN", "CARTE_IGN_CODE"},
    {"T_INST_CF_ZH", "ICF_CODE"}, {"T_INVENTAIRE", "INV_TYPE INV_CODE"}, {"T_MES_PROT_MA", "MEN_CODE"},
    {"T_MES_PROT_ZH", "MEN_CODE"}, {"T_OISEAUX_ZH", "TAXON_CODE"}, {"T_ORIENT_ZH", ""},
    {"T_QUALITE_EAU_ZH", ""}, {"T_REF_BIBLIO", "REF_TITRE REF_AUTEUR REF_ANNEE"},
    {"T_SDAGE_ZH", "TSD_CODE SDZ_TYPO"}, {"T_SORTIE_EAU_ZH", "TYPE_ES_CODE RES_CODE"},
    {"T_STATUT_FONC_ZH", "SFO_CODE"}, {"T_SYS_AQUI_ZH", "ENT_HYDRO_CODE"}, {"T_TYPO_PHY_ZH", "TPC_CODE"},
    {"T_VAL_SE_ZH", "VAL_SE_CODE"}, {"T_ZONE_HYDRO_ZH", "ZONE_HYDRO_CODE"},
};

// The primary keys: dictionaries and lists by their code, wetlands by theirs, captions by table and column.
const std::map<String, String> kPrimaryKeys = {
    {"D_ACT_HUM", "ACT_HUM_CODE"}, {"D_COMMUNE", "COM_CODE"}, {"D_CONNEXION", "CONNEXION_CODE"},
    {"D_CORINE_BIO", "TCB_CODE"}, {"D_DEL_CARTO", "DEL_CARTO_CODE"}, {"D_DEPARTEMENT", "DEP_CODE"},
    {"D_DIAG_HYD", "DIAG_HYD_CODE"}, {"D_DIAG_PAT", "DIAG_PAT_CODE"}, {"D_ENT_HYDRO", "ENT_HYDRO_CODE"},
    {"D_ETE_SUB", "ETE_SUB_CODE"}, {"D_FACT_INF", "FAI_CODE"}, {"D_FREQ_SUB", "FREQ_SUB_CODE"},
    {"D_HABITAT", "HABITAT_CODE"}, {"D_INST_CF", "ICF_CODE"}, {"D_INT_FONCT", "IFZ_CODE"},
    {"D_MES_PROT_EN", "MEN_CODE"}, {"D_PSIC", "INV_NATIONAL"}, {"D_RAMSAR", "INV_EUROP"},
    {"D_REGION", "REG_CODE"}, {"D_RYTHME_ES", "RES_CODE"}, {"D_SDAGE", "TSD_CODE"},
    {"D_STATUT_FONC", "SFO_CODE"}, {"D_SYS_ALT", "SYS_ALT_CODE"}, {"D_TAXON", "TAXON_CODE"},
    {"D_TYPE_ACTIONS", "ACTION_CODE"}, {"D_TYPE_ES", "TYPE_ES_CODE"}, {"D_TYPO_PHY", "TPC_CODE"},
    {"D_VAL_SE", "VAL_SE_CODE"}, {"D_ZICO", "INV_NATIONAL"}, {"D_ZNIEFF", "INV_NATIONAL"},
    {"D_ZONE_HYDRO", "ZONE_HYDRO_CODE"}, {"D_ZPS", "INV_NATIONAL"}, {"T_CARTE_IGN", "CARTE_IGN_CODE"},
    {"T_TAXON_ANI", "TAXON_CODE"}, {"T_TAXON_VEG", "TAXON_CODE"}, {"T_ZONE_HUMIDE", "ZH_CODE"},
    {"T_TABLE", "TABLE_NOM TABLE_CHAMP"},
};

std::vector<String> Words(const String& Text) {
  std::vector<String> words;
  std::istringstream in(Text);
  for (String word; in >> word;) words.push_back(word);
  return words;
}

String Joined(const std::vector<String>& Items) {
  String text;
  for (const String& item : Items) text += (text.empty() ? "" : " ") + item;
  return text;
}

String Quoted(const String& Name) { return "\"" + Name + "\""; }

// The NAME:TYPE form of a column as the engine layer reads its declaration.
String Describe(const TSqliteColumnInfo& Column) {
  String type;
  switch (ColumnKindOf(Column.DeclaredType)) {
    case TSqliteColumnKind::Text: {
      int size = TextSizeOf(Column.DeclaredType);
      bool wide = StartsText("NVARCHAR", Column.DeclaredType);
      type = size == 0 ? String("M") : (wide ? "W" : "S") + IntToStr(size);
      break;
    }
    case TSqliteColumnKind::Float: type = "F"; break;
    case TSqliteColumnKind::Integer: type = "I"; break;
    case TSqliteColumnKind::Boolean: type = "B"; break;
    case TSqliteColumnKind::Date: type = "D"; break;
    default: type = "?" + Column.DeclaredType; break;
  }
  return Column.Name + ":" + type + (Column.NotNull ? "!" : "");
}

std::optional<ESqliteError> ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const ESqliteError& E) {
    return E;
  }
  return std::nullopt;
}

// A database file in the temporary folder, removed with its journal at the end.
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Path = OsPort::TempFolder() + "velbor-schema-" + IntToStr(int(std::random_device()() & 0x7FFFFFFF)) + ".mdb";
  }
  void TearDown() override {
    Session.reset();
    OsPort::DeleteFile(Path);
    OsPort::DeleteFile(Path + "-journal");
  }

  SqliteSession& Create() {
    Session.emplace(Path, TSqliteOpenMode::CreateIfMissing);
    return *Session;
  }

  String Text(const String& Sql) {
    SqliteStatement statement = Session->PrepareNative(Sql);
    return statement.Step() && !statement.ColumnIsNull(0) ? statement.ColumnText(0) : String("<null>");
  }
  long long Number(const String& Sql) {
    SqliteStatement statement = Session->PrepareNative(Sql);
    return statement.Step() ? statement.ColumnInt64(0) : -1;
  }
  std::vector<String> Column(const String& Sql) {
    SqliteStatement statement = Session->PrepareNative(Sql);
    std::vector<String> values;
    while (statement.Step()) values.push_back(statement.ColumnText(0));
    return values;
  }
  void Run(const String& Sql) { Session->PrepareNative(Sql).Execute(); }

  String Path;
  std::optional<SqliteSession> Session;
};

// The schema with the test rows; each check runs in a transaction that is rolled back, so every
// check starts from the same rows.
class FixtureTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    TestDatabase::CreateSchema(Create());
    TestDatabase::LoadFixture(*Session);
  }

  // The rowid of the first row of Table; every table has one in the fixture.
  long long FirstRow(const String& Table) { return Number("SELECT min(rowid) FROM " + Quoted(Table)); }

  // Runs Statement alone and undoes it; the error it raised, if any.
  std::optional<ESqliteError> Try(const String& Statement) {
    SqliteTransaction transaction(*Session);
    return ErrorOf([&] { Run(Statement); });
  }

  String SetFirst(const String& Table, const String& Column, const String& Value) {
    return "UPDATE " + Quoted(Table) + " SET " + Quoted(Column) + " = " + Value + " WHERE rowid = " +
           IntToStr(int(FirstRow(Table)));
  }
};

String Literal(const String& Text) { return "'" + StringReplace(Text, "'", "''", {rfReplaceAll}) + "'"; }

// Structure ---------------------------------------------------------------------------------------

TEST_F(DatabaseTest, EveryTableHasItsColumnsInOrderWithTheirTypesSizesAndRequiredFlags) {
  TestDatabase::CreateSchema(Create());
  std::set<String> expectedTables;
  for (const TableColumns& table : kTables) {
    expectedTables.insert(table.Table);
    std::vector<String> actual;
    for (const TSqliteColumnInfo& column : Session->TableColumns(table.Table)) actual.push_back(Describe(column));
    EXPECT_EQ(Joined(actual), Joined(Words(table.Columns))) << table.Table;
  }
  std::vector<String> tables = Column("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
  EXPECT_EQ(std::set<String>(tables.begin(), tables.end()), expectedTables);
}

TEST_F(DatabaseTest, DictionariesListsAndWetlandsAreKeyedByTheirCodeDetailsHaveNoKeyOfTheirOwn) {
  TestDatabase::CreateSchema(Create());
  for (const TableColumns& table : kTables) {
    auto key = kPrimaryKeys.find(table.Table);
    String expected = key == kPrimaryKeys.end() ? String() : key->second;
    EXPECT_EQ(Joined(Session->PrimaryKey(table.Table)), expected) << table.Table;
    if (key == kPrimaryKeys.end()) {
      EXPECT_TRUE(kDetailKeys.count(table.Table)) << table.Table << " has no key";
    }
  }
}

// Rules, checked on the first test row of every table -------------------------------------------

TEST_F(FixtureTest, FixtureHasRowsInEveryTableAndAWetlandWithoutDetails) {
  for (const TableColumns& table : kTables) {
    EXPECT_GT(Number("SELECT count(*) FROM " + Quoted(table.Table)), 0) << table.Table;
  }
  for (const auto& [detail, key] : kDetailKeys) {
    EXPECT_GT(Number("SELECT count(*) FROM " + Quoted(detail) + " WHERE ZH_CODE = '073ASTERS0001'"), 0) << detail;
    EXPECT_EQ(Number("SELECT count(*) FROM " + Quoted(detail) + " WHERE ZH_CODE = '971PNG   0001'"), 0) << detail;
  }
  // Memo line ends stay CR LF; dates are stored as numbers of days.
  EXPECT_EQ(Text("SELECT ZH_DESC_PAYS FROM T_ZONE_HUMIDE WHERE ZH_CODE = '073ASTERS0001'"),
            "Marais tourbeux\r\nen rive du lac\r\nau pied du mont");
  EXPECT_EQ(Text("SELECT typeof(HISTO_DATE) || ' ' || HISTO_DATE FROM T_HISTORIQUE WHERE ACTION_CODE = 'C' "
                 "AND ZH_CODE = '073ASTERS0001'"),
            "real 38058.4375");
}

TEST_F(FixtureTest, SizedTextTakesItsSizeInCharactersAndRefusesOneMore) {
  int checked = 0;
  for (const TableColumns& table : kTables) {
    for (const TSqliteColumnInfo& column : Session->TableColumns(table.Table)) {
      int size = TextSizeOf(column.DeclaredType);
      if (size == 0) continue;
      SCOPED_TRACE(String(table.Table) + "." + column.Name);
      // Accented letters are two bytes in the file: the limit counts characters.
      EXPECT_FALSE(Try(SetFirst(table.Table, column.Name, Literal(String(std::size_t(size), '\xE9')))));
      auto error = Try(SetFirst(table.Table, column.Name, Literal(String(std::size_t(size) + 1, 'x'))));
      ASSERT_TRUE(error);
      EXPECT_EQ(error->Kind, TSqliteErrorKind::TooLong) << error->Message;
      EXPECT_EQ(error->Column, column.Name);
      ++checked;
    }
  }
  EXPECT_GT(checked, 200);
}

TEST_F(FixtureTest, RequiredColumnsRefuseNull) {
  for (const TableColumns& table : kTables) {
    for (const TSqliteColumnInfo& column : Session->TableColumns(table.Table)) {
      if (!column.NotNull) continue;
      auto error = Try(SetFirst(table.Table, column.Name, "NULL"));
      ASSERT_TRUE(error) << table.Table << "." << column.Name;
      EXPECT_EQ(error->Kind, TSqliteErrorKind::Required) << error->Message;
      EXPECT_EQ(error->Column, column.Name);
    }
  }
}

// Equal when the texts differ by case alone, accents included; different when an accent differs.
TEST_F(FixtureTest, TextComparesWithoutRegardToCaseButNotToAccents) {
  for (const TableColumns& table : kTables) {
    for (const TSqliteColumnInfo& column : Session->TableColumns(table.Table)) {
      if (ColumnKindOf(column.DeclaredType) != TSqliteColumnKind::Text) continue;
      SCOPED_TRACE(String(table.Table) + "." + column.Name);
      int size = TextSizeOf(column.DeclaredType);
      std::size_t length = size == 0 || size > 3 ? 3 : std::size_t(size);
      String stored = String("\xE9t\xE9").substr(0, length);
      String upper = String("\xC9T\xC9").substr(0, length);
      String unaccented = String("ETE").substr(0, length);
      SqliteTransaction transaction(*Session);
      Run(SetFirst(table.Table, column.Name, Literal(stored)));
      String where = " FROM " + Quoted(table.Table) + " WHERE " + Quoted(column.Name) + " = ";
      EXPECT_EQ(Number("SELECT count(*)" + where + Literal(upper)), 1);
      EXPECT_EQ(Number("SELECT count(*)" + where + Literal(unaccented)), 0);
    }
  }
}

TEST_F(FixtureTest, NumbersDatesAndBooleansRefuseWhatTheyCannotHold) {
  for (const TableColumns& table : kTables) {
    for (const TSqliteColumnInfo& column : Session->TableColumns(table.Table)) {
      TSqliteColumnKind kind = ColumnKindOf(column.DeclaredType);
      SCOPED_TRACE(String(table.Table) + "." + column.Name);
      if (kind == TSqliteColumnKind::Float || kind == TSqliteColumnKind::Integer || kind == TSqliteColumnKind::Date) {
        // A number written as text is stored as the number; other text is refused.
        EXPECT_FALSE(Try(SetFirst(table.Table, column.Name, "'12'")));
        for (const char* text : {"'abc'", "'12,5'", "'2004/03/12'"}) {
          auto error = Try(SetFirst(table.Table, column.Name, text));
          ASSERT_TRUE(error) << text;
          EXPECT_EQ(error->Kind, TSqliteErrorKind::Check) << error->Message;
        }
      } else if (kind == TSqliteColumnKind::Boolean) {
        EXPECT_FALSE(Try(SetFirst(table.Table, column.Name, "1")));
        EXPECT_FALSE(Try(SetFirst(table.Table, column.Name, "'0'")));
        for (const char* value : {"-1", "2", "'VRAI'"}) {
          auto error = Try(SetFirst(table.Table, column.Name, value));
          ASSERT_TRUE(error) << value;
          EXPECT_EQ(error->Kind, TSqliteErrorKind::Check) << error->Message;
        }
      }
    }
  }
}

// Booleans left out of an insert are false, and the outlet's permanence starts at '0'.
TEST_F(FixtureTest, DefaultsOfBooleansAndOutletPermanence) {
  Run("INSERT INTO T_ZONE_HUMIDE (ZH_CODE) VALUES ('001NEW   0001')");
  EXPECT_EQ(Text("SELECT ZH_FLGCANAUX || ZH_FLGOUVRAGE || ZH_FLGMESURE FROM T_ZONE_HUMIDE WHERE ZH_CODE = '001NEW   0001'"),
            "000");
  Run("INSERT INTO T_SORTIE_EAU_ZH (ZH_CODE, TYPE_ES_CODE) VALUES ('001NEW   0001', '01')");
  Run("INSERT INTO T_ENT_EAU_ZH (ZH_CODE, TYPE_ES_CODE) VALUES ('001NEW   0001', '01')");
  EXPECT_EQ(Text("SELECT RES_CODE FROM T_SORTIE_EAU_ZH WHERE ZH_CODE = '001NEW   0001'"), "0");
  EXPECT_EQ(Text("SELECT RES_CODE FROM T_ENT_EAU_ZH WHERE ZH_CODE = '001NEW   0001'"), "<null>");
}

// Keys --------------------------------------------------------------------------------------------

TEST_F(FixtureTest, ADetailRowExistsOncePerWetlandWhereItHasACode) {
  for (const auto& [detail, key] : kDetailKeys) {
    SCOPED_TRACE(detail);
    String copyFirst = "INSERT INTO " + Quoted(detail) + " SELECT * FROM " + Quoted(detail) + " WHERE rowid = " +
                       IntToStr(int(FirstRow(detail)));
    auto error = Try(copyFirst);
    if (key.empty()) {
      EXPECT_FALSE(error) << error->Message;
    } else {
      ASSERT_TRUE(error);
      EXPECT_EQ(error->Kind, TSqliteErrorKind::Duplicate) << error->Message;
      EXPECT_EQ(error->Column, "ZH_CODE, " + StringReplace(key, " ", ", ", {rfReplaceAll}));
    }
    // The same row for another wetland is another item.
    String columns;
    for (const TSqliteColumnInfo& column : Session->TableColumns(detail)) {
      columns += (columns.empty() ? "" : ", ") + (column.Name == "ZH_CODE" ? String("'971PNG   0001'") : Quoted(column.Name));
    }
    EXPECT_FALSE(Try("INSERT INTO " + Quoted(detail) + " SELECT " + columns + " FROM " + Quoted(detail) +
                     " WHERE rowid = " + IntToStr(int(FirstRow(detail)))));
  }
}

// A key holds with empty parts too: after a row with a part left empty, the same row again (the
// part empty, or written as an empty text) is refused, and the same row with the part filled is
// another item.
TEST_F(FixtureTest, AKeyWithEmptyPartsStillHoldsOncePerWetland) {
  struct Case {
    const char* Table;
    const char* First;
    const char* Again;
    const char* Filled;
  } const cases[] = {
      {"T_ENT_EAU_ZH", "INSERT INTO T_ENT_EAU_ZH (ZH_CODE, TYPE_ES_CODE) VALUES ('073ASTERS0001', '03')",
       "INSERT INTO T_ENT_EAU_ZH VALUES ('073asters0001', '', '03')",
       "INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', '1', '03')"},
      {"T_SORTIE_EAU_ZH", "INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', NULL, '03')",
       "INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', '', '03')",
       "INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', '1', '03')"},
      {"T_INVENTAIRE", "INSERT INTO T_INVENTAIRE (ZH_CODE, INV_CODE) VALUES ('073ASTERS0001', 'X1')",
       "INSERT INTO T_INVENTAIRE (ZH_CODE, INV_CODE, INV_LIB) VALUES ('073ASTERS0001', 'x1', 'Autre')",
       "INSERT INTO T_INVENTAIRE (ZH_CODE, INV_TYPE, INV_CODE) VALUES ('073ASTERS0001', '7', 'X1')"},
      {"T_REF_BIBLIO", "INSERT INTO T_REF_BIBLIO (ZH_CODE, REF_TITRE) VALUES ('073ASTERS0001', 'Atlas')",
       "INSERT INTO T_REF_BIBLIO (ZH_CODE, REF_TITRE, REF_AUTEUR) VALUES ('073ASTERS0001', 'ATLAS', '')",
       "INSERT INTO T_REF_BIBLIO VALUES ('073ASTERS0001', 'Atlas', NULL, 36526)"},
      {"T_SDAGE_ZH", "INSERT INTO T_SDAGE_ZH VALUES ('073ASTERS0001', '9', NULL)",
       "INSERT INTO T_SDAGE_ZH VALUES ('073ASTERS0001', '9', NULL)",
       "INSERT INTO T_SDAGE_ZH VALUES ('073ASTERS0001', '9', 0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Table);
    SqliteTransaction transaction(*Session);
    ASSERT_FALSE(ErrorOf([&] { Run(c.First); }));
    auto error = ErrorOf([&] { Run(c.Again); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Kind, TSqliteErrorKind::Duplicate) << error->Message;
    EXPECT_EQ(error->Table, c.Table);
    EXPECT_EQ(error->Column, "ZH_CODE, " + StringReplace(kDetailKeys.at(c.Table), " ", ", ", {rfReplaceAll}));
    EXPECT_FALSE(ErrorOf([&] { Run(c.Filled); }));
  }
}

TEST_F(FixtureTest, ACodeThatDiffersByCaseAloneIsTheSameEntry) {
  for (const char* statement : {"INSERT INTO D_TYPE_ACTIONS VALUES ('c', 'Autre')",
                                "INSERT INTO D_ZPS (INV_NATIONAL) VALUES ('fr8212004')",
                                "INSERT INTO T_ZONE_HUMIDE (ZH_CODE) VALUES ('073asters0001')",
                                "INSERT INTO T_COMMUNE_ZH VALUES ('073asters0001', '73008')",
                                "INSERT INTO T_TABLE (TABLE_CHAMP, TABLE_NOM) VALUES ('zh_nom', 't_zone_humide')"}) {
    auto error = Try(statement);
    ASSERT_TRUE(error) << statement;
    EXPECT_EQ(error->Kind, TSqliteErrorKind::Duplicate) << statement << ": " << error->Message;
  }
  // Accents make another code.
  EXPECT_FALSE(Try("INSERT INTO D_TYPE_ACTIONS VALUES ('\xC9', 'Autre')"));
}

// A wetland's main row can be deleted and written again while its regional species rows stay,
// as the inventory import does: nothing ties a detail row to the main row.
TEST_F(FixtureTest, AWetlandIsReplacedWhileItsRegionalSpeciesRowsStay) {
  Run("DELETE FROM T_ZONE_HUMIDE WHERE ZH_CODE = '073ASTERS0001'");
  Run("INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM) VALUES ('073ASTERS0001', 'Remplacée')"_a);
  EXPECT_EQ(Number("SELECT count(*) FROM T_ESP_ANI_DIREN_ZH WHERE ZH_CODE = '073ASTERS0001'"), 1);
  // A commune of a department not imported yet is accepted.
  EXPECT_FALSE(Try("INSERT INTO D_COMMUNE VALUES ('2A004', 'Ajaccio', '2A')"));
}

// Starting database ---------------------------------------------------------------------------------

class StartingDatabaseTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    // A copy: the checks must not touch what the build put in place.
    ASSERT_TRUE(OsPort::CopyFile(TestDatabase::StartingDatabasePath(), Path, false))
        << TestDatabase::StartingDatabasePath() << ": " << OsPort::LastErrorMessage();
    Session.emplace(Path);
  }
  void TearDown() override {
    DatabaseTest::TearDown();
    OsPort::DeleteFile(Path + ".new");
    OsPort::DeleteFile(Path + ".new-journal");
  }
};

// The schema objects of a database, by name.
std::map<String, String> SchemaObjects(SqliteSession& Session) {
  std::map<String, String> objects;
  SqliteStatement statement = Session.PrepareNative("SELECT name, sql FROM sqlite_master WHERE sql IS NOT NULL");
  while (statement.Step()) objects[statement.ColumnText(0)] = statement.ColumnText(1);
  return objects;
}

TEST_F(StartingDatabaseTest, HasTheSchemaOfSchemaSqlAndIsSoundUnderTheProgramsCollation) {
  // The indexes were built by the build tool; the integrity check compares each to its table in
  // the program's own text order.
  EXPECT_EQ(Text("PRAGMA integrity_check"), "ok");
  std::map<String, String> built = SchemaObjects(*Session);
  std::map<String, String> expected;
  {
    SqliteSession fresh(Path + ".new", TSqliteOpenMode::CreateIfMissing);
    TestDatabase::CreateSchema(fresh);
    expected = SchemaObjects(fresh);
  }
  EXPECT_EQ(built.size(), expected.size());
  for (const auto& [name, sql] : expected) {
    auto found = built.find(name);
    ASSERT_NE(found, built.end()) << name << " is missing from the starting database";
    EXPECT_EQ(found->second, sql) << name;
  }
}

TEST_F(StartingDatabaseTest, HoldsTheRegionsDepartmentsAndCommunesOfFrance) {
  EXPECT_EQ(Number("SELECT count(*) FROM D_REGION"), 18);
  EXPECT_EQ(Number("SELECT count(*) FROM D_REGION WHERE REG_CODE >= '11'"), 13);  // the metropolitan ones
  EXPECT_EQ(Number("SELECT count(*) FROM D_DEPARTEMENT"), 101);
  EXPECT_GT(Number("SELECT count(*) FROM D_COMMUNE"), 34000);
  EXPECT_EQ(Joined(Column("SELECT DEP_CODE || '=' || REG_CODE FROM D_DEPARTEMENT "
                          "WHERE DEP_CODE IN ('2A', '2B', '971', '972', '973', '974', '976') ORDER BY DEP_CODE")),
            "2A=94 2B=94 971=01 972=02 973=03 974=04 976=06");
  // Every reference resolves, and every commune's department is the one the dictionary import
  // derives from its code.
  EXPECT_EQ(Number("SELECT count(*) FROM D_DEPARTEMENT WHERE REG_CODE NOT IN (SELECT REG_CODE FROM D_REGION)"), 0);
  EXPECT_EQ(Number("SELECT count(*) FROM D_COMMUNE WHERE DEP_CODE NOT IN (SELECT DEP_CODE FROM D_DEPARTEMENT)"), 0);
  EXPECT_EQ(Number("SELECT count(*) FROM D_COMMUNE WHERE DEP_CODE <> CASE WHEN substr(COM_CODE, 1, 2) = '97' "
                   "THEN substr(COM_CODE, 1, 3) ELSE substr(COM_CODE, 1, 2) END"),
            0);
  EXPECT_EQ(Number("SELECT count(*) FROM D_COMMUNE WHERE COM_LIB IS NULL OR DEP_CODE IS NULL"), 0);
  // Found through the key without regard to case; accents come back in 1252.
  EXPECT_EQ(Text("SELECT COM_LIB FROM D_COMMUNE WHERE COM_CODE = '2a004'"), "Ajaccio");
  EXPECT_EQ(Text("SELECT COM_LIB FROM D_COMMUNE WHERE COM_CODE = '01001'"), "L'Abergement-Cl\xE9menciat");
  EXPECT_EQ(Text("SELECT REG_LIB FROM D_REGION WHERE REG_CODE = '93'"), "Provence-Alpes-C\xF4te d'Azur");
}

TEST_F(StartingDatabaseTest, OtherDictionariesAndTheWetlandTablesAreEmpty) {
  for (const TableColumns& table : kTables) {
    String name = table.Table;
    if (name == "D_REGION" || name == "D_DEPARTEMENT" || name == "D_COMMUNE" || name == "T_TABLE") continue;
    EXPECT_EQ(Number("SELECT count(*) FROM " + Quoted(name)), 0) << name;
  }
}

// The spreadsheet export looks captions up by column name alone, so a name shared by several
// tables must have one caption; and every exported column has one.
TEST_F(StartingDatabaseTest, CaptionsCoverEveryExportedColumnOnceAndNameOnlyRealColumns) {
  std::set<String> exported = {"T_ZONE_HUMIDE"};
  for (const auto& [detail, key] : kDetailKeys) {
    if (detail.find("DIREN") == String::npos) exported.insert(detail);
  }
  ASSERT_EQ(exported.size(), 32u);
  std::set<String> expected;
  for (const String& table : exported) {
    for (const TSqliteColumnInfo& column : Session->TableColumns(table)) expected.insert(table + "." + column.Name);
  }
  std::vector<String> rows = Column("SELECT TABLE_NOM || '.' || TABLE_CHAMP FROM T_TABLE");
  EXPECT_EQ(std::set<String>(rows.begin(), rows.end()), expected);
  EXPECT_EQ(rows.size(), expected.size());
  EXPECT_EQ(Joined(Column("SELECT TABLE_CHAMP FROM T_TABLE GROUP BY TABLE_CHAMP HAVING count(DISTINCT TABLE_LIB) > 1")),
            "");
  EXPECT_EQ(Number("SELECT count(*) FROM T_TABLE WHERE TABLE_LIB IS NULL OR TABLE_LIB = '' OR TABLE_EXPORT <> 1"), 0);
  EXPECT_EQ(Text("SELECT TABLE_LIB FROM T_TABLE WHERE TABLE_CHAMP = 'ZH_ETENDUE'"), "\xC9tendue de submersion");
}

// The starting database after the stock sqlite3 tool, with the collation extension loaded, added
// the commune 2A999, deleted 2A004 and compacted the file, which rebuilt every index in the
// extension's order (tools/tests/collation-extension-test.sh names the file and runs this test
// alone): the program reads it as its own, and its keys still hold.
TEST_F(DatabaseTest, AFileWrittenByTheStockToolWithTheCollationExtensionReadsBack) {
  String written = OsPort::GetEnvironmentVariable("VELBOR_TOOL_WRITTEN_DATABASE");
  if (written.empty()) GTEST_SKIP() << "run by the collation extension's test, on the file it wrote";
  ASSERT_TRUE(OsPort::CopyFile(OsPort::WindowsPath(written), Path, false)) << OsPort::LastErrorMessage();
  Session.emplace(Path);
  // Each index compared to its table in the program's own order.
  EXPECT_EQ(Text("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Text("SELECT COM_LIB FROM D_COMMUNE WHERE COM_CODE = '2a999'"), "\xCEle-Test");
  EXPECT_EQ(Number("SELECT count(*) FROM D_COMMUNE WHERE COM_CODE = '2A004'"), 0);
  EXPECT_EQ(Text("SELECT COM_LIB FROM D_COMMUNE WHERE COM_CODE = '2a006'"), "Alata");
  auto duplicate = ErrorOf([&] { Run("INSERT INTO D_COMMUNE VALUES ('2a999', 'Autre', '2A')"); });
  ASSERT_TRUE(duplicate);
  EXPECT_EQ(duplicate->Kind, TSqliteErrorKind::Duplicate);
}

}  // namespace
