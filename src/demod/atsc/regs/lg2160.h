// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// LG2160 / LG2161 registers (one byte each, 16-bit addresses), named for the
// driver and the simulated model alike.
namespace lg2160reg {
inline constexpr int kPresence = 0x0000;
inline constexpr int kIdentity2161 = 0x0001;   // 0xFB on an LG2161
inline constexpr int kIdentity2160 = 0x0003;   // bits 0xCC set on an LG2160
inline constexpr int kFic = 0x0016;            // bit 0
inline constexpr int kRfAgc = 0x010A;          // 12-bit, signed
inline constexpr int kIfAgc = 0x010C;          // 12-bit, signed
inline constexpr int kTimingOffset = 0x010E;   // 24-bit, signed
inline constexpr int kCarrierOffset = 0x0118;  // 24-bit, signed
inline constexpr int kStatus = 0x011B;         // bit 5 sync, bit 6 acquisition (active low)
inline constexpr int kGroups = 0x0124;         // bits 6..4
inline constexpr int kTotalGroups = 0x0125;
inline constexpr int kVersion = 0x0128;  // bits 7..3
inline constexpr int kParade = 0x013E;   // bits 6..0
inline constexpr int kSccc = 0x0316;
// Per variant: the SNR digits and the error count (low byte first).
inline constexpr int kSnr2160 = 0x0202;
inline constexpr int kErrors2160 = 0x0413;
inline constexpr int kSnr2161 = 0x0302;
inline constexpr int kSync2161 = 0x0304;  // bit 7 sync (active low)
inline constexpr int kErrors2161 = 0x0613;
}  // namespace lg2160reg
