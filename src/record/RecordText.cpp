// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "monitor/Codes.h"

std::string IsoUtcText(std::chrono::system_clock::time_point t) {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count();
  std::time_t seconds = std::time_t(ms / 1000);
  int millis = int(ms % 1000);
  if (millis < 0) millis += 1000, --seconds;  // before 1970: floor, not truncate
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millis);
  return text;
}

std::string ColorName(int32_t color) {
  switch (color) {
    case Color::Green: return "green";
    case Color::Yellow: return "yellow";
    case Color::Orange: return "orange";
    case Color::Red: return "red";
    case Color::Grey: return "grey";
  }
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                (color >> 16) & 0xFF);
  return text;
}

namespace {
template <typename T>
std::string Shortest(T value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}
}  // namespace

std::string DecimalText(float value) { return Shortest(value); }
std::string DecimalText(double value) { return Shortest(value); }

double ShortestDouble(float value) {
  if (!std::isfinite(value)) return double(value);
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  double shortest = 0;
  std::from_chars(text, end, shortest);
  return shortest;
}
