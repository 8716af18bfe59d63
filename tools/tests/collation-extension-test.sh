#!/usr/bin/env bash
# Tests of the collation extension with the stock sqlite3 tool: without it the tool cannot use the
# indexes of text columns; with it the tool checks the starting database, adds a commune, deletes
# another and compacts the file (which rebuilds every index in the extension's order); then the
# program reads the file (a test of base_tests, which checks every index in its own order).
#
#   collation-extension-test.sh EXTENSION STARTING.mdb WORK-FOLDER BASE-TESTS-PROGRAM
set -uo pipefail
extension=$1
starting=$2
work=$3
reader=$4
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
rm -rf "$work" && mkdir -p "$work"
database=$work/velbor.mdb
cp "$starting" "$database"
passed=0
failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: expected [$2], got [$3]"; fi
}
contains() {  # contains NAME EXPECTED-PART ACTUAL
  if [[ "$3" == *"$2"* ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: [$2] not in [$3]"; fi
}
plain() { sqlite3 -batch -bail "$database" "$@" 2>&1; }
loaded() { sqlite3 -batch -bail "$database" -cmd ".load ${extension%.so}" "$@" 2>&1; }

contains "without the extension: the check fails" "no such collation sequence: VELBOR" "$(plain 'PRAGMA integrity_check')"
contains "without the extension: counting fails" "no such collation sequence: VELBOR" "$(plain 'SELECT count(*) FROM D_COMMUNE')"

check "starting database: sound" ok "$(loaded 'PRAGMA integrity_check')"
communes=$(loaded 'SELECT count(*) FROM D_COMMUNE')
check "starting database: communes counted" yes "$([ "$communes" -gt 34000 ] 2>/dev/null && echo yes)"
# The key ignores case, as the program's order does; an accent makes another text.
check "code found whatever its case" "2A004|Ajaccio" "$(loaded "SELECT COM_CODE, COM_LIB FROM D_COMMUNE WHERE COM_CODE = '2a004'")"
check "name compared without case" 1 "$(loaded "SELECT count(*) FROM D_COMMUNE WHERE COM_LIB = 'AJACCIO'")"
check "accents count" 0 "$(loaded "SELECT count(*) FROM D_COMMUNE WHERE COM_LIB = 'Ajàccio'")"

check "insert" "" "$(loaded "INSERT INTO D_COMMUNE VALUES ('2A999', 'Île-Test', '2A')")"
contains "a code differing by case alone is a duplicate" "UNIQUE constraint failed: D_COMMUNE.COM_CODE" \
         "$(loaded "INSERT INTO D_COMMUNE VALUES ('2a999', 'Autre', '2A')")"
check "delete" "" "$(loaded "DELETE FROM D_COMMUNE WHERE COM_CODE = '2a004'")"
check "vacuum" "" "$(loaded 'VACUUM')"
check "sound after the changes" ok "$(loaded 'PRAGMA integrity_check')"
check "as many communes" "$communes" "$(loaded 'SELECT count(*) FROM D_COMMUNE')"

# The program reads what the tool wrote.
VELBOR_TOOL_WRITTEN_DATABASE=$database "$scripts/run-test.sh" "$reader" \
  --gtest_filter='DatabaseTest.AFileWrittenByTheStockToolWithTheCollationExtensionReadsBack' >"$work/reader.txt" 2>&1
status=$?
check "the program reads it" 0 "$status"
check "the program's test ran" yes "$(grep -q '^\[       OK \] DatabaseTest.AFileWrittenByTheStockTool' "$work/reader.txt" && echo yes)"
[ "$failed" -eq 0 ] || cat "$work/reader.txt"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
