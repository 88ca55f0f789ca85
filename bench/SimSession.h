// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iostream>
#include <memory>
#include <string>

#include "app/Session.h"

// A session started on a simulated S5H1409, the board the window programs
// measure; null, with the reason on stderr, when it cannot start.
inline std::unique_ptr<Session> StartSimSession(bool debug = false) {
  CommandLine cl;
  cl.bus = "sim:s5h1409";
  cl.debug = debug;
  auto session = std::make_unique<Session>(cl);
  std::string error;
  if (!session->OpenBus(std::cerr, error) || !session->Start(error)) {
    std::cerr << error << '\n';
    return nullptr;
  }
  return session;
}
