// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "bus/I2cLibrary.h"
#include "dvb/CapturedFrontend.h"
#include "dvb/FrontendDevice.h"
#include "monitor/Reading.h"

// Capturing a board: start-up, detection and one poll (with "-tda" also the
// tuner editor's load) run over a layer that keeps every read and refuses
// every write; what the chips answered becomes a board file that
// --bus=sim:FILE.json replays. A read that got no answer leaves no file.
struct Capture {
  bool ok = false;
  std::string message;             // why there is no board file, when not ok
  std::string boardFile;           // the board file's text
  std::string summary;             // one line: what was captured
  std::vector<std::string> notes;  // what could not be captured, and why
  long refusedWrites = 0;
  Reading reading;  // what the poll read: a simulated card's frontend follows it
};

Capture CaptureBoard(I2cLibrary& library, const CommandLine& cl);

// One poll of a frontend node, as its driver answered it; nullopt with the
// reason when the node cannot be opened or read.
std::optional<CapturedFrontend> CaptureFrontend(FrontendDevice& device, const std::string& node,
                                                std::string& why);
// The board file with its "frontend" entry: what the card's frontend
// answered, or (nullopt) that the card has none to replay.
std::string WithFrontend(const std::string& boardFile,
                         const std::optional<CapturedFrontend>& frontend);

// False with a message naming the path when the file cannot be written
// there; creates nothing.
bool CanWriteFile(const std::string& path, std::string& error);

// --capture=FILE: checks the path, opens --bus, captures the chips and the
// card's frontend, writes the file.
// Returns the exit status.
int RunCapture(const CommandLine& cl, std::ostream& out, std::ostream& err);
