// Addresses between the desktop browser and the engine; see DesktopUrls.h.
#include "app/DesktopUrls.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"

namespace vantrel::desktop {

namespace {

constexpr std::string_view kPrologueFirst =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\"><head><meta http-equiv=\"Pragma\" "
    "content=\"no-cache\"><meta http-equiv=\"expires\" content=\"0\"><BASE HREF=\"";
constexpr std::string_view kPrologueSecond = "\"><link rel=\"stylesheet\" href=\"";
constexpr std::string_view kPrologueThird = "vantrel.css\">";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string PercentEncodePath(std::string_view s) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

std::string FileUrlFromHostPath(const std::filesystem::path& hostPath, bool folder) {
  std::string p = std::filesystem::absolute(hostPath).lexically_normal().string();
  if (folder && (p.empty() || p.back() != '/')) p += '/';
  return "file://" + PercentEncodePath(p);
}

std::string EnginePathFromFileUrl(std::string_view url, std::string_view appFolder) {
  constexpr std::string_view kScheme = "file://";
  if (url.size() < kScheme.size()) return {};
  std::string scheme(url.substr(0, kScheme.size()));
  std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
  if (scheme != kScheme) return {};
  std::string_view rest = url.substr(kScheme.size());
  if (rest.substr(0, 9) == "localhost") rest.remove_prefix(9);
  if (rest.empty() || rest[0] != '/') return {};
  const size_t tail = rest.find_first_of("?#");
  std::string path = PercentDecode(rest.substr(0, tail));
  const std::string_view suffix = tail == std::string_view::npos ? std::string_view() : rest.substr(tail);
  // A decoded "\" or NUL would change what the path names.
  if (path.find('\0') != std::string::npos || path.find('\\') != std::string::npos) return {};
  std::replace(path.begin(), path.end(), '/', '\\');
  if (appFolder.empty() || path.size() < appFolder.size() || path.compare(0, appFolder.size(), appFolder) != 0)
    return {};
  return path + std::string(suffix);
}

std::string BrowserUrlFromHandlerUrl(const std::string& url) {
  if (url.empty() || url[0] != '\\') return url;
  const size_t q = url.find('?');
  const std::string path = url.substr(0, q);
  const std::string query = q == std::string::npos ? std::string() : url.substr(q);
  return FileUrlFromHostPath(platform::ToHostPath(path), false) + query;
}

std::string WithFileBase(const std::string& html) {
  if (html.compare(0, kPrologueFirst.size(), kPrologueFirst) != 0) return html;
  const size_t folderStart = kPrologueFirst.size();
  const size_t folderEnd = html.find(kPrologueSecond, folderStart);
  if (folderEnd == std::string::npos) return html;
  const std::string folder = html.substr(folderStart, folderEnd - folderStart);
  const size_t secondEnd = folderEnd + kPrologueSecond.size();
  if (html.compare(secondEnd, folder.size(), folder) != 0 ||
      html.compare(secondEnd + folder.size(), kPrologueThird.size(), kPrologueThird) != 0)
    return html;
  if (folder.empty() || folder[0] != '\\') return html;
  const std::string base = FileUrlFromHostPath(platform::ToHostPath(folder), true);
  std::string out;
  out.reserve(html.size() + 2 * base.size());
  out.append(kPrologueFirst).append(base).append(kPrologueSecond).append(base);
  out.append(html, secondEnd + folder.size(), std::string::npos);
  return out;
}

}  // namespace vantrel::desktop
