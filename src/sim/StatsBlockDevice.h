// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>

#include "sim/RegisterDevice.h"

// A receiver with byte registers that answers a twenty-byte read at
// sub-address 0 with its statistics block: five 32-bit words, least
// significant byte first. Board files set the words as registers
// 0x100..0x104 (Data0..Data4). A combined write-read takes the written bytes
// as a register address, most significant first, and never writes.
class StatsBlockDevice : public RegisterDevice {
 public:
  static constexpr long kFirstWord = 0x100;
  static constexpr int kWords = 5;

  StatsBlockDevice() : RegisterDevice(1, 1, 0xFF) {}

  bool Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) override;
  bool WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) override;
  bool SetRegister(long reg, long value, std::string& error) override;
  long GetRegister(long reg) const override;
  bool Learn(const SimRead& read, std::map<long, long>& registers) override;
  int RegisterBytes(long reg) const override {
    return reg >= kFirstWord && reg < kFirstWord + kWords ? 4 : 1;
  }

 protected:
  uint32_t& word(int n) { return words_[n]; }

 private:
  std::array<uint32_t, kWords> words_{};
};
