// The HTTP host: `vantrel serve` offers the application to a web browser on this
// machine. Each browser session gets its own navigation handler (its own
// application variables, cookies and history, as if it had its own window); the
// engine runs one page at a time for all of them. Pages the handler delivers are
// served with a small script that routes their links, forms and back steps to the
// handler; files under the application folder are served as they are.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct TServeOptions {
  std::string AppDir;
  int Port = 0;  // 0: a free port chosen by the system
  std::string Bind = "127.0.0.1";
  std::string LocaleId;  // empty: from the environment, else en-US
  bool Open = false;     // open the printed address in the default browser
};

// Serves until SIGINT or SIGTERM. Returns the process exit code: 0 after a clean
// stop, 1 when the application folder is missing or the address cannot be bound.
int RunServe(const TServeOptions& options, std::ostream& out, std::ostream& err);

// The checks every request passes, kept apart so that they can be tested alone.
namespace http {

// A fresh random key of 32 hexadecimal digits (128 bits from the system's source).
std::string MakeSecret();

// Compares two keys in a time that does not depend on where they differ.
bool SecretEquals(std::string_view given, std::string_view secret);

// The value of the cookie `name` in a Cookie header; empty when it is missing.
std::string CookieValue(std::string_view cookieHeader, std::string_view name);

// True for 127.0.0.0/8, ::1 and "localhost".
bool IsLoopbackAddress(std::string_view address);

// Whether a Host header names this server: an IP address literal or "localhost"
// (names no one else can point at this machine), or one of extraNames (the
// machine's own name when serving beyond loopback), followed by ":" and port. The
// port may be left out only when it is 80. Anything else, as a name that a foreign
// DNS entry could point here, is refused.
bool IsAllowedHost(std::string_view hostHeader, int port, const std::vector<std::string>& extraNames);

// Maps the decoded path of a request (UTF-8) into the application's engine path
// space: "/tmp/x/app/Select/a.css" -> "\tmp\x\app\Select\a.css" for the application
// folder "\tmp\x\app\". Empty when the path lies outside the application folder, holds
// a "." or ".." component (separated by "/" or "\"), a NUL or other control
// character, or names the folder itself.
std::string EnginePathFromRequestPath(std::string_view decodedPath, const std::string& appFolder);

// The path part of a request URL for an engine path under the application folder,
// percent-encoded ("\tmp\x\app\Docs\a b.pdf" -> "/tmp/x/app/Docs/a%20b.pdf").
std::string RequestPathFromEnginePath(std::string_view enginePath);

// Whether the engine path, with symbolic links resolved, stays inside the
// application folder. A relative engine path counts from the application folder.
bool InsideAppFolder(std::string_view enginePath, const std::string& appFolder);

// The host file for an engine path when it is a regular file inside the
// application folder (symbolic links resolved); none otherwise.
std::optional<std::filesystem::path> ResolveAppFile(std::string_view enginePath, const std::string& appFolder);

// The file a navigation URL names, as the navigation handler maps it: "http://"
// URLs from the application folder, anything else as written; query string removed.
std::string NavigationFile(std::string_view url, const std::string& appFolder);

// Percent-encodes every byte but letters, digits and "-._~".
std::string PercentEncode(std::string_view bytes);

}  // namespace http
}  // namespace vantrel
