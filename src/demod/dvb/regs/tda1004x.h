// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// TDA10046 / TDA10048 registers (one byte each, 8-bit sub-addresses), named
// for the driver and the simulated model alike.
namespace tda1004xreg {
inline constexpr int kIdentity = 0x00;  // 0x46 or 0x48

// TDA10046
inline constexpr int k46Stream = 0x01;  // bit 3: low priority stream
inline constexpr int k46TpsA = 0x04;  // bits 0..1 constellation, 2..3 guard, 4 FFT, 5..6 hierarchy
inline constexpr int k46TpsB = 0x05;  // bits 0..2 high, 3..5 low priority rate
inline constexpr int k46Status = 0x06;  // bit 3 lock
inline constexpr int k46Snr = 0x1C;
inline constexpr int k46Errors = 0x27;  // bits 0..6

// TDA10048
inline constexpr int k48TpsA = 0x14;  // bits 0..1 FFT, 2..3 guard
inline constexpr int k48TpsB =
    0x15;  // bits 0..2 high priority rate, 3..4 hierarchy, 5..6 constellation
inline constexpr int k48TpsC = 0x16;    // bits 0..2 low priority rate
inline constexpr int k48Stream = 0x18;  // bit 3: low priority stream
inline constexpr int k48Status = 0x1A;  // bit 4 lock
inline constexpr int k48Snr = 0xA2;
inline constexpr int k48ErrorsLow = 0xCE;
inline constexpr int k48ErrorsHigh = 0xCF;
}  // namespace tda1004xreg
