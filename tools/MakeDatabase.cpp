// This file implements the tool that makes the starting database: the schema, then the rows of
// CSV files, into a new SQLite file that is put in place only once it is whole.
//
//   MakeDatabase SCHEMA.sql OUTPUT.mdb [TABLE.csv ...]
//
// Each CSV file fills the table it is named after: UTF-8, ';' between fields, a header line naming
// the columns, no quoting; an empty field is NULL. The tool runs on the build machine itself (not
// under Wine), so it registers the program's text collation from the same code the program uses:
// the indexes it builds are then in the order the program reads them in.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "TextOrder.h"

#include "ScopeGuard.h"

namespace {

namespace fs = std::filesystem;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string ReadFile(const fs::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw Failure("cannot read " + Path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// True when Text is well-formed UTF-8 (the program converts every text it reads to 1252).
bool IsUtf8(const std::string& Text) {
  std::size_t size = Text.size();
  for (std::size_t i = 0; i < size;) {
    unsigned char c = static_cast<unsigned char>(Text[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || size - i <= std::size_t(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(Text[i + std::size_t(k)]) & 0xC0) != 0x80) return false;
    }
    i += std::size_t(extra) + 1;
  }
  return true;
}

std::vector<std::string> SplitFields(const std::string& Line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = Line.find(';', start);
    fields.push_back(Line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

std::string Quote(const std::string& Name) {
  std::string out = "\"";
  for (char c : Name) {
    out += c;
    if (c == '"') out += c;
  }
  return out + "\"";
}

int Collate(void*, int LengthA, const void* A, int LengthB, const void* B) {
  return CompareUtf8Text(LengthA, A, LengthB, B);
}

class Database {
 public:
  explicit Database(const fs::path& Path) {
    if (sqlite3_open_v2(Path.string().c_str(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
      std::string message = FDb ? sqlite3_errmsg(FDb) : "out of memory";
      sqlite3_close(FDb);
      throw Failure("cannot create " + Path.string() + ": " + message);
    }
    // The collation's name as the schema declares it (db/SqliteTypes.h).
    if (sqlite3_create_collation_v2(FDb, "VELBOR", SQLITE_UTF8, nullptr, Collate, nullptr) != SQLITE_OK) Fail("collation");
  }
  ~Database() { sqlite3_close(FDb); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Exec(const std::string& Sql, const std::string& What) {
    if (sqlite3_exec(FDb, Sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(What);
  }

  // The single text value of a one-row statement.
  std::string Value(const std::string& Sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(FDb, Sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) Fail(Sql);
    std::string value;
    if (sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(statement, 0);
      value = text ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(statement);
    return value;
  }

  void Load(const fs::path& Csv) {
    std::string table = Csv.stem().string();
    std::string text = ReadFile(Csv);
    if (!IsUtf8(text)) throw Failure(Csv.string() + ": not UTF-8 text");
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line)) throw Failure(Csv.string() + ": no header line");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> columns = SplitFields(line);

    std::string sql = "INSERT INTO " + Quote(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + Quote(columns[i]);
    sql += ") VALUES (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += i ? ", ?" : "?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) Fail(Csv.string() + ": header");

    int number = 1;
    TScopeGuard restore([&] { sqlite3_finalize(insert); });
    while (std::getline(lines, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<std::string> fields = SplitFields(line);
      std::string where = Csv.string() + ":" + std::to_string(number);
      if (fields.size() != columns.size()) {
        throw Failure(where + ": " + std::to_string(fields.size()) + " fields, the header names " +
                      std::to_string(columns.size()));
      }
      for (std::size_t i = 0; i < fields.size(); ++i) {
        int index = int(i) + 1;
        int rc = fields[i].empty() ? sqlite3_bind_null(insert, index)
                                   : sqlite3_bind_text(insert, index, fields[i].data(), int(fields[i].size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) Fail(where);
      }
      if (sqlite3_step(insert) != SQLITE_DONE) Fail(where);
      sqlite3_reset(insert);
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& What) { throw Failure(What + ": " + sqlite3_errmsg(FDb)); }

  sqlite3* FDb = nullptr;
};

void Make(const fs::path& Schema, const fs::path& Output, const std::vector<fs::path>& Tables) {
  std::string schema = ReadFile(Schema);
  if (!Output.parent_path().empty()) fs::create_directories(Output.parent_path());
  fs::path temporary = Output;
  temporary += ".tmp";
  fs::remove(temporary);
  try {
    {
      Database db(temporary);
      db.Exec(schema, Schema.string());
      db.Exec("BEGIN", "BEGIN");
      for (const fs::path& csv : Tables) db.Load(csv);
      db.Exec("COMMIT", "COMMIT");
      // Checks every index against its table under the program's collation.
      std::string check = db.Value("PRAGMA integrity_check");
      if (check != "ok") throw Failure("integrity check: " + check);
    }
    // Only a whole database takes the place of the old one.
    fs::rename(temporary, Output);
  } catch (...) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: MakeDatabase SCHEMA.sql OUTPUT.mdb [TABLE.csv ...]\n");
    return 2;
  }
  try {
    Make(argv[1], argv[2], std::vector<fs::path>(argv + 3, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "MakeDatabase: %s\n", e.what());
    return 1;
  }
  return 0;
}
