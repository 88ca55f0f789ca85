// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

// DVB-T demodulator with one-byte registers at 0x1E, identity 0x14 in 0x7F.
class zl10353 : public PlainDvbtDriver {
 public:
  zl10353(Bus& bus, MonitorView& view) : bus_(bus), view_(view) {}

  std::string name() override { return "ZL10353"; }
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  void GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock, int16_t& VSB_Sync,
                     int16_t& AFC_Lock) override;

 private:
  int16_t ReadRegister(int16_t sub);
  void ReadTPS();

  Bus& bus_;
  MonitorView& view_;
};
