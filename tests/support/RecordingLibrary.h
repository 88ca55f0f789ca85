// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bus/ForwardingI2cLibrary.h"

// Passes calls on to a board and records every one of them, and can make the
// bus unreliable: fail a fraction of transactions at random, or drop the
// board altogether (nothing answers) until it is brought back.
class RecordingLibrary : public ForwardingI2cLibrary {
  using Forward = ForwardingI2cLibrary;

 public:
  struct Call {
    enum Kind { Write, Read, WriteRead } kind;
    int32_t mode, address, sub, count;
    std::vector<uint8_t> written;  // a write's data, or a write-read's command bytes
    bool failed = false;           // the library answered with a failure
  };
  struct Write {
    int32_t mode, address, sub;
    std::vector<uint8_t> bytes;
    bool operator==(const Write&) const = default;
  };

  explicit RecordingLibrary(I2cLibrary& inner, unsigned seed = 1)
      : ForwardingI2cLibrary(inner), rng_(seed) {}

  std::vector<Call> calls;
  double failRate = 0;
  bool dropped = false;

  // The plain writes among the calls, in order.
  std::vector<Write> Writes() const {
    std::vector<Write> writes;
    for (const auto& c : calls)
      if (c.kind == Call::Write) writes.push_back({c.mode, c.address, c.sub, c.written});
    return writes;
  }

  uint8_t velI2C_WriteArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                            uint8_t* buffer) override {
    calls.push_back({Call::Write, mode, address, sub, count, {buffer, buffer + count}, false});
    return Result(Fails() ? 1 : Forward::velI2C_WriteArray(h, mode, address, sub, count, buffer));
  }
  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    calls.push_back({Call::Read, mode, address, sub, count, {}, false});
    return Result(Fails() ? 1 : Forward::velI2C_ReadArray(h, mode, address, sub, count, buffer));
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    std::vector<uint8_t> sent(writeBuffer, writeBuffer + writeCount);
    calls.push_back({Call::WriteRead, 0, address, 0, readCount, sent, false});
    return Result(Fails() ? 1
                          : Forward::velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer,
                                                      r3, r4, readCount, readBuffer));
  }

 private:
  uint8_t Result(uint8_t result) {
    calls.back().failed = result != 0;
    return result;
  }
  bool Fails() {
    if (dropped) return true;
    return failRate > 0 && std::uniform_real_distribution<double>(0, 1)(rng_) < failRate;
  }

  std::mt19937 rng_;
};
