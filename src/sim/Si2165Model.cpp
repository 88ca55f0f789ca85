// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated SI2165 at 0xC8: byte registers behind 16-bit addresses. It holds
// a locked DVB-T signal (QAM64, rate 2/3, guard 1/8, 8K, about 24 dB) or, as
// the built-in board si2165-dvbc, a locked DVB-C QAM256 signal (about
// 32 dB); live, the noise estimates wander slowly.
#include <cmath>

#include "demod/dvb/si2165.h"
#include "sim/RegisterDevice.h"
#include "sim/SimRegistry.h"

namespace {

class Si2165Model : public RegisterDevice {
 public:
  Si2165Model(bool live, bool cable) : RegisterDevice(2, 1, 0xFFFF), live_(live) {
    reg(0x0023) = 1;  // revision B
    reg(0x00EC) = cable ? 0x05 : 0x01;
    reg(0x0001) = 0;  // gate closed
    SetSigma(8355);   // with P = 0x4000: 24.0 dB
    reg(0x02C0) = 0x00;
    reg(0x02C1) = 0x40;
    SetCableNoise(0x38C);  // 32.0 dB
    for (long r : {0x0390, 0x0398, 0x023E, 0x04E0, 0x0440, 0x0188}) reg(r) = 1;
    reg(0x02E8) = 0;  // set A
    SetTps(0x02F4, 0x0304, 0x02E4, 0x02F8, 0x0300, 0x02F0, 0x02EC);
    SetTps(0x03F8, 0x0408, 0x0420, 0x0400, 0x0404, 0x03F4, 0x03F0);
    reg(0x00F8) = 11;  // QAM256
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
    if (!live_) return;
    SetSigma(long(std::lround(8355 * (1 + 0.25 * std::sin(t / 9.0) + 0.03 * std::sin(t * 1.3)))));
    SetCableNoise(0x38C + long(std::lround(0x60 * std::sin(t / 11.0))));
  }

 private:
  void SetSigma(long sigma) {
    reg(0x02A4) = sigma & 0xFF;
    reg(0x02A5) = (sigma >> 8) & 0xFF;
    reg(0x02A6) = (sigma >> 16) & 0xFF;
  }
  // The DVB-C noise figure, 24 bits, least significant byte first.
  void SetCableNoise(long v) {
    reg(0x026C) = v & 0xFF;
    reg(0x026D) = (v >> 8) & 0xFF;
    reg(0x026E) = (v >> 16) & 0xFF;
  }
  // QAM64, no hierarchy, high priority, rates 2/3 (hp) and 1/2 (lp), 1/8, 8K.
  void SetTps(long mod, long hier, long hplp, long hp, long lp, long guard, long fft) {
    reg(mod) = 9;
    reg(hier) = 1;
    reg(hplp) = 0;
    reg(hp) = 2;
    reg(lp) = 1;
    reg(guard) = 3;
    reg(fft) = 13;
  }

  bool live_;
};

const SimChipRegistration chip(
    "si2165", {.address7 = 0x64,
               .make = [](bool live) { return std::make_unique<Si2165Model>(live, false); },
               .description = "DVB-T",
               .probeRank = 130,
               .driver = DriverClass<si2165>()});
const SimBoardRegistration dvbc(
    "si2165-dvbc",
    [](SimBoard& board) { board.AddDevice(0xC8, std::make_unique<Si2165Model>(true, true)); },
    "DVB-C");

}  // namespace
