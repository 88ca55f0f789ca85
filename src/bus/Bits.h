// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// Bit n of a register value taken as unsigned 16-bit (bit 15 of -1 is 1).
inline int16_t GetBit(int32_t value, int n) { return int16_t((uint16_t(value) >> n) & 1); }

// A field of a signed 16-bit value with truncating remainder and division,
// so a negative value yields a field that is negative or zero.
inline int32_t GetBits(int32_t value, int start, int count) {
  int32_t v = int16_t(value);
  return (v % (int32_t(1) << (start + count))) / (int32_t(1) << start);
}

// Two 16-bit words as one 32-bit two's-complement number, lo taken unsigned.
inline int32_t MakeLong(int32_t hi, int32_t lo) {
  return int32_t((uint32_t(uint16_t(hi)) << 16) | uint16_t(lo));
}

// Two bytes as one signed 16-bit number.
inline int16_t MakeInt(int32_t hi, int32_t lo) {
  return int16_t(uint16_t(((hi & 0xFF) << 8) | (lo & 0xFF)));
}
