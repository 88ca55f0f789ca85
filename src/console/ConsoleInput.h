// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// How the console reads what was typed into its boxes.

// Splits at every single space: "12 34" gives two tokens, "" one empty
// token, and each leading, trailing or doubled space an extra empty token.
// Tabs and other whitespace stay inside their token.
std::vector<std::string_view> SplitTokens(std::string_view text);

// The token's leading hexadecimal digits (either case) as a byte: "1a" is
// 0x1A, "12g" 0x12, "" and "0x12" 0. Empty when those digits are above FF.
std::optional<uint8_t> HexByte(std::string_view token);

// The number a text begins with (blanks, an optional sign, digits and an
// optional fraction), 0 when it begins with none: "007" 7, "2.5" 2.5,
// "abc" 0. Never depends on the locale.
double LeadingNumber(std::string_view text);
