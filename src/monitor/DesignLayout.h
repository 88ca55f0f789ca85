// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "monitor/ViewModel.h"

// The monitor window as designed: every control with its caption, tooltip
// and place (twips), before the first poll.
namespace Design {
// Invisible marker lines: the normal layout is cut at LineNormal (status
// panel only); the debug layout extends to LineRight and LineBottom, which
// exposes the readings frames and the I2C console.
constexpr int LineNormalX = 7380;
constexpr int LineNormalY = 1995;
constexpr int LineRightX = 11850;
constexpr int LineBottomY = 6150;
// Where the I2C console sits in the debug layout.
constexpr int ConsoleLeft = 7380, ConsoleTop = 90, ConsoleWidth = 4350, ConsoleHeight = 5970;

constexpr int LockHeightNormal = 1815;
// The status frame keeps its height under the TPS panel: a shorter frame
// would cut off the lowest lamps.
constexpr int LockHeightWithTps = LockHeightNormal;
constexpr int TpsGap = 75;
constexpr int BottomMargin = 150;
}  // namespace Design

ViewModel DesignModel(bool debugLayout);
