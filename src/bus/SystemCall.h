// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <string>

// open() and ioctl() as the kernel seams answer them: what the system call
// answers, and on -1 its errno in `error`.
inline int SystemOpen(const std::string& path, int flags, int& error) {
  int fd = ::open(path.c_str(), flags);
  if (fd < 0) error = errno;
  return fd;
}

inline int SystemIoctl(int fd, unsigned long request, void* argument, int& error) {
  int r = ::ioctl(fd, request, argument);
  if (r < 0) error = errno;
  return r;
}
