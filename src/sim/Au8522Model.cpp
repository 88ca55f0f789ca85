// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated AU8522 at 0x8E: one-byte registers at 12-bit addresses. A read
// is a write-read whose three command bytes are 0x40 | address bits 11..8,
// address bits 7..0 and a trailing byte; a write is 0x80 | bits 11..8,
// bits 7..0 and the value. Any other command is not acknowledged.
// By default it holds a locked 8-VSB signal; live, the error figure wanders
// and the error counters creep up over each minute.
#include <cmath>
#include <vector>

#include "demod/atsc/au8522.h"
#include "demod/atsc/regs/au8522.h"
#include "sim/DemodChip.h"
#include "sim/RegisterDevice.h"

namespace {

using namespace au8522reg;

constexpr int kVsbErrorFigure = 13;  // 19.5 dB

class Au8522Model : public RegisterDevice {
 public:
  Au8522Model() : RegisterDevice(2, 1, 0xFFF) {
    reg(kMode) = 0x20;     // 8-VSB
    reg(kVsbLock) = 0x03;  // field and segment sync
    reg(kVsbError) = kVsbErrorFigure;
    reg(kQamSize) = 0x01;  // QAM 256 when in QAM
    reg(kQamError) = 30;
    reg(kQamLock) = 0xA0;  // FEC and EQ lock in QAM
    reg(kVsbCorrectable) = 0;
    reg(kVsbUncorrectable) = 0;
    reg(kQamCorrectable) = 0;
    reg(kQamUncorrectable) = 0;
  }

  bool WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) override {
    if (outCount != 3 || (out[0] & 0xF0) != 0x40) return false;
    long start = long(out[0] & 0x0F) << 8 | out[1];
    for (int32_t i = 0; i < inCount; ++i) in[i] = uint8_t(GetRegister((start + i) & 0xFFF));
    return true;
  }

  bool Learn(const SimRead& read, std::map<long, long>& registers) override {
    if (!read.writeRead) return RegisterDevice::Learn(read, registers);
    if (read.command.size() != 3 || (read.command[0] & 0xF0) != 0x40) return false;
    long start = long(read.command[0] & 0x0F) << 8 | read.command[1];
    for (size_t i = 0; i < read.bytes.size(); ++i)
      registers[(start + long(i)) & 0xFFF] = read.bytes[i];
    return true;
  }

  bool Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) override {
    std::vector<uint8_t> bytes;
    if (mode == 1) bytes.push_back(uint8_t(sub));
    bytes.insert(bytes.end(), data, data + count);
    if (bytes.size() != 3 || (bytes[0] & 0xF0) != 0x80) return false;
    reg(long(bytes[0] & 0x0F) << 8 | bytes[1]) = bytes[2];
    return true;
  }

  void Advance(double t) override {
    reg(kVsbError) = kVsbErrorFigure + long(std::lround(3 * std::sin(t / 6.0)));
    double inMinute = std::fmod(t, 60.0);
    reg(kVsbUncorrectable) = long(inMinute / 20);
    reg(kVsbCorrectable) = long(inMinute * 2);
  }
};

const SimChipRegistration chip("au8522", DemodChip<Au8522Model, au8522>(0x47, 110));

}  // namespace
