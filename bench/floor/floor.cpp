// The floor of the catalogue benchmark: the reference page written by hand in C++,
// reading the password-protected catalogue through SQLCipher directly. It prints
// the same bytes as the engine's page body (the part between the page framing),
// so it is the least any renderer of this page has to spend.
//
//   vantrel_bench_floor DB PASSWORD N BATCHES OUT
//
// Opens DB (with PASSWORD, or plain when PASSWORD is "-"), renders once to warm up,
// then BATCHES batches of N renders, and prints one line "batch MS" per batch
// (milliseconds with microsecond resolution). The last page rendered goes to OUT.
#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace {

void Fail(sqlite3* db, const char* what) {
  std::fprintf(stderr, "floor: %s: %s\n", what, db != nullptr ? sqlite3_errmsg(db) : "");
  std::exit(1);
}

void AppendInt(std::string& out, sqlite3_int64 v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// A value with 2 decimals; with thousands separators when grouped.
void AppendFixed2(std::string& out, double v, bool grouped) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  std::string_view s(buf, static_cast<size_t>(r.ptr - buf));
  if (!grouped) {
    out += s;
    return;
  }
  size_t start = 0;
  if (!s.empty() && s[0] == '-') {
    out += '-';
    start = 1;
  }
  const size_t dot = s.find('.');
  const size_t digits = dot - start;
  for (size_t i = start; i < dot; ++i) {
    out += s[i];
    const size_t left = digits - (i - start) - 1;
    if (left > 0 && left % 3 == 0) out += ',';
  }
  out += s.substr(dot);
}

void AppendEscaped(std::string& out, const unsigned char* text, int n) {
  for (int i = 0; i < n; ++i) {
    const char c = static_cast<char>(text[i]);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&QUOT;"; break;
      default: out += c;
    }
  }
}

void AppendFooter(std::string& out, long count) {
  out += "<tr class=\"count\"><td colspan=\"7\">";
  AppendInt(out, count);
  out += " valves</td></tr>\r\n";
}

std::string Render(sqlite3* db) {
  std::string out;
  out.reserve(160 * 1024);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT * FROM valves ORDER BY series, dn", -1, &st, nullptr) != SQLITE_OK)
    Fail(db, "prepare");
  out += "<table class=\"catalogue\">\r\n";
  std::string series;
  long count = 0;
  bool any = false;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    // Columns: id, series, dn, pn, kvs, material, price, in_stock.
    const auto* s = sqlite3_column_text(st, 1);
    const std::string_view sv(reinterpret_cast<const char*>(s), static_cast<size_t>(sqlite3_column_bytes(st, 1)));
    if (!any || sv != series) {
      if (any) AppendFooter(out, count);
      series.assign(sv);
      count = 0;
      any = true;
      out += "<tr class=\"series\"><th colspan=\"7\">";
      out += series;
      out += "</th></tr>\r\n";
    }
    ++count;
    out += "<tr><td>";
    AppendInt(out, sqlite3_column_int64(st, 0));
    out += "</td><td>";
    AppendInt(out, sqlite3_column_int64(st, 2));
    out += "</td><td>";
    AppendInt(out, sqlite3_column_int64(st, 3));
    out += "</td><td>";
    AppendFixed2(out, sqlite3_column_double(st, 4), false);
    out += "</td><td>";
    AppendEscaped(out, sqlite3_column_text(st, 5), sqlite3_column_bytes(st, 5));
    out += "</td><td>";
    AppendFixed2(out, sqlite3_column_double(st, 6), true);
    out += "</td><td>";
    out += sqlite3_column_int64(st, 7) != 0 ? "yes" : "no";
    out += "</td></tr>\r\n";
  }
  if (rc != SQLITE_DONE) Fail(db, "step");
  if (any) AppendFooter(out, count);
  out += "</table>\r\n";
  sqlite3_finalize(st);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s DB PASSWORD N BATCHES OUT\n", argv[0]);
    return 2;
  }
  const std::string password = argv[2];
  const int n = std::atoi(argv[3]);
  const int batches = std::atoi(argv[4]);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) Fail(db, "open");
  if (password != "-") {
    const std::string key = "PRAGMA key = '" + password + "';";
    if (sqlite3_exec(db, key.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db, "key");
  }
  // Reading the schema derives the key: the database is open before the clock starts.
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) != SQLITE_OK)
    Fail(db, "schema");
  std::string page = Render(db);
  for (int b = 0; b < batches; ++b) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) page = Render(db);
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
    std::printf("batch %.3f\n", ms.count());
  }
  std::ofstream(argv[5], std::ios::binary).write(page.data(), static_cast<std::streamsize>(page.size()));
  sqlite3_close(db);
  return 0;
}
