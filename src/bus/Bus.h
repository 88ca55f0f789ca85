#pragma once
#include <array>
#include <cstdint>

#include "bus/I2cLibrary.h"

// The process's bus state (library, handle, SNR history, second-demodulator
// flag) and the register helpers every driver uses. Failures never surface:
// reads give their preset after the last attempt, writes give up silently.
// Each read that gives its preset is counted, so a caller can tell a reading
// from a chip that did not answer.
class Bus {
 public:
  static constexpr int kWriteAttempts = 6;
  static constexpr int kReadAttempts = 4;
  static constexpr int kSnrSlots = 19;

  explicit Bus(I2cLibrary& library) : lib(library) {}

  I2cLibrary& lib;
  uint32_t handle = 0;
  bool secondDemod = false;
  // Reads that got no answer since the count was last cleared: register
  // reads that used up their attempts, and drivers' own transfers that
  // failed (they report them with NoteFailedRead). Writes do not count.
  long failedReads = 0;
  void NoteFailedRead() { ++failedReads; }

  void WriteReg8(int16_t address, int16_t sub, int16_t value);
  void WriteReg16(int16_t address, int16_t sub, int16_t value);
  int16_t ReadReg8(int16_t address, int16_t sub);
  int16_t ReadReg16(int16_t address, int16_t sub);
  int16_t ReadReg8Addr16(int16_t address, int16_t registerAddress);

  int16_t FillSnrHistory(double value);
  double AverageSnr(double value);
  // Slot n (1..19) of the SNR history; slot 19 is the newest.
  double SnrSlot(int n) const { return snrHistory_[n]; }

 private:
  std::array<double, kSnrSlots + 1> snrHistory_{};  // index 0 unused
};
