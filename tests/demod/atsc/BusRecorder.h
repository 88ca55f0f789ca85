#pragma once
#include <cstdint>
#include <vector>

#include "bus/I2cLibrary.h"

// Passes every call on to a simulated board and records it, so a test can
// check which addresses a driver tried, in which order and how often.
class BusRecorder : public I2cLibrary {
 public:
  struct Call {
    enum Kind { Write, Read, WriteRead } kind;
    int32_t mode, address, sub, count;
    std::vector<uint8_t> written;
  };

  explicit BusRecorder(I2cLibrary& inner) : inner_(inner) {}
  std::vector<Call> calls;

  std::vector<int32_t> Addresses() const {
    std::vector<int32_t> out;
    for (const auto& c : calls) out.push_back(c.address);
    return out;
  }

  uint32_t velI2C_InitByType(int16_t type, int32_t reserved) override {
    return inner_.velI2C_InitByType(type, reserved);
  }
  uint8_t velI2C_WriteArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                            uint8_t* buffer) override {
    calls.push_back({Call::Write, mode, address, sub, count, {buffer, buffer + count}});
    return inner_.velI2C_WriteArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    calls.push_back({Call::Read, mode, address, sub, count, {}});
    return inner_.velI2C_ReadArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    calls.push_back(
        {Call::WriteRead, 0, address, 0, readCount, {writeBuffer, writeBuffer + writeCount}});
    return inner_.velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer, r3, r4, readCount,
                                   readBuffer);
  }

 private:
  I2cLibrary& inner_;
};
