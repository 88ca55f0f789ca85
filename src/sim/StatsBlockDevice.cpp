// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/StatsBlockDevice.h"

bool StatsBlockDevice::Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) {
  if (mode != 1 || sub != 0 || count != kWords * 4)
    return RegisterDevice::Read(mode, sub, data, count);
  for (int i = 0; i < count; ++i) data[i] = uint8_t(words_[i / 4] >> (8 * (i % 4)));
  return true;
}

bool StatsBlockDevice::WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in,
                                 int32_t inCount) {
  if (outCount < 1) return false;
  long address = 0;
  for (int32_t i = 0; i < outCount; ++i) address = address << 8 | out[i];
  for (int32_t i = 0; i < inCount; ++i) {
    long r = address + i;
    in[i] = r <= 0xFF ? uint8_t(regValue(r)) : 0;
  }
  return true;
}

bool StatsBlockDevice::SetRegister(long reg, long value, std::string& error) {
  if (reg < kFirstWord || reg >= kFirstWord + kWords)
    return RegisterDevice::SetRegister(reg, value, error);
  if (value < 0 || value > 0xFFFFFFFFL) {
    error = "value out of range (the statistics words are 32 bits wide)";
    return false;
  }
  words_[reg - kFirstWord] = uint32_t(value);
  return true;
}

long StatsBlockDevice::GetRegister(long reg) const {
  if (reg < kFirstWord || reg >= kFirstWord + kWords) return RegisterDevice::GetRegister(reg);
  return long(words_[reg - kFirstWord]);
}

bool StatsBlockDevice::Learn(const SimRead& read, std::map<long, long>& registers) {
  if (read.writeRead) {
    if (read.command.empty()) return false;
    long address = 0;
    for (uint8_t b : read.command) address = address << 8 | b;
    for (size_t i = 0; i < read.bytes.size(); ++i)
      if (address + long(i) <= 0xFF) registers[address + long(i)] = read.bytes[i];
    return true;
  }
  if (read.mode != 1 || read.sub != 0 || read.bytes.size() != size_t(kWords) * 4)
    return RegisterDevice::Learn(read, registers);
  for (int w = 0; w < kWords; ++w) {
    uint32_t value = 0;
    for (int b = 3; b >= 0; --b) value = value << 8 | read.bytes[size_t(w) * 4 + size_t(b)];
    registers[kFirstWord + w] = long(value);
  }
  return true;
}
