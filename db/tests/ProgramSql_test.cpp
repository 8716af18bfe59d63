// Tests that every SQL text the program runs (dictionaries, lookups, the wetland list and record,
// its detail datasets, the record window's lookups, the new-record dialog, the search dialogs and
// the inventory import) runs as written against an SQLite file and returns the expected rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "FormatSettings.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "StrUtils.h"

namespace {

// A small schema holding only the tables and columns the statements use. Every text column is
// declared with the program's collation, as the real schema does; TXT stands for that.
const char* const kSchema = R"(
CREATE TABLE D_ACT_HUM(ACT_HUM_CODE TXT PRIMARY KEY, ACT_HUM_LIB TXT);
INSERT INTO D_ACT_HUM VALUES ('10','Dix'), ('9','Neuf'), (' 2','Deux');
CREATE TABLE D_REGION(REG_CODE TXT PRIMARY KEY, REG_LIB TXT);
INSERT INTO D_REGION VALUES ('82','Rhône-Alpes'), ('22','Picardie'), ('9','Île-de-test');
CREATE TABLE D_DEPARTEMENT(DEP_CODE TXT PRIMARY KEY, DEP_LIB TXT, REG_CODE TXT);
INSERT INTO D_DEPARTEMENT VALUES ('01','Ain','82'), ('02','Aisne','22'), ('38','Isère','82'), ('03','Allier','83');
CREATE TABLE D_COMMUNE(COM_CODE TXT PRIMARY KEY, COM_LIB TXT, DEP_CODE TXT);
INSERT INTO D_COMMUNE VALUES ('01002','Ambérieu','01'), ('02002','fleuve','02'), ('01001','École','01'), ('38001','Dole','38');
CREATE TABLE D_CONNEXION(CONNEXION_CODE TXT PRIMARY KEY, CONNEXION_LIB TXT);
INSERT INTO D_CONNEXION VALUES ('1','Aucune connexion'), ('2','Entrée et sortie');
CREATE TABLE D_CORINE_BIO(TCB_CODE TXT PRIMARY KEY, TCB_LIB TXT, TCB_RANG FLOAT);
INSERT INTO D_CORINE_BIO VALUES ('22.1','Eaux douces',1.5);
CREATE TABLE D_DEL_CARTO(DEL_CARTO_CODE TXT PRIMARY KEY, DEL_CARTO_LIB TXT);
INSERT INTO D_DEL_CARTO VALUES ('1','Limite de crue');
CREATE TABLE D_DIAG_HYD(DIAG_HYD_CODE TXT PRIMARY KEY, DIAG_HYD_LIB TXT);
INSERT INTO D_DIAG_HYD VALUES ('1','Équilibre naturel');
CREATE TABLE D_DIAG_PAT(DIAG_PAT_CODE TXT PRIMARY KEY, DIAG_PAT_LIB TXT);
INSERT INTO D_DIAG_PAT VALUES ('1','Habitats non dégradés');
CREATE TABLE D_ENT_HYDRO(ENT_HYDRO_CODE TXT PRIMARY KEY, ENT_HYDRO_LIB TXT);
INSERT INTO D_ENT_HYDRO VALUES ('FRDG001','Nappe de la Saône'), ('FRDG002','Alluvions du Rhône');
CREATE TABLE D_ETE_SUB(ETE_SUB_CODE TXT PRIMARY KEY, ETE_SUB_LIB TXT);
INSERT INTO D_ETE_SUB VALUES ('1','Totalement submergé');
CREATE TABLE D_FACT_INF(FAI_CODE TXT PRIMARY KEY, FAI_LIB TXT);
INSERT INTO D_FACT_INF VALUES ('11.0','Habitat humain');
CREATE TABLE D_FREQ_SUB(FREQ_SUB_CODE TXT PRIMARY KEY, FREQ_SUB_LIB TXT);
INSERT INTO D_FREQ_SUB VALUES ('1','Jamais submergé');
CREATE TABLE D_HABITAT(HABITAT_CODE TXT PRIMARY KEY, HABITAT_LIB TXT);
INSERT INTO D_HABITAT VALUES ('C3','Roselières'), ('a1','Prés salés'), ('B2','Dunes');
CREATE TABLE D_INST_CF(ICF_CODE TXT PRIMARY KEY, ICF_LIB TXT);
INSERT INTO D_INST_CF VALUES ('01','Contrat de rivière');
CREATE TABLE D_INT_FONCT(IFZ_CODE TXT PRIMARY KEY, IFZ_LIB TXT, IFZ_TYPE TXT);
INSERT INTO D_INT_FONCT VALUES ('11','Habitat faune','1'), ('21','Expansion des crues','2'),
  ('10','Connexion biologique','1'), ('20','Soutien d''étiage','2');
CREATE TABLE D_MES_PROT_EN(MEN_CODE TXT PRIMARY KEY, MEN_LIB TXT, MEN_TYPE TXT);
INSERT INTO D_MES_PROT_EN VALUES ('12','Site classé','1'), ('21','Arrêté de biotope','2'), ('11','Site inscrit','1');
CREATE TABLE D_PSIC(INV_NATIONAL TXT PRIMARY KEY, INV_LIB TXT, INV_REG TXT, REG_CODE TXT);
INSERT INTO D_PSIC VALUES ('FR8201001','Marais de Lavours','R1','82');
CREATE TABLE D_RAMSAR(INV_EUROP TXT PRIMARY KEY, INV_LIB TXT, INV_REG TXT, REG_CODE TXT);
INSERT INTO D_RAMSAR VALUES ('FR7200001','Camargue','R2','93');
CREATE TABLE D_RYTHME_ES(RES_CODE TXT PRIMARY KEY, RES_LIB TXT, RES_DEF TXT);
INSERT INTO D_RYTHME_ES VALUES ('1','Permanent',NULL);
CREATE TABLE D_SDAGE(TSD_CODE TXT PRIMARY KEY, TSD_LIB TXT, TSD_DEF TXT);
INSERT INTO D_SDAGE VALUES ('13','Marais aménagés',NULL), ('5','Bordures de cours d''eau','Ripisylves');
CREATE TABLE D_STATUT_FONC(SFO_CODE TXT PRIMARY KEY, SFO_LIB TXT);
INSERT INTO D_STATUT_FONC VALUES ('1','Propriété privée');
CREATE TABLE D_SYS_ALT(SYS_ALT_CODE TXT PRIMARY KEY, SYS_ALT_LIB TXT, SYS_ALT_ORDRE TXT, SYS_ALT_TERRITOIRE TXT);
INSERT INTO D_SYS_ALT VALUES ('NG','NGF','2','Métropole'), ('IG','IGN 69','1','Corse');
CREATE TABLE D_TAXON(TAXON_CODE TXT PRIMARY KEY, TAXON_LATIN TXT, TAXON_FR TXT, TAXON_THEME TXT, TAXON_OISEAUX BOOLEAN);
INSERT INTO D_TAXON VALUES ('V1','Salix alba','Saule blanc','Flore',0),
  ('A2','Anas platyrhynchos','Canard colvert','Oiseaux',1),
  ('A1','Rana temporaria','Grenouille rousse','Amphibiens',0),
  ('V2','Alnus glutinosa','Aulne glutineux','Flore',0);
CREATE TABLE D_TYPE_ACTIONS(ACTION_LIB TXT, ACTION_CODE TXT PRIMARY KEY);
INSERT INTO D_TYPE_ACTIONS VALUES ('Création','C');
CREATE TABLE D_TYPE_ES(TYPE_ES_CODE TXT PRIMARY KEY, TYPE_ES_LIB TXT, TYPE_ES_FLGENTREE BOOLEAN, TYPE_ES_FLGSORTIE BOOLEAN);
INSERT INTO D_TYPE_ES VALUES ('10','Source',1,0), ('2','Cours d''eau',1,1), ('3','Évaporation',0,1);
CREATE TABLE D_TYPO_PHY(TPC_CODE TXT PRIMARY KEY, TPC_LIB TXT, TPC_DEF TXT);
INSERT INTO D_TYPO_PHY VALUES ('1','Grands estuaires',NULL);
CREATE TABLE D_VAL_SE(VAL_SE_CODE TXT PRIMARY KEY, VAL_SE_LIB TXT);
INSERT INTO D_VAL_SE VALUES ('11','Pêche'), ('4','Tourisme');
CREATE TABLE D_ZICO(INV_NATIONAL TXT PRIMARY KEY, INV_LIB_ZICO TXT);
INSERT INTO D_ZICO VALUES ('RA01','Dombes');
CREATE TABLE D_ZNIEFF(INV_NATIONAL TXT PRIMARY KEY, INV_REG TXT, REG_CODE TXT, INV_TYPE_ZNIEFF TXT, INV_LIB_ZNIEFF TXT,
  INV_GEN_ZNIEFF TXT);
INSERT INTO D_ZNIEFF VALUES ('820030002','R1','82','1','Étangs de la Dombes','1'),
  ('820030001','R2','82','2','Basse vallée de l''Ain','1'), ('820040001','R3','82','1','Marais de Chautagne','2');
CREATE TABLE D_ZONE_HYDRO(ZONE_HYDRO_CODE TXT PRIMARY KEY, ZONE_HYDRO_LIB TXT);
INSERT INTO D_ZONE_HYDRO VALUES ('V100','Saône'), ('V200','Ain');
CREATE TABLE D_ZPS(INV_NATIONAL TXT PRIMARY KEY, INV_LIB TXT, INV_REG TXT, REG_CODE TXT);
INSERT INTO D_ZPS VALUES ('FR8210001','Dombes','R1','82'), ('0','Autre','','');
CREATE TABLE T_CARTE_IGN(CARTE_IGN_CODE TXT PRIMARY KEY, CARTE_IGN_NOM TXT, CARTE_IGN_ECHELLE TXT, CARTE_IGN_SERIE TXT);
INSERT INTO T_CARTE_IGN VALUES ('3230O','Ambérieu','1:25000','Top 25');
CREATE TABLE T_TAXON_ANI(TAXON_CODE INTEGER PRIMARY KEY, TAXON_THEME TXT, TAXON_LATIN TXT, TAXON_FR TXT);
INSERT INTO T_TAXON_ANI VALUES (1,'Oiseaux','Ardea cinerea','Héron cendré'), (2,'Mammifères','Lutra lutra','Loutre'),
  (0,'Amphibiens','Bufo bufo','Crapaud commun');
CREATE TABLE T_TAXON_VEG(TAXON_CODE INTEGER PRIMARY KEY, TAXON_THEME TXT, TAXON_LATIN TXT, TAXON_FR TXT);
INSERT INTO T_TAXON_VEG VALUES (5,'Flore','Carex elata','Laîche raide'), (6,'Flore','Caltha palustris','Populage des marais'),
  (0,'Bryophytes','Sphagnum','Sphaigne');

CREATE TABLE T_ZONE_HUMIDE(ZH_CODE TXT PRIMARY KEY, ZH_NOM TXT, ZH_STATUT TXT, ZH_NOM_ENVELOPPE TXT);
INSERT INTO T_ZONE_HUMIDE VALUES ('01ABC0002','Étang Prêle','G',NULL), ('01ABC0001','Marais de l''Ain','A','Vallée de l''Ain'),
  ('02XYZ0001','Tourbière','A','Vallée de l''Ain'), ('01ABD0001','Lac','A','Bassin');

CREATE TABLE T_ACT_HUM_ZH2(ZH_CODE TXT, ACT_HUM_CODE TXT, ACT_HUM_ZH_ORDRE FLOAT, ACT_HUM_ZH_REM TXT);
INSERT INTO T_ACT_HUM_ZH2 VALUES ('01ABC0001','5',2,'Pâturage'), ('01ABC0001','3',1,NULL), ('02XYZ0001','7',1,NULL);
CREATE TABLE T_ACT_HUM_ZH(ZH_CODE TXT, ACT_HUM_CODE TXT, ACT_HUM_ZH_ORDRE FLOAT, ACT_HUM_ZH_REM TXT);
INSERT INTO T_ACT_HUM_ZH VALUES ('01ABC0001','9',3,NULL), ('01ABC0001','10',1,'Chasse'), ('02XYZ0001','1',1,NULL);
CREATE TABLE T_ALIAS(ZH_CODE TXT, ALIAS_LIB TXT);
INSERT INTO T_ALIAS VALUES ('01ABC0001','Marais Lavours'), ('02XYZ0001','Autre');
CREATE TABLE T_COMMUNE_ZH(ZH_CODE TXT, COM_CODE TXT);
INSERT INTO T_COMMUNE_ZH VALUES ('01ABC0001','01002'), ('01ABC0001','01001'), ('02XYZ0001','02002'), ('01ABC0002','38001');
CREATE TABLE T_CORINE_BIO_ZH(ZH_CODE TXT, TCB_CODE TXT, TCB_FLG BOOLEAN);
INSERT INTO T_CORINE_BIO_ZH VALUES ('01ABC0001','53.1',1), ('01ABC0001','22.1',0), ('02XYZ0001','22.1',1);
CREATE TABLE T_DEL_CARTO_ZH(ZH_CODE TXT, DEL_CARTO_CODE TXT);
INSERT INTO T_DEL_CARTO_ZH VALUES ('01ABC0001','2'), ('01ABC0001','1');
CREATE TABLE T_ENT_EAU_ZH(ZH_CODE TXT, TYPE_ES_CODE TXT, RES_CODE TXT);
INSERT INTO T_ENT_EAU_ZH VALUES ('01ABC0001','2','3'), ('01ABC0001','2','1'), ('01ABC0001','10',NULL), ('02XYZ0001','2','1');
CREATE TABLE T_SORTIE_EAU_ZH(ZH_CODE TXT, TYPE_ES_CODE TXT, RES_CODE TXT DEFAULT '0');
INSERT INTO T_SORTIE_EAU_ZH(ZH_CODE, TYPE_ES_CODE) VALUES ('01ABC0001','3');
INSERT INTO T_SORTIE_EAU_ZH VALUES ('01ABC0001','2','1');
CREATE TABLE T_ESP_ANI_DIREN_ZH(ZH_CODE TXT, TAXON_CODE INTEGER, TAXON_FLG_CRIT BOOLEAN);
INSERT INTO T_ESP_ANI_DIREN_ZH VALUES ('01ABC0001',1,0), ('01ABC0001',2,1), ('02XYZ0001',0,0);
CREATE TABLE T_ESP_VEG_DIREN_ZH(ZH_CODE TXT, TAXON_CODE INTEGER, TAXON_FLG_CRIT BOOLEAN);
INSERT INTO T_ESP_VEG_DIREN_ZH VALUES ('01ABC0001',5,1), ('01ABC0001',6,0), ('02XYZ0001',5,0);
CREATE TABLE T_ESP_ANI_ZH(ZH_CODE TXT, TAXON_CODE TXT);
INSERT INTO T_ESP_ANI_ZH VALUES ('01ABC0001','A2'), ('01ABC0001','A1'), ('02XYZ0001','A1');
CREATE TABLE T_ESP_VEG_ZH(ZH_CODE TXT, TAXON_CODE TXT);
INSERT INTO T_ESP_VEG_ZH VALUES ('01ABC0001','V1'), ('01ABC0001','V2');
CREATE TABLE T_OISEAUX_ZH(ZH_CODE TXT, TAXON_CODE TXT);
INSERT INTO T_OISEAUX_ZH VALUES ('01ABC0001','V1'), ('01ABC0001','A2');
CREATE TABLE T_FACT_INF_ZH1(ZH_CODE TXT, FAI_CODE TXT, FSZ_ORDRE FLOAT);
INSERT INTO T_FACT_INF_ZH1 VALUES ('01ABC0001','11.0',2), ('01ABC0001','12.0',1);
CREATE TABLE T_FACT_INF_ZH2(ZH_CODE TXT, FAI_CODE TXT, FSZ_ORDRE FLOAT);
INSERT INTO T_FACT_INF_ZH2 VALUES ('01ABC0001','30.0',1), ('02XYZ0001','11.0',1);
CREATE TABLE T_FONCT_BIO_ZH(ZH_CODE TXT, IFZ_CODE TXT, FBZ_ORDRE FLOAT, FBZ_REM TXT);
INSERT INTO T_FONCT_BIO_ZH VALUES ('01ABC0001','11',2,NULL), ('01ABC0001','10',1,'Frayère');
CREATE TABLE T_FONCT_HYDRO_ZH(ZH_CODE TXT, IFZ_CODE TXT, FHZ_RANG FLOAT);
INSERT INTO T_FONCT_HYDRO_ZH VALUES ('01ABC0001','21',2), ('01ABC0001','20',1);
CREATE TABLE T_HABITAT_ZH(ZH_CODE TXT, HABITAT_CODE TXT);
INSERT INTO T_HABITAT_ZH VALUES ('01ABC0001','C3'), ('01ABC0001','a1');
CREATE TABLE T_HISTORIQUE(ZH_CODE TXT, HISTO_DATE DATETIME, ACTION_CODE TXT, HISTO_AUTEUR TXT, HISTO_ORGANISME TXT);
INSERT INTO T_HISTORIQUE VALUES ('01ABC0001',38000,'C','Dupont','CREN'), ('01ABC0001',39000,'M','Martin','CREN'),
  ('02XYZ0001',39500,'C','Durand','ONF');
CREATE TABLE T_IGN(ZH_CODE TXT, CARTE_IGN_CODE TXT, CARTE_IGN_NOM TXT, CARTE_IGN_ECHELLE TXT, CARTE_IGN_SERIE TXT);
INSERT INTO T_IGN VALUES ('01ABC0001','3230O','Ambérieu','1:25000','Top 25'), ('01ABC0001','3130E','Bourg','1:25000','Top 25');
CREATE TABLE T_INST_CF_ZH(ZH_CODE TXT, ICF_CODE TXT, ICZ_DATE DATETIME, ICZ_DUREE TXT, ICZ_REM TXT);
INSERT INTO T_INST_CF_ZH VALUES ('01ABC0001','02',NULL,'5 ans',NULL), ('01ABC0001','01',38018,NULL,'Signé');
CREATE TABLE T_INVENTAIRE(ZH_CODE TXT, INV_TYPE_ZNIEFF TXT, INV_TYPE TXT, INV_CODE TXT, INV_LIB TXT, INV_COUV TXT);
INSERT INTO T_INVENTAIRE VALUES ('01ABC0001','1','1','820030002','Étangs','Totale'),
  ('01ABC0001',NULL,'6','FR8210001','Dombes',NULL), ('01ABC0001','2','1','820030001','Ain',NULL);
CREATE TABLE T_MES_PROT_MA(ZH_CODE TXT, MEN_CODE TXT, MMA_CODE FLOAT, MMA_REM TXT);
INSERT INTO T_MES_PROT_MA VALUES ('01ABC0001','21',2,NULL), ('01ABC0001','22',1,NULL);
CREATE TABLE T_MES_PROT_ZH(ZH_CODE TXT, MEN_CODE TXT, MEN_ORDRE FLOAT, MEZ_REM TXT);
INSERT INTO T_MES_PROT_ZH VALUES ('01ABC0001','12',1,NULL), ('01ABC0001','11',2,'Partiel');
CREATE TABLE T_ORIENT_ZH(ZH_CODE TXT, ORZ_RECOM TXT, ORZ_MODAL TXT, ORZ_RANG FLOAT);
INSERT INTO T_ORIENT_ZH VALUES ('01ABC0001','Préserver','Convention',2), ('01ABC0001','Restaurer',NULL,1);
CREATE TABLE T_QUALITE_EAU_ZH(ZH_CODE TXT, QU_LOC_MES TXT, QU_NAT_MESURES TXT);
INSERT INTO T_QUALITE_EAU_ZH VALUES ('01ABC0001','Aval','pH');
CREATE TABLE T_REF_BIBLIO(ZH_CODE TXT, REF_TITRE TXT, REF_AUTEUR TXT, REF_ANNEE DATETIME);
INSERT INTO T_REF_BIBLIO VALUES ('01ABC0001','Atlas des zones humides','Bernard',36526);
CREATE TABLE T_SDAGE_ZH(ZH_CODE TXT, TSD_CODE TXT, SDZ_TYPO BOOLEAN);
INSERT INTO T_SDAGE_ZH VALUES ('01ABC0001','5',1), ('01ABC0001','13',0), ('01ABC0001','11',1), ('01ABC0001','2',0),
  ('02XYZ0001','1',1);
CREATE TABLE T_STATUT_FONC_ZH(ZH_CODE TXT, SFO_CODE TXT, SFZ_ORDRE FLOAT, SFZ_REM TXT);
INSERT INTO T_STATUT_FONC_ZH VALUES ('01ABC0001','1',1,NULL);
CREATE TABLE T_SYS_AQUI_ZH(ZH_CODE TXT, ENT_HYDRO_CODE TXT);
INSERT INTO T_SYS_AQUI_ZH VALUES ('01ABC0001','FRDG002'), ('01ABC0001','FRDG001');
CREATE TABLE T_TYPO_PHY_ZH(ZH_CODE TXT, TPC_CODE TXT);
INSERT INTO T_TYPO_PHY_ZH VALUES ('01ABC0001','1');
CREATE TABLE T_VAL_SE_ZH(ZH_CODE TXT, VAL_SE_CODE TXT, VSZ_ORDRE FLOAT, VSZ_REM TXT);
INSERT INTO T_VAL_SE_ZH VALUES ('01ABC0001','4',2,NULL), ('01ABC0001','11',1,NULL);
CREATE TABLE T_ZONE_HYDRO_ZH(ZH_CODE TXT, ZONE_HYDRO_CODE TXT);
INSERT INTO T_ZONE_HYDRO_ZH VALUES ('01ABC0001','V200'), ('01ABC0001','V100'), ('02XYZ0001','V100');
)"_a;

// A statement, the value of its :ZH_CODE parameter (none when null) and the rows it returns, each
// row's values joined by '|'. Rows are compared in order when the statement orders them.
struct SqlCase {
  const char* Sql;
  const char* ZhCode;
  std::vector<const char*> Rows;
};

class ProgramSql : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Folder = new String(OsPort::TempFolder() + "velbor-sql-" + std::to_string(std::random_device()()));
    ASSERT_TRUE(OsPort::CreateDirectory(*Folder));
    Session = new SqliteSession(*Folder + "\\velbor.db", TSqliteOpenMode::CreateIfMissing);
    SqliteTransaction transaction(*Session);
    Session->ExecuteScript(StringReplace(kSchema, " TXT", " TEXT COLLATE VELBOR", rfReplaceAll));
    transaction.Commit();
  }

  static void TearDownTestSuite() {
    delete Session;
    Session = nullptr;
    for (const String& name : OsPort::ListFolder(*Folder, "*")) OsPort::DeleteFile(*Folder + "\\" + name);
    OsPort::RemoveDirectory(*Folder);
    delete Folder;
    Folder = nullptr;
  }

  void SetUp() override { FormatSettings = TFormatSettings::French(); }

  static std::vector<String> Run(const SqlCase& Case) {
    SqliteStatement statement = Session->Prepare(Case.Sql);
    if (Case.ZhCode) statement.Bind("ZH_CODE", String(Case.ZhCode));
    std::vector<String> rows;
    while (statement.Step()) {
      String row;
      for (int i = 0; i < statement.ColumnCount(); ++i) {
        Variant value = statement.ColumnValue(i);
        row += (i ? "|" : "") + (VarIsNull(value) ? String("<null>") : VarToStr(value));
      }
      rows.push_back(row);
    }
    return rows;
  }

  static void Check(const std::vector<SqlCase>& Cases) {
    for (const SqlCase& c : Cases) {
      SCOPED_TRACE(c.Sql);
      std::vector<String> actual;
      try {
        actual = Run(c);
      } catch (const Exception& E) {
        ADD_FAILURE() << E.Message;
        continue;
      }
      std::vector<String> expected(c.Rows.begin(), c.Rows.end());
      if (Pos("ORDER BY", UpperCase(c.Sql)) == 0) {
        std::sort(actual.begin(), actual.end());
        std::sort(expected.begin(), expected.end());
      }
      EXPECT_EQ(actual, expected);
    }
  }

  static String* Folder;
  static SqliteSession* Session;
};

String* ProgramSql::Folder = nullptr;
SqliteSession* ProgramSql::Session = nullptr;

const char* const W = "01ABC0001";

TEST_F(ProgramSql, Dictionaries) {
  Check({
      {"select * from D_ACT_HUM order by val(ACT_HUM_CODE)", nullptr, {" 2|Deux", "9|Neuf", "10|Dix"}},
      {"select * from D_COMMUNE", nullptr, {"01002|Ambérieu|01"_a, "02002|fleuve|02", "01001|École|01"_a, "38001|Dole|38"}},
      {"select * from D_CONNEXION", nullptr, {"1|Aucune connexion", "2|Entrée et sortie"_a}},
      {"select * from D_CORINE_BIO", nullptr, {"22.1|Eaux douces|1,5"}},
      {"select * from D_DEL_CARTO", nullptr, {"1|Limite de crue"}},
      {"select * from D_DEPARTEMENT", nullptr, {"01|Ain|82", "02|Aisne|22", "38|Isère|82"_a, "03|Allier|83"}},
      {"select * from D_DIAG_HYD", nullptr, {"1|Équilibre naturel"_a}},
      {"select * from D_DIAG_PAT", nullptr, {"1|Habitats non dégradés"_a}},
      {"select * from D_ENT_HYDRO", nullptr, {"FRDG001|Nappe de la Saône"_a, "FRDG002|Alluvions du Rhône"_a}},
      {"select * from D_ETE_SUB", nullptr, {"1|Totalement submergé"_a}},
      {"select * from D_FACT_INF", nullptr, {"11.0|Habitat humain"}},
      {"select * from D_FREQ_SUB", nullptr, {"1|Jamais submergé"_a}},
      {"select * from D_HABITAT ORDER BY HABITAT_CODE", nullptr, {"a1|Prés salés"_a, "B2|Dunes", "C3|Roselières"_a}},
      {"select * from D_INST_CF", nullptr, {"01|Contrat de rivière"_a}},
      {"select * from D_INT_FONCT ORDER BY IFZ_TYPE DESC, IFZ_CODE", nullptr,
       {"20|Soutien d'étiage|2"_a, "21|Expansion des crues|2", "10|Connexion biologique|1", "11|Habitat faune|1"}},
      {"select * from D_MES_PROT_EN ORDER BY MEN_TYPE, MEN_CODE", nullptr,
       {"11|Site inscrit|1", "12|Site classé|1"_a, "21|Arrêté de biotope|2"_a}},
      {"select * from D_PSIC", nullptr, {"FR8201001|Marais de Lavours|R1|82"}},
      {"select * from D_RAMSAR", nullptr, {"FR7200001|Camargue|R2|93"}},
      {"select * from D_REGION ORDER BY VAL(REG_CODE)", nullptr, {"9|Île-de-test"_a, "22|Picardie", "82|Rhône-Alpes"_a}},
      {"select * from D_RYTHME_ES", nullptr, {"1|Permanent|<null>"}},
      {"select * from D_SDAGE ORDER BY VAL(TSD_CODE)", nullptr,
       {"5|Bordures de cours d'eau|Ripisylves", "13|Marais aménagés|<null>"_a}},
      {"select * from D_STATUT_FONC", nullptr, {"1|Propriété privée"_a}},
      {"select * from D_SYS_ALT ORDER BY SYS_ALT_ORDRE", nullptr, {"IG|IGN 69|1|Corse", "NG|NGF|2|Métropole"_a}},
      {"select * from D_TAXON", nullptr,
       {"V1|Salix alba|Saule blanc|Flore|False", "A2|Anas platyrhynchos|Canard colvert|Oiseaux|True",
        "A1|Rana temporaria|Grenouille rousse|Amphibiens|False", "V2|Alnus glutinosa|Aulne glutineux|Flore|False"}},
      {"select * from D_TYPE_ACTIONS", nullptr, {"Création|C"_a}},
      {"select * from D_TYPE_ES ORDER BY VAL(TYPE_ES_CODE)", nullptr,
       {"2|Cours d'eau|True|True", "3|Évaporation|False|True"_a, "10|Source|True|False"}},
      {"select * from D_TYPO_PHY", nullptr, {"1|Grands estuaires|<null>"}},
      {"select * from D_VAL_SE ORDER BY VAL(VAL_SE_CODE)", nullptr, {"4|Tourisme", "11|Pêche"_a}},
      {"select * from D_ZICO", nullptr, {"RA01|Dombes"}},
      {"select * from D_ZNIEFF", nullptr,
       {"820030002|R1|82|1|Étangs de la Dombes|1"_a, "820030001|R2|82|2|Basse vallée de l'Ain|1"_a,
        "820040001|R3|82|1|Marais de Chautagne|2"}},
      {"select * from D_ZONE_HYDRO", nullptr, {"V100|Saône"_a, "V200|Ain"}},
      {"select * from D_ZPS", nullptr, {"FR8210001|Dombes|R1|82", "0|Autre||"}},
      {"select * from T_CARTE_IGN", nullptr, {"3230O|Ambérieu|1:25000|Top 25"_a}},
      {"select * from T_TAXON_ANI ORDER BY TAXON_THEME, TAXON_LATIN", nullptr,
       {"0|Amphibiens|Bufo bufo|Crapaud commun", "2|Mammifères|Lutra lutra|Loutre"_a,
        "1|Oiseaux|Ardea cinerea|Héron cendré"_a}},
      {"select * from T_TAXON_VEG ORDER BY TAXON_THEME, TAXON_LATIN", nullptr,
       {"0|Bryophytes|Sphagnum|Sphaigne", "6|Flore|Caltha palustris|Populage des marais",
        "5|Flore|Carex elata|Laîche raide"_a}},
  });
}

TEST_F(ProgramSql, LookupQueriesListAndRecord) {
  Check({
      {"select * from D_INT_FONCT where IFZ_TYPE = '2' ORDER BY IFZ_CODE", nullptr,
       {"20|Soutien d'étiage|2"_a, "21|Expansion des crues|2"}},
      {"select * from D_INT_FONCT where IFZ_TYPE = '1' ORDER BY IFZ_CODE", nullptr,
       {"10|Connexion biologique|1", "11|Habitat faune|1"}},
      {"select * from D_TYPE_ES where TYPE_ES_FLGENTREE = TRUE order by val(TYPE_ES_CODE)", nullptr,
       {"2|Cours d'eau|True|True", "10|Source|True|False"}},
      {"select * from D_TYPE_ES where TYPE_ES_FLGSORTIE = TRUE order by val(TYPE_ES_CODE)", nullptr,
       {"2|Cours d'eau|True|True", "3|Évaporation|False|True"_a}},
      {"select INV_NATIONAL as code,INV_LIB as lib,'0' as type from D_ZPS", nullptr, {"FR8210001|Dombes|0", "0|Autre|0"}},
      {"select INV_NATIONAL as code,INV_LIB_ZNIEFF as lib,INV_TYPE_ZNIEFF as type from D_ZNIEFF where INV_GEN_ZNIEFF = '1' "
       "ORDER BY INV_NATIONAL",
       nullptr, {"820030001|Basse vallée de l'Ain|2"_a, "820030002|Étangs de la Dombes|1"_a}},
      {"select INV_NATIONAL as code,INV_LIB_ZNIEFF as lib,INV_TYPE_ZNIEFF as type from D_ZNIEFF where INV_GEN_ZNIEFF = '2' "
       "ORDER BY INV_NATIONAL",
       nullptr, {"820040001|Marais de Chautagne|1"}},
      {"select INV_NATIONAL as code,INV_LIB_ZICO as lib,'0' as type from D_ZICO", nullptr, {"RA01|Dombes|0"}},
      {"select INV_EUROP as code,INV_LIB as lib,'0' as type from D_RAMSAR", nullptr, {"FR7200001|Camargue|0"}},
      {"select INV_NATIONAL as code,INV_LIB as lib,'0' as type from D_PSIC", nullptr, {"FR8201001|Marais de Lavours|0"}},
      {"select INV_NATIONAL as code,INV_LIB as lib,'0' as type from D_ZPS WHERE INV_NATIONAL = '0'", nullptr, {"0|Autre|0"}},
      {"select zh_code,zh_nom from T_Zone_Humide ORDER BY ZH_CODE", nullptr,
       {"01ABC0001|Marais de l'Ain", "01ABC0002|Étang Prêle"_a, "01ABD0001|Lac", "02XYZ0001|Tourbière"_a}},
      // The record, as the list's scroll builds its text.
      {"select * from T_ZONE_HUMIDE where ZH_CODE = '01ABC0001'", nullptr,
       {"01ABC0001|Marais de l'Ain|A|Vallée de l'Ain"_a}},
      {"select * from T_ZONE_HUMIDE where ZH_CODE = '01abc0001'", nullptr,
       {"01ABC0001|Marais de l'Ain|A|Vallée de l'Ain"_a}},
  });
}

TEST_F(ProgramSql, DetailsOfTheCurrentWetland) {
  Check({
      {"select * from T_ACT_HUM_ZH2 where ZH_CODE = :ZH_CODE order by ACT_HUM_ZH_ORDRE", W,
       {"01ABC0001|3|1|<null>", "01ABC0001|5|2|Pâturage"_a}},
      {"select * from T_ACT_HUM_ZH where ZH_CODE = :ZH_CODE order by ACT_HUM_ZH_ORDRE", W,
       {"01ABC0001|10|1|Chasse", "01ABC0001|9|3|<null>"}},
      {"select * from T_ALIAS where ZH_CODE = :ZH_CODE ", W, {"01ABC0001|Marais Lavours"}},
      {"select * from T_COMMUNE_ZH where ZH_CODE = :ZH_CODE ORDER BY COM_CODE", W, {"01ABC0001|01001", "01ABC0001|01002"}},
      {"select * from T_CORINE_BIO_ZH  where ZH_CODE = :ZH_CODE ORDER BY TCB_CODE", W,
       {"01ABC0001|22.1|False", "01ABC0001|53.1|True"}},
      {"select * from T_DEL_CARTO_ZH where ZH_CODE = :ZH_CODE ORDER BY DEL_CARTO_CODE", W, {"01ABC0001|1", "01ABC0001|2"}},
      {"select * from T_ENT_EAU_ZH where ZH_CODE = :ZH_CODE ORDER BY TYPE_ES_CODE, RES_CODE", W,
       {"01ABC0001|10|<null>", "01ABC0001|2|1", "01ABC0001|2|3"}},
      {"select t.* from T_ESP_ANI_DIREN_ZH t , T_TAXON_ANI d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE "
       "ORDER BY TAXON_THEME, TAXON_LATIN",
       W, {"01ABC0001|2|True", "01ABC0001|1|False"}},
      {"select t.* from T_ESP_ANI_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE "
       "ORDER BY TAXON_THEME, TAXON_LATIN",
       W, {"01ABC0001|A1", "01ABC0001|A2"}},
      {"select t.* from T_ESP_VEG_DIREN_ZH t , T_TAXON_VEG d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE "
       "ORDER BY TAXON_THEME, TAXON_LATIN",
       W, {"01ABC0001|6|False", "01ABC0001|5|True"}},
      {"select t.* from T_ESP_VEG_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE "
       "ORDER BY TAXON_THEME, TAXON_LATIN",
       W, {"01ABC0001|V2", "01ABC0001|V1"}},
      {"select * from T_FACT_INF_ZH2 where ZH_CODE = :ZH_CODE order by FSZ_ORDRE", W, {"01ABC0001|30.0|1"}},
      {"select * from T_FACT_INF_ZH1 where ZH_CODE = :ZH_CODE order by FSZ_ORDRE", W,
       {"01ABC0001|12.0|1", "01ABC0001|11.0|2"}},
      {"select * from T_FONCT_BIO_ZH where ZH_CODE = :ZH_CODE order by FBZ_ORDRE", W,
       {"01ABC0001|10|1|Frayère"_a, "01ABC0001|11|2|<null>"}},
      {"select * from T_FONCT_HYDRO_ZH where ZH_CODE = :ZH_CODE ORDER BY FHZ_RANG", W, {"01ABC0001|20|1", "01ABC0001|21|2"}},
      {"select * from T_HABITAT_ZH where ZH_CODE = :ZH_CODE ORDER BY HABITAT_CODE", W, {"01ABC0001|a1", "01ABC0001|C3"}},
      {"select * from T_HISTORIQUE where ZH_CODE = :ZH_CODE order by HISTO_DATE desc", W,
       {"01ABC0001|10/10/2006|M|Martin|CREN", "01ABC0001|14/01/2004|C|Dupont|CREN"}},
      {"select * from T_IGN where ZH_CODE = :ZH_CODE ORDER BY CARTE_IGN_CODE", W,
       {"01ABC0001|3130E|Bourg|1:25000|Top 25", "01ABC0001|3230O|Ambérieu|1:25000|Top 25"_a}},
      {"select * from T_INST_CF_ZH where ZH_CODE = :ZH_CODE ORDER BY ICF_CODE", W,
       {"01ABC0001|01|01/02/2004|<null>|Signé"_a, "01ABC0001|02|<null>|5 ans|<null>"}},
      {"select * from T_INVENTAIRE where ZH_CODE = :ZH_CODE order by INV_TYPE, INV_CODE", W,
       {"01ABC0001|2|1|820030001|Ain|<null>", "01ABC0001|1|1|820030002|Étangs|Totale"_a,
        "01ABC0001|<null>|6|FR8210001|Dombes|<null>"}},
      {"select *  from T_MES_PROT_MA where ZH_CODE = :ZH_CODE ORDER BY MMA_CODE", W,
       {"01ABC0001|22|1|<null>", "01ABC0001|21|2|<null>"}},
      {"select * from T_MES_PROT_ZH where ZH_CODE = :ZH_CODE ORDER BY MEN_ORDRE", W,
       {"01ABC0001|12|1|<null>", "01ABC0001|11|2|Partiel"}},
      {"select t.* from T_OISEAUX_ZH t ,D_TAXON d where ZH_CODE = :ZH_CODE and t.TAXON_CODE= d.TAXON_CODE "
       "ORDER BY TAXON_LATIN",
       W, {"01ABC0001|A2", "01ABC0001|V1"}},
      {"select * from T_ORIENT_ZH where ZH_CODE = :ZH_CODE order by ORZ_RANG", W,
       {"01ABC0001|Restaurer|<null>|1", "01ABC0001|Préserver|Convention|2"_a}},
      {"select * from T_QUALITE_EAU_ZH where ZH_CODE = :ZH_CODE", W, {"01ABC0001|Aval|pH"}},
      {"select * from T_REF_BIBLIO where ZH_CODE = :ZH_CODE", W, {"01ABC0001|Atlas des zones humides|Bernard|01/01/2000"}},
      {"select * from T_SDAGE_ZH where ZH_CODE = :ZH_CODE and SDZ_TYPO = TRUE ORDER BY TSD_CODE", W,
       {"01ABC0001|11|True", "01ABC0001|5|True"}},
      {"select * from T_SDAGE_ZH where ZH_CODE = :ZH_CODE and SDZ_TYPO = FALSE ORDER BY TSD_CODE", W,
       {"01ABC0001|13|False", "01ABC0001|2|False"}},
      {"select * from T_SORTIE_EAU_ZH where ZH_CODE = :ZH_CODE ORDER BY TYPE_ES_CODE, RES_CODE", W,
       {"01ABC0001|2|1", "01ABC0001|3|0"}},
      {"select * from T_STATUT_FONC_ZH where ZH_CODE = :ZH_CODE ORDER BY SFZ_ORDRE", W, {"01ABC0001|1|1|<null>"}},
      {"select * from T_SYS_AQUI_ZH where ZH_CODE = :ZH_CODE ORDER BY ENT_HYDRO_CODE", W,
       {"01ABC0001|FRDG001", "01ABC0001|FRDG002"}},
      {"select * from T_TYPO_PHY_ZH where ZH_CODE = :ZH_CODE ORDER BY TPC_CODE", W, {"01ABC0001|1"}},
      {"select * from T_VAL_SE_ZH where ZH_CODE = :ZH_CODE order by VSZ_ORDRE", W,
       {"01ABC0001|11|1|<null>", "01ABC0001|4|2|<null>"}},
      {"select * from T_ZONE_HYDRO_ZH where ZH_CODE = :ZH_CODE ORDER BY ZONE_HYDRO_CODE", W,
       {"01ABC0001|V100", "01ABC0001|V200"}},
      // A wetland without rows shows every detail empty; a code in another case is the same wetland.
      {"select * from T_ZONE_HYDRO_ZH where ZH_CODE = :ZH_CODE ORDER BY ZONE_HYDRO_CODE", "01ABD0001", {}},
      {"select * from T_ALIAS where ZH_CODE = :ZH_CODE ", "01abc0001", {"01ABC0001|Marais Lavours"}},
  });
}

TEST_F(ProgramSql, RecordWindowLookups) {
  Check({
      {"select * from D_REGION order by REG_LIB", nullptr, {"9|Île-de-test"_a, "22|Picardie", "82|Rhône-Alpes"_a}},
      {"select * from D_DEPARTEMENT D  order by D.DEP_LIB", nullptr,
       {"01|Ain|82", "02|Aisne|22", "03|Allier|83", "38|Isère|82"_a}},
      {"select * from D_COMMUNE C order by C.COM_LIB", nullptr,
       {"01002|Ambérieu|01"_a, "38001|Dole|38", "01001|École|01"_a, "02002|fleuve|02"}},
      {"select * from D_TAXON where TAXON_CODE like 'V%' order by TAXON_THEME,TAXON_LATIN,TAXON_FR", nullptr,
       {"V2|Alnus glutinosa|Aulne glutineux|Flore|False", "V1|Salix alba|Saule blanc|Flore|False"}},
      {"select * from D_TAXON where TAXON_CODE like 'A%' order by TAXON_THEME,TAXON_LATIN,TAXON_FR", nullptr,
       {"A1|Rana temporaria|Grenouille rousse|Amphibiens|False", "A2|Anas platyrhynchos|Canard colvert|Oiseaux|True"}},
      {"select * from D_TAXON where TAXON_OISEAUX = TRUE order by TAXON_THEME,TAXON_LATIN,TAXON_FR", nullptr,
       {"A2|Anas platyrhynchos|Canard colvert|Oiseaux|True"}},
      {"select * from D_MES_PROT_EN WHERE  MEN_TYPE = '1' ORDER BY MEN_CODE", nullptr,
       {"11|Site inscrit|1", "12|Site classé|1"_a}},
      {"select * from D_MES_PROT_EN WHERE  MEN_TYPE = '2' ORDER BY MEN_CODE", nullptr, {"21|Arrêté de biotope|2"_a}},
      // A bare integer column as the condition keeps the non-zero codes.
      {"select * from T_TAXON_VEG where TAXON_CODE order by TAXON_THEME,TAXON_LATIN,TAXON_FR", nullptr,
       {"6|Flore|Caltha palustris|Populage des marais", "5|Flore|Carex elata|Laîche raide"_a}},
      {"select * from T_TAXON_ANI where TAXON_CODE order by TAXON_THEME,TAXON_LATIN,TAXON_FR", nullptr,
       {"2|Mammifères|Lutra lutra|Loutre"_a, "1|Oiseaux|Ardea cinerea|Héron cendré"_a}},
      {"select distinct ZH_NOM_ENVELOPPE from t_zone_humide order by  ZH_NOM_ENVELOPPE", nullptr,
       {"<null>", "Bassin", "Vallée de l'Ain"_a}},
      {"select * from D_ZONE_HYDRO ORDER BY ZONE_HYDRO_LIB", nullptr, {"V200|Ain", "V100|Saône"_a}},
      {"select * from D_ENT_HYDRO ORDER BY ENT_HYDRO_LIB", nullptr,
       {"FRDG002|Alluvions du Rhône"_a, "FRDG001|Nappe de la Saône"_a}},
  });
}

TEST_F(ProgramSql, NewRecordDialog) {
  Check({
      {"select distinct mid(ZH_CODE,4,6) as ZH_CODE from t_zone_humide", nullptr, {"BC0002", "BC0001", "YZ0001", "BD0001"}},
      {"select MAX(ZH_CODE) from T_ZONE_HUMIDE where zh_code LIKE '01ABC%'", nullptr, {"01ABC0002"}},
      {"select MAX(ZH_CODE) from T_ZONE_HUMIDE where zh_code LIKE '03QQQ%'", nullptr, {"<null>"}},
      {"select zh_code,zh_nom from T_Zone_Humide order by zh_code", nullptr,
       {"01ABC0001|Marais de l'Ain", "01ABC0002|Étang Prêle"_a, "01ABD0001|Lac", "02XYZ0001|Tourbière"_a}},
  });
}

TEST_F(ProgramSql, SearchDialogs) {
  Check({
      {"select * from D_REGION order by REG_LIB", nullptr, {"9|Île-de-test"_a, "22|Picardie", "82|Rhône-Alpes"_a}},
      {"select * from D_DEPARTEMENT D order by D.DEP_LIB", nullptr,
       {"01|Ain|82", "02|Aisne|22", "03|Allier|83", "38|Isère|82"_a}},
      {"select * from D_COMMUNE C order by C.COM_LIB", nullptr,
       {"01002|Ambérieu|01"_a, "38001|Dole|38", "01001|École|01"_a, "02002|fleuve|02"}},
      {"select ZH_CODE,ZH_NOM from T_ZONE_HUMIDE order by ZH_CODE", nullptr,
       {"01ABC0001|Marais de l'Ain", "01ABC0002|Étang Prêle"_a, "01ABD0001|Lac", "02XYZ0001|Tourbière"_a}},
      {"select distinct ZH_NOM_ENVELOPPE from T_ZONE_HUMIDE order by ZH_NOM_ENVELOPPE", nullptr,
       {"<null>", "Bassin", "Vallée de l'Ain"_a}},
      {"select * from D_DEPARTEMENT D where reg_code = '82' order by D.DEP_LIB", nullptr, {"01|Ain|82", "38|Isère|82"_a}},
      {"select * from D_COMMUNE C where dep_code = '01' order by C.COM_LIB", nullptr,
       {"01002|Ambérieu|01"_a, "01001|École|01"_a}},
      {"select * from T_ZONE_HUMIDE ORDER BY ZH_CODE", nullptr,
       {"01ABC0001|Marais de l'Ain|A|Vallée de l'Ain"_a, "01ABC0002|Étang Prêle|G|<null>"_a, "01ABD0001|Lac|A|Bassin",
        "02XYZ0001|Tourbière|A|Vallée de l'Ain"_a}},
      // Statements as the search builds them, one per criterion, then several together; the
      // consultation list runs them with "ZH_CODE,ZH_NOM " in place of the "*".
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM  T_ZONE_HYDRO_ZH WHERE "
       "ZONE_HYDRO_CODE = 'V100')  order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain", "02XYZ0001|Tourbière"_a}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM  T_SYS_AQUI_ZH WHERE "
       "ENT_HYDRO_CODE = 'FRDG001')  order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain"}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_NOM_ENVELOPPE = 'BASSIN'  order by zh_code", nullptr,
       {"01ABD0001|Lac"}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM  T_SDAGE_ZH WHERE TSD_CODE = '1' )  "
       "order by zh_code",
       nullptr, {"02XYZ0001|Tourbière"_a}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM  T_CORINE_BIO_ZH WHERE "
       "TCB_CODE = '22.1')  order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain", "02XYZ0001|Tourbière"_a}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE = '01abc0002'  order by zh_code", nullptr,
       {"01ABC0002|Étang Prêle"_a}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE "
       "COM_CODE = '01001')  order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain"}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE IN "
       "(SELECT COM_CODE FROM D_COMMUNE WHERE DEP_CODE = '38'))  order by zh_code",
       nullptr, {"01ABC0002|Étang Prêle"_a}},
      {"select ZH_CODE,ZH_NOM  from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE IN "
       "(SELECT COM_CODE FROM D_COMMUNE WHERE DEP_CODE IN (SELECT DEP_CODE FROM D_DEPARTEMENT WHERE REG_CODE = '82')))  "
       "order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain", "01ABC0002|Étang Prêle"_a}},
      {"select * from T_zone_humide where  ZH_CODE IN (SELECT ZH_CODE FROM  T_ZONE_HYDRO_ZH WHERE ZONE_HYDRO_CODE = "
       "'V100') AND ZH_CODE IN (SELECT ZH_CODE FROM  T_CORINE_BIO_ZH WHERE TCB_CODE = '22.1') AND ZH_CODE IN (SELECT "
       "ZH_CODE FROM T_COMMUNE_ZH WHERE COM_CODE IN (SELECT COM_CODE FROM D_COMMUNE WHERE DEP_CODE IN (SELECT DEP_CODE "
       "FROM D_DEPARTEMENT WHERE REG_CODE = '82')))  order by zh_code",
       nullptr, {"01ABC0001|Marais de l'Ain|A|Vallée de l'Ain"_a}},
  });
}

TEST_F(ProgramSql, ImportReadsEmptyStructuresAndRecords) {
  for (const char* table : {"T_ZONE_HUMIDE", "T_HISTORIQUE", "T_REF_BIBLIO", "T_INST_CF_ZH", "T_INVENTAIRE", "T_IGN"}) {
    String sql = String("select * from ") + table + " where ZH_CODE = ''";
    SCOPED_TRACE(sql);
    SqliteStatement statement = Session->Prepare(sql);
    EXPECT_GT(statement.ColumnCount(), 1);
    EXPECT_EQ(statement.ColumnName(0), "ZH_CODE");
    EXPECT_EQ(statement.ColumnTableName(0), table);
    EXPECT_FALSE(statement.Step());
  }
  Check({{"select * from T_ZONE_HUMIDE where ZH_CODE = '02XYZ0001'", nullptr,
          {"02XYZ0001|Tourbière|A|Vallée de l'Ain"_a}}});
}

TEST_F(ProgramSql, ImportDeletesEveryRowOfOneWetland) {
  const char* const tables[] = {
      "T_ALIAS", "T_COMMUNE_ZH", "T_CORINE_BIO_ZH", "T_DEL_CARTO_ZH", "T_ENT_EAU_ZH", "T_ESP_ANI_ZH", "T_ESP_VEG_ZH",
      "T_FACT_INF_ZH1", "T_FACT_INF_ZH2", "T_FONCT_BIO_ZH", "T_FONCT_HYDRO_ZH", "T_HABITAT_ZH", "T_HISTORIQUE", "T_IGN",
      "T_INST_CF_ZH", "T_INVENTAIRE", "T_MES_PROT_MA", "T_MES_PROT_ZH", "T_OISEAUX_ZH", "T_ORIENT_ZH",
      "T_QUALITE_EAU_ZH", "T_REF_BIBLIO", "T_SDAGE_ZH", "T_SORTIE_EAU_ZH", "T_STATUT_FONC_ZH", "T_SYS_AQUI_ZH",
      "T_TYPO_PHY_ZH", "T_VAL_SE_ZH", "T_ZONE_HYDRO_ZH", "T_ZONE_HUMIDE"};
  auto count = [](const String& Sql) {
    SqliteStatement statement = Session->Prepare(Sql);
    EXPECT_TRUE(statement.Step());
    return statement.ColumnInt64(0);
  };
  auto total = [&](const char* Code) {
    long long rows = 0;
    for (const char* table : tables) rows += count(String("select count(*) from ") + table + " where ZH_CODE = '" + Code + "'");
    return rows + count("select count(*) from T_ACT_HUM_ZH where ZH_CODE = '" + String(Code) + "'") +
           count("select count(*) from T_ACT_HUM_ZH2 where ZH_CODE = '" + String(Code) + "'");
  };
  const long long othersBefore = total("02XYZ0001");
  ASSERT_GT(total(W), 30);

  // The shared database stays as it was: the deletions run in a transaction that is never committed.
  SqliteTransaction transaction(*Session);
  const String C = W;
  EXPECT_EQ(Session->Execute("DELETE T_ACT_HUM_ZH.* FROM T_ACT_HUM_ZH WHERE [ZH_CODE] = '" + C + "'"), 2);
  EXPECT_EQ(Session->Execute("DELETE T_ACT_HUM_ZH2.* FROM T_ACT_HUM_ZH2 WHERE ZH_CODE = '" + C + "'"), 2);
  for (const char* table : tables) {
    SCOPED_TRACE(table);
    EXPECT_GE(Session->Execute(String("DELETE ") + table + ".* FROM " + table + " WHERE ZH_CODE = '" + C + "';"), 1);
  }
  EXPECT_EQ(total(W), 0);
  EXPECT_EQ(total("02XYZ0001"), othersBefore);
  // The regional species lists are not part of the import's deletions.
  EXPECT_EQ(count("select count(*) from T_ESP_ANI_DIREN_ZH where ZH_CODE = '01ABC0001'"), 2);
  EXPECT_EQ(count("select count(*) from T_ESP_VEG_DIREN_ZH where ZH_CODE = '01ABC0001'"), 2);
}

}  // namespace
