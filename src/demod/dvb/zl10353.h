// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

// DVB-T demodulator with one-byte registers at 0x1E, identity 0x14 in 0x7F.
class zl10353 : public PlainDvbtDriver {
 public:
  using PlainDvbtDriver::PlainDvbtDriver;

  std::string name() override { return "ZL10353"; }
  bool probe() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

 private:
  void ReadTPS() override;
};
