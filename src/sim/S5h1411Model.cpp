// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated S5H1411: 16-bit registers behind 8-bit sub-addresses. The chip
// answers at two addresses, so it is two devices: "s5h1411" at the main
// address (0x32) and "s5h1411_second" at the second (0x34), which holds the
// AGC power reference. A board file lists both; sim:s5h1411 has both.
// By default it holds a locked 8-VSB signal; live, the SNR, offsets and AGC
// wander slowly and the error counters creep up over each minute.
#include <cmath>

#include "demod/atsc/regs/s5h1411.h"
#include "demod/atsc/s5h1411.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

using namespace s5h1411reg;

constexpr int kVsbRaw = 884;  // 25.0 dB

class S5h1411Model : public RegisterDevice {
 public:
  S5h1411Model() : RegisterDevice(1, 2, 0xFF) {
    reg(kSleep) = 0x0000;                // awake
    reg(kQamSelect) = 0x0000;            // 8-VSB
    reg(kVsbStatus) = 0xB000 | kVsbRaw;  // master, EQ and FEC lock
    reg(kQamSnr) = 0x1F40;               // QAM error figure, unused in 8-VSB
    reg(kQamStatus) = 0x0010;
    reg(kPassthru) = 0x0000;  // tuner gate closed
    reg(kQamAutoSelect) = 0x0000;
    reg(kQamManual) = 0x0001;
    reg(kVsbSync) = 0x0001;  // VSB sync
    lockBits_ = {{kVsbStatus, 0xF000}, {kQamStatus, 0x0010}, {kVsbSync, 0x0001}};
    reg(kAutoFreqHigh) = 0x0003;
    reg(kAutoFreqLow) = 0x1B58;
    reg(kCarrierOffsetHigh) = 0x0000;
    reg(kCarrierOffsetLow) = 0x0E10;
    reg(kSymbolTimingHigh) = 0x0001;
    reg(kSymbolTimingLow) = 0x2F40;
    reg(kUncorrectable) = 0;
    reg(kPostViterbi) = 0;
  }

  void Advance(double t) override {
    int raw = kVsbRaw + int(std::lround(14 * std::sin(t / 7.0) + 4 * std::sin(t * 1.3)));
    reg(kVsbStatus) = (regValue(kVsbStatus) & 0xFC00) | raw;
    reg(kCarrierOffsetLow) = (0x0E10 + long(std::lround(250 * std::sin(t / 11.0)))) & 0xFFFF;
    reg(kSymbolTimingLow) = (0x2F40 + long(std::lround(60 * std::sin(t / 5.0)))) & 0xFFFF;
    double inMinute = std::fmod(t, 60.0);
    reg(kUncorrectable) = long(inMinute / 15);
    reg(kPostViterbi) = long(inMinute * 3);
  }
};

class S5h1411SecondModel : public RegisterDevice {
 public:
  S5h1411SecondModel() : RegisterDevice(1, 2, 0xFF) {
    reg(kAgcPowerRef) = 0x0700;  // AGC power reference
  }

  void Advance(double t) override {
    reg(kAgcPowerRef) = 0x0700 + long(std::lround(48 * std::sin(t / 9.0)));
  }
};

// The chip's second address is a companion part: the built-in board and a
// board file that names "s5h1411" get it at 0x34 (unless the file lists
// "s5h1411_second" itself).
const SimChipRegistration chip("s5h1411", {.address7 = 0x19,
                                           .make = ModelClass<S5h1411Model>(),
                                           .companion = "s5h1411_second",
                                           .probeRank = 40,
                                           .driver = DriverClass<s5h1411>()});
const SimChipRegistration second("s5h1411_second", {.address7 = 0x1A,
                                                    .make = ModelClass<S5h1411SecondModel>(),
                                                    .builtInBoard = false});

}  // namespace
