// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/tda829x.h"

#include "bus/Bus.h"
#include "numbers/Format.h"

namespace {
constexpr int16_t kId8290Reg = 0x1F, kId8295Reg = 0x2F;
constexpr int16_t kId8290 = 0x89, kId8295 = 0x8A;
constexpr int16_t kGate8290 = 0x21, kGate8295 = 0x45, kGateStrobe8295 = 0x46;
}  // namespace

std::string tda829x::name() const {
  const char* chip = chip_ == 8290 ? "TDA8290" : chip_ == 8295 ? "TDA8295" : "TDA829x";
  return std::string(chip) + " @ 0x" + Hex(address_);
}

int16_t tda829x::ReadRegister(int16_t sub) { return bus_.ReadReg8(address_, sub); }
void tda829x::WriteRegister(int16_t sub, int16_t value) { bus_.WriteReg8(address_, sub, value); }

bool tda829x::probe() {
  for (int16_t candidate : {0x84, 0x96}) {
    if (bus_.ReadReg8(candidate, kId8290Reg) == kId8290) {
      address_ = candidate;
      chip_ = 8290;
      return true;
    }
    if (bus_.ReadReg8(candidate, kId8295Reg) == kId8295) {
      address_ = candidate;
      chip_ = 8295;
      return true;
    }
  }
  return false;
}

// The TDA8295 takes the gate down by writing 0x01 to its control register
// and pulsing bit 2 of the next one low, then high.
void tda829x::Passthru(int16_t vNewValue) {
  bool open = vNewValue == 1;
  if (chip_ == 8290) {
    WriteRegister(kGate8290, open ? 0xC0 : 0x00);
  } else if (chip_ == 8295 && open) {
    WriteRegister(kGate8295, 0xC1);
  } else if (chip_ == 8295) {
    uint8_t strobeLow = uint8_t(ReadRegister(kGateStrobe8295) & ~0x04);
    uint8_t pair[2] = {0x01, strobeLow};
    bus_.lib.velI2C_WriteArray(bus_.handle, 1, address_, kGate8295, 2, pair);
    uint8_t strobeHigh = strobeLow | 0x04;
    bus_.lib.velI2C_WriteArray(bus_.handle, 1, address_, kGateStrobe8295, 1, &strobeHigh);
  }
  passthru_ = vNewValue;
}
