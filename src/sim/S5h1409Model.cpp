// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated S5H1409: 16-bit registers behind 8-bit sub-addresses at 0x32.
// By default it holds a locked 8-VSB signal; live, the SNR and offsets
// wander slowly and the error counters creep up over each minute.
#include <cmath>

#include "demod/atsc/s5h1409.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

class S5h1409Model : public RegisterDevice {
 public:
  explicit S5h1409Model(bool live) : RegisterDevice(1, 2, 0xFF), live_(live) {
    reg(0xF2) = 0x0000;        // awake
    reg(0xF4) = 0x0000;        // 8-VSB
    reg(0xF1) = 0xF000 | 830;  // all locks, raw SNR 830 (about 22.6 dB)
    reg(0xF0) = 0x0000;
    reg(0x40) = 0x0001;  // VSB sync
    reg(0x33) = 0x0000;
    reg(0x34) = 0x1A2C;
    reg(0x35) = 0x0012;
    reg(0x36) = 0x3456;
    reg(0x38) = 0x0001;
    reg(0x39) = 0x2F40;
    reg(0x3A) = 0x0C80;
    reg(0x82) = 0x0700;
    reg(0xAC) = 0x0000;
    reg(0xB5) = 0;
    reg(0xB7) = 0;
    lockBits_ = {{0xF1, 0xF000}, {0xF0, 0x1000}, {0x40, 0x0001}};
  }

  void Advance(double t) override {
    if (!live_) return;
    int raw = 830 + int(std::lround(18 * std::sin(t / 7.0) + 6 * std::sin(t * 1.3)));
    reg(0xF1) = 0xF000 | raw;
    long offset = 0x1A2C + long(std::lround(300 * std::sin(t / 11.0)));
    reg(0x34) = offset & 0xFFFF;
    reg(0x3A) = 0x0C80 + long(std::lround(40 * std::sin(t / 5.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(0xB5) = long(inMinute / 12);
    reg(0xB7) = long(inMinute * 2);
  }

 private:
  bool live_;
};

const SimChipRegistration chip("s5h1409", {.address7 = 0x19,
                                           .make = ModelClass<S5h1409Model>(),
                                           .probeRank = 50,
                                           .driver = DriverClass<s5h1409>()});

}  // namespace
