#!/usr/bin/env bash
# Tests of the report-template maker: a layout made into a template whose texts are in the
# program's code page, and a template left untouched, with the faulty line named, when a layout is
# malformed. (That the engine reads the templates it makes is the report commands' tests' part.)
set -uo pipefail
maker=$1
work=$2
rm -rf "$work" && mkdir -p "$work"
cd "$work"
passed=0
failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $1: expected [$2], got [$3]"; fi
}

cat >good.etat <<'LAYOUT'
# A comment may hold an apostrophe: l'inventaire.
report
page margins=38,38,38,38
band ReportTitle Titre height=30
memo Titre x=38 y=0 w=681 h=26 size=14 bold align=center text='Liste de l''inventaire|Été'
LAYOUT
"$maker" good.etat out.zrf
check "good layout: exit status" 0 $?
check "good layout: format version first" 19 "$(head -c1 out.zrf | od -An -tx1 | tr -d ' ')"
# The text in code page 1252 (É is C9, é is E9), the apostrophe single, the lines apart.
check "good layout: texts in the program's code page" yes \
  "$(grep -qaF "$(printf "Liste de l'inventaire")" out.zrf && grep -qaF "$(printf '\xc9t\xe9')" out.zrf && echo yes)"
cp out.zrf before.zrf

bad_case() {  # bad_case NAME LAYOUT-TEXT REASON
  printf 'report\npage\n%s\n' "$2" >bad.etat
  "$maker" bad.etat out.zrf 2>stderr.txt
  local status=$?
  check "$1: refused" 1 "$status"
  check "$1: template untouched" same "$(cmp -s before.zrf out.zrf && echo same)"
  check "$1: no temporary file left" absent "$([ -e out.zrf.tmp ] && echo present || echo absent)"
  check "$1: names the line and says why" yes "$(grep -qF "line 3: $3" stderr.txt && echo yes)"
}
bad_case "unknown statement" "picture P x=1" "unknown statement picture"
bad_case "unterminated quote" "memo M x=1 y=1 w=1 h=1 text='open" "unterminated quote"
bad_case "missing size" "band MasterData Ligne source=zrListe" "band needs height="
bad_case "unknown band kind" "band Middle B height=10" "unknown band kind Middle"
bad_case "not a number" "memo M x=1 y=1 w=wide h=1" "not a number: wide"
bad_case "bad colour" "memo M x=1 y=1 w=1 h=1 fill=red" "colour RRGGBB expected: red"
bad_case "misspelt setting" "memo M x=1 y=1 w=1 h=1 sise=9" "unknown setting sise="
bad_case "unknown flag" "memo M x=1 y=1 w=1 h=1 blink" "unknown memo flag blink"

printf 'page\n' >nostart.etat
"$maker" nostart.etat out.zrf 2>stderr.txt
check "no report line: refused" 1 $?
check "no report line: says why" yes "$(grep -qF "starts with 'report'" stderr.txt && echo yes)"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
