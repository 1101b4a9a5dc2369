// Name=value lists: the engine's scopes (application and session variables, cookies,
// page variables, the current row, attribute lists). A line's name is the text before
// its first "="; names compare without regard to letter case; lines keep the order in
// which they were added, and a lookup finds the first line with the name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class TStringList {
 public:
  struct Line {
    std::string Name;
    std::string Value;
  };

  size_t Count() const { return Lines_.size(); }
  bool Empty() const { return Lines_.empty(); }
  const Line& operator[](size_t i) const { return Lines_[i]; }
  Line& operator[](size_t i) { return Lines_[i]; }
  const std::vector<Line>& Lines() const { return Lines_; }

  // Index of the first line named name, or -1.
  int IndexOfName(std::string_view name) const;
  bool HasName(std::string_view name) const { return IndexOfName(name) >= 0; }
  // Value of the first line named name; the empty text when there is none.
  std::string Value(std::string_view name) const;

  // Appends the line text as it stands; its name is what precedes its first "=".
  void AddLine(std::string_view line);
  // Appends the line name=value.
  void Add(std::string_view name, std::string_view value);
  // The add-or-replace rule of every scope: a missing name is added as name=value
  // (kept even when value is empty); an existing line gets the new value, and the
  // empty value removes that line.
  void SetValue(std::string_view name, std::string_view value);
  // Replaces the value of an existing line (the empty value removes it); nothing
  // happens when the name is missing.
  void ReplaceValue(size_t index, std::string_view value);
  // Removes the first line named name; true when one was removed.
  bool Remove(std::string_view name);
  void Delete(size_t index) { Lines_.erase(Lines_.begin() + static_cast<long>(index)); }
  void Clear() { Lines_.clear(); }

  // The list as text, every line followed by CR LF.
  std::string Text() const;

 private:
  std::vector<Line> Lines_;
};

// The cookie scope: a name=value list with a mark set when a cookie tag stores a
// cookie. Cookies are never written anywhere.
class TCookieList : public TStringList {
 public:
  bool Changed = false;
};

}  // namespace vantrel
