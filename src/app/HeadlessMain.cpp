// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry point in a build without windows: every run is a
// headless one, and a run that asks for the window is refused.
#include <iostream>

#include "app/Entry.h"
#include "app/StopSignals.h"

int main(int argc, char** argv) {
  CommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  // A capture is one short read with nothing to finish: a signal ends it.
  if (cl.capture.empty()) StopSignals::Install();
  if (auto status = RunWithoutWindow(cl, std::cout, std::cerr)) return *status;
  std::cerr << "quovis: no window in this build: run it with --headless\n";
  return 2;
}
