// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DvbtThresholds.h"

#include "monitor/Codes.h"

std::optional<std::array<int, 3>> DvbtThresholds(int modulation, int codeRate) {
  static constexpr std::array<int, 3> kThresholds[3][5] = {
      {{6, 8, 10}, {7, 9, 11}, {8, 10, 12}, {9, 11, 13}, {10, 12, 14}},
      {{11, 13, 15}, {14, 16, 18}, {15, 17, 19}, {16, 18, 20}, {17, 19, 21}},
      {{17, 19, 21}, {19, 21, 22}, {21, 22, 23}, {22, 23, 24}, {23, 24, 25}},
  };
  if (modulation < 0 || modulation > 2 || codeRate < 0 || codeRate > 4) return std::nullopt;
  return kThresholds[modulation][codeRate];
}

int32_t DvbtThresholdColor(int modulation, int codeRate, float value) {
  auto [t1, t2, t3] = DvbtThresholds(modulation, codeRate).value_or(std::array<int, 3>{});
  if (value < t1) return Color::Red;
  if (value < t2) return Color::Orange;
  if (value >= t3) return Color::Green;
  return Color::Yellow;
}
