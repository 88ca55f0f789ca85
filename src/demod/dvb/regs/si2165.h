// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SI2165 registers (one byte each, 16-bit addresses), named for the driver and
// the simulated model alike.
namespace si2165reg {
inline constexpr int kPassthru = 0x0001;  // bit 0
inline constexpr int kRevision = 0x0023;  // 0 A, 1 B, 2 C
inline constexpr int kStandard = 0x00EC;  // bits 4..0: 1 DVB-T, 5 DVB-C
inline constexpr int kCableModulation = 0x00F8;
inline constexpr int kAgcLock = 0x0188;     // bit 0
inline constexpr int kCableLock = 0x023E;   // bit 0
inline constexpr int kCableNoise = 0x026C;  // 24-bit, least significant byte first
inline constexpr int kSigma = 0x02A4;       // 24-bit, least significant byte first
inline constexpr int kPowerLow = 0x02C0;
inline constexpr int kPowerHigh = 0x02C1;
inline constexpr int kTpsSet = 0x02E8;           // bit 0: set B, else set A
inline constexpr int kTerrestrialLock = 0x0390;  // bit 0
inline constexpr int kFreqLock = 0x0398;         // bit 0
inline constexpr int kSyncLock = 0x0440;         // bit 0
inline constexpr int kFecLock = 0x04E0;          // bit 0

// Where each DVB-T field lives in the two TPS register sets.
struct TpsRegisters {
  int16_t modulation, hierarchy, selectHPLP, hpCodeRate, lpCodeRate, guard, transmissionMode;
};
inline constexpr TpsRegisters kTpsSetA{.modulation = 0x02F4,
                                       .hierarchy = 0x0304,
                                       .selectHPLP = 0x02E4,
                                       .hpCodeRate = 0x02F8,
                                       .lpCodeRate = 0x0300,
                                       .guard = 0x02F0,
                                       .transmissionMode = 0x02EC};
inline constexpr TpsRegisters kTpsSetB{.modulation = 0x03F8,
                                       .hierarchy = 0x0408,
                                       .selectHPLP = 0x0420,
                                       .hpCodeRate = 0x0400,
                                       .lpCodeRate = 0x0404,
                                       .guard = 0x03F4,
                                       .transmissionMode = 0x03F0};
}  // namespace si2165reg
