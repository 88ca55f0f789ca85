// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/RegisterDevice.h"

// Simulated TDA8290 or TDA8295 IF demodulator: a plain register file that
// carries the chip's identity and an I2C gate to the tuner behind it. The
// gate starts closed.
class Tda829xModel : public RegisterDevice {
 public:
  enum class Variant { Tda8290, Tda8295 };

  explicit Tda829xModel(Variant variant);

  bool GateOpen() const;

 private:
  Variant variant_;
};
