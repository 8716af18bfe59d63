// This file implements the inventory transfers: the export (one ZHI, PNZ and VAZ record per
// wetland, then one record per row of its 31 exported detail tables, written at the end) and the
// all-or-nothing import (main records first, sorted, then the detail records in file order).
#include "InventoryExchange.h"

#include <algorithm>
#include <map>
#include <memory>

#include "ExchangeFile.h"
#include "ExchangeRows.h"
#include "FloatFormat.h"
#include "OsPort.h"
#include "SqliteSession.h"
#include "SqliteStatement.h"
#include "StrUtils.h"
#include "TextOrder.h"

namespace Exchange {

namespace {

// A detail record: its tag, its table and its fields, each a column name or "#k" for the k-th
// column of the table (the format fixes some fields by position).
struct TDetailRecord {
  const char* Tag;
  const char* Table;
  std::vector<const char*> Fields;
};

// In the order the records follow the wetland's ZHI, PNZ and VAZ records.
const TDetailRecord DetailRecords[] = {
    {"AZH", "T_ALIAS", {"ZH_CODE", "ALIAS_LIB"}},
    {"HFZ", "T_HISTORIQUE", {"ZH_CODE", "HISTO_DATE", "HISTO_ORGANISME", "HISTO_AUTEUR", "ACTION_CODE"}},
    {"RBZ", "T_REF_BIBLIO", {"ZH_CODE", "REF_TITRE", "REF_AUTEUR", "REF_ANNEE"}},
    {"IZH", "T_IGN", {"ZH_CODE", "CARTE_IGN_CODE", "CARTE_IGN_NOM", "CARTE_IGN_SERIE", "CARTE_IGN_ECHELLE"}},
    {"CDZ", "T_DEL_CARTO_ZH", {"ZH_CODE", "DEL_CARTO_CODE"}},
    {"CMZ", "T_COMMUNE_ZH", {"ZH_CODE", "COM_CODE"}},
    {"EHZ", "T_SYS_AQUI_ZH", {"ZH_CODE", "ENT_HYDRO_CODE"}},
    {"BHZ", "T_ZONE_HYDRO_ZH", {"ZH_CODE", "ZONE_HYDRO_CODE"}},
    {"SDZ", "T_SDAGE_ZH", {"ZH_CODE", "TSD_CODE", "SDZ_TYPO"}},
    {"CBZ", "T_CORINE_BIO_ZH", {"ZH_CODE", "TCB_CODE", "TCB_FLG"}},
    {"PCZ", "T_TYPO_PHY_ZH", {"ZH_CODE", "TPC_CODE"}},
    {"SEZ", "T_SORTIE_EAU_ZH", {"ZH_CODE", "RES_CODE", "TYPE_ES_CODE"}},
    {"EEZ", "T_ENT_EAU_ZH", {"ZH_CODE", "RES_CODE", "TYPE_ES_CODE"}},
    {"FHZ", "T_FONCT_HYDRO_ZH", {"ZH_CODE", "IFZ_CODE", "FHZ_RANG"}},
    {"QUZ", "T_QUALITE_EAU_ZH", {"ZH_CODE", "#2", "#3"}},
    {"IVZ", "T_INVENTAIRE", {}},  // fields made by InventoryFields
    {"AOZ", "T_OISEAUX_ZH", {"ZH_CODE", "#2"}},
    {"EVH", "T_ESP_VEG_ZH", {"ZH_CODE", "#2"}},
    {"EAH", "T_ESP_ANI_ZH", {"ZH_CODE", "#2"}},
    {"HAZ", "T_HABITAT_ZH", {"ZH_CODE", "HABITAT_CODE"}},
    {"AAZ", "T_ACT_HUM_ZH2", {"ZH_CODE", "#2", "#3", "#4"}},
    {"ASZ", "T_ACT_HUM_ZH", {"ZH_CODE", "ACT_HUM_CODE", "ACT_HUM_ZH_ORDRE", "ACT_HUM_ZH_REM"}},
    {"FBZ", "T_FONCT_BIO_ZH", {"ZH_CODE", "IFZ_CODE", "FBZ_ORDRE", "FBZ_REM"}},
    {"FAZ", "T_FACT_INF_ZH1", {"ZH_CODE", "FAI_CODE", "FSZ_ORDRE"}},
    {"FSZ", "T_FACT_INF_ZH2", {"ZH_CODE", "FAI_CODE", "FSZ_ORDRE"}},
    {"VSZ", "T_VAL_SE_ZH", {"ZH_CODE", "VAL_SE_CODE", "VSZ_ORDRE", "VSZ_REM"}},
    {"SFZ", "T_STATUT_FONC_ZH", {"ZH_CODE", "SFO_CODE", "SFZ_ORDRE", "SFZ_REM"}},
    {"MEZ", "T_MES_PROT_ZH", {"ZH_CODE", "MEN_CODE", "MEN_ORDRE", "MEZ_REM"}},
    {"MMA", "T_MES_PROT_MA", {"ZH_CODE", "MEN_CODE", "MMA_CODE", "MMA_REM"}},
    {"ICZ", "T_INST_CF_ZH", {"ZH_CODE", "ICF_CODE", "ICZ_DATE", "ICZ_DUREE", "ICZ_REM"}},
    {"ORZ", "T_ORIENT_ZH", {"ZH_CODE", "ORZ_RANG", "ORZ_RECOM", "ORZ_MODAL"}},
};

// The fields of the records taken from T_ZONE_HUMIDE, in their order.
const std::vector<String> ZhiNames = {
    "ZH_CODE",       "ZH_NOM",       "ZH_STATUT",   "ZH_TYPE",      "ZH_FILIATION", "ZH_NOM_ENVELOPPE",
    "ZH_CARTE",      "ZH_MENACE",    "ZH_DESC_PAYS", "ZH_DESC_PAYS_AUTOUR", "ZH_ALTITUDE", "ZH_SYS_ALT",
    "ZH_SUPERFICIE", "ZH_PRECISION", "ZH_LONGUEUR", "ZH_CONNEXION", "ZH_FLGCANAUX", "ZH_FLGOUVRAGE",
    "ZH_FLGMESURE",  "ZH_ETENDUE",   "ZH_FREQUENCE", "ZH_COMMENTAIRE"};
const std::vector<String> PnzNames = {"ZH_CODE",       "ZH_NBR_VEG",  "ZH_INF_VEG", "ZH_NBR_2_4",
                                      "ZH_NBR_OISEAU", "ZH_INF_ANIM", "ZH_NBR_HAB", "ZH_INF_HAB"};
const std::vector<String> VazNames = {"ZH_CODE",           "ZH_DIAG_PAT",  "ZH_DIAG_PAT_REM", "ZH_DIAG_HYDRO",
                                      "ZH_DIAG_HYDRO_REM", "ZH_FONCT_VAL", "ZH_MENACE"};

// A statement prepared once for the run, with its columns found by name.
class TRowReader {
 public:
  TRowReader(SqliteSession& Session, const String& Sql) : FStatement(Session.Prepare(Sql)) {
    for (int i = 0; i < FStatement.ColumnCount(); ++i) FNames.push_back(UpperCase(FStatement.ColumnName(i)));
  }
  SqliteStatement& Statement() { return FStatement; }

  // The index of a column name or "#k"; EDatabaseError when the table has no such column.
  int IndexOf(const String& Field) const {
    if (!Field.empty() && Field[0] == '#') return StrToInt(Field.substr(1)) - 1;
    for (std::size_t i = 0; i < FNames.size(); ++i)
      if (FNames[i] == Field) return int(i);
    throw EDatabaseError("Colonne " + Field + " introuvable dans " + FStatement.Sql());
  }
  String Text(const String& Field) const { return ColumnAsText(FStatement, IndexOf(Field)); }
  bool IsNull(const String& Field) const { return FStatement.ColumnIsNull(IndexOf(Field)); }
  double Number(const String& Field) const { return IsNull(Field) ? 0.0 : FStatement.ColumnDouble(IndexOf(Field)); }

 private:
  SqliteStatement FStatement;
  std::vector<String> FNames;
};

std::vector<String> NamesOf(const std::vector<const char*>& Fields) { return {Fields.begin(), Fields.end()}; }

// The IVZ record of a row of T_INVENTAIRE: the kind and generation come from INV_TYPE.
std::vector<String> InventoryFields(const TRowReader& Row, const String& Code) {
  String kind, generation, type = Trim(Row.Text("INV_TYPE"));
  int value = 0;
  if (!TryStrToInt(type, value))
    throw EConvertError("zone humide " + Code + ", table T_INVENTAIRE, champ INV_TYPE : '" + type +
                        "' n'est pas un nombre entier");
  switch (value) {
    case 1: kind = "ZNIEFF"; generation = "1"; break;
    case 2: kind = "ZNIEFF"; generation = "2"; break;
    case 3: kind = "ZICO"; break;
    case 4: kind = "RAMSAR"; break;
    case 5: kind = "PSIC"; break;
    case 6: kind = "ZPS"; break;
    default: break;
  }
  return {Row.Text("ZH_CODE"), kind, Row.Text("INV_CODE"), "", "", Row.Text("INV_LIB"), generation, generation,
          Row.Text("INV_COUV")};
}

const String Cancelled = "Exportation annulée : le fichier n'a pas été écrit"_a;

}  // namespace

TExchangeResult ExportInventaire(SqliteSession& Session, const String& FirstCode, const String& LastCode,
                                 const String& Path, TDateTime Today, IExchangeHost& Host) {
  String target = StringReplace(Path, "\"", "", rfReplaceAll);
  String shown = Path;
  if (shown.size() >= 2 && shown.front() == '"' && shown.back() == '"') shown = shown.substr(1, shown.size() - 2);
  String folder = FolderOf(target);
  if (target.empty() || (!folder.empty() && !OsPort::DirectoryExists(folder)))
    return {TExchangeResult::Refused, "Le chemin " + target + " n'est pas valide\r\nVeuillez recommencer !"};
  if (!FirstCode.empty() && !LastCode.empty() && FirstCode > LastCode)
    return {TExchangeResult::Refused, "La zone humide de début doit être inférieure à celle de fin"_a};

  try {
    // The range is bound, never pasted: a code is the operator's text.
    String where = " where 1 = 1";
    if (!FirstCode.empty()) where += " and ZH_CODE >= ?";
    if (!LastCode.empty()) where += " and ZH_CODE <= ?";
    auto bindRange = [&](SqliteStatement& S) {
      int i = 1;
      if (!FirstCode.empty()) S.BindText(i++, FirstCode);
      if (!LastCode.empty()) S.BindText(i++, LastCode);
    };
    SqliteStatement count = Session.Prepare("select count(*) from T_ZONE_HUMIDE" + where);
    bindRange(count);
    int total = count.Step() ? int(count.ColumnInt64(0)) : 0;
    Host.ProgressStart(total, String());

    TRowReader wetlands(Session, "select * from T_ZONE_HUMIDE" + where + " order by ZH_CODE");
    bindRange(wetlands.Statement());
    std::vector<std::unique_ptr<TRowReader>> details;
    for (const TDetailRecord& d : DetailRecords) {
      String distinct = String(d.Table) == "T_ALIAS" ? "" : "distinct ";
      details.push_back(std::make_unique<TRowReader>(
          Session, "select " + distinct + "* from " + d.Table + " where ZH_CODE = ?"));
    }

    TExchangeWriter writer(KindInventory, shown, Today);
    const std::vector<String> ivzNames = {"ZH_CODE", "INV_TYPE", "INV_CODE", "", "", "INV_LIB", "INV_TYPE", "INV_TYPE",
                                          "INV_COUV"};

    while (wetlands.Statement().Step()) {
      if (Host.CancelRequested()) return {TExchangeResult::Cancelled, Cancelled};
      const TRowReader& w = wetlands;
      String code = w.Text("ZH_CODE");
      String context = "Zone humide " + code;

      std::vector<String> zhi;
      for (const String& name : ZhiNames) {
        if (name == "ZH_STATUT") zhi.push_back(w.Text(name) == "A" ? "Active" : "Gelé"_a);
        else if (name == "ZH_ALTITUDE") zhi.push_back(NombreVersTexte(Arrondi(w.Number(name), 0)));
        else if (name == "ZH_SUPERFICIE") zhi.push_back(NombreVersTexte(Arrondi(w.Number(name), 4)));
        else if (name == "ZH_LONGUEUR") zhi.push_back(NombreVersTexte(Arrondi(w.Number(name), 3)));
        else zhi.push_back(w.Text(name));
      }
      writer.AddRecord("ZHI", zhi, context, ZhiNames);
      for (const auto& [tag, names] : {std::pair<const char*, const std::vector<String>*>{"PNZ", &PnzNames},
                                       std::pair<const char*, const std::vector<String>*>{"VAZ", &VazNames}}) {
        std::vector<String> fields;
        for (const String& name : *names) fields.push_back(w.Text(name));
        writer.AddRecord(tag, fields, context, *names);
      }

      for (std::size_t t = 0; t < details.size(); ++t) {
        const TDetailRecord& d = DetailRecords[t];
        TRowReader& rows = *details[t];
        rows.Statement().Reset();
        rows.Statement().BindText(1, code);
        String where = context + ", table " + d.Table;
        while (rows.Statement().Step()) {
          if (d.Fields.empty()) {
            writer.AddRecord(d.Tag, InventoryFields(rows, code), where, ivzNames);
          } else {
            std::vector<String> fields;
            for (const char* f : d.Fields) fields.push_back(rows.Text(f));
            writer.AddRecord(d.Tag, fields, where, NamesOf(d.Fields));
          }
          if (Host.CancelRequested()) return {TExchangeResult::Cancelled, Cancelled};
        }
      }
      Host.ProgressStep();
    }
    writer.SaveToFile(target);
  } catch (const EExchangeValue& E) {
    return {TExchangeResult::Refused, "Exportation refusée, aucun fichier n'a été écrit : "_a + E.Message};
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, "Exportation impossible, aucun fichier n'a été écrit : "_a + E.Message};
  }
  return {TExchangeResult::Done, "Fin de l'exportation"};
}

namespace {

// The prepared statements, column kinds and value conversions of an import run.
class TInventoryWriter {
 public:
  explicit TInventoryWriter(SqliteSession& Session) : FSession(Session) {}

  // Runs the parser of the record's tag; raises on a refused row or a value that does not convert.
  void Apply(const String& Record) {
    String tag = Record.substr(0, 4);
    TExchangeFields f(Record, true);
    if (tag == "ZHI|") return MainRecord(f);
    if (tag == "PNZ|" || tag == "VAZ|") return UpdateMain(tag == "PNZ|" ? PnzNames : VazNames, f);
    if (tag == "IVZ|") return Inventory(f);
    for (const TDetailRecord& d : DetailRecords)
      if (tag == String(d.Tag) + "|") return Detail(d, f);
    // Tags in small letters ("zhi|" too) pass the record-start tests but have no parser.
    throw EExchangeValue("enregistrement inconnu \"" + tag + "\"");
  }

  // Drops the prepared statements (before a rollback or a copy over the database).
  void Clear() { FStatements.clear(); }

 private:
  void MainRecord(TExchangeFields& F) {
    std::vector<String> v;
    for (std::size_t i = 0; i < ZhiNames.size(); ++i) v.push_back(F.Next());
    const String& code = v[0];
    if (code.empty()) throw EExchangeValue("zone humide sans code");
    for (const TDetailRecord& d : DetailRecords) Run("delete from " + String(d.Table) + " where ZH_CODE = ?", code);
    Run("delete from T_ZONE_HUMIDE where ZH_CODE = ?", code);

    String columns, marks;
    for (const String& n : ZhiNames) {
      columns += (columns.empty() ? "" : ", ") + n;
      marks += marks.empty() ? "?" : ", ?";
    }
    SqliteStatement& insert = Statement("insert into T_ZONE_HUMIDE (" + columns + ") values (" + marks + ")");
    for (std::size_t i = 0; i < ZhiNames.size(); ++i) {
      const String& name = ZhiNames[i];
      int index = int(i) + 1;
      if (name == "ZH_STATUT") insert.BindText(index, v[i] == "Active" ? "A" : "G");
      else if (name == "ZH_ALTITUDE") BindRounded(insert, index, v[i], 0);
      else if (name == "ZH_SUPERFICIE") BindRounded(insert, index, v[i], 4);
      else if (name == "ZH_LONGUEUR") BindRounded(insert, index, v[i], 3);
      else Bind(insert, index, "T_ZONE_HUMIDE", name, v[i]);
    }
    insert.Execute();
  }

  // PNZ and VAZ change the row their ZHI wrote; VAZ keeps the two diagnostics when empty.
  void UpdateMain(const std::vector<String>& Names, TExchangeFields& F) {
    String code = F.Next(), sets;
    std::vector<String> v;
    for (std::size_t i = 1; i < Names.size(); ++i) {
      v.push_back(F.Next());
      bool keep = Names[i] == "ZH_DIAG_PAT" || Names[i] == "ZH_DIAG_HYDRO";
      sets += (sets.empty() ? "" : ", ") + Names[i] + (keep ? " = coalesce(?, " + Names[i] + ")" : " = ?");
    }
    SqliteStatement& update = Statement("update T_ZONE_HUMIDE set " + sets + " where ZH_CODE = ?");
    for (std::size_t i = 0; i < v.size(); ++i) Bind(update, int(i) + 1, "T_ZONE_HUMIDE", Names[i + 1], v[i]);
    update.BindText(int(v.size()) + 1, code);
    if (update.Execute() == 0) throw EDatabaseError("La zone humide " + code + " n'existe pas");
  }

  void Inventory(TExchangeFields& F) {
    String v[9];
    for (String& s : v) s = F.Next();
    if (v[0].empty() || v[2].empty()) return;
    int type = 7;
    if (v[1] == "ZNIEFF" && v[6] == "1") type = 1;
    else if (v[1] == "ZNIEFF" && v[6] == "2") type = 2;
    else if (v[1] == "ZICO") type = 3;
    else if (v[1] == "RAMSAR") type = 4;
    else if (v[1] == "PSIC") type = 5;
    else if (v[1] == "ZPS") type = 6;
    SqliteStatement& insert = Statement(
        "insert into T_INVENTAIRE (ZH_CODE, INV_TYPE_ZNIEFF, INV_TYPE, INV_CODE, INV_LIB, INV_COUV) "
        "values (?, ?, ?, ?, ?, ?)");
    const char* columns[] = {"ZH_CODE", "INV_TYPE_ZNIEFF", "INV_TYPE", "INV_CODE", "INV_LIB", "INV_COUV"};
    String values[] = {v[0], v[6], IntToStr(type), v[2], v[5], v[8]};
    for (int i = 0; i < 6; ++i) Bind(insert, i + 1, "T_INVENTAIRE", columns[i], values[i]);
    insert.Execute();
  }

  // One row of a detail table, its fields put in the columns the export took them from. History
  // and bibliography rows need only their code, the others also their second field.
  void Detail(const TDetailRecord& D, TExchangeFields& F) {
    std::vector<String> v;
    for (std::size_t i = 0; i < D.Fields.size(); ++i) v.push_back(F.Next());
    bool codeOnly = String(D.Table) == "T_HISTORIQUE" || String(D.Table) == "T_REF_BIBLIO";
    if (v[0].empty() || (!codeOnly && v[1].empty())) return;
    std::vector<String> columns;
    String list, marks;
    for (const char* field : D.Fields) {
      String column = field;
      if (column[0] == '#') column = Columns(D.Table).at(std::size_t(StrToInt(column.substr(1)) - 1)).Name;
      columns.push_back(column);
      list += (list.empty() ? "" : ", ") + column;
      marks += marks.empty() ? "?" : ", ?";
    }
    SqliteStatement& insert = Statement("insert into " + String(D.Table) + " (" + list + ") values (" + marks + ")");
    for (std::size_t i = 0; i < v.size(); ++i) Bind(insert, int(i) + 1, D.Table, columns[i], v[i]);
    insert.Execute();
  }

  void Run(const String& Sql, const String& Code) {
    SqliteStatement& s = Statement(Sql);
    s.BindText(1, Code);
    s.Execute();
  }

  SqliteStatement& Statement(const String& Sql) {
    auto it = FStatements.find(Sql);
    if (it == FStatements.end())
      it = FStatements.emplace(Sql, std::make_unique<SqliteStatement>(FSession.Prepare(Sql))).first;
    it->second->Reset();
    it->second->ClearBindings();
    return *it->second;
  }

  const std::vector<TSqliteColumnInfo>& Columns(const String& Table) {
    auto it = FColumns.find(Table);
    if (it == FColumns.end()) it = FColumns.emplace(Table, FSession.TableColumns(Table)).first;
    return it->second;
  }

  // Empty text is null (a boolean false); numbers take the decimal comma, dates the format's
  // yyyy/mm/dd; EConvertError otherwise.
  void Bind(SqliteStatement& S, int Index, const String& Table, const String& Column, const String& Text) {
    TSqliteColumnKind kind = TSqliteColumnKind::Text;
    for (const TSqliteColumnInfo& c : Columns(Table))
      if (SameText(c.Name, Column)) kind = ColumnKindOf(c.DeclaredType);
    if (kind == TSqliteColumnKind::Boolean) return S.BindInt64(Index, TexteVersBooleen(Text) ? 1 : 0);
    if (Text.empty()) return S.BindNull(Index);
    switch (kind) {
      case TSqliteColumnKind::Integer:
      case TSqliteColumnKind::Float: S.BindDouble(Index, StrToFloat(Text)); break;
      case TSqliteColumnKind::Date: S.BindDouble(Index, TexteVersDate(Text)); break;
      default: S.BindText(Index, Text); break;
    }
  }

  void BindRounded(SqliteStatement& S, int Index, const String& Text, int Decimals) {
    if (Text.empty()) S.BindNull(Index);
    else S.BindDouble(Index, Arrondi(StrToFloat(Text), Decimals));
  }

  SqliteSession& FSession;
  std::map<String, std::unique_ptr<SqliteStatement>> FStatements;
  std::map<String, std::vector<TSqliteColumnInfo>> FColumns;
};

// The work list: the main records (with their continuation lines) sorted by code, then the data
// records in file order, each with its continuation lines joined by ESC. False on a cancel.
bool BuildWorkList(const std::vector<String>& Lines, IExchangeHost& Host, std::vector<String>& Work) {
  std::vector<String> main;
  String record;
  bool inside = false;
  for (const String& line : Lines) {
    if (Host.CancelRequested()) return false;
    String start = line.substr(0, 4);
    if (IsMainStart(start)) {
      if (inside) main.push_back(record);
      inside = true;
      record = line;
    } else if (inside && !IsHeaderStart(start) && !IsDataStart(start)) {
      record += Esc + line;
    } else if (inside) {
      inside = false;
      main.push_back(record);
      record.clear();
    }
    Host.ProgressStep();
  }
  if (inside) main.push_back(record);
  std::stable_sort(main.begin(), main.end(),
                   [](const String& A, const String& B) { return AnsiCompareText(A, B) < 0; });
  Work = main;

  record.clear();
  for (const String& line : Lines) {
    if (Host.CancelRequested()) return false;
    String start = line.substr(0, 4);
    bool data = IsDataStart(start);
    if (data || IsHeaderStart(start) || IsMainStart(start)) {
      if (!record.empty()) Work.push_back(record);
      record = data ? line : String();
    } else if (!record.empty()) {
      record += Esc + line;
    }
    Host.ProgressStep();
  }
  if (!record.empty()) Work.push_back(record);
  return true;
}

const String UnchangedBase = "Votre base d'inventaires est restée dans son état de départ."_a;

}  // namespace

TExchangeResult ImportInventaire(SqliteSession& Session, const String& Path, IExchangeHost& Host) {
  String file = StringReplace(Path, "\"", "", rfReplaceAll);
  std::vector<String> lines;
  try {
    lines = SplitLines(ReadFileBytes(file));
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, E.Message};
  }
  if (lines.empty()) return {TExchangeResult::Refused, "Le fichier est vide : rien n'a été importé"_a};
  if (!TrailerMatches(lines, KindInventory)) return {TExchangeResult::Refused, "Nombre de trame erroné"_a};

  String backup = FolderOf(Session.FileName()) + "sauvvelbor.mdb";
  try {
    if (OsPort::FileExists(backup) && !OsPort::DeleteFile(backup))
      throw EFCreateError("Impossible de remplacer " + backup + " : " + OsPort::LastErrorMessage());
    SqliteSession copy(backup, TSqliteOpenMode::CreateIfMissing);
    Session.CopyDatabaseTo(copy);
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, "Erreur lors de la sauvegarde de la base : " + E.Message};
  }

  const TExchangeResult cancelled = {TExchangeResult::Cancelled, "Importation annulée. "_a + UnchangedBase};
  Host.ProgressStart(2 * int(lines.size()), "1 - Lecture des données"_a);
  std::vector<String> work;
  if (!BuildWorkList(lines, Host, work)) return cancelled;
  String saved;
  for (const String& r : work) saved += r + "\r\n";
  try {
    WriteFileBytes(file + "2", saved);
  } catch (const Exception& E) {
    return {TExchangeResult::Failed, E.Message + "\r\n" + UnchangedBase};
  }

  Host.ProgressStart(int(work.size()), "2 - Enregistrement des données"_a);
  std::vector<String> log;
  bool stopped = false;
  String failure;
  TInventoryWriter writer(Session);
  try {
    Session.BeginTransaction();
    for (const String& record : work) {
      if (Host.CancelRequested()) {
        stopped = true;
        break;
      }
      try {
        writer.Apply(record);
      } catch (const Exception& E) {
        // One line per refused record: the engine's messages may span lines.
        String why = StringReplace(NormaliseLineBreaks(E.Message), "\r\n", " ", rfReplaceAll);
        log.push_back("Trame : " + record + " Erreur : " + why);
      }
      Host.ProgressStep();
    }
    if (!stopped && log.empty()) Session.Commit();
  } catch (const Exception& E) {
    failure = E.Message;  // the transaction could not start or commit
  }
  writer.Clear();

  if (stopped || !log.empty() || !failure.empty()) {
    // All or nothing: the rollback undoes every row; should it fail, the copy goes back in.
    String restoreError;
    try {
      if (Session.InTransaction()) Session.Rollback();
    } catch (const Exception& E) {
      try {
        SqliteSession copy(backup, TSqliteOpenMode::OpenExisting);
        copy.CopyDatabaseTo(Session);
      } catch (const Exception& F) {
        restoreError = E.Message + " ; " + F.Message;
      }
    }
    String logError;
    if (!log.empty()) {
      try {
        WriteErrorLog(file, log);
      } catch (const Exception& E) {
        logError = "\r\n" + E.Message;
      }
    }
    String outcome = restoreError.empty()
                         ? UnchangedBase
                         : "La base n'a pas pu être remise dans son état de départ ("_a + restoreError +
                               ").\r\nUne copie de la base prise avant l'importation se trouve dans "_a + backup + ".";
    if (stopped && log.empty()) return {TExchangeResult::Cancelled, "Importation annulée.\r\n"_a + outcome};
    String why = !failure.empty()
                     ? failure
                     : IntToStr(static_cast<long long>(log.size())) +
                           " erreur(s) répertoriée(s) dans le fichier erreur.log."_a + logError;
    return {stopped ? TExchangeResult::Cancelled : TExchangeResult::Failed,
            "L'importation ne s'est pas effectuée correctement.\r\n"_a + why + "\r\n" + outcome};
  }

  try {
    WriteErrorLog(file, log);  // a clean run deletes an older log
  } catch (const Exception&) {
    // The database is imported; a log that cannot be deleted changes nothing to that.
  }
  OsPort::DeleteFile(file + "2");
  return {TExchangeResult::Done, "Fin de l'importation"};
}

}  // namespace Exchange
