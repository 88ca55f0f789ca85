// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

// DVB-T demodulator with one-byte registers at 0xC6 or 0x86, identity 3 in
// 0x1F. It reports a signal strength in place of an SNR and colours it itself.
class cx22702 : public PlainDvbtDriver {
 public:
  using PlainDvbtDriver::PlainDvbtDriver;

  std::string name() override { return "CX22702"; }
  bool probe() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

 private:
  void ReadTPS() override;
  float SignalStrength();

  int16_t previousUncorrectable_ = 0;
};
