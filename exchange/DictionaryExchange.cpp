// This file implements the dictionary transfers: the export of the 32 reference dictionaries and
// their import by code (rows added or changed, never deleted).
#include "DictionaryExchange.h"

#include <map>
#include <memory>

#include "ExchangeFile.h"
#include "ExchangeRows.h"
#include "FloatFormat.h"
#include "SqliteSession.h"
#include "SqliteStatement.h"
#include "StrUtils.h"

namespace Exchange {

namespace {

struct TNomenclature {
  const char* Name;
  const char* Table;
  enum { None, Column3, EntreeSortie, Columns3And4 } Extra;
};

// The nomenclatures in the order of the file; code and label are columns 1 and 2.
const TNomenclature Nomenclatures[] = {
    {"TYPE_ACTION", "D_TYPE_ACTIONS", TNomenclature::None},   {"TYPO_SDAGE", "D_SDAGE", TNomenclature::None},
    {"INT_FONC", "D_INT_FONCT", TNomenclature::Column3},      {"TYPO_CB", "D_CORINE_BIO", TNomenclature::Column3},
    {"TYPO_CE", "D_TYPO_PHY", TNomenclature::None},           {"RYTHME_ES", "D_RYTHME_ES", TNomenclature::None},
    {"TYPE_ES", "D_TYPE_ES", TNomenclature::EntreeSortie},    {"TYPE_CXN", "D_CONNEXION", TNomenclature::None},
    {"SYS_ALTI", "D_SYS_ALT", TNomenclature::Columns3And4},   {"FRE_SUB", "D_FREQ_SUB", TNomenclature::None},
    {"ET_SUB", "D_ETE_SUB", TNomenclature::None},             {"HAB", "D_HABITAT", TNomenclature::None},
    {"ACTI_HUM", "D_ACT_HUM", TNomenclature::None},           {"FAC_INF", "D_FACT_INF", TNomenclature::None},
    {"VAL_SE", "D_VAL_SE", TNomenclature::None},              {"STATUT_FONCIER", "D_STATUT_FONC", TNomenclature::None},
    {"MESURE_PROT", "D_MES_PROT_EN", TNomenclature::Column3}, {"INST_CONTRAT", "D_INST_CF", TNomenclature::None},
    {"CRIT_CARTO", "D_DEL_CARTO", TNomenclature::None},       {"DIAG_HYDRAU", "D_DIAG_HYD", TNomenclature::None},
    {"DIAG_PATR", "D_DIAG_PAT", TNomenclature::None},
};

const char* const OtherDictionaries[] = {"D_REGION", "D_DEPARTEMENT", "D_COMMUNE", "D_ENT_HYDRO", "D_ZONE_HYDRO",
                                         "D_TAXON",  "D_ZICO",        "D_ZNIEFF",  "D_RAMSAR",    "D_ZPS", "D_PSIC"};

std::vector<String> Empties(int Count) { return std::vector<String>(std::size_t(Count)); }

// The record of one row of a dictionary other than the nomenclatures.
std::vector<String> RowFields(const String& Table, const SqliteStatement& Row, String& Tag) {
  auto c = [&](int Column) { return ColumnAsText(Row, Column - 1); };
  std::vector<String> f;
  if (Table == "D_REGION") {
    Tag = "RGN";
    f = {c(1), "", c(2), ""};
  } else if (Table == "D_DEPARTEMENT") {
    Tag = "DEP";
    f = {c(1), "", c(2), c(3)};
  } else if (Table == "D_COMMUNE" || Table == "D_ENT_HYDRO" || Table == "D_ZONE_HYDRO") {
    Tag = Table == "D_COMMUNE" ? "COM" : Table == "D_ENT_HYDRO" ? "SAQ" : "ZOH";
    f = {c(1), UpperCase(c(2))};
    std::vector<String> rest = Empties(Tag == "COM" ? 5 : Tag == "SAQ" ? 31 : 4);
    f.insert(f.end(), rest.begin(), rest.end());
  } else if (Table == "D_TAXON") {
    Tag = "TAH";
    for (int i = 1; i <= 10; ++i) f.push_back(c(i));
  } else {
    Tag = "IVZ";
    if (Table == "D_ZICO") f = {"", "ZICO", c(1), "", "", c(2), "", "", ""};
    else if (Table == "D_ZNIEFF") f = {"", "ZNIEFF", c(1), c(2), c(3), c(5), c(4), c(6), ""};
    else f = {"", Table.substr(2), c(1), c(3), c(4), c(2), "", "", ""};
  }
  return f;
}

bool Cancelled(IExchangeHost& Host) { return Host.CancelRequested(); }

}  // namespace

TExchangeResult ExportDictionnaires(SqliteSession& Session, const String& Path, TDateTime Today, IExchangeHost& Host) {
  TExchangeWriter writer(KindDictionary, Path, Today);
  int total = 0;
  auto count = [&](const String& Table) {
    SqliteStatement s = Session.Prepare("select count(*) from " + Table);
    if (s.Step()) total += int(s.ColumnInt64(0));
  };
  for (const char* t : OtherDictionaries) count(t);
  for (const TNomenclature& n : Nomenclatures) count(n.Table);
  Host.ProgressStart(total, String());

  auto walk = [&](const String& Table, auto&& AddRow) {
    SqliteStatement rows = Session.Prepare("select * from " + Table);
    while (rows.Step()) {
      AddRow(rows);
      Host.ProgressStep();
      if (Cancelled(Host)) return false;
    }
    return true;
  };
  try {
    for (const char* table : OtherDictionaries) {
      if (Cancelled(Host)) return {TExchangeResult::Cancelled, "Exportation annulée : aucun fichier n'a été écrit"_a};
      bool more = walk(table, [&](const SqliteStatement& row) {
        String tag;
        std::vector<String> fields = RowFields(table, row, tag);
        writer.AddRecord(tag, fields, String(table) + " " + ColumnAsText(row, 0));
      });
      if (!more) return {TExchangeResult::Cancelled, "Exportation annulée : aucun fichier n'a été écrit"_a};
    }
    for (const TNomenclature& n : Nomenclatures) {
      if (Cancelled(Host)) return {TExchangeResult::Cancelled, "Exportation annulée : aucun fichier n'a été écrit"_a};
      writer.AddRecord("002", {n.Name, n.Table, "", "", "ZHI", "2002-1"});
      bool more = walk(n.Table, [&](const SqliteStatement& row) {
        String fourth, fifth;
        switch (n.Extra) {
          case TNomenclature::None: break;
          case TNomenclature::Column3: fifth = ColumnAsText(row, 2); break;
          case TNomenclature::EntreeSortie:
            fifth = String(row.ColumnInt64(2) != 0 ? "E" : "") + (row.ColumnInt64(3) != 0 ? "S" : "");
            break;
          case TNomenclature::Columns3And4:
            fourth = ColumnAsText(row, 2);
            fifth = ColumnAsText(row, 3);
            break;
        }
        writer.AddRecord("003", {n.Name, ColumnAsText(row, 0), ColumnAsText(row, 1), fourth, fifth},
                         String(n.Table) + " " + ColumnAsText(row, 0));
      });
      if (!more) return {TExchangeResult::Cancelled, "Exportation annulée : aucun fichier n'a été écrit"_a};
    }
    writer.SaveToFile(Path);
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, "Exportation impossible : "_a + E.Message};
  }
  return {TExchangeResult::Done, "Fin de l'exportation"};
}

namespace {

// One dictionary row to bring up to date: the key and the compared columns with their texts
// (booleans as "1" or "0").
struct TRowUpdate {
  String Table;
  String KeyColumn;
  String Key;
  std::vector<std::pair<String, String>> Values;
};

// Prepared statements and column kinds of the import, kept for the whole run.
class TDictionaryWriter {
 public:
  explicit TDictionaryWriter(SqliteSession& Session) : FSession(Session) {}

  void Apply(const TRowUpdate& U) {
    String columns;
    for (const auto& v : U.Values) columns += (columns.empty() ? "" : ", ") + v.first;
    SqliteStatement& find = Statement("select " + columns + " from " + U.Table + " where " + U.KeyColumn + " = ?");
    find.Reset();
    BindValue(find, 1, U.Table, U.KeyColumn, U.Key);
    bool found = find.Step();
    if (found) {
      bool same = true;
      for (std::size_t i = 0; i < U.Values.size() && same; ++i)
        same = ColumnAsText(find, int(i)) == U.Values[i].second;
      find.Reset();
      if (same) return;
      String sets;
      for (const auto& v : U.Values) sets += (sets.empty() ? "" : ", ") + v.first + " = ?";
      SqliteStatement& update = Statement("update " + U.Table + " set " + sets + " where " + U.KeyColumn + " = ?");
      int i = 1;
      for (const auto& v : U.Values) BindValue(update, i++, U.Table, v.first, v.second);
      BindValue(update, i, U.Table, U.KeyColumn, U.Key);
      update.Execute();
    } else {
      find.Reset();
      String marks = "?";
      for (std::size_t i = 0; i < U.Values.size(); ++i) marks += ", ?";
      SqliteStatement& insert =
          Statement("insert into " + U.Table + " (" + U.KeyColumn + ", " + columns + ") values (" + marks + ")");
      BindValue(insert, 1, U.Table, U.KeyColumn, U.Key);
      int i = 2;
      for (const auto& v : U.Values) BindValue(insert, i++, U.Table, v.first, v.second);
      insert.Execute();
    }
  }

 private:
  SqliteStatement& Statement(const String& Sql) {
    auto it = FStatements.find(Sql);
    if (it == FStatements.end())
      it = FStatements.emplace(Sql, std::make_unique<SqliteStatement>(FSession.Prepare(Sql))).first;
    return *it->second;
  }

  TSqliteColumnKind Kind(const String& Table, const String& Column) {
    auto it = FKinds.find(Table + "." + Column);
    if (it != FKinds.end()) return it->second;
    for (const TSqliteColumnInfo& c : FSession.TableColumns(Table))
      FKinds[Table + "." + c.Name] = ColumnKindOf(c.DeclaredType);
    return FKinds[Table + "." + Column];
  }

  // Empty text is null; numbers are read with the decimal comma (EConvertError otherwise).
  void BindValue(SqliteStatement& S, int Index, const String& Table, const String& Column, const String& Text) {
    if (Text.empty()) {
      S.BindNull(Index);
      return;
    }
    switch (Kind(Table, Column)) {
      case TSqliteColumnKind::Integer:
      case TSqliteColumnKind::Float: S.BindDouble(Index, StrToFloat(Text)); break;
      case TSqliteColumnKind::Boolean: S.BindInt64(Index, TexteVersBooleen(Text) ? 1 : 0); break;
      default: S.BindText(Index, Text); break;
    }
  }

  SqliteSession& FSession;
  std::map<String, std::unique_ptr<SqliteStatement>> FStatements;
  std::map<String, TSqliteColumnKind> FKinds;
};

String B(const String& Text) { return BooleenVersTexte(TexteVersBooleen(Text)); }

// The update a line carries; false for a line that is no dictionary record.
bool ParseDictionaryLine(const String& Line, TRowUpdate& U) {
  String tag = Line.substr(0, 4);
  TExchangeFields f(Line);
  if (tag == "COM|") {
    String code = f.Next(), label = f.Next();
    String dep = code.substr(0, 2) == "97" ? code.substr(0, 3) : code.substr(0, 2);
    U = {"D_COMMUNE", "COM_CODE", code, {{"COM_LIB", label}, {"DEP_CODE", dep}}};
  } else if (tag == "DEP|") {
    String code = f.Next();
    f.Next();
    String label = f.Next(), region = f.Next();
    U = {"D_DEPARTEMENT", "DEP_CODE", code, {{"DEP_LIB", label}, {"REG_CODE", region}}};
  } else if (tag == "RGN|") {
    String code = f.Next();
    f.Next();
    U = {"D_REGION", "REG_CODE", code, {{"REG_LIB", f.Next()}}};
  } else if (tag == "SAQ|" || tag == "ZOH|") {
    String code = f.Next(), label = f.Next();
    if (tag == "SAQ|") U = {"D_ENT_HYDRO", "ENT_HYDRO_CODE", code, {{"ENT_HYDRO_LIB", label}}};
    else U = {"D_ZONE_HYDRO", "ZONE_HYDRO_CODE", code, {{"ZONE_HYDRO_LIB", label}}};
  } else if (tag == "TAH|") {
    String v[10];
    for (String& s : v) s = f.Next();
    U = {"D_TAXON", "TAXON_CODE", v[0],
         {{"TAXON_LATIN", v[1]}, {"TAXON_FR", v[2]}, {"TAXON_CLAS_ORDRE", v[3]}, {"TAXON_FAMILLE", v[4]},
          {"TAXON_THEME", v[5]}, {"TAXON_OISEAUX", B(v[6])}, {"TAXON_ANNEXE_2", B(v[7])},
          {"TAXON_ANNEXE_4", B(v[8])}, {"TAXON_PRIORITAIRE", B(v[9])}}};
  } else if (tag == "IVZ|") {
    String v[9];
    for (String& s : v) s = f.Next();
    if (!v[0].empty()) return false;
    if (v[1] == "ZICO") U = {"D_ZICO", "INV_NATIONAL", v[2], {{"INV_LIB_ZICO", v[5]}}};
    else if (v[1] == "ZNIEFF")
      U = {"D_ZNIEFF", "INV_NATIONAL", v[2],
           {{"INV_REG", v[3]}, {"REG_CODE", v[4]}, {"INV_LIB_ZNIEFF", v[5]}, {"INV_TYPE_ZNIEFF", v[6]},
            {"INV_GEN_ZNIEFF", v[7]}}};
    else if (v[1] == "RAMSAR" || v[1] == "ZPS" || v[1] == "PSIC")
      U = {"D_" + v[1], v[1] == "RAMSAR" ? "INV_EUROP" : "INV_NATIONAL", v[2],
           {{"INV_REG", v[3]}, {"REG_CODE", v[4]}, {"INV_LIB", v[5]}}};
    else return false;
  } else if (tag == "003|") {
    String name = f.Next(), code = f.Next(), label = f.Next();
    String fourth = f.Next(), fifth = f.Next();
    const TNomenclature* n = nullptr;
    for (const TNomenclature& m : Nomenclatures)
      if (name == m.Name) n = &m;
    if (!n) return false;
    U.Table = n->Table;
    U.Key = code;
    U.Values.clear();
    // The nomenclatures' code and label columns, and their third values, by table.
    static const std::map<String, std::vector<String>> Columns = {
        {"D_TYPE_ACTIONS", {"ACTION_CODE", "ACTION_LIB"}}, {"D_SDAGE", {"TSD_CODE", "TSD_LIB"}},
        {"D_INT_FONCT", {"IFZ_CODE", "IFZ_LIB", "IFZ_TYPE"}}, {"D_CORINE_BIO", {"TCB_CODE", "TCB_LIB", "TCB_RANG"}},
        {"D_TYPO_PHY", {"TPC_CODE", "TPC_LIB"}}, {"D_RYTHME_ES", {"RES_CODE", "RES_LIB"}},
        {"D_TYPE_ES", {"TYPE_ES_CODE", "TYPE_ES_LIB"}}, {"D_CONNEXION", {"CONNEXION_CODE", "CONNEXION_LIB"}},
        {"D_SYS_ALT", {"SYS_ALT_CODE", "SYS_ALT_LIB"}}, {"D_FREQ_SUB", {"FREQ_SUB_CODE", "FREQ_SUB_LIB"}},
        {"D_ETE_SUB", {"ETE_SUB_CODE", "ETE_SUB_LIB"}}, {"D_HABITAT", {"HABITAT_CODE", "HABITAT_LIB"}},
        {"D_ACT_HUM", {"ACT_HUM_CODE", "ACT_HUM_LIB"}}, {"D_FACT_INF", {"FAI_CODE", "FAI_LIB"}},
        {"D_VAL_SE", {"VAL_SE_CODE", "VAL_SE_LIB"}}, {"D_STATUT_FONC", {"SFO_CODE", "SFO_LIB"}},
        {"D_MES_PROT_EN", {"MEN_CODE", "MEN_LIB", "MEN_TYPE"}}, {"D_INST_CF", {"ICF_CODE", "ICF_LIB"}},
        {"D_DEL_CARTO", {"DEL_CARTO_CODE", "DEL_CARTO_LIB"}}, {"D_DIAG_HYD", {"DIAG_HYD_CODE", "DIAG_HYD_LIB"}},
        {"D_DIAG_PAT", {"DIAG_PAT_CODE", "DIAG_PAT_LIB"}}};
    const std::vector<String>& c = Columns.at(n->Table);
    U.KeyColumn = c[0];
    U.Values.push_back({c[1], label});
    if (c.size() > 2) U.Values.push_back({c[2], fifth});
    if (n->Extra == TNomenclature::EntreeSortie) {
      // The flags come from what follows the label, whichever field holds them.
      String rest = fourth + "|" + fifth + "|" + f.Next();
      U.Values.push_back({"TYPE_ES_FLGENTREE", BooleenVersTexte(rest.find('E') != String::npos)});
      U.Values.push_back({"TYPE_ES_FLGSORTIE", BooleenVersTexte(rest.find('S') != String::npos)});
    }
  } else {
    return false;
  }
  return true;
}

}  // namespace

TExchangeResult ImportDictionnaires(SqliteSession& Session, const String& Path, IExchangeHost& Host) {
  std::vector<String> lines;
  try {
    lines = SplitLines(ReadFileBytes(Path));
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, E.Message};
  }
  if (lines.empty()) return {TExchangeResult::Refused, "Le fichier est vide : rien n'a été importé"_a};
  if (!TrailerMatches(lines, KindDictionary)) return {TExchangeResult::Refused, "Nombre de trame erroné"_a};

  Host.ProgressStart(int(lines.size()), String());
  std::vector<String> log;
  bool cancelled = false;
  {
    TDictionaryWriter writer(Session);
    // One transaction for speed; a refused row fails its own statement only, and a cancel
    // keeps the rows already written, as row-by-row writing would.
    SqliteTransaction transaction(Session);
    for (const String& line : lines) {
      if (Host.CancelRequested()) {
        cancelled = true;
        break;
      }
      String tag = line.substr(0, 4);
      TRowUpdate update;
      if (IsHeaderStart(tag) || tag == "002|") {
        Host.ProgressStep();
      } else if (ParseDictionaryLine(line, update)) {
        try {
          writer.Apply(update);
        } catch (const Exception& E) {
          log.push_back("Trame : " + line + " Erreur : " + E.Message);
        }
        Host.ProgressStep();
      }
    }
    transaction.Commit();
  }
  try {
    WriteErrorLog(Path, log);
  } catch (const Exception& E) {
    log.push_back(E.Message);
  }
  if (cancelled) return {TExchangeResult::Cancelled, "Importation annulée : les lignes déjà lues ont été enregistrées"_a};
  if (!log.empty())
    return {TExchangeResult::Failed, IntToStr(static_cast<long long>(log.size())) +
                                         " ligne(s) refusée(s), répertoriée(s) dans le fichier erreur.log"_a};
  return {TExchangeResult::Done, "Fin de l'importation"};
}

}  // namespace Exchange
