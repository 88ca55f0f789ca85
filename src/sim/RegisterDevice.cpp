// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/RegisterDevice.h"

void RegisterDevice::WriteBytes(long start, const uint8_t* data, int32_t count) {
  long r = start;
  for (int32_t i = 0; i + registerBytes_ <= count; i += registerBytes_, ++r) {
    long value = registerBytes_ == 2 ? (data[i] << 8 | data[i + 1]) : data[i];
    registers_[r] = value;
    OnWrite(r, value);
  }
  pointer_ = r;
}

void RegisterDevice::ReadBytes(long start, uint8_t* data, int32_t count) {
  long r = start;
  for (int32_t i = 0; i < count; ++r) {
    OnRead(r);
    long value = regValue(r);
    if (registerBytes_ == 2) {
      data[i++] = uint8_t(value >> 8);
      if (i < count) data[i++] = uint8_t(value);
    } else {
      data[i++] = uint8_t(value);
    }
  }
  pointer_ = r;
}

bool RegisterDevice::Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) {
  if (mode == 1) {
    WriteBytes(sub & 0xFF, data, count);
    return true;
  }
  if (count < addressBytes_) return true;
  long start = addressBytes_ == 2 ? (data[0] << 8 | data[1]) : data[0];
  WriteBytes(start, data + addressBytes_, count - addressBytes_);
  if (count == addressBytes_) pointer_ = start;
  return true;
}

bool RegisterDevice::Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) {
  ReadBytes(mode == 1 ? (sub & 0xFF) : pointer_, data, count);
  return true;
}

bool RegisterDevice::WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) {
  if (outCount < addressBytes_) return false;
  long start = addressBytes_ == 2 ? (out[0] << 8 | out[1]) : out[0];
  if (outCount > addressBytes_) WriteBytes(start, out + addressBytes_, outCount - addressBytes_);
  ReadBytes(start, in, inCount);
  return true;
}

bool RegisterDevice::SetRegister(long r, long value, std::string& error) {
  if (r < 0 || r > lastRegister_) {
    error = "register out of range (last is " + std::to_string(lastRegister_) + ")";
    return false;
  }
  long max = registerBytes_ == 2 ? 0xFFFF : 0xFF;
  if (value < 0 || value > max) {
    error = "value out of range (the chip's registers are " + std::to_string(registerBytes_ * 8) +
            " bits wide)";
    return false;
  }
  registers_[r] = value;
  return true;
}

long RegisterDevice::GetRegister(long r) const {
  auto it = registers_.find(r);
  return it == registers_.end() ? (r >= 0 && r <= lastRegister_ ? 0 : -1) : it->second;
}

void RegisterDevice::LearnBytes(long start, const std::vector<uint8_t>& bytes,
                                std::map<long, long>& registers) {
  long r = start;
  for (size_t i = 0; i < bytes.size(); ++r) {
    if (registerBytes_ == 2) {
      // A lone high byte keeps the low byte learnt before.
      long low =
          i + 1 < bytes.size() ? bytes[i + 1] : (registers.count(r) ? registers[r] & 0xFF : 0);
      registers[r] = long(bytes[i]) << 8 | low;
      i += 2;
    } else {
      registers[r] = bytes[i++];
    }
  }
  pointer_ = r;
}

bool RegisterDevice::Learn(const SimRead& read, std::map<long, long>& registers) {
  long start = pointer_;
  if (read.writeRead) {
    if (int(read.command.size()) < addressBytes_) return false;
    start = addressBytes_ == 2 ? (read.command[0] << 8 | read.command[1]) : read.command[0];
  } else if (read.mode == 1) {
    start = read.sub & 0xFF;
  }
  LearnBytes(start, read.bytes, registers);
  return true;
}

bool RegisterDevice::DropLock(bool dropped) {
  if (lockBits_.empty()) return false;
  // Applied at every transaction: a live model sets its lock bits again
  // as its signal moves.
  for (const auto& [r, mask] : lockBits_) {
    if (dropped && !lockDropped_) keptLockBits_[r] = reg(r) & mask;
    if (dropped)
      reg(r) &= ~mask;
    else if (lockDropped_)
      reg(r) |= keptLockBits_[r];
  }
  lockDropped_ = dropped;
  return true;
}
