// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated SMS1xxx at 0xC6: register 0x1F identifies it and a twenty-byte
// read at sub-address 0 gives its statistics. By default it reports a
// locked DVB-T signal (QAM64, rate 2/3, guard 1/8, 8K, 24 dB, -62 dBm);
// live, SNR and signal strength wander and the uncorrectable count creeps
// up over each minute.
#include <cmath>

#include "demod/dvb/regs/StatsBlock.h"
#include "demod/dvb/sms1xxx.h"
#include "sim/DemodChip.h"
#include "sim/StatsBlockDevice.h"

namespace {

using namespace statsblockreg;

class Sms1xxxModel : public StatsBlockDevice {
 public:
  Sms1xxxModel() {
    reg(kMode) = kDvbtMode;
    word(kStatusWord) = 0x80 | 2 | 1 << 8 | 2 << 16;  // lock, QAM64, 8K, 1/8, no hierarchy
    word(kCodeRateWord) = 1;                          // rate 2/3
    word(kUncorrectableWord) = 0;
    word(kSnrWord) = 24;
    word(kStrengthWord) = 62;
  }

  void Advance(double t) override {
    word(kSnrWord) = uint32_t(24 + std::lround(1.4 * std::sin(t / 8.0)));
    word(kStrengthWord) = uint32_t(62 + std::lround(3 * std::sin(t / 10.0)));
    word(kUncorrectableWord) = uint32_t(std::fmod(t, 60.0) / 20);
  }
};

const SimChipRegistration chip("sms1xxx", DemodChip<Sms1xxxModel, sms1xxx>(0x63, 120));

}  // namespace
