// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "bus/Bus.h"
#include "monitor/Demodulator.h"

// A driver of a chip on the bus, with the window it may relabel.
class ChipDriver : public Demodulator {
 public:
  ChipDriver(Bus& bus, MonitorView& view) : bus_(bus), view_(view) {}

 protected:
  Bus& bus_;
  MonitorView& view_;
};
