// Name=value lists; see TStringList.h.
#include "engine/TStringList.h"

#include "engine/Strings.h"

namespace vantrel {

int TStringList::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < Lines_.size(); ++i)
    if (Lines_[i].Name.size() == name.size() && SameText(Lines_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

std::string TStringList::Value(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : Lines_[static_cast<size_t>(i)].Value;
}

void TStringList::AddLine(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos)
    Lines_.push_back({std::string(line), std::string()});
  else
    Lines_.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
}

void TStringList::Add(std::string_view name, std::string_view value) {
  std::string line(name);
  line += '=';
  line += value;
  AddLine(line);
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  if (i < 0)
    Add(name, value);
  else
    ReplaceValue(static_cast<size_t>(i), value);
}

void TStringList::ReplaceValue(size_t index, std::string_view value) {
  if (index >= Lines_.size()) return;
  if (value.empty())
    Delete(index);
  else
    Lines_[index].Value = std::string(value);
}

bool TStringList::Remove(std::string_view name) {
  int i = IndexOfName(name);
  if (i < 0) return false;
  Delete(static_cast<size_t>(i));
  return true;
}

std::string TStringList::Text() const {
  std::string s;
  for (const Line& l : Lines_) {
    s += l.Name;
    s += '=';
    s += l.Value;
    s += "\r\n";
  }
  return s;
}

}  // namespace vantrel
