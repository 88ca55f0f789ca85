// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "bus/I2cAdapters.h"
#include "bus/I2cLibrary.h"

class SimBoard;

// The library the program talks to, chosen from --bus: a simulated board, a
// board file, a Linux i2c-dev node (a path, an adapter's number or name, or a
// DVB frontend's name for the I2C bus of its card), or (no --bus) no board at
// all. Read-only, every plain write is refused before it reaches the board.
// With tracing, every call is printed to the trace stream, refused writes
// with their failure. A card whose frontend has no I2C bus this user may
// open is read through its frontend alone: no bus is opened, and the
// backend answers as no board does.
struct BusBackend {
  std::unique_ptr<I2cLibrary> backend;
  std::unique_ptr<I2cLibrary> readOnly;
  std::unique_ptr<I2cLibrary> tracer;
  SimBoard* simBoard = nullptr;  // set for simulated boards
  std::string frontend;          // the DVB frontend on the same card; empty when none
  std::string noRegisterView;    // one line saying why no I2C bus was opened; empty when one was
  I2cLibrary& library() const { return tracer ? *tracer : readOnly ? *readOnly : *backend; }
  bool simulated() const { return simBoard != nullptr; }
};

// Where a real card is looked up: this machine's sysfs and /dev, for this
// process's user and groups.
struct CardLookup {
  I2cAdapterRoots roots;
  Credentials who = Credentials::OfThisProcess();
};

// False with a message when the named bus cannot be opened.
bool OpenBusBackend(const std::string& bus, bool readOnly, bool trace, std::ostream& traceOut,
                    BusBackend& out, std::string& error, const CardLookup& lookup = {});
