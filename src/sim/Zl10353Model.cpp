// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated ZL10353: one-byte registers behind 8-bit sub-addresses at 0x1E.
// By default it holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/16,
// 8K); live, the SNR and the bit error count wander and the uncorrectable
// count creeps up.
#include <cmath>

#include "demod/dvb/zl10353.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

class Zl10353Model : public RegisterDevice {
 public:
  explicit Zl10353Model(bool live) : RegisterDevice(1, 1, 0xFF), live_(live) {
    reg(0x7F) = 0x14;  // identity
    reg(0x10) = 184;   // SNR, 23 dB in 1/8 dB
    reg(0x06) = 0x65;  // lock, FEC, EQ and AFC bits
    reg(0x07) = 0x20;  // descrambler lock
    lockBits_ = {{0x06, 0x65}, {0x07, 0x20}};
    reg(0x14) = 0x00;  // uncorrectable blocks
    reg(0x15) = 0x00;
    reg(0x11) = 0x00;  // bit errors
    reg(0x12) = 0x01;
    reg(0x13) = 0x20;
    reg(0x60) = 0x00;  // measuring period
    reg(0x61) = 0x40;
    // TPS word 0x4085: high priority, QAM64, no hierarchy, 2/3, 1/16, 8K.
    reg(0x1F) = 0x40;
    reg(0x20) = 0x85;
  }

  void Advance(double t) override {
    if (!live_) return;
    reg(0x10) = 184 + long(std::lround(12 * std::sin(t / 9.0) + 3 * std::sin(t * 1.1)));
    long errors = 288 + long(std::lround(200 * std::sin(t / 6.0)));
    reg(0x12) = errors >> 8;
    reg(0x13) = errors & 0xFF;
    long blocks = long(t / 20) & 0x7FFF;
    reg(0x14) = blocks >> 8;
    reg(0x15) = blocks & 0xFF;
  }

 private:
  bool live_;
};

const SimChipRegistration chip("zl10353", {.address7 = 0x0F,
                                           .make = ModelClass<Zl10353Model>(),
                                           .probeRank = 80,
                                           .driver = DriverClass<zl10353>()});

}  // namespace
