// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/tda18271.h"

#include "bus/Bus.h"
#include "numbers/Format.h"

namespace {
constexpr uint8_t kIdC1 = 0x83, kIdC2 = 0x84;
constexpr int kTM = 0x01, kPL = 0x02, kEP1 = 0x03, kEP4 = 0x06, kEB22 = 0x25;
constexpr uint8_t kThermoOn = 0x10, kThermoHighRange = 0x20, kPowerLevelOff = 0x40;

const char* const kNames[tda18271::kRegisters] = {
    "00 ID",   "01 TM",   "02 PL",   "03 EP1",  "04 EP2",  "05 EP3",  "06 EP4",  "07 EP5",
    "08 CPD",  "09 CD1",  "0A CD2",  "0B CD3",  "0C MPD",  "0D MD1",  "0E MD2",  "0F MD3",
    "10 EB1",  "11 EB2",  "12 EB3",  "13 EB4",  "14 EB5",  "15 EB6",  "16 EB7",  "17 EB8",
    "18 EB9",  "19 EB10", "1A EB11", "1B EB12", "1C EB13", "1D EB14", "1E EB15", "1F EB16",
    "20 EB17", "21 EB18", "22 EB19", "23 EB20", "24 EB21", "25 EB22", "26 EB23"};

// Degrees Celsius by reading code in the low range; the high range is 32 more.
constexpr int16_t kLowRange[16] = {60, 62, 66, 64, 74, 72, 68, 70, 90, 88, 84, 86, 76, 78, 82, 80};
}  // namespace

std::string tda18271::RegisterName(int index) {
  return index >= 0 && index < kRegisters ? kNames[index] : "";
}

std::string tda18271::name() const {
  const char* chip = id_ == kIdC1 ? "TDA18271c1" : id_ == kIdC2 ? "TDA18271c2" : "???";
  return std::string(chip) + " @ 0x" + Hex(address_);
}

std::string tda18271::reg(long index) const {
  return index >= 0 && index < kRegisters ? std::to_string(image_[index]) : "";
}

// The tuner answers at one of four addresses. The second pass sets bit 8 of
// the address, which the library interprets as it sees fit; it is passed on
// unchanged.
bool tda18271::probe() {
  for (int16_t bank : {0x000, 0x100})
    for (int16_t base : {0xC0, 0xC2, 0xC4, 0xC6}) {
      int16_t candidate = int16_t(bank + base);
      id_ = bus_.ReadReg8(candidate, 0);
      if (id_ == kIdC1 || id_ == kIdC2) {
        address_ = candidate;
        ReadRegs();
        return true;
      }
    }
  return false;
}

// Read into a scratch image: a failed transfer may have filled part of it.
bool tda18271::ReadRegs() {
  Image read;
  imageRead_ =
      bus_.lib.velI2C_ReadArray(bus_.handle, 1, address_, 0x00, kRegisters, read.data()) == 0;
  if (imageRead_) image_ = read;
  return imageRead_;
}

bool tda18271::WriteRegister(int sub) {
  return bus_.lib.velI2C_WriteArray(bus_.handle, 1, address_, sub, 1, &image_[sub]) == 0;
}

double tda18271::calc_agc1_gain() const {
  int code = (image_[kPL] & 0x60) / 32;
  return (code + 2) * 3.0;
}

int32_t tda18271::calc_agc2_gain() const {
  int code = (image_[kEP1] & 0x80) / 64 | (image_[kPL] & 0x80) / 128;
  return (3 - code + 2) * 3;
}

int16_t tda18271::calc_rfagc_gain() const {
  int f = (image_[kEB22] & 0x70) / 16;
  int x = f >= 5 ? 102 : f * 2 + 92;
  int pl = image_[kPL] & 0x1F;
  int v = (x + 11) - (103 - pl);
  if (v > 33)
    v = 33;
  else if (v < 1)
    v = 1;
  return int16_t(v - 11);
}

bool tda18271::dis_power_level(bool flag) {
  if (flag)
    image_[kEP1] |= kPowerLevelOff;
  else
    image_[kEP1] &= uint8_t(~kPowerLevelOff);
  return WriteRegister(kEP1);
}

int16_t tda18271::ThermometerCelsius(uint8_t tm) {
  int16_t celsius = kLowRange[tm & 0x0F];
  return tm & kThermoHighRange ? int16_t(celsius + 32) : celsius;
}

// A reading at the bottom of the high range or the top of the low range may
// lie outside it: switch range and measure once more. The thermometer is
// switched off again even after a failure.
std::optional<int16_t> tda18271::read_thermometer() {
  image_[kTM] |= kThermoOn;
  bool answered = WriteRegister(kTM) && ReadRegs();
  uint8_t tm = image_[kTM];
  bool high = tm & kThermoHighRange;
  if (answered && (((tm & 0x0F) == 0 && high) || ((tm & 0x0F) == 8 && !high))) {
    image_[kTM] ^= kThermoHighRange;
    answered = WriteRegister(kTM) && ReadRegs();
  }
  int16_t celsius = ThermometerCelsius(image_[kTM]);
  image_[kTM] &= uint8_t(~kThermoOn);
  answered = WriteRegister(kTM) && answered;
  image_[kEP4] &= 0xFC;
  answered = WriteRegister(kEP4) && answered;
  if (!answered) return std::nullopt;
  return celsius;
}
