// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"
#include "demod/atsc/regs/s5h1411.h"

// 8-VSB / QAM 64 / QAM 256 demodulator with 16-bit registers behind 8-bit
// sub-addresses. It answers at a pair of addresses (0x32/0x34 or 0x72/0x74);
// the AGC power reference lives at the second one. Its SNR is looked up in
// fixed tables rather than computed.
class s5h1411 : public ChipDriver {
 public:
  s5h1411(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::Word) {}

  std::string name() override { return "CX24228"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override { return int32_t(ReadRegister(s5h1411reg::kUncorrectable)); }
  Value PostVeterbiErrors() override { return int32_t(ReadRegister(s5h1411reg::kPostViterbi)); }
  Value CarrierOffset() override;
  Value CarrierOffsetHex() override;
  int16_t Passthru() override;
  void Passthru(int16_t vNewValue) override;
  int16_t Sleep() override;
  void Sleep(int16_t vNewValue) override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override;
  Value AutoFreq() override;
  Value AGCPowerRef() override;

  // Raw register value to dB, one table per modulation.
  static float VsbSnrToDb(int32_t raw);
  static float Qam64SnrToDb(int32_t raw);
  static float Qam256SnrToDb(int32_t raw);
  // Quality colour from the raw value of each modulation.
  static int32_t VsbColor(int32_t raw);
  static int32_t Qam64Color(int32_t raw);
  static int32_t Qam256Color(int32_t raw);

 private:
  int16_t secondAddress_ = 0;
};
