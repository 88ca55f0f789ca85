// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated DIB7000PC: 16-bit registers behind 16-bit addresses at 0x12.
// By default it holds a locked DVB-T signal (QAM64, rate 2/3, guard 1/8,
// 8K); live, the C/N mantissa and the AGC wander slowly and the error
// counters creep up over each minute.
#include <cmath>

#include "demod/dvb/dibcom.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

// The C/N word pair for mantissas m1, m2 and exponents e1, e2 (6 bits each,
// e1 split over both words).
void SetCarrierToNoise(long& r1, long& r2, int m1, int e1, int m2, int e2) {
  r1 = (m1 & 0xFF) << 4 | ((e1 & 0x3F) >> 2);
  r2 = (e1 & 3) << 14 | (m2 & 0xFF) << 6 | (e2 & 0x3F);
}

class DibcomModel : public RegisterDevice {
 public:
  explicit DibcomModel(bool live) : RegisterDevice(2, 2, 0xFFFF), live_(live) {
    reg(0x0300) = 0x01B3;  // identity of the DIB7000PC
    reg(0x0301) = 0x4000;
    SetCarrierToNoise(reg(0x01DF), reg(0x01E0), 64, 0, 127, 7);  // 128/65 x 2^7: 24.0 dB
    reg(0x01FD) = 0xB118;                                        // all locks
    reg(0x01CF) = 0x8000 | 0x0100 | 2 << 5 | 2;
    reg(0x0188) = 0x2A40;
    reg(0x0189) = 0x1F80;
    reg(0x018A) = 0x4C10;
    reg(0x01FA) = 0;
    reg(0x01FC) = 0;
  }

  void Advance(double t) override {
    if (!live_) return;
    int m2 = 127 + int(std::lround(25 * std::sin(t / 9.0) + 5 * std::sin(t * 1.1)));
    SetCarrierToNoise(reg(0x01DF), reg(0x01E0), 64, 0, m2, 7);
    reg(0x0188) = 0x2A40 + long(std::lround(0x60 * std::sin(t / 6.0)));
    reg(0x018A) = 0x4C10 + long(std::lround(0x30 * std::sin(t / 13.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(0x01FA) = long(inMinute / 15);
    reg(0x01FC) = long(inMinute * 3);
  }

 private:
  bool live_;
};

const SimChipRegistration chip("dibcom", DemodChip<DibcomModel, dibcom>(0x09, 30));

}  // namespace
