// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/regs/StatsBlock.h"

// MxL111SF registers beyond the statistics block.
namespace mxl111sfreg {
using namespace statsblockreg;
inline constexpr int kIdentity = 0x03;  // bits 0, 1, 4, 5 and 6 set
}  // namespace mxl111sfreg
