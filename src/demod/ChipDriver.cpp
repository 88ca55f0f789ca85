// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/ChipDriver.h"

int16_t ChipDriver::ReadRegister(int reg) {
  switch (registers_) {
    case Registers::Word: return bus_.ReadReg16(address_, int16_t(reg));
    case Registers::ByteAddr16: return bus_.ReadReg8Addr16(address_, int16_t(reg));
    case Registers::Byte: break;
  }
  return bus_.ReadReg8(address_, int16_t(reg));
}
