// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Tda829xModel.h"

#include "sim/SimRegistry.h"

namespace {
constexpr long kId8290Reg = 0x1F, kId8295Reg = 0x2F;
constexpr long kGate8290 = 0x21, kGate8295 = 0x45, kGateStrobe8295 = 0x46;
constexpr long kGateOpenBits = 0xC0;
}  // namespace

Tda829xModel::Tda829xModel(Variant variant) : RegisterDevice(1, 1, 0xFF), variant_(variant) {
  if (variant_ == Variant::Tda8290) {
    reg(kId8290Reg) = 0x89;
    reg(kGate8290) = 0x00;
  } else {
    reg(kId8295Reg) = 0x8A;
    reg(kGate8295) = 0x01;
    reg(kGateStrobe8295) = 0x14;
  }
}

// Both variants pass the bus through while the top two bits of their gate
// register are set.
bool Tda829xModel::GateOpen() const {
  long gate = regValue(variant_ == Variant::Tda8290 ? kGate8290 : kGate8295);
  return (gate & kGateOpenBits) == kGateOpenBits;
}

namespace {
SimChip Part(Tda829xModel::Variant variant) {
  return {.address7 = 0x42,
          .make = [variant](bool) { return std::make_unique<Tda829xModel>(variant); },
          .builtInBoard = false};
}
const SimChipRegistration tda8290("tda8290", Part(Tda829xModel::Variant::Tda8290));
const SimChipRegistration tda8295("tda8295", Part(Tda829xModel::Variant::Tda8295));
}  // namespace
