// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"
#include "monitor/Tps.h"

// A DVB-T-only demodulator that the monitor can only read: no I2C gate, no
// sleep control, no carrier, AGC or 8-VSB/QAM readings. Its transmission
// parameters are decoded when the mode is read and kept, so every member
// called in one poll sees the same ones.
class PlainDvbtDriver : public ChipDriver {
 public:
  using ChipDriver::ChipDriver;

  int16_t OperatingMode() override;
  void GetTPS(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

 protected:
  virtual void ReadTPS() = 0;

  Tps tps_;
};
