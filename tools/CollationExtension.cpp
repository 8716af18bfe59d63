// This file implements the loadable SQLite extension that registers the program's text order as
// the collation the schema declares on every text column, so that stock SQLite tools can check,
// compact and write the database file:
//
//   sqlite3 velbor.mdb -cmd '.load build/tools-host/velbor_collation'
//
// Without it such a tool fails on every statement that reads an index of a text column ("no such
// collation sequence"). The comparison is the program's own code (core/TextOrder.cpp), so the
// indexes a tool writes are in the order the program reads them in.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "SqliteTypes.h"
#include "TextOrder.h"

namespace {

int Collate(void*, int LengthA, const void* A, int LengthB, const void* B) {
  // The host is a C program: nothing may be thrown into it. Comparing two texts allocates; when
  // memory runs out they compare equal, which at worst refuses a row as a duplicate.
  try {
    return CompareUtf8Text(LengthA, A, LengthB, B);
  } catch (...) {
    return 0;
  }
}

int Register(sqlite3* Db, const sqlite3_api_routines* Api) {
  SQLITE_EXTENSION_INIT2(Api);
  return sqlite3_create_collation_v2(Db, kTextCollation, SQLITE_UTF8, nullptr, Collate, nullptr);
}

}  // namespace

// The entry point SQLite looks for in a file named velbor_collation, and the generic one it tries
// first, so that the file may be renamed.
extern "C" __attribute__((visibility("default"))) int sqlite3_velborcollation_init(sqlite3* Db, char**,
                                                                                  const sqlite3_api_routines* Api) {
  return Register(Db, Api);
}

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3* Db, char**,
                                                                            const sqlite3_api_routines* Api) {
  return Register(Db, Api);
}
