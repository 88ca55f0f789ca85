// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>

// SIGINT, SIGTERM and SIGHUP ask the program to stop rather than end it on
// the spot: the handler only notes the signal and writes a byte into a pipe
// of its own, so a poll and a record write under way are finished, the last
// poll reaches the record file and no temporary file stays behind. The
// headless loop sleeps on the pipe; the window watches it. SIGPIPE is
// ignored: a closed standard output is seen as EPIPE where it is written.
namespace StopSignals {

// Sets the handlers up; once per process, before any thread starts.
void Install();
// The first stop signal that came, 0 while none did.
int Received();
// Sleeps for `pause`, or less when a stop signal comes; true when one came.
bool Sleep(std::chrono::milliseconds pause);
// The pipe's end that becomes readable when a stop signal comes.
int ReadEnd();
// The exit status for a stop by this signal: 130 (128 + 2) for SIGINT, as
// shells expect of an interrupt; 0 for SIGTERM and SIGHUP, a stop asked for.
int ExitStatus(int signal);

}  // namespace StopSignals
