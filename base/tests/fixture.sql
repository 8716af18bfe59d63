-- Test rows loaded on top of schema.sql: a few dictionary entries and three wetlands.
--
--   073ASTERS0001  every detail table holds at least one row, with accents, multi-line memos
--                  (CR LF), dates and booleans; its codes all exist in the dictionaries.
--   073ASTERS0002  a few details: a commune, a history line, two identical other names (kept
--                  twice) and two identical water-quality rows.
--   971PNG   0001  frozen ('G'), no detail row at all, null measures.
--
-- Dates are days since 1899-12-30: 38058 is 12/03/2004, 38018 is 01/02/2004 (a month stored as
-- its first day), 35796 is 01/01/1998 (a year stored as the first of January).

-- Dictionaries ---------------------------------------------------------------------------------

INSERT INTO D_REGION VALUES ('84', 'Auvergne-Rhône-Alpes'), ('01', 'Guadeloupe');
INSERT INTO D_DEPARTEMENT VALUES ('73', 'Savoie', '84'), ('971', 'Guadeloupe', '01');
INSERT INTO D_COMMUNE VALUES
  ('73008', 'Aix-les-Bains', '73'), ('73065', 'Chambéry', '73'), ('97101', 'Les Abymes', '971');
INSERT INTO D_ACT_HUM VALUES ('01', 'Agriculture'), ('02', 'Sylviculture'), ('10', 'Tourisme et loisirs');
INSERT INTO D_CONNEXION VALUES ('1', 'Entrée et sortie'), ('2', 'Entrée');
INSERT INTO D_CORINE_BIO VALUES ('22.1', 'Eaux douces', 2), ('53.1', 'Roselières', 2);
INSERT INTO D_DEL_CARTO VALUES ('10', 'Hydrologie'), ('20', 'Végétation hygrophile');
INSERT INTO D_DIAG_HYD VALUES ('1', 'Proche de l''équilibre naturel'), ('2', 'Sensiblement dégradé');
INSERT INTO D_DIAG_PAT VALUES ('1', 'Habitats non dégradés'), ('2', 'Habitats partiellement dégradés');
INSERT INTO D_ENT_HYDRO VALUES ('125AC01', 'Alluvions du lac du Bourget');
INSERT INTO D_ETE_SUB VALUES ('1', 'Totalement submergé'), ('2', 'Partiellement submergé');
INSERT INTO D_FACT_INF VALUES ('10', 'Habitat humain, zone urbanisée'), ('20', 'Infrastructures linéaires');
INSERT INTO D_FREQ_SUB VALUES ('1', 'Jamais submergé'), ('2', 'Toujours submergé');
INSERT INTO D_HABITAT VALUES ('3130', 'Eaux stagnantes oligotrophes'), ('7140', 'Tourbières de transition');
INSERT INTO D_INST_CF VALUES ('01', 'Contrat de rivière'), ('02', 'Mesures agri-environnementales');
INSERT INTO D_INT_FONCT VALUES
  ('11', 'Expansion naturelle des crues', '2'), ('12', 'Ralentissement du ruissellement', '2'),
  ('31', 'Habitat pour les populations animales', '1');
INSERT INTO D_MES_PROT_EN VALUES ('11', 'Site inscrit', '1'), ('12', 'Site classé', '1');
INSERT INTO D_PSIC VALUES ('FR8201772', 'Réseau de zones humides du lac du Bourget', '82', '84');
INSERT INTO D_RAMSAR VALUES ('FR7200029', 'Lac du Bourget - Marais de Chautagne', '82', '84');
INSERT INTO D_RYTHME_ES VALUES
  ('0', 'Inconnu', NULL), ('1', 'Permanent', 'Écoulement toute l''année'), ('2', 'Saisonnier', NULL);
INSERT INTO D_SDAGE VALUES
  ('5', 'Bordures de cours d''eau', NULL), ('7', 'Zones humides de bas-fonds en tête de bassin', NULL);
INSERT INTO D_STATUT_FONC VALUES ('01', 'Propriété privée'), ('02', 'Domaine public communal');
INSERT INTO D_SYS_ALT VALUES ('1', 'NGF (IGN 1969)', '1', 'France métropolitaine');
INSERT INTO D_TAXON VALUES
  ('60630', 'Lutra lutra', 'Loutre d''Europe', 'Carnivora', 'Mustelidae', 'Mammifères', 0, 1, 1, 0),
  ('2891', 'Alcedo atthis', 'Martin-pêcheur d''Europe', 'Coraciiformes', 'Alcedinidae', 'Oiseaux', 1, 0, 0, 0),
  ('81569', 'Drosera rotundifolia', 'Rossolis à feuilles rondes', 'Caryophyllales', 'Droseraceae', 'Plantes', 0, 0, 0, 0);
INSERT INTO D_TYPE_ACTIONS VALUES ('C', 'Création'), ('M', 'Modification'), ('G', 'Gel');
INSERT INTO D_TYPE_ES VALUES ('01', 'Cours d''eau', 1, 1), ('02', 'Sources', 1, 0), ('03', 'Canaux', 0, 1);
INSERT INTO D_TYPO_PHY VALUES ('1', 'Cours d''eau', NULL);
INSERT INTO D_VAL_SE VALUES ('01', 'Réservoir pour l''alimentation en eau potable');
INSERT INTO D_ZICO VALUES ('RA4', 'Lac du Bourget');
INSERT INTO D_ZNIEFF VALUES
  ('820030287', '73000001', '84', '1', 'Lac du Bourget', '2'),
  ('820000397', '73000002', '84', '2', 'Ensemble du lac du Bourget', '1');
INSERT INTO D_ZONE_HYDRO VALUES ('V130', 'Le Rhône du Fier au Guiers');
-- National code '0' is the "other" inventory entry.
INSERT INTO D_ZPS VALUES ('FR8212004', 'Lac du Bourget', '82', '84'), ('0', 'Autre', NULL, NULL);

INSERT INTO T_CARTE_IGN VALUES ('3332O', 'Aix-les-Bains', '1:25000', 'TOP 25');
INSERT INTO T_TAXON_ANI VALUES
  (100, 'Mammifères', 'Carnivora', 'Mammalia', 'Mustelidae', 'Lutra lutra', 'Linnaeus, 1758', 'Loutre d''Europe',
   'Article 2', 'Régionale', 'Non', 'II et IV', 1, 'LC');
INSERT INTO T_TAXON_VEG VALUES
  (200, 'Plantes', 'Caryophyllales', 'Magnoliopsida', 'Droseraceae', 'Drosera rotundifolia', 'L., 1753',
   'Rossolis à feuilles rondes', 'Article 1', NULL, NULL, 1, 'LC');
-- One caption only: the other columns show their own names.
INSERT INTO T_TABLE VALUES ('ZH_NOM', 'T_ZONE_HUMIDE', 'Nom de la zone humide', 1);

-- Wetlands -------------------------------------------------------------------------------------

INSERT INTO T_ZONE_HUMIDE VALUES (
  '073ASTERS0001', 'Marais de l''Étang Noir', '1', '1', 'A', '1', '0', NULL,
  'Carte IGN 3332O', 'Drainage agricole' || char(13, 10) || 'Remblais', 'Marais tourbeux' || char(13, 10) ||
  'en rive du lac' || char(13, 10) || 'au pied du mont', 'Prairies humides',
  231, 12.3456, '1', 1.5, 1, 0,
  'Fiche à compléter', 4, 'Flore riche', 2, 1, 'Loutre observée', 2, 'Deux habitats',
  '2', '1', 'Expansion des crues', 'Fossés anciens', NULL,
  '1', '2', 1);
INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_FILIATION, ZH_ALTITUDE)
  VALUES ('073ASTERS0002', 'Tourbière du Col', 'A', '2', 'X', 1480);
INSERT INTO T_ZONE_HUMIDE (ZH_CODE, ZH_NOM, ZH_STATUT, ZH_TYPE, ZH_FILIATION)
  VALUES ('971PNG   0001', 'Mangrove de Belle-Plaine', 'G', '1', '1');

-- Details of 073ASTERS0001, one table after another ----------------------------------------------

INSERT INTO T_ACT_HUM_ZH VALUES
  ('073ASTERS0001', '01', 1, 'Fauche tardive'), ('073ASTERS0001', '10', 2, NULL);
INSERT INTO T_ACT_HUM_ZH2 VALUES ('073ASTERS0001', '02', 1, 'Peupleraie' || char(13, 10) || 'en limite nord');
INSERT INTO T_ALIAS VALUES ('073ASTERS0001', 'Marais de Chautagne');
INSERT INTO T_COMMUNE_ZH VALUES ('073ASTERS0001', '73008'), ('073ASTERS0001', '73065');
INSERT INTO T_CORINE_BIO_ZH VALUES ('073ASTERS0001', '22.1', 0), ('073ASTERS0001', '53.1', 1);
INSERT INTO T_DEL_CARTO_ZH VALUES ('073ASTERS0001', '10'), ('073ASTERS0001', '20');
INSERT INTO T_ENT_EAU_ZH VALUES ('073ASTERS0001', '1', '01'), ('073ASTERS0001', '2', '02');
INSERT INTO T_ESP_ANI_DIREN_ZH VALUES (100, '073ASTERS0001', 1);
INSERT INTO T_ESP_ANI_ZH VALUES ('073ASTERS0001', '60630');
INSERT INTO T_ESP_VEG_DIREN_ZH VALUES (200, '073ASTERS0001', 0);
INSERT INTO T_ESP_VEG_ZH VALUES ('073ASTERS0001', '81569');
INSERT INTO T_FACT_INF_ZH1 VALUES ('073ASTERS0001', '10', 1);
INSERT INTO T_FACT_INF_ZH2 VALUES ('073ASTERS0001', '20', 1);
INSERT INTO T_FONCT_BIO_ZH VALUES ('073ASTERS0001', '31', 1, 'Reproduction de la loutre');
INSERT INTO T_FONCT_HYDRO_ZH VALUES ('073ASTERS0001', '11', 1), ('073ASTERS0001', '12', 2);
INSERT INTO T_HABITAT_ZH VALUES ('073ASTERS0001', '7140');
INSERT INTO T_HISTORIQUE VALUES
  ('073ASTERS0001', 38058.4375, 'C', 'Dupont', 'Conservatoire d''espaces naturels'),
  ('073ASTERS0001', 38533, 'M', 'Lefèvre', 'Conservatoire d''espaces naturels');
INSERT INTO T_IGN VALUES ('073ASTERS0001', '3332O', 'Aix-les-Bains', '1:25000', 'TOP 25');
INSERT INTO T_INST_CF_ZH VALUES ('073ASTERS0001', '01', 38018, '5 ans', 'Signé en préfecture');
INSERT INTO T_INVENTAIRE VALUES
  ('073ASTERS0001', '2', '1', '820030287', 'Lac du Bourget', 'Totale'),
  ('073ASTERS0001', NULL, '6', 'FR8212004', 'Lac du Bourget', 'Partielle');
INSERT INTO T_MES_PROT_MA VALUES ('073ASTERS0001', '11', 1, NULL);
INSERT INTO T_MES_PROT_ZH VALUES ('073ASTERS0001', '12', 1, 'Classement de 1987');
INSERT INTO T_OISEAUX_ZH VALUES ('073ASTERS0001', '2891');
INSERT INTO T_ORIENT_ZH VALUES
  ('073ASTERS0001', 1, 'Maintenir la fauche', 'Convention avec' || char(13, 10) || 'les exploitants');
INSERT INTO T_QUALITE_EAU_ZH VALUES ('073ASTERS0001', 'Exutoire', 'Nitrates');
INSERT INTO T_REF_BIBLIO VALUES ('073ASTERS0001', 'Les marais du Bourget', 'Martin J.', 35796);
INSERT INTO T_SDAGE_ZH VALUES ('073ASTERS0001', '5', 1), ('073ASTERS0001', '7', 0);
INSERT INTO T_SORTIE_EAU_ZH VALUES ('073ASTERS0001', '0', '03');
INSERT INTO T_STATUT_FONC_ZH VALUES ('073ASTERS0001', '01', 1, NULL), ('073ASTERS0001', '02', 2, 'Rives');
INSERT INTO T_SYS_AQUI_ZH VALUES ('073ASTERS0001', '125AC01');
INSERT INTO T_TYPO_PHY_ZH VALUES ('073ASTERS0001', '1');
INSERT INTO T_VAL_SE_ZH VALUES ('073ASTERS0001', '01', 1, 'Captage communal');
INSERT INTO T_ZONE_HYDRO_ZH VALUES ('073ASTERS0001', 'V130');

-- Details of 073ASTERS0002 -----------------------------------------------------------------------

INSERT INTO T_COMMUNE_ZH VALUES ('073ASTERS0002', '73065');
INSERT INTO T_HISTORIQUE VALUES ('073ASTERS0002', 38058, 'C', 'Dupont', 'Conservatoire d''espaces naturels');
INSERT INTO T_ALIAS VALUES ('073ASTERS0002', 'Tourbière haute'), ('073ASTERS0002', 'Tourbière haute');
INSERT INTO T_QUALITE_EAU_ZH VALUES ('073ASTERS0002', 'Source', 'pH'), ('073ASTERS0002', 'Source', 'pH');
