// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated LGDT3305: byte registers behind 16-bit register addresses at
// 0xB2. By default it holds a locked 8-VSB signal; live, the error power,
// offsets and AGC levels wander slowly and the error count creeps up over
// each minute. A board file may switch it to QAM through register 0x0000.
#include <cmath>

#include "demod/atsc/lgdt3305.h"
#include "demod/atsc/regs/lgdt3305.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace lgdt3305reg;

class Lgdt3305Model : public RegisterDevice {
 public:
  Lgdt3305Model() : RegisterDevice(2, 1, 0xFFFF) {
    reg(kMode) = 0x03;      // 8-VSB
    reg(kIdentity) = 0x90;  // identity
    reg(kIdentity2) = 0x2F;
    reg(kLocks) = 0x07;        // EQ, FEC and sync; bit 3 clear is the 8-VSB lock
    reg(kQamLock) = 0x0D;      // QAM lock
    reg(kCarrierLock) = 0x82;  // carrier lock in both modes
    SetVsbMse(81);             // about 25 dB
    SetQamMse(600);            // about 30.6 dB in QAM 64
    Set24(kCarrierOffset, 13000);
    Set24(kTimingOffset, -900);
    Set12(kRfAgc, 0x258);
    Set12(kIfAgc, -0x1E0);
  }

  void Advance(double t) override {
    double wander = 1.2 * std::sin(t / 7.0) + 0.3 * std::sin(t * 1.3);
    SetVsbMse(std::lround(25600 / std::pow(10, (25 + wander) / 10)));
    bool qam256 = (regValue(kMode) & 3) == 1;
    double qamDb = qam256 ? 35 : 32, scale = qam256 ? 696320 : 688128;
    SetQamMse(std::lround(scale / std::pow(10, (qamDb + wander) / 10)));
    Set24(kCarrierOffset, 13000 + std::lround(2500 * std::sin(t / 11.0)));
    Set24(kTimingOffset, -900 + std::lround(150 * std::sin(t / 13.0)));
    Set12(kRfAgc, 0x258 + std::lround(30 * std::sin(t / 5.0)));
    Set12(kIfAgc, -0x1E0 + std::lround(20 * std::sin(t / 9.0)));
    long errors = long(std::fmod(t, 60.0) / 12);
    reg(kUncorrectableHigh) = errors >> 8;
    reg(kUncorrectableLow) = errors & 0xFF;
  }

 private:
  void SetVsbMse(long mse) {
    reg(kVsbMse) = (mse >> 16) & 0x0F;
    reg(kVsbMse + 1) = (mse >> 8) & 0xFF;
    reg(kVsbMse + 2) = mse & 0xFF;
  }
  void SetQamMse(long mse) {
    reg(kQamMseHigh) = (mse >> 8) & 0xFF;
    reg(kQamMseLow) = mse & 0xFF;
  }
  // Two's complement over three or two registers, most significant first.
  void Set24(long r, long value) {
    reg(r) = (value >> 16) & 0xFF;
    reg(r + 1) = (value >> 8) & 0xFF;
    reg(r + 2) = value & 0xFF;
  }
  void Set12(long r, long value) {
    reg(r) = (value >> 8) & 0x0F;
    reg(r + 1) = value & 0xFF;
  }
};

const SimChipRegistration chip("lgdt3305", DemodChip<Lgdt3305Model, lgdt3305>(0x59, 20));

}  // namespace
