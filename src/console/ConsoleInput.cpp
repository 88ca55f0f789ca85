// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleInput.h"

#include <charconv>
#include <limits>

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::vector<std::string_view> SplitTokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t start = 0;
  for (size_t space; (space = text.find(' ', start)) != std::string_view::npos; start = space + 1)
    tokens.push_back(text.substr(start, space - start));
  tokens.push_back(text.substr(start));
  return tokens;
}

std::optional<uint8_t> HexByte(std::string_view token) {
  unsigned value = 0;
  for (char c : token) {
    int digit = HexDigit(c);
    if (digit < 0) break;
    value = value * 16 + digit;
    if (value > 0xFF) return std::nullopt;  // stops before the value can wrap
  }
  return uint8_t(value);
}

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  size_t begin = i;
  bool wholePart = false;  // a nonzero digit before the point
  for (; i < text.size() && IsDigit(text[i]); ++i) wholePart |= text[i] != '0';
  if (i < text.size() && text[i] == '.')
    for (++i; i < text.size() && IsDigit(text[i]);) ++i;
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data() + begin, text.data() + i, value, std::chars_format::fixed);
  // Too many digits for a double: huge if there is a whole part, else next to 0.
  if (error == std::errc::result_out_of_range)
    value = wholePart ? std::numeric_limits<double>::infinity() : 0;
  return negative ? -value : value;
}
