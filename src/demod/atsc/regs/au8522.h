// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// AU8522 registers (one byte each, 12-bit addresses), named for the driver and
// the simulated model alike.
namespace au8522reg {
inline constexpr int kVsbCorrectable = 0x086;
inline constexpr int kVsbUncorrectable = 0x087;
inline constexpr int kVsbLock = 0x088;  // bit 0 field sync, bit 1 segment sync
inline constexpr int kMode = 0x0A4;     // bit 5 8-VSB; bit 1 without bit 4 QAM
inline constexpr int kVsbError = 0x311;
inline constexpr int kQamSize = 0x502;  // bit 0: QAM 256, else QAM 64
inline constexpr int kQamError = 0x522;
inline constexpr int kQamLock = 0x541;  // bits 7..6 FEC, bits 5..4 EQ; 2 = locked
inline constexpr int kQamCorrectable = 0x542;
inline constexpr int kQamUncorrectable = 0x543;
}  // namespace au8522reg
