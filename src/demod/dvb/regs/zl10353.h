// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// ZL10353 registers (one byte each), named for the driver and the simulated model alike.
namespace zl10353reg {
inline constexpr int kStatusA = 0x06;    // lock, FEC, EQ and AFC bits
inline constexpr int kStatusB = 0x07;    // bit 5 descrambler lock
inline constexpr int kSnr = 0x10;        // 1/8 dB
inline constexpr int kBitErrors = 0x11;  // three bytes, most significant first
inline constexpr int kBitErrorsMid = 0x12;
inline constexpr int kBitErrorsLow = 0x13;
inline constexpr int kUncorrectableHigh = 0x14;
inline constexpr int kUncorrectableLow = 0x15;
inline constexpr int kTpsHigh = 0x1F;
inline constexpr int kTpsLow = 0x20;
inline constexpr int kPeriodHigh = 0x60;  // the bit error measuring period
inline constexpr int kPeriodLow = 0x61;
inline constexpr int kChipId = 0x7F;
}  // namespace zl10353reg
