// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated TDA10046 and TDA10048: one-byte registers behind 8-bit
// sub-addresses at 0x10, told apart by the identity in register 0x00. By
// default each holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/8, 8K);
// live, the SNR wanders between two raw steps and the uncorrectable counter
// creeps up and wraps.
#include <cmath>

#include "demod/dvb/tda1004x.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

class Tda1004xModel : public RegisterDevice {
 public:
  Tda1004xModel(int identity, bool live) : RegisterDevice(1, 1, 0xFF), live_(live) {
    reg(0x00) = identity;
    if (identity == 0x46) {
      reg(0x1C) = 3;     // SNR, 22.2 dB
      reg(0x06) = 0x8F;  // PLL, lock, frequency, time and TPS bits
      reg(0x04) = 0x1A;  // QAM64, guard 1/8, 8K, no hierarchy
      reg(0x05) = 0x01;  // high priority 2/3, low priority 1/2
      reg(0x01) = 0x00;  // high priority stream
      reg(0x27) = 0x00;  // uncorrectable blocks
    } else {
      reg(0xA2) = 3;
      reg(0x1A) = 0x97;
      reg(0x14) = 0x09;  // guard 1/8, 8K
      reg(0x15) = 0x41;  // QAM64, no hierarchy, high priority 2/3
      reg(0x16) = 0x00;  // low priority 1/2
      reg(0x18) = 0x00;
      reg(0xCE) = 0x00;
      reg(0xCF) = 0x00;
    }
  }

  void Advance(double t) override {
    if (!live_) return;
    bool tda10046 = regValue(0x00) == 0x46;
    reg(tda10046 ? 0x1C : 0xA2) = std::sin(t / 8.0) + 0.4 * std::sin(t * 1.3) > 0.6 ? 2 : 3;
    long blocks = long(t / 12);
    if (tda10046) {
      reg(0x27) = blocks % 128;
    } else {
      reg(0xCE) = blocks & 0xFF;
      reg(0xCF) = (blocks >> 8) & 0xFF;
    }
  }

 private:
  bool live_;
};

SimChip::Factory Variant(int identity) {
  return [identity](bool live) { return std::make_unique<Tda1004xModel>(identity, live); };
}

const SimChipRegistration tda1004x("tda1004x", {.address7 = 0x08,
                                                .make = Variant(0x46),
                                                .probeRank = 100,
                                                .driver = DriverClass<::tda1004x>()});
const SimChipRegistration tda10046("tda10046", {.address7 = 0x08, .make = Variant(0x46)});
const SimChipRegistration tda10048("tda10048", {.address7 = 0x08, .make = Variant(0x48)});

}  // namespace
