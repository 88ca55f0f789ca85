// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "bus/I2cLibrary.h"

class SimBoard;

// The library the program talks to, chosen from --bus: a simulated board, a
// board file, a Linux i2c-dev node (a path, an adapter's number or name, or a
// DVB frontend's name for the I2C bus of its card), or (no --bus) no board at
// all. Read-only, every plain write is refused before it reaches the board.
// With tracing, every call is printed to the trace stream, refused writes
// with their failure.
struct BusBackend {
  std::unique_ptr<I2cLibrary> backend;
  std::unique_ptr<I2cLibrary> readOnly;
  std::unique_ptr<I2cLibrary> tracer;
  SimBoard* simBoard = nullptr;  // set for simulated boards
  std::string frontend;          // the DVB frontend on the same card; empty when none
  I2cLibrary& library() const { return tracer ? *tracer : readOnly ? *readOnly : *backend; }
  bool simulated() const { return simBoard != nullptr; }
};

// nullptr-backend result with a message when the named bus cannot be opened.
bool OpenBusBackend(const std::string& bus, bool readOnly, bool trace, std::ostream& traceOut,
                    BusBackend& out, std::string& error);
