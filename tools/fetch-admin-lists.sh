#!/usr/bin/env bash
# Fetches the administrative reference lists (regions, departments, communes) and writes them as
# the CSV files of base/data/ that the starting database is made from.
#
# Run by hand when the lists are to be brought up to date (the build never needs the network).
# It needs npm and node. The data comes from the package below, built from the national
# statistics office's official geographic code and published under the Licence Ouverte (see the
# "Data" section of README.md); changing the version here is how a newer vintage is taken.
set -euo pipefail

package="@etalab/decoupage-administratif"
version="6.0.0"

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/base/data"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "$package@$version" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work"

mkdir -p "$out"
# Metropolitan and overseas departments and regions only: the overseas collectivities have
# three-character region codes and are not departments of the inventory. Communes are the
# current ones (not the former communes kept as delegated or associated, nor the municipal
# districts of Paris, Lyon and Marseille). Every check below stops the script with nothing
# written, so a package whose data no longer fits the schema is noticed here.
node - "$work/package/data" "$out" <<'EOF'
const fs = require('fs');
const path = require('path');
const [dataDir, outDir] = process.argv.slice(2);
const read = name => JSON.parse(fs.readFileSync(path.join(dataDir, name), 'utf8'));
const kept = zone => zone === 'metro' || zone === 'drom';
const byCode = (a, b) => (a.code < b.code ? -1 : a.code > b.code ? 1 : 0);

const regions = read('regions.json').filter(r => kept(r.zone)).sort(byCode);
const departments = read('departements.json').filter(d => kept(d.zone)).sort(byCode);
const communes = read('communes.json').filter(c => c.type === 'commune-actuelle' && kept(c.zone)).sort(byCode);

// Column sizes of base/schema.sql.
const tables = [
  ['D_REGION', [['REG_CODE', 2], ['REG_LIB', 30]], regions.map(r => [r.code, r.nom])],
  ['D_DEPARTEMENT', [['DEP_CODE', 3], ['DEP_LIB', 25], ['REG_CODE', 2]], departments.map(d => [d.code, d.nom, d.region])],
  ['D_COMMUNE', [['COM_CODE', 5], ['COM_LIB', 50], ['DEP_CODE', 3]], communes.map(c => [c.code, c.nom, c.departement])],
];

const fail = message => { console.error(message); process.exit(1); };
const regionCodes = new Set(regions.map(r => r.code));
const departmentCodes = new Set(departments.map(d => d.code));
for (const d of departments) if (!regionCodes.has(d.region)) fail(`department ${d.code}: unknown region ${d.region}`);
for (const c of communes) {
  if (!departmentCodes.has(c.departement)) fail(`commune ${c.code}: unknown department ${c.departement}`);
  // The dictionary import derives a commune's department from its code the same way.
  const derived = c.code.startsWith('97') ? c.code.slice(0, 3) : c.code.slice(0, 2);
  if (derived !== c.departement) fail(`commune ${c.code}: department ${c.departement}, not ${derived}`);
}

const texts = [];
for (const [table, columns, rows] of tables) {
  const seen = new Set();
  const lines = [columns.map(c => c[0]).join(';')];
  for (const row of rows) {
    row.forEach((value, i) => {
      const [name, size] = columns[i];
      if (typeof value !== 'string' || value === '') fail(`${table} ${row[0]}: ${name} is empty`);
      if (/[;\r\n"]/.test(value)) fail(`${table} ${row[0]}: ${name} holds a separator: ${value}`);
      if ([...value].length > size) fail(`${table} ${row[0]}: ${name} longer than ${size}: ${value}`);
      // The program holds text in code page 1252: Latin-1 plus a few letters such as the oe ligature.
      for (const ch of value) {
        const u = ch.codePointAt(0);
        const outside = (u >= 0x80 && u <= 0x9f) || (u > 0xff && !'ŒœŠšŽžŸ’‘“”–—…€'.includes(ch));
        if (outside) fail(`${table} ${row[0]}: ${name} holds ${ch}`);
      }
    });
    if (seen.has(row[0])) fail(`${table}: code ${row[0]} twice`);
    seen.add(row[0]);
    lines.push(row.join(';'));
  }
  texts.push([table, lines.join('\n') + '\n', rows.length]);
}
for (const [table, text, count] of texts) {
  fs.writeFileSync(path.join(outDir, table + '.csv'), text);
  console.log(`${table}: ${count} rows`);
}
EOF
