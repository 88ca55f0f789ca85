// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"

// 8-VSB / QAM 64 / QAM 256 demodulator with 16-bit registers at 0x32.
class s5h1409 : public ChipDriver {
 public:
  s5h1409(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::Word) {}

  std::string name() override { return "CX24227"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  Value CarrierOffset() override;
  Value CarrierOffsetHex() override;
  int16_t Passthru() override;
  void Passthru(int16_t vNewValue) override;
  int16_t Sleep() override;
  void Sleep(int16_t vNewValue) override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override;
  Value AutoFreq() override;
  Value PilotPwr() override;
  Value IFGain() override;
  Value STRTime() override;
  Value FreqOffset() override;
  Value AGCPowerRef() override;
  Value BERctr() override;

  static int16_t ClampVsb(int16_t raw);
  static double VsbSnrToDb(int16_t raw);
  static double Qam64SnrToDb(int16_t raw);
  static double Qam256SnrToDb(int16_t raw);

 private:
  Value QamRegister(int sub);
};
