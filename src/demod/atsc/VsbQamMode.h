// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "bus/Bits.h"
#include "monitor/Codes.h"

// The mode of a chip with a sleep bit and an 8-VSB/QAM select bit, each in
// bit 0 of its register; -1 from the sleep register means no answer. Which
// QAM is asked of `qamMode` only once QAM is selected.
template <class Read, class QamMode>
int16_t VsbQamMode(Read read, int sleepRegister, int qamSelectRegister, QamMode qamMode) {
  int16_t r = read(sleepRegister);
  if (r == -1) return Mode::None;
  if (GetBit(r, 0)) return Mode::Sleep;
  if (!GetBit(read(qamSelectRegister), 0)) return Mode::Vsb8;
  return qamMode();
}
