// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "monitor/Demodulator.h"

class Bus;
class MonitorView;

// 8-VSB / QAM 64 / QAM 256 demodulator with 16-bit registers at 0x32.
class s5h1409 : public Demodulator {
 public:
  s5h1409(Bus& bus, MonitorView& view) : bus_(bus) { (void)view; }

  std::string name() override { return "CX24227"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override { return ReadRegister(0xB5); }
  Value PostVeterbiErrors() override { return ReadRegister(0xB7); }
  Value CarrierOffset() override;
  Value CarrierOffsetHex() override;
  int16_t Passthru() override;
  void Passthru(int16_t vNewValue) override { WriteRegister(0xF3, vNewValue); }
  int16_t Sleep() override;
  void Sleep(int16_t vNewValue) override { WriteRegister(0xF2, vNewValue); }
  void GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock, int16_t& VSB_Sync,
                     int16_t& AFC_Lock) override;
  Value SymbolTiming() override;
  Value AutoFreq() override;
  Value PilotPwr() override { return ReadRegister(0x3A); }
  Value IFGain() override { return QamRegister(0xA0); }
  Value STRTime() override { return QamRegister(0xA2); }
  Value FreqOffset() override { return QamRegister(0xAA); }
  Value AGCPowerRef() override { return ReadRegister(0x82); }
  Value BERctr() override;

  static int16_t ClampVsb(int16_t raw);
  static double VsbSnrToDb(int16_t raw);
  static double Qam64SnrToDb(int16_t raw);
  static double Qam256SnrToDb(int16_t raw);

 private:
  int16_t ReadRegister(int16_t sub);
  void WriteRegister(int16_t sub, int16_t value);
  Value QamRegister(int16_t sub);
  auto Reader() {
    return [this](int sub) { return ReadRegister(int16_t(sub)); };
  }

  Bus& bus_;
  int16_t currentMode_ = 0;
};
