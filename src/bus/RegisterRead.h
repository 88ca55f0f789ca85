// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "numbers/Format.h"

// Reads built from a driver's own one-register read (`read(register)`), so
// they work over any chip's register width and address form. Registers are
// always read in the order given, each into a value before it is used.

enum class ByteOrder { MsbFirst, LsbFirst };

// Three consecutive byte registers as one unsigned 24-bit number.
template <typename Read>
int32_t ReadWord24(Read read, int first, ByteOrder order = ByteOrder::MsbFirst) {
  int32_t a = read(first);
  int32_t b = read(first + 1);
  int32_t c = read(first + 2);
  return order == ByteOrder::MsbFirst ? a * 65536 + b * 256 + c : c * 65536 + b * 256 + a;
}

// A 12-bit two's-complement number from two registers: bits 11..8 in the
// low nibble of `first` (bit 3 of it the sign), bits 7..0 in the next.
template <typename Read>
int32_t ReadSigned12(Read read, int first) {
  int32_t high = read(first);
  int32_t low = read(first + 1);
  int32_t v = (high & 0x0F) * 256 + low;
  return (high & 0x08) ? v - 4096 : v;
}

// A 24-bit two's-complement number as a signed value.
inline int32_t SignExtend24(int32_t v) { return (v & 0x800000) ? v - 16777216 : v; }

// The registers' values in hexadecimal, joined by the separator: "12 / F340".
template <typename Read>
std::string HexRegisters(Read read, std::initializer_list<int> registers,
                         const std::string& separator = " ") {
  std::string text;
  for (int reg : registers) {
    std::string hex = Hex(read(reg));
    text += text.empty() ? hex : separator + hex;
  }
  return text;
}
