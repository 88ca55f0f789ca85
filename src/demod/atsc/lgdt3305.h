// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"

// 8-VSB / QAM 64 / QAM 256 demodulator with 16-bit register addresses and
// byte registers, at 0xB2 or 0x1C. The driver only reads the chip, so its
// setters do nothing; members after OperatingMode follow the mode it cached.
class lgdt3305 : public ChipDriver {
 public:
  lgdt3305(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::ByteAddr16) {}

  std::string name() override { return "LGDT3305"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override { return {}; }
  Value CarrierOffset() override;
  float TimingRecoveryOffset();
  Value CarrierOffsetHex() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override { return ""; }
  int32_t LGDT3305ColorizeSNR(float aSNR) { return ColorFor(currentMode_, aSNR); }

  // Quality colour of an SNR in dB by the thresholds of the given mode.
  static int32_t ColorFor(int16_t mode, float snr);
};
