// Engine-path mapping and file access; see FileSystem.h.
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>
#include <dirent.h>
#include <unistd.h>

namespace vantrel::platform {
namespace fs = std::filesystem;

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The entry of folder whose name equals name without regard to case; the
// alphabetically first one when several match, so the choice is stable.
bool FindNoCase(const fs::path& folder, const std::string& name, std::string& found) {
  // Speed: the entries are read with readdir, without a path object for each.
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return false;
  std::vector<std::string> matches;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view n(entry->d_name);
    if (n == "." || n == "..") continue;
    if (EqualNoCase(n, name)) matches.emplace_back(n);
  }
  if (matches.empty()) return false;
  std::sort(matches.begin(), matches.end());
  found = matches.front();
  return true;
}

}  // namespace

std::string EngineFolderFromHost(const fs::path& folder) {
  std::string s = fs::absolute(folder).lexically_normal().string();
  std::replace(s.begin(), s.end(), '/', '\\');
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

fs::path ToHostPath(std::string_view enginePath) {
  std::string p(enginePath);
  std::replace(p.begin(), p.end(), '\\', '/');
  const bool absolute = !p.empty() && p[0] == '/';
  // Speed: a path that exists exactly as written needs no matching of its components.
  // So does the folder of a missing name: only the name itself is matched then.
  fs::path result = absolute ? fs::path("/") : fs::path();
  size_t start = absolute ? 1 : 0;
  if (absolute && p.find("//") == std::string::npos) {
    std::error_code exactError;
    if (fs::exists(fs::path(p), exactError)) return fs::path(p);
    const size_t lastSlash = p.rfind('/');
    if (lastSlash > 0 && lastSlash + 1 < p.size() && fs::exists(fs::path(p.substr(0, lastSlash)), exactError)) {
      result = fs::path(p.substr(0, lastSlash));
      start = lastSlash + 1;
    }
  }
  bool resolving = true;  // once a component is missing, the rest is taken as written
  while (start <= p.size()) {
    size_t slash = p.find('/', start);
    std::string comp = p.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!comp.empty()) {
      fs::path exact = result / comp;
      std::error_code ec;
      if (resolving && comp != "." && comp != ".." && !fs::exists(exact, ec)) {
        std::string found;
        if (FindNoCase(result, comp, found)) {
          exact = result / found;
        } else {
          resolving = false;
        }
      }
      result = exact;
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (!p.empty() && p.back() == '/' && !result.empty()) result /= "";
  return result;
}

bool FileExists(std::string_view enginePath) {
  if (enginePath.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(ToHostPath(enginePath), ec);
}

bool DirectoryExists(std::string_view enginePath) {
  if (enginePath.empty()) return false;
  std::error_code ec;
  return fs::is_directory(ToHostPath(enginePath), ec);
}

bool ReadFileBytes(std::string_view enginePath, std::string& out, std::string& error) {
  fs::path host = ToHostPath(enginePath);
  std::ifstream in(host, std::ios::binary);
  if (!in) {
    error = "Cannot open file \"" + std::string(enginePath) + "\". " + std::strerror(errno);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) bytes.append(buffer, static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    error = "Read error on file \"" + std::string(enginePath) + "\"";
    return false;
  }
  out = std::move(bytes);
  return true;
}

bool WriteFileBytes(std::string_view enginePath, std::string_view data, std::string& error) {
  fs::path host = ToHostPath(enginePath);
  fs::path tmp = host;
  tmp += ".vantrel-tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "Cannot create file \"" + std::string(enginePath) + "\". " + std::strerror(errno);
      return false;
    }
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.flush();
    if (!out) {
      error = "Write error on file \"" + std::string(enginePath) + "\"";
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, host, ec);
  if (ec) {
    error = "Cannot create file \"" + std::string(enginePath) + "\". " + ec.message();
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

bool ChangeCurrentFolder(const fs::path& folder, std::string& error) {
  if (::chdir(folder.c_str()) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

// ---- File copy (the filecopy built-in) ----

bool CopyFile(std::string_view sourceEnginePath, std::string_view destEnginePath, std::string& error) {
  const fs::path source = ToHostPath(sourceEnginePath);
  const fs::path dest = ToHostPath(destEnginePath);
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) {
    error = "Cannot open file \"" + std::string(sourceEnginePath) + "\". Not a file";
    return false;
  }
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    error = "Cannot open file \"" + std::string(sourceEnginePath) + "\". " + std::strerror(errno);
    return false;
  }
  if (dest.empty() || dest.filename().empty()) {
    error = "Cannot create file \"" + std::string(destEnginePath) + "\"";
    return false;
  }
  fs::path tmp = dest;
  tmp += ".vantrel-tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "Cannot create file \"" + std::string(destEnginePath) + "\". " + std::strerror(errno);
      return false;
    }
    char buffer[64 * 1024];
    while (in) {
      in.read(buffer, sizeof buffer);
      const std::streamsize got = in.gcount();
      if (got > 0) out.write(buffer, got);
      if (!out) break;
    }
    out.flush();
    if (in.bad() || !out) {
      error = (in.bad() ? "Read error on file \"" + std::string(sourceEnginePath)
                        : "Write error on file \"" + std::string(destEnginePath)) +
              "\"";
      out.close();
      fs::remove(tmp, ec);
      return false;
    }
  }
  fs::rename(tmp, dest, ec);
  if (ec) {
    error = "Cannot create file \"" + std::string(destEnginePath) + "\". " + ec.message();
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

}  // namespace vantrel::platform
