// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/Format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

double RoundHalfEven(double x) {
  double r = std::round(x);
  if (std::fabs(x - std::trunc(x)) == 0.5) r = 2.0 * std::round(x / 2.0);
  return r;
}

float RoundTenth(double x) { return float(RoundHalfEven(x * 10.0) / 10.0); }

int16_t ToInt16(double x) {
  if (std::isnan(x)) return 0;
  double r = RoundHalfEven(x);
  if (r > 32767) return 32767;
  if (r < -32768) return -32768;
  return int16_t(r);
}

std::string Hex(int64_t value) {
  char text[24];
  if (value < 0 && value >= -32768)
    std::snprintf(text, sizeof text, "%X", unsigned(value & 0xFFFF));
  else
    std::snprintf(text, sizeof text, "%llX", (unsigned long long)(value & 0xFFFFFFFFLL));
  return text;
}

std::string HexOf(double value) {
  if (!std::isfinite(value)) return kNotANumber;
  return Hex(int64_t(RoundHalfEven(value)));
}

namespace {
std::string Upper(std::string s) {
  for (char& c : s)
    if (c == 'e') c = 'E';
  return s;
}

// Decimal text as printf would write it in the C locale, whatever the
// process locale says (the toolkit sets it from the user's environment).
std::string Chars(double value, std::chars_format format, int precision) {
  char text[48];
  auto end = std::to_chars(text, text + sizeof text, value, format, precision).ptr;
  return Upper(std::string(text, end));
}
}  // namespace

std::string SingleText(float value) {
  if (!std::isfinite(value)) return kNotANumber;
  if (value == 0) return "0";
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return Upper(std::string(text, end));
}

std::string NumberText(double value) {
  if (!std::isfinite(value)) return kNotANumber;
  if (value == 0) return "0";
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld", (long long)value);
    return text;
  }
  return Chars(value, std::chars_format::general, 15);
}

std::string SignedText(double value) {
  std::string text = NumberText(value);
  return value < 0 || !std::isfinite(value) ? text : " " + text;
}

std::string SingleSignedText(float value) {
  if (!std::isfinite(value)) return kNotANumber;
  if (value == 0) return " 0";
  std::string text = Chars(double(value), std::chars_format::general, 7);
  std::string digits = text[0] == '-' ? text.substr(1) : text;
  if (digits.rfind("0.", 0) == 0) digits.erase(0, 1);
  return (value < 0 ? "-" : " ") + digits;
}

std::string Scientific(double value) {
  if (!std::isfinite(value)) return kNotANumber;
  return Chars(value, std::chars_format::scientific, 2);
}

double ParseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  double value = 0;
  auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  return error == std::errc() ? value : 0;
}

int WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 6 || text[0] == '+' || text[0] == '-') return -1;
  int value = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : -1;
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
