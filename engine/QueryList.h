// The named result sets of one request. Each line's name and value are both the
// query name; the line owns the result set attached to it. The list itself lives
// for the whole run, its entries only until the page the host built is freed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A result set as the template engine reads it: a record count, a current record,
// and fields read by name at that record. The data layer supplies the implementation.
class TResultSet {
 public:
  virtual ~TResultSet() = default;

  struct FieldValue {
    bool IsBoolean = false;
    bool Boolean = false;
    std::string Text;
  };

  virtual int RecordCount() = 0;
  // The field of that name at the current record; throws std::exception with the
  // engine's message when the result set has no such field.
  virtual FieldValue FieldByName(std::string_view name) = 0;
};

class TQueryList {
 public:
  struct Entry {
    std::string Name;
    std::unique_ptr<TResultSet> Object;
  };

  size_t Count() const { return Entries_.size(); }
  int IndexOf(std::string_view name) const;
  TResultSet* Find(std::string_view name) const;
  Entry& operator[](size_t i) { return Entries_[i]; }
  // Adds name=name with the result set, or replaces the result set held under name.
  void Put(std::string_view name, std::unique_ptr<TResultSet> object);
  // Frees every result set and empties the list.
  void Clear() { Entries_.clear(); }

 private:
  std::vector<Entry> Entries_;
};

}  // namespace vantrel
