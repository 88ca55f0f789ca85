// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated CX22702: one-byte registers behind 8-bit sub-addresses at 0xC6
// (0x86 from a board file). By default it holds a locked DVB-T signal
// (QAM64, rate 2/3, guard 1/8, 8K); live, the signal strength wanders and
// the error counters move.
#include <cmath>

#include "demod/dvb/cx22702.h"
#include "demod/dvb/regs/cx22702.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace cx22702reg;

class Cx22702Model : public RegisterDevice {
 public:
  Cx22702Model() : RegisterDevice(1, 1, 0xFF) {
    reg(kChipId) = 0x03;         // identity
    reg(kSignalStrength) = 135;  // signal strength 25 dB
    reg(kStatus) = 0x30;         // synchronised, no error flag
    reg(kFecLock) = 0x01;        // FEC lock
    reg(kStream) = 0x00;         // high priority stream
    reg(kTpsA) = 0x10;           // QAM64, no hierarchy
    reg(kTpsB) = 0x08;           // high priority 2/3, low priority 1/2
    reg(kTpsC) = 0xA0;           // guard 1/8, 8K
    reg(kUncorrectable) = 0;     // uncorrectable blocks
    reg(kCorrectedHigh) = 0x00;  // corrected errors
    reg(kCorrectedLow) = 0x05;
  }

  void Advance(double t) override {
    reg(kSignalStrength) = 135 + long(std::lround(20 * std::sin(t / 10.0) + 4 * std::sin(t * 0.9)));
    reg(kUncorrectable) = long(t / 15) % 256;
    reg(kCorrectedLow) = 5 + long(std::lround(4 * std::sin(t / 4.0)));
  }
};

const SimChipRegistration chip("cx22702", DemodChip<Cx22702Model, cx22702>(0x63, 90));

}  // namespace
