// SPDX-License-Identifier: GPL-3.0-or-later
// Every built-in board carries an analog front end: a TDA8290 at 0x84 with a
// TDA18271c2 at 0xC0 behind its I2C gate. Addresses a board already uses
// are left alone; a tuner is gated by whatever IF demodulator sits at 0x84.
#include "sim/SimRegistry.h"
#include "sim/Tda18271Model.h"
#include "sim/Tda829xModel.h"

namespace {
constexpr int kIfDemodAddress = 0x84, kTunerAddress = 0xC0;

const SimBoardExtraRegistration frontEnd([](SimBoard& board) {
  if (!board.DeviceAt(kIfDemodAddress))
    board.AddDevice(kIfDemodAddress,
                    std::make_unique<Tda829xModel>(Tda829xModel::Variant::Tda8290));
  if (board.DeviceAt(kTunerAddress)) return;
  auto* gate = dynamic_cast<const Tda829xModel*>(board.DeviceAt(kIfDemodAddress));
  board.AddDevice(kTunerAddress, std::make_unique<Tda18271Model>(board.live, gate));
});
}  // namespace
