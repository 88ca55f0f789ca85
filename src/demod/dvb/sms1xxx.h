// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/StatsBlockDriver.h"

// DVB-T receiver at 0xC6 that reports its SNR in whole dB in the
// statistics block.
class sms1xxx : public StatsBlockDriver {
 public:
  using StatsBlockDriver::StatsBlockDriver;

  std::string name() override { return "SMS1XXX"; }
  bool probe() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
};
