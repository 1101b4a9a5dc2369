// Folder listing by mask; see FolderList.h.
#include "platform/FolderList.h"

#include <algorithm>
#include <filesystem>

#include "platform/FileSystem.h"

namespace vantrel::platform {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool Match(std::string_view n, std::string_view p) {
  // Iterative wildcard match with backtracking to the last "*".
  size_t i = 0, j = 0, star = std::string_view::npos, mark = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == '?' || Lower(p[j]) == Lower(n[i]))) {
      ++i;
      ++j;
    } else if (j < p.size() && p[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string_view::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  return Match(name, pattern);
}

std::vector<std::string> ListFiles(std::string_view engineFolder, std::string_view mask) {
  std::vector<std::string> patterns;
  size_t start = 0;
  while (start <= mask.size()) {
    size_t semi = mask.find(';', start);
    std::string_view p = mask.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
    while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
    while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
    if (!p.empty()) patterns.emplace_back(p);
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(ToHostPath(engineFolder), ec);
  if (ec) return names;
  for (const auto& entry : it) {
    std::error_code fe;
    if (!entry.is_regular_file(fe)) continue;
    std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    for (const std::string& p : patterns)
      if (MatchesMask(name, p)) {
        names.push_back(name);
        break;
      }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
  });
  return names;
}

}  // namespace vantrel::platform
