// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Tda18271Model.h"

#include <cmath>

#include "sim/SimRegistry.h"
#include "sim/Tda829xModel.h"

namespace {
constexpr long kID = 0x00, kTM = 0x01, kPL = 0x02, kEP1 = 0x03, kEP3 = 0x05;
constexpr long kThermoOn = 0x10, kThermoHighRange = 0x20, kPowerLevelOff = 0x40;
constexpr long kPowerLevelField = 0x1F;
constexpr long kCalibrationStart = 0x80;  // EP3: clears itself when the run is over

// A c2 part after its start-up: thermometer off in the low range, power-level
// measurement disabled, AGC1 and AGC2 at 12 dB.
constexpr uint8_t kDefaults[39] = {
    0x84, 0x02, 0xCC, 0x46, 0x5A, 0x12, 0x60, 0x20,  // ID TM PL EP1..EP5
    0x81, 0x3C, 0x10, 0x05, 0x9A, 0x62, 0x11, 0x00,  // CPD CD1..CD3 MPD MD1..MD3
    0xE8, 0x03, 0x70, 0x44, 0x08, 0x91, 0x22, 0x05,  // EB1..EB8
    0x00, 0x18, 0x6E, 0x2F, 0xB1, 0x04, 0x7A, 0x00,  // EB9..EB16
    0x10, 0x88, 0x01, 0x24, 0xA3, 0x10, 0x90};       // EB17..EB23

// Degrees Celsius by code in the low range, as the chip reports them.
constexpr int kLowRange[16] = {60, 62, 66, 64, 74, 72, 68, 70, 90, 88, 84, 86, 76, 78, 82, 80};
}  // namespace

Tda18271Model::Tda18271Model(bool live, const Tda829xModel* gate)
    : RegisterDevice(1, 1, 0x26), live_(live), gate_(gate) {
  for (long r = 0; r < 39; ++r) reg(r) = kDefaults[r];
  id_ = kDefaults[kID];
  powerLevel_ = kDefaults[kPL];
  thermometerCode_ = kDefaults[kTM] & 0x0F;
  measuredPowerLevel_ = kDefaults[kPL] & kPowerLevelField;
}

// Outside its range the thermometer sticks at the range's end: the bottom
// code of the high range, the top code of the low range.
int Tda18271Model::ThermometerCode(int celsius, bool highRange) {
  int low = highRange ? celsius - 32 : celsius;
  if (low < 60) low = 60;
  if (low > 90) low = 90;
  int step = 60 + (low - 60) / 2 * 2;
  for (int code = 0; code < 16; ++code)
    if (kLowRange[code] == step) return code;
  return 0;
}

bool Tda18271Model::Reachable() const { return !gate_ || gate_->GateOpen(); }

bool Tda18271Model::Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) {
  return Reachable() && RegisterDevice::Write(mode, sub, data, count);
}

bool Tda18271Model::Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) {
  return Reachable() && RegisterDevice::Read(mode, sub, data, count);
}

bool Tda18271Model::WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) {
  return Reachable() && RegisterDevice::WriteRead(out, outCount, in, inCount);
}

bool Tda18271Model::SetRegister(long r, long value, std::string& error) {
  if (!RegisterDevice::SetRegister(r, value, error)) return false;
  if (r == kID) id_ = value;
  if (r == kTM) thermometerCode_ = value & 0x0F;
  if (r == kPL) powerLevel_ = value;
  return true;
}

void Tda18271Model::OnWrite(long r, long value) {
  if (r == kID) reg(kID) = id_;
  if (r == kTM) reg(kTM) = (value & 0xF0) | thermometerCode_;
  if (r == kPL) reg(kPL) = powerLevel_;
  if (r == kEP3) reg(kEP3) = value & ~kCalibrationStart;
}

void Tda18271Model::OnRead(long r) {
  if (r == kTM && (reg(kTM) & kThermoOn)) {
    thermometerCode_ = ThermometerCode(celsius_, reg(kTM) & kThermoHighRange);
    reg(kTM) = (reg(kTM) & 0xF0) | thermometerCode_;
  }
  if (r == kPL && live_ && !(reg(kEP1) & kPowerLevelOff)) {
    powerLevel_ = (powerLevel_ & ~kPowerLevelField) | measuredPowerLevel_;
    reg(kPL) = powerLevel_;
  }
}

// The die warms and cools by a few degrees; the received level drifts.
void Tda18271Model::Advance(double t) {
  if (!live_) return;
  celsius_ = kDefaultCelsius + int(std::lround(4 * std::sin(t / 45.0)));
  measuredPowerLevel_ = 12 + long(std::lround(3 * std::sin(t / 9.0)));
}

namespace {
// On its own (a board file) the tuner sits directly on the bus.
const SimChipRegistration registration(
    "tda18271", {.address7 = 0x60,
                 .make = [](bool live) { return std::make_unique<Tda18271Model>(live, nullptr); },
                 .builtInBoard = false});
}  // namespace
