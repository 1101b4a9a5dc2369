// The database engine on SQLCipher; see QDB.h.
#include "dbengine/QDB.h"

#include <sqlite3.h>

#include <charconv>
#include <stdexcept>

#include "platform/FileSystem.h"

namespace vantrel {

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

bool IsBooleanType(const char* declared) {
  return declared != nullptr && (SameNoCase(declared, "BOOLEAN") || SameNoCase(declared, "BOOL"));
}

std::string SqlQuoted(std::string_view s) {
  std::string r = "'";
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r + "'";
}

// Prepared statement owned for its lifetime.
struct TStatement {
  sqlite3_stmt* Handle = nullptr;
  ~TStatement() { sqlite3_finalize(Handle); }
};

}  // namespace

TQDBDatabase::TQDBDatabase() = default;

TQDBDatabase::~TQDBDatabase() { Close(); }

void TQDBDatabase::Open() {
  if (Db_ != nullptr) return;
  if (DatabaseFileName.empty()) throw EQDBError("Database " + DatabaseName + " has no database file");
  if (!platform::FileExists(DatabaseFileName))
    throw EQDBError("Database file not found: " + DatabaseFileName + " (database " + DatabaseName + ")");
  const std::string host = platform::ToHostPath(DatabaseFileName).string();
  sqlite3* db = nullptr;
  const int flags = ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (sqlite3_open_v2(host.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw EQDBError("Cannot open database " + DatabaseName + ": " + message);
  }
  std::string setup;
  if (!Password.empty()) setup += "PRAGMA key = " + SqlQuoted(Password) + ";";
  // Reading the schema proves the key and the file: a wrong password or a file that
  // is not a database fails here.
  setup += "SELECT count(*) FROM sqlite_master;";
  char* error = nullptr;
  if (sqlite3_exec(db, setup.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error != nullptr ? error : "unknown error";
    sqlite3_free(error);
    sqlite3_close(db);
    throw EQDBError("Cannot open database " + DatabaseName + " (" + DatabaseFileName +
                    "): wrong password or not a database file (" + message + ")");
  }
  sqlite3_busy_timeout(db, 2000);
  Db_ = db;
}

void TQDBDatabase::Close() {
  if (Db_ == nullptr) return;
  sqlite3_close_v2(Db_);
  Db_ = nullptr;
  ++Generation_;
}

TQDBDatabase* TQDBSession::FindDatabase(std::string_view name) const {
  for (TQDBDatabase* d : Databases_)
    if (SameNoCase(d->DatabaseName, name)) return d;
  return nullptr;
}

TQDBQuery::TQDBQuery(TQDBSession& session, std::function<std::string(double)> formatReal)
    : Session_(session), FormatReal_(std::move(formatReal)) {}

void TQDBQuery::SetActive(bool active) {
  if (!active) {
    Active_ = false;
    Columns_.clear();
    BooleanColumns_.clear();
    std::string().swap(Text_);
    std::vector<size_t>().swap(Ends_);
    std::vector<std::uint8_t>().swap(Flags_);
    RowCount_ = 0;
  } else {
    Open();
  }
}

void TQDBQuery::SetName(std::string_view name) {
  auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  bool valid = !name.empty() && isLetter(name[0]);
  for (char c : name) valid = valid && (isLetter(c) || (c >= '0' && c <= '9'));
  if (!valid) throw EQDBError("'" + std::string(name) + "' is not a valid component name");
  Name_ = std::string(name);
}

TQDBDatabase& TQDBQuery::Connect() {
  TQDBDatabase* db = Session_.FindDatabase(DatabaseName_);
  if (db == nullptr) throw EQDBError("Database not found: " + DatabaseName_);
  db->Open();
  return *db;
}

void TQDBQuery::ExecSQL() {
  TQDBDatabase& db = Connect();
  std::string text;
  for (const std::string& line : SQL) text += line;
  const char* tail = text.c_str();
  const char* end = tail + text.size();
  while (tail < end) {
    TStatement st;
    if (sqlite3_prepare_v2(db.Handle(), tail, static_cast<int>(end - tail), &st.Handle, &tail) != SQLITE_OK)
      throw EQDBError(sqlite3_errmsg(db.Handle()));
    if (st.Handle == nullptr) break;  // only blanks or comments were left
    int rc;
    while ((rc = sqlite3_step(st.Handle)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw EQDBError(sqlite3_errmsg(db.Handle()));
  }
}

void TQDBQuery::Open() {
  TQDBDatabase& db = Connect();
  std::string sql;
  for (const std::string& line : SQL) sql += line;
  TStatement st;
  if (sqlite3_prepare_v2(db.Handle(), sql.c_str(), static_cast<int>(sql.size()), &st.Handle, nullptr) != SQLITE_OK)
    throw EQDBError(sqlite3_errmsg(db.Handle()));
  if (st.Handle == nullptr) throw EQDBError("No SQL statement");
  const int n = sqlite3_column_count(st.Handle);
  if (n == 0) throw EQDBError("The statement returns no result set");
  std::vector<std::string> columns;
  std::vector<bool> boolean;
  for (int i = 0; i < n; ++i) {
    const char* name = sqlite3_column_name(st.Handle, i);
    columns.emplace_back(name != nullptr ? name : "");
    boolean.push_back(IsBooleanType(sqlite3_column_decltype(st.Handle, i)));
  }
  std::string text;
  std::vector<size_t> ends;
  std::vector<std::uint8_t> flags;
  size_t rowCount = 0;
  std::string formatted;
  int rc;
  while ((rc = sqlite3_step(st.Handle)) == SQLITE_ROW) {
    for (int i = 0; i < n; ++i) {
      const bool isBoolean = boolean[static_cast<size_t>(i)];
      const int type = sqlite3_column_type(st.Handle, i);
      const size_t start = text.size();
      bool asBoolean = false;
      switch (type) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER: {
          const sqlite3_int64 v = sqlite3_column_int64(st.Handle, i);
          char digits[24];
          const auto r = std::to_chars(digits, digits + sizeof digits, v);
          text.append(digits, r.ptr);
          asBoolean = v != 0;
          break;
        }
        case SQLITE_FLOAT: {
          const double v = sqlite3_column_double(st.Handle, i);
          formatted = FormatReal_ ? FormatReal_(v) : std::to_string(v);
          text += formatted;
          asBoolean = v != 0;
          break;
        }
        default: {
          const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_blob(st.Handle, i));
          const std::string_view value(bytes != nullptr ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(st.Handle, i)));
          text.append(value);
          asBoolean = SameNoCase(value, "true") || value == "1";
          break;
        }
      }
      if (isBoolean && type != SQLITE_NULL) {
        text.resize(start);
        text += asBoolean ? "True" : "False";
      }
      ends.push_back(text.size());
      flags.push_back(static_cast<std::uint8_t>((type == SQLITE_NULL ? kNull : 0) | (asBoolean ? kTrue : 0)));
    }
    ++rowCount;
  }
  if (rc != SQLITE_DONE) throw EQDBError(sqlite3_errmsg(db.Handle()));
  Columns_ = std::move(columns);
  BooleanColumns_ = std::move(boolean);
  Text_ = std::move(text);
  Ends_ = std::move(ends);
  Flags_ = std::move(flags);
  RowCount_ = rowCount;
  Current_ = 0;
  Database_ = &db;
  Generation_ = db.Generation();
  Active_ = true;
}

void TQDBQuery::CheckOpen() const {
  if (!Active_ || Database_ == nullptr || Database_->Generation() != Generation_)
    throw EQDBError("Cannot perform this operation on a closed dataset");
}

int TQDBQuery::RecordCount() const {
  CheckOpen();
  return static_cast<int>(RowCount_);
}

void TQDBQuery::First() {
  CheckOpen();
  Current_ = 0;
}

void TQDBQuery::Next() {
  CheckOpen();
  if (Current_ + 1 < RowCount_) ++Current_;
}

int TQDBQuery::FieldCount() const {
  CheckOpen();
  return static_cast<int>(Columns_.size());
}

const std::string& TQDBQuery::FieldName(int index) const {
  CheckOpen();
  return Columns_.at(static_cast<size_t>(index));
}

TQDBQuery::TField TQDBQuery::Field(int index) const {
  CheckOpen();
  if (RowCount_ == 0) throw EQDBError("The result set has no records");
  const size_t columns = Columns_.size();
  const size_t column = static_cast<size_t>(index);
  if (index < 0 || column >= columns) throw std::out_of_range("field index out of range");
  const size_t cell = Current_ * columns + column;
  const size_t start = cell == 0 ? 0 : Ends_[cell - 1];
  TField f;
  f.IsBoolean = BooleanColumns_[column];
  f.IsNull = (Flags_[cell] & kNull) != 0;
  f.AsBoolean = (Flags_[cell] & kTrue) != 0;
  f.AsString = std::string_view(Text_).substr(start, Ends_[cell] - start);
  return f;
}

TQDBQuery::TField TQDBQuery::FieldByName(std::string_view name) const {
  CheckOpen();
  for (size_t i = 0; i < Columns_.size(); ++i)
    if (SameNoCase(Columns_[i], name)) return Field(static_cast<int>(i));
  throw EQDBError(Name_ + ": Field '" + std::string(name) + "' not found");
}

}  // namespace vantrel
