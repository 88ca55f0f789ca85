// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// CX22702 registers (one byte each), named for the driver and the simulated model alike.
namespace cx22702reg {
inline constexpr int kTpsA = 0x01;  // modulation, hierarchy
inline constexpr int kTpsB = 0x02;  // code rates
inline constexpr int kTpsC = 0x03;  // guard, transmission mode
inline constexpr int kStatus = 0x0A;
inline constexpr int kStream = 0x0C;   // bit 6: low priority
inline constexpr int kFecLock = 0x17;  // bit 0
inline constexpr int kChipId = 0x1F;
inline constexpr int kSignalStrength = 0x23;  // falls as the signal grows
inline constexpr int kCorrectedHigh = 0xDE;   // 7 bits
inline constexpr int kCorrectedLow = 0xDF;    // 7 bits
inline constexpr int kUncorrectable = 0xE3;
}  // namespace cx22702reg
