// Named result sets; see QueryList.h.
#include "engine/QueryList.h"

#include "engine/Strings.h"

namespace vantrel {

int TQueryList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < Entries_.size(); ++i)
    if (SameText(Entries_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

TQDBQuery* TQueryList::Find(std::string_view name) const {
  int i = IndexOf(name);
  return i < 0 ? nullptr : Entries_[static_cast<size_t>(i)].Object.get();
}

void TQueryList::Put(std::string_view name, std::unique_ptr<TQDBQuery> object) {
  int i = IndexOf(name);
  if (i < 0)
    Entries_.push_back({std::string(name), std::move(object)});
  else
    Entries_[static_cast<size_t>(i)].Object = std::move(object);
}

}  // namespace vantrel
