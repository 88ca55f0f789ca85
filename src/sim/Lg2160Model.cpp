// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated LG2160 and LG2161 at 0x1C: one-byte registers at 16-bit
// addresses. The two variants differ in their identity registers and in
// where the SNR digits, the error counter and the sync bit live. By default
// both hold a locked ATSC-MH signal with parade information; live, the SNR
// and the offsets wander slowly and the error counter creeps up over each
// minute.
#include <cmath>

#include "demod/atsc/lg2160.h"
#include "demod/atsc/regs/lg2160.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

using namespace lg2160reg;

constexpr double kSnr = 15.6;

class Lg2160Model : public RegisterDevice {
 public:
  explicit Lg2160Model(bool lg2161) : RegisterDevice(2, 1, 0xFFFF), lg2161_(lg2161) {
    reg(kPresence) = 0x02;  // not a mode another LG demodulator would claim
    reg(kIdentity2161) = lg2161 ? 0xFB : 0x00;
    reg(kIdentity2160) = lg2161 ? 0x00 : 0xCC;
    reg(kStatus) = 0x0F;    // sync and acquisition lock (active low)
    reg(kSync2161) = 0x00;  // LG2161 sync lock (active low)
    reg(kParade) = 0x85;    // parade 5
    reg(kFic) = 0x01;       // FIC
    reg(kVersion) = 0x2A;   // version 5
    reg(kGroups) = 0x35;    // 3 groups
    reg(kTotalGroups) = 0x0C;
    reg(kRfAgc) = 0x03;  // RF AGC 0x320
    reg(kRfAgc + 1) = 0x20;
    reg(kIfAgc) = 0x0A;  // IF AGC -1408
    reg(kIfAgc + 1) = 0x80;
    reg(kSccc) = 0x55;
    reg(kCarrierOffset) = 0x00;  // carrier offset
    reg(kCarrierOffset + 1) = 0x12;
    reg(kCarrierOffset + 2) = 0x34;
    reg(kTimingOffset) = 0xFF;  // timing recovery offset, slightly negative
    reg(kTimingOffset + 1) = 0xFE;
    reg(kTimingOffset + 2) = 0x80;
    SetSnr(kSnr);
  }

  void Advance(double t) override {
    SetSnr(kSnr + 1.5 * std::sin(t / 7.0) + 0.3 * std::sin(t * 1.3));
    long carrier = 0x1234 + long(std::lround(200 * std::sin(t / 11.0)));
    reg(kCarrierOffset + 1) = (carrier >> 8) & 0xFF;
    reg(kCarrierOffset + 2) = carrier & 0xFF;
    reg(kTimingOffset + 2) = 0x80 + long(std::lround(40 * std::sin(t / 5.0)));
    long errors = long(std::fmod(t, 60.0) / 10);
    reg(lg2161_ ? kErrors2161 : kErrors2160) = errors;
    reg((lg2161_ ? kErrors2161 : kErrors2160) + 1) = 0;
  }

 private:
  // Tens and units in the first register, tenths in the high nibble of the
  // second (LG2160) or in its low nibble (LG2161).
  void SetSnr(double db) {
    long tenths = std::lround(db * 10);
    long high = (tenths / 100) << 4 | (tenths / 10) % 10;
    long digit = tenths % 10;
    reg(lg2161_ ? kSnr2161 : kSnr2160) = high;
    reg((lg2161_ ? kSnr2161 : kSnr2160) + 1) = lg2161_ ? digit : digit << 4;
  }

  bool lg2161_;
};

SimChip::Factory Variant(bool lg2161) {
  return [lg2161](bool) { return std::make_unique<Lg2160Model>(lg2161); };
}

const SimChipRegistration lg2160("lg2160", {.address7 = 0x0E,
                                            .make = Variant(false),
                                            .probeRank = 60,
                                            .driver = DriverClass<::lg2160>()});
const SimChipRegistration lg2161("lg2161", {.address7 = 0x0E,
                                            .make = Variant(true),
                                            .description = "ATSC-MH"});

}  // namespace
