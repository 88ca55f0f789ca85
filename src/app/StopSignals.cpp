// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StopSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace {

volatile sig_atomic_t received = 0;
int pipeEnds[2] = {-1, -1};

// Only what is safe in a handler: a flag and a write.
void Note(int signal) {
  if (received == 0) received = signal;
  int saved = errno;
  char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

namespace StopSignals {

void Install() {
  if (pipeEnds[0] >= 0) return;
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

int Received() { return received; }

bool Sleep(std::chrono::milliseconds pause) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + pause;
  while (received == 0) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) break;
    pollfd wake{pipeEnds[0], POLLIN, 0};
    ::poll(&wake, pipeEnds[0] >= 0 ? 1 : 0, int(std::min<long long>(left, 1 << 30)));
  }
  return received != 0;
}

int ReadEnd() { return pipeEnds[0]; }

int ExitStatus(int signal) { return signal == SIGINT ? 128 + SIGINT : 0; }

}  // namespace StopSignals
