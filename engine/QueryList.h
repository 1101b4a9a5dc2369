// The named result sets of one request. Each line's name and value are both the
// query name; the line owns the open query object attached to it. The list itself
// lives for the whole run, its entries only until the page the host built is freed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbengine/QDB.h"

namespace vantrel {

class TQueryList {
 public:
  struct Entry {
    std::string Name;
    std::unique_ptr<TQDBQuery> Object;
  };

  size_t Count() const { return Entries_.size(); }
  int IndexOf(std::string_view name) const;
  TQDBQuery* Find(std::string_view name) const;
  Entry& operator[](size_t i) { return Entries_[i]; }
  // Adds name=name with the query object, or destroys the object held under name
  // and puts the new one in its place.
  void Put(std::string_view name, std::unique_ptr<TQDBQuery> object);
  // Destroys every query object and empties the list.
  void Clear() { Entries_.clear(); }

 private:
  std::vector<Entry> Entries_;
};

}  // namespace vantrel
