// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <string>

// Texts every record format shares.

// ISO-8601 UTC with milliseconds: 2026-12-07T16:45:12.345Z.
std::string IsoUtcText(std::chrono::system_clock::time_point t);
// The quality colour by name: green, yellow, orange, red, grey; any other
// value as #RRGGBB.
std::string ColorName(int32_t color);
// The five lamps by role, in lock-flag order: master, eq, fec, sync, afc.
inline constexpr std::array<const char*, 5> kLampNames = {"master", "eq", "fec", "sync", "afc"};
// The shortest decimal that reads back as the given number (25.3 for the
// single-precision 25.3, 1.55e-04 ...), never depending on the locale.
std::string DecimalText(float value);
std::string DecimalText(double value);
// The single-precision value as the double of its shortest decimal, so that
// 25.3f stays 25.3 where a format takes doubles.
double ShortestDouble(float value);
