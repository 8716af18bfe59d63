#!/usr/bin/env bash
# Tests of the starting-database maker: rows loaded as the CSV files give them, and a database
# left untouched when a file is malformed or a row breaks a rule of the schema.
set -uo pipefail
maker=$1
work=$2
rm -rf "$work" && mkdir -p "$work/good" "$work/bad"
cd "$work"
passed=0
failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: expected [$2], got [$3]"; fi
}

# The text column uses the program's collation, so a duplicate that differs by case alone is
# refused only when the maker registered it.
cat >schema.sql <<'SQL'
CREATE TABLE "T" (
  "CODE" VARCHAR(3) COLLATE VELBOR NOT NULL CONSTRAINT "taille:3:CODE" CHECK (length("CODE") <= 3),
  "N" INT,
  PRIMARY KEY ("CODE")
);
SQL
printf 'CODE;N\nabc;1\nÉté;\n' >good/T.csv

"$maker" schema.sql out.mdb good/T.csv
check "good rows: exit status" 0 $?
# Read without the collation (the shell lacks it): plain selects only, in storage order.
check "good rows: rows, nulls and text" "1:abc null:Été" "$(sqlite3 out.mdb "SELECT coalesce(N, 'null') || ':' || CODE FROM T" | tr '\n' ' ' | sed 's/ $//')"
cp out.mdb before.mdb

bad_case() {  # bad_case NAME CSV-TEXT REASON
  printf "$2" >bad/T.csv
  "$maker" schema.sql out.mdb bad/T.csv 2>stderr.txt
  local status=$?
  check "$1: refused" 1 "$status"
  check "$1: database untouched" same "$(cmp -s before.mdb out.mdb && echo same)"
  check "$1: no temporary file left" absent "$([ -e out.mdb.tmp ] && echo present || echo absent)"
  check "$1: says why" yes "$(grep -qF "$3" stderr.txt && echo yes)"
}
bad_case "field missing" 'CODE;N\nabc\n' 'T.csv:2: 1 fields, the header names 2'
bad_case "field too many" 'CODE;N\nabc;1;2\n' 'T.csv:2: 3 fields'
bad_case "text too long" 'CODE;N\nabcd;1\n' 'T.csv:2: CHECK constraint failed: taille:3:CODE'
bad_case "duplicate by case" 'CODE;N\nabc;1\nABC;2\n' 'T.csv:3: UNIQUE constraint failed'
bad_case "required empty" 'CODE;N\n;1\n' 'T.csv:2: NOT NULL constraint failed'
bad_case "unknown column" 'CODE;NOPE\nabc;1\n' 'no column named NOPE'
bad_case "not UTF-8" 'CODE;N\n\xe9t\xe9;1\n' 'T.csv: not UTF-8'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
