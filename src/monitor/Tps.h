// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// The six DVB transmission parameter codes as a driver keeps them between
// reads, so every member called in one poll sees the same ones.
struct Tps {
  int16_t modulation = 0, hierarchy = 0, selectHPLP = 0, codeRate = 0, guard = 0,
          transmissionMode = 0;

  // Hands them out through GetTPS's parameters.
  void CopyTo(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP, int16_t& CodeRate,
              int16_t& Guard, int16_t& TransmissionMode) const {
    Modulation = modulation;
    Hierarchy = hierarchy;
    SelectHPLP = selectHPLP;
    CodeRate = codeRate;
    Guard = guard;
    TransmissionMode = transmissionMode;
  }
};

// A decoded field as its code when the display knows it (0..highest), else
// -1, which leaves the label as it was.
inline int16_t CodeUpTo(int32_t field, int32_t highest) {
  return field >= 0 && field <= highest ? int16_t(field) : int16_t(-1);
}
