// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// LGDT3306 registers (one byte each, 16-bit addresses), named for the driver
// and the simulated model alike.
namespace lgdt3306reg {
inline constexpr int kControl = 0x0000;        // bit 0 awake; 0x74 identity bits
inline constexpr int kIdentity = 0x0001;       // 0xC6 under mask 0xF6
inline constexpr int kIdentity2 = 0x0002;      // 0x03 under mask 0x73
inline constexpr int kMode = 0x0008;           // 0x80 8-VSB, 0x08 QAM
inline constexpr int kCarrierOffset = 0x009C;  // 16-bit sign and magnitude
inline constexpr int kTimingOffset = 0x00A1;   // 24-bit sign and magnitude
inline constexpr int kStatus = 0x00A6;         // bit 7 lock; bits 2..0 0 QAM 64, 4 QAM 256
inline constexpr int kSignalHigh = 0x00E8;
inline constexpr int kSignalLow = 0x00E9;
inline constexpr int kNoiseHigh = 0x00EC;
inline constexpr int kNoiseLow = 0x00ED;
inline constexpr int kUncorrectable = 0x00F4;
inline constexpr int kPostViterbi = 0x00FA;
inline constexpr int kCoarseSnr = 0x21A1;  // whole dB, used below 20 dB
}  // namespace lgdt3306reg
