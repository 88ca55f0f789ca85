// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"
#include "monitor/Codes.h"
#include "monitor/Tps.h"

// A DVB-T-only demodulator that the monitor can only read: no I2C gate, no
// sleep control, no carrier, AGC or 8-VSB/QAM readings. Its transmission
// parameters are decoded when the mode is read and kept, so every member
// called in one poll sees the same ones.
class PlainDvbtDriver : public ChipDriver {
 public:
  using ChipDriver::ChipDriver;

  int16_t OperatingMode() override {
    ReadTPS();
    return Mode::DvbT;
  }
  void GetTPS(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP, int16_t& CodeRate,
              int16_t& Guard, int16_t& TransmissionMode) override {
    tps_.CopyTo(Modulation, Hierarchy, SelectHPLP, CodeRate, Guard, TransmissionMode);
  }

 protected:
  virtual void ReadTPS() = 0;
  // A decoded field as its code when the display knows it (0..highest),
  // else -1, which leaves the label as it was.
  static int16_t CodeUpTo(int32_t field, int16_t highest) {
    return field >= 0 && field <= highest ? int16_t(field) : int16_t(-1);
  }

  Tps tps_;
};
