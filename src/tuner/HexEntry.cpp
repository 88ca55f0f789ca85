// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/HexEntry.h"

#include <cctype>

#include "numbers/Format.h"

std::string Hex2(long n) { return n >= 0 && n < 16 ? "0" + Hex(n) : Hex(n); }

long HexValue(const std::string& text) {
  constexpr long kCeiling = 0x7FFFFFF;
  long value = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) break;
    int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
    value = value > kCeiling / 16 ? kCeiling : value * 16 + digit;
  }
  return value;
}

std::string BitPattern(uint8_t value) {
  std::string bits;
  for (int k = 7; k >= 0; --k) bits += (value >> k) & 1 ? '1' : '0';
  return bits;
}
