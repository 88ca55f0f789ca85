// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated S5H1409: 16-bit registers behind 8-bit sub-addresses at 0x32.
// By default it holds a locked 8-VSB signal; live, the SNR and offsets
// wander slowly and the error counters creep up over each minute.
#include <cmath>

#include "demod/atsc/regs/s5h1409.h"
#include "demod/atsc/s5h1409.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace s5h1409reg;

class S5h1409Model : public RegisterDevice {
 public:
  S5h1409Model() : RegisterDevice(1, 2, 0xFF) {
    reg(kSleep) = 0x0000;            // awake
    reg(kQamSelect) = 0x0000;        // 8-VSB
    reg(kVsbStatus) = 0xF000 | 830;  // all locks, raw SNR 830 (about 22.6 dB)
    reg(kQamStatus) = 0x0000;
    reg(kVsbSync) = 0x0001;  // VSB sync
    reg(kCarrierOffsetHigh) = 0x0000;
    reg(kCarrierOffsetLow) = 0x1A2C;
    reg(kSymbolTimingHigh) = 0x0012;
    reg(kSymbolTimingLow) = 0x3456;
    reg(kAutoFreqHigh) = 0x0001;
    reg(kAutoFreqLow) = 0x2F40;
    reg(kPilotPower) = 0x0C80;
    reg(kAgcPowerRef) = 0x0700;
    reg(kBerCounter) = 0x0000;
    reg(kUncorrectable) = 0;
    reg(kPostViterbi) = 0;
    lockBits_ = {{kVsbStatus, 0xF000}, {kQamStatus, 0x1000}, {kVsbSync, 0x0001}};
  }

  void Advance(double t) override {
    int raw = 830 + int(std::lround(18 * std::sin(t / 7.0) + 6 * std::sin(t * 1.3)));
    reg(kVsbStatus) = 0xF000 | raw;
    long offset = 0x1A2C + long(std::lround(300 * std::sin(t / 11.0)));
    reg(kCarrierOffsetLow) = offset & 0xFFFF;
    reg(kPilotPower) = 0x0C80 + long(std::lround(40 * std::sin(t / 5.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(kUncorrectable) = long(inMinute / 12);
    reg(kPostViterbi) = long(inMinute * 2);
  }
};

const SimChipRegistration chip("s5h1409", DemodChip<S5h1409Model, s5h1409>(0x19, 50));

}  // namespace
