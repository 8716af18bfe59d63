// This file implements the bringing up to date of an older database (see pMiseAJourBase.h).
#include "pMiseAJourBase.h"

#include "SqliteError.h"
#include "SqliteSession.h"
#include "StrUtils.h"

namespace {

struct TCle {
  const char* Table;
  const char* Index;
  // Word for word the statement of base/schema.sql, so that the schema comes out the same.
  const char* Sql;
};

const TCle kClesVersion2[] = {
    {"T_ENT_EAU_ZH", "T_ENT_EAU_ZH_CLE",
     "CREATE UNIQUE INDEX \"T_ENT_EAU_ZH_CLE\" ON \"T_ENT_EAU_ZH\" (\"ZH_CODE\", \"TYPE_ES_CODE\", "
     "IFNULL(\"RES_CODE\", '') COLLATE VELBOR)"},
    {"T_INVENTAIRE", "T_INVENTAIRE_CLE",
     "CREATE UNIQUE INDEX \"T_INVENTAIRE_CLE\" ON \"T_INVENTAIRE\" (\"ZH_CODE\", IFNULL(\"INV_TYPE\", '') COLLATE "
     "VELBOR, \"INV_CODE\")"},
    {"T_REF_BIBLIO", "T_REF_BIBLIO_CLE",
     "CREATE UNIQUE INDEX \"T_REF_BIBLIO_CLE\" ON \"T_REF_BIBLIO\" (\"ZH_CODE\", IFNULL(\"REF_TITRE\", '') COLLATE "
     "VELBOR, IFNULL(\"REF_AUTEUR\", '') COLLATE VELBOR, IFNULL(\"REF_ANNEE\", ''))"},
    {"T_SDAGE_ZH", "T_SDAGE_ZH_CLE",
     "CREATE UNIQUE INDEX \"T_SDAGE_ZH_CLE\" ON \"T_SDAGE_ZH\" (\"ZH_CODE\", \"TSD_CODE\", IFNULL(\"SDZ_TYPO\", ''))"},
    {"T_SORTIE_EAU_ZH", "T_SORTIE_EAU_ZH_CLE",
     "CREATE UNIQUE INDEX \"T_SORTIE_EAU_ZH_CLE\" ON \"T_SORTIE_EAU_ZH\" (\"ZH_CODE\", \"TYPE_ES_CODE\", "
     "IFNULL(\"RES_CODE\", '') COLLATE VELBOR)"},
};

// Word for word as base/schema.sql writes them (SQLite keeps the text without IF NOT EXISTS).
const char* const kIndexVersion3[] = {
    "CREATE INDEX IF NOT EXISTS \"T_TAXON_ANI_THEME_LATIN\" ON \"T_TAXON_ANI\" (\"TAXON_THEME\", \"TAXON_LATIN\")",
    "CREATE INDEX IF NOT EXISTS \"T_TAXON_VEG_THEME_LATIN\" ON \"T_TAXON_VEG\" (\"TAXON_THEME\", \"TAXON_LATIN\")",
};

long long Nombre(SqliteSession& Session, const String& Sql) {
  SqliteStatement statement = Session.PrepareNative(Sql);
  return statement.Step() ? statement.ColumnInt64(0) : 0;
}

}  // namespace

std::vector<String> MettreBaseAJour(SqliteSession& Session) {
  std::vector<String> laissees;
  long long version = Nombre(Session, "PRAGMA user_version");
  if (version != 1 && version != 2) return laissees;
  SqliteTransaction transaction(Session);
  if (version == 1) {
    for (const TCle& cle : kClesVersion2) {
      if (Nombre(Session, "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = '" + String(cle.Index) +
                              "'") != 0) {
        continue;
      }
      // Each key alone: one that the rows break leaves the others in place.
      Session.ExecuteScript("SAVEPOINT cle");
      try {
        Session.ExecuteScript(cle.Sql);
      } catch (const ESqliteError& E) {
        Session.ExecuteScript("ROLLBACK TO cle");
        Session.ExecuteScript("RELEASE cle");
        if (E.Kind != TSqliteErrorKind::Duplicate) throw;
        laissees.push_back(cle.Table);
        continue;
      }
      Session.ExecuteScript("RELEASE cle");
    }
  }
  // Plain indexes: no row can break them.
  for (const char* index : kIndexVersion3) Session.ExecuteScript(index);
  if (laissees.empty()) Session.ExecuteScript("PRAGMA user_version = " + IntToStr(kVersionBase));
  transaction.Commit();
  return laissees;
}
