// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"
#include "demod/atsc/regs/au8522.h"

// 8-VSB / QAM 64 / QAM 256 demodulator at 0x8E with 12-bit register
// addresses, each read by a three-byte command. The SNR is looked up from a
// one-byte error figure; VSB and QAM keep separate error counters.
class au8522 : public ChipDriver {
 public:
  using ChipDriver::ChipDriver;

  std::string name() override { return "AU8522"; }
  int registerAddressBytes() const override { return 2; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override { return " "; }
  int16_t QAMCorrectableErrors() { return ReadRegister(au8522reg::kQamCorrectable); }
  int16_t QAMUncorrectableErrors() { return ReadRegister(au8522reg::kQamUncorrectable); }
  int16_t VSBCorrectableErrors() { return ReadRegister(au8522reg::kVsbCorrectable); }
  int16_t VSBUncorrectableErrors() { return ReadRegister(au8522reg::kVsbUncorrectable); }
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  Value CarrierOffset() override { return {}; }
  Value CarrierOffsetHex() override { return ""; }
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override { return ""; }

  // Error byte to dB for a mode; 0 for a mode without a table.
  static float SnrToDb(int16_t mode, int32_t error);
  // Quality colour of an SNR in dB for a mode.
  static int32_t Colorize(int16_t mode, float snr);

 private:
  int16_t ReadRegister(int16_t reg);
};
