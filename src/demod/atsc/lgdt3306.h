// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"

// 8-VSB / QAM 64 / QAM 256 demodulator with 16-bit register addresses and
// byte registers, at 0xB2 or, as the second demodulator of a board, 0x1C.
// It only reads the chip; its setters do nothing.
class lgdt3306 : public ChipDriver {
 public:
  lgdt3306(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::ByteAddr16) {}

  std::string name() override { return "LGDT3306"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  Value CarrierOffset() override;
  float TimingRecoveryOffset();
  Value CarrierOffsetHex() override;
  int16_t Sleep() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override { return ""; }
  int32_t LGDT3306ColorizeSNR(float aSNR);

 private:
  // The SNR in dB; a low ratio defers to the chip's own coarse reading.
  float SnrDb();
};
