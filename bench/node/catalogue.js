// The catalogue reference page with EJS on better-sqlite3.
//   node catalogue.js DB N BATCHES OUT
// Renders once to warm up, then BATCHES batches of N renders, printing one line
// "batch MS" per batch; the last page rendered goes to OUT. better-sqlite3 cannot
// open SQLCipher files, so DB is a plain copy of the data.
'use strict';
const fs = require('fs');
const path = require('path');
const ejs = require('ejs');
const Database = require('better-sqlite3');

const [dbPath, n, batches, out] = process.argv.slice(2);
// The template's lines end in CR LF on the page, as the engine writes them.
const source = fs.readFileSync(path.join(__dirname, 'catalogue.ejs'), 'utf8').replace(/\r?\n/g, '\r\n');
const template = ejs.compile(source, { filename: 'catalogue.ejs' });
const db = new Database(dbPath, { readonly: true });
const query = db.prepare('SELECT * FROM valves ORDER BY series, dn');
const price = new Intl.NumberFormat('en-US', { minimumFractionDigits: 2, maximumFractionDigits: 2 });

function render() {
  return template({ rows: query.all(), price });
}

let page = render();
for (let b = 0; b < Number(batches); ++b) {
  const start = process.hrtime.bigint();
  for (let i = 0; i < Number(n); ++i) page = render();
  console.log(`batch ${(Number(process.hrtime.bigint() - start) / 1e6).toFixed(3)}`);
}
fs.writeFileSync(out, page);
