-- The database schema of the program: every table, its columns in order, their types, keys, rules.
--
-- The starting database (base/velbor.mdb beside the program) is made from this file by
-- tools/MakeDatabase, and the tests make their databases from it too.
--
-- Column order is part of the contract: the exchange files are written and read by column
-- position for most tables, and "select *" lists the columns in this order.
--
-- Declared types, as the engine layer reads them (db/SqliteTypes.h):
--   VARCHAR(n)   8-bit text of at most n characters;
--   NVARCHAR(n)  wide text of at most n characters (the spreadsheet export formats the two kinds
--                differently, so they stay apart);
--   MEMO         long text;
--   DOUBLE       floating-point number;
--   INT          32-bit whole number;
--   BOOLEAN      1 or 0, default 0 (never null unless written so);
--   DATETIME     a REAL: days since 1899-12-30, with the time as the fraction.
-- Every text column compares and sorts with the collation VELBOR that the program registers on
-- every connection: without regard to case, accents after letters. A sized text column refuses a
-- longer value through a check named "taille:<n>:<column>", which the engine layer reports as a
-- value too long for its field. Numeric and date columns refuse text that is not a number.
--
-- Keys: dictionaries and reference lists are keyed by their code, the wetland table by ZH_CODE.
-- Every code column is required, and so is ZH_CODE in every detail table. There are no foreign
-- keys: the dictionaries are brought up to date by import independently of the wetlands (a
-- commune may name a department not yet imported), and the inventory import replaces a wetland's
-- main row while its rows in the regional species tables stay.

PRAGMA user_version = 3;

-- Dictionaries ------------------------------------------------------------------------------------
-- Each is keyed by its code, whatever its case: the import finds a row by code, and a code
-- that differs only by case is the same entry.

-- Human activities.
CREATE TABLE "D_ACT_HUM" (
  "ACT_HUM_CODE" NVARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:ACT_HUM_CODE" CHECK (length("ACT_HUM_CODE") <= 2),
  "ACT_HUM_LIB"  NVARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:ACT_HUM_LIB" CHECK (length("ACT_HUM_LIB") <= 80),
  PRIMARY KEY ("ACT_HUM_CODE")
);

-- Communes (INSEE code). DEP_CODE is the part of COM_CODE the dictionary import derives
-- (two characters, three for codes beginning with 97).
-- COM_LIB holds 50 characters, not 35: current commune names run to 45 characters
-- ("Saint-Martin-de-Bienfaite-la-Cressonnière") and cutting a name loses it; 50 is also the
-- size of the label that the record window shows it in.
CREATE TABLE "D_COMMUNE" (
  "COM_CODE" VARCHAR(5)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:COM_CODE" CHECK (length("COM_CODE") <= 5),
  "COM_LIB"  VARCHAR(50) COLLATE VELBOR CONSTRAINT "taille:50:COM_LIB" CHECK (length("COM_LIB") <= 50),
  "DEP_CODE" VARCHAR(3)  COLLATE VELBOR CONSTRAINT "taille:3:DEP_CODE" CHECK (length("DEP_CODE") <= 3),
  PRIMARY KEY ("COM_CODE")
);

-- Connection types of a wetland to its water network.
CREATE TABLE "D_CONNEXION" (
  "CONNEXION_CODE" VARCHAR(1)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:CONNEXION_CODE" CHECK (length("CONNEXION_CODE") <= 1),
  "CONNEXION_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:CONNEXION_LIB" CHECK (length("CONNEXION_LIB") <= 100),
  PRIMARY KEY ("CONNEXION_CODE")
);

-- Corine Biotope habitat types; TCB_RANG is the fifth field of their exchange record.
CREATE TABLE "D_CORINE_BIO" (
  "TCB_CODE" VARCHAR(10)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TCB_CODE" CHECK (length("TCB_CODE") <= 10),
  "TCB_LIB"  NVARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:TCB_LIB" CHECK (length("TCB_LIB") <= 200),
  "TCB_RANG" DOUBLE        CHECK (typeof("TCB_RANG") IN ('integer', 'real', 'null')),
  PRIMARY KEY ("TCB_CODE")
);

-- Criteria used to draw the boundary of a wetland.
CREATE TABLE "D_DEL_CARTO" (
  "DEL_CARTO_CODE" VARCHAR(2)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:DEL_CARTO_CODE" CHECK (length("DEL_CARTO_CODE") <= 2),
  "DEL_CARTO_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:DEL_CARTO_LIB" CHECK (length("DEL_CARTO_LIB") <= 100),
  PRIMARY KEY ("DEL_CARTO_CODE")
);

-- Departments; REG_CODE names the region.
CREATE TABLE "D_DEPARTEMENT" (
  "DEP_CODE" VARCHAR(3)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:DEP_CODE" CHECK (length("DEP_CODE") <= 3),
  "DEP_LIB"  VARCHAR(25) COLLATE VELBOR CONSTRAINT "taille:25:DEP_LIB" CHECK (length("DEP_LIB") <= 25),
  "REG_CODE" VARCHAR(2)  COLLATE VELBOR CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  PRIMARY KEY ("DEP_CODE")
);

-- Hydraulic diagnosis grades.
CREATE TABLE "D_DIAG_HYD" (
  "DIAG_HYD_CODE" VARCHAR(1)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:DIAG_HYD_CODE" CHECK (length("DIAG_HYD_CODE") <= 1),
  "DIAG_HYD_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:DIAG_HYD_LIB" CHECK (length("DIAG_HYD_LIB") <= 100),
  PRIMARY KEY ("DIAG_HYD_CODE")
);

-- Heritage diagnosis grades.
CREATE TABLE "D_DIAG_PAT" (
  "DIAG_PAT_CODE" VARCHAR(1)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:DIAG_PAT_CODE" CHECK (length("DIAG_PAT_CODE") <= 1),
  "DIAG_PAT_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:DIAG_PAT_LIB" CHECK (length("DIAG_PAT_LIB") <= 100),
  PRIMARY KEY ("DIAG_PAT_CODE")
);

-- Hydrogeological units (underground catchments).
CREATE TABLE "D_ENT_HYDRO" (
  "ENT_HYDRO_CODE" VARCHAR(17)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:17:ENT_HYDRO_CODE" CHECK (length("ENT_HYDRO_CODE") <= 17),
  "ENT_HYDRO_LIB"  NVARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:ENT_HYDRO_LIB" CHECK (length("ENT_HYDRO_LIB") <= 200),
  PRIMARY KEY ("ENT_HYDRO_CODE")
);

-- Extent of submersion.
CREATE TABLE "D_ETE_SUB" (
  "ETE_SUB_CODE" VARCHAR(1)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:ETE_SUB_CODE" CHECK (length("ETE_SUB_CODE") <= 1),
  "ETE_SUB_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:ETE_SUB_LIB" CHECK (length("ETE_SUB_LIB") <= 100),
  PRIMARY KEY ("ETE_SUB_CODE")
);

-- Factors influencing a wetland.
CREATE TABLE "D_FACT_INF" (
  "FAI_CODE" VARCHAR(10)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:FAI_CODE" CHECK (length("FAI_CODE") <= 10),
  "FAI_LIB"  NVARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:FAI_LIB" CHECK (length("FAI_LIB") <= 200),
  PRIMARY KEY ("FAI_CODE")
);

-- Frequency of submersion.
CREATE TABLE "D_FREQ_SUB" (
  "FREQ_SUB_CODE" VARCHAR(1)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:FREQ_SUB_CODE" CHECK (length("FREQ_SUB_CODE") <= 1),
  "FREQ_SUB_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:FREQ_SUB_LIB" CHECK (length("FREQ_SUB_LIB") <= 100),
  PRIMARY KEY ("FREQ_SUB_CODE")
);

-- Habitats of the Habitats directive.
CREATE TABLE "D_HABITAT" (
  "HABITAT_CODE" VARCHAR(10)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:HABITAT_CODE" CHECK (length("HABITAT_CODE") <= 10),
  "HABITAT_LIB"  NVARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:HABITAT_LIB" CHECK (length("HABITAT_LIB") <= 200),
  PRIMARY KEY ("HABITAT_CODE")
);

-- Contractual and financial instruments.
CREATE TABLE "D_INST_CF" (
  "ICF_CODE" VARCHAR(2)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:ICF_CODE" CHECK (length("ICF_CODE") <= 2),
  "ICF_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:ICF_LIB" CHECK (length("ICF_LIB") <= 100),
  PRIMARY KEY ("ICF_CODE")
);

-- Fonctions hydrologiques (IFZ_TYPE '2') and biologiques (IFZ_TYPE '1'), one code space:
-- the dictionary import finds a row by IFZ_CODE alone, so the code is the key.
CREATE TABLE "D_INT_FONCT" (
  "IFZ_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:IFZ_CODE" CHECK (length("IFZ_CODE") <= 2),
  "IFZ_LIB"  VARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:IFZ_LIB" CHECK (length("IFZ_LIB") <= 80),
  "IFZ_TYPE" VARCHAR(1)  COLLATE VELBOR CONSTRAINT "taille:1:IFZ_TYPE" CHECK (length("IFZ_TYPE") <= 1),
  PRIMARY KEY ("IFZ_CODE")
);

-- Protection measures; MEN_TYPE is the fifth field of their exchange record.
CREATE TABLE "D_MES_PROT_EN" (
  "MEN_CODE" VARCHAR(3)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:MEN_CODE" CHECK (length("MEN_CODE") <= 3),
  "MEN_LIB"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:MEN_LIB" CHECK (length("MEN_LIB") <= 100),
  "MEN_TYPE" NVARCHAR(1)  COLLATE VELBOR CONSTRAINT "taille:1:MEN_TYPE" CHECK (length("MEN_TYPE") <= 1),
  PRIMARY KEY ("MEN_CODE")
);

-- Proposed sites of community importance (PSIC).
CREATE TABLE "D_PSIC" (
  "INV_NATIONAL" VARCHAR(9)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:9:INV_NATIONAL" CHECK (length("INV_NATIONAL") <= 9),
  "INV_LIB"      NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:INV_LIB" CHECK (length("INV_LIB") <= 255),
  "INV_REG"      VARCHAR(8)    COLLATE VELBOR CONSTRAINT "taille:8:INV_REG" CHECK (length("INV_REG") <= 8),
  "REG_CODE"     VARCHAR(2)    COLLATE VELBOR CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  PRIMARY KEY ("INV_NATIONAL")
);

-- Ramsar sites, keyed by their European code.
CREATE TABLE "D_RAMSAR" (
  "INV_EUROP" VARCHAR(9)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:9:INV_EUROP" CHECK (length("INV_EUROP") <= 9),
  "INV_LIB"   NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:INV_LIB" CHECK (length("INV_LIB") <= 255),
  "INV_REG"   VARCHAR(8)    COLLATE VELBOR CONSTRAINT "taille:8:INV_REG" CHECK (length("INV_REG") <= 8),
  "REG_CODE"  VARCHAR(2)    COLLATE VELBOR CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  PRIMARY KEY ("INV_EUROP")
);

-- Regions.
CREATE TABLE "D_REGION" (
  "REG_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  "REG_LIB"  VARCHAR(30) COLLATE VELBOR CONSTRAINT "taille:30:REG_LIB" CHECK (length("REG_LIB") <= 30),
  PRIMARY KEY ("REG_CODE")
);

-- Permanence of water inlets and outlets.
CREATE TABLE "D_RYTHME_ES" (
  "RES_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:RES_CODE" CHECK (length("RES_CODE") <= 2),
  "RES_LIB"  VARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:RES_LIB" CHECK (length("RES_LIB") <= 80),
  "RES_DEF"  MEMO        COLLATE VELBOR,
  PRIMARY KEY ("RES_CODE")
);

-- SDAGE wetland types.
CREATE TABLE "D_SDAGE" (
  "TSD_CODE" VARCHAR(2)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:TSD_CODE" CHECK (length("TSD_CODE") <= 2),
  "TSD_LIB"  VARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:TSD_LIB" CHECK (length("TSD_LIB") <= 200),
  "TSD_DEF"  MEMO         COLLATE VELBOR,
  PRIMARY KEY ("TSD_CODE")
);

-- Land status.
CREATE TABLE "D_STATUT_FONC" (
  "SFO_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:SFO_CODE" CHECK (length("SFO_CODE") <= 2),
  "SFO_LIB"  VARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:SFO_LIB" CHECK (length("SFO_LIB") <= 80),
  PRIMARY KEY ("SFO_CODE")
);

-- Altimetric systems; order and territory are columns 3 and 4, as the exchange writes them.
CREATE TABLE "D_SYS_ALT" (
  "SYS_ALT_CODE"       VARCHAR(2)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:SYS_ALT_CODE" CHECK (length("SYS_ALT_CODE") <= 2),
  "SYS_ALT_LIB"        VARCHAR(100)  COLLATE VELBOR CONSTRAINT "taille:100:SYS_ALT_LIB" CHECK (length("SYS_ALT_LIB") <= 100),
  "SYS_ALT_ORDRE"      NVARCHAR(2)   COLLATE VELBOR CONSTRAINT "taille:2:SYS_ALT_ORDRE" CHECK (length("SYS_ALT_ORDRE") <= 2),
  "SYS_ALT_TERRITOIRE" NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:SYS_ALT_TERRITOIRE" CHECK (length("SYS_ALT_TERRITOIRE") <= 100),
  PRIMARY KEY ("SYS_ALT_CODE")
);

-- Taxons of the species pages (exchange record TAH, fields in column order).
CREATE TABLE "D_TAXON" (
  "TAXON_CODE"        VARCHAR(10)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TAXON_CODE" CHECK (length("TAXON_CODE") <= 10),
  "TAXON_LATIN"       VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_LATIN" CHECK (length("TAXON_LATIN") <= 100),
  "TAXON_FR"          VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FR" CHECK (length("TAXON_FR") <= 100),
  "TAXON_CLAS_ORDRE"  VARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_CLAS_ORDRE" CHECK (length("TAXON_CLAS_ORDRE") <= 50),
  "TAXON_FAMILLE"     VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FAMILLE" CHECK (length("TAXON_FAMILLE") <= 100),
  "TAXON_THEME"       VARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_THEME" CHECK (length("TAXON_THEME") <= 50),
  "TAXON_OISEAUX"     BOOLEAN      DEFAULT 0 CHECK ("TAXON_OISEAUX" IN (0, 1)),
  "TAXON_ANNEXE_2"    BOOLEAN      DEFAULT 0 CHECK ("TAXON_ANNEXE_2" IN (0, 1)),
  "TAXON_ANNEXE_4"    BOOLEAN      DEFAULT 0 CHECK ("TAXON_ANNEXE_4" IN (0, 1)),
  "TAXON_PRIORITAIRE" BOOLEAN      DEFAULT 0 CHECK ("TAXON_PRIORITAIRE" IN (0, 1)),
  PRIMARY KEY ("TAXON_CODE")
);

-- History actions (creation, modification, ...). The code comes first although the
-- dictionary window lists the label first: the dictionary exchange writes code and label
-- as columns 1 and 2 of every nomenclature, and the window binds its fields by name.
CREATE TABLE "D_TYPE_ACTIONS" (
  "ACTION_CODE" VARCHAR(1)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:1:ACTION_CODE" CHECK (length("ACTION_CODE") <= 1),
  "ACTION_LIB"  VARCHAR(20) COLLATE VELBOR CONSTRAINT "taille:20:ACTION_LIB" CHECK (length("ACTION_LIB") <= 20),
  PRIMARY KEY ("ACTION_CODE")
);

-- Types of water inlet and outlet; the two flags are columns 3 and 4, as the exchange writes them.
CREATE TABLE "D_TYPE_ES" (
  "TYPE_ES_CODE"      VARCHAR(2)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:TYPE_ES_CODE" CHECK (length("TYPE_ES_CODE") <= 2),
  "TYPE_ES_LIB"       NVARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:TYPE_ES_LIB" CHECK (length("TYPE_ES_LIB") <= 80),
  "TYPE_ES_FLGENTREE" BOOLEAN      DEFAULT 0 CHECK ("TYPE_ES_FLGENTREE" IN (0, 1)),
  "TYPE_ES_FLGSORTIE" BOOLEAN      DEFAULT 0 CHECK ("TYPE_ES_FLGSORTIE" IN (0, 1)),
  PRIMARY KEY ("TYPE_ES_CODE")
);

-- Physical typology of rivers.
CREATE TABLE "D_TYPO_PHY" (
  "TPC_CODE" VARCHAR(5)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:TPC_CODE" CHECK (length("TPC_CODE") <= 5),
  "TPC_LIB"  VARCHAR(80) COLLATE VELBOR CONSTRAINT "taille:80:TPC_LIB" CHECK (length("TPC_LIB") <= 80),
  "TPC_DEF"  MEMO        COLLATE VELBOR,
  PRIMARY KEY ("TPC_CODE")
);

-- Socio-economic values.
CREATE TABLE "D_VAL_SE" (
  "VAL_SE_CODE" VARCHAR(2)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:VAL_SE_CODE" CHECK (length("VAL_SE_CODE") <= 2),
  "VAL_SE_LIB"  VARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:VAL_SE_LIB" CHECK (length("VAL_SE_LIB") <= 200),
  PRIMARY KEY ("VAL_SE_CODE")
);

-- Important bird areas (ZICO).
CREATE TABLE "D_ZICO" (
  "INV_NATIONAL" VARCHAR(3)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:INV_NATIONAL" CHECK (length("INV_NATIONAL") <= 3),
  "INV_LIB_ZICO" NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:INV_LIB_ZICO" CHECK (length("INV_LIB_ZICO") <= 255),
  PRIMARY KEY ("INV_NATIONAL")
);

-- ZNIEFF of both generations; INV_GEN_ZNIEFF tells them apart. The exchange writes columns
-- 1, 2, 3, 5, 4, 6 in that order.
CREATE TABLE "D_ZNIEFF" (
  "INV_NATIONAL"    VARCHAR(9)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:9:INV_NATIONAL" CHECK (length("INV_NATIONAL") <= 9),
  "INV_REG"         VARCHAR(8)    COLLATE VELBOR CONSTRAINT "taille:8:INV_REG" CHECK (length("INV_REG") <= 8),
  "REG_CODE"        VARCHAR(2)    COLLATE VELBOR CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  "INV_TYPE_ZNIEFF" VARCHAR(1)    COLLATE VELBOR CONSTRAINT "taille:1:INV_TYPE_ZNIEFF" CHECK (length("INV_TYPE_ZNIEFF") <= 1),
  "INV_LIB_ZNIEFF"  NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:INV_LIB_ZNIEFF" CHECK (length("INV_LIB_ZNIEFF") <= 255),
  "INV_GEN_ZNIEFF"  NVARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:INV_GEN_ZNIEFF" CHECK (length("INV_GEN_ZNIEFF") <= 1),
  PRIMARY KEY ("INV_NATIONAL")
);

-- Hydrographic zones (surface catchments).
CREATE TABLE "D_ZONE_HYDRO" (
  "ZONE_HYDRO_CODE" VARCHAR(4)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:4:ZONE_HYDRO_CODE" CHECK (length("ZONE_HYDRO_CODE") <= 4),
  "ZONE_HYDRO_LIB"  NVARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:ZONE_HYDRO_LIB" CHECK (length("ZONE_HYDRO_LIB") <= 200),
  PRIMARY KEY ("ZONE_HYDRO_CODE")
);

-- Special protection areas (ZPS).
CREATE TABLE "D_ZPS" (
  "INV_NATIONAL" VARCHAR(9)    COLLATE VELBOR NOT NULL CONSTRAINT "taille:9:INV_NATIONAL" CHECK (length("INV_NATIONAL") <= 9),
  "INV_LIB"      NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:INV_LIB" CHECK (length("INV_LIB") <= 255),
  "INV_REG"      VARCHAR(8)    COLLATE VELBOR CONSTRAINT "taille:8:INV_REG" CHECK (length("INV_REG") <= 8),
  "REG_CODE"     VARCHAR(2)    COLLATE VELBOR CONSTRAINT "taille:2:REG_CODE" CHECK (length("REG_CODE") <= 2),
  PRIMARY KEY ("INV_NATIONAL")
);

-- Reference lists --------------------------------------------------------------------------------

-- Map sheets offered when a sheet is added to a wetland (T_IGN copies its columns).
CREATE TABLE "T_CARTE_IGN" (
  "CARTE_IGN_CODE"    VARCHAR(5)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:CARTE_IGN_CODE" CHECK (length("CARTE_IGN_CODE") <= 5),
  "CARTE_IGN_NOM"     VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:CARTE_IGN_NOM" CHECK (length("CARTE_IGN_NOM") <= 100),
  "CARTE_IGN_ECHELLE" VARCHAR(20)  COLLATE VELBOR CONSTRAINT "taille:20:CARTE_IGN_ECHELLE" CHECK (length("CARTE_IGN_ECHELLE") <= 20),
  "CARTE_IGN_SERIE"   NVARCHAR(25) COLLATE VELBOR CONSTRAINT "taille:25:CARTE_IGN_SERIE" CHECK (length("CARTE_IGN_SERIE") <= 25),
  PRIMARY KEY ("CARTE_IGN_CODE")
);

-- Regional list of animal species. TAXON_CODE is declared INT, not INTEGER: an
-- INTEGER PRIMARY KEY would silently number a row stored without a code, and a code is
-- required.
CREATE TABLE "T_TAXON_ANI" (
  "TAXON_CODE"     INT           NOT NULL CHECK (typeof("TAXON_CODE") IN ('integer', 'real', 'null')),
  "TAXON_THEME"    NVARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_THEME" CHECK (length("TAXON_THEME") <= 50),
  "TAXON_ORDRE"    NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_ORDRE" CHECK (length("TAXON_ORDRE") <= 100),
  "TAXON_CLASSE"   NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_CLASSE" CHECK (length("TAXON_CLASSE") <= 100),
  "TAXON_FAMILLE"  NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FAMILLE" CHECK (length("TAXON_FAMILLE") <= 100),
  "TAXON_LATIN"    NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_LATIN" CHECK (length("TAXON_LATIN") <= 100),
  "TAXON_AUTEUR"   NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_AUTEUR" CHECK (length("TAXON_AUTEUR") <= 100),
  "TAXON_FR"       NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FR" CHECK (length("TAXON_FR") <= 100),
  "TAXON_PROT_NAT" NVARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_PROT_NAT" CHECK (length("TAXON_PROT_NAT") <= 50),
  "TAXON_PROT_REG" NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:TAXON_PROT_REG" CHECK (length("TAXON_PROT_REG") <= 255),
  "TAXON_ANNEXE_1" NVARCHAR(30)  COLLATE VELBOR CONSTRAINT "taille:30:TAXON_ANNEXE_1" CHECK (length("TAXON_ANNEXE_1") <= 30),
  "TAXON_ANNEXE_2" NVARCHAR(10)  COLLATE VELBOR CONSTRAINT "taille:10:TAXON_ANNEXE_2" CHECK (length("TAXON_ANNEXE_2") <= 10),
  "TAXON_FLG"      BOOLEAN       DEFAULT 0 CHECK ("TAXON_FLG" IN (0, 1)),
  "TAXON_LR"       NVARCHAR(10)  COLLATE VELBOR CONSTRAINT "taille:10:TAXON_LR" CHECK (length("TAXON_LR") <= 10),
  PRIMARY KEY ("TAXON_CODE")
);
-- The order the program lists the species in: read from the index as the rows are needed,
-- rather than sorted whole at the first row.
CREATE INDEX "T_TAXON_ANI_THEME_LATIN" ON "T_TAXON_ANI" ("TAXON_THEME", "TAXON_LATIN");

-- Regional list of plant species, keyed like T_TAXON_ANI.
CREATE TABLE "T_TAXON_VEG" (
  "TAXON_CODE"     INT           NOT NULL CHECK (typeof("TAXON_CODE") IN ('integer', 'real', 'null')),
  "TAXON_THEME"    NVARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_THEME" CHECK (length("TAXON_THEME") <= 50),
  "TAXON_ORDRE"    NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_ORDRE" CHECK (length("TAXON_ORDRE") <= 100),
  "TAXON_CLASSE"   NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_CLASSE" CHECK (length("TAXON_CLASSE") <= 100),
  "TAXON_FAMILLE"  NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FAMILLE" CHECK (length("TAXON_FAMILLE") <= 100),
  "TAXON_LATIN"    NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_LATIN" CHECK (length("TAXON_LATIN") <= 100),
  "TAXON_AUTEUR"   NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_AUTEUR" CHECK (length("TAXON_AUTEUR") <= 100),
  "TAXON_FR"       NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:TAXON_FR" CHECK (length("TAXON_FR") <= 100),
  "TAXON_PROT_NAT" NVARCHAR(50)  COLLATE VELBOR CONSTRAINT "taille:50:TAXON_PROT_NAT" CHECK (length("TAXON_PROT_NAT") <= 50),
  "TAXON_PROT_REG" NVARCHAR(255) COLLATE VELBOR CONSTRAINT "taille:255:TAXON_PROT_REG" CHECK (length("TAXON_PROT_REG") <= 255),
  "TAXON_ANNEXE_2" NVARCHAR(30)  COLLATE VELBOR CONSTRAINT "taille:30:TAXON_ANNEXE_2" CHECK (length("TAXON_ANNEXE_2") <= 30),
  "TAXON_FLG"      BOOLEAN       DEFAULT 0 CHECK ("TAXON_FLG" IN (0, 1)),
  "TAXON_LR"       NVARCHAR(10)  COLLATE VELBOR CONSTRAINT "taille:10:TAXON_LR" CHECK (length("TAXON_LR") <= 10),
  PRIMARY KEY ("TAXON_CODE")
);
CREATE INDEX "T_TAXON_VEG_THEME_LATIN" ON "T_TAXON_VEG" ("TAXON_THEME", "TAXON_LATIN");

-- Wetlands ---------------------------------------------------------------------------------------

-- Wetlands, one row per record; ZH_CODE is the wetland code, the key of the record and
-- of every detail row.
CREATE TABLE "T_ZONE_HUMIDE" (
  "ZH_CODE"             VARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ZH_NOM"              VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:ZH_NOM" CHECK (length("ZH_NOM") <= 100),
  "ZH_SYS_ALT"          VARCHAR(2)   COLLATE VELBOR CONSTRAINT "taille:2:ZH_SYS_ALT" CHECK (length("ZH_SYS_ALT") <= 2),
  "ZH_CONNEXION"        VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_CONNEXION" CHECK (length("ZH_CONNEXION") <= 1),
  "ZH_STATUT"           VARCHAR(10)  COLLATE VELBOR CONSTRAINT "taille:10:ZH_STATUT" CHECK (length("ZH_STATUT") <= 10),
  "ZH_TYPE"             VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_TYPE" CHECK (length("ZH_TYPE") <= 1),
  "ZH_FILIATION"        VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_FILIATION" CHECK (length("ZH_FILIATION") <= 1),
  "ZH_NOM_ENVELOPPE"    VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:ZH_NOM_ENVELOPPE" CHECK (length("ZH_NOM_ENVELOPPE") <= 100),
  "ZH_CARTE"            MEMO         COLLATE VELBOR,
  "ZH_MENACE"           MEMO         COLLATE VELBOR,
  "ZH_DESC_PAYS"        MEMO         COLLATE VELBOR,
  "ZH_DESC_PAYS_AUTOUR" MEMO         COLLATE VELBOR,
  "ZH_ALTITUDE"         DOUBLE       CHECK (typeof("ZH_ALTITUDE") IN ('integer', 'real', 'null')),
  "ZH_SUPERFICIE"       DOUBLE       CHECK (typeof("ZH_SUPERFICIE") IN ('integer', 'real', 'null')),
  "ZH_PRECISION"        VARCHAR(2)   COLLATE VELBOR CONSTRAINT "taille:2:ZH_PRECISION" CHECK (length("ZH_PRECISION") <= 2),
  "ZH_LONGUEUR"         DOUBLE       CHECK (typeof("ZH_LONGUEUR") IN ('integer', 'real', 'null')),
  "ZH_FLGCANAUX"        BOOLEAN      DEFAULT 0 CHECK ("ZH_FLGCANAUX" IN (0, 1)),
  "ZH_FLGOUVRAGE"       BOOLEAN      DEFAULT 0 CHECK ("ZH_FLGOUVRAGE" IN (0, 1)),
  "ZH_COMMENTAIRE"      MEMO         COLLATE VELBOR,
  "ZH_NBR_VEG"          DOUBLE       CHECK (typeof("ZH_NBR_VEG") IN ('integer', 'real', 'null')),
  "ZH_INF_VEG"          MEMO         COLLATE VELBOR,
  "ZH_NBR_2_4"          DOUBLE       CHECK (typeof("ZH_NBR_2_4") IN ('integer', 'real', 'null')),
  "ZH_NBR_OISEAU"       DOUBLE       CHECK (typeof("ZH_NBR_OISEAU") IN ('integer', 'real', 'null')),
  "ZH_INF_ANIM"         MEMO         COLLATE VELBOR,
  "ZH_NBR_HAB"          DOUBLE       CHECK (typeof("ZH_NBR_HAB") IN ('integer', 'real', 'null')),
  "ZH_INF_HAB"          MEMO         COLLATE VELBOR,
  "ZH_DIAG_HYDRO"       VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_DIAG_HYDRO" CHECK (length("ZH_DIAG_HYDRO") <= 1),
  "ZH_DIAG_PAT"         VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_DIAG_PAT" CHECK (length("ZH_DIAG_PAT") <= 1),
  "ZH_FONCT_VAL"        MEMO         COLLATE VELBOR,
  "ZH_DIAG_HYDRO_REM"   MEMO         COLLATE VELBOR,
  "ZH_DIAG_PAT_REM"     MEMO         COLLATE VELBOR,
  "ZH_FREQUENCE"        VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_FREQUENCE" CHECK (length("ZH_FREQUENCE") <= 1),
  "ZH_ETENDUE"          VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ZH_ETENDUE" CHECK (length("ZH_ETENDUE") <= 1),
  "ZH_FLGMESURE"        BOOLEAN      DEFAULT 0 CHECK ("ZH_FLGMESURE" IN (0, 1)),
  PRIMARY KEY ("ZH_CODE")
);

-- Details of a wetland ---------------------------------------------------------------------------
-- One row per item of a wetland, tied to it by ZH_CODE. A detail that carries a code holds that
-- code once per wetland (UNIQUE below), as the record window's duplicate check expects; the
-- uniqueness index also serves the look-up of a wetland's rows. Tables without a code get a plain
-- index on ZH_CODE instead.
-- A UNIQUE constraint takes rows with an empty (NULL) part as all different, so the five keys
-- that may have empty parts also have a unique index "<table>_CLE" that reads an empty part as ''.
-- Their tables keep the UNIQUE constraint, so that a database made before those indexes and
-- given them since (the program does it at start, app/pMiseAJourBase) has this very schema. Details have no primary key column of their own (SQLite's rowid tells
-- rows apart): an added column would shift the positions that the exchange relies on.

-- Human activities within a wetland.
CREATE TABLE "T_ACT_HUM_ZH" (
  "ZH_CODE"          VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ACT_HUM_CODE"     VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:ACT_HUM_CODE" CHECK (length("ACT_HUM_CODE") <= 2),
  "ACT_HUM_ZH_ORDRE" DOUBLE      CHECK (typeof("ACT_HUM_ZH_ORDRE") IN ('integer', 'real', 'null')),
  "ACT_HUM_ZH_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "ACT_HUM_CODE")
);

-- Human activities around a wetland (same columns as T_ACT_HUM_ZH).
CREATE TABLE "T_ACT_HUM_ZH2" (
  "ZH_CODE"          VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ACT_HUM_CODE"     VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:ACT_HUM_CODE" CHECK (length("ACT_HUM_CODE") <= 2),
  "ACT_HUM_ZH_ORDRE" DOUBLE      CHECK (typeof("ACT_HUM_ZH_ORDRE") IN ('integer', 'real', 'null')),
  "ACT_HUM_ZH_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "ACT_HUM_CODE")
);

-- Other names of a wetland. No uniqueness: two identical names are kept and both are
-- exchanged.
CREATE TABLE "T_ALIAS" (
  "ZH_CODE"   NVARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ALIAS_LIB" NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:ALIAS_LIB" CHECK (length("ALIAS_LIB") <= 100)
);
CREATE INDEX "T_ALIAS_ZH_CODE" ON "T_ALIAS" ("ZH_CODE");

-- Communes of a wetland.
CREATE TABLE "T_COMMUNE_ZH" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "COM_CODE" VARCHAR(5)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:COM_CODE" CHECK (length("COM_CODE") <= 5),
  UNIQUE ("ZH_CODE", "COM_CODE")
);

-- Corine Biotope habitats of a wetland.
CREATE TABLE "T_CORINE_BIO_ZH" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TCB_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TCB_CODE" CHECK (length("TCB_CODE") <= 10),
  "TCB_FLG"  BOOLEAN     DEFAULT 0 CHECK ("TCB_FLG" IN (0, 1)),
  UNIQUE ("ZH_CODE", "TCB_CODE")
);

-- Boundary criteria of a wetland.
CREATE TABLE "T_DEL_CARTO_ZH" (
  "ZH_CODE"        VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "DEL_CARTO_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:DEL_CARTO_CODE" CHECK (length("DEL_CARTO_CODE") <= 10),
  UNIQUE ("ZH_CODE", "DEL_CARTO_CODE")
);

-- Water inlets of a wetland; T_SORTIE_EAU_ZH has the same columns. A type of inlet
-- appears once per permanence (RES_CODE).
CREATE TABLE "T_ENT_EAU_ZH" (
  "ZH_CODE"      VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "RES_CODE"     VARCHAR(2)  COLLATE VELBOR CONSTRAINT "taille:2:RES_CODE" CHECK (length("RES_CODE") <= 2),
  "TYPE_ES_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:TYPE_ES_CODE" CHECK (length("TYPE_ES_CODE") <= 2),
  UNIQUE ("ZH_CODE", "TYPE_ES_CODE", "RES_CODE")
);
CREATE UNIQUE INDEX "T_ENT_EAU_ZH_CLE" ON "T_ENT_EAU_ZH" ("ZH_CODE", "TYPE_ES_CODE", IFNULL("RES_CODE", '') COLLATE VELBOR);

-- Animal species of the regional list T_TAXON_ANI, by its integer code. The
-- inventory import replaces a wetland without touching these rows.
CREATE TABLE "T_ESP_ANI_DIREN_ZH" (
  "TAXON_CODE"     INT          NOT NULL CHECK (typeof("TAXON_CODE") IN ('integer', 'real', 'null')),
  "ZH_CODE"        NVARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TAXON_FLG_CRIT" BOOLEAN      DEFAULT 0 CHECK ("TAXON_FLG_CRIT" IN (0, 1)),
  UNIQUE ("ZH_CODE", "TAXON_CODE")
);

-- Animal species (D_TAXON) of a wetland.
CREATE TABLE "T_ESP_ANI_ZH" (
  "ZH_CODE"    VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TAXON_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TAXON_CODE" CHECK (length("TAXON_CODE") <= 10),
  UNIQUE ("ZH_CODE", "TAXON_CODE")
);

-- Plant species of the regional list T_TAXON_VEG; same columns as T_ESP_ANI_DIREN_ZH.
CREATE TABLE "T_ESP_VEG_DIREN_ZH" (
  "TAXON_CODE"     INT          NOT NULL CHECK (typeof("TAXON_CODE") IN ('integer', 'real', 'null')),
  "ZH_CODE"        NVARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TAXON_FLG_CRIT" BOOLEAN      DEFAULT 0 CHECK ("TAXON_FLG_CRIT" IN (0, 1)),
  UNIQUE ("ZH_CODE", "TAXON_CODE")
);

-- Plant species (D_TAXON) of a wetland.
CREATE TABLE "T_ESP_VEG_ZH" (
  "ZH_CODE"    VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TAXON_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TAXON_CODE" CHECK (length("TAXON_CODE") <= 10),
  UNIQUE ("ZH_CODE", "TAXON_CODE")
);

-- Influence factors within a wetland.
CREATE TABLE "T_FACT_INF_ZH1" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "FAI_CODE"  VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:FAI_CODE" CHECK (length("FAI_CODE") <= 10),
  "FSZ_ORDRE" DOUBLE      CHECK (typeof("FSZ_ORDRE") IN ('integer', 'real', 'null')),
  UNIQUE ("ZH_CODE", "FAI_CODE")
);

-- Influence factors around a wetland (same columns as T_FACT_INF_ZH1).
CREATE TABLE "T_FACT_INF_ZH2" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "FAI_CODE"  VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:FAI_CODE" CHECK (length("FAI_CODE") <= 10),
  "FSZ_ORDRE" DOUBLE      CHECK (typeof("FSZ_ORDRE") IN ('integer', 'real', 'null')),
  UNIQUE ("ZH_CODE", "FAI_CODE")
);

-- Biological functions of a wetland (D_INT_FONCT type '1').
CREATE TABLE "T_FONCT_BIO_ZH" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "IFZ_CODE"  VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:IFZ_CODE" CHECK (length("IFZ_CODE") <= 2),
  "FBZ_ORDRE" DOUBLE      CHECK (typeof("FBZ_ORDRE") IN ('integer', 'real', 'null')),
  "FBZ_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "IFZ_CODE")
);

-- Hydrological functions of a wetland (D_INT_FONCT type '2').
CREATE TABLE "T_FONCT_HYDRO_ZH" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "IFZ_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:IFZ_CODE" CHECK (length("IFZ_CODE") <= 2),
  "FHZ_RANG" DOUBLE      CHECK (typeof("FHZ_RANG") IN ('integer', 'real', 'null')),
  UNIQUE ("ZH_CODE", "IFZ_CODE")
);

-- Habitats of a wetland.
CREATE TABLE "T_HABITAT_ZH" (
  "ZH_CODE"      VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "HABITAT_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:HABITAT_CODE" CHECK (length("HABITAT_CODE") <= 10),
  UNIQUE ("ZH_CODE", "HABITAT_CODE")
);

-- Dated history of a record (who created, changed or froze it). No uniqueness: one
-- operator may make the same change twice the same day. HISTO_DATE may be empty, as an
-- imported history line without a date leaves it.
CREATE TABLE "T_HISTORIQUE" (
  "ZH_CODE"         VARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "HISTO_DATE"      DATETIME     CHECK (typeof("HISTO_DATE") IN ('integer', 'real', 'null')),
  "ACTION_CODE"     VARCHAR(1)   COLLATE VELBOR CONSTRAINT "taille:1:ACTION_CODE" CHECK (length("ACTION_CODE") <= 1),
  "HISTO_AUTEUR"    VARCHAR(80)  COLLATE VELBOR CONSTRAINT "taille:80:HISTO_AUTEUR" CHECK (length("HISTO_AUTEUR") <= 80),
  "HISTO_ORGANISME" VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:HISTO_ORGANISME" CHECK (length("HISTO_ORGANISME") <= 100)
);
CREATE INDEX "T_HISTORIQUE_ZH_CODE" ON "T_HISTORIQUE" ("ZH_CODE");

-- Map sheets of a wetland, copied from T_CARTE_IGN. The exchange record carries series
-- and scale in the other order; the reader swaps them back into these columns.
CREATE TABLE "T_IGN" (
  "ZH_CODE"           VARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "CARTE_IGN_CODE"    VARCHAR(5)   COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:CARTE_IGN_CODE" CHECK (length("CARTE_IGN_CODE") <= 5),
  "CARTE_IGN_NOM"     VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:CARTE_IGN_NOM" CHECK (length("CARTE_IGN_NOM") <= 100),
  "CARTE_IGN_ECHELLE" VARCHAR(20)  COLLATE VELBOR CONSTRAINT "taille:20:CARTE_IGN_ECHELLE" CHECK (length("CARTE_IGN_ECHELLE") <= 20),
  "CARTE_IGN_SERIE"   NVARCHAR(25) COLLATE VELBOR CONSTRAINT "taille:25:CARTE_IGN_SERIE" CHECK (length("CARTE_IGN_SERIE") <= 25),
  UNIQUE ("ZH_CODE", "CARTE_IGN_CODE")
);

-- Contractual and financial instruments of a wetland; ICZ_DATE holds the first day of a month.
CREATE TABLE "T_INST_CF_ZH" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ICF_CODE"  VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:ICF_CODE" CHECK (length("ICF_CODE") <= 2),
  "ICZ_DATE"  DATETIME    CHECK (typeof("ICZ_DATE") IN ('integer', 'real', 'null')),
  "ICZ_DUREE" VARCHAR(50) COLLATE VELBOR CONSTRAINT "taille:50:ICZ_DUREE" CHECK (length("ICZ_DUREE") <= 50),
  "ICZ_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "ICF_CODE")
);

-- Other inventories covering a wetland. INV_TYPE is the inventory kind ('1' and '2'
-- ZNIEFF of each generation, '3' ZICO, '4' Ramsar, '5' PSIC, '6' ZPS, '7' other); a code
-- appears once per kind.
CREATE TABLE "T_INVENTAIRE" (
  "ZH_CODE"         VARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "INV_TYPE_ZNIEFF" NVARCHAR(1)  COLLATE VELBOR CONSTRAINT "taille:1:INV_TYPE_ZNIEFF" CHECK (length("INV_TYPE_ZNIEFF") <= 1),
  "INV_TYPE"        VARCHAR(2)   COLLATE VELBOR CONSTRAINT "taille:2:INV_TYPE" CHECK (length("INV_TYPE") <= 2),
  "INV_CODE"        VARCHAR(10)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:INV_CODE" CHECK (length("INV_CODE") <= 10),
  "INV_LIB"         VARCHAR(200) COLLATE VELBOR CONSTRAINT "taille:200:INV_LIB" CHECK (length("INV_LIB") <= 200),
  "INV_COUV"        VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:INV_COUV" CHECK (length("INV_COUV") <= 100),
  UNIQUE ("ZH_CODE", "INV_TYPE", "INV_CODE")
);
CREATE UNIQUE INDEX "T_INVENTAIRE_CLE" ON "T_INVENTAIRE" ("ZH_CODE", IFNULL("INV_TYPE", '') COLLATE VELBOR, "INV_CODE");

-- Protection measures of aquatic environments; MMA_CODE is the order number.
CREATE TABLE "T_MES_PROT_MA" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "MEN_CODE" VARCHAR(3)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:MEN_CODE" CHECK (length("MEN_CODE") <= 3),
  "MMA_CODE" DOUBLE      CHECK (typeof("MMA_CODE") IN ('integer', 'real', 'null')),
  "MMA_REM"  MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "MEN_CODE")
);

-- Protection measures of areas.
CREATE TABLE "T_MES_PROT_ZH" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "MEN_CODE"  VARCHAR(3)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:MEN_CODE" CHECK (length("MEN_CODE") <= 3),
  "MEN_ORDRE" DOUBLE      CHECK (typeof("MEN_ORDRE") IN ('integer', 'real', 'null')),
  "MEZ_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "MEN_CODE")
);

-- Birds (D_TAXON) of a wetland.
CREATE TABLE "T_OISEAUX_ZH" (
  "ZH_CODE"    VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TAXON_CODE" VARCHAR(10) COLLATE VELBOR NOT NULL CONSTRAINT "taille:10:TAXON_CODE" CHECK (length("TAXON_CODE") <= 10),
  UNIQUE ("ZH_CODE", "TAXON_CODE")
);

-- Action orientations of a wetland, ordered by ORZ_RANG. No code, so no uniqueness.
CREATE TABLE "T_ORIENT_ZH" (
  "ZH_CODE"   NVARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ORZ_RANG"  DOUBLE       CHECK (typeof("ORZ_RANG") IN ('integer', 'real', 'null')),
  "ORZ_RECOM" MEMO         COLLATE VELBOR,
  "ORZ_MODAL" MEMO         COLLATE VELBOR
);
CREATE INDEX "T_ORIENT_ZH_ZH_CODE" ON "T_ORIENT_ZH" ("ZH_CODE");

-- Water-quality measurements of a wetland. No code, so no uniqueness.
CREATE TABLE "T_QUALITE_EAU_ZH" (
  "ZH_CODE"        NVARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "QU_LOC_MES"     NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:QU_LOC_MES" CHECK (length("QU_LOC_MES") <= 100),
  "QU_NAT_MESURES" NVARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:QU_NAT_MESURES" CHECK (length("QU_NAT_MESURES") <= 100)
);
CREATE INDEX "T_QUALITE_EAU_ZH_ZH_CODE" ON "T_QUALITE_EAU_ZH" ("ZH_CODE");

-- Bibliography of a wetland; REF_ANNEE holds the first of January of the year. A
-- reference (title, author, year) appears once per wetland.
CREATE TABLE "T_REF_BIBLIO" (
  "ZH_CODE"    VARCHAR(13)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "REF_TITRE"  VARCHAR(100) COLLATE VELBOR CONSTRAINT "taille:100:REF_TITRE" CHECK (length("REF_TITRE") <= 100),
  "REF_AUTEUR" VARCHAR(80)  COLLATE VELBOR CONSTRAINT "taille:80:REF_AUTEUR" CHECK (length("REF_AUTEUR") <= 80),
  "REF_ANNEE"  DATETIME     CHECK (typeof("REF_ANNEE") IN ('integer', 'real', 'null')),
  UNIQUE ("ZH_CODE", "REF_TITRE", "REF_AUTEUR", "REF_ANNEE")
);
CREATE UNIQUE INDEX "T_REF_BIBLIO_CLE" ON "T_REF_BIBLIO" ("ZH_CODE", IFNULL("REF_TITRE", '') COLLATE VELBOR, IFNULL("REF_AUTEUR", '') COLLATE VELBOR, IFNULL("REF_ANNEE", ''));

-- SDAGE types of a wetland: SDZ_TYPO 1 for the main type, 0 for the others. A code
-- appears once per kind.
CREATE TABLE "T_SDAGE_ZH" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TSD_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:TSD_CODE" CHECK (length("TSD_CODE") <= 2),
  "SDZ_TYPO" BOOLEAN     DEFAULT 0 CHECK ("SDZ_TYPO" IN (0, 1)),
  UNIQUE ("ZH_CODE", "TSD_CODE", "SDZ_TYPO")
);
CREATE UNIQUE INDEX "T_SDAGE_ZH_CLE" ON "T_SDAGE_ZH" ("ZH_CODE", "TSD_CODE", IFNULL("SDZ_TYPO", ''));

-- Water outlets of a wetland; RES_CODE starts at '0' as the outlet page does.
CREATE TABLE "T_SORTIE_EAU_ZH" (
  "ZH_CODE"      VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "RES_CODE"     VARCHAR(2)  COLLATE VELBOR DEFAULT '0' CONSTRAINT "taille:2:RES_CODE" CHECK (length("RES_CODE") <= 2),
  "TYPE_ES_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:TYPE_ES_CODE" CHECK (length("TYPE_ES_CODE") <= 2),
  UNIQUE ("ZH_CODE", "TYPE_ES_CODE", "RES_CODE")
);
CREATE UNIQUE INDEX "T_SORTIE_EAU_ZH_CLE" ON "T_SORTIE_EAU_ZH" ("ZH_CODE", "TYPE_ES_CODE", IFNULL("RES_CODE", '') COLLATE VELBOR);

-- Land status of a wetland.
CREATE TABLE "T_STATUT_FONC_ZH" (
  "ZH_CODE"   VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "SFO_CODE"  VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:SFO_CODE" CHECK (length("SFO_CODE") <= 2),
  "SFZ_ORDRE" DOUBLE      CHECK (typeof("SFZ_ORDRE") IN ('integer', 'real', 'null')),
  "SFZ_REM"   MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "SFO_CODE")
);

-- Underground catchments (D_ENT_HYDRO) of a wetland.
CREATE TABLE "T_SYS_AQUI_ZH" (
  "ZH_CODE"        VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ENT_HYDRO_CODE" VARCHAR(17) COLLATE VELBOR NOT NULL CONSTRAINT "taille:17:ENT_HYDRO_CODE" CHECK (length("ENT_HYDRO_CODE") <= 17),
  UNIQUE ("ZH_CODE", "ENT_HYDRO_CODE")
);

-- Physical typology of a wetland.
CREATE TABLE "T_TYPO_PHY_ZH" (
  "ZH_CODE"  VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "TPC_CODE" VARCHAR(5)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:5:TPC_CODE" CHECK (length("TPC_CODE") <= 5),
  UNIQUE ("ZH_CODE", "TPC_CODE")
);

-- Socio-economic values of a wetland.
CREATE TABLE "T_VAL_SE_ZH" (
  "ZH_CODE"     VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "VAL_SE_CODE" VARCHAR(2)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:2:VAL_SE_CODE" CHECK (length("VAL_SE_CODE") <= 2),
  "VSZ_ORDRE"   DOUBLE      CHECK (typeof("VSZ_ORDRE") IN ('integer', 'real', 'null')),
  "VSZ_REM"     MEMO        COLLATE VELBOR,
  UNIQUE ("ZH_CODE", "VAL_SE_CODE")
);

-- Surface catchments (D_ZONE_HYDRO) of a wetland.
CREATE TABLE "T_ZONE_HYDRO_ZH" (
  "ZH_CODE"         VARCHAR(13) COLLATE VELBOR NOT NULL CONSTRAINT "taille:13:ZH_CODE" CHECK (length("ZH_CODE") <= 13),
  "ZONE_HYDRO_CODE" VARCHAR(4)  COLLATE VELBOR NOT NULL CONSTRAINT "taille:4:ZONE_HYDRO_CODE" CHECK (length("ZONE_HYDRO_CODE") <= 4),
  UNIQUE ("ZH_CODE", "ZONE_HYDRO_CODE")
);

-- Column captions ------------------------------------------------------------------------------

-- The caption of each exported column, shown in the first row of the spreadsheet export, which
-- looks a caption up by column name alone: a column name shared by several tables has the same
-- caption in each. TABLE_EXPORT marks the columns of exported tables.
CREATE TABLE "T_TABLE" (
  "TABLE_CHAMP"  VARCHAR(50) COLLATE VELBOR NOT NULL CONSTRAINT "taille:50:TABLE_CHAMP" CHECK (length("TABLE_CHAMP") <= 50),
  "TABLE_NOM"    VARCHAR(50) COLLATE VELBOR NOT NULL CONSTRAINT "taille:50:TABLE_NOM" CHECK (length("TABLE_NOM") <= 50),
  "TABLE_LIB"    VARCHAR(50) COLLATE VELBOR CONSTRAINT "taille:50:TABLE_LIB" CHECK (length("TABLE_LIB") <= 50),
  "TABLE_EXPORT" BOOLEAN     DEFAULT 0 CHECK ("TABLE_EXPORT" IN (0, 1)),
  PRIMARY KEY ("TABLE_NOM", "TABLE_CHAMP")
);
