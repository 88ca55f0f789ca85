// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

// How the register editor writes and reads hexadecimal numbers.

// Upper-case hex with at least two digits: 05, 3F, 1FF.
std::string Hex2(long n);

// The value of the text's leading hex digits (either case), stopping at the
// first other character; no digits give 0. Saturates far above any register.
long HexValue(const std::string& text);

// Eight "0"/"1" characters, bit 7 first.
std::string BitPattern(uint8_t value);
