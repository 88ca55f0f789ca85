// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "bus/ForwardingI2cLibrary.h"

// Why a control that would write is refused in read-only mode.
inline const std::string kReadOnlyNote = "Read-only mode: quovis writes nothing to the bus";

// Passes reads on to another library and refuses every write: the write
// answers failure and nothing reaches the bus. A write-read and a read
// through a sub-address pass, as their written bytes only name the register
// to read; one that reads nothing is a plain write on the wire (an adapter
// drops the empty read) and is refused too.
class ReadOnlyI2cLibrary : public ForwardingI2cLibrary {
 public:
  explicit ReadOnlyI2cLibrary(I2cLibrary& inner) : ForwardingI2cLibrary(inner) {}

  // Writes refused so far.
  long refused() const { return refused_; }

  uint8_t velI2C_WriteArray(uint32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*) override {
    return Refuse();
  }
  uint8_t velI2C_ReadArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                           int32_t count, uint8_t* buffer) override {
    if (mode != 0 && count <= 0) return Refuse();
    return ForwardingI2cLibrary::velI2C_ReadArray(handle, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t handle, int32_t address, int32_t reserved1, int32_t reserved2,
                           int32_t writeCount, uint8_t* writeBuffer, int32_t reserved3,
                           int32_t reserved4, int32_t readCount, uint8_t* readBuffer) override {
    if (readCount <= 0) return Refuse();
    return ForwardingI2cLibrary::velI2C_WriteRead(handle, address, reserved1, reserved2, writeCount,
                                                  writeBuffer, reserved3, reserved4, readCount,
                                                  readBuffer);
  }

 private:
  uint8_t Refuse() {
    ++refused_;
    return 1;
  }

  long refused_ = 0;
};
