// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "bus/ForwardingI2cLibrary.h"

// Why a control that would write is refused in read-only mode.
inline const std::string kReadOnlyNote = "Read-only mode: quovis writes nothing to the bus";

// Passes reads on to another library and refuses every plain write: the
// write answers failure and nothing reaches the bus. A write-read and a
// read through a sub-address only name the register to read, so they pass.
class ReadOnlyI2cLibrary : public ForwardingI2cLibrary {
 public:
  explicit ReadOnlyI2cLibrary(I2cLibrary& inner) : ForwardingI2cLibrary(inner) {}

  // Writes refused so far.
  long refused() const { return refused_; }

  uint8_t velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*) override {
    ++refused_;
    return 1;
  }

 private:
  long refused_ = 0;
};
