// File operations of the file tags; see FileOps.h.
#include "platform/FileOps.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace vantrel::platform {

bool AppendToFile(std::string_view enginePath, std::string_view data, std::string& error) {
  const std::string host = ToHostPath(enginePath).string();
  const int fd = ::open(host.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool DeleteFile(std::string_view enginePath, std::string& error) {
  const std::string host = ToHostPath(enginePath).string();
  if (::unlink(host.c_str()) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool MoveFileNoReplace(std::string_view sourceEnginePath, std::string_view destEnginePath, std::string& error) {
  const std::string from = ToHostPath(sourceEnginePath).string();
  const std::string to = ToHostPath(destEnginePath).string();
#ifdef SYS_renameat2
  constexpr unsigned kNoReplace = 1;  // RENAME_NOREPLACE
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), kNoReplace) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) {
    error = std::strerror(errno);
    return false;
  }
#endif
  // File systems without the no-replace rename: a hard link fails when the
  // destination exists, and only then is the source name removed.
  if (::link(from.c_str(), to.c_str()) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (::unlink(from.c_str()) != 0) {
    error = std::strerror(errno);
    ::unlink(to.c_str());
    return false;
  }
  return true;
}

}  // namespace vantrel::platform
