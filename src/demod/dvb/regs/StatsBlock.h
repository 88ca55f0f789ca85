// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registers of the DVB-T receivers that hand out their statistics in one
// block (SMS1xxx, MxL111SF), named for the drivers and the simulated models
// alike.
namespace statsblockreg {
inline constexpr int kStats = 0x00;  // twenty bytes: five little-endian words
inline constexpr int kMode = 0x1F;   // 0x73 while in DVB-T
inline constexpr int kDvbtMode = 0x73;

// The words of the block.
inline constexpr int kStatusWord = 0;  // locks in bits 3..7; constellation, FFT, guard, hierarchy
inline constexpr int kCodeRateWord = 1;
inline constexpr int kUncorrectableWord = 2;
inline constexpr int kSnrWord = 3;
inline constexpr int kStrengthWord = 4;  // signal strength, negated
}  // namespace statsblockreg
