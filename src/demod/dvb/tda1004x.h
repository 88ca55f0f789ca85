// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

struct Tda1004xVariant;

// TDA10046 and TDA10048 DVB-T demodulators at 0x10 (0x12 for a second one).
// The identity byte read by the probe picks the chip's variant; an unknown
// identity makes every statistic neutral without bus traffic.
class tda1004x : public PlainDvbtDriver {
 public:
  using PlainDvbtDriver::PlainDvbtDriver;

  std::string name() override;
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value UncorrectableErrors() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

 private:
  void ReadTPS() override;

  const Tda1004xVariant* variant_ = nullptr;  // none: an unknown identity
  int32_t previousUncorrectable_ = 0;
};
