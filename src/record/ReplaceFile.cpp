// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "record/AppendFile.h"

namespace {

// Holds back the stop signals for the life of the object, so that a signal
// whose default is to end the program cannot leave the hidden file behind.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    sigset_t stop;
    sigemptyset(&stop);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stop, s);
    pthread_sigmask(SIG_BLOCK, &stop, &saved_);
  }
  ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

 private:
  sigset_t saved_;
};

// The template of the hidden file beside `path`.
std::string HiddenTemplate(const std::string& path) {
  std::filesystem::path target(path);
  return (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
}

}  // namespace

bool CanReplaceFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  std::string temporary = HiddenTemplate(path);
  StopSignalsHeld held;
  int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(temporary.c_str());
  return true;
}

bool ReplaceFile(const std::string& path, const std::string& text) {
  std::string temporary = HiddenTemplate(path);
  StopSignalsHeld held;
  int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  int saved = errno;
  if (::close(fd) != 0 && written) saved = errno, written = false;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (written) saved = errno;
  ::unlink(temporary.c_str());
  errno = saved;
  return false;
}
