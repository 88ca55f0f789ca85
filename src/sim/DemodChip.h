// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/SimRegistry.h"

// The common chip: a demodulator that is a board of its own, its model built
// from (bool live) at the 7-bit address, its driver probed at the rank.
template <class Model, class Driver>
SimChip DemodChip(int address7, int probeRank) {
  return {.address7 = address7,
          .make = ModelClass<Model>(),
          .probeRank = probeRank,
          .driver = DriverClass<Driver>()};
}
