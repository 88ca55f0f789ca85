// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "bus/Bus.h"
#include "monitor/Demodulator.h"

// A driver of a chip on the bus, with the window it may relabel.
class ChipDriver : public Demodulator {
 public:
  // How one of the chip's registers is read at its address: a byte or a
  // 16-bit word behind an 8-bit sub-address, or a byte behind a 16-bit
  // register address.
  enum class Registers { Byte, Word, ByteAddr16 };

  ChipDriver(Bus& bus, MonitorView& view, Registers registers = Registers::Byte)
      : bus_(bus), view_(view), registers_(registers) {}

  int registerAddressBytes() const override { return registers_ == Registers::ByteAddr16 ? 2 : 1; }

 protected:
  // One register in the chip's form. A driver whose chip needs a transfer of
  // its own declares its own read, which Reader() below does not use.
  int16_t ReadRegister(int reg);
  // That read as a function, for the reads of bus/RegisterRead.h.
  auto Reader() {
    return [this](int reg) { return ReadRegister(reg); };
  }

  Bus& bus_;
  MonitorView& view_;
  // The mode OperatingMode last read, which the members called after it follow.
  int16_t currentMode_ = 0;

 private:
  Registers registers_;
};
