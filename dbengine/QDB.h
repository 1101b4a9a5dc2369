// The embedded SQL database engine: single-file databases protected by a password,
// on SQLCipher. A session knows the database components by name; a query object
// runs one statement against the database its DatabaseName names, either executing
// it or opening it and holding its rows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace vantrel {

// Every failure of the database engine, with its message.
class EQDBError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TQDBDatabase {
 public:
  TQDBDatabase();
  ~TQDBDatabase();
  TQDBDatabase(const TQDBDatabase&) = delete;
  TQDBDatabase& operator=(const TQDBDatabase&) = delete;

  std::string DatabaseName;
  std::string DatabaseFileName;  // an engine path; relative ones resolve against the current folder
  std::string Password;          // empty: the file is not encrypted
  bool ReadOnly = false;
  bool Exclusive = false;
  int MaxConnections = 500;
  bool MultiUser = false;
  std::string SessionName = "Default";

  bool Connected() const { return Db_ != nullptr; }
  // Opens the file; never creates one. Throws EQDBError.
  void Open();
  // Closes the database; every result set opened on it is closed too.
  void Close();
  sqlite3* Handle() const { return Db_; }
  // Changes whenever the database closes, so result sets can tell they were closed.
  std::uint64_t Generation() const { return Generation_; }

 private:
  sqlite3* Db_ = nullptr;
  std::uint64_t Generation_ = 0;
};

// The database components known to the process, looked up by DatabaseName
// without regard to case.
class TQDBSession {
 public:
  void Add(TQDBDatabase* database) { Databases_.push_back(database); }
  TQDBDatabase* FindDatabase(std::string_view name) const;

 private:
  std::vector<TQDBDatabase*> Databases_;
};

class TQDBQuery {
 public:
  // A field of the current record: a view into the result set, valid while the
  // query stays open with the same rows.
  struct TField {
    bool IsBoolean = false;
    bool IsNull = true;
    bool AsBoolean = false;
    std::string_view AsString;
    // The value as the engine reads it: a boolean column as "1" or "0", a field
    // without a value as the empty text.
    std::string_view Text() const { return IsBoolean && !IsNull ? (AsBoolean ? "1" : "0") : AsString; }
  };

  // formatReal writes a REAL value as text (the engine's general number format).
  TQDBQuery(TQDBSession& session, std::function<std::string(double)> formatReal);

  void SetActive(bool active);
  bool Active() const { return Active_; }
  void SetDatabaseName(std::string_view name) { DatabaseName_ = std::string(name); }
  // The component name must be an identifier: a letter or "_" first, then letters,
  // digits or "_". Throws EQDBError otherwise.
  void SetName(std::string_view name);
  const std::string& Name() const { return Name_; }
  std::vector<std::string> SQL;

  // Runs a statement that returns no rows (all statements of the text, in order).
  void ExecSQL();
  // Runs a statement and keeps its rows; the current record is the first.
  void Open();

  int RecordCount() const;
  void First();
  void Next();
  int FieldCount() const;
  const std::string& FieldName(int index) const;
  TField Field(int index) const;
  // The field of that name at the current record; throws EQDBError when there is none.
  TField FieldByName(std::string_view name) const;

 private:
  TQDBDatabase& Connect();
  void CheckOpen() const;

  TQDBSession& Session_;
  std::function<std::string(double)> FormatReal_;
  std::string DatabaseName_;
  std::string Name_;
  bool Active_ = false;
  TQDBDatabase* Database_ = nullptr;
  std::uint64_t Generation_ = 0;
  std::vector<std::string> Columns_;
  std::vector<bool> BooleanColumns_;
  // The rows, compactly: the texts of all fields one after the other (row by row,
  // column by column), where each field's text ends, and its flags.
  enum : std::uint8_t { kNull = 1, kTrue = 2 };
  std::string Text_;
  std::vector<size_t> Ends_;
  std::vector<std::uint8_t> Flags_;
  size_t RowCount_ = 0;
  size_t Current_ = 0;
};

}  // namespace vantrel
