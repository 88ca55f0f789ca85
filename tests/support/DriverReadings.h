// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <vector>

#include "monitor/Demodulator.h"

// The lock flags a driver reports: master, EQ, FEC, sync and carrier lock.
// Outputs the driver leaves alone keep `unset`.
inline std::vector<int16_t> LocksOf(Demodulator& driver, int16_t unset = 7) {
  std::vector<int16_t> l(5, unset);
  driver.GetLockStatus(l[0], l[1], l[2], l[3], l[4]);
  return l;
}

// The transmission parameters: constellation, hierarchy, HP/LP, code rate,
// guard and FFT size, likewise.
inline std::vector<int16_t> TpsOf(Demodulator& driver, int16_t unset = 7) {
  std::vector<int16_t> t(6, unset);
  driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
  return t;
}
