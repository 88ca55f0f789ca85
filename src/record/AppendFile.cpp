// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Why a path that is no regular file takes no records.
std::string NotRegular(mode_t mode) {
  if (S_ISLNK(mode)) return "it is a symbolic link";
  if (S_ISFIFO(mode)) return "it is a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  return "it is not a regular file";
}

}  // namespace

AppendFile::~AppendFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool AppendFile::Open(const std::string& path, const std::string& lineEnd, std::string& why) {
  // A look before the open: opening a FIFO or a device may wait or act.
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    why = NotRegular(st.st_mode);
    return false;
  }
  // What was planted since the look is refused as well: a link by the open,
  // anything else by the look after it; a FIFO cannot hold the open up.
  fd_ =
      ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    why = errno == ELOOP ? NotRegular(S_IFLNK) : std::strerror(errno);
    return false;
  }
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = NotRegular(st.st_mode);
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  ::fcntl(fd_, F_SETFL, O_APPEND);
  wasEmpty_ = st.st_size == 0;
  char last = '\n';
  if (!wasEmpty_ && ::pread(fd_, &last, 1, st.st_size - 1) == 1 && last != '\n')
    lineEndFirst_ = last == '\r' ? "\n" : lineEnd;
  return true;
}

std::string AppendFile::Head(size_t size) const {
  std::string head(size, '\0');
  ssize_t n = ::pread(fd_, head.data(), size, 0);
  head.resize(n > 0 ? size_t(n) : 0);
  return head;
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

bool AppendFile::Append(const std::string& record) {
  struct stat st {};
  if (cutTo_ >= 0) {
    if (::ftruncate(fd_, cutTo_) != 0) return false;
    cutTo_ = -1;
  }
  if (::fstat(fd_, &st) != 0) return false;
  bool written =
      lineEndFirst_.empty() ? WriteAll(fd_, record) : WriteAll(fd_, lineEndFirst_ + record);
  if (written) {
    lineEndFirst_.clear();
    return true;
  }
  int saved = errno;
  if (::ftruncate(fd_, st.st_size) != 0) cutTo_ = st.st_size;
  errno = saved;
  return false;
}
