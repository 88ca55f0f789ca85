// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated CX22702: one-byte registers behind 8-bit sub-addresses at 0xC6
// (0x86 from a board file). By default it holds a locked DVB-T signal
// (QAM64, rate 2/3, guard 1/8, 8K); live, the signal strength wanders and
// the error counters move.
#include <cmath>

#include "demod/dvb/cx22702.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

class Cx22702Model : public RegisterDevice {
 public:
  explicit Cx22702Model(bool live) : RegisterDevice(1, 1, 0xFF), live_(live) {
    reg(0x1F) = 0x03;  // identity
    reg(0x23) = 135;   // signal strength 25 dB
    reg(0x0A) = 0x30;  // synchronised, no error flag
    reg(0x17) = 0x01;  // FEC lock
    reg(0x0C) = 0x00;  // high priority stream
    reg(0x01) = 0x10;  // QAM64, no hierarchy
    reg(0x02) = 0x08;  // high priority 2/3, low priority 1/2
    reg(0x03) = 0xA0;  // guard 1/8, 8K
    reg(0xE3) = 0;     // uncorrectable blocks
    reg(0xDE) = 0x00;  // corrected errors
    reg(0xDF) = 0x05;
  }

  void Advance(double t) override {
    if (!live_) return;
    reg(0x23) = 135 + long(std::lround(20 * std::sin(t / 10.0) + 4 * std::sin(t * 0.9)));
    reg(0xE3) = long(t / 15) % 256;
    reg(0xDF) = 5 + long(std::lround(4 * std::sin(t / 4.0)));
  }

 private:
  bool live_;
};

const SimChipRegistration chip("cx22702", {.address7 = 0x63,
                                           .make = ModelClass<Cx22702Model>(),
                                           .probeRank = 90,
                                           .driver = DriverClass<cx22702>()});

}  // namespace
