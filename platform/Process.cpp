// Starting programs with posix_spawn; see Process.h.
#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"

extern char** environ;

namespace vantrel::platform {
namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsExecutableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

// The host file of the program word: an engine path when it holds a separator,
// otherwise the first executable of that name in the folders of PATH.
std::optional<fs::path> FindProgram(const std::string& word) {
  if (word.empty()) return std::nullopt;
  if (word.find_first_of("\\/") != std::string::npos) {
    fs::path host = ToHostPath(word);
    if (IsExecutableFile(host)) return host;
    return std::nullopt;
  }
  const char* env = std::getenv("PATH");
  const std::string path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= path.size()) {
    size_t colon = path.find(':', start);
    if (colon == std::string::npos) colon = path.size();
    const std::string folder = path.substr(start, colon - start);
    fs::path candidate = fs::path(folder.empty() ? "." : folder) / word;
    if (IsExecutableFile(candidate)) return candidate;
    start = colon + 1;
  }
  return std::nullopt;
}

// Everything posix_spawn needs, prepared before anything is started (so that a
// forked child only has to call posix_spawn and exit).
class TSpawnSetup {
 public:
  explicit TSpawnSetup(std::string_view commandLine) : words_(SplitCommandLine(commandLine)) {
    if (words_.empty()) return;
    std::optional<fs::path> program = FindProgram(words_[0]);
    if (!program) return;
    program_ = program->string();
    for (std::string& w : words_) argv_.push_back(w.data());
    argv_.push_back(nullptr);

    if (posix_spawn_file_actions_init(&actions_) != 0) return;
    actionsReady_ = true;
    if (posix_spawnattr_init(&attributes_) != 0) return;
    attributesReady_ = true;
    // The program's standard streams are the null device, and it inherits none of
    // the engine's other open files.
    if (posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) != 0 ||
        posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) != 0 ||
        posix_spawn_file_actions_adddup2(&actions_, 1, 2) != 0 ||
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3) != 0)
      return;
    // A session of its own, an empty signal mask and default signal handling.
    sigset_t mask;
    sigemptyset(&mask);
    sigset_t defaults;
    sigfillset(&defaults);
    if (posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                   POSIX_SPAWN_SETSIGDEF) != 0 ||
        posix_spawnattr_setsigmask(&attributes_, &mask) != 0 ||
        posix_spawnattr_setsigdefault(&attributes_, &defaults) != 0)
      return;
    ready_ = true;
  }
  ~TSpawnSetup() {
    if (actionsReady_) posix_spawn_file_actions_destroy(&actions_);
    if (attributesReady_) posix_spawnattr_destroy(&attributes_);
  }
  TSpawnSetup(const TSpawnSetup&) = delete;
  TSpawnSetup& operator=(const TSpawnSetup&) = delete;

  bool Ready() const { return ready_; }
  // posix_spawn's result: 0 when the program was started.
  int Spawn(pid_t& pid) {
    return posix_spawn(&pid, program_.c_str(), &actions_, &attributes_, argv_.data(), environ);
  }

 private:
  std::vector<std::string> words_;
  std::string program_;
  std::vector<char*> argv_;
  posix_spawn_file_actions_t actions_{};
  posix_spawnattr_t attributes_{};
  bool actionsReady_ = false;
  bool attributesReady_ = false;
  bool ready_ = false;
};

// Waits for the child; false when it cannot be waited for.
bool WaitFor(pid_t pid, int& status) {
  for (;;) {
    if (::waitpid(pid, &status, 0) == pid) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;  // "" stands for an empty word
    } else if (!quoted && IsBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

bool StartProcess(std::string_view commandLine) {
  TSpawnSetup setup(commandLine);
  if (!setup.Ready()) return false;
  // A short-lived intermediate child starts the program and exits at once; the
  // program then belongs to the system's reaper instead of the engine, which never
  // waits for it. The intermediate's exit status tells whether the start worked.
  const pid_t intermediate = ::fork();
  if (intermediate < 0) return false;
  if (intermediate == 0) {
    pid_t program = 0;
    ::_exit(setup.Spawn(program) == 0 ? 0 : 1);
  }
  int status = 0;
  if (!WaitFor(intermediate, status)) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::optional<int> RunProcess(std::string_view commandLine) {
  TSpawnSetup setup(commandLine);
  if (!setup.Ready()) return std::nullopt;
  pid_t pid = 0;
  if (setup.Spawn(pid) != 0) return std::nullopt;
  int status = 0;
  if (!WaitFor(pid, status)) return std::nullopt;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

}  // namespace vantrel::platform
