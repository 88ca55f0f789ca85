// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// DiBcom registers (16-bit words behind 16-bit addresses), named for the
// driver and the simulated model alike.
namespace dibcomreg {
inline constexpr int kAgc1 = 0x0188;  // with kAgc1 + 1 (agc2) and + 2 (global)
inline constexpr int kTps3000 = 0x01CA;
inline constexpr int kTps7000 = 0x01CF;  // bits 0..1 guard, 5..7 rate, 8 FFT, 14..15 constellation
inline constexpr int kCarrierToNoise7000PC = 0x01DF;  // and the next word
inline constexpr int kCarrierToNoise3000P = 0x01E3;   // and the next word
inline constexpr int kCarrierToNoise7000 = 0x01F9;    // and the next word
inline constexpr int kUncorrectable7000 = 0x01FA;
inline constexpr int kUncorrectable3000 = 0x01FC;  // also the post-Viterbi count
inline constexpr int kLockStatus = 0x01FD;  // bit 3 lock, 4 FE sync, 8 FEC, 12..13 EQ, 15 signal

// Identity pairs: the vendor word, then the model word.
inline constexpr int kVendor = 0x01B3;
inline constexpr int kIdentity7000PC = 0x0300;  // model 0x4000
inline constexpr int kIdentity7000 = 0x0380;    // models 0x4000..0x4002
inline constexpr int kIdentity3000 = 0x0401;    // models 0x3000..0x3002
}  // namespace dibcomreg
