// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>

// The DVB-T colouring: a reading is red below the first threshold of its
// constellation (QPSK, QAM16, QAM64) and code rate (1/2 .. 7/8), orange below
// the second, green from the third on, yellow between. Unknown codes put all
// three thresholds at 0.
int32_t DvbtThresholdColor(int modulation, int codeRate, float value);
// The three thresholds (dB) of a constellation and code rate; none for
// unknown codes. The first is where reception ends.
std::optional<std::array<int, 3>> DvbtThresholds(int modulation, int codeRate);
