// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <ostream>
#include <string>

#include "app/CommandLine.h"

// What the program does before it needs a window: --help, --version,
// --list-buses, command-line errors and the whole headless run. Returns the
// exit status when the run ends here; nothing when a window is wanted.
std::optional<int> RunWithoutWindow(const CommandLine& cl, std::ostream& out, std::ostream& err);

// A window is wanted: exit status 2, said on `err`, when no display is named
// (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), before the toolkit would
// abort on its own.
std::optional<int> RefuseWindowWithoutDisplay(std::ostream& err);

// A start-up failure on stderr, with a hint on choosing a bus after the
// no-board message. Returns the exit status.
int ReportStartFailure(const std::string& message, std::ostream& err);

// A start-up failure as the window tells it: the message and, for a board
// that is missing or unknown, a second line saying what to try.
std::string WindowFailureText(const std::string& message);
