// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// S5H1409 registers (16-bit, 8-bit sub-addresses), named for the driver and
// the simulated model alike.
namespace s5h1409reg {
inline constexpr int kCarrierOffsetHigh = 0x33;
inline constexpr int kCarrierOffsetLow = 0x34;
inline constexpr int kSymbolTimingHigh = 0x35;
inline constexpr int kSymbolTimingLow = 0x36;
inline constexpr int kAutoFreqHigh = 0x38;
inline constexpr int kAutoFreqLow = 0x39;
inline constexpr int kPilotPower = 0x3A;
inline constexpr int kVsbSync = 0x40;  // bit 0
inline constexpr int kAgcPowerRef = 0x82;
inline constexpr int kQamMode = 0x85;  // bit 4 auto, bit 0 QAM64
inline constexpr int kIfGain = 0xA0;
inline constexpr int kStrTime = 0xA2;
inline constexpr int kFreqOffset = 0xAA;
inline constexpr int kBerCounter = 0xAC;  // bits 4..5
inline constexpr int kUncorrectable = 0xB5;
inline constexpr int kPostViterbi = 0xB7;
inline constexpr int kQamStatus = 0xF0;  // bit 12 FEC lock, bit 8 QAM256, bits 0..6 SNR
inline constexpr int kVsbStatus = 0xF1;  // bits 15..12 locks, bits 0..9 SNR
inline constexpr int kSleep = 0xF2;      // bit 0
inline constexpr int kPassthru = 0xF3;   // bit 0
inline constexpr int kQamSelect = 0xF4;  // bit 0: QAM, else 8-VSB
}  // namespace s5h1409reg
