// Small text routines over the engine's 8-bit (Windows-1252) strings.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Lower-cases A to Z only.
std::string LowerCase(std::string_view s);
// Upper-cases a to z only.
std::string UpperCase(std::string_view s);
// Lower-cases A to Z and the accented capitals of Windows-1252.
std::string AnsiLowerCase(std::string_view s);
// Equal without regard to letter case (Windows-1252 letters included).
bool SameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (bytes up to 32).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
inline bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }
inline bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
inline bool EndsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}
// Replaces every occurrence of from by to, scanning left to right once.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

}  // namespace vantrel
