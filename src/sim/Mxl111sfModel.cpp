// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated MxL111SF at 0x1C: identity register 0x03, mode register 0x1F
// and a twenty-byte statistics block at sub-address 0, the SNR in
// hundredths of a dB. By default it reports a locked DVB-T signal (QAM64,
// rate 2/3, guard 1/8, 8K, 24 dB, -55 dBm); live, SNR and signal strength
// wander and the uncorrectable count creeps up over each minute. Register
// 0x00 reads as no mode another family at 0x1C would recognise.
#include <cmath>

#include "demod/dvb/mxl111sf.h"
#include "demod/dvb/regs/mxl111sf.h"
#include "sim/DemodChip.h"
#include "sim/StatsBlockDevice.h"

namespace {

using namespace mxl111sfreg;

class Mxl111sfModel : public StatsBlockDevice {
 public:
  Mxl111sfModel() {
    reg(0x00) = 0x02;  // see above
    reg(kIdentity) = 0x73;
    reg(kMode) = kDvbtMode;
    word(kStatusWord) = 0xF8 | 2 | 1 << 8 | 2 << 16;  // all five locks, QAM64, 8K, 1/8
    word(kCodeRateWord) = 1;                          // rate 2/3
    word(kUncorrectableWord) = 0;
    word(kSnrWord) = 2400;
    word(kStrengthWord) = 55;
  }

  void Advance(double t) override {
    word(kSnrWord) = uint32_t(2400 + std::lround(120 * std::sin(t / 8.0) + 15 * std::sin(t * 1.7)));
    word(kStrengthWord) = uint32_t(55 + std::lround(2 * std::sin(t / 10.0)));
    word(kUncorrectableWord) = uint32_t(std::fmod(t, 60.0) / 20);
  }
};

const SimChipRegistration chip("mxl111sf", DemodChip<Mxl111sfModel, mxl111sf>(0x0E, 70));

}  // namespace
