// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

// DVB-T demodulator with one-byte registers at 0xC6 or 0x86, identity 3 in
// 0x1F. It reports a signal strength in place of an SNR and colours it itself.
class cx22702 : public PlainDvbtDriver {
 public:
  cx22702(Bus& bus, MonitorView& view) : bus_(bus), view_(view) {}

  std::string name() override { return "CX22702"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  void GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock, int16_t& VSB_Sync,
                     int16_t& AFC_Lock) override;

 private:
  int16_t ReadRegister(int16_t sub);
  bool Answers(int16_t address);
  void ReadTPS();
  float SignalStrength();
  int32_t StrengthColor(float strength) const;

  Bus& bus_;
  MonitorView& view_;
  int16_t previousUncorrectable_ = 0;
};
