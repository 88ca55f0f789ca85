#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bus/I2cLibrary.h"

// Passes calls on to a board, records every plain write, and can make the
// bus unreliable: fail a fraction of transactions at random, or drop the
// board altogether (nothing answers) until it is brought back.
class RecordingLibrary : public I2cLibrary {
 public:
  struct Write {
    int32_t mode, address, sub;
    std::vector<uint8_t> bytes;
    bool operator==(const Write&) const = default;
  };

  explicit RecordingLibrary(I2cLibrary& inner, unsigned seed = 1) : inner_(inner), rng_(seed) {}

  std::vector<Write> writes;
  double failRate = 0;
  bool dropped = false;

  uint32_t velI2C_InitByType(int16_t type, int32_t reserved) override {
    return inner_.velI2C_InitByType(type, reserved);
  }
  uint8_t velI2C_WriteArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                            uint8_t* buffer) override {
    writes.push_back({mode, address, sub, {buffer, buffer + count}});
    if (Fails()) return 1;
    return inner_.velI2C_WriteArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    if (Fails()) return 1;
    return inner_.velI2C_ReadArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    if (Fails()) return 1;
    return inner_.velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer, r3, r4, readCount,
                                   readBuffer);
  }

 private:
  bool Fails() {
    if (dropped) return true;
    return failRate > 0 && std::uniform_real_distribution<double>(0, 1)(rng_) < failRate;
  }

  I2cLibrary& inner_;
  std::mt19937 rng_;
};
