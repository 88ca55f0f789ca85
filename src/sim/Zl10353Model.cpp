// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated ZL10353: one-byte registers behind 8-bit sub-addresses at 0x1E.
// By default it holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/16,
// 8K); live, the SNR and the bit error count wander and the uncorrectable
// count creeps up.
#include <cmath>

#include "demod/dvb/regs/zl10353.h"
#include "demod/dvb/zl10353.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace zl10353reg;

class Zl10353Model : public RegisterDevice {
 public:
  Zl10353Model() : RegisterDevice(1, 1, 0xFF) {
    reg(kChipId) = 0x14;   // identity
    reg(kSnr) = 184;       // SNR, 23 dB in 1/8 dB
    reg(kStatusA) = 0x65;  // lock, FEC, EQ and AFC bits
    reg(kStatusB) = 0x20;  // descrambler lock
    lockBits_ = {{kStatusA, 0x65}, {kStatusB, 0x20}};
    reg(kUncorrectableHigh) = 0x00;  // uncorrectable blocks
    reg(kUncorrectableLow) = 0x00;
    reg(kBitErrors) = 0x00;  // bit errors
    reg(kBitErrorsMid) = 0x01;
    reg(kBitErrorsLow) = 0x20;
    reg(kPeriodHigh) = 0x00;  // measuring period
    reg(kPeriodLow) = 0x40;
    // TPS word 0x4085: high priority, QAM64, no hierarchy, 2/3, 1/16, 8K.
    reg(kTpsHigh) = 0x40;
    reg(kTpsLow) = 0x85;
  }

  void Advance(double t) override {
    reg(kSnr) = 184 + long(std::lround(12 * std::sin(t / 9.0) + 3 * std::sin(t * 1.1)));
    long errors = 288 + long(std::lround(200 * std::sin(t / 6.0)));
    reg(kBitErrorsMid) = errors >> 8;
    reg(kBitErrorsLow) = errors & 0xFF;
    long blocks = long(t / 20) & 0x7FFF;
    reg(kUncorrectableHigh) = blocks >> 8;
    reg(kUncorrectableLow) = blocks & 0xFF;
  }
};

const SimChipRegistration chip("zl10353", DemodChip<Zl10353Model, zl10353>(0x0F, 80));

}  // namespace
