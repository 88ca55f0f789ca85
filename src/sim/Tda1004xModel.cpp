// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated TDA10046 and TDA10048: one-byte registers behind 8-bit
// sub-addresses at 0x10, told apart by the identity in register 0x00. By
// default each holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/8, 8K);
// live, the SNR wanders between two raw steps and the uncorrectable counter
// creeps up and wraps.
#include <cmath>

#include "demod/dvb/regs/tda1004x.h"
#include "demod/dvb/tda1004x.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

using namespace tda1004xreg;

class Tda1004xModel : public RegisterDevice {
 public:
  explicit Tda1004xModel(int identity) : RegisterDevice(1, 1, 0xFF) {
    reg(kIdentity) = identity;
    if (identity == 0x46) {
      reg(k46Snr) = 3;        // SNR, 22.2 dB
      reg(k46Status) = 0x8F;  // PLL, lock, frequency, time and TPS bits
      reg(k46TpsA) = 0x1A;    // QAM64, guard 1/8, 8K, no hierarchy
      reg(k46TpsB) = 0x01;    // high priority 2/3, low priority 1/2
      reg(k46Stream) = 0x00;  // high priority stream
      reg(k46Errors) = 0x00;  // uncorrectable blocks
    } else {
      reg(k48Snr) = 3;
      reg(k48Status) = 0x97;
      reg(k48TpsA) = 0x09;  // guard 1/8, 8K
      reg(k48TpsB) = 0x41;  // QAM64, no hierarchy, high priority 2/3
      reg(k48TpsC) = 0x00;  // low priority 1/2
      reg(k48Stream) = 0x00;
      reg(k48ErrorsLow) = 0x00;
      reg(k48ErrorsHigh) = 0x00;
    }
  }

  void Advance(double t) override {
    bool tda10046 = regValue(kIdentity) == 0x46;
    reg(tda10046 ? k46Snr : k48Snr) = std::sin(t / 8.0) + 0.4 * std::sin(t * 1.3) > 0.6 ? 2 : 3;
    long blocks = long(t / 12);
    if (tda10046) {
      reg(k46Errors) = blocks % 128;
    } else {
      reg(k48ErrorsLow) = blocks & 0xFF;
      reg(k48ErrorsHigh) = (blocks >> 8) & 0xFF;
    }
  }
};

SimChip::Factory Variant(int identity) {
  return [identity](bool) { return std::make_unique<Tda1004xModel>(identity); };
}

const SimChipRegistration tda1004x("tda1004x", {.address7 = 0x08,
                                                .make = Variant(0x46),
                                                .probeRank = 100,
                                                .driver = DriverClass<::tda1004x>()});
const SimChipRegistration tda10046("tda10046", {.address7 = 0x08, .make = Variant(0x46)});
const SimChipRegistration tda10048("tda10048", {.address7 = 0x08, .make = Variant(0x48)});

}  // namespace
