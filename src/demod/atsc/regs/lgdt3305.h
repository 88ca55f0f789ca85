// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// LGDT3305 registers (one byte each, 16-bit addresses), named for the driver
// and the simulated model alike.
namespace lgdt3305reg {
inline constexpr int kMode = 0x0000;           // bits 1..0: 0 QAM 64, 1 QAM 256, 3 8-VSB
inline constexpr int kIdentity = 0x0001;       // 0x90 under mask 0x9F
inline constexpr int kLocks = 0x0003;          // bit 0 EQ, 1 FEC, 2 sync, 3 8-VSB unlocked
inline constexpr int kIdentity2 = 0x0007;      // 0x2F under mask 0x3F
inline constexpr int kCarrierOffset = 0x0118;  // 24-bit, signed
inline constexpr int kQamMseHigh = 0x011B;
inline constexpr int kQamMseLow = 0x011C;
inline constexpr int kCarrierLock = 0x011D;   // bit 7 8-VSB, bit 1 QAM
inline constexpr int kTimingOffset = 0x0217;  // 24-bit, signed
inline constexpr int kRfAgc = 0x0316;         // 12-bit, signed
inline constexpr int kIfAgc = 0x0318;         // 12-bit, signed
inline constexpr int kVsbMse = 0x0413;        // 20-bit over three registers
inline constexpr int kQamLock = 0x050A;       // bits 0, 2 and 3
inline constexpr int kUncorrectableHigh = 0x050C;
inline constexpr int kUncorrectableLow = 0x050D;
}  // namespace lgdt3305reg
