// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated SI2165 at 0xC8: byte registers behind 16-bit addresses. It holds
// a locked DVB-T signal (QAM64, rate 2/3, guard 1/8, 8K, about 24 dB) or, as
// the built-in board si2165-dvbc, a locked DVB-C QAM256 signal (about
// 32 dB); live, the noise estimates wander slowly.
#include <cmath>

#include "demod/dvb/regs/si2165.h"
#include "demod/dvb/si2165.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

using namespace si2165reg;

class Si2165Model : public RegisterDevice {
 public:
  explicit Si2165Model(bool cable) : RegisterDevice(2, 1, 0xFFFF) {
    reg(kRevision) = 1;  // revision B
    reg(kStandard) = cable ? 0x05 : 0x01;
    reg(kPassthru) = 0;  // gate closed
    SetSigma(8355);      // with P = 0x4000: 24.0 dB
    reg(kPowerLow) = 0x00;
    reg(kPowerHigh) = 0x40;
    SetCableNoise(0x38C);  // 32.0 dB
    for (long r : {kTerrestrialLock, kFreqLock, kCableLock, kFecLock, kSyncLock, kAgcLock})
      reg(r) = 1;
    reg(kTpsSet) = 0;  // set A
    SetTps(kTpsSetA);
    SetTps(kTpsSetB);
    reg(kCableModulation) = 11;  // QAM256
  }

  // The library's sub-address mode 16 sends the sub-address as two bytes
  // before reading.
  bool Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) override {
    if (mode != 0x10) return RegisterDevice::Read(mode, sub, data, count);
    uint8_t address[2] = {uint8_t(sub >> 8), uint8_t(sub)};
    return WriteRead(address, 2, data, count);
  }

  bool Learn(const SimRead& read, std::map<long, long>& registers) override {
    if (read.writeRead || read.mode != 0x10) return RegisterDevice::Learn(read, registers);
    SimRead asWriteRead = read;
    asWriteRead.writeRead = true;
    asWriteRead.command = {uint8_t(read.sub >> 8), uint8_t(read.sub)};
    return RegisterDevice::Learn(asWriteRead, registers);
  }

  void Advance(double t) override {
    SetSigma(long(std::lround(8355 * (1 + 0.25 * std::sin(t / 9.0) + 0.03 * std::sin(t * 1.3)))));
    SetCableNoise(0x38C + long(std::lround(0x60 * std::sin(t / 11.0))));
  }

 private:
  void SetSigma(long sigma) {
    reg(kSigma) = sigma & 0xFF;
    reg(kSigma + 1) = (sigma >> 8) & 0xFF;
    reg(kSigma + 2) = (sigma >> 16) & 0xFF;
  }
  // The DVB-C noise figure, 24 bits, least significant byte first.
  void SetCableNoise(long v) {
    reg(kCableNoise) = v & 0xFF;
    reg(kCableNoise + 1) = (v >> 8) & 0xFF;
    reg(kCableNoise + 2) = (v >> 16) & 0xFF;
  }
  // QAM64, no hierarchy, high priority, rates 2/3 (hp) and 1/2 (lp), 1/8, 8K.
  void SetTps(const TpsRegisters& r) {
    reg(r.modulation) = 9;
    reg(r.hierarchy) = 1;
    reg(r.selectHPLP) = 0;
    reg(r.hpCodeRate) = 2;
    reg(r.lpCodeRate) = 1;
    reg(r.guard) = 3;
    reg(r.transmissionMode) = 13;
  }
};

const SimChipRegistration chip("si2165",
                               {.address7 = 0x64,
                                .make = [](bool) { return std::make_unique<Si2165Model>(false); },
                                .description = "DVB-T",
                                .probeRank = 130,
                                .driver = DriverClass<si2165>()});
const SimBoardRegistration dvbc(
    "si2165-dvbc",
    [](SimBoard& board) { board.AddDevice(0xC8, std::make_unique<Si2165Model>(true)); }, "DVB-C");

}  // namespace
