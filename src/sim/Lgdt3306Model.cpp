// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated LGDT3306: byte registers behind 16-bit register addresses at
// 0xB2. By default it holds a locked 8-VSB signal; live, the signal-to-noise
// ratio and the offsets wander slowly and the error counts creep up over
// each minute. A board file may switch it to QAM through registers 0x0008
// and 0x00A6, or put it to sleep through bit 0 of register 0x0000.
#include <cmath>
#include <cstdlib>

#include "demod/atsc/lgdt3306.h"
#include "demod/atsc/regs/lgdt3306.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace lgdt3306reg;

class Lgdt3306Model : public RegisterDevice {
 public:
  Lgdt3306Model() : RegisterDevice(2, 1, 0xFFFF) {
    reg(kControl) = 0x75;   // awake, identity bits
    reg(kIdentity) = 0xC6;  // identity
    reg(kIdentity2) = 0x03;
    reg(kMode) = 0x80;       // 8-VSB
    reg(kStatus) = 0x80;     // locked
    reg(kNoiseHigh) = 0x00;  // noise 64
    reg(kNoiseLow) = 0x40;
    SetSignal(27);
    reg(kCoarseSnr) = 18;  // the chip's coarse reading, used below 20 dB
    SetSignMagnitude(kCarrierOffset, 2, 6);
    SetSignMagnitude(kTimingOffset, 3, -1500);
  }

  void Advance(double t) override {
    SetSignal(27 + 1.2 * std::sin(t / 7.0) + 0.3 * std::sin(t * 1.3));
    SetSignMagnitude(kCarrierOffset, 2, 6 + std::lround(12 * std::sin(t / 11.0)));
    SetSignMagnitude(kTimingOffset, 3, -1500 + std::lround(200 * std::sin(t / 13.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(kUncorrectable) = long(inMinute / 12);
    reg(kPostViterbi) = long(inMinute * 2);
  }

 private:
  // Signal power for the given SNR over the noise power of 64.
  void SetSignal(double db) {
    long signal = std::lround(64 * std::pow(10, db / 10));
    reg(kSignalHigh) = (signal >> 8) & 0xFF;
    reg(kSignalLow) = signal & 0xFF;
  }
  // Sign in the top bit, magnitude below, most significant register first.
  void SetSignMagnitude(long r, int bytes, long value) {
    long word = std::labs(value) | (value < 0 ? 1L << (8 * bytes - 1) : 0);
    for (int i = 0; i < bytes; ++i) reg(r + i) = (word >> (8 * (bytes - 1 - i))) & 0xFF;
  }
};

const SimChipRegistration chip("lgdt3306", DemodChip<Lgdt3306Model, lgdt3306>(0x59, 10));

}  // namespace
