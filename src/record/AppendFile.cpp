// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

AppendFile::~AppendFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool AppendFile::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return false;
  struct stat st {};
  wasEmpty_ = ::fstat(fd_, &st) != 0 || st.st_size == 0;
  return true;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

bool AppendFile::Append(const std::string& text) { return WriteAll(fd_, text); }
