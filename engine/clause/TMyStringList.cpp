// The element list of a clause: texts with optional attached nested clauses, and
// the neighbour operations the operator pass uses.
#include "engine/clause/TClause.h"

#include "engine/Strings.h"

namespace vantrel {

void TMyStringList::Add(std::string text, std::unique_ptr<TClause> clause) {
  Items_.push_back(Item{std::move(text), std::move(clause)});
}

void TMyStringList::Delete(size_t i) {
  if (i < Items_.size()) Items_.erase(Items_.begin() + static_cast<std::ptrdiff_t>(i));
}

int TMyStringList::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < Items_.size(); ++i)
    if (SameText(Items_[i].Text, text)) return static_cast<int>(i);
  return -1;
}

std::string TMyStringList::NextItem(size_t i) const {
  return i + 1 < Items_.size() ? Items_[i + 1].Text : std::string();
}

std::string TMyStringList::PrevItem(size_t i) const {
  return i >= 1 && i - 1 < Items_.size() ? Items_[i - 1].Text : std::string();
}

void TMyStringList::DeleteNeighbours(size_t i) {
  if (i + 1 < Items_.size()) Delete(i + 1);
  if (i >= 1) Delete(i - 1);
}

std::string TMyStringList::Text() const {
  std::string text;
  for (const Item& item : Items_) {
    text += item.Text;
    text += "\r\n";
  }
  return text;
}

}  // namespace vantrel
