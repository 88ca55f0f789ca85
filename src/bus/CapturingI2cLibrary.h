// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "bus/ForwardingI2cLibrary.h"

// Passes reads on to another library and keeps, in bus order, every read
// with the bytes it got, or whether it got no answer; refuses every write,
// so whatever runs over it cannot change a chip. Used to capture a board.
class CapturingI2cLibrary : public ForwardingI2cLibrary {
 public:
  struct Read {
    int32_t address = 0;
    bool writeRead = false;  // a combined write-read; `command` holds the written bytes
    int32_t mode = 0, sub = 0;
    std::vector<uint8_t> command;
    std::vector<uint8_t> bytes;
    bool answered = true;
  };

  explicit CapturingI2cLibrary(I2cLibrary& inner) : ForwardingI2cLibrary(inner) {}

  const std::vector<Read>& reads() const { return reads_; }
  // Writes asked for and refused.
  long refusedWrites() const { return refusedWrites_; }
  // The first board type that opened, 0 while none has.
  int16_t openedType() const { return openedType_; }

  uint8_t velI2C_WriteArray(uint32_t handle, int32_t mode, int32_t address, int32_t sub,
                            int32_t count, uint8_t* buffer) override;

 protected:
  void Opened(int16_t boardType, int32_t reserved, uint32_t handle) override;
  void Passed(const Transfer& transfer) override;

 private:
  std::vector<Read> reads_;
  long refusedWrites_ = 0;
  int16_t openedType_ = 0;
};
