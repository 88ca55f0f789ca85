// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// The program itself, started beside the test so that the test can signal
// it: standard output to `outFd`, standard error to the file `errPath`; with
// `window`, on the offscreen platform.
struct Spawned {
  pid_t pid = -1;

  Spawned(const std::vector<std::string>& args, int outFd, const std::string& errPath,
          bool window = false) {
    std::vector<char*> argv = {const_cast<char*>(QUOVIS_BINARY)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid = ::fork();
    if (pid != 0) return;
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(outFd, 1);
    ::dup2(err, 2);
    if (window) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execv(QUOVIS_BINARY, argv.data());
    ::_exit(127);
  }
  Spawned(const Spawned&) = delete;
  Spawned& operator=(const Spawned&) = delete;
  ~Spawned() { Wait(std::chrono::milliseconds(0)); }

  // The exit status once the program ended, within `limit`; -1 when it was
  // ended by a signal or had to be killed at the limit.
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    if (pid <= 0) return -1;
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    int raw = 0;
    while (::waitpid(pid, &raw, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= giveUp) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &raw, 0);
        pid = -1;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid = -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
};
