// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "bus/I2cLibrary.h"

// A scripted library that records every call. Results can be queued per
// call; reads answer from a register map (16-bit registers MSB first when
// the read asks for two bytes).
class FakeI2c : public I2cLibrary {
 public:
  struct Call {
    enum Kind { Init, Write, Read, WriteRead } kind;
    uint32_t handle;
    int32_t mode, address, sub, count;
    std::vector<uint8_t> bytes;  // written bytes, or bytes handed back by a read
  };

  std::vector<Call> calls;
  std::deque<uint8_t> results;  // queued results; when empty, `fallback`
  uint8_t fallback = 0;
  std::map<int, std::vector<uint8_t>> readData;  // by sub-address (or 16-bit register address)
  uint32_t handleToGive = 7;
  std::function<uint32_t(int16_t)> initByType;

  uint8_t Next() {
    if (results.empty()) return fallback;
    uint8_t r = results.front();
    results.pop_front();
    return r;
  }
  int Count(Call::Kind kind) const {
    int n = 0;
    for (const auto& c : calls) n += c.kind == kind;
    return n;
  }

  uint32_t velI2C_InitByType(int16_t type, int32_t reserved) override {
    calls.push_back({Call::Init, 0, type, reserved, 0, 0, {}});
    return initByType ? initByType(type) : handleToGive;
  }
  uint8_t velI2C_WriteArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                            uint8_t* buffer) override {
    calls.push_back({Call::Write, h, mode, address, sub, count, {buffer, buffer + count}});
    return Next();
  }
  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    uint8_t r = Next();
    if (r == 0) Fill(sub, buffer, count);
    calls.push_back({Call::Read, h, mode, address, sub, count, {buffer, buffer + count}});
    return r;
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t, int32_t, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t, int32_t, int32_t readCount,
                           uint8_t* readBuffer) override {
    uint8_t r = Next();
    int reg = writeCount >= 2 ? (writeBuffer[0] << 8 | writeBuffer[1]) : writeBuffer[0];
    if (r == 0) Fill(reg, readBuffer, readCount);
    calls.push_back(
        {Call::WriteRead, h, 0, address, reg, readCount, {writeBuffer, writeBuffer + writeCount}});
    return r;
  }

 private:
  void Fill(int sub, uint8_t* buffer, int32_t count) {
    auto it = readData.find(sub);
    for (int32_t i = 0; i < count; ++i)
      buffer[i] = it != readData.end() && size_t(i) < it->second.size() ? it->second[i] : 0;
  }
};
