// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <sys/resource.h>

#include <csignal>

// A full disk for this process and the programs it starts: no file grows
// past `bytes` (a write that would is cut short, then fails with EFBIG)
// while the object lives. SIGXFSZ is ignored meanwhile, so that the write
// fails instead of the process ending.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = SIG_DFL;
};
