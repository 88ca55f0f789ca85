// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/StatsBlockDriver.h"

// DVB-T receiver at 0x1C whose statistics block counts the SNR in
// hundredths of a dB and carries five lock bits.
class mxl111sf : public StatsBlockDriver {
 public:
  using StatsBlockDriver::StatsBlockDriver;

  std::string name() override { return "MxL111SF"; }
  bool probe() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

 protected:
  void CheckSnrWord(int32_t& Data3) override;
};
