// Shell and mail services; see QSPGlobals.h.
#include "app/QSPGlobals.h"

#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegionalSettings.h"

extern char** environ;

namespace vantrel {

namespace {

// Runs a program found on PATH; its exit code, or -1 when it cannot be started.
// With wait false the program is left running and -1/0 tells whether it started;
// a double spawn through a short-lived shell keeps it from becoming a zombie.
int Spawn(const std::vector<std::string>& args, bool wait) {
  std::vector<std::string> argv = args;
  if (!wait) {
    // setsid-like detaching: the intermediate shell exits at once.
    std::string line = "\"$0\" \"$@\" >/dev/null 2>&1 </dev/null &";
    argv.insert(argv.begin(), {"/bin/sh", "-c", line});
  }
  std::vector<char*> raw;
  for (std::string& a : argv) raw.push_back(a.data());
  raw.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, raw[0], nullptr, nullptr, raw.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

void OpenWithShell(const std::string& path) {
  std::string host = path;
  if (!host.empty() && (host[0] == '\\' || host.find('\\') != std::string::npos))
    host = platform::ToHostPath(path).string();
  Spawn({"xdg-open", platform::AnsiToUtf8(host)}, false);
}

int SendWithMailProgram(const TMailMessage& m) {
  std::vector<std::string> args = {"xdg-email", "--utf8"};
  for (const TMailRecipient& r : m.Recips) {
    if (r.RecipClass == 2) args.insert(args.end(), {"--cc", platform::AnsiToUtf8(r.Name)});
    if (r.RecipClass == 3) args.insert(args.end(), {"--bcc", platform::AnsiToUtf8(r.Name)});
  }
  if (!m.Subject.empty()) args.insert(args.end(), {"--subject", platform::AnsiToUtf8(m.Subject)});
  if (!m.NoteText.empty()) args.insert(args.end(), {"--body", platform::AnsiToUtf8(m.NoteText)});
  for (const std::string& f : m.Files)
    args.insert(args.end(), {"--attach", platform::AnsiToUtf8(platform::ToHostPath(f).string())});
  for (const TMailRecipient& r : m.Recips)
    if (r.RecipClass == 1) args.push_back(platform::AnsiToUtf8(r.Name));
  const int code = Spawn(args, true);
  return code == 0 ? 0 : (code < 0 ? 1 : code);
}

int WriteMailLog(const std::string& logFile, const TMailMessage& m) {
  std::ofstream log(logFile, std::ios::binary | std::ios::app);
  if (!log) return 1;
  static const char* const kClass[] = {"", "to", "cc", "bcc"};
  log << "message\n";
  for (const TMailRecipient& r : m.Recips)
    log << (r.RecipClass >= 1 && r.RecipClass <= 3 ? kClass[r.RecipClass] : "?") << ": " << r.Name << "\n";
  log << "subject: " << m.Subject << "\n";
  for (const std::string& f : m.Files) log << "attach: " << f << "\n";
  log << "text: " << m.NoteText << "\nend\n";
  log.flush();
  return log ? 0 : 1;
}

}  // namespace vantrel
