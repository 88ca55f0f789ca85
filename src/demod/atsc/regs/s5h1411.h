// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// S5H1411 registers (16-bit, 8-bit sub-addresses), named for the driver and the simulated model
// alike.
namespace s5h1411reg {
inline constexpr int kAgcPowerRef = 0x08;    // at the second address
inline constexpr int kQamAutoSelect = 0x16;  // bit 0: the mode in kQamStatus
inline constexpr int kQamManual = 0x2A;
inline constexpr int kAutoFreqHigh = 0x47;
inline constexpr int kAutoFreqLow = 0x48;
inline constexpr int kCarrierOffsetHigh = 0x49;
inline constexpr int kCarrierOffsetLow = 0x4A;
inline constexpr int kSymbolTimingHigh = 0x4B;
inline constexpr int kSymbolTimingLow = 0x4C;
inline constexpr int kVsbSync = 0x5E;  // bit 0
inline constexpr int kUncorrectable = 0xC9;
inline constexpr int kPostViterbi = 0xCB;
inline constexpr int kQamStatus = 0xF0;
inline constexpr int kQamSnr = 0xF1;
inline constexpr int kVsbStatus = 0xF2;  // bits 15..12 locks, bits 0..9 SNR
inline constexpr int kSleep = 0xF4;      // bit 0
inline constexpr int kPassthru = 0xF5;   // bit 0
inline constexpr int kQamSelect = 0xF6;  // bit 0: QAM, else 8-VSB
}  // namespace s5h1411reg
