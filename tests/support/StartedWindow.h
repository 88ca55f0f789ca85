// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtGlobal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Session.h"
#include "monitor/gui/frmQuovis.h"

// A session started from a command line; a start-up that fails ends the
// test program with its message. A record write that fails is told to
// recordErrors when given.
inline std::unique_ptr<Session> StartSession(const std::vector<std::string>& args,
                                             std::ostream* recordErrors = nullptr) {
  auto session = std::make_unique<Session>(ParseCommandLine(args));
  if (recordErrors) session->TellRecordErrorsTo(*recordErrors);
  std::string error;
  if (!session->OpenBus(std::cerr, error) || !session->Start(error)) qFatal("%s", error.c_str());
  return session;
}

// The monitor window over a started session, as the program first shows it:
// polling at its interval, with the first poll drawn.
struct StartedWindow {
  std::unique_ptr<Session> session;
  std::unique_ptr<frmQuovis> window;
};

inline StartedWindow StartWindow(const std::vector<std::string>& args,
                                 std::ostream* recordErrors = nullptr) {
  StartedWindow s;
  s.session = StartSession(args, recordErrors);
  s.window = std::make_unique<frmQuovis>(s.session->monitor());
  s.session->monitor().PollIntervalChange();
  s.window->Render();
  return s;
}
