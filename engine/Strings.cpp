// Text routines; see Strings.h.
#include "engine/Strings.h"

#include <array>

namespace vantrel {

namespace {
constexpr unsigned char FoldAnsi(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
  }
}
}  // namespace

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

std::string AnsiLowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(FoldAnsi(static_cast<unsigned char>(c)));
  return r;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Speed: equal bytes need no folding; the folds come from a table made once.
  static constexpr auto kFold = [] {
    std::array<unsigned char, 256> fold{};
    for (unsigned i = 0; i < 256; ++i) fold[i] = FoldAnsi(static_cast<unsigned char>(i));
    return fold;
  }();
  for (size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && kFold[x] != kFold[y]) return false;
  }
  return true;
}

std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s) {
  // Speed: both ends found first, one copy made.
  size_t b = 0, e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  return std::string(s.substr(b, e - b));
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (;;) {
    size_t f = s.find(from, pos);
    if (f == std::string_view::npos) break;
    r.append(s.substr(pos, f - pos));
    r.append(to);
    pos = f + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

}  // namespace vantrel
