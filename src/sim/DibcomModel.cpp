// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated DIB7000PC: 16-bit registers behind 16-bit addresses at 0x12.
// By default it holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/8,
// 8K); live, the C/N mantissa and the AGC wander slowly and the error
// counters creep up over each minute.
#include <cmath>

#include "demod/dvb/dibcom.h"
#include "demod/dvb/regs/dibcom.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace dibcomreg;

// The C/N word pair for mantissas m1, m2 and exponents e1, e2 (6 bits each,
// e1 split over both words).
void SetCarrierToNoise(long& r1, long& r2, int m1, int e1, int m2, int e2) {
  r1 = (m1 & 0xFF) << 4 | ((e1 & 0x3F) >> 2);
  r2 = (e1 & 3) << 14 | (m2 & 0xFF) << 6 | (e2 & 0x3F);
}

class DibcomModel : public RegisterDevice {
 public:
  DibcomModel() : RegisterDevice(2, 2, 0xFFFF) {
    reg(kIdentity7000PC) = kVendor;  // identity of the DIB7000PC
    reg(kIdentity7000PC + 1) = 0x4000;
    SetCarrierToNoise(reg(kCarrierToNoise7000PC), reg(kCarrierToNoise7000PC + 1), 64, 0, 127,
                      7);       // 128/65 x 2^7: 24.0 dB
    reg(kLockStatus) = 0xB118;  // all locks
    reg(kTps7000) = 0x8000 | 0x0100 | 2 << 5 | 2;
    reg(kAgc1) = 0x2A40;
    reg(kAgc1 + 1) = 0x1F80;
    reg(kAgc1 + 2) = 0x4C10;
    reg(kUncorrectable7000) = 0;
    reg(kUncorrectable3000) = 0;
  }

  void Advance(double t) override {
    int m2 = 127 + int(std::lround(25 * std::sin(t / 9.0) + 5 * std::sin(t * 1.1)));
    SetCarrierToNoise(reg(kCarrierToNoise7000PC), reg(kCarrierToNoise7000PC + 1), 64, 0, m2, 7);
    reg(kAgc1) = 0x2A40 + long(std::lround(0x60 * std::sin(t / 6.0)));
    reg(kAgc1 + 2) = 0x4C10 + long(std::lround(0x30 * std::sin(t / 13.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(kUncorrectable7000) = long(inMinute / 15);
    reg(kUncorrectable3000) = long(inMinute * 3);
  }
};

const SimChipRegistration chip("dibcom", DemodChip<DibcomModel, dibcom>(0x09, 30));

}  // namespace
