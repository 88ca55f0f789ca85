// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "bus/I2cLibrary.h"

// The process's bus state (library, handle, second-demodulator flag) and the
// register helpers every driver uses. Failures never surface: reads give
// their preset after the last attempt, writes give up silently.
// Each read that gives its preset is counted, so a caller can tell a reading
// from a chip that did not answer.
class Bus {
 public:
  static constexpr int kWriteAttempts = 6;
  static constexpr int kReadAttempts = 4;

  explicit Bus(I2cLibrary& library) : lib(library) {}

  I2cLibrary& lib;
  uint32_t handle = 0;
  bool secondDemod = false;
  // Reads that got no answer since the count was last cleared: every read
  // helper below that used up its attempts, a one-try read included. Writes
  // and the probes' Answers do not count.
  long failedReads = 0;
  // Told of each of those reads as it is counted, right after its last
  // attempt: a capture names the register that did not answer.
  std::function<void()> onFailedRead;
  void NoteFailedRead() {
    ++failedReads;
    if (onFailedRead) onFailedRead();
  }
  // The chip detection found, so that a raw read can be held to a register
  // address of the size that chip's own reads send.
  int16_t chipAddress = -1;
  int chipRegisterAddressBytes = 1;
  // How many bytes a register address takes at `address`: one where no
  // chip was detected.
  int RegisterAddressBytesAt(int32_t address) const {
    return address == chipAddress ? chipRegisterAddressBytes : 1;
  }

  void WriteReg8(int16_t address, int16_t sub, int16_t value);
  void WriteReg16(int16_t address, int16_t sub, int16_t value);
  int16_t ReadReg8(int16_t address, int16_t sub);
  int16_t ReadReg16(int16_t address, int16_t sub);
  int16_t ReadReg8Addr16(int16_t address, int16_t registerAddress);

  // Transfers the drivers' probes and odd-sized registers need; each says
  // whether the device answered, and all but Answers count a failure.
  // One plain read of `bytes` bytes (at most 2), no retry: is a device there?
  // Mode 0x10 is the library's 16-bit sub-address mode.
  bool Answers(int16_t address, int bytes, int32_t mode = 0);
  // One combined write-then-read, no retry; `in` keeps what it held when the
  // device does not answer.
  bool WriteReadOnce(int16_t address, std::vector<uint8_t> out, std::span<uint8_t> in);
  // A combined write-then-read, up to 4 attempts, `in` preset to 0xFF before each.
  bool WriteRead(int16_t address, std::vector<uint8_t> out, std::span<uint8_t> in);
  // A block read at a sub-address, up to 4 attempts, preset to 0xFF before each.
  bool ReadBlock(int16_t address, int16_t sub, std::span<uint8_t> block);
};
