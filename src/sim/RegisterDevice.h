// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <vector>

#include "sim/SimDevice.h"

// A chip that is a plain register file: 8- or 16-bit register addresses,
// 8- or 16-bit registers (sent most significant byte first). Multi-register
// transfers move through consecutive registers. A plain write sets the
// register pointer from its first byte(s) and writes the rest; a plain read
// starts at the pointer. Models add side effects by overriding OnWrite and
// OnRead.
class RegisterDevice : public SimDevice {
 public:
  RegisterDevice(int addressBytes, int registerBytes, long lastRegister)
      : addressBytes_(addressBytes), registerBytes_(registerBytes), lastRegister_(lastRegister) {}

  bool Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) override;
  bool Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) override;
  bool WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) override;
  bool SetRegister(long reg, long value, std::string& error) override;
  long GetRegister(long reg) const override;
  bool Learn(const SimRead& read, std::map<long, long>& registers) override;
  int RegisterBytes(long /*reg*/) const override { return registerBytes_; }
  int AddressBytes() const override { return addressBytes_; }
  // Clears the lock bits while dropped and puts back what they held.
  bool DropLock(bool dropped) override;

 protected:
  // Called after a register was written by the bus; value is the new content.
  virtual void OnWrite(long /*reg*/, long /*value*/) {}
  // Called before a register is read by the bus, so a model can refresh it.
  virtual void OnRead(long /*reg*/) {}

  // Learns the registers behind bytes read from `start` on, as ReadBytes
  // sends them; the register pointer moves past them.
  void LearnBytes(long start, const std::vector<uint8_t>& bytes, std::map<long, long>& registers);

  // The bits that say the chip has a lock, by register: a model that names
  // them can drop its lock.
  std::map<long, long> lockBits_;

  long& reg(long r) { return registers_[r]; }
  long regValue(long r) const {
    auto it = registers_.find(r);
    return it == registers_.end() ? 0 : it->second;
  }

 private:
  void WriteBytes(long start, const uint8_t* data, int32_t count);
  void ReadBytes(long start, uint8_t* data, int32_t count);

  int addressBytes_;
  int registerBytes_;
  long lastRegister_;
  long pointer_ = 0;
  std::map<long, long> registers_;
  bool lockDropped_ = false;
  std::map<long, long> keptLockBits_;  // what the lock bits held when the lock was dropped
};
